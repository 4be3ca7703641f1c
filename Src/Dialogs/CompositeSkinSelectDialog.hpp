#pragma once
#include "Dialogs/ArgumentPickerDialog.hpp"
#include "ResourceNames.hpp"

// Picks the building material of one of the element's composite skins (SkinVolume, SkinArea).
class CompositeSkinSelectDialog : public MaterialPickerDialog {
public:
    static constexpr GS::Int16 ResourceId = CompositeSkinSelectDialogItems::ResourceId;
    explicit CompositeSkinSelectDialog(const API_Element& element);

protected:
    enum Column : GS::Int16 { ThicknessColumn = NameColumn + 1, IndexColumn };

    void FillList() override;
};
