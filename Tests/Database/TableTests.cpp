#include <stdexcept>

#include "DatabaseTestSupport.hpp"

namespace {

class TablePersistence : public DatabaseTest {};

TEST_F(TablePersistence, NewCategoryWithOnlyATitle)
{
    Category first = CategoriesTable().findById(1);
    ASSERT_TRUE(CategoriesTable().remove(first));
    Category category;
    category.setString("title", "Masonry");
    category.setInt("sort_order", 99);  // beforeSave decides: the first of an empty table gets 1
    ASSERT_TRUE(CategoriesTable().save(category));
    EXPECT_FALSE(category.isNew);
    EXPECT_EQ(category.getInt("id"), 2);
    EXPECT_EQ(Query("SELECT COUNT(*) FROM categories WHERE id = 2 AND title = 'Masonry' AND code = '' "
                    "AND descript = '' AND sort_order = 1 AND total = 0.0"), 1);
}

TEST_F(TablePersistence, WritesThatMatchNoRowChangeNothingAndRunNoHook)
{
    const GS::Int32 category = AddCategory("Kept");
    AddQty(AddItem(category, 2.0), 5.0);
    Db().execSql("UPDATE categories SET total = 1.0");  // a roll-up would show
    StoreNow();
    Item ghost;
    ghost.isNew = false;
    ghost.setInt("id", 4242);
    ghost.setInt("category_id", category);
    EXPECT_FALSE(ItemsTable().save(ghost));
    Category withoutId;
    withoutId.isNew = false;
    EXPECT_FALSE(CategoriesTable().remove(withoutId));
    EXPECT_FALSE(Db().isChanged());
    EXPECT_EQ(Get("categories", "total", category), 1.0);
    EXPECT_EQ(SortOrders("categories"), (Rows{{1, 1}, {category, 2}}));
}

TEST_F(TablePersistence, Queries)
{
    EXPECT_EQ(ItemsTable().findAll().GetSize(), 0u);
    const GS::Int32 a = AddItem(1, 1.0);
    const GS::Int32 q1 = AddQty(a, 1.0);
    const GS::Int32 q2 = AddQty(a, 2.0);
    AddQty(AddItem(1, 1.0), 3.0);
    EXPECT_EQ(QtiesTable().findAll().GetSize(), 3u);
    auto ofA = QtiesTable().findWhere("item_id", a);
    ASSERT_EQ(ofA.GetSize(), 2u);
    EXPECT_EQ(ofA.Get(q2).getDouble("value"), 2.0);
    EXPECT_FALSE(ofA.Get(q1).isNew);
    EXPECT_EQ(QtiesTable().findWhere("item_id", 12).GetSize(), 0u);

    Db().execSql("UPDATE categories SET code = NULL");  // as the XLSX import leaves it
    EXPECT_EQ(CategoriesTable().findById(1).getString("code"), GS::UniString());
    Qty gone = QtiesTable().findById(q1);
    ASSERT_TRUE(QtiesTable().remove(gone));
    try {
        QtiesTable().findById(q1);
        FAIL() << "findById of a deleted row must throw";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Entity not found");
    }
}

TEST_F(TablePersistence, FailuresOfTheInsertAndOfACascadeAreReported)
{
    const GS::Int32 item = AddItem(1, 1.0);
    AddQty(item, 1.0);
    Db().execSql("CREATE TRIGGER refuse BEFORE INSERT ON qties BEGIN SELECT RAISE(ABORT, 'refused'); END;"
                 "CREATE TRIGGER keep BEFORE DELETE ON qties BEGIN SELECT RAISE(ABORT, 'kept'); END;");
    Qty qty;
    EXPECT_FALSE(QtiesTable().save(qty));
    EXPECT_TRUE(qty.isNew);
    EXPECT_EQ(qty.getInt("id"), 0);
    Item doomed = ItemsTable().findById(item);
    EXPECT_TRUE(ItemsTable().remove(doomed));  // the row is gone before the cascade fails
    EXPECT_EQ(Query("SELECT COUNT(*) FROM items"), 0);
    EXPECT_EQ(debugOutput, "Error saving entity: refused\nError in ItemsTable::afterDelete: kept\n");
}

class RefusingCategories : public CategoriesTable {
public:
    bool beforeSave(Category&) override { return false; }
    bool beforeDelete(Category&) override { return false; }
};

TEST_F(TablePersistence, RefusingHooksStopTheWrite)
{
    StoreNow();
    Category category = CategoriesTable().findById(1);
    category.setString("title", "Refused");
    EXPECT_FALSE(RefusingCategories().save(category));
    EXPECT_FALSE(RefusingCategories().remove(category));
    EXPECT_EQ(QueryText("SELECT group_concat(title) FROM categories"), "Untitled Category");
    EXPECT_FALSE(Db().isChanged());
    EXPECT_EQ(debugOutput, "beforeSave failed, entity not saved.\nbeforeDelete failed, entity not deleted.\n");
}

class DenseSortOrders : public DatabaseTest {};

// A panel may hold a copy read before a reorder or a move: deleting it must still close the gap
// where the row really is.
TEST_F(DenseSortOrders, DeletingAStaleCategoryClosesTheGapAndTakesItsTree)
{
    const GS::Int32 b = AddCategory("B");
    const GS::Int32 c = AddCategory("C");
    const GS::Int32 d = AddCategory("D");
    const GS::Int32 doomed = AddItem(b, 1.0);
    AddQty(doomed, 1.0);
    AddQty(doomed, 2.0);
    const GS::Int32 kept = AddQty(AddItem(c, 1.0), 3.0);
    Category stale = CategoriesTable().findById(b);  // sort order 2 in this copy
    ASSERT_TRUE(CategoriesTable().updateSortOrders(Ids({b, 1, c, d})));
    ASSERT_TRUE(CategoriesTable().remove(stale));
    EXPECT_EQ(SortOrders("categories"), (Rows{{1, 1}, {c, 2}, {d, 3}}));
    EXPECT_EQ(Query("SELECT COUNT(*) FROM items"), 1);
    EXPECT_EQ(Query("SELECT COUNT(*) FROM qties"), 1);
    EXPECT_EQ(Query("SELECT id FROM qties"), kept);
}

TEST_F(DenseSortOrders, DeletingAStaleItemClosesTheGapInItsRealCategory)
{
    const GS::Int32 a = AddCategory("A");
    const GS::Int32 b = AddCategory("B");
    const GS::Int32 a1 = AddItem(a, 1.0);
    const GS::Int32 a2 = AddItem(a, 1.0);
    const GS::Int32 b1 = AddItem(b, 1.0);
    const GS::Int32 b2 = AddItem(b, 4.0);
    const GS::Int32 b3 = AddItem(b, 1.0);
    AddQty(b2, 1.0);
    AddQty(b3, 2.0);
    Item stale = ItemsTable().findById(b2);  // category B, sort order 2 in this copy
    Item moved = stale;
    moved.setInt("category_id", a);
    ASSERT_TRUE(ItemsTable().save(moved));  // keeps its sort order 2, now in A
    ASSERT_TRUE(ItemsTable().updateSortOrders(Ids({b2, a1, a2})));
    ASSERT_TRUE(ItemsTable().remove(stale));
    // B keeps the gap the move left; the delete does not touch it.
    EXPECT_EQ(SortOrders("items"), (Rows{{a1, 1}, {b1, 1}, {a2, 2}, {b3, 3}}));
    EXPECT_EQ(Query("SELECT COUNT(*) FROM qties WHERE item_id = " + std::to_string(b2)), 0);
    EXPECT_EQ(Get("categories", "total", a), 0.0);
    EXPECT_EQ(Get("categories", "total", b), 2.0);
}

TEST_F(DenseSortOrders, DeletingAStaleQuantityRenumbersItsItemAndRollsUp)
{
    const GS::Int32 c = AddCategory("C");
    const GS::Int32 item = AddItem(c, 2.0);
    const GS::Int32 other = AddItem(c, 1.0);
    const GS::Int32 q1 = AddQty(item, 1.0);
    const GS::Int32 q2 = AddQty(item, 2.0);
    const GS::Int32 q3 = AddQty(item, 4.0);
    const GS::Int32 o1 = AddQty(other, 1.0);
    const GS::Int32 o2 = AddQty(other, 1.0);
    Qty stale = QtiesTable().findById(q1);
    ASSERT_TRUE(QtiesTable().updateSortOrders(Ids({q2, q3, q1})));
    ASSERT_TRUE(QtiesTable().remove(stale));
    EXPECT_EQ(SortOrders("qties"), (Rows{{q2, 1}, {o1, 1}, {q3, 2}, {o2, 2}}));
    EXPECT_EQ(Get("items", "qty", item), 6.0);
    EXPECT_EQ(Get("items", "total", item), 12.0);
    EXPECT_EQ(Get("categories", "total", c), 14.0);
}

TEST_F(DenseSortOrders, ReorderGivesPositionsAndIsStoredAtTheNextStoringPoint)
{
    const GS::Int32 c = AddCategory("C");
    const GS::Int32 i1 = AddItem(c, 1.0);
    const GS::Int32 i2 = AddItem(c, 1.0);
    const GS::Int32 i3 = AddItem(c, 1.0);
    const GS::Int32 q1 = AddQty(i1, 1.0);
    const GS::Int32 q2 = AddQty(i1, 1.0);
    StoreNow();
    EXPECT_TRUE(CategoriesTable().updateSortOrders(Ids({})));
    EXPECT_TRUE(CategoriesTable().updateSortOrders(Ids({9999})));
    EXPECT_FALSE(Db().isChanged());
    ASSERT_TRUE(ItemsTable().updateSortOrders(Ids({i3, i1, i2})));
    EXPECT_TRUE(Db().isChanged());
    ASSERT_TRUE(QtiesTable().updateSortOrders(Ids({q2, q1})));
    ASSERT_TRUE(CategoriesTable().updateSortOrders(Ids({c, 1})));
    Db().close();
    Db().reopen();
    EXPECT_EQ(IdsOf(ItemsTable().getByCategory(c)), (std::vector<int>{i3, i1, i2}));
    EXPECT_EQ(IdsOf(CategoriesTable().getAll()), (std::vector<int>{c, 1}));
    EXPECT_EQ(SortOrders("qties"), (Rows{{q2, 1}, {q1, 2}}));
}

TEST_F(DenseSortOrders, AReorderStoppedPartWayKeepsWhatItWroteAndSaysWhere)
{
    const GS::Int32 c = AddCategory("C");
    const GS::Int32 i1 = AddItem(c, 1.0);
    const GS::Int32 i2 = AddItem(c, 1.0);
    const GS::Int32 q1 = AddQty(i1, 1.0);
    const GS::Int32 q2 = AddQty(i1, 1.0);
    for (std::string table : {"categories", "items", "qties"})
        Db().execSql(GS::UniString("CREATE TRIGGER stop_" + table + " BEFORE UPDATE OF sort_order ON " + table +
                                   " WHEN NEW.sort_order = 2 BEGIN SELECT RAISE(ABORT, 'stopped'); END;"));
    StoreNow();
    EXPECT_FALSE(CategoriesTable().updateSortOrders(Ids({c, 1})));
    EXPECT_FALSE(ItemsTable().updateSortOrders(Ids({i2, i1})));
    EXPECT_FALSE(QtiesTable().updateSortOrders(Ids({q2, q1})));
    EXPECT_EQ(debugOutput, "Error in CategoriesTable::updateSortOrders: stopped\n"
                           "Error in ItemsTable::updateSortOrders: stopped\n"
                           "Error in QtiesTable::updateSortOrders: stopped\n");
    EXPECT_EQ(SortOrders("categories"), (Rows{{1, 1}, {c, 1}}));
    EXPECT_EQ(SortOrders("items"), (Rows{{i1, 1}, {i2, 1}}));
    EXPECT_EQ(SortOrders("qties"), (Rows{{q1, 1}, {q2, 1}}));
    EXPECT_TRUE(Db().isChanged());
}

class RollUp : public DatabaseTest {};

TEST_F(RollUp, QuantityAndTotalAreRoundedToCents)
{
    struct Case {
        std::vector<double> values;
        double price, qty, total;
    };
    const std::vector<Case> cases = {
        {{1.234, 2.345}, 10.5, 3.58, 37.59},
        {{0.125}, 1.0, 0.13, 0.13},
        {{-0.125}, 1.0, -0.13, -0.13},  // halves away from zero
        {{1.005}, 1.0, 1.0, 1.0},       // 1.005 * 100.0 is just below 100.5 as a double
        {{3.0}, 0.333, 3.0, 1.0},       // the total is rounded after the product...
        {{1.006}, 1000.0, 1.01, 1010.0},  // ...of the rounded qty
        {{}, 99.0, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        const GS::Int32 category = AddCategory("C");
        const GS::Int32 item = AddItem(category, c.price);
        for (double value : c.values)
            AddQty(item, value);
        EXPECT_EQ(Get("items", "qty", item), c.qty) << c.price;
        EXPECT_EQ(Get("items", "total", item), c.total) << c.price;
        EXPECT_EQ(Get("categories", "total", category), c.total) << c.price;
    }
}

// The category total is not rounded again, and a stale copy of the category saved afterwards
// cannot write an older total back.
TEST_F(RollUp, CategoryTotalIsTheUnroundedSumOfItemTotals)
{
    const GS::Int32 category = AddCategory("C");
    Category stale = CategoriesTable().findById(category);
    const GS::Int32 first = AddItem(category, 10.5);
    AddQty(first, 1.234);
    AddQty(first, 2.345);
    AddQty(AddItem(category, 2.5), 5.0);
    AddQty(AddItem(category, 1.0), 0.1);
    AddQty(777, 50.0);  // an item that does not exist rolls nothing up
    stale.setString("title", "Renamed");
    stale.setString("code", "C-01");
    ASSERT_TRUE(CategoriesTable().save(stale));
    EXPECT_EQ(Get("categories", "total", category), 37.59 + 12.5 + 0.1);  // not 50.19
    EXPECT_EQ(QueryText("SELECT title || code FROM categories WHERE id = " + std::to_string(category)), "RenamedC-01");
    EXPECT_EQ(Query("SELECT COUNT(*) FROM items"), 3);
}

// An item moves between categories and back, with price and value changes in between: each step
// leaves every total of the chain right, and the move keeps the item's sort order.
TEST_F(RollUp, ChainAcrossMovesBetweenCategories)
{
    const GS::Int32 a = AddCategory("A");
    const GS::Int32 b = AddCategory("B");
    AddQty(AddItem(a, 1.0), 7.0);
    const GS::Int32 mover = AddItem(a, 2.0);
    const GS::Int32 moverQty = AddQty(mover, 1.5);
    AddItem(b, 3.0);
    struct Step {
        GS::Int32 category;  // the mover's after the step
        double price, value, totalA, totalB;
    };
    const std::vector<Step> steps = {
        {b, 2.0, 1.5, 7.0, 3.0}, {b, 2.0, 2.25, 7.0, 4.5}, {a, 2.0, 2.25, 11.5, 0.0},
        {a, 4.0, 2.25, 16.0, 0.0}, {a, 4.0, 0.0, 7.0, 0.0}, {b, 2.0, 10.0, 7.0, 20.0},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        Qty qty = QtiesTable().findById(moverQty);
        qty.setDouble("value", step.value);
        ASSERT_TRUE(QtiesTable().save(qty));
        Item item = ItemsTable().findById(mover);
        item.setInt("category_id", step.category);
        item.setDouble("price", step.price);
        item.setDouble("qty", 1000.0);  // a stale derived value is recomputed
        ASSERT_TRUE(ItemsTable().save(item));
        EXPECT_EQ(Get("categories", "total", a), step.totalA) << "step " << i;
        EXPECT_EQ(Get("categories", "total", b), step.totalB) << "step " << i;
        EXPECT_EQ(Get("items", "qty", mover), step.value) << "step " << i;
    }
    EXPECT_EQ(Get("items", "sort_order", mover), 2);
}

}  // namespace
