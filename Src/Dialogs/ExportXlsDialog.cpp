#include "Dialogs/ExportXlsDialog.hpp"

ExportXlsDialog::ExportXlsDialog()
    : OkCancelDialog(ResourceId),
      doNotExportPrices(*this, 3),
      markPriceFieldsAsInput(*this, 4),
      lockAllExceptPrices(*this, 5)
{
}

void ExportXlsDialog::PanelResized(const DG::PanelResizeEvent& ev)
{
    MoveResizeItems(*this, "ExportXlsDialog::PanelResized", ev, [&](GS::Int16 dx, GS::Int16 dy) {
        okButton.Move(dx, dy);
        cancelButton.Move(dx, dy);
        doNotExportPrices.Resize(dx, 0);
        markPriceFieldsAsInput.Resize(dx, 0);
        lockAllExceptPrices.Resize(dx, 0);
    });
}
