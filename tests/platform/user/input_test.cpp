// Mouse and keyboard input, capture, tracking, timers, subclassing and
// properties on the headless screen.
#include "fixture.h"

using namespace vktest;
using velkaro::testing::MessageSpy;

namespace {

WNDPROC g_original = nullptr;
std::vector<std::string> g_chain;

LRESULT CALLBACK outerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_USER + 5)
        g_chain.push_back("outer");
    return CallWindowProcA(g_original, hwnd, msg, wp, lp);
}

} // namespace

TEST_F(UserTest, SubclassingChainsThroughSetWindowLongAndCallWindowProc)
{
    HWND h = make(WS_POPUP, 0, 0, 10, 10, nullptr, [](HWND, UINT msg, WPARAM, LPARAM, bool& handled) -> LRESULT {
        if (msg == WM_USER + 5) {
            g_chain.push_back("inner");
            handled = true;
            return 42;
        }
        return 0;
    });
    g_chain.clear();
    g_original = reinterpret_cast<WNDPROC>(SetWindowLongA(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(outerProc)));
    ASSERT_NE(g_original, nullptr);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongA(h, GWL_WNDPROC)), outerProc);
    EXPECT_EQ(SendMessageA(h, WM_USER + 5, 0, 0), 42);
    EXPECT_EQ(g_chain, (std::vector<std::string>{"outer", "inner"}));
    SetWindowLongA(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(g_original));
}

TEST_F(UserTest, PropertiesAreKeptPerWindowAndNameCaseInsensitively)
{
    HWND a = make(WS_POPUP, 0, 0, 10, 10);
    HWND b = make(WS_POPUP, 0, 0, 10, 10);
    EXPECT_TRUE(SetPropA(a, "Hw_FuID", reinterpret_cast<HANDLE>(1)));
    EXPECT_TRUE(SetPropA(b, "Hw_FuID", reinterpret_cast<HANDLE>(2)));
    EXPECT_EQ(GetPropA(a, "hw_fuid"), reinterpret_cast<HANDLE>(1));
    EXPECT_EQ(GetPropA(b, "Hw_FuID"), reinterpret_cast<HANDLE>(2));
    SetPropA(a, "Hw_FuID", reinterpret_cast<HANDLE>(5));
    EXPECT_EQ(RemovePropA(a, "Hw_FuID"), reinterpret_cast<HANDLE>(5));
    EXPECT_EQ(GetPropA(a, "Hw_FuID"), nullptr);
    EXPECT_EQ(GetPropA(b, "Hw_FuID"), reinterpret_cast<HANDLE>(2));
}

TEST_F(UserTest, TimersFireInOrderOfTheVirtualClock)
{
    std::vector<std::pair<UINT_PTR, uint64_t>> fired;
    uint64_t start = velkaro::testing::now();
    HWND h = make(WS_POPUP, 0, 0, 10, 10, nullptr, [&](HWND, UINT msg, WPARAM wp, LPARAM, bool&) -> LRESULT {
        if (msg == WM_TIMER)
            fired.push_back({wp, velkaro::testing::now() - start});
        return 0;
    });
    SetTimer(h, 1, 50, nullptr);
    SetTimer(h, 2, 30, nullptr);
    velkaro::testing::advanceClock(100);
    std::vector<std::pair<UINT_PTR, uint64_t>> expected = {{2, 30}, {1, 50}, {2, 60}, {2, 90}, {1, 100}};
    EXPECT_EQ(fired, expected);
    KillTimer(h, 1);
    KillTimer(h, 2);
    fired.clear();
    velkaro::testing::advanceClock(200);
    EXPECT_TRUE(fired.empty());
}

