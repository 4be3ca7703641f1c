// Slab, roof, window, object, zone, stair, fill, morph, railing, curtain wall, line, polyline.
#include <algorithm>
#include <cmath>

#include "HostApi/HostHandles.hpp"
#include "ElementFuncs/ElementFormulaContext.hpp"
#include "ElementFuncs/ElementTypes.hpp"
#include "VumoFuncs/VumoFuncs.hpp"

namespace {

// Railing and curtain wall: Height from the record; Length and Area (item 4, stored though not
// offered) from the host.
template <typename Quantity>
void StoreHeightLengthArea(IElementFuncs& funcs, const API_Element& element, ElementFormulaContext& context,
                           GS::Int16 listId, double height, Quantity HostElementQuantity::*part)
{
    context.SetVariable(GetResString(listId, 3), height);
    HostQuantitiesMask mask;
    HostMaskClear(&mask);
    HostMaskSet((mask.elements.*part).length);
    HostMaskSet((mask.elements.*part).area);
    HostElementQuantity quantity;
    if (!funcs.GetElementQuantities(element, mask, &quantity, nullptr))
        return;
    context.SetVariable(GetResString(listId, 2), (quantity.*part).length);
    context.SetVariable(GetResString(listId, 4), (quantity.*part).area);
}

}  // namespace

// ---- Slab ------------------------------------------------------------------------------------
// List 32709: 2 Volume, 3 CoreVolume, 4 Area, 5 Perimeter, 6 Thickness, 7 CoreThickness,
// 8 SkinVolume, 9 SkinArea, 10 Property.

GS::Array<GS::UniString> SlabElementFuncs::GetAllQuantityNames()
{
    return Names({2, 3, 4, 5, 6, 7});
}

GS::Array<GS::UniString> SlabElementFuncs::GetAllFunctionNames()
{
    return Names({8, 9, 10});
}

GS::Array<GS::UniString> SlabElementFuncs::GetFunctionNames(const API_Element& element)
{
    if (element.slab.modelElemStructureType == API_CompositeStructure)
        return Names({8, 9, 10});
    return Names({10});
}

void SlabElementFuncs::SetVariables(API_Element element, ElementFormulaContext& context)
{
    context.SetVariable(Name(6), element.slab.thickness);

    HostQuantitiesMask mask;
    HostMaskClear(&mask);
    HostMaskSet(mask.elements.slab.perimeter);
    HostMaskSet(mask.elements.slab.topSurface);
    HostMaskSet(mask.elements.slab.bottomSurface);
    HostMaskSet(mask.elements.slab.volume);
    HostMaskSet(mask.composites.volume);
    HostMaskSet(mask.composites.flags);
    HostElementQuantity quantity;
    GS::Array<API_CompositeQuantity> skins;
    if (GetElementQuantities(element, mask, &quantity, &skins)) {
        const API_SlabQuantity& q = quantity.slab;
        context.SetVariable(Name(5), q.perimeter);
        context.SetVariable(Name(4), std::max(q.topSurface, q.bottomSurface));
        context.SetVariable(Name(2), q.volume);
        context.SetVariable(Name(3), CompositeCoreVolume(q.volume, element.slab.modelElemStructureType, skins));
    } else {
        skins.Clear();
    }

    // Core thickness: the core skins among those the host reported.
    HostAttribute composite;
    if (!ElementFuncsUtil::ReadAttribute(HostAttr_Composite, element.slab.composite, &composite))
        return;
    const HeldAttributeDef def(HostAttr_Composite, element.slab.composite);
    if (!def)
        return;
    // Only a composite slab's skin records count.
    const GSSize records =
        element.slab.modelElemStructureType == API_CompositeStructure ? static_cast<GSSize>(skins.GetSize()) : 0;
    const GSSize n = std::min(records, HandleRecords(def->skins));
    double coreThickness = 0.0;
    for (GSSize i = 0; i < n; ++i) {
        const HostCompositeSkin& skin = (*def->skins)[i];
        if ((skin.flags & APISkin_Core) != 0)
            coreThickness += skin.thickness;
    }
    context.SetVariable(Name(7), coreThickness);
}

double SlabElementFuncs::EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args)
{
    if (name == Name(10))
        return EvaluatePropertyFunction(element, name, args);
    const bool skinVolume = name == Name(8);
    if (skinVolume || name == Name(9))
        return EvaluateSkinFunction(element, element.slab.modelElemStructureType, element.slab.composite, skinVolume,
                                    args);
    return 0.0;
}

