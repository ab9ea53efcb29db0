// Stale and wrong handles fail with Win32's values; create/draw/delete
// cycles leave no GDI object behind; DC state, stock objects and caps.
#include "gdi_test_util.h"

#include <velkaro/resources.h>

namespace {

TEST(Handles, StaleAndForeignHandlesFailQuietly)
{
    HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_TRUE(DeleteObject(b));
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_TRUE(DeleteDC(dc));
    HDC bogus = reinterpret_cast<HDC>(uintptr_t(0xDEAD));
    RECT r{0, 0, 4, 4};
    EXPECT_FALSE(DeleteObject(b));
    EXPECT_EQ(GetObjectType(b), 0u);
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);
    EXPECT_EQ(SetBkColor(bogus, 0), CLR_INVALID);
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
    EXPECT_EQ(SetPixel(bogus, 0, 0, 0), CLR_INVALID);
    EXPECT_FALSE(BitBlt(dc, 0, 0, 1, 1, bogus, 0, 0, SRCCOPY));
    EXPECT_FALSE(LineTo(dc, 1, 1));
    EXPECT_EQ(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
    EXPECT_FALSE(TextOutA(dc, 0, 0, "x", 1));
    EXPECT_EQ(DrawTextA(dc, "x", 1, &r, 0), 0);
    EXPECT_EQ(GetClipBox(dc, &r), ERROR);
    EXPECT_EQ(GetObjectA(b, 0, nullptr), 0);
    EXPECT_EQ(CombineRgn(nullptr, nullptr, nullptr, RGN_OR), ERROR);
    EXPECT_FALSE(DestroyIcon(reinterpret_cast<HICON>(uintptr_t(0x30000005))));
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 0);
    // A brush handle where a region is expected, a region where a DC is.
    Canvas c(4, 4);
    HRGN rgn = CreateRectRgn(0, 0, 2, 2);
    EXPECT_FALSE(PtInRegion(reinterpret_cast<HRGN>(GetStockObject(BLACK_BRUSH)), 0, 0));
    EXPECT_FALSE(Rectangle(reinterpret_cast<HDC>(rgn), 0, 0, 2, 2));
    EXPECT_FALSE(FillRgn(c.dc, rgn, nullptr));
    DeleteObject(rgn);
    // Odd parameters.
    EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
    BITMAPINFO bad{};
    bad.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bad.bmiHeader.biWidth = 4;
    bad.bmiHeader.biHeight = 4;
    bad.bmiHeader.biBitCount = 7;
    EXPECT_EQ(CreateDIBSection(nullptr, &bad, DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(CreatePen(99, 1, 0), nullptr);
    EXPECT_EQ(CreateBitmap(-1, 4, 1, 32, nullptr), nullptr);
    EXPECT_FALSE(Polygon(c.dc, nullptr, 3));
    EXPECT_EQ(GetStockObject(99), nullptr);
}

TEST(Handles, StockObjectsAreNotDeletedAndDcBrushFollowsItsColour)
{
    HGDIOBJ stock = GetStockObject(WHITE_BRUSH);
    EXPECT_TRUE(DeleteObject(stock));
    EXPECT_EQ(GetObjectType(stock), DWORD(OBJ_BRUSH));
    Canvas c(4, 4, 0);
    SelectObject(c.dc, GetStockObject(DC_BRUSH));
    EXPECT_EQ(SetDCBrushColor(c.dc, RGB(9, 8, 7)), RGB(255, 255, 255));
    RECT r{0, 0, 4, 4};
    FillRect(c.dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    EXPECT_EQ(c.rgb(1, 1), 0x090807u);
    SelectObject(c.dc, GetStockObject(DC_PEN));
    SetDCPenColor(c.dc, RGB(1, 1, 1));
    MoveToEx(c.dc, 0, 0, nullptr);
    LineTo(c.dc, 4, 0);
    EXPECT_EQ(c.rgb(2, 0), 0x010101u);
    SelectObject(c.dc, GetStockObject(BLACK_PEN));
    SelectObject(c.dc, GetStockObject(WHITE_BRUSH));
}

TEST(Dc, StateSaveRestoreAndCaps)
{
    Canvas c(4, 4);
    EXPECT_EQ(SetBkMode(c.dc, TRANSPARENT), OPAQUE);
    EXPECT_EQ(GetBkMode(c.dc), TRANSPARENT);
    EXPECT_EQ(SetTextColor(c.dc, RGB(1, 2, 3)), RGB(0, 0, 0));
    int saved = SaveDC(c.dc);
    EXPECT_EQ(saved, 1);
    SetTextColor(c.dc, RGB(4, 5, 6));
    SetViewportOrgEx(c.dc, 7, 8, nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    SelectObject(c.dc, pen);
    EXPECT_FALSE(DeleteObject(pen)) << "selected into the DC";
    ASSERT_TRUE(RestoreDC(c.dc, -1));
    EXPECT_EQ(GetTextColor(c.dc), RGB(1, 2, 3));
    POINT org;
    GetViewportOrgEx(c.dc, &org);
    EXPECT_EQ(org.x, 0);
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_FALSE(RestoreDC(c.dc, -1));
    EXPECT_EQ(GetDeviceCaps(c.dc, LOGPIXELSY), 96);
    EXPECT_EQ(GetDeviceCaps(c.dc, BITSPIXEL), 32);
    EXPECT_EQ(GetDeviceCaps(c.dc, PLANES), 1);
    EXPECT_EQ(GetDeviceCaps(c.dc, HORZRES), 1024);
    HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(GetDeviceCaps(display, VERTRES), 768);
    HBITMAP compat = CreateCompatibleBitmap(display, 3, 3);
    EXPECT_NE(compat, nullptr);
    EXPECT_TRUE(Rectangle(display, 0, 0, 5, 5)) << "the screen DC draws nothing and succeeds";
    DeleteObject(compat);
    DeleteDC(display);
    EXPECT_EQ(GetObjectType(c.dc), DWORD(OBJ_MEMDC));
    SetWindowOrgEx(c.dc, 1, 1, nullptr);
    SetPixel(c.dc, 1, 1, RGB(255, 0, 0));
    EXPECT_EQ(c.rgb(0, 0), 0xFF0000u);
}

TEST(Leaks, ThousandCreateDrawDeleteCyclesLeaveNothing)
{
    size_t before = vk::gdi::liveGdiObjectCount();
    for (int i = 0; i < 1000; ++i) {
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bm = CreateCompatibleBitmap(dc, 16, 16);
        HGDIOBJ oldBm = SelectObject(dc, bm);
        HPEN pen = CreatePen(PS_DOT, 1, RGB(i & 255, 0, 0));
        HBRUSH br = CreateHatchBrush(HS_CROSS, RGB(0, 0, 255));
        HFONT font = CreateFontA(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "宋体");
        HRGN rgn = CreateEllipticRgn(0, 0, 16, 16);
        HGDIOBJ oldPen = SelectObject(dc, pen), oldBr = SelectObject(dc, br), oldFont = SelectObject(dc, font);
        SelectClipRgn(dc, rgn);
        Ellipse(dc, 0, 0, 16, 16);
        TextOutA(dc, 0, 0, "x", 1);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBr);
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBm);
        for (HGDIOBJ h : {HGDIOBJ(pen), HGDIOBJ(br), HGDIOBJ(font), HGDIOBJ(rgn), HGDIOBJ(bm)})
            ASSERT_TRUE(DeleteObject(h));
        ASSERT_TRUE(DeleteDC(dc));
    }
    EXPECT_EQ(vk::gdi::liveGdiObjectCount(), before);
}

} // namespace
