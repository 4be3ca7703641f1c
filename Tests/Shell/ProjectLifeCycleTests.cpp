// The add-on's handlers, linked in-process and driven by the stand-in host's project life cycle.
#include <gtest/gtest.h>

#include <fstream>

#include "Calvora/AddOnMain.hpp"
#include "HostApi/HostCalls.hpp"
#include "Database/CategoriesTable.hpp"
#include "Database/ProjectDatabase.hpp"
#include "Host/StandInHost.hpp"

namespace {

class LifeCycle : public ::testing::Test {
protected:
    void SetUp() override
    {
        CalvoraSetHostTable(host.Table());
        ASSERT_EQ(Initialize(), NoError);
        ProjectDatabase::instance().reopen();
    }
    void TearDown() override
    {
        FreeData();
        ProjectDatabase::instance().reopen();
        CalvoraClearHostTable();
    }

    static std::vector<std::string> Titles()
    {
        std::vector<std::string> titles;
        for (const auto& c : CategoriesTable().getAll())
            titles.push_back(c.getString("title").ToUtf8());
        return titles;
    }

    static void AddCategory(const char* title)
    {
        Category c;
        c.setString("title", title);
        ASSERT_TRUE(CategoriesTable().save(c));
    }

    std::string SaveAs(const std::string& name)
    {
        std::string path = std::string(::testing::TempDir()) + "calvora_lifecycle_" + name + ".json";
        std::string error;
        EXPECT_TRUE(host.SaveProject(path, &error)) << error;
        return path;
    }

    Host::StandInHost host;
};

TEST_F(LifeCycle, CloseStoresAndOpenLoadsTheOpenedProjectsEstimate)
{
    AddCategory("Earthworks");
    ASSERT_TRUE(ProjectDatabase::instance().isChanged());
    host.CloseProject();  // stored into the project that closes, which the host then drops
    EXPECT_FALSE(ProjectDatabase::instance().isOpen());

    // Project A carries an estimate, project B none.
    host.SetProject(Host::Json::object());
    AddCategory("Concrete");
    ProjectDatabase::instance().saveToProject();
    std::string a = SaveAs("a");
    host.SetProject(Host::Json::object());
    std::string b = SaveAs("b");

    std::string error;
    ASSERT_TRUE(host.OpenProject(a, &error)) << error;
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Untitled Category", "Concrete"}));
    AddCategory("Masonry");

    ASSERT_TRUE(host.OpenProject(b, &error)) << error;  // Close of A stores Masonry into A
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Untitled Category"}));
    EXPECT_FALSE(host.ModuleData("CalvoraDB").has_value()) << "opening B stores nothing into B";

    ASSERT_TRUE(host.OpenProject(a, &error)) << error;
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Untitled Category", "Concrete"}))
        << "A on disk was saved before Masonry was added";
}

TEST_F(LifeCycle, NewStoresPendingChangesIntoTheOldProjectAndStartsEmpty)
{
    AddCategory("Roofing");
    host.NewProject();
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Untitled Category"}));
    EXPECT_FALSE(host.ModuleData("CalvoraDB").has_value()) << "the old estimate must not leak into the new project";
    EXPECT_FALSE(ProjectDatabase::instance().isChanged());
}

TEST_F(LifeCycle, AProjectWithoutEstimateStoresNothingAtClose)
{
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Untitled Category"}));
    host.CloseProject();
    EXPECT_FALSE(host.ModuleData("CalvoraDB").has_value());
}

TEST_F(LifeCycle, FreeDataStoresPendingChangesWithoutAPalette)
{
    AddCategory("Finishes");
    EXPECT_EQ(FreeData(), NoError);
    ASSERT_TRUE(host.ModuleData("CalvoraDB").has_value());
    EXPECT_FALSE(ProjectDatabase::instance().isChanged());

    // The handlers are gone: a later project event does not reach the add-on.
    ProjectDatabase::instance().ensureOpen();
    AddCategory("Unstored");
    host.CloseProject();
    EXPECT_TRUE(ProjectDatabase::instance().isOpen());
    EXPECT_TRUE(ProjectDatabase::instance().isChanged());
    ASSERT_EQ(Initialize(), NoError);
}

TEST_F(LifeCycle, HandlersNeverFailTowardsTheHost)
{
    struct Case {
        GS::Int16 menu;
        GS::Int32 entry;
    } menus[] = {{32503, 3}, {32503, 0}, {32504, -1}, {32499, 1}, {32600, 2}};
    for (const auto& m : menus) {
        API_MenuParams params{m.menu, m.entry};
        EXPECT_EQ(MenuCommandHandler(&params), NoError) << m.menu << "/" << m.entry;
    }
    EXPECT_EQ(MenuCommandHandler(nullptr), NoError);
    EXPECT_EQ(ProjectEventHandler(APINotify_Save, 0), NoError);
    EXPECT_EQ(ProjectEventHandler(static_cast<API_NotifyEventID>(12345), 0), NoError);
    EXPECT_EQ(SelectionChangeHandler(nullptr), NoError);
    host.Select({});  // a selection change while no palette is visible does nothing
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Untitled Category"}));
}

}  // namespace

namespace {

TEST(Menus, CheckMarksAreKeptPerEntry)
{
    Host::StandInHost host;
    CalvoraSetHostTable(host.Table());
    ASSERT_EQ(RegisterInterface(), NoError);
    ASSERT_EQ(host.Menus().size(), 5u);

    API_MenuItemRef palette{32500, 1};
    API_MenuItemRef explorer{32501, 1};
    GSFlags flags = API_MenuItemChecked;
    ASSERT_EQ(HostSetMenuItemFlags(&palette, &flags), NoError);
    GSFlags read = 0;
    ASSERT_EQ(HostGetMenuItemFlags(&palette, &read), NoError);
    EXPECT_EQ(read, API_MenuItemChecked);
    ASSERT_EQ(HostGetMenuItemFlags(&explorer, &read), NoError);
    EXPECT_EQ(read, 0);
    EXPECT_NE(host.DescribeMenus().find("1. Show Calvora Palette [checked]"), std::string::npos);

    API_MenuItemRef missing{32503, 3};
    EXPECT_NE(HostGetMenuItemFlags(&missing, &read), NoError);
    EXPECT_NE(HostSetMenuItemFlags(&missing, &flags), NoError);
    CalvoraClearHostTable();
}

}  // namespace
