// Names, variables and functions of every element type over the fixture model.
#include "ElementFuncsTestSupport.hpp"

#include <iterator>

#include "ElementFuncs/ElementTypes.hpp"
#include "Host/Model.hpp"
#include "VumoFuncs/VumoFuncs.hpp"

namespace {

const double Pi = 3.141592653589793;

// ---- Name lists of whole types -----------------------------------------------------------------

struct TypeNamesCase {
    GS::Int32 typeID;
    const char* typeName;
    const char* quantities;
    const char* functions;
};

const TypeNamesCase typeNameCases[] = {
    {1, "Wall", "Volume,CoreVolume,Area,Thickness,Perimeter,Length,RefLength,MaxHeight,MinHeight,ProfileWidth,ProfileHeight",
     "SkinVolume,SkinArea,ProfileRegionVolume,ProfileRegionArea,Property"},
    {2, "Column", "CoreVolume,CoreArea,Height,Width,ProfileHeight,ProfileArea", "Property,ProfileRegionVolume"},
    {3, "Beam", "Volume,CoreVolume,Area,Length,ProjectionLength,Width,Height,ProfileArea", "Property,ProfileRegionVolume"},
    {4, "Window", "Volume,Area,Width1,Height1", "Parameter"},
    {6, "Object", "A,B", "Parameter"},
    {8, "Slab", "Volume,CoreVolume,Area,Perimeter,Thickness,CoreThickness", "SkinVolume,SkinArea,Property"},
    {9, "Roof",
     "Volume,CoreVolume,Area,ProjectionArea,Perimeter,RidgesLength,EavesLength,GabelsLength,ValleysLength,HipsLength",
     "SkinVolume,SkinArea,Property"},
    {17, "Zone", "Area,Perimeter,Volume,Height,NetArea,CalcArea", "Parameter"},
    {18, "Fill", "Area,Perimeter", ""},
    {19, "Line", "Length", ""},
    {20, "Polyline", "Length", ""},
    {37, "CurtainWall", "Length,Height", ""},
    {45, "Morph", "Volume,Area", ""},
    {47, "Stair", "Volume,Area,Height,WalklineLength,Gradient,NumOfRisers,NumOfTreads", ""},
    {51, "Railing", "Length,Height", ""},
};

TEST(ElementFuncsTypes, EveryTypeNamesItsListInOrder)
{
    for (const TypeNamesCase& c : typeNameCases) {
        SCOPED_TRACE(c.typeName);
        std::unique_ptr<IElementFuncs> funcs(GetElementFuncsFactory().Create(c.typeID));
        ASSERT_NE(funcs, nullptr);
        EXPECT_EQ(funcs->GetTypeName().ToUtf8(), c.typeName);
        EXPECT_EQ(Join(funcs->GetAllQuantityNames()), c.quantities);
        EXPECT_EQ(Join(funcs->GetAllFunctionNames()), c.functions);
    }
}

TEST(ElementFuncsTypes, TypesWithoutImplementationGiveNull)
{
    for (GS::Int32 typeID : {0, 5, 7, 10, 29, 46, 52, 100, -1}) {
        SCOPED_TRACE(typeID);
        std::unique_ptr<IElementFuncs> funcs(GetElementFuncsFactory().Create(typeID));
        EXPECT_EQ(funcs, nullptr);
    }
}

TEST(ElementFuncsTypes, RailingAndCurtainWallListsHoldAreaBeyondTheOfferedNames)
{
    EXPECT_EQ(GetResString(ElementNameLists::Railing, 4).ToUtf8(), "Area");
    EXPECT_EQ(GetResString(ElementNameLists::CurtainWall, 4).ToUtf8(), "Area");
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

// ---- Name lists of single elements -------------------------------------------------------------

struct ElementNamesCase {
    const char* guid;
    const char* what;
    const char* quantities;
    const char* functions;
};

const char* const wallNames = "Volume,CoreVolume,Area,Thickness,Perimeter,Length,RefLength,MaxHeight,MinHeight";

const ElementNamesCase elementNameCases[] = {
    {Fx::WallBasic, "basic wall", wallNames, "Property"},
    {Fx::WallComposite, "composite wall", wallNames, "SkinVolume,SkinArea,Property"},
    {Fx::WallProfiled, "profiled wall",
     "Volume,CoreVolume,Area,Thickness,Perimeter,Length,RefLength,MaxHeight,MinHeight,ProfileWidth,ProfileHeight",
     "ProfileRegionVolume,ProfileRegionArea,Property"},
    {Fx::Beam, "beam", "Volume,CoreVolume,Area,Length,ProjectionLength,Width,Height", "Property"},
    {Fx::BeamProfiled, "profiled beam", "Volume,CoreVolume,Area,Length,ProjectionLength,Width,Height,ProfileArea",
     "Property,ProfileRegionVolume"},
    {Fx::BeamProfileZero, "profiled beam, profile index 0",
     "Volume,CoreVolume,Area,Length,ProjectionLength,Width,Height,ProfileArea", "Property,ProfileRegionVolume"},
    {Fx::Column, "column", "CoreVolume,CoreArea,Height,Width", "Property"},
    {Fx::ColumnProfiled, "profiled column", "CoreVolume,CoreArea,Height,Width,ProfileHeight,ProfileArea",
     "Property,ProfileRegionVolume"},
    {Fx::ColumnProfileZero, "profiled column, profile index 0",
     "CoreVolume,CoreArea,Height,Width,ProfileHeight,ProfileArea", "Property,ProfileRegionVolume"},
    {Fx::Window, "window", "Volume,Area,Width1,Height1", "Parameter"},
    {Fx::Door, "door", "", ""},
    {Fx::Object, "object", "A,B", "Parameter"},
    {Fx::Slab, "composite slab", "Volume,CoreVolume,Area,Perimeter,Thickness,CoreThickness",
     "SkinVolume,SkinArea,Property"},
    {Fx::SlabBasic, "basic slab", "Volume,CoreVolume,Area,Perimeter,Thickness,CoreThickness", "Property"},
    {Fx::Roof, "basic roof",
     "Volume,CoreVolume,Area,ProjectionArea,Perimeter,RidgesLength,EavesLength,GabelsLength,ValleysLength,HipsLength",
     "Property"},
    {Fx::RoofComposite, "composite roof",
     "Volume,CoreVolume,Area,ProjectionArea,Perimeter,RidgesLength,EavesLength,GabelsLength,ValleysLength,HipsLength",
     "SkinVolume,SkinArea,Property"},
    {Fx::Zone, "zone", "Area,Perimeter,Volume,Height,NetArea,CalcArea", "Parameter"},
    {Fx::Fill, "fill", "Area,Perimeter", ""},
    {Fx::Line, "line", "Length", ""},
    {Fx::PolyLine, "polyline", "Length", ""},
    {Fx::CurtainWall, "curtain wall", "Length,Height", ""},
    {Fx::Morph, "morph", "Volume,Area", ""},
    {Fx::Stair, "stair", "Volume,Area,Height,WalklineLength,Gradient,NumOfRisers,NumOfTreads", ""},
    {Fx::Railing, "railing", "Length,Height", ""},
    {Fx::Section, "section element of the composite wall", wallNames, ""},
    {Fx::SectionOrphan, "section element whose parent is gone", "", ""},
};

TEST_F(ElementFuncsTest, EveryElementOffersTheNamesThatApplyToIt)
{
    for (const ElementNamesCase& c : elementNameCases) {
        SCOPED_TRACE(c.what);
        const API_Element element = Read(c.guid);
        EXPECT_EQ(Join(GetElementFuncsFactory().GetQuantityNames(element)), c.quantities);
        EXPECT_EQ(Join(GetElementFuncsFactory().GetFunctionNames(element)), c.functions);
    }
}

TEST_F(ElementFuncsTest, SectionElementNamesDoNotChangeTheCurrentDatabase)
{
    GetElementFuncsFactory().GetQuantityNames(Read(Fx::Section));
    EXPECT_TRUE(Host::DatabaseSwitches().empty());
}

TEST_F(ElementFuncsTest, SectionElementWhoseParentCannotBeReadOffersNothing)
{
    // The parent's header reads, its record does not: no names from a half-read parent.
    host->FailOperation("HostGetElement", Fx::WallComposite);
    const API_Element section = Read(Fx::Section);
    EXPECT_EQ(Join(GetElementFuncsFactory().GetQuantityNames(section)), "");
    host->ClearFailures();
    host->FailOperation("HostGetElementHeader", Fx::WallComposite);
    EXPECT_EQ(Join(GetElementFuncsFactory().GetQuantityNames(section)), "");
}

// ---- Named quantities --------------------------------------------------------------------------

struct VariableCase {
    const char* guid;
    const char* name;
    double expected;  // Undefined: not stored
};

const VariableCase variableCases[] = {
    // Basic wall: record thickness, host quantities, core volume = volume.
    {Fx::WallBasic, "Thickness", 0.3},
    {Fx::WallBasic, "Volume", 10.0},
    {Fx::WallBasic, "CoreVolume", 10.0},
    {Fx::WallBasic, "Area", 30.0},
    {Fx::WallBasic, "Perimeter", 20.6},
    {Fx::WallBasic, "Length", 10.0},
    {Fx::WallBasic, "RefLength", 10.2},
    {Fx::WallBasic, "MaxHeight", 3.0},
    {Fx::WallBasic, "MinHeight", 2.8},
    {Fx::WallBasic, "ProfileWidth", Undefined},
    {Fx::WallBasic, "volume", Undefined},
    // Composite walls: the core skins' volumes; none when no skin is core; the volume without records.
    {Fx::WallComposite, "CoreVolume", 6.0},
    {Fx::WallComposite, "Volume", 12.0},
    {Fx::WallNoCore, "CoreVolume", 0.0},
    {Fx::WallNoSkins, "CoreVolume", 7.5},
    // Profiled wall: the profile's building dimensions.
    {Fx::WallProfiled, "ProfileWidth", 0.3},
    {Fx::WallProfiled, "ProfileHeight", 0.5},
    {Fx::WallProfiled, "Volume", 5.0},
    // Beams: plan length of (0,0)-(3,4), slanted 60 degrees, upright (cosine 0).
    {Fx::Beam, "ProjectionLength", 5.0},
    {Fx::Beam, "Length", 5.0},
    {Fx::Beam, "Width", 0.2},
    {Fx::Beam, "Height", 0.4},
    {Fx::Beam, "ProfileArea", 0.0},
    {Fx::Beam, "Volume", 0.4},
    {Fx::Beam, "Area", 5.0},
    {Fx::Beam, "CoreVolume", 0.4},
    {Fx::BeamSlanted, "ProjectionLength", 5.0},
    {Fx::BeamSlanted, "Length", 10.0},
    {Fx::BeamUpright, "Length", 5.0},
    {Fx::BeamUpright, "ProjectionLength", 5.0},
    // Profiled beam: building dimensions, building-material hatches 0.12 + 2 x 0.015, core box
    // 0.2 x 0.3 of 0.3 x 0.5 scaled to 0.3 x 0.5: 0.06, times length 5.
    {Fx::BeamProfiled, "Width", 0.3},
    {Fx::BeamProfiled, "Height", 0.5},
    {Fx::BeamProfiled, "ProfileArea", 0.15},
    {Fx::BeamProfiled, "CoreVolume", 0.3},
    {Fx::BeamProfiled, "Volume", 0.9},
    {Fx::BeamProfileZero, "Width", 0.25},
    {Fx::BeamProfileZero, "Height", 0.45},
    {Fx::BeamProfileZero, "ProfileArea", 0.0},
    {Fx::BeamProfileZero, "CoreVolume", 0.5},
    // A core box of zero width: no core area, so the core volume is the volume.
    {Fx::BeamFlatCore, "CoreVolume", 0.2},
    {Fx::BeamFlatCore, "ProfileArea", 0.0},
    {Fx::BeamFlatCore, "Width", 0.2},
    // Columns.
    {Fx::Column, "CoreVolume", 0.27},
    {Fx::Column, "CoreArea", 0.09},
    {Fx::Column, "Height", 3.0},
    {Fx::Column, "Width", 0.3},
    {Fx::Column, "ProfileHeight", 0.35},
    {Fx::Column, "ProfileArea", 0.0},
    {Fx::ColumnProfiled, "Width", 0.3},
    {Fx::ColumnProfiled, "ProfileHeight", 0.5},
    {Fx::ColumnProfiled, "ProfileArea", 0.15},
    {Fx::ColumnProfiled, "Height", 2.5},
    {Fx::ColumnProfileZero, "Width", 0.25},
    {Fx::ColumnProfileZero, "ProfileHeight", 0.45},
    {Fx::ColumnProfileZero, "ProfileArea", 0.0},
    {Fx::ColumnProfileZero, "CoreVolume", 0.3},
    // Window: listed and fixed names.
    {Fx::Window, "Width1", 1.2},
    {Fx::Window, "Height1", 1.5},
    {Fx::Window, "Area", 1.8},
    {Fx::Window, "Volume", 0.54},
    {Fx::Window, "Width2", 1.1},
    {Fx::Window, "Height2", 1.4},
    {Fx::Window, "Area1", 1.7},
    {Fx::Window, "Area2", 1.6},
    {Fx::Window, "NominalWidth1", 1.25},
    {Fx::Window, "NominalWidth2", 1.15},
    {Fx::Window, "NominalHeight1", 1.55},
    {Fx::Window, "NominalHeight2", 1.45},
    {Fx::Window, "NominalArea1", 1.9},
    {Fx::Window, "NominalArea2", 1.66},
    {Fx::Window, "GrossArea", 2.0},
    {Fx::Window, "GrossVolume", 0.6},
    {Fx::Window, "SillHeight", 0.9},
    {Fx::Window, "SillHeight1", 0.91},
    {Fx::Window, "SillHeight2", 0.92},
    {Fx::Window, "SillHeight3", 0.93},
    {Fx::Window, "HeadHeight", 2.4},
    {Fx::Window, "HeadHeight1", 2.41},
    {Fx::Window, "HeadHeight2", 2.42},
    {Fx::Window, "HeadHeight3", 2.43},
    {Fx::Door, "Width1", Undefined},
    {Fx::Object, "A", 1.2},
    {Fx::Object, "B", 0.8},
    // Slabs: the larger face whichever it is; core thickness 0.1 + 0.05 of skins core, non-core, core.
    {Fx::Slab, "Thickness", 0.35},
    {Fx::Slab, "Area", 21.5},
    {Fx::Slab, "Volume", 7.0},
    {Fx::Slab, "CoreVolume", 3.0},
    {Fx::Slab, "Perimeter", 18.0},
    {Fx::Slab, "CoreThickness", 0.15},
    {Fx::SlabBasic, "Area", 21.5},
    {Fx::SlabBasic, "CoreThickness", 0.0},
    {Fx::SlabBasic, "CoreVolume", 5.0},
    {Fx::Roof, "Volume", 9.0},
    {Fx::Roof, "CoreVolume", 9.0},
    {Fx::Roof, "Area", 35.0},
    {Fx::Roof, "ProjectionArea", 30.0},
    {Fx::Roof, "Perimeter", 24.0},
    {Fx::Roof, "RidgesLength", 6.0},
    {Fx::Roof, "EavesLength", 12.0},
    {Fx::Roof, "GabelsLength", 8.0},
    {Fx::Roof, "ValleysLength", 1.5},
    {Fx::Roof, "HipsLength", 2.5},
    {Fx::RoofComposite, "CoreVolume", 4.0},
    {Fx::Zone, "Area", 25.0},
    {Fx::Zone, "Perimeter", 20.0},
    {Fx::Zone, "Volume", 67.5},
    {Fx::Zone, "Height", 2.7},
    {Fx::Zone, "NetArea", 24.0},
    {Fx::Zone, "CalcArea", 23.5},
    {Fx::Fill, "Area", 4.5},
    {Fx::Fill, "Perimeter", 9.0},
    {Fx::Line, "Length", 5.0},
    // Polylines: 4 + 3; the first edge a half circle over its chord 4; one point; lying counts,
    // an arc of angle 0 and arcs that point outside the polygon.
    {Fx::PolyLine, "Length", 7.0},
    {Fx::PolyLineArc, "Length", 4.0 * Pi / 2.0 + 3.0},
    {Fx::PolyLineOnePoint, "Length", 0.0},
    {Fx::PolyLineBadCounts, "Length", 7.0},
    {Fx::CurtainWall, "Height", 3.5},
    {Fx::CurtainWall, "Length", 6.0},
    {Fx::CurtainWall, "Area", 21.0},
    {Fx::Morph, "Volume", 2.0},
    {Fx::Morph, "Area", 6.0},
    {Fx::Stair, "Volume", 1.8},
    {Fx::Stair, "Area", 5.4},
    {Fx::Stair, "Height", 3.0},
    {Fx::Stair, "WalklineLength", 4.5},
    {Fx::Stair, "Gradient", 0.6},
    {Fx::Stair, "NumOfRisers", 17.0},
    {Fx::Stair, "NumOfTreads", 16.0},
    {Fx::Railing, "Height", 1.1},
    {Fx::Railing, "Length", 8.0},
    {Fx::Railing, "Area", 8.8},
    // A section element has no type of its own: its variables come through the quantity.
    {Fx::Section, "Volume", Undefined},
};

TEST_F(ElementFuncsTest, NamedQuantitiesMatchTheirClosedFormValues)
{
    for (const VariableCase& c : variableCases) {
        SCOPED_TRACE(std::string(c.guid) + " " + c.name);
        const double value = Variable(c.guid, c.name);
        if (std::isnan(c.expected))
            EXPECT_TRUE(std::isnan(value)) << value;
        else
            EXPECT_NEAR(value, c.expected, 1e-12);
    }
}

TEST_F(ElementFuncsTest, QuantityRequestsAskOnlyForWhatIsRead)
{
    // The host fills only the masked fields: a wall's per-skin area is not asked for by its variables.
    API_Element wall = Read(Fx::WallComposite);
    HostQuantitiesMask mask;
    HostMaskClear(&mask);
    HostMaskSet(mask.elements.wall.volume);
    HostMaskSet(mask.composites.volume);
    HostElementQuantity quantity;
    GS::Array<API_CompositeQuantity> skins;
    std::unique_ptr<IElementFuncs> funcs(GetElementFuncsFactory().Create(API_WallID));
    ASSERT_TRUE(funcs->GetElementQuantities(wall, mask, &quantity, &skins));
    EXPECT_EQ(quantity.wall.volume, 12.0);
    EXPECT_EQ(quantity.wall.area, 0.0);
    ASSERT_EQ(skins.GetSize(), 3u);
    EXPECT_EQ(skins[1].volume, 6.0);
    EXPECT_EQ(skins[1].area, 0.0);
}

// ---- Failing host calls ------------------------------------------------------------------------

struct FailureCase {
    const char* what;
    const char* op;
    const char* failGuid;  // "" for every element
    const char* guid;
    const char* name;
    double expected;
};

const FailureCase failureCases[] = {
    {"quantities fail: record variables stay", "HostGetElementQuantities", Fx::WallProfiled, Fx::WallProfiled,
     "Thickness", 0.3},
    {"quantities fail: profile dimensions stay", "HostGetElementQuantities", Fx::WallProfiled, Fx::WallProfiled,
     "ProfileHeight", 0.5},
    {"quantities fail: volume undefined", "HostGetElementQuantities", Fx::WallProfiled, Fx::WallProfiled, "Volume",
     Undefined},
    {"quantities fail: core volume undefined", "HostGetElementQuantities", Fx::WallProfiled, Fx::WallProfiled,
     "CoreVolume", Undefined},
    {"quantities fail: slab thickness stays", "HostGetElementQuantities", Fx::Slab, Fx::Slab, "Thickness", 0.35},
    {"quantities fail: no skins, no core thickness", "HostGetElementQuantities", Fx::Slab, Fx::Slab, "CoreThickness",
     0.0},
    {"quantities fail: railing height stays", "HostGetElementQuantities", Fx::Railing, Fx::Railing, "Height", 1.1},
    {"quantities fail: railing length undefined", "HostGetElementQuantities", Fx::Railing, Fx::Railing, "Length",
     Undefined},
    {"quantities fail: object sizes stay", "HostGetElementQuantities", Fx::Object, Fx::Object, "A", 1.2},
    {"quantities fail: beam length stays", "HostGetElementQuantities", Fx::Beam, Fx::Beam, "Length", 5.0},
    {"quantities fail: beam volume undefined", "HostGetElementQuantities", Fx::Beam, Fx::Beam, "Volume", Undefined},
    {"quantities fail: window has nothing", "HostGetElementQuantities", Fx::Window, Fx::Window, "Width1", Undefined},
    {"segments fail: beam width undefined", "HostGetElementMemo", Fx::Beam, Fx::Beam, "Width", Undefined},
    {"segments fail: beam volume stays", "HostGetElementMemo", Fx::Beam, Fx::Beam, "CoreVolume", 0.4},
    {"segments fail: column width undefined", "HostGetElementMemo", Fx::Column, Fx::Column, "Width", Undefined},
    {"polygon fails: polyline length 0", "HostGetElementMemo", Fx::PolyLineArc, Fx::PolyLineArc, "Length", 0.0},
    {"profile fails: beam width undefined", "HostGetAttributeDefExt", "", Fx::BeamProfiled, "Width", Undefined},
    {"profile fails: profile area 0", "HostGetAttributeDefExt", "", Fx::BeamProfiled, "ProfileArea", 0.0},
    {"profile fails: core volume is volume", "HostGetAttributeDefExt", "", Fx::BeamProfiled, "CoreVolume", 0.9},
    {"profile fails: wall profile width undefined", "HostGetAttributeDefExt", "", Fx::WallProfiled, "ProfileWidth",
     Undefined},
    {"attribute fails: no core thickness", "ACAPI_Attribute_Get", "", Fx::Slab, "CoreThickness", Undefined},
    {"definition fails: no core thickness", "HostGetAttributeDef", "", Fx::Slab, "CoreThickness", Undefined},
    {"definition fails: slab area stays", "HostGetAttributeDef", "", Fx::Slab, "Area", 21.5},
};

TEST_F(ElementFuncsTest, FailedHostReadsLeaveOnlyTheirOwnVariablesUndefined)
{
    for (const FailureCase& c : failureCases) {
        SCOPED_TRACE(c.what);
        host->ClearFailures();
        host->FailOperation(c.op, c.failGuid);
        const double value = Variable(c.guid, c.name);
        if (std::isnan(c.expected))
            EXPECT_TRUE(std::isnan(value)) << value;
        else
            EXPECT_NEAR(value, c.expected, 1e-12);
    }
}

TEST_F(ElementFuncsTest, MemosAndDefinitionsComeBackOnEveryPath)
{
    Variable(Fx::BeamProfiled, "Width");
    const Host::ElementOpsCounters& c = Host::ElementCounters();
    EXPECT_EQ(c.memosHandedOut, 1);
    EXPECT_EQ(c.attributeDefExtsHandedOut, 3);  // dimensions, area, core area
    EXPECT_TRUE(c.Balanced());

    Variable(Fx::Slab, "CoreThickness");
    EXPECT_EQ(c.attributeDefsHandedOut, 1);
    EXPECT_TRUE(c.Balanced());

    Call(Fx::WallComposite, "SkinVolume", {Text("brick")});
    Call(Fx::Object, "Parameter", {Text("Len")});
    Call(Fx::Object, "Parameter", {Text("Nothing")});
    Call(Fx::ColumnProfiled, "ProfileRegionVolume", {Text("Brick")});
    Variable(Fx::PolyLineBadCounts, "Length");
    EXPECT_EQ(c.attributeDefsHandedOut, 2);
    EXPECT_EQ(c.memosHandedOut, 5);
    EXPECT_TRUE(c.Balanced());

    // The building materials fail after the definition was read: it still comes back.
    host->FailOperation("ACAPI_Attribute_Get");
    EXPECT_EQ(Call(Fx::WallComposite, "SkinVolume", {Text("brick")}), 0.0);
    EXPECT_TRUE(c.Balanced());
}

// ---- Functions ---------------------------------------------------------------------------------

struct FunctionCase {
    const char* guid;
    const char* name;
    std::vector<Math_Parameter> args;
    double expected;
};

Math_Parameter N(double value) { return Math_Parameter{Math_NumberParameter, nullptr, value}; }
Math_Parameter T(const char* text) { return Math_Parameter{Math_TextParameter, const_cast<char*>(text), 0.0}; }

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

const std::vector<FunctionCase>& FunctionCases()
{
    static const std::vector<FunctionCase> cases = {
        // Skins by number: truncated, counted from 1, range checked before conversion.
        {Fx::WallComposite, "SkinVolume", {N(2)}, 6.0},
        {Fx::WallComposite, "SkinVolume", {N(2.7)}, 6.0},
        {Fx::WallComposite, "SkinVolume", {N(1)}, 3.0},
        {Fx::WallComposite, "SkinVolume", {N(3.999)}, 3.0},
        {Fx::WallComposite, "SkinArea", {N(3)}, 32.0},
        {Fx::WallComposite, "SkinVolume", {N(0)}, 0.0},
        {Fx::WallComposite, "SkinVolume", {N(0.5)}, 0.0},
        {Fx::WallComposite, "SkinVolume", {N(-1)}, 0.0},
        {Fx::WallComposite, "SkinVolume", {N(4)}, 0.0},
        {Fx::WallComposite, "SkinVolume", {N(1e20)}, 0.0},
        {Fx::WallComposite, "SkinVolume", {N(-1e20)}, 0.0},
        {Fx::WallComposite, "SkinVolume", {N(NaN)}, 0.0},
        {Fx::WallComposite, "SkinArea", {N(Inf)}, 0.0},
        {Fx::WallComposite, "SkinVolume", {N(4294967297.0)}, 0.0},
        // Skins by building material, any letter case, every skin of it.
        {Fx::WallComposite, "SkinArea", {T("brick")}, 62.0},
        {Fx::WallComposite, "SkinVolume", {T("BRICK")}, 6.0},
        {Fx::WallComposite, "SkinVolume", {T("Concrete")}, 6.0},
        {Fx::WallComposite, "SkinVolume", {T("Steel")}, 0.0},
        {Fx::WallComposite, "SkinVolume", {}, 0.0},
        {Fx::WallComposite, "SkinVolume", {N(1), N(2)}, 0.0},
        {Fx::WallComposite, "skinVolume", {N(1)}, 0.0},
        {Fx::WallComposite, "ProfileRegionArea", {T("Brick")}, 0.0},
        {Fx::WallBasic, "SkinVolume", {N(1)}, 0.0},
        {Fx::WallProfiled, "SkinVolume", {N(1)}, 0.0},
        {Fx::Slab, "SkinVolume", {N(1)}, 2.0},
        {Fx::Slab, "SkinArea", {N(3)}, 21.5},
        {Fx::Slab, "SkinVolume", {T("concrete")}, 3.0},
        {Fx::SlabBasic, "SkinVolume", {N(1)}, 0.0},
        {Fx::RoofComposite, "SkinVolume", {T("Concrete")}, 4.0},
        {Fx::RoofComposite, "SkinArea", {N(2)}, 20.0},
        {Fx::Roof, "SkinVolume", {N(1)}, 0.0},
        // Profile regions: brick is two hatches of 0.015, concrete one of 0.12.
        {Fx::WallProfiled, "ProfileRegionArea", {T("brick")}, 0.03},
        {Fx::WallProfiled, "ProfileRegionArea", {T("Concrete")}, 0.12},
        {Fx::WallProfiled, "ProfileRegionVolume", {T("Concrete")}, 0.48},
        {Fx::WallProfiled, "ProfileRegionArea", {N(1)}, 0.0},
        {Fx::WallProfiled, "ProfileRegionArea", {T("Insulation")}, 0.0},
        {Fx::BeamProfiled, "ProfileRegionVolume", {T("concrete")}, 0.6},
        {Fx::BeamProfiled, "ProfileRegionVolume", {T("Brick")}, 0.15},
        {Fx::BeamProfiled, "ProfileRegionVolume", {T("Brick"), T("Brick")}, 0.0},
        {Fx::Beam, "ProfileRegionVolume", {T("Brick")}, 0.0},
        {Fx::BeamProfileZero, "ProfileRegionVolume", {T("Brick")}, 0.0},
        {Fx::BeamFlatCore, "ProfileRegionVolume", {T("Brick")}, 0.0},
        {Fx::ColumnProfiled, "ProfileRegionVolume", {T("Brick")}, 0.075},
        {Fx::Column, "ProfileRegionVolume", {T("Brick")}, 0.0},
        {Fx::ColumnProfileZero, "ProfileRegionVolume", {T("Brick")}, 0.0},
        // Properties: first numeric definition of the exact name, host order; text ones passed over.
        {Fx::WallBasic, "Property", {T("Fire rating")}, 1.5},
        {Fx::WallComposite, "Property", {T("Fire rating")}, 0.5},
        {Fx::WallBasic, "Property", {T("Load")}, 3.0},
        {Fx::WallBasic, "Property", {T("Load"), N(7)}, 3.0},
        {Fx::WallBasic, "Property", {T("load")}, 0.0},
        {Fx::WallBasic, "Property", {T("Cost")}, 0.0},
        {Fx::WallBasic, "Property", {N(5)}, 0.0},
        {Fx::WallBasic, "Property", {}, 0.0},
        {Fx::WallBasic, "property", {T("Load")}, 0.0},
        {Fx::WallBasic, "Foo", {N(1)}, 0.0},
        {Fx::Slab, "Property", {T("Cost")}, 55.5},
        {Fx::SlabBasic, "Property", {T("Cost")}, 42.0},
        {Fx::Roof, "Property", {T("Load")}, 3.0},
        {Fx::Beam, "Property", {T("Load")}, 3.0},
        {Fx::Column, "Property", {T("Fire rating")}, 0.5},
        {Fx::Fill, "Property", {T("Load")}, 0.0},
        {Fx::Morph, "Property", {T("Load")}, 0.0},
        {Fx::Door, "Property", {T("Load")}, 0.0},
        {Fx::Object, "Property", {T("Load")}, 0.0},
        // Parameters: exact name within its 32-byte field, length or real type only.
        {Fx::Object, "Parameter", {T("Len")}, 2.5},
        {Fx::Object, "Parameter", {T("Rate")}, 4.5},
        {Fx::Object, "Parameter", {T("Count")}, 0.0},
        {Fx::Object, "Parameter", {T("len")}, 0.0},
        {Fx::Object, "Parameter", {T("ABCDEFGHIJKLMNOPQRSTUVWXYZ012345")}, 9.0},
        {Fx::Object, "Parameter", {T("ABCDEFGHIJKLMNOPQRSTUVWXYZ01234")}, 0.0},
        {Fx::Object, "Parameter", {T("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456")}, 0.0},
        {Fx::Object, "Parameter", {T("Len"), T("x")}, 0.0},
        {Fx::Object, "Parameter", {N(1)}, 0.0},
        {Fx::Object, "parameter", {T("Len")}, 0.0},
        {Fx::ObjectNoMemo, "Parameter", {T("Len")}, 0.0},
        {Fx::Window, "Parameter", {T("Frame")}, 0.07},
        {Fx::Window, "Parameter", {T("Glazing")}, 0.0},
        {Fx::Zone, "Parameter", {T("Ceiling")}, 2.7},
        {Fx::Zone, "Parameter", {T("Finish")}, 0.0},
        {Fx::Zone, "Parameter", {}, 0.0},
        // Types without functions.
        {Fx::Stair, "Parameter", {T("Len")}, 0.0},
        {Fx::Line, "Length", {}, 0.0},
    };
    return cases;
}

TEST_F(ElementFuncsTest, FunctionsWithGoodAndBadArguments)
{
    for (const FunctionCase& c : FunctionCases()) {
        SCOPED_TRACE(std::string(c.guid) + " " + c.name + " with " + std::to_string(c.args.size()) + " argument(s)");
        EXPECT_NEAR(Call(c.guid, c.name, c.args), c.expected, 1e-12);
    }
}

TEST_F(ElementFuncsTest, FunctionsGiveZeroWhenTheHostFails)
{
    const struct {
        const char* op;
        const char* guid;
        const char* name;
        std::vector<Math_Parameter> args;
    } cases[] = {
        {"HostGetElementPropertyDefinitions", Fx::WallBasic, "Property", {T("Load")}},
        {"HostGetElementProperty", Fx::WallBasic, "Property", {T("Load")}},
        {"HostIsValidPropertyValue", "", "Property", {T("Load")}},
        {"HostGetElementMemo", Fx::Object, "Parameter", {T("Len")}},
        {"HostGetElementMemo", Fx::Zone, "Parameter", {T("Ceiling")}},
        {"HostGetElementMemo", Fx::BeamProfiled, "ProfileRegionVolume", {T("Brick")}},
        {"HostGetElementQuantities", Fx::ColumnProfiled, "ProfileRegionVolume", {T("Brick")}},
        {"HostGetElementQuantities", Fx::WallProfiled, "ProfileRegionVolume", {T("Brick")}},
        {"HostGetElementQuantities", Fx::WallComposite, "SkinVolume", {N(1)}},
        {"HostGetAttributeDef", "", "SkinVolume", {T("Brick")}},
        {"ACAPI_Attribute_Get", "", "ProfileRegionArea", {T("Brick")}},
        {"HostGetAttributeDefExt", "", "ProfileRegionArea", {T("Brick")}},
    };
    const char* elements[] = {Fx::WallBasic, Fx::WallBasic,      Fx::WallBasic,     Fx::Object,
                              Fx::Zone,      Fx::BeamProfiled,   Fx::ColumnProfiled, Fx::WallProfiled,
                              Fx::WallComposite, Fx::WallComposite, Fx::WallProfiled, Fx::WallProfiled};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].op + std::string(" ") + cases[i].name);
        host->ClearFailures();
        // Without the failure the call gives a value, so 0.0 is the failure's doing.
        EXPECT_GT(Call(elements[i], cases[i].name, cases[i].args), 0.0);
        host->FailOperation(cases[i].op, cases[i].guid);
        EXPECT_EQ(Call(elements[i], cases[i].name, cases[i].args), 0.0);
    }
}

