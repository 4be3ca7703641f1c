#include "Exchange/WorkbookReader.hpp"

#include "Exchange/SheetText.hpp"

#include <pugixml.hpp>
#include <unzip.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <unordered_map>
#include <utility>

namespace Xlsx {

IWorksheet::~IWorksheet() = default;
IWorkbook::~IWorkbook() = default;

namespace {

constexpr std::uint32_t MaxRow = 1048576;
constexpr std::uint32_t MaxColumn = 16384;

std::string ToLowerAscii(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool EndsWith(const std::string& text, const char* suffix)
{
    const std::size_t n = std::strlen(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

// ---------------------------------------------------------------- package

class ZipPackage {
public:
    ZipPackage(const std::string& path, const ReaderLimits& limits)
        : limits(limits)
    {
        file = unzOpen64(path.c_str());
        if (file == nullptr)
            throw WorkbookError("The file is not a ZIP package: " + path);
        // Closed also when the constructor throws below.
        owner.reset(file);

        int status = unzGoToFirstFile(file);
        while (status == UNZ_OK) {
            if (entries.size() >= limits.maxEntries)
                throw WorkbookError("The package holds too many entries.");
            unz_file_info64 info;
            char name[1024];
            if (unzGetCurrentFileInfo64(file, &info, name, sizeof(name), nullptr, 0, nullptr, 0) != UNZ_OK)
                throw WorkbookError("The package directory is damaged.");
            if (info.size_filename < sizeof(name)) {
                std::string key = ToLowerAscii(name);
                if (!key.empty() && key[0] == '/')
                    key.erase(0, 1);
                unz64_file_pos pos;
                if (unzGetFilePos64(file, &pos) != UNZ_OK)
                    throw WorkbookError("The package directory is damaged.");
                // A second entry of the same name would make the content ambiguous.
                if (!entries.emplace(std::move(key), pos).second)
                    throw WorkbookError(std::string("The package holds the entry twice: ") + name);
            }
            status = unzGoToNextFile(file);
        }
        if (status != UNZ_END_OF_LIST_OF_FILE)
            throw WorkbookError("The package directory is damaged.");
    }

    ZipPackage(const ZipPackage&) = delete;
    ZipPackage& operator=(const ZipPackage&) = delete;

    bool Contains(const std::string& name) const { return entries.find(ToLowerAscii(name)) != entries.end(); }

    std::string Read(const std::string& name)
    {
        auto it = entries.find(ToLowerAscii(name));
        if (it == entries.end())
            throw WorkbookError("The package has no part " + name + ".");
        if (unzGoToFilePos64(file, &it->second) != UNZ_OK || unzOpenCurrentFile(file) != UNZ_OK)
            throw WorkbookError("The part " + name + " cannot be read.");

        std::string data;
        char buffer[65536];
        for (;;) {
            const int got = unzReadCurrentFile(file, buffer, sizeof(buffer));
            if (got < 0) {
                unzCloseCurrentFile(file);
                throw WorkbookError("The part " + name + " is damaged.");
            }
            if (got == 0)
                break;
            // Checked while inflating: the sizes in the directory cannot be trusted.
            if (data.size() + static_cast<std::size_t>(got) > limits.maxEntryBytes
                || totalBytes + static_cast<std::size_t>(got) > limits.maxTotalBytes) {
                unzCloseCurrentFile(file);
                throw WorkbookError("The part " + name + " inflates beyond the size limit.");
            }
            data.append(buffer, static_cast<std::size_t>(got));
            totalBytes += static_cast<std::size_t>(got);
        }
        if (unzCloseCurrentFile(file) != UNZ_OK)
            throw WorkbookError("The part " + name + " fails its checksum.");
        return data;
    }

private:
    struct Closer {
        void operator()(void* handle) const { unzClose(handle); }
    };
    unzFile file = nullptr;
    std::unique_ptr<void, Closer> owner;
    ReaderLimits limits;
    std::size_t totalBytes = 0;
    std::unordered_map<std::string, unz64_file_pos> entries;
};

// ---------------------------------------------------------------- XML helpers

const char* LocalName(const pugi::xml_node& node)
{
    const char* name = node.name();
    const char* colon = std::strrchr(name, ':');
    return colon != nullptr ? colon + 1 : name;
}

bool IsNamed(const pugi::xml_node& node, const char* localName)
{
    return node.type() == pugi::node_element && std::strcmp(LocalName(node), localName) == 0;
}

pugi::xml_node Child(const pugi::xml_node& parent, const char* localName)
{
    for (pugi::xml_node child : parent.children()) {
        if (IsNamed(child, localName))
            return child;
    }
    return pugi::xml_node();
}

// The relationship id of a sheet is a prefixed attribute ("r:id"); the prefix is the producer's choice.
const char* PrefixedIdAttribute(const pugi::xml_node& node)
{
    for (pugi::xml_attribute attr : node.attributes()) {
        const char* name = attr.name();
        const char* colon = std::strrchr(name, ':');
        if (colon != nullptr && std::strcmp(colon + 1, "id") == 0)
            return attr.value();
    }
    return "";
}

void LoadXml(pugi::xml_document& doc, const std::string& data, const std::string& partName)
{
    // No entity is ever expanded beyond the predefined ones; a DTD is refused outright,
    // since no workbook part may carry one.
    const unsigned options = pugi::parse_default | pugi::parse_doctype | pugi::parse_ws_pcdata_single;
    pugi::xml_parse_result result = doc.load_buffer(data.data(), data.size(), options, pugi::encoding_auto);
    if (!result)
        throw WorkbookError("The part " + partName + " is not well-formed XML: " + result.description());
    for (pugi::xml_node child : doc.children()) {
        if (child.type() == pugi::node_doctype)
            throw WorkbookError("The part " + partName + " carries a document type declaration.");
    }
    if (!doc.document_element())
        throw WorkbookError("The part " + partName + " has no root element.");
}

std::string NodeText(const pugi::xml_node& node)
{
    std::string text;
    for (pugi::xml_node child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            text += child.value();
    }
    return text;
}

void AppendUtf8(std::string& out, std::uint32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Producers write characters that XML cannot hold as "_xHHHH_" (and a literal "_x" as "_x005F_x").
std::string UnescapeXString(const std::string& text)
{
    if (text.find("_x") == std::string::npos)
        return text;
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '_' && i + 6 < text.size() && text[i + 1] == 'x' && text[i + 6] == '_') {
            std::uint32_t code = 0;
            bool hex = true;
            for (std::size_t k = 2; k < 6; ++k) {
                const int d = HexDigit(text[i + k]);
                if (d < 0) {
                    hex = false;
                    break;
                }
                code = code * 16 + static_cast<std::uint32_t>(d);
            }
            if (hex && (code < 0xD800 || code > 0xDFFF)) {
                AppendUtf8(out, code);
                i += 7;
                continue;
            }
        }
        out += text[i++];
    }
    return out;
}

// Text of a shared-string item or an inline string: its plain text, or its rich-text runs
// joined; phonetic hints are not part of the text.
std::string StringItemText(const pugi::xml_node& item)
{
    std::string text;
    for (pugi::xml_node child : item.children()) {
        if (IsNamed(child, "t")) {
            text += NodeText(child);
        } else if (IsNamed(child, "r")) {
            pugi::xml_node t = Child(child, "t");
            if (t)
                text += NodeText(t);
        }
    }
    return UnescapeXString(text);
}

std::string Trim(const std::string& text)
{
    std::size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t' || text[b] == '\n' || text[b] == '\r'))
        ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t' || text[e - 1] == '\n' || text[e - 1] == '\r'))
        --e;
    return text.substr(b, e - b);
}

// Numbers are read without the C library's locale: the file always uses "." for decimals.
bool ParseNumber(const std::string& raw, CellValue* value)
{
    const std::string text = Trim(raw);
    if (text.empty())
        return false;
    const char* first = text.data();
    const char* last = text.data() + text.size();

    bool integral = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!((c >= '0' && c <= '9') || (i == 0 && c == '-' && text.size() > 1))) {
            integral = false;
            break;
        }
    }
    if (integral) {
        std::int64_t n = 0;
        auto res = std::from_chars(first, last, n);
        if (res.ec == std::errc() && res.ptr == last) {
            value->type = CellType::Integer;
            value->integer = n;
            value->number = static_cast<double>(n);
            return true;
        }
        // Too many digits for 64 bits: still a valid number, kept as a double.
    }
    double d = 0.0;
    if (*first == '+')
        ++first;
    auto res = std::from_chars(first, last, d, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != last || !std::isfinite(d))
        return false;
    value->type = CellType::Number;
    value->number = d;
    return true;
}

std::uint64_t CellKey(std::uint32_t row, std::uint32_t column)
{
    return (static_cast<std::uint64_t>(row) << 16) | column;
}

bool ParseUnsigned(const char* text, std::uint32_t* out)
{
    const char* end = text + std::strlen(text);
    auto res = std::from_chars(text, end, *out);
    return res.ec == std::errc() && res.ptr == end && end != text;
}

std::string DirectoryOf(const std::string& partPath)
{
    const std::size_t slash = partPath.rfind('/');
    return slash == std::string::npos ? std::string() : partPath.substr(0, slash + 1);
}

std::string NormalizePath(const std::string& path)
{
    std::vector<std::string> segments;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string::npos)
            slash = path.size();
        const std::string segment = path.substr(start, slash - start);
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = slash + 1;
    }
    std::string result;
    for (const std::string& s : segments) {
        if (!result.empty())
            result += '/';
        result += s;
    }
    return result;
}

