// Owners for the Cairo and Pango objects GDI+ creates while it draws.
#pragma once

#include <cairo.h>

#include <memory>

namespace vk::gdiplus {

struct SurfaceRelease {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct PatternRelease {
    void operator()(cairo_pattern_t* p) const { cairo_pattern_destroy(p); }
};
struct ContextRelease {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};

using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceRelease>;
using PatternPtr = std::unique_ptr<cairo_pattern_t, PatternRelease>;
using ContextPtr = std::unique_ptr<cairo_t, ContextRelease>;

} // namespace vk::gdiplus
