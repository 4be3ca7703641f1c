#include "Database/ProjectDatabase.hpp"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
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

// SUM as SQLite computes it since 3.43: integers exactly while they fit, REAL values with
// Kahan-Babuska-Neumaier compensation. Older SQLite adds plainly, and the roll-up's rounded
// sums must not depend on which SQLite the add-on happens to run on.
struct CompensatedSum {
    double sum;
    double error;
    sqlite3_int64 integer;
    sqlite3_int64 count;
    bool approximate;
    bool overflow;
};

void AddCompensated(CompensatedSum& total, double value)
{
    const double t = total.sum + value;
    if (std::fabs(total.sum) > std::fabs(value))
        total.error += (total.sum - t) + value;
    else
        total.error += (value - t) + total.sum;
    total.sum = t;
}

// Integers beyond 2^52 go in as two parts, so no bits are lost on the way to a double.
void AddCompensatedInteger(CompensatedSum& total, sqlite3_int64 value)
{
    const sqlite3_int64 bound = 4503599627370496LL;
    if (value <= -bound || value >= bound) {
        const sqlite3_int64 small = value % 16384;
        AddCompensated(total, static_cast<double>(value - small));
        AddCompensated(total, static_cast<double>(small));
    } else {
        AddCompensated(total, static_cast<double>(value));
    }
}

// Carries the exact integer sum so far over into the compensated one.
void StartCompensated(CompensatedSum& total)
{
    const sqlite3_int64 small = total.integer % 16384;
    const bool large = total.integer <= -4503599627370496LL || total.integer >= 4503599627370496LL;
    total.sum = static_cast<double>(large ? total.integer - small : total.integer);
    total.error = large ? static_cast<double>(small) : 0.0;
    total.approximate = true;
}

void SumStep(sqlite3_context* context, int, sqlite3_value** arguments)
{
    auto* total = static_cast<CompensatedSum*>(sqlite3_aggregate_context(context, sizeof(CompensatedSum)));
    const int type = sqlite3_value_numeric_type(arguments[0]);
    if (total == nullptr || type == SQLITE_NULL)
        return;
    ++total->count;
    if (type == SQLITE_INTEGER) {
        const sqlite3_int64 value = sqlite3_value_int64(arguments[0]);
        if (!total->approximate) {
            sqlite3_int64 next = 0;
            if (!__builtin_add_overflow(total->integer, value, &next)) {
                total->integer = next;
                return;
            }
            total->overflow = true;
            StartCompensated(*total);
        }
        AddCompensatedInteger(*total, value);
        return;
    }
    if (!total->approximate)
        StartCompensated(*total);
    total->overflow = false;  // a REAL value makes the result approximate anyway
    AddCompensated(*total, sqlite3_value_double(arguments[0]));
}

// Takes a value out again, for a window that moves on.
void SumInverse(sqlite3_context* context, int, sqlite3_value** arguments)
{
    auto* total = static_cast<CompensatedSum*>(sqlite3_aggregate_context(context, sizeof(CompensatedSum)));
    const int type = sqlite3_value_numeric_type(arguments[0]);
    if (total == nullptr || type == SQLITE_NULL)
        return;
    --total->count;
    if (type == SQLITE_INTEGER) {
        const sqlite3_int64 value = sqlite3_value_int64(arguments[0]);
        if (!total->approximate) {
            sqlite3_int64 next = 0;
            if (!__builtin_sub_overflow(total->integer, value, &next)) {
                total->integer = next;
                return;
            }
            total->overflow = true;
            StartCompensated(*total);
        }
        if (value == std::numeric_limits<sqlite3_int64>::min()) {
            AddCompensatedInteger(*total, std::numeric_limits<sqlite3_int64>::max());
            AddCompensatedInteger(*total, 1);
        } else {
            AddCompensatedInteger(*total, -value);
        }
        return;
    }
    if (!total->approximate)
        StartCompensated(*total);
    AddCompensated(*total, -sqlite3_value_double(arguments[0]));
}

void SumFinal(sqlite3_context* context)
{
    auto* total = static_cast<CompensatedSum*>(sqlite3_aggregate_context(context, 0));
    if (total == nullptr || total->count == 0)
        sqlite3_result_null(context);
    else if (!total->approximate)
        sqlite3_result_int64(context, total->integer);
    else if (total->overflow)
        sqlite3_result_error(context, "integer overflow", -1);
    else
        sqlite3_result_double(context, std::isfinite(total->error) ? total->sum + total->error : total->sum);
}

