#include <stdexcept>

#include "DatabaseTestSupport.hpp"

namespace {

using Rows = std::vector<std::pair<int, int>>;

class TablePersistence : public DatabaseTest {};

TEST_F(TablePersistence, NewCategoryWithOnlyATitle)
{
    Category category;
    category.setString("title", "Masonry");
    category.setInt("sort_order", 99);  // beforeSave decides
    ASSERT_TRUE(CategoriesTable().save(category));

    EXPECT_FALSE(category.isNew);
    EXPECT_EQ(category.getInt("id"), QueryInt("SELECT MAX(id) FROM categories"));
    Category stored = CategoriesTable().findById(category.getInt("id"));
    EXPECT_FALSE(stored.isNew);
    EXPECT_EQ(stored.getString("title"), GS::UniString("Masonry"));
    EXPECT_EQ(stored.getString("code"), GS::UniString(""));
    EXPECT_EQ(stored.getString("descript"), GS::UniString(""));
    EXPECT_EQ(stored.getInt("sort_order"), 2);  // after the default category
    EXPECT_EQ(stored.getDouble("total"), 0.0);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM categories WHERE code IS NULL OR descript IS NULL"), 0);
    EXPECT_TRUE(Db().isChanged());
}

TEST_F(TablePersistence, UpdateWritesEveryColumnAndKeepsTheRow)
{
    const GS::Int32 id = AddCategory("Before");
    Category category = CategoriesTable().findById(id);
    category.setString("title", "After");
    category.setString("code", "C-01");
    category.setString("descript", "Long text");
    ASSERT_TRUE(CategoriesTable().save(category));
    Category stored = CategoriesTable().findById(id);
    EXPECT_EQ(stored.getString("title"), GS::UniString("After"));
    EXPECT_EQ(stored.getString("code"), GS::UniString("C-01"));
    EXPECT_EQ(stored.getString("descript"), GS::UniString("Long text"));
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM categories"), 2);
}

TEST_F(TablePersistence, SavingARowThatIsGoneChangesNothing)
{
    const GS::Int32 categoryId = AddCategory("Kept");
    const GS::Int32 itemId = AddItem(categoryId, 2.0);
    AddQty(itemId, 5.0);
    StoreNow();

    Item ghost;
    ghost.isNew = false;
    ghost.setInt("id", 4242);
    ghost.setInt("category_id", categoryId);
    ghost.setDouble("price", 100.0);
    EXPECT_FALSE(ItemsTable().save(ghost));
    EXPECT_FALSE(Db().isChanged());
    // No afterSave ran: the category still has the total of its real item.
    EXPECT_DOUBLE_EQ(CategoriesTable().findById(categoryId).getDouble("total"), 10.0);
}

TEST_F(TablePersistence, RemovingWithoutIdRemovesNothing)
{
    StoreNow();
    Category nothing;
    nothing.isNew = false;
    EXPECT_FALSE(CategoriesTable().remove(nothing));
    EXPECT_FALSE(Db().isChanged());
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM categories"), 1);
}

TEST_F(TablePersistence, OldCategoryIdIsNeverAColumn)
{
    const GS::Int32 first = AddCategory("A");
    const GS::Int32 second = AddCategory("B");
    Item item = ItemsTable().findById(AddItem(first, 1.0));
    item.setInt("category_id", second);
    ASSERT_TRUE(ItemsTable().save(item));
    EXPECT_EQ(item.getInt("__oldCategoryId"), first);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM pragma_table_info('items') WHERE name = '__oldCategoryId'"), 0);
}

TEST_F(TablePersistence, QueriesOnEmptyAndMissingRows)
{
    EXPECT_EQ(ItemsTable().findAll().GetSize(), 0u);
    EXPECT_EQ(QtiesTable().findWhere("item_id", 12).GetSize(), 0u);

    const GS::Int32 id = AddCategory("Gone soon");
    Category category = CategoriesTable().findById(id);
    ASSERT_TRUE(CategoriesTable().remove(category));
    try {
        CategoriesTable().findById(id);
        FAIL() << "findById of a deleted row must throw";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Entity not found");
    }
}

TEST_F(TablePersistence, FindAllAndFindWhereKeyRowsById)
{
    const GS::Int32 categoryId = AddCategory("C");
    const GS::Int32 itemA = AddItem(categoryId, 1.0);
    const GS::Int32 itemB = AddItem(categoryId, 1.0);
    const GS::Int32 q1 = AddQty(itemA, 1.0);
    const GS::Int32 q2 = AddQty(itemA, 2.0);
    AddQty(itemB, 3.0);

    auto all = QtiesTable().findAll();
    EXPECT_EQ(all.GetSize(), 3u);
    auto ofA = QtiesTable().findWhere("item_id", itemA);
    ASSERT_EQ(ofA.GetSize(), 2u);
    EXPECT_DOUBLE_EQ(ofA.Get(q1).getDouble("value"), 1.0);
    EXPECT_DOUBLE_EQ(ofA.Get(q2).getDouble("value"), 2.0);
    EXPECT_FALSE(ofA.Get(q1).isNew);
    EXPECT_EQ(ofA.Get(q2).getInt("sort_order"), 2);
}

TEST_F(TablePersistence, NullTextLoadsAsEmptyText)
{
    Db().execSql("INSERT INTO categories (title, sort_order, descript, total) VALUES (NULL, 2, NULL, 0)");
    const GS::Int32 id = static_cast<GS::Int32>(QueryInt("SELECT MAX(id) FROM categories"));
    Db().execSql(GS::UniString("UPDATE categories SET code = NULL WHERE id = ") + GS::UniString(std::to_string(id)));
    Category category = CategoriesTable().findById(id);
    EXPECT_EQ(category.getString("title"), GS::UniString(""));
    EXPECT_EQ(category.getString("code"), GS::UniString(""));
    EXPECT_EQ(category.getString("descript"), GS::UniString(""));
}

TEST_F(TablePersistence, NonAsciiTextAndApostrophesAreBoundNotSpliced)
{
    Item item;
    item.setInt("category_id", 1);
    item.setString("descript", GS::UniString("Beton C25/30 \xE2\x80\x93 O'Brien's \xC3\x84rger \xE6\x9D\xB1\xE4\xBA\xAC", CC_UTF8));
    item.setString("unit", GS::UniString("m\xC2\xB3", CC_UTF8));
    ASSERT_TRUE(ItemsTable().save(item));
    Item stored = ItemsTable().findById(item.getInt("id"));
    EXPECT_EQ(stored.getString("descript"), item.getString("descript"));
    EXPECT_EQ(stored.getString("unit"), item.getString("unit"));
}

TEST_F(TablePersistence, FailedInsertIsReportedAndTheEntityStaysNew)
{
    Db().execSql("CREATE TRIGGER refuse BEFORE INSERT ON qties BEGIN SELECT RAISE(ABORT, 'refused by trigger'); END;");
    Qty qty;
    qty.setInt("item_id", 1);
    EXPECT_FALSE(QtiesTable().save(qty));
    EXPECT_TRUE(qty.isNew);
    EXPECT_EQ(qty.getInt("id"), 0);
    EXPECT_NE(debugOutput.find("Error saving entity: refused by trigger\n"), std::string::npos) << debugOutput;
}

// The one hook a table never refuses; this stand-in refuses to check the generic contract.
class RefusingCategories : public CategoriesTable {
public:
    bool beforeSave(Category&) override { return false; }
    bool beforeDelete(Category&) override { return false; }
};

TEST_F(TablePersistence, RefusingHooksStopTheWrite)
{
    StoreNow();
    Category category;
    category.setString("title", "Refused");
    EXPECT_FALSE(RefusingCategories().save(category));
    EXPECT_TRUE(category.isNew);
    Category existing = CategoriesTable().findById(1);
    EXPECT_FALSE(RefusingCategories().remove(existing));
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM categories"), 1);
    EXPECT_FALSE(Db().isChanged());
    EXPECT_EQ(debugOutput, "beforeSave failed, entity not saved.\nbeforeDelete failed, entity not deleted.\n");
}

class DenseSortOrders : public DatabaseTest {};

TEST_F(DenseSortOrders, FirstChildOfEveryParentIsOne)
{
    Category defaultCategory = CategoriesTable().findById(1);
    ASSERT_TRUE(CategoriesTable().remove(defaultCategory));
    const GS::Int32 a = AddCategory("A");
    EXPECT_EQ(CategoriesTable().findById(a).getInt("sort_order"), 1);
    const GS::Int32 b = AddCategory("B");
    EXPECT_EQ(CategoriesTable().findById(b).getInt("sort_order"), 2);

    const GS::Int32 a1 = AddItem(a, 1.0);
    const GS::Int32 a2 = AddItem(a, 1.0);
    const GS::Int32 b1 = AddItem(b, 1.0);
    EXPECT_EQ(ItemsTable().findById(a1).getInt("sort_order"), 1);
    EXPECT_EQ(ItemsTable().findById(a2).getInt("sort_order"), 2);
    EXPECT_EQ(ItemsTable().findById(b1).getInt("sort_order"), 1);
    EXPECT_EQ(ItemsTable().getMaxSortOrder(a), 2);
    EXPECT_EQ(ItemsTable().getMaxSortOrder(999), 0);

    const GS::Int32 q1 = AddQty(a1, 1.0);
    const GS::Int32 q2 = AddQty(a2, 1.0);
    const GS::Int32 q3 = AddQty(a1, 1.0);
    EXPECT_EQ(QtiesTable().findById(q1).getInt("sort_order"), 1);
    EXPECT_EQ(QtiesTable().findById(q2).getInt("sort_order"), 1);
    EXPECT_EQ(QtiesTable().findById(q3).getInt("sort_order"), 2);
    EXPECT_EQ(QtiesTable().getMaxSortOrder(b1), 0);
}

TEST_F(DenseSortOrders, DeletingACategoryClosesTheGapAndTakesItsTree)
{
    const GS::Int32 second = AddCategory("2");
    const GS::Int32 third = AddCategory("3");
    const GS::Int32 fourth = AddCategory("4");
    const GS::Int32 doomedItem = AddItem(second, 1.0);
    AddQty(doomedItem, 1.0);
    AddQty(doomedItem, 2.0);
    const GS::Int32 keptItem = AddItem(third, 1.0);
    const GS::Int32 keptQty = AddQty(keptItem, 3.0);

    Category category = CategoriesTable().findById(second);
    ASSERT_TRUE(CategoriesTable().remove(category));
    EXPECT_EQ(SortOrders("categories"), (Rows{{1, 1}, {third, 2}, {fourth, 3}}));
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM items"), 1);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM qties"), 1);
    EXPECT_EQ(QueryInt("SELECT id FROM qties"), keptQty);
}

