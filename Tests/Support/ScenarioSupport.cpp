#include "ScenarioSupport.hpp"

#include <SQLiteCpp/SQLiteCpp.h>
#include <sqlite3.h>

#include <cctype>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <streambuf>

#include "Database/ProjectDatabase.hpp"
#include "GSRoot/Debug.hpp"
#include "Host/Script.hpp"
#include "HostApi/HostCalls.hpp"
#include "IO/Location.hpp"

namespace Scenario {

Host::Json ReadJson(const std::string& path)
{
    std::ifstream in(path);
    EXPECT_TRUE(in.good()) << path;
    return Host::Json::parse(in);
}

Host::Json FixtureProject() { return ReadJson(CALVORA_SUPPORT_DIR "/fixture-project.json"); }

UserLocale::UserLocale(const char* name)
    : process(std::setlocale(LC_ALL, nullptr)), env(std::getenv("LC_ALL") ? std::getenv("LC_ALL") : ""),
      hadEnv(std::getenv("LC_ALL") != nullptr)
{
    if (name != nullptr && setenv("LC_ALL", name, 1) == 0)
        ok = std::setlocale(LC_ALL, name) != nullptr;
}

UserLocale::~UserLocale()
{
    hadEnv ? setenv("LC_ALL", env.c_str(), 1) : unsetenv("LC_ALL");
    std::setlocale(LC_ALL, process.c_str());
}

namespace {
std::vector<std::string> SplitLines(const std::string& text, bool trim)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(trim ? line.erase(0, std::min(line.size(), line.find_first_not_of(' '))) : line);
    return lines;
}
}  // namespace

::testing::AssertionResult Shows(const std::string& output, const std::string& expect)
{
    const std::vector<std::string> lines = SplitLines(output, true);
    std::vector<std::string> wanted = SplitLines(expect, true), absent;  // absent: up to the next line matched
    wanted.push_back("");                                                 // the end
    std::size_t at = 0;
    for (std::size_t w = 0; w < wanted.size(); ++w) {
        const std::string& want = wanted[w];
        const bool end = w + 1 == wanted.size(), whole = !want.empty() && want[0] == '=';
        if (!want.empty() && want[0] == '!')
            absent.push_back(want.substr(1));
        if (want.empty() ? !end : want[0] == '!')  // blank lines go; absent ones wait for the next match
            continue;
        std::size_t i = end ? lines.size() : at;
        while (i < lines.size() && (whole ? lines[i] != want.substr(1) : lines[i].find(want) == std::string::npos))
            ++i;
        if (i == lines.size() && !end)
            return ::testing::AssertionFailure() << "missing (in this order): " << want;
        for (const std::string& a : absent)
            for (std::size_t j = at; j < i; ++j)
                if (lines[j].find(a) != std::string::npos)
                    return ::testing::AssertionFailure() << "shows what it must not: " << a << (end ? "" : " (before " + want + ")");
        absent.clear();
        at = i + 1;
    }
    return ::testing::AssertionSuccess();
}

std::string LinesWith(const std::string& text, const std::string& fragment, bool with)
{
    std::string result;
    for (const std::string& line : SplitLines(text, false))
        if ((line.find(fragment) != std::string::npos) == with)
            result += line + "\n";
    return result;
}

std::string Joined(const std::string& lines)
{
    return std::regex_replace(lines.substr(0, lines.find_last_not_of('\n') + 1), std::regex("\n"), " ; ");
}

