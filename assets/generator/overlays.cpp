// Picture overlays, 159 x 246, laid over a photograph.
//
// Geometry (pixels, inclusive):
//   frame band     the outer 8 pixels: x 0-7 and 151-158, y 0-7 and 238-245,
//                  exactly the overlay's colour, opaque (overlays 1 to 5)
//   inner line     the 1-pixel ring just inside it: x 8 and 150, y 8 and 237,
//                  the frame colour lightened toward white
//   badge row      x 13-142, y 9-27: seven 16 x 19 shield badges, 3 apart
//                  (all overlays, also 0, which has nothing else)
//   gem strip      x 9-149, y 210-232: grey 44,44,44 at alpha 131, carrying
//                  seven 15 x 15 gems centred on it, 4 apart
//   everything else inside the inner line is fully transparent.
#include "artwork.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace vkgen {

namespace {

constexpr int kWidth = 159;
constexpr int kHeight = 246;
constexpr int kBand = 8;
constexpr int kBadgeLeft = 13, kBadgeTop = 9, kBadgeWidth = 16, kBadgeHeight = 19, kBadgeGap = 3, kBadgeCount = 7;
constexpr int kStripLeft = 9, kStripRight = 149, kStripTop = 210, kStripBottom = 232;
constexpr Rgba kStrip{44, 44, 44, 131};
constexpr int kGemSize = 15, kGemGap = 4, kGemCount = 7;

constexpr Rgba kFrameColours[] = {
    {0, 0, 0, 0},
    {39, 115, 194, 255},   // blue
    {255, 72, 98, 255},    // coral red
    {244, 11, 242, 255},   // magenta
    {11, 244, 198, 255},   // turquoise
    {237, 251, 0, 255},    // yellow
};

struct Colour {
    double r, g, b;
};

// Straight-alpha "over".
Rgba over(Rgba top, Rgba bottom)
{
    if (top.a == 255 || bottom.a == 0)
        return top.a == 0 ? bottom : top;
    if (top.a == 0)
        return bottom;
    double at = top.a / 255.0, ab = bottom.a / 255.0;
    double a = at + ab * (1 - at);
    auto mix = [&](std::uint8_t t, std::uint8_t b) {
        return std::uint8_t(std::lround((t * at + b * ab * (1 - at)) / a));
    };
    return {mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b), std::uint8_t(std::lround(a * 255))};
}

void shieldPath(cairo_t* cr, double x, double y, double w, double h)
{
    double shoulder = h * 0.55;
    cairo_move_to(cr, x + 2, y);
    cairo_line_to(cr, x + w - 2, y);
    cairo_curve_to(cr, x + w - 0.9, y, x + w, y + 0.9, x + w, y + 2);
    cairo_line_to(cr, x + w, y + shoulder);
    cairo_curve_to(cr, x + w, y + h * 0.8, x + w * 0.6, y + h * 0.92, x + w / 2, y + h);
    cairo_curve_to(cr, x + w * 0.4, y + h * 0.92, x, y + h * 0.8, x, y + shoulder);
    cairo_line_to(cr, x, y + 2);
    cairo_curve_to(cr, x, y + 0.9, x + 0.9, y, x + 2, y);
    cairo_close_path(cr);
}

void star(cairo_t* cr, double cx, double cy, double outer, double inner, int points)
{
    for (int i = 0; i < points * 2; ++i) {
        double r = i % 2 ? inner : outer;
        double a = -M_PI / 2 + i * M_PI / points;
        if (i == 0)
            cairo_move_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
        else
            cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    }
    cairo_close_path(cr);
}

