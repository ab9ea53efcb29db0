// Rounded rectangles, tab outlines and glows.
#include <velkaro/gfx/shapes.h>

#include <velkaro/gfx/colors.h>
#include <velkaro/gfx/graphics.h>
#include <velkaro/gfx/graphics_path.h>
#include <velkaro/gfx/pen.h>

#include <algorithm>

namespace velkaro::gfx {

namespace {
constexpr int kMinCorner = 1;
constexpr int kMaxCorner = 100;
constexpr float kQuarter = 90.0f;
}

void addRoundRect(GraphicsPath& path, float x, float y, float w, float h, int d)
{
    const float c = float(std::clamp(d, kMinCorner, kMaxCorner));
    path.addArc(x + w - c, y, c, c, 270.0f, kQuarter);
    // One pixel larger, so the bottom-right corner reaches the same edges a
    // GDI rectangle of this size covers.
    path.addArc(x + w - c - 1, y + h - c - 1, c + 1, c + 1, 0.0f, kQuarter);
    path.addArc(x, y + h - c, c, c, 90.0f, kQuarter);
    path.addArc(x, y, c, c, 180.0f, kQuarter);
    path.closeFigure();
}

void addTabOutline(GraphicsPath& path, int x, int y, int w, int h, int d)
{
    path.addLine(float(x), float(y + h), float(x), float(y + d));
    path.addArc(float(x), float(y), float(d), float(d), 180.0f, kQuarter);
    path.addLine(float(x + d), float(y), float(x + w - d), float(y));
    path.addArc(float(x + w - d), float(y), float(d), float(d), 270.0f, kQuarter);
    path.addLine(float(x + w), float(y + d), float(x + w), float(y + h));
}

void strokeGlow(Graphics& graphics, GraphicsPath& path, int count, COLORREF colour, int alpha)
{
    Pen pen;
    pen.create(toArgb(colour, alpha), 1.0f, Gdiplus::UnitWorld);
    for (int i = 1; i <= count; ++i) {
        pen.setWidth(float(i));
        graphics.drawPath(pen, path);
    }
    pen.release();
}

} // namespace velkaro::gfx
