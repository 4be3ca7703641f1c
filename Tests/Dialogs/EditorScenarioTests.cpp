// Editing the estimate from the main palette through the real add-on: the category, item and
// quantity editors, the sort dialog, the panel's actions and the formula assistance, each scenario
// from a fresh estimate (with its seed) on the fixture model, ending in the alerts shown and the
// estimate the project stores; the dialogs' layout when resized in a test of its own.
#include <regex>

#include "ScenarioSupport.hpp"

namespace {
using namespace Scenario;

struct Edit {
    std::string name, seed, script, shown, alerts;
    int beeps;
    std::string query, rows;  // the stored estimate afterwards
    const char* locale = nullptr;
};

// Every expected line is a whole line of the text view.
std::string Whole(const std::string& lines)
{
    return std::regex_replace("\n" + lines, std::regex("\n *([^ !\n])"), "\n=$1") + "\n";
}

class Editors : public Session {
protected:
    void Check(const std::vector<Edit>& edits)
    {
        std::vector<Case> cases;
        for (const Edit& e : edits)
            cases.push_back({e.name, e.seed,
                             "menu \"Show Calvora Palette\"\n" + e.script + "show alerts\nshow beeps\n" +
                                 (e.query.empty() ? "" : "@flush " + e.query),
                             Whole(e.shown) + (e.alerts.empty() ? "=no alerts\n" : Whole(e.alerts) + "!alert \n") + "=beeps: " +
                                 std::to_string(e.beeps) + "\n" + (e.query.empty() ? "" : "=" + Joined(e.rows)),
                             e.locale});
        RunCases(FixtureProject(), cases);
    }
};

// Seeds: one item; four items of the first category, the first with two unlinked quantities (2 and
// 3); one item with five quantities linked to the five walls in wall order; linked (W1) and
// unlinked; linked (W1), unlinked, linked (W2).
const std::string NewItem = "INSERT INTO items (category_id, sort_order, code, descript, unit, price, qty, total) VALUES ";
const std::string NewQty = "INSERT INTO qties (item_id, guid, sort_order, descript, formula, value) VALUES ";
const std::string OneItem = NewItem + "(1, 1, 'W', 'Walls', 'm3', 10, 0, 0);";
const std::string FourItems = NewItem +
    "(1, 1, 'E-01', 'Excavation', 'm3', 10, 5, 50), (1, 2, 'E-02', 'Backfill', 'm3', 2, 0, 0), "
    "(1, 3, 'E-03', 'Transport', 't', 3, 0, 0), (1, 4, 'E-04', 'Disposal', 't', 4, 0, 0);" + NewQty +
    "(1, '', 1, 'a', '2', 2), (1, '', 2, 'b', '3', 3); UPDATE categories SET total = 50 WHERE id = 1;";
const std::string FiveQties = OneItem + NewQty + "(1, '" + W1 + "', 1, 'q1', 'Volume', 2.5), (1, '" + W2 +
    "', 2, 'q2', 'Volume', 4), (1, '" + W3 + "', 3, 'q3', 'Volume', 3), (1, '" + W4 + "', 4, 'q4', 'Volume', 1.5), (1, '" +
    W5 + "', 5, 'q5', 'Volume', 2); UPDATE items SET qty = 13, total = 130;";
const std::string Linked = OneItem + NewQty + "(1, '" + W1 + "', 1, 'linked', 'Volume', 2.5), (1, '', 2, 'fixed', '2', 2)";
const std::string Mixed2 = Linked + "; UPDATE items SET qty = 4.5;";
const std::string Mixed3 = Linked + ", (1, '" + W2 + "', 3, 'other', 'Volume', 4);";

const std::string Categories = "SELECT id, code, title, descript, sort_order FROM categories ORDER BY id";
const std::string AskCategory =
    R"~(alert warning "Delete Category": "Are you sure you want to delete this category?" / "" ["No", "Yes"])~";
const std::string AskItem = R"~(alert warning "Delete Item": "Are you sure you want to delete this item?" / "" ["No", "Yes"])~";
const std::string AskQty =
    R"~(alert warning "Delete Qty": "Are you sure you want to delete selected quantities?" / "" ["No", "Yes"])~";
const std::string MixedTypes =
    R"~(alert warning "Multiple Selection": "The selected elements must all be of the same type to add a quantity." / "" ["OK"] -> 1)~";

std::string AddCategory(const std::string& code, const std::string& title, const std::string& descript = "")
{
    return "click Calvora \"Add New Category\"\ntype top CodeEdit \"" + code + "\"\ntype top TitleEdit \"" + title + "\"\ntype top DescriptionEdit \"" +
           descript + "\"\nclick top OkButton\n";
}

TEST_F(Editors, CategoriesAreAddedEditedDeletedAndReordered)
{
    Check({
        {"an added category is selected with its description; its editor changes only its texts; a title is "
         "required, one blank will do", "",
         AddCategory("01", "Earthworks", "Digging") + "@show Calvora\nclick Calvora \"Edit Category\"\n@show top\n"
             "type top TitleEdit \"Groundworks\"\ntype top CodeEdit \"\"\nclick top OkButton\n@show Calvora\n"
             "click Calvora \"Add New Category\"\nclick top OkButton\nanswer OK\nclick top CancelButton\n" + AddCategory("", " ") +
             "@show Calvora\n",
         R"~(entry 2 "01 Earthworks" value 2 *
             DescriptionText "Digging"
             CodeEdit "01" caret 2 limit 50
             TitleEdit "Earthworks" caret 10 limit 200
             DescriptionEdit "Digging" caret 7
             entry 2 " Groundworks" value 2 *
             entry 3 "  " value 3 *)~",
         R"~(alert information "Edit Category": "Please enter category title" / "" ["OK"] -> 1)~", 0, Categories,
         "1||Untitled Category||1\n2||Groundworks|Digging|2\n3|| ||3"},
        {"the last category deleted leaves a new untitled one", "",
         "click Calvora \"Delete Category\"\nanswer Yes\n@show Calvora\n",
         "entry 1 \" Untitled Category\" value 2 *\n!entry 2", AskCategory + " -> 2", 0, Categories,
         "2||Untitled Category||1"},
        // No keeps C; the edit after two deletes keeps the gap closed: B stays first, C second.
        {"No keeps the category; an edit after a delete keeps the stored sort order", "",
         AddCategory("A", "Alpha") + AddCategory("B", "Beta") + AddCategory("C", "Gamma") +
             "click Calvora \"Delete Category\"\nanswer No\nchoose Calvora CategoryPopUp 1\nclick Calvora \"Delete Category\"\nanswer Yes\n"
             "choose Calvora CategoryPopUp \"A Alpha\"\nclick Calvora \"Delete Category\"\nanswer Yes\n"
             "choose Calvora CategoryPopUp \"B Beta\"\nclick Calvora \"Edit Category\"\ntype top TitleEdit \"Beta2\"\nclick top OkButton\n",
         "", AskCategory + " -> 1\n" + AskCategory + " -> 2\n" + AskCategory + " -> 2", 0,
         "SELECT code, title, sort_order FROM categories ORDER BY sort_order", "B|Beta2|1\nC|Gamma|2"},
        // Cancel after a drag changes no order; a reorder keeps the selected category.
        {"a reorder keeps the selected category and lists by the new order", "",
         AddCategory("A", "Alpha") + AddCategory("B", "Beta") +
             "click Calvora \"Reorder Categories\"\ndrag-row top CategoriesList 3 1\nclick top CancelButton\n"
             "click Calvora \"Reorder Categories\"\n@show top\ndrag-row top CategoriesList 3 1\n@show top\nclick top OkButton\n@show Calvora\n",
         R"~(row 1 value 1 | "1" | "" | "Untitled Category"
             row 3 value 3 | "3" | "B" | "Beta"
             row 1 value 3 | "1" | "B" | "Beta"
             row 2 value 1 | "2" | "" | "Untitled Category"
             row 3 value 2 | "3" | "A" | "Alpha"
             entry 1 "B Beta" value 3 *)~",
         "", 0, "SELECT id FROM categories ORDER BY sort_order", "3\n1\n2"},
    });
}

