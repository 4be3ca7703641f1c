// The user's side of palettes, dialogs, alerts, file dialogs, timers and idle events.
#include <fstream>
#include <functional>
#include <map>

#include "DG/DGUser.hpp"
#include "Host/Script.hpp"

namespace Host {

namespace {

struct Target {
    Int16 id = 0;
    std::string title;
    bool visible = false;
};

DG::User::PanelInfo Info(Int16 id)
{
    for (const auto& p : DG::User::Panels()) {
        if (p.id == id)
            return p;
    }
    return {};
}

std::string Name(const Target& panel)
{
    return panel.title.empty() ? "panel " + std::to_string(panel.id) : ScriptRunner::Quoted(panel.title);
}

bool FindTarget(const std::string& text, Target* target, std::string* error)
{
    const Int16 id = text == "top" ? DG::User::TopModal() : DG::User::FindPanel(text);
    if (id == 0) {
        return ScriptRunner::Refuse(error, text == "top" ? "no modal dialog is open"
                                                         : "no open panel '" + text + "' (see 'show panels')");
    }
    const auto info = Info(id);
    *target = Target{id, info.title, info.visible};
    return true;
}

bool Int16Arg(const std::string& text, const char* what, Int16* value, std::string* error)
{
    long v;
    if (!ScriptRunner::ParseInt(text, &v, -32768, 32767))
        return ScriptRunner::Refuse(error, "'" + text + "' is not " + what);
    *value = static_cast<Int16>(v);
    return true;
}

// "[cmd+][option+][shift+]KEY": a named key, a key code, or one character.
bool ParseKey(const std::string& text, Int16* code, DG::Key::Modifier* modifiers)
{
    static const std::map<std::string, Int16> named = {
        {"delete", DG::Key::Delete}, {"escape", DG::Key::Escape}, {"enter", DG::Key::Enter},
        {"tab", DG::Key::Tab},       {"back", DG::Key::Back},     {"up", DG::Key::Up},
        {"down", DG::Key::Down},     {"left", DG::Key::Left},     {"right", DG::Key::Right}};
    static const std::map<std::string, DG::Key::Modifier> modifierNames = {
        {"cmd", DG::Key::Command},   {"command", DG::Key::Command}, {"ctrl", DG::Key::Command},
        {"option", DG::Key::Option}, {"alt", DG::Key::Option},      {"shift", DG::Key::Shift}};
    std::string rest = text;
    int mods = DG::Key::NoModifier;
    for (std::size_t plus; rest.size() > 1 && (plus = rest.find('+')) != std::string::npos && plus > 0;) {
        auto m = modifierNames.find(rest.substr(0, plus));
        if (m == modifierNames.end())
            return false;
        mods |= m->second;
        rest = rest.substr(plus + 1);
    }
    *modifiers = static_cast<DG::Key::Modifier>(mods);
    long number;
    if (auto k = named.find(rest); k != named.end())
        *code = k->second;
    else if (ScriptRunner::ParseInt(rest, &number, -32768, 32767) && rest.size() > 1)
        *code = static_cast<Int16>(number);
    else if (rest.size() == 1)
        *code = static_cast<unsigned char>(rest[0]);
    else
        return false;
    return true;
}

// The count tick and idle take, 1 when none is given.
bool CountArg(const std::vector<ScriptRunner::Token>& t, long* n, std::string* error)
{
    *n = 1;
    if (t.size() == 2 && !ScriptRunner::ParseInt(t[1].text, n, 1, 1000000))
        return ScriptRunner::Refuse(error, t[0].text + " takes an optional count from 1 to 1000000");
    return true;
}

// A panel command's panel and item, and what it does there: the action, and the line printed
// once the action took effect. A command that has done all it does sets no action.
struct PanelAct {
    Target panel;
    Int16 item = 0;
    std::string itemName;  // item N of PANEL
    std::string of;        // " of item N of PANEL"
    std::string confirmation;
    std::function<bool(std::string*)> action;
    Int16 a = 0, b = 0;  // numbers the action takes
};

}  // namespace

bool ScriptRunner::ShowDialogs(const std::string& what, std::string* error)
{
    if (what == "panels") {
        const auto panels = DG::User::Panels();
        const Int16 top = DG::User::TopModal();
        for (const auto& p : panels) {
            out << "panel " << p.id << ' ' << p.kind << ' ' << p.resourceId << " \"" << p.title << "\" "
                << (p.visible ? "visible" : "hidden") << (p.id == top ? " (top)" : "") << '\n';
        }
        const std::string open = DG::User::DescribeOpenAlert();
        if (!open.empty())
            out << open << (open.back() == '\n' ? "" : "\n");
        else if (panels.empty())
            out << "no panels\n";
    } else if (what == "alerts") {
        for (const auto& a : DG::User::AlertLog())
            out << a.ToString() << '\n';
        if (DG::User::AlertLog().empty())
            out << "no alerts\n";
    } else if (what == "files") {
        for (const auto& f : DG::User::FileDialogLog())
            out << f.ToString() << '\n';
        if (DG::User::FileDialogLog().empty())
            out << "no file dialogs\n";
    } else if (what == "beeps") {
        out << "beeps: " << DG::User::BeepCount() << '\n';
    } else {
        const std::string open = DG::User::DescribeOpenAlert();
        if (what == "top" && !open.empty()) {
            out << open << (open.back() == '\n' ? "" : "\n");
            return true;
        }
        Target panel;
        if (!FindTarget(what, &panel, error))
            return false;
        DG::User::Paint();
        const std::string text = DG::User::Describe(panel.id);
        out << text << (text.empty() || text.back() == '\n' ? "" : "\n");
    }
    return true;
}

const std::vector<ScriptRunner::Command>& ScriptRunner::DialogCommands()
{
    using Tokens = std::vector<Token>;
    using Prepare = bool (*)(ScriptRunner& r, const Tokens& t, PanelAct& p, std::string* error);
    // A command on PANEL (and ITEM): finds them, lets the command prepare its action, then acts and
    // says what was done, and that the panel closed when the action closed it.
    const auto onPanel = [](bool withItem, Prepare prepare) {
        return [withItem, prepare](ScriptRunner& r, const Tokens& t, std::string* error) {
            PanelAct p;
            if (!FindTarget(t[1].text, &p.panel, error))
                return false;
            if (withItem) {
                p.item = DG::User::FindItem(p.panel.id, t[2].text);
                if (p.item == 0)
                    return Refuse(error, Name(p.panel) + " has no item '" + t[2].text + "'");
            }
            p.itemName = "item " + std::to_string(p.item) + " of " + Name(p.panel);
            p.of = " of " + p.itemName;
            if (!prepare(r, t, p, error))
                return false;
            if (!p.action)
                return true;
            r.Confirm(p.confirmation);
            if (!p.action(error)) {
                r.Confirm("");
                return false;
            }
            r.FlushConfirmation();
            if (p.panel.visible && !Info(p.panel.id).visible)
                r.out << Name(p.panel) << " closed\n";
            return true;
        };
    };
    constexpr bool kItem = true, kNoItem = false;
    static const std::vector<Command> commands = {
        {"tick", 0, 1, "tick takes an optional count from 1 to 1000000", false,
         [](ScriptRunner& r, const Tokens& t, std::string* error) {
             long n;
             if (!CountArg(t, &n, error))
                 return false;
             DG::User::FireTimerTicks(static_cast<Int32>(n));
             r.out << n << " tick(s); " << DG::User::RunningTimerCount() << " timer(s) running\n";
             return true;
         }},
        {"idle", 0, 1, "idle takes an optional count from 1 to 1000000", false,
         [](ScriptRunner& r, const Tokens& t, std::string* error) {
             long n;
             if (!CountArg(t, &n, error))
                 return false;
             DG::User::FireIdle(static_cast<Int32>(n));
             r.out << n << " idle event(s)\n";
             return true;
         }},
        {"answer", 1, 1, "answer takes a button number or the button's text", false,
         [](ScriptRunner& r, const Tokens& t, std::string* error) {
             long button;
             const bool byNumber = !t[1].quoted && ParseInt(t[1].text, &button, 1, 3);
             r.Confirm("answered the alert with " + (byNumber ? "button " + t[1].text : Quoted(t[1].text)));
             const bool ok = byNumber ? DG::User::AnswerAlert(static_cast<Int16>(button), error)
                                      : DG::User::AnswerAlertByText(t[1].text, error);
             if (!ok)
                 r.Confirm("");
             return ok;
         }},
        {"file", 1, 1, "file takes a path, or 'cancel'", false,
         [](ScriptRunner& r, const Tokens& t, std::string* error) {
             const bool cancel = !t[1].quoted && t[1].text == "cancel";
             r.Confirm(cancel ? "cancelled the file dialog" : "chose file " + t[1].text);
             const bool ok = cancel ? DG::User::CancelFileDialog(error) : DG::User::ChooseFile(t[1].text, error);
             if (!ok)
                 r.Confirm("");
             return ok;
         }},
        {"svg", 2, 2, "usage: svg PANEL FILE", false,
         onPanel(kNoItem, [](ScriptRunner& r, const Tokens& t, PanelAct& p, std::string* error) {
             DG::User::Paint();
             const std::string svg = DG::User::DescribeSvg(p.panel.id);
             std::ofstream file(t[2].text, std::ios::binary | std::ios::trunc);
             if (!file || !(file << svg) || !file.flush())
                 return Refuse(error, "cannot write '" + t[2].text + "'");
             r.out << "wrote " << t[2].text << " (" << Name(p.panel) << ")\n";
             return true;
         })},
        {"click", 2, 2, "usage: click PANEL ITEM", false,
         onPanel(kItem, [](ScriptRunner&, const Tokens&, PanelAct& p, std::string*) {
             p.confirmation = "clicked " + p.itemName;
             p.action = [&p](std::string* e) { return DG::User::ClickButton(p.panel.id, p.item, e); };
             return true;
         })},
        {"closebox", 1, 1, "usage: closebox PANEL", false,
         onPanel(kNoItem, [](ScriptRunner&, const Tokens&, PanelAct& p, std::string*) {
             p.confirmation = "pressed the close box of " + Name(p.panel);
             p.action = [&p](std::string* e) { return DG::User::CloseBox(p.panel.id, e); };
             return true;
         })},
        {"select-rows", 3, kAnyNumber, "usage: select-rows PANEL ITEM ROW... | select-rows PANEL ITEM none", false,
         onPanel(kItem, [](ScriptRunner&, const Tokens& t, PanelAct& p, std::string* error) {
             std::vector<Int16> rows;
             std::string list;
             if (!(t.size() == 4 && !t[3].quoted && t[3].text == "none")) {
                 for (std::size_t i = 3; i < t.size(); ++i) {
                     if (!Int16Arg(t[i].text, "a row number", &p.a, error))
                         return false;
                     rows.push_back(p.a);
                     list += " " + t[i].text;
                 }
             }
             p.confirmation = (rows.empty() ? "selected no rows" : "selected row(s)" + list) + p.of;
             p.action = [&p, rows](std::string* e) { return DG::User::SelectRows(p.panel.id, p.item, rows, e); };
             return true;
         })},
        {"double-click", 3, 3, "usage: double-click PANEL ITEM ROW", false,
         onPanel(kItem, [](ScriptRunner&, const Tokens& t, PanelAct& p, std::string* error) {
             if (!Int16Arg(t[3].text, "a row number", &p.a, error))
                 return false;
             p.confirmation = "double-clicked row " + t[3].text + p.of;
             p.action = [&p](std::string* e) { return DG::User::DoubleClickRow(p.panel.id, p.item, p.a, e); };
             return true;
         })},
        {"drag-row", 4, 4, "usage: drag-row PANEL ITEM FROM TO", false,
         onPanel(kItem, [](ScriptRunner&, const Tokens& t, PanelAct& p, std::string* error) {
             if (!Int16Arg(t[3].text, "a row number", &p.a, error) || !Int16Arg(t[4].text, "a row number", &p.b, error))
                 return false;
             p.confirmation = "dragged row " + t[3].text + " to " + t[4].text + p.of;
             p.action = [&p](std::string* e) { return DG::User::DragRow(p.panel.id, p.item, p.a, p.b, e); };
             return true;
         })},
        {"drag-splitter", 3, 3, "usage: drag-splitter PANEL ITEM X", false,
         onPanel(kItem, [](ScriptRunner&, const Tokens& t, PanelAct& p, std::string* error) {
             if (!Int16Arg(t[3].text, "a position", &p.a, error))
                 return false;
             p.confirmation = "dragged " + p.itemName + " to x " + t[3].text;
             p.action = [&p](std::string* e) { return DG::User::DragSplitter(p.panel.id, p.item, p.a, e); };
             return true;
         })},
        {"resize", 3, 3, "usage: resize PANEL DX DY", false,
         onPanel(kNoItem, [](ScriptRunner&, const Tokens& t, PanelAct& p, std::string* error) {
             if (!Int16Arg(t[2].text, "a width change", &p.a, error) ||
                 !Int16Arg(t[3].text, "a height change", &p.b, error))
                 return false;
             p.confirmation = "resized " + Name(p.panel) + " by " + t[2].text + ", " + t[3].text;
             p.action = [&p](std::string* e) { return DG::User::ResizePanel(p.panel.id, p.a, p.b, e); };
             return true;
         })},
        {"resize-header", 4, 4, "usage: resize-header PANEL ITEM HEADER CHANGE", false,
         onPanel(kItem, [](ScriptRunner&, const Tokens& t, PanelAct& p, std::string* error) {
             if (!Int16Arg(t[3].text, "a header item number", &p.a, error) ||
                 !Int16Arg(t[4].text, "a width change", &p.b, error))
                 return false;
             p.confirmation = "resized header item " + t[3].text + p.of + " by " + t[4].text;
             p.action = [&p](std::string* e) { return DG::User::ResizeHeaderItem(p.panel.id, p.item, p.a, p.b, e); };
             return true;
         })},
        {"type", 3, 3, "usage: type PANEL ITEM \"TEXT\"", false,
         onPanel(kItem, [](ScriptRunner&, const Tokens& t, PanelAct& p, std::string*) {
             p.confirmation = "typed " + Quoted(t[3].text) + " into " + p.itemName;
             p.action = [&p, &t](std::string* e) { return DG::User::TypeText(p.panel.id, p.item, t[3].text, e); };
             return true;
         })},
        {"focus", 2, 2, "usage: focus PANEL ITEM", false,
         onPanel(kItem, [](ScriptRunner&, const Tokens&, PanelAct& p, std::string*) {
             p.confirmation = "focused " + p.itemName;
             p.action = [&p](std::string* e) { return DG::User::Focus(p.panel.id, p.item, e); };
             return true;
         })},
        {"check", 3, 3, "usage: check PANEL ITEM on|off", false,
         onPanel(kItem, [](ScriptRunner&, const Tokens& t, PanelAct& p, std::string* error) {
             if (t[3].text != "on" && t[3].text != "off")
                 return Refuse(error, "check takes on or off");
             const bool on = t[3].text == "on";
             p.confirmation = std::string(on ? "checked " : "unchecked ") + p.itemName;
             p.action = [&p, on](std::string* e) { return DG::User::SetCheck(p.panel.id, p.item, on, e); };
             return true;
         })},
        {"choose", 3, 3, "usage: choose PANEL ITEM ENTRY|\"TEXT\"", false,
         onPanel(kItem, [](ScriptRunner&, const Tokens& t, PanelAct& p, std::string*) {
             long entry = 0;
             const bool byNumber = !t[3].quoted && ParseInt(t[3].text, &entry, -32768, 32767);
             p.a = static_cast<Int16>(entry);
             p.confirmation = "chose " + (byNumber ? "entry " + t[3].text : Quoted(t[3].text)) + p.of;
             p.action = [&p, &t, byNumber](std::string* e) {
                 return byNumber ? DG::User::ChooseEntry(p.panel.id, p.item, p.a, e)
                                 : DG::User::ChooseEntryByText(p.panel.id, p.item, t[3].text, e);
             };
             return true;
         })},
        {"key", 2, 2, "usage: key PANEL [cmd+][option+][shift+]KEY", false,
         onPanel(kNoItem, [](ScriptRunner&, const Tokens& t, PanelAct& p, std::string* error) {
             DG::Key::Modifier modifiers;
             if (!ParseKey(t[2].text, &p.a, &modifiers))
                 return Refuse(error,
                               "'" + t[2].text + "' is not a key (try delete, escape, enter, cmd+D or a key code)");
             p.confirmation = "pressed " + t[2].text + " in " + Name(p.panel);
             p.action = [&p, modifiers](std::string* e) { return DG::User::PressKey(p.panel.id, p.a, modifiers, e); };
             return true;
         })},
    };
    return commands;
}

}  // namespace Host
