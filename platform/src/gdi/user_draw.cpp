// The drawing functions of user32: FillRect, FrameRect, InvertRect,
// DrawFocusRect, DrawEdge and DrawFrameControl in the classic look.
#include "gdi/raster.h"
#include "gdi/shape_geometry.h"

#include <winuser.h>

#include <algorithm>

namespace vk::gdi {
COLORREF sysColor(int i);
HBRUSH brushOrSysColor(HBRUSH hbr);

namespace {

RECT ordered(const RECT& r) { return RECT{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right), std::max(r.top, r.bottom)}; }

void fillSys(Target& t, const RECT& surfRc, int color) { paintRect(t, surfRc, solidPaint(t.color(sysColor(color))), R2_COPYPEN); }

// One ring of an edge: top-left colour on the top and left sides, the other
// on the bottom and right, which own the corners they share.
void edgeRing(Target& t, const RECT& r, UINT sides, int tl, int br)
{
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    if (tl >= 0) {
        if (sides & BF_TOP)
            fillSys(t, RECT{r.left, r.top, r.right - 1, r.top + 1}, tl);
        if (sides & BF_LEFT)
            fillSys(t, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, tl);
    }
    if (br >= 0) {
        if (sides & BF_BOTTOM)
            fillSys(t, RECT{r.left, r.bottom - 1, r.right, r.bottom}, br);
        if (sides & BF_RIGHT)
            fillSys(t, RECT{r.right - 1, r.top, r.right, r.bottom}, br);
    }
}

RECT shrink(const RECT& r, UINT sides)
{
    return RECT{r.left + ((sides & BF_LEFT) ? 1 : 0), r.top + ((sides & BF_TOP) ? 1 : 0),
                r.right - ((sides & BF_RIGHT) ? 1 : 0), r.bottom - ((sides & BF_BOTTOM) ? 1 : 0)};
}

} // namespace

// DrawEdge on surface coordinates; returns the interior.
RECT drawEdgeOn(Target& t, RECT r, UINT edge, UINT flags)
{
    UINT sides = flags & BF_RECT;
    int otl = -1, obr = -1, itl = -1, ibr = -1;
    if (flags & BF_MONO) {
        if (edge & BDR_OUTER)
            otl = obr = COLOR_WINDOWFRAME;
        if (edge & BDR_INNER)
            itl = ibr = COLOR_WINDOW;
    } else if (flags & BF_FLAT) {
        if (edge & BDR_OUTER)
            otl = obr = COLOR_BTNSHADOW;
        if (edge & BDR_INNER)
            itl = ibr = COLOR_BTNFACE;
    } else {
        if (edge & BDR_RAISEDOUTER) {
            otl = COLOR_3DLIGHT;
            obr = COLOR_3DDKSHADOW;
        } else if (edge & BDR_SUNKENOUTER) {
            otl = COLOR_BTNSHADOW;
            obr = COLOR_BTNHIGHLIGHT;
        }
        if (edge & BDR_RAISEDINNER) {
            itl = COLOR_BTNHIGHLIGHT;
            ibr = COLOR_BTNSHADOW;
        } else if (edge & BDR_SUNKENINNER) {
            itl = COLOR_3DDKSHADOW;
            ibr = COLOR_3DLIGHT;
        }
        // Soft edges put the brighter (raised) or darker (sunken) line outside.
        if ((flags & BF_SOFT) && otl >= 0 && itl >= 0)
            std::swap(otl, itl);
    }
    if (otl >= 0 || obr >= 0) {
        edgeRing(t, r, sides, otl, obr);
        r = shrink(r, sides);
    }
    if (itl >= 0 || ibr >= 0) {
        edgeRing(t, r, sides, itl, ibr);
        r = shrink(r, sides);
    }
    if (flags & BF_MIDDLE)
        fillSys(t, r, (flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE);
    return r;
}

} // namespace vk::gdi

using namespace vk;
using namespace vk::gdi;

