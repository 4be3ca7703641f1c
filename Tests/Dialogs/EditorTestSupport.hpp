#pragma once
// The editors through the real libCalvora.so in the stand-in host: a fixture model, an estimate
// seeded into the project, scripts of user actions run by the host's script runner, and the stored
// estimate read back from the project after the palette is hidden.
#include <gtest/gtest.h>

#include <SQLiteCpp/SQLiteCpp.h>

#include <clocale>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "DG/DGUser.hpp"
#include "Database/ProjectDatabase.hpp"
#include "Host/Script.hpp"
#include "Host/StandInHost.hpp"
#include "HostApi/HostCalls.hpp"

namespace EditorTest {

// Five walls (volumes 2.5, 4, 3, 1.5, 2; areas 10 to 14), a slab and a line; two wall properties,
// "U-Value" 0.25 and "Count()" 3.
constexpr const char* W1 = "B0000000-0000-4000-8000-000000000001";
constexpr const char* W2 = "B0000000-0000-4000-8000-000000000002";
constexpr const char* W3 = "B0000000-0000-4000-8000-000000000003";
constexpr const char* W4 = "B0000000-0000-4000-8000-000000000004";
constexpr const char* W5 = "B0000000-0000-4000-8000-000000000005";
constexpr const char* S1 = "B0000000-0000-4000-8000-000000000011";
constexpr const char* L1 = "B0000000-0000-4000-8000-000000000021";

inline Host::Json FixtureProject()
{
    Host::Json elements = Host::Json::array();
    const double volumes[] = {2.5, 4.0, 3.0, 1.5, 2.0};
    const char* walls[] = {W1, W2, W3, W4, W5};
    for (int i = 0; i < 5; ++i)
        elements.push_back({{"guid", walls[i]}, {"typeID", "Wall"}, {"id", "W-" + std::to_string(i + 1)},
                            {"quantities", {{"volume", volumes[i]}, {"area", 10.0 + i}, {"length", 4.0}}}});
    elements.push_back({{"guid", S1}, {"typeID", "Slab"}, {"id", "S-1"},
                        {"quantities", {{"volume", 12.0}, {"topSurface", 40.0}}}});
    elements.push_back({{"guid", L1}, {"typeID", "Line"}, {"id", "L-1"}, {"begC", {0, 0}}, {"endC", {3, 4}}});
    Host::Json properties = Host::Json::array(
        {{{"guid", "C0000000-0000-4000-8000-000000000001"}, {"name", "U-Value"}, {"description", "Thermal"},
          {"valueType", "real"}, {"default", 0.25}, {"types", {"Wall"}}},
         {{"guid", "C0000000-0000-4000-8000-000000000002"}, {"name", "Count()"}, {"description", "Pieces"},
          {"valueType", "integer"}, {"default", 3}, {"types", {"Wall"}}}});
    return {{"model", {{"elements", elements}, {"propertyDefinitions", properties}}}};
}

// The user's locale (what setlocale(LC_ALL, "") picks) and the process locale for one scope.
struct UserLocale {
    explicit UserLocale(const char* name)
        : savedProcess(std::setlocale(LC_ALL, nullptr)),
          savedEnv(std::getenv("LC_ALL") != nullptr ? std::getenv("LC_ALL") : ""),
          hadEnv(std::getenv("LC_ALL") != nullptr)
    {
        if (name == nullptr)
            return;
        setenv("LC_ALL", name, 1);
        ok = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~UserLocale()
    {
        hadEnv ? setenv("LC_ALL", savedEnv.c_str(), 1) : unsetenv("LC_ALL");
        std::setlocale(LC_ALL, savedProcess.c_str());
    }
    const std::string savedProcess, savedEnv;
    const bool hadEnv;
    bool ok = true;
};

// One scenario: the estimate it starts from, what the user does with the palette shown, and what
// follows. Expected output lines are the lines of the script's output (leading blanks dropped)
// that must appear in this order; a line "!text" means no later line contains text.
struct Scenario {
    const char* name;
    const char* seed;                 // SQL run on the fresh estimate before the add-on loads it
    std::string script;               // the user's actions
    std::vector<std::string> shown;   // in the script's output, in this order
    std::vector<std::string> alerts;  // the whole alert log
    int beeps;                        // -1: not looked at
    const char* query;                // the stored estimate afterwards ("" none)
    std::vector<std::string> rows;    // its rows, columns joined by "|"
    const char* locale = nullptr;     // the user's locale, when not the process default
};

class EditorHost : public ::testing::Test {
protected:
    void TearDown() override { Finish(); }

