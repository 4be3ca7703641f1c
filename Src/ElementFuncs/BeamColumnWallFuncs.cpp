// Beam, column and wall: the types whose offer depends on the element (profiled segments,
// composite or profiled walls).
#include "ElementFuncs/ElementFormulaContext.hpp"
#include "ElementFuncs/ElementTypes.hpp"
#include "VumoFuncs/VumoFuncs.hpp"

using ElementFuncsUtil::Segment;

GS::UniString ListedElementFuncs::GetTypeName()
{
    return Name(1);
}

GS::UniString ListedElementFuncs::Name(GS::Int16 item) const
{
    return GetResString(listId, item);
}

GS::Array<GS::UniString> ListedElementFuncs::Names(std::initializer_list<GS::Int16> items) const
{
    return ElementFuncsUtil::ResNames(listId, items);
}

namespace {

bool IsProfiledSegment(const Segment& segment)
{
    return segment.structureType == API_ProfileStructure;
}

bool HasProfile(const Segment& segment)
{
    return IsProfiledSegment(segment) && segment.profileAttr != 0;
}

// The name lists test the first segment's structure only, not its profile index.
bool FirstBeamSegmentIsProfiled(const API_Element& element)
{
    Segment segment;
    return ElementFuncsUtil::ReadFirstBeamSegment(element, &segment) && IsProfiledSegment(segment);
}

bool FirstColumnSegmentIsProfiled(const API_Element& element)
{
    Segment segment;
    return ElementFuncsUtil::ReadFirstColumnSegment(element, &segment) && IsProfiledSegment(segment);
}

bool OneTextArgument(const GS::Array<Math_Parameter>& args, GS::UniString* text)
{
    if (args.GetSize() != 1 || args[0].kind != Math_TextParameter)
        return false;
    *text = ElementFuncsUtil::ArgumentText(args[0]);
    return true;
}

}  // namespace

// ---- Beam ------------------------------------------------------------------------------------
// List 32701: 2 Volume, 3 Area, 4 Length, 5 ProjectionLength, 6 Width, 7 Height, 8 Property,
// 9 ProfileArea, 10 ProfileRegionVolume, 11 CoreVolume.

GS::Array<GS::UniString> BeamElementFuncs::GetAllQuantityNames()
{
    return Names({2, 11, 3, 4, 5, 6, 7, 9});
}

GS::Array<GS::UniString> BeamElementFuncs::GetQuantityNames(const API_Element& element)
{
    GS::Array<GS::UniString> names = Names({2, 11, 3, 4, 5, 6, 7});
    if (FirstBeamSegmentIsProfiled(element))
        names.Push(Name(9));
    return names;
}

GS::Array<GS::UniString> BeamElementFuncs::GetAllFunctionNames()
{
    return Names({8, 10});
}

GS::Array<GS::UniString> BeamElementFuncs::GetFunctionNames(const API_Element& element)
{
    GS::Array<GS::UniString> names = Names({8});
    if (FirstBeamSegmentIsProfiled(element))
        names.Push(Name(10));
    return names;
}

void BeamElementFuncs::SetVariables(API_Element element, ElementFormulaContext& context)
{
    const double projectionLength = ElementFuncsUtil::BeamProjectionLength(element);
    const double length = ElementFuncsUtil::BeamLength(element);
    context.SetVariable(Name(5), projectionLength);
    context.SetVariable(Name(4), length);

    double coreVolume = 0.0;
    Segment segment;
    if (ElementFuncsUtil::ReadFirstBeamSegment(element, &segment)) {
        if (!HasProfile(segment)) {
            context.SetVariable(Name(6), segment.nominalWidth);
            context.SetVariable(Name(7), segment.nominalHeight);
            context.SetVariable(Name(9), 0.0);
        } else {
            const GS::UInt32 profile = static_cast<GS::UInt32>(segment.profileAttr);
            double width = 0.0;
            double height = 0.0;
            if (GetProfileDimensions(profile, width, height)) {
                context.SetVariable(Name(6), width);
                context.SetVariable(Name(7), height);
            }
            context.SetVariable(Name(9), GetProfileArea(profile));
            const double coreArea = GetProfileCoreArea(profile, segment.nominalWidth, segment.nominalHeight);
            if (coreArea > 0.0)
                coreVolume = coreArea * length;
        }
    }

    HostQuantitiesMask mask;
    HostMaskClear(&mask);
    HostMaskSet(mask.elements.beam.area);
    HostMaskSet(mask.elements.beam.volume);
    HostElementQuantity quantity;
    if (GetElementQuantities(element, mask, &quantity, nullptr)) {
        context.SetVariable(Name(3), quantity.beam.area);
        context.SetVariable(Name(2), quantity.beam.volume);
        context.SetVariable(Name(11), coreVolume > 0.0 ? coreVolume : quantity.beam.volume);
    }
}