int WINAPI FillRect(HDC hdc, const RECT* rc, HBRUSH hbr)
{
    Target t;
    if (!acquire(hdc, t))
        return 0;
    hbr = brushOrSysColor(hbr);
    if (!rc || !getBrush(hbr))
        return failWith(ERROR_INVALID_PARAMETER, 0);
    // FillRect paints the brush as is, whatever the DC's ROP2.
    paintRect(t, t.toSurf(*rc), brushPaint(t, hbr), R2_COPYPEN);
    return 1;
}

int WINAPI FrameRect(HDC hdc, const RECT* rc, HBRUSH hbr)
{
    Target t;
    if (!acquire(hdc, t))
        return 0;
    hbr = brushOrSysColor(hbr);
    if (!rc || !getBrush(hbr))
        return failWith(ERROR_INVALID_PARAMETER, 0);
    RECT r = t.toSurf(*rc);
    if (r.right <= r.left || r.bottom <= r.top)
        return 1;
    Region frame(r);
    frame.subtract(RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1});
    paintRegion(t, frame, brushPaint(t, hbr), R2_COPYPEN);
    return 1;
}

BOOL WINAPI InvertRect(HDC hdc, const RECT* rc)
{
    Target t;
    if (!acquire(hdc, t))
        return FALSE;
    if (!rc)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    paintRect(t, t.toSurf(*rc), solidPaint(0), R2_NOT);
    return TRUE;
}

BOOL WINAPI DrawFocusRect(HDC hdc, const RECT* rc)
{
    Target t;
    if (!acquire(hdc, t))
        return FALSE;
    if (!rc)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    if (!t.drawable())
        return TRUE;
    RECT r = t.toSurf(*rc);
    if (r.right <= r.left || r.bottom <= r.top)
        return TRUE;
    // Every other pixel of the border, XORed, so a second call takes it away.
    Region dots;
    std::vector<pixman_box32_t> boxes;
    auto dot = [&](int x, int y) {
        if (((x - r.left) + (y - r.top)) % 2 == 0)
            boxes.push_back(pixman_box32_t{x, y, x + 1, y + 1});
    };
    for (int x = r.left; x < r.right; ++x) {
        dot(x, r.top);
        if (r.bottom - 1 > r.top)
            dot(x, r.bottom - 1);
    }
    for (int y = r.top + 1; y < r.bottom - 1; ++y) {
        dot(r.left, y);
        if (r.right - 1 > r.left)
            dot(r.right - 1, y);
    }
    if (!boxes.empty()) {
        pixman_region32_fini(dots.raw());
        pixman_region32_init_rects(dots.raw(), boxes.data(), int(boxes.size()));
    }
    paintRegion(t, dots, solidPaint(0xFFFFFF), R2_XORPEN);
    return TRUE;
}

BOOL WINAPI DrawEdge(HDC hdc, LPRECT qrc, UINT edge, UINT flags)
{
    Target t;
    if (!acquire(hdc, t))
        return FALSE;
    if (!qrc)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    RECT lr = ordered(*qrc);
    RECT inner = drawEdgeOn(t, t.toSurf(lr), edge, flags);
    if (flags & BF_ADJUST)
        *qrc = RECT{inner.left - t.org.x, inner.top - t.org.y, inner.right - t.org.x, inner.bottom - t.org.y};
    return TRUE;
}

