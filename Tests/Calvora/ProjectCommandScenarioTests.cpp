// The project-wide commands through the real add-on: Sync All Quantities (progress, the store after
// the last step, the refresh, cancelling), the SQL and XLSX exports and imports (file dialogs, option
// dialogs, alerts, real files read back by the sqlite3 shell and openpyxl); in-process, where a test
// breaks the estimate under them, a failing step or dump.
#include <nlohmann/json.hpp>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "Calvora/MenuCommands.hpp"
#include "Database/ProjectDatabase.hpp"
#include "Database/QtiesTable.hpp"
#include "Dialogs/SyncAllProgressDialog.hpp"
#include "IO/Location.hpp"
#include "ScenarioSupport.hpp"

namespace {
using namespace Scenario;

constexpr const char* kWall2 = "C1000000-0000-4000-8000-000000000002";

// Two categories; three linked quantities (stored values 1.0) and two unlinked ones.
const std::string Estimate =
    "DELETE FROM categories;"
    "INSERT INTO categories VALUES (1, 'Walls', 'C1', 1, '', 32.0), (2, 'Slabs', 'C2', 2, '', 14.0);"
    "INSERT INTO items VALUES (1, 1, 1, 'I1', 'Wall volume', 'm3', 10.0, 2.0, 20.0), "
    "(2, 1, 2, 'I2', 'Loose work', 'pcs', 2.0, 6.0, 12.0), (3, 2, 1, 'I3', 'Slab volume', 'm3', 2.0, 7.0, 14.0);"
    "INSERT INTO qties VALUES (1, 1, 'C1000000-0000-4000-8000-000000000001', 1, 'W-1', 'Volume', 1.0), "
    "(2, 1, 'C1000000-0000-4000-8000-000000000002', 2, 'W-2', 'Volume', 1.0), "
    "(3, 3, 'C1000000-0000-4000-8000-000000000003', 1, 'S-1', 'Volume', 1.0), "
    "(4, 2, '', 1, 'Loose', '2*3', 5.0), (5, 3, '', 2, 'Edge', '', 6.0);";
const std::string Categories = "categories: 1|Walls|C1|1||32.0\ncategories: 2|Slabs|C2|2||14.0\n";
const std::string Items = "items: 1|1|1|I1|Wall volume|m3|10.0|2.0|20.0\nitems: 2|1|2|I2|Loose work|pcs|2.0|6.0|12.0\n"
                          "items: 3|2|1|I3|Slab volume|m3|2.0|7.0|14.0\n";
const std::string Qties = "qties: 1|1|C1000000-0000-4000-8000-000000000001|1|W-1|Volume|1.0\n"
                          "qties: 2|1|C1000000-0000-4000-8000-000000000002|2|W-2|Volume|1.0\n"
                          "qties: 3|3|C1000000-0000-4000-8000-000000000003|1|S-1|Volume|1.0\n"
                          "qties: 4|2||1|Loose|2*3|5.0\nqties: 5|3||2|Edge||6.0\n";
const std::string Fixture = Categories + Items + Qties;
// Every linked quantity re-evaluated (W-1 9.0, W-2 2.5, S-1 20.0); items and categories rolled up;
// the unlinked ones (and the item holding only such) as they were.
const std::string Synced = "categories: 1|Walls|C1|1||127.0\ncategories: 2|Slabs|C2|2||52.0\n"
                           "items: 1|1|1|I1|Wall volume|m3|10.0|11.5|115.0\nitems: 2|1|2|I2|Loose work|pcs|2.0|6.0|12.0\n"
                           "items: 3|2|1|I3|Slab volume|m3|2.0|26.0|52.0\n"
                           "qties: 1|1|C1000000-0000-4000-8000-000000000001|1|W-1|Volume|9.0\n"
                           "qties: 2|1|C1000000-0000-4000-8000-000000000002|2|W-2|Volume|2.5\n"
                           "qties: 3|3|C1000000-0000-4000-8000-000000000003|1|S-1|Volume|20.0\n" +
                           Without(Qties, "Volume");
// The rows as @stored prints them.
std::string Rows(const std::string& rows) { return "=" + Joined(rows) + "\n"; }
const std::string Palette = "=entry 1 \"C1 Walls\" value 1 *\n=entry 2 \"C2 Slabs\" value 2\n"
                            "=row 1 value 1 | \"1\" | \"I1\" | \"Wall volume\" | \"m3\" | \"2.00\" | \"10.00\" | \"20.00\"\n"
                            "=row 2 value 2 | \"2\" | \"I2\" | \"Loose work\" | \"pcs\" | \"6.00\" | \"2.00\" | \"12.00\"\n";

class Commands : public Session {
protected:
    void Check(const std::vector<Case>& cases) { RunCases(ReadJson(COMMANDS_MODEL), cases); }
};

std::string Progress(int position, int count, int max)
{
    const std::string p = std::to_string(position), n = std::to_string(count);
    return "=modal \"Sync All Quantities\" 350x115 visible\n=1 statictext (10,10,330,19) \"Syncing " + p + " / " + n +
           " quantities...\"\n=2 progressbar (10,38,330,18) 0.." + std::to_string(max) + " value " + p +
           "\n=3 button (145,72,60,28) \"Cancel\"\n";
}

TEST_F(Commands, SyncAll)
{
    Check({
        {"three linked quantities: a step per idle event, the store and the refresh on the one after", Estimate,
         "menu 32500 1\nshow Calvora\nmenu 32502 1\nshow top\nidle 1\nshow top\nidle 2\nshow top\n@stored\nidle 1\n"
         "@stored\nshow Calvora\n",
         Palette + Progress(0, 3, 3) + Progress(1, 3, 3) + Progress(3, 3, 3) + Rows(Fixture) + Rows(Synced) +
             "=row 1 value 1 | \"1\" | \"I1\" | \"Wall volume\" | \"m3\" | \"11.50\" | \"10.00\" | \"115.00\""},
        {"cancelled after the first step: that value kept in memory, nothing stored, no refresh", Estimate,
         "menu 32500 1\nmenu 32502 1\nidle 1\nclick top CancelButton\nidle 3\n@stored\nshow Calvora\n@flush\n",
         Rows(Fixture) + Palette +
             Rows("categories: 1|Walls|C1|1||112.0\ncategories: 2|Slabs|C2|2||14.0\n"
                  "items: 1|1|1|I1|Wall volume|m3|10.0|10.0|100.0\n" + Without(Items, "items: 1|") +
                  "qties: 1|1|C1000000-0000-4000-8000-000000000001|1|W-1|Volume|9.0\n" + Without(Qties, "qties: 1|"))},
        {"a deleted element gives 0.0", Estimate, std::string("element ") + kWall2 + " delete\nmenu 32502 1\nidle 4\n@stored\n",
         Rows("categories: 1|Walls|C1|1||102.0\ncategories: 2|Slabs|C2|2||52.0\n"
              "items: 1|1|1|I1|Wall volume|m3|10.0|9.0|90.0\nitems: 2|1|2|I2|Loose work|pcs|2.0|6.0|12.0\n"
              "items: 3|2|1|I3|Slab volume|m3|2.0|26.0|52.0\n"
              "qties: 1|1|C1000000-0000-4000-8000-000000000001|1|W-1|Volume|9.0\n"
              "qties: 2|1|C1000000-0000-4000-8000-000000000002|2|W-2|Volume|0.0\n"
              "qties: 3|3|C1000000-0000-4000-8000-000000000003|1|S-1|Volume|20.0\n" + Without(Qties, "Volume"))},
        {"no linked quantity: the dialog closes at once and changes nothing",
         "DELETE FROM categories; INSERT INTO categories VALUES (1, 'Walls', 'C1', 1, '', 12.0);"
         "INSERT INTO items VALUES (1, 1, 1, 'I1', 'Loose', 'pcs', 2.0, 6.0, 12.0);"
         "INSERT INTO qties VALUES (1, 1, '', 1, 'Loose', '2*3', 5.0);",
         "menu 32502 1\nshow panels\n@flush\n",
         "=no panels\n=categories: 1|Walls|C1|1||12.0 ; items: 1|1|1|I1|Loose|pcs|2.0|6.0|12.0 ; qties: 1|1||1|Loose|2*3|5.0"},
    });
}

std::string SqlFileFacts(const std::string& path)
{
    const std::string bytes = ReadFile(path), out = path + ".rows";
    // One statement per table, each row as "table: a|b|..." like the stored rows.
    const std::string command =
        "sqlite3 -batch -list -separator '|' :memory: \".read '" + path + "'\"" +
        " \"SELECT 'categories: ' || id, title, code, sort_order, descript, total FROM categories ORDER BY id\"" +
        " \"SELECT 'items: ' || id, category_id, sort_order, code, descript, unit, price, qty, total FROM items ORDER BY id\"" +
        " \"SELECT 'qties: ' || id, item_id, guid, sort_order, descript, formula, value FROM qties ORDER BY id\"" +
        " > '" + out + "' 2>&1";
    const bool read = std::system(command.c_str()) == 0;
    return std::string(bytes.rfind("-- Database schema and data dump\n\n", 0) == 0 ? "dump header" : "no dump header") +
           (bytes.find('\0') != std::string::npos ? ", zero byte\n" : "\n") + (read ? "" : "sqlite3 failed: ") + ReadFile(out);
}

std::string AlertOk(const char* kind, const char* title, const char* text)
{
    return std::string("=alert ") + kind + " \"" + title + "\": \"" + text + "\" / \"\" [\"OK\"]\n";
}
const std::string ExportSql = "=file dialog save \"Export to SQL\" [SQL files (*.sql)]\n";
const std::string ExportXlsx = "=file dialog save \"Export to XLSX\" [XLSX files (*.xlsx)]\n";
const std::string ImportExcel = "=file dialog open \"Import from Excel\" [Excel files (*.xlsx)]\n";
const std::string ConfirmExcel =
    "=alert warning \"Import Excel\": \"This will replace ALL current data with the contents of the Excel file.\\nAre "
    "you sure?\" / \"\" [\"Cancel\", \"Import\"]\n";
const std::string CreateFailed =
    AlertOk("error", "Error", "Could not create the SQL file. Please check the file path and permissions.");
const std::string ImportFailed = AlertOk("error", "Error", "Failed to import the SQL file.");
const std::string SqlImported = AlertOk("information", "Success", "SQL file imported successfully!");
const std::string NotFound = AlertOk("error", "File Not Found", "The specified file does not exist.");
const std::string ImportSql = "menu 32503 1\ntype top FileNameEdit \"$DIR/";  // the file's name and the rest follow

TEST_F(Commands, SqlExportAndImport)
{
    WriteFile(dir + "/old.sql", std::string(5000, 'x'));
    WriteFile(dir + "/zero.sql", std::string("DELETE FROM qties;\0DELETE", 25));
    WriteFile(dir + "/bad.sql", "DELETE FROM qties;\nINSERT INTO nowhere VALUES (1);\n");
    const std::string unlinked = Without(Without(Fixture, "|W-"), "|S-1|");
    Check({
        {"an export over an existing file replaces it with the dump", Estimate, "menu 32504 2\nfile $DIR/old.sql\nshow alerts\n",
         ExportSql + "=chose file $DIR/old.sql\n=no alerts"},
        {"a cancelled export writes nothing", Estimate, "menu 32504 2\nfile cancel\nshow alerts\n",
         ExportSql + "=cancelled the file dialog\n=no alerts"},
        {"a round trip keeping the linked quantities restores, stores and shows the exported estimate", Estimate,
         "menu 32500 1\nmenu 32504 2\nfile $DIR/a.sql\nmenu 32502 1\nidle 4\n@stored\n" + ImportSql +
             "a.sql\"\nclick top OkButton\nanswer 1\n@stored\nshow Calvora\n",
         Rows(Synced) + SqlImported + Rows(Fixture) + Palette},
        {"skipping the linked quantities leaves only the unlinked ones", Estimate,
         "menu 32504 2\nfile $DIR/a.sql\n" + ImportSql + "a.sql\"\ncheck top SkipLinkedCheck on\nclick top OkButton\nanswer 1\n@stored\n"
                                                         "menu 32504 2\nfile $DIR/b.sql\n",
         SqlImported + Rows(unlinked) + ExportSql},
        {"a missing file keeps the dialog open with its path until Cancel", Estimate,
         ImportSql + "none.sql\"\nclick top OkButton\nanswer 1\nshow top\nclick top CancelButton\nshow alerts\n@flush\n",
         NotFound + "4 textedit (5,22,255,20) focus \"$DIR/none.sql\"\n"
                    "=alert error \"File Not Found\": \"The specified file does not exist.\" / \"\" [\"OK\"] -> 1\n!alert\n" +
             Rows(Fixture)},
        {"an empty path is no file either", Estimate, "menu 32503 1\nclick top OkButton\nanswer 1\nclick top CancelButton\n", NotFound},
        {"browsing fills the path; a cancelled browse leaves it", Estimate,
         "menu 32504 2\nfile $DIR/a.sql\nmenu 32503 1\ntype top FileNameEdit \"kept\"\nclick top BrowseButton\nfile cancel\nshow top\n"
         "click top BrowseButton\nfile $DIR/a.sql\nshow top\nclick top CancelButton\nshow alerts\n",
         "=file dialog open \"Import from SQL\" [SQL files (*.sql)]\n=cancelled the file dialog\n"
         "4 textedit (5,22,255,20) focus \"kept\"\n=file dialog open \"Import from SQL\" [SQL files (*.sql)]\n"
         "4 textedit (5,22,255,20) focus \"$DIR/a.sql\"\n=no alerts"},
        {"a file holding a zero byte is refused and changes nothing", Estimate,
         "menu 32500 1\n" + ImportSql + "zero.sql\"\nclick top OkButton\nanswer 1\nshow Calvora\n@flush\n",
         ImportFailed + Palette + Rows(Fixture)},
        {"SQL that fails changes nothing", Estimate, "menu 32500 1\n" + ImportSql + "bad.sql\"\nclick top OkButton\nanswer 1\nshow Calvora\n@flush\n",
         ImportFailed + Palette + Rows(Fixture)},
        {"a folder exists but cannot be opened", Estimate, "menu 32503 1\ntype top FileNameEdit \"$DIR\"\nclick top OkButton\nanswer 1\n@flush\n",
         AlertOk("error", "Error", "Could not open the SQL file.") + Rows(Fixture)},
        {"Cancel ends the import at once; an enlarged dialog moves its buttons", Estimate,
         "menu 32503 1\nresize top 40 20\nshow top\nclick top CancelButton\nshow alerts\n",
         R"~(=modal "Import SQL" 340x150 visible grow
             =1 button (220,110,50,30) "Ok"
             =2 button (280,110,50,30) "Cancel"
             =3 statictext (5,5,50,20) "Filename:"
             =4 textedit (5,22,295,20) "" caret 0
             =5 button (305,22,25,23) "..."
             =6 checkbox (5,50,270,23) [ ] "Skip quantities linked to model elements"
             =no alerts)~"},
    });
    EXPECT_EQ(SqlFileFacts(dir + "/old.sql"), "dump header\n" + Fixture);
    EXPECT_EQ(SqlFileFacts(dir + "/b.sql"), "dump header\n" + unlinked);
    EXPECT_FALSE(std::ifstream(dir + "/x.sql").good());
}

// Price cell F5 of the "Walls" sheet (its first item) and whether every sheet is protected, as
// openpyxl reads the workbook.
std::string PriceCell(const std::string& path)
{
    if (std::system(("/usr/bin/python3 " OPENPYXL_PEER " read '" + path + "' > '" + path + ".json'").c_str()) != 0)
        return "unreadable workbook";
    const nlohmann::json book = nlohmann::json::parse(ReadFile(path + ".json"), nullptr, false);
    const auto& f5 = book["sheets"]["Walls"]["cells"]["F5"];
    bool allProtected = true;
    for (const auto& sheet : book["sheets"])
        allProtected = allProtected && sheet["protected"].get<bool>();
    return "F5 " + f5["value"].dump() + (f5["bold"].get<bool>() ? " bold" : "") + " fill " + f5["fill"].dump() +
           (f5["locked"].get<bool>() ? " locked" : " unlocked") + ", B5 " +
           (book["sheets"]["Walls"]["cells"]["B5"]["locked"].get<bool>() ? "locked" : "unlocked") +
           (allProtected ? ", protected" : ", open");
}

TEST_F(Commands, XlsxExportAndImport)
{
    WriteFile(dir + "/bad.xlsx", "no workbook");
    const std::string exported = AlertOk("information", "Success", "Excel file exported successfully!");
    const std::string exportTo = "menu 32504 1\nclick top OkButton\nfile $DIR/e.xlsx\nanswer 1\nmenu 32502 1\nidle 4\n";
    // The box ticked (none: "") names the workbook.
    auto withOption = [&](const std::string& box) -> Case {
        return {"price option " + box, Estimate,
                "menu 32504 1\n" + (box.empty() ? std::string() : "check top " + box + " on\n") +
                    "click top OkButton\nfile $DIR/p" + box + ".xlsx\nanswer 1\n",
                ExportXlsx + "=chose file $DIR/p" + box + ".xlsx\n" + exported};
    };
    Check({
        withOption(""), withOption("DoNotExportPricesCheck"), withOption("MarkPriceFieldsAsInputCheck"),
        withOption("LockAllExceptPricesCheck"),
        {"cancelling the options shows no file dialog; an enlarged dialog moves its buttons", Estimate,
         "menu 32504 1\nresize top 40 20\nshow top\nclick top CancelButton\nshow files\n",
         R"~(=modal "Export to XLSX" 340x150 visible grow
             =1 button (220,110,50,30) "Ok"
             =2 button (280,110,50,30) "Cancel"
             =3 checkbox (5,5,310,23) [ ] "Do not export prices"
             =4 checkbox (5,30,310,23) [ ] "Mark price fields as input"
             =5 checkbox (5,55,310,23) [ ] "Lock all cells except price fields"
             =no file dialogs)~"},
        {"a cancelled file dialog ends silently", Estimate, "menu 32504 1\nclick top OkButton\nfile cancel\nshow alerts\n",
         ExportXlsx + "=cancelled the file dialog\n=no alerts"},
        {"an import answered Cancel leaves the estimate as it was", Estimate,
         exportTo + "menu 32503 2\nfile $DIR/e.xlsx\nanswer \"Cancel\"\n@flush\n",
         ExportXlsx + exported + ImportExcel + ConfirmExcel + Rows(Synced)},
        {"an import replaces the estimate and refreshes the palette, storing nothing itself", Estimate,
         "menu 32500 1\n" + exportTo + "menu 32503 2\nfile $DIR/e.xlsx\nanswer \"Import\"\nanswer 1\n@stored\nshow Calvora\n",
         ImportExcel + ConfirmExcel + AlertOk("information", "Success", "Excel file imported successfully!") + Rows(Synced) +
             Palette},
        {"a file that is no workbook alerts and changes nothing", Estimate,
         "menu 32500 1\nmenu 32503 2\nfile $DIR/bad.xlsx\nanswer \"Import\"\nanswer 1\nshow Calvora\n@flush\n",
         ImportExcel + ConfirmExcel +
             AlertOk("error", "Error", "Could not import the Excel file. Make sure it was exported by Calvora.") + Palette +
             Rows(Fixture)},
        {"a cancelled open dialog ends silently", Estimate, "menu 32503 2\nfile cancel\nshow alerts\n",
         ImportExcel + "=cancelled the file dialog\n=no alerts"},
    });
    const char* const prices[][2] = {{"", "F5 10 fill null locked, B5 locked, open"},
                                     {"DoNotExportPricesCheck", "F5 0 fill null locked, B5 locked, open"},
                                     {"MarkPriceFieldsAsInputCheck", "F5 10 bold fill \"solid\" locked, B5 locked, open"},
                                     {"LockAllExceptPricesCheck", "F5 10 fill null unlocked, B5 locked, protected"}};
    for (const auto& [box, cell] : prices)
        EXPECT_EQ(PriceCell(dir + "/p" + box + ".xlsx"), cell) << box;
}

// Each entry under the folder as "name what": a link's target, "fifo", or a file's mode and contents
// (a dump's header, a workbook as openpyxl reads it).
std::map<std::string, std::string> Listing(const std::string& folder)
{
    std::map<std::string, std::string> entries;
    // Listed first: reading a workbook writes beside it.
    const std::vector<std::filesystem::directory_entry> all(std::filesystem::recursive_directory_iterator(folder), {});
    for (const auto& entry : all) {
        const std::string path = entry.path();
        std::string& what = entries[entry.path().lexically_relative(folder)];
        if (entry.is_symlink()) {
            what = "-> " + std::filesystem::read_symlink(path).string();
        } else if (entry.is_fifo()) {
            what = "fifo";
        } else if (entry.is_regular_file()) {
            const std::string bytes = ReadFile(path);
            char mode[8];
            std::snprintf(mode, sizeof mode, "%04o ", static_cast<unsigned>(entry.status().permissions()));
            what = mode + (bytes.rfind("PK", 0) == 0 ? PriceCell(path) : bytes.rfind("-- ", 0) == 0 ? "dump" : bytes);
        }
    }
    return entries;
}

// A failing export alerts and leaves every file as it was, even on a full disk; a link is followed
// and stays; a FIFO is refused without being opened; the file written keeps the mode of the one it
// replaces.
TEST_F(Commands, ExportTargets)
{
    const std::string xlsx = "menu 32504 1\nclick top OkButton\nfile $DIR/", sql = "menu 32504 2\nfile $DIR/";
    const std::string xlsxFailed =
        AlertOk("error", "Error", "Could not create the XLSX file. Please check the file path and permissions.");
    const struct {
        const char* name;
        std::string script, alert;
        UInt64 limit;         // the largest file the disk takes
        std::string changes;  // "-" an entry before, "+" after
    } cases[] = {
        {"a workbook replaces a file", xlsx + "old.xlsx\nanswer 1\n", "exported successfully", 0,
         "-old.xlsx 0604 old\n+old.xlsx 0604 F5 10 fill null locked, B5 locked, open\n"},
        {"a full disk keeps the old workbook", xlsx + "old.xlsx\nanswer 1\n", xlsxFailed, 4096, ""},
        {"a full disk leaves no part of a new workbook", xlsx + "new.xlsx\nanswer 1\n", xlsxFailed, 4096, ""},
        {"a full disk keeps the old dump", sql + "old.sql\nanswer 1\n", CreateFailed, 512, ""},
        {"a workbook through a link", xlsx + "link.xlsx\nanswer 1\n", "exported successfully", 0,
         "-other/old.xlsx 0604 old\n+other/old.xlsx 0604 F5 10 fill null locked, B5 locked, open\n"},
        {"a dump through a link", sql + "link.sql\n", "=no alerts", 0, "-other/old.sql 0604 old\n+other/old.sql 0604 dump\n"},
        {"a workbook into a FIFO", xlsx + "pipe\nanswer 1\n", xlsxFailed, 0, ""},
        {"a dump into a FIFO", sql + "pipe\nanswer 1\n", CreateFailed, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir + "/other");
        for (const char* name : {"old.sql", "old.xlsx", "other/old.sql", "other/old.xlsx"}) {
            WriteFile(dir + "/" + name, "old");
            chmod((dir + "/" + name).c_str(), 0604);
        }
        symlink("other/old.sql", (dir + "/link.sql").c_str());
        symlink("other/old.xlsx", (dir + "/link.xlsx").c_str());
        mkfifo((dir + "/pipe").c_str(), 0644);
        const auto before = Listing(dir);
        Start(ReadJson(COMMANDS_MODEL), Estimate.c_str());
        IO::LimitFileSize(c.limit);
        const std::string out = Run(c.script + "show alerts\n");
        IO::LimitFileSize(0);
        Finish();
        EXPECT_TRUE(Shows(out, c.alert)) << out;
        const auto after = Listing(dir);
        std::string changes;
        for (const auto* side : {&before, &after})
            for (const auto& [name, what] : *side)
                if (before.count(name) == 0 || after.count(name) == 0 || before.at(name) != after.at(name))
                    changes += (side == &before ? "-" : "+") + name + " " + what + "\n";
        EXPECT_EQ(changes, c.changes);
    }
}

// The sample script of the project-wide commands runs to its end in the stand-in host, writing its
// files into the folder it runs in.
TEST(SampleScripts, ProjectCommandsRunEveryMenuCommandAgainstTheFilesTheyWrite)
{
    const std::string run = TempDir(), out = run + "/out.txt";
    ASSERT_EQ(std::system(("cd '" + run + "' && '" CALVORA_HOST_EXE "' --script '" CALVORA_SAMPLES_DIR
                           "/project-commands.script' '" CALVORA_SAMPLES_DIR "/sample-project.json' > out.txt 2>&1").c_str()), 0)
        << ReadFile(out);
    const std::string text = ReadFile(out);
    EXPECT_NE(text.find("\"Syncing 2 / 14 quantities...\""), std::string::npos) << text;
    EXPECT_EQ(LinesWith(text, " -> "),
              "alert information \"Success\": \"Excel file exported successfully!\" / \"\" [\"OK\"] -> 1\n"
              "alert information \"Success\": \"SQL file imported successfully!\" / \"\" [\"OK\"] -> 1\n"
              "alert warning \"Import Excel\": \"This will replace ALL current data with the contents of the Excel "
              "file.\\nAre you sure?\" / \"\" [\"Cancel\", \"Import\"] -> 2\n"
              "alert information \"Success\": \"Excel file imported successfully!\" / \"\" [\"OK\"] -> 1\n"
              "file dialog save \"Export to SQL\" [SQL files (*.sql)] -> \"calvora-sample.sql\"\n"
              "file dialog save \"Export to XLSX\" [XLSX files (*.xlsx)] -> \"calvora-sample.xlsx\"\n"
              "file dialog open \"Import from SQL\" [SQL files (*.sql)] -> \"calvora-sample.sql\"\n"
              "file dialog open \"Import from Excel\" [Excel files (*.xlsx)] -> \"calvora-sample.xlsx\"\n");
    EXPECT_TRUE(std::filesystem::is_regular_file(run + "/calvora-sample.sql"));
    EXPECT_TRUE(std::filesystem::is_regular_file(run + "/calvora-sample.xlsx"));
}

// In-process, where a test breaks the estimate between two steps or under the dump.
class CommandFaults : public InProcess {
protected:
    void SetUp() override
    {
        InProcess::SetUp();
        Start(ReadJson(COMMANDS_MODEL), Estimate.c_str());
    }
    std::string Stored() { return host.ModuleData("CalvoraDB") ? Query(*host.ModuleData("CalvoraDB")) : ""; }
};

TEST_F(CommandFaults, ASyncStepThatThrowsIsPassedOver)
{
    const struct {
        const char* name;
        std::function<void()> beforeSecondStep;
        const char* debugFragment;
        std::string rows;
    } cases[] = {
        {"the second quantity's row is gone",
         [] {
             Qty gone = QtiesTable().findById(2);
             QtiesTable().remove(gone);
         },
         "Entity not found",
         "categories: 1|Walls|C1|1||102.0\ncategories: 2|Slabs|C2|2||52.0\n"
         "items: 1|1|1|I1|Wall volume|m3|10.0|9.0|90.0\nitems: 2|1|2|I2|Loose work|pcs|2.0|6.0|12.0\n"
         "items: 3|2|1|I3|Slab volume|m3|2.0|26.0|52.0\n" + Without(Without(Without(Synced, "categories:"), "items:"), "|W-2|")},
        {"the quantities' table is gone", [] { ProjectDatabase::instance().execSql("DROP TABLE qties;"); },
         "no such table",
         "categories: 1|Walls|C1|1||112.0\ncategories: 2|Slabs|C2|2||14.0\n"
         "items: 1|1|1|I1|Wall volume|m3|10.0|10.0|100.0\n" + Without(Items, "items: 1|") + "qties: missing\n"},
    };
    for (const auto& c : cases) {
        Start(ReadJson(COMMANDS_MODEL), Estimate.c_str());
        debug.clear();
        actions.push_back([] { DG::User::FireIdle(1); });
        actions.push_back(c.beforeSecondStep);
        actions.push_back([] { DG::User::FireIdle(4); });
        SyncAllProgressDialog dialog;
        EXPECT_EQ(dialog.Invoke(), DG::Accept) << c.name;
        EXPECT_NE(debug.find(c.debugFragment), std::string::npos) << c.name << ": " << debug;
        EXPECT_EQ(Stored(), c.rows) << c.name;
    }
}

TEST_F(CommandFaults, AnEstimateThatCannotBeReadAlertsAndSyncsNothing)
{
    ProjectDatabase::instance().execSql("DROP TABLE items;");
    SyncAllProgressDialog dialog;
    Act([](Int16, std::string* e) { return DG::User::AnswerAlert(1, e); });
    EXPECT_EQ(dialog.Invoke(), DG::Accept);
    ASSERT_EQ(DG::User::AlertLog().size(), 1u);
    EXPECT_EQ(DG::User::AlertLog()[0].ToString(),
              "alert error \"Error\": \"Could not read the quantities to sync.\" / \"\" [\"OK\"] -> 1");
    // Nothing to sync: 0 of 0 on a bar whose maximum is 1.
    EXPECT_TRUE(Shows(DG::User::Describe(dialog.GetId()),
                      "\"Syncing 0 / 0 quantities...\"\n2 progressbar (10,38,330,18) 0..1 value 0"));
}

TEST_F(CommandFaults, AFailedDumpAlertsAndLeavesTheFileAsItWas)
{
    // A row whose generated column overflows when it is read makes the dump throw half-way.
    ProjectDatabase::instance().execSql("CREATE TABLE zz (a INTEGER); INSERT INTO zz (a) VALUES (1);"
                                        "ALTER TABLE zz ADD COLUMN b AS (abs(-9223372036854775807 - a));");
    const std::string path = TempDir() + "/kept.sql";
    WriteFile(path, "kept");
    Act([path](Int16, std::string* e) { return DG::User::ChooseFile(path, e); });
    Act([](Int16, std::string* e) { return DG::User::AnswerAlert(1, e); });
    DoExportSql();
    EXPECT_TRUE(actions.empty());
    ASSERT_EQ(DG::User::AlertLog().size(), 1u);
    EXPECT_EQ(DG::User::AlertLog()[0].ToString(),
              "alert error \"Error\": \"Could not create the SQL file. Please check the file path and permissions.\" / "
              "\"\" [\"OK\"] -> 1");
    EXPECT_EQ(ReadFile(path), "kept");
    EXPECT_NE(debug.find("DoExportSql"), std::string::npos) << debug;
}

}  // namespace
