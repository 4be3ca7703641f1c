#pragma once
// The content of the main palette: the category pop-up with its description, the items list of the
// selected category, the quantities list of the selected item, the buttons and the total line.
#include <cstdint>
#include <functional>

#include "DG/DGItems.hpp"
#include "DG/DGPanel.hpp"
#include "Database/Category.hpp"
#include "Database/Item.hpp"
#include "Database/Qty.hpp"
#include "Dialogs/AmountText.hpp"
#include "GSRoot/Array.hpp"
#include "GSRoot/HashTable.hpp"
#include "GSRoot/UniString.hpp"
#include "Palettes/ModelSelection.hpp"

class CalvoraPanel : public DG::PanelObserver,
                     public DG::SplitterObserver,
                     public DG::ButtonItemObserver,
                     public DG::ListBoxObserver,
                     public DG::PopUpObserver,
                     public DG::CompoundItemObserver {
public:
    // The lists' columns. Both start with "No.", the field a row is dragged by.
    enum ItemsColumn : Int16 {
        ItemNoColumn = 1,
        ItemCodeColumn,
        ItemDescriptionColumn,
        ItemUnitColumn,
        ItemQtyColumn,
        ItemPriceColumn,
        ItemTotalColumn,
        ItemsColumnCount = ItemTotalColumn
    };
    enum QtiesColumn : Int16 {
        QtyNoColumn = 1,
        QtyDescriptionColumn,
        QtyFormulaColumn,
        QtyValueColumn,
        QtyStatusColumn,
        QtiesColumnCount = QtyStatusColumn
    };

    CalvoraPanel(DG::Panel& palette, Int16 resourceId);
    ~CalvoraPanel() override;
    CalvoraPanel(const CalvoraPanel&) = delete;
    CalvoraPanel& operator=(const CalvoraPanel&) = delete;

    // Host events; each catches whatever its work throws.
    void PanelHotkeyPressed(const DG::PanelHotKeyEvent& ev, bool* processed) override;
    void PanelResized(const DG::PanelResizeEvent& ev) override;
    void SplitterDragged(const DG::SplitterDragEvent& ev) override;
    void ButtonClicked(const DG::ButtonClickEvent& ev) override;
    void ListBoxSelectionChanged(const DG::ListBoxSelectionEvent& ev) override;
    void ListBoxItemDragged(const DG::ListBoxDragEvent& ev) override;
    void ListBoxDoubleClicked(const DG::ListBoxDoubleClickEvent& ev) override;
    void ListBoxMouseMoved(const DG::ListBoxMouseMoveEvent& ev, Int16* inArea) override;
    void ListBoxTabFieldUpdate(const DG::ListBoxTabFieldUpdateEvent& ev) override;
    Int16 ListBoxHeaderItemResized(const DG::ListBoxHeaderItemResizeEvent& ev) override;
    void PopUpChanged(const DG::PopUpChangeEvent& ev) override;

    // Operations the palette, the project events and the other palette call. They may throw
    // (database errors); callers from the host guard them.
    void RefreshCategories();
    void UpdateSelectedElements();
    void ShowItem(Int32 itemId);
    void RefreshItems();
    void OnItemSelected();
    void UpdateQtyButtons();
    // Rows count from 1; the row and its value (the id) must exist. A fill of many rows passes
    // one amount format to all of them.
    void SetItemRow(Int16 row, const AmountFormat& amounts = AmountFormat());
    void SetQtyRow(Int16 row, const AmountFormat& amounts = AmountFormat());
    void UpdateTotal(const AmountFormat& amounts = AmountFormat());
    void StopQtyRecalc();
    void LayoutItemsList();
    void LayoutQtiesList();

    // The buttons' actions.
    void AddNewCategory();
    void EditCategory();
    void DeleteCategory();
    void ReorderCategories();
    void AddNewItem();
    void EditItem();
    void DeleteItem();
    void CloneItem();
    void AddQtyItem();
    void EditQty();
    void DeleteQties();
    void ReloadQties();
    void ZoomToLinkedElement();

    // One re-check step. The timer id is the panel's key in the registry of live panels; ids
    // that name no live panel are ignored.
    static void QtyRecalcTimerProc(void* window, UInt32 message, std::uintptr_t timerId, UInt32 time);

    // Read access for the tests.
    const GS::HashTable<Int32, Item>& GetItemMap() const { return itemMap; }
    const GS::HashTable<Int32, Qty>& GetQtyMap() const { return qtyMap; }
    bool IsQtyRecalcRunning() const { return recheckTimer != 0; }
    std::uintptr_t GetRecheckTimer() const { return recheckTimer; }
    UInt32 GetRecheckPosition() const { return recheckPosition; }

protected:
    // Runs a button's action. A database error ends it where it happens: resync brings the panel back
    // in step with the database, the error goes to the debug output and the user is told.
    static void RunAction(const char* where, const std::function<void()>& work, const std::function<void()>& resync);
    // Runs an action on the selected quantities' rows (none: nothing happens) with the re-check
    // stopped. When work reports a change, the item's row and the total show the database again.
    void RunQtyAction(const char* where, const std::function<bool(const GS::Array<Int16>& rows)>& work);
    // The warning's "Yes" (rather than "No") was pressed; title and question are texts of the
    // palette's string list.
    bool AskYesNo(Int16 title, Int16 question) const;
    // Reads the selected elements; false, after telling the user, when they are of several types.
    bool ReadSelectionOfOneType(VumoElementsList& elements) const;
    // Saves the quantity once, unlinked, or a copy linked to each element with its formula evaluated
    // for that element; the saved ones go into the map.
    void AddQties(const Qty& qtyTemplate, const VumoElementsList& elements, bool unlinked);
    // The items read again, with the item (when there is one) selected.
    void ReloadAndShowItem(Int32 itemId);
    // The item's record read again into its row.
    void ReloadItemRow(Int16 row, Int32 itemId);
    // Every category into the map and the pop-up, in their sort order; none selected.
    void LoadCategories();
    // A pop-up entry for the category, kept in the map too; returns the entry.
    Int16 AppendCategoryEntry(const Category& category);
    // Selects the category's pop-up entry; false when the pop-up lacks it.
    bool SelectCategory(Int32 categoryId);
    // A row for the item, kept in the map too; returns the row.
    Int16 AppendItemRow(const Item& item, const AmountFormat& amounts = AmountFormat());
    // The category's pop-up text: code, one blank, title.
    static GS::UniString CategoryEntryText(const Category& category);
    // Reads the selected item's quantities into the map and the list, in sort order then id.
    void LoadQties(Int32 itemId);
    // Fills the queue from the quantities list and starts the timer (when there are rows).
    void StartQtyRecalc();
    // One tick's work.
    void RecalcStep();
    // A pop-up entry's category, nullptr when none is selected or the map lacks it.
    const Category* SelectedCategory() const;
    // The item of the selected row, nullptr when none.
    Item* SelectedItem();

    DG::Panel& palette;
    Int16 resourceId;
    Int16 baseRowHeight = 0;

    DG::PopUp categoryPopUp;
    DG::StaticText descriptionText;
    DG::Separator separator;
    DG::SingleSelListBox itemsList;
    DG::Splitter splitter;
    DG::StaticText qtiesLabel;
    DG::MultiSelListBox qtiesList;
    DG::IconButton addCategoryButton;
    DG::IconButton editCategoryButton;
    DG::IconButton deleteCategoryButton;
    DG::IconButton reorderCategoriesButton;
    DG::IconButton addItemButton;
    DG::IconButton editItemButton;
    DG::IconButton deleteItemButton;
    DG::IconButton addQtyButton;
    DG::IconButton editQtyButton;
    DG::IconButton deleteQtyButton;
    DG::IconButton reloadQtyButton;
    DG::IconButton zoomButton;
    DG::IconButton cloneItemButton;
    DG::StaticText totalText;

    GS::HashTable<Int32, Category> categoryMap;
    GS::HashTable<Int32, Item> itemMap;
    GS::HashTable<Int32, Qty> qtyMap;

    GS::Array<Int32> recheckQueue;
    UInt32 recheckPosition = 0;
    std::uintptr_t recheckTimer = 0;
    GS::Array<GS::UniString> selectedGuids;

    Int16 descriptionWidth = 0;
    Int16 formulaWidth = 0;
    Int16 hotKeyId = 0;

private:
    // The panel's key in the registry of live panels, also the id its re-check timer is started
    // and killed with.
    std::uintptr_t registryId = 0;
    // The window the running re-check timer was started on.
    void* recheckWindow = nullptr;
};
