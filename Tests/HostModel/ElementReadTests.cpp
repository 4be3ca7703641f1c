#include <cmath>
#include <functional>
#include <limits>
#include <stdexcept>

#include "HostModelFixture.hpp"

namespace {

struct ReadCase {
    const char* name;
    const char* guid;
    GS::Int32 typeID;
    bool hasMemo;
    std::function<void(const API_Element&)> check;
};

void ExpectCoord(const API_Coord& c, double x, double y)
{
    EXPECT_DOUBLE_EQ(c.x, x);
    EXPECT_DOUBLE_EQ(c.y, y);
}

const ReadCase kReadCases[] = {
    {"basic wall", Fx::BasicWall, API_WallID, false,
     [](const API_Element& e) {
         EXPECT_EQ(e.header.floorInd, 0);
         EXPECT_DOUBLE_EQ(e.wall.thickness, 0.3);
         EXPECT_DOUBLE_EQ(e.wall.height, 3.0);
         EXPECT_EQ(e.wall.modelElemStructureType, API_BasicStructure);
         EXPECT_EQ(e.wall.buildingMaterial, 1);
         EXPECT_EQ(e.wall.profileAttr, 0);
         ExpectCoord(e.wall.endC, 5.0, 0.0);
     }},
    {"composite wall", Fx::CompositeWall, API_WallID, false,
     [](const API_Element& e) {
         EXPECT_EQ(e.header.floorInd, 1);
         EXPECT_EQ(e.wall.modelElemStructureType, API_CompositeStructure);
         EXPECT_EQ(e.wall.composite, 1);
     }},
    {"profiled wall", Fx::ProfiledWall, API_WallID, false,
     [](const API_Element& e) {
         EXPECT_EQ(e.wall.modelElemStructureType, API_ProfileStructure);
         EXPECT_EQ(e.wall.profileAttr, 1);
         EXPECT_DOUBLE_EQ(e.wall.thickness, 0.2);
     }},
    {"profiled column", Fx::ProfiledColumn, API_ColumnID, true,
     [](const API_Element& e) {
         EXPECT_EQ(e.column.nSegments, 2);
         EXPECT_DOUBLE_EQ(e.column.height, 3.5);
     }},
    {"basic column", Fx::BasicColumn, API_ColumnID, true,
     [](const API_Element& e) {
         EXPECT_EQ(e.column.nSegments, 1);
         ExpectCoord(e.column.origoPos, 1.0, 1.0);
     }},
    {"plain beam", Fx::PlainBeam, API_BeamID, true,
     [](const API_Element& e) {
         ExpectCoord(e.beam.begC, 0.0, 0.0);
         ExpectCoord(e.beam.endC, 3.0, 4.0);
         EXPECT_FALSE(e.beam.isSlanted);
         EXPECT_DOUBLE_EQ(e.beam.slantAngle, 0.0);
     }},
    {"slanted beam", Fx::SlantedBeam, API_BeamID, true,
     [](const API_Element& e) {
         EXPECT_TRUE(e.beam.isSlanted);
         EXPECT_DOUBLE_EQ(e.beam.slantAngle, M_PI / 3.0);
         EXPECT_EQ(e.beam.nSegments, 1);
     }},
    {"window", Fx::Window, API_WindowID, true,
     [](const API_Element& e) {
         EXPECT_EQ(e.window.libInd, 1);
         EXPECT_DOUBLE_EQ(e.window.width, 1.2);
         EXPECT_TRUE(e.window.owner == Fx::G(Fx::BasicWall));
     }},
    {"door without parameters", Fx::Door, API_DoorID, false,
     [](const API_Element& e) { EXPECT_EQ(e.door.libInd, 0); }},
    {"object with its library part's parameters", Fx::Object, API_ObjectID, true,
     [](const API_Element& e) {
         EXPECT_EQ(e.object.libInd, 2);
         EXPECT_DOUBLE_EQ(e.object.a, 0.5);
         EXPECT_DOUBLE_EQ(e.object.b, 0.6);
     }},
    {"composite slab", Fx::CompositeSlab, API_SlabID, false,
     [](const API_Element& e) {
         EXPECT_DOUBLE_EQ(e.slab.thickness, 0.35);
         EXPECT_EQ(e.slab.modelElemStructureType, API_CompositeStructure);
         EXPECT_EQ(e.slab.composite, 2);
     }},
    {"basic slab keeps its composite index", Fx::BasicSlab, API_SlabID, false,
     [](const API_Element& e) {
         EXPECT_EQ(e.slab.modelElemStructureType, API_BasicStructure);
         EXPECT_EQ(e.slab.composite, 2);
     }},
    {"roof", Fx::Roof, API_RoofID, false,
     [](const API_Element& e) {
         EXPECT_DOUBLE_EQ(e.roof.thickness, 0.25);
         EXPECT_EQ(e.roof.modelElemStructureType, API_BasicStructure);
     }},
    {"zone", Fx::Zone, API_ZoneID, true,
     [](const API_Element& e) {
         EXPECT_STREQ(e.zone.roomName, "Living Room");
         EXPECT_STREQ(e.zone.roomNoStr, "001");
         EXPECT_EQ(e.zone.poly.nCoords, 5);
         EXPECT_EQ(e.zone.poly.nArcs, 0);
     }},
    {"fill", Fx::Fill, API_HatchID, false, [](const API_Element& e) { EXPECT_EQ(e.hatch.fillInd, 1); }},
    {"line", Fx::Line, API_LineID, false,
     [](const API_Element& e) {
         ExpectCoord(e.line.begC, 1.0, 1.0);
         ExpectCoord(e.line.endC, 4.0, 5.0);
     }},
    {"polyline with an arc", Fx::ArcPolyline, API_PolyLineID, true,
     [](const API_Element& e) {
         EXPECT_EQ(e.polyLine.poly.nCoords, 3);
         EXPECT_EQ(e.polyLine.poly.nArcs, 1);
     }},
    {"polyline whose counts exceed its memo", Fx::OvercountedPolyline, API_PolyLineID, true,
     [](const API_Element& e) {
         EXPECT_EQ(e.polyLine.poly.nCoords, 9);
         EXPECT_EQ(e.polyLine.poly.nArcs, 3);
     }},
    {"section element", Fx::SectionElement, API_SectElemID, false,
     [](const API_Element& e) {
         EXPECT_TRUE(e.sectElem.parentGuid == Fx::G(Fx::CompositeWall));
         EXPECT_EQ(e.sectElem.parentID, API_WallID);
     }},
    {"curtain wall", Fx::CurtainWall, API_CurtainWallID, false,
     [](const API_Element& e) { EXPECT_DOUBLE_EQ(e.curtainWall.height, 6.0); }},
    {"morph", Fx::Morph, API_MorphID, false, [](const API_Element& e) { EXPECT_EQ(e.morph.buildingMaterial, 1); }},
    {"stair", Fx::Stair, API_StairID, false, [](const API_Element& e) { EXPECT_DOUBLE_EQ(e.stair.height, 2.975); }},
    {"railing", Fx::Railing, API_RailingID, false,
     [](const API_Element& e) { EXPECT_DOUBLE_EQ(e.railing.height, 1.1); }},
};

}  // namespace

