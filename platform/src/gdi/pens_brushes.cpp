// Pens and brushes: creation from the Win32 descriptions.
#include "gdi/raster.h"

#include <cstring>

using namespace vk;
using namespace vk::gdi;

static HPEN makePen(UINT style, int width, COLORREF color, bool ext)
{
    UINT base = style & PS_STYLE_MASK;
    if (base > PS_ALTERNATE)
        return failWith(ERROR_INVALID_PARAMETER, HPEN(nullptr));
    auto p = std::make_unique<PenObj>();
    p->ext = ext;
    p->style = style;
    p->width = width < 1 ? 1 : width;
    p->color = color & 0xFFFFFF;
    return addObject<HPEN>(std::move(p));
}

HPEN WINAPI CreatePen(int style, int width, COLORREF color)
{
    if (style < 0 || style > PS_INSIDEFRAME)
        return failWith(ERROR_INVALID_PARAMETER, HPEN(nullptr));
    // Styled pens wider than one pixel draw solid, as on Windows.
    if (width > 1 && style >= PS_DASH && style <= PS_DASHDOTDOT)
        style = PS_SOLID;
    return makePen(UINT(style), width, color, false);
}

HPEN WINAPI CreatePenIndirect(const LOGPEN* lp)
{
    if (!lp)
        return failWith(ERROR_INVALID_PARAMETER, HPEN(nullptr));
    return CreatePen(int(lp->lopnStyle), lp->lopnWidth.x, lp->lopnColor);
}

HPEN WINAPI ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* lb, DWORD cStyle, const DWORD* pStyle)
{
    if (!lb)
        return failWith(ERROR_INVALID_PARAMETER, HPEN(nullptr));
    UINT base = style & PS_STYLE_MASK;
    bool cosmetic = (style & PS_TYPE_MASK) == PS_COSMETIC;
    if ((base == PS_USERSTYLE) != (cStyle > 0) || (cStyle && !pStyle) || cStyle > 16)
        return failWith(ERROR_INVALID_PARAMETER, HPEN(nullptr));
    if (cosmetic && width != 1)
        return failWith(ERROR_INVALID_PARAMETER, HPEN(nullptr));
    if (base == PS_ALTERNATE && !cosmetic)
        return failWith(ERROR_INVALID_PARAMETER, HPEN(nullptr));
    HPEN h = makePen(style, int(width), lb->lbStyle == BS_NULL ? 0 : lb->lbColor, true);
    if (PenObj* p = getPen(h)) {
        p->brushStyle = lb->lbStyle;
        p->hatch = lb->lbHatch;
        if (lb->lbStyle == BS_NULL)
            p->style = (style & ~PS_STYLE_MASK) | PS_NULL;
        p->userStyle.assign(pStyle, pStyle + cStyle);
    }
    return h;
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color)
{
    auto b = std::make_unique<BrushObj>();
    b->color = color & 0xFFFFFF;
    return addObject<HBRUSH>(std::move(b));
}

HBRUSH WINAPI CreateHatchBrush(int hatch, COLORREF color)
{
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS)
        return failWith(ERROR_INVALID_PARAMETER, HBRUSH(nullptr));
    auto b = std::make_unique<BrushObj>();
    b->style = BS_HATCHED;
    b->color = color & 0xFFFFFF;
    b->hatch = ULONG_PTR(hatch);
    return addObject<HBRUSH>(std::move(b));
}

HBRUSH WINAPI CreatePatternBrush(HBITMAP hbm)
{
    BitmapObj* bm = getBitmap(hbm);
    if (!bm)
        return failWith(ERROR_INVALID_HANDLE, HBRUSH(nullptr));
    if (bm->shadowed())
        bm->pull();
    // The brush keeps its own copy: the bitmap may be deleted afterwards.
    auto b = std::make_unique<BrushObj>();
    b->style = BS_PATTERN;
    b->hatch = reinterpret_cast<ULONG_PTR>(hbm);
    b->monoPattern = bm->mono;
    b->pattern = OwnedSurface(bm->width, bm->height);
    if (!b->pattern.get().valid())
        return failWith(ERROR_NOT_ENOUGH_MEMORY, HBRUSH(nullptr));
    for (int y = 0; y < bm->height; ++y)
        std::memcpy(b->pattern.get().row(y), bm->surf.row(y), size_t(bm->width) * 4);
    return addObject<HBRUSH>(std::move(b));
}

HBRUSH WINAPI CreateDIBPatternBrushPt(const void* packed, UINT usage);

HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* lb)
{
    if (!lb)
        return failWith(ERROR_INVALID_PARAMETER, HBRUSH(nullptr));
    switch (lb->lbStyle) {
    case BS_SOLID:
        return CreateSolidBrush(lb->lbColor);
    case BS_NULL: {
        auto b = std::make_unique<BrushObj>();
        b->style = BS_NULL;
        return addObject<HBRUSH>(std::move(b));
    }
    case BS_HATCHED:
        return CreateHatchBrush(int(lb->lbHatch), lb->lbColor);
    case BS_PATTERN:
        return CreatePatternBrush(reinterpret_cast<HBITMAP>(lb->lbHatch));
    case BS_DIBPATTERNPT:
        return CreateDIBPatternBrushPt(reinterpret_cast<const void*>(lb->lbHatch), lb->lbColor & 0xFFFF);
    default:
        return failWith(ERROR_INVALID_PARAMETER, HBRUSH(nullptr));
    }
}