// Each dialog resized from its resource size: what moves, what widens or grows, and a list's columns.
TEST_F(Editors, DialogsLayTheirItemsOutWhenResized)
{
    Start(FixtureProject(), OneItem.c_str());
    const std::string show = "\n@show top rects\n", close = "click top CancelButton\n";
    Play({
        // The edits widen, the description grows, the buttons move down.
        {"menu \"Show Calvora Palette\"\nclick Calvora \"Add New Category\"\nresize top 40 40" + show + close,
         "=(5,240,50,30) (60,240,50,30) (5,5,50,15) (5,20,330,20) (5,45,50,18) (5,60,330,20) (5,85,50,18) (5,105,330,125)"},
        // The list fills the dialog, its last column the rest; never below nothing.
        {"click Calvora \"Reorder Categories\"\nresize top 100 40" + show + "@show top headers 3\nresize top -180 -100\n"
         "@show top rects 3\nresize top -200 -300\n@show top rects 3\n@show top headers 3\n" + close,
         "=(280,360,50,30) (340,360,50,30) (5,5,390,350)\n=40 80 270\n=(5,5,210,250)\n=(5,5,10,0)\n=40 80 0"},
        // The edits widen, the description grows, what lies below it moves down, the function pop-up
        // follows the right edge.
        {"click Calvora \"Add New Item\"\nresize top 40 20" + show + close,
         "=(5,360,50,30) (60,360,50,30) (5,5,50,15) (5,20,330,20) (5,45,50,15) (5,65,330,110) (5,180,50,15) (5,195,330,20) "
         "(5,220,50,15) (5,235,330,20) (5,268,90,15) (100,265,235,20) (5,312,150,15) (5,330,330,20) (305,310,30,20) "
         "(5,288,290,15)"},
        // The edits widen, the pop-up follows the right edge, the box and the buttons move down.
        {"select-rows Calvora ItemsList 1\nclick Calvora \"Add Qty Item\"\nresize top 40 20" + show + close,
         "=(5,185,50,30) (60,185,50,30) (5,5,50,15) (5,20,330,20) (5,45,50,18) (5,65,330,20) (5,90,150,15) (5,110,330,20) "
         "(305,42,30,20) (5,158,290,18)"},
        // The buttons move to the corner, the file's name widens and its browse button follows.
        {"menu \"Import from SQL\"\nresize top 40 20" + show + close,
         "=(220,110,50,30) (280,110,50,30) (5,5,50,20) (5,22,295,20) (305,22,25,23) (5,50,270,23)"},
        {"menu \"Export to XLS\"\nresize top 40 20" + show + close,
         "=(220,110,50,30) (280,110,50,30) (5,5,310,23) (5,30,310,23) (5,55,310,23)"},
        // A picker's buttons follow the corner, its list grows and the column that takes the rest widens.
        {"select " + std::string(W1) + "\nclick Calvora \"Add New Item\"\nchoose top FunctionMenu \"Property()\"\nresize top 40 20" +
             show + "@show top headers 3\n@show top tabs 3\n" + close + close,
         "=(290,244,85,26) (385,244,85,26) (10,10,460,224)\n=100 309 50\n=0-100 100-409 409-459"},
    });
}

