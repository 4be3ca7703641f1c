// Slab, roof, window, object, zone, stair, fill, morph, railing, curtain wall, line, polyline.
#include <algorithm>
#include <cmath>

#include "HostApi/HostHandles.hpp"
#include "ElementFuncs/ElementFormulaContext.hpp"
#include "ElementFuncs/ElementTypes.hpp"
#include "ResourceNames.hpp"
#include "VumoFuncs/VumoFuncs.hpp"

namespace {

// Railing and curtain wall: Height from the record; Length and Area (stored though not offered)
// from the host. Both lists name them alike.
static_assert(RailingNames::Length == CurtainWallNames::Length && RailingNames::Height == CurtainWallNames::Height &&
                  RailingNames::Area == CurtainWallNames::Area,
              "railings and curtain walls share their quantities");
template <typename Quantity>
void StoreHeightLengthArea(IElementFuncs& funcs, const API_Element& element, ElementFormulaContext& context,
                           GS::Int16 listId, double height, Quantity HostElementQuantity::*part)
{
    context.SetVariable(GetResString(listId, RailingNames::Height), height);
    HostQuantitiesMask mask;
    HostMaskClear(&mask);
    HostMaskSet((mask.elements.*part).length);
    HostMaskSet((mask.elements.*part).area);
    HostElementQuantity quantity;
    if (!funcs.GetElementQuantities(element, mask, &quantity, nullptr))
        return;
    context.SetVariable(GetResString(listId, RailingNames::Length), (quantity.*part).length);
    context.SetVariable(GetResString(listId, RailingNames::Area), (quantity.*part).area);
}

}  // namespace

// ---- Slab ------------------------------------------------------------------------------------

GS::Array<GS::UniString> SlabElementFuncs::GetAllQuantityNames()
{
    return Names({SlabNames::Volume, SlabNames::CoreVolume, SlabNames::Area, SlabNames::Perimeter, SlabNames::Thickness,
                  SlabNames::CoreThickness});
}

GS::Array<GS::UniString> SlabElementFuncs::GetAllFunctionNames()
{
    return Names({SlabNames::SkinVolume, SlabNames::SkinArea, SlabNames::Property});
}

GS::Array<GS::UniString> SlabElementFuncs::GetFunctionNames(const API_Element& element)
{
    if (element.slab.modelElemStructureType == API_CompositeStructure)
        return Names({SlabNames::SkinVolume, SlabNames::SkinArea, SlabNames::Property});
    return Names({SlabNames::Property});
}

void SlabElementFuncs::SetVariables(API_Element element, ElementFormulaContext& context)
{
    context.SetVariable(Name(SlabNames::Thickness), element.slab.thickness);

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
        context.SetVariable(Name(SlabNames::Perimeter), q.perimeter);
        context.SetVariable(Name(SlabNames::Area), std::max(q.topSurface, q.bottomSurface));
        context.SetVariable(Name(SlabNames::Volume), q.volume);
        context.SetVariable(Name(SlabNames::CoreVolume),
                            CompositeCoreVolume(q.volume, element.slab.modelElemStructureType, skins));
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
    context.SetVariable(Name(SlabNames::CoreThickness), coreThickness);
}

double SlabElementFuncs::EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args)
{
    if (name == Name(SlabNames::Property))
        return EvaluatePropertyFunction(element, name, args);
    const bool skinVolume = name == Name(SlabNames::SkinVolume);
    if (skinVolume || name == Name(SlabNames::SkinArea))
        return EvaluateSkinFunction(element, element.slab.modelElemStructureType, element.slab.composite, skinVolume,
                                    args);
    return 0.0;
}

// ---- Roof ------------------------------------------------------------------------------------

GS::Array<GS::UniString> RoofElementFuncs::GetAllQuantityNames()
{
    return Names({RoofNames::Volume, RoofNames::CoreVolume, RoofNames::Area, RoofNames::ProjectionArea,
                  RoofNames::Perimeter, RoofNames::RidgesLength, RoofNames::EavesLength, RoofNames::GabelsLength,
                  RoofNames::ValleysLength, RoofNames::HipsLength});
}

GS::Array<GS::UniString> RoofElementFuncs::GetAllFunctionNames()
{
    return Names({RoofNames::SkinVolume, RoofNames::SkinArea, RoofNames::Property});
}

