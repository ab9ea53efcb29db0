// Pixel formats GDI+ bitmaps are stored in, and the conversions between them
// and the premultiplied 32-bit words Cairo draws on.
#pragma once

#include <gdiplus.h>

#include <cstdint>

namespace vk::gdiplus {

// The formats a bitmap can be stored in (and LockBits can hand out).
bool isStorableFormat(Gdiplus::PixelFormat format);
int bytesPerPixel(Gdiplus::PixelFormat format);

inline uint32_t premultiply(uint32_t argb)
{
    uint32_t a = argb >> 24;
    if (a == 255)
        return argb;
    if (a == 0)
        return 0;
    uint32_t r = ((argb >> 16) & 0xff) * a + 128;
    uint32_t g = ((argb >> 8) & 0xff) * a + 128;
    uint32_t b = (argb & 0xff) * a + 128;
    return (a << 24) | (((r + (r >> 8)) >> 8) << 16) | (((g + (g >> 8)) >> 8) << 8) | ((b + (b >> 8)) >> 8);
}

inline uint32_t unpremultiply(uint32_t p)
{
    uint32_t a = p >> 24;
    if (a == 255)
        return p;
    if (a == 0)
        return 0;
    auto ch = [a](uint32_t c) {
        uint32_t v = (c * 255 + a / 2) / a;
        return v > 255 ? 255u : v;
    };
    return (a << 24) | (ch((p >> 16) & 0xff) << 16) | (ch((p >> 8) & 0xff) << 8) | ch(p & 0xff);
}

// One pixel of a stored format, as unpremultiplied ARGB.
uint32_t readPixel(Gdiplus::PixelFormat format, const uint8_t* p);
void writePixel(Gdiplus::PixelFormat format, uint8_t* p, uint32_t argb);

// Rows between a stored format and premultiplied ARGB32 (Cairo's layout).
void rowToPremultiplied(Gdiplus::PixelFormat format, const uint8_t* src, uint32_t* dst, int count);
// Writing back keeps a stored unpremultiplied pixel when its premultiplied
// form did not change, so pixels a drawing did not touch stay exact.
void rowFromPremultiplied(Gdiplus::PixelFormat format, const uint32_t* src, uint8_t* dst, int count);
// Rows between two stored formats, through unpremultiplied ARGB.
void convertRow(Gdiplus::PixelFormat from, const uint8_t* src, Gdiplus::PixelFormat to, uint8_t* dst, int count);

} // namespace vk::gdiplus