const std::string Select3 = std::string("select ") + W3 + " " + W1 + " " + W2 + "\n";
const std::string ItemsWithQties = "SELECT i.descript, i.price, i.qty, i.total, q.sort_order, q.guid, q.formula, q.value "
                                   "FROM items i LEFT JOIN qties q ON q.item_id = i.id ORDER BY i.id, q.sort_order";
const std::string ItemFormula = R"~(alert error "Edit Item": "Invalid formula!" / "" ["OK"] -> 1)~";
const std::string Code40 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789wxyz";
std::string AddItem(const std::string& descript) { return "click Calvora \"Add New Item\"\ntype top DescriptionEdit \"" + descript + "\"\n"; }

TEST_F(Editors, ItemsAreAddedWithTheirFirstQuantities)
{
    Check({
        {"nothing selected: one unlinked quantity, amounts in the user's locale", "",
         AddItem("Aushub") + "type top PriceEdit \"12.5\"\ntype top FormulaEdit \"2,5*2\"\n@show top\nclick top OkButton\n@show Calvora\n",
         R"~(AddFirstQtyCheck [x] "add first qty: "
             ValueEdit disabled "5,00" caret 4 limit 36
             FunctionMenu hidden icon 32557 "Functions" chosen 0
             UnlinkedCheck hidden [ ] "Create unlinked qty (ignore selected element)"
             row 1 value 1 selected | "1" | "" | "Aushub" | "" | "5,00" | "12,50" | "62,50")~",
         "", 0, ItemsWithQties, "Aushub|12.5|5.0|62.5|1||2,5*2|5.0", "de_DE.UTF-8"},
        {"three walls: one quantity per wall in selection order", "",
         Select3 + AddItem("Walls") + "choose top FunctionMenu \"Volume\"\n@show top\nclick top OkButton\n@show Calvora\n",
         R"~(ValueEdit disabled "3.00" caret 4 limit 36
             UnlinkedCheck [ ] "Create unlinked qty (ignore selected element)")~",
         "", 0, ItemsWithQties,
         std::string("Walls|0.0|9.5|0.0|1|") + W3 + "|Volume|3.0\nWalls|0.0|9.5|0.0|2|" + W1 +
             "|Volume|2.5\nWalls|0.0|9.5|0.0|3|" + W2 + "|Volume|4.0"},
        {"a wall and a slab are refused before any dialog", "",
         std::string("select ") + W1 + " " + S1 + "\nclick Calvora \"Add New Item\"\nanswer OK\nshow panels\n", "!Edit Item",
         MixedTypes, 0, "SELECT count(*) FROM items", "0"},
        {"unlinked, an element's name does not evaluate and OK is refused; a number makes one quantity for three walls", "",
         Select3 + AddItem("Fixed") + "type top FormulaEdit \"Volume\"\ncheck top UnlinkedCheck on\n@show top\nclick top OkButton\n"
                                      "answer OK\ntype top FormulaEdit \"2*3\"\n@show top\nclick top OkButton\n",
         R"~(ValueEdit disabled "Variable was not defined: Volume." caret 33 limit 36
             ValueEdit disabled "6.00" caret 4 limit 36
             FunctionMenu disabled icon 32557 "Functions" chosen 0
             UnlinkedCheck [x] "Create unlinked qty (ignore selected element)")~",
         ItemFormula, 2, ItemsWithQties, "Fixed|0.0|6.0|0.0|1||2*3|6.0"},
        // The first item: the first-quantity box unticked by hand gives no quantity, but a bad formula
        // still refuses OK. The second: an empty description refuses OK, blanks pass; typed limits hold
        // the code at 36 characters and the price in range.
        {"what refuses OK and what the editor holds back", "",
         AddItem("Plain") + "type top FormulaEdit \"1/0\"\ncheck top AddFirstQtyCheck off\nclick top OkButton\nanswer OK\n"
                            "type top FormulaEdit \"2*3\"\ncheck top AddFirstQtyCheck off\nclick top OkButton\nclick Calvora \"Add New Item\"\n"
                            "click top OkButton\nanswer OK\ntype top DescriptionEdit \"  \"\ntype top CodeEdit \"" + Code40 +
             "\"\ntype top PriceEdit \"2000000\"\nclick top OkButton\n", "",
         ItemFormula + "\nalert information \"Edit Item\": \"Please enter item description.\" / \"\" [\"OK\"] -> 1", 2,
         "SELECT '[' || descript || ']', category_id, sort_order, code, price, (SELECT count(*) FROM qties) FROM items",
         "[Plain]|1|1||0.0|0\n[  ]|1|2|" + Code40.substr(0, 36) + "|1000000.0|0"},
    });
}

