// Blits: BitBlt, StretchBlt, PatBlt, the DIB-to-device transfers and the
// msimg32 functions (TransparentBlt, AlphaBlend, GradientFill).
#include "core/modules.h"
#include "gdi/dib_format.h"
#include "gdi/raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vk::gdi {

namespace {

inline uint32_t div255(uint32_t v) { return (v + 128 + ((v + 128) >> 8)) >> 8; }

RECT normalized(int x, int y, int w, int h)
{
    RECT r{x, y, x + w, y + h};
    if (r.right < r.left)
        std::swap(r.left, r.right);
    if (r.bottom < r.top)
        std::swap(r.top, r.bottom);
    return r;
}

int clampi(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

// Resamples rectangle sr of src into a new dw x dh surface; mirrors as asked.
OwnedSurface resample(const Surface& src, const RECT& sr, int dw, int dh, bool mirrorX, bool mirrorY, bool smooth)
{
    OwnedSurface out(dw, dh);
    if (!out.get().valid() || !src.valid())
        return out;
    int sw = sr.right - sr.left, sh = sr.bottom - sr.top;
    if (sw <= 0 || sh <= 0)
        return out;
    const bool shrink = dw < sw || dh < sh;
    for (int y = 0; y < dh; ++y) {
        int oy = mirrorY ? dh - 1 - y : y;
        uint32_t* row = out.get().row(oy);
        for (int x = 0; x < dw; ++x) {
            int ox = mirrorX ? dw - 1 - x : x;
            if (!smooth) {
                int sx = clampi(sr.left + int((int64_t(x) * sw + sw / 2) / dw), 0, src.width - 1);
                int sy = clampi(sr.top + int((int64_t(y) * sh + sh / 2) / dh), 0, src.height - 1);
                if (dw >= sw)
                    sx = clampi(sr.left + int(int64_t(x) * sw / dw), 0, src.width - 1);
                if (dh >= sh)
                    sy = clampi(sr.top + int(int64_t(y) * sh / dh), 0, src.height - 1);
                row[ox] = src.row(sy)[sx];
                continue;
            }
            if (shrink) {
                // Average the source pixels this destination pixel covers.
                int x0 = sr.left + int(int64_t(x) * sw / dw), x1 = sr.left + int(int64_t(x + 1) * sw / dw);
                int y0 = sr.top + int(int64_t(y) * sh / dh), y1 = sr.top + int(int64_t(y + 1) * sh / dh);
                if (x1 <= x0)
                    x1 = x0 + 1;
                if (y1 <= y0)
                    y1 = y0 + 1;
                uint32_t a = 0, r = 0, g = 0, b = 0, n = 0;
                for (int yy = y0; yy < y1; ++yy) {
                    const uint32_t* s = src.row(clampi(yy, 0, src.height - 1));
                    for (int xx = x0; xx < x1; ++xx) {
                        uint32_t p = s[clampi(xx, 0, src.width - 1)];
                        a += p >> 24;
                        r += (p >> 16) & 0xFF;
                        g += (p >> 8) & 0xFF;
                        b += p & 0xFF;
                        ++n;
                    }
                }
                row[ox] = ((a / n) << 24) | ((r / n) << 16) | ((g / n) << 8) | (b / n);
            } else {
                double fx = (x + 0.5) * sw / dw - 0.5 + sr.left, fy = (y + 0.5) * sh / dh - 0.5 + sr.top;
                int ix = int(std::floor(fx)), iy = int(std::floor(fy));
                double tx = fx - ix, ty = fy - iy;
                uint32_t p[4] = {
                    src.row(clampi(iy, 0, src.height - 1))[clampi(ix, 0, src.width - 1)],
                    src.row(clampi(iy, 0, src.height - 1))[clampi(ix + 1, 0, src.width - 1)],
                    src.row(clampi(iy + 1, 0, src.height - 1))[clampi(ix, 0, src.width - 1)],
                    src.row(clampi(iy + 1, 0, src.height - 1))[clampi(ix + 1, 0, src.width - 1)],
                };
                uint32_t v = 0;
                for (int c = 0; c < 32; c += 8) {
                    double top = ((p[0] >> c) & 0xFF) * (1 - tx) + ((p[1] >> c) & 0xFF) * tx;
                    double bot = ((p[2] >> c) & 0xFF) * (1 - tx) + ((p[3] >> c) & 0xFF) * tx;
                    v |= uint32_t(top * (1 - ty) + bot * ty + 0.5) << c;
                }
                row[ox] = v;
            }
        }
    }
    return out;
}

} // namespace

// Copies (and stretches) rectangle (sx, sy, sw, sh) of src onto (dx, dy, dw, dh)
// of the target, all in surface coordinates; negative sizes mirror.
void stretchOnto(Target& t, int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy, int sw, int sh,
                 BlitSource conv, const Paint* pat, DWORD rop, int mode)
{
    RECT dr = normalized(dx, dy, dw, dh);
    RECT sr = normalized(sx, sy, sw, sh);
    int adw = dr.right - dr.left, adh = dr.bottom - dr.top;
    int asw = sr.right - sr.left, ash = sr.bottom - sr.top;
    if (!adw || !adh || !asw || !ash)
        return;
    bool mirrorX = (dw < 0) != (sw < 0), mirrorY = (dh < 0) != (sh < 0);
    if (adw == asw && adh == ash && !mirrorX && !mirrorY) {
        conv.s = &src;
        conv.x = sr.left;
        conv.y = sr.top;
        ropBlit(t, dr, &conv, pat, rop);
        return;
    }
    bool smooth = mode == HALFTONE && conv.conv == BlitSource::Conv::None;
    OwnedSurface tmp = resample(src, sr, adw, adh, mirrorX, mirrorY, smooth);
    if (!tmp.get().valid())
        return;
    conv.s = &tmp.get();
    conv.x = 0;
    conv.y = 0;
    ropBlit(t, dr, &conv, pat, rop);
}

BlitSource conversionFor(const Target& dst, const Target& src)
{
    BlitSource b;
    if (src.mono && !dst.mono) {
        b.conv = BlitSource::Conv::MonoToColor;
        b.fg = pixelOf(dst.dc->st.textColor);
        b.bg = pixelOf(dst.dc->st.bkColor);
    } else if (!src.mono && dst.mono) {
        b.conv = BlitSource::Conv::ColorToMono;
        b.srcBk = pixelOf(src.dc->st.bkColor);
    }
    return b;
}

} // namespace vk::gdi

