// The picture of a panel: item rectangles, texts and what owner drawing recorded, as SVG.
#include <locale>
#include <sstream>

#include "DG/DGState.hpp"
#include "DG/DGUser.hpp"
#include "GSRoot/Internal.hpp"

namespace DG {
namespace User {

namespace {

std::string Esc(const std::string& s)
{
    std::string out;
    for (char c : s) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string N(double v) { return GS::Internal::FormatNumber(v, 10); }

std::string Stroke(const Gfx::Color& c)
{
    return "rgb(" + std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue) + ")";
}

// A fill, with its opacity where it is not opaque.
std::string Rgb(const Gfx::Color& c)
{
    return Stroke(c) + (c.alpha != 255 ? "\" fill-opacity=\"" + N(c.alpha / 255.0) : std::string());
}

struct Svg {
    std::ostringstream body;
    int gradients = 0;
    int clips = 0;

    void Rect(double x, double y, double w, double h, const std::string& fill, const std::string& stroke)
    {
        body << "<rect x=\"" << N(x) << "\" y=\"" << N(y) << "\" width=\"" << N(w < 0 ? 0 : w) << "\" height=\""
             << N(h < 0 ? 0 : h) << "\" fill=\"" << fill << "\" stroke=\"" << stroke << "\"/>\n";
    }
    void Text(double x, double y, const std::string& text, const std::string& anchor = "start",
              const std::string& fill = "rgb(0,0,0)", double size = 11)
    {
        body << "<text x=\"" << N(x) << "\" y=\"" << N(y) << "\" font-family=\"Arial\" font-size=\"" << N(size)
             << "\" text-anchor=\"" << anchor << "\" fill=\"" << fill << "\">" << Esc(text) << "</text>\n";
    }
    // A text at the left, middle or right of the span of width w from x.
    void AlignedText(double x, double w, double y, const std::string& text, bool centre, bool right,
                     const std::string& fill, double size = 11)
    {
        Text(right ? x + w : centre ? x + w / 2 : x, y, text, right ? "end" : centre ? "middle" : "start", fill, size);
    }

