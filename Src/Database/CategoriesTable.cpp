#include "Database/CategoriesTable.hpp"

#include <SQLiteCpp/SQLiteCpp.h>

#include "Database/DatabaseConnection.hpp"
#include "Database/SqlText.hpp"
#include "GSRoot/Debug.hpp"

namespace {
const DbField CategoryFields[] = {
    {"id", DbFieldInteger},
    {"title", DbFieldText},
    {"code", DbFieldText},
    {"sort_order", DbFieldInteger},
    {"descript", DbFieldLongText},
    {"total", DbFieldReal},
};
}  // namespace

GS::UniString CategoriesTable::getTableName() const
{
    return "categories";
}

GS::Int32 CategoriesTable::getFieldCount() const
{
    return 6;
}

GS::Array<DbField> CategoriesTable::getFields() const
{
    return MakeFieldList(CategoryFields);
}

bool CategoriesTable::beforeSave(Category& category)
{
    if (category.isNew) {
        SQLite::Statement query = DatabaseConnection::instance().prepare("SELECT MAX(sort_order) FROM categories");
        category.setInt("sort_order", QueryFirstInt(query) + 1);
    }
    return true;
}

bool CategoriesTable::afterSave(Category& category)
{
    recalculateTotal(category.getInt("id"));
    return true;
}

bool CategoriesTable::beforeDelete(Category& category)
{
    SQLite::Statement query = DatabaseConnection::instance().prepare("SELECT sort_order FROM categories WHERE id = ?");
    query.bind(1, static_cast<int32_t>(category.getInt("id")));
    if (query.executeStep())
        category.setInt("sort_order", query.getColumn(0).getInt());
    return true;
}

bool CategoriesTable::afterDelete(Category& category)
{
    try {
        DatabaseConnection& database = DatabaseConnection::instance();
        const GS::Int32 id = category.getInt("id");

        SQLite::Statement deleteQties = database.prepare(
            "DELETE FROM qties WHERE item_id IN (SELECT id FROM items WHERE category_id = ?)");
        deleteQties.bind(1, static_cast<int32_t>(id));
        deleteQties.exec();

        SQLite::Statement deleteItems = database.prepare("DELETE FROM items WHERE category_id = ?");
        deleteItems.bind(1, static_cast<int32_t>(id));
        deleteItems.exec();

        SQLite::Statement closeGap =
            database.prepare("UPDATE categories SET sort_order = sort_order - 1 WHERE sort_order > ?");
        closeGap.bind(1, static_cast<int32_t>(category.getInt("sort_order")));
        closeGap.exec();
    } catch (const std::exception& e) {
        DBPrintf("Error in CategoriesTable::afterDelete: %s\n", e.what());
        return false;
    }
    return true;
}

GS::Array<Category> CategoriesTable::getAll()
{
    GS::Array<Category> result;
    SQLite::Statement query = DatabaseConnection::instance().prepare("SELECT * FROM categories ORDER BY sort_order ASC, id ASC");
    while (query.executeStep())
        result.Push(fromRow(query));
    return result;
}

bool CategoriesTable::updateSortOrders(const GS::Array<GS::Int32>& ids)
{
    return writeSortOrders(ids, "CategoriesTable");
}

void CategoriesTable::recalculateTotal(GS::Int32 categoryId)
{
    DatabaseConnection& database = DatabaseConnection::instance();
    SQLite::Statement sum =
        database.prepare("SELECT COALESCE(SUM(total), 0.0) FROM items WHERE category_id = ?");
    sum.bind(1, static_cast<int32_t>(categoryId));
    const double total = QueryFirstDouble(sum);

    SQLite::Statement update = database.prepare("UPDATE categories SET total = ? WHERE id = ?");
    update.bind(1, total);
    update.bind(2, static_cast<int32_t>(categoryId));
    update.exec();
}
