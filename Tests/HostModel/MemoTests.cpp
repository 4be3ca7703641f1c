#include <cmath>
#include <string>

#include "HostModelFixture.hpp"

namespace {
std::string NameOf(const HostAddParam& p) { return std::string(p.name, strnlen(p.name, sizeof p.name)); }

GS::USize ParamCount(const API_ElementMemo& memo)
{
    return static_cast<GS::USize>(BMGetHandleSize(reinterpret_cast<GSConstHandle>(memo.params)) /
                                  static_cast<GSSize>(sizeof(HostAddParam)));
}
}  // namespace

TEST_F(HostModelTest, PolygonMemoNumbersVerticesFromOneWithItsArcs)
{
    API_ElementMemo memo{};
    ASSERT_EQ(HostGetElementMemo(Fx::G(Fx::ArcPolyline), &memo, APIMemoMask_Polygon), NoError);
    ASSERT_NE(memo.coords, nullptr);
    EXPECT_EQ(BMGetHandleSize(reinterpret_cast<GSConstHandle>(memo.coords)),
              static_cast<GSSize>(4 * sizeof(API_Coord)));
    const API_Coord* c = *memo.coords;
    EXPECT_DOUBLE_EQ(c[0].x, 0.0);  // unused entry
    EXPECT_DOUBLE_EQ(c[1].x, 0.0);
    EXPECT_DOUBLE_EQ(c[2].x, 4.0);
    EXPECT_DOUBLE_EQ(c[3].x, 4.0);
    EXPECT_DOUBLE_EQ(c[3].y, 3.0);
    ASSERT_NE(memo.parcs, nullptr);
    ASSERT_EQ(BMGetHandleSize(reinterpret_cast<GSConstHandle>(memo.parcs)),
              static_cast<GSSize>(sizeof(API_PolyArc)));
    EXPECT_EQ((*memo.parcs)[0].begIndex, 1);
    EXPECT_EQ((*memo.parcs)[0].endIndex, 2);
    EXPECT_DOUBLE_EQ((*memo.parcs)[0].arcAngle, M_PI);
    EXPECT_EQ(memo.params, nullptr);
    EXPECT_EQ(memo.beamSegments, nullptr);
    EXPECT_EQ(memo.columnSegments, nullptr);

    EXPECT_EQ(HostDisposeElementMemo(&memo), NoError);
    EXPECT_EQ(memo.coords, nullptr);
    EXPECT_EQ(memo.parcs, nullptr);
    EXPECT_EQ(Host::ElementCounters().memosHandedOut, 1);
    EXPECT_EQ(Host::ElementCounters().memosReleased, 1);
    ExpectNothingLive();
}

TEST_F(HostModelTest, MemoSizesAreTheRealOnesWhateverTheRecordClaims)
{
    API_Element element = Read(Fx::OvercountedPolyline);
    ASSERT_EQ(element.polyLine.poly.nCoords, 9);
    API_ElementMemo memo{};
    ASSERT_EQ(HostGetElementMemo(Fx::G(Fx::OvercountedPolyline), &memo, APIMemoMask_Polygon), NoError);
    EXPECT_EQ(BMGetHandleSize(reinterpret_cast<GSConstHandle>(memo.coords)),
              static_cast<GSSize>(3 * sizeof(API_Coord)));
    EXPECT_EQ(BMGetHandleSize(reinterpret_cast<GSConstHandle>(memo.parcs)),
              static_cast<GSSize>(sizeof(API_PolyArc)));
    EXPECT_EQ((*memo.parcs)[0].begIndex, 7);  // points outside the polygon, as stored
    HostDisposeElementMemo(&memo);
    ExpectNothingLive();
}