namespace {

void block(Target& t, int l, int tp, int r, int b, uint32_t color) { paintRect(t, RECT{l, tp, r, b}, solidPaint(color), R2_COPYPEN); }

// A glyph drawn twice when disabled: a white one offset by a pixel, then grey.
template <class Fn>
void glyph(Target& t, UINT state, Fn draw)
{
    if (state & DFCS_INACTIVE) {
        draw(1, t.color(sysColor(COLOR_BTNHIGHLIGHT)));
        draw(0, t.color(sysColor(COLOR_GRAYTEXT)));
    } else {
        draw(0, t.color(sysColor(COLOR_BTNTEXT)));
    }
}

RECT square(const RECT& r)
{
    int s = std::min(r.right - r.left, r.bottom - r.top);
    int l = r.left + (r.right - r.left - s) / 2, tp = r.top + (r.bottom - r.top - s) / 2;
    return RECT{l, tp, l + s, tp + s};
}

void buttonFace(Target& t, RECT& r, UINT state)
{
    UINT flags = BF_RECT | BF_MIDDLE;
    if (state & DFCS_FLAT)
        flags |= BF_FLAT;
    if (state & DFCS_MONO)
        flags |= BF_MONO;
    if (state & (DFCS_PUSHED | DFCS_CHECKED)) {
        if (!(state & (DFCS_FLAT | DFCS_MONO))) {
            // A pushed button: a dark frame around a shadow line.
            Region frame(r);
            frame.subtract(RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1});
            paintRegion(t, frame, solidPaint(t.color(sysColor(COLOR_WINDOWFRAME))), R2_COPYPEN);
            RECT in{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
            r = drawEdgeOn(t, in, BDR_SUNKENOUTER, BF_RECT | BF_FLAT | BF_MIDDLE);
            return;
        }
        r = drawEdgeOn(t, r, EDGE_SUNKEN, flags);
        return;
    }
    r = drawEdgeOn(t, r, EDGE_RAISED, flags | BF_SOFT);
}

void checkBox(Target& t, RECT r, UINT state)
{
    r = square(r);
    RECT in = drawEdgeOn(t, r, EDGE_SUNKEN, BF_RECT | ((state & DFCS_FLAT) ? BF_FLAT : 0) | ((state & DFCS_MONO) ? BF_MONO : 0));
    bool gray = (state & (DFCS_INACTIVE | DFCS_PUSHED)) || (state & DFCS_BUTTON3STATE);
    block(t, in.left, in.top, in.right, in.bottom, t.color(sysColor(gray ? COLOR_BTNFACE : COLOR_WINDOW)));
    if (!(state & DFCS_CHECKED))
        return;
    // The classic 7 x 7 tick, scaled to the box.
    int w = in.right - in.left;
    double k = w / 9.0;
    int ox = in.left, oy = in.top;
    uint32_t c = t.color(sysColor((state & (DFCS_INACTIVE | DFCS_BUTTON3STATE)) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
    static const int tick[7][2] = {{1, 3}, {2, 4}, {3, 5}, {4, 4}, {5, 3}, {6, 2}, {7, 1}};
    for (auto& p : tick) {
        int x = ox + int(p[0] * k), y = oy + int(p[1] * k);
        block(t, x, y, x + std::max(1, int(k)), y + std::max(3, int(3 * k)), c);
    }
}

void radio(Target& t, RECT r, UINT state)
{
    r = square(r);
    int s = r.right - r.left;
    double cx = r.left + s / 2.0, cy = r.top + s / 2.0;
    Region outer = ellipseRegion(r.left, r.top, r.right, r.bottom);
    Region mid = ellipseRegion(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
    Region in = ellipseRegion(r.left + 2, r.top + 2, r.right - 2, r.bottom - 2);
    auto split = [&](const Region& ring, int ul, int lr) {
        Region a, b;
        for (const RECT& q : ring.rects())
            for (int y = q.top; y < q.bottom; ++y)
                for (int x = q.left; x < q.right; ++x)
                    ((x + 0.5 - cx) + (y + 0.5 - cy) < 0 ? a : b).unite(RECT{x, y, x + 1, y + 1});
        paintRegion(t, a, solidPaint(t.color(sysColor(ul))), R2_COPYPEN);
        paintRegion(t, b, solidPaint(t.color(sysColor(lr))), R2_COPYPEN);
    };
    Region ring1 = outer;
    ring1.subtract(mid);
    Region ring2 = mid;
    ring2.subtract(in);
    if (state & DFCS_BUTTONRADIOMASK) {
        paintRegion(t, outer, solidPaint(0), R2_COPYPEN);
        return;
    }
    split(ring1, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
    split(ring2, COLOR_3DDKSHADOW, COLOR_3DLIGHT);
    bool gray = state & (DFCS_INACTIVE | DFCS_PUSHED);
    paintRegion(t, in, solidPaint(t.color(sysColor(gray ? COLOR_BTNFACE : COLOR_WINDOW))), R2_COPYPEN);
    if (state & DFCS_CHECKED) {
        int d = std::max(2, s / 3);
        int l = r.left + (s - d) / 2, tp = r.top + (s - d) / 2;
        paintRegion(t, ellipseRegion(l, tp, l + d, tp + d),
                    solidPaint(t.color(sysColor((state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT))), R2_COPYPEN);
    }
}

void arrow(Target& t, const RECT& r, int dir, UINT state)
{
    int w = r.right - r.left, h = r.bottom - r.top;
    int size = std::max(2, std::min(w, h) / 3);
    int cx = r.left + w / 2, cy = r.top + h / 2;
    if (state & DFCS_PUSHED) {
        ++cx;
        ++cy;
    }
    glyph(t, state, [&](int o, uint32_t c) {
        int x = cx + o, y = cy + o;
        for (int i = 0; i < size; ++i) {
            // Rows (or columns) of a triangle, widening away from the tip.
            int half = i;
            switch (dir) {
            case DFCS_SCROLLUP: block(t, x - half, y - size / 2 + i, x + half + 1, y - size / 2 + i + 1, c); break;
            case DFCS_SCROLLDOWN:
            case DFCS_SCROLLCOMBOBOX: block(t, x - half, y + size / 2 - i, x + half + 1, y + size / 2 - i + 1, c); break;
            case DFCS_SCROLLLEFT: block(t, x - size / 2 + i, y - half, x - size / 2 + i + 1, y + half + 1, c); break;
            case DFCS_SCROLLRIGHT: block(t, x + size / 2 - i, y - half, x + size / 2 - i + 1, y + half + 1, c); break;
            }
        }
    });
}

void captionGlyph(Target& t, const RECT& r, UINT kind, UINT state)
{
    int w = r.right - r.left, h = r.bottom - r.top;
    int s = std::max(4, std::min(w, h) - 6);
    int l = r.left + (w - s) / 2, tp = r.top + (h - s) / 2;
    if (state & DFCS_PUSHED) {
        ++l;
        ++tp;
    }
    int thick = std::max(1, s / 8);
    glyph(t, state, [&](int o, uint32_t c) {
        int x = l + o, y = tp + o;
        switch (kind) {
        case DFCS_CAPTIONCLOSE:
            for (int i = 0; i < s; ++i) {
                block(t, x + i, y + i, x + i + thick + 1, y + i + 1, c);
                block(t, x + s - 1 - i - thick, y + i, x + s - i, y + i + 1, c);
            }
            break;
        case DFCS_CAPTIONMIN:
            block(t, x + 1, y + s - thick - 1, x + s / 2 + 2, y + s - 1, c);
            break;
        case DFCS_CAPTIONMAX:
            block(t, x, y, x + s, y + thick + 1, c);
            block(t, x, y, x + 1, y + s, c);
            block(t, x + s - 1, y, x + s, y + s, c);
            block(t, x, y + s - 1, x + s, y + s, c);
            break;
        case DFCS_CAPTIONRESTORE: {
            int b = s * 2 / 3;
            int bx = x + s - b, by = y;
            block(t, bx, by, bx + b, by + thick + 1, c);
            block(t, bx + b - 1, by, bx + b, by + b, c);
            int fx = x, fy = y + s - b;
            block(t, fx, fy, fx + b, fy + thick + 1, c);
            block(t, fx, fy, fx + 1, fy + b, c);
            block(t, fx + b - 1, fy, fx + b, fy + b, c);
            block(t, fx, fy + b - 1, fx + b, fy + b, c);
            break;
        }
        case DFCS_CAPTIONHELP: {
            int cx = x + s / 2;
            block(t, cx - s / 4, y, cx + s / 4, y + thick + 1, c);
            block(t, cx + s / 4, y + 1, cx + s / 4 + thick + 1, y + s / 3, c);
            block(t, cx - thick / 2, y + s / 3, cx + s / 4, y + s / 3 + thick + 1, c);
            block(t, cx - thick / 2, y + s / 3, cx + thick / 2 + 1, y + s * 2 / 3, c);
            block(t, cx - thick / 2, y + s - thick - 1, cx + thick / 2 + 1, y + s, c);
            break;
        }
        }
    });
}

void sizeGrip(Target& t, const RECT& r)
{
    fillSys(t, r, COLOR_BTNFACE);
    int s = std::min(r.right - r.left, r.bottom - r.top);
    uint32_t hi = t.color(sysColor(COLOR_BTNHIGHLIGHT)), sh = t.color(sysColor(COLOR_BTNSHADOW));
    // Three diagonal ridges towards the corner: light, shadow, shadow.
    for (int k = 0; k < 3; ++k) {
        int off = 4 * k + 2;
        for (int i = 0; i < s - off; ++i) {
            int px = r.right - (s - off) + i, py = r.bottom - 1 - i;
            block(t, px, py, px + 1, py + 1, hi);
            block(t, px + 1, py, px + 3, py + 1, sh);
        }
    }
}

void menuGlyph(Target& t, const RECT& r, UINT kind)
{
    block(t, r.left, r.top, r.right, r.bottom, 0xFFFFFF);
    int w = r.right - r.left, h = r.bottom - r.top;
    int cx = r.left + w / 2, cy = r.top + h / 2;
    int s = std::max(2, std::min(w, h) / 3);
    switch (kind) {
    case 0: // DFCS_MENUARROW
        for (int i = 0; i < s; ++i)
            block(t, cx - s / 2 + i, cy - (s - 1 - i), cx - s / 2 + i + 1, cy + (s - 1 - i) + 1, 0);
        break;
    case 1: // DFCS_MENUCHECK
        for (int i = 0; i < s; ++i) {
            block(t, cx - s + i, cy - s / 2 + i, cx - s + i + 1, cy - s / 2 + i + 3, 0);
            block(t, cx + i, cy + s / 2 - i - 2, cx + i + 1, cy + s / 2 - i + 1, 0);
        }
        break;
    case 2: // DFCS_MENUBULLET
        paintRegion(t, ellipseRegion(cx - s / 2, cy - s / 2, cx + s / 2 + 1, cy + s / 2 + 1), solidPaint(0), R2_COPYPEN);
        break;
    }
}

} // namespace

BOOL WINAPI DrawFrameControl(HDC hdc, LPRECT rc, UINT type, UINT state)
{
    Target t;
    if (!acquire(hdc, t))
        return FALSE;
    if (!rc)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    RECT r = t.toSurf(ordered(*rc));
    switch (type) {
    case DFC_BUTTON: {
        UINT kind = state & 0x1F;
        if (kind & DFCS_BUTTONPUSH) {
            RECT in = r;
            buttonFace(t, in, state);
            if (state & DFCS_ADJUSTRECT)
                *rc = RECT{in.left - t.org.x, in.top - t.org.y, in.right - t.org.x, in.bottom - t.org.y};
        } else if (kind & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK)) {
            radio(t, r, state);
        } else {
            checkBox(t, r, state);
        }
        return TRUE;
    }
    case DFC_CAPTION: {
        RECT in = r;
        buttonFace(t, in, state);
        captionGlyph(t, r, state & 0xFF, state);
        return TRUE;
    }
    case DFC_SCROLL: {
        UINT kind = state & 0xFF;
        if (kind == DFCS_SCROLLSIZEGRIP || kind == 0x10 /* DFCS_SCROLLSIZEGRIPRIGHT */) {
            sizeGrip(t, r);
            return TRUE;
        }
        RECT in = r;
        if ((state & DFCS_PUSHED) && !(state & (DFCS_FLAT | DFCS_MONO)))
            in = drawEdgeOn(t, r, BDR_SUNKENOUTER, BF_RECT | BF_FLAT | BF_MIDDLE);
        else
            buttonFace(t, in, state);
        arrow(t, r, int(kind), state);
        return TRUE;
    }
    case DFC_MENU:
        menuGlyph(t, r, state & 0xFF);
        return TRUE;
    default:
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    }
}
