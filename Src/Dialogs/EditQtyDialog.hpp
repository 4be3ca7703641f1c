#pragma once
// The modal editor of one quantity's description and formula, with the formula's value shown live.
// Added for selected elements it evaluates against the first of them and offers one unlinked quantity
// instead; an edited linked quantity finds its element again by the stored guid. It touches no database.
#include "API/ApiElements.hpp"
#include "Database/Qty.hpp"
#include "Dialogs/AddOnDialog.hpp"

class EditQtyDialog : public OkCancelDialog,
                      public DG::TextEditBaseObserver,
                      public DG::CheckItemObserver,
                      public DG::UserControlObserver {
public:
    enum ItemId : Int16 {
        OkButtonId = 1,
        CancelButtonId = 2,
        DescriptionEditId = 4,
        FormulaEditId = 6,
        ValueEditId = 8,
        FunctionMenuId = 9,
        UnlinkedCheckId = 10
    };
    static constexpr Int16 ResourceId = 32523;
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
    void TextEditChanged(const DG::TextEditChangeEvent& ev) override;
    void ButtonClicked(const DG::ButtonClickEvent& ev) override;
    void CheckItemChanged(const DG::CheckItemChangeEvent& ev) override;
    void UserControlChanged(const DG::UserControlChangeEvent& ev) override;

private:
    void BuildFunctionMenu();
    bool EvaluateFormula();
    const API_Element* LinkedElement() const;

    DG::TextEdit descriptionEdit;
    DG::TextEdit formulaEdit;
    DG::TextEdit valueEdit;
    DG::PopUpMenuButton functionMenu;
    DG::CheckBox unlinkedCheck;

    Qty qty;
    API_Element element;
    bool elementPresent = false;
    double lastValue = 0.0;
    UInt32 selectedCount = 0;
};
