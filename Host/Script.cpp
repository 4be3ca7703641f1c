#include "Host/Script.hpp"

#include <cstdio>
#include <iostream>
#include <sstream>
#include <stdexcept>

#include "DG/DGUser.hpp"
#include "Host/Model.hpp"

namespace Host {

namespace {
const char* kHelp =
    "project and model:\n"
    "  open FILE | new | close | save [FILE]\n"
    "  select GUID... | select none\n"
    "  menu MENU-ID ENTRY | menu \"ENTRY TEXT\"\n"
    "  element GUID set FIELD VALUE     a stored figure: a quantity (volume), a field (height),\n"
    "                                   a path (skins.2.area); VALUE null removes it\n"
    "  element GUID delete              removes it (and its dependents); the selection follows\n"
    "  palette REF-ID|GUID MESSAGE      MESSAGE 1..7 or close, hide-begin, hide-end,\n"
    "                                   disable-begin, disable-end, open, visible\n"
    "  fail OPERATION [GUID] | unfail\n"
    "palettes and dialogs (PANEL: title, resource id, panel id or top; ITEM: name, number, text or tooltip):\n"
    "  show panels | show PANEL | svg PANEL FILE\n"
    "  click PANEL ITEM | closebox PANEL | focus PANEL ITEM\n"
    "  select-rows PANEL ITEM ROW... | select-rows PANEL ITEM none\n"
    "  double-click PANEL ITEM ROW | drag-row PANEL ITEM FROM TO\n"
    "  drag-splitter PANEL ITEM X | resize PANEL DX DY | resize-header PANEL ITEM HEADER CHANGE\n"
    "  type PANEL ITEM \"TEXT\" | check PANEL ITEM on|off | choose PANEL ITEM ENTRY|\"TEXT\"\n"
    "  key PANEL [cmd+][option+][shift+]KEY   KEY: delete, escape, enter, tab, back, up, down,\n"
    "                                   left, right, a character or a key code\n"
    "  answer BUTTON|\"TEXT\"              the open alert\n"
    "  file PATH | file cancel           the open file dialog\n"
    "  tick [N] | idle [N]\n"
    "showing:\n"
    "  show menus | selection | addon | report | moduledata | palettes | panels\n"
    "  show alerts | files | beeps | element GUID\n"
    "  echo TEXT | help | quit\n"
    "Quoted texts take \\\" for a quote, \\n for a line break and \\t for a tab.\n"
    "A dialog, alert or file dialog a command opens takes the following lines until it closes.\n";

const char* kMenuUsage = "menu takes a menu id and an entry number, or an entry's text";
const char* kElementUsage = "element takes a guid and 'set FIELD VALUE' or 'delete'";
const char* kShowUsage =
    "show takes one of: menus, selection, addon, report, moduledata, palettes, panels, alerts, files, beeps, "
    "element GUID, or a panel";
}  // namespace

ScriptRunner::ScriptRunner(StandInHost& host, std::ostream& out) : host(host), out(out), errors(&std::cerr)
{
    previousPump = DG::User::SetPump([this] { return Pump(); });
}

ScriptRunner::~ScriptRunner() { DG::User::SetPump(previousPump); }

bool ScriptRunner::ParseInt(const std::string& text, long* value, long low, long high)
{
    try {
        std::size_t used = 0;
        *value = std::stol(text, &used, 10);
        return used == text.size() && *value >= low && *value <= high;
    } catch (...) {
        return false;
    }
}

bool ScriptRunner::Refuse(std::string* error, const std::string& message)
{
    *error = message;
    return false;
}

std::vector<ScriptRunner::Token> ScriptRunner::TokenizeQuoted(const std::string& line, std::string* error)
{
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
        if (i >= line.size() || line[i] == '#')
            break;
        Token token;
        if (line[i] == '"') {
            token.quoted = true;
            ++i;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '\\' && i + 1 < line.size()) {
                    // \n and \t for multi-line texts; any other character stands for itself.
                    const char c = line[i + 1];
                    token.text += c == 'n' ? '\n' : c == 't' ? '\t' : c;
                    i += 2;
                } else if (line[i] == '"') {
                    ++i;
                    closed = true;
                    break;
                } else {
                    token.text += line[i++];
                }
            }
            if (!closed) {
                if (error != nullptr)
                    *error = "unterminated quoted text";
                return {};
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
                token.text += line[i++];
        }
        tokens.push_back(token);
    }
    return tokens;
}