TEST_F(Editors, ItemsAreEditedClonedAndDeleted)
{
    Check({
        {"a stored code and price beyond the limits are shown and kept", NewItem + "(1, 1, '" + Code40 + "', 'Imported', 'pcs', 2000000, 0, 0);",
         "select-rows Calvora ItemsList 1\nclick Calvora \"Edit Item\"\n@show top\ntype top DescriptionEdit \"Imported, checked\"\nclick top OkButton\n",
         "CodeEdit \"" + Code40 + R"~(" caret 40 limit 36
             PriceEdit value 2000000 range [0, 1000000]
             AddFirstQtyCheck hidden [ ] "add first qty: "
             FormulaEdit hidden "" caret 0 limit 200)~",
         "", 0, "SELECT code, descript, price FROM items", Code40 + "|Imported, checked|2000000.0"},
        {"an edit changes the item's texts and price and recomputes its total; a clone takes them, no quantities, and goes last",
         FourItems,
         "select-rows Calvora ItemsList 1\ndouble-click Calvora ItemsList 1\ntype top PriceEdit \"12\"\ntype top UnitEdit \"m³\"\n"
         "click top OkButton\n@show Calvora\nclick Calvora \"Clone Item\"\n@show Calvora\n",
         R"~(row 1 value 1 selected | "1" | "E-01" | "Excavation" | "m³" | "5.00" | "12.00" | "60.00"
             QtiesList rowHeight 18 scroll 1 rows 2
             row 5 value 5 selected | "5" | "E-01" | "Excavation" | "m³" | "0.00" | "12.00" | "0.00"
             QtiesList rowHeight 18 scroll 1 rows 0)~",
         "", 0, "SELECT id, sort_order, unit, price, qty, total, (SELECT count(*) FROM qties WHERE item_id = items.id), "
         "(SELECT total FROM categories) FROM items WHERE code = 'E-01'", "1|1|m³|12.0|5.0|60.0|2|60.0\n5|5|m³|12.0|0.0|0.0|0|60.0"},
        // The Delete key follows the focus: nothing from the pop-up, the item from the items list.
        {"deleting the second of four renumbers the rest; the delete key removes an item with its quantities, No keeps it",
         FourItems,
         "select-rows Calvora ItemsList 2\nclick Calvora \"Delete Item\"\nanswer Yes\n@show Calvora\nselect-rows Calvora ItemsList 1\n"
         "focus Calvora CategoryPopUp\nkey Calvora delete\nfocus Calvora ItemsList\nkey Calvora delete\nanswer No\nkey Calvora delete\nanswer Yes\n",
         "EditItemButton disabled tooltip \"Edit Item\" icon 32551 \"Edit\"",
         AskItem + " -> 2\n" + AskItem + " -> 1\n" + AskItem + " -> 2", 0,
         "SELECT (SELECT group_concat(code || ':' || sort_order) FROM items), (SELECT count(*) FROM qties), "
         "(SELECT total FROM categories WHERE id = 1)",
         "E-03:1,E-04:2|0|0.0"},
    });
}

