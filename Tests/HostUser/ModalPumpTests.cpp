// A modal dialog, alert or file dialog opened by a command takes the following lines of the same
// script or prompt; a script that ends (or quits) while one is open fails naming the line that opened it.
#include <fstream>

#include "HostUserFixture.hpp"

namespace HostUser {
namespace {

TEST_F(HostUserTest, ModalsTakeTheFollowingLines)
{
    const std::string open = "click \"Test Palette\" Dialog...\n";
    const std::string alert = "click \"Test Palette\" Alert...\n";
    const TempFolder folder;
    const std::string chosen = folder.path + "chosen.txt";
    std::ofstream(chosen) << "x";
    const std::string file = "click \"Test Palette\" File...\n";
    const std::string nested = "alert error \"Nested\": \"Inner\" / \"\" [\"OK\"]\n";
    const std::string closed = "dialog 2 \"\"";  // what the test's code got from a dialog the library closed
    struct Case {
        std::string script;
        bool interactive, ok;
        std::string errors;  // exact; "*" and a text: contains the text
        std::string events;
        int abandoned;
        std::vector<std::string> outParts;  // in this order in the output
    } cases[] = {
        {open + "type \"Test Dialog\" NameEdit \"abc\"\nclick \"Test Dialog\" OK\necho after\n", false, true, "",
         "dialog 1 \"abc\"", 0,
         {"clicked item 1 of \"Test Palette\"\ndialog \"Test Dialog\" is open\ntyped \"abc\" into item 3 of \"Test Dialog\"\n"
          "clicked item 1 of \"Test Dialog\"\ndialog \"Test Dialog\" closed\nafter\n"}},
        // While the dialog is open it is listed on top and "top" describes it; while its alert is open, the alert.
        {open + "show panels\nshow top\nclick top Nested\nshow top\nanswer OK\nclick top OK\n", false, true, "",
         "nested alert 1 | dialog 1 \"\"", 0,
         {"modal 30200 \"Test Dialog\" visible (top)\n", "modal \"Test Dialog\"", "4 button", nested, nested, "answered the alert"}},
        {open + "closebox top\n", false, true, "", closed, 0, {"pressed the close box of \"Test Dialog\""}},
        {open + "click top OK\n" + open + "click 30200 Cancel\n", false, true, "", "dialog 1 \"\" | " + closed, 0, {}},
        {alert + "answer \"No\"\n", false, true, "", "alert 2", 0, {"answered the alert with \"No\""}},
        {alert + "answer 1\n", false, true, "", "alert 1", 0, {"answered the alert with button 1"}},
        {file + "file " + chosen + "\n", false, true, "", "file " + chosen, 0, {"chose file " + chosen}},
        {file + "file cancel\n", false, true, "", "file cancelled", 0, {}},
        // The script ends, or quits, with something open: the line that opened it is named.
        {open + "type \"Test Dialog\" NameEdit \"x\"\n", false, false,
         "test.script:1: error: the dialog \"Test Dialog\" was still open when the script ended\n", "dialog 2 \"x\"", 1, {}},
        {"echo start\n" + alert, false, false, "test.script:2: error: the alert was still open when the script ended\n",
         "alert 1", 1, {}},
        {open + "click \"Test Dialog\" Nested\n", false, false,
         "test.script:2: error: the alert was still open when the script ended\n", "nested alert 1 | " + closed, 2, {}},
        {open + "quit\necho never\n", false, false,
         "test.script:1: error: the dialog \"Test Dialog\" was still open when the script quit\n", closed, 1, {}},
        // A line the modal took fails: the script stops there, and the library closes the modal.
        {open + alert + "echo never\n", false, false, "*test.script:2: error: ", closed, 1, {}},
        {open + "select none\n", false, false,
         "test.script:2: error: 'select' waits until the dialog \"Test Dialog\" is closed\n", closed, 1, {}},
        {open + "menu 1 1\n", false, false, "*'menu' waits until", closed, 1, {}},
        {open + "frobnicate\n", false, false, "test.script:2: error: unknown command 'frobnicate' (try 'help')\n",
         closed, 1, {}},
        // At a prompt a bad line is only reported; the dialog goes on taking lines.
        {open + alert + "click \"Test Dialog\" OK\n", true, true, "*error: ", "dialog 1 \"\"", 0, {"[Test Dialog] > "}},
        {open, true, true, "error: the dialog \"Test Dialog\" was still open when the input ended\n", closed, 1, {}},
    };
    for (const Case& c : cases) {
        DG::User::ResetLogs();
        const Result r = RunScript(c.script, c.interactive);
        EXPECT_EQ(r.ok, c.ok) << c.script << r.errors;
        if (c.errors.rfind('*', 0) == 0) {
            EXPECT_NE(r.errors.find(c.errors.substr(1)), std::string::npos) << c.script << r.errors;
        } else {
            EXPECT_EQ(r.errors, c.errors) << c.script;
        }
        EXPECT_EQ(TakeEvents(), c.events) << c.script;
        EXPECT_EQ(DG::User::AbandonedModals(), c.abandoned) << c.script;
        std::size_t at = 0;
        for (const std::string& part : c.outParts) {
            at = r.out.find(part, at == std::string::npos ? 0 : at);
            EXPECT_NE(at, std::string::npos) << c.script << part << "\nin\n" << r.out;
        }
        EXPECT_EQ(r.out.find("never"), std::string::npos) << c.script;
        EXPECT_EQ(DG::User::TopModal(), 0) << c.script;
        EXPECT_FALSE(DG::User::AlertOpen()) << c.script;
    }
}

}  // namespace
}  // namespace HostUser
