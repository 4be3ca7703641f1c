// The host's user side: its commands one line at a time (what each prints, or its error, and the
// events a palette and dialog of the test's own, or a palette callback, receive), dialogs, alerts
// and file dialogs taking the lines that follow, changes to the model, and the real calvora-host's
// exit code.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "DG/DGItems.hpp"
#include "DG/DGUser.hpp"
#include "DG/DGUtility.hpp"
#include "Host/Model.hpp"
#include "Host/Script.hpp"
#include "Host/StandInHost.hpp"
#include "TempFolder.hpp"

namespace {

std::string events;  // since the last TakeEvents, joined by " | "
void Log(const std::string& text) { events += (events.empty() ? "" : " | ") + text; }
std::string TakeEvents() { return std::exchange(events, ""); }

// Whether the parts are found in this order in the text.
::testing::AssertionResult InOrder(const std::string& text, const std::vector<std::string>& parts)
{
    std::size_t at = 0;
    for (const std::string& part : parts) {
        if ((at = text.find(part, at)) == std::string::npos)
            return ::testing::AssertionFailure() << "missing (in this order): " << part << "\nin\n" << text;
        at += part.size();
    }
    return ::testing::AssertionSuccess();
}

constexpr const char* kModule = R"({"strings": {}, "dialogs": {
  "30100": {"kind": "palette", "title": "Test Palette", "width": 300, "height": 220, "grow": true, "items": [
    {"kind": "button", "rect": [5, 5, 80, 20], "text": "Dialog..."},
    {"kind": "button", "rect": [90, 5, 80, 20], "text": "Alert...", "tooltip": "Ask a question"},
    {"kind": "button", "rect": [175, 5, 80, 20], "text": "File..."},
    {"name": "RowsList", "kind": "multilist", "rect": [5, 30, 200, 100]},
    {"name": "Splitter", "kind": "splitter", "rect": [210, 30, 4, 100]},
    {"name": "FlagCheck", "kind": "checkbox", "rect": [5, 140, 100, 18], "text": "Flag"},
    {"name": "ChoicePopUp", "kind": "popup", "rect": [110, 140, 100, 18]},
    {"name": "ShortEdit", "kind": "textedit", "rect": [5, 165, 100, 18], "limit": 5},
    {"name": "ActionMenu", "kind": "popupmenu", "rect": [110, 165, 30, 18]}
  ]},
  "30200": {"kind": "modal", "title": "Test Dialog", "width": 200, "height": 100, "items": [
    {"name": "OkButton", "kind": "button", "rect": [10, 70, 60, 20], "text": "OK"},
    {"name": "CancelButton", "kind": "button", "rect": [80, 70, 60, 20], "text": "Cancel"},
    {"name": "NameEdit", "kind": "textedit", "rect": [10, 10, 150, 18]},
    {"name": "NestedButton", "kind": "button", "rect": [10, 40, 60, 20], "text": "Nested"}
  ]}
}})";

// OK and Cancel close it; Nested opens an alert over it.
class TestDialog : public DG::ModalDialog, public DG::ButtonItemObserver {
public:
    explicit TestDialog(GSResModule module) : DG::ModalDialog(module, 30200, module)
    {
        for (DG::Button* b : {&ok, &cancel, &nested})
            b->Attach(*this);
    }
    void ButtonClicked(const DG::ButtonClickEvent& ev) override
    {
        if (ev.GetSource() == &ok)
            PostCloseRequest(DG::Accept);
        else if (ev.GetSource() == &cancel)
            PostCloseRequest(DG::Cancel);
        else
            Log("nested alert " + std::to_string(DGAlert(DG::DG_ERROR, "Nested", "Inner", "", "OK")));
    }

    DG::Button ok{*this, 1}, cancel{*this, 2}, nested{*this, 4};
    DG::TextEdit edit{*this, 3};
};

