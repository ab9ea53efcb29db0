// Lines, shapes, fills, clearing and pictures drawn on a Graphics.
#include "gdiplus/canvas.h"
#include "gdiplus/objects.h"
#include "gdiplus/status.h"

#include <cmath>

using namespace Gdiplus;
using namespace vk::gdiplus;

namespace {

double unitToPixels(Unit unit)
{
    switch (unit) {
    case UnitPoint:
        return 96.0 / 72.0;
    case UnitInch:
        return 96.0;
    case UnitDocument:
        return 96.0 / 300.0;
    case UnitMillimeter:
        return 96.0 / 25.4;
    default:
        return 1.0;
    }
}

void setupPen(cairo_t* cr, const Graphics& g, const Pen& pen)
{
    double width = pen.width * unitToPixels(pen.unit);
    // Thin pens still draw one device pixel, as GDI+ does.
    double dx = 1, dy = 0;
    cairo_device_to_user_distance(cr, &dx, &dy);
    double onePixel = std::hypot(dx, dy);
    if (pen.unit != UnitWorld && pen.unit != UnitPixel) {
        // Units other than world ignore the world scale.
        width *= onePixel;
    }
    cairo_set_line_width(cr, std::fmax(width, onePixel));
    switch (pen.join) {
    case LineJoinBevel:
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_BEVEL);
        break;
    case LineJoinRound:
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        break;
    default:
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
        cairo_set_miter_limit(cr, 10.0);
        break;
    }
    cairo_set_line_cap(cr, pen.startCap == LineCapRound ? CAIRO_LINE_CAP_ROUND
                           : pen.startCap == LineCapSquare ? CAIRO_LINE_CAP_SQUARE
                                                           : CAIRO_LINE_CAP_BUTT);
    double w = std::fmax(width, onePixel);
    switch (pen.dash) {
    case DashStyleDash: {
        double d[] = {3 * w, w};
        cairo_set_dash(cr, d, 2, 0);
        break;
    }
    case DashStyleDot: {
        double d[] = {w, w};
        cairo_set_dash(cr, d, 2, 0);
        break;
    }
    case DashStyleDashDot: {
        double d[] = {3 * w, w, w, w};
        cairo_set_dash(cr, d, 4, 0);
        break;
    }
    case DashStyleDashDotDot: {
        double d[] = {3 * w, w, w, w, w, w};
        cairo_set_dash(cr, d, 6, 0);
        break;
    }
    default:
        break;
    }
    if (pen.brush)
        setBrushSource(cr, g, *pen.brush);
}

Status strokePath(GpGraphics* graphics, GpPen* pen, const PathData& path)
{
    Graphics* g = lookupAs<Graphics>(graphics);
    Pen* p = lookupAs<Pen>(pen);
    if (!g || !p)
        return refuse(InvalidParameter);
    Status st = paintOn(*g, [&](cairo_t* cr, TouchedBox& box) {
        appendPath(cr, path);
        setupPen(cr, *g, *p);
        double x0, y0, x1, y1;
        cairo_stroke_extents(cr, &x0, &y0, &x1, &y1);
        box.addUser(cr, x0, y0, x1, y1);
        cairo_stroke(cr);
    });
    return st == Ok ? Ok : refuse(st);
}

Status fillPath(GpGraphics* graphics, GpBrush* brush, const PathData& path)
{
    Graphics* g = lookupAs<Graphics>(graphics);
    Brush* b = lookupAs<Brush>(brush);
    if (!g || !b)
        return refuse(InvalidParameter);
    Status st = paintOn(*g, [&](cairo_t* cr, TouchedBox& box) {
        appendPath(cr, path);
        cairo_set_fill_rule(cr, path.fillMode == FillModeWinding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD);
        setBrushSource(cr, *g, *b);
        double x0, y0, x1, y1;
        cairo_fill_extents(cr, &x0, &y0, &x1, &y1);
        box.addUser(cr, x0, y0, x1, y1);
        cairo_fill(cr);
    });
    return st == Ok ? Ok : refuse(st);
}

bool finite(std::initializer_list<REAL> values)
{
    for (REAL v : values)
        if (!std::isfinite(v))
            return false;
    return true;
}

PathData linePath(REAL x1, REAL y1, REAL x2, REAL y2)
{
    PathData d;
    d.moveOrLineTo({x1, y1});
    d.lineTo({x2, y2});
    return d;
}

PathData rectPath(REAL x, REAL y, REAL w, REAL h)
{
    PathData d;
    d.addRectangle(x, y, w, h);
    return d;
}

PathData ellipsePath(REAL x, REAL y, REAL w, REAL h)
{
    PathData d;
    d.addEllipse(x, y, w, h);
    return d;
}

cairo_filter_t filterFor(InterpolationMode mode)
{
    switch (mode) {
    case InterpolationModeNearestNeighbor:
        return CAIRO_FILTER_NEAREST;
    case InterpolationModeHighQuality:
    case InterpolationModeHighQualityBicubic:
    case InterpolationModeHighQualityBilinear:
    case InterpolationModeBicubic:
        return CAIRO_FILTER_GOOD;
    default:
        return CAIRO_FILTER_BILINEAR;
    }
}

