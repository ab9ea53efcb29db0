// Regions (shapes, combination, queries) and DC clipping with drawing.
#include "gdi_test_util.h"

namespace {

TEST(Region, RoundRectShapeAtKeyPixels)
{
    HRGN r = CreateRoundRectRgn(0, 0, 20, 20, 10, 10);
    struct {
        int x, y;
        BOOL in;
    } pts[] = {{0, 0, FALSE}, {10, 10, TRUE}, {0, 10, TRUE}, {19, 10, TRUE}, {20, 10, FALSE},
               {10, 19, TRUE}, {10, 20, FALSE}, {19, 19, FALSE}, {0, 1, FALSE}, {5, 0, TRUE}};
    for (auto& p : pts)
        EXPECT_EQ(PtInRegion(r, p.x, p.y), p.in) << p.x << "," << p.y;
    RECT box;
    EXPECT_EQ(GetRgnBox(r, &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right, 20);
    EXPECT_EQ(box.bottom, 20);
    DeleteObject(r);
}

TEST(Region, EllipseAndPolygon)
{
    HRGN e = CreateEllipticRgn(0, 0, 10, 10);
    EXPECT_TRUE(PtInRegion(e, 5, 5));
    EXPECT_FALSE(PtInRegion(e, 0, 0));
    EXPECT_FALSE(PtInRegion(e, 10, 5));
    const POINT tri[] = {{0, 0}, {10, 0}, {0, 10}};
    HRGN p = CreatePolygonRgn(tri, 3, ALTERNATE);
    EXPECT_TRUE(PtInRegion(p, 1, 1));
    EXPECT_FALSE(PtInRegion(p, 8, 8));
    // A pentagram: its centre is outside with ALTERNATE, inside with WINDING.
    const POINT star[] = {{10, 0}, {16, 20}, {0, 7}, {20, 7}, {4, 20}};
    HRGN alt = CreatePolygonRgn(star, 5, ALTERNATE);
    HRGN wind = CreatePolygonRgn(star, 5, WINDING);
    EXPECT_FALSE(PtInRegion(alt, 10, 11));
    EXPECT_TRUE(PtInRegion(wind, 10, 11));
    for (HRGN h : {e, p, alt, wind})
        DeleteObject(h);
}

TEST(Region, CombineModesAndResults)
{
    struct {
        int mode;
        int result;
        POINT in, out;
    } cases[] = {
        {RGN_AND, SIMPLEREGION, {6, 6}, {2, 2}},
        {RGN_OR, COMPLEXREGION, {2, 2}, {12, 2}},
        {RGN_XOR, COMPLEXREGION, {2, 2}, {6, 6}},
        {RGN_DIFF, COMPLEXREGION, {2, 2}, {6, 6}},
        {RGN_COPY, SIMPLEREGION, {2, 2}, {12, 12}},
    };
    HRGN a = CreateRectRgn(0, 0, 10, 10);
    HRGN b = CreateRectRgn(5, 5, 15, 15);
    HRGN d = CreateRectRgn(0, 0, 0, 0);
    for (auto& c : cases) {
        SCOPED_TRACE(c.mode);
        EXPECT_EQ(CombineRgn(d, a, b, c.mode), c.result);
        EXPECT_TRUE(PtInRegion(d, c.in.x, c.in.y));
        EXPECT_FALSE(PtInRegion(d, c.out.x, c.out.y));
    }
    HRGN far = CreateRectRgn(50, 50, 60, 60);
    EXPECT_EQ(CombineRgn(d, a, far, RGN_AND), NULLREGION);
    EXPECT_EQ(CombineRgn(d, a, reinterpret_cast<HRGN>(uintptr_t(0x12345)), RGN_OR), ERROR);
    EXPECT_EQ(OffsetRgn(a, 5, 5), SIMPLEREGION);
    HRGN same = CreateRectRgn(5, 5, 15, 15);
    EXPECT_TRUE(EqualRgn(a, same));
    RECT probe{14, 14, 20, 20};
    EXPECT_TRUE(RectInRegion(a, &probe));
    for (HRGN h : {a, b, d, far, same})
        DeleteObject(h);
}

TEST(Region, RegionDataRoundTrip)
{
    HRGN r = CreateRoundRectRgn(0, 0, 30, 20, 8, 8);
    DWORD size = GetRegionData(r, 0, nullptr);
    ASSERT_GT(size, sizeof(RGNDATAHEADER));
    std::vector<char> buf(size);
    auto* data = reinterpret_cast<RGNDATA*>(buf.data());
    EXPECT_EQ(GetRegionData(r, size - 1, data), 0u);
    ASSERT_EQ(GetRegionData(r, size, data), size);
    HRGN copy = ExtCreateRegion(nullptr, size, data);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(EqualRgn(r, copy));
    DeleteObject(r);
    DeleteObject(copy);
}

TEST(Region, FillFrameInvert)
{
    Canvas c(12, 12, 0xFFFFFF);
    HRGN r = CreateRectRgn(2, 2, 10, 10);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    ASSERT_TRUE(FrameRgn(c.dc, r, red, 1, 1));
    EXPECT_EQ(c.rgb(2, 2), 0xFF0000u);
    EXPECT_EQ(c.rgb(9, 5), 0xFF0000u);
    EXPECT_EQ(c.rgb(5, 5), 0xFFFFFFu);
    EXPECT_EQ(c.rgb(10, 5), 0xFFFFFFu);
    ASSERT_TRUE(InvertRgn(c.dc, r));
    EXPECT_EQ(c.rgb(5, 5), 0x000000u);
    EXPECT_EQ(c.rgb(2, 2), 0x00FFFFu);
    ASSERT_TRUE(FillRgn(c.dc, r, red));
    EXPECT_EQ(c.count(0xFF0000, RECT{0, 0, 12, 12}), 64);
    DeleteObject(red);
    DeleteObject(r);
}

TEST(Clipping, SelectIntersectExcludeLimitDrawing)
{
    Canvas c(20, 20, 0xFFFFFF);
    HRGN clip = CreateRectRgn(5, 5, 15, 15);
    EXPECT_EQ(SelectClipRgn(c.dc, clip), SIMPLEREGION);
    EXPECT_EQ(ExcludeClipRect(c.dc, 8, 8, 10, 10), COMPLEXREGION);
    RECT all{0, 0, 20, 20};
    FillRect(c.dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(c.rgb(4, 4), 0xFFFFFFu);
    EXPECT_EQ(c.rgb(5, 5), 0x000000u);
    EXPECT_EQ(c.rgb(8, 8), 0xFFFFFFu) << "excluded";
    EXPECT_EQ(c.rgb(14, 14), 0x000000u);
    EXPECT_EQ(c.rgb(15, 15), 0xFFFFFFu);
    RECT box;
    EXPECT_EQ(GetClipBox(c.dc, &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.right, 15);
    EXPECT_FALSE(PtVisible(c.dc, 9, 9));
    EXPECT_TRUE(PtVisible(c.dc, 6, 6));
    EXPECT_EQ(IntersectClipRect(c.dc, 0, 0, 7, 7), SIMPLEREGION);
    HRGN got = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(c.dc, got), 1);
    RECT gb;
    GetRgnBox(got, &gb);
    EXPECT_EQ(gb.right, 7);
    // The clip region is in device units: a viewport origin does not move it.
    SelectClipRgn(c.dc, nullptr);
    EXPECT_EQ(GetClipRgn(c.dc, got), 0);
    SetViewportOrgEx(c.dc, 3, 3, nullptr);
    SelectClipRgn(c.dc, clip);
    RECT tiny{0, 0, 1, 1};
    FillRect(c.dc, &tiny, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    EXPECT_EQ(c.rgb(3, 3), 0xFFFFFFu) << "outside the clip in device units";
    RECT inside{3, 3, 4, 4};
    FillRect(c.dc, &inside, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    EXPECT_EQ(c.rgb(6, 6), 0x808080u);
    addToContactSheet("clip", c, 2);
    DeleteObject(clip);
    DeleteObject(got);
}

TEST(Clipping, SelectObjectWithARegionSelectsTheClip)
{
    Canvas c(10, 10);
    HRGN r = CreateRectRgn(0, 0, 5, 5);
    EXPECT_EQ(reinterpret_cast<intptr_t>(SelectObject(c.dc, r)), SIMPLEREGION);
    EXPECT_TRUE(DeleteObject(r)) << "the DC keeps its own copy";
    EXPECT_FALSE(PtVisible(c.dc, 7, 7));
}

} // namespace
