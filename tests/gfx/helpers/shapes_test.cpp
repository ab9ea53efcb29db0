// Rounded rectangles, tab outlines and glows, checked by their path points
// and by the pixels they stroke and fill.
#include "../gdip/gfx_fixture.h"

#include <velkaro/gfx/bitmap.h>
#include <velkaro/gfx/brushes.h>
#include <velkaro/gfx/graphics.h>
#include <velkaro/gfx/graphics_path.h>
#include <velkaro/gfx/pen.h>
#include <velkaro/gfx/shapes.h>

#include <vector>

using namespace Gdiplus;

namespace {

constexpr ARGB kWhite = 0xffffffff;
constexpr ARGB kBlack = 0xff000000;

std::vector<PointF> pointsOf(const gfx::GraphicsPath& path)
{
    INT count = 0;
    DllExports::GdipGetPointCount(path.native(), &count);
    std::vector<PointF> points(size_t(count > 0 ? count : 0));
    if (count > 0)
        DllExports::GdipGetPathPoints(path.native(), points.data(), count);
    return points;
}

std::vector<BYTE> typesOf(const gfx::GraphicsPath& path)
{
    INT count = 0;
    DllExports::GdipGetPointCount(path.native(), &count);
    std::vector<BYTE> types(size_t(count > 0 ? count : 0));
    if (count > 0)
        DllExports::GdipGetPathTypes(path.native(), types.data(), count);
    return types;
}

// A white canvas with a Graphics on it, without anti-aliasing so pixels are
// either drawn or not.
struct Canvas {
    gfx::Bitmap bitmap;
    gfx::Graphics graphics;
    Canvas(int w, int h)
    {
        bitmap.create(w, h);
        graphics.fromImage(bitmap);
        graphics.setSmoothingMode(SmoothingModeNone);
        graphics.clear(kWhite);
    }
    // Drawn anywhere in the 3 x 3 pixels around (x, y).
    bool inkNear(int x, int y)
    {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (bitmap.getPixel(x + dx, y + dy) != kWhite)
                    return true;
        return false;
    }
    int darkness(int x, int y) { return 255 - int(bitmap.getPixel(x, y) & 0xff); }
};

} // namespace

TEST_F(GfxTest, RoundRectHoldsItsCornerTo1Through100)
{
    struct Case {
        int d;
        float used;
    };
    const float x = 10, y = 20, w = 220, h = 160;
    for (Case c : {Case{-5, 1}, Case{0, 1}, Case{1, 1}, Case{40, 40}, Case{100, 100}, Case{150, 100}}) {
        SCOPED_TRACE(c.d);
        gfx::GraphicsPath path;
        ASSERT_TRUE(path.create());
        gfx::addRoundRect(path, x, y, w, h, c.d);
        std::vector<PointF> points = pointsOf(path);
        ASSERT_FALSE(points.empty());
        // Starts at the top of the top-right corner, ends at the top of the
        // top-left one, closed.
        EXPECT_NEAR(x + w - c.used / 2, points.front().X, 0.01);
        EXPECT_NEAR(y, points.front().Y, 0.01);
        EXPECT_NEAR(x + c.used / 2, points.back().X, 0.01);
        EXPECT_NEAR(y, points.back().Y, 0.01);
        EXPECT_TRUE(typesOf(path).back() & PathPointTypeCloseSubpath);

        RectF bounds;
        ASSERT_EQ(Ok, DllExports::GdipGetPathWorldBounds(path.native(), &bounds, nullptr, nullptr));
        EXPECT_NEAR(x, bounds.X, 0.01);
        EXPECT_NEAR(y, bounds.Y, 0.01);
        EXPECT_NEAR(w, bounds.Width, 0.01);
        EXPECT_NEAR(h, bounds.Height, 0.01);
    }
}