// One white symbol per badge, centred on (cx, cy).
void badgeSymbol(cairo_t* cr, int which, double cx, double cy)
{
    cairo_set_source_rgb(cr, 1, 1, 1);
    switch (which) {
    case 0:  // star
        star(cr, cx, cy, 5.2, 2.2, 5);
        cairo_fill(cr);
        break;
    case 1:  // heart
        cairo_move_to(cr, cx, cy + 4.5);
        cairo_curve_to(cr, cx - 6, cy, cx - 4.5, cy - 5, cx, cy - 2.2);
        cairo_curve_to(cr, cx + 4.5, cy - 5, cx + 6, cy, cx, cy + 4.5);
        cairo_close_path(cr);
        cairo_fill(cr);
        break;
    case 2:  // snowflake
        cairo_set_line_width(cr, 1.2);
        for (int i = 0; i < 3; ++i) {
            double a = i * M_PI / 3 + M_PI / 2;
            cairo_move_to(cr, cx - 4.8 * std::cos(a), cy - 4.8 * std::sin(a));
            cairo_line_to(cr, cx + 4.8 * std::cos(a), cy + 4.8 * std::sin(a));
        }
        cairo_stroke(cr);
        break;
    case 3:  // sun
        cairo_arc(cr, cx, cy, 2.4, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_set_line_width(cr, 1.1);
        for (int i = 0; i < 8; ++i) {
            double a = i * M_PI / 4;
            cairo_move_to(cr, cx + 3.6 * std::cos(a), cy + 3.6 * std::sin(a));
            cairo_line_to(cr, cx + 5.2 * std::cos(a), cy + 5.2 * std::sin(a));
        }
        cairo_stroke(cr);
        break;
    case 4:  // music note
        cairo_arc(cr, cx - 1.6, cy + 3, 2.1, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_rectangle(cr, cx + 0.0, cy - 5, 1.3, 8.2);
        cairo_fill(cr);
        cairo_move_to(cr, cx + 1.3, cy - 5);
        cairo_curve_to(cr, cx + 3, cy - 4, cx + 4.5, cy - 2.5, cx + 3.5, cy - 0.5);
        cairo_curve_to(cr, cx + 3.6, cy - 2.3, cx + 2.6, cy - 3, cx + 1.3, cy - 3);
        cairo_close_path(cr);
        cairo_fill(cr);
        break;
    case 5:  // leaf
        cairo_move_to(cr, cx - 4, cy + 4);
        cairo_curve_to(cr, cx - 4.5, cy - 3, cx + 1, cy - 5, cx + 4.5, cy - 4.5);
        cairo_curve_to(cr, cx + 4.5, cy + 0.5, cx + 1, cy + 4.5, cx - 4, cy + 4);
        cairo_close_path(cr);
        cairo_fill(cr);
        break;
    default:  // crown
        cairo_move_to(cr, cx - 5, cy + 3.5);
        cairo_line_to(cr, cx - 5, cy - 3.5);
        cairo_line_to(cr, cx - 2.5, cy - 0.5);
        cairo_line_to(cr, cx, cy - 4.5);
        cairo_line_to(cr, cx + 2.5, cy - 0.5);
        cairo_line_to(cr, cx + 5, cy - 3.5);
        cairo_line_to(cr, cx + 5, cy + 3.5);
        cairo_close_path(cr);
        cairo_fill(cr);
        break;
    }
}

void drawBadges(cairo_t* cr)
{
    static const Colour fills[kBadgeCount][2] = {
        {{1.00, 0.78, 0.20}, {0.88, 0.52, 0.05}},  // gold
        {{1.00, 0.42, 0.52}, {0.82, 0.14, 0.30}},  // rose
        {{0.45, 0.80, 1.00}, {0.16, 0.50, 0.86}},  // ice blue
        {{1.00, 0.62, 0.22}, {0.90, 0.36, 0.04}},  // orange
        {{0.72, 0.50, 1.00}, {0.46, 0.24, 0.84}},  // violet
        {{0.50, 0.88, 0.36}, {0.20, 0.62, 0.14}},  // green
        {{0.30, 0.86, 0.84}, {0.06, 0.58, 0.62}},  // teal
    };
    cairo_save(cr);
    cairo_rectangle(cr, kBadgeLeft, kBadgeTop, kBadgeCount * kBadgeWidth + (kBadgeCount - 1) * kBadgeGap,
                    kBadgeHeight);
    cairo_clip(cr);
    for (int i = 0; i < kBadgeCount; ++i) {
        double x = kBadgeLeft + i * (kBadgeWidth + kBadgeGap);
        double y = kBadgeTop;
        shieldPath(cr, x, y, kBadgeWidth, kBadgeHeight);
        cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + kBadgeHeight);
        cairo_pattern_add_color_stop_rgb(p, 0, fills[i][0].r, fills[i][0].g, fills[i][0].b);
        cairo_pattern_add_color_stop_rgb(p, 1, fills[i][1].r, fills[i][1].g, fills[i][1].b);
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
        // A light rim inside the edge lifts the badge off any photograph.
        shieldPath(cr, x + 1, y + 1, kBadgeWidth - 2, kBadgeHeight - 2.2);
        cairo_set_line_width(cr, 1);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
        cairo_stroke(cr);
        badgeSymbol(cr, i, x + kBadgeWidth / 2.0, y + 8);
    }
    cairo_restore(cr);
}

void drawGem(cairo_t* cr, double x, double y, Colour light, Colour dark)
{
    const double s = kGemSize;
    const double table = y + s * 0.34;  // where the crown meets the pavilion
    // Pavilion (lower, pointed) and crown (upper, flat-topped).
    cairo_move_to(cr, x, table);
    cairo_line_to(cr, x + s, table);
    cairo_line_to(cr, x + s / 2, y + s);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, dark.r, dark.g, dark.b);
    cairo_fill(cr);
    cairo_move_to(cr, x + s * 0.27, y + 1);
    cairo_line_to(cr, x + s * 0.73, y + 1);
    cairo_line_to(cr, x + s, table);
    cairo_line_to(cr, x, table);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, light.r, light.g, light.b);
    cairo_fill(cr);
    // Facets: a lit one on the pavilion and a sparkle on the crown.
    cairo_move_to(cr, x + s * 0.3, table);
    cairo_line_to(cr, x + s * 0.62, table);
    cairo_line_to(cr, x + s / 2, y + s);
    cairo_close_path(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.28);
    cairo_fill(cr);
    cairo_move_to(cr, x + s * 0.32, y + 2);
    cairo_line_to(cr, x + s * 0.5, y + 2);
    cairo_line_to(cr, x + s * 0.4, table - 0.5);
    cairo_close_path(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.7);
    cairo_fill(cr);
}

