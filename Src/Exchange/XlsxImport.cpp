#include "Exchange/XlsxImport.hpp"

#include <SQLiteCpp/SQLiteCpp.h>

#include <charconv>
#include <unordered_map>

#include "Database/ProjectDatabase.hpp"
#include "Exchange/SheetText.hpp"
#include "Exchange/XlsxWorkbookWriter.hpp"

namespace {

const std::uint32_t LastColumn = 7;
// Far above any real estimate; keeps a workbook whose rows all repeat one large sheet from
// multiplying it without bound.
const std::size_t MaxImportedItems = 1000000;

bool IsBlank(const Xlsx::Cell& cell)
{
    return cell.value.type == Xlsx::CellType::Empty && cell.formula.empty();
}

std::string NormalizedFormula(const std::string& formula)
{
    std::string text;
    for (char c : formula) {
        if (c == ' ')
            continue;
        text += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    if (!text.empty() && text[0] == '=')
        text.erase(0, 1);
    return text;
}

// The grand-total row closes the category list: its total sums the rows above (or is 0 for
// an estimate without categories), where a category's total refers to the category's sheet.
bool IsGrandTotalRow(const Xlsx::Cell& a, const Xlsx::Cell& b, const Xlsx::Cell& c, const WorkbookLabels& labels)
{
    const std::string formula = NormalizedFormula(c.formula);
    if (!formula.empty())
        return formula.compare(0, 4, "SUM(") == 0 || formula == "0";
    return IsBlank(a) && !labels.grandTotal.empty() && CellValueToString(b.value) == labels.grandTotal;
}

// A row without a title ends the category list, unless the export wrote it for a category
// whose title is empty: then its code or its total formula stands beside it. A title that is
// no text and no number (a boolean, an error) ends the list as well.
bool EndsCategoryList(const Xlsx::Cell& a, const Xlsx::Cell& b, const Xlsx::Cell& c)
{
    if (b.value.type == Xlsx::CellType::Boolean || b.value.type == Xlsx::CellType::Error)
        return true;
    return CellValueToString(b.value).empty() && IsBlank(a) && IsBlank(c);
}

// The header row is the first row below the title whose columns B to G hold anything: the
// description rows above it are merged across the sheet and hold their text in A only.
std::uint32_t FindHeaderRow(const Xlsx::IWorksheet& sheet)
{
    for (std::uint32_t row : sheet.GetUsedRows()) {
        if (row < 2)
            continue;
        for (std::uint32_t column = 2; column <= LastColumn; ++column) {
            if (!IsBlank(sheet.GetCell(row, column)))
                return row;
        }
    }
    return 0;
}

// What a category takes from its sheet: the description rows joined, and the items below
// the header row.
struct CategorySheetContent {
    std::string descript;
    std::vector<ItemRecord> items;
};

CategorySheetContent ReadCategorySheet(const Xlsx::IWorksheet& sheet)
{
    CategorySheetContent content;
    const std::uint32_t headerRow = FindHeaderRow(sheet);

    std::vector<std::string> chunks;
    for (std::uint32_t row : sheet.GetUsedRows()) {
        if (row < 2)
            continue;
        if (headerRow != 0 && row >= headerRow)
            break;
        chunks.push_back(CellValueToString(sheet.GetValue(row, 1)));
    }
    while (!chunks.empty() && chunks.back().empty())
        chunks.pop_back();
    content.descript = JoinDescriptionChunks(chunks, DescriptionChunkLimit);

    if (headerRow == 0)
        return content;
    // One empty row between items; the first row without an item number ends the list.
    for (std::uint32_t row = headerRow + 1; row <= sheet.GetLastRow(); row += 2) {
        ItemRecord item;
        if (!CellValueToInt32(sheet.GetValue(row, 1), &item.sortOrder) || item.sortOrder == 0)
            break;
        item.code = CellValueToString(sheet.GetValue(row, 2));
        item.descript = CellValueToString(sheet.GetValue(row, 3));
        item.unit = CellValueToString(sheet.GetValue(row, 4));
        item.qty = CellValueToDouble(sheet.GetValue(row, 5));
        item.price = CellValueToDouble(sheet.GetValue(row, 6));
        content.items.push_back(std::move(item));
    }
    return content;
}

// Transaction control that leaves the changed flag alone: a failed import must not mark an
// untouched database as changed.
void RunQuietly(ProjectDatabase& db, const char* sql)
{
    SQLite::Statement statement = db.prepare(sql);
    statement.exec();
}

std::string Utf8(const GS::UniString& text)
{
    return text.ToCStr(CC_UTF8).Get();
}

} // namespace

std::string CellValueToString(const Xlsx::CellValue& value)
{
    switch (value.type) {
    case Xlsx::CellType::Integer:
        return std::to_string(value.integer);
    case Xlsx::CellType::Number: {
        char buffer[400];
        const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value.number, std::chars_format::fixed, 6);
        return result.ec == std::errc() ? std::string(buffer, result.ptr) : std::string();
    }
    case Xlsx::CellType::Text:
        // A part may hold bytes that are no UTF-8; they do not go into the estimate.
        return ValidUtf8(value.text);
    default:
        return std::string();
    }
}