std::vector<std::string> ScriptRunner::Tokenize(const std::string& line, std::string* error)
{
    std::vector<std::string> texts;
    for (const Token& t : TokenizeQuoted(line, error))
        texts.push_back(t.text);
    return texts;
}

// ---- Running lines, and the pump that hands them to an open modal.

bool ScriptRunner::RunLine(const std::string& line, std::string* error)
{
    return Execute(line, source != nullptr ? source->lineNo : 0, error);
}

bool ScriptRunner::Execute(const std::string& line, int lineNo, std::string* error)
{
    const bool top = running.empty();
    if (top) {
        errorLine = 0;
        abandoned.clear();
        failed = false;
    }
    running.push_back(Frame{lineNo, "", "", {}});
    std::string tokenError;
    auto t = TokenizeQuoted(line, &tokenError);
    bool ok;
    if (!tokenError.empty()) {
        *error = tokenError;
        ok = false;
    } else {
        ok = t.empty() || Dispatch(t, error);
    }
    if (ok)
        FlushConfirmation();
    // A modal's loop ends before the line that opened it does.
    for (const std::string& dialog : running.back().dialogs)
        out << dialog << " closed\n";
    running.pop_back();
    if (!top)
        return ok;
    if (failed) {
        // A line a modal took went wrong: that line ends the script, not the one that opened the modal.
        failed = false;
        *error = failure.message;
        errorLine = failure.line;
        return false;
    }
    if (!ok)
        return false;
    if (!abandoned.empty()) {
        *error = abandoned.front().message;
        errorLine = abandoned.front().line;
        return false;
    }
    return true;
}

std::string ScriptRunner::Waiting(std::string* name)
{
    if (DG::User::AlertOpen()) {
        *name = "the alert";
        return "alert:" + DG::User::DescribeOpenAlert();
    }
    if (DG::User::FileDialogOpen()) {
        *name = "the file dialog";
        return "file:" + DG::User::DescribeOpenAlert();
    }
    const Int16 top = DG::User::TopModal();
    if (top == 0) {
        name->clear();
        return "";
    }
    std::string title;
    for (const auto& p : DG::User::Panels()) {
        if (p.id == top)
            title = p.title;
    }
    *name = "the dialog " + Quoted(title);
    return "panel:" + std::to_string(top);
}

void ScriptRunner::Announce()
{
    if (running.empty())
        return;
    std::string name;
    const std::string waiting = Waiting(&name);
    Frame& frame = running.back();
    if (waiting.empty() || waiting == frame.announced)
        return;
    frame.announced = waiting;
    if (waiting.compare(0, 6, "panel:") == 0) {
        out << name.substr(4) << " is open\n";
        frame.dialogs.push_back(name.substr(4));
    } else {
        std::string text = waiting.substr(waiting.find(':') + 1);
        out << text << (text.empty() || text.back() != '\n' ? "\n" : "");
    }
}

void ScriptRunner::Confirm(const std::string& text)
{
    if (!running.empty())
        running.back().confirmation = text;
}

void ScriptRunner::FlushConfirmation()
{
    if (running.empty() || running.back().confirmation.empty())
        return;
    out << running.back().confirmation << '\n';
    running.back().confirmation.clear();
}

