#include <cstring>
#include <tuple>

#include "DatabaseTestSupport.hpp"

namespace {

// Copies are deep and carry the new flag, the message and the link status; a message is cut to 199 bytes, never inside a character, and always terminated.
TEST(Qty, CopiesCarryEverythingAndMessagesAreCutTo199Bytes)
{
    Qty source;
    EXPECT_EQ(source.linkStatus, LinkNotComputed);
    EXPECT_STREQ(source.errorText, "");
    source.isNew = false;
    source.setString("formula", "Volume*2");
    source.setErrorText("Variable was not defined: Volume.");
    source.linkStatus = LinkOutdated;
    Qty copied(source), assigned;
    assigned = source;
    source.setString("formula", "changed");
    source.setErrorText(nullptr);
    EXPECT_STREQ(source.errorText, "");
    for (const Qty* qty : {&copied, &assigned}) {
        EXPECT_FALSE(qty->isNew);
        EXPECT_STREQ(qty->errorText, "Variable was not defined: Volume.");
        EXPECT_EQ(qty->linkStatus, LinkOutdated);
        EXPECT_EQ(qty->getString("formula"), GS::UniString("Volume*2"));
    }

    const std::string d198(198, 'd');
    for (const auto& [message, expected] : std::vector<std::pair<std::string, std::string>>{
             {"", ""}, {std::string(199, 'a'), std::string(199, 'a')}, {std::string(200, 'b'), std::string(199, 'b')},
             {d198 + "\xC3\xA9tail", d198}}) {  // a two-byte character across the cut goes whole
        Qty qty;
        std::memset(qty.errorText, 'x', sizeof qty.errorText);
        qty.setErrorText(message.c_str());
        EXPECT_EQ(qty.errorText[199], '\0') << message.size();
        EXPECT_EQ(std::string(qty.errorText), expected) << message.size();
    }
}

const char* const WallGuid = "E0000000-0000-4000-8000-000000000001";
const char* const SectionGuid = "5EC00000-0000-4000-8000-000000000001";
const char* const OrphanGuid = "5EC00000-0000-4000-8000-000000000002";
const char* const MissingGuid = "0BADBAD0-0000-4000-8000-000000000009";

// A quantity saved against a section element (type 29) is linked to the element it was cut from.
class SectionElementLinks : public DatabaseTest {};

TEST_F(SectionElementLinks, SavedQuantityLinksToTheElementItStandsFor)
{
    host->Model()["elements"] = Host::Json::array({
        {{"guid", WallGuid}, {"typeID", "Wall"}},
        {{"guid", SectionGuid}, {"typeID", 29}, {"parentGuid", WallGuid}},
        {{"guid", OrphanGuid}, {"typeID", "SectionElement"}, {"parentGuid", MissingGuid}},
    });
    // The guid saved, whether it needs the parent's, the guid stored, a host call failing for the section element.
    const std::vector<std::tuple<const char*, bool, const char*, const char*>> cases = {
        {WallGuid, false, WallGuid, ""},
        {SectionGuid, true, WallGuid, ""},
        {"5ec00000-0000-4000-8000-000000000001", true, WallGuid, ""},
        {OrphanGuid, true, MissingGuid, ""},  // its record still names its parent
        {MissingGuid, false, MissingGuid, ""},
        {SectionGuid, true, SectionGuid, "HostGetElement"},
        {SectionGuid, false, SectionGuid, "HostGetElementHeader"},
    };
    const GS::Int32 itemId = AddItem(1, 2.0);
    for (const auto& [guid, needsParent, stored, failing] : cases) {
        host->ClearFailures();
        if (*failing)
            host->FailOperation(failing, SectionGuid);
        Qty qty;
        qty.setInt("item_id", itemId);
        for (int save = 0; save < 2; ++save) {  // as a new quantity, then as an existing one
            qty.setString("guid", guid);
            EXPECT_EQ(qty.linkNeedsParentGuid(), needsParent) << guid << failing;
            ASSERT_TRUE(QtiesTable().save(qty));
            EXPECT_EQ(QtiesTable().findById(qty.getInt("id")).getString("guid"), GS::UniString(stored))
                << guid << " " << failing << " save " << save;
        }
    }
}

}  // namespace
