#pragma once
// Items of a panel, their observers and events.
//
// An item object is a handle on item n of a live panel (the state lives in the panel). Constructing
// a handle registers it as the item's object, so an event's GetSource() is the handle the owner made
// (compare pointers or GetId()). A handle on a missing item, or on a panel without id, does nothing.
// Item numbers count from 1, list rows and pop-up entries from 1, tab fields and header items from 1.
#include "DG/DGPanel.hpp"
#include "GSRoot/Array.hpp"
#include "Graphix/Graphix.hpp"

namespace DG {

class Item;
class ListBox;

// ---- observers -------------------------------------------------------------------------------
// Every observer kind derives virtually from ItemObserver, so one object can observe as many kinds
// as it likes; an event reaches an attached observer only when it is of the matching kind.

class ItemObserver {
public:
    virtual ~ItemObserver();
};

class ItemEvent {
public:
    explicit ItemEvent(Item* source) : source(source) {}
    Item* GetSource() const { return source; }

private:
    Item* source;
};

class ButtonClickEvent : public ItemEvent {
public:
    using ItemEvent::ItemEvent;
};
class ButtonItemObserver : public virtual ItemObserver {
public:
    ~ButtonItemObserver() override;
    virtual void ButtonClicked(const ButtonClickEvent& ev);
};

class CheckItemChangeEvent : public ItemEvent {
public:
    using ItemEvent::ItemEvent;
};
class CheckItemObserver : public virtual ItemObserver {
public:
    ~CheckItemObserver() override;
    virtual void CheckItemChanged(const CheckItemChangeEvent& ev);
};

// Sent for text edits, multi-line edits and real edits after the user changed the text.
class TextEditChangeEvent : public ItemEvent {
public:
    using ItemEvent::ItemEvent;
};
class TextEditBaseObserver : public virtual ItemObserver {
public:
    ~TextEditBaseObserver() override;
    virtual void TextEditChanged(const TextEditChangeEvent& ev);
};
using RealEditObserver = TextEditBaseObserver;

class PopUpChangeEvent : public ItemEvent {
public:
    PopUpChangeEvent(Item* source, Int16 previous) : ItemEvent(source), previous(previous) {}
    Int16 GetPreviousSelection() const { return previous; }

private:
    Int16 previous;
};
class PopUpObserver : public virtual ItemObserver {
public:
    ~PopUpObserver() override;
    virtual void PopUpChanged(const PopUpChangeEvent& ev);
};

// A pop-up menu button (a user control): the user chose an entry.
class UserControlChangeEvent : public ItemEvent {
public:
    using ItemEvent::ItemEvent;
};
class UserControlObserver : public virtual ItemObserver {
public:
    ~UserControlObserver() override;
    virtual void UserControlChanged(const UserControlChangeEvent& ev);
};

class SplitterDragEvent : public ItemEvent {
public:
    SplitterDragEvent(Item* source, Int16 position) : ItemEvent(source), position(position) {}
    // The splitter's new x (panel coordinates); the owner moves it.
    Int16 GetPosition() const { return position; }

private:
    Int16 position;
};
class SplitterObserver : public virtual ItemObserver {
public:
    ~SplitterObserver() override;
    virtual void SplitterDragged(const SplitterDragEvent& ev);
};

class ListBoxSelectionEvent : public ItemEvent {
public:
    using ItemEvent::ItemEvent;
};
class ListBoxDoubleClickEvent : public ItemEvent {
public:
    ListBoxDoubleClickEvent(Item* source, Int16 row) : ItemEvent(source), row(row) {}
    Int16 GetListItem() const { return row; }

private:
    Int16 row;
};
// After the list moved a dragged row (and its value) from one place to another.
class ListBoxDragEvent : public ItemEvent {
public:
    ListBoxDragEvent(Item* source, Int16 from, Int16 to) : ItemEvent(source), from(from), to(to) {}
    Int16 GetPreviousIndex() const { return from; }
    Int16 GetNewIndex() const { return to; }

private:
    Int16 from, to;
};
// The pointer moved over a row; the observer sets *inArea to 1 where a drag may start.
class ListBoxMouseMoveEvent : public ItemEvent {
public:
    ListBoxMouseMoveEvent(Item* source, Int16 row, Int16 tabField, Point position)
        : ItemEvent(source), row(row), tabField(tabField), position(position)
    {
    }
    Int16 GetListItem() const { return row; }
    // The tab field under the pointer, 0 when none.
    Int16 GetTabFieldIndex() const { return tabField; }
    Point GetPosition() const { return position; }

private:
    Int16 row, tabField;
    Point position;
};
class ListBoxHeaderItemResizeEvent : public ItemEvent {
public:
    ListBoxHeaderItemResizeEvent(Item* source, Int16 headerItem, Int16 change)
        : ItemEvent(source), headerItem(headerItem), change(change)
    {
    }
    Int16 GetHeaderItem() const { return headerItem; }
    // How much the user widened (positive) or narrowed the header item.
    Int16 GetResizeDifference() const { return change; }

private:
    Int16 headerItem, change;
};
// One owner-drawn cell to paint; draw into it with a ListBoxUpdateEventContext.
class ListBoxTabFieldUpdateEvent : public ItemEvent {
public:
    ListBoxTabFieldUpdateEvent(Item* source, Int16 row, Int16 tabField, Rect cell, Graphix::CellDrawing* drawing)
        : ItemEvent(source), row(row), tabField(tabField), cell(cell), drawing(drawing)
    {
    }
    Int16 GetListItem() const { return row; }
    Int16 GetTabFieldIndex() const { return tabField; }
    // The cell in list coordinates; drawing coordinates start at its top left (0, 0).
    Rect GetRect() const { return cell; }
    Int16 GetWidth() const { return cell.GetWidth(); }
    Int16 GetHeight() const { return cell.GetHeight(); }
    Graphix::CellDrawing* GetDrawing() const { return drawing; }

private:
    Int16 row, tabField;
    Rect cell;
    Graphix::CellDrawing* drawing;
};
// The drawing context of one owner-drawn cell: starts with the cell's back and fore colours (a dark
// back colour and white fore colour for selected rows; grey fore for disabled ones).
class ListBoxUpdateEventContext : public Graphix::NativeContext {
public:
    explicit ListBoxUpdateEventContext(const ListBoxTabFieldUpdateEvent& ev);
};
class ListBoxObserver : public virtual ItemObserver {
public:
    ~ListBoxObserver() override;
    virtual void ListBoxSelectionChanged(const ListBoxSelectionEvent& ev);
    virtual void ListBoxDoubleClicked(const ListBoxDoubleClickEvent& ev);
    virtual void ListBoxItemDragged(const ListBoxDragEvent& ev);
    virtual void ListBoxMouseMoved(const ListBoxMouseMoveEvent& ev, Int16* inArea);
    virtual void ListBoxTabFieldUpdate(const ListBoxTabFieldUpdateEvent& ev);
    // The result is ignored by the list.
    virtual Int16 ListBoxHeaderItemResized(const ListBoxHeaderItemResizeEvent& ev);
};

// Observes every item of a panel at once: AttachToAllItems attaches this object to each item.
class CompoundItemObserver : public virtual ItemObserver {
public:
    ~CompoundItemObserver() override;
    void AttachToAllItems(const Panel& panel);
    void DetachFromAllItems(const Panel& panel);
};

// ---- items -----------------------------------------------------------------------------------

class Item {
public:
    Item(const Panel& panel, Int16 itemId);
    virtual ~Item();
    Item(const Item&) = delete;
    Item& operator=(const Item&) = delete;

