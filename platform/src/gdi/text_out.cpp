// Drawing text: TextOutA and ExtTextOutA over Pango, composited through the
// DC's clip in the text colour.
#include "gdi/font.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

namespace vk::gdi {

RECT drawTextAt(Target& t, FontImpl& f, const std::string& text, int x, int y, uint32_t color, int charExtra,
                const Region* clip)
{
    if (text.empty() || !t.drawable())
        return RECT{x, y, x, y};
    PangoLayout* l = layoutFor(f, text, charExtra);
    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(l, &ink, &logical);
    int x0 = std::min(ink.x, logical.x), y0 = std::min(ink.y, logical.y);
    int x1 = std::max(ink.x + ink.width, logical.x + logical.width);
    int y1 = std::max(ink.y + ink.height, logical.y + logical.height);
    int w = x1 - x0, h = y1 - y0;
    if (w <= 0 || h <= 0)
        return RECT{x, y, x, y};
    Region area(x + x0, y + y0, x + x1, y + y1);
    area.intersect(t.clip);
    if (clip)
        area.intersect(*clip);
    if (area.empty())
        return RECT{x + x0, y + y0, x + x1, y + y1};
    // Render only the visible part: a mask the size of the area's bounds.
    RECT vb = area.bounds();
    int mw = vb.right - vb.left, mh = vb.bottom - vb.top;
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, mw, mh);
    if (cairo_surface_status(mask) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(mask);
        return RECT{x, y, x, y};
    }
    cairo_t* cr = cairo_create(mask);
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    cairo_move_to(cr, x - vb.left, y - vb.top);
    pango_cairo_show_layout(cr, l);
    cairo_destroy(cr);
    cairo_surface_flush(mask);
    const uint8_t* m = cairo_image_surface_get_data(mask);
    int ms = cairo_image_surface_get_stride(mask);
    t.touch(vb);
    uint32_t cr8 = (color >> 16) & 0xFF, cg8 = (color >> 8) & 0xFF, cb8 = color & 0xFF;
    for (const RECT& rc : area.rects())
        for (int yy = rc.top; yy < rc.bottom; ++yy) {
            const uint8_t* mrow = m + size_t(yy - vb.top) * size_t(ms) - vb.left;
            uint32_t* row = t.surf.row(yy);
            for (int xx = rc.left; xx < rc.right; ++xx) {
                uint32_t a = mrow[xx];
                if (!a)
                    continue;
                if (a == 255) {
                    row[xx] = color;
                    continue;
                }
                uint32_t d = row[xx];
                uint32_t r = (cr8 * a + ((d >> 16) & 0xFF) * (255 - a) + 127) / 255;
                uint32_t g = (cg8 * a + ((d >> 8) & 0xFF) * (255 - a) + 127) / 255;
                uint32_t b = (cb8 * a + (d & 0xFF) * (255 - a) + 127) / 255;
                row[xx] = t.mono ? monoOf((r << 16) | (g << 8) | b) : ((r << 16) | (g << 8) | b);
            }
        }
    cairo_surface_destroy(mask);
    return RECT{x + x0, y + y0, x + x1, y + y1};
}

} // namespace vk::gdi

using namespace vk;
using namespace vk::gdi;

BOOL WINAPI ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCSTR s, UINT c, const INT* dx)
{
    Target t;
    if (!acquire(hdc, t))
        return FALSE;
    if (c > 0 && !s)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    DcState& st = t.dc->st;
    RECT rc{};
    if (rect && (options & (ETO_OPAQUE | ETO_CLIPPED))) {
        rc = *rect;
        if (rc.right < rc.left)
            std::swap(rc.left, rc.right);
        if (rc.bottom < rc.top)
            std::swap(rc.top, rc.bottom);
    }
    if (rect && (options & ETO_OPAQUE))
        paintRect(t, t.toSurf(rc), solidPaint(t.color(st.bkColor)), R2_COPYPEN);
    if (c == 0)
        return TRUE;

    FontImpl& f = dcFont(*t.dc);
    std::string text = cleanUtf8(s, int(c));
    // The advance of the whole string: from lpDx when given (one entry per byte).
    int width = 0;
    if (dx) {
        for (UINT i = 0; i < c; ++i)
            width += dx[i];
    } else {
        width = textExtent(f, text, st.charExtra).cx;
    }
    UINT align = st.textAlign;
    if (align & TA_UPDATECP) {
        x = st.curPos.x;
        y = st.curPos.y;
    }
    int left = x;
    switch (align & TA_CENTER) {
    case TA_RIGHT: left = x - width; break;
    case TA_CENTER: left = x - width / 2; break;
    default: break;
    }
    int top = y;
    if ((align & TA_BASELINE) == TA_BASELINE)
        top = y - f.ascent;
    else if (align & TA_BOTTOM)
        top = y - f.height;
    if (align & TA_UPDATECP) {
        if ((align & TA_CENTER) == TA_LEFT)
            st.curPos.x = x + width;
        else if ((align & TA_CENTER) == TA_RIGHT)
            st.curPos.x = x - width;
    }
    if (!t.drawable())
        return TRUE;

    POINT p = t.toSurf(left, top);
    Region clipRgn;
    const Region* clip = nullptr;
    if (rect && (options & ETO_CLIPPED)) {
        clipRgn = Region(t.toSurf(rc));
        clip = &clipRgn;
    }
    if (st.bkMode == OPAQUE) {
        Region box(p.x, p.y, p.x + width, p.y + f.height);
        if (clip)
            box.intersect(*clip);
        paintRegion(t, box, solidPaint(t.color(st.bkColor)), R2_COPYPEN);
    }
    uint32_t color = t.color(st.textColor);
    if (!dx) {
        drawTextAt(t, f, text, p.x, p.y, color, st.charExtra, clip);
        return TRUE;
    }
    // Explicit advances: each character at its own place.
    int pen = p.x;
    for (UINT i = 0; i < c;) {
        int len = int(g_utf8_next_char(text.data() + i) - (text.data() + i));
        if (i + UINT(len) > c)
            len = int(c - i);
        drawTextAt(t, f, text.substr(i, size_t(len)), pen, p.y, color, 0, clip);
        for (int k = 0; k < len; ++k)
            pen += dx[i + UINT(k)];
        i += UINT(len);
    }
    return TRUE;
}

BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR s, int c)
{
    if (c < 0)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    return ExtTextOutA(hdc, x, y, 0, nullptr, s, UINT(c), nullptr);
}