// ---- The formula context -----------------------------------------------------------------------

TEST_F(ElementFuncsTest, ContextKeepsTheFirstValueOfAName)
{
    ElementFormulaContext context;
    context.SetVariable("A", 1.0);
    context.SetVariable("A", 2.0);
    double value = 0.0;
    ASSERT_EQ(Math_Evaluate(&context, "A*10", &value), Math_NoError);
    EXPECT_EQ(value, 10.0);
}

TEST_F(ElementFuncsTest, CallbacksReachTheWholeContextThroughItsEvaluatorState)
{
    const API_Element wall = Read(Fx::WallBasic);
    ElementFormulaContext context;
    context.SetVariable("Twice", 2.0);
    context.SetElement(&wall);
    Math_Context* state = &context;  // what the evaluator hands back
    double value = 0.0;
    EXPECT_TRUE(ElementFormulaContext::LookupVariable(state, "Twice", &value, 0));
    EXPECT_EQ(value, 2.0);
    EXPECT_FALSE(ElementFormulaContext::LookupVariable(state, "twice", &value, 0));
    char load[] = "Load";
    Math_Parameter argument{Math_TextParameter, load, 0.0};
    value = 0.0;
    EXPECT_TRUE(ElementFormulaContext::CallFunction(state, "Property", &argument, 1, &value));
    EXPECT_EQ(value, 3.0);
}

