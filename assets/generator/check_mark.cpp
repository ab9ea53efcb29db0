// The check mark: a green tick whose transparent pixels are transparent
// white (0x00FFFFFF), as the engine's colour-keyed drawing expects, and whose
// darkest, fully opaque pixel is exactly kDarkest.
#include "artwork.h"

#include <algorithm>
#include <cmath>

namespace vkgen {

namespace {

constexpr int kWidth = 13;
constexpr int kHeight = 12;
constexpr Rgba kDarkest{0x54, 0x88, 0x05, 255};
constexpr Rgba kLightest{0x9c, 0xd2, 0x4a, 255};
constexpr Rgba kTransparent{255, 255, 255, 0};
// The tick's corner, where it is darkest; the arm tips are lighter.
constexpr double kCornerX = 4.6;
constexpr double kCornerY = 9.4;

}  // namespace

Picture drawCheckMark()
{
    // Coverage of the stroke, drawn four times over for smooth edges.
    constexpr int kScale = 4;
    Canvas canvas(kWidth * kScale, kHeight * kScale);
    cairo_t* cr = canvas.cr();
    cairo_scale(cr, kScale, kScale);
    cairo_set_line_width(cr, 2.5);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, 1.6, 5.9);
    cairo_line_to(cr, kCornerX, kCornerY - 0.4);
    cairo_line_to(cr, 11.4, 1.6);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_stroke(cr);
    Picture big = canvas.toPicture();

    Picture out(kWidth, kHeight, kTransparent);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            int sum = 0;
            for (int dy = 0; dy < kScale; ++dy)
                for (int dx = 0; dx < kScale; ++dx)
                    sum += big.at(x * kScale + dx, y * kScale + dy).a;
            double coverage = sum / (255.0 * kScale * kScale);
            if (coverage < 0.12)
                continue;
            // Lighter away from the corner and toward the soft edge.
            double distance = std::hypot(x + 0.5 - kCornerX, y + 0.5 - kCornerY);
            double t = std::clamp(distance / 10.0, 0.0, 1.0) * 0.75 + (1.0 - coverage) * 0.6;
            t = std::clamp(t, 0.0, 1.0);
            auto mix = [t](std::uint8_t a, std::uint8_t b) { return std::uint8_t(std::lround(a + (b - a) * t)); };
            std::uint8_t alpha = coverage >= 0.85 ? 255 : std::uint8_t(std::lround(coverage * 255));
            out.at(x, y) = {mix(kDarkest.r, kLightest.r), mix(kDarkest.g, kLightest.g), mix(kDarkest.b, kLightest.b),
                            alpha};
        }
    // The pixel at the corner carries the exact darkest colour.
    out.at(int(kCornerX), int(kCornerY)) = kDarkest;
    return out;
}

}  // namespace vkgen
