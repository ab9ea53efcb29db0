// See canvas.h.
#include "gdiplus/canvas.h"
#include "gdiplus/pixels.h"

#include "gdi/dc_view.h"

#include <algorithm>
#include <cmath>

namespace vk::gdiplus {

void TouchedBox::addUser(cairo_t* cr, double ux0, double uy0, double ux1, double uy1)
{
    double xs[4] = {ux0, ux1, ux0, ux1}, ys[4] = {uy0, uy0, uy1, uy1};
    for (int i = 0; i < 4; ++i) {
        double x = xs[i], y = ys[i];
        cairo_user_to_device(cr, &x, &y);
        x0 = std::min(x0, x);
        y0 = std::min(y0, y);
        x1 = std::max(x1, x);
        y1 = std::max(y1, y);
    }
}

double pixelCentreShift(const Graphics& g)
{
    // By default GDI+ puts pixel centres on integer coordinates; Half and
    // HighQuality put them on half-integers, which is Cairo's own convention.
    return (g.pixelOffset == gp::PixelOffsetModeHalf || g.pixelOffset == gp::PixelOffsetModeHighQuality) ? 0.0 : 0.5;
}

void setBrushSource(cairo_t* cr, const Graphics& g, const Brush& brush)
{
    PatternPtr p = brush.pattern();
    if (brush.type == gp::BrushTypeTextureFill) {
        // Texels sit on pixel centres, and are picked, not blended, when the
        // texture is not scaled.
        cairo_matrix_t m;
        cairo_pattern_get_matrix(p.get(), &m);
        double shift = pixelCentreShift(g);
        cairo_matrix_t t;
        cairo_matrix_init_translate(&t, shift, shift);
        cairo_matrix_multiply(&m, &m, &t);
        cairo_pattern_set_matrix(p.get(), &m);
        cairo_matrix_t ctm;
        cairo_get_matrix(cr, &ctm);
        bool unscaled = ctm.xx == 1 && ctm.yy == 1 && ctm.xy == 0 && ctm.yx == 0 && m.xx == 1 && m.yy == 1 &&
                        m.xy == 0 && m.yx == 0;
        cairo_pattern_set_filter(p.get(), unscaled ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_BILINEAR);
    }
    cairo_set_source(cr, p.get());
}

namespace {

struct Target {
    Bitmap* bitmap = nullptr;
    vk::gdi::DcSurfaceView view; // for a DC target
    bool onDc = false;
    cairo_surface_t* surface = nullptr;
    SurfacePtr direct; // a surface over the bitmap's own rows
    bool writeBack = false;
};

gp::Status openTarget(Graphics& g, Target& t)
{
    if (g.dc) {
        // The DC's own pixels, drawn on in place; its origin becomes the
        // surface's device offset.
        if (!vk::gdi::dcSurfaceView(g.dc, t.view) || !t.view.surface.valid())
            return gp::InvalidParameter;
        t.onDc = true;
        const vk::Surface& s = t.view.surface;
        t.direct.reset(cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(s.bits), CAIRO_FORMAT_RGB24,
                                                           s.width, s.height, s.stride));
        if (cairo_surface_status(t.direct.get()) != CAIRO_STATUS_SUCCESS)
            return gp::OutOfMemory;
        cairo_surface_set_device_offset(t.direct.get(), t.view.origin.x, t.view.origin.y);
        t.surface = t.direct.get();
        return gp::Ok;
    }
    Bitmap* b = lookupAs<Bitmap>(g.image);
    if (!b)
        return gp::InvalidParameter;
    if (b->lock.active)
        return gp::WrongState;
    t.bitmap = b;
    if (b->format == gp::PixelFormat(PixelFormat32bppPARGB) && b->stride > 0) {
        t.direct.reset(cairo_image_surface_create_for_data(b->scan0, CAIRO_FORMAT_ARGB32, b->width, b->height, b->stride));
        if (cairo_surface_status(t.direct.get()) == CAIRO_STATUS_SUCCESS) {
            t.surface = t.direct.get();
            return gp::Ok;
        }
        t.direct.reset();
    }
    // Caller-owned memory may have changed behind our back: always refresh it.
    if (!g.work || g.workVersion != b->version || b->userMemory) {
        g.work = bitmapToSurface(*b);
        if (!g.work)
            return gp::OutOfMemory;
        g.workVersion = b->version;
    }
    t.surface = g.work.get();
    t.writeBack = true;
    return gp::Ok;
}

void closeDc(Target& t, const TouchedBox& box)
{
    const vk::Surface& s = t.view.surface;
    int x0 = 0, y0 = 0, x1 = s.width, y1 = s.height;
    if (!box.everything) {
        x0 = std::max(0, int(std::floor(box.x0)) - 1 + t.view.origin.x);
        y0 = std::max(0, int(std::floor(box.y0)) - 1 + t.view.origin.y);
        x1 = std::min(s.width, int(std::ceil(box.x1)) + 1 + t.view.origin.x);
        y1 = std::min(s.height, int(std::ceil(box.y1)) + 1 + t.view.origin.y);
    }
    cairo_surface_flush(t.surface);
    if (x1 <= x0 || y1 <= y0)
        return;
    // A DC is an opaque RGB target: what was drawn is written opaque, and
    // only inside the DC's clip.
    for (const RECT& rc : t.view.clip.rects()) {
        int l = std::max<int>(x0, rc.left), tp = std::max<int>(y0, rc.top);
        int r = std::min<int>(x1, rc.right), b = std::min<int>(y1, rc.bottom);
        if (r <= l || b <= tp)
            continue;
        for (int y = tp; y < b; ++y) {
            uint32_t* row = s.row(y);
            for (int x = l; x < r; ++x)
                row[x] |= 0xff000000u;
        }
        if (t.view.damage)
            t.view.damage->unite(RECT{l, tp, r, b});
    }
}

void closeTarget(Graphics& g, Target& t, const TouchedBox& box)
{
    if (t.onDc) {
        closeDc(t, box);
        return;
    }
    Bitmap* b = t.bitmap;
    int x0 = 0, y0 = 0, x1 = b->width, y1 = b->height;
    if (!box.everything) {
        x0 = std::max(0, int(std::floor(box.x0)) - 1);
        y0 = std::max(0, int(std::floor(box.y0)) - 1);
        x1 = std::min(b->width, int(std::ceil(box.x1)) + 1);
        y1 = std::min(b->height, int(std::ceil(box.y1)) + 1);
    }
    if (t.writeBack && x1 > x0 && y1 > y0) {
        cairo_surface_flush(t.surface);
        uint8_t* data = cairo_image_surface_get_data(t.surface);
        int stride = cairo_image_surface_get_stride(t.surface);
        int bpp = bytesPerPixel(b->format);
        for (int y = y0; y < y1; ++y)
            rowFromPremultiplied(b->format, reinterpret_cast<const uint32_t*>(data + ptrdiff_t(y) * stride) + x0,
                                 b->row(y) + ptrdiff_t(x0) * bpp, x1 - x0);
    }
    if (t.direct)
        cairo_surface_flush(t.surface);
    ++b->version;
    if (t.writeBack)
        g.workVersion = b->version;
}

} // namespace