using namespace vk;
using namespace vk::gdi;

static BOOL stretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc,
                       int wSrc, int hSrc, DWORD rop)
{
    Target t;
    if (!acquire(hdcDest, t))
        return FALSE;
    Paint pat;
    if (ropUsesPattern(rop))
        pat = brushPaint(t, t.dc->st.brush);
    if (!ropUsesSource(rop)) {
        if (t.drawable())
            ropBlit(t, t.toSurf(normalized(xDest, yDest, wDest, hDest)), nullptr, &pat, rop);
        return TRUE;
    }
    Target s;
    if (!sourceOf(hdcSrc, s))
        return FALSE;
    if (!t.drawable() || !s.surf.valid())
        return TRUE;
    POINT dp = t.toSurf(xDest, yDest);
    POINT sp = s.toSurf(xSrc, ySrc);
    stretchOnto(t, dp.x, dp.y, wDest, hDest, s.surf, sp.x, sp.y, wSrc, hSrc, conversionFor(t, s), &pat, rop,
                t.dc->st.stretchMode);
    return TRUE;
}

BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop)
{
    return stretchBlt(hdc, x, y, cx, cy, hdcSrc, x1, y1, cx, cy, rop);
}

BOOL WINAPI StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc,
                       int wSrc, int hSrc, DWORD rop)
{
    return stretchBlt(hdcDest, xDest, yDest, wDest, hDest, hdcSrc, xSrc, ySrc, wSrc, hSrc, rop);
}

