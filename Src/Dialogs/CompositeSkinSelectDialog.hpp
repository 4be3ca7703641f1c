#pragma once
#include "Dialogs/ArgumentPickerDialog.hpp"

// Picks the building material of one of the element's composite skins (SkinVolume, SkinArea).
class CompositeSkinSelectDialog : public MaterialPickerDialog {
public:
    static constexpr GS::Int16 ResourceId = 32524;
    explicit CompositeSkinSelectDialog(const API_Element& element);

protected:
    void FillList() override;
};
