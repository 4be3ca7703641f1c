#pragma once
// Alerts, the system beep, file dialogs and window timers. Each waits for the user side (DGUser.hpp)
// as a modal dialog does: alerts and file dialogs take the user's answer, timers tick only when the
// user side fires them. Every alert and file dialog is logged.
#include <cstdint>
#include <string>
#include <vector>

#include "DG/DGTypes.hpp"
#include "GSRoot/Array.hpp"
#include "GSRoot/UniString.hpp"
#include "IO/FileTypeManager.hpp"
#include "IO/Location.hpp"

// Shows an alert of a kind (DG::DG_ERROR, DG_WARNING, DG_INFORMATION) with up to three buttons (an
// empty text is no button) and returns the number of the button the user pressed, from 1. When the
// user side has no more actions the alert answers 1.
Int16 DGAlert(Int16 kind, const GS::UniString& title, const GS::UniString& largeText,
              const GS::UniString& smallText, const GS::UniString& button1 = "OK",
              const GS::UniString& button2 = "", const GS::UniString& button3 = "");

// The system beep; counted (DG::User::BeepCount).
void GSSysBeep();

namespace DG {

// What the library logs of each alert and file dialog (DG::User::AlertLog, FileDialogLog).
struct AlertRecord {
    Int16 kind = 0;
    std::string title, largeText, smallText;
    std::vector<std::string> buttons;
    Int16 answer = 0;
    // One line: "alert KIND "title": "large" / "small" [buttons] -> answer".
    std::string ToString() const;
};
struct FileDialogRecord {
    Int32 type = 0;
    std::string title;
    std::vector<std::string> filters;  // "description (*.ext)"
    std::string chosen;                // empty when cancelled
    std::string ToString() const;
};

class FileDialog {
public:
    enum Type : Int32 { OpenFile = 0, OpenMultiFile = 1, OpenFolder = 2, Save = 4 };

    explicit FileDialog(Type type);
    ~FileDialog();
    void SetTitle(const GS::UniString& title);
    // Offers files of one type (by its id in the file-type manager); option 0.
    void AddFilter(FTM::TypeID type, Int32 option = 0);
    // False when the user cancelled.
    bool Invoke();
    IO::Location GetSelectedFile() const;

private:
    Type type;
    GS::UniString title;
    GS::Array<FTM::TypeID> filters;
    IO::Location selected;
};

}  // namespace DG

// Window timers. SetTimer starts a repeating timer with the given id on a window and returns the id
// (0 when the window is null); a timer with the same window and id replaces the earlier one.
// KillTimer stops it; false when there was none. The callback is called once per tick, only when
// the user side fires ticks.
using TimerProc = void (*)(void* window, UInt32 message, std::uintptr_t timerId, UInt32 time);
std::uintptr_t SetTimer(void* window, std::uintptr_t timerId, UInt32 elapseMs, TimerProc proc);
bool KillTimer(void* window, std::uintptr_t timerId);
