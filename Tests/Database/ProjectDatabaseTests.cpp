#include <sqlite3.h>

#include <algorithm>
#include <tuple>

#include "DatabaseTestSupport.hpp"

namespace {

// The bytes of a database file built by the given SQL, on top of the given image.
std::vector<unsigned char> ImageOf(const std::string& sql, const std::vector<unsigned char>& start = {})
{
    TempDir dir;
    SQLite::Database(dir.Write("image.db", start), SQLite::OPEN_READWRITE).exec(sql);
    const std::string bytes = dir.Read("image.db");
    return {bytes.begin(), bytes.end()};
}

// The image with the first and the last leaf page of an index swapped: every page is still sound,
// and SQLite's quick check passes, but the index no longer leads to the rows.
std::vector<unsigned char> WithIndexLeavesSwapped(std::vector<unsigned char> image, const char* index)
{
    TempDir dir;
    SQLite::Database file(dir.Write("image.db", image));
    SQLite::Statement leaves(file, "SELECT pageno FROM dbstat WHERE name = ? AND pagetype = 'leaf' ORDER BY path");
    leaves.bind(1, index);
    std::vector<std::size_t> pages;
    while (leaves.executeStep())
        pages.push_back(static_cast<std::size_t>(leaves.getColumn(0).getInt()));
    EXPECT_GE(pages.size(), 2u) << index;
    if (pages.size() >= 2) {
        const std::size_t size = static_cast<std::size_t>(image[16] << 8 | image[17]);
        std::swap_ranges(image.begin() + (pages.front() - 1) * size, image.begin() + pages.front() * size,
                         image.begin() + (pages.back() - 1) * size);
    }
    EXPECT_EQ(SQLite::Database(dir.Write("swapped.db", image)).execAndGet("PRAGMA quick_check").getString(), "ok") << index;
    return image;
}

// The indexes with their one column each, and what the estimate's own are.
const char* const Indexes = "SELECT group_concat(m.name || ' ON ' || m.tbl_name || '(' || i.name || ')', ', ') FROM "
                            "sqlite_master AS m, pragma_index_info(m.name) AS i WHERE m.type = 'index' ORDER BY m.name";
const char* const OwnIndexes = "items_category_id ON items(category_id), qties_item_id ON qties(item_id)";

class DatabaseLifeCycle : public DatabaseTest {};

// The first use of a project without stored data makes the schema and leaves the flag clear,
// so nothing is stored; so do later runs of the schema step, which bring the default category
// back when every category is gone. clearAll empties the estimate and marks it changed; New
// stores it and starts afresh, while a statement held across it still reads the connection it
// was made on; Open drops what was not stored.
TEST_F(DatabaseLifeCycle, TheChangedFlagAndTheSchemaStep)
{
    EXPECT_TRUE(Db().isOpen());
    EXPECT_EQ(Dump(), FreshDump);
    EXPECT_EQ(QueryText(Indexes), OwnIndexes);
    Db().saveToProject();
    EXPECT_FALSE(host->ModuleData("CalvoraDB").has_value());

    SQLite::Statement none = Db().prepare("UPDATE categories SET title = 'x' WHERE id = 999");
    EXPECT_EQ(Db().execute(none), 0);
    EXPECT_THROW(Db().execSql("UPDATE nowhere SET x = 1"), SQLite::Exception);
    EXPECT_FALSE(Db().isChanged());
    Db().execSql("UPDATE categories SET title = 'x' WHERE id = 999");  // even when nothing changes
    EXPECT_TRUE(Db().isChanged());

    Category only = CategoriesTable().findById(1);
    ASSERT_TRUE(CategoriesTable().remove(only));
    StoreNow();
    Db().createSchema();
    Db().createSchema();  // a second run changes nothing
    EXPECT_EQ(QueryText("SELECT group_concat(title || sort_order) FROM categories"), "Untitled Category1");
    EXPECT_FALSE(Db().isChanged());

    AddItem(AddCategory("C"), 1.0, {1.0});
    StoreNow();
    Db().clearAll();
    EXPECT_TRUE(Db().isChanged());
    EXPECT_EQ(Dump(), FreshDump);
    AddCategory("Work");
    SQLite::Statement held = Db().prepare("SELECT title FROM categories ORDER BY id DESC");
    Db().resetToEmpty();
    ASSERT_TRUE(held.executeStep());
    EXPECT_EQ(held.getColumn(0).getString(), "Work");
    EXPECT_FALSE(Db().isChanged());
    EXPECT_EQ(Dump(), FreshDump);
    AddCategory("Not stored");
    Db().reopen();
    EXPECT_EQ(QueryText("SELECT group_concat(title, '|') FROM categories"), "Untitled Category|Work");
}

class StoringInTheProject : public DatabaseTest {};

// An image SQLite opens read-only (its write version 254) loads as well, and takes saves. Plain
// tables an earlier import kept beside the estimate are left out of it, named on the debug output.
TEST_F(StoringInTheProject, StoreThenLoadGivesTheSameRowsIdsAndNextIds)
{
    const GS::Int32 item = AddItem(AddCategory("C"), 2.5);
    AddQty(item, 1.25, "6E1B1A0C-6B5D-4B4C-9D53-0A8F7C1F2E3D");
    Qty doomed = QtiesTable().findById(AddQty(item, 3.0));
    ASSERT_TRUE(QtiesTable().remove(doomed));  // the next id is no longer the highest + 1
    const std::string before = Dump();
    const char* const NextIds = "SELECT group_concat(name || seq, ' ') FROM (SELECT * FROM sqlite_sequence ORDER BY name)";
    ASSERT_EQ(QueryText(NextIds), "categories2 items1 qties2");
    Db().close();
    const std::vector<unsigned char> image = *host->ModuleData("CalvoraDB");
    auto readOnly = [](std::vector<unsigned char> data) { data[18] = 254; return data; };
    const std::string Notes = "CREATE TABLE notes (key TEXT PRIMARY KEY, body TEXT); INSERT INTO notes VALUES ('k', 'aside');";
    const std::string Log = "CREATE TABLE log (id INTEGER PRIMARY KEY AUTOINCREMENT, t TEXT); INSERT INTO log (t) VALUES ('x');";
    const std::vector<std::tuple<std::string, std::vector<unsigned char>, std::string>> cases = {  // name, data, left out
        {"as stored", image, ""},
        {"read-only", readOnly(image), ""},
        {"an extra table", ImageOf(Notes, image), "notes"},
        {"extra tables, read-only", readOnly(ImageOf(Notes + Log, image)), "notes, log"},
    };
    for (const auto& [name, stored, leftOut] : cases) {
        Load(stored);
        EXPECT_FALSE(Db().isChanged()) << name;
        EXPECT_EQ(Dump(), before) << name;
        EXPECT_EQ(QueryText(NextIds), "categories2 items1 qties2") << name;
        EXPECT_EQ(std::count(debugOutput.begin(), debugOutput.end(), '\n'), leftOut.empty() ? 0 : 1) << debugOutput;
        EXPECT_NE(debugOutput.find(leftOut), std::string::npos) << debugOutput;
        EXPECT_EQ(AddQty(item, 1.0), 3) << name;
        EXPECT_EQ(Get("items", "total", item), 5.63) << name;
        StoreNow();
        Db().reopen();
        EXPECT_EQ(Query("SELECT COUNT(*) FROM qties"), 2) << name;
        EXPECT_EQ(Query("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table'"), 4) << name;
    }
}

// An estimate stored or dumped before categories had a code is migrated: it gets the column, its
// indexes and, where it has no category, the default one.
TEST_F(StoringInTheProject, AnOldEstimateStoredOrDumpedWithoutCodeIsMigrated)
{
    std::string OldSchema = FreshDump;  // today's tables but the categories' code
    OldSchema.erase(OldSchema.find("INSERT")).erase(OldSchema.find(" code TEXT,"), 11);
    Load(ImageOf(OldSchema + "INSERT INTO categories VALUES (3, 'Old', 1, 'kept', 12.5);"
                             "INSERT INTO items VALUES (4, 3, 1, 'I', 'd', 'm', 2.5, 5.0, 12.5);"));
    EXPECT_FALSE(Db().isChanged());
    EXPECT_EQ(QueryText("SELECT group_concat(name, ' ') FROM pragma_table_info('categories')"),
              "id title sort_order descript total code");
    EXPECT_EQ(QueryText("SELECT group_concat(quote(code) || title || descript || total) FROM categories"), "''Oldkept12.5");
    EXPECT_EQ(Get("items", "price", 4), 2.5);
    EXPECT_EQ(QueryText(Indexes), OwnIndexes);

    ASSERT_TRUE(Db().replaceWithSql(GS::UniString(OldSchema), true));
    EXPECT_NE(Dump().find("INSERT INTO categories (id, title, sort_order, descript, total, code) "
                          "VALUES (1, 'Untitled Category', 1, '', 0.000000, '');"),
              std::string::npos);
}

// An image whose index pages disagree with its tables passes SQLite's quick check; it loads with
// every row, and saves, removes and roll-ups work on it. Three categories of 400 items, each item
// with quantities 1 and 2 at price 2, so both indexes span several pages.
TEST_F(StoringInTheProject, AnImageWhoseIndexesDisagreeWithItsTablesLoadsEveryRowAndWorks)
{
    AddCategory("B");
    AddCategory("C");
    Db().execSql("WITH RECURSIVE n(x) AS (SELECT 0 UNION ALL SELECT x + 1 FROM n WHERE x < 1199) "
                 "INSERT INTO items (category_id, sort_order, price, qty, total) SELECT x % 3 + 1, x / 3 + 1, 2.0, 3.0, 6.0 FROM n;"
                 "INSERT INTO qties (item_id, guid, sort_order, value) SELECT id, '', 1, 1.0 FROM items ORDER BY id;"
                 "INSERT INTO qties (item_id, guid, sort_order, value) SELECT id, '', 2, 2.0 FROM items ORDER BY id;"
                 "INSERT INTO qties (item_id, guid, sort_order, value) VALUES (NULL, '', 1, 5.0);"
                 "UPDATE categories SET total = 2400.0;");
    StoreNow();
    const std::string before = Dump();
    const std::vector<unsigned char> image = *host->ModuleData("CalvoraDB");
    Load(image);  // sound, a quantity without an item among its rows
    EXPECT_EQ(debugOutput, "");
    EXPECT_EQ(Dump(), before);
    for (const char* index : {"qties_item_id", "items_category_id"}) {
        Load(WithIndexLeavesSwapped(image, index));
        EXPECT_EQ(Dump(), before) << index;
        EXPECT_FALSE(Db().isChanged()) << index;
        EXPECT_NE(debugOutput.find("indexes are not known to agree with its tables"), std::string::npos) << debugOutput;
        // The first and the last item: entries of the swapped pages.
        for (const GS::Int32 item : {1, 1198}) {
            AddQty(item, 4.0);
            Qty first = QtiesTable().findById(item);
            EXPECT_TRUE(QtiesTable().remove(first)) << index << item;
            EXPECT_EQ(Get("items", "qty", item), 6.0) << index << item;
        }
        Item last = ItemsTable().findById(1200);
        EXPECT_TRUE(ItemsTable().remove(last)) << index;
        EXPECT_EQ(QueryText("SELECT group_concat(total, ' ') FROM categories"), "2412.0 2400.0 2394.0") << index;
        EXPECT_EQ(Query("SELECT COUNT(*) FROM qties"), 2399) << index;
        EXPECT_EQ(QueryText("PRAGMA integrity_check"), "ok") << index;
        StoreNow();
    }
}

// Module data that cannot be used loads as a fresh database (default category, changed flag
// clear) that later operations work on; a refused image is named on the debug output.
TEST_F(StoringInTheProject, UnusableModuleDataLoadsAsAFreshDatabase)
{
    for (int i = 0; i < 300; ++i)
        AddCategory("A category with a title long enough to fill several pages of the image");
    Db().saveToProject();
    const std::vector<unsigned char> good = *host->ModuleData("CalvoraDB");
    ASSERT_GT(good.size(), 8192u);
    std::vector<unsigned char> spoiled = good;
    std::fill(spoiled.begin() + 4096, spoiled.end(), 0xA5);
    const std::string Schema = CategoriesTable().buildCreateTableSql().ToUtf8() + ItemsTable().buildCreateTableSql().ToUtf8() +
                               QtiesTable().buildCreateTableSql().ToUtf8();
    const std::vector<std::tuple<std::string, std::vector<unsigned char>, bool>> cases = {  // name, data, reported
        {"empty", {}, false},
        {"garbage", std::vector<unsigned char>(5000, 0x5A), true},
        {"truncated", {good.begin(), good.begin() + good.size() / 2}, true},
        {"spoiled pages", spoiled, true},
        // What is not the estimate's own would run or answer in place of its statements; an extra
        // table comes along only alone.
        {"an extra table with a trigger", ImageOf(Schema + "CREATE TABLE notes (t TEXT);"
                                                  "CREATE TRIGGER t AFTER INSERT ON notes BEGIN DELETE FROM categories; END;"), true},
        {"an extra table with an index", ImageOf(Schema + "CREATE TABLE notes (t TEXT); CREATE INDEX notes_t ON notes (t);"), true},
        {"ids beyond 32 bits", ImageOf(CategoriesTable().buildCreateTableSql().ToUtf8() +
                                       "INSERT INTO categories VALUES (4294967296, 'Far', '', 1, '', 0);"), true},
    };
    for (const auto& [name, data, reported] : cases) {
        Load(data);
        EXPECT_FALSE(Db().isChanged()) << name;
        EXPECT_EQ(QueryText("SELECT group_concat(title) FROM categories"), "Untitled Category") << name;
        EXPECT_EQ(debugOutput.find("an empty one is used instead") != std::string::npos, reported) << name;
        AddItem(1, 2.0, {3.0});
        EXPECT_EQ(Get("categories", "total", 1), 6.0) << name;
    }

    // A host that answers an error yet leaves a handle in the record.
    host->SetEntry(Slot_GetModuleData, reinterpret_cast<void*>(+[](API_ModulData* info, const GS::UniString*) {
        info->dataHdl = BMAllocateHandle(16);
        return static_cast<GSErrCode>(APIERR_GENERAL);
    }));
    CalvoraSetHostTable(host->Table());
    Db().reopen();
    EXPECT_EQ(QueryText("SELECT group_concat(title) FROM categories"), "Untitled Category");
}

// A store that fails (the host refuses it, or SQLite's heap limit stops the backup part-way)
// leaves the stored data as it was and the changed flag set, so the next storing point stores.
TEST_F(StoringInTheProject, AFailedStoreKeepsTheFlagAndTheStoredData)
{
    for (int i = 0; i < 2000; ++i)
        AddCategory("Filler text so that the database spans many pages of memory");
    Db().saveToProject();
    const std::vector<unsigned char> good = *host->ModuleData("CalvoraDB");
    AddCategory("Pending");
    host->FailOperation("HostStoreModuleData");
    Db().saveToProject();
    EXPECT_TRUE(Db().isChanged());
    host->ClearFailures();
    const sqlite3_int64 previousLimit = sqlite3_hard_heap_limit64(sqlite3_memory_used() + 64 * 1024);
    Db().saveToProject();
    sqlite3_hard_heap_limit64(previousLimit);
    EXPECT_TRUE(Db().isChanged());
    EXPECT_EQ(*host->ModuleData("CalvoraDB"), good);

    Db().close();
    Db().reopen();
    EXPECT_EQ(Query("SELECT COUNT(*) FROM categories WHERE title = 'Pending'"), 1);
}

}  // namespace
