// The orders in which windows receive their messages when they are created,
// shown, activated, hidden and destroyed.
#include "fixture.h"

using namespace vktest;
using velkaro::testing::MessageSpy;

namespace {

const std::vector<UINT> kLifecycle = {WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE,
                                      WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_ACTIVATEAPP,
                                      WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS, WM_NCPAINT,
                                      WM_ERASEBKGND, WM_DESTROY, WM_NCDESTROY};

std::vector<UINT> idsFor(const MessageSpy& spy, HWND hwnd)
{
    std::vector<UINT> out;
    for (const auto& m : spy.messages())
        if (m.hwnd == hwnd && std::find(kLifecycle.begin(), kLifecycle.end(), m.message) != kLifecycle.end())
            out.push_back(m.message);
    return out;
}

HWND lastCreated(const MessageSpy& spy)
{
    for (auto it = spy.messages().rbegin(); it != spy.messages().rend(); ++it)
        if (it->message == WM_NCCREATE)
            return it->hwnd;
    return nullptr;
}

} // namespace

TEST_F(UserTest, CreationAsksMinMaxOnlyForOverlappedAndSizingWindows)
{
    struct Case {
        DWORD style;
        bool minmax;
    } cases[] = {
        {WS_OVERLAPPEDWINDOW, true},
        {WS_POPUP, false},
        {WS_POPUP | WS_THICKFRAME, true},
        {WS_POPUP | WS_CAPTION, false},
    };
    for (const Case& c : cases) {
        MessageSpy spy;
        HWND h = make(c.style, 10, 10, 200, 150);
        std::vector<UINT> expected = {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE};
        if (c.minmax)
            expected.insert(expected.begin(), WM_GETMINMAXINFO);
        EXPECT_EQ(idsFor(spy, h), expected) << std::hex << c.style;
    }
}

TEST_F(UserTest, ShowingATopLevelWindowActivatesItBeforeItsFirstErase)
{
    velkaro::testing::activateOtherProgram();
    velkaro::testing::pumpUntilIdle();
    MessageSpy spy;
    HWND h = make(WS_POPUP | WS_VISIBLE | WS_BORDER, 50, 50, 200, 100);
    std::vector<UINT> expected = {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                                  WM_WINDOWPOSCHANGING, WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS,
                                  WM_NCPAINT, WM_ERASEBKGND, WM_WINDOWPOSCHANGED};
    EXPECT_EQ(idsFor(spy, h), expected);
    EXPECT_EQ(GetActiveWindow(), h);
    EXPECT_EQ(GetFocus(), h);
}

TEST_F(UserTest, ShowingWithoutBorderSendsNoNcPaint)
{
    MessageSpy spy;
    HWND h = make(WS_POPUP, 50, 50, 200, 100);
    ShowWindow(h, SW_SHOWNA);
    auto ids = idsFor(spy, h);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), UINT(WM_NCPAINT)), 0);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), UINT(WM_ERASEBKGND)), 1);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), UINT(WM_ACTIVATE)), 0);
}

TEST_F(UserTest, HidingTheActiveWindowDeactivatesTheProgramAfterThePositionMessages)
{
    HWND h = make(WS_POPUP | WS_VISIBLE, 50, 50, 200, 100);
    velkaro::testing::pumpUntilIdle();
    ASSERT_EQ(GetActiveWindow(), h);
    MessageSpy spy(h);
    ShowWindow(h, SW_HIDE);
    std::vector<UINT> expected = {WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_NCACTIVATE,
                                  WM_ACTIVATE, WM_ACTIVATEAPP, WM_KILLFOCUS};
    EXPECT_EQ(idsFor(spy, h), expected);
    EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST_F(UserTest, DestructionSendsDestroyTopDownAndNcDestroyBottomUp)
{
    HWND parent = make(WS_POPUP | WS_VISIBLE, 50, 50, 200, 100);
    HWND child = make(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent);
    HWND grandchild = make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, child);
    MessageSpy spy;
    DestroyWindow(parent);
    std::vector<std::pair<HWND, UINT>> got;
    for (const auto& m : spy.messages())
        if (m.message == WM_DESTROY || m.message == WM_NCDESTROY)
            got.push_back({m.hwnd, m.message});
    std::vector<std::pair<HWND, UINT>> expected = {
        {parent, WM_DESTROY},       {child, WM_DESTROY},   {grandchild, WM_DESTROY},
        {grandchild, WM_NCDESTROY}, {child, WM_NCDESTROY}, {parent, WM_NCDESTROY},
    };
    EXPECT_EQ(got, expected);
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(IsWindow(grandchild));
}

TEST_F(UserTest, TimersPropertiesAndCaptureOfADeadWindowAreGone)
{
    HWND h = make(WS_POPUP | WS_VISIBLE, 50, 50, 200, 100);
    SetTimer(h, 7, 20, nullptr);
    SetPropA(h, "Hw_lbID", reinterpret_cast<HANDLE>(3));
    SetCapture(h);
    DestroyWindow(h);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(GetPropA(h, "Hw_lbID"), nullptr);
    EXPECT_FALSE(KillTimer(h, 7));
    MessageSpy spy;
    velkaro::testing::advanceClock(100);
    EXPECT_EQ(spy.count(WM_TIMER), 0u);
}

TEST_F(UserTest, AWindowDestroyedInsideItsOwnHandlerIsSafe)
{
    bool after = false;
    HWND h = make(WS_POPUP | WS_VISIBLE, 100, 100, 100, 100, nullptr,
                  [&](HWND hwnd, UINT msg, WPARAM, LPARAM, bool& handled) -> LRESULT {
                      if (msg == WM_LBUTTONDOWN) {
                          DestroyWindow(hwnd);
                          after = !IsWindow(hwnd) && GetWindowLongA(hwnd, GWL_STYLE) == 0 &&
                                  GetLastError() == ERROR_INVALID_WINDOW_HANDLE;
                          handled = true;
                      }
                      return 0;
                  });
    velkaro::testing::pumpUntilIdle();
    velkaro::testing::click(150, 150);
    velkaro::testing::pumpUntilIdle();
    EXPECT_TRUE(after);
    EXPECT_FALSE(IsWindow(h));
}
