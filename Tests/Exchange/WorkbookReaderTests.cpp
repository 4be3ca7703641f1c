#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "Exchange/WorkbookReader.hpp"
#include "ExchangeTestSupport.hpp"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;
using Xlsx::CellType;

const char* const MainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char* const RelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char* const PkgRelNs = "http://schemas.openxmlformats.org/package/2006/relationships";

std::string PackageRels(const std::string& workbookTarget = "xl/workbook.xml")
{
    return std::string("<?xml version=\"1.0\"?><Relationships xmlns=\"") + PkgRelNs
        + "\"><Relationship Id=\"rId1\" Type=\"" + RelNs + "/officeDocument\" Target=\"" + workbookTarget
        + "\"/></Relationships>";
}

std::string WorkbookXml(const std::vector<std::string>& sheetNames)
{
    std::string xml
        = std::string("<?xml version=\"1.0\"?><workbook xmlns=\"") + MainNs + "\" xmlns:r=\"" + RelNs + "\"><sheets>";
    for (size_t i = 0; i < sheetNames.size(); ++i)
        xml += "<sheet name=\"" + sheetNames[i] + "\" sheetId=\"" + std::to_string(i + 1) + "\" r:id=\"rId"
            + std::to_string(i + 1) + "\"/>";
    return xml + "</sheets></workbook>";
}

std::string WorkbookRels(size_t sheets, bool sharedStrings)
{
    std::string xml = std::string("<?xml version=\"1.0\"?><Relationships xmlns=\"") + PkgRelNs + "\">";
    for (size_t i = 0; i < sheets; ++i)
        xml += "<Relationship Id=\"rId" + std::to_string(i + 1) + "\" Type=\"" + RelNs
            + "/worksheet\" Target=\"worksheets/sheet" + std::to_string(i + 1) + ".xml\"/>";
    if (sharedStrings)
        xml += std::string("<Relationship Id=\"rIdS\" Type=\"") + RelNs
            + "/sharedStrings\" Target=\"sharedStrings.xml\"/>";
    return xml + "</Relationships>";
}

std::string SheetXml(const std::string& rows)
{
    return std::string("<?xml version=\"1.0\"?><worksheet xmlns=\"") + MainNs + "\"><sheetData>" + rows
        + "</sheetData></worksheet>";
}

std::string SharedStrings(const std::string& items)
{
    return std::string("<?xml version=\"1.0\"?><sst xmlns=\"") + MainNs + "\">" + items + "</sst>";
}

// A package with one sheet "Data" and, when given, a shared-strings part.
Entries OneSheetPackage(const std::string& rows, const std::string& sharedItems = "", bool withShared = false)
{
    Entries entries = {
        { "_rels/.rels", PackageRels() },
        { "xl/workbook.xml", WorkbookXml({ "Data" }) },
        { "xl/_rels/workbook.xml.rels", WorkbookRels(1, withShared || !sharedItems.empty()) },
        { "xl/worksheets/sheet1.xml", SheetXml(rows) },
    };
    if (withShared || !sharedItems.empty())
        entries.push_back({ "xl/sharedStrings.xml", SharedStrings(sharedItems) });
    return entries;
}

Entries Replace(Entries entries, const std::string& name, const std::string& content)
{
    for (auto& entry : entries)
        if (entry.first == name)
            entry.second = content;
    return entries;
}

Entries Without(Entries entries, const std::string& name)
{
    Entries kept;
    for (auto& entry : entries)
        if (entry.first != name)
            kept.push_back(entry);
    return kept;
}

class WorkbookReaderTest : public ::testing::Test {
protected:
    std::string Package(const Entries& entries)
    {
        const std::string path = temp.Path("p" + std::to_string(counter++) + ".xlsx");
        WriteZip(path, entries);
        return path;
    }

    TempDir temp;
    int counter = 0;
};

