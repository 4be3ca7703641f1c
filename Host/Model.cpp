// Reading the elements of the model: records, headers, memos and quantities; databases, stories
// and library parts; and the user's changes of the model.
#include "Host/Model.hpp"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <unordered_map>

#include "Host/ModelJson.hpp"

namespace Host {

using namespace ModelJson;

namespace {

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

const GS::Guid kFloorPlanGuid("A1F0C2D4-0001-4C0A-9E11-000000000001");
const GS::Guid kModelGuid("A1F0C2D4-0004-4C0A-9E11-000000000004");

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

// ---- Library parts.

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
