// The main panel through the real libCalvora.so in the stand-in host: scripts of user actions and
// the text view that follows.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "DG/DGUser.hpp"
#include "Database/ItemsTable.hpp"
#include "Database/QtiesTable.hpp"
#include "GSRoot/Guid.hpp"
#include "Host/Script.hpp"
#include "HostApi/HostCalls.hpp"
#include "PaletteTestSupport.hpp"

namespace {

using namespace PaletteTest;

struct Expect {
    std::string scope;  // a scope of the text view (PaletteTestSupport.hpp), or "timers", "alerts",
                        // "stored items C", "stored qties I" (rows as stored, in sort order)
    std::vector<std::string> lines;
};
struct Scenario {
    const char* name;
    std::vector<std::string> script;  // the stand-in host's commands; P names the main palette
    std::vector<Expect> expected;
};

class MainPanelScenario : public ::testing::Test {
protected:
    void SetUp() override
    {
        CalvoraSetHostTable(host.Table());
        host.SetProject(FixtureProject());
        ProjectDatabase::instance().reopen();
        BuildEstimate();
        ProjectDatabase::instance().saveToProject();  // the add-on reads it from the project
        fixture = *host.ModuleData("CalvoraDB");
    }
    void TearDown() override
    {
        host.UnloadAddOn();
        ProjectDatabase::instance().reopen();
        CalvoraClearHostTable();
    }

    std::vector<std::string> View(const std::string& describe, const std::string& scope)
    {
        std::vector<std::string> out;
        if (scope == "timers")
            return {std::to_string(DG::User::RunningTimerCount())};
        if (scope == "alerts") {
            for (const auto& a : DG::User::AlertLog())
                out.push_back(a.ToString());
            return out;
        }
        if (scope.compare(0, 7, "stored ") != 0)
            return Scope(describe, scope);
        std::string error;
        EXPECT_TRUE(DG::User::CloseBox(DG::User::FindPanel("32401"), &error)) << error;  // hiding stores
        ProjectDatabase::instance().reopen();
        std::vector<std::pair<int, std::string>> rows;
        const int id = std::stoi(scope.substr(13));
        if (scope.compare(7, 5, "items") == 0)
            for (const Item& i : ItemsTable().getByCategory(id))
                rows.emplace_back(i.getInt("sort_order"), i.getString("code").ToUtf8());
        else
            for (const auto& q : QtiesTable().findWhere("item_id", id))
                rows.emplace_back(q.value.getInt("sort_order"), q.value.getString("descript").ToUtf8());
        std::sort(rows.begin(), rows.end());
        for (const auto& r : rows)
            out.push_back(std::to_string(r.first) + " " + r.second);
        return out;
    }

    // Each scenario starts from the stored fixture, the add-on loaded afresh and its palette shown.
    void Run(const std::vector<Scenario>& scenarios)
    {
        for (const Scenario& s : scenarios) {
            SCOPED_TRACE(s.name);
            host.UnloadAddOn();
            host.SetModuleData("CalvoraDB", fixture);
            host.ClearFailures();
            DG::User::ResetLogs();
            std::string error;
            ASSERT_TRUE(host.LoadAddOn(CALVORA_ADDON_PATH, &error)) << error;
            std::string script = "menu \"Show Calvora Palette\"\n";
            for (std::string line : s.script) {
                for (std::size_t at; (at = line.find(" P ")) != std::string::npos;)
                    line.replace(at, 3, " 32401 ");
                script += line + "\n";
            }
            std::istringstream in(script);
            std::ostringstream out, errors;
            Host::ScriptRunner runner(host, out);
            runner.SetErrorStream(errors);
            ASSERT_TRUE(runner.RunStream(in, s.name, false)) << errors.str();
            const std::string describe = DG::User::Describe(DG::User::FindPanel("32401"));
            for (const Expect& e : s.expected)
                ExpectLines(View(describe, e.scope), e.lines, std::string(s.name) + " [" + e.scope + "]");
        }
    }

