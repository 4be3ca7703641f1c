// The SQL and XLSX export and import commands through the real add-on: file dialogs, option
// dialogs, alerts, real files read back by the sqlite3 shell and openpyxl.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <nlohmann/json.hpp>

#include "CommandsTestSupport.hpp"

namespace Commands {
namespace {

std::string Expand(std::string text, const std::string& dir)
{
    for (std::size_t at = text.find("$DIR"); at != std::string::npos; at = text.find("$DIR", at + dir.size()))
        text.replace(at, 4, dir);
    return text;
}

nlohmann::json ReadWorkbook(const std::string& path)
{
    const std::string out = path + ".json";
    const std::string command = "/usr/bin/python3 " OPENPYXL_PEER " read '" + path + "' > '" + out + "'";
    if (std::system(command.c_str()) != 0)
        return nlohmann::json();
    return nlohmann::json::parse(ReadFile(out), nullptr, false);
}

// Price cell F5 of the "Walls" sheet (its first item) and whether every sheet is protected.
std::string PriceCell(const std::string& path)
{
    const nlohmann::json book = ReadWorkbook(path);
    if (!book.is_object())
        return "unreadable workbook";
    const auto& walls = book["sheets"]["Walls"];
    const auto& f5 = walls["cells"]["F5"];
    const auto& b5 = walls["cells"]["B5"];
    bool allProtected = true;
    for (const auto& sheet : book["sheets"])
        allProtected = allProtected && sheet["protected"].get<bool>();
    return "F5 " + f5["value"].dump() + (f5["bold"].get<bool>() ? " bold" : "") + " fill " + f5["fill"].dump() +
           (f5["locked"].get<bool>() ? " locked" : " unlocked") + ", B5 " +
           (b5["locked"].get<bool>() ? "locked" : "unlocked") + (allProtected ? ", protected" : ", open");
}

// An alert with one "OK" button as the runner announces it, and the user's answer.
std::string AlertOk(const char* kind, const char* title, const char* text)
{
    return std::string("alert ") + kind + " \"" + title + "\": \"" + text + "\" / \"\" [\"OK\"]\n" +
           "answered the alert with button 1\n";
}

const char* const kExportSqlDialog = "file dialog save \"Export to SQL\" [SQL files (*.sql)]\n";
const char* const kExportXlsxDialog = "file dialog save \"Export to XLSX\" [XLSX files (*.xlsx)]\n";
const char* const kImportExcelDialog = "file dialog open \"Import from Excel\" [Excel files (*.xlsx)]\n";
const char* const kConfirmExcel =
    "alert warning \"Import Excel\": \"This will replace ALL current data with the contents of the Excel file.\\nAre "
    "you sure?\" / \"\" [\"Cancel\", \"Import\"]\n";
const char* const kSqlCreateFailed = "Could not create the SQL file. Please check the file path and permissions.";
const std::string kImportFailed = AlertOk("error", "Error", "Failed to import the SQL file.");

struct Scenario {
    const char* name;
    std::function<void(const std::string& dir)> before;
    std::string script;
    std::string expected;
    // Further checks on the files, as text compared with `files`.
    std::function<std::string(const std::string& dir)> readBack = nullptr;
    std::string files = "";
};

std::string SqlFileFacts(const std::string& path)
{
    const std::string bytes = ReadFile(path);
    const bool header = bytes.rfind("-- Database schema and data dump\n\n", 0) == 0;
    return std::string(header ? "dump header" : "no dump header") +
           (bytes.find('\0') != std::string::npos ? ", zero byte\n" : "\n") + RowsOfSqliteShell(path);
}

void RunScenarios(const std::vector<Scenario>& scenarios)
{
    for (const Scenario& s : scenarios) {
        const std::string dir = TempDir("files");
        if (s.before)
            s.before(dir);
        AddOnHost addOn;
        EXPECT_EQ(addOn.Run(Expand(s.script, dir)), Expand(s.expected, dir)) << s.name;
        if (s.readBack) {
            EXPECT_EQ(s.readBack(dir), Expand(s.files, dir)) << s.name;
        }
    }
}

TEST(FileCommandScenarios, SqlExportAndImport)
{
    const std::string unlinkedRows = Without(Without(kFixtureRows, "|W-"), "|S-1|");
    const std::string proc = ReadFile("/proc/version");
    RunScenarios({
        {"an export over an existing file replaces it with the dump, read back by the sqlite3 shell",
         [](const std::string& dir) { WriteFile(dir + "/old.sql", std::string(5000, 'x')); },
         "menu 32504 2\nfile $DIR/old.sql\nshow alerts\n",
         std::string(kExportSqlDialog) + "chose file $DIR/old.sql\nno alerts\n",
         [](const std::string& dir) { return SqlFileFacts(dir + "/old.sql"); },
         std::string("dump header\n") + kFixtureRows},
        {"a cancelled export writes nothing", nullptr, "menu 32504 2\nfile cancel\nshow alerts\n",
         std::string(kExportSqlDialog) + "cancelled the file dialog\nno alerts\n",
         [](const std::string& dir) { return ReadFile(dir + "/x.sql"); }, ""},
        {"an export into a read-only place alerts", nullptr, "menu 32504 2\nfile /proc/calvora.sql\nanswer 1\n",
         std::string(kExportSqlDialog) +
             "chose file /proc/calvora.sql\n" +
             AlertOk("error", "Error", kSqlCreateFailed)},
        {"an export over a file that cannot be written leaves it as it was", nullptr,
         "menu 32504 2\nfile /proc/version\nanswer 1\n",
         std::string(kExportSqlDialog) +
             "chose file /proc/version\n" +
             AlertOk("error", "Error", kSqlCreateFailed),
         [](const std::string&) { return ReadFile("/proc/version"); }, proc},
        {"a round trip keeping the linked quantities restores, stores and shows the exported estimate", nullptr,
         "menu 32500 1\nmenu 32504 2\nfile $DIR/a.sql\nmenu 32502 1\nidle 4\n@stored\nmenu 32503 1\n"
         "type top 4 \"$DIR/a.sql\"\nclick top 1\nanswer 1\n@stored\n@palette\n",
         std::string(kExportSqlDialog) + "chose file $DIR/a.sql\ndialog \"Sync All Quantities\" is open\n4 idle event(s)\n" +
             kSyncedRows + "dialog \"Import SQL\" is open\ntyped \"$DIR/a.sql\" into item 4 of \"Import SQL\"\n"
             "clicked item 1 of \"Import SQL\"\n" +
             AlertOk("information", "Success", "SQL file imported successfully!") + kFixtureRows + kPaletteBefore},
        {"skipping the linked quantities leaves only the unlinked ones; their dump holds no linked one", nullptr,
         "menu 32504 2\nfile $DIR/a.sql\nmenu 32503 1\ntype top 4 \"$DIR/a.sql\"\ncheck top 6 on\nclick top 1\n"
         "answer 1\n@stored\nmenu 32504 2\nfile $DIR/b.sql\n",
         std::string(kExportSqlDialog) + "chose file $DIR/a.sql\ndialog \"Import SQL\" is open\n"
             "typed \"$DIR/a.sql\" into item 4 of \"Import SQL\"\nchecked item 6 of \"Import SQL\"\n"
             "clicked item 1 of \"Import SQL\"\n" +
             AlertOk("information", "Success", "SQL file imported successfully!") + unlinkedRows + kExportSqlDialog + "chose file $DIR/b.sql\n",
         [](const std::string& dir) { return SqlFileFacts(dir + "/b.sql"); }, "dump header\n" + unlinkedRows},
        {"a missing file keeps the dialog open with its path until Cancel", nullptr,
         "menu 32503 1\ntype top 4 \"$DIR/none.sql\"\nclick top 1\nanswer 1\n@top 4\nclick top 2\nshow alerts\n@flush\n",
         std::string("dialog \"Import SQL\" is open\ntyped \"$DIR/none.sql\" into item 4 of \"Import SQL\"\n"
                     "clicked item 1 of \"Import SQL\"\n"
                     "alert error \"File Not Found\": \"The specified file does not exist.\" / \"\" [\"OK\"]\n"
                     "answered the alert with button 1\n"
                     "  4 textedit (5,22,255,20) focus \"$DIR/none.sql\"\n"
                     "clicked item 2 of \"Import SQL\"\n"
                     "alert error \"File Not Found\": \"The specified file does not exist.\" / \"\" [\"OK\"] -> 1\n") +
             kFixtureRows},
        {"an empty path is no file either", nullptr, "menu 32503 1\nclick top 1\nanswer 1\nclick top 2\n",
         "dialog \"Import SQL\" is open\nclicked item 1 of \"Import SQL\"\n"
         "alert error \"File Not Found\": \"The specified file does not exist.\" / \"\" [\"OK\"]\n"
         "answered the alert with button 1\nclicked item 2 of \"Import SQL\"\n"},
        {"browsing fills the path; a cancelled browse leaves it", nullptr,
         "menu 32504 2\nfile $DIR/a.sql\nmenu 32503 1\ntype top 4 \"kept\"\nclick top 5\nfile cancel\n@top 4\n"
         "click top 5\nfile $DIR/a.sql\n@top 4\nclick top 2\nshow alerts\n",
         std::string(kExportSqlDialog) + "chose file $DIR/a.sql\ndialog \"Import SQL\" is open\n"
             "typed \"kept\" into item 4 of \"Import SQL\"\nclicked item 5 of \"Import SQL\"\n"
             "file dialog open \"Import from SQL\" [SQL files (*.sql)]\ncancelled the file dialog\n"
             "  4 textedit (5,22,255,20) focus \"kept\"\nclicked item 5 of \"Import SQL\"\n"
             "file dialog open \"Import from SQL\" [SQL files (*.sql)]\nchose file $DIR/a.sql\n"
             "  4 textedit (5,22,255,20) focus \"$DIR/a.sql\"\nclicked item 2 of \"Import SQL\"\nno alerts\n"},
        {"a file holding a zero byte is refused and changes nothing",
         [](const std::string& dir) { WriteFile(dir + "/zero.sql", std::string("DELETE FROM qties;\0DELETE", 25)); },
         "menu 32500 1\nmenu 32503 1\ntype top 4 \"$DIR/zero.sql\"\nclick top 1\nanswer 1\n@palette\n@flush\n",
         std::string("dialog \"Import SQL\" is open\ntyped \"$DIR/zero.sql\" into item 4 of \"Import SQL\"\n"
                     "clicked item 1 of \"Import SQL\"\n") + kImportFailed + kPaletteBefore + kFixtureRows},
        {"SQL that fails changes nothing",
         [](const std::string& dir) { WriteFile(dir + "/bad.sql", "DELETE FROM qties;\nINSERT INTO nowhere VALUES (1);\n"); },
         "menu 32500 1\nmenu 32503 1\ntype top 4 \"$DIR/bad.sql\"\nclick top 1\nanswer 1\n@palette\n@flush\n",
         std::string("dialog \"Import SQL\" is open\ntyped \"$DIR/bad.sql\" into item 4 of \"Import SQL\"\n"
                     "clicked item 1 of \"Import SQL\"\n") + kImportFailed + kPaletteBefore + kFixtureRows},
        {"a folder exists but cannot be opened", nullptr,
         "menu 32503 1\ntype top 4 \"$DIR\"\nclick top 1\nanswer 1\n@flush\n",
         std::string("dialog \"Import SQL\" is open\ntyped \"$DIR\" into item 4 of \"Import SQL\"\n"
                     "clicked item 1 of \"Import SQL\"\n"
                     "alert error \"Error\": \"Could not open the SQL file.\" / \"\" [\"OK\"]\n"
                     "answered the alert with button 1\n") + kFixtureRows},
        {"Cancel ends the import at once; an enlarged dialog moves its buttons", nullptr,
         "menu 32503 1\nresize top 40 20\nshow top\nclick top 2\nshow alerts\n",
         "dialog \"Import SQL\" is open\nresized \"Import SQL\" by 40, 20\n"
         "modal \"Import SQL\" 340x150 visible grow\n"
         "  1 button (220,110,50,30) \"Ok\"\n"
         "  2 button (280,110,50,30) \"Cancel\"\n"
         "  3 statictext (5,5,50,20) \"Filename:\"\n"
         "  4 textedit (5,22,295,20) \"\" caret 0\n"
         "  5 button (305,22,25,23) \"...\"\n"
         "  6 checkbox (5,50,270,23) [ ] \"Skip quantities linked to Archicad Elements\"\n"
         "clicked item 2 of \"Import SQL\"\nno alerts\n"},
    });
}

TEST(FileCommandScenarios, XlsxExportAndImport)
{
    const std::string exported = std::string("dialog \"Export to XLSX\" is open\nclicked item 1 of \"Export to XLSX\"\n") +
                                 kExportXlsxDialog + "chose file $DIR/e.xlsx\n" +
                                 AlertOk("information", "Success", "Excel file exported successfully!");
    auto withOption = [](int box) {
        return "menu 32504 1\n" + (box != 0 ? "check top " + std::to_string(box) + " on\n" : std::string()) +
               "click top 1\nfile $DIR/p.xlsx\nanswer 1\n";
    };
    auto optionOutput = [](int box) {
        return std::string("dialog \"Export to XLSX\" is open\n") +
               (box != 0 ? "checked item " + std::to_string(box) + " of \"Export to XLSX\"\n" : std::string()) +
               "clicked item 1 of \"Export to XLSX\"\n" + kExportXlsxDialog + "chose file $DIR/p.xlsx\n" +
               AlertOk("information", "Success", "Excel file exported successfully!");
    };
    auto price = [](const std::string& dir) { return PriceCell(dir + "/p.xlsx"); };
    RunScenarios({
        {"no options: the price as it is", nullptr, withOption(0), optionOutput(0), price,
         "F5 10 fill null locked, B5 locked, open"},
        {"prices withheld", nullptr, withOption(3), optionOutput(3), price, "F5 0 fill null locked, B5 locked, open"},
        {"prices marked as input", nullptr, withOption(4), optionOutput(4), price,
         "F5 10 bold fill \"solid\" locked, B5 locked, open"},
        {"everything locked but the prices", nullptr, withOption(5), optionOutput(5), price,
         "F5 10 fill null unlocked, B5 locked, protected"},
        {"cancelling the options shows no file dialog; an enlarged dialog moves its buttons", nullptr,
         "menu 32504 1\nresize top 40 20\nshow top\nclick top 2\nshow files\n",
         "dialog \"Export to XLSX\" is open\nresized \"Export to XLSX\" by 40, 20\n"
         "modal \"Export to XLSX\" 340x150 visible grow\n"
         "  1 button (220,110,50,30) \"Ok\"\n"
         "  2 button (280,110,50,30) \"Cancel\"\n"
         "  3 checkbox (5,5,310,23) [ ] \"Do not export prices\"\n"
         "  4 checkbox (5,30,310,23) [ ] \"Mark price fields as input\"\n"
         "  5 checkbox (5,55,310,23) [ ] \"Lock all cells except price fields\"\n"
         "clicked item 2 of \"Export to XLSX\"\nno file dialogs\n"},
        {"a cancelled file dialog ends silently", nullptr, "menu 32504 1\nclick top 1\nfile cancel\nshow alerts\n",
         std::string("dialog \"Export to XLSX\" is open\nclicked item 1 of \"Export to XLSX\"\n") + kExportXlsxDialog +
             "cancelled the file dialog\nno alerts\n"},
        {"a workbook that cannot be written alerts", nullptr, "menu 32504 1\nclick top 1\nfile /proc/c.xlsx\nanswer 1\n",
         std::string("dialog \"Export to XLSX\" is open\nclicked item 1 of \"Export to XLSX\"\n") + kExportXlsxDialog +
             "chose file /proc/c.xlsx\n"
             "alert error \"Error\": \"Could not create the XLSX file. Please check the file path and permissions.\" / "
             "\"\" [\"OK\"]\nanswered the alert with button 1\n"},
        {"an import answered Cancel leaves the estimate as it was", nullptr,
         "menu 32504 1\nclick top 1\nfile $DIR/e.xlsx\nanswer 1\nmenu 32502 1\nidle 4\nmenu 32503 2\nfile $DIR/e.xlsx\n"
         "answer \"Cancel\"\n@flush\n",
         exported + "dialog \"Sync All Quantities\" is open\n4 idle event(s)\n" + kImportExcelDialog +
             "chose file $DIR/e.xlsx\n" + kConfirmExcel + "answered the alert with \"Cancel\"\n" + kSyncedRows},
        {"an import replaces the estimate and refreshes the palette, storing nothing itself", nullptr,
         "menu 32500 1\nmenu 32504 1\nclick top 1\nfile $DIR/e.xlsx\nanswer 1\nmenu 32502 1\nidle 4\nmenu 32503 2\n"
         "file $DIR/e.xlsx\nanswer \"Import\"\nanswer 1\n@stored\n@palette\n",
         exported + "dialog \"Sync All Quantities\" is open\n4 idle event(s)\n" + kImportExcelDialog +
             "chose file $DIR/e.xlsx\n" + kConfirmExcel + "answered the alert with \"Import\"\n"
             "alert information \"Success\": \"Excel file imported successfully!\" / \"\" [\"OK\"]\n"
             "answered the alert with button 1\n" + kSyncedRows + kPaletteBefore},
        {"a file that is no workbook alerts and changes nothing",
         [](const std::string& dir) { WriteFile(dir + "/bad.xlsx", "no workbook"); },
         "menu 32500 1\nmenu 32503 2\nfile $DIR/bad.xlsx\nanswer \"Import\"\nanswer 1\n@palette\n@flush\n",
         std::string(kImportExcelDialog) + "chose file $DIR/bad.xlsx\n" + kConfirmExcel +
             "answered the alert with \"Import\"\n"
             "alert error \"Error\": \"Could not import the Excel file. Make sure it was exported by Calvora.\" / \"\" "
             "[\"OK\"]\nanswered the alert with button 1\n" + kPaletteBefore + kFixtureRows},
        {"a cancelled open dialog ends silently", nullptr, "menu 32503 2\nfile cancel\nshow alerts\n",
         std::string(kImportExcelDialog) + "cancelled the file dialog\nno alerts\n"},
    });
}

}  // namespace
}  // namespace Commands
