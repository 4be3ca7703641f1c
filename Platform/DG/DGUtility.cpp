#include "DG/DGUtility.hpp"

#include <sys/stat.h>

#include "DG/DGState.hpp"
#include "DG/DGUser.hpp"
#include "GSRoot/Internal.hpp"

using DG::Internal::ModalEntry;
using DG::Internal::ModalStack;

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
    DG::User::AlertRecord rec;
    rec.kind = kind;
    rec.title = title.ToUtf8();
    rec.largeText = largeText.ToUtf8();
    rec.smallText = smallText.ToUtf8();
    for (const GS::UniString* b : {&button1, &button2, &button3})
        if (!b->IsEmpty())
            rec.buttons.push_back(b->ToUtf8());
    if (rec.buttons.empty())
        rec.buttons.push_back("OK");
    auto& log = DG::Internal::MutableAlertLog();
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
    auto& logNow = DG::Internal::MutableAlertLog();
    if (entry.record < logNow.size())
        logNow[entry.record].answer = answer;
    return answer;
}

void GSSysBeep() { DG::Internal::CountBeep(); }

namespace DG {

FileDialog::FileDialog(Type type) : type(type) {}
FileDialog::~FileDialog() = default;
void FileDialog::SetTitle(const GS::UniString& t) { title = t; }
void FileDialog::AddFilter(FTM::TypeID t, Int32) { filters.Push(t); }

bool FileDialog::Invoke()
{
    User::FileDialogRecord rec;
    rec.type = type;
    rec.title = title.ToUtf8();
    for (FTM::TypeID t : filters) {
        GS::UniString description, extension;
        if (FTM::FileTypeManager::GetType(t, &description, &extension))
            rec.filters.push_back(description.ToUtf8() + " (*." + extension.ToUtf8() + ")");
    }
    auto& log = Internal::MutableFileDialogLog();
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
    auto& logNow = Internal::MutableFileDialogLog();
    if (entry.record < logNow.size())
        logNow[entry.record].chosen = chosen;
    selected = chosen.empty() ? IO::Location() : IO::Location(GS::UniString(chosen));
    return !chosen.empty();
}

IO::Location FileDialog::GetSelectedFile() const { return selected; }

namespace User {

bool ChooseFile(const std::string& path, std::string* error)
{
    auto fail = [&](const std::string& m) {
        if (error != nullptr)
            *error = m;
        return false;
    };
    if (!FileDialogOpen())
        return fail("no file dialog is open");
    if (path.empty())
        return fail("no file given");
    ModalEntry& e = ModalStack().back();
    struct stat st {};
    bool exists = ::stat(path.c_str(), &st) == 0;
    switch (static_cast<FileDialog::Type>(e.answer)) {
        case FileDialog::OpenFile:
        case FileDialog::OpenMultiFile:
            if (!exists || !S_ISREG(st.st_mode))
                return fail("no file at " + path);
            break;
        case FileDialog::OpenFolder:
            if (!exists || !S_ISDIR(st.st_mode))
                return fail("no folder at " + path);
            break;
        case FileDialog::Save: {
            if (exists && S_ISDIR(st.st_mode))
                return fail(path + " is a folder");
            std::string::size_type slash = path.rfind('/');
            std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
            struct stat ds {};
            if (::stat(dir.c_str(), &ds) != 0 || !S_ISDIR(ds.st_mode))
                return fail("no folder at " + dir);
            break;
        }
    }
    e.chosen = path;
    e.done = true;
    return true;
}

}  // namespace User
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

namespace DG {
namespace User {

void FireTimerTicks(Int32 count)
{
    for (Int32 i = 0; i < count; ++i) {
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
        Paint();
    }
}

Int32 RunningTimerCount() { return static_cast<Int32>(TheTimers().running.size()); }

void FireIdle(Int32 count)
{
    for (Int32 i = 0; i < count; ++i) {
        std::vector<Int16> targets;
        Int16 top = TopModal();
        if (!Internal::ModalStack().empty()) {
            PanelState* p = Internal::FindPanelState(top);
            if (Internal::ModalStack().back().kind == Internal::ModalEntry::Dialog && p != nullptr && p->idleEnabled)
                targets.push_back(top);
        } else {
            for (PanelState* p : Internal::LivePanels())
                if (p->visible && p->idleEnabled)
                    targets.push_back(p->id);
        }
        for (Int16 id : targets)
            Internal::DispatchPanel(id, [](PanelObserver* o, Panel* src) { o->PanelIdle(PanelIdleEvent(src)); });
        Paint();
    }
}

}  // namespace User
}  // namespace DG