TEST_F(DenseSortOrders, DeletingAnItemRenumbersOnlyItsCategory)
{
    const GS::Int32 a = AddCategory("A");
    const GS::Int32 b = AddCategory("B");
    const GS::Int32 a1 = AddItem(a, 10.0);
    const GS::Int32 a2 = AddItem(a, 1.0);
    const GS::Int32 a3 = AddItem(a, 2.0);
    const GS::Int32 b1 = AddItem(b, 1.0);
    const GS::Int32 b2 = AddItem(b, 1.0);
    AddQty(a1, 1.0);
    AddQty(a2, 5.0);
    AddQty(a3, 3.0);
    AddQty(b2, 1.0);

    Item item = ItemsTable().findById(a1);
    ASSERT_TRUE(ItemsTable().remove(item));
    EXPECT_EQ(SortOrders("items", "category_id = " + std::to_string(a)), (Rows{{a2, 1}, {a3, 2}}));
    EXPECT_EQ(SortOrders("items", "category_id = " + std::to_string(b)), (Rows{{b1, 1}, {b2, 2}}));
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM qties WHERE item_id = " + std::to_string(a1)), 0);
    EXPECT_DOUBLE_EQ(CategoriesTable().findById(a).getDouble("total"), 5.0 + 6.0);
}

