#include "Dialogs/EditItemDialog.hpp"

#include "HostApi/Guard.hpp"

namespace Items = EditItemDialogItems;
namespace Texts = EditItemDialogStrings;

EditItemDialog::EditItemDialog()
    : FormulaEditorDialog("EditItemDialog", ResourceId,
                          {Items::OkButton, Items::CancelButton, Items::FormulaEdit, Items::ValueEdit,
                           Items::FunctionMenu, Items::UnlinkedCheck}),
      codeLabel(*this, Items::CodeLabel),
      codeEdit(*this, Items::CodeEdit),
      descriptionLabel(*this, Items::DescriptionLabel),
      descriptionEdit(*this, Items::DescriptionEdit),
      unitLabel(*this, Items::UnitLabel),
      unitEdit(*this, Items::UnitEdit),
      priceLabel(*this, Items::PriceLabel),
      priceEdit(*this, Items::PriceEdit),
      addFirstQtyCheck(*this, Items::AddFirstQtyCheck),
      valueLabel(*this, Items::ValueLabel)
{
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

bool EditItemDialog::EvaluateFormula()
{
    Qty qty;
    return EvaluateFor(qty, nullptr);
}

void EditItemDialog::FormulaFilled(bool filled)
{
    if (filled)
        addFirstQtyCheck.Check();
    else
        addFirstQtyCheck.Uncheck();
}

void EditItemDialog::PanelOpened(const DG::PanelOpenEvent&)
{
    Guarded("EditItemDialog::PanelOpened", [&] {
        SetUpFunctionMenu();
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

void EditItemDialog::PanelCloseRequested(const DG::PanelCloseRequestEvent& ev, bool* accepted)
{
    CheckClose("EditItemDialog::PanelCloseRequested", ev, accepted, [&] {
        if (descriptionEdit.GetText().IsEmpty())
            return Refuse(DG::DG_INFORMATION, Texts::AlertTitle, Texts::MissingDescription, Texts::OkText);
        return !item.isNew || formulaEdit.GetText().IsEmpty() || EvaluateFormula() ||
               Refuse(DG::DG_ERROR, Texts::AlertTitle, Texts::InvalidFormula, Texts::OkText);
    });
}

void EditItemDialog::PanelResized(const DG::PanelResizeEvent& ev)
{
    MoveResizeItems(*this, "EditItemDialog::PanelResized", ev, [&](Int16 dx, Int16 dy) {
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
