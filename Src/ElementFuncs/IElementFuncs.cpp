#include "ElementFuncs/IElementFuncs.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "HostApi/HostHandles.hpp"
#include "GSRoot/Memory.hpp"
#include "VumoFuncs/VumoFuncs.hpp"

namespace {

// Reads a profile's extended definition and hands its image (or null) to use.
template <typename Use>
bool WithProfileImage(GS::UInt32 profileIndex, Use use)
{
    const HeldAttributeDefExt defExt(HostAttr_Profile, static_cast<GS::Int32>(profileIndex));
    if (!defExt)
        return false;
    use(defExt->profile_vectorImageItems);
    return true;
}

class MaterialHatchAreaVisitor : public ProfileVectorImageVisitor {
public:
    void VisitHatchObject(const HatchObject& hatch) override
    {
        if (hatch.IsBuildingMaterialHatch())
            sum += IElementFuncs::CalcHatchArea(hatch);
    }
    double sum = 0.0;
};

class RegionHatchAreaVisitor : public ProfileVectorImageVisitor {
public:
    explicit RegionHatchAreaVisitor(const GS::UniString& name) : name(name) {}
    void VisitHatchObject(const HatchObject& hatch) override
    {
        if (!hatch.IsBuildingMaterialHatch())
            return;
        HostAttribute material;
        const GS::Int32 index = hatch.GetBuildMatIdx().ToGSAttributeIndex_Deprecated();
        if (!ElementFuncsUtil::ReadAttribute(HostAttr_BuildingMaterial, index, &material))
            return;
        if (ElementFuncsUtil::AttributeName(material).IsEqual(name, true))
            sum += IElementFuncs::CalcHatchArea(hatch);
    }
    const GS::UniString& name;
    double sum = 0.0;
};

}  // namespace

// ---------------------------------------------------------------------------------------------

namespace ElementFuncsUtil {

GS::UniString FieldText(const char* field, std::size_t fieldSize)
{
    return GS::UniString(std::string(field, strnlen(field, fieldSize)), CC_Default);
}

GS::UniString ArgumentText(const Math_Parameter& argument)
{
    return GS::UniString(argument.text != nullptr ? argument.text : "", CC_Default);
}

GS::Array<GS::UniString> ResNames(GS::Int16 listId, std::initializer_list<GS::Int16> items)
{
    GS::Array<GS::UniString> names;
    for (GS::Int16 item : items)
        names.Push(GetResString(listId, item));
    return names;
}

bool ReadAttribute(GS::Int32 typeID, GS::Int32 index, HostAttribute* attribute)
{
    std::memset(attribute, 0, sizeof *attribute);
    attribute->header.typeID = typeID;
    attribute->header.index = index;
    if (HostGetAttribute(attribute) != NoError)
        return false;
    // A surface hands over its texture name; nothing here needs it.
    const HeldHandle<char> texture(std::exchange(attribute->surface.textureName, nullptr));
    return true;
}

GS::UniString AttributeName(const HostAttribute& attribute)
{
    return FieldText(attribute.header.name, sizeof attribute.header.name);
}

// Reads the memo part that holds the segments and copies the first one.
template <typename SegmentType>
static bool ReadFirstSegment(const API_Element& element, GS::UInt64 part, SegmentType* API_ElementMemo::*segments,
                             Segment* segment)
{
    const HeldMemo memo(element.header.guid, part);
    const SegmentType* first = (*memo).*segments;
    if (!memo || first == nullptr)
        return false;
    if (BMGetPtrSize(reinterpret_cast<GSConstPtr>(first)) < static_cast<GSSize>(sizeof(SegmentType)))
        return false;
    segment->structureType = first->modelElemStructureType;
    segment->profileAttr = first->profileAttr;
    segment->nominalWidth = first->nominalWidth;
    segment->nominalHeight = first->nominalHeight;
    return true;
}

bool ReadFirstBeamSegment(const API_Element& element, Segment* segment)
{
    return ReadFirstSegment(element, APIMemoMask_BeamSegment, &API_ElementMemo::beamSegments, segment);
}

bool ReadFirstColumnSegment(const API_Element& element, Segment* segment)
{
    return ReadFirstSegment(element, APIMemoMask_ColumnSegment, &API_ElementMemo::columnSegments, segment);
}

double BeamProjectionLength(const API_Element& element)
{
    const double dx = element.beam.begC.x - element.beam.endC.x;
    const double dy = element.beam.begC.y - element.beam.endC.y;
    return std::sqrt(dx * dx + dy * dy);
}

double BeamLength(const API_Element& element)
{
    const double projection = BeamProjectionLength(element);
    if (!element.beam.isSlanted)
        return projection;
    // A slant of (nearly) 90 degrees has no finite length along the beam: keep the plan length.
    const double cosine = std::cos(element.beam.slantAngle);
    if (!std::isfinite(cosine) || std::fabs(cosine) < 1e-9)
        return projection;
    return projection / cosine;
}

}  // namespace ElementFuncsUtil

