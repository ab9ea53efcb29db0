// Path geometry: figures of lines and Bézier curves, arcs and ellipses as
// curves, and the conversion to Cairo paths and flattened polygons.
#include "gdiplus/objects.h"

#include <cmath>

namespace vk::gdiplus {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr uint8_t kTypeMask = gp::PathPointTypePathTypeMask;

bool samePoint(gp::PointF a, gp::PointF b)
{
    return a.X == b.X && a.Y == b.Y;
}

} // namespace

void PathData::moveOrLineTo(gp::PointF p)
{
    if (!figureOpen || points.empty()) {
        points.push_back(p);
        types.push_back(gp::PathPointTypeStart);
        figureOpen = true;
        return;
    }
    if (!samePoint(points.back(), p))
        lineTo(p);
}

void PathData::lineTo(gp::PointF p)
{
    points.push_back(p);
    types.push_back(gp::PathPointTypeLine);
}

void PathData::bezierTo(gp::PointF c1, gp::PointF c2, gp::PointF end)
{
    for (gp::PointF p : {c1, c2, end}) {
        points.push_back(p);
        types.push_back(gp::PathPointTypeBezier);
    }
}

void PathData::closeFigure()
{
    if (!types.empty() && figureOpen)
        types.back() |= gp::PathPointTypeCloseSubpath;
    figureOpen = false;
}

void PathData::addArc(float x, float y, float w, float h, float startDeg, float sweepDeg)
{
    double a = w / 2.0, b = h / 2.0, cx = x + a, cy = y + b;
    double sweep = std::fmax(-360.0, std::fmin(360.0, double(sweepDeg)));
    // GDI+ angles are geometric angles on the ellipse; Bezier arcs need the
    // parametric angle of the same point.
    auto param = [&](double deg) {
        double r = deg * kPi / 180.0;
        return std::atan2(a * std::sin(r), b * std::cos(r));
    };
    auto pointAt = [&](double t) { return gp::PointF(float(cx + a * std::cos(t)), float(cy + b * std::sin(t))); };
    int pieces = std::max(1, int(std::ceil(std::fabs(sweep) / 90.0 - 1e-9)));
    double t0 = param(startDeg);
    moveOrLineTo(pointAt(t0));
    for (int i = 0; i < pieces; ++i) {
        double t1 = param(startDeg + sweep * (i + 1) / pieces);
        // Each piece turns by less than half a turn: unwrap next to t0.
        while (t1 - t0 > kPi)
            t1 -= 2 * kPi;
        while (t0 - t1 > kPi)
            t1 += 2 * kPi;
        if (sweep > 0 && t1 < t0)
            t1 += 2 * kPi;
        if (sweep < 0 && t1 > t0)
            t1 -= 2 * kPi;
        double k = 4.0 / 3.0 * std::tan((t1 - t0) / 4.0);
        gp::PointF p0 = pointAt(t0), p3 = pointAt(t1);
        gp::PointF c1(float(p0.X - k * a * std::sin(t0)), float(p0.Y + k * b * std::cos(t0)));
        gp::PointF c2(float(p3.X + k * a * std::sin(t1)), float(p3.Y - k * b * std::cos(t1)));
        bezierTo(c1, c2, p3);
        t0 = t1;
    }
}

void PathData::addRectangle(float x, float y, float w, float h)
{
    startFigure();
    moveOrLineTo({x, y});
    lineTo({x + w, y});
    lineTo({x + w, y + h});
    lineTo({x, y + h});
    closeFigure();
}

void PathData::addEllipse(float x, float y, float w, float h)
{
    startFigure();
    addArc(x, y, w, h, 0.0f, 360.0f);
    closeFigure();
}

void PathData::transform(const cairo_matrix_t& m)
{
    for (gp::PointF& p : points) {
        double px = p.X, py = p.Y;
        cairo_matrix_transform_point(&m, &px, &py);
        p = gp::PointF(float(px), float(py));
    }
}

void appendPath(cairo_t* cr, const PathData& path)
{
    const size_t n = path.points.size();
    for (size_t i = 0; i < n; ++i) {
        const gp::PointF& p = path.points[i];
        uint8_t t = path.types[i] & kTypeMask;
        if (t == gp::PathPointTypeStart) {
            cairo_move_to(cr, p.X, p.Y);
        } else if (t == gp::PathPointTypeBezier && i + 2 < n) {
            const gp::PointF& c2 = path.points[i + 1];
            const gp::PointF& e = path.points[i + 2];
            cairo_curve_to(cr, p.X, p.Y, c2.X, c2.Y, e.X, e.Y);
            i += 2;
        } else {
            cairo_line_to(cr, p.X, p.Y);
        }
        if (path.types[i] & gp::PathPointTypeCloseSubpath)
            cairo_close_path(cr);
    }
}

std::vector<std::vector<gp::PointF>> flattenPath(const PathData& path)
{
    std::vector<std::vector<gp::PointF>> figures;
    const size_t n = path.points.size();
    constexpr int kSteps = 16;
    for (size_t i = 0; i < n; ++i) {
        const gp::PointF& p = path.points[i];
        uint8_t t = path.types[i] & kTypeMask;
        if (t == gp::PathPointTypeStart || figures.empty()) {
            figures.emplace_back();
            figures.back().push_back(p);
        } else if (t == gp::PathPointTypeBezier && i + 2 < n) {
            gp::PointF p0 = figures.back().back();
            const gp::PointF &c1 = p, &c2 = path.points[i + 1], &e = path.points[i + 2];
            for (int s = 1; s <= kSteps; ++s) {
                float u = float(s) / kSteps, v = 1 - u;
                float x = v * v * v * p0.X + 3 * v * v * u * c1.X + 3 * v * u * u * c2.X + u * u * u * e.X;
                float y = v * v * v * p0.Y + 3 * v * v * u * c1.Y + 3 * v * u * u * c2.Y + u * u * u * e.Y;
                figures.back().push_back({x, y});
            }
            i += 2;
        } else {
            figures.back().push_back(p);
        }
    }
    for (auto& f : figures)
        if (f.size() > 1 && samePoint(f.front(), f.back()))
            f.pop_back();
    return figures;
}

} // namespace vk::gdiplus
