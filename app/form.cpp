#include "app/form.h"

#include "skin/core/attach.h"
#include "skin/core/background.h"
#include "skin/core/skin_images.h"

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

void registerFormClass(const char* className, WNDPROC proc)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    wc.style = CS_DBLCLKS;
    RegisterClassExA(&wc);
}

void attachProgramWindow(HWND window)
{
    skin::AttachOptions options;
    options.resizable = 0;
    options.statusPanels = std::vector<skin::StatusPanel>{};
    options.backgroundPicture = skin::Bytes{};
    skin::attachWindow(window, options);
    skin::setBackgroundPicture(window, skin::skinImages().windowBackground);
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