// ---------------------------------------------------------------------------------------------

IElementFuncs::~IElementFuncs() = default;

GS::UniString IElementFuncs::GetTypeName()
{
    return GS::UniString();
}

GS::Array<GS::UniString> IElementFuncs::GetQuantityNames(const API_Element&)
{
    return GetAllQuantityNames();
}

GS::Array<GS::UniString> IElementFuncs::GetFunctionNames(const API_Element&)
{
    return GetAllFunctionNames();
}

bool IElementFuncs::GetElementQuantities(const API_Element& element, const HostQuantitiesMask& mask,
                                         HostElementQuantity* quantity, GS::Array<API_CompositeQuantity>* composites)
{
    std::memset(quantity, 0, sizeof *quantity);
    API_QuantityPar params;
    std::memset(&params, 0, sizeof params);
    API_Quantities results;
    results.elements = quantity;
    results.composites = composites;
    return HostGetElementQuantities(element.header.guid, &params, &results, &mask) == NoError;
}

double IElementFuncs::CompositeCoreVolume(double volume, GS::Int32 structureType,
                                          const GS::Array<API_CompositeQuantity>& composites)
{
    if (structureType != API_CompositeStructure || composites.IsEmpty())
        return volume;
    double core = 0.0;
    for (const API_CompositeQuantity& skin : composites) {
        if ((skin.flags & APISkin_Core) != 0)
            core += skin.volume;
    }
    return core;
}

bool IElementFuncs::GetProfileDimensions(GS::UInt32 profileIndex, double& width, double& height)
{
    bool found = false;
    WithProfileImage(profileIndex, [&](const ProfileVectorImage* image) {
        if (image == nullptr)
            return;
        double w = 0.0;
        double h = 0.0;
        if (ProfileVectorImageOperations().CalculateBuildingDimensions(*image, w, h)) {
            width = w;
            height = h;
            found = true;
        }
    });
    return found;
}

double IElementFuncs::GetProfileArea(GS::UInt32 profileIndex)
{
    double area = 0.0;
    WithProfileImage(profileIndex, [&](const ProfileVectorImage* image) {
        if (image == nullptr)
            return;
        MaterialHatchAreaVisitor visitor;
        ProfileVectorImageOperations().EnumerateHatchObjects(*image, visitor);
        area = visitor.sum;
    });
    return area;
}

double IElementFuncs::GetProfileCoreArea(GS::UInt32 profileIndex, double elementWidth, double elementHeight)
{
    double area = 0.0;
    WithProfileImage(profileIndex, [&](const ProfileVectorImage* image) {
        if (image == nullptr)
            return;
        API_Box whole{0, 0, 0, 0};
        API_Box core{0, 0, 0, 0};
        ProfileVectorImageOperations().CalculateBounds(*image, &whole, &core, nullptr);
        const double W = whole.xMax - whole.xMin;
        const double H = whole.yMax - whole.yMin;
        const double w = core.xMax - core.xMin;
        const double h = core.yMax - core.yMin;
        if (W > 0.0 && H > 0.0 && w > 0.0 && h > 0.0)
            area = (elementHeight / H * h) * (elementWidth / W * w);
    });
    return area;
}

double IElementFuncs::GetProfileRegionArea(GS::UInt32 profileIndex, const GS::UniString& buildingMaterialName)
{
    double area = 0.0;
    WithProfileImage(profileIndex, [&](const ProfileVectorImage* image) {
        if (image == nullptr)
            return;
        RegionHatchAreaVisitor visitor(buildingMaterialName);
        ProfileVectorImageOperations().EnumerateHatchObjects(*image, visitor);
        area = visitor.sum;
    });
    return area;
}

double IElementFuncs::CalcHatchArea(const HatchObject& hatch)
{
    Geometry::MultiPolygon2D polygons;
    if (!hatch.ToPolygon2D(polygons))
        return 0.0;
    double area = 0.0;
    for (const Geometry::Polygon2D& polygon : polygons)
        area += Geometry::PolygonArea(polygon);
    return area;
}

