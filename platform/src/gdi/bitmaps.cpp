// Bitmaps: device bitmaps, DIB sections and the DIB transfer functions.
#include "gdi/dib_format.h"
#include "gdi/raster.h"

#include <cstring>

namespace vk::gdi {

namespace {

// The layout of a DIB section's own memory.
DibFormat sectionFormat(const BitmapObj& b)
{
    DibFormat f;
    f.width = b.width;
    f.height = b.height;
    f.topDown = b.topDown;
    f.bpp = b.bpp;
    f.compression = b.dibHeader.biCompression;
    std::memcpy(f.masks, b.masks, sizeof f.masks);
    for (const RGBQUAD& q : b.colorTable)
        f.palette.push_back((uint32_t(q.rgbRed) << 16) | (uint32_t(q.rgbGreen) << 8) | q.rgbBlue);
    f.stride = b.dibStride;
    return f;
}

} // namespace

BitmapObj::~BitmapObj() { std::free(dibBits); }

void BitmapObj::pull()
{
    if (!shadow || !dibBits)
        return;
    DibFormat f = sectionFormat(*this);
    for (int y = 0; y < height; ++y)
        readDibRow(f, f.rowFromTop(dibBits, y), surf.row(y));
}

void BitmapObj::push()
{
    if (!shadow || !dibBits)
        return;
    DibFormat f = sectionFormat(*this);
    for (int y = 0; y < height; ++y)
        writeDibRow(f, surf.row(y), const_cast<uint8_t*>(f.rowFromTop(dibBits, y)));
}

std::unique_ptr<BitmapObj> newDeviceBitmap(int w, int h, bool mono)
{
    auto b = std::make_unique<BitmapObj>();
    b->width = w;
    b->height = h;
    b->mono = mono;
    b->bpp = mono ? 1 : 32;
    b->owned = OwnedSurface(w, h);
    if (!b->owned.get().valid())
        return nullptr;
    b->surf = b->owned.get();
    return b;
}

} // namespace vk::gdi

using namespace vk;
using namespace vk::gdi;

static bool validSize(int w, int h) { return w > 0 && h > 0 && w <= 32768 && h <= 32768 && int64_t(w) * h <= (int64_t(1) << 28); }

HBITMAP WINAPI CreateBitmap(int w, int h, UINT planes, UINT bitCount, const void* bits)
{
    if (w == 0 || h == 0)
        return stockBitmap();
    if (w < 0 || h < 0 || planes != 1 || bitCount == 0 || bitCount > 32)
        return failWith(ERROR_INVALID_PARAMETER, HBITMAP(nullptr));
    if (!validSize(w, h))
        return failWith(ERROR_NOT_ENOUGH_MEMORY, HBITMAP(nullptr));
    bool mono = bitCount == 1;
    auto b = newDeviceBitmap(w, h, mono);
    if (!b)
        return failWith(ERROR_NOT_ENOUGH_MEMORY, HBITMAP(nullptr));
    if (bits) {
        // Device bitmap rows are WORD aligned.
        int stride = ((w * int(bitCount) + 15) / 16) * 2;
        const uint8_t* src = static_cast<const uint8_t*>(bits);
        for (int y = 0; y < h; ++y) {
            const uint8_t* row = src + size_t(y) * size_t(stride);
            uint32_t* out = b->surf.row(y);
            for (int x = 0; x < w; ++x) {
                if (mono)
                    out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 0xFFFFFF : 0;
                else if (bitCount == 32)
                    std::memcpy(&out[x], row + 4 * x, 4);
                else if (bitCount == 24)
                    out[x] = (uint32_t(row[3 * x + 2]) << 16) | (uint32_t(row[3 * x + 1]) << 8) | row[3 * x];
            }
        }
    }
    return addObject<HBITMAP>(std::move(b));
}

