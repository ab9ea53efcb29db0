// System colours (the classic Windows 2000 scheme) and their brushes.
#include "gdi/gdi_objects.h"

#include <winuser.h>

namespace vk::gdi {

namespace {

constexpr int kColorCount = COLOR_MENUBAR + 1;

COLORREF g_colors[kColorCount] = {
    RGB(212, 208, 200), // COLOR_SCROLLBAR
    RGB(58, 110, 165),  // COLOR_BACKGROUND
    RGB(10, 36, 106),   // COLOR_ACTIVECAPTION
    RGB(128, 128, 128), // COLOR_INACTIVECAPTION
    RGB(212, 208, 200), // COLOR_MENU
    RGB(255, 255, 255), // COLOR_WINDOW
    RGB(0, 0, 0),       // COLOR_WINDOWFRAME
    RGB(0, 0, 0),       // COLOR_MENUTEXT
    RGB(0, 0, 0),       // COLOR_WINDOWTEXT
    RGB(255, 255, 255), // COLOR_CAPTIONTEXT
    RGB(212, 208, 200), // COLOR_ACTIVEBORDER
    RGB(212, 208, 200), // COLOR_INACTIVEBORDER
    RGB(128, 128, 128), // COLOR_APPWORKSPACE
    RGB(10, 36, 106),   // COLOR_HIGHLIGHT
    RGB(255, 255, 255), // COLOR_HIGHLIGHTTEXT
    RGB(212, 208, 200), // COLOR_BTNFACE
    RGB(128, 128, 128), // COLOR_BTNSHADOW
    RGB(128, 128, 128), // COLOR_GRAYTEXT
    RGB(0, 0, 0),       // COLOR_BTNTEXT
    RGB(212, 208, 200), // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255), // COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),    // COLOR_3DDKSHADOW
    RGB(212, 208, 200), // COLOR_3DLIGHT
    RGB(0, 0, 0),       // COLOR_INFOTEXT
    RGB(255, 255, 225), // COLOR_INFOBK
    RGB(181, 181, 181), // 25: unused
    RGB(0, 0, 128),     // COLOR_HOTLIGHT
    RGB(166, 202, 240), // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192), // COLOR_GRADIENTINACTIVECAPTION
    RGB(10, 36, 106),   // COLOR_MENUHILIGHT
    RGB(212, 208, 200), // COLOR_MENUBAR
};

HBRUSH g_brushes[kColorCount] = {};

} // namespace

bool validSysColor(int i) { return i >= 0 && i < kColorCount; }

COLORREF sysColor(int i) { return validSysColor(i) ? g_colors[i] : 0; }

HBRUSH sysColorBrush(int i)
{
    if (!validSysColor(i))
        return nullptr;
    if (!g_brushes[i]) {
        auto b = std::make_unique<BrushObj>();
        b->stock = true;
        b->color = g_colors[i];
        b->sysColor = i;
        g_brushes[i] = reinterpret_cast<HBRUSH>(gdiObjects().add(std::move(b)));
    }
    return g_brushes[i];
}

// FillRect and friends accept COLOR_* + 1 in place of a brush.
HBRUSH brushOrSysColor(HBRUSH hbr)
{
    uintptr_t v = reinterpret_cast<uintptr_t>(hbr);
    if (v >= 1 && v <= uintptr_t(kColorCount))
        return sysColorBrush(int(v - 1));
    return hbr;
}

} // namespace vk::gdi

using namespace vk;
using namespace vk::gdi;

DWORD WINAPI GetSysColor(int i)
{
    if (!validSysColor(i))
        return 0;
    return g_colors[i];
}

HBRUSH WINAPI GetSysColorBrush(int i)
{
    if (!validSysColor(i))
        return failWith(ERROR_INVALID_PARAMETER, HBRUSH(nullptr));
    return sysColorBrush(i);
}

BOOL WINAPI SetSysColors(int n, const INT* which, const COLORREF* values)
{
    if (n < 0 || (n > 0 && (!which || !values)))
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    for (int k = 0; k < n; ++k) {
        int i = which[k];
        if (!validSysColor(i))
            continue;
        g_colors[i] = values[k] & 0xFFFFFF;
        // The system brushes follow their colours.
        if (BrushObj* b = getBrush(g_brushes[i]))
            b->color = g_colors[i];
    }
    return TRUE;
}
