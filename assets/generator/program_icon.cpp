// The program icon: a little coral picture frame holding a sunny landscape
// (the program frames pictures). The small size is drawn on its own pixel
// grid rather than scaled, so its edges stay sharp at 17 x 17.
#include "artwork.h"

#include <cmath>

namespace vkgen {

namespace {

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r)
{
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

struct Layout {
    double frame;      // frame band width
    double radius;     // outer corner radius
    double sunX, sunY, sunR;
};

}  // namespace

Picture drawProgramIcon(int size)
{
    const bool small = size < 24;
    const double s = size;
    const Layout l = small ? Layout{3, 3, 11.5, 6.0, 2.0} : Layout{5, 6, 21.5, 11.5, 3.6};

    Canvas canvas(size, size);
    cairo_t* cr = canvas.cr();

    // Frame: coral with a lighter top edge.
    roundedRect(cr, 0, 0, s, s, l.radius);
    cairo_pattern_t* frame = cairo_pattern_create_linear(0, 0, 0, s);
    cairo_pattern_add_color_stop_rgb(frame, 0, 1.0, 0.47, 0.52);
    cairo_pattern_add_color_stop_rgb(frame, 1, 0.86, 0.20, 0.33);
    cairo_set_source(cr, frame);
    cairo_fill(cr);
    cairo_pattern_destroy(frame);

    // Picture inside the frame: sky.
    const double in = l.frame;
    const double inner = s - 2 * in;
    cairo_rectangle(cr, in, in, inner, inner);
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, in, 0, in + inner);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.36, 0.67, 0.96);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.72, 0.88, 1.0);
    cairo_set_source(cr, sky);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(sky);
    cairo_save(cr);
    cairo_clip(cr);

    // Sun.
    if (!small) {
        cairo_pattern_t* glow = cairo_pattern_create_radial(l.sunX, l.sunY, 0, l.sunX, l.sunY, l.sunR * 2.2);
        cairo_pattern_add_color_stop_rgba(glow, 0, 1, 0.95, 0.6, 0.8);
        cairo_pattern_add_color_stop_rgba(glow, 1, 1, 0.95, 0.6, 0);
        cairo_set_source(cr, glow);
        cairo_paint(cr);
        cairo_pattern_destroy(glow);
    }
    cairo_arc(cr, l.sunX, l.sunY, l.sunR, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 1.0, 0.86, 0.2);
    cairo_fill(cr);

    // Two hills: a far blue-green one and a near green one.
    cairo_move_to(cr, in, in + inner * 0.70);
    cairo_curve_to(cr, in + inner * 0.35, in + inner * 0.45, in + inner * 0.6, in + inner * 0.55, in + inner,
                   in + inner * 0.62);
    cairo_line_to(cr, in + inner, in + inner);
    cairo_line_to(cr, in, in + inner);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, 0.32, 0.70, 0.52);
    cairo_fill(cr);
    cairo_move_to(cr, in, in + inner * 0.86);
    cairo_curve_to(cr, in + inner * 0.4, in + inner * 0.62, in + inner * 0.75, in + inner * 0.78, in + inner,
                   in + inner * 0.80);
    cairo_line_to(cr, in + inner, in + inner);
    cairo_line_to(cr, in, in + inner);
    cairo_close_path(cr);
    cairo_set_source_rgb(cr, 0.30, 0.62, 0.14);
    cairo_fill(cr);
    cairo_restore(cr);

    // A light line where the picture meets the frame, and a dark rim outside.
    if (!small) {
        cairo_rectangle(cr, in - 0.5, in - 0.5, inner + 1, inner + 1);
        cairo_set_line_width(cr, 1);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
        cairo_stroke(cr);
        roundedRect(cr, 0.5, 0.5, s - 1, s - 1, l.radius - 0.5);
        cairo_set_source_rgba(cr, 0.45, 0.06, 0.15, 0.7);
        cairo_stroke(cr);
    } else {
        roundedRect(cr, 0.5, 0.5, s - 1, s - 1, l.radius - 0.5);
        cairo_set_line_width(cr, 1);
        cairo_set_source_rgba(cr, 0.45, 0.06, 0.15, 0.6);
        cairo_stroke(cr);
    }
    return canvas.toPicture();
}

}  // namespace vkgen
