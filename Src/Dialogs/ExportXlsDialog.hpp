#pragma once
#include "DG/DGItems.hpp"

// Asks for the three price options of "Export to XLS"; every box starts unticked.
class ExportXlsDialog : public DG::ModalDialog,
                        public DG::PanelObserver,
                        public DG::ButtonItemObserver,
                        public DG::CompoundItemObserver {
public:
    static constexpr GS::Int16 ResourceId = 32528;

    ExportXlsDialog();
    ~ExportXlsDialog() override;

    bool IsDoNotExportPrices() const { return doNotExportPrices.IsChecked(); }
    bool IsMarkPriceFieldsAsInput() const { return markPriceFieldsAsInput.IsChecked(); }
    bool IsLockAllExceptPrices() const { return lockAllExceptPrices.IsChecked(); }

private:
    void PanelResized(const DG::PanelResizeEvent& ev) override;
    void ButtonClicked(const DG::ButtonClickEvent& ev) override;

    DG::Button okButton;
    DG::Button cancelButton;
    DG::CheckBox doNotExportPrices;
    DG::CheckBox markPriceFieldsAsInput;
    DG::CheckBox lockAllExceptPrices;
};