TEST_F(WorkbookReaderTest, ReadsAWorkbookWrittenByOpenpyxl)
{
    const Json contents = { { "sheets",
        { { { "name", "First" },
              { "cells",
                  { { "A1", "Zürich \xE2\x82\xAC" }, { "B1", 42 }, { "C1", 2.5 }, { "D1", true },
                      { "E1", { { "formula", "=B1*C1" } } }, { "A3", "  padded  " }, { "B3", -7 } } } },
            { { "name", "Second sheet" }, { "cells", { { "A1", "x" } } } } } } };
    const std::string path = temp.Path("openpyxl.xlsx");
    WriteWithOpenpyxl(contents, path);

    auto workbook = Xlsx::OpenWorkbook(path);
    ASSERT_EQ(workbook->GetSheetCount(), 2u);
    EXPECT_EQ(workbook->GetSheetName(0), "First");
    EXPECT_EQ(workbook->GetSheetName(1), "Second sheet");

    const Xlsx::IWorksheet* sheet = workbook->FindSheet("First");
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->GetValue(1, 1).type, CellType::Text);
    EXPECT_EQ(sheet->GetValue(1, 1).text, "Zürich \xE2\x82\xAC");
    EXPECT_EQ(sheet->GetValue(1, 2).type, CellType::Integer);
    EXPECT_EQ(sheet->GetValue(1, 2).integer, 42);
    EXPECT_EQ(sheet->GetValue(1, 3).type, CellType::Number);
    EXPECT_DOUBLE_EQ(sheet->GetValue(1, 3).number, 2.5);
    EXPECT_EQ(sheet->GetValue(1, 4).type, CellType::Boolean);
    EXPECT_TRUE(sheet->GetValue(1, 4).boolean);
    EXPECT_EQ(sheet->GetCell(1, 5).formula, "B1*C1");
    EXPECT_EQ(sheet->GetValue(3, 1).text, "  padded  ");
    EXPECT_EQ(sheet->GetValue(3, 2).integer, -7);
    EXPECT_EQ(sheet->GetValue(2, 1).type, CellType::Empty);
    EXPECT_EQ(sheet->GetLastRow(), 3u);
    EXPECT_EQ(workbook->FindSheet("first"), nullptr) << "sheet names match byte for byte";
}