const std::string Qties = "SELECT sort_order, guid, descript, formula, value FROM qties ORDER BY sort_order";
const std::string QtyFormula = R"~(alert error "Edit Qty": "Invalid formula!" / "" ["OK"] -> 1)~";
const std::string ApplyAll =
    R"~(alert warning "Edit Quantities": "Apply these changes to all selected quantities?" / "" ["No", "Yes"])~";
const std::string Item1 = "select-rows Calvora ItemsList 1\n";
std::string Row(int row, const std::string& guid, const char* descript, const char* formula, const char* value)
{
    return std::to_string(row) + "|" + guid + "|" + descript + "|" + formula + "|" + value + "\n";
}

TEST_F(Editors, QuantitiesAreAddedForTheSelection)
{
    Check({
        {"three walls: one quantity each, in selection order, the box naming the count", OneItem,
         Item1 + "select " + W3 + " " + W1 + " " + W2 + "\nclick Calvora \"Add Qty Item\"\n@show top\n"
                 "type top DescriptionEdit \"Wall #ID\"\ntype top FormulaEdit \"Area\"\nclick top OkButton\n@show Calvora\n",
         R"~(FunctionMenu icon 32557 "Functions" chosen 0
             entry 1 "Volume"
             UnlinkedCheck [ ] "Create 1 unlinked qty (ignore all 3 selected elements)"
             row 1 value 1 selected | "1" | "W" | "Walls" | "m3" | "33.00" | "10.00" | "330.00")~",
         "", 0, Qties, Row(1, W3, "Wall #ID", "Area", "12.0") + Row(2, W1, "Wall #ID", "Area", "10.0") + Row(3, W2, "Wall #ID", "Area", "11.0")},
        {"one wall and the unlinked box: one quantity with the typed value", OneItem,
         Item1 + "select " + W1 + "\nclick Calvora \"Add Qty Item\"\n@show top\ntype top FormulaEdit \"2*3\"\ncheck top UnlinkedCheck on\n@show top\nclick top OkButton\n",
         R"~(UnlinkedCheck [ ] "Create unlinked qty (ignore selected element)"
             ValueEdit disabled "6.00" caret 4 limit 250)~",
         "", 0, Qties, Row(1, "", "", "2*3", "6.0")},
        {"nothing selected: no box, no pop-up, one unlinked quantity", OneItem,
         Item1 + "click Calvora \"Add Qty Item\"\n@show top\ntype top FormulaEdit \"4*2\"\nclick top OkButton\n",
         "FunctionMenu hidden icon 32557 \"Functions\" chosen 0\nUnlinkedCheck hidden [ ]", "", 0,
         "SELECT qty, total FROM items", "8.0|80.0"},
    });
}

