// The real calvora-host with the real add-on: a script whose dialog takes the following lines, and
// the exit code and message when it ends with that dialog open. (A run to its end is the sample
// scripts' test; modals taking lines are the in-process tests'.)
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "HostUserFixture.hpp"

namespace {

TEST(RealHost, AScriptEndingWithTheAddOnsDialogOpenFailsNamingTheLineThatOpenedIt)
{
    const HostUser::TempFolder folder;
    std::ofstream(folder.path + "hostuser.script")
        << "menu \"Show Calvora Palette\"\necho\nclick Calvora \"Add New Category\"\nshow top\ntype top CodeEdit \"C-1\"\n";
    FILE* pipe = popen((std::string(CALVORA_HOST_EXE) + " --script " + folder.path + "hostuser.script 2>&1").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    const int status = pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status << "\n" << output;
    std::size_t at = 0;
    for (const std::string part :
         {"dialog \"Edit Category\" is open\n", "modal \"Edit Category\"", "typed \"C-1\" into item 4 of \"Edit Category\"\n",
          "hostuser.script:3: error: the dialog \"Edit Category\" was still open when the script ended"}) {
        const std::size_t found = output.find(part, at);
        EXPECT_NE(found, std::string::npos) << part << "\nin\n" << output;
        at = found == std::string::npos ? at : found + part.size();
    }
}

}  // namespace
