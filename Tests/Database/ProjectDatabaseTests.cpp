#include <sqlite3.h>

#include <algorithm>

#include "DatabaseTestSupport.hpp"

namespace {

std::vector<std::string> Names(SQLite::Statement& query)
{
    std::vector<std::string> names;
    while (query.executeStep())
        names.push_back(query.getColumn(0).getString());
    return names;
}

class DatabaseLifeCycle : public DatabaseTest {
protected:
    int StoreCount()
    {
        return static_cast<int>(std::count_if(host->CallLog().begin(), host->CallLog().end(), [](const std::string& line) {
            return line.rfind("StoreModuleData CalvoraDB", 0) == 0;
        }));
    }
};

TEST_F(DatabaseLifeCycle, FirstUseWithoutStoredDataGivesTheDefaultCategory)
{
    EXPECT_TRUE(Db().isOpen());
    EXPECT_FALSE(Db().isChanged());
    SQLite::Statement tables = Db().prepare("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' ORDER BY rowid");
    EXPECT_EQ(Names(tables), (std::vector<std::string>{"items", "qties", "categories"}));

    GS::Array<Category> categories = CategoriesTable().getAll();
    ASSERT_EQ(categories.GetSize(), 1u);
    EXPECT_EQ(categories[0].getInt("id"), 1);
    EXPECT_EQ(categories[0].getString("title"), GS::UniString("Untitled Category"));
    EXPECT_EQ(categories[0].getString("code"), GS::UniString(""));
    EXPECT_EQ(categories[0].getInt("sort_order"), 1);
    EXPECT_EQ(categories[0].getString("descript"), GS::UniString(""));
    EXPECT_EQ(categories[0].getDouble("total"), 0.0);

    Db().close();
    EXPECT_FALSE(Db().isOpen());
    EXPECT_FALSE(host->ModuleData("CalvoraDB").has_value());
    EXPECT_EQ(StoreCount(), 0);
}

TEST_F(DatabaseLifeCycle, AStatementHeldAcrossAReopenStaysUsable)
{
    AddCategory("Old");
    SQLite::Statement held = Db().prepare("SELECT title FROM categories ORDER BY id");
    Db().reopen();
    // The held statement still reads the connection it was made on; the new one is fresh.
    ASSERT_TRUE(held.executeStep());
    ASSERT_TRUE(held.executeStep());
    EXPECT_EQ(held.getColumn(0).getString(), "Old");
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM categories"), 1);
}

TEST_F(DatabaseLifeCycle, ExecuteMarksChangedOnlyWhenARowChanged)
{
    SQLite::Statement none = Db().prepare("UPDATE categories SET title = 'x' WHERE id = 999");
    EXPECT_EQ(Db().execute(none), 0);
    EXPECT_FALSE(Db().isChanged());

    SQLite::Statement one = Db().prepare("UPDATE categories SET title = 'x' WHERE id = 1");
    EXPECT_EQ(Db().execute(one), 1);
    EXPECT_TRUE(Db().isChanged());
}

TEST_F(DatabaseLifeCycle, ExecSqlMarksChangedEvenWhenNothingChanges)
{
    Db().execSql("UPDATE categories SET title = 'x' WHERE id = 999");
    EXPECT_TRUE(Db().isChanged());
}

TEST_F(DatabaseLifeCycle, FailingExecSqlLeavesTheFlagAlone)
{
    EXPECT_THROW(Db().execSql("UPDATE nowhere SET x = 1"), SQLite::Exception);
    EXPECT_FALSE(Db().isChanged());
}

TEST_F(DatabaseLifeCycle, LastInsertRowIdFollowsTheInsert)
{
    SQLite::Statement insert = Db().prepare("INSERT INTO items (category_id, sort_order) VALUES (1, 1)");
    EXPECT_EQ(Db().execute(insert), 1);
    EXPECT_EQ(Db().lastInsertRowId(), QueryInt("SELECT MAX(id) FROM items"));

    std::unique_ptr<SQLite::Statement> stored;
    Db().prepare(stored, "INSERT INTO items (category_id, sort_order) VALUES (1, 2)");
    EXPECT_EQ(Db().execute(*stored), 1);
    EXPECT_EQ(Db().lastInsertRowId(), 2);
}

TEST_F(DatabaseLifeCycle, ReopenDropsUnstoredEditsAndLoadsTheProject)
{
    AddCategory("Stored");
    Db().saveToProject();
    AddCategory("Not stored");
    EXPECT_TRUE(Db().isChanged());

    Db().reopen();
    EXPECT_FALSE(Db().isChanged());
    GS::Array<Category> categories = CategoriesTable().getAll();
    ASSERT_EQ(categories.GetSize(), 2u);
    EXPECT_EQ(categories[1].getString("title"), GS::UniString("Stored"));
}

TEST_F(DatabaseLifeCycle, NewStoresPendingChangesOnceAndStartsEmpty)
{
    AddCategory("Work");
    Db().resetToEmpty();
    EXPECT_EQ(StoreCount(), 1);
    EXPECT_TRUE(Db().isOpen());
    EXPECT_FALSE(Db().isChanged());
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM categories"), 1);

    Db().resetToEmpty();
    EXPECT_EQ(StoreCount(), 1);
}

TEST_F(DatabaseLifeCycle, ResetToEmptyLoadsNothing)
{
    AddCategory("Stored");
    Db().saveToProject();
    Db().resetToEmpty();
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM categories"), 1);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM categories WHERE title = 'Stored'"), 0);
}

