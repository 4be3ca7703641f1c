#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Exchange/SheetText.hpp"

namespace {

using Texts = std::vector<std::string>;

std::string Repeat(const std::string& text, size_t times)
{
    std::string out;
    for (size_t i = 0; i < times; ++i)
        out += text;
    return out;
}

// Sentences of the given lengths, each ending in "." and followed by the separator.
std::string Sentences(const std::vector<size_t>& lengths, const std::string& separator = " ")
{
    std::string text;
    for (size_t i = 0; i < lengths.size(); ++i)
        text += (i > 0 ? separator : "") + Repeat(std::string(1, char('a' + i % 26)), lengths[i] - 1) + ".";
    return text;
}

TEST(SectionNumber, RecognisesNumbersFollowedByOneBlankAndAWord)
{
    for (const char* yes : { "1. Walls", "2.3 Doors", "10.2.1. Roof", "12 pieces", "0. Zero" })
        EXPECT_TRUE(StartsWithSectionNumber(yes)) << yes;
    for (const char* no : { "1.Walls", "1.  Walls", "1.", "12", "1. ", " 1. Walls", "Walls 1. x", "", "1..2 x", "1.2" })
        EXPECT_FALSE(StartsWithSectionNumber(no)) << no;
}

// Each description is split into the expected rows (when given), and the rows joined again give
// a text that splits into the same rows: the text itself when whole is set.
TEST(SplitDescription, CutsAtSectionsAndLongParagraphsAndJoinsBack)
{
    const std::string shortWithBreak = "First part.\n\nsecond part, still one chunk.", w = Repeat("w", 95);
    const std::string longParagraph = Sentences(std::vector<size_t>(10, 97)); // 979 bytes, cut after ". "
    const std::string lines = Sentences(std::vector<size_t>(10, 97), ".\n"); // cut after "\n"
    const struct { const char* name; std::string text; Texts rows; bool whole; } cases[] = {
        { "empty text gives one empty row", "", { "" }, true },
        { "short text stays whole, line feeds included", shortWithBreak, { shortWithBreak }, true },
        { "sections start rows", "Intro\n\n1. Walls\n\n  2. Doors", { "Intro", "1. Walls", "2. Doors" }, false },
        { "an empty line without a section number", "Intro\n\nmore text", { "Intro\n\nmore text" }, true },
        { "no separator at all", Repeat("x", 1000), { Repeat("x", 1000) }, true },
        // 1000 bytes of sentences: cut after ". " and rejoined with line feeds up to the limit.
        { "a long paragraph of sentences", Repeat(w + ". ", 10) + Repeat("z", 30),
            { Repeat(w + ".\n", 7) + w + ".", Repeat(w + ".\n", 2) + Repeat("z", 30) }, true },
        { "lines in sections", "1. Walls\nline two\n\n2. Doors\n\n2.1 Frames", {}, true },
        { "a long sentence of clauses", Repeat(Repeat("w", 60) + ", ", 15) + "end.", {}, true },
        { "lines before sentences", Sentences({ 120, 300, 200 }, "\n") + " " + longParagraph, {}, true },
        { "sections of long paragraphs", "Intro.\n\n1. " + longParagraph + "\n\n2. " + lines, {}, true },
        { "paragraphs between blank lines", Sentences({ 300, 200 }) + "\n\n" + longParagraph + "\n\nEnd.", {}, true },
        { "a short paragraph with its own line feeds beside a long one",
            Sentences({ 100, 100 }, "\n") + "\n\n" + longParagraph, {}, true },
        // Runs of blank lines and trailing line feeds come back as long as they were.
        { "sentences ending in line feeds", Sentences(std::vector<size_t>(13, 119)) + " End.\n\n\n", {}, true },
        { "runs of blank lines", longParagraph + "\n\n\n\n" + longParagraph + "\n\n\n" + lines + "\n\n\n\n\n", {}, true },
        { "blank lines in a cut paragraph", Sentences({ 300, 200 }, "\n\n\n") + " " + longParagraph + "\n\n", {}, true },
        { "blank lines opening a paragraph and a numbered line in it",
            "\n\n\n" + Sentences({ 82 }) + "\n\n\n" + Sentences({ 131, 60, 126 }, "") + "\n\n\n\n\n5. "
                + Sentences({ 130, 67, 60, 129 }, "") + "\n\n", {}, true },
        { "numbered lines after blank lines, beside sections",
            Sentences({ 132, 48 }, "") + "\n\n\n7. " + Sentences({ 142, 116 }, "") + " " + Sentences({ 76 }) + "\n\n\n"
                + Sentences({ 107 }) + "\n\n\n\n" + Sentences({ 13 }) + "\n" + Sentences({ 105 }) + "\n\n\n\n"
                + Sentences({ 41 }) + "\n\n\n\n6. " + Sentences({ 81 }), {}, true },
        // A line opening with a number and a blank starts a row but no section: no empty line is
        // put before it when joined, or the description would change at every round trip.
        { "a numbered line inside a paragraph", Repeat("a", 500) + "\n3 pieces of glass\n" + Repeat("b", 400),
            { Repeat("a", 500) + "\n", "3 pieces of glass\n\n" + Repeat("b", 400) }, false },
    };
    for (const auto& c : cases) {
        const Texts rows = SplitDescriptionParagraphs(c.text, 800);
        EXPECT_TRUE(c.rows.empty() || rows == c.rows) << c.name;
        const std::string joined = JoinDescriptionChunks(rows, 800);
        EXPECT_EQ(SplitDescriptionParagraphs(joined, 800), rows) << c.name;
        EXPECT_TRUE(!c.whole || joined == c.text) << c.name;
    }
    EXPECT_EQ(JoinDescriptionChunks({ "Intro", "1. Walls", "more" }, 800), "Intro\n\n1. Walls\nmore");
    EXPECT_EQ(JoinDescriptionChunks({ "A.\nB.", "C." }, 5), "A. B. C.") << "a cut paragraph comes back whole";
    // The pieces between delimiters show in the rows above; an empty text has none.
    EXPECT_TRUE(SplitAfterDelimiter("", "\n\n").empty());
}

TEST(CategorySheetName, IsAlwaysAValidSheetName)
{
    const std::string emoji = "\xF0\x9F\x98\x80";
    const struct { std::string title, expected; } cases[] = {
        { "Walls", "Walls" }, { Repeat("\xC4\x8D", 40), Repeat("\xC4\x8D", 31) },
        { "a/b\\c?d*e[f]g:h", "a_b_c_d_e_f_g_h" }, { "'quoted'", "_quoted_" }, { "Bob's walls", "Bob's walls" },
        { "", "_" }, { "tab\there", "tab_here" },
        // Spreadsheet applications count a four-byte character as two.
        { Repeat(emoji, 20), Repeat(emoji, 15) }, { "ab" + Repeat(emoji, 15), "ab" + Repeat(emoji, 14) },
        // The cut comes first, so an apostrophe that ends up last is replaced too.
        { Repeat("x", 30) + "'s", Repeat("x", 30) + "_" },
        // Characters are counted, not bytes; a cut sequence at the end is dropped; stray bytes
        // count as characters.
        { Repeat("\xE2\x82\xAC", 40), Repeat("\xE2\x82\xAC", 31) }, { "ab\xE2\x82", "ab" },
        { Repeat("x", 28) + "\x80\x80" "bc", Repeat("x", 28) + "\x80\x80" "b" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(CategorySheetName(c.title), c.expected) << c.title;
}

TEST(ValidUtf8, ReplacesWhatIsNoCharacter)
{
    const std::string bad = "\xEF\xBF\xBD", good = "\xC5\xBD" "elezo \xE2\x82\xAC \xF0\x9F\x98\x80 \xEF\xBF\xBC";
    // Then an overlong "/", a surrogate, a code point beyond U+10FFFF, and U+FFFE and U+FFFF,
    // which are no XML characters.
    const struct { std::string text, expected; } cases[] = {
        { good, good }, { "A\xFF" "B", "A" + bad + "B" }, { "cut \xE2\x82", "cut " + bad + bad }, { "\x80", bad },
        { "\xC0\xAF", bad + bad }, { "\xED\xA0\x80", bad + bad + bad }, { "\xF4\x90\x80\x80", bad + bad + bad + bad },
        { "\xEF\xBF\xBE\xEF\xBF\xBF", bad + bad },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ValidUtf8(c.text), c.expected) << c.text;
}

} // namespace
