#pragma once
// What the stand-in libraries share among themselves (not for add-ons).
#include <locale>
#include <sstream>
#include <string>

namespace GS {
namespace Internal {

// A record kept for the whole process. Never freed: add-ons' static objects (palettes, file type
// managers) may still reach it from their destructors at exit, after ours have run. One type a record.
template <typename T>
T& Immortal()
{
    static T* record = new T;
    return *record;
}

// A text as the libraries' descriptions show it: in quotes, quote and backslash escaped, a line break
// as \n.
inline std::string QuoteText(const std::string& s)
{
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out + "\"";
}

// Locale-independent and short (12, 12.5, 0.333), to that many significant digits.
inline std::string FormatNumber(double v, int precision)
{
    std::ostringstream os;
    os.imbue(std::locale::classic());
    os.precision(precision);
    os << v;
    return os.str();
}

}  // namespace Internal
}  // namespace GS
