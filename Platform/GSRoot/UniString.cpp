#include "GSRoot/UniString.hpp"

#include <cstdio>
#include <cstring>
#include <vector>

namespace GS {

namespace {
constexpr char16_t kReplacement = 0xFFFD;

void AppendCodePoint(std::u16string& out, char32_t cp)
{
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
        out += static_cast<char16_t>(cp);
    }
}

char16_t FoldCase(char16_t c, bool upper)
{
    if (upper) {
        if (c >= u'a' && c <= u'z') return c - 32;
        if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) return c - 32;
        if (c >= 0x100 && c < 0x180 && (c & 1)) return c - 1;  // Latin Extended-A pairs
        if (c >= 0x430 && c <= 0x44F) return c - 32;            // Cyrillic
    } else {
        if (c >= u'A' && c <= u'Z') return c + 32;
        if ((c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
        if (c >= 0x100 && c < 0x180 && !(c & 1)) return c + 1;
        if (c >= 0x410 && c <= 0x42F) return c + 32;
    }
    return c;
}
}  // namespace

std::u16string Utf8ToUtf16(const char* text, std::size_t length)
{
    std::u16string out;
    out.reserve(length);
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    std::size_t i = 0;
    while (i < length) {
        unsigned char b = s[i];
        if (b < 0x80) {
            out += static_cast<char16_t>(b);
            ++i;
            continue;
        }
        int extra;
        char32_t cp;
        char32_t minimum;
        if (b >= 0xC2 && b <= 0xDF) { extra = 1; cp = b & 0x1F; minimum = 0x80; }
        else if (b >= 0xE0 && b <= 0xEF) { extra = 2; cp = b & 0x0F; minimum = 0x800; }
        else if (b >= 0xF0 && b <= 0xF4) { extra = 3; cp = b & 0x07; minimum = 0x10000; }
        else { out += kReplacement; ++i; continue; }
        int got = 0;
        while (got < extra && i + 1 + got < length && (s[i + 1 + got] & 0xC0) == 0x80) {
            cp = (cp << 6) | (s[i + 1 + got] & 0x3F);
            ++got;
        }
        if (got < extra || cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out += kReplacement;
            i += 1 + got;
            continue;
        }
        AppendCodePoint(out, cp);
        i += 1 + extra;
    }
    return out;
}

std::string Utf16ToUtf8(const std::u16string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

UniString::UniString(const char* text, GSCharCode)
{
    if (text != nullptr)
        data = Utf8ToUtf16(text, std::strlen(text));
}

UniString::UniString(const std::string& text, GSCharCode) : data(Utf8ToUtf16(text.data(), text.size())) {}

UniString::UniString(const char16_t* text)
{
    if (text != nullptr)
        data = text;
}

std::string UniString::ToUtf8() const { return Utf16ToUtf8(data); }

UniString UniString::GetSubstring(UIndex from, USize length) const
{
    if (from >= data.size())
        return UniString();
    return UniString(data.substr(from, length));
}

UniString UniString::GetSuffix(USize length) const
{
    if (length >= data.size())
        return *this;
    return UniString(data.substr(data.size() - length));
}

UIndex UniString::FindFirst(const UniString& what, UIndex from) const
{
    if (from > data.size())
        return MaxUIndex;
    auto pos = data.find(what.data, from);
    return pos == std::u16string::npos ? MaxUIndex : static_cast<UIndex>(pos);
}

UIndex UniString::FindLast(const UniString& what) const
{
    auto pos = data.rfind(what.data);
    return pos == std::u16string::npos ? MaxUIndex : static_cast<UIndex>(pos);
}

bool UniString::BeginsWith(const UniString& what) const
{
    return data.size() >= what.data.size() && data.compare(0, what.data.size(), what.data) == 0;
}

bool UniString::EndsWith(const UniString& what) const
{
    return data.size() >= what.data.size() &&
           data.compare(data.size() - what.data.size(), what.data.size(), what.data) == 0;
}

USize UniString::ReplaceAll(const UniString& from, const UniString& to)
{
    if (from.data.empty())
        return 0;
    USize count = 0;
    std::size_t pos = 0;
    while ((pos = data.find(from.data, pos)) != std::u16string::npos) {
        data.replace(pos, from.data.size(), to.data);
        pos += to.data.size();
        ++count;
    }
    return count;
}

void UniString::Trim()
{
    auto isSpace = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    std::size_t b = 0;
    while (b < data.size() && isSpace(data[b]))
        ++b;
    std::size_t e = data.size();
    while (e > b && isSpace(data[e - 1]))
        --e;
    data = data.substr(b, e - b);
}

UniString UniString::ToLowerCase() const
{
    std::u16string out = data;
    for (auto& c : out)
        c = FoldCase(c, false);
    return UniString(out);
}

UniString UniString::ToUpperCase() const
{
    std::u16string out = data;
    for (auto& c : out)
        c = FoldCase(c, true);
    return UniString(out);
}

bool UniString::IsEqual(const UniString& other, bool ignoreCase) const
{
    if (!ignoreCase)
        return data == other.data;
    if (data.size() != other.data.size())
        return false;
    for (std::size_t i = 0; i < data.size(); ++i)
        if (FoldCase(data[i], false) != FoldCase(other.data[i], false))
            return false;
    return true;
}

UniString UniString::VPrintf(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n <= 0)
        return UniString();
    std::vector<char> buffer(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), format, args);
    return UniString(std::string(buffer.data(), static_cast<std::size_t>(n)));
}

UniString UniString::Printf(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    UniString result = VPrintf(format, args);
    va_end(args);
    return result;
}

UInt32 UniString::GenerateHashValue() const
{
    UInt32 h = 2166136261u;  // FNV-1a over the code units
    for (char16_t c : data) {
        h = (h ^ (c & 0xFF)) * 16777619u;
        h = (h ^ (c >> 8)) * 16777619u;
    }
    return h;
}

}  // namespace GS
