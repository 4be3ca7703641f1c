#pragma once
#include "Dialogs/ArgumentPickerDialog.hpp"
#include "ResourceNames.hpp"

// Picks one of the element's numeric library-part parameters (Parameter).
class ObjectParameterSelectDialog : public ArgumentPickerDialog {
public:
    static constexpr GS::Int16 ResourceId = ObjectParameterSelectDialogItems::ResourceId;
    explicit ObjectParameterSelectDialog(const API_Element& element);

protected:
    void FillList() override;
    void PanelOpened(const DG::PanelOpenEvent& ev) override;
};
