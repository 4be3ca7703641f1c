// The main panel through the real libCalvora.so in the stand-in host: scripts of user actions and
// the text view that follows.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "DG/DGUser.hpp"
#include "GSRoot/Guid.hpp"
#include "HostApi/HostCalls.hpp"
#include "PaletteTestSupport.hpp"

namespace {

using namespace PaletteTest;

class MainPanelScenario : public ::testing::Test {
protected:
    void SetUp() override
    {
        DG::User::ResetLogs();
        CalvoraSetHostTable(host.Table());
        host.SetProject(FixtureProject());
        ProjectDatabase::instance().reopen();
        BuildEstimate();
        ProjectDatabase::instance().saveToProject();  // the add-on reads it from the project
        fixture = *host.ModuleData("CalvoraDB");
        std::string error;
        ASSERT_TRUE(host.LoadAddOn(CALVORA_ADDON_PATH, &error)) << error;
    }
    void TearDown() override
    {
        host.UnloadAddOn();
        ProjectDatabase::instance().reopen();
        CalvoraClearHostTable();
    }

    Int16 OpenPalette()
    {
        std::string error;
        EXPECT_TRUE(host.ChooseMenuByText("Show Calvora Palette", &error)) << error;
        return DG::User::FindPanel("32401");
    }

    // One user action: "choose 2", "items 1" (select rows; none when no number), "qties 1 3",
    // "drag items 3 1", "splitter 206", "resize 50 20", "header 2 40", "focus items",
    // "key delete", "ticks 5", "model W2 SE" (select elements; none when no name), "close",
    // "answer No".
    void Do(Int16 panel, const std::string& action)
    {
        static const std::map<std::string, Int16> items = {{"popup", 2}, {"items", 5}, {"qties", 8}};
        static const std::map<std::string, const char*> guids = {{"W1", W1}, {"W2", W2}, {"W3", W3}, {"SE", SE}};
        std::istringstream in(action);
        std::string verb, what;
        in >> verb;
        std::vector<int> n;
        std::vector<std::string> words;
        for (std::string w; in >> w;)
            std::isdigit(static_cast<unsigned char>(w[0])) || w[0] == '-' ? n.push_back(std::stoi(w)) : words.push_back(w);
        auto I = [](int v) { return static_cast<Int16>(v); };
        std::string error;
        bool ok = true;
        if (verb == "choose")
            ok = DG::User::ChooseEntry(panel, 2, I(n.at(0)), &error);
        else if (verb == "items" || verb == "qties")
            ok = DG::User::SelectRows(panel, items.at(verb), std::vector<Int16>(n.begin(), n.end()), &error);
        else if (verb == "drag")
            ok = DG::User::DragRow(panel, items.at(words.at(0)), I(n.at(0)), I(n.at(1)), &error);
        else if (verb == "splitter")
            ok = DG::User::DragSplitter(panel, 6, I(n.at(0)), &error);
        else if (verb == "resize")
            ok = DG::User::ResizePanel(panel, I(n.at(0)), I(n.at(1)), &error);
        else if (verb == "header")
            ok = DG::User::ResizeHeaderItem(panel, 8, I(n.at(0)), I(n.at(1)), &error);
        else if (verb == "focus")
            ok = DG::User::Focus(panel, items.at(words.at(0)), &error);
        else if (verb == "key")
            ok = DG::User::PressKey(panel, DG::Key::Delete, DG::Key::NoModifier, &error);
        else if (verb == "ticks")
            DG::User::FireTimerTicks(n.at(0));
        else if (verb == "close")
            ok = DG::User::CloseBox(panel, &error);
        else if (verb == "answer")
            ok = DG::User::AnswerAlertByText(words.at(0), &error);
        else if (verb == "model") {
            std::vector<GS::Guid> selection;
            for (const std::string& w : words)
                selection.push_back(GS::Guid(guids.at(w)));
            host.Select(selection);
        } else
            FAIL() << "unknown action " << action;
        EXPECT_TRUE(ok) << action << ": " << error;
    }

    struct Expect {
        std::string scope;  // "" whole view, "8" one item, "8 row 2" one row with its cells
        std::vector<std::string> lines;
    };
    struct Scenario {
        const char* name;
        std::vector<std::string> actions;
        std::vector<Expect> expected;
    };