TEST_F(WorkbookReaderTest, ReadsSharedStringsRichTextAndEveryCellType)
{
    const std::string shared = "<si><t>plain</t></si>"
                               "<si><r><rPr><b/></rPr><t>rich </t></r><r><t xml:space=\"preserve\">text </t></r>"
                               "<rPh sb=\"0\" eb=\"1\"><t>phonetic</t></rPh></si>"
                               "<si><t>line_x000D_break _x005F_x0041_</t></si>"
                               "<si><t xml:space=\"preserve\"> </t></si>";
    const std::string rows = "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
                             "<c r=\"C1\" t=\"s\"><v>2</v></c><c r=\"D1\" t=\"s\"><v>3</v></c></row>"
                             "<row r=\"2\"><c r=\"A2\" t=\"e\"><v>#DIV/0!</v></c>"
                             "<c r=\"B2\" t=\"str\"><f>A1&amp;\"x\"</f><v>plainx</v></c>"
                             "<c r=\"C2\"><f>1+2</f><v>3</v></c>"
                             "<c r=\"D2\" t=\"b\"><v>0</v></c>"
                             "<c r=\"E2\" t=\"inlineStr\"><is><t>inline</t></is></c>"
                             "<c r=\"F2\" s=\"3\"/></row>"
                             "<row r=\"4\"><c><v>1.5E3</v></c><c><v>-0.25</v></c></row>"
                             "<row><c r=\"AA5\"><v>123456789012</v></c>"
                             "<c r=\"AB5\"><v>99999999999999999999</v></c><c r=\"AC5\"><v> 7 </v></c></row>";
    auto workbook = Xlsx::OpenWorkbook(Package(OneSheetPackage(rows, shared)));
    const Xlsx::IWorksheet& sheet = workbook->GetSheet(0);

    EXPECT_EQ(sheet.GetValue(1, 1).text, "plain");
    EXPECT_EQ(sheet.GetValue(1, 2).text, "rich text ");
    EXPECT_EQ(sheet.GetValue(1, 3).text, "line\rbreak _x0041_");
    EXPECT_EQ(sheet.GetValue(1, 4).text, " ");
    EXPECT_EQ(sheet.GetValue(2, 1).type, CellType::Error);
    EXPECT_EQ(sheet.GetValue(2, 1).text, "#DIV/0!");
    EXPECT_EQ(sheet.GetCell(2, 2).formula, "A1&\"x\"");
    EXPECT_EQ(sheet.GetValue(2, 2).text, "plainx");
    EXPECT_EQ(sheet.GetCell(2, 3).formula, "1+2");
    EXPECT_EQ(sheet.GetValue(2, 3).integer, 3);
    EXPECT_EQ(sheet.GetValue(2, 4).type, CellType::Boolean);
    EXPECT_FALSE(sheet.GetValue(2, 4).boolean);
    EXPECT_EQ(sheet.GetValue(2, 5).text, "inline");
    EXPECT_EQ(sheet.GetValue(2, 6).type, CellType::Empty);
    // Cells without a reference follow each other from column A of their row.
    EXPECT_EQ(sheet.GetValue(4, 1).type, CellType::Number);
    EXPECT_DOUBLE_EQ(sheet.GetValue(4, 1).number, 1500.0);
    EXPECT_DOUBLE_EQ(sheet.GetValue(4, 2).number, -0.25);
    // A row without a number follows the previous one.
    EXPECT_EQ(sheet.GetValue(5, 27).integer, 123456789012LL);
    // Too many digits for 64 bits: still the number, as a double.
    EXPECT_EQ(sheet.GetValue(5, 28).type, CellType::Number);
    EXPECT_DOUBLE_EQ(sheet.GetValue(5, 28).number, 1e20);
    EXPECT_EQ(sheet.GetValue(5, 29).integer, 7);
    EXPECT_EQ(sheet.GetLastRow(), 5u);
}

TEST_F(WorkbookReaderTest, FollowsRelationshipsPrefixesAndEntryNamesInAnyCase)
{
    // Parts in unusual places, names in other letter case, prefixed elements, an absolute target.
    const std::string workbook = std::string("<x:workbook xmlns:x=\"") + MainNs + "\" xmlns:rel=\"" + RelNs
        + "\"><x:sheets><x:sheet name=\"B sheet\" sheetId=\"7\" rel:id=\"s2\"/>"
          "<x:sheet name=\"A sheet\" sheetId=\"3\" rel:id=\"s1\"/></x:sheets></x:workbook>";
    const std::string rels = std::string("<Relationships xmlns=\"") + PkgRelNs + "\"><Relationship Id=\"s1\" Type=\""
        + RelNs + "/worksheet\" Target=\"/Data/One.XML\"/><Relationship Id=\"s2\" Type=\"" + RelNs
        + "/worksheet\" Target=\"../Data/./two.xml\"/></Relationships>";
    const std::string sheet1 = std::string("<x:worksheet xmlns:x=\"") + MainNs
        + "\"><x:sheetData><x:row r=\"1\"><x:c r=\"A1\"><x:v>1</x:v></x:c></x:row></x:sheetData>"
          "</x:worksheet>";
    const Entries entries = {
        { "_RELS/.rels", PackageRels("/Book/Main.xml") },
        { "book/main.xml", workbook },
        { "Book/_rels/Main.xml.rels", rels },
        { "data/one.xml", sheet1 },
        { "DATA/TWO.xml", SheetXml("<row r=\"2\"><c r=\"B2\"><v>2</v></c></row>") },
    };
    auto book = Xlsx::OpenWorkbook(Package(entries));
    ASSERT_EQ(book->GetSheetCount(), 2u);
    EXPECT_EQ(book->GetSheetName(0), "B sheet");
    EXPECT_EQ(book->GetSheetName(1), "A sheet");
    EXPECT_EQ(book->GetSheet(0).GetValue(2, 2).integer, 2);
    EXPECT_EQ(book->GetSheet(1).GetValue(1, 1).integer, 1);
}