bool ScriptRunner::Pump()
{
    if (failed)
        return false;  // the script stops; the library closes what is open
    std::string name;
    Waiting(&name);
    if (name.empty())
        name = "a modal window";
    const int opener = running.empty() ? 0 : running.back().line;
    auto abandon = [&](const std::string& why) {
        abandoned.push_back(LineError{opener, name + " " + why});
        return false;
    };
    FlushConfirmation();
    Announce();
    if (quit)
        return abandon("was still open when the script quit");
    if (source == nullptr)
        return abandon("was left open: no further command came to take it");
    if (source->interactive) {
        // "[Title] > " while a dialog waits, "[alert] > " or "[file dialog] > " otherwise.
        std::string label = name.compare(0, 4, "the ") == 0 ? name.substr(4) : name;
        if (label.compare(0, 8, "dialog \"") == 0)
            label = label.substr(8, label.size() - 9);
        out << "[" << label << "] > " << std::flush;
    }
    std::string line;
    if (!std::getline(*source->in, line))
        return abandon("was still open when the " + std::string(source->interactive ? "input" : "script") + " ended");
    const int lineNo = ++source->lineNo;
    std::string error;
    const bool ok = Execute(line, lineNo, &error);
    if (failed)
        return false;
    if (!ok) {
        if (source->interactive) {
            *errors << "error: " << error << '\n';
            return true;
        }
        failed = true;
        failure = LineError{lineNo, error};
        return false;
    }
    if (quit)
        return abandon("was still open when the script quit");
    return true;
}

bool ScriptRunner::RunStream(std::istream& in, const std::string& sourceName, bool interactive)
{
    Source src{&in, sourceName, interactive, 0};
    Source* outer = source;
    source = &src;
    std::string line;
    bool ok = true;
    if (interactive)
        out << "> " << std::flush;
    while (!quit && std::getline(in, line)) {
        const int lineNo = ++src.lineNo;
        std::string error;
        if (!Execute(line, lineNo, &error)) {
            ok = false;
            const int at = errorLine != 0 ? errorLine : lineNo;
            if (interactive) {
                *errors << "error: " << (at != lineNo ? "line " + std::to_string(at) + ": " : "") << error << '\n';
            } else {
                *errors << sourceName << ":" << at << ": error: " << error << '\n';
                break;
            }
        }
        if (interactive && !quit)
            out << "> " << std::flush;
    }
    source = outer;
    return interactive ? true : ok;
}

// ---- Commands.

bool ScriptRunner::Dispatch(const std::vector<Token>& t, std::string* error)
{
    const Command* command = nullptr;
    for (const std::vector<Command>* table : {&HostCommands(), &DialogCommands()}) {
        for (const Command& c : *table) {
            if (t[0].text == c.name)
                command = &c;
        }
    }
    if (command == nullptr)
        return Refuse(error, "unknown command '" + t[0].text + "' (try 'help')");
    std::string name;
    if (command->waitsForModal && !Waiting(&name).empty())
        return Refuse(error, "'" + t[0].text + "' waits until " + name + " is closed");
    const std::size_t argc = t.size() - 1;
    if (argc < command->minArgs || argc > command->maxArgs)
        return Refuse(error, command->usage);
    return command->run(*this, t, error);
}

