#pragma once
// A quantity against its linked element: formula evaluation, link status, displayed description.
#include "Database/Qty.hpp"

// True when the formula evaluated (or is empty); the value is written only then. The quantity's
// errorText is set to the evaluator's message, or emptied. switchLocale: evaluate in the user's
// locale. The process locale and the host's current database are restored before it returns.
bool EvaluateQtyFormula(Qty& qty, double* value, bool switchLocale);
// The formula's value, 0.0 when the evaluation fails.
double QtyFormulaValue(Qty& qty, bool switchLocale);
QtyLinkStatus ComputeQtyLinkStatus(Qty& qty);
// Computes the link status and keeps it in the quantity.
void UpdateQtyLinkStatus(Qty& qty);
// "descript" with #ID (the element's ID text) and #LOC (its story or database name) filled in.
GS::UniString QtyDisplayDescription(const Qty& qty);
