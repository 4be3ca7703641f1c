#include "Exchange/XlsxWorkbookWriter.hpp"

#include "Exchange/SheetText.hpp"
#include "Exchange/XlsxStyles.hpp"

#include <xlsxwriter.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <locale.h>
#include <stdexcept>

namespace {

const std::uint32_t RecapitulationHeaderRow = 12;
const double MaxRowHeight = 409.0; // points; spreadsheet applications allow no more
const double PixelsPerCharacter = 7.0;

// The library formats numbers with the C library; switch this thread to the C locale so a
// comma-decimal user locale cannot corrupt the file. The process locale is not touched.
class CLocaleScope {
public:
    CLocaleScope()
    {
        cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
        if (cLocale == static_cast<locale_t>(0))
            throw std::runtime_error("The C locale is not available.");
        previous = uselocale(cLocale);
    }
    ~CLocaleScope()
    {
        uselocale(previous);
        freelocale(cLocale);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t cLocale;
    locale_t previous;
};

class WorkbookHandle {
public:
    explicit WorkbookHandle(const std::string& path)
    {
        workbook = workbook_new(path.c_str());
        if (workbook == nullptr)
            throw std::runtime_error("The workbook cannot be created.");
    }
    ~WorkbookHandle()
    {
        if (workbook != nullptr)
            lxw_workbook_free(workbook);
    }
    WorkbookHandle(const WorkbookHandle&) = delete;
    WorkbookHandle& operator=(const WorkbookHandle&) = delete;

    lxw_workbook* Get() const { return workbook; }

    void Close()
    {
        lxw_workbook* closing = workbook;
        workbook = nullptr; // closing frees it whatever the outcome
        const lxw_error error = workbook_close(closing);
        if (error != LXW_NO_ERROR)
            throw std::runtime_error(std::string("The workbook cannot be saved: ") + lxw_strerror(error));
    }

private:
    lxw_workbook* workbook = nullptr;
};

void Check(lxw_error error)
{
    if (error != LXW_NO_ERROR)
        throw std::runtime_error(std::string("Writing the workbook failed: ") + lxw_strerror(error));
}

double Finite(double value)
{
    // A file cannot hold infinities or NaN; writing one would corrupt it.
    if (!std::isfinite(value))
        throw std::runtime_error("The estimate holds a number that a workbook cannot hold.");
    return value;
}

lxw_worksheet* AddSheet(lxw_workbook* workbook, const std::string& name)
{
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, name.c_str());
    if (sheet == nullptr)
        throw std::runtime_error("The sheet name \"" + name + "\" is already used or invalid.");
    return sheet;
}

// Rows and columns here count from 1, as in cell references.
void WriteText(
    lxw_worksheet* sheet, std::uint32_t row, std::uint16_t column, const std::string& text, lxw_format* format)
{
    Check(worksheet_write_string(sheet, row - 1, column - 1, EscapeCellText(text).c_str(), format));
}

void WriteNumber(lxw_worksheet* sheet, std::uint32_t row, std::uint16_t column, double value, lxw_format* format)
{
    Check(worksheet_write_number(sheet, row - 1, column - 1, Finite(value), format));
}

void WriteFormula(lxw_worksheet* sheet, std::uint32_t row, std::uint16_t column, const std::string& formula,
    lxw_format* format, double result)
{
    Check(worksheet_write_formula_num(sheet, row - 1, column - 1, formula.c_str(), format, Finite(result)));
}

void Merge(lxw_worksheet* sheet, std::uint32_t row, std::uint16_t firstColumn, std::uint16_t lastColumn,
    const std::string& text, lxw_format* format)
{
    Check(worksheet_merge_range(
        sheet, row - 1, firstColumn - 1, row - 1, lastColumn - 1, EscapeCellText(text).c_str(), format));
}

// Widths given in pixels are written exactly (seven pixels per character); widths given in
// characters would be padded by the library.
void SetColumnWidth(lxw_worksheet* sheet, std::uint16_t column, double characters)
{
    Check(worksheet_set_column_pixels(
        sheet, column - 1, column - 1, static_cast<std::uint32_t>(characters * PixelsPerCharacter), nullptr));
}

std::string Ref(char column, std::uint32_t row)
{
    return std::string(1, column) + std::to_string(row);
}

struct CategorySheetResult {
    double total = 0.0; // what the recapitulation's cell shows
    bool totalIsText = false; // the empty category's reference landed on a header text
    std::string totalText;
    std::string formula;
};

CategorySheetResult WriteCategorySheet(lxw_workbook* workbook, const ExportFormats& f, const WorkbookLabels& labels,
    const CategoryRecord& category, const ExportXlsOptions& options)
{
    const std::string sheetName = CategorySheetName(category.title);
    lxw_worksheet* sheet = AddSheet(workbook, sheetName);

    WriteText(sheet, 1, 1, category.title, f.title);

    const std::vector<std::string> chunks = SplitDescriptionParagraphs(category.descript, DescriptionChunkLimit);
    for (std::size_t j = 0; j < chunks.size(); ++j) {
        const std::uint32_t row = static_cast<std::uint32_t>(2 + j);
        Merge(sheet, row, 1, 7, chunks[j], f.wrap);
        const std::size_t lines = std::max<std::size_t>(2, (chunks[j].size() + 79) / 80);
        const double height = std::min(MaxRowHeight, 15.0 * static_cast<double>(lines));
        Check(worksheet_set_row(sheet, row - 1, height, nullptr));
    }

    // One empty row between the description and the header.
    const std::uint32_t h = static_cast<std::uint32_t>(chunks.size() + 3);
    const std::string* const headers[] = { &labels.number, &labels.code, &labels.description, &labels.unit,
        &labels.quantity, &labels.price, &labels.total };
    for (std::uint16_t c = 0; c < 7; ++c)
        WriteText(sheet, h, c + 1, *headers[c], f.header);

    CategorySheetResult result;
    const std::uint32_t first = h + 1;
    std::uint32_t row = first;
    for (const ItemRecord& item : category.items) {
        WriteNumber(sheet, row, 1, item.sortOrder, f.integer);
        WriteText(sheet, row, 2, item.code, f.text);
        WriteText(sheet, row, 3, item.descript, f.wrap);
        WriteText(sheet, row, 4, item.unit, f.text);
        WriteNumber(sheet, row, 5, item.qty, f.amount);
        WriteNumber(sheet, row, 6, item.price, f.price);
        const double itemTotal = item.qty * item.price;
        WriteFormula(sheet, row, 7, "=" + Ref('E', row) + "*" + Ref('F', row), f.amount, itemTotal);
        result.total += itemTotal;
        row += 2;
    }

    const std::string quoted = QuotedSheetName(sheetName);
    if (!category.items.empty()) {
        const std::uint32_t last = row - 2;
        const std::uint32_t totalRow = last + 3; // two empty rows above it
        WriteText(sheet, totalRow, 6, labels.categoryTotal, f.header);
        WriteFormula(sheet, totalRow, 7, "=SUM(" + Ref('G', first) + ":" + Ref('G', last) + ")", f.total, result.total);
        result.formula = "=" + quoted + "!" + Ref('G', totalRow);
    } else {
        // No total row: the reference names a cell the sheet leaves empty, unless the header
        // row happens to fall on it.
        result.formula = "=" + quoted + "!B100";
        result.total = 0.0;
        if (h == 100 && !labels.code.empty()) {
            result.totalIsText = true;
            result.totalText = labels.code;
        }
    }

    const double widths[] = { 8, 10, 30, 6, 8, 8, 10 };
    for (std::uint16_t c = 0; c < 7; ++c)
        SetColumnWidth(sheet, c + 1, widths[c]);

    if (options.lockAllExceptPrices)
        worksheet_protect(sheet, nullptr, nullptr);
    return result;
}

} // namespace

