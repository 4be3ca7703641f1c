#include "Dialogs/CompositeSkinSelectDialog.hpp"

#include "HostApi/HostHandles.hpp"

namespace {
namespace Items = CompositeSkinSelectDialogItems;
namespace Texts = CompositeSkinSelectDialogStrings;

GS::Int32 CompositeIndex(const API_Element& element)
{
    switch (element.header.typeID) {
        case API_WallID: return element.wall.composite;
        case API_SlabID: return element.slab.composite;
        case API_RoofID: return element.roof.composite;
        default: return 0;
    }
}

// Skin i of the composite's definition, read afresh; false when it cannot be read.
bool ReadSkin(GS::Int32 composite, GS::Int32 i, HostCompositeSkin* skin)
{
    const HeldAttributeDef def(HostAttr_Composite, composite);
    if (!def || i >= HandleRecords(def->skins))
        return false;
    *skin = (*def->skins)[i];
    return true;
}
}  // namespace

CompositeSkinSelectDialog::CompositeSkinSelectDialog(const API_Element& element)
    : MaterialPickerDialog(ResourceId, {Items::SelectButton, Items::CancelButton, Items::ChoicesList}, element,
                           {{50, false, Texts::SwatchHeader},
                            {121, true, Texts::NameHeader},
                            {70, false, Texts::ThicknessHeader},
                            {0, false, Texts::IndexHeader}},
                           IndexColumn)
{
    Setup(SwatchColumn);
}

void CompositeSkinSelectDialog::FillList()
{
    ClearRows();
    ForgetListedNames();
    const GS::Int32 composite = CompositeIndex(element);
    for (GS::Int32 i = 0;; ++i) {
        HostAttribute attribute{};
        attribute.header.typeID = HostAttr_Composite;
        attribute.header.index = composite;
        const GS::Int32 skinCount = HostGetAttribute(&attribute) == NoError ? attribute.composite.nComps : 0;
        if (i >= skinCount)
            break;
        HostCompositeSkin skin{};
        if (!ReadSkin(composite, i, &skin))
            continue;
        AddMaterialRow(skin.buildingMaterial, GS::UniString::Printf("%.2f", skin.thickness), true);
    }
    list.SelectItem(1);
}
