#include "Dialogs/FormulaEditorDialog.hpp"

#include <cstring>
#include <string>

#include "Dialogs/FormulaAssistance.hpp"
#include "HostApi/Guard.hpp"

namespace {
constexpr Int32 FunctionMenuIcon = 32557;
constexpr Int32 MenuButtonType = 1;
}  // namespace

FormulaEditorDialog::FormulaEditorDialog(const char* name, Int16 resourceId, FormulaItems items)
    : OkCancelDialog(resourceId, items.ok, items.cancel),
      name(name),
      formulaEdit(*this, items.formula),
      valueEdit(*this, items.value),
      functionMenu(*this, items.functionMenu),
      unlinkedCheck(*this, items.unlinked)
{
    std::memset(&element, 0, sizeof element);
}

std::string FormulaEditorDialog::Where(const char* handler) const
{
    return std::string(name) + "::" + handler;
}

const API_Element* FormulaEditorDialog::LinkedElement() const
{
    return elementPresent && !unlinkedCheck.IsChecked() ? &element : nullptr;
}

void FormulaEditorDialog::BuildFunctionMenu()
{
    FormulaAssistance::BuildFunctionMenu(functionMenu, LinkedElement());
}

void FormulaEditorDialog::SetUpFunctionMenu()
{
    functionMenu.SetButtonType(MenuButtonType);
    functionMenu.SetIcon(FunctionMenuIcon);
}

bool FormulaEditorDialog::EvaluateFor(Qty& qty, double* value)
{
    const GS::UniString keptGuid = qty.getString("guid");
    const API_Element* linked = LinkedElement();
    qty.setString("formula", formulaEdit.GetText());
    qty.setString("guid", linked != nullptr ? FormulaAssistance::GuidText(*linked) : GS::UniString());
    const bool evaluated = FormulaAssistance::ShowEvaluation(qty, valueEdit, value);
    qty.setString("guid", keptGuid);
    return evaluated;
}

void FormulaEditorDialog::TextEditChanged(const DG::TextEditChangeEvent& ev)
{
    if (ev.GetSource() != &formulaEdit)
        return;
    Guarded(Where("TextEditChanged").c_str(), [&] {
        const bool filled = !formulaEdit.GetText().IsEmpty();
        FormulaFilled(filled);
        if (filled)
            EvaluateFormula();
        else
            valueEdit.SetText(GS::UniString());
    });
}

void FormulaEditorDialog::CheckItemChanged(const DG::CheckItemChangeEvent& ev)
{
    if (ev.GetSource() != &unlinkedCheck)
        return;
    Guarded(Where("CheckItemChanged").c_str(), [&] {
        BuildFunctionMenu();
        if (!formulaEdit.GetText().IsEmpty())
            EvaluateFormula();
    });
}

void FormulaEditorDialog::UserControlChanged(const DG::UserControlChangeEvent& ev)
{
    if (ev.GetSource() != &functionMenu)
        return;
    Guarded(Where("UserControlChanged").c_str(), [&] {
        const GS::UniString picked =
            FormulaAssistance::PickedText(functionMenu.GetItemText(functionMenu.GetValue()), element);
        if (picked.IsEmpty())
            return;
        FormulaFilled(true);
        FormulaAssistance::AppendToFormula(formulaEdit, picked);
        EvaluateFormula();
    });
}
