// The X11 backend: windows, presenting, cursors and the pointer.
#include "backend/x11/x11_backend.h"
#include "backend/x11/x11_panels.h"

#include "backend/x11/x11_errors.h"

#include <winuser.h>

#include <X11/Xatom.h>
#include <X11/XKBlib.h>
#include <X11/cursorfont.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <poll.h>

namespace vk {

namespace {

Display* g_currentDisplay = nullptr;

constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                            KeyReleaseMask | FocusChangeMask | StructureNotifyMask | EnterWindowMask |
                            LeaveWindowMask | PropertyChangeMask;
constexpr unsigned kPointerGrabMask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                                      LeaveWindowMask;
// How many requested rectangles a window remembers while waiting for the
// server to confirm them.
constexpr size_t kMaxPendingSets = 16;

const char* const kAtomNames[] = {
    "WM_PROTOCOLS", "WM_DELETE_WINDOW", "WM_STATE", "UTF8_STRING", "_NET_WM_NAME", "_NET_WM_ICON_NAME",
    "_MOTIF_WM_HINTS", "_NET_WORKAREA", "_NET_CURRENT_DESKTOP", "_NET_ACTIVE_WINDOW", "_NET_SUPPORTING_WM_CHECK",
    "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_NORMAL", "_NET_WM_WINDOW_TYPE_UTILITY", "_NET_WM_STATE",
    "_NET_WM_STATE_ABOVE", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_PING",
};

uint64_t monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return uint64_t(ts.tv_sec) * 1000000000ull + uint64_t(ts.tv_nsec);
}

bool emptyRect(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

// X windows are at least 1x1; a zero-sized one is kept unmapped.
RECT xGeometry(const RECT& r)
{
    return RECT{r.left, r.top, r.left + std::max<LONG>(r.right - r.left, 1), r.top + std::max<LONG>(r.bottom - r.top, 1)};
}

unsigned widthOf(const RECT& r) { return unsigned(std::max<LONG>(r.right - r.left, 1)); }
unsigned heightOf(const RECT& r) { return unsigned(std::max<LONG>(r.bottom - r.top, 1)); }

unsigned fontCursorFor(CursorShape s)
{
    switch (s) {
    case CursorShape::Arrow: return XC_left_ptr;
    case CursorShape::IBeam: return XC_xterm;
    case CursorShape::Wait: return XC_watch;
    case CursorShape::Cross: return XC_crosshair;
    case CursorShape::UpArrow: return XC_sb_up_arrow;
    case CursorShape::SizeNWSE: return XC_bottom_right_corner;
    case CursorShape::SizeNESW: return XC_bottom_left_corner;
    case CursorShape::SizeWE: return XC_sb_h_double_arrow;
    case CursorShape::SizeNS: return XC_sb_v_double_arrow;
    case CursorShape::SizeAll: return XC_fleur;
    case CursorShape::No: return XC_X_cursor;
    case CursorShape::Hand: return XC_hand2;
    case CursorShape::AppStarting: return XC_watch;
    case CursorShape::Help: return XC_question_arrow;
    }
    return XC_left_ptr;
}

// Reads a 32-bit property as longs (Xlib hands format-32 data as long).
std::vector<long> readLongs(Display* dpy, Window w, Atom prop, Atom type)
{
    std::vector<long> out;
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, w, prop, 0, 1024, False, type, &actualType, &format, &count, &after, &data) ==
            Success &&
        data && format == 32 && actualType == type) {
        const long* v = reinterpret_cast<const long*>(data);
        out.assign(v, v + count);
    }
    if (data)
        XFree(data);
    return out;
}

} // namespace

Display* x11CurrentDisplay() { return g_currentDisplay; }