BOOL WINAPI PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop)
{
    if (ropUsesSource(rop))
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    return stretchBlt(hdc, x, y, w, h, nullptr, 0, 0, w, h, rop);
}

BOOL WINAPI MaskBlt(HDC hdcDest, int xDest, int yDest, int width, int height, HDC hdcSrc, int xSrc, int ySrc,
                    HBITMAP hbmMask, int xMask, int yMask, DWORD rop)
{
    if (!hbmMask)
        return stretchBlt(hdcDest, xDest, yDest, width, height, hdcSrc, xSrc, ySrc, width, height, rop & 0xFFFFFF);
    BitmapObj* mask = getBitmap(hbmMask);
    if (!mask || !mask->mono)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    // Foreground ROP where the mask is 1, background ROP (high byte) where it is 0.
    DWORD fore = rop & 0xFFFFFF;
    DWORD back = ((rop >> 8) & 0xFF0000) | (fore & 0xFFFF);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            int mx = xMask + x, my = yMask + y;
            bool set = mx >= 0 && my >= 0 && mx < mask->width && my < mask->height && (mask->surf.row(my)[mx] & 0xFFFFFF);
            if (!stretchBlt(hdcDest, xDest + x, yDest + y, 1, 1, hdcSrc, xSrc + x, ySrc + y, 1, 1, set ? fore : back))
                return FALSE;
        }
    return TRUE;
}

int WINAPI StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc, int ySrc,
                         int SrcWidth, int SrcHeight, const void* bits, const BITMAPINFO* bmi, UINT usage, DWORD rop)
{
    Target t;
    if (!acquire(hdc, t))
        return 0;
    DibFormat f;
    if (!parseDib(bmi, usage, f) || (!bits && ropUsesSource(rop)))
        return failWith(ERROR_INVALID_PARAMETER, 0);
    OwnedSurface src;
    if (!dibToSurface(f, bits, 0, f.height, src))
        return failWith(ERROR_NOT_ENOUGH_MEMORY, 0);
    if (!t.drawable())
        return SrcHeight;
    Paint pat;
    if (ropUsesPattern(rop))
        pat = brushPaint(t, t.dc->st.brush);
    // DIB source coordinates start at the bottom-left corner of a bottom-up picture.
    int top = f.topDown ? ySrc : f.height - ySrc - SrcHeight;
    POINT dp = t.toSurf(xDest, yDest);
    stretchOnto(t, dp.x, dp.y, DestWidth, DestHeight, src.get(), xSrc, top, SrcWidth, SrcHeight, BlitSource{}, &pat, rop,
                t.dc->st.stretchMode);
    return SrcHeight;
}

int WINAPI SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc, UINT StartScan,
                             UINT cLines, const void* bits, const BITMAPINFO* bmi, UINT usage)
{
    Target t;
    if (!acquire(hdc, t))
        return 0;
    DibFormat f;
    if (!bits || !parseDib(bmi, usage, f))
        return failWith(ERROR_INVALID_PARAMETER, 0);
    // bits hold cLines scan lines from StartScan (counted from the bottom for
    // bottom-up DIBs); place them into a picture of the full height.
    OwnedSurface pic(f.width, f.height);
    if (!pic.get().valid())
        return failWith(ERROR_NOT_ENOUGH_MEMORY, 0);
    Region have;
    for (UINT i = 0; i < cLines && int(StartScan + i) < f.height; ++i) {
        int scan = int(StartScan + i);
        int yTop = f.topDown ? scan : f.height - 1 - scan;
        readDibRow(f, static_cast<const uint8_t*>(bits) + size_t(i) * size_t(f.stride), pic.get().row(yTop));
        have.unite(RECT{0, yTop, f.width, yTop + 1});
    }
    if (!t.drawable())
        return int(cLines);
    int top = f.topDown ? ySrc : f.height - ySrc - int(h);
    POINT dp = t.toSurf(xDest, yDest);
    // Only rows that were passed in are drawn.
    Region keep = have;
    keep.translate(dp.x - xSrc, dp.y - top);
    Region saved = t.clip;
    t.clip.intersect(keep);
    stretchOnto(t, dp.x, dp.y, int(w), int(h), pic.get(), xSrc, top, int(w), int(h), BlitSource{}, nullptr, SRCCOPY,
                COLORONCOLOR);
    t.clip = saved;
    return int(cLines);
}

