#include <sqlite3.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "DatabaseTestSupport.hpp"

namespace {

namespace fs = std::filesystem;

const char* const FreshDump =
    "-- Database schema and data dump\n\n"
    "CREATE TABLE categories (id INTEGER PRIMARY KEY AUTOINCREMENT, title TEXT, code TEXT, sort_order INTEGER, "
    "descript TEXT, total REAL);\n\n"
    "CREATE TABLE items (id INTEGER PRIMARY KEY AUTOINCREMENT, category_id INTEGER, sort_order INTEGER, code TEXT, "
    "descript TEXT, unit TEXT, price REAL, qty REAL, total REAL);\n\n"
    "CREATE TABLE qties (id INTEGER PRIMARY KEY AUTOINCREMENT, item_id INTEGER, guid TEXT, sort_order INTEGER, "
    "descript TEXT, formula TEXT, value REAL);\n\n"
    "INSERT INTO categories (id, title, code, sort_order, descript, total) VALUES (1, 'Untitled Category', '', 1, '', "
    "0.000000);\n"
    "\n"
    "\n"
    "\n";

const char* const LinkedGuid = "6E1B1A0C-6B5D-4B4C-9D53-0A8F7C1F2E3D";

// A directory of its own for files a case writes (or must not write).
class TempDir {
public:
    TempDir()
    {
        char pattern[] = "/tmp/calvora-db-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempDir() { fs::remove_all(path); }
    std::string File(const std::string& name) const { return (fs::path(path) / name).string(); }
    std::size_t Count() const { return static_cast<std::size_t>(std::distance(fs::directory_iterator(path), fs::directory_iterator())); }

private:
    std::string path;
};

std::string RunShell(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return output;
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    pclose(pipe);
    return output;
}

class SqlDump : public DatabaseTest {
protected:
    std::string Dump()
    {
        GS::UniString text;
        Db().dumpSql(text);
        return text.ToUtf8();
    }

    // A small estimate with texts that need care: apostrophes, non-ASCII, linked and unlinked quantities.
    void BuildEstimate()
    {
        Category category;
        category.setString("title", GS::UniString("Mauerwerk \xC3\xA4\xC3\xB6\xC3\xBC \xE2\x82\xAC", CC_UTF8));
        category.setString("code", "01");
        category.setString("descript", "O'Brien's walls");
        ASSERT_TRUE(CategoriesTable().save(category));
        categoryId = category.getInt("id");

        Item item;
        item.setInt("category_id", categoryId);
        item.setString("code", "01.001");
        item.setString("descript", GS::UniString("Ziegel 'Poroton' \xE6\x9D\xB1\xE4\xBA\xAC", CC_UTF8));
        item.setString("unit", GS::UniString("m\xC2\xB3", CC_UTF8));
        item.setDouble("price", 185.25);
        ASSERT_TRUE(ItemsTable().save(item));
        itemId = item.getInt("id");

        linkedQtyId = AddQty(itemId, 12.5, LinkedGuid);
        unlinkedQtyId = AddQty(itemId, 0.333333);
        Qty formula = QtiesTable().findById(unlinkedQtyId);
        formula.setString("formula", "1/3");
        formula.setString("descript", "Manual 'extra'");
        ASSERT_TRUE(QtiesTable().save(formula));
    }

