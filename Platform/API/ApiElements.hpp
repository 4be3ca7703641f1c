#pragma once
// The element side of the contract between host and add-on: element records per type, memos,
// quantities with their masks, properties, attributes, library-part parameters, databases and
// stories, and the function types of the table slots that hand them over.
//
// Records that callers zero before a call (elements, headers, memos, quantity records and masks,
// attributes and their definitions, database and story records, pens) are plain data, so that
// zero bytes are a valid empty record. Texts in them are UTF-8, terminated unless a field says
// otherwise.
#include <cmath>
#include <cstring>
#include <type_traits>
#include <utility>

#include "API/ApiTypes.hpp"
#include "GSRoot/Array.hpp"
#include "GSRoot/Memory.hpp"
#include "GSRoot/UniString.hpp"

// ---------------------------------------------------------------------------------------------
// Error codes of the element operations (besides those of ApiTypes.hpp).

constexpr GSErrCode APIERR_BADDATABASE = static_cast<GSErrCode>(0x81060041u);  // not in this database
constexpr GSErrCode APIERR_BADPROPERTY = static_cast<GSErrCode>(0x81060042u);  // no such property value
constexpr GSErrCode APIERR_BADELEMTYPE = static_cast<GSErrCode>(0x81060043u);  // nothing of that kind for the type
constexpr GSErrCode APIERR_NOMEMORY = static_cast<GSErrCode>(0x81060044u);

// ---------------------------------------------------------------------------------------------
// Element type ids.

enum API_ElemTypeID : GS::Int32 {
    API_ZombieElemID = 0,
    API_WallID = 1,
    API_ColumnID = 2,
    API_BeamID = 3,
    API_WindowID = 4,
    API_DoorID = 5,
    API_ObjectID = 6,
    API_SlabID = 8,
    API_RoofID = 9,
    API_ZoneID = 17,
    API_HatchID = 18,  // fill
    API_LineID = 19,
    API_PolyLineID = 20,
    API_SectElemID = 29,  // section element: stands for the model element it was cut from
    API_CurtainWallID = 37,
    API_MorphID = 45,
    API_StairID = 47,
    API_RailingID = 51
};

// Structure of walls, slabs, roofs and beam or column segments.
enum API_ModelElemStructureType : GS::Int32 {
    API_BasicStructure = 0,
    API_CompositeStructure = 1,
    API_ProfileStructure = 2
};

struct API_Coord {
    double x;
    double y;
};

struct API_Box {
    double xMin;
    double yMin;
    double xMax;
    double yMax;
};

// ---------------------------------------------------------------------------------------------
// Element header and records. Every type record begins with the header, so `header` of the
// element union reads the header of any type.

struct API_Elem_Head {
    GS::Int32 typeID;  // API_ElemTypeID; the first field
    API_Guid guid;
    GS::Int16 floorInd;  // story index of a floor-plan element
    bool hasMemo;        // the element has memo data (additional parameters, polygon, segments)
    char filler[5];
};

struct API_WallType {
    API_Elem_Head head;
    API_Coord begC;
    API_Coord endC;
    double thickness;
    double height;
    GS::Int32 modelElemStructureType;  // API_ModelElemStructureType
    GS::Int32 composite;               // composite attribute index (structure 1)
    GS::Int32 profileAttr;             // profile attribute index (structure 2), 0 none
    GS::Int32 buildingMaterial;        // building material (structure 0)
};

struct API_ColumnType {
    API_Elem_Head head;
    API_Coord origoPos;
    double height;
    GS::Int32 nSegments;  // the segments are in the memo
    GS::Int32 filler;
};

struct API_BeamType {
    API_Elem_Head head;
    API_Coord begC;  // reference line
    API_Coord endC;
    bool isSlanted;
    char filler[7];
    double slantAngle;  // radians
    GS::Int32 nSegments;  // the segments are in the memo
    GS::Int32 filler2;
};

// Windows and doors.
struct API_WindowType {
    API_Elem_Head head;
    GS::Int32 libInd;  // library part index
    GS::Int32 filler;
    double width;
    double height;
    API_Guid owner;  // the wall it sits in
};
using API_DoorType = API_WindowType;

struct API_ObjectType {
    API_Elem_Head head;
    GS::Int32 libInd;
    GS::Int32 filler;
    API_Coord pos;
    double a;  // size along x
    double b;  // size along y
};

struct API_SlabType {
    API_Elem_Head head;
    double thickness;
    double level;
    GS::Int32 modelElemStructureType;
    GS::Int32 composite;
    GS::Int32 buildingMaterial;
    GS::Int32 filler;
};

