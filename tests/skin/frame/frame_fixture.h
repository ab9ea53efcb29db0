// A skinned window on the headless screen: the window's class attaches it
// from WM_CREATE with the options the test put in `nextOptions`.
#pragma once

#include "skin/core/attach.h"
#include "skin/core/background.h"
#include "skin/core/engine.h"
#include "skin/core/properties.h"
#include "skin/core/registry.h"

#include <gtest/gtest.h>
#include <velkaro/testing.h>

#include <vector>

namespace frame_test {

namespace vs = velkaro::skin;
namespace vt = velkaro::testing;

inline vs::AttachOptions nextOptions;
inline std::vector<UINT> appMessages;  // what the application's own procedure saw

inline LRESULT CALLBACK appProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_CREATE)
        vs::attachWindow(hwnd, nextOptions);
    appMessages.push_back(msg);
    return DefWindowProcA(hwnd, msg, wp, lp);
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(vt::startHeadless(1024, 768));
        vs::createGlobalLists();
        vs::initSkinEngine();
        nextOptions = {};
        appMessages.clear();
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = appProc;
        wc.lpszClassName = "FrameTestWindow";
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        RegisterClassA(&wc);
    }
    void TearDown() override
    {
        for (HWND w : m_windows)
            if (IsWindow(w))
                DestroyWindow(w);
        vt::pumpUntilIdle();
        vs::shutdownGdiplus();
        vs::releaseSkinEngine();
    }

    HWND open(int w = 253, int h = 127, DWORD style = WS_POPUP | WS_MINIMIZEBOX, int x = 100, int y = 100,
              bool show = true)
    {
        HWND hwnd = CreateWindowExA(0, "FrameTestWindow", "Velkaro", style, x, y, w, h, nullptr, nullptr, nullptr,
                                    nullptr);
        m_windows.push_back(hwnd);
        if (show) {
            ShowWindow(hwnd, SW_SHOW);
            vt::pumpUntilIdle();
        }
        return hwnd;
    }

    static vs::WindowSkin& skinOf(HWND hwnd) { return vs::skinAt(vs::findSkinSlot(hwnd)); }

    // A screen point from a point in the window's client area.
    static POINT onScreen(HWND hwnd, int x, int y)
    {
        POINT p{x, y};
        ClientToScreen(hwnd, &p);
        return p;
    }
    static void moveTo(HWND hwnd, int x, int y)
    {
        POINT p = onScreen(hwnd, x, y);
        vt::mouseMove(p.x, p.y);
        vt::pumpUntilIdle();
    }

    std::vector<HWND> m_windows;
};

} // namespace frame_test
