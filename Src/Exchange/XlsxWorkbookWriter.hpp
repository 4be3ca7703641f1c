#pragma once

#include "Exchange/EstimateRecords.hpp"

#include <string>

// Writes the estimate's workbook to a UTF-8 path: the recapitulation with the project
// information, one row per category and the grand total, then one sheet per category.
// Every formula carries its computed result. Numbers are written in the C locale whatever
// the process locale is. Throws std::runtime_error on any failure; nothing is written to
// the path then.
void WriteEstimateWorkbook(const std::string& path, const ProjectInfoTexts& info, const WorkbookLabels& labels,
    const EstimateRecord& estimate, const ExportXlsOptions& options);

// Rows of a category sheet, counted from 1, as the export lays them out and the import finds them.
struct CategorySheetLayout {
    std::size_t descriptionRows = 1; // rows 2 to descriptionRows + 1
    std::uint32_t headerRow = 4;
    std::uint32_t firstItemRow = 5;
    std::uint32_t totalRow = 0; // 0 when the category has no items
};

CategorySheetLayout LayOutCategorySheet(std::size_t descriptionRows, std::size_t itemCount);

// The description limit of one row in bytes.
constexpr std::size_t DescriptionChunkLimit = 800;