HBITMAP WINAPI CreateBitmapIndirect(const BITMAP* pbm)
{
    if (!pbm)
        return failWith(ERROR_INVALID_PARAMETER, HBITMAP(nullptr));
    return CreateBitmap(pbm->bmWidth, pbm->bmHeight, pbm->bmPlanes, pbm->bmBitsPixel, pbm->bmBits);
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int w, int h)
{
    if (!getDc(hdc))
        return failWith(ERROR_INVALID_HANDLE, HBITMAP(nullptr));
    if (w == 0 || h == 0)
        return stockBitmap();
    if (w < 0 || h < 0)
        return failWith(ERROR_INVALID_PARAMETER, HBITMAP(nullptr));
    if (!validSize(w, h))
        return failWith(ERROR_NOT_ENOUGH_MEMORY, HBITMAP(nullptr));
    // Always colour: every DC here stands for the 32-bit display.
    auto b = newDeviceBitmap(w, h, false);
    if (!b)
        return failWith(ERROR_NOT_ENOUGH_MEMORY, HBITMAP(nullptr));
    return addObject<HBITMAP>(std::move(b));
}

HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* bmi, UINT usage, void** ppvBits, HANDLE hSection, DWORD)
{
    if (ppvBits)
        *ppvBits = nullptr;
    if (hdc && !getDc(hdc))
        return failWith(ERROR_INVALID_HANDLE, HBITMAP(nullptr));
    DibFormat f;
    if (hSection || !parseDib(bmi, usage, f))
        return failWith(ERROR_INVALID_PARAMETER, HBITMAP(nullptr));
    if (!validSize(f.width, f.height))
        return failWith(ERROR_NOT_ENOUGH_MEMORY, HBITMAP(nullptr));
    auto b = std::make_unique<BitmapObj>();
    b->isDib = true;
    b->width = f.width;
    b->height = f.height;
    b->bpp = f.bpp;
    b->topDown = f.topDown;
    b->dibStride = f.stride;
    b->dibHeader = bmi->bmiHeader;
    b->dibHeader.biSize = sizeof(BITMAPINFOHEADER);
    b->dibHeader.biSizeImage = DWORD(f.imageSize());
    if (f.compression == BI_BITFIELDS)
        std::memcpy(b->masks, f.masks, sizeof b->masks);
    for (uint32_t c : f.palette)
        b->colorTable.push_back(RGBQUAD{BYTE(c), BYTE(c >> 8), BYTE(c >> 16), 0});
    b->dibBits = static_cast<uint8_t*>(std::calloc(1, f.imageSize()));
    if (!b->dibBits)
        return failWith(ERROR_NOT_ENOUGH_MEMORY, HBITMAP(nullptr));
    if (f.isPlain32()) {
        // Draw straight into the DIB memory; a bottom-up DIB is viewed from its
        // last memory row upwards.
        uint8_t* top = f.topDown ? b->dibBits : b->dibBits + size_t(f.height - 1) * size_t(f.stride);
        b->surf = Surface{reinterpret_cast<uint32_t*>(top), f.width, f.height, f.topDown ? f.stride : -f.stride};
    } else {
        b->shadow = true;
        b->owned = OwnedSurface(f.width, f.height);
        if (!b->owned.get().valid())
            return failWith(ERROR_NOT_ENOUGH_MEMORY, HBITMAP(nullptr));
        b->surf = b->owned.get();
        b->pull();
    }
    void* bits = b->dibBits;
    HBITMAP h = addObject<HBITMAP>(std::move(b));
    if (h && ppvBits)
        *ppvBits = bits;
    return h;
}

LONG WINAPI GetBitmapBits(HBITMAP hbm, LONG cb, LPVOID out)
{
    BitmapObj* b = getBitmap(hbm);
    if (!b)
        return failWith(ERROR_INVALID_HANDLE, LONG(0));
    if (b->shadowed())
        b->pull();
    int bpp = b->mono ? 1 : 32;
    int stride = ((b->width * bpp + 15) / 16) * 2;
    LONG total = LONG(stride) * b->height;
    if (!out)
        return total;
    if (cb <= 0)
        return 0;
    LONG n = cb < total ? cb : total;
    std::vector<uint8_t> buf(size_t(total), 0);
    for (int y = 0; y < b->height; ++y) {
        uint8_t* row = buf.data() + size_t(y) * size_t(stride);
        const uint32_t* in = b->surf.row(y);
        if (b->mono) {
            for (int x = 0; x < b->width; ++x)
                if (in[x] & 0xFFFFFF)
                    row[x >> 3] |= uint8_t(0x80 >> (x & 7));
        } else {
            std::memcpy(row, in, size_t(b->width) * 4);
        }
    }
    std::memcpy(out, buf.data(), size_t(n));
    return n;
}

