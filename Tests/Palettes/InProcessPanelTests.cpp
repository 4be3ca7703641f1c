// What the text view cannot reach: the panel linked in-process on a palette of its own, with the
// database at hand to break under it (errors end an action cleanly or go to the debug output), no
// category at all, and the registry of live panels that finds the re-check timers.
#include <SQLiteCpp/SQLiteCpp.h>

#include <memory>

#include "Database/ProjectDatabase.hpp"
#include "HostApi/HostCalls.hpp"
#include "Palettes/CalvoraPanel.hpp"
#include "ResourceNames.hpp"
#include "ScenarioSupport.hpp"

namespace {
using namespace Scenario;

// Item 1 with five unlinked quantities (ids 1-5), item 2 with one (id 6), in the fresh estimate's category.
const std::string Estimate =
    "INSERT INTO items (category_id, sort_order, code, descript, unit, price, qty, total) VALUES "
    "(1, 1, 'E-01', 'Excavation', 'm3', 10, 8, 80), (1, 2, 'E-02', 'Backfill', 'm3', 2, 1, 2);"
    "INSERT INTO qties (item_id, guid, sort_order, descript, formula, value) VALUES (1, '', 1, 'a', '2', 2), "
    "(1, '', 2, 'b', '3', 3), (1, '', 3, 'c', '1', 1), (1, '', 4, 'd', '1', 1), (1, '', 5, 'e', '1', 1), (2, '', 1, 'f', '1', 1);";

struct OpenPanel {
    OpenPanel()
        : palette(HostGetOwnResModule(), CalvoraPaletteItems::ResourceId, HostGetOwnResModule()),
          panel(palette, CalvoraPaletteItems::ResourceId)
    {
        palette.Show();
    }
    Int16 Id() const { return palette.GetId(); }
    DG::Palette palette;
    CalvoraPanel panel;
};

using PanelInProcess = InProcess;

// A table that fails under an action ends it with an error alert and the panel read again; one that
// fails under a selection goes to the debug output. Nothing reaches the host.
TEST_F(PanelInProcess, ADatabaseErrorEndsTheActionCleanly)
{
    std::string error;
    const std::string failed = R"~(alert error "Error": "The estimate could not be changed." / "no such table: )~";
    const struct {
        const char* table;
        std::vector<Int16> items, qties;
        Int16 button;  // 0: a selection instead
        std::vector<Int16> answers;
        std::vector<std::string> alerts;
        GS::USize itemsAfter, qtiesAfter;
    } cases[] = {
        {"qties", {1}, {1, 2}, CalvoraPaletteItems::DeleteQtyButton, {2, 1},
         {R"~(alert warning "Delete Qty": "Are you sure you want to delete selected quantities?" / "" ["No", "Yes"] -> 2)~",
          failed + "qties\" [\"OK\"] -> 1"}, 2, 0},
        {"items", {1}, {}, CalvoraPaletteItems::EditItemButton, {1}, {failed + "items\" [\"OK\"] -> 1"}, 0, 0},
        {"categories", {}, {}, CalvoraPaletteItems::DeleteCategoryButton, {2, 1},
         {R"~(alert warning "Delete Category": "Are you sure you want to delete this category?" / "" ["No", "Yes"] -> 2)~",
          failed + "categories\" [\"OK\"] -> 1"}, 0, 0},
        {"qties", {}, {}, 0, {}, {}, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.table) + " " + std::to_string(c.button));
        DG::User::ResetLogs();
        Start(FixtureProject(), Estimate.c_str());
        OpenPanel open;
        ASSERT_TRUE(c.items.empty() || DG::User::SelectRows(open.Id(), CalvoraPaletteItems::ItemsList, c.items, &error)) << error;
        ASSERT_TRUE(c.qties.empty() || DG::User::SelectRows(open.Id(), CalvoraPaletteItems::QtiesList, c.qties, &error)) << error;
        ProjectDatabase::instance().execSql(GS::UniString("DROP TABLE ") + c.table);
        for (Int16 answer : c.answers)
            Act([answer](Int16, std::string* e) { return DG::User::AnswerAlert(answer, e); });
        debug.clear();
        ASSERT_TRUE(c.button != 0 ? DG::User::ClickButton(open.Id(), c.button, &error)
                                  : DG::User::SelectRows(open.Id(), CalvoraPaletteItems::ItemsList, {1}, &error)) << error;
        std::vector<std::string> alerts;
        for (const auto& a : DG::User::AlertLog())
            alerts.push_back(a.ToString());
        EXPECT_EQ(alerts, c.alerts);
        EXPECT_TRUE(actions.empty());
        if (c.button == 0) {
            EXPECT_NE(debug.find("CalvoraPanel::ListBoxSelectionChanged: no such table: qties"), std::string::npos) << debug;
            continue;
        }
        EXPECT_EQ(open.panel.GetItemMap().GetSize(), c.itemsAfter);
        EXPECT_EQ(open.panel.GetQtyMap().GetSize(), c.qtiesAfter);
        EXPECT_FALSE(open.panel.IsQtyRecalcRunning());
    }
}

