// Icons (user32): creation, copies, drawing, and loading of system icons and
// registered icon and bitmap resources.
#include "gdi/icon_object.h"
#include "gdi/raster.h"

#include <winuser.h>

#include <algorithm>
#include <cstring>
#include <map>

extern "C" HBITMAP WINAPI LoadBitmapA(HINSTANCE hInstance, LPCSTR lpBitmapName);

namespace vk::gdi {

namespace {
constexpr int kIconSize = 32; // SM_CXICON / SM_CYICON

inline uint32_t div255(uint32_t v) { return (v + 128 + ((v + 128) >> 8)) >> 8; }

std::map<std::string, HICON>& sharedLoads()
{
    static std::map<std::string, HICON> m;
    return m;
}
} // namespace

IconObject* getIcon(HICON h)
{
    UserObject* o = userObjects().get(h);
    return o && o->kind == UserObject::Kind::Icon ? static_cast<IconObject*>(o) : nullptr;
}

HICON iconFromPicture(const Picture& p, bool shared)
{
    auto ic = std::make_unique<IconObject>();
    ic->width = p.width;
    ic->height = p.height;
    ic->hotX = DWORD(p.width / 2);
    ic->hotY = DWORD(p.height / 2);
    ic->hasAlpha = true;
    ic->shared = shared;
    ic->pixels = p.pixels;
    ic->mask.resize(p.pixels.size());
    for (size_t i = 0; i < p.pixels.size(); ++i)
        ic->mask[i] = (p.pixels[i] >> 24) == 0;
    uintptr_t h = userObjects().add(std::move(ic));
    if (!h)
        fail(ERROR_NOT_ENOUGH_MEMORY);
    return reinterpret_cast<HICON>(h);
}

Picture scalePicture(const Picture& p, int w, int h)
{
    if ((w == p.width && h == p.height) || w <= 0 || h <= 0 || w > 1024 || h > 1024)
        return p;
    Picture out;
    out.width = w;
    out.height = h;
    out.pixels.resize(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            // Average the covered source pixels, weighting colour by alpha.
            int x0 = x * p.width / w, x1 = std::max(x0 + 1, (x + 1) * p.width / w);
            int y0 = y * p.height / h, y1 = std::max(y0 + 1, (y + 1) * p.height / h);
            uint64_t a = 0, r = 0, g = 0, b = 0, n = 0;
            for (int yy = y0; yy < y1; ++yy)
                for (int xx = x0; xx < x1; ++xx) {
                    uint32_t v = p.pixels[size_t(yy) * size_t(p.width) + size_t(xx)];
                    uint32_t va = v >> 24;
                    a += va;
                    r += ((v >> 16) & 0xFF) * va;
                    g += ((v >> 8) & 0xFF) * va;
                    b += (v & 0xFF) * va;
                    ++n;
                }
            uint32_t v = 0;
            if (a)
                v = (uint32_t(a / n) << 24) | (uint32_t(r / a) << 16) | (uint32_t(g / a) << 8) | uint32_t(b / a);
            out.pixels[size_t(y) * size_t(w) + size_t(x)] = v;
        }
    return out;
}

// The icon's look as a straight-alpha picture (masked icons: opaque where the mask is 0).
static Picture pictureOf(const IconObject& ic)
{
    Picture p;
    p.width = ic.width;
    p.height = ic.height;
    p.pixels = ic.pixels;
    if (!ic.hasAlpha)
        for (size_t i = 0; i < p.pixels.size(); ++i)
            p.pixels[i] = ic.mask[i] ? 0 : (p.pixels[i] | 0xFF000000u);
    return p;
}

static HICON copyIcon(const IconObject& src, int w, int h)
{
    auto ic = std::make_unique<IconObject>(src);
    ic->shared = false;
    if (w != src.width || h != src.height) {
        Picture p = scalePicture(pictureOf(src), w, h);
        ic->width = w;
        ic->height = h;
        ic->hasAlpha = true;
        ic->mono = false;
        ic->pixels = p.pixels;
        ic->mask.assign(p.pixels.size(), 0);
        for (size_t i = 0; i < p.pixels.size(); ++i)
            ic->mask[i] = (p.pixels[i] >> 24) == 0;
    }
    uintptr_t hnd = userObjects().add(std::move(ic));
    if (!hnd)
        fail(ERROR_NOT_ENOUGH_MEMORY);
    return reinterpret_cast<HICON>(hnd);
}

static HBITMAP bitmapFromPicture(const Picture& p, bool dib)
{
    if (dib) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = p.width;
        bi.bmiHeader.biHeight = -p.height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP h = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (h)
            std::memcpy(bits, p.pixels.data(), p.pixels.size() * 4);
        return h;
    }
    return CreateBitmap(p.width, p.height, 1, 32, p.pixels.data());
}