TEST_F(WorkbookReaderTest, RefusesHostileAndBrokenFiles)
{
    const Entries good = OneSheetPackage("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>", "<si><t>a</t></si>");
    const std::string laughs
        = "<?xml version=\"1.0\"?><!DOCTYPE sst [<!ENTITY a \"aaaaaaaaaa\">"
          "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\">]>"
          "<sst xmlns=\""
        + std::string(MainNs) + "\"><si><t>&c;</t></si></sst>";
    const struct {
        const char* name;
        Entries entries;
        bool readSheet; // the fault shows when the sheet is read
        const char* message;
    } cases[] = {
        { "no package relationships", Without(good, "_rels/.rels"), false, "no workbook" },
        { "workbook part missing", Without(good, "xl/workbook.xml"), false, "no workbook" },
        { "sheet part missing", Without(good, "xl/worksheets/sheet1.xml"), true, "no part" },
        { "shared strings missing", Without(good, "xl/sharedStrings.xml"), false, "no part" },
        { "shared-string index out of range",
            Replace(good, "xl/worksheets/sheet1.xml", SheetXml("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>1</v></c></row>")),
            true, "shared string" },
        { "negative shared-string index",
            Replace(good, "xl/worksheets/sheet1.xml", SheetXml("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>-1</v></c></row>")),
            true, "shared string" },
        { "malformed sheet XML", Replace(good, "xl/worksheets/sheet1.xml", "<worksheet><sheetData><row>"), true,
            "not well-formed" },
        { "malformed workbook XML", Replace(good, "xl/workbook.xml", "<workbook"), false, "not well-formed" },
        { "entity expansion", Replace(good, "xl/sharedStrings.xml", laughs), false, "document type" },
        { "bad cell reference",
            Replace(good, "xl/worksheets/sheet1.xml", SheetXml("<row r=\"1\"><c r=\"A0\"><v>1</v></c></row>")), true,
            "cell reference" },
        { "column beyond the last",
            Replace(good, "xl/worksheets/sheet1.xml", SheetXml("<row r=\"1\"><c r=\"XFE1\"><v>1</v></c></row>")), true,
            "cell reference" },
        { "row beyond the last",
            Replace(good, "xl/worksheets/sheet1.xml", SheetXml("<row r=\"1048577\"><c><v>1</v></c></row>")), true,
            "row number" },
        { "malformed number",
            Replace(good, "xl/worksheets/sheet1.xml", SheetXml("<row r=\"1\"><c r=\"A1\"><v>1,5</v></c></row>")), true,
            "malformed number" },
        { "number that is no finite value",
            Replace(good, "xl/worksheets/sheet1.xml", SheetXml("<row r=\"1\"><c r=\"A1\"><v>inf</v></c></row>")), true,
            "malformed number" },
        { "unknown cell type",
            Replace(good, "xl/worksheets/sheet1.xml", SheetXml("<row r=\"1\"><c r=\"A1\" t=\"zz\"><v>1</v></c></row>")),
            true, "unknown type" },
        { "sheet without a part", Replace(good, "xl/_rels/workbook.xml.rels", WorkbookRels(0, true)), false,
            "has no part" },
        { "entry twice in other letter case",
            [&] {
                Entries e = good;
                e.push_back({ "XL/WORKBOOK.XML", WorkbookXml({ "Other" }) });
                return e;
            }(),
            false, "twice" },
    };
    for (const auto& c : cases) {
        const std::string path = Package(c.entries);
        try {
            auto workbook = Xlsx::OpenWorkbook(path);
            if (c.readSheet)
                workbook->GetSheet(0);
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const Xlsx::WorkbookError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.name << ": " << e.what();
        }
    }
}

