#include <clocale>
#include <cmath>
#include <string>

#include "ExchangeTestSupport.hpp"

namespace {

class ExportTest : public ExchangeTest {
protected:
    Json ExportAndInspect(const ExportXlsOptions& options = {})
    {
        const std::string path = temp.Path("export.xlsx");
        EXPECT_TRUE(Export(path, options));
        return InspectWithOpenpyxl(path);
    }

    // One category with a three-chunk description and three items, one whose sheet name needs care.
    void BuildEstimate()
    {
        RemoveDefaultCategory();
        const GS::Int32 walls = AddCategory("Walls", "01", "Intro\n\n1. Walls\n\n  2. Doors");
        AddItem(walls, "W1", "Brick wall", "m2", 12.5, 3.25);
        AddItem(walls, "W2", "Concrete _x0041_", "m3", 2.0, 100.0);
        AddItem(walls, "W3", "", "pcs", 0.1, 0.2);
        AddCategory("Bob's [empty]: a/b");
    }
};

// Under a comma-decimal locale, which neither the written nor the read numbers may follow.
TEST_F(ExportTest, WritesTheLayoutThatOpenpyxlReadsWhateverTheTextsAndImportsItBack)
{
    ScopedLocale german("de_DE.UTF-8");
    ASSERT_TRUE(german.active) << "de_DE.UTF-8 must be generated on this machine";
    SetProjectInfo({ { "PROJECTNAME", "House Nord" }, { "CLIENT_FULLNAME", "Ana Client" },
        { "CLIENTADDRESS1", "Main Street 1" }, { "CLIENTCITY", "Ljubljana" }, { "CLIENTCOUNTRY", "Slovenia" },
        { "CONTACT_FULLNAME", "Bo Author" }, { "CONTACTCOMPANY", "Build Ltd" } });
    BuildEstimate();
    // Long texts, and bytes that are no UTF-8 as a damaged or foreign database could hold them;
    // U+FFFE and U+FFFF are UTF-8 but no characters an XML part may hold.
    std::string sections, sentences;
    for (int i = 1; i <= 97; ++i)
        sections += (i > 1 ? "\n\n" : "") + std::to_string(i) + ". Section";
    AddCategory("Long", "", std::string(1000, 'x'));
    AddCategory("Huge", "", std::string(10000, 'y'));
    AddCategory("Sections", "", sections);
    AddItem(AddCategory("x"), "I", "", "m", 1.0, 1.0);
    Db().execSql("UPDATE categories SET title = CAST(X'41FF42' AS TEXT), descript = CAST(X'C328' AS TEXT) "
                 "WHERE title = 'x'; UPDATE items SET unit = CAST(X'E282' AS TEXT), "
                 "code = 'a' || char(65534) || 'b' || char(65535) WHERE code = 'I'");
    // Descriptions cut into rows, titles that need care, an untitled category, exact numbers.
    for (int i = 0; i < 13; ++i)
        sentences += std::string(118, char('a' + i)) + ". "; // cut into three rows...
    sentences += "End.\n\n\n";                                // ...the last with its line feeds
    const std::string bob = "Bob's [roof]: \xC5\xBD" "elezo _x0041_";
    const std::string longTitle = "A category title well beyond thirty-one characters";
    AddCategory("Notes", "", sentences);
    AddCategory("Empty category");
    AddItem(AddCategory(bob, "R-2"), "R1", "\xE2\x82\xAC price", "kg", 1e6, 0.01);
    AddItem(AddCategory("", "99"), "", "untitled item", "", 0.0, 7.0);
    AddItem(AddCategory(longTitle, "L"), "L1", "Line one\nline two", "m3", 1.0 / 3.0, 3.0);
    const Json book = ExportAndInspect();
    EXPECT_STREQ(std::localeconv()->decimal_point, ",") << "the process locale is left as it was";
    const Json expected = Json::parse(R"J({"order": ["Recapitulation", "Walls", "Bob's _empty__ a_b", "Long", "Huge",
      "Sections", "A\uFFFDB", "Notes", "Empty category", "Bob's _roof__ \u017Delezo _x0041_", "_",
      "A category title well beyond th"], "sheets": {
      "Recapitulation": {"protected": false, "widths": {"A": 8, "B": 30, "C": 10},
        "merged": ["A1:B1", "A27:C27", "A4:B4", "A5:B5", "A6:B6", "A7:B7"], "cells": {
        "A1": {"value": "House Nord", "fontSize": 14, "bold": true}, "A4": {"value": "Ana Client"},
        "A5": {"value": "Main Street 1"}, "A6": {"value": "Ljubljana, Slovenia"}, "A7": {"value": "Build Ltd"},
        "A12": {"value": "Code", "bold": true, "fontSize": 10, "bottom": "thin", "bottomColor": "FF000000",
          "vertical": "top"}, "B12": {"value": "Category", "bold": true, "bottom": "thin"},
        "C12": {"value": "Total", "bold": true},
        "A13": {"value": "01", "bold": false}, "B13": {"value": "Walls", "fontSize": 10, "vertical": "top"},
        "C13": {"formula": "='Walls'!G14", "cached": 240.645, "numberFormat": "0.00", "bold": false},
        "B14": {"value": "Bob's [empty]: a/b"}, "C14": {"formula": "='Bob''s _empty__ a_b'!B100", "cached": 0},
        "C17": {"formula": "='Sections'!B100", "cached": "Code"}, "B18": {"value": "A\uFFFDB"}, "C18": {"cached": 1},
        "B24": {"value": "TOTAL", "bold": true, "bottom": "thin"}, "A27": {"value": "Author: Bo Author"},
        "C24": {"formula": "=SUM(C13:C23)", "cached": 10242.645, "bold": true, "bottom": "thin",
          "numberFormat": "0.00"}}},
      "Walls": {"protected": false, "merged": ["A2:G2", "A3:G3", "A4:G4"], "heights": {"2": 30, "3": 30, "4": 30},
        "widths": {"A": 8, "B": 10, "C": 30, "D": 6, "E": 8, "F": 8, "G": 10}, "cells": {
        "A1": {"value": "Walls", "fontSize": 14, "bold": true}, "A2": {"value": "Intro", "wrap": true},
        "A3": {"value": "1. Walls"}, "A4": {"value": "2. Doors"}, "A5": null, "B6": {"value": "Code"},
        "A6": {"value": "No.", "bold": true, "bottom": "thin"}, "C6": {"value": "Description"}, "D6": {"value": "Unit"},
        "E6": {"value": "Quantity"}, "F6": {"value": "Price"}, "G6": {"value": "Total", "bold": true, "bottom": "thin"},
        "A7": {"value": 1, "numberFormat": "0", "vertical": "top"}, "B7": {"value": "W1", "bold": false},
        "C7": {"value": "Brick wall", "wrap": true}, "D7": {"value": "m2"}, "A8": null,
        "E7": {"value": 12.5, "numberFormat": "0.00"}, "F7": {"value": 3.25, "numberFormat": "0.00", "bold": false},
        "G7": {"formula": "=E7*F7", "cached": 40.625, "numberFormat": "0.00", "fontSize": 10},
        "A9": {"value": 2}, "B9": {"value": "W2"}, "C9": {"value": "Concrete _x0041_"}, "D9": {"value": "m3"},
        "E9": {"value": 2}, "F9": {"value": 100}, "G9": {"formula": "=E9*F9", "cached": 200}, "A11": {"value": 3},
        "C11": {"value": null, "wrap": true}, "D11": {"value": "pcs"}, "E11": {"value": 0.1}, "F11": {"value": 0.2},
        "G11": {"formula": "=E11*F11", "cached": 0.02}, "F14": {"value": "TOTAL:", "bold": true, "bottom": "thin"},
        "G14": {"formula": "=SUM(G7:G11)", "cached": 240.645, "bold": true, "bottom": "thin", "numberFormat": "0.00"}}},
      "Bob's _empty__ a_b": {"merged": ["A2:G2"], "heights": {"2": 30}, "cells": {
        "A1": {"value": "Bob's [empty]: a/b"}, "A4": {"value": "No."}, "G4": {"value": "Total"}}},
      "Long": {"heights": {"2": 195}}, "Huge": {"heights": {"2": 409}},
      "Sections": {"cells": {"A98": {"value": "97. Section"}, "B100": {"value": "Code"}}},
      "A\uFFFDB": {"cells": {"A2": {"value": "\uFFFD("}, "B5": {"value": "a\uFFFDb\uFFFD"},
        "D5": {"value": "\uFFFD\uFFFD"}}}}})J");
    ExpectSubset(book, expected);
    EXPECT_EQ(book["sheets"]["Long"]["cells"]["A2"]["value"].get<std::string>().size(), 1000u);
    for (const auto& [ref, cell] : book["sheets"]["Bob's _empty__ a_b"]["cells"].items())
        EXPECT_LE(std::stoi(ref.substr(1)), 4) << "a sheet without items ends at its header: " << ref;

    // Imported: codes from column A, sort orders from the rows, the grand total ends the list, no
    // default category beside the imported ones, and a section number's leading blanks are gone.
    ASSERT_TRUE(Import(temp.Path("export.xlsx")));
    EXPECT_EQ(Rows(CategoryRows),
        (Texts { "Walls|01|1|240.645000", "Bob's [empty]: a/b||2|0.000000", "Long||3|0.000000", "Huge||4|0.000000",
            "Sections||5|0.000000", "A\xEF\xBF\xBD" "B||6|1.000000", "Notes||7|0.000000", "Empty category||8|0.000000",
            bob + "|R-2|9|10000.000000", "|99|10|0.000000", longTitle + "|L|11|1.000000" }));
    EXPECT_EQ(Rows("SELECT descript FROM categories ORDER BY id"),
        (Texts { "Intro\n\n1. Walls\n\n2. Doors", "", std::string(1000, 'x'), std::string(10000, 'y'), sections,
            "\xEF\xBF\xBD(", sentences, "", "", "", "" }));
    EXPECT_EQ(Rows("SELECT qty = 1.0 / 3 FROM items WHERE code = 'L1'"), Texts { "1" }) << "the exact quantity";
    EXPECT_EQ(Rows("SELECT COUNT(*) FROM qties"), Texts { "0" }) << "quantities are not in the workbook";
    EXPECT_TRUE(Db().isChanged());
    // Everything else the workbook holds (items with their numbers, codes, texts, quantities and
    // prices) shows in exporting the estimate again: the same workbook, styles and layout too.
    EXPECT_EQ(ExportAndInspect(), book);
}