TEST_F(Editors, QuantitiesAreEditedDeletedAndReloaded)
{
    Check({
        {"one linked quantity: the dialog finds its element and its value is taken as is", FiveQties,
         Item1 + "select-rows Calvora QtiesList 2\ndouble-click Calvora QtiesList 2\n@show top\ntype top FormulaEdit \"Volume*2\"\nclick top OkButton\n@show Calvora\n",
         R"~(FormulaEdit "Volume" caret 6 limit 250
             ValueEdit disabled "4.00" caret 4 limit 250
             entry 1 "Volume"
             row 1 value 1 selected | "1" | "W" | "Walls" | "m3" | "17.00" | "10.00" | "170.00")~",
         "", 0, "SELECT formula, value FROM qties WHERE sort_order = 2", "Volume*2|8.0"},
        {"several: Yes gives linked ones their own value; an unlinked one whose formula needs an element is left", Mixed3,
         Item1 + "select-rows Calvora QtiesList 1 2 3\nclick Calvora \"Edit Qty\"\ntype top DescriptionEdit \"all\"\ntype top FormulaEdit \"Volume*10\"\n"
                 "click top OkButton\nanswer Yes\n@show Calvora\n",
         "TotalText \"Total: 670.00\" right",
         ApplyAll + " -> 2", 0, Qties,
         Row(1, W1, "all", "Volume*10", "25.0") + Row(2, "", "all", "2", "2.0") + Row(3, W2, "all", "Volume*10", "40.0")},
        {"several: No changes nothing; Yes gives an unlinked one the value its new formula gives without an element", Mixed2,
         Item1 + "select-rows Calvora QtiesList 1 2\nclick Calvora \"Edit Qty\"\ntype top FormulaEdit \"7\"\nclick top OkButton\nanswer No\n"
                 "@show Calvora\nclick Calvora \"Edit Qty\"\ntype top FormulaEdit \"2*5\"\nclick top OkButton\nanswer Yes\n@show Calvora\n",
         "row 2 value 2 selected | \"2\" | \"fixed\" | \"2\" | \"2.00\" | \"\"\nTotalText \"Total: 200.00\" right",
         ApplyAll + " -> 1\n" + ApplyAll + " -> 2", 0, Qties, Row(1, W1, "linked", "2*5", "10.0") + Row(2, "", "linked", "2*5", "10.0")},
        {"an empty formula closes the editor and keeps the last value", Mixed2,
         Item1 + "select-rows Calvora QtiesList 2\nclick Calvora \"Edit Qty\"\ntype top FormulaEdit \"\"\n@show top\ntype top DescriptionEdit \"\"\nclick top OkButton\n",
         "ValueEdit disabled \"\" caret 0 limit 250\nFunctionMenu hidden icon 32557 \"Functions\" chosen 0",
         "", 0, "SELECT descript, formula, value FROM qties WHERE sort_order = 2", "||2.0"},
        {"an element gone: an empty pop-up, and OK refused for its name", FiveQties,
         Item1 + "element " + W2 + " delete\nselect-rows Calvora QtiesList 2\nclick Calvora \"Edit Qty\"\n@show top\n"
                 "click top OkButton\nanswer OK\n@show top\nclick top CancelButton\n",
         R"~(FunctionMenu icon 32557 "Functions" chosen 0
             !entry 1
             ValueEdit disabled "Variable was not defined: Volume." caret 33 limit 250)~",
         QtyFormula, 2, "SELECT formula, value FROM qties WHERE sort_order = 2", "Volume|4.0"},
        {"No keeps the quantities (the delete key asks the same when their list has the focus); deleting rows 2 and 4 of 5 "
         "closes the gaps", FiveQties,
         Item1 + "select-rows Calvora QtiesList 1\nfocus Calvora QtiesList\nkey Calvora delete\nanswer No\n"
                 "select-rows Calvora QtiesList 2 4\nclick Calvora \"Delete Qty\"\nanswer Yes\n@show Calvora\n",
         R"~(row 1 value 1 selected | "1" | "W" | "Walls" | "m3" | "7.50" | "10.00" | "75.00"
             EditQtyButton disabled tooltip "Edit Qty" icon 32551 "Edit")~",
         AskQty + " -> 1\n" + AskQty + " -> 2", 0, Qties,
         Row(1, W1, "q1", "Volume", "2.5") + Row(2, W3, "q3", "Volume", "3.0") + Row(3, W5, "q5", "Volume", "2.0")},
        {"Reload takes the changed model's figures for the selected linked rows only", Mixed3,
         Item1 + "element " + W1 + " set volume 6\nelement " + W2 + " set volume 5\nselect-rows Calvora QtiesList 1 2\n"
                 "click Calvora \"Reload Qty\"\n@show Calvora\n",
         R"~(row 1 value 1 selected | "1" | "W" | "Walls" | "m3" | "12.00" | "10.00" | "120.00")~",
         "", 0, "SELECT id, value FROM qties ORDER BY id", "1|6.0\n2|2.0\n3|4.0"},
        {"a failed zoom is silent, a failed select alerts, then both work", Mixed2,
         Item1 + "select-rows Calvora QtiesList 1 2\nfail HostZoomToElements\nclick Calvora \"Zoom to linked Element\"\nunfail\n"
                 "fail HostSelectElements\nclick Calvora \"Zoom to linked Element\"\nanswer OK\nunfail\n"
                 "click Calvora \"Zoom to linked Element\"\nshow selection\n",
         "selection: 1 element(s)\n" + std::string(W1) + " type 1",
         R"~(alert error "Zoom Qty": "Failed to select the linked element in the view." / "" ["OK"] -> 1)~", 0, "", ""},
    });
    // The one row left by a multiple edit is named, once.
    EXPECT_TRUE(Shows(debug, "=CalvoraPanel::EditQty: row 2 (quantity 2) keeps its formula and value, the new formula "
                             "needs an element: Variable was not defined: Volume.\n!keeps its formula"))
        << debug;
}

