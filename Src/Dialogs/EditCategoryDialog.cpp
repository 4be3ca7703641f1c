#include "Dialogs/EditCategoryDialog.hpp"

#include "DG/DGUtility.hpp"
#include "HostApi/Guard.hpp"
#include "HostApi/HostCalls.hpp"
#include "VumoFuncs/VumoFuncs.hpp"


EditCategoryDialog::EditCategoryDialog()
    : DG::ModalDialog(HostGetOwnResModule(), ResourceId, HostGetOwnResModule()),
      titleEdit(*this, TitleEditId),
      codeEdit(*this, CodeEditId),
      descriptionEdit(*this, DescriptionEditId),
      okButton(*this, OkButtonId),
      cancelButton(*this, CancelButtonId)
{
    Attach(*this);
    AttachToAllItems(*this);
}

EditCategoryDialog::~EditCategoryDialog()
{
    Detach(*this);
    DetachFromAllItems(*this);
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
    if (!ev.IsAccepted())
        return;
    const bool checked = Guarded("EditCategoryDialog::PanelCloseRequested", [&] {
        if (!titleEdit.GetText().IsEmpty())
            return;
        *accepted = false;
        DGAlert(DG::DG_INFORMATION, GetResString(ResourceId, 1), GetResString(ResourceId, 4), "",
                GetResString(ResourceId, 2), "", "");
    });
    if (!checked)
        *accepted = false;
}

void EditCategoryDialog::PanelOpened(const DG::PanelOpenEvent&) {}

void EditCategoryDialog::PanelResized(const DG::PanelResizeEvent& ev)
{
    const Int16 dh = ev.GetHorizontalChange();
    const Int16 dv = ev.GetVerticalChange();
    if (dh == 0 && dv == 0)
        return;
    BeginMoveResizeItems();
    titleEdit.Resize(dh, 0);
    codeEdit.Resize(dh, 0);
    descriptionEdit.Resize(dh, dv);
    okButton.Move(0, dv);
    cancelButton.Move(0, dv);
    EndMoveResizeItems();
}

void EditCategoryDialog::ButtonClicked(const DG::ButtonClickEvent& ev)
{
    if (ev.GetSource() == &okButton)
        PostCloseRequest(DG::Accept);
    else if (ev.GetSource() == &cancelButton)
        PostCloseRequest(DG::Cancel);
}