static bool pictureOfBitmap(HBITMAP hbm, Picture& out)
{
    BitmapObj* b = getBitmap(hbm);
    if (!b)
        return false;
    if (b->shadowed())
        b->pull();
    out.width = b->width;
    out.height = b->height;
    out.pixels.resize(size_t(b->width) * size_t(b->height));
    for (int y = 0; y < b->height; ++y)
        std::memcpy(&out.pixels[size_t(y) * size_t(b->width)], b->surf.row(y), size_t(b->width) * 4);
    return true;
}

} // namespace vk::gdi

using namespace vk;
using namespace vk::gdi;

HICON WINAPI CreateIconIndirect(PICONINFO ii)
{
    if (!ii)
        return failWith(ERROR_INVALID_PARAMETER, HICON(nullptr));
    BitmapObj* mask = getBitmap(ii->hbmMask);
    if (!mask)
        return failWith(ERROR_INVALID_PARAMETER, HICON(nullptr));
    if (mask->shadowed())
        mask->pull();
    auto ic = std::make_unique<IconObject>();
    ic->isIcon = ii->fIcon != FALSE;
    if (ii->hbmColor) {
        BitmapObj* color = getBitmap(ii->hbmColor);
        if (!color)
            return failWith(ERROR_INVALID_PARAMETER, HICON(nullptr));
        if (color->shadowed())
            color->pull();
        ic->width = color->width;
        ic->height = color->height;
        ic->pixels.resize(size_t(ic->width) * size_t(ic->height));
        ic->mask.assign(ic->pixels.size(), 1);
        bool anyAlpha = false;
        for (int y = 0; y < ic->height; ++y)
            for (int x = 0; x < ic->width; ++x) {
                uint32_t v = color->surf.row(y)[x];
                // Colour bitmaps of GDI memory carry no alpha; 32-bpp DIBs may.
                if (!color->isDib || color->bpp != 32)
                    v &= 0xFFFFFF;
                ic->pixels[size_t(y) * size_t(ic->width) + size_t(x)] = v;
                anyAlpha |= (v >> 24) != 0;
                if (y < mask->height && x < mask->width)
                    ic->mask[size_t(y) * size_t(ic->width) + size_t(x)] = (mask->surf.row(y)[x] & 0xFFFFFF) != 0;
            }
        ic->hasAlpha = anyAlpha;
        if (anyAlpha)
            for (size_t i = 0; i < ic->pixels.size(); ++i)
                ic->mask[i] = (ic->pixels[i] >> 24) == 0;
    } else {
        // A monochrome icon: the AND mask over the XOR mask in one bitmap.
        ic->mono = true;
        ic->width = mask->width;
        ic->height = mask->height / 2;
        if (ic->height <= 0)
            return failWith(ERROR_INVALID_PARAMETER, HICON(nullptr));
        ic->pixels.resize(size_t(ic->width) * size_t(ic->height));
        ic->mask.resize(ic->pixels.size());
        for (int y = 0; y < ic->height; ++y)
            for (int x = 0; x < ic->width; ++x) {
                size_t i = size_t(y) * size_t(ic->width) + size_t(x);
                ic->mask[i] = (mask->surf.row(y)[x] & 0xFFFFFF) != 0;
                ic->pixels[i] = (mask->surf.row(y + ic->height)[x] & 0xFFFFFF) ? 0xFFFFFF : 0;
            }
    }
    ic->hotX = ic->isIcon ? DWORD(ic->width / 2) : ii->xHotspot;
    ic->hotY = ic->isIcon ? DWORD(ic->height / 2) : ii->yHotspot;
    uintptr_t h = userObjects().add(std::move(ic));
    if (!h)
        return failWith(ERROR_NOT_ENOUGH_MEMORY, HICON(nullptr));
    return reinterpret_cast<HICON>(h);
}

