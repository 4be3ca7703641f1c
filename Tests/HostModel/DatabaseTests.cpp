#include "HostModelFixture.hpp"

namespace {
HostDatabaseInfo Current()
{
    HostDatabaseInfo info{};
    EXPECT_EQ(HostGetCurrentDatabase(&info), NoError);
    return info;
}

HostDatabaseInfo Request(GS::Int32 typeID, const char* guid = nullptr)
{
    HostDatabaseInfo info{};
    info.typeID = typeID;
    if (guid != nullptr)
        info.databaseUnId = Fx::G(guid);
    return info;
}
}  // namespace

TEST_F(HostModelTest, FloorPlanIsCurrentAtFirst)
{
    HostDatabaseInfo info = Current();
    EXPECT_EQ(info.typeID, APIWind_FloorPlanID);
    EXPECT_STREQ(info.name, "Floor Plan");
    EXPECT_TRUE(info.databaseUnId == Fx::G(Fx::FloorPlanDb));
}

TEST_F(HostModelTest, ModelWithoutDatabasesHasAFloorPlanAndA3DModel)
{
    host.SetProject(Host::Json::parse(R"({"model": {"elements": []}})"));
    EXPECT_EQ(Current().typeID, APIWind_FloorPlanID);
    HostDatabaseInfo model = Request(APIWind_3DModelID);
    ASSERT_EQ(HostChangeDatabase(&model), NoError);
    EXPECT_STREQ(model.name, "3D Model");
    EXPECT_EQ(Current().typeID, APIWind_3DModelID);
    HostDatabaseInfo section = Request(APIWind_SectionID);
    EXPECT_EQ(HostChangeDatabase(&section), APIERR_BADDATABASE);
}

TEST_F(HostModelTest, SwitchToTheModelAndBackIsLogged)
{
    const HostDatabaseInfo kept = Current();
    HostDatabaseInfo model = Request(APIWind_3DModelID);
    ASSERT_EQ(HostChangeDatabase(&model), NoError);
    EXPECT_TRUE(model.databaseUnId == Fx::G(Fx::ModelDb));  // the record is completed
    EXPECT_EQ(Current().typeID, APIWind_3DModelID);
    HostDatabaseInfo back = kept;
    ASSERT_EQ(HostChangeDatabase(&back), NoError);
    EXPECT_EQ(Current().typeID, APIWind_FloorPlanID);

    const auto& log = Host::DatabaseSwitches();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].from.typeID, APIWind_FloorPlanID);
    EXPECT_EQ(log[0].requested.typeID, APIWind_3DModelID);
    EXPECT_EQ(log[0].to.typeID, APIWind_3DModelID);
    EXPECT_EQ(log[0].result, NoError);
    EXPECT_EQ(log[1].from.typeID, APIWind_3DModelID);
    EXPECT_TRUE(log[1].to.databaseUnId == Fx::G(Fx::FloorPlanDb));
    EXPECT_EQ(host.CallLog().back(), "ChangeDatabase 1 -> Floor Plan");
}

namespace {
struct SwitchCase {
    const char* name;
    GS::Int32 typeID;
    const char* guid;
    GSErrCode code;
    const char* landsIn;
};
const SwitchCase kSwitchCases[] = {
    {"section by guid", APIWind_SectionID, Fx::SectionB, NoError, "Section B-B"},
    {"first section of the type", APIWind_SectionID, nullptr, NoError, "Section A-A"},
    {"guid alone", 0, Fx::SectionA, NoError, "Section A-A"},
    {"guid of another type", APIWind_3DModelID, Fx::SectionA, APIERR_BADDATABASE, "Floor Plan"},
    {"type the model lacks", APIWind_DetailID, nullptr, APIERR_BADDATABASE, "Floor Plan"},
    {"unknown guid", APIWind_SectionID, Fx::Missing, APIERR_BADDATABASE, "Floor Plan"},
    {"zeroed record", 0, nullptr, APIERR_BADDATABASE, "Floor Plan"},
};
}  // namespace

