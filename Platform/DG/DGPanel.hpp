#pragma once
// Panels (palettes, modal dialogs) built from dialog resources, and their observers.
//
// Headless: nothing is shown on a screen. The state of every panel lives here and is shown as text
// (DG::User::Describe). Changes that code makes (texts, values, selections) fire no observer event;
// only the user's actions, delivered through DG/DGUser.hpp, do. Opening (PanelOpened), close requests
// (PanelCloseRequested, which may refuse) and redraws (owner drawing) happen alike whoever asks.
#include <memory>

#include "DG/DGTypes.hpp"
#include "GSRoot/UniString.hpp"
#include "RS/RS.hpp"

namespace DG {

class Panel;
class Item;
struct PanelState;

// ---- panel events ----------------------------------------------------------------------------

class PanelEvent {
public:
    explicit PanelEvent(Panel* source) : source(source) {}
    Panel* GetSource() const { return source; }

private:
    Panel* source;
};

class PanelOpenEvent : public PanelEvent {
public:
    using PanelEvent::PanelEvent;
};

class PanelCloseEvent : public PanelEvent {
public:
    using PanelEvent::PanelEvent;
};

// A request to close: accepting (OK, result 1) or cancelling (Cancel, the close box, result 2).
class PanelCloseRequestEvent : public PanelEvent {
public:
    PanelCloseRequestEvent(Panel* source, bool accepting) : PanelEvent(source), accepting(accepting) {}
    bool IsAccepted() const { return accepting; }
    bool IsCancelled() const { return !accepting; }

private:
    bool accepting;
};

class PanelResizeEvent : public PanelEvent {
public:
    PanelResizeEvent(Panel* source, Int16 dx, Int16 dy) : PanelEvent(source), dx(dx), dy(dy) {}
    Int16 GetHorizontalChange() const { return dx; }
    Int16 GetVerticalChange() const { return dy; }

private:
    Int16 dx, dy;
};

class PanelHotKeyEvent : public PanelEvent {
public:
    PanelHotKeyEvent(Panel* source, Int16 keyId) : PanelEvent(source), keyId(keyId) {}
    // The id RegisterHotKey returned.
    Int16 GetKeyId() const { return keyId; }

private:
    Int16 keyId;
};

class PanelIdleEvent : public PanelEvent {
public:
    using PanelEvent::PanelEvent;
};

// Out-of-line virtual destructors (in the library) keep one type identity across modules.
class PanelObserver {
public:
    virtual ~PanelObserver();
    virtual void PanelOpened(const PanelOpenEvent& ev);
    // Set *accepted to false to refuse the request; it starts true.
    virtual void PanelCloseRequested(const PanelCloseRequestEvent& ev, bool* accepted);
    virtual void PanelClosed(const PanelCloseEvent& ev);
    virtual void PanelResized(const PanelResizeEvent& ev);
    // Set *processed to true when the key was handled.
    virtual void PanelHotkeyPressed(const PanelHotKeyEvent& ev, bool* processed);
    virtual void PanelIdle(const PanelIdleEvent& ev);
};

// ---- panels ----------------------------------------------------------------------------------

// A panel made from dialog resource resId of a resource module. When the resource is missing the
// panel has id 0 and every operation on it does nothing.
class Panel {
public:
    Panel(GSResModule resModule, Int16 resId, GSResModule iconModule);
    virtual ~Panel();
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    // Unique id of the live panel (1, 2, ...); 0 when the resource was not found.
    Int16 GetId() const;
    Int16 GetResourceId() const;

    void Attach(PanelObserver& observer);
    void Detach(PanelObserver& observer);

    GS::UniString GetTitle() const;
    void SetTitle(const GS::UniString& title);
    Int16 GetClientWidth() const;
    Int16 GetClientHeight() const;
    // From code: no PanelResized.
    void SetClientSize(Int16 width, Int16 height);

    // Brackets a batch of item moves (kept as a counter only).
    void BeginMoveResizeItems();
    void EndMoveResizeItems();

    // Palette messages: every item disabled while the host asks; EnableItems restores each item's own state.
    void DisableItems();
    void EnableItems();
    bool AreItemsDisabled() const;

    // Returns the hot key's id (1, 2, ...), 0 when the panel has no id.
    Int16 RegisterHotKey(Int16 keyCode, Key::Modifier modifiers = Key::NoModifier);
    void UnregisterHotKey(Int16 keyId);

    // Asks for every item to be painted again (owner-drawn cells included) at the next paint.
    void Redraw();

    Int16 GetItemCount() const;
    // The item that has the keyboard focus, 0 when none.
    Int16 GetFocusedItem() const;

    // The library's own record of the panel (not for add-ons).
    PanelState* State() const { return state.get(); }

private:
    std::unique_ptr<PanelState> state;
};

class Dialog : public Panel {
public:
    using Panel::Panel;
    // Idle events (PanelIdle) reach the dialog only while enabled, and only when the user side fires them.
    void EnableIdleEvent(bool sendForInactiveApp = false);
    void DisableIdleEvent();
};

// A modal dialog: Invoke sends PanelOpened, then takes the user's actions until a close request is
// accepted, and returns its response. A panel without id returns Cancel at once.
class ModalDialog : public Dialog {
public:
    ModalDialog(GSResModule resModule, Int16 resId, GSResModule iconModule);
    ~ModalDialog() override;

    ModalResponse Invoke();
    // Asks to close: PanelCloseRequested decides, unless the response is Cancel from the library
    // itself (the user side was left with no more actions).
    void PostCloseRequest(ModalResponse response);
    bool IsOpen() const;
};

// A modeless window (palette): shown and hidden by code or the host; the close box sends a
// cancelling close request, which the owner handles (a palette usually hides itself).
class ModelessBase : public Dialog {
public:
    ModelessBase(GSResModule resModule, Int16 resId, GSResModule iconModule);
    ~ModelessBase() override;

    // The first Show sends PanelOpened.
    void Show(Int16 position = -32768);
    void Hide();
    bool IsVisible() const;
    void BeginEventProcessing();
    void EndEventProcessing();
};

class Palette : public ModelessBase {
public:
    using ModelessBase::ModelessBase;
};

}  // namespace DG
