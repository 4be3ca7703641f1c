// The argument pickers and the swatches they draw, in-process: what each lists for an element,
// how the user ends it, and the recorded drawing of the building-material and fill swatches.
#include <sstream>
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

// The list's rows (with their owner-drawn cells) as Describe shows them.
std::string ListRows(Int16 panel)
{
    std::istringstream in(DG::User::Describe(panel));
    std::string line, rows;
    bool inRows = false;
    while (std::getline(in, line)) {
        inRows = inRows || line.rfind("    row ", 0) == 0;
        if (inRows)
            rows += line.substr(4) + "\n";
    }
    return rows;
}

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
    API_Element Element(const char* guid)
    {
        API_Element element{};
        element.header.guid = GSGuid2APIGuid(GS::Guid(guid));
        EXPECT_EQ(HostGetElement(&element), NoError) << guid;
        return element;
    }
};

TEST_F(Pickers, ListWhatTheElementOffersAndHandBackThePickedName)
{
    struct Case {
        const char* entry;
        const char* element;
        std::vector<std::string> actions;  // "select N", "double N", "escape", "cancel", "ok"
        std::string rows;
        bool confirmed;
        const char* name;
        const char* failing = "";  // a host read told to fail
    };
    const std::string brickAndConcrete =
        "row 1 value 0 selected | \"\" | \"Brick\" | \"0.10\" | \"1\"\n"
        "  cell 1 (0,20,50,20) back #3366CCFF fore #FFFFFFFF\n"
        "    polygon 1,1 24,1 24,19 1,19 1,1 pattern 0102040810204080 #7F3FFFFF/#FFFFFFFF\n"
        "    frame 1,1-24,19 #000000FF\n"
        "    fill 25,1-49,19 #336699FF\n"
        "row 2 value 0 | \"\" | \"Concrete\" | \"0.25\" | \"3\"\n"
        "  cell 1 (0,40,50,20) back #FFFFFFFF fore #000000FF\n"
        "    polygon 1,1 24,1 24,19 1,19 1,1 radial #000000FF->#7F3FFFFF 12.5,10 r 4-9\n"
        "    frame 1,1-24,19 #000000FF\n"
        "    fill 25,1-49,19 #336699FF\n";
    // Regions (their cells drawn as the skins' are).
    const std::string regions = "row 1 value 0 selected | \"\" | \"Concrete\" | \"3\"\nrow 2 value 0 | \"\" | \"BRICK\" | \"2\"\n";
    const std::string parameters = "row 1 value 0 selected | \"Nominal width\" | \"A\" | \"1.25\"\n"
                                   "row 2 value 0 | \"Thermal transmittance\" | \"uValue\" | \"0.88\"\n"
                                   "row 3 value 0 | \"\" | \"frameDepth\" | \"0.07\"\n";
    const std::string properties = "row 1 value 0 selected | \"U-Value\" | \"Thermal transmittance\" | \"1.10\"\n"
                                   "row 2 value 0 | \"Pieces\" | \"Number of pieces\" | \"4\"\n";
    const Case cases[] = {
        // Skins: BRICK is Brick in other letters, material 9 cannot be read, the last skin repeats Brick.
        {"SkinVolume()", kWall1, {"ok"}, brickAndConcrete, true, "Brick"},
        {"SkinArea()", kWall1, {"double 2"}, brickAndConcrete, true, "Concrete"},
        {"SkinArea()", kSlab, {"ok"}, "", true, ""},
        // Regions: the non-material hatch is left out, Brick after BRICK too.
        {"ProfileRegionVolume()", kWall2, {"select 2", "ok"}, regions, true, "BRICK"},
        {"ProfileRegionArea()", kColumn, {"ok"}, regions, true, "Concrete"},
        {"ProfileRegionArea()", kBeam, {"ok"}, "", true, ""},
        // Lengths and real numbers only; a caption where the library part has the name.
        {"Parameter()", kWindow, {"double 2"}, parameters, true, "uValue"},
        {"Parameter()", kWall1, {"ok"}, "", true, ""},
        // Numeric properties with a value; a real with two decimals, an integer without.
        {"Property()", kWindow, {"select 2", "ok"}, properties, true, "Pieces"},
        {"Property()", kWall1, {"ok"},
         "row 1 value 0 selected | \"U-Value\" | \"Thermal transmittance\" | \"0.34\"\n"
         "row 2 value 0 | \"Pieces\" | \"Number of pieces\" | \"1\"\n",
         true, "U-Value"},
        {"Property()", kWindow, {"escape"}, properties, false, ""},
        {"Parameter()", kWindow, {"cancel"}, parameters, false, ""},
        // Reads that fail hand nothing out: no caption, no skin, no region, no parameter.
        {"Parameter()", kWindow, {"ok"}, "row 1 value 0 selected | \"\" | \"A\" | \"1.25\"\n"
         "row 2 value 0 | \"\" | \"uValue\" | \"0.88\"\nrow 3 value 0 | \"\" | \"frameDepth\" | \"0.07\"\n",
         true, "A", "HostGetLibPartParams"},
        {"SkinVolume()", kWall1, {"ok"}, "", true, "", "HostGetAttributeDef"},
        {"ProfileRegionArea()", kColumn, {"ok"}, "", true, "", "HostGetAttributeDefExt"},
        {"Parameter()", kWindow, {"ok"}, "", true, "", "HostGetElementMemo"},
    };
    for (const Case& c : cases) {
        const std::string what = std::string(c.entry) + " " + c.element + " " + c.failing;
        EXPECT_TRUE(IsPickerEntry(c.entry)) << what;
        host.ClearFailures();
        if (*c.failing != '\0')
            host.FailOperation(c.failing);
        std::string rows = "picker never opened";
        actions.push_back([&rows] { rows = ListRows(DG::User::TopModal()); });
        for (const std::string& action : c.actions) {
            const std::string verb = action.substr(0, action.find(' '));
            const Int16 row = static_cast<Int16>(action.size() > verb.size() ? std::stoi(action.substr(verb.size())) : 0);
            // The four pickers name their items alike.
            if (verb == "select")
                Act([row](Int16 p, std::string* e) {
                    return DG::User::SelectRows(p, DG::User::FindItem(p, "ChoicesList"), {row}, e);
                });
            else if (verb == "double")
                Act([row](Int16 p, std::string* e) {
                    return DG::User::DoubleClickRow(p, DG::User::FindItem(p, "ChoicesList"), row, e);
                });
            else if (verb == "escape")
                Act([](Int16 p, std::string* e) { return DG::User::PressKey(p, DG::Key::Escape, DG::Key::NoModifier, e); });
            else
                Act([verb](Int16 p, std::string* e) {
                    const char* button = verb == "ok" ? "SelectButton" : "CancelButton";
                    return DG::User::ClickButton(p, DG::User::FindItem(p, button), e);
                });
        }
        GS::UniString name("untouched");
        EXPECT_EQ(RunArgumentPicker(c.entry, Element(c.element), &name), c.confirmed) << what;
        EXPECT_EQ(name.ToUtf8(), c.name) << what;
        EXPECT_EQ(c.rows == regions ? LinesWith(rows, "row ") : rows, c.rows) << what;
        EXPECT_TRUE(actions.empty()) << what;
        actions.clear();
    }
    EXPECT_FALSE(IsPickerEntry("Volume"));
    EXPECT_TRUE(DG::User::AlertLog().empty());
    EXPECT_TRUE(host.Report().empty());
}

