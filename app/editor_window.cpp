#include "app/editor_window.h"

#include "app/form.h"

namespace velkaro::app {

namespace {

const char* const kStyleNames[] = {"普通", "颜色选择1", "颜色选择2", "颜色选择3", "颜色选择4", "颜色选择5"};

const ControlForm kEditorControls[] = {
    {"Static", "", WS_VISIBLE | SS_BLACKFRAME, 0, 31, 41, 160, 248, kPictureAreaId},
    {"BUTTON", "更改图片", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 32, 301, 76, 40, kChangeButtonId},
    {"BUTTON", "保存图片", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 112, 301, 76, 40, kSaveButtonId},
    {"ComboBox", "", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 40, 346, 143, 20, kStyleListId},
};

const WindowForm kEditorForm = {
    kEditorWindowClass, "Velkaro", WS_POPUP | WS_MINIMIZEBOX, 0, 50, 50, 226, 388, kEditorControls,
};

void onEditorCreate(HWND window)
{
    HWND styles = GetDlgItem(window, kStyleListId);
    for (const char* name : kStyleNames)
        SendMessageA(styles, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SetWindowTextA(styles, "请选择！");

    attachProgramWindow(window);
}

LRESULT CALLBACK editorWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE:
        windowOpened();
        createControls(hwnd, kEditorForm.controls);
        onEditorCreate(hwnd);
        return 0;
    case WM_DESTROY:
        windowClosed();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

} // namespace

void registerEditorWindowClass()
{
    registerFormClass(kEditorWindowClass, editorWindowProc);
}

HWND createEditorWindow() { return createFormWindow(kEditorForm); }

} // namespace velkaro::app
