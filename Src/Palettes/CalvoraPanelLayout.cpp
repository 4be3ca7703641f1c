// Geometry of the main panel: column layout, header resize, palette resize, splitter, row drag.
#include <algorithm>

#include "Database/ItemsTable.hpp"
#include "Database/QtiesTable.hpp"
#include "Dialogs/AddOnDialog.hpp"
#include "HostApi/Guard.hpp"
#include "Palettes/CalvoraPanel.hpp"

namespace {

constexpr Int16 MinColumnWidth = 30;
constexpr Int16 MinItemsListWidth = 200;

Int16 I16(int value) { return static_cast<Int16>(value); }

// The dragged list's order becomes the sort orders 1..n: in the database first, then in the
// records and the rows.
template <typename TableT, typename Entity, typename SetRow>
void WriteRowOrder(const DG::ListBox& list, GS::HashTable<Int32, Entity>& records, SetRow&& setRow)
{
    GS::Array<Int32> ids;
    const Int16 n = list.GetItemCount();
    for (Int16 row = 1; row <= n; ++row)
        ids.Push(static_cast<Int32>(list.GetItemValue(row)));
    if (!TableT().updateSortOrders(ids))
        return;
    for (Int16 row = 1; row <= n; ++row) {
        if (Entity* record = records.GetPtr(ids[row - 1]))
            record->setInt("sort_order", row);
        setRow(row);
    }
}

}  // namespace

void CalvoraPanel::LayoutItemsList()
{
    const int w = itemsList.GetItemWidth();
    struct Column {
        int headerWidth, begin, end;
        DG::Justification justification;
    };
    const Column columns[ItemsColumnCount] = {
        {30, 0, 30, DG::DG_IS_LEFT},
        {70, 30, 100, DG::DG_IS_LEFT},
        {w - 350, 100, w - 250, DG::DG_IS_LEFT},
        {50, w - 250, w - 200, DG::DG_IS_CENTER},
        {50, w - 200, w - 150, DG::DG_IS_RIGHT},
        {50, w - 150, w - 100, DG::DG_IS_RIGHT},
        {100, w - 100, w, DG::DG_IS_RIGHT},
    };
    for (Int16 column = ItemNoColumn; column <= ItemsColumnCount; ++column) {
        const Column& c = columns[column - 1];
        itemsList.SetHeaderItemSize(column, I16(c.headerWidth));
        itemsList.SetTabFieldProperties(column, I16(c.begin), I16(c.end), c.justification, false, false);
        itemsList.SetTabFieldOwnerDrawFlag(column, true);
    }
}

void CalvoraPanel::LayoutQtiesList()
{
    const int w = qtiesList.GetItemWidth();
    const int avail = w - 100;
    int d = descriptionWidth;
    int f = formulaWidth;
    if (d == 0 && f == 0) {
        d = avail / 2;
        f = avail - d;
    } else {
        const int s = d + f;
        if (s >= 1 && s != avail) {
            d = (d * avail) / s;
            f = avail - d;
        }
    }
    const int m = std::max(w - 130, int(MinColumnWidth));
    if (d < MinColumnWidth) {
        d = MinColumnWidth;
        f = m;
    }
    if (f < MinColumnWidth) {
        f = MinColumnWidth;
        d = m;
    }
    descriptionWidth = I16(d);
    formulaWidth = I16(f);

    const int widths[QtiesColumnCount] = {30, d, f, 50, 20};
    const DG::Justification justifications[QtiesColumnCount] = {DG::DG_IS_LEFT, DG::DG_IS_LEFT, DG::DG_IS_LEFT,
                                                                DG::DG_IS_RIGHT, DG::DG_IS_CENTER};
    int begin = 0;
    for (Int16 column = QtyNoColumn; column <= QtiesColumnCount; ++column) {
        const int width = widths[column - 1];
        qtiesList.SetHeaderItemSize(column, I16(width));
        qtiesList.SetHeaderItemSizeableFlag(column, column == QtyDescriptionColumn || column == QtyFormulaColumn);
        qtiesList.SetTabFieldProperties(column, I16(begin), I16(begin + width), justifications[column - 1], false,
                                        false);
        qtiesList.SetTabFieldOwnerDrawFlag(column, true);
        begin += width;
    }
    qtiesList.SetHeaderItemStyle(QtyValueColumn, DG::DG_IS_RIGHT);
}

