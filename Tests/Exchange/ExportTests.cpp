#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

#include "Exchange/SheetText.hpp"
#include "Exchange/XlsxExport.hpp"
#include "ExchangeTestSupport.hpp"

namespace {

const Json& Sheet(const Json& book, size_t index)
{
    return book.at("sheets").at(index);
}

Json Cell(const Json& book, size_t sheet, const std::string& ref)
{
    const Json& cells = Sheet(book, sheet).at("cells");
    return cells.contains(ref) ? cells.at(ref) : Json();
}

std::vector<std::string> SheetNames(const Json& book)
{
    std::vector<std::string> names;
    for (const Json& sheet : book.at("sheets"))
        names.push_back(sheet.at("name"));
    return names;
}

std::vector<std::string> Merged(const Json& book, size_t sheet)
{
    return Sheet(book, sheet).at("merged").get<std::vector<std::string>>();
}

class ExportTest : public ExchangeTest {
protected:
    Json Export(const ExportXlsOptions& options = {}, const std::string& name = "export.xlsx")
    {
        const std::string path = temp.Path(name);
        EXPECT_TRUE(ExportXlsx(GS::UniString(path), options));
        return InspectWithOpenpyxl(path);
    }

    // Two categories: one with a three-chunk description and three items, one empty.
    void BuildEstimate()
    {
        RemoveDefaultCategory();
        const GS::Int32 walls = AddCategory("Walls", "01", "Intro\n\n1. Walls\n\n  2. Doors");
        AddItem(walls, "W1", "Brick wall", "m2", 12.5, 3.25);
        AddItem(walls, "W2", "Concrete", "m3", 2.0, 100.0);
        AddItem(walls, "W3", "", "pcs", 0.1, 0.2);
        AddCategory("Empty");
    }
};

TEST_F(ExportTest, WritesTheRecapitulationAndOneSheetPerCategory)
{
    SetProjectInfo({ { "PROJECTNAME", "House Nord" }, { "CLIENT_FULLNAME", "Ana Client" },
        { "CLIENTADDRESS1", "Main Street 1" }, { "CLIENTCITY", "Ljubljana" }, { "CLIENTCOUNTRY", "Slovenia" },
        { "CONTACT_FULLNAME", "Bo Author" }, { "CONTACTCOMPANY", "Build Ltd" } });
    BuildEstimate();
    const Json book = Export();

    ASSERT_EQ(SheetNames(book), (std::vector<std::string> { "Recapitulation", "Walls", "Empty" }));

    // Recapitulation head.
    const Json a1 = Cell(book, 0, "A1");
    EXPECT_EQ(a1["value"], "House Nord");
    EXPECT_EQ(a1["fontSize"], 14.0);
    EXPECT_TRUE(a1["bold"].get<bool>());
    EXPECT_EQ(Cell(book, 0, "A4")["value"], "Ana Client");
    EXPECT_EQ(Cell(book, 0, "A5")["value"], "Main Street 1");
    EXPECT_EQ(Cell(book, 0, "A6")["value"], "Ljubljana, Slovenia");
    EXPECT_EQ(Cell(book, 0, "A7")["value"], "Build Ltd");
    EXPECT_EQ(Merged(book, 0), (std::vector<std::string> { "A18:C18", "A1:B1", "A4:B4", "A5:B5", "A6:B6", "A7:B7" }));
    const char* headers[][2] = { { "A12", "Code" }, { "B12", "Category" }, { "C12", "Total" } };
    for (const auto& h : headers) {
        const Json cell = Cell(book, 0, h[0]);
        EXPECT_EQ(cell["value"], h[1]);
        EXPECT_TRUE(cell["bold"].get<bool>());
        EXPECT_EQ(cell["fontSize"], 10.0);
        EXPECT_EQ(cell["bottom"], "thin");
        EXPECT_EQ(cell["bottomColor"], "FF000000");
        EXPECT_EQ(cell["vertical"], "top");
    }

    // Category rows, grand total and author.
    const double wallsTotal = 12.5 * 3.25 + 2.0 * 100.0 + 0.1 * 0.2;
    EXPECT_EQ(Cell(book, 0, "A13")["value"], "01");
    EXPECT_EQ(Cell(book, 0, "B13")["value"], "Walls");
    EXPECT_EQ(Cell(book, 0, "B13")["fontSize"], 10.0);
    EXPECT_EQ(Cell(book, 0, "C13")["formula"], "='Walls'!G14");
    EXPECT_DOUBLE_EQ(Cell(book, 0, "C13")["cached"].get<double>(), wallsTotal);
    EXPECT_EQ(Cell(book, 0, "C13")["numberFormat"], "0.00");
    EXPECT_EQ(Cell(book, 0, "B14")["value"], "Empty");
    EXPECT_EQ(Cell(book, 0, "C14")["formula"], "='Empty'!B100");
    EXPECT_EQ(Cell(book, 0, "C14")["cached"], 0);
    EXPECT_EQ(Cell(book, 0, "B15")["value"], "TOTAL");
    EXPECT_TRUE(Cell(book, 0, "B15")["bold"].get<bool>());
    EXPECT_EQ(Cell(book, 0, "C15")["formula"], "=SUM(C13:C14)");
    EXPECT_DOUBLE_EQ(Cell(book, 0, "C15")["cached"].get<double>(), wallsTotal);
    EXPECT_EQ(Cell(book, 0, "C15")["bottom"], "thin");
    EXPECT_EQ(Cell(book, 0, "A18")["value"], "Author: Bo Author");
    EXPECT_EQ(Sheet(book, 0)["widths"], (Json { { "A", 8.0 }, { "B", 30.0 }, { "C", 10.0 } }));
    EXPECT_FALSE(Sheet(book, 0)["protected"].get<bool>());

    // The category sheet: title, three description rows, header in row 6, items 7, 9, 11, total 14.
    EXPECT_EQ(Cell(book, 1, "A1")["value"], "Walls");
    EXPECT_EQ(Cell(book, 1, "A1")["fontSize"], 14.0);
    EXPECT_EQ(Cell(book, 1, "A2")["value"], "Intro");
    EXPECT_EQ(Cell(book, 1, "A3")["value"], "1. Walls");
    EXPECT_EQ(Cell(book, 1, "A4")["value"], "2. Doors");
    EXPECT_TRUE(Cell(book, 1, "A3")["wrap"].get<bool>());
    EXPECT_EQ(Merged(book, 1), (std::vector<std::string> { "A2:G2", "A3:G3", "A4:G4" }));
    EXPECT_EQ(Sheet(book, 1)["heights"], (Json { { "2", 30.0 }, { "3", 30.0 }, { "4", 30.0 } }));
    const char* itemHeaders[] = { "No.", "Code", "Description", "Unit", "Quantity", "Price", "Total" };
    for (int c = 0; c < 7; ++c) {
        const Json cell = Cell(book, 1, std::string(1, char('A' + c)) + "6");
        EXPECT_EQ(cell["value"], itemHeaders[c]);
        EXPECT_TRUE(cell["bold"].get<bool>());
        EXPECT_EQ(cell["bottom"], "thin");
    }
    EXPECT_EQ(Cell(book, 1, "A5"), Json()) << "row n + 2 stays empty";

    const struct {
        int row;
        int number;
        const char* code;
        const char* descript;
        const char* unit;
        double qty;
        double price;
    } items[] = { { 7, 1, "W1", "Brick wall", "m2", 12.5, 3.25 }, { 9, 2, "W2", "Concrete", "m3", 2.0, 100.0 },
        { 11, 3, "W3", "", "pcs", 0.1, 0.2 } };
    for (const auto& item : items) {
        const std::string r = std::to_string(item.row);
        EXPECT_EQ(Cell(book, 1, "A" + r)["value"], item.number);
        EXPECT_EQ(Cell(book, 1, "A" + r)["numberFormat"], "0");
        EXPECT_EQ(Cell(book, 1, "B" + r)["value"], item.code);
        if (*item.descript != '\0') {
            EXPECT_EQ(Cell(book, 1, "C" + r)["value"], item.descript);
        }
        EXPECT_TRUE(Cell(book, 1, "C" + r)["wrap"].get<bool>()) << "description cell keeps its format even when empty";
        EXPECT_EQ(Cell(book, 1, "D" + r)["value"], item.unit);
        EXPECT_DOUBLE_EQ(Cell(book, 1, "E" + r)["value"].get<double>(), item.qty);
        EXPECT_EQ(Cell(book, 1, "E" + r)["numberFormat"], "0.00");
        EXPECT_DOUBLE_EQ(Cell(book, 1, "F" + r)["value"].get<double>(), item.price);
        EXPECT_EQ(Cell(book, 1, "F" + r)["numberFormat"], "0.00");
        EXPECT_FALSE(Cell(book, 1, "F" + r)["bold"].get<bool>());
        EXPECT_EQ(Cell(book, 1, "G" + r)["formula"], "=E" + r + "*F" + r);
        EXPECT_DOUBLE_EQ(Cell(book, 1, "G" + r)["cached"].get<double>(), item.qty * item.price);
        EXPECT_EQ(Cell(book, 1, "G" + r)["fontSize"], 10.0);
        EXPECT_EQ(Cell(book, 1, "B" + r)["vertical"], "top");
    }
    EXPECT_EQ(Cell(book, 1, "A8"), Json()) << "one empty row between items";
    EXPECT_EQ(Cell(book, 1, "F14")["value"], "TOTAL:");
    EXPECT_TRUE(Cell(book, 1, "F14")["bold"].get<bool>());
    EXPECT_EQ(Cell(book, 1, "G14")["formula"], "=SUM(G7:G11)");
    EXPECT_DOUBLE_EQ(Cell(book, 1, "G14")["cached"].get<double>(), wallsTotal);
    EXPECT_TRUE(Cell(book, 1, "G14")["bold"].get<bool>());
    EXPECT_EQ(Cell(book, 1, "G14")["bottom"], "thin");
    EXPECT_EQ(Sheet(book, 1)["widths"],
        (Json { { "A", 8.0 }, { "B", 10.0 }, { "C", 30.0 }, { "D", 6.0 }, { "E", 8.0 }, { "F", 8.0 }, { "G", 10.0 } }));

    // The empty category: an empty description row, its header in row 4, nothing below.
    EXPECT_EQ(Merged(book, 2), (std::vector<std::string> { "A2:G2" }));
    EXPECT_EQ(Sheet(book, 2)["heights"], (Json { { "2", 30.0 } }));
    EXPECT_EQ(Cell(book, 2, "A4")["value"], "No.");
    EXPECT_EQ(Cell(book, 2, "G4")["value"], "Total");
    for (const auto& [ref, cell] : Sheet(book, 2)["cells"].items()) {
        uint32_t row = std::stoi(ref.substr(1));
        EXPECT_LE(row, 4u) << ref;
    }
}

TEST_F(ExportTest, PriceOptionsChooseTheLookAndLockOfPriceCells)
{
    BuildEstimate();
    const struct {
        bool doNotExport;
        bool mark;
        bool lock;
    } cases[] = {
        { false, false, false },
        { false, true, false },
        { false, false, true },
        { false, true, true },
        { true, false, false },
        { true, true, false },
        { true, false, true },
        { true, true, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "doNotExport " << c.doNotExport << " mark " << c.mark << " lock " << c.lock);
        ExportXlsOptions options;
        options.doNotExportPrices = c.doNotExport;
        options.markPriceFieldsAsInput = c.mark;
        options.lockAllExceptPrices = c.lock;
        const Json book = Export(options, "options.xlsx");

        for (size_t s = 0; s < 3; ++s)
            EXPECT_EQ(Sheet(book, s)["protected"].get<bool>(), c.lock) << "sheet " << s;

        for (const char* ref : { "F7", "F9", "F11" }) {
            const Json price = Cell(book, 1, ref);
            EXPECT_EQ(price["numberFormat"], "0.00");
            EXPECT_EQ(price["bold"].get<bool>(), c.mark);
            EXPECT_EQ(price["fill"], c.mark ? Json("solid") : Json());
            if (c.mark) {
                EXPECT_EQ(price["fillColor"], "FFFFA500");
            }
            EXPECT_EQ(price["locked"].get<bool>(), !c.lock) << "prices are the only unlocked cells";
            if (c.doNotExport) {
                EXPECT_EQ(price["value"], 0);
            }
        }
        // Every other written cell stays locked and unfilled.
        for (size_t s = 0; s < 3; ++s) {
            for (const auto& [ref, cell] : Sheet(book, s)["cells"].items()) {
                if (s == 1 && (ref == "F7" || ref == "F9" || ref == "F11"))
                    continue;
                EXPECT_TRUE(cell["locked"].get<bool>()) << ref;
                EXPECT_TRUE(cell["fill"].is_null()) << ref;
            }
        }
        const double expected = c.doNotExport ? 0.0 : 12.5 * 3.25 + 2.0 * 100.0 + 0.1 * 0.2;
        EXPECT_DOUBLE_EQ(Cell(book, 1, "G14")["cached"].get<double>(), expected);
        EXPECT_DOUBLE_EQ(Cell(book, 0, "C13")["cached"].get<double>(), expected);
        EXPECT_DOUBLE_EQ(Cell(book, 0, "C15")["cached"].get<double>(), expected);
        EXPECT_DOUBLE_EQ(Cell(book, 1, "G9")["cached"].get<double>(), c.doNotExport ? 0.0 : 200.0);
    }
}

TEST_F(ExportTest, AnEstimateWithoutCategoriesTotalsZeroWithoutReferringToItself)
{
    RemoveDefaultCategory();
    ASSERT_EQ(QueryInt("SELECT COUNT(*) FROM categories"), 0);
    const Json book = Export();
    ASSERT_EQ(SheetNames(book), std::vector<std::string> { "Recapitulation" });
    EXPECT_EQ(Cell(book, 0, "A1")["value"], "Project");
    EXPECT_EQ(Cell(book, 0, "B13")["value"], "TOTAL");
    EXPECT_EQ(Cell(book, 0, "C13")["formula"], "=0");
    EXPECT_EQ(Cell(book, 0, "C13")["cached"], 0);
    EXPECT_TRUE(Cell(book, 0, "C13")["bold"].get<bool>());
}

TEST_F(ExportTest, IsLocaleIndependentAndLeavesTheProcessLocale)
{
    ScopedLocale german("de_DE.UTF-8");
    ASSERT_TRUE(german.Active()) << "de_DE.UTF-8 must be generated on this machine";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");

    RemoveDefaultCategory();
    const GS::Int32 category = AddCategory("Fractions", "1.5", "Description with 2,5 and 3.5");
    AddItem(category, "F1", "Part", "m", 1234.5, 0.1);
    AddItem(category, "F2", "Part", "m", 1.0 / 3.0, 2.75);
    const Json book = Export();

    EXPECT_STREQ(std::localeconv()->decimal_point, ",") << "the process locale is left as it was";
    EXPECT_NE(std::string(std::setlocale(LC_ALL, nullptr)).find("de_DE"), std::string::npos);

    EXPECT_EQ(Cell(book, 0, "A13")["value"], "1.5");
    EXPECT_DOUBLE_EQ(Cell(book, 1, "E5")["value"].get<double>(), 1234.5);
    EXPECT_DOUBLE_EQ(Cell(book, 1, "F5")["value"].get<double>(), 0.1);
    EXPECT_DOUBLE_EQ(Cell(book, 1, "E7")["value"].get<double>(), 1.0 / 3.0);
    EXPECT_DOUBLE_EQ(Cell(book, 1, "G7")["cached"].get<double>(), 2.75 / 3.0);
    EXPECT_DOUBLE_EQ(Cell(book, 1, "G10")["cached"].get<double>(), 1234.5 * 0.1 + 2.75 / 3.0);
    EXPECT_EQ(Sheet(book, 1)["widths"]["C"], 30.0);
    EXPECT_EQ(Sheet(book, 1)["heights"]["2"], 30.0);
}

TEST_F(ExportTest, SheetNamesAreValidAndQuotedInReferences)
{
    RemoveDefaultCategory();
    const std::string longTitle = "A very long category title that goes on"; // 39 characters
    const GS::Int32 bob = AddCategory("Bob's [walls]: a/b");
    AddItem(bob, "B1", "", "m", 2.0, 3.0);
    AddCategory(longTitle);
    AddCategory("'Quoted'");
    AddCategory("");
    const Json book = Export();

    ASSERT_EQ(SheetNames(book),
        (std::vector<std::string> {
            "Recapitulation", "Bob's _walls__ a_b", "A very long category title that", "_Quoted_", "_" }));
    EXPECT_EQ(Cell(book, 0, "C13")["formula"], "='Bob''s _walls__ a_b'!G8");
    EXPECT_DOUBLE_EQ(Cell(book, 0, "C13")["cached"].get<double>(), 6.0);
    EXPECT_EQ(Cell(book, 0, "B13")["value"], "Bob's [walls]: a/b");
    EXPECT_EQ(Cell(book, 2, "A1")["value"], longTitle) << "the sheet's title is whole";
    EXPECT_EQ(Cell(book, 0, "C14")["formula"], "='A very long category title that'!B100");
    EXPECT_EQ(Cell(book, 0, "C16")["formula"], "='_'!B100");
}

TEST_F(ExportTest, FailsWhenTwoCategoriesWouldShareASheet)
{
    const struct {
        const char* first;
        const char* second;
    } cases[] = {
        { "Exactly the same first 31 chars A", "Exactly the same first 31 chars B" },
        { "Walls", "WALLS" },
        { "Recapitulation", "Other" },
        { "a/b", "a?b" },
    };
    for (const auto& c : cases) {
        RemoveDefaultCategory();
        Db().execSql("DELETE FROM categories");
        AddCategory(c.first);
        AddCategory(c.second);
        const std::string path = temp.Path("clash.xlsx");
        EXPECT_FALSE(ExportXlsx(GS::UniString(path), {})) << c.first << " / " << c.second;
    }
}

TEST_F(ExportTest, ProjectInformationVariants)
{
    const struct {
        std::vector<std::pair<std::string, std::string>> info;
        const char* a1;
        const char* a6;
        bool clientRow;
    } cases[] = {
        { {}, "Project", nullptr, false },
        { { { "PROJECTNAME", "<####>" }, { "CLIENT_FULLNAME", "<####>" } }, "Project", nullptr, false },
        { { { "PROJECTNAME", "P" }, { "CLIENTCITY", "Maribor" } }, "P", "Maribor", false },
        { { { "CLIENTCOUNTRY", "Austria" }, { "CLIENT_FULLNAME", "Cli" } }, "Project", "Austria", true },
        // The first entry of a key counts.
        { { { "PROJECTNAME", "First" }, { "PROJECTNAME", "Second" } }, "First", nullptr, false },
        { { { "PROJECTNAME",
              "\xC5\xBD"
              "alec" } },
            "\xC5\xBD"
            "alec",
            nullptr, false },
    };
    for (const auto& c : cases) {
        SetProjectInfo(c.info);
        const Json book = Export({}, "info.xlsx");
        EXPECT_EQ(Cell(book, 0, "A1")["value"], c.a1);
        EXPECT_EQ(Cell(book, 0, "A6")["value"], c.a6 ? Json(c.a6) : Json());
        EXPECT_EQ(Cell(book, 0, "A4")["value"], c.clientRow ? Json("Cli") : Json());
        const std::vector<std::string> merged = Merged(book, 0);
        EXPECT_EQ(std::count(merged.begin(), merged.end(), "A4:B4"), c.clientRow ? 1 : 0);
        EXPECT_EQ(Cell(book, 0, "A17"), Json()) << "no author line without a contact name";
    }

    // A host that cannot give the texts leaves them all empty; the export still succeeds.
    SetProjectInfo({ { "PROJECTNAME", "Lost" } });
    host->FailOperation("HostGetAutoTexts");
    const Json book = Export({}, "failed.xlsx");
    EXPECT_EQ(Cell(book, 0, "A1")["value"], "Project");
}

TEST(GetAutoTextValue, FindsTheFirstEntryOfAKey)
{
    GS::Array<GS::ArrayFB<GS::UniString, 3>> texts;
    auto add = [&](const char* d, const char* k, const char* v) {
        GS::ArrayFB<GS::UniString, 3> t;
        t.Push(GS::UniString(d));
        t.Push(GS::UniString(k));
        t.Push(GS::UniString(v));
        texts.Push(t);
    };
    add("Name", "PROJECTNAME", "Villa");
    add("Name again", "PROJECTNAME", "Other");
    add("City", "CLIENTCITY", "<####>");
    add("Ünïcode", "CLIENTCOUNTRY", "Österreich");
    EXPECT_EQ(GetAutoTextValue(texts, "PROJECTNAME"), "Villa");
    EXPECT_EQ(GetAutoTextValue(texts, "CLIENTCITY"), "");
    EXPECT_EQ(GetAutoTextValue(texts, "CLIENTCOUNTRY"), "Österreich");
    EXPECT_EQ(GetAutoTextValue(texts, "projectname"), "");
    EXPECT_EQ(GetAutoTextValue(texts, "MISSING"), "");
}

TEST_F(ExportTest, DescriptionRowsGrowWithTheirText)
{
    RemoveDefaultCategory();
    std::string sections;
    for (int i = 1; i <= 97; ++i)
        sections += (i > 1 ? "\n\n" : "") + std::to_string(i) + ". Section";
    AddCategory("Long", "", std::string(1000, 'x'));
    AddCategory("Huge", "", std::string(10000, 'y'));
    AddCategory("Sections", "", sections);
    const Json book = Export();

    EXPECT_EQ(Sheet(book, 1)["heights"]["2"], 15.0 * 13) << "1000 bytes ask for 13 lines";
    EXPECT_EQ(Cell(book, 1, "A2")["value"].get<std::string>().size(), 1000u);
    EXPECT_EQ(Sheet(book, 2)["heights"]["2"], 409.0) << "no row is higher than a spreadsheet allows";
    // 97 description rows put the header on row 100, where the empty category's reference points.
    EXPECT_EQ(Cell(book, 3, "A98")["value"], "97. Section");
    EXPECT_EQ(Cell(book, 3, "B100")["value"], "Code");
    EXPECT_EQ(Cell(book, 0, "C15")["formula"], "='Sections'!B100");
    EXPECT_EQ(Cell(book, 0, "C15")["cached"], "Code");
    EXPECT_EQ(Cell(book, 0, "C16")["cached"], 0);
}

TEST_F(ExportTest, TextsThatAreNoUtf8StillGiveAReadableWorkbook)
{
    RemoveDefaultCategory();
    const GS::Int32 c = AddCategory("x");
    AddItem(c, "I", "", "m", 1.0, 1.0);
    // Stored bytes that are no UTF-8, as a damaged or foreign database could hold them.
    Db().execSql("UPDATE categories SET title = CAST(X'41FF42' AS TEXT), descript = CAST(X'C328' AS TEXT)");
    Db().execSql("UPDATE items SET unit = CAST(X'E282' AS TEXT)");
    // U+FFFE and U+FFFF are UTF-8 but no characters an XML part may hold.
    Db().execSql("UPDATE items SET code = 'a' || char(65534) || 'b' || char(65535)");
    const Json book = Export();
    EXPECT_EQ(SheetNames(book),
        (std::vector<std::string> { "Recapitulation",
            "A\xEF\xBF\xBD"
            "B" }));
    EXPECT_EQ(Cell(book, 0, "B13")["value"],
        "A\xEF\xBF\xBD"
        "B");
    EXPECT_EQ(Cell(book, 1, "A2")["value"], "\xEF\xBF\xBD(");
    EXPECT_EQ(Cell(book, 1, "D5")["value"], "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(Cell(book, 1, "B5")["value"],
        "a\xEF\xBF\xBD"
        "b\xEF\xBF\xBD");
}

TEST_F(ExportTest, ReplacesAnExistingFileAndFailsOnAnUnwritablePath)
{
    const std::string path = temp.Path("existing.xlsx");
    WriteFileBytes(path, std::string(100000, 'z'));
    EXPECT_TRUE(ExportXlsx(GS::UniString(path), {}));
    const Json book = InspectWithOpenpyxl(path);
    EXPECT_EQ(SheetNames(book), (std::vector<std::string> { "Recapitulation", "Untitled Category" }));

    EXPECT_FALSE(ExportXlsx(GS::UniString(temp.Path("no/such/folder/x.xlsx")), {}));
}

TEST_F(ExportTest, ANumberNoWorkbookCanHoldFailsTheExportInsteadOfCorruptingIt)
{
    const GS::Int32 category = AddCategory("Bad");
    const GS::Int32 item = AddItem(category, "I", "", "m", 1.0, 1.0);
    Db().execSql("UPDATE items SET price = 1e308 * 10 WHERE id = " + std::to_string(item));
    const std::string path = temp.Path("inf.xlsx");
    EXPECT_FALSE(ExportXlsx(GS::UniString(path), {}));
    ExportXlsOptions noPrices;
    noPrices.doNotExportPrices = true;
    EXPECT_TRUE(ExportXlsx(GS::UniString(path), noPrices));
}

} // namespace