const std::vector<ScriptRunner::Command>& ScriptRunner::HostCommands()
{
    using Tokens = std::vector<Token>;
    const auto quit = [](ScriptRunner& r, const Tokens&, std::string*) {
        r.quit = true;
        return true;
    };
    static const std::vector<Command> commands = {
        {"help", 0, kAnyNumber, "", false,
         [](ScriptRunner& r, const Tokens&, std::string*) {
             r.out << kHelp;
             return true;
         }},
        {"quit", 0, kAnyNumber, "", false, quit},
        {"exit", 0, kAnyNumber, "", false, quit},
        {"echo", 0, kAnyNumber, "", false,
         [](ScriptRunner& r, const Tokens& t, std::string*) {
             for (std::size_t i = 1; i < t.size(); ++i)
                 r.out << (i > 1 ? " " : "") << t[i].text;
             r.out << '\n';
             return true;
         }},
        {"new", 0, 0, "new takes no argument", true,
         [](ScriptRunner& r, const Tokens&, std::string*) {
             r.host.NewProject();
             r.out << "new project\n";
             return true;
         }},
        {"open", 1, 1, "open takes one file", true,
         [](ScriptRunner& r, const Tokens& t, std::string* error) {
             if (!r.host.OpenProject(t[1].text, error))
                 return false;
             r.out << "opened " << t[1].text << '\n';
             return true;
         }},
        {"close", 0, 0, "close takes no argument", true,
         [](ScriptRunner& r, const Tokens&, std::string*) {
             r.host.CloseProject();
             r.out << "project closed\n";
             return true;
         }},
        {"save", 0, 1, "save takes at most one file", true,
         [](ScriptRunner& r, const Tokens& t, std::string* error) {
             if (!r.host.SaveProject(t.size() == 2 ? t[1].text : "", error))
                 return false;
             r.out << "saved " << r.host.ProjectPath() << '\n';
             return true;
         }},
        {"select", 1, kAnyNumber, "select takes guids or 'none'", true,
         [](ScriptRunner& r, const Tokens& t, std::string* error) {
             std::vector<GS::Guid> guids;
             if (!(t.size() == 2 && t[1].text == "none")) {
                 for (std::size_t i = 1; i < t.size(); ++i) {
                     GS::Guid g;
                     if (!g.ConvertFromString(t[i].text.c_str()))
                         return Refuse(error, "'" + t[i].text + "' is not a guid");
                     guids.push_back(g);
                 }
             }
             r.host.Select(guids);
             r.out << r.host.DescribeSelection();
             return true;
         }},
        {"menu", 1, 2, kMenuUsage, true,
         [](ScriptRunner& r, const Tokens& t, std::string* error) {
             if (t.size() == 2)
                 return r.host.ChooseMenuByText(t[1].text, error);
             long menuId, entry;
             if (!ParseInt(t[1].text, &menuId, -32768, 32767) || !ParseInt(t[2].text, &entry))
                 return Refuse(error, kMenuUsage);
             return r.host.ChooseMenu(static_cast<GS::Int16>(menuId), static_cast<GS::Int32>(entry), error);
         }},
        {"show", 1, 2, kShowUsage, false,
         [](ScriptRunner& r, const Tokens& t, std::string* error) { return r.Show(t, error); }},
        {"element", 2, 4, kElementUsage, true,
         [](ScriptRunner& r, const Tokens& t, std::string* error) { return r.ElementCommand(t, error); }},
        {"palette", 2, 2, "palette takes a reference id (or guid) and a message", true,
         [](ScriptRunner& r, const Tokens& t, std::string* error) { return r.PaletteCommand(t, error); }},
        {"fail", 1, 2, "fail takes an operation and optionally a guid", false,
         [](ScriptRunner& r, const Tokens& t, std::string* error) {
             if (t.size() == 3 && GS::Guid(t[2].text.c_str()).IsNull())
                 return Refuse(error, "'" + t[2].text + "' is not a guid");
             try {
                 r.host.FailOperation(t[1].text, t.size() == 3 ? t[2].text : "");
             } catch (const std::invalid_argument& e) {
                 return Refuse(error, e.what());
             }
             return true;
         }},
        {"unfail", 0, kAnyNumber, "", false,
         [](ScriptRunner& r, const Tokens&, std::string*) {
             r.host.ClearFailures();
             return true;
         }},
    };
    return commands;
}