Int16 CalvoraPanel::ListBoxHeaderItemResized(const DG::ListBoxHeaderItemResizeEvent& ev)
{
    Guarded("CalvoraPanel::ListBoxHeaderItemResized", [&] {
        if (ev.GetSource() != &qtiesList)
            return;
        const int change = ev.GetResizeDifference();
        if (ev.GetHeaderItem() == QtyDescriptionColumn) {
            const int oldD = descriptionWidth;
            const int newD = std::max(oldD + change, int(MinColumnWidth));
            descriptionWidth = I16(newD);
            formulaWidth = I16(std::max(formulaWidth - (newD - oldD), int(MinColumnWidth)));
        } else if (ev.GetHeaderItem() == QtyFormulaColumn) {
            formulaWidth = I16(std::max(formulaWidth + change, int(MinColumnWidth)));
        }
        LayoutQtiesList();
        qtiesList.Redraw();
    });
    return 0;
}

void CalvoraPanel::PanelResized(const DG::PanelResizeEvent& ev)
{
    MoveResizeItems(palette, "CalvoraPanel::PanelResized", ev, [&](Int16 dx, Int16 dy) {
        descriptionText.Resize(dx, 0);
        separator.Resize(dx, 0);
        splitter.MoveAndResize(dx, 0, 0, dy);
        itemsList.Resize(dx, dy);
        qtiesLabel.Move(dx, 0);
        qtiesList.MoveAndResize(dx, 0, 0, dy);
        for (DG::Item* button : {&addItemButton, &editItemButton, &deleteItemButton, &cloneItemButton})
            button->Move(0, dy);
        for (DG::Item* item : {static_cast<DG::Item*>(&totalText), static_cast<DG::Item*>(&addQtyButton),
                               static_cast<DG::Item*>(&editQtyButton), static_cast<DG::Item*>(&deleteQtyButton),
                               static_cast<DG::Item*>(&reloadQtyButton), static_cast<DG::Item*>(&zoomButton)})
            item->Move(dx, dy);
        LayoutItemsList();
        LayoutQtiesList();
        itemsList.Redraw();
        qtiesList.Redraw();
    });
}

void CalvoraPanel::SplitterDragged(const DG::SplitterDragEvent& ev)
{
    Guarded("CalvoraPanel::SplitterDragged", [&] {
        const int p = ev.GetPosition();
        const int x0 = itemsList.GetPosition().GetX();
        const int sw = splitter.GetWidth();
        const int cw = palette.GetClientWidth();
        const int newWidth = p - x0;
        const int delta = newWidth - itemsList.GetWidth();
        const int qtiesWidth = cw + x0 - 12 - sw - p;
        // Neither list may be squeezed away: the items list keeps more than 200 pixels, the
        // quantities list a positive width.
        if (newWidth <= MinItemsListWidth || qtiesWidth <= 0)
            return;

        splitter.SetPosition(I16(p), splitter.GetPosition().GetY());
        itemsList.SetWidth(I16(newWidth));
        const Int16 qtiesX = I16(p + sw + 2);
        qtiesLabel.SetPosition(qtiesX, qtiesLabel.GetPosition().GetY());
        qtiesList.SetPosition(qtiesX, qtiesList.GetPosition().GetY());
        qtiesList.SetWidth(I16(qtiesWidth));

        // The total line's right edge follows the splitter.
        totalText.Move(I16(delta), 0);
        totalText.SetWidth(I16(p - totalText.GetPosition().GetX()));

        LayoutItemsList();
        LayoutQtiesList();
        for (DG::Item* button : {&addQtyButton, &editQtyButton, &deleteQtyButton, &reloadQtyButton, &zoomButton})
            button->Move(I16(delta), 0);
        itemsList.Redraw();
        qtiesList.Redraw();
    });
}

void CalvoraPanel::ListBoxItemDragged(const DG::ListBoxDragEvent& ev)
{
    Guarded("CalvoraPanel::ListBoxItemDragged", [&] {
        if (ev.GetSource() == &itemsList)
            WriteRowOrder<ItemsTable>(itemsList, itemMap, [&](Int16 row) { SetItemRow(row); });
        else if (ev.GetSource() == &qtiesList)
            WriteRowOrder<QtiesTable>(qtiesList, qtyMap, [&](Int16 row) { SetQtyRow(row); });
    });
}
