// X events to vk::InputEvent: pointer, keyboard, focus, exposure and what the
// window manager does to our windows.
#include "backend/x11/x11_backend.h"

#include "backend/x11/x11_keys.h"

#include <X11/Xatom.h>
#include <X11/keysym.h>

#include <algorithm>

namespace vk {

namespace {

constexpr int kWheelDelta = 120; // WHEEL_DELTA
// Xlib gives an auto-repeated key as a release and a press with the same
// time stamp (or one apart) when detectable auto-repeat is off.
constexpr Time kRepeatPairSlackMs = 1;

bool sameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// X buttons to InputEvent buttons (1 left, 2 right, 3 middle, 4 X1, 5 X2).
int buttonFromX(unsigned b)
{
    switch (b) {
    case Button1: return 1;
    case Button2: return 3;
    case Button3: return 2;
    case 8: return 4;
    case 9: return 5;
    default: return 0;
    }
}

} // namespace

void X11Backend::pushMouse(InputEvent ev, std::vector<InputEvent>& out, size_t firstX)
{
    // Consecutive moves over the same window: only the newest position counts.
    if (ev.type == InputEvent::Type::MouseMove && out.size() > firstX &&
        out.back().type == InputEvent::Type::MouseMove && out.back().window == ev.window) {
        out.back() = std::move(ev);
        return;
    }
    out.push_back(std::move(ev));
}

void X11Backend::pollEvents(std::vector<InputEvent>& out)
{
    while (!m_injected.empty()) {
        out.push_back(std::move(m_injected.front()));
        m_injected.pop_front();
    }
    const size_t firstX = out.size();
    for (;;) {
        while (XPending(m_dpy)) {
            XEvent ev;
            XNextEvent(m_dpy, &ev);
            if (XFilterEvent(&ev, None))
                continue;
            handleEvent(ev, out, firstX);
        }
        if (!m_focusOutPending)
            break;
        // Focus moving between two of our windows comes as FocusOut then
        // FocusIn; only when no FocusIn follows has focus left the program.
        XSync(m_dpy, False);
        if (XPending(m_dpy))
            continue;
        m_focusOutPending = false;
        if (m_active) {
            m_active = nullptr;
            m_keyDown.fill(false);
            InputEvent ev;
            ev.type = InputEvent::Type::Activate;
            out.push_back(ev);
        }
        break;
    }
}

RECT X11Backend::screenRectOf(const Win& w, const XConfigureEvent& ce)
{
    int x = ce.x, y = ce.y;
    // Real events of a framed window are relative to the frame; synthetic
    // ones from the WM (ICCCM 4.1.5) are in root coordinates already.
    if (!ce.send_event && w.parent != m_root) {
        Window child = 0;
        XTranslateCoordinates(m_dpy, w.xid, m_root, 0, 0, &x, &y, &child);
    }
    return RECT{x, y, x + ce.width, y + ce.height};
}

void X11Backend::handleFocus(Win* w, const XFocusChangeEvent& fe, bool in, std::vector<InputEvent>& out)
{
    // Grabs (a WM's Alt+Tab, menus) and pointer-root focus do not move
    // activation; focus moving inside our window does not either.
    if (fe.mode == NotifyGrab || fe.mode == NotifyUngrab || fe.detail == NotifyPointer || fe.detail == NotifyInferior)
        return;
    if (!w)
        return;
    if (in) {
        m_focusOutPending = false;
        if (m_active != w->hwnd) {
            m_active = w->hwnd;
            m_keyDown.fill(false);
            InputEvent ev;
            ev.type = InputEvent::Type::Activate;
            ev.window = w->hwnd;
            out.push_back(ev);
        }
        if (w->xic)
            XSetICFocus(w->xic);
    } else {
        if (w->xic)
            XUnsetICFocus(w->xic);
        if (m_active == w->hwnd)
            m_focusOutPending = true;
    }
}

void X11Backend::handleKey(Win& w, XKeyEvent& ke, bool press, std::vector<InputEvent>& out)
{
    InputEvent ev;
    ev.type = press ? InputEvent::Type::KeyDown : InputEvent::Type::KeyUp;
    ev.window = w.hwnd;
    ev.x = ke.x_root;
    ev.y = ke.y_root;
    ev.scan = ke.keycode >= 8 ? ke.keycode - 8 : 0; // evdev key codes are the kernel's plus 8

    const unsigned code = ke.keycode & 0xFF;
    if (!press) {
        if (XEventsQueued(m_dpy, QueuedAfterReading)) {
            XEvent next;
            XPeekEvent(m_dpy, &next);
            if (next.type == KeyPress && next.xkey.window == ke.window && next.xkey.keycode == ke.keycode &&
                next.xkey.time - ke.time <= kRepeatPairSlackMs)
                return; // the release of an auto-repeat pair: the key stays down
        }
        m_keyDown[code] = false;
    } else {
        ev.repeat = m_keyDown[code];
        m_keyDown[code] = true;
    }

    // The modified keysym decides the keypad keys (Num Lock); all others
    // take their virtual key from the unshifted keysym, as Win32 does.
    KeySym modified = NoSymbol;
    char latin[32];
    const int latinLen = XLookupString(&ke, latin, sizeof(latin), &modified, nullptr);
    const KeySym base = XLookupKeysym(&ke, 0);
    ev.vk = isKeypadKeysym(modified) ? vkFromKeysym(modified) : vkFromKeysym(base);
    if (!ev.vk)
        ev.vk = vkFromKeysym(modified);

    if (press) {
        bool haveText = false;
        if (w.xic) {
            char buf[64];
            KeySym ks = NoSymbol;
            Status st = 0;
            int n = Xutf8LookupString(w.xic, &ke, buf, sizeof(buf), &ks, &st);
            if (st == XBufferOverflow) {
                std::string big(size_t(n), '\0');
                n = Xutf8LookupString(w.xic, &ke, big.data(), n, &ks, &st);
                ev.text.assign(big.data(), size_t(std::max(n, 0)));
            } else if (st == XLookupChars || st == XLookupBoth) {
                ev.text.assign(buf, size_t(std::max(n, 0)));
            }
            haveText = st == XLookupChars || st == XLookupBoth || st == XBufferOverflow;
        }
        if (!haveText) {
            ev.text = keysymText(modified);
            // Ctrl+letter types a control character on Win32 too.
            if (ev.text.empty() && latinLen == 1 && static_cast<unsigned char>(latin[0]) < 0x20)
                ev.text.assign(latin, 1);
        }
        // Delete types nothing on Win32 (Xlib says DEL).
        if (ev.text == "\x7f" && (modified == XK_Delete || modified == XK_KP_Delete))
            ev.text.clear();
    }
    out.push_back(std::move(ev));
}

void X11Backend::handleWmState(Win& w, std::vector<InputEvent>& out)
{
    const Atom wmState = m_atoms[WM_STATE];
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long state = -1;
    if (XGetWindowProperty(m_dpy, w.xid, wmState, 0, 2, False, wmState, &type, &format, &count, &after, &data) ==
            Success &&
        data && format == 32 && count >= 1)
        state = reinterpret_cast<const long*>(data)[0];
    if (data)
        XFree(data);
    // Only changes the layer did not ask for are news to it.
    const bool iconic = state == IconicState;
    if ((state != IconicState && state != NormalState) || iconic == w.iconic || !w.visible)
        return;
    w.iconic = iconic;
    InputEvent ev;
    ev.type = InputEvent::Type::Configure;
    ev.window = w.hwnd;
    ev.rect = w.rect;
    ev.delta = iconic ? kConfigureIconified : kConfigureRestored;
    out.push_back(ev);
}

void X11Backend::handleEvent(XEvent& ev, std::vector<InputEvent>& out, size_t firstX)
{
    Win* w = findX(ev.xany.window);
    switch (ev.type) {
    case MotionNotify: {
        if (!w)
            return;
        m_lastTime = ev.xmotion.time;
        InputEvent ie;
        ie.type = InputEvent::Type::MouseMove;
        ie.window = w->hwnd;
        ie.x = ev.xmotion.x_root;
        ie.y = ev.xmotion.y_root;
        pushMouse(std::move(ie), out, firstX);
        return;
    }
    case EnterNotify:
    case LeaveNotify: {
        if (!w || ev.xcrossing.mode != NotifyNormal || ev.xcrossing.detail == NotifyInferior)
            return;
        InputEvent ie;
        ie.type = InputEvent::Type::MouseMove;
        ie.window = ev.type == EnterNotify ? w->hwnd : nullptr;
        ie.x = ev.xcrossing.x_root;
        ie.y = ev.xcrossing.y_root;
        pushMouse(std::move(ie), out, firstX);
        return;
    }
    case ButtonPress:
    case ButtonRelease: {
        if (!w)
            return;
        m_lastTime = ev.xbutton.time;
        InputEvent ie;
        ie.window = w->hwnd;
        ie.x = ev.xbutton.x_root;
        ie.y = ev.xbutton.y_root;
        const unsigned b = ev.xbutton.button;
        if (b == Button4 || b == Button5) {
            if (ev.type == ButtonRelease)
                return; // a notch is one press/release pair
            ie.type = InputEvent::Type::Wheel;
            ie.delta = b == Button4 ? kWheelDelta : -kWheelDelta;
        } else {
            ie.button = buttonFromX(b);
            if (!ie.button)
                return; // horizontal wheel and unknown buttons
            ie.type = ev.type == ButtonPress ? InputEvent::Type::ButtonDown : InputEvent::Type::ButtonUp;
        }
        out.push_back(std::move(ie));
        return;
    }
    case KeyPress:
    case KeyRelease:
        if (w) {
            m_lastTime = ev.xkey.time;
            handleKey(*w, ev.xkey, ev.type == KeyPress, out);
        }
        return;
    case FocusIn:
    case FocusOut:
        handleFocus(w, ev.xfocus, ev.type == FocusIn, out);
        return;
    case kXExpose: {
        if (!w)
            return;
        const XExposeEvent& e = ev.xexpose;
        const RECT rc{e.x, e.y, e.x + e.width, e.y + e.height};
        if (w->image)
            w->image->put(w->xid, m_gc, rc);
        if (!w->exposing) {
            w->exposing = true;
            w->exposeLeft = rc.left, w->exposeTop = rc.top, w->exposeRight = rc.right, w->exposeBottom = rc.bottom;
        } else {
            w->exposeLeft = std::min<int>(w->exposeLeft, rc.left);
            w->exposeTop = std::min<int>(w->exposeTop, rc.top);
            w->exposeRight = std::max<int>(w->exposeRight, rc.right);
            w->exposeBottom = std::max<int>(w->exposeBottom, rc.bottom);
        }
        // One event per series: count says how many more follow.
        if (e.count == 0) {
            w->exposing = false;
            InputEvent ie;
            ie.type = InputEvent::Type::Expose;
            ie.window = w->hwnd;
            ie.rect = RECT{w->exposeLeft, w->exposeTop, w->exposeRight, w->exposeBottom};
            out.push_back(std::move(ie));
            XFlush(m_dpy);
        }
        return;
    }
    case ConfigureNotify: {
        if (!w || w->overrideRedirect || ev.xconfigure.window != w->xid)
            return;
        const RECT rc = screenRectOf(*w, ev.xconfigure);
        auto it = std::find_if(w->pendingSets.begin(), w->pendingSets.end(),
                               [&](const RECT& r) { return sameRect(r, rc); });
        if (it != w->pendingSets.end()) {
            w->pendingSets.erase(w->pendingSets.begin(), it + 1);
            w->confirmed = rc;
            return;
        }
        // A restack reports the old geometry again, even with a move queued behind it.
        if (sameRect(rc, w->confirmed))
            return;
        w->pendingSets.clear();
        w->confirmed = rc;
        // While the WM places a fresh window, MapNotify decides.
        if (w->awaitingMap)
            return;
        w->rect = rc;
        InputEvent ie;
        ie.type = InputEvent::Type::Configure;
        ie.window = w->hwnd;
        ie.rect = rc;
        out.push_back(std::move(ie));
        return;
    }
    case ReparentNotify:
        if (w && ev.xreparent.window == w->xid)
            w->parent = ev.xreparent.parent;
        return;
    case MapNotify:
        if (!w || ev.xmap.window != w->xid)
            return;
        w->viewable = true;
        w->awaitingMap = false;
        if (w->placeAfterMap) {
            w->placeAfterMap = false;
            // Some WMs place new windows their own way; the layer's position wins.
            Window child = 0;
            int x = 0, y = 0;
            XTranslateCoordinates(m_dpy, w->xid, m_root, 0, 0, &x, &y, &child);
            if (x != w->rect.left || y != w->rect.top) {
                w->pendingSets.push_back(RECT{w->rect.left, w->rect.top, w->rect.left + (w->confirmed.right - w->confirmed.left),
                                              w->rect.top + (w->confirmed.bottom - w->confirmed.top)});
                XMoveWindow(m_dpy, w->xid, w->rect.left, w->rect.top);
                XFlush(m_dpy);
            }
        }
        return;
    case UnmapNotify:
        if (w && ev.xunmap.window == w->xid)
            w->viewable = false;
        return;
    case PropertyNotify:
        if (w && ev.xproperty.atom == m_atoms[WM_STATE])
            handleWmState(*w, out);
        return;
    case ClientMessage: {
        if (!w || ev.xclient.message_type != m_atoms[WM_PROTOCOLS] || ev.xclient.format != 32)
            return;
        const Atom protocol = Atom(ev.xclient.data.l[0]);
        if (protocol == m_atoms[WM_DELETE_WINDOW]) {
            InputEvent ie;
            ie.type = InputEvent::Type::CloseRequest;
            ie.window = w->hwnd;
            out.push_back(std::move(ie));
        } else if (protocol == m_atoms[NET_WM_PING]) {
            // Answering tells the WM the program is alive.
            XEvent reply = ev;
            reply.xclient.window = m_root;
            XSendEvent(m_dpy, m_root, False, SubstructureNotifyMask | SubstructureRedirectMask, &reply);
            XFlush(m_dpy);
        }
        return;
    }
    default:
        return;
    }
}

} // namespace vk