Status drawImage(GpGraphics* graphics, GpImage* image, double dx, double dy, double dw, double dh, double sx, double sy,
                 double sw, double sh)
{
    Graphics* g = lookupAs<Graphics>(graphics);
    Bitmap* b = lookupAs<Bitmap>(image);
    if (!g || !b)
        return refuse(InvalidParameter);
    if (!(std::isfinite(dx) && std::isfinite(dy) && std::isfinite(dw) && std::isfinite(dh) && std::isfinite(sx) &&
          std::isfinite(sy) && std::isfinite(sw) && std::isfinite(sh)))
        return refuse(InvalidParameter);
    if (dw == 0 || dh == 0 || sw == 0 || sh == 0)
        return Ok;
    if (b->lock.active)
        return refuse(WrongState);
    cairo_surface_t* src = cachedSurface(*b);
    if (!src)
        return refuse(OutOfMemory);
    Status st = paintOn(*g, [&](cairo_t* cr, TouchedBox& box) {
        // A picture covers whole pixels from its corner: undo the pixel-centre
        // shift so that an unscaled picture lands exactly on the pixel grid.
        double shift = pixelCentreShift(*g);
        double x = dx - shift, y = dy - shift;
        PatternPtr p(cairo_pattern_create_for_surface(src));
        cairo_matrix_t m;
        cairo_matrix_init_translate(&m, sx, sy);
        cairo_matrix_scale(&m, sw / dw, sh / dh);
        cairo_matrix_translate(&m, -x, -y);
        cairo_pattern_set_matrix(p.get(), &m);
        // Padding keeps the outer pixels of a scaled picture from fading out.
        cairo_pattern_set_extend(p.get(), CAIRO_EXTEND_PAD);
        cairo_matrix_t ctm;
        cairo_get_matrix(cr, &ctm);
        bool unscaled = std::fabs(sw - dw) < 1e-6 && std::fabs(sh - dh) < 1e-6 && ctm.xx == 1 && ctm.yy == 1 &&
                        ctm.xy == 0 && ctm.yx == 0;
        cairo_pattern_set_filter(p.get(), unscaled ? CAIRO_FILTER_NEAREST : filterFor(g->interpolation));
        cairo_set_source(cr, p.get());
        cairo_rectangle(cr, x, y, dw, dh);
        cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
        box.addUser(cr, x, y, x + dw, y + dh);
        cairo_fill(cr);
    });
    return st == Ok ? Ok : refuse(st);
}

} // namespace

