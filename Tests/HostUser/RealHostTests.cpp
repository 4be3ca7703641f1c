// The real calvora-host with the real add-on: scripts whose dialogs take the following lines, and
// the exit code and message of one that ends with a dialog open.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "HostUserFixture.hpp"

namespace {

struct HostRun {
    int exitCode;
    std::string output;  // standard output and error together
};

HostRun RunHost(const std::string& script)
{
    const HostUser::TempFolder folder;
    const std::string& dir = folder.path;
    {
        std::ofstream(dir + "hostuser.script") << script;
        std::ofstream(dir + "hostuser-project.json") << R"({"model": {"elements": [
            {"guid": "E0000000-0000-4000-8000-000000000001", "typeID": "Wall", "quantities": {"volume": 4.5}}]}})";
    }
    const std::string command = std::string(CALVORA_HOST_EXE) + " --script " + dir + "hostuser.script " + dir +
                                "hostuser-project.json 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buffer[4096];
    for (std::size_t n; pipe != nullptr && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    const int status = pipe != nullptr ? pclose(pipe) : -1;
    return HostRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(RealHost, ScriptsDriveTheAddOnsPalettesAndDialogs)
{
    const std::string main = "palette B64AED35-3C1E-4333-8599-3A5AF013FD47 ";
    const std::string addCategory = "click Calvora \"Add New Category\"\n";
    struct Case {
        std::string script;
        int exitCode;
        std::vector<std::string> parts;  // in this order in the output
    } cases[] = {
        // The add-on's palette answers the host's messages.
        {main + "visible\n" + main + "open\n" + main + "visible\nshow panels\n", 0,
         {"visible false\n", "(open)\n", "visible true\n", " palette 32401 \"Calvora\" visible\n"}},
        // The add-on's dialog takes the following lines; the script goes on once it is closed.
        {"menu \"Show Calvora Palette\"\n" + addCategory + "show top\nclosebox top\necho done\n", 0,
         {"dialog \"Edit Category\" is open\n", "modal \"Edit Category\"", "pressed the close box of \"Edit Category\"\n",
          "dialog \"Edit Category\" closed\n", "done\n"}},
        // The script ends with it open: the run fails, naming the line that opened it.
        {"menu \"Show Calvora Palette\"\necho\n" + addCategory + "type top CodeEdit \"C-1\"\n", 1,
         {"typed \"C-1\" into item 4 of \"Edit Category\"\n",
          "hostuser.script:3: error: the dialog \"Edit Category\" was still open when the script ended"}},
        // A line it took fails: the run stops there.
        {"menu \"Show Calvora Palette\"\n" + addCategory + "click Calvora \"Add New Item\"\necho never\n", 1,
         {"hostuser.script:3: error: "}},
    };
    for (const Case& c : cases) {
        const HostRun run = RunHost(c.script);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.script << run.output;
        std::size_t at = 0;
        for (const std::string& part : c.parts) {
            const std::size_t found = run.output.find(part, at);
            EXPECT_NE(found, std::string::npos) << part << "\nin\n" << run.output;
            at = found == std::string::npos ? at : found + part.size();
        }
        EXPECT_EQ(run.output.find("never"), std::string::npos);
    }
}

}  // namespace
