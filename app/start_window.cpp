#include "app/start_window.h"

#include "app/editor_window.h"
#include "app/form.h"

#include <shellapi.h>

namespace velkaro::app {

namespace {

const ControlForm kStartControls[] = {
    {"Static", "给照片配上好看的相框，一键保存", WS_VISIBLE | SS_LEFT, WS_EX_TRANSPARENT, 23, 40, 225, 16,
     kAdvertId},
    {"BUTTON", "QQ空间", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 130, 69, 80, 32, kPageButtonId},
    {"BUTTON", "加载工具", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 36, 70, 80, 32, kLoadButtonId},
};

const WindowForm kStartForm = {
    kStartWindowClass, "Velkaro", WS_POPUP | WS_MINIMIZEBOX, 0, 50, 50, 253, 127, kStartControls,
};

LRESULT CALLBACK startWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:
        windowOpened();
        createControls(hwnd, kStartForm.controls);
        onStartWindowCreate(hwnd);
        return 0;
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED) {
            if (LOWORD(wp) == kPageButtonId)
                onPageButton(hwnd);
            else if (LOWORD(wp) == kLoadButtonId)
                onLoadButton(hwnd);
        }
        return 0;
    case WM_CTLCOLORSTATIC:
        // The advertising line is transparent text over whatever the window
        // paints behind it.
        if (GetDlgCtrlID(reinterpret_cast<HWND>(lp)) == kAdvertId) {
            SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
            return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        }
        break;
    case WM_DESTROY:
        windowClosed();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

} // namespace

void registerStartWindowClass()
{
    registerFormClass(kStartWindowClass, startWindowProc);
}

HWND createStartWindow() { return createFormWindow(kStartForm); }

void onStartWindowCreate(HWND window)
{
    attachProgramWindow(window);
}

void onPageButton(HWND window)
{
    // Nothing to report when no browser opens.
    ShellExecuteA(window, "open", kAuthorPage, nullptr, nullptr, SW_SHOWNORMAL);
}

void onLoadButton(HWND window)
{
    HWND editor = createEditorWindow();
    if (editor) {
        ShowWindow(editor, SW_SHOW);
        UpdateWindow(editor);
    }
    DestroyWindow(window);
}

} // namespace velkaro::app
