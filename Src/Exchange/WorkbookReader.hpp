#pragma once

// A small read-only view of an XLSX workbook: the sheets in workbook order with their
// names, and the cells of each sheet with their typed values and formulas. Reading goes
// through the package relationships, as any conforming producer may name its parts freely.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace Xlsx {

// Raised for everything that makes a file unreadable: not a package, a missing or
// oversized part, malformed XML, values that point nowhere.
class WorkbookError : public std::runtime_error {
public:
    explicit WorkbookError(const std::string& message)
        : std::runtime_error(message)
    {
    }
};

enum class CellType {
    Empty,
    Integer, // a number written without fraction or exponent
    Number, // any other number
    Text,
    Boolean,
    Error // text holds the error code, such as "#DIV/0!"
};

struct CellValue {
    CellType type = CellType::Empty;
    std::int64_t integer = 0;
    double number = 0.0;
    bool boolean = false;
    std::string text; // UTF-8

    bool IsNumeric() const { return type == CellType::Integer || type == CellType::Number; }
};

struct Cell {
    CellValue value; // the cached result when the cell holds a formula
    std::string formula; // without a leading "="; empty when there is none
};

// Hard caps against hostile files; the defaults are far above any estimate's workbook.
struct ReaderLimits {
    std::size_t maxEntryBytes = 64u * 1024u * 1024u; // one inflated part
    std::size_t maxTotalBytes = 256u * 1024u * 1024u; // all parts inflated together
    std::size_t maxEntries = 10000; // entries in the package
    std::size_t maxSheets = 4096;
    std::size_t maxCells = 4000000; // over the whole workbook
    std::size_t maxSharedStrings = 2000000;
};

class IWorksheet {
public:
    virtual ~IWorksheet();

    virtual const std::string& GetName() const = 0;
    // Rows and columns count from 1. A cell the sheet does not hold is empty.
    virtual const Cell& GetCell(std::uint32_t row, std::uint32_t column) const = 0;
    virtual std::uint32_t GetLastRow() const = 0;
    virtual std::size_t GetCellCount() const = 0;
    // The rows that hold at least one cell, in ascending order; a sheet may name row 1048576
    // while holding a handful of cells, so callers walk these instead of the whole range.
    virtual const std::vector<std::uint32_t>& GetUsedRows() const = 0;

    const CellValue& GetValue(std::uint32_t row, std::uint32_t column) const { return GetCell(row, column).value; }
};

class IWorkbook {
public:
    virtual ~IWorkbook();

    virtual std::size_t GetSheetCount() const = 0;
    // UTF-8: bytes of the part that are no UTF-8 are replaced by U+FFFD.
    virtual const std::string& GetSheetName(std::size_t index) const = 0;
    // Reads the sheet's cells on first use; throws WorkbookError when they are malformed.
    virtual const IWorksheet& GetSheet(std::size_t index) = 0;
    // Exact byte comparison of names; nullptr when there is no such sheet.
    virtual const IWorksheet* FindSheet(const std::string& name) = 0;
};

// Opens the package at a UTF-8 path and reads its workbook part, relationships and shared
// strings. Throws WorkbookError when the file cannot be read as a workbook.
std::unique_ptr<IWorkbook> OpenWorkbook(const std::string& path, const ReaderLimits& limits = ReaderLimits());

// "A1" style reference to 1-based row and column; false for anything else.
bool ParseCellReference(const std::string& reference, std::uint32_t* row, std::uint32_t* column);

// Column letters of a 1-based column number ("A" for 1, "AA" for 27).
std::string ColumnName(std::uint32_t column);

} // namespace Xlsx