double IElementFuncs::EvaluatePropertyFunction(const API_Element& element, const GS::UniString& name,
                                               const GS::Array<Math_Parameter>& args)
{
    if (name != GS::UniString("Property") || args.IsEmpty() || args[0].kind != Math_TextParameter)
        return 0.0;
    const GS::UniString propertyName = ElementFuncsUtil::ArgumentText(args[0]);

    GS::Array<API_PropertyDefinition> definitions;
    if (HostGetElementPropertyDefinitions(element.header.guid, API_PropertyDefinitionFilter_All, &definitions) !=
        NoError)
        definitions.Clear();

    API_Variant realProbe;
    realProbe.type = API_PropertyRealValueType;
    API_Variant integerProbe;
    integerProbe.type = API_PropertyIntegerValueType;

    for (const API_PropertyDefinition& definition : definitions) {
        const bool numeric =
            HostIsValidPropertyValue(realProbe, definition) || HostIsValidPropertyValue(integerProbe, definition);
        if (!numeric || definition.name != propertyName)
            continue;
        API_Property property;
        if (HostGetElementProperty(element.header.guid, definition.guid, &property) != NoError)
            continue;
        if (property.value.type == API_PropertyRealValueType)
            return property.value.doubleValue;
        return static_cast<double>(property.value.intValue);
    }
    return 0.0;
}

double IElementFuncs::EvaluateParameterFunction(const API_Element& element, const GS::UniString& name,
                                                const GS::UniString& parameterItem,
                                                const GS::Array<Math_Parameter>& args)
{
    if (name != parameterItem || args.GetSize() != 1 || args[0].kind != Math_TextParameter || !element.header.hasMemo)
        return 0.0;
    const GS::UniString wanted = ElementFuncsUtil::ArgumentText(args[0]);

    const HeldMemo memo(element.header.guid, APIMemoMask_All);
    if (!memo || memo->params == nullptr)
        return 0.0;
    const GSSize count = HandleRecords(memo->params);
    for (GSSize i = 0; i < count; ++i) {
        const HostAddParam& param = (*memo->params)[i];
        if (ElementFuncsUtil::FieldText(param.name, sizeof param.name) != wanted)
            continue;
        if (param.typeID == APIParT_Length || param.typeID == APIParT_RealNum)
            return param.value;
    }
    return 0.0;
}

double IElementFuncs::EvaluateSkinFunction(const API_Element& element, GS::Int32 structureType,
                                           GS::Int32 compositeIndex, bool isVolume,
                                           const GS::Array<Math_Parameter>& args)
{
    if (structureType != API_CompositeStructure)
        return 0.0;
    HostQuantitiesMask mask;
    HostMaskClear(&mask);
    HostMaskSet(mask.composites.volume);
    HostMaskSet(mask.composites.area);
    HostElementQuantity quantity;
    GS::Array<API_CompositeQuantity> skins;
    if (!GetElementQuantities(element, mask, &quantity, &skins) || args.GetSize() != 1)
        return 0.0;

    const Math_Parameter& arg = args[0];
    if (arg.kind == Math_NumberParameter) {
        // Range first: 1e20, a negative number or NaN must not reach the integer conversion.
        const double count = static_cast<double>(skins.GetSize());
        if (!(arg.value >= 1.0 && arg.value < count + 1.0))
            return 0.0;
        const GS::UIndex k = static_cast<GS::UIndex>(arg.value);  // truncated toward zero, 1..count
        const API_CompositeQuantity& skin = skins[k - 1];
        return isVolume ? skin.volume : skin.area;
    }
    if (arg.kind != Math_TextParameter)
        return 0.0;

    const GS::UniString materialName = ElementFuncsUtil::ArgumentText(arg);
    HostAttribute composite;
    if (!ElementFuncsUtil::ReadAttribute(HostAttr_Composite, compositeIndex, &composite))
        return 0.0;
    const HeldAttributeDef def(HostAttr_Composite, compositeIndex);
    if (!def)
        return 0.0;

    const GSSize n = std::min(static_cast<GSSize>(skins.GetSize()), HandleRecords(def->skins));
    double volumeSum = 0.0;
    double areaSum = 0.0;
    bool matched = false;
    for (GSSize i = 0; i < n; ++i) {
        HostAttribute material;
        if (!ElementFuncsUtil::ReadAttribute(HostAttr_BuildingMaterial, (*def->skins)[i].buildingMaterial, &material))
            continue;
        if (!ElementFuncsUtil::AttributeName(material).IsEqual(materialName, true))
            continue;
        volumeSum += skins[static_cast<GS::UIndex>(i)].volume;
        areaSum += skins[static_cast<GS::UIndex>(i)].area;
        matched = true;
    }
    if (!matched)
        return 0.0;
    return isVolume ? volumeSum : areaSum;
}

GS::Array<GS::UniString> IElementFuncs::GetNoFunctionNames()
{
    return GS::Array<GS::UniString>();
}

double IElementFuncs::EvaluateNoFunction(GS::UniString, GS::Array<Math_Parameter>)
{
    return 0.0;
}
