#pragma once
// Scenarios of the user interface: the real libCalvora.so loaded into the stand-in host, scripts of
// user actions run by the host's script runner, and what they print compared with the text views
// (DG::User::Describe) and with the estimate the project stores.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "DG/DGUser.hpp"
#include "Host/StandInHost.hpp"

namespace Scenario {

// The fixture model (fixture-project.json): walls W1..W5 (volumes 2.5, 4, 3, 1.5, 2; areas 10..14;
// length 4), a slab S1, a line L1 and a section element SE cut from W2; wall properties "U-Value" 0.25
// and "Count()" 3.
constexpr const char* W1 = "B0000000-0000-4000-8000-000000000001";
constexpr const char* W2 = "B0000000-0000-4000-8000-000000000002";
constexpr const char* W3 = "B0000000-0000-4000-8000-000000000003";
constexpr const char* W4 = "B0000000-0000-4000-8000-000000000004";
constexpr const char* W5 = "B0000000-0000-4000-8000-000000000005";
constexpr const char* S1 = "B0000000-0000-4000-8000-000000000011";
constexpr const char* L1 = "B0000000-0000-4000-8000-000000000021";
constexpr const char* SE = "B0000000-0000-4000-8000-000000000029";
Host::Json FixtureProject();
Host::Json ReadJson(const std::string& path);

// Elements of the sample project and the reference ids of the two palettes.
constexpr const char* W01 = "408EB5D4-FFEF-5C87-9D73-FAC37092B2D9";
constexpr const char* W05 = "623E4A9D-AA5E-51FA-B7E8-7530D4B03115";
constexpr const char* W06 = "01215643-9671-5AD1-BD14-7B9D6E75B72E";
constexpr const char* Z01 = "79D4E278-ACAB-5A19-B1CC-915786F5CD0E";
constexpr const char* W05Section = "B6569700-6A5F-5ADF-B3B4-5257F4B414D6";
constexpr const char* MainRef = "-1682581816";
constexpr const char* ExplorerRef = "1903527372";

// The user's locale (what setlocale(LC_ALL, "") picks) and the process locale for one scope; both
// are restored whatever happens. nullptr changes nothing.
struct UserLocale {
    explicit UserLocale(const char* name);
    ~UserLocale();
    std::string process, env;
    bool hadEnv, ok = true;
};

// The expected lines are found in this order in lines of the output: "text" inside a line, "=text"
// as a whole line (leading blanks dropped); "!text" in no line between the lines matched before and
// after it (from the start, or to the end, when there is none).
::testing::AssertionResult Shows(const std::string& output, const std::string& expect);
// The lines of a text that hold a fragment (with) or do not.
std::string LinesWith(const std::string& text, const std::string& fragment, bool with = true);
inline std::string Without(const std::string& text, const std::string& part) { return LinesWith(text, part, false); }

// The rows of an estimate image for a query, one line each, columns joined by '|'; without a query
// every row of the three tables as "table: a|b|...", in id order.
std::string Query(const std::vector<unsigned char>& image, const std::string& sql = "");
// The lines on one line, joined by " ; " (as the test lines @stored and @flush print rows).
std::string Joined(const std::string& lines);
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
std::string TempDir();  // removed with its files when the tests end

// Stores into the host's project the add-on's fresh estimate with the SQL run on it.
void StoreEstimate(Host::StandInHost& host, const std::string& sql);

// A scope of a panel's text view: "" all of it; "8" item 8 with its headers, tabs and rows; "8 row 2"
// one row with its painted cells; "rects 5 8" the items' rectangles ("rects" every item's), "headers 8"
// a list's header sizes and "tabs 8" its tab ranges, each on one line.
std::string Scope(const std::string& view, const std::string& scope);
// The lines without the items' rectangles: what a behaviour scenario compares (rows, values, texts).
std::string Plain(const std::string& view);

// What a behaviour scenario looks at in a panel: its text view with the items named as in their
// resource, without the panel's size and the items' rectangles (layout tests take those from Scope).
std::string Texts(Int16 panel);

// A scenario: the add-on loaded afresh on the project with its estimate made by the seed, the script
// run, and the lines it prints.
struct Case {
    std::string name, seed, script, expect;
    const char* locale = nullptr;
};

class Session : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // seed nullptr: the estimate the project holds.
    void Start(const Host::Json& project, const char* seed = nullptr);
    void Finish();
    // Runs the script ("$DIR" stands for the test's folder). Test lines, answered as they are reached:
    //   @stored [SQL]  the stored estimate's rows, on one line (Joined)
    //   @flush [SQL]   the same after Close stores a changed estimate
    //   @timers        the running timers            @view SCOPE   a scope of the main palette
    //   @show PANEL [SCOPE]   the panel's Texts, or a scope of its text view ("top": the top modal)
    //   @disk BYTES    the largest file the disk takes from then on (0: any; lifted when the add-on is unloaded)
    std::string Run(const std::string& script);
    struct Step {
        std::string script, expect;
    };
    void Play(const std::vector<Step>& steps);
    void RunCases(const Host::Json& project, const std::vector<Case>& cases);
    std::string WriteProject(const std::string& name, const Host::Json& project);

    Host::StandInHost host;
    std::string debug, dir;
    bool plain = false;  // Play compares the output without the items' rectangles

private:
    std::string Hook(const std::string& line);
    UserLocale locale{"C"};
    bool loaded = false;
};

// A session on a copy of the sample project ($DIR/sample.json), the add-on loaded on an empty one.
class SampleSession : public Session {
protected:
    void SetUp() override;
    // The host's table entries change here: the add-on copies the table when it is loaded.
    virtual void BeforeLoad() {}
    Host::Json sample;
};

// The add-on's code linked into the test, on the host's project, with a queue of user actions as
// the dialog library's pump.
class InProcess : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // seed nullptr: the estimate the project holds.
    void Start(const Host::Json& project, const char* seed);
    // Queues a user action on the top modal (or none); a refused action fails the test.
    void Act(std::function<bool(Int16 panel, std::string* error)> action);
    // The same as a line of the host's script language ("click top OkButton", "answer 1").
    void Act(const std::string& line);

    Host::StandInHost host;
    std::deque<std::function<void()>> actions;
    std::string debug;

private:
    UserLocale locale{"C"};
    DG::User::Pump previousPump;
};

}  // namespace Scenario
