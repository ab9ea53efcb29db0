// Shapes, pens, brushes and clipping drawn on small bitmaps, checked at the
// pixels that matter.
#include "gdiplus_fixture.h"

#include <cmath>

class Drawing : public GdiplusTest {};

TEST_F(Drawing, FillRectangleAtIntegersCoversExactlyItsPixels)
{
    GpGraphics* g = canvas(20, 20);
    GpSolidFill* red = nullptr;
    ASSERT_EQ(Ok, GdipCreateSolidFill(0xffff0000, &red));
    for (SmoothingMode mode : {SmoothingModeNone, SmoothingModeDefault, SmoothingModeHighSpeed}) {
        ASSERT_EQ(Ok, GdipGraphicsClear(g, 0xffffffff));
        ASSERT_EQ(Ok, GdipSetSmoothingMode(g, mode));
        ASSERT_EQ(Ok, GdipFillRectangleI(g, red, 5, 6, 4, 3));
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) {
                bool inside = x >= 5 && x < 9 && y >= 6 && y < 9;
                ASSERT_EQ(inside ? 0xffff0000u : 0xffffffffu, pixel(x, y)) << x << "," << y << " mode " << mode;
            }
    }
    GdipDeleteBrush(red);
}

TEST_F(Drawing, OnePixelPenOnIntegerRowCoversOneRow)
{
    GpGraphics* g = canvas(20, 10);
    GpPen* pen = nullptr;
    ASSERT_EQ(Ok, GdipCreatePen1(0xff000000, 1.0f, UnitPixel, &pen));
    ASSERT_EQ(Ok, GdipDrawLineI(g, pen, 2, 5, 17, 5));
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ(y == 5 ? 0xff000000u : 0xffffffffu, pixel(10, y)) << "row " << y;
    EXPECT_EQ(0xff000000u, pixel(2, 5));
    EXPECT_EQ(0xff000000u, pixel(16, 5));
    GdipDeletePen(pen);
}

TEST_F(Drawing, SmoothingModeDecidesAntiAliasedEdges)
{
    struct Case {
        SmoothingMode mode;
        bool smooth;
    } cases[] = {{SmoothingModeDefault, false}, {SmoothingModeNone, false}, {SmoothingModeHighSpeed, false},
                 {SmoothingModeAntiAlias, true}, {SmoothingModeHighQuality, true}};
    GpGraphics* g = canvas(40, 40);
    GpSolidFill* black = nullptr;
    ASSERT_EQ(Ok, GdipCreateSolidFill(0xff000000, &black));
    for (const Case& c : cases) {
        ASSERT_EQ(Ok, GdipGraphicsClear(g, 0xffffffff));
        ASSERT_EQ(Ok, GdipSetSmoothingMode(g, c.mode));
        ASSERT_EQ(Ok, GdipFillEllipse(g, black, 2, 2, 35, 35));
        int partial = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                int v = channel(pixel(x, y), 0);
                partial += v != 0 && v != 255;
            }
        EXPECT_EQ(c.smooth, partial > 0) << "mode " << c.mode << " grey pixels " << partial;
    }
    GdipDeleteBrush(black);
}

TEST_F(Drawing, HalfPixelOffsetShiftsAliasedFills)
{
    GpGraphics* g = canvas(10, 10);
    GpSolidFill* black = nullptr;
    ASSERT_EQ(Ok, GdipCreateSolidFill(0xff000000, &black));
    // Centres on integers: [2.5, 5.5) holds centres 3, 4, 5. Half: 2, 3, 4.
    ASSERT_EQ(Ok, GdipFillRectangle(g, black, 2.5f, 0, 3, 10));
    EXPECT_EQ(0xffffffffu, pixel(2, 0));
    EXPECT_EQ(0xff000000u, pixel(5, 0));
    ASSERT_EQ(Ok, GdipGraphicsClear(g, 0xffffffff));
    ASSERT_EQ(Ok, GdipSetPixelOffsetMode(g, PixelOffsetModeHalf));
    ASSERT_EQ(Ok, GdipFillRectangle(g, black, 2.5f, 0, 3, 10));
    EXPECT_EQ(0xff000000u, pixel(2, 0));
    EXPECT_EQ(0xffffffffu, pixel(5, 0));
    GdipDeleteBrush(black);
}