    GS::Int32 categoryId = 0;
    GS::Int32 itemId = 0;
    GS::Int32 linkedQtyId = 0;
    GS::Int32 unlinkedQtyId = 0;
};

TEST_F(SqlDump, FreshDatabaseDumpsExactly)
{
    EXPECT_EQ(Dump(), FreshDump);
}

TEST_F(SqlDump, RowsAndTextsAreWrittenAsSql)
{
    BuildEstimate();
    const std::string dump = Dump();
    EXPECT_NE(dump.find("INSERT INTO categories (id, title, code, sort_order, descript, total) VALUES (2, "
                        "'Mauerwerk \xC3\xA4\xC3\xB6\xC3\xBC \xE2\x82\xAC', '01', 2, 'O''Brien''s walls', 2376.760000);\n"),
              std::string::npos)
        << dump;
    EXPECT_NE(dump.find("INSERT INTO items (id, category_id, sort_order, code, descript, unit, price, qty, total) VALUES "
                        "(1, 2, 1, '01.001', 'Ziegel ''Poroton'' \xE6\x9D\xB1\xE4\xBA\xAC', 'm\xC2\xB3', 185.250000, "
                        "12.830000, 2376.760000);\n"),
              std::string::npos)
        << dump;
    EXPECT_NE(dump.find("INSERT INTO qties (id, item_id, guid, sort_order, descript, formula, value) VALUES "
                        "(2, 1, '', 2, 'Manual ''extra''', '1/3', 0.333333);\n"),
              std::string::npos)
        << dump;
}

TEST_F(SqlDump, NullsAndLargeIntegers)
{
    Db().execSql("UPDATE categories SET code = NULL, sort_order = -5 WHERE id = 1");
    EXPECT_NE(Dump().find("VALUES (1, 'Untitled Category', NULL, -5, '', 0.000000);"), std::string::npos);
}

TEST_F(SqlDump, ImportOfTheDumpGivesBackEveryRow)
{
    BuildEstimate();
    const std::string dump = Dump();
    Db().resetToEmpty();
    StoreNow();
    ASSERT_TRUE(Db().replaceWithSql(GS::UniString(dump, CC_UTF8_Edge), true));
    EXPECT_TRUE(Db().isChanged());
    EXPECT_EQ(Dump(), dump);

    Category category = CategoriesTable().findById(categoryId);
    EXPECT_EQ(category.getString("descript"), GS::UniString("O'Brien's walls"));
    EXPECT_EQ(category.getString("title"), GS::UniString("Mauerwerk \xC3\xA4\xC3\xB6\xC3\xBC \xE2\x82\xAC", CC_UTF8));
    EXPECT_EQ(QtiesTable().findById(linkedQtyId).getString("guid"), GS::UniString(LinkedGuid));
    EXPECT_EQ(QtiesTable().findById(unlinkedQtyId).getDouble("value"), 0.333333);

    // The next row of each table follows the highest imported id.
    EXPECT_EQ(AddCategory("Next"), categoryId + 1);
    EXPECT_EQ(AddItem(categoryId, 1.0), itemId + 1);
    EXPECT_EQ(AddQty(itemId, 1.0), unlinkedQtyId + 1);
}

TEST_F(SqlDump, ImportWithoutLinksKeepsOnlyUnlinkedQuantitiesAndTheItemTotals)
{
    BuildEstimate();
    const GS::Int32 nullGuidQty = AddQty(itemId, 2.0);
    Db().execSql(GS::UniString("UPDATE qties SET guid = NULL WHERE id = ") + GS::UniString(std::to_string(nullGuidQty)));
    const double qtyBefore = ItemsTable().findById(itemId).getDouble("qty");
    const double totalBefore = ItemsTable().findById(itemId).getDouble("total");
    const std::string dump = Dump();

    ASSERT_TRUE(Db().replaceWithSql(GS::UniString(dump, CC_UTF8_Edge), false));
    auto qties = QtiesTable().findAll();
    EXPECT_EQ(qties.GetSize(), 2u);
    EXPECT_FALSE(qties.ContainsKey(linkedQtyId));
    EXPECT_TRUE(qties.ContainsKey(unlinkedQtyId));
    EXPECT_TRUE(qties.ContainsKey(nullGuidQty));
    EXPECT_EQ(ItemsTable().findById(itemId).getDouble("qty"), qtyBefore);
    EXPECT_EQ(ItemsTable().findById(itemId).getDouble("total"), totalBefore);
}

// The real sqlite3 shell rebuilds the same rows from the dump file.
TEST_F(SqlDump, TheSqliteShellRebuildsTheSameRows)
{
    BuildEstimate();
    AddQty(itemId, -7.125);
    AddQty(itemId, 1234567.891);
    TempDir dir;
    const std::string path = dir.File("estimate.sql");
    {
        std::ofstream file(path, std::ios::binary);
        file << Dump();
    }

    for (const char* table : {"categories", "items", "qties"}) {
        const std::string output =
            RunShell("sqlite3 -batch -json :memory: '.read " + path + "' 'SELECT * FROM " + table + " ORDER BY id' 2>&1");
        const nlohmann::json rows = nlohmann::json::parse(output, nullptr, false);
        ASSERT_TRUE(rows.is_array()) << table << ": " << output;

        SQLite::Statement ours = Db().prepare(GS::UniString(std::string("SELECT * FROM ") + table + " ORDER BY id"));
        std::size_t index = 0;
        while (ours.executeStep()) {
            ASSERT_LT(index, rows.size()) << table;
            const nlohmann::json& row = rows[index++];
            for (int column = 0; column < ours.getColumnCount(); ++column) {
                SQLite::Column value = ours.getColumn(column);
                const nlohmann::json& theirs = row.at(value.getName());
                switch (value.getType()) {
                    case SQLITE_INTEGER:
                        EXPECT_EQ(theirs.get<long long>(), value.getInt64()) << table << "." << value.getName();
                        break;
                    case SQLITE_FLOAT:
                        EXPECT_NEAR(theirs.get<double>(), std::round(value.getDouble() * 1e6) / 1e6, 1e-9)
                            << table << "." << value.getName();
                        break;
                    case SQLITE_NULL:
                        EXPECT_TRUE(theirs.is_null()) << table << "." << value.getName();
                        break;
                    default:
                        EXPECT_EQ(theirs.get<std::string>(), value.getString()) << table << "." << value.getName();
                        break;
                }
            }
        }
        EXPECT_EQ(index, rows.size()) << table;
    }
}

TEST_F(SqlDump, DumpsDoNotDependOnTheLocale)
{
    BuildEstimate();
    const std::string pointDump = Dump();
    ScopedLocale german("de_DE.UTF-8");
    ASSERT_TRUE(german.Active()) << "de_DE.UTF-8 must be generated on this machine";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5");
    const std::string commaLocaleDump = Dump();
    EXPECT_EQ(commaLocaleDump, pointDump);
    EXPECT_NE(commaLocaleDump.find("185.250000"), std::string::npos);
    ASSERT_TRUE(Db().replaceWithSql(GS::UniString(commaLocaleDump, CC_UTF8_Edge), true));
    EXPECT_EQ(ItemsTable().findById(itemId).getDouble("price"), 185.25);
}

TEST_F(SqlDump, InfiniteValuesComeBackAsInfinite)
{
    const GS::Int32 item = AddItem(1, 1.0);
    Db().execSql(GS::UniString("UPDATE items SET price = 9e999, total = -9e999 WHERE id = ") + GS::UniString(std::to_string(item)));
    const std::string dump = Dump();
    EXPECT_NE(dump.find(", 1e999, 0.000000, -1e999);"), std::string::npos) << dump;
    ASSERT_TRUE(Db().replaceWithSql(GS::UniString(dump, CC_UTF8_Edge), true));
    Item stored = ItemsTable().findById(item);
    EXPECT_TRUE(std::isinf(stored.getDouble("price")) && stored.getDouble("price") > 0);
    EXPECT_TRUE(std::isinf(stored.getDouble("total")) && stored.getDouble("total") < 0);

    TempDir dir;
    const std::string path = dir.File("inf.sql");
    {
        std::ofstream file(path, std::ios::binary);
        file << dump;
    }
    EXPECT_EQ(RunShell("sqlite3 -batch :memory: '.read " + path + "' 'SELECT price > 1e308, total < -1e308 FROM items' 2>&1"),
              "1|1\n");
}

TEST_F(SqlDump, AnOldDumpWithoutCodeOpensAsAStoredOldDatabase)
{
    const char* oldDump =
        "-- Database schema and data dump\n\n"
        "CREATE TABLE categories (id INTEGER PRIMARY KEY AUTOINCREMENT, title TEXT, sort_order INTEGER, descript TEXT, total REAL);\n\n"
        "CREATE TABLE items (id INTEGER PRIMARY KEY AUTOINCREMENT, category_id INTEGER, sort_order INTEGER, code TEXT, descript TEXT, unit TEXT, price REAL, qty REAL, total REAL);\n\n"
        "CREATE TABLE qties (id INTEGER PRIMARY KEY AUTOINCREMENT, item_id INTEGER, guid TEXT, sort_order INTEGER, descript TEXT, formula TEXT, value REAL);\n\n"
        "INSERT INTO categories (id, title, sort_order, descript, total) VALUES (5, 'Old', 1, '', 4.000000);\n\n"
        "INSERT INTO items (id, category_id, sort_order, code, descript, unit, price, qty, total) VALUES (8, 5, 1, 'A', '', 'm', 2.000000, 2.000000, 4.000000);\n\n\n";
    ASSERT_TRUE(Db().replaceWithSql(oldDump, true));
    Category old = CategoriesTable().findById(5);
    EXPECT_EQ(old.getString("code"), GS::UniString(""));
    EXPECT_EQ(old.getDouble("total"), 4.0);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM categories"), 1);
    EXPECT_NE(Dump().find("INSERT INTO categories (id, title, sort_order, descript, total, code) VALUES (5, 'Old', 1, '', 4.000000, '');"),
              std::string::npos);
}

// SQL does not care how a column name is spelt; a dump written by another tool in capitals
// must work like ours.
TEST_F(SqlDump, ColumnNamesInCapitalsAreReadLikeOurs)
{
    const char* capitals =
        "CREATE TABLE categories (ID INTEGER PRIMARY KEY AUTOINCREMENT, Title TEXT, CODE TEXT, Sort_Order INTEGER, DESCRIPT TEXT, TOTAL REAL);\n"
        "CREATE TABLE items (ID INTEGER PRIMARY KEY AUTOINCREMENT, CATEGORY_ID INTEGER, SORT_ORDER INTEGER, CODE TEXT, DESCRIPT TEXT, UNIT TEXT, PRICE REAL, QTY REAL, TOTAL REAL);\n"
        "CREATE TABLE qties (ID INTEGER PRIMARY KEY AUTOINCREMENT, ITEM_ID INTEGER, GUID TEXT, SORT_ORDER INTEGER, DESCRIPT TEXT, FORMULA TEXT, VALUE REAL);\n"
        "INSERT INTO categories VALUES (3, 'Walls', 'W', 1, 'd', 10.0);\n"
        "INSERT INTO items VALUES (4, 3, 1, 'W.1', 'Brick', 'm2', 2.5, 4.0, 10.0);\n"
        "INSERT INTO qties VALUES (5, 4, '', 1, 'North', '4', 4.0);\n";
    ASSERT_TRUE(Db().replaceWithSql(capitals, true));

    GS::Array<Category> categories = CategoriesTable().getAll();
    ASSERT_EQ(categories.GetSize(), 1u);
    EXPECT_EQ(categories[0].getInt("id"), 3);
    EXPECT_EQ(categories[0].getString("title"), GS::UniString("Walls"));
    EXPECT_EQ(categories[0].getInt("sort_order"), 1);
    Item item = ItemsTable().findById(4);
    EXPECT_EQ(item.getString("unit"), GS::UniString("m2"));
    EXPECT_EQ(item.getDouble("price"), 2.5);
    EXPECT_EQ(QtiesTable().findById(5).getString("descript"), GS::UniString("North"));

    AddQty(4, 2.0);
    EXPECT_DOUBLE_EQ(CategoriesTable().findById(3).getDouble("total"), 15.0);
}

TEST_F(SqlDump, ADumpWithoutCategoriesGetsTheDefaultCategory)
{
    const std::string dump = std::string(FreshDump).replace(
        std::string(FreshDump).find("INSERT INTO categories"),
        std::string("INSERT INTO categories (id, title, code, sort_order, descript, total) VALUES (1, 'Untitled Category', '', 1, '', 0.000000);\n").size(),
        "");
    ASSERT_TRUE(Db().replaceWithSql(GS::UniString(dump), true));
    GS::Array<Category> categories = CategoriesTable().getAll();
    ASSERT_EQ(categories.GetSize(), 1u);
    EXPECT_EQ(categories[0].getString("title"), GS::UniString("Untitled Category"));
}

struct FailedImportCase {
    const char* name;
    std::function<std::string(const std::string& dump)> text;
};

class FailedImport : public SqlDump, public ::testing::WithParamInterface<FailedImportCase> {};

// A failed import leaves the estimate and its changed flag exactly as they were.
TEST_P(FailedImport, LeavesTheEstimateAsItWas)
{
    BuildEstimate();
    const std::string dump = Dump();
    for (bool changedBefore : {false, true}) {
        if (changedBefore)
            Db().execSql("UPDATE categories SET title = title");
        else
            StoreNow();
        const std::string before = Dump();
        debugOutput.clear();
        EXPECT_FALSE(Db().replaceWithSql(GS::UniString(GetParam().text(dump), CC_UTF8_Edge), true));
        EXPECT_EQ(Db().isChanged(), changedBefore);
        EXPECT_EQ(Dump(), before);
        EXPECT_NE(debugOutput.find("SQL import failed: "), std::string::npos) << debugOutput;
    }
    // The database goes on working.
    EXPECT_GT(AddQty(itemId, 1.0), 0);
}

std::string WithoutTable(const std::string& dump, const std::string& table)
{
    std::istringstream lines(dump);
    std::string line;
    std::string kept;
    while (std::getline(lines, line))
        if (line.find("TABLE " + table + " ") == std::string::npos && line.find("INTO " + table + " ") == std::string::npos)
            kept += line + "\n";
    return kept;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FailedImport,
    ::testing::Values(
        FailedImportCase{"EmptyFile", [](const std::string&) { return std::string(); }},
        FailedImportCase{"OnlyAComment", [](const std::string&) { return std::string("-- nothing here\n"); }},
        FailedImportCase{"SyntaxErrorHalfWay", [](const std::string& dump) { return dump.substr(0, dump.size() * 3 / 4); }},
        FailedImportCase{"FailingStatementAtTheEnd", [](const std::string& dump) { return dump + "INSERT INTO nowhere VALUES (1);\n"; }},
        FailedImportCase{"OpenTransaction", [](const std::string& dump) { return "BEGIN TRANSACTION;\n" + dump; }},
        FailedImportCase{"NoCategories", [](const std::string& dump) { return WithoutTable(dump, "categories"); }},
        FailedImportCase{"NoItems", [](const std::string& dump) { return WithoutTable(dump, "items"); }},
        FailedImportCase{"NoQuantities", [](const std::string& dump) { return WithoutTable(dump, "qties"); }},
        FailedImportCase{"ViewInsteadOfTable", [](const std::string& dump) {
                             return WithoutTable(dump, "qties") + "CREATE VIEW qties AS SELECT 1 AS id;\n";
                         }},
        FailedImportCase{"CategoriesWithoutTitle", [](const std::string& dump) {
                             return WithoutTable(dump, "categories") + "CREATE TABLE categories (id INTEGER PRIMARY KEY, name TEXT);\n";
                         }},
        FailedImportCase{"ItemsWithoutPrice", [](const std::string& dump) {
                             return WithoutTable(dump, "items") +
                                    "CREATE TABLE items (id INTEGER PRIMARY KEY AUTOINCREMENT, category_id INTEGER, sort_order INTEGER);\n";
                         }},
        // Settings that would outlive the import on the estimate's connection, or on the whole process.
        FailedImportCase{"LeavesTheConnectionReadOnly", [](const std::string& dump) { return dump + "PRAGMA query_only = 1;\n"; }},
        FailedImportCase{"CapsTheDatabaseSize", [](const std::string& dump) { return dump + "PRAGMA max_page_count = 1;\n"; }},
        FailedImportCase{"TrustsTheSchema", [](const std::string& dump) { return dump + "PRAGMA trusted_schema = ON;\n"; }},
        FailedImportCase{"LimitsSqlitesHeap", [](const std::string& dump) { return dump + "PRAGMA hard_heap_limit = 2000000000;\n"; }},
        FailedImportCase{"LimitsSqlitesSoftHeap", [](const std::string& dump) { return dump + "PRAGMA soft_heap_limit = 2000000000;\n"; }},
        // New rows get their id from the row key.
        FailedImportCase{"IdIsNotTheRowKey", [](const std::string& dump) {
                             return WithoutTable(dump, "categories") +
                                    "CREATE TABLE categories (id INTEGER, title TEXT, code TEXT, sort_order INTEGER, descript TEXT, total REAL);\n";
                         }},
        FailedImportCase{"IdIsAnIntPrimaryKey", [](const std::string& dump) {
                             return WithoutTable(dump, "items") +
                                    "CREATE TABLE items (id INT PRIMARY KEY, category_id INTEGER, sort_order INTEGER, code TEXT, descript TEXT, "
                                    "unit TEXT, price REAL, qty REAL, total REAL);\n";
                         }},
        FailedImportCase{"TableWithoutRowid", [](const std::string& dump) {
                             return WithoutTable(dump, "qties") +
                                    "CREATE TABLE qties (id INTEGER PRIMARY KEY, item_id INTEGER, guid TEXT, sort_order INTEGER, descript TEXT, "
                                    "formula TEXT, value REAL) WITHOUT ROWID;\n";
                         }},
        // What goes into a temporary table is never stored.
        FailedImportCase{"TemporaryTableHidesTheStoredOne", [](const std::string& dump) {
                             return dump + "CREATE TEMP TABLE items AS SELECT * FROM main.items;\n";
                         }},
        // Ids are kept in 32 bits: anything beyond is refused, as is an id that leaves no room for the next one.
        FailedImportCase{"IdBeyond32Bits", [](const std::string& dump) {
                             return dump + "INSERT INTO categories (id, title, code, sort_order, descript, total) VALUES (2147483648, 'x', '', 3, '', 0);\n";
                         }},
        FailedImportCase{"NegativeIdBeyond32Bits", [](const std::string& dump) {
                             return dump + "INSERT INTO qties (id, item_id, guid, sort_order, descript, formula, value) VALUES (-2147483649, 1, '', 3, '', '', 0);\n";
                         }},
        FailedImportCase{"ParentIdBeyond32Bits", [](const std::string& dump) {
                             return dump + "INSERT INTO items (id, category_id, sort_order, code, descript, unit, price, qty, total) VALUES (50, 4294967297, 1, '', '', '', 0, 0, 0);\n";
                         }},
        FailedImportCase{"SortOrderBeyond32Bits", [](const std::string& dump) {
                             return dump + "UPDATE qties SET sort_order = 3000000000;\n";
                         }},
        FailedImportCase{"NoRoomForTheNextId", [](const std::string& dump) {
                             return dump + "INSERT INTO items (id, category_id, sort_order, code, descript, unit, price, qty, total) VALUES (2147483647, 2, 2, '', '', '', 0, 0, 0);\n";
                         }},
        FailedImportCase{"NoRoomForTheNextIdWithoutSequence", [](const std::string& dump) {
                             return WithoutTable(dump, "categories") +
                                    "CREATE TABLE categories (id INTEGER PRIMARY KEY, title TEXT, code TEXT, sort_order INTEGER, descript TEXT, total REAL);\n"
                                    "INSERT INTO categories VALUES (2147483647, 'Last', '', 1, '', 0);\n";
                         }}),
    [](const ::testing::TestParamInfo<FailedImportCase>& info) { return std::string(info.param.name); });

TEST_F(SqlDump, IdsUpToTheLastFreeOneAreAccepted)
{
    const std::string dump = Dump() +
        "INSERT INTO items (id, category_id, sort_order, code, descript, unit, price, qty, total) VALUES (2147483646, 1, 1, '', '', '', 0, 0, 0);\n";
    ASSERT_TRUE(Db().replaceWithSql(GS::UniString(dump), true));
    EXPECT_EQ(AddItem(1, 1.0), 2147483647);
}

// Imported SQL must not reach the file system, neither in an import nor on the live connection.
TEST_F(SqlDump, ImportedSqlCannotReachTheFileSystem)
{
    BuildEstimate();
    const std::string dump = Dump();
    TempDir dir;
    struct Case {
        const char* name;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"attach", dump + "ATTACH DATABASE '" + dir.File("attached.db") + "' AS other;\nCREATE TABLE other.t (x);\n"},
        {"attach first", "ATTACH '" + dir.File("first.db") + "' AS other;\n" + dump},
        {"vacuum into", dump + "VACUUM INTO '" + dir.File("copy.db") + "';\n"},
        {"extension", dump + "SELECT load_extension('" + dir.File("evil") + "');\n"},
        {"writable schema", dump + "PRAGMA writable_schema = ON;\nUPDATE sqlite_master SET sql = 'x' WHERE name = 'qties';\n"},
    };
    StoreNow();
    const std::string before = Dump();
    for (const Case& c : cases) {
        EXPECT_FALSE(Db().replaceWithSql(GS::UniString(c.text, CC_UTF8_Edge), true)) << c.name;
        EXPECT_EQ(dir.Count(), 0u) << c.name;
        EXPECT_EQ(Dump(), before) << c.name;
        EXPECT_FALSE(Db().isChanged()) << c.name;
    }

