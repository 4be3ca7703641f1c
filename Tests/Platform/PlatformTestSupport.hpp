#pragma once
// A folder of the test's own; a resource module of test dialogs, an observer that writes down every
// event it gets, and a pump that plays queued user actions.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include "DG/DGPanel.hpp"
#include "DG/DGUser.hpp"
#include "DG/DGUtility.hpp"
#include "TempFolder.hpp"
#include "Graphix/Graphix.hpp"

namespace PlatformTest {

using TempDir = TempFolder;

inline const char* kModuleJson = R"({
  "icons": {"32550": "Add"},
  "dialogs": {
    "100": {"kind": "palette", "title": "Pal", "width": 300, "height": 200, "grow": true, "items": [
      {"kind": "button", "rect": [10, 10, 80, 20], "text": "Go"},
      {"kind": "textedit", "rect": [10, 40, 80, 20], "limit": 5},
      {"kind": "realedit", "rect": [100, 40, 80, 20], "min": 0, "max": 10},
      {"kind": "checkbox", "rect": [10, 70, 80, 20], "text": "Tick"},
      {"kind": "popup", "rect": [100, 70, 80, 20]},
      {"kind": "singlelist", "rect": [10, 100, 120, 74]},
      {"kind": "multilist", "rect": [140, 100, 120, 74]},
      {"kind": "splitter", "rect": [131, 100, 5, 74]},
      {"kind": "popupmenu", "rect": [200, 10, 40, 20], "text": "More"},
      {"kind": "iconbutton", "rect": [250, 10, 28, 28], "tooltip": "Add", "icon": 32550},
      {"kind": "multilineedit", "rect": [10, 180, 200, 18]}
    ]},
    "200": {"kind": "modal", "title": "Ask", "width": 200, "height": 100, "items": [
      {"kind": "button", "rect": [10, 70, 80, 20], "text": "OK"},
      {"kind": "button", "rect": [100, 70, 80, 20], "text": "Cancel"},
      {"kind": "textedit", "rect": [10, 10, 180, 20]}
    ]},
    "300": {"kind": "modal", "title": "Bad", "items": [{"kind": "slider", "rect": [0, 0, 1, 1]}]}
  }})";

inline GSResModule Module()
{
    static GSResModule m = RSOpenModuleFromData(kModuleJson, std::string(kModuleJson).size());
    return m;
}

// Writes down every event in a few words; optional reactions for the tests that need them. (Splitters,
// pop-up menus, header items and hot keys are the host's command tests' own.)
struct Recorder : DG::PanelObserver,
                  DG::ButtonItemObserver,
                  DG::CheckItemObserver,
                  DG::TextEditBaseObserver,
                  DG::PopUpObserver,
                  DG::ListBoxObserver,
                  DG::CompoundItemObserver {
    std::string log;                     // the events, "; " between them
    int refuseCloses = 0;                // close requests still to refuse
    Int16 dragRows = 0;                  // mouse moves over tab field 1 of this list are draggable
    std::function<void(Int16)> onClick;  // a button's action
    std::function<void(const DG::ListBoxTabFieldUpdateEvent&)> onPaint;

    static std::string N(long n) { return std::to_string(n); }
    static std::string Id(const DG::ItemEvent& ev) { return N(ev.GetSource()->GetId()); }
    void Add(const std::string& line) { log += (log.empty() ? "" : "; ") + line; }

    void PanelOpened(const DG::PanelOpenEvent&) override { Add("opened"); }
    void PanelCloseRequested(const DG::PanelCloseRequestEvent& ev, bool* accepted) override
    {
        Add(ev.IsAccepted() ? "close? ok" : "close? cancel");
        if (refuseCloses > 0) {
            --refuseCloses;
            *accepted = false;
        }
    }
    void PanelClosed(const DG::PanelCloseEvent&) override { Add("closed"); }
    void PanelResized(const DG::PanelResizeEvent& e) override
    {
        Add("resized " + N(e.GetHorizontalChange()) + "," + N(e.GetVerticalChange()));
    }
    void PanelIdle(const DG::PanelIdleEvent&) override { Add("idle"); }
    void ButtonClicked(const DG::ButtonClickEvent& ev) override
    {
        Add("click " + Id(ev));
        if (onClick)
            onClick(ev.GetSource()->GetId());
    }
    void CheckItemChanged(const DG::CheckItemChangeEvent& ev) override { Add("check " + Id(ev)); }
    void TextEditChanged(const DG::TextEditChangeEvent& ev) override { Add("text " + Id(ev)); }
    void PopUpChanged(const DG::PopUpChangeEvent& e) override
    {
        Add("popup " + Id(e) + " from " + N(e.GetPreviousSelection()));
    }
    void ListBoxSelectionChanged(const DG::ListBoxSelectionEvent& ev) override { Add("select " + Id(ev)); }
    void ListBoxDoubleClicked(const DG::ListBoxDoubleClickEvent& e) override
    {
        Add("double " + Id(e) + " row " + N(e.GetListItem()));
    }
    void ListBoxItemDragged(const DG::ListBoxDragEvent& e) override
    {
        Add("dragged " + Id(e) + " " + N(e.GetPreviousIndex()) + "->" + N(e.GetNewIndex()));
    }
    void ListBoxMouseMoved(const DG::ListBoxMouseMoveEvent& e, Int16* inArea) override
    {
        Add("mouse " + Id(e) + " row " + N(e.GetListItem()) + " tab " + N(e.GetTabFieldIndex()));
        if (e.GetSource()->GetId() == dragRows && e.GetTabFieldIndex() == 1)
            *inArea = 1;
    }
    void ListBoxTabFieldUpdate(const DG::ListBoxTabFieldUpdateEvent& e) override
    {
        Add("paint " + Id(e) + " row " + N(e.GetListItem()) + " tab " + N(e.GetTabFieldIndex()));
        if (onPaint)
            onPaint(e);
    }
};

// Plays queued actions, one a pump call; with none left it has no more actions.
struct ScriptedPump {
    std::deque<std::function<void()>> actions;
    DG::User::Pump previous = DG::User::SetPump([this]() {
        if (actions.empty())
            return false;
        auto a = std::move(actions.front());
        actions.pop_front();
        a();
        return true;
    });
    ~ScriptedPump() { DG::User::SetPump(previous); }
};

}  // namespace PlatformTest