std::string Query(const std::vector<unsigned char>& image, const std::string& sql)
{
    SQLite::Database db(":memory:", SQLite::OPEN_READWRITE);
    auto* copy = static_cast<unsigned char*>(sqlite3_malloc64(image.size()));
    std::memcpy(copy, image.data(), image.size());
    if (sqlite3_deserialize(db.getHandle(), "main", copy, image.size(), image.size(),
                            SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE) != SQLITE_OK)
        return "unreadable image\n";
    std::string rows;
    for (const std::string table : {"categories", "items", "qties", ""}) {
        if (sql.empty() == table.empty())
            continue;
        const std::string prefix = table.empty() ? "" : table + ": ";
        try {
            SQLite::Statement query(db, table.empty() ? sql : "SELECT * FROM " + table + " ORDER BY id");
            for (; query.executeStep(); rows += "\n") {
                rows += prefix;
                for (int c = 0; c < query.getColumnCount(); ++c)
                    rows += (c == 0 ? "" : "|") + std::string(query.getColumn(c).getText());
            }
        } catch (const SQLite::Exception&) {
            rows += prefix + "missing\n";
        }
    }
    return rows;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string TempDir()
{
    static struct Made {
        std::vector<std::string> dirs;
        ~Made()
        {
            for (const std::string& dir : dirs)
                std::filesystem::remove_all(dir);
        }
    } made;
    std::string pattern = std::string(::testing::TempDir()) + "calvora_scenario_XXXXXX";
    made.dirs.push_back(mkdtemp(&pattern[0]));
    return made.dirs.back();
}

void StoreEstimate(Host::StandInHost& host, const std::string& sql)
{
    CalvoraSetHostTable(host.Table());
    ProjectDatabase& db = ProjectDatabase::instance();
    db.reopen();
    db.ensureOpen();
    db.execSql(GS::UniString(sql.c_str(), CC_UTF8));  // marks it changed: stored even when fresh
    db.saveToProject();
    db.reopen();
    CalvoraClearHostTable();
}

std::string Scope(const std::string& view, const std::string& scope)
{
    std::istringstream in(scope);
    std::vector<std::string> w{std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
    const std::vector<std::string> lines = SplitLines(view, true);
    std::string out;
    if (!w.empty() && (w[0] == "rects" || w[0] == "headers" || w[0] == "tabs")) {
        if (w.size() == 1)  // every item's
            for (const std::string& l : lines)
                if (!l.empty() && std::isdigit(static_cast<unsigned char>(l[0])))
                    w.push_back(l.substr(0, l.find(' ')));
        for (std::size_t i = 1; i < w.size(); ++i)
            for (const std::string& l : SplitLines(Scope(view, w[i]), false)) {
                std::istringstream t(l);
                std::string kind, number, third;
                t >> kind >> number >> third;
                const bool header = w[0] == "headers" && kind == "header";
                if ((w[0] == "rects" && kind == w[i]) || (w[0] == "tabs" && kind == "tab") || header)
                    out += (out.empty() ? "" : " ") + (header ? std::to_string(std::atoi(l.c_str() + l.find(" size ") + 6)) : third);
            }
        return out + "\n";
    }
    bool inItem = w.empty(), inRow = false;
    const std::string row = w.size() > 2 ? "row " + w[2] + " " : "";
    for (const std::string& l : lines) {
        if (!w.empty() && !l.empty() && std::isdigit(static_cast<unsigned char>(l[0])))
            inItem = l.compare(0, w[0].size() + 1, w[0] + " ") == 0;
        if (l.compare(0, 4, "row ") == 0)
            inRow = l.compare(0, row.size(), row) == 0;
        if (inItem && (row.empty() || inRow))
            out += l + "\n";
    }
    return out;
}

std::string Plain(const std::string& view)
{
    static const std::regex rect(R"(^(\s*\d+ \w+) \(-?\d+,-?\d+,\d+,\d+\))");
    std::string out;
    for (const std::string& line : SplitLines(view, false))
        out += std::regex_replace(line, rect, "$1", std::regex_constants::format_first_only) + "\n";
    return out;
}

std::string Texts(Int16 panel)
{
    Host::Json resource;  // its items in the order of their numbers
    for (const DG::User::PanelInfo& info : DG::User::Panels())
        for (const auto& file : std::filesystem::directory_iterator(CALVORA_RESOURCES_DIR "/Dialogs"))
            if (info.id == panel && file.path().filename().string().rfind(std::to_string(info.resourceId) + "-", 0) == 0)
                resource = ReadJson(file.path());
    const Host::Json items = resource.value("items", Host::Json::array());
    static const std::regex size(R"(^(\w+ ".*") \d+x\d+)"), item(R"(^(\d+) \w+)");
    std::string out;
    for (const std::string& line : SplitLines(Plain(DG::User::Describe(panel)), true)) {
        std::smatch m;
        const std::size_t n = std::regex_search(line, m, item) ? std::stoul(m[1]) : 0;
        if (n == 0)
            out += (out.empty() ? std::regex_replace(line, size, "$1") : line) + "\n";
        else
            out += (n <= items.size() ? items[n - 1].value("name", m[1].str()) : m[1].str()) + m.suffix().str() + "\n";
    }
    return out;
}

void Session::SetUp()
{
    GS::SetDebugCapture([this](const std::string& text) { debug += text; });
    DG::User::ResetLogs();
    dir = TempDir();
}

void Session::TearDown()
{
    Finish();
    GS::SetDebugCapture({});
}

void Session::Start(const Host::Json& project, const char* seed)
{
    Finish();
    DG::User::ResetLogs();
    host.ClearFailures();
    host.SetProject(project);
    if (seed != nullptr)
        StoreEstimate(host, seed);
    std::string error;
    ASSERT_TRUE(host.LoadAddOn(CALVORA_ADDON_PATH, &error)) << error;
    loaded = true;
}

void Session::Finish()
{
    IO::LimitFileSize(0);
    if (loaded)
        host.UnloadAddOn();
    loaded = false;
}

std::string Session::WriteProject(const std::string& name, const Host::Json& project)
{
    WriteFile(dir + "/" + name, project.dump(2));
    return dir + "/" + name;
}

namespace {
std::string Expand(const std::string& text, const std::string& dir) { return std::regex_replace(text, std::regex("\\$DIR"), dir); }

// Hands the script to the runner line by line; a test line is answered, when the runner reaches
// it (a modal may have taken the lines before), by echo lines holding the hook's text.
class ScriptBuffer : public std::streambuf {
public:
    ScriptBuffer(const std::string& script, std::function<std::string(const std::string&)> hook)
        : lines(SplitLines(script, false)), hook(std::move(hook))
    {
    }

protected:
    int_type underflow() override
    {
        if (next >= lines.size())
            return traits_type::eof();
        const std::string line = lines[next++];
        const bool testLine = line.rfind("@", 0) == 0;
        current = testLine ? "\n" : line + "\n";
        for (const std::string& text : SplitLines(testLine ? hook(line) : "", false))
            current += "echo \"" + std::regex_replace(text, std::regex(R"((["\\]))"), "\\$1") + "\"\n";
        setg(&current[0], &current[0], &current[0] + current.size());
        return traits_type::to_int_type(*gptr());
    }

private:
    std::vector<std::string> lines;
    std::size_t next = 0;
    std::string current;
    std::function<std::string(const std::string&)> hook;
};
}  // namespace

std::string Session::Hook(const std::string& line)
{
    const std::size_t space = line.find(' ');
    const std::string word = line.substr(0, space), rest = space == std::string::npos ? "" : line.substr(space + 1);
    if (word == "@flush")
        host.SendProjectEvent(APINotify_Close);
    if (word == "@stored" || word == "@flush") {
        const auto image = host.ModuleData("CalvoraDB");
        return (image ? Joined(Query(*image, rest)) : "nothing stored") + "\n";
    }
    if (word == "@disk") {
        IO::LimitFileSize(std::stoull(rest));
        return "";
    }
    if (word == "@timers")
        return "timers " + std::to_string(DG::User::RunningTimerCount()) + "\n";
    if (word == "@view")
        return "@view" + (rest.empty() ? "" : " " + rest) + "\n" + Scope(DG::User::Describe(DG::User::FindPanel("32401")), rest);
    if (word == "@show") {
        const std::string name = rest.substr(0, rest.find(' ')), scope = rest.size() > name.size() ? rest.substr(name.size() + 1) : "";
        const Int16 panel = name == "top" ? DG::User::TopModal() : DG::User::FindPanel(name);
        return scope.empty() ? Texts(panel) : Scope(DG::User::Describe(panel), scope);
    }
    ADD_FAILURE() << "unknown test line " << line;
    return "";
}

std::string Session::Run(const std::string& script)
{
    ScriptBuffer buffer(Expand(script, dir), [this](const std::string& line) { return Hook(line); });
    std::istream in(&buffer);
    std::ostringstream out, errors;
    Host::ScriptRunner runner(host, out);
    runner.SetErrorStream(errors);
    EXPECT_TRUE(runner.RunStream(in, "scenario", false)) << errors.str() << "\n" << out.str();
    return out.str();
}

void Session::Play(const std::vector<Step>& steps)
{
    for (const Step& step : steps) {
        const std::string output = Run(step.script);
        EXPECT_TRUE(Shows(plain ? Plain(output) : output, Expand(step.expect, dir)))
            << "after:\n" << step.script << "\n--\n" << output;
    }
}

void Session::RunCases(const Host::Json& project, const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UserLocale user(c.locale);
        ASSERT_TRUE(user.ok) << c.locale;
        Start(project, c.seed.c_str());
        Play({{c.script, c.expect}});
        Finish();
    }
}

