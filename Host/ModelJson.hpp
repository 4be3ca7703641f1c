#pragma once
// What the model's readers (Model.cpp, ModelAttributes.cpp, ModelProperties.cpp) and its checker
// (ModelCheck.cpp) share, so each reads a value the way the others do. Internal to those files.
#include <map>
#include <string>

#include "Host/Model.hpp"

namespace Host::ModelJson {

// ---- Reading JSON values leniently: a missing or mistyped value reads as the default
// (CheckModel reports mistyped ones).
const Json* Member(const Json& j, const char* key);
double Num(const Json& j, const char* key, double def = 0.0);
GS::Int32 ToInt32(const Json& v);
GS::Int32 Int(const Json& j, const char* key, GS::Int32 def = 0);
bool Bool(const Json& j, const char* key, bool def = false);
std::string Str(const Json& j, const char* key, const std::string& def = "");
const Json& Array(const Json& j, const char* key);
API_Coord CoordOf(const Json& v);
API_Coord Coord(const Json& j, const char* key);
API_Box BoxOf(const Json& j, const char* key);
GS::Guid GuidOf(const Json& j, const char* key);
bool IsGuidText(const std::string& text);
void CopyText(char* field, std::size_t size, const std::string& text, bool terminate = true);

// ---- Enumerations by name or number.
GS::Int32 ByName(const Json* v, const std::map<std::string, GS::Int32>& names, GS::Int32 def);
// True when the value is absent, a number, or one of the names.
bool KnownName(const Json* v, const std::map<std::string, GS::Int32>& names);
const std::map<std::string, GS::Int32>& TypeNames();
const std::map<std::string, GS::Int32>& StructureNames();
const std::map<std::string, GS::Int32>& ParamTypeNames();
const std::map<std::string, GS::Int32>& ValueTypeNames();
const std::map<std::string, GS::Int32>& DatabaseTypeNames();
const std::map<std::string, GS::Int32>& FillTypeNames();
GS::Int32 Structure(const Json& element);
GS::Int32 ParamType(const Json& param);

// ---- Property values (ModelProperties.cpp).
GS::Int32 ValueType(const Json& definition);
bool ToVariant(const Json& value, GS::Int32 valueType, API_Variant* variant);

// A handle of count records from the memory manager.
template <typename T>
T** AllocHandle(std::size_t count)
{
    return reinterpret_cast<T**>(BMAllocateHandle(static_cast<GSSize>(count * sizeof(T))));
}

}  // namespace Host::ModelJson