// ---- Roof ------------------------------------------------------------------------------------
// List 32708: 2 Volume, 3 CoreVolume, 4 Area, 5 ProjectionArea, 6 Perimeter, 7 RidgesLength,
// 8 EavesLength, 9 GabelsLength, 10 ValleysLength, 11 HipsLength, 12 SkinVolume, 13 SkinArea,
// 14 Property.

GS::Array<GS::UniString> RoofElementFuncs::GetAllQuantityNames()
{
    return Names({2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
}

GS::Array<GS::UniString> RoofElementFuncs::GetAllFunctionNames()
{
    return Names({12, 13, 14});
}

GS::Array<GS::UniString> RoofElementFuncs::GetFunctionNames(const API_Element& element)
{
    if (element.roof.modelElemStructureType == API_CompositeStructure)
        return Names({12, 13, 14});
    return Names({14});
}

void RoofElementFuncs::SetVariables(API_Element element, ElementFormulaContext& context)
{
    HostQuantitiesMask mask;
    HostMaskClear(&mask);
    API_RoofQuantity& m = mask.elements.roof;
    HostMaskSet(m.perimeter);
    HostMaskSet(m.projectionArea);
    HostMaskSet(m.area);
    HostMaskSet(m.volume);
    HostMaskSet(m.ridgesLength);
    HostMaskSet(m.eavesLength);
    HostMaskSet(m.gablesLength);
    HostMaskSet(m.valleysLength);
    HostMaskSet(m.hipsLength);
    HostMaskSet(mask.composites.volume);
    HostMaskSet(mask.composites.flags);
    HostElementQuantity quantity;
    GS::Array<API_CompositeQuantity> skins;
    if (!GetElementQuantities(element, mask, &quantity, &skins))
        return;
    const API_RoofQuantity& q = quantity.roof;
    context.SetVariable(Name(6), q.perimeter);
    context.SetVariable(Name(5), q.projectionArea);
    context.SetVariable(Name(4), q.area);
    context.SetVariable(Name(2), q.volume);
    context.SetVariable(Name(7), q.ridgesLength);
    context.SetVariable(Name(8), q.eavesLength);
    context.SetVariable(Name(9), q.gablesLength);
    context.SetVariable(Name(10), q.valleysLength);
    context.SetVariable(Name(11), q.hipsLength);
    context.SetVariable(Name(3), CompositeCoreVolume(q.volume, element.roof.modelElemStructureType, skins));
}

double RoofElementFuncs::EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args)
{
    if (name == Name(14))
        return EvaluatePropertyFunction(element, name, args);
    const bool skinVolume = name == Name(12);
    if (skinVolume || name == Name(13))
        return EvaluateSkinFunction(element, element.roof.modelElemStructureType, element.roof.composite, skinVolume,
                                    args);
    return 0.0;
}

// ---- Window ----------------------------------------------------------------------------------
// List 32712: 2 Volume, 3 Area, 4 Width1, 5 Height1, 6 Parameter; twenty more names are fixed.

GS::Array<GS::UniString> WindowElementFuncs::GetAllQuantityNames()
{
    return Names({2, 3, 4, 5});
}

GS::Array<GS::UniString> WindowElementFuncs::GetAllFunctionNames()
{
    return Names({6});
}

void WindowElementFuncs::SetVariables(API_Element element, ElementFormulaContext& context)
{
    HostQuantitiesMask mask;
    HostMaskSetAll(&mask);
    HostElementQuantity quantity;
    if (!GetElementQuantities(element, mask, &quantity, nullptr))
        return;
    const API_DoorWindowQuantity& q = quantity.window;
    context.SetVariable(Name(4), q.width1);
    context.SetVariable("Width2", q.width2);
    context.SetVariable(Name(5), q.height1);
    context.SetVariable("Height2", q.height2);
    context.SetVariable(Name(3), q.area);
    context.SetVariable("Area1", q.area1);
    context.SetVariable("Area2", q.area2);
    context.SetVariable("NominalWidth1", q.nominalWidth1);
    context.SetVariable("NominalWidth2", q.nominalWidth2);
    context.SetVariable("NominalHeight1", q.nominalHeight1);
    context.SetVariable("NominalHeight2", q.nominalHeight2);
    context.SetVariable("NominalArea1", q.nominalArea1);
    context.SetVariable("NominalArea2", q.nominalArea2);
    context.SetVariable(Name(2), q.volume);
    context.SetVariable("GrossArea", q.grossArea);
    context.SetVariable("GrossVolume", q.grossVolume);
    context.SetVariable("SillHeight", q.sillHeight);
    context.SetVariable("SillHeight1", q.sillHeight1);
    context.SetVariable("SillHeight2", q.sillHeight2);
    context.SetVariable("SillHeight3", q.sillHeight3);
    context.SetVariable("HeadHeight", q.headHeight);
    context.SetVariable("HeadHeight1", q.headHeight1);
    context.SetVariable("HeadHeight2", q.headHeight2);
    context.SetVariable("HeadHeight3", q.headHeight3);
}

double WindowElementFuncs::EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args)
{
    return EvaluateParameterFunction(element, name, Name(6), args);
}