TEST_F(DenseSortOrders, DeletingAQuantityRenumbersOnlyItsItemAndRollsUp)
{
    const GS::Int32 c = AddCategory("C");
    const GS::Int32 item = AddItem(c, 2.0);
    const GS::Int32 other = AddItem(c, 1.0);
    const GS::Int32 q1 = AddQty(item, 1.0);
    const GS::Int32 q2 = AddQty(item, 2.0);
    const GS::Int32 q3 = AddQty(item, 4.0);
    const GS::Int32 o1 = AddQty(other, 1.0);
    const GS::Int32 o2 = AddQty(other, 1.0);

    Qty qty = QtiesTable().findById(q1);
    ASSERT_TRUE(QtiesTable().remove(qty));
    EXPECT_EQ(SortOrders("qties", "item_id = " + std::to_string(item)), (Rows{{q2, 1}, {q3, 2}}));
    EXPECT_EQ(SortOrders("qties", "item_id = " + std::to_string(other)), (Rows{{o1, 1}, {o2, 2}}));
    Item rolled = ItemsTable().findById(item);
    EXPECT_DOUBLE_EQ(rolled.getDouble("qty"), 6.0);
    EXPECT_DOUBLE_EQ(rolled.getDouble("total"), 12.0);
    EXPECT_DOUBLE_EQ(CategoriesTable().findById(c).getDouble("total"), 12.0 + 2.0);
}

