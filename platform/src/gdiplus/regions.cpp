// The region functions of the flat interface.
#include "gdiplus/objects.h"
#include "gdiplus/status.h"

#include <cmath>

using namespace Gdiplus;
using namespace vk::gdiplus;

namespace {

bool validCombine(CombineMode m)
{
    return m >= CombineModeReplace && m <= CombineModeComplement;
}

RegionPart rectPart(const RectF& r, CombineMode mode)
{
    RegionPart p;
    p.mode = mode;
    if (r.Width <= 0 || r.Height <= 0) {
        p.shape = RegionPart::Shape::Empty;
    } else {
        p.shape = RegionPart::Shape::Rect;
        p.rect = r;
    }
    return p;
}

Status publishRegion(std::unique_ptr<Region> r, GpRegion** out)
{
    void* h = publish(std::move(r));
    if (!h)
        return refuse(OutOfMemory);
    *out = static_cast<GpRegion*>(h);
    return Ok;
}

} // namespace

namespace vk::gdiplus {

RegionPart pathRegionPart(const PathData& path, gp::CombineMode mode)
{
    RegionPart p;
    p.mode = mode;
    p.shape = RegionPart::Shape::Path;
    p.path = path;
    return p;
}

RegionPart rectRegionPart(const gp::RectF& r, gp::CombineMode mode)
{
    return rectPart(r, mode);
}

} // namespace vk::gdiplus

extern "C" {

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateRegion(GpRegion** region)
{
    VK_GDIP_LOCK();
    if (!region)
        return refuse(InvalidParameter);
    *region = nullptr;
    if (!started())
        return refuse(GdiplusNotInitialized);
    return publishRegion(std::make_unique<Region>(), region);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateRegionRect(GDIPCONST GpRectF* rect, GpRegion** region)
{
    VK_GDIP_LOCK();
    if (!rect || !region)
        return refuse(InvalidParameter);
    *region = nullptr;
    if (!started())
        return refuse(GdiplusNotInitialized);
    auto r = std::make_unique<Region>();
    r->data.combine(rectPart(*rect, CombineModeReplace));
    return publishRegion(std::move(r), region);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateRegionRectI(GDIPCONST GpRect* rect, GpRegion** region)
{
    VK_GDIP_LOCK();
    if (!rect)
        return refuse(InvalidParameter);
    RectF r(REAL(rect->X), REAL(rect->Y), REAL(rect->Width), REAL(rect->Height));
    return GdipCreateRegionRect(&r, region);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreateRegionPath(GpPath* path, GpRegion** region)
{
    VK_GDIP_LOCK();
    Path* p = lookupAs<Path>(path);
    if (!p || !region)
        return refuse(InvalidParameter);
    *region = nullptr;
    auto r = std::make_unique<Region>();
    r->data.combine(pathRegionPart(p->data, CombineModeReplace));
    return publishRegion(std::move(r), region);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCloneRegion(GpRegion* region, GpRegion** cloneRegion)
{
    VK_GDIP_LOCK();
    Region* r = lookupAs<Region>(region);
    if (!r || !cloneRegion)
        return refuse(InvalidParameter);
    auto copy = std::make_unique<Region>();
    copy->data = r->data;
    return publishRegion(std::move(copy), cloneRegion);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDeleteRegion(GpRegion* region)
{
    VK_GDIP_LOCK();
    if (!lookupAs<Region>(region))
        return refuse(InvalidParameter);
    destroy(region);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetInfinite(GpRegion* region)
{
    VK_GDIP_LOCK();
    Region* r = lookupAs<Region>(region);
    if (!r)
        return refuse(InvalidParameter);
    r->data.setInfinite();
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetEmpty(GpRegion* region)
{
    VK_GDIP_LOCK();
    Region* r = lookupAs<Region>(region);
    if (!r)
        return refuse(InvalidParameter);
    r->data.setEmpty();
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCombineRegionRect(GpRegion* region, GDIPCONST GpRectF* rect, CombineMode combineMode)
{
    VK_GDIP_LOCK();
    Region* r = lookupAs<Region>(region);
    if (!r || !rect || !validCombine(combineMode))
        return refuse(InvalidParameter);
    r->data.combine(rectPart(*rect, combineMode));
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCombineRegionRectI(GpRegion* region, GDIPCONST GpRect* rect, CombineMode combineMode)
{
    VK_GDIP_LOCK();
    if (!rect)
        return refuse(InvalidParameter);
    RectF rf(REAL(rect->X), REAL(rect->Y), REAL(rect->Width), REAL(rect->Height));
    return GdipCombineRegionRect(region, &rf, combineMode);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCombineRegionPath(GpRegion* region, GpPath* path, CombineMode combineMode)
{
    VK_GDIP_LOCK();
    Region* r = lookupAs<Region>(region);
    Path* p = lookupAs<Path>(path);
    if (!r || !p || !validCombine(combineMode))
        return refuse(InvalidParameter);
    r->data.combine(pathRegionPart(p->data, combineMode));
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCombineRegionRegion(GpRegion* region, GpRegion* region2, CombineMode combineMode)
{
    VK_GDIP_LOCK();
    Region* r = lookupAs<Region>(region);
    Region* r2 = lookupAs<Region>(region2);
    if (!r || !r2 || !validCombine(combineMode))
        return refuse(InvalidParameter);
    RegionData other = r2->data; // region2 may be region itself
    r->data.combine(other, combineMode);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipTranslateRegion(GpRegion* region, REAL dx, REAL dy)
{
    VK_GDIP_LOCK();
    Region* r = lookupAs<Region>(region);
    if (!r || !std::isfinite(dx) || !std::isfinite(dy))
        return refuse(InvalidParameter);
    cairo_matrix_t m;
    cairo_matrix_init_translate(&m, dx, dy);
    r->data.transform(m);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipIsVisibleRegionPoint(GpRegion* region, REAL x, REAL y, GpGraphics* graphics,
                                                                  BOOL* result)
{
    VK_GDIP_LOCK();
    Region* r = lookupAs<Region>(region);
    if (!r || !result)
        return refuse(InvalidParameter);
    *result = r->data.contains(x, y) ? TRUE : FALSE;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipIsEmptyRegion(GpRegion* region, GpGraphics* graphics, BOOL* result)
{
    VK_GDIP_LOCK();
    Region* r = lookupAs<Region>(region);
    if (!r || !result || !lookupAs<Graphics>(graphics))
        return refuse(InvalidParameter);
    *result = r->data.isEmpty() ? TRUE : FALSE;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipIsInfiniteRegion(GpRegion* region, GpGraphics* graphics, BOOL* result)
{
    VK_GDIP_LOCK();
    Region* r = lookupAs<Region>(region);
    if (!r || !result || !lookupAs<Graphics>(graphics))
        return refuse(InvalidParameter);
    *result = r->data.isInfinite() ? TRUE : FALSE;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetRegionBounds(GpRegion* region, GpGraphics* graphics, GpRectF* rect)
{
    VK_GDIP_LOCK();
    Region* r = lookupAs<Region>(region);
    if (!r || !rect || !lookupAs<Graphics>(graphics))
        return refuse(InvalidParameter);
    *rect = r->data.bounds();
    return Ok;
}

} // extern "C"
