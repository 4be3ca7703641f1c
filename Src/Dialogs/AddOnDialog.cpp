#include "Dialogs/AddOnDialog.hpp"

#include "DG/DGUtility.hpp"
#include "HostApi/Guard.hpp"
#include "HostApi/HostCalls.hpp"
#include "VumoFuncs/VumoFuncs.hpp"

AddOnDialog::AddOnDialog(GS::Int16 resourceId)
    : DG::ModalDialog(HostGetOwnResModule(), resourceId, HostGetOwnResModule())
{
    Attach(*this);
    AttachToAllItems(*this);
}

AddOnDialog::~AddOnDialog()
{
    Detach(*this);
    DetachFromAllItems(*this);
}

void MoveResizeItems(DG::Panel& panel, const char* where, const DG::PanelResizeEvent& ev,
                     const std::function<void(GS::Int16 dx, GS::Int16 dy)>& move)
{
    const GS::Int16 dx = ev.GetHorizontalChange();
    const GS::Int16 dy = ev.GetVerticalChange();
    if (dx == 0 && dy == 0)
        return;
    Guarded(where, [&] {
        panel.BeginMoveResizeItems();
        move(dx, dy);
        panel.EndMoveResizeItems();
    });
}

OkCancelDialog::OkCancelDialog(GS::Int16 resourceId, GS::Int16 okItem, GS::Int16 cancelItem)
    : AddOnDialog(resourceId), okButton(*this, okItem), cancelButton(*this, cancelItem)
{
}

bool OkCancelDialog::CloseOnOkCancel(const DG::ButtonClickEvent& ev)
{
    if (ev.GetSource() == &okButton)
        PostCloseRequest(DG::Accept);
    else if (ev.GetSource() == &cancelButton)
        PostCloseRequest(DG::Cancel);
    else
        return false;
    return true;
}

void OkCancelDialog::ButtonClicked(const DG::ButtonClickEvent& ev)
{
    Guarded("OkCancelDialog::ButtonClicked", [&] { CloseOnOkCancel(ev); });
}

void OkCancelDialog::CheckClose(const char* where, const DG::PanelCloseRequestEvent& ev, bool* accepted,
                                const std::function<bool()>& check)
{
    if (!ev.IsAccepted())
        return;
    bool passed = false;
    if ((!Guarded(where, [&] { passed = check(); }) || !passed) && accepted != nullptr)
        *accepted = false;
}

bool OkCancelDialog::Refuse(GS::Int16 alertKind, GS::Int16 title, GS::Int16 text, GS::Int16 button)
{
    const GS::Int16 texts = GetResourceId();
    DGAlert(alertKind, GetResString(texts, title), GetResString(texts, text), "", GetResString(texts, button), "", "");
    return false;
}