RECT x11WorkArea(Display* dpy)
{
    const int scr = DefaultScreen(dpy);
    const Window root = RootWindow(dpy, scr);
    const RECT screen{0, 0, DisplayWidth(dpy, scr), DisplayHeight(dpy, scr)};
    const std::vector<long> area = readLongs(dpy, root, XInternAtom(dpy, "_NET_WORKAREA", False), XA_CARDINAL);
    const std::vector<long> desk = readLongs(dpy, root, XInternAtom(dpy, "_NET_CURRENT_DESKTOP", False), XA_CARDINAL);
    size_t index = desk.empty() ? 0 : size_t(desk[0]) * 4;
    if (index + 4 > area.size())
        index = 0;
    if (area.size() < 4)
        return screen;
    RECT r{LONG(area[index]), LONG(area[index + 1]), LONG(area[index] + area[index + 2]),
           LONG(area[index + 1] + area[index + 3])};
    r.left = std::max(r.left, screen.left);
    r.top = std::max(r.top, screen.top);
    r.right = std::min(r.right, screen.right);
    r.bottom = std::min(r.bottom, screen.bottom);
    return emptyRect(r) ? screen : r;
}

std::unique_ptr<Backend> createX11Backend(const char* display)
{
    return X11Backend::open(display);
}

std::unique_ptr<X11Backend> X11Backend::open(const char* displayName)
{
    x11InstallErrorHandlers();
    Display* dpy = x11OpenDisplay(displayName);
    if (!dpy) {
        x11ReleaseErrorHandlers();
        return nullptr;
    }
    return std::unique_ptr<X11Backend>(new X11Backend(dpy));
}

X11Backend::X11Backend(Display* dpy)
    : m_dpy(dpy),
      m_screen(DefaultScreen(dpy)),
      m_root(RootWindow(dpy, m_screen)),
      m_visual(DefaultVisual(dpy, m_screen)),
      m_depth(DefaultDepth(dpy, m_screen)),
      m_startNs(monotonicNs())
{
    static_assert(std::size(kAtomNames) == AtomCount);
    XInternAtoms(m_dpy, const_cast<char**>(kAtomNames), AtomCount, False, m_atoms.data());

    int major = 0, minor = 0;
    Bool pixmaps = False;
    // VELKARO_X11_NO_SHM=1 sends every picture with XPutImage, as on a remote display.
    const char* noShm = std::getenv("VELKARO_X11_NO_SHM");
    m_useShm = !(noShm && *noShm && *noShm != '0') && XShmQueryExtension(m_dpy) &&
               XShmQueryVersion(m_dpy, &major, &minor, &pixmaps);
    int eventBase = 0, errorBase = 0;
    m_hasShape = XShapeQueryExtension(m_dpy, &eventBase, &errorBase);

    // Auto-repeat then arrives as presses without releases in between.
    Bool detectable = False;
    XkbSetDetectableAutoRepeat(m_dpy, True, &detectable);

    XGCValues gcv{};
    gcv.graphics_exposures = False;
    m_gc = XCreateGC(m_dpy, m_root, GCGraphicsExposures, &gcv);

    // An input method when one answers; a configured but absent one falls
    // back to Xlib's own (compose sequences).
    if (XSupportsLocale()) {
        XSetLocaleModifiers("");
        m_im = XOpenIM(m_dpy, nullptr, nullptr, nullptr);
        if (!m_im) {
            XSetLocaleModifiers("@im=none");
            m_im = XOpenIM(m_dpy, nullptr, nullptr, nullptr);
        }
    }
    g_currentDisplay = m_dpy;
}

X11Backend::~X11Backend()
{
    ungrabPointer();
    for (auto& [hwnd, w] : m_windows)
        destroyWin(*w);
    m_windows.clear();
    m_byXid.clear();
    for (Cursor& c : m_cursors)
        if (c)
            XFreeCursor(m_dpy, c);
    if (m_im)
        XCloseIM(m_im);
    XFreeGC(m_dpy, m_gc);
    if (g_currentDisplay == m_dpy)
        g_currentDisplay = nullptr;
    XCloseDisplay(m_dpy);
    x11ReleaseErrorHandlers();
}

void X11Backend::sync() { XSync(m_dpy, False); }

SIZE X11Backend::screenSize() const
{
    return SIZE{DisplayWidth(m_dpy, m_screen), DisplayHeight(m_dpy, m_screen)};
}

RECT X11Backend::workArea() const { return x11WorkArea(m_dpy); }

std::vector<RECT> X11Backend::desktopPanels() const { return x11Panels(m_dpy); }

uint64_t X11Backend::nowMs() { return (monotonicNs() - m_startNs) / 1000000ull; }

