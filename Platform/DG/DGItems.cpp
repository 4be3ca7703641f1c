#include "DG/DGItems.hpp"

#include <algorithm>
#include <set>

#include "DG/DGState.hpp"

namespace DG {

using Internal::Resolve;

namespace {

// Every item an observer is attached to, so a destroyed observer leaves no dangling pointer.
void DetachEverywhere(ItemObserver* o)
{
    for (PanelState* p : Internal::LivePanels())
        for (auto& it : p->items)
            it.observers.erase(std::remove(it.observers.begin(), it.observers.end(), o), it.observers.end());
}

ListState* ListOf(const Item* h)
{
    ItemState* it = Resolve(h);
    return it != nullptr ? it->list.get() : nullptr;
}

RowState* RowOf(const Item* h, Int16 row)
{
    ListState* l = ListOf(h);
    if (l == nullptr || row < 1 || static_cast<std::size_t>(row) > l->rows.size())
        return nullptr;
    return &l->rows[static_cast<std::size_t>(row) - 1];
}

PopEntry* EntryOf(const Item* h, Int16 entry)
{
    ItemState* it = Resolve(h);
    if (it == nullptr || entry < 1 || static_cast<std::size_t>(entry) > it->entries.size())
        return nullptr;
    return &it->entries[static_cast<std::size_t>(entry) - 1];
}

bool IsTextKind(const std::string& k)
{
    return k == "button" || k == "iconbutton" || k == "statictext" || k == "textedit" || k == "multilineedit" ||
           k == "checkbox" || k == "realedit" || k == "popupmenu";
}

}  // namespace

// ---- observers ---------------------------------------------------------------------------------

ItemObserver::~ItemObserver() { DetachEverywhere(this); }
ButtonItemObserver::~ButtonItemObserver() = default;
void ButtonItemObserver::ButtonClicked(const ButtonClickEvent&) {}
CheckItemObserver::~CheckItemObserver() = default;
void CheckItemObserver::CheckItemChanged(const CheckItemChangeEvent&) {}
TextEditBaseObserver::~TextEditBaseObserver() = default;
void TextEditBaseObserver::TextEditChanged(const TextEditChangeEvent&) {}
PopUpObserver::~PopUpObserver() = default;
void PopUpObserver::PopUpChanged(const PopUpChangeEvent&) {}
UserControlObserver::~UserControlObserver() = default;
void UserControlObserver::UserControlChanged(const UserControlChangeEvent&) {}
SplitterObserver::~SplitterObserver() = default;
void SplitterObserver::SplitterDragged(const SplitterDragEvent&) {}
ListBoxObserver::~ListBoxObserver() = default;
void ListBoxObserver::ListBoxSelectionChanged(const ListBoxSelectionEvent&) {}
void ListBoxObserver::ListBoxDoubleClicked(const ListBoxDoubleClickEvent&) {}
void ListBoxObserver::ListBoxItemDragged(const ListBoxDragEvent&) {}
void ListBoxObserver::ListBoxMouseMoved(const ListBoxMouseMoveEvent&, Int16*) {}
void ListBoxObserver::ListBoxTabFieldUpdate(const ListBoxTabFieldUpdateEvent&) {}
Int16 ListBoxObserver::ListBoxHeaderItemResized(const ListBoxHeaderItemResizeEvent&) { return 0; }

ListBoxUpdateEventContext::ListBoxUpdateEventContext(const ListBoxTabFieldUpdateEvent& ev)
    : Graphix::NativeContext(ev.GetDrawing())
{
}

CompoundItemObserver::~CompoundItemObserver() = default;

void CompoundItemObserver::AttachToAllItems(const Panel& panel)
{
    PanelState* p = panel.State();
    if (p == nullptr || p->id == 0)
        return;
    ItemObserver* self = this;
    for (auto& it : p->items)
        if (std::find(it.observers.begin(), it.observers.end(), self) == it.observers.end())
            it.observers.push_back(self);
}

void CompoundItemObserver::DetachFromAllItems(const Panel& panel)
{
    PanelState* p = panel.State();
    if (p == nullptr)
        return;
    ItemObserver* self = this;
    for (auto& it : p->items)
        it.observers.erase(std::remove(it.observers.begin(), it.observers.end(), self), it.observers.end());
}

// ---- Item --------------------------------------------------------------------------------------

Item::Item(const Panel& panel, Int16 itemId) : panel(const_cast<Panel*>(&panel)), itemId(itemId)
{
    // Every handle is known to its panel, so it turns inert when the panel goes.
    if (ItemState* it = Resolve(this))
        it->handles.push_back(this);
    else
        panel.State()->strayHandles.push_back(this);
}

Item::~Item()
{
    if (Internal::ForgetOrphan(this))
        return;  // the panel is gone
    PanelState* p = panel->State();
    auto drop = [this](std::vector<Item*>& v) { v.erase(std::remove(v.begin(), v.end(), this), v.end()); };
    if (ItemState* it = Resolve(this))
        drop(it->handles);
    else
        drop(p->strayHandles);
}

bool Item::IsValid() const { return Resolve(this) != nullptr; }

void Item::Attach(ItemObserver& observer)
{
    if (ItemState* it = Resolve(this))
        if (std::find(it->observers.begin(), it->observers.end(), &observer) == it->observers.end())
            it->observers.push_back(&observer);
}

void Item::Detach(ItemObserver& observer)
{
    if (ItemState* it = Resolve(this))
        it->observers.erase(std::remove(it->observers.begin(), it->observers.end(), &observer), it->observers.end());
}

void Item::Show() { SetVisibility(true); }
void Item::Hide() { SetVisibility(false); }
void Item::SetVisibility(bool visible)
{
    if (ItemState* it = Resolve(this)) {
        if (visible && !it->visible)
            Internal::InvalidateList(it);
        it->visible = visible;
    }
}
bool Item::IsVisible() const
{
    ItemState* it = Resolve(this);
    return it != nullptr && it->visible;
}
void Item::Enable() { SetStatus(true); }
void Item::Disable() { SetStatus(false); }
void Item::SetStatus(bool enabled)
{
    if (ItemState* it = Resolve(this)) {
        if (it->enabled != enabled)
            Internal::InvalidateList(it);
        it->enabled = enabled;
    }
}
bool Item::IsEnabled() const
{
    ItemState* it = Resolve(this);
    return it != nullptr && it->enabled && !Internal::ResolvePanel(this)->hostDisabled;
}

Rect Item::GetRect() const
{
    ItemState* it = Resolve(this);
    return it != nullptr ? it->rect : Rect();
}
Point Item::GetPosition() const
{
    Rect r = GetRect();
    return Point(r.left, r.top);
}
Int16 Item::GetWidth() const { return GetRect().GetWidth(); }
Int16 Item::GetHeight() const { return GetRect().GetHeight(); }

void Item::SetRect(const Rect& rect)
{
    ItemState* it = Resolve(this);
    if (it == nullptr)
        return;
    if (it->rect.GetWidth() != rect.GetWidth() || it->rect.GetHeight() != rect.GetHeight())
        Internal::InvalidateList(it);
    it->rect = rect;
}
void Item::SetPosition(Int16 x, Int16 y)
{
    Rect r = GetRect();
    SetRect(Rect::FromXYWH(x, y, r.GetWidth(), r.GetHeight()));
}
void Item::SetSize(Int16 width, Int16 height)
{
    Rect r = GetRect();
    SetRect(Rect::FromXYWH(r.left, r.top, width, height));
}
void Item::SetWidth(Int16 width) { SetSize(width, GetHeight()); }
void Item::SetHeight(Int16 height) { SetSize(GetWidth(), height); }
void Item::Move(Int16 dx, Int16 dy) { MoveAndResize(dx, dy, 0, 0); }
void Item::Resize(Int16 dw, Int16 dh) { MoveAndResize(0, 0, dw, dh); }
void Item::MoveAndResize(Int16 dx, Int16 dy, Int16 dw, Int16 dh)
{
    Rect r = GetRect();
    SetRect(Rect::FromXYWH(static_cast<Int16>(r.left + dx), static_cast<Int16>(r.top + dy),
                           static_cast<Int16>(r.GetWidth() + dw), static_cast<Int16>(r.GetHeight() + dh)));
}

void Item::SetFocus()
{
    if (Resolve(this) != nullptr)
        Internal::ResolvePanel(this)->focus = itemId;
}
bool Item::IsFocused() const { return Resolve(this) != nullptr && Internal::ResolvePanel(this)->focus == itemId; }
void Item::Redraw()
{
    if (ItemState* it = Resolve(this))
        Internal::InvalidateList(it);
}

void Item::SetText(const GS::UniString& text)
{
    ItemState* it = Resolve(this);
    if (it == nullptr || !IsTextKind(it->kind))
        return;
    if (it->kind == "realedit")
        return;  // real edits hold a value
    it->text = text;
    if (it->kind == "textedit" || it->kind == "multilineedit") {
        Int32 len = static_cast<Int32>(text.GetLength());
        it->selection = CharRange(len, len);
    }
}
GS::UniString Item::GetText() const
{
    ItemState* it = Resolve(this);
    if (it == nullptr)
        return GS::UniString();
    if (it->kind == "realedit") {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%g", it->value);
        return GS::UniString(buf);
    }
    return it->text;
}
void Item::SetTooltip(const GS::UniString& text)
{
    if (ItemState* it = Resolve(this))
        it->tooltip = text;
}
GS::UniString Item::GetTooltip() const
{
    ItemState* it = Resolve(this);
    return it != nullptr ? it->tooltip : GS::UniString();
}

// ---- simple items ------------------------------------------------------------------------------

void IconButton::SetIcon(Int32 iconId)
{
    if (ItemState* it = Resolve(this))
        it->icon = iconId;
}
Int32 IconButton::GetIcon() const
{
    ItemState* it = Resolve(this);
    return it != nullptr ? it->icon : 0;
}

void StaticText::SetAlignment(Justification justification)
{
    if (ItemState* it = Resolve(this))
        it->align = justification;
}

void TextEdit::SetMaxLength(Int32 maxLength)
{
    if (ItemState* it = Resolve(this))
        it->limit = maxLength < 0 ? 0 : maxLength;
}
Int32 TextEdit::GetMaxLength() const
{
    ItemState* it = Resolve(this);
    return it != nullptr ? it->limit : 0;
}
void TextEdit::SetSelection(const CharRange& range)
{
    ItemState* it = Resolve(this);
    if (it == nullptr)
        return;
    Int32 len = static_cast<Int32>(it->text.GetLength());
    Int32 s = std::clamp(range.start, 0, len), e = std::clamp(range.end, 0, len);
    if (range.end < 0)
        e = len;  // -1: to the end
    it->selection = CharRange(std::min(s, e), std::max(s, e));
}
CharRange TextEdit::GetSelection() const
{
    ItemState* it = Resolve(this);
    return it != nullptr ? it->selection : CharRange();
}
void TextEdit::SelectAll()
{
    if (ItemState* it = Resolve(this))
        it->selection = CharRange(0, static_cast<Int32>(it->text.GetLength()));
}

void RealEdit::SetValue(double value)
{
    if (ItemState* it = Resolve(this))
        it->value = value;
}
double RealEdit::GetValue() const
{
    ItemState* it = Resolve(this);
    return it != nullptr ? it->value : 0.0;
}
void RealEdit::SetMin(double min)
{
    if (ItemState* it = Resolve(this)) {
        it->min = min;
        it->hasMin = true;
    }
}
void RealEdit::SetMax(double max)
{
    if (ItemState* it = Resolve(this)) {
        it->max = max;
        it->hasMax = true;
    }
}
double RealEdit::GetMin() const
{
    ItemState* it = Resolve(this);
    return it != nullptr ? it->min : 0.0;
}
double RealEdit::GetMax() const
{
    ItemState* it = Resolve(this);
    return it != nullptr ? it->max : 0.0;
}

void CheckBox::Check() { SetState(true); }
void CheckBox::Uncheck() { SetState(false); }
void CheckBox::SetState(bool checked)
{
    if (ItemState* it = Resolve(this))
        it->checked = checked;
}
bool CheckBox::IsChecked() const
{
    ItemState* it = Resolve(this);
    return it != nullptr && it->checked;
}

// ---- pop-ups -----------------------------------------------------------------------------------

void PopUp::AppendItem()
{
    if (ItemState* it = Resolve(this))
        it->entries.push_back(PopEntry());
}
void PopUp::AppendSeparator()
{
    if (ItemState* it = Resolve(this)) {
        PopEntry e;
        e.separator = true;
        it->entries.push_back(e);
    }
}
void PopUp::InsertItem(Int16 position)
{
    ItemState* it = Resolve(this);
    if (it == nullptr)
        return;
    Int16 count = static_cast<Int16>(it->entries.size());
    if (position == BottomItem || position > count) {
        it->entries.push_back(PopEntry());
        return;
    }
    if (position == TopItem || position < 1)
        position = 1;
    it->entries.insert(it->entries.begin() + (position - 1), PopEntry());
    if (it->selectedEntry >= position)
        ++it->selectedEntry;
}
void PopUp::DeleteItem(Int16 entry)
{
    ItemState* it = Resolve(this);
    if (it == nullptr)
        return;
    if (entry == AllItems) {
        it->entries.clear();
        it->selectedEntry = 0;
        return;
    }
    Int16 count = static_cast<Int16>(it->entries.size());
    if (entry == TopItem)
        entry = 1;
    if (entry == BottomItem)
        entry = count;
    if (entry < 1 || entry > count)
        return;
    it->entries.erase(it->entries.begin() + (entry - 1));
    if (it->selectedEntry == entry)
        it->selectedEntry = it->entries.empty() ? 0 : std::min<Int16>(entry, static_cast<Int16>(it->entries.size()));
    else if (it->selectedEntry > entry)
        --it->selectedEntry;
}
Int16 PopUp::GetItemCount() const
{
    ItemState* it = Resolve(this);
    return it != nullptr ? static_cast<Int16>(it->entries.size()) : 0;
}
static Int16 EntryIndex(const Item* h, Int16 entry)
{
    ItemState* it = Resolve(h);
    if (it == nullptr)
        return 0;
    if (entry == PopUp::TopItem)
        return 1;
    if (entry == PopUp::BottomItem)
        return static_cast<Int16>(it->entries.size());
    return entry;
}
void PopUp::SetItemText(Int16 entry, const GS::UniString& text)
{
    if (PopEntry* e = EntryOf(this, EntryIndex(this, entry)))
        e->text = text;
}
GS::UniString PopUp::GetItemText(Int16 entry) const
{
    PopEntry* e = EntryOf(this, EntryIndex(this, entry));
    return e != nullptr ? e->text : GS::UniString();
}
void PopUp::SetItemValue(Int16 entry, DGUserData value)
{
    if (PopEntry* e = EntryOf(this, EntryIndex(this, entry)))
        e->value = value;
}
DGUserData PopUp::GetItemValue(Int16 entry) const
{
    PopEntry* e = EntryOf(this, EntryIndex(this, entry));
    return e != nullptr ? e->value : 0;
}
void PopUp::SelectItem(Int16 entry)
{
    ItemState* it = Resolve(this);
    entry = EntryIndex(this, entry);
    if (it != nullptr && entry >= 1 && static_cast<std::size_t>(entry) <= it->entries.size() &&
        !it->entries[static_cast<std::size_t>(entry) - 1].separator)
        it->selectedEntry = entry;
}
Int16 PopUp::GetSelectedItem() const
{
    ItemState* it = Resolve(this);
    return it != nullptr ? it->selectedEntry : 0;
}

void PopUpMenuButton::AppendItem(const GS::UniString& text)
{
    if (ItemState* it = Resolve(this)) {
        PopEntry e;
        e.text = text;
        it->entries.push_back(e);
    }
}
void PopUpMenuButton::AppendSeparator()
{
    if (ItemState* it = Resolve(this)) {
        PopEntry e;
        e.separator = true;
        it->entries.push_back(e);
    }
}
void PopUpMenuButton::DeleteAllItems()
{
    if (ItemState* it = Resolve(this)) {
        it->entries.clear();
        it->selectedEntry = 0;
    }
}
Int16 PopUpMenuButton::GetItemCount() const
{
    ItemState* it = Resolve(this);
    return it != nullptr ? static_cast<Int16>(it->entries.size()) : 0;
}
GS::UniString PopUpMenuButton::GetItemText(Int16 entry) const
{
    PopEntry* e = EntryOf(this, entry);
    return e != nullptr ? e->text : GS::UniString();
}
bool PopUpMenuButton::IsSeparator(Int16 entry) const
{
    PopEntry* e = EntryOf(this, entry);
    return e != nullptr && e->separator;
}
Int16 PopUpMenuButton::GetValue() const
{
    ItemState* it = Resolve(this);
    return it != nullptr ? it->selectedEntry : 0;
}
void PopUpMenuButton::SetButtonType(Int32 type)
{
    if (ItemState* it = Resolve(this))
        it->buttonType = type;
}
void PopUpMenuButton::SetIcon(Int32 iconId)
{
    if (ItemState* it = Resolve(this))
        it->icon = iconId;
}

// ---- list boxes --------------------------------------------------------------------------------

namespace {
TabFieldState* TabOf(const Item* h, Int16 tab)
{
    ListState* l = ListOf(h);
    if (l == nullptr || tab < 1 || static_cast<std::size_t>(tab) > l->tabs.size())
        return nullptr;
    return &l->tabs[static_cast<std::size_t>(tab) - 1];
}
HeaderItemState* HeaderOf(const Item* h, Int16 header)
{
    ListState* l = ListOf(h);
    if (l == nullptr || header < 1 || static_cast<std::size_t>(header) > l->headers.size())
        return nullptr;
    return &l->headers[static_cast<std::size_t>(header) - 1];
}
void Repaint(const Item* h) { Internal::InvalidateList(Resolve(h)); }
}  // namespace

void ListBox::SetTabFieldCount(Int16 count)
{
    ListState* l = ListOf(this);
    if (l == nullptr || count < 0)
        return;
    l->tabs.resize(static_cast<std::size_t>(count));
    l->headers.resize(static_cast<std::size_t>(count));
    Repaint(this);
}
Int16 ListBox::GetTabFieldCount() const
{
    ListState* l = ListOf(this);
    return l != nullptr ? static_cast<Int16>(l->tabs.size()) : 0;
}
void ListBox::SetTabFieldProperties(Int16 tabField, Int16 begin, Int16 end, Justification justification, bool truncate,
                                    bool hasSeparator, bool status)
{
    if (TabFieldState* t = TabOf(this, tabField)) {
        t->begin = begin;
        t->end = end;
        t->justification = justification;
        t->truncate = truncate;
        t->separator = hasSeparator;
        t->status = status;
        Repaint(this);
    }
}
void ListBox::SetTabFieldBeginEndPosition(Int16 tabField, Int16 begin, Int16 end)
{
    if (TabFieldState* t = TabOf(this, tabField)) {
        t->begin = begin;
        t->end = end;
        Repaint(this);
    }
}
Int16 ListBox::GetTabFieldBeginPosition(Int16 tabField) const
{
    TabFieldState* t = TabOf(this, tabField);
    return t != nullptr ? t->begin : 0;
}
Int16 ListBox::GetTabFieldEndPosition(Int16 tabField) const
{
    TabFieldState* t = TabOf(this, tabField);
    return t != nullptr ? t->end : 0;
}
void ListBox::SetTabFieldJustification(Int16 tabField, Justification justification)
{
    if (TabFieldState* t = TabOf(this, tabField)) {
        t->justification = justification;
        Repaint(this);
    }
}
void ListBox::SetTabFieldOwnerDrawFlag(Int16 tabField, bool ownerDrawn)
{
    if (TabFieldState* t = TabOf(this, tabField)) {
        t->ownerDrawn = ownerDrawn;
        Repaint(this);
    }
}

void ListBox::SetHeaderSynchronState(bool synchron)
{
    if (ListState* l = ListOf(this))
        l->headerSynchron = synchron;
}
void ListBox::SetHeaderItemText(Int16 headerItem, const GS::UniString& text)
{
    if (HeaderItemState* h = HeaderOf(this, headerItem))
        h->text = text;
}
GS::UniString ListBox::GetHeaderItemText(Int16 headerItem) const
{
    HeaderItemState* h = HeaderOf(this, headerItem);
    return h != nullptr ? h->text : GS::UniString();
}
void ListBox::SetHeaderItemSize(Int16 headerItem, Int16 size)
{
    if (HeaderItemState* h = HeaderOf(this, headerItem))
        h->size = size;
}
Int16 ListBox::GetHeaderItemSize(Int16 headerItem) const
{
    HeaderItemState* h = HeaderOf(this, headerItem);
    return h != nullptr ? h->size : 0;
}
void ListBox::SetHeaderItemStyle(Int16 headerItem, Justification justification)
{
    if (HeaderItemState* h = HeaderOf(this, headerItem))
        h->justification = justification;
}
void ListBox::SetHeaderItemSizeableFlag(Int16 headerItem, bool sizeable)
{
    if (HeaderItemState* h = HeaderOf(this, headerItem))
        h->sizeable = sizeable;
}

void ListBox::EnableMouseMoveEvent()
{
    if (ListState* l = ListOf(this))
        l->mouseMoveEvents = true;
}
void ListBox::SetItemHeight(Int16 height)
{
    if (ListState* l = ListOf(this)) {
        l->rowHeight = height < 1 ? 1 : height;
        Repaint(this);
    }
}
Int16 ListBox::GetItemHeight() const
{
    ListState* l = ListOf(this);
    return l != nullptr ? l->rowHeight : 0;
}
Int16 ListBox::GetItemWidth() const
{
    ItemState* it = Resolve(this);
    return it != nullptr && it->list != nullptr ? it->rect.GetWidth() : 0;
}

void ListBox::AppendItem()
{
    ItemState* it = Resolve(this);
    if (it == nullptr || it->list == nullptr)
        return;
    it->list->rows.emplace_back();
    // Only a row that lands in view needs painting; the others are painted when scrolled to.
    it->list->rows.back().dirtyAll = true;
}
void ListBox::InsertItem(Int16 row)
{
    ItemState* it = Resolve(this);
    if (it == nullptr || it->list == nullptr)
        return;
    auto& rows = it->list->rows;
    Int16 count = static_cast<Int16>(rows.size());
    if (row == BottomItem || row > count) {
        AppendItem();
        return;
    }
    if (row == TopItem || row < 1)
        row = 1;
    rows.insert(rows.begin() + (row - 1), RowState());
    Internal::InvalidateList(it);  // the rows below moved
}
void ListBox::DeleteItem(Int16 row)
{
    ItemState* it = Resolve(this);
    if (it == nullptr || it->list == nullptr)
        return;
    auto& rows = it->list->rows;
    if (row == AllItems) {
        rows.clear();
        it->list->scroll = 1;
    } else {
        Int16 count = static_cast<Int16>(rows.size());
        if (row == TopItem)
            row = 1;
        if (row == BottomItem)
            row = count;
        if (row < 1 || row > count)
            return;
        rows.erase(rows.begin() + (row - 1));
        if (it->list->scroll > static_cast<Int16>(rows.size()))
            it->list->scroll = static_cast<Int16>(rows.empty() ? 1 : rows.size());
    }
    Internal::InvalidateList(it);
}
Int16 ListBox::GetItemCount() const
{
    ListState* l = ListOf(this);
    return l != nullptr ? static_cast<Int16>(l->rows.size()) : 0;
}
void ListBox::SetTabItemText(Int16 row, Int16 tabField, const GS::UniString& text)
{
    RowState* r = RowOf(this, row);
    ListState* l = ListOf(this);
    if (r == nullptr || tabField < 1 || static_cast<std::size_t>(tabField) > l->tabs.size())
        return;
    if (r->texts.size() < static_cast<std::size_t>(tabField))
        r->texts.resize(static_cast<std::size_t>(tabField));
    r->texts[static_cast<std::size_t>(tabField) - 1] = text;
    Internal::InvalidateCell(Resolve(this), row, tabField);
}
GS::UniString ListBox::GetTabItemText(Int16 row, Int16 tabField) const
{
    RowState* r = RowOf(this, row);
    if (r == nullptr || tabField < 1 || static_cast<std::size_t>(tabField) > r->texts.size())
        return GS::UniString();
    return r->texts[static_cast<std::size_t>(tabField) - 1];
}
void ListBox::SetItemValue(Int16 row, DGUserData value)
{
    if (RowState* r = RowOf(this, row)) {
        if (r->value != value)
            r->dirtyAll = true;  // owner drawing looks its record up by the value
        r->value = value;
    }
}
DGUserData ListBox::GetItemValue(Int16 row) const
{
    RowState* r = RowOf(this, row);
    return r != nullptr ? r->value : 0;
}
void ListBox::SetItemStatus(Int16 row, bool enabled)
{
    if (RowState* r = RowOf(this, row)) {
        if (r->enabled != enabled)
            r->dirtyAll = true;
        r->enabled = enabled;
    }
}
bool ListBox::IsItemEnabled(Int16 row) const
{
    RowState* r = RowOf(this, row);
    return r != nullptr && r->enabled;
}

void ListBox::SelectItem(Int16 row)
{
    ListState* l = ListOf(this);
    if (l == nullptr)
        return;
    if (row == AllItems) {
        if (!l->multi)
            return;
        for (auto& r : l->rows)
            if (!r.selected) {
                r.selected = true;
                r.dirtyAll = true;
            }
        return;
    }
    RowState* r = RowOf(this, row);
    if (r == nullptr)
        return;
    if (!l->multi)
        for (auto& other : l->rows)
            if (other.selected && &other != r) {
                other.selected = false;
                other.dirtyAll = true;
            }
    if (!r->selected) {
        r->selected = true;
        r->dirtyAll = true;
    }
}
void ListBox::DeselectItem(Int16 row)
{
    ListState* l = ListOf(this);
    if (l == nullptr)
        return;
    if (row == AllItems) {
        for (auto& r : l->rows)
            if (r.selected) {
                r.selected = false;
                r.dirtyAll = true;
            }
        return;
    }
    if (RowState* r = RowOf(this, row))
        if (r->selected) {
            r->selected = false;
            r->dirtyAll = true;
        }
}
Int16 ListBox::GetSelectedItem() const
{
    ListState* l = ListOf(this);
    if (l == nullptr)
        return 0;
    for (std::size_t i = 0; i < l->rows.size(); ++i)
        if (l->rows[i].selected)
            return static_cast<Int16>(i + 1);
    return 0;
}
Int16 ListBox::GetSelectedCount() const
{
    ListState* l = ListOf(this);
    if (l == nullptr)
        return 0;
    return static_cast<Int16>(
        std::count_if(l->rows.begin(), l->rows.end(), [](const RowState& r) { return r.selected; }));
}
GS::Array<Int16> ListBox::GetSelectedItems() const
{
    GS::Array<Int16> result;
    if (ListState* l = ListOf(this))
        for (std::size_t i = 0; i < l->rows.size(); ++i)
            if (l->rows[i].selected)
                result.Push(static_cast<Int16>(i + 1));
    return result;
}

void ListBox::SetScrollPosition(Int16 topRow)
{
    ListState* l = ListOf(this);
    if (l == nullptr)
        return;
    Int16 count = static_cast<Int16>(l->rows.size());
    Int16 top = std::clamp<Int16>(topRow, 1, count < 1 ? 1 : count);
    if (top != l->scroll) {
        l->scroll = top;
        ++l->generation;
    }
}
Int16 ListBox::GetScrollPosition() const
{
    ListState* l = ListOf(this);
    return l != nullptr ? l->scroll : 0;
}

// ---- progress bars and splitters ---------------------------------------------------------------

void ProgressBar::SetMin(Int32 min)
{
    if (ItemState* it = Resolve(this))
        it->progressMin = min;
}
void ProgressBar::SetMax(Int32 max)
{
    if (ItemState* it = Resolve(this))
        it->progressMax = max;
}
void ProgressBar::SetValue(Int32 value)
{
    if (ItemState* it = Resolve(this))
        it->progressValue = value;
}
Int32 ProgressBar::GetMin() const
{
    ItemState* it = Resolve(this);
    return it != nullptr ? it->progressMin : 0;
}
Int32 ProgressBar::GetMax() const
{
    ItemState* it = Resolve(this);
    return it != nullptr ? it->progressMax : 0;
}
Int32 ProgressBar::GetValue() const
{
    ItemState* it = Resolve(this);
    return it != nullptr ? it->progressValue : 0;
}

void Splitter::EnableDrag()
{
    if (ItemState* it = Resolve(this))
        it->dragEnabled = true;
}

}  // namespace DG
