// Items through the main palette and the item editor, with its first quantities.
#include "EditorTestSupport.hpp"

namespace {

using namespace EditorTest;

const std::string Select3 = std::string("select ") + W3 + " " + W1 + " " + W2 + "\n";
const char* const ItemsWithQties =
    "SELECT i.descript, i.price, i.qty, i.total, q.sort_order, q.guid, q.formula, q.value "
    "FROM items i LEFT JOIN qties q ON q.item_id = i.id ORDER BY i.id, q.sort_order";
const char* const InvalidFormula = R"(alert error "Edit Item": "Invalid formula!" / "" ["OK"] -> 1)";
const char* const Code40 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789wxyz";

// Four items of the first category; the first has two unlinked quantities (2 and 3).
const char* const FourItems =
    "INSERT INTO items (category_id, sort_order, code, descript, unit, price, qty, total) VALUES "
    "(1, 1, 'E-01', 'Excavation', 'm3', 10, 5, 50), (1, 2, 'E-02', 'Backfill', 'm3', 2, 0, 0), "
    "(1, 3, 'E-03', 'Transport', 't', 3, 0, 0), (1, 4, 'E-04', 'Disposal', 't', 4, 0, 0);"
    "INSERT INTO qties (item_id, guid, sort_order, descript, formula, value) VALUES "
    "(1, '', 1, 'a', '2', 2), (1, '', 2, 'b', '3', 3);"
    "UPDATE categories SET total = 50 WHERE id = 1;";

std::string NewItem(const std::string& descript) { return "click Calvora \"Add New Item\"\ntype top 6 \"" + descript + "\"\n"; }

TEST_F(EditorHost, ItemsAreAddedWithTheirFirstQuantities)
{
    RunScenarios({
        {"nothing selected: one unlinked quantity, amounts in the user's locale", "",
         NewItem("Aushub") + "type top 10 \"12.5\"\ntype top 12 \"2,5*2\"\nshow top\nclick top 1\nshow Calvora\n",
         {R"(11 checkbox (5,248,90,15) [x] "add first qty: ")", R"(14 textedit (5,310,290,20) disabled "5,00" caret 4 limit 36)",
          R"(15 popupmenu (265,290,30,20) hidden icon 32557 "Functions" chosen 0)",
          R"#(16 checkbox (5,268,290,15) hidden [ ] "Create unlinked qty (ignore selected element)")#",
          R"(row 1 value 1 selected | "1" | "" | "Aushub" | "" | "5,00" | "12,50" | "62,50")",
          R"(row 1 value 1 | "1" | "" | "2,5*2" | "5,00" | "")", R"(22 statictext (265,313,220,18) "Total: 62,50" right)"},
         {}, 0, ItemsWithQties, {"Aushub|12.5|5.0|62.5|1||2,5*2|5.0"}, "de_DE.UTF-8"},

        {"three walls: one quantity per wall in selection order", "",
         Select3 + NewItem("Walls") + "choose top 15 \"Volume\"\nshow top\nclick top 1\nshow Calvora\n",
         {R"(12 textedit (100,245,195,20) focus "Volume" caret 6 limit 200)",
          R"(14 textedit (5,310,290,20) disabled "3.00" caret 4 limit 36)",
          R"#(16 checkbox (5,268,290,15) [ ] "Create unlinked qty (ignore selected element)")#",
          R"(row 1 value 1 selected | "1" | "" | "Walls" | "" | "9.50" | "0.00" | "0.00")",
          R"(row 1 value 1 | "1" | "" | "Volume" | "3.00" | "")", R"(row 2 value 2 | "2" | "" | "Volume" | "2.50" | "")",
          R"(row 3 value 3 | "3" | "" | "Volume" | "4.00" | "")"},
         {}, 0, ItemsWithQties,
         {std::string("Walls|0.0|9.5|0.0|1|") + W3 + "|Volume|3.0", std::string("Walls|0.0|9.5|0.0|2|") + W1 + "|Volume|2.5",
          std::string("Walls|0.0|9.5|0.0|3|") + W2 + "|Volume|4.0"}},

        {"a wall and a slab are refused before any dialog", "",
         std::string("select ") + W1 + " " + S1 + "\nclick Calvora \"Add New Item\"\nanswer OK\nshow panels\n",
         {"!Edit Item"},
         {R"(alert warning "Multiple Selection": "The selected elements must all be of the same type to add a quantity." / "" ["OK"] -> 1)"},
         0, "SELECT count(*) FROM items", {"0"}},

        {"the unlinked box makes one quantity valued without an element", "",
         Select3 + NewItem("Fixed") + "type top 12 \"2*3\"\ncheck top 16 on\nshow top\nclick top 1\n",
         {R"(14 textedit (5,310,290,20) disabled "6.00" caret 4 limit 36)",
          R"(15 popupmenu (265,290,30,20) disabled icon 32557 "Functions" chosen 0)",
          R"#(16 checkbox (5,268,290,15) [x] "Create unlinked qty (ignore selected element)")#"},
         {}, 0, ItemsWithQties, {"Fixed|0.0|6.0|0.0|1||2*3|6.0"}},

        {"unlinked, an element's name does not evaluate and OK is refused", "",
         std::string("select ") + W1 + "\n" + NewItem("Walls") +
             "type top 12 \"Volume\"\ncheck top 16 on\nshow top\nclick top 1\nanswer OK\nclick top 2\n",
         {R"(14 textedit (5,310,290,20) disabled "Variable was not defined: Volume." caret 33 limit 36)"},
         {InvalidFormula}, 2, "SELECT count(*) FROM items", {"0"}},

        {"the first-quantity box unticked by hand: no quantity, but a bad formula still refuses OK", "",
         NewItem("Plain") + "type top 12 \"1/0\"\ncheck top 11 off\nclick top 1\nanswer OK\n"
                            "type top 12 \"2*3\"\ncheck top 11 off\nclick top 1\n",
         {}, {InvalidFormula}, 2, ItemsWithQties, {"Plain|0.0|0.0|0.0||||"}},

        {"an empty description refuses OK; blanks pass", "",
         "click Calvora \"Add New Item\"\nclick top 1\nanswer OK\ntype top 6 \"  \"\nclick top 1\n",
         {}, {R"(alert information "Edit Item": "Please enter item description." / "" ["OK"] -> 1)"}, 0,
         "SELECT '[' || descript || ']', category_id, sort_order FROM items", {"[  ]|1|1"}},

        {"typed limits hold the code at 36 characters and the price in range", "",
         NewItem("Limits") + "type top 4 \"" + Code40 + "\"\ntype top 10 \"2000000\"\nclick top 1\n",
         {}, {}, 0, "SELECT code, price FROM items", {std::string(Code40).substr(0, 36) + "|1000000.0"}},
    });
}

TEST_F(EditorHost, ItemsAreEditedClonedAndDeleted)
{
    const std::string imported =
        std::string("INSERT INTO items (category_id, sort_order, code, descript, unit, price, qty, total) VALUES (1, 1, '") +
        Code40 + "', 'Imported', 'pcs', 2000000, 0, 0);";
    RunScenarios({
        {"a stored code and price beyond the limits are shown and kept", imported.c_str(),
         "select-rows Calvora 5 1\nclick Calvora \"Edit Item\"\nshow top\ntype top 6 \"Imported, checked\"\nclick top 1\n",
         {std::string(R"(4 textedit (5,20,290,20) ")") + Code40 + R"(" caret 40 limit 36)",
          R"(10 realedit (5,215,290,20) value 2000000 range [0, 1000000])",
          R"(11 checkbox (5,248,90,15) hidden [ ] "add first qty: ")", R"(12 textedit (100,245,195,20) hidden "" caret 0 limit 200)",
          R"(15 popupmenu (265,290,30,20) hidden icon 32557 "Functions" chosen 0)"},
         {}, 0, "SELECT code, descript, price FROM items", {std::string(Code40) + "|Imported, checked|2000000.0"}},

        {"an edit changes the item's texts and price and recomputes its total", FourItems,
         "select-rows Calvora 5 1\ndouble-click Calvora 5 1\ntype top 10 \"12\"\ntype top 8 \"m³\"\nclick top 1\nshow Calvora\n",
         {R"(row 1 value 1 selected | "1" | "E-01" | "Excavation" | "m³" | "5.00" | "12.00" | "60.00")",
          R"(8 multilist (513,135,182,165) rowHeight 18 scroll 1 rows 2)", R"(22 statictext (265,313,220,18) "Total: 60.00" right)"},
         {}, 0, "SELECT i.unit, i.price, i.total, c.total FROM items i JOIN categories c ON c.id = i.category_id WHERE i.id = 1",
         {"m³|12.0|60.0|60.0"}},

        {"a clone takes the texts and price, no quantities, and goes last", FourItems,
         "select-rows Calvora 5 1\nclick Calvora \"Clone Item\"\nshow Calvora\n",
         {R"(row 1 value 1 | "1" | "E-01" | "Excavation" | "m3" | "5.00" | "10.00" | "50.00")",
          R"(row 5 value 5 selected | "5" | "E-01" | "Excavation" | "m3" | "0.00" | "10.00" | "0.00")",
          R"(8 multilist (513,135,182,165) rowHeight 18 scroll 1 rows 0)"},
         {}, 0, "SELECT id, sort_order, qty, total, (SELECT count(*) FROM qties WHERE item_id = items.id) FROM items WHERE code = 'E-01'",
         {"1|1|5.0|50.0|2", "5|5|0.0|0.0|0"}},

        {"deleting the second of four renumbers the rest", FourItems,
         "select-rows Calvora 5 2\nclick Calvora \"Delete Item\"\nanswer Yes\nshow Calvora\n",
         {R"(row 1 value 1 | "1" | "E-01" | "Excavation" | "m3" | "5.00" | "10.00" | "50.00")",
          R"(row 2 value 3 | "2" | "E-03" | "Transport" | "t" | "0.00" | "3.00" | "0.00")",
          R"(row 3 value 4 | "3" | "E-04" | "Disposal" | "t" | "0.00" | "4.00" | "0.00")",
          R"(14 iconbutton (35,310,28,28) disabled tooltip "Edit Item" icon 32551 "Edit")"},
         {R"(alert warning "Delete Item": "Are you sure you want to delete this item?" / "" ["No", "Yes"] -> 2)"}, 0,
         "SELECT code, sort_order FROM items ORDER BY sort_order", {"E-01|1", "E-03|2", "E-04|3"}},

        {"deleting an item with the delete key removes its quantities; No keeps it", FourItems,
         "select-rows Calvora 5 1\nfocus Calvora 5\nkey Calvora delete\nanswer No\nkey Calvora delete\nanswer Yes\n",
         {}, {R"(alert warning "Delete Item": "Are you sure you want to delete this item?" / "" ["No", "Yes"] -> 1)",
              R"(alert warning "Delete Item": "Are you sure you want to delete this item?" / "" ["No", "Yes"] -> 2)"}, 0,
         "SELECT (SELECT group_concat(code || ':' || sort_order) FROM items), (SELECT count(*) FROM qties), "
         "(SELECT total FROM categories WHERE id = 1)",
         {"E-02:1,E-03:2,E-04:3|0|0.0"}},
    });
}

}  // namespace
