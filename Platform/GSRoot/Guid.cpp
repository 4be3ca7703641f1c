#include "GSRoot/Guid.hpp"

#include <cctype>
#include <random>

namespace GS {

const Guid NULLGuid;

bool Guid::ConvertFromString(const char* text)
{
    bytes.fill(0);
    if (text == nullptr)
        return false;
    std::string s(text);
    if (s.size() == 38 && s.front() == '{' && s.back() == '}')
        s = s.substr(1, 36);
    if (s.size() != 36)
        return false;
    std::array<UInt8, 16> parsed{};
    int nibble = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (c != '-')
                return false;
            continue;
        }
        int v;
        if (c >= '0' && c <= '9') v = c - '0';
        else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
        else return false;
        parsed[nibble / 2] = static_cast<UInt8>(parsed[nibble / 2] | (nibble % 2 == 0 ? v << 4 : v));
        ++nibble;
    }
    bytes = parsed;
    return true;
}

UniString Guid::ToUniString() const
{
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            out += '-';
        out += hex[bytes[i] >> 4];
        out += hex[bytes[i] & 0xF];
    }
    return UniString(out);
}

bool Guid::IsNull() const
{
    for (auto b : bytes)
        if (b != 0)
            return false;
    return true;
}

Guid Guid::Generate()
{
    static std::mt19937_64 engine{std::random_device{}()};
    std::array<UInt8, 16> b;
    for (auto& x : b)
        x = static_cast<UInt8>(engine());
    b[6] = static_cast<UInt8>((b[6] & 0x0F) | 0x40);
    b[8] = static_cast<UInt8>((b[8] & 0x3F) | 0x80);
    return Guid(b);
}

}  // namespace GS