struct Relationship {
    std::string id;
    std::string type;
    std::string target; // resolved part name within the package
};

// Relationships of a part ("" for the package itself); an absent relationships part is empty.
std::vector<Relationship> ReadRelationships(ZipPackage& zip, const std::string& partPath)
{
    const std::string dir = DirectoryOf(partPath);
    const std::string file = partPath.substr(dir.size());
    const std::string relsPath = dir + "_rels/" + file + ".rels";
    std::vector<Relationship> rels;
    if (!zip.Contains(relsPath))
        return rels;

    pugi::xml_document doc;
    LoadXml(doc, zip.Read(relsPath), relsPath);
    for (pugi::xml_node node : doc.document_element().children()) {
        if (!IsNamed(node, "Relationship"))
            continue;
        if (std::strcmp(node.attribute("TargetMode").value(), "External") == 0)
            continue;
        Relationship rel;
        rel.id = node.attribute("Id").value();
        rel.type = node.attribute("Type").value();
        const std::string target = node.attribute("Target").value();
        rel.target = NormalizePath(!target.empty() && target[0] == '/' ? target : dir + target);
        rels.push_back(std::move(rel));
    }
    return rels;
}

// ---------------------------------------------------------------- workbook

class Worksheet : public IWorksheet {
public:
    explicit Worksheet(std::string name)
        : name(std::move(name))
    {
    }

