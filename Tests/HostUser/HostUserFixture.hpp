#pragma once
// A stand-in host with a palette and a modal dialog of the test's own, made from a resource module
// the test opens, so the host's dialog commands have something to act on. Every observer event
// and what the test's code got back (dialog results, alert answers, chosen files) goes to Events().
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "DG/DGItems.hpp"
#include "DG/DGUser.hpp"
#include "DG/DGUtility.hpp"
#include "Host/Script.hpp"
#include "Host/StandInHost.hpp"

namespace HostUser {

// A folder of the test's own, so runs side by side never share a file; removed with what it holds.
struct TempFolder {
    std::string path;
    TempFolder()
    {
        std::string pattern = ::testing::TempDir() + "hostuser-XXXXXX";
        path = mkdtemp(&pattern[0]) != nullptr ? pattern + "/" : "";
        EXPECT_FALSE(path.empty()) << "no temporary folder";
    }
    ~TempFolder() { std::error_code ignored; std::filesystem::remove_all(path, ignored); }
};

inline std::vector<std::string>& Events()
{
    static std::vector<std::string> events;
    return events;
}
inline void Log(const std::string& text) { Events().push_back(text); }
// The events since the last call, joined by " | ".
inline std::string TakeEvents()
{
    std::string joined;
    for (const auto& e : Events())
        joined += (joined.empty() ? "" : " | ") + e;
    Events().clear();
    return joined;
}

// The host's operation in the table the add-on is handed.
template <typename Fn>
Fn Entry(const Host::StandInHost& host, ApiSlot slot)
{
    return reinterpret_cast<Fn>(static_cast<const API_FunctionTable*>(host.Table())->entries[slot]);
}

// Runs one line: it succeeds printing exactly the output given ("*" first: among other lines), or
// fails with an error that holds it.
inline void ExpectLine(Host::ScriptRunner& runner, std::ostringstream& out, const std::string& line, bool ok,
                       const std::string& output)
{
    out.str("");
    std::string error;
    EXPECT_EQ(runner.RunLine(line, &error), ok) << line << ": " << error;
    EXPECT_EQ(error.empty(), ok) << line;
    if (!ok || output.rfind('*', 0) == 0) {
        const std::string got = ok ? out.str() : error;
        EXPECT_NE(got.find(ok ? output.substr(1) : output), std::string::npos) << line << ": " << got;
    } else {
        EXPECT_EQ(out.str(), output) << line;
    }
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
    ~TestDialog() override
    {
        for (DG::Button* b : {&ok, &cancel, &nested})
            b->Detach(*this);
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
        for (DG::Item* item : Items())
            item->Attach(*this);
        list.SetTabFieldCount(1);
        list.SetTabFieldProperties(1, 0, 200, DG::DG_IS_LEFT);
        list.SetHeaderItemText(1, "Name");
        list.SetHeaderItemSizeableFlag(1, true);
        list.EnableMouseMoveEvent();
        for (const char* row : {"Row A", "Row B", "Row C"}) {
            list.AppendItem();
            list.SetTabItemText(list.GetItemCount(), 1, row);
        }
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
    ~TestPalette() override
    {
        KillTimer(this, 7);
        for (DG::Item* item : Items())
            item->Detach(*this);
        Detach(static_cast<DG::PanelObserver&>(*this));
    }

    std::vector<DG::Item*> Items() { return {&dialog, &alert, &file, &list, &splitter, &flag, &popup, &edit, &menu}; }
    static std::string N(long n) { return std::to_string(n); }
    static void Tick(void*, UInt32, std::uintptr_t id, UInt32) { Log("tick " + N(id)); }

    void PanelOpened(const DG::PanelOpenEvent&) override { Log("opened"); }
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
        std::string rows;
        for (Int16 r = 1; r <= list.GetItemCount(); ++r)
            rows += (r > 1 ? "," : "") + list.GetTabItemText(r, 1).ToUtf8();
        Log("dragged " + N(ev.GetPreviousIndex()) + "->" + N(ev.GetNewIndex()) + " " + rows);
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

// A host, the test's module and palette, and a runner writing into strings.
class HostUserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DG::User::ResetLogs();
        module = RSOpenModuleFromData(kModule, std::char_traits<char>::length(kModule));
        ASSERT_NE(module, InvalidResModule);
        palette = std::make_unique<TestPalette>(module);
        ASSERT_NE(palette->GetId(), 0);
        Events().clear();
    }
    void TearDown() override
    {
        palette.reset();
        RSCloseModule(module);
        Events().clear();
    }

    struct Result {
        bool ok;
        std::string out, errors;
    };
    // Runs a script (or prompt input) through a fresh runner.
    Result RunScript(const std::string& script, bool interactive = false)
    {
        std::ostringstream out, errors;
        Host::ScriptRunner runner(host, out);
        runner.SetErrorStream(errors);
        std::istringstream in(script);
        const bool ok = runner.RunStream(in, "test.script", interactive);
        return Result{ok, out.str(), errors.str()};
    }

    Host::StandInHost host;
    GSResModule module = InvalidResModule;
    std::unique_ptr<TestPalette> palette;
};

}  // namespace HostUser