bool ScriptRunner::Show(const std::vector<Token>& t, std::string* error)
{
    const std::size_t argc = t.size() - 1;
    if (argc == 2 && t[1].text == "element") {
        GS::Guid g;
        if (!g.ConvertFromString(t[2].text.c_str())) {
            return Refuse(error, "'" + t[2].text + "' is not a guid");
        }
        const Json* element = FindElement(host.Model(), g);
        if (element == nullptr) {
            return Refuse(error, "no element " + g.ToString());
        }
        out << element->dump() << '\n';
        return true;
    }
    if (argc != 1) {
        return Refuse(error, kShowUsage);
    }
    const std::string& what = t[1].text;
    if (what == "menus") {
        out << host.DescribeMenus();
    } else if (what == "selection") {
        out << host.DescribeSelection();
    } else if (what == "addon") {
        const auto& a = host.AddOn();
        if (!a.loaded)
            out << "no add-on loaded\n";
        else
            out << "add-on: " << a.name << "\ndescription: " << a.description << "\nfile: " << a.path << '\n';
    } else if (what == "report") {
        for (const auto& line : host.Report())
            out << line << '\n';
    } else if (what == "moduledata") {
        const auto& data = host.Project()["moduleData"];
        for (auto it = data.begin(); it != data.end(); ++it) {
            auto bytes = host.ModuleData(it.key());
            out << it.key() << ": " << (bytes ? std::to_string(bytes->size()) + " bytes" : "unreadable") << '\n';
        }
        if (data.empty())
            out << "no module data\n";
    } else if (what == "palettes") {
        if (host.Palettes().empty())
            out << "no palettes registered\n";
        for (const auto& [refId, palette] : host.Palettes()) {
            char flags[16];
            std::snprintf(flags, sizeof flags, "0x%X", static_cast<unsigned>(palette.flags));
            out << "palette " << refId << " guid " << APIGuid2GSGuid(palette.guid).ToString() << " flags " << flags
                << '\n';
        }
    } else {
        std::string dialogError;
        if (ShowDialogs(what, &dialogError))
            return true;
        *error = std::string(kShowUsage) + " (" + dialogError + ")";
        return false;
    }
    return true;
}

bool ScriptRunner::ElementCommand(const std::vector<Token>& t, std::string* error)
{
    GS::Guid guid;
    if (!guid.ConvertFromString(t[1].text.c_str())) {
        return Refuse(error, kElementUsage);
    }
    if (t[2].text == "delete" && t.size() == 3) {
        const auto before = host.Selection();
        std::vector<GS::Guid> removed;
        if (!host.DeleteElement(guid, &removed, error))
            return false;
        out << "deleted element " << removed.front().ToString();
        if (removed.size() > 1) {
            out << " with";
            for (std::size_t i = 1; i < removed.size(); ++i)
                out << ' ' << removed[i].ToString();
        }
        out << '\n';
        if (host.Selection() != before)
            out << host.DescribeSelection();
        return true;
    }
    if (t[2].text == "set" && t.size() == 5) {
        // Quoted values are texts; others are read as JSON (numbers, true, false, null, lists), else texts.
        Json value = t[4].text;
        if (!t[4].quoted) {
            try {
                value = Json::parse(t[4].text);
            } catch (const std::exception&) {
                value = t[4].text;
            }
        }
        if (!host.SetElementFigure(guid, t[3].text, value, error))
            return false;
        out << "element " << guid.ToString() << ": " << t[3].text << " = " << value.dump() << '\n';
        return true;
    }
    return Refuse(error, kElementUsage);
}

bool ScriptRunner::PaletteCommand(const std::vector<Token>& t, std::string* error)
{
    static const char* names[] = {"close", "hide-begin", "hide-end", "disable-begin", "disable-end", "open", "visible"};
    long refId = 0;
    if (!ParseInt(t[1].text, &refId)) {
        GS::Guid guid;
        bool found = false;
        if (guid.ConvertFromString(t[1].text.c_str())) {
            for (const auto& [id, palette] : host.Palettes()) {
                if (APIGuid2GSGuid(palette.guid) == guid) {
                    refId = id;
                    found = true;
                }
            }
        }
        if (!found) {
            return Refuse(error, "no palette is registered as '" + t[1].text + "' (see 'show palettes')");
        }
    }
    long message = 0;
    for (long i = 0; i < 7; ++i) {
        if (t[2].text == names[i])
            message = i + 1;
    }
    if (message == 0 && !ParseInt(t[2].text, &message, 1, 7)) {
        return Refuse(error, "a palette message is a number from 1 to 7 or one of close, hide-begin, hide-end, "
                             "disable-begin, disable-end, open, visible");
    }
    bool visible = false;
    if (!host.SendPaletteMessage(static_cast<GS::Int32>(refId), static_cast<API_PaletteMessageID>(message), &visible,
                                 error))
        return false;
    if (message == APIPalMsg_IsPaletteVisible)
        out << "visible " << (visible ? "true" : "false") << '\n';
    else
        out << "palette " << refId << ": message " << message << " (" << names[message - 1] << ")\n";
    return true;
}

}  // namespace Host