struct API_RoofType {
    API_Elem_Head head;
    double thickness;
    GS::Int32 modelElemStructureType;
    GS::Int32 composite;
    GS::Int32 buildingMaterial;
    GS::Int32 filler;
};

// The number of polygon coordinates and arcs; the polygon itself is in the memo.
struct API_Polygon {
    GS::Int32 nCoords;
    GS::Int32 nSubPolys;
    GS::Int32 nArcs;
    GS::Int32 filler;
};

struct API_ZoneType {
    API_Elem_Head head;
    GS::Int32 libInd;  // the zone stamp's library part
    GS::Int32 filler;
    char roomName[256];
    char roomNoStr[32];
    API_Polygon poly;
};

struct API_HatchType {
    API_Elem_Head head;
    GS::Int32 fillInd;  // fill attribute
    GS::Int32 filler;
    API_Polygon poly;
};

struct API_LineType {
    API_Elem_Head head;
    API_Coord begC;
    API_Coord endC;
};

struct API_PolyLineType {
    API_Elem_Head head;
    API_Polygon poly;
};

struct API_SectElemType {
    API_Elem_Head head;
    API_Guid parentGuid;  // the model element the section element was cut from
    GS::Int32 parentID;   // its type id
    GS::Int32 filler;
};

struct API_CurtainWallType {
    API_Elem_Head head;
    double height;
    API_Polygon poly;
};

struct API_MorphType {
    API_Elem_Head head;
    GS::Int32 buildingMaterial;
    GS::Int32 filler;
};

struct API_StairType {
    API_Elem_Head head;
    double height;
};

struct API_RailingType {
    API_Elem_Head head;
    double height;
    GS::Int32 nSegments;
    GS::Int32 filler;
};

union API_Element {
    API_Elem_Head header;
    API_WallType wall;
    API_ColumnType column;
    API_BeamType beam;
    API_WindowType window;
    API_DoorType door;
    API_ObjectType object;
    API_SlabType slab;
    API_RoofType roof;
    API_ZoneType zone;
    API_HatchType hatch;
    API_LineType line;
    API_PolyLineType polyLine;
    API_SectElemType sectElem;
    API_CurtainWallType curtainWall;
    API_MorphType morph;
    API_StairType stair;
    API_RailingType railing;
};
static_assert(std::is_trivially_copyable<API_Element>::value, "elements are copied as bytes");
static_assert(offsetof(API_Elem_Head, typeID) == 0, "the type id is the header's first field");

// ---------------------------------------------------------------------------------------------
// Memo: what does not fit into the element record. Handles and pointers come from the memory
// manager and go back through HostDisposeElementMemo.

// Parts of the memo a request asks for.
constexpr GS::UInt64 APIMemoMask_Polygon = 0x0000000000000001ULL;        // coords and parcs
constexpr GS::UInt64 APIMemoMask_AddPars = 0x0000000000000004ULL;        // additional parameters
constexpr GS::UInt64 APIMemoMask_BeamSegment = 0x0200000000000000ULL;    // beam segments
constexpr GS::UInt64 APIMemoMask_ColumnSegment = 0x0400000000000000ULL;  // column segments
constexpr GS::UInt64 APIMemoMask_All = 0x3FFFFFFFBFFFFFFFULL;

// One arc of a polygon: the edge from vertex begIndex to vertex endIndex bulges by arcAngle.
struct API_PolyArc {
    GS::Int32 begIndex;
    GS::Int32 endIndex;
    double arcAngle;  // radians; the sign gives the direction
};

// Additional parameter types.
enum API_AddParID : GS::Int32 {
    APIParT_Integer = 1,
    APIParT_Length = 2,
    APIParT_Angle = 3,
    APIParT_RealNum = 4,
    APIParT_Boolean = 5,
    APIParT_Text = 6
};

// One additional parameter of a library part or of an element placed from one: 1600 bytes.
struct HostAddParam {
    GS::Int32 typeID;  // API_AddParID
    GS::Int32 index;   // 1-based position in the library part
    char name[32];     // terminated only when shorter than the field
    char description[256];
    double value;             // numeric types
    char valueStr[1024];      // text parameters
    char filler[1600 - 4 - 4 - 32 - 256 - 8 - 1024];
};
static_assert(sizeof(HostAddParam) == 1600, "an additional parameter record is 1600 bytes");

