// Element records, the element index, out-of-range numbers and memos.
#include <cmath>
#include <limits>
#include <stdexcept>

#include "HostModelFixture.hpp"

namespace {
using R = const API_Element&;

Host::Json& ElementOf(Host::Json& model, const char* guid)
{
    for (Host::Json& e : model["elements"])
        if (GS::Guid(e["guid"].get<std::string>().c_str()) == GS::Guid(guid))
            return e;
    throw std::runtime_error("no such element in the fixture");
}
}  // namespace

TEST_F(HostModelTest, EveryElementRecordCarriesItsTypeFieldsAndItsHeader)
{
    const struct {
        const char* guid;
        GS::Int32 typeID;
        bool hasMemo;
        std::string (*fields)(R);
        const char* expected;
    } cases[] = {
#define F(...) [](R e) { return Str(__VA_ARGS__); }
        {Fx::BasicWall, API_WallID, false, F(e.header.floorInd, e.wall.thickness, e.wall.height, e.wall.endC.x), "0 0.3 3 5"},
        {Fx::CompositeWall, API_WallID, false, F(e.wall.modelElemStructureType, e.wall.composite), "1 1"},
        {Fx::ProfiledWall, API_WallID, false, F(e.wall.modelElemStructureType, e.wall.profileAttr), "2 1"},
        {Fx::ProfiledColumn, API_ColumnID, true, F(e.column.nSegments, e.column.height), "2 3.5"},
        {Fx::BasicColumn, API_ColumnID, true, F(e.column.nSegments, e.column.origoPos.x), "1 1"},
        {Fx::PlainBeam, API_BeamID, true, F(e.beam.endC.x, e.beam.endC.y, e.beam.isSlanted), "3 4 0"},
        {Fx::SlantedBeam, API_BeamID, true, F(e.beam.isSlanted, e.beam.slantAngle * 3 / M_PI), "1 1"},
        {Fx::Window, API_WindowID, true, F(e.window.libInd, e.window.width), "1 1.2"},
        {Fx::Door, API_DoorID, false, F(e.door.libInd), "0"},
        {Fx::Object, API_ObjectID, true, F(e.object.libInd, e.object.a, e.object.b), "2 0.5 0.6"},
        {Fx::CompositeSlab, API_SlabID, false, F(e.slab.thickness, e.slab.modelElemStructureType), "0.35 1"},
        {Fx::BasicSlab, API_SlabID, false, F(e.slab.modelElemStructureType, e.slab.composite), "0 2"},  // index kept
        {Fx::Roof, API_RoofID, false, F(e.roof.thickness, e.roof.modelElemStructureType), "0.25 0"},
        {Fx::Zone, API_ZoneID, true, F(e.zone.roomName, e.zone.roomNoStr, e.zone.poly.nCoords), "Living Room 001 5"},
        {Fx::Fill, API_HatchID, false, F(e.hatch.fillInd), "1"},
        {Fx::Line, API_LineID, false, F(e.line.begC.x, e.line.endC.y), "1 5"},
        {Fx::ArcPolyline, API_PolyLineID, true, F(e.polyLine.poly.nCoords, e.polyLine.poly.nArcs), "3 1"},
        // The counts as stored, beyond what the memo holds.
        {Fx::OvercountedPolyline, API_PolyLineID, true, F(e.polyLine.poly.nCoords, e.polyLine.poly.nArcs), "9 3"},
        {Fx::SectionElement, API_SectElemID, false, F(e.sectElem.parentGuid == Fx::G(Fx::CompositeWall)), "1"},
        {Fx::CurtainWall, API_CurtainWallID, false, F(e.curtainWall.height), "6"},
        {Fx::Morph, API_MorphID, false, F(e.morph.buildingMaterial), "1"},
        {Fx::Stair, API_StairID, false, F(e.stair.height), "2.975"},
        {Fx::Railing, API_RailingID, false, F(e.railing.height), "1.1"},
#undef F
    };
    ASSERT_EQ(host.Model()["elements"].size(), std::size(cases));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.guid);
        API_Element element;
        std::memset(&element, 0x5A, sizeof element);  // every field must be written
        element.header.guid = Fx::G(c.guid);
        ASSERT_EQ(HostGetElement(&element), NoError);
        EXPECT_EQ(Str(element.header.typeID, element.header.hasMemo), Str(c.typeID, c.hasMemo));
        EXPECT_TRUE(element.header.guid == Fx::G(c.guid));
        EXPECT_EQ(c.fields(element), c.expected);
        API_Elem_Head header{};
        header.guid = Fx::G(c.guid);
        ASSERT_EQ(HostGetElementHeader(&header), NoError);
        EXPECT_EQ(std::memcmp(&header, &element.header, sizeof header), 0);
        EXPECT_EQ(Host::ElementTypeOf(GS::Guid(c.guid)), c.typeID);
    }

    GSErrCode code = NoError;
    const API_Element missing = Read(Fx::Missing, &code);
    EXPECT_EQ(code, APIERR_BADID);
    EXPECT_EQ(missing.header.typeID, 0);
    API_Elem_Head header{};
    EXPECT_EQ(HostGetElementHeader(&header), APIERR_BADID);  // the null guid names nothing
    EXPECT_EQ(Host::ElementTypeOf(GS::Guid(Fx::Missing)), 0);
}

