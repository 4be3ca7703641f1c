#include "Dialogs/ExportXlsDialog.hpp"

namespace Items = ExportXlsDialogItems;

ExportXlsDialog::ExportXlsDialog()
    : OkCancelDialog(ResourceId, Items::OkButton, Items::CancelButton),
      doNotExportPrices(*this, Items::DoNotExportPricesCheck),
      markPriceFieldsAsInput(*this, Items::MarkPriceFieldsAsInputCheck),
      lockAllExceptPrices(*this, Items::LockAllExceptPricesCheck)
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
