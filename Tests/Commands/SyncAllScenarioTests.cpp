// "Sync All Quantities" through the real add-on: progress, the store after the last step, the
// palette refresh, cancelling, and quantities whose element is gone or that are not linked.
#include <gtest/gtest.h>

#include "CommandsTestSupport.hpp"

namespace Commands {
namespace {

std::string Progress(int position, int count, int max)
{
    const std::string p = std::to_string(position), n = std::to_string(count);
    return "modal \"Sync All Quantities\" 350x115 visible\n"
           "  1 statictext (10,10,330,19) \"Syncing " + p + " / " + n + " quantities...\"\n"
           "  2 progressbar (10,38,330,18) 0.." + std::to_string(max) + " value " + p + "\n"
           "  3 button (145,72,60,28) \"Cancel\"\n";
}

struct Scenario {
    const char* name;
    std::string estimate;
    std::string script;
    std::string expected;
};

TEST(SyncAllScenarios, RunThroughTheRealAddOn)
{
    const Scenario scenarios[] = {
        {"three linked quantities: a step per idle event, the store and the refresh on the one after",
         kEstimateRows,
         "menu 32500 1\n@palette\nmenu 32502 1\nshow top\nidle 1\nshow top\nidle 2\nshow top\n@stored\nidle 1\n"
         "@stored\n@palette\n",
         std::string(kPaletteBefore) + "dialog \"Sync All Quantities\" is open\n" + Progress(0, 3, 3) +
             "1 idle event(s)\n" + Progress(1, 3, 3) + "2 idle event(s)\n" + Progress(3, 3, 3) + kFixtureRows +
             "1 idle event(s)\n" + kSyncedRows +
             "entry 1 \"C1 Walls\" value 1 *\n"
             "entry 2 \"C2 Slabs\" value 2\n"
             "row 1 value 1 | \"1\" | \"I1\" | \"Wall volume\" | \"m3\" | \"11.50\" | \"10.00\" | \"115.00\"\n"
             "row 2 value 2 | \"2\" | \"I2\" | \"Loose work\" | \"pcs\" | \"6.00\" | \"2.00\" | \"12.00\"\n"
},
        {"cancelled after the first step: that value kept in memory, nothing stored, no refresh", kEstimateRows,
         "menu 32500 1\nmenu 32502 1\nidle 1\nclick top 3\nidle 3\n@stored\n@palette\n@flush\n",
         std::string("dialog \"Sync All Quantities\" is open\n1 idle event(s)\nclicked item 3 of \"Sync All Quantities\"\n"
                     "3 idle event(s)\n") +
             kFixtureRows + kPaletteBefore +
             "categories: 1|Walls|C1|1||112.0\n"
             "categories: 2|Slabs|C2|2||14.0\n"
             "items: 1|1|1|I1|Wall volume|m3|10.0|10.0|100.0\n"
             "items: 2|1|2|I2|Loose work|pcs|2.0|6.0|12.0\n"
             "items: 3|2|1|I3|Slab volume|m3|2.0|7.0|14.0\n"
             "qties: 1|1|C1000000-0000-4000-8000-000000000001|1|W-1|Volume|9.0\n"
             "qties: 2|1|C1000000-0000-4000-8000-000000000002|2|W-2|Volume|1.0\n"
             "qties: 3|3|C1000000-0000-4000-8000-000000000003|1|S-1|Volume|1.0\n"
             "qties: 4|2||1|Loose|2*3|5.0\n"
             "qties: 5|3||2|Edge||6.0\n"},
        {"a deleted element gives 0.0", kEstimateRows,
         std::string("element ") + kWall2 + " delete\nmenu 32502 1\nidle 4\n@stored\n",
         "deleted element C1000000-0000-4000-8000-000000000002\n"
         "dialog \"Sync All Quantities\" is open\n4 idle event(s)\n"
         "categories: 1|Walls|C1|1||102.0\n"
         "categories: 2|Slabs|C2|2||52.0\n"
         "items: 1|1|1|I1|Wall volume|m3|10.0|9.0|90.0\n"
         "items: 2|1|2|I2|Loose work|pcs|2.0|6.0|12.0\n"
         "items: 3|2|1|I3|Slab volume|m3|2.0|26.0|52.0\n"
         "qties: 1|1|C1000000-0000-4000-8000-000000000001|1|W-1|Volume|9.0\n"
         "qties: 2|1|C1000000-0000-4000-8000-000000000002|2|W-2|Volume|0.0\n"
         "qties: 3|3|C1000000-0000-4000-8000-000000000003|1|S-1|Volume|20.0\n"
         "qties: 4|2||1|Loose|2*3|5.0\n"
         "qties: 5|3||2|Edge||6.0\n"},
        {"no linked quantity: the dialog closes at once and changes nothing",
         "INSERT INTO categories VALUES (1, 'Walls', 'C1', 1, '', 12.0);"
         "INSERT INTO items VALUES (1, 1, 1, 'I1', 'Loose', 'pcs', 2.0, 6.0, 12.0);"
         "INSERT INTO qties VALUES (1, 1, '', 1, 'Loose', '2*3', 5.0);",
         "menu 32502 1\nshow panels\n@flush\n",
         "no panels\n"
         "categories: 1|Walls|C1|1||12.0\n"
         "items: 1|1|1|I1|Loose|pcs|2.0|6.0|12.0\n"
         "qties: 1|1||1|Loose|2*3|5.0\n"},
    };
    for (const Scenario& s : scenarios) {
        AddOnHost addOn(s.estimate);
        EXPECT_EQ(addOn.Run(s.script), s.expected) << s.name;
    }
}

}  // namespace
}  // namespace Commands
