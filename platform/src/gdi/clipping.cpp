// Clipping: the DC's clip region (device units, relative to the DC origin)
// and the visibility queries.
#include "gdi/raster.h"

#include <algorithm>

namespace vk::gdi {
HRGN newRegion(Region r);

namespace {

// Everything a DC could draw on, device units.
Region deviceExtent(const DcObj& dc)
{
    if (dc.kind == DcObj::Kind::Memory)
        if (BitmapObj* b = getBitmap(dc.st.bitmap))
            return Region(0, 0, b->width, b->height);
    return Region(-(1 << 20), -(1 << 20), 1 << 20, 1 << 20);
}

// The pixels a DC may touch now, device units.
bool effectiveClip(HDC hdc, Region& out)
{
    Target t;
    if (!acquire(hdc, t))
        return false;
    if (t.dc->kind == DcObj::Kind::Screen) {
        SIZE s = screenSizeForCaps();
        out.setRect(0, 0, s.cx, s.cy);
        if (t.dc->st.hasClip)
            out.intersect(t.dc->st.clip);
        return true;
    }
    out = t.surf.valid() ? t.clip : Region();
    out.translate(-t.devOrg.x, -t.devOrg.y);
    return true;
}

} // namespace
} // namespace vk::gdi

using namespace vk;
using namespace vk::gdi;

static int clipResult(HDC hdc)
{
    Region r;
    if (!effectiveClip(hdc, r))
        return ERROR;
    return regionComplexity(r);
}

int WINAPI ExtSelectClipRgn(HDC hdc, HRGN hrgn, int mode)
{
    DcObj* dc = getDc(hdc);
    if (!dc)
        return failWith(ERROR_INVALID_HANDLE, ERROR);
    if (mode < RGN_AND || mode > RGN_COPY)
        return failWith(ERROR_INVALID_PARAMETER, ERROR);
    if (!hrgn) {
        if (mode != RGN_COPY)
            return failWith(ERROR_INVALID_PARAMETER, ERROR);
        dc->st.hasClip = false;
        dc->st.clip.clear();
        return clipResult(hdc);
    }
    RegionObj* o = getRegion(hrgn);
    if (!o)
        return failWith(ERROR_INVALID_HANDLE, ERROR);
    Region base = dc->st.hasClip ? dc->st.clip : deviceExtent(*dc);
    switch (mode) {
    case RGN_COPY: base = o->rgn; break;
    case RGN_AND: base.intersect(o->rgn); break;
    case RGN_OR: base.unite(o->rgn); break;
    case RGN_XOR: base.xorWith(o->rgn); break;
    case RGN_DIFF: base.subtract(o->rgn); break;
    }
    dc->st.clip = std::move(base);
    dc->st.hasClip = true;
    return clipResult(hdc);
}

int WINAPI SelectClipRgn(HDC hdc, HRGN hrgn) { return ExtSelectClipRgn(hdc, hrgn, RGN_COPY); }

int WINAPI GetClipRgn(HDC hdc, HRGN hrgn)
{
    DcObj* dc = getDc(hdc);
    RegionObj* o = getRegion(hrgn);
    if (!dc || !o)
        return failWith(ERROR_INVALID_HANDLE, -1);
    if (!dc->st.hasClip)
        return 0;
    o->rgn = dc->st.clip;
    return 1;
}

int WINAPI GetClipBox(HDC hdc, LPRECT rc)
{
    DcObj* dc = getDc(hdc);
    if (!dc || !rc)
        return failWith(ERROR_INVALID_HANDLE, ERROR);
    Region r;
    if (!effectiveClip(hdc, r))
        return ERROR;
    RECT b = r.bounds();
    POINT o = logicalToDevice(*dc, 0, 0);
    *rc = r.empty() ? RECT{0, 0, 0, 0} : RECT{b.left - o.x, b.top - o.y, b.right - o.x, b.bottom - o.y};
    return regionComplexity(r);
}

static int clipRect(HDC hdc, int l, int t, int r, int b, bool exclude)
{
    DcObj* dc = getDc(hdc);
    if (!dc)
        return failWith(ERROR_INVALID_HANDLE, ERROR);
    POINT a = logicalToDevice(*dc, l, t), c = logicalToDevice(*dc, r, b);
    RECT rc{std::min(a.x, c.x), std::min(a.y, c.y), std::max(a.x, c.x), std::max(a.y, c.y)};
    Region base = dc->st.hasClip ? dc->st.clip : deviceExtent(*dc);
    if (exclude)
        base.subtract(rc);
    else
        base.intersect(rc);
    dc->st.clip = std::move(base);
    dc->st.hasClip = true;
    return clipResult(hdc);
}

int WINAPI IntersectClipRect(HDC hdc, int l, int t, int r, int b) { return clipRect(hdc, l, t, r, b, false); }
int WINAPI ExcludeClipRect(HDC hdc, int l, int t, int r, int b) { return clipRect(hdc, l, t, r, b, true); }

int WINAPI OffsetClipRgn(HDC hdc, int x, int y)
{
    DcObj* dc = getDc(hdc);
    if (!dc)
        return failWith(ERROR_INVALID_HANDLE, ERROR);
    if (dc->st.hasClip)
        dc->st.clip.translate(x, y);
    return clipResult(hdc);
}

BOOL WINAPI PtVisible(HDC hdc, int x, int y)
{
    DcObj* dc = getDc(hdc);
    Region r;
    if (!dc || !effectiveClip(hdc, r))
        return failWith(ERROR_INVALID_HANDLE, BOOL(-1));
    POINT p = logicalToDevice(*dc, x, y);
    return r.contains(p.x, p.y);
}

BOOL WINAPI RectVisible(HDC hdc, const RECT* rc)
{
    DcObj* dc = getDc(hdc);
    Region r;
    if (!dc || !rc || !effectiveClip(hdc, r))
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    POINT a = logicalToDevice(*dc, rc->left, rc->top), c = logicalToDevice(*dc, rc->right, rc->bottom);
    return r.intersectsRect(RECT{std::min(a.x, c.x), std::min(a.y, c.y), std::max(a.x, c.x), std::max(a.y, c.y)});
}
