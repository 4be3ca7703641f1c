#include <gtest/gtest.h>

#include "API/ApiTypes.hpp"
#include "GSRoot/GSRoot.hpp"

// The debug output and its capture are shown by the database tests; what nothing calls is not tested.
namespace {

TEST(UniString, DecodesUtf8ReplacingWhatIsInvalidAndCountsUtf16Units)
{
    const struct { const char* name; std::string bytes; std::u16string expected; std::string backToUtf8; } cases[] = {
        {"ascii", "Wall 1", u"Wall 1", "Wall 1"},
        {"two-byte", "Betonstra\xc3\x9f" "e", u"Betonstraße", "Betonstra\xc3\x9f" "e"},
        {"three-byte", "\xe2\x82\xac 5", u"€ 5", "\xe2\x82\xac 5"},
        {"four-byte: two units", "\xf0\x9f\x8f\x97", u"\U0001F3D7", "\xf0\x9f\x8f\x97"},
        {"lone continuation", "a\x80z", u"a\uFFFDz", "a\xef\xbf\xbdz"},
        {"truncated sequence", "a\xe2\x82", u"a\uFFFD", "a\xef\xbf\xbd"},
        {"overlong", "\xc0\xaf", u"\uFFFD\uFFFD", "\xef\xbf\xbd\xef\xbf\xbd"},
        {"surrogate encoded", "\xed\xa0\x80", u"\uFFFD", "\xef\xbf\xbd"},
        {"beyond unicode", "\xf4\x90\x80\x80x", u"\uFFFDx", "\xef\xbf\xbdx"},
    };
    for (const auto& c : cases) {
        GS::UniString s(c.bytes.c_str());
        EXPECT_EQ(s.ToU16(), c.expected) << c.name;
        EXPECT_EQ(s.GetLength(), c.expected.size()) << c.name;
        EXPECT_EQ(s.ToUtf8(), c.backToUtf8) << c.name;
        for (GSCharCode cc : {CC_Default, CC_UTF8, CC_UTF8_Edge})
            EXPECT_EQ(GS::UniString(c.bytes.c_str(), cc).ToCStr(cc).Str(), c.backToUtf8) << c.name << " code " << cc;
    }
    EXPECT_TRUE(GS::UniString(static_cast<const char*>(nullptr)).IsEmpty());
}

TEST(UniString, FindReplaceCompareAndFormat)
{
    GS::UniString s("Wall #ID on #LOC, #ID again");
    EXPECT_EQ(s.Find("#ID"), 5u);
    EXPECT_EQ(s.Find("#ID", 6), 18u);
    EXPECT_EQ(s.Find("#NOPE"), GS::MaxUIndex);
    EXPECT_EQ(s.ReplaceAll("#ID", "W-001"), 2u);
    EXPECT_EQ(s, GS::UniString("Wall W-001 on #LOC, W-001 again"));
    EXPECT_EQ(s.ReplaceAll("", "x"), 0u);

    EXPECT_TRUE(GS::UniString("Beton ÄÖÜ").IsEqual("BETON äöü", true) && !GS::UniString("Bet").IsEqual("BET"));
    EXPECT_TRUE(GS::UniString("abc") < GS::UniString("abd"));
    EXPECT_TRUE(GS::UniString("Volume").EndsWith("ume") && !GS::UniString("Volume").EndsWith("Vol"));
    EXPECT_EQ(GS::UniString::Printf("%s=%.2f (%d)", "Länge", 2.5, 3), GS::UniString("Länge=2.50 (3)"));
}

// Enough keys that the deletes compact the table on the way.
TEST(HashTable, KeepsInsertionOrderAcrossDeletesOverwritesAndCompaction)
{
    GS::HashTable<GS::Int32, int> table;
    for (int key = 0; key < 40; ++key)
        EXPECT_TRUE(table.Add(key, key));
    EXPECT_FALSE(table.Add(1, 99));  // Add never overwrites
    table.Put(3, 30);                // Put overwrites in place
    for (int key = 0; key < 40; ++key)  // all but the multiples of 3
        EXPECT_TRUE(key % 3 == 0 || table.Delete(key)) << key;
    EXPECT_FALSE(table.Delete(1));
    table.Put(1, 10);  // a re-added key goes to the end

    std::string seen;
    for (const auto& entry : table)
        seen += std::to_string(entry.key) + "=" + std::to_string(entry.value) + " ";
    EXPECT_EQ(seen, "0=0 3=30 6=6 9=9 12=12 15=15 18=18 21=21 24=24 27=27 30=30 33=33 36=36 39=39 1=10 ");
    EXPECT_EQ(table.GetSize(), 15u);
    EXPECT_EQ(*table.GetPtr(39), 39);
    EXPECT_EQ(table.GetPtr(2), nullptr);
    EXPECT_THROW(table.Get(2), GS::Exception);
}

TEST(Guid, ParsesIgnoringCaseAndGivesCanonicalText)
{
    const std::pair<const char*, bool> cases[] = {
        {"b45089a1-b373-460b-b143-80e6ebf107c1", true},  {"B45089A1-B373-460B-B143-80E6EBF107C1", true},
        {"{b45089a1-B373-460b-b143-80E6EBF107C1}", true}, {"B45089A1B373460BB14380E6EBF107C1", false},
        {"B45089A1-B373-460B-B143-80E6EBF107CG", false},  {"B45089A1-B373-460B-B143-80E6EBF107C", false},
        {"", false},
    };
    for (const auto& [text, valid] : cases) {
        GS::Guid g;
        EXPECT_EQ(g.ConvertFromString(text), valid) << text;
        EXPECT_EQ(g.ToString(), valid ? "B45089A1-B373-460B-B143-80E6EBF107C1" : "00000000-0000-0000-0000-000000000000")
            << text;
        EXPECT_EQ(g.IsNull(), !valid) << text;
    }
    GS::Guid g("00112233-4455-6677-8899-AABBCCDDEEFF");
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(g.Bytes()[i], i * 0x11);
    API_Guid api = GSGuid2APIGuid(g);
    EXPECT_EQ(api.time_low, 0x00112233u);
    EXPECT_EQ(api.time_mid, 0x4455u);
    EXPECT_EQ(api.node[5], 0xFF);
    EXPECT_EQ(APIGuid2GSGuid(api), g);
}

TEST(Memory, HandlesAreSizedZeroedAndKilledSafely)
{
    GS::Int64 before = GS::LiveHandleCount();
    GSHandle h = BMAllocateHandle(10);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(BMGetHandleSize(h), 10);
    EXPECT_EQ(std::string(*h, 10), std::string(10, '\0'));
    BNCopyMemory(*h, "abcdefghij", 10);
    EXPECT_EQ(std::string(*h, 10), "abcdefghij");
    EXPECT_EQ(GS::LiveHandleCount(), before + 1);
    BMKillHandle(&h);
    EXPECT_EQ(h, nullptr);
    BMKillHandle(&h);
    BMKillHandle(nullptr);
    EXPECT_EQ(GS::LiveHandleCount(), before);
    EXPECT_EQ(BMGetHandleSize(nullptr), 0);
}

TEST(Array, BoundsAreChecked)
{
    GS::Array<int> a{0, 1, 2, 3};
    a.Delete(3);
    EXPECT_EQ(a, (GS::Array<int>{0, 1, 2}));
    EXPECT_THROW(a[3], GS::IndexOutOfBoundsException);
    EXPECT_THROW(a.Delete(3), GS::IndexOutOfBoundsException);
}

}  // namespace
