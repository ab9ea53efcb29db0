// Progress bar and track bar: ranges, positions, geometry against pixels, mouse and keys.
#include "comctl_fixture.h"

using namespace vktest;
using velkaro::testing::windowPixel;

namespace {

class ProgressTest : public ComctlTest {};

TEST_F(ProgressTest, RangesAndPositions)
{
    HWND pb = control(PROGRESS_CLASSA, PBS_SMOOTH, 10, 10, 202, 20);
    ASSERT_TRUE(pb);
    PBRANGE r{};
    EXPECT_EQ(SendMessageA(pb, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&r)), 0);
    EXPECT_EQ(r.iLow, 0);
    EXPECT_EQ(r.iHigh, 100);
    EXPECT_EQ(SendMessageA(pb, PBM_GETRANGE, FALSE, 0), 100);
    EXPECT_EQ(SendMessageA(pb, PBM_SETRANGE32, 50, 150), MAKELONG(0, 100));
    EXPECT_EQ(SendMessageA(pb, PBM_GETPOS, 0, 0), 50); // clamped into the new range
    EXPECT_EQ(SendMessageA(pb, PBM_SETPOS, 500, 0), 50);
    EXPECT_EQ(SendMessageA(pb, PBM_GETPOS, 0, 0), 150);
    EXPECT_EQ(SendMessageA(pb, PBM_DELTAPOS, static_cast<WPARAM>(-30), 0), 150);
    EXPECT_EQ(SendMessageA(pb, PBM_GETPOS, 0, 0), 120);
    EXPECT_EQ(SendMessageA(pb, PBM_SETSTEP, 20, 0), 10);
    EXPECT_EQ(SendMessageA(pb, PBM_STEPIT, 0, 0), 120);
    EXPECT_EQ(SendMessageA(pb, PBM_GETPOS, 0, 0), 140);
    SendMessageA(pb, PBM_STEPIT, 0, 0); // past the top wraps
    EXPECT_LT(SendMessageA(pb, PBM_GETPOS, 0, 0), 150);
}

// Fill at the bottom, the top and half way, with a non-zero low limit and an empty range.
TEST_F(ProgressTest, FilledPart)
{
    struct Case {
        int lo, hi, pos;
        int filledPercent;
    } cases[] = {{0, 100, 0, 0}, {0, 100, 100, 100}, {50, 150, 100, 50}, {-10, 10, 0, 50}, {7, 7, 7, 0}};
    HWND pb = control(PROGRESS_CLASSA, PBS_SMOOTH, 10, 10, 202, 20);
    SendMessageA(pb, PBM_SETBARCOLOR, 0, RGB(255, 0, 0));
    SendMessageA(pb, PBM_SETBKCOLOR, 0, RGB(0, 0, 255));
    for (const Case& c : cases) {
        SendMessageA(pb, PBM_SETRANGE32, static_cast<WPARAM>(c.lo), c.hi);
        SendMessageA(pb, PBM_SETPOS, static_cast<WPARAM>(c.pos), 0);
        UpdateWindow(pb);
        pumpUntilIdle();
        // Inside the 1-pixel edge: 200 pixels of bar.
        int redUpTo = 0;
        for (int x = 1; x <= 200; ++x)
            if (windowPixel(pb, x, 10) == RGB(255, 0, 0))
                redUpTo = x;
        EXPECT_NEAR(redUpTo, c.filledPercent * 2, 1) << c.lo << ".." << c.hi << " at " << c.pos;
    }
}

TEST_F(ProgressTest, VerticalFillsFromTheBottom)
{
    HWND pb = control(PROGRESS_CLASSA, PBS_SMOOTH | PBS_VERTICAL, 10, 10, 20, 102);
    SendMessageA(pb, PBM_SETBARCOLOR, 0, RGB(255, 0, 0));
    SendMessageA(pb, PBM_SETPOS, 25, 0);
    UpdateWindow(pb);
    EXPECT_EQ(windowPixel(pb, 10, 95), RGB(255, 0, 0));
    EXPECT_NE(windowPixel(pb, 10, 10), RGB(255, 0, 0));
}

class TrackbarTest : public ComctlTest {};

