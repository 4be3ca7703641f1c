#include "Host/Script.hpp"

#include <iostream>
#include <sstream>

namespace Host {

namespace {
const char* kHelp =
    "commands:\n"
    "  open FILE | new | close | save [FILE]\n"
    "  select GUID... | select none\n"
    "  menu MENU-ID ENTRY | menu \"ENTRY TEXT\"\n"
    "  show menus | show selection | show addon | show report | show moduledata\n"
    "  fail OPERATION [GUID] | unfail\n"
    "  echo TEXT | help | quit\n";

const char* kMenuUsage = "menu takes a menu id and an entry number, or an entry's text";
const char* kShowUsage = "show takes one of: menus, selection, addon, report, moduledata";

bool ParseInt(const std::string& text, long* value)
{
    try {
        std::size_t used = 0;
        *value = std::stol(text, &used, 10);
        return used == text.size();
    } catch (...) {
        return false;
    }
}
}  // namespace

std::vector<std::string> ScriptRunner::Tokenize(const std::string& line, std::string* error)
{
    std::vector<std::string> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i >= line.size() || line[i] == '#')
            break;
        std::string token;
        if (line[i] == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                if (line[i] == '\\' && i + 1 < line.size()) {
                    token += line[i + 1];
                    i += 2;
                } else if (line[i] == '"') {
                    ++i;
                    closed = true;
                    break;
                } else {
                    token += line[i++];
                }
            }
            if (!closed) {
                if (error != nullptr)
                    *error = "unterminated quoted text";
                return {};
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t')
                token += line[i++];
        }
        tokens.push_back(token);
    }
    return tokens;
}

bool ScriptRunner::RunLine(const std::string& line, std::string* error)
{
    std::string tokenError;
    auto t = Tokenize(line, &tokenError);
    if (!tokenError.empty()) {
        *error = tokenError;
        return false;
    }
    if (t.empty())
        return true;
    const std::string& cmd = t[0];
    auto bad = [&](const std::string& message) {
        *error = message;
        return false;
    };
    auto argc = t.size() - 1;

    if (cmd == "help") {
        out << kHelp;
    } else if (cmd == "quit" || cmd == "exit") {
        quit = true;
    } else if (cmd == "echo") {
        for (std::size_t i = 1; i < t.size(); ++i)
            out << (i > 1 ? " " : "") << t[i];
        out << '\n';
    } else if (cmd == "new") {
        if (argc != 0)
            return bad("new takes no argument");
        host.NewProject();
        out << "new project\n";
    } else if (cmd == "open") {
        if (argc != 1)
            return bad("open takes one file");
        if (!host.OpenProject(t[1], error))
            return false;
        out << "opened " << t[1] << '\n';
    } else if (cmd == "close") {
        if (argc != 0)
            return bad("close takes no argument");
        host.CloseProject();
        out << "project closed\n";
    } else if (cmd == "save") {
        if (argc > 1)
            return bad("save takes at most one file");
        if (!host.SaveProject(argc == 1 ? t[1] : "", error))
            return false;
        out << "saved " << host.ProjectPath() << '\n';
    } else if (cmd == "select") {
        if (argc == 0)
            return bad("select takes guids or 'none'");
        std::vector<GS::Guid> guids;
        if (!(argc == 1 && t[1] == "none")) {
            for (std::size_t i = 1; i < t.size(); ++i) {
                GS::Guid g;
                if (!g.ConvertFromString(t[i].c_str()))
                    return bad("'" + t[i] + "' is not a guid");
                guids.push_back(g);
            }
        }
        host.Select(guids);
        out << host.DescribeSelection();
    } else if (cmd == "menu") {
        if (argc == 1) {
            if (!host.ChooseMenuByText(t[1], error))
                return false;
        } else if (argc == 2) {
            long menuId, entry;
            if (!ParseInt(t[1], &menuId) || !ParseInt(t[2], &entry) || menuId < -32768 || menuId > 32767)
                return bad(kMenuUsage);
            if (!host.ChooseMenu(static_cast<GS::Int16>(menuId), static_cast<GS::Int32>(entry), error))
                return false;
        } else {
            return bad(kMenuUsage);
        }
    } else if (cmd == "show") {
        if (argc != 1)
            return bad(kShowUsage);
        const std::string& what = t[1];
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
        } else {
            return bad(kShowUsage);
        }
    } else if (cmd == "fail") {
        if (argc < 1 || argc > 2)
            return bad("fail takes an operation and optionally a guid");
        if (argc == 2 && GS::Guid(t[2].c_str()).IsNull())
            return bad("'" + t[2] + "' is not a guid");
        host.FailOperation(t[1], argc == 2 ? t[2] : "");
    } else if (cmd == "unfail") {
        host.ClearFailures();
    } else {
        return bad("unknown command '" + cmd + "' (try 'help')");
    }
    return true;
}

bool ScriptRunner::RunStream(std::istream& in, const std::string& sourceName, bool interactive)
{
    std::string line;
    int lineNo = 0;
    bool ok = true;
    if (interactive)
        out << "> " << std::flush;
    while (!quit && std::getline(in, line)) {
        ++lineNo;
        std::string error;
        if (!RunLine(line, &error)) {
            ok = false;
            if (interactive) {
                std::cerr << "error: " << error << '\n';
            } else {
                std::cerr << sourceName << ":" << lineNo << ": error: " << error << '\n';
                return false;
            }
        }
        if (interactive && !quit)
            out << "> " << std::flush;
    }
    return interactive ? true : ok;
}

}  // namespace Host