bool CellValueToInt32(const Xlsx::CellValue& value, GS::Int32* result)
{
    if (value.type == Xlsx::CellType::Integer) {
        *result = SaturateToInt32(value.integer);
        return true;
    }
    if (value.type == Xlsx::CellType::Number) {
        *result = SaturateToInt32(value.number);
        return true;
    }
    return false;
}

double CellValueToDouble(const Xlsx::CellValue& value)
{
    if (value.type == Xlsx::CellType::Integer)
        return static_cast<double>(value.integer);
    if (value.type == Xlsx::CellType::Number)
        return value.number;
    return 0.0;
}

EstimateRecord ReadEstimateWorkbook(const std::string& path, const WorkbookLabels& labels)
{
    std::unique_ptr<Xlsx::IWorkbook> workbook = Xlsx::OpenWorkbook(path);
    const Xlsx::IWorksheet* recap = workbook->FindSheet(RecapitulationSheetName);
    if (recap == nullptr)
        throw Xlsx::WorkbookError("The workbook has no sheet \"Recapitulation\".");

    EstimateRecord estimate;
    // Several rows may name the same sheet; each sheet is read once.
    std::unordered_map<std::string, CategorySheetContent> sheetContents;
    std::size_t itemCount = 0;
    for (std::uint32_t row = FirstCategoryRow; row <= recap->GetLastRow(); ++row) {
        const Xlsx::Cell& a = recap->GetCell(row, 1);
        const Xlsx::Cell& b = recap->GetCell(row, 2);
        const Xlsx::Cell& c = recap->GetCell(row, 3);
        if (IsGrandTotalRow(a, b, c, labels) || EndsCategoryList(a, b, c))
            break;

        CategoryRecord category;
        category.code = CellValueToString(a.value);
        category.title = CellValueToString(b.value);
        category.sortOrder = static_cast<GS::Int32>(estimate.categories.size() + 1);
        const std::string sheetName = CategorySheetName(category.title);
        auto cached = sheetContents.find(sheetName);
        if (cached == sheetContents.end()) {
            const Xlsx::IWorksheet* sheet = workbook->FindSheet(sheetName);
            cached = sheetContents.emplace(sheetName, sheet ? ReadCategorySheet(*sheet) : CategorySheetContent()).first;
        }
        category.descript = cached->second.descript;
        category.items = cached->second.items;
        itemCount += category.items.size();
        if (itemCount > MaxImportedItems)
            throw Xlsx::WorkbookError("The workbook holds more items than an estimate can take.");
        estimate.categories.push_back(std::move(category));
    }
    return estimate;
}

void ReplaceEstimate(const EstimateRecord& estimate)
{
    ProjectDatabase& db = ProjectDatabase::instance();
    db.ensureOpen();
    RunQuietly(db, "SAVEPOINT calvora_xlsx_import");
    try {
        RunQuietly(db, "DROP TABLE IF EXISTS qties");
        RunQuietly(db, "DROP TABLE IF EXISTS items");
        RunQuietly(db, "DROP TABLE IF EXISTS categories");
        db.createSchema();
        if (!estimate.categories.empty()) {
            // The imported categories take the place of the default one.
            RunQuietly(db, "DELETE FROM categories");
            RunQuietly(db, "DELETE FROM sqlite_sequence WHERE name = 'categories'");
        }

        // Compiled once; every row resets them and binds all their parameters afresh.
        SQLite::Statement insert
            = db.prepare("INSERT INTO categories (title, code, sort_order, descript, total) VALUES (?, ?, ?, ?, 0)");
        SQLite::Statement itemInsert = db.prepare("INSERT INTO items (category_id, sort_order, code, descript, "
                                                  "unit, qty, price, total) VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
        for (const CategoryRecord& category : estimate.categories) {
            insert.reset();
            insert.bind(1, category.title);
            insert.bind(2, category.code);
            insert.bind(3, category.sortOrder);
            insert.bind(4, category.descript);
            insert.exec();
            const GS::Int32 categoryId = db.lastInsertRowId();

            for (const ItemRecord& item : category.items) {
                itemInsert.reset();
                itemInsert.bind(1, categoryId);
                itemInsert.bind(2, item.sortOrder);
                itemInsert.bind(3, item.code);
                itemInsert.bind(4, item.descript);
                itemInsert.bind(5, item.unit);
                itemInsert.bind(6, item.qty);
                itemInsert.bind(7, item.price);
                itemInsert.bind(8, item.qty * item.price);
                itemInsert.exec();
            }
        }

        // Marks the database changed; inside the transaction, so a failure undoes it all.
        db.execSql("UPDATE categories SET total = (  SELECT COALESCE(SUM(total), 0.0) FROM items WHERE category_id "
                   "= categories.id)");
        RunQuietly(db, "RELEASE calvora_xlsx_import");
    } catch (...) {
        try {
            RunQuietly(db, "ROLLBACK TO calvora_xlsx_import");
            RunQuietly(db, "RELEASE calvora_xlsx_import");
        } catch (...) {
        }
        throw;
    }
}

bool ImportXlsx(const IO::Location& location)
{
    try {
        const EstimateRecord estimate = ReadEstimateWorkbook(Utf8(location.ToDisplayText()), ReadWorkbookLabels());
        ReplaceEstimate(estimate);
        return true;
    } catch (...) {
        // The caller's alert is the only report.
        return false;
    }
}
