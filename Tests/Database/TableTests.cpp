#include <algorithm>
#include <stdexcept>
#include <tuple>

#include "DatabaseTestSupport.hpp"

namespace {

class RefusingCategories : public CategoriesTable {
public:
    bool beforeSave(Category&) override { return false; }
    bool beforeDelete(Category&) override { return false; }
};

// A new category with only a title is written with empty texts, a zero total and the sort order
// beforeSave chose; it then holds its row id. Writes that match no row, rows whose parent does not
// exist, and refusing hooks change nothing and run no hook; a failed insert and a failed cascade
// are reported on the debug output.
class TablePersistence : public DatabaseTest {};

TEST_F(TablePersistence, WritesReadsAndRefusals)
{
    Category category = CategoriesTable().findById(1);
    ASSERT_TRUE(CategoriesTable().remove(category));
    category = Category();
    category.setString("title", "Masonry");
    category.setInt("sort_order", 99);  // the first of an empty table gets 1
    ASSERT_TRUE(CategoriesTable().save(category));
    EXPECT_FALSE(category.isNew);
    EXPECT_EQ(category.getInt("id"), 2);
    EXPECT_EQ(Query("SELECT COUNT(*) FROM categories WHERE id = 2 AND title = 'Masonry' AND code = '' "
                    "AND descript = '' AND sort_order = 1 AND total = 0.0"), 1);
    AddItem(2, 1.0, {1.0, 2.0});
    AddItem(2, 1.0, {3.0});
    EXPECT_EQ(QtiesTable().findAll().GetSize(), 3u);
    auto ofFirst = QtiesTable().findWhere("item_id", 1);
    ASSERT_EQ(ofFirst.GetSize(), 2u);
    EXPECT_EQ(ofFirst.Get(2).getDouble("value"), 2.0);
    EXPECT_FALSE(ofFirst.Get(1).isNew);
    Db().execSql("UPDATE categories SET code = NULL, total = 1.0");  // as the XLSX import leaves it; a roll-up would show
    EXPECT_EQ(CategoriesTable().findById(2).getString("code"), GS::UniString());

    StoreNow();
    Item ghost;
    ghost.isNew = false;
    ghost.setInt("id", 4242);
    ghost.setInt("category_id", 2);
    EXPECT_FALSE(ItemsTable().save(ghost));
    Item orphan, moved = ItemsTable().findById(1);
    orphan.setInt("category_id", 7);
    moved.setInt("category_id", 7);
    Qty orphanQty, movedQty = QtiesTable().findById(1);
    orphanQty.setInt("item_id", 4242);
    movedQty.setInt("item_id", 4242);
    EXPECT_FALSE(ItemsTable().save(orphan));
    EXPECT_FALSE(ItemsTable().save(moved));
    EXPECT_FALSE(QtiesTable().save(orphanQty));
    EXPECT_FALSE(QtiesTable().save(movedQty));
    EXPECT_TRUE(orphan.isNew);
    EXPECT_EQ(QueryText("SELECT (SELECT group_concat(category_id) FROM items) || '/' || group_concat(item_id) FROM qties"), "2,2/1,1,2");
    const std::string refused = "beforeSave failed, entity not saved.\n";
    EXPECT_EQ(debugOutput, refused + refused + refused + refused);
    debugOutput.clear();
    Category withoutId;
    withoutId.isNew = false;
    EXPECT_FALSE(CategoriesTable().remove(withoutId));
    EXPECT_EQ(Get("categories", "total", 2), 1.0);
    category.setString("title", "Refused");
    EXPECT_FALSE(RefusingCategories().save(category));
    EXPECT_FALSE(RefusingCategories().remove(category));
    EXPECT_EQ(QueryText("SELECT group_concat(title || sort_order) FROM categories"), "Masonry1");
    EXPECT_FALSE(Db().isChanged());
    EXPECT_EQ(debugOutput, "beforeSave failed, entity not saved.\nbeforeDelete failed, entity not deleted.\n");

    Qty gone = QtiesTable().findById(3);
    ASSERT_TRUE(QtiesTable().remove(gone));
    EXPECT_THROW(QtiesTable().findById(3), std::runtime_error);
}

// A panel may hold a copy read before a reorder or a move: deleting it must still close the gap
// where the row really is, and take what hangs below it.
class DenseSortOrders : public DatabaseTest {};

TEST_F(DenseSortOrders, DeletingStaleCopiesOfAnItemAndACategory)
{
    const GS::Int32 a = AddCategory("A"), b = AddCategory("B"), c = AddCategory("C");
    const GS::Int32 a1 = AddItem(a, 1.0, {3.0}), a2 = AddItem(a, 1.0);
    const GS::Int32 b1 = AddItem(b, 1.0), b2 = AddItem(b, 4.0, {1.0}), b3 = AddItem(b, 1.0, {2.0});
    Item staleItem = ItemsTable().findById(b2);              // category B, sort order 2 in this copy
    Category staleCategory = CategoriesTable().findById(b);  // sort order 3 in this copy
    Item moved = staleItem;
    moved.setInt("category_id", a);
    ASSERT_TRUE(ItemsTable().save(moved));
    EXPECT_EQ(Get("items", "sort_order", b2), 2);  // kept, now in A
    ASSERT_TRUE(ItemsTable().updateSortOrders({b2, a1, a2}));
    ASSERT_TRUE(ItemsTable().remove(staleItem));
    // B keeps the gap the move left; the delete does not touch it.
    EXPECT_EQ(SortOrders("items"), (Rows{{a1, 1}, {b1, 1}, {a2, 2}, {b3, 3}}));
    EXPECT_EQ(QueryText("SELECT group_concat(total, ' ') FROM categories"), "0.0 3.0 2.0 0.0");
    ASSERT_TRUE(CategoriesTable().updateSortOrders({b, 1, a, c}));
    ASSERT_TRUE(CategoriesTable().remove(staleCategory));
    EXPECT_EQ(SortOrders("categories"), (Rows{{1, 1}, {a, 2}, {c, 3}}));
    EXPECT_EQ(QueryText("SELECT group_concat(category_id) || '/' || (SELECT group_concat(value) FROM qties) FROM items"), "2,2/3.0");
}

// A reorder gives the ids positions 1..n, and marks the database changed so the order is stored.
TEST_F(DenseSortOrders, Reorders)
{
    const GS::Int32 c = AddCategory("C");
    const GS::Int32 i1 = AddItem(c, 1.0, {1.0, 1.0}), i2 = AddItem(c, 1.0), i3 = AddItem(c, 1.0);
    StoreNow();
    EXPECT_TRUE(CategoriesTable().updateSortOrders({}));
    EXPECT_TRUE(CategoriesTable().updateSortOrders({9999}));
    EXPECT_FALSE(Db().isChanged());
    ASSERT_TRUE(ItemsTable().updateSortOrders({i3, i1, i2}));
    EXPECT_TRUE(Db().isChanged());
    ASSERT_TRUE(QtiesTable().updateSortOrders({2, 1}));
    ASSERT_TRUE(CategoriesTable().updateSortOrders({c, 1}));
    Db().close();
    Db().reopen();
    EXPECT_EQ(CategoriesTable().getAll()[0].getInt("id"), c);
    std::vector<GS::Int32> items;
    for (const Item& item : ItemsTable().getByCategory(c))
        items.push_back(item.getInt("id"));
    EXPECT_EQ(items, (std::vector<GS::Int32>{i3, i1, i2}));
    EXPECT_EQ(SortOrders("qties"), (Rows{{2, 1}, {1, 2}}));
}

// Saving or removing many quantities at once stores what doing it one by one does (removing the
// highest sort order first, as the panel does), also where sort orders have gaps, ties or values
// the tables never write; a batch that fails leaves the estimate as it was.
class QuantityBatches : public DatabaseTest {
protected:
    struct Batch {
        const char* name;
        std::string setup;
        std::vector<std::pair<GS::Int32, double>> saves;  // (item id, value) of new quantities
        std::vector<GS::Int32> removes;                   // quantity ids as selected
        Rows sortOrders;                                  // the quantities' afterwards
        const char* totals;                               // items' qty/total, then the categories' totals
        std::string afterRead = "";                       // SQL run once the panel's copies are read
    };

