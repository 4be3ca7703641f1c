// Beam, column and wall: the types whose offer depends on the element (profiled segments,
// composite or profiled walls).
#include "ElementFuncs/ElementFormulaContext.hpp"
#include "ElementFuncs/ElementTypes.hpp"
#include "ResourceNames.hpp"
#include "VumoFuncs/VumoFuncs.hpp"

using ElementFuncsUtil::Segment;

GS::UniString ListedElementFuncs::GetTypeName()
{
    return Name(TypeNameItem);
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

GS::Array<GS::UniString> BeamElementFuncs::GetAllQuantityNames()
{
    return Names({BeamNames::Volume, BeamNames::CoreVolume, BeamNames::Area, BeamNames::Length,
                  BeamNames::ProjectionLength, BeamNames::Width, BeamNames::Height, BeamNames::ProfileArea});
}

GS::Array<GS::UniString> BeamElementFuncs::GetQuantityNames(const API_Element& element)
{
    GS::Array<GS::UniString> names =
        Names({BeamNames::Volume, BeamNames::CoreVolume, BeamNames::Area, BeamNames::Length,
               BeamNames::ProjectionLength, BeamNames::Width, BeamNames::Height});
    if (FirstBeamSegmentIsProfiled(element))
        names.Push(Name(BeamNames::ProfileArea));
    return names;
}

GS::Array<GS::UniString> BeamElementFuncs::GetAllFunctionNames()
{
    return Names({BeamNames::Property, BeamNames::ProfileRegionVolume});
}

GS::Array<GS::UniString> BeamElementFuncs::GetFunctionNames(const API_Element& element)
{
    GS::Array<GS::UniString> names = Names({BeamNames::Property});
    if (FirstBeamSegmentIsProfiled(element))
        names.Push(Name(BeamNames::ProfileRegionVolume));
    return names;
}

void BeamElementFuncs::SetVariables(API_Element element, ElementFormulaContext& context)
{
    const double projectionLength = ElementFuncsUtil::BeamProjectionLength(element);
    const double length = ElementFuncsUtil::BeamLength(element);
    context.SetVariable(Name(BeamNames::ProjectionLength), projectionLength);
    context.SetVariable(Name(BeamNames::Length), length);

    double coreVolume = 0.0;
    Segment segment;
    if (ElementFuncsUtil::ReadFirstBeamSegment(element, &segment)) {
        if (!HasProfile(segment)) {
            context.SetVariable(Name(BeamNames::Width), segment.nominalWidth);
            context.SetVariable(Name(BeamNames::Height), segment.nominalHeight);
            context.SetVariable(Name(BeamNames::ProfileArea), 0.0);
        } else {
            const GS::UInt32 profile = static_cast<GS::UInt32>(segment.profileAttr);
            double width = 0.0;
            double height = 0.0;
            if (GetProfileDimensions(profile, width, height)) {
                context.SetVariable(Name(BeamNames::Width), width);
                context.SetVariable(Name(BeamNames::Height), height);
            }
            context.SetVariable(Name(BeamNames::ProfileArea), GetProfileArea(profile));
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
        context.SetVariable(Name(BeamNames::Area), quantity.beam.area);
        context.SetVariable(Name(BeamNames::Volume), quantity.beam.volume);
        context.SetVariable(Name(BeamNames::CoreVolume), coreVolume > 0.0 ? coreVolume : quantity.beam.volume);
    }
}

double BeamElementFuncs::EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args)
{
    if (name == Name(BeamNames::Property))
        return EvaluatePropertyFunction(element, name, args);
    GS::UniString material;
    if (name != Name(BeamNames::ProfileRegionVolume) || !OneTextArgument(args, &material))
        return 0.0;
    Segment segment;
    if (!ElementFuncsUtil::ReadFirstBeamSegment(element, &segment) || !HasProfile(segment))
        return 0.0;
    return GetProfileRegionArea(static_cast<GS::UInt32>(segment.profileAttr), material) *
           ElementFuncsUtil::BeamLength(element);
}

// ---- Column ----------------------------------------------------------------------------------

GS::Array<GS::UniString> ColumnElementFuncs::GetAllQuantityNames()
{
    return Names({ColumnNames::CoreVolume, ColumnNames::CoreArea, ColumnNames::Height, ColumnNames::Width,
                  ColumnNames::ProfileHeight, ColumnNames::ProfileArea});
}

GS::Array<GS::UniString> ColumnElementFuncs::GetQuantityNames(const API_Element& element)
{
    GS::Array<GS::UniString> names =
        Names({ColumnNames::CoreVolume, ColumnNames::CoreArea, ColumnNames::Height, ColumnNames::Width});
    if (FirstColumnSegmentIsProfiled(element)) {
        names.Push(Name(ColumnNames::ProfileHeight));
        names.Push(Name(ColumnNames::ProfileArea));
    }
    return names;
}

GS::Array<GS::UniString> ColumnElementFuncs::GetAllFunctionNames()
{
    return Names({ColumnNames::Property, ColumnNames::ProfileRegionVolume});
}

GS::Array<GS::UniString> ColumnElementFuncs::GetFunctionNames(const API_Element& element)
{
    GS::Array<GS::UniString> names = Names({ColumnNames::Property});
    if (FirstColumnSegmentIsProfiled(element))
        names.Push(Name(ColumnNames::ProfileRegionVolume));
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
        context.SetVariable(Name(ColumnNames::CoreArea), quantity.column.coreArea);
        context.SetVariable(Name(ColumnNames::CoreVolume), quantity.column.coreVolume);
        context.SetVariable(Name(ColumnNames::Height), quantity.column.height);
    }

    Segment segment;
    if (!ElementFuncsUtil::ReadFirstColumnSegment(element, &segment))
        return;
    if (!HasProfile(segment)) {
        context.SetVariable(Name(ColumnNames::Width), segment.nominalWidth);
        context.SetVariable(Name(ColumnNames::ProfileHeight), segment.nominalHeight);
        context.SetVariable(Name(ColumnNames::ProfileArea), 0.0);
        return;
    }
    const GS::UInt32 profile = static_cast<GS::UInt32>(segment.profileAttr);
    double width = 0.0;
    double height = 0.0;
    if (GetProfileDimensions(profile, width, height)) {
        context.SetVariable(Name(ColumnNames::Width), width);
        context.SetVariable(Name(ColumnNames::ProfileHeight), height);
    }
    context.SetVariable(Name(ColumnNames::ProfileArea), GetProfileArea(profile));
}