bool X11Backend::windowManagerRunning() const
{
    // EWMH: the root names a check window whose own property names itself.
    const std::vector<long> check = readLongs(m_dpy, m_root, m_atoms[NET_SUPPORTING_WM_CHECK], XA_WINDOW);
    if (check.empty() || !check[0])
        return false;
    const std::vector<long> self = readLongs(m_dpy, Window(check[0]), m_atoms[NET_SUPPORTING_WM_CHECK], XA_WINDOW);
    return !self.empty() && self[0] == check[0];
}

X11Backend::Win* X11Backend::find(HWND hwnd)
{
    auto it = m_windows.find(hwnd);
    return it == m_windows.end() ? nullptr : it->second.get();
}

const X11Backend::Win* X11Backend::find(HWND hwnd) const
{
    auto it = m_windows.find(hwnd);
    return it == m_windows.end() ? nullptr : it->second.get();
}

X11Backend::Win* X11Backend::findX(Window xw)
{
    auto it = m_byXid.find(xw);
    return it == m_byXid.end() ? nullptr : find(it->second);
}

Window X11Backend::xWindow(HWND hwnd) const
{
    const Win* w = find(hwnd);
    return w ? w->xid : 0;
}

HWND X11Backend::hwndOf(Window xw) const
{
    auto it = m_byXid.find(xw);
    return it == m_byXid.end() ? nullptr : it->second;
}

Cursor X11Backend::cursorFor(CursorShape shape)
{
    Cursor& c = m_cursors[size_t(shape)];
    if (!c)
        c = XCreateFontCursor(m_dpy, fontCursorFor(shape));
    return c;
}

void X11Backend::windowCreated(HWND hwnd, const RECT& rect, DWORD style, DWORD exStyle)
{
    if (!hwnd || find(hwnd))
        return;
    auto w = std::make_unique<Win>();
    w->hwnd = hwnd;
    w->style = style;
    w->exStyle = exStyle;
    w->rect = rect;
    w->confirmed = xGeometry(rect);
    w->parent = m_root;
    // Drop-down lists and tool tips must appear exactly where and when the
    // layer says, without the window manager's involvement.
    w->overrideRedirect = (exStyle & WS_EX_TOOLWINDOW) && (style & WS_POPUP) && (style & WS_CAPTION) != WS_CAPTION;

    XSetWindowAttributes a{};
    a.background_pixel = BlackPixel(m_dpy, m_screen);
    a.bit_gravity = NorthWestGravity;
    a.override_redirect = w->overrideRedirect;
    a.event_mask = kEventMask;
    a.cursor = cursorFor(m_cursorShape);
    w->xid = XCreateWindow(m_dpy, m_root, rect.left, rect.top, widthOf(rect), heightOf(rect), 0, CopyFromParent,
                           InputOutput, CopyFromParent,
                           CWBackPixel | CWBitGravity | CWOverrideRedirect | CWEventMask | CWCursor, &a);
    const Window xid = w->xid;

    XClassHint cls{const_cast<char*>("velkaro"), const_cast<char*>("velkaro")};
    XSetClassHint(m_dpy, xid, &cls);

    // The layer draws every frame itself: no decorations from the WM.
    const long motif[5] = {2 /* decorations field valid */, 0, 0, 0, 0};
    XChangeProperty(m_dpy, xid, m_atoms[MOTIF_WM_HINTS], m_atoms[MOTIF_WM_HINTS], 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(motif), 5);

    Atom protocols[2] = {m_atoms[WM_DELETE_WINDOW], m_atoms[NET_WM_PING]};
    XSetWMProtocols(m_dpy, xid, protocols, 2);

    if (XSizeHints* sh = XAllocSizeHints()) {
        // Program- and user-given position: WMs then leave it where it is;
        // static gravity means the position is that of our window, not a frame's.
        sh->flags = USPosition | PPosition | USSize | PSize | PWinGravity;
        sh->x = rect.left;
        sh->y = rect.top;
        sh->width = int(widthOf(rect));
        sh->height = int(heightOf(rect));
        sh->win_gravity = StaticGravity;
        XSetWMNormalHints(m_dpy, xid, sh);
        XFree(sh);
    }
    if (XWMHints* wh = XAllocWMHints()) {
        wh->flags = InputHint | StateHint;
        wh->input = True;
        wh->initial_state = NormalState;
        XSetWMHints(m_dpy, xid, wh);
        XFree(wh);
    }

    const Atom type = (exStyle & WS_EX_TOOLWINDOW) ? m_atoms[NET_WM_WINDOW_TYPE_UTILITY] : m_atoms[NET_WM_WINDOW_TYPE_NORMAL];
    XChangeProperty(m_dpy, xid, m_atoms[NET_WM_WINDOW_TYPE], XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&type), 1);
    std::vector<Atom> states;
    if (exStyle & WS_EX_TOPMOST)
        states.push_back(m_atoms[NET_WM_STATE_ABOVE]);
    if (exStyle & WS_EX_TOOLWINDOW)
        states.push_back(m_atoms[NET_WM_STATE_SKIP_TASKBAR]);
    if (!states.empty())
        XChangeProperty(m_dpy, xid, m_atoms[NET_WM_STATE], XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(states.data()), int(states.size()));

    if (m_im)
        w->xic = XCreateIC(m_im, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, xid,
                           XNFocusWindow, xid, nullptr);

    m_byXid[xid] = hwnd;
    m_windows[hwnd] = std::move(w);
    XFlush(m_dpy);
}

