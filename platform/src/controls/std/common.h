// Pieces every standard control shares: its state record behind the first
// window-extra slot, notifications to the parent and the parent's colours.
#pragma once

#include "user/classes.h"

#include <windows.h>

#include <string>

namespace vk::stdctl {

// The state record lives in the control's window extra bytes (slot 0), made
// on WM_NCCREATE and deleted on WM_NCDESTROY.
template <class T>
T* stateOf(HWND hwnd)
{
    return reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, 0));
}

template <class T>
T* attachState(HWND hwnd)
{
    T* s = new T();
    SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(s));
    return s;
}

template <class T>
void detachState(HWND hwnd)
{
    delete stateOf<T>(hwnd);
    SetWindowLongPtrA(hwnd, 0, 0);
}

// WM_PAINT: paints into the DC that wParam gives (as a parent drawing the
// control into its own DC does) or else between BeginPaint and EndPaint.
template <class Paint>
LRESULT paintMessage(HWND hwnd, WPARAM wp, Paint&& paint)
{
    PAINTSTRUCT ps;
    HDC dc = wp ? reinterpret_cast<HDC>(wp) : BeginPaint(hwnd, &ps);
    if (dc)
        paint(dc);
    if (!wp)
        EndPaint(hwnd, &ps);
    return 0;
}

inline HWND parentOf(HWND hwnd)
{
    HWND p = GetParent(hwnd);
    return p;
}

inline void notifyParent(HWND hwnd, UINT code)
{
    HWND p = parentOf(hwnd);
    if (p)
        SendMessageA(p, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), code), reinterpret_cast<LPARAM>(hwnd));
}

// Asks the parent (or the default procedure) for the brush and DC colours.
inline HBRUSH controlColor(HWND hwnd, UINT msg, HDC dc)
{
    HWND p = parentOf(hwnd);
    HBRUSH b = nullptr;
    if (p)
        b = reinterpret_cast<HBRUSH>(SendMessageA(p, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
    else
        b = reinterpret_cast<HBRUSH>(DefWindowProcA(hwnd, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
    return b;
}

inline HFONT defaultFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

inline std::string windowText(HWND hwnd)
{
    int n = GetWindowTextLengthA(hwnd);
    std::string s(size_t(n > 0 ? n : 0) + 1, '\0');
    int got = GetWindowTextA(hwnd, s.data(), n + 1);
    s.resize(size_t(got > 0 ? got : 0));
    return s;
}

// Registers a system class with one pointer of window extra bytes.
inline void registerControlClass(const char* name, WNDPROC proc, UINT style, LPCSTR cursor = IDC_ARROW)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = style | CS_GLOBALCLASS;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = sizeof(void*);
    wc.hCursor = LoadCursorA(nullptr, cursor);
    wc.lpszClassName = name;
    vk::user::registerSystemClass(wc);
}

// Byte length of the UTF-8 sequence that starts with lead (1 for stray bytes).
inline int utf8Length(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead >> 5) == 6)
        return 2;
    if ((lead >> 4) == 14)
        return 3;
    if ((lead >> 3) == 30)
        return 4;
    return 1;
}

inline bool utf8Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

} // namespace vk::stdctl
