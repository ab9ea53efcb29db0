// The outlines the skin draws its frames, buttons and tabs with.
#ifndef VELKARO_GFX_SHAPES_H
#define VELKARO_GFX_SHAPES_H

#include <windows.h>
#include <gdiplus.h>

namespace velkaro::gfx {

class Graphics;
class GraphicsPath;

inline Gdiplus::RectF layoutRect(float x, float y, float w = 0, float h = 0)
{
    return Gdiplus::RectF(x, y, w, h);
}

// A closed rounded rectangle; d, the corner ellipse's diameter, is held to
// 1..100.
void addRoundRect(GraphicsPath& path, float x, float y, float w, float h, int d);
// A tab's outline: up the left side, round the top corners (diameter d) and
// down the right side, left open at the bottom so a stroke leaves the edge
// that joins the page undrawn.
void addTabOutline(GraphicsPath& path, int x, int y, int w, int h, int d);
// Strokes the path with pens of width 1 to count in one translucent colour,
// so the glow is densest on the path and fades outwards.
void strokeGlow(Graphics& graphics, GraphicsPath& path, int count, COLORREF colour, int alpha);

} // namespace velkaro::gfx

#endif
