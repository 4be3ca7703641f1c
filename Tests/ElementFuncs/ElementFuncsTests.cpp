// Names, variables and functions of every element type over the fixture model.
#include "ElementFuncsTestSupport.hpp"

#include <limits>

#include "Host/Model.hpp"

namespace {

// ---- Name lists --------------------------------------------------------------------------------

const char* const WallQuantities =
    "Volume,CoreVolume,Area,Thickness,Perimeter,Length,RefLength,MaxHeight,MinHeight,ProfileWidth,ProfileHeight";
const char* const RoofQuantities =
    "Volume,CoreVolume,Area,ProjectionArea,Perimeter,RidgesLength,EavesLength,GabelsLength,ValleysLength,HipsLength";

TEST(ElementFuncsTypes, EveryTypeNamesItsListInOrder)
{
    const struct {
        GS::Int32 typeID;
        const char* typeName;
        const char* quantities;
        const char* functions;
    } cases[] = {
        {1, "Wall", WallQuantities, "SkinVolume,SkinArea,ProfileRegionVolume,ProfileRegionArea,Property"},
        {2, "Column", "CoreVolume,CoreArea,Height,Width,ProfileHeight,ProfileArea", "Property,ProfileRegionVolume"},
        {3, "Beam", "Volume,CoreVolume,Area,Length,ProjectionLength,Width,Height,ProfileArea",
         "Property,ProfileRegionVolume"},
        {4, "Window", "Volume,Area,Width1,Height1", "Parameter"},
        {6, "Object", "A,B", "Parameter"},
        {8, "Slab", "Volume,CoreVolume,Area,Perimeter,Thickness,CoreThickness", "SkinVolume,SkinArea,Property"},
        {9, "Roof", RoofQuantities, "SkinVolume,SkinArea,Property"},
        {17, "Zone", "Area,Perimeter,Volume,Height,NetArea,CalcArea", "Parameter"},
        {18, "Fill", "Area,Perimeter", ""},
        {19, "Line", "Length", ""},
        {20, "Polyline", "Length", ""},
        {37, "CurtainWall", "Length,Height", ""},
        {45, "Morph", "Volume,Area", ""},
        {47, "Stair", "Volume,Area,Height,WalklineLength,Gradient,NumOfRisers,NumOfTreads", ""},
        {51, "Railing", "Length,Height", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typeName);
        std::unique_ptr<IElementFuncs> funcs(GetElementFuncsFactory().Create(c.typeID));
        ASSERT_NE(funcs, nullptr);
        EXPECT_EQ(funcs->GetTypeName().ToUtf8(), c.typeName);
        EXPECT_EQ(Join(funcs->GetAllQuantityNames()), c.quantities);
        EXPECT_EQ(Join(funcs->GetAllFunctionNames()), c.functions);
    }
    for (GS::Int32 typeID : {0, 5, 7, 10, 29, 46, 52, 100, -1})
        EXPECT_EQ(std::unique_ptr<IElementFuncs>(GetElementFuncsFactory().Create(typeID)), nullptr) << typeID;
}

TEST_F(ElementFuncsTest, FixtureModelHoldsOnlyItsTwoDeliberateFlaws)
{
    // A misspelt key or structure would read as 0 and let a case pass for the wrong reason.
    std::string problems;
    for (const std::string& problem : Host::CheckModel(host->Model()))
        problems += problem + "\n";
    EXPECT_EQ(problems,
              "element 3 (E1000000-0000-4000-8000-000000000004): \"story\" names no story\n"
              "element 34 (E1000000-0000-4000-8000-000000000071): \"parentGuid\" names no element\n");
}

TEST_F(ElementFuncsTest, EveryElementOffersTheNamesThatApplyToIt)
{
    const char* const wall = "Volume,CoreVolume,Area,Thickness,Perimeter,Length,RefLength,MaxHeight,MinHeight";
    const char* const beam = "Volume,CoreVolume,Area,Length,ProjectionLength,Width,Height,ProfileArea";
    const char* const column = "CoreVolume,CoreArea,Height,Width,ProfileHeight,ProfileArea";
    const char* const slab = "Volume,CoreVolume,Area,Perimeter,Thickness,CoreThickness";
    const struct {
        const char* guid;
        const char* quantities;
        const char* functions;
    } cases[] = {
        {Fx::WallBasic, wall, "Property"},
        {Fx::WallComposite, wall, "SkinVolume,SkinArea,Property"},
        {Fx::WallProfiled, WallQuantities, "ProfileRegionVolume,ProfileRegionArea,Property"},
        {Fx::Beam, "Volume,CoreVolume,Area,Length,ProjectionLength,Width,Height", "Property"},
        {Fx::BeamProfiled, beam, "Property,ProfileRegionVolume"},
        {Fx::BeamProfileZero, beam, "Property,ProfileRegionVolume"},
        {Fx::Column, "CoreVolume,CoreArea,Height,Width", "Property"},
        {Fx::ColumnProfiled, column, "Property,ProfileRegionVolume"},
        {Fx::ColumnProfileZero, column, "Property,ProfileRegionVolume"},
        {Fx::Door, "", ""},
        {Fx::Slab, slab, "SkinVolume,SkinArea,Property"},
        {Fx::SlabBasic, slab, "Property"},
        {Fx::Roof, RoofQuantities, "Property"},
        {Fx::RoofComposite, RoofQuantities, "SkinVolume,SkinArea,Property"},
        // A section element offers its parent's quantities but no functions; without a parent nothing.
        {Fx::Section, wall, ""},
        {Fx::SectionOrphan, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.guid);
        const API_Element element = Read(c.guid);
        EXPECT_EQ(Join(GetElementFuncsFactory().GetQuantityNames(element)), c.quantities);
        EXPECT_EQ(Join(GetElementFuncsFactory().GetFunctionNames(element)), c.functions);
    }
    EXPECT_TRUE(Host::DatabaseSwitches().empty());  // names are read without changing the database

    // The parent's header reads, its record does not: no names from a half-read parent.
    for (const char* op : {"HostGetElement", "HostGetElementHeader"}) {
        host->ClearFailures();
        host->FailOperation(op, Fx::WallComposite);
        EXPECT_EQ(Join(GetElementFuncsFactory().GetQuantityNames(Read(Fx::Section))), "") << op;
    }
}

// ---- Named quantities --------------------------------------------------------------------------

TEST_F(ElementFuncsTest, NamedQuantitiesMatchTheirClosedFormValuesOrStayUndefinedWhenAReadFails)
{
    const struct {
        const char* guid;
        const char* values;
        const char* failOp = nullptr;  // a host read told to fail, for this element or (failGuid "") for all
        const char* failGuid = "";
    } cases[] = {
        // Record thickness, host quantities, core volume = volume; names match exactly.
        {Fx::WallBasic, "Thickness=0.3 Volume=10 CoreVolume=10 Area=30 Perimeter=20.6 Length=10 RefLength=10.2 "
                        "MaxHeight=3 MinHeight=2.8 ProfileWidth=- volume=-"},
        // The core skins' volumes; none when no skin is core; the volume when the host gives no skins.
        {Fx::WallComposite, "CoreVolume=6 Volume=12"},
        {Fx::WallNoCore, "CoreVolume=0"},
        {Fx::WallNoSkins, "CoreVolume=7.5"},
        {Fx::WallProfiled, "ProfileWidth=0.3 ProfileHeight=0.5 Volume=5"},
        // Beam (0,0)-(3,4); slanted 60 degrees; upright (cosine 0) keeps its plan length.
        {Fx::Beam, "ProjectionLength=5 Length=5 Width=0.2 Height=0.4 ProfileArea=0 Volume=0.4 Area=5 CoreVolume=0.4"},
        {Fx::BeamSlanted, "ProjectionLength=5 Length=10"},
        {Fx::BeamUpright, "Length=5 ProjectionLength=5"},
        // Building dimensions; hatches 0.12 + 2 x 0.015; core box 0.2 x 0.3 of 0.3 x 0.5 scaled: 0.06 x length 5.
        {Fx::BeamProfiled, "Width=0.3 Height=0.5 ProfileArea=0.15 CoreVolume=0.3 Volume=0.9"},
        {Fx::BeamProfileZero, "Width=0.25 Height=0.45 ProfileArea=0 CoreVolume=0.5"},
        {Fx::BeamFlatCore, "CoreVolume=0.2 ProfileArea=0 Width=0.2"},  // core box of zero width
        {Fx::Column, "CoreVolume=0.27 CoreArea=0.09 Height=3 Width=0.3 ProfileHeight=0.35 ProfileArea=0"},
        {Fx::ColumnProfiled, "Width=0.3 ProfileHeight=0.5 ProfileArea=0.15 Height=2.5"},
        {Fx::ColumnProfileZero, "Width=0.25 ProfileHeight=0.45 ProfileArea=0 CoreVolume=0.3"},
        {Fx::Window, "Width1=1.2 Height1=1.5 Area=1.8 Volume=0.54 Width2=1.1 Height2=1.4 Area1=1.7 Area2=1.6 "
                     "NominalWidth1=1.25 NominalWidth2=1.15 NominalHeight1=1.55 NominalHeight2=1.45 "
                     "NominalArea1=1.9 NominalArea2=1.66 GrossArea=2 GrossVolume=0.6 SillHeight=0.9 "
                     "SillHeight1=0.91 SillHeight2=0.92 SillHeight3=0.93 HeadHeight=2.4 HeadHeight1=2.41 "
                     "HeadHeight2=2.42 HeadHeight3=2.43"},
        {Fx::Door, "Width1=-"},
        {Fx::Object, "A=1.2 B=0.8"},
        // The larger face whichever it is; core thickness 0.1 + 0.05 of skins core, non-core, core.
        {Fx::Slab, "Thickness=0.35 Area=21.5 Volume=7 CoreVolume=3 Perimeter=18 CoreThickness=0.15"},
        {Fx::SlabBasic, "Area=21.5 CoreThickness=0 CoreVolume=5"},
        {Fx::Roof, "Volume=9 CoreVolume=9 Area=35 ProjectionArea=30 Perimeter=24 RidgesLength=6 EavesLength=12 "
                   "GabelsLength=8 ValleysLength=1.5 HipsLength=2.5"},
        {Fx::RoofComposite, "CoreVolume=4"},
        {Fx::Zone, "Area=25 Perimeter=20 Volume=67.5 Height=2.7 NetArea=24 CalcArea=23.5"},
        {Fx::Fill, "Area=4.5 Perimeter=9"},
        {Fx::Line, "Length=5"},
        // 4 + 3; the first edge a half circle over its chord 4 (2 pi + 3); one point; counts beyond
        // the memo, where the first arc from a vertex decides whatever its end index: a half circle
        // ending at 7 (2 pi), then one of angle 0 (its chord, 3), and later arcs from 1 and 2 ignored.
        {Fx::PolyLine, "Length=7"},
        {Fx::PolyLineArc, "Length=9.283185307179586"},
        {Fx::PolyLineOnePoint, "Length=0"},
        {Fx::PolyLineBadCounts, "Length=9.283185307179586"},
        {Fx::CurtainWall, "Height=3.5 Length=6 Area=21"},
        {Fx::Morph, "Volume=2 Area=6"},
        {Fx::Stair, "Volume=1.8 Area=5.4 Height=3 WalklineLength=4.5 Gradient=0.6 NumOfRisers=17 NumOfTreads=16"},
        {Fx::Railing, "Height=1.1 Length=8 Area=8.8"},
        {Fx::Section, "Volume=-"},  // its variables come through the quantity, as its parent's
        // A failed host read leaves only its own variables undefined.
        {Fx::WallProfiled, "Thickness=0.3 ProfileHeight=0.5 Volume=- CoreVolume=-", "HostGetElementQuantities",
         Fx::WallProfiled},
        {Fx::Slab, "Thickness=0.35 CoreThickness=0", "HostGetElementQuantities", Fx::Slab},
        {Fx::Railing, "Height=1.1 Length=-", "HostGetElementQuantities", Fx::Railing},
        {Fx::Object, "A=1.2", "HostGetElementQuantities", Fx::Object},
        {Fx::Beam, "Length=5 Volume=-", "HostGetElementQuantities", Fx::Beam},
        {Fx::Window, "Width1=-", "HostGetElementQuantities", Fx::Window},
        {Fx::Beam, "Width=- CoreVolume=0.4", "HostGetElementMemo", Fx::Beam},
        {Fx::Column, "Width=-", "HostGetElementMemo", Fx::Column},
        {Fx::PolyLineArc, "Length=0", "HostGetElementMemo", Fx::PolyLineArc},
        {Fx::BeamProfiled, "Width=- ProfileArea=0 CoreVolume=0.9", "HostGetAttributeDefExt", ""},
        {Fx::WallProfiled, "ProfileWidth=-", "HostGetAttributeDefExt", ""},
        {Fx::Slab, "CoreThickness=-", "HostGetAttribute", ""},
        {Fx::Slab, "CoreThickness=- Area=21.5", "HostGetAttributeDef", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.guid) + " " + (c.failOp ? c.failOp : ""));
        host->ClearFailures();
        if (c.failOp != nullptr)
            host->FailOperation(c.failOp, c.failGuid);
        ExpectVariables(c.guid, c.values);
    }
}

