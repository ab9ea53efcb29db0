// The paint cycle: which windows repaint, in which order, and which pixels a
// parent may paint over depending on WS_CLIPCHILDREN and WS_CLIPSIBLINGS.
#include "fixture.h"

using namespace vktest;
using velkaro::testing::windowPixel;

TEST_F(UserTest, ChildPaintsOverAParentThatDoesNotClipChildren)
{
    int parentPaints = 0, childPaints = 0;
    HWND parent = make(WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr, painter(RGB(255, 0, 0), &parentPaints));
    HWND child = make(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, parent, painter(RGB(0, 0, 255), &childPaints));
    velkaro::testing::pumpUntilIdle();
    EXPECT_EQ(windowPixel(child, 5, 5), RGB(0, 0, 255));
    EXPECT_EQ(windowPixel(parent, 100, 5), RGB(255, 0, 0));

    // Invalidating the parent also invalidates the child it paints over.
    InvalidateRect(parent, nullptr, TRUE);
    velkaro::testing::pumpUntilIdle();
    EXPECT_EQ(parentPaints, 2);
    EXPECT_EQ(childPaints, 2);
    EXPECT_EQ(windowPixel(child, 5, 5), RGB(0, 0, 255));
}

TEST_F(UserTest, ParentWithClipChildrenLeavesItsChildrenAlone)
{
    int parentPaints = 0, childPaints = 0;
    HWND parent = make(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, 200, 100, nullptr,
                       painter(RGB(255, 0, 0), &parentPaints));
    HWND child = make(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, parent, painter(RGB(0, 0, 255), &childPaints));
    velkaro::testing::pumpUntilIdle();
    InvalidateRect(parent, nullptr, TRUE);
    velkaro::testing::pumpUntilIdle();
    EXPECT_EQ(parentPaints, 2);
    EXPECT_EQ(childPaints, 1);
    EXPECT_EQ(windowPixel(child, 5, 5), RGB(0, 0, 255));
}

TEST_F(UserTest, ParentPaintingWithoutItsChildrenPaintingOverwritesThem)
{
    // A GetDC drawing of a parent without WS_CLIPCHILDREN reaches the child's pixels.
    HWND parent = make(WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr, painter(RGB(255, 0, 0)));
    HWND child = make(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, parent, painter(RGB(0, 0, 255)));
    velkaro::testing::pumpUntilIdle();
    HDC dc = GetDC(parent);
    RECT all{0, 0, 200, 100};
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(dc, &all, green);
    DeleteObject(green);
    ReleaseDC(parent, dc);
    EXPECT_EQ(windowPixel(child, 5, 5), RGB(0, 255, 0));

    SetWindowLongA(parent, GWL_STYLE, GetWindowLongA(parent, GWL_STYLE) | WS_CLIPCHILDREN);
    dc = GetDC(parent);
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    FillRect(dc, &all, black);
    DeleteObject(black);
    ReleaseDC(parent, dc);
    EXPECT_EQ(windowPixel(child, 5, 5), RGB(0, 255, 0));
    EXPECT_EQ(windowPixel(parent, 100, 5), RGB(0, 0, 0));
}

TEST_F(UserTest, ClipSiblingsKeepsTheFrontSiblingVisible)
{
    HWND parent = make(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, 200, 100, nullptr, painter(RGB(255, 0, 0)));
    HWND front = make(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 10, 10, 50, 50, parent, painter(RGB(0, 0, 255)));
    HWND back = make(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 30, 30, 50, 50, parent, painter(RGB(0, 255, 0)));
    velkaro::testing::pumpUntilIdle();
    // The first child created is in front; where the two overlap it wins.
    EXPECT_EQ(windowPixel(front, 40, 40), RGB(0, 0, 255));
    EXPECT_EQ(windowPixel(back, 45, 45), RGB(0, 255, 0));
    InvalidateRect(back, nullptr, TRUE);
    velkaro::testing::pumpUntilIdle();
    EXPECT_EQ(windowPixel(front, 40, 40), RGB(0, 0, 255));
}

TEST_F(UserTest, UpdateRegionsAccumulateIntoOnePaint)
{
    int paints = 0;
    RECT painted{};
    HWND h = make(WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr,
                  [&](HWND hwnd, UINT msg, WPARAM, LPARAM, bool& handled) -> LRESULT {
                      if (msg == WM_PAINT) {
                          PAINTSTRUCT ps;
                          BeginPaint(hwnd, &ps);
                          painted = ps.rcPaint;
                          EndPaint(hwnd, &ps);
                          ++paints;
                          handled = true;
                      }
                      return 0;
                  });
    velkaro::testing::pumpUntilIdle();
    paints = 0;
    RECT a{10, 10, 20, 20}, b{50, 40, 60, 60};
    InvalidateRect(h, &a, FALSE);
    InvalidateRect(h, &b, FALSE);
    velkaro::testing::pumpUntilIdle();
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(painted.left, 10);
    EXPECT_EQ(painted.top, 10);
    EXPECT_EQ(painted.right, 60);
    EXPECT_EQ(painted.bottom, 60);
    ValidateRect(h, nullptr);
    velkaro::testing::pumpUntilIdle();
    EXPECT_EQ(paints, 1);
}

TEST_F(UserTest, BeginPaintOutsideWmPaintValidates)
{
    HWND h = make(WS_POPUP | WS_VISIBLE, 100, 100, 200, 100);
    velkaro::testing::pumpUntilIdle();
    InvalidateRect(h, nullptr, TRUE);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    EXPECT_NE(dc, nullptr);
    EXPECT_EQ(ps.rcPaint.right, 200);
    EndPaint(h, &ps);
    RECT r;
    EXPECT_FALSE(GetUpdateRect(h, &r, FALSE));
}

TEST_F(UserTest, RepeatedPaintingLeaksNoGdiObjects)
{
    HWND h = make(WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr, painter(RGB(10, 20, 30)));
    velkaro::testing::pumpUntilIdle();
    size_t before = velkaro::testing::liveGdiObjects();
    for (int i = 0; i < 1000; ++i) {
        InvalidateRect(h, nullptr, TRUE);
        velkaro::testing::pumpUntilIdle();
    }
    EXPECT_EQ(velkaro::testing::liveGdiObjects(), before);
}

TEST_F(UserTest, WindowRegionShapesWhatTheScreenShows)
{
    HWND h = make(WS_POPUP | WS_VISIBLE, 300, 300, 100, 100, nullptr, painter(RGB(255, 255, 0)));
    velkaro::testing::pumpUntilIdle();
    SetWindowRgn(h, CreateRoundRectRgn(0, 0, 101, 101, 40, 40), TRUE);
    velkaro::testing::pumpUntilIdle();
    EXPECT_EQ(velkaro::testing::screenPixel(350, 350), RGB(255, 255, 0));
    EXPECT_NE(velkaro::testing::screenPixel(300, 300), RGB(255, 255, 0));
    RECT box;
    EXPECT_EQ(GetWindowRgnBox(h, &box), COMPLEXREGION);
}