TEST_F(DatabaseLifeCycle, AReorderAloneIsStoredAtTheNextStoringPoint)
{
    const GS::Int32 second = AddCategory("Second");
    StoreNow();
    GS::Array<GS::Int32> order;
    order.Push(second);
    order.Push(1);
    ASSERT_TRUE(CategoriesTable().updateSortOrders(order));
    Db().close();

    Db().reopen();
    EXPECT_EQ(CategoriesTable().getAll()[0].getInt("id"), second);
}

TEST_F(DatabaseLifeCycle, CreateSchemaTwiceChangesNothing)
{
    Db().createSchema();
    Db().createSchema();
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM categories"), 1);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM pragma_table_info('categories')"), 6);
    EXPECT_FALSE(Db().isChanged());
}

TEST_F(DatabaseLifeCycle, DeletingEveryCategoryBringsTheDefaultBack)
{
    Category only = CategoriesTable().findById(1);
    ASSERT_TRUE(CategoriesTable().remove(only));
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM categories"), 0);
    Db().createSchema();
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM categories WHERE title = 'Untitled Category' AND sort_order = 1"), 1);
}

TEST_F(DatabaseLifeCycle, ClearAllRecreatesTheSchemaAndMarksChanged)
{
    const GS::Int32 category = AddCategory("C");
    AddQty(AddItem(category, 1.0), 1.0);
    StoreNow();
    Db().clearAll();
    EXPECT_TRUE(Db().isChanged());
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM categories"), 1);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM items"), 0);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM qties"), 0);
}

TEST_F(DatabaseLifeCycle, HostCallsGoToTheActiveHost)
{
    AddCategory("C");
    Db().close();
    auto stored = host->ModuleData("CalvoraDB");
    ASSERT_TRUE(stored.has_value());
    ASSERT_GT(stored->size(), 16u);
    EXPECT_EQ(std::string(stored->begin(), stored->begin() + 16), std::string("SQLite format 3\0", 16));
}

class StoringInTheProject : public DatabaseTest {};

TEST_F(StoringInTheProject, StoreThenLoadGivesTheSameRowsIdsAndNextIds)
{
    const GS::Int32 category = AddCategory("C");
    const GS::Int32 item = AddItem(category, 2.5, "I-1");
    AddQty(item, 1.25, "6E1B1A0C-6B5D-4B4C-9D53-0A8F7C1F2E3D");
    const GS::Int32 deletedQty = AddQty(item, 3.0);
    Qty doomed = QtiesTable().findById(deletedQty);
    ASSERT_TRUE(QtiesTable().remove(doomed));  // the next id is no longer max + 1

    GS::UniString before;
    Db().dumpSql(before);
    const long long nextQtyId = QueryInt("SELECT seq FROM sqlite_sequence WHERE name = 'qties'") + 1;
    Db().close();
    EXPECT_FALSE(Db().isChanged());

    Db().reopen();
    EXPECT_FALSE(Db().isChanged());
    GS::UniString after;
    Db().dumpSql(after);
    EXPECT_EQ(after, before);
    EXPECT_EQ(AddQty(item, 1.0), nextQtyId);
    EXPECT_EQ(nextQtyId, deletedQty + 1);
}

