#include <gtest/gtest.h>

#include <SQLiteCpp/SQLiteCpp.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "Exchange/SheetText.hpp"
#include "Exchange/WorkbookReader.hpp"
#include "Exchange/XlsxExport.hpp"
#include "Exchange/XlsxImport.hpp"
#include "ExchangeTestSupport.hpp"

namespace {

const GS::Int32 Int32Max = std::numeric_limits<GS::Int32>::max();
const GS::Int32 Int32Min = std::numeric_limits<GS::Int32>::min();

struct CategoryRow {
    std::string title;
    std::string code;
    int sortOrder;
    std::string descript;
    double total;
};

struct ItemRow {
    std::string category;
    int sortOrder;
    std::string code;
    std::string descript;
    std::string unit;
    double qty;
    double price;
    double total;
};

// Every cell of every sheet, values and formulas, as our own reader sees them.
std::string WorkbookContents(const std::string& path)
{
    auto workbook = Xlsx::OpenWorkbook(path);
    std::string text;
    for (size_t s = 0; s < workbook->GetSheetCount(); ++s) {
        const Xlsx::IWorksheet& sheet = workbook->GetSheet(s);
        text += "== " + sheet.GetName() + "\n";
        for (uint32_t row = 1; row <= sheet.GetLastRow(); ++row) {
            for (uint32_t column = 1; column <= 7; ++column) {
                const Xlsx::Cell& cell = sheet.GetCell(row, column);
                if (cell.value.type == Xlsx::CellType::Empty && cell.formula.empty())
                    continue;
                char number[64];
                std::snprintf(number, sizeof number, "%.17g", cell.value.number);
                text += Xlsx::ColumnName(column) + std::to_string(row) + " "
                    + std::to_string(static_cast<int>(cell.value.type)) + " [" + cell.value.text + "] " + number + " {"
                    + cell.formula + "}\n";
            }
        }
    }
    return text;
}

class ImportTest : public ExchangeTest {
protected:
    std::vector<CategoryRow> Categories()
    {
        std::vector<CategoryRow> rows;
        SQLite::Statement query
            = Db().prepare("SELECT title, code, sort_order, descript, total FROM categories ORDER BY sort_order, id");
        while (query.executeStep())
            rows.push_back({ query.getColumn(0).getString(), query.getColumn(1).getString(),
                query.getColumn(2).getInt(), query.getColumn(3).getString(), query.getColumn(4).getDouble() });
        return rows;
    }

    std::vector<ItemRow> Items()
    {
        std::vector<ItemRow> rows;
        SQLite::Statement query = Db().prepare(
            "SELECT c.title, i.sort_order, i.code, i.descript, i.unit, i.qty, i.price, i.total FROM items i "
            "JOIN categories c ON c.id = i.category_id ORDER BY c.sort_order, i.sort_order, i.id");
        while (query.executeStep())
            rows.push_back({ query.getColumn(0).getString(), query.getColumn(1).getInt(),
                query.getColumn(2).getString(), query.getColumn(3).getString(), query.getColumn(4).getString(),
                query.getColumn(5).getDouble(), query.getColumn(6).getDouble(), query.getColumn(7).getDouble() });
        return rows;
    }

    std::string ExportTo(const std::string& name, const ExportXlsOptions& options = {})
    {
        const std::string path = temp.Path(name);
        EXPECT_TRUE(ExportXlsx(GS::UniString(path), options));
        return path;
    }

    bool Import(const std::string& path) { return ImportXlsx(GS::UniString(path)); }

    // A recapitulation written by openpyxl, in the export's layout, with the given sheets after it.
    Json Recapitulation(const std::vector<std::pair<std::string, std::string>>& codeAndTitles)
    {
        Json cells = { { "A1", "Project" }, { "A12", "Code" }, { "B12", "Category" }, { "C12", "Total" } };
        int row = 13;
        for (const auto& [code, title] : codeAndTitles) {
            const std::string r = std::to_string(row++);
            if (!code.empty())
                cells["A" + r] = code;
            cells["B" + r] = title;
            cells["C" + r] = { { "formula", "='" + CategorySheetName(title) + "'!G10" } };
        }
        const std::string t = std::to_string(row);
        cells["B" + t] = "TOTAL";
        cells["C" + t] = { { "formula", "=SUM(C13:C" + std::to_string(row - 1) + ")" } };
        return { { "name", "Recapitulation" }, { "cells", cells } };
    }

