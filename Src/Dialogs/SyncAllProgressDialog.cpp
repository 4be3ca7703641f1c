#include "Dialogs/SyncAllProgressDialog.hpp"

#include <cstdio>

#include "Database/CategoriesTable.hpp"
#include "Database/ItemsTable.hpp"
#include "Database/ProjectDatabase.hpp"
#include "Database/QtiesTable.hpp"
#include "DG/DGUtility.hpp"
#include "ElementFuncs/QtyEvaluation.hpp"
#include "HostApi/Guard.hpp"

SyncAllProgressDialog::SyncAllProgressDialog()
    : AddOnDialog(ResourceId),
      label(*this, SyncAllProgressDialogItems::ProgressText),
      progressBar(*this, SyncAllProgressDialogItems::ProgressBar),
      cancelButton(*this, SyncAllProgressDialogItems::CancelButton)
{
}

void SyncAllProgressDialog::UpdateProgressText()
{
    char text[80];
    std::snprintf(text, sizeof text, "Syncing %d / %d quantities...", static_cast<int>(position),
                  static_cast<int>(qtyIds.GetSize()));
    label.SetText(text);
}

void SyncAllProgressDialog::CollectQuantities()
{
    CategoriesTable categories;
    ItemsTable items;
    QtiesTable qties;
    for (const auto& category : categories.findAll()) {
        for (const Item& item : items.getByCategory(category.key)) {
            for (const auto& qty : qties.findWhere("item_id", item.getInt("id"))) {
                if (!qty.value.getString("guid").IsEmpty())
                    qtyIds.Push(qty.key);
            }
        }
    }
}

void SyncAllProgressDialog::PanelOpened(const DG::PanelOpenEvent&)
{
    bool collected = false;
    Guarded("SyncAllProgressDialog::PanelOpened", [&] {
        CollectQuantities();
        collected = true;
    });
    Guarded("SyncAllProgressDialog::PanelOpened", [&] {
        if (!collected) {
            // Half a collection would sync some quantities and not others: sync none.
            qtyIds.Clear();
            DGAlert(DG::DG_ERROR, "Error", "Could not read the quantities to sync.", "", "OK");
        }
        const GS::Int32 count = static_cast<GS::Int32>(qtyIds.GetSize());
        progressBar.SetMin(0);
        progressBar.SetMax(count == 0 ? 1 : count);
        progressBar.SetValue(0);
        UpdateProgressText();
        if (count == 0) {
            finished = true;
            PostCloseRequest(DG::Accept);
        } else {
            EnableIdleEvent(false);
        }
    });
}

void SyncAllProgressDialog::SyncQuantity(GS::Int32 id)
{
    QtiesTable qties;
    Qty qty = qties.findById(id);
    if (qty.getString("guid").IsEmpty())
        return;
    qty.setDouble("value", QtyFormulaValue(qty, true));
    qties.save(qty);  // a failed save is passed over
}

void SyncAllProgressDialog::Finish()
{
    finished = true;
    Guarded("SyncAllProgressDialog::Finish", [&] {
        ProjectDatabase::instance().saveToProject();
        ranToEnd = true;
    });
    Guarded("SyncAllProgressDialog::Finish", [&] {
        DisableIdleEvent();
        PostCloseRequest(DG::Accept);
    });
}

void SyncAllProgressDialog::PanelIdle(const DG::PanelIdleEvent&)
{
    if (cancelled || finished)
        return;
    if (position < qtyIds.GetSize()) {
        // A quantity whose row went away or whose statement fails is passed over; the run goes on.
        Guarded("SyncAllProgressDialog::PanelIdle", [&] { SyncQuantity(qtyIds[position]); });
        ++position;
        Guarded("SyncAllProgressDialog::PanelIdle", [&] {
            progressBar.SetValue(static_cast<GS::Int32>(position));
            UpdateProgressText();
        });
    } else {
        Finish();
    }
}

void SyncAllProgressDialog::ButtonClicked(const DG::ButtonClickEvent& ev)
{
    Guarded("SyncAllProgressDialog::ButtonClicked", [&] {
        if (ev.GetSource() != &cancelButton || finished)
            return;
        cancelled = true;
        PostCloseRequest(DG::Cancel);
    });
}

bool RunSyncAllQuantities()
{
    bool ranToEnd = false;
    Guarded("DoSyncAllQuantities", [&] {
        SyncAllProgressDialog dialog;
        if (dialog.GetId() != 0)
            dialog.Invoke();
        ranToEnd = dialog.RanToEnd();
    });
    return ranToEnd;
}
