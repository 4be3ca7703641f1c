// The main panel through the real libCalvora.so in the stand-in host: scripts of user actions and
// the scopes of the text view that follow (ScenarioSupport.hpp).
#include <algorithm>

#include "ScenarioSupport.hpp"

namespace {
using namespace Scenario;

// Categories by id 1 "A1 Earthworks", 2 "B2 Concrete", 3 "Masonry" (no code) with sort orders 1, 3, 2.
// Items 1-3 (E-01..E-03) in category 1, item 4 (C-01) in category 2. Item 1's quantities by id:
// q1 W1 up to date, q2 W2 out of date, q3 missing element, q4 unlinked, q5 W3 up to date; their
// sort orders put q2 first.
const std::string Estimate =
    "DELETE FROM categories; INSERT INTO categories (id, title, code, sort_order, descript, total) VALUES "
    "(1, 'Earthworks', 'A1', 1, 'Digging and filling', 2359.5), (2, 'Concrete', 'B2', 3, '', 0), "
    "(3, 'Masonry', '', 2, '', 0);"
    "INSERT INTO items (id, category_id, sort_order, code, descript, unit, price, qty, total) VALUES "
    "(1, 1, 1, 'E-01', 'Excavation', 'm3', 10, 111.5, 1115), (2, 1, 2, 'E-02', 'Backfill', 'm3', 2.5, 4, 10), "
    "(3, 1, 3, 'E-03', 'Transport', 'm3', 1234.5, 1, 1234.5), (4, 2, 1, 'C-01', 'Footing', 'm3', 100, 0, 0);"
    "INSERT INTO qties (id, item_id, guid, sort_order, descript, formula, value) VALUES "
    "(1, 1, '" + std::string(W1) + "', 2, 'Wall #ID', 'Volume', 2.5), (2, 1, '" + W2 + "', 1, 'Outdated', 'Volume', 99), "
    "(3, 1, 'B0000000-0000-4000-8000-0000000000FF', 3, 'Gone', 'Volume', 1), (4, 1, '', 4, 'Fixed', '2*3', 6), "
    "(5, 1, '" + W3 + "', 5, 'Third', 'Volume', 3), (6, 2, '', 1, 'Fill', '4', 4), (7, 3, '', 1, 'Trip', '1', 1);";

// What a scenario looks at: "@view SCOPE", "@timers", "show alerts" or "@flush SQL", and the lines
// expected there.
struct Look {
    std::string what, lines;
};
Case Panel(const std::string& name, const std::string& actions, const std::vector<Look>& looks)
{
    std::string script = "menu \"Show Calvora Palette\"\n" + actions + "\n", expect;
    for (const Look& l : looks) {
        const bool view = l.what.rfind("@", 0) != 0 && l.what.rfind("show", 0) != 0;
        script += (view ? "@view " + l.what : l.what) + "\n";
        expect += (view ? "=@view" + (l.what.empty() ? "" : " " + l.what) : "") + "\n" + l.lines + "\n";
    }
    return {name, Estimate, script, expect};
}

class MainPanel : public Session {};
Case Seeded(Case c, const std::string& more) { c.seed += more; return c; }

const std::string Item1 = "select-rows Calvora ItemsList 1", Item2 = "select-rows Calvora ItemsList 2";
std::string Splitter(int x) { return "drag-splitter Calvora Splitter " + std::to_string(x); }
std::string Header(int h, int by) { return "resize-header Calvora QtiesList " + std::to_string(h) + " " + std::to_string(by); }

// The quantities list is 182 wide at first (avail 82: halves 41/41). A splitter drag to x makes
// the items list x - 5 wide and the quantities list 700 + 5 - 12 - 5 - x; the total line then
// keeps its width plus 20 and ends at x.
TEST_F(MainPanel, LayoutFollowsSplitterHeadersAndResize)
{
    const Look initial = {"rects 3 5 6 7 8 22", "=(5,50,690,50) (5,110,500,190) (506,110,5,190) (513,115,182,18) "
                                                "(513,135,182,165) (265,313,220,18)"};
    const Look initialQties = {"headers 8", "=30 41 41 50 20"};
    RunCases(FixtureProject(), {
        Panel("first layout", "",
              {initial, initialQties, {"tabs 8", "=0-30 30-71 71-112 112-162 162-182"},
               {"headers 5", "=30 70 150 50 50 50 100"},
               {"tabs 5", "=0-30 30-100 100-250 250-300 300-350 350-400 400-500"},
               {"8", "=header 2 \"Description\" size 41 left sizeable\n=header 3 \"Formula\" size 41 left sizeable\n"
                     "=header 4 \"Value\" size 50 right\n=header 5 \"\" size 20 left\n=tab 4 112-162 right owner-drawn\n"
                     "=tab 5 162-182 center owner-drawn"},
               {"5", "=5 singlelist (5,110,500,190) rowHeight 36 scroll 1 rows 3\n=tab 4 250-300 center owner-drawn\n"
                     "=tab 7 400-500 right owner-drawn"}}),
        Panel("W = 301 scales 41/41 to 100/101", Splitter(387),
              {{"rects 5 6 7 8 16 22", "=(5,110,382,190) (387,110,5,190) (394,115,182,18) (394,135,301,165) "
                                       "(392,310,28,28) (147,313,240,18)"},
               {"headers 8", "=30 100 101 50 20"}, {"tabs 8", "=0-30 30-130 130-231 231-281 281-301"},
               {"tabs 5", "=0-30 30-100 100-132 132-182 182-232 232-282 282-382"}}),
        Panel("header 2 widened by 40 keeps 140/61", Splitter(387) + "\n" + Header(2, 40), {{"headers 8", "=30 140 61 50 20"}}),
        Panel("then the list widened: 140 * 251 / 201 truncates to 174", Splitter(387) + "\n" + Header(2, 40) + "\n" + Splitter(337),
              {{"rects 8", "=(344,135,351,165)"}, {"headers 8", "=30 174 77 50 20"}}),
        Panel("header 2 pushing the formula under 30: held, then rescaled", Splitter(387) + "\n" + Header(2, 100),
              {{"headers 8", "=30 171 30 50 20"}}),
        Panel("header 3 narrowed under 30: held, then both rescaled", Splitter(387) + "\n" + Header(3, -90),
              {{"headers 8", "=30 154 47 50 20"}}),
        Panel("a 150-pixel quantities list: 25/25 raised to 30/30", Splitter(538),
              {{"rects 8", "=(545,135,150,165)"}, {"tabs 8", "=0-30 30-60 60-90 90-140 140-160"}}),
        Panel("items list 200 wide (x 205) is ignored", Splitter(205), {initial, initialQties}),
        Panel("items list 201 wide (x 206) is accepted", Splitter(206),
              {{"rects 5 6 7 8 20 22", "=(5,110,201,190) (206,110,5,190) (213,115,182,18) (213,135,482,165) "
                                       "(331,310,28,28) (-34,313,240,18)"}}),
        Panel("no width left for the quantities list (x 688) is ignored", Splitter(688), {initial, initialQties}),
        Panel("one pixel (x 687) is kept", Splitter(687),
              {{"rects 6 8", "=(687,110,5,190) (694,135,1,165)"}, {"headers 8", "=30 30 30 50 20"}}),
        Panel("resize by (+50, +20)", "resize Calvora 50 20",
              {{"", "=palette \"Calvora\" 750x370 visible grow"}, initialQties,
               {"rects 1 2 3 4 5 6 7 8", "=(5,5,150,18) (5,23,390,20) (5,50,740,50) (5,104,730,0) (5,110,550,210) "
                                         "(556,110,5,210) (563,115,182,18) (563,135,182,185)"},
               {"rects 9 12 13 14 15 21 16 20 22", "=(405,22,28,28) (495,22,28,28) (5,330,28,28) (35,330,28,28) "
                                                   "(65,330,28,28) (95,330,28,28) (560,330,28,28) (680,330,28,28) "
                                                   "(315,333,220,18)"},
               {"tabs 5", "=0-30 30-100 100-300 300-350 350-400 400-450 450-550"}}),
    });
}

TEST_F(MainPanel, RowsPopUpTotalLineAndDraggedRows)
{
    plain = true;
    const std::string stored = "@flush SELECT sort_order || ' ' || ";
    RunCases(FixtureProject(), {
        Panel("pop-up in sort order, not id order; the first category's items", "",
              {{"2", "=2 popup selected 1\n=entry 1 \"A1 Earthworks\" value 1 *\n"
                     "=entry 2 \" Masonry\" value 3\n=entry 3 \"B2 Concrete\" value 2"},
               {"", "=3 statictext \"Digging and filling\"\n=10 iconbutton tooltip \"Edit Category\" icon 32551 \"Edit\"\n"
                    "=14 iconbutton disabled tooltip \"Edit Item\" icon 32551 \"Edit\"\n=22 statictext \"Total: 2359.50\" right"},
               {"5", "!selected\n=row 3 value 3 | \"3\" | \"E-03\" | \"Transport\" | \"m3\" | \"1.00\" | \"1234.50\" | \"1234.50\""},
               {"5 row 1", "=fill 0,0-30,36 #FFFFFFFF\n=text 2,2 26x32 \"1\" Arial 12 plain align 0 #000000FF\n"
                           "=line 0,35-30,35 #D2D2D2FF"},
               {"5 row 2", "=fill 0,0-70,36 #F5F5F5FF\n=text 2,2 66x32 \"E-02\" Arial 12 plain align 0 #000000FF"}}),
        Panel("an item selected: its quantities by sort order; item buttons on", Item1,
              {{"8", "=row 1 value 2 | \"1\" | \"Outdated\" | \"Volume\" | \"99.00\" | \"\"\n"
                     "=row 2 value 1 | \"2\" | \"Wall W-1\" | \"Volume\" | \"2.50\" | \"\"\n"
                     "=row 4 value 4 | \"4\" | \"Fixed\" | \"2*3\" | \"6.00\" | \"\""},
               {"8 row 1", "=fill 0,0-50,18 #FFFFFFFF\n=text 2,2 46x14 \"99.00\" Arial 12 plain align 1 #000000FF\n"
                           "=fill 0,0-20,18 #FFFFFFFF\n=line 0,17-20,17 #D2D2D2FF"},
               {"8 row 1", "!polygon"},
               {"8 row 2", "=fill 0,0-41,18 #F5F5F5FF\n=text 2,2 37x14 \"Wall W-1\" Arial 12 plain align 0 #000000FF"},
               {"5 row 1", "=fill 0,0-30,36 #3366CCFF\n=text 2,2 26x32 \"1\" Arial 12 plain align 0 #FFFFFFFF"},
               {"", "=17 iconbutton disabled tooltip \"Edit Qty\" icon 32551 \"Edit\"\n"
                    "=21 iconbutton tooltip \"Clone Item\" icon 32554 \"Clone\""}}),
        Panel("quantity rows selected: quantity buttons on", Item1 + "\nselect-rows Calvora QtiesList 2 4",
              {{"", "=20 iconbutton tooltip \"Zoom to linked Element\" icon 32556 \"Zoom\""}}),
        Seeded(Panel("sort orders 3, 1, 2 list ids 2, 3, 1; equal ones go by id", "",
                     {{"2", "=entry 1 \"B2 Concrete\" value 2 *\n=entry 2 \" Masonry\" value 3\n"
                            "=entry 3 \"A1 Earthworks\" value 1\n=entry 4 \"D4 Roofing\" value 4"},
                      {"5", "row 1 value 4 | \"1\" | \"C-01\" | \"Footing\"\n!row 2"}}),
               "UPDATE categories SET sort_order = 4 - sort_order WHERE id <> 3; INSERT INTO categories "
               "(id, title, code, sort_order, descript, total) VALUES (4, 'Roofing', 'D4', 3, '', 0);"),
        Panel("an empty category: no rows, empty description and total line", Item1 + "\nchoose Calvora CategoryPopUp 2",
              {{"", "=3 statictext\n!row \n=22 statictext right"}}),
        Panel("one item of total 0 still shows the total line", "choose Calvora CategoryPopUp 3",
              {{"", "=22 statictext \"Total: 0.00\" right"}}),
        Panel("item row 3 dragged to the top", "drag-row Calvora ItemsList 3 1",
              {{"5", "=row 1 value 3 | \"1\" | \"E-03\" | \"Transport\" | \"m3\" | \"1.00\" | \"1234.50\" | \"1234.50\"\n"
                     "=row 2 value 1 | \"2\" | \"E-01\" | \"Excavation\" | \"m3\" | \"111.50\" | \"10.00\" | \"1115.00\""},
               {"", "=22 statictext \"Total: 2359.50\" right"},
               {stored + "code FROM items WHERE category_id = 1 ORDER BY sort_order", "=1 E-03 ; 2 E-01 ; 3 E-02"}}),
        Panel("quantity row 5 dragged to the top, kept when the item is selected again",
              Item1 + "\ndrag-row Calvora QtiesList 5 1\n" + Item2 + "\n" + Item1,
              {{"8", "=row 1 value 5 | \"1\" | \"Third\" | \"Volume\" | \"3.00\" | \"\"\n"
                     "=row 2 value 2 | \"2\" | \"Outdated\" | \"Volume\" | \"99.00\" | \"\""},
               {stored + "descript FROM qties WHERE item_id = 1 ORDER BY sort_order",
                "=1 Third ; 2 Outdated ; 3 Wall #ID ; 4 Gone ; 5 Fixed"}}),
    });
}

// Each fill of a list reads the user's locale afresh: the amounts change with it between fills.
TEST_F(MainPanel, AmountsFollowTheUsersLocaleOfEachFill)
{
    plain = true;
    Start(FixtureProject(), Estimate.c_str());
    const std::string refill = "choose Calvora CategoryPopUp 2\nchoose Calvora CategoryPopUp 1\n" + Item1 + "\n@view\n";
    std::string amounts = "=row 3 value 3 | \"3\" | \"E-03\" | \"Transport\" | \"m3\" | \"1.00\" | \"1234.50\" | \"1234.50\"\n"
                          "=row 1 value 2 | \"1\" | \"Outdated\" | \"Volume\" | \"99.00\" | \"\"\n=22 statictext \"Total: 2359.50\" right";
    Play({{"menu \"Show Calvora Palette\"\n" + refill, amounts}});
    std::replace(amounts.begin(), amounts.end(), '.', ',');
    UserLocale german("de_DE.UTF-8");
    ASSERT_TRUE(german.ok);
    Play({{refill, amounts}});
}

// The status square of a 20 x 18 cell: 6 x 6 around (10, 9), a gradient of one colour.
std::string Square(const std::string& c)
{
    return "=polygon 7,6 13,6 13,12 7,12 7,6 linear " + c + "->" + c + " 10,6->10,12";
}
const std::string Orange = "#E6821EFF", Green = "#3CB43CFF", Red = "#D23232FF";

// A re-check of one quantity per tick marks its row's status; the rows of the selected elements are
// highlighted.
TEST_F(MainPanel, QuantityRowsShowTheirStatusAndTheSelectedElements)
{
    const std::string linked = "=fill 0,0-30,18 #FFF0B4FF", none = "!#FFF0B4FF";
    RunCases(FixtureProject(), {
        Panel("first tick: the first row's square", Item1 + "\ntick 1",
              {{"8 row 1", Square(Orange)}, {"8 row 2", "!polygon"}, {"@timers", "=timers 1"}}),
        Panel("five ticks: every square but the unlinked one's; the timer still runs", Item1 + "\ntick 5",
              {{"8 row 1", Square(Orange)}, {"8 row 2", Square(Green)}, {"8 row 3", Square(Red)},
               {"8 row 4", "!polygon"}, {"8 row 5", Square(Green)}, {"@timers", "=timers 1"}}),
        Panel("the sixth tick stops it", Item1 + "\ntick 6", {{"@timers", "=timers 0"}}),
        Panel("another item midway restarts from the first quantity", Item1 + "\ntick 2\n" + Item2 + "\n" + Item1 + "\ntick 1",
              {{"8 row 1", Square(Orange)}, {"8 row 2", "!polygon"}, {"@timers", "=timers 1"}}),
        Panel("one unlinked quantity: computed, then stopped", Item2 + "\ntick 2", {{"@timers", "=timers 0"}}),
        Panel("an empty category: no timer", Item1 + "\nchoose Calvora CategoryPopUp 2", {{"@timers", "=timers 0"}}),
        Panel("a section element cut from W2 marks W2's quantity", Item1 + "\nselect " + SE,
              {{"8 row 1", linked + "\n=fill 0,0-20,18 #FFF0B4FF"}, {"8 row 2", "=fill 0,0-30,18 #F5F5F5FF"},
               {"8 row 3", "=fill 0,0-30,18 #FFFFFFFF"}}),
        Panel("two walls: both rows, even or odd; the others keep their shading", Item1 + "\nselect " + W1 + " " + W3,
              {{"8 row 2", linked}, {"8 row 4", "=fill 0,0-30,18 #F5F5F5FF"}, {"8 row 5", linked}}),
        Panel("a selected row keeps the selection colour", Item1 + "\nselect-rows Calvora QtiesList 2\nselect " + W1,
              {{"8 row 2", "=fill 0,0-30,18 #3366CCFF\n" + none}}),
        Panel("the selection emptied: no highlight", Item1 + "\nselect " + W2 + "\nselect none", {{"8", none}}),
        Panel("an element the host cannot read is passed over",
              Item1 + "\nfail HostGetElement " + W1 + "\nselect " + W1 + " " + W3,
              {{"8 row 2", "=fill 0,0-30,18 #F5F5F5FF"}, {"8 row 5", linked}}),
        Panel("the selection cannot be read: no highlight", Item1 + "\nfail HostGetSelection\nselect " + W2, {{"8", none}}),
        Seeded(Panel("a stored guid text differing in letter case is not the selected one", Item1 + "\nselect " + W1 + " " + W3,
                     {{"8 row 2", linked}, {"8 row 5", "=fill 0,0-30,18 #FFFFFFFF"}}),
               "UPDATE qties SET guid = lower(guid) WHERE id = 5;"),
    });
}

}  // namespace