    static Json HeaderCells(int row)
    {
        const std::string r = std::to_string(row);
        return { { "A" + r, "No." }, { "B" + r, "Code" }, { "C" + r, "Description" }, { "D" + r, "Unit" },
            { "E" + r, "Quantity" }, { "F" + r, "Price" }, { "G" + r, "Total" } };
    }
};

TEST_F(ImportTest, RoundTripGivesTheSameWorkbook)
{
    SetProjectInfo({ { "PROJECTNAME", "Round trip" }, { "CONTACT_FULLNAME", "Ana" } });
    RemoveDefaultCategory();
    std::string longSections;
    for (int i = 1; i <= 4; ++i)
        longSections += (i > 1 ? "\n\n" : "") + std::to_string(i) + ". " + std::string(500, char('a' + i));
    const GS::Int32 walls = AddCategory("Walls", "01", "Intro\n\n1. Walls\n\n2. Doors");
    AddItem(walls, "W1", "Brick wall 25 cm", "m2", 12.5, 3.25);
    AddItem(walls, "W2", "Line one\nline two", "m3", 1.0 / 3.0, 100.0);
    AddItem(walls, "W3", "", "", 0.0, 7.0);
    AddCategory("Empty category", "", "");
    const GS::Int32 bob = AddCategory("Bob's [roof]: \xC5\xBD"
                                      "elezo _x0041_",
        "R-2", longSections);
    AddItem(bob, "R1", "\xE2\x82\xAC price", "kg", 1e6, 0.01);
    const GS::Int32 untitled = AddCategory("", "99");
    AddItem(untitled, "", "untitled item", "pcs", 2.0, 2.0);
    const GS::Int32 longTitle = AddCategory("A category title well beyond thirty-one characters", "L");
    AddItem(longTitle, "L1", "x", "m", 1.0, 1.0);
    ASSERT_GT(QueryInt("SELECT COUNT(*) FROM qties"), 0);

    const std::string first = ExportTo("first.xlsx");
    ASSERT_TRUE(Import(first));

    const std::vector<CategoryRow> categories = Categories();
    ASSERT_EQ(categories.size(), 5u) << "no default category beside the imported ones";
    const struct {
        const char* title;
        const char* code;
        std::string descript;
        double total;
    } expected[] = {
        { "Walls", "01", "Intro\n\n1. Walls\n\n2. Doors", 12.5 * 3.25 + 100.0 / 3.0 },
        { "Empty category", "", "", 0.0 },
        { "Bob's [roof]: \xC5\xBD"
          "elezo _x0041_",
            "R-2", longSections, 1e6 * 0.01 },
        { "", "99", "", 4.0 },
        { "A category title well beyond thirty-one characters", "L", "", 1.0 },
    };
    for (size_t i = 0; i < categories.size(); ++i) {
        EXPECT_EQ(categories[i].title, expected[i].title);
        EXPECT_EQ(categories[i].code, expected[i].code);
        EXPECT_EQ(categories[i].sortOrder, static_cast<int>(i + 1));
        EXPECT_EQ(categories[i].descript, expected[i].descript);
        EXPECT_DOUBLE_EQ(categories[i].total, expected[i].total);
    }
    const std::vector<ItemRow> items = Items();
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[1].descript, "Line one\nline two");
    EXPECT_DOUBLE_EQ(items[1].qty, 1.0 / 3.0);
    EXPECT_DOUBLE_EQ(items[1].total, 100.0 / 3.0);
    EXPECT_EQ(items[2].sortOrder, 3);
    EXPECT_EQ(items[2].unit, "");
    EXPECT_EQ(items[3].descript, "\xE2\x82\xAC price");
    EXPECT_EQ(items[4].category, "");
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM qties"), 0) << "quantities are not in the workbook";
    EXPECT_TRUE(Db().isChanged());

