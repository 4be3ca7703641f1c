#include "Database/QtiesTable.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include <SQLiteCpp/SQLiteCpp.h>

#include "Database/CategoriesTable.hpp"
#include "Database/DatabaseConnection.hpp"
#include "Database/ItemsTable.hpp"
#include "Database/QtyLink.hpp"
#include "Database/SqlText.hpp"
#include "GSRoot/Debug.hpp"

namespace {
const DbField QtyFields[] = {
    {"id", DbFieldInteger},
    {"item_id", DbFieldInteger},
    {"guid", DbFieldText},
    {"sort_order", DbFieldInteger},
    {"descript", DbFieldText},
    {"formula", DbFieldText},
    {"value", DbFieldReal},
};

// Rolls the item up, then the category that holds it, if any.
void RollUpItem(GS::Int32 itemId)
{
    ItemsTable().recalculate(itemId);
    SQLite::Statement query = DatabaseConnection::instance().prepare("SELECT category_id FROM items WHERE id = ?");
    query.bind(1, static_cast<int32_t>(itemId));
    if (query.executeStep())
        CategoriesTable().recalculateTotal(query.getColumn(0).getInt());
}

// Unless released, rolls back what ran since it was made: a batch stays all or nothing.
class Savepoint {
public:
    Savepoint() { Run("SAVEPOINT qties_batch"); }
    ~Savepoint()
    {
        if (released)
            return;
        try {
            Run("ROLLBACK TO qties_batch");
            Run("RELEASE qties_batch");
        } catch (const std::exception&) {
            // SQLite has ended the transaction itself.
        }
    }
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;

    void release()
    {
        Run("RELEASE qties_batch");
        released = true;
    }

private:
    static void Run(const char* sql) { DatabaseConnection::instance().prepare(sql).exec(); }
    bool released = false;
};

// True when every sort order of the item is a whole number, as the tables write them; only then
// can a batch tell where one-by-one saves and removes would leave them.
bool SortOrdersAreWhole(GS::Int32 itemId)
{
    SQLite::Statement query = DatabaseConnection::instance().prepare(
        "SELECT COUNT(*) FROM qties WHERE item_id = ? AND typeof(sort_order) <> 'integer'");
    query.bind(1, static_cast<int32_t>(itemId));
    return QueryFirstInt(query) == 0;
}

// Gives the item's remaining quantities the sort orders that removing the given ones one by one,
// highest first, would leave, each removal lowering the rows above it by one. A row at c, with
// u1 <= ... <= uk the removed sort orders below c, ends at the highest of c - k and ui - i + 1
// (i <= k): c - k where the removed ones had numbers of their own, more where they shared one.
void CloseGaps(GS::Int32 itemId, std::vector<GS::Int32> removed)
{
    std::sort(removed.begin(), removed.end());
    // floors[k]: the highest ui - i + 1 for i <= k, in 64 bits, as sort orders may reach the 32-bit ends.
    std::vector<std::int64_t> floors = {std::numeric_limits<std::int64_t>::min()};
    for (std::int64_t i = 0; i < static_cast<std::int64_t>(removed.size()); ++i)
        floors.push_back(std::max(floors.back(), removed[i] - i));

    DatabaseConnection& database = DatabaseConnection::instance();
    std::vector<std::pair<GS::Int32, std::int64_t>> moves;
    SQLite::Statement rows = database.prepare("SELECT id, sort_order FROM qties WHERE item_id = ?");
    rows.bind(1, static_cast<int32_t>(itemId));
    while (rows.executeStep()) {
        const GS::Int32 at = rows.getColumn(1).getInt();
        const auto below = static_cast<std::int64_t>(std::lower_bound(removed.begin(), removed.end(), at) - removed.begin());
        const std::int64_t to = std::max(at - below, floors[static_cast<std::size_t>(below)]);
        if (to != at)
            moves.emplace_back(rows.getColumn(0).getInt(), to);
    }
    SQLite::Statement update = database.prepare("UPDATE qties SET sort_order = ? WHERE id = ?");
    for (const auto& [id, to] : moves) {
        update.reset();
        update.bind(1, static_cast<int32_t>(to));
        update.bind(2, static_cast<int32_t>(id));
        update.exec();
    }
}
}  // namespace

GS::UniString QtiesTable::getTableName() const
{
    return "qties";
}

GS::Int32 QtiesTable::getFieldCount() const
{
    return 7;
}

GS::Array<DbField> QtiesTable::getFields() const
{
    return MakeFieldList(QtyFields);
}

bool QtiesTable::beforeSave(Qty& qty)
{
    if (!RowExists("items", qty.getInt("item_id")))
        return false;
    if (qty.isNew) {
        const GS::Int32 itemId = qty.getInt("item_id");
        const GS::Int32* next = batching ? nextSortOrders.GetPtr(itemId) : nullptr;
        qty.setInt("sort_order", next != nullptr ? *next : getMaxSortOrder(itemId) + 1);
    }
    if (qty.linkNeedsParentGuid()) {
        GS::UniString parentGuid;
        if (ReadParentGuid(qty.getString("guid"), &parentGuid))
            qty.setString("guid", parentGuid);
    }
    return true;
}