BOOL WINAPI GetIconInfo(HICON h, PICONINFO ii)
{
    IconObject* ic = getIcon(h);
    if (!ic)
        return failWith(ERROR_INVALID_CURSOR_HANDLE, FALSE);
    if (!ii)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    int w = ic->width, hh = ic->height;
    int maskRows = ic->mono ? hh * 2 : hh;
    int stride = ((w + 15) / 16) * 2;
    std::vector<uint8_t> bits(size_t(stride) * size_t(maskRows), 0);
    for (int y = 0; y < hh; ++y)
        for (int x = 0; x < w; ++x) {
            size_t i = size_t(y) * size_t(w) + size_t(x);
            if (ic->mask[i])
                bits[size_t(y) * size_t(stride) + size_t(x >> 3)] |= uint8_t(0x80 >> (x & 7));
            if (ic->mono && (ic->pixels[i] & 0xFFFFFF))
                bits[size_t(y + hh) * size_t(stride) + size_t(x >> 3)] |= uint8_t(0x80 >> (x & 7));
        }
    HBITMAP mask = CreateBitmap(w, maskRows, 1, 1, bits.data());
    HBITMAP color = nullptr;
    if (!ic->mono) {
        color = CreateBitmap(w, hh, 1, 32, ic->pixels.data());
        if (!color) {
            DeleteObject(mask);
            return FALSE;
        }
    }
    if (!mask) {
        if (color)
            DeleteObject(color);
        return FALSE;
    }
    ii->fIcon = ic->isIcon;
    ii->xHotspot = ic->hotX;
    ii->yHotspot = ic->hotY;
    ii->hbmMask = mask;
    ii->hbmColor = color;
    return TRUE;
}

HICON WINAPI CopyIcon(HICON h)
{
    IconObject* ic = getIcon(h);
    if (!ic)
        return failWith(ERROR_INVALID_CURSOR_HANDLE, HICON(nullptr));
    return copyIcon(*ic, ic->width, ic->height);
}

BOOL WINAPI DestroyIcon(HICON h)
{
    IconObject* ic = getIcon(h);
    if (!ic)
        return failWith(ERROR_INVALID_CURSOR_HANDLE, FALSE);
    // Shared icons (system icons, LoadIcon) live as long as the program.
    if (ic->shared)
        return TRUE;
    userObjects().remove(reinterpret_cast<uintptr_t>(h));
    return TRUE;
}

