#include "Exchange/SheetText.hpp"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Byte length of the character that starts with this byte; stray bytes count as one.
std::size_t Utf8SequenceLength(unsigned char first)
{
    if (first < 0x80)
        return 1;
    if (first >= 0xC0 && first <= 0xDF)
        return 2;
    if (first >= 0xE0 && first <= 0xEF)
        return 3;
    if (first >= 0xF0 && first <= 0xF7)
        return 4;
    return 1;
}

bool IsForbiddenInSheetName(unsigned char c)
{
    switch (c) {
    case '[':
    case ']':
    case ':':
    case '*':
    case '?':
    case '/':
    case '\\':
        return true;
    default:
        // Control characters cannot be written into the workbook's XML at all.
        return c < 0x20 || c == 0x7F;
    }
}

} // namespace

namespace {

// The section-number test on the text from a position on, so a long description is not
// copied at every empty line.
bool StartsWithSectionNumberAt(const std::string& s, std::size_t i)
{
    const std::size_t n = s.size();
    if (i >= n || !IsDigit(s[i]))
        return false;
    while (i < n && IsDigit(s[i]))
        ++i;
    if (i == n)
        return false;
    while (s[i] == '.' && i + 1 < n && IsDigit(s[i + 1])) {
        ++i;
        while (i < n && IsDigit(s[i]))
            ++i;
        if (i == n)
            return false;
    }
    if (s[i] == '.') {
        ++i;
        if (i == n)
            return false;
    }
    return s[i] == ' ' && i + 1 < n && s[i + 1] != ' ';
}

} // namespace

bool StartsWithSectionNumber(const std::string& s)
{
    return StartsWithSectionNumberAt(s, 0);
}

std::vector<std::string> SplitAfterDelimiter(const std::string& text, const std::string& delimiter)
{
    std::vector<std::string> pieces;
    if (text.empty())
        return pieces;
    if (delimiter.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    std::size_t kept = delimiter.size();
    while (kept > 0 && delimiter[kept - 1] == ' ')
        --kept;

    std::size_t pos = 0;
    for (;;) {
        const std::size_t found = text.find(delimiter, pos);
        if (found == std::string::npos) {
            pieces.push_back(text.substr(pos));
            break;
        }
        std::string piece = text.substr(pos, found - pos + kept);
        if (!piece.empty())
            pieces.push_back(std::move(piece));
        pos = found + delimiter.size();
        if (pos >= text.size())
            break;
    }
    return pieces;
}

std::vector<std::string> SplitDescriptionParagraphs(const std::string& text, std::size_t limit)
{
    // 1. Paragraphs: a boundary wherever an empty line is followed by a section number.
    std::vector<std::string> paragraphs;
    std::string current;
    std::size_t start = 0;
    std::size_t searchFrom = 0;
    for (;;) {
        const std::size_t p = text.find("\n\n", searchFrom);
        if (p == std::string::npos)
            break;
        std::size_t blanks = 0;
        while (p + 2 + blanks < text.size() && text[p + 2 + blanks] == ' ')
            ++blanks;
        if (StartsWithSectionNumberAt(text, p + 2 + blanks)) {
            current += text.substr(start, p - start);
            if (!current.empty())
                paragraphs.push_back(current);
            current.clear();
            start = p + 2 + blanks;
            searchFrom = start;
        } else {
            searchFrom = p + 2;
        }
    }
    current += text.substr(start);
    if (!current.empty())
        paragraphs.push_back(current);
    if (paragraphs.empty())
        paragraphs.push_back(text);

    static const char* const separators[] = { "\n\n", "\n", ". ", ", " };
    std::vector<std::string> chunks;
    for (const std::string& paragraph : paragraphs) {
        // 2. Cutting what is too long, at the most natural separator first.
        std::vector<std::string> pieces { paragraph };
        for (const char* separator : separators) {
            std::vector<std::string> next;
            for (const std::string& piece : pieces) {
                if (piece.size() > limit) {
                    std::vector<std::string> parts = SplitAfterDelimiter(piece, separator);
                    if (parts.size() > 1) {
                        next.insert(next.end(), parts.begin(), parts.end());
                        continue;
                    }
                }
                next.push_back(piece);
            }
            pieces.swap(next);
        }

        // 3. Joining small pieces up to the limit; a section number always opens a chunk.
        std::string accumulator;
        for (const std::string& piece : pieces) {
            if (accumulator.empty()) {
                accumulator = piece;
            } else if (StartsWithSectionNumber(piece)) {
                chunks.push_back(accumulator);
                accumulator = piece;
            } else if (accumulator.size() + 1 + piece.size() <= limit) {
                accumulator += '\n';
                accumulator += piece;
            } else {
                chunks.push_back(accumulator);
                accumulator = piece;
            }
        }
        if (!accumulator.empty())
            chunks.push_back(accumulator);
    }

    if (chunks.empty())
        chunks.push_back(text);
    return chunks;
}

std::string TruncateUtf8(const std::string& text, std::size_t maximum)
{
    std::size_t pos = 0;
    std::size_t count = 0;
    while (count < maximum && pos < text.size()) {
        const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(text[pos]));
        if (pos + length > text.size())
            break;
        pos += length;
        ++count;
    }
    return text.substr(0, pos);
}