BOOL WINAPI TransparentBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc,
                           int wSrc, int hSrc, UINT crTransparent)
{
    Target t, s;
    if (!acquire(hdcDest, t) || !sourceOf(hdcSrc, s))
        return FALSE;
    if (wDest <= 0 || hDest <= 0 || wSrc <= 0 || hSrc <= 0)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    if (!t.drawable() || !s.surf.valid())
        return TRUE;
    POINT sp = s.toSurf(xSrc, ySrc);
    OwnedSurface tmp = resample(s.surf, RECT{sp.x, sp.y, sp.x + wSrc, sp.y + hSrc}, wDest, hDest, false, false, false);
    if (!tmp.get().valid())
        return FALSE;
    uint32_t key = pixelOf(crTransparent);
    BlitSource conv = conversionFor(t, s);
    POINT dp = t.toSurf(xDest, yDest);
    Region r(dp.x, dp.y, dp.x + wDest, dp.y + hDest);
    r.intersect(t.clip);
    if (r.empty())
        return TRUE;
    t.touch(r.bounds());
    for (const RECT& rc : r.rects())
        for (int y = rc.top; y < rc.bottom; ++y) {
            const uint32_t* srow = tmp.get().row(y - dp.y) - dp.x;
            uint32_t* drow = t.surf.row(y);
            for (int x = rc.left; x < rc.right; ++x) {
                uint32_t v = srow[x];
                if ((v & 0xFFFFFF) == key)
                    continue;
                if (conv.conv == BlitSource::Conv::MonoToColor)
                    v = (v & 0xFFFFFF) ? conv.bg : conv.fg;
                drow[x] = t.mono ? monoOf(v) : v;
            }
        }
    return TRUE;
}

BOOL WINAPI AlphaBlend(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc,
                       int wSrc, int hSrc, BLENDFUNCTION ftn)
{
    Target t, s;
    if (!acquire(hdcDest, t) || !sourceOf(hdcSrc, s))
        return FALSE;
    if (wDest < 0 || hDest < 0 || wSrc < 0 || hSrc < 0 || ftn.BlendOp != AC_SRC_OVER)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    if (!s.surf.valid())
        return TRUE;
    POINT sp = s.toSurf(xSrc, ySrc);
    // The source rectangle must lie inside the source surface.
    if (sp.x < 0 || sp.y < 0 || sp.x + wSrc > s.surf.width || sp.y + hSrc > s.surf.height)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    if (!t.drawable() || !wDest || !hDest || !wSrc || !hSrc)
        return TRUE;
    OwnedSurface tmp = resample(s.surf, RECT{sp.x, sp.y, sp.x + wSrc, sp.y + hSrc}, wDest, hDest, false, false,
                                t.dc->st.stretchMode == HALFTONE);
    if (!tmp.get().valid())
        return FALSE;
    POINT dp = t.toSurf(xDest, yDest);
    Region r(dp.x, dp.y, dp.x + wDest, dp.y + hDest);
    r.intersect(t.clip);
    if (r.empty())
        return TRUE;
    t.touch(r.bounds());
    const uint32_t sca = ftn.SourceConstantAlpha;
    const bool perPixel = ftn.AlphaFormat & AC_SRC_ALPHA;
    for (const RECT& rc : r.rects())
        for (int y = rc.top; y < rc.bottom; ++y) {
            const uint32_t* srow = tmp.get().row(y - dp.y) - dp.x;
            uint32_t* drow = t.surf.row(y);
            for (int x = rc.left; x < rc.right; ++x) {
                uint32_t sv = srow[x], dv = drow[x], out = 0;
                if (perPixel) {
                    // Premultiplied source: Dst = Src * sca + Dst * (1 - SrcAlpha * sca).
                    uint32_t sa = div255((sv >> 24) * sca);
                    for (int c = 0; c < 32; c += 8) {
                        uint32_t sc = div255(((sv >> c) & 0xFF) * sca);
                        uint32_t dc = (dv >> c) & 0xFF;
                        uint32_t v = sc + div255(dc * (255 - sa));
                        out |= (v > 255 ? 255 : v) << c;
                    }
                } else {
                    for (int c = 0; c < 32; c += 8) {
                        uint32_t v = div255(((sv >> c) & 0xFF) * sca + ((dv >> c) & 0xFF) * (255 - sca));
                        out |= v << c;
                    }
                }
                drow[x] = t.mono ? monoOf(out) : out;
            }
        }
    return TRUE;
}