bool QtiesTable::afterSave(Qty& qty)
{
    if (batching)
        itemsToRollUp.Put(qty.getInt("item_id"), true);
    else
        RollUpItem(qty.getInt("item_id"));
    return true;
}

bool QtiesTable::beforeDelete(Qty& qty)
{
    SQLite::Statement query = DatabaseConnection::instance().prepare("SELECT item_id, sort_order FROM qties WHERE id = ?");
    query.bind(1, static_cast<int32_t>(qty.getInt("id")));
    if (query.executeStep()) {
        qty.setInt("item_id", query.getColumn(0).getInt());
        qty.setInt("sort_order", query.getColumn(1).getInt());
    }
    return true;
}

bool QtiesTable::afterDelete(Qty& qty)
{
    try {
        const GS::Int32 itemId = qty.getInt("item_id");
        SQLite::Statement closeGap = DatabaseConnection::instance().prepare(
            GS::UniString("UPDATE ") + getTableName() + " SET sort_order = sort_order - 1 WHERE item_id = ? AND sort_order > ?");
        closeGap.bind(1, static_cast<int32_t>(itemId));
        closeGap.bind(2, static_cast<int32_t>(qty.getInt("sort_order")));
        closeGap.exec();

        RollUpItem(itemId);
    } catch (const std::exception& e) {
        DBPrintf("Error in QtiesTable::afterDelete: %s\n", e.what());
        return false;
    }
    return true;
}

GS::Int32 QtiesTable::getMaxSortOrder(GS::Int32 itemId)
{
    SQLite::Statement query = DatabaseConnection::instance().prepare(
        GS::UniString("SELECT MAX(sort_order) FROM ") + getTableName() + " WHERE item_id = ?");
    query.bind(1, static_cast<int32_t>(itemId));
    return QueryFirstInt(query);
}

bool QtiesTable::updateSortOrders(const GS::Array<GS::Int32>& ids)
{
    return writeSortOrders(ids, "QtiesTable");
}

void QtiesTable::saveAll(GS::Array<Qty>& qties)
{
    Savepoint batch;
    // The hooks and save see the batch until it ends, also by an exception.
    struct Batching {
        explicit Batching(QtiesTable& t) : table(t) { table.batching = true; }
        ~Batching()
        {
            table.batching = false;
            table.heldInsert.reset();
            table.nextSortOrders.Clear();
            table.itemsToRollUp.Clear();
        }
        QtiesTable& table;
    } scope(*this);

    for (Qty& qty : qties) {
        const bool inserting = qty.isNew;
        const GS::Int32 itemId = qty.getInt("item_id");
        if (save(qty) && inserting) {
            if (nextSortOrders.ContainsKey(itemId) || SortOrdersAreWhole(itemId))
                nextSortOrders.Put(itemId, qty.getInt("sort_order") + 1);
        } else {
            // An update writes the sort order its entity holds, and a failed insert may have
            // ended the transaction: the next insert reads the item's highest again.
            nextSortOrders.Clear();
        }
    }
    for (const auto& item : itemsToRollUp)
        RollUpItem(item.key);
    batch.release();
}

GS::Array<GS::Int32> QtiesTable::removeAll(GS::Array<Qty>& qties)
{
    Savepoint batch;
    std::vector<Qty*> order;
    for (Qty& qty : qties) {
        if (beforeDelete(qty))
            order.push_back(&qty);
        else
            DBPrintf("beforeDelete failed, entity not deleted.\n");
    }
    // Highest first, so no removal moves a row still to be removed.
    std::stable_sort(order.begin(), order.end(),
                     [](const Qty* a, const Qty* b) { return a->getInt("sort_order") > b->getInt("sort_order"); });

    DatabaseConnection& database = DatabaseConnection::instance();
    SQLite::Statement deleteRow = database.prepare("DELETE FROM qties WHERE id = ?");
    GS::HashTable<GS::Int32, bool> whole;
    GS::HashTable<GS::Int32, std::vector<GS::Int32>> removedSortOrders;
    GS::Array<GS::Int32> removed;
    for (Qty* qty : order) {
        const GS::Int32 itemId = qty->getInt("item_id");
        if (!whole.ContainsKey(itemId))
            whole.Put(itemId, SortOrdersAreWhole(itemId));
        bool gone = false;
        if (!whole.Get(itemId)) {
            gone = remove(*qty);  // one by one where CloseGaps could not tell the outcome
        } else {
            deleteRow.reset();
            deleteRow.bind(1, static_cast<int32_t>(qty->getInt("id")));
            gone = database.execute(deleteRow) > 0;
            if (gone) {
                if (std::vector<GS::Int32>* sortOrders = removedSortOrders.GetPtr(itemId))
                    sortOrders->push_back(qty->getInt("sort_order"));
                else
                    removedSortOrders.Put(itemId, {qty->getInt("sort_order")});
            }
        }
        if (gone)
            removed.Push(qty->getInt("id"));
    }
    for (const auto& item : removedSortOrders) {
        CloseGaps(item.key, item.value);
        RollUpItem(item.key);
    }
    batch.release();
    return removed;
}
