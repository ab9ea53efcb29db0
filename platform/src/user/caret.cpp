// The caret: one per program, owned by one window, drawn by inverting its
// rectangle on the window's client area and blinking by a thread timer.
#include "core/last_error.h"
#include "user/window.h"

#include <windows.h>

namespace vk::user {

namespace {

struct Caret {
    HWND owner = nullptr;
    HBITMAP bitmap = nullptr; // (HBITMAP)1 means grey; the pattern is not kept
    int width = 0;
    int height = 0;
    POINT pos{};
    int hideCount = 1; // created hidden
    bool drawn = false; // inverted on screen now
    UINT_PTR timer = 0;
    UINT blink = 530;
    int paintHidden = 0; // BeginPaint/EndPaint nesting on the owner
};

Caret& caret()
{
    static Caret c;
    return c;
}

void invert()
{
    Caret& c = caret();
    if (!c.owner || !IsWindow(c.owner))
        return;
    HDC dc = GetDC(c.owner);
    if (!dc)
        return;
    RECT r{c.pos.x, c.pos.y, c.pos.x + c.width, c.pos.y + c.height};
    InvertRect(dc, &r);
    ReleaseDC(c.owner, dc);
    c.drawn = !c.drawn;
}

void erase()
{
    if (caret().drawn)
        invert();
}

bool shouldShow()
{
    const Caret& c = caret();
    return c.owner && c.hideCount == 0 && c.paintHidden == 0 && IsWindowVisible(c.owner);
}

void CALLBACK blinkProc(HWND, UINT, UINT_PTR, DWORD)
{
    if (shouldShow())
        invert();
    else
        erase();
}

void restartTimer()
{
    Caret& c = caret();
    if (c.timer)
        KillTimer(nullptr, c.timer);
    c.timer = 0;
    if (c.owner && c.blink != INFINITE)
        c.timer = SetTimer(nullptr, 0, c.blink, blinkProc);
}

// Shows the caret at once (a moved or re-shown caret is visible before it blinks).
void showNow()
{
    if (shouldShow() && !caret().drawn)
        invert();
    restartTimer();
}

} // namespace

void caretBeginPaint(HWND hwnd)
{
    Caret& c = caret();
    if (c.owner != hwnd)
        return;
    erase();
    ++c.paintHidden;
}

void caretEndPaint(HWND hwnd)
{
    Caret& c = caret();
    if (c.owner != hwnd || c.paintHidden == 0)
        return;
    if (--c.paintHidden == 0)
        showNow();
}

void caretWindowDestroyed(HWND hwnd)
{
    if (caret().owner == hwnd)
        DestroyCaret();
}

} // namespace vk::user

using namespace vk::user;

BOOL WINAPI CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height)
{
    if (!vk::user::checked(hwnd))
        return FALSE;
    DestroyCaret();
    Caret& c = caret();
    c.owner = hwnd;
    c.bitmap = bitmap;
    BITMAP bm{};
    if (bitmap && bitmap != reinterpret_cast<HBITMAP>(1) && GetObjectA(bitmap, sizeof bm, &bm)) {
        width = bm.bmWidth;
        height = bm.bmHeight;
    }
    c.width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
    c.height = height > 0 ? height : GetSystemMetrics(SM_CYBORDER);
    c.pos = POINT{0, 0};
    c.hideCount = 1;
    c.drawn = false;
    c.paintHidden = 0;
    return TRUE;
}

BOOL WINAPI DestroyCaret(void)
{
    Caret& c = caret();
    if (!c.owner)
        return vk::failWith(ERROR_ACCESS_DENIED, FALSE);
    erase();
    if (c.timer)
        KillTimer(nullptr, c.timer);
    c.timer = 0;
    c.owner = nullptr;
    c.hideCount = 1;
    c.drawn = false;
    return TRUE;
}

BOOL WINAPI HideCaret(HWND hwnd)
{
    Caret& c = caret();
    if (!c.owner || (hwnd && hwnd != c.owner))
        return vk::failWith(ERROR_ACCESS_DENIED, FALSE);
    erase();
    ++c.hideCount;
    return TRUE;
}

BOOL WINAPI ShowCaret(HWND hwnd)
{
    Caret& c = caret();
    if (!c.owner || (hwnd && hwnd != c.owner))
        return vk::failWith(ERROR_ACCESS_DENIED, FALSE);
    if (c.hideCount == 0)
        return TRUE;
    if (--c.hideCount == 0)
        showNow();
    return TRUE;
}

BOOL WINAPI SetCaretPos(int x, int y)
{
    Caret& c = caret();
    if (!c.owner)
        return vk::failWith(ERROR_ACCESS_DENIED, FALSE);
    if (c.pos.x == x && c.pos.y == y)
        return TRUE;
    erase();
    c.pos = POINT{x, y};
    showNow();
    return TRUE;
}

BOOL WINAPI GetCaretPos(LPPOINT pt)
{
    if (!pt)
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    *pt = caret().pos;
    return TRUE;
}

UINT WINAPI GetCaretBlinkTime(void) { return caret().blink; }

BOOL WINAPI SetCaretBlinkTime(UINT ms)
{
    if (ms == 0)
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    caret().blink = ms;
    if (caret().timer)
        restartTimer();
    return TRUE;
}