TEST_F(ExportTest, PriceOptionsChooseTheLookAndLockOfPriceCells)
{
    BuildEstimate();
    for (int bits = 0; bits < 8; ++bits) {
        const ExportXlsOptions o { (bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0 };
        SCOPED_TRACE("no prices, mark, lock: " + std::to_string(bits & 1) + std::to_string(bits / 2 & 1)
            + std::to_string(bits / 4));
        const Json book = ExportAndInspect(o);
        for (const auto& [name, sheet] : book["sheets"].items()) {
            EXPECT_EQ(sheet["protected"], o.lockAllExceptPrices) << name;
            for (const auto& [ref, cell] : sheet["cells"].items()) {
                const bool price = name == "Walls" && ref[0] == 'F' && ref != "F6" && ref != "F14";
                EXPECT_EQ(cell["locked"], !(price && o.lockAllExceptPrices)) << name << " " << ref;
                EXPECT_EQ(cell["fill"], price && o.markPriceFieldsAsInput ? Json("solid") : Json()) << ref;
                if (!price)
                    continue;
                ExpectSubset(cell, { { "numberFormat", "0.00" }, { "bold", o.markPriceFieldsAsInput } }, ref);
                EXPECT_EQ(cell["fillColor"], o.markPriceFieldsAsInput ? Json("FFFFA500") : Json()) << ref;
                EXPECT_TRUE(!o.doNotExportPrices || cell["value"] == 0) << ref;
            }
        }
        const double total = o.doNotExportPrices ? 0.0 : 12.5 * 3.25 + 2.0 * 100.0 + 0.1 * 0.2;
        const Json &walls = book.at("sheets").at("Walls").at("cells"), &recap = book.at("sheets").at("Recapitulation");
        for (const Json& cell : { walls.at("G14"), recap.at("cells").at("C13"), recap.at("cells").at("C15") })
            EXPECT_NEAR(cell.at("cached").get<double>(), total, 1e-9);
        EXPECT_EQ(walls.at("G9").at("cached"), o.doNotExportPrices ? 0 : 200);
    }
}

// An estimate without categories, with each kind of project information; every workbook replaces
// the file before it.
TEST_F(ExportTest, AnEmptyEstimateTotalsZeroWithoutReferringToItselfAndUnreadableWorkbooksAreRefused)
{
    RemoveDefaultCategory();
    WriteFileBytes(temp.Path("export.xlsx"), std::string(100000, 'z'));
    const struct { std::vector<std::pair<std::string, std::string>> info; Json a1, a4, a6; } cases[] = {
        { {}, "Project", nullptr, nullptr },
        { { { "PROJECTNAME", "<####>" }, { "CLIENT_FULLNAME", "<####>" } }, "Project", nullptr, nullptr },
        { { { "PROJECTNAME", "P" }, { "CLIENTCITY", "Maribor" } }, "P", nullptr, "Maribor" },
        { { { "CLIENTCOUNTRY", "Austria" }, { "CLIENT_FULLNAME", "Cli" } }, "Project", "Cli", "Austria" },
        { { { "PROJECTNAME", "First" }, { "PROJECTNAME", "Second" } }, "First", nullptr, nullptr },
        { { { "projectname", "lower case" } }, "Project", nullptr, nullptr },
        { { { "PROJECTNAME", "\xC5\xBD" "alec" } }, "\xC5\xBD" "alec", nullptr, nullptr },
    };
    for (const auto& c : cases) {
        SetProjectInfo(c.info);
        const Json book = ExportAndInspect();
        Json expected = Json::parse(R"J({"order": ["Recapitulation"], "sheets": {"Recapitulation": {"cells": {
          "B13": {"value": "TOTAL"}, "C13": {"formula": "=0", "cached": 0, "bold": true}, "A16": null}}}})J");
        for (const auto& [ref, value] : { std::pair { "A1", c.a1 }, { "A4", c.a4 }, { "A6", c.a6 } })
            expected["sheets"]["Recapitulation"]["cells"][ref]["value"] = value;
        ExpectSubset(book, expected, c.a1.dump());
        const std::string merged = book["sheets"]["Recapitulation"]["merged"].dump();
        EXPECT_EQ(merged.find("A4:B4") != std::string::npos, !c.a4.is_null());
    }
    // A host that cannot give the texts leaves them all empty; the export still succeeds.
    host->FailOperation("HostGetAutoTexts");
    EXPECT_EQ(ExportAndInspect()["sheets"]["Recapitulation"]["cells"]["A1"]["value"], "Project");

    // Instead of a workbook that cannot be read, the export fails: for sheet names that clash (the
    // same first 31 characters, letter case, the recapitulation's name, names that are equal once
    // made valid), a folder that does not exist, and an infinite price (without prices it is not
    // written at all).
    const std::vector<std::vector<std::string>> clashes = { { "Same first 31 characters, then A",
        "Same first 31 characters, then B" }, { "Walls", "WALLS" }, { "Recapitulation" }, { "a/b", "a?b" } };
    for (const auto& titles : clashes) {
        RemoveDefaultCategory();
        for (const std::string& title : titles)
            AddCategory(title);
        EXPECT_FALSE(Export(temp.Path("clash.xlsx"))) << titles[0];
    }
    RemoveDefaultCategory();
    EXPECT_FALSE(Export(temp.Path("no/such/folder/x.xlsx")));
    AddItem(AddCategory("Bad"), "I", "", "m", 1.0, HUGE_VAL);
    EXPECT_FALSE(Export(temp.Path("inf.xlsx")));
    EXPECT_TRUE(Export(temp.Path("fine.xlsx"), { true, false, false }));
}

} // namespace
