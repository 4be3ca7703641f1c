#include "Dialogs/ArgumentPickers.hpp"

#include "Dialogs/CompositeSkinSelectDialog.hpp"
#include "Dialogs/ObjectParameterSelectDialog.hpp"
#include "Dialogs/ProfileRegionSelectDialog.hpp"
#include "Dialogs/PropertySelectDialog.hpp"
#include "HostApi/Guard.hpp"

namespace {
enum class Picker { None, CompositeSkin, ProfileRegion, ObjectParameter, Property };

Picker PickerOf(const GS::UniString& entry)
{
    if (entry == "SkinVolume()" || entry == "SkinArea()")
        return Picker::CompositeSkin;
    if (entry == "ProfileRegionVolume()" || entry == "ProfileRegionArea()")
        return Picker::ProfileRegion;
    if (entry == "Parameter()")
        return Picker::ObjectParameter;
    if (entry == "Property()")
        return Picker::Property;
    return Picker::None;
}

template <typename Dialog>
bool Run(const API_Element& element, GS::UniString* name)
{
    Dialog dialog(element);
    if (dialog.GetId() == 0 || dialog.Invoke() != DG::Accept)
        return false;
    *name = dialog.GetSelectedName();
    return true;
}
}  // namespace

bool IsPickerEntry(const GS::UniString& entry)
{
    return PickerOf(entry) != Picker::None;
}

bool RunArgumentPicker(const GS::UniString& entry, const API_Element& element, GS::UniString* name)
{
    GS::UniString picked;
    bool confirmed = false;
    Guarded("RunArgumentPicker", [&] {
        switch (PickerOf(entry)) {
            case Picker::CompositeSkin: confirmed = Run<CompositeSkinSelectDialog>(element, &picked); break;
            case Picker::ProfileRegion: confirmed = Run<ProfileRegionSelectDialog>(element, &picked); break;
            case Picker::ObjectParameter: confirmed = Run<ObjectParameterSelectDialog>(element, &picked); break;
            case Picker::Property: confirmed = Run<PropertySelectDialog>(element, &picked); break;
            case Picker::None: break;
        }
    });
    if (name != nullptr)
        *name = confirmed ? picked : GS::UniString();
    return confirmed;
}
