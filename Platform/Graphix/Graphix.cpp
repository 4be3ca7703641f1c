#include "Graphix/Graphix.hpp"

#include <cstdio>

#include "GSRoot/Internal.hpp"

namespace Gfx {

std::string Color::ToString() const
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X%02X", red, green, blue, alpha);
    return buf;
}

}  // namespace Gfx

namespace Graphix {

namespace {

std::string Num(double v) { return GS::Internal::FormatNumber(v, 10); }
std::string Pt(const PointD& p) { return Num(p.x) + "," + Num(p.y); }
using GS::Internal::QuoteText;

const char* StyleName(Int32 style)
{
    switch (style & 3) {
        case 1: return "bold";
        case 2: return "italic";
        case 3: return "bold-italic";
        default: return "plain";
    }
}

}  // namespace

std::string DrawOp::ToString() const
{
    PointD a = points.size() > 0 ? points[0] : PointD();
    PointD b = points.size() > 1 ? points[1] : PointD();
    switch (kind) {
        case FillRect: return "fill " + Pt(a) + "-" + Pt(b) + " " + back.ToString();
        case FrameRect: return "frame " + Pt(a) + "-" + Pt(b) + " " + fore.ToString();
        case Line: return "line " + Pt(a) + "-" + Pt(b) + " " + fore.ToString();
        case Text:
            return "text " + Pt(a) + " " + Num(b.x - a.x) + "x" + Num(b.y - a.y) + " " + QuoteText(text.ToUtf8()) +
                   " " + fontName + " " + Num(fontSize) + " " + StyleName(fontStyle) + " align " +
                   std::to_string(alignment) + " " + fore.ToString();
        case Image: return "image " + std::to_string(imageId) + " " + Pt(a) + "-" + Pt(b);
        case Polygon: {
            std::string out = "polygon";
            for (const PointD& p : points)
                out += " " + Pt(p);
            if (fill == "linear")
                return out + " linear " + from.ToString() + "->" + to.ToString() + " " + Pt(p1) + "->" + Pt(p2);
            if (fill == "radial")
                return out + " radial " + from.ToString() + "->" + to.ToString() + " " + Pt(p1) + " r " +
                       Num(innerRadius) + "-" + Num(outerRadius);
            if (fill == "pattern") {
                char hex[24];
                std::snprintf(hex, sizeof hex, "%02X%02X%02X%02X%02X%02X%02X%02X", pattern[0], pattern[1], pattern[2],
                              pattern[3], pattern[4], pattern[5], pattern[6], pattern[7]);
                return out + " pattern " + hex + " " + fore.ToString() + "/" + back.ToString();
            }
            return out + " " + fill + " " + fore.ToString();
        }
    }
    return "?";
}

FillEffect::~FillEffect() = default;

namespace {
void DescribeGradient(DrawOp& op, const char* fill, const Gfx::Color& from, const Gfx::Color& to, PointD p1)
{
    op.fill = fill;
    op.from = from;
    op.to = to;
    op.p1 = p1;
}
}  // namespace

void LinearGradientFillEffect::Describe(DrawOp& op) const
{
    DescribeGradient(op, "linear", from, to, p1);
    op.p2 = p2;
}

void RadialGradientFillEffect::Describe(DrawOp& op) const
{
    DescribeGradient(op, "radial", from, to, centre);
    op.innerRadius = inner;
    op.outerRadius = outer;
}

NativeContext::NativeContext(CellDrawing* target) : target(target)
{
    if (target != nullptr) {
        fore = target->startFore;
        back = target->startBack;
    } else {
        fore = Gfx::Color(0, 0, 0);
        back = Gfx::Color(255, 255, 255);
    }
}

NativeContext::~NativeContext() = default;

void NativeContext::SetForeColor(const Gfx::Color& color) { fore = color; }
void NativeContext::SetBackColor(const Gfx::Color& color) { back = color; }
void NativeContext::SetFont(const Font& f) { font = f; }
void NativeContext::SetFillPattern(const UInt8 p[8])
{
    hasPattern = p != nullptr;
    for (int i = 0; i < 8; ++i)
        pattern[i] = p != nullptr ? p[i] : 0;
}

namespace {
// Appends what one call drew; nothing without a cell to draw into.
DrawOp* Record(CellDrawing* target, DrawOp::Kind kind, const Gfx::Color& fore, const Gfx::Color& back,
               std::vector<PointD> points)
{
    if (target == nullptr)
        return nullptr;
    DrawOp op;
    op.kind = kind;
    op.fore = fore;
    op.back = back;
    op.points = std::move(points);
    target->ops.push_back(std::move(op));
    return &target->ops.back();
}
}  // namespace

void NativeContext::FillRect(double left, double top, double right, double bottom, const Gfx::Color& color)
{
    Record(target, DrawOp::FillRect, fore, color, {{left, top}, {right, bottom}});
}

void NativeContext::FrameRect(double left, double top, double right, double bottom)
{
    Record(target, DrawOp::FrameRect, fore, back, {{left, top}, {right, bottom}});
}

void NativeContext::DrawLine(double x1, double y1, double x2, double y2, const Gfx::Color& color)
{
    Record(target, DrawOp::Line, color, back, {{x1, y1}, {x2, y2}});
}

void NativeContext::BeginPolygon()
{
    inPolygon = true;
    polygon.clear();
}

void NativeContext::MoveTo(double x, double y)
{
    if (inPolygon)
        polygon.push_back({x, y});
}

void NativeContext::LineTo(double x, double y) { MoveTo(x, y); }

void NativeContext::EndPolygon(const FillEffect* effect)
{
    if (!inPolygon)
        return;
    inPolygon = false;
    DrawOp* op = Record(target, DrawOp::Polygon, fore, back, polygon);
    polygon.clear();
    if (op == nullptr)
        return;
    if (effect != nullptr) {
        effect->Describe(*op);
    } else if (hasPattern) {
        op->fill = "pattern";
        for (int i = 0; i < 8; ++i)
            op->pattern[i] = pattern[i];
    } else {
        op->fill = "solid";
    }
}

void NativeContext::DrawPlainText(const GS::UniString& text, double left, double top, double width, double height,
                                  Int32 alignment)
{
    DrawOp* op = Record(target, DrawOp::Text, fore, back, {{left, top}, {left + width, top + height}});
    if (op == nullptr)
        return;
    op->text = text;
    op->fontName = font.name;
    op->fontSize = font.size;
    op->fontStyle = font.style;
    op->alignment = alignment;
}

void NativeContext::DrawImage(Int32 iconId, double left, double top, double right, double bottom)
{
    if (DrawOp* op = Record(target, DrawOp::Image, fore, back, {{left, top}, {right, bottom}}))
        op->imageId = iconId;
}

}  // namespace Graphix
