// Quantities through the main palette and the quantity editor; zooming to and selecting their elements.
#include "EditorTestSupport.hpp"

namespace {

using namespace EditorTest;

const std::string OneItem =
    "INSERT INTO items (category_id, sort_order, code, descript, unit, price, qty, total) "
    "VALUES (1, 1, 'W', 'Walls', 'm3', 10, 0, 0);";
// The item with five quantities linked to the five walls, in wall order.
const std::string FiveQties = OneItem +
    "INSERT INTO qties (item_id, guid, sort_order, descript, formula, value) VALUES "
    "(1, '" + W1 + "', 1, 'q1', 'Volume', 2.5), (1, '" + W2 + "', 2, 'q2', 'Volume', 4), "
    "(1, '" + W3 + "', 3, 'q3', 'Volume', 3), (1, '" + W4 + "', 4, 'q4', 'Volume', 1.5), "
    "(1, '" + W5 + "', 5, 'q5', 'Volume', 2); UPDATE items SET qty = 13, total = 130;";
// One linked (W1) and one unlinked quantity.
const std::string Mixed = OneItem +
    "INSERT INTO qties (item_id, guid, sort_order, descript, formula, value) VALUES "
    "(1, '" + W1 + "', 1, 'linked', 'Volume', 2.5), (1, '', 2, 'fixed', '2', 2); UPDATE items SET qty = 4.5;";

// Linked (W1), unlinked, linked (W2).
const std::string ThreeMixed = OneItem +
    "INSERT INTO qties (item_id, guid, sort_order, descript, formula, value) VALUES "
    "(1, '" + W1 + "', 1, 'linked', 'Volume', 2.5), (1, '', 2, 'fixed', '2', 2), (1, '" + W2 + "', 3, 'other', 'Volume', 4);";

const char* const Qties = "SELECT sort_order, guid, descript, formula, value FROM qties ORDER BY sort_order";
const char* const ItemQty = "SELECT qty, total FROM items";
const char* const InvalidFormula = R"(alert error "Edit Qty": "Invalid formula!" / "" ["OK"] -> 1)";
const std::string Item1 = "select-rows Calvora 5 1\n";

std::string Row(int row, const std::string& guid, const char* descript, const char* formula, const char* value)
{
    return std::to_string(row) + "|" + guid + "|" + descript + "|" + formula + "|" + value;
}

TEST_F(EditorHost, QuantitiesAreAddedForTheSelection)
{
    RunScenarios({
        {"three walls: one quantity each, in selection order, the box naming the count", OneItem.c_str(),
         Item1 + "select " + W3 + " " + W1 + " " + W2 + "\nclick Calvora \"Add Qty Item\"\nshow top\n"
                 "type top 4 \"Wall #ID\"\ntype top 6 \"Area\"\nclick top 1\nshow Calvora\n",
         {R"(8 textedit (5,110,290,20) disabled "" caret 0 limit 250)",
          R"(9 popupmenu (265,42,30,20) icon 32557 "Functions" chosen 0)", R"(entry 1 "Volume")",
          R"#(10 checkbox (5,138,290,18) [ ] "Create 1 unlinked qty (ignore all 3 selected elements)")#",
          R"(row 1 value 1 selected | "1" | "W" | "Walls" | "m3" | "33.00" | "10.00" | "330.00")",
          R"(row 1 value 1 | "1" | "Wall W-3" | "Area" | "12.00" | "")",
          R"(row 2 value 2 | "2" | "Wall W-1" | "Area" | "10.00" | "")",
          R"(row 3 value 3 | "3" | "Wall W-2" | "Area" | "11.00" | "")"},
         {}, 0, Qties,
         {Row(1, W3, "Wall #ID", "Area", "12.0"), Row(2, W1, "Wall #ID", "Area", "10.0"), Row(3, W2, "Wall #ID", "Area", "11.0")}},

        {"one wall and the unlinked box: one quantity with the typed value", OneItem.c_str(),
         Item1 + "select " + W1 + "\nclick Calvora \"Add Qty Item\"\nshow top\ntype top 6 \"2*3\"\n"
                 "check top 10 on\nshow top\nclick top 1\n",
         {R"#(10 checkbox (5,138,290,18) [ ] "Create unlinked qty (ignore selected element)")#",
          R"(8 textedit (5,110,290,20) disabled "6.00" caret 4 limit 250)",
          R"(9 popupmenu (265,42,30,20) disabled icon 32557 "Functions" chosen 0)", "!entry 1"},
         {}, 0, Qties, {Row(1, "", "", "2*3", "6.0")}},

        {"nothing selected: no box, no pop-up, one unlinked quantity", OneItem.c_str(),
         Item1 + "click Calvora \"Add Qty Item\"\nshow top\ntype top 6 \"4*2\"\nclick top 1\n",
         {R"(9 popupmenu (265,42,30,20) hidden icon 32557 "Functions" chosen 0)", R"(10 checkbox (5,138,290,18) hidden [ ])"},
         {}, 0, ItemQty, {"8.0|80.0"}},

        {"a wall and a slab are refused", OneItem.c_str(),
         Item1 + "select " + W1 + " " + S1 + "\nclick Calvora \"Add Qty Item\"\nanswer OK\n",
         {"!Edit Qty"},
         {R"(alert warning "Multiple Selection": "The selected elements must all be of the same type to add a quantity." / "" ["OK"] -> 1)"},
         0, "SELECT count(*) FROM qties", {"0"}},
    });
}

TEST_F(EditorHost, QuantitiesAreEditedDeletedAndReloaded)
{
    RunScenarios({
        {"one linked quantity: the dialog finds its element and its value is taken as is", FiveQties.c_str(),
         Item1 + "select-rows Calvora 8 2\ndouble-click Calvora 8 2\nshow top\ntype top 6 \"Volume*2\"\nclick top 1\nshow Calvora\n",
         {R"(6 textedit (5,65,290,20) "Volume" caret 6 limit 250)", R"(8 textedit (5,110,290,20) disabled "4.00" caret 4 limit 250)",
          R"(entry 1 "Volume")", R"#(10 checkbox (5,138,290,18) [ ] "Create unlinked qty (ignore selected element)")#",
          R"(row 1 value 1 selected | "1" | "W" | "Walls" | "m3" | "17.00" | "10.00" | "170.00")",
          R"(row 2 value 2 selected | "2" | "q2" | "Volume*2" | "8.00" | "")"},
         {}, 0, "SELECT formula, value FROM qties WHERE sort_order = 2", {"Volume*2|8.0"}},

        {"several: Yes gives linked ones their own value, unlinked ones keep theirs", Mixed.c_str(),
         Item1 + "select-rows Calvora 8 1 2\nclick Calvora \"Edit Qty\"\ntype top 4 \"both\"\ntype top 6 \"Volume*10\"\n"
                 "click top 1\nanswer Yes\nshow Calvora\n",
         {R"(row 1 value 1 selected | "1" | "both" | "Volume*10" | "25.00" | "")",
          R"(row 2 value 2 selected | "2" | "both" | "Volume*10" | "2.00" | "")", R"(22 statictext (265,313,220,18) "Total: 270.00" right)"},
         {R"(alert warning "Edit Quantities": "Apply these changes to all selected quantities?" / "" ["No", "Yes"] -> 2)"}, 0,
         Qties, {Row(1, W1, "both", "Volume*10", "25.0"), Row(2, "", "both", "Volume*10", "2.0")}},

        {"several: No changes nothing", Mixed.c_str(),
         Item1 + "select-rows Calvora 8 1 2\nclick Calvora \"Edit Qty\"\ntype top 6 \"7\"\nclick top 1\nanswer No\n", {},
         {R"(alert warning "Edit Quantities": "Apply these changes to all selected quantities?" / "" ["No", "Yes"] -> 1)"}, 0,
         Qties, {Row(1, W1, "linked", "Volume", "2.5"), Row(2, "", "fixed", "2", "2.0")}},

        {"an empty formula closes the editor and keeps the last value", Mixed.c_str(),
         Item1 + "select-rows Calvora 8 2\nclick Calvora \"Edit Qty\"\ntype top 6 \"\"\nshow top\ntype top 4 \"\"\nclick top 1\n",
         {R"(8 textedit (5,110,290,20) disabled "" caret 0 limit 250)", R"(9 popupmenu (265,42,30,20) hidden icon 32557 "Functions" chosen 0)"},
         {}, 0, "SELECT descript, formula, value FROM qties WHERE sort_order = 2", {"||2.0"}},

        {"an element gone: an empty pop-up, and OK refused for its name", FiveQties.c_str(),
         Item1 + "element " + W2 + " delete\nselect-rows Calvora 8 2\nclick Calvora \"Edit Qty\"\nshow top\n"
                 "click top 1\nanswer OK\nshow top\nclick top 2\n",
         {R"(9 popupmenu (265,42,30,20) icon 32557 "Functions" chosen 0)", "!entry 1",
          R"(8 textedit (5,110,290,20) disabled "Variable was not defined: Volume." caret 33 limit 250)"},
         {InvalidFormula}, 2, "SELECT formula, value FROM qties WHERE sort_order = 2", {"Volume|4.0"}},

        {"deleting rows 2 and 4 of 5 closes the gaps", FiveQties.c_str(),
         Item1 + "select-rows Calvora 8 2 4\nclick Calvora \"Delete Qty\"\nanswer Yes\nshow Calvora\n",
         {R"(row 1 value 1 selected | "1" | "W" | "Walls" | "m3" | "7.50" | "10.00" | "75.00")",
          R"(row 1 value 1 | "1" | "q1" | "Volume" | "2.50" | "")", R"(row 2 value 3 | "2" | "q3" | "Volume" | "3.00" | "")",
          R"(row 3 value 5 | "3" | "q5" | "Volume" | "2.00" | "")", "!row 4",
          R"(17 iconbutton (540,310,28,28) disabled tooltip "Edit Qty" icon 32551 "Edit")"},
         {R"(alert warning "Delete Qty": "Are you sure you want to delete selected quantities?" / "" ["No", "Yes"] -> 2)"}, 0,
         Qties, {Row(1, W1, "q1", "Volume", "2.5"), Row(2, W3, "q3", "Volume", "3.0"), Row(3, W5, "q5", "Volume", "2.0")}},

        {"No keeps the quantities; the delete key asks the same", FiveQties.c_str(),
         Item1 + "select-rows Calvora 8 1\nfocus Calvora 8\nkey Calvora delete\nanswer No\n", {},
         {R"(alert warning "Delete Qty": "Are you sure you want to delete selected quantities?" / "" ["No", "Yes"] -> 1)"}, 0,
         "SELECT count(*) FROM qties", {"5"}},

        {"Reload takes the changed model's figures for the selected linked rows only", ThreeMixed.c_str(),
         Item1 + "element " + W1 + " set volume 6\nelement " + W2 + " set volume 5\nselect-rows Calvora 8 1 2\n"
                 "click Calvora \"Reload Qty\"\nshow Calvora\n",
         {R"(row 1 value 1 selected | "1" | "W" | "Walls" | "m3" | "12.00" | "10.00" | "120.00")",
          R"(row 1 value 1 selected | "1" | "linked" | "Volume" | "6.00" | "")",
          R"(row 2 value 2 selected | "2" | "fixed" | "2" | "2.00" | "")", R"(row 3 value 3 | "3" | "other" | "Volume" | "4.00" | "")"},
         {}, 0, "SELECT id, value FROM qties ORDER BY id", {"1|6.0", "2|2.0", "3|4.0"}},
    });
}

TEST_F(EditorHost, ZoomAndSelectTheLinkedElements)
{
    RunScenarios({
        {"a failed zoom is silent, a failed select alerts, then both work", Mixed.c_str(),
         Item1 + "select-rows Calvora 8 1 2\nfail HostZoomToElements\nclick Calvora \"Zoom to linked Element\"\nunfail\n"
                 "fail HostSelectElements\nclick Calvora \"Zoom to linked Element\"\nanswer OK\nunfail\n"
                 "click Calvora \"Zoom to linked Element\"\nshow selection\n",
         {"selection: 1 element(s)", std::string(W1) + " type 1"},
         {R"(alert error "Zoom Qty": "Failed to select the linked element in the view." / "" ["OK"] -> 1)"}, 0, "", {}},
    });
}

}  // namespace
