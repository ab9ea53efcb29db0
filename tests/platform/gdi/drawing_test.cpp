// Lines, rectangles, shapes, ROP2 and the user32 drawing functions.
#include "gdi_test_util.h"

namespace {

TEST(LineTo, OnePixelLinesCoverExactlyTheRowAndLeaveTheLastPixel)
{
    Canvas c(10, 10, 0xFFFFFF);
    MoveToEx(c.dc, 1, 4, nullptr);
    ASSERT_TRUE(LineTo(c.dc, 8, 4));
    EXPECT_EQ(c.count(0x000000, RECT{0, 4, 10, 5}), 7);
    EXPECT_EQ(c.rgb(1, 4), 0u);
    EXPECT_EQ(c.rgb(7, 4), 0u);
    EXPECT_EQ(c.rgb(8, 4), 0xFFFFFFu) << "the end point is left out";
    EXPECT_EQ(c.countNot(0xFFFFFF), 7) << "nothing above or below";
    POINT cp;
    GetCurrentPositionEx(c.dc, &cp);
    EXPECT_EQ(cp.x, 8);
    // Vertical, then a diagonal.
    Canvas v(10, 10, 0xFFFFFF);
    MoveToEx(v.dc, 3, 0, nullptr);
    LineTo(v.dc, 3, 5);
    EXPECT_EQ(v.count(0, RECT{3, 0, 4, 10}), 5);
    MoveToEx(v.dc, 0, 9, nullptr);
    LineTo(v.dc, 4, 5);
    EXPECT_EQ(v.rgb(0, 9), 0u);
    EXPECT_EQ(v.rgb(3, 6), 0u);
    EXPECT_EQ(v.rgb(4, 5), 0xFFFFFFu);
}

TEST(LineTo, DashedPenAndRop2)
{
    Canvas c(40, 3, 0xFFFFFF);
    HPEN dash = CreatePen(PS_DASH, 1, RGB(255, 0, 0));
    HGDIOBJ old = SelectObject(c.dc, dash);
    SetBkMode(c.dc, TRANSPARENT);
    MoveToEx(c.dc, 0, 1, nullptr);
    LineTo(c.dc, 40, 1);
    EXPECT_EQ(c.count(0xFF0000, RECT{0, 1, 18, 2}), 18);
    EXPECT_EQ(c.count(0xFFFFFF, RECT{18, 1, 24, 2}), 6);
    SelectObject(c.dc, old);
    DeleteObject(dash);

    struct {
        int rop;
        uint32_t expected; // white pen over 0x336699
    } cases[] = {{R2_COPYPEN, 0xFFFFFF}, {R2_XORPEN, 0xCC9966}, {R2_NOT, 0xCC9966}, {R2_NOTXORPEN, 0x336699},
                 {R2_BLACK, 0x000000}, {R2_WHITE, 0xFFFFFF}, {R2_NOP, 0x336699}};
    for (auto& k : cases) {
        SCOPED_TRACE(k.rop);
        Canvas d(4, 1, 0x336699);
        SelectObject(d.dc, GetStockObject(WHITE_PEN));
        SetROP2(d.dc, k.rop);
        MoveToEx(d.dc, 0, 0, nullptr);
        LineTo(d.dc, 4, 0);
        EXPECT_EQ(d.rgb(1, 0), k.expected);
        SelectObject(d.dc, GetStockObject(BLACK_PEN));
    }
}

TEST(Rectangle, PenInsideTheExclusiveEdges)
{
    Canvas c(12, 12, 0x00FF00);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    HGDIOBJ old = SelectObject(c.dc, blue);
    ASSERT_TRUE(Rectangle(c.dc, 2, 2, 10, 10));
    EXPECT_EQ(c.rgb(2, 2), 0x000000u);
    EXPECT_EQ(c.rgb(9, 9), 0x000000u);
    EXPECT_EQ(c.rgb(9, 5), 0x000000u);
    EXPECT_EQ(c.rgb(10, 5), 0x00FF00u);
    EXPECT_EQ(c.rgb(5, 5), 0x0000FFu);
    EXPECT_EQ(c.rgb(3, 3), 0x0000FFu);
    EXPECT_EQ(c.count(0x000000, RECT{0, 0, 12, 12}), 28);
    // With the null pen the rectangle is a pixel smaller each way.
    Canvas n(12, 12, 0x00FF00);
    SelectObject(n.dc, blue);
    SelectObject(n.dc, GetStockObject(NULL_PEN));
    Rectangle(n.dc, 2, 2, 10, 10);
    EXPECT_EQ(n.count(0x0000FF, RECT{0, 0, 12, 12}), 49);
    SelectObject(n.dc, GetStockObject(WHITE_BRUSH));
    SelectObject(c.dc, old);
    DeleteObject(blue);
}

TEST(FillRect, FrameRectAndInvertRectEdges)
{
    Canvas c(12, 12, 0xFFFFFF);
    RECT r{2, 3, 8, 9};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    ASSERT_TRUE(FillRect(c.dc, &r, red));
    EXPECT_EQ(c.count(0xFF0000, RECT{0, 0, 12, 12}), 36);
    EXPECT_EQ(c.rgb(8, 3), 0xFFFFFFu);
    EXPECT_EQ(c.rgb(2, 9), 0xFFFFFFu);
    ASSERT_TRUE(FrameRect(c.dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
    EXPECT_EQ(c.count(0x000000, RECT{0, 0, 12, 12}), 20);
    EXPECT_EQ(c.rgb(7, 8), 0u);
    EXPECT_EQ(c.rgb(3, 4), 0xFF0000u);
    ASSERT_TRUE(InvertRect(c.dc, &r));
    EXPECT_EQ(c.rgb(3, 4), 0x00FFFFu);
    // A system-colour index + 1 stands for its brush.
    RECT one{0, 0, 1, 1};
    FillRect(c.dc, &one, reinterpret_cast<HBRUSH>(uintptr_t(COLOR_BTNFACE + 1)));
    EXPECT_EQ(c.rgb(0, 0), 0xD4D0C8u);
    // DrawFocusRect twice leaves nothing.
    RECT f{1, 1, 11, 11};
    Canvas g(12, 12, 0x808080);
    DrawFocusRect(g.dc, &f);
    EXPECT_EQ(g.rgb(1, 1), 0x7F7F7Fu);
    EXPECT_EQ(g.rgb(2, 1), 0x808080u);
    DrawFocusRect(g.dc, &f);
    EXPECT_EQ(g.countNot(0x808080), 0);
    DeleteObject(red);
}

TEST(DrawEdge, ClassicColoursAndAdjust)
{
    Canvas c(10, 10, 0x00FF00);
    RECT r{0, 0, 10, 10};
    ASSERT_TRUE(DrawEdge(c.dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST | BF_MIDDLE));
    EXPECT_EQ(r.left, 2);
    EXPECT_EQ(r.bottom, 8);
    EXPECT_EQ(c.rgb(0, 0), 0xD4D0C8u) << "outer top-left: 3D light";
    EXPECT_EQ(c.rgb(9, 9), 0x404040u) << "outer bottom-right: dark shadow";
    EXPECT_EQ(c.rgb(9, 0), 0x404040u) << "the bottom-right colour owns the top-right corner";
    EXPECT_EQ(c.rgb(1, 1), 0xFFFFFFu) << "inner top-left: highlight";
    EXPECT_EQ(c.rgb(8, 8), 0x808080u) << "inner bottom-right: shadow";
    EXPECT_EQ(c.rgb(5, 5), 0xD4D0C8u) << "middle: button face";

    Canvas s(10, 10, 0x00FF00);
    RECT rs{0, 0, 10, 10};
    DrawEdge(s.dc, &rs, EDGE_SUNKEN, BF_RECT);
    EXPECT_EQ(s.rgb(0, 0), 0x808080u);
    EXPECT_EQ(s.rgb(1, 1), 0x404040u);
    EXPECT_EQ(s.rgb(9, 9), 0xFFFFFFu);
    EXPECT_EQ(s.rgb(8, 8), 0xD4D0C8u);
    EXPECT_EQ(s.rgb(5, 5), 0x00FF00u);
    addToContactSheet("edges", c, 4);
}

TEST(DrawFrameControl, ButtonsAndGlyphsDraw)
{
    Canvas c(120, 20, 0x00FF00);
    struct {
        UINT type, state;
    } kinds[] = {{DFC_BUTTON, DFCS_BUTTONPUSH}, {DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED},
                 {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED}, {DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED},
                 {DFC_CAPTION, DFCS_CAPTIONCLOSE}, {DFC_SCROLL, DFCS_SCROLLDOWN}};
    int x = 0;
    for (auto& k : kinds) {
        RECT r{x, 2, x + 16, 18};
        ASSERT_TRUE(DrawFrameControl(c.dc, &r, k.type, k.state));
        EXPECT_EQ(c.count(0x00FF00, RECT{x + 4, 6, x + 12, 14}), 0) << "the inside is painted";
        x += 20;
    }
    // The push button: classic raised look.
    EXPECT_EQ(c.rgb(0, 2), 0xFFFFFFu);
    EXPECT_EQ(c.rgb(15, 17), 0x404040u);
    addToContactSheet("frame controls", c, 3);
}

TEST(Shapes, EllipseRoundRectPolygonArcs)
{
    Canvas c(100, 30, 0xFFFFFF);
    HBRUSH b = CreateSolidBrush(RGB(255, 200, 0));
    SelectObject(c.dc, b);
    ASSERT_TRUE(Ellipse(c.dc, 0, 0, 20, 20));
    EXPECT_EQ(c.rgb(10, 10), 0xFFC800u);
    EXPECT_EQ(c.rgb(0, 0), 0xFFFFFFu);
    ASSERT_TRUE(RoundRect(c.dc, 22, 0, 42, 20, 8, 8));
    EXPECT_EQ(c.rgb(22, 0), 0xFFFFFFu);
    EXPECT_EQ(c.rgb(22, 10), 0x000000u);
    const POINT tri[] = {{50, 18}, {60, 2}, {70, 18}};
    ASSERT_TRUE(Polygon(c.dc, tri, 3));
    EXPECT_EQ(c.rgb(60, 12), 0xFFC800u);
    ASSERT_TRUE(Pie(c.dc, 72, 0, 92, 20, 92, 10, 82, 0));
    EXPECT_EQ(c.rgb(86, 6), 0xFFC800u) << "inside the upper-right quarter";
    EXPECT_EQ(c.rgb(78, 14), 0xFFFFFFu) << "outside the quarter";
    ASSERT_TRUE(Arc(c.dc, 0, 20, 10, 30, 10, 25, 0, 25));
    HPEN wide = CreatePen(PS_SOLID, 3, RGB(0, 0, 255));
    SelectObject(c.dc, wide);
    MoveToEx(c.dc, 20, 25, nullptr);
    LineTo(c.dc, 60, 25);
    EXPECT_EQ(c.rgb(40, 24), 0x0000FFu);
    EXPECT_EQ(c.rgb(40, 26), 0x0000FFu);
    SelectObject(c.dc, GetStockObject(BLACK_PEN));
    SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
    addToContactSheet("shapes", c, 3);
    DeleteObject(wide);
    DeleteObject(b);
}

TEST(Pixels, SetAndGetWithAlphaZero)
{
    Canvas c(4, 4, 0xFF123456);
    EXPECT_EQ(SetPixel(c.dc, 1, 1, RGB(1, 2, 3)), RGB(1, 2, 3));
    EXPECT_EQ(c.px(1, 1), 0x00010203u) << "GDI writes alpha 0";
    EXPECT_EQ(GetPixel(c.dc, 1, 1), RGB(1, 2, 3));
    EXPECT_EQ(GetPixel(c.dc, 5, 5), CLR_INVALID);
    EXPECT_EQ(SetPixel(c.dc, -1, 0, 0), CLR_INVALID);
    SetViewportOrgEx(c.dc, 1, 1, nullptr);
    SetPixelV(c.dc, 0, 0, RGB(255, 255, 255));
    EXPECT_EQ(c.rgb(1, 1), 0xFFFFFFu);
}

TEST(SysColors, ClassicSchemeAndBrushes)
{
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(212, 208, 200));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), RGB(64, 64, 64));
    HBRUSH b = GetSysColorBrush(COLOR_WINDOW);
    EXPECT_TRUE(DeleteObject(b));
    EXPECT_EQ(GetObjectType(b), DWORD(OBJ_BRUSH)) << "system brushes survive DeleteObject";
    INT which = COLOR_INFOBK;
    COLORREF was = GetSysColor(which), now = RGB(1, 2, 3);
    SetSysColors(1, &which, &now);
    LOGBRUSH lb;
    GetObjectA(GetSysColorBrush(COLOR_INFOBK), sizeof lb, &lb);
    EXPECT_EQ(lb.lbColor, now);
    SetSysColors(1, &which, &was);
}

} // namespace