// ---- Functions ---------------------------------------------------------------------------------

Math_Parameter N(double value) { return Math_Parameter{Math_NumberParameter, nullptr, value}; }
Math_Parameter T(const char* text) { return Math_Parameter{Math_TextParameter, const_cast<char*>(text), 0.0}; }

double Call(const char* guid, const char* name, const std::vector<Math_Parameter>& args)
{
    GS::Array<Math_Parameter> list;
    for (const Math_Parameter& p : args)
        list.Push(p);
    return GetElementFuncsFactory().EvaluateFunction(Read(guid), GS::UniString(name), list);
}

struct FunctionCase {
    const char* guid;
    const char* name;
    std::vector<Math_Parameter> args;
    double expected = 0.0;
};

TEST_F(ElementFuncsTest, FunctionsWithGoodAndBadArguments)
{
    const double NaN = std::numeric_limits<double>::quiet_NaN();
    const double Inf = std::numeric_limits<double>::infinity();
    const char *const W = Fx::WallComposite, *const WP = Fx::WallProfiled, *const BP = Fx::BeamProfiled;
    const FunctionCase cases[] = {
        // Skins by number: truncated, counted from 1, range checked before conversion.
        {W, "SkinVolume", {N(2.7)}, 6.0}, {W, "SkinVolume", {N(3.999)}, 3.0}, {W, "SkinArea", {N(3)}, 32.0},
        {W, "SkinVolume", {N(0)}, 0.0}, {W, "SkinVolume", {N(-1)}, 0.0}, {W, "SkinVolume", {N(4)}, 0.0},
        {W, "SkinVolume", {N(1e20)}, 0.0}, {W, "SkinVolume", {N(-1e20)}, 0.0}, {W, "SkinVolume", {N(NaN)}, 0.0},
        {W, "SkinArea", {N(Inf)}, 0.0}, {W, "SkinVolume", {N(4294967297.0)}, 0.0},
        // Skins by building material, any letter case, every skin of it.
        {W, "SkinArea", {T("brick")}, 62.0}, {W, "SkinVolume", {T("BRICK")}, 6.0},
        {W, "SkinVolume", {T("Concrete")}, 6.0}, {W, "SkinVolume", {T("Steel")}, 0.0},
        {W, "SkinVolume", {}, 0.0}, {W, "SkinVolume", {N(1), N(2)}, 0.0}, {W, "skinVolume", {N(1)}, 0.0},
        {W, "ProfileRegionArea", {T("Brick")}, 0.0},
        {Fx::WallBasic, "SkinVolume", {N(1)}, 0.0}, {Fx::WallProfiled, "SkinVolume", {N(1)}, 0.0},
        {Fx::Slab, "SkinVolume", {N(1)}, 2.0}, {Fx::Slab, "SkinArea", {N(3)}, 21.5},
        {Fx::Slab, "SkinVolume", {T("concrete")}, 3.0}, {Fx::SlabBasic, "SkinVolume", {N(1)}, 0.0},
        {Fx::RoofComposite, "SkinVolume", {T("Concrete")}, 4.0}, {Fx::RoofComposite, "SkinArea", {N(2)}, 20.0},
        {Fx::Roof, "SkinVolume", {N(1)}, 0.0},
        // Profile regions: brick is two hatches of 0.015, concrete one of 0.12.
        {WP, "ProfileRegionArea", {T("brick")}, 0.03}, {WP, "ProfileRegionArea", {T("Concrete")}, 0.12},
        {WP, "ProfileRegionVolume", {T("Concrete")}, 0.48}, {WP, "ProfileRegionArea", {N(1)}, 0.0},
        {WP, "ProfileRegionArea", {T("Insulation")}, 0.0}, {BP, "ProfileRegionVolume", {T("concrete")}, 0.6},
        {BP, "ProfileRegionVolume", {T("Brick")}, 0.15}, {BP, "ProfileRegionVolume", {T("Brick"), T("Brick")}, 0.0},
        {Fx::Beam, "ProfileRegionVolume", {T("Brick")}, 0.0},
        {Fx::BeamProfileZero, "ProfileRegionVolume", {T("Brick")}, 0.0},
        {Fx::BeamFlatCore, "ProfileRegionVolume", {T("Brick")}, 0.0},
        {Fx::ColumnProfiled, "ProfileRegionVolume", {T("Brick")}, 0.075},
        {Fx::Column, "ProfileRegionVolume", {T("Brick")}, 0.0},
        {Fx::ColumnProfileZero, "ProfileRegionVolume", {T("Brick")}, 0.0},
        // Properties: first numeric definition of the exact name, host order; text ones passed over.
        {Fx::WallBasic, "Property", {T("Fire rating")}, 1.5}, {W, "Property", {T("Fire rating")}, 0.5},
        {Fx::WallBasic, "Property", {T("Load")}, 3.0}, {Fx::WallBasic, "Property", {T("Load"), N(7)}, 3.0},
        {Fx::WallBasic, "Property", {T("load")}, 0.0}, {Fx::WallBasic, "Property", {T("Cost")}, 0.0},
        {Fx::WallBasic, "Property", {N(5)}, 0.0}, {Fx::WallBasic, "Property", {}, 0.0},
        {Fx::WallBasic, "property", {T("Load")}, 0.0}, {Fx::WallBasic, "Foo", {N(1)}, 0.0},
        {Fx::Slab, "Property", {T("Cost")}, 55.5}, {Fx::SlabBasic, "Property", {T("Cost")}, 42.0},
        {Fx::Roof, "Property", {T("Load")}, 3.0}, {Fx::Beam, "Property", {T("Load")}, 3.0},
        {Fx::Column, "Property", {T("Fire rating")}, 0.5}, {Fx::Fill, "Property", {T("Load")}, 0.0},
        {Fx::Door, "Property", {T("Load")}, 0.0}, {Fx::Object, "Property", {T("Load")}, 0.0},
        // Parameters: exact name within its 32-byte field, length or real type only.
        {Fx::Object, "Parameter", {T("Len")}, 2.5}, {Fx::Object, "Parameter", {T("Rate")}, 4.5},
        {Fx::Object, "Parameter", {T("Count")}, 0.0}, {Fx::Object, "Parameter", {T("len")}, 0.0},
        {Fx::Object, "Parameter", {T("ABCDEFGHIJKLMNOPQRSTUVWXYZ012345")}, 9.0},
        {Fx::Object, "Parameter", {T("ABCDEFGHIJKLMNOPQRSTUVWXYZ01234")}, 0.0},
        {Fx::Object, "Parameter", {T("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456")}, 0.0},
        {Fx::Object, "Parameter", {T("Len"), T("x")}, 0.0}, {Fx::Object, "Parameter", {N(1)}, 0.0},
        {Fx::Object, "parameter", {T("Len")}, 0.0}, {Fx::ObjectNoMemo, "Parameter", {T("Len")}, 0.0},
        {Fx::Window, "Parameter", {T("Frame")}, 0.07}, {Fx::Window, "Parameter", {T("Glazing")}, 0.0},
        {Fx::Zone, "Parameter", {T("Ceiling")}, 2.7}, {Fx::Zone, "Parameter", {T("Finish")}, 0.0},
        {Fx::Zone, "Parameter", {}, 0.0},
        // Types without functions.
        {Fx::Stair, "Parameter", {T("Len")}, 0.0}, {Fx::Line, "Length", {}, 0.0},
    };
    for (const FunctionCase& c : cases) {
        SCOPED_TRACE(std::string(c.guid) + " " + c.name + " with " + std::to_string(c.args.size()) + " argument(s)");
        EXPECT_NEAR(Call(c.guid, c.name, c.args), c.expected, 1e-12);
    }
}