TEST_F(HostModelTest, ElementRecordsCarryTheirTypeFields)
{
    for (const ReadCase& c : kReadCases) {
        SCOPED_TRACE(c.name);
        API_Element element;
        std::memset(&element, 0x5A, sizeof element);  // every field must be written
        element.header.guid = Fx::G(c.guid);
        ASSERT_EQ(HostGetElement(&element), NoError);
        EXPECT_EQ(element.header.typeID, c.typeID);
        EXPECT_TRUE(element.header.guid == Fx::G(c.guid));
        EXPECT_EQ(element.header.hasMemo, c.hasMemo);
        c.check(element);
    }
}

TEST_F(HostModelTest, HeaderMatchesTheWholeRecordForEveryElement)
{
    const Host::Json& elements = host.Model()["elements"];
    ASSERT_EQ(elements.size(), 23u);
    for (const auto& e : elements) {
        const std::string guid = e["guid"].get<std::string>();
        SCOPED_TRACE(guid);
        API_Element element = Read(guid.c_str());
        API_Elem_Head header{};
        header.guid = Fx::G(guid.c_str());
        ASSERT_EQ(HostGetElementHeader(&header), NoError);
        EXPECT_EQ(std::memcmp(&header, &element.header, sizeof header), 0);
        EXPECT_EQ(Host::ElementTypeOf(GS::Guid(guid.c_str())), header.typeID);
    }
}

