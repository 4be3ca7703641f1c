#include "DatabaseTestSupport.hpp"

namespace {

const char* const WallGuid = "E0000000-0000-4000-8000-000000000001";
const char* const SectionGuid = "5EC00000-0000-4000-8000-000000000001";
const char* const OrphanSectionGuid = "5EC00000-0000-4000-8000-000000000002";
const char* const MissingGuid = "0BADBAD0-0000-4000-8000-000000000009";

// A model with a wall and a section element cut from it; quantities saved against the
// section element must end up linked to the wall.
class SectionElementLinks : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        host->Model()["elements"] = Host::Json::array({
            {{"guid", WallGuid}, {"typeID", "Wall"}, {"id", "W-001"}},
            {{"guid", SectionGuid}, {"typeID", 29}, {"parentGuid", WallGuid}},
            {{"guid", OrphanSectionGuid}, {"typeID", "SectionElement"}, {"parentGuid", MissingGuid}},
        });
        itemId = AddItem(1, 2.0);
    }

    GS::UniString SavedGuid(const char* guid)
    {
        Qty qty;
        qty.setInt("item_id", itemId);
        qty.setString("guid", guid);
        qty.setDouble("value", 1.0);
        EXPECT_TRUE(QtiesTable().save(qty));
        return QtiesTable().findById(qty.getInt("id")).getString("guid");
    }

    GS::Int32 itemId = 0;
};

TEST_F(SectionElementLinks, WhichLinksNeedTheParentGuid)
{
    struct Case {
        const char* guid;
        bool needsParent;
    };
    const std::vector<Case> cases = {
        {"", false},
        {WallGuid, false},
        {SectionGuid, true},
        {"5ec00000-0000-4000-8000-000000000001", true},  // letter case does not matter
        {OrphanSectionGuid, true},
        {MissingGuid, false},
        {"not a guid", false},
    };
    for (const Case& c : cases) {
        Qty qty;
        qty.setString("guid", c.guid);
        EXPECT_EQ(qty.linkNeedsParentGuid(), c.needsParent) << c.guid;
    }
}

TEST_F(SectionElementLinks, SavedQuantityLinksToTheElementItStandsFor)
{
    struct Case {
        const char* guid;
        const char* stored;
    };
    const std::vector<Case> cases = {
        {SectionGuid, WallGuid},
        {WallGuid, WallGuid},
        {MissingGuid, MissingGuid},
        {"", ""},
        // The orphan is read (its record names its parent), so the parent's guid is stored.
        {OrphanSectionGuid, MissingGuid},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SavedGuid(c.guid), GS::UniString(c.stored)) << c.guid;
}

TEST_F(SectionElementLinks, AnExistingQuantityIsRedirectedOnItsNextSave)
{
    Qty qty;
    qty.setInt("item_id", itemId);
    qty.setString("guid", WallGuid);
    ASSERT_TRUE(QtiesTable().save(qty));
    qty.setString("guid", SectionGuid);
    ASSERT_TRUE(QtiesTable().save(qty));
    EXPECT_EQ(QtiesTable().findById(qty.getInt("id")).getString("guid"), GS::UniString(WallGuid));
    EXPECT_EQ(qty.getString("guid"), GS::UniString(WallGuid));
}

TEST_F(SectionElementLinks, UnreadableSectionElementKeepsItsGuid)
{
    host->FailOperation("HostGetElement", SectionGuid);
    EXPECT_EQ(SavedGuid(SectionGuid), GS::UniString(SectionGuid));
}

TEST_F(SectionElementLinks, UnreadableHeaderMeansNoRedirect)
{
    host->FailOperation("HostGetElementHeader", SectionGuid);
    Qty qty;
    qty.setString("guid", SectionGuid);
    EXPECT_FALSE(qty.linkNeedsParentGuid());
    EXPECT_EQ(SavedGuid(SectionGuid), GS::UniString(SectionGuid));
}

}  // namespace