// ---- Object ----------------------------------------------------------------------------------
// List 32706: 2 A, 3 B, 4 Parameter.

GS::Array<GS::UniString> ObjectElementFuncs::GetAllQuantityNames()
{
    return Names({2, 3});
}

GS::Array<GS::UniString> ObjectElementFuncs::GetAllFunctionNames()
{
    return Names({4});
}

void ObjectElementFuncs::SetVariables(API_Element element, ElementFormulaContext& context)
{
    context.SetVariable(Name(2), element.object.a);
    context.SetVariable(Name(3), element.object.b);
}

double ObjectElementFuncs::EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args)
{
    return EvaluateParameterFunction(element, name, Name(4), args);
}

// ---- Zone ------------------------------------------------------------------------------------
// List 32713: 2 Area, 3 Perimeter, 4 Volume, 5 Height, 6 NetArea, 7 CalcArea, 8 Parameter.

GS::Array<GS::UniString> ZoneElementFuncs::GetAllQuantityNames()
{
    return Names({2, 3, 4, 5, 6, 7});
}

GS::Array<GS::UniString> ZoneElementFuncs::GetAllFunctionNames()
{
    return Names({8});
}

void ZoneElementFuncs::SetVariables(API_Element element, ElementFormulaContext& context)
{
    HostQuantitiesMask mask;
    HostMaskClear(&mask);
    API_ZoneQuantity& m = mask.elements.zone;
    HostMaskSet(m.area);
    HostMaskSet(m.perimeter);
    HostMaskSet(m.volume);
    HostMaskSet(m.height);
    HostMaskSet(m.netArea);
    HostMaskSet(m.calcArea);
    HostElementQuantity quantity;
    if (!GetElementQuantities(element, mask, &quantity, nullptr))
        return;
    const API_ZoneQuantity& q = quantity.zone;
    context.SetVariable(Name(2), q.area);
    context.SetVariable(Name(3), q.perimeter);
    context.SetVariable(Name(4), q.volume);
    context.SetVariable(Name(5), q.height);
    context.SetVariable(Name(6), q.netArea);
    context.SetVariable(Name(7), q.calcArea);
}

double ZoneElementFuncs::EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args)
{
    // The zone stamp's additional parameters, read as for objects and windows.
    return EvaluateParameterFunction(element, name, Name(8), args);
}

// ---- Stair -----------------------------------------------------------------------------------
// List 32710: 2 Volume, 3 Area, 4 Height, 5 WalklineLength, 6 Gradient, 7 NumOfRisers, 8 NumOfTreads.

GS::Array<GS::UniString> StairElementFuncs::GetAllQuantityNames()
{
    return Names({2, 3, 4, 5, 6, 7, 8});
}

void StairElementFuncs::SetVariables(API_Element element, ElementFormulaContext& context)
{
    HostQuantitiesMask mask;
    HostMaskSetAll(&mask);
    HostElementQuantity quantity;
    if (!GetElementQuantities(element, mask, &quantity, nullptr))
        return;
    const API_StairQuantity& q = quantity.stair;
    context.SetVariable(Name(2), q.volume);
    context.SetVariable(Name(3), q.area);
    context.SetVariable(Name(4), q.height);
    context.SetVariable(Name(5), q.walklineLength);
    context.SetVariable(Name(6), q.gradient);
    context.SetVariable(Name(7), static_cast<double>(q.numOfRisers));
    context.SetVariable(Name(8), static_cast<double>(q.numOfTreads));
}

// ---- Fill ------------------------------------------------------------------------------------
// List 32703: 2 Area, 3 Perimeter.

GS::Array<GS::UniString> FillElementFuncs::GetAllQuantityNames()
{
    return Names({2, 3});
}

