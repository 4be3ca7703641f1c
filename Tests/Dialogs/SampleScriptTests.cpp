// The sample that builds an estimate from the palette runs clean and leaves the estimate it means to.
#include <fstream>

#include "EditorTestSupport.hpp"

namespace {

using namespace EditorTest;

TEST_F(EditorHost, TheBuildEstimateSampleRuns)
{
    std::ifstream file(std::string(CALVORA_SAMPLES_DIR) + "/build-estimate.script");
    ASSERT_TRUE(file) << "the sample script";
    std::string script((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::string open = "open sample-project.json";
    ASSERT_NE(script.find(open), std::string::npos);
    script.replace(script.find(open), open.size(), "open " + std::string(CALVORA_SAMPLES_DIR) + "/sample-project.json");

    Start("");
    std::ostringstream out, errors;
    {
        Host::ScriptRunner runner(host, out);
        runner.SetErrorStream(errors);
        std::istringstream in(script);
        ASSERT_TRUE(runner.RunStream(in, "build-estimate.script", false)) << errors.str();
    }
    EXPECT_EQ(Stored("SELECT c.code, i.sort_order, i.code, i.descript, i.qty, i.price, i.total FROM items i "
                     "JOIN categories c ON c.id = i.category_id ORDER BY c.sort_order, i.sort_order"),
              (std::vector<std::string>{
                  "01|1|E-01|Excavation|64.0|12.0|768.0",
                  // the areas of the four basic walls
                  "03|1|M-01|Brick wall 25 cm|108.0|48.5|5238.0",
                  // the core volumes of the three columns, the starter bars deleted; the basic slab's volume
                  "02|1|C-01|Columns|0.81|165.0|133.65", "02|2|C-02|Ground slab|16.0|145.0|2320.0",
                  "02|3|C-03|Slab edge formwork|0.0|18.0|0.0"}));
    EXPECT_EQ(Stored("SELECT code || ' ' || title || ' ' || sort_order || ' ' || total FROM categories ORDER BY sort_order"),
              (std::vector<std::string>{"01 Earthworks 1 768.0", "03 Masonry 2 5238.0", "02 Concrete 3 2453.65"}));
}

}  // namespace
