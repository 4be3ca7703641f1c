#pragma once
// A quantity against its linked element: formula evaluation, link status, displayed description.
// Qty is the database's entity; these operations need the element functions, so they live here.
#include "Database/Qty.hpp"

// True when the formula evaluated (or is empty); the value is written only then. errorText is
// set to the evaluator's message, or emptied. switchLocale: evaluate in the user's locale.
// The process locale and the host's current database are restored before it returns.
bool QtyEvaluateFormula(Qty& qty, double* value, bool switchLocale);
// The formula's value, 0.0 when the evaluation fails.
double QtyGetFormulaValue(Qty& qty, bool switchLocale);
QtyLinkStatus QtyComputeLinkStatus(Qty& qty);
void QtyUpdateLinkStatus(Qty& qty);
QtyLinkStatus QtyGetLinkStatus(const Qty& qty);
// "descript" with #ID (the element's ID text) and #LOC (its story or database name) filled in.
GS::UniString QtyGetDisplayDescription(const Qty& qty);