double BeamElementFuncs::EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args)
{
    if (name == Name(8))
        return EvaluatePropertyFunction(element, name, args);
    GS::UniString material;
    if (name != Name(10) || !OneTextArgument(args, &material))
        return 0.0;
    Segment segment;
    if (!ElementFuncsUtil::ReadFirstBeamSegment(element, &segment) || !HasProfile(segment))
        return 0.0;
    return GetProfileRegionArea(static_cast<GS::UInt32>(segment.profileAttr), material) *
           ElementFuncsUtil::BeamLength(element);
}

// ---- Column ----------------------------------------------------------------------------------
// List 32702: 2 CoreVolume, 3 CoreArea, 4 Height, 5 Property, 6 Width, 7 ProfileHeight,
// 8 ProfileArea, 9 ProfileRegionVolume.

GS::Array<GS::UniString> ColumnElementFuncs::GetAllQuantityNames()
{
    return Names({2, 3, 4, 6, 7, 8});
}

GS::Array<GS::UniString> ColumnElementFuncs::GetQuantityNames(const API_Element& element)
{
    GS::Array<GS::UniString> names = Names({2, 3, 4, 6});
    if (FirstColumnSegmentIsProfiled(element)) {
        names.Push(Name(7));
        names.Push(Name(8));
    }
    return names;
}

GS::Array<GS::UniString> ColumnElementFuncs::GetAllFunctionNames()
{
    return Names({5, 9});
}

GS::Array<GS::UniString> ColumnElementFuncs::GetFunctionNames(const API_Element& element)
{
    GS::Array<GS::UniString> names = Names({5});
    if (FirstColumnSegmentIsProfiled(element))
        names.Push(Name(9));
    return names;
}

void ColumnElementFuncs::SetVariables(API_Element element, ElementFormulaContext& context)
{
    HostQuantitiesMask mask;
    HostMaskClear(&mask);
    HostMaskSet(mask.elements.column.coreVolume);
    HostMaskSet(mask.elements.column.coreArea);
    HostMaskSet(mask.elements.column.height);
    HostElementQuantity quantity;
    if (GetElementQuantities(element, mask, &quantity, nullptr)) {
        context.SetVariable(Name(3), quantity.column.coreArea);
        context.SetVariable(Name(2), quantity.column.coreVolume);
        context.SetVariable(Name(4), quantity.column.height);
    }

    Segment segment;
    if (!ElementFuncsUtil::ReadFirstColumnSegment(element, &segment))
        return;
    if (!HasProfile(segment)) {
        context.SetVariable(Name(6), segment.nominalWidth);
        context.SetVariable(Name(7), segment.nominalHeight);
        context.SetVariable(Name(8), 0.0);
        return;
    }
    const GS::UInt32 profile = static_cast<GS::UInt32>(segment.profileAttr);
    double width = 0.0;
    double height = 0.0;
    if (GetProfileDimensions(profile, width, height)) {
        context.SetVariable(Name(6), width);
        context.SetVariable(Name(7), height);
    }
    context.SetVariable(Name(8), GetProfileArea(profile));
}

double ColumnElementFuncs::EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args)
{
    if (name == Name(5))
        return EvaluatePropertyFunction(element, name, args);
    GS::UniString material;
    if (name != Name(9) || !OneTextArgument(args, &material))
        return 0.0;
    Segment segment;
    if (!ElementFuncsUtil::ReadFirstColumnSegment(element, &segment) || !HasProfile(segment))
        return 0.0;
    HostQuantitiesMask mask;
    HostMaskClear(&mask);
    HostMaskSet(mask.elements.column.height);
    HostElementQuantity quantity;
    if (!GetElementQuantities(element, mask, &quantity, nullptr))
        return 0.0;
    return GetProfileRegionArea(static_cast<GS::UInt32>(segment.profileAttr), material) * quantity.column.height;
}

