#pragma once
// What the four argument pickers share: a "Select" and a "Cancel" button over a single-selection
// list with columns, Escape to cancel, and the picked row's name handed back. Each picker fills
// the list from its element's own data; none touches the database or the model.
#include <vector>

#include "API/ApiElements.hpp"
#include "Dialogs/AddOnDialog.hpp"
#include "GSRoot/UniString.hpp"

class ArgumentPickerDialog : public OkCancelDialog, public DG::ListBoxObserver {
public:
    // The resource's items.
    struct PickerItems {
        GS::Int16 selectButton;
        GS::Int16 cancelButton;
        GS::Int16 list;
    };
    // A column's width: fixed, or the list's width less a margin (for the one that takes the rest);
    // and its header, a text of the resource's own string list.
    struct Column {
        GS::Int16 width;
        bool restOfList;
        GS::Int16 header;
    };

    // The result column of the selected row; empty when nothing is selected.
    GS::UniString GetSelectedName() const;

protected:
    ArgumentPickerDialog(GS::Int16 resourceId, PickerItems items, const API_Element& element,
                         std::vector<Column> columns, GS::Int16 resultColumn);
    // The derived constructor calls it once its own members exist; 0: no column is drawn by the dialog.
    void Setup(GS::Int16 ownerDrawnColumn = 0);

    virtual void FillList() = 0;
    void ClearRows();
    void AddRow(const std::vector<GS::UniString>& cells);
    void SelectFirstRow();

    void PanelOpened(const DG::PanelOpenEvent& ev) override;
    void PanelResized(const DG::PanelResizeEvent& ev) override;
    void PanelHotkeyPressed(const DG::PanelHotKeyEvent& ev, bool* processed) override;
    void ListBoxDoubleClicked(const DG::ListBoxDoubleClickEvent& ev) override;

    // Fills the list inside a guard: a failure leaves what was listed so far.
    void GuardedFill();
    void LayoutColumns();

    API_Element element;
    DG::SingleSelListBox list;
    GS::Int16 escapeKey = 0;

private:
    std::vector<Column> columns;
    GS::Int16 resultColumn;
    GS::Int16 resourceWidth;
    GS::Int16 resourceHeight;
};

// The two material pickers list the building material's swatch, drawn from the hidden index column,
// then its name (the result), then columns of their own.
class MaterialPickerDialog : public ArgumentPickerDialog {
protected:
    enum MaterialColumn : GS::Int16 { SwatchColumn = 1, NameColumn };

    MaterialPickerDialog(GS::Int16 resourceId, PickerItems items, const API_Element& element,
                         std::vector<Column> columns, GS::Int16 indexColumn);
    void ListBoxTabFieldUpdate(const DG::ListBoxTabFieldUpdateEvent& ev) override;
    // Adds a row for the material unless one of the same name (letter case ignored) is listed.
    // False when it was skipped or could not be read.
    bool AddMaterialRow(GS::Int32 materialIndex, const GS::UniString& thickness, bool withThickness);

private:
    GS::Int16 indexColumn;
    std::vector<GS::UniString> listedNames;

protected:
    void ForgetListedNames() { listedNames.clear(); }
};
