// The formula help both editors share: the function menu per element type, appending a chosen name
// or a picked argument, the caret, the live value with its beeps, and the unlinked box.
#include "EditorTestSupport.hpp"

namespace {

using namespace EditorTest;

std::string NewItemFor(const std::string& guid)
{
    return "select " + guid + "\nclick Calvora \"Add New Item\"\ntype top 6 \"x\"\n";
}

TEST_F(EditorHost, TheFunctionMenuListsTheElementsNames)
{
    RunScenarios({
        {"a basic wall: its quantities, a separator, then Property()", "", NewItemFor(W1) + "show top\nclick top 2\n",
         {R"#(15 popupmenu (265,290,30,20) icon 32557 "Functions" chosen 0)#", R"#(entry 1 "Volume")#", R"#(entry 2 "CoreVolume")#",
          R"#(entry 3 "Area")#", R"#(entry 4 "Thickness")#", R"#(entry 5 "Perimeter")#", R"#(entry 6 "Length")#",
          R"#(entry 7 "RefLength")#", R"#(entry 8 "MaxHeight")#", R"#(entry 9 "MinHeight")#", "entry 10 ---",
          R"#(entry 11 "Property()")#", "!entry 12"},
         {}, 0, "", {}},
        {"a basic slab: no skin functions", "", NewItemFor(S1) + "show top\nclick top 2\n",
         {R"#(entry 1 "Volume")#", R"#(entry 2 "CoreVolume")#", R"#(entry 3 "Area")#", R"#(entry 4 "Perimeter")#",
          R"#(entry 5 "Thickness")#", R"#(entry 6 "CoreThickness")#", "entry 7 ---", R"#(entry 8 "Property()")#", "!entry 9"},
         {}, 0, "", {}},
        {"a line: its length and no separator", "", NewItemFor(L1) + "show top\nclick top 2\n",
         {R"#(entry 1 "Length")#", "!entry 2"}, {}, 0, "", {}},
    });
}

TEST_F(EditorHost, ChosenNamesAreAppendedAndEvaluatedLive)
{
    RunScenarios({
        {"a name goes at the end, the caret after it, and the value follows each change", "",
         NewItemFor(W1) + "type top 12 \"2*\"\nshow top\nchoose top 15 \"Volume\"\nshow top\nclick top 1\n",
         {R"#(14 textedit (5,310,290,20) disabled "Value to the right of operator is missing or invalid." caret 53 limit 36)#",
          R"#(11 checkbox (5,248,90,15) [x] "add first qty: ")#", R"#(12 textedit (100,245,195,20) focus "2*Volume" caret 8 limit 200)#",
          R"#(14 textedit (5,310,290,20) disabled "5.00" caret 4 limit 36)#"},
         {}, 1, "SELECT formula, value FROM qties", {"2*Volume|5.0"}},

        {"a picked property goes in quoted, the caret at the end", "",
         NewItemFor(W1) + "type top 12 \"Volume+\"\nchoose top 15 \"Property()\"\nshow top\nselect-rows top 3 1\nclick top 1\n"
                          "show top\nclick top 1\n",
         {R"#(modal "Select Property" 440x260 visible grow)#", R"#(12 textedit (100,245,195,20) focus "Volume+Property('U-Value')" caret 26 limit 200)#",
          R"#(14 textedit (5,310,290,20) disabled "2.75" caret 4 limit 36)#"},
         {}, 1, "SELECT formula, value FROM qties", {"Volume+Property('U-Value')|2.75"}},

        {"a picked name holding () puts the caret inside its last ()", "",
         NewItemFor(W1) + "choose top 15 \"Property()\"\nselect-rows top 3 2\nclick top 1\nshow top\nclick top 2\n",
         {R"#(12 textedit (100,245,195,20) focus "Property('Count()')" caret 16 limit 200)#"}, {}, -1, "", {}},

        {"a cancelled picker leaves the formula and the box alone", "",
         NewItemFor(W1) + "choose top 15 \"Property()\"\nclick top 2\nshow top\nclick top 1\n",
         {R"#(11 checkbox (5,248,90,15) [ ] "add first qty: ")#", R"#(12 textedit (100,245,195,20) "" caret 0 limit 200)#"},
         {}, 0, "SELECT count(*) FROM qties", {"0"}},

        {"the quantity editor appends alike; its unlinked box empties the menu and evaluates without the wall",
         "INSERT INTO items (category_id, sort_order, code, descript, unit, price, qty, total) VALUES (1, 1, 'W', 'Walls', 'm3', 1, 0, 0);",
         std::string("select-rows Calvora 5 1\nselect ") + W2 + "\nclick Calvora \"Add Qty Item\"\ntype top 6 \"10-\"\n"
             "choose top 9 \"Area\"\nshow top\ncheck top 10 on\nshow top\ncheck top 10 off\nclick top 1\n",
         {R"#(6 textedit (5,65,290,20) focus "10-Area" caret 7 limit 250)#", R"#(8 textedit (5,110,290,20) disabled "-1.00" caret 5 limit 250)#",
          R"#(8 textedit (5,110,290,20) disabled "Variable was not defined: Area." caret 31 limit 250)#",
          R"#(9 popupmenu (265,42,30,20) disabled icon 32557 "Functions" chosen 0)#", "!entry 1"},
         {}, 2, "SELECT guid, formula, value FROM qties", {std::string(W2) + "|10-Area|-1.0"}},
    });
}

}  // namespace
