#include "Dialogs/FormulaAssistance.hpp"

#include "Dialogs/AmountText.hpp"
#include "Dialogs/ArgumentPickers.hpp"
#include "DG/DGUtility.hpp"
#include "ElementFuncs/ElementFuncsFactory.hpp"
#include "ElementFuncs/QtyEvaluation.hpp"

namespace FormulaAssistance {

void BuildFunctionMenu(DG::PopUpMenuButton& menu, const API_Element* element)
{
    menu.DeleteAllItems();
    if (element == nullptr) {
        menu.Disable();
        return;
    }
    menu.Enable();
    const ElementFuncsFactory& factory = GetElementFuncsFactory();
    for (const GS::UniString& name : factory.GetQuantityNames(*element))
        menu.AppendItem(name);
    const GS::Array<GS::UniString> functions = factory.GetFunctionNames(*element);
    if (functions.IsEmpty())
        return;
    menu.AppendSeparator();
    for (const GS::UniString& name : functions)
        menu.AppendItem(name + "()");
}

GS::UniString PickedText(const GS::UniString& entry, const API_Element& element)
{
    if (!IsPickerEntry(entry))
        return entry;
    GS::UniString name;
    if (!RunArgumentPicker(entry, element, &name))
        return GS::UniString();
    return entry.GetPrefix(entry.GetLength() - 1) + "'" + name + "')";
}

void AppendToFormula(DG::TextEdit& formula, const GS::UniString& picked)
{
    const GS::UniString text = formula.GetText() + picked;
    formula.SetText(text);
    formula.SetFocus();
    Int32 caret = static_cast<Int32>(text.GetLength());
    if (picked.Contains("()"))
        caret = static_cast<Int32>(text.FindLast("()")) + 1;
    formula.SetSelection(DG::CharRange(caret, caret));
}

bool ShowEvaluation(Qty& qty, DG::TextEdit& valueField, double* value)
{
    double result = 0.0;
    const bool evaluated = EvaluateQtyFormula(qty, &result, true);
    if (evaluated) {
        if (value != nullptr)
            *value = result;
        valueField.SetText(FormatTwoDecimals(result));
    } else {
        GSSysBeep();
        valueField.SetText(GS::UniString(qty.errorText, CC_Default));
    }
    return evaluated;
}

GS::UniString GuidText(const API_Element& element)
{
    return APIGuid2GSGuid(element.header.guid).ToUniString();
}

}  // namespace FormulaAssistance