LONG WINAPI SetBitmapBits(HBITMAP hbm, DWORD cb, const void* bits)
{
    BitmapObj* b = getBitmap(hbm);
    if (!b)
        return failWith(ERROR_INVALID_HANDLE, LONG(0));
    if (!bits)
        return failWith(ERROR_INVALID_PARAMETER, LONG(0));
    if (b->shadowed())
        b->pull();
    int bpp = b->mono ? 1 : 32;
    int stride = ((b->width * bpp + 15) / 16) * 2;
    const uint8_t* src = static_cast<const uint8_t*>(bits);
    LONG used = 0;
    for (int y = 0; y < b->height && DWORD(used + stride) <= cb; ++y) {
        const uint8_t* row = src + size_t(y) * size_t(stride);
        uint32_t* out = b->surf.row(y);
        if (b->mono) {
            for (int x = 0; x < b->width; ++x)
                out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 0xFFFFFF : 0;
        } else {
            std::memcpy(out, row, size_t(b->width) * 4);
        }
        used += stride;
    }
    if (b->shadowed())
        b->push();
    return used;
}

int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID bits, LPBITMAPINFO bmi, UINT usage)
{
    BitmapObj* b = getBitmap(hbm);
    if ((hdc && !getDc(hdc)) || !b)
        return failWith(ERROR_INVALID_HANDLE, 0);
    if (!bmi || bmi->bmiHeader.biSize < sizeof(BITMAPINFOHEADER))
        return failWith(ERROR_INVALID_PARAMETER, 0);
    BITMAPINFOHEADER& h = bmi->bmiHeader;
    if (!bits && h.biBitCount == 0) {
        // The query form: describe the bitmap.
        h.biWidth = b->width;
        h.biHeight = b->height;
        h.biPlanes = 1;
        h.biBitCount = WORD(b->bpp);
        h.biCompression = (b->isDib && b->dibHeader.biCompression == BI_BITFIELDS) ? BI_BITFIELDS : BI_RGB;
        h.biSizeImage = DWORD(dibStride(b->width, b->bpp) * b->height);
        h.biClrUsed = 0;
        h.biClrImportant = 0;
        return b->height;
    }
    if (h.biPlanes != 1 && h.biPlanes != 0)
        return failWith(ERROR_INVALID_PARAMETER, 0);
    if (h.biWidth == 0 || h.biHeight == 0) {
        h.biWidth = b->width;
        h.biHeight = b->height;
    }
    h.biPlanes = 1;
    // The colour table for indexed output: the section's own, else a standard one.
    if (h.biBitCount <= 8 && h.biBitCount > 0) {
        std::vector<RGBQUAD> table = (b->isDib && b->bpp == h.biBitCount && !b->colorTable.empty())
                                         ? b->colorTable
                                         : standardColorTable(h.biBitCount, b->mono);
        if (usage == DIB_RGB_COLORS)
            std::memcpy(bmi->bmiColors, table.data(), table.size() * sizeof(RGBQUAD));
    }
    if (h.biCompression == BI_BITFIELDS && h.biSize == sizeof(BITMAPINFOHEADER)) {
        DWORD* m = reinterpret_cast<DWORD*>(bmi->bmiColors);
        if (!m[0] && !m[1] && !m[2]) {
            if (h.biBitCount == 16) {
                m[0] = 0xF800;
                m[1] = 0x07E0;
                m[2] = 0x001F;
            } else {
                m[0] = 0xFF0000;
                m[1] = 0xFF00;
                m[2] = 0xFF;
            }
        }
    }
    DibFormat f;
    if (!parseDib(bmi, DIB_RGB_COLORS, f))
        return failWith(ERROR_INVALID_PARAMETER, 0);
    h.biSizeImage = DWORD(f.imageSize());
    if (!bits)
        return b->height;
    if (b->shadowed())
        b->pull();
    int copied = 0;
    std::vector<uint32_t> rowPx(size_t(f.width), 0);
    for (UINT i = start; i < start + cLines && int(i) < f.height; ++i) {
        // Scan line i counts from the bottom for bottom-up DIBs.
        int yTop = f.topDown ? int(i) : f.height - 1 - int(i);
        std::fill(rowPx.begin(), rowPx.end(), 0);
        if (yTop < b->height) {
            int w = f.width < b->width ? f.width : b->width;
            const uint32_t* in = b->surf.row(yTop);
            // Device bitmaps have no alpha to report; DIB sections keep theirs.
            for (int x = 0; x < w; ++x)
                rowPx[size_t(x)] = b->isDib ? in[x] : (in[x] & 0xFFFFFF);
        }
        writeDibRow(f, rowPx.data(), static_cast<uint8_t*>(bits) + size_t(i - start) * size_t(f.stride));
        ++copied;
    }
    return copied;
}

