#pragma once

// Text rules shared by the workbook export and import: how a category's description is cut
// into rows, and how a category's title becomes a worksheet name. All texts are UTF-8;
// lengths and limits count bytes, except the character limits of names.

#include <cstddef>
#include <string>
#include <vector>

// True when the text begins with a section number ("1.", "2.3", "10.2.1.", "12") followed by
// one blank and a non-blank.
bool StartsWithSectionNumber(const std::string& text);

// Pieces of the text, each ending just after an occurrence of the delimiter (less the
// delimiter's trailing blanks); the rest after the last occurrence is the last piece.
std::vector<std::string> SplitAfterDelimiter(const std::string& text, const std::string& delimiter);

// Chunks of at most limit bytes where the text allows it: a new chunk at each numbered
// section, long paragraphs cut at the most natural separator, small pieces joined again.
// Never empty.
std::vector<std::string> SplitDescriptionParagraphs(const std::string& text, std::size_t limit);

// The longest prefix of at most maximum characters that ends on a character boundary.
std::string TruncateUtf8(const std::string& text, std::size_t maximum);

// The worksheet name of a category with this title: at most 31 characters (as a spreadsheet
// application counts them), none of the characters a sheet name cannot hold, no apostrophe at
// either end, never empty. The export names sheets by it and the import finds them by it.
std::string CategorySheetName(const std::string& title);

// A sheet name as it stands in a formula's cross-sheet reference: in apostrophes, with
// apostrophes inside doubled.
std::string QuotedSheetName(const std::string& sheetName);

// The description rows of a category sheet joined back into one text, so that splitting it
// with the same limit gives the same rows again: a row that opens a numbered section follows
// after an empty line; the rows of a paragraph that was cut are put together again without
// the line feeds the cutting added. Where no such text can be found, the rows follow each
// other on the next line.
std::string JoinDescriptionChunks(const std::vector<std::string>& chunks, std::size_t limit);

// The text with every byte sequence that is no UTF-8 character replaced by U+FFFD, so it can
// go into the workbook's XML.
std::string ValidUtf8(const std::string& text);

// A cell text as the workbook stores it: a literal "_xHHHH_" in the text would be read as an
// escaped character, so its "_" is escaped itself ("_x005F_").
std::string EscapeCellText(const std::string& text);
