// Caption button glyphs: white, one pixel wide strokes on whole pixels, with
// a soft shadow one pixel down and right so they read on light backgrounds.
#include "artwork.h"

#include <algorithm>

namespace vkgen {

namespace {

constexpr int kButtonWidth = 26;
constexpr int kCloseWidth = 38;
constexpr int kHeight = 18;
// The glyph box: 10 x 10 pixels, its top-left corner here in a 26-wide button.
constexpr int kLeft = 8;
constexpr int kTop = 4;
constexpr std::uint8_t kShadowAlpha = 100;      // straight below-right
constexpr std::uint8_t kShadowEdgeAlpha = 36;   // beside it, softening the edge

void fill(std::vector<std::string>& mask, int x, int y, int w, int h)
{
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            mask[size_t(j)][size_t(i)] = '#';
}

std::vector<std::string> glyphMask(Glyph glyph, int width)
{
    std::vector<std::string> mask(kHeight, std::string(size_t(width), '.'));
    switch (glyph) {
    case Glyph::Help: {
        static const char* art[] = {
            ".#####.",
            "##...##",
            "##...##",
            ".....##",
            "....##.",
            "...##..",
            "...##..",
            ".......",
            "...##..",
            "...##..",
        };
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 7; ++x)
                if (art[y][x] == '#')
                    mask[size_t(kTop + y)][size_t(kLeft + 1 + x)] = '#';
        break;
    }
    case Glyph::MainMenu:
        fill(mask, kLeft, kTop + 1, 10, 2);
        fill(mask, kLeft, kTop + 5, 10, 2);
        fill(mask, kLeft, kTop + 9, 10, 2);
        break;
    case Glyph::Minimize:
        fill(mask, kLeft, kTop + 8, 10, 2);
        break;
    case Glyph::Maximize:
        fill(mask, kLeft, kTop, 10, 2);       // heavier top edge, like a title bar
        fill(mask, kLeft, kTop, 1, 10);
        fill(mask, kLeft + 9, kTop, 1, 10);
        fill(mask, kLeft, kTop + 9, 10, 1);
        break;
    case Glyph::Restore:
        // The window behind shows only above and right of the front one.
        fill(mask, kLeft + 3, kTop, 7, 2);
        fill(mask, kLeft + 9, kTop, 1, 7);
        fill(mask, kLeft + 7, kTop + 6, 3, 1);
        fill(mask, kLeft + 3, kTop, 1, 3);
        fill(mask, kLeft, kTop + 3, 7, 2);
        fill(mask, kLeft, kTop + 3, 1, 7);
        fill(mask, kLeft + 6, kTop + 3, 1, 7);
        fill(mask, kLeft, kTop + 9, 7, 1);
        break;
    case Glyph::Close: {
        int left = (width - 10) / 2;
        for (int r = 0; r < 9; ++r) {
            int y = kTop + r;
            mask[size_t(y)][size_t(left + r)] = '#';
            mask[size_t(y)][size_t(left + r + 1)] = '#';
            mask[size_t(y)][size_t(left + 8 - r)] = '#';
            mask[size_t(y)][size_t(left + 9 - r)] = '#';
        }
        break;
    }
    }
    return mask;
}

}  // namespace

Picture drawCaptionGlyph(Glyph glyph)
{
    int width = glyph == Glyph::Close ? kCloseWidth : kButtonWidth;
    std::vector<std::string> mask = glyphMask(glyph, width);
    auto on = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < width && y < kHeight && mask[size_t(y)][size_t(x)] == '#';
    };
    Picture out(width, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < width; ++x) {
            if (on(x, y)) {
                out.at(x, y) = {255, 255, 255, 255};
                continue;
            }
            std::uint8_t alpha = 0;
            if (on(x - 1, y - 1))
                alpha = kShadowAlpha;
            else if (on(x - 1, y) || on(x, y - 1))
                alpha = kShadowEdgeAlpha;
            out.at(x, y) = {0, 0, 0, alpha};
        }
    return out;
}

}  // namespace vkgen
