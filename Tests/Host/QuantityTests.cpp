// Quantity requests: the mask decides which fields are written; composites give one record per skin.
#include "HostModelFixture.hpp"

namespace {
// One quantity field: where it lies in a quantity record (the same place in the mask).
struct MaskCase { const char* guid; void* (*field)(HostElementQuantity&); bool isInt; double expected; };
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
    constexpr unsigned char Sentinel = 0xA5;
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
        for (std::size_t k = 0; k < sizeof q; ++k)
            ASSERT_TRUE((k >= offset && k < offset + size) || bytes[k] == Sentinel) << "byte " << k << " unasked";
    }
}

TEST_F(HostModelTest, CompositeElementsGiveOneRecordPerSkin)
{
    static_assert(APISkin_Core == 2, "the core flag as the expectations write it");
    // The per-skin figures asked for, then volume, area and flags of each skin; the element's record asked too.
    const struct { const char* guid; bool volume, area, flags; const char* expected; bool record = true; } cases[] = {
        {Fx::CompositeWall, true, true, true, "1.44 12 0 0.72 12 0 1.44 11.5 2"},
        {Fx::CompositeWall, true, false, false, "1.44 0 0 0.72 0 0 1.44 0 0"},
        {Fx::CompositeWall, true, false, true, "1.44 0 0 0.72 0 0 1.44 0 2"},
        {Fx::CompositeSlab, false, true, true, "0 20 2 0 20 0 0 20 2"},  // core by flag or by name
        {Fx::CompositeWall, false, false, false, ""},                   // no per-skin figure asked
        {Fx::BasicWall, true, true, true, ""},
        {Fx::BasicSlab, true, true, true, ""},  // with a composite index
        {Fx::ProfiledWall, true, true, true, ""},
        {Fx::CompositeSlab, true, false, false, "2 0 0 4 0 0 1 0 0", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Str(c.guid, c.volume, c.area, c.flags));
        HostQuantitiesMask mask;
        HostMaskClear(&mask);
        const auto ask = [](bool asked, auto& field) { if (asked) HostMaskSet(field); };
        ask(c.volume, mask.composites.volume);
        ask(c.area, mask.composites.area);
        ask(c.flags, mask.composites.flags);
        GS::Array<API_CompositeQuantity> skins;
        skins.Push(API_CompositeQuantity{99.0, 99.0, 7, 0});  // a stale list is replaced
        HostElementQuantity q{};
        ASSERT_EQ(Quantities(c.guid, &mask, c.record ? &q : nullptr, &skins), NoError);
        std::string text;
        for (const API_CompositeQuantity& s : skins)
            text += (text.empty() ? "" : " ") + Str(s.volume, s.area, s.flags);
        EXPECT_EQ(text, c.expected);
    }
}

TEST_F(HostModelTest, RequestsTheHostRefuses)
{
    HostElementQuantity q{};
    for (const char* guid : {Fx::Line, Fx::ArcPolyline, Fx::SectionElement, Fx::Object})
        EXPECT_EQ(Quantities(guid, nullptr, &q), APIERR_BADELEMTYPE) << guid;  // types without quantities
    EXPECT_EQ(Quantities(Fx::Missing, nullptr, &q), APIERR_BADID);
    // That model elements are not measured while a section is current, while their records stay readable,
    // is shown by the formulas evaluated from a section.
}
