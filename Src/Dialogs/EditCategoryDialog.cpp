#include "Dialogs/EditCategoryDialog.hpp"

EditCategoryDialog::EditCategoryDialog()
    : OkCancelDialog(ResourceId),
      titleEdit(*this, TitleEditId),
      codeEdit(*this, CodeEditId),
      descriptionEdit(*this, DescriptionEditId)
{
}

void EditCategoryDialog::SetCategory(const Category& source)
{
    category = source;
    titleEdit.SetText(category.getString("title"));
    codeEdit.SetText(category.getString("code"));
    descriptionEdit.SetText(category.getString("descript"));
}

Category& EditCategoryDialog::GetCategory()
{
    category.setString("title", titleEdit.GetText());
    category.setString("code", codeEdit.GetText());
    category.setString("descript", descriptionEdit.GetText());
    return category;
}

void EditCategoryDialog::PanelCloseRequested(const DG::PanelCloseRequestEvent& ev, bool* accepted)
{
    CheckClose("EditCategoryDialog::PanelCloseRequested", ev, accepted,
               [&] { return !titleEdit.GetText().IsEmpty() || Refuse(DG::DG_INFORMATION, 4); });
}

void EditCategoryDialog::PanelOpened(const DG::PanelOpenEvent&) {}

void EditCategoryDialog::PanelResized(const DG::PanelResizeEvent& ev)
{
    MoveResizeItems(*this, "EditCategoryDialog::PanelResized", ev, [&](Int16 dh, Int16 dv) {
        titleEdit.Resize(dh, 0);
        codeEdit.Resize(dh, 0);
        descriptionEdit.Resize(dh, dv);
        okButton.Move(0, dv);
        cancelButton.Move(0, dv);
    });
}
