#pragma once
// Scenarios played by the stand-in host's script commands against the real libCalvora.so, checked
// against the text the host shows (palettes, menus, panels, alerts).
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "DG/DGUser.hpp"
#include "GSRoot/Debug.hpp"
#include "Host/Script.hpp"
#include "Host/StandInHost.hpp"

namespace Scenario {

// Elements of the sample project and the reference ids of the two palettes.
constexpr const char* W01 = "408EB5D4-FFEF-5C87-9D73-FAC37092B2D9";
constexpr const char* W05 = "623E4A9D-AA5E-51FA-B7E8-7530D4B03115";
constexpr const char* W06 = "01215643-9671-5AD1-BD14-7B9D6E75B72E";
constexpr const char* Z01 = "79D4E278-ACAB-5A19-B1CC-915786F5CD0E";
constexpr const char* W05Section = "B6569700-6A5F-5ADF-B3B4-5257F4B414D6";
constexpr const char* MainRef = "-1682581816";
constexpr const char* ExplorerRef = "1903527372";

// One step: script lines (a modal they open takes the following ones) and the lines expected in
// what they print. Each expected line must be found, in order, inside a line of the output, and one
// starting with '!' nowhere in it; an expectation starting with '=' is the whole output.
struct Step {
    std::string lines;
    std::string expect;
};

inline std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

inline ::testing::AssertionResult Shows(const std::string& output, const std::string& expect)
{
    if (!expect.empty() && expect[0] == '=')
        return output == expect.substr(1) ? ::testing::AssertionSuccess()
                                          : ::testing::AssertionFailure() << "the output is not exactly the expected";
    const std::vector<std::string> lines = SplitLines(output);
    std::size_t at = 0;
    for (const std::string& wanted : SplitLines(expect)) {
        if (!wanted.empty() && wanted[0] == '!') {
            if (output.find(wanted.substr(1)) != std::string::npos)
                return ::testing::AssertionFailure() << "shows what it must not: " << wanted.substr(1);
            continue;
        }
        while (at < lines.size() && lines[at].find(wanted) == std::string::npos)
            ++at;
        if (at == lines.size())
            return ::testing::AssertionFailure() << "missing (in this order): " << wanted;
        ++at;
    }
    return ::testing::AssertionSuccess();
}

inline int CountPanels(const std::string& title)
{
    int n = 0;
    for (const auto& p : DG::User::Panels())
        n += p.title == title ? 1 : 0;
    return n;
}

class Session : public ::testing::Test {
protected:
    void SetUp() override
    {
        GS::SetDebugCapture([this](const std::string& text) { debug += text; });
        DG::User::ResetLogs();
        char pattern[] = "/tmp/calvora_scenario_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        std::ifstream in(std::string(CALVORA_SAMPLES_DIR) + "/sample-project.json");
        ASSERT_TRUE(in.good());
        sample = Host::Json::parse(in);
        samplePath = WriteProject("sample.json", sample);
        BeforeLoad();
        std::string error;
        ASSERT_TRUE(host.LoadAddOn(CALVORA_ADDON_PATH, &error)) << error;
        runner.SetErrorStream(errors);
    }
    // The add-on copies the host's table when it is loaded: entries change before that.
    virtual void BeforeLoad() {}
    void TearDown() override
    {
        host.UnloadAddOn();
        GS::SetDebugCapture({});
        std::string cleanup = "rm -rf '" + dir + "'";
        EXPECT_EQ(std::system(cleanup.c_str()), 0);
    }

    std::string WriteProject(const std::string& name, const Host::Json& project)
    {
        const std::string path = dir + "/" + name;
        std::ofstream(path) << project.dump(2);
        return path;
    }

    // Runs the steps in order; "{sample}" stands for the sample project's copy.
    void Play(const std::vector<Step>& steps)
    {
        for (const Step& step : steps) {
            std::string lines = step.lines;
            for (std::size_t at; (at = lines.find("{sample}")) != std::string::npos;)
                lines.replace(at, 8, samplePath);
            out.str("");
            errors.str("");
            std::istringstream in(lines + "\n");
            EXPECT_TRUE(runner.RunStream(in, "step", false)) << lines << "\n" << errors.str();
            EXPECT_TRUE(Shows(out.str(), step.expect)) << "after: " << lines << "\n" << out.str();
        }
    }

    // The codes of a category's items, in sort order, as the project's stored estimate holds them.
    std::vector<std::string> StoredItemCodes(int categoryId)
    {
        std::vector<std::string> codes;
        auto image = host.ModuleData("CalvoraDB");
        if (!image)
            return codes;
        sqlite3* db = nullptr;
        sqlite3_open(":memory:", &db);
        auto* bytes = static_cast<unsigned char*>(sqlite3_malloc64(image->size()));
        std::memcpy(bytes, image->data(), image->size());
        sqlite3_deserialize(db, "main", bytes, image->size(), image->size(),
                            SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE);
        sqlite3_stmt* query = nullptr;
        sqlite3_prepare_v2(db, "SELECT code FROM items WHERE category_id = ? ORDER BY sort_order", -1, &query, nullptr);
        sqlite3_bind_int(query, 1, categoryId);
        while (sqlite3_step(query) == SQLITE_ROW)
            codes.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(query, 0)));
        sqlite3_finalize(query);
        sqlite3_close(db);
        return codes;
    }

    Host::StandInHost host;
    std::ostringstream out;
    std::ostringstream errors;
    Host::ScriptRunner runner{host, out};
    std::string debug;
    std::string dir;
    Host::Json sample;
    std::string samplePath;
};

// The Explorer's list as it stands with no row naming an item, and its disabled button.
inline std::string ExplorerEmpty()
{
    return " rows 0\n"
           "  2 button (390,118,55,26) disabled \"Goto Item\"";
}

}  // namespace Scenario
