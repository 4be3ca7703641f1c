#include "Dialogs/EditCategoryDialog.hpp"

namespace Items = EditCategoryDialogItems;
namespace Texts = EditCategoryDialogStrings;

EditCategoryDialog::EditCategoryDialog()
    : OkCancelDialog(ResourceId, Items::OkButton, Items::CancelButton),
      titleEdit(*this, Items::TitleEdit),
      codeEdit(*this, Items::CodeEdit),
      descriptionEdit(*this, Items::DescriptionEdit)
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
    CheckClose("EditCategoryDialog::PanelCloseRequested", ev, accepted, [&] {
        return !titleEdit.GetText().IsEmpty() ||
               Refuse(DG::DG_INFORMATION, Texts::AlertTitle, Texts::MissingTitle, Texts::OkText);
    });
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
