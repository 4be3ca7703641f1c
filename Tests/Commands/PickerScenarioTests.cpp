// The pickers opened from the item editor's function menu of the real add-on: the picked name
// goes into the first quantity's formula; Escape and Cancel leave it as it was.
#include <gtest/gtest.h>

#include "CommandsTestSupport.hpp"

namespace Commands {
namespace {

TEST(PickerScenarios, TheEditorsFunctionMenuOpensThePickers)
{
    const std::string openEditor = std::string("menu 32500 1\nselect ") + kWall1 + "\nclick Calvora \"Add New Item\"\n";
    const std::string editorOpen = "selection: 1 element(s)\n  C1000000-0000-4000-8000-000000000001 type 1\n"
                                   "clicked item 13 of \"Calvora\"\ndialog \"Edit Item\" is open\n";
    const std::string skins = "row 1 value 0 selected | \"\" | \"Brick\" | \"0.10\" | \"1\"\n"
                              "row 2 value 0 | \"\" | \"Concrete\" | \"0.25\" | \"3\"\n";
    struct Scenario {
        const char* name;
        std::string script;
        std::string expected;
    };
    const Scenario scenarios[] = {
        {"a double click picks the row into the formula",
         openEditor + "choose top 15 \"SkinVolume()\"\n@rows\ndouble-click top 3 2\n@top 12\nclick top 2\n",
         editorOpen + "chose \"SkinVolume()\" of item 15 of \"Edit Item\"\ndialog \"Select Composite Skin\" is open\n" +
             skins + "double-clicked row 2 of item 3 of \"Select Composite Skin\"\n"
             "  12 textedit (100,245,195,20) focus \"SkinVolume('Concrete')\"\nclicked item 2 of \"Edit Item\"\n"},
        {"Escape leaves the formula empty",
         openEditor + "choose top 15 \"SkinArea()\"\nkey top escape\n@top 12\nclick top 2\n",
         editorOpen + "chose \"SkinArea()\" of item 15 of \"Edit Item\"\ndialog \"Select Composite Skin\" is open\n"
             "pressed escape in \"Select Composite Skin\"\n"
             "  12 textedit (100,245,195,20) \"\"\nclicked item 2 of \"Edit Item\"\n"},
        {"properties list the numeric ones",
         openEditor + "choose top 15 \"Property()\"\n@rows\nclick top 1\n@top 12\nclick top 2\n",
         editorOpen + "chose \"Property()\" of item 15 of \"Edit Item\"\ndialog \"Select Property\" is open\n"
             "row 1 value 0 selected | \"U-Value\" | \"Thermal transmittance\" | \"0.34\"\n"
             "row 2 value 0 | \"Pieces\" | \"Number of pieces\" | \"1\"\n"
             "clicked item 1 of \"Select Property\"\n"
             "  12 textedit (100,245,195,20) focus \"Property('U-Value')\"\nclicked item 2 of \"Edit Item\"\n"},
    };
    for (const Scenario& s : scenarios) {
        AddOnHost addOn;
        EXPECT_EQ(addOn.Run(s.script), s.expected) << s.name;
    }
}

}  // namespace
}  // namespace Commands
