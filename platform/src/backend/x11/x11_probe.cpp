// The outside view of the X server, for tests and diagnostics.
#include "backend/x11/x11_probe.h"

#include "backend/x11/x11_errors.h"

#include <X11/Xatom.h>
#include "backend/x11/x11_xlib.h"

#include <algorithm>
#include <bit>

namespace vk {

X11Probe::X11Probe(const char* displayName)
{
    x11InstallErrorHandlers();
    m_dpy = x11OpenDisplay(displayName);
}

X11Probe::~X11Probe()
{
    if (m_dpy) {
        for (unsigned long w : m_created)
            XDestroyWindow(m_dpy, w);
        XCloseDisplay(m_dpy);
    }
    x11ReleaseErrorHandlers();
}

void X11Probe::sync()
{
    if (m_dpy)
        XSync(m_dpy, False);
}

std::vector<uint32_t> X11Probe::readScreen(const RECT& rc)
{
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    std::vector<uint32_t> out;
    if (!m_dpy || w <= 0 || h <= 0)
        return out;
    XSync(m_dpy, False);
    const Window root = DefaultRootWindow(m_dpy);
    // IncludeInferiors is the default subwindow mode of a GetImage on the root.
    XImage* img = XGetImage(m_dpy, root, rc.left, rc.top, unsigned(w), unsigned(h), AllPlanes, ZPixmap);
    if (!img)
        return out;
    const unsigned long masks[3] = {img->red_mask, img->green_mask, img->blue_mask};
    out.reserve(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const unsigned long p = XGetPixel(img, x, y);
            uint32_t rgb = 0;
            for (int i = 0; i < 3; ++i) {
                const int shift = std::countr_zero(masks[i]);
                const int bits = std::popcount(masks[i]);
                unsigned c = unsigned((p & masks[i]) >> shift);
                if (bits < 8)
                    c = (c << (8 - bits)) | (c >> (2 * bits - 8 > 0 ? 2 * bits - 8 : 0));
                rgb |= (c & 0xFF) << (16 - 8 * i);
            }
            out.push_back(rgb);
        }
    XDestroyImage(img);
    return out;
}

uint32_t X11Probe::pixelAt(int x, int y)
{
    const std::vector<uint32_t> p = readScreen(RECT{x, y, x + 1, y + 1});
    return p.empty() ? 0xFFFFFFFFu : p[0];
}

bool X11Probe::isViewable(unsigned long window)
{
    XWindowAttributes wa{};
    return m_dpy && XGetWindowAttributes(m_dpy, window, &wa) && wa.map_state == IsViewable;
}

bool X11Probe::overrideRedirect(unsigned long window)
{
    XWindowAttributes wa{};
    return m_dpy && XGetWindowAttributes(m_dpy, window, &wa) && wa.override_redirect;
}

RECT X11Probe::geometry(unsigned long window)
{
    XWindowAttributes wa{};
    if (!m_dpy || !XGetWindowAttributes(m_dpy, window, &wa))
        return RECT{};
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(m_dpy, window, DefaultRootWindow(m_dpy), 0, 0, &x, &y, &child);
    return RECT{x, y, x + wa.width, y + wa.height};
}

std::string X11Probe::utf8Property(unsigned long window, const char* name)
{
    std::string out;
    if (!m_dpy)
        return out;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(m_dpy, window, XInternAtom(m_dpy, name, False), 0, 4096, False, AnyPropertyType, &type,
                           &format, &count, &after, &data) == Success &&
        data && format == 8)
        out.assign(reinterpret_cast<const char*>(data), count);
    if (data)
        XFree(data);
    return out;
}

std::string X11Probe::wmClass(unsigned long window)
{
    std::string out;
    XClassHint hint{};
    if (m_dpy && XGetClassHint(m_dpy, window, &hint)) {
        out = std::string(hint.res_name ? hint.res_name : "") + "/" + (hint.res_class ? hint.res_class : "");
        XFree(hint.res_name);
        XFree(hint.res_class);
    }
    return out;
}

std::vector<long> X11Probe::longProperty(unsigned long window, const char* name)
{
    std::vector<long> out;
    if (!m_dpy)
        return out;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(m_dpy, window, XInternAtom(m_dpy, name, False), 0, 1024, False, AnyPropertyType, &type,
                           &format, &count, &after, &data) == Success &&
        data && format == 32) {
        const long* v = reinterpret_cast<const long*>(data);
        out.assign(v, v + count);
    }
    if (data)
        XFree(data);
    return out;
}

unsigned long X11Probe::focusWindow()
{
    Window w = 0;
    int revert = 0;
    if (m_dpy)
        XGetInputFocus(m_dpy, &w, &revert);
    return w;
}

unsigned X11Probe::keycodeOf(unsigned long keysym)
{
    return m_dpy ? XKeysymToKeycode(m_dpy, keysym) : 0;
}

