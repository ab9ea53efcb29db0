// Regions (HRGN): creation, combination, queries and painting.
#include "gdi/raster.h"
#include "gdi/shape_geometry.h"

#include <cstring>

namespace vk::gdi {

int regionComplexity(const Region& r)
{
    if (r.empty())
        return NULLREGION;
    return pixman_region32_n_rects(const_cast<pixman_region32_t*>(r.raw())) == 1 ? SIMPLEREGION : COMPLEXREGION;
}

HRGN newRegion(Region r)
{
    auto o = std::make_unique<RegionObj>();
    o->rgn = std::move(r);
    return addObject<HRGN>(std::move(o));
}

} // namespace vk::gdi

using namespace vk;
using namespace vk::gdi;

HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2)
{
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    return newRegion(Region(x1, y1, x2, y2));
}

HRGN WINAPI CreateRectRgnIndirect(const RECT* rc)
{
    if (!rc)
        return failWith(ERROR_INVALID_PARAMETER, HRGN(nullptr));
    return CreateRectRgn(rc->left, rc->top, rc->right, rc->bottom);
}

HRGN WINAPI CreateRoundRectRgn(int x1, int y1, int x2, int y2, int w, int h)
{
    return newRegion(roundRectRegion(x1, y1, x2, y2, w, h));
}

HRGN WINAPI CreateEllipticRgn(int x1, int y1, int x2, int y2) { return newRegion(ellipseRegion(x1, y1, x2, y2)); }

HRGN WINAPI CreateEllipticRgnIndirect(const RECT* rc)
{
    if (!rc)
        return failWith(ERROR_INVALID_PARAMETER, HRGN(nullptr));
    return CreateEllipticRgn(rc->left, rc->top, rc->right, rc->bottom);
}

HRGN WINAPI CreatePolyPolygonRgn(const POINT* pts, const INT* counts, int polys, int mode)
{
    if (!pts || !counts || polys <= 0 || (mode != ALTERNATE && mode != WINDING))
        return failWith(ERROR_INVALID_PARAMETER, HRGN(nullptr));
    for (int i = 0; i < polys; ++i)
        if (counts[i] < 2)
            return failWith(ERROR_INVALID_PARAMETER, HRGN(nullptr));
    return newRegion(polygonRegion(pts, counts, polys, mode));
}

HRGN WINAPI CreatePolygonRgn(const POINT* pts, int n, int mode) { return CreatePolyPolygonRgn(pts, &n, 1, mode); }

int WINAPI CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode)
{
    RegionObj* d = getRegion(dst);
    RegionObj* a = getRegion(src1);
    if (!d || !a || mode < RGN_AND || mode > RGN_COPY)
        return failWith(ERROR_INVALID_HANDLE, ERROR);
    if (mode == RGN_COPY) {
        d->rgn = a->rgn;
        return regionComplexity(d->rgn);
    }
    RegionObj* b = getRegion(src2);
    if (!b)
        return failWith(ERROR_INVALID_HANDLE, ERROR);
    Region r = a->rgn;
    switch (mode) {
    case RGN_AND: r.intersect(b->rgn); break;
    case RGN_OR: r.unite(b->rgn); break;
    case RGN_XOR: r.xorWith(b->rgn); break;
    case RGN_DIFF: r.subtract(b->rgn); break;
    }
    d->rgn = std::move(r);
    return regionComplexity(d->rgn);
}

BOOL WINAPI SetRectRgn(HRGN h, int l, int t, int r, int b)
{
    RegionObj* o = getRegion(h);
    if (!o)
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    if (r < l)
        std::swap(l, r);
    if (b < t)
        std::swap(t, b);
    o->rgn.setRect(l, t, r, b);
    return TRUE;
}

int WINAPI OffsetRgn(HRGN h, int x, int y)
{
    RegionObj* o = getRegion(h);
    if (!o)
        return failWith(ERROR_INVALID_HANDLE, ERROR);
    o->rgn.translate(x, y);
    return regionComplexity(o->rgn);
}

BOOL WINAPI EqualRgn(HRGN h1, HRGN h2)
{
    RegionObj* a = getRegion(h1);
    RegionObj* b = getRegion(h2);
    if (!a || !b)
        return failWith(ERROR_INVALID_HANDLE, BOOL(ERROR));
    return a->rgn == b->rgn;
}

BOOL WINAPI PtInRegion(HRGN h, int x, int y)
{
    RegionObj* o = getRegion(h);
    if (!o)
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    return o->rgn.contains(x, y);
}

