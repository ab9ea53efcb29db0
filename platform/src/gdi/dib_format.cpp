// DIB layouts and row conversion (see dib_format.h).
#include "gdi/dib_format.h"

#include <cstring>

namespace vk::gdi {

namespace {

int lowBit(DWORD m)
{
    int s = 0;
    while (m && !(m & 1)) {
        m >>= 1;
        ++s;
    }
    return s;
}

int bitCount(DWORD m)
{
    int n = 0;
    for (; m; m &= m - 1)
        ++n;
    return n;
}

uint32_t channel(uint32_t v, DWORD mask)
{
    if (!mask)
        return 0;
    int bits = bitCount(mask);
    uint32_t c = (v & mask) >> lowBit(mask);
    if (bits >= 8)
        return c >> (bits - 8);
    uint32_t maxv = (1u << bits) - 1;
    return (c * 255 + maxv / 2) / maxv;
}

uint32_t unchannel(uint32_t c8, DWORD mask)
{
    if (!mask)
        return 0;
    int bits = bitCount(mask);
    uint32_t v = bits >= 8 ? c8 << (bits - 8) : (c8 * ((1u << bits) - 1) + 127) / 255;
    return (v << lowBit(mask)) & mask;
}

uint32_t nearestIndex(const std::vector<uint32_t>& pal, uint32_t px)
{
    int r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
    uint32_t best = 0;
    int bestD = 1 << 30;
    for (size_t i = 0; i < pal.size(); ++i) {
        int dr = int((pal[i] >> 16) & 0xFF) - r, dg = int((pal[i] >> 8) & 0xFF) - g, db = int(pal[i] & 0xFF) - b;
        int d = dr * dr + dg * dg + db * db;
        if (d < bestD) {
            bestD = d;
            best = uint32_t(i);
            if (!d)
                break;
        }
    }
    return best;
}

const uint32_t kDefault16[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

} // namespace

bool parseDib(const BITMAPINFO* bmi, UINT usage, DibFormat& f)
{
    if (!bmi)
        return false;
    const BITMAPINFOHEADER& h = bmi->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biHeight == 0)
        return false;
    if (h.biWidth > 32768 || h.biHeight > 32768 || h.biHeight < -32768)
        return false;
    f = DibFormat{};
    f.width = h.biWidth;
    f.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    f.topDown = h.biHeight < 0;
    f.bpp = h.biBitCount;
    f.compression = h.biCompression;
    switch (f.bpp) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (f.compression != BI_RGB)
            return false;
        break;
    case 16:
    case 32:
        if (f.compression != BI_RGB && f.compression != BI_BITFIELDS)
            return false;
        break;
    default:
        return false;
    }
    f.stride = dibStride(f.width, f.bpp);
    const uint8_t* after = reinterpret_cast<const uint8_t*>(bmi) + h.biSize;
    if (f.compression == BI_BITFIELDS) {
        // With a plain info header the masks follow it; V4/V5 headers hold them at the same offset.
        const DWORD* m = reinterpret_cast<const DWORD*>(reinterpret_cast<const uint8_t*>(bmi) + sizeof(BITMAPINFOHEADER));
        std::memcpy(f.masks, m, sizeof f.masks);
        if (h.biSize == sizeof(BITMAPINFOHEADER))
            after += 3 * sizeof(DWORD);
        if (!f.masks[0] && !f.masks[1] && !f.masks[2])
            return false;
    } else if (f.bpp == 16) {
        f.masks[0] = 0x7C00;
        f.masks[1] = 0x03E0;
        f.masks[2] = 0x001F;
    } else if (f.bpp == 32) {
        f.masks[0] = 0xFF0000;
        f.masks[1] = 0xFF00;
        f.masks[2] = 0xFF;
    }
    if (f.bpp <= 8) {
        unsigned n = h.biClrUsed ? h.biClrUsed : (1u << f.bpp);
        if (n > (1u << f.bpp))
            n = 1u << f.bpp;
        f.palette.resize(1u << f.bpp, 0);
        for (unsigned i = 0; i < n; ++i) {
            if (usage == DIB_PAL_COLORS) {
                WORD idx = reinterpret_cast<const WORD*>(after)[i];
                f.palette[i] = kDefault16[idx % 16];
            } else {
                const RGBQUAD& q = reinterpret_cast<const RGBQUAD*>(after)[i];
                f.palette[i] = (uint32_t(q.rgbRed) << 16) | (uint32_t(q.rgbGreen) << 8) | q.rgbBlue;
            }
        }
    }
    return true;
}

