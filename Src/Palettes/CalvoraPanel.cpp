// Construction, the registry of live panels, event dispatch, what the actions share and the
// step-wise re-check.
#include "Palettes/CalvoraPanel.hpp"

#include <string>
#include <unordered_map>

#include "DG/DGUtility.hpp"
#include "Database/ItemsTable.hpp"
#include "ElementFuncs/QtyEvaluation.hpp"
#include "HostApi/Guard.hpp"
#include "HostApi/HostCalls.hpp"
#include "ResourceNames.hpp"
#include "VumoFuncs/VumoFuncs.hpp"

namespace {

namespace Items = CalvoraPaletteItems;
namespace Texts = CalvoraPaletteStrings;

// Live panels by key. The re-check timer carries the key, never a pointer, so a tick that
// outlives its panel finds nothing instead of a dangling object. The main palette's singleton
// releases a palette left at unload before this goes (CalvoraPalette.cpp).
std::unordered_map<std::uintptr_t, CalvoraPanel*>& LivePanels()
{
    static std::unordered_map<std::uintptr_t, CalvoraPanel*> panels;
    return panels;
}

std::uintptr_t NextPanelKey()
{
    // Away from small numbers, so the timer does not replace another timer of the main window.
    static std::uintptr_t next = 0x51430000u;
    return ++next;
}

}  // namespace

CalvoraPanel::CalvoraPanel(DG::Panel& palette, Int16 resourceId)
    : palette(palette),
      resourceId(resourceId),
      categoryPopUp(palette, Items::CategoryPopUp),
      descriptionText(palette, Items::DescriptionText),
      separator(palette, Items::Separator),
      itemsList(palette, Items::ItemsList),
      splitter(palette, Items::Splitter),
      qtiesLabel(palette, Items::QtiesLabel),
      qtiesList(palette, Items::QtiesList),
      addCategoryButton(palette, Items::AddCategoryButton),
      editCategoryButton(palette, Items::EditCategoryButton),
      deleteCategoryButton(palette, Items::DeleteCategoryButton),
      reorderCategoriesButton(palette, Items::ReorderCategoriesButton),
      addItemButton(palette, Items::AddItemButton),
      editItemButton(palette, Items::EditItemButton),
      deleteItemButton(palette, Items::DeleteItemButton),
      addQtyButton(palette, Items::AddQtyButton),
      editQtyButton(palette, Items::EditQtyButton),
      deleteQtyButton(palette, Items::DeleteQtyButton),
      reloadQtyButton(palette, Items::ReloadQtyButton),
      zoomButton(palette, Items::ZoomButton),
      cloneItemButton(palette, Items::CloneItemButton),
      totalText(palette, Items::TotalText)
{
    registryId = NextPanelKey();
    LivePanels()[registryId] = this;

    AttachToAllItems(palette);
    palette.Attach(*this);
    hotKeyId = palette.RegisterHotKey(DG::Key::Delete, DG::Key::NoModifier);
    splitter.EnableDrag();

    descriptionText.SetWidth(static_cast<Int16>(palette.GetClientWidth() - 10));

    baseRowHeight = itemsList.GetItemHeight();
    itemsList.SetItemHeight(static_cast<Int16>(2 * baseRowHeight));
    itemsList.SetTabFieldCount(ItemsColumnCount);
    itemsList.SetHeaderSynchronState(false);
    itemsList.EnableMouseMoveEvent();
    const Int16 itemHeaders[ItemsColumnCount] = {
        Texts::ItemNoHeader,  Texts::ItemCodeHeader,  Texts::ItemDescriptionHeader, Texts::ItemUnitHeader,
        Texts::ItemQtyHeader, Texts::ItemPriceHeader, Texts::ItemTotalHeader};
    for (Int16 column = ItemNoColumn; column <= ItemsColumnCount; ++column)
        itemsList.SetHeaderItemText(column, GetResString(resourceId, itemHeaders[column - 1]));
    LayoutItemsList();

    qtiesList.SetTabFieldCount(QtiesColumnCount);
    qtiesList.SetHeaderSynchronState(false);
    const Int16 qtyHeaders[] = {Texts::QtyNoHeader, Texts::QtyDescriptionHeader, Texts::QtyFormulaHeader,
                                Texts::QtyValueHeader};
    for (Int16 column = QtyNoColumn; column <= QtyValueColumn; ++column)
        qtiesList.SetHeaderItemText(column, GetResString(resourceId, qtyHeaders[column - 1]));
    qtiesList.SetHeaderItemText(QtyStatusColumn, GS::UniString());
    qtiesList.EnableMouseMoveEvent();
    LayoutQtiesList();

    // A database that cannot be read leaves an empty panel rather than no palette.
    Guarded("CalvoraPanel::CalvoraPanel", [this] { RefreshCategories(); });
}

