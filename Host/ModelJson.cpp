// The lenient readers every part of the model shares (see ModelJson.hpp).
#include "Host/ModelJson.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace Host::ModelJson {

const Json* Member(const Json& j, const char* key)
{
    if (!j.is_object())
        return nullptr;
    auto it = j.find(key);
    return it == j.end() ? nullptr : &*it;
}

double Num(const Json& j, const char* key, double def)
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

GS::Int32 Int(const Json& j, const char* key, GS::Int32 def)
{
    const Json* v = Member(j, key);
    if (v == nullptr || !v->is_number())
        return def;
    return ToInt32(*v);
}

bool Bool(const Json& j, const char* key, bool def)
{
    const Json* v = Member(j, key);
    return (v != nullptr && v->is_boolean()) ? v->get<bool>() : def;
}

std::string Str(const Json& j, const char* key, const std::string& def)
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
void CopyText(char* field, std::size_t size, const std::string& text, bool terminate)
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

GS::Int32 ParamType(const Json& param) { return ByName(Member(param, "type"), ParamTypeNames(), 0); }

}  // namespace Host::ModelJson
