#include "Database/ProjectDatabase.hpp"

#include <sqlite3.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include <SQLiteCpp/SQLiteCpp.h>

#include "API/ApiTypes.hpp"
#include "HostApi/HostCalls.hpp"
#include "Database/CategoriesTable.hpp"
#include "Database/ItemsTable.hpp"
#include "Database/QtiesTable.hpp"
#include "Database/SqlText.hpp"
#include "GSRoot/Debug.hpp"
#include "GSRoot/Memory.hpp"

namespace {

const char* const ModuleDataName = "CalvoraDB";
const int OpenFlags = SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE;

// Temporary tables and sorts stay in memory; the SQL may not switch that back or move
// SQLite's temporary directory, limit SQLite's heap (both settings of the whole process),
// nor leave the estimate's connection read-only, size-capped or trusting its schema.
int RefuseConnectionSettings(void*, int action, const char* pragma, const char* value, const char*, const char*)
{
    if (action != SQLITE_PRAGMA || pragma == nullptr || value == nullptr)
        return SQLITE_OK;
    for (const char* name : {"temp_store", "temp_store_directory", "data_store_directory", "hard_heap_limit",
                             "soft_heap_limit", "query_only", "max_page_count", "trusted_schema"})
        if (sqlite3_stricmp(pragma, name) == 0)
            return SQLITE_DENY;
    return SQLITE_OK;
}

// Imported SQL runs on these connections, so none of them may reach the file system:
// no ATTACH (also what VACUUM INTO needs), no temporary files, no extensions, no schema
// tricks, and no fts3_tokenizer(name, pointer), which hands out and calls raw function pointers.
void Harden(sqlite3* handle)
{
    sqlite3_exec(handle, "PRAGMA temp_store = MEMORY;", nullptr, nullptr, nullptr);
    sqlite3_set_authorizer(handle, RefuseConnectionSettings, nullptr);
    sqlite3_limit(handle, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_db_config(handle, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(handle, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    sqlite3_db_config(handle, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(handle, SQLITE_DBCONFIG_ENABLE_FTS3_TOKENIZER, 0, nullptr);
}

std::unique_ptr<SQLite::Database> OpenMemoryDatabase()
{
    auto database = std::make_unique<SQLite::Database>(":memory:", OpenFlags, 0);
    Harden(database->getHandle());
    return database;
}

bool TableExists(SQLite::Database& database, const char* name)
{
    SQLite::Statement query(database, "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = ?");
    query.bind(1, name);
    return QueryFirstInt(query) > 0;
}

std::vector<std::string> ColumnNames(SQLite::Database& database, const std::string& table);

bool HasColumn(SQLite::Database& database, const std::string& table, const char* column)
{
    for (const std::string& name : ColumnNames(database, table))
        if (name == column)
            return true;
    return false;
}

bool IsPlainIdentifier(const std::string& name)
{
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0])) ||
        sqlite3_keyword_check(name.c_str(), static_cast<int>(name.size())) != 0)
        return false;
    for (char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_'))
            return false;
    return true;
}

// Our own table names go out as they are; anything else an import may have created is quoted.
std::string QuoteIdentifier(const std::string& name)
{
    if (IsPlainIdentifier(name))
        return name;
    std::string quoted = "\"";
    for (char c : name) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

std::vector<std::string> ColumnNames(SQLite::Database& database, const std::string& table)
{
    std::vector<std::string> names;
    SQLite::Statement query(database, "PRAGMA table_info(" + QuoteIdentifier(table) + ");");
    while (query.executeStep())
        names.push_back(query.getColumn(1).getString());
    return names;
}

// The table layer reads every column of its field list and keeps ids in 32 bits; a database
// that breaks either would fail on every later operation, so it is refused up front.
template <typename TableType>
void CheckTableUsable(SQLite::Database& database, const TableType& table)
{
    const std::string name = ToSqlText(table.getTableName());
    const std::vector<std::string> columns = ColumnNames(database, name);
    const GS::Array<DbField> fields = table.getFields();
    std::string outOfRange;
    for (const DbField& field : fields) {
        bool found = false;
        for (const std::string& column : columns)
            found = found || sqlite3_stricmp(column.c_str(), field.name) == 0;
        if (!found)
            throw std::runtime_error("Table " + name + " has no column " + field.name + ".");
        if (field.type == DbFieldInteger) {
            if (!outOfRange.empty())
                outOfRange += " OR ";
            outOfRange += std::string("(typeof(") + field.name + ") = 'integer' AND (" + field.name +
                          " > 2147483647 OR " + field.name + " < -2147483648))";
        }
    }
    // The next id (the highest one + 1, where no sequence says more) must fit as well.
    outOfRange += " OR id >= 2147483647";
    SQLite::Statement query(database, "SELECT COUNT(*) FROM " + name + " WHERE " + outOfRange);
    if (QueryFirstInt(query) > 0)
        throw std::runtime_error("Table " + name + " holds numbers beyond the 32-bit range.");

    // An insert numbers its row only when "id" is the row key; otherwise new rows get no id.
    SQLite::Statement key(database,
                          "SELECT (SELECT COUNT(*) FROM pragma_table_info(?1, 'main') WHERE pk > 0) = 1"
                          " AND EXISTS (SELECT 1 FROM pragma_table_info(?1, 'main')"
                          " WHERE name = 'id' COLLATE NOCASE AND pk = 1 AND upper(type) = 'INTEGER')"
                          " AND EXISTS (SELECT 1 FROM pragma_table_list(?1) WHERE schema = 'main' AND wr = 0)");
    key.bind(1, name);
    if (QueryFirstInt(key) == 0)
        throw std::runtime_error("Table " + name + " does not number its rows by an INTEGER PRIMARY KEY id.");
}

void CheckSchemaUsable(SQLite::Database& database)
{
    // A temporary table would hide the stored one of its name, and what went into it would never be stored.
    SQLite::Statement temporary(database, "SELECT COUNT(*) FROM sqlite_temp_master");
    if (QueryFirstInt(temporary) > 0)
        throw std::runtime_error("The SQL text leaves temporary tables, views or triggers.");
    CheckTableUsable(database, CategoriesTable());
    CheckTableUsable(database, ItemsTable());
    CheckTableUsable(database, QtiesTable());
    if (TableExists(database, "sqlite_sequence")) {
        // So must the next id of a table whose highest rows were deleted.
        SQLite::Statement query(database, "SELECT COUNT(*) FROM sqlite_sequence WHERE seq >= 2147483647");
        if (QueryFirstInt(query) > 0)
            throw std::runtime_error("The next ids are beyond the 32-bit range.");
    }
}

void CreateSchemaOn(SQLite::Database& database)
{
    database.exec(ToSqlText(ItemsTable().buildCreateTableSql()));
    database.exec(ToSqlText(QtiesTable().buildCreateTableSql()));
    database.exec(ToSqlText(CategoriesTable().buildCreateTableSql()));

    // Databases stored before categories had a code get the column, '' in every row.
    try {
        if (!HasColumn(database, "categories", "code"))
            database.exec("ALTER TABLE categories ADD COLUMN code TEXT NOT NULL DEFAULT ''");
    } catch (const std::exception&) {
        // Nothing to report: a categories table that cannot take the column is refused later.
    }

    SQLite::Statement count(database, "SELECT COUNT(*) FROM categories;");
    if (count.executeStep() && count.getColumn(0).getInt64() == 0)
        database.exec(
            "INSERT INTO categories (title, code, sort_order, descript, total) VALUES ('Untitled Category', '', 1, '', 0.0);");
}

// A stored image is trusted only when SQLite finds it sound.
void CheckImageSound(SQLite::Database& database)
{
    SQLite::Statement check(database, "PRAGMA quick_check;");
    if (!check.executeStep())
        throw std::runtime_error("The integrity check gave no answer.");
    const std::string answer = check.getColumn(0).getString();
    if (answer != "ok")
        throw std::runtime_error(answer);
}

std::string FormatReal(double value)
{
    // 1e999 is read back as infinity; "%f" would write "inf", which no SQL reads.
    if (std::isinf(value))
        return value > 0 ? "1e999" : "-1e999";
    if (std::isnan(value))
        return "NULL";
    char buffer[512];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}

void AppendQuotedText(std::string& out, const char* text, int length)
{
    out += '\'';
    for (int i = 0; i < length; ++i) {
        out += text[i];
        if (text[i] == '\'')
            out += '\'';
    }
    out += '\'';
}

}  // namespace

ProjectDatabase& ProjectDatabase::instance()
{
    static ProjectDatabase database;
    return database;
}

ProjectDatabase::ProjectDatabase() = default;

ProjectDatabase::~ProjectDatabase()
{
    replaceConnection(nullptr);
}

void ProjectDatabase::replaceConnection(std::unique_ptr<SQLite::Database> next)
{
    // Closing a connection with a live statement fails (and the wrapper asserts), so such a
    // connection waits until its statements are gone.
    auto busy = [](const std::unique_ptr<SQLite::Database>& database) {
        return sqlite3_next_stmt(database->getHandle(), nullptr) != nullptr;
    };
    if (connection && busy(connection))
        retired.push_back(std::move(connection));
    connection = std::move(next);
    for (auto it = retired.begin(); it != retired.end();) {
        if (busy(*it))
            ++it;
        else
            it = retired.erase(it);
    }
}

void ProjectDatabase::ensureOpen()
{
    if (openFlag)
        return;
    replaceConnection(OpenMemoryDatabase());
    imageLoaded = false;
    loadFromProject();
    try {
        CreateSchemaOn(*connection);
        CheckSchemaUsable(*connection);
    } catch (const std::exception& e) {
        if (!imageLoaded)
            throw;
        // Unusable stored data must not break every later operation: start empty instead.
        DBPrintf("The stored estimate is not usable, an empty one is used instead: %s\n", e.what());
        replaceConnection(OpenMemoryDatabase());
        imageLoaded = false;
        CreateSchemaOn(*connection);
    }
    openFlag = true;
}

SQLite::Statement ProjectDatabase::prepare(const GS::UniString& sql)
{
    ensureOpen();
    return SQLite::Statement(*connection, ToSqlText(sql));
}

void ProjectDatabase::prepare(std::unique_ptr<SQLite::Statement>& storage, const GS::UniString& sql)
{
    ensureOpen();
    storage = std::make_unique<SQLite::Statement>(*connection, ToSqlText(sql));
}

GS::Int32 ProjectDatabase::execute(SQLite::Statement& statement)
{
    const int changed = statement.exec();
    if (changed > 0)
        changedFlag = true;
    return changed;
}

void ProjectDatabase::execSql(const GS::UniString& sql)
{
    ensureOpen();
    connection->exec(ToSqlText(sql));
    changedFlag = true;
}

GS::Int32 ProjectDatabase::lastInsertRowId()
{
    ensureOpen();
    SQLite::Statement query(*connection, "SELECT last_insert_rowid();");
    if (!query.executeStep())
        return -1;
    return static_cast<GS::Int32>(query.getColumn(0).getInt64());
}

void ProjectDatabase::clearAll()
{
    ensureOpen();
    connection->exec("DROP TABLE IF EXISTS qties;");
    connection->exec("DROP TABLE IF EXISTS items;");
    connection->exec("DROP TABLE IF EXISTS categories;");
    createSchema();
    changedFlag = true;
}

void ProjectDatabase::resetToEmpty()
{
    close();
    replaceConnection(OpenMemoryDatabase());
    createSchema();
    openFlag = true;
}

void ProjectDatabase::close()
{
    if (openFlag && changedFlag)
        saveToProject();
    drop();
}

void ProjectDatabase::reopen()
{
    drop();
    ensureOpen();
}

void ProjectDatabase::drop()
{
    replaceConnection(nullptr);
    openFlag = false;
    changedFlag = false;
}

void ProjectDatabase::createSchema()
{
    if (!connection) {
        ensureOpen();
        return;
    }
    CreateSchemaOn(*connection);
}

void ProjectDatabase::loadFromProject()
{
    API_ModulData info;
    std::memset(&info, 0, sizeof info);
    const GSErrCode err = HostGetModuleData(&info, GS::UniString(ModuleDataName, CC_Default));
    if (err != NoError) {
        if (info.dataHdl != nullptr)
            BMKillHandle(&info.dataHdl);
        return;
    }
    if (info.dataHdl == nullptr)
        return;
    const GSSize size = BMGetHandleSize(info.dataHdl);
    if (size <= 0) {
        BMKillHandle(&info.dataHdl);
        return;
    }
    void* buffer = sqlite3_malloc64(static_cast<sqlite3_uint64>(size));
    if (buffer == nullptr) {
        BMKillHandle(&info.dataHdl);
        return;
    }
    BNCopyMemory(buffer, *info.dataHdl, size);
    BMKillHandle(&info.dataHdl);

    replaceConnection(OpenMemoryDatabase());
    // SQLite owns the buffer from here on, whatever the outcome.
    const int rc = sqlite3_deserialize(connection->getHandle(), "main", static_cast<unsigned char*>(buffer), size,
                                       size, SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE);
    if (rc != SQLITE_OK) {
        DBPrintf("The stored estimate could not be loaded (%s), an empty one is used instead.\n", sqlite3_errstr(rc));
        replaceConnection(OpenMemoryDatabase());
        return;
    }
    try {
        CheckImageSound(*connection);
    } catch (const std::exception& e) {
        DBPrintf("The stored estimate is damaged (%s), an empty one is used instead.\n", e.what());
        replaceConnection(OpenMemoryDatabase());
        return;
    }
    imageLoaded = true;
}

void ProjectDatabase::saveToProject()
{
    if (!changedFlag || !connection)
        return;

    sqlite3* copy = nullptr;
    if (sqlite3_open(":memory:", &copy) != SQLITE_OK) {
        sqlite3_close(copy);
        return;
    }
    Harden(copy);

    // Only a backup that ran to its end and finished cleanly gives an image worth storing.
    bool complete = false;
    if (sqlite3_backup* backup = sqlite3_backup_init(copy, "main", connection->getHandle(), "main")) {
        const int stepResult = sqlite3_backup_step(backup, -1);
        const int finishResult = sqlite3_backup_finish(backup);
        complete = stepResult == SQLITE_DONE && finishResult == SQLITE_OK;
    }

    if (complete) {
        sqlite3_int64 size = 0;
        unsigned char* image = sqlite3_serialize(copy, "main", &size, 0);
        if (image != nullptr && size > 0 && size <= static_cast<sqlite3_int64>(std::numeric_limits<GS::UInt32>::max())) {
            API_ModulData info;
            std::memset(&info, 0, sizeof info);
            info.dataVersion = 1;
            info.platformSign[0] = 'W';
            info.platformSign[1] = 'W';
            info.dataHdl = BMAllocateHandle(size, 0, 0);
            if (info.dataHdl != nullptr) {
                BNCopyMemory(*info.dataHdl, image, size);
                const GSErrCode err = HostStoreModuleData(&info, GS::UniString(ModuleDataName, CC_Default));
                BMKillHandle(&info.dataHdl);
                if (err == NoError)
                    changedFlag = false;
            }
        }
        sqlite3_free(image);
    }
    sqlite3_close(copy);
}

void ProjectDatabase::dumpSql(GS::UniString& out)
{
    ensureOpen();
    out.Clear();
    if (!connection)
        return;

    std::string text = "-- Database schema and data dump\n\n";
    std::vector<std::string> tables;
    {
        SQLite::Statement query(*connection,
                                "SELECT name, sql FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite_%' ORDER BY name;");
        while (query.executeStep()) {
            tables.push_back(query.getColumn(0).getString());
            text += query.getColumn(1).getString();
            text += ";\n\n";
        }
    }

    for (const std::string& table : tables) {
        const std::vector<std::string> columns = ColumnNames(*connection, table);
        if (columns.empty())
            continue;
        std::string prefix = "INSERT INTO " + QuoteIdentifier(table) + " (";
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (i > 0)
                prefix += ", ";
            prefix += QuoteIdentifier(columns[i]);
        }
        prefix += ") VALUES (";

        SQLite::Statement rows(*connection, "SELECT * FROM " + QuoteIdentifier(table) + ";");
        while (rows.executeStep()) {
            text += prefix;
            const int count = rows.getColumnCount();
            for (int i = 0; i < count; ++i) {
                if (i > 0)
                    text += ", ";
                SQLite::Column value = rows.getColumn(i);
                switch (value.getType()) {
                    case SQLITE_NULL:
                        text += "NULL";
                        break;
                    case SQLITE_INTEGER:
                        text += std::to_string(static_cast<long long>(value.getInt64()));
                        break;
                    case SQLITE_FLOAT:
                        text += FormatReal(value.getDouble());
                        break;
                    default: {
                        const char* bytes = value.getText("");
                        AppendQuotedText(text, bytes, value.getBytes());
                        break;
                    }
                }
            }
            text += ");\n";
        }
        text += "\n";
    }
    out = FromSqlText(text);
}

bool ProjectDatabase::replaceWithSql(const GS::UniString& sql, bool keepLinks)
{
    // The text is built on a connection of its own and swapped in only when all of it worked,
    // so a failed import leaves the estimate and its changed flag exactly as they were.
    try {
        ensureOpen();
        std::unique_ptr<SQLite::Database> imported = OpenMemoryDatabase();
        imported->exec(ToSqlText(sql));
        if (sqlite3_get_autocommit(imported->getHandle()) == 0)
            throw std::runtime_error("The SQL text leaves a transaction open.");
        for (const char* table : {"categories", "items", "qties"})
            if (!TableExists(*imported, table))
                throw std::runtime_error(std::string("The SQL text creates no table ") + table + ".");
        if (!keepLinks)
            imported->exec("DELETE FROM qties WHERE guid IS NOT NULL AND guid != '';");
        CreateSchemaOn(*imported);
        CheckSchemaUsable(*imported);

        replaceConnection(std::move(imported));
        changedFlag = true;
        return true;
    } catch (const std::exception& e) {
        DBPrintf("SQL import failed: %s\n", e.what());
        return false;
    }
}
