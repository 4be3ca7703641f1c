#pragma once

// The estimate as the workbook exchange sees it: plain UTF-8 records read from the project
// database before a workbook is written, or from a workbook before the database is replaced.

#include <cstdint>
#include <string>
#include <vector>

#include "GSRoot/Definitions.hpp"

// The three choices of the export dialog; they only touch the item prices.
struct ExportXlsOptions {
    bool doNotExportPrices = false;
    bool markPriceFieldsAsInput = false;
    bool lockAllExceptPrices = false;
};

struct ItemRecord {
    std::int32_t sortOrder = 0;
    std::string code;
    std::string descript;
    std::string unit;
    double qty = 0.0;
    double price = 0.0;
};

struct CategoryRecord {
    std::int64_t id = 0;
    std::int32_t sortOrder = 0;
    std::string title;
    std::string descript;
    std::string code;
    std::vector<ItemRecord> items;
};

struct EstimateRecord {
    std::vector<CategoryRecord> categories;
};

// Project information for the head of the recapitulation; an unset text is empty.
struct ProjectInfoTexts {
    std::string projectName;
    std::string clientFullName;
    std::string clientAddress;
    std::string clientCity;
    std::string clientCountry;
    std::string contactFullName;
    std::string contactCompany;
};

// The fixed texts of the workbook layout, items 1 to 11 of string list 32532.
struct WorkbookLabels {
    std::string code; // 1
    std::string category; // 2
    std::string total; // 3
    std::string grandTotal; // 4
    std::string categoryTotal; // 5
    std::string number; // 6
    std::string description; // 7
    std::string unit; // 8
    std::string quantity; // 9
    std::string price; // 10
    std::string author; // 11
};

// Items 1 to 11 of string list 32532.
WorkbookLabels ReadWorkbookLabels();

// A number cut toward zero to 32 bits, saturating at the limits; NaN gives 0. Sort orders pass
// through it on the way in from the database and from a workbook.
GS::Int32 SaturateToInt32(double value);
GS::Int32 SaturateToInt32(std::int64_t value);
