#include <set>

#include "HostModelFixture.hpp"

namespace {
std::string Joined(const std::vector<std::string>& problems)
{
    std::string all;
    for (const auto& p : problems)
        all += p + "\n";
    return all;
}
}  // namespace

class SampleProjectTest : public HostModelTest {
protected:
    void SetUp() override
    {
        HostModelTest::SetUp();
        host.SetProject(Fx::LoadJson(SAMPLE_PROJECT));
    }
    const Host::Json& Elements() { return host.Model()["elements"]; }
};

TEST_F(SampleProjectTest, ModelIsSound)
{
    EXPECT_EQ(Joined(Host::CheckModel(host.Model())), "");
    EXPECT_EQ(Joined(Host::CheckModel(Fx::LoadJson(HOSTMODEL_FIXTURE)["model"])), "");
}

TEST_F(SampleProjectTest, HoldsEverySupportedTypeAndASectionElement)
{
    std::set<GS::Int32> types;
    for (const auto& e : Elements())
        types.insert(Read(e["guid"].get<std::string>().c_str()).header.typeID);
    for (GS::Int32 t : {API_WallID, API_ColumnID, API_BeamID, API_WindowID, API_ObjectID, API_SlabID, API_RoofID,
                        API_ZoneID, API_HatchID, API_LineID, API_PolyLineID, API_CurtainWallID, API_MorphID,
                        API_StairID, API_RailingID, API_SectElemID})
        EXPECT_EQ(types.count(t), 1u) << "type " << t;
}

TEST_F(SampleProjectTest, CompositeAndProfiledElementsHaveTheirAttributes)
{
    int compositeWalls = 0, compositeSlabs = 0, profiledWalls = 0, profiledBeams = 0, profiledColumns = 0;
    for (const auto& e : Elements()) {
        const std::string guid = e["guid"].get<std::string>();
        API_Element element = Read(guid.c_str());
        GS::Int32 composite = 0, profile = 0;
        switch (element.header.typeID) {
            case API_WallID:
                if (element.wall.modelElemStructureType == API_CompositeStructure) {
                    ++compositeWalls;
                    composite = element.wall.composite;
                } else if (element.wall.modelElemStructureType == API_ProfileStructure) {
                    ++profiledWalls;
                    profile = element.wall.profileAttr;
                }
                break;
            case API_SlabID:
                if (element.slab.modelElemStructureType == API_CompositeStructure) {
                    ++compositeSlabs;
                    composite = element.slab.composite;
                }
                break;
            case API_BeamID:
            case API_ColumnID: {
                API_ElementMemo memo{};
                ASSERT_EQ(HostGetElementMemo(element.header.guid, &memo, APIMemoMask_All), NoError);
                const bool beam = element.header.typeID == API_BeamID;
                GS::Int32 structure = beam ? memo.beamSegments[0].modelElemStructureType
                                           : memo.columnSegments[0].modelElemStructureType;
                if (structure == API_ProfileStructure) {
                    (beam ? profiledBeams : profiledColumns)++;
                    profile = beam ? memo.beamSegments[0].profileAttr : memo.columnSegments[0].profileAttr;
                }
                HostDisposeElementMemo(&memo);
                break;
            }
            default: break;
        }
        if (composite != 0) {
            SCOPED_TRACE(guid);
            HostAttributeDef def{};
            ASSERT_EQ(HostGetAttributeDef(HostAttr_Composite, composite, &def), NoError);
            GS::Array<API_CompositeQuantity> skins;
            HostQuantitiesMask mask;
            HostMaskClear(&mask);
            HostMaskSet(mask.composites.volume);
            API_Quantities out{nullptr, &skins};
            ASSERT_EQ(HostGetElementQuantities(element.header.guid, nullptr, &out, &mask), NoError);
            EXPECT_EQ(skins.GetSize() * sizeof(HostCompositeSkin),
                      static_cast<std::size_t>(BMGetHandleSize(reinterpret_cast<GSConstHandle>(def.skins))));
            HostDisposeAttributeDef(&def);
        }
        if (profile != 0) {
            SCOPED_TRACE(guid);
            HostAttributeDefExt ext{};
            ASSERT_EQ(HostGetAttributeDefExt(HostAttr_Profile, profile, &ext), NoError);
            EXPECT_NE(ext.profile_vectorImageItems, nullptr);
            HostDisposeAttributeDefExt(&ext);
        }
    }
    EXPECT_GE(compositeWalls, 1);
    EXPECT_GE(compositeSlabs, 1);
    EXPECT_GE(profiledWalls, 1);
    EXPECT_GE(profiledBeams, 1);
    EXPECT_GE(profiledColumns, 1);
    ExpectNothingLive();
}

TEST_F(SampleProjectTest, EveryMeasuredElementAnswersAFullRequest)
{
    int measured = 0;
    for (const auto& e : Elements()) {
        const std::string guid = e["guid"].get<std::string>();
        const GS::Int32 type = Read(guid.c_str()).header.typeID;
        HostElementQuantity q{};
        API_Quantities out{&q, nullptr};
        const GSErrCode code = HostGetElementQuantities(Fx::G(guid.c_str()), nullptr, &out, nullptr);
        if (Host::HasQuantityRecord(type)) {
            EXPECT_EQ(code, NoError) << guid;
            ++measured;
        } else {
            EXPECT_EQ(code, APIERR_BADELEMTYPE) << guid;
        }
    }
    EXPECT_GE(measured, 20);
}

