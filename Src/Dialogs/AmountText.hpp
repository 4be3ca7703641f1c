#pragma once
#include <string>

#include "GSRoot/UniString.hpp"

// An amount as shown to the user: two decimals with the user's decimal separator, at most 29
// characters. The process locale is the same after the call as before it.
GS::UniString FormatTwoDecimals(double value);

// The same texts for a whole list: the user's locale is read once, when the format is made, so
// filling thousands of cells does not switch the process locale for each of them. Make one per fill.
class AmountFormat {
public:
    AmountFormat();
    GS::UniString Text(double value) const;

private:
    std::string decimalPoint;
};