    const std::string second = ExportTo("second.xlsx");
    EXPECT_EQ(WorkbookContents(second), WorkbookContents(first));
    EXPECT_EQ(InspectWithOpenpyxl(second), InspectWithOpenpyxl(first)) << "styles and layout too";
}

TEST_F(ImportTest, RoundTripKeepsDescriptionsThatWereCutIntoRows)
{
    std::string sentences;
    for (int i = 0; i < 12; ++i)
        sentences += (i > 0 ? " " : "") + std::string(90, char('a' + i)) + ".";
    const struct {
        const char* name;
        std::string descript;
    } cases[] = {
        { "a long paragraph of sentences", sentences },
        { "paragraphs between blank lines", "Short opening.\nSecond line.\n\n" + sentences + "\n\nClosing words." },
        { "numbered sections of long paragraphs", "Intro.\n\n1. " + sentences + "\n\n2. " + sentences },
    };
    for (const auto& c : cases) {
        RemoveDefaultCategory();
        Db().execSql("DELETE FROM categories");
        const GS::Int32 category = AddCategory("Long", "L", c.descript);
        AddItem(category, "L1", "item", "m", 2.0, 3.0);
        const std::string first = ExportTo("long1.xlsx");
        ASSERT_NE(WorkbookContents(first).find("\nA3 "), std::string::npos)
            << c.name << ": the description takes several rows";
        ASSERT_TRUE(Import(first)) << c.name;
        EXPECT_EQ(QueryText("SELECT descript FROM categories"), c.descript) << c.name;
        EXPECT_EQ(WorkbookContents(ExportTo("long2.xlsx")), WorkbookContents(first)) << c.name;
    }
}

TEST_F(ImportTest, RoundTripUnderACommaDecimalLocale)
{
    ScopedLocale german("de_DE.UTF-8");
    ASSERT_TRUE(german.Active());
    RemoveDefaultCategory();
    const GS::Int32 c = AddCategory("Decimals", "2.5");
    AddItem(c, "D", "", "m", 1234.5678, 0.125);
    const std::string first = ExportTo("de1.xlsx");
    ASSERT_TRUE(Import(first));
    const std::vector<ItemRow> items = Items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_DOUBLE_EQ(items[0].qty, 1234.5678);
    EXPECT_DOUBLE_EQ(items[0].price, 0.125);
    EXPECT_EQ(Categories().at(0).code, "2.5");
    EXPECT_EQ(WorkbookContents(ExportTo("de2.xlsx")), WorkbookContents(first));
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");
}

TEST_F(ImportTest, ReadsAWorkbookWrittenByOpenpyxl)
{
    Json walls = HeaderCells(4);
    walls["A1"] = "Walls";
    walls["A2"] = "Outer walls only.";
    walls["A5"] = 1;
    walls["B5"] = "W-1";
    walls["C5"] = "Brick";
    walls["D5"] = "m2";
    walls["E5"] = 10;
    walls["F5"] = 2.5;
    walls["G5"] = { { "formula", "=E5*F5" } };
    walls["B6"] = "never read";
    walls["A7"] = 2.9;
    walls["B7"] = 12;
    walls["E7"] = "text";
    walls["F7"] = 3;
    walls["A9"] = 0.5;
    walls["B9"] = "after the end";
    const Json contents = { { "sheets",
        { Recapitulation({ { "A-1", "Walls" }, { "", "Doors" } }), { { "name", "Walls" }, { "cells", walls } } } } };
    const std::string path = temp.Path("openpyxl.xlsx");
    WriteWithOpenpyxl(contents, path);

    ASSERT_TRUE(Import(path));
    const std::vector<CategoryRow> categories = Categories();
    ASSERT_EQ(categories.size(), 2u);
    EXPECT_EQ(categories[0].title, "Walls");
    EXPECT_EQ(categories[0].code, "A-1");
    EXPECT_EQ(categories[0].descript, "Outer walls only.");
    EXPECT_DOUBLE_EQ(categories[0].total, 25.0);
    EXPECT_EQ(categories[1].title, "Doors") << "a category without a sheet of its own";
    EXPECT_EQ(categories[1].descript, "");
    EXPECT_EQ(categories[1].total, 0.0);

    const std::vector<ItemRow> items = Items();
    ASSERT_EQ(items.size(), 2u) << "the item number 0.5 ends the list";
    EXPECT_EQ(items[0].sortOrder, 1);
    EXPECT_EQ(items[0].code, "W-1");
    EXPECT_DOUBLE_EQ(items[0].total, 25.0);
    EXPECT_EQ(items[1].sortOrder, 2) << "2.9 is cut toward zero";
    EXPECT_EQ(items[1].code, "12");
    EXPECT_EQ(items[1].qty, 0.0) << "a text quantity reads as 0";
    EXPECT_EQ(items[1].price, 3.0);
    EXPECT_EQ(items[1].total, 0.0);
}

