// Shared pieces of the common controls: per-window state kept in the class's
// window extra bytes, WM_NOTIFY to the parent and the classic look's font.
#pragma once

#include <commctrl.h>
#include <windows.h>

#include <string>

namespace vk::comctl {

// Sends WM_NOTIFY to the control's parent with hdr's NMHDR fields filled in.
LRESULT notifyParent(HWND from, UINT code, NMHDR* hdr);
// WM_COMMAND or WM_HSCROLL/VSCROLL style messages to the parent; 0 without one.
LRESULT sendToParent(HWND from, UINT msg, WPARAM wp, LPARAM lp);

HFONT defaultFont();

// The first row or pixel a WM_VSCROLL/WM_HSCROLL code asks for: a line or a
// page either way, the ends (0 and last), or the thumb's track position;
// current when the code moves nothing.
int scrollTarget(HWND hwnd, int bar, UINT code, int current, int line, int page, int last);

// Whole wheel notches in a WM_MOUSEWHEEL's wParam, with what falls short of a
// notch kept in pending for the next message (precise wheels send less).
int wheelNotches(int& pending, WPARAM wp);

// Registers a control class: its state (T) is created on WM_NCCREATE and
// freed on WM_NCDESTROY; T::proc handles the rest.
void registerControlClass(const char* name, WNDPROC proc, UINT style = CS_DBLCLKS);

template <class T>
T* stateOf(HWND hwnd)
{
    return reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, 0));
}

// The generic window procedure: T has a constructor taking (HWND, const CREATESTRUCTA&)
// and LRESULT handle(UINT, WPARAM, LPARAM).
template <class T>
LRESULT CALLBACK controlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    T* self = stateOf<T>(hwnd);
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        if (!cs)
            return FALSE;
        self = new T(hwnd, *cs);
        SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(self));
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    if (!self)
        return DefWindowProcA(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, 0, 0);
        delete self;
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    return self->handle(msg, wp, lp);
}

// Font handling every control shares (WM_SETFONT / WM_GETFONT).
struct FontHolder {
    HFONT font = nullptr;
    HFONT get() const { return font ? font : defaultFont(); }
};

// Draws text with the control's font; restores the DC.
void drawText(HDC dc, HFONT font, const std::string& text, RECT rc, UINT format, COLORREF color);
SIZE textExtent(HDC dc, HFONT font, const std::string& text);

int clampInt(long long v, int lo, int hi);

// Pointers passed in wParam/lParam: null, small numbers and -1 are never addresses.
template <class T>
T* userPointer(UINT_PTR v)
{
    return v >= 0x10000 && v != static_cast<UINT_PTR>(-1) ? reinterpret_cast<T*>(v) : nullptr;
}

} // namespace vk::comctl