TEST_F(StoringInTheProject, StoringWritesTheModuleDataRecord)
{
    AddCategory("C");
    Db().saveToProject();
    EXPECT_FALSE(Db().isChanged());
    auto stored = host->ModuleData("CalvoraDB");
    ASSERT_TRUE(stored.has_value());
    // The stored bytes are a complete SQLite image that SQLite opens on its own.
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &raw), SQLITE_OK);
    unsigned char* buffer = static_cast<unsigned char*>(sqlite3_malloc64(stored->size()));
    std::copy(stored->begin(), stored->end(), buffer);
    ASSERT_EQ(sqlite3_deserialize(raw, "main", buffer, stored->size(), stored->size(),
                                  SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE),
              SQLITE_OK);
    sqlite3_stmt* query = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(raw, "SELECT COUNT(*) FROM categories WHERE title = 'C'", -1, &query, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(query), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(query, 0), 1);
    sqlite3_finalize(query);
    sqlite3_close(raw);
}

TEST_F(StoringInTheProject, NothingIsStoredWithoutChanges)
{
    Db().saveToProject();
    EXPECT_FALSE(host->ModuleData("CalvoraDB").has_value());
}

TEST_F(StoringInTheProject, RefusedStoreKeepsTheFlagAndTheNextStoringPointRetries)
{
    AddCategory("C");
    host->FailOperation("HostStoreModuleData");
    Db().saveToProject();
    EXPECT_TRUE(Db().isChanged());
    EXPECT_FALSE(host->ModuleData("CalvoraDB").has_value());

    host->ClearFailures();
    Db().close();
    ASSERT_TRUE(host->ModuleData("CalvoraDB").has_value());
    Db().reopen();
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM categories WHERE title = 'C'"), 1);
}

TEST_F(StoringInTheProject, FailedHostReadGivesAnEmptyDatabase)
{
    AddCategory("C");
    Db().saveToProject();
    host->FailOperation("HostGetModuleData");
    Db().reopen();
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM categories"), 1);
    EXPECT_FALSE(Db().isChanged());
}

