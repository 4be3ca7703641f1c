#pragma once
// What the item and the quantity editors share: a formula evaluated live into a value field, for
// an element when there is one and the "unlinked" box is not ticked, and the function menu that
// adds the element's names and functions to the formula.
#include <string>

#include "API/ApiElements.hpp"
#include "Database/Qty.hpp"
#include "Dialogs/AddOnDialog.hpp"

class FormulaEditorDialog : public OkCancelDialog,
                            public DG::TextEditBaseObserver,
                            public DG::CheckItemObserver,
                            public DG::UserControlObserver {
public:
    void TextEditChanged(const DG::TextEditChangeEvent& ev) override;
    void CheckItemChanged(const DG::CheckItemChangeEvent& ev) override;
    void UserControlChanged(const DG::UserControlChangeEvent& ev) override;

protected:
    // The items of the resource and the dialog's name for the debug output.
    struct FormulaItems {
        Int16 ok;
        Int16 cancel;
        Int16 formula;
        Int16 value;
        Int16 functionMenu;
        Int16 unlinked;
    };
    FormulaEditorDialog(const char* name, Int16 resourceId, FormulaItems items);

    // The element formulas are linked to: null without one or while the unlinked box is ticked.
    const API_Element* LinkedElement() const;
    void BuildFunctionMenu();
    // The function menu as a menu button with the functions' icon.
    void SetUpFunctionMenu();
    // Evaluates the formula into the value field; true when it evaluated.
    virtual bool EvaluateFormula() = 0;
    // Evaluates the formula for the quantity, linked to the element only while it is offered; the
    // quantity keeps its own guid.
    bool EvaluateFor(Qty& qty, double* value);
    // The formula became empty (false) or got text (true) by typing or a picked entry.
    virtual void FormulaFilled(bool) {}

    const char* name;
    DG::TextEdit formulaEdit;
    DG::TextEdit valueEdit;
    DG::PopUpMenuButton functionMenu;
    DG::CheckBox unlinkedCheck;
    API_Element element;
    bool elementPresent = false;

private:
    std::string Where(const char* handler) const;
};