TEST_F(TrackbarTest, RangeSelectionAndSizes)
{
    HWND tb = control(TRACKBAR_CLASSA, TBS_AUTOTICKS | TBS_ENABLESELRANGE, 10, 10, 220, 40);
    ASSERT_TRUE(tb);
    SendMessageA(tb, TBM_SETRANGE, TRUE, MAKELONG(10, 60));
    EXPECT_EQ(SendMessageA(tb, TBM_GETRANGEMIN, 0, 0), 10);
    EXPECT_EQ(SendMessageA(tb, TBM_GETRANGEMAX, 0, 0), 60);
    EXPECT_EQ(SendMessageA(tb, TBM_GETPOS, 0, 0), 10);
    SendMessageA(tb, TBM_SETPOS, TRUE, 1000);
    EXPECT_EQ(SendMessageA(tb, TBM_GETPOS, 0, 0), 60);
    SendMessageA(tb, TBM_SETRANGEMAX, TRUE, 40);
    EXPECT_EQ(SendMessageA(tb, TBM_GETPOS, 0, 0), 40);
    SendMessageA(tb, TBM_SETSEL, TRUE, MAKELONG(15, 30));
    EXPECT_EQ(SendMessageA(tb, TBM_GETSELSTART, 0, 0), 15);
    EXPECT_EQ(SendMessageA(tb, TBM_GETSELEND, 0, 0), 30);
    SendMessageA(tb, TBM_SETSELEND, TRUE, 35);
    EXPECT_EQ(SendMessageA(tb, TBM_GETSELEND, 0, 0), 35);
    SendMessageA(tb, TBM_CLEARSEL, TRUE, 0);
    EXPECT_EQ(SendMessageA(tb, TBM_GETSELSTART, 0, 0), -1);
    EXPECT_EQ(SendMessageA(tb, TBM_SETPAGESIZE, 0, 7), 6);
    EXPECT_EQ(SendMessageA(tb, TBM_GETPAGESIZE, 0, 0), 7);
    EXPECT_EQ(SendMessageA(tb, TBM_SETLINESIZE, 0, 3), 1);
    SendMessageA(tb, TBM_SETTICFREQ, 10, 0);
    EXPECT_EQ(SendMessageA(tb, TBM_GETNUMTICS, 0, 0), 4); // 10, 20, 30, 40
    SendMessageA(tb, TBM_SETTHUMBLENGTH, 16, 0);
    RECT th{};
    SendMessageA(tb, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&th));
    EXPECT_EQ(th.bottom - th.top, 16);
}

// The thumb and the channel are drawn where TBM_GETTHUMBRECT/GETCHANNELRECT say, in both orientations.
TEST_F(TrackbarTest, RectanglesMatchWhatIsDrawn)
{
    for (DWORD st : {DWORD(TBS_HORZ), DWORD(TBS_VERT), DWORD(TBS_BOTH), DWORD(TBS_TOP | TBS_NOTICKS)}) {
        HWND tb = control(TRACKBAR_CLASSA, st, 10, 10, st & TBS_VERT ? 40 : 200, st & TBS_VERT ? 200 : 40);
        SendMessageA(tb, TBM_SETPOS, TRUE, 30);
        UpdateWindow(tb);
        pumpUntilIdle();
        RECT ch{}, th{};
        SendMessageA(tb, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&ch));
        SendMessageA(tb, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&th));
        EXPECT_FALSE(IsRectEmpty(&ch));
        EXPECT_FALSE(IsRectEmpty(&th));
        // Centre of the thumb: face colour; channel interior away from the thumb: window colour.
        EXPECT_EQ(windowPixel(tb, (th.left + th.right) / 2, (th.top + th.bottom) / 2), GetSysColor(COLOR_3DFACE));
        int cx = st & TBS_VERT ? (ch.left + ch.right) / 2 : ch.right - 4;
        int cy = st & TBS_VERT ? ch.bottom - 4 : (ch.top + ch.bottom) / 2;
        EXPECT_EQ(windowPixel(tb, cx, cy), GetSysColor(COLOR_WINDOW)) << st;
        // Channel edge: the outer top-left pixel is the shadow of a sunken edge.
        EXPECT_EQ(windowPixel(tb, ch.left, ch.top), GetSysColor(COLOR_3DSHADOW)) << st;
        DestroyWindow(tb);
    }
}

