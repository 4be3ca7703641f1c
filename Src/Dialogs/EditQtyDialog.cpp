#include "Dialogs/EditQtyDialog.hpp"

#include <cstring>

#include "Dialogs/AmountText.hpp"
#include "Dialogs/FormulaAssistance.hpp"
#include "GSRoot/Guid.hpp"
#include "HostApi/Guard.hpp"
#include "HostApi/HostElementCalls.hpp"


namespace {
constexpr Int32 FunctionMenuIcon = 32557;
constexpr Int32 MenuButtonType = 1;
}  // namespace

EditQtyDialog::EditQtyDialog()
    : OkCancelDialog(ResourceId),
      descriptionEdit(*this, DescriptionEditId),
      formulaEdit(*this, FormulaEditId),
      valueEdit(*this, ValueEditId),
      functionMenu(*this, FunctionMenuId),
      unlinkedCheck(*this, UnlinkedCheckId)
{
    std::memset(&element, 0, sizeof element);
    valueEdit.Disable();
    functionMenu.DeleteAllItems();
}

void EditQtyDialog::SetElement(const API_Element& source)
{
    element = source;
    elementPresent = true;
    qty.setString("guid", FormulaAssistance::GuidText(element));
    unlinkedCheck.Uncheck();
    BuildFunctionMenu();
    if (!formulaEdit.GetText().IsEmpty())
        EvaluateFormula();
}

void EditQtyDialog::SetSelectedCount(UInt32 count)
{
    selectedCount = count;
}

void EditQtyDialog::SetQty(const Qty& source)
{
    qty = source;
    descriptionEdit.SetText(qty.getString("descript"));
    formulaEdit.SetText(qty.getString("formula"));
    lastValue = qty.getDouble("value");
    valueEdit.SetText(FormatTwoDecimals(lastValue));

    const GS::UniString guidText = qty.getString("guid");
    if (guidText.IsEmpty())
        return;
    API_Element stored;
    std::memset(&stored, 0, sizeof stored);
    stored.header.guid = GSGuid2APIGuid(GS::Guid(guidText.ToCStr(CC_Default).Get()));
    if (HostGetElement(&stored, 0) != NoError)
        return;
    element = stored;
    elementPresent = true;
    BuildFunctionMenu();
}

Qty& EditQtyDialog::GetQty()
{
    qty.setString("descript", descriptionEdit.GetText());
    qty.setString("formula", formulaEdit.GetText());
    qty.setDouble("value", lastValue);
    return qty;
}

bool EditQtyDialog::IsUnlinked() const
{
    return unlinkedCheck.IsChecked();
}

const API_Element* EditQtyDialog::LinkedElement() const
{
    return elementPresent && !unlinkedCheck.IsChecked() ? &element : nullptr;
}

void EditQtyDialog::BuildFunctionMenu()
{
    FormulaAssistance::BuildFunctionMenu(functionMenu, LinkedElement());
}

bool EditQtyDialog::EvaluateFormula()
{
    // The evaluation links to the element only while it is offered; the guid the setters gave the
    // quantity is what GetQty hands out.
    const GS::UniString keptGuid = qty.getString("guid");
    const API_Element* linked = LinkedElement();
    qty.setString("formula", formulaEdit.GetText());
    qty.setString("guid", linked != nullptr ? FormulaAssistance::GuidText(*linked) : GS::UniString());
    const bool evaluated = FormulaAssistance::ShowEvaluation(qty, valueEdit, &lastValue);
    qty.setString("guid", keptGuid);
    return evaluated;
}

void EditQtyDialog::PanelOpened(const DG::PanelOpenEvent&)
{
    Guarded("EditQtyDialog::PanelOpened", [&] {
        SetClientSize(ResourceWidth, ResourceHeight);
        if (elementPresent) {
            unlinkedCheck.Show();
            if (selectedCount > 1)
                unlinkedCheck.SetText(GS::UniString::Printf("Create 1 unlinked qty (ignore all %lu selected elements)",
                                                            static_cast<unsigned long>(selectedCount)));
            else
                unlinkedCheck.SetText("Create unlinked qty (ignore selected element)");
        } else {
            unlinkedCheck.Hide();
        }
        functionMenu.SetButtonType(MenuButtonType);
        functionMenu.SetIcon(FunctionMenuIcon);
        functionMenu.SetVisibility(elementPresent || !qty.getString("guid").IsEmpty());
    });
}

void EditQtyDialog::TextEditChanged(const DG::TextEditChangeEvent& ev)
{
    if (ev.GetSource() != &formulaEdit)
        return;
    Guarded("EditQtyDialog::TextEditChanged", [&] {
        if (formulaEdit.GetText().IsEmpty())
            valueEdit.SetText(GS::UniString());
        else
            EvaluateFormula();
    });
}

void EditQtyDialog::CheckItemChanged(const DG::CheckItemChangeEvent& ev)
{
    if (ev.GetSource() != &unlinkedCheck)
        return;
    Guarded("EditQtyDialog::CheckItemChanged", [&] {
        BuildFunctionMenu();
        if (!formulaEdit.GetText().IsEmpty())
            EvaluateFormula();
    });
}

void EditQtyDialog::UserControlChanged(const DG::UserControlChangeEvent& ev)
{
    if (ev.GetSource() != &functionMenu)
        return;
    Guarded("EditQtyDialog::UserControlChanged", [&] {
        const GS::UniString picked =
            FormulaAssistance::PickedText(functionMenu.GetItemText(functionMenu.GetValue()), element);
        if (picked.IsEmpty())
            return;
        FormulaAssistance::AppendToFormula(formulaEdit, picked);
        EvaluateFormula();
    });
}

void EditQtyDialog::ButtonClicked(const DG::ButtonClickEvent& ev)
{
    if (ev.GetSource() == &okButton) {
        Guarded("EditQtyDialog::ButtonClicked", [&] {
            if (!formulaEdit.GetText().IsEmpty())
                EvaluateFormula();
        });
    }
    CloseOnOkCancel(ev);
}

void EditQtyDialog::PanelCloseRequested(const DG::PanelCloseRequestEvent& ev, bool* accepted)
{
    CheckClose("EditQtyDialog::PanelCloseRequested", ev, accepted,
               [&] { return formulaEdit.GetText().IsEmpty() || EvaluateFormula() || Refuse(DG::DG_ERROR, 5); });
}

void EditQtyDialog::PanelResized(const DG::PanelResizeEvent& ev)
{
    MoveResizeItems("EditQtyDialog::PanelResized", ev, [&](Int16 dx, Int16 dy) {
        descriptionEdit.Resize(dx, 0);
        formulaEdit.Resize(dx, 0);
        valueEdit.Resize(dx, 0);
        functionMenu.Move(dx, 0);
        okButton.Move(0, dy);
        cancelButton.Move(0, dy);
        unlinkedCheck.Move(0, dy);
    });
}
