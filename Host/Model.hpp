#pragma once
// Reading the project's model (JSON, see MODEL.md) into the records the host hands to add-ons.
// Everything here reads stored figures only; nothing is computed from geometry. Model.cpp reads
// elements, databases, stories and library parts and makes the user's changes; ModelAttributes.cpp,
// ModelProperties.cpp and ModelCheck.cpp hold the attribute readers, the property readers and the
// checker.
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "API/ApiElements.hpp"
#include "GSRoot/Guid.hpp"

namespace Host {

using Json = nlohmann::ordered_json;

// Element type ids by name ("Wall", "Slab", ...) or as numbers; 0 when unknown.
GS::Int32 ParseElementType(const Json& value);
const char* ElementTypeName(GS::Int32 typeID);

// The element of the model with that guid, or nullptr.
const Json* FindElement(const Json& model, const GS::Guid& guid);
const Json* FindElement(const Json& model, const API_Guid& guid);
GS::Int32 ElementType(const Json& element);

// The whole record of an element (zeroed first), and its header alone.
void FillElementRecord(const Json& model, const Json& element, API_Element* record);
void FillElementHeader(const Json& model, const Json& element, API_Elem_Head* header);

// Memo parts of the mask; the handles come from the memory manager.
void FillElementMemo(const Json& model, const Json& element, GS::UInt64 mask, API_ElementMemo* memo);
void ReleaseElementMemo(API_ElementMemo* memo);

// The quantity record of a type: false when the type has none.
bool HasQuantityRecord(GS::Int32 typeID);
// Fills the fields the mask asks for (all with a null mask); fields not asked for are untouched.
void FillQuantities(const Json& element, const HostQuantitiesMask* mask, HostElementQuantity* quantities);
// One record per skin of a composite element, with the asked figures; empty for other elements.
void FillCompositeQuantities(const Json& element, const HostQuantitiesMask* mask,
                             GS::Array<API_CompositeQuantity>* composites);
// The JSON keys of a type's quantities, in record order.
std::vector<std::string> QuantityKeys(GS::Int32 typeID);

// Databases: those of the model, or a floor plan and a 3D model when it names none.
struct DatabaseEntry {
    GS::Int32 typeID = 0;
    GS::Int32 index = 0;
    GS::Guid guid;
    std::string name;
};
std::vector<DatabaseEntry> Databases(const Json& model);
// The current database: "currentDatabase" of the model (a database guid), else the first floor plan.
DatabaseEntry CurrentDatabase(const Json& model);
// Finds by guid when it is not null, else the first database of the type; false when none fits.
bool FindDatabase(const Json& model, GS::Int32 typeID, const GS::Guid& guid, DatabaseEntry* found);
DatabaseEntry ContainingDatabase(const Json& model, const Json& element);
void ToDatabaseInfo(const DatabaseEntry& entry, HostDatabaseInfo* info);

// Attributes by type id (HostAttr_...) and index; nullptr when the model holds none.
const Json* FindAttribute(const Json& model, GS::Int32 typeID, GS::Int32 index);
// Fills the header's name and the part of its type.
void FillAttribute(const Json& attribute, GS::Int32 typeID, HostAttribute* record);
// The skins of a composite, as a handle.
HostCompositeSkin** MakeCompositeSkins(const Json& composite);
// The profile's image, or nullptr when it has none.
ProfileVectorImage* MakeProfileImage(const Json& profile);
const Json* FindPen(const Json& model, GS::Int16 index);

const Json* FindLibraryPart(const Json& model, GS::Int32 index);
// Additional parameters as 1600-byte records in one handle; nullptr for an empty list.
HostAddParam** MakeAddParams(const Json& params);

// Property definitions that apply to an element, in model order.
std::vector<const Json*> PropertyDefinitionsFor(const Json& model, const Json& element);
const Json* FindPropertyDefinition(const Json& model, const GS::Guid& guid);
void ToPropertyDefinition(const Json& definition, API_PropertyDefinition* record);
// The element's value of a definition (its own, else the definition's default): false when none.
bool PropertyValue(const Json& element, const Json& definition, API_Property* property);

// Stories, lowest index first.
struct StoryEntry {
    GS::Int16 index = 0;
    double level = 0.0;
    std::string name;
};
std::vector<StoryEntry> Stories(const Json& model);

// Problems of a model: unknown types or keys, bad guids, dangling references. Empty when sound.
std::vector<std::string> CheckModel(const Json& model);

// ---- The user's changes of the model.
// Sets a stored figure of an element: a quantity of its type ("volume", kept under "quantities"),
// or any stored field by its path ("height", "quantities.area", "skins.2.volume", list entries
// counted from 1); a leading dot names the element's own field where a quantity has the same name
// (".height" of a column). A null value removes the field, which then reads as 0. A change that would
// leave the model with a problem it did not have (see CheckModel) is refused and undone; so is a
// change of the guid or the type. False with a message when refused.
bool SetElementFigure(Json& model, const GS::Guid& guid, const std::string& field, const Json& value,
                      std::string* error);
// Removes an element with what cannot exist without it (its section elements, the windows and
// doors it owns, and theirs); the guids removed, the element first. Empty when there is none.
std::vector<GS::Guid> DeleteElement(Json& model, const GS::Guid& guid);

}  // namespace Host
