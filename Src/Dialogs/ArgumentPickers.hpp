#pragma once
// The seam between the formula editors and the dialogs that pick a function's text argument from
// the element's own data (skins, profile regions, object parameters, properties).
#include "API/ApiElements.hpp"
#include "GSRoot/UniString.hpp"

// True for the function-menu entries that open a picker ("SkinVolume()", "SkinArea()", "Parameter()", "Property()", "ProfileRegionVolume()", "ProfileRegionArea()").
bool IsPickerEntry(const GS::UniString& entry);
// Runs the entry's picker on the element; true with the picked name when the user confirmed.
bool RunArgumentPicker(const GS::UniString& entry, const API_Element& element, GS::UniString* name);
