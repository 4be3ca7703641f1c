// Rows, total line, drawing, categories, the selection's guids, and filling the lists.
#include <algorithm>
#include <cstring>
#include <vector>

#include "API/ApiElements.hpp"
#include "Database/CategoriesTable.hpp"
#include "Database/ItemsTable.hpp"
#include "Database/QtiesTable.hpp"
#include "Dialogs/AmountText.hpp"
#include "ElementFuncs/QtyEvaluation.hpp"
#include "Graphix/Graphix.hpp"
#include "HostApi/Guard.hpp"
#include "HostApi/HostCalls.hpp"
#include "Palettes/CalvoraPanel.hpp"
#include "Palettes/ModelSelection.hpp"
#include "ResourceNames.hpp"
#include "VumoFuncs/VumoFuncs.hpp"

namespace {

const Gfx::Color AlternateBack(245, 245, 245);
const Gfx::Color LinkedBack(255, 240, 180);
const Gfx::Color Black(0, 0, 0);
const Gfx::Color RuleColor(210, 210, 210);

// Only light backgrounds are replaced, so a selected row keeps the host's selection colour.
bool IsLight(const Gfx::Color& c) { return c.red >= 220 && c.green >= 220 && c.blue >= 220; }

bool StatusColor(QtyLinkStatus status, Gfx::Color* color)
{
    switch (status) {
        case LinkElementMissing: *color = Gfx::Color(210, 50, 50); return true;
        case LinkUpToDate: *color = Gfx::Color(60, 180, 60); return true;
        case LinkOutdated: *color = Gfx::Color(230, 130, 30); return true;
        default: return false;
    }
}

void DrawCellBase(Graphix::ListBoxUpdateEventContext& context, const Gfx::Color& back, const Gfx::Color& fore,
                  double width, double height)
{
    context.FillRect(0, 0, width, height, Gfx::Color(back.red, back.green, back.blue, 255));
    context.SetBackColor(back);
    context.SetForeColor(fore);
}

void DrawCellText(Graphix::ListBoxUpdateEventContext& context, const GS::UniString& text, double width,
                  double height, Int32 alignment)
{
    Graphix::Font font;
    font.name = "Arial";
    font.size = 12.0;
    font.style = 0;
    font.charCode = 4;
    context.SetFont(font);
    context.DrawPlainText(text, 2, 2, width - 4, height - 4, alignment);
}

void DrawBottomRule(Graphix::ListBoxUpdateEventContext& context, double width, double height)
{
    context.DrawLine(0, height - 1, width, height - 1, RuleColor);
}

}  // namespace

GS::UniString CalvoraPanel::CategoryEntryText(const Category& category)
{
    return category.getString("code") + " " + category.getString("title");
}

const Category* CalvoraPanel::SelectedCategory() const
{
    const Int16 entry = categoryPopUp.GetSelectedItem();
    if (entry < 1)
        return nullptr;
    return categoryMap.GetPtr(static_cast<Int32>(categoryPopUp.GetItemValue(entry)));
}

Item* CalvoraPanel::SelectedItem()
{
    const Int16 row = itemsList.GetSelectedItem();
    if (row < 1)
        return nullptr;
    return itemMap.GetPtr(static_cast<Int32>(itemsList.GetItemValue(row)));
}

// ---- rows and total --------------------------------------------------------------------------

void CalvoraPanel::SetItemRow(Int16 row, const AmountFormat& amounts)
{
    const Item* item = itemMap.GetPtr(static_cast<Int32>(itemsList.GetItemValue(row)));
    if (item == nullptr)
        return;
    itemsList.SetTabItemText(row, ItemNoColumn, GS::UniString::Printf("%d", item->getInt("sort_order")));
    itemsList.SetTabItemText(row, ItemCodeColumn, item->getString("code"));
    itemsList.SetTabItemText(row, ItemDescriptionColumn, item->getString("descript"));
    itemsList.SetTabItemText(row, ItemUnitColumn, item->getString("unit"));
    itemsList.SetTabItemText(row, ItemQtyColumn, amounts.Text(item->getDouble("qty")));
    itemsList.SetTabItemText(row, ItemPriceColumn, amounts.Text(item->getDouble("price")));
    itemsList.SetTabItemText(row, ItemTotalColumn, amounts.Text(item->getDouble("total")));
}

