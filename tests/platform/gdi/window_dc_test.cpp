// Window DCs on real windows of the headless screen: origin, visible region,
// a target that follows the window when it moves, the paint clip, the screen
// DC and a window that dies.
#include "gdi_test_util.h"

#include <velkaro/testing.h>

namespace {

LRESULT CALLBACK quietProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_ERASEBKGND)
        return 1;
    if (msg == WM_PAINT) {
        ValidateRect(hwnd, nullptr);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

class WindowDcTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        velkaro::testing::startHeadless(1024, 768);
        static bool registered = false;
        if (!registered) {
            WNDCLASSA wc{};
            wc.lpfnWndProc = quietProc;
            wc.lpszClassName = "GdiQuiet";
            RegisterClassA(&wc);
            registered = true;
        }
        top = CreateWindowExA(0, "GdiQuiet", "", WS_POPUP | WS_VISIBLE, 100, 100, 64, 64, nullptr, nullptr, nullptr,
                              nullptr);
        child = CreateWindowExA(0, "GdiQuiet", "", WS_CHILD | WS_VISIBLE, 10, 20, 30, 30, top, nullptr, nullptr,
                                nullptr);
        velkaro::testing::pumpUntilIdle();
        HDC dc = GetDC(top);
        RECT all{0, 0, 64, 64};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(top, dc);
    }
    void TearDown() override
    {
        DestroyWindow(top);
        velkaro::testing::pumpUntilIdle();
    }
    COLORREF at(int x, int y) { return velkaro::testing::windowPixel(top, x, y); }

    HWND top = nullptr;
    HWND child = nullptr;
};

TEST_F(WindowDcTest, DrawsAtTheOriginWithinTheWindowAndFollowsItsMoves)
{
    HDC dc = GetDC(child);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(WindowFromDC(dc), child);
    EXPECT_EQ(GetObjectType(dc), DWORD(OBJ_DC));
    RECT w{-10, -10, 100, 100};
    FillRect(dc, &w, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(at(10, 20), RGB(255, 255, 255));
    EXPECT_EQ(at(39, 49), RGB(255, 255, 255));
    EXPECT_EQ(at(9, 20), RGB(0, 0, 0)) << "outside the child";
    EXPECT_EQ(at(40, 49), RGB(0, 0, 0));

    MoveWindow(child, 0, 0, 30, 30, FALSE);
    SetPixel(dc, 0, 0, RGB(255, 0, 0));
    EXPECT_EQ(at(0, 0), RGB(255, 0, 0)) << "the DC follows the window's new place";

    DestroyWindow(child);
    EXPECT_TRUE(SetPixel(dc, 1, 1, RGB(0, 255, 0)) != CLR_INVALID);
    EXPECT_NE(at(1, 1), RGB(0, 255, 0)) << "a dead window's DC draws nothing";
    EXPECT_EQ(ReleaseDC(child, dc), 1);
    EXPECT_EQ(ReleaseDC(child, dc), 0);
}

TEST_F(WindowDcTest, PaintClipAndScreenDc)
{
    RECT part{0, 0, 5, 5};
    InvalidateRect(child, &part, FALSE);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(child, &ps);
    RECT r{0, 0, 20, 20};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EndPaint(child, &ps);
    EXPECT_EQ(at(14, 24), RGB(255, 255, 255));
    EXPECT_EQ(at(15, 25), RGB(0, 0, 0)) << "painting is clipped to the update region";

    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(Rectangle(screen, 0, 0, 10, 10));
    EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 1024);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bm = CreateCompatibleBitmap(screen, 4, 4);
    EXPECT_NE(mem, nullptr);
    EXPECT_NE(bm, nullptr);
    EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(bm)));
    DeleteObject(bm);
    DeleteDC(mem);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

} // namespace