TEST_F(HostModelTest, ChangeDatabaseFindsByGuidOrType)
{
    for (const SwitchCase& c : kSwitchCases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Host::SetCurrentDatabase(GS::Guid(Fx::FloorPlanDb)));
        Host::ClearDatabaseSwitches();
        HostDatabaseInfo info = Request(c.typeID, c.guid);
        EXPECT_EQ(HostChangeDatabase(&info), c.code);
        EXPECT_STREQ(Current().name, c.landsIn);
        ASSERT_EQ(Host::DatabaseSwitches().size(), 1u);  // failed attempts are logged too
        EXPECT_EQ(Host::DatabaseSwitches()[0].result, c.code);
        EXPECT_STREQ(Host::DatabaseSwitches()[0].to.name, c.landsIn);
    }
}

TEST_F(HostModelTest, HostsOwnSwitchIsNotLoggedAndTheProjectKeepsIt)
{
    ASSERT_TRUE(Host::SetCurrentDatabase(GS::Guid(Fx::SectionB)));
    EXPECT_FALSE(Host::SetCurrentDatabase(GS::Guid(Fx::Missing)));
    EXPECT_TRUE(Host::DatabaseSwitches().empty());
    EXPECT_STREQ(Host::GetCurrentDatabaseInfo().name, "Section B-B");
    host.SetProject(Host::Json(host.Project()));
    EXPECT_STREQ(Current().name, "Section B-B");
}

TEST_F(HostModelTest, ContainingDatabases)
{
    const struct {
        const char* element;
        const char* database;
        GS::Int32 typeID;
    } cases[] = {{Fx::SectionElement, "Section A-A", APIWind_SectionID},
                 {Fx::BasicWall, "Floor Plan", APIWind_FloorPlanID},
                 {Fx::Stair, "Floor Plan", APIWind_FloorPlanID}};
    for (const auto& c : cases) {
        HostDatabaseInfo info{};
        ASSERT_EQ(HostGetContainingDatabase(Fx::G(c.element), &info), NoError);
        EXPECT_STREQ(info.name, c.database);
        EXPECT_EQ(info.typeID, c.typeID);
    }
    HostDatabaseInfo info{};
    EXPECT_EQ(HostGetContainingDatabase(Fx::G(Fx::Missing), &info), APIERR_BADID);
}

TEST_F(HostModelTest, StoriesLowestFirst)
{
    HostStoryInfo stories{};
    ASSERT_EQ(HostGetStorySettings(&stories), NoError);
    EXPECT_EQ(stories.firstStory, -1);
    EXPECT_EQ(stories.lastStory, 1);
    ASSERT_EQ(BMGetHandleSize(reinterpret_cast<GSConstHandle>(stories.data)),
              static_cast<GSSize>(3 * sizeof(HostStoryType)));
    const HostStoryType* s = *stories.data;
    EXPECT_EQ(s[0].index, -1);
    EXPECT_STREQ(s[0].name, "Basement");
    EXPECT_DOUBLE_EQ(s[0].level, -3.0);
    EXPECT_EQ(s[1].index, 0);
    EXPECT_STREQ(s[1].name, "Ground Floor");
    EXPECT_EQ(s[2].index, 1);
    EXPECT_STREQ(s[2].name, "First Floor");
    BMKillHandle(reinterpret_cast<GSHandle*>(&stories.data));
    ExpectNothingLive();

    host.SetProject(Host::Json::parse(R"({"model": {}})"));
    ASSERT_EQ(HostGetStorySettings(&stories), NoError);
    EXPECT_LT(stories.lastStory, stories.firstStory);
    EXPECT_EQ(BMGetHandleSize(reinterpret_cast<GSConstHandle>(stories.data)), 0);
    BMKillHandle(reinterpret_cast<GSHandle*>(&stories.data));
    ExpectNothingLive();
}