TEST_F(Pickers, ResizingMovesTheButtonsAndLaysTheColumnsOutAgain)
{
    std::string layout;
    Act([](Int16 p, std::string* e) { return DG::User::ResizePanel(p, 40, 20, e); });
    actions.push_back([&layout] {
        std::istringstream in(DG::User::Describe(DG::User::TopModal()));
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind("    row", 0) == 0)
                break;
            layout += line + "\n";
        }
    });
    Act([](Int16 p, std::string* e) { return DG::User::ClickButton(p, DG::User::FindItem(p, "CancelButton"), e); });
    GS::UniString name;
    EXPECT_FALSE(RunArgumentPicker("SkinVolume()", Element(kWall1), &name));
    EXPECT_EQ(layout, "modal \"Select Composite Skin\" 480x280 visible grow\n"
                      "  1 button (290,244,85,26) \"Select\"\n"
                      "  2 button (385,244,85,26) \"Cancel\"\n"
                      "  3 singlelist (10,10,460,224) rowHeight 20 scroll 1 rows 2\n"
                      "    header 1 \"Fill\" size 50 left\n"
                      "    header 2 \"Description\" size 339 left\n"
                      "    header 3 \"Thickness\" size 70 left\n"
                      "    header 4 \"\" size 0 left\n"
                      "    tab 1 0-50 left owner-drawn\n"
                      "    tab 2 50-389 left\n"
                      "    tab 3 389-459 left\n"
                      "    tab 4 459-459 left\n");
}

