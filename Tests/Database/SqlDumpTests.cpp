#include <clocale>
#include <tuple>

#include "DatabaseTestSupport.hpp"

namespace {

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

class SqlDump : public DatabaseTest {
protected:
    // Category 2 holds item 1, whose texts need care and are bound through the table layer, with
    // quantities 1 (linked), 2 and 3 (guid NULL); item 2, in category 1, holds NULLs, a negative
    // number and infinities. Gives the dump.
    std::string BuildEstimate()
    {
        Item item;
        item.setInt("category_id", AddCategory("Mauerwerk"));
        item.setString("descript", GS::UniString("Ziegel 'Poroton' \xE6\x9D\xB1\xE4\xBA\xAC", CC_UTF8));
        item.setString("unit", GS::UniString("m\xC2\xB3", CC_UTF8));
        item.setDouble("price", 185.25);
        EXPECT_TRUE(ItemsTable().save(item));
        AddQty(1, 12.5, "6E1B1A0C-6B5D-4B4C-9D53-0A8F7C1F2E3D");
        AddQty(1, 0.333333);
        AddQty(1, 2.0);
        Db().execSql("UPDATE categories SET code = '01', descript = 'O''Brien''s walls' WHERE id = 2;"
                     "UPDATE qties SET formula = '1/3', descript = 'Manual ''extra''' WHERE id = 2;"
                     "UPDATE qties SET guid = NULL WHERE id = 3;"
                     "INSERT INTO items (category_id, sort_order, price, qty, total) VALUES (1, -5, 9e999, 0, -9e999);");
        return Dump();
    }
};

// The rows go out as SQL whatever the locale. Importing the dump gives back every row, and the next
// ids; without the links only the quantities whose guid is empty or NULL stay, and the items keep
// the totals of the dump.
TEST_F(SqlDump, RowsGoOutAsSqlWhateverTheLocaleAndComeBackWithOrWithoutLinks)
{
    const std::string dump = BuildEstimate();
    for (const char* line : {
             "INSERT INTO categories (id, title, code, sort_order, descript, total) VALUES "
             "(2, 'Mauerwerk', '01', 2, 'O''Brien''s walls', 2747.260000);\n",
             "INSERT INTO items (id, category_id, sort_order, code, descript, unit, price, qty, total) VALUES "
             "(1, 2, 1, '', 'Ziegel ''Poroton'' \xE6\x9D\xB1\xE4\xBA\xAC', 'm\xC2\xB3', 185.250000, 14.830000, 2747.260000);\n"
             "INSERT INTO items (id, category_id, sort_order, code, descript, unit, price, qty, total) VALUES "
             "(2, 1, -5, NULL, NULL, NULL, 1e999, 0.000000, -1e999);\n",
             "INSERT INTO qties (id, item_id, guid, sort_order, descript, formula, value) VALUES "
             "(2, 1, '', 2, 'Manual ''extra''', '1/3', 0.333333);\n"})
        EXPECT_NE(dump.find(line), std::string::npos) << line << "\n" << dump;

    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "de_DE.UTF-8 must be generated on this machine";
    char probe[8];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    const std::string commaLocaleDump = Dump();
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_STREQ(probe, "1,5");
    EXPECT_EQ(commaLocaleDump, dump);

    // Settings the imported SQL makes on its connection do not outlive the import, nor do constraints
    // on the tables' columns: the live connection reads as a fresh one and takes the add-on's writes.
    auto settings = [this] {
        std::string values;
        for (const char* name : {"count_changes", "short_column_names", "full_column_names", "reverse_unordered_selects",
                                 "recursive_triggers", "foreign_keys", "user_version"})
            values += QueryText(std::string("PRAGMA ") + name) + " ";
        return values;
    };
    const std::string fresh = settings();
    Db().resetToEmpty();
    StoreNow();
    ASSERT_TRUE(Db().replaceWithSql(GS::UniString(Replaced(dump, "value REAL", "value REAL CHECK (value <> 1.0)") +
                                                      "PRAGMA count_changes = 1; PRAGMA short_column_names = 0; "
                                                      "PRAGMA full_column_names = 1; PRAGMA reverse_unordered_selects = 1; "
                                                      "PRAGMA recursive_triggers = 1; PRAGMA foreign_keys = 1; PRAGMA user_version = 7;",
                                                  CC_UTF8_Edge),
                                    true));
    EXPECT_TRUE(Db().isChanged());
    EXPECT_EQ(Dump(), dump);
    EXPECT_EQ(settings(), fresh);
    EXPECT_EQ(CategoriesTable().getAll()[1].getString("title"), GS::UniString("Mauerwerk"));
    EXPECT_EQ(AddCategory("Next"), 3);
    EXPECT_EQ(AddItem(1, 1.0), 3);
    EXPECT_EQ(AddQty(1, 1.0), 4);
    EXPECT_EQ(Get("items", "qty", 1), 15.83);
    ASSERT_TRUE(Db().replaceWithSql(GS::UniString(dump, CC_UTF8_Edge), false));
    EXPECT_EQ(QueryText("SELECT group_concat(id) FROM qties"), "2,3");
    EXPECT_EQ(QueryText("SELECT group_concat(qty || '/' || total) FROM items"), "14.83/2747.26,0.0/-Inf");
}

// The real sqlite3 shell, fed the dump file, rebuilds the rows that it reads from the stored image;
// so does the add-on's import. Texts that hold zero bytes go out as the shell's dump writes them.
TEST_F(SqlDump, TheSqliteShellRebuildsTheSameRows)
{
    BuildEstimate();
    AddQty(1, -7.125);
    AddQty(1, 1234567.891);
    TempDir dir;
    auto writeImage = [&] {
        Db().saveToProject();
        return dir.Write("image.db", *host->ModuleData("CalvoraDB"));
    };

    // The shell's own dump of the image carries the indexes; it imports as ours does.
    const std::string plain = Dump();
    const std::string shellDump = dir.Run("sqlite3 -batch " + writeImage() + " .dump");
    EXPECT_NE(shellDump.find("CREATE INDEX qties_item_id"), std::string::npos) << shellDump;
    ASSERT_TRUE(Db().replaceWithSql(GS::UniString(shellDump, CC_UTF8_Edge), true)) << debugOutput;
    EXPECT_EQ(Dump(), plain);

    Db().execSql("UPDATE qties SET descript = char(0) || 'lead' WHERE id = 1;"
                 "UPDATE qties SET descript = 'mid' || char(0) || 'dle''s' || char(0, 0) || 'end' || char(0) WHERE id = 2;"
                 "UPDATE items SET descript = char(0, 0) WHERE id = 2;");
    const std::string dump = Dump();
    for (const char* line : {"(1, 1, '6E1B1A0C-6B5D-4B4C-9D53-0A8F7C1F2E3D', 1, char(0)||'lead', ",
                             "(2, 1, '', 2, 'mid'||char(0)||'dle''s'||char(0)||char(0)||'end'||char(0), '1/3', ",
                             "(2, 1, -5, NULL, char(0)||char(0), NULL, "})
        EXPECT_NE(dump.find(line), std::string::npos) << line << "\n" << dump;
    std::ofstream(dir.File("dump.sql"), std::ios::binary) << dump;
    std::string select = " '.mode quote'";
    for (const char* table : {"categories", "items", "qties"})
        select += std::string(" 'SELECT *, hex(descript) FROM ") + table + " ORDER BY id'";
    const std::string rebuilt = dir.Run("sqlite3 -batch :memory: '.read " + dir.File("dump.sql") + "'" + select + " 2>&1");
    EXPECT_EQ(rebuilt, dir.Run("sqlite3 -batch " + writeImage() + select + " 2>&1"));
    EXPECT_NE(rebuilt.find("2,1,-5,NULL,'',NULL,Inf,0.0,-Inf,'0000'\n"), std::string::npos) << rebuilt;
    EXPECT_NE(rebuilt.find(",1234567.891"), std::string::npos) << rebuilt;
    EXPECT_NE(rebuilt.find(",'6D696400646C6527730000656E6400'\n"), std::string::npos) << rebuilt;
    ASSERT_TRUE(Db().replaceWithSql(GS::UniString(dump, CC_UTF8_Edge), true)) << debugOutput;
    EXPECT_EQ(Dump(), dump);
}

// SQL does not care how a column name is spelt: a dump written by another tool in capitals works
// like ours. Ids up to the last free one are accepted.
TEST_F(SqlDump, DumpsInCapitalsAndWithTheLastFreeIdImport)
{
    const std::string capitals = Replaced(Replaced(FreshDump, "title TEXT", "Title TEXT"), "sort_order INTEGER", "SORT_ORDER INTEGER");
    ASSERT_TRUE(Db().replaceWithSql(GS::UniString(capitals), true));
    EXPECT_EQ(CategoriesTable().getAll()[0].getString("title"), GS::UniString("Untitled Category"));
    AddQty(AddItem(1, 2.5), 2.0);
    EXPECT_EQ(ItemsTable().getByCategory(1)[0].getInt("sort_order"), 1);
    EXPECT_EQ(QtiesTable().findById(1).getInt("sort_order"), 1);
    EXPECT_EQ(Get("categories", "total", 1), 5.0);

    ASSERT_TRUE(Db().replaceWithSql(GS::UniString(Dump() + "INSERT INTO items (id, category_id) VALUES (2147483646, 1);"), true));
    EXPECT_EQ(AddItem(1, 1.0), 2147483647);
}

// A failed import leaves the estimate and its changed flag as they were, says why on the debug
// output, and writes no file. Each text is the dump with one change, then more SQL. No SQL run on
// the live connection reaches the file system either.
TEST_F(SqlDump, AFailedImportLeavesTheEstimateAsItWas)
{
    const std::string dump = BuildEstimate();
    std::vector<std::tuple<const char*, std::string, std::string, std::string>> cases = {  // why, from, to, added
        {"no such table: nowhere", "", "", "INSERT INTO nowhere VALUES (1);"},
        {"leaves a transaction open", "", "", "BEGIN TRANSACTION;"},
        {"creates no table categories", "categories", "other", ""},
        {"creates no table items", "items", "other", ""},
        {"creates no table qties", "qties", "other", ""},
        {"creates no table qties", "qties", "other", "CREATE VIEW qties AS SELECT 1 AS id;"},
        {"has no column sort_order", "categories", "other",
         "DROP TABLE other; CREATE TABLE categories (id INTEGER PRIMARY KEY, title TEXT); INSERT INTO categories VALUES (1, 'x');"},
        // New rows get their id from the row key.
        {"does not number its rows", "categories (id INTEGER PRIMARY KEY AUTOINCREMENT", "categories (id INTEGER", ""},
        {"index sqlite_autoindex_items_1", "items (id INTEGER PRIMARY KEY AUTOINCREMENT", "items (id INT PRIMARY KEY", ""},
        {"does not number its rows", "qties", "other",
         "DROP TABLE other; CREATE TABLE qties (id INTEGER PRIMARY KEY, item_id INTEGER, guid TEXT, sort_order INTEGER, descript TEXT, "
         "formula TEXT, value REAL) WITHOUT ROWID;"},
        {"generated column twice", "value REAL", "value REAL, twice REAL AS (value * 2)", ""},
        // What goes into a temporary table is never stored.
        {"leaves temporary tables", "", "", "CREATE TEMP TABLE items AS SELECT * FROM main.items;"},
        // Only the estimate's own tables and indexes come in: nothing that runs or answers in their place.
        {"trigger t", "", "", "CREATE TRIGGER t AFTER INSERT ON qties BEGIN DELETE FROM categories; END;"},
        {"view v", "", "", "CREATE VIEW v AS SELECT * FROM items;"},
        {"table odd name", "", "", "CREATE TABLE \"odd name\" (a TEXT);"},
        {"index other_index", "", "", "CREATE INDEX other_index ON items (code);"},
        {"index items_category_id", "", "", "CREATE INDEX items_category_id ON items (code);"},
        {"index qties_item_id", "", "", "CREATE INDEX qties_item_id ON qties (item_id) WHERE value > 0;"},
        {"index qties_item_id", "", "", "CREATE UNIQUE INDEX qties_item_id ON qties (item_id, id);"},
        // SQLite would stop at a zero byte and take what came before it for the whole text.
        {"zero byte", "INSERT INTO qties", std::string(1, '\0') + "INSERT INTO qties", ""},
        // A query that never ends is interrupted.
        {"ran longer", "", "", "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) SELECT count(*) FROM n;"},
        // Numbers are kept in 32 bits, and so must the next id be, with or without a sequence.
        {"beyond the 32-bit range", "categories (id INTEGER PRIMARY KEY AUTOINCREMENT", "categories (id INTEGER PRIMARY KEY",
         "INSERT INTO categories (id) VALUES (2147483647);"},
        // Nothing may reach the file system, or outlive the import on the connection or the process.
        {"too many attached databases", "", "", "ATTACH DATABASE 'DIR/a.db' AS other; CREATE TABLE other.t (x);"},
        {"too many attached databases", "", "", "VACUUM INTO 'DIR/c.db';"},
        {"not authorized", "", "", "SELECT load_extension('DIR/evil');"},
        {"may not be modified", "", "", "PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = 'x' WHERE name = 'qties';"},
        // fts3_tokenizer(name, pointer) hands out and plants raw function pointers.
        {"fts3tokenize disabled", "", "", "SELECT fts3_tokenizer('planted', fts3_tokenizer('simple'));"},
    };
    for (const char* added : {"INSERT INTO categories (id, title, sort_order) VALUES (2147483648, 'x', 3);",
                              "UPDATE items SET category_id = 4294967297;", "UPDATE qties SET sort_order = -2147483649;",
                              "UPDATE sqlite_sequence SET seq = 2147483647 WHERE name = 'items';"})
        cases.emplace_back("beyond the 32-bit range", "", "", added);
    for (const char* pragma : {"temp_store = FILE", "temp_store_directory = 'DIR'", "query_only = 1", "max_page_count = 1",
                               "trusted_schema = ON", "hard_heap_limit = 2000000000", "soft_heap_limit = 2000000000"})
        cases.emplace_back("not authorized", "", "", std::string("PRAGMA ") + pragma + ";");
    TempDir dir;
    const double previousLimit = Db().setImportTimeLimit(0.5);
    for (const auto& [why, from, to, added] : cases) {
        const std::string text = (from.empty() ? dump : Replaced(dump, from, to)) + Replaced(added, "DIR", dir.path);
        for (bool changedBefore : {false, true}) {
            if (changedBefore)
                Db().execSql("UPDATE categories SET title = title");
            else
                StoreNow();
            debugOutput.clear();
            EXPECT_FALSE(Db().replaceWithSql(GS::UniString(text, CC_UTF8_Edge), true)) << from << added;
            EXPECT_EQ(Db().isChanged(), changedBefore) << from << added;
            EXPECT_EQ(Dump(), dump) << from << added;
            EXPECT_TRUE(debugOutput.rfind("SQL import failed: ", 0) == 0 && debugOutput.find(why) != std::string::npos) << debugOutput;
        }
        EXPECT_EQ(dir.Count(), 0) << added;
    }
    Db().setImportTimeLimit(previousLimit);
    EXPECT_GT(AddQty(1, 1.0), 0);  // the database goes on working

    // The live connection is as closed as an import's; its temporary tables and sorts stay in memory.
    for (const char* sql : {"ATTACH 'DIR/live.db' AS other", "VACUUM INTO 'DIR/copy.db'", "PRAGMA temp_store = 1",
                            "SELECT load_extension('DIR/evil')", "SELECT fts3_tokenizer('planted', fts3_tokenizer('simple'))"})
        EXPECT_THROW(Db().execSql(GS::UniString(Replaced(sql, "DIR", dir.path))), SQLite::Exception) << sql;
    EXPECT_EQ(Query("PRAGMA temp_store"), 2);
    EXPECT_EQ(dir.Count(), 0);
}

}  // namespace
