#include <functional>

#include "HostModelFixture.hpp"

namespace {

// One quantity field: where it lies in a quantity record (the same place in the mask).
struct MaskCase {
    const char* name;
    const char* guid;
    std::function<void*(HostElementQuantity&)> field;
    bool isInt;
    double expected;
};

#define FIELD(member, f) [](HostElementQuantity& q) -> void* { return &q.member.f; }

const MaskCase kMaskCases[] = {
    {"wall volume", Fx::BasicWall, FIELD(wall, volume), false, 4.5},
    {"wall area", Fx::BasicWall, FIELD(wall, area), false, 15.0},
    {"wall length", Fx::BasicWall, FIELD(wall, length), false, 5.0},
    {"wall reference line", Fx::BasicWall, FIELD(wall, refLineLength), false, 5.0},
    {"wall maximum height", Fx::BasicWall, FIELD(wall, maxHeight), false, 3.0},
    {"wall minimum height", Fx::BasicWall, FIELD(wall, minHeight), false, 2.8},
    {"wall perimeter", Fx::BasicWall, FIELD(wall, perimeter), false, 10.6},
    {"wall area not stored", Fx::ProfiledWall, FIELD(wall, area), false, 0.0},
    {"column core volume", Fx::ProfiledColumn, FIELD(column, coreVolume), false, 0.28},
    {"column core area", Fx::ProfiledColumn, FIELD(column, coreArea), false, 0.08},
    {"column height", Fx::ProfiledColumn, FIELD(column, height), false, 3.5},
    {"beam area", Fx::PlainBeam, FIELD(beam, area), false, 4.0},
    {"beam volume", Fx::SlantedBeam, FIELD(beam, volume), false, 0.8},
    {"window width", Fx::Window, FIELD(window, width1), false, 1.2},
    {"window head height 3", Fx::Window, FIELD(window, headHeight3), false, 2.4},
    {"window sill height", Fx::Window, FIELD(window, sillHeight), false, 0.9},
    {"window nominal area not stored", Fx::Window, FIELD(window, nominalArea2), false, 0.0},
    {"door height", Fx::Door, FIELD(window, height1), false, 2.1},
    {"slab top surface", Fx::CompositeSlab, FIELD(slab, topSurface), false, 20.0},
    {"slab bottom surface", Fx::CompositeSlab, FIELD(slab, bottomSurface), false, 21.5},
    {"slab perimeter", Fx::BasicSlab, FIELD(slab, perimeter), false, 14.0},
    {"roof hips", Fx::Roof, FIELD(roof, hipsLength), false, 4.5},
    {"roof gables", Fx::Roof, FIELD(roof, gablesLength), false, 10.0},
    {"roof projection", Fx::Roof, FIELD(roof, projectionArea), false, 40.0},
    {"zone calculated area", Fx::Zone, FIELD(zone, calcArea), false, 19.0},
    {"zone net area", Fx::Zone, FIELD(zone, netArea), false, 19.2},
    {"stair risers", Fx::Stair, FIELD(stair, numOfRisers), true, 17},
    {"stair treads", Fx::Stair, FIELD(stair, numOfTreads), true, 16},
    {"stair gradient", Fx::Stair, FIELD(stair, gradient), false, 0.6},
    {"fill area", Fx::Fill, FIELD(hatch, area), false, 6.25},
    {"fill perimeter", Fx::Fill, FIELD(hatch, perimeter), false, 10.0},
    {"morph volume", Fx::Morph, FIELD(morph, volume), false, 1.5},
    {"railing area", Fx::Railing, FIELD(railing, area), false, 4.4},
    {"curtain wall length", Fx::CurtainWall, FIELD(curtainWall, length), false, 8.0},
};

#undef FIELD

constexpr unsigned char kSentinel = 0xA5;

GSErrCode Request(const char* guid, const HostQuantitiesMask* mask, HostElementQuantity* q,
                  GS::Array<API_CompositeQuantity>* composites = nullptr)
{
    API_QuantityPar par{};
    API_Quantities out{q, composites};
    return HostGetElementQuantities(Fx::G(guid), &par, &out, mask);
}

}  // namespace

