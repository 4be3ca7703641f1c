#include "Palettes/ElementItemsPanel.hpp"

#include "API/ApiElements.hpp"
#include "Database/LinkedItems.hpp"
#include "Dialogs/AddOnDialog.hpp"
#include "HostApi/Guard.hpp"
#include "HostApi/HostCalls.hpp"
#include "Palettes/ModelSelection.hpp"
#include "ResourceNames.hpp"
#include "VumoFuncs/VumoFuncs.hpp"

namespace {
namespace Items = ElementItemsPaletteItems;
namespace Texts = ElementItemsPaletteStrings;

enum Column : GS::Int16 {
    CategoryCodeColumn = 1,
    CategoryTitleColumn,
    ItemCodeColumn,
    ItemDescriptionColumn,
    ColumnCount = ItemDescriptionColumn
};
}  // namespace

ElementItemsPanel::ElementItemsPanel(DG::Panel& owner, GS::Int16 resourceId)
    : owner(owner), resourceId(resourceId), list(owner, Items::ItemsList), gotoButton(owner, Items::GotoItemButton)
{
    owner.Attach(*this);
    list.Attach(*this);
    gotoButton.Attach(*this);

    list.SetTabFieldCount(ColumnCount);
    list.SetHeaderSynchronState(false);
    list.EnableMouseMoveEvent();
    const GS::Int16 headers[ColumnCount] = {Texts::CategoryCodeHeader, Texts::CategoryTitleHeader,
                                            Texts::ItemCodeHeader, Texts::ItemDescriptionHeader};
    for (GS::Int16 column = CategoryCodeColumn; column <= ColumnCount; ++column)
        list.SetHeaderItemText(column, GetResString(resourceId, headers[column - 1]));
    gotoButton.Disable();
}

ElementItemsPanel::~ElementItemsPanel()
{
    gotoButton.Detach(*this);
    list.Detach(*this);
    owner.Detach(*this);
}

void ElementItemsPanel::RefreshFromSelection()
{
    list.DeleteItem(DG::ListBox::AllItems);
    rows.Clear();
    gotoButton.Disable();

    API_SelectionInfo info{};
    GS::Array<API_Neig> neigs;
    const GSErrCode err = HostGetSelection(&info, &neigs, false);
    if (err != NoError || info.sel_nElem == 0)
        return;
    if (info.sel_nElem >= 2) {
        list.AppendItem();
        list.SetTabItemText(1, CategoryCodeColumn, GetResString(resourceId, Texts::MultipleSelectionText));
        list.SetItemStatus(1, false);
        return;
    }
    GS::UniString guidText;
    if (info.typeID == 1 && !neigs.IsEmpty()) {
        LinkGuidText(neigs[0].guid, &guidText);
        LoadLinkedItems(guidText);
    }
}

void ElementItemsPanel::LoadLinkedItems(const GS::UniString& guidText)
{
    if (guidText.IsEmpty())
        return;
    const GS::USize before = rows.GetSize();
    // The rows read before a failure stay.
    Guarded("ElementItemsPanel::LoadLinkedItems", [&] {
        forEachLinkedItem(guidText, [&](const LinkedItem& item) {
            LinkedItemRow row;
            row.itemId = item.itemId;
            row.categoryId = item.categoryId;
            rows.Push(row);

            list.AppendItem();
            const GS::Int16 n = list.GetItemCount();
            list.SetItemValue(n, row.itemId);
            list.SetTabItemText(n, CategoryCodeColumn, item.categoryCode);
            list.SetTabItemText(n, CategoryTitleColumn, item.categoryTitle);
            list.SetTabItemText(n, ItemCodeColumn, item.itemCode);
            list.SetTabItemText(n, ItemDescriptionColumn, item.itemDescription);
        });
    });
    if (rows.GetSize() > before)
        gotoButton.Enable();
}

void ElementItemsPanel::LayoutColumns()
{
    const GS::Int16 w = list.GetWidth();
    const GS::Int16 h = static_cast<GS::Int16>((w - 100) / 2);
    const GS::Int16 bounds[ColumnCount + 1] = {0, 50, static_cast<GS::Int16>(50 + h), static_cast<GS::Int16>(100 + h),
                                               w};
    for (GS::Int16 column = CategoryCodeColumn; column <= ColumnCount; ++column) {
        list.SetTabFieldProperties(column, bounds[column - 1], bounds[column], DG::DG_IS_LEFT, true, false);
        list.SetHeaderItemSize(column, static_cast<GS::Int16>(bounds[column] - bounds[column - 1]));
    }
}

void ElementItemsPanel::PanelOpened(const DG::PanelOpenEvent&)
{
    Guarded("ElementItemsPanel::PanelOpened", [this] {
        LayoutColumns();
        RefreshFromSelection();
    });
}

void ElementItemsPanel::PanelResized(const DG::PanelResizeEvent& ev)
{
    MoveResizeItems(owner, "ElementItemsPanel::PanelResized", ev, [&](GS::Int16 dx, GS::Int16 dy) {
        list.Resize(dx, dy);
        gotoButton.Move(dx, dy);
        LayoutColumns();
        list.Redraw();
    });
}

void ElementItemsPanel::ButtonClicked(const DG::ButtonClickEvent& ev)
{
    if (ev.GetSource() == &gotoButton)
        Guarded("ElementItemsPanel::ButtonClicked", [this] { GotoSelectedItem(); });
}

void ElementItemsPanel::ListBoxSelectionChanged(const DG::ListBoxSelectionEvent& ev)
{
    if (ev.GetSource() != &list)
        return;
    Guarded("ElementItemsPanel::ListBoxSelectionChanged", [this] {
        if (list.GetSelectedItem() > 0)
            gotoButton.Enable();
        else
            gotoButton.Disable();
    });
}

void ElementItemsPanel::ListBoxDoubleClicked(const DG::ListBoxDoubleClickEvent& ev)
{
    if (ev.GetSource() == &list)
        Guarded("ElementItemsPanel::ListBoxDoubleClicked", [this] { GotoSelectedItem(); });
}

void ElementItemsPanel::GotoSelectedItem()
{
    const GS::Int16 n = list.GetSelectedItem();
    if (n >= 1 && static_cast<GS::USize>(n) <= rows.GetSize())
        OnGotoItem(rows[static_cast<GS::UIndex>(n - 1)].itemId);
}
