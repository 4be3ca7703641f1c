#pragma once
#include "Dialogs/AddOnDialog.hpp"
#include "ResourceNames.hpp"

// Asks for the three price options of "Export to XLS"; every box starts unticked.
class ExportXlsDialog : public OkCancelDialog {
public:
    static constexpr GS::Int16 ResourceId = ExportXlsDialogItems::ResourceId;

    ExportXlsDialog();

    bool IsDoNotExportPrices() const { return doNotExportPrices.IsChecked(); }
    bool IsMarkPriceFieldsAsInput() const { return markPriceFieldsAsInput.IsChecked(); }
    bool IsLockAllExceptPrices() const { return lockAllExceptPrices.IsChecked(); }

private:
    void PanelResized(const DG::PanelResizeEvent& ev) override;

    DG::CheckBox doNotExportPrices;
    DG::CheckBox markPriceFieldsAsInput;
    DG::CheckBox lockAllExceptPrices;
};
