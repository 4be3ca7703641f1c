// What the text view cannot reach: the panel linked in-process, on a palette of its own, with the
// database at hand (guards against database errors, the registry of live panels, ShowItem).
#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "DG/DGUser.hpp"
#include "GSRoot/Debug.hpp"
#include "HostApi/HostCalls.hpp"
#include "Palettes/CalvoraPanel.hpp"
#include "PaletteTestSupport.hpp"

namespace {

using namespace PaletteTest;

struct OpenPanel {
    OpenPanel()
        : palette(HostGetOwnResModule(), 32401, HostGetOwnResModule()), panel(palette, 32401)
    {
        palette.Show();
    }
    Int16 Id() const { return palette.GetId(); }
    DG::Palette palette;
    CalvoraPanel panel;
};

class InProcessPanel : public ::testing::Test {
protected:
    void SetUp() override
    {
        CalvoraSetHostTable(host.Table());
        host.SetProject(FixtureProject());
        ProjectDatabase::instance().reopen();
        BuildEstimate();
        GS::SetDebugCapture([this](const std::string& line) { debug += line; });
    }
    void TearDown() override
    {
        GS::SetDebugCapture({});
        ProjectDatabase::instance().reopen();
        CalvoraClearHostTable();
    }

    UserLocale pointLocale{"C"};
    Host::StandInHost host;
    std::string debug;
    std::string error;
};

TEST_F(InProcessPanel, DatabaseErrorsInHandlersGoToTheDebugOutput)
{
    using Action = bool (*)(Int16, std::string*);
    const std::tuple<const char*, Action, const char*> cases[] = {
        {"items", [](Int16 p, std::string* e) { return DG::User::ChooseEntry(p, 2, 2, e); }, "PopUpChanged"},
        {"qties", [](Int16 p, std::string* e) { return DG::User::SelectRows(p, 5, {1}, e); },
         "ListBoxSelectionChanged"},
    };
    for (const auto& [table, action, handler] : cases) {
        ProjectDatabase::instance().reopen();
        BuildEstimate();
        OpenPanel open;
        debug.clear();
        ProjectDatabase::instance().execSql(GS::UniString("DROP TABLE ") + table);
        EXPECT_TRUE(action(open.Id(), &error)) << error;  // nothing escapes to the user side
        EXPECT_NE(debug.find(std::string("CalvoraPanel::") + handler + ": no such table: " + table), std::string::npos)
            << debug;
    }
}

TEST_F(InProcessPanel, RefusedReorderLeavesTheRowTextsAsTheyWere)
{
    OpenPanel open;
    ProjectDatabase::instance().execSql("DROP TABLE items");
    ASSERT_TRUE(DG::User::DragRow(open.Id(), 5, 3, 1, &error)) << error;  // the list has moved the row
    ExpectLines(Scope(DG::User::Describe(open.Id()), "5"), {"row 1 value 3 | \"3\" | \"E-03\" | \"Transport\" | "
                "\"m3\" | \"1.00\" | \"1234.50\" | \"1234.50\""}, "refused");
    EXPECT_EQ(open.panel.GetItemMap().Get(3).getInt("sort_order"), 3);
}

TEST_F(InProcessPanel, RecheckTimersAreFoundThroughTheRegistryOfLivePanels)
{
    auto first = std::make_unique<OpenPanel>();
    OpenPanel second;
    ASSERT_TRUE(DG::User::SelectRows(first->Id(), 5, {1}, &error)) << error;  // 5 quantities
    ASSERT_TRUE(DG::User::SelectRows(second.Id(), 5, {2}, &error)) << error;  // 1 quantity
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

TEST_F(InProcessPanel, NoCategoryLeavesNoItemsAndNoTotal)
{
    OpenPanel open;
    ASSERT_EQ(open.panel.GetItemMap().GetSize(), 3u);
    ProjectDatabase::instance().execSql("DELETE FROM categories");
    open.panel.RefreshCategories();
    EXPECT_TRUE(open.panel.GetItemMap().IsEmpty());
    ExpectLines(Scope(DG::User::Describe(open.Id()), ""),
                {"2 popup (5,23,390,20) selected 0", "3 statictext (5,50,690,50)",
                 "22 statictext (265,313,220,18) right",
                 "11 iconbutton (465,22,28,28) disabled tooltip \"Delete Category\" icon 32552 \"Delete\"", "!row "},
                "no category");
}

TEST_F(InProcessPanel, ShowItemSelectsItsCategoryAndRow)
{
    OpenPanel open;
    const std::pair<Int32, std::vector<std::string>> cases[] = {
        {4, {"2 popup (5,23,390,20) selected 2", "5 singlelist (5,110,500,190) rowHeight 36 scroll 1 rows 1",
             "row 1 value 4 selected | \"1\" | \"C-01\" | \"Footing\" | \"m3\" | \"0.00\" | \"100.00\" | \"0.00\""}},
        {3, {"2 popup (5,23,390,20) selected 1", "5 singlelist (5,110,500,190) rowHeight 36 scroll 2 rows 3",
             "row 3 value 3 selected | \"3\" | \"E-03\" | \"Transport\" | \"m3\" | \"1.00\" | \"1234.50\" | "
             "\"1234.50\"",
             "row 1 value 7 | \"1\" | \"Trip\" | \"1\" | \"1.00\" | \"\""}},
        {1, {"5 singlelist (5,110,500,190) rowHeight 36 scroll 1 rows 3",
             "8 multilist (513,135,182,165) rowHeight 18 scroll 1 rows 5"}},
    };
    for (const auto& [item, lines] : cases) {
        open.panel.ShowItem(item);
        ExpectLines(Scope(DG::User::Describe(open.Id()), ""), lines, "item " + std::to_string(item));
    }
    // An item that is gone, or none: the panel stays as it is.
    const std::string before = DG::User::Describe(open.Id());
    for (Int32 gone : {0, 999}) {
        open.panel.ShowItem(gone);
        EXPECT_EQ(DG::User::Describe(open.Id()), before) << gone;
    }
}

}  // namespace