    static GS::Array<Qty> NewQties(const std::vector<std::pair<GS::Int32, double>>& values)  // (item id, value)
    {
        GS::Array<Qty> qties;
        for (const auto& [item, value] : values) {
            qties.Push(Qty());
            qties.GetLast().setInt("item_id", item);
            qties.GetLast().setDouble("value", value);
        }
        return qties;
    }

    // Every row, the totals, the next ids, the debug output, the changed flag and what the
    // entities learnt.
    std::string Outcome(const Batch& batch, bool atOnce)
    {
        Db().resetToEmpty();
        Db().execSql(GS::UniString(batch.setup));
        StoreNow();
        debugOutput.clear();
        QtiesTable qties;
        GS::Array<Qty> saved = NewQties(batch.saves), doomed;
        for (GS::Int32 id : batch.removes) {
            doomed.Push(Query("SELECT COUNT(*) FROM qties WHERE id = " + std::to_string(id)) > 0 ? qties.findById(id) : Qty());
            doomed.GetLast().isNew = false;
            doomed.GetLast().setInt("id", id);
        }
        if (!batch.afterRead.empty())
            Db().execSql(GS::UniString(batch.afterRead));
        std::string learnt = "removed";
        if (atOnce) {
            qties.saveAll(saved);
            for (GS::Int32 id : qties.removeAll(doomed))
                learnt += " " + std::to_string(id);
        } else {
            for (Qty& qty : saved)
                qties.save(qty);
            std::vector<Qty*> order;
            for (Qty& qty : doomed)
                order.push_back(&qty);
            std::stable_sort(order.begin(), order.end(), [](const Qty* a, const Qty* b) {
                return a->getInt("sort_order") > b->getInt("sort_order");
            });
            for (Qty* qty : order)
                if (qties.remove(*qty))
                    learnt += " " + std::to_string(qty->getInt("id"));
        }
        for (const GS::Array<Qty>* entities : {&saved, &doomed})
            for (const Qty& qty : *entities)
                learnt += std::string(qty.isNew ? " new" : " ") + std::to_string(qty.getInt("id")) + "@" +
                          std::to_string(qty.getInt("sort_order"));
        // The dump writes six decimals; the totals go in with all their digits.
        return Dump() + QueryText("SELECT group_concat(printf('%.17g %.17g', qty, total), ' ') FROM items") +
               QueryText("SELECT group_concat(printf(' %.17g', total), '') FROM categories") + "\n" +
               QueryText("SELECT group_concat(name || seq, ' ') FROM sqlite_sequence") + "\n" + debugOutput +
               (Db().isChanged() ? "changed\n" : "unchanged\n") + learnt;
    }
};

// (id, category_id, sort_order, price) and (id, item_id, sort_order, value) rows.
std::string Items(const std::string& rows)
{
    return "INSERT INTO items (id, category_id, sort_order, price, qty, total) "
           "SELECT column1, column2, column3, column4, 0.0, 0.0 FROM (VALUES " + rows + ");";
}

std::string Qties(const std::string& rows)
{
    return "INSERT INTO qties (id, item_id, sort_order, value) VALUES " + rows + ";";
}

TEST_F(QuantityBatches, StoreWhatOneByOneStores)
{
    const std::string item1 = Items("(1, 1, 1, 1.0)");
    const std::string twoItems = Items("(1, 1, 1, 1.0), (2, 1, 2, 2.0)");
    const std::string fiveQties =
        Qties("(1, 1, 1, 1.0), (2, 1, 2, 2.0), (3, 1, 3, 3.0), (4, 1, 4, 4.0), (5, 1, 5, 5.0)");
    const std::vector<Batch> batches = {
        {"a new item's first quantities, rounded",
         Items("(1, 1, 1, 10.5), (2, 1, 2, 1.0)") + Qties("(1, 2, 1, 0.1)") +
             "UPDATE items SET qty = 0.1, total = 0.1 WHERE id = 2;",
         {{1, 1.234}, {1, 2.345}, {1, 0.125}}, {}, {{1, 1}, {2, 1}, {3, 2}, {4, 3}}, "3.7/38.85 0.1/0.1 38.95"},
        {"after a gap and a tie", item1 + Qties("(1, 1, 1, 1.0), (2, 1, 3, 1.0), (3, 1, 3, 1.0)"),
         {{1, 0.5}, {1, 0.25}}, {}, {{1, 1}, {2, 3}, {3, 3}, {4, 4}, {5, 5}}, "3.75/3.75 3.75"},
        {"two items in turns", twoItems + Qties("(1, 1, 1, 1.0)"), {{2, 1.0}, {1, 1.0}, {2, 1.0}, {1, 1.0}}, {},
         {{1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 3}}, "3.0/3.0 2.0/4.0 7.0"},
        {"an insert refused",
         item1 + "CREATE TRIGGER refuse BEFORE INSERT ON qties WHEN NEW.value = 13 "
                 "BEGIN SELECT RAISE(ABORT, 'refused'); END;",
         {{1, 1.0}, {1, 13.0}, {1, 2.0}}, {}, {{1, 1}, {2, 2}}, "3.0/3.0 3.0"},
        // The highest of item 1 is the text, read as 0; item 2's is 2.5, read as 2.
        {"sort orders the tables never write",
         twoItems + Qties("(1, 1, 2.5, 1.0), (2, 1, 'x', 1.0), (3, 1, NULL, 1.0), (4, 2, 2.5, 1.0)"),
         {{1, 1.0}, {1, 1.0}, {2, 1.0}, {2, 1.0}}, {},
         {{3, 0}, {5, 1}, {6, 1}, {1, 2}, {4, 2}, {7, 3}, {8, 4}, {2, 0}}, "5.0/5.0 3.0/6.0 11.0"},
        {"a quantity of no item is refused", "", {{777, 50.0}}, {}, {}, "0.0"},
        {"rows 2 and 4 of five", item1 + fiveQties, {}, {2, 4}, {{1, 1}, {3, 2}, {5, 3}}, "9.0/9.0 9.0"},
        // 7 goes first, then 2 lowers 5 and 6 by one, then 3 lowers only 6, which is above it now.
        {"shared sort orders",
         item1 + Qties("(1, 1, 1, 1.0), (2, 1, 2, 1.0), (3, 1, 2, 1.0), (4, 1, 2, 1.0), (5, 1, 3, 1.0), "
                       "(6, 1, 4, 1.0), (7, 1, 5, 1.0)"),
         {}, {2, 3, 7}, {{1, 1}, {4, 2}, {5, 2}, {6, 2}}, "4.0/4.0 4.0"},
        {"numbers below one", item1 + Qties("(1, 1, -1, 1.0), (2, 1, 0, 1.0), (3, 1, 0, 1.0), (4, 1, 7, 1.0)"), {},
         {3, 1}, {{2, -1}, {4, 5}}, "2.0/2.0 2.0"},
        {"two items, one quantity gone already",
         twoItems + fiveQties + "UPDATE qties SET item_id = 2, sort_order = sort_order - 3 WHERE id > 3;", {},
         {1, 999, 4}, {{2, 1}, {5, 1}, {3, 2}}, "5.0/5.0 5.0/10.0 15.0"},
        // A panel's copy read before a reorder: the gap is closed where the row really is.
        {"a copy read before a reorder",
         Items("(1, 1, 1, 2.0), (2, 1, 2, 1.0)") +
             Qties("(1, 1, 1, 1.0), (2, 1, 2, 2.0), (3, 1, 3, 4.0), (4, 2, 1, 1.0), (5, 2, 2, 1.0), (6, 2, 3, 1.0), (7, 2, 4, 1.0)"),
         {}, {1}, {{2, 1}, {4, 1}, {3, 2}, {5, 2}, {6, 3}, {7, 4}}, "6.0/12.0 0.0/0.0 12.0",
         "UPDATE qties SET sort_order = CASE sort_order WHEN 1 THEN 3 ELSE sort_order - 1 END WHERE item_id = 1;"},
        {"sort orders the tables never write, removed",
         item1 + Qties("(1, 1, 1, 1.0), (2, 1, 2.5, 1.0), (3, 1, 3, 1.0), (4, 1, NULL, 1.0)"), {}, {1},
         {{4, 0}, {2, 1}, {3, 2}}, "3.0/3.0 3.0"},
    };
    for (const Batch& batch : batches) {
        const std::string oneByOne = Outcome(batch, false);
        EXPECT_EQ(Outcome(batch, true), oneByOne) << batch.name;
        EXPECT_EQ(SortOrders("qties"), batch.sortOrders) << batch.name;
        EXPECT_EQ(QueryText("SELECT group_concat(x, ' ') FROM (SELECT qty || '/' || total AS x FROM items "
                            "UNION ALL SELECT total FROM categories)"),
                  batch.totals)
            << batch.name;
    }
}

TEST_F(QuantityBatches, AFailureUndoesTheBatch)
{
    Db().execSql(GS::UniString(
        Items("(1, 1, 1, 1.0)") + Qties("(1, 1, 1, 1.0), (2, 1, 2, 2.0), (3, 1, 3, 3.0)") +
        "CREATE TRIGGER stop_gaps BEFORE UPDATE OF sort_order ON qties BEGIN SELECT RAISE(ABORT, 'stopped'); END;"
        "CREATE TRIGGER stop_totals BEFORE UPDATE OF qty ON items BEGIN SELECT RAISE(ABORT, 'stopped'); END;"));
    const std::string before = Dump();
    QtiesTable qties;
    GS::Array<Qty> batch = {qties.findById(1)};
    EXPECT_THROW(qties.removeAll(batch), std::exception);
    batch = NewQties({{1, 0.0}, {1, 0.0}});
    EXPECT_THROW(qties.saveAll(batch), std::exception);
    EXPECT_EQ(Dump(), before);
    EXPECT_EQ(debugOutput, "");

    // The table is itself again: a save rolls up at once.
    Db().execSql("DROP TRIGGER stop_totals");
    Qty qty = NewQties({{1, 4.0}})[0];
    ASSERT_TRUE(qties.save(qty));
    EXPECT_EQ(qty.getInt("sort_order"), 4);
    EXPECT_EQ(Get("items", "qty", 1), 10.0);

    // A refusal that ends the transaction takes the batch's earlier rows with it; the later ones
    // still number on from what is stored, and the batch reports the failure.
    Db().execSql("CREATE TRIGGER end_all BEFORE INSERT ON qties WHEN NEW.value = 13 "
                 "BEGIN SELECT RAISE(ROLLBACK, 'ended'); END;");
    batch = NewQties({{1, 1.0}, {1, 13.0}, {1, 3.0}});
    EXPECT_THROW(qties.saveAll(batch), std::exception);
    EXPECT_EQ(SortOrders("qties"), (Rows{{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}}));
    EXPECT_EQ(Get("items", "qty", 1), 13.0);

    // Alone, the refused quantity stays new; a cascade that fails once the item's row is gone is reported.
    qty = NewQties({{1, 13.0}})[0];
    EXPECT_FALSE(qties.save(qty));
    EXPECT_TRUE(qty.isNew);
    EXPECT_EQ(qty.getInt("id"), 0);
    Db().execSql("CREATE TRIGGER keep BEFORE DELETE ON qties BEGIN SELECT RAISE(ABORT, 'kept'); END;");
    Item doomed = ItemsTable().findById(1);
    EXPECT_TRUE(ItemsTable().remove(doomed));
    EXPECT_EQ(Query("SELECT COUNT(*) FROM items"), 0);
    EXPECT_EQ(debugOutput, "Error saving entity: ended\nError saving entity: ended\nError in ItemsTable::afterDelete: kept\n");
}

class RollUp : public DatabaseTest {};

TEST_F(RollUp, ItemsAreRoundedToCentsAndCategoriesSumThem)
{
    const std::vector<std::tuple<std::vector<double>, double, double, double>> cases = {  // values, price, qty, total
        {{1.234, 2.345}, 10.5, 3.58, 37.59},
        {{0.125}, 1.0, 0.13, 0.13},
        {{-0.125}, 1.0, -0.13, -0.13},    // halves away from zero
        {{1.005}, 1.0, 1.0, 1.0},         // 1.005 * 100.0 is just below 100.5 as a double
        {{3.0}, 0.333, 3.0, 1.0},         // the total is rounded after the product...
        {{1.006}, 1000.0, 1.01, 1010.0},  // ...of the rounded qty
        {{}, 99.0, 0.0, 0.0},
        // Sums are compensated as in SQLite 3.43 on: 73.965 exactly, where adding plainly gives 73.96499999999999...
        {{32.414, 33.108, 8.443}, 1.0, 73.97, 73.97},
        {{1e16, 1.0, -1e16}, 1.0, 1.0, 1.0},  // ...and loses the 1.0
    };
    for (const auto& [values, price, qty, total] : cases) {
        const GS::Int32 category = AddCategory("C");
        const GS::Int32 item = AddItem(category, price, values);
        EXPECT_EQ(Get("items", "qty", item), qty) << price;
        EXPECT_EQ(Get("items", "total", item), total) << price;
        EXPECT_EQ(Get("categories", "total", category), total) << price;
    }
    // SUM stays usable over a moving window, as imported SQL may use it.
    EXPECT_EQ(QueryText("SELECT group_concat(s, ' ') FROM (SELECT sum(x) OVER (ORDER BY x ROWS 1 PRECEDING) AS s FROM "
                        "(SELECT 0.1 AS x UNION ALL SELECT 0.2 UNION ALL SELECT 0.3))"), "0.1 0.3 0.5");

    // A category's total is the sum of its items' totals, compensated and not rounded again; a stale
    // copy of the category saved afterwards cannot write an older total back.
    const GS::Int32 sum = AddCategory("S"), tenths = AddCategory("T");
    Category stale = CategoriesTable().findById(sum);
    AddItem(sum, 10.5, {1.234, 2.345});
    AddItem(sum, 2.5, {5.0});
    AddItem(sum, 1.0, {0.1});
    for (double value : {0.1, 0.2, 0.3})
        AddItem(tenths, 1.0, {value});
    stale.setString("title", "Renamed");
    stale.setString("code", "C-01");
    ASSERT_TRUE(CategoriesTable().save(stale));
    EXPECT_EQ(QueryText("SELECT title || code FROM categories WHERE id = " + std::to_string(sum)), "RenamedC-01");
    EXPECT_EQ(Get("categories", "total", sum), 37.59 + 12.5 + 0.1);  // not 50.19
    EXPECT_EQ(Get("categories", "total", tenths), 0.6);               // adding plainly gives 0.6000000000000001
}


}  // namespace