TEST_F(HostModelTest, MissingElementIsNotFoundAndLeavesTheRecord)
{
    GSErrCode code = NoError;
    API_Element element = Read(Fx::Missing, &code);
    EXPECT_EQ(code, APIERR_BADID);
    EXPECT_TRUE(element.header.guid == Fx::G(Fx::Missing));
    EXPECT_EQ(element.header.typeID, 0);

    API_Elem_Head header{};
    EXPECT_EQ(HostGetElementHeader(&header), APIERR_BADID);  // the null guid names nothing
    EXPECT_EQ(Host::ElementTypeOf(GS::Guid(Fx::Missing)), 0);
}

TEST_F(HostModelTest, ElementIdTexts)
{
    const struct {
        const char* guid;
        const char* id;
    } cases[] = {{Fx::BasicWall, "W-001"}, {Fx::SectionElement, "SE-01"}, {Fx::Stair, "ST-01"}};
    for (const auto& c : cases) {
        GS::UniString text("stale");
        EXPECT_EQ(HostGetElementInfoString(Fx::G(c.guid), &text), NoError);
        EXPECT_EQ(text.ToUtf8(), c.id);
    }
    host.Model()["elements"][0].erase("id");
    GS::UniString text("stale");
    EXPECT_EQ(HostGetElementInfoString(Fx::G(Fx::BasicWall), &text), NoError);
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(HostGetElementInfoString(Fx::G(Fx::Missing), &text), APIERR_BADID);
}

TEST_F(HostModelTest, ChangedModelIsReadAfresh)
{
    host.Model()["elements"][0]["thickness"] = 0.45;
    EXPECT_DOUBLE_EQ(Read(Fx::BasicWall).wall.thickness, 0.45);
    host.Model()["elements"][0]["quantities"]["volume"] = 9.0;
    HostElementQuantity q{};
    HostQuantitiesMask mask;
    HostMaskClear(&mask);
    HostMaskSet(mask.elements.wall.volume);
    API_Quantities out{&q, nullptr};
    API_QuantityPar par{};
    ASSERT_EQ(HostGetElementQuantities(Fx::G(Fx::BasicWall), &par, &out, &mask), NoError);
    EXPECT_DOUBLE_EQ(q.wall.volume, 9.0);
}

TEST_F(HostModelTest, ElementsAddedRemovedMovedOrRenamedAreFound)
{
    Host::Json& elements = host.Model()["elements"];
    EXPECT_EQ(Read(Fx::Stair).header.typeID, API_StairID);

    // Renamed in place: the old guid is gone, the new one found.
    elements[0]["guid"] = Fx::Missing;
    GSErrCode code = NoError;
    Read(Fx::BasicWall, &code);
    EXPECT_EQ(code, APIERR_BADID);
    EXPECT_EQ(Read(Fx::Missing).header.typeID, API_WallID);
    elements[0]["guid"] = Fx::BasicWall;

    // Moved: the same guids, other places.
    std::swap(elements[0], elements[22]);
    EXPECT_EQ(Read(Fx::BasicWall).header.typeID, API_WallID);
    EXPECT_EQ(Read(Fx::Railing).header.typeID, API_RailingID);

    // Removed and added.
    elements.erase(elements.begin());
    Read(Fx::Railing, &code);
    EXPECT_EQ(code, APIERR_BADID);
    elements.push_back(Host::Json::parse(R"({"guid": "E0000000-0000-4000-8000-0000000000FE", "typeID": "Line"})"));
    EXPECT_EQ(Read("E0000000-0000-4000-8000-0000000000FE").header.typeID, API_LineID);
    EXPECT_EQ(Read(Fx::Stair).header.typeID, API_StairID);

    // A whole new project of the same size.
    Host::Json other = host.Project();
    for (auto& e : other["model"]["elements"])
        e["typeID"] = "Morph";
    host.SetProject(other);
    EXPECT_EQ(Read(Fx::Stair).header.typeID, API_MorphID);
}

