// Failures inside the commands, in-process where a test can break the estimate underneath them:
// the command tells the user with its own alert and nothing reaches the host.
#include "Calvora/MenuCommands.hpp"
#include "InProcessSupport.hpp"

namespace Commands {
namespace {

class CommandFaults : public InProcess {};

TEST_F(CommandFaults, AFailedDumpAlertsAndLeavesTheFileAsItWas)
{
    // A row whose generated column overflows when it is read makes the dump throw half-way.
    ProjectDatabase::instance().execSql("CREATE TABLE zz (a INTEGER); INSERT INTO zz (a) VALUES (1);"
                                        "ALTER TABLE zz ADD COLUMN b AS (abs(-9223372036854775807 - a));");
    const std::string path = TempDir("faults") + "/kept.sql";
    WriteFile(path, "kept");
    Act([path](Int16, std::string* e) { return DG::User::ChooseFile(path, e); });
    Act([](Int16, std::string* e) { return DG::User::AnswerAlert(1, e); });
    DoExportSql();
    EXPECT_TRUE(actions.empty());
    ASSERT_EQ(DG::User::AlertLog().size(), 1u);
    EXPECT_EQ(DG::User::AlertLog()[0].ToString(),
              "alert error \"Error\": \"Could not create the SQL file. Please check the file path and permissions.\" / "
              "\"\" [\"OK\"] -> 1");
    EXPECT_EQ(ReadFile(path), "kept");
    EXPECT_NE(debugOutput.find("DoExportSql"), std::string::npos) << debugOutput;
}

}  // namespace
}  // namespace Commands
