// Gives every connection the add-on's settings, and the tables one connection to run their statements on.
#include "Database/DatabaseConnection.hpp"

#include <SQLiteCpp/SQLiteCpp.h>

#include "Database/CompensatedSum.hpp"
#include "Database/SqlText.hpp"

namespace {

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

}  // namespace

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
    const int rc = DefineCompensatedSum(database->getHandle());
    if (rc != SQLITE_OK)
        throw SQLite::Exception(database->getHandle(), rc);
    return database;
}

DatabaseConnection::~DatabaseConnection()
{
    replaceConnection(nullptr);
}

void DatabaseConnection::ensureOpen()
{
    if (!openFlag)
        open();
}

SQLite::Statement DatabaseConnection::prepare(const GS::UniString& sql)
{
    ensureOpen();
    return SQLite::Statement(*connection, ToSqlText(sql));
}

void DatabaseConnection::prepare(std::unique_ptr<SQLite::Statement>& storage, const GS::UniString& sql)
{
    ensureOpen();
    storage = std::make_unique<SQLite::Statement>(*connection, ToSqlText(sql));
}

GS::Int32 DatabaseConnection::execute(SQLite::Statement& statement)
{
    const int changed = statement.exec();
    if (changed > 0)
        changedFlag = true;
    return changed;
}

void DatabaseConnection::execSql(const GS::UniString& sql)
{
    ensureOpen();
    connection->exec(ToSqlText(sql));
    changedFlag = true;
}

GS::Int32 DatabaseConnection::lastInsertRowId()
{
    ensureOpen();
    return static_cast<GS::Int32>(connection->getLastInsertRowid());
}

void DatabaseConnection::replaceConnection(std::unique_ptr<SQLite::Database> next)
{
    std::unique_ptr<SQLite::Database> previous = std::move(connection);
    connection = std::move(next);
    retire(std::move(previous));
}

void DatabaseConnection::retire(std::unique_ptr<SQLite::Database> previous)
{
    // Closing a connection with a live statement fails (and the wrapper asserts), so such a
    // connection waits until its statements are gone.
    auto busy = [](const std::unique_ptr<SQLite::Database>& database) {
        return sqlite3_next_stmt(database->getHandle(), nullptr) != nullptr;
    };
    if (previous && busy(previous))
        retired.push_back(std::move(previous));
    previous.reset();
    for (auto it = retired.begin(); it != retired.end();) {
        if (busy(*it))
            ++it;
        else
            it = retired.erase(it);
    }
}