void CalvoraPanel::SetQtyRow(Int16 row, const AmountFormat& amounts)
{
    const Qty* qty = qtyMap.GetPtr(static_cast<Int32>(qtiesList.GetItemValue(row)));
    if (qty == nullptr)
        return;
    qtiesList.SetTabItemText(row, QtyNoColumn, GS::UniString::Printf("%d", qty->getInt("sort_order")));
    qtiesList.SetTabItemText(row, QtyDescriptionColumn, QtyDisplayDescription(*qty));
    qtiesList.SetTabItemText(row, QtyFormulaColumn, qty->getString("formula"));
    qtiesList.SetTabItemText(row, QtyValueColumn, amounts.Text(qty->getDouble("value")));
    qtiesList.SetTabItemText(row, QtyStatusColumn, GS::UniString());
}

void CalvoraPanel::ReloadItemRow(Int16 row, Int32 itemId)
{
    itemMap.Put(itemId, ItemsTable().findById(itemId));
    SetItemRow(row);
}

Int16 CalvoraPanel::AppendItemRow(const Item& item, const AmountFormat& amounts)
{
    const Int32 id = item.getInt("id");
    itemMap.Put(id, item);
    itemsList.AppendItem();
    const Int16 row = itemsList.GetItemCount();
    itemsList.SetItemValue(row, id);
    SetItemRow(row, amounts);
    return row;
}

Int16 CalvoraPanel::AppendCategoryEntry(const Category& category)
{
    const Int32 id = category.getInt("id");
    categoryMap.Put(id, category);
    categoryPopUp.AppendItem();
    const Int16 entry = categoryPopUp.GetItemCount();
    categoryPopUp.SetItemText(entry, CategoryEntryText(category));
    categoryPopUp.SetItemValue(entry, id);
    return entry;
}

bool CalvoraPanel::SelectCategory(Int32 categoryId)
{
    for (Int16 entry = 1; entry <= categoryPopUp.GetItemCount(); ++entry) {
        if (static_cast<Int32>(categoryPopUp.GetItemValue(entry)) == categoryId) {
            categoryPopUp.SelectItem(entry);
            return true;
        }
    }
    return false;
}

void CalvoraPanel::UpdateTotal(const AmountFormat& amounts)
{
    double sum = 0.0;
    for (const auto& entry : itemMap)
        sum += entry.value.getDouble("total");
    if (itemMap.IsEmpty())
        totalText.SetText(GS::UniString());
    else
        totalText.SetText(GetResString(resourceId, CalvoraPaletteStrings::TotalLabel) + amounts.Text(sum));
}

// ---- categories, items, quantities -----------------------------------------------------------

void CalvoraPanel::LoadCategories()
{
    categoryMap.Clear();
    categoryPopUp.DeleteItem(DG::PopUp::AllItems);
    // The categories' own order, as the sort dialog and the workbook show it.
    for (const Category& category : CategoriesTable().getAll())
        AppendCategoryEntry(category);
}

void CalvoraPanel::RefreshCategories()
{
    LoadCategories();
    if (categoryPopUp.GetItemCount() > 0)
        categoryPopUp.SelectItem(1);
    RefreshItems();
}

