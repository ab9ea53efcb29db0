// Image lists: fixed-size images kept as straight-alpha pixels, handed out as
// HIMAGELIST handles that are checked on every call.
#include "controls/common/control_base.h"
#include "core/last_error.h"
#include "gdi/icon_object.h"

#include <velkaro/testing.h>

#include <memory>
#include <set>
#include <vector>

namespace vk::comctl {
namespace {

struct ImageList {
    int cx = 0, cy = 0;
    UINT flags = 0;
    COLORREF bk = CLR_NONE;
    std::vector<std::vector<uint32_t>> images; // 0xAARRGGBB, straight alpha
};

std::set<ImageList*>& liveLists()
{
    static std::set<ImageList*> s;
    return s;
}

ImageList* checkedList(HIMAGELIST h)
{
    auto* p = reinterpret_cast<ImageList*>(h);
    if (!p || !liveLists().count(p)) {
        vk::fail(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return p;
}

// Reads a bitmap as 32-bit top-down pixels; empty on failure.
std::vector<uint32_t> readBitmap(HBITMAP bm, int& w, int& h)
{
    BITMAP info{};
    if (!bm || !GetObjectA(bm, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
        return {};
    w = info.bmWidth;
    h = info.bmHeight;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> px(static_cast<size_t>(w) * h);
    HDC dc = GetDC(nullptr);
    int lines = GetDIBits(dc, bm, 0, h, px.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (lines <= 0)
        return {};
    return px;
}

// Splits a strip of images into the list; mask pixels (non-zero) become transparent.
int addStrip(ImageList* il, const std::vector<uint32_t>& px, int w, int h, const std::vector<uint32_t>* mask,
             bool hasColorKey, COLORREF key)
{
    int count = w / il->cx;
    if (count <= 0)
        return -1;
    int first = static_cast<int>(il->images.size());
    bool useAlpha = (il->flags & 0xFE) == ILC_COLOR32;
    bool anyAlpha = false;
    if (useAlpha)
        for (uint32_t p : px)
            if (p >> 24) {
                anyAlpha = true;
                break;
            }
    uint32_t keyRgb = (GetRValue(key) << 16) | (GetGValue(key) << 8) | GetBValue(key);
    for (int n = 0; n < count; ++n) {
        std::vector<uint32_t> img(static_cast<size_t>(il->cx) * il->cy, 0);
        for (int y = 0; y < il->cy && y < h; ++y)
            for (int x = 0; x < il->cx; ++x) {
                size_t s = static_cast<size_t>(y) * w + n * il->cx + x;
                uint32_t p = px[s];
                uint32_t a = anyAlpha ? (p >> 24) : 0xFF;
                if ((il->flags & ILC_MASK) && mask && ((*mask)[s] & 0xFFFFFF))
                    a = 0;
                if ((il->flags & ILC_MASK) && hasColorKey && (p & 0xFFFFFF) == keyRgb)
                    a = 0;
                img[static_cast<size_t>(y) * il->cx + x] = (a << 24) | (p & 0xFFFFFF);
            }
        il->images.push_back(std::move(img));
    }
    return first;
}

vk::gdi::Picture pictureOf(ImageList* il, int i)
{
    vk::gdi::Picture p;
    p.width = il->cx;
    p.height = il->cy;
    p.pixels = il->images[static_cast<size_t>(i)];
    return p;
}

} // namespace

size_t liveImageLists()
{
    return liveLists().size();
}

} // namespace vk::comctl

using namespace vk::comctl;

HIMAGELIST WINAPI ImageList_Create(int cx, int cy, UINT flags, int, int)
{
    if (cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096)
        return vk::failWith(ERROR_INVALID_PARAMETER, static_cast<HIMAGELIST>(nullptr));
    auto* il = new ImageList;
    il->cx = cx;
    il->cy = cy;
    il->flags = flags;
    liveLists().insert(il);
    return reinterpret_cast<HIMAGELIST>(il);
}

BOOL WINAPI ImageList_Destroy(HIMAGELIST himl)
{
    ImageList* il = checkedList(himl);
    if (!il)
        return FALSE;
    liveLists().erase(il);
    delete il;
    return TRUE;
}

int WINAPI ImageList_GetImageCount(HIMAGELIST himl)
{
    ImageList* il = checkedList(himl);
    return il ? static_cast<int>(il->images.size()) : 0;
}

BOOL WINAPI ImageList_SetImageCount(HIMAGELIST himl, UINT n)
{
    ImageList* il = checkedList(himl);
    if (!il || n > 100000)
        return FALSE;
    il->images.resize(n, std::vector<uint32_t>(static_cast<size_t>(il->cx) * il->cy, 0));
    return TRUE;
}

int WINAPI ImageList_Add(HIMAGELIST himl, HBITMAP image, HBITMAP mask)
{
    ImageList* il = checkedList(himl);
    if (!il)
        return -1;
    int w = 0, h = 0;
    auto px = readBitmap(image, w, h);
    if (px.empty())
        return vk::failWith(ERROR_INVALID_HANDLE, -1);
    std::vector<uint32_t> mk;
    int mw = 0, mh = 0;
    if (mask) {
        mk = readBitmap(mask, mw, mh);
        if (mw != w || mh != h)
            mk.clear();
    }
    return addStrip(il, px, w, h, mk.empty() ? nullptr : &mk, false, 0);
}

int WINAPI ImageList_AddMasked(HIMAGELIST himl, HBITMAP image, COLORREF key)
{
    ImageList* il = checkedList(himl);
    if (!il)
        return -1;
    int w = 0, h = 0;
    auto px = readBitmap(image, w, h);
    if (px.empty())
        return vk::failWith(ERROR_INVALID_HANDLE, -1);
    return addStrip(il, px, w, h, nullptr, true, key);
}

BOOL WINAPI ImageList_Replace(HIMAGELIST himl, int i, HBITMAP image, HBITMAP mask)
{
    ImageList* il = checkedList(himl);
    if (!il)
        return FALSE;
    if (i < 0 || i >= static_cast<int>(il->images.size()))
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    int at = ImageList_Add(himl, image, mask);
    if (at < 0)
        return FALSE;
    il->images[static_cast<size_t>(i)] = il->images[static_cast<size_t>(at)];
    il->images.resize(static_cast<size_t>(at));
    return TRUE;
}

int WINAPI ImageList_ReplaceIcon(HIMAGELIST himl, int i, HICON icon)
{
    ImageList* il = checkedList(himl);
    if (!il)
        return -1;
    if (i < -1 || i >= static_cast<int>(il->images.size()))
        return vk::failWith(ERROR_INVALID_PARAMETER, -1);
    vk::gdi::IconObject* ic = vk::gdi::getIcon(icon);
    if (!ic || ic->width <= 0 || ic->height <= 0)
        return vk::failWith(ERROR_INVALID_HANDLE, -1);
    // Drawing the icon into a transparent picture of the list's size scales it as DrawIconEx does.
    vk::gdi::Picture src;
    src.width = ic->width;
    src.height = ic->height;
    src.pixels.resize(static_cast<size_t>(ic->width) * ic->height);
    for (size_t k = 0; k < src.pixels.size() && k < ic->pixels.size(); ++k) {
        uint32_t p = ic->pixels[k];
        if (!ic->hasAlpha) {
            bool transparent = k < ic->mask.size() && ic->mask[k];
            p = transparent ? 0 : (0xFF000000u | (p & 0xFFFFFF));
        }
        src.pixels[k] = p;
    }
    vk::gdi::Picture scaled = vk::gdi::scalePicture(src, il->cx, il->cy);
    if (i == -1) {
        il->images.push_back(std::move(scaled.pixels));
        return static_cast<int>(il->images.size()) - 1;
    }
    il->images[static_cast<size_t>(i)] = std::move(scaled.pixels);
    return i;
}

BOOL WINAPI ImageList_Remove(HIMAGELIST himl, int i)
{
    ImageList* il = checkedList(himl);
    if (!il)
        return FALSE;
    if (i == -1) {
        il->images.clear();
        return TRUE;
    }
    if (i < 0 || i >= static_cast<int>(il->images.size()))
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    il->images.erase(il->images.begin() + i);
    return TRUE;
}

HICON WINAPI ImageList_GetIcon(HIMAGELIST himl, int i, UINT)
{
    ImageList* il = checkedList(himl);
    if (!il)
        return nullptr;
    if (i < 0 || i >= static_cast<int>(il->images.size()))
        return vk::failWith(ERROR_INVALID_PARAMETER, static_cast<HICON>(nullptr));
    return vk::gdi::iconFromPicture(pictureOf(il, i), false);
}

BOOL WINAPI ImageList_GetIconSize(HIMAGELIST himl, int* cx, int* cy)
{
    ImageList* il = checkedList(himl);
    if (!il)
        return FALSE;
    if (!cx || !cy)
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    *cx = il->cx;
    *cy = il->cy;
    return TRUE;
}

BOOL WINAPI ImageList_SetIconSize(HIMAGELIST himl, int cx, int cy)
{
    ImageList* il = checkedList(himl);
    if (!il)
        return FALSE;
    if (cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096)
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    // Win32 empties the list when the size changes.
    il->images.clear();
    il->cx = cx;
    il->cy = cy;
    return TRUE;
}

BOOL WINAPI ImageList_GetImageInfo(HIMAGELIST himl, int i, IMAGEINFO* info)
{
    ImageList* il = checkedList(himl);
    if (!il)
        return FALSE;
    if (!info || i < 0 || i >= static_cast<int>(il->images.size()))
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    // The list keeps no GDI bitmaps of its own; the image's place in the strip is what callers use.
    info->hbmImage = nullptr;
    info->hbmMask = nullptr;
    info->Unused1 = 0;
    info->Unused2 = 0;
    info->rcImage = RECT{i * il->cx, 0, (i + 1) * il->cx, il->cy};
    return TRUE;
}

COLORREF WINAPI ImageList_SetBkColor(HIMAGELIST himl, COLORREF bk)
{
    ImageList* il = checkedList(himl);
    if (!il)
        return CLR_NONE;
    COLORREF old = il->bk;
    il->bk = bk;
    return old;
}

COLORREF WINAPI ImageList_GetBkColor(HIMAGELIST himl)
{
    ImageList* il = checkedList(himl);
    return il ? il->bk : CLR_NONE;
}

BOOL WINAPI ImageList_DrawEx(HIMAGELIST himl, int i, HDC dc, int x, int y, int dx, int dy, COLORREF rgbBk,
                             COLORREF, UINT style)
{
    ImageList* il = checkedList(himl);
    if (!il)
        return FALSE;
    if (!dc || i < 0 || i >= static_cast<int>(il->images.size()))
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    int w = dx > 0 ? dx : il->cx;
    int h = dy > 0 ? dy : il->cy;
    vk::gdi::Picture pic = pictureOf(il, i);
    if (style & ILD_MASK) {
        // The mask alone: black where the image is opaque, white elsewhere.
        for (uint32_t& p : pic.pixels)
            p = (p >> 24) ? 0xFF000000u : 0xFFFFFFFFu;
    } else {
        COLORREF bk = rgbBk == CLR_DEFAULT ? il->bk : rgbBk;
        if (!(style & ILD_TRANSPARENT) && bk != CLR_NONE && bk != CLR_DEFAULT) {
            RECT r{x, y, x + w, y + h};
            HBRUSH b = CreateSolidBrush(bk);
            FillRect(dc, &r, b);
            DeleteObject(b);
        }
    }
    HICON icon = vk::gdi::iconFromPicture(pic, false);
    if (!icon)
        return FALSE;
    BOOL ok = DrawIconEx(dc, x, y, icon, w, h, 0, nullptr, DI_NORMAL);
    DestroyIcon(icon);
    return ok;
}

BOOL WINAPI ImageList_Draw(HIMAGELIST himl, int i, HDC dc, int x, int y, UINT style)
{
    return ImageList_DrawEx(himl, i, dc, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, style);
}