TEST_F(WorkbookReaderTest, RefusesFilesThatAreNoPackage)
{
    const std::string text = temp.Path("text.xlsx");
    WriteFileBytes(text, "This is not a ZIP file at all, just some text.");
    EXPECT_THROW(Xlsx::OpenWorkbook(text), Xlsx::WorkbookError);
    EXPECT_THROW(Xlsx::OpenWorkbook(temp.Path("missing.xlsx")), Xlsx::WorkbookError);

    // A package cut in the middle.
    const std::string full = Package(OneSheetPackage("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"));
    const std::string bytes = ReadFileBytes(full);
    const std::string cut = temp.Path("cut.xlsx");
    WriteFileBytes(cut, bytes.substr(0, bytes.size() / 2));
    EXPECT_THROW(Xlsx::OpenWorkbook(cut)->GetSheet(0), Xlsx::WorkbookError);
}

TEST_F(WorkbookReaderTest, StopsInflatingAtTheSizeCap)
{
    Xlsx::ReaderLimits limits;
    limits.maxEntryBytes = 1 << 20;
    const Entries entries = OneSheetPackage("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");

    // A sheet that inflates to 3 MiB of blanks (well-formed padding inside the XML would not matter).
    const std::string path = temp.Path("large.xlsx");
    WriteZipWithLargeEntry(path, Without(entries, "xl/worksheets/sheet1.xml"), "xl/worksheets/sheet1.xml", 3 << 20);
    auto workbook = Xlsx::OpenWorkbook(path, limits);
    try {
        workbook->GetSheet(0);
        ADD_FAILURE() << "accepted";
    } catch (const Xlsx::WorkbookError& e) {
        EXPECT_NE(std::string(e.what()).find("size limit"), std::string::npos) << e.what();
    }

    // The same workbook under the default limits is only refused for what it holds.
    auto relaxed = Xlsx::OpenWorkbook(path);
    EXPECT_THROW(relaxed->GetSheet(0), Xlsx::WorkbookError);

    Xlsx::ReaderLimits fewCells;
    fewCells.maxCells = 2;
    auto crowded = Xlsx::OpenWorkbook(
        Package(OneSheetPackage(
            "<row r=\"1\"><c r=\"A1\"><v>1</v></c><c r=\"B1\"><v>2</v></c><c r=\"C1\"><v>3</v></c></row>")),
        fewCells);
    EXPECT_THROW(crowded->GetSheet(0), Xlsx::WorkbookError);
}

TEST(CellReference, ParsesAndNamesColumns)
{
    const struct {
        const char* reference;
        bool valid;
        uint32_t row;
        uint32_t column;
    } cases[] = {
        { "A1", true, 1, 1 },
        { "G12", true, 12, 7 },
        { "Z9", true, 9, 26 },
        { "AA1", true, 1, 27 },
        { "XFD1048576", true, 1048576, 16384 },
        { "XFE1", false, 0, 0 },
        { "A0", false, 0, 0 },
        { "A1048577", false, 0, 0 },
        { "1A", false, 0, 0 },
        { "A", false, 0, 0 },
        { "", false, 0, 0 },
        { "AAAA1", false, 0, 0 },
        { "A1x", false, 0, 0 },
        { "A-1", false, 0, 0 },
    };
    for (const auto& c : cases) {
        uint32_t row = 0, column = 0;
        EXPECT_EQ(Xlsx::ParseCellReference(c.reference, &row, &column), c.valid) << c.reference;
        if (c.valid) {
            EXPECT_EQ(row, c.row) << c.reference;
            EXPECT_EQ(column, c.column) << c.reference;
            EXPECT_EQ(Xlsx::ColumnName(column) + std::to_string(row), c.reference);
        }
    }
}

} // namespace