    const std::string& GetName() const override { return name; }

    const Cell& GetCell(std::uint32_t row, std::uint32_t column) const override
    {
        auto it = cells.find(CellKey(row, column));
        return it == cells.end() ? emptyCell : it->second;
    }

    std::uint32_t GetLastRow() const override { return lastRow; }
    std::size_t GetCellCount() const override { return cells.size(); }
    const std::vector<std::uint32_t>& GetUsedRows() const override { return usedRows; }

    void Put(std::uint32_t row, std::uint32_t column, Cell&& cell)
    {
        cells[CellKey(row, column)] = std::move(cell);
        if (row > lastRow)
            lastRow = row;
        usedRows.push_back(row);
    }

    void Finish()
    {
        std::sort(usedRows.begin(), usedRows.end());
        usedRows.erase(std::unique(usedRows.begin(), usedRows.end()), usedRows.end());
    }

private:
    static const Cell emptyCell;
    std::string name;
    std::unordered_map<std::uint64_t, Cell> cells;
    std::uint32_t lastRow = 0;
    std::vector<std::uint32_t> usedRows;
};

const Cell Worksheet::emptyCell {};

class Workbook : public IWorkbook {
public:
    Workbook(const std::string& path, const ReaderLimits& limits)
        : limits(limits)
        , zip(path, limits)
    {
        std::string workbookPath;
        for (const Relationship& rel : ReadRelationships(zip, "")) {
            if (EndsWith(rel.type, "/officeDocument")) {
                workbookPath = rel.target;
                break;
            }
        }
        if (workbookPath.empty() || !zip.Contains(workbookPath))
            throw WorkbookError("The package holds no workbook.");

        pugi::xml_document doc;
        LoadXml(doc, zip.Read(workbookPath), workbookPath);
        const pugi::xml_node root = doc.document_element();
        if (!IsNamed(root, "workbook"))
            throw WorkbookError("The workbook part has no workbook element.");

        const std::vector<Relationship> rels = ReadRelationships(zip, workbookPath);
        std::string sharedStringsPath;
        for (const Relationship& rel : rels) {
            if (EndsWith(rel.type, "/sharedStrings"))
                sharedStringsPath = rel.target;
        }

        for (pugi::xml_node node : Child(root, "sheets").children()) {
            if (!IsNamed(node, "sheet"))
                continue;
            const std::string id = PrefixedIdAttribute(node);
            const Relationship* rel = nullptr;
            for (const Relationship& r : rels) {
                if (r.id == id) {
                    rel = &r;
                    break;
                }
            }
            if (rel == nullptr)
                throw WorkbookError("The workbook names a sheet that has no part.");
            if (!EndsWith(rel->type, "/worksheet"))
                continue; // chart sheets hold no cells
            if (sheets.size() >= limits.maxSheets)
                throw WorkbookError("The workbook holds too many sheets.");
            // Bytes that are no UTF-8 are replaced, as the import does with cell texts.
            sheets.push_back({ ValidUtf8(node.attribute("name").value()), rel->target, nullptr });
            sheetIndex.emplace(sheets.back().name, sheets.size() - 1);
        }

        if (!sharedStringsPath.empty())
            ReadSharedStrings(sharedStringsPath);
    }