int WINAPI SetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, const void* bits, const BITMAPINFO* bmi, UINT usage)
{
    BitmapObj* b = getBitmap(hbm);
    if ((hdc && !getDc(hdc)) || !b)
        return failWith(ERROR_INVALID_HANDLE, 0);
    DibFormat f;
    if (!bits || !parseDib(bmi, usage, f))
        return failWith(ERROR_INVALID_PARAMETER, 0);
    if (b->shadowed())
        b->pull();
    std::vector<uint32_t> rowPx(size_t(f.width), 0);
    int set = 0;
    for (UINT i = start; i < start + cLines && int(i) < f.height; ++i) {
        int yTop = f.topDown ? int(i) : f.height - 1 - int(i);
        readDibRow(f, static_cast<const uint8_t*>(bits) + size_t(i - start) * size_t(f.stride), rowPx.data());
        if (yTop < b->height) {
            int w = f.width < b->width ? f.width : b->width;
            uint32_t* out = b->surf.row(yTop);
            for (int x = 0; x < w; ++x)
                out[x] = b->mono ? monoOf(rowPx[size_t(x)]) : rowPx[size_t(x)];
        }
        ++set;
    }
    if (b->shadowed())
        b->push();
    return set;
}

HBITMAP WINAPI CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* pbmih, DWORD flInit, const void* bits, const BITMAPINFO* bmi, UINT usage)
{
    if (!pbmih)
        return failWith(ERROR_INVALID_PARAMETER, HBITMAP(nullptr));
    int w = pbmih->biWidth, h = pbmih->biHeight < 0 ? -pbmih->biHeight : pbmih->biHeight;
    if (w <= 0 || h <= 0 || !validSize(w, h))
        return failWith(ERROR_INVALID_PARAMETER, HBITMAP(nullptr));
    auto b = newDeviceBitmap(w, h, false);
    if (!b)
        return failWith(ERROR_NOT_ENOUGH_MEMORY, HBITMAP(nullptr));
    HBITMAP hb = addObject<HBITMAP>(std::move(b));
    if (hb && (flInit & CBM_INIT) && bits && bmi)
        SetDIBits(hdc, hb, 0, UINT(h), bits, bmi, usage);
    return hb;
}

UINT WINAPI GetDIBColorTable(HDC hdc, UINT iStart, UINT n, RGBQUAD* out)
{
    DcObj* dc = getDc(hdc);
    if (!dc)
        return failWith(ERROR_INVALID_HANDLE, 0u);
    BitmapObj* b = getBitmap(dc->st.bitmap);
    if (!b || !b->isDib || b->colorTable.empty() || !out)
        return 0;
    UINT copied = 0;
    for (UINT i = iStart; i < b->colorTable.size() && copied < n; ++i)
        out[copied++] = b->colorTable[i];
    return copied;
}

UINT WINAPI SetDIBColorTable(HDC hdc, UINT iStart, UINT n, const RGBQUAD* in)
{
    DcObj* dc = getDc(hdc);
    if (!dc)
        return failWith(ERROR_INVALID_HANDLE, 0u);
    BitmapObj* b = getBitmap(dc->st.bitmap);
    if (!b || !b->isDib || b->colorTable.empty() || !in)
        return 0;
    UINT copied = 0;
    for (UINT i = iStart; i < b->colorTable.size() && copied < n; ++i)
        b->colorTable[i] = in[copied++];
    b->pull();
    return copied;
}

BOOL WINAPI GetBitmapDimensionEx(HBITMAP hbm, LPSIZE size)
{
    if (!getBitmap(hbm))
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    if (size)
        *size = SIZE{0, 0};
    return TRUE;
}
