// Helpers of the GDI tests: a memory DC over a 32-bpp DIB section, pixel
// reads, and a contact sheet written as PNG for a human to look at.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vk::gdi {
size_t liveGdiObjectCount();
}


// A w x h 32-bpp top-down DIB section selected into a memory DC.
class Canvas {
public:
    Canvas(int w, int h, uint32_t fill = 0xFFFFFF) : m_w(w), m_h(h)
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(nullptr);
        bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        old = SelectObject(dc, bmp);
        for (int i = 0; i < w * h; ++i)
            bits[i] = fill;
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    uint32_t px(int x, int y) const { return bits[y * m_w + x]; }
    uint32_t rgb(int x, int y) const { return px(x, y) & 0xFFFFFF; }
    int width() const { return m_w; }
    int height() const { return m_h; }
    // Pixels of a colour (RGB) within a rectangle.
    int count(uint32_t rgbValue, RECT r) const
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += rgb(x, y) == rgbValue;
        return n;
    }
    int countNot(uint32_t rgbValue) const
    {
        return m_w * m_h - count(rgbValue, RECT{0, 0, m_w, m_h});
    }

    HDC dc = nullptr;
    HBITMAP bmp = nullptr;
    HGDIOBJ old = nullptr;
    uint32_t* bits = nullptr;

private:
    int m_w, m_h;
};

// Collects drawings side by side and writes them as one PNG at the end.
void addToContactSheet(const std::string& label, const Canvas& c, int scale = 1);
