// The sync dialog's steps in-process, where a test can take a quantity's row away between two idle
// events: a step that throws is passed over and the run goes on; nothing reaches the host.
#include "Database/QtiesTable.hpp"
#include "Dialogs/SyncAllProgressDialog.hpp"
#include "InProcessSupport.hpp"

namespace Commands {
namespace {

std::string Describe(const SyncAllProgressDialog& dialog)
{
    return LinesWith(DG::User::Describe(dialog.GetId()), "  ");
}

class SyncAllSteps : public InProcess {};

TEST_F(SyncAllSteps, NothingLinkedShowsNoneOfNoneAndClosesWithOne)
{
    SetUpProject(host, "INSERT INTO categories VALUES (1, 'Walls', 'C1', 1, '', 0.0);"
                       "INSERT INTO items VALUES (1, 1, 1, 'I1', 'Loose', 'pcs', 2.0, 6.0, 12.0);"
                       "INSERT INTO qties VALUES (1, 1, '', 1, 'Loose', '2*3', 5.0);");
    CalvoraSetHostTable(host.Table());
    ProjectDatabase::instance().reopen();
    SyncAllProgressDialog dialog;
    EXPECT_EQ(dialog.Invoke(), DG::Accept);
    EXPECT_EQ(Describe(dialog), "  1 statictext (10,10,330,19) \"Syncing 0 / 0 quantities...\"\n"
                                "  2 progressbar (10,38,330,18) 0..1 value 0\n"
                                "  3 button (145,72,60,28) \"Cancel\"\n");
    EXPECT_FALSE(ProjectDatabase::instance().isChanged());
}

TEST_F(SyncAllSteps, AStepThatThrowsIsPassedOver)
{
    struct Case {
        const char* name;
        std::function<void()> beforeSecondStep;
        const char* debugFragment;
        std::string rows;
    };
    const std::string syncedQties = Without(Without(kSyncedRows, "categories:"), "items:");
    const Case cases[] = {
        {"the second quantity's row is gone",
         [] {
             Qty gone = QtiesTable().findById(2);
             QtiesTable().remove(gone);
         },
         "Entity not found",
         "categories: 1|Walls|C1|1||102.0\ncategories: 2|Slabs|C2|2||52.0\n"
         "items: 1|1|1|I1|Wall volume|m3|10.0|9.0|90.0\nitems: 2|1|2|I2|Loose work|pcs|2.0|6.0|12.0\n"
         "items: 3|2|1|I3|Slab volume|m3|2.0|26.0|52.0\n" + Without(syncedQties, "|W-2|")},
        {"the quantities' table is gone", [] { ProjectDatabase::instance().execSql("DROP TABLE qties;"); },
         "no such table",
         "categories: 1|Walls|C1|1||112.0\ncategories: 2|Slabs|C2|2||14.0\n"
         "items: 1|1|1|I1|Wall volume|m3|10.0|10.0|100.0\nitems: 2|1|2|I2|Loose work|pcs|2.0|6.0|12.0\n"
         "items: 3|2|1|I3|Slab volume|m3|2.0|7.0|14.0\nqties: missing\n"},
    };
    for (const Case& c : cases) {
        SetUpProject(host, kEstimateRows);
        CalvoraSetHostTable(host.Table());
        ProjectDatabase::instance().reopen();
        debugOutput.clear();
        actions.push_back([] { DG::User::FireIdle(1); });
        actions.push_back(c.beforeSecondStep);
        actions.push_back([] { DG::User::FireIdle(4); });
        SyncAllProgressDialog dialog;
        EXPECT_EQ(dialog.Invoke(), DG::Accept) << c.name;
        EXPECT_NE(debugOutput.find(c.debugFragment), std::string::npos) << c.name << ": " << debugOutput;
        EXPECT_EQ(host.ModuleData("CalvoraDB").has_value() ? RowsOfImage(*host.ModuleData("CalvoraDB")) : "",
                  c.rows)
            << c.name;
    }
}

TEST_F(SyncAllSteps, AnEstimateThatCannotBeReadAlertsAndSyncsNothing)
{
    ProjectDatabase::instance().execSql("DROP TABLE items;");
    SyncAllProgressDialog dialog;
    actions.push_back([] { DG::User::AnswerAlert(1, nullptr); });
    EXPECT_EQ(dialog.Invoke(), DG::Accept);
    ASSERT_EQ(DG::User::AlertLog().size(), 1u);
    EXPECT_EQ(DG::User::AlertLog()[0].ToString(),
              "alert error \"Error\": \"Could not read the quantities to sync.\" / \"\" [\"OK\"] -> 1");
    EXPECT_NE(Describe(dialog).find("Syncing 0 / 0 quantities..."), std::string::npos);
}

}  // namespace
}  // namespace Commands
