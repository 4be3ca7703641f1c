#include "CommandsTestSupport.hpp"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <sys/stat.h>

#include "Database/ProjectDatabase.hpp"
#include "DG/DGUser.hpp"
#include "Host/Script.hpp"
#include "HostApi/HostCalls.hpp"

namespace Commands {

const char* const kEstimateRows =
    "INSERT INTO categories VALUES (1, 'Walls', 'C1', 1, '', 32.0);"
    "INSERT INTO categories VALUES (2, 'Slabs', 'C2', 2, '', 14.0);"
    "INSERT INTO items VALUES (1, 1, 1, 'I1', 'Wall volume', 'm3', 10.0, 2.0, 20.0);"
    "INSERT INTO items VALUES (2, 1, 2, 'I2', 'Loose work', 'pcs', 2.0, 6.0, 12.0);"
    "INSERT INTO items VALUES (3, 2, 1, 'I3', 'Slab volume', 'm3', 2.0, 7.0, 14.0);"
    "INSERT INTO qties VALUES (1, 1, 'C1000000-0000-4000-8000-000000000001', 1, 'W-1', 'Volume', 1.0);"
    "INSERT INTO qties VALUES (2, 1, 'C1000000-0000-4000-8000-000000000002', 2, 'W-2', 'Volume', 1.0);"
    "INSERT INTO qties VALUES (3, 3, 'C1000000-0000-4000-8000-000000000003', 1, 'S-1', 'Volume', 1.0);"
    "INSERT INTO qties VALUES (4, 2, '', 1, 'Loose', '2*3', 5.0);"
    "INSERT INTO qties VALUES (5, 3, '', 2, 'Edge', '', 6.0);";

const char* const kFixtureRows =
    "categories: 1|Walls|C1|1||32.0\n"
    "categories: 2|Slabs|C2|2||14.0\n"
    "items: 1|1|1|I1|Wall volume|m3|10.0|2.0|20.0\n"
    "items: 2|1|2|I2|Loose work|pcs|2.0|6.0|12.0\n"
    "items: 3|2|1|I3|Slab volume|m3|2.0|7.0|14.0\n"
    "qties: 1|1|C1000000-0000-4000-8000-000000000001|1|W-1|Volume|1.0\n"
    "qties: 2|1|C1000000-0000-4000-8000-000000000002|2|W-2|Volume|1.0\n"
    "qties: 3|3|C1000000-0000-4000-8000-000000000003|1|S-1|Volume|1.0\n"
    "qties: 4|2||1|Loose|2*3|5.0\n"
    "qties: 5|3||2|Edge||6.0\n";

// Every linked quantity re-evaluated (W-1 9.0, W-2 2.5, S-1 20.0); items and categories rolled up;
// the unlinked ones (and the item holding only such) as they were.
const char* const kSyncedRows =
    "categories: 1|Walls|C1|1||127.0\n"
    "categories: 2|Slabs|C2|2||52.0\n"
    "items: 1|1|1|I1|Wall volume|m3|10.0|11.5|115.0\n"
    "items: 2|1|2|I2|Loose work|pcs|2.0|6.0|12.0\n"
    "items: 3|2|1|I3|Slab volume|m3|2.0|26.0|52.0\n"
    "qties: 1|1|C1000000-0000-4000-8000-000000000001|1|W-1|Volume|9.0\n"
    "qties: 2|1|C1000000-0000-4000-8000-000000000002|2|W-2|Volume|2.5\n"
    "qties: 3|3|C1000000-0000-4000-8000-000000000003|1|S-1|Volume|20.0\n"
    "qties: 4|2||1|Loose|2*3|5.0\n"
    "qties: 5|3||2|Edge||6.0\n";

const char* const kPaletteBefore =
    "entry 1 \"C1 Walls\" value 1 *\n"
    "entry 2 \"C2 Slabs\" value 2\n"
    "row 1 value 1 | \"1\" | \"I1\" | \"Wall volume\" | \"m3\" | \"2.00\" | \"10.00\" | \"20.00\"\n"
    "row 2 value 2 | \"2\" | \"I2\" | \"Loose work\" | \"pcs\" | \"6.00\" | \"2.00\" | \"12.00\"\n";

void SetUpProject(Host::StandInHost& host, const std::string& estimateRows)
{
    std::ifstream in(COMMANDS_MODEL);
    host.SetProject(Host::Json::parse(in));
    CalvoraSetHostTable(host.Table());
    ProjectDatabase& db = ProjectDatabase::instance();
    db.reopen();
    db.clearAll();
    db.execSql(GS::UniString("DELETE FROM categories;" + estimateRows, CC_UTF8));
    db.saveToProject();
    db.reopen();
    CalvoraClearHostTable();
}

namespace {
std::string RowsOf(sqlite3* db)
{
    std::string rows;
    for (const char* table : {"categories", "items", "qties"}) {
        sqlite3_stmt* stmt = nullptr;
        const std::string sql = std::string("SELECT * FROM ") + table + " ORDER BY id";
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
            rows += std::string(table) + ": missing\n";
            continue;
        }
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            rows += std::string(table) + ":";
            for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
                const unsigned char* text = sqlite3_column_text(stmt, c);
                rows += std::string(c == 0 ? " " : "|") + (text != nullptr ? reinterpret_cast<const char*>(text) : "NULL");
            }
            rows += "\n";
        }
        sqlite3_finalize(stmt);
    }
    return rows;
}
}  // namespace

