// Real windows made with CreateWindowExA on the X11 backend: they appear at
// their place with their pixels, move, take their region and receive clicks.
#include "x11_test_support.h"

#include "backend/backend.h"

#include <windows.h>

namespace {

int g_clicks = 0;
POINT g_clickAt{};

LRESULT CALLBACK paintedProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r;
        GetClientRect(hwnd, &r);
        HBRUSH b = CreateSolidBrush(RGB(200, 40, 40));
        FillRect(dc, &r, b);
        DeleteObject(b);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
        ++g_clicks;
        g_clickAt = POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

void pump(int rounds = 20)
{
    for (int i = 0; i < rounds; ++i) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        vk::backend().waitEvents(10);
    }
}

class Win32OnX11 : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(getenv("DISPLAY")) << "the X11 tests need DISPLAY (scripts/test.sh starts Xvfb)";
        ASSERT_FALSE(vk::backend().isHeadless()) << "VELKARO_BACKEND=x11 is expected for these tests";
        static bool registered = false;
        if (!registered) {
            WNDCLASSA wc{};
            wc.lpfnWndProc = paintedProc;
            wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
            wc.lpszClassName = "VkX11Painted";
            RegisterClassA(&wc);
            registered = true;
        }
        m_hwnd = CreateWindowExA(0, "VkX11Painted", "x11", WS_POPUP | WS_VISIBLE, 120, 90, 160, 100, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(m_hwnd, nullptr);
        pump();
    }
    void TearDown() override
    {
        if (IsWindow(m_hwnd))
            DestroyWindow(m_hwnd);
        pump(2);
    }
    unsigned long xid() { return static_cast<vk::X11Backend&>(vk::backend()).xWindow(m_hwnd); }

    HWND m_hwnd = nullptr;
    vk::X11Probe m_probe;
};

} // namespace

TEST_F(Win32OnX11, WindowAppearsAtItsPlaceWithItsPixelsAndMoves)
{
    ASSERT_TRUE(m_probe.ok());
    m_probe.sync();
    EXPECT_EQ(m_probe.pixelAt(130, 100), 0xC82828u);
    EXPECT_EQ(m_probe.pixelAt(279, 189), 0xC82828u);
    RECT g = m_probe.geometry(xid());
    EXPECT_EQ(g, (RECT{120, 90, 280, 190}));

    MoveWindow(m_hwnd, 300, 200, 160, 100, TRUE);
    pump();
    m_probe.sync();
    EXPECT_EQ(m_probe.geometry(xid()), (RECT{300, 200, 460, 300}));
    EXPECT_EQ(m_probe.pixelAt(310, 210), 0xC82828u);
}

TEST_F(Win32OnX11, WindowRegionShapesTheRealWindow)
{
    SetWindowRgn(m_hwnd, CreateRoundRectRgn(0, 0, 161, 101, 60, 60), TRUE);
    pump();
    m_probe.sync();
    EXPECT_EQ(m_probe.pixelAt(160, 140), 0xC82828u);
    EXPECT_NE(m_probe.pixelAt(121, 91), 0xC82828u);
}

TEST_F(Win32OnX11, ClicksArriveAsClientMessages)
{
    g_clicks = 0;
    m_probe.sendButton(xid(), 1, true, 150, 120);
    m_probe.sendButton(xid(), 1, false, 150, 120);
    m_probe.sync();
    pump();
    EXPECT_EQ(g_clicks, 1);
    EXPECT_EQ(g_clickAt.x, 30);
    EXPECT_EQ(g_clickAt.y, 30);
}

TEST_F(Win32OnX11, TitleFromCreationReachesTheDesktop)
{
    m_probe.sync();
    EXPECT_EQ(m_probe.utf8Property(xid(), "_NET_WM_NAME"), "x11");
    SetWindowTextA(m_hwnd, "画框");
    pump(2);
    m_probe.sync();
    EXPECT_EQ(m_probe.utf8Property(xid(), "_NET_WM_NAME"), "画框");
}

TEST_F(Win32OnX11, TheDesktopsMinimizeAndRestoreBecomeSystemCommands)
{
    ASSERT_TRUE(m_probe.ok());
    m_probe.setWmState(xid(), 3);  // IconicState
    pump();
    EXPECT_TRUE(IsIconic(m_hwnd));
    m_probe.setWmState(xid(), 1);  // NormalState
    pump();
    EXPECT_FALSE(IsIconic(m_hwnd));
    RECT r;
    GetWindowRect(m_hwnd, &r);
    EXPECT_EQ(r, (RECT{120, 90, 280, 190}));
}

TEST_F(Win32OnX11, TheDesktopPanelAnswersAsTheTaskbarWindow)
{
    ASSERT_TRUE(m_probe.ok());
    const SIZE s = vk::backend().screenSize();
    m_probe.deleteRootProperty("_NET_WORKAREA");
    m_probe.deleteRootProperty("_NET_CURRENT_DESKTOP");
    m_probe.sync();
    EXPECT_EQ(FindWindowA("Shell_TrayWnd", nullptr), nullptr);

    m_probe.setRootCardinals("_NET_WORKAREA", {0, 0, s.cx, s.cy - 40});
    m_probe.sync();
    HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    ASSERT_NE(tray, nullptr);
    RECT r;
    GetWindowRect(tray, &r);
    EXPECT_EQ(r, (RECT{0, s.cy - 40, s.cx, s.cy}));
    EXPECT_TRUE(GetWindowLongA(tray, GWL_STYLE) & WS_VISIBLE);
    EXPECT_EQ(static_cast<vk::X11Backend&>(vk::backend()).xWindow(tray), 0u);  // nothing on the real desktop

    m_probe.deleteRootProperty("_NET_WORKAREA");
    m_probe.sync();
    EXPECT_EQ(FindWindowA("Shell_TrayWnd", nullptr), nullptr);
    EXPECT_FALSE(IsWindow(tray));
}
