// In-process: the handlers never fail towards the host, the model selection the panel actions read,
// and the estimate the sample project carries.
#include "Calvora/AddOnMain.hpp"
#include "Database/CategoriesTable.hpp"
#include "Database/ItemsTable.hpp"
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
    void Select(const std::vector<const char*>& guids)
    {
        std::vector<GS::Guid> selection(guids.begin(), guids.end());
        host.Select(selection);
    }
    static std::vector<std::string> Guids(const VumoElementsList& list)
    {
        std::vector<std::string> guids;
        for (GS::UIndex i = 0; i < list.GetSize(); ++i)
            guids.push_back(APIGuid2GSGuid(list[i].header.guid).ToString());
        return guids;
    }
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

TEST_F(SampleProject, SelectedElementsAreReadInSelectionOrder)
{
    const struct {
        std::vector<const char*> selected;
        const char* failingRead;  // the host cannot read this one
        std::vector<std::string> read;
        bool sameType;
    } cases[] = {
        {{}, nullptr, {}, true},
        {{S01, W01}, nullptr, {S01, W01}, false},
        // Basic and composite walls, of other stories and sizes: one type.
        {{W05, W01, W02}, nullptr, {W05, W01, W02}, true},
        {{W01, S01, W02}, S01, {W01, W02}, true},
    };
    for (const auto& c : cases) {
        Select(c.selected);
        if (c.failingRead != nullptr)
            host.FailOperation("HostGetElement", c.failingRead);
        VumoElementsList list;
        GetSelectedElements(list);
        host.ClearFailures();
        EXPECT_EQ(Guids(list), c.read) << c.selected.size();
        EXPECT_EQ(AllSameElementType(list), c.sameType) << c.selected.size();
    }

    // An element that can no longer be read counts as another type; a failed selection read gives nothing.
    Select({W01, W02});
    VumoElementsList walls;
    GetSelectedElements(walls);
    ASSERT_EQ(walls.GetSize(), 2u);
    EXPECT_EQ(walls[0].header.typeID, API_WallID);
    host.FailOperation("HostGetElement", W02);
    EXPECT_FALSE(AllSameElementType(walls));
    host.ClearFailures();
    host.FailOperation("HostGetSelection");
    VumoElementsList none;
    GetSelectedElements(none);
    EXPECT_EQ(none.GetSize(), 0u);
}

// Worked out from the sample's stored figures: item quantity = the sum of its quantities, total =
// quantity x price, category total = the sum of its items' totals.
TEST_F(SampleProject, CarriesAnEstimateLinkedToItsElements)
{
    const struct {
        const char* code;
        double qty, price, total;
        int linked, unlinked;
    } items[] = {
        {"00.01", 1.0, 1500.0, 1500.0, 0, 1},
        {"00.02", 234.0, 6.8, 1591.2, 0, 1},           // (10 + 8) x 2 x 6.5
        {"01.01", 32.4, 160.0, 5184.0, 4, 0},          // W-01..W-04 volumes 9 + 7.2 + 9 + 7.2
        {"01.02", 7.74, 185.0, 1431.9, 1, 0},          // W-05 volume
        {"02.01", 0.81, 240.0, 194.4, 3, 0},           // three core volumes of 0.27
        {"02.02", 28.0, 210.0, 5880.0, 1, 0},          // S-01 volume
        {"02.03", 10.0, 95.0, 950.0, 1, 0},            // B-02 length
        {"03.01", 99.6, 12.5, 1245.0, 3, 0},           // W-05 area 18 x 2 + length 6 x 0.6, W-01 area 30 x 2
        {"03.02", 78.19, 38.0, 2971.22, 1, 1},         // Z-01 area 74.69 + 3.5
    };
    const double categoryTotals[] = {3091.2, 6615.9, 7024.4, 4216.22};

    std::size_t next = 0;
    std::size_t c = 0;
    for (const auto& entry : CategoriesTable().findAll()) {
        ASSERT_LT(c, 4u);
        EXPECT_NEAR(entry.value.getDouble("total"), categoryTotals[c++], 1e-9);
        for (Item& item : ItemsTable().getByCategory(entry.key)) {
            ASSERT_LT(next, std::size(items));
            const auto& e = items[next++];
            EXPECT_EQ(item.getString("code").ToUtf8(), e.code);
            EXPECT_NEAR(item.getDouble("qty"), e.qty, 1e-9) << e.code;
            EXPECT_DOUBLE_EQ(item.getDouble("price"), e.price) << e.code;
            EXPECT_NEAR(item.getDouble("total"), e.total, 1e-9) << e.code;
            int linked = 0, unlinked = 0;
            for (auto& q : QtiesTable().findWhere("item_id", item.getInt("id"))) {
                const bool isLinked = !q.value.getString("guid").IsEmpty();
                (isLinked ? linked : unlinked)++;
                // Every stored value is the current one for the model as it stands.
                EXPECT_EQ(ComputeQtyLinkStatus(q.value), isLinked ? LinkUpToDate : LinkNotLinked) << e.code;
            }
            EXPECT_EQ(linked, e.linked) << e.code;
            EXPECT_EQ(unlinked, e.unlinked) << e.code;
        }
    }
    EXPECT_EQ(next, std::size(items));
}

}  // namespace
