// Running one drawing on a Graphics: the target's pixels as a Cairo surface,
// the pixel-centre convention, world transform, clip and quality settings set
// up, and the touched pixels written back afterwards.
#pragma once

#include "gdiplus/objects.h"

#include <functional>

namespace vk::gdiplus {

// What a drawing touched, in device pixels.
struct TouchedBox {
    double x0 = 1e30, y0 = 1e30, x1 = -1e30, y1 = -1e30;
    bool everything = false;
    // Adds a rectangle given in the context's user space.
    void addUser(cairo_t* cr, double ux0, double uy0, double ux1, double uy1);
};

// The device offset that puts pixel centres where GDI+ has them.
double pixelCentreShift(const Graphics& g);

// The draw function paints on cr (already transformed and clipped) and
// records what it touched.
gp::Status paintOn(Graphics& g, const std::function<void(cairo_t*, TouchedBox&)>& draw);

// Sets the brush as the source of cr, aligning textures with pixel centres.
void setBrushSource(cairo_t* cr, const Graphics& g, const Brush& brush);

} // namespace vk::gdiplus
