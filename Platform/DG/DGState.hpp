#pragma once
// The dialog library's own records of panels and items (not for add-ons).
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "DG/DGItems.hpp"
#include "DG/DGUtility.hpp"
#include "Graphix/Graphix.hpp"

namespace DG {

struct PopEntry {
    GS::UniString text;
    DGUserData value = 0;
    bool separator = false;
};

struct HeaderItemState {
    GS::UniString text;
    Int16 size = 0;
    Justification justification = DG_IS_LEFT;
    bool sizeable = false;
};

struct TabFieldState {
    Int16 begin = 0;
    Int16 end = 0;
    Justification justification = DG_IS_LEFT;
    bool truncate = false;
    bool separator = false;
    bool status = true;
    bool ownerDrawn = false;
};

struct RowState {
    std::vector<GS::UniString> texts;  // by tab field, from 0; shorter than the tab field count is fine
    DGUserData value = 0;
    bool enabled = true;
    bool selected = false;
    // Painting: the row is current when paintedGeneration equals the list's generation and nothing
    // is marked dirty; a generation step repaints every visible row without touching the others.
    UInt64 paintedGeneration = 0;
    bool dirtyAll = false;
    std::set<Int16> dirtyTabs;
    struct Painted {
        Rect cell;  // list coordinates when painted
        Graphix::CellDrawing drawing;
    };
    std::map<Int16, Painted> drawings;  // by tab field
};

struct ListState {
    bool multi = false;
    Int16 rowHeight = 18;
    bool headerSynchron = true;
    bool mouseMoveEvents = false;
    std::vector<TabFieldState> tabs;
    std::vector<HeaderItemState> headers;
    std::vector<RowState> rows;
    Int16 scroll = 1;  // first visible row
    UInt64 generation = 1;
};

struct ItemState {
    Int16 number = 0;
    std::string name;  // from the resource; the user side finds items by it
    std::string kind;
    Rect rect;
    GS::UniString text;
    GS::UniString tooltip;
    Int32 icon = 0;
    Int32 limit = 0;
    double value = 0.0;
    double min = 0.0, max = 0.0;
    bool hasMin = false, hasMax = false;
    Justification align = DG_IS_LEFT;
    bool visible = true;
    bool enabled = true;
    CharRange selection;
    bool checked = false;
    std::vector<PopEntry> entries;  // pop-ups and pop-up menu buttons
    Int16 selectedEntry = 0;        // pop-up: the selected entry; pop-up menu button: the chosen one
    Int32 buttonType = 0;
    std::unique_ptr<ListState> list;
    Int32 progressMin = 0, progressMax = 100, progressValue = 0;
    bool dragEnabled = false;
    std::vector<ItemObserver*> observers;
    std::vector<Item*> handles;      // live handles, latest last
    std::unique_ptr<Item> fallback;  // the object events carry when the owner made no handle
};

struct HotKey {
    Int16 id = 0;
    Int16 keyCode = 0;
    Int32 modifiers = 0;
};

struct PanelState {
    Panel* panel = nullptr;
    std::string kind;  // "palette", "modal", "dialog"
    GS::UniString title;
    Int16 resourceId = 0;
    Int16 id = 0;
    GSResModule iconModule = InvalidResModule;
    Int16 width = 0, height = 0;
    bool grow = false;
    bool closeBox = true;
    bool visible = false;  // palettes: shown; modal dialogs: open
    bool opened = false;   // PanelOpened was sent
    bool hostDisabled = false;
    bool idleEnabled = false;
    bool eventProcessing = false;  // palettes: between Begin- and EndEventProcessing
    Int32 moveResizeDepth = 0;
    Int16 focus = 0;
    std::vector<ItemState> items;  // item n at n - 1
    std::vector<PanelObserver*> observers;
    std::vector<HotKey> hotKeys;
    std::vector<Item*> strayHandles;  // handles on items the panel does not have
    Int16 nextHotKey = 1;
    // Modal loop.
    bool inLoop = false;
    bool closeAccepted = false;
    ModalResponse response = Cancel;

