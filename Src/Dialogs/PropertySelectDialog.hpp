#pragma once
#include "Dialogs/ArgumentPickerDialog.hpp"
#include "ResourceNames.hpp"

// Picks one of the element's numeric properties (Property).
class PropertySelectDialog : public ArgumentPickerDialog {
public:
    static constexpr GS::Int16 ResourceId = PropertySelectDialogItems::ResourceId;
    explicit PropertySelectDialog(const API_Element& element);

protected:
    void FillList() override;
};
