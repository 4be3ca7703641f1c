// The panel's item actions. An item is edited and deleted from its stored record read by id; only
// the editor's fields change.
#include <exception>
#include <string>

#include "DG/DGUtility.hpp"
#include "Database/ItemsTable.hpp"
#include "Database/QtiesTable.hpp"
#include "Dialogs/EditItemDialog.hpp"
#include "Dialogs/FormulaAssistance.hpp"
#include "ElementFuncs/QtyEvaluation.hpp"
#include "GSRoot/Debug.hpp"
#include "Palettes/CalvoraPanel.hpp"
#include "Palettes/ModelSelection.hpp"
#include "VumoFuncs/VumoFuncs.hpp"

namespace {

enum ItemText : Int16 {
    OkText = 19,
    NoText = 22,
    YesText = 23,
    MultipleSelectionTitle = 25,
    MultipleSelectionText = 26,
    DeleteItemTitle = 27,
    DeleteItemQuestion = 28
};

// A database error ends the action where it happens: the panel is brought back in step with the
// database, the error goes to the debug output and the user is told.
template <typename Work, typename Resync>
void RunAction(const char* name, Work&& work, Resync&& resync)
{
    std::string message;
    try {
        work();
        return;
    } catch (const std::exception& e) {
        message = e.what();
    } catch (...) {
        message = "unknown exception";
    }
    DBPrintf("CalvoraPanel::%s: %s\n", name, message.c_str());
    try {
        resync();
    } catch (const std::exception& e) {
        DBPrintf("CalvoraPanel::%s: %s\n", name, e.what());
    } catch (...) {
    }
    DGAlert(DG::DG_ERROR, "Error", "The estimate could not be changed.", GS::UniString(message), "OK", "", "");
}

void CopyFields(const Item& from, Item& to)
{
    for (const char* field : {"code", "descript", "unit"})
        to.setString(field, from.getString(field));
    to.setDouble("price", from.getDouble("price"));
}

}  // namespace

void CalvoraPanel::AddNewItem()
{
    // Without a category the item would belong nowhere.
    const Int16 entry = categoryPopUp.GetSelectedItem();
    if (entry < 1)
        return;
    const Int32 categoryId = static_cast<Int32>(categoryPopUp.GetItemValue(entry));
    Int32 addedId = 0;
    const auto reload = [&] {
        RefreshItems();
        ShowItem(addedId);
    };
    RunAction("AddNewItem", [&] {
        VumoElementsList elements;
        GetSelectedElements(elements);
        if (elements.GetSize() >= 2 && !AllSameElementType(elements)) {
            DGAlert(DG::DG_WARNING, GetResString(resourceId, MultipleSelectionTitle),
                    GetResString(resourceId, MultipleSelectionText), "", GetResString(resourceId, OkText), "", "");
            return;
        }

        EditItemDialog dialog;
        if (dialog.GetId() == 0)
            return;
        if (!elements.IsEmpty())
            dialog.SetElement(elements[0]);
        if (dialog.Invoke() != DG::Accept)
            return;

        Item item;
        CopyFields(dialog.GetItem(), item);
        item.setInt("category_id", categoryId);
        ItemsTable items;
        if (!items.save(item))
            return;
        addedId = item.getInt("id");
        itemMap.Put(addedId, item);

        if (dialog.IsAddFirstQtyChecked()) {
            Qty qtyTemplate;
            qtyTemplate.setInt("item_id", addedId);
            qtyTemplate.setString("formula", dialog.GetQtyFormula());
            // One unlinked quantity when nothing is selected or the user asked for one.
            const bool unlinked = elements.IsEmpty() || dialog.IsUnlinkedChecked();
            const GS::UIndex count = unlinked ? 1 : elements.GetSize();
            QtiesTable qties;
            for (GS::UIndex i = 0; i < count; ++i) {
                Qty qty = qtyTemplate;
                if (!unlinked)
                    qty.setString("guid", FormulaAssistance::GuidText(elements[i]));
                qty.setDouble("value", qty.getFormulaValue(true));
                if (qties.save(qty))
                    qtyMap.Put(qty.getInt("id"), qty);
            }
            itemMap.Put(addedId, items.findById(addedId));
        }

        itemsList.AppendItem();
        const Int16 row = itemsList.GetItemCount();
        itemsList.SetItemValue(row, addedId);
        itemsList.SelectItem(row);
        SetItemRow(row);
        OnItemSelected();
        UpdateTotal();
    }, reload);
}