BOOL WINAPI DrawIconEx(HDC hdc, int x, int y, HICON h, int cx, int cy, UINT, HBRUSH flicker, UINT flags)
{
    Target t;
    if (!acquire(hdc, t))
        return FALSE;
    IconObject* ic = getIcon(h);
    if (!ic)
        return failWith(ERROR_INVALID_CURSOR_HANDLE, FALSE);
    if (!(flags & DI_NORMAL))
        flags |= DI_NORMAL;
    if (!cx)
        cx = (flags & DI_DEFAULTSIZE) ? kIconSize : ic->width;
    if (!cy)
        cy = (flags & DI_DEFAULTSIZE) ? kIconSize : ic->height;
    if (cx < 0 || cy < 0)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    if (!t.drawable())
        return TRUE;
    POINT p = t.toSurf(x, y);
    RECT area{p.x, p.y, p.x + cx, p.y + cy};
    if (flicker && getBrush(flicker))
        paintRect(t, area, brushPaint(t, flicker), R2_COPYPEN);
    Region r(area);
    r.intersect(t.clip);
    if (r.empty())
        return TRUE;
    t.touch(r.bounds());
    bool useMask = flags & DI_MASK, useImage = flags & DI_IMAGE;
    for (const RECT& rc : r.rects())
        for (int yy = rc.top; yy < rc.bottom; ++yy) {
            int sy = (yy - p.y) * ic->height / cy;
            uint32_t* row = t.surf.row(yy);
            for (int xx = rc.left; xx < rc.right; ++xx) {
                int sx = (xx - p.x) * ic->width / cx;
                size_t i = size_t(sy) * size_t(ic->width) + size_t(sx);
                uint32_t s = ic->pixels[i], d = row[xx];
                if (ic->hasAlpha && useImage) {
                    if (!useMask && !(s >> 24)) {
                        // The image alone still shows its colours, without the mask.
                        row[xx] = s & 0xFFFFFF;
                        continue;
                    }
                    uint32_t a = s >> 24, out = 0;
                    for (int c = 0; c < 24; c += 8)
                        out |= div255(((s >> c) & 0xFF) * a + ((d >> c) & 0xFF) * (255 - a)) << c;
                    uint32_t da = d >> 24;
                    out |= (a + div255(da * (255 - a))) << 24;
                    row[xx] = t.mono ? monoOf(out) : out;
                    continue;
                }
                uint32_t v = d;
                if (useMask)
                    v = ic->mask[i] ? v : 0;
                if (useImage)
                    v = useMask ? (v ^ (s & 0xFFFFFF)) : (s & 0xFFFFFF);
                row[xx] = t.mono ? monoOf(v) : v;
            }
        }
    return TRUE;
}

BOOL WINAPI DrawIcon(HDC hdc, int x, int y, HICON h) { return DrawIconEx(hdc, x, y, h, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE); }

static HICON loadIcon(HINSTANCE inst, LPCSTR name, int cx, int cy, bool shared)
{
    if (!name || cx < 0 || cy < 0 || cx > 1024 || cy > 1024)
        return failWith(ERROR_INVALID_PARAMETER, HICON(nullptr));
    const Picture* pic = nullptr;
    if (!inst && IS_INTRESOURCE(name))
        pic = systemIconPicture(int(reinterpret_cast<uintptr_t>(name)));
    if (!pic)
        pic = findIconResource(inst, name);
    if (!pic)
        return failWith(ERROR_RESOURCE_NAME_NOT_FOUND, HICON(nullptr));
    if (!cx)
        cx = pic->width;
    if (!cy)
        cy = pic->height;
    if (!shared)
        return iconFromPicture(scalePicture(*pic, cx, cy), false);
    std::string key = resourceKey(inst, name) + "@" + std::to_string(cx) + "x" + std::to_string(cy);
    auto& cache = sharedLoads();
    auto it = cache.find(key);
    if (it != cache.end() && getIcon(it->second))
        return it->second;
    HICON h = iconFromPicture(scalePicture(*pic, cx, cy), true);
    if (h)
        cache[key] = h;
    return h;
}

HICON WINAPI LoadIconA(HINSTANCE inst, LPCSTR name)
{
    // LoadIcon gives shared icons at the system's icon size.
    return loadIcon(inst, name, kIconSize, kIconSize, true);
}

HBITMAP WINAPI LoadBitmapA(HINSTANCE inst, LPCSTR name)
{
    const Picture* pic = findBitmapResource(inst, name);
    if (!pic)
        return failWith(ERROR_RESOURCE_NAME_NOT_FOUND, HBITMAP(nullptr));
    return bitmapFromPicture(*pic, false);
}

