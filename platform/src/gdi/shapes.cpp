// Pixels, lines and filled shapes drawn with the DC's pen and brush.
#include "gdi/raster.h"
#include "gdi/shape_geometry.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vk::gdi {

namespace {

struct Dashes {
    const int* runs;
    int count;
};

Dashes dashesFor(UINT style)
{
    static const int dash[] = {18, 6}, dot[] = {3, 3}, dashDot[] = {9, 6, 3, 6}, dashDotDot[] = {9, 3, 3, 3, 3, 3},
                     alternate[] = {1, 1};
    switch (style) {
    case PS_DASH: return {dash, 2};
    case PS_DOT: return {dot, 2};
    case PS_DASHDOT: return {dashDot, 4};
    case PS_DASHDOTDOT: return {dashDotDot, 6};
    case PS_ALTERNATE: return {alternate, 2};
    default: return {nullptr, 0};
    }
}

// Collects the pixels a pen covers, then paints them in one go.
class PenStroke {
public:
    PenStroke(Target& t) : m_t(t)
    {
        PenObj* p = getPen(t.dc->st.pen);
        if (!p || p->baseStyle() == PS_NULL) {
            m_null = true;
            return;
        }
        m_width = p->width;
        m_color = t.color(p->dcPen ? t.dc->st.dcPenColor : p->color);
        m_insideFrame = p->baseStyle() == PS_INSIDEFRAME;
        if (m_width <= 1) {
            m_dashes = dashesFor(p->baseStyle());
            if (p->baseStyle() == PS_USERSTYLE && !p->userStyle.empty()) {
                for (DWORD v : p->userStyle)
                    m_user.push_back(int(v ? v : 1));
                m_dashes = Dashes{m_user.data(), int(m_user.size())};
            }
        }
        if (m_width > 1)
            for (int dy = 0; dy < m_width; ++dy) {
                // Rows of a disc of the pen's diameter, centred on the pixel.
                double r = m_width / 2.0, cy = dy + 0.5 - r;
                double hw = std::sqrt(std::max(0.0, r * r - cy * cy));
                int x0 = int(std::floor(r - hw + 0.5)), x1 = int(std::ceil(r + hw - 0.5));
                if (x1 <= x0)
                    x1 = x0 + 1;
                m_disc.push_back(std::pair<int, int>(x0, x1));
            }
    }

    bool null() const { return m_null; }
    int width() const { return m_width; }
    bool insideFrame() const { return m_insideFrame; }

    // A line in surface coordinates; the end point is left out, as Win32 does.
    void line(POINT a, POINT b, bool includeEnd = false)
    {
        if (m_null)
            return;
        int dx = std::abs(b.x - a.x), dy = std::abs(b.y - a.y);
        int sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
        int err = dx - dy;
        int x = a.x, y = a.y;
        int steps = std::max(dx, dy);
        for (int i = 0; i < steps; ++i) {
            plot(x, y);
            int e2 = 2 * err;
            if (e2 > -dy) {
                err -= dy;
                x += sx;
            }
            if (e2 < dx) {
                err += dx;
                y += sy;
            }
        }
        if (includeEnd || (m_width > 1 && steps > 0))
            plot(b.x, b.y);
    }

    void pixel(int x, int y) { plot(x, y); }

    void add(const Region& r) { m_extra.unite(r); }

    void paint()
    {
        if (m_null)
            return;
        Region on = fromBoxes(m_on);
        on.unite(m_extra);
        int rop = m_t.dc->st.rop2;
        if (!m_off.empty() && m_t.dc->st.bkMode == OPAQUE)
            paintRegion(m_t, fromBoxes(m_off), solidPaint(m_t.color(m_t.dc->st.bkColor)), rop);
        paintRegion(m_t, on, solidPaint(m_color), rop);
    }

private:
    static Region fromBoxes(std::vector<pixman_box32_t>& boxes)
    {
        Region r;
        if (boxes.empty())
            return r;
        pixman_region32_fini(r.raw());
        pixman_region32_init_rects(r.raw(), boxes.data(), int(boxes.size()));
        return r;
    }