// The formula help both editors share: the function menu of the element, appending a chosen name
// or a picked argument, the caret, the live value with its beeps, and the unlinked box.
std::string AddItemFor(const std::string& guid) { return "select " + guid + "\n" + AddItem("x"); }

TEST_F(Editors, TheFormulaAssistance)
{
    Check({
        // The names themselves are the element functions' (their suite lists them per element).
        {"a basic wall: its quantities in order, a separator, then Property(); a line: its length and no separator", "",
         AddItemFor(W1) + "@show top\nclick top CancelButton\n" + AddItemFor(L1) + "@show top\nclick top CancelButton\n",
         R"~(FunctionMenu icon 32557 "Functions" chosen 0
             entry 1 "Volume"
             entry 9 "MinHeight"
             entry 10 ---
             entry 11 "Property()"
             !entry 12
             entry 1 "Length"
             !entry 2)~",
         "", 0, "", ""},
        {"a cancelled picker leaves the formula and the box alone; a name goes at the end, the caret after it, and the "
         "value follows each change", "",
         AddItemFor(W1) + "choose top FunctionMenu \"Property()\"\nclick top CancelButton\n@show top\ntype top FormulaEdit \"2*\"\n"
                          "@show top\nchoose top FunctionMenu \"Volume\"\n@show top\nclick top OkButton\n",
         R"~(AddFirstQtyCheck [ ] "add first qty: "
             FormulaEdit "" caret 0 limit 200
             ValueEdit disabled "Value to the right of operator is missing or invalid." caret 53 limit 36
             AddFirstQtyCheck [x] "add first qty: "
             FormulaEdit focus "2*Volume" caret 8 limit 200
             ValueEdit disabled "5.00" caret 4 limit 36)~",
         "", 1, "SELECT formula, value FROM qties", "2*Volume|5.0"},
        {"a picked property goes in quoted, the caret at the end; a picked name holding () puts the caret inside its last ()", "",
         AddItemFor(W1) + "type top FormulaEdit \"Volume+\"\nchoose top FunctionMenu \"Property()\"\n@show top\nselect-rows top ChoicesList 1\n"
                          "click top SelectButton\n@show top\nchoose top FunctionMenu \"Property()\"\nselect-rows top ChoicesList 2\n"
                          "click top SelectButton\n@show top\nclick top CancelButton\n",
         R"~(modal "Select Property" visible grow
             FormulaEdit focus "Volume+Property('U-Value')" caret 26 limit 200
             ValueEdit disabled "2.75" caret 4 limit 36
             FormulaEdit focus "Volume+Property('U-Value')Property('Count()')" caret 42 limit 200)~",
         "", 2, "", ""},
        {"the quantity editor appends alike; its unlinked box empties the menu and evaluates without the wall", OneItem,
         Item1 + "select " + W2 + "\nclick Calvora \"Add Qty Item\"\ntype top FormulaEdit \"10-\"\n"
                 "choose top FunctionMenu \"Area\"\n@show top\ncheck top UnlinkedCheck on\n@show top\ncheck top UnlinkedCheck off\nclick top OkButton\n",
         R"~(FormulaEdit focus "10-Area" caret 7 limit 250
             ValueEdit disabled "-1.00" caret 5 limit 250
             ValueEdit disabled "Variable was not defined: Area." caret 31 limit 250
             FunctionMenu disabled icon 32557 "Functions" chosen 0
             !entry 1)~",
         "", 2, "SELECT guid, formula, value FROM qties", std::string(W2) + "|10-Area|-1.0"},
    });
}

// The sample that builds an estimate from the palette runs clean and leaves the estimate it means to.
TEST_F(Editors, TheBuildEstimateSampleRuns)
{
    const std::string script = std::regex_replace(ReadFile(CALVORA_SAMPLES_DIR "/build-estimate.script"),
                                                  std::regex("open sample-project.json"), "open " CALVORA_SAMPLES_DIR "/sample-project.json");
    Start(FixtureProject(), "");
    // The areas of the four basic walls; the core volumes of the three columns, the starter bars
    // deleted; the basic slab's volume: each category's total.
    Play({{script + "\n@flush SELECT code || ' ' || title || ' ' || sort_order || ' ' || total FROM categories ORDER BY sort_order",
           "=01 Earthworks 1 768.0 ; 03 Masonry 2 5238.0 ; 02 Concrete 3 2453.65"}});
}

}  // namespace