GS::Array<GS::UniString> RoofElementFuncs::GetFunctionNames(const API_Element& element)
{
    if (element.roof.modelElemStructureType == API_CompositeStructure)
        return Names({RoofNames::SkinVolume, RoofNames::SkinArea, RoofNames::Property});
    return Names({RoofNames::Property});
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
    context.SetVariable(Name(RoofNames::Perimeter), q.perimeter);
    context.SetVariable(Name(RoofNames::ProjectionArea), q.projectionArea);
    context.SetVariable(Name(RoofNames::Area), q.area);
    context.SetVariable(Name(RoofNames::Volume), q.volume);
    context.SetVariable(Name(RoofNames::RidgesLength), q.ridgesLength);
    context.SetVariable(Name(RoofNames::EavesLength), q.eavesLength);
    context.SetVariable(Name(RoofNames::GabelsLength), q.gablesLength);
    context.SetVariable(Name(RoofNames::ValleysLength), q.valleysLength);
    context.SetVariable(Name(RoofNames::HipsLength), q.hipsLength);
    context.SetVariable(Name(RoofNames::CoreVolume),
                        CompositeCoreVolume(q.volume, element.roof.modelElemStructureType, skins));
}

double RoofElementFuncs::EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args)
{
    if (name == Name(RoofNames::Property))
        return EvaluatePropertyFunction(element, name, args);
    const bool skinVolume = name == Name(RoofNames::SkinVolume);
    if (skinVolume || name == Name(RoofNames::SkinArea))
        return EvaluateSkinFunction(element, element.roof.modelElemStructureType, element.roof.composite, skinVolume,
                                    args);
    return 0.0;
}

// ---- Window ----------------------------------------------------------------------------------
// Twenty more names are fixed.

GS::Array<GS::UniString> WindowElementFuncs::GetAllQuantityNames()
{
    return Names({WindowNames::Volume, WindowNames::Area, WindowNames::Width1, WindowNames::Height1});
}

GS::Array<GS::UniString> WindowElementFuncs::GetAllFunctionNames()
{
    return Names({WindowNames::Parameter});
}

void WindowElementFuncs::SetVariables(API_Element element, ElementFormulaContext& context)
{
    HostQuantitiesMask mask;
    HostMaskSetAll(&mask);
    HostElementQuantity quantity;
    if (!GetElementQuantities(element, mask, &quantity, nullptr))
        return;
    const API_DoorWindowQuantity& q = quantity.window;
    context.SetVariable(Name(WindowNames::Width1), q.width1);
    context.SetVariable("Width2", q.width2);
    context.SetVariable(Name(WindowNames::Height1), q.height1);
    context.SetVariable("Height2", q.height2);
    context.SetVariable(Name(WindowNames::Area), q.area);
    context.SetVariable("Area1", q.area1);
    context.SetVariable("Area2", q.area2);
    context.SetVariable("NominalWidth1", q.nominalWidth1);
    context.SetVariable("NominalWidth2", q.nominalWidth2);
    context.SetVariable("NominalHeight1", q.nominalHeight1);
    context.SetVariable("NominalHeight2", q.nominalHeight2);
    context.SetVariable("NominalArea1", q.nominalArea1);
    context.SetVariable("NominalArea2", q.nominalArea2);
    context.SetVariable(Name(WindowNames::Volume), q.volume);
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
    return EvaluateParameterFunction(element, name, Name(WindowNames::Parameter), args);
}

// ---- Object ----------------------------------------------------------------------------------

GS::Array<GS::UniString> ObjectElementFuncs::GetAllQuantityNames()
{
    return Names({ObjectNames::A, ObjectNames::B});
}

GS::Array<GS::UniString> ObjectElementFuncs::GetAllFunctionNames()
{
    return Names({ObjectNames::Parameter});
}

void ObjectElementFuncs::SetVariables(API_Element element, ElementFormulaContext& context)
{
    context.SetVariable(Name(ObjectNames::A), element.object.a);
    context.SetVariable(Name(ObjectNames::B), element.object.b);
}

double ObjectElementFuncs::EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args)
{
    return EvaluateParameterFunction(element, name, Name(ObjectNames::Parameter), args);
}

// ---- Zone ------------------------------------------------------------------------------------

GS::Array<GS::UniString> ZoneElementFuncs::GetAllQuantityNames()
{
    return Names({ZoneNames::Area, ZoneNames::Perimeter, ZoneNames::Volume, ZoneNames::Height, ZoneNames::NetArea,
                  ZoneNames::CalcArea});
}