std::string CategorySheetName(const std::string& title)
{
    const std::size_t maxUnits = 31;
    std::string name = TruncateUtf8(title, maxUnits);

    // Spreadsheet applications count UTF-16 units: a four-byte character takes two.
    std::size_t units = 0;
    std::size_t pos = 0;
    while (pos < name.size()) {
        const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(name[pos]));
        const std::size_t width = length == 4 ? 2 : 1;
        if (units + width > maxUnits)
            break;
        units += width;
        pos += length;
    }
    name.resize(pos);

    for (char& c : name) {
        if (IsForbiddenInSheetName(static_cast<unsigned char>(c)))
            c = '_';
    }
    if (!name.empty() && name.front() == '\'')
        name.front() = '_';
    if (!name.empty() && name.back() == '\'')
        name.back() = '_';
    if (name.empty())
        name = "_";
    return name;
}

std::string QuotedSheetName(const std::string& sheetName)
{
    std::string quoted = "'";
    for (char c : sheetName) {
        quoted += c;
        if (c == '\'')
            quoted += '\'';
    }
    quoted += '\'';
    return quoted;
}

namespace {

// A paragraph that was cut: the splitting put a line feed after every cut piece that shares
// a row with the next one, and dropped the blank after a cut ". " or ", ". Undoing both
// gives back the paragraph. A blank line that was itself cut off stands as a piece of its
// own, which adds a second line feed; whether a run of four or more holds one such piece
// or a longer run of the description's own is not known, so the caller tries both.
std::string UndoParagraphCuts(const std::vector<std::string>& rows, bool blankLinePieces, std::size_t limit)
{
    std::string text;
    std::vector<std::size_t> lineEnds; // single line feeds after "." or ",": cut or the text's own
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const std::string& row = rows[r];
        std::size_t i = 0;
        while (i < row.size()) {
            if (row[i] != '\n') {
                text += row[i++];
                continue;
            }
            std::size_t end = i;
            while (end < row.size() && row[end] == '\n')
                ++end;
            std::size_t run = end - i;
            if (end < row.size()) {
                if (run >= 4 && blankLinePieces)
                    run -= 2;
                else if (run >= 2)
                    run -= 1;
                else if (i > 0 && (row[i - 1] == '.' || row[i - 1] == ','))
                    lineEnds.push_back(text.size());
            } else if (run == 3 && blankLinePieces) {
                run = 2; // the row ends with such a piece
            }
            text.append(run, '\n');
            i = end;
        }
        const char last = row.empty() ? '\0' : row.back();
        if (r + 1 < rows.size() && (last == '.' || last == ','))
            text += ' ';
    }

    // Only a part between blank lines that is longer than the limit was cut after ". " or
    // ", "; a shorter one keeps its line feeds as they are.
    std::size_t partEnd = 0;
    std::size_t next = 0; // line ends are in text order
    for (const std::string& part : SplitAfterDelimiter(text, "\n\n")) {
        partEnd += part.size();
        for (; next < lineEnds.size() && lineEnds[next] < partEnd; ++next) {
            if (part.size() > limit)
                text[lineEnds[next]] = ' ';
        }
    }
    return text;
}

} // namespace

