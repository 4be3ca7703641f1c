// Quantity requests: the mask decides which fields are written; composites give one record per skin.
#include "HostModelFixture.hpp"

namespace {
constexpr unsigned char Sentinel = 0xA5;

// One quantity field: where it lies in a quantity record (the same place in the mask).
struct MaskCase {
    const char* guid;
    void* (*field)(HostElementQuantity&);
    bool isInt;
    double expected;
};
#define FIELD(member, f) [](HostElementQuantity& q) -> void* { return &q.member.f; }
const MaskCase maskCases[] = {
    {Fx::BasicWall, FIELD(wall, perimeter), false, 10.6},      {Fx::ProfiledWall, FIELD(wall, area), false, 0.0},
    {Fx::ProfiledColumn, FIELD(column, coreArea), false, 0.08}, {Fx::PlainBeam, FIELD(beam, area), false, 4.0},
    {Fx::Window, FIELD(window, headHeight3), false, 2.4},      {Fx::Window, FIELD(window, nominalArea2), false, 0.0},
    {Fx::Door, FIELD(window, height1), false, 2.1},            {Fx::CompositeSlab, FIELD(slab, topSurface), false, 20.0},
    {Fx::CompositeSlab, FIELD(slab, bottomSurface), false, 21.5}, {Fx::Roof, FIELD(roof, gablesLength), false, 10.0},
    {Fx::Zone, FIELD(zone, calcArea), false, 19.0},            {Fx::Stair, FIELD(stair, numOfTreads), true, 16},
    {Fx::Fill, FIELD(hatch, perimeter), false, 10.0},          {Fx::Morph, FIELD(morph, volume), false, 1.5},
    {Fx::Railing, FIELD(railing, area), false, 4.4},           {Fx::CurtainWall, FIELD(curtainWall, length), false, 8.0},
};
#undef FIELD
}  // namespace

TEST_F(HostModelTest, MaskFillsExactlyTheFieldAskedFor)
{
    for (const MaskCase& c : maskCases) {
        SCOPED_TRACE(Str(c.guid, c.expected));
        const std::size_t size = c.isInt ? sizeof(GS::Int32) : sizeof(double);
        HostQuantitiesMask mask;
        HostMaskClear(&mask);
        std::memset(c.field(mask.elements), 0xFF, size);
        HostElementQuantity q;
        std::memset(&q, Sentinel, sizeof q);
        ASSERT_EQ(Quantities(c.guid, &mask, &q), NoError);

        auto* bytes = reinterpret_cast<unsigned char*>(&q);
        const std::size_t offset = static_cast<unsigned char*>(c.field(q)) - bytes;
        GS::Int32 i = 0;
        double d = 0.0;
        std::memcpy(c.isInt ? static_cast<void*>(&i) : static_cast<void*>(&d), bytes + offset, size);
        EXPECT_DOUBLE_EQ(c.isInt ? i : d, c.expected);
        for (std::size_t k = 0; k < sizeof q; ++k) {
            if (k < offset || k >= offset + size) {
                ASSERT_EQ(bytes[k], Sentinel) << "byte " << k << " was filled though not asked for";
            }
        }
    }
}

TEST_F(HostModelTest, CompositeElementsGiveOneRecordPerSkin)
{
    const struct {
        const char* guid;
        bool volume, area, flags;
        const char* expected;  // volume area flags of each skin
    } cases[] = {
        {Fx::CompositeWall, true, true, true, "1.44 12 0 0.72 12 0 1.44 11.5 2"},
        {Fx::CompositeWall, true, false, false, "1.44 0 0 0.72 0 0 1.44 0 0"},
        {Fx::CompositeWall, true, false, true, "1.44 0 0 0.72 0 0 1.44 0 2"},
        {Fx::CompositeSlab, false, true, true, "0 20 2 0 20 0 0 20 2"},  // core by flag or by name
        {Fx::CompositeWall, false, false, false, ""},                   // no per-skin figure asked
        {Fx::BasicWall, true, true, true, ""},
        {Fx::BasicSlab, true, true, true, ""},  // with a composite index
        {Fx::ProfiledWall, true, true, true, ""},
    };
    static_assert(APISkin_Core == 2, "the core flag as the expectations write it");
    for (const auto& c : cases) {
        SCOPED_TRACE(Str(c.guid, c.volume, c.area, c.flags));
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
        ASSERT_EQ(Quantities(c.guid, &mask, &q, &skins), NoError);
        std::string text;
        for (const API_CompositeQuantity& s : skins)
            text += (text.empty() ? "" : " ") + Str(s.volume, s.area, s.flags);
        EXPECT_EQ(text, c.expected);
    }
    // Per-skin figures without the element's record.
    HostQuantitiesMask mask;
    HostMaskClear(&mask);
    HostMaskSet(mask.composites.volume);
    GS::Array<API_CompositeQuantity> skins;
    ASSERT_EQ(Quantities(Fx::CompositeSlab, &mask, nullptr, &skins), NoError);
    ASSERT_EQ(skins.GetSize(), 3u);
    EXPECT_DOUBLE_EQ(skins[1].volume, 4.0);
}

TEST_F(HostModelTest, RequestsTheHostRefuses)
{
    HostElementQuantity q{};
    for (const char* guid : {Fx::Line, Fx::ArcPolyline, Fx::SectionElement, Fx::Object})
        EXPECT_EQ(Quantities(guid, nullptr, &q), APIERR_BADELEMTYPE) << guid;  // types without quantities
    EXPECT_EQ(Quantities(Fx::Missing, nullptr, &q), APIERR_BADID);
    // Model elements are not measured while a section is current; their records stay readable.
    ASSERT_EQ(ChangeDatabase(APIWind_SectionID), NoError);
    EXPECT_EQ(Quantities(Fx::CompositeWall, nullptr, &q), APIERR_BADDATABASE);
    EXPECT_EQ(Read(Fx::CompositeWall).header.typeID, API_WallID);
    ASSERT_EQ(ChangeDatabase(APIWind_3DModelID), NoError);
    EXPECT_EQ(Quantities(Fx::CompositeWall, nullptr, &q), NoError);
    EXPECT_DOUBLE_EQ(q.wall.volume, 3.6);
}
