#include <cmath>

#include "DatabaseTestSupport.hpp"

namespace {

struct RollUpCase {
    const char* name;
    std::vector<double> values;
    double price;
    double qty;
    double total;
};

class ItemRollUp : public DatabaseTest, public ::testing::WithParamInterface<RollUpCase> {};

TEST_P(ItemRollUp, QuantityAndTotalAreRoundedToCents)
{
    const RollUpCase& c = GetParam();
    const GS::Int32 category = AddCategory("C");
    const GS::Int32 item = AddItem(category, c.price);
    for (double value : c.values)
        AddQty(item, value);
    Item stored = ItemsTable().findById(item);
    EXPECT_EQ(stored.getDouble("qty"), c.qty);
    EXPECT_EQ(stored.getDouble("total"), c.total);
    EXPECT_EQ(CategoriesTable().findById(category).getDouble("total"), c.total);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ItemRollUp,
    ::testing::Values(RollUpCase{"TwoValues", {1.234, 2.345}, 10.5, 3.58, 37.59},
                      RollUpCase{"HalfUp", {0.125}, 1.0, 0.13, 0.13},
                      RollUpCase{"HalfAwayFromZero", {-0.125}, 1.0, -0.13, -0.13},
                      // 1.005 * 100.0 is just below 100.5 as a double.
                      RollUpCase{"BinaryBelowHalf", {1.005}, 1.0, 1.0, 1.0},
                      RollUpCase{"TotalRoundedAfterProduct", {3.0}, 0.333, 3.0, 1.0},
                      RollUpCase{"TotalUsesRoundedQty", {1.006}, 1000.0, 1.01, 1010.0},
                      RollUpCase{"NoQuantities", {}, 99.0, 0.0, 0.0}),
    [](const ::testing::TestParamInfo<RollUpCase>& info) { return std::string(info.param.name); });

class RollUp : public DatabaseTest {};

TEST_F(RollUp, CategoryTotalIsTheUnroundedSumOfItemTotals)
{
    const GS::Int32 category = AddCategory("C");
    const GS::Int32 first = AddItem(category, 10.5);
    AddQty(first, 1.234);
    AddQty(first, 2.345);
    const GS::Int32 second = AddItem(category, 2.5);
    AddQty(second, 5.0);
    EXPECT_EQ(CategoriesTable().findById(category).getDouble("total"), 37.59 + 12.5);
}

TEST_F(RollUp, DeletingTheLastQuantityZeroesTheItem)
{
    const GS::Int32 category = AddCategory("C");
    const GS::Int32 kept = AddItem(category, 1.0);
    AddQty(kept, 3.0);
    const GS::Int32 item = AddItem(category, 4.0);
    const GS::Int32 qtyId = AddQty(item, 2.0);
    EXPECT_DOUBLE_EQ(CategoriesTable().findById(category).getDouble("total"), 11.0);

    Qty qty = QtiesTable().findById(qtyId);
    ASSERT_TRUE(QtiesTable().remove(qty));
    Item stored = ItemsTable().findById(item);
    EXPECT_EQ(stored.getDouble("qty"), 0.0);
    EXPECT_EQ(stored.getDouble("total"), 0.0);
    EXPECT_DOUBLE_EQ(CategoriesTable().findById(category).getDouble("total"), 3.0);
}

TEST_F(RollUp, ChangingAPriceOrAValueRollsUp)
{
    const GS::Int32 category = AddCategory("C");
    const GS::Int32 itemId = AddItem(category, 2.0);
    const GS::Int32 qtyId = AddQty(itemId, 3.0);

    Item item = ItemsTable().findById(itemId);
    item.setDouble("price", 5.0);
    item.setDouble("qty", 1000.0);  // a stale derived value is overwritten
    ASSERT_TRUE(ItemsTable().save(item));
    EXPECT_DOUBLE_EQ(ItemsTable().findById(itemId).getDouble("qty"), 3.0);
    EXPECT_DOUBLE_EQ(ItemsTable().findById(itemId).getDouble("total"), 15.0);
    EXPECT_DOUBLE_EQ(CategoriesTable().findById(category).getDouble("total"), 15.0);

    Qty qty = QtiesTable().findById(qtyId);
    qty.setDouble("value", 4.0);
    ASSERT_TRUE(QtiesTable().save(qty));
    EXPECT_DOUBLE_EQ(ItemsTable().findById(itemId).getDouble("total"), 20.0);
    EXPECT_DOUBLE_EQ(CategoriesTable().findById(category).getDouble("total"), 20.0);
}

// An item moves between categories and back, with quantity changes in between: each step
// leaves every total of the chain right.
TEST_F(RollUp, ChainAcrossMovesBetweenCategories)
{
    const GS::Int32 a = AddCategory("A");
    const GS::Int32 b = AddCategory("B");
    const GS::Int32 stays = AddItem(a, 1.0);
    AddQty(stays, 7.0);
    const GS::Int32 mover = AddItem(a, 2.0);
    const GS::Int32 moverQty = AddQty(mover, 1.5);
    AddItem(b, 3.0);

    struct Step {
        GS::Int32 category;  // the mover's category after the step
        double value;        // the mover's quantity value after the step
        double totalA;
        double totalB;
    };
    const std::vector<Step> steps = {
        {b, 1.5, 7.0, 3.0},
        {b, 2.25, 7.0, 4.5},
        {a, 2.25, 11.5, 0.0},
        {a, 0.0, 7.0, 0.0},
        {b, 10.0, 7.0, 20.0},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        Item item = ItemsTable().findById(mover);
        if (item.getInt("category_id") != step.category) {
            item.setInt("category_id", step.category);
            ASSERT_TRUE(ItemsTable().save(item));
        }
        Qty qty = QtiesTable().findById(moverQty);
        if (qty.getDouble("value") != step.value) {
            qty.setDouble("value", step.value);
            ASSERT_TRUE(QtiesTable().save(qty));
        }
        EXPECT_DOUBLE_EQ(CategoriesTable().findById(a).getDouble("total"), step.totalA) << "step " << i;
        EXPECT_DOUBLE_EQ(CategoriesTable().findById(b).getDouble("total"), step.totalB) << "step " << i;
        EXPECT_DOUBLE_EQ(ItemsTable().findById(mover).getDouble("qty"), step.value) << "step " << i;
    }
}

TEST_F(RollUp, QuantityOfAMissingItemRollsNothingUp)
{
    const GS::Int32 category = AddCategory("C");
    const GS::Int32 item = AddItem(category, 1.0);
    AddQty(item, 2.0);
    AddQty(777, 50.0);
    EXPECT_DOUBLE_EQ(CategoriesTable().findById(category).getDouble("total"), 2.0);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM items WHERE id = 777"), 0);
}

TEST_F(RollUp, SavingACategoryRecomputesItsTotal)
{
    const GS::Int32 category = AddCategory("C");
    const GS::Int32 item = AddItem(category, 3.0);
    AddQty(item, 2.0);
    Category copy = CategoriesTable().findById(category);
    copy.setDouble("total", 12345.0);
    ASSERT_TRUE(CategoriesTable().save(copy));
    EXPECT_DOUBLE_EQ(CategoriesTable().findById(category).getDouble("total"), 6.0);
}

}  // namespace