TEST_F(Drawing, LinearGradientEndsAndTilesPastTheEnd)
{
    GpGraphics* g = canvas(40, 4);
    GpLineGradient* grad = nullptr;
    PointF a(0, 0), b(20, 0);
    ASSERT_EQ(Ok, GdipCreateLineBrush(&a, &b, 0xffff0000, 0xff0000ff, WrapModeTile, &grad));
    ASSERT_EQ(Ok, GdipFillRectangleI(g, reinterpret_cast<GpBrush*>(grad), 0, 0, 40, 4));
    EXPECT_TRUE(near(pixel(0, 1), 0xffff0000, 12)) << std::hex << pixel(0, 1);
    EXPECT_TRUE(near(pixel(19, 1), 0xff0000ff, 16)) << std::hex << pixel(19, 1);
    // Past the end point the gradient starts again.
    EXPECT_TRUE(near(pixel(20, 1), 0xffff0000, 16)) << std::hex << pixel(20, 1);
    EXPECT_TRUE(near(pixel(10, 1), 0xff800080, 16)) << std::hex << pixel(10, 1);

    ASSERT_EQ(Ok, GdipSetLineWrapMode(grad, WrapModeTileFlipX));
    ASSERT_EQ(Ok, GdipFillRectangleI(g, reinterpret_cast<GpBrush*>(grad), 0, 0, 40, 4));
    EXPECT_TRUE(near(pixel(21, 1), 0xff0000ff, 20)) << std::hex << pixel(21, 1);
    EXPECT_EQ(InvalidParameter, GdipSetLineWrapMode(grad, WrapModeClamp));
    GdipDeleteBrush(reinterpret_cast<GpBrush*>(grad));
}

TEST_F(Drawing, PresetAndLinearBlends)
{
    GpGraphics* g = canvas(100, 2);
    GpLineGradient* grad = nullptr;
    RectF r(0, 0, 100, 2);
    ASSERT_EQ(Ok, GdipCreateLineBrushFromRect(&r, 0xff000000, 0xffffffff, LinearGradientModeHorizontal, WrapModeTile, &grad));
    ARGB colors[] = {0xffff0000, 0xff00ff00, 0xff0000ff};
    REAL positions[] = {0.0f, 0.5f, 1.0f};
    ASSERT_EQ(Ok, GdipSetLinePresetBlend(grad, colors, positions, 3));
    ASSERT_EQ(Ok, GdipFillRectangleI(g, reinterpret_cast<GpBrush*>(grad), 0, 0, 100, 2));
    EXPECT_TRUE(near(pixel(0, 0), 0xffff0000, 8)) << std::hex << pixel(0, 0);
    EXPECT_TRUE(near(pixel(50, 0), 0xff00ff00, 8)) << std::hex << pixel(50, 0);
    EXPECT_TRUE(near(pixel(99, 0), 0xff0000ff, 8)) << std::hex << pixel(99, 0);
    REAL badPositions[] = {0.2f, 0.5f, 1.0f};
    EXPECT_EQ(InvalidParameter, GdipSetLinePresetBlend(grad, colors, badPositions, 3));

    // Triangle: start colour at both ends, the end colour at the focus.
    ASSERT_EQ(Ok, GdipSetLineLinearBlend(grad, 0.5f, 1.0f));
    ASSERT_EQ(Ok, GdipFillRectangleI(g, reinterpret_cast<GpBrush*>(grad), 0, 0, 100, 2));
    EXPECT_LT(channel(pixel(0, 0), 0), 10);
    EXPECT_GT(channel(pixel(50, 0), 0), 245);
    EXPECT_LT(channel(pixel(99, 0), 0), 12);
    EXPECT_NEAR(channel(pixel(25, 0), 0), 128, 10);
    EXPECT_EQ(InvalidParameter, GdipSetLineLinearBlend(grad, 1.5f, 1.0f));
    GdipDeleteBrush(reinterpret_cast<GpBrush*>(grad));
}

