// Device-independent bitmap layouts: parsing a BITMAPINFO and converting
// rows of 1/4/8/16/24/32-bpp DIB memory from and to 0xAARRGGBB pixels.
#pragma once

#include "core/surface.h"

#include <wingdi.h>

#include <cstdint>
#include <vector>

namespace vk::gdi {

struct DibFormat {
    int width = 0;
    int height = 0; // rows, positive
    bool topDown = false;
    int bpp = 0;
    DWORD compression = BI_RGB;
    DWORD masks[3]{}; // 16/32 bpp: red, green, blue
    std::vector<uint32_t> palette; // indexed: 0x00RRGGBB
    int stride = 0;   // bytes per row, DWORD aligned

    size_t imageSize() const { return size_t(stride) * size_t(height); }
    // Pointer to DIB row y counted from the top of the picture.
    const uint8_t* rowFromTop(const void* bits, int y) const
    {
        int mem = topDown ? y : height - 1 - y;
        return static_cast<const uint8_t*>(bits) + size_t(mem) * size_t(stride);
    }
    bool isPlain32() const { return bpp == 32 && (compression == BI_RGB || (masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF)); }
};

inline int dibStride(int width, int bpp) { return ((width * bpp + 31) / 32) * 4; }

// Fills f from a BITMAPINFO. DIB_PAL_COLORS tables index the default palette.
// False for compressed, odd or oversized formats.
bool parseDib(const BITMAPINFO* bmi, UINT usage, DibFormat& f);

void readDibRow(const DibFormat& f, const uint8_t* row, uint32_t* out);
void writeDibRow(const DibFormat& f, const uint32_t* in, uint8_t* row);

// Converts rows [first, first + count) of the picture (counted from its top)
// into a top-down surface of width x count.
bool dibToSurface(const DibFormat& f, const void* bits, int first, int count, OwnedSurface& out);

// The colour table GetDIBits reports for an indexed depth.
std::vector<RGBQUAD> standardColorTable(int bpp, bool mono);

} // namespace vk::gdi
