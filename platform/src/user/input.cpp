// Input: backend events become mouse and keyboard messages at the moment a
// message loop retrieves them (hit test, WM_SETCURSOR, mouse activation,
// double clicks), plus capture, mouse tracking, key state and SendInput.
#include "backend/backend.h"
#include "core/clock.h"
#include "core/last_error.h"
#include "user/cursors.h"
#include "user/window.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <optional>

namespace vk::user {

namespace {

struct InputState {
    std::deque<InputEvent> raw;
    std::optional<MSG> pending; // converted but not yet taken (filtered out)
    POINT cursor{-1, -1};
    BYTE keys[256]{};
    struct LastDown {
        int button = 0;
        HWND hwnd = nullptr;
        bool client = false;
        uint64_t time = 0;
        POINT pt{};
    } lastDown;
    std::string lastKeyText;
    DWORD lastKeyTime = 0;
    WPARAM lastKeyVk = 0;
    UINT dblClickTime = 500;
};

InputState& input()
{
    static InputState* s = new InputState();
    return *s;
}

bool keyDown(int vk) { return input().keys[vk & 0xFF] & 0x80; }

WPARAM mouseKeys()
{
    WPARAM k = 0;
    if (keyDown(VK_LBUTTON))
        k |= MK_LBUTTON;
    if (keyDown(VK_RBUTTON))
        k |= MK_RBUTTON;
    if (keyDown(VK_MBUTTON))
        k |= MK_MBUTTON;
    if (keyDown(VK_SHIFT))
        k |= MK_SHIFT;
    if (keyDown(VK_CONTROL))
        k |= MK_CONTROL;
    if (keyDown(VK_XBUTTON1))
        k |= MK_XBUTTON1;
    if (keyDown(VK_XBUTTON2))
        k |= MK_XBUTTON2;
    return k;
}

bool pointInWindow(Window* w, POINT screen)
{
    RECT r = windowRectOnScreen(w);
    if (!PtInRect(&r, screen))
        return false;
    if (w->windowRgn && !w->windowRgn->contains(screen.x - r.left, screen.y - r.top))
        return false;
    return true;
}

// The deepest enabled, visible window at a screen point, skipping the
// windows in `skip` (those that answered HTTRANSPARENT).
Window* childAt(Window* parent, POINT screen, const std::vector<Window*>& skip)
{
    RECT client = clientRectOnScreen(parent);
    if (!PtInRect(&client, screen))
        return parent;
    for (Window* c : parent->children) {
        if (!(c->style & WS_VISIBLE) || (c->style & WS_DISABLED) || (c->exStyle & WS_EX_TRANSPARENT))
            continue;
        if (std::find(skip.begin(), skip.end(), c) != skip.end())
            continue;
        if (pointInWindow(c, screen))
            return childAt(c, screen, skip);
    }
    return parent;
}

Window* windowAt(POINT screen, const std::vector<Window*>& skip)
{
    for (Window* t : state().topLevels) {
        if (!(t->style & WS_VISIBLE) || t->minimized())
            continue;
        if (std::find(skip.begin(), skip.end(), t) != skip.end())
            continue;
        if (pointInWindow(t, screen))
            return childAt(t, screen, skip);
    }
    return nullptr;
}

// Hit-tests through WM_NCHITTEST, falling through HTTRANSPARENT windows.
Window* hitTestAt(POINT screen, LRESULT& hit)
{
    std::vector<Window*> skip;
    for (int guard = 0; guard < 64; ++guard) {
        Window* w = windowAt(screen, skip);
        if (!w)
            return nullptr;
        HWND h = w->hwnd;
        hit = send(w, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
        if (!fromHandle(h))
            return nullptr;
        if (hit != HTTRANSPARENT)
            return w;
        skip.push_back(w);
    }
    return nullptr;
}

UINT buttonMessage(int button, bool down, bool client, bool dbl)
{
    static const UINT clientDown[] = {0, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_XBUTTONDOWN, WM_XBUTTONDOWN};
    static const UINT clientUp[] = {0, WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP, WM_XBUTTONUP, WM_XBUTTONUP};
    static const UINT clientDbl[] = {0, WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK, WM_XBUTTONDBLCLK,
                                     WM_XBUTTONDBLCLK};
    static const UINT ncDown[] = {0, WM_NCLBUTTONDOWN, WM_NCRBUTTONDOWN, WM_NCMBUTTONDOWN, WM_NCXBUTTONDOWN,
                                  WM_NCXBUTTONDOWN};
    static const UINT ncUp[] = {0, WM_NCLBUTTONUP, WM_NCRBUTTONUP, WM_NCMBUTTONUP, WM_NCXBUTTONUP, WM_NCXBUTTONUP};
    static const UINT ncDbl[] = {0, WM_NCLBUTTONDBLCLK, WM_NCRBUTTONDBLCLK, WM_NCMBUTTONDBLCLK, WM_NCXBUTTONDBLCLK,
                                 WM_NCXBUTTONDBLCLK};
    if (button < 1 || button > 5)
        return 0;
    if (client)
        return down ? (dbl ? clientDbl[button] : clientDown[button]) : clientUp[button];
    return down ? (dbl ? ncDbl[button] : ncDown[button]) : ncUp[button];
}

int buttonVk(int button)
{
    static const int vks[] = {0, VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, VK_XBUTTON1, VK_XBUTTON2};
    return (button >= 1 && button <= 5) ? vks[button] : 0;
}

MSG makeMsg(HWND hwnd, UINT message, WPARAM wp, LPARAM lp)
{
    MSG m{};
    m.hwnd = hwnd;
    m.message = message;
    m.wParam = wp;
    m.lParam = lp;
    m.time = DWORD(nowMs());
    m.pt = input().cursor;
    return m;
}

void startHover(MouseTracking& t, POINT pt)
{
    int w = 4, h = 4;
    t.hoverRect = RECT{pt.x - w / 2, pt.y - h / 2, pt.x + w / 2, pt.y + h / 2};
    t.hoverDue = nowMs() + t.hoverTime;
}

void trackMove(Window* under, LRESULT hit, POINT pt)
{
    MouseTracking& t = state().tracking;
    if (!t.hwnd)
        return;
    if (t.flags & TME_HOVER) {
        if (!PtInRect(&t.hoverRect, pt))
            startHover(t, pt);
    }
    (void)under;
    (void)hit;
    checkMouseLeave();
}

// Converts one backend event; false when it produces no message.
bool convert(const InputEvent& ev, MSG& out)
{
    InputState& in = input();
    State& s = state();
    switch (ev.type) {
    case InputEvent::Type::MouseMove:
    case InputEvent::Type::ButtonDown:
    case InputEvent::Type::ButtonUp:
    case InputEvent::Type::Wheel: {
        POINT pt{ev.x, ev.y};
        in.cursor = pt;
        if (ev.type == InputEvent::Type::Wheel) {
            Window* target = fromHandle(s.focus);
            if (!target)
                target = fromHandle(s.active);
            if (!target) {
                LRESULT hit = 0;
                target = hitTestAt(pt, hit);
            }
            if (!target)
                return false;
            out = makeMsg(target->hwnd, WM_MOUSEWHEEL, MAKEWPARAM(mouseKeys(), ev.delta), MAKELPARAM(pt.x, pt.y));
            return true;
        }
        UINT kind = ev.type == InputEvent::Type::MouseMove ? WM_MOUSEMOVE
                  : ev.type == InputEvent::Type::ButtonDown ? WM_LBUTTONDOWN
                                                             : WM_LBUTTONUP;
        Window* target = nullptr;
        LRESULT hit = HTCLIENT;
        if (Window* cap = fromHandle(s.capture)) {
            target = cap;
        } else {
            target = hitTestAt(pt, hit);
            if (!target) {
                // Over no window of ours: a tracked window has been left.
                checkMouseLeave();
                return false;
            }
        }
        HWND hwnd = target->hwnd;
        bool client = hit == HTCLIENT;
        int button = ev.button;
        UINT message;
        bool dbl = false;
        if (kind == WM_MOUSEMOVE) {
            message = client ? WM_MOUSEMOVE : WM_NCMOUSEMOVE;
        } else {
            if (kind == WM_LBUTTONDOWN) {
                auto& last = in.lastDown;
                uint64_t now = nowMs();
                bool classOk = !client || (target->cls->style & CS_DBLCLKS);
                if (classOk && last.button == button && last.hwnd == hwnd && last.client == client &&
                    now - last.time <= in.dblClickTime && std::abs(pt.x - last.pt.x) <= 2 && std::abs(pt.y - last.pt.y) <= 2) {
                    dbl = true;
                    last = InputState::LastDown{};
                } else {
                    last = InputState::LastDown{button, hwnd, client, now, pt};
                }
            }
            message = buttonMessage(button, kind == WM_LBUTTONDOWN, client, dbl);
            if (!message)
                return false;
        }

        if (!s.capture) {
            Window* top = topLevelOf(target);
            if (top->style & WS_DISABLED) {
                send(target, WM_SETCURSOR, WPARAM(hwnd), MAKELPARAM(WORD(HTERROR), message));
                return false;
            }
            if (kind == WM_LBUTTONDOWN && top->hwnd != s.active && !(top->exStyle & WS_EX_NOACTIVATE)) {
                LRESULT ma = send(target, WM_MOUSEACTIVATE, WPARAM(top->hwnd), MAKELPARAM(WORD(hit), message));
                if (!fromHandle(hwnd))
                    return false;
                if (ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT || ma == 0)
                    activate(top, true);
                if (!fromHandle(hwnd))
                    return false;
                if (ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT)
                    return false;
            }
            send(target, WM_SETCURSOR, WPARAM(hwnd), MAKELPARAM(WORD(hit), message));
            if (!fromHandle(hwnd))
                return false;
        }
        if (kind == WM_MOUSEMOVE && !s.capture)
            trackMove(target, hit, pt);

        WPARAM wp;
        LPARAM lp;
        if (client) {
            POINT o = clientOriginOnScreen(target);
            wp = mouseKeys();
            if (kind != WM_MOUSEMOVE) {
                // The key state of a button message already reflects the change.
                int vk = buttonVk(button);
                WPARAM bit = vk == VK_LBUTTON ? MK_LBUTTON
                           : vk == VK_RBUTTON ? MK_RBUTTON
                           : vk == VK_MBUTTON ? MK_MBUTTON
                           : vk == VK_XBUTTON1 ? MK_XBUTTON1
                                               : MK_XBUTTON2;
                wp = kind == WM_LBUTTONDOWN ? (wp | bit) : (wp & ~bit);
                if (button >= 4)
                    wp |= WPARAM(button == 4 ? XBUTTON1 : XBUTTON2) << 16;
            }
            lp = MAKELPARAM(pt.x - o.x, pt.y - o.y);
        } else {
            wp = WPARAM(hit);
            if (button >= 4 && kind != WM_MOUSEMOVE)
                wp |= WPARAM(button == 4 ? XBUTTON1 : XBUTTON2) << 16;
            lp = MAKELPARAM(pt.x, pt.y);
        }
        out = makeMsg(hwnd, message, wp, lp);
        return true;
    }
    case InputEvent::Type::KeyDown:
    case InputEvent::Type::KeyUp: {
        bool down = ev.type == InputEvent::Type::KeyDown;
        Window* target = fromHandle(s.focus);
        bool sys = keyDown(VK_MENU) || ev.vk == VK_F10 || (ev.vk == VK_MENU);
        if (!target) {
            target = fromHandle(s.active);
            sys = true;
        }
        if (!target)
            return false;
        if (keyDown(VK_CONTROL) && ev.vk != VK_MENU && ev.vk != VK_F10)
            sys = sys && keyDown(VK_MENU);
        UINT message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
        DWORD lp = 1u | ((ev.scan & 0xFF) << 16);
        if (ev.vk == VK_LEFT || ev.vk == VK_RIGHT || ev.vk == VK_UP || ev.vk == VK_DOWN || ev.vk == VK_HOME ||
            ev.vk == VK_END || ev.vk == VK_PRIOR || ev.vk == VK_NEXT || ev.vk == VK_INSERT || ev.vk == VK_DELETE)
            lp |= 1u << 24;
        if (keyDown(VK_MENU))
            lp |= 1u << 29;
        if (!down)
            lp |= (1u << 30) | (1u << 31);
        else if (ev.repeat || keyDown(int(ev.vk)))
            lp |= 1u << 30;
        out = makeMsg(target->hwnd, message, WPARAM(ev.vk), LPARAM(lp));
        if (down) {
            in.lastKeyText = ev.text;
            in.lastKeyTime = out.time;
            in.lastKeyVk = ev.vk;
        }
        return true;
    }
    default:
        return false;
    }
}

void handleDesktopEvent(const InputEvent& ev)
{
    switch (ev.type) {
    case InputEvent::Type::Activate:
        if (Window* w = fromHandle(ev.window)) {
            if (!w->parent && state().active != w->hwnd)
                activate(w, false, true);
        } else if (!ev.window) {
            deactivateApp(true);
        }
        break;
    case InputEvent::Type::CloseRequest:
        if (fromHandle(ev.window))
            post(ev.window, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case InputEvent::Type::Configure:
        if (Window* w = fromHandle(ev.window)) {
            // The desktop's own minimize and restore (its taskbar, its title
            // bar) reach the program as the system commands Windows sends.
            if (ev.delta == kConfigureIconified || ev.delta == kConfigureRestored) {
                bool iconic = IsIconic(ev.window);
                if (ev.delta == kConfigureRestored && iconic)
                    post(ev.window, WM_SYSCOMMAND, SC_RESTORE, 0);
                else if (ev.delta == kConfigureIconified && !iconic)
                    post(ev.window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
                break;
            }
            RECT r = ev.rect;
            if (!EqualRect(&r, &w->rect))
                SetWindowPos(ev.window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
        }
        break;
    case InputEvent::Type::Expose:
        if (Window* w = fromHandle(ev.window)) {
            RECT r = ev.rect;
            w->damage.unite(r);
        }
        break;
    default:
        break;
    }
}

} // namespace

void processBackendEvents()
{
    if (!backendStarted())
        return;
    std::vector<InputEvent> events;
    backend().pollEvents(events);
    for (InputEvent& ev : events) {
        switch (ev.type) {
        case InputEvent::Type::Activate:
        case InputEvent::Type::CloseRequest:
        case InputEvent::Type::Configure:
        case InputEvent::Type::Expose:
            handleDesktopEvent(ev);
            break;
        default:
            input().raw.push_back(std::move(ev));
        }
    }
}

bool hasPendingInput()
{
    processBackendEvents();
    return input().pending.has_value() || !input().raw.empty();
}

bool takeInputMessage(MSG& msg, HWND filterWnd, UINT lo, UINT hi, bool remove)
{
    InputState& in = input();
    auto matches = [&](const MSG& m) {
        bool rangeOk = (lo == 0 && hi == 0) || (m.message >= lo && m.message <= hi);
        bool wndOk = !filterWnd || m.hwnd == filterWnd || IsChild(filterWnd, m.hwnd);
        return rangeOk && wndOk;
    };
    for (;;) {
        if (!in.pending) {
            if (in.raw.empty())
                return false;
            InputEvent ev = std::move(in.raw.front());
            in.raw.pop_front();
            MSG m;
            if (!convert(ev, m))
                continue;
            in.pending = m;
        }
        if (!matches(*in.pending))
            return false;
        msg = *in.pending;
        if (remove)
            in.pending.reset();
        return true;
    }
}

void updateKeyStateFor(const MSG& m)
{
    InputState& in = input();
    auto set = [&](int vk, bool down) {
        BYTE& k = in.keys[vk & 0xFF];
        if (down) {
            if (!(k & 0x80))
                k ^= 1; // toggle on each press
            k |= 0x80;
        } else {
            k &= BYTE(~0x80);
        }
    };
    switch (m.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        bool down = m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN;
        set(int(m.wParam), down);
        if (m.wParam == VK_LSHIFT || m.wParam == VK_RSHIFT)
            set(VK_SHIFT, down);
        if (m.wParam == VK_LCONTROL || m.wParam == VK_RCONTROL)
            set(VK_CONTROL, down);
        if (m.wParam == VK_LMENU || m.wParam == VK_RMENU)
            set(VK_MENU, down);
        break;
    }
    case WM_LBUTTONDOWN: case WM_NCLBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_NCLBUTTONDBLCLK: set(VK_LBUTTON, true); break;
    case WM_LBUTTONUP: case WM_NCLBUTTONUP: set(VK_LBUTTON, false); break;
    case WM_RBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_RBUTTONDBLCLK: case WM_NCRBUTTONDBLCLK: set(VK_RBUTTON, true); break;
    case WM_RBUTTONUP: case WM_NCRBUTTONUP: set(VK_RBUTTON, false); break;
    case WM_MBUTTONDOWN: case WM_NCMBUTTONDOWN: case WM_MBUTTONDBLCLK: case WM_NCMBUTTONDBLCLK: set(VK_MBUTTON, true); break;
    case WM_MBUTTONUP: case WM_NCMBUTTONUP: set(VK_MBUTTON, false); break;
    default: break;
    }
}

uint64_t nextInternalDue()
{
    MouseTracking& t = state().tracking;
    return (t.hwnd && (t.flags & TME_HOVER)) ? t.hoverDue : 0;
}

void checkInternalTimers()
{
    MouseTracking& t = state().tracking;
    if (!t.hwnd || !(t.flags & TME_HOVER) || nowMs() < t.hoverDue)
        return;
    Window* w = fromHandle(t.hwnd);
    t.flags &= ~DWORD(TME_HOVER);
    if (!w)
        return;
    POINT pt = input().cursor;
    if (t.flags & TME_NONCLIENT) {
        post(w->hwnd, WM_NCMOUSEHOVER, HTCLIENT, MAKELPARAM(pt.x, pt.y));
    } else {
        POINT o = clientOriginOnScreen(w);
        post(w->hwnd, WM_MOUSEHOVER, mouseKeys(), MAKELPARAM(pt.x - o.x, pt.y - o.y));
    }
    if (!t.flags)
        t.hwnd = nullptr;
}

void cancelTrackingFor(HWND hwnd)
{
    MouseTracking& t = state().tracking;
    if (t.hwnd == hwnd)
        t = MouseTracking{};
}

void checkMouseLeave()
{
    State& s = state();
    MouseTracking& t = s.tracking;
    if (!t.hwnd || !(t.flags & TME_LEAVE) || s.capture)
        return;
    POINT pt = input().cursor;
    std::vector<Window*> none;
    Window* under = windowAt(pt, none);
    bool stillIn = false;
    if (under && under->hwnd == t.hwnd) {
        RECT client = clientRectOnScreen(under);
        bool inClient = PtInRect(&client, pt);
        stillIn = (t.flags & TME_NONCLIENT) ? !inClient : inClient;
    }
    if (stillIn)
        return;
    HWND h = t.hwnd;
    bool nc = t.flags & TME_NONCLIENT;
    t = MouseTracking{};
    post(h, nc ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
}

POINT currentCursor()
{
    InputState& in = input();
    if (in.cursor.x == -1 && in.cursor.y == -1 && backendStarted())
        in.cursor = backend().cursorPos();
    return in.cursor;
}

void setCursorTracked(POINT pt) { input().cursor = pt; }

const std::string* keyTextFor(const MSG& m)
{
    InputState& in = input();
    if (m.time == in.lastKeyTime && m.wParam == in.lastKeyVk)
        return &in.lastKeyText;
    return nullptr;
}

void setKeyDownState(int vk, bool down)
{
    BYTE& k = input().keys[vk & 0xFF];
    k = down ? BYTE(k | 0x80) : BYTE(k & ~0x80);
}

} // namespace vk::user

using namespace vk;
using namespace vk::user;

extern "C" {

HWND WINAPI SetCapture(HWND hwnd)
{
    State& s = state();
    Window* w = checked(hwnd);
    if (!w)
        return nullptr;
    HWND old = s.capture;
    if (old == hwnd)
        return old;
    s.capture = hwnd;
    if (Window* o = fromHandle(old))
        send(o, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    backend().grabPointer(topLevelOf(w)->hwnd);
    return old;
}

BOOL WINAPI ReleaseCapture(void)
{
    State& s = state();
    HWND old = s.capture;
    if (!old)
        return TRUE;
    s.capture = nullptr;
    backend().ungrabPointer();
    if (Window* o = fromHandle(old))
        send(o, WM_CAPTURECHANGED, 0, 0);
    checkMouseLeave();
    return TRUE;
}

HWND WINAPI GetCapture(void) { return state().capture; }

BOOL WINAPI TrackMouseEvent(LPTRACKMOUSEEVENT tme)
{
    if (!tme || tme->cbSize != sizeof(TRACKMOUSEEVENT))
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    MouseTracking& t = state().tracking;
    if (tme->dwFlags & TME_QUERY) {
        tme->dwFlags = t.hwnd ? t.flags : 0;
        tme->hwndTrack = t.hwnd;
        tme->dwHoverTime = t.hoverTime;
        return TRUE;
    }
    Window* w = checked(tme->hwndTrack);
    if (!w)
        return FALSE;
    DWORD kinds = tme->dwFlags & (TME_HOVER | TME_LEAVE);
    if (tme->dwFlags & TME_CANCEL) {
        if (t.hwnd == w->hwnd) {
            t.flags &= ~kinds;
            if (!(t.flags & (TME_HOVER | TME_LEAVE)))
                t = MouseTracking{};
        }
        return TRUE;
    }
    if (t.hwnd && t.hwnd != w->hwnd && (t.flags & TME_LEAVE))
        post(t.hwnd, (t.flags & TME_NONCLIENT) ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
    if (t.hwnd != w->hwnd)
        t = MouseTracking{};
    t.hwnd = w->hwnd;
    t.flags |= kinds | (tme->dwFlags & TME_NONCLIENT);
    if (kinds & TME_HOVER) {
        t.hoverTime = tme->dwHoverTime == HOVER_DEFAULT ? 400 : tme->dwHoverTime;
        startHover(t, currentCursor());
    }
    // A window the mouse is not over gets its leave notice at once.
    if (kinds & TME_LEAVE)
        checkMouseLeave();
    return TRUE;
}

BOOL WINAPI GetCursorPos(LPPOINT pt)
{
    if (!pt)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    *pt = currentCursor();
    return TRUE;
}

BOOL WINAPI SetCursorPos(int x, int y)
{
    SIZE sz = backend().screenSize();
    x = std::clamp(x, 0, int(sz.cx) - 1);
    y = std::clamp(y, 0, int(sz.cy) - 1);
    backend().setCursorPos(x, y);
    InputEvent ev;
    ev.type = InputEvent::Type::MouseMove;
    ev.x = x;
    ev.y = y;
    backend().injectEvent(ev);
    return TRUE;
}

SHORT WINAPI GetKeyState(int vk)
{
    BYTE k = input().keys[vk & 0xFF];
    return SHORT(((k & 0x80) ? 0x8000 : 0) | (k & 1));
}

SHORT WINAPI GetAsyncKeyState(int vk) { return SHORT((input().keys[vk & 0xFF] & 0x80) ? 0x8000 : 0); }

BOOL WINAPI GetKeyboardState(PBYTE keys)
{
    if (!keys)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    memcpy(keys, input().keys, 256);
    return TRUE;
}

UINT WINAPI GetDoubleClickTime(void) { return input().dblClickTime; }

BOOL WINAPI SetDoubleClickTime(UINT ms)
{
    input().dblClickTime = ms ? ms : 500;
    return TRUE;
}

UINT WINAPI MapVirtualKeyA(UINT code, UINT type)
{
    if (type == 2) { // MAPVK_VK_TO_CHAR
        if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z'))
            return code;
        if (code == VK_SPACE)
            return ' ';
    }
    return 0;
}

SHORT WINAPI VkKeyScanA(CHAR ch)
{
    unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z')
        return SHORT(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z')
        return SHORT(0x100 | c);
    if (c >= '0' && c <= '9')
        return SHORT(c);
    if (c == ' ')
        return VK_SPACE;
    return -1;
}

BOOL WINAPI TranslateMessage(const MSG* m)
{
    if (!m || (m->message != WM_KEYDOWN && m->message != WM_SYSKEYDOWN))
        return FALSE;
    UINT charMsg = m->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR;
    std::string text;
    if (const std::string* t = keyTextFor(*m))
        text = *t;
    int vk = int(m->wParam);
    if (text.empty()) {
        bool ctrl = GetKeyState(VK_CONTROL) < 0;
        bool shift = GetKeyState(VK_SHIFT) < 0;
        if (vk == VK_RETURN)
            text = "\r";
        else if (vk == VK_BACK)
            text = "\b";
        else if (vk == VK_TAB)
            text = "\t";
        else if (vk == VK_ESCAPE)
            text = "\x1b";
        else if (vk == VK_SPACE)
            text = " ";
        else if (vk >= 'A' && vk <= 'Z')
            text = ctrl ? std::string(1, char(vk - 'A' + 1)) : std::string(1, char(shift ? vk : vk + 32));
        else if (vk >= '0' && vk <= '9' && !ctrl)
            text = std::string(1, char(vk));
    } else if (GetKeyState(VK_CONTROL) < 0 && vk >= 'A' && vk <= 'Z') {
        text = std::string(1, char(vk - 'A' + 1));
    }
    if (text.empty())
        return FALSE;
    // Each byte of the UTF-8 text is one WM_CHAR, as double-byte code pages
    // deliver lead and trail bytes in turn.
    for (unsigned char c : text)
        post(m->hwnd, charMsg, WPARAM(c), m->lParam);
    return TRUE;
}

UINT WINAPI SendInput(UINT count, LPINPUT inputs, int cbSize)
{
    if (!inputs || cbSize != int(sizeof(INPUT)))
        return failWith(ERROR_INVALID_PARAMETER, UINT(0));
    Backend& b = backend();
    SIZE sz = b.screenSize();
    POINT pos = currentCursor();
    UINT done = 0;
    for (UINT i = 0; i < count; ++i) {
        const INPUT& in = inputs[i];
        if (in.type == INPUT_MOUSE) {
            const MOUSEINPUT& mi = in.mi;
            if (mi.dwFlags & MOUSEEVENTF_MOVE) {
                if (mi.dwFlags & MOUSEEVENTF_ABSOLUTE) {
                    pos.x = LONG((int64_t(mi.dx) * sz.cx) / 65536);
                    pos.y = LONG((int64_t(mi.dy) * sz.cy) / 65536);
                } else {
                    pos.x += mi.dx;
                    pos.y += mi.dy;
                }
                pos.x = std::clamp<LONG>(pos.x, 0, sz.cx - 1);
                pos.y = std::clamp<LONG>(pos.y, 0, sz.cy - 1);
                b.setCursorPos(pos.x, pos.y);
                InputEvent ev;
                ev.type = InputEvent::Type::MouseMove;
                ev.x = pos.x;
                ev.y = pos.y;
                b.injectEvent(ev);
            }
            struct Btn {
                DWORD flag;
                InputEvent::Type type;
                int button;
            };
            static const Btn btns[] = {
                {MOUSEEVENTF_LEFTDOWN, InputEvent::Type::ButtonDown, 1}, {MOUSEEVENTF_LEFTUP, InputEvent::Type::ButtonUp, 1},
                {MOUSEEVENTF_RIGHTDOWN, InputEvent::Type::ButtonDown, 2}, {MOUSEEVENTF_RIGHTUP, InputEvent::Type::ButtonUp, 2},
                {MOUSEEVENTF_MIDDLEDOWN, InputEvent::Type::ButtonDown, 3}, {MOUSEEVENTF_MIDDLEUP, InputEvent::Type::ButtonUp, 3},
            };
            for (const Btn& bt : btns)
                if (mi.dwFlags & bt.flag) {
                    InputEvent ev;
                    ev.type = bt.type;
                    ev.button = bt.button;
                    ev.x = pos.x;
                    ev.y = pos.y;
                    b.injectEvent(ev);
                }
            if (mi.dwFlags & (MOUSEEVENTF_XDOWN | MOUSEEVENTF_XUP)) {
                InputEvent ev;
                ev.type = (mi.dwFlags & MOUSEEVENTF_XDOWN) ? InputEvent::Type::ButtonDown : InputEvent::Type::ButtonUp;
                ev.button = (mi.mouseData & XBUTTON2) ? 5 : 4;
                ev.x = pos.x;
                ev.y = pos.y;
                b.injectEvent(ev);
            }
            if (mi.dwFlags & MOUSEEVENTF_WHEEL) {
                InputEvent ev;
                ev.type = InputEvent::Type::Wheel;
                ev.delta = int(int32_t(mi.mouseData));
                ev.x = pos.x;
                ev.y = pos.y;
                b.injectEvent(ev);
            }
            ++done;
        } else if (in.type == INPUT_KEYBOARD) {
            const KEYBDINPUT& ki = in.ki;
            InputEvent ev;
            ev.type = (ki.dwFlags & KEYEVENTF_KEYUP) ? InputEvent::Type::KeyUp : InputEvent::Type::KeyDown;
            ev.vk = ki.wVk;
            ev.scan = ki.wScan;
            if (ki.dwFlags & KEYEVENTF_UNICODE) {
                ev.vk = 0xE7; // VK_PACKET
                char32_t c = ki.wScan;
                std::string t;
                if (c < 0x80)
                    t += char(c);
                else if (c < 0x800) {
                    t += char(0xC0 | (c >> 6));
                    t += char(0x80 | (c & 0x3F));
                } else {
                    t += char(0xE0 | (c >> 12));
                    t += char(0x80 | ((c >> 6) & 0x3F));
                    t += char(0x80 | (c & 0x3F));
                }
                if (ev.type == InputEvent::Type::KeyDown)
                    ev.text = t;
            }
            b.injectEvent(ev);
            ++done;
        }
    }
    return done;
}

void WINAPI mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR extra)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = LONG(dx);
    in.mi.dy = LONG(dy);
    in.mi.mouseData = data;
    in.mi.dwFlags = flags;
    in.mi.dwExtraInfo = extra;
    SendInput(1, &in, sizeof(in));
}

void WINAPI keybd_event(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extra)
{
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = scan;
    in.ki.dwFlags = flags;
    in.ki.dwExtraInfo = extra;
    SendInput(1, &in, sizeof(in));
}

BOOL WINAPI DragDetect(HWND hwnd, POINT pt)
{
    (void)hwnd;
    POINT now = currentCursor();
    return std::abs(now.x - pt.x) > 4 || std::abs(now.y - pt.y) > 4;
}

HWND WINAPI WindowFromPoint(POINT pt)
{
    // Hidden and disabled windows are passed over, so a disabled child
    // answers with its parent, as the mouse input goes.
    std::vector<Window*> none;
    Window* w = windowAt(pt, none);
    return w ? w->hwnd : nullptr;
}

BOOL WINAPI MessageBeep(UINT) { return TRUE; }
BOOL WINAPI FlashWindow(HWND hwnd, BOOL) { return IsWindow(hwnd); }

} // extern "C"
