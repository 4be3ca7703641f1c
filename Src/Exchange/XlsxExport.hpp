#pragma once

#include <string>

#include "Exchange/EstimateRecords.hpp"
#include "GSRoot/Array.hpp"
#include "GSRoot/UniString.hpp"
#include "IO/Location.hpp"

// Writes the whole estimate of the open project into a new workbook at the file location (its
// display text is the path): the recapitulation and one sheet per category. True when the
// workbook was built and saved; false on any failure, without a message of its own, and the file
// is then as it was.
bool ExportXlsx(const IO::Location& location, const ExportXlsOptions& options);

// The value of the first project-information entry (description, key, value) whose key is
// the given one, in UTF-8; empty when there is none or when the host marks it unset.
std::string GetAutoTextValue(const GS::Array<GS::ArrayFB<GS::UniString, 3>>& autoTexts, const char* key);

// The seven texts of the recapitulation's head, read from the host once.
ProjectInfoTexts ReadProjectInfoTexts();

// Categories in sort order, each with its items in sort order. Prices are left at 0 when
// they are not to be exported.
EstimateRecord ReadEstimateForExport(bool readPrices);
