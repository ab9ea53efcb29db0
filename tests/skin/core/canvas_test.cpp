// Control canvases and the child-window utilities, on a window given a record
// by hand: its frame DC holds a pattern whose every pixel names its place.
#include "skin/core/canvas.h"
#include "skin/core/child_windows.h"
#include "skin/core/properties.h"
#include "skin/core/registry.h"

#include <gtest/gtest.h>
#include <velkaro/gfx/dc_cache.h>
#include <velkaro/gfx/dib.h>
#include <velkaro/testing.h>

namespace {

using namespace velkaro::skin;

COLORREF patternAt(int x, int y) { return RGB(x & 0xFF, y & 0xFF, (x >> 8) * 16 + (y >> 8)); }

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(velkaro::testing::startHeadless());
        skinRegistry().clear();
        velkaro::gfx::createDcCache();
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "CanvasTestWindow";
        RegisterClassA(&wc);

        m_top = CreateWindowExA(0, "CanvasTestWindow", "", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200, nullptr,
                                nullptr, nullptr, nullptr);
        m_frameBitmap = velkaro::gfx::createDib32(300, 200);
        m_frame = CreateCompatibleDC(nullptr);
        m_oldFrameBitmap = SelectObject(m_frame, m_frameBitmap);
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 300; ++x)
                SetPixel(m_frame, x, y, patternAt(x, y));

        WindowSkin skin;
        skin.hwnd = m_top;
        skin.frameDc = m_frame;
        skin.compositeDc = m_frame;
        skin.lastRenderWidth = 300;
        skin.lastRenderHeight = 200;
        m_slot = skinRegistry().append(std::move(skin));
        setPropInt(m_top, kPropListId, m_slot);
    }
    void TearDown() override
    {
        DestroyWindow(m_top);
        skinRegistry().clear();
        SelectObject(m_frame, m_oldFrameBitmap);
        DeleteObject(m_frameBitmap);
        DeleteDC(m_frame);
        velkaro::gfx::freeDcCache();
    }

    HWND child(HWND parent, int x, int y, int w, int h, DWORD style = 0, DWORD exStyle = 0)
    {
        return CreateWindowExA(exStyle, "CanvasTestWindow", "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                               nullptr, nullptr, nullptr);
    }

    // The canvas is the frame behind the control, pixel for pixel.
    static void expectFrameCopy(HDC canvas, int w, int h, int frameX, int frameY)
    {
        ASSERT_NE(canvas, nullptr);
        for (int y = 0; y < h; y += 7)
            for (int x = 0; x < w; x += 5)
                ASSERT_EQ(GetPixel(canvas, x, y), patternAt(frameX + x, frameY + y)) << x << "," << y;
    }

    HWND m_top = nullptr;
    HDC m_frame = nullptr;
    HBITMAP m_frameBitmap = nullptr;
    HGDIOBJ m_oldFrameBitmap = nullptr;
    int m_slot = 0;
};

TEST_F(CanvasTest, CanvasCopiesTheFrameBehindTheControl)
{
    HWND control = child(m_top, 20, 30, 50, 40);
    size_t gdiBefore = velkaro::testing::liveGdiObjects();

    HDC canvas = makeControlCanvas(control, RECT{0, 0, 50, 40});
    expectFrameCopy(canvas, 50, 40, 20, 30);
    EXPECT_EQ(velkaro::gfx::releaseCachedDc(canvas), 1);

    // A part of the control: the canvas starts at that part's place.
    canvas = makeControlCanvas(control, RECT{10, 5, 30, 25});
    expectFrameCopy(canvas, 20, 20, 30, 35);
    EXPECT_EQ(velkaro::gfx::releaseCachedDc(canvas), 1);
    EXPECT_EQ(velkaro::gfx::releaseCachedDc(canvas), 0);
    EXPECT_EQ(velkaro::testing::liveGdiObjects(), gdiBefore);
}

TEST_F(CanvasTest, CanvasInsideARegisteredContainerComesFromItsOwner)
{
    HWND bar = child(m_top, 10, 100, 200, 40);
    HWND inner = child(bar, 5, 6, 30, 20);
    skinAt(m_slot).containers.at(1).hwnd = bar;

    HDC canvas = makeControlCanvas(inner, RECT{0, 0, 30, 20});
    expectFrameCopy(canvas, 30, 20, 15, 106);
    velkaro::gfx::releaseCachedDc(canvas);
}

TEST_F(CanvasTest, NoCanvasForAControlOfNoAttachedWindow)
{
    HWND loose = CreateWindowExA(0, "CanvasTestWindow", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                                 nullptr);
    size_t gdiBefore = velkaro::testing::liveGdiObjects();
    size_t cachedBefore = velkaro::gfx::dcCacheCount();
    EXPECT_EQ(makeControlCanvas(child(loose, 0, 0, 10, 10), RECT{0, 0, 10, 10}), nullptr);
    EXPECT_EQ(makeControlCanvas(child(m_top, 0, 0, 10, 10), RECT{0, 0, 0, 10}), nullptr);
    EXPECT_EQ(velkaro::gfx::dcCacheCount(), cachedBefore);
    EXPECT_EQ(velkaro::testing::liveGdiObjects(), gdiBefore);
    DestroyWindow(loose);
}