CalvoraPanel::~CalvoraPanel()
{
    StopQtyRecalc();
    LivePanels().erase(registryId);
    if (hotKeyId != 0)
        palette.UnregisterHotKey(hotKeyId);
    palette.Detach(*this);
    DetachFromAllItems(palette);
}

// ---- events ----------------------------------------------------------------------------------

void CalvoraPanel::ButtonClicked(const DG::ButtonClickEvent& ev)
{
    Guarded("CalvoraPanel::ButtonClicked", [&] {
        const DG::Item* source = ev.GetSource();
        if (source == &addCategoryButton)
            AddNewCategory();
        else if (source == &editCategoryButton)
            EditCategory();
        else if (source == &deleteCategoryButton)
            DeleteCategory();
        else if (source == &reorderCategoriesButton)
            ReorderCategories();
        else if (source == &addItemButton)
            AddNewItem();
        else if (source == &editItemButton)
            EditItem();
        else if (source == &deleteItemButton)
            DeleteItem();
        else if (source == &cloneItemButton)
            CloneItem();
        else if (source == &addQtyButton)
            AddQtyItem();
        else if (source == &editQtyButton)
            EditQty();
        else if (source == &deleteQtyButton)
            DeleteQties();
        else if (source == &reloadQtyButton)
            ReloadQties();
        else if (source == &zoomButton)
            ZoomToLinkedElement();
    });
}

void CalvoraPanel::PopUpChanged(const DG::PopUpChangeEvent& ev)
{
    Guarded("CalvoraPanel::PopUpChanged", [&] {
        if (ev.GetSource() == &categoryPopUp)
            RefreshItems();
    });
}

void CalvoraPanel::ListBoxSelectionChanged(const DG::ListBoxSelectionEvent& ev)
{
    Guarded("CalvoraPanel::ListBoxSelectionChanged", [&] {
        if (ev.GetSource() == &itemsList)
            OnItemSelected();
        else if (ev.GetSource() == &qtiesList)
            UpdateQtyButtons();
    });
}

void CalvoraPanel::ListBoxDoubleClicked(const DG::ListBoxDoubleClickEvent& ev)
{
    Guarded("CalvoraPanel::ListBoxDoubleClicked", [&] {
        if (ev.GetSource() == &itemsList)
            EditItem();
        else if (ev.GetSource() == &qtiesList)
            EditQty();
    });
}

void CalvoraPanel::ListBoxMouseMoved(const DG::ListBoxMouseMoveEvent& ev, Int16* inArea)
{
    // Rows are dragged by their "No." field only.
    const Int16 noColumn = ev.GetSource() == &qtiesList ? Int16(QtyNoColumn) : Int16(ItemNoColumn);
    if (ev.GetTabFieldIndex() == noColumn && inArea != nullptr)
        *inArea = 1;
}

