// Shared set-up for the GDI+ tests: GDI+ started for each test, small
// bitmaps with a Graphics on them, and a check that nothing is left alive.
#pragma once

#include <gdiplus.h>
#include <gtest/gtest.h>

#include "gdiplus/live_objects.h"

#include <string>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

class GdiplusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GdiplusStartupInput input;
        ASSERT_EQ(Ok, GdiplusStartup(&m_token, &input, nullptr));
        m_liveAtStart = vk::gdiplus::liveObjectCount();
    }
    void TearDown() override
    {
        if (m_graphics) {
            EXPECT_EQ(Ok, GdipDeleteGraphics(m_graphics));
        }
        if (m_bitmap) {
            EXPECT_EQ(Ok, GdipDisposeImage(m_bitmap));
        }
        EXPECT_EQ(m_liveAtStart, vk::gdiplus::liveObjectCount()) << "a GDI+ object was leaked";
        GdiplusShutdown(m_token);
    }

    // A bitmap of the given size filled with `fill`, and a Graphics on it.
    GpGraphics* canvas(int w, int h, ARGB fill = 0xffffffff, PixelFormat format = PixelFormat32bppARGB)
    {
        EXPECT_EQ(Ok, GdipCreateBitmapFromScan0(w, h, 0, format, nullptr, &m_bitmap));
        EXPECT_EQ(Ok, GdipGetImageGraphicsContext(m_bitmap, &m_graphics));
        EXPECT_EQ(Ok, GdipGraphicsClear(m_graphics, fill));
        return m_graphics;
    }

    ARGB pixel(int x, int y)
    {
        ARGB c = 0;
        EXPECT_EQ(Ok, GdipBitmapGetPixel(m_bitmap, x, y, &c));
        return c;
    }

    std::string outputPath(const char* name) { return std::string(VK_TEST_OUTPUT_DIR) + "/" + name; }

    GpBitmap* m_bitmap = nullptr;
    GpGraphics* m_graphics = nullptr;
    ULONG_PTR m_token = 0;
    size_t m_liveAtStart = 0;
};

inline std::u16string u16(const std::string& s)
{
    std::u16string out;
    for (size_t i = 0; i < s.size();) {
        unsigned char b = s[i];
        char32_t c;
        int extra = b < 0x80 ? 0 : (b & 0xe0) == 0xc0 ? 1 : (b & 0xf0) == 0xe0 ? 2 : 3;
        c = extra == 0 ? b : extra == 1 ? (b & 0x1f) : extra == 2 ? (b & 0x0f) : (b & 0x07);
        ++i;
        for (int k = 0; k < extra && i < s.size(); ++k, ++i)
            c = (c << 6) | (s[i] & 0x3f);
        if (c >= 0x10000) {
            c -= 0x10000;
            out += char16_t(0xd800 + (c >> 10));
            out += char16_t(0xdc00 + (c & 0x3ff));
        } else {
            out += char16_t(c);
        }
    }
    return out;
}

inline int channel(ARGB c, int shift)
{
    return int((c >> shift) & 0xff);
}

inline bool near(ARGB a, ARGB b, int tolerance)
{
    for (int s = 0; s < 32; s += 8)
        if (std::abs(channel(a, s) - channel(b, s)) > tolerance)
            return false;
    return true;
}

// Saves the fixture's bitmap as PNG for a person to look at.
inline void savePng(GpBitmap* bmp, const std::string& path)
{
    const CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    EXPECT_EQ(Ok, GdipSaveImageToFile(bmp, reinterpret_cast<const WCHAR*>(u16(path).c_str()), &png, nullptr));
}