TEST_F(SampleProjectTest, SectionElementStandsForAReadableParentInASection)
{
    int sections = 0;
    for (const auto& e : Elements()) {
        API_Element element = Read(e["guid"].get<std::string>().c_str());
        if (element.header.typeID != API_SectElemID)
            continue;
        ++sections;
        HostDatabaseInfo db{};
        ASSERT_EQ(HostGetContainingDatabase(element.header.guid, &db), NoError);
        EXPECT_EQ(db.typeID, APIWind_SectionID);
        API_Element parent{};
        parent.header.guid = element.sectElem.parentGuid;
        ASSERT_EQ(HostGetElement(&parent), NoError);
        EXPECT_EQ(parent.header.typeID, element.sectElem.parentID);
    }
    EXPECT_EQ(sections, 1);
}

TEST_F(SampleProjectTest, PropertiesParametersAndProjectInformation)
{
    int withProperties = 0, withParams = 0;
    for (const auto& e : Elements()) {
        API_Element element = Read(e["guid"].get<std::string>().c_str());
        GS::Array<API_PropertyDefinition> defs;
        ASSERT_EQ(HostGetElementPropertyDefinitions(element.header.guid, 0, &defs), NoError);
        GS::Array<API_Guid> guids;
        for (const auto& d : defs)
            guids.Push(d.guid);
        GS::Array<API_Property> props;
        ASSERT_EQ(HostGetElementProperties(element.header.guid, guids, &props), NoError);
        for (const auto& p : props)
            withProperties += p.isDefault ? 0 : 1;
        if (element.header.hasMemo) {
            API_ElementMemo memo{};
            ASSERT_EQ(HostGetElementMemo(element.header.guid, &memo, APIMemoMask_AddPars), NoError);
            withParams += memo.params != nullptr ? 1 : 0;
            HostDisposeElementMemo(&memo);
        }
    }
    EXPECT_GE(withProperties, 5);
    EXPECT_GE(withParams, 3);  // window, object, zone

    GS::Array<GS::ArrayFB<GS::UniString, 3>> texts;
    ASSERT_EQ(HostGetAutoTexts(&texts, 1), NoError);
    std::set<std::string> keys;
    for (const auto& t : texts)
        keys.insert(t[1].ToUtf8());
    for (const char* key : {"PROJECTNAME", "CLIENT_FULLNAME", "CLIENTADDRESS1", "CLIENTCITY", "CLIENTCOUNTRY",
                            "CONTACT_FULLNAME", "CONTACTCOMPANY"})
        EXPECT_EQ(keys.count(key), 1u) << key;
    ExpectNothingLive();
}

namespace {
struct FlawCase {
    const char* name;
    const char* patch;  // JSON merged into the fixture model
    const char* expected;
};
const FlawCase kFlaws[] = {
    {"unknown quantity key", R"({"elements": [{"guid": "E0000000-0000-4000-8000-000000000001", "typeID": "Wall", "quantities": {"volumen": 1}}]})",
     "unknown key \"volumen\""},
    {"unknown type", R"({"elements": [{"guid": "E0000000-0000-4000-8000-000000000001", "typeID": "Tower"}]})",
     "unknown typeID"},
    {"dangling composite", R"({"elements": [{"guid": "E0000000-0000-4000-8000-000000000001", "typeID": "Wall", "structure": "composite", "composite": 9}]})",
     "\"composite\" names no attribute 9"},
    {"property of the wrong type", R"({"elements": [{"guid": "E0000000-0000-4000-8000-000000000001", "typeID": "Wall", "properties": {"DF000000-0000-4000-8000-000000000002": "heavy"}}]})",
     "does not fit its valueType"},
    {"same guid twice", R"({"elements": [{"guid": "E0000000-0000-4000-8000-000000000001", "typeID": "Line"}, {"guid": "E0000000-0000-4000-8000-000000000001", "typeID": "Line"}]})",
     "guid used twice"},
    {"quantities of a line", R"({"elements": [{"guid": "E0000000-0000-4000-8000-000000000001", "typeID": "Line", "quantities": {"length": 1}}]})",
     "has no quantities"},
    {"orphan section element", R"({"elements": [{"guid": "E0000000-0000-4000-8000-000000000001", "typeID": "SectionElement", "parentGuid": "E0000000-0000-4000-8000-0000000000FF"}]})",
     "\"parentGuid\" names no element"},
    {"parameter name too long", R"({"elements": [{"guid": "E0000000-0000-4000-8000-000000000001", "typeID": "Object", "params": [{"name": "a_parameter_name_of_thirty_three_b", "type": "length"}]}]})",
     "longer than 32 bytes"},
};
}  // namespace

TEST_F(HostModelTest, CheckModelNamesTheFlaws)
{
    for (const FlawCase& c : kFlaws) {
        SCOPED_TRACE(c.name);
        Host::Json model = Fx::LoadJson(HOSTMODEL_FIXTURE)["model"];
        model.merge_patch(Host::Json::parse(c.patch));
        const std::string problems = Joined(Host::CheckModel(model));
        EXPECT_NE(problems.find(c.expected), std::string::npos) << problems;
    }
}
