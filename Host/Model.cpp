#include "Host/Model.hpp"

#include <algorithm>
#include <cstddef>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <map>
#include <set>
#include <unordered_map>

namespace Host {

namespace {

// ---- Reading JSON values leniently: a missing or mistyped value reads as the default
// (CheckModel reports mistyped ones).

const Json* Member(const Json& j, const char* key)
{
    if (!j.is_object())
        return nullptr;
    auto it = j.find(key);
    return it == j.end() ? nullptr : &*it;
}

double Num(const Json& j, const char* key, double def = 0.0)
{
    const Json* v = Member(j, key);
    return (v != nullptr && v->is_number()) ? v->get<double>() : def;
}

// A JSON number as a 32-bit integer: fractions cut toward zero, numbers beyond the range held at
// its ends (a converted out-of-range double would be undefined, a wrapped one another value).
GS::Int32 ToInt32(const Json& v)
{
    constexpr GS::Int32 lowest = std::numeric_limits<GS::Int32>::min();
    constexpr GS::Int32 highest = std::numeric_limits<GS::Int32>::max();
    if (v.is_number_unsigned()) {
        const std::uint64_t u = v.get<std::uint64_t>();
        return u > static_cast<std::uint64_t>(highest) ? highest : static_cast<GS::Int32>(u);
    }
    if (v.is_number_integer())
        return static_cast<GS::Int32>(std::clamp<std::int64_t>(v.get<std::int64_t>(), lowest, highest));
    const double d = v.get<double>();
    if (std::isnan(d))
        return 0;
    if (d >= static_cast<double>(highest))
        return highest;
    if (d <= static_cast<double>(lowest))
        return lowest;
    return static_cast<GS::Int32>(d);
}

GS::Int32 Int(const Json& j, const char* key, GS::Int32 def = 0)
{
    const Json* v = Member(j, key);
    if (v == nullptr || !v->is_number())
        return def;
    return ToInt32(*v);
}

bool Bool(const Json& j, const char* key, bool def = false)
{
    const Json* v = Member(j, key);
    return (v != nullptr && v->is_boolean()) ? v->get<bool>() : def;
}

std::string Str(const Json& j, const char* key, const std::string& def = "")
{
    const Json* v = Member(j, key);
    return (v != nullptr && v->is_string()) ? v->get<std::string>() : def;
}

const Json& Array(const Json& j, const char* key)
{
    static const Json empty = Json::array();
    const Json* v = Member(j, key);
    return (v != nullptr && v->is_array()) ? *v : empty;
}

API_Coord CoordOf(const Json& v)
{
    API_Coord c{0.0, 0.0};
    if (v.is_array() && v.size() >= 2 && v[0].is_number() && v[1].is_number()) {
        c.x = v[0].get<double>();
        c.y = v[1].get<double>();
    } else if (v.is_object()) {
        c.x = Num(v, "x");
        c.y = Num(v, "y");
    }
    return c;
}

API_Coord Coord(const Json& j, const char* key)
{
    const Json* v = Member(j, key);
    return v != nullptr ? CoordOf(*v) : API_Coord{0.0, 0.0};
}

API_Box BoxOf(const Json& j, const char* key)
{
    API_Box b{0.0, 0.0, 0.0, 0.0};
    const Json* v = Member(j, key);
    if (v != nullptr && v->is_array() && v->size() == 4) {
        double* out[4] = {&b.xMin, &b.yMin, &b.xMax, &b.yMax};
        for (std::size_t i = 0; i < 4; ++i)
            *out[i] = (*v)[i].is_number() ? (*v)[i].get<double>() : 0.0;
    }
    return b;
}

GS::Guid GuidOf(const Json& j, const char* key)
{
    return GS::Guid(Str(j, key).c_str());
}

bool IsGuidText(const std::string& text) { return !GS::Guid(text.c_str()).IsNull(); }

// Copies text into a fixed field, cut to the field; terminated when shorter than the field, or
// always when terminate is set.
void CopyText(char* field, std::size_t size, const std::string& text, bool terminate = true)
{
    std::memset(field, 0, size);
    std::size_t n = std::min(text.size(), terminate ? size - 1 : size);
    std::memcpy(field, text.data(), n);
}

// Names of enumerations, or their numbers.
GS::Int32 ByName(const Json* v, const std::map<std::string, GS::Int32>& names, GS::Int32 def)
{
    if (v == nullptr)
        return def;
    if (v->is_number())
        return ToInt32(*v);
    if (v->is_string()) {
        auto it = names.find(v->get<std::string>());
        if (it != names.end())
            return it->second;
    }
    return def;
}

bool KnownName(const Json* v, const std::map<std::string, GS::Int32>& names)
{
    if (v == nullptr || v->is_number())
        return true;
    return v->is_string() && names.count(v->get<std::string>()) != 0;
}

const std::map<std::string, GS::Int32>& TypeNames()
{
    static const std::map<std::string, GS::Int32> names = {
        {"Wall", API_WallID},       {"Column", API_ColumnID},     {"Beam", API_BeamID},
        {"Window", API_WindowID},   {"Door", API_DoorID},         {"Object", API_ObjectID},
        {"Slab", API_SlabID},       {"Roof", API_RoofID},         {"Zone", API_ZoneID},
        {"Fill", API_HatchID},      {"Hatch", API_HatchID},       {"Line", API_LineID},
        {"Polyline", API_PolyLineID}, {"PolyLine", API_PolyLineID}, {"SectionElement", API_SectElemID},
        {"CurtainWall", API_CurtainWallID}, {"Morph", API_MorphID}, {"Stair", API_StairID},
        {"Railing", API_RailingID}};
    return names;
}

const std::map<std::string, GS::Int32>& StructureNames()
{
    static const std::map<std::string, GS::Int32> names = {
        {"basic", API_BasicStructure}, {"composite", API_CompositeStructure}, {"profile", API_ProfileStructure}};
    return names;
}

const std::map<std::string, GS::Int32>& ParamTypeNames()
{
    static const std::map<std::string, GS::Int32> names = {
        {"integer", APIParT_Integer}, {"length", APIParT_Length}, {"angle", APIParT_Angle},
        {"realNum", APIParT_RealNum}, {"real", APIParT_RealNum},  {"boolean", APIParT_Boolean},
        {"text", APIParT_Text}};
    return names;
}

const std::map<std::string, GS::Int32>& ValueTypeNames()
{
    static const std::map<std::string, GS::Int32> names = {
        {"integer", API_PropertyIntegerValueType}, {"real", API_PropertyRealValueType},
        {"string", API_PropertyStringValueType},   {"boolean", API_PropertyBooleanValueType},
        {"guid", API_PropertyGuidValueType}};
    return names;
}

const std::map<std::string, GS::Int32>& DatabaseTypeNames()
{
    static const std::map<std::string, GS::Int32> names = {
        {"floorPlan", APIWind_FloorPlanID}, {"section", APIWind_SectionID}, {"detail", APIWind_DetailID},
        {"model", APIWind_3DModelID},       {"elevation", APIWind_ElevationID}};
    return names;
}

const std::map<std::string, GS::Int32>& FillTypeNames()
{
    static const std::map<std::string, GS::Int32> names = {
        {"vector", HostFill_Vector}, {"symbol", HostFill_Symbol}, {"solid", HostFill_Solid},
        {"empty", HostFill_Empty},   {"linearGradient", HostFill_LinearGradient},
        {"radialGradient", HostFill_RadialGradient}, {"image", HostFill_Image}};
    return names;
}

GS::Int32 Structure(const Json& element) { return ByName(Member(element, "structure"), StructureNames(), 0); }

// ---- Quantity fields: JSON key, offset in the quantity union, 32-bit integer or double.

struct FieldDef {
    const char* key;
    std::size_t offset;
    bool isInt;
};

#define QTY_FIELD(S, f) FieldDef{#f, offsetof(S, f), std::is_same<decltype(S::f), GS::Int32>::value}

const std::vector<FieldDef>& FieldsOf(GS::Int32 typeID)
{
    static const std::vector<FieldDef> none;
    static const std::vector<FieldDef> wall = {
        QTY_FIELD(API_WallQuantity, volume),        QTY_FIELD(API_WallQuantity, area),
        QTY_FIELD(API_WallQuantity, length),        QTY_FIELD(API_WallQuantity, refLineLength),
        QTY_FIELD(API_WallQuantity, maxHeight),     QTY_FIELD(API_WallQuantity, minHeight),
        QTY_FIELD(API_WallQuantity, perimeter)};
    static const std::vector<FieldDef> column = {
        QTY_FIELD(API_ColumnQuantity, volume), QTY_FIELD(API_ColumnQuantity, coreVolume),
        QTY_FIELD(API_ColumnQuantity, coreArea), QTY_FIELD(API_ColumnQuantity, height)};
    static const std::vector<FieldDef> beam = {
        QTY_FIELD(API_BeamQuantity, volume), QTY_FIELD(API_BeamQuantity, area), QTY_FIELD(API_BeamQuantity, length)};
    static const std::vector<FieldDef> window = {
        QTY_FIELD(API_DoorWindowQuantity, width1),         QTY_FIELD(API_DoorWindowQuantity, width2),
        QTY_FIELD(API_DoorWindowQuantity, height1),        QTY_FIELD(API_DoorWindowQuantity, height2),
        QTY_FIELD(API_DoorWindowQuantity, area),           QTY_FIELD(API_DoorWindowQuantity, area1),
        QTY_FIELD(API_DoorWindowQuantity, area2),          QTY_FIELD(API_DoorWindowQuantity, nominalWidth1),
        QTY_FIELD(API_DoorWindowQuantity, nominalWidth2),  QTY_FIELD(API_DoorWindowQuantity, nominalHeight1),
        QTY_FIELD(API_DoorWindowQuantity, nominalHeight2), QTY_FIELD(API_DoorWindowQuantity, nominalArea1),
        QTY_FIELD(API_DoorWindowQuantity, nominalArea2),   QTY_FIELD(API_DoorWindowQuantity, volume),
        QTY_FIELD(API_DoorWindowQuantity, grossArea),      QTY_FIELD(API_DoorWindowQuantity, grossVolume),
        QTY_FIELD(API_DoorWindowQuantity, sillHeight),     QTY_FIELD(API_DoorWindowQuantity, sillHeight1),
        QTY_FIELD(API_DoorWindowQuantity, sillHeight2),    QTY_FIELD(API_DoorWindowQuantity, sillHeight3),
        QTY_FIELD(API_DoorWindowQuantity, headHeight),     QTY_FIELD(API_DoorWindowQuantity, headHeight1),
        QTY_FIELD(API_DoorWindowQuantity, headHeight2),    QTY_FIELD(API_DoorWindowQuantity, headHeight3)};
    static const std::vector<FieldDef> slab = {
        QTY_FIELD(API_SlabQuantity, volume), QTY_FIELD(API_SlabQuantity, topSurface),
        QTY_FIELD(API_SlabQuantity, bottomSurface), QTY_FIELD(API_SlabQuantity, perimeter)};
    static const std::vector<FieldDef> roof = {
        QTY_FIELD(API_RoofQuantity, volume),        QTY_FIELD(API_RoofQuantity, area),
        QTY_FIELD(API_RoofQuantity, projectionArea), QTY_FIELD(API_RoofQuantity, perimeter),
        QTY_FIELD(API_RoofQuantity, ridgesLength),  QTY_FIELD(API_RoofQuantity, eavesLength),
        QTY_FIELD(API_RoofQuantity, gablesLength),  QTY_FIELD(API_RoofQuantity, valleysLength),
        QTY_FIELD(API_RoofQuantity, hipsLength)};
    static const std::vector<FieldDef> zone = {
        QTY_FIELD(API_ZoneQuantity, area),   QTY_FIELD(API_ZoneQuantity, perimeter), QTY_FIELD(API_ZoneQuantity, volume),
        QTY_FIELD(API_ZoneQuantity, height), QTY_FIELD(API_ZoneQuantity, netArea),   QTY_FIELD(API_ZoneQuantity, calcArea)};
    static const std::vector<FieldDef> stair = {
        QTY_FIELD(API_StairQuantity, volume),         QTY_FIELD(API_StairQuantity, area),
        QTY_FIELD(API_StairQuantity, height),         QTY_FIELD(API_StairQuantity, walklineLength),
        QTY_FIELD(API_StairQuantity, gradient),       QTY_FIELD(API_StairQuantity, numOfRisers),
        QTY_FIELD(API_StairQuantity, numOfTreads)};
    static const std::vector<FieldDef> hatch = {QTY_FIELD(API_HatchQuantity, area),
                                                QTY_FIELD(API_HatchQuantity, perimeter)};
    static const std::vector<FieldDef> morph = {QTY_FIELD(API_MorphQuantity, volume), QTY_FIELD(API_MorphQuantity, area)};
    static const std::vector<FieldDef> railing = {QTY_FIELD(API_RailingQuantity, length),
                                                  QTY_FIELD(API_RailingQuantity, area)};
    static const std::vector<FieldDef> curtainWall = {QTY_FIELD(API_CurtainWallQuantity, length),
                                                      QTY_FIELD(API_CurtainWallQuantity, area)};
    switch (typeID) {
        case API_WallID: return wall;
        case API_ColumnID: return column;
        case API_BeamID: return beam;
        case API_WindowID:
        case API_DoorID: return window;
        case API_SlabID: return slab;
        case API_RoofID: return roof;
        case API_ZoneID: return zone;
        case API_StairID: return stair;
        case API_HatchID: return hatch;
        case API_MorphID: return morph;
        case API_RailingID: return railing;
        case API_CurtainWallID: return curtainWall;
        default: return none;
    }
}

#undef QTY_FIELD

bool MaskAsks(const HostQuantitiesMask* mask, std::size_t offset, std::size_t size)
{
    if (mask == nullptr)
        return true;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&mask->elements) + offset;
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] != 0xFF)
            return false;
    }
    return true;
}

