// The argument pickers and the swatches they draw, in-process: what each lists for an element,
// how the user ends it, and the recorded drawing of the building-material and fill swatches.
#include <vector>

#include "API/ApiElements.hpp"
#include "Dialogs/ArgumentPickers.hpp"
#include "Dialogs/AttributeSwatches.hpp"
#include "GSRoot/Memory.hpp"
#include "Host/ElementOps.hpp"
#include "HostApi/HostElementCalls.hpp"
#include "ScenarioSupport.hpp"

namespace {
using namespace Scenario;

constexpr const char* kWall1 = "C1000000-0000-4000-8000-000000000001";
constexpr const char* kWall2 = "C1000000-0000-4000-8000-000000000002";
constexpr const char* kSlab = "C1000000-0000-4000-8000-000000000003";
constexpr const char* kWindow = "C1000000-0000-4000-8000-000000000004";
constexpr const char* kBeam = "C1000000-0000-4000-8000-000000000005";
constexpr const char* kColumn = "C1000000-0000-4000-8000-000000000006";

// Every memo, definition and parameter list a picker read came back once.
class Pickers : public InProcess {
protected:
    void SetUp() override
    {
        InProcess::SetUp();
        Start(ReadJson(COMMANDS_MODEL), "");
        Host::ResetElementCounters();
    }
    void TearDown() override
    {
        EXPECT_TRUE(Host::ElementCounters().Balanced());
        InProcess::TearDown();
    }
};

// The four pickers name their items alike; the rows of each list, then what ending it hands back.
TEST_F(Pickers, ListWhatTheElementOffersAndHandBackThePickedName)
{
    const std::string ok = "click top SelectButton";
    const std::string brickAndConcrete = "row 1 value 0 selected | \"\" | \"Brick\" | \"0.10\" | \"1\"\n"
                                         "row 2 value 0 | \"\" | \"Concrete\" | \"0.25\" | \"3\"\n";
    // The skins' swatches in their cells (what they draw is the swatch test's).
    const std::string swatches = "=cell 1 (0,20,50,20) back #3366CCFF fore #FFFFFFFF\n"
                                 "=polygon 1,1 24,1 24,19 1,19 1,1 pattern 0102040810204080 #7F3FFFFF/#FFFFFFFF\n"
                                 "=cell 1 (0,40,50,20) back #FFFFFFFF fore #000000FF\n"
                                 "=polygon 1,1 24,1 24,19 1,19 1,1 radial #000000FF->#7F3FFFFF 12.5,10 r 4-9";
    const std::string regions = "row 1 value 0 selected | \"\" | \"Concrete\" | \"3\"\nrow 2 value 0 | \"\" | \"BRICK\" | \"2\"\n";
    const std::string parameters = "row 1 value 0 selected | \"Nominal width\" | \"A\" | \"1.25\"\n"
                                   "row 2 value 0 | \"Thermal transmittance\" | \"uValue\" | \"0.88\"\n"
                                   "row 3 value 0 | \"\" | \"frameDepth\" | \"0.07\"\n";
    const std::string properties = "row 1 value 0 selected | \"U-Value\" | \"Thermal transmittance\" | \"1.10\"\n"
                                   "row 2 value 0 | \"Pieces\" | \"Number of pieces\" | \"4\"\n";
    const struct {
        const char* entry;
        const char* element;
        std::vector<std::string> actions;
        std::string rows;
        bool confirmed;
        const char* name;
        const char* failing = "";  // a host read told to fail
    } cases[] = {
        // Skins: BRICK is Brick in other letters, material 9 cannot be read, the last skin repeats Brick.
        {"SkinVolume()", kWall1, {ok}, brickAndConcrete, true, "Brick"},
        {"SkinArea()", kWall1, {"double-click top ChoicesList 2"}, brickAndConcrete, true, "Concrete"},
        {"SkinArea()", kSlab, {ok}, "", true, ""},
        // Regions: the non-material hatch is left out, Brick after BRICK too.
        {"ProfileRegionVolume()", kWall2, {"select-rows top ChoicesList 2", ok}, regions, true, "BRICK"},
        {"ProfileRegionArea()", kColumn, {ok}, regions, true, "Concrete"},
        {"ProfileRegionArea()", kBeam, {ok}, "", true, ""},
        // Lengths and real numbers only; a caption where the library part has the name.
        {"Parameter()", kWindow, {"double-click top ChoicesList 2"}, parameters, true, "uValue"},
        {"Parameter()", kWall1, {ok}, "", true, ""},
        // Numeric properties with a value; a real with two decimals, an integer without.
        {"Property()", kWindow, {"select-rows top ChoicesList 2", ok}, properties, true, "Pieces"},
        {"Property()", kWall1, {ok},
         "row 1 value 0 selected | \"U-Value\" | \"Thermal transmittance\" | \"0.34\"\n"
         "row 2 value 0 | \"Pieces\" | \"Number of pieces\" | \"1\"\n",
         true, "U-Value"},
        {"Property()", kWindow, {"key top escape"}, properties, false, ""},
        {"Parameter()", kWindow, {"click top CancelButton"}, parameters, false, ""},
        // Reads that fail hand nothing out: no caption, no skin, no region, no parameter.
        {"Parameter()", kWindow, {ok}, "row 1 value 0 selected | \"\" | \"A\" | \"1.25\"\n"
         "row 2 value 0 | \"\" | \"uValue\" | \"0.88\"\nrow 3 value 0 | \"\" | \"frameDepth\" | \"0.07\"\n",
         true, "A", "HostGetLibPartParams"},
        {"SkinVolume()", kWall1, {ok}, "", true, "", "HostGetAttributeDef"},
        {"ProfileRegionArea()", kColumn, {ok}, "", true, "", "HostGetAttributeDefExt"},
        {"Parameter()", kWindow, {ok}, "", true, "", "HostGetElementMemo"},
    };
    for (const auto& c : cases) {
        const std::string what = std::string(c.entry) + " " + c.element + " " + c.failing;
        EXPECT_TRUE(IsPickerEntry(c.entry)) << what;
        host.ClearFailures();
        if (*c.failing != '\0')
            host.FailOperation(c.failing);
        std::string view = "picker never opened";
        actions.push_back([&view] { view = Texts(DG::User::TopModal()); });
        for (const std::string& line : c.actions)
            Act(line);
        API_Element element{};
        element.header.guid = GSGuid2APIGuid(GS::Guid(c.element));
        ASSERT_EQ(HostGetElement(&element), NoError) << what;
        GS::UniString name("untouched");
        EXPECT_EQ(RunArgumentPicker(c.entry, element, &name), c.confirmed) << what;
        EXPECT_EQ(name.ToUtf8(), c.name) << what;
        EXPECT_EQ(LinesWith(view, "row "), c.rows) << what;
        EXPECT_TRUE(c.rows != brickAndConcrete || Shows(view, swatches)) << view;
        EXPECT_TRUE(actions.empty()) << what;
        actions.clear();
    }
    EXPECT_FALSE(IsPickerEntry("Volume"));
    EXPECT_TRUE(DG::User::AlertLog().empty());
    EXPECT_TRUE(host.Report().empty());
}

TEST_F(Pickers, SwatchesDrawTheCutFillBesideTheSurfaceAndReportWithoutAlerts)
{
    const struct {
        GS::Int32 material;
        DG::Rect rect;
        std::string ops;  // none: not drawn
        std::vector<std::string> reports;
    } cases[] = {
        // 49 wide: 23 and 25; a linear gradient from the fill pen to the background pen; a framed surface.
        {2, DG::Rect(0, 0, 49, 18),
         "polygon 0,0 23,0 23,18 0,18 0,0 linear #000000FF->#339966FF 0,0->23,18\n"
         "frame 0,0-23,18 #000000FF\n"
         "fill 25,0-49,18 #FF0000FF\n"
         "frame 25,0-49,18 #000000FF\n",
         {}},
        // 18 high: radial radii 4 and 9 around the fill part's centre.
        {3, DG::Rect(10, 2, 60, 20),
         "polygon 10,2 34,2 34,20 10,20 10,2 radial #000000FF->#7F3FFFFF 22,11 r 4-9\n"
         "frame 10,2-34,20 #000000FF\n"
         "fill 36,2-60,20 #336699FF\n",
         {}},
        // Pen, surface and fill cannot be read: reported, and drawn with what the cleared records give.
        {4, DG::Rect(0, 0, 50, 18),
         "polygon 0,0 24,0 24,18 0,18 0,0 pattern 0000000000000000 #000000FF/#FFFFFFFF\n"
         "frame 0,0-24,18 #000000FF\n"
         "fill 26,0-50,18 #000000FF\n",
         {"HostGetPen failed", "HostGetAttribute failed", "HostGetAttribute failed"}},
        // 50 wide: fill 24 wide, surface from 26. A background pen that cannot be read gives the colour of
        // the cleared pen record (pen 0 shows the pattern on white: the skins' cells).
        {5, DG::Rect(0, 0, 50, 18),
         "polygon 0,0 24,0 24,18 0,18 0,0 pattern 0102040810204080 #7F3FFFFF/#000000FF\n"
         "frame 0,0-24,18 #000000FF\n"
         "fill 26,0-50,18 #336699FF\n",
         {"HostGetPen failed"}},
        {0, DG::Rect(0, 0, 50, 18), "", {}},
        {-3, DG::Rect(0, 0, 50, 18), "", {}},
    };
    const auto handles = GS::LiveHandleCount();
    for (const auto& c : cases) {
        const std::size_t reportsBefore = host.Report().size();
        Graphix::CellDrawing drawing;
        NewDisplay::NativeContext context(&drawing);
        EXPECT_EQ(DrawBuildingMaterialSwatch(context, c.rect, c.material), !c.ops.empty()) << c.material;
        std::string ops;
        for (const auto& op : drawing.ops)
            ops += op.ToString() + "\n";
        EXPECT_EQ(ops, c.ops) << c.material;
        const std::vector<std::string> reports(host.Report().begin() + static_cast<long>(reportsBefore),
                                               host.Report().end());
        EXPECT_EQ(reports, c.reports) << c.material;
    }
    EXPECT_EQ(GS::LiveHandleCount(), handles) << "the surface textures were released";
    EXPECT_TRUE(DG::User::AlertLog().empty());

    Graphix::CellDrawing drawing;
    NewDisplay::NativeContext context(&drawing);
    EXPECT_FALSE(DrawFillSwatch(context, DG::Rect(0, 0, 10, 10), 0, Gfx::Color(), Gfx::Color(), Gfx::Color()));
    FillRectWithColor(context, DG::Rect(1, 2, 3, 4), Gfx::Color(10, 20, 30, 0));
    EXPECT_EQ(drawing.ops.size(), 1u);
    EXPECT_EQ(drawing.ops.back().ToString(), "fill 1,2-3,4 #0A141EFF");
}

}  // namespace
