#include "Dialogs/AttributeSwatches.hpp"

#include <cstring>

#include "HostApi/HostCalls.hpp"
#include "HostApi/HostHandles.hpp"

namespace {
const Gfx::Color kBlack(0, 0, 0, 255);

// The report goes without an alert: these run while a list paints, and an alert raised there
// would come back with every redraw.
GSErrCode ReadAttribute(HostAttribute* attribute, GS::Int32 type, GS::Int32 index)
{
    std::memset(attribute, 0, sizeof *attribute);
    attribute->header.typeID = type;
    attribute->header.index = index;
    const GSErrCode err = HostGetAttribute(attribute);
    if (err != NoError) {
        HostWriteReport(false, "HostGetAttribute failed");
        // Go on with a cleared record, as if the attribute had nothing set.
        std::memset(attribute, 0, sizeof *attribute);
    }
    return err;
}

Gfx::Color Opaque(Gfx::Color color)
{
    color.alpha = 255;
    return color;
}
}  // namespace

Gfx::Color ToGfxColor(const API_RGBColor& rgb)
{
    auto channel = [](double v) {
        const double scaled = v * 255.0;
        if (!(scaled > 0.0))
            return static_cast<UInt8>(0);
        return scaled >= 255.0 ? static_cast<UInt8>(255) : static_cast<UInt8>(scaled);
    };
    return Gfx::Color(channel(rgb.f_red), channel(rgb.f_green), channel(rgb.f_blue), 255);
}

GSErrCode GetPen(API_PenType* pen, GS::UInt16 penIndex)
{
    std::memset(pen, 0, sizeof *pen);
    pen->index = static_cast<GS::Int16>(penIndex);
    const GSErrCode err = HostGetPen(pen);
    if (err != NoError)
        HostWriteReport(false, "HostGetPen failed");
    return err;
}

void FillRectWithColor(NewDisplay::NativeContext& context, const DG::Rect& rect, const Gfx::Color& color)
{
    context.FillRect(rect.left, rect.top, rect.right, rect.bottom, Opaque(color));
}

bool DrawFillSwatch(NewDisplay::NativeContext& context, const DG::Rect& rect, GS::Int32 fill,
                    const Gfx::Color& foreground, const Gfx::Color& background, const Gfx::Color& frame)
{
    if (fill <= 0)
        return false;
    HostAttribute attribute;
    ReadAttribute(&attribute, HostAttr_Fill, fill);

    const double l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
    const int height = rect.bottom - rect.top;
    const Graphix::FillEffect* effect = nullptr;
    NewDisplay::LinearGradientFillEffect linear(foreground, background, {l, t}, {r, b});
    NewDisplay::RadialGradientFillEffect radial(foreground, background, {(l + r) * 0.5, (t + b) * 0.5},
                                                static_cast<double>(height / 4), static_cast<double>(height / 2));
    switch (attribute.fill.subType) {
        case HostFill_LinearGradient:
            effect = &linear;
            break;
        case HostFill_RadialGradient:
            effect = &radial;
            break;
        default:
            context.SetBackColor(Opaque(background));
            context.SetForeColor(Opaque(foreground));
            context.SetFillPattern(attribute.fill.bitPattern);
            break;
    }
    context.BeginPolygon();
    context.MoveTo(l, t);
    context.LineTo(r, t);
    context.LineTo(r, b);
    context.LineTo(l, b);
    context.LineTo(l, t);
    context.EndPolygon(effect);

    context.SetForeColor(frame);
    context.FrameRect(l, t, r, b);
    return true;
}

bool DrawBuildingMaterialSwatch(NewDisplay::NativeContext& context, const DG::Rect& rect, GS::Int32 buildingMaterial)
{
    if (buildingMaterial <= 0)
        return false;
    HostAttribute material;
    ReadAttribute(&material, HostAttr_BuildingMaterial, buildingMaterial);

    // A pen that cannot be read gives the colour of its cleared record, as the other reads do.
    API_PenType pen;
    GetPen(&pen, static_cast<GS::UInt16>(material.buildingMaterial.cutFillPen));
    const Gfx::Color foreground = ToGfxColor(pen.rgb);
    Gfx::Color background(255, 255, 255, 1);
    if (material.buildingMaterial.cutFillBackgroundPen >= 1) {
        GetPen(&pen, static_cast<GS::UInt16>(material.buildingMaterial.cutFillBackgroundPen));
        background = ToGfxColor(pen.rgb);
    }

    HostAttribute surface;
    ReadAttribute(&surface, HostAttr_Surface, material.buildingMaterial.surface);
    const HeldHandle<char> texture(surface.surface.textureName);
    const Gfx::Color surfaceColor = ToGfxColor(surface.surface.surfaceRGB);

    const int width = rect.right - rect.left;
    const DG::Rect fillPart(rect.left, rect.top, static_cast<GS::Int16>(rect.left + static_cast<int>(0.48 * width)),
                            rect.bottom);
    const DG::Rect surfacePart(static_cast<GS::Int16>(rect.left + static_cast<int>(0.52 * width)), rect.top,
                               rect.right, rect.bottom);
    DrawFillSwatch(context, fillPart, material.buildingMaterial.cutFill, foreground, background, kBlack);

    context.SetBackColor(Opaque(background));
    FillRectWithColor(context, surfacePart, surfaceColor);
    if (material.buildingMaterial.showSurfaceFrame) {
        context.SetForeColor(kBlack);
        context.FrameRect(surfacePart.left, surfacePart.top, surfacePart.right, surfacePart.bottom);
    }
    return true;
}
