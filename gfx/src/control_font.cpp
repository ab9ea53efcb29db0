// Reading a control's font through GDI+.
#include <velkaro/gfx/control_font.h>

#include <velkaro/gfx/font.h>
#include <velkaro/gfx/font_family.h>

#include <cmath>

namespace velkaro::gfx {

namespace {
constexpr const char* kDefaultFace = "宋体";
constexpr int kDefaultSize = 12;
constexpr double kNoSize = 1e-7;
}

FontSpec defaultFontSpec()
{
    return {kDefaultFace, kDefaultSize, 0};
}

FontSpec controlFont(HWND hwnd)
{
    HFONT gdiFont = reinterpret_cast<HFONT>(SendMessageA(hwnd, WM_GETFONT, 0, 0));
    if (!gdiFont)
        return defaultFontSpec();
    HDC dc = GetDC(hwnd);
    Font font;
    font.fromDc(dc, gdiFont);
    float size = font.size();
    FontSpec result;
    result.size = std::fabs(size) > kNoSize ? int(size) : kDefaultSize;
    result.style = font.style();
    FontFamily family;
    font.family(family);
    result.face = family.name();
    if (result.face.empty())
        result.face = kDefaultFace;
    font.release();
    family.release();
    if (dc)
        ReleaseDC(hwnd, dc);
    return result;
}

} // namespace velkaro::gfx