TEST_F(ImportTest, ReadsTheOlderSingleRowLayoutWithoutATotalRow)
{
    Json sheet = HeaderCells(4);
    sheet["A1"] = "Roof";
    sheet["A2"] = "Tiles";
    sheet["A5"] = 1;
    sheet["E5"] = 2;
    sheet["F5"] = 3;
    const Json recap = { { "name", "Recapitulation" },
        { "cells", { { "B13", "Roof" }, { "A13", 7 }, { "B14", 2.5 }, { "A14", "x" } } } };
    const std::string path = temp.Path("older.xlsx");
    WriteWithOpenpyxl({ { "sheets", { recap, { { "name", "Roof" }, { "cells", sheet } } } } }, path);

    ASSERT_TRUE(Import(path));
    const std::vector<CategoryRow> categories = Categories();
    ASSERT_EQ(categories.size(), 2u) << "the list ends at the first empty row";
    EXPECT_EQ(categories[0].code, "7");
    EXPECT_EQ(categories[0].descript, "Tiles");
    EXPECT_DOUBLE_EQ(categories[0].total, 6.0);
    EXPECT_EQ(categories[1].title, "2.500000");
    EXPECT_EQ(categories[1].code, "x");
}

TEST_F(ImportTest, ARowWithoutATitleEndsTheCategoryList)
{
    // Row 14 of the recapitulation in various forms; row 15 holds one more category that is
    // read only when row 14 does not end the list.
    const struct {
        const char* name;
        std::string row14;
        std::vector<std::string> titles;
    } cases[] = {
        { "a boolean title", "<c r=\"B14\" t=\"b\"><v>1</v></c>", { "First" } },
        { "an error title", "<c r=\"B14\" t=\"e\"><v>#N/A</v></c>", { "First" } },
        { "an empty text", InlineStringCell("B14", ""), { "First" } },
        { "an empty title beside a code", InlineStringCell("A14", "C") + InlineStringCell("B14", ""),
            { "First", "", "After" } },
        { "an empty title beside a total", "<c r=\"C14\"><f>'_'!B100</f><v>0</v></c>", { "First", "", "After" } },
        { "a number", NumberCell("B14", "12"), { "First", "12", "After" } },
    };
    for (const auto& c : cases) {
        const std::string recap = "<row r=\"13\">" + InlineStringCell("B13", "First") + "</row><row r=\"14\">" + c.row14
            + "</row><row r=\"15\">" + InlineStringCell("B15", "After") + "</row>";
        const std::string path = temp.Path("titles.xlsx");
        WriteRawWorkbook(path, { { "Recapitulation", recap } });
        ASSERT_TRUE(Import(path)) << c.name;
        std::vector<std::string> titles;
        for (const CategoryRow& category : Categories())
            titles.push_back(category.title);
        EXPECT_EQ(titles, c.titles) << c.name;
    }
}