// Makes an image of a database built by the given SQL on a plain connection.
std::vector<unsigned char> ImageOf(const char* sql)
{
    sqlite3* raw = nullptr;
    sqlite3_open(":memory:", &raw);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(raw, sql, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_int64 size = 0;
    unsigned char* data = sqlite3_serialize(raw, "main", &size, 0);
    std::vector<unsigned char> image(data, data + size);
    sqlite3_free(data);
    sqlite3_close(raw);
    return image;
}

TEST_F(StoringInTheProject, AnOldImageWithoutCodeIsMigrated)
{
    host->SetModuleData("CalvoraDB", ImageOf(
        "CREATE TABLE categories (id INTEGER PRIMARY KEY AUTOINCREMENT, title TEXT, sort_order INTEGER, descript TEXT, total REAL);"
        "CREATE TABLE items (id INTEGER PRIMARY KEY AUTOINCREMENT, category_id INTEGER, sort_order INTEGER, code TEXT, descript TEXT, unit TEXT, price REAL, qty REAL, total REAL);"
        "CREATE TABLE qties (id INTEGER PRIMARY KEY AUTOINCREMENT, item_id INTEGER, guid TEXT, sort_order INTEGER, descript TEXT, formula TEXT, value REAL);"
        "INSERT INTO categories VALUES (3, 'Old', 1, 'kept', 12.5);"
        "INSERT INTO items VALUES (4, 3, 1, 'I', 'd', 'm', 2.5, 5.0, 12.5);"));
    Db().reopen();
    EXPECT_FALSE(Db().isChanged());
    SQLite::Statement columns = Db().prepare("SELECT name FROM pragma_table_info('categories')");
    EXPECT_EQ(Names(columns), (std::vector<std::string>{"id", "title", "sort_order", "descript", "total", "code"}));
    Category old = CategoriesTable().findById(3);
    EXPECT_EQ(old.getString("code"), GS::UniString(""));
    EXPECT_EQ(old.getString("descript"), GS::UniString("kept"));
    EXPECT_EQ(old.getDouble("total"), 12.5);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM categories"), 1);
    EXPECT_EQ(ItemsTable().findById(4).getDouble("price"), 2.5);
}

struct BadImageCase {
    const char* name;
    std::function<std::vector<unsigned char>(const std::vector<unsigned char>& good)> make;
};

class UnusableModuleData : public DatabaseTest, public ::testing::WithParamInterface<BadImageCase> {};

TEST_P(UnusableModuleData, LoadsAsAFreshDatabaseAndSaysSoOnTheDebugOutput)
{
    // A good image first, to cut and spoil.
    for (int i = 0; i < 300; ++i)
        AddCategory("A category with a title long enough to fill several pages of the image");
    Db().saveToProject();
    const std::vector<unsigned char> good = *host->ModuleData("CalvoraDB");
    ASSERT_GT(good.size(), 8192u);

    host->SetModuleData("CalvoraDB", GetParam().make(good));
    debugOutput.clear();
    Db().reopen();
    EXPECT_TRUE(Db().isOpen());
    EXPECT_FALSE(Db().isChanged());
    GS::Array<Category> categories = CategoriesTable().getAll();
    ASSERT_EQ(categories.GetSize(), 1u);
    EXPECT_EQ(categories[0].getString("title"), GS::UniString("Untitled Category"));
    EXPECT_NE(debugOutput.find("an empty one is used instead"), std::string::npos) << debugOutput;

    // Later operations work as on any fresh database.
    const GS::Int32 category = AddCategory("New");
    AddQty(AddItem(category, 2.0), 3.0);
    EXPECT_DOUBLE_EQ(CategoriesTable().findById(category).getDouble("total"), 6.0);
}

INSTANTIATE_TEST_SUITE_P(
    Images, UnusableModuleData,
    ::testing::Values(
        BadImageCase{"Garbage", [](const std::vector<unsigned char>&) {
                         std::vector<unsigned char> bytes(5000);
                         for (std::size_t i = 0; i < bytes.size(); ++i)
                             bytes[i] = static_cast<unsigned char>((i * 7919u + 13u) & 0xFF);
                         return bytes;
                     }},
        BadImageCase{"OneByte", [](const std::vector<unsigned char>&) { return std::vector<unsigned char>{0x42}; }},
        BadImageCase{"HeaderOnly", [](const std::vector<unsigned char>& good) {
                         return std::vector<unsigned char>(good.begin(), good.begin() + 100);
                     }},
        BadImageCase{"TruncatedImage", [](const std::vector<unsigned char>& good) {
                         return std::vector<unsigned char>(good.begin(), good.begin() + good.size() / 2);
                     }},
        BadImageCase{"SpoiledPages", [](const std::vector<unsigned char>& good) {
                         std::vector<unsigned char> bytes = good;
                         for (std::size_t i = 4096; i < bytes.size(); ++i)
                             bytes[i] = 0xA5;
                         return bytes;
                     }},
        BadImageCase{"WrongColumns", [](const std::vector<unsigned char>&) {
                         return ImageOf("CREATE TABLE categories (id INTEGER PRIMARY KEY, name TEXT);");
                     }},
        BadImageCase{"IdsBeyond32Bits", [](const std::vector<unsigned char>&) {
                         return ImageOf(
                             "CREATE TABLE categories (id INTEGER PRIMARY KEY AUTOINCREMENT, title TEXT, code TEXT, sort_order INTEGER, descript TEXT, total REAL);"
                             "INSERT INTO categories VALUES (4294967296, 'Far', '', 1, '', 0);");
                     }}),
    [](const ::testing::TestParamInfo<BadImageCase>& info) { return std::string(info.param.name); });

TEST_F(StoringInTheProject, AnEmptyImageLoadsNothing)
{
    host->SetModuleData("CalvoraDB", {});
    Db().reopen();
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM categories"), 1);
    EXPECT_FALSE(Db().isChanged());
}

// SQLite's own heap limit makes the backup run out of memory part-way: nothing partial may
// reach the project, and the changed flag must stay so a later storing point tries again.
TEST_F(StoringInTheProject, AnIncompleteBackupIsNeverStored)
{
    for (int i = 0; i < 2000; ++i)
        AddCategory("Filler text so that the database spans many pages of memory");
    Db().saveToProject();
    const std::vector<unsigned char> good = *host->ModuleData("CalvoraDB");

    AddCategory("Pending");
    ASSERT_TRUE(Db().isChanged());
    const sqlite3_int64 used = sqlite3_memory_used();
    const sqlite3_int64 previousLimit = sqlite3_hard_heap_limit64(used + 64 * 1024);
    Db().saveToProject();
    sqlite3_hard_heap_limit64(previousLimit);

    EXPECT_TRUE(Db().isChanged());
    EXPECT_EQ(*host->ModuleData("CalvoraDB"), good);

    Db().saveToProject();
    EXPECT_FALSE(Db().isChanged());
    EXPECT_NE(*host->ModuleData("CalvoraDB"), good);
    Db().reopen();
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM categories WHERE title = 'Pending'"), 1);
}

}  // namespace
