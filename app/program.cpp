#include "app/program.h"

#include "app/editor_window.h"
#include "app/start_window.h"
#include "skin/core/engine.h"

#include <velkaro/assets.h>
#include <velkaro/resources.h>
#include <velkaro/testing.h>

#include <commctrl.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace velkaro::app {

namespace {

void registerIcon()
{
    assets::IconPixels icon = assets::programIconLarge();
    std::vector<DWORD> pixels(icon.pixels, icon.pixels + icon.width * icon.height);
    HINSTANCE self = GetModuleHandleA(nullptr);
    VkRegisterIconResource(self, MAKEINTRESOURCEA(assets::kIconResourceId), icon.width, icon.height, pixels.data());
    VkRegisterIconResource(self, assets::kIconResourceName, icon.width, icon.height, pixels.data());
}

int messageLoop()
{
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return int(msg.wParam);
}

} // namespace

void initRuntime()
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    registerIcon();
    registerStartWindowClass();
    registerEditorWindowClass();
}

int runProgram(const ProgramOptions& options)
{
    if (options.headless)
        testing::startHeadless();
    initRuntime();
    skin::createGlobalLists();
    std::atexit(skin::releaseSkinEngine);
    skin::initSkinEngine();

    HWND start = createStartWindow();
    if (!start) {
        std::fprintf(stderr, "velkaro: the start window could not be created\n");
        return 1;
    }
    ShowWindow(start, SW_SHOW);
    UpdateWindow(start);

    if (options.headless) {
        // No one to click on the in-memory screen: show the window, keep its
        // picture, and close it, which ends the loop below.
        testing::pumpUntilIdle();
        if (!options.screenshotPath.empty()) {
            if (testing::saveScreenshot(options.screenshotPath.c_str()))
                std::printf("velkaro: saved the start window to %s\n", options.screenshotPath.c_str());
            else
                std::fprintf(stderr, "velkaro: could not write %s\n", options.screenshotPath.c_str());
        }
        PostMessageA(start, WM_CLOSE, 0, 0);
    }
    return messageLoop();
}

} // namespace velkaro::app
