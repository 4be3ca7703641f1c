#include "Exchange/XlsxExport.hpp"

#include <SQLiteCpp/SQLiteCpp.h>

#include "HostApi/HostCalls.hpp"
#include "Database/ProjectDatabase.hpp"
#include "Exchange/SheetText.hpp"
#include "Exchange/XlsxWorkbookWriter.hpp"

namespace {

const GS::Int32 ProjectInfoTextType = 1;

std::string Utf8(const GS::UniString& text)
{
    return text.ToCStr(CC_UTF8).Get();
}

} // namespace

std::string GetAutoTextValue(const GS::Array<GS::ArrayFB<GS::UniString, 3>>& autoTexts, const char* key)
{
    const GS::UniString wanted(key);
    for (const GS::ArrayFB<GS::UniString, 3>& entry : autoTexts) {
        if (entry.GetSize() < 3 || !(entry[1] == wanted))
            continue;
        if (entry[2] == "<####>")
            return std::string();
        return Utf8(entry[2]);
    }
    return std::string();
}

ProjectInfoTexts ReadProjectInfoTexts()
{
    GS::Array<GS::ArrayFB<GS::UniString, 3>> autoTexts;
    // A failed call leaves the list empty, and every text with it.
    HostGetAutoTexts(&autoTexts, ProjectInfoTextType);

    ProjectInfoTexts info;
    info.projectName = GetAutoTextValue(autoTexts, "PROJECTNAME");
    info.clientFullName = GetAutoTextValue(autoTexts, "CLIENT_FULLNAME");
    info.clientAddress = GetAutoTextValue(autoTexts, "CLIENTADDRESS1");
    info.clientCity = GetAutoTextValue(autoTexts, "CLIENTCITY");
    info.clientCountry = GetAutoTextValue(autoTexts, "CLIENTCOUNTRY");
    info.contactFullName = GetAutoTextValue(autoTexts, "CONTACT_FULLNAME");
    info.contactCompany = GetAutoTextValue(autoTexts, "CONTACTCOMPANY");
    if (info.projectName.empty())
        info.projectName = "Project";
    return info;
}

EstimateRecord ReadEstimateForExport(bool readPrices)
{
    ProjectDatabase& db = ProjectDatabase::instance();
    EstimateRecord estimate;

    SQLite::Statement categories
        = db.prepare("SELECT id, title, descript, code, total FROM categories ORDER BY sort_order");
    while (categories.executeStep()) {
        CategoryRecord category;
        category.id = categories.getColumn(0).getInt64();
        category.title = ValidUtf8(categories.getColumn(1).getString());
        category.descript = ValidUtf8(categories.getColumn(2).getString());
        category.code = ValidUtf8(categories.getColumn(3).getString());
        estimate.categories.push_back(std::move(category));
    }

    for (CategoryRecord& category : estimate.categories) {
        SQLite::Statement items = db.prepare("SELECT sort_order, code, descript, unit, qty, price FROM items "
                                             "WHERE category_id = ? ORDER BY sort_order");
        items.bind(1, static_cast<int64_t>(category.id));
        while (items.executeStep()) {
            ItemRecord item;
            item.sortOrder = SaturateToInt32(items.getColumn(0).getInt64());
            item.code = ValidUtf8(items.getColumn(1).getString());
            item.descript = ValidUtf8(items.getColumn(2).getString());
            item.unit = ValidUtf8(items.getColumn(3).getString());
            item.qty = items.getColumn(4).getDouble();
            item.price = readPrices ? items.getColumn(5).getDouble() : 0.0;
            category.items.push_back(std::move(item));
        }
    }
    return estimate;
}

bool ExportXlsx(const IO::Location& location, const ExportXlsOptions& options)
{
    try {
        const ProjectInfoTexts info = ReadProjectInfoTexts();
        const WorkbookLabels labels = ReadWorkbookLabels();
        const EstimateRecord estimate = ReadEstimateForExport(!options.doNotExportPrices);
        // The workbook is written beside the file and takes its place only when it is complete;
        // a failure drops it and leaves the file as it was.
        IO::File file(location, IO::File::Create);
        if (file.GetStatus() != NoError || file.Open(IO::File::WriteEmptyMode) != NoError)
            return false;
        WriteEstimateWorkbook(Utf8(file.GetWriteLocation().ToDisplayText()), info, labels, estimate, options);
        return file.Close() == NoError;
    } catch (...) {
        // The caller's alert is the only report.
        return false;
    }
}