static uint32_t vertexPixel(const TRIVERTEX& v)
{
    return (uint32_t(v.Alpha >> 8) << 24) | (uint32_t(v.Red >> 8) << 16) | (uint32_t(v.Green >> 8) << 8) | uint32_t(v.Blue >> 8);
}

static uint32_t mix(uint32_t a, uint32_t b, double t)
{
    uint32_t out = 0;
    for (int c = 0; c < 32; c += 8) {
        double v = ((a >> c) & 0xFF) * (1 - t) + ((b >> c) & 0xFF) * t;
        out |= uint32_t(v + 0.5) << c;
    }
    return out;
}

BOOL WINAPI GradientFill(HDC hdc, PTRIVERTEX v, ULONG nVertex, PVOID mesh, ULONG nMesh, ULONG mode)
{
    Target t;
    if (!acquire(hdc, t))
        return FALSE;
    if (!v || !mesh || mode > GRADIENT_FILL_TRIANGLE)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    if (!t.drawable())
        return TRUE;
    if (mode == GRADIENT_FILL_TRIANGLE) {
        const auto* tris = static_cast<const GRADIENT_TRIANGLE*>(mesh);
        for (ULONG m = 0; m < nMesh; ++m) {
            ULONG i[3] = {tris[m].Vertex1, tris[m].Vertex2, tris[m].Vertex3};
            if (i[0] >= nVertex || i[1] >= nVertex || i[2] >= nVertex)
                return failWith(ERROR_INVALID_PARAMETER, FALSE);
            POINT p[3];
            for (int k = 0; k < 3; ++k)
                p[k] = t.toSurf(v[i[k]].x, v[i[k]].y);
            double den = double(p[1].y - p[2].y) * (p[0].x - p[2].x) + double(p[2].x - p[1].x) * (p[0].y - p[2].y);
            if (den == 0)
                continue;
            RECT bb{std::min({p[0].x, p[1].x, p[2].x}), std::min({p[0].y, p[1].y, p[2].y}),
                    std::max({p[0].x, p[1].x, p[2].x}), std::max({p[0].y, p[1].y, p[2].y})};
            Region r(bb);
            r.intersect(t.clip);
            t.touch(r.bounds());
            for (const RECT& rc : r.rects())
                for (int y = rc.top; y < rc.bottom; ++y)
                    for (int x = rc.left; x < rc.right; ++x) {
                        double px = x + 0.5, py = y + 0.5;
                        double w0 = ((p[1].y - p[2].y) * (px - p[2].x) + (p[2].x - p[1].x) * (py - p[2].y)) / den;
                        double w1 = ((p[2].y - p[0].y) * (px - p[2].x) + (p[0].x - p[2].x) * (py - p[2].y)) / den;
                        double w2 = 1 - w0 - w1;
                        if (w0 < 0 || w1 < 0 || w2 < 0)
                            continue;
                        uint32_t out = 0;
                        for (int c = 0; c < 32; c += 8) {
                            double val = w0 * ((vertexPixel(v[i[0]]) >> c) & 0xFF) + w1 * ((vertexPixel(v[i[1]]) >> c) & 0xFF) +
                                         w2 * ((vertexPixel(v[i[2]]) >> c) & 0xFF);
                            out |= uint32_t(std::min(255.0, val + 0.5)) << c;
                        }
                        t.surf.row(y)[x] = out;
                    }
        }
        return TRUE;
    }
    const auto* rects = static_cast<const GRADIENT_RECT*>(mesh);
    for (ULONG m = 0; m < nMesh; ++m) {
        if (rects[m].UpperLeft >= nVertex || rects[m].LowerRight >= nVertex)
            return failWith(ERROR_INVALID_PARAMETER, FALSE);
        const TRIVERTEX& a = v[rects[m].UpperLeft];
        const TRIVERTEX& b = v[rects[m].LowerRight];
        RECT lr{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
        RECT sr = t.toSurf(lr);
        bool horizontal = mode == GRADIENT_FILL_RECT_H;
        // The colour runs from the first vertex's side to the second's.
        uint32_t c0 = vertexPixel(a), c1 = vertexPixel(b);
        bool flip = horizontal ? a.x > b.x : a.y > b.y;
        if (flip)
            std::swap(c0, c1);
        Region r(sr);
        r.intersect(t.clip);
        if (r.empty())
            continue;
        t.touch(r.bounds());
        int span = horizontal ? sr.right - sr.left : sr.bottom - sr.top;
        for (const RECT& rc : r.rects())
            for (int y = rc.top; y < rc.bottom; ++y)
                for (int x = rc.left; x < rc.right; ++x) {
                    int pos = horizontal ? x - sr.left : y - sr.top;
                    double f = span > 1 ? double(pos) / double(span) : 0.0;
                    t.surf.row(y)[x] = mix(c0, c1, f);
                }
    }
    return TRUE;
}

namespace {
// Through void(*)(), which -Wcast-function-type accepts as a generic function pointer.
template <class F>
FARPROC exportOf(F* f)
{
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(f));
}

// msimg32.dll resolves these through GetProcAddress, as on Windows.
struct Msimg32Exports {
    Msimg32Exports()
    {
        static const vk::ModuleExport exports[] = {
            {"TransparentBlt", exportOf(&TransparentBlt)},
            {"AlphaBlend", exportOf(&AlphaBlend)},
            {"GradientFill", exportOf(&GradientFill)},
        };
        vk::registerModuleExports("msimg32.dll", exports, sizeof exports / sizeof exports[0]);
    }
} g_msimg32Exports;
} // namespace