BOOL WINAPI RectInRegion(HRGN h, const RECT* rc)
{
    RegionObj* o = getRegion(h);
    if (!o || !rc)
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    RECT r = *rc;
    if (r.right < r.left)
        std::swap(r.left, r.right);
    if (r.bottom < r.top)
        std::swap(r.top, r.bottom);
    return o->rgn.intersectsRect(r);
}

int WINAPI GetRgnBox(HRGN h, LPRECT rc)
{
    RegionObj* o = getRegion(h);
    if (!o || !rc)
        return failWith(ERROR_INVALID_HANDLE, ERROR);
    *rc = o->rgn.bounds();
    return regionComplexity(o->rgn);
}

DWORD WINAPI GetRegionData(HRGN h, DWORD nCount, LPRGNDATA data)
{
    RegionObj* o = getRegion(h);
    if (!o)
        return failWith(ERROR_INVALID_HANDLE, DWORD(0));
    std::vector<RECT> rects = o->rgn.rects();
    DWORD size = DWORD(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    if (!data)
        return size;
    if (nCount < size)
        return failWith(ERROR_MORE_DATA, DWORD(0));
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = DWORD(rects.size());
    data->rdh.nRgnSize = DWORD(rects.size() * sizeof(RECT));
    data->rdh.rcBound = o->rgn.bounds();
    if (!rects.empty())
        std::memcpy(data->Buffer, rects.data(), rects.size() * sizeof(RECT));
    return nCount;
}

HRGN WINAPI ExtCreateRegion(const XFORM* xf, DWORD nCount, const RGNDATA* data)
{
    if (!data || nCount < sizeof(RGNDATAHEADER) || data->rdh.dwSize < sizeof(RGNDATAHEADER) ||
        data->rdh.iType != RDH_RECTANGLES || nCount < data->rdh.dwSize + data->rdh.nCount * sizeof(RECT))
        return failWith(ERROR_INVALID_PARAMETER, HRGN(nullptr));
    const RECT* rects = reinterpret_cast<const RECT*>(reinterpret_cast<const uint8_t*>(data) + data->rdh.dwSize);
    Region r;
    for (DWORD i = 0; i < data->rdh.nCount; ++i) {
        RECT rc = rects[i];
        if (xf) {
            // Scale and offset only; rotation needs paths this layer does not keep.
            rc = RECT{LONG(rc.left * xf->eM11 + xf->eDx), LONG(rc.top * xf->eM22 + xf->eDy),
                      LONG(rc.right * xf->eM11 + xf->eDx), LONG(rc.bottom * xf->eM22 + xf->eDy)};
            if (rc.right < rc.left)
                std::swap(rc.left, rc.right);
            if (rc.bottom < rc.top)
                std::swap(rc.top, rc.bottom);
        }
        r.unite(rc);
    }
    return newRegion(std::move(r));
}

static BOOL paintRgnWith(HDC hdc, HRGN hrgn, HBRUSH brush, int rop2, bool frame, int fw, int fh)
{
    Target t;
    if (!acquire(hdc, t))
        return FALSE;
    RegionObj* o = getRegion(hrgn);
    if (!o)
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    if (brush && !getBrush(brush))
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    Region r = frame ? frameOf(o->rgn, fw, fh) : o->rgn;
    r.translate(t.org.x, t.org.y);
    Paint p = brush ? brushPaint(t, brush) : solidPaint(0);
    paintRegion(t, r, p, rop2);
    return TRUE;
}

BOOL WINAPI FillRgn(HDC hdc, HRGN hrgn, HBRUSH hbr)
{
    if (!hbr)
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    return paintRgnWith(hdc, hrgn, hbr, R2_COPYPEN, false, 0, 0);
}

BOOL WINAPI FrameRgn(HDC hdc, HRGN hrgn, HBRUSH hbr, int w, int h)
{
    if (!hbr)
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    return paintRgnWith(hdc, hrgn, hbr, R2_COPYPEN, true, w, h);
}

BOOL WINAPI PaintRgn(HDC hdc, HRGN hrgn)
{
    DcObj* dc = getDc(hdc);
    if (!dc)
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    return paintRgnWith(hdc, hrgn, dc->st.brush, dc->st.rop2, false, 0, 0);
}

BOOL WINAPI InvertRgn(HDC hdc, HRGN hrgn) { return paintRgnWith(hdc, hrgn, nullptr, R2_NOT, false, 0, 0); }