GS::Array<GS::UniString> ZoneElementFuncs::GetAllFunctionNames()
{
    return Names({ZoneNames::Parameter});
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
    context.SetVariable(Name(ZoneNames::Area), q.area);
    context.SetVariable(Name(ZoneNames::Perimeter), q.perimeter);
    context.SetVariable(Name(ZoneNames::Volume), q.volume);
    context.SetVariable(Name(ZoneNames::Height), q.height);
    context.SetVariable(Name(ZoneNames::NetArea), q.netArea);
    context.SetVariable(Name(ZoneNames::CalcArea), q.calcArea);
}

double ZoneElementFuncs::EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args)
{
    // The zone stamp's additional parameters, read as for objects and windows.
    return EvaluateParameterFunction(element, name, Name(ZoneNames::Parameter), args);
}

// ---- Stair -----------------------------------------------------------------------------------

GS::Array<GS::UniString> StairElementFuncs::GetAllQuantityNames()
{
    return Names({StairNames::Volume, StairNames::Area, StairNames::Height, StairNames::WalklineLength,
                  StairNames::Gradient, StairNames::NumOfRisers, StairNames::NumOfTreads});
}

void StairElementFuncs::SetVariables(API_Element element, ElementFormulaContext& context)
{
    HostQuantitiesMask mask;
    HostMaskSetAll(&mask);
    HostElementQuantity quantity;
    if (!GetElementQuantities(element, mask, &quantity, nullptr))
        return;
    const API_StairQuantity& q = quantity.stair;
    context.SetVariable(Name(StairNames::Volume), q.volume);
    context.SetVariable(Name(StairNames::Area), q.area);
    context.SetVariable(Name(StairNames::Height), q.height);
    context.SetVariable(Name(StairNames::WalklineLength), q.walklineLength);
    context.SetVariable(Name(StairNames::Gradient), q.gradient);
    context.SetVariable(Name(StairNames::NumOfRisers), static_cast<double>(q.numOfRisers));
    context.SetVariable(Name(StairNames::NumOfTreads), static_cast<double>(q.numOfTreads));
}

// ---- Fill ------------------------------------------------------------------------------------

GS::Array<GS::UniString> FillElementFuncs::GetAllQuantityNames()
{
    return Names({FillNames::Area, FillNames::Perimeter});
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
    context.SetVariable(Name(FillNames::Area), quantity.hatch.area);
    context.SetVariable(Name(FillNames::Perimeter), quantity.hatch.perimeter);
}

// ---- Morph -----------------------------------------------------------------------------------

GS::Array<GS::UniString> MorphElementFuncs::GetAllQuantityNames()
{
    return Names({MorphNames::Volume, MorphNames::Area});
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
    context.SetVariable(Name(MorphNames::Volume), quantity.morph.volume);
    context.SetVariable(Name(MorphNames::Area), quantity.morph.area);
}

// ---- Railing and curtain wall ----------------------------------------------------------------

GS::Array<GS::UniString> RailingElementFuncs::GetAllQuantityNames()
{
    return Names({RailingNames::Length, RailingNames::Height});
}

void RailingElementFuncs::SetVariables(API_Element element, ElementFormulaContext& context)
{
    StoreHeightLengthArea(*this, element, context, listId, element.railing.height, &HostElementQuantity::railing);
}

GS::Array<GS::UniString> CurtainWallElementFuncs::GetAllQuantityNames()
{
    return Names({CurtainWallNames::Length, CurtainWallNames::Height});
}

void CurtainWallElementFuncs::SetVariables(API_Element element, ElementFormulaContext& context)
{
    StoreHeightLengthArea(*this, element, context, listId, element.curtainWall.height,
                          &HostElementQuantity::curtainWall);
}

// ---- Line and polyline -----------------------------------------------------------------------

GS::Array<GS::UniString> LineElementFuncs::GetAllQuantityNames()
{
    return Names({LineNames::Length});
}

void LineElementFuncs::SetVariables(API_Element element, ElementFormulaContext& context)
{
    const double dx = element.line.begC.x - element.line.endC.x;
    const double dy = element.line.begC.y - element.line.endC.y;
    context.SetVariable(Name(LineNames::Length), std::sqrt(dx * dx + dy * dy));
}

GS::Array<GS::UniString> PolyLineElementFuncs::GetAllQuantityNames()
{
    return Names({PolyLineNames::Length});
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
    const GSSize nArcs =
        std::min<GSSize>(std::max<GS::Int32>(element.polyLine.poly.nArcs, 0), HandleRecords(memo->parcs));

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
    context.SetVariable(Name(PolyLineNames::Length), PolyLineLength(element));
}