    void Op(const Graphix::DrawOp& op, double ox, double oy)
    {
        auto pt = [&](std::size_t i) { return i < op.points.size() ? op.points[i] : Graphix::PointD(); };
        Graphix::PointD a = pt(0), b = pt(1);
        switch (op.kind) {
            case Graphix::DrawOp::FillRect: Rect(ox + a.x, oy + a.y, b.x - a.x, b.y - a.y, Rgb(op.back), "none"); break;
            case Graphix::DrawOp::FrameRect:
                Rect(ox + a.x, oy + a.y, b.x - a.x, b.y - a.y, "none", Stroke(op.fore));
                break;
            case Graphix::DrawOp::Line:
                body << "<line x1=\"" << N(ox + a.x) << "\" y1=\"" << N(oy + a.y) << "\" x2=\"" << N(ox + b.x)
                     << "\" y2=\"" << N(oy + b.y) << "\" stroke=\"" << Stroke(op.fore) << "\"/>\n";
                break;
            case Graphix::DrawOp::Text:
                AlignedText(ox + a.x, b.x - a.x, oy + a.y + op.fontSize, op.text.ToUtf8(), op.alignment == 2,
                            op.alignment == 1, Stroke(op.fore), op.fontSize);
                break;
            case Graphix::DrawOp::Image:
                Rect(ox + a.x, oy + a.y, b.x - a.x, b.y - a.y, "rgb(220,220,220)", "rgb(120,120,120)");
                break;
            case Graphix::DrawOp::Polygon: {
                std::string fill = Stroke(op.fore);
                if (op.fill == "linear" || op.fill == "radial") {
                    std::string id = "g" + std::to_string(++gradients);
                    if (op.fill == "linear")
                        body << "<defs><linearGradient id=\"" << id << "\" gradientUnits=\"userSpaceOnUse\" x1=\""
                             << N(ox + op.p1.x) << "\" y1=\"" << N(oy + op.p1.y) << "\" x2=\"" << N(ox + op.p2.x)
                             << "\" y2=\"" << N(oy + op.p2.y) << "\">";
                    else
                        body << "<defs><radialGradient id=\"" << id << "\" gradientUnits=\"userSpaceOnUse\" cx=\""
                             << N(ox + op.p1.x) << "\" cy=\"" << N(oy + op.p1.y) << "\" r=\"" << N(op.outerRadius)
                             << "\">";
                    body << "<stop offset=\"0\" stop-color=\"" << Stroke(op.from)
                         << "\"/><stop offset=\"1\" stop-color=\"" << Stroke(op.to) << "\"/></"
                         << (op.fill == "linear" ? "linearGradient" : "radialGradient") << "></defs>\n";
                    fill = "url(#" + id + ")";
                } else if (op.fill == "none") {
                    fill = "none";
                }
                body << "<polygon points=\"";
                for (std::size_t i = 0; i < op.points.size(); ++i)
                    body << (i > 0 ? " " : "") << N(ox + op.points[i].x) << "," << N(oy + op.points[i].y);
                body << "\" fill=\"" << fill << "\" stroke=\"" << (op.fill == "none" ? Stroke(op.fore) : "none")
                     << "\"/>\n";
                break;
            }
        }
    }
};

}  // namespace

std::string DescribeSvg(Int16 panel)
{
    Paint();
    PanelState* p = Internal::FindPanelState(panel);
    if (p == nullptr)
        return std::string();
    Svg svg;
    svg.Rect(0, 0, p->width, p->height, "rgb(236,236,236)", "rgb(160,160,160)");
    for (const ItemState& it : p->items) {
        if (!it.visible)
            continue;
        const DG::Rect& r = it.rect;
        double x = r.left, y = r.top, w = r.GetWidth(), h = r.GetHeight();
        std::string ink = it.enabled && !p->hostDisabled ? "rgb(0,0,0)" : "rgb(128,128,128)";
        const std::string& k = it.kind;
        if (k == "separator") {
            svg.Rect(x, y, w, h < 1 ? 1 : h, "rgb(160,160,160)", "none");
        } else if (k == "statictext") {
            svg.AlignedText(x, w, y + 12, it.text.ToUtf8(), it.align == DG_IS_CENTER, it.align == DG_IS_RIGHT, ink);
        } else if (it.list != nullptr) {
            const ListState& l = *it.list;
            svg.Rect(x, y, w, h, "rgb(255,255,255)", "rgb(120,120,120)");
            double hx = x;
            for (const HeaderItemState& hd : l.headers) {
                svg.Rect(hx, y, hd.size, 20, "rgb(225,225,225)", "rgb(160,160,160)");
                svg.Text(hx + 3, y + 14, hd.text.ToUtf8(), "start", ink);
                hx += hd.size;
            }
            Int16 first, last;
            Internal::VisibleRows(&it, &first, &last);
            for (Int16 rn = first; rn <= last; ++rn) {
                const RowState& row = l.rows[static_cast<std::size_t>(rn) - 1];
                double top = y + 20 + (rn - l.scroll) * l.rowHeight;
                if (row.selected)
                    svg.Rect(x, top, w, l.rowHeight, "rgb(51,102,204)", "none");
                for (std::size_t t = 0; t < l.tabs.size(); ++t) {
                    const TabFieldState& tab = l.tabs[t];
                    if (tab.end <= tab.begin)
                        continue;
                    auto d = row.drawings.find(static_cast<Int16>(t + 1));
                    if (tab.ownerDrawn) {
                        if (d != row.drawings.end()) {
                            // What a cell painted stays inside the cell, as on screen.
                            const DG::Rect& c = d->second.cell;
                            std::string clip = "c" + std::to_string(++svg.clips);
                            svg.body << "<clipPath id=\"" << clip << "\"><rect x=\"" << N(x + c.left) << "\" y=\""
                                     << N(y + c.top) << "\" width=\"" << c.GetWidth() << "\" height=\"" << c.GetHeight()
                                     << "\"/></clipPath><g clip-path=\"url(#" << clip << ")\">\n";
                            for (const auto& op : d->second.drawing.ops)
                                svg.Op(op, x + c.left, y + c.top);
                            svg.body << "</g>\n";
                        }
                    } else if (t < row.texts.size()) {
                        std::string fill = row.selected ? "rgb(255,255,255)" : row.enabled ? ink : "rgb(128,128,128)";
                        svg.Text(x + tab.begin + 2, top + l.rowHeight / 2.0 + 4, row.texts[t].ToUtf8(), "start", fill);
                    }
                }
            }
        } else if (k == "progressbar") {
            svg.Rect(x, y, w, h, "rgb(255,255,255)", "rgb(120,120,120)");
            double span = it.progressMax - it.progressMin;
            double f = span > 0 ? double(it.progressValue - it.progressMin) / span : 0;
            svg.Rect(x, y, w * (f < 0 ? 0 : f > 1 ? 1 : f), h, "rgb(51,102,204)", "none");
        } else if (k == "splitter") {
            svg.Rect(x, y, w, h, "rgb(200,200,200)", "none");
        } else {
            bool field = k == "textedit" || k == "multilineedit" || k == "realedit";
            svg.Rect(x, y, w, h, field ? "rgb(255,255,255)" : "rgb(245,245,245)", "rgb(120,120,120)");
            std::string text = it.text.ToUtf8();
            if (k == "realedit") {
                text = GS::Internal::FormatNumber(it.value, 6);
            } else if (k == "checkbox") {
                text = std::string(it.checked ? "[x] " : "[ ] ") + text;
            } else if (k == "popup") {
                text = it.selectedEntry > 0 ? it.entries[static_cast<std::size_t>(it.selectedEntry) - 1].text.ToUtf8()
                                            : std::string();
            } else if (text.empty() && it.icon != 0) {
                std::string name;
                text = RSGetIconName(it.icon, p->iconModule, &name) ? name : std::to_string(it.icon);
            }
            svg.Text(field ? x + 3 : x + w / 2, y + h / 2 + 4, text, field ? "start" : "middle", ink);
        }
    }
    std::ostringstream out;
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << p->width
        << "\" height=\"" << p->height << "\" viewBox=\"0 0 " << p->width << " " << p->height << "\">\n<title>"
        << Esc(p->title.ToUtf8()) << "</title>\n"
        << svg.body.str() << "</svg>\n";
    return out.str();
}

}  // namespace User
}  // namespace DG
