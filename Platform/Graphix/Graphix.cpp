#include "Graphix/Graphix.hpp"

#include <cstdio>
#include <locale>
#include <sstream>

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

// Locale-independent and short: 12, 12.5, 0.333.
std::string Num(double v)
{
    std::ostringstream os;
    os.imbue(std::locale::classic());
    os.precision(10);
    os << v;
    return os.str();
}

std::string Pt(const PointD& p) { return Num(p.x) + "," + Num(p.y); }

std::string Quote(const std::string& s)
{
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out + "\"";
}

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
            return "text " + Pt(a) + " " + Num(b.x - a.x) + "x" + Num(b.y - a.y) + " " + Quote(text.ToUtf8()) + " " +
                   fontName + " " + Num(fontSize) + " " + StyleName(fontStyle) + " align " + std::to_string(alignment) +
                   " " + fore.ToString();
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

void LinearGradientFillEffect::Describe(DrawOp& op) const
{
    op.fill = "linear";
    op.from = from;
    op.to = to;
    op.p1 = p1;
    op.p2 = p2;
}

void RadialGradientFillEffect::Describe(DrawOp& op) const
{
    op.fill = "radial";
    op.from = from;
    op.to = to;
    op.p1 = centre;
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
DrawOp Op(DrawOp::Kind kind, const Gfx::Color& fore, const Gfx::Color& back)
{
    DrawOp op;
    op.kind = kind;
    op.fore = fore;
    op.back = back;
    return op;
}
}  // namespace

void NativeContext::FillRect(double left, double top, double right, double bottom, const Gfx::Color& color)
{
    if (target == nullptr)
        return;
    DrawOp op = Op(DrawOp::FillRect, fore, color);
    op.points = {{left, top}, {right, bottom}};
    target->ops.push_back(op);
}

void NativeContext::FrameRect(double left, double top, double right, double bottom)
{
    if (target == nullptr)
        return;
    DrawOp op = Op(DrawOp::FrameRect, fore, back);
    op.points = {{left, top}, {right, bottom}};
    target->ops.push_back(op);
}

void NativeContext::DrawLine(double x1, double y1, double x2, double y2, const Gfx::Color& color)
{
    if (target == nullptr)
        return;
    DrawOp op = Op(DrawOp::Line, color, back);
    op.points = {{x1, y1}, {x2, y2}};
    target->ops.push_back(op);
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

void NativeContext::LineTo(double x, double y)
{
    if (inPolygon)
        polygon.push_back({x, y});
}

void NativeContext::EndPolygon(const FillEffect* effect)
{
    if (!inPolygon)
        return;
    inPolygon = false;
    if (target == nullptr)
        return;
    DrawOp op = Op(DrawOp::Polygon, fore, back);
    op.points = polygon;
    if (effect != nullptr) {
        effect->Describe(op);
    } else if (hasPattern) {
        op.fill = "pattern";
        for (int i = 0; i < 8; ++i)
            op.pattern[i] = pattern[i];
    } else {
        op.fill = "solid";
    }
    target->ops.push_back(op);
    polygon.clear();
}

void NativeContext::DrawPlainText(const GS::UniString& text, double left, double top, double width, double height,
                                  Int32 alignment)
{
    if (target == nullptr)
        return;
    DrawOp op = Op(DrawOp::Text, fore, back);
    op.points = {{left, top}, {left + width, top + height}};
    op.text = text;
    op.fontName = font.name;
    op.fontSize = font.size;
    op.fontStyle = font.style;
    op.alignment = alignment;
    target->ops.push_back(op);
}

void NativeContext::DrawImage(Int32 iconId, double left, double top, double right, double bottom)
{
    if (target == nullptr)
        return;
    DrawOp op = Op(DrawOp::Image, fore, back);
    op.points = {{left, top}, {right, bottom}};
    op.imageId = iconId;
    target->ops.push_back(op);
}

ListBoxUpdateEventContext::ListBoxUpdateEventContext(const DG::ListBoxTabFieldUpdateEvent& ev)
    : NativeContext(ev.GetDrawing())
{
}

}  // namespace Graphix