namespace {

// A run of line feeds in the rows of one paragraph, as the rows follow each other.
struct LineFeedRun {
    std::size_t start = 0;   // where it stands in the rows joined, up to end
    std::size_t end = 0;
    std::size_t count = 0;   // line feeds in the rows
    std::size_t breaks = 0;  // row breaks that touch the run; each stands for one joining line feed
    bool atStart = false;    // the paragraph begins with it
    bool atEnd = false;      // the paragraph ends with it
    std::vector<std::size_t> lengths; // line feeds of the paragraph that may have given it
};

// Line feeds that cutting and joining add to a run of n line feeds of a paragraph that was cut:
// the cut after each "\n\n" keeps it with the text before, leaves each further pair a piece of
// its own and an odd one opening the next piece; each piece is then joined with one line feed.
// A piece longer than the limit (before: the one the run ends, after: the one it opens) is cut
// after its "\n" again, which adds one more.
std::size_t AddedLineFeeds(const LineFeedRun& run, std::size_t n, bool bigBefore, bool bigAfter)
{
    if (run.atStart)
        return n / 2 + (n % 2 == 1 && bigAfter ? 1 : 0);
    if (n < 2)
        return run.atEnd ? 0 : (bigBefore ? 1 : 0);
    const std::size_t pairs = (n - 2) / 2, odd = (n - 2) % 2;
    if (run.atEnd)
        return pairs + odd + (bigBefore ? 1 : 0);
    return 1 + pairs + (bigBefore ? 1 : 0) + (odd == 1 && bigAfter ? 1 : 0);
}

// Rows as one text, each ended by a mark, to measure how far two splittings agree.
std::string RowsText(const std::vector<std::string>& rows)
{
    std::string text;
    for (const std::string& row : rows)
        text += row + '\x01';
    return text;
}

// Up to this many readings (a length for each run of line feeds) are all tried; more are
// narrowed down run by run.
const std::size_t MaxReadingsTriedWhole = 256;

// The rows of one paragraph as one text, with the places where one row ends and the next
// begins, and its runs of line feeds.
struct ParagraphRows {
    std::string joined;
    std::vector<std::size_t> breaks;
    std::vector<LineFeedRun> runs;
};

// The lengths the paragraph's run may have had: those whose cutting and joining give the run.
std::vector<std::size_t> PossibleLengths(const LineFeedRun& run)
{
    std::vector<std::size_t> lengths;
    for (std::size_t n = 1; n <= run.count + run.breaks; ++n) {
        bool fits = false;
        for (int shape = 0; shape < 4 && !fits; ++shape) {
            const std::size_t added = AddedLineFeeds(run, n, (shape & 1) != 0, (shape & 2) != 0);
            fits = n + added == run.count + run.breaks && (added > 0 || run.breaks == 0);
        }
        if (fits)
            lengths.push_back(n);
    }
    if (lengths.empty())
        lengths.push_back(run.count);
    return lengths;
}

ParagraphRows ReadParagraphRows(const std::vector<std::string>& rows)
{
    ParagraphRows read;
    std::string& joined = read.joined;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (r > 0)
            read.breaks.push_back(joined.size());
        joined += rows[r];
    }
    for (std::size_t i = 0; i < joined.size();) {
        if (joined[i] != '\n') {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < joined.size() && joined[end] == '\n')
            ++end;
        LineFeedRun run;
        run.start = i;
        run.end = end;
        run.count = end - i;
        for (std::size_t b : read.breaks)
            run.breaks += b >= i && b <= end ? 1 : 0;
        run.atStart = i == 0;
        run.atEnd = end == joined.size();
        run.lengths = PossibleLengths(run);
        read.runs.push_back(run);
        i = end;
    }
    return read;
}

// The paragraph of one reading (choice: an index into each run's lengths). A row that ends in
// "." or "," was cut after ". " or ", ", whose blank went; only a part between blank lines
// longer than the limit was cut after ". " or ", ", so a shorter one keeps its line feeds.
std::string ParagraphOfReading(const ParagraphRows& read, const std::vector<std::size_t>& choice, std::size_t limit)
{
    const std::string& joined = read.joined;
    const std::vector<std::size_t>& breaks = read.breaks;
    const std::vector<LineFeedRun>& runs = read.runs;
    std::string text;
    std::vector<std::size_t> lineEnds; // single line feeds after "." or ",": cut or the text's own
    std::size_t next = 0, nextBreak = 0;
    for (std::size_t i = 0; i < joined.size();) {
        if (next < runs.size() && runs[next].start == i) {
            const std::size_t n = runs[next].lengths[choice[next]];
            if (nextBreak < breaks.size() && breaks[nextBreak] == i && !text.empty()
                && (text.back() == '.' || text.back() == ','))
                text += ' ';
            if (n == 1 && runs[next].count == 1 && runs[next].breaks == 0 && !text.empty()
                && (text.back() == '.' || text.back() == ','))
                lineEnds.push_back(text.size());
            text.append(n, '\n');
            i = runs[next++].end;
            while (nextBreak < breaks.size() && breaks[nextBreak] <= i)
                ++nextBreak;
            continue;
        }
        if (nextBreak < breaks.size() && breaks[nextBreak] == i) {
            if (!text.empty() && (text.back() == '.' || text.back() == ','))
                text += ' ';
            ++nextBreak;
        }
        text += joined[i++];
    }
    std::size_t partEnd = 0, line = 0;
    for (const std::string& part : SplitAfterDelimiter(text, "\n\n")) {
        partEnd += part.size();
        for (; line < lineEnds.size() && lineEnds[line] < partEnd; ++line)
            if (part.size() > limit)
                text[lineEnds[line]] = ' ';
    }
    return text;
}