void CalvoraPanel::PanelHotkeyPressed(const DG::PanelHotKeyEvent& ev, bool* processed)
{
    Guarded("CalvoraPanel::PanelHotkeyPressed", [&] {
        if (hotKeyId == 0 || ev.GetKeyId() != hotKeyId)
            return;
        if (itemsList.IsFocused()) {
            *processed = true;
            DeleteItem();
        } else if (qtiesList.IsFocused()) {
            *processed = true;
            DeleteQties();
        }
    });
}

// ---- what the actions share ------------------------------------------------------------------

void CalvoraPanel::RunAction(const char* where, const std::function<void()>& work, const std::function<void()>& resync)
{
    std::string failure;
    if (Guarded(where, work, &failure))
        return;
    Guarded(where, resync);
    FailureAlert(where, "The estimate could not be changed.", failure);
}

void CalvoraPanel::RunQtyAction(const char* where, const std::function<bool(const GS::Array<Int16>& rows)>& work)
{
    const GS::Array<Int16> rows = qtiesList.GetSelectedItems();
    if (rows.IsEmpty())
        return;
    StopQtyRecalc();
    const Int16 itemRow = itemsList.GetSelectedItem();
    const Int32 itemId = itemRow > 0 ? static_cast<Int32>(itemsList.GetItemValue(itemRow)) : 0;
    RunAction(
        where,
        [&] {
            if (!work(rows))
                return;
            if (itemRow > 0)
                ReloadItemRow(itemRow, itemId);
            UpdateTotal();
        },
        [&] { ReloadAndShowItem(itemId); });
}

bool CalvoraPanel::AskYesNo(Int16 title, Int16 question) const
{
    return DGAlert(DG::DG_WARNING, GetResString(resourceId, title), GetResString(resourceId, question), "",
                   GetResString(resourceId, Texts::NoText), GetResString(resourceId, Texts::YesText), "") != 1;
}

bool CalvoraPanel::ReadSelectionOfOneType(VumoElementsList& elements) const
{
    GetSelectedElements(elements);
    if (elements.GetSize() < 2 || AllSameElementType(elements))
        return true;
    DGAlert(DG::DG_WARNING, GetResString(resourceId, Texts::MultipleSelectionTitle),
            GetResString(resourceId, Texts::MultipleSelectionText), "", GetResString(resourceId, Texts::OkText), "",
            "");
    return false;
}

// ---- step-wise re-check ----------------------------------------------------------------------

void CalvoraPanel::StartQtyRecalc()
{
    const Int16 rows = qtiesList.GetItemCount();
    if (rows < 1)
        return;
    recheckQueue.Clear();
    for (Int16 row = 1; row <= rows; ++row)
        recheckQueue.Push(static_cast<Int32>(qtiesList.GetItemValue(row)));
    recheckPosition = 0;
    recheckWindow = HostGetMainWindow();
    recheckTimer = ::SetTimer(recheckWindow, registryId, 0, &CalvoraPanel::QtyRecalcTimerProc);
}

void CalvoraPanel::StopQtyRecalc()
{
    if (recheckTimer != 0) {
        ::KillTimer(recheckWindow, registryId);
        recheckTimer = 0;
    }
    recheckQueue = GS::Array<Int32>();
    recheckPosition = 0;
}

void CalvoraPanel::RecalcStep()
{
    if (recheckTimer == 0)
        return;
    if (recheckPosition < recheckQueue.GetSize()) {
        const Int32 id = recheckQueue[recheckPosition];
        ++recheckPosition;
        Qty* qty = qtyMap.GetPtr(id);
        if (qty == nullptr)
            return;
        UpdateQtyLinkStatus(*qty);
        qtiesList.Redraw();
    } else {
        StopQtyRecalc();
    }
}

void CalvoraPanel::QtyRecalcTimerProc(void* /*window*/, UInt32 /*message*/, std::uintptr_t timerId, UInt32 /*time*/)
{
    Guarded("CalvoraPanel::QtyRecalcTimerProc", [timerId] {
        auto found = LivePanels().find(timerId);
        if (found == LivePanels().end() || found->second == nullptr)
            return;
        found->second->RecalcStep();
    });
}
