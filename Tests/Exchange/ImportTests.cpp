#include <SQLiteCpp/SQLiteCpp.h>

#include <cmath>
#include <limits>
#include <string>

#include "ExchangeTestSupport.hpp"

namespace {

using ImportTest = ExchangeTest;
const GS::Int32 Int32Max = std::numeric_limits<GS::Int32>::max(), Int32Min = std::numeric_limits<GS::Int32>::min();
const char* const ItemRows = "SELECT sort_order || '|' || code || '|' || descript || '|' || unit || '|' || "
                             "printf('%g|%g|%g', qty, price, total) FROM items ORDER BY id";

TEST_F(ImportTest, ReadsAWorkbookWrittenByOpenpyxl)
{
    // No grand-total row: the list ends at the first empty row. Item numbers beyond 32 bits
    // saturate; a fraction is cut toward zero, and 0.5 ends the items. Numbers read as text
    // keep their decimal point whatever the locale.
    ScopedLocale german("de_DE.UTF-8");
    const std::string path = temp.Path("openpyxl.xlsx");
    WriteWithOpenpyxl(Json::parse(R"J({"sheets": [
      {"name": "Recapitulation", "cells": {"A13": "A-1", "B13": "Walls", "C13": {"formula": "='Walls'!G20"},
        "B14": "Doors", "A15": 7, "B15": 2.5}},
      {"name": "Walls", "cells": {"A1": "Walls", "A2": "Outer walls only.", "A4": "No.", "B4": "Code",
        "A5": 1, "B5": "W-1", "C5": "Brick", "D5": "m2", "E5": 10, "F5": 2.5, "G5": {"formula": "=E5*F5"},
        "B6": "never read", "A7": 2.9, "B7": 12, "E7": "text", "F7": 3, "A9": 3e10, "A11": -3e10,
        "A13": 4294967297, "A15": 1e300, "A17": -2.9, "A19": 0.5, "A21": 5, "B21": "after the end"}}]})J"),
        path);
    ASSERT_TRUE(Import(path));
    EXPECT_EQ(Rows(CategoryRows), (Texts { "Walls|A-1|1|25.000000", "Doors||2|0.000000", "2.500000|7|3|0.000000" }));
    EXPECT_EQ(Rows("SELECT descript FROM categories ORDER BY id"), (Texts { "Outer walls only.", "", "" }));
    EXPECT_EQ(Rows(ItemRows),
        (Texts { "1|W-1|Brick|m2|10|2.5|25", "2|12|||0|3|0", "2147483647||||0|0|0", "-2147483648||||0|0|0",
            "2147483647||||0|0|0", "2147483647||||0|0|0", "-2||||0|0|0" }));
}

TEST_F(ImportTest, ARowWithoutATitleEndsTheCategoryListAndTextsAreMadeUtf8)
{
    // Row 14 in various forms; row 15 is read only when row 14 does not end the list.
    const std::string bad = "W\xFF" "B\xC3", fixed = "W\xEF\xBF\xBD" "B\xEF\xBF\xBD";
    const struct { const char* name; std::string row14; Texts titles; } cases[] = {
        // A boolean ends the list, as an error value does.
        { "a boolean title", "<c r=\"B14\" t=\"b\"><v>1</v></c>", { "First" } },
        { "an empty text", Str("B14", ""), { "First" } },
        { "the grand-total label", Str("B14", "TOTAL"), { "First" } },
        { "an empty title beside a code", Str("A14", "C") + Str("B14", ""), { "First", "", "After" } },
        { "an empty title beside a total", "<c r=\"C14\"><f>'_'!B100</f><v>0</v></c>", { "First", "", "After" } },
        { "a number", Num("B14", "12"), { "First", "12", "After" } },
        // Bytes that are no UTF-8 are replaced before they reach the estimate, in the title and in
        // the description (its sheet is found by the title as the estimate keeps it).
        { "a title that is no UTF-8", Str("B14", bad), { "First", fixed + fixed, "After" } },
    };
    const std::string path = temp.Path("titles.xlsx");
    for (const auto& c : cases) {
        WriteRawWorkbook(path, { { "Recapitulation", Str("B13", "First") + c.row14 + Str("B15", "After") },
                                   { bad, Str("A2", bad) } });
        ASSERT_TRUE(Import(path)) << c.name;
        EXPECT_EQ(Rows("SELECT title || descript FROM categories ORDER BY sort_order"), c.titles) << c.name;
    }
    // Without any title, only the default category is left, and nothing of the old estimate.
    AddItem(AddCategory("Old"), "O", "", "m", 1.0, 1.0);
    WriteRawWorkbook(path, { { "Recapitulation", Str("A1", "Project") } });
    ASSERT_TRUE(Import(path));
    EXPECT_EQ(Rows(CategoryRows), Texts { "Untitled Category||1|0.000000" });
    EXPECT_EQ(Rows("SELECT (SELECT COUNT(*) FROM items) + (SELECT COUNT(*) FROM qties)"), Texts { "0" });
}

