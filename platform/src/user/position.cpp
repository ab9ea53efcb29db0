// Window position, size, z-order and visibility: SetWindowPos and the
// functions built on it (ShowWindow, MoveWindow, minimize, maximize,
// restore), the non-client frame geometry and the coordinate helpers.
#include "backend/backend.h"
#include "core/last_error.h"
#include "user/draw_target.h"
#include "user/window.h"

#include <algorithm>

namespace vk::user {

namespace {

constexpr int kCaption = 19;
constexpr int kSmallCaption = 15;
constexpr int kFrame = 4;
constexpr int kDlgFrame = 3;
constexpr int kScroll = 17;
constexpr int kMinimizedX = -32000;
constexpr int kMinimizedW = 160;
constexpr int kMinimizedH = 24;

void restackBackend()
{
    std::vector<HWND> order;
    for (Window* t : state().topLevels)
        order.push_back(t->hwnd);
    backend().windowsRestacked(order);
}

// Topmost windows stay in front of the others.
void keepTopmostFirst(std::vector<Window*>& list)
{
    std::stable_partition(list.begin(), list.end(), [](Window* w) { return (w->exStyle & WS_EX_TOPMOST) != 0; });
}

bool reorder(Window* w, HWND after)
{
    std::vector<Window*>& list = w->parent ? w->parent->children : state().topLevels;
    auto it = std::find(list.begin(), list.end(), w);
    if (it == list.end())
        return false;
    std::vector<Window*> before = list;
    list.erase(it);
    if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
        if (!w->parent) {
            if (after == HWND_TOPMOST)
                w->exStyle |= WS_EX_TOPMOST;
            else if (after == HWND_NOTOPMOST)
                w->exStyle &= ~DWORD(WS_EX_TOPMOST);
        }
        list.insert(list.begin(), w);
    } else if (after == HWND_BOTTOM) {
        list.push_back(w);
    } else {
        Window* a = fromHandle(after);
        auto pos = std::find(list.begin(), list.end(), a);
        if (pos == list.end())
            list.insert(list.begin(), w);
        else
            list.insert(pos + 1, w);
    }
    if (!w->parent)
        keepTopmostFirst(list);
    return list != before;
}

} // namespace

void computeNcBorders(DWORD style, DWORD exStyle, RECT& b)
{
    int t = 0;
    if (style & WS_THICKFRAME)
        t = kFrame;
    else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
        t = kDlgFrame;
    else if (style & WS_BORDER)
        t = 1;
    if (exStyle & WS_EX_CLIENTEDGE)
        t += 2;
    if (exStyle & WS_EX_STATICEDGE)
        t += 1;
    b = RECT{t, t, t, t};
    if ((style & WS_CAPTION) == WS_CAPTION)
        b.top += (exStyle & WS_EX_TOOLWINDOW) ? kSmallCaption : kCaption;
}

void defNcCalcSize(Window* w, RECT& r)
{
    if (w->minimized()) {
        r.right = r.left;
        r.bottom = r.top;
        return;
    }
    RECT b;
    computeNcBorders(w->style, w->exStyle, b);
    r.left += b.left;
    r.top += b.top;
    r.right -= b.right;
    r.bottom -= b.bottom;
    if ((w->style & WS_VSCROLL) && r.right - r.left >= kScroll)
        r.right -= kScroll;
    if ((w->style & WS_HSCROLL) && r.bottom - r.top >= kScroll)
        r.bottom -= kScroll;
    if (r.right < r.left)
        r.right = r.left;
    if (r.bottom < r.top)
        r.bottom = r.top;
}

