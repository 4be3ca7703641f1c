// The sample script of the project-wide commands runs to its end in the stand-in host.
#include <gtest/gtest.h>

#include <cstdlib>

#include "CommandsTestSupport.hpp"

namespace Commands {
namespace {

TEST(SampleScripts, ProjectCommandsRunEveryMenuCommandAgainstTheFilesTheyWrite)
{
    const std::string out = TempDir("sample") + "/out.txt";
    const std::string command = std::string("cd '" CALVORA_SAMPLES_DIR "' && '" CALVORA_HOST_EXE
                                            "' --script project-commands.script > '") + out + "' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadFile(out);
    const std::string text = ReadFile(out);
    EXPECT_NE(text.find("\"Syncing 2 / 14 quantities...\""), std::string::npos) << text;
    EXPECT_EQ(LinesWith(text, " -> "),
              "alert information \"Success\": \"Excel file exported successfully!\" / \"\" [\"OK\"] -> 1\n"
              "alert information \"Success\": \"SQL file imported successfully!\" / \"\" [\"OK\"] -> 1\n"
              "alert warning \"Import Excel\": \"This will replace ALL current data with the contents of the Excel "
              "file.\\nAre you sure?\" / \"\" [\"Cancel\", \"Import\"] -> 2\n"
              "alert information \"Success\": \"Excel file imported successfully!\" / \"\" [\"OK\"] -> 1\n"
              "file dialog save \"Export to SQL\" [SQL files (*.sql)] -> \"/tmp/calvora-sample.sql\"\n"
              "file dialog save \"Export to XLSX\" [XLSX files (*.xlsx)] -> \"/tmp/calvora-sample.xlsx\"\n"
              "file dialog open \"Import from SQL\" [SQL files (*.sql)] -> \"/tmp/calvora-sample.sql\"\n"
              "file dialog open \"Import from Excel\" [Excel files (*.xlsx)] -> \"/tmp/calvora-sample.xlsx\"\n");
}

}  // namespace
}  // namespace Commands
