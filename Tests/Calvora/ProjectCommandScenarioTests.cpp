// The project-wide commands through the real add-on: Sync All Quantities (progress, the store after
// the last step, the refresh, cancelling), the SQL and XLSX exports and imports (file dialogs, option
// dialogs, alerts, real files: a full disk, a link, a FIFO; workbooks read back by openpyxl);
// in-process, where a test breaks the estimate under them, a failing step or dump.
#include <nlohmann/json.hpp>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "Calvora/MenuCommands.hpp"
#include "Database/ProjectDatabase.hpp"
#include "Database/QtiesTable.hpp"
#include "Dialogs/SyncAllProgressDialog.hpp"
#include "ScenarioSupport.hpp"

namespace {
using namespace Scenario;

// Two categories; three linked quantities (stored values 1.0) and two unlinked ones.
const std::string Seed =
    "DELETE FROM categories;"
    "INSERT INTO categories VALUES (1, 'Walls', 'C1', 1, '', 32.0), (2, 'Slabs', 'C2', 2, '', 14.0);"
    "INSERT INTO items VALUES (1, 1, 1, 'I1', 'Wall volume', 'm3', 10.0, 2.0, 20.0), "
    "(2, 1, 2, 'I2', 'Loose work', 'pcs', 2.0, 6.0, 12.0), (3, 2, 1, 'I3', 'Slab volume', 'm3', 2.0, 7.0, 14.0);"
    "INSERT INTO qties VALUES (1, 1, 'C1000000-0000-4000-8000-000000000001', 1, 'W-1', 'Volume', 1.0), "
    "(2, 1, 'C1000000-0000-4000-8000-000000000002', 2, 'W-2', 'Volume', 1.0), "
    "(3, 3, 'C1000000-0000-4000-8000-000000000003', 1, 'S-1', 'Volume', 1.0), "
    "(4, 2, '', 1, 'Loose', '2*3', 5.0), (5, 3, '', 2, 'Edge', '', 6.0);";
// The seed's rows with the figures a sync changes, in order: the two categories' totals, items 1 and
// 3's quantity|total, the values of W-1, W-2 and S-1.
std::string Rows(const std::vector<std::string>& figures)
{
    std::string rows = "categories: 1|Walls|C1|1||%\ncategories: 2|Slabs|C2|2||%\n"
                       "items: 1|1|1|I1|Wall volume|m3|10.0|%\nitems: 2|1|2|I2|Loose work|pcs|2.0|6.0|12.0\n"
                       "items: 3|2|1|I3|Slab volume|m3|2.0|%\n"
                       "qties: 1|1|C1000000-0000-4000-8000-000000000001|1|W-1|Volume|%\n"
                       "qties: 2|1|C1000000-0000-4000-8000-000000000002|2|W-2|Volume|%\n"
                       "qties: 3|3|C1000000-0000-4000-8000-000000000003|1|S-1|Volume|%\n"
                       "qties: 4|2||1|Loose|2*3|5.0\nqties: 5|3||2|Edge||6.0\n";
    for (const std::string& figure : figures)
        rows.replace(rows.find('%'), 1, figure);
    return rows;
}
const std::string Fixture = Rows({"32.0", "14.0", "2.0|20.0", "7.0|14.0", "1.0", "1.0", "1.0"});
// Every linked quantity re-evaluated (W-1 9.0, W-2 2.5, S-1 20.0); items and categories rolled up;
// the unlinked ones (and the item holding only such) as they were.
const std::string Synced = Rows({"127.0", "52.0", "11.5|115.0", "26.0|52.0", "9.0", "2.5", "20.0"});
// Only W-1's step run; W-2 gone (valued 0.0).
const std::string FirstStep = Rows({"112.0", "14.0", "10.0|100.0", "7.0|14.0", "9.0", "1.0", "1.0"});
const std::string W2Gone = Rows({"102.0", "52.0", "9.0|90.0", "26.0|52.0", "9.0", "0.0", "20.0"});
// The rows as @stored prints them.
std::string Stored(const std::string& rows) { return "=" + Joined(rows) + "\n"; }
// The first item's row in the palette once synced.
const std::string Synced1 = "=row 1 value 1 | \"1\" | \"I1\" | \"Wall volume\" | \"m3\" | \"11.50\" | \"10.00\" | \"115.00\"\n";
const std::string Palette = "=entry 1 \"C1 Walls\" value 1 *\n=entry 2 \"C2 Slabs\" value 2\n"
                            "=row 1 value 1 | \"1\" | \"I1\" | \"Wall volume\" | \"m3\" | \"2.00\" | \"10.00\" | \"20.00\"\n"
                            "=row 2 value 2 | \"2\" | \"I2\" | \"Loose work\" | \"pcs\" | \"6.00\" | \"2.00\" | \"12.00\"\n";

class Commands : public Session {
protected:
    void Check(const std::vector<Case>& cases) { RunCases(ReadJson(COMMANDS_MODEL), cases); }
};

std::string Progress(int position, int count, int max)
{
    const std::string p = std::to_string(position);
    return "=ProgressText \"Syncing " + p + " / " + std::to_string(count) + " quantities...\"\n=ProgressBar 0.." +
           std::to_string(max) + " value " + p + "\n";
}

TEST_F(Commands, SyncAll)
{
    Check({
        {"three linked quantities: a step per idle event, the store and the refresh on the one after", Seed,
         "menu \"Show Calvora Palette\"\nshow Calvora\nmenu \"Sync All Quantities\"\n@show top\nidle 1\n@show top\nidle 2\n@show top\n@stored\nidle 1\n"
         "@stored\nshow Calvora\n",
         Palette + Progress(0, 3, 3) + Progress(1, 3, 3) + Progress(3, 3, 3) + Stored(Fixture) + Stored(Synced) + Synced1},
        {"cancelled after the first step: that value kept in memory, nothing stored, no refresh", Seed,
         "menu \"Show Calvora Palette\"\nmenu \"Sync All Quantities\"\nidle 1\nclick top CancelButton\nidle 3\n@stored\nshow Calvora\n@flush\n",
         Stored(Fixture) + Palette + Stored(FirstStep)},
        {"a deleted element gives 0.0", Seed, "element C1000000-0000-4000-8000-000000000002 delete\nmenu \"Sync All Quantities\"\nidle 4\n@stored\n",
         Stored(W2Gone)},
        {"no linked quantity: the dialog closes at once and changes nothing", Seed + "DELETE FROM qties WHERE guid <> '';",
         "menu \"Sync All Quantities\"\nshow panels\n@flush\n", "=no panels\n" + Stored(Without(Without(Fixture, "|W-"), "|S-1|"))},
    });
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
const std::string ImportSql = "menu \"Import from SQL\"\ntype top FileNameEdit \"$DIR/";  // the file's name and the rest follow

// What an export may meet: "kept.EXT", "other/linked.EXT" (mode 0604), "link.EXT" to the latter, and
// the FIFO "pipe.EXT".
void MakeTargets(const std::string& dir, const std::string& extension)
{
    std::filesystem::create_directories(dir + "/other");
    for (const std::string name : {"/kept.", "/other/linked."})
        WriteFile(dir + name + extension, "old");
    chmod((dir + "/other/linked." + extension).c_str(), 0604);
    symlink(("other/linked." + extension).c_str(), (dir + "/link." + extension).c_str());
    mkfifo((dir + "/pipe." + extension).c_str(), 0644);
}

// The targets after the exports: the file kept through a full disk, the link and the FIFO still
// there, the link's file written (beginning so) with the mode it had.
void ExpectTargets(const std::string& dir, const std::string& extension, const std::string& beginning)
{
    namespace fs = std::filesystem;
    EXPECT_EQ(ReadFile(dir + "/kept." + extension), "old");
    EXPECT_TRUE(fs::is_symlink(dir + "/link." + extension) && fs::is_fifo(dir + "/pipe." + extension));
    EXPECT_EQ(ReadFile(dir + "/other/linked." + extension).substr(0, beginning.size()), beginning);
    EXPECT_EQ(fs::status(dir + "/other/linked." + extension).permissions(), fs::perms(0604));
}

TEST_F(Commands, SqlExportAndImport)
{
    WriteFile(dir + "/old.sql", std::string(5000, 'x'));
    WriteFile(dir + "/zero.sql", std::string("DELETE FROM qties;\0DELETE", 25));
    WriteFile(dir + "/bad.sql", "DELETE FROM qties;\nINSERT INTO nowhere VALUES (1);\n");
    MakeTargets(dir, "sql");
    Check({
        {"a cancelled export writes nothing; one over an existing file replaces it with the dump", Seed,
         "menu \"Export to SQL\"\nfile cancel\nmenu \"Export to SQL\"\nfile $DIR/old.sql\nshow alerts\n",
         ExportSql + "=cancelled the file dialog\n" + ExportSql + "=chose file $DIR/old.sql\n=no alerts"},
        // A failed write leaves the old file, even on a full disk; a FIFO is refused without being opened; a
        // link is followed and stays; the file written keeps the mode of the one it replaces.
        {"a full disk, a FIFO and a link", Seed,
         "@disk 512\nmenu \"Export to SQL\"\nfile $DIR/kept.sql\nanswer 1\n@disk 0\nmenu \"Export to SQL\"\nfile $DIR/pipe.sql\nanswer 1\n"
         "menu \"Export to SQL\"\nfile $DIR/link.sql\n",
         CreateFailed + CreateFailed},
        {"a round trip keeping the linked quantities restores, stores and shows the exported estimate", Seed,
         "menu \"Show Calvora Palette\"\nmenu \"Export to SQL\"\nfile $DIR/a.sql\nmenu \"Sync All Quantities\"\nidle 4\n@stored\n" + ImportSql +
             "a.sql\"\nclick top OkButton\nanswer 1\n@stored\nshow Calvora\n",
         Stored(Synced) + SqlImported + Stored(Fixture) + Palette},
        {"skipping the linked quantities leaves only the unlinked ones", Seed,
         "menu \"Export to SQL\"\nfile $DIR/a.sql\n" + ImportSql + "a.sql\"\ncheck top SkipLinkedCheck on\nclick top OkButton\nanswer 1\n@stored\n",
         SqlImported + Stored(Without(Without(Fixture, "|W-"), "|S-1|"))},
        {"a missing file keeps the dialog open with its path until Cancel", Seed,
         ImportSql + "none.sql\"\nclick top OkButton\nanswer 1\n@show top\nclick top CancelButton\n@flush\n",
         NotFound + "FileNameEdit focus \"$DIR/none.sql\"\n" + Stored(Fixture)},
        {"an empty path is no file either", Seed, "menu \"Import from SQL\"\nclick top OkButton\nanswer 1\nclick top CancelButton\n", NotFound},
        {"browsing fills the path; a cancelled browse leaves it", Seed,
         "menu \"Export to SQL\"\nfile $DIR/a.sql\nmenu \"Import from SQL\"\ntype top FileNameEdit \"kept\"\nclick top BrowseButton\nfile cancel\n@show top\n"
         "click top BrowseButton\nfile $DIR/a.sql\n@show top\nclick top CancelButton\nshow alerts\n",
         "=file dialog open \"Import from SQL\" [SQL files (*.sql)]\n=cancelled the file dialog\nFileNameEdit focus \"kept\"\n"
         "=file dialog open \"Import from SQL\" [SQL files (*.sql)]\nFileNameEdit focus \"$DIR/a.sql\"\n=no alerts"},
        // A zero byte, SQL that fails, a folder that exists but cannot be opened.
        {"a refused import changes nothing", Seed,
         "menu \"Show Calvora Palette\"\n" + ImportSql + "zero.sql\"\nclick top OkButton\nanswer 1\n" + ImportSql + "bad.sql\"\nclick top OkButton\n"
         "answer 1\nmenu \"Import from SQL\"\ntype top FileNameEdit \"$DIR\"\nclick top OkButton\nanswer 1\nshow Calvora\n@flush\n",
         ImportFailed + ImportFailed + AlertOk("error", "Error", "Could not open the SQL file.") + Palette + Stored(Fixture)},
    });
    // The dump replaced the old file whole; the round trip shows what it holds.
    EXPECT_EQ(ReadFile(dir + "/old.sql"), ReadFile(dir + "/a.sql"));
    ExpectTargets(dir, "sql", "-- Database schema and data dump");
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
    MakeTargets(dir, "xlsx");
    const std::string exported = AlertOk("information", "Success", "Excel file exported successfully!");
    const std::string xlsxFailed =
        AlertOk("error", "Error", "Could not create the XLSX file. Please check the file path and permissions.");
    const std::string exportTo = "menu \"Export to XLS\"\nclick top OkButton\nfile $DIR/e.xlsx\nanswer 1\nmenu \"Sync All Quantities\"\nidle 4\n";
    // The box ticked (none: "") names the workbook; its price cell as openpyxl reads it.
    const char* const prices[][2] = {{"", "F5 10 fill null locked, B5 locked, open"},
                                     {"DoNotExportPricesCheck", "F5 0 fill null locked, B5 locked, open"},
                                     {"MarkPriceFieldsAsInputCheck", "F5 10 bold fill \"solid\" locked, B5 locked, open"},
                                     {"LockAllExceptPricesCheck", "F5 10 fill null unlocked, B5 locked, protected"}};
    std::vector<Case> cases;
    for (const auto& [box, cell] : prices)
        cases.push_back({std::string("price option ") + box, Seed,
                         "menu \"Export to XLS\"\n" + (*box ? "check top " + std::string(box) + " on\n" : "") + "click top OkButton\nfile $DIR/p" +
                             box + ".xlsx\nanswer 1\n",
                         ExportXlsx + "=chose file $DIR/p" + box + ".xlsx\n" + exported});
    cases.insert(cases.end(), {
        {"cancelling the options, the save or the open dialog ends silently", Seed,
         "menu \"Export to XLS\"\nclick top CancelButton\nshow files\nmenu \"Export to XLS\"\nclick top OkButton\nfile cancel\nmenu \"Import from Excel\"\nfile cancel\n"
         "show alerts\n",
         "=no file dialogs\n" + ExportXlsx + "=cancelled the file dialog\n" + ImportExcel + "=cancelled the file dialog\n=no alerts"},
        {"a full disk, a FIFO and a link", Seed,
         "@disk 4096\nmenu \"Export to XLS\"\nclick top OkButton\nfile $DIR/kept.xlsx\nanswer 1\n@disk 0\nmenu \"Export to XLS\"\nclick top OkButton\n"
         "file $DIR/pipe.xlsx\nanswer 1\nmenu \"Export to XLS\"\nclick top OkButton\nfile $DIR/link.xlsx\nanswer 1\n",
         xlsxFailed + xlsxFailed + exported},
        {"an import answered Cancel leaves the estimate as it was; one answered Import replaces it and refreshes the "
         "palette, storing nothing itself", Seed,
         "menu \"Show Calvora Palette\"\n" + exportTo + "menu \"Import from Excel\"\nfile $DIR/e.xlsx\nanswer \"Cancel\"\nshow Calvora\n"
         "menu \"Import from Excel\"\nfile $DIR/e.xlsx\nanswer \"Import\"\nanswer 1\n@stored\nshow Calvora\n",
         ExportXlsx + exported + ImportExcel + ConfirmExcel + Synced1 + ImportExcel + ConfirmExcel +
             AlertOk("information", "Success", "Excel file imported successfully!") + Stored(Synced) + Palette},
        {"a file that is no workbook alerts and changes nothing", Seed,
         "menu \"Show Calvora Palette\"\nmenu \"Import from Excel\"\nfile $DIR/bad.xlsx\nanswer \"Import\"\nanswer 1\nshow Calvora\n@flush\n",
         ImportExcel + ConfirmExcel +
             AlertOk("error", "Error", "Could not import the Excel file. Make sure it was exported by Calvora.") + Palette +
             Stored(Fixture)},
    });
    Check(cases);
    for (const auto& [box, cell] : prices)
        EXPECT_EQ(PriceCell(dir + "/p" + box + ".xlsx"), cell) << box;
    ExpectTargets(dir, "xlsx", "PK");
}

// The sample script of the project-wide commands runs to its end in the stand-in host, writing its
// files into the folder it runs in.
TEST(SampleScripts, ProjectCommandsRunEveryMenuCommandAgainstTheFilesTheyWrite)
{
    const std::string run = TempDir(), out = run + "/out.txt";
    ASSERT_EQ(std::system(("cd '" + run + "' && '" CALVORA_HOST_EXE "' --script '" CALVORA_SAMPLES_DIR
                           "/project-commands.script' '" CALVORA_SAMPLES_DIR "/sample-project.json' > out.txt 2>&1").c_str()), 0)
        << ReadFile(out);
    // Each command ends in its success, the imports reading the files the exports wrote.
    const std::string text = ReadFile(out);
    EXPECT_TRUE(Shows(text, "\"Syncing 2 / 14 quantities...\"\nExcel file exported successfully!\nSQL file imported successfully!\n"
                            "Excel file imported successfully!")) << text;
    EXPECT_EQ(LinesWith(text, "alert error"), "");
}

// In-process, where a test breaks the estimate between two steps or under the dump.
class CommandFaults : public InProcess {
protected:
    void StartOnSeed() { Start(ReadJson(COMMANDS_MODEL), Seed.c_str()); }
    std::string StoredRows() { return host.ModuleData("CalvoraDB") ? Query(*host.ModuleData("CalvoraDB")) : ""; }
};

// The estimate broken between the first and the second step: the second quantity's row gone, the
// quantities' table gone.
TEST_F(CommandFaults, ASyncStepThatThrowsIsPassedOver)
{
    const struct {
        std::function<void()> breakage;
        const char* debugFragment;
        std::string rows;
    } cases[] = {{[] {
                      Qty gone = QtiesTable().findById(2);
                      QtiesTable().remove(gone);
                  },
                  "Entity not found", Without(W2Gone, "|W-2|")},
                 {[] { ProjectDatabase::instance().execSql("DROP TABLE qties;"); }, "no such table",
                  Without(FirstStep, "qties:") + "qties: missing\n"}};
    for (const auto& c : cases) {
        StartOnSeed();
        debug.clear();
        Act("idle 1");
        actions.push_back(c.breakage);
        Act("idle 4");
        SyncAllProgressDialog dialog;
        EXPECT_EQ(dialog.Invoke(), DG::Accept) << c.debugFragment;
        EXPECT_NE(debug.find(c.debugFragment), std::string::npos) << debug;
        EXPECT_EQ(StoredRows(), c.rows) << c.debugFragment;
    }
}

TEST_F(CommandFaults, AnEstimateThatCannotBeReadAlertsAndSyncsNothing)
{
    StartOnSeed();
    ProjectDatabase::instance().execSql("DROP TABLE items;");
    SyncAllProgressDialog dialog;
    Act("answer 1");
    EXPECT_EQ(dialog.Invoke(), DG::Accept);
    ASSERT_EQ(DG::User::AlertLog().size(), 1u);
    EXPECT_TRUE(Shows(DG::User::AlertLog()[0].ToString(), AlertOk("error", "Error", "Could not read the quantities to sync.").substr(1)));
    // Nothing to sync: 0 of 0 on a bar whose maximum is 1.
    EXPECT_TRUE(Shows(Texts(dialog.GetId()), Progress(0, 0, 1)));
}

TEST_F(CommandFaults, AFailedDumpAlertsAndLeavesTheFileAsItWas)
{
    // A row whose generated column overflows when it is read makes the dump throw half-way.
    StartOnSeed();
    ProjectDatabase::instance().execSql("CREATE TABLE zz (a INTEGER); INSERT INTO zz (a) VALUES (1);"
                                        "ALTER TABLE zz ADD COLUMN b AS (abs(-9223372036854775807 - a));");
    const std::string path = TempDir() + "/kept.sql";
    WriteFile(path, "kept");
    Act("file \"" + path + "\"");
    Act("answer 1");
    DoExportSql();
    EXPECT_TRUE(actions.empty());
    ASSERT_EQ(DG::User::AlertLog().size(), 1u);
    EXPECT_TRUE(Shows(DG::User::AlertLog()[0].ToString(), CreateFailed.substr(1)));
    EXPECT_EQ(ReadFile(path), "kept");
    EXPECT_NE(debug.find("DoExportSql"), std::string::npos) << debug;
}

}  // namespace
