#pragma once
// What the add-on's modal dialogs share: the dialog resource from the add-on's own module, the
// dialog observing itself and all of its items, and for most an OK and a Cancel button. The
// palettes' panels move their items on a resize alike.
#include <functional>

#include "DG/DGItems.hpp"
#include "DG/DGPanel.hpp"

class AddOnDialog : public DG::ModalDialog,
                    public DG::PanelObserver,
                    public DG::ButtonItemObserver,
                    public DG::CompoundItemObserver {
protected:
    explicit AddOnDialog(GS::Int16 resourceId);
    ~AddOnDialog() override;
};

// Moves and resizes a panel's items for a size change of (dx, dy), inside a guard and one
// Begin/EndMoveResizeItems; nothing happens when the size did not change.
void MoveResizeItems(DG::Panel& panel, const char* where, const DG::PanelResizeEvent& ev,
                     const std::function<void(GS::Int16 dx, GS::Int16 dy)>& move);

// A dialog with an accepting and a cancelling button, given by their items.
class OkCancelDialog : public AddOnDialog {
protected:
    OkCancelDialog(GS::Int16 resourceId, GS::Int16 okItem, GS::Int16 cancelItem);

    // The two buttons close the dialog, accepted or cancelled; true when the event was theirs.
    bool CloseOnOkCancel(const DG::ButtonClickEvent& ev);
    void ButtonClicked(const DG::ButtonClickEvent& ev) override;
    // An accepting close request stands only when check gives true; one that throws is refused too.
    void CheckClose(const char* where, const DG::PanelCloseRequestEvent& ev, bool* accepted,
                    const std::function<bool()>& check);
    // Tells why the dialog stays open, in an alert of texts of the resource's own string list;
    // gives false, for check.
    bool Refuse(GS::Int16 alertKind, GS::Int16 title, GS::Int16 text, GS::Int16 button);

    DG::Button okButton;
    DG::Button cancelButton;
};
