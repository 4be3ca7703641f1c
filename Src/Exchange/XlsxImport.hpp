#pragma once

#include <cstdint>
#include <string>

#include "Exchange/EstimateRecords.hpp"
#include "Exchange/WorkbookReader.hpp"
#include "GSRoot/Definitions.hpp"
#include "GSRoot/UniString.hpp"
#include "IO/Location.hpp"

// Replaces the open project's estimate (categories, items, quantities) with the one of a
// workbook laid out as the export writes it. The whole workbook is read and checked first;
// the database is then replaced in one transaction. False when the file is no such
// workbook or anything fails; the estimate is then exactly as it was.
bool ImportXlsx(const IO::Location& location);

// Text of a cell: integers as decimal digits, other numbers with six decimals ("%f" in the C
// locale), texts unchanged but for bytes that are no UTF-8 (replaced by U+FFFD); empty,
// boolean and error values give the empty text.
std::string CellValueToString(const Xlsx::CellValue& value);

// A numeric cell cut toward zero to 32 bits, saturating at the limits; false for any other type.
bool CellValueToInt32(const Xlsx::CellValue& value, GS::Int32* result);

// A numeric cell as a double; any other type gives 0.0.
double CellValueToDouble(const Xlsx::CellValue& value);

// Reads the estimate from the workbook at a UTF-8 path without touching the database:
// categories from the recapitulation down to its grand-total row (codes from column A, sort
// orders from the row positions), each with the description and items of its sheet. Throws
// Xlsx::WorkbookError when the file is unreadable or has no recapitulation.
EstimateRecord ReadEstimateWorkbook(const std::string& path, const WorkbookLabels& labels);

// Replaces categories, items and quantities in one transaction; on an exception the database,
// its changed flag included, is left as it was.
void ReplaceEstimate(const EstimateRecord& estimate);