TEST_F(HostModelTest, AdditionalParametersAre1600ByteRecords)
{
    API_ElementMemo memo{};
    ASSERT_EQ(HostGetElementMemo(Fx::G(Fx::Window), &memo, APIMemoMask_AddPars), NoError);
    EXPECT_EQ(memo.coords, nullptr);
    ASSERT_NE(memo.params, nullptr);
    ASSERT_EQ(ParamCount(memo), 4u);
    EXPECT_EQ(BMGetHandleSize(reinterpret_cast<GSConstHandle>(memo.params)), 4 * 1600);
    const HostAddParam* p = *memo.params;

    EXPECT_EQ(NameOf(p[0]), "A");
    EXPECT_EQ(p[0].typeID, APIParT_Length);
    EXPECT_DOUBLE_EQ(p[0].value, 1.25);
    EXPECT_EQ(p[0].index, 1);

    EXPECT_EQ(NameOf(p[1]), "A");
    EXPECT_EQ(p[1].typeID, APIParT_Text);
    EXPECT_STREQ(p[1].valueStr, "one");

    // A name of exactly 32 bytes fills its field without a terminator.
    const std::string longName = "gs_frame_thk_very_long_name_32_b";
    ASSERT_EQ(longName.size(), 32u);
    EXPECT_EQ(std::memcmp(p[2].name, longName.data(), 32), 0);
    EXPECT_EQ(std::memchr(p[2].name, 0, sizeof p[2].name), nullptr);
    EXPECT_EQ(p[2].typeID, APIParT_RealNum);
    EXPECT_DOUBLE_EQ(p[2].value, 0.08);

    EXPECT_EQ(p[3].typeID, APIParT_Boolean);
    EXPECT_DOUBLE_EQ(p[3].value, 1.0);
    EXPECT_EQ(p[3].index, 4);

    HostDisposeElementMemo(&memo);
    EXPECT_EQ(memo.params, nullptr);
    ExpectNothingLive();
}

TEST_F(HostModelTest, ElementWithoutOwnParametersHandsOutItsLibraryPartsOnes)
{
    API_ElementMemo memo{};
    ASSERT_EQ(HostGetElementMemo(Fx::G(Fx::Object), &memo, APIMemoMask_All), NoError);
    ASSERT_EQ(ParamCount(memo), 3u);
    EXPECT_EQ(NameOf((*memo.params)[0]), "seat_height");
    EXPECT_DOUBLE_EQ((*memo.params)[0].value, 0.45);
    EXPECT_STREQ((*memo.params)[0].description, "Seat height");
    EXPECT_EQ((*memo.params)[2].typeID, APIParT_Integer);
    EXPECT_DOUBLE_EQ((*memo.params)[2].value, 4.0);
    HostDisposeElementMemo(&memo);
    ExpectNothingLive();
}

namespace {
struct SegmentCase {
    const char* name;
    const char* guid;
    GS::UInt64 mask;
    GS::USize beams;
    GS::USize columns;
};
const SegmentCase kSegmentCases[] = {
    {"beam segments of a beam", Fx::SlantedBeam, APIMemoMask_BeamSegment, 1, 0},
    {"column segments of a beam", Fx::SlantedBeam, APIMemoMask_ColumnSegment, 0, 0},
    {"column segments of a column", Fx::ProfiledColumn, APIMemoMask_ColumnSegment, 0, 2},
    {"beam segments of a column", Fx::ProfiledColumn, APIMemoMask_BeamSegment, 0, 0},
    {"every part of a column", Fx::ProfiledColumn, APIMemoMask_All, 0, 2},
    {"polygon only", Fx::PlainBeam, APIMemoMask_Polygon, 0, 0},
    {"segments of a wall", Fx::BasicWall, APIMemoMask_All, 0, 0},
};
}  // namespace

TEST_F(HostModelTest, SegmentsOnlyForTheirTypeAndMask)
{
    for (const SegmentCase& c : kSegmentCases) {
        SCOPED_TRACE(c.name);
        API_ElementMemo memo{};
        ASSERT_EQ(HostGetElementMemo(Fx::G(c.guid), &memo, c.mask), NoError);
        EXPECT_EQ(BMGetPtrSize(reinterpret_cast<GSConstPtr>(memo.beamSegments)),
                  static_cast<GSSize>(c.beams * sizeof(API_BeamSegmentType)));
        EXPECT_EQ(BMGetPtrSize(reinterpret_cast<GSConstPtr>(memo.columnSegments)),
                  static_cast<GSSize>(c.columns * sizeof(API_ColumnSegmentType)));
        EXPECT_EQ(c.beams == 0, memo.beamSegments == nullptr);
        EXPECT_EQ(c.columns == 0, memo.columnSegments == nullptr);
        HostDisposeElementMemo(&memo);
    }
    ExpectNothingLive();
}