const Json& Params(const Json& model, const Json& element)
{
    const Json* own = Member(element, "params");
    if (own != nullptr && own->is_array())
        return *own;
    const Json* part = FindLibraryPart(model, Int(element, "libInd"));
    return part != nullptr ? Array(*part, "params") : Array(element, "params");
}

bool HasMemoData(const Json& model, const Json& element)
{
    const Json* flag = Member(element, "hasMemo");
    if (flag != nullptr && flag->is_boolean())
        return flag->get<bool>();
    const Json* polygon = Member(element, "polygon");
    if (polygon != nullptr && !Array(*polygon, "coords").empty())
        return true;
    return !Array(element, "segments").empty() || !Params(model, element).empty();
}

API_Polygon PolygonCounts(const Json& element)
{
    API_Polygon p{0, 0, 0, 0};
    const Json* polygon = Member(element, "polygon");
    if (polygon == nullptr)
        return p;
    p.nCoords = Int(*polygon, "nCoords", static_cast<GS::Int32>(Array(*polygon, "coords").size()));
    p.nArcs = Int(*polygon, "nArcs", static_cast<GS::Int32>(Array(*polygon, "arcs").size()));
    p.nSubPolys = p.nCoords > 0 ? 1 : 0;
    return p;
}

const Json& AttributeList(const Json& model, GS::Int32 typeID)
{
    static const Json empty = Json::array();
    const Json* attributes = Member(model, "attributes");
    if (attributes == nullptr)
        return empty;
    switch (typeID) {
        case HostAttr_Fill: return Array(*attributes, "fills");
        case HostAttr_Composite: return Array(*attributes, "composites");
        case HostAttr_Surface: return Array(*attributes, "surfaces");
        case HostAttr_Profile: return Array(*attributes, "profiles");
        case HostAttr_BuildingMaterial: return Array(*attributes, "buildingMaterials");
        default: return empty;
    }
}

