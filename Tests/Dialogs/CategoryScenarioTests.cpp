// Categories through the main palette and the category and sort dialogs.
#include "EditorTestSupport.hpp"

namespace {

using namespace EditorTest;

const char* const Categories = "SELECT id, code, title, descript, sort_order FROM categories ORDER BY id";
const char* const Ask = R"(alert warning "Delete Category": "Are you sure you want to delete this category?" / "" ["No", "Yes"])";
const char* const NoTitle = R"(alert information "Edit Category": "Please enter category title" / "" ["OK"] -> 1)";

// Adds a category through the editor: code, title, description.
std::string Add(const std::string& code, const std::string& title, const std::string& descript = "")
{
    return "click Calvora \"Add New Category\"\ntype top 4 \"" + code + "\"\ntype top 6 \"" + title +
           "\"\ntype top 8 \"" + descript + "\"\nclick top 1\n";
}

TEST_F(EditorHost, CategoriesAreAddedEditedDeletedAndReordered)
{
    RunScenarios({
        {"a fresh project offers its one category", "", "show Calvora\n",
         {R"(2 popup (5,23,390,20) selected 1)", R"(entry 1 " Untitled Category" value 1 *)",
          R"(3 statictext (5,50,690,50))", R"(5 singlelist (5,110,500,190) rowHeight 36 scroll 1 rows 0)",
          R"(10 iconbutton (435,22,28,28) tooltip "Edit Category" icon 32551 "Edit")",
          R"(11 iconbutton (465,22,28,28) tooltip "Delete Category" icon 32552 "Delete")",
          R"(13 iconbutton (5,310,28,28) tooltip "Add New Item" icon 32550 "Add")",
          R"(14 iconbutton (35,310,28,28) disabled tooltip "Edit Item" icon 32551 "Edit")",
          R"(22 statictext (265,313,220,18) right)"},
         {}, 0, Categories, {"1||Untitled Category||1"}},

        {"an added category is selected with its description", "", Add("01", "Earthworks", "Digging") + "show Calvora\n",
         {R"(entry 1 " Untitled Category" value 1)", R"(entry 2 "01 Earthworks" value 2 *)",
          R"(3 statictext (5,50,690,50) "Digging")"},
         {}, 0, Categories, {"1||Untitled Category||1", "2|01|Earthworks|Digging|2"}},

        {"the title is required on OK only; one blank will do",
         "",
         "click Calvora \"Add New Category\"\nclick top 1\nanswer OK\nclick top 2\n"
         "click Calvora \"Add New Category\"\ntype top 6 \" \"\nclick top 1\nshow Calvora\n",
         {R"(entry 2 "  " value 2 *)"},
         {NoTitle}, 0, "SELECT title FROM categories WHERE id = 2", {" "}},

        {"the editor opens on the category and changes only its texts", "",
         Add("01", "Earthworks", "Digging") + "click Calvora \"Edit Category\"\nshow top\ntype top 6 \"Groundworks\"\n"
                                           "type top 4 \"\"\nclick top 1\nshow Calvora\n",
         {R"(4 textedit (5,20,290,20) "01" caret 2 limit 50)", R"(6 textedit (5,60,290,20) "Earthworks" caret 10 limit 200)",
          R"(8 multilineedit (5,105,290,85) "Digging" caret 7)", R"(entry 2 " Groundworks" value 2 *)",
          R"(3 statictext (5,50,690,50) "Digging")"},
         {}, 0, Categories, {"1||Untitled Category||1", "2||Groundworks|Digging|2"}},

        {"No keeps the category", "", Add("01", "Earthworks") + "click Calvora \"Delete Category\"\nanswer No\n",
         {}, {std::string(Ask) + " -> 1"}, 0, Categories, {"1||Untitled Category||1", "2|01|Earthworks||2"}},

        {"the last category deleted leaves a new untitled one", "",
         "click Calvora \"Delete Category\"\nanswer Yes\nshow Calvora\n",
         {R"(entry 1 " Untitled Category" value 2 *)", "!entry 2"},
         {std::string(Ask) + " -> 2"}, 0, Categories, {"2||Untitled Category||1"}},

        // The edit after a delete keeps the gap closed: B stays first, C second.
        {"an edit after a delete keeps the stored sort order", "",
         Add("A", "Alpha") + Add("B", "Beta") + Add("C", "Gamma") +
             "choose Calvora 2 1\nclick Calvora \"Delete Category\"\nanswer Yes\n"
             "choose Calvora 2 \"A Alpha\"\nclick Calvora \"Delete Category\"\nanswer Yes\n"
             "choose Calvora 2 \"B Beta\"\nclick Calvora \"Edit Category\"\ntype top 6 \"Beta2\"\nclick top 1\n",
         {}, {std::string(Ask) + " -> 2", std::string(Ask) + " -> 2"}, 0,
         "SELECT code, title, sort_order FROM categories ORDER BY sort_order", {"B|Beta2|1", "C|Gamma|2"}},

        {"a reorder keeps the selected category and lists by the new order", "",
         Add("A", "Alpha") + Add("B", "Beta") +
             "click Calvora \"Reorder Categories\"\nshow top\ndrag-row top 3 3 1\nshow top\nclick top 1\nshow Calvora\n",
         {R"(row 1 value 1 | "1" | "" | "Untitled Category")", R"(row 3 value 3 | "3" | "B" | "Beta")",
          R"(row 1 value 3 | "1" | "B" | "Beta")", R"(row 2 value 1 | "2" | "" | "Untitled Category")",
          R"(row 3 value 2 | "3" | "A" | "Alpha")", R"(entry 1 "B Beta" value 3 *)",
          R"(entry 2 " Untitled Category" value 1)", R"(entry 3 "A Alpha" value 2)"},
         {}, 0, "SELECT id FROM categories ORDER BY sort_order", {"3", "1", "2"}},

        {"Cancel after drags changes no order", "",
         Add("A", "Alpha") + "click Calvora \"Reorder Categories\"\ndrag-row top 3 2 1\nclick top 2\nshow Calvora\n",
         {R"(entry 1 " Untitled Category" value 1)", R"(entry 2 "A Alpha" value 2 *)"},
         {}, 0, "SELECT id FROM categories ORDER BY sort_order", {"1", "2"}},

        {"the sort list fits its dialog at every size", "",
         "click Calvora \"Reorder Categories\"\nresize top 100 40\nshow top\nresize top -180 -100\nshow top\n"
         "resize top -200 -300\nshow top\nclick top 2\n",
         {R"(modal "Sort Categories" 400x400 visible grow)", R"(1 button (280,360,50,30) "Ok")",
          R"(2 button (340,360,50,30) "Cancel")", R"(3 singlelist (5,5,390,350) rowHeight 18 scroll 1 rows 1)",
          R"(header 3 "Title" size 270 left)", R"(tab 3 120-390 left)",
          R"(3 singlelist (5,5,210,250) rowHeight 18 scroll 1 rows 1)", R"(modal "Sort Categories" 20x0 visible grow)",
          R"(3 singlelist (5,5,10,0) rowHeight 18 scroll 1 rows 1)", R"(header 3 "Title" size 0 left)"},
         {}, 0, "", {}},
    });
}

}  // namespace

