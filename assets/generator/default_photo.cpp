// The default photograph: someone sitting on a chair by a bright window in a
// quiet room. Drawn three times larger with simple shapes and gradients,
// then blurred, given a little bloom, grain and vignette, and scaled down so
// it reads as a soft photograph rather than a drawing.
#include "artwork.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <cmath>

namespace vkgen {

namespace {

constexpr int kWidth = 147;
constexpr int kHeight = 227;
constexpr int kScale = 3;

void linear(cairo_t* cr, double x0, double y0, double x1, double y1,
            std::initializer_list<std::array<double, 5>> stops)
{
    cairo_pattern_t* p = cairo_pattern_create_linear(x0, y0, x1, y1);
    for (const auto& s : stops)
        cairo_pattern_add_color_stop_rgba(p, s[0], s[1], s[2], s[3], s[4]);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

void radial(cairo_t* cr, double cx, double cy, double r, std::initializer_list<std::array<double, 5>> stops)
{
    cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
    for (const auto& s : stops)
        cairo_pattern_add_color_stop_rgba(p, s[0], s[1], s[2], s[3], s[4]);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}

void paintRoom(cairo_t* cr)
{
    // Wall, lit from the window side.
    cairo_rectangle(cr, 0, 0, kWidth, 172);
    linear(cr, 0, 0, kWidth, 0, {{0, 0.55, 0.50, 0.45, 1}, {0.6, 0.36, 0.31, 0.28, 1}, {1, 0.22, 0.19, 0.18, 1}});
    cairo_fill(cr);
    // Floor boards.
    cairo_rectangle(cr, 0, 172, kWidth, kHeight - 172);
    linear(cr, 0, 172, 0, kHeight, {{0, 0.30, 0.22, 0.16, 1}, {1, 0.20, 0.14, 0.10, 1}});
    cairo_fill(cr);
    cairo_set_line_width(cr, 0.6);
    for (int i = 0; i < 6; ++i) {
        double y = 178 + i * i * 2.2 + i * 5;
        cairo_move_to(cr, 0, y);
        cairo_line_to(cr, kWidth, y);
    }
    cairo_set_source_rgba(cr, 0.08, 0.05, 0.03, 0.35);
    cairo_stroke(cr);
    // Skirting board.
    cairo_rectangle(cr, 0, 167, kWidth, 5);
    linear(cr, 0, 0, kWidth, 0, {{0, 0.70, 0.66, 0.60, 1}, {1, 0.30, 0.27, 0.25, 1}});
    cairo_fill(cr);
}

void paintWindow(cairo_t* cr)
{
    const double x = 10, y = 22, w = 62, h = 98;
    // Recess shadow and frame.
    cairo_rectangle(cr, x - 5, y - 5, w + 10, h + 12);
    cairo_set_source_rgb(cr, 0.78, 0.76, 0.72);
    cairo_fill(cr);
    // Glass: bright sky, a hazy line of trees, a pale lawn.
    cairo_rectangle(cr, x, y, w, h);
    linear(cr, 0, y, 0, y + h, {{0, 0.80, 0.90, 1.0, 1}, {0.62, 0.97, 0.98, 0.98, 1}, {1, 0.88, 0.92, 0.84, 1}});
    cairo_fill(cr);
    cairo_move_to(cr, x, y + h * 0.72);
    for (int i = 0; i <= 12; ++i) {
        double px = x + w * i / 12.0;
        double py = y + h * (0.66 + 0.05 * std::sin(i * 1.7) + 0.03 * std::cos(i * 3.1));
        cairo_line_to(cr, px, py);
    }
    cairo_line_to(cr, x + w, y + h * 0.82);
    cairo_line_to(cr, x, y + h * 0.82);
    cairo_close_path(cr);
    cairo_set_source_rgba(cr, 0.52, 0.62, 0.55, 0.55);
    cairo_fill(cr);
    // Mullions.
    cairo_set_source_rgb(cr, 0.86, 0.84, 0.80);
    cairo_rectangle(cr, x + w / 2 - 1.6, y, 3.2, h);
    cairo_rectangle(cr, x, y + h * 0.45 - 1.6, w, 3.2);
    cairo_fill(cr);
    // Sill, catching the light.
    cairo_rectangle(cr, x - 8, y + h + 4, w + 16, 5);
    linear(cr, 0, y + h + 4, 0, y + h + 9, {{0, 0.98, 0.96, 0.92, 1}, {1, 0.62, 0.58, 0.54, 1}});
    cairo_fill(cr);
    // Light falling into the room and onto the floor.
    cairo_move_to(cr, x, y + h);
    cairo_line_to(cr, x + w, y + h);
    cairo_line_to(cr, 140, 227);
    cairo_line_to(cr, 20, 227);
    cairo_close_path(cr);
    linear(cr, 0, y + h, 0, kHeight, {{0, 1.0, 0.97, 0.88, 0.05}, {0.5, 1.0, 0.95, 0.85, 0.10}, {1, 1.0, 0.95, 0.85, 0.20}});
    cairo_fill(cr);
    // Curtain at the left edge, in soft folds.
    cairo_move_to(cr, 0, 8);
    cairo_line_to(cr, 14, 8);
    cairo_curve_to(cr, 12, 60, 18, 120, 12, 170);
    cairo_line_to(cr, 0, 170);
    cairo_close_path(cr);
    cairo_pattern_t* folds = cairo_pattern_create_linear(0, 0, 16, 0);
    for (int i = 0; i <= 8; ++i) {
        double t = i / 8.0;
        double v = i % 2 ? 0.80 : 0.62;
        cairo_pattern_add_color_stop_rgba(folds, t, v, v * 0.93, v * 0.82, 0.92);
    }
    cairo_set_source(cr, folds);
    cairo_fill(cr);
    cairo_pattern_destroy(folds);
}

void paintChair(cairo_t* cr)
{
    const double wood[] = {0.26, 0.16, 0.10};
    cairo_set_source_rgb(cr, wood[0], wood[1], wood[2]);
    // Back posts and rail.
    cairo_rectangle(cr, 110, 96, 4, 100);
    cairo_rectangle(cr, 103, 100, 4, 48);
    cairo_rectangle(cr, 103, 100, 11, 4);
    cairo_rectangle(cr, 103, 116, 11, 3);
    cairo_fill(cr);
    // Front legs.
    cairo_rectangle(cr, 70, 148, 3.5, 46);
    cairo_rectangle(cr, 84, 148, 3, 42);
    cairo_fill(cr);
    // Seat, its front edge lit.
    cairo_move_to(cr, 66, 144);
    cairo_line_to(cr, 114, 144);
    cairo_line_to(cr, 114, 150);
    cairo_line_to(cr, 66, 150);
    cairo_close_path(cr);
    linear(cr, 66, 0, 114, 0, {{0, 0.55, 0.38, 0.25, 1}, {1, 0.22, 0.14, 0.09, 1}});
    cairo_fill(cr);
    // Its shadow on the floor.
    cairo_save(cr);
    cairo_translate(cr, 100, 197);
    cairo_scale(cr, 1, 0.22);
    radial(cr, 0, 0, 42, {{0, 0.05, 0.03, 0.02, 0.55}, {1, 0.05, 0.03, 0.02, 0}});
    cairo_arc(cr, 0, 0, 42, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_restore(cr);
}

void paintPerson(cairo_t* cr)
{
    // The body: lit on the side facing the window, falling into shadow.
    auto clothes = [cr](double x0, double x1) {
        linear(cr, x0, 0, x1, 0, {{0, 0.52, 0.58, 0.68, 1}, {0.35, 0.30, 0.35, 0.44, 1}, {1, 0.13, 0.14, 0.18, 1}});
    };
    // Lower legs and feet.
    cairo_move_to(cr, 70, 146);
    cairo_curve_to(cr, 66, 160, 62, 178, 60, 192);
    cairo_line_to(cr, 52, 196);
    cairo_curve_to(cr, 50, 199, 54, 200, 58, 200);
    cairo_line_to(cr, 70, 199);
    cairo_curve_to(cr, 72, 184, 76, 166, 82, 150);
    cairo_close_path(cr);
    linear(cr, 55, 0, 82, 0, {{0, 0.30, 0.27, 0.26, 1}, {1, 0.10, 0.09, 0.10, 1}});
    cairo_fill(cr);
    // Thighs, resting on the seat.
    cairo_move_to(cr, 104, 128);
    cairo_curve_to(cr, 90, 132, 74, 134, 66, 138);
    cairo_curve_to(cr, 62, 142, 64, 150, 70, 151);
    cairo_curve_to(cr, 82, 150, 96, 148, 108, 146);
    cairo_close_path(cr);
    linear(cr, 62, 0, 108, 0, {{0, 0.36, 0.34, 0.34, 1}, {1, 0.14, 0.13, 0.14, 1}});
    cairo_fill(cr);
    // Torso, leaning a little toward the window.
    cairo_move_to(cr, 90, 96);
    cairo_curve_to(cr, 80, 100, 78, 116, 82, 134);
    cairo_line_to(cr, 108, 138);
    cairo_curve_to(cr, 112, 120, 108, 102, 100, 96);
    cairo_close_path(cr);
    clothes(78, 110);
    cairo_fill(cr);
    // Arm, forearm resting on the knee.
    cairo_move_to(cr, 86, 100);
    cairo_curve_to(cr, 80, 110, 80, 122, 82, 130);
    cairo_curve_to(cr, 76, 134, 70, 136, 66, 137);
    cairo_curve_to(cr, 64, 140, 66, 142, 70, 142);
    cairo_curve_to(cr, 78, 141, 88, 137, 90, 130);
    cairo_curve_to(cr, 90, 120, 92, 108, 94, 100);
    cairo_close_path(cr);
    clothes(66, 96);
    cairo_fill(cr);
    // Hand.
    cairo_arc(cr, 66.5, 139, 3, 0, 2 * M_PI);
    linear(cr, 63, 0, 70, 0, {{0, 0.92, 0.76, 0.64, 1}, {1, 0.55, 0.40, 0.32, 1}});
    cairo_fill(cr);
    // Neck and head, in profile toward the window.
    cairo_rectangle(cr, 89, 86, 7, 12);
    linear(cr, 89, 0, 96, 0, {{0, 0.80, 0.62, 0.50, 1}, {1, 0.40, 0.28, 0.22, 1}});
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, 92, 78);
    cairo_scale(cr, 0.9, 1.0);
    cairo_arc(cr, 0, 0, 10.5, 0, 2 * M_PI);
    cairo_restore(cr);
    linear(cr, 82, 0, 101, 0, {{0, 0.95, 0.78, 0.66, 1}, {0.5, 0.72, 0.54, 0.44, 1}, {1, 0.38, 0.27, 0.22, 1}});
    cairo_fill(cr);
    // Hair, gathered at the back.
    cairo_move_to(cr, 84, 74);
    cairo_curve_to(cr, 84, 62, 100, 62, 102, 72);
    cairo_curve_to(cr, 104, 80, 102, 88, 97, 90);
    cairo_curve_to(cr, 97, 82, 95, 76, 90, 74);
    cairo_curve_to(cr, 88, 72, 86, 74, 84, 74);
    cairo_close_path(cr);
    linear(cr, 84, 0, 104, 0, {{0, 0.42, 0.28, 0.18, 1}, {1, 0.12, 0.08, 0.06, 1}});
    cairo_fill(cr);
    cairo_arc(cr, 103, 78, 4, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.14, 0.09, 0.07);
    cairo_fill(cr);
}

// Adds a blurred copy of the brightest parts back in: light spilling round
// the window frame the way a lens shows it.
void addBloom(FloatPicture& picture, double sigma, float threshold, float strength)
{
    FloatPicture bright = picture;
    for (size_t i = 0; i < bright.r.size(); ++i) {
        float l = 0.3f * bright.r[i] + 0.59f * bright.g[i] + 0.11f * bright.b[i];
        float k = l > threshold ? (l - threshold) / (1 - threshold) : 0.0f;
        bright.r[i] *= k;
        bright.g[i] *= k;
        bright.b[i] *= k;
    }
    gaussianBlur(bright, sigma);
    for (size_t i = 0; i < bright.r.size(); ++i) {
        picture.r[i] += bright.r[i] * strength;
        picture.g[i] += bright.g[i] * strength;
        picture.b[i] += bright.b[i] * strength;
    }
}

}  // namespace

Picture drawDefaultPhoto()
{
    Canvas canvas(kWidth * kScale, kHeight * kScale);
    cairo_t* cr = canvas.cr();
    cairo_scale(cr, kScale, kScale);
    paintRoom(cr);
    paintWindow(cr);
    paintChair(cr);
    paintPerson(cr);

    FloatPicture big = canvas.toFloat();
    gaussianBlur(big, 1.1 * kScale);
    addBloom(big, 6.0 * kScale, 0.72f, 0.55f);
    FloatPicture photo = downsample(big, kScale);

    // Vignette, a warm cast and a little grain.
    Random random(227147);
    const double cx = kWidth * 0.42, cy = kHeight * 0.45;
    const double reach = std::hypot(kWidth * 0.6, kHeight * 0.6);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            size_t i = photo.index(x, y);
            double d = std::hypot(x - cx, y - cy) / reach;
            float v = float(1.0 - 0.35 * d * d);
            float grain = float((random.unit() - 0.5) * 0.035);
            photo.r[i] = photo.r[i] * v * 1.03f + grain;
            photo.g[i] = photo.g[i] * v + grain;
            photo.b[i] = photo.b[i] * v * 0.95f + grain;
        }
    return toOpaquePicture(photo);
}

}  // namespace vkgen