const GS::Guid kFloorPlanGuid("A1F0C2D4-0001-4C0A-9E11-000000000001");
const GS::Guid kModelGuid("A1F0C2D4-0004-4C0A-9E11-000000000004");

GS::Int32 ParamType(const Json& param) { return ByName(Member(param, "type"), ParamTypeNames(), 0); }

GS::Int32 ValueType(const Json& definition)
{
    return ByName(Member(definition, "valueType"), ValueTypeNames(), API_PropertyUndefinedValueType);
}

// Converts a stored value to a variant of the definition's type: false when it does not fit.
bool ToVariant(const Json& value, GS::Int32 valueType, API_Variant* variant)
{
    variant->type = static_cast<API_VariantType>(valueType);
    switch (valueType) {
        case API_PropertyRealValueType:
            if (!value.is_number())
                return false;
            variant->doubleValue = value.get<double>();
            return true;
        case API_PropertyIntegerValueType:
            if (!value.is_number_integer())
                return false;
            variant->intValue = ToInt32(value);
            return true;
        case API_PropertyStringValueType:
            if (!value.is_string())
                return false;
            variant->uniStringValue = GS::UniString(value.get<std::string>());
            return true;
        case API_PropertyBooleanValueType:
            if (!value.is_boolean())
                return false;
            variant->boolValue = value.get<bool>();
            return true;
        case API_PropertyGuidValueType:
            if (!value.is_string() || !IsGuidText(value.get<std::string>()))
                return false;
            variant->guidValue = GSGuid2APIGuid(GS::Guid(value.get<std::string>().c_str()));
            return true;
        default: return false;
    }
}

}  // namespace

// ---- Elements.

GS::Int32 ParseElementType(const Json& value) { return ByName(&value, TypeNames(), 0); }

const char* ElementTypeName(GS::Int32 typeID)
{
    for (const char* name : {"Wall", "Column", "Beam", "Window", "Door", "Object", "Slab", "Roof", "Zone", "Fill",
                             "Line", "Polyline", "SectionElement", "CurtainWall", "Morph", "Stair", "Railing"}) {
        if (TypeNames().at(name) == typeID)
            return name;
    }
    return "";
}

GS::Int32 ElementType(const Json& element)
{
    const Json* v = Member(element, "typeID");
    return v != nullptr ? ParseElementType(*v) : 0;
}

namespace {
// Positions of the elements by guid. The model may change between calls, so a position is used
// only after its element's guid was checked again, and a miss rebuilds the index once.
struct ElementIndex {
    const Json* elements = nullptr;
    std::size_t size = 0;
    std::unordered_map<GS::Guid, std::size_t> at;

    void Build(const Json& list)
    {
        elements = &list;
        size = list.size();
        at.clear();
        for (std::size_t i = 0; i < size; ++i)
            at.emplace(GuidOf(list[i], "guid"), i);  // the first of a repeated guid wins
    }

    const Json* Lookup(const Json& list, const GS::Guid& guid) const
    {
        auto it = at.find(guid);
        if (it == at.end() || it->second >= list.size())
            return nullptr;
        const Json& element = list[it->second];
        return GuidOf(element, "guid") == guid ? &element : nullptr;
    }
};
}  // namespace

const Json* FindElement(const Json& model, const GS::Guid& guid)
{
    static ElementIndex index;
    if (guid.IsNull())
        return nullptr;
    const Json& list = Array(model, "elements");
    if (index.elements == &list && index.size == list.size()) {
        if (const Json* found = index.Lookup(list, guid))
            return found;
    }
    index.Build(list);
    return index.Lookup(list, guid);
}

const Json* FindElement(const Json& model, const API_Guid& guid) { return FindElement(model, APIGuid2GSGuid(guid)); }

void FillElementHeader(const Json& model, const Json& element, API_Elem_Head* header)
{
    std::memset(header, 0, sizeof *header);
    header->typeID = ElementType(element);
    header->guid = GSGuid2APIGuid(GuidOf(element, "guid"));
    header->floorInd = static_cast<GS::Int16>(Int(element, "story"));
    header->hasMemo = HasMemoData(model, element);
}

void FillElementRecord(const Json& model, const Json& element, API_Element* record)
{
    std::memset(record, 0, sizeof *record);
    FillElementHeader(model, element, &record->header);
    const GS::Int32 segments = static_cast<GS::Int32>(Array(element, "segments").size());
    switch (record->header.typeID) {
        case API_WallID: {
            API_WallType& w = record->wall;
            w.begC = Coord(element, "begC");
            w.endC = Coord(element, "endC");
            w.thickness = Num(element, "thickness");
            w.height = Num(element, "height");
            w.modelElemStructureType = Structure(element);
            w.composite = Int(element, "composite");
            w.profileAttr = Int(element, "profile");
            w.buildingMaterial = Int(element, "buildingMaterial");
            break;
        }
        case API_ColumnID:
            record->column.origoPos = Coord(element, "origoPos");
            record->column.height = Num(element, "height");
            record->column.nSegments = segments;
            break;
        case API_BeamID:
            record->beam.begC = Coord(element, "begC");
            record->beam.endC = Coord(element, "endC");
            record->beam.isSlanted = Bool(element, "isSlanted");
            record->beam.slantAngle = Num(element, "slantAngle");
            record->beam.nSegments = segments;
            break;
        case API_WindowID:
        case API_DoorID:
            record->window.libInd = Int(element, "libInd");
            record->window.width = Num(element, "width");
            record->window.height = Num(element, "height");
            record->window.owner = GSGuid2APIGuid(GuidOf(element, "owner"));
            break;
        case API_ObjectID:
            record->object.libInd = Int(element, "libInd");
            record->object.pos = Coord(element, "pos");
            record->object.a = Num(element, "a");
            record->object.b = Num(element, "b");
            break;
        case API_SlabID:
            record->slab.thickness = Num(element, "thickness");
            record->slab.level = Num(element, "level");
            record->slab.modelElemStructureType = Structure(element);
            record->slab.composite = Int(element, "composite");
            record->slab.buildingMaterial = Int(element, "buildingMaterial");
            break;
        case API_RoofID:
            record->roof.thickness = Num(element, "thickness");
            record->roof.modelElemStructureType = Structure(element);
            record->roof.composite = Int(element, "composite");
            record->roof.buildingMaterial = Int(element, "buildingMaterial");
            break;
        case API_ZoneID:
            record->zone.libInd = Int(element, "libInd");
            CopyText(record->zone.roomName, sizeof record->zone.roomName, Str(element, "roomName"));
            CopyText(record->zone.roomNoStr, sizeof record->zone.roomNoStr, Str(element, "roomNoStr"));
            record->zone.poly = PolygonCounts(element);
            break;
        case API_HatchID:
            record->hatch.fillInd = Int(element, "fillInd");
            record->hatch.poly = PolygonCounts(element);
            break;
        case API_LineID:
            record->line.begC = Coord(element, "begC");
            record->line.endC = Coord(element, "endC");
            break;
        case API_PolyLineID: record->polyLine.poly = PolygonCounts(element); break;
        case API_SectElemID: {
            GS::Guid parent = GuidOf(element, "parentGuid");
            record->sectElem.parentGuid = GSGuid2APIGuid(parent);
            const Json* parentElement = FindElement(model, parent);
            record->sectElem.parentID =
                Int(element, "parentID", parentElement != nullptr ? ElementType(*parentElement) : 0);
            break;
        }
        case API_CurtainWallID:
            record->curtainWall.height = Num(element, "height");
            record->curtainWall.poly = PolygonCounts(element);
            break;
        case API_MorphID: record->morph.buildingMaterial = Int(element, "buildingMaterial"); break;
        case API_StairID: record->stair.height = Num(element, "height"); break;
        case API_RailingID:
            record->railing.height = Num(element, "height");
            record->railing.nSegments = segments;
            break;
        default: break;
    }
}

