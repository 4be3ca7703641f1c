#pragma once
// The user's side of the dialog library: what a person does to palettes, dialogs, alerts and file
// dialogs, and how they look. The stand-in host plays the user through these calls; tests too.
//
// Each action fires the observer events a real user's action would, then paints what is pending
// (owner-drawn cells of rows that changed or were asked to redraw). While a modal dialog, alert or
// file dialog is open only it takes actions (timers and idle events still run).
//
// Modal loops: ModalDialog::Invoke, DGAlert and FileDialog::Invoke call the pump to get the user's
// next action until they close. A pump that returns false has no more actions: the library then
// closes the modal itself (dialog: Cancel; alert: button 1; file dialog: cancelled) and notes
// it in AbandonedModals, so the host can report the script line that left it open.
#include <functional>
#include <string>
#include <vector>

#include "DG/DGItems.hpp"
#include "DG/DGUtility.hpp"

namespace DG {
namespace User {

using Pump = std::function<bool()>;
// Installs the pump; returns the previous one.
Pump SetPump(Pump pump);

// ---- what is open ----
struct PanelInfo {
    Int16 id = 0;
    Int16 resourceId = 0;
    std::string kind;  // "palette", "modal"
    std::string title;
    bool visible = false;
};
// Live panels with an id, in creation order.
std::vector<PanelInfo> Panels();
// The open modal dialog on top, 0 when none.
Int16 TopModal();
// A panel by its id, resource id or title; 0 when none matches. Resource ids and titles prefer the
// top modal, then visible panels.
Int16 FindPanel(const std::string& idOrTitle);
// An item by number, by its name in the resource, or by its text or tooltip (names first); 0 when
// none matches.
Int16 FindItem(Int16 panel, const std::string& item);

// ---- actions (false with a message when the action is not possible) ----
bool ClickButton(Int16 panel, Int16 item, std::string* error);
// The close box: a cancelling close request.
bool CloseBox(Int16 panel, std::string* error);
// Selects exactly these rows (empty: none) and fires ListBoxSelectionChanged once.
bool SelectRows(Int16 panel, Int16 item, const std::vector<Int16>& rows, std::string* error);
bool DoubleClickRow(Int16 panel, Int16 item, Int16 row, std::string* error);
// Moves the pointer over the row's first tab field; only when the observer marks it draggable
// (ListBoxMouseMoved) does the list move the row to its new place and fire ListBoxItemDragged.
bool DragRow(Int16 panel, Int16 item, Int16 from, Int16 to, std::string* error);
bool DragSplitter(Int16 panel, Int16 item, Int16 newX, std::string* error);
// Resizes a growable panel's client area and fires PanelResized.
bool ResizePanel(Int16 panel, Int16 dx, Int16 dy, std::string* error);
// Resizes a sizeable header item and fires ListBoxHeaderItemResized.
bool ResizeHeaderItem(Int16 panel, Int16 item, Int16 headerItem, Int16 change, std::string* error);
// Focuses the item, replaces its text (limited to its maximum length; real edits held in range),
// puts the caret at the end and fires TextEditChanged.
bool TypeText(Int16 panel, Int16 item, const std::string& text, std::string* error);
bool Focus(Int16 panel, Int16 item, std::string* error);
bool SetCheck(Int16 panel, Int16 item, bool checked, std::string* error);
// Chooses a pop-up entry (PopUpChanged) or a pop-up menu button's entry (UserControlChanged).
bool ChooseEntry(Int16 panel, Int16 item, Int16 entry, std::string* error);
bool ChooseEntryByText(Int16 panel, Int16 item, const std::string& text, std::string* error);
// A key: a registered hot key fires PanelHotkeyPressed.
bool PressKey(Int16 panel, Int16 keyCode, Key::Modifier modifiers, std::string* error);

// Alerts and file dialogs waiting for the user.
bool AlertOpen();
bool AnswerAlert(Int16 button, std::string* error);
bool AnswerAlertByText(const std::string& buttonText, std::string* error);
bool FileDialogOpen();
bool ChooseFile(const std::string& path, std::string* error);
bool CancelFileDialog(std::string* error);

// Timers and idle events.
// One tick of every running timer, in the order they were started; repeated count times.
void FireTimerTicks(Int32 count);
Int32 RunningTimerCount();
// One idle event to every open dialog that enabled them (the top modal only, while one is open).
void FireIdle(Int32 count);

// Paints what is pending (the actions do it themselves). A list paints the rows that show: from its
// scroll position, as many as start within its height below a 20-pixel header (a partly shown last
// row counts). Each owner-drawn cell of such a row that changed (or whose list was redrawn, scrolled,
// resized or shown) gets ListBoxTabFieldUpdate; a tab field that ends at or before its begin has no
// cell. Rows out of view are painted when they come into view, so the cost follows the rows shown.
void Paint();

// ---- how it looks ----
// Stable text of a panel: items with kind, rectangle, state and text; pop-up entries; list headers,
// tab fields, rows with cells, values, selection, disabled state and the recorded owner drawing.
// Paints first. Texts are quoted (\" and \n escaped); numbers use '.'. The lines:
//   KIND "title" WxH visible|hidden [grow] [disabled-by-host]          (KIND: palette, modal)
//   N kind (x,y,w,h) [disabled] [hidden] [focus] then by kind:
//     check box [x] or [ ]; real edit: value V [range [min, max]] (-inf/inf when open);
//     others with a text: "text"; static text: center|right when not left;
//     text edits: "text" caret C | selection S-E [limit L]; then [tooltip "t"] [icon ID "name"|(missing)];
//     progress bar: MIN..MAX value V; splitter: [draggable];
//     pop-up: selected N / pop-up menu button: chosen N, then one line per entry:
//       entry N "text" value V [*]   or   entry N --- (a separator); * marks the selected one
//     list: rowHeight H scroll S rows R, then
//       header N "text" size S left|center|right [sizeable]
//       tab N BEGIN-END left|center|right [owner-drawn]
//       row N value V [selected] [disabled] | "cell 1" | "cell 2" ...
//         cell T (x,y,w,h) back #RRGGBBAA fore #RRGGBBAA   (what was painted, in list coordinates)
//           one line per drawing operation (Graphix::DrawOp::ToString)
// A row shows its drawing only while it is current (not changed since, and painted in this layout).
std::string Describe(Int16 panel);
// An SVG picture of the panel drawn from its items' rectangles, texts and recorded drawing.
std::string DescribeSvg(Int16 panel);
// The open alert or file dialog, empty when none.
std::string DescribeOpenAlert();

// ---- logs ----
// Every alert and file dialog shown (DG/DGUtility.hpp has the records).
const std::vector<AlertRecord>& AlertLog();
const std::vector<FileDialogRecord>& FileDialogLog();
Int32 BeepCount();
// Modals the library had to close because the pump had no more actions.
Int32 AbandonedModals();
// Empties the logs and counters (tests).
void ResetLogs();

}  // namespace User
}  // namespace DG