// One segment of a beam or a column; both kinds carry the same fields.
struct API_SegmentType {
    GS::Int32 modelElemStructureType;  // 2: profiled
    GS::Int32 profileAttr;             // profile attribute index, 0 none
    GS::Int32 buildingMaterial;
    GS::Int32 filler;
    double nominalWidth;
    double nominalHeight;
};
using API_ColumnSegmentType = API_SegmentType;
using API_BeamSegmentType = API_SegmentType;

struct API_ElementMemo {
    // Polygon vertices numbered 1 to nCoords; entry 0 is unused. The handle's size
    // (BMGetHandleSize / sizeof(API_Coord)) is nCoords + 1.
    API_Coord** coords;
    // Arc records; BMGetHandleSize / sizeof(API_PolyArc) of them.
    API_PolyArc** parcs;
    // Additional parameters; BMGetHandleSize / sizeof(HostAddParam) of them.
    HostAddParam** params;
    // Segments in order, from BMAllocatePtr; BMGetPtrSize / sizeof of them; null when none.
    API_ColumnSegmentType* columnSegments;
    API_BeamSegmentType* beamSegments;
};
static_assert(std::is_trivially_copyable<API_ElementMemo>::value, "memos are plain data");

// ---------------------------------------------------------------------------------------------
// Quantities the host computes for an element. A request fills only the fields its mask asks
// for: a field is asked for when every byte of it is 0xFF in the mask.

struct API_WallQuantity {
    double volume;
    double area;  // surface of the wall's reference side
    double length;
    double refLineLength;
    double maxHeight;
    double minHeight;
    double perimeter;
};

struct API_ColumnQuantity {
    double volume;
    double coreVolume;
    double coreArea;  // cross-section of the core
    double height;
};

struct API_BeamQuantity {
    double volume;
    double area;
    double length;
};

// Windows and doors.
struct API_DoorWindowQuantity {
    double width1;
    double width2;
    double height1;
    double height2;
    double area;
    double area1;
    double area2;
    double nominalWidth1;
    double nominalWidth2;
    double nominalHeight1;
    double nominalHeight2;
    double nominalArea1;
    double nominalArea2;
    double volume;
    double grossArea;
    double grossVolume;
    double sillHeight;
    double sillHeight1;
    double sillHeight2;
    double sillHeight3;
    double headHeight;
    double headHeight1;
    double headHeight2;
    double headHeight3;
};

struct API_SlabQuantity {
    double volume;
    double topSurface;     // one face
    double bottomSurface;  // the other face
    double perimeter;
};

struct API_RoofQuantity {
    double volume;
    double area;  // top surface
    double projectionArea;
    double perimeter;
    double ridgesLength;
    double eavesLength;
    double gablesLength;
    double valleysLength;
    double hipsLength;
};

struct API_ZoneQuantity {
    double area;
    double perimeter;
    double volume;
    double height;
    double netArea;
    double calcArea;
};

struct API_StairQuantity {
    double volume;
    double area;
    double height;
    double walklineLength;
    double gradient;
    GS::Int32 numOfRisers;
    GS::Int32 numOfTreads;
};

struct API_HatchQuantity {
    double area;
    double perimeter;
};

struct API_MorphQuantity {
    double volume;
    double area;
};

struct API_RailingQuantity {
    double length;
    double area;
};

struct API_CurtainWallQuantity {
    double length;
    double area;
};

union HostElementQuantity {
    API_WallQuantity wall;
    API_ColumnQuantity column;
    API_BeamQuantity beam;
    API_DoorWindowQuantity window;  // windows and doors
    API_SlabQuantity slab;
    API_RoofQuantity roof;
    API_ZoneQuantity zone;
    API_StairQuantity stair;
    API_HatchQuantity hatch;
    API_MorphQuantity morph;
    API_RailingQuantity railing;
    API_CurtainWallQuantity curtainWall;
};

// Skin flags.
constexpr GS::Int32 APISkin_Core = 0x02;

// One skin of a composite element, in skin order.
struct API_CompositeQuantity {
    double volume;
    double area;
    GS::Int32 flags;  // APISkin_Core: a core skin
    GS::Int32 filler;
};

struct HostQuantitiesMask {
    HostElementQuantity elements;     // the type's fields
    API_CompositeQuantity composites;  // which per-skin figures
};

struct API_QuantityPar {
    double minOpeningSize;
};

// Where a request puts its results; a null pointer asks for nothing of that kind.
struct API_Quantities {
    HostElementQuantity* elements;
    GS::Array<API_CompositeQuantity>* composites;
};