void X11Probe::sendButton(unsigned long window, unsigned button, bool press, int x, int y, unsigned long time)
{
    if (!m_dpy)
        return;
    const Window root = DefaultRootWindow(m_dpy);
    XEvent ev{};
    ev.xbutton.type = press ? ButtonPress : ButtonRelease;
    ev.xbutton.display = m_dpy;
    ev.xbutton.window = window;
    ev.xbutton.root = root;
    ev.xbutton.time = time;
    ev.xbutton.x_root = x;
    ev.xbutton.y_root = y;
    Window child = 0;
    XTranslateCoordinates(m_dpy, root, window, x, y, &ev.xbutton.x, &ev.xbutton.y, &child);
    ev.xbutton.button = button;
    ev.xbutton.same_screen = True;
    XSendEvent(m_dpy, window, False, press ? ButtonPressMask : ButtonReleaseMask, &ev);
    XSync(m_dpy, False);
}

void X11Probe::sendMotion(unsigned long window, int x, int y, unsigned long time)
{
    if (!m_dpy)
        return;
    const Window root = DefaultRootWindow(m_dpy);
    XEvent ev{};
    ev.xmotion.type = MotionNotify;
    ev.xmotion.display = m_dpy;
    ev.xmotion.window = window;
    ev.xmotion.root = root;
    ev.xmotion.time = time;
    ev.xmotion.x_root = x;
    ev.xmotion.y_root = y;
    Window child = 0;
    XTranslateCoordinates(m_dpy, root, window, x, y, &ev.xmotion.x, &ev.xmotion.y, &child);
    ev.xmotion.same_screen = True;
    XSendEvent(m_dpy, window, False, PointerMotionMask, &ev);
    XSync(m_dpy, False);
}

void X11Probe::sendKey(unsigned long window, unsigned long keysym, unsigned state, bool press, unsigned long time)
{
    if (!m_dpy)
        return;
    XEvent ev{};
    ev.xkey.type = press ? KeyPress : KeyRelease;
    ev.xkey.display = m_dpy;
    ev.xkey.window = window;
    ev.xkey.root = DefaultRootWindow(m_dpy);
    ev.xkey.time = time;
    ev.xkey.state = state;
    ev.xkey.keycode = XKeysymToKeycode(m_dpy, keysym);
    ev.xkey.same_screen = True;
    XSendEvent(m_dpy, window, False, press ? KeyPressMask : KeyReleaseMask, &ev);
    XSync(m_dpy, False);
}

void X11Probe::sendDeleteWindow(unsigned long window)
{
    if (!m_dpy)
        return;
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = window;
    ev.xclient.message_type = XInternAtom(m_dpy, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = long(XInternAtom(m_dpy, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(m_dpy, window, False, NoEventMask, &ev);
    XSync(m_dpy, False);
}

void X11Probe::moveWindow(unsigned long window, int x, int y, int width, int height)
{
    if (!m_dpy)
        return;
    XMoveResizeWindow(m_dpy, window, x, y, unsigned(width), unsigned(height));
    XSync(m_dpy, False);
}

void X11Probe::setWmState(unsigned long window, long state)
{
    if (!m_dpy)
        return;
    const Atom wmState = XInternAtom(m_dpy, "WM_STATE", False);
    const long data[2] = {state, 0};
    XChangeProperty(m_dpy, window, wmState, wmState, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(data), 2);
    XSync(m_dpy, False);
}

void X11Probe::setInputFocus(unsigned long window)
{
    if (!m_dpy)
        return;
    XSetInputFocus(m_dpy, window ? window : PointerRoot, RevertToPointerRoot, CurrentTime);
    XSync(m_dpy, False);
}

void X11Probe::warpPointer(int x, int y)
{
    if (!m_dpy)
        return;
    XWarpPointer(m_dpy, None, DefaultRootWindow(m_dpy), 0, 0, 0, 0, x, y);
    XSync(m_dpy, False);
}

void X11Probe::setRootCardinals(const char* name, const std::vector<long>& values)
{
    if (!m_dpy)
        return;
    XChangeProperty(m_dpy, DefaultRootWindow(m_dpy), XInternAtom(m_dpy, name, False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(values.data()), int(values.size()));
    XSync(m_dpy, False);
}

void X11Probe::deleteRootProperty(const char* name)
{
    if (!m_dpy)
        return;
    XDeleteProperty(m_dpy, DefaultRootWindow(m_dpy), XInternAtom(m_dpy, name, False));
    XSync(m_dpy, False);
}

unsigned long X11Probe::createDock(const RECT& rc)
{
    if (!m_dpy)
        return 0;
    XSetWindowAttributes a{};
    a.override_redirect = True;
    a.background_pixel = WhitePixel(m_dpy, DefaultScreen(m_dpy));
    const Window w = XCreateWindow(m_dpy, DefaultRootWindow(m_dpy), rc.left, rc.top, unsigned(rc.right - rc.left),
                                   unsigned(rc.bottom - rc.top), 0, CopyFromParent, InputOutput, CopyFromParent,
                                   CWOverrideRedirect | CWBackPixel, &a);
    const Atom dock = XInternAtom(m_dpy, "_NET_WM_WINDOW_TYPE_DOCK", False);
    XChangeProperty(m_dpy, w, XInternAtom(m_dpy, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&dock), 1);
    XMapWindow(m_dpy, w);
    XSync(m_dpy, False);
    m_created.push_back(w);
    return w;
}

void X11Probe::destroyWindow(unsigned long window)
{
    if (!m_dpy)
        return;
    m_created.erase(std::remove(m_created.begin(), m_created.end(), window), m_created.end());
    XDestroyWindow(m_dpy, window);
    XSync(m_dpy, False);
}

} // namespace vk
