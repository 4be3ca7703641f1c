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

TEST(SectionNumber, RecognisesNumbersFollowedByOneBlankAndAWord)
{
    const struct {
        const char* text;
        bool expected;
    } cases[] = {
        { "1. Walls", true },
        { "2.3 Doors", true },
        { "10.2.1. Roof", true },
        { "12 pieces", true },
        { "3 pieces of glass", true },
        { "0. Zero", true },
        { "1.Walls", false },
        { "1.  Walls", false },
        { "1.", false },
        { "12", false },
        { "1. ", false },
        { " 1. Walls", false },
        { "Walls 1. x", false },
        { "", false },
        { "1.2.", false },
        { "1..2 x", false },
        { "1.2.3", false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(StartsWithSectionNumber(c.text), c.expected) << '"' << c.text << '"';
}

TEST(SplitAfterDelimiter, KeepsTheDelimiterLessItsTrailingBlank)
{
    const struct {
        std::string text;
        std::string delimiter;
        Texts expected;
    } cases[] = {
        { "A. B. C", ". ", { "A.", "B.", "C" } },
        { "no delimiter", ". ", { "no delimiter" } },
        { "", ". ", {} },
        { "a\n\nb", "\n\n", { "a\n\n", "b" } },
        { "a\nb\n", "\n", { "a\n", "b\n" } },
        { "x, y, ", ", ", { "x,", "y," } },
        { ". A", ". ", { ".", "A" } },
        { "a\n\n\nb", "\n\n", { "a\n\n", "\nb" } },
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitAfterDelimiter(c.text, c.delimiter), c.expected) << c.text;
}

TEST(SplitDescription, CutsAtSectionsAndLongParagraphs)
{
    const std::string sentence = Repeat("w", 95) + ". "; // 97 bytes
    std::string thousand;
    for (int i = 0; i < 10; ++i)
        thousand += sentence;
    thousand += Repeat("z", 30); // 1000 bytes, no newline

    const std::string shortWithBreak = "First part.\n\nsecond part, still one chunk.";
    const struct {
        const char* name;
        std::string text;
        Texts expected;
    } cases[] = {
        { "empty text gives one empty chunk", "", { "" } },
        { "short text stays whole, line feeds included", shortWithBreak, { shortWithBreak } },
        { "sections start chunks", "Intro\n\n1. Walls\n\n  2. Doors", { "Intro", "1. Walls", "2. Doors" } },
        { "an empty line without a section number", "Intro\n\nmore text", { "Intro\n\nmore text" } },
        { "no separator at all", Repeat("x", 1000), { Repeat("x", 1000) } },
        { "a piece starting with a number opens a chunk", Repeat("a", 500) + "\n3 pieces of glass\n" + Repeat("b", 400),
            { Repeat("a", 500) + "\n", "3 pieces of glass\n\n" + Repeat("b", 400) } },
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitDescriptionParagraphs(c.text, 800), c.expected) << c.name;

    // A long paragraph of sentences: cut after ". ", rejoined with line feeds up to the limit.
    const Texts chunks = SplitDescriptionParagraphs(thousand, 800);
    ASSERT_EQ(chunks.size(), 2u);
    for (const std::string& chunk : chunks)
        EXPECT_LE(chunk.size(), 800u);
    EXPECT_EQ(chunks[0], Repeat(Repeat("w", 95) + ".\n", 7) + Repeat("w", 95) + ".");
    EXPECT_EQ(chunks[1], Repeat(Repeat("w", 95) + ".\n", 2) + Repeat("z", 30));
}

TEST(SplitDescription, NeverCutsInsideAMultiByteCharacter)
{
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "\xC3\xA4\xC3\xB6, "; // "äö, "
    for (const std::string& chunk : SplitDescriptionParagraphs(text, 800)) {
        EXPECT_LE(chunk.size(), 800u);
        const unsigned char last = static_cast<unsigned char>(chunk.back());
        EXPECT_TRUE(last < 0x80) << "chunk ends inside a character";
    }
}

TEST(TruncateUtf8, CountsCharactersNotBytes)
{
    const std::string twoByte = "\xC4\x8D"; // č
    const std::string euro = "\xE2\x82\xAC";
    const std::string emoji = "\xF0\x9F\x98\x80";
    const struct {
        std::string text;
        size_t maximum;
        std::string expected;
    } cases[] = {
        { Repeat(twoByte, 40), 31, Repeat(twoByte, 31) }, { "Walls", 31, "Walls" },
        { Repeat("a", 31), 31, Repeat("a", 31) }, { Repeat("a", 32), 31, Repeat("a", 31) }, { "", 31, "" },
        { "ab" + euro + "c", 3, "ab" + euro }, { "a" + emoji + "b", 2, "a" + emoji },
        { "ab\xE2\x82", 5, "ab" }, // a cut sequence at the end is dropped
        { "a\x80\x80"
          "b",
            3, "a\x80\x80" }, // stray bytes count as characters
    };
    for (const auto& c : cases)
        EXPECT_EQ(TruncateUtf8(c.text, c.maximum), c.expected);
}

TEST(CategorySheetName, IsAlwaysAValidSheetName)
{
    const std::string twoByte = "\xC4\x8D";
    const std::string emoji = "\xF0\x9F\x98\x80";
    const struct {
        std::string title;
        std::string expected;
    } cases[] = {
        { "Walls", "Walls" },
        { Repeat("x", 40), Repeat("x", 31) },
        { Repeat(twoByte, 40), Repeat(twoByte, 31) },
        { "a/b\\c?d*e[f]g:h", "a_b_c_d_e_f_g_h" },
        { "'quoted'", "_quoted_" },
        { "Bob's walls", "Bob's walls" },
        { "", "_" },
        { "tab\there", "tab_here" },
        { "line\nbreak", "line_break" },
        // Spreadsheet applications count a four-byte character as two.
        { Repeat(emoji, 20), Repeat(emoji, 15) },
        { "a" + Repeat(emoji, 15), "a" + Repeat(emoji, 15) },
        { "ab" + Repeat(emoji, 15), "ab" + Repeat(emoji, 14) },
        // The cut comes first, so an apostrophe that ends up last is replaced too.
        { Repeat("x", 30) + "'s", Repeat("x", 30) + "_" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(CategorySheetName(c.title), c.expected) << c.title;
}

TEST(ValidUtf8, ReplacesWhatIsNoCharacter)
{
    const std::string bad = "\xEF\xBF\xBD";
    const struct {
        std::string text;
        std::string expected;
    } cases[] = {
        { "plain", "plain" },
        { "\xC5\xBD"
          "elezo \xE2\x82\xAC \xF0\x9F\x98\x80",
            "\xC5\xBD"
            "elezo \xE2\x82\xAC \xF0\x9F\x98\x80" },
        { "A\xFF"
          "B",
            "A" + bad + "B" },
        { "cut \xE2\x82", "cut " + bad + bad },
        { "\xC0\xAF", bad + bad }, // overlong "/"
        { "\xED\xA0\x80", bad + bad + bad }, // surrogate
        { "\xF4\x90\x80\x80", bad + bad + bad + bad }, // beyond U+10FFFF
        { "\xEF\xBF\xBE\xEF\xBF\xBF", bad + bad }, // U+FFFE and U+FFFF: no XML characters
        { "\xEF\xBF\xBD\xEF\xBF\xBC", bad + "\xEF\xBF\xBC" },
        { "\x80", bad },
        { "", "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ValidUtf8(c.text), c.expected) << c.text;
}

TEST(EscapeCellText, EscapesOnlyWhatLooksLikeAnEscape)
{
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        { "plain", "plain" },
        { "_x0041_", "_x005F_x0041_" },
        { "a _x00ff_ b _x12G4_", "a _x005F_x00ff_ b _x12G4_" },
        { "_x004", "_x004" },
        { "__x0041__", "__x005F_x0041__" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(EscapeCellText(c.text), c.expected) << c.text;
}

TEST(QuotedSheetName, DoublesApostrophes)
{
    EXPECT_EQ(QuotedSheetName("Walls"), "'Walls'");
    EXPECT_EQ(QuotedSheetName("Bob's walls"), "'Bob''s walls'");
    EXPECT_EQ(QuotedSheetName("a''b"), "'a''''b'");
}

// Sentences of the given lengths, each ending in "." and followed by the separator.
std::string Sentences(const std::vector<size_t>& lengths, const std::string& separator = " ")
{
    std::string text;
    for (size_t i = 0; i < lengths.size(); ++i)
        text += (i > 0 ? separator : "") + Repeat(std::string(1, char('a' + i % 26)), lengths[i] - 1) + ".";
    return text;
}

TEST(JoinDescriptionChunks, SplittingTheJoinedTextGivesTheSameRows)
{
    const std::vector<size_t> ten(10, 97);
    const std::string longParagraph = Sentences(ten); // 979 bytes, cut after ". "
    const std::string commas = Repeat(Repeat("w", 60) + ", ", 15) + "end."; // cut after ", "
    const std::string lines = Sentences(ten, ".\n"); // line breaks of its own, cut after "\n"
    const std::string mixedLines = Sentences({ 120, 300, 200 }, "\n") + " " + Sentences(ten);
    // Whether the text itself comes back, or only one that splits into the same rows.
    const struct {
        const char* name;
        std::string text;
        bool whole;
    } descriptions[] = {
        { "empty", "", true },
        { "one sentence", "Plain text.", true },
        { "sections, blanks dropped", "Intro\n\n1. Walls\n\n  2. Doors", false },
        { "lines in sections", "1. Walls\nline two\n\n2. Doors\n\n2.1 Frames", true },
        { "no separator", Repeat("x", 1000), true },
        { "long sections", "Intro\n\n1. " + Repeat("a", 700) + "\n\n2. " + Repeat("b", 700), true },
        { "a long paragraph of sentences", longParagraph, true },
        { "a long sentence of clauses", commas, true },
        { "a long paragraph of lines", lines, true },
        { "lines before sentences", mixedLines, true },
        { "sections of long paragraphs", "Intro.\n\n1. " + longParagraph + "\n\n2. " + lines, true },
        { "paragraphs between blank lines", Sentences({ 300, 200 }) + "\n\n" + longParagraph + "\n\nEnd.", true },
        { "a short paragraph with its own line feeds beside a long one",
            Sentences({ 100, 100 }, "\n") + "\n\n" + longParagraph, true },
        { "a cut section number", "1. " + longParagraph + "\n\n2. " + longParagraph, true },
    };
    for (const auto& c : descriptions) {
        const Texts chunks = SplitDescriptionParagraphs(c.text, 800);
        const std::string joined = JoinDescriptionChunks(chunks, 800);
        EXPECT_EQ(SplitDescriptionParagraphs(joined, 800), chunks) << c.name;
        if (c.whole) {
            EXPECT_EQ(joined, c.text) << c.name;
        }
    }
    EXPECT_EQ(JoinDescriptionChunks({ "Intro", "1. Walls", "more" }, 800), "Intro\n\n1. Walls\nmore");
    EXPECT_EQ(JoinDescriptionChunks({ "A.\nB.", "C." }, 5), "A. B. C.") << "a cut paragraph comes back whole";
    EXPECT_EQ(JoinDescriptionChunks({ "" }, 800), "");
    EXPECT_EQ(JoinDescriptionChunks({}, 800), "");
}

} // namespace