// ---- Memos.

namespace {

template <typename T>
T** AllocHandle(std::size_t count)
{
    return reinterpret_cast<T**>(BMAllocateHandle(static_cast<GSSize>(count * sizeof(T))));
}

template <typename Segment>
Segment* MakeSegments(const Json& element)
{
    const Json& list = Array(element, "segments");
    if (list.empty())
        return nullptr;
    auto* segments = reinterpret_cast<Segment*>(BMAllocatePtr(static_cast<GSSize>(list.size() * sizeof(Segment))));
    if (segments == nullptr)
        return nullptr;
    std::memset(segments, 0, list.size() * sizeof(Segment));
    for (std::size_t i = 0; i < list.size(); ++i) {
        segments[i].modelElemStructureType = Structure(list[i]);
        segments[i].profileAttr = Int(list[i], "profile");
        segments[i].buildingMaterial = Int(list[i], "buildingMaterial");
        segments[i].nominalWidth = Num(list[i], "nominalWidth");
        segments[i].nominalHeight = Num(list[i], "nominalHeight");
    }
    return segments;
}

}  // namespace

HostAddParam** MakeAddParams(const Json& params)
{
    if (!params.is_array() || params.empty())
        return nullptr;
    HostAddParam** handle = AllocHandle<HostAddParam>(params.size());
    if (handle == nullptr)
        return nullptr;
    for (std::size_t i = 0; i < params.size(); ++i) {
        const Json& p = params[i];
        HostAddParam& out = (*handle)[i];
        out.typeID = ParamType(p);
        out.index = Int(p, "index", static_cast<GS::Int32>(i + 1));
        // As the host does: a name of 32 bytes fills its field without a terminator.
        CopyText(out.name, sizeof out.name, Str(p, "name"), false);
        CopyText(out.description, sizeof out.description, Str(p, "description"));
        out.value = Num(p, "value");
        const Json* v = Member(p, "value");
        if (v != nullptr && v->is_boolean())
            out.value = v->get<bool>() ? 1.0 : 0.0;
        CopyText(out.valueStr, sizeof out.valueStr, v != nullptr && v->is_string() ? v->get<std::string>() : "");
    }
    return handle;
}

void FillElementMemo(const Json& model, const Json& element, GS::UInt64 mask, API_ElementMemo* memo)
{
    std::memset(memo, 0, sizeof *memo);
    const GS::Int32 typeID = ElementType(element);
    const Json* polygon = Member(element, "polygon");
    if ((mask & APIMemoMask_Polygon) != 0 && polygon != nullptr) {
        const Json& coords = Array(*polygon, "coords");
        if (!coords.empty()) {
            memo->coords = AllocHandle<API_Coord>(coords.size() + 1);  // vertices from 1; entry 0 unused
            if (memo->coords != nullptr) {
                for (std::size_t i = 0; i < coords.size(); ++i)
                    (*memo->coords)[i + 1] = CoordOf(coords[i]);
            }
        }
        const Json& arcs = Array(*polygon, "arcs");
        if (!arcs.empty()) {
            memo->parcs = AllocHandle<API_PolyArc>(arcs.size());
            if (memo->parcs != nullptr) {
                for (std::size_t i = 0; i < arcs.size(); ++i) {
                    (*memo->parcs)[i].begIndex = Int(arcs[i], "begIndex");
                    (*memo->parcs)[i].endIndex = Int(arcs[i], "endIndex");
                    (*memo->parcs)[i].arcAngle = Num(arcs[i], "arcAngle");
                }
            }
        }
    }
    if ((mask & APIMemoMask_AddPars) != 0)
        memo->params = MakeAddParams(Params(model, element));
    if ((mask & APIMemoMask_ColumnSegment) != 0 && typeID == API_ColumnID)
        memo->columnSegments = MakeSegments<API_ColumnSegmentType>(element);
    if ((mask & APIMemoMask_BeamSegment) != 0 && typeID == API_BeamID)
        memo->beamSegments = MakeSegments<API_BeamSegmentType>(element);
}

void ReleaseElementMemo(API_ElementMemo* memo)
{
    BMKillHandle(reinterpret_cast<GSHandle*>(&memo->coords));
    BMKillHandle(reinterpret_cast<GSHandle*>(&memo->parcs));
    BMKillHandle(reinterpret_cast<GSHandle*>(&memo->params));
    GSPtr columns = reinterpret_cast<GSPtr>(memo->columnSegments);
    GSPtr beams = reinterpret_cast<GSPtr>(memo->beamSegments);
    BMKillPtr(&columns);
    BMKillPtr(&beams);
    std::memset(memo, 0, sizeof *memo);
}

// ---- Quantities.

bool HasQuantityRecord(GS::Int32 typeID) { return !FieldsOf(typeID).empty(); }

std::vector<std::string> QuantityKeys(GS::Int32 typeID)
{
    std::vector<std::string> keys;
    for (const FieldDef& f : FieldsOf(typeID))
        keys.push_back(f.key);
    return keys;
}

void FillQuantities(const Json& element, const HostQuantitiesMask* mask, HostElementQuantity* quantities)
{
    static const Json noQuantities = Json::object();
    const Json* stored = Member(element, "quantities");
    const Json& values = (stored != nullptr && stored->is_object()) ? *stored : noQuantities;
    auto* base = reinterpret_cast<unsigned char*>(quantities);
    for (const FieldDef& f : FieldsOf(ElementType(element))) {
        if (!MaskAsks(mask, f.offset, f.isInt ? sizeof(GS::Int32) : sizeof(double)))
            continue;
        if (f.isInt) {
            GS::Int32 v = Int(values, f.key);
            std::memcpy(base + f.offset, &v, sizeof v);
        } else {
            double v = Num(values, f.key);
            std::memcpy(base + f.offset, &v, sizeof v);
        }
    }
}