    void plot(int x, int y)
    {
        if (m_width > 1) {
            int h = m_width / 2;
            for (int dy = 0; dy < m_width; ++dy)
                m_on.push_back(pixman_box32_t{x - h + m_disc[size_t(dy)].first, y - h + dy, x - h + m_disc[size_t(dy)].second, y - h + dy + 1});
            return;
        }
        bool on = true;
        if (m_dashes.count) {
            on = (m_dashIndex % 2) == 0;
            if (++m_dashPos >= m_dashes.runs[m_dashIndex]) {
                m_dashPos = 0;
                m_dashIndex = (m_dashIndex + 1) % m_dashes.count;
            }
        }
        (on ? m_on : m_off).push_back(pixman_box32_t{x, y, x + 1, y + 1});
    }

    Target& m_t;
    bool m_null = false;
    int m_width = 1;
    uint32_t m_color = 0;
    bool m_insideFrame = false;
    Dashes m_dashes{nullptr, 0};
    std::vector<int> m_user;
    int m_dashIndex = 0, m_dashPos = 0;
    std::vector<std::pair<int, int>> m_disc;
    std::vector<pixman_box32_t> m_on, m_off;
    Region m_extra;
};

void fillWithBrush(Target& t, const Region& r)
{
    Paint p = brushPaint(t, t.dc->st.brush);
    paintRegion(t, r, p, t.dc->st.rop2);
}

enum class Closed { Rect, Ellipse, RoundRect };

BOOL closedShape(HDC hdc, int l, int tp, int r, int b, Closed kind, int ew = 0, int eh = 0)
{
    Target t;
    if (!acquire(hdc, t))
        return FALSE;
    if (!t.drawable())
        return TRUE;
    if (r < l)
        std::swap(l, r);
    if (b < tp)
        std::swap(tp, b);
    RECT rc = t.toSurf(RECT{l, tp, r, b});
    PenStroke pen(t);
    auto shape = [&](const RECT& q, int cw, int ch) {
        switch (kind) {
        case Closed::Rect: return Region(q);
        case Closed::Ellipse: return ellipseRegion(q.left, q.top, q.right, q.bottom);
        case Closed::RoundRect: return roundRectRegion(q.left, q.top, q.right, q.bottom, cw, ch);
        }
        return Region();
    };
    if (pen.null()) {
        // Without a pen the shape is one pixel smaller each way.
        fillWithBrush(t, shape(RECT{rc.left, rc.top, rc.right - 1, rc.bottom - 1}, ew, eh));
        return TRUE;
    }
    int w = pen.width();
    RECT outer = rc;
    if (!pen.insideFrame() && w > 1) {
        outer = RECT{rc.left - w / 2, rc.top - w / 2, rc.right - 1 - w / 2 + w, rc.bottom - 1 - w / 2 + w};
    }
    RECT inner{outer.left + w, outer.top + w, outer.right - w, outer.bottom - w};
    Region outerR = shape(outer, ew, eh);
    Region innerR = inner.right > inner.left && inner.bottom > inner.top ? shape(inner, ew - 2 * w, eh - 2 * w) : Region();
    fillWithBrush(t, innerR);
    Region ring = outerR;
    ring.subtract(innerR);
    pen.add(ring);
    pen.paint();
    return TRUE;
}

double angleOf(double dx, double dy) { return std::atan2(-dy, dx); }

double sweepFrom(double start, double a)
{
    double d = std::fmod(a - start, 2 * M_PI);
    return d < 0 ? d + 2 * M_PI : d;
}

enum class ArcKind { Arc, Pie, Chord };

BOOL arcShape(HDC hdc, int l, int tp, int r, int b, int x3, int y3, int x4, int y4, ArcKind kind)
{
    Target t;
    if (!acquire(hdc, t))
        return FALSE;
    if (!t.drawable())
        return TRUE;
    if (r < l)
        std::swap(l, r);
    if (b < tp)
        std::swap(tp, b);
    RECT rc = t.toSurf(RECT{l, tp, r, b});
    POINT s = t.toSurf(x3, y3), e = t.toSurf(x4, y4);
    double cx = (rc.left + rc.right) / 2.0, cy = (rc.top + rc.bottom) / 2.0;
    double rx = (rc.right - rc.left) / 2.0, ry = (rc.bottom - rc.top) / 2.0;
    if (rx <= 0 || ry <= 0)
        return TRUE;
    double a0 = angleOf(s.x - cx, s.y - cy), a1 = angleOf(e.x - cx, e.y - cy);
    double sweep = sweepFrom(a0, a1);
    if (sweep == 0)
        sweep = 2 * M_PI;
    auto onEllipse = [&](double a) {
        double dx = std::cos(a), dy = -std::sin(a);
        double k = 1 / std::sqrt((dx / rx) * (dx / rx) + (dy / ry) * (dy / ry));
        return POINT{LONG(std::lround(cx + dx * k - 0.5)), LONG(std::lround(cy + dy * k - 0.5))};
    };
    POINT p0 = onEllipse(a0), p1 = onEllipse(a1);
    PenStroke pen(t);
    Region full = ellipseRegion(rc.left, rc.top, rc.right, rc.bottom);
    Region inner = ellipseRegion(rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1);
    auto inSweep = [&](int x, int y) { return sweepFrom(a0, angleOf(x + 0.5 - cx, y + 0.5 - cy)) <= sweep; };
    double mid = a0 + sweep / 2;
    POINT pm{LONG(cx + std::cos(mid) * rx), LONG(cy - std::sin(mid) * ry)};
    auto chordSide = [&](double x, double y) {
        return (p1.x - p0.x) * (y - p0.y) - (p1.y - p0.y) * (x - p0.x);
    };
    double midSide = chordSide(pm.x, pm.y);
    auto keep = [&](const Region& src, bool chord) {
        Region out;
        for (const RECT& q : src.rects())
            for (int y = q.top; y < q.bottom; ++y)
                for (int x = q.left; x < q.right; ++x) {
                    bool in = chord ? chordSide(x + 0.5, y + 0.5) * midSide >= 0 : inSweep(x, y);
                    if (in)
                        out.unite(RECT{x, y, x + 1, y + 1});
                }
        return out;
    };
    if (kind != ArcKind::Arc) {
        Region fill = keep(inner, kind == ArcKind::Chord);
        fillWithBrush(t, fill);
    }
    Region ring = full;
    ring.subtract(inner);
    pen.add(keep(ring, false));
    POINT c{LONG(cx), LONG(cy)};
    if (kind == ArcKind::Pie) {
        pen.line(c, p0, true);
        pen.line(c, p1, true);
    } else if (kind == ArcKind::Chord) {
        pen.line(p0, p1, true);
    }
    pen.paint();
    return TRUE;
}

BOOL polyline(HDC hdc, const POINT* pts, int n, bool fromCurrent, bool updateCurrent)
{
    Target t;
    if (!acquire(hdc, t))
        return FALSE;
    if (!pts || n < (fromCurrent ? 1 : 2))
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    if (t.drawable()) {
        PenStroke pen(t);
        POINT prev = fromCurrent ? t.toSurf(t.dc->st.curPos.x, t.dc->st.curPos.y) : t.toSurf(pts[0].x, pts[0].y);
        for (int i = fromCurrent ? 0 : 1; i < n; ++i) {
            POINT p = t.toSurf(pts[i].x, pts[i].y);
            pen.line(prev, p);
            prev = p;
        }
        pen.paint();
    }
    if (updateCurrent)
        t.dc->st.curPos = pts[n - 1];
    return TRUE;
}

} // namespace
} // namespace vk::gdi