TEST_F(HostModelTest, MaskFillsExactlyTheFieldAskedFor)
{
    for (const MaskCase& c : kMaskCases) {
        SCOPED_TRACE(c.name);
        const std::size_t size = c.isInt ? sizeof(GS::Int32) : sizeof(double);
        HostQuantitiesMask mask;
        HostMaskClear(&mask);
        std::memset(c.field(mask.elements), 0xFF, size);

        HostElementQuantity q;
        std::memset(&q, kSentinel, sizeof q);
        ASSERT_EQ(Request(c.guid, &mask, &q), NoError);

        auto* bytes = reinterpret_cast<unsigned char*>(&q);
        const std::size_t offset = static_cast<unsigned char*>(c.field(q)) - bytes;
        if (c.isInt) {
            GS::Int32 v;
            std::memcpy(&v, bytes + offset, sizeof v);
            EXPECT_EQ(v, static_cast<GS::Int32>(c.expected));
        } else {
            double v;
            std::memcpy(&v, bytes + offset, sizeof v);
            EXPECT_DOUBLE_EQ(v, c.expected);
        }
        for (std::size_t i = 0; i < sizeof q; ++i) {
            if (i < offset || i >= offset + size) {
                ASSERT_EQ(bytes[i], kSentinel) << "byte " << i << " was filled though not asked for";
            }
        }
    }
}

TEST_F(HostModelTest, FieldWithOnlySomeMaskBytesSetIsNotFilled)
{
    HostQuantitiesMask mask;
    HostMaskClear(&mask);
    std::memset(&mask.elements.wall.volume, 0xFF, 4);  // half of the field
    HostMaskSet(mask.elements.wall.length);
    HostElementQuantity q{};
    q.wall.volume = -1.0;
    ASSERT_EQ(Request(Fx::BasicWall, &mask, &q), NoError);
    EXPECT_DOUBLE_EQ(q.wall.volume, -1.0);
    EXPECT_DOUBLE_EQ(q.wall.length, 5.0);
}

TEST_F(HostModelTest, EmptyMaskFillsNothingAndFullOrNullMaskFillsEverything)
{
    HostQuantitiesMask mask;
    HostMaskClear(&mask);
    HostElementQuantity q;
    std::memset(&q, kSentinel, sizeof q);
    HostElementQuantity untouched = q;
    ASSERT_EQ(Request(Fx::Window, &mask, &q), NoError);
    EXPECT_EQ(std::memcmp(&q, &untouched, sizeof q), 0);

    for (bool nullMask : {false, true}) {
        SCOPED_TRACE(nullMask ? "null mask" : "full mask");
        HostMaskSetAll(&mask);
        std::memset(&q, kSentinel, sizeof q);
        ASSERT_EQ(Request(Fx::Window, nullMask ? nullptr : &mask, &q), NoError);
        EXPECT_DOUBLE_EQ(q.window.width1, 1.2);
        EXPECT_DOUBLE_EQ(q.window.height1, 1.5);
        EXPECT_DOUBLE_EQ(q.window.area, 1.8);
        EXPECT_DOUBLE_EQ(q.window.volume, 0.54);
        EXPECT_DOUBLE_EQ(q.window.headHeight3, 2.4);
        EXPECT_DOUBLE_EQ(q.window.width2, 0.0);  // written though not stored
        EXPECT_DOUBLE_EQ(q.window.grossVolume, 0.0);
    }

    HostMaskSetAll(&mask);
    std::memset(&q, kSentinel, sizeof q);
    ASSERT_EQ(Request(Fx::Stair, &mask, &q), NoError);
    EXPECT_EQ(q.stair.numOfRisers, 17);
    EXPECT_EQ(q.stair.numOfTreads, 16);
    EXPECT_DOUBLE_EQ(q.stair.walklineLength, 4.5);
}

namespace {
struct SkinCase {
    const char* name;
    const char* guid;
    bool volume, area, flags;
    std::vector<API_CompositeQuantity> expected;
};

const SkinCase kSkinCases[] = {
    {"composite wall, every figure", Fx::CompositeWall, true, true, true,
     {{1.44, 12.0, 0, 0}, {0.72, 12.0, 0, 0}, {1.44, 11.5, APISkin_Core, 0}}},
    {"composite wall, volume only", Fx::CompositeWall, true, false, false,
     {{1.44, 0, 0, 0}, {0.72, 0, 0, 0}, {1.44, 0, 0, 0}}},
    {"composite wall, volume and flags", Fx::CompositeWall, true, false, true,
     {{1.44, 0, 0, 0}, {0.72, 0, 0, 0}, {1.44, 0, APISkin_Core, 0}}},
    {"composite slab, core by flag or by name", Fx::CompositeSlab, false, true, true,
     {{0, 20.0, APISkin_Core, 0}, {0, 20.0, 0, 0}, {0, 20.0, APISkin_Core, 0}}},
    {"composite wall, no per-skin figure asked", Fx::CompositeWall, false, false, false, {}},
    {"basic wall", Fx::BasicWall, true, true, true, {}},
    {"basic slab with a composite index", Fx::BasicSlab, true, true, true, {}},
    {"profiled wall", Fx::ProfiledWall, true, true, true, {}},
};
}  // namespace