    Panel* GetPanel() const { return panel; }
    Int16 GetId() const { return itemId; }
    // False when the panel has no such item.
    bool IsValid() const;

    void Attach(ItemObserver& observer);
    void Detach(ItemObserver& observer);

    void Show();
    void Hide();
    void SetVisibility(bool visible);
    bool IsVisible() const;
    void Enable();
    void Disable();
    void SetStatus(bool enabled);
    bool IsEnabled() const;

    Rect GetRect() const;
    Point GetPosition() const;
    Int16 GetWidth() const;
    Int16 GetHeight() const;
    void SetRect(const Rect& rect);
    void SetPosition(Int16 x, Int16 y);
    void SetSize(Int16 width, Int16 height);
    void SetWidth(Int16 width);
    void SetHeight(Int16 height);
    void Move(Int16 dx, Int16 dy);
    void Resize(Int16 dw, Int16 dh);
    void MoveAndResize(Int16 dx, Int16 dy, Int16 dw, Int16 dh);

    void SetFocus();
    bool IsFocused() const;
    void Redraw();

    // The item's text (button, static text, edit, check box); items without text ignore it.
    void SetText(const GS::UniString& text);
    GS::UniString GetText() const;
    void SetTooltip(const GS::UniString& text);
    GS::UniString GetTooltip() const;

private:
    Panel* panel;
    Int16 itemId;
};

class Button : public Item {
public:
    using Item::Item;
};

class IconButton : public Button {
public:
    using Button::Button;
    void SetIcon(Int32 iconId);
    Int32 GetIcon() const;
};

class StaticText : public Item {
public:
    using Item::Item;
    void SetAlignment(Justification justification);
};
using LeftText = StaticText;
using RightText = StaticText;
using CenterText = StaticText;

class Separator : public Item {
public:
    using Item::Item;
};

// Single-line text edit. The length limit (from the resource, 0 = none) applies to what the user
// types; SetText from code is kept as given.
class TextEdit : public Item {
public:
    using Item::Item;
    void SetMaxLength(Int32 maxLength);
    Int32 GetMaxLength() const;
    void SetSelection(const CharRange& range);
    CharRange GetSelection() const;
    void SelectAll();
};

// Multi-line edit; GetText gives the host's default line ends ("\n").
class MultiLineEdit : public TextEdit {
public:
    using TextEdit::TextEdit;
};

// Number edit. The range (from the resource) applies to what the user types: a typed value outside
// it is held at the nearer end. SetValue from code is kept as given.
class RealEdit : public Item {
public:
    using Item::Item;
    void SetValue(double value);
    double GetValue() const;
    void SetMin(double min);
    void SetMax(double max);
    double GetMin() const;
    double GetMax() const;
};

class CheckBox : public Item {
public:
    using Item::Item;
    void Check();
    void Uncheck();
    void SetState(bool checked);
    bool IsChecked() const;
};

// Pop-up list of entries with values; 0 means no entry selected.
class PopUp : public Item {
public:
    using Item::Item;
    enum : Int16 { AllItems = 0, TopItem = -1, BottomItem = -2 };

