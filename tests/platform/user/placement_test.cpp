// The modal move and size loops, maximize, minimize and restore.
#include "fixture.h"

using namespace vktest;
using velkaro::testing::MessageSpy;

namespace {

RECT rectOf(HWND h)
{
    RECT r;
    GetWindowRect(h, &r);
    return r;
}

} // namespace

TEST_F(UserTest, DraggingTheCaptionRunsTheMoveLoop)
{
    HWND h = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    velkaro::testing::pumpUntilIdle();
    MessageSpy spy(h);
    velkaro::testing::mouseMove(200, 110);
    velkaro::testing::mouseDown();
    velkaro::testing::mouseMove(250, 160);
    velkaro::testing::mouseMove(260, 170);
    velkaro::testing::mouseUp();
    velkaro::testing::pumpUntilIdle();
    RECT r = rectOf(h);
    EXPECT_EQ(r.left, 160);
    EXPECT_EQ(r.top, 160);
    EXPECT_EQ(r.right - r.left, 300);
    auto ids = spy.ids({WM_ENTERSIZEMOVE, WM_MOVING, WM_EXITSIZEMOVE});
    std::vector<UINT> expected = {WM_ENTERSIZEMOVE, WM_MOVING, WM_MOVING, WM_EXITSIZEMOVE};
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(UserTest, EscapePutsAMovedWindowBack)
{
    HWND h = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    velkaro::testing::pumpUntilIdle();
    velkaro::testing::mouseMove(200, 110);
    velkaro::testing::mouseDown();
    velkaro::testing::mouseMove(300, 300);
    velkaro::testing::pressKey(VK_ESCAPE);
    velkaro::testing::mouseUp();
    velkaro::testing::pumpUntilIdle();
    RECT r = rectOf(h);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 100);
}

TEST_F(UserTest, SizingFromACornerStopsAtTheMaximumTrackSize)
{
    HWND h = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                  [](HWND, UINT msg, WPARAM, LPARAM lp, bool& handled) -> LRESULT {
                      if (msg == WM_GETMINMAXINFO) {
                          auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
                          mmi->ptMaxTrackSize = POINT{350, 250};
                          handled = true;
                      }
                      return 0;
                  });
    velkaro::testing::pumpUntilIdle();
    MessageSpy spy(h);
    velkaro::testing::mouseMove(398, 298);
    velkaro::testing::mouseDown();
    velkaro::testing::mouseMove(420, 310);
    velkaro::testing::mouseMove(600, 500);
    velkaro::testing::mouseUp();
    velkaro::testing::pumpUntilIdle();
    RECT r = rectOf(h);
    EXPECT_EQ(r.right - r.left, 350);
    EXPECT_EQ(r.bottom - r.top, 250);
    EXPECT_EQ(r.left, 100);
    EXPECT_GE(spy.count(WM_SIZING), 2u);
    for (const auto& m : spy.messages())
        if (m.message == WM_SIZING)
            EXPECT_EQ(m.wParam, WPARAM(WMSZ_BOTTOMRIGHT));
}

TEST_F(UserTest, MaximizeTakesMaxSizeLimitedByMaxTrackSize)
{
    HWND h = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                  [](HWND, UINT msg, WPARAM, LPARAM lp, bool& handled) -> LRESULT {
                      if (msg == WM_GETMINMAXINFO) {
                          auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
                          mmi->ptMaxTrackSize = POINT{500, 400};
                          handled = true;
                      }
                      return 0;
                  });
    velkaro::testing::pumpUntilIdle();
    MessageSpy spy(h);
    ShowWindow(h, SW_MAXIMIZE);
    RECT r = rectOf(h);
    EXPECT_TRUE(IsZoomed(h));
    EXPECT_EQ(r.right - r.left, 500);
    EXPECT_EQ(r.bottom - r.top, 400);
    bool sawMaximized = false;
    for (const auto& m : spy.messages())
        if (m.message == WM_SIZE && m.wParam == SIZE_MAXIMIZED)
            sawMaximized = true;
    EXPECT_TRUE(sawMaximized);
    ShowWindow(h, SW_RESTORE);
    r = rectOf(h);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.right - r.left, 300);
}

TEST_F(UserTest, APopupWithoutCaptionMaximizesToTheWholeScreen)
{
    RECT work{0, 0, 1024, 728};
    velkaro::testing::setWorkArea(work);
    HWND popup = make(WS_POPUP | WS_VISIBLE, 10, 10, 200, 100);
    HWND framed = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100);
    ShowWindow(popup, SW_MAXIMIZE);
    ShowWindow(framed, SW_MAXIMIZE);
    RECT p = rectOf(popup), f = rectOf(framed);
    EXPECT_EQ(p.right - p.left, 1024);
    EXPECT_EQ(p.bottom - p.top, 768);
    EXPECT_EQ(f.top, -4);
    EXPECT_EQ(f.bottom - f.top, 728 + 8);
    velkaro::testing::setWorkArea(RECT{0, 0, 1024, 768});
}

TEST_F(UserTest, RestoringAMinimizedWindowAsksQueryOpenFirst)
{
    BOOL allow = FALSE;
    HWND h = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                  [&](HWND, UINT msg, WPARAM, LPARAM, bool& handled) -> LRESULT {
                      if (msg == WM_QUERYOPEN) {
                          handled = true;
                          return allow;
                      }
                      return 0;
                  });
    velkaro::testing::pumpUntilIdle();
    MessageSpy spy(h);
    ShowWindow(h, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(h));
    bool sawMinimized = false;
    for (const auto& m : spy.messages())
        if (m.message == WM_SIZE && m.wParam == SIZE_MINIMIZED)
            sawMinimized = true;
    EXPECT_TRUE(sawMinimized);
    ShowWindow(h, SW_RESTORE);
    EXPECT_TRUE(IsIconic(h));
    EXPECT_EQ(spy.count(WM_QUERYOPEN), 1u);
    allow = TRUE;
    ShowWindow(h, SW_RESTORE);
    EXPECT_FALSE(IsIconic(h));
    RECT r = rectOf(h);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.bottom - r.top, 200);
}

TEST_F(UserTest, ActivatingAMinimizedWindowCarriesTheMinimizedFlag)
{
    HWND h = make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200);
    make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 100, 300, 200);
    velkaro::testing::pumpUntilIdle();
    MessageSpy spy(h);
    ShowWindow(h, SW_SHOWMINIMIZED);
    bool minimizedFlag = false;
    for (const auto& m : spy.messages())
        if (m.message == WM_ACTIVATE && LOWORD(m.wParam) != WA_INACTIVE)
            minimizedFlag = HIWORD(m.wParam) != 0;
    EXPECT_TRUE(minimizedFlag);
}
