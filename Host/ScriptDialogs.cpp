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

struct Command {
    int args;  // negative: at least that many
    bool item;
    const char* usage;
};

const std::map<std::string, Command>& PanelCommands()
{
    static const std::map<std::string, Command> commands = {
        {"svg", {2, false, "svg PANEL FILE"}},
        {"click", {2, true, "click PANEL ITEM"}},
        {"closebox", {1, false, "closebox PANEL"}},
        {"select-rows", {-3, true, "select-rows PANEL ITEM ROW... | select-rows PANEL ITEM none"}},
        {"double-click", {3, true, "double-click PANEL ITEM ROW"}},
        {"drag-row", {4, true, "drag-row PANEL ITEM FROM TO"}},
        {"drag-splitter", {3, true, "drag-splitter PANEL ITEM X"}},
        {"resize", {3, false, "resize PANEL DX DY"}},
        {"resize-header", {4, true, "resize-header PANEL ITEM HEADER CHANGE"}},
        {"type", {3, true, "type PANEL ITEM \"TEXT\""}},
        {"focus", {2, true, "focus PANEL ITEM"}},
        {"check", {3, true, "check PANEL ITEM on|off"}},
        {"choose", {3, true, "choose PANEL ITEM ENTRY|\"TEXT\""}},
        {"key", {2, false, "key PANEL [cmd+][option+][shift+]KEY"}}};
    return commands;
}

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

