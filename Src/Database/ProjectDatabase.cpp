#include "Database/ProjectDatabase.hpp"

#include <sqlite3.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstring>
#include <exception>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <SQLiteCpp/SQLiteCpp.h>

#include "API/ApiTypes.hpp"
#include "HostApi/HostCalls.hpp"
#include "HostApi/HostHandles.hpp"
#include "Database/SchemaVetting.hpp"
#include "Database/SqlText.hpp"
#include "GSRoot/Debug.hpp"
#include "GSRoot/Memory.hpp"

namespace {

const char* const ModuleDataName = "CalvoraDB";

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

// A zero byte would end the text for SQLite, so it goes out as char(0) joined to the quoted parts
// around it, as the sqlite3 shell's dump writes it: 'ab'||char(0)||'cd'.
void AppendQuotedText(std::string& out, const char* text, int length)
{
    if (length == 0)
        out += "''";
    bool quoted = false;
    for (int i = 0; i < length; ++i) {
        const bool zero = text[i] == '\0';
        if (zero || !quoted) {  // a new part
            if (quoted)
                out += '\'';
            if (i > 0)
                out += "||";
            out += zero ? "char(0)" : "'";
            quoted = !zero;
            if (zero)
                continue;
        }
        out += text[i];
        if (text[i] == '\'')
            out += '\'';
    }
    if (quoted)
        out += '\'';
}

// The stored image copied into a buffer of sqlite3_malloc64, which the caller owns; nullptr when
// there is no image or no room. The handle is released as soon as its bytes are copied.
void* CopyOut(HeldHandle<char> stored, GSSize* size)
{
    if (stored.Get() == nullptr)
        return nullptr;
    *size = BMGetHandleSize(stored.Get());
    if (*size <= 0)
        return nullptr;
    void* buffer = sqlite3_malloc64(static_cast<sqlite3_uint64>(*size));
    if (buffer != nullptr)
        BNCopyMemory(buffer, *stored.Get(), *size);
    return buffer;
}

}  // namespace

ProjectDatabase& ProjectDatabase::instance()
{
    static ProjectDatabase database;
    return database;
}

// The tables' connection is the project database's, the one object that knows how to open it.
DatabaseConnection& DatabaseConnection::instance()
{
    return ProjectDatabase::instance();
}

