// A parent window on the headless screen that records what its controls tell it.
#pragma once

#include <velkaro/testing.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace stdtest {

struct Command {
    int id;
    int code;
    HWND from;
};

struct Parent {
    std::vector<Command> commands;
    std::vector<DRAWITEMSTRUCT> draws;
    std::vector<std::pair<UINT, WPARAM>> scrolls; // WM_VSCROLL/WM_HSCROLL and their codes
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM, bool&)> extra;
};

inline Parent*& currentParent()
{
    static Parent* p = nullptr;
    return p;
}

inline LRESULT CALLBACK parentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    Parent* p = currentParent();
    if (p) {
        if (p->extra) {
            bool handled = false;
            LRESULT r = p->extra(hwnd, msg, wp, lp, handled);
            if (handled)
                return r;
        }
        switch (msg) {
        case WM_COMMAND:
            p->commands.push_back({LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)});
            return 0;
        case WM_DRAWITEM:
            p->draws.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
            return TRUE;
        case WM_VSCROLL:
        case WM_HSCROLL:
            p->scrolls.push_back({msg, wp});
            return 0;
        default:
            break;
        }
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

class StdCtlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        velkaro::testing::startHeadless(1024, 768);
        static bool registered = false;
        if (!registered) {
            registered = true;
            WNDCLASSA wc{};
            wc.lpfnWndProc = parentProc;
            wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
            wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
            wc.lpszClassName = "VkStdParent";
            wc.style = CS_DBLCLKS;
            RegisterClassA(&wc);
        }
        currentParent() = &parent;
        top = CreateWindowExA(0, "VkStdParent", "controls", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 600, 450, nullptr,
                              nullptr, nullptr, nullptr);
        ASSERT_NE(top, nullptr);
        velkaro::testing::pumpUntilIdle();
        velkaro::testing::clearRecords();
    }
    void TearDown() override
    {
        velkaro::testing::setIdleHandler(nullptr);
        if (IsWindow(top))
            DestroyWindow(top);
        velkaro::testing::pumpUntilIdle();
        velkaro::testing::clearQuit();
        currentParent() = nullptr;
    }

    HWND make(const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id = 100,
              DWORD exStyle = 0)
    {
        HWND c = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, top,
                                 reinterpret_cast<HMENU>(INT_PTR(id)), nullptr, nullptr);
        velkaro::testing::pumpUntilIdle();
        return c;
    }

    // Screen point at (x, y) of a window's client area.
    static POINT at(HWND hwnd, int x, int y)
    {
        POINT p{x, y};
        ClientToScreen(hwnd, &p);
        return p;
    }
    static void clickAt(HWND hwnd, int x, int y)
    {
        POINT p = at(hwnd, x, y);
        velkaro::testing::click(p.x, p.y);
        velkaro::testing::pumpUntilIdle();
    }
    static POINT center(HWND hwnd)
    {
        RECT r;
        GetClientRect(hwnd, &r);
        return at(hwnd, r.right / 2, r.bottom / 2);
    }

    size_t countCommands(int id, int code) const
    {
        size_t n = 0;
        for (auto& c : parent.commands)
            n += c.id == id && c.code == code;
        return n;
    }

    static std::string text(HWND hwnd)
    {
        char buf[1024] = {};
        GetWindowTextA(hwnd, buf, sizeof buf);
        return buf;
    }

    Parent parent;
    HWND top = nullptr;
};

} // namespace stdtest
