// Shape coverage (see shape_geometry.h).
#include "gdi/shape_geometry.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vk::gdi {

namespace {

// Span [x0, x1) of row ey inside the ellipse that fills (0, 0, w, h).
bool ellipseRow(int w, int h, int ey, int& x0, int& x1)
{
    double rx = w / 2.0, ry = h / 2.0;
    double dy = (ey + 0.5 - ry) / ry;
    if (dy <= -1 || dy >= 1)
        return false;
    double hw = rx * std::sqrt(1 - dy * dy);
    x0 = int(std::ceil(rx - hw - 0.5));
    x1 = int(std::floor(rx + hw - 0.5)) + 1;
    if (x0 < 0)
        x0 = 0;
    if (x1 > w)
        x1 = w;
    return x1 > x0;
}

Region fromBoxes(std::vector<pixman_box32_t>& boxes)
{
    Region r;
    if (boxes.empty())
        return r;
    pixman_region32_fini(r.raw());
    pixman_region32_init_rects(r.raw(), boxes.data(), int(boxes.size()));
    return r;
}

} // namespace

Region ellipseRegion(int l, int t, int r, int b)
{
    if (r < l)
        std::swap(l, r);
    if (b < t)
        std::swap(t, b);
    int w = r - l, h = b - t;
    std::vector<pixman_box32_t> boxes;
    for (int y = 0; y < h; ++y) {
        int x0, x1;
        if (ellipseRow(w, h, y, x0, x1))
            boxes.push_back(pixman_box32_t{l + x0, t + y, l + x1, t + y + 1});
    }
    return fromBoxes(boxes);
}

Region roundRectRegion(int l, int t, int r, int b, int ew, int eh)
{
    if (r < l)
        std::swap(l, r);
    if (b < t)
        std::swap(t, b);
    int w = r - l, h = b - t;
    ew = std::min(std::abs(ew), w);
    eh = std::min(std::abs(eh), h);
    if (ew < 2 || eh < 2)
        return Region(l, t, r, b);
    std::vector<pixman_box32_t> boxes;
    int half = eh / 2;
    for (int y = 0; y < h; ++y) {
        int ey = -1;
        if (y < half)
            ey = y;
        else if (y >= h - (eh - half))
            ey = eh - (h - y);
        int x0 = 0, x1 = w;
        if (ey >= 0) {
            int e0, e1;
            if (!ellipseRow(ew, eh, ey, e0, e1))
                continue;
            x0 = e0;
            x1 = w - (ew - e1);
        }
        if (x1 > x0)
            boxes.push_back(pixman_box32_t{l + x0, t + y, l + x1, t + y + 1});
    }
    return fromBoxes(boxes);
}

Region polygonRegion(const POINT* pts, const int* counts, int polys, int mode)
{
    struct Edge {
        double x0, y0, x1, y1;
        int dir;
    };
    std::vector<Edge> edges;
    int ymin = INT32_MAX, ymax = INT32_MIN;
    const POINT* p = pts;
    for (int k = 0; k < polys; ++k) {
        int n = counts[k];
        for (int i = 0; i < n; ++i) {
            POINT a = p[i], b = p[(i + 1) % n];
            ymin = std::min(ymin, int(a.y));
            ymax = std::max(ymax, int(a.y));
            if (a.y == b.y)
                continue;
            if (a.y < b.y)
                edges.push_back(Edge{double(a.x), double(a.y), double(b.x), double(b.y), 1});
            else
                edges.push_back(Edge{double(b.x), double(b.y), double(a.x), double(a.y), -1});
        }
        p += n;
    }
    std::vector<pixman_box32_t> boxes;
    if (edges.empty())
        return Region();
    struct Cross {
        double x;
        int dir;
    };
    std::vector<Cross> xs;
    for (int y = ymin; y < ymax; ++y) {
        double sy = y + 0.5;
        xs.clear();
        for (const Edge& e : edges)
            if (sy >= e.y0 && sy < e.y1)
                xs.push_back(Cross{e.x0 + (sy - e.y0) * (e.x1 - e.x0) / (e.y1 - e.y0), e.dir});
        std::sort(xs.begin(), xs.end(), [](const Cross& a, const Cross& b) { return a.x < b.x; });
        int wind = 0;
        for (size_t i = 0; i + 1 < xs.size(); ++i) {
            wind += xs[i].dir;
            bool inside = mode == 2 /* WINDING */ ? wind != 0 : ((i & 1) == 0);
            if (!inside)
                continue;
            int x0 = int(std::ceil(xs[i].x - 0.5)), x1 = int(std::ceil(xs[i + 1].x - 0.5));
            if (x1 > x0)
                boxes.push_back(pixman_box32_t{x0, y, x1, y + 1});
        }
    }
    return fromBoxes(boxes);
}

Region frameOf(const Region& rgn, int w, int h)
{
    Region inner(rgn);
    for (int dx : {-w, w}) {
        Region s(rgn);
        s.translate(dx, 0);
        inner.intersect(s);
    }
    for (int dy : {-h, h}) {
        Region s(rgn);
        s.translate(0, dy);
        inner.intersect(s);
    }
    Region f(rgn);
    f.subtract(inner);
    return f;
}

} // namespace vk::gdi
