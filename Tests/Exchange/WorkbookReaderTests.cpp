#include <string>
#include <tuple>

#include "Exchange/WorkbookReader.hpp"
#include "ExchangeTestSupport.hpp"

namespace {

using Xlsx::CellType;

// The entries with the first occurrence of from replaced by to in the named one; with an
// empty from, the named entry replaced by to, or removed when to is empty too.
Entries Edit(const Entries& entries, const std::string& name, const std::string& from, const std::string& to)
{
    Entries edited;
    for (auto [entryName, content] : entries) {
        if (entryName == name && from.empty())
            continue;
        if (entryName == name)
            content.replace(content.find(from), from.size(), to);
        edited.push_back({ entryName, content });
    }
    if (from.empty() && !to.empty())
        edited.push_back({ name, to });
    return edited;
}

const TempDir temp;

std::string Package(const Entries& entries)
{
    static int counter = 0;
    const std::string path = temp.Path("p" + std::to_string(counter++) + ".xlsx");
    WriteZip(path, entries);
    return path;
}

// The reader's message for a file it refuses, opened and every sheet read.
std::string Refusal(const std::string& path, const Xlsx::ReaderLimits& limits = {})
{
    try {
        auto workbook = Xlsx::OpenWorkbook(path, limits);
        for (std::size_t i = 0; i < workbook->GetSheetCount(); ++i)
            workbook->GetSheet(i);
        return "accepted";
    } catch (const Xlsx::WorkbookError& e) {
        return e.what();
    }
}

// The sheets' parts in unusual places, entry names in other letter case, prefixed elements,
// absolute targets; shared strings with rich text, and every type of cell.
TEST(WorkbookReader, FollowsRelationshipsAndReadsSharedStringsAndEveryCellType)
{
    const std::string shared = "<si><t>plain</t></si><si><r><rPr><b/></rPr><t>rich </t></r><r><t "
                               "xml:space=\"preserve\">text </t></r><rPh sb=\"0\" eb=\"1\"><t>phonetic</t></rPh></si>"
                               "<si><t>line_x000D_break _x005F_x0041_</t></si><si><t xml:space=\"preserve\"> </t></si>";
    const std::string rows = "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
                             "<c r=\"C1\" t=\"s\"><v>2</v></c><c r=\"D1\" t=\"s\"><v>3</v></c></row>"
                             "<row r=\"2\"><c r=\"A2\" t=\"e\"><v>#DIV/0!</v></c>"
                             "<c r=\"B2\" t=\"str\"><f>A1&amp;\"x\"</f><v>plainx</v></c><c r=\"C2\"><f>1+2</f>"
                             "<v>3</v></c><c r=\"D2\" t=\"b\"><v>0</v></c><c r=\"E2\" t=\"inlineStr\"><is><t>inline</t>"
                             "</is></c><c r=\"F2\" s=\"3\"/><c r=\"G2\" t=\"b\"><v>1</v></c></row>"
                             "<row r=\"4\"><c><v>1.5E3</v></c><c><v>-0.25</v></c></row>"
                             "<row><c r=\"AA5\"><v>123456789012</v></c><c r=\"AB5\"><v>99999999999999999999</v></c>"
                             "<c r=\"AC5\"><v> 7 </v></c></row>";
    const std::string main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    const std::string rels = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    const Entries entries = {
        { "_RELS/.rels",
            rels + "<Relationship Id=\"r\" Type=\"" + rel
                + "/officeDocument\" Target=\"/Book/Main.xml\"/></Relationships>" },
        { "book/main.xml",
            "<x:workbook xmlns:x=\"" + main + "\" xmlns:rel=\"" + rel
                + "\"><x:sheets><x:sheet name=\"B sheet\" sheetId=\"7\" rel:id=\"s2\"/><x:sheet name=\"A sheet\" "
                  "sheetId=\"3\" rel:id=\"s1\"/></x:sheets></x:workbook>" },
        { "Book/_rels/Main.xml.rels",
            rels + "<Relationship Id=\"s1\" Type=\"" + rel + "/worksheet\" Target=\"/Data/One.XML\"/><Relationship "
                + "Id=\"s2\" Type=\"" + rel + "/worksheet\" Target=\"../Data/./two.xml\"/><Relationship Id=\"t\" "
                + "Type=\"" + rel + "/sharedStrings\" Target=\"Strings.XML\"/></Relationships>" },
        { "data/one.xml",
            "<x:worksheet xmlns:x=\"" + main + "\"><x:sheetData><x:row r=\"1\"><x:c r=\"A1\"><x:v>1</x:v></x:c>"
                + "</x:row></x:sheetData></x:worksheet>" },
        { "DATA/TWO.xml", RawWorkbook({ { "", rows } }).front().second },
        { "book/strings.xml", "<sst xmlns=\"" + main + "\">" + shared + "</sst>" },
    };
    auto book = Xlsx::OpenWorkbook(Package(entries));
    ASSERT_EQ(book->GetSheetCount(), 2u);
    EXPECT_EQ(book->GetSheetName(0), "B sheet");
    EXPECT_EQ(book->GetSheetName(1), "A sheet");
    EXPECT_EQ(book->GetSheet(1).GetValue(1, 1).integer, 1);
    EXPECT_EQ(book->FindSheet("a sheet"), nullptr) << "sheet names match byte for byte";
    EXPECT_EQ(book->FindSheet("A sheet"), &book->GetSheet(1));
    const Xlsx::IWorksheet& sheet = book->GetSheet(0);
    // number: the integer, number or boolean.
    const struct { const char* ref; CellType type; const char* text; double number; const char* formula; } cases[] = {
        { "A1", CellType::Text, "plain", 0, "" }, { "B1", CellType::Text, "rich text ", 0, "" },
        { "C1", CellType::Text, "line\rbreak _x0041_", 0, "" }, { "D1", CellType::Text, " ", 0, "" },
        { "A2", CellType::Error, "#DIV/0!", 0, "" }, { "B2", CellType::Text, "plainx", 0, "A1&\"x\"" },
        { "C2", CellType::Integer, "", 3, "1+2" }, { "D2", CellType::Boolean, "", 0, "" },
        { "E2", CellType::Text, "inline", 0, "" }, { "F2", CellType::Empty, "", 0, "" },
        { "G2", CellType::Boolean, "", 1, "" },
        // Cells without a reference follow each other from column A of their row; a row without
        // a number follows the previous one.
        { "A4", CellType::Number, "", 1500, "" }, { "B4", CellType::Number, "", -0.25, "" },
        { "AA5", CellType::Integer, "", 123456789012, "" },
        { "AB5", CellType::Number, "", 1e20, "" }, // too many digits for 64 bits: still the number
        { "AC5", CellType::Integer, "", 7, "" },
    };
    for (const auto& c : cases) {
        uint32_t row = 0, column = 0;
        ASSERT_TRUE(Xlsx::ParseCellReference(c.ref, &row, &column));
        const Xlsx::Cell& cell = sheet.GetCell(row, column);
        const Xlsx::CellValue& v = cell.value;
        const double number
            = v.type == CellType::Integer ? v.integer : v.type == CellType::Boolean ? v.boolean : v.number;
        EXPECT_EQ(std::make_tuple(v.type, v.text, number, cell.formula),
            std::make_tuple(c.type, std::string(c.text), c.number, std::string(c.formula))) << c.ref;
    }
    EXPECT_EQ(sheet.GetLastRow(), 5u);
}

TEST(WorkbookReader, RefusesHostileAndBrokenFilesAndStopsAtItsLimits)
{
    const Entries good = RawWorkbook({ { "Data", "<c r=\"A1\" t=\"s\"><v>0</v></c>" } }, "<si><t>a</t></si>");
    const std::string sheet = "xl/worksheets/sheet1.xml", cell = "<c r=\"A1\" t=\"s\"><v>0</v></c>";
    const std::string laughs = "<!DOCTYPE sst [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">"
                               "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\">]><sst><si><t>&c;</t></si></sst>";
    Xlsx::ReaderLimits small;
    small.maxEntryBytes = 1 << 20;
    small.maxCells = 2;
    const struct { const char* name; Entries entries; const char* message; Xlsx::ReaderLimits limits = {}; } cases[] = {
        { "no package relationships", Edit(good, "_rels/.rels", "", ""), "no workbook" },
        { "workbook part missing", Edit(good, "xl/workbook.xml", "", ""), "no workbook" },
        { "sheet part missing", Edit(good, sheet, "", ""), "no part" },
        { "shared strings missing", Edit(good, "xl/sharedStrings.xml", "", ""), "no part" },
        { "sheet without a part", Edit(good, "xl/workbook.xml", "rId1", "rId9"), "has no part" },
        { "entry twice in other letter case", Edit(good, "XL/WORKBOOK.XML", "", "<workbook/>"), "twice" },
        { "shared-string index out of range", Edit(good, sheet, "<v>0", "<v>1"), "shared string" },
        { "negative shared-string index", Edit(good, sheet, "<v>0", "<v>-1"), "shared string" },
        { "malformed XML", Edit(good, sheet, "</sheetData>", ""), "not well-formed" },
        { "entity expansion", Edit(good, "xl/sharedStrings.xml", "", laughs), "document type" },
        { "column beyond the last", Edit(good, sheet, "A1", "XFE1"), "cell reference" },
        { "row beyond the last", Edit(good, sheet, "<row>", "<row r=\"1048577\">"), "row number" },
        { "malformed number", Edit(good, sheet, cell, "<c><v>1,5</v></c>"), "malformed number" },
        { "number that is no finite value", Edit(good, sheet, cell, "<c><v>inf</v></c>"), "malformed number" },
        { "unknown cell type", Edit(good, sheet, "t=\"s\"", "t=\"zz\""), "unknown type" },
        { "part beyond the size limit", Edit(good, sheet, "", std::string(3 << 20, ' ')), "size limit", small },
        { "too many cells", Edit(good, sheet, cell, cell + Num("B1", "2") + Num("C1", "3")), "too many", small },
        { "cells up to the limit", Edit(good, sheet, cell, cell + Num("B1", "2")), "accepted", small },
    };
    for (const auto& c : cases)
        EXPECT_NE(Refusal(Package(c.entries), c.limits).find(c.message), std::string::npos) << c.name;

    // Files that are no package: text, a package cut in the middle, no file at all.
    const std::string text = temp.Path("text.xlsx"), cut = temp.Path("cut.xlsx");
    WriteFileBytes(text, "This is not a ZIP file at all, just some text.");
    std::filesystem::copy_file(Package(good), cut);
    std::filesystem::resize_file(cut, std::filesystem::file_size(cut) / 2);
    for (const std::string& path : { text, cut, temp.Path("missing.xlsx") })
        EXPECT_NE(Refusal(path), "accepted") << path;
}

TEST(CellReference, ParsesRowAndColumnWithinTheSheetsBounds)
{
    uint32_t row = 0, column = 0;
    for (const char* bad : { "XFE1", "A0", "A1048577", "1A", "A", "", "AAAA1", "A1x", "A-1" })
        EXPECT_FALSE(Xlsx::ParseCellReference(bad, &row, &column)) << bad;
    ASSERT_TRUE(Xlsx::ParseCellReference("XFD1048576", &row, &column));
    EXPECT_EQ(std::make_pair(row, column), std::make_pair(1048576u, 16384u));
    ASSERT_TRUE(Xlsx::ParseCellReference("AB12", &row, &column));
    EXPECT_EQ(std::make_pair(row, column), std::make_pair(12u, 28u));
}

} // namespace
