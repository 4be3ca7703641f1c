#pragma once

#include "Exchange/EstimateRecords.hpp"

#include <xlsxwriter.h>

// The cell formats of an exported workbook. All ten are added whatever the options; the
// options choose which one the price cells use and whether the base formats are locked.
struct ExportFormats {
    lxw_format* text = nullptr;
    lxw_format* integer = nullptr;
    lxw_format* header = nullptr;
    lxw_format* title = nullptr;
    lxw_format* wrap = nullptr;
    lxw_format* amount = nullptr;
    lxw_format* total = nullptr;
    lxw_format* priceUnlocked = nullptr;
    lxw_format* priceMarked = nullptr;
    lxw_format* priceMarkedUnlocked = nullptr;
    lxw_format* price = nullptr; // one of amount and the three price formats
};

ExportFormats AddExportFormats(lxw_workbook* workbook, const ExportXlsOptions& options);