    // Appends an entry (or a separator) at the end.
    void AppendItem();
    void AppendSeparator();
    void InsertItem(Int16 position);
    // An entry number, or AllItems.
    void DeleteItem(Int16 entry);
    Int16 GetItemCount() const;
    void SetItemText(Int16 entry, const GS::UniString& text);
    GS::UniString GetItemText(Int16 entry) const;
    void SetItemValue(Int16 entry, DGUserData value);
    DGUserData GetItemValue(Int16 entry) const;
    void SelectItem(Int16 entry);
    Int16 GetSelectedItem() const;
};
using PopUpControl = PopUp;

// A button that drops down a menu of entries (and separators); choosing an entry fires
// UserControlChanged, after which GetValue is the chosen entry's number.
class PopUpMenuButton : public Item {
public:
    using Item::Item;
    void AppendItem(const GS::UniString& text);
    void AppendSeparator();
    void DeleteAllItems();
    Int16 GetItemCount() const;
    GS::UniString GetItemText(Int16 entry) const;
    bool IsSeparator(Int16 entry) const;
    Int16 GetValue() const;
    void SetButtonType(Int32 type);
    void SetIcon(Int32 iconId);
};
using UserControl = PopUpMenuButton;

class ListBox : public Item {
public:
    using Item::Item;
    enum : Int16 { AllItems = 0, TopItem = -1, BottomItem = -2 };