    void Run(const std::vector<Scenario>& scenarios)
    {
        for (const Scenario& s : scenarios) {
            SCOPED_TRACE(s.name);
            // Each scenario starts from the stored fixture with a fresh palette.
            host.UnloadAddOn();
            host.SetModuleData("CalvoraDB", fixture);
            ProjectDatabase::instance().reopen();
            DG::User::ResetLogs();
            std::string error;
            ASSERT_TRUE(host.LoadAddOn(CALVORA_ADDON_PATH, &error)) << error;
            const Int16 panel = OpenPalette();
            ASSERT_NE(panel, 0);
            for (const std::string& a : s.actions)
                Do(panel, a);
            const std::string view = DG::User::Describe(panel);
            bool stored = false;
            for (const Expect& e : s.expected) {
                if (e.scope.compare(0, 7, "stored ") == 0 && !stored) {
                    Do(panel, "close");  // hiding the palette stores the estimate into the project
                    ProjectDatabase::instance().reopen();
                    stored = true;
                }
                const bool special = !e.scope.empty() && !std::isdigit(static_cast<unsigned char>(e.scope[0]));
                ExpectLines(Special(e.scope, view), special ? "" : e.scope, e.lines, s.name);
            }
        }
    }

    // Views beside the panel's: "timers" the running timers, "alerts" the alert log, "stored
    // items C" / "stored qties I" the stored rows of a category or item in sort order.
    std::string Special(const std::string& scope, const std::string& view)
    {
        std::ostringstream out;
        if (scope == "timers") {
            out << DG::User::RunningTimerCount() << "\n";
        } else if (scope == "alerts") {
            for (const auto& a : DG::User::AlertLog())
                out << a.ToString() << "\n";
        } else if (scope.compare(0, 13, "stored items ") == 0) {
            for (const Item& i : ItemsTable().getByCategory(std::stoi(scope.substr(13))))
                out << i.getInt("sort_order") << " " << i.getString("code").ToUtf8() << "\n";
        } else if (scope.compare(0, 13, "stored qties ") == 0) {
            std::vector<std::pair<int, std::string>> rows;
            for (const auto& q : QtiesTable().findWhere("item_id", std::stoi(scope.substr(13))))
                rows.emplace_back(q.value.getInt("sort_order"), q.value.getString("descript").ToUtf8());
            std::sort(rows.begin(), rows.end());
            for (const auto& r : rows)
                out << r.first << " " << r.second << "\n";
        } else {
            return view;
        }
        return out.str();
    }

