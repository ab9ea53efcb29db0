// Keyboard focus and activation of top-level windows, including the
// program-wide WM_ACTIVATEAPP when the program as a whole gains or loses
// activation.
#include "backend/backend.h"
#include "core/last_error.h"
#include "user/window.h"

#include <algorithm>

namespace vk::user {

namespace {

void broadcastActivateApp(bool active)
{
    std::vector<HWND> tops;
    for (Window* t : state().topLevels)
        tops.push_back(t->hwnd);
    for (HWND h : tops)
        sendTo(h, WM_ACTIVATEAPP, active ? TRUE : FALSE, 0);
}

void killFocusOutside(Window* keepInside)
{
    State& s = state();
    Window* f = fromHandle(s.focus);
    if (!f)
        return;
    if (keepInside && (f == keepInside || isDescendant(keepInside, f)))
        return;
    HWND old = s.focus;
    s.focus = nullptr;
    sendTo(old, WM_KILLFOCUS, 0, 0);
}

} // namespace

void activate(Window* top, bool byMouse, bool fromBackend)
{
    State& s = state();
    if (!top)
        return;
    top = topLevelOf(top);
    HWND hwnd = top->hwnd;
    if (s.active == hwnd) {
        if (!s.appActive) {
            s.appActive = true;
            broadcastActivateApp(true);
        }
        return;
    }
    if (!fromBackend && !s.topLevels.empty() && s.topLevels.front() != top && !top->minimized())
        setWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!fromHandle(hwnd))
        return;

    HWND old = s.active;
    if (Window* o = fromHandle(old)) {
        send(o, WM_NCACTIVATE, FALSE, reinterpret_cast<LPARAM>(hwnd));
        if ((o = fromHandle(old)))
            send(o, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, o->minimized() ? 1 : 0), reinterpret_cast<LPARAM>(hwnd));
    }
    if (!fromHandle(hwnd))
        return;
    s.active = hwnd;
    if (!s.appActive) {
        s.appActive = true;
        broadcastActivateApp(true);
    }
    if (!fromHandle(hwnd) || s.active != hwnd)
        return;
    send(top, WM_NCACTIVATE, TRUE, reinterpret_cast<LPARAM>(old));
    if (!fromHandle(hwnd) || s.active != hwnd)
        return;
    send(top, WM_ACTIVATE, MAKEWPARAM(byMouse ? WA_CLICKACTIVE : WA_ACTIVE, top->minimized() ? 1 : 0),
         reinterpret_cast<LPARAM>(old));
    if (!fromHandle(hwnd))
        return;
    killFocusOutside(top);
    if (!fromBackend && backendStarted())
        backend().activateWindow(hwnd);
}

void deactivateApp(bool fromBackend)
{
    State& s = state();
    if (!s.appActive && !s.active)
        return;
    HWND old = s.active;
    if (Window* o = fromHandle(old)) {
        send(o, WM_NCACTIVATE, FALSE, 0);
        if ((o = fromHandle(old)))
            send(o, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, o->minimized() ? 1 : 0), 0);
    }
    s.active = nullptr;
    if (s.appActive) {
        s.appActive = false;
        broadcastActivateApp(false);
    }
    killFocusOutside(nullptr);
    (void)fromBackend;
}

void activateNextAfter(Window* leaving)
{
    State& s = state();
    if (s.active != leaving->hwnd)
        return;
    for (Window* t : s.topLevels) {
        if (t == leaving || !(t->style & WS_VISIBLE) || t->minimized() || (t->style & WS_DISABLED) ||
            (t->exStyle & WS_EX_TOOLWINDOW) || t->destroying)
            continue;
        activate(t, false);
        return;
    }
    deactivateApp(false);
}

void windowGoingAway(Window* w)
{
    State& s = state();
    Window* f = fromHandle(s.focus);
    if (f && (f == w || isDescendant(w, f))) {
        HWND old = s.focus;
        s.focus = nullptr;
        sendTo(old, WM_KILLFOCUS, 0, 0);
    }
    if (fromHandle(w->hwnd) && s.active == w->hwnd)
        activateNextAfter(w);
}

} // namespace vk::user

using namespace vk;
using namespace vk::user;

extern "C" {

HWND WINAPI GetFocus(void) { return state().focus; }

HWND WINAPI SetFocus(HWND hwnd)
{
    State& s = state();
    HWND old = s.focus;
    if (!hwnd) {
        if (old) {
            s.focus = nullptr;
            sendTo(old, WM_KILLFOCUS, 0, 0);
        }
        return old;
    }
    Window* w = checked(hwnd);
    if (!w)
        return nullptr;
    if (w->style & WS_DISABLED)
        return failWith(ERROR_ACCESS_DENIED, HWND(nullptr));
    Window* top = topLevelOf(w);
    if (s.active != top->hwnd || !s.appActive) {
        activate(top, false);
        if (!fromHandle(hwnd))
            return nullptr;
        old = s.focus;
    }
    if (s.focus == hwnd)
        return old;
    old = s.focus;
    if (old) {
        sendTo(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
        if (!fromHandle(hwnd))
            return old;
    }
    s.focus = hwnd;
    send(w, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

HWND WINAPI GetActiveWindow(void) { return state().active; }

HWND WINAPI SetActiveWindow(HWND hwnd)
{
    State& s = state();
    HWND old = s.active;
    if (!hwnd) {
        deactivateApp(false);
        return old;
    }
    Window* w = checked(hwnd);
    if (!w)
        return nullptr;
    activate(topLevelOf(w), false);
    return old;
}

HWND WINAPI GetForegroundWindow(void) { return state().appActive ? state().active : nullptr; }

BOOL WINAPI SetForegroundWindow(HWND hwnd)
{
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    activate(topLevelOf(w), false);
    return TRUE;
}

BOOL WINAPI BringWindowToTop(HWND hwnd)
{
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

} // extern "C"