    // Tab fields (columns): positions in pixels from the list's left edge.
    void SetTabFieldCount(Int16 count);
    Int16 GetTabFieldCount() const;
    void SetTabFieldProperties(Int16 tabField, Int16 begin, Int16 end, Justification justification,
                               bool truncate = false, bool hasSeparator = false, bool status = true);
    void SetTabFieldBeginEndPosition(Int16 tabField, Int16 begin, Int16 end);
    Int16 GetTabFieldBeginPosition(Int16 tabField) const;
    Int16 GetTabFieldEndPosition(Int16 tabField) const;
    void SetTabFieldJustification(Int16 tabField, Justification justification);
    void SetTabFieldOwnerDrawFlag(Int16 tabField, bool ownerDrawn);

    // Header: one item per tab field.
    void SetHeaderSynchronState(bool synchron);
    void SetHeaderItemText(Int16 headerItem, const GS::UniString& text);
    GS::UniString GetHeaderItemText(Int16 headerItem) const;
    void SetHeaderItemSize(Int16 headerItem, Int16 size);
    Int16 GetHeaderItemSize(Int16 headerItem) const;
    void SetHeaderItemStyle(Int16 headerItem, Justification justification);
    void SetHeaderItemSizeableFlag(Int16 headerItem, bool sizeable);

    void EnableMouseMoveEvent();
    void SetItemHeight(Int16 height);
    Int16 GetItemHeight() const;
    // Width available to the rows.
    Int16 GetItemWidth() const;

    // Rows.
    void AppendItem();
    void InsertItem(Int16 row);
    // A row number, or AllItems.
    void DeleteItem(Int16 row);
    Int16 GetItemCount() const;
    void SetTabItemText(Int16 row, Int16 tabField, const GS::UniString& text);
    GS::UniString GetTabItemText(Int16 row, Int16 tabField) const;
    void SetItemValue(Int16 row, DGUserData value);
    DGUserData GetItemValue(Int16 row) const;
    // A disabled row cannot be selected by the user and is drawn greyed.
    void SetItemStatus(Int16 row, bool enabled);
    bool IsItemEnabled(Int16 row) const;

    // Selection.
    void SelectItem(Int16 row);
    void DeselectItem(Int16 row);
    // First selected row, 0 when none.
    Int16 GetSelectedItem() const;
    Int16 GetSelectedCount() const;
    GS::Array<Int16> GetSelectedItems() const;

    // Scrolling: the first visible row.
    void SetScrollPosition(Int16 topRow);
    Int16 GetScrollPosition() const;
};

class SingleSelListBox : public ListBox {
public:
    using ListBox::ListBox;
};

class MultiSelListBox : public ListBox {
public:
    using ListBox::ListBox;
};

class ProgressBar : public Item {
public:
    using Item::Item;
    void SetMin(Int32 min);
    void SetMax(Int32 max);
    void SetValue(Int32 value);
    Int32 GetMin() const;
    Int32 GetMax() const;
    Int32 GetValue() const;
};

class Splitter : public Item {
public:
    using Item::Item;
    // Until enabled the user cannot drag it.
    void EnableDrag();
};

}  // namespace DG

// The name the host's drawing libraries use, and the one the drawing code here grew up with.
namespace NewDisplay {
using ListBoxUpdateEventContext = DG::ListBoxUpdateEventContext;
}
namespace Graphix {
using ListBoxUpdateEventContext = DG::ListBoxUpdateEventContext;
}