// Mask helpers: clear the mask, then set each wanted field.
inline void HostMaskClear(HostQuantitiesMask* mask) { std::memset(mask, 0, sizeof *mask); }
inline void HostMaskSetAll(HostQuantitiesMask* mask) { std::memset(mask, 0xFF, sizeof *mask); }
template <typename T>
inline void HostMaskSet(T& maskField)
{
    static_assert(std::is_trivially_copyable<T>::value, "mask fields are plain data");
    std::memset(&maskField, 0xFF, sizeof maskField);
}
template <typename T>
inline bool HostMaskIsSet(const T& maskField)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&maskField);
    for (std::size_t i = 0; i < sizeof maskField; ++i) {
        if (bytes[i] != 0xFF)
            return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Properties.

enum API_VariantType : GS::Int32 {
    API_PropertyUndefinedValueType = 0,
    API_PropertyIntegerValueType = 1,
    API_PropertyRealValueType = 2,
    API_PropertyStringValueType = 3,
    API_PropertyBooleanValueType = 4,
    API_PropertyGuidValueType = 5
};

struct API_Variant {
    API_VariantType type = API_PropertyUndefinedValueType;
    GS::Int32 intValue = 0;
    double doubleValue = 0.0;
    bool boolValue = false;
    GS::UniString uniStringValue;
    API_Guid guidValue = APINULLGuid;
};

struct API_PropertyDefinition {
    API_Guid guid = APINULLGuid;
    API_Guid groupGuid = APINULLGuid;
    GS::UniString name;
    GS::UniString description;
    API_VariantType valueType = API_PropertyUndefinedValueType;
};

struct API_Property {
    API_PropertyDefinition definition;
    API_Variant value;  // its type is the definition's value type
    bool isDefault = false;  // the element has no value of its own
};

// Filter of HostGetElementPropertyDefinitions.
constexpr GS::Int32 API_PropertyDefinitionFilter_All = 0;

// ---------------------------------------------------------------------------------------------
// Attributes.

enum HostAttrTypeID : GS::Int32 {
    HostAttr_Fill = 3,
    HostAttr_Composite = 4,
    HostAttr_Surface = 5,
    HostAttr_Profile = 8,
    HostAttr_BuildingMaterial = 12
};

struct API_RGBColor {
    double f_red;  // 0 to 1
    double f_green;
    double f_blue;
};

struct HostAttrHead {
    GS::Int32 typeID;  // HostAttrTypeID, in
    GS::Int32 index;   // in; 0 is no attribute
    char name[256];    // out
};

// Fill subtypes.
enum HostFillSubType : GS::Int32 {
    HostFill_Vector = 0,
    HostFill_Symbol = 1,
    HostFill_Solid = 2,
    HostFill_Empty = 3,
    HostFill_LinearGradient = 4,
    HostFill_RadialGradient = 5,
    HostFill_Image = 6
};

// An attribute read by type and index; the part of its type is filled.
struct HostAttribute {
    HostAttrHead header;
    struct {
        GS::Int16 nComps;  // number of skins
        GS::Int16 filler[3];
    } composite;
    struct {
        GS::Int32 cutFill;
        GS::Int16 cutFillPen;
        GS::Int16 cutFillBackgroundPen;
        GS::Int32 surface;
        bool showSurfaceFrame;  // draw a frame around the surface swatch
        char filler[3];
    } buildingMaterial;
    struct {
        GS::Int32 subType;  // HostFillSubType
        GS::UInt8 bitPattern[8];  // 8 x 8 pattern, one byte per row
        char filler[4];
    } fill;
    struct {
        API_RGBColor surfaceRGB;
        GSHandle textureName;  // handed over when the surface has a texture; BMKillHandle after use
    } surface;
};
static_assert(std::is_trivially_copyable<HostAttribute>::value, "attributes are plain data");

// One skin of a composite's definition.
struct HostCompositeSkin {
    GS::Int32 buildingMaterial;  // building-material index
    GS::Int32 flags;             // APISkin_Core: a core skin
    double thickness;
};

// Definition of a composite (type 4): its skins, BMGetHandleSize / sizeof(HostCompositeSkin) of
// them. Released with HostDisposeAttributeDef.
struct HostAttributeDef {
    HostCompositeSkin** skins;
};

// ---- Profile images: what the vector image of a profile attribute holds.

namespace ADB {
// An attribute index as the vector image stores it.
class AttributeIndex {
public:
    AttributeIndex() = default;
    explicit AttributeIndex(GS::Int32 index) : index(index) {}
    GS::Int32 ToGSAttributeIndex_Deprecated() const { return index; }
    bool operator==(const AttributeIndex& o) const { return index == o.index; }

private:
    GS::Int32 index = 0;
};
}  // namespace ADB

namespace Geometry {
// A polygon: its outer contour first, then its holes, each a closed list of vertices (the first
// vertex is not repeated at the end).
struct Polygon2D {
    GS::Array<GS::Array<API_Coord>> contours;
};
using MultiPolygon2D = GS::Array<Polygon2D>;

// Signed area of one contour (positive when counter-clockwise).
inline double ContourSignedArea(const GS::Array<API_Coord>& contour)
{
    double sum = 0.0;
    const GS::USize n = contour.GetSize();
    for (GS::UIndex i = 0; i < n; ++i) {
        const API_Coord& a = contour[i];
        const API_Coord& b = contour[(i + 1) % n];
        sum += a.x * b.y - b.x * a.y;
    }
    return sum / 2.0;
}

// Area of a polygon: the outer contour less its holes.
inline double PolygonArea(const Polygon2D& polygon)
{
    double area = 0.0;
    for (GS::UIndex i = 0; i < polygon.contours.GetSize(); ++i) {
        const double a = std::fabs(ContourSignedArea(polygon.contours[i]));
        area += (i == 0) ? a : -a;
    }
    return area;
}
}  // namespace Geometry

// One hatch of a profile image.
class HatchObject {
public:
    HatchObject() = default;
    HatchObject(bool buildingMaterialHatch, ADB::AttributeIndex buildMatIdx, Geometry::Polygon2D polygon)
        : buildingMaterialHatch(buildingMaterialHatch), buildMatIdx(buildMatIdx), polygon(std::move(polygon))
    {
    }
    bool IsBuildingMaterialHatch() const { return buildingMaterialHatch; }
    ADB::AttributeIndex GetBuildMatIdx() const { return buildMatIdx; }
    // Appends the hatch's polygon; false when it has no contour.
    bool ToPolygon2D(Geometry::MultiPolygon2D& result) const
    {
        if (polygon.contours.IsEmpty() || polygon.contours[0].GetSize() < 3)
            return false;
        result.Push(polygon);
        return true;
    }
    const Geometry::Polygon2D& GetPolygon() const { return polygon; }

private:
    bool buildingMaterialHatch = false;
    ADB::AttributeIndex buildMatIdx;
    Geometry::Polygon2D polygon;
};

// The vector image of a profile: its stored building dimensions, bounding boxes and hatches.
class ProfileVectorImage {
public:
    double buildingWidth = 0.0;
    double buildingHeight = 0.0;
    API_Box wholeBox{0, 0, 0, 0};  // bounds of the whole profile
    API_Box coreBox{0, 0, 0, 0};   // bounds of its core
    API_Box contourBox{0, 0, 0, 0};
    GS::Array<HatchObject> hatches;
};

// Visitor of the hatches of an image, called once per hatch in image order.
class ProfileVectorImageVisitor {
public:
    virtual ~ProfileVectorImageVisitor() = default;
    virtual void VisitHatchObject(const HatchObject& hatch) = 0;
};

class ProfileVectorImageOperations {
public:
    // Width and height of the profile as built.
    bool CalculateBuildingDimensions(const ProfileVectorImage& image, double& width, double& height) const
    {
        width = image.buildingWidth;
        height = image.buildingHeight;
        return true;
    }
    // Bounds of the whole profile, of its core and, when asked, of its contour.
    bool CalculateBounds(const ProfileVectorImage& image, API_Box* wholeBox, API_Box* coreBox,
                         API_Box* contourBox) const
    {
        if (wholeBox != nullptr)
            *wholeBox = image.wholeBox;
        if (coreBox != nullptr)
            *coreBox = image.coreBox;
        if (contourBox != nullptr)
            *contourBox = image.contourBox;
        return true;
    }
    void EnumerateHatchObjects(const ProfileVectorImage& image, ProfileVectorImageVisitor& visitor) const
    {
        for (const HatchObject& hatch : image.hatches)
            visitor.VisitHatchObject(hatch);
    }
};

// Extended definition of a profile (type 8). Released with HostDisposeAttributeDefExt.
struct HostAttributeDefExt {
    ProfileVectorImage* profile_vectorImageItems;  // null for a profile without an image
};
static_assert(std::is_trivially_copyable<HostAttributeDefExt>::value, "definitions are plain data");

// A pen of the pen table.
struct API_PenType {
    GS::Int16 index;  // in
    GS::Int16 filler[3];
    API_RGBColor rgb;  // out
    double width;      // out, mm
};

// ---------------------------------------------------------------------------------------------
// Databases and stories.

enum HostDatabaseTypeID : GS::Int32 {
    APIWind_FloorPlanID = 1,
    APIWind_SectionID = 2,
    APIWind_DetailID = 3,
    APIWind_3DModelID = 4,
    APIWind_ElevationID = 5
};

struct HostDatabaseInfo {
    GS::Int32 typeID;  // HostDatabaseTypeID; the first field
    GS::Int32 index;
    API_Guid databaseUnId;  // null: the first database of the type
    char name[256];
};
static_assert(offsetof(HostDatabaseInfo, typeID) == 0, "the type id is the first field");

struct HostStoryType {
    GS::Int16 index;
    GS::Int16 filler[3];
    double level;
    char name[256];
};

// The story list. The caller releases data with BMKillHandle.
struct HostStoryInfo {
    GS::Int16 firstStory;
    GS::Int16 lastStory;
    GS::Int16 actStory;
    GS::Int16 filler;
    HostStoryType** data;  // one record per story, lowest index first; BMGetHandleSize / sizeof of them
                           // (lastStory - firstStory + 1 when the indices run without a gap)
};

// ---------------------------------------------------------------------------------------------
// Library parts.

// A library part's own parameters. Released with HostDisposeLibPartParams.
struct HostLibPartParams {
    double a;
    double b;
    GS::Int32 count;
    GS::Int32 filler;
    HostAddParam** params;  // count records
};

// ---------------------------------------------------------------------------------------------
// Function types of the element-related table slots (indices in ApiTable.hpp).

using HostGetElementFn = GSErrCode (*)(API_Element* element, GS::UInt32 mask);
using HostGetElementHeaderFn = GSErrCode (*)(API_Elem_Head* header, GS::UInt32 mask);
using HostGetElementMemoFn = GSErrCode (*)(const API_Guid* guid, API_ElementMemo* memo, GS::UInt64 mask);
using HostDisposeElementMemoFn = GSErrCode (*)(API_ElementMemo* memo);
using HostGetElementQuantitiesFn = GSErrCode (*)(const API_Guid* guid, const API_QuantityPar* params,
                                                 API_Quantities* quantities, const HostQuantitiesMask* mask);
using HostGetElementInfoStringFn = GSErrCode (*)(const API_Guid* guid, GS::UniString* infoString);

using HostGetElementPropertyDefinitionsFn = GSErrCode (*)(const API_Guid* elemGuid, GS::Int32 filter,
                                                          GS::Array<API_PropertyDefinition>* definitions);
using HostGetElementPropertyFn = GSErrCode (*)(const API_Guid* elemGuid, const API_Guid* definitionGuid,
                                               API_Property* property);
using HostGetElementPropertiesFn = GSErrCode (*)(const API_Guid* elemGuid,
                                                 const GS::Array<API_Guid>* definitionGuids,
                                                 GS::Array<API_Property>* properties);
using HostIsValidPropertyValueFn = bool (*)(const API_Variant* value, const API_PropertyDefinition* definition);

using HostAttributeGetFn = GSErrCode (*)(HostAttribute* attribute);
using HostGetAttributeDefFn = GSErrCode (*)(GS::Int32 typeID, GS::Int32 index, HostAttributeDef* def);
using HostDisposeAttributeDefFn = GSErrCode (*)(HostAttributeDef* def);
using HostGetAttributeDefExtFn = GSErrCode (*)(GS::Int32 typeID, GS::Int32 index, HostAttributeDefExt* defExt);
using HostDisposeAttributeDefExtFn = GSErrCode (*)(HostAttributeDefExt* defExt);
using HostGetPenFn = GSErrCode (*)(API_PenType* pen);

using HostGetCurrentDatabaseFn = GSErrCode (*)(HostDatabaseInfo* info);
using HostChangeDatabaseFn = GSErrCode (*)(HostDatabaseInfo* info);
using HostGetContainingDatabaseFn = GSErrCode (*)(const API_Guid* elemGuid, HostDatabaseInfo* info);
using HostGetStorySettingsFn = GSErrCode (*)(HostStoryInfo* info);

using HostGetLibPartParamsFn = GSErrCode (*)(GS::Int32 libInd, HostLibPartParams* params);
using HostDisposeLibPartParamsFn = GSErrCode (*)(HostLibPartParams* params);
