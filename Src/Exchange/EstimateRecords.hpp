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

// The fixed texts of the workbook layout, from the string list WorkbookLabelStrings.
struct WorkbookLabels {
    std::string code;
    std::string category;
    std::string total;
    std::string grandTotal;
    std::string categoryTotal;
    std::string number;
    std::string description;
    std::string unit;
    std::string quantity;
    std::string price;
    std::string author;
};

// The labels, read from the add-on's own string list.
WorkbookLabels ReadWorkbookLabels();

// A number cut toward zero to 32 bits, saturating at the limits; NaN gives 0. Sort orders pass
// through it on the way in from the database and from a workbook.
GS::Int32 SaturateToInt32(double value);
GS::Int32 SaturateToInt32(std::int64_t value);