TEST_F(ImportTest, TextsThatAreNoUtf8AreReplacedBeforeTheyReachTheEstimate)
{
    const std::string bad = "A\xFF"
                            "B\xC3";
    const std::string fixed = "A\xEF\xBF\xBD"
                              "B\xEF\xBF\xBD";
    const std::string item = "<row r=\"5\">" + NumberCell("A5", "1") + InlineStringCell("B5", bad)
        + InlineStringCell("C5", bad) + InlineStringCell("D5", bad) + "</row>";
    const std::string path = temp.Path("bytes.xlsx");
    WriteRawWorkbook(path,
        { { "Recapitulation",
              "<row r=\"13\">" + InlineStringCell("A13", bad) + InlineStringCell("B13", "W" + bad) + "</row>" },
            // The sheet is found by the title as the estimate keeps it.
            { "W" + bad,
                "<row r=\"2\">" + InlineStringCell("A2", bad) + "</row><row r=\"4\">" + InlineStringCell("B4", "Code")
                    + "</row>" + item } });
    ASSERT_TRUE(Import(path));
    const std::vector<CategoryRow> categories = Categories();
    ASSERT_EQ(categories.size(), 1u);
    EXPECT_EQ(categories[0].title, "W" + fixed);
    EXPECT_EQ(categories[0].code, fixed);
    EXPECT_EQ(categories[0].descript, fixed);
    const std::vector<ItemRow> items = Items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].code, fixed);
    EXPECT_EQ(items[0].descript, fixed);
    EXPECT_EQ(items[0].unit, fixed);
}

TEST_F(ImportTest, AnEmptyRecapitulationLeavesOnlyTheDefaultCategory)
{
    const GS::Int32 c = AddCategory("Old");
    AddItem(c, "O", "", "m", 1.0, 1.0);
    const std::string path = temp.Path("empty.xlsx");
    WriteWithOpenpyxl({ { "sheets", { { { "name", "Recapitulation" }, { "cells", { { "A1", "P" } } } } } } }, path);
    ASSERT_TRUE(Import(path));
    const std::vector<CategoryRow> categories = Categories();
    ASSERT_EQ(categories.size(), 1u);
    EXPECT_EQ(categories[0].title, "Untitled Category");
    EXPECT_EQ(categories[0].total, 0.0);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM items"), 0);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM qties"), 0);

    // An exported estimate without categories comes back the same way.
    RemoveDefaultCategory();
    ASSERT_TRUE(Import(ExportTo("none.xlsx")));
    ASSERT_EQ(Categories().size(), 1u);
    EXPECT_EQ(Categories()[0].title, "Untitled Category");
}

TEST_F(ImportTest, RefusedWorkbooksLeaveTheEstimateUntouched)
{
    const GS::Int32 c = AddCategory("Kept", "K", "kept description");
    AddItem(c, "K1", "kept item", "m", 3.0, 4.0);
    Db().saveToProject();
    ASSERT_FALSE(Db().isChanged());
    const std::string before = DumpTables();

    // A good export to break in various ways.
    const std::string good = ExportTo("good.xlsx");
    const std::string noRecap = temp.Path("norecap.xlsx");
    WriteWithOpenpyxl({ { "sheets", { { { "name", "Summary" }, { "cells", { { "B13", "Walls" } } } } } } }, noRecap);
    const std::string text = temp.Path("text.xlsx");
    WriteFileBytes(text, "not a workbook");
    const std::string cut = temp.Path("cut.xlsx");
    const std::string bytes = ReadFileBytes(good);
    WriteFileBytes(cut, bytes.substr(0, bytes.size() - 200));

    // A workbook whose last category sheet refers to a shared string that does not exist:
    // the fault is found while reading, before the estimate is touched.
    const std::string badSheet = temp.Path("badsheet.xlsx");
    WriteRawWorkbook(badSheet,
        { { "Recapitulation", "<row r=\"13\">" + InlineStringCell("B13", "W") + "</row>" },
            { "W", "<row r=\"5\"><c r=\"A5\" t=\"s\"><v>4</v></c></row>" } });

    // A sheet that inflates beyond the reader's cap.
    const std::string bomb = temp.Path("bomb.xlsx");
    WriteZipWithLargeEntry(bomb,
        { { "_rels/.rels",
            "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
            "Id=\"r\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
            "Target=\"xl/workbook.xml\"/></Relationships>" } },
        "xl/workbook.xml", 70u << 20);

    const struct {
        const char* name;
        std::string path;
    } cases[] = {
        { "no recapitulation", noRecap },
        { "not a package", text },
        { "cut package", cut },
        { "missing file", temp.Path("missing.xlsx") },
        { "bad shared string", badSheet },
        { "inflates beyond the cap", bomb },
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(Import(c.path)) << c.name;
        EXPECT_EQ(DumpTables(), before) << c.name;
        EXPECT_FALSE(Db().isChanged()) << c.name;
    }
}