void CalvoraPanel::RefreshItems()
{
    itemsList.DeleteItem(DG::ListBox::AllItems);
    OnItemSelected();

    if (categoryPopUp.GetSelectedItem() < 1) {
        editCategoryButton.Disable();
        deleteCategoryButton.Disable();
        descriptionText.SetText(GS::UniString());
        // The previous category's items and total must not stay behind.
        itemMap.Clear();
        UpdateTotal();
        return;
    }
    editCategoryButton.Enable();
    deleteCategoryButton.Enable();
    const Int32 categoryId = static_cast<Int32>(categoryPopUp.GetItemValue(categoryPopUp.GetSelectedItem()));
    const Category* category = categoryMap.GetPtr(categoryId);
    descriptionText.SetText(category != nullptr ? category->getString("descript") : GS::UniString());

    itemMap.Clear();
    const AmountFormat amounts;
    for (const Item& item : ItemsTable().getByCategory(categoryId))
        AppendItemRow(item, amounts);
    UpdateTotal(amounts);
}

void CalvoraPanel::ReloadAndShowItem(Int32 itemId)
{
    RefreshItems();
    ShowItem(itemId);
}

void CalvoraPanel::ShowItem(Int32 itemId)
{
    if (itemId == 0)
        return;
    // An item deleted since the other palette listed it: nothing to show.
    Item item;
    if (!Guarded("CalvoraPanel::ShowItem", [&] { item = ItemsTable().findById(itemId); }) || item.getInt("id") == 0)
        return;

    if (SelectCategory(item.getInt("category_id")))
        RefreshItems();

    const Int16 rows = itemsList.GetItemCount();
    for (Int16 row = 1; row <= rows; ++row) {
        if (static_cast<Int32>(itemsList.GetItemValue(row)) != itemId)
            continue;
        itemsList.SelectItem(row);
        // The row above the item stays in view.
        itemsList.SetScrollPosition(std::max<Int16>(1, static_cast<Int16>(row - 1)));
        OnItemSelected();
        return;
    }
}

void CalvoraPanel::OnItemSelected()
{
    StopQtyRecalc();
    for (DG::Item* button : {&editItemButton, &deleteItemButton, &cloneItemButton, &addQtyButton})
        button->Disable();
    qtiesList.DeleteItem(DG::ListBox::AllItems);
    qtyMap.Clear();
    UpdateQtyButtons();

    const Item* item = SelectedItem();
    if (item == nullptr)
        return;
    for (DG::Item* button : {&editItemButton, &deleteItemButton, &cloneItemButton, &addQtyButton})
        button->Enable();
    LoadQties(item->getInt("id"));
    StartQtyRecalc();
}

void CalvoraPanel::LoadQties(Int32 itemId)
{
    // Listed by sort order, then id: findWhere has no ordering of its own, and a row drag must
    // survive selecting the item again.
    GS::HashTable<Int32, Qty> found = QtiesTable().findWhere("item_id", itemId);
    std::vector<const Qty*> ordered;
    ordered.reserve(found.GetSize());
    for (const auto& entry : found)
        ordered.push_back(&entry.value);
    std::sort(ordered.begin(), ordered.end(), [](const Qty* a, const Qty* b) {
        const Int32 sa = a->getInt("sort_order"), sb = b->getInt("sort_order");
        return sa != sb ? sa < sb : a->getInt("id") < b->getInt("id");
    });

    // Usually the rows come in sort order already: then the table is taken as it is, uncopied.
    bool inOrder = true;
    std::size_t position = 0;
    for (const auto& entry : found)
        inOrder = inOrder && &entry.value == ordered[position++];
    if (inOrder) {
        qtyMap = std::move(found);
    } else {
        qtyMap.Clear();
        for (const Qty* qty : ordered)
            qtyMap.Put(qty->getInt("id"), *qty);
    }
    const AmountFormat amounts;
    for (const auto& entry : qtyMap) {
        qtiesList.AppendItem();
        const Int16 row = qtiesList.GetItemCount();
        qtiesList.SetItemValue(row, entry.key);
        SetQtyRow(row, amounts);
    }
}