void defaultMinMax(Window* w, MINMAXINFO& mmi)
{
    RECT b;
    computeNcBorders(w->style & ~DWORD(WS_CAPTION & ~WS_BORDER & ~WS_DLGFRAME), w->exStyle, b);
    int bx = b.left;
    SIZE screen = backend().screenSize();
    RECT work = backend().workArea();
    mmi = MINMAXINFO{};
    bool bareePopup = (w->style & WS_POPUP) && (w->style & WS_CAPTION) != WS_CAPTION;
    if (bareePopup) {
        mmi.ptMaxSize = POINT{screen.cx, screen.cy};
        mmi.ptMaxPosition = POINT{0, 0};
    } else {
        mmi.ptMaxSize = POINT{work.right - work.left + 2 * bx, work.bottom - work.top + 2 * bx};
        mmi.ptMaxPosition = POINT{work.left - bx, work.top - bx};
    }
    mmi.ptMinTrackSize = POINT{112, 27};
    mmi.ptMaxTrackSize = POINT{screen.cx + 12, screen.cy + 12};
}

MINMAXINFO queryMinMax(Window* w)
{
    MINMAXINFO mmi;
    defaultMinMax(w, mmi);
    MINMAXINFO copy = mmi;
    send(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&copy));
    return copy;
}

void resizeSurface(Window* w)
{
    if (!w->surface || w->minimized())
        return;
    int cx = std::max<int>(1, w->rect.right - w->rect.left);
    int cy = std::max<int>(1, w->rect.bottom - w->rect.top);
    const Surface& s = w->surface->get();
    if (s.width != cx || s.height != cy)
        w->surface->resize(cx, cy, 0);
}

