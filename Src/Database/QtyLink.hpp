#pragma once
#include "GSRoot/UniString.hpp"

// Reads the element with the given guid text and gives the text form of its parent's guid.
// False when the element cannot be read.
bool ReadParentGuid(const GS::UniString& guidText, GS::UniString* parentGuid);