TEST_F(ImportTest, AFailedOrOversizedImportLeavesTheEstimateAsItWas)
{
    // Two thousand categories name one sheet, which also claims the last row of a spreadsheet.
    std::string recap;
    for (int r = 13; r < 2013; ++r)
        recap += Str("B" + std::to_string(r), "X");
    auto repeated = [&recap](int items) {
        std::string cells = Str("B4", "Code") + Str("A1048576", "far away");
        for (int i = 0; i < items; ++i)
            cells += Num("A" + std::to_string(5 + 2 * i), "1");
        return Entries { { "Recapitulation", recap }, { "X", cells } };
    };
    AddItem(AddCategory("Kept", "K", "kept description"), "K1", "kept item", "m", 3.0, 4.0);
    Db().saveToProject();
    ASSERT_FALSE(Db().isChanged());
    const std::string before = DumpTables(), good = temp.Path("good.xlsx"), bad = temp.Path("bad.xlsx");
    ASSERT_TRUE(Export(good));

    // No recapitulation; a shared string that does not exist in the last sheet, found while
    // reading, before the estimate is touched; rows that would make 1.2 million items.
    for (const Entries& sheets : { Entries { { "Summary", Str("B13", "Walls") } },
             Entries { { "Recapitulation", Str("B13", "W") }, { "W", "<c r=\"A5\" t=\"s\"><v>4</v></c>" } },
             repeated(600) }) {
        WriteRawWorkbook(bad, sheets);
        EXPECT_FALSE(Import(bad)) << sheets.back().first;
        EXPECT_EQ(DumpTables(), before) << sheets.back().first;
        EXPECT_FALSE(Db().isChanged()) << sheets.back().first;
    }

    {
        // A reader still stepping through the categories keeps that table from being dropped,
        // after the quantities and items were already dropped.
        SQLite::Statement reader = Db().prepare("SELECT id FROM categories");
        ASSERT_TRUE(reader.executeStep());
        EXPECT_FALSE(Import(good));
    }
    EXPECT_EQ(DumpTables(), before);
    EXPECT_FALSE(Db().isChanged()) << "a failed import does not mark the estimate changed";
    // Once nothing holds the table, the same workbook imports; rows that repeat a sheet share it.
    EXPECT_TRUE(Import(good));
    EXPECT_EQ(Rows("SELECT title FROM categories ORDER BY id"), (Texts { "Untitled Category", "Kept" }));
    WriteRawWorkbook(bad, repeated(3));
    ASSERT_TRUE(Import(bad));
    EXPECT_EQ(Rows("SELECT COUNT(DISTINCT category_id) || ' ' || COUNT(*) FROM items"), Texts { "2000 6000" });
}

// A text, boolean, error or empty cell has no number (so it ends an item list); only a text
// has a text.
TEST(CellConversion, ValuesWithoutANumberGiveNoneAndExtremesSaturate)
{
    for (auto type : { Xlsx::CellType::Text, Xlsx::CellType::Boolean, Xlsx::CellType::Error, Xlsx::CellType::Empty }) {
        const Xlsx::CellValue value { type, 1, 1.0, true, "12" };
        GS::Int32 integer = 0;
        EXPECT_EQ(CellValueToString(value), type == Xlsx::CellType::Text ? "12" : "");
        EXPECT_FALSE(CellValueToInt32(value, &integer));
        EXPECT_EQ(CellValueToDouble(value), 0.0);
    }
    EXPECT_EQ(SaturateToInt32(std::nan("")), 0);
    EXPECT_EQ(SaturateToInt32(HUGE_VAL), Int32Max);
    EXPECT_EQ(SaturateToInt32(-HUGE_VAL), Int32Min);
}

} // namespace