bool setWindowPos(Window* w, HWND after, int x, int y, int cx, int cy, UINT flags)
{
    State& s = state();
    HWND hwnd = w->hwnd;
    if (w->visibleFlag())
        flags &= ~UINT(SWP_SHOWWINDOW);
    else
        flags &= ~UINT(SWP_HIDEWINDOW);
    if (w->parent)
        flags |= SWP_NOACTIVATE;

    WINDOWPOS wp{hwnd, after, x, y, cx, cy, flags};
    if (flags & SWP_NOMOVE) {
        wp.x = w->rect.left;
        wp.y = w->rect.top;
    }
    if (flags & SWP_NOSIZE) {
        wp.cx = w->rect.right - w->rect.left;
        wp.cy = w->rect.bottom - w->rect.top;
    }
    if (!(flags & SWP_NOSENDCHANGING)) {
        send(w, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
        if (!fromHandle(hwnd))
            return false;
    }
    flags = wp.flags;
    if (wp.cx < 0)
        wp.cx = 0;
    if (wp.cy < 0)
        wp.cy = 0;

    RECT oldRect = w->rect;
    RECT oldClient = w->clientRect;
    bool wasVisible = isVisible(w);
    RECT newRect{wp.x, wp.y, wp.x + wp.cx, wp.y + wp.cy};
    bool moved = newRect.left != oldRect.left || newRect.top != oldRect.top;
    bool sized = (newRect.right - newRect.left) != (oldRect.right - oldRect.left) ||
                 (newRect.bottom - newRect.top) != (oldRect.bottom - oldRect.top);

    if (moved || sized || (flags & SWP_FRAMECHANGED)) {
        w->rect = newRect;
        NCCALCSIZE_PARAMS ncp{};
        ncp.rgrc[0] = newRect;
        ncp.rgrc[1] = oldRect;
        ncp.rgrc[2] = oldClient;
        WINDOWPOS copy = wp;
        ncp.lppos = &copy;
        send(w, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&ncp));
        if (!fromHandle(hwnd))
            return false;
        w->clientRect = ncp.rgrc[0];
        if (w->clientRect.right < w->clientRect.left)
            w->clientRect.right = w->clientRect.left;
        if (w->clientRect.bottom < w->clientRect.top)
            w->clientRect.bottom = w->clientRect.top;
        if (w->minimized())
            w->clientRect = RECT{newRect.left, newRect.top, newRect.left, newRect.top};
    }
    bool restacked = false;
    if (!(flags & SWP_NOZORDER))
        restacked = reorder(w, wp.hwndInsertAfter);
    bool showing = flags & SWP_SHOWWINDOW;
    bool hiding = flags & SWP_HIDEWINDOW;
    if (showing)
        w->style |= WS_VISIBLE;
    if (hiding)
        w->style &= ~DWORD(WS_VISIBLE);
    bumpGeometry();

    if (!w->parent) {
        resizeSurface(w);
        Backend& b = backend();
        if ((moved || sized) && !w->minimized())
            b.windowMoved(hwnd, w->rect);
        if (restacked)
            restackBackend();
        if (showing || hiding)
            b.windowShown(hwnd, showing);
    }
    if (!moved)
        flags |= SWP_NOMOVE;
    if (!sized)
        flags |= SWP_NOSIZE;
    wp.flags = flags;

    bool nowVisible = isVisible(w);
    if (!(flags & SWP_NOREDRAW)) {
        if (w->parent && (wasVisible || nowVisible) && (moved || sized || showing || hiding)) {
            Region exposed;
            if (wasVisible)
                exposed.unite(oldRect);
            if (nowVisible && (moved || sized || hiding))
                exposed.unite(w->rect);
            if (!exposed.empty())
                invalidate(w->parent, &exposed, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        }
        if (nowVisible && (showing || sized || (flags & SWP_FRAMECHANGED) || (moved && w->parent)))
            invalidate(w, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }

    if (showing && !w->parent && !(flags & SWP_NOACTIVATE) && !w->minimized()) {
        activate(w, false);
        if (!fromHandle(hwnd))
            return false;
    }
    if (showing && nowVisible && !(flags & SWP_NOREDRAW)) {
        eraseNow(w, true);
        if (!fromHandle(hwnd))
            return false;
    }

    send(w, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
    if (!fromHandle(hwnd))
        return false;

    if (hiding && !w->parent && s.active == hwnd)
        activateNextAfter(w);
    if (hiding && w->parent) {
        Window* f = fromHandle(s.focus);
        if (f && (f == w || isDescendant(w, f)))
            SetFocus(w->parent->hwnd);
    }
    if (!w->parent && s.capture == nullptr)
        checkMouseLeave();
    return true;
}

namespace {

void minimizeWindow(Window* w, bool activateIt, bool show)
{
    HWND hwnd = w->hwnd;
    if (!w->minimized()) {
        w->restoreToMaximized = w->maximized();
        if (!w->maximized())
            w->normalRect = w->rect;
    }
    bool wasVisible = w->visibleFlag();
    if (!wasVisible && show) {
        send(w, WM_SHOWWINDOW, TRUE, 0);
        if (!fromHandle(hwnd))
            return;
    }
    w->style = (w->style | WS_MINIMIZE) & ~DWORD(WS_MAXIMIZE);
    if (!w->parent)
        backend().windowIconified(hwnd, true);
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_STATECHANGED;
    if (!wasVisible && show)
        flags |= SWP_SHOWWINDOW;
    int x = w->parent ? w->rect.left : kMinimizedX;
    int y = w->parent ? w->rect.top : kMinimizedX;
    setWindowPos(w, nullptr, x, y, kMinimizedW, kMinimizedH, flags);
    if (!fromHandle(hwnd) || w->parent)
        return;
    if (activateIt)
        activate(w, false);
    else
        activateNextAfter(w);
}

void maximizeWindow(Window* w, bool activateIt)
{
    HWND hwnd = w->hwnd;
    bool wasVisible = w->visibleFlag();
    if (!wasVisible) {
        send(w, WM_SHOWWINDOW, TRUE, 0);
        if (!fromHandle(hwnd))
            return;
    }
    if (!w->minimized() && !w->maximized())
        w->normalRect = w->rect;
    MINMAXINFO mmi = queryMinMax(w);
    if (!fromHandle(hwnd))
        return;
    int cx = std::min(mmi.ptMaxSize.x, mmi.ptMaxTrackSize.x);
    int cy = std::min(mmi.ptMaxSize.y, mmi.ptMaxTrackSize.y);
    bool wasMin = w->minimized();
    w->style = (w->style | WS_MAXIMIZE) & ~DWORD(WS_MINIMIZE);
    if (wasMin && !w->parent)
        backend().windowIconified(hwnd, false);
    UINT flags = SWP_NOZORDER | SWP_FRAMECHANGED | SWP_STATECHANGED | SWP_NOACTIVATE;
    if (!wasVisible)
        flags |= SWP_SHOWWINDOW;
    setWindowPos(w, nullptr, mmi.ptMaxPosition.x, mmi.ptMaxPosition.y, cx, cy, flags);
    if (fromHandle(hwnd) && activateIt && !w->parent)
        activate(w, false);
}

bool restoreWindow(Window* w, bool activateIt)
{
    HWND hwnd = w->hwnd;
    if (w->minimized()) {
        if (!send(w, WM_QUERYOPEN, 0, 0))
            return false;
        if (!fromHandle(hwnd))
            return false;
        if (w->restoreToMaximized) {
            w->style &= ~DWORD(WS_MINIMIZE);
            if (!w->parent)
                backend().windowIconified(hwnd, false);
            maximizeWindow(w, activateIt);
            return true;
        }
        w->style &= ~DWORD(WS_MINIMIZE);
        if (!w->parent)
            backend().windowIconified(hwnd, false);
    } else if (w->maximized()) {
        w->style &= ~DWORD(WS_MAXIMIZE);
    } else {
        return true;
    }
    RECT r = w->normalRect;
    UINT flags = SWP_NOZORDER | SWP_FRAMECHANGED | SWP_STATECHANGED | SWP_NOACTIVATE;
    if (!w->visibleFlag()) {
        send(w, WM_SHOWWINDOW, TRUE, 0);
        if (!fromHandle(hwnd))
            return false;
        flags |= SWP_SHOWWINDOW;
    }
    setWindowPos(w, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
    if (fromHandle(hwnd) && activateIt && !w->parent)
        activate(w, false);
    return true;
}

} // namespace

} // namespace vk::user

using namespace vk;
using namespace vk::user;

namespace {

bool isDesktop(HWND h) { return h == GetDesktopWindow(); }

RECT screenRect()
{
    SIZE s = backend().screenSize();
    return RECT{0, 0, s.cx, s.cy};
}

} // namespace

extern "C" {

BOOL WINAPI SetWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags)
{
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    if (after == hwnd)
        flags |= SWP_NOZORDER;
    bool ok;
    ++state().sendDepth;
    ok = setWindowPos(w, after, x, y, cx, cy, flags);
    --state().sendDepth;
    freeGraveyardIfIdle();
    return ok ? TRUE : FALSE;
}

BOOL WINAPI MoveWindow(HWND hwnd, int x, int y, int cx, int cy, BOOL repaint)
{
    return SetWindowPos(hwnd, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL WINAPI ShowWindow(HWND hwnd, int cmd)
{
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    State& s = state();
    BOOL wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
    ++s.sendDepth;
    auto showPlain = [&](bool activateIt) {
        if (!w->visibleFlag()) {
            send(w, WM_SHOWWINDOW, TRUE, 0);
            if (!fromHandle(hwnd))
                return;
            setWindowPos(w, HWND_TOP, 0, 0, 0, 0,
                         SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | (activateIt ? 0 : SWP_NOACTIVATE) |
                             (w->parent ? SWP_NOZORDER : 0));
        } else if (activateIt && !w->parent) {
            activate(w, false);
        }
    };
    switch (cmd) {
    case SW_HIDE:
        if (w->visibleFlag()) {
            send(w, WM_SHOWWINDOW, FALSE, 0);
            if (fromHandle(hwnd))
                setWindowPos(w, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
        if (w->minimized() || w->maximized())
            restoreWindow(w, true);
        if (fromHandle(hwnd))
            showPlain(true);
        break;
    case SW_SHOWNOACTIVATE:
        if (w->minimized() || w->maximized())
            restoreWindow(w, false);
        if (fromHandle(hwnd))
            showPlain(false);
        break;
    case SW_SHOW:
        showPlain(true);
        break;
    case SW_SHOWNA:
        showPlain(false);
        break;
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
        minimizeWindow(w, false, true);
        break;
    case SW_SHOWMINIMIZED:
        minimizeWindow(w, true, true);
        break;
    case SW_SHOWMAXIMIZED:
        maximizeWindow(w, true);
        break;
    default:
        --s.sendDepth;
        return failWith(ERROR_INVALID_SHOWWIN_COMMAND, FALSE);
    }
    --s.sendDepth;
    freeGraveyardIfIdle();
    return wasVisible;
}

BOOL WINAPI GetWindowRect(HWND hwnd, LPRECT r)
{
    if (!r)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    if (isDesktop(hwnd)) {
        *r = screenRect();
        return TRUE;
    }
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    *r = windowRectOnScreen(w);
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND hwnd, LPRECT r)
{
    if (!r)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    if (isDesktop(hwnd)) {
        *r = screenRect();
        return TRUE;
    }
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    *r = RECT{0, 0, w->clientRect.right - w->clientRect.left, w->clientRect.bottom - w->clientRect.top};
    return TRUE;
}

BOOL WINAPI GetWindowInfo(HWND hwnd, PWINDOWINFO info)
{
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    if (!info || info->cbSize != sizeof(WINDOWINFO))
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    info->rcWindow = windowRectOnScreen(w);
    info->rcClient = clientRectOnScreen(w);
    info->dwStyle = w->style;
    info->dwExStyle = w->exStyle;
    info->dwWindowStatus = state().active == hwnd ? WS_ACTIVECAPTION : 0;
    RECT b;
    computeNcBorders(w->style & ~DWORD(WS_CAPTION & ~WS_BORDER & ~WS_DLGFRAME), w->exStyle, b);
    info->cxWindowBorders = UINT(b.left);
    info->cyWindowBorders = UINT(b.left);
    info->atomWindowType = w->cls->atom;
    info->wCreatorVersion = 0x0500;
    return TRUE;
}

BOOL WINAPI GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT* p)
{
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    if (!p)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    p->length = sizeof(*p);
    p->flags = w->restoreToMaximized ? WPF_RESTORETOMAXIMIZED : 0;
    p->showCmd = w->minimized() ? SW_SHOWMINIMIZED : w->maximized() ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    p->ptMinPosition = POINT{-1, -1};
    p->ptMaxPosition = POINT{-1, -1};
    p->rcNormalPosition = (w->minimized() || w->maximized()) ? w->normalRect : w->rect;
    return TRUE;
}

BOOL WINAPI SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT* p)
{
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    if (!p)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    RECT r = p->rcNormalPosition;
    if (w->minimized() || w->maximized())
        w->normalRect = r;
    else
        SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd, int(p->showCmd));
    return TRUE;
}

BOOL WINAPI AdjustWindowRectEx(LPRECT r, DWORD style, BOOL menu, DWORD exStyle)
{
    if (!r)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    RECT b;
    computeNcBorders(style, exStyle, b);
    r->left -= b.left;
    r->top -= b.top + (menu ? 19 : 0);
    r->right += b.right;
    r->bottom += b.bottom;
    return TRUE;
}

BOOL WINAPI AdjustWindowRect(LPRECT r, DWORD style, BOOL menu) { return AdjustWindowRectEx(r, style, menu, 0); }

BOOL WINAPI ClientToScreen(HWND hwnd, LPPOINT p)
{
    if (!p)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    if (isDesktop(hwnd))
        return TRUE;
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    POINT o = clientOriginOnScreen(w);
    p->x += o.x;
    p->y += o.y;
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hwnd, LPPOINT p)
{
    if (!p)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    if (isDesktop(hwnd))
        return TRUE;
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    POINT o = clientOriginOnScreen(w);
    p->x -= o.x;
    p->y -= o.y;
    return TRUE;
}

int WINAPI MapWindowPoints(HWND from, HWND to, LPPOINT pts, UINT count)
{
    POINT a{0, 0}, b{0, 0};
    if (from && !isDesktop(from)) {
        Window* w = checked(from);
        if (!w)
            return 0;
        a = clientOriginOnScreen(w);
    }
    if (to && !isDesktop(to)) {
        Window* w = checked(to);
        if (!w)
            return 0;
        b = clientOriginOnScreen(w);
    }
    int dx = a.x - b.x, dy = a.y - b.y;
    SetLastError(0);
    if (pts)
        for (UINT i = 0; i < count; ++i) {
            pts[i].x += dx;
            pts[i].y += dy;
        }
    return int((uint32_t(uint16_t(dx))) | (uint32_t(uint16_t(dy)) << 16));
}

HWND WINAPI ChildWindowFromPointEx(HWND parent, POINT pt, UINT flags)
{
    Window* p = checked(parent);
    if (!p)
        return nullptr;
    RECT client{0, 0, p->clientRect.right - p->clientRect.left, p->clientRect.bottom - p->clientRect.top};
    if (!PtInRect(&client, pt))
        return nullptr;
    for (Window* c : p->children) {
        if ((flags & CWP_SKIPINVISIBLE) && !(c->style & WS_VISIBLE))
            continue;
        if ((flags & CWP_SKIPDISABLED) && (c->style & WS_DISABLED))
            continue;
        if ((flags & CWP_SKIPTRANSPARENT) && (c->exStyle & WS_EX_TRANSPARENT))
            continue;
        if (PtInRect(&c->rect, pt))
            return c->hwnd;
    }
    return parent;
}

HWND WINAPI ChildWindowFromPoint(HWND parent, POINT pt) { return ChildWindowFromPointEx(parent, pt, CWP_ALL); }

HWND WINAPI RealChildWindowFromPoint(HWND parent, POINT pt)
{
    return ChildWindowFromPointEx(parent, pt, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
}

BOOL WINAPI SetWindowRgn(HWND hwnd, HRGN rgn, BOOL redraw)
{
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    if (rgn) {
        Region* r = gdi::regionObject(rgn);
        if (!r)
            return failWith(ERROR_INVALID_HANDLE, FALSE);
        w->windowRgn = std::make_unique<Region>(*r);
        // The system owns the region from now on.
        DeleteObject(rgn);
    } else {
        w->windowRgn.reset();
    }
    bumpGeometry();
    if (!w->parent)
        backend().windowRegion(hwnd, w->windowRgn.get());
    if (redraw && isVisible(w)) {
        invalidate(w, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        if (w->parent) {
            Region r(w->rect);
            invalidate(w->parent, &r, RDW_INVALIDATE | RDW_ERASE);
        }
    }
    return TRUE;
}

int WINAPI GetWindowRgn(HWND hwnd, HRGN rgn)
{
    Window* w = checked(hwnd);
    if (!w)
        return ERROR;
    if (!w->windowRgn)
        return ERROR;
    Region* out = gdi::regionObject(rgn);
    if (!out)
        return ERROR;
    *out = *w->windowRgn;
    return gdi::regionComplexity(*out);
}

int WINAPI GetWindowRgnBox(HWND hwnd, LPRECT r)
{
    Window* w = checked(hwnd);
    if (!w || !r || !w->windowRgn)
        return ERROR;
    *r = w->windowRgn->bounds();
    return gdi::regionComplexity(*w->windowRgn);
}

} // extern "C"
