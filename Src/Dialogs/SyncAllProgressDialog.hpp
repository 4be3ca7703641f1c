#pragma once
#include "Dialogs/AddOnDialog.hpp"
#include "GSRoot/Array.hpp"
#include "ResourceNames.hpp"

// "Sync All Quantities": collects the linked quantities when it opens, then re-evaluates and
// saves one per idle event, so the host stays responsive and Cancel works between two of them.
// After the last one it stores the database into the project; refreshing the main palette is
// the command's business, above the dialogs.
// Invoke gives 1 when the run finished (or there was nothing to do), 2 when it was cancelled.
class SyncAllProgressDialog : public AddOnDialog {
public:
    static constexpr GS::Int16 ResourceId = SyncAllProgressDialogItems::ResourceId;

    SyncAllProgressDialog();

    void UpdateProgressText();
    // True once a run went through its last step and the store.
    bool RanToEnd() const { return ranToEnd; }

private:
    void PanelIdle(const DG::PanelIdleEvent& ev) override;
    void PanelOpened(const DG::PanelOpenEvent& ev) override;
    void ButtonClicked(const DG::ButtonClickEvent& ev) override;

    void CollectQuantities();
    void SyncQuantity(GS::Int32 id);
    void Finish();

    DG::StaticText label;
    DG::ProgressBar progressBar;
    DG::Button cancelButton;
    bool cancelled = false;
    GS::Array<GS::Int32> qtyIds;
    GS::UInt32 position = 0;
    // Set once the run stored and asked to close, so a late idle event does it not again.
    bool finished = false;
    bool ranToEnd = false;
};

// Runs the dialog when its resource is there; true when the run went through to its end.
bool RunSyncAllQuantities();
