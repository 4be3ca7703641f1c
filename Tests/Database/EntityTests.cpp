#include <cstring>
#include <string>

#include "DatabaseTestSupport.hpp"

namespace {

TEST(Entity, EachAccessorReadsOnlyItsOwnMap)
{
    Entity entity;
    entity.setInt("id", 7);
    entity.setString("title", "Walls");
    entity.setDouble("total", 2.5);

    EXPECT_TRUE(entity.isNew);
    EXPECT_EQ(entity.getString("id"), GS::UniString());
    EXPECT_EQ(entity.getInt("title"), 0);
    EXPECT_EQ(entity.getDouble("id"), 0.0);
    EXPECT_EQ(entity.getInt("total"), 0);
    EXPECT_EQ(entity.getInt("id"), 7);
    EXPECT_EQ(entity.getString("title"), GS::UniString("Walls"));
    EXPECT_EQ(entity.getDouble("total"), 2.5);
    EXPECT_EQ(entity.getString("missing"), GS::UniString());
    EXPECT_EQ(entity.getDouble("missing"), 0.0);
    EXPECT_EQ(entity.getInt("missing"), 0);
}

TEST(Entity, SameNameMayStandInSeveralMaps)
{
    Entity entity;
    entity.setInt("value", 3);
    entity.setDouble("value", 4.5);
    entity.setString("value", "six");
    EXPECT_EQ(entity.getInt("value"), 3);
    EXPECT_EQ(entity.getDouble("value"), 4.5);
    EXPECT_EQ(entity.getString("value"), GS::UniString("six"));
}

TEST(Entity, SettingTwiceKeepsOneEntryWithTheLastValue)
{
    Entity entity;
    entity.setString("title", "first");
    entity.setString("title", "second");
    entity.setInt("id", 1);
    entity.setInt("id", 2);
    entity.setDouble("price", 1.0);
    entity.setDouble("price", 3.0);
    EXPECT_EQ(entity.stringFields.GetSize(), 1u);
    EXPECT_EQ(entity.intFields.GetSize(), 1u);
    EXPECT_EQ(entity.doubleFields.GetSize(), 1u);
    EXPECT_EQ(entity.getString("title"), GS::UniString("second"));
    EXPECT_EQ(entity.getInt("id"), 2);
    EXPECT_EQ(entity.getDouble("price"), 3.0);
}

TEST(Entity, CopiesAreDeepAndCarryTheNewFlag)
{
    Item original;
    original.setString("code", "A1");
    original.isNew = false;
    Item copy = original;
    copy.setString("code", "B2");
    copy.setInt("category_id", 4);
    EXPECT_FALSE(copy.isNew);
    EXPECT_EQ(original.getString("code"), GS::UniString("A1"));
    EXPECT_EQ(original.getInt("category_id"), 0);

    Item assigned;
    assigned = copy;
    EXPECT_EQ(assigned.getString("code"), GS::UniString("B2"));
    EXPECT_EQ(assigned.getInt("category_id"), 4);
    EXPECT_FALSE(assigned.isNew);
}

TEST(Qty, StartsWithoutMessageAndWithoutLinkStatus)
{
    Qty qty;
    EXPECT_TRUE(qty.isNew);
    EXPECT_EQ(qty.linkStatus, LinkNotComputed);
    EXPECT_STREQ(qty.errorText, "");
}

TEST(Qty, CopiesCarryMessageAndLinkStatus)
{
    Qty source;
    source.setString("formula", "Volume*2");
    source.setErrorText("Variable was not defined: Volume.");
    source.linkStatus = LinkOutdated;

    Qty copied(source);
    EXPECT_STREQ(copied.errorText, "Variable was not defined: Volume.");
    EXPECT_EQ(copied.linkStatus, LinkOutdated);
    EXPECT_EQ(copied.getString("formula"), GS::UniString("Volume*2"));

    Qty assigned;
    assigned = source;
    EXPECT_STREQ(assigned.errorText, "Variable was not defined: Volume.");
    EXPECT_EQ(assigned.linkStatus, LinkOutdated);
    EXPECT_EQ(assigned.getString("formula"), GS::UniString("Volume*2"));
}

TEST(Qty, AssigningToItselfChangesNothing)
{
    Qty qty;
    qty.setString("descript", "Slab");
    qty.setErrorText("Division by zero.");
    qty.linkStatus = LinkUpToDate;
    Qty& self = qty;
    qty = self;
    EXPECT_STREQ(qty.errorText, "Division by zero.");
    EXPECT_EQ(qty.linkStatus, LinkUpToDate);
    EXPECT_EQ(qty.getString("descript"), GS::UniString("Slab"));
}

TEST(Qty, LinkStatusCodes)
{
    EXPECT_EQ(static_cast<int>(LinkNotLinked), 1);
    EXPECT_EQ(static_cast<int>(LinkElementMissing), 2);
    EXPECT_EQ(static_cast<int>(LinkUpToDate), 3);
    EXPECT_EQ(static_cast<int>(LinkOutdated), 4);
    EXPECT_EQ(sizeof(Qty::errorText), 200u);
}

struct ErrorTextCase {
    std::string message;
    std::string expected;
};

class QtyErrorText : public ::testing::TestWithParam<ErrorTextCase> {};

TEST_P(QtyErrorText, IsCutTo199BytesAndTerminated)
{
    Qty qty;
    std::memset(qty.errorText, 'x', sizeof qty.errorText);
    qty.setErrorText(GetParam().message.c_str());
    EXPECT_EQ(qty.errorText[199], '\0');
    EXPECT_EQ(std::string(qty.errorText), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, QtyErrorText,
    ::testing::Values(ErrorTextCase{"", ""},
                      ErrorTextCase{"Syntax error.", "Syntax error."},
                      ErrorTextCase{std::string(199, 'a'), std::string(199, 'a')},
                      ErrorTextCase{std::string(200, 'b'), std::string(199, 'b')},
                      ErrorTextCase{std::string(450, 'c'), std::string(199, 'c')},
                      // A two-byte character across the cut is dropped whole.
                      ErrorTextCase{std::string(198, 'd') + "\xC3\xA9" + "tail", std::string(198, 'd')}));

TEST(Qty, NullMessageEmptiesTheText)
{
    Qty qty;
    qty.setErrorText("Old message");
    qty.setErrorText(nullptr);
    EXPECT_STREQ(qty.errorText, "");
}

TEST(DbField, ColumnListsOfTheThreeTables)
{
    struct Expected {
        std::string names;
        GS::Int32 count;
    };
    auto describe = [](const GS::Array<DbField>& fields) {
        std::string text;
        for (const DbField& field : fields)
            text += std::string(field.name) + ":" + std::to_string(field.type) + " ";
        return text;
    };
    CategoriesTable categories;
    ItemsTable items;
    QtiesTable qties;
    EXPECT_EQ(categories.getTableName(), GS::UniString("categories"));
    EXPECT_EQ(items.getTableName(), GS::UniString("items"));
    EXPECT_EQ(qties.getTableName(), GS::UniString("qties"));
    EXPECT_EQ(describe(categories.getFields()), "id:1 title:0 code:0 sort_order:1 descript:3 total:2 ");
    EXPECT_EQ(describe(items.getFields()),
              "id:1 category_id:1 sort_order:1 code:0 descript:3 unit:0 price:2 qty:2 total:2 ");
    EXPECT_EQ(describe(qties.getFields()), "id:1 item_id:1 guid:0 sort_order:1 descript:0 formula:0 value:2 ");
    EXPECT_EQ(categories.getFieldCount(), static_cast<GS::Int32>(categories.getFields().GetSize()));
    EXPECT_EQ(items.getFieldCount(), static_cast<GS::Int32>(items.getFields().GetSize()));
    EXPECT_EQ(qties.getFieldCount(), static_cast<GS::Int32>(qties.getFields().GetSize()));
}

TEST(DbField, CreateStatements)
{
    EXPECT_EQ(CategoriesTable().buildCreateTableSql().ToUtf8(),
              "CREATE TABLE IF NOT EXISTS categories (id INTEGER PRIMARY KEY AUTOINCREMENT, title TEXT, code TEXT, "
              "sort_order INTEGER, descript TEXT, total REAL);");
    EXPECT_EQ(ItemsTable().buildCreateTableSql().ToUtf8(),
              "CREATE TABLE IF NOT EXISTS items (id INTEGER PRIMARY KEY AUTOINCREMENT, category_id INTEGER, "
              "sort_order INTEGER, code TEXT, descript TEXT, unit TEXT, price REAL, qty REAL, total REAL);");
    EXPECT_EQ(QtiesTable().buildCreateTableSql().ToUtf8(),
              "CREATE TABLE IF NOT EXISTS qties (id INTEGER PRIMARY KEY AUTOINCREMENT, item_id INTEGER, guid TEXT, "
              "sort_order INTEGER, descript TEXT, formula TEXT, value REAL);");
}

}  // namespace