class TestPalette : public DG::Palette,
                    public DG::PanelObserver,
                    public DG::ButtonItemObserver,
                    public DG::ListBoxObserver,
                    public DG::CheckItemObserver,
                    public DG::PopUpObserver,
                    public DG::TextEditBaseObserver,
                    public DG::SplitterObserver,
                    public DG::UserControlObserver {
public:
    explicit TestPalette(GSResModule module) : DG::Palette(module, 30100, module), module(module)
    {
        Attach(static_cast<DG::PanelObserver&>(*this));
        for (DG::Item* item :
             std::initializer_list<DG::Item*>{&dialog, &alert, &file, &list, &splitter, &flag, &popup, &edit, &menu})
            item->Attach(*this);
        list.SetTabFieldCount(1);
        list.SetHeaderItemSizeableFlag(1, true);
        list.EnableMouseMoveEvent();
        for (int row = 1; row <= 3; ++row)
            list.AppendItem();
        for (const char* entry : {"One", "Two", "Three"}) {
            popup.AppendItem();
            popup.SetItemText(popup.GetItemCount(), entry);
        }
        menu.AppendItem("Add");
        menu.AppendItem("Beep");
        splitter.EnableDrag();
        commandD = RegisterHotKey('D', DG::Key::Command);
        deleteKey = RegisterHotKey(DG::Key::Delete);
        EnableIdleEvent();
        SetTimer(this, 7, 100, &Tick);
        Show();
    }
    ~TestPalette() override { KillTimer(this, 7); }  // observers detach themselves

    static std::string N(long n) { return std::to_string(n); }
    static void Tick(void*, UInt32, std::uintptr_t id, UInt32) { Log("tick " + N(id)); }

    void PanelCloseRequested(const DG::PanelCloseRequestEvent&, bool* accepted) override
    {
        Hide();
        *accepted = true;
    }
    void PanelResized(const DG::PanelResizeEvent& ev) override
    {
        Log("resized " + N(ev.GetHorizontalChange()) + " " + N(ev.GetVerticalChange()));
    }
    void PanelHotkeyPressed(const DG::PanelHotKeyEvent& ev, bool* processed) override
    {
        Log(ev.GetKeyId() == commandD ? "hotkey cmd+D" : ev.GetKeyId() == deleteKey ? "hotkey delete" : "hotkey ?");
        *processed = true;
    }
    void PanelIdle(const DG::PanelIdleEvent&) override { Log("idle"); }
    void ButtonClicked(const DG::ButtonClickEvent& ev) override
    {
        if (ev.GetSource() == &dialog) {
            TestDialog d(module);
            const DG::ModalResponse response = d.Invoke();
            Log("dialog " + N(response) + " \"" + d.edit.GetText().ToUtf8() + "\"");
        } else if (ev.GetSource() == &alert) {
            Log("alert " + N(DGAlert(DG::DG_WARNING, "Question", "Go on?", "", "Yes", "No")));
        } else if (ev.GetSource() == &file) {
            DG::FileDialog d(DG::FileDialog::OpenFile);
            d.SetTitle("Pick");
            Log("file " + (d.Invoke() ? d.GetSelectedFile().ToDisplayText().ToUtf8() : std::string("cancelled")));
        }
    }
    void ListBoxSelectionChanged(const DG::ListBoxSelectionEvent&) override
    {
        std::string rows;
        for (Int16 r : list.GetSelectedItems())
            rows += (rows.empty() ? "" : ",") + N(r);
        Log("rows " + (rows.empty() ? "-" : rows));
    }
    void ListBoxDoubleClicked(const DG::ListBoxDoubleClickEvent& e) override { Log("double-click " + N(e.GetListItem())); }
    void ListBoxMouseMoved(const DG::ListBoxMouseMoveEvent&, Int16* inArea) override { *inArea = 1; }
    void ListBoxItemDragged(const DG::ListBoxDragEvent& ev) override
    {
        Log("dragged " + N(ev.GetPreviousIndex()) + "->" + N(ev.GetNewIndex()));
    }
    Int16 ListBoxHeaderItemResized(const DG::ListBoxHeaderItemResizeEvent& ev) override
    {
        Log("header " + N(ev.GetHeaderItem()) + " " + N(ev.GetResizeDifference()));
        return 0;
    }
    void CheckItemChanged(const DG::CheckItemChangeEvent&) override { Log(flag.IsChecked() ? "flag on" : "flag off"); }
    void PopUpChanged(const DG::PopUpChangeEvent& e) override
    {
        Log("popup " + popup.GetItemText(popup.GetSelectedItem()).ToUtf8() + " (was " + N(e.GetPreviousSelection()) + ")");
    }
    void TextEditChanged(const DG::TextEditChangeEvent&) override { Log("text " + edit.GetText().ToUtf8()); }
    void SplitterDragged(const DG::SplitterDragEvent& ev) override { Log("splitter " + N(ev.GetPosition())); }
    void UserControlChanged(const DG::UserControlChangeEvent&) override
    {
        const std::string text = menu.GetItemText(menu.GetValue()).ToUtf8();
        if (text == "Beep")
            GSSysBeep();
        Log("menu " + text);
    }

    GSResModule module;
    Int16 commandD = 0, deleteKey = 0;
    DG::Button dialog{*this, 1}, alert{*this, 2}, file{*this, 3};
    DG::MultiSelListBox list{*this, 4};
    DG::Splitter splitter{*this, 5};
    DG::CheckBox flag{*this, 6};
    DG::PopUp popup{*this, 7};
    DG::TextEdit edit{*this, 8};
    DG::PopUpMenuButton menu{*this, 9};
};