TEST_F(ImportTest, RowsThatRepeatOneSheetAreReadOnceAndBounded)
{
    // Two thousand categories naming one sheet that claims the last row of a spreadsheet.
    std::string recap;
    for (int r = 13; r < 2013; ++r) {
        const std::string n = std::to_string(r);
        recap += "<row r=\"" + n + "\">" + InlineStringCell("B" + n, "X") + "<c r=\"C" + n
            + "\"><f>'X'!G10</f><v>0</v></c></row>";
    }
    std::string few = "<row r=\"4\">" + InlineStringCell("B4", "Code") + "</row>";
    for (int r = 5; r <= 9; r += 2)
        few += "<row r=\"" + std::to_string(r) + "\">" + NumberCell("A" + std::to_string(r), "1") + "</row>";
    few += "<row r=\"1048576\">" + InlineStringCell("A1048576", "far away") + "</row>";
    const std::string repeated = temp.Path("repeated.xlsx");
    WriteRawWorkbook(repeated, { { "Recapitulation", recap }, { "X", few } });
    ASSERT_TRUE(Import(repeated));
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM categories"), 2000);
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM items"), 6000);

    // The same rows over a sheet of 600 items would make 1.2 million items: refused.
    std::string many = "<row r=\"4\">" + InlineStringCell("B4", "Code") + "</row>";
    for (int r = 5; r < 5 + 2 * 600; r += 2)
        many += "<row r=\"" + std::to_string(r) + "\">" + NumberCell("A" + std::to_string(r), "1") + "</row>";
    const std::string multiplied = temp.Path("multiplied.xlsx");
    WriteRawWorkbook(multiplied, { { "Recapitulation", recap }, { "X", many } });
    const std::string before = DumpTables();
    EXPECT_FALSE(Import(multiplied));
    EXPECT_EQ(DumpTables(), before);
}

TEST_F(ImportTest, ADatabaseFailureHalfWayRollsEverythingBack)
{
    const GS::Int32 c = AddCategory("Kept", "K", "kept description");
    AddItem(c, "K1", "kept item", "m", 3.0, 4.0);
    Db().saveToProject();
    ASSERT_FALSE(Db().isChanged());
    const std::string before = DumpTables();
    const std::string path = ExportTo("replacement.xlsx");

    {
        // A reader still stepping through the categories keeps that table from being dropped,
        // after the quantities and items were already dropped.
        SQLite::Statement reader = Db().prepare("SELECT id FROM categories");
        ASSERT_TRUE(reader.executeStep());
        EXPECT_FALSE(Import(path));
    }
    EXPECT_EQ(DumpTables(), before);
    EXPECT_FALSE(Db().isChanged()) << "a failed import does not mark the estimate changed";

    // Once nothing holds the table, the same workbook imports.
    EXPECT_TRUE(Import(path));
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM categories"), 2) << "the default category and Kept";
    EXPECT_EQ(QueryInt("SELECT COUNT(*) FROM qties"), 0);
}

