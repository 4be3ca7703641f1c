#include "DG/DGPanel.hpp"

#include <algorithm>
#include <cfloat>
#include <map>
#include <nlohmann/json.hpp>
#include <set>

#include "DG/DGState.hpp"
#include "GSRoot/Debug.hpp"
#include "GSRoot/Internal.hpp"

namespace DG {

namespace {

struct Registry {
    std::map<Int16, PanelState*> byId;
    std::vector<PanelState*> order;
    std::set<const Item*> orphans;  // handles whose panel is gone
    Int16 nextId = 1;
};

Registry& Reg() { return GS::Internal::Immortal<Registry>(); }

Int16 NewPanelId()
{
    Registry& r = Reg();
    for (int tries = 0; tries < 32767; ++tries) {
        Int16 id = r.nextId;
        r.nextId = static_cast<Int16>(r.nextId == 32767 ? 1 : r.nextId + 1);
        if (r.byId.count(id) == 0)
            return id;
    }
    return 0;
}

Justification ParseAlign(const std::string& text)
{
    if (text == "center" || text == "centre")
        return DG_IS_CENTER;
    if (text == "right")
        return DG_IS_RIGHT;
    return DG_IS_LEFT;
}

const std::set<std::string>& ItemKinds()
{
    static const std::set<std::string> kinds = {"button",        "iconbutton", "statictext",  "separator", "textedit",
                                                "multilineedit", "realedit",   "checkbox",    "popup",     "popupmenu",
                                                "singlelist",    "multilist",  "progressbar", "splitter"};
    return kinds;
}

// Fills the state from the resource; false (with a debug line) when it is missing or malformed.
bool LoadResource(PanelState& st, GSResModule module, Int16 resId)
{
    std::string text;
    if (!RSGetDialogResource(resId, module, &text)) {
        DBPrintf("DG: dialog resource %d not found\n", static_cast<int>(resId));
        return false;
    }
    try {
        auto doc = nlohmann::json::parse(text);
        st.kind = doc.value("kind", std::string("palette"));
        st.title = GS::UniString(doc.value("title", std::string()));
        st.width = static_cast<Int16>(doc.value("width", 0));
        st.height = static_cast<Int16>(doc.value("height", 0));
        st.grow = doc.value("grow", false);
        st.closeBox = doc.value("closeBox", true);
        if (doc.contains("items")) {
            for (auto& j : doc["items"]) {
                ItemState it;
                it.number = static_cast<Int16>(st.items.size() + 1);
                it.name = j.value("name", std::string());
                it.kind = j.at("kind").get<std::string>();
                if (ItemKinds().count(it.kind) == 0)
                    throw std::runtime_error("unknown item kind " + it.kind);
                auto r = j.at("rect");
                it.rect = Rect::FromXYWH(r.at(0).get<Int16>(), r.at(1).get<Int16>(), r.at(2).get<Int16>(),
                                         r.at(3).get<Int16>());
                it.text = GS::UniString(j.value("text", std::string()));
                it.tooltip = GS::UniString(j.value("tooltip", std::string()));
                it.icon = j.value("icon", 0);
                it.limit = j.value("limit", 0);
                if (j.contains("min")) {
                    it.hasMin = true;
                    it.min = j["min"].get<double>();
                }
                if (j.contains("max")) {
                    it.hasMax = true;
                    it.max = j["max"].get<double>();
                }
                if (!it.hasMin)
                    it.min = -DBL_MAX;
                if (!it.hasMax)
                    it.max = DBL_MAX;
                it.align = ParseAlign(j.value("align", std::string("left")));
                if (it.kind == "singlelist" || it.kind == "multilist") {
                    it.list = std::make_unique<ListState>();
                    it.list->multi = it.kind == "multilist";
                    it.list->rowHeight = static_cast<Int16>(j.value("rowHeight", 18));
                    TabFieldState tab;
                    tab.end = it.rect.GetWidth();
                    it.list->tabs.push_back(tab);
                    HeaderItemState header;
                    header.size = it.rect.GetWidth();
                    it.list->headers.push_back(header);
                }
                if (it.kind == "realedit")
                    it.value = it.hasMin && it.min > 0 ? it.min : 0.0;
                st.items.push_back(std::move(it));
            }
        }
    } catch (const std::exception& e) {
        DBPrintf("DG: dialog resource %d is malformed: %s\n", static_cast<int>(resId), e.what());
        st.items.clear();
        return false;
    }
    return true;
}

}  // namespace

// ---- internal registry -------------------------------------------------------------------------

namespace Internal {

PanelState* FindPanelState(Int16 id)
{
    auto it = Reg().byId.find(id);
    return it == Reg().byId.end() ? nullptr : it->second;
}

std::vector<PanelState*> LivePanels() { return Reg().order; }

PanelState* ResolvePanel(const Item* handle)
{
    if (handle == nullptr || Reg().orphans.count(handle) != 0 || handle->GetPanel() == nullptr)
        return nullptr;
    PanelState* p = handle->GetPanel()->State();
    if (p == nullptr || p->id == 0)
        return nullptr;
    return p;
}

bool ForgetOrphan(const Item* handle) { return Reg().orphans.erase(handle) != 0; }

ItemState* Resolve(const Item* handle)
{
    PanelState* p = ResolvePanel(handle);
    return p != nullptr ? p->GetItem(handle->GetId()) : nullptr;
}

Item* EventSource(PanelState* panel, ItemState* item)
{
    if (!item->handles.empty())
        return item->handles.back();
    if (item->fallback == nullptr)
        item->fallback = std::make_unique<Item>(*panel->panel, item->number);  // registers itself
    return item->fallback.get();
}

void VisibleRows(const ItemState* item, Int16* first, Int16* last)
{
    const ListState& l = *item->list;
    Int32 count = static_cast<Int32>(l.rows.size());
    Int32 area = item->rect.GetHeight() - 20;
    Int32 h = l.rowHeight > 0 ? l.rowHeight : 1;
    Int32 shown = area > 0 ? (area + h - 1) / h : 0;  // partly visible rows are painted too
    Int32 top = l.scroll < 1 ? 1 : l.scroll;
    *first = static_cast<Int16>(top);
    Int32 end = top + shown - 1;
    *last = static_cast<Int16>(end > count ? count : end);
}

void InvalidateList(ItemState* item)
{
    if (item != nullptr && item->list != nullptr)
        ++item->list->generation;
}

void InvalidateRow(ItemState* item, Int16 row)
{
    if (item == nullptr || item->list == nullptr || row < 1 || static_cast<std::size_t>(row) > item->list->rows.size())
        return;
    item->list->rows[static_cast<std::size_t>(row) - 1].dirtyAll = true;
}

void InvalidateCell(ItemState* item, Int16 row, Int16 tabField)
{
    if (item == nullptr || item->list == nullptr || row < 1 || static_cast<std::size_t>(row) > item->list->rows.size())
        return;
    item->list->rows[static_cast<std::size_t>(row) - 1].dirtyTabs.insert(tabField);
}

void InvalidatePanel(PanelState* panel)
{
    for (auto& it : panel->items)
        InvalidateList(&it);
}

void PaintPending()
{
    struct Cell {
        Int16 panel, item, row, tab;
        bool whole;
    };
    std::vector<Cell> cells;
    for (PanelState* p : LivePanels()) {
        if (!p->visible)
            continue;
        for (auto& it : p->items) {
            if (it.list == nullptr || !it.visible)
                continue;
            ListState& l = *it.list;
            Int16 first, last;
            VisibleRows(&it, &first, &last);
            for (Int16 r = first; r <= last; ++r) {
                RowState& row = l.rows[static_cast<std::size_t>(r) - 1];
                bool whole = row.paintedGeneration != l.generation || row.dirtyAll;
                if (!whole && row.dirtyTabs.empty())
                    continue;
                for (std::size_t t = 0; t < l.tabs.size(); ++t) {
                    const TabFieldState& tab = l.tabs[t];
                    Int16 tabNo = static_cast<Int16>(t + 1);
                    if (!tab.ownerDrawn || tab.end <= tab.begin)
                        continue;  // nothing to paint in an empty or reversed range
                    if (whole || row.dirtyTabs.count(tabNo) != 0)
                        cells.push_back({p->id, it.number, r, tabNo, whole});
                }
                if (whole)
                    row.drawings.clear();
                for (Int16 t : row.dirtyTabs)
                    row.drawings.erase(t);
                row.paintedGeneration = l.generation;
                row.dirtyAll = false;
                row.dirtyTabs.clear();
            }
        }
    }
    for (const Cell& c : cells) {
        PanelState* p = FindPanelState(c.panel);
        ItemState* it = p != nullptr ? p->GetItem(c.item) : nullptr;
        if (it == nullptr || it->list == nullptr)
            continue;
        ListState& l = *it->list;
        if (c.row > static_cast<Int16>(l.rows.size()) || c.tab > static_cast<Int16>(l.tabs.size()))
            continue;
        const RowState& row = l.rows[static_cast<std::size_t>(c.row) - 1];
        const TabFieldState& tab = l.tabs[static_cast<std::size_t>(c.tab) - 1];
        Int16 top = static_cast<Int16>(20 + (c.row - l.scroll) * l.rowHeight);
        Rect cell(tab.begin, top, tab.end, static_cast<Int16>(top + l.rowHeight));
        Graphix::CellDrawing drawing;
        if (row.selected) {
            drawing.startBack = Gfx::Color(51, 102, 204);
            drawing.startFore = Gfx::Color(255, 255, 255);
        } else {
            drawing.startBack = Gfx::Color(255, 255, 255);
            drawing.startFore = row.enabled ? Gfx::Color(0, 0, 0) : Gfx::Color(128, 128, 128);
        }
        DispatchItem<ListBoxObserver>(c.panel, c.item, [&](ListBoxObserver* o, Item* src) {
            o->ListBoxTabFieldUpdate(ListBoxTabFieldUpdateEvent(src, c.row, c.tab, cell, &drawing));
        });
        p = FindPanelState(c.panel);
        it = p != nullptr ? p->GetItem(c.item) : nullptr;
        if (it == nullptr || it->list == nullptr || c.row > static_cast<Int16>(it->list->rows.size()))
            continue;
        RowState::Painted painted;
        painted.cell = cell;
        painted.drawing = std::move(drawing);
        it->list->rows[static_cast<std::size_t>(c.row) - 1].drawings[c.tab] = std::move(painted);
    }
}

// ---- the user side and modal loops -----------------------------------------------------------

namespace {
UserSide* theUserSide = nullptr;
}

UserSide::~UserSide() = default;
void SetUserSide(UserSide* side) { theUserSide = side; }

std::vector<ModalEntry>& ModalStack() { return GS::Internal::Immortal<std::vector<ModalEntry>>(); }

bool RunModalLoop(const std::function<bool()>& done)
{
    while (!done()) {
        PaintPending();
        if (done())
            break;
        if (theUserSide == nullptr || !theUserSide->NextAction()) {
            ++TheLogs().abandoned;
            return false;
        }
    }
    return true;
}

}  // namespace Internal

// ---- observers ---------------------------------------------------------------------------------

PanelObserver::~PanelObserver()
{
    for (PanelState* p : Reg().order) {
        auto& v = p->observers;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
    }
}
void PanelObserver::PanelOpened(const PanelOpenEvent&) {}
void PanelObserver::PanelCloseRequested(const PanelCloseRequestEvent&, bool*) {}
void PanelObserver::PanelClosed(const PanelCloseEvent&) {}
void PanelObserver::PanelResized(const PanelResizeEvent&) {}
void PanelObserver::PanelHotkeyPressed(const PanelHotKeyEvent&, bool*) {}
void PanelObserver::PanelIdle(const PanelIdleEvent&) {}

// ---- panels ------------------------------------------------------------------------------------

Panel::Panel(GSResModule resModule, Int16 resId, GSResModule iconModule) : state(std::make_unique<PanelState>())
{
    state->panel = this;
    state->resourceId = resId;
    state->iconModule = iconModule;
    if (LoadResource(*state, resModule, resId)) {
        state->id = NewPanelId();
        if (state->id != 0) {
            Reg().byId[state->id] = state.get();
            Reg().order.push_back(state.get());
        }
    }
}

Panel::~Panel()
{
    Registry& r = Reg();
    if (state->id != 0) {
        r.byId.erase(state->id);
        r.order.erase(std::remove(r.order.begin(), r.order.end(), state.get()), r.order.end());
        auto& stack = Internal::ModalStack();
        for (auto& e : stack)
            if (e.kind == Internal::ModalEntry::Dialog && e.panelId == state->id)
                e.done = true;
    }
    for (auto& it : state->items) {
        for (Item* h : it.handles)
            r.orphans.insert(h);
    }
    for (Item* h : state->strayHandles)
        r.orphans.insert(h);
    for (auto& it : state->items)
        it.fallback.reset();  // an orphan now: its destructor touches nothing
}

Int16 Panel::GetId() const { return state->id; }
Int16 Panel::GetResourceId() const { return state->resourceId; }

void Panel::Attach(PanelObserver& observer)
{
    if (state->id == 0)
        return;
    for (auto* o : state->observers)
        if (o == &observer)
            return;
    state->observers.push_back(&observer);
}

void Panel::Detach(PanelObserver& observer)
{
    auto& v = state->observers;
    v.erase(std::remove(v.begin(), v.end(), &observer), v.end());
}

GS::UniString Panel::GetTitle() const { return state->title; }
void Panel::SetTitle(const GS::UniString& title)
{
    if (state->id != 0)
        state->title = title;
}
Int16 Panel::GetClientWidth() const { return state->width; }
Int16 Panel::GetClientHeight() const { return state->height; }
void Panel::SetClientSize(Int16 width, Int16 height)
{
    if (state->id == 0)
        return;
    state->width = width < 0 ? 0 : width;
    state->height = height < 0 ? 0 : height;
    Internal::InvalidatePanel(state.get());
}

void Panel::BeginMoveResizeItems()
{
    if (state->id != 0)
        ++state->moveResizeDepth;
}
void Panel::EndMoveResizeItems()
{
    if (state->id != 0 && state->moveResizeDepth > 0)
        --state->moveResizeDepth;
}

void Panel::DisableItems()
{
    if (state->id != 0)
        state->hostDisabled = true;
}
void Panel::EnableItems()
{
    if (state->id != 0)
        state->hostDisabled = false;
}
bool Panel::AreItemsDisabled() const { return state->hostDisabled; }

Int16 Panel::RegisterHotKey(Int16 keyCode, Key::Modifier modifiers)
{
    if (state->id == 0)
        return 0;
    HotKey k;
    k.id = state->nextHotKey++;
    k.keyCode = keyCode;
    k.modifiers = modifiers;
    state->hotKeys.push_back(k);
    return k.id;
}

void Panel::UnregisterHotKey(Int16 keyId)
{
    auto& v = state->hotKeys;
    v.erase(std::remove_if(v.begin(), v.end(), [&](const HotKey& k) { return k.id == keyId; }), v.end());
}

void Panel::Redraw()
{
    if (state->id != 0)
        Internal::InvalidatePanel(state.get());
}

Int16 Panel::GetItemCount() const { return static_cast<Int16>(state->items.size()); }
Int16 Panel::GetFocusedItem() const { return state->focus; }

void Dialog::EnableIdleEvent(bool) { State()->idleEnabled = State()->id != 0; }
void Dialog::DisableIdleEvent() { State()->idleEnabled = false; }

// ---- modal dialogs -----------------------------------------------------------------------------

ModalDialog::ModalDialog(GSResModule resModule, Int16 resId, GSResModule iconModule)
    : Dialog(resModule, resId, iconModule)
{
    State()->kind = "modal";
}

ModalDialog::~ModalDialog() = default;

ModalResponse ModalDialog::Invoke()
{
    PanelState* st = State();
    if (st->id == 0 || st->inLoop)
        return Cancel;
    const Int16 id = st->id;
    st->inLoop = true;
    st->closeAccepted = false;
    st->response = Cancel;
    st->visible = true;
    st->opened = true;
    Internal::InvalidatePanel(st);
    auto& stack = Internal::ModalStack();
    Internal::ModalEntry entry;
    entry.kind = Internal::ModalEntry::Dialog;
    entry.panelId = id;
    stack.push_back(entry);
    const std::size_t level = stack.size() - 1;

    struct Pop {
        std::size_t level;
        Int16 id;
        ~Pop()
        {
            auto& s = Internal::ModalStack();
            if (s.size() > level)
                s.resize(level);
            if (PanelState* p = Internal::FindPanelState(id)) {
                p->inLoop = false;
                p->visible = false;
            }
        }
    } pop{level, id};

    Internal::DispatchPanel(id, [](PanelObserver* o, Panel* p) { o->PanelOpened(PanelOpenEvent(p)); });
    bool finished = Internal::RunModalLoop([id]() {
        PanelState* p = Internal::FindPanelState(id);
        return p == nullptr || p->closeAccepted;
    });
    PanelState* p = Internal::FindPanelState(id);
    if (p == nullptr)
        return Cancel;
    ModalResponse response = finished ? p->response : Cancel;
    p->visible = false;
    p->inLoop = false;
    if (stack.size() > level)
        stack.resize(level);
    Internal::DispatchPanel(id, [](PanelObserver* o, Panel* panel) { o->PanelClosed(PanelCloseEvent(panel)); });
    return response;
}

void ModalDialog::PostCloseRequest(ModalResponse response)
{
    PanelState* st = State();
    if (st->id == 0 || !st->inLoop || st->closeAccepted)
        return;
    const Int16 id = st->id;
    bool accepted = true;
    Internal::DispatchPanel(id, [&](PanelObserver* o, Panel* p) {
        o->PanelCloseRequested(PanelCloseRequestEvent(p, response == Accept), &accepted);
    });
    PanelState* p = Internal::FindPanelState(id);
    if (p != nullptr && accepted && p->inLoop) {
        p->closeAccepted = true;
        p->response = response;
    }
}

bool ModalDialog::IsOpen() const { return State()->inLoop; }

// ---- palettes ----------------------------------------------------------------------------------

ModelessBase::ModelessBase(GSResModule resModule, Int16 resId, GSResModule iconModule)
    : Dialog(resModule, resId, iconModule)
{
    State()->kind = "palette";
}

ModelessBase::~ModelessBase() = default;

void ModelessBase::Show(Int16)
{
    PanelState* st = State();
    if (st->id == 0)
        return;
    bool first = !st->opened;
    st->visible = true;
    st->opened = true;
    Internal::InvalidatePanel(st);
    if (first)
        Internal::DispatchPanel(st->id, [](PanelObserver* o, Panel* p) { o->PanelOpened(PanelOpenEvent(p)); });
}

void ModelessBase::Hide()
{
    if (State()->id != 0)
        State()->visible = false;
}

bool ModelessBase::IsVisible() const { return State()->visible; }
void ModelessBase::BeginEventProcessing() { State()->eventProcessing = State()->id != 0; }
void ModelessBase::EndEventProcessing() { State()->eventProcessing = false; }

}  // namespace DG