// How many readings the runs allow, counted up to one more than are tried whole.
std::size_t ReadingCount(const ParagraphRows& read)
{
    std::size_t readings = 1;
    for (const LineFeedRun& run : read.runs)
        readings = std::min<std::size_t>(readings * run.lengths.size(), MaxReadingsTriedWhole + 1);
    return readings;
}

// Every reading in turn, until one splits into the rows.
bool TryEveryReading(const ParagraphRows& read, const std::vector<std::string>& rows, std::size_t limit,
    std::string& paragraph)
{
    std::vector<std::size_t> choice(read.runs.size(), 0);
    const std::size_t readings = ReadingCount(read);
    for (std::size_t reading = 0; reading < readings; ++reading) {
        for (std::size_t r = 0, rest = reading; r < read.runs.size(); ++r) {
            choice[r] = rest % read.runs[r].lengths.size();
            rest /= read.runs[r].lengths.size();
        }
        paragraph = ParagraphOfReading(read, choice, limit);
        if (SplitDescriptionParagraphs(paragraph, limit) == rows)
            return true;
    }
    return false;
}

// The runs from the first on, each read as the length whose text splits into rows that agree
// with the rows wanted the longest way.
bool ReadRunByRun(const ParagraphRows& read, const std::vector<std::string>& rows, std::size_t limit,
    std::string& paragraph)
{
    const std::string wanted = RowsText(rows);
    // How far the text's rows agree with the rows wanted; npos when they are the same.
    auto agreement = [&](const std::string& text) {
        const std::string got = RowsText(SplitDescriptionParagraphs(text, limit));
        std::size_t same = 0;
        while (same < got.size() && same < wanted.size() && got[same] == wanted[same])
            ++same;
        return same == got.size() && same == wanted.size() ? std::string::npos : same;
    };
    std::vector<std::size_t> choice(read.runs.size(), 0);
    for (std::size_t r = 0; r < read.runs.size(); ++r) {
        const std::size_t options = read.runs[r].lengths.size();
        std::size_t best = 0, bestAgreement = 0;
        for (std::size_t option = 0; option < options && options > 1; ++option) {
            choice[r] = option;
            const std::size_t agreed = agreement(ParagraphOfReading(read, choice, limit));
            if (agreed == std::string::npos) {
                paragraph = ParagraphOfReading(read, choice, limit);
                return true;
            }
            if (option == 0 || agreed > bestAgreement) {
                best = option;
                bestAgreement = agreed;
            }
        }
        choice[r] = best;
    }
    paragraph = ParagraphOfReading(read, choice, limit);
    return agreement(paragraph) == std::string::npos;
}

// A paragraph text whose cutting gives these rows. Each run of line feeds in the rows may stand
// for more than one run of the paragraph: few readings are all tried, many are read back run by
// run.
bool RestoreParagraph(const std::vector<std::string>& rows, std::size_t limit, std::string& paragraph)
{
    const ParagraphRows read = ReadParagraphRows(rows);
    if (ReadingCount(read) <= MaxReadingsTriedWhole && TryEveryReading(read, rows, limit, paragraph))
        return true;
    return ReadRunByRun(read, rows, limit, paragraph);
}

// The text of one paragraph whose cutting gives these rows, when one is found.
bool JoinParagraphRows(const std::vector<std::string>& rows, std::size_t limit, std::string& paragraph)
{
    if (rows.size() == 1) {
        paragraph = rows[0];
        return SplitDescriptionParagraphs(paragraph, limit) == rows;
    }
    for (bool blankLinePieces : { true, false }) {
        paragraph = UndoParagraphCuts(rows, blankLinePieces, limit);
        if (SplitDescriptionParagraphs(paragraph, limit) == rows)
            return true;
    }
    return RestoreParagraph(rows, limit, paragraph);
}