void X11Backend::destroyWin(Win& w)
{
    if (w.xic)
        XDestroyIC(w.xic);
    w.xic = nullptr;
    w.image.reset();
    XDestroyWindow(m_dpy, w.xid);
}

void X11Backend::windowDestroyed(HWND hwnd)
{
    Win* w = find(hwnd);
    if (!w)
        return;
    if (m_grab == hwnd)
        ungrabPointer();
    if (m_active == hwnd)
        m_active = nullptr;
    destroyWin(*w);
    m_byXid.erase(w->xid);
    m_windows.erase(hwnd);
    XFlush(m_dpy);
}

void X11Backend::mapNow(Win& w)
{
    if (w.viewable && !w.awaitingMap)
        return;
    // A zero-sized window shows nothing; X cannot make one, so it stays unmapped.
    if (emptyRect(w.rect))
        return;
    w.awaitingMap = true;
    w.placeAfterMap = !w.overrideRedirect;
    XMapWindow(m_dpy, w.xid);
}

void X11Backend::unmapNow(Win& w)
{
    w.awaitingMap = false;
    if (!w.overrideRedirect)
        XWithdrawWindow(m_dpy, w.xid, m_screen); // also tells the WM to forget it
    else
        XUnmapWindow(m_dpy, w.xid);
    w.viewable = false;
}

void X11Backend::windowShown(HWND hwnd, bool visible)
{
    Win* w = find(hwnd);
    if (!w || w->visible == visible)
        return;
    w->visible = visible;
    if (visible && !w->iconic)
        mapNow(*w);
    else if (visible && w->iconic && !w->overrideRedirect && windowManagerRunning()) {
        if (XWMHints* wh = XAllocWMHints()) {
            wh->flags = InputHint | StateHint;
            wh->input = True;
            wh->initial_state = IconicState;
            XSetWMHints(m_dpy, w->xid, wh);
            XFree(wh);
        }
        XMapWindow(m_dpy, w->xid);
    } else if (!visible)
        unmapNow(*w);
    XFlush(m_dpy);
}

void X11Backend::applyRect(Win& w, const RECT& rc)
{
    w.rect = rc;
    if (w.pendingSets.size() >= kMaxPendingSets)
        w.pendingSets.pop_front();
    w.pendingSets.push_back(xGeometry(rc));
    XMoveResizeWindow(m_dpy, w.xid, rc.left, rc.top, widthOf(rc), heightOf(rc));
    if (!w.overrideRedirect)
        if (XSizeHints* sh = XAllocSizeHints()) {
            sh->flags = USPosition | PPosition | USSize | PSize | PWinGravity;
            sh->x = rc.left;
            sh->y = rc.top;
            sh->width = int(widthOf(rc));
            sh->height = int(heightOf(rc));
            sh->win_gravity = StaticGravity;
            XSetWMNormalHints(m_dpy, w.xid, sh);
            XFree(sh);
        }
}