using namespace vk;
using namespace vk::gdi;

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color)
{
    Target t;
    if (!acquire(hdc, t))
        return CLR_INVALID;
    if (!t.surf.valid())
        return color & 0xFFFFFF;
    POINT p = t.toSurf(x, y);
    if (!t.clip.contains(p.x, p.y))
        return CLR_INVALID;
    uint32_t v = t.color(color);
    t.surf.row(p.y)[p.x] = v;
    t.touch(RECT{p.x, p.y, p.x + 1, p.y + 1});
    return colorOfPixel(v);
}

BOOL WINAPI SetPixelV(HDC hdc, int x, int y, COLORREF color) { return SetPixel(hdc, x, y, color) != CLR_INVALID; }

COLORREF WINAPI GetPixel(HDC hdc, int x, int y)
{
    Target t;
    if (!sourceOf(hdc, t) || !t.surf.valid())
        return CLR_INVALID;
    POINT p = t.toSurf(x, y);
    if (!t.clip.contains(p.x, p.y))
        return CLR_INVALID;
    return colorOfPixel(t.surf.row(p.y)[p.x]);
}

BOOL WINAPI LineTo(HDC hdc, int x, int y)
{
    Target t;
    if (!acquire(hdc, t))
        return FALSE;
    if (t.drawable()) {
        PenStroke pen(t);
        pen.line(t.toSurf(t.dc->st.curPos.x, t.dc->st.curPos.y), t.toSurf(x, y));
        pen.paint();
    }
    t.dc->st.curPos = POINT{x, y};
    return TRUE;
}