TEST_F(CanvasTest, RectanglesRelativeToTheTopWindow)
{
    HWND control = child(m_top, 20, 30, 100, 80, WS_BORDER | WS_VSCROLL | WS_HSCROLL);
    RECT whole = rectInTopWindow(control);
    EXPECT_EQ(whole.left, 20);
    EXPECT_EQ(whole.top, 30);
    EXPECT_EQ(whole.right, 120);
    EXPECT_EQ(whole.bottom, 110);
    // Both scroll bars count as inside; what is left is the one-pixel border.
    RECT inner = clientRectInTopWindow(control);
    EXPECT_EQ(inner.left, 21);
    EXPECT_EQ(inner.top, 31);
    EXPECT_EQ(inner.right, 119);
    EXPECT_EQ(inner.bottom, 109);

    RECT r = childRectInParent(control);
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.bottom, 110);
    r = childRectInParent(m_top);
    EXPECT_TRUE(IsRectEmpty(&r));
}

TEST_F(CanvasTest, PresentingCopiesIntoTheCompositeLeavingChildrenOut)
{
    HBITMAP canvasBitmap = velkaro::gfx::createDib32(60, 40);
    HDC canvas = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(canvas, canvasBitmap);
    RECT all{0, 0, 60, 40};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(canvas, &all, red);

    HWND control = child(m_top, 40, 50, 60, 40);
    setPropInt(control, kPropOwnerSlot, m_slot);
    child(control, 0, 0, 10, 10);                            // stays out
    child(control, 20, 0, 10, 10, 0, WS_EX_TRANSPARENT);    // painted over
    presentControlImage(control, canvas, false, true);

    EXPECT_EQ(GetPixel(m_frame, 45, 55), patternAt(45, 55));
    EXPECT_EQ(GetPixel(m_frame, 65, 55), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(m_frame, 99, 89), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(m_frame, 100, 90), patternAt(100, 90));

    // Keyed: the magenta pixels leave the composite as it was.
    SetPixel(canvas, 30, 20, RGB(255, 0, 255));
    SetPixel(m_frame, 70, 70, patternAt(70, 70));
    SetPixel(m_frame, 71, 70, patternAt(71, 70));
    presentControlImageKeyed(control, canvas, RGB(255, 0, 255), false);
    EXPECT_EQ(GetPixel(m_frame, 70, 70), patternAt(70, 70));
    EXPECT_EQ(GetPixel(m_frame, 71, 70), RGB(255, 0, 0));

    SelectObject(canvas, old);
    DeleteObject(canvasBitmap);
    DeleteDC(canvas);
    DeleteObject(red);
}

TEST_F(CanvasTest, ChildrenAreClippedOnlyUpToTheLastRenderedSize)
{
    child(m_top, 250, 150, 100, 100);   // reaches past 300 x 200
    child(m_top, -10, -10, 40, 40);     // starts left of and above the window
    HWND hidden = child(m_top, 100, 20, 20, 20);
    ShowWindow(hidden, SW_HIDE);

    HBITMAP bitmap = velkaro::gfx::createDib32(400, 300);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    ASSERT_EQ(excludeChildWindows(m_top, dc), dc);
    RECT all{0, 0, 400, 300};
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    FillRect(dc, &all, green);

    struct Case {
        int x, y;
        bool painted;
    } cases[] = {{260, 160, false}, {299, 199, false}, {320, 170, true}, {260, 220, true},
                 {5, 5, false},     {29, 29, false},   {35, 35, true},   {110, 30, true}};
    for (const Case& c : cases)
        EXPECT_EQ(GetPixel(dc, c.x, c.y) == RGB(0, 255, 0), c.painted) << c.x << "," << c.y;

    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    DeleteObject(green);
}

TEST_F(CanvasTest, ASkinnedControlThatIsNoContainerClipsNothing)
{
    HWND control = child(m_top, 0, 0, 100, 100);
    setPropInt(control, kPropOwnerSlot, m_slot);
    child(control, 10, 10, 20, 20);
    HDC dc = excludeChildWindows(control);
    RECT box;
    EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
    ReleaseDC(control, dc);
}

TEST_F(CanvasTest, InvalidationPicksTheRightChildren)
{
    HWND plain = child(m_top, 0, 0, 10, 10);
    HWND transparent = child(m_top, 20, 0, 10, 10, 0, WS_EX_TRANSPARENT);
    HWND hidden = child(m_top, 40, 0, 10, 10);
    ShowWindow(hidden, SW_HIDE);
    velkaro::testing::pumpUntilIdle();
    ValidateRect(hidden, nullptr);  // hidden windows are never painted

    invalidateTransparentChildren(m_top);
    EXPECT_FALSE(GetUpdateRect(plain, nullptr, FALSE));
    EXPECT_TRUE(GetUpdateRect(transparent, nullptr, FALSE));
    velkaro::testing::pumpUntilIdle();

    invalidateVisibleChildren(m_top);
    EXPECT_TRUE(GetUpdateRect(plain, nullptr, FALSE));
    EXPECT_TRUE(GetUpdateRect(transparent, nullptr, FALSE));
    EXPECT_FALSE(GetUpdateRect(hidden, nullptr, FALSE));
}

TEST_F(CanvasTest, MarkControlsStaleFlagsEveryToolbar)
{
    WindowSkin& skin = skinAt(m_slot);
    skin.toolbars.append(ToolbarEntry{});
    markControlsStale(m_top);
    EXPECT_EQ(skin.toolbars.at(1).needsRepaint, 1);
    EXPECT_EQ(skin.toolbars.at(2).needsRepaint, 1);
}

} // namespace
