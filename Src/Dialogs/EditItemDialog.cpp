#include "Dialogs/EditItemDialog.hpp"

#include <cstring>

#include "Database/Qty.hpp"
#include "Dialogs/FormulaAssistance.hpp"
#include "HostApi/Guard.hpp"


namespace {
constexpr Int32 FunctionMenuIcon = 32557;
constexpr Int32 MenuButtonType = 1;
}  // namespace

EditItemDialog::EditItemDialog()
    : OkCancelDialog(ResourceId),
      codeLabel(*this, CodeLabelId),
      codeEdit(*this, CodeEditId),
      descriptionLabel(*this, DescriptionLabelId),
      descriptionEdit(*this, DescriptionEditId),
      unitLabel(*this, UnitLabelId),
      unitEdit(*this, UnitEditId),
      priceLabel(*this, PriceLabelId),
      priceEdit(*this, PriceEditId),
      addFirstQtyCheck(*this, AddFirstQtyCheckId),
      formulaEdit(*this, FormulaEditId),
      valueLabel(*this, ValueLabelId),
      valueEdit(*this, ValueEditId),
      functionMenu(*this, FunctionMenuId),
      unlinkedCheck(*this, UnlinkedCheckId)
{
    std::memset(&element, 0, sizeof element);
}

void EditItemDialog::SetElement(const API_Element& source)
{
    element = source;
    elementPresent = true;
}

void EditItemDialog::SetItem(const Item& source)
{
    item = source;
    codeEdit.SetText(item.getString("code"));
    descriptionEdit.SetText(item.getString("descript"));
    unitEdit.SetText(item.getString("unit"));
    priceEdit.SetValue(item.getDouble("price"));
    addFirstQtyCheck.Uncheck();
    const bool firstQtyGroup = item.isNew;
    for (DG::Item* control : {static_cast<DG::Item*>(&addFirstQtyCheck), static_cast<DG::Item*>(&unlinkedCheck),
                              static_cast<DG::Item*>(&formulaEdit), static_cast<DG::Item*>(&valueLabel),
                              static_cast<DG::Item*>(&valueEdit), static_cast<DG::Item*>(&functionMenu)})
        control->SetVisibility(firstQtyGroup);
}

Item& EditItemDialog::GetItem()
{
    item.setString("code", codeEdit.GetText());
    item.setString("descript", descriptionEdit.GetText());
    item.setString("unit", unitEdit.GetText());
    item.setDouble("price", priceEdit.GetValue());
    return item;
}

bool EditItemDialog::IsAddFirstQtyChecked() const
{
    return addFirstQtyCheck.IsChecked();
}

bool EditItemDialog::IsUnlinkedChecked() const
{
    return unlinkedCheck.IsChecked();
}

GS::UniString EditItemDialog::GetQtyFormula() const
{
    return formulaEdit.GetText();
}

const API_Element* EditItemDialog::LinkedElement() const
{
    return elementPresent && !unlinkedCheck.IsChecked() ? &element : nullptr;
}

void EditItemDialog::BuildFunctionMenu()
{
    FormulaAssistance::BuildFunctionMenu(functionMenu, LinkedElement());
}

bool EditItemDialog::EvaluateFormula()
{
    Qty qty;
    qty.setString("formula", formulaEdit.GetText());
    if (const API_Element* linked = LinkedElement())
        qty.setString("guid", FormulaAssistance::GuidText(*linked));
    return FormulaAssistance::ShowEvaluation(qty, valueEdit, nullptr);
}

void EditItemDialog::PanelOpened(const DG::PanelOpenEvent&)
{
    Guarded("EditItemDialog::PanelOpened", [&] {
        functionMenu.SetButtonType(MenuButtonType);
        functionMenu.SetIcon(FunctionMenuIcon);
        if (elementPresent) {
            functionMenu.Show();
            unlinkedCheck.Show();
            BuildFunctionMenu();
        } else {
            functionMenu.DeleteAllItems();
            functionMenu.Hide();
            unlinkedCheck.Hide();
        }
        valueEdit.Disable();
    });
}

void EditItemDialog::TextEditChanged(const DG::TextEditChangeEvent& ev)
{
    if (ev.GetSource() != &formulaEdit)
        return;
    Guarded("EditItemDialog::TextEditChanged", [&] {
        if (formulaEdit.GetText().IsEmpty()) {
            addFirstQtyCheck.Uncheck();
            valueEdit.SetText(GS::UniString());
        } else {
            addFirstQtyCheck.Check();
            EvaluateFormula();
        }
    });
}

void EditItemDialog::CheckItemChanged(const DG::CheckItemChangeEvent& ev)
{
    if (ev.GetSource() != &unlinkedCheck)
        return;
    Guarded("EditItemDialog::CheckItemChanged", [&] {
        BuildFunctionMenu();
        if (!formulaEdit.GetText().IsEmpty())
            EvaluateFormula();
    });
}

void EditItemDialog::UserControlChanged(const DG::UserControlChangeEvent& ev)
{
    if (ev.GetSource() != &functionMenu)
        return;
    Guarded("EditItemDialog::UserControlChanged", [&] {
        const GS::UniString picked =
            FormulaAssistance::PickedText(functionMenu.GetItemText(functionMenu.GetValue()), element);
        if (picked.IsEmpty())
            return;
        addFirstQtyCheck.Check();
        FormulaAssistance::AppendToFormula(formulaEdit, picked);
        EvaluateFormula();
    });
}

void EditItemDialog::PanelCloseRequested(const DG::PanelCloseRequestEvent& ev, bool* accepted)
{
    CheckClose("EditItemDialog::PanelCloseRequested", ev, accepted, [&] {
        if (descriptionEdit.GetText().IsEmpty())
            return Refuse(DG::DG_INFORMATION, 4);
        return !item.isNew || formulaEdit.GetText().IsEmpty() || EvaluateFormula() || Refuse(DG::DG_ERROR, 5);
    });
}

void EditItemDialog::PanelResized(const DG::PanelResizeEvent& ev)
{
    MoveResizeItems("EditItemDialog::PanelResized", ev, [&](Int16 dx, Int16 dy) {
        codeEdit.Resize(dx, 0);
        descriptionEdit.Resize(dx, dy);
        unitEdit.MoveAndResize(0, dy, dx, 0);
        priceEdit.MoveAndResize(0, dy, dx, 0);
        for (DG::Item* control : {static_cast<DG::Item*>(&unitLabel), static_cast<DG::Item*>(&priceLabel),
                                  static_cast<DG::Item*>(&okButton), static_cast<DG::Item*>(&cancelButton),
                                  static_cast<DG::Item*>(&addFirstQtyCheck), static_cast<DG::Item*>(&unlinkedCheck),
                                  static_cast<DG::Item*>(&valueLabel)})
            control->Move(0, dy);
        formulaEdit.MoveAndResize(0, dy, dx, 0);
        valueEdit.MoveAndResize(0, dy, dx, 0);
        functionMenu.Move(dx, dy);
    });
}