    UserLocale pointLocale{"C"};
    Host::StandInHost host;
    std::vector<unsigned char> fixture;
};

const std::string SelectSE = std::string("select ") + SE, SelectW2 = std::string("select ") + W2;
const std::string SelectW1 = std::string("select ") + W1, SelectW1W3 = SelectW1 + " " + W3;
const std::string Item1 = "select-rows P 5 1", Item2 = "select-rows P 5 2";
std::string Splitter(int x) { return "drag-splitter P 6 " + std::to_string(x); }
std::string Header(int h, int by) { return "resize-header P 8 " + std::to_string(h) + " " + std::to_string(by); }

// The quantities list is 182 wide at first (avail 82: halves 41/41). A splitter drag to x makes
// the items list x - 5 wide and the quantities list 700 + 5 - 12 - 5 - x; the total line then
// keeps its width plus 20 and ends at x.
TEST_F(MainPanelScenario, LayoutFollowsSplitterHeadersAndResize)
{
    const Expect initial = {"rects 3 5 6 7 8 22", {"(5,50,690,50) (5,110,500,190) (506,110,5,190) (513,115,182,18) "
                                                   "(513,135,182,165) (265,313,220,18)"}};
    const Expect initialQties = {"headers 8", {"30 41 41 50 20"}};
    Run({
        {"first layout", {},
         {initial, initialQties, {"tabs 8", {"0-30 30-71 71-112 112-162 162-182"}},
          {"headers 5", {"30 70 150 50 50 50 100"}},
          {"tabs 5", {"0-30 30-100 100-250 250-300 300-350 350-400 400-500"}},
          {"8", {"header 2 \"Description\" size 41 left sizeable", "header 3 \"Formula\" size 41 left sizeable",
                 "header 4 \"Value\" size 50 right", "header 5 \"\" size 20 left", "tab 4 112-162 right owner-drawn",
                 "tab 5 162-182 center owner-drawn"}},
          {"5", {"5 singlelist (5,110,500,190) rowHeight 36 scroll 1 rows 3", "tab 4 250-300 center owner-drawn",
                 "tab 7 400-500 right owner-drawn"}}}},
        {"W = 301 scales 41/41 to 100/101", {Splitter(387)},
         {{"rects 5 6 7 8 16 22", {"(5,110,382,190) (387,110,5,190) (394,115,182,18) (394,135,301,165) "
                                   "(392,310,28,28) (147,313,240,18)"}},
          {"headers 8", {"30 100 101 50 20"}}, {"tabs 8", {"0-30 30-130 130-231 231-281 281-301"}},
          {"tabs 5", {"0-30 30-100 100-132 132-182 182-232 232-282 282-382"}}}},
        {"header 2 widened by 40 keeps 140/61", {Splitter(387), Header(2, 40)}, {{"headers 8", {"30 140 61 50 20"}}}},
        {"then the list widened: 140 * 251 / 201 truncates to 174", {Splitter(387), Header(2, 40), Splitter(337)},
         {{"rects 8", {"(344,135,351,165)"}}, {"headers 8", {"30 174 77 50 20"}}}},
        {"header 2 pushing the formula under 30: held, then rescaled", {Splitter(387), Header(2, 100)},
         {{"headers 8", {"30 171 30 50 20"}}}},
        {"header 3 narrowed under 30: held, then both rescaled", {Splitter(387), Header(3, -90)},
         {{"headers 8", {"30 154 47 50 20"}}}},
        {"a 150-pixel quantities list: 25/25 raised to 30/30", {Splitter(538)},
         {{"rects 8", {"(545,135,150,165)"}}, {"tabs 8", {"0-30 30-60 60-90 90-140 140-160"}}}},
        {"items list 200 wide (x 205) is ignored", {Splitter(205)}, {initial, initialQties}},
        {"items list 201 wide (x 206) is accepted", {Splitter(206)},
         {{"rects 5 6 7 8 20 22", {"(5,110,201,190) (206,110,5,190) (213,115,182,18) (213,135,482,165) "
                                   "(331,310,28,28) (-34,313,240,18)"}}}},
        {"no width left for the quantities list (x 688) is ignored", {Splitter(688)}, {initial, initialQties}},
        {"one pixel (x 687) is kept", {Splitter(687)},
         {{"rects 6 8", {"(687,110,5,190) (694,135,1,165)"}}, {"headers 8", {"30 30 30 50 20"}}}},
        {"resize by (+50, +20)", {"resize P 50 20"},
         {{"", {"palette \"Calvora\" 750x370 visible grow"}}, initialQties,
          {"rects 1 2 3 4 5 6 7 8", {"(5,5,150,18) (5,23,390,20) (5,50,740,50) (5,104,730,0) (5,110,550,210) "
                                     "(556,110,5,210) (563,115,182,18) (563,135,182,185)"}},
          {"rects 9 12 13 14 15 21 16 20 22", {"(405,22,28,28) (495,22,28,28) (5,330,28,28) (35,330,28,28) "
                                               "(65,330,28,28) (95,330,28,28) (560,330,28,28) (680,330,28,28) "
                                               "(315,333,220,18)"}},
          {"tabs 5", {"0-30 30-100 100-300 300-350 350-400 400-450 450-550"}}}},
    });
}

TEST_F(MainPanelScenario, RowsPopUpAndTotalLine)
{
    Run({
        {"pop-up in id order whatever the sort orders; the first category's items", {},
         {{"2", {"2 popup (5,23,390,20) selected 1", "entry 1 \"A1 Earthworks\" value 1 *",
                 "entry 2 \"B2 Concrete\" value 2", "entry 3 \" Masonry\" value 3"}},
          {"", {"3 statictext (5,50,690,50) \"Digging and filling\"",
                "22 statictext (265,313,220,18) \"Total: 2359.50\" right",
                "10 iconbutton (435,22,28,28) tooltip \"Edit Category\" icon 32551 \"Edit\"",
                "14 iconbutton (35,310,28,28) disabled tooltip \"Edit Item\" icon 32551 \"Edit\""}},
          {"5", {"row 3 value 3 | \"3\" | \"E-03\" | \"Transport\" | \"m3\" | \"1.00\" | \"1234.50\" | \"1234.50\"",
                 "!selected"}},
          {"5 row 1", {"fill 0,0-30,36 #FFFFFFFF", "text 2,2 26x32 \"1\" Arial 12 plain align 0 #000000FF",
                       "line 0,35-30,35 #D2D2D2FF"}},
          {"5 row 2", {"fill 0,0-70,36 #F5F5F5FF", "text 2,2 66x32 \"E-02\" Arial 12 plain align 0 #000000FF"}}}},
        {"an item selected: its quantities by sort order; item buttons on", {Item1},
         {{"8", {"row 1 value 2 | \"1\" | \"Outdated\" | \"Volume\" | \"99.00\" | \"\"",
                 "row 2 value 1 | \"2\" | \"Wall W-1\" | \"Volume\" | \"2.50\" | \"\"",
                 "row 4 value 4 | \"4\" | \"Fixed\" | \"2*3\" | \"6.00\" | \"\""}},
          {"8 row 1", {"fill 0,0-50,18 #FFFFFFFF", "text 2,2 46x14 \"99.00\" Arial 12 plain align 1 #000000FF",
                       "fill 0,0-20,18 #FFFFFFFF", "line 0,17-20,17 #D2D2D2FF", "!polygon"}},
          {"8 row 2", {"fill 0,0-41,18 #F5F5F5FF", "text 2,2 37x14 \"Wall W-1\" Arial 12 plain align 0 #000000FF"}},
          {"5 row 1", {"fill 0,0-30,36 #3366CCFF", "text 2,2 26x32 \"1\" Arial 12 plain align 0 #FFFFFFFF"}},
          {"", {"21 iconbutton (95,310,28,28) tooltip \"Clone Item\" icon 32554 \"Clone\"",
                "17 iconbutton (540,310,28,28) disabled tooltip \"Edit Qty\" icon 32551 \"Edit\""}}}},
        {"quantity rows selected: quantity buttons on", {Item1, "select-rows P 8 2 4"},
         {{"", {"20 iconbutton (630,310,28,28) tooltip \"Zoom to linked Element\" icon 32556 \"Zoom\""}}}},
        {"an empty category: no rows, empty description and total line", {Item1, "choose P 2 3"},
         {{"", {"3 statictext (5,50,690,50)", "22 statictext (265,313,220,18) right", "!row "}}}},
        {"one item of total 0 still shows the total line", {"choose P 2 2"},
         {{"", {"22 statictext (265,313,220,18) \"Total: 0.00\" right"}}}},
    });
}

TEST_F(MainPanelScenario, AmountsFollowACommaLocale)
{
    UserLocale comma("de_DE.UTF-8");
    ASSERT_TRUE(comma.ok);
    Run({{"items, quantities and the total line with a decimal comma", {Item1},
          {{"", {"22 statictext (265,313,220,18) \"Total: 2359,50\" right"}},
           {"5", {"row 3 value 3 | \"3\" | \"E-03\" | \"Transport\" | \"m3\" | \"1,00\" | \"1234,50\" | \"1234,50\""}},
           {"8", {"row 2 value 1 | \"2\" | \"Wall W-1\" | \"Volume\" | \"2,50\" | \"\""}}}}});
}

// The status square of a 20 x 18 cell: 6 x 6 around (10, 9), a gradient of one colour.
std::string Square(const std::string& c)
{
    return "polygon 7,6 13,6 13,12 7,12 7,6 linear " + c + "->" + c + " 10,6->10,12";
}
const std::string Orange = "#E6821EFF", Green = "#3CB43CFF", Red = "#D23232FF";

TEST_F(MainPanelScenario, RecheckOneQuantityPerTick)
{
    Run({
        {"first tick: the first row's square", {Item1, "tick 1"},
         {{"8 row 1", {Square(Orange)}}, {"8 row 2", {"!polygon"}}, {"timers", {"1"}}}},
        {"five ticks: every square but the unlinked one's; the timer still runs", {Item1, "tick 5"},
         {{"8 row 1", {Square(Orange)}}, {"8 row 2", {Square(Green)}}, {"8 row 3", {Square(Red)}},
          {"8 row 4", {"!polygon"}}, {"8 row 5", {Square(Green)}}, {"timers", {"1"}}}},
        {"the sixth tick stops it", {Item1, "tick 6"}, {{"timers", {"0"}}}},
        {"another item midway restarts from the first quantity", {Item1, "tick 2", Item2, Item1, "tick 1"},
         {{"8 row 1", {Square(Orange)}}, {"8 row 2", {"!polygon"}}, {"timers", {"1"}}}},
        {"one unlinked quantity: computed, then stopped", {Item2, "tick 2"}, {{"timers", {"0"}}}},
        {"an empty category: no timer", {Item1, "choose P 2 3"}, {{"timers", {"0"}}}},
    });
}

TEST_F(MainPanelScenario, QuantitiesOfSelectedElementsAreHighlighted)
{
    const std::string linked = "fill 0,0-30,18 #FFF0B4FF";
    Run({
        {"a section element cut from W2 marks W2's quantity", {Item1, SelectSE},
         {{"8 row 1", {linked, "fill 0,0-20,18 #FFF0B4FF"}}, {"8 row 2", {"fill 0,0-30,18 #F5F5F5FF"}},
          {"8 row 3", {"fill 0,0-30,18 #FFFFFFFF"}}}},
        {"two walls: both rows, even or odd; the others keep their shading", {Item1, SelectW1W3},
         {{"8 row 2", {linked}}, {"8 row 5", {linked}}, {"8 row 4", {"fill 0,0-30,18 #F5F5F5FF"}}}},
        {"a selected row keeps the selection colour", {Item1, "select-rows P 8 2", SelectW1},
         {{"8 row 2", {"fill 0,0-30,18 #3366CCFF", "!#FFF0B4FF"}}}},
        {"the selection emptied: no highlight", {Item1, SelectW2, "select none"}, {{"8", {"!#FFF0B4FF"}}}},
        {"an element the host cannot read is passed over",
         {Item1, std::string("fail HostGetElement ") + W1, SelectW1W3},
         {{"8 row 2", {"fill 0,0-30,18 #F5F5F5FF"}}, {"8 row 5", {linked}}}},
        {"the selection cannot be read: no highlight", {Item1, "fail HostGetSelection", SelectW2},
         {{"8", {"!#FFF0B4FF"}}}},
    });
}

TEST_F(MainPanelScenario, RowDragWritesSortOrders)
{
    Run({
        {"item row 3 dragged to the top", {"drag-row P 5 3 1"},
         {{"5", {"row 1 value 3 | \"1\" | \"E-03\" | \"Transport\" | \"m3\" | \"1.00\" | \"1234.50\" | \"1234.50\"",
                 "row 2 value 1 | \"2\" | \"E-01\" | \"Excavation\" | \"m3\" | \"111.50\" | \"10.00\" | \"1115.00\""}},
          {"", {"22 statictext (265,313,220,18) \"Total: 2359.50\" right"}},
          {"stored items 1", {"1 E-03", "2 E-01", "3 E-02"}}}},
        {"quantity row 5 dragged to the top, kept when the item is selected again",
         {Item1, "drag-row P 8 5 1", Item2, Item1},
         {{"8", {"row 1 value 5 | \"1\" | \"Third\" | \"Volume\" | \"3.00\" | \"\"",
                 "row 2 value 2 | \"2\" | \"Outdated\" | \"Volume\" | \"99.00\" | \"\""}},
          {"stored qties 1", {"1 Third", "2 Outdated", "3 Wall #ID", "4 Gone", "5 Fixed"}}}},
    });
}

TEST_F(MainPanelScenario, DeleteKeyFollowsTheFocus)
{
    const std::string no = "[\"No\", \"Yes\"] -> 1";
    Run({
        {"items list focused: the item (answered No)", {Item1, "focus P 5", "key P delete", "answer No"},
         {{"alerts", {"alert warning \"Delete Item\": \"Are you sure you want to delete this item?\" / \"\" " + no}},
          {"stored items 1", {"1 E-01", "2 E-02", "3 E-03"}}}},
        {"quantities list focused: the selected quantities",
         {Item1, "select-rows P 8 1", "focus P 8", "key P delete", "answer No"},
         {{"alerts", {"alert warning \"Delete Qty\": \"Are you sure you want to delete selected quantities?\" / \"\" " +
                      no}}}},
        {"pop-up focused: nothing", {Item1, "select-rows P 8 1", "focus P 2", "key P delete"},
         {{"alerts", {"!alert"}}}},
    });
}

}  // namespace
