// GDI colour references and GDI+ ARGB words.
#ifndef VELKARO_GFX_COLORS_H
#define VELKARO_GFX_COLORS_H

#include <windows.h>
#include <gdiplus.h>

namespace velkaro::gfx {

// The colour with the low byte of `alpha` when given, else opaque. The top
// byte of a colour reference (palette flags) is dropped.
Gdiplus::ARGB toArgb(COLORREF colour, int alpha, bool alphaGiven);
inline Gdiplus::ARGB toArgb(COLORREF colour)
{
    return toArgb(colour, 0, false);
}
inline Gdiplus::ARGB toArgb(COLORREF colour, int alpha)
{
    return toArgb(colour, alpha, true);
}

// The colour reference of an ARGB word; its alpha goes to `alpha`.
COLORREF fromArgb(Gdiplus::ARGB argb, int& alpha);

} // namespace velkaro::gfx

#endif
