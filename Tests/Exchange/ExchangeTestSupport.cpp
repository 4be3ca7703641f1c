#include "ExchangeTestSupport.hpp"

#include <SQLiteCpp/SQLiteCpp.h>
#include <zip.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "Database/CategoriesTable.hpp"
#include "Database/ItemsTable.hpp"
#include "Database/QtiesTable.hpp"

namespace {

std::string RunCommand(const std::string& command, int* status)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        throw std::runtime_error("Cannot run " + command);
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        output.append(buffer, got);
    *status = pclose(pipe);
    return output;
}

std::string Quote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

class ZipWriter {
public:
    explicit ZipWriter(const std::string& path)
    {
        zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
        if (zip == nullptr)
            throw std::runtime_error("Cannot create " + path);
    }
    ~ZipWriter() { zipClose(zip, nullptr); }

    void Begin(const std::string& name, int level)
    {
        zip_fileinfo info {};
        if (zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, level, 1)
            != ZIP_OK)
            throw std::runtime_error("Cannot add " + name);
    }
    void Write(const char* data, size_t size)
    {
        if (zipWriteInFileInZip(zip, data, static_cast<unsigned>(size)) != ZIP_OK)
            throw std::runtime_error("Cannot write an entry");
    }
    void End() { zipCloseFileInZip(zip); }

private:
    zipFile zip;
};

} // namespace

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "calvora-exchange-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("Cannot make a temporary folder");
    dir = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

ScopedLocale::ScopedLocale(const char* name)
{
    const char* current = std::setlocale(LC_ALL, nullptr);
    previous = current != nullptr ? current : "C";
    active = std::setlocale(LC_ALL, name) != nullptr;
}

ScopedLocale::~ScopedLocale()
{
    std::setlocale(LC_ALL, previous.c_str());
}

Json InspectWithOpenpyxl(const std::string& path)
{
    int status = 0;
    const std::string output = RunCommand(std::string(EXCHANGE_PYTHON) + " "
            + Quote(std::string(EXCHANGE_SCRIPTS_DIR) + "/read_workbook.py") + " " + Quote(path) + " 2>&1",
        &status);
    if (status != 0)
        throw std::runtime_error("openpyxl could not read " + path + ":\n" + output);
    return Json::parse(output);
}

void WriteWithOpenpyxl(const Json& contents, const std::string& path)
{
    const std::string contentsPath = path + ".json";
    WriteFileBytes(contentsPath, contents.dump());
    int status = 0;
    const std::string output
        = RunCommand(std::string(EXCHANGE_PYTHON) + " " + Quote(std::string(EXCHANGE_SCRIPTS_DIR) + "/make_workbook.py")
                + " " + Quote(contentsPath) + " " + Quote(path) + " 2>&1",
            &status);
    if (status != 0)
        throw std::runtime_error("openpyxl could not write " + path + ":\n" + output);
}

void WriteZip(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries)
{
    ZipWriter zip(path);
    for (const auto& [name, content] : entries) {
        zip.Begin(name, Z_DEFAULT_COMPRESSION);
        zip.Write(content.data(), content.size());
        zip.End();
    }
}

void WriteZipWithLargeEntry(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries,
    const std::string& largeName, std::size_t largeSize)
{
    ZipWriter zip(path);
    for (const auto& [name, content] : entries) {
        zip.Begin(name, Z_DEFAULT_COMPRESSION);
        zip.Write(content.data(), content.size());
        zip.End();
    }
    zip.Begin(largeName, Z_BEST_SPEED);
    const std::string block(1 << 20, ' ');
    for (std::size_t written = 0; written < largeSize; written += block.size())
        zip.Write(block.data(), std::min(block.size(), largeSize - written));
    zip.End();
}

