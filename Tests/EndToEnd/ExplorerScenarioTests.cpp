// The Element Links Explorer in the stand-in host with the real add-on, on the sample estimate:
// W-05 feeds items 01.02 (id 4) and 03.01 (id 8, by two quantities); W-01 feeds 01.01 (id 3) and
// 03.01; W-06 feeds nothing.
#include "ScenarioSupport.hpp"

namespace {
using namespace Scenario;

const std::string Select = "select ";
const std::string ShowExplorer = "show \"Element Links Explorer\"";
const std::string W05Rows =
    "    row 1 value 4 | \"01\" | \"Masonry\" | \"01.02\" | \"First floor composite wall\"\n"
    "    row 2 value 8 | \"03\" | \"Finishes\" | \"03.01\" | \"Wall plaster, both faces\"\n"
    "  2 button (390,118,55,26) \"Goto Item\"";

class Explorer : public SampleSession {};
const std::string Empty = " rows 0\n  2 button (390,118,55,26) disabled \"Goto Item\"";

TEST_F(Explorer, ListsTheItemsOfTheOneSelectedElement)
{
    Play({
        {"open $DIR/sample.json\nmenu \"Element Links Explorer\"\n" + ShowExplorer,
         "palette \"Element Links Explorer\" 450x150 visible grow\n"
         "  1 singlelist (5,5,440,108) rowHeight 18 scroll 1 rows 0\n"
         "    header 1 \"Cat. No.\" size 50 left\n"
         "    header 2 \"Category\" size 170 left\n"
         "    header 3 \"Item No.\" size 50 left\n"
         "    header 4 \"Description\" size 170 left\n"
         "    tab 1 0-50 left\n    tab 2 50-220 left\n    tab 3 220-270 left\n    tab 4 270-440 left\n"
         "  2 button (390,118,55,26) disabled \"Goto Item\""},
        {"show menus", "1. Element Links Explorer [checked]"},
        {Select + W05 + "\n" + ShowExplorer, " rows 2\n" + W05Rows},
        // A section element stands for the wall it was cut from.
        {Select + W05Section + "\n" + ShowExplorer, " rows 2\n" + W05Rows},
        // A selection the host fails to give shows an empty list.
        {"fail HostGetSelection\n" + Select + W05 + "\nunfail\n" + ShowExplorer, Empty},
        {"select none\n" + ShowExplorer, Empty},
        {Select + W06 + "\n" + ShowExplorer, Empty},
        {Select + W01 + " " + W05 + " " + Z01 + "\n" + ShowExplorer,
         " rows 1\n"
         "    row 1 value 0 disabled | \"Multiple elements selected. Please select exactly one element.\" | \"\" | "
         "\"\" | \"\"\n"
         "  2 button (390,118,55,26) disabled \"Goto Item\""},
        {Select + W01 + "\n" + ShowExplorer,
         "    row 1 value 3 | \"01\" | \"Masonry\" | \"01.01\" | \"Ground floor walls, 300 mm\"\n"
         "    row 2 value 8 | \"03\" | \"Finishes\" | \"03.01\" | \"Wall plaster, both faces\"\n"
         "  2 button (390,118,55,26) \"Goto Item\""},
        // Enabled with no row selected, the button does nothing then; afterwards it follows the selection.
        {"click \"Element Links Explorer\" \"Goto Item\"\nshow panels", "!\"Calvora\""},
        {"select-rows \"Element Links Explorer\" ItemsList 1\n" + ShowExplorer, "  2 button (390,118,55,26) \"Goto Item\""},
        {"select-rows \"Element Links Explorer\" ItemsList none\n" + ShowExplorer,
         "  2 button (390,118,55,26) disabled \"Goto Item\""},
        // The list grows with the palette, its columns follow, the button keeps to the corner.
        {"resize \"Element Links Explorer\" 50 20\n" + ShowExplorer,
         "palette \"Element Links Explorer\" 500x170 visible grow\n"
         "  1 singlelist (5,5,490,128)\n"
         "    header 2 \"Category\" size 195 left\n"
         "    header 4 \"Description\" size 195 left\n"
         "    tab 1 0-50 left\n    tab 2 50-245 left\n    tab 3 245-295 left\n    tab 4 295-490 left\n"
         "  2 button (440,138,55,26)"},
        {"resize \"Element Links Explorer\" 0 0\n" + ShowExplorer, "  1 singlelist (5,5,490,128)\n    tab 4 295-490 left\n"
                                                                   "  2 button (440,138,55,26)"},
        // A list 300 wide: h = 100.
        {"resize \"Element Links Explorer\" -190 -20\n" + ShowExplorer,
         "  1 singlelist (5,5,300,108)\n"
         "    header 1 \"Cat. No.\" size 50 left\n    header 2 \"Category\" size 100 left\n"
         "    header 3 \"Item No.\" size 50 left\n    header 4 \"Description\" size 100 left\n"
         "    tab 1 0-50 left\n    tab 2 50-150 left\n    tab 3 150-200 left\n    tab 4 200-300 left\n"
         "  2 button (250,118,55,26)"},
        {"menu \"Element Links Explorer\"\nshow menus\nshow panels",
         "1. Element Links Explorer  --\n\"Element Links Explorer\" hidden"},
        // Hidden, it does not follow the selection.
        {Select + W06 + "\n" + ShowExplorer, " rows 2\n    row 1 value 3 | \"01\" | \"Masonry\" | \"01.01\""},
    });
}

TEST_F(Explorer, GotoMakesAndShowsTheMainPaletteWithTheItemSelected)
{
    Play({
        {"open $DIR/sample.json\n" + Select + W05 + "\nmenu \"Element Links Explorer\"\nshow panels", "!\"Calvora\""},
        {"select-rows \"Element Links Explorer\" ItemsList 2\nclick \"Element Links Explorer\" \"Goto Item\"\nshow panels",
         "palette 32401 \"Calvora\" visible"},
        {"show Calvora",
         "  2 popup (5,23,390,20) selected 4\n"
         "    entry 4 \"03 Finishes\" value 4 *\n"
         "  3 statictext (5,50,690,50) \"Plaster and floor finishes\"\n"
         "    row 1 value 8 selected | \"1\" | \"03.01\" | \"Wall plaster, both faces\" | \"m2\" | \"99.60\" | "
         "\"12.50\" | \"1245.00\"\n"
         " rows 3\n"
         "    row 1 value 13 | \"1\" | \"Wall W-05, both faces\" | \"Area*2\" | \"36.00\""},
        {"show menus", "1. Show Calvora Palette [checked]\n1. Element Links Explorer [checked]"},
        // A double-click goes the same way, here to another category.
        {"double-click \"Element Links Explorer\" ItemsList 1\nshow Calvora",
         "    entry 2 \"01 Masonry\" value 2 *\n"
         "    row 2 value 4 selected | \"2\" | \"01.02\" | \"First floor composite wall\" | \"m3\" | \"7.74\" | "
         "\"185.00\" | \"1431.90\""},
        // Rows follow the categories' sort order, not their ids: 03 sorted first.
        {"click Calvora \"Reorder Categories\"\ndrag-row top CategoriesList 4 1\nclick top OkButton\n" + Select + W05 + "\n" + ShowExplorer,
         " rows 2\n"
         "    row 1 value 8 | \"03\" | \"Finishes\" | \"03.01\" | \"Wall plaster, both faces\"\n"
         "    row 2 value 4 | \"01\" | \"Masonry\" | \"01.02\" | \"First floor composite wall\"\n"
         "  2 button (390,118,55,26) \"Goto Item\""},
    });
}

TEST_F(Explorer, GotoAMissingItemShowsTheMainPaletteUnchanged)
{
    Play({
        {"open $DIR/sample.json\n" + Select + W01 + "\nmenu \"Element Links Explorer\"\nmenu \"Show Calvora Palette\"", ""},
        // Item 01.01 goes while the Explorer still lists it.
        {"choose Calvora CategoryPopUp \"01 Masonry\"\nselect-rows Calvora ItemsList 1\nclick Calvora \"Delete Item\"\nanswer Yes\n" +
             ShowExplorer,
         "    row 1 value 3 | \"01\" | \"Masonry\" | \"01.01\""},
        {"choose Calvora CategoryPopUp \"03 Finishes\"\nselect-rows Calvora ItemsList 2\nmenu \"Show Calvora Palette\"\nshow panels",
         "\"Calvora\" hidden"},
        {"select-rows \"Element Links Explorer\" ItemsList 1\nclick \"Element Links Explorer\" \"Goto Item\"\nshow Calvora",
         "palette \"Calvora\" 700x350 visible\n"
         "    entry 4 \"03 Finishes\" value 4 *\n"
         "    row 2 value 9 selected | \"2\" | \"03.02\" | \"Ceramic floor tiles\""},
        {"show menus", "1. Show Calvora Palette [checked]"},
    });
}

TEST_F(Explorer, NewOpenCloseAndShowingAgainNeverKeepThePreviousProjectsItems)
{
    Host::Json withoutEstimate = sample;
    withoutEstimate["moduleData"] = Host::Json::object();
    withoutEstimate["model"]["selection"] = Host::Json::array({W05});
    const std::string emptyPath = WriteProject("empty.json", withoutEstimate);
    Host::Json selected = sample;
    selected["model"]["selection"] = Host::Json::array({W05});
    const std::string selectedPath = WriteProject("selected.json", selected);

    Play({
        {"open $DIR/sample.json\n" + Select + W05 + "\nmenu \"Element Links Explorer\"\n" + ShowExplorer, " rows 2"},
        {"new\n" + ShowExplorer, Empty},
        {"open " + selectedPath + "\n" + ShowExplorer, " rows 2\n" + W05Rows},
        {"open " + emptyPath + "\n" + ShowExplorer, Empty},
        {"open " + selectedPath + "\n" + ShowExplorer, " rows 2"},
        {"close\n" + ShowExplorer, Empty},
        {"open " + selectedPath + "\n" + ShowExplorer, " rows 2"},
        // Hidden by the host over a New, it lists the new project's (empty) estimate when shown again.
        {std::string("palette ") + ExplorerRef + " hide-begin\nnew\npalette " + ExplorerRef + " hide-end\n" + ShowExplorer,
         "palette \"Element Links Explorer\" 450x150 visible\n" + Empty},
    });
}

// The README's main command: the sample script in the host program, to its end.
TEST(SampleScript, ShowsBothPalettesForTheSelectedWall)
{
    const std::string out = TempDir() + "/out.txt";
    ASSERT_EQ(std::system(("cd '" CALVORA_SAMPLES_DIR "' && '" CALVORA_HOST_EXE "' --script sample.script > '" + out +
                           "' 2>&1").c_str()), 0) << ReadFile(out);
    EXPECT_TRUE(Shows(ReadFile(out),
                                "palette \"Element Links Explorer\" 450x150 visible grow\n" + W05Rows +
                                    "\npalette \"Calvora\" 700x350 visible grow\n"
                                    "    entry 4 \"03 Finishes\" value 4 *\n"
                                    "    row 1 value 8 selected | \"1\" | \"03.01\" | \"Wall plaster, both faces\"\n"
                                    "  22 statictext (265,313,220,18) \"Total: 4216.22\" right\n"
                                    "1. Show Calvora Palette [checked]\n1. Element Links Explorer [checked]"));
}

}  // namespace