void FillCompositeQuantities(const Json& element, const HostQuantitiesMask* mask,
                             GS::Array<API_CompositeQuantity>* composites)
{
    composites->Clear();
    const GS::Int32 typeID = ElementType(element);
    const bool composite = (typeID == API_WallID || typeID == API_SlabID || typeID == API_RoofID) &&
                           Structure(element) == API_CompositeStructure;
    if (!composite)
        return;
    const bool volume = mask == nullptr || HostMaskIsSet(mask->composites.volume);
    const bool area = mask == nullptr || HostMaskIsSet(mask->composites.area);
    const bool flags = mask == nullptr || HostMaskIsSet(mask->composites.flags);
    if (!volume && !area && !flags)
        return;
    for (const Json& skin : Array(element, "skins")) {
        API_CompositeQuantity q{};
        if (volume)
            q.volume = Num(skin, "volume");
        if (area)
            q.area = Num(skin, "area");
        if (flags) {
            q.flags = Int(skin, "flags");
            if (Bool(skin, "core"))
                q.flags |= APISkin_Core;
        }
        composites->Push(q);
    }
}

// ---- Databases.

std::vector<DatabaseEntry> Databases(const Json& model)
{
    std::vector<DatabaseEntry> list;
    for (const Json& db : Array(model, "databases")) {
        DatabaseEntry e;
        e.typeID = ByName(Member(db, "typeID"), DatabaseTypeNames(), 0);
        e.index = Int(db, "index");
        e.guid = GuidOf(db, "guid");
        e.name = Str(db, "name");
        list.push_back(e);
    }
    auto hasType = [&](GS::Int32 t) {
        return std::any_of(list.begin(), list.end(), [t](const DatabaseEntry& e) { return e.typeID == t; });
    };
    if (!hasType(APIWind_FloorPlanID))
        list.insert(list.begin(), DatabaseEntry{APIWind_FloorPlanID, 0, kFloorPlanGuid, "Floor Plan"});
    if (!hasType(APIWind_3DModelID))
        list.push_back(DatabaseEntry{APIWind_3DModelID, 0, kModelGuid, "3D Model"});
    return list;
}

bool FindDatabase(const Json& model, GS::Int32 typeID, const GS::Guid& guid, DatabaseEntry* found)
{
    for (const DatabaseEntry& e : Databases(model)) {
        const bool fits = guid.IsNull() ? e.typeID == typeID : (e.guid == guid && (typeID == 0 || e.typeID == typeID));
        if (fits) {
            if (found != nullptr)
                *found = e;
            return true;
        }
    }
    return false;
}

DatabaseEntry CurrentDatabase(const Json& model)
{
    DatabaseEntry current;
    GS::Guid guid = GuidOf(model, "currentDatabase");
    if (!guid.IsNull() && FindDatabase(model, 0, guid, &current))
        return current;
    FindDatabase(model, APIWind_FloorPlanID, GS::Guid(), &current);
    return current;
}

DatabaseEntry ContainingDatabase(const Json& model, const Json& element)
{
    DatabaseEntry db;
    GS::Guid guid = GuidOf(element, "database");
    if (!guid.IsNull() && FindDatabase(model, 0, guid, &db))
        return db;
    if (ElementType(element) == API_SectElemID && FindDatabase(model, APIWind_SectionID, GS::Guid(), &db))
        return db;
    FindDatabase(model, APIWind_FloorPlanID, GS::Guid(), &db);
    return db;
}

void ToDatabaseInfo(const DatabaseEntry& entry, HostDatabaseInfo* info)
{
    std::memset(info, 0, sizeof *info);
    info->typeID = entry.typeID;
    info->index = entry.index;
    info->databaseUnId = GSGuid2APIGuid(entry.guid);
    CopyText(info->name, sizeof info->name, entry.name);
}

// ---- Attributes.

const Json* FindAttribute(const Json& model, GS::Int32 typeID, GS::Int32 index)
{
    if (index <= 0)
        return nullptr;
    for (const Json& attribute : AttributeList(model, typeID)) {
        if (Int(attribute, "index") == index)
            return &attribute;
    }
    return nullptr;
}

void FillAttribute(const Json& attribute, GS::Int32 typeID, HostAttribute* record)
{
    const GS::Int32 index = record->header.index;
    std::memset(record, 0, sizeof *record);
    record->header.typeID = typeID;
    record->header.index = index;
    CopyText(record->header.name, sizeof record->header.name, Str(attribute, "name"));
    switch (typeID) {
        case HostAttr_Composite:
            record->composite.nComps = static_cast<GS::Int16>(Array(attribute, "skins").size());
            break;
        case HostAttr_BuildingMaterial:
            record->buildingMaterial.cutFill = Int(attribute, "cutFill");
            record->buildingMaterial.cutFillPen = static_cast<GS::Int16>(Int(attribute, "cutFillPen"));
            record->buildingMaterial.cutFillBackgroundPen =
                static_cast<GS::Int16>(Int(attribute, "cutFillBackgroundPen"));
            record->buildingMaterial.surface = Int(attribute, "surface");
            record->buildingMaterial.showSurfaceFrame = Bool(attribute, "showSurfaceFrame");
            break;
        case HostAttr_Fill: {
            record->fill.subType = ByName(Member(attribute, "subType"), FillTypeNames(), HostFill_Vector);
            const Json& pattern = Array(attribute, "pattern");
            for (std::size_t i = 0; i < 8 && i < pattern.size(); ++i)
                record->fill.bitPattern[i] =
                    static_cast<GS::UInt8>(pattern[i].is_number_integer() ? pattern[i].get<std::int64_t>() : 0);
            break;
        }
        case HostAttr_Surface: {
            const Json& color = Array(attribute, "color");
            double* rgb[3] = {&record->surface.surfaceRGB.f_red, &record->surface.surfaceRGB.f_green,
                              &record->surface.surfaceRGB.f_blue};
            for (std::size_t i = 0; i < 3 && i < color.size(); ++i)
                *rgb[i] = color[i].is_number() ? color[i].get<double>() : 0.0;
            const std::string texture = Str(attribute, "texture");
            if (!texture.empty()) {
                record->surface.textureName = BMAllocateHandle(static_cast<GSSize>(texture.size() + 1));
                if (record->surface.textureName != nullptr)
                    std::memcpy(*record->surface.textureName, texture.c_str(), texture.size() + 1);
            }
            break;
        }
        default: break;
    }
}

HostCompositeSkin** MakeCompositeSkins(const Json& composite)
{
    const Json& skins = Array(composite, "skins");
    HostCompositeSkin** handle = AllocHandle<HostCompositeSkin>(skins.size());
    if (handle == nullptr)
        return nullptr;
    for (std::size_t i = 0; i < skins.size(); ++i) {
        HostCompositeSkin& s = (*handle)[i];
        s.buildingMaterial = Int(skins[i], "buildingMaterial");
        s.flags = Int(skins[i], "flags") | (Bool(skins[i], "core") ? APISkin_Core : 0);
        s.thickness = Num(skins[i], "thickness");
    }
    return handle;
}