TEST_F(HostModelTest, SegmentRecordsCarryStructureProfileAndNominalSize)
{
    API_ElementMemo memo{};
    ASSERT_EQ(HostGetElementMemo(Fx::G(Fx::SlantedBeam), &memo, APIMemoMask_BeamSegment), NoError);
    ASSERT_NE(memo.beamSegments, nullptr);
    EXPECT_EQ(memo.beamSegments[0].modelElemStructureType, API_ProfileStructure);
    EXPECT_EQ(memo.beamSegments[0].profileAttr, 1);
    EXPECT_DOUBLE_EQ(memo.beamSegments[0].nominalWidth, 0.2);
    EXPECT_DOUBLE_EQ(memo.beamSegments[0].nominalHeight, 0.4);
    HostDisposeElementMemo(&memo);

    ASSERT_EQ(HostGetElementMemo(Fx::G(Fx::ProfiledColumn), &memo, APIMemoMask_ColumnSegment), NoError);
    EXPECT_EQ(memo.columnSegments[0].modelElemStructureType, API_ProfileStructure);
    EXPECT_EQ(memo.columnSegments[1].modelElemStructureType, API_BasicStructure);
    EXPECT_EQ(memo.columnSegments[1].profileAttr, 0);
    EXPECT_DOUBLE_EQ(memo.columnSegments[1].nominalWidth, 0.5);
    HostDisposeElementMemo(&memo);

    ASSERT_EQ(HostGetElementMemo(Fx::G(Fx::BasicColumn), &memo, APIMemoMask_ColumnSegment), NoError);
    EXPECT_EQ(memo.columnSegments[0].modelElemStructureType, API_BasicStructure);
    EXPECT_EQ(memo.columnSegments[0].buildingMaterial, 1);
    EXPECT_DOUBLE_EQ(memo.columnSegments[0].nominalHeight, 0.3);
    HostDisposeElementMemo(&memo);
    EXPECT_EQ(Host::ElementCounters().memosHandedOut, 3);
    ExpectNothingLive();
}

TEST_F(HostModelTest, ZoneMemoHoldsPolygonAndParameters)
{
    API_ElementMemo memo{};
    ASSERT_EQ(HostGetElementMemo(Fx::G(Fx::Zone), &memo, APIMemoMask_All), NoError);
    EXPECT_EQ(BMGetHandleSize(reinterpret_cast<GSConstHandle>(memo.coords)),
              static_cast<GSSize>(6 * sizeof(API_Coord)));
    EXPECT_EQ(memo.parcs, nullptr);
    ASSERT_EQ(ParamCount(memo), 1u);
    EXPECT_EQ(NameOf((*memo.params)[0]), "floor_finish");
    HostDisposeElementMemo(&memo);
    ExpectNothingLive();
}

TEST_F(HostModelTest, CountersTellUnreleasedMemos)
{
    API_ElementMemo a{}, b{};
    ASSERT_EQ(HostGetElementMemo(Fx::G(Fx::Window), &a, APIMemoMask_All), NoError);
    ASSERT_EQ(HostGetElementMemo(Fx::G(Fx::Door), &b, APIMemoMask_All), NoError);  // an empty memo counts too
    EXPECT_EQ(b.params, nullptr);
    EXPECT_EQ(HostGetElementMemo(Fx::G(Fx::Missing), &b, APIMemoMask_All), APIERR_BADID);
    EXPECT_EQ(Host::ElementCounters().memosHandedOut, 2);
    HostDisposeElementMemo(&a);
    EXPECT_FALSE(Host::ElementCounters().Balanced());
    HostDisposeElementMemo(&b);
    EXPECT_EQ(Host::ElementCounters().memosReleased, 2);
    ExpectNothingLive();
}