extern "C" {

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGraphicsClear(GpGraphics* graphics, ARGB color)
{
    VK_GDIP_LOCK();
    Graphics* g = lookupAs<Graphics>(graphics);
    if (!g)
        return refuse(InvalidParameter);
    Status st = paintOn(*g, [&](cairo_t* cr, TouchedBox& box) {
        // Clear replaces the pixels inside the clip, whatever the compositing mode.
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        setSourceArgb(cr, color);
        cairo_paint(cr);
        box.everything = true;
    });
    return st == Ok ? Ok : refuse(st);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDrawLine(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2)
{
    VK_GDIP_LOCK();
    if (!finite({x1, y1, x2, y2}))
        return refuse(InvalidParameter);
    return strokePath(graphics, pen, linePath(x1, y1, x2, y2));
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDrawLineI(GpGraphics* graphics, GpPen* pen, INT x1, INT y1, INT x2, INT y2)
{
    return GdipDrawLine(graphics, pen, REAL(x1), REAL(y1), REAL(x2), REAL(y2));
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDrawLines(GpGraphics* graphics, GpPen* pen, GDIPCONST GpPointF* points, INT count)
{
    VK_GDIP_LOCK();
    if (!points || count < 2)
        return refuse(InvalidParameter);
    PathData d;
    d.moveOrLineTo(points[0]);
    for (INT i = 1; i < count; ++i)
        d.lineTo(points[i]);
    return strokePath(graphics, pen, d);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDrawLinesI(GpGraphics* graphics, GpPen* pen, GDIPCONST GpPoint* points, INT count)
{
    VK_GDIP_LOCK();
    if (!points || count < 2)
        return refuse(InvalidParameter);
    std::vector<PointF> pts;
    for (INT i = 0; i < count; ++i)
        pts.emplace_back(REAL(points[i].X), REAL(points[i].Y));
    return GdipDrawLines(graphics, pen, pts.data(), count);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDrawRectangle(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height)
{
    VK_GDIP_LOCK();
    if (!finite({x, y, width, height}))
        return refuse(InvalidParameter);
    return strokePath(graphics, pen, rectPath(x, y, width, height));
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDrawRectangleI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height)
{
    return GdipDrawRectangle(graphics, pen, REAL(x), REAL(y), REAL(width), REAL(height));
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDrawEllipse(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height)
{
    VK_GDIP_LOCK();
    if (!finite({x, y, width, height}))
        return refuse(InvalidParameter);
    return strokePath(graphics, pen, ellipsePath(x, y, width, height));
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDrawEllipseI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height)
{
    return GdipDrawEllipse(graphics, pen, REAL(x), REAL(y), REAL(width), REAL(height));
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDrawPath(GpGraphics* graphics, GpPen* pen, GpPath* path)
{
    VK_GDIP_LOCK();
    Path* p = lookupAs<Path>(path);
    if (!p)
        return refuse(InvalidParameter);
    return strokePath(graphics, pen, p->data);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipFillRectangle(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height)
{
    VK_GDIP_LOCK();
    if (!finite({x, y, width, height}))
        return refuse(InvalidParameter);
    return fillPath(graphics, brush, rectPath(x, y, width, height));
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipFillRectangleI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height)
{
    return GdipFillRectangle(graphics, brush, REAL(x), REAL(y), REAL(width), REAL(height));
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipFillEllipse(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height)
{
    VK_GDIP_LOCK();
    if (!finite({x, y, width, height}))
        return refuse(InvalidParameter);
    return fillPath(graphics, brush, ellipsePath(x, y, width, height));
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipFillEllipseI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height)
{
    return GdipFillEllipse(graphics, brush, REAL(x), REAL(y), REAL(width), REAL(height));
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipFillPath(GpGraphics* graphics, GpBrush* brush, GpPath* path)
{
    VK_GDIP_LOCK();
    Path* p = lookupAs<Path>(path);
    if (!p)
        return refuse(InvalidParameter);
    return fillPath(graphics, brush, p->data);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipFillRegion(GpGraphics* graphics, GpBrush* brush, GpRegion* region)
{
    VK_GDIP_LOCK();
    Graphics* g = lookupAs<Graphics>(graphics);
    Brush* b = lookupAs<Brush>(brush);
    Region* r = lookupAs<Region>(region);
    if (!g || !b || !r)
        return refuse(InvalidParameter);
    Status st = paintOn(*g, [&](cairo_t* cr, TouchedBox& box) {
        cairo_surface_t* target = cairo_get_group_target(cr);
        int w = cairo_image_surface_get_width(target), h = cairo_image_surface_get_height(target);
        RegionData device = r->data;
        device.transform(g->world);
        SurfacePtr mask = device.rasterize(w, h, pixelCentreShift(*g));
        setBrushSource(cr, *g, *b);
        cairo_save(cr);
        cairo_identity_matrix(cr);
        cairo_mask_surface(cr, mask.get(), 0, 0);
        cairo_restore(cr);
        box.everything = true;
    });
    return st == Ok ? Ok : refuse(st);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDrawImage(GpGraphics* graphics, GpImage* image, REAL x, REAL y)
{
    VK_GDIP_LOCK();
    Bitmap* b = lookupAs<Bitmap>(image);
    if (!b)
        return refuse(InvalidParameter);
    return drawImage(graphics, image, x, y, b->width, b->height, 0, 0, b->width, b->height);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDrawImageI(GpGraphics* graphics, GpImage* image, INT x, INT y)
{
    return GdipDrawImage(graphics, image, REAL(x), REAL(y));
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDrawImageRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL width, REAL height)
{
    VK_GDIP_LOCK();
    Bitmap* b = lookupAs<Bitmap>(image);
    if (!b)
        return refuse(InvalidParameter);
    return drawImage(graphics, image, x, y, width, height, 0, 0, b->width, b->height);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDrawImageRectI(GpGraphics* graphics, GpImage* image, INT x, INT y, INT width, INT height)
{
    return GdipDrawImageRect(graphics, image, REAL(x), REAL(y), REAL(width), REAL(height));
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDrawImageRectRect(GpGraphics* graphics, GpImage* image, REAL dstx, REAL dsty,
                                                               REAL dstwidth, REAL dstheight, REAL srcx, REAL srcy,
                                                               REAL srcwidth, REAL srcheight, GpUnit srcUnit,
                                                               GDIPCONST GpImageAttributes* imageAttributes,
                                                               DrawImageAbort callback, VOID* callbackData)
{
    VK_GDIP_LOCK();
    if (srcUnit != UnitPixel)
        return refuse(NotImplemented);
    if (callback && callback(callbackData))
        return Aborted;
    return drawImage(graphics, image, dstx, dsty, dstwidth, dstheight, srcx, srcy, srcwidth, srcheight);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDrawImageRectRectI(GpGraphics* graphics, GpImage* image, INT dstx, INT dsty,
                                                                INT dstwidth, INT dstheight, INT srcx, INT srcy,
                                                                INT srcwidth, INT srcheight, GpUnit srcUnit,
                                                                GDIPCONST GpImageAttributes* imageAttributes,
                                                                DrawImageAbort callback, VOID* callbackData)
{
    return GdipDrawImageRectRect(graphics, image, REAL(dstx), REAL(dsty), REAL(dstwidth), REAL(dstheight), REAL(srcx),
                                 REAL(srcy), REAL(srcwidth), REAL(srcheight), srcUnit, imageAttributes, callback,
                                 callbackData);
}

} // extern "C"
