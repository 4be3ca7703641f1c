#include "Dialogs/ProfileRegionSelectDialog.hpp"

#include "HostApi/HostElementCalls.hpp"

namespace {
namespace Items = ProfileRegionSelectDialogItems;
namespace Texts = ProfileRegionSelectDialogStrings;

class HatchRowVisitor : public ProfileVectorImageVisitor {
public:
    explicit HatchRowVisitor(ProfileRegionSelectDialog& dialog) : dialog(dialog) {}
    void VisitHatchObject(const HatchObject& hatch) override { dialog.AddHatchRow(hatch); }

private:
    ProfileRegionSelectDialog& dialog;
};

// The profile of a profiled wall, or of a column's or beam's first segment when it is profiled.
GS::Int32 ProfileIndex(const API_Element& element)
{
    switch (element.header.typeID) {
        case API_WallID:
            return element.wall.modelElemStructureType == API_ProfileStructure ? element.wall.profileAttr : 0;
        case API_ColumnID:
        case API_BeamID: {
            const bool column = element.header.typeID == API_ColumnID;
            API_ElementMemo memo{};
            if (HostGetElementMemo(element.header.guid, &memo,
                                   column ? APIMemoMask_ColumnSegment : APIMemoMask_BeamSegment) != NoError)
                return 0;
            const API_SegmentType* first = column ? memo.columnSegments : memo.beamSegments;
            GS::Int32 profile = 0;
            if (first != nullptr && first->modelElemStructureType == API_ProfileStructure)
                profile = first->profileAttr;
            HostDisposeElementMemo(&memo);
            return profile;
        }
        default:
            return 0;
    }
}
}  // namespace

ProfileRegionSelectDialog::ProfileRegionSelectDialog(const API_Element& element)
    : MaterialPickerDialog(ResourceId, {Items::SelectButton, Items::CancelButton, Items::ChoicesList}, element,
                           {{50, false, Texts::SwatchHeader},
                            {51, true, Texts::NameHeader},
                            {0, false, Texts::IndexHeader}},
                           IndexColumn)
{
    Setup(SwatchColumn);
}

void ProfileRegionSelectDialog::AddHatchRow(const HatchObject& hatch)
{
    if (!hatch.IsBuildingMaterialHatch())
        return;
    AddMaterialRow(hatch.GetBuildMatIdx().ToGSAttributeIndex_Deprecated(), GS::UniString(), false);
}

void ProfileRegionSelectDialog::FillList()
{
    ClearRows();
    ForgetListedNames();
    const GS::Int32 profile = ProfileIndex(element);
    if (profile != 0) {
        HostAttributeDefExt defExt{};
        if (HostGetAttributeDefExt(HostAttr_Profile, profile, &defExt) == NoError) {
            if (defExt.profile_vectorImageItems != nullptr) {
                HatchRowVisitor visitor(*this);
                try {
                    ProfileVectorImageOperations().EnumerateHatchObjects(*defExt.profile_vectorImageItems, visitor);
                } catch (...) {
                    HostDisposeAttributeDefExt(&defExt);
                    throw;
                }
            }
            HostDisposeAttributeDefExt(&defExt);
        }
    }
    SelectFirstRow();
}