TEST_F(GfxTest, RoundRectFillCutsItsCorners)
{
    Canvas canvas(120, 120);
    gfx::SolidBrush brush;
    ASSERT_TRUE(brush.create(kBlack));
    gfx::GraphicsPath path;
    ASSERT_TRUE(path.create());
    gfx::addRoundRect(path, 10, 10, 100, 100, 40);
    ASSERT_TRUE(canvas.graphics.fillPath(brush, path));
    EXPECT_EQ(kWhite, canvas.bitmap.getPixel(12, 12));
    EXPECT_EQ(kWhite, canvas.bitmap.getPixel(107, 107));
    EXPECT_EQ(kBlack, canvas.bitmap.getPixel(60, 60));
    EXPECT_EQ(kBlack, canvas.bitmap.getPixel(60, 11));
    EXPECT_EQ(kBlack, canvas.bitmap.getPixel(11, 60));
}

TEST_F(GfxTest, TabOutlineLeavesTheBottomOpen)
{
    const int x = 5, y = 5, w = 40, h = 24, d = 8;
    gfx::GraphicsPath path;
    ASSERT_TRUE(path.create());
    gfx::addTabOutline(path, x, y, w, h, d);
    std::vector<PointF> points = pointsOf(path);
    ASSERT_FALSE(points.empty());
    EXPECT_NEAR(float(x), points.front().X, 0.01);
    EXPECT_NEAR(float(y + h), points.front().Y, 0.01);
    EXPECT_NEAR(float(x + w), points.back().X, 0.01);
    EXPECT_NEAR(float(y + h), points.back().Y, 0.01);
    EXPECT_FALSE(typesOf(path).back() & PathPointTypeCloseSubpath);

    Canvas stroked(60, 40);
    gfx::Pen pen;
    ASSERT_TRUE(pen.create(kBlack));
    ASSERT_TRUE(stroked.graphics.drawPath(pen, path));
    EXPECT_TRUE(stroked.inkNear(x, y + h / 2)) << "left side";
    EXPECT_TRUE(stroked.inkNear(x + w, y + h / 2)) << "right side";
    EXPECT_TRUE(stroked.inkNear(x + w / 2, y)) << "top";
    EXPECT_FALSE(stroked.inkNear(x + w / 2, y + h)) << "bottom stays undrawn";
    EXPECT_EQ(kWhite, stroked.bitmap.getPixel(x, y)) << "the corner is rounded";

    Canvas filled(60, 40);
    gfx::SolidBrush brush;
    ASSERT_TRUE(brush.create(kBlack));
    ASSERT_TRUE(filled.graphics.fillPath(brush, path));
    EXPECT_EQ(kBlack, filled.bitmap.getPixel(x + w / 2, y + h - 1)) << "a fill closes the figure";
    EXPECT_EQ(kBlack, filled.bitmap.getPixel(x + w / 2, y + h / 2));
    saveForLooking(stroked.bitmap, outputPath("gfx_tab_outline.png"));
}

TEST_F(GfxTest, GlowIsDensestOnThePath)
{
    Canvas canvas(60, 40);
    gfx::GraphicsPath path;
    ASSERT_TRUE(path.create());
    ASSERT_TRUE(path.addLine(5, 20, 55, 20));
    const size_t live = velkaro::testing::liveGdiplusObjects();
    gfx::strokeGlow(canvas.graphics, path, 6, RGB(0, 0, 0), 50);
    EXPECT_EQ(live, velkaro::testing::liveGdiplusObjects()) << "the glow's pen is released";

    // Darkness by distance from the line, sampled mid-way along it.
    int darkest = 0;
    int darkestRow = -1;
    for (int row = 0; row < 40; ++row)
        if (canvas.darkness(30, row) > darkest) {
            darkest = canvas.darkness(30, row);
            darkestRow = row;
        }
    EXPECT_NEAR(20, darkestRow, 1);
    for (int step = 1; step <= 4; ++step) {
        EXPECT_LE(canvas.darkness(30, darkestRow - step), canvas.darkness(30, darkestRow - step + 1)) << step;
        EXPECT_LE(canvas.darkness(30, darkestRow + step), canvas.darkness(30, darkestRow + step - 1)) << step;
    }
    EXPECT_GT(darkest, canvas.darkness(30, darkestRow + 2));
    EXPECT_EQ(0, canvas.darkness(30, darkestRow + 5));
    EXPECT_EQ(0, canvas.darkness(30, darkestRow - 5));
}