TEST_F(TrackbarTest, ThumbDragWithCapture)
{
    HWND tb = control(TRACKBAR_CLASSA, 0, 10, 10, 220, 40);
    RECT ch{}, th{};
    SendMessageA(tb, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&ch));
    SendMessageA(tb, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&th));
    POINT p = screenOf(tb, (th.left + th.right) / 2, (th.top + th.bottom) / 2);
    velkaro::testing::mouseMove(p.x, p.y);
    velkaro::testing::mouseDown();
    pumpUntilIdle();
    EXPECT_EQ(GetCapture(), tb);
    // Drag to the middle of the channel, then past its end (and outside the window).
    int mid = (ch.left + ch.right) / 2;
    POINT m = screenOf(tb, mid, 5);
    velkaro::testing::mouseMove(m.x, m.y);
    pumpUntilIdle();
    EXPECT_NEAR(SendMessageA(tb, TBM_GETPOS, 0, 0), 50, 1);
    POINT far = screenOf(tb, 400, 100);
    velkaro::testing::mouseMove(far.x, far.y);
    velkaro::testing::mouseUp();
    pumpUntilIdle();
    EXPECT_EQ(SendMessageA(tb, TBM_GETPOS, 0, 0), 100);
    EXPECT_NE(GetCapture(), tb);
    auto c = scrollCodes();
    ASSERT_GE(c.size(), 3u);
    EXPECT_EQ(c.front(), TB_THUMBTRACK);
    EXPECT_EQ(c[c.size() - 2], TB_THUMBPOSITION);
    EXPECT_EQ(c.back(), TB_ENDTRACK);
    EXPECT_EQ(HIWORD(told[told.size() - 2].wp), 100);
    EXPECT_EQ(told.back().lp, reinterpret_cast<LPARAM>(tb));
}

TEST_F(TrackbarTest, PageClicksRepeatWhileHeld)
{
    HWND tb = control(TRACKBAR_CLASSA, 0, 10, 10, 220, 40);
    SendMessageA(tb, TBM_SETPOS, TRUE, 50);
    RECT ch{};
    SendMessageA(tb, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&ch));
    POINT p = screenOf(tb, ch.right - 2, (ch.top + ch.bottom) / 2);
    velkaro::testing::mouseMove(p.x, p.y);
    velkaro::testing::mouseDown();
    pumpUntilIdle();
    EXPECT_EQ(SendMessageA(tb, TBM_GETPOS, 0, 0), 70); // one page of 20
    velkaro::testing::advanceClock(450);
    EXPECT_EQ(SendMessageA(tb, TBM_GETPOS, 0, 0), 90);
    velkaro::testing::advanceClock(1000); // stops at the point under the mouse
    EXPECT_GE(SendMessageA(tb, TBM_GETPOS, 0, 0), 98);
    velkaro::testing::mouseUp();
    pumpUntilIdle();
    EXPECT_EQ(scrollCodes().front(), TB_PAGEDOWN);
    EXPECT_EQ(scrollCodes().back(), TB_ENDTRACK);
}

TEST_F(TrackbarTest, Keys)
{
    struct Case {
        UINT key;
        int expectPos;
        int code;
    } cases[] = {{VK_RIGHT, 51, TB_LINEDOWN}, {VK_LEFT, 49, TB_LINEUP}, {VK_NEXT, 70, TB_PAGEDOWN},
                 {VK_PRIOR, 30, TB_PAGEUP},   {VK_HOME, 0, TB_TOP},     {VK_END, 100, TB_BOTTOM}};
    HWND tb = control(TRACKBAR_CLASSA, 0, 10, 10, 220, 40);
    SetFocus(tb);
    for (const Case& c : cases) {
        SendMessageA(tb, TBM_SETPOS, TRUE, 50);
        told.clear();
        velkaro::testing::pressKey(c.key);
        pumpUntilIdle();
        EXPECT_EQ(SendMessageA(tb, TBM_GETPOS, 0, 0), c.expectPos) << c.key;
        EXPECT_EQ(scrollCodes(), (std::vector<int>{c.code, TB_ENDTRACK})) << c.key;
    }
}

TEST_F(TrackbarTest, EmptyRangeDoesNotDivideByZero)
{
    HWND tb = control(TRACKBAR_CLASSA, TBS_AUTOTICKS, 10, 10, 220, 40);
    SendMessageA(tb, TBM_SETRANGE, TRUE, MAKELONG(0, 0));
    UpdateWindow(tb);
    clickAt(tb, 100, 20);
    EXPECT_EQ(SendMessageA(tb, TBM_GETPOS, 0, 0), 0);
    RECT th{};
    SendMessageA(tb, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&th));
    EXPECT_FALSE(IsRectEmpty(&th));
}

} // namespace