    std::size_t GetSheetCount() const override { return sheets.size(); }

    const std::string& GetSheetName(std::size_t index) const override { return sheets.at(index).name; }

    const IWorksheet& GetSheet(std::size_t index) override
    {
        SheetEntry& entry = sheets.at(index);
        if (entry.sheet == nullptr)
            entry.sheet = ReadSheet(entry);
        return *entry.sheet;
    }

    const IWorksheet* FindSheet(const std::string& name) override
    {
        auto it = sheetIndex.find(name);
        return it == sheetIndex.end() ? nullptr : &GetSheet(it->second);
    }


private:
    struct SheetEntry {
        std::string name;
        std::string path;
        std::unique_ptr<Worksheet> sheet;
    };

    void ReadSharedStrings(const std::string& path)
    {
        if (!zip.Contains(path))
            throw WorkbookError("The package has no part " + path + ".");
        pugi::xml_document doc;
        LoadXml(doc, zip.Read(path), path);
        for (pugi::xml_node item : doc.document_element().children()) {
            if (!IsNamed(item, "si"))
                continue;
            if (sharedStrings.size() >= limits.maxSharedStrings)
                throw WorkbookError("The workbook holds too many shared strings.");
            sharedStrings.push_back(StringItemText(item));
        }
    }

    std::unique_ptr<Worksheet> ReadSheet(const SheetEntry& entry)
    {
        if (!zip.Contains(entry.path))
            throw WorkbookError("The package has no part " + entry.path + ".");
        pugi::xml_document doc;
        LoadXml(doc, zip.Read(entry.path), entry.path);
        auto sheet = std::make_unique<Worksheet>(entry.name);

        const pugi::xml_node sheetData = Child(doc.document_element(), "sheetData");
        std::uint32_t rowNumber = 0;
        for (pugi::xml_node rowNode : sheetData.children()) {
            if (!IsNamed(rowNode, "row"))
                continue;
            const pugi::xml_attribute rowAttr = rowNode.attribute("r");
            if (rowAttr) {
                if (!ParseUnsigned(rowAttr.value(), &rowNumber) || rowNumber == 0 || rowNumber > MaxRow)
                    throw WorkbookError("Sheet " + entry.name + " has a bad row number.");
            } else {
                ++rowNumber;
            }
            if (rowNumber > MaxRow)
                throw WorkbookError("Sheet " + entry.name + " has too many rows.");

            std::uint32_t column = 0;
            for (pugi::xml_node cellNode : rowNode.children()) {
                if (!IsNamed(cellNode, "c"))
                    continue;
                std::uint32_t row = rowNumber;
                const pugi::xml_attribute refAttr = cellNode.attribute("r");
                if (refAttr) {
                    if (!ParseCellReference(refAttr.value(), &row, &column))
                        throw WorkbookError("Sheet " + entry.name + " has a bad cell reference.");
                } else {
                    ++column;
                }
                if (column == 0 || column > MaxColumn)
                    throw WorkbookError("Sheet " + entry.name + " has too many columns.");

                Cell cell = ReadCell(cellNode, entry.name);
                if (cell.value.type == CellType::Empty && cell.formula.empty())
                    continue; // formatting only
                if (++cellCount > limits.maxCells)
                    throw WorkbookError("The workbook holds too many cells.");
                sheet->Put(row, column, std::move(cell));
            }
        }
        sheet->Finish();
        return sheet;
    }

