// The sample project and the model check that keeps it and the fixtures sound.
#include "HostModelFixture.hpp"

// What the sample holds, and its figures, are checked end to end by the element-function tests; unknown
// keys, bad attribute indices and dangling parents by the model commands and the element functions' fixture.
TEST_F(HostModelTest, SampleProjectAndFixtureAreSoundAndCheckModelNamesTheFlaws)
{
    EXPECT_EQ(Host::CheckModel(host.Model()), std::vector<std::string>{});
    EXPECT_EQ(Host::CheckModel(Fx::LoadJson(SAMPLE_PROJECT)["model"]), std::vector<std::string>{});

    const std::string wall = R"({"guid": "E0000000-0000-4000-8000-000000000001", )";
    const std::pair<const char*, const char*> cases[] = {  // merged into the first element after its guid
        {R"("typeID": "Tower"})", "unknown typeID"},
        {R"("typeID": "Wall", "properties": {"DF000000-0000-4000-8000-000000000002": "heavy"}})",
         "does not fit its valueType"},
        {R"("typeID": "Line"}, {"guid": "E0000000-0000-4000-8000-000000000001", "typeID": "Line"})",
         "guid used twice"},
        {R"("typeID": "Line", "quantities": {"length": 1}})", "has no quantities"},
        {R"("typeID": "Object", "params": [{"name": "a_parameter_name_of_thirty_three_b", "type": "length"}]})",
         "longer than 32 bytes"},
    };
    for (const auto& [element, expected] : cases) {
        Host::Json model = Fx::LoadJson(HOSTMODEL_FIXTURE)["model"];
        model.merge_patch(Host::Json::parse(R"({"elements": [)" + wall + element + "]}"));
        std::string problems;
        for (const std::string& problem : Host::CheckModel(model))
            problems += problem + "\n";
        EXPECT_NE(problems.find(expected), std::string::npos) << element << "\n" << problems;
    }
}
