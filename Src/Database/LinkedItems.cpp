#include "Database/LinkedItems.hpp"

#include <SQLiteCpp/SQLiteCpp.h>

#include "Database/DatabaseConnection.hpp"
#include "Database/SqlText.hpp"

namespace {
const char* const kLinkedItemsQuery =
    "SELECT DISTINCT c.code, c.title, i.code, i.descript, i.id, c.id FROM qties q JOIN items i ON q.item_id = i.id "
    "JOIN categories c ON i.category_id = c.id WHERE q.guid = ? ORDER BY c.sort_order, i.sort_order";

GS::UniString ColumnText(SQLite::Statement& query, int column)
{
    return FromSqlText(query.getColumn(column).getString());
}
}  // namespace

void forEachLinkedItem(const GS::UniString& guidText, const std::function<void(const LinkedItem&)>& visit)
{
    SQLite::Statement query = DatabaseConnection::instance().prepare(kLinkedItemsQuery);
    query.bind(1, ToSqlText(guidText));
    while (query.executeStep()) {
        LinkedItem item;
        item.categoryCode = ColumnText(query, 0);
        item.categoryTitle = ColumnText(query, 1);
        item.itemCode = ColumnText(query, 2);
        item.itemDescription = ColumnText(query, 3);
        item.itemId = query.getColumn(4).getInt();
        item.categoryId = query.getColumn(5).getInt();
        visit(item);
    }
}