ProfileVectorImage* MakeProfileImage(const Json& profile)
{
    const Json* image = Member(profile, "image");
    if (image == nullptr || !image->is_object())
        return nullptr;
    auto* result = new ProfileVectorImage;
    result->buildingWidth = Num(*image, "buildingWidth");
    result->buildingHeight = Num(*image, "buildingHeight");
    result->wholeBox = BoxOf(*image, "wholeBox");
    result->coreBox = BoxOf(*image, "coreBox");
    result->contourBox = BoxOf(*image, "contourBox");
    for (const Json& hatch : Array(*image, "hatches")) {
        Geometry::Polygon2D polygon;
        auto addContour = [&](const Json& points) {
            GS::Array<API_Coord> contour;
            for (const Json& p : points)
                contour.Push(CoordOf(p));
            polygon.contours.Push(contour);
        };
        if (Member(hatch, "contours") != nullptr) {
            for (const Json& contour : Array(hatch, "contours"))
                addContour(contour);
        } else {
            addContour(Array(hatch, "polygon"));
        }
        const GS::Int32 material = Int(hatch, "buildingMaterial");
        const bool isMaterial = Bool(hatch, "buildingMaterialHatch", material > 0);
        result->hatches.Push(HatchObject(isMaterial, ADB::AttributeIndex(material), polygon));
    }
    return result;
}

const Json* FindPen(const Json& model, GS::Int16 index)
{
    for (const Json& pen : Array(model, "pens")) {
        if (Int(pen, "index") == index)
            return &pen;
    }
    return nullptr;
}

const Json* FindLibraryPart(const Json& model, GS::Int32 index)
{
    if (index <= 0)
        return nullptr;
    for (const Json& part : Array(model, "libraryParts")) {
        if (Int(part, "index") == index)
            return &part;
    }
    return nullptr;
}

// ---- Properties.

std::vector<const Json*> PropertyDefinitionsFor(const Json& model, const Json& element)
{
    std::vector<const Json*> list;
    const GS::Int32 typeID = ElementType(element);
    for (const Json& definition : Array(model, "propertyDefinitions")) {
        const Json* types = Member(definition, "types");
        bool applies = types == nullptr || !types->is_array();
        if (!applies) {
            for (const Json& t : *types)
                applies = applies || ParseElementType(t) == typeID;
        }
        if (applies)
            list.push_back(&definition);
    }
    return list;
}

const Json* FindPropertyDefinition(const Json& model, const GS::Guid& guid)
{
    if (guid.IsNull())
        return nullptr;
    for (const Json& definition : Array(model, "propertyDefinitions")) {
        if (GuidOf(definition, "guid") == guid)
            return &definition;
    }
    return nullptr;
}

void ToPropertyDefinition(const Json& definition, API_PropertyDefinition* record)
{
    *record = API_PropertyDefinition();
    record->guid = GSGuid2APIGuid(GuidOf(definition, "guid"));
    record->groupGuid = GSGuid2APIGuid(GuidOf(definition, "group"));
    record->name = GS::UniString(Str(definition, "name"));
    record->description = GS::UniString(Str(definition, "description"));
    record->valueType = static_cast<API_VariantType>(ValueType(definition));
}

bool PropertyValue(const Json& element, const Json& definition, API_Property* property)
{
    *property = API_Property();
    ToPropertyDefinition(definition, &property->definition);
    const GS::Guid defGuid = GuidOf(definition, "guid");
    const Json* own = nullptr;
    const Json* values = Member(element, "properties");
    if (values != nullptr && values->is_object()) {
        for (auto it = values->begin(); it != values->end(); ++it) {
            if (GS::Guid(it.key().c_str()) == defGuid) {
                own = &it.value();
                break;
            }
        }
    }
    if (own != nullptr)
        return ToVariant(*own, ValueType(definition), &property->value);
    const Json* def = Member(definition, "default");
    if (def == nullptr)
        return false;
    property->isDefault = true;
    return ToVariant(*def, ValueType(definition), &property->value);
}

// ---- Stories.

std::vector<StoryEntry> Stories(const Json& model)
{
    std::vector<StoryEntry> list;
    for (const Json& story : Array(model, "stories"))
        list.push_back(StoryEntry{static_cast<GS::Int16>(Int(story, "index")), Num(story, "level"), Str(story, "name")});
    std::stable_sort(list.begin(), list.end(),
                     [](const StoryEntry& a, const StoryEntry& b) { return a.index < b.index; });
    return list;
}

// ---- Checking a model.

namespace {

class Checker {
public:
    explicit Checker(const Json& model) : model(model) {}

    std::vector<std::string> Run()
    {
        CheckAttributes();
        CheckDefinitions();
        CheckLibraryParts();
        CheckDatabases();
        std::set<std::string> seen;
        const Json& elements = Array(model, "elements");
        for (std::size_t i = 0; i < elements.size(); ++i)
            CheckElement(elements[i], "element " + std::to_string(i), seen);
        return problems;
    }

private:
    void Problem(const std::string& where, const std::string& what) { problems.push_back(where + ": " + what); }

    void CheckKeys(const Json& j, const std::string& where, const std::set<std::string>& allowed)
    {
        if (!j.is_object()) {
            Problem(where, "not an object");
            return;
        }
        for (auto it = j.begin(); it != j.end(); ++it) {
            if (allowed.count(it.key()) == 0)
                Problem(where, "unknown key \"" + it.key() + "\"");
        }
    }

    void CheckNumbers(const Json& j, const std::string& where, std::initializer_list<const char*> keys)
    {
        for (const char* key : keys) {
            const Json* v = Member(j, key);
            if (v != nullptr && !v->is_number())
                Problem(where, std::string("\"") + key + "\" is not a number");
        }
    }

    void CheckAttributeRef(const Json& j, const std::string& where, const char* key, GS::Int32 typeID)
    {
        const Json* v = Member(j, key);
        if (v == nullptr)
            return;
        const GS::Int32 index = Int(j, key);
        if (index != 0 && FindAttribute(model, typeID, index) == nullptr)
            Problem(where, std::string("\"") + key + "\" names no attribute " + std::to_string(index));
    }

    void CheckAttributes()
    {
        const Json* attributes = Member(model, "attributes");
        if (attributes == nullptr)
            return;
        CheckKeys(*attributes, "attributes", {"fills", "composites", "surfaces", "profiles", "buildingMaterials"});
        struct Kind {
            const char* key;
            GS::Int32 typeID;
            std::set<std::string> keys;
        };
        const Kind kinds[] = {
            {"fills", HostAttr_Fill, {"index", "name", "subType", "pattern"}},
            {"composites", HostAttr_Composite, {"index", "name", "skins"}},
            {"surfaces", HostAttr_Surface, {"index", "name", "color", "texture"}},
            {"profiles", HostAttr_Profile, {"index", "name", "image"}},
            {"buildingMaterials",
             HostAttr_BuildingMaterial,
             {"index", "name", "cutFill", "cutFillPen", "cutFillBackgroundPen", "surface", "showSurfaceFrame"}}};
        for (const Kind& kind : kinds) {
            std::set<GS::Int32> indices;
            const Json& list = Array(*attributes, kind.key);
            for (std::size_t i = 0; i < list.size(); ++i) {
                const std::string where = std::string(kind.key) + " " + std::to_string(i);
                CheckKeys(list[i], where, kind.keys);
                const GS::Int32 index = Int(list[i], "index");
                if (index <= 0)
                    Problem(where, "needs an index of 1 or more");
                else if (!indices.insert(index).second)
                    Problem(where, "index " + std::to_string(index) + " is used twice");
                if (kind.typeID == HostAttr_Composite) {
                    for (const Json& skin : Array(list[i], "skins")) {
                        CheckKeys(skin, where + " skin", {"buildingMaterial", "thickness", "core", "flags"});
                        CheckAttributeRef(skin, where + " skin", "buildingMaterial", HostAttr_BuildingMaterial);
                    }
                }
                if (kind.typeID == HostAttr_BuildingMaterial) {
                    CheckAttributeRef(list[i], where, "cutFill", HostAttr_Fill);
                    CheckAttributeRef(list[i], where, "surface", HostAttr_Surface);
                }
                if (kind.typeID == HostAttr_Profile && Member(list[i], "image") != nullptr) {
                    const Json& image = *Member(list[i], "image");
                    CheckKeys(image, where + " image",
                              {"buildingWidth", "buildingHeight", "wholeBox", "coreBox", "contourBox", "hatches"});
                    for (const Json& hatch : Array(image, "hatches")) {
                        CheckKeys(hatch, where + " hatch",
                                  {"buildingMaterial", "buildingMaterialHatch", "polygon", "contours"});
                        CheckAttributeRef(hatch, where + " hatch", "buildingMaterial", HostAttr_BuildingMaterial);
                    }
                }
                if (kind.typeID == HostAttr_Fill && !KnownName(Member(list[i], "subType"), FillTypeNames()))
                    Problem(where, "unknown fill subType");
            }
        }
    }

