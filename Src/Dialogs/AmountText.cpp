#include "Dialogs/AmountText.hpp"

#include <clocale>
#include <cstdio>
#include <string>

GS::UniString FormatTwoDecimals(double value)
{
    // The whole name of the locale in force, whatever its length, so it can be put back exactly.
    const char* current = std::setlocale(LC_ALL, nullptr);
    const std::string saved = current != nullptr ? current : "C";
    std::setlocale(LC_ALL, "");
    char buffer[30];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);  // cut at 29 characters, never overflows
    std::setlocale(LC_ALL, saved.c_str());
    return GS::UniString(buffer, CC_Default);
}