HANDLE WINAPI LoadImageA(HINSTANCE inst, LPCSTR name, UINT type, int cx, int cy, UINT load)
{
    if (load & LR_LOADFROMFILE)
        return failWith(ERROR_FILE_NOT_FOUND, HANDLE(nullptr));
    switch (type) {
    case IMAGE_ICON:
        if (load & LR_DEFAULTSIZE) {
            if (!cx)
                cx = kIconSize;
            if (!cy)
                cy = kIconSize;
        }
        return loadIcon(inst, name, cx, cy, load & LR_SHARED);
    case IMAGE_BITMAP: {
        const Picture* pic = findBitmapResource(inst, name);
        if (!pic)
            return failWith(ERROR_RESOURCE_NAME_NOT_FOUND, HANDLE(nullptr));
        Picture p = scalePicture(*pic, cx ? cx : pic->width, cy ? cy : pic->height);
        return bitmapFromPicture(p, load & LR_CREATEDIBSECTION);
    }
    default:
        // Cursors are loaded by the cursor area (LoadCursorA).
        return failWith(ERROR_INVALID_PARAMETER, HANDLE(nullptr));
    }
}

HANDLE WINAPI CopyImage(HANDLE h, UINT type, int cx, int cy, UINT flags)
{
    if (cx < 0 || cy < 0 || cx > 4096 || cy > 4096)
        return failWith(ERROR_INVALID_PARAMETER, HANDLE(nullptr));
    switch (type) {
    case IMAGE_ICON: {
        IconObject* ic = getIcon(static_cast<HICON>(h));
        if (!ic)
            return failWith(ERROR_INVALID_CURSOR_HANDLE, HANDLE(nullptr));
        if ((flags & LR_DEFAULTSIZE) && !cx)
            cx = kIconSize;
        if ((flags & LR_DEFAULTSIZE) && !cy)
            cy = kIconSize;
        if (!cx)
            cx = ic->width;
        if (!cy)
            cy = ic->height;
        if ((flags & LR_COPYRETURNORG) && cx == ic->width && cy == ic->height)
            return h;
        HICON copy = copyIcon(*ic, cx, cy);
        if (copy && (flags & LR_COPYDELETEORG))
            DestroyIcon(static_cast<HICON>(h));
        return copy;
    }
    case IMAGE_BITMAP: {
        Picture p;
        if (!pictureOfBitmap(static_cast<HBITMAP>(h), p))
            return failWith(ERROR_INVALID_HANDLE, HANDLE(nullptr));
        BitmapObj* b = getBitmap(static_cast<HBITMAP>(h));
        if (!cx)
            cx = p.width;
        if (!cy)
            cy = p.height;
        if ((flags & LR_COPYRETURNORG) && cx == p.width && cy == p.height)
            return h;
        HBITMAP copy;
        if (b->mono && cx == p.width && cy == p.height && !(flags & LR_CREATEDIBSECTION)) {
            copy = CreateBitmap(p.width, p.height, 1, 1, nullptr);
            if (BitmapObj* c = getBitmap(copy))
                for (int y = 0; y < p.height; ++y)
                    std::memcpy(c->surf.row(y), &p.pixels[size_t(y) * size_t(p.width)], size_t(p.width) * 4);
        } else {
            // Resample by plain nearest pixels: bitmaps have no alpha to weight by.
            Picture s;
            s.width = cx;
            s.height = cy;
            s.pixels.resize(size_t(cx) * size_t(cy));
            for (int y = 0; y < cy; ++y)
                for (int x = 0; x < cx; ++x)
                    s.pixels[size_t(y) * size_t(cx) + size_t(x)] =
                        p.pixels[size_t(y * p.height / cy) * size_t(p.width) + size_t(x * p.width / cx)];
            copy = bitmapFromPicture(s, flags & LR_CREATEDIBSECTION);
        }
        if (copy && (flags & LR_COPYDELETEORG))
            DeleteObject(h);
        return copy;
    }
    default:
        return failWith(ERROR_INVALID_PARAMETER, HANDLE(nullptr));
    }
}
