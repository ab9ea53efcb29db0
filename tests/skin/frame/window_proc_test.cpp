// The skinned window procedure: record bookkeeping, teardown with
// renumbering, the fading caption buttons and the move and size zones.
#include "frame_fixture.h"

#include "skin/frame/caption_buttons.h"
#include "skin/frame/move_size.h"
#include "skin/frame/window_proc.h"

namespace frame_test {
namespace {

using WindowProcTest = FrameTest;

TEST_F(WindowProcTest, OnlyTheFirstSizeInTheProcessSkipsTheRender)
{
    EXPECT_EQ(vs::engineSettings().firstSizePending, 1);
    HWND first = open();
    EXPECT_EQ(vs::engineSettings().firstSizePending, 0);
    SendMessageA(first, WM_SIZE, SIZE_RESTORED, MAKELPARAM(253, 127));
    EXPECT_EQ(skinOf(first).needsFullRepaint, 1);

    HWND second = open(253, 127, WS_POPUP | WS_MINIMIZEBOX, 400, 300, false);
    skinOf(second).needsFullRepaint = 0;
    SendMessageA(second, WM_SIZE, SIZE_RESTORED, MAKELPARAM(253, 127));
    EXPECT_EQ(skinOf(second).needsFullRepaint, 1);
}

TEST_F(WindowProcTest, MessagesUpdateTheRecord)
{
    HWND hwnd = open();
    vs::WindowSkin& skin = skinOf(hwnd);

    SendMessageA(hwnd, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 1), 0);  // active while minimized
    EXPECT_EQ(skin.active, 1);
    SendMessageA(hwnd, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(skin.active, 0);

    // A hit-test code in the low bits is not SC_MAXIMIZE to the skin.
    SendMessageA(hwnd, WM_SYSCOMMAND, SC_MAXIMIZE + 2, 0);
    EXPECT_EQ(skin.maximized, 0);
    SendMessageA(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    vt::pumpUntilIdle();

    SendMessageA(hwnd, WM_MOVING, 0, 0);
    EXPECT_EQ(skin.moving, 1);
    SendMessageA(hwnd, WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(skin.moving, 0);

    HDC dc = GetDC(hwnd);
    skin.needsFullRepaint = 0;
    EXPECT_EQ(SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    skin.needsFullRepaint = 1;
    skin.shownPaintDone = 0;
    skin.backgroundErased = 0;
    EXPECT_EQ(SendMessageA(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    EXPECT_EQ(skin.backgroundErased, 1);
    ReleaseDC(hwnd, dc);
}

TEST_F(WindowProcTest, MinMaxInfoCarriesTheTrackingSizes)
{
    HWND hwnd = open(400, 300, WS_POPUP | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    MINMAXINFO info{};
    SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 200);
    EXPECT_EQ(info.ptMinTrackSize.y, 150);
    EXPECT_EQ(info.ptMaxTrackSize.x, 1024);
    EXPECT_EQ(info.ptMaxTrackSize.y, 768);
    EXPECT_EQ(SendMessageA(hwnd, WM_GETMINMAXINFO, 0, 0), 0);  // no structure: nothing to fill
}

TEST_F(WindowProcTest, AForeignTimerOnlyPassesOn)
{
    HWND hwnd = open();
    SetTimer(hwnd, 77, 20, nullptr);
    appMessages.clear();
    vt::advanceClock(25);
    KillTimer(hwnd, 77);
    EXPECT_EQ(std::count(appMessages.begin(), appMessages.end(), UINT(WM_TIMER)), 1);
    EXPECT_EQ(skinOf(hwnd).fadeTimerOn, 0);
}

TEST_F(WindowProcTest, TeardownRenumbersWindowsAndTheirControls)
{
    HWND first = open();
    HWND second = open(253, 127, WS_POPUP | WS_MINIMIZEBOX, 400, 300);
    ASSERT_EQ(vs::findSkinSlot(second), 2);
    HWND button = CreateWindowExA(0, "BUTTON", "x", WS_CHILD, 0, 0, 10, 10, second, nullptr, nullptr, nullptr);
    HWND bar = CreateWindowExA(0, "BUTTON", "t", WS_CHILD, 0, 0, 10, 10, second, nullptr, nullptr, nullptr);
    vs::WindowSkin& skin = skinOf(second);
    skin.buttons.at(1).hwnd = button;
    skin.toolbars.at(1).hwnd = bar;
    vs::setPropInt(button, vs::kPropOwnerSlot, 2);
    vs::setPropInt(bar, vs::kPropToolbarOwnerSlot, 2);

    DestroyWindow(first);
    EXPECT_EQ(vs::skinRegistry().count(), 1);
    EXPECT_EQ(vs::findSkinSlot(second), 1);
    EXPECT_EQ(vs::propInt(second, vs::kPropListId), 1);
    EXPECT_EQ(vs::propInt(button, vs::kPropOwnerSlot), 1);
    EXPECT_EQ(vs::propInt(bar, vs::kPropToolbarOwnerSlot), 1);
    // The window got its own procedure back before its last message.
    EXPECT_EQ(appMessages.back(), UINT(WM_NCDESTROY));
}

TEST_F(WindowProcTest, TeardownLeavesNoGdiObjectBehind)
{
    size_t before = vt::liveGdiObjects();
    for (int i = 0; i < 20; ++i) {
        HWND hwnd = open();
        InvalidateRect(hwnd, nullptr, TRUE);
        skinOf(hwnd).needsFullRepaint = 1;
        vt::pumpUntilIdle();
        DestroyWindow(hwnd);
        vt::pumpUntilIdle();
    }
    EXPECT_EQ(vt::liveGdiObjects(), before);
}

TEST_F(WindowProcTest, ReleaseOverAButtonFollowsTheLastHotButton)
{
    HWND hwnd = open();
    moveTo(hwnd, 60, 60);
    POINT p = onScreen(hwnd, 60, 60);
    vt::mouseDown();
    vt::pumpUntilIdle();
    EXPECT_EQ(vs::hotButton, 0);
    moveTo(hwnd, 230, 10);  // over close
    (void)p;
    vt::mouseUp();
    vt::pumpUntilIdle();
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(WindowProcTest, MinimizeButtonMinimizesAndRestoreRendersAgain)
{
    HWND hwnd = open();
    POINT p = onScreen(hwnd, 200, 10);
    vt::click(p.x, p.y);
    vt::pumpUntilIdle();
    EXPECT_TRUE(IsIconic(hwnd));
    EXPECT_EQ(skinOf(hwnd).minimized, 1);
    ShowWindow(hwnd, SW_RESTORE);
    vt::pumpUntilIdle();
    EXPECT_FALSE(IsIconic(hwnd));
    EXPECT_EQ(skinOf(hwnd).minimized, 0);
    EXPECT_EQ(skinOf(hwnd).needsFullRepaint, 0);
    EXPECT_EQ(skinOf(hwnd).lastRenderWidth, 253);
}

// --- caption buttons --------------------------------------------------------

TEST_F(WindowProcTest, HitTestsUseStrictBoundsAndTheStrip)
{
    HWND hwnd = open();
    int slot = vs::findSkinSlot(hwnd);
    struct Case {
        int x, y, button;
    } cases[] = {{188, 10, 0}, {189, 10, 1}, {213, 18, 1}, {214, 10, 0}, {200, 1, 0},
                 {230, 10, 2}, {254, 10, 2}, {150, 10, 0}, {230, 23, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(vs::captionButtonAt(slot, c.x, c.y), c.button) << c.x << "," << c.y;
    EXPECT_TRUE(vs::pointInButtonStrip(slot, MAKELPARAM(184, 22)));
    EXPECT_FALSE(vs::pointInButtonStrip(slot, MAKELPARAM(183, 5)));
    EXPECT_FALSE(vs::pointInButtonStrip(slot, MAKELPARAM(200, 23)));
    EXPECT_FALSE(vs::pointInButtonStrip(slot, MAKELPARAM(200, -1)));
}

TEST_F(WindowProcTest, HoverFadesInOverEightTicksAndOutAfterLeaving)
{
    HWND hwnd = open();
    int slot = vs::findSkinSlot(hwnd);
    COLORREF plain = vt::windowPixel(hwnd, 200, 12);
    moveTo(hwnd, 200, 10);
    vs::WindowSkin& skin = vs::skinAt(slot);
    EXPECT_EQ(skin.hotCaptionButton, 1);
    EXPECT_EQ(skin.fadeIn.button, 1);
    EXPECT_EQ(skin.fadeTimerOn, 1);

    std::vector<int> steps;
    for (int i = 0; i < 9; ++i) {
        vt::advanceClock(20);
        steps.push_back(skin.fadeIn.step);
    }
    EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 8}));
    EXPECT_NE(vt::windowPixel(hwnd, 200, 12), plain);

    // Straight to the next button: 1 fades out while 2 fades in.
    moveTo(hwnd, 230, 10);
    EXPECT_EQ(skin.fadeOut.button, 1);
    EXPECT_EQ(skin.fadeIn.button, 2);
    vt::advanceClock(20);
    EXPECT_EQ(skin.fadeOut.step, 1);
    EXPECT_EQ(skin.fadeIn.step, 1);

    // Back to 1 before its fade-out ends: it restarts from step 0.
    moveTo(hwnd, 200, 10);
    EXPECT_EQ(skin.fadeIn.button, 1);
    EXPECT_EQ(skin.fadeIn.step, 0);
    EXPECT_EQ(skin.fadeOut.button, 2);

    // Leaving the window mid-fade cancels the fade-in; the button fades out
    // and the timer stops once that is done.
    vt::advanceClock(40);
    moveTo(hwnd, 60, 200);
    vt::advanceClock(20);
    vt::pumpUntilIdle();
    EXPECT_EQ(skin.mouseTracked, 0);
    EXPECT_EQ(skin.fadeIn.button, 0);
    for (int i = 0; i < 12; ++i)
        vt::advanceClock(20);
    EXPECT_EQ(skin.fadeTimerOn, 0);
    EXPECT_EQ(skin.hotCaptionButton, 0);
    EXPECT_EQ(vt::windowPixel(hwnd, 200, 12), plain);
}

TEST_F(WindowProcTest, MaximizeButtonTogglesAndRenamesItsTooltip)
{
    HWND hwnd = open(400, 300, WS_POPUP | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    int slot = vs::findSkinSlot(hwnd);
    int n = vs::findMaximizeButton(slot);
    ASSERT_EQ(n, 2);
    vs::performCaptionButtonAction(slot, n);
    vt::pumpUntilIdle();
    EXPECT_EQ(vs::skinAt(slot).maximized, 1);
    EXPECT_EQ(vs::skinAt(slot).captionButtons.at(n).tooltip, "还原");
    RECT r;
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.right - r.left, 1024);
    EXPECT_EQ(r.bottom - r.top, 768);

    vs::performCaptionButtonAction(slot, n);
    vt::pumpUntilIdle();
    EXPECT_EQ(vs::skinAt(slot).maximized, 0);
    EXPECT_EQ(vs::skinAt(slot).captionButtons.at(n).tooltip, "最大化");
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.right - r.left, 400);
}

TEST_F(WindowProcTest, CaptionDoubleClickMaximizesOnlyResizableWindows)
{
    HWND sizable = open(400, 300, WS_POPUP | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    POINT p = onScreen(sizable, 100, 10);
    vt::doubleClick(p.x, p.y);
    vt::pumpUntilIdle();
    EXPECT_EQ(skinOf(sizable).maximized, 1);
    DestroyWindow(sizable);

    nextOptions.resizable = 0;
    HWND fixed = open(400, 300, WS_POPUP | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    p = onScreen(fixed, 100, 10);
    vt::doubleClick(p.x, p.y);
    vt::pumpUntilIdle();
    EXPECT_EQ(skinOf(fixed).maximized, 0);
}

// --- moving and sizing ------------------------------------------------------

TEST_F(WindowProcTest, PressZonesStartTheRightLoop)
{
    HWND hwnd = open(400, 300, WS_POPUP | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    int slot = vs::findSkinSlot(hwnd);
    RECT client{0, 0, 400, 300};
    struct Case {
        int x, y;
        UINT message;
        WPARAM wParam;
    } cases[] = {
        {2, 2, WM_SYSCOMMAND, SC_SIZE + WMSZ_TOPLEFT},
        {5, 5, WM_NCLBUTTONDOWN, HTCAPTION},
        {360, 2, WM_SYSCOMMAND, SC_SIZE + WMSZ_TOP},        // on a button, but above its zone
        {360, 10, 0, 0},                                    // on a button
        {1, 150, WM_SYSCOMMAND, SC_SIZE + WMSZ_LEFT},
        {398, 150, WM_SYSCOMMAND, SC_SIZE + WMSZ_RIGHT},
        {200, 298, WM_SYSCOMMAND, SC_SIZE + WMSZ_BOTTOM},
        {395, 295, WM_SYSCOMMAND, SC_SIZE + WMSZ_BOTTOMRIGHT},
        {5, 295, WM_SYSCOMMAND, SC_SIZE + WMSZ_BOTTOMLEFT},
        {200, 150, 0, 0},
    };
    for (const Case& c : cases) {
        vt::MessageSpy spy(hwnd);
        vs::beginMoveOrSize(slot, MAKELPARAM(c.x, c.y), client);
        std::vector<UINT> started = spy.ids({WM_SYSCOMMAND, WM_NCLBUTTONDOWN});
        if (!c.message) {
            EXPECT_TRUE(started.empty()) << c.x << "," << c.y;
            continue;
        }
        ASSERT_FALSE(started.empty()) << c.x << "," << c.y;
        EXPECT_EQ(spy.messages()[0].message == c.message || started[0] == c.message, true);
        bool found = false;
        for (const auto& m : spy.messages())
            found = found || (m.message == c.message && m.wParam == c.wParam);
        EXPECT_TRUE(found) << c.x << "," << c.y;
    }
}

TEST_F(WindowProcTest, AFixedWindowMovesButNeverSizes)
{
    nextOptions.resizable = 0;
    HWND hwnd = open();
    int slot = vs::findSkinSlot(hwnd);
    RECT client{0, 0, 253, 127};
    for (POINT p : {POINT{2, 2}, POINT{1, 60}, POINT{250, 125}}) {
        vt::MessageSpy spy(hwnd);
        vs::beginMoveOrSize(slot, MAKELPARAM(p.x, p.y), client);
        EXPECT_EQ(spy.count(WM_SYSCOMMAND), 0u) << p.x << "," << p.y;
    }
    vt::MessageSpy spy(hwnd);
    vs::beginMoveOrSize(slot, MAKELPARAM(50, 10), client);
    EXPECT_EQ(spy.count(WM_NCLBUTTONDOWN), 1u);

    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    moveTo(hwnd, 1, 60);
    EXPECT_EQ(vt::cursorShapeId(), int(reinterpret_cast<INT_PTR>(IDC_ARROW)));
}

TEST_F(WindowProcTest, SizingCursorsFollowTheZones)
{
    HWND hwnd = open(400, 300, WS_POPUP | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    int slot = vs::findSkinSlot(hwnd);
    RECT client{0, 0, 400, 300};
    struct Case {
        int x, y;
        LPCSTR cursor;
    } cases[] = {{1, 150, IDC_SIZEWE}, {399, 150, IDC_SIZEWE}, {200, 2, IDC_SIZENS}, {200, 299, IDC_SIZENS},
                 {3, 3, IDC_SIZENWSE}, {396, 3, IDC_SIZENESW}, {3, 296, IDC_SIZENESW}, {396, 296, IDC_SIZENWSE}};
    for (const Case& c : cases) {
        SetCursor(LoadCursorA(nullptr, IDC_ARROW));
        vs::updateSizingCursor(slot, MAKELPARAM(c.x, c.y), client);
        EXPECT_EQ(vt::cursorShapeId(), int(reinterpret_cast<INT_PTR>(c.cursor))) << c.x << "," << c.y;
    }
}

LRESULT CALLBACK trayProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(h, m, w, l); }

TEST_F(WindowProcTest, WorkAreaLeavesTheTaskbarVisible)
{
    EXPECT_EQ(vs::workAreaSize().cx, 1024);  // no taskbar: the whole screen
    EXPECT_EQ(vs::workAreaSize().cy, 768);

    WNDCLASSA wc{};
    wc.lpfnWndProc = trayProc;
    wc.lpszClassName = "Shell_TrayWnd";
    RegisterClassA(&wc);
    struct Case {
        RECT bar;
        bool visible;
        SIZE area;
    } cases[] = {{{0, 728, 1024, 768}, true, {1024, 728}},
                 {{0, 766, 1024, 806}, true, {1024, 768}},
                 {{0, 0, 60, 768}, true, {964, 768}},
                 {{0, 0, 60, 768}, false, {1024, 768}}};
    for (const Case& c : cases) {
        HWND tray = CreateWindowExA(WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP | (c.visible ? WS_VISIBLE : 0),
                                    c.bar.left, c.bar.top, c.bar.right - c.bar.left, c.bar.bottom - c.bar.top,
                                    nullptr, nullptr, nullptr, nullptr);
        SIZE area = vs::workAreaSize();
        EXPECT_EQ(area.cx, c.area.cx);
        EXPECT_EQ(area.cy, c.area.cy);
        DestroyWindow(tray);
    }
}

} // namespace
} // namespace frame_test
