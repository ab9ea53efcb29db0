// Pens: a width in a unit and a brush (a solid colour unless given one).
#include "gdiplus/objects.h"
#include "gdiplus/status.h"

#include <cmath>

namespace vk::gdiplus {

Pen::Pen(const Pen& o)
    : Object(kKind), width(o.width), unit(o.unit), brush(o.brush ? o.brush->clone() : nullptr), join(o.join),
      startCap(o.startCap), endCap(o.endCap), dash(o.dash)
{
}

} // namespace vk::gdiplus

using namespace Gdiplus;
using namespace vk::gdiplus;

namespace {

bool validPenUnit(Unit u)
{
    // GDI+ refuses UnitDisplay for pens.
    return u == UnitWorld || (u >= UnitPixel && u <= UnitMillimeter);
}

Status publishPen(std::unique_ptr<Pen> pen, GpPen** out)
{
    void* h = publish(std::move(pen));
    if (!h)
        return refuse(OutOfMemory);
    *out = static_cast<GpPen*>(h);
    return Ok;
}

} // namespace

extern "C" {

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreatePen1(ARGB color, REAL width, GpUnit unit, GpPen** pen)
{
    VK_GDIP_LOCK();
    if (!pen)
        return refuse(InvalidParameter);
    *pen = nullptr;
    if (!started())
        return refuse(GdiplusNotInitialized);
    if (!validPenUnit(unit) || !std::isfinite(width))
        return refuse(InvalidParameter);
    auto p = std::make_unique<Pen>();
    p->width = width;
    p->unit = unit;
    auto b = std::make_unique<SolidBrush>();
    b->color = color;
    p->brush = std::move(b);
    return publishPen(std::move(p), pen);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipCreatePen2(GpBrush* brush, REAL width, GpUnit unit, GpPen** pen)
{
    VK_GDIP_LOCK();
    Brush* b = lookupAs<Brush>(brush);
    if (!b || !pen)
        return refuse(InvalidParameter);
    *pen = nullptr;
    if (!validPenUnit(unit) || !std::isfinite(width))
        return refuse(InvalidParameter);
    auto p = std::make_unique<Pen>();
    p->width = width;
    p->unit = unit;
    p->brush = b->clone();
    return publishPen(std::move(p), pen);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipClonePen(GpPen* pen, GpPen** clonepen)
{
    VK_GDIP_LOCK();
    Pen* p = lookupAs<Pen>(pen);
    if (!p || !clonepen)
        return refuse(InvalidParameter);
    return publishPen(std::make_unique<Pen>(*p), clonepen);
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipDeletePen(GpPen* pen)
{
    VK_GDIP_LOCK();
    if (!lookupAs<Pen>(pen))
        return refuse(InvalidParameter);
    destroy(pen);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetPenWidth(GpPen* pen, REAL width)
{
    VK_GDIP_LOCK();
    Pen* p = lookupAs<Pen>(pen);
    if (!p || !std::isfinite(width))
        return refuse(InvalidParameter);
    p->width = width;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetPenWidth(GpPen* pen, REAL* width)
{
    VK_GDIP_LOCK();
    Pen* p = lookupAs<Pen>(pen);
    if (!p || !width)
        return refuse(InvalidParameter);
    *width = p->width;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetPenColor(GpPen* pen, ARGB argb)
{
    VK_GDIP_LOCK();
    Pen* p = lookupAs<Pen>(pen);
    if (!p)
        return refuse(InvalidParameter);
    auto b = std::make_unique<SolidBrush>();
    b->color = argb;
    p->brush = std::move(b);
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetPenColor(GpPen* pen, ARGB* argb)
{
    VK_GDIP_LOCK();
    Pen* p = lookupAs<Pen>(pen);
    if (!p || !argb)
        return refuse(InvalidParameter);
    if (!p->brush || p->brush->type != BrushTypeSolidColor)
        return refuse(InvalidParameter);
    *argb = static_cast<SolidBrush*>(p->brush.get())->color;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetPenBrushFill(GpPen* pen, GpBrush* brush)
{
    VK_GDIP_LOCK();
    Pen* p = lookupAs<Pen>(pen);
    Brush* b = lookupAs<Brush>(brush);
    if (!p || !b)
        return refuse(InvalidParameter);
    p->brush = b->clone();
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetPenLineJoin(GpPen* pen, GpLineJoin lineJoin)
{
    VK_GDIP_LOCK();
    Pen* p = lookupAs<Pen>(pen);
    if (!p || lineJoin < LineJoinMiter || lineJoin > LineJoinMiterClipped)
        return refuse(InvalidParameter);
    p->join = lineJoin;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetPenStartCap(GpPen* pen, GpLineCap startCap)
{
    VK_GDIP_LOCK();
    Pen* p = lookupAs<Pen>(pen);
    if (!p)
        return refuse(InvalidParameter);
    p->startCap = startCap;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetPenEndCap(GpPen* pen, GpLineCap endCap)
{
    VK_GDIP_LOCK();
    Pen* p = lookupAs<Pen>(pen);
    if (!p)
        return refuse(InvalidParameter);
    p->endCap = endCap;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipSetPenDashStyle(GpPen* pen, GpDashStyle dashstyle)
{
    VK_GDIP_LOCK();
    Pen* p = lookupAs<Pen>(pen);
    if (!p || dashstyle < DashStyleSolid || dashstyle > DashStyleCustom)
        return refuse(InvalidParameter);
    p->dash = dashstyle;
    return Ok;
}

GpStatus WINGDIPAPI Gdiplus::DllExports::GdipGetPenUnit(GpPen* pen, GpUnit* unit)
{
    VK_GDIP_LOCK();
    Pen* p = lookupAs<Pen>(pen);
    if (!p || !unit)
        return refuse(InvalidParameter);
    *unit = p->unit;
    return Ok;
}

} // extern "C"
