#include "Dialogs/ExportXlsDialog.hpp"

#include "HostApi/Guard.hpp"
#include "HostApi/HostCalls.hpp"

ExportXlsDialog::ExportXlsDialog()
    : DG::ModalDialog(HostGetOwnResModule(), ResourceId, HostGetOwnResModule()),
      okButton(*this, 1),
      cancelButton(*this, 2),
      doNotExportPrices(*this, 3),
      markPriceFieldsAsInput(*this, 4),
      lockAllExceptPrices(*this, 5)
{
    Attach(*this);
    AttachToAllItems(*this);
}

ExportXlsDialog::~ExportXlsDialog()
{
    Detach(*this);
    DetachFromAllItems(*this);
}

void ExportXlsDialog::PanelResized(const DG::PanelResizeEvent& ev)
{
    Guarded("ExportXlsDialog::PanelResized", [&] {
        const GS::Int16 dx = ev.GetHorizontalChange();
        const GS::Int16 dy = ev.GetVerticalChange();
        if (dx == 0 && dy == 0)
            return;
        BeginMoveResizeItems();
        okButton.Move(dx, dy);
        cancelButton.Move(dx, dy);
        doNotExportPrices.Resize(dx, 0);
        markPriceFieldsAsInput.Resize(dx, 0);
        lockAllExceptPrices.Resize(dx, 0);
        EndMoveResizeItems();
    });
}

void ExportXlsDialog::ButtonClicked(const DG::ButtonClickEvent& ev)
{
    Guarded("ExportXlsDialog::ButtonClicked", [&] {
        if (ev.GetSource() == &okButton)
            PostCloseRequest(DG::Accept);
        else if (ev.GetSource() == &cancelButton)
            PostCloseRequest(DG::Cancel);
    });
}