void WriteEstimateWorkbook(const std::string& path, const ProjectInfoTexts& info, const WorkbookLabels& labels,
    const EstimateRecord& estimate, const ExportXlsOptions& options)
{
    CLocaleScope cLocale;
    WorkbookHandle workbook(path);
    lxw_workbook* wb = workbook.Get();

    const ExportFormats f = AddExportFormats(wb, options);
    lxw_worksheet* recap = AddSheet(wb, RecapitulationSheetName);

    // Head.
    Merge(recap, 1, 1, 2, info.projectName, f.title);
    if (!info.clientFullName.empty())
        Merge(recap, 4, 1, 2, info.clientFullName, nullptr);
    if (!info.clientAddress.empty())
        Merge(recap, 5, 1, 2, info.clientAddress, nullptr);
    if (!info.clientCity.empty() || !info.clientCountry.empty()) {
        std::string place = info.clientCity;
        if (!info.clientCity.empty() && !info.clientCountry.empty())
            place += ", ";
        place += info.clientCountry;
        Merge(recap, 6, 1, 2, place, nullptr);
    }
    if (!info.contactCompany.empty())
        Merge(recap, 7, 1, 2, info.contactCompany, nullptr);
    WriteText(recap, RecapitulationHeaderRow, 1, labels.code, f.header);
    WriteText(recap, RecapitulationHeaderRow, 2, labels.category, f.header);
    WriteText(recap, RecapitulationHeaderRow, 3, labels.total, f.header);

    // One row and one sheet per category.
    double grandTotal = 0.0;
    std::uint32_t row = FirstCategoryRow;
    for (const CategoryRecord& category : estimate.categories) {
        WriteText(recap, row, 1, category.code, f.text);
        WriteText(recap, row, 2, category.title, f.text);
        const CategorySheetResult sheet = WriteCategorySheet(wb, f, labels, category, options);
        if (sheet.totalIsText) {
            Check(worksheet_write_formula_str(
                recap, row - 1, 2, sheet.formula.c_str(), f.amount, sheet.totalText.c_str()));
        } else {
            WriteFormula(recap, row, 3, sheet.formula, f.amount, sheet.total);
            grandTotal += sheet.total;
        }
        ++row;
    }

    // Foot. Without categories the range would end above its own cell and refer to itself.
    const std::uint32_t totalRow = row;
    WriteText(recap, totalRow, 2, labels.grandTotal, f.header);
    const std::string grandFormula = estimate.categories.empty()
        ? std::string("=0")
        : "=SUM(C" + std::to_string(FirstCategoryRow) + ":C" + std::to_string(totalRow - 1) + ")";
    WriteFormula(recap, totalRow, 3, grandFormula, f.total, grandTotal);
    if (!info.contactFullName.empty())
        Merge(recap, totalRow + 3, 1, 3, labels.author + info.contactFullName, nullptr);

    SetColumnWidth(recap, 1, 8);
    SetColumnWidth(recap, 2, 30);
    SetColumnWidth(recap, 3, 10);

    if (options.lockAllExceptPrices)
        worksheet_protect(recap, nullptr, nullptr);

    workbook.Close();
}
