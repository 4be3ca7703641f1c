#pragma once
#include <array>
#include <cstring>
#include <functional>

#include "GSRoot/UniString.hpp"

namespace GS {

// 16 bytes in the order of the text form 8-4-4-4-12.
class Guid {
public:
    Guid() { bytes.fill(0); }
    explicit Guid(const char* text) { ConvertFromString(text); }
    explicit Guid(const UniString& text) { ConvertFromString(text); }
    explicit Guid(const std::array<UInt8, 16>& b) : bytes(b) {}

    // Parses 8-4-4-4-12 hex text, letter case ignored, optional braces; bad text gives the null guid.
    bool ConvertFromString(const char* text);
    bool ConvertFromString(const UniString& text) { return ConvertFromString(text.ToUtf8().c_str()); }
    UniString ToUniString() const;
    std::string ToString() const { return ToUniString().ToUtf8(); }

    bool IsNull() const;
    void SetNull() { bytes.fill(0); }
    static Guid Generate();

    const std::array<UInt8, 16>& Bytes() const { return bytes; }
    bool operator==(const Guid& o) const { return bytes == o.bytes; }
    bool operator!=(const Guid& o) const { return bytes != o.bytes; }
    bool operator<(const Guid& o) const { return bytes < o.bytes; }

private:
    std::array<UInt8, 16> bytes;
};

extern const Guid NULLGuid;

}  // namespace GS

namespace std {
template <>
struct hash<GS::Guid> {
    size_t operator()(const GS::Guid& g) const
    {
        size_t a, b;
        std::memcpy(&a, g.Bytes().data(), sizeof a);
        std::memcpy(&b, g.Bytes().data() + 8, sizeof b);
        return a ^ (b * 31);
    }
};
}  // namespace std