void SampleSession::SetUp()
{
    Session::SetUp();
    sample = ReadJson(CALVORA_SAMPLES_DIR "/sample-project.json");
    WriteProject("sample.json", sample);
    BeforeLoad();
    Start(Host::Json(host.Project()));
}

void InProcess::SetUp()
{
    DG::User::ResetLogs();
    previousPump = DG::User::SetPump([this] {
        if (actions.empty())
            return false;
        auto action = std::move(actions.front());
        actions.pop_front();
        action();
        return true;
    });
    GS::SetDebugCapture([this](const std::string& text) { debug += text; });
}

void InProcess::TearDown()
{
    GS::SetDebugCapture({});
    DG::User::SetPump(previousPump);
    ProjectDatabase::instance().reopen();
    CalvoraClearHostTable();
}

void InProcess::Start(const Host::Json& project, const char* seed)
{
    host.SetProject(project);
    if (seed != nullptr)
        StoreEstimate(host, seed);
    CalvoraSetHostTable(host.Table());
    ProjectDatabase::instance().reopen();
    ProjectDatabase::instance().ensureOpen();
}

void InProcess::Act(std::function<bool(Int16, std::string*)> action)
{
    actions.push_back([action] {
        std::string error;
        EXPECT_TRUE(action(DG::User::TopModal(), &error)) << error;
    });
}

void InProcess::Act(const std::string& line)
{
    Act([this, line](Int16, std::string* error) {
        std::ostringstream out;
        return Host::ScriptRunner(host, out).RunLine(line, error);
    });
}

}  // namespace Scenario