TEST_F(Drawing, PathGradientFocusScalesKeepTheCentreSolid)
{
    GpGraphics* g = canvas(60, 60);
    GpPath* path = nullptr;
    ASSERT_EQ(Ok, GdipCreatePath(FillModeAlternate, &path));
    ASSERT_EQ(Ok, GdipAddPathRectangleI(path, 0, 0, 60, 60));
    GpPathGradient* grad = nullptr;
    ASSERT_EQ(Ok, GdipCreatePathGradientFromPath(path, &grad));
    ASSERT_EQ(Ok, GdipSetPathGradientCenterColor(grad, 0xffff0000));
    ARGB surround = 0xff0000ff;
    INT count = 1;
    ASSERT_EQ(Ok, GdipSetPathGradientSurroundColorsWithCount(grad, &surround, &count));
    EXPECT_EQ(1, count);
    ASSERT_EQ(Ok, GdipSetPathGradientFocusScales(grad, 0.5f, 0.5f));
    ASSERT_EQ(Ok, GdipFillRectangleI(g, reinterpret_cast<GpBrush*>(grad), 0, 0, 60, 60));
    // Inside the focus square (15..45) the centre colour is solid.
    for (int p : {18, 30, 42})
        EXPECT_TRUE(near(pixel(p, 30), 0xffff0000, 6)) << p << " " << std::hex << pixel(p, 30);
    // Towards the boundary the surround colour takes over.
    EXPECT_GT(channel(pixel(1, 30), 0), 200) << std::hex << pixel(1, 30);
    // Halfway between focus edge and boundary: a mix.
    ARGB mid = pixel(7, 30);
    EXPECT_GT(channel(mid, 16), 60);
    EXPECT_GT(channel(mid, 0), 60);
    INT tooMany = 99;
    ARGB many[99] = {};
    EXPECT_EQ(InvalidParameter, GdipSetPathGradientSurroundColorsWithCount(grad, many, &tooMany));
    GdipDeleteBrush(reinterpret_cast<GpBrush*>(grad));
    GdipDeletePath(path);
}

TEST_F(Drawing, TextureWrapModes)
{
    // A 2 x 2 texture: red green / blue white.
    GpBitmap* tex = nullptr;
    ASSERT_EQ(Ok, GdipCreateBitmapFromScan0(2, 2, 0, PixelFormat32bppARGB, nullptr, &tex));
    GdipBitmapSetPixel(tex, 0, 0, 0xffff0000);
    GdipBitmapSetPixel(tex, 1, 0, 0xff00ff00);
    GdipBitmapSetPixel(tex, 0, 1, 0xff0000ff);
    GdipBitmapSetPixel(tex, 1, 1, 0xffffffff);
    const ARGB R = 0xffff0000, G = 0xff00ff00, B = 0xff0000ff, W = 0xffffffff, K = 0xff000000;
    struct Case {
        WrapMode mode;
        ARGB at20, at30, at02, at03, at22, at44;
    } cases[] = {
        {WrapModeTile, R, G, B, W, R, R},
        {WrapModeTileFlipX, G, R, B, W, G, R},
        {WrapModeTileFlipY, R, G, B, W, B, R},
        {WrapModeTileFlipXY, G, R, B, W, W, R},
        {WrapModeClamp, K, K, B, W, K, K},
    };
    GpGraphics* g = canvas(6, 6, K);
    for (const Case& c : cases) {
        ASSERT_EQ(Ok, GdipGraphicsClear(g, K));
        GpTexture* brush = nullptr;
        ASSERT_EQ(Ok, GdipCreateTexture(tex, c.mode, &brush));
        ASSERT_EQ(Ok, GdipFillRectangleI(g, reinterpret_cast<GpBrush*>(brush), 0, 0, 6, 6));
        EXPECT_EQ(R, pixel(0, 0)) << "mode " << c.mode;
        EXPECT_EQ(W, pixel(1, 1)) << "mode " << c.mode;
        EXPECT_EQ(c.at20, pixel(2, 0)) << "mode " << c.mode;
        EXPECT_EQ(c.at30, pixel(3, 0)) << "mode " << c.mode;
        EXPECT_EQ(c.at02, pixel(0, 1)) << "mode " << c.mode;
        EXPECT_EQ(c.at03, pixel(1, 1)) << "mode " << c.mode;
        EXPECT_EQ(c.at22, pixel(2, 2)) << "mode " << c.mode;
        EXPECT_EQ(c.at44, pixel(4, 4)) << "mode " << c.mode;
        GdipDeleteBrush(reinterpret_cast<GpBrush*>(brush));
    }
    GdipDisposeImage(tex);
}

