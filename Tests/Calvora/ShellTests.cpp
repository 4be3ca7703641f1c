// In-process: the handlers never fail towards the host, the model selection the panel actions read,
// and the estimate the sample project carries.
#include <SQLiteCpp/SQLiteCpp.h>

#include "Calvora/AddOnMain.hpp"
#include "Database/CategoriesTable.hpp"
#include "Database/ItemsTable.hpp"
#include "Database/ProjectDatabase.hpp"
#include "Database/QtiesTable.hpp"
#include "ElementFuncs/QtyEvaluation.hpp"
#include "HostApi/HostCalls.hpp"
#include "Palettes/ModelSelection.hpp"
#include "ScenarioSupport.hpp"

namespace {
using namespace Scenario;

const char* const W02 = "289C7C95-4308-5D6F-BE31-6AA1732362FF";
const char* const S01 = "BCDE866A-48E3-56A9-A8FA-C96B3B9A3710";

class SampleProject : public InProcess {
protected:
    void SetUp() override
    {
        InProcess::SetUp();
        Start(ReadJson(CALVORA_SAMPLES_DIR "/sample-project.json"), nullptr);
    }
    void Select(const std::vector<const char*>& guids) { host.Select(std::vector<GS::Guid>(guids.begin(), guids.end())); }
};

TEST_F(SampleProject, HandlersNeverFailTowardsTheHost)
{
    ASSERT_EQ(Initialize(), NoError);
    for (const API_MenuParams& params : {API_MenuParams{32503, 3}, API_MenuParams{32503, 0}, API_MenuParams{32504, -1},
                                         API_MenuParams{32499, 1}, API_MenuParams{32600, 2}})
        EXPECT_EQ(MenuCommandHandler(&params), NoError) << params.menuResID << "/" << params.itemIndex;
    EXPECT_EQ(MenuCommandHandler(nullptr), NoError);
    EXPECT_EQ(ProjectEventHandler(APINotify_Save, 0), NoError);
    EXPECT_EQ(ProjectEventHandler(static_cast<API_NotifyEventID>(12345), 0), NoError);
    EXPECT_EQ(SelectionChangeHandler(nullptr), NoError);

    // No palette was ever made: New resets the estimate and a selection change does nothing, neither
    // makes one; FreeData still stores the pending change.
    EXPECT_EQ(ProjectEventHandler(APINotify_New, 0), NoError);
    Category pending;
    pending.setString("title", "Pending");
    ASSERT_TRUE(CategoriesTable().save(pending));
    EXPECT_EQ(SelectionChangeHandler(nullptr), NoError);
    EXPECT_TRUE(DG::User::Panels().empty());
    EXPECT_EQ(FreeData(), NoError);
    const auto stored = host.ModuleData("CalvoraDB");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(Query(*stored, "SELECT title FROM categories ORDER BY id"), "Untitled Category\nPending\n");
}

// Elements the host cannot read are left out; one that can no longer be read counts as another type.
TEST_F(SampleProject, SelectedElementsAreReadInSelectionOrder)
{
    const struct {
        std::vector<const char*> selected;
        const char* failingRead;    // the host cannot read this one
        const char* failingReread;  // nor this one, once the list is read
        std::vector<std::string> read;
        bool sameType;
    } cases[] = {
        {{}, nullptr, nullptr, {}, true},
        {{S01, W01}, nullptr, nullptr, {S01, W01}, false},
        // Basic and composite walls, of other stories and sizes: one type.
        {{W05, W01, W02}, nullptr, nullptr, {W05, W01, W02}, true},
        {{W01, S01, W02}, S01, nullptr, {W01, W02}, true},
        {{W01, W02}, nullptr, W02, {W01, W02}, false},
    };
    for (const auto& c : cases) {
        Select(c.selected);
        if (c.failingRead != nullptr)
            host.FailOperation("HostGetElement", c.failingRead);
        VumoElementsList list;
        GetSelectedElements(list);
        host.ClearFailures();
        if (c.failingReread != nullptr)
            host.FailOperation("HostGetElement", c.failingReread);
        std::vector<std::string> read;
        for (const API_Element& element : list)
            read.push_back(APIGuid2GSGuid(element.header.guid).ToString());
        EXPECT_EQ(read, c.read) << c.selected.size();
        EXPECT_TRUE(list.IsEmpty() || list[0].header.typeID == (c.selected[0] == S01 ? API_SlabID : API_WallID));
        EXPECT_EQ(AllSameElementType(list), c.sameType) << c.selected.size();
        host.ClearFailures();
    }
}

// The sample's estimate agrees with itself and with its model: an item's quantity is the sum of its
// quantities, its total quantity x price, a category's total the sum of its items' totals, and a
// linked quantity holds what its formula gives for the model as it stands.
TEST_F(SampleProject, CarriesAnEstimateLinkedToItsElements)
{
    SQLite::Statement disagreeing = ProjectDatabase::instance().prepare(
        "SELECT group_concat(code) FROM items AS i WHERE "
        "abs(qty - (SELECT round(total(value), 2) FROM qties WHERE item_id = i.id)) > 1e-9 OR abs(total - round(qty * price, 2)) > 1e-9 "
        "OR abs((SELECT total FROM categories WHERE id = category_id) - (SELECT total(total) FROM items WHERE category_id = i.category_id)) > 1e-9");
    ASSERT_TRUE(disagreeing.executeStep());
    EXPECT_TRUE(disagreeing.getColumn(0).isNull()) << disagreeing.getColumn(0).getString();
    std::string links;  // per item, "L" for a linked quantity, "-" for another
    for (const Category& category : CategoriesTable().getAll()) {
        for (Item& item : ItemsTable().getByCategory(category.getInt("id"))) {
            links += " " + item.getString("code").ToUtf8() + " ";
            for (auto& qty : QtiesTable().findWhere("item_id", item.getInt("id"))) {
                const bool linked = !qty.value.getString("guid").IsEmpty();
                links += linked ? "L" : "-";
                EXPECT_EQ(ComputeQtyLinkStatus(qty.value), linked ? LinkUpToDate : LinkNotLinked) << links;
            }
        }
    }
    EXPECT_EQ(links, " 00.01 - 00.02 - 01.01 LLLL 01.02 L 02.01 LLL 02.02 L 02.03 L 03.01 LLL 03.02 L-");
}

}  // namespace