std::unique_ptr<SQLite::Database> OpenMemoryDatabase()
{
    auto database = std::make_unique<SQLite::Database>(":memory:", OpenFlags, 0);
    Harden(database->getHandle());
    const int rc = sqlite3_create_window_function(database->getHandle(), "sum", 1,
                                                  SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                                                  SumStep, SumFinal, SumFinal, SumInverse, nullptr);
    if (rc != SQLITE_OK)
        throw SQLite::Exception(database->getHandle(), rc);
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

// The indexes of the parent ids, so a roll-up sums one item's quantities or one category's items
// without scanning the whole table.
struct OwnIndex {
    const char* name;
    const char* table;
    const char* column;
};
const OwnIndex OwnIndexes[] = {
    {"items_category_id", "items", "category_id"},
    {"qties_item_id", "qties", "item_id"},
};

// Runs the SQL with a function of ours on the connection, which gets the rows inside SQLite's own
// loop, far cheaper than stepping each row out. The function lives only while the SQL runs (no
// other statement may be active then, or SQLite keeps it).
void RunWithFunction(SQLite::Database& database, const std::string& sql, int arguments, void* data,
                     void (*step)(sqlite3_context*, int, sqlite3_value**))
{
    sqlite3* handle = database.getHandle();
    auto define = [&](void* with, decltype(step) stepping, void (*finishing)(sqlite3_context*)) {
        const int rc = sqlite3_create_function(handle, "calvora_rows", arguments, SQLITE_UTF8, with, nullptr, stepping, finishing);
        if (rc != SQLITE_OK)
            throw SQLite::Exception(handle, rc);
    };
    define(data, step, [](sqlite3_context* context) { sqlite3_result_null(context); });
    try {
        database.exec(sql);
    } catch (...) {
        define(nullptr, nullptr, nullptr);
        throw;
    }
    define(nullptr, nullptr, nullptr);
}

// The (key, row id) pairs of an index, or of the rows of its table, as SQLite walks them. A NULL
// key, which an index puts first, is kept as the lowest integer; other keys than integers are not
// kept (SQLite orders them by rules of its own), and the pairs are then not comparable.
struct IndexEntries {
    std::vector<std::pair<sqlite3_int64, sqlite3_int64>> pairs;
    bool comparable = true;

    void add(sqlite3_value* key, sqlite3_value* rowId)
    {
        const sqlite3_int64 null = std::numeric_limits<sqlite3_int64>::min();
        const int type = sqlite3_value_type(key);
        const sqlite3_int64 number = type == SQLITE_INTEGER ? sqlite3_value_int64(key) : null;
        if ((type == SQLITE_INTEGER && number != null) || type == SQLITE_NULL)
            pairs.emplace_back(number, sqlite3_value_int64(rowId));
        else
            comparable = false;
    }
};

// One walk over a table's rows, straight from the table: the row id, then its integer columns.
struct RowWalk {
    int idArgument = -1;
    int keyArgument = -1;  // the column of the table's index, when it has one
    bool outOfRange = false;
    IndexEntries rows;
};

// As "typeof(c) = 'integer' AND (c > 2147483647 OR c < -2147483648)", and for the row key also
// "OR id >= 2147483647" (text sorts after every number), so that the next id fits too.
bool OutOfRange(sqlite3_value* value, bool isId)
{
    switch (sqlite3_value_type(value)) {
        case SQLITE_INTEGER: {
            const sqlite3_int64 number = sqlite3_value_int64(value);
            return number > 2147483647 || number < -2147483648LL || (isId && number == 2147483647);
        }
        case SQLITE_FLOAT:
            return isId && sqlite3_value_double(value) >= 2147483647.0;
        case SQLITE_NULL:
            return false;
        default:
            return isId;
    }
}

void WalkRow(sqlite3_context* context, int count, sqlite3_value** values)
{
    auto* walk = static_cast<RowWalk*>(sqlite3_user_data(context));
    for (int i = 1; i < count; ++i)
        walk->outOfRange = walk->outOfRange || OutOfRange(values[i], i == walk->idArgument);
    if (walk->keyArgument > 0)
        walk->rows.add(values[walk->keyArgument], values[0]);
}

// The table layer reads every column of its field list and keeps ids in 32 bits; a database
// that breaks either would fail on every later operation, so it is refused up front. One walk
// over the rows checks the numbers and gathers what the table's index must hold: quick_check does
// not compare an index with its table, and an image whose index pages were swapped passes it, then
// sums wrongly and fails the next save. False when the index is not known to agree with the rows.
template <typename TableType>
bool CheckTableUsable(SQLite::Database& database, const TableType& table)
{
    const std::string name = ToSqlText(table.getTableName());
    const std::vector<std::string> columns = ColumnNames(database, name);
    const GS::Array<DbField> fields = table.getFields();
    for (const DbField& field : fields) {
        bool found = false;
        for (const std::string& column : columns)
            found = found || sqlite3_stricmp(column.c_str(), field.name) == 0;
        if (!found)
            throw std::runtime_error("Table " + name + " has no column " + field.name + ".");
    }

    // An insert numbers its row only when "id" is the row key; otherwise new rows get no id.
    {
        SQLite::Statement key(database,
                              "SELECT (SELECT COUNT(*) FROM pragma_table_info(?1, 'main') WHERE pk > 0) = 1"
                              " AND EXISTS (SELECT 1 FROM pragma_table_info(?1, 'main')"
                              " WHERE name = 'id' COLLATE NOCASE AND pk = 1 AND upper(type) = 'INTEGER')"
                              " AND EXISTS (SELECT 1 FROM pragma_table_list(?1) WHERE schema = 'main' AND wr = 0)");
        key.bind(1, name);
        if (QueryFirstInt(key) == 0)
            throw std::runtime_error("Table " + name + " does not number its rows by an INTEGER PRIMARY KEY id.");
    }

    const OwnIndex* index = nullptr;
    for (const OwnIndex& own : OwnIndexes)
        index = name == own.table ? &own : index;
    RowWalk walk;
    std::string arguments = "rowid";
    int argument = 0;
    for (const DbField& field : fields) {
        if (field.type != DbFieldInteger)
            continue;
        arguments += std::string(", ") + field.name;
        ++argument;
        if (std::strcmp(field.name, "id") == 0)
            walk.idArgument = argument;
        if (index != nullptr && std::strcmp(field.name, index->column) == 0)
            walk.keyArgument = argument;
    }
    RunWithFunction(database, "SELECT calvora_rows(" + arguments + ") FROM " + name + " NOT INDEXED", -1, &walk, WalkRow);
    if (walk.outOfRange)
        throw std::runtime_error("Table " + name + " holds numbers beyond the 32-bit range.");
    if (index == nullptr)
        return true;

    IndexEntries entries;
    try {
        RunWithFunction(database, std::string("SELECT calvora_rows(") + index->column + ", rowid) FROM " + name + " INDEXED BY " +
                                      index->name, 2, &entries,
                        [](sqlite3_context* context, int, sqlite3_value** values) {
                            static_cast<IndexEntries*>(sqlite3_user_data(context))->add(values[0], values[1]);
                        });
    } catch (const SQLite::Exception&) {
        return false;  // the index's own pages cannot be read
    }
    IndexEntries& rows = walk.rows;
    if (!std::is_sorted(rows.pairs.begin(), rows.pairs.end()))
        std::sort(rows.pairs.begin(), rows.pairs.end());
    return rows.comparable && entries.comparable && rows.pairs == entries.pairs;
}

// An index of our name must be the plain one we would make: one stored under that name with a
// condition, an expression or a uniqueness could make later saves fail.
bool IsOwnIndex(SQLite::Database& database, const std::string& name, const std::string& table)
{
    for (const OwnIndex& own : OwnIndexes) {
        if (name != own.name || table != own.table)
            continue;
        SQLite::Statement shape(database,
                                "SELECT (SELECT COUNT(*) FROM pragma_index_list(?1) WHERE name = ?2 AND \"unique\" = 0"
                                " AND partial = 0) = 1 AND (SELECT COUNT(*) FROM pragma_index_xinfo(?2) WHERE key = 1) = 1"
                                " AND (SELECT COUNT(*) FROM pragma_index_info(?2) WHERE name = ?3 COLLATE NOCASE) = 1");
        shape.bind(1, own.table);
        shape.bind(2, own.name);
        shape.bind(3, own.column);
        return QueryFirstInt(shape) == 1;
    }
    return false;
}

bool IsOwnTableName(const std::string& name, bool ignoreCase)
{
    for (const char* own : {"categories", "items", "qties", "sqlite_sequence"})
        if (ignoreCase ? sqlite3_stricmp(name.c_str(), own) == 0 : name == own)
            return true;
    return false;
}

// A database may hold only what the add-on itself makes: its three tables, SQLite's sequence
// table and its own indexes. Anything else, a trigger or a view above all, would run or answer
// in place of the add-on's statements at some later save. Where extraTables is given, other
// ordinary tables (with the indexes SQLite makes for their keys) are let through and listed, to
// be left behind by the caller: earlier versions let imports keep such tables.
void CheckOnlyOwnObjects(SQLite::Database& database, std::vector<std::string>* extraTables = nullptr)
{
    SQLite::Statement temporary(database, "SELECT COUNT(*) FROM sqlite_temp_master");
    if (QueryFirstInt(temporary) > 0)
        throw std::runtime_error("The SQL text leaves temporary tables, views or triggers.");
    struct Index {
        std::string name;
        std::string table;
        bool implicit;
    };
    std::vector<Index> indexes;
    SQLite::Statement objects(database, "SELECT type, name, tbl_name, sql IS NULL, sql LIKE 'CREATE TABLE%' FROM sqlite_master");
    while (objects.executeStep()) {
        const std::string type = objects.getColumn(0).getString();
        const std::string name = objects.getColumn(1).getString();
        if (type == "table" && IsOwnTableName(name, false))
            continue;
        if (type == "table" && extraTables != nullptr && objects.getColumn(4).getInt() == 1 && !IsOwnTableName(name, true))
            extraTables->push_back(name);
        else if (type == "index")
            indexes.push_back({name, objects.getColumn(2).getString(), objects.getColumn(3).getInt() == 1});
        else
            throw std::runtime_error("The database holds " + type + " " + name + ", which the estimate does not use.");
    }
    for (const Index& index : indexes) {
        const bool ofExtraTable = extraTables != nullptr && index.implicit &&
                                  std::find(extraTables->begin(), extraTables->end(), index.table) != extraTables->end();
        if (!ofExtraTable && !IsOwnIndex(database, index.name, index.table))
            throw std::runtime_error("The database holds index " + index.name + ", which the estimate does not use.");
    }
}

// The table made again from its columns alone: names, declared types, NOT NULL and defaults, and
// the row key when it is one INTEGER column. Constraints and clauses beyond these (CHECK, foreign
// keys, collations, STRICT) could make the add-on's own writes fail, and do not come along.
std::string PlainCreateTable(SQLite::Database& source, const std::string& table)
{
    SQLite::Statement layout(source, "SELECT wr FROM pragma_table_list(?) WHERE schema = 'main'");
    layout.bind(1, table);
    SQLite::Statement keys(source, "SELECT COUNT(*) FROM pragma_table_xinfo(?) WHERE pk > 0");
    keys.bind(1, table);
    if (QueryFirstInt(layout) != 0 || QueryFirstInt(keys) > 1)
        throw std::runtime_error("Table " + table + " does not number its rows by an INTEGER PRIMARY KEY id.");
    std::string definition;
    SQLite::Statement columns(source, "SELECT name, type, \"notnull\", dflt_value, pk, hidden FROM pragma_table_xinfo(?)");
    columns.bind(1, table);
    while (columns.executeStep()) {
        const std::string name = columns.getColumn(0).getString();
        const std::string type = columns.getColumn(1).getString();
        if (columns.getColumn(5).getInt() != 0)
            throw std::runtime_error("Table " + table + " has a generated column " + name + ".");
        definition += (definition.empty() ? "" : ", ") + QuoteIdentifier(name) + (type.empty() ? "" : " " + type);
        if (columns.getColumn(4).getInt() > 0 && sqlite3_stricmp(type.c_str(), "INTEGER") == 0)
            definition += " PRIMARY KEY AUTOINCREMENT";
        if (columns.getColumn(2).getInt() != 0)
            definition += " NOT NULL";
        if (!columns.getColumn(3).isNull())
            definition += " DEFAULT " + columns.getColumn(3).getString();
    }
    return "CREATE TABLE " + QuoteIdentifier(table) + " (" + definition + ")";
}

// The tables of a database but SQLite's sequence table, less the given ones.
std::vector<std::string> TablesOf(SQLite::Database& database, const std::vector<std::string>& except = {})
{
    std::vector<std::string> tables;
    SQLite::Statement schema(database, "SELECT name FROM sqlite_master WHERE type = 'table' AND name <> 'sqlite_sequence'");
    while (schema.executeStep()) {
        std::string name = schema.getColumn(0).getString();
        if (std::find(except.begin(), except.end(), name) == except.end())
            tables.push_back(std::move(name));
    }
    return tables;
}

// Builds a writable connection with the add-on's own settings that holds the given tables of
// the given one, their rows and their next ids; the indexes come with the schema step.
std::unique_ptr<SQLite::Database> CopyIntoFresh(SQLite::Database& source, const std::vector<std::string>& tables)
{
    std::unique_ptr<SQLite::Database> target = OpenMemoryDatabase();
    SQLite::Transaction transaction(*target);
    for (const std::string& table : tables)
        target->exec(PlainCreateTable(source, table));
    for (const std::string& table : tables) {
        const std::vector<std::string> columns = ColumnNames(source, table);
        std::string names;
        std::string slots;
        for (const std::string& column : columns) {
            names += (names.empty() ? "" : ", ") + QuoteIdentifier(column);
            slots += slots.empty() ? "?" : ", ?";
        }
        // Straight from the table: an index of it may be the damaged part.
        SQLite::Statement rows(source, "SELECT " + names + " FROM " + QuoteIdentifier(table) + " NOT INDEXED");
        SQLite::Statement insert(*target, "INSERT INTO " + QuoteIdentifier(table) + " (" + names + ") VALUES (" + slots + ")");
        while (rows.executeStep()) {
            for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
                const SQLite::Column value = rows.getColumn(i);
                switch (value.getType()) {
                    case SQLITE_INTEGER: insert.bind(i + 1, static_cast<int64_t>(value.getInt64())); break;
                    case SQLITE_FLOAT: insert.bind(i + 1, value.getDouble()); break;
                    case SQLITE_TEXT: insert.bind(i + 1, value.getString()); break;
                    case SQLITE_BLOB: insert.bind(i + 1, value.getBlob(), value.getBytes()); break;
                    default: insert.bind(i + 1); break;
                }
            }
            insert.exec();
            insert.reset();
        }
    }
    if (TableExists(source, "sqlite_sequence") && TableExists(*target, "sqlite_sequence")) {
        target->exec("DELETE FROM sqlite_sequence");
        SQLite::Statement next(source, "SELECT name, seq FROM sqlite_sequence");
        SQLite::Statement insert(*target, "INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)");
        while (next.executeStep()) {
            if (std::find(tables.begin(), tables.end(), next.getColumn(0).getString()) == tables.end())
                continue;
            insert.bind(1, next.getColumn(0).getString());
            insert.bind(2, static_cast<int64_t>(next.getColumn(1).getInt64()));
            insert.exec();
            insert.reset();
        }
    }
    transaction.commit();
    return target;
}

