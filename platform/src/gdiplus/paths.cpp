// The path functions of the flat interface.
#include "gdiplus/objects.h"
#include "gdiplus/status.h"

#include <cmath>

using namespace Gdiplus;
using namespace vk::gdiplus;

namespace {

bool finite(std::initializer_list<REAL> values)
{
    for (REAL v : values)
        if (!std::isfinite(v))
            return false;
    return true;
}

} // namespace

extern "C" {

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreatePath(GpFillMode brushMode, GpPath** path)
{
    VK_GDIP_LOCK();
    if (!path)
        return refuse(InvalidParameter);
    *path = nullptr;
    if (!started())
        return refuse(GdiplusNotInitialized);
    if (brushMode != FillModeAlternate && brushMode != FillModeWinding)
        return refuse(InvalidParameter);
    auto p = std::make_unique<Path>();
    p->data.fillMode = brushMode;
    void* h = publish(std::move(p));
    if (!h)
        return refuse(OutOfMemory);
    *path = static_cast<GpPath*>(h);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipClonePath(GpPath* path, GpPath** clonePath)
{
    VK_GDIP_LOCK();
    Path* p = lookupAs<Path>(path);
    if (!p || !clonePath)
        return refuse(InvalidParameter);
    auto copy = std::make_unique<Path>();
    copy->data = p->data;
    void* h = publish(std::move(copy));
    if (!h)
        return refuse(OutOfMemory);
    *clonePath = static_cast<GpPath*>(h);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDeletePath(GpPath* path)
{
    VK_GDIP_LOCK();
    if (!lookupAs<Path>(path))
        return refuse(InvalidParameter);
    destroy(path);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipResetPath(GpPath* path)
{
    VK_GDIP_LOCK();
    Path* p = lookupAs<Path>(path);
    if (!p)
        return refuse(InvalidParameter);
    p->data = PathData{};
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetPointCount(GpPath* path, INT* count)
{
    VK_GDIP_LOCK();
    Path* p = lookupAs<Path>(path);
    if (!p || !count)
        return refuse(InvalidParameter);
    *count = INT(p->data.points.size());
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetPathPoints(GpPath* path, GpPointF* points, INT count)
{
    VK_GDIP_LOCK();
    Path* p = lookupAs<Path>(path);
    if (!p || !points || count <= 0)
        return refuse(InvalidParameter);
    if (size_t(count) < p->data.points.size())
        return refuse(InsufficientBuffer);
    std::copy(p->data.points.begin(), p->data.points.end(), points);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetPathTypes(GpPath* path, BYTE* types, INT count)
{
    VK_GDIP_LOCK();
    Path* p = lookupAs<Path>(path);
    if (!p || !types || count <= 0)
        return refuse(InvalidParameter);
    if (size_t(count) < p->data.types.size())
        return refuse(InsufficientBuffer);
    std::copy(p->data.types.begin(), p->data.types.end(), types);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetPathFillMode(GpPath* path, GpFillMode* fillmode)
{
    VK_GDIP_LOCK();
    Path* p = lookupAs<Path>(path);
    if (!p || !fillmode)
        return refuse(InvalidParameter);
    *fillmode = p->data.fillMode;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetPathFillMode(GpPath* path, GpFillMode fillmode)
{
    VK_GDIP_LOCK();
    Path* p = lookupAs<Path>(path);
    if (!p || (fillmode != FillModeAlternate && fillmode != FillModeWinding))
        return refuse(InvalidParameter);
    p->data.fillMode = fillmode;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipStartPathFigure(GpPath* path)
{
    VK_GDIP_LOCK();
    Path* p = lookupAs<Path>(path);
    if (!p)
        return refuse(InvalidParameter);
    p->data.startFigure();
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipClosePathFigure(GpPath* path)
{
    VK_GDIP_LOCK();
    Path* p = lookupAs<Path>(path);
    if (!p)
        return refuse(InvalidParameter);
    p->data.closeFigure();
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipClosePathFigures(GpPath* path)
{
    VK_GDIP_LOCK();
    Path* p = lookupAs<Path>(path);
    if (!p)
        return refuse(InvalidParameter);
    auto& types = p->data.types;
    for (size_t i = 0; i < types.size(); ++i)
        if (i + 1 == types.size() || (types[i + 1] & PathPointTypePathTypeMask) == PathPointTypeStart)
            types[i] |= PathPointTypeCloseSubpath;
    p->data.figureOpen = false;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipAddPathLine(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2)
{
    VK_GDIP_LOCK();
    Path* p = lookupAs<Path>(path);
    if (!p || !finite({x1, y1, x2, y2}))
        return refuse(InvalidParameter);
    p->data.moveOrLineTo({x1, y1});
    p->data.lineTo({x2, y2});
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipAddPathLineI(GpPath* path, INT x1, INT y1, INT x2, INT y2)
{
    return GdipAddPathLine(path, REAL(x1), REAL(y1), REAL(x2), REAL(y2));
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipAddPathLine2(GpPath* path, GDIPCONST GpPointF* points, INT count)
{
    VK_GDIP_LOCK();
    Path* p = lookupAs<Path>(path);
    if (!p || !points || count <= 0)
        return refuse(InvalidParameter);
    p->data.moveOrLineTo(points[0]);
    for (INT i = 1; i < count; ++i)
        p->data.lineTo(points[i]);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipAddPathLine2I(GpPath* path, GDIPCONST GpPoint* points, INT count)
{
    VK_GDIP_LOCK();
    if (!points || count <= 0)
        return refuse(InvalidParameter);
    std::vector<PointF> pts;
    for (INT i = 0; i < count; ++i)
        pts.emplace_back(REAL(points[i].X), REAL(points[i].Y));
    return GdipAddPathLine2(path, pts.data(), count);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipAddPathArc(GpPath* path, REAL x, REAL y, REAL width, REAL height,
                                                        REAL startAngle, REAL sweepAngle)
{
    VK_GDIP_LOCK();
    Path* p = lookupAs<Path>(path);
    if (!p || !finite({x, y, width, height, startAngle, sweepAngle}) || width <= 0 || height <= 0)
        return refuse(InvalidParameter);
    p->data.addArc(x, y, width, height, startAngle, sweepAngle);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipAddPathArcI(GpPath* path, INT x, INT y, INT width, INT height,
                                                         REAL startAngle, REAL sweepAngle)
{
    return GdipAddPathArc(path, REAL(x), REAL(y), REAL(width), REAL(height), startAngle, sweepAngle);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipAddPathBezier(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3,
                                                           REAL y3, REAL x4, REAL y4)
{
    VK_GDIP_LOCK();
    Path* p = lookupAs<Path>(path);
    if (!p || !finite({x1, y1, x2, y2, x3, y3, x4, y4}))
        return refuse(InvalidParameter);
    p->data.moveOrLineTo({x1, y1});
    p->data.bezierTo({x2, y2}, {x3, y3}, {x4, y4});
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipAddPathBezierI(GpPath* path, INT x1, INT y1, INT x2, INT y2, INT x3, INT y3,
                                                            INT x4, INT y4)
{
    return GdipAddPathBezier(path, REAL(x1), REAL(y1), REAL(x2), REAL(y2), REAL(x3), REAL(y3), REAL(x4), REAL(y4));
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipAddPathRectangle(GpPath* path, REAL x, REAL y, REAL width, REAL height)
{
    VK_GDIP_LOCK();
    Path* p = lookupAs<Path>(path);
    if (!p || !finite({x, y, width, height}))
        return refuse(InvalidParameter);
    // An empty rectangle adds nothing, successfully.
    if (width <= 0 || height <= 0)
        return Ok;
    p->data.addRectangle(x, y, width, height);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipAddPathRectangleI(GpPath* path, INT x, INT y, INT width, INT height)
{
    return GdipAddPathRectangle(path, REAL(x), REAL(y), REAL(width), REAL(height));
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipAddPathEllipse(GpPath* path, REAL x, REAL y, REAL width, REAL height)
{
    VK_GDIP_LOCK();
    Path* p = lookupAs<Path>(path);
    if (!p || !finite({x, y, width, height}))
        return refuse(InvalidParameter);
    p->data.addEllipse(x, y, width, height);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipAddPathEllipseI(GpPath* path, INT x, INT y, INT width, INT height)
{
    return GdipAddPathEllipse(path, REAL(x), REAL(y), REAL(width), REAL(height));
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipAddPathPath(GpPath* path, GDIPCONST GpPath* addingPath, BOOL connect)
{
    VK_GDIP_LOCK();
    Path* p = lookupAs<Path>(path);
    Path* q = lookupAs<Path>(addingPath);
    if (!p || !q)
        return refuse(InvalidParameter);
    PathData add = q->data;
    for (size_t i = 0; i < add.points.size(); ++i) {
        uint8_t t = add.types[i];
        if (i == 0 && connect && p->data.figureOpen) {
            p->data.moveOrLineTo(add.points[0]);
            continue;
        }
        p->data.points.push_back(add.points[i]);
        p->data.types.push_back(t);
    }
    p->data.figureOpen = add.figureOpen;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetPathWorldBounds(GpPath* path, GpRectF* bounds, GDIPCONST GpMatrix* matrix,
                                                                GDIPCONST GpPen* pen)
{
    VK_GDIP_LOCK();
    Path* p = lookupAs<Path>(path);
    if (!p || !bounds)
        return refuse(InvalidParameter);
    if (p->data.points.empty()) {
        *bounds = RectF();
        return Ok;
    }
    // Bounds of the curve itself, not of its control points.
    SurfacePtr s(cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1));
    ContextPtr cr(cairo_create(s.get()));
    appendPath(cr.get(), p->data);
    double x0, y0, x1, y1;
    cairo_path_extents(cr.get(), &x0, &y0, &x1, &y1);
    if (Pen* pn = lookupAs<Pen>(pen)) {
        double half = pn->width / 2.0;
        x0 -= half, y0 -= half, x1 += half, y1 += half;
    }
    *bounds = RectF(REAL(x0), REAL(y0), REAL(x1 - x0), REAL(y1 - y0));
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetPathWorldBoundsI(GpPath* path, GpRect* bounds, GDIPCONST GpMatrix* matrix,
                                                                 GDIPCONST GpPen* pen)
{
    VK_GDIP_LOCK();
    if (!bounds)
        return refuse(InvalidParameter);
    RectF r;
    Status st = GdipGetPathWorldBounds(path, &r, matrix, pen);
    if (st != Ok)
        return st;
    INT l = INT(std::floor(r.X)), t = INT(std::floor(r.Y));
    *bounds = Rect(l, t, INT(std::ceil(r.X + r.Width)) - l, INT(std::ceil(r.Y + r.Height)) - t);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipIsVisiblePathPoint(GpPath* path, REAL x, REAL y, GpGraphics* graphics, BOOL* result)
{
    VK_GDIP_LOCK();
    Path* p = lookupAs<Path>(path);
    if (!p || !result)
        return refuse(InvalidParameter);
    RegionPart part;
    part.shape = RegionPart::Shape::Path;
    part.path = p->data;
    RegionData r;
    r.combine(std::move(part));
    *result = r.contains(x, y) ? TRUE : FALSE;
    return Ok;
}

} // extern "C"