TEST_F(HostModelTest, ElementsChangedAddedRemovedOrMovedAreFound)
{
    Host::Json& elements = host.Model()["elements"];
    elements[0]["thickness"] = 0.45;
    EXPECT_DOUBLE_EQ(Read(Fx::BasicWall).wall.thickness, 0.45);
    elements[0]["quantities"]["volume"] = 9.0;
    HostElementQuantity q{};
    ASSERT_EQ(Quantities(Fx::BasicWall, nullptr, &q), NoError);
    EXPECT_DOUBLE_EQ(q.wall.volume, 9.0);

    GSErrCode code = NoError;
    elements[0]["guid"] = Fx::Missing;  // renamed in place
    Read(Fx::BasicWall, &code);
    EXPECT_EQ(code, APIERR_BADID);
    EXPECT_EQ(Read(Fx::Missing).header.typeID, API_WallID);
    elements[0]["guid"] = Fx::BasicWall;
    std::swap(elements[0], elements[22]);  // moved
    EXPECT_EQ(Read(Fx::BasicWall).header.typeID, API_WallID);
    EXPECT_EQ(Read(Fx::Railing).header.typeID, API_RailingID);
    elements.erase(elements.begin());  // removed, then one added
    Read(Fx::Railing, &code);
    EXPECT_EQ(code, APIERR_BADID);
    elements.push_back(Host::Json::parse(R"({"guid": "E0000000-0000-4000-8000-0000000000FE", "typeID": "Line"})"));
    EXPECT_EQ(Read("E0000000-0000-4000-8000-0000000000FE").header.typeID, API_LineID);
    EXPECT_EQ(Read(Fx::Stair).header.typeID, API_StairID);

    Host::Json other = host.Project();  // a whole new project of the same size
    for (auto& e : other["model"]["elements"])
        e["typeID"] = "Morph";
    host.SetProject(other);
    EXPECT_EQ(Read(Fx::Stair).header.typeID, API_MorphID);
}

TEST_F(HostModelTest, NumbersBeyondTheIntegerFieldsAreHeldAtTheRangeEnds)
{
    constexpr GS::Int32 Max = std::numeric_limits<GS::Int32>::max(), Min = std::numeric_limits<GS::Int32>::min();
    GS::Int32 (*const composite)(R) = [](R e) { return e.wall.composite; };
    const struct {
        const char* guid;
        const char* json;  // merged into the element
        GS::Int32 (*field)(R);
        GS::Int32 expected;
    } cases[] = {
        {Fx::CompositeWall, R"({"composite": 1e20})", composite, Max},
        {Fx::CompositeWall, R"({"composite": -1e20})", composite, Min},
        {Fx::CompositeWall, R"({"composite": 4294967297})", composite, Max},  // not wrapped
        {Fx::CompositeWall, R"({"composite": -4294967295})", composite, Min},
        {Fx::CompositeWall, R"({"composite": -2.9})", composite, -2},
        {Fx::CompositeWall, R"({"structure": 4294967297})", [](R e) { return e.wall.modelElemStructureType; }, Max},
        {Fx::Line, R"({"typeID": 4294967297})", [](R e) { return e.header.typeID; }, Max},  // wrapped: a wall
        {Fx::Window, R"({"libInd": 3e9})", [](R e) { return e.window.libInd; }, Max},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        host.SetProject(Fx::LoadJson(HOSTMODEL_FIXTURE));
        ElementOf(host.Model(), c.guid).merge_patch(Host::Json::parse(c.json));
        GSErrCode code = APIERR_GENERAL;
        EXPECT_EQ(c.field(Read(c.guid, &code)), c.expected);
        EXPECT_EQ(code, NoError);
    }
    // A 32-bit quantity and an integer property.
    host.SetProject(Fx::LoadJson(HOSTMODEL_FIXTURE));
    ElementOf(host.Model(), Fx::Stair)["quantities"]["numOfRisers"] = 1e20;
    ElementOf(host.Model(), Fx::Stair)["quantities"]["numOfTreads"] = 4294967313LL;  // 2^32 + 17
    HostElementQuantity q{};
    ASSERT_EQ(Quantities(Fx::Stair, nullptr, &q), NoError);
    EXPECT_EQ(Str(q.stair.numOfRisers, q.stair.numOfTreads), Str(Max, Max));
    ElementOf(host.Model(), Fx::BasicWall)["properties"][Fx::Count] = -4294967293LL;  // -2^32 + 3
    API_Property property;
    ASSERT_EQ(HostGetElementProperty(Fx::G(Fx::BasicWall), Fx::G(Fx::Count), &property), NoError);
    EXPECT_EQ(property.value.intValue, Min);
}

