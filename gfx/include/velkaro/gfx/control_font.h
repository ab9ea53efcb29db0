// The font a control draws its text with, as the skin needs it for GDI+.
#ifndef VELKARO_GFX_CONTROL_FONT_H
#define VELKARO_GFX_CONTROL_FONT_H

#include <windows.h>

#include <string>

namespace velkaro::gfx {

struct FontSpec {
    std::string face;
    int size;
    int style; // Gdiplus::FontStyle bits
};

// The face "宋体", size 12, regular.
FontSpec defaultFontSpec();
// The control's WM_GETFONT font; the default one when it has none or its
// font cannot be read. Never fails.
FontSpec controlFont(HWND hwnd);

} // namespace velkaro::gfx

#endif
