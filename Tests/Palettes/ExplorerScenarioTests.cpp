// The Element Links Explorer in the stand-in host with the real add-on, on the sample estimate:
// W-05 feeds items 01.02 (id 4) and 03.01 (id 8, by two quantities); W-01 feeds 01.01 (id 3) and
// 03.01; W-06 feeds nothing.
#include "ScenarioSupport.hpp"

namespace {
using namespace Scenario;

const std::string Show = "\nshow \"Element Links Explorer\"", Enabled = "=2 button \"Goto Item\"";
const std::string W05Rows = " rows 2\nrow 1 value 4 | \"01\" | \"Masonry\" | \"01.02\" | \"First floor composite wall\"\n"
                            "row 2 value 8 | \"03\" | \"Finishes\" | \"03.01\" | \"Wall plaster, both faces\"\n" + Enabled;
const std::string Empty = " rows 0\n=2 button disabled \"Goto Item\"";
std::string Selected(const std::string& guids) { return "select " + guids + Show; }

class Explorer : public SampleSession {};

TEST_F(Explorer, ListsTheItemsOfTheOneSelectedElement)
{
    plain = true;
    Play({
        {"open $DIR/sample.json\nmenu \"Element Links Explorer\"\nshow menus" + Show, "1. Element Links Explorer [checked]\n" + Empty},
        {Selected(W05), W05Rows},
        // A section element stands for the wall it was cut from.
        {Selected(W05Section), W05Rows},
        // A selection the host fails to give shows an empty list.
        {"fail HostGetSelection\nselect " + std::string(W05) + "\nunfail" + Show, Empty},
        {Selected("none"), Empty},
        {Selected(W06), Empty},
        {Selected(std::string(W01) + " " + W05 + " " + Z01),
         " rows 1\n=row 1 value 0 disabled | \"Multiple elements selected. Please select exactly one element.\" | \"\" | "
         "\"\" | \"\"\n=2 button disabled \"Goto Item\""},
        {Selected(W01), "row 1 value 3 | \"01\" | \"Masonry\" | \"01.01\" | \"Ground floor walls, 300 mm\"\n"
                        "row 2 value 8 | \"03\" | \"Finishes\" | \"03.01\" | \"Wall plaster, both faces\"\n" + Enabled},
        // Enabled with no row selected, the button does nothing then; afterwards it follows the selection.
        {"click \"Element Links Explorer\" \"Goto Item\"\nshow panels", "!\"Calvora\""},
        {"select-rows \"Element Links Explorer\" ItemsList 1" + Show, Enabled},
        {"select-rows \"Element Links Explorer\" ItemsList none" + Show, "=2 button disabled \"Goto Item\""},
        {"menu \"Element Links Explorer\"\nshow menus\nshow panels", "1. Element Links Explorer  --\n\"Element Links Explorer\" hidden"},
        // Hidden, it does not follow the selection.
        {Selected(W06), " rows 2\nrow 1 value 3 | \"01\" | \"Masonry\" | \"01.01\""},
    });
}

// The list grows with the palette, its two text columns share the change (a list 300 wide: 100
// each), the button keeps to the corner.
TEST_F(Explorer, LayoutFollowsResize)
{
    Play({{"menu \"Element Links Explorer\"" + Show,
           "=palette \"Element Links Explorer\" 450x150 visible grow\n=1 singlelist (5,5,440,108) rowHeight 18 scroll 1 rows 0\n"
           "=header 1 \"Cat. No.\" size 50 left\n=header 2 \"Category\" size 170 left\n=header 3 \"Item No.\" size 50 left\n"
           "=header 4 \"Description\" size 170 left\n=tab 1 0-50 left\n=tab 2 50-220 left\n=tab 3 220-270 left\n"
           "=tab 4 270-440 left\n=2 button (390,118,55,26) disabled \"Goto Item\""}});
    for (const auto& [by, size, layout] :
         {std::tuple{"50 20", "500x170", "(5,5,490,128) (440,138,55,26)\n50 195 50 195\n0-50 50-245 245-295 295-490\n"},
          std::tuple{"0 0", "500x170", "(5,5,490,128) (440,138,55,26)\n50 195 50 195\n0-50 50-245 245-295 295-490\n"},
          std::tuple{"-190 -20", "310x150", "(5,5,300,108) (250,118,55,26)\n50 100 50 100\n0-50 50-150 150-200 200-300\n"}}) {
        Run(std::string("resize \"Element Links Explorer\" ") + by);
        const std::string view = DG::User::Describe(DG::User::FindPanel("Element Links Explorer"));
        EXPECT_TRUE(Shows(view, std::string("=palette \"Element Links Explorer\" ") + size + " visible grow")) << view;
        EXPECT_EQ(Scope(view, "rects 1 2") + Scope(view, "headers 1") + Scope(view, "tabs 1"), layout) << by;
    }
}

TEST_F(Explorer, GotoShowsTheMainPaletteWithTheItemSelected)
{
    plain = true;
    Play({
        {"open $DIR/sample.json\nselect " + std::string(W05) + "\nmenu \"Element Links Explorer\"\nshow panels", "!\"Calvora\""},
        {"select-rows \"Element Links Explorer\" ItemsList 2\nclick \"Element Links Explorer\" \"Goto Item\"\nshow panels\n"
         "show Calvora\nshow menus",
         "palette 32401 \"Calvora\" visible\n=2 popup selected 4\n=entry 4 \"03 Finishes\" value 4 *\n"
         "=3 statictext \"Plaster and floor finishes\"\n=row 1 value 8 selected | \"1\" | \"03.01\" | \"Wall plaster, both faces\" | "
         "\"m2\" | \"99.60\" | \"12.50\" | \"1245.00\"\n rows 3\n=row 1 value 13 | \"1\" | \"Wall W-05, both faces\" | \"Area*2\" | "
         "\"36.00\" | \"\"\n1. Show Calvora Palette [checked]\n1. Element Links Explorer [checked]"},
        // A double-click goes the same way, here to another category.
        {"double-click \"Element Links Explorer\" ItemsList 1\nshow Calvora",
         "=entry 2 \"01 Masonry\" value 2 *\n=row 2 value 4 selected | \"2\" | \"01.02\" | \"First floor composite wall\" | "
         "\"m3\" | \"7.74\" | \"185.00\" | \"1431.90\""},
        // Item 01.01 goes while the Explorer still lists it; going to it shows the main palette as it was.
        {Selected(W01) + "\nselect-rows Calvora ItemsList 1\nclick Calvora \"Delete Item\"\nanswer Yes" + Show,
         "row 1 value 3 | \"01\" | \"Masonry\" | \"01.01\""},
        {"choose Calvora CategoryPopUp \"03 Finishes\"\nselect-rows Calvora ItemsList 2\nmenu \"Show Calvora Palette\"\nshow panels",
         "\"Calvora\" hidden"},
        {"select-rows \"Element Links Explorer\" ItemsList 1\nclick \"Element Links Explorer\" \"Goto Item\"\nshow panels\n"
         "show Calvora\nshow menus",
         "\"Calvora\" visible\n=entry 4 \"03 Finishes\" value 4 *\nrow 2 value 9 selected | \"2\" | \"03.02\" | \"Ceramic floor tiles\"\n"
         "1. Show Calvora Palette [checked]"},
        // Rows follow the categories' sort order, not their ids: 03 sorted first.
        {"click Calvora \"Reorder Categories\"\ndrag-row top CategoriesList 4 1\nclick top OkButton\n" + Selected(W05),
         " rows 2\nrow 1 value 8 | \"03\" | \"Finishes\" | \"03.01\" | \"Wall plaster, both faces\"\n"
         "row 2 value 4 | \"01\" | \"Masonry\" | \"01.02\" | \"First floor composite wall\"\n" + Enabled},
    });
}

TEST_F(Explorer, NewOpenCloseAndShowingAgainNeverKeepThePreviousProjectsItems)
{
    plain = true;
    Host::Json withoutEstimate = sample, selected = sample;
    withoutEstimate["moduleData"] = Host::Json::object();
    withoutEstimate["model"]["selection"] = selected["model"]["selection"] = Host::Json::array({W05});
    const std::string open = "open " + WriteProject("selected.json", selected) + Show;
    Play({
        {"open $DIR/sample.json\nselect " + std::string(W05) + "\nmenu \"Element Links Explorer\"" + Show, " rows 2"},
        {"new" + Show, Empty},
        {open, W05Rows},
        {"open " + WriteProject("empty.json", withoutEstimate) + Show, Empty},
        {open, " rows 2"},
        {"close" + Show, Empty},
        {open, " rows 2"},
        // Hidden by the host over a New, it lists the new project's (empty) estimate when shown again.
        {std::string("palette ") + ExplorerRef + " hide-begin\nnew\npalette " + ExplorerRef + " hide-end\nshow panels" + Show,
         "\"Element Links Explorer\" visible\n" + Empty},
    });
}

// The README's main command: the sample script in the host program, to its end.
TEST(SampleScript, ShowsBothPalettesForTheSelectedWall)
{
    const std::string out = TempDir() + "/out.txt";
    ASSERT_EQ(std::system(("cd '" CALVORA_SAMPLES_DIR "' && '" CALVORA_HOST_EXE "' --script sample.script > '" + out +
                           "' 2>&1").c_str()), 0) << ReadFile(out);
    EXPECT_TRUE(Shows(Plain(ReadFile(out)), "palette \"Element Links Explorer\"\n" + W05Rows +
                                                "\npalette \"Calvora\"\n=entry 4 \"03 Finishes\" value 4 *\n"
                                                "row 1 value 8 selected | \"1\" | \"03.01\" | \"Wall plaster, both faces\"\n"
                                                "=22 statictext \"Total: 4216.22\" right\n"
                                                "1. Show Calvora Palette [checked]\n1. Element Links Explorer [checked]"));
}

}  // namespace
