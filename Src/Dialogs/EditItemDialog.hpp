#pragma once
// The modal editor of an item's code, description, unit and price. A new item may also get its first
// quantity from a formula, evaluated live against the first selected element unless the user asks
// for an unlinked quantity. It touches no database: the caller reads the result back and saves it.
#include "Database/Item.hpp"
#include "Dialogs/FormulaEditorDialog.hpp"
#include "ResourceNames.hpp"

class EditItemDialog : public FormulaEditorDialog {
public:
    static constexpr Int16 ResourceId = EditItemDialogItems::ResourceId;

    EditItemDialog();

    // The element the first quantity's formula is offered and evaluated for.
    void SetElement(const API_Element& element);
    // Edit mode: the edits show the item's texts and price; the first-quantity group shows only for a new item.
    void SetItem(const Item& item);
    // Writes "code", "descript", "unit" and "price" from the edits into the dialog's item and returns it.
    Item& GetItem();
    bool IsAddFirstQtyChecked() const;
    // "Create unlinked qty (ignore selected element)".
    bool IsUnlinkedChecked() const;
    GS::UniString GetQtyFormula() const;

    void PanelCloseRequested(const DG::PanelCloseRequestEvent& ev, bool* accepted) override;
    void PanelOpened(const DG::PanelOpenEvent& ev) override;
    void PanelResized(const DG::PanelResizeEvent& ev) override;

private:
    bool EvaluateFormula() override;
    // A formula typed or picked ticks the first-quantity box; an emptied one clears it.
    void FormulaFilled(bool filled) override;

    DG::StaticText codeLabel;
    DG::TextEdit codeEdit;
    DG::StaticText descriptionLabel;
    DG::MultiLineEdit descriptionEdit;
    DG::StaticText unitLabel;
    DG::TextEdit unitEdit;
    DG::StaticText priceLabel;
    DG::RealEdit priceEdit;
    DG::CheckBox addFirstQtyCheck;
    DG::StaticText valueLabel;

    Item item;
};
