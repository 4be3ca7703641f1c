// The attribute readers: fills, composites, surfaces, profiles and building materials, and pens,
// as the host hands them out (records, skin handles, profile images).
#include <cstdint>
#include <cstring>

#include "Host/ModelJson.hpp"

namespace Host {

using namespace ModelJson;

namespace {

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

}  // namespace

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

}  // namespace Host