namespace {

using namespace EditorTest;

// Each editor grown by 40 (or 40 × 20): edits widen, the multi-line description grows, what lies
// below it moves down, the function pop-up follows the right edge.
TEST_F(EditorHost, TheEditorsFollowTheirResizeRules)
{
    RunScenarios({
        {"the category editor", "", "click Calvora \"Add New Category\"\nresize top 40 40\nshow top\nclick top 2\n",
         {R"(1 button (5,240,50,30) "Ok")", R"(2 button (60,240,50,30) "Cancel")", R"(3 statictext (5,5,50,15) "Code:")",
          R"(4 textedit (5,20,330,20) "" caret 0 limit 50)", R"(5 statictext (5,45,50,18) "Title:")",
          R"(6 textedit (5,60,330,20) "" caret 0 limit 200)", R"(7 statictext (5,85,50,18) "Descript:")",
          R"(8 multilineedit (5,105,330,125) "" caret 0)"},
         {}, 0, "", {}},
        {"the item editor", "", "click Calvora \"Add New Item\"\nresize top 40 20\nshow top\nclick top 2\n",
         {R"(1 button (5,360,50,30) "Ok")", R"(2 button (60,360,50,30) "Cancel")", R"(3 statictext (5,5,50,15) "Code:")",
          R"(4 textedit (5,20,330,20) "" caret 0 limit 36)", R"(5 statictext (5,45,50,15) "Descript:")",
          R"(6 multilineedit (5,65,330,110) "" caret 0)", R"(7 statictext (5,180,50,15) "Unit:")",
          R"(8 textedit (5,195,330,20) "" caret 0 limit 36)", R"(9 statictext (5,220,50,15) "Price:")",
          R"(10 realedit (5,235,330,20) value 0 range [0, 1000000])", R"(11 checkbox (5,268,90,15) [ ] "add first qty: ")",
          R"(12 textedit (100,265,235,20) "" caret 0 limit 200)", R"(13 statictext (5,312,150,15) "Calculated value:")",
          R"(14 textedit (5,330,330,20) disabled "" caret 0 limit 36)",
          R"(15 popupmenu (305,310,30,20) hidden icon 32557 "Functions" chosen 0)",
          R"#(16 checkbox (5,288,290,15) hidden [ ] "Create unlinked qty (ignore selected element)")#"},
         {}, 0, "", {}},
        {"the quantity editor",
         "INSERT INTO items (category_id, sort_order, code, descript, unit, price, qty, total) VALUES (1, 1, '', 'x', '', 0, 0, 0);",
         "select-rows Calvora 5 1\nclick Calvora \"Add Qty Item\"\nresize top 40 20\nshow top\nclick top 2\n",
         {R"(1 button (5,185,50,30) "Ok")", R"(2 button (60,185,50,30) "Cancel")", R"(4 textedit (5,20,330,20) "" caret 0 limit 250)",
          R"(5 statictext (5,45,50,18) "Formula:")", R"(6 textedit (5,65,330,20) "" caret 0 limit 250)",
          R"(8 textedit (5,110,330,20) disabled "" caret 0 limit 250)",
          R"(9 popupmenu (305,42,30,20) hidden icon 32557 "Functions" chosen 0)", R"(10 checkbox (5,158,290,18) hidden [ ])"},
         {}, 0, "", {}},
    });
}

}  // namespace