void CalvoraPanel::EditItem()
{
    const Int16 row = itemsList.GetSelectedItem();
    if (row < 1)
        return;
    const Int32 id = static_cast<Int32>(itemsList.GetItemValue(row));
    const auto reload = [&] {
        RefreshItems();
        ShowItem(id);
    };
    RunAction("EditItem", [&] {
        ItemsTable items;
        EditItemDialog dialog;
        if (dialog.GetId() == 0)
            return;
        dialog.SetItem(items.findById(id));
        if (dialog.Invoke() != DG::Accept)
            return;
        Item item = items.findById(id);
        CopyFields(dialog.GetItem(), item);
        if (!items.save(item))
            return;
        itemMap.Put(id, items.findById(id));
        SetItemRow(row);
        UpdateTotal();
    }, reload);
}

void CalvoraPanel::CloneItem()
{
    const Int16 row = itemsList.GetSelectedItem();
    if (row < 1)
        return;
    const Int32 sourceId = static_cast<Int32>(itemsList.GetItemValue(row));
    Int32 cloneId = 0;
    const auto reload = [&] {
        RefreshItems();
        ShowItem(cloneId != 0 ? cloneId : sourceId);
    };
    RunAction("CloneItem", [&] {
        ItemsTable items;
        const Item source = items.findById(sourceId);
        Item clone;
        clone.setInt("category_id", source.getInt("category_id"));
        CopyFields(source, clone);
        if (!items.save(clone))
            return;
        cloneId = clone.getInt("id");
        itemMap.Put(cloneId, clone);
        itemsList.AppendItem();
        const Int16 added = itemsList.GetItemCount();
        itemsList.SetItemValue(added, cloneId);
        itemsList.SelectItem(added);
        SetItemRow(added);
        OnItemSelected();
    }, reload);
}

void CalvoraPanel::DeleteItem()
{
    const Int16 row = itemsList.GetSelectedItem();
    if (row < 1)
        return;
    const Int32 id = static_cast<Int32>(itemsList.GetItemValue(row));
    const auto reload = [&] { RefreshItems(); };
    RunAction("DeleteItem", [&] {
        if (DGAlert(DG::DG_WARNING, GetResString(resourceId, DeleteItemTitle),
                    GetResString(resourceId, DeleteItemQuestion), "", GetResString(resourceId, NoText),
                    GetResString(resourceId, YesText), "") == 1)
            return;
        ItemsTable items;
        Item stored = items.findById(id);
        const Int32 categoryId = stored.getInt("category_id");
        if (!items.remove(stored))
            return;
        itemMap.Delete(id);
        itemsList.DeleteItem(row);

        // The rows show the sort orders the database now holds, gap closed.
        GS::HashTable<Int32, Int32> sortOrders;
        for (const Item& item : items.getByCategory(categoryId))
            sortOrders.Put(item.getInt("id"), item.getInt("sort_order"));
        for (Int16 r = 1; r <= itemsList.GetItemCount(); ++r) {
            const Int32 rowId = static_cast<Int32>(itemsList.GetItemValue(r));
            Item* record = itemMap.GetPtr(rowId);
            const Int32* sortOrder = sortOrders.GetPtr(rowId);
            if (record != nullptr && sortOrder != nullptr)
                record->setInt("sort_order", *sortOrder);
            SetItemRow(r);
        }
        OnItemSelected();
        UpdateTotal();
    }, reload);
}
