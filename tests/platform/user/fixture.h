// A small window tree on the headless screen for the window-manager tests.
#pragma once

#include <velkaro/testing.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace vktest {

// A window class whose procedure is a per-window std::function, so each test
// states the behaviour it needs next to its assertions.
using Handler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM, bool& handled)>;

inline std::map<HWND, Handler>& handlers()
{
    static std::map<HWND, Handler> h;
    return h;
}

inline Handler& pendingHandler()
{
    static Handler h;
    return h;
}

inline LRESULT CALLBACK testProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto& hs = handlers();
    if (msg == WM_NCCREATE && pendingHandler()) {
        hs[hwnd] = pendingHandler();
        pendingHandler() = nullptr;
    }
    auto it = hs.find(hwnd);
    if (it != hs.end()) {
        bool handled = false;
        Handler h = it->second;
        LRESULT r = h(hwnd, msg, wp, lp, handled);
        if (handled)
            return r;
    }
    if (msg == WM_NCDESTROY)
        hs.erase(hwnd);
    return DefWindowProcA(hwnd, msg, wp, lp);
}

inline void registerTestClasses()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    WNDCLASSA wc{};
    wc.lpfnWndProc = testProc;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(RGB(200, 200, 200));
    wc.lpszClassName = "VkTest";
    RegisterClassA(&wc);
    wc.style = CS_DBLCLKS;
    wc.lpszClassName = "VkTestDbl";
    RegisterClassA(&wc);
}

class UserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        velkaro::testing::startHeadless(1024, 768);
        registerTestClasses();
        velkaro::testing::pumpUntilIdle();
    }
    void TearDown() override
    {
        for (HWND h : m_windows)
            if (IsWindow(h))
                DestroyWindow(h);
        velkaro::testing::pumpUntilIdle();
        velkaro::testing::clearQuit();
        ReleaseCapture();
    }

    HWND make(DWORD style, int x, int y, int w, int h, HWND parent = nullptr, Handler handler = nullptr,
              DWORD exStyle = 0, const char* cls = "VkTest", int id = 0)
    {
        pendingHandler() = std::move(handler);
        HWND hwnd = CreateWindowExA(exStyle, cls, "test", style, x, y, w, h, parent,
                                    reinterpret_cast<HMENU>(INT_PTR(id)), nullptr, nullptr);
        pendingHandler() = nullptr;
        if (!parent)
            m_windows.push_back(hwnd);
        return hwnd;
    }

    std::vector<HWND> m_windows;
};

// A handler that paints its client area in one colour.
inline Handler painter(COLORREF color, int* paints = nullptr)
{
    return [=](HWND hwnd, UINT msg, WPARAM, LPARAM, bool& handled) -> LRESULT {
        if (msg == WM_PAINT) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            RECT r;
            GetClientRect(hwnd, &r);
            HBRUSH b = CreateSolidBrush(color);
            FillRect(dc, &r, b);
            DeleteObject(b);
            EndPaint(hwnd, &ps);
            if (paints)
                ++*paints;
            handled = true;
        }
        return 0;
    };
}

} // namespace vktest