    void CheckDefinitions()
    {
        std::set<GS::Guid> guids;
        const Json& list = Array(model, "propertyDefinitions");
        for (std::size_t i = 0; i < list.size(); ++i) {
            const std::string where = "propertyDefinitions " + std::to_string(i);
            CheckKeys(list[i], where, {"guid", "group", "name", "description", "valueType", "default", "types"});
            GS::Guid g = GuidOf(list[i], "guid");
            if (g.IsNull())
                Problem(where, "needs a guid");
            else if (!guids.insert(g).second)
                Problem(where, "guid used twice");
            if (ValueType(list[i]) == API_PropertyUndefinedValueType ||
                !KnownName(Member(list[i], "valueType"), ValueTypeNames()))
                Problem(where, "unknown valueType");
            const Json* def = Member(list[i], "default");
            API_Variant probe;
            if (def != nullptr && !ToVariant(*def, ValueType(list[i]), &probe))
                Problem(where, "default does not fit the valueType");
            for (const Json& t : Array(list[i], "types")) {
                if (ParseElementType(t) == 0)
                    Problem(where, "unknown element type in types");
            }
        }
    }

    void CheckParams(const Json& params, const std::string& where)
    {
        for (const Json& p : params) {
            CheckKeys(p, where + " param", {"name", "type", "value", "description", "index"});
            if (ParamType(p) == 0 || !KnownName(Member(p, "type"), ParamTypeNames()))
                Problem(where, "param \"" + Str(p, "name") + "\" has an unknown type");
            if (Str(p, "name").size() > 32)
                Problem(where, "param \"" + Str(p, "name") + "\" has a name longer than 32 bytes");
        }
    }

    void CheckLibraryParts()
    {
        const Json& list = Array(model, "libraryParts");
        for (std::size_t i = 0; i < list.size(); ++i) {
            const std::string where = "libraryParts " + std::to_string(i);
            CheckKeys(list[i], where, {"index", "name", "a", "b", "params"});
            if (Int(list[i], "index") <= 0)
                Problem(where, "needs an index of 1 or more");
            CheckParams(Array(list[i], "params"), where);
        }
        for (const Json& pen : Array(model, "pens")) {
            CheckKeys(pen, "pens", {"index", "color", "width"});
        }
        for (const Json& story : Array(model, "stories")) {
            CheckKeys(story, "stories", {"index", "name", "level"});
        }
    }

    void CheckDatabases()
    {
        for (const Json& db : Array(model, "databases")) {
            CheckKeys(db, "databases", {"guid", "typeID", "name", "index"});
            if (GuidOf(db, "guid").IsNull())
                Problem("databases", "\"" + Str(db, "name") + "\" needs a guid");
            if (ByName(Member(db, "typeID"), DatabaseTypeNames(), 0) == 0)
                Problem("databases", "\"" + Str(db, "name") + "\" has an unknown typeID");
        }
        const Json* current = Member(model, "currentDatabase");
        if (current != nullptr && !FindDatabase(model, 0, GuidOf(model, "currentDatabase"), nullptr))
            Problem("currentDatabase", "names no database");
    }

    void CheckElement(const Json& element, const std::string& where, std::set<std::string>& seen)
    {
        static const std::set<std::string> common = {
            "guid", "typeID", "id", "story", "database", "hasMemo", "quantities", "properties", "params", "note"};
        static const std::map<GS::Int32, std::set<std::string>> perType = {
            {API_WallID,
             {"begC", "endC", "thickness", "height", "structure", "composite", "profile", "buildingMaterial", "skins"}},
            {API_ColumnID, {"origoPos", "height", "segments"}},
            {API_BeamID, {"begC", "endC", "isSlanted", "slantAngle", "segments"}},
            {API_WindowID, {"libInd", "width", "height", "owner"}},
            {API_DoorID, {"libInd", "width", "height", "owner"}},
            {API_ObjectID, {"libInd", "pos", "a", "b"}},
            {API_SlabID, {"thickness", "level", "structure", "composite", "buildingMaterial", "skins", "polygon"}},
            {API_RoofID, {"thickness", "structure", "composite", "buildingMaterial", "skins", "polygon"}},
            {API_ZoneID, {"libInd", "roomName", "roomNoStr", "polygon"}},
            {API_HatchID, {"fillInd", "polygon"}},
            {API_LineID, {"begC", "endC"}},
            {API_PolyLineID, {"polygon"}},
            {API_SectElemID, {"parentGuid", "parentID"}},
            {API_CurtainWallID, {"height", "polygon"}},
            {API_MorphID, {"buildingMaterial"}},
            {API_StairID, {"height"}},
            {API_RailingID, {"height", "segments"}}};
        const std::string guidText = Str(element, "guid");
        const GS::Guid guid(guidText.c_str());
        const std::string at = where + " (" + guidText + ")";
        if (guid.IsNull())
            Problem(where, "needs a guid");
        else if (!seen.insert(guid.ToString()).second)
            Problem(at, "guid used twice");
        const GS::Int32 typeID = ElementType(element);
        if (typeID == 0 || !KnownName(Member(element, "typeID"), TypeNames())) {
            Problem(at, "unknown typeID");
            return;
        }
        std::set<std::string> allowed = common;
        auto it = perType.find(typeID);
        if (it != perType.end())
            allowed.insert(it->second.begin(), it->second.end());
        CheckKeys(element, at, allowed);
        CheckNumbers(element, at, {"thickness", "height", "slantAngle", "a", "b", "width", "level", "story"});
        if (!KnownName(Member(element, "structure"), StructureNames()))
            Problem(at, "unknown structure");
        CheckAttributeRef(element, at, "composite", HostAttr_Composite);
        CheckAttributeRef(element, at, "profile", HostAttr_Profile);
        CheckAttributeRef(element, at, "buildingMaterial", HostAttr_BuildingMaterial);
        CheckAttributeRef(element, at, "fillInd", HostAttr_Fill);
        if (Structure(element) == API_CompositeStructure && Int(element, "composite") == 0)
            Problem(at, "a composite element needs a composite");
        for (const Json& segment : Array(element, "segments")) {
            CheckKeys(segment, at + " segment",
                      {"structure", "profile", "buildingMaterial", "nominalWidth", "nominalHeight"});
            CheckAttributeRef(segment, at + " segment", "profile", HostAttr_Profile);
        }
        const Json* quantities = Member(element, "quantities");
        if (quantities != nullptr) {
            std::set<std::string> keys;
            for (const std::string& k : QuantityKeys(typeID))
                keys.insert(k);
            if (keys.empty())
                Problem(at, "a " + std::string(ElementTypeName(typeID)) + " has no quantities");
            else
                CheckKeys(*quantities, at + " quantities", keys);
        }
        for (const Json& skin : Array(element, "skins"))
            CheckKeys(skin, at + " skin", {"volume", "area", "flags", "core"});
        const Json* polygon = Member(element, "polygon");
        if (polygon != nullptr) {
            CheckKeys(*polygon, at + " polygon", {"coords", "arcs", "nCoords", "nArcs"});
            for (const Json& arc : Array(*polygon, "arcs"))
                CheckKeys(arc, at + " arc", {"begIndex", "endIndex", "arcAngle"});
        }
        CheckParams(Array(element, "params"), at);
        const GS::Int32 libInd = Int(element, "libInd");
        if (libInd != 0 && FindLibraryPart(model, libInd) == nullptr)
            Problem(at, "\"libInd\" names no library part");
        const Json* values = Member(element, "properties");
        if (values != nullptr && values->is_object()) {
            for (auto p = values->begin(); p != values->end(); ++p) {
                const Json* definition = FindPropertyDefinition(model, GS::Guid(p.key().c_str()));
                API_Variant probe;
                if (definition == nullptr)
                    Problem(at, "property " + p.key() + " has no definition");
                else if (!ToVariant(p.value(), ValueType(*definition), &probe))
                    Problem(at, "property " + p.key() + " does not fit its valueType");
            }
        }
        if (Member(element, "database") != nullptr && !FindDatabase(model, 0, GuidOf(element, "database"), nullptr))
            Problem(at, "\"database\" names no database");
        if (typeID == API_SectElemID) {
            if (FindElement(model, GuidOf(element, "parentGuid")) == nullptr)
                Problem(at, "\"parentGuid\" names no element");
        }
        if (Member(element, "story") != nullptr && !Array(model, "stories").empty()) {
            const GS::Int32 story = Int(element, "story");
            bool found = false;
            for (const StoryEntry& s : Stories(model))
                found = found || s.index == story;
            if (!found)
                Problem(at, "\"story\" names no story");
        }
    }

