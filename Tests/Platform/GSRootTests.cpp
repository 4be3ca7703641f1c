#include <gtest/gtest.h>

#include "API/ApiTypes.hpp"
#include "GSRoot/GSRoot.hpp"

namespace {

struct Utf8Case {
    const char* name;
    std::string bytes;
    std::u16string expected;
    std::string backToUtf8;
};

TEST(UniString, DecodesAndReplacesInvalidUtf8)
{
    const Utf8Case cases[] = {
        {"ascii", "Wall 1", u"Wall 1", "Wall 1"},
        {"two-byte", "Betonstra\xc3\x9f" "e", u"Betonstraße", "Betonstra\xc3\x9f" "e"},
        {"three-byte", "\xe2\x82\xac 5", u"€ 5", "\xe2\x82\xac 5"},
        {"four-byte", "\xf0\x9f\x8f\x97", u"\U0001F3D7", "\xf0\x9f\x8f\x97"},
        {"lone continuation", "a\x80z", u"a\uFFFDz", "a\xef\xbf\xbdz"},
        {"truncated sequence", "a\xe2\x82", u"a\uFFFD", "a\xef\xbf\xbd"},
        {"overlong", "\xc0\xaf", u"\uFFFD\uFFFD", "\xef\xbf\xbd\xef\xbf\xbd"},
        {"surrogate encoded", "\xed\xa0\x80", u"\uFFFD", "\xef\xbf\xbd"},
        {"beyond unicode", "\xf4\x90\x80\x80x", u"\uFFFDx", "\xef\xbf\xbdx"},
    };
    for (const auto& c : cases) {
        GS::UniString s(c.bytes.c_str());
        EXPECT_EQ(s.ToU16(), c.expected) << c.name;
        EXPECT_EQ(s.ToUtf8(), c.backToUtf8) << c.name;
        for (GSCharCode cc : {CC_Default, CC_UTF8, CC_UTF8_Edge})
            EXPECT_EQ(GS::UniString(c.bytes.c_str(), cc).ToCStr(cc).Str(), c.backToUtf8) << c.name << " code " << cc;
    }
}

TEST(UniString, LengthCountsUtf16Units)
{
    EXPECT_EQ(GS::UniString("Žluťoučký").GetLength(), 9u);
    EXPECT_EQ(GS::UniString("\xf0\x9f\x8f\x97").GetLength(), 2u);
    EXPECT_TRUE(GS::UniString(static_cast<const char*>(nullptr)).IsEmpty());
}

TEST(UniString, FindReplaceAndCompare)
{
    GS::UniString s("Wall #ID on #LOC, #ID again");
    EXPECT_EQ(s.Find("#ID"), 5u);
    EXPECT_EQ(s.Find("#ID", 6), 18u);
    EXPECT_EQ(s.Find("#NOPE"), GS::MaxUIndex);
    EXPECT_EQ(s.ReplaceAll("#ID", "W-001"), 2u);
    EXPECT_EQ(s, GS::UniString("Wall W-001 on #LOC, W-001 again"));
    EXPECT_EQ(s.ReplaceAll("", "x"), 0u);

    EXPECT_TRUE(GS::UniString("Beton ÄÖÜ").IsEqual("BETON äöü", true));
    EXPECT_FALSE(GS::UniString("Beton").IsEqual("BETON", false));
    EXPECT_TRUE(GS::UniString("abc") < GS::UniString("abd"));
    EXPECT_EQ(GS::UniString("ab") + "c" + GS::UniString("ď"), GS::UniString("abcď"));
    EXPECT_TRUE(GS::UniString("Volume").BeginsWith("Vol"));
    EXPECT_TRUE(GS::UniString("Volume").EndsWith("ume"));
    EXPECT_EQ(GS::UniString("  x y \t").GetSubstring(2, 3), GS::UniString("x y"));
    GS::UniString t("  x y \t");
    t.Trim();
    EXPECT_EQ(t, GS::UniString("x y"));
}

TEST(UniString, PrintfAndHash)
{
    EXPECT_EQ(GS::UniString::Printf("%s=%.2f (%d)", "Länge", 2.5, 3), GS::UniString("Länge=2.50 (3)"));
    EXPECT_EQ(GS::UniString("Wand").GenerateHashValue(), GS::UniString("Wand").GenerateHashValue());
    EXPECT_NE(GS::UniString("Wand").GenerateHashValue(), GS::UniString("Wane").GenerateHashValue());
}

TEST(HashTable, KeepsInsertionOrderAcrossDeletesAndOverwrites)
{
    GS::HashTable<GS::UniString, int> table;
    const char* keys[] = {"Volume", "Area", "Length", "Height", "Width"};
    int value = 0;
    for (const char* k : keys)
        EXPECT_TRUE(table.Add(k, ++value));
    EXPECT_FALSE(table.Add("Area", 99));  // Add never overwrites
    table.Put("Length", 30);             // Put overwrites in place
    EXPECT_TRUE(table.Delete("Area"));
    EXPECT_FALSE(table.Delete("Area"));
    table.Put("Area", 20);  // a re-added key goes to the end

    std::vector<std::pair<std::string, int>> seen;
    for (const auto& entry : table)
        seen.emplace_back(entry.key.ToUtf8(), entry.value);
    std::vector<std::pair<std::string, int>> expected = {
        {"Volume", 1}, {"Length", 30}, {"Height", 4}, {"Width", 5}, {"Area", 20}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(table.GetSize(), 5u);
    EXPECT_EQ(table.GetPtr("Nope"), nullptr);
    EXPECT_THROW(table.Get("Nope"), GS::Exception);
}

TEST(HashTable, OrderSurvivesManyDeletes)
{
    GS::HashTable<int, int> table;
    for (int i = 0; i < 200; ++i)
        table.Add(i, i * i);
    for (int i = 0; i < 200; ++i)
        if (i % 3 != 0)
            table.Delete(i);
    std::vector<int> keys;
    for (const auto& e : table) {
        keys.push_back(e.key);
        EXPECT_EQ(e.value, e.key * e.key);
    }
    ASSERT_EQ(keys.size(), 67u);
    for (std::size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(keys[i], static_cast<int>(i) * 3);
    EXPECT_EQ(*table.GetPtr(198), 198 * 198);
}

TEST(Guid, ParsesIgnoringCaseAndGivesCanonicalText)
{
    struct Case {
        const char* text;
        bool valid;
        const char* canonical;
    } cases[] = {
        {"b45089a1-b373-460b-b143-80e6ebf107c1", true, "B45089A1-B373-460B-B143-80E6EBF107C1"},
        {"B45089A1-B373-460B-B143-80E6EBF107C1", true, "B45089A1-B373-460B-B143-80E6EBF107C1"},
        {"{b45089a1-B373-460b-b143-80E6EBF107C1}", true, "B45089A1-B373-460B-B143-80E6EBF107C1"},
        {"B45089A1B373460BB14380E6EBF107C1", false, "00000000-0000-0000-0000-000000000000"},
        {"B45089A1-B373-460B-B143-80E6EBF107CG", false, "00000000-0000-0000-0000-000000000000"},
        {"B45089A1-B373-460B-B143-80E6EBF107C", false, "00000000-0000-0000-0000-000000000000"},
        {"", false, "00000000-0000-0000-0000-000000000000"},
    };
    for (const auto& c : cases) {
        GS::Guid g;
        EXPECT_EQ(g.ConvertFromString(c.text), c.valid) << c.text;
        EXPECT_EQ(g.ToString(), c.canonical) << c.text;
        EXPECT_EQ(g.IsNull(), !c.valid) << c.text;
    }
}

TEST(Guid, SixteenByteFormAndApiRecordRoundTrip)
{
    GS::Guid g("00112233-4455-6677-8899-AABBCCDDEEFF");
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(g.Bytes()[i], i * 0x11);
    API_Guid api = GSGuid2APIGuid(g);
    EXPECT_EQ(api.time_low, 0x00112233u);
    EXPECT_EQ(api.time_mid, 0x4455u);
    EXPECT_EQ(api.node[5], 0xFF);
    EXPECT_EQ(APIGuid2GSGuid(api), g);
    GS::Guid a = GS::Guid::Generate(), b = GS::Guid::Generate();
    EXPECT_NE(a, b);
    EXPECT_EQ(GS::Guid(a.ToUniString()), a);
}

TEST(Memory, HandlesAreSizedZeroedAndKilledSafely)
{
    GS::Int64 before = GS::LiveHandleCount();
    GSHandle h = BMAllocateHandle(10);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(BMGetHandleSize(h), 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ((*h)[i], 0);
    BNCopyMemory(*h, "abcdefghij", 10);
    h = BMReallocHandle(h, 20);
    EXPECT_EQ(BMGetHandleSize(h), 20);
    EXPECT_EQ(std::string(*h, 10), "abcdefghij");
    EXPECT_EQ(GS::LiveHandleCount(), before + 1);
    BMKillHandle(&h);
    EXPECT_EQ(h, nullptr);
    BMKillHandle(&h);
    BMKillHandle(nullptr);
    EXPECT_EQ(GS::LiveHandleCount(), before);
    EXPECT_EQ(BMGetHandleSize(nullptr), 0);
}

TEST(Debug, CaptureReceivesFormattedText)
{
    std::string captured;
    GS::SetDebugCapture([&](const std::string& s) { captured += s; });
    DBPrintf("Error saving entity: %s\n", "disk full");
    GS::SetDebugCapture(nullptr);
    EXPECT_EQ(captured, "Error saving entity: disk full\n");
}

TEST(Exceptions, NullReferenceMessage)
{
    try {
        throw GS::NullReferenceException();
    } catch (const GS::Exception& e) {
        EXPECT_STREQ(e.what(), "Null reference.");
    }
}

TEST(ClassInfo, RegisteredWhileAlive)
{
    {
        GS::ClassInfo info("TestSettings", GS::Guid("B45089A1-B373-460B-B143-80E6EBF107C1"), 1, 0);
        const GS::ClassInfo* found = GS::ClassInfo::Find("TestSettings");
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->GetId().ToString(), "B45089A1-B373-460B-B143-80E6EBF107C1");
        EXPECT_EQ(found->GetMainVersion(), 1);
    }
    EXPECT_EQ(GS::ClassInfo::Find("TestSettings"), nullptr);
}

TEST(Array, BoundsAreChecked)
{
    GS::Array<int> a{1, 2, 3};
    a.Insert(0, 0);
    a.Delete(3);
    EXPECT_EQ(a, (GS::Array<int>{0, 1, 2}));
    EXPECT_THROW(a[3], GS::IndexOutOfBoundsException);
    EXPECT_THROW(a.Insert(5, 1), GS::IndexOutOfBoundsException);
    EXPECT_EQ(a.FindFirst(2), 2u);
    EXPECT_EQ(a.FindFirst(7), GS::MaxUIndex);
}

}  // namespace