    UserLocale pointLocale{"C"};
    Host::StandInHost host;
    std::vector<unsigned char> fixture;
};

// ---- geometry --------------------------------------------------------------------------------

TEST_F(MainPanelScenario, LayoutFollowsSplitterHeadersAndResize)
{
    // The quantities list is 182 wide (avail 82): halves 41/41. Its width after a splitter drag to
    // p is 700 + 5 - 12 - 5 - p; the items list's is p - 5.
    const std::vector<std::string> initialQties = {
        "8 multilist (513,135,182,165) rowHeight 18 scroll 1 rows 0",
        "header 1 \"No.\" size 30 left", "header 2 \"Description\" size 41 left sizeable",
        "header 3 \"Formula\" size 41 left sizeable", "header 4 \"Value\" size 50 right", "header 5 \"\" size 20 left",
        "tab 1 0-30 left owner-drawn", "tab 2 30-71 left owner-drawn", "tab 3 71-112 left owner-drawn",
        "tab 4 112-162 right owner-drawn", "tab 5 162-182 center owner-drawn"};
    Run({
        {"initial layout", {},
         {{"", {"palette \"Calvora\" 700x350 visible grow", "3 statictext (5,50,690,50) \"Digging and filling\"",
                "6 splitter (506,110,5,190) draggable", "22 statictext (265,313,220,18) \"Total: 2359.50\" right"}},
          {"5", {"5 singlelist (5,110,500,190) rowHeight 36 scroll 1 rows 3", "header 1 \"No.\" size 30 left",
                 "header 3 \"Description\" size 150 left", "header 7 \"Total\" size 100 left",
                 "tab 1 0-30 left owner-drawn", "tab 2 30-100 left owner-drawn", "tab 3 100-250 left owner-drawn",
                 "tab 4 250-300 center owner-drawn", "tab 5 300-350 right owner-drawn",
                 "tab 6 350-400 right owner-drawn", "tab 7 400-500 right owner-drawn"}},
          {"8", initialQties}}},
        {"W = 301 scales 41/41 to 100/101",
         {"splitter 387"},
         {{"", {"5 singlelist (5,110,382,190) rowHeight 36 scroll 1 rows 3", "6 splitter (387,110,5,190) draggable",
                "7 statictext (394,115,182,18) \"Quantities\"", "22 statictext (147,313,240,18) \"Total: 2359.50\" right",
                "16 iconbutton (392,310,28,28) disabled tooltip \"Add Qty Item\" icon 32550 \"Add\""}},
          {"8", {"8 multilist (394,135,301,165) rowHeight 18 scroll 1 rows 0", "header 2 \"Description\" size 100 left sizeable",
                 "header 3 \"Formula\" size 101 left sizeable", "tab 2 30-130 left owner-drawn",
                 "tab 3 130-231 left owner-drawn", "tab 4 231-281 right owner-drawn", "tab 5 281-301 center owner-drawn"}},
          {"5", {"tab 3 100-132 left owner-drawn", "tab 7 282-382 right owner-drawn", "header 3 \"Description\" size 32 left"}}}},
        {"header 2 widened by 40 keeps 140/61, then grows in proportion",
         {"splitter 387", "header 2 40"},
         {{"8", {"header 2 \"Description\" size 140 left sizeable", "header 3 \"Formula\" size 61 left sizeable",
                 "tab 3 170-231 left owner-drawn"}}}},
        {"the list widened after the header drag: 140*251/201 truncates to 174",
         {"splitter 387", "header 2 40", "splitter 337"},
         {{"8", {"8 multilist (344,135,351,165) rowHeight 18 scroll 1 rows 0",
                 "header 2 \"Description\" size 174 left sizeable", "header 3 \"Formula\" size 77 left sizeable"}}}},
        {"header 2 dragged until the formula would fall under 30, then rescaled",
         {"splitter 387", "header 2 100"},
         {{"8", {"header 2 \"Description\" size 171 left sizeable", "header 3 \"Formula\" size 30 left sizeable"}}}},
        {"header 3 narrowed below 30 is held at 30, then both rescale to fill 201",
         {"splitter 387", "header 3 -90"},
         {{"8", {"header 2 \"Description\" size 154 left sizeable", "header 3 \"Formula\" size 47 left sizeable"}}}},
        {"a 150-pixel quantities list: 25/25 are raised to 30/30",
         {"splitter 538"},
         {{"8", {"8 multilist (545,135,150,165) rowHeight 18 scroll 1 rows 0",
                 "header 2 \"Description\" size 30 left sizeable", "header 3 \"Formula\" size 30 left sizeable",
                 "tab 5 140-160 center owner-drawn"}}}},
        {"items list 200 wide (x 205) is ignored",
         {"splitter 205"},
         {{"", {"5 singlelist (5,110,500,190) rowHeight 36 scroll 1 rows 3", "6 splitter (506,110,5,190) draggable",
                "22 statictext (265,313,220,18) \"Total: 2359.50\" right"}},
          {"8", initialQties}}},
        {"items list 201 wide (x 206) is accepted",
         {"splitter 206"},
         {{"", {"5 singlelist (5,110,201,190) rowHeight 36 scroll 1 rows 3", "6 splitter (206,110,5,190) draggable",
                "7 statictext (213,115,182,18) \"Quantities\"", "22 statictext (-34,313,240,18) \"Total: 2359.50\" right",
                "20 iconbutton (331,310,28,28) disabled tooltip \"Zoom to linked Element\" icon 32556 \"Zoom\""}},
          {"8", {"8 multilist (213,135,482,165) rowHeight 18 scroll 1 rows 0"}}}},
        {"no width left for the quantities list (x 688) is ignored; one pixel (x 687) is kept",
         {"splitter 688"},
         {{"", {"6 splitter (506,110,5,190) draggable"}}, {"8", initialQties}}},
        {"a one-pixel quantities list",
         {"splitter 687"},
         {{"", {"6 splitter (687,110,5,190) draggable"}},
          {"8", {"8 multilist (694,135,1,165) rowHeight 18 scroll 1 rows 0",
                 "header 2 \"Description\" size 30 left sizeable", "header 3 \"Formula\" size 30 left sizeable"}}}},
        {"resize by (+50, +20)",
         {"resize 50 20"},
         {{"", {"palette \"Calvora\" 750x370 visible grow", "1 statictext (5,5,150,18) \"Category:\"",
                "3 statictext (5,50,740,50) \"Digging and filling\"", "4 separator (5,104,730,0)",
                "5 singlelist (5,110,550,210) rowHeight 36 scroll 1 rows 3", "6 splitter (556,110,5,210) draggable",
                "7 statictext (563,115,182,18) \"Quantities\"",
                "9 iconbutton (405,22,28,28) tooltip \"Add New Category\" icon 32550 \"Add\"",
                "12 iconbutton (495,22,28,28) tooltip \"Reorder Categories\" icon 32553 \"Reorder\"",
                "13 iconbutton (5,330,28,28) tooltip \"Add New Item\" icon 32550 \"Add\"",
                "21 iconbutton (95,330,28,28) disabled tooltip \"Clone Item\" icon 32554 \"Clone\"",
                "16 iconbutton (560,330,28,28) disabled tooltip \"Add Qty Item\" icon 32550 \"Add\"",
                "20 iconbutton (680,330,28,28) disabled tooltip \"Zoom to linked Element\" icon 32556 \"Zoom\"",
                "22 statictext (315,333,220,18) \"Total: 2359.50\" right"}},
          {"5", {"tab 3 100-300 left owner-drawn", "tab 7 450-550 right owner-drawn"}},
          {"8", {"8 multilist (563,135,182,185) rowHeight 18 scroll 1 rows 0", "header 2 \"Description\" size 41 left sizeable"}}}},
    });
}

// ---- rows, drawing, re-check -----------------------------------------------------------------

// The status square of a 20 x 18 cell: 6 x 6 around (10, 9), a gradient of one colour.
std::string Square(const std::string& colour)
{
    return "polygon 7,6 13,6 13,12 7,12 7,6 linear " + colour + "->" + colour + " 10,6->10,12";
}
const std::string Orange = "#E6821EFF", Green = "#3CB43CFF", Red = "#D23232FF";

TEST_F(MainPanelScenario, RowsPopUpAndTotalLine)
{
    Run({
        {"pop-up in id order whatever the sort orders; items of the first category",
         {},
         {{"", {"2 popup (5,23,390,20) selected 1", "entry 1 \"A1 Earthworks\" value 1 *", "entry 2 \"B2 Concrete\" value 2",
                "entry 3 \" Masonry\" value 3", "10 iconbutton (435,22,28,28) tooltip \"Edit Category\" icon 32551 \"Edit\"",
                "14 iconbutton (35,310,28,28) disabled tooltip \"Edit Item\" icon 32551 \"Edit\""}},
          {"5", {"row 1 value 1 | \"1\" | \"E-01\" | \"Excavation\" | \"m3\" | \"111.50\" | \"10.00\" | \"1115.00\"",
                 "row 3 value 3 | \"3\" | \"E-03\" | \"Transport\" | \"m3\" | \"1.00\" | \"1234.50\" | \"1234.50\"",
                 "!selected"}},
          {"5 row 1", {"fill 0,0-30,36 #FFFFFFFF", "text 2,2 26x32 \"1\" Arial 12 plain align 0 #000000FF",
                       "line 0,35-30,35 #D2D2D2FF"}},
          {"5 row 2", {"fill 0,0-70,36 #F5F5F5FF", "text 2,2 66x32 \"E-02\" Arial 12 plain align 0 #000000FF"}}}},
        {"an item selected: its quantities by sort order, the item and quantity buttons",
         {"items 1"},
         {{"8", {"row 1 value 2 | \"1\" | \"Outdated\" | \"Volume\" | \"99.00\" | \"\"",
                 "row 2 value 1 | \"2\" | \"Wall W-1\" | \"Volume\" | \"2.50\" | \"\"",
                 "row 3 value 3 | \"3\" | \"Gone\" | \"Volume\" | \"1.00\" | \"\"",
                 "row 4 value 4 | \"4\" | \"Fixed\" | \"2*3\" | \"6.00\" | \"\"",
                 "row 5 value 5 | \"5\" | \"Third\" | \"Volume\" | \"3.00\" | \"\""}},
          {"8 row 1", {"fill 0,0-50,18 #FFFFFFFF", "text 2,2 46x14 \"99.00\" Arial 12 plain align 1 #000000FF",
                       "fill 0,0-20,18 #FFFFFFFF", "line 0,17-20,17 #D2D2D2FF", "!polygon"}},
          {"8 row 2", {"fill 0,0-41,18 #F5F5F5FF", "text 2,2 37x14 \"Wall W-1\" Arial 12 plain align 0 #000000FF"}},
          {"5 row 1", {"fill 0,0-30,36 #3366CCFF", "text 2,2 26x32 \"1\" Arial 12 plain align 0 #FFFFFFFF"}},
          {"", {"14 iconbutton (35,310,28,28) tooltip \"Edit Item\" icon 32551 \"Edit\"",
                "16 iconbutton (510,310,28,28) tooltip \"Add Qty Item\" icon 32550 \"Add\"",
                "17 iconbutton (540,310,28,28) disabled tooltip \"Edit Qty\" icon 32551 \"Edit\""}},
          {"timers", {"1"}}}},
        {"quantity rows selected: the quantity buttons, the selection colour kept",
         {"items 1", "qties 2 4"},
         {{"", {"17 iconbutton (540,310,28,28) tooltip \"Edit Qty\" icon 32551 \"Edit\"",
                "20 iconbutton (630,310,28,28) tooltip \"Zoom to linked Element\" icon 32556 \"Zoom\""}},
          {"8 row 2", {"fill 0,0-30,18 #3366CCFF", "text 2,2 26x14 \"2\" Arial 12 plain align 0 #FFFFFFFF"}},
          {"8 row 4", {"fill 0,0-30,18 #3366CCFF"}}}},
        {"an empty category: no rows, empty total line and description",
         {"items 1", "choose 3"},
         {{"", {"3 statictext (5,50,690,50)", "22 statictext (265,313,220,18) right",
                "5 singlelist (5,110,500,190) focus rowHeight 36 scroll 1 rows 0",
                "8 multilist (513,135,182,165) rowHeight 18 scroll 1 rows 0"}},
          {"timers", {"0"}}}},
        {"one item of total 0 still shows the total line",
         {"choose 2"},
         {{"", {"22 statictext (265,313,220,18) \"Total: 0.00\" right"}},
          {"5", {"row 1 value 4 | \"1\" | \"C-01\" | \"Footing\" | \"m3\" | \"0.00\" | \"100.00\" | \"0.00\""}}}},
    });
}

TEST_F(MainPanelScenario, RecheckOneQuantityPerTick)
{
    Run({
        {"first tick: the first row's square", {"items 1", "ticks 1"},
         {{"8 row 1", {Square(Orange)}}, {"8 row 2", {"!polygon"}}, {"timers", {"1"}}}},
        {"five ticks: every square, the unlinked one without; the timer still runs",
         {"items 1", "ticks 5"},
         {{"8 row 1", {Square(Orange)}}, {"8 row 2", {Square(Green)}}, {"8 row 3", {Square(Red)}},
          {"8 row 4", {"!polygon"}}, {"8 row 5", {Square(Green)}}, {"timers", {"1"}}}},
        {"the sixth tick stops the timer", {"items 1", "ticks 6"}, {{"timers", {"0"}}, {"8 row 5", {Square(Green)}}}},
        {"another item midway restarts from its first quantity",
         {"items 1", "ticks 2", "items 2", "items 1", "ticks 1"},
         {{"8 row 1", {Square(Orange)}}, {"8 row 2", {"!polygon"}}, {"timers", {"1"}}}},
        {"an item of one unlinked quantity: one tick computes it, the next stops",
         {"items 1", "ticks 2", "items 2", "ticks 2"},
         {{"8 row 1", {"!polygon"}}, {"timers", {"0"}}}},
        {"no item selected: no timer", {"items 1", "items"}, {{"timers", {"0"}}, {"8", {"!row "}}}},
    });
}

TEST_F(MainPanelScenario, QuantitiesOfSelectedElementsAreHighlighted)
{
    const std::string linked = "fill 0,0-30,18 #FFF0B4FF";
    Run({
        {"a section element cut from W2 marks the quantity of W2",
         {"items 1", "model SE"},
         {{"8 row 1", {linked, "fill 0,0-20,18 #FFF0B4FF"}}, {"8 row 2", {"fill 0,0-30,18 #F5F5F5FF"}},
          {"8 row 3", {"fill 0,0-30,18 #FFFFFFFF"}}}},
        {"two walls: both rows, even or odd; the rest keep their shading",
         {"items 1", "model W1 W3"},
         {{"8 row 2", {linked}}, {"8 row 5", {linked}}, {"8 row 1", {"fill 0,0-30,18 #FFFFFFFF"}},
          {"8 row 4", {"fill 0,0-30,18 #F5F5F5FF"}}}},
        {"a selected row keeps the selection colour",
         {"items 1", "qties 2", "model W1"},
         {{"8 row 2", {"fill 0,0-30,18 #3366CCFF", "!#FFF0B4FF"}}}},
        {"the selection emptied: no highlight", {"items 1", "model W2", "model"}, {{"8", {"!#FFF0B4FF"}}}},
    });
}

TEST_F(MainPanelScenario, AmountsFollowACommaLocale)
{
    UserLocale comma("de_DE.UTF-8");
    ASSERT_TRUE(comma.ok);
    Run({{"rows, quantities and the total line with a decimal comma",
          {"items 1"},
          {{"", {"22 statictext (265,313,220,18) \"Total: 2359,50\" right"}},
           {"5", {"row 3 value 3 | \"3\" | \"E-03\" | \"Transport\" | \"m3\" | \"1,00\" | \"1234,50\" | \"1234,50\""}},
           {"8", {"row 1 value 2 | \"1\" | \"Outdated\" | \"Volume\" | \"99,00\" | \"\"",
                  "row 2 value 1 | \"2\" | \"Wall W-1\" | \"Volume\" | \"2,50\" | \"\""}}}}});
}

// ---- reorder and keys ------------------------------------------------------------------------

TEST_F(MainPanelScenario, RowDragWritesSortOrders)
{
    Run({
        {"item row 3 dragged to the top",
         {"drag items 3 1"},
         {{"5", {"row 1 value 3 | \"1\" | \"E-03\" | \"Transport\" | \"m3\" | \"1.00\" | \"1234.50\" | \"1234.50\"",
                 "row 2 value 1 | \"2\" | \"E-01\" | \"Excavation\" | \"m3\" | \"111.50\" | \"10.00\" | \"1115.00\"",
                 "row 3 value 2 | \"3\" | \"E-02\" | \"Backfill\" | \"m3\" | \"4.00\" | \"2.50\" | \"10.00\""}},
          {"", {"22 statictext (265,313,220,18) \"Total: 2359.50\" right"}},
          {"stored items 1", {"1 E-03", "2 E-01", "3 E-02"}}}},
        {"quantity row 5 dragged to the top survives selecting the item again",
         {"items 1", "drag qties 5 1", "items 2", "items 1"},
         {{"8", {"row 1 value 5 | \"1\" | \"Third\" | \"Volume\" | \"3.00\" | \"\"",
                 "row 2 value 2 | \"2\" | \"Outdated\" | \"Volume\" | \"99.00\" | \"\"",
                 "row 5 value 4 | \"5\" | \"Fixed\" | \"2*3\" | \"6.00\" | \"\""}},
          {"stored qties 1", {"1 Third", "2 Outdated", "3 Wall #ID", "4 Gone", "5 Fixed"}}}},
    });
}

TEST_F(MainPanelScenario, DeleteKeyFollowsTheFocus)
{
    const std::string askItem =
        "alert warning \"Delete Item\": \"Are you sure you want to delete this item?\" / \"\" [\"No\", \"Yes\"] -> 1";
    const std::string askQties = "alert warning \"Delete Qty\": \"Are you sure you want to delete selected "
                                 "quantities?\" / \"\" [\"No\", \"Yes\"] -> 1";
    Run({
        {"items list focused: delete the item (answered No)", {"items 1", "focus items", "key delete"},
         {{"alerts", {askItem, "!Delete Qty"}}, {"5", {"row 3 value 3 | \"3\" | \"E-03\" | \"Transport\" | \"m3\" | \"1.00\" | \"1234.50\" | \"1234.50\""}}}},
        {"quantities list focused: delete the selected quantities", {"items 1", "qties 1", "focus qties", "key delete"},
         {{"alerts", {askQties, "!Delete Item"}}}},
        {"pop-up focused: nothing", {"items 1", "qties 1", "focus popup", "key delete"}, {{"alerts", {"!alert"}}}},
    });
}

}  // namespace