TEST_F(Drawing, ClipCombineModes)
{
    // Two overlapping rectangles: A = [0,6) x [0,10), B = [4,10) x [0,10).
    struct Case {
        CombineMode mode;
        bool x2, x5, x8;
    } cases[] = {
        {CombineModeReplace, false, true, true},  {CombineModeIntersect, false, true, false},
        {CombineModeUnion, true, true, true},     {CombineModeXor, true, false, true},
        {CombineModeExclude, true, false, false}, {CombineModeComplement, false, false, true},
    };
    GpGraphics* g = canvas(12, 10);
    GpSolidFill* black = nullptr;
    ASSERT_EQ(Ok, GdipCreateSolidFill(0xff000000, &black));
    for (const Case& c : cases) {
        ASSERT_EQ(Ok, GdipResetClip(g));
        ASSERT_EQ(Ok, GdipGraphicsClear(g, 0xffffffff));
        ASSERT_EQ(Ok, GdipSetClipRectI(g, 0, 0, 6, 10, CombineModeReplace));
        ASSERT_EQ(Ok, GdipSetClipRectI(g, 4, 0, 6, 10, c.mode));
        ASSERT_EQ(Ok, GdipFillRectangleI(g, black, 0, 0, 12, 10));
        EXPECT_EQ(c.x2, pixel(2, 5) == 0xff000000u) << "mode " << c.mode;
        EXPECT_EQ(c.x5, pixel(5, 5) == 0xff000000u) << "mode " << c.mode;
        EXPECT_EQ(c.x8, pixel(8, 5) == 0xff000000u) << "mode " << c.mode;
        EXPECT_EQ(0xffffffffu, pixel(11, 5)) << "mode " << c.mode;
    }
    ASSERT_EQ(Ok, GdipResetClip(g));
    RectF bounds;
    ASSERT_EQ(Ok, GdipGetClipBounds(g, &bounds));
    EXPECT_EQ(12, bounds.Width);
    EXPECT_EQ(10, bounds.Height);
    GdipDeleteBrush(black);
}

TEST_F(Drawing, ClearReplacesPixelsInsideTheClipOnly)
{
    GpGraphics* g = canvas(10, 10, 0xff00ff00);
    ASSERT_EQ(Ok, GdipSetClipRectI(g, 2, 2, 3, 3, CombineModeReplace));
    ASSERT_EQ(Ok, GdipGraphicsClear(g, 0x40ff0000));
    EXPECT_EQ(0x40ff0000u, pixel(3, 3));
    EXPECT_EQ(0xff00ff00u, pixel(1, 1));
    EXPECT_EQ(0xff00ff00u, pixel(5, 5));
}

TEST_F(Drawing, ArcsAreJoinedByStraightEdges)
{
    GpPath* path = nullptr;
    ASSERT_EQ(Ok, GdipCreatePath(FillModeAlternate, &path));
    ASSERT_EQ(Ok, GdipAddPathLine(path, 0, 0, 10, 0));
    // A quarter arc that starts away from (10, 0): a straight edge joins them.
    ASSERT_EQ(Ok, GdipAddPathArc(path, 20, 0, 20, 20, 180, 90));
    INT count = 0;
    ASSERT_EQ(Ok, GdipGetPointCount(path, &count));
    EXPECT_EQ(2 + 1 + 3, count);
    PointF pts[6];
    BYTE types[6];
    ASSERT_EQ(Ok, GdipGetPathPoints(path, pts, 6));
    ASSERT_EQ(Ok, GdipGetPathTypes(path, types, 6));
    EXPECT_EQ(PathPointTypeLine, types[2]);
    EXPECT_NEAR(20.0, pts[2].X, 1e-4);
    EXPECT_NEAR(10.0, pts[2].Y, 1e-4);
    EXPECT_NEAR(30.0, pts[5].X, 1e-4);
    EXPECT_NEAR(0.0, pts[5].Y, 1e-4);

    GpGraphics* g = canvas(45, 25);
    GpPen* pen = nullptr;
    ASSERT_EQ(Ok, GdipCreatePen1(0xff000000, 1, UnitPixel, &pen));
    ASSERT_EQ(Ok, GdipDrawPath(g, pen, path));
    // The joining edge from (10,0) to (20,10) passes (15,5).
    EXPECT_EQ(0xff000000u, pixel(15, 5));
    GdipDeletePen(pen);
    GdipDeletePath(path);

    // Ellipses are four curves: 13 points.
    ASSERT_EQ(Ok, GdipCreatePath(FillModeAlternate, &path));
    ASSERT_EQ(Ok, GdipAddPathEllipse(path, 0, 0, 10, 10));
    ASSERT_EQ(Ok, GdipGetPointCount(path, &count));
    EXPECT_EQ(13, count);
    GdipDeletePath(path);
}