GSErrCode OnSelection(const API_Neig* neig)
{
    Log("selection " + (neig->guid == APINULLGuid ? std::string("none") : APIGuid2GSGuid(neig->guid).ToString()));
    return NoError;
}

Host::Json FixtureModel()
{
    std::ifstream in(HOSTMODEL_FIXTURE);
    return Host::Json::parse(in);
}

// A host on the fixture model that tells of selection changes, the test's module and palette, and a
// runner writing into a string.
class HostUserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DG::User::ResetLogs();
        host.SetProject(FixtureModel());
        Entry<HostCatchSelectionChangeFn>(Slot_CatchSelectionChange)(&OnSelection);
        module = RSOpenModuleFromData(kModule, std::char_traits<char>::length(kModule));
        ASSERT_NE(module, InvalidResModule);
        palette = std::make_unique<TestPalette>(module);
        ASSERT_NE(palette->GetId(), 0);
        events.clear();
    }
    void TearDown() override
    {
        palette.reset();
        RSCloseModule(module);
    }

    // The host's operation in the table the add-on is handed.
    template <typename Fn>
    Fn Entry(ApiSlot slot)
    {
        return reinterpret_cast<Fn>(static_cast<const API_FunctionTable*>(host.Table())->entries[slot]);
    }
    // Runs one line: it succeeds printing exactly the output given ("*" first: among other lines), or
    // fails with an error that holds it.
    void ExpectLine(const std::string& line, bool ok, const std::string& output)
    {
        out.str("");
        std::string error;
        EXPECT_EQ(runner.RunLine(line, &error), ok) << line << ": " << error;
        EXPECT_EQ(error.empty(), ok) << line;
        const std::string got = ok ? out.str() : error;
        const bool part = !ok || output.rfind('*', 0) == 0;
        EXPECT_TRUE(part ? got.find(output.substr(ok ? 1 : 0)) != std::string::npos : got == output) << line << ": " << got;
    }
    // The stored value at a path below the element ("-" when absent, "gone" without the element).
    std::string Stored(const std::string& guid, const std::string& path)
    {
        const Host::Json* element = Host::FindElement(host.Model(), GS::Guid(guid.c_str()));
        if (element == nullptr)
            return "gone";
        const Host::Json::json_pointer pointer(path);
        return element->contains(pointer) ? element->at(pointer).dump() : "-";
    }

    Host::StandInHost host;
    std::ostringstream out;
    Host::ScriptRunner runner{host, out};
    GSResModule module = InvalidResModule;
    std::unique_ptr<TestPalette> palette;
};

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
    ASSERT_EQ(Entry<HostRegisterPaletteFn>(Slot_RegisterPalette)(-17, &OnPaletteMessage, 0x3F7, &apiGuid), NoError);
    const TempFolder folder;
    const std::string svg = folder / "p.svg", P = "\"Test Palette\"";
    struct Case {
        std::string line;
        std::string output;  // the exact output ("*" first: a part of it); for an error, a part of the message
        std::string events;
        bool ok = true;
    } cases[] = {
        // Panels are found by title, resource id and panel id; items by name, number, text and tooltip.
        // With no line to follow, an alert a command opens is left open: the library answers it, the line fails.
        {"click 30100 \"Ask a question\"", "the alert was left open: no further command came to take it", "alert 1", false},
        {"focus " + std::to_string(palette->GetId()) + " Flag", "focused item 6 of " + P + "\n", ""},
        {"select-rows \"Test Palette\" RowsList 1 3", "selected row(s) 1 3 of item 4 of " + P + "\n", "rows 1,3"},
        {"select-rows \"Test Palette\" 4 none", "selected no rows of item 4 of " + P + "\n", "rows -"},
        {"double-click \"Test Palette\" 4 2", "double-clicked row 2 of item 4 of " + P + "\n", "rows 2 | double-click 2"},
        {"drag-row \"Test Palette\" RowsList 1 3", "dragged row 1 to 3 of item 4 of " + P + "\n", "dragged 1->3"},
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
        {"svg \"Test Palette\" " + svg, "wrote " + svg + " (" + P + ")\n", ""},
        {"show alerts", "*Question", ""},
        {"show files", "no file dialogs\n", ""},
        {"echo \"a\\nb\\t\\\"c\\\\\" d", "a\nb\t\"c\\ d\n", ""},
        {"closebox \"Test Palette\"", "pressed the close box of " + P + "\n" + P + " closed\n", ""},
        // Refusals: the runner's own, and the library's for what cannot be done.
        {"click \"No Such Palette\" 1", "no open panel 'No Such Palette' (see 'show panels')", "", false},
        {"click \"Test Palette\" Missing", P + " has no item 'Missing'", "", false},
        // A wrong number of arguments is refused with the command's usage.
        {"drag-row \"Test Palette\" 4 1", "usage: drag-row PANEL ITEM FROM TO", "", false},
        {"save a b", "save takes at most one file", "", false},
        {"double-click \"Test Palette\" 4 x", "'x' is not a row number", "", false},
        {"check \"Test Palette\" 6 maybe", "check takes on or off", "", false},
        {"key \"Test Palette\" hyper+D", "'hyper+D' is not a key", "", false},
        {"tick 0", "tick takes an optional count from 1 to 1000000", "", false},
        {"show top", "no modal dialog is open", "", false},
        {"show nothing", "show takes one of", "", false},
        {"answer 1", "", "", false},
        {"file x.txt", "", "", false},
        {"frobnicate", "unknown command 'frobnicate' (try 'help')", "", false},
        {"fail HostGetElemnt", "unknown operation 'HostGetElemnt'; the known operations are HostGetModuleData, ", "", false},
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
    for (const Case& c : cases) {
        ExpectLine(c.line, c.ok, c.output);
        EXPECT_EQ(TakeEvents(), c.events) << c.line;
    }
    EXPECT_EQ(palette->GetFocusedItem(), 8);
    EXPECT_FALSE(palette->IsVisible());
    std::ifstream in(svg);
    const std::string picture((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(picture.find("<svg"), std::string::npos);
    EXPECT_NE(picture.find("Dialog..."), std::string::npos);
}

TEST_F(HostUserTest, ModalsTakeTheFollowingLines)
{
    const std::string open = "click \"Test Palette\" Dialog...\n", alert = "click \"Test Palette\" Alert...\n",
                      file = "click \"Test Palette\" File...\n";
    const TempFolder folder;
    const std::string chosen = folder / "chosen.txt";
    std::ofstream(chosen) << "x";
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
        {open + "frobnicate\n", false, false, "test.script:2: error: unknown command 'frobnicate' (try 'help')\n",
         closed, 1, {}},
        // At a prompt a bad line is only reported; the dialog goes on taking lines.
        {open + alert + "click \"Test Dialog\" OK\n", true, true, "*error: ", "dialog 1 \"\"", 0, {"[Test Dialog] > "}},
        {open, true, true, "error: the dialog \"Test Dialog\" was still open when the input ended\n", closed, 1, {}},
    };
    for (const Case& c : cases) {
        DG::User::ResetLogs();
        // A fresh runner for each script (or prompt input): its lines are numbered from 1.
        std::ostringstream printed, errors;
        Host::ScriptRunner script(host, printed);
        script.SetErrorStream(errors);
        std::istringstream in(c.script);
        EXPECT_EQ(script.RunStream(in, "test.script", c.interactive), c.ok) << c.script << errors.str();
        const bool part = c.errors.rfind('*', 0) == 0;
        EXPECT_TRUE(part ? errors.str().find(c.errors.substr(1)) != std::string::npos : errors.str() == c.errors)
            << c.script << errors.str();
        EXPECT_EQ(TakeEvents(), c.events) << c.script;
        EXPECT_EQ(DG::User::AbandonedModals(), c.abandoned) << c.script;
        EXPECT_TRUE(InOrder(printed.str(), c.outParts)) << c.script;
        EXPECT_EQ(printed.str().find("never"), std::string::npos) << c.script;
        EXPECT_EQ(DG::User::TopModal(), 0) << c.script;
        EXPECT_FALSE(DG::User::AlertOpen()) << c.script;
    }
}

#define E(n) "E0000000-0000-4000-8000-0000000000" #n
const std::string Wall = E(01), CompositeWall = E(02), Column = E(11), Window = E(31), Door = E(32);
const std::string Line = E(91), Section = E(B1), Stair = E(E1), Missing = E(FF);
#undef E

TEST_F(HostUserTest, ModelFiguresChangeAndWrongChangesAreRefused)
{
    struct Case {
        std::string guid, change;   // "element GUID set CHANGE"
        bool ok;
        std::string outputOrError;  // for a change, what follows "element GUID: "; else a part of the error
        std::string path, stored;
    } cases[] = {
        {Wall, "volume 12.5", true, "volume = 12.5\n", "/quantities/volume", "12.5"},
        {Wall, "quantities.area 2", true, "quantities.area = 2\n", "/quantities/area", "2"},
        {Wall, "height 3.25", true, "height = 3.25\n", "/height", "3.25"},
        {Wall, "id \"W-9\"", true, "id = \"W-9\"\n", "/id", "\"W-9\""},
        {Wall, "volume null", true, "volume = null\n", "/quantities/volume", "-"},
        {CompositeWall, "skins.3.area 9", true, "skins.3.area = 9\n", "/skins/2/area", "9"},
        {Column, "height 4", true, "height = 4\n", "/quantities/height", "4"},
        {Column, ".height 5", true, ".height = 5\n", "/height", "5"},
        {Door, "sillHeight 0.8", true, "sillHeight = 0.8\n", "/quantities/sillHeight", "0.8"},
        {Stair, "numOfRisers 18", true, "numOfRisers = 18\n", "/quantities/numOfRisers", "18"},
        // Refused, and the element stays as it was.
        {Stair, "numOfRisers 17.5", false, "numOfRisers takes a whole number", "/quantities/numOfRisers", "18"},
        {Wall, "quantities.bogus 1", false, "a Wall has no quantity 'bogus'", "/quantities/bogus", "-"},
        {Wall, "area \"much\"", false, "a quantity takes a number", "/quantities/area", "2"},
        {Line, "quantities.volume 1", false, "a Line has no quantities", "/quantities", "-"},
        {Line, "volume 1", false, "unknown key \"volume\"", "/volume", "-"},
        {Wall, "buildingMaterial 99", false, "\"buildingMaterial\" names no attribute 99", "/buildingMaterial", "1"},
        {Wall, "height \"tall\"", false, "\"height\" is not a number", "/height", "3.25"},
        {CompositeWall, "skins.9.area 1", false, "\"skins\" has no entry 9 (it has 3)", "/skins/2/area", "9"},
        {Wall, "guid " + Missing, false, "the guid and the type of an element cannot be changed", "/guid",
         "\"" + Wall + "\""},
        {Wall, "typeID Slab", false, "cannot be changed", "/typeID", "\"Wall\""},
        {Missing, "volume 1", false, "no element " + Missing, "", "gone"},
        {Wall, "volume", false, "element takes a guid and 'set FIELD VALUE' or 'delete'", "/quantities/volume", "-"},
    };
    for (const Case& c : cases) {
        ExpectLine("element " + c.guid + " set " + c.change, c.ok, (c.ok ? "element " + c.guid + ": " : "") + c.outputOrError);
        EXPECT_EQ(Stored(c.guid, c.path), c.stored) << c.change;
    }
    ExpectLine("element nope delete", false, "element takes a guid");
    EXPECT_EQ(TakeEvents(), "");  // figures change without telling the add-on
    EXPECT_TRUE(Host::CheckModel(host.Model()).empty());
}

TEST_F(HostUserTest, DeletingAnElementRemovesItsDependentsAndTheSelectionFollows)
{
    const struct {
        std::string selected, deleted, output, events;  // events: what the add-on heard after the selection was made
        std::vector<std::string> gone, kept;
    } cases[] = {
        // A wall takes its window; the selection keeps the rest, and the add-on hears of it.
        {Window + " " + Door, Wall,
         "deleted element " + Wall + " with " + Window + "\nselection: 1 element(s)\n  " + Door + " type 5\n",
         "selection " + Door, {Wall, Window}, {Door, CompositeWall}},
        // A composite wall takes its section element; nothing selected changes, so nobody is told.
        {Door, CompositeWall, "deleted element " + CompositeWall + " with " + Section + "\n", "", {CompositeWall, Section},
         {Door, Wall, Window}},
        {Line, Line, "deleted element " + Line + "\nselection: 0 element(s)\n", "selection none", {Line}, {Wall}},
    };
    for (const auto& c : cases) {
        host.SetProject(FixtureModel());
        ExpectLine("select " + c.selected, true, "*selection: ");
        TakeEvents();
        ExpectLine("element " + c.deleted + " delete", true, c.output);
        EXPECT_EQ(TakeEvents(), c.events) << c.deleted;
        for (const auto& g : c.gone)
            EXPECT_EQ(Stored(g, ""), "gone") << g;
        for (const auto& g : c.kept)
            EXPECT_NE(Stored(g, ""), "gone") << g;
        EXPECT_TRUE(Host::CheckModel(host.Model()).empty());
        EXPECT_EQ(host.Model()["selection"].size(), host.Selection().size());
        ExpectLine("element " + c.deleted + " delete", false, "no element " + c.deleted);
    }
}

TEST(RealHost, AScriptEndingWithTheAddOnsDialogOpenFailsNamingTheLineThatOpenedIt)
{
    const TempFolder folder;
    std::ofstream(folder / "hostuser.script")
        << "menu \"Show Calvora Palette\"\necho\nclick Calvora \"Add New Category\"\nshow top\ntype top CodeEdit \"C-1\"\n";
    const int status = std::system((std::string(CALVORA_HOST_EXE) + " --script " + folder / "hostuser.script > " +
                                    folder / "out.txt 2>&1").c_str());
    std::ifstream in(folder / "out.txt");
    const std::string output((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status << "\n" << output;
    EXPECT_TRUE(InOrder(output, {"dialog \"Edit Category\" is open\n", "modal \"Edit Category\"",
                                 "typed \"C-1\" into item 4 of \"Edit Category\"\n",
                                 "hostuser.script:3: error: the dialog \"Edit Category\" was still open when the script ended"}));
}

}  // namespace
