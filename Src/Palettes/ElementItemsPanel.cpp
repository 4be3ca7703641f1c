#include "Palettes/ElementItemsPanel.hpp"

#include <SQLiteCpp/SQLiteCpp.h>

#include "API/ApiElements.hpp"
#include "Database/ProjectDatabase.hpp"
#include "Database/SqlText.hpp"
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

const char* const kLinkedItemsQuery =
    "SELECT DISTINCT c.code, c.title, i.code, i.descript, i.id, c.id FROM qties q JOIN items i ON q.item_id = i.id "
    "JOIN categories c ON i.category_id = c.id WHERE q.guid = ? ORDER BY c.sort_order, i.sort_order";

GS::UniString ColumnText(SQLite::Statement& query, int column)
{
    return FromSqlText(query.getColumn(column).getString());
}
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
        SQLite::Statement query = ProjectDatabase::instance().prepare(kLinkedItemsQuery);
        query.bind(1, ToSqlText(guidText));
        while (query.executeStep()) {
            const GS::UniString categoryCode = ColumnText(query, 0);
            const GS::UniString categoryTitle = ColumnText(query, 1);
            const GS::UniString itemCode = ColumnText(query, 2);
            const GS::UniString itemDescription = ColumnText(query, 3);
            LinkedItemRow row;
            row.itemId = query.getColumn(4).getInt();
            row.categoryId = query.getColumn(5).getInt();
            rows.Push(row);

            list.AppendItem();
            const GS::Int16 n = list.GetItemCount();
            list.SetItemValue(n, row.itemId);
            list.SetTabItemText(n, CategoryCodeColumn, categoryCode);
            list.SetTabItemText(n, CategoryTitleColumn, categoryTitle);
            list.SetTabItemText(n, ItemCodeColumn, itemCode);
            list.SetTabItemText(n, ItemDescriptionColumn, itemDescription);
        }
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