HBRUSH WINAPI CreateDIBPatternBrushPt(const void* packed, UINT usage)
{
    const auto* bmi = static_cast<const BITMAPINFO*>(packed);
    DibFormat f;
    if (!parseDib(bmi, usage, f))
        return failWith(ERROR_INVALID_PARAMETER, HBRUSH(nullptr));
    size_t colors = f.bpp <= 8 ? (bmi->bmiHeader.biClrUsed ? bmi->bmiHeader.biClrUsed : (1u << f.bpp)) : 0;
    size_t table = colors * (usage == DIB_PAL_COLORS ? 2 : 4);
    if (f.compression == BI_BITFIELDS && bmi->bmiHeader.biSize == sizeof(BITMAPINFOHEADER))
        table += 12;
    const uint8_t* bits = reinterpret_cast<const uint8_t*>(bmi) + bmi->bmiHeader.biSize + table;
    auto b = std::make_unique<BrushObj>();
    b->style = BS_DIBPATTERNPT;
    b->hatch = reinterpret_cast<ULONG_PTR>(packed);
    b->color = usage;
    if (!dibToSurface(f, bits, 0, f.height, b->pattern))
        return failWith(ERROR_NOT_ENOUGH_MEMORY, HBRUSH(nullptr));
    return addObject<HBRUSH>(std::move(b));
}