void WriteRawWorkbook(const std::string& path, const std::vector<std::pair<std::string, std::string>>& sheets)
{
    const std::string relNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    const std::string pkgNs = "http://schemas.openxmlformats.org/package/2006/relationships";
    const std::string mainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    std::string workbook = "<workbook xmlns=\"" + mainNs + "\" xmlns:r=\"" + relNs + "\"><sheets>";
    std::string rels = "<Relationships xmlns=\"" + pkgNs + "\">";
    std::vector<std::pair<std::string, std::string>> entries;
    for (size_t i = 0; i < sheets.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        workbook += "<sheet name=\"" + sheets[i].first + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
        rels += "<Relationship Id=\"rId" + n + "\" Type=\"" + relNs + "/worksheet\" Target=\"worksheets/sheet" + n
            + ".xml\"/>";
        entries.push_back({ "xl/worksheets/sheet" + n + ".xml",
            "<worksheet xmlns=\"" + mainNs + "\"><sheetData>" + sheets[i].second + "</sheetData></worksheet>" });
    }
    entries.push_back({ "xl/workbook.xml", workbook + "</sheets></workbook>" });
    entries.push_back({ "xl/_rels/workbook.xml.rels", rels + "</Relationships>" });
    entries.push_back({ "_rels/.rels",
        "<Relationships xmlns=\"" + pkgNs + "\"><Relationship Id=\"rId1\" Type=\"" + relNs
            + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>" });
    WriteZip(path, entries);
}

std::string InlineStringCell(const std::string& ref, const std::string& text)
{
    return "<c r=\"" + ref + "\" t=\"inlineStr\"><is><t>" + text + "</t></is></c>";
}

std::string NumberCell(const std::string& ref, const std::string& number)
{
    return "<c r=\"" + ref + "\"><v>" + number + "</v></c>";
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

void ExchangeTest::SetUp()
{
    host = std::make_unique<Host::StandInHost>();
    CalvoraSetHostTable(host->Table());
    ProjectDatabase::instance().reopen();
}

void ExchangeTest::TearDown()
{
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

GS::Int32 ExchangeTest::AddItem(GS::Int32 categoryId, const std::string& code, const std::string& descript,
    const std::string& unit, double qty, double price)
{
    Item item;
    item.setInt("category_id", categoryId);
    item.setString("code", GS::UniString(code));
    item.setString("descript", GS::UniString(descript));
    item.setString("unit", GS::UniString(unit));
    item.setDouble("price", price);
    EXPECT_TRUE(ItemsTable().save(item));
    const GS::Int32 id = item.getInt("id");
    if (qty != 0.0) {
        // One quantity carries the item's quantity; the exact value is set afterwards, as the
        // roll-up keeps what the quantity editor would show.
        AddQty(id, qty);
        SQLite::Statement update = Db().prepare("UPDATE items SET qty = ?, total = ? * price WHERE id = ?");
        update.bind(1, qty);
        update.bind(2, qty);
        update.bind(3, id);
        Db().execute(update);
    }
    return id;
}

void ExchangeTest::AddQty(GS::Int32 itemId, double value)
{
    Qty qty;
    qty.setInt("item_id", itemId);
    qty.setDouble("value", value);
    EXPECT_TRUE(QtiesTable().save(qty));
}

void ExchangeTest::RemoveDefaultCategory()
{
    Db().execSql("DELETE FROM categories WHERE title = 'Untitled Category'");
}

long long ExchangeTest::QueryInt(const std::string& sql)
{
    SQLite::Statement query = Db().prepare(GS::UniString(sql));
    return query.executeStep() ? query.getColumn(0).getInt64() : 0;
}

double ExchangeTest::QueryDouble(const std::string& sql)
{
    SQLite::Statement query = Db().prepare(GS::UniString(sql));
    return query.executeStep() ? query.getColumn(0).getDouble() : 0.0;
}

std::string ExchangeTest::QueryText(const std::string& sql)
{
    SQLite::Statement query = Db().prepare(GS::UniString(sql));
    return query.executeStep() ? query.getColumn(0).getString() : std::string();
}

std::string ExchangeTest::DumpTables()
{
    std::string text;
    for (const char* table : { "categories", "items", "qties" }) {
        SQLite::Statement query = Db().prepare(GS::UniString(std::string("SELECT * FROM ") + table + " ORDER BY id"));
        text += std::string(table) + ":\n";
        while (query.executeStep()) {
            for (int i = 0; i < query.getColumnCount(); ++i)
                text += query.getColumn(i).getString() + "|";
            text += "\n";
        }
    }
    return text;
}
