// Until the picker dialogs are in, a picker entry is recognised but picks nothing, so choosing it
// leaves the formula as it was.
#include "Dialogs/ArgumentPickers.hpp"

bool IsPickerEntry(const GS::UniString& entry)
{
    static const char* const pickerEntries[] = {"SkinVolume()", "SkinArea()",          "Parameter()",
                                                "Property()",   "ProfileRegionVolume()", "ProfileRegionArea()"};
    for (const char* picker : pickerEntries) {
        if (entry == picker)
            return true;
    }
    return false;
}

bool RunArgumentPicker(const GS::UniString& /*entry*/, const API_Element& /*element*/, GS::UniString* name)
{
    if (name != nullptr)
        name->Clear();
    return false;
}