TEST_F(ElementFuncsTest, FunctionsGiveZeroWhenTheHostFails)
{
    const struct {
        const char* op;
        const char* failGuid;
        FunctionCase call;
    } cases[] = {
        {"HostGetElementPropertyDefinitions", Fx::WallBasic, {Fx::WallBasic, "Property", {T("Load")}}},
        {"HostGetElementProperty", Fx::WallBasic, {Fx::WallBasic, "Property", {T("Load")}}},
        {"HostIsValidPropertyValue", "", {Fx::WallBasic, "Property", {T("Load")}}},
        {"HostGetElementMemo", Fx::Object, {Fx::Object, "Parameter", {T("Len")}}},
        {"HostGetElementMemo", Fx::Zone, {Fx::Zone, "Parameter", {T("Ceiling")}}},
        {"HostGetElementMemo", Fx::BeamProfiled, {Fx::BeamProfiled, "ProfileRegionVolume", {T("Brick")}}},
        {"HostGetElementQuantities", Fx::ColumnProfiled, {Fx::ColumnProfiled, "ProfileRegionVolume", {T("Brick")}}},
        {"HostGetElementQuantities", Fx::WallProfiled, {Fx::WallProfiled, "ProfileRegionVolume", {T("Brick")}}},
        {"HostGetElementQuantities", Fx::WallComposite, {Fx::WallComposite, "SkinVolume", {N(1)}}},
        {"HostGetAttributeDef", "", {Fx::WallComposite, "SkinVolume", {T("Brick")}}},
        {"HostGetAttribute", "", {Fx::WallProfiled, "ProfileRegionArea", {T("Brick")}}},
        {"HostGetAttributeDefExt", "", {Fx::WallProfiled, "ProfileRegionArea", {T("Brick")}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.op + std::string(" ") + c.call.name);
        host->ClearFailures();
        // Without the failure the call gives a value, so 0.0 is the failure's doing.
        EXPECT_GT(Call(c.call.guid, c.call.name, c.call.args), 0.0);
        host->FailOperation(c.op, c.failGuid);
        EXPECT_EQ(Call(c.call.guid, c.call.name, c.call.args), 0.0);
    }
}

}  // namespace