void FillElementFuncs::SetVariables(API_Element element, ElementFormulaContext& context)
{
    HostQuantitiesMask mask;
    HostMaskClear(&mask);
    HostMaskSet(mask.elements.hatch.area);
    HostMaskSet(mask.elements.hatch.perimeter);
    HostElementQuantity quantity;
    if (!GetElementQuantities(element, mask, &quantity, nullptr))
        return;
    context.SetVariable(Name(2), quantity.hatch.area);
    context.SetVariable(Name(3), quantity.hatch.perimeter);
}

// ---- Morph -----------------------------------------------------------------------------------
// List 32705: 2 Volume, 3 Area.

GS::Array<GS::UniString> MorphElementFuncs::GetAllQuantityNames()
{
    return Names({2, 3});
}

void MorphElementFuncs::SetVariables(API_Element element, ElementFormulaContext& context)
{
    HostQuantitiesMask mask;
    HostMaskClear(&mask);
    HostMaskSet(mask.elements.morph.volume);
    HostMaskSet(mask.elements.morph.area);
    HostElementQuantity quantity;
    if (!GetElementQuantities(element, mask, &quantity, nullptr))
        return;
    context.SetVariable(Name(2), quantity.morph.volume);
    context.SetVariable(Name(3), quantity.morph.area);
}

// ---- Railing and curtain wall ----------------------------------------------------------------
// Lists 32714 and 32715: 2 Length, 3 Height, 4 Area (stored, not offered).

GS::Array<GS::UniString> RailingElementFuncs::GetAllQuantityNames()
{
    return Names({2, 3});
}

void RailingElementFuncs::SetVariables(API_Element element, ElementFormulaContext& context)
{
    StoreHeightLengthArea(*this, element, context, listId, element.railing.height, &HostElementQuantity::railing);
}

GS::Array<GS::UniString> CurtainWallElementFuncs::GetAllQuantityNames()
{
    return Names({2, 3});
}

void CurtainWallElementFuncs::SetVariables(API_Element element, ElementFormulaContext& context)
{
    StoreHeightLengthArea(*this, element, context, listId, element.curtainWall.height,
                          &HostElementQuantity::curtainWall);
}

// ---- Line and polyline -----------------------------------------------------------------------
// Lists 32704 and 32707: 2 Length.

GS::Array<GS::UniString> LineElementFuncs::GetAllQuantityNames()
{
    return Names({2});
}

void LineElementFuncs::SetVariables(API_Element element, ElementFormulaContext& context)
{
    const double dx = element.line.begC.x - element.line.endC.x;
    const double dy = element.line.begC.y - element.line.endC.y;
    context.SetVariable(Name(2), std::sqrt(dx * dx + dy * dy));
}

GS::Array<GS::UniString> PolyLineElementFuncs::GetAllQuantityNames()
{
    return Names({2});
}

double PolyLineElementFuncs::PolyLineLength(const API_Element& element)
{
    const HeldMemo memo(element.header.guid, APIMemoMask_Polygon);
    if (!memo)
        return 0.0;

    // Vertices are numbered from 1; entry 0 of the handle is unused. Never trust the record's
    // counts beyond what the memo really holds.
    const GSSize coordEntries = HandleRecords(memo->coords);
    const GSSize n = std::min<GSSize>(element.polyLine.poly.nCoords, coordEntries > 0 ? coordEntries - 1 : 0);
    const GSSize nArcs = std::min<GSSize>(std::max<GS::Int32>(element.polyLine.poly.nArcs, 0), HandleRecords(memo->parcs));

    double length = 0.0;
    for (GSSize i = 2; i <= n; ++i) {
        const API_Coord& a = (*memo->coords)[i - 1];
        const API_Coord& b = (*memo->coords)[i];
        const double chord = std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y));
        double segment = chord;
        // The first arc that begins at the segment's first vertex decides; its end index plays
        // no part, so a record with a stray end index is still this segment's arc.
        for (GSSize k = 0; k < nArcs; ++k) {
            const API_PolyArc& arc = (*memo->parcs)[k];
            if (arc.begIndex != i - 1)
                continue;
            const double angle = std::fabs(arc.arcAngle);
            const double halfSine = std::sin(angle * 0.5);
            // A straight "arc" (angle 0) is its chord.
            if (std::isfinite(angle) && angle > 0.0 && halfSine != 0.0)
                segment = chord * angle * 0.5 / halfSine;
            break;
        }
        length += segment;
    }
    return length;
}

void PolyLineElementFuncs::SetVariables(API_Element element, ElementFormulaContext& context)
{
    context.SetVariable(Name(2), PolyLineLength(element));
}