    const Json& model;
    std::vector<std::string> problems;
};

}  // namespace

std::vector<std::string> CheckModel(const Json& model) { return Checker(model).Run(); }

// ---- The user's changes.

namespace {
std::vector<std::string> SplitPath(const std::string& field)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = field.find('.', start);
        parts.push_back(field.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
        if (dot == std::string::npos)
            return parts;
        start = dot + 1;
    }
}

// A list entry counted from 1; 0 when the text is no such number.
std::size_t EntryNumber(const std::string& text, std::size_t size)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    const std::size_t n = std::stoul(text);
    return n >= 1 && n <= size ? n : 0;
}

// Applies the value at the path below the element; false with a message when the path does not fit.
bool ApplyAt(Json& element, const std::vector<std::string>& path, const Json& value, std::string* error)
{
    Json* at = &element;
    std::string walked;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const std::string& key = path[i];
        const bool last = i + 1 == path.size();
        if (at->is_array()) {
            const std::size_t n = EntryNumber(key, at->size());
            if (n == 0) {
                *error = "\"" + walked + "\" has no entry " + key + " (it has " + std::to_string(at->size()) + ")";
                return false;
            }
            if (last && value.is_null())
                at->erase(n - 1);
            else if (last)
                (*at)[n - 1] = value;
            else
                at = &(*at)[n - 1];
        } else if (at->is_object()) {
            if (last && value.is_null())
                at->erase(key);
            else if (last)
                (*at)[key] = value;
            else if (!at->contains(key) && value.is_null())
                return true;  // nothing there to remove
            else if (!at->contains(key))
                at = &((*at)[key] = Json::object());
            else
                at = &(*at)[key];
        } else {
            *error = "\"" + walked + "\" holds no fields";
            return false;
        }
        walked += (walked.empty() ? "" : ".") + key;
    }
    return true;
}
}  // namespace

bool SetElementFigure(Json& model, const GS::Guid& guid, const std::string& field, const Json& value,
                      std::string* error)
{
    std::string message;
    auto fail = [&](const std::string& text) {
        if (error != nullptr)
            *error = text;
        return false;
    };
    Json* element = const_cast<Json*>(FindElement(model, guid));
    if (element == nullptr)
        return fail("no element " + guid.ToString());
    // A leading dot names the element's own field even where a quantity has the same name.
    const bool literal = !field.empty() && field[0] == '.';
    std::vector<std::string> path = SplitPath(literal ? field.substr(1) : field);
    for (const std::string& part : path) {
        if (part.empty())
            return fail("'" + field + "' is not a field");
    }
    const GS::Int32 typeID = ElementType(*element);
    const std::vector<std::string> quantityKeys = QuantityKeys(typeID);
    auto isQuantity = [&](const std::string& key) {
        return std::find(quantityKeys.begin(), quantityKeys.end(), key) != quantityKeys.end();
    };
    if (!literal && path.size() == 1 && isQuantity(path[0]))
        path.insert(path.begin(), "quantities");
    if (path[0] == "guid" || path[0] == "typeID")
        return fail("the guid and the type of an element cannot be changed");
    if (path[0] == "quantities") {
        if (quantityKeys.empty())
            return fail(std::string("a ") + ElementTypeName(typeID) + " has no quantities");
        if (path.size() != 2 || !isQuantity(path[1]))
            return fail(std::string("a ") + ElementTypeName(typeID) + " has no quantity '" +
                        (path.size() > 1 ? path[1] : "") + "'");
        if (!value.is_number() && !value.is_null())
            return fail("a quantity takes a number");
        if ((path[1] == "numOfRisers" || path[1] == "numOfTreads") && value.is_number_float())
            return fail(path[1] + " takes a whole number");
    }
    const std::vector<std::string> before = CheckModel(model);
    const Json saved = *element;
    if (!ApplyAt(*element, path, value, &message)) {
        *element = saved;
        return fail(message);
    }
    std::vector<std::string> after = CheckModel(model);
    for (const std::string& problem : after) {
        if (std::find(before.begin(), before.end(), problem) == before.end()) {
            *element = saved;
            return fail("refused: " + problem);
        }
    }
    return true;
}

std::vector<GS::Guid> DeleteElement(Json& model, const GS::Guid& guid)
{
    if (FindElement(model, guid) == nullptr)
        return {};
    std::vector<GS::Guid> removed{guid};
    auto isRemoved = [&](const GS::Guid& g) {
        return !g.IsNull() && std::find(removed.begin(), removed.end(), g) != removed.end();
    };
    Json& list = model["elements"];
    for (bool grew = true; grew;) {
        grew = false;
        for (const Json& element : list) {
            const GS::Guid g = GuidOf(element, "guid");
            if (isRemoved(g))
                continue;
            if (isRemoved(GuidOf(element, "parentGuid")) || isRemoved(GuidOf(element, "owner"))) {
                removed.push_back(g);
                grew = true;
            }
        }
    }
    Json kept = Json::array();
    for (Json& element : list) {
        if (!isRemoved(GuidOf(element, "guid")))
            kept.push_back(std::move(element));
    }
    list = std::move(kept);
    return removed;
}

}  // namespace Host
