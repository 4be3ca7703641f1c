#pragma once
#include <memory>

#include "Database/Category.hpp"
#include "Database/DbField.hpp"
#include "Database/Item.hpp"
#include "Database/Qty.hpp"
#include "GSRoot/Array.hpp"
#include "GSRoot/HashTable.hpp"
#include "GSRoot/UniString.hpp"

namespace SQLite {
class Statement;
}

// Generic persistence of one entity type in one table of the project database. The concrete
// tables name the table and its columns and keep the tree consistent through the four hooks.
// Values are always bound as parameters; only table and column names enter the SQL text.
template <typename T>
class Table {
public:
    Table();
    virtual ~Table();

    virtual GS::UniString getTableName() const = 0;
    virtual GS::Int32 getFieldCount() const = 0;
    virtual GS::Array<DbField> getFields() const = 0;

    virtual bool beforeSave(T& entity);
    virtual bool afterSave(T& entity);
    virtual bool beforeDelete(T& entity);
    virtual bool afterDelete(T& entity);

    // Inserts a new entity (then it gets its "id" and is no longer new) or updates an existing one.
    // True when a row was inserted or changed.
    bool save(T& entity);
    // True when a row was deleted.
    bool remove(T& entity);

    GS::HashTable<GS::Int32, T> findAll();
    GS::HashTable<GS::Int32, T> findWhere(const GS::UniString& column, GS::Int32 value);
    // Throws std::runtime_error("Entity not found") when there is no such row.
    T findById(GS::Int32 id);
    // Builds an entity from the current row of an executed statement, reading columns by name.
    T fromRow(SQLite::Statement& statement);

    // "CREATE TABLE IF NOT EXISTS name (id INTEGER PRIMARY KEY AUTOINCREMENT, ...);"
    GS::UniString buildCreateTableSql() const;

protected:
    // The updateSortOrders of the concrete tables: gives the ids positions 1..n in array order;
    // a database error ends it with "Error in <owner>::updateSortOrders: ..." and false.
    bool writeSortOrders(const GS::Array<GS::Int32>& ids, const char* owner);

    // Set while a batch of saves runs: save keeps its INSERT prepared from one entity to the next.
    bool batching = false;
    std::unique_ptr<SQLite::Statement> heldInsert;
};

// True when the table ("categories" or "items") holds a row with this id: a child is saved only
// under a parent that exists.
bool RowExists(const char* table, GS::Int32 id);

extern template class Table<Category>;
extern template class Table<Item>;
extern template class Table<Qty>;