double ColumnElementFuncs::EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args)
{
    if (name == Name(ColumnNames::Property))
        return EvaluatePropertyFunction(element, name, args);
    GS::UniString material;
    if (name != Name(ColumnNames::ProfileRegionVolume) || !OneTextArgument(args, &material))
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

GS::Array<GS::UniString> WallElementFuncs::GetAllQuantityNames()
{
    return Names({WallNames::Volume, WallNames::CoreVolume, WallNames::Area, WallNames::Thickness, WallNames::Perimeter,
                  WallNames::Length, WallNames::RefLength, WallNames::MaxHeight, WallNames::MinHeight,
                  WallNames::ProfileWidth, WallNames::ProfileHeight});
}

GS::Array<GS::UniString> WallElementFuncs::GetQuantityNames(const API_Element& element)
{
    GS::Array<GS::UniString> names =
        Names({WallNames::Volume, WallNames::CoreVolume, WallNames::Area, WallNames::Thickness, WallNames::Perimeter,
               WallNames::Length, WallNames::RefLength, WallNames::MaxHeight, WallNames::MinHeight});
    if (element.wall.modelElemStructureType == API_ProfileStructure) {
        names.Push(Name(WallNames::ProfileWidth));
        names.Push(Name(WallNames::ProfileHeight));
    }
    return names;
}

GS::Array<GS::UniString> WallElementFuncs::GetAllFunctionNames()
{
    return Names({WallNames::SkinVolume, WallNames::SkinArea, WallNames::ProfileRegionVolume,
                  WallNames::ProfileRegionArea, WallNames::Property});
}

GS::Array<GS::UniString> WallElementFuncs::GetFunctionNames(const API_Element& element)
{
    GS::Array<GS::UniString> names;
    if (element.wall.modelElemStructureType == API_CompositeStructure)
        names = Names({WallNames::SkinVolume, WallNames::SkinArea});
    else if (element.wall.modelElemStructureType == API_ProfileStructure)
        names = Names({WallNames::ProfileRegionVolume, WallNames::ProfileRegionArea});
    names.Push(Name(WallNames::Property));
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
        context.SetVariable(Name(WallNames::Perimeter), q.perimeter);
        context.SetVariable(Name(WallNames::Length), q.length);
        context.SetVariable(Name(WallNames::RefLength), q.refLineLength);
        context.SetVariable(Name(WallNames::MaxHeight), q.maxHeight);
        context.SetVariable(Name(WallNames::MinHeight), q.minHeight);
        context.SetVariable(Name(WallNames::Area), q.area);
        context.SetVariable(Name(WallNames::Volume), q.volume);
        context.SetVariable(Name(WallNames::CoreVolume),
                            CompositeCoreVolume(q.volume, element.wall.modelElemStructureType, skins));
    }

    if (element.wall.modelElemStructureType == API_ProfileStructure && element.wall.profileAttr != 0) {
        double width = 0.0;
        double height = 0.0;
        if (GetProfileDimensions(static_cast<GS::UInt32>(element.wall.profileAttr), width, height)) {
            context.SetVariable(Name(WallNames::ProfileWidth), width);
            context.SetVariable(Name(WallNames::ProfileHeight), height);
        }
    }
}

double WallElementFuncs::EvaluateFunction(API_Element element, GS::UniString name, GS::Array<Math_Parameter> args)
{
    if (name == Name(WallNames::Property))
        return EvaluatePropertyFunction(element, name, args);
    const bool skinVolume = name == Name(WallNames::SkinVolume);
    if (skinVolume || name == Name(WallNames::SkinArea)) {
        return EvaluateSkinFunction(element, element.wall.modelElemStructureType, element.wall.composite, skinVolume,
                                    args);
    }
    const bool regionVolume = name == Name(WallNames::ProfileRegionVolume);
    if (!regionVolume && name != Name(WallNames::ProfileRegionArea))
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