// Throws when the database cannot be used; false when an index is not known to agree with its table.
bool CheckSchemaUsable(SQLite::Database& database)
{
    CheckOnlyOwnObjects(database);
    const bool indexesAgree = CheckTableUsable(database, CategoriesTable()) && CheckTableUsable(database, ItemsTable()) &&
                              CheckTableUsable(database, QtiesTable());
    if (TableExists(database, "sqlite_sequence")) {
        // So must the next id of a table whose highest rows were deleted.
        SQLite::Statement query(database, "SELECT COUNT(*) FROM sqlite_sequence WHERE seq >= 2147483647");
        if (QueryFirstInt(query) > 0)
            throw std::runtime_error("The next ids are beyond the 32-bit range.");
    }
    return indexesAgree;
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

    for (const OwnIndex& index : OwnIndexes)
        database.exec(std::string("CREATE INDEX IF NOT EXISTS ") + index.name + " ON " + index.table + " (" + index.column + ");");

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

ProjectDatabase::ProjectDatabase() = default;

ProjectDatabase::~ProjectDatabase()
{
    replaceConnection(nullptr);
}

void ProjectDatabase::replaceConnection(std::unique_ptr<SQLite::Database> next)
{
    std::unique_ptr<SQLite::Database> previous = std::move(connection);
    connection = std::move(next);
    retire(std::move(previous));
}

void ProjectDatabase::retire(std::unique_ptr<SQLite::Database> previous)
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

void ProjectDatabase::ensureOpen()
{
    if (openFlag)
        return;
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
    return static_cast<GS::Int32>(connection->getLastInsertRowid());
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