    ItemState* GetItem(Int16 n)
    {
        return n >= 1 && static_cast<std::size_t>(n) <= items.size() ? &items[static_cast<std::size_t>(n) - 1]
                                                                     : nullptr;
    }
};

namespace Internal {

// Live panels by id; nullptr when gone.
PanelState* FindPanelState(Int16 id);
// Live panels in creation order.
std::vector<PanelState*> LivePanels();
// The item state a handle refers to; nullptr for an inert handle.
ItemState* Resolve(const Item* handle);
PanelState* ResolvePanel(const Item* handle);
// True (and forgotten) when the handle's panel is gone.
bool ForgetOrphan(const Item* handle);
// The object an item's events carry.
Item* EventSource(PanelState* panel, ItemState* item);

// Item events to the attached observers of the matching kind. The list is copied first; an
// observer detached (or an item or panel gone) during the dispatch is skipped.
template <class Observer, class Call>
void DispatchItem(Int16 panelId, Int16 itemNumber, Call call)
{
    PanelState* p = FindPanelState(panelId);
    ItemState* it = p != nullptr ? p->GetItem(itemNumber) : nullptr;
    if (it == nullptr)
        return;
    Item* source = EventSource(p, it);
    std::vector<ItemObserver*> copy = it->observers;
    for (ItemObserver* o : copy) {
        p = FindPanelState(panelId);
        it = p != nullptr ? p->GetItem(itemNumber) : nullptr;
        if (it == nullptr)
            return;
        bool attached = false;
        for (ItemObserver* a : it->observers)
            attached = attached || a == o;
        if (!attached)
            continue;
        if (auto* typed = dynamic_cast<Observer*>(o))
            call(typed, source);
    }
}

template <class Call>
void DispatchPanel(Int16 panelId, Call call)
{
    PanelState* p = FindPanelState(panelId);
    if (p == nullptr)
        return;
    std::vector<PanelObserver*> copy = p->observers;
    for (PanelObserver* o : copy) {
        p = FindPanelState(panelId);
        if (p == nullptr)
            return;
        bool attached = false;
        for (PanelObserver* a : p->observers)
            attached = attached || a == o;
        if (attached)
            call(o, p->panel);
    }
}

// Marks rows for painting.
void InvalidateList(ItemState* item);
void InvalidateRow(ItemState* item, Int16 row);
void InvalidateCell(ItemState* item, Int16 row, Int16 tabField);
void InvalidatePanel(PanelState* panel);
// Rows painted in the list's current size: [first, last], empty when last < first.
void VisibleRows(const ItemState* item, Int16* first, Int16* last);
// Paints what is pending (DG::User::Paint says what).
void PaintPending();

// The side that plays the user (DG/DGUser) implements this and installs itself. The widgets only call
// it, so they build and run without it: with none installed a modal closes at once, as abandoned.
class UserSide {
public:
    virtual ~UserSide();
    // A modal dialog, alert or file dialog waits: performs the user's next action; false when none is left.
    virtual bool NextAction() = 0;
};
void SetUserSide(UserSide* side);

// The modal stack (dialogs, alerts, file dialogs).
struct ModalEntry {
    enum Kind { Dialog, Alert, FileDialog } kind = Dialog;
    Int16 panelId = 0;
    std::size_t record = 0;  // alert or file-dialog log index
    bool done = false;
    Int16 answer = 0;
    std::string chosen;
};
std::vector<ModalEntry>& ModalStack();
// Paints and asks the user side for actions until done() holds; false (counted as abandoned) when
// it had no more actions.
bool RunModalLoop(const std::function<bool()>& done);

// What the library logs for the user side.
struct Logs {
    std::vector<AlertRecord> alerts;
    std::vector<FileDialogRecord> fileDialogs;
    Int32 beeps = 0;
    Int32 abandoned = 0;
};
Logs& TheLogs();

// One tick of every running timer, in the order they were started.
void TickTimers();
Int32 RunningTimerCount();

}  // namespace Internal
}  // namespace DG
