#include "Database/Table.hpp"

#include <stdexcept>
#include <string>

#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

#include "Database/DatabaseConnection.hpp"
#include "Database/SqlText.hpp"
#include "GSRoot/Debug.hpp"

namespace {

void BindField(SQLite::Statement& statement, int index, const DbField& field, const Entity& entity)
{
    const GS::UniString name(field.name);
    switch (field.type) {
        case DbFieldInteger:
            statement.bind(index, static_cast<int32_t>(entity.getInt(name)));
            break;
        case DbFieldReal:
            statement.bind(index, entity.getDouble(name));
            break;
        default:
            statement.bind(index, ToSqlText(entity.getString(name)));
            break;
    }
}

// SQLite matches column names ignoring letter case, and a table created by an imported dump may
// spell them differently from the field list.
int ColumnIndex(const SQLite::Statement& statement, const char* name)
{
    for (int i = 0; i < statement.getColumnCount(); ++i)
        if (sqlite3_stricmp(statement.getColumnName(i), name) == 0)
            return i;
    return statement.getColumnIndex(name);  // throws: no such column
}

}  // namespace

template <typename T>
Table<T>::Table() = default;

template <typename T>
Table<T>::~Table() = default;

template <typename T>
bool Table<T>::beforeSave(T&)
{
    return true;
}

template <typename T>
bool Table<T>::afterSave(T&)
{
    return true;
}

template <typename T>
bool Table<T>::beforeDelete(T&)
{
    return true;
}

template <typename T>
bool Table<T>::afterDelete(T&)
{
    return true;
}

template <typename T>
bool Table<T>::save(T& entity)
{
    if (!beforeSave(entity)) {
        DBPrintf("beforeSave failed, entity not saved.\n");
        return false;
    }

    const GS::Array<DbField> fields = getFields();
    const GS::UInt32 count = fields.GetSize();
    const std::string table = ToSqlText(getTableName());
    const bool inserting = entity.isNew;

    std::unique_ptr<SQLite::Statement> own;
    std::unique_ptr<SQLite::Statement>& statement = inserting && batching ? heldInsert : own;
    std::string sql;
    if (statement) {
        statement->tryReset();  // its last run may have failed; it is bound afresh anyway
    } else if (inserting) {
        std::string names;
        std::string marks;
        for (GS::UInt32 i = 1; i < count; ++i) {
            if (i > 1) {
                names += ", ";
                marks += ", ";
            }
            names += fields[i].name;
            marks += "?";
        }
        sql = "INSERT INTO " + table + " (" + names + ") VALUES (" + marks + ")";
    } else {
        sql = "UPDATE " + table + " SET ";
        for (GS::UInt32 i = 1; i < count; ++i) {
            if (i > 1)
                sql += ", ";
            sql += fields[i].name;
            sql += " = ?";
        }
        sql += " WHERE id = ?";
    }

    DatabaseConnection& database = DatabaseConnection::instance();
    if (!statement)
        database.prepare(statement, FromSqlText(sql));
    for (GS::UInt32 i = 1; i < count; ++i)
        BindField(*statement, static_cast<int>(i), fields[i], entity);

    if (inserting) {
        GS::Int32 changed = 0;
        try {
            changed = database.execute(*statement);
        } catch (const std::exception& e) {
            DBPrintf("Error saving entity: %s\n", e.what());
            return false;
        }
        if (changed < 1)
            return false;
        // The hooks read the new id, so it goes in before afterSave.
        entity.setInt("id", database.lastInsertRowId());
        entity.isNew = false;
        afterSave(entity);
        return true;
    }

    statement->bind(static_cast<int>(count), static_cast<int32_t>(entity.getInt("id")));
    const GS::Int32 changed = database.execute(*statement);
    if (changed > 0)
        afterSave(entity);
    return changed > 0;
}

template <typename T>
bool Table<T>::remove(T& entity)
{
    if (!beforeDelete(entity)) {
        DBPrintf("beforeDelete failed, entity not deleted.\n");
        return false;
    }
    DatabaseConnection& database = DatabaseConnection::instance();
    SQLite::Statement statement =
        database.prepare(FromSqlText("DELETE FROM " + ToSqlText(getTableName()) + " WHERE id = ?"));
    statement.bind(1, static_cast<int32_t>(entity.getInt("id")));
    const GS::Int32 changed = database.execute(statement);
    if (changed > 0)
        afterDelete(entity);
    return changed > 0;
}