gp::Status paintOn(Graphics& g, const std::function<void(cairo_t*, TouchedBox&)>& draw)
{
    Target t;
    gp::Status st = openTarget(g, t);
    if (st != gp::Ok)
        return st;
    int width = cairo_image_surface_get_width(t.surface), height = cairo_image_surface_get_height(t.surface);
    double shift = pixelCentreShift(g);
    ContextPtr cr(cairo_create(t.surface));
    if (t.onDc) {
        // The DC's clip is in surface coordinates.
        for (const RECT& rc : t.view.clip.rects())
            cairo_rectangle(cr.get(), rc.left - t.view.origin.x, rc.top - t.view.origin.y, rc.right - rc.left,
                            rc.bottom - rc.top);
        cairo_clip(cr.get());
    }
    bool masked = false;
    gp::RectF clipRect;
    bool infinite = false;
    if (g.clip.asRect(clipRect, infinite)) {
        if (!infinite) {
            // Pixels whose centres lie inside the rectangle.
            double l = std::ceil(clipRect.X - 0.5 + shift), tp = std::ceil(clipRect.Y - 0.5 + shift);
            double r = std::ceil(clipRect.X + clipRect.Width - 0.5 + shift);
            double b = std::ceil(clipRect.Y + clipRect.Height - 0.5 + shift);
            cairo_rectangle(cr.get(), l, tp, std::max(0.0, r - l), std::max(0.0, b - tp));
            cairo_clip(cr.get());
        }
    } else {
        if (!g.clipMaskValid || !g.clipMask || cairo_image_surface_get_width(g.clipMask.get()) != width ||
            cairo_image_surface_get_height(g.clipMask.get()) != height) {
            g.clipMask = g.clip.rasterize(width, height, shift);
            g.clipMaskValid = true;
        }
        cairo_push_group(cr.get());
        masked = true;
    }
    cairo_translate(cr.get(), shift, shift);
    cairo_transform(cr.get(), &g.world);
    bool smooth = g.smoothing == gp::SmoothingModeAntiAlias || g.smoothing == gp::SmoothingModeAntiAlias8x8 ||
                  g.smoothing == gp::SmoothingModeHighQuality;
    cairo_set_antialias(cr.get(), smooth ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
    cairo_set_operator(cr.get(), g.compositingMode == gp::CompositingModeSourceCopy ? CAIRO_OPERATOR_SOURCE
                                                                                       : CAIRO_OPERATOR_OVER);
    TouchedBox box;
    draw(cr.get(), box);
    if (masked) {
        cairo_pop_group_to_source(cr.get());
        cairo_identity_matrix(cr.get());
        cairo_mask_surface(cr.get(), g.clipMask.get(), 0, 0);
    }
    cr.reset();
    closeTarget(g, t, box);
    return gp::Ok;
}

} // namespace vk::gdiplus