TEST_F(UserTest, MouseMessagesCarryClientCoordinatesAndGoThroughHitTesting)
{
    HWND parent = make(WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
    HWND child = make(WS_CHILD | WS_VISIBLE, 20, 30, 100, 50, parent);
    velkaro::testing::pumpUntilIdle();
    MessageSpy spy(child);
    velkaro::testing::click(130, 140);
    velkaro::testing::pumpUntilIdle();
    std::vector<UINT> order = spy.ids({WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP});
    std::vector<UINT> expected = {WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEMOVE, WM_NCHITTEST, WM_SETCURSOR,
                                  WM_LBUTTONDOWN, WM_NCHITTEST, WM_SETCURSOR, WM_LBUTTONUP};
    EXPECT_EQ(order, expected);
    for (const auto& m : spy.messages())
        if (m.message == WM_LBUTTONDOWN) {
            EXPECT_EQ(GET_X_LPARAM(m.lParam), 10);
            EXPECT_EQ(GET_Y_LPARAM(m.lParam), 10);
            EXPECT_TRUE(m.wParam & MK_LBUTTON);
        }
}

TEST_F(UserTest, DisabledChildLetsTheMouseFallToItsParent)
{
    HWND parent = make(WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
    HWND child = make(WS_CHILD | WS_VISIBLE | WS_DISABLED, 20, 30, 100, 50, parent);
    velkaro::testing::pumpUntilIdle();
    MessageSpy parentSpy(parent), childSpy(child);
    velkaro::testing::click(130, 140);
    velkaro::testing::pumpUntilIdle();
    EXPECT_EQ(childSpy.count(WM_LBUTTONDOWN), 0u);
    EXPECT_EQ(parentSpy.count(WM_LBUTTONDOWN), 1u);
}

TEST_F(UserTest, DoubleClicksOnlyForClassesThatAskForThem)
{
    HWND plain = make(WS_POPUP | WS_VISIBLE, 100, 100, 100, 100);
    HWND dbl = make(WS_POPUP | WS_VISIBLE, 300, 100, 100, 100, nullptr, nullptr, 0, "VkTestDbl");
    velkaro::testing::pumpUntilIdle();
    MessageSpy a(plain), b(dbl);
    velkaro::testing::doubleClick(150, 150);
    velkaro::testing::pumpUntilIdle();
    velkaro::testing::doubleClick(350, 150);
    velkaro::testing::pumpUntilIdle();
    EXPECT_EQ(a.count(WM_LBUTTONDOWN), 2u);
    EXPECT_EQ(a.count(WM_LBUTTONDBLCLK), 0u);
    EXPECT_EQ(b.count(WM_LBUTTONDOWN), 1u);
    EXPECT_EQ(b.count(WM_LBUTTONDBLCLK), 1u);
}

TEST_F(UserTest, CaptureRoutesTheMouseToTheCapturingWindow)
{
    HWND a = make(WS_POPUP | WS_VISIBLE, 100, 100, 100, 100);
    HWND b = make(WS_POPUP | WS_VISIBLE, 300, 100, 100, 100);
    velkaro::testing::pumpUntilIdle();
    SetCapture(a);
    MessageSpy spyA(a), spyB(b);
    velkaro::testing::mouseMove(350, 150);
    velkaro::testing::pumpUntilIdle();
    EXPECT_EQ(spyB.count(WM_MOUSEMOVE), 0u);
    ASSERT_EQ(spyA.count(WM_MOUSEMOVE), 1u);
    for (const auto& m : spyA.messages()) {
        if (m.message == WM_MOUSEMOVE) {
            EXPECT_EQ(GET_X_LPARAM(m.lParam), 250);
        }
    }
    MessageSpy changed(a);
    ReleaseCapture();
    EXPECT_EQ(changed.count(WM_CAPTURECHANGED), 1u);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(UserTest, MouseHoverAndLeaveArriveOncePerRequest)
{
    HWND h = make(WS_POPUP | WS_VISIBLE, 100, 100, 100, 100);
    velkaro::testing::mouseMove(150, 150);
    velkaro::testing::pumpUntilIdle();
    TRACKMOUSEEVENT tme{sizeof(tme), TME_HOVER | TME_LEAVE, h, 100};
    ASSERT_TRUE(TrackMouseEvent(&tme));
    MessageSpy spy(h);
    velkaro::testing::advanceClock(150);
    EXPECT_EQ(spy.count(WM_MOUSEHOVER), 1u);
    velkaro::testing::advanceClock(500);
    EXPECT_EQ(spy.count(WM_MOUSEHOVER), 1u);
    velkaro::testing::mouseMove(500, 500);
    velkaro::testing::pumpUntilIdle();
    velkaro::testing::mouseMove(150, 150);
    velkaro::testing::mouseMove(600, 600);
    velkaro::testing::pumpUntilIdle();
    EXPECT_EQ(spy.count(WM_MOUSELEAVE), 1u);
}

TEST_F(UserTest, TrackingAWindowTheMouseIsNotOverPostsLeaveAtOnce)
{
    HWND h = make(WS_POPUP | WS_VISIBLE, 100, 100, 100, 100);
    velkaro::testing::mouseMove(500, 500);
    velkaro::testing::pumpUntilIdle();
    MessageSpy spy(h);
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, h, HOVER_DEFAULT};
    TrackMouseEvent(&tme);
    velkaro::testing::pumpUntilIdle();
    EXPECT_EQ(spy.count(WM_MOUSELEAVE), 1u);
}

TEST_F(UserTest, KeysReachTheFocusWindowAndTranslateToUtf8Bytes)
{
    HWND h = make(WS_POPUP | WS_VISIBLE, 100, 100, 100, 100);
    velkaro::testing::pumpUntilIdle();
    SetFocus(h);
    std::string typed;
    MessageSpy spy(h);
    velkaro::testing::typeText("a宋");
    velkaro::testing::pumpUntilIdle();
    for (const auto& m : spy.messages())
        if (m.message == WM_CHAR)
            typed += char(m.wParam);
    EXPECT_EQ(typed, "a宋");
    EXPECT_EQ(spy.count(WM_KEYDOWN), 2u);
    EXPECT_EQ(spy.count(WM_KEYUP), 2u);
}

TEST_F(UserTest, StaleAndForeignHandlesFailCleanly)
{
    HWND h = make(WS_POPUP, 0, 0, 10, 10);
    DestroyWindow(h);
    HWND bogus[] = {h, reinterpret_cast<HWND>(0x12345), reinterpret_cast<HWND>(-5), reinterpret_cast<HWND>(0x20010001)};
    for (HWND b : bogus) {
        RECT r;
        SetLastError(0);
        EXPECT_FALSE(IsWindow(b));
        EXPECT_FALSE(GetWindowRect(b, &r));
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
        EXPECT_EQ(SendMessageA(b, WM_USER, 0, 0), 0);
        EXPECT_FALSE(SetPropA(b, "x", reinterpret_cast<HANDLE>(1)));
        EXPECT_FALSE(DestroyWindow(b));
        EXPECT_FALSE(ShowWindow(b, SW_SHOW));
        EXPECT_FALSE(SetWindowPos(b, nullptr, 0, 0, 1, 1, 0));
        EXPECT_EQ(GetDC(b), nullptr);
        EXPECT_FALSE(InvalidateRect(b, nullptr, TRUE));
        EXPECT_EQ(SetTimer(b, 1, 10, nullptr), 0u);
        EXPECT_EQ(GetParent(b), nullptr);
        EXPECT_FALSE(PostMessageA(b, WM_USER, 0, 0));
    }
}

TEST_F(UserTest, WindowFromPointSkipsHiddenAndDisabledChildren)
{
    HWND parent = make(WS_POPUP | WS_VISIBLE, 100, 100, 300, 200);
    HWND shown = make(WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, parent);
    make(WS_CHILD | WS_VISIBLE | WS_DISABLED, 100, 10, 50, 50, parent);
    make(WS_CHILD, 200, 10, 50, 50, parent);
    EXPECT_EQ(WindowFromPoint(POINT{120, 120}), shown);
    EXPECT_EQ(WindowFromPoint(POINT{220, 120}), parent);
    EXPECT_EQ(WindowFromPoint(POINT{320, 120}), parent);
    EXPECT_EQ(WindowFromPoint(POINT{900, 700}), nullptr);
}
