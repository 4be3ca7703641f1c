#pragma once
#include "GSRoot/UniString.hpp"

// An amount as shown to the user: two decimals with the user's decimal separator, at most 29
// characters. The process locale is the same after the call as before it.
GS::UniString FormatTwoDecimals(double value);
