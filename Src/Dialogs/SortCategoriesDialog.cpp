#include "Dialogs/SortCategoriesDialog.hpp"

#include <algorithm>

#include "Database/CategoriesTable.hpp"
#include "HostApi/Guard.hpp"

namespace {
namespace Items = SortCategoriesDialogItems;

enum Column : Int16 { NoColumn = 1, CodeColumn, TitleColumn, ColumnCount = TitleColumn };

constexpr Int16 Margin = 5;
constexpr Int16 ButtonWidth = 50;
constexpr Int16 ButtonHeight = 30;
// The resource's layout: the buttons' row below the list, the Cancel button 10 from the right edge.
constexpr Int16 ListBottomGap = 45;
constexpr Int16 ButtonsBottomGap = 40;
constexpr Int16 OkRightGap = 120;
constexpr Int16 CancelRightGap = 60;

const Category* FindCategory(const GS::Array<Category>& categories, Int32 id)
{
    for (const Category& category : categories) {
        if (category.getInt("id") == id)
            return &category;
    }
    return nullptr;
}
}  // namespace

SortCategoriesDialog::SortCategoriesDialog()
    : OkCancelDialog(ResourceId, Items::OkButton, Items::CancelButton), list(*this, Items::CategoriesList)
{
}

void SortCategoriesDialog::SetListLayout()
{
    // A list narrower than the first two columns gives the title no room rather than a negative one.
    const Int16 w = std::max<Int16>(list.GetItemWidth(), 120);
    list.SetHeaderItemText(NoColumn, "No.");
    list.SetHeaderItemText(CodeColumn, "Code");
    list.SetHeaderItemText(TitleColumn, "Title");
    list.SetHeaderItemSize(NoColumn, 40);
    list.SetHeaderItemSize(CodeColumn, 80);
    list.SetHeaderItemSize(TitleColumn, static_cast<Int16>(w - 120));
    list.SetTabFieldProperties(NoColumn, 0, 40, DG::DG_IS_CENTER, false, false);
    list.SetTabFieldProperties(CodeColumn, 40, 120, DG::DG_IS_LEFT, false, false);
    list.SetTabFieldProperties(TitleColumn, 120, w, DG::DG_IS_LEFT, false, false);
}

void SortCategoriesDialog::SetRowText(Int16 row)
{
    list.SetTabItemText(row, NoColumn, GS::UniString::Printf("%d", static_cast<int>(row)));
    const Category* category = FindCategory(categories, static_cast<Int32>(list.GetItemValue(row)));
    if (category == nullptr)
        return;
    list.SetTabItemText(row, CodeColumn, category->getString("code"));
    list.SetTabItemText(row, TitleColumn, category->getString("title"));
}

void SortCategoriesDialog::FitItems()
{
    const Int16 width = GetClientWidth();
    const Int16 height = GetClientHeight();
    list.SetRect(DG::Rect::FromXYWH(Margin, Margin, std::max<Int16>(0, static_cast<Int16>(width - 2 * Margin)),
                                    std::max<Int16>(0, static_cast<Int16>(height - ListBottomGap - Margin))));
    const Int16 buttonsTop = static_cast<Int16>(height - ButtonsBottomGap);
    okButton.SetRect(DG::Rect::FromXYWH(static_cast<Int16>(width - OkRightGap), buttonsTop, ButtonWidth, ButtonHeight));
    cancelButton.SetRect(
        DG::Rect::FromXYWH(static_cast<Int16>(width - CancelRightGap), buttonsTop, ButtonWidth, ButtonHeight));
}

void SortCategoriesDialog::PanelOpened(const DG::PanelOpenEvent&)
{
    Guarded("SortCategoriesDialog::PanelOpened", [&] {
        list.SetTabFieldCount(ColumnCount);
        list.EnableMouseMoveEvent();
        SetListLayout();
        categories = CategoriesTable().getAll();
        for (const Category& category : categories) {
            list.AppendItem();
            const Int16 row = list.GetItemCount();
            list.SetItemValue(row, category.getInt("id"));
            SetRowText(row);
        }
    });
}

void SortCategoriesDialog::PanelResized(const DG::PanelResizeEvent& ev)
{
    MoveResizeItems(*this, "SortCategoriesDialog::PanelResized", ev, [&](Int16, Int16) {
        FitItems();
        SetListLayout();
    });
}

void SortCategoriesDialog::ButtonClicked(const DG::ButtonClickEvent& ev)
{
    if (ev.GetSource() == &okButton) {
        Guarded("SortCategoriesDialog::ButtonClicked", [&] {
            GS::Array<Int32> ids;
            for (Int16 row = 1; row <= list.GetItemCount(); ++row)
                ids.Push(static_cast<Int32>(list.GetItemValue(row)));
            CategoriesTable().updateSortOrders(ids);
        });
    }
    CloseOnOkCancel(ev);
}

void SortCategoriesDialog::ListBoxMouseMoved(const DG::ListBoxMouseMoveEvent& ev, Int16* inArea)
{
    if (ev.GetSource() == &list && inArea != nullptr)
        *inArea = 1;
}

void SortCategoriesDialog::ListBoxItemDragged(const DG::ListBoxDragEvent& ev)
{
    if (ev.GetSource() != &list)
        return;
    Guarded("SortCategoriesDialog::ListBoxItemDragged", [&] {
        GS::Array<Category> reordered;
        const Int16 count = list.GetItemCount();
        for (Int16 row = 1; row <= count; ++row) {
            if (const Category* category = FindCategory(categories, static_cast<Int32>(list.GetItemValue(row))))
                reordered.Push(*category);
        }
        categories = reordered;
        for (Int16 row = 1; row <= count; ++row)
            SetRowText(row);
    });
}