TEST_F(Drawing, FillModesAndOpenFigures)
{
    GpGraphics* g = canvas(30, 30);
    GpSolidFill* black = nullptr;
    ASSERT_EQ(Ok, GdipCreateSolidFill(0xff000000, &black));
    GpPath* path = nullptr;
    ASSERT_EQ(Ok, GdipCreatePath(FillModeAlternate, &path));
    ASSERT_EQ(Ok, GdipAddPathRectangleI(path, 0, 0, 30, 30));
    ASSERT_EQ(Ok, GdipAddPathRectangleI(path, 10, 10, 10, 10));
    ASSERT_EQ(Ok, GdipFillPath(g, black, path));
    EXPECT_EQ(0xffffffffu, pixel(15, 15)); // alternate leaves the inner square open
    ASSERT_EQ(Ok, GdipSetPathFillMode(path, FillModeWinding));
    ASSERT_EQ(Ok, GdipFillPath(g, black, path));
    EXPECT_EQ(0xff000000u, pixel(15, 15));
    GdipDeletePath(path);

    // An open triangle is filled as if closed.
    ASSERT_EQ(Ok, GdipGraphicsClear(g, 0xffffffff));
    ASSERT_EQ(Ok, GdipCreatePath(FillModeAlternate, &path));
    PointF tri[] = {{0, 0}, {29, 0}, {0, 29}};
    ASSERT_EQ(Ok, GdipAddPathLine2(path, tri, 3));
    ASSERT_EQ(Ok, GdipFillPath(g, black, path));
    EXPECT_EQ(0xff000000u, pixel(5, 5));
    EXPECT_EQ(0xffffffffu, pixel(25, 25));
    GdipDeletePath(path);
    GdipDeleteBrush(black);
}

TEST_F(Drawing, ImagesDrawPixelExactAndScale)
{
    GpBitmap* src = nullptr;
    ASSERT_EQ(Ok, GdipCreateBitmapFromScan0(4, 4, 0, PixelFormat32bppARGB, nullptr, &src));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            GdipBitmapSetPixel(src, x, y, ((x + y) % 2) ? 0xff000000 : 0xffff0000);
    GpGraphics* g = canvas(20, 20);
    ASSERT_EQ(Ok, GdipDrawImageI(g, src, 3, 5));
    EXPECT_EQ(0xffffffffu, pixel(2, 5));
    EXPECT_EQ(0xffff0000u, pixel(3, 5));
    EXPECT_EQ(0xff000000u, pixel(4, 5));
    EXPECT_EQ(0xffff0000u, pixel(6, 8));
    EXPECT_EQ(0xffffffffu, pixel(7, 8));
    // Nearest-neighbour doubling keeps 2 x 2 blocks.
    ASSERT_EQ(Ok, GdipSetInterpolationMode(g, InterpolationModeNearestNeighbor));
    ASSERT_EQ(Ok, GdipDrawImageRectRectI(g, src, 10, 10, 8, 8, 0, 0, 4, 4, UnitPixel, nullptr, nullptr, nullptr));
    EXPECT_EQ(0xffff0000u, pixel(10, 10));
    EXPECT_EQ(0xffff0000u, pixel(11, 11));
    EXPECT_EQ(0xff000000u, pixel(12, 10));
    GdipDisposeImage(src);
}
