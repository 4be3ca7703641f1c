#pragma once
#include <string>

#include "GSRoot/UniString.hpp"

// Text crosses to and from SQLite in the host's default character code.
inline std::string ToSqlText(const GS::UniString& text)
{
    return text.ToCStr(CC_Default).Str();
}

inline GS::UniString FromSqlText(const std::string& text)
{
    return GS::UniString(text, CC_Default);
}

namespace SQLite {
class Statement;
}

// Steps a one-value query once: its first column, 0 when no row comes back or the value is NULL.
GS::Int32 QueryFirstInt(SQLite::Statement& statement);
double QueryFirstDouble(SQLite::Statement& statement);

// Rounds to two decimals, halves away from zero, on the double itself.
double RoundToCents(double value);