TEST_F(ImportTest, NumbersBeyondTheIntegerFieldsSaturate)
{
    Json sheet = HeaderCells(4);
    sheet["A1"] = "Big";
    const struct {
        int row;
        Json number;
    } rows[] = { { 5, 3e10 }, { 7, -3e10 }, { 9, 4294967297LL }, { 11, 1.0e300 } };
    for (const auto& r : rows) {
        sheet["A" + std::to_string(r.row)] = r.number;
        sheet["E" + std::to_string(r.row)] = 1;
    }
    const std::string path = temp.Path("big.xlsx");
    WriteWithOpenpyxl(
        { { "sheets", { Recapitulation({ { "", "Big" } }), { { "name", "Big" }, { "cells", sheet } } } } }, path);
    ASSERT_TRUE(Import(path));
    const std::vector<ItemRow> items = Items();
    ASSERT_EQ(items.size(), 4u);
    std::vector<int> orders;
    for (const ItemRow& item : items)
        orders.push_back(item.sortOrder);
    std::sort(orders.begin(), orders.end());
    EXPECT_EQ(orders, (std::vector<int> { Int32Min, Int32Max, Int32Max, Int32Max }));
}

TEST(CellConversion, FollowsTheValueType)
{
    using Xlsx::CellType;
    auto value = [](CellType type, double number, long long integer = 0, const char* text = "") {
        Xlsx::CellValue v;
        v.type = type;
        v.number = number;
        v.integer = integer;
        v.text = text;
        v.boolean = true;
        return v;
    };
    const struct {
        Xlsx::CellValue value;
        std::string text;
        bool isInt;
        GS::Int32 integer;
        double number;
    } cases[] = {
        { value(CellType::Integer, 12, 12), "12", true, 12, 12.0 },
        { value(CellType::Integer, -5, -5), "-5", true, -5, -5.0 },
        { value(CellType::Number, 2.5), "2.500000", true, 2, 2.5 },
        { value(CellType::Number, 2.9), "2.900000", true, 2, 2.9 },
        { value(CellType::Number, -2.9), "-2.900000", true, -2, -2.9 },
        { value(CellType::Number, 0.5), "0.500000", true, 0, 0.5 },
        { value(CellType::Number, 1e-7), "0.000000", true, 0, 1e-7 },
        { value(CellType::Number, 3e10), "30000000000.000000", true, Int32Max, 3e10 },
        { value(CellType::Number, -3e10), "-30000000000.000000", true, Int32Min, -3e10 },
        { value(CellType::Number, 2147483647.9), "2147483647.900000", true, Int32Max, 2147483647.9 },
        { value(CellType::Integer, 9e18, 9000000000000000000LL), "9000000000000000000", true, Int32Max, 9e18 },
        { value(CellType::Integer, -2147483649.0, -2147483649LL), "-2147483649", true, Int32Min, -2147483649.0 },
        { value(CellType::Text, 0, 0, "walls"), "walls", false, 0, 0.0 },
        // Bytes that are no UTF-8 do not reach the estimate.
        { value(CellType::Text, 0, 0,
              "A\xFF"
              "B"),
            "A\xEF\xBF\xBD"
            "B",
            false, 0, 0.0 },
        { value(CellType::Boolean, 0), "", false, 0, 0.0 },
        { value(CellType::Error, 0, 0, "#N/A"), "", false, 0, 0.0 },
        { value(CellType::Empty, 0), "", false, 0, 0.0 },
    };
    ScopedLocale german("de_DE.UTF-8");
    for (const auto& c : cases) {
        EXPECT_EQ(CellValueToString(c.value), c.text);
        GS::Int32 integer = 0;
        EXPECT_EQ(CellValueToInt32(c.value, &integer), c.isInt) << c.text;
        EXPECT_EQ(integer, c.integer) << c.text;
        EXPECT_EQ(CellValueToDouble(c.value), c.number) << c.text;
    }
    EXPECT_EQ(SaturateToInt32(std::nan("")), 0);
    EXPECT_EQ(SaturateToInt32(std::numeric_limits<double>::infinity()), Int32Max);
    EXPECT_EQ(SaturateToInt32(-std::numeric_limits<double>::infinity()), Int32Min);
}

} // namespace
