// The model checker: every unknown key, unknown type, bad guid and dangling reference of a model.
// It stands apart from the readers, which take what they can and read the rest as 0: here a fixture
// or a user's change that says something the readers would quietly ignore is found.
#include <set>

#include "Host/ModelJson.hpp"

namespace Host {

using namespace ModelJson;

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

}  // namespace Host