template <typename T>
GS::HashTable<GS::Int32, T> Table<T>::findAll()
{
    GS::HashTable<GS::Int32, T> result;
    SQLite::Statement statement =
        DatabaseConnection::instance().prepare(FromSqlText("SELECT * FROM " + ToSqlText(getTableName())));
    while (statement.executeStep()) {
        T entity = fromRow(statement);
        result.Put(entity.getInt("id"), entity);
    }
    return result;
}

template <typename T>
GS::HashTable<GS::Int32, T> Table<T>::findWhere(const GS::UniString& column, GS::Int32 value)
{
    GS::HashTable<GS::Int32, T> result;
    SQLite::Statement statement = DatabaseConnection::instance().prepare(
        FromSqlText("SELECT * FROM " + ToSqlText(getTableName()) + " WHERE " + ToSqlText(column) + " = ?"));
    statement.bind(1, static_cast<int32_t>(value));
    while (statement.executeStep()) {
        T entity = fromRow(statement);
        result.Put(entity.getInt("id"), entity);
    }
    return result;
}

template <typename T>
T Table<T>::findById(GS::Int32 id)
{
    SQLite::Statement statement = DatabaseConnection::instance().prepare(
        FromSqlText("SELECT * FROM " + ToSqlText(getTableName()) + " WHERE id = ?"));
    statement.bind(1, static_cast<int32_t>(id));
    if (!statement.executeStep())
        throw std::runtime_error("Entity not found");
    return fromRow(statement);
}

template <typename T>
T Table<T>::fromRow(SQLite::Statement& statement)
{
    T entity;
    entity.isNew = false;
    const GS::Array<DbField> fields = getFields();
    for (const DbField& field : fields) {
        const GS::UniString name(field.name);
        SQLite::Column column = statement.getColumn(ColumnIndex(statement, field.name));
        switch (field.type) {
            case DbFieldInteger:
                entity.setInt(name, column.getInt());
                break;
            case DbFieldReal:
                entity.setDouble(name, column.getDouble());
                break;
            default: {
                const char* text = column.getText("");
                entity.setString(name, FromSqlText(std::string(text, static_cast<std::size_t>(column.getBytes()))));
                break;
            }
        }
    }
    return entity;
}

template <typename T>
bool Table<T>::writeSortOrders(const GS::Array<GS::Int32>& ids, const char* owner)
{
    try {
        DatabaseConnection& database = DatabaseConnection::instance();
        const GS::UniString sql = GS::UniString("UPDATE ") + getTableName() + " SET sort_order = ? WHERE id = ?";
        for (GS::UInt32 i = 0; i < ids.GetSize(); ++i) {
            SQLite::Statement update = database.prepare(sql);
            update.bind(1, static_cast<int32_t>(i + 1));
            update.bind(2, static_cast<int32_t>(ids[i]));
            database.execute(update);
        }
    } catch (const std::exception& e) {
        DBPrintf("Error in %s::updateSortOrders: %s\n", owner, e.what());
        return false;
    }
    return true;
}

template <typename T>
GS::UniString Table<T>::buildCreateTableSql() const
{
    const GS::Array<DbField> fields = getFields();
    std::string sql = "CREATE TABLE IF NOT EXISTS " + ToSqlText(getTableName()) + " (";
    for (GS::UInt32 i = 0; i < fields.GetSize(); ++i) {
        if (i > 0)
            sql += ", ";
        sql += fields[i].name;
        if (i == 0) {
            sql += " INTEGER PRIMARY KEY AUTOINCREMENT";
            continue;
        }
        switch (fields[i].type) {
            case DbFieldInteger:
                sql += " INTEGER";
                break;
            case DbFieldReal:
                sql += " REAL";
                break;
            default:
                sql += " TEXT";
                break;
        }
    }
    sql += ");";
    return FromSqlText(sql);
}

bool RowExists(const char* table, GS::Int32 id)
{
    SQLite::Statement query =
        DatabaseConnection::instance().prepare(GS::UniString("SELECT 1 FROM ") + table + " WHERE id = ?");
    query.bind(1, static_cast<int32_t>(id));
    return query.executeStep();
}

template class Table<Category>;
template class Table<Item>;
template class Table<Qty>;
