#include "ExchangeTestSupport.hpp"

#include <SQLiteCpp/SQLiteCpp.h>
#include <zip.h>

#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "HostApi/HostCalls.hpp"
#include "Database/CategoriesTable.hpp"
#include "Database/ItemsTable.hpp"
#include "Database/QtiesTable.hpp"

// Runs the openpyxl helper with the given arguments and returns what it printed.
static std::string RunPeer(const std::vector<std::string>& args)
{
    std::string command = EXCHANGE_PYTHON " '" EXCHANGE_SCRIPTS_DIR "/openpyxl_peer.py'";
    for (const std::string& arg : args)
        command += " '" + arg + "'"; // the tests' own paths hold no apostrophe
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    std::string output;
    char buffer[4096];
    for (size_t got; pipe != nullptr && (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, got);
    if (pipe == nullptr || pclose(pipe) != 0)
        throw std::runtime_error("openpyxl failed: " + command + "\n" + output);
    return output;
}

Json InspectWithOpenpyxl(const std::string& path) { return Json::parse(RunPeer({ "read", path })); }

void WriteWithOpenpyxl(const Json& contents, const std::string& path)
{
    WriteFileBytes(path + ".json", contents.dump());
    RunPeer({ "write", path + ".json", path });
}

void ExpectSubset(const Json& actual, const Json& expected, const std::string& where)
{
    if (expected.is_object() && (actual.is_object() || actual.is_null())) {
        for (const auto& [key, value] : expected.items())
            ExpectSubset(actual.contains(key) ? actual.at(key) : Json(), value, where + "/" + key);
    } else if (expected.is_number() && actual.is_number()) {
        const double e = expected.get<double>();
        EXPECT_NEAR(actual.get<double>(), e, 1e-12 * std::max(1.0, std::fabs(e))) << where;
    } else {
        EXPECT_EQ(actual, expected) << where;
    }
}

void WriteZip(const std::string& path, const Entries& entries)
{
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr) << path;
    for (const auto& [name, content] : entries) {
        zip_fileinfo info {};
        ASSERT_EQ(zipOpenNewFileInZip(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 1), 0);
        ASSERT_EQ(zipWriteInFileInZip(zip, content.data(), static_cast<unsigned>(content.size())), ZIP_OK);
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
}

Entries RawWorkbook(const Entries& sheets, const std::string& sharedItems)
{
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    const std::string pkg = "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    const std::string main = " xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
    std::string workbook = "<workbook" + main + " xmlns:r=\"" + rel + "\"><sheets>", rels = pkg;
    Entries entries;
    for (size_t i = 0; i < sheets.size(); ++i) {
        const std::string n = std::to_string(i + 1), &rows = sheets[i].second;
        workbook += "<sheet name=\"" + sheets[i].first + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
        rels += "<Relationship Id=\"rId" + n + "\" Type=\"" + rel + "/worksheet\" Target=\"worksheets/sheet" + n
            + ".xml\"/>";
        entries.push_back({ "xl/worksheets/sheet" + n + ".xml",
            "<worksheet" + main + "><sheetData>" + (rows.rfind("<row", 0) == 0 ? rows : "<row>" + rows + "</row>")
                + "</sheetData></worksheet>" });
    }
    if (!sharedItems.empty()) {
        rels += "<Relationship Id=\"rIdS\" Type=\"" + rel + "/sharedStrings\" Target=\"sharedStrings.xml\"/>";
        entries.push_back({ "xl/sharedStrings.xml", "<sst" + main + ">" + sharedItems + "</sst>" });
    }
    entries.push_back({ "xl/workbook.xml", workbook + "</sheets></workbook>" });
    entries.push_back({ "xl/_rels/workbook.xml.rels", rels + "</Relationships>" });
    entries.push_back({ "_rels/.rels",
        pkg + "<Relationship Id=\"rId1\" Type=\"" + rel
            + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>" });
    return entries;
}

void ExchangeTest::SetUp()
{
    host = std::make_unique<Host::StandInHost>();
    CalvoraSetHostTable(host->Table());
    ProjectDatabase::instance().reopen();
}

void ExchangeTest::SetProjectInfo(const std::vector<std::pair<std::string, std::string>>& keyValues)
{
    Json info = Json::array();
    for (const auto& [key, value] : keyValues)
        info.push_back({ { "description", key + " text" }, { "key", key }, { "value", value } });
    host->Project()["projectInfo"] = info;
}

GS::Int32 ExchangeTest::AddCategory(const std::string& title, const std::string& code, const std::string& descript)
{
    Category category;
    category.setString("title", GS::UniString(title));
    category.setString("code", GS::UniString(code));
    category.setString("descript", GS::UniString(descript));
    EXPECT_TRUE(CategoriesTable().save(category));
    return category.getInt("id");
}

void ExchangeTest::AddItem(GS::Int32 categoryId, const std::string& code, const std::string& descript,
    const std::string& unit, double qty, double price)
{
    Item item;
    item.setInt("category_id", categoryId);
    item.setString("code", GS::UniString(code));
    item.setString("descript", GS::UniString(descript));
    item.setString("unit", GS::UniString(unit));
    item.setDouble("price", price);
    EXPECT_TRUE(ItemsTable().save(item));
    Qty quantity;
    quantity.setInt("item_id", item.getInt("id"));
    quantity.setDouble("value", qty);
    EXPECT_TRUE(QtiesTable().save(quantity));
    // The roll-up keeps what the quantity editor would show; the exact value goes in afterwards.
    SQLite::Statement update = Db().prepare("UPDATE items SET qty = ?1, total = ?1 * price WHERE id = ?2");
    update.bind(1, qty);
    update.bind(2, item.getInt("id"));
    Db().execute(update);
}

std::vector<std::string> ExchangeTest::Rows(const std::string& sql)
{
    std::vector<std::string> rows;
    for (SQLite::Statement query = Db().prepare(GS::UniString(sql)); query.executeStep();)
        rows.push_back(query.getColumn(0).getString());
    return rows;
}

std::string ExchangeTest::DumpTables()
{
    GS::UniString dump;
    Db().dumpSql(dump);
    return dump.ToCStr(CC_UTF8).Get();
}
