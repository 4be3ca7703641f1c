// The panel's item actions. An item is edited and deleted from its stored record read by id; only
// the editor's fields change.
#include "Database/ItemsTable.hpp"
#include "Database/QtiesTable.hpp"
#include "Dialogs/EditItemDialog.hpp"
#include "Dialogs/FormulaAssistance.hpp"
#include "ElementFuncs/QtyEvaluation.hpp"
#include "Palettes/CalvoraPanel.hpp"
#include "ResourceNames.hpp"

namespace Texts = CalvoraPaletteStrings;

namespace {

void CopyFields(const Item& from, Item& to)
{
    for (const char* field : {"code", "descript", "unit"})
        to.setString(field, from.getString(field));
    to.setDouble("price", from.getDouble("price"));
}

}  // namespace

void CalvoraPanel::AddQties(const Qty& qtyTemplate, const VumoElementsList& elements, bool unlinked)
{
    const GS::UIndex count = unlinked ? 1 : elements.GetSize();
    GS::Array<Qty> qties;
    for (GS::UIndex i = 0; i < count; ++i) {
        qties.Push(qtyTemplate);
        Qty& qty = qties.GetLast();
        if (!unlinked) {
            qty.setString("guid", FormulaAssistance::GuidText(elements[i]));
            qty.setDouble("value", QtyFormulaValue(qty, true));
        }
    }
    QtiesTable().saveAll(qties);
    for (const Qty& qty : qties)
        if (!qty.isNew)
            qtyMap.Put(qty.getInt("id"), qty);
}

void CalvoraPanel::AddNewItem()
{
    // Without a category the item would belong nowhere.
    const Int16 entry = categoryPopUp.GetSelectedItem();
    if (entry < 1)
        return;
    const Int32 categoryId = static_cast<Int32>(categoryPopUp.GetItemValue(entry));
    Int32 addedId = 0;
    RunAction("CalvoraPanel::AddNewItem", [&] {
        VumoElementsList elements;
        if (!ReadSelectionOfOneType(elements))
            return;
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
        if (dialog.IsAddFirstQtyChecked()) {
            Qty qtyTemplate;
            qtyTemplate.setInt("item_id", addedId);
            qtyTemplate.setString("formula", dialog.GetQtyFormula());
            // One unlinked quantity when nothing is selected or the user asked for one.
            const bool unlinked = elements.IsEmpty() || dialog.IsUnlinkedChecked();
            if (unlinked)
                qtyTemplate.setDouble("value", QtyFormulaValue(qtyTemplate, true));
            AddQties(qtyTemplate, elements, unlinked);
            item = items.findById(addedId);
        }
        itemsList.SelectItem(AppendItemRow(item));
        OnItemSelected();
        UpdateTotal();
    }, [&] { ReloadAndShowItem(addedId); });
}

void CalvoraPanel::EditItem()
{
    const Int16 row = itemsList.GetSelectedItem();
    if (row < 1)
        return;
    const Int32 id = static_cast<Int32>(itemsList.GetItemValue(row));
    RunAction("CalvoraPanel::EditItem", [&] {
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
        ReloadItemRow(row, id);
        UpdateTotal();
    }, [&] { ReloadAndShowItem(id); });
}

void CalvoraPanel::CloneItem()
{
    const Int16 row = itemsList.GetSelectedItem();
    if (row < 1)
        return;
    const Int32 sourceId = static_cast<Int32>(itemsList.GetItemValue(row));
    Int32 cloneId = 0;
    RunAction("CalvoraPanel::CloneItem", [&] {
        ItemsTable items;
        const Item source = items.findById(sourceId);
        Item clone;
        clone.setInt("category_id", source.getInt("category_id"));
        CopyFields(source, clone);
        if (!items.save(clone))
            return;
        cloneId = clone.getInt("id");
        itemsList.SelectItem(AppendItemRow(clone));
        OnItemSelected();
    }, [&] { ReloadAndShowItem(cloneId != 0 ? cloneId : sourceId); });
}

void CalvoraPanel::DeleteItem()
{
    const Int16 row = itemsList.GetSelectedItem();
    if (row < 1)
        return;
    const Int32 id = static_cast<Int32>(itemsList.GetItemValue(row));
    RunAction("CalvoraPanel::DeleteItem", [&] {
        if (!AskYesNo(Texts::DeleteItemTitle, Texts::DeleteItemQuestion))
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
    }, [&] { RefreshItems(); });
}