TEST_F(Pickers, SwatchesDrawTheCutFillBesideTheSurfaceAndReportWithoutAlerts)
{
    struct Case {
        GS::Int32 material;
        DG::Rect rect;
        bool drawn;
        std::string ops;
        std::vector<std::string> reports;
    };
    const Case cases[] = {
        // 50 wide: fill 24 wide, surface from 26; background pen 0 shows the pattern on white.
        {1, DG::Rect(0, 0, 50, 18), true,
         "polygon 0,0 24,0 24,18 0,18 0,0 pattern 0102040810204080 #7F3FFFFF/#FFFFFFFF\n"
         "frame 0,0-24,18 #000000FF\n"
         "fill 26,0-50,18 #336699FF\n",
         {}},
        // 49 wide: 23 and 25; a linear gradient from the fill pen to the background pen; a framed surface.
        {2, DG::Rect(0, 0, 49, 18), true,
         "polygon 0,0 23,0 23,18 0,18 0,0 linear #000000FF->#339966FF 0,0->23,18\n"
         "frame 0,0-23,18 #000000FF\n"
         "fill 25,0-49,18 #FF0000FF\n"
         "frame 25,0-49,18 #000000FF\n",
         {}},
        // 18 high: radial radii 4 and 9 around the fill part's centre.
        {3, DG::Rect(10, 2, 60, 20), true,
         "polygon 10,2 34,2 34,20 10,20 10,2 radial #000000FF->#7F3FFFFF 22,11 r 4-9\n"
         "frame 10,2-34,20 #000000FF\n"
         "fill 36,2-60,20 #336699FF\n",
         {}},
        // Pen, surface and fill cannot be read: reported, and drawn with what the cleared records give.
        {4, DG::Rect(0, 0, 50, 18), true,
         "polygon 0,0 24,0 24,18 0,18 0,0 pattern 0000000000000000 #000000FF/#FFFFFFFF\n"
         "frame 0,0-24,18 #000000FF\n"
         "fill 26,0-50,18 #000000FF\n",
         {"HostGetPen failed", "HostGetAttribute failed", "HostGetAttribute failed"}},
        // A background pen that cannot be read gives the colour of the cleared pen record.
        {5, DG::Rect(0, 0, 50, 18), true,
         "polygon 0,0 24,0 24,18 0,18 0,0 pattern 0102040810204080 #7F3FFFFF/#000000FF\n"
         "frame 0,0-24,18 #000000FF\n"
         "fill 26,0-50,18 #336699FF\n",
         {"HostGetPen failed"}},
        {0, DG::Rect(0, 0, 50, 18), false, "", {}},
        {-3, DG::Rect(0, 0, 50, 18), false, "", {}},
    };
    const auto handles = GS::LiveHandleCount();
    for (const Case& c : cases) {
        host.CallLog().clear();
        const std::size_t reportsBefore = host.Report().size();
        Graphix::CellDrawing drawing;
        NewDisplay::NativeContext context(&drawing);
        EXPECT_EQ(DrawBuildingMaterialSwatch(context, c.rect, c.material), c.drawn) << c.material;
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