TEST_F(ElementFuncsTest, ContextWithoutElementRefusesElementFunctions)
{
    ElementFormulaContext context;
    double value = 0.0;
    EXPECT_EQ(Math_Evaluate(&context, "Property('x')", &value), Math_ErrInvalidToken);
    EXPECT_STREQ(context.message, "Undeclared identifier: Property.");
}

TEST_F(ElementFuncsTest, ContextHandsEveryArgumentInOrderToTheElementType)
{
    const API_Element object = Read(Fx::Object);
    ElementFormulaContext context;
    context.SetElement(&object);
    double value = -1.0;
    // Two arguments reach Parameter, which then refuses them; one text argument is read.
    ASSERT_EQ(Math_Evaluate(&context, "Parameter('Len','x')", &value), Math_NoError);
    EXPECT_EQ(value, 0.0);
    ASSERT_EQ(Math_Evaluate(&context, "Parameter('Len')*2", &value), Math_NoError);
    EXPECT_EQ(value, 5.0);
    ASSERT_EQ(Math_Evaluate(&context, "Parameter('Rate')+Parameter('Len')", &value), Math_NoError);
    EXPECT_EQ(value, 7.0);

    // Property reads its first argument only: the name must come first.
    const API_Element wall = Read(Fx::WallBasic);
    context.SetElement(&wall);
    ASSERT_EQ(Math_Evaluate(&context, "Property('Load',7)", &value), Math_NoError);
    EXPECT_EQ(value, 3.0);
    ASSERT_EQ(Math_Evaluate(&context, "Property(7,'Load')", &value), Math_NoError);
    EXPECT_EQ(value, 0.0);
}

}  // namespace
