// States the real add-on cannot be brought into from outside: an estimate without categories, and a
// database that fails under an action. The panel runs in-process on the test's own database.
#include <deque>
#include <functional>

#include "DG/DGPanel.hpp"
#include "Database/CategoriesTable.hpp"
#include "EditorTestSupport.hpp"
#include "Palettes/CalvoraPanel.hpp"

namespace {

using namespace EditorTest;

const char* const Estimate =
    "INSERT INTO items (category_id, sort_order, code, descript, unit, price, qty, total) "
    "VALUES (1, 1, 'E-01', 'Excavation', 'm3', 10, 5, 50);"
    "INSERT INTO qties (item_id, guid, sort_order, descript, formula, value) VALUES (1, '', 1, 'a', '2', 2), "
    "(1, '', 2, 'b', '3', 3);";

class PanelInProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        DG::User::ResetLogs();
        CalvoraSetHostTable(host.Table());
        host.SetProject(FixtureProject());
        ProjectDatabase::instance().reopen();
        ProjectDatabase::instance().ensureOpen();
        previousPump = DG::User::SetPump([this] {
            if (answers.empty())
                return false;
            std::string error;
            const Int16 button = answers.front();
            answers.pop_front();
            return DG::User::AnswerAlert(button, &error);
        });
    }
    void TearDown() override
    {
        panel.reset();
        palette.reset();
        DG::User::SetPump(previousPump);
        ProjectDatabase::instance().reopen();
        CalvoraClearHostTable();
    }

    Int16 Open(const char* sql)
    {
        ProjectDatabase::instance().execSql(sql);
        palette = std::make_unique<DG::Palette>(HostGetOwnResModule(), 32401, HostGetOwnResModule());
        panel = std::make_unique<CalvoraPanel>(*palette, 32401);
        palette->Show();
        return palette->GetId();
    }

    Host::StandInHost host;
    std::unique_ptr<DG::Palette> palette;
    std::unique_ptr<CalvoraPanel> panel;
    std::deque<Int16> answers;  // alert buttons, in the order the alerts come
    DG::User::Pump previousPump;
};

TEST_F(PanelInProcess, AnItemNeedsACategory)
{
    const Int16 id = Open("DELETE FROM categories;");
    std::string error;
    ASSERT_TRUE(DG::User::ClickButton(id, CalvoraPanel::AddItemButtonId, &error)) << error;
    EXPECT_EQ(DG::User::AbandonedModals(), 0) << "no editor opens";
    EXPECT_TRUE(DG::User::AlertLog().empty());
    SQLite::Statement count = ProjectDatabase::instance().prepare("SELECT count(*) FROM items");
    ASSERT_TRUE(count.executeStep());
    EXPECT_EQ(count.getColumn(0).getInt(), 0);
}

// A table that fails under the action ends it with an error alert and the panel read again.
TEST_F(PanelInProcess, ADatabaseErrorEndsTheActionCleanly)
{
    struct Case {
        const char* name;
        const char* breakSql;
        std::vector<Int16> selectItems, selectQties;
        Int16 button;
        std::deque<Int16> answers;
        std::vector<std::string> alerts;
        GS::USize items, qties;  // what the panel holds afterwards
    };
    const std::string askQty =
        R"(alert warning "Delete Qty": "Are you sure you want to delete selected quantities?" / "" ["No", "Yes"] -> 2)";
    const std::string askCategory =
        R"(alert warning "Delete Category": "Are you sure you want to delete this category?" / "" ["No", "Yes"] -> 2)";
    const std::vector<Case> cases = {
        {"deleting quantities without their table", "DROP TABLE qties;", {1}, {1, 2}, CalvoraPanel::DeleteQtyButtonId,
         {2, 1}, {askQty, R"(alert error "Error": "The estimate could not be changed." / "no such table: qties" ["OK"] -> 1)"}, 1, 0},
        {"editing an item without the items table", "DROP TABLE items;", {1}, {}, CalvoraPanel::EditItemButtonId,
         {1}, {R"(alert error "Error": "The estimate could not be changed." / "no such table: items" ["OK"] -> 1)"}, 0, 0},
        {"deleting a category without the categories table", "DROP TABLE categories;", {}, {},
         CalvoraPanel::DeleteCategoryButtonId, {2, 1},
         {askCategory, R"(alert error "Error": "The estimate could not be changed." / "no such table: categories" ["OK"] -> 1)"}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        panel.reset();
        palette.reset();
        ProjectDatabase::instance().reopen();
        DG::User::ResetLogs();
        const Int16 id = Open(Estimate);
        std::string error;
        if (!c.selectItems.empty())
            ASSERT_TRUE(DG::User::SelectRows(id, CalvoraPanel::ItemsListId, c.selectItems, &error)) << error;
        if (!c.selectQties.empty())
            ASSERT_TRUE(DG::User::SelectRows(id, CalvoraPanel::QtiesListId, c.selectQties, &error)) << error;
        ProjectDatabase::instance().execSql(c.breakSql);
        answers = c.answers;
        ASSERT_TRUE(DG::User::ClickButton(id, c.button, &error)) << error;
        std::vector<std::string> alerts;
        for (const auto& a : DG::User::AlertLog())
            alerts.push_back(a.ToString());
        EXPECT_EQ(alerts, c.alerts);
        EXPECT_TRUE(answers.empty());
        EXPECT_EQ(panel->GetItemMap().GetSize(), c.items);
        EXPECT_EQ(panel->GetQtyMap().GetSize(), c.qties);
        EXPECT_FALSE(panel->IsQtyRecalcRunning());
    }
}

}  // namespace