TEST_F(HostModelTest, CompositeElementsGiveOneRecordPerSkin)
{
    for (const SkinCase& c : kSkinCases) {
        SCOPED_TRACE(c.name);
        HostQuantitiesMask mask;
        HostMaskClear(&mask);
        if (c.volume)
            HostMaskSet(mask.composites.volume);
        if (c.area)
            HostMaskSet(mask.composites.area);
        if (c.flags)
            HostMaskSet(mask.composites.flags);
        GS::Array<API_CompositeQuantity> skins;
        skins.Push(API_CompositeQuantity{99.0, 99.0, 7, 0});  // a stale list is replaced
        HostElementQuantity q{};
        ASSERT_EQ(Request(c.guid, &mask, &q, &skins), NoError);
        ASSERT_EQ(skins.GetSize(), c.expected.size());
        for (GS::UIndex i = 0; i < skins.GetSize(); ++i) {
            EXPECT_DOUBLE_EQ(skins[i].volume, c.expected[i].volume) << "skin " << i;
            EXPECT_DOUBLE_EQ(skins[i].area, c.expected[i].area) << "skin " << i;
            EXPECT_EQ(skins[i].flags, c.expected[i].flags) << "skin " << i;
        }
    }
}

TEST_F(HostModelTest, PerSkinFiguresWithoutTheElementRecord)
{
    HostQuantitiesMask mask;
    HostMaskClear(&mask);
    HostMaskSet(mask.composites.volume);
    GS::Array<API_CompositeQuantity> skins;
    ASSERT_EQ(Request(Fx::CompositeSlab, &mask, nullptr, &skins), NoError);
    ASSERT_EQ(skins.GetSize(), 3u);
    EXPECT_DOUBLE_EQ(skins[1].volume, 4.0);
}

TEST_F(HostModelTest, TypesWithoutQuantitiesRefuseTheRequest)
{
    for (const char* guid : {Fx::Line, Fx::ArcPolyline, Fx::SectionElement, Fx::Object}) {
        SCOPED_TRACE(guid);
        HostElementQuantity q{};
        EXPECT_EQ(Request(guid, nullptr, &q), APIERR_BADELEMTYPE);
    }
    HostElementQuantity q{};
    EXPECT_EQ(Request(Fx::Missing, nullptr, &q), APIERR_BADID);
    API_QuantityPar par{};
    EXPECT_EQ(HostGetElementQuantities(Fx::G(Fx::BasicWall), &par, nullptr, nullptr), APIERR_BADPARS);
}

TEST_F(HostModelTest, ModelElementsAreNotMeasuredWhileASectionIsCurrent)
{
    HostDatabaseInfo section{};
    section.typeID = APIWind_SectionID;
    section.databaseUnId = Fx::G(Fx::SectionA);
    ASSERT_EQ(HostChangeDatabase(&section), NoError);
    HostElementQuantity q{};
    EXPECT_EQ(Request(Fx::CompositeWall, nullptr, &q), APIERR_BADDATABASE);
    EXPECT_DOUBLE_EQ(q.wall.volume, 0.0);

    // The element records stay readable; only measuring needs the model.
    EXPECT_EQ(Read(Fx::CompositeWall).header.typeID, API_WallID);
    EXPECT_EQ(Read(Fx::SectionElement).header.typeID, API_SectElemID);

    HostDatabaseInfo model{};
    model.typeID = APIWind_3DModelID;
    ASSERT_EQ(HostChangeDatabase(&model), NoError);
    EXPECT_EQ(Request(Fx::CompositeWall, nullptr, &q), NoError);
    EXPECT_DOUBLE_EQ(q.wall.volume, 3.6);
}