TEST_F(DenseSortOrders, ReorderGivesPositionsAndMarksChanged)
{
    Category defaultCategory = CategoriesTable().findById(1);
    ASSERT_TRUE(CategoriesTable().remove(defaultCategory));
    std::vector<GS::Int32> ids;
    for (int i = 0; i < 7; ++i)
        ids.push_back(AddCategory("x"));
    StoreNow();

    GS::Array<GS::Int32> order;
    order.Push(ids[6]);
    order.Push(ids[2]);
    order.Push(ids[4]);
    EXPECT_TRUE(CategoriesTable().updateSortOrders(order));
    EXPECT_EQ(CategoriesTable().findById(ids[6]).getInt("sort_order"), 1);
    EXPECT_EQ(CategoriesTable().findById(ids[2]).getInt("sort_order"), 2);
    EXPECT_EQ(CategoriesTable().findById(ids[4]).getInt("sort_order"), 3);
    EXPECT_TRUE(Db().isChanged());

    StoreNow();
    EXPECT_TRUE(CategoriesTable().updateSortOrders(GS::Array<GS::Int32>()));
    GS::Array<GS::Int32> unknown;
    unknown.Push(9999);
    EXPECT_TRUE(CategoriesTable().updateSortOrders(unknown));
    EXPECT_FALSE(Db().isChanged());
}

TEST_F(DenseSortOrders, ReorderOfItemsAndQuantitiesAndTheOrderedLists)
{
    const GS::Int32 c = AddCategory("C");
    const GS::Int32 i1 = AddItem(c, 1.0, "first");
    const GS::Int32 i2 = AddItem(c, 1.0, "second");
    const GS::Int32 i3 = AddItem(c, 1.0, "third");
    GS::Array<GS::Int32> order;
    order.Push(i3);
    order.Push(i1);
    order.Push(i2);
    ASSERT_TRUE(ItemsTable().updateSortOrders(order));
    GS::Array<Item> items = ItemsTable().getByCategory(c);
    ASSERT_EQ(items.GetSize(), 3u);
    EXPECT_EQ(items[0].getString("code"), GS::UniString("third"));
    EXPECT_EQ(items[1].getString("code"), GS::UniString("first"));
    EXPECT_EQ(items[2].getString("code"), GS::UniString("second"));

    const GS::Int32 q1 = AddQty(i1, 1.0);
    const GS::Int32 q2 = AddQty(i1, 1.0);
    GS::Array<GS::Int32> qtyOrder;
    qtyOrder.Push(q2);
    qtyOrder.Push(q1);
    ASSERT_TRUE(QtiesTable().updateSortOrders(qtyOrder));
    EXPECT_EQ(SortOrders("qties"), (Rows{{q2, 1}, {q1, 2}}));

    GS::Array<GS::Int32> categoryOrder;
    categoryOrder.Push(c);
    categoryOrder.Push(1);
    ASSERT_TRUE(CategoriesTable().updateSortOrders(categoryOrder));
    GS::Array<Category> categories = CategoriesTable().getAll();
    ASSERT_EQ(categories.GetSize(), 2u);
    EXPECT_EQ(categories[0].getInt("id"), c);
    EXPECT_EQ(categories[1].getInt("id"), 1);
}