void ProjectDatabase::open()
{
    replaceConnection(OpenMemoryDatabase());
    imageLoaded = false;
    loadFromProject();
    try {
        CreateSchemaOn(*connection);
        if (!CheckSchemaUsable(*connection)) {
            // The rows are read straight from the tables; the schema step makes the indexes anew.
            DBPrintf("The stored estimate's indexes are not known to agree with its tables; its rows are copied into a fresh "
                     "database.\n");
            replaceConnection(CopyIntoFresh(*connection, TablesOf(*connection)));
            CreateSchemaOn(*connection);
            CheckSchemaUsable(*connection);  // the new indexes agree
        }
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
    storedUnread = false;
    unreadTold = false;
}

void ProjectDatabase::reopen()
{
    drop();
    unreadTold = false;
    ensureOpen();
}

bool ProjectDatabase::retryStoredRead()
{
    if (!storedUnread || !openFlag)
        return false;
    // The stand-in and its changes stay in place until a read succeeds.
    std::unique_ptr<SQLite::Database> standIn = std::move(connection);
    const bool standInChanged = changedFlag;
    openFlag = false;
    changedFlag = false;
    std::exception_ptr failure;
    try {
        ensureOpen();
    } catch (...) {
        failure = std::current_exception();
        storedUnread = true;
    }
    if (storedUnread) {
        std::swap(connection, standIn);
        openFlag = true;
        changedFlag = standInChanged;
    }
    retire(std::move(standIn));
    if (failure)
        std::rethrow_exception(failure);
    return !storedUnread;
}

bool ProjectDatabase::takeUnreadNotice()
{
    if (!storedUnread || unreadTold)
        return false;
    unreadTold = true;
    return true;
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
    storedUnread = false;
    API_ModulData info;
    std::memset(&info, 0, sizeof info);
    const GSErrCode err = HostGetModuleData(&info, GS::UniString(ModuleDataName, CC_Default));
    // A handle the record holds is released, whatever the host answered.
    HeldHandle<char> stored(info.dataHdl);
    if (err != NoError) {
        // A project that holds no estimate starts empty; one whose estimate the host failed to
        // read must not have an empty one stored over it.
        if (err != APIERR_NOMODULEDATA) {
            storedUnread = true;
            DBPrintf("The estimate stored in this project could not be read (host error %d); an empty one stands in "
                     "for it and is not stored.\n", static_cast<int>(err));
        }
        return;
    }
    GSSize size = 0;
    void* buffer = CopyOut(std::move(stored), &size);
    if (buffer == nullptr)
        return;

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
        std::vector<std::string> extraTables;
        CheckOnlyOwnObjects(*connection, &extraTables);
        // SQLite opens some sound images read-only (a newer write version, say), and every save
        // would fail on them: their rows go into a writable database instead. So do the estimate's
        // tables of an image that holds others too, which would otherwise cost the whole estimate.
        if (sqlite3_db_readonly(connection->getHandle(), "main") == 1 || !extraTables.empty())
            replaceConnection(CopyIntoFresh(*connection, TablesOf(*connection, extraTables)));
        if (!extraTables.empty()) {
            std::string names;
            for (const std::string& table : extraTables)
                names += (names.empty() ? "" : ", ") + table;
            DBPrintf("The stored estimate holds tables it does not use, which are left out: %s\n", names.c_str());
        }
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
    if (storedUnread) {
        DBPrintf("Nothing is stored: the estimate stored in this project could not be read, and what stands in for it "
                 "would replace it.\n");
        return;
    }

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
            const HeldHandle<char> handle(BMAllocateHandle(size, 0, 0));
            info.dataHdl = handle.Get();
            if (info.dataHdl != nullptr) {
                BNCopyMemory(*info.dataHdl, image, size);
                const GSErrCode err = HostStoreModuleData(&info, GS::UniString(ModuleDataName, CC_Default));
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

double ProjectDatabase::setImportTimeLimit(double seconds)
{
    const double previous = importTimeLimit;
    importTimeLimit = seconds;
    return previous;
}

bool ProjectDatabase::replaceWithSql(const GS::UniString& sql, bool keepLinks)
{
    // The text is built on a connection of its own and swapped in only when all of it worked,
    // so a failed import leaves the estimate and its changed flag exactly as they were.
    try {
        ensureOpen();
        const std::string text = ToSqlText(sql);
        // SQLite would stop reading at a zero byte and report the part before it as the whole.
        if (text.find('\0') != std::string::npos)
            throw std::runtime_error("The SQL text holds a zero byte.");
        std::unique_ptr<SQLite::Database> imported = OpenMemoryDatabase();

        // A query that never ends must not hang the host: the run is interrupted at the deadline.
        using Clock = std::chrono::steady_clock;
        const Clock::time_point deadline =
            Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(importTimeLimit));
        Clock::time_point checkedDeadline = deadline;
        sqlite3_progress_handler(imported->getHandle(), 10000, [](void* at) {
            return Clock::now() > *static_cast<Clock::time_point*>(at) ? 1 : 0;
        }, &checkedDeadline);
        try {
            imported->exec(text);
        } catch (const SQLite::Exception&) {
            if (Clock::now() > deadline)
                throw std::runtime_error("The SQL text ran longer than an import may.");
            throw;
        }
        sqlite3_progress_handler(imported->getHandle(), 0, nullptr, nullptr);

        if (sqlite3_get_autocommit(imported->getHandle()) == 0)
            throw std::runtime_error("The SQL text leaves a transaction open.");
        for (const char* table : {"categories", "items", "qties"})
            if (!TableExists(*imported, table))
                throw std::runtime_error(std::string("The SQL text creates no table ") + table + ".");
        CheckOnlyOwnObjects(*imported);
        // Whatever the text set on its connection (pragmas, functions) stays there: only the
        // tables and their rows move to a connection of the add-on's own.
        std::unique_ptr<SQLite::Database> rebuilt = CopyIntoFresh(*imported, TablesOf(*imported));
        imported.reset();
        if (!keepLinks)
            rebuilt->exec("DELETE FROM qties WHERE guid IS NOT NULL AND guid != '';");
        CreateSchemaOn(*rebuilt);
        CheckSchemaUsable(*rebuilt);  // its indexes are new: they agree with the rows

        replaceConnection(std::move(rebuilt));
        changedFlag = true;
        return true;
    } catch (const std::exception& e) {
        DBPrintf("SQL import failed: %s\n", e.what());
        return false;
    }
}
