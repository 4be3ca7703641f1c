#include "DG/DGUser.hpp"

#include <algorithm>
#include <cfloat>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <locale>
#include <sstream>
#include <sys/stat.h>

#include "DG/DGState.hpp"
#include "DG/DGUtility.hpp"
#include "GSRoot/Internal.hpp"
#include "Graphix/Graphix.hpp"

namespace DG {

namespace {

using Internal::TheLogs;

// Takes the user's next action from the pump the driver installed.
struct PumpedUser : Internal::UserSide {
    User::Pump pump;
    bool NextAction() override
    {
        User::Pump current = pump;  // the action may install another pump
        return current && current();
    }
};
PumpedUser& ThePumpedUser() { return GS::Internal::Immortal<PumpedUser>(); }

bool Fail(std::string* error, const std::string& message)
{
    if (error != nullptr)
        *error = message;
    User::Paint();
    return false;
}

bool Done()
{
    User::Paint();
    return true;
}

std::string Quote(const std::string& s) { return GS::Internal::QuoteText(s); }
std::string Quote(const GS::UniString& s) { return Quote(s.ToUtf8()); }
std::string Num(double v) { return GS::Internal::FormatNumber(v, 12); }

std::string PanelName(const PanelState* p) { return Quote(p->title); }

// The panel an action may reach: alive, shown, and not behind a modal window.
PanelState* ActionPanel(Int16 panel, bool allowHostDisabled, std::string* message)
{
    PanelState* p = Internal::FindPanelState(panel);
    if (p == nullptr) {
        *message = "no open panel " + std::to_string(panel);
        return nullptr;
    }
    if (!p->visible) {
        *message = "panel " + PanelName(p) + " is not shown";
        return nullptr;
    }
    auto& stack = Internal::ModalStack();
    if (!stack.empty()) {
        const auto& top = stack.back();
        if (top.kind == Internal::ModalEntry::Alert) {
            *message = "an alert is open: " + Quote(TheLogs().alerts[top.record].title);
            return nullptr;
        }
        if (top.kind == Internal::ModalEntry::FileDialog) {
            *message = "a file dialog is open: " + Quote(TheLogs().fileDialogs[top.record].title);
            return nullptr;
        }
        if (top.panelId != panel) {
            PanelState* m = Internal::FindPanelState(top.panelId);
            *message = "a modal dialog is open: " + (m != nullptr ? PanelName(m) : std::string("\"\""));
            return nullptr;
        }
    }
    if (p->hostDisabled && !allowHostDisabled) {
        *message = "the items of panel " + PanelName(p) + " are disabled by the host";
        return nullptr;
    }
    return p;
}

ItemState* ActionItem(PanelState* p, Int16 item, std::initializer_list<const char*> kinds, std::string* message)
{
    ItemState* it = p->GetItem(item);
    if (it == nullptr) {
        *message = "panel " + PanelName(p) + " has no item " + std::to_string(item);
        return nullptr;
    }
    bool kindOk = kinds.size() == 0;
    for (const char* k : kinds)
        kindOk = kindOk || it->kind == k;
    if (!kindOk) {
        *message = "item " + std::to_string(item) + " is a " + it->kind + ", not a " + *kinds.begin();
        return nullptr;
    }
    if (!it->visible) {
        *message = "item " + std::to_string(item) + " is hidden";
        return nullptr;
    }
    if (!it->enabled) {
        *message = "item " + std::to_string(item) + " is disabled";
        return nullptr;
    }
    return it;
}

#define DG_PANEL(p, panelId)                            \
    std::string msg_;                                   \
    PanelState* p = ActionPanel(panelId, false, &msg_); \
    if (p == nullptr)                                   \
        return Fail(error, msg_);

#define DG_ITEM(it, p, itemId, ...)                              \
    ItemState* it = ActionItem(p, itemId, {__VA_ARGS__}, &msg_); \
    if (it == nullptr)                                           \
        return Fail(error, msg_);

RowState* Row(ItemState* it, Int16 row)
{
    if (row < 1 || static_cast<std::size_t>(row) > it->list->rows.size())
        return nullptr;
    return &it->list->rows[static_cast<std::size_t>(row) - 1];
}

// A row the user may click: there and enabled.
RowState* ClickableRow(ItemState* it, Int16 row, std::string* message)
{
    RowState* r = Row(it, row);
    const std::string list = "list " + std::to_string(it->number);
    if (r == nullptr)
        *message = list + " has no row " + std::to_string(row);
    else if (!r->enabled)
        *message = "row " + std::to_string(row) + " of " + list + " is disabled";
    return r != nullptr && r->enabled ? r : nullptr;
}

// Selects the rows chosen, marking those that change for painting.
template <typename Chosen>
void SetSelection(ItemState* it, Chosen chosen)
{
    for (std::size_t i = 0; i < it->list->rows.size(); ++i) {
        RowState& row = it->list->rows[i];
        if (row.selected != chosen(i)) {
            row.selected = chosen(i);
            row.dirtyAll = true;
        }
    }
}

void NotifySelection(Int16 panel, Int16 item)
{
    Internal::DispatchItem<ListBoxObserver>(
        panel, item, [](ListBoxObserver* o, Item* src) { o->ListBoxSelectionChanged(ListBoxSelectionEvent(src)); });
}

// Clicking a row the user cannot see first scrolls it into view.
void ScrollIntoView(ItemState* it, Int16 row)
{
    Int16 first, last;
    Internal::VisibleRows(it, &first, &last);
    ListState& l = *it->list;
    Int32 fit = l.rowHeight > 0 ? (it->rect.GetHeight() - 20) / l.rowHeight : 1;  // rows shown whole
    if (fit < 1)
        fit = 1;
    if (row < first)
        l.scroll = row;
    else if (row >= first + fit)
        l.scroll = static_cast<Int16>(std::max<Int32>(1, row - fit + 1));
    else
        return;
    ++l.generation;
}

bool ParseNumber(const std::string& text, double* value)
{
    std::string t = text;
    const char* dp = std::localeconv()->decimal_point;
    if (dp != nullptr && dp[0] != '\0' && std::string(dp) != ".") {
        std::size_t at;
        while ((at = t.find(dp)) != std::string::npos)
            t.replace(at, std::strlen(dp), ".");
    }
    std::istringstream is(t);
    is.imbue(std::locale::classic());
    double v;
    if (!(is >> v))
        return false;
    is >> std::ws;
    if (!is.eof())
        return false;
    *value = v;
    return true;
}

const char* JustName(Justification j) { return j == DG_IS_CENTER ? "center" : j == DG_IS_RIGHT ? "right" : "left"; }

}  // namespace

namespace User {

Pump SetPump(Pump pump)
{
    Pump previous = std::move(ThePumpedUser().pump);
    ThePumpedUser().pump = std::move(pump);
    Internal::SetUserSide(&ThePumpedUser());
    return previous;
}

// ---- what is open ------------------------------------------------------------------------------

std::vector<PanelInfo> Panels()
{
    std::vector<PanelInfo> result;
    for (PanelState* p : Internal::LivePanels()) {
        PanelInfo info;
        info.id = p->id;
        info.resourceId = p->resourceId;
        info.kind = p->kind;
        info.title = p->title.ToUtf8();
        info.visible = p->visible;
        result.push_back(info);
    }
    return result;
}

Int16 TopModal()
{
    auto& stack = Internal::ModalStack();
    for (auto it = stack.rbegin(); it != stack.rend(); ++it)
        if (it->kind == Internal::ModalEntry::Dialog)
            return it->panelId;
    return 0;
}

Int16 FindPanel(const std::string& idOrTitle)
{
    char* end = nullptr;
    long n = std::strtol(idOrTitle.c_str(), &end, 10);
    bool numeric = !idOrTitle.empty() && end != nullptr && *end == '\0';
    if (numeric && Internal::FindPanelState(static_cast<Int16>(n)) != nullptr && n > 0 && n < 32768)
        return static_cast<Int16>(n);
    auto matches = [&](PanelState* p) { return numeric ? p->resourceId == n : p->title.ToUtf8() == idOrTitle; };
    if (PanelState* top = Internal::FindPanelState(TopModal()))
        if (matches(top))
            return top->id;
    auto live = Internal::LivePanels();
    for (PanelState* p : live)
        if (p->visible && matches(p))
            return p->id;
    for (PanelState* p : live)
        if (matches(p))
            return p->id;
    return 0;
}

Int16 FindItem(Int16 panel, const std::string& item)
{
    PanelState* p = Internal::FindPanelState(panel);
    if (p == nullptr)
        return 0;
    char* end = nullptr;
    long n = std::strtol(item.c_str(), &end, 10);
    if (!item.empty() && end != nullptr && *end == '\0')
        return p->GetItem(static_cast<Int16>(n)) != nullptr ? static_cast<Int16>(n) : 0;
    for (auto& it : p->items)
        if (it.name == item)
            return it.number;
    for (auto& it : p->items)
        if (it.text.ToUtf8() == item || it.tooltip.ToUtf8() == item)
            return it.number;
    return 0;
}

// ---- actions -----------------------------------------------------------------------------------

bool ClickButton(Int16 panel, Int16 item, std::string* error)
{
    DG_PANEL(p, panel)
    DG_ITEM(it, p, item, "button", "iconbutton")
    (void)it;
    Internal::DispatchItem<ButtonItemObserver>(
        panel, item, [](ButtonItemObserver* o, Item* src) { o->ButtonClicked(ButtonClickEvent(src)); });
    return Done();
}

bool CloseBox(Int16 panel, std::string* error)
{
    std::string msg;
    PanelState* p = ActionPanel(panel, true, &msg);
    if (p == nullptr)
        return Fail(error, msg);
    if (!p->closeBox)
        return Fail(error, "panel " + PanelName(p) + " has no close box");
    if (p->kind == "modal") {
        static_cast<ModalDialog*>(p->panel)->PostCloseRequest(Cancel);
        return Done();
    }
    bool accepted = true;
    Internal::DispatchPanel(panel, [&](PanelObserver* o, Panel* src) {
        o->PanelCloseRequested(PanelCloseRequestEvent(src, false), &accepted);
    });
    return Done();
}

bool SelectRows(Int16 panel, Int16 item, const std::vector<Int16>& rows, std::string* error)
{
    DG_PANEL(p, panel)
    DG_ITEM(it, p, item, "singlelist", "multilist")
    if (!it->list->multi && rows.size() > 1)
        return Fail(error, "list " + std::to_string(item) + " takes one selected row");
    for (Int16 r : rows)
        if (ClickableRow(it, r, &msg_) == nullptr)
            return Fail(error, msg_);
    std::vector<bool> wanted(it->list->rows.size(), false);
    for (Int16 r : rows)
        wanted[static_cast<std::size_t>(r) - 1] = true;
    SetSelection(it, [&](std::size_t i) { return wanted[i]; });
    if (!rows.empty())
        ScrollIntoView(it, *std::min_element(rows.begin(), rows.end()));
    p->focus = item;
    NotifySelection(panel, item);
    return Done();
}

bool DoubleClickRow(Int16 panel, Int16 item, Int16 row, std::string* error)
{
    DG_PANEL(p, panel)
    DG_ITEM(it, p, item, "singlelist", "multilist")
    RowState* r = ClickableRow(it, row, &msg_);
    if (r == nullptr)
        return Fail(error, msg_);
    bool alone = r->selected;
    for (auto& other : it->list->rows)
        alone = alone && (&other == r || !other.selected);
    p->focus = item;
    if (!alone) {
        // The first click of the two selects the row.
        SetSelection(it, [&](std::size_t i) { return i == static_cast<std::size_t>(row) - 1; });
        ScrollIntoView(it, row);
        NotifySelection(panel, item);
    }
    Internal::DispatchItem<ListBoxObserver>(panel, item, [row](ListBoxObserver* o, Item* src) {
        o->ListBoxDoubleClicked(ListBoxDoubleClickEvent(src, row));
    });
    return Done();
}

namespace {
Int16 SendMouseMove(Int16 panel, ItemState* it, Int16 row, Int16 tabField)
{
    Int16 inArea = 0;
    if (!it->list->mouseMoveEvents)
        return 0;
    Int16 x = 0;
    if (tabField >= 1 && static_cast<std::size_t>(tabField) <= it->list->tabs.size())
        x = static_cast<Int16>(it->list->tabs[static_cast<std::size_t>(tabField) - 1].begin + 1);
    Int16 y = static_cast<Int16>(20 + (row - it->list->scroll) * it->list->rowHeight + 1);
    Point pos(x, y);
    Internal::DispatchItem<ListBoxObserver>(panel, it->number, [&](ListBoxObserver* o, Item* src) {
        o->ListBoxMouseMoved(ListBoxMouseMoveEvent(src, row, tabField, pos), &inArea);
    });
    return inArea;
}
}  // namespace

bool DragRow(Int16 panel, Int16 item, Int16 from, Int16 to, std::string* error)
{
    DG_PANEL(p, panel)
    DG_ITEM(it, p, item, "singlelist", "multilist")
    Int16 count = static_cast<Int16>(it->list->rows.size());
    if (from < 1 || from > count || to < 1 || to > count)
        return Fail(error, "list " + std::to_string(item) + " has rows 1 to " + std::to_string(count));
    if (ClickableRow(it, from, &msg_) == nullptr)
        return Fail(error, msg_);
    ScrollIntoView(it, from);
    if (SendMouseMove(panel, it, from, 1) != 1)
        return Fail(error, "row " + std::to_string(from) + " of list " + std::to_string(item) + " cannot be dragged");
    p = Internal::FindPanelState(panel);
    it = p != nullptr ? p->GetItem(item) : nullptr;
    if (it == nullptr || it->list->rows.size() != static_cast<std::size_t>(count))
        return Fail(error, "the list changed while the drag began");
    if (from != to) {
        auto& rows = it->list->rows;
        RowState moved = std::move(rows[static_cast<std::size_t>(from) - 1]);
        rows.erase(rows.begin() + (from - 1));
        rows.insert(rows.begin() + (to - 1), std::move(moved));
        ++it->list->generation;
    }
    Internal::DispatchItem<ListBoxObserver>(
        panel, item, [=](ListBoxObserver* o, Item* src) { o->ListBoxItemDragged(ListBoxDragEvent(src, from, to)); });
    return Done();
}

bool DragSplitter(Int16 panel, Int16 item, Int16 newX, std::string* error)
{
    DG_PANEL(p, panel)
    DG_ITEM(it, p, item, "splitter")
    if (!it->dragEnabled)
        return Fail(error, "splitter " + std::to_string(item) + " cannot be dragged");
    Internal::DispatchItem<SplitterObserver>(
        panel, item, [newX](SplitterObserver* o, Item* src) { o->SplitterDragged(SplitterDragEvent(src, newX)); });
    return Done();
}

bool ResizePanel(Int16 panel, Int16 dx, Int16 dy, std::string* error)
{
    DG_PANEL(p, panel)
    if (!p->grow)
        return Fail(error, "panel " + PanelName(p) + " cannot be resized");
    if (p->width + dx < 0 || p->height + dy < 0)
        return Fail(error, "panel " + PanelName(p) + " cannot be that small");
    p->width = static_cast<Int16>(p->width + dx);
    p->height = static_cast<Int16>(p->height + dy);
    Internal::InvalidatePanel(p);
    Internal::DispatchPanel(panel,
                            [=](PanelObserver* o, Panel* src) { o->PanelResized(PanelResizeEvent(src, dx, dy)); });
    return Done();
}

bool ResizeHeaderItem(Int16 panel, Int16 item, Int16 headerItem, Int16 change, std::string* error)
{
    DG_PANEL(p, panel)
    DG_ITEM(it, p, item, "singlelist", "multilist")
    auto& headers = it->list->headers;
    if (headerItem < 1 || static_cast<std::size_t>(headerItem) > headers.size())
        return Fail(error, "list " + std::to_string(item) + " has no header item " + std::to_string(headerItem));
    HeaderItemState& h = headers[static_cast<std::size_t>(headerItem) - 1];
    if (!h.sizeable)
        return Fail(error, "header item " + std::to_string(headerItem) + " of list " + std::to_string(item) +
                               " cannot be resized");
    h.size = static_cast<Int16>(std::max(0, h.size + change));
    ++it->list->generation;
    Internal::DispatchItem<ListBoxObserver>(panel, item, [=](ListBoxObserver* o, Item* src) {
        o->ListBoxHeaderItemResized(ListBoxHeaderItemResizeEvent(src, headerItem, change));
    });
    return Done();
}

bool TypeText(Int16 panel, Int16 item, const std::string& text, std::string* error)
{
    DG_PANEL(p, panel)
    DG_ITEM(it, p, item, "textedit", "multilineedit", "realedit")
    if (it->kind == "realedit") {
        double v;
        if (!ParseNumber(text, &v))
            return Fail(error, "item " + std::to_string(item) + " takes a number, not " + Quote(text));
        if (it->hasMin && v < it->min)
            v = it->min;
        if (it->hasMax && v > it->max)
            v = it->max;
        it->value = v;
        Int32 len = static_cast<Int32>(GS::UniString(Num(v)).GetLength());
        it->selection = CharRange(len, len);
    } else {
        std::string t = text;
        if (it->kind == "multilineedit") {
            std::size_t at;
            while ((at = t.find("\r\n")) != std::string::npos)
                t.erase(at, 1);
            std::replace(t.begin(), t.end(), '\r', '\n');
        }
        GS::UniString u(t);
        if (it->limit > 0 && u.GetLength() > static_cast<GS::USize>(it->limit)) {
            GS::USize keep = static_cast<GS::USize>(it->limit);
            if (keep > 0 && u[keep - 1] >= 0xD800 && u[keep - 1] <= 0xDBFF)
                --keep;  // never split a surrogate pair
            u.Truncate(keep);
        }
        it->text = u;
        Int32 len = static_cast<Int32>(u.GetLength());
        it->selection = CharRange(len, len);
    }
    p->focus = item;
    Internal::DispatchItem<TextEditBaseObserver>(
        panel, item, [](TextEditBaseObserver* o, Item* src) { o->TextEditChanged(TextEditChangeEvent(src)); });
    return Done();
}

bool Focus(Int16 panel, Int16 item, std::string* error)
{
    DG_PANEL(p, panel)
    DG_ITEM(it, p, item)
    (void)it;
    p->focus = item;
    return Done();
}

bool SetCheck(Int16 panel, Int16 item, bool checked, std::string* error)
{
    DG_PANEL(p, panel)
    DG_ITEM(it, p, item, "checkbox")
    if (it->checked == checked)
        return Done();
    it->checked = checked;
    Internal::DispatchItem<CheckItemObserver>(
        panel, item, [](CheckItemObserver* o, Item* src) { o->CheckItemChanged(CheckItemChangeEvent(src)); });
    return Done();
}

bool ChooseEntry(Int16 panel, Int16 item, Int16 entry, std::string* error)
{
    DG_PANEL(p, panel)
    DG_ITEM(it, p, item, "popup", "popupmenu")
    if (entry < 1 || static_cast<std::size_t>(entry) > it->entries.size())
        return Fail(error, "item " + std::to_string(item) + " has no entry " + std::to_string(entry));
    if (it->entries[static_cast<std::size_t>(entry) - 1].separator)
        return Fail(error, "entry " + std::to_string(entry) + " of item " + std::to_string(item) + " is a separator");
    Int16 previous = it->selectedEntry;
    it->selectedEntry = entry;
    if (it->kind == "popup") {
        if (previous != entry)
            Internal::DispatchItem<PopUpObserver>(panel, item, [previous](PopUpObserver* o, Item* src) {
                o->PopUpChanged(PopUpChangeEvent(src, previous));
            });
    } else {
        Internal::DispatchItem<UserControlObserver>(
            panel, item, [](UserControlObserver* o, Item* src) { o->UserControlChanged(UserControlChangeEvent(src)); });
    }
    return Done();
}

bool ChooseEntryByText(Int16 panel, Int16 item, const std::string& text, std::string* error)
{
    PanelState* p = Internal::FindPanelState(panel);
    ItemState* it = p != nullptr ? p->GetItem(item) : nullptr;
    if (it != nullptr)
        for (std::size_t i = 0; i < it->entries.size(); ++i)
            if (!it->entries[i].separator && it->entries[i].text.ToUtf8() == text)
                return ChooseEntry(panel, item, static_cast<Int16>(i + 1), error);
    if (it == nullptr)
        return ChooseEntry(panel, item, 0, error);
    return Fail(error, "item " + std::to_string(item) + " has no entry " + Quote(text));
}

bool PressKey(Int16 panel, Int16 keyCode, Key::Modifier modifiers, std::string* error)
{
    DG_PANEL(p, panel)
    Int16 keyId = 0;
    for (const HotKey& k : p->hotKeys)
        if (k.keyCode == keyCode && k.modifiers == modifiers)
            keyId = k.id;
    if (keyId != 0) {
        bool processed = false;
        Internal::DispatchPanel(panel, [&](PanelObserver* o, Panel* src) {
            o->PanelHotkeyPressed(PanelHotKeyEvent(src, keyId), &processed);
        });
    }
    return Done();
}

// ---- alerts and file dialogs -------------------------------------------------------------------

bool AlertOpen()
{
    auto& s = Internal::ModalStack();
    return !s.empty() && s.back().kind == Internal::ModalEntry::Alert;
}

bool AnswerAlert(Int16 button, std::string* error)
{
    if (!AlertOpen())
        return Fail(error, "no alert is open");
    auto& e = Internal::ModalStack().back();
    const auto& rec = TheLogs().alerts[e.record];
    if (button < 1 || static_cast<std::size_t>(button) > rec.buttons.size())
        return Fail(error, "the alert has no button " + std::to_string(button));
    e.answer = button;
    e.done = true;
    return true;
}

bool AnswerAlertByText(const std::string& buttonText, std::string* error)
{
    if (!AlertOpen())
        return Fail(error, "no alert is open");
    const auto& rec = TheLogs().alerts[Internal::ModalStack().back().record];
    for (std::size_t i = 0; i < rec.buttons.size(); ++i)
        if (rec.buttons[i] == buttonText)
            return AnswerAlert(static_cast<Int16>(i + 1), error);
    return Fail(error, "the alert has no button " + Quote(buttonText));
}

bool FileDialogOpen()
{
    auto& s = Internal::ModalStack();
    return !s.empty() && s.back().kind == Internal::ModalEntry::FileDialog;
}

bool CancelFileDialog(std::string* error)
{
    if (!FileDialogOpen())
        return Fail(error, "no file dialog is open");
    auto& e = Internal::ModalStack().back();
    e.chosen.clear();
    e.done = true;
    return true;
}

bool ChooseFile(const std::string& path, std::string* error)
{
    auto fail = [&](const std::string& m) {
        if (error != nullptr)
            *error = m;
        return false;
    };
    if (!FileDialogOpen())
        return fail("no file dialog is open");
    if (path.empty())
        return fail("no file given");
    Internal::ModalEntry& e = Internal::ModalStack().back();
    struct stat st {};
    bool exists = ::stat(path.c_str(), &st) == 0;
    switch (static_cast<FileDialog::Type>(e.answer)) {
        case FileDialog::OpenFile:
        case FileDialog::OpenMultiFile:
            if (!exists || !S_ISREG(st.st_mode))
                return fail("no file at " + path);
            break;
        case FileDialog::OpenFolder:
            if (!exists || !S_ISDIR(st.st_mode))
                return fail("no folder at " + path);
            break;
        case FileDialog::Save: {
            if (exists && S_ISDIR(st.st_mode))
                return fail(path + " is a folder");
            std::string::size_type slash = path.rfind('/');
            std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
            struct stat ds {};
            if (::stat(dir.c_str(), &ds) != 0 || !S_ISDIR(ds.st_mode))
                return fail("no folder at " + dir);
            break;
        }
    }
    e.chosen = path;
    e.done = true;
    return true;
}

// ---- timers and idle events --------------------------------------------------------------------

void FireTimerTicks(Int32 count)
{
    for (Int32 i = 0; i < count; ++i) {
        Internal::TickTimers();
        Paint();
    }
}

Int32 RunningTimerCount() { return Internal::RunningTimerCount(); }

void FireIdle(Int32 count)
{
    for (Int32 i = 0; i < count; ++i) {
        std::vector<Int16> targets;
        Int16 top = TopModal();
        if (!Internal::ModalStack().empty()) {
            PanelState* p = Internal::FindPanelState(top);
            if (Internal::ModalStack().back().kind == Internal::ModalEntry::Dialog && p != nullptr && p->idleEnabled)
                targets.push_back(top);
        } else {
            for (PanelState* p : Internal::LivePanels())
                if (p->visible && p->idleEnabled)
                    targets.push_back(p->id);
        }
        for (Int16 id : targets)
            Internal::DispatchPanel(id, [](PanelObserver* o, Panel* src) { o->PanelIdle(PanelIdleEvent(src)); });
        Paint();
    }
}

// ---- painting ----------------------------------------------------------------------------------

void Paint() { Internal::PaintPending(); }

// ---- how it looks ------------------------------------------------------------------------------

namespace {

std::string IconText(const PanelState* p, Int32 icon)
{
    std::string name;
    std::string out = " icon " + std::to_string(icon);
    if (RSGetIconName(icon, p->iconModule, &name))
        out += " " + Quote(name);
    else
        out += " (missing)";
    return out;
}

void DescribeList(std::ostringstream& os, const ItemState& it)
{
    const ListState& l = *it.list;
    os << " rowHeight " << l.rowHeight << " scroll " << l.scroll << " rows " << l.rows.size() << "\n";
    for (std::size_t h = 0; h < l.headers.size(); ++h) {
        const HeaderItemState& hd = l.headers[h];
        os << "    header " << h + 1 << " " << Quote(hd.text) << " size " << hd.size << " "
           << JustName(hd.justification) << (hd.sizeable ? " sizeable" : "") << "\n";
    }
    for (std::size_t t = 0; t < l.tabs.size(); ++t) {
        const TabFieldState& tab = l.tabs[t];
        os << "    tab " << t + 1 << " " << tab.begin << "-" << tab.end << " " << JustName(tab.justification)
           << (tab.ownerDrawn ? " owner-drawn" : "") << "\n";
    }
    for (std::size_t r = 0; r < l.rows.size(); ++r) {
        const RowState& row = l.rows[r];
        os << "    row " << r + 1 << " value " << row.value << (row.selected ? " selected" : "")
           << (row.enabled ? "" : " disabled");
        for (std::size_t t = 0; t < l.tabs.size(); ++t)
            os << " | " << Quote(t < row.texts.size() ? row.texts[t] : GS::UniString());
        os << "\n";
        if (row.paintedGeneration != l.generation || row.dirtyAll)
            continue;  // not painted in the current layout
        for (const auto& [tab, painted] : row.drawings) {
            if (row.dirtyTabs.count(tab) != 0)
                continue;
            const Rect& c = painted.cell;
            os << "      cell " << tab << " (" << c.left << "," << c.top << "," << c.GetWidth() << "," << c.GetHeight()
               << ") back " << painted.drawing.startBack.ToString() << " fore " << painted.drawing.startFore.ToString()
               << "\n";
            for (const auto& op : painted.drawing.ops)
                os << "        " << op.ToString() << "\n";
        }
    }
}

}  // namespace

std::string Describe(Int16 panel)
{
    Paint();
    PanelState* p = Internal::FindPanelState(panel);
    if (p == nullptr)
        return "no panel " + std::to_string(panel) + "\n";
    std::ostringstream os;
    os << p->kind << " " << Quote(p->title) << " " << p->width << "x" << p->height
       << (p->visible ? " visible" : " hidden") << (p->grow ? " grow" : "")
       << (p->hostDisabled ? " disabled-by-host" : "") << "\n";
    for (const ItemState& it : p->items) {
        const Rect& r = it.rect;
        os << "  " << it.number << " " << it.kind << " (" << r.left << "," << r.top << "," << r.GetWidth() << ","
           << r.GetHeight() << ")";
        if (!it.enabled)
            os << " disabled";
        if (!it.visible)
            os << " hidden";
        if (p->focus == it.number)
            os << " focus";
        const std::string& k = it.kind;
        if (k == "checkbox")
            os << (it.checked ? " [x]" : " [ ]");
        if (k == "realedit") {
            os << " value " << Num(it.value);
            if (it.hasMin || it.hasMax)
                os << " range [" << (it.hasMin ? Num(it.min) : "-inf") << ", " << (it.hasMax ? Num(it.max) : "inf")
                   << "]";
        } else if (k != "separator" && k != "singlelist" && k != "multilist" && k != "popup" && k != "splitter" &&
                   k != "progressbar" && (!it.text.IsEmpty() || k == "textedit" || k == "multilineedit")) {
            os << " " << Quote(it.text);
        }
        if (k == "statictext" && it.align != DG_IS_LEFT)
            os << " " << JustName(it.align);
        if (k == "textedit" || k == "multilineedit") {
            if (it.selection.start == it.selection.end)
                os << " caret " << it.selection.start;
            else
                os << " selection " << it.selection.start << "-" << it.selection.end;
            if (it.limit > 0)
                os << " limit " << it.limit;
        }
        if (!it.tooltip.IsEmpty())
            os << " tooltip " << Quote(it.tooltip);
        if (it.icon != 0)
            os << IconText(p, it.icon);
        if (k == "progressbar")
            os << " " << it.progressMin << ".." << it.progressMax << " value " << it.progressValue;
        if (k == "splitter" && it.dragEnabled)
            os << " draggable";
        if (k == "popup" || k == "popupmenu") {
            os << (k == "popup" ? " selected " : " chosen ") << it.selectedEntry << "\n";
            for (std::size_t e = 0; e < it.entries.size(); ++e) {
                const PopEntry& en = it.entries[e];
                os << "    entry " << e + 1;
                if (en.separator)
                    os << " ---";
                else
                    os << " " << Quote(en.text);
                if (k == "popup" && !en.separator)
                    os << " value " << en.value;
                if (it.selectedEntry == static_cast<Int16>(e + 1))
                    os << " *";
                os << "\n";
            }
            continue;
        }
        if (it.list != nullptr) {
            DescribeList(os, it);
            continue;
        }
        os << "\n";
    }
    return os.str();
}

std::string DescribeOpenAlert()
{
    auto& s = Internal::ModalStack();
    if (s.empty())
        return std::string();
    const auto& top = s.back();
    // The log line without the answer still to come.
    std::string line;
    if (top.kind == Internal::ModalEntry::Alert)
        line = TheLogs().alerts[top.record].ToString();
    else if (top.kind == Internal::ModalEntry::FileDialog)
        line = TheLogs().fileDialogs[top.record].ToString();
    else
        return std::string();
    return line.substr(0, line.rfind(" -> ")) + "\n";
}

// ---- logs --------------------------------------------------------------------------------------

const std::vector<AlertRecord>& AlertLog() { return TheLogs().alerts; }
const std::vector<FileDialogRecord>& FileDialogLog() { return TheLogs().fileDialogs; }
Int32 BeepCount() { return TheLogs().beeps; }
Int32 AbandonedModals() { return TheLogs().abandoned; }
void ResetLogs()
{
    // Records of a modal still open stay addressable until it closes.
    if (Internal::ModalStack().empty()) {
        TheLogs().alerts.clear();
        TheLogs().fileDialogs.clear();
    }
    TheLogs().beeps = 0;
    TheLogs().abandoned = 0;
}

}  // namespace User
}  // namespace DG
