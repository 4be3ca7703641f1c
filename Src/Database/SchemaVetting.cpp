// Makes the tables' schema, and vets and copies stored images and imports before they become the estimate.
#include "Database/SchemaVetting.hpp"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>
#include <stdexcept>

#include <SQLiteCpp/SQLiteCpp.h>

#include "Database/CategoriesTable.hpp"
#include "Database/DatabaseConnection.hpp"
#include "Database/ItemsTable.hpp"
#include "Database/QtiesTable.hpp"
#include "Database/SqlText.hpp"

namespace {

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

}  // namespace

bool TableExists(SQLite::Database& database, const char* name)
{
    SQLite::Statement query(database, "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = ?");
    query.bind(1, name);
    return QueryFirstInt(query) > 0;
}

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

void CheckOnlyOwnObjects(SQLite::Database& database, std::vector<std::string>* extraTables)
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

std::vector<std::string> TablesOf(SQLite::Database& database, const std::vector<std::string>& except)
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

void CheckImageSound(SQLite::Database& database)
{
    SQLite::Statement check(database, "PRAGMA quick_check;");
    if (!check.executeStep())
        throw std::runtime_error("The integrity check gave no answer.");
    const std::string answer = check.getColumn(0).getString();
    if (answer != "ok")
        throw std::runtime_error(answer);
}