std::string RowsOfImage(const std::vector<unsigned char>& image)
{
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    auto* copy = static_cast<unsigned char*>(sqlite3_malloc64(image.size()));
    std::copy(image.begin(), image.end(), copy);
    std::string rows;
    if (sqlite3_deserialize(db, "main", copy, image.size(), image.size(),
                            SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE) == SQLITE_OK)
        rows = RowsOf(db);
    else
        rows = "unreadable image\n";
    sqlite3_close(db);
    return rows;
}

std::string RowsOfSqliteShell(const std::string& dumpPath)
{
    const std::string out = dumpPath + ".rows";
    // One statement per table, each row as "table: a|b|..." like RowsOfImage.
    const std::string command = "sqlite3 -batch -list -separator '|' :memory: \".read '" + dumpPath + "'\"" +
              " \"SELECT 'categories: ' || id, title, code, sort_order, descript, total FROM categories ORDER BY id\"" +
              " \"SELECT 'items: ' || id, category_id, sort_order, code, descript, unit, price, qty, total FROM items ORDER BY id\"" +
              " \"SELECT 'qties: ' || id, item_id, guid, sort_order, descript, formula, value FROM qties ORDER BY id\"" +
              " > '" + out + "' 2>&1";
    if (std::system(command.c_str()) != 0)
        return "sqlite3 failed: " + ReadFile(out);
    return ReadFile(out);
}

