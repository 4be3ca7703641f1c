#pragma once

#include "Exchange/EstimateRecords.hpp"

#include <cstddef>
#include <cstdint>
#include <string>

// Writes the estimate's workbook to a UTF-8 path: the recapitulation with the project
// information, one row per category and the grand total, then one sheet per category.
// Prices are written as the estimate holds them (the reader leaves them at 0 when they are
// not to be exported), the project name as given. Every formula carries its computed
// result. Numbers are written in the C locale whatever the process locale is. Throws
// std::runtime_error on any failure; the path may then hold a part of the workbook.
void WriteEstimateWorkbook(const std::string& path, const ProjectInfoTexts& info, const WorkbookLabels& labels,
    const EstimateRecord& estimate, const ExportXlsOptions& options);

// Where the import finds what the export wrote: the first sheet's name and the row of its
// first category.
constexpr const char* RecapitulationSheetName = "Recapitulation";
constexpr std::uint32_t FirstCategoryRow = 13;

// The description limit of one row in bytes.
constexpr std::size_t DescriptionChunkLimit = 800;
