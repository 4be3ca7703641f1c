#include "Dialogs/EditQtyDialog.hpp"

#include "Dialogs/AmountText.hpp"
#include "Dialogs/FormulaAssistance.hpp"
#include "GSRoot/Guid.hpp"
#include "HostApi/Guard.hpp"
#include "HostApi/HostElementCalls.hpp"

namespace Items = EditQtyDialogItems;
namespace Texts = EditQtyDialogStrings;

EditQtyDialog::EditQtyDialog()
    : FormulaEditorDialog("EditQtyDialog", ResourceId,
                          {Items::OkButton, Items::CancelButton, Items::FormulaEdit, Items::ValueEdit,
                           Items::FunctionMenu, Items::UnlinkedCheck}),
      descriptionEdit(*this, Items::DescriptionEdit)
{
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
    if (!HostReadElement(GSGuid2APIGuid(GS::Guid(guidText.ToCStr(CC_Default).Get())), &stored))
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

bool EditQtyDialog::EvaluateFormula()
{
    return EvaluateFor(qty, &lastValue);
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
        SetUpFunctionMenu();
        functionMenu.SetVisibility(elementPresent || !qty.getString("guid").IsEmpty());
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
    CheckClose("EditQtyDialog::PanelCloseRequested", ev, accepted, [&] {
        return formulaEdit.GetText().IsEmpty() || EvaluateFormula() ||
               Refuse(DG::DG_ERROR, Texts::AlertTitle, Texts::InvalidFormula, Texts::OkText);
    });
}

void EditQtyDialog::PanelResized(const DG::PanelResizeEvent& ev)
{
    MoveResizeItems(*this, "EditQtyDialog::PanelResized", ev, [&](Int16 dx, Int16 dy) {
        descriptionEdit.Resize(dx, 0);
        formulaEdit.Resize(dx, 0);
        valueEdit.Resize(dx, 0);
        functionMenu.Move(dx, 0);
        okButton.Move(0, dy);
        cancelButton.Move(0, dy);
        unlinkedCheck.Move(0, dy);
    });
}