TEST_F(DenseSortOrders, ReorderFailureIsReported)
{
    struct Case {
        std::function<bool()> reorder;
        const char* message;
    };
    GS::Array<GS::Int32> ids;
    ids.Push(1);
    const std::vector<Case> cases = {
        {[&] { return CategoriesTable().updateSortOrders(ids); }, "Error in CategoriesTable::updateSortOrders: no such table: categories\n"},
        {[&] { return ItemsTable().updateSortOrders(ids); }, "Error in ItemsTable::updateSortOrders: no such table: items\n"},
        {[&] { return QtiesTable().updateSortOrders(ids); }, "Error in QtiesTable::updateSortOrders: no such table: qties\n"},
    };
    Db().execSql("DROP TABLE categories; DROP TABLE items; DROP TABLE qties;");
    for (const Case& c : cases) {
        debugOutput.clear();
        EXPECT_FALSE(c.reorder());
        EXPECT_EQ(debugOutput, c.message);
    }
}

TEST_F(DenseSortOrders, ReorderStoppedPartWayKeepsWhatWasWritten)
{
    const GS::Int32 c = AddCategory("C");
    const GS::Int32 i1 = AddItem(c, 1.0);
    const GS::Int32 i2 = AddItem(c, 1.0);
    const GS::Int32 i3 = AddItem(c, 1.0);
    Db().execSql(GS::UniString("CREATE TRIGGER stop BEFORE UPDATE OF sort_order ON items WHEN OLD.id = ") +
                 GS::UniString(std::to_string(i1)) + " BEGIN SELECT RAISE(ABORT, 'stopped'); END;");
    StoreNow();
    GS::Array<GS::Int32> order;
    order.Push(i3);
    order.Push(i1);
    order.Push(i2);
    EXPECT_FALSE(ItemsTable().updateSortOrders(order));
    EXPECT_EQ(debugOutput, "Error in ItemsTable::updateSortOrders: stopped\n");
    EXPECT_EQ(ItemsTable().findById(i3).getInt("sort_order"), 1);
    EXPECT_EQ(ItemsTable().findById(i1).getInt("sort_order"), 1);
    EXPECT_EQ(ItemsTable().findById(i2).getInt("sort_order"), 2);
    EXPECT_TRUE(Db().isChanged());
}

TEST_F(DenseSortOrders, MovedItemKeepsItsNumberAndBothCategoriesRollUp)
{
    const GS::Int32 from = AddCategory("From");
    const GS::Int32 to = AddCategory("To");
    AddItem(from, 1.0);
    const GS::Int32 moving = AddItem(from, 3.0);
    AddItem(to, 1.0);
    AddQty(moving, 2.0);
    EXPECT_DOUBLE_EQ(CategoriesTable().findById(from).getDouble("total"), 6.0);

    Item item = ItemsTable().findById(moving);
    item.setInt("category_id", to);
    ASSERT_TRUE(ItemsTable().save(item));
    EXPECT_EQ(ItemsTable().findById(moving).getInt("sort_order"), 2);
    EXPECT_DOUBLE_EQ(CategoriesTable().findById(from).getDouble("total"), 0.0);
    EXPECT_DOUBLE_EQ(CategoriesTable().findById(to).getDouble("total"), 6.0);
}

