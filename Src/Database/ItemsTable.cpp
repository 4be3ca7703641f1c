#include "Database/ItemsTable.hpp"

#include <SQLiteCpp/SQLiteCpp.h>

#include "Database/CategoriesTable.hpp"
#include "Database/DatabaseConnection.hpp"
#include "Database/SqlText.hpp"
#include "GSRoot/Debug.hpp"

namespace {
const DbField ItemFields[] = {
    {"id", DbFieldInteger},
    {"category_id", DbFieldInteger},
    {"sort_order", DbFieldInteger},
    {"code", DbFieldText},
    {"descript", DbFieldLongText},
    {"unit", DbFieldText},
    {"price", DbFieldReal},
    {"qty", DbFieldReal},
    {"total", DbFieldReal},
};
}  // namespace

GS::UniString ItemsTable::getTableName() const
{
    return "items";
}

GS::Int32 ItemsTable::getFieldCount() const
{
    return 9;
}

GS::Array<DbField> ItemsTable::getFields() const
{
    return MakeFieldList(ItemFields);
}

bool ItemsTable::beforeSave(Item& item)
{
    // An item outside every category would be shown nowhere and never rolled up.
    if (!RowExists("categories", item.getInt("category_id")))
        return false;
    if (item.isNew) {
        item.setInt("sort_order", getMaxSortOrder(item.getInt("category_id")) + 1);
        return true;
    }
    // Only for the roll-up of the category the item leaves; without it the save still goes on.
    try {
        SQLite::Statement query = DatabaseConnection::instance().prepare("SELECT category_id FROM items WHERE id = ?");
        query.bind(1, static_cast<int32_t>(item.getInt("id")));
        if (query.executeStep())
            item.setInt("__oldCategoryId", query.getColumn(0).getInt());
    } catch (const std::exception&) {
    }
    return true;
}

bool ItemsTable::afterSave(Item& item)
{
    const GS::Int32 categoryId = item.getInt("category_id");
    recalculate(item.getInt("id"));
    CategoriesTable categories;
    categories.recalculateTotal(categoryId);
    try {
        const GS::Int32 oldCategoryId = item.getInt("__oldCategoryId");
        if (oldCategoryId != 0 && oldCategoryId != categoryId)
            categories.recalculateTotal(oldCategoryId);
    } catch (const std::exception&) {
    }
    return true;
}

bool ItemsTable::beforeDelete(Item& item)
{
    SQLite::Statement query =
        DatabaseConnection::instance().prepare("SELECT category_id, sort_order FROM items WHERE id = ?");
    query.bind(1, static_cast<int32_t>(item.getInt("id")));
    if (query.executeStep()) {
        item.setInt("category_id", query.getColumn(0).getInt());
        item.setInt("sort_order", query.getColumn(1).getInt());
    }
    return true;
}

bool ItemsTable::afterDelete(Item& item)
{
    try {
        DatabaseConnection& database = DatabaseConnection::instance();
        const GS::Int32 categoryId = item.getInt("category_id");

        SQLite::Statement deleteQties = database.prepare("DELETE FROM qties WHERE item_id = ?");
        deleteQties.bind(1, static_cast<int32_t>(item.getInt("id")));
        deleteQties.exec();

        SQLite::Statement closeGap = database.prepare(
            GS::UniString("UPDATE ") + getTableName() + " SET sort_order = sort_order - 1 WHERE category_id = ? AND sort_order > ?");
        closeGap.bind(1, static_cast<int32_t>(categoryId));
        closeGap.bind(2, static_cast<int32_t>(item.getInt("sort_order")));
        closeGap.exec();

        CategoriesTable().recalculateTotal(categoryId);
    } catch (const std::exception& e) {
        DBPrintf("Error in ItemsTable::afterDelete: %s\n", e.what());
        return false;
    }
    return true;
}

GS::Array<Item> ItemsTable::getByCategory(GS::Int32 categoryId)
{
    GS::Array<Item> result;
    SQLite::Statement query =
        DatabaseConnection::instance().prepare("SELECT * FROM items WHERE category_id = ? ORDER BY sort_order ASC");
    query.bind(1, static_cast<int32_t>(categoryId));
    while (query.executeStep())
        result.Push(fromRow(query));
    return result;
}

GS::Int32 ItemsTable::getMaxSortOrder(GS::Int32 categoryId)
{
    SQLite::Statement query =
        DatabaseConnection::instance().prepare(GS::UniString("SELECT MAX(sort_order) FROM ") + getTableName() + " WHERE category_id = ?");
    query.bind(1, static_cast<int32_t>(categoryId));
    return QueryFirstInt(query);
}

bool ItemsTable::updateSortOrders(const GS::Array<GS::Int32>& ids)
{
    return writeSortOrders(ids, "ItemsTable");
}

void ItemsTable::recalculate(GS::Int32 itemId)
{
    DatabaseConnection& database = DatabaseConnection::instance();
    SQLite::Statement sum = database.prepare("SELECT COALESCE(SUM(value), 0.0) FROM qties WHERE item_id = ?");
    sum.bind(1, static_cast<int32_t>(itemId));
    const double qty = RoundToCents(QueryFirstDouble(sum));

    SQLite::Statement priceQuery = database.prepare("SELECT price FROM items WHERE id = ?");
    priceQuery.bind(1, static_cast<int32_t>(itemId));
    const double price = QueryFirstDouble(priceQuery);
    const double total = RoundToCents(price * qty);

    SQLite::Statement update = database.prepare("UPDATE items SET qty = ?, total = ? WHERE id = ?");
    update.bind(1, qty);
    update.bind(2, total);
    update.bind(3, static_cast<int32_t>(itemId));
    update.exec();
}