void drawGems(cairo_t* cr)
{
    static const Colour gems[kGemCount][2] = {
        {{1.00, 0.35, 0.40}, {0.70, 0.05, 0.15}},  // ruby
        {{1.00, 0.80, 0.30}, {0.85, 0.50, 0.02}},  // amber
        {{0.40, 0.95, 0.50}, {0.05, 0.60, 0.25}},  // emerald
        {{0.55, 0.95, 1.00}, {0.10, 0.60, 0.85}},  // aquamarine
        {{0.45, 0.60, 1.00}, {0.12, 0.22, 0.80}},  // sapphire
        {{0.85, 0.55, 1.00}, {0.50, 0.15, 0.80}},  // amethyst
        {{1.00, 0.60, 0.85}, {0.85, 0.20, 0.55}},  // pink
    };
    const int rowWidth = kGemCount * kGemSize + (kGemCount - 1) * kGemGap;
    const int left = kStripLeft + (kStripRight - kStripLeft + 1 - rowWidth) / 2;
    const int top = kStripTop + (kStripBottom - kStripTop + 1 - kGemSize) / 2;
    for (int i = 0; i < kGemCount; ++i)
        drawGem(cr, left + i * (kGemSize + kGemGap), top, gems[i][0], gems[i][1]);
}

Rgba lighten(Rgba c, double t)
{
    auto mix = [t](std::uint8_t v) { return std::uint8_t(std::lround(v + (255 - v) * t)); };
    return {mix(c.r), mix(c.g), mix(c.b), 255};
}

}  // namespace

Picture drawOverlay(int index)
{
    if (index < 0 || index > 5)
        throw std::runtime_error("no such overlay");
    Picture base(kWidth, kHeight);
    if (index > 0) {
        const Rgba frame = kFrameColours[index];
        const Rgba line = lighten(frame, 0.6);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                bool band = x < kBand || y < kBand || x >= kWidth - kBand || y >= kHeight - kBand;
                bool ring = x == kBand || y == kBand || x == kWidth - 1 - kBand || y == kHeight - 1 - kBand;
                if (band)
                    base.at(x, y) = frame;
                else if (ring)
                    base.at(x, y) = line;
                else if (x >= kStripLeft && x <= kStripRight && y >= kStripTop && y <= kStripBottom)
                    base.at(x, y) = kStrip;
            }
    }
    Canvas canvas(kWidth, kHeight);
    drawBadges(canvas.cr());
    if (index > 0)
        drawGems(canvas.cr());
    Picture marks = canvas.toPicture();
    for (size_t i = 0; i < base.pixels.size(); ++i)
        base.pixels[i] = over(marks.pixels[i], base.pixels[i]);
    return base;
}

}  // namespace vkgen