void readDibRow(const DibFormat& f, const uint8_t* row, uint32_t* out)
{
    switch (f.bpp) {
    case 1:
        for (int x = 0; x < f.width; ++x)
            out[x] = f.palette[(row[x >> 3] >> (7 - (x & 7))) & 1];
        break;
    case 4:
        for (int x = 0; x < f.width; ++x)
            out[x] = f.palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
        break;
    case 8:
        for (int x = 0; x < f.width; ++x)
            out[x] = f.palette[row[x]];
        break;
    case 16:
        for (int x = 0; x < f.width; ++x) {
            uint32_t v = uint32_t(row[2 * x]) | (uint32_t(row[2 * x + 1]) << 8);
            out[x] = (channel(v, f.masks[0]) << 16) | (channel(v, f.masks[1]) << 8) | channel(v, f.masks[2]);
        }
        break;
    case 24:
        for (int x = 0; x < f.width; ++x)
            out[x] = (uint32_t(row[3 * x + 2]) << 16) | (uint32_t(row[3 * x + 1]) << 8) | row[3 * x];
        break;
    case 32:
        if (f.isPlain32()) {
            std::memcpy(out, row, size_t(f.width) * 4);
            break;
        }
        for (int x = 0; x < f.width; ++x) {
            uint32_t v;
            std::memcpy(&v, row + 4 * x, 4);
            out[x] = (channel(v, f.masks[0]) << 16) | (channel(v, f.masks[1]) << 8) | channel(v, f.masks[2]);
        }
        break;
    default:
        break;
    }
}

void writeDibRow(const DibFormat& f, const uint32_t* in, uint8_t* row)
{
    switch (f.bpp) {
    case 1:
    case 4:
    case 8: {
        std::memset(row, 0, size_t(f.stride));
        uint32_t lastPx = 0xFFFFFFFF, lastIdx = 0;
        for (int x = 0; x < f.width; ++x) {
            uint32_t px = in[x] & 0xFFFFFF;
            if (px != lastPx) {
                lastIdx = nearestIndex(f.palette, px);
                lastPx = px;
            }
            if (f.bpp == 8)
                row[x] = uint8_t(lastIdx);
            else if (f.bpp == 4)
                row[x >> 1] |= uint8_t(lastIdx << ((x & 1) ? 0 : 4));
            else if (lastIdx)
                row[x >> 3] |= uint8_t(0x80 >> (x & 7));
        }
        break;
    }
    case 16:
        for (int x = 0; x < f.width; ++x) {
            uint32_t p = in[x];
            uint32_t v = unchannel((p >> 16) & 0xFF, f.masks[0]) | unchannel((p >> 8) & 0xFF, f.masks[1]) | unchannel(p & 0xFF, f.masks[2]);
            row[2 * x] = uint8_t(v);
            row[2 * x + 1] = uint8_t(v >> 8);
        }
        break;
    case 24:
        for (int x = 0; x < f.width; ++x) {
            row[3 * x] = uint8_t(in[x]);
            row[3 * x + 1] = uint8_t(in[x] >> 8);
            row[3 * x + 2] = uint8_t(in[x] >> 16);
        }
        break;
    case 32:
        if (f.isPlain32()) {
            std::memcpy(row, in, size_t(f.width) * 4);
            break;
        }
        for (int x = 0; x < f.width; ++x) {
            uint32_t p = in[x];
            uint32_t v = unchannel((p >> 16) & 0xFF, f.masks[0]) | unchannel((p >> 8) & 0xFF, f.masks[1]) | unchannel(p & 0xFF, f.masks[2]);
            std::memcpy(row + 4 * x, &v, 4);
        }
        break;
    default:
        break;
    }
}

bool dibToSurface(const DibFormat& f, const void* bits, int first, int count, OwnedSurface& out)
{
    if (!bits || count <= 0 || first < 0 || first + count > f.height)
        return false;
    out = OwnedSurface(f.width, count);
    if (!out.get().valid())
        return false;
    for (int y = 0; y < count; ++y)
        readDibRow(f, f.rowFromTop(bits, first + y), out.get().row(y));
    return true;
}

std::vector<RGBQUAD> standardColorTable(int bpp, bool mono)
{
    std::vector<RGBQUAD> t;
    auto add = [&](uint32_t c) { t.push_back(RGBQUAD{BYTE(c), BYTE(c >> 8), BYTE(c >> 16), 0}); };
    if (bpp == 1) {
        add(0x000000);
        add(0xFFFFFF);
        return t;
    }
    (void)mono;
    if (bpp == 4) {
        for (uint32_t c : kDefault16)
            add(c);
        return t;
    }
    if (bpp == 8) {
        // The 16 standard colours, a 6 x 6 x 6 cube and a grey ramp.
        for (uint32_t c : kDefault16)
            add(c);
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    add(uint32_t(r * 51) << 16 | uint32_t(g * 51) << 8 | uint32_t(b * 51));
        while (t.size() < 256) {
            uint32_t v = uint32_t((t.size() - 232) * 255 / 23);
            add(v << 16 | v << 8 | v);
        }
    }
    return t;
}

} // namespace vk::gdi