std::string TempDir(const std::string& name)
{
    // Removed with everything in them when the tests end.
    static struct Made {
        std::vector<std::string> dirs;
        ~Made()
        {
            for (const std::string& dir : dirs)
                std::filesystem::remove_all(dir);
        }
    } made;
    std::string pattern = std::string(::testing::TempDir()) + "calvora_commands_" + name + "_XXXXXX";
    made.dirs.push_back(mkdtemp(&pattern[0]));
    return made.dirs.back();
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

AddOnHost::AddOnHost(const std::string& estimateRows)
{
    SetUpProject(host, estimateRows);
    DG::User::ResetLogs();
    std::string error;
    EXPECT_TRUE(host.LoadAddOn(CALVORA_ADDON_PATH, &error)) << error;
}

AddOnHost::~AddOnHost()
{
    host.UnloadAddOn();
}

std::string AddOnHost::StoredRows() const
{
    auto image = host.ModuleData("CalvoraDB");
    return image.has_value() ? RowsOfImage(*image) : "nothing stored\n";
}

// The rows without the lines that hold the part.
std::string Without(std::string rows, const std::string& part)
{
    std::size_t at;
    while ((at = rows.find(part)) != std::string::npos) {
        const std::size_t start = rows.rfind('\n', at) + 1;  // npos + 1 is 0: the first line
        rows.erase(start, rows.find('\n', at) + 1 - start);
    }
    return rows;
}

std::string Lines(const std::string& text, std::initializer_list<std::string> prefixes, std::size_t cut)
{
    std::istringstream in(text);
    std::string line, result;
    while (std::getline(in, line)) {
        for (const std::string& prefix : prefixes) {
            if (line.rfind(prefix, 0) == 0) {
                result += line.substr(cut) + "\n";
                break;
            }
        }
    }
    return result;
}

std::string LinesWith(const std::string& text, const std::string& fragment)
{
    std::istringstream in(text);
    std::string line, result;
    while (std::getline(in, line)) {
        if (line.find(fragment) != std::string::npos)
            result += line + "\n";
    }
    return result;
}

namespace {
// Hands the script to the runner line by line; a test line is answered, when the runner reaches
// it, by echo lines holding the hook's text.
class ScriptBuffer : public std::streambuf {
public:
    ScriptBuffer(const std::string& script, std::function<std::string(const std::string&)> hook)
        : hook(std::move(hook))
    {
        std::istringstream in(script);
        std::string line;
        while (std::getline(in, line))
            lines.push_back(line);
    }

protected:
    int_type underflow() override
    {
        if (gptr() != nullptr && gptr() < egptr())
            return traits_type::to_int_type(*gptr());
        if (next >= lines.size())
            return traits_type::eof();
        std::string line = lines[next++];
        const std::size_t start = line.find_first_not_of(" \t");
        current.clear();
        if (start != std::string::npos && line[start] == '@') {
            std::istringstream answer(hook(line.substr(start)));
            std::string text;
            while (std::getline(answer, text)) {
                std::string escaped;
                for (char c : text) {
                    if (c == '"' || c == '\\')
                        escaped += '\\';
                    escaped += c;
                }
                current += "echo \"" + escaped + "\"\n";
            }
        } else {
            current = line + "\n";
        }
        if (current.empty())
            current = "\n";
        setg(&current[0], &current[0], &current[0] + current.size());
        return traits_type::to_int_type(*gptr());
    }

private:
    std::vector<std::string> lines;
    std::size_t next = 0;
    std::string current;
    std::function<std::string(const std::string&)> hook;
};
}  // namespace

std::string AddOnHost::Hook(const std::string& line)
{
    if (line == "@stored")
        return StoredRows();
    if (line == "@flush") {
        host.SendProjectEvent(APINotify_Close);
        return StoredRows();
    }
    if (line == "@palette") {
        const Int16 palette = DG::User::FindPanel("32401");
        return palette == 0 ? "no palette\n" : Lines(DG::User::Describe(palette), {"    entry ", "    row "}, 4);
    }
    if (line == "@rows")
        return Lines(DG::User::Describe(DG::User::TopModal()), {"    row "}, 4);
    if (line.rfind("@top ", 0) == 0) {
        // One item of the top modal, without its caret (which moves with the text's length).
        const std::string text = Lines(DG::User::Describe(DG::User::TopModal()), {"  " + line.substr(5) + " "}, 0);
        return text.substr(0, text.rfind(" caret ")) + (text.find(" caret ") != std::string::npos ? "\n" : "");
    }
    ADD_FAILURE() << "unknown test line " << line;
    return "";
}

std::string AddOnHost::Run(const std::string& script)
{
    ScriptBuffer buffer(script, [this](const std::string& line) { return Hook(line); });
    std::istream in(&buffer);
    std::ostringstream out, errors;
    {
        Host::ScriptRunner runner(host, out);
        runner.SetErrorStream(errors);
        if (!runner.RunStream(in, "scenario", false))
            out << "error: " << errors.str();
    }
    // The runner confirms a closed dialog only once the line that closed it is done, wherever that
    // falls; a dialog left open fails the run, and the lines after its closing show it is gone.
    std::istringstream lines(out.str());
    std::string line, kept;
    while (std::getline(lines, line)) {
        const bool closed = line.rfind("dialog \"", 0) == 0 && line.size() > 8 &&
                            line.compare(line.size() - 8, 8, "\" closed") == 0;
        if (!closed)
            kept += line + "\n";
    }
    return kept;
}

}  // namespace Commands