TEST_F(PanelInProcess, ARefusedReorderLeavesTheRowsAsTheyWere)
{
    std::string error;
    Start(FixtureProject(), Estimate.c_str());
    OpenPanel open;
    ProjectDatabase::instance().execSql("DROP TABLE items");
    // The list has moved the row.
    ASSERT_TRUE(DG::User::DragRow(open.Id(), CalvoraPaletteItems::ItemsList, 2, 1, &error)) << error;
    EXPECT_TRUE(Shows(Scope(DG::User::Describe(open.Id()), "5"), "row 1 value 2 | \"2\" | \"E-02\""))
        << DG::User::Describe(open.Id());
    EXPECT_EQ(open.panel.GetItemMap().Get(2).getInt("sort_order"), 2);
}

// With no category the panel holds no items and shows no total, and "Add New Item" opens nothing.
TEST_F(PanelInProcess, NoCategoryLeavesNoItemsAndNoTotal)
{
    std::string error;
    Start(FixtureProject(), Estimate.c_str());
    OpenPanel open;
    ASSERT_EQ(open.panel.GetItemMap().GetSize(), 2u);
    ProjectDatabase::instance().execSql("DELETE FROM categories");
    open.panel.RefreshCategories();
    EXPECT_TRUE(open.panel.GetItemMap().IsEmpty());
    EXPECT_TRUE(Shows(Plain(DG::User::Describe(open.Id())), "=2 popup selected 0\n=3 statictext\n!row \n"
                      "=11 iconbutton disabled tooltip \"Delete Category\" icon 32552 \"Delete\"\n=22 statictext right"));
    ASSERT_TRUE(DG::User::ClickButton(open.Id(), CalvoraPaletteItems::AddItemButton, &error)) << error;
    EXPECT_EQ(DG::User::AbandonedModals(), 0) << "no editor opens";
    EXPECT_TRUE(DG::User::AlertLog().empty());
    SQLite::Statement saved = ProjectDatabase::instance().prepare("SELECT count(*) FROM items WHERE category_id = 0");
    ASSERT_TRUE(saved.executeStep());
    EXPECT_EQ(saved.getColumn(0).getInt(), 0);
}

TEST_F(PanelInProcess, RecheckTimersAreFoundThroughTheRegistryOfLivePanels)
{
    std::string error;
    Start(FixtureProject(), Estimate.c_str());
    auto first = std::make_unique<OpenPanel>();
    OpenPanel second;
    const Int16 items = CalvoraPaletteItems::ItemsList;
    ASSERT_TRUE(DG::User::SelectRows(first->Id(), items, {1}, &error)) << error;   // 5 quantities
    ASSERT_TRUE(DG::User::SelectRows(second.Id(), items, {2}, &error)) << error;  // 1 quantity
    const std::uintptr_t firstTimer = first->panel.GetRecheckTimer();
    ASSERT_NE(firstTimer, 0u);
    ASSERT_NE(firstTimer, second.panel.GetRecheckTimer());
    DG::User::FireTimerTicks(1);
    EXPECT_EQ(first->panel.GetRecheckPosition(), 1u);
    EXPECT_EQ(second.panel.GetRecheckPosition(), 1u);

    // Ids that name no live panel are ignored, a panel's address among them.
    const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(&second.panel);
    for (std::uintptr_t unknown : {std::uintptr_t(0), firstTimer + 1000, address})
        CalvoraPanel::QtyRecalcTimerProc(nullptr, 0, unknown, 0);
    EXPECT_EQ(second.panel.GetRecheckPosition(), 1u);

    // Destroying a panel kills its timer by the id it was started with; a late tick finds nothing.
    first.reset();
    EXPECT_EQ(DG::User::RunningTimerCount(), 1);
    CalvoraPanel::QtyRecalcTimerProc(HostGetMainWindow(), 0, firstTimer, 0);
    DG::User::FireTimerTicks(1);
    EXPECT_EQ(DG::User::RunningTimerCount(), 0);
    EXPECT_EQ(second.panel.GetQtyMap().Get(6).getLinkStatus(), LinkNotLinked);
}

}  // namespace
