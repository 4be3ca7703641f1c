#pragma once
// The Element Links Explorer's content: for the one element selected in the model, every estimate
// item that one of its quantities feeds. Going to an item is the owner's business (OnGotoItem).
#include "DG/DGItems.hpp"
#include "GSRoot/Array.hpp"
#include "GSRoot/UniString.hpp"

class ElementItemsPanel : public DG::PanelObserver, public DG::ButtonItemObserver, public DG::ListBoxObserver {
public:
    struct LinkedItemRow {
        GS::Int32 itemId = 0;
        GS::Int32 categoryId = 0;
    };

    ElementItemsPanel(DG::Panel& owner, GS::Int16 resourceId);
    ~ElementItemsPanel() override;

    // Rebuilds the list from the host's current selection.
    void RefreshFromSelection();
    // Appends the rows of the items linked to the element with this guid text.
    void LoadLinkedItems(const GS::UniString& guidText);
    void LayoutColumns();

    void PanelOpened(const DG::PanelOpenEvent& ev) override;
    void PanelResized(const DG::PanelResizeEvent& ev) override;

    virtual void OnGotoItem(GS::Int32 itemId) = 0;

    void ButtonClicked(const DG::ButtonClickEvent& ev) override;
    void ListBoxSelectionChanged(const DG::ListBoxSelectionEvent& ev) override;
    void ListBoxDoubleClicked(const DG::ListBoxDoubleClickEvent& ev) override;

private:
    // Goes to the item of the selected row, when that row names one.
    void GotoSelectedItem();

    DG::Panel& owner;
    GS::Int16 resourceId;
    DG::SingleSelListBox list;
    DG::Button gotoButton;
    GS::Array<LinkedItemRow> rows;
};
