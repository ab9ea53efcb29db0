#include "app/form.h"

namespace velkaro::app {

namespace {
int g_openWindows = 0;
}

HWND createFormWindow(const WindowForm& form, void* createParam)
{
    int x = (GetSystemMetrics(SM_CXSCREEN) - form.width) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - form.height) / 2;
    return CreateWindowExA(form.exStyle, form.className, form.title, form.style, x, y, form.width, form.height,
                           nullptr, nullptr, GetModuleHandleA(nullptr), createParam);
}

void createControls(HWND parent, std::span<const ControlForm> controls)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    for (const ControlForm& c : controls)
        CreateWindowExA(c.exStyle, c.className, c.text, c.style | WS_CHILD, c.x, c.y, c.width, c.height, parent,
                        reinterpret_cast<HMENU>(INT_PTR(c.id)), instance, nullptr);
}

void windowOpened() { ++g_openWindows; }

void windowClosed()
{
    if (--g_openWindows <= 0) {
        g_openWindows = 0;
        PostQuitMessage(0);
    }
}

} // namespace velkaro::app
