// The sample project and the model check that keeps it and the fixtures sound.
#include <map>

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

// The elements' figures, profiles included, are checked end to end by the element-function tests; here
// that the sample holds composite and profiled elements, and that a composite's skins agree.
TEST_F(HostModelTest, SampleProjectIsSoundAndHoldsCompositeAndProfiledElements)
{
    EXPECT_EQ(Joined(Host::CheckModel(host.Model())), "");
    host.SetProject(Fx::LoadJson(SAMPLE_PROJECT));
    EXPECT_EQ(Joined(Host::CheckModel(host.Model())), "");
    std::map<std::string, int> seen;
    for (const auto& e : host.Model()["elements"]) {
        SCOPED_TRACE(e["guid"].get<std::string>());
        const API_Element element = Read(e["guid"].get<std::string>().c_str());
        const GS::Int32 type = element.header.typeID;
        GS::Int32 composite = 0, profile = 0;
        if (type == API_WallID || type == API_SlabID) {
            const bool wall = type == API_WallID;
            const GS::Int32 structure = wall ? element.wall.modelElemStructureType : element.slab.modelElemStructureType;
            composite = structure == API_CompositeStructure ? (wall ? element.wall.composite : element.slab.composite) : 0;
            profile = wall && structure == API_ProfileStructure ? element.wall.profileAttr : 0;
        } else if (type == API_BeamID || type == API_ColumnID) {
            API_ElementMemo memo{};
            ASSERT_EQ(HostGetElementMemo(element.header.guid, &memo, APIMemoMask_All), NoError);
            const bool beam = type == API_BeamID;
            if ((beam ? memo.beamSegments[0].modelElemStructureType : memo.columnSegments[0].modelElemStructureType) ==
                API_ProfileStructure)
                profile = beam ? memo.beamSegments[0].profileAttr : memo.columnSegments[0].profileAttr;
            HostDisposeElementMemo(&memo);
        }
        seen[Str(type, composite != 0, profile != 0)]++;
        if (composite != 0) {
            // As many per-skin records as the composite has skins.
            HostAttributeDef def{};
            ASSERT_EQ(HostGetAttributeDef(HostAttr_Composite, composite, &def), NoError);
            GS::Array<API_CompositeQuantity> skins;
            HostQuantitiesMask mask;
            HostMaskClear(&mask);
            HostMaskSet(mask.composites.volume);
            ASSERT_EQ(Quantities(e["guid"].get<std::string>().c_str(), &mask, nullptr, &skins), NoError);
            EXPECT_EQ(skins.GetSize() * sizeof(HostCompositeSkin), HandleSize(def.skins));
            HostDisposeAttributeDef(&def);
        }
    }
    for (const std::string& kind : {Str(API_WallID, 1, 0), Str(API_SlabID, 1, 0), Str(API_WallID, 0, 1),
                                   Str(API_BeamID, 0, 1), Str(API_ColumnID, 0, 1)})
        EXPECT_GE(seen[kind], 1) << "type, composite, profiled: " << kind;
}

TEST_F(HostModelTest, CheckModelNamesTheFlaws)
{
    const std::string wall = R"({"guid": "E0000000-0000-4000-8000-000000000001", )";
    const struct {
        const char* element;  // merged into the fixture's first element, after its guid
        const char* expected;
    } cases[] = {
        {R"("typeID": "Wall", "quantities": {"volumen": 1}})", "unknown key \"volumen\""},
        {R"("typeID": "Tower"})", "unknown typeID"},
        {R"("typeID": "Wall", "structure": "composite", "composite": 9})", "\"composite\" names no attribute 9"},
        {R"("typeID": "Wall", "properties": {"DF000000-0000-4000-8000-000000000002": "heavy"}})",
         "does not fit its valueType"},
        {R"("typeID": "Line"}, {"guid": "E0000000-0000-4000-8000-000000000001", "typeID": "Line"})",
         "guid used twice"},
        {R"("typeID": "Line", "quantities": {"length": 1}})", "has no quantities"},
        {R"("typeID": "SectionElement", "parentGuid": "E0000000-0000-4000-8000-0000000000FF"})",
         "\"parentGuid\" names no element"},
        {R"("typeID": "Object", "params": [{"name": "a_parameter_name_of_thirty_three_b", "type": "length"}]})",
         "longer than 32 bytes"},
    };
    for (const auto& c : cases) {
        Host::Json model = Fx::LoadJson(HOSTMODEL_FIXTURE)["model"];
        model.merge_patch(Host::Json::parse(R"({"elements": [)" + wall + c.element + "]}"));
        const std::string problems = Joined(Host::CheckModel(model));
        EXPECT_NE(problems.find(c.expected), std::string::npos) << c.element << "\n" << problems;
    }
}
