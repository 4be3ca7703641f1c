// The sample project and the model check that keeps it and the fixtures sound.
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

// What the sample holds, and its figures, are checked end to end by the element-function tests.
TEST_F(HostModelTest, SampleProjectAndFixtureAreSound)
{
    EXPECT_EQ(Joined(Host::CheckModel(host.Model())), "");
    EXPECT_EQ(Joined(Host::CheckModel(Fx::LoadJson(SAMPLE_PROJECT)["model"])), "");
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
