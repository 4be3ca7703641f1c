#pragma once
#include <cstdarg>
#include <functional>
#include <string>

#include "GSRoot/Definitions.hpp"

namespace GS {

// Text of the host: UTF-16 inside; converted to and from UTF-8 at the edges.
class UniString {
public:
    // Holds a converted narrow copy; valid as long as the holder lives.
    class CStr {
    public:
        explicit CStr(std::string s) : text(std::move(s)) {}
        const char* Get() const { return text.c_str(); }
        operator const char*() const { return text.c_str(); }
        const std::string& Str() const { return text; }
    private:
        std::string text;
    };

    UniString() = default;
    UniString(const char* text, GSCharCode cc = CC_Default);
    UniString(const std::string& text, GSCharCode cc = CC_Default);
    UniString(const char16_t* text);
    explicit UniString(std::u16string text) : data(std::move(text)) {}

    CStr ToCStr(GSCharCode cc = CC_Default) const { (void)cc; return CStr(ToUtf8()); }
    std::string ToUtf8() const;
    const std::u16string& ToU16() const { return data; }

    USize GetLength() const { return static_cast<USize>(data.size()); }
    bool IsEmpty() const { return data.empty(); }
    void Clear() { data.clear(); }
    char16_t operator[](UIndex i) const { return data.at(i); }
    char16_t& operator[](UIndex i) { return data.at(i); }

    UniString GetSubstring(UIndex from, USize length) const;
    UniString GetPrefix(USize length) const { return GetSubstring(0, length); }
    UniString GetSuffix(USize length) const;
    UIndex FindFirst(const UniString& what, UIndex from = 0) const;
    UIndex FindLast(const UniString& what) const;
    UIndex Find(const UniString& what, UIndex from = 0) const { return FindFirst(what, from); }
    bool Contains(const UniString& what) const { return FindFirst(what) != MaxUIndex; }
    bool Contains(char16_t c) const { return data.find(c) != std::u16string::npos; }
    bool BeginsWith(const UniString& what) const;
    bool EndsWith(const UniString& what) const;
    USize ReplaceAll(const UniString& from, const UniString& to);
    UniString& Append(const UniString& other) { data += other.data; return *this; }
    UniString& Append(char16_t c) { data += c; return *this; }
    void Insert(UIndex at, const UniString& what) { data.insert(at, what.data); }
    void Delete(UIndex from, USize length) { data.erase(from, length); }
    void Truncate(USize length) { if (length < data.size()) data.resize(length); }
    void Trim();

    UniString ToLowerCase() const;
    UniString ToUpperCase() const;
    bool IsEqual(const UniString& other, bool ignoreCase = false) const;
    int Compare(const UniString& other) const { return data.compare(other.data); }

    UniString& operator+=(const UniString& other) { return Append(other); }
    UniString& operator+=(char16_t c) { return Append(c); }
    friend UniString operator+(UniString a, const UniString& b) { a += b; return a; }
    friend UniString operator+(UniString a, const char* b) { a += UniString(b); return a; }
    bool operator==(const UniString& o) const { return data == o.data; }
    bool operator!=(const UniString& o) const { return data != o.data; }
    bool operator<(const UniString& o) const { return data < o.data; }
    bool operator==(const char* o) const { return *this == UniString(o); }
    bool operator!=(const char* o) const { return !(*this == UniString(o)); }

    // printf-style; the format and %s arguments are UTF-8.
    static UniString Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
    static UniString VPrintf(const char* format, va_list args);

    UInt32 GenerateHashValue() const;

private:
    std::u16string data;
};

// Decodes UTF-8; invalid sequences become U+FFFD, never an exception.
std::u16string Utf8ToUtf16(const char* text, std::size_t length);
std::string Utf16ToUtf8(const std::u16string& text);

}  // namespace GS

namespace std {
template <>
struct hash<GS::UniString> {
    size_t operator()(const GS::UniString& s) const { return hash<u16string>()(s.ToU16()); }
};
}  // namespace std