    EXPECT_THROW(Db().execSql(GS::UniString("ATTACH '" + dir.File("live.db") + "' AS other")), SQLite::Exception);
    EXPECT_THROW(Db().execSql(GS::UniString("VACUUM INTO '" + dir.File("live-copy.db") + "'")), SQLite::Exception);
    EXPECT_EQ(dir.Count(), 0u);
}

// Temporary tables and big sorts would spill into files of SQLite's temporary directory; they
// stay in memory, and the SQL cannot switch that back.
TEST_F(SqlDump, ImportedSqlWritesNoTemporaryFiles)
{
    TempDir dir;
    char* previousDirectory = sqlite3_temp_directory;
    sqlite3_temp_directory = sqlite3_mprintf("%s", dir.File("").c_str());
    const int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, dir.File("").c_str(), IN_CREATE), 0);

    const std::string spill =
        "CREATE TEMP TABLE spill AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40000) "
        "SELECT randomblob(200) AS b FROM n;\nSELECT b FROM spill ORDER BY b;\n";
    const std::string dump = Dump();
    Db().replaceWithSql(GS::UniString(dump + spill, CC_UTF8_Edge), true);
    EXPECT_FALSE(Db().replaceWithSql(GS::UniString(dump + "PRAGMA temp_store = FILE;\n" + spill, CC_UTF8_Edge), true));
    EXPECT_FALSE(Db().replaceWithSql(GS::UniString("PRAGMA temp_store_directory = '/tmp';\n" + dump, CC_UTF8_Edge), true));
    EXPECT_THROW(Db().execSql("PRAGMA temp_store = 1"), SQLite::Exception);
    EXPECT_EQ(QueryInt("PRAGMA temp_store"), 2);

    char events[4096];
    EXPECT_LE(read(watch, events, sizeof events), 0) << "a temporary file was created";
    close(watch);
    sqlite3_free(sqlite3_temp_directory);
    sqlite3_temp_directory = previousDirectory;
}

