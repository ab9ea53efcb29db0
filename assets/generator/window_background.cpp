// The window background: a blue winter sky with a sun glare in the top-left
// corner, snowflakes, a white wave sweeping across and snow below.
//
// Windows show the picture from its top-left corner at 1:1, and the engine
// fades the right and bottom 307 pixels into the picture's average colour,
// so everything worth seeing sits in the top-left 718 x 718, the busiest part
// in the top-left 260 x 400 (the smallest windows).
#include "artwork.h"

#include <algorithm>
#include <cmath>

namespace vkgen {

namespace {

constexpr int kSize = 1024;
constexpr double kSunX = 78, kSunY = 64;

struct Colour {
    double r, g, b;
};

Colour mix(Colour a, Colour b, double t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double smoothstep(double e0, double e1, double x)
{
    double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// Centre line of the wave at column x, and of its thinner echoes.
double waveCentre(double x, double phase)
{
    return 318 + 0.16 * x + 62 * std::sin(x / 210.0 + 2.6 + phase) + 14 * std::sin(x / 73.0 + phase * 3);
}

double snowLine(double x)
{
    return 690 + 0.05 * x + 26 * std::sin(x / 190.0 + 0.8) + 10 * std::sin(x / 61.0 + 2.0);
}

Colour skyAt(double x, double y)
{
    const Colour top{0.07, 0.27, 0.62};
    const Colour middle{0.27, 0.56, 0.88};
    const Colour low{0.66, 0.82, 0.96};
    double t = (y + 0.12 * x) / 760.0;
    Colour c = t < 0.55 ? mix(top, middle, smoothstep(0, 0.55, t)) : mix(middle, low, smoothstep(0.55, 1.0, t));
    return c;
}

void paintBase(FloatPicture& out)
{
    const Colour white{1, 1, 1};
    const Colour warm{1.0, 0.97, 0.88};
    const Colour snow{0.95, 0.97, 0.99};
    const Colour snowShade{0.80, 0.87, 0.95};
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            Colour c = skyAt(x, y);

            // Haze gathering toward the snow.
            double line = snowLine(x);
            c = mix(c, Colour{0.80, 0.89, 0.97}, 0.7 * smoothstep(line - 260, line, y));

            // The wave: a bright ribbon with a crisp crest and fading echoes.
            double d = y - waveCentre(x, 0);
            double ribbon = std::exp(-(d * d) / (2 * 17.0 * 17.0)) * 0.78;
            double crest = std::exp(-((d + 16) * (d + 16)) / (2 * 2.2 * 2.2)) * 0.55;
            double glow = d > 0 ? std::exp(-d / 120.0) * 0.22 : std::exp(d / 28.0) * 0.22;
            double echoes = 0;
            const double offsets[] = {42, 66, 86};
            const double widths[] = {4.5, 3.0, 2.2};
            const double strengths[] = {0.45, 0.32, 0.22};
            for (int k = 0; k < 3; ++k) {
                double e = y - waveCentre(x, 0.12 * (k + 1)) - offsets[k];
                echoes += std::exp(-(e * e) / (2 * widths[k] * widths[k])) * strengths[k];
            }
            c = mix(c, white, std::min(1.0, ribbon + crest + glow + echoes));

            // Snow below its line, with soft drifts.
            double s = smoothstep(line - 6, line + 22, y);
            double drift = 0.5 + 0.5 * std::sin(x / 47.0 + y / 23.0 + std::sin(x / 131.0) * 2);
            double depth = smoothstep(line, line + 180, y);
            Colour ground = mix(mix(snowShade, snow, 0.55 + 0.45 * depth), snow, drift * 0.5);
            c = mix(c, ground, s);

            // Sun glare: core, warm halo, rays.
            double dx = x - kSunX, dy = y - kSunY;
            double r = std::sqrt(dx * dx + dy * dy);
            double angle = std::atan2(dy, dx);
            double core = std::exp(-(r * r) / (2 * 20.0 * 20.0));
            double halo = std::exp(-r / 150.0) * 0.55;
            double rays = std::pow(std::max(0.0, std::cos(6 * angle + 0.4)), 24) * 0.30 +
                          std::pow(std::max(0.0, std::cos(11 * angle + 1.3)), 40) * 0.18;
            rays *= std::exp(-r / 240.0) * smoothstep(8, 40, r);
            c = mix(c, warm, std::min(1.0, halo + rays));
            c = mix(c, white, core);

            size_t i = out.index(x, y);
            out.r[i] = float(c.r);
            out.g[i] = float(c.g);
            out.b[i] = float(c.b);
        }
}

// Faint rings of light along the line from the sun into the picture.
void paintFlares(cairo_t* cr)
{
    struct Flare {
        double along, radius, alpha;
        Colour tint;
    };
    const Flare flares[] = {
        {0.22, 16, 0.16, {1.0, 0.95, 0.7}},
        {0.34, 34, 0.09, {0.7, 0.9, 1.0}},
        {0.50, 10, 0.14, {1.0, 0.85, 0.9}},
        {0.62, 52, 0.06, {0.8, 0.8, 1.0}},
    };
    const double tx = 520, ty = 560;
    for (const Flare& f : flares) {
        double cx = kSunX + (tx - kSunX) * f.along, cy = kSunY + (ty - kSunY) * f.along;
        cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, f.radius);
        cairo_pattern_add_color_stop_rgba(p, 0, f.tint.r, f.tint.g, f.tint.b, f.alpha * 0.4);
        cairo_pattern_add_color_stop_rgba(p, 0.8, f.tint.r, f.tint.g, f.tint.b, f.alpha);
        cairo_pattern_add_color_stop_rgba(p, 1, f.tint.r, f.tint.g, f.tint.b, 0);
        cairo_set_source(cr, p);
        cairo_arc(cr, cx, cy, f.radius, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    }
}

void crystal(cairo_t* cr, double cx, double cy, double radius, double turn, double alpha)
{
    // A faint glow behind the crystal.
    cairo_pattern_t* glow = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius * 1.4);
    cairo_pattern_add_color_stop_rgba(glow, 0, 1, 1, 1, alpha * 0.30);
    cairo_pattern_add_color_stop_rgba(glow, 1, 1, 1, 1, 0);
    cairo_set_source(cr, glow);
    cairo_arc(cr, cx, cy, radius * 1.4, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);

    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, turn);
    cairo_set_source_rgba(cr, 1, 1, 1, alpha);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, std::max(1.0, radius / 11.0));
    for (int arm = 0; arm < 6; ++arm) {
        cairo_save(cr);
        cairo_rotate(cr, arm * M_PI / 3);
        cairo_move_to(cr, 0, 0);
        cairo_line_to(cr, radius, 0);
        const double at[] = {0.38, 0.62, 0.82};
        const double len[] = {0.30, 0.24, 0.13};
        for (int b = 0; b < 3; ++b) {
            double bx = radius * at[b], bl = radius * len[b];
            cairo_move_to(cr, bx, 0);
            cairo_line_to(cr, bx + bl * 0.6, -bl * 0.8);
            cairo_move_to(cr, bx, 0);
            cairo_line_to(cr, bx + bl * 0.6, bl * 0.8);
        }
        cairo_restore(cr);
    }
    cairo_stroke(cr);
    // The hexagonal heart.
    for (int k = 0; k < 6; ++k) {
        double a = k * M_PI / 3 + M_PI / 6;
        double hr = radius * 0.16;
        if (k == 0)
            cairo_move_to(cr, hr * std::cos(a), hr * std::sin(a));
        else
            cairo_line_to(cr, hr * std::cos(a), hr * std::sin(a));
    }
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_restore(cr);
}