    Cell ReadCell(const pugi::xml_node& node, const std::string& sheetName)
    {
        Cell cell;
        const pugi::xml_node f = Child(node, "f");
        if (f)
            cell.formula = NodeText(f);
        const pugi::xml_node v = Child(node, "v");
        const std::string type = node.attribute("t").value();
        CellValue& value = cell.value;

        if (type == "inlineStr") {
            const pugi::xml_node is = Child(node, "is");
            value.type = CellType::Text;
            value.text = is ? StringItemText(is) : UnescapeXString(NodeText(v));
            return cell;
        }
        if (!v)
            return cell;
        const std::string raw = NodeText(v);

        if (type == "s") {
            std::uint32_t index = 0;
            const std::string trimmed = Trim(raw);
            if (!ParseUnsigned(trimmed.c_str(), &index) || index >= sharedStrings.size())
                throw WorkbookError("Sheet " + sheetName + " refers to a shared string that does not exist.");
            value.type = CellType::Text;
            value.text = sharedStrings[index];
        } else if (type == "str" || type == "d") {
            value.type = CellType::Text;
            value.text = UnescapeXString(raw);
        } else if (type == "b") {
            const std::string trimmed = Trim(raw);
            value.type = CellType::Boolean;
            value.boolean = trimmed == "1" || trimmed == "true";
        } else if (type == "e") {
            value.type = CellType::Error;
            value.text = Trim(raw);
        } else if (type.empty() || type == "n") {
            if (!Trim(raw).empty() && !ParseNumber(raw, &value))
                throw WorkbookError("Sheet " + sheetName + " holds a malformed number.");
        } else {
            throw WorkbookError("Sheet " + sheetName + " holds a cell of unknown type \"" + type + "\".");
        }
        return cell;
    }

    ReaderLimits limits;
    ZipPackage zip;
    std::vector<SheetEntry> sheets;
    std::unordered_map<std::string, std::size_t> sheetIndex; // the first sheet of a name
    std::vector<std::string> sharedStrings;
    std::size_t cellCount = 0;
};

} // namespace

bool ParseCellReference(const std::string& reference, std::uint32_t* row, std::uint32_t* column)
{
    std::size_t i = 0;
    std::uint32_t col = 0;
    while (i < reference.size() && i < 3) {
        char c = reference[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c < 'A' || c > 'Z')
            break;
        col = col * 26 + static_cast<std::uint32_t>(c - 'A' + 1);
        ++i;
    }
    if (i == 0 || col > MaxColumn || i == reference.size())
        return false;
    std::uint32_t r = 0;
    if (!ParseUnsigned(reference.c_str() + i, &r) || r == 0 || r > MaxRow)
        return false;
    *row = r;
    *column = col;
    return true;
}

std::string ColumnName(std::uint32_t column)
{
    std::string name;
    while (column > 0) {
        const std::uint32_t rem = (column - 1) % 26;
        name.insert(name.begin(), static_cast<char>('A' + rem));
        column = (column - 1) / 26;
    }
    return name;
}

std::unique_ptr<IWorkbook> OpenWorkbook(const std::string& path, const ReaderLimits& limits)
{
    return std::make_unique<Workbook>(path, limits);
}

} // namespace Xlsx
