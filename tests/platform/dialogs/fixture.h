// An owner window on the headless screen for the modal boxes, and helpers to
// look at a box while it runs (from the idle handler its loop calls when the
// scripted input is used up).
#pragma once

#include <velkaro/testing.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace dlgtest {

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        velkaro::testing::startHeadless(1024, 768);
        static bool registered = false;
        if (!registered) {
            registered = true;
            WNDCLASSA wc{};
            wc.lpfnWndProc = DefWindowProcA;
            wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
            wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
            wc.lpszClassName = "VkDialogOwner";
            RegisterClassA(&wc);
        }
        owner = CreateWindowExA(0, "VkDialogOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 640, 480,
                                nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
        velkaro::testing::pumpUntilIdle();
        velkaro::testing::clearRecords();
    }
    void TearDown() override
    {
        velkaro::testing::setIdleHandler(nullptr);
        if (IsWindow(owner))
            DestroyWindow(owner);
        velkaro::testing::pumpUntilIdle();
        velkaro::testing::clearQuit();
        velkaro::testing::clearRecords();
    }

    // Runs `look` once, the first time the modal loop runs dry, with the box
    // that is active then; returning false from the handler ends the box.
    void whenShown(std::function<void(HWND box)> look)
    {
        velkaro::testing::setIdleHandler([look = std::move(look), done = false]() mutable {
            if (!done) {
                done = true;
                look(GetActiveWindow());
            }
            return false;
        });
    }

    static std::string textOf(HWND hwnd)
    {
        char buf[512] = {};
        GetWindowTextA(hwnd, buf, sizeof buf);
        return buf;
    }

    static std::string outputPath(const char* name) { return std::string(VK_TEST_OUTPUT_DIR) + "/" + name; }

    HWND owner = nullptr;
};

} // namespace dlgtest