// ---- Memos -------------------------------------------------------------------------------------

TEST_F(HostModelTest, PolygonMemosAreNumberedFromOneAndHoldWhatIsStored)
{
    // (0,0), (4,0), (4,3) with a half circle from vertex 1 to 2; entry 0 is unused.
    API_ElementMemo memo{};
    ASSERT_EQ(HostGetElementMemo(Fx::G(Fx::ArcPolyline), &memo, APIMemoMask_Polygon), NoError);
    ASSERT_EQ(HandleSize(memo.coords), 4 * sizeof(API_Coord));
    const API_Coord* c = *memo.coords;
    EXPECT_EQ(Str(c[0].x, c[1].x, c[2].x, c[3].x, c[3].y), "0 0 4 4 3");
    ASSERT_EQ(HandleSize(memo.parcs), sizeof(API_PolyArc));
    EXPECT_EQ(Str((*memo.parcs)[0].begIndex, (*memo.parcs)[0].endIndex, (*memo.parcs)[0].arcAngle / M_PI), "1 2 1");
    EXPECT_TRUE(memo.params == nullptr && memo.beamSegments == nullptr && memo.columnSegments == nullptr);
    EXPECT_EQ(HostDisposeElementMemo(&memo), NoError);
    EXPECT_TRUE(memo.coords == nullptr && memo.parcs == nullptr);

    // The record claims 9 vertices and 3 arcs: the memo holds the 2 stored ones (and entry 0) and the
    // one arc, which points outside the polygon as stored.
    ASSERT_EQ(HostGetElementMemo(Fx::G(Fx::OvercountedPolyline), &memo, APIMemoMask_Polygon), NoError);
    EXPECT_EQ(HandleSize(memo.coords), 3 * sizeof(API_Coord));
    ASSERT_EQ(HandleSize(memo.parcs), sizeof(API_PolyArc));
    EXPECT_EQ((*memo.parcs)[0].begIndex, 7);
    HostDisposeElementMemo(&memo);
}

TEST_F(HostModelTest, AdditionalParametersAre1600ByteRecords)
{
    API_ElementMemo memo{};
    ASSERT_EQ(HostGetElementMemo(Fx::G(Fx::Window), &memo, APIMemoMask_AddPars), NoError);
    EXPECT_EQ(memo.coords, nullptr);
    ASSERT_EQ(HandleSize(memo.params), 4u * 1600);
    const HostAddParam* p = *memo.params;
    EXPECT_EQ(Str(p[0].name, p[0].typeID == APIParT_Length, p[0].value, p[0].index), "A 1 1.25 1");
    EXPECT_EQ(Str(p[1].name, p[1].typeID == APIParT_Text, p[1].valueStr), "A 1 one");
    // A name of exactly 32 bytes fills its field without a terminator.
    EXPECT_EQ(std::string(p[2].name, sizeof p[2].name), "gs_frame_thk_very_long_name_32_b");
    EXPECT_EQ(Str(p[2].typeID == APIParT_RealNum, p[2].value), "1 0.08");
    EXPECT_EQ(Str(p[3].typeID == APIParT_Boolean, p[3].value, p[3].index), "1 1 4");
    EXPECT_FALSE(Host::ElementCounters().Balanced());  // an unreleased memo shows
    HostDisposeElementMemo(&memo);
    EXPECT_EQ(memo.params, nullptr);
    // An empty memo is counted and must be released too; a failed read hands out nothing.
    ASSERT_EQ(HostGetElementMemo(Fx::G(Fx::Door), &memo, APIMemoMask_All), NoError);
    EXPECT_EQ(HostGetElementMemo(Fx::G(Fx::Missing), &memo, APIMemoMask_All), APIERR_BADID);
    EXPECT_EQ(memo.params, nullptr);
    HostDisposeElementMemo(&memo);
    EXPECT_EQ(Host::ElementCounters().memosHandedOut, 2);

    // Without parameters of its own an element hands out its library part's.
    ASSERT_EQ(HostGetElementMemo(Fx::G(Fx::Object), &memo, APIMemoMask_All), NoError);
    ASSERT_EQ(HandleSize(memo.params), 3u * 1600);
    p = *memo.params;
    EXPECT_EQ(Str(p[0].name, p[0].value, p[0].description, p[2].typeID == APIParT_Integer, p[2].value),
              "seat_height 0.45 Seat height 1 4");
    HostDisposeElementMemo(&memo);
}
