#include "DG/DGUtility.hpp"

#include "DG/DGState.hpp"
#include "GSRoot/Internal.hpp"

using DG::Internal::ModalEntry;
using DG::Internal::ModalStack;
using GS::Internal::QuoteText;

namespace {

// Pops the modal entry at `level` however the loop ends.
struct StackLevel {
    std::size_t level;
    ~StackLevel()
    {
        if (ModalStack().size() > level)
            ModalStack().resize(level);
    }
};

}  // namespace

Int16 DGAlert(Int16 kind, const GS::UniString& title, const GS::UniString& largeText, const GS::UniString& smallText,
              const GS::UniString& button1, const GS::UniString& button2, const GS::UniString& button3)
{
    DG::AlertRecord rec;
    rec.kind = kind;
    rec.title = title.ToUtf8();
    rec.largeText = largeText.ToUtf8();
    rec.smallText = smallText.ToUtf8();
    for (const GS::UniString* b : {&button1, &button2, &button3})
        if (!b->IsEmpty())
            rec.buttons.push_back(b->ToUtf8());
    if (rec.buttons.empty())
        rec.buttons.push_back("OK");
    auto& log = DG::Internal::TheLogs().alerts;
    log.push_back(rec);
    ModalEntry entry;
    entry.kind = ModalEntry::Alert;
    entry.record = log.size() - 1;
    ModalStack().push_back(entry);
    StackLevel guard{ModalStack().size() - 1};
    const std::size_t level = guard.level;
    bool answered =
        DG::Internal::RunModalLoop([level]() { return ModalStack().size() <= level || ModalStack()[level].done; });
    Int16 answer = answered && ModalStack().size() > level ? ModalStack()[level].answer : 1;
    if (answer < 1)
        answer = 1;
    auto& logNow = DG::Internal::TheLogs().alerts;
    if (entry.record < logNow.size())
        logNow[entry.record].answer = answer;
    return answer;
}

void GSSysBeep() { ++DG::Internal::TheLogs().beeps; }

namespace DG {

namespace Internal {
Logs& TheLogs() { return GS::Internal::Immortal<Logs>(); }
}  // namespace Internal

std::string AlertRecord::ToString() const
{
    const char* k = kind == DG_ERROR         ? "error"
                    : kind == DG_WARNING     ? "warning"
                    : kind == DG_INFORMATION ? "information"
                                             : "alert";
    std::string out = std::string("alert ") + k + " " + QuoteText(title) + ": " + QuoteText(largeText) + " / " +
                      QuoteText(smallText) + " [";
    for (std::size_t i = 0; i < buttons.size(); ++i)
        out += (i > 0 ? ", " : "") + QuoteText(buttons[i]);
    return out + "] -> " + std::to_string(answer);
}

std::string FileDialogRecord::ToString() const
{
    const char* t = type == 0 ? "open" : type == 1 ? "open-multi" : type == 2 ? "open-folder" : "save";
    std::string out = std::string("file dialog ") + t + " " + QuoteText(title) + " [";
    for (std::size_t i = 0; i < filters.size(); ++i)
        out += (i > 0 ? ", " : "") + filters[i];
    return out + "] -> " + (chosen.empty() ? std::string("cancelled") : QuoteText(chosen));
}

FileDialog::FileDialog(Type type) : type(type) {}
FileDialog::~FileDialog() = default;
void FileDialog::SetTitle(const GS::UniString& t) { title = t; }
void FileDialog::AddFilter(FTM::TypeID t, Int32) { filters.Push(t); }

bool FileDialog::Invoke()
{
    FileDialogRecord rec;
    rec.type = type;
    rec.title = title.ToUtf8();
    for (FTM::TypeID t : filters) {
        GS::UniString description, extension;
        if (FTM::FileTypeManager::GetType(t, &description, &extension))
            rec.filters.push_back(description.ToUtf8() + " (*." + extension.ToUtf8() + ")");
    }
    auto& log = Internal::TheLogs().fileDialogs;
    log.push_back(rec);
    ModalEntry entry;
    entry.kind = ModalEntry::FileDialog;
    entry.record = log.size() - 1;
    entry.answer = static_cast<Int16>(type);
    ModalStack().push_back(entry);
    StackLevel guard{ModalStack().size() - 1};
    const std::size_t level = guard.level;
    bool finished =
        Internal::RunModalLoop([level]() { return ModalStack().size() <= level || ModalStack()[level].done; });
    std::string chosen = finished && ModalStack().size() > level ? ModalStack()[level].chosen : std::string();
    auto& logNow = Internal::TheLogs().fileDialogs;
    if (entry.record < logNow.size())
        logNow[entry.record].chosen = chosen;
    selected = chosen.empty() ? IO::Location() : IO::Location(GS::UniString(chosen));
    return !chosen.empty();
}

IO::Location FileDialog::GetSelectedFile() const { return selected; }

}  // namespace DG

// ---- timers ------------------------------------------------------------------------------------

namespace {

struct Timer {
    void* window = nullptr;
    std::uintptr_t id = 0;
    TimerProc proc = nullptr;
    UInt32 elapse = 0;
    UInt64 serial = 0;
};

struct Timers {
    std::vector<Timer> running;  // in start order
    UInt64 nextSerial = 1;
    UInt32 clock = 0;
};

Timers& TheTimers() { return GS::Internal::Immortal<Timers>(); }

}  // namespace

std::uintptr_t SetTimer(void* window, std::uintptr_t timerId, UInt32 elapseMs, TimerProc proc)
{
    if (window == nullptr || proc == nullptr)
        return 0;
    Timers& t = TheTimers();
    KillTimer(window, timerId);
    Timer timer;
    timer.window = window;
    timer.id = timerId;
    timer.proc = proc;
    timer.elapse = elapseMs;
    timer.serial = t.nextSerial++;
    t.running.push_back(timer);
    return timerId;
}

bool KillTimer(void* window, std::uintptr_t timerId)
{
    auto& v = TheTimers().running;
    for (auto it = v.begin(); it != v.end(); ++it)
        if (it->window == window && it->id == timerId) {
            v.erase(it);
            return true;
        }
    return false;
}

void DG::Internal::TickTimers()
{
    std::vector<Timer> snapshot = TheTimers().running;
    for (const Timer& t : snapshot) {
        // A timer killed (or replaced) earlier in this tick is not called.
        bool alive = false;
        for (const Timer& r : TheTimers().running)
            alive = alive || r.serial == t.serial;
        if (!alive)
            continue;
        TheTimers().clock += t.elapse;
        t.proc(t.window, 0x0113u, t.id, TheTimers().clock);
    }
}

Int32 DG::Internal::RunningTimerCount() { return static_cast<Int32>(TheTimers().running.size()); }