// ---- Wall ------------------------------------------------------------------------------------
// List 32711: 2 Volume, 3 CoreVolume, 4 Area, 5 Thickness, 6 Perimeter, 7 Length, 8 RefLength,
// 9 MaxHeight, 10 MinHeight, 11 SkinVolume, 12 SkinArea, 13 Property, 14 ProfileWidth,
// 15 ProfileHeight, 16 ProfileRegionVolume, 17 ProfileRegionArea.

GS::Array<GS::UniString> WallElementFuncs::GetAllQuantityNames()
{
    return Names({2, 3, 4, 5, 6, 7, 8, 9, 10, 14, 15});
}

GS::Array<GS::UniString> WallElementFuncs::GetQuantityNames(const API_Element& element)
{
    GS::Array<GS::UniString> names = Names({2, 3, 4, 5, 6, 7, 8, 9, 10});
    if (element.wall.modelElemStructureType == API_ProfileStructure) {
        names.Push(Name(14));
        names.Push(Name(15));
    }
    return names;
}

GS::Array<GS::UniString> WallElementFuncs::GetAllFunctionNames()
{
    return Names({11, 12, 16, 17, 13});
}

GS::Array<GS::UniString> WallElementFuncs::GetFunctionNames(const API_Element& element)
{
    GS::Array<GS::UniString> names;
    if (element.wall.modelElemStructureType == API_CompositeStructure)
        names = Names({11, 12});
    else if (element.wall.modelElemStructureType == API_ProfileStructure)
        names = Names({16, 17});
    names.Push(Name(13));
    return names;
}

void WallElementFuncs::SetVariables(API_Element element, ElementFormulaContext& context)
{
    context.SetVariable("Thickness", element.wall.thickness);

    HostQuantitiesMask mask;
    HostMaskClear(&mask);
    HostMaskSet(mask.elements.wall.perimeter);
    HostMaskSet(mask.elements.wall.length);
    HostMaskSet(mask.elements.wall.refLineLength);
    HostMaskSet(mask.elements.wall.maxHeight);
    HostMaskSet(mask.elements.wall.minHeight);
    HostMaskSet(mask.elements.wall.area);
    HostMaskSet(mask.elements.wall.volume);
    HostMaskSet(mask.composites.volume);
    HostMaskSet(mask.composites.flags);
    HostElementQuantity quantity;
    GS::Array<API_CompositeQuantity> skins;
    if (GetElementQuantities(element, mask, &quantity, &skins)) {
        const API_WallQuantity& q = quantity.wall;
        context.SetVariable(Name(6), q.perimeter);
        context.SetVariable(Name(7), q.length);
        context.SetVariable(Name(8), q.refLineLength);
        context.SetVariable(Name(9), q.maxHeight);
        context.SetVariable(Name(10), q.minHeight);
        context.SetVariable(Name(4), q.area);
        context.SetVariable(Name(2), q.volume);
        context.SetVariable(Name(3), CompositeCoreVolume(q.volume, element.wall.modelElemStructureType, skins));
    }

    if (element.wall.modelElemStructureType == API_ProfileStructure && element.wall.profileAttr != 0) {
        double width = 0.0;
        double height = 0.0;
        if (GetProfileDimensions(static_cast<GS::UInt32>(element.wall.profileAttr), width, height)) {
            context.SetVariable(Name(14), width);
            context.SetVariable(Name(15), height);
        }
    }
}

double WallElementFuncs::EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args)
{
    if (name == Name(13))
        return EvaluatePropertyFunction(element, name, args);
    const bool skinVolume = name == Name(11);
    if (skinVolume || name == Name(12)) {
        return EvaluateSkinFunction(element, element.wall.modelElemStructureType, element.wall.composite, skinVolume,
                                    args);
    }
    const bool regionVolume = name == Name(16);
    if (!regionVolume && name != Name(17))
        return 0.0;
    GS::UniString material;
    if (element.wall.modelElemStructureType != API_ProfileStructure || element.wall.profileAttr == 0 ||
        !OneTextArgument(args, &material))
        return 0.0;
    const double area = GetProfileRegionArea(static_cast<GS::UInt32>(element.wall.profileAttr), material);
    if (!regionVolume)
        return area;
    HostQuantitiesMask mask;
    HostMaskClear(&mask);
    HostMaskSet(mask.elements.wall.length);
    HostElementQuantity quantity;
    if (!GetElementQuantities(element, mask, &quantity, nullptr))
        return 0.0;
    return area * quantity.wall.length;
}
