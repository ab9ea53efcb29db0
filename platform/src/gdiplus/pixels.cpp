// Pixel format conversions (see pixels.h).
#include "gdiplus/pixels.h"

#include <cstring>

namespace vk::gdiplus {

bool isStorableFormat(Gdiplus::PixelFormat format)
{
    return format == PixelFormat32bppARGB || format == PixelFormat32bppPARGB || format == PixelFormat32bppRGB ||
           format == PixelFormat24bppRGB;
}

int bytesPerPixel(Gdiplus::PixelFormat format)
{
    return format == PixelFormat24bppRGB ? 3 : 4;
}

static uint32_t load32(const uint8_t* p)
{
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

static void store32(uint8_t* p, uint32_t v)
{
    std::memcpy(p, &v, 4);
}

uint32_t readPixel(Gdiplus::PixelFormat format, const uint8_t* p)
{
    switch (format) {
    case PixelFormat32bppARGB:
        return load32(p);
    case PixelFormat32bppPARGB:
        return unpremultiply(load32(p));
    case PixelFormat32bppRGB:
        return load32(p) | 0xff000000u;
    case PixelFormat24bppRGB:
        return 0xff000000u | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
    default:
        return 0;
    }
}

void writePixel(Gdiplus::PixelFormat format, uint8_t* p, uint32_t argb)
{
    switch (format) {
    case PixelFormat32bppARGB:
        store32(p, argb);
        break;
    case PixelFormat32bppPARGB:
        store32(p, premultiply(argb));
        break;
    case PixelFormat32bppRGB:
        // Alpha is dropped: an RGB bitmap shows the colour as it is.
        store32(p, argb | 0xff000000u);
        break;
    case PixelFormat24bppRGB:
        p[0] = uint8_t(argb);
        p[1] = uint8_t(argb >> 8);
        p[2] = uint8_t(argb >> 16);
        break;
    default:
        break;
    }
}

void rowToPremultiplied(Gdiplus::PixelFormat format, const uint8_t* src, uint32_t* dst, int count)
{
    switch (format) {
    case PixelFormat32bppARGB:
        for (int i = 0; i < count; ++i)
            dst[i] = premultiply(load32(src + 4 * i));
        break;
    case PixelFormat32bppPARGB:
        std::memcpy(dst, src, size_t(count) * 4);
        break;
    case PixelFormat32bppRGB:
        for (int i = 0; i < count; ++i)
            dst[i] = load32(src + 4 * i) | 0xff000000u;
        break;
    case PixelFormat24bppRGB:
        for (int i = 0; i < count; ++i, src += 3)
            dst[i] = 0xff000000u | (uint32_t(src[2]) << 16) | (uint32_t(src[1]) << 8) | src[0];
        break;
    default:
        break;
    }
}

void rowFromPremultiplied(Gdiplus::PixelFormat format, const uint32_t* src, uint8_t* dst, int count)
{
    switch (format) {
    case PixelFormat32bppARGB:
        for (int i = 0; i < count; ++i) {
            uint32_t p = src[i];
            // Opaque pixels need no division and no comparison.
            if ((p >> 24) == 255) {
                store32(dst + 4 * i, p);
                continue;
            }
            uint32_t old = load32(dst + 4 * i);
            if (premultiply(old) != p)
                store32(dst + 4 * i, unpremultiply(p));
        }
        break;
    case PixelFormat32bppPARGB:
        std::memcpy(dst, src, size_t(count) * 4);
        break;
    case PixelFormat32bppRGB:
        for (int i = 0; i < count; ++i)
            store32(dst + 4 * i, src[i] | 0xff000000u);
        break;
    case PixelFormat24bppRGB:
        for (int i = 0; i < count; ++i, dst += 3) {
            dst[0] = uint8_t(src[i]);
            dst[1] = uint8_t(src[i] >> 8);
            dst[2] = uint8_t(src[i] >> 16);
        }
        break;
    default:
        break;
    }
}

void convertRow(Gdiplus::PixelFormat from, const uint8_t* src, Gdiplus::PixelFormat to, uint8_t* dst, int count)
{
    if (from == to) {
        std::memcpy(dst, src, size_t(count) * bytesPerPixel(from));
        return;
    }
    int sb = bytesPerPixel(from), db = bytesPerPixel(to);
    for (int i = 0; i < count; ++i)
        writePixel(to, dst + i * db, readPixel(from, src + i * sb));
}

} // namespace vk::gdiplus
