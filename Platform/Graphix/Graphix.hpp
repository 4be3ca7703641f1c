#pragma once
// A recording drawing context: every call is kept as an operation, so what an owner-drawn cell
// painted can be shown as text and drawn into a picture.
#include <string>
#include <vector>

#include "GSRoot/Definitions.hpp"
#include "GSRoot/UniString.hpp"

namespace Gfx {

struct Color {
    UInt8 red = 0, green = 0, blue = 0, alpha = 255;
    Color() = default;
    Color(UInt8 r, UInt8 g, UInt8 b, UInt8 a = 255) : red(r), green(g), blue(b), alpha(a) {}
    UInt8 GetRed() const { return red; }
    UInt8 GetGreen() const { return green; }
    UInt8 GetBlue() const { return blue; }
    UInt8 GetAlpha() const { return alpha; }
    bool operator==(const Color& o) const
    {
        return red == o.red && green == o.green && blue == o.blue && alpha == o.alpha;
    }
    bool operator!=(const Color& o) const { return !(*this == o); }
    // "#RRGGBBAA"
    std::string ToString() const;
};

}  // namespace Gfx

namespace Graphix {

struct PointD {
    double x = 0.0, y = 0.0;
};

// One recorded operation. Coordinates are the cell's (or context's) own, from its top left.
struct DrawOp {
    enum Kind { FillRect, FrameRect, Line, Polygon, Text, Image } kind = FillRect;
    std::vector<PointD> points;  // FillRect/FrameRect/Text/Image: left-top, right-bottom; Line: from, to
    Gfx::Color fore, back;       // colours in force (FillRect: back is the fill colour)
    // Polygon fill: "none" (frame only), "solid" (fore colour), "pattern", "linear", "radial".
    std::string fill = "none";
    Gfx::Color from, to;         // gradient colours
    PointD p1, p2;               // linear: from p1 to p2; radial: centre p1
    double innerRadius = 0.0, outerRadius = 0.0;
    UInt8 pattern[8] = {};       // 8 x 8 bit pattern, one byte a row
    GS::UniString text;
    std::string fontName;
    double fontSize = 0.0;
    Int32 fontStyle = 0;
    Int32 alignment = 0;         // 0 left, 1 right, 2 centre
    Int32 imageId = 0;
    // One stable line of text.
    std::string ToString() const;
};

// What one owner-drawn cell (or any drawing) holds.
struct CellDrawing {
    std::vector<DrawOp> ops;
    Gfx::Color startBack, startFore;  // the colours the cell started with
};

struct Font {
    std::string name = "Arial";
    double size = 12.0;
    Int32 style = 0;     // 0 plain, 1 bold, 2 italic
    Int32 charCode = 4;  // kept for the host's text call; all codes are UTF-8 here
};

// Fill effects for polygons.
class FillEffect {
public:
    virtual ~FillEffect();
    virtual void Describe(DrawOp& op) const = 0;
};

class LinearGradientFillEffect : public FillEffect {
public:
    LinearGradientFillEffect(const Gfx::Color& from, const Gfx::Color& to, PointD p1, PointD p2)
        : from(from), to(to), p1(p1), p2(p2)
    {
    }
    void Describe(DrawOp& op) const override;

private:
    Gfx::Color from, to;
    PointD p1, p2;
};

class RadialGradientFillEffect : public FillEffect {
public:
    RadialGradientFillEffect(const Gfx::Color& from, const Gfx::Color& to, PointD centre, double innerRadius,
                             double outerRadius)
        : from(from), to(to), centre(centre), inner(innerRadius), outer(outerRadius)
    {
    }
    void Describe(DrawOp& op) const override;

private:
    Gfx::Color from, to;
    PointD centre;
    double inner, outer;
};

// Records into a CellDrawing. Colours start as the drawing's start colours.
class NativeContext {
public:
    explicit NativeContext(CellDrawing* target);
    virtual ~NativeContext();

    void SetForeColor(const Gfx::Color& color);
    void SetBackColor(const Gfx::Color& color);
    Gfx::Color GetForeColor() const { return fore; }
    Gfx::Color GetBackColor() const { return back; }
    void SetFont(const Font& font);
    // 8 x 8 bit pattern for the next polygons without effect (back colour for 0 bits, fore for 1 bits).
    void SetFillPattern(const UInt8 pattern[8]);

    // Fills with the colour given (alpha as given).
    void FillRect(double left, double top, double right, double bottom, const Gfx::Color& color);
    // Frames with the fore colour.
    void FrameRect(double left, double top, double right, double bottom);
    void DrawLine(double x1, double y1, double x2, double y2, const Gfx::Color& color);

    // Polygons: BeginPolygon, MoveTo, LineTo..., EndPolygon. Without an effect the polygon is
    // filled with the pattern set (solid fore colour when none is set).
    void BeginPolygon();
    void MoveTo(double x, double y);
    void LineTo(double x, double y);
    void EndPolygon(const FillEffect* effect = nullptr);

    // Text in the fore colour within a box; alignment 0 left, 1 right, 2 centre.
    void DrawPlainText(const GS::UniString& text, double left, double top, double width, double height,
                       Int32 alignment);
    void DrawImage(Int32 iconId, double left, double top, double right, double bottom);

private:
    CellDrawing* target;
    Gfx::Color fore, back;
    Font font;
    bool hasPattern = false;
    UInt8 pattern[8] = {};
    bool inPolygon = false;
    std::vector<PointD> polygon;
};

}  // namespace Graphix

// The names the host's drawing libraries use.
namespace NewDisplay {
using NativeContext = Graphix::NativeContext;
using LinearGradientFillEffect = Graphix::LinearGradientFillEffect;
using RadialGradientFillEffect = Graphix::RadialGradientFillEffect;
}  // namespace NewDisplay