bool ScriptRunner::DialogCommand(const std::vector<Token>& t, bool* handled, std::string* error)
{
    const std::string& cmd = t[0].text;
    const std::size_t argc = t.size() - 1;
    *handled = true;

    if (cmd == "tick" || cmd == "idle") {
        long n = 1;
        if (argc > 1 || (argc == 1 && !ScriptRunner::ParseInt(t[1].text, &n, 1, 1000000)))
            return Refuse(error, cmd + " takes an optional count from 1 to 1000000");
        if (cmd == "tick") {
            DG::User::FireTimerTicks(static_cast<Int32>(n));
            out << n << " tick(s); " << DG::User::RunningTimerCount() << " timer(s) running\n";
        } else {
            DG::User::FireIdle(static_cast<Int32>(n));
            out << n << " idle event(s)\n";
        }
        return true;
    }
    if (cmd == "answer") {
        if (argc != 1)
            return Refuse(error, "answer takes a button number or the button's text");
        long button;
        const bool byNumber = !t[1].quoted && ScriptRunner::ParseInt(t[1].text, &button, 1, 3);
        Confirm("answered the alert with " + (byNumber ? "button " + t[1].text : Quoted(t[1].text)));
        const bool ok = byNumber ? DG::User::AnswerAlert(static_cast<Int16>(button), error)
                                 : DG::User::AnswerAlertByText(t[1].text, error);
        if (!ok)
            Confirm("");
        return ok;
    }
    if (cmd == "file") {
        if (argc != 1)
            return Refuse(error, "file takes a path, or 'cancel'");
        const bool cancel = !t[1].quoted && t[1].text == "cancel";
        Confirm(cancel ? "cancelled the file dialog" : "chose file " + t[1].text);
        const bool ok = cancel ? DG::User::CancelFileDialog(error) : DG::User::ChooseFile(t[1].text, error);
        if (!ok)
            Confirm("");
        return ok;
    }

    auto found = PanelCommands().find(cmd);
    if (found == PanelCommands().end()) {
        *handled = false;
        return true;
    }
    const Command& c = found->second;
    if (c.args >= 0 ? argc != static_cast<std::size_t>(c.args) : argc < static_cast<std::size_t>(-c.args))
        return Refuse(error, std::string("usage: ") + c.usage);
    Target panel;
    if (!FindTarget(t[1].text, &panel, error))
        return false;
    Int16 item = 0;
    if (c.item) {
        item = DG::User::FindItem(panel.id, t[2].text);
        if (item == 0)
            return Refuse(error, Name(panel) + " has no item '" + t[2].text + "'");
    }
    const std::string of = " of item " + std::to_string(item) + " of " + Name(panel);
    const std::string itemName = "item " + std::to_string(item) + " of " + Name(panel);
    std::string confirmation;
    std::function<bool(std::string*)> action;
    Int16 a = 0, b = 0;

    if (cmd == "svg") {
        DG::User::Paint();
        const std::string svg = DG::User::DescribeSvg(panel.id);
        std::ofstream file(t[2].text, std::ios::binary | std::ios::trunc);
        if (!file || !(file << svg) || !file.flush())
            return Refuse(error, "cannot write '" + t[2].text + "'");
        out << "wrote " << t[2].text << " (" << Name(panel) << ")\n";
        return true;
    } else if (cmd == "click") {
        confirmation = "clicked " + itemName;
        action = [&](std::string* e) { return DG::User::ClickButton(panel.id, item, e); };
    } else if (cmd == "closebox") {
        confirmation = "pressed the close box of " + Name(panel);
        action = [&](std::string* e) { return DG::User::CloseBox(panel.id, e); };
    } else if (cmd == "select-rows") {
        std::vector<Int16> rows;
        std::string list;
        if (!(argc == 3 && !t[3].quoted && t[3].text == "none")) {
            for (std::size_t i = 3; i < t.size(); ++i) {
                if (!Int16Arg(t[i].text, "a row number", &a, error))
                    return false;
                rows.push_back(a);
                list += " " + t[i].text;
            }
        }
        confirmation = (rows.empty() ? "selected no rows" : "selected row(s)" + list) + of;
        action = [&, rows](std::string* e) { return DG::User::SelectRows(panel.id, item, rows, e); };
    } else if (cmd == "double-click") {
        if (!Int16Arg(t[3].text, "a row number", &a, error))
            return false;
        confirmation = "double-clicked row " + t[3].text + of;
        action = [&](std::string* e) { return DG::User::DoubleClickRow(panel.id, item, a, e); };
    } else if (cmd == "drag-row") {
        if (!Int16Arg(t[3].text, "a row number", &a, error) || !Int16Arg(t[4].text, "a row number", &b, error))
            return false;
        confirmation = "dragged row " + t[3].text + " to " + t[4].text + of;
        action = [&](std::string* e) { return DG::User::DragRow(panel.id, item, a, b, e); };
    } else if (cmd == "drag-splitter") {
        if (!Int16Arg(t[3].text, "a position", &a, error))
            return false;
        confirmation = "dragged " + itemName + " to x " + t[3].text;
        action = [&](std::string* e) { return DG::User::DragSplitter(panel.id, item, a, e); };
    } else if (cmd == "resize") {
        if (!Int16Arg(t[2].text, "a width change", &a, error) || !Int16Arg(t[3].text, "a height change", &b, error))
            return false;
        confirmation = "resized " + Name(panel) + " by " + t[2].text + ", " + t[3].text;
        action = [&](std::string* e) { return DG::User::ResizePanel(panel.id, a, b, e); };
    } else if (cmd == "resize-header") {
        if (!Int16Arg(t[3].text, "a header item number", &a, error) ||
            !Int16Arg(t[4].text, "a width change", &b, error))
            return false;
        confirmation = "resized header item " + t[3].text + of + " by " + t[4].text;
        action = [&](std::string* e) { return DG::User::ResizeHeaderItem(panel.id, item, a, b, e); };
    } else if (cmd == "type") {
        confirmation = "typed " + Quoted(t[3].text) + " into " + itemName;
        action = [&](std::string* e) { return DG::User::TypeText(panel.id, item, t[3].text, e); };
    } else if (cmd == "focus") {
        confirmation = "focused " + itemName;
        action = [&](std::string* e) { return DG::User::Focus(panel.id, item, e); };
    } else if (cmd == "check") {
        if (t[3].text != "on" && t[3].text != "off")
            return Refuse(error, "check takes on or off");
        const bool on = t[3].text == "on";
        confirmation = std::string(on ? "checked " : "unchecked ") + itemName;
        action = [&, on](std::string* e) { return DG::User::SetCheck(panel.id, item, on, e); };
    } else if (cmd == "choose") {
        long entry = 0;
        const bool byNumber = !t[3].quoted && ScriptRunner::ParseInt(t[3].text, &entry, -32768, 32767);
        a = static_cast<Int16>(entry);
        confirmation = "chose " + (byNumber ? "entry " + t[3].text : Quoted(t[3].text)) + of;
        action = [&, byNumber](std::string* e) {
            return byNumber ? DG::User::ChooseEntry(panel.id, item, a, e)
                            : DG::User::ChooseEntryByText(panel.id, item, t[3].text, e);
        };
    } else if (cmd == "key") {
        DG::Key::Modifier modifiers;
        if (!ParseKey(t[2].text, &a, &modifiers))
            return Refuse(error, "'" + t[2].text + "' is not a key (try delete, escape, enter, cmd+D or a key code)");
        confirmation = "pressed " + t[2].text + " in " + Name(panel);
        action = [&, modifiers](std::string* e) { return DG::User::PressKey(panel.id, a, modifiers, e); };
    }

    Confirm(confirmation);
    if (!action(error)) {
        Confirm("");
        return false;
    }
    FlushConfirmation();
    if (panel.visible && !Info(panel.id).visible)
        out << Name(panel) << " closed\n";
    return true;
}

}  // namespace Host