void softDot(cairo_t* cr, double cx, double cy, double radius, double alpha)
{
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, alpha);
    cairo_pattern_add_color_stop_rgba(p, 0.5, 1, 1, 1, alpha * 0.7);
    cairo_pattern_add_color_stop_rgba(p, 1, 1, 1, 1, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void paintSnowfall(cairo_t* cr)
{
    Random random(20241211);
    // Out-of-focus flakes close to the lens.
    for (int i = 0; i < 26; ++i) {
        double x = random.range(0, 760), y = random.range(0, 620);
        softDot(cr, x, y, random.range(9, 26), random.range(0.06, 0.16));
    }
    // Falling snow: many small soft dots, denser toward the top-left.
    for (int i = 0; i < 1300; ++i) {
        double x = random.unit(), y = random.unit();
        x = std::pow(x, 1.35) * kSize;
        y = std::pow(y, 1.25) * kSize * 0.78;
        double radius = random.range(0.9, 2.6);
        if (random.unit() < 0.08)
            radius = random.range(2.6, 4.2);
        softDot(cr, x, y, radius, random.range(0.45, 0.95));
    }
    // Crystals placed by hand where the small windows show them.
    struct Placed {
        double x, y, radius, turn, alpha;
    };
    const Placed placed[] = {
        {196, 44, 15, 0.20, 0.85}, {148, 106, 7, 0.5, 0.8},  {40, 186, 11, 0.1, 0.8},
        {176, 214, 20, 0.35, 0.8}, {92, 300, 9, 0.15, 0.85}, {204, 362, 12, 0.45, 0.8},
        {34, 388, 7, 0.3, 0.75},   {338, 92, 13, 0.05, 0.8}, {452, 190, 22, 0.25, 0.7},
        {300, 250, 8, 0.4, 0.8},   {604, 70, 16, 0.1, 0.75}, {560, 300, 10, 0.3, 0.7},
        {392, 430, 15, 0.2, 0.7},  {660, 210, 9, 0.45, 0.7}, {120, 520, 14, 0.15, 0.65},
        {520, 520, 11, 0.35, 0.6}, {260, 600, 9, 0.5, 0.6},  {680, 440, 18, 0.2, 0.6},
        {820, 120, 14, 0.3, 0.6},  {900, 330, 10, 0.1, 0.55},
    };
    for (const Placed& p : placed)
        crystal(cr, p.x, p.y, p.radius, p.turn, p.alpha);
}

}  // namespace

Picture drawWindowBackground()
{
    FloatPicture base(kSize, kSize);
    paintBase(base);
    Canvas canvas(kSize, kSize);
    canvas.fromFloat(base);
    paintFlares(canvas.cr());
    paintSnowfall(canvas.cr());
    FloatPicture finished = canvas.toFloat();
    return toOpaquePicture(finished);
}

}  // namespace vkgen
