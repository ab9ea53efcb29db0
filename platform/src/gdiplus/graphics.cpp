// Graphics objects: creation on images and DCs, quality settings, world
// transform and clipping.
#include "gdiplus/canvas.h"
#include "gdiplus/objects.h"
#include "gdiplus/status.h"

#include "gdi/dc_view.h"

#include <cmath>

using namespace Gdiplus;
using namespace vk::gdiplus;

namespace {

Graphics* graphicsOf(const void* h)
{
    return lookupAs<Graphics>(h);
}

void combineClip(Graphics& g, RegionData shape, CombineMode mode)
{
    shape.transform(g.world);
    g.clip.combine(shape, mode);
    g.clipMaskValid = false;
}

} // namespace

extern "C" {

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetImageGraphicsContext(GpImage* image, GpGraphics** graphics)
{
    VK_GDIP_LOCK();
    Bitmap* b = lookupAs<Bitmap>(image);
    if (!b || !graphics)
        return refuse(InvalidParameter);
    if (b->lock.active)
        return refuse(WrongState);
    auto g = std::make_unique<Graphics>();
    g->image = image;
    void* h = publish(std::move(g));
    if (!h)
        return refuse(OutOfMemory);
    *graphics = static_cast<GpGraphics*>(h);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateFromHDC(HDC hdc, GpGraphics** graphics)
{
    VK_GDIP_LOCK();
    if (!hdc || !graphics)
        return refuse(InvalidParameter);
    *graphics = nullptr;
    if (!started())
        return refuse(GdiplusNotInitialized);
    vk::gdi::DcSurfaceView view;
    if (!vk::gdi::dcSurfaceView(hdc, view))
        return refuse(InvalidParameter);
    auto g = std::make_unique<Graphics>();
    g->dc = hdc;
    void* h = publish(std::move(g));
    if (!h)
        return refuse(OutOfMemory);
    *graphics = static_cast<GpGraphics*>(h);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateFromHDC2(HDC hdc, HANDLE hDevice, GpGraphics** graphics)
{
    return GdipCreateFromHDC(hdc, graphics);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDeleteGraphics(GpGraphics* graphics)
{
    VK_GDIP_LOCK();
    if (!graphicsOf(graphics))
        return refuse(InvalidParameter);
    destroy(graphics);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipFlush(GpGraphics* graphics, FlushIntention intention)
{
    VK_GDIP_LOCK();
    if (!graphicsOf(graphics))
        return refuse(InvalidParameter);
    return Ok;
}

#define VK_GDIP_SETTING(Name, Type, field, valid)                                              \
    GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSet##Name(GpGraphics* graphics, Type value) \
    {                                                                                         \
        VK_GDIP_LOCK();                                                                       \
        Graphics* g = graphicsOf(graphics);                                                   \
        if (!g || !(valid))                                                                   \
            return refuse(InvalidParameter);                                                  \
        g->field = value;                                                                     \
        g->clipMaskValid = false;                                                             \
        return Ok;                                                                            \
    }                                                                                         \
    GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGet##Name(GpGraphics* graphics, Type* value) \
    {                                                                                         \
        VK_GDIP_LOCK();                                                                       \
        Graphics* g = graphicsOf(graphics);                                                   \
        if (!g || !value)                                                                     \
            return refuse(InvalidParameter);                                                  \
        *value = g->field;                                                                    \
        return Ok;                                                                            \
    }

VK_GDIP_SETTING(CompositingMode, CompositingMode, compositingMode,
                value == CompositingModeSourceOver || value == CompositingModeSourceCopy)
VK_GDIP_SETTING(CompositingQuality, CompositingQuality, compositingQuality,
                value >= CompositingQualityDefault && value <= CompositingQualityAssumeLinear)
VK_GDIP_SETTING(SmoothingMode, SmoothingMode, smoothing,
                value >= SmoothingModeDefault && value <= SmoothingModeAntiAlias8x8)
VK_GDIP_SETTING(InterpolationMode, InterpolationMode, interpolation,
                value >= InterpolationModeDefault && value <= InterpolationModeHighQualityBicubic)
VK_GDIP_SETTING(PixelOffsetMode, PixelOffsetMode, pixelOffset,
                value >= PixelOffsetModeDefault && value <= PixelOffsetModeHalf)
VK_GDIP_SETTING(TextRenderingHint, TextRenderingHint, textHint,
                value >= TextRenderingHintSystemDefault && value <= TextRenderingHintClearTypeGridFit)

#undef VK_GDIP_SETTING

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetDpiX(GpGraphics* graphics, REAL* dpi)
{
    VK_GDIP_LOCK();
    if (!graphicsOf(graphics) || !dpi)
        return refuse(InvalidParameter);
    *dpi = 96.0f;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetDpiY(GpGraphics* graphics, REAL* dpi)
{
    return GdipGetDpiX(graphics, dpi);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipResetWorldTransform(GpGraphics* graphics)
{
    VK_GDIP_LOCK();
    Graphics* g = graphicsOf(graphics);
    if (!g)
        return refuse(InvalidParameter);
    cairo_matrix_init_identity(&g->world);
    return Ok;
}

static Status applyWorld(GpGraphics* graphics, const cairo_matrix_t& t, GpMatrixOrder order)
{
    Graphics* g = lookupAs<Graphics>(graphics);
    if (!g || (order != MatrixOrderPrepend && order != MatrixOrderAppend))
        return refuse(InvalidParameter);
    if (order == MatrixOrderAppend)
        cairo_matrix_multiply(&g->world, &g->world, &t);
    else
        cairo_matrix_multiply(&g->world, &t, &g->world);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipTranslateWorldTransform(GpGraphics* graphics, REAL dx, REAL dy, GpMatrixOrder order)
{
    VK_GDIP_LOCK();
    if (!std::isfinite(dx) || !std::isfinite(dy))
        return refuse(InvalidParameter);
    cairo_matrix_t t;
    cairo_matrix_init_translate(&t, dx, dy);
    return applyWorld(graphics, t, order);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipScaleWorldTransform(GpGraphics* graphics, REAL sx, REAL sy, GpMatrixOrder order)
{
    VK_GDIP_LOCK();
    if (!std::isfinite(sx) || !std::isfinite(sy) || sx == 0 || sy == 0)
        return refuse(InvalidParameter);
    cairo_matrix_t t;
    cairo_matrix_init_scale(&t, sx, sy);
    return applyWorld(graphics, t, order);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipRotateWorldTransform(GpGraphics* graphics, REAL angle, GpMatrixOrder order)
{
    VK_GDIP_LOCK();
    if (!std::isfinite(angle))
        return refuse(InvalidParameter);
    cairo_matrix_t t;
    cairo_matrix_init_rotate(&t, angle * 3.14159265358979323846 / 180.0);
    return applyWorld(graphics, t, order);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetClipGraphics(GpGraphics* graphics, GpGraphics* srcgraphics, CombineMode combineMode)
{
    VK_GDIP_LOCK();
    Graphics* g = graphicsOf(graphics);
    Graphics* src = graphicsOf(srcgraphics);
    if (!g || !src || combineMode < CombineModeReplace || combineMode > CombineModeComplement)
        return refuse(InvalidParameter);
    RegionData copy = src->clip;
    g->clip.combine(copy, combineMode);
    g->clipMaskValid = false;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetClipRect(GpGraphics* graphics, REAL x, REAL y, REAL width, REAL height,
                                                         CombineMode combineMode)
{
    VK_GDIP_LOCK();
    Graphics* g = graphicsOf(graphics);
    if (!g || combineMode < CombineModeReplace || combineMode > CombineModeComplement)
        return refuse(InvalidParameter);
    // A negative size describes the same rectangle from its other corner.
    if (width < 0)
        x += width, width = -width;
    if (height < 0)
        y += height, height = -height;
    RegionData shape;
    shape.combine(rectRegionPart(RectF(x, y, width, height), CombineModeReplace));
    combineClip(*g, std::move(shape), combineMode);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetClipRectI(GpGraphics* graphics, INT x, INT y, INT width, INT height,
                                                          CombineMode combineMode)
{
    return GdipSetClipRect(graphics, REAL(x), REAL(y), REAL(width), REAL(height), combineMode);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetClipPath(GpGraphics* graphics, GpPath* path, CombineMode combineMode)
{
    VK_GDIP_LOCK();
    Graphics* g = graphicsOf(graphics);
    Path* p = lookupAs<Path>(path);
    if (!g || !p || combineMode < CombineModeReplace || combineMode > CombineModeComplement)
        return refuse(InvalidParameter);
    RegionData shape;
    shape.combine(pathRegionPart(p->data, CombineModeReplace));
    combineClip(*g, std::move(shape), combineMode);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetClipRegion(GpGraphics* graphics, GpRegion* region, CombineMode combineMode)
{
    VK_GDIP_LOCK();
    Graphics* g = graphicsOf(graphics);
    Region* r = lookupAs<Region>(region);
    if (!g || !r || combineMode < CombineModeReplace || combineMode > CombineModeComplement)
        return refuse(InvalidParameter);
    combineClip(*g, r->data, combineMode);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipResetClip(GpGraphics* graphics)
{
    VK_GDIP_LOCK();
    Graphics* g = graphicsOf(graphics);
    if (!g)
        return refuse(InvalidParameter);
    g->clip.setInfinite();
    g->clipMaskValid = false;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetClipBounds(GpGraphics* graphics, GpRectF* rect)
{
    VK_GDIP_LOCK();
    Graphics* g = graphicsOf(graphics);
    if (!g || !rect)
        return refuse(InvalidParameter);
    RectF b = g->clip.bounds();
    // The clip never reaches past the target's pixels.
    if (Bitmap* bmp = lookupAs<Bitmap>(g->image)) {
        float l = std::fmax(b.X, 0.0f), t = std::fmax(b.Y, 0.0f);
        float r = std::fmin(b.X + b.Width, float(bmp->width)), btm = std::fmin(b.Y + b.Height, float(bmp->height));
        b = (r > l && btm > t) ? RectF(l, t, r - l, btm - t) : RectF();
    }
    // Back into world coordinates.
    cairo_matrix_t inv = g->world;
    if (cairo_matrix_invert(&inv) == CAIRO_STATUS_SUCCESS && b.Width > 0) {
        double x0 = b.X, y0 = b.Y, x1 = b.X + b.Width, y1 = b.Y + b.Height;
        cairo_matrix_transform_point(&inv, &x0, &y0);
        cairo_matrix_transform_point(&inv, &x1, &y1);
        b = RectF(REAL(std::fmin(x0, x1)), REAL(std::fmin(y0, y1)), REAL(std::fabs(x1 - x0)), REAL(std::fabs(y1 - y0)));
    }
    *rect = b;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetClipBoundsI(GpGraphics* graphics, GpRect* rect)
{
    VK_GDIP_LOCK();
    if (!rect)
        return refuse(InvalidParameter);
    RectF r;
    Status st = GdipGetClipBounds(graphics, &r);
    if (st != Ok)
        return st;
    *rect = Rect(INT(std::floor(r.X)), INT(std::floor(r.Y)), INT(std::ceil(r.Width)), INT(std::ceil(r.Height)));
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipIsClipEmpty(GpGraphics* graphics, BOOL* result)
{
    VK_GDIP_LOCK();
    Graphics* g = graphicsOf(graphics);
    if (!g || !result)
        return refuse(InvalidParameter);
    *result = g->clip.isEmpty() ? TRUE : FALSE;
    return Ok;
}

} // extern "C"
