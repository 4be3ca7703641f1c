#pragma once
// The formula help the item and quantity editors share: the function menu built from the element's
// names, the text a chosen entry adds to the formula, and the live value of the formula.
#include "API/ApiElements.hpp"
#include "DG/DGItems.hpp"
#include "Database/Qty.hpp"
#include "GSRoot/UniString.hpp"

namespace FormulaAssistance {

// Empties the menu. With an element to offer (null: none, or the unlinked box is ticked) it is enabled
// and lists the element's quantity names, then a separator and its functions as name + "()";
// otherwise it stays disabled.
void BuildFunctionMenu(DG::PopUpMenuButton& menu, const API_Element* element);

// What the chosen entry adds: the entry itself, or for a picker entry Name('picked name');
// empty when the picker was cancelled.
GS::UniString PickedText(const GS::UniString& entry, const API_Element& element);

// Appends the text at the end of the formula, focuses the formula and places the caret just inside
// the last "()" when the text holds one, else at the end.
void AppendToFormula(DG::TextEdit& formula, const GS::UniString& picked);

// Evaluates the quantity's formula in the user's locale against its "guid". Shows the value with two
// decimals in the field, or beeps and shows the evaluator's message. True when it evaluated.
bool ShowEvaluation(Qty& qty, DG::TextEdit& valueField, double* value);

// The guid of the element as text.
GS::UniString GuidText(const API_Element& element);

}  // namespace FormulaAssistance
