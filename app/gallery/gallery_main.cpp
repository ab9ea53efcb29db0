// velkaro-controls: the controls gallery. On a display it runs until closed;
// with --headless (or without a display) it saves a screenshot and says where.
#include "app/gallery/controls_gallery.h"

#include <velkaro/testing.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    bool headless = !std::getenv("DISPLAY");
    std::string shot = "velkaro-controls.png";
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--headless")) {
            headless = true;
        } else if (!std::strcmp(argv[i], "--screenshot") && i + 1 < argc) {
            shot = argv[++i];
        } else {
            std::fprintf(stderr, "usage: velkaro-controls [--headless] [--screenshot FILE.png]\n");
            return 2;
        }
    }
    if (headless)
        velkaro::testing::startHeadless(800, 560);
    HWND gallery = velkaro::gallery::createControlsGallery();
    if (!gallery) {
        std::fprintf(stderr, "velkaro-controls: the window could not be created\n");
        return 1;
    }
    ShowWindow(gallery, SW_SHOW);
    UpdateWindow(gallery);
    if (headless) {
        velkaro::testing::pumpUntilIdle();
        if (!velkaro::testing::saveWindowScreenshot(gallery, shot.c_str())) {
            std::fprintf(stderr, "velkaro-controls: could not write %s\n", shot.c_str());
            return 1;
        }
        std::printf("velkaro-controls: saved the gallery to %s\n", shot.c_str());
        DestroyWindow(gallery);
        return 0;
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(gallery, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
