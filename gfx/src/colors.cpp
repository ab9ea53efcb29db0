// Colour reference and ARGB conversions.
#include <velkaro/gfx/colors.h>

namespace velkaro::gfx {

namespace {
constexpr int kOpaque = 255;
}

Gdiplus::ARGB toArgb(COLORREF colour, int alpha, bool alphaGiven)
{
    Gdiplus::ARGB a = alphaGiven ? Gdiplus::ARGB(alpha) & 0xff : kOpaque;
    return a << ALPHA_SHIFT | Gdiplus::ARGB(GetRValue(colour)) << RED_SHIFT |
           Gdiplus::ARGB(GetGValue(colour)) << GREEN_SHIFT | Gdiplus::ARGB(GetBValue(colour)) << BLUE_SHIFT;
}

COLORREF fromArgb(Gdiplus::ARGB argb, int& alpha)
{
    alpha = int((argb >> ALPHA_SHIFT) & 0xff);
    return RGB(BYTE(argb >> RED_SHIFT), BYTE(argb >> GREEN_SHIFT), BYTE(argb >> BLUE_SHIFT));
}

} // namespace velkaro::gfx