// The rows read back paragraph by paragraph from the first on. A row that opens with a section
// number may begin a paragraph or merely a line of one ("\n\n\n5. " is no boundary): each such
// row is tried as the next paragraph's first, nearest first, and taken where the text so far
// splits into the rows so far. Empty when no reading is found.
std::string JoinParagraphByParagraph(const std::vector<std::string>& chunks, std::size_t limit)
{
    std::string text;
    std::size_t first = 0;
    if (chunks.size() > 500)
        return text;  // the reading splits the text so far at every step
    while (first < chunks.size()) {
        bool found = false;
        std::size_t tried = 0;
        for (std::size_t end = first + 1; end <= chunks.size() && !found && tried < 8; ++end) {
            if (end < chunks.size() && !StartsWithSectionNumber(chunks[end]))
                continue;
            ++tried;
            const std::vector<std::string> rows(chunks.begin() + first, chunks.begin() + end);
            std::string paragraph;
            if (!JoinParagraphRows(rows, limit, paragraph))
                continue;
            const std::string candidate = first > 0 ? text + "\n\n" + paragraph : paragraph;
            if (SplitDescriptionParagraphs(candidate, limit)
                == std::vector<std::string>(chunks.begin(), chunks.begin() + end)) {
                text = candidate;
                first = end;
                found = true;
            }
        }
        if (!found)
            return std::string();
    }
    return text;
}

// keepNumberedLines: a row that opens with a section number but follows a row ending in a line
// feed may be a line of the same paragraph that merely starts with a number ("3 pieces ...").
std::string JoinDescriptionChunks(const std::vector<std::string>& chunks, std::size_t limit, bool keepNumberedLines)
{
    std::string text;
    std::size_t first = 0;
    while (first < chunks.size()) {
        // The rows of one paragraph: up to the next row that opens a numbered section, also
        // one whose section number was cut after its ". ".
        std::size_t end = first + 1;
        while (end < chunks.size() && !StartsWithSectionNumber(chunks[end])
            && !StartsWithSectionNumber(UndoParagraphCuts({ chunks[end] }, true, 0)))
            ++end;
        while (keepNumberedLines && end < chunks.size() && !chunks[end - 1].empty()
            && chunks[end - 1].back() == '\n') {
            ++end;
            while (end < chunks.size() && !StartsWithSectionNumber(chunks[end]))
                ++end;
        }
        const std::vector<std::string> rows(chunks.begin() + first, chunks.begin() + end);
        std::string paragraph;
        if (!JoinParagraphRows(rows, limit, paragraph)) {
            paragraph.clear();
            for (std::size_t i = 0; i < rows.size(); ++i)
                paragraph += (i > 0 ? "\n" : "") + rows[i];
        }
        if (first > 0)
            text += "\n\n";
        text += paragraph;
        first = end;
    }
    return text;
}
}  // namespace

std::string JoinDescriptionChunks(const std::vector<std::string>& chunks, std::size_t limit)
{
    std::string text = JoinDescriptionChunks(chunks, limit, false);
    if (SplitDescriptionParagraphs(text, limit) == chunks)
        return text;
    const std::string read = JoinParagraphByParagraph(chunks, limit);
    if (!read.empty() && SplitDescriptionParagraphs(read, limit) == chunks)
        return read;
    std::string kept = JoinDescriptionChunks(chunks, limit, true);
    return SplitDescriptionParagraphs(kept, limit) == chunks ? kept : text;
}

std::string ValidUtf8(const std::string& text)
{
    static const char replacement[] = "\xEF\xBF\xBD";
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        std::uint32_t code = 0;
        if (c < 0x80) {
            out += text[i++];
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            code = c & 0x07;
        }
        bool valid = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                valid = false;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points beyond Unicode are not characters.
        if (valid
            && ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF))
                || (code >= 0xD800 && code <= 0xDFFF)))
            valid = false;
        if (!valid) {
            out += replacement;
            ++i;
            continue;
        }
        // U+FFFE and U+FFFF are characters, but no XML part may hold them.
        if (code == 0xFFFE || code == 0xFFFF)
            out += replacement;
        else
            out.append(text, i, length);
        i += length;
    }
    return out;
}

std::string EscapeCellText(const std::string& text)
{
    if (text.find("_x") == std::string::npos)
        return text;
    std::string out;
    out.reserve(text.size() + 12);
    for (std::size_t i = 0; i < text.size(); ++i) {
        bool escaped = text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && text[i + 6] == '_';
        for (std::size_t k = 2; escaped && k < 6; ++k)
            escaped = std::isxdigit(static_cast<unsigned char>(text[i + k])) != 0;
        out += escaped ? std::string("_x005F_") : std::string(1, text[i]);
    }
    return out;
}