void CalvoraPanel::UpdateQtyButtons()
{
    DG::Item* buttons[] = {&editQtyButton, &deleteQtyButton, &reloadQtyButton, &zoomButton};
    for (DG::Item* button : buttons)
        button->Disable();
    if (qtiesList.GetSelectedCount() > 0)
        for (DG::Item* button : buttons)
            button->Enable();
}

// ---- the model selection ---------------------------------------------------------------------

void CalvoraPanel::UpdateSelectedElements()
{
    selectedGuids.Clear();
    API_SelectionInfo info;
    std::memset(&info, 0, sizeof info);
    GS::Array<API_Neig> neigs;
    if (HostGetSelection(&info, &neigs, false) == NoError) {
        for (const API_Neig& neig : neigs) {
            GS::UniString guidText;
            if (LinkGuidText(neig.guid, &guidText))
                selectedGuids.Push(guidText);
        }
    }
    qtiesList.Redraw();
}

// ---- drawing ---------------------------------------------------------------------------------

void CalvoraPanel::ListBoxTabFieldUpdate(const DG::ListBoxTabFieldUpdateEvent& ev)
{
    Guarded("CalvoraPanel::ListBoxTabFieldUpdate", [&] {
        const Int16 row = ev.GetListItem();
        const Int16 field = ev.GetTabFieldIndex();
        if (row < 1)
            return;
        const double width = ev.GetWidth();
        const double height = ev.GetHeight();
        Graphix::ListBoxUpdateEventContext context(ev);
        Gfx::Color back = context.GetBackColor();
        Gfx::Color fore = context.GetForeColor();
        const bool even = row % 2 == 0;

        if (ev.GetSource() == &itemsList) {
            if (even && IsLight(back)) {
                back = AlternateBack;
                fore = Black;
            }
            DrawCellBase(context, back, fore, width, height);
            DrawCellText(context, itemsList.GetTabItemText(row, field), width, height, 0);
            DrawBottomRule(context, width, height);
            return;
        }
        if (ev.GetSource() != &qtiesList)
            return;

        const Qty* qty = qtyMap.GetPtr(static_cast<Int32>(qtiesList.GetItemValue(row)));
        if (IsLight(back)) {
            bool linked = false;
            if (qty != nullptr) {
                const GS::UniString guid = qty->getString("guid");
                if (!guid.IsEmpty())
                    for (const GS::UniString& selected : selectedGuids)
                        if (guid == selected) {
                            linked = true;
                            break;
                        }
            }
            if (linked) {
                back = LinkedBack;
                fore = Black;
            } else if (even) {
                back = AlternateBack;
                fore = Black;
            }
        }
        if (field != QtyStatusColumn) {
            DrawCellBase(context, back, fore, width, height);
            const Int32 alignment = field == QtyValueColumn ? 1 : 0;
            DrawCellText(context, qtiesList.GetTabItemText(row, field), width, height, alignment);
            DrawBottomRule(context, width, height);
            return;
        }

        // Only the back colour changes in the status column.
        DrawCellBase(context, back, context.GetForeColor(), width, height);
        DrawBottomRule(context, width, height);
        Gfx::Color color;
        if (qty == nullptr || !StatusColor(qty->getLinkStatus(), &color))
            return;
        context.SetForeColor(color);
        const double cx = static_cast<float>(width * 0.5);
        const double cy = static_cast<float>(height * 0.5);
        context.BeginPolygon();
        context.MoveTo(cx - 3, cy - 3);
        context.LineTo(cx + 3, cy - 3);
        context.LineTo(cx + 3, cy + 3);
        context.LineTo(cx - 3, cy + 3);
        context.LineTo(cx - 3, cy - 3);
        const NewDisplay::LinearGradientFillEffect solid(color, color, Graphix::PointD{cx, cy - 3},
                                                         Graphix::PointD{cx, cy + 3});
        context.EndPolygon(&solid);
    });
}