    // A fresh estimate (with the seed) in the fixture project, the add-on loaded, logs empty.
    void Start(const char* seed)
    {
        Finish();
        DG::User::ResetLogs();
        CalvoraSetHostTable(host.Table());
        host.SetProject(FixtureProject());
        ProjectDatabase::instance().reopen();
        ProjectDatabase::instance().ensureOpen();
        if (seed != nullptr && *seed != '\0')
            ProjectDatabase::instance().execSql(seed);
        ProjectDatabase::instance().saveToProject();
        std::string error;
        ASSERT_TRUE(host.LoadAddOn(CALVORA_ADDON_PATH, &error)) << error;
        loaded = true;
    }

    void Finish()
    {
        if (!loaded)
            return;
        host.UnloadAddOn();
        ProjectDatabase::instance().reopen();
        CalvoraClearHostTable();
        loaded = false;
    }

    // Runs the script with the main palette shown; the output of the host's commands.
    std::string Run(const std::string& script, const std::string& name)
    {
        std::ostringstream out, errors;
        Host::ScriptRunner runner(host, out);
        runner.SetErrorStream(errors);
        std::istringstream in("menu \"Show Calvora Palette\"\n" + script);
        EXPECT_TRUE(runner.RunStream(in, name, false)) << name << ": " << errors.str() << "\n" << out.str();
        return out.str();
    }

    // Hides the palette (which stores the estimate into the project) and reads the stored rows.
    std::vector<std::string> Stored(const char* sql)
    {
        const Int16 palette = DG::User::FindPanel("32401");
        std::string error;
        if (palette != 0 && DG::User::TopModal() == 0)
            DG::User::CloseBox(palette, &error);
        ProjectDatabase::instance().reopen();
        std::vector<std::string> rows;
        SQLite::Statement query = ProjectDatabase::instance().prepare(sql);
        while (query.executeStep()) {
            std::string row;
            for (int c = 0; c < query.getColumnCount(); ++c)
                row += (c > 0 ? "|" : "") + std::string(query.getColumn(c).getText());
            rows.push_back(row);
        }
        return rows;
    }

    static std::vector<std::string> Lines(const std::string& text)
    {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            const std::size_t first = line.find_first_not_of(' ');
            lines.push_back(first == std::string::npos ? "" : line.substr(first));
        }
        return lines;
    }

    static void ExpectInOrder(const std::string& output, const std::vector<std::string>& expected,
                              const std::string& name)
    {
        const std::vector<std::string> lines = Lines(output);
        std::size_t at = 0;
        for (const std::string& e : expected) {
            if (!e.empty() && e[0] == '!') {
                for (std::size_t i = at; i < lines.size(); ++i)
                    EXPECT_EQ(lines[i].find(e.substr(1)), std::string::npos)
                        << name << ": after line " << at << " no line should hold " << e.substr(1) << "\n" << output;
                continue;
            }
            std::size_t i = at;
            while (i < lines.size() && lines[i] != e)
                ++i;
            if (i == lines.size()) {
                ADD_FAILURE() << name << ": lacks, after line " << at << ": " << e << "\n" << output;
                return;
            }
            at = i + 1;
        }
    }

    void RunScenarios(const std::vector<Scenario>& scenarios)
    {
        for (const Scenario& s : scenarios) {
            SCOPED_TRACE(s.name);
            UserLocale locale(s.locale);
            ASSERT_TRUE(locale.ok) << s.locale;
            Start(s.seed);
            const std::string output = Run(s.script, s.name);
            ExpectInOrder(output, s.shown, s.name);
            std::vector<std::string> alerts;
            for (const auto& a : DG::User::AlertLog())
                alerts.push_back(a.ToString());
            EXPECT_EQ(alerts, s.alerts) << s.name;
            if (s.beeps >= 0)
                EXPECT_EQ(DG::User::BeepCount(), s.beeps) << s.name;
            if (*s.query != '\0')
                EXPECT_EQ(Stored(s.query), s.rows) << s.name;
            Finish();
        }
    }

    Host::StandInHost host;
    bool loaded = false;
};

}  // namespace EditorTest