void X11Backend::windowMoved(HWND hwnd, const RECT& rect)
{
    Win* w = find(hwnd);
    if (!w)
        return;
    const bool wasEmpty = emptyRect(w->rect);
    applyRect(*w, rect);
    if (emptyRect(rect) && (w->viewable || w->awaitingMap))
        unmapNow(*w);
    else if (wasEmpty && !emptyRect(rect) && w->visible && !w->iconic)
        mapNow(*w);
    XFlush(m_dpy);
}

void X11Backend::windowIconified(HWND hwnd, bool iconic)
{
    Win* w = find(hwnd);
    if (!w || w->iconic == iconic)
        return;
    w->iconic = iconic;
    if (!w->visible) {
        XFlush(m_dpy);
        return;
    }
    if (iconic) {
        // Without a window manager nobody would act on the request: hide it ourselves.
        if (!w->overrideRedirect && windowManagerRunning())
            XIconifyWindow(m_dpy, w->xid, m_screen);
        else
            unmapNow(*w);
    } else {
        mapNow(*w);
    }
    XFlush(m_dpy);
}

void X11Backend::windowTitle(HWND hwnd, const std::string& utf8)
{
    Win* w = find(hwnd);
    if (!w)
        return;
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
    XChangeProperty(m_dpy, w->xid, m_atoms[NET_WM_NAME], m_atoms[UTF8_STRING], 8, PropModeReplace, bytes, int(utf8.size()));
    XChangeProperty(m_dpy, w->xid, m_atoms[NET_WM_ICON_NAME], m_atoms[UTF8_STRING], 8, PropModeReplace, bytes,
                    int(utf8.size()));
    // WM_NAME in the ICCCM encodings (STRING or COMPOUND_TEXT) for older WMs.
    char* list[1] = {const_cast<char*>(utf8.c_str())};
    XTextProperty tp{};
    if (Xutf8TextListToTextProperty(m_dpy, list, 1, XStdICCTextStyle, &tp) >= Success) {
        XSetWMName(m_dpy, w->xid, &tp);
        XSetWMIconName(m_dpy, w->xid, &tp);
        if (tp.value)
            XFree(tp.value);
    }
    XFlush(m_dpy);
}

void X11Backend::windowRegion(HWND hwnd, const Region* rgn)
{
    Win* w = find(hwnd);
    if (!w || !m_hasShape)
        return;
    if (!rgn) {
        XShapeCombineMask(m_dpy, w->xid, ShapeBounding, 0, 0, None, ShapeSet);
    } else {
        // pixman keeps rectangles in y-x bands, the order X accepts fastest.
        int n = 0;
        const pixman_box32_t* boxes = pixman_region32_rectangles(const_cast<pixman_region32_t*>(rgn->raw()), &n);
        std::vector<XRectangle> rects;
        rects.reserve(size_t(n));
        for (int i = 0; i < n; ++i) {
            const pixman_box32_t& b = boxes[i];
            const int x = std::clamp(b.x1, -32768, 32767), y = std::clamp(b.y1, -32768, 32767);
            const int r = std::clamp(b.x2, x, x + 65535), bt = std::clamp(b.y2, y, y + 65535);
            rects.push_back(XRectangle{short(x), short(y), (unsigned short)(r - x), (unsigned short)(bt - y)});
        }
        XShapeCombineRectangles(m_dpy, w->xid, ShapeBounding, 0, 0, rects.data(), int(rects.size()), ShapeSet,
                                YXBanded);
    }
    XFlush(m_dpy);
}

void X11Backend::windowsRestacked(const std::vector<HWND>& topToBottom)
{
    std::vector<Window> order;
    bool reparented = false;
    for (HWND h : topToBottom)
        if (Win* w = find(h)) {
            order.push_back(w->xid);
            reparented |= w->parent != m_root;
        }
    if (order.size() < 2)
        return;
    if (!reparented) {
        XRestackWindows(m_dpy, order.data(), int(order.size()));
    } else {
        // Framed windows are not siblings: ask the WM through a synthetic
        // ConfigureRequest, which XReconfigureWMWindow sends when needed.
        for (size_t i = 1; i < order.size(); ++i) {
            XWindowChanges ch{};
            ch.sibling = order[i - 1];
            ch.stack_mode = Below;
            XReconfigureWMWindow(m_dpy, order[i], m_screen, CWSibling | CWStackMode, &ch);
        }
    }
    XFlush(m_dpy);
}

