#pragma once
// The modal editor of one quantity's description and formula, with the formula's value shown live.
// Added for selected elements it evaluates against the first of them and offers one unlinked quantity
// instead; an edited linked quantity finds its element again by the stored guid. It touches no database.
#include "Database/Qty.hpp"
#include "Dialogs/FormulaEditorDialog.hpp"
#include "ResourceNames.hpp"

class EditQtyDialog : public FormulaEditorDialog {
public:
    static constexpr Int16 ResourceId = EditQtyDialogItems::ResourceId;
    static constexpr Int16 ResourceWidth = 300;
    static constexpr Int16 ResourceHeight = 205;

    EditQtyDialog();

    // The first selected element: the quantity links to it and the formula is evaluated for it.
    void SetElement(const API_Element& element);
    // How many elements are selected; it only chooses the unlinked box's text.
    void SetSelectedCount(UInt32 count);
    // Edit mode: the edits show the quantity; a stored guid that still names an element links to it.
    void SetQty(const Qty& qty);
    // Writes "descript", "formula" and the last value as "value" into the dialog's quantity.
    Qty& GetQty();
    bool IsUnlinked() const;

    void PanelCloseRequested(const DG::PanelCloseRequestEvent& ev, bool* accepted) override;
    void PanelOpened(const DG::PanelOpenEvent& ev) override;
    void PanelResized(const DG::PanelResizeEvent& ev) override;
    void ButtonClicked(const DG::ButtonClickEvent& ev) override;

private:
    // The setters' guid stays the one GetQty hands out.
    bool EvaluateFormula() override;

    DG::TextEdit descriptionEdit;

    Qty qty;
    double lastValue = 0.0;
    UInt32 selectedCount = 0;
};