// The two-argument fts3_tokenizer() reads and plants raw function pointers; a dump that uses it
// could crash the host, so it is refused like any other failing statement.
TEST_F(SqlDump, ImportedSqlCannotHandSqliteAPointer)
{
    const std::string dump = Dump();
    const std::vector<std::string> texts = {
        dump + "SELECT fts3_tokenizer('planted', fts3_tokenizer('simple'));\n",
        dump + "SELECT fts3_tokenizer('simple', x'0100000000000000');\n",
    };
    StoreNow();
    for (const std::string& text : texts) {
        EXPECT_FALSE(Db().replaceWithSql(GS::UniString(text, CC_UTF8_Edge), true)) << text.substr(dump.size());
        EXPECT_FALSE(Db().isChanged());
    }
    EXPECT_THROW(Db().execSql("SELECT fts3_tokenizer('planted', fts3_tokenizer('simple'))"), SQLite::Exception);
}

TEST_F(SqlDump, ImportedExtraTablesAreDumpedReadably)
{
    const std::string dump = Dump() + "CREATE TABLE \"odd name\" (\"a b\" TEXT, \"order\" INTEGER);\nINSERT INTO \"odd name\" VALUES ('x', 1);\n";
    ASSERT_TRUE(Db().replaceWithSql(GS::UniString(dump), true));
    const std::string again = Dump();
    EXPECT_NE(again.find("INSERT INTO \"odd name\" (\"a b\", \"order\") VALUES ('x', 1);"), std::string::npos) << again;
    ASSERT_TRUE(Db().replaceWithSql(GS::UniString(again), true));
    EXPECT_EQ(Dump(), again);
}

}  // namespace