void X11Backend::activateWindow(HWND hwnd)
{
    Win* w = find(hwnd);
    if (!w)
        return;
    if (!w->overrideRedirect && windowManagerRunning()) {
        XEvent ev{};
        ev.xclient.type = ClientMessage;
        ev.xclient.window = w->xid;
        ev.xclient.message_type = m_atoms[NET_ACTIVE_WINDOW];
        ev.xclient.format = 32;
        ev.xclient.data.l[0] = 1; // source: an application
        ev.xclient.data.l[1] = long(m_lastTime);
        ev.xclient.data.l[2] = 0;
        XSendEvent(m_dpy, m_root, False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
    } else if (w->viewable || w->awaitingMap) {
        XSetInputFocus(m_dpy, w->xid, RevertToParent, CurrentTime);
    }
    XFlush(m_dpy);
}

void X11Backend::present(HWND hwnd, const Surface& surface, const Region& damage)
{
    Win* w = find(hwnd);
    if (!w || !surface.valid() || damage.empty())
        return;
    if (!w->image || w->image->width() != surface.width || w->image->height() != surface.height) {
        std::unique_ptr<X11Image> img = X11Image::create(m_dpy, m_visual, m_depth, surface.width, surface.height, m_useShm);
        if (!img)
            return;
        if (w->image)
            img->copyFrom(*w->image);
        w->image = std::move(img);
    }
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(const_cast<pixman_region32_t*>(damage.raw()), &n);
    for (int i = 0; i < n; ++i) {
        const RECT rc{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2};
        w->image->store(surface, rc);
    }
    for (int i = 0; i < n; ++i) {
        const RECT rc{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2};
        w->image->put(w->xid, m_gc, rc);
    }
    XFlush(m_dpy);
}

void X11Backend::setCursor(CursorShape shape)
{
    if (size_t(shape) >= m_cursors.size() || shape == m_cursorShape)
        return;
    m_cursorShape = shape;
    const Cursor c = cursorFor(shape);
    for (auto& [hwnd, w] : m_windows)
        XDefineCursor(m_dpy, w->xid, c);
    if (m_grab)
        XChangeActivePointerGrab(m_dpy, kPointerGrabMask, c, CurrentTime);
    XFlush(m_dpy);
}

POINT X11Backend::cursorPos() const
{
    Window rootRet = 0, child = 0;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    XQueryPointer(m_dpy, m_root, &rootRet, &child, &rx, &ry, &wx, &wy, &mask);
    return POINT{rx, ry};
}

void X11Backend::setCursorPos(int x, int y)
{
    XWarpPointer(m_dpy, None, m_root, 0, 0, 0, 0, x, y);
    XFlush(m_dpy);
}

void X11Backend::grabPointer(HWND hwnd)
{
    Win* w = find(hwnd);
    if (!w)
        return;
    // owner_events: our own windows still get their events; everything
    // outside comes to the grab window, in screen coordinates as always.
    const int status = XGrabPointer(m_dpy, w->xid, True, kPointerGrabMask, GrabModeAsync, GrabModeAsync, None,
                                    cursorFor(m_cursorShape), CurrentTime);
    m_grab = status == GrabSuccess ? hwnd : nullptr;
}

void X11Backend::ungrabPointer()
{
    if (!m_grab)
        return;
    m_grab = nullptr;
    XUngrabPointer(m_dpy, CurrentTime);
    XFlush(m_dpy);
}

bool X11Backend::waitEvents(int timeoutMs)
{
    if (!m_injected.empty() || XPending(m_dpy))
        return true;
    pollfd pfd{ConnectionNumber(m_dpy), POLLIN, 0};
    poll(&pfd, 1, timeoutMs < 0 ? -1 : timeoutMs);
    return true;
}

void X11Backend::injectEvent(const InputEvent& ev) { m_injected.push_back(ev); }

} // namespace vk
