// The host's dialog and palette commands, one line at a time: what each prints (or its error) and
// the observer events the test's palette, or a palette callback, received.
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "HostUserFixture.hpp"

namespace HostUser {
namespace {

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at; (at = text.find(from)) != std::string::npos;)
        text.replace(at, from.size(), to);
    return text;
}

// The host's palette messages reach the callback registered under the reference id.
bool paletteVisible = false;
GSErrCode OnPaletteMessage(GS::Int32 refId, API_PaletteMessageID message, GS::Int64 param)
{
    Log(std::to_string(refId) + " message " + std::to_string(message));
    paletteVisible = message == APIPalMsg_OpenPalette || (paletteVisible && message != APIPalMsg_ClosePalette);
    if (message == APIPalMsg_IsPaletteVisible)
        *reinterpret_cast<bool*>(param) = paletteVisible;
    return NoError;
}

TEST_F(HostUserTest, CommandTable)
{
    const char* guid = "B0000000-0000-4000-8000-000000000001";
    const API_Guid apiGuid = GSGuid2APIGuid(GS::Guid(guid));
    ASSERT_EQ(Entry<HostRegisterPaletteFn>(host, Slot_RegisterPalette)(-17, &OnPaletteMessage, 0x3F7, &apiGuid), NoError);
    const TempFolder folder;
    const std::string dir = folder.path.substr(0, folder.path.size() - 1);
    const std::string P = "\"Test Palette\"";
    struct Case {
        std::string line;
        std::string output;  // the exact output ("*" first: a part of it); for an error, a part of the message
        std::string events;
        bool ok = true;
    } cases[] = {
        // Panels are found by title, resource id and panel id; items by name, number, text and tooltip.
        // With no line to follow, an alert a command opens is left open: the library answers it, the line fails.
        {"click \"Test Palette\" 2", "the alert was left open: no further command came to take it", "alert 1", false},
        {"click 30100 \"Ask a question\"", "the alert was left open", "alert 1", false},
        {"focus {ID} Flag", "focused item 6 of " + P + "\n", ""},
        {"select-rows \"Test Palette\" RowsList 1 3", "selected row(s) 1 3 of item 4 of " + P + "\n", "rows 1,3"},
        {"select-rows \"Test Palette\" 4 none", "selected no rows of item 4 of " + P + "\n", "rows -"},
        {"double-click \"Test Palette\" 4 2", "double-clicked row 2 of item 4 of " + P + "\n", "rows 2 | double-click 2"},
        {"drag-row \"Test Palette\" RowsList 1 3", "dragged row 1 to 3 of item 4 of " + P + "\n",
         "dragged 1->3 Row B,Row C,Row A"},
        {"drag-splitter \"Test Palette\" Splitter 150", "dragged item 5 of " + P + " to x 150\n", "splitter 150"},
        {"resize \"Test Palette\" 50 20", "resized " + P + " by 50, 20\n", "resized 50 20"},
        {"resize-header \"Test Palette\" RowsList 1 -30", "resized header item 1 of item 4 of " + P + " by -30\n",
         "header 1 -30"},
        // The edit's limit of 5 holds for what the user types.
        {"type \"Test Palette\" ShortEdit \"abcdefgh\"", "typed \"abcdefgh\" into item 8 of " + P + "\n", "text abcde"},
        {"focus \"Test Palette\" 8", "focused item 8 of " + P + "\n", ""},
        {"check \"Test Palette\" Flag on", "checked item 6 of " + P + "\n", "flag on"},
        {"check \"Test Palette\" FlagCheck off", "unchecked item 6 of " + P + "\n", "flag off"},
        {"choose \"Test Palette\" ChoicePopUp 2", "chose entry 2 of item 7 of " + P + "\n", "popup Two (was 0)"},
        {"choose \"Test Palette\" 7 \"Three\"", "chose \"Three\" of item 7 of " + P + "\n", "popup Three (was 2)"},
        {"choose \"Test Palette\" ActionMenu Beep", "chose \"Beep\" of item 9 of " + P + "\n", "menu Beep"},
        {"show beeps", "beeps: 1\n", ""},
        {"key \"Test Palette\" cmd+D", "pressed cmd+D in " + P + "\n", "hotkey cmd+D"},
        {"key \"Test Palette\" delete", "pressed delete in " + P + "\n", "hotkey delete"},
        {"tick 3", "3 tick(s); 1 timer(s) running\n", "tick 7 | tick 7 | tick 7"},
        {"tick", "1 tick(s); 1 timer(s) running\n", "tick 7"},
        {"idle 2", "2 idle event(s)\n", "idle | idle"},
        {"svg \"Test Palette\" {DIR}/p.svg", "wrote {DIR}/p.svg (" + P + ")\n", ""},
        {"show alerts", "*Question", ""},
        {"show files", "no file dialogs\n", ""},
        {"echo \"a\\nb\\t\\\"c\\\\\" d", "a\nb\t\"c\\ d\n", ""},
        {"closebox \"Test Palette\"", "pressed the close box of " + P + "\n" + P + " closed\n", ""},
        // Refusals: the runner's own, and the library's for what cannot be done.
        {"click \"No Such Palette\" 1", "no open panel 'No Such Palette' (see 'show panels')", "", false},
        {"click \"Test Palette\" 99", P + " has no item '99'", "", false},
        {"click \"Test Palette\" Missing", P + " has no item 'Missing'", "", false},
        // A wrong number of arguments is refused with the command's usage.
        {"drag-row \"Test Palette\" 4 1", "usage: drag-row PANEL ITEM FROM TO", "", false},
        {"select-rows \"Test Palette\" 4", "usage: select-rows PANEL ITEM ROW... | select-rows PANEL ITEM none", "",
         false},
        {"save a b", "save takes at most one file", "", false},
        {"double-click \"Test Palette\" 4 x", "'x' is not a row number", "", false},
        {"check \"Test Palette\" 6 maybe", "check takes on or off", "", false},
        {"key \"Test Palette\" hyper+D", "'hyper+D' is not a key", "", false},
        {"tick 0", "tick takes an optional count from 1 to 1000000", "", false},
        {"show top", "no modal dialog is open", "", false},
        {"show nothing", "show takes one of", "", false},
        {"answer 1", "", "", false},
        {"file /tmp/x", "", "", false},
        {"frobnicate", "unknown command 'frobnicate' (try 'help')", "", false},
        {"fail HostGetElemnt", "unknown operation 'HostGetElemnt'; the known operations are HostGetModuleData, ", "",
         false},
        {"fail HostGetElement E0000000-0000-4000-8000-000000000001", "", ""},
        {"unfail", "", ""},
        {"show palettes", "palette -17 guid " + std::string(guid) + " flags 0x3F7\n", ""},
        {"palette -17 7", "visible false\n", "-17 message 7"},
        {"palette -17 open", "palette -17: message 6 (open)\n", "-17 message 6"},
        {"palette " + std::string(guid) + " visible", "visible true\n", "-17 message 7"},
        {"palette -17 2", "palette -17: message 2 (hide-begin)\n", "-17 message 2"},
        {"palette -17 close", "palette -17: message 1 (close)\n", "-17 message 1"},
        {"palette -17 visible", "visible false\n", "-17 message 7"},
        {"palette -17 8", "a palette message is a number from 1 to 7", "", false},
        {"palette 5 open", "no palette is registered with reference id 5", "", false},
        {"palette E0000000-0000-4000-8000-0000000000FF open",
         "no palette is registered as 'E0000000-0000-4000-8000-0000000000FF'", "", false},
    };
    std::ostringstream out;
    Host::ScriptRunner runner(host, out);
    for (const Case& c : cases) {
        ExpectLine(runner, out, Replace(Replace(c.line, "{DIR}", dir), "{ID}", std::to_string(palette->GetId())), c.ok,
                   Replace(c.output, "{DIR}", dir));
        EXPECT_EQ(TakeEvents(), c.events) << c.line;
    }
    EXPECT_EQ(palette->GetFocusedItem(), 8);
    EXPECT_FALSE(palette->IsVisible());
    std::ifstream svg(dir + "/p.svg");
    const std::string picture((std::istreambuf_iterator<char>(svg)), std::istreambuf_iterator<char>());
    EXPECT_NE(picture.find("<svg"), std::string::npos);
    EXPECT_NE(picture.find("Dialog..."), std::string::npos);
}

}  // namespace
}  // namespace HostUser