BOOL WINAPI Polyline(HDC hdc, const POINT* pts, int n) { return polyline(hdc, pts, n, false, false); }

BOOL WINAPI PolylineTo(HDC hdc, const POINT* pts, DWORD n) { return polyline(hdc, pts, int(n), true, true); }

BOOL WINAPI PolyPolyline(HDC hdc, const POINT* pts, const DWORD* counts, DWORD polys)
{
    if (!pts || !counts)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    for (DWORD i = 0; i < polys; ++i) {
        if (!Polyline(hdc, pts, int(counts[i])))
            return FALSE;
        pts += counts[i];
    }
    return TRUE;
}

BOOL WINAPI PolyPolygon(HDC hdc, const POINT* pts, const INT* counts, int polys)
{
    Target t;
    if (!acquire(hdc, t))
        return FALSE;
    if (!pts || !counts || polys <= 0)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    for (int i = 0; i < polys; ++i)
        if (counts[i] < 2)
            return failWith(ERROR_INVALID_PARAMETER, FALSE);
    if (!t.drawable())
        return TRUE;
    int total = 0;
    for (int i = 0; i < polys; ++i)
        total += counts[i];
    std::vector<POINT> sp(static_cast<size_t>(total));
    for (int i = 0; i < total; ++i)
        sp[size_t(i)] = t.toSurf(pts[i].x, pts[i].y);
    fillWithBrush(t, polygonRegion(sp.data(), counts, polys, t.dc->st.polyFillMode));
    PenStroke pen(t);
    const POINT* p = sp.data();
    for (int k = 0; k < polys; ++k) {
        int n = counts[k];
        for (int i = 0; i < n; ++i)
            pen.line(p[i], p[(i + 1) % n]);
        p += n;
    }
    pen.paint();
    return TRUE;
}

BOOL WINAPI Polygon(HDC hdc, const POINT* pts, int n) { return PolyPolygon(hdc, pts, &n, 1); }

BOOL WINAPI Rectangle(HDC hdc, int l, int t, int r, int b) { return closedShape(hdc, l, t, r, b, Closed::Rect); }
BOOL WINAPI Ellipse(HDC hdc, int l, int t, int r, int b) { return closedShape(hdc, l, t, r, b, Closed::Ellipse); }
BOOL WINAPI RoundRect(HDC hdc, int l, int t, int r, int b, int w, int h)
{
    return closedShape(hdc, l, t, r, b, Closed::RoundRect, w, h);
}

BOOL WINAPI Arc(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    return arcShape(hdc, x1, y1, x2, y2, x3, y3, x4, y4, ArcKind::Arc);
}
BOOL WINAPI Pie(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    return arcShape(hdc, x1, y1, x2, y2, x3, y3, x4, y4, ArcKind::Pie);
}
BOOL WINAPI Chord(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    return arcShape(hdc, x1, y1, x2, y2, x3, y3, x4, y4, ArcKind::Chord);
}
