#pragma once
#include "Dialogs/ArgumentPickerDialog.hpp"
#include "ResourceNames.hpp"

// Picks the building material of one of the element's profile regions (ProfileRegionVolume,
// ProfileRegionArea).
class ProfileRegionSelectDialog : public MaterialPickerDialog {
public:
    static constexpr GS::Int16 ResourceId = ProfileRegionSelectDialogItems::ResourceId;
    explicit ProfileRegionSelectDialog(const API_Element& element);

    // A row for a building-material hatch of the profile image.
    void AddHatchRow(const HatchObject& hatch);

protected:
    enum Column : GS::Int16 { IndexColumn = NameColumn + 1 };

    void FillList() override;
};