TEST_F(DenseSortOrders, AfterDeleteFailureIsReportedAndTheRowStaysDeleted)
{
    const GS::Int32 c = AddCategory("C");
    const GS::Int32 item = AddItem(c, 1.0);
    AddQty(item, 1.0);
    Db().execSql("CREATE TRIGGER keep BEFORE DELETE ON qties BEGIN SELECT RAISE(ABORT, 'kept by trigger'); END;");
    Item doomed = ItemsTable().findById(item);
    EXPECT_TRUE(ItemsTable().remove(doomed));
    EXPECT_EQ(debugOutput, "Error in ItemsTable::afterDelete: kept by trigger\n");
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM items WHERE id = " + std::to_string(item)), 0);
}

// A panel may hold a copy that was read before a reorder or a move; deleting it must still
// close the gap where the row really is.
class StaleCopies : public DatabaseTest {};

TEST_F(StaleCopies, DeletingAStaleCategoryKeepsSortOrdersDense)
{
    const GS::Int32 b = AddCategory("B");
    const GS::Int32 c = AddCategory("C");
    Category stale = CategoriesTable().findById(1);  // sort order 1 in this copy
    GS::Array<GS::Int32> order;
    order.Push(b);
    order.Push(c);
    order.Push(1);
    ASSERT_TRUE(CategoriesTable().updateSortOrders(order));
    ASSERT_TRUE(CategoriesTable().remove(stale));
    EXPECT_EQ(SortOrders("categories"), (Rows{{b, 1}, {c, 2}}));
}

TEST_F(StaleCopies, DeletingAStaleItemClosesTheGapInItsRealCategory)
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
    ASSERT_TRUE(ItemsTable().save(moved));  // keeps sort order 2, now in A
    GS::Array<GS::Int32> orderA;
    orderA.Push(b2);
    orderA.Push(a1);
    orderA.Push(a2);
    ASSERT_TRUE(ItemsTable().updateSortOrders(orderA));

    ASSERT_TRUE(ItemsTable().remove(stale));
    EXPECT_EQ(SortOrders("items", "category_id = " + std::to_string(a)), (Rows{{a1, 1}, {a2, 2}}));
    // The move itself left B's numbers alone; the delete must not touch them either.
    EXPECT_EQ(SortOrders("items", "category_id = " + std::to_string(b)), (Rows{{b1, 1}, {b3, 3}}));
    EXPECT_DOUBLE_EQ(CategoriesTable().findById(a).getDouble("total"), 0.0);
    EXPECT_DOUBLE_EQ(CategoriesTable().findById(b).getDouble("total"), 2.0);
}

TEST_F(StaleCopies, DeletingAStaleQuantityKeepsSortOrdersDense)
{
    const GS::Int32 c = AddCategory("C");
    const GS::Int32 item = AddItem(c, 1.0);
    const GS::Int32 q1 = AddQty(item, 1.0);
    const GS::Int32 q2 = AddQty(item, 2.0);
    const GS::Int32 q3 = AddQty(item, 4.0);
    Qty stale = QtiesTable().findById(q1);
    GS::Array<GS::Int32> order;
    order.Push(q2);
    order.Push(q3);
    order.Push(q1);
    ASSERT_TRUE(QtiesTable().updateSortOrders(order));
    ASSERT_TRUE(QtiesTable().remove(stale));
    EXPECT_EQ(SortOrders("qties"), (Rows{{q2, 1}, {q3, 2}}));
    EXPECT_DOUBLE_EQ(ItemsTable().findById(item).getDouble("qty"), 6.0);
}

TEST_F(StaleCopies, SavingAStaleCategoryKeepsTheRealTotal)
{
    const GS::Int32 c = AddCategory("C");
    const GS::Int32 item = AddItem(c, 2.0);
    AddQty(item, 1.0);
    Category stale = CategoriesTable().findById(c);
    EXPECT_DOUBLE_EQ(stale.getDouble("total"), 2.0);
    AddQty(item, 4.0);
    EXPECT_DOUBLE_EQ(CategoriesTable().findById(c).getDouble("total"), 10.0);

    stale.setString("title", "Renamed");
    ASSERT_TRUE(CategoriesTable().save(stale));
    Category stored = CategoriesTable().findById(c);
    EXPECT_EQ(stored.getString("title"), GS::UniString("Renamed"));
    EXPECT_DOUBLE_EQ(stored.getDouble("total"), 10.0);
}

}  // namespace
