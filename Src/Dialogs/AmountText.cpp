#include "Dialogs/AmountText.hpp"

#include <charconv>
#include <clocale>

GS::UniString FormatTwoDecimals(double value)
{
    return AmountFormat().Text(value);
}

AmountFormat::AmountFormat()
{
    // The whole name of the locale in force, whatever its length, so it can be put back exactly.
    const char* current = std::setlocale(LC_ALL, nullptr);
    const std::string saved = current != nullptr ? current : "C";
    // Where the user's locale cannot be set, the one in force stays, and so does its separator.
    std::setlocale(LC_ALL, "");
    decimalPoint = std::localeconv()->decimal_point;
    std::setlocale(LC_ALL, saved.c_str());
}

GS::UniString AmountFormat::Text(double value) const
{
    // "%.2f" in the user's locale differs from the C locale's only in the separator; digits,
    // rounding, sign, inf and nan are the same as printf's.
    char digits[400];  // the largest double has 309 digits before the point
    const std::to_chars_result written
        = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 2);
    std::string text(digits, written.ptr);
    const std::size_t point = text.find('.');
    if (point != std::string::npos)
        text.replace(point, 1, decimalPoint);
    if (text.size() > 29)  // as a 30-byte buffer cuts it
        text.resize(29);
    return GS::UniString(text.c_str(), CC_Default);
}
