#include "Database/QtiesTable.hpp"

#include <SQLiteCpp/SQLiteCpp.h>

#include "Database/CategoriesTable.hpp"
#include "Database/ItemsTable.hpp"
#include "Database/ProjectDatabase.hpp"
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
    SQLite::Statement query = ProjectDatabase::instance().prepare("SELECT category_id FROM items WHERE id = ?");
    query.bind(1, static_cast<int32_t>(itemId));
    if (query.executeStep())
        CategoriesTable().recalculateTotal(query.getColumn(0).getInt());
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
    if (qty.isNew)
        qty.setInt("sort_order", getMaxSortOrder(qty.getInt("item_id")) + 1);
    if (qty.linkNeedsParentGuid()) {
        GS::UniString parentGuid;
        if (ReadParentGuid(qty.getString("guid"), &parentGuid))
            qty.setString("guid", parentGuid);
    }
    return true;
}

bool QtiesTable::afterSave(Qty& qty)
{
    RollUpItem(qty.getInt("item_id"));
    return true;
}

bool QtiesTable::beforeDelete(Qty& qty)
{
    SQLite::Statement query = ProjectDatabase::instance().prepare("SELECT item_id, sort_order FROM qties WHERE id = ?");
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
        SQLite::Statement closeGap = ProjectDatabase::instance().prepare(
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
    SQLite::Statement query = ProjectDatabase::instance().prepare(
        GS::UniString("SELECT MAX(sort_order) FROM ") + getTableName() + " WHERE item_id = ?");
    query.bind(1, static_cast<int32_t>(itemId));
    return QueryFirstInt(query);
}

bool QtiesTable::updateSortOrders(const GS::Array<GS::Int32>& ids)
{
    return writeSortOrders(ids, "QtiesTable");
}