namespace {

Host::Json& ElementOf(Host::Json& model, const char* guid)
{
    for (Host::Json& e : model["elements"]) {
        if (GS::Guid(e["guid"].get<std::string>().c_str()) == GS::Guid(guid))
            return e;
    }
    throw std::runtime_error("no such element in the fixture");
}

// A stored number beyond a 32-bit field: what the field reads.
struct OversizeCase {
    const char* what;
    const char* guid;
    const char* json;  // merged into the element
    std::function<GS::Int32(const API_Element&)> field;
    GS::Int32 expected;
};

constexpr GS::Int32 kMaxInt = std::numeric_limits<GS::Int32>::max();
constexpr GS::Int32 kMinInt = std::numeric_limits<GS::Int32>::min();

const OversizeCase kOversizeCases[] = {
    {"huge real index", Fx::CompositeWall, R"({"composite": 1e20})", [](const API_Element& e) { return e.wall.composite; },
     kMaxInt},
    {"huge negative real index", Fx::CompositeWall, R"({"composite": -1e20})",
     [](const API_Element& e) { return e.wall.composite; }, kMinInt},
    {"integer above the range does not wrap", Fx::CompositeWall, R"({"composite": 4294967297})",
     [](const API_Element& e) { return e.wall.composite; }, kMaxInt},
    {"integer below the range does not wrap", Fx::CompositeWall, R"({"composite": -4294967295})",
     [](const API_Element& e) { return e.wall.composite; }, kMinInt},
    {"fraction cut toward zero", Fx::CompositeWall, R"({"composite": -2.9})",
     [](const API_Element& e) { return e.wall.composite; }, -2},
    {"structure by a huge number", Fx::CompositeWall, R"({"structure": 4294967297})",
     [](const API_Element& e) { return e.wall.modelElemStructureType; }, kMaxInt},
    {"a type id that wrapped would read as a wall", Fx::Line, R"({"typeID": 4294967297})",
     [](const API_Element& e) { return e.header.typeID; }, kMaxInt},
    {"library part index", Fx::Window, R"({"libInd": 3e9})", [](const API_Element& e) { return e.window.libInd; },
     kMaxInt},
};

}  // namespace

TEST_F(HostModelTest, NumbersBeyondTheIntegerFieldsAreHeldAtTheRangeEnds)
{
    for (const OversizeCase& c : kOversizeCases) {
        SCOPED_TRACE(c.what);
        host.SetProject(Fx::LoadJson(HOSTMODEL_FIXTURE));
        ElementOf(host.Model(), c.guid).merge_patch(Host::Json::parse(c.json));
        API_Element element{};
        element.header.guid = Fx::G(c.guid);
        ASSERT_EQ(HostGetElement(&element), NoError);
        EXPECT_EQ(c.field(element), c.expected);
    }

    // A 32-bit quantity and an integer property.
    host.SetProject(Fx::LoadJson(HOSTMODEL_FIXTURE));
    Host::Json& stair = ElementOf(host.Model(), Fx::Stair);
    stair["quantities"]["numOfRisers"] = 1e20;
    stair["quantities"]["numOfTreads"] = 4294967313LL;  // 2^32 + 17
    HostElementQuantity q{};
    API_Quantities out{&q, nullptr};
    API_QuantityPar par{};
    ASSERT_EQ(HostGetElementQuantities(Fx::G(Fx::Stair), &par, &out, nullptr), NoError);
    EXPECT_EQ(q.stair.numOfRisers, kMaxInt);
    EXPECT_EQ(q.stair.numOfTreads, kMaxInt);

    ElementOf(host.Model(), Fx::BasicWall)["properties"][Fx::Count] = -4294967293LL;  // -2^32 + 3
    API_Property property;
    ASSERT_EQ(HostGetElementProperty(Fx::G(Fx::BasicWall), Fx::G(Fx::Count), &property), NoError);
    EXPECT_EQ(property.value.intValue, kMinInt);
}
