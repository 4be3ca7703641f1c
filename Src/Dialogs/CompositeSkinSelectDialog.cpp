#include "Dialogs/CompositeSkinSelectDialog.hpp"

#include "HostApi/HostHandles.hpp"

namespace {
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
    : MaterialPickerDialog(ResourceId, element, {{50, false}, {121, true}, {70, false}, {0, false}}, 2, 4)
{
    Setup(true);
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
