#pragma once
// Shows every category in its order; the user drags rows, and OK writes the order shown.
#include "Database/Category.hpp"
#include "Dialogs/AddOnDialog.hpp"
#include "GSRoot/Array.hpp"
#include "ResourceNames.hpp"

class SortCategoriesDialog : public OkCancelDialog, public DG::ListBoxObserver {
public:
    static constexpr Int16 ResourceId = SortCategoriesDialogItems::ResourceId;

    SortCategoriesDialog();

    void PanelOpened(const DG::PanelOpenEvent& ev) override;
    void PanelResized(const DG::PanelResizeEvent& ev) override;
    void ButtonClicked(const DG::ButtonClickEvent& ev) override;
    void ListBoxItemDragged(const DG::ListBoxDragEvent& ev) override;
    void ListBoxMouseMoved(const DG::ListBoxMouseMoveEvent& ev, Int16* inArea) override;

private:
    void SetListLayout();
    // "No." is the row's position; code and title come from the row's category.
    void SetRowText(Int16 row);
    // The list, buttons at its foot, kept inside the client area whatever its size.
    void FitItems();

    DG::SingleSelListBox list;
    GS::Array<Category> categories;
};
