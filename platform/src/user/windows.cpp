// Windows: creation and destruction, the window tree, window longs, text and
// properties, and the lookups over the tree.
#include "backend/backend.h"
#include "core/last_error.h"
#include "user/draw_target.h"
#include "user/classes.h"
#include "user/window.h"

#include <algorithm>
#include <cstring>
#include <strings.h>
#include <unistd.h>

namespace vk::user {

State& state()
{
    static State* s = new State(); // lives to the end: windows may be touched from exit handlers
    return *s;
}

Window* fromHandle(HWND hwnd) { return state().windows.get(hwnd); }

Window* checked(HWND hwnd)
{
    Window* w = fromHandle(hwnd);
    if (!w)
        fail(ERROR_INVALID_WINDOW_HANDLE);
    return w;
}

Window* topLevelOf(Window* w)
{
    while (w && w->parent)
        w = w->parent;
    return w;
}

bool isVisible(Window* w)
{
    for (; w; w = w->parent)
        if (!(w->style & WS_VISIBLE))
            return false;
    return true;
}

bool isDescendant(Window* ancestor, Window* w)
{
    for (w = w ? w->parent : nullptr; w; w = w->parent)
        if (w == ancestor)
            return true;
    return false;
}

POINT clientOriginOnScreen(Window* w)
{
    POINT p{w->clientRect.left, w->clientRect.top};
    for (Window* a = w->parent; a; a = a->parent) {
        p.x += a->clientRect.left;
        p.y += a->clientRect.top;
    }
    return p;
}

RECT windowRectOnScreen(Window* w)
{
    RECT r = w->rect;
    if (w->parent) {
        POINT o = clientOriginOnScreen(w->parent);
        OffsetRect(&r, o.x, o.y);
    }
    return r;
}

RECT clientRectOnScreen(Window* w)
{
    RECT r = w->clientRect;
    if (w->parent) {
        POINT o = clientOriginOnScreen(w->parent);
        OffsetRect(&r, o.x, o.y);
    }
    return r;
}

POINT windowOriginInTop(Window* w)
{
    Window* top = topLevelOf(w);
    RECT r = windowRectOnScreen(w);
    return POINT{r.left - top->rect.left, r.top - top->rect.top};
}

POINT clientOriginInTop(Window* w)
{
    Window* top = topLevelOf(w);
    POINT o = clientOriginOnScreen(w);
    return POINT{o.x - top->rect.left, o.y - top->rect.top};
}

void bumpGeometry() { ++state().geometryGeneration; }

uint64_t geometryGeneration() { return state().geometryGeneration; }

namespace {

// Set while the desktop panel's stand-in is made: it gets no window on the
// real desktop.
bool g_creatingPanelStandIn = false;

std::vector<Window*>& siblingsOf(Window* w) { return w->parent ? w->parent->children : state().topLevels; }

void unlinkFromSiblings(Window* w)
{
    auto& list = siblingsOf(w);
    list.erase(std::remove(list.begin(), list.end(), w), list.end());
}

int defaultPlacementCounter = 0;

void notifyParent(Window* w, UINT event)
{
    for (Window* c = w; c && c->isChild() && !(c->exStyle & WS_EX_NOPARENTNOTIFY); c = c->parent) {
        Window* p = c->parent;
        if (!p)
            break;
        send(p, WM_PARENTNOTIFY, MAKEWPARAM(event, c->id), reinterpret_cast<LPARAM>(w->hwnd));
        if (!fromHandle(p->hwnd))
            break;
    }
}

// Moves a window's record to the graveyard; the record is freed once no
// handler that might still use it is running.
void bury(Window* w)
{
    State& s = state();
    auto owned = s.windows.remove(reinterpret_cast<uintptr_t>(w->hwnd));
    if (owned)
        s.graveyard.push_back(std::move(owned));
}

void sendDestroy(Window* w)
{
    send(w, WM_DESTROY, 0, 0);
    std::vector<HWND> kids;
    for (Window* c : w->children)
        kids.push_back(c->hwnd);
    for (HWND k : kids)
        if (Window* c = fromHandle(k))
            sendDestroy(c);
}

void sendNcDestroy(Window* w)
{
    std::vector<HWND> kids;
    for (Window* c : w->children)
        kids.push_back(c->hwnd);
    for (HWND k : kids)
        if (Window* c = fromHandle(k))
            sendNcDestroy(c);
    send(w, WM_NCDESTROY, 0, 0);
}

void releaseResources(Window* w)
{
    State& s = state();
    for (Window* c : std::vector<Window*>(w->children))
        releaseResources(c);
    s.timers.erase(std::remove_if(s.timers.begin(), s.timers.end(), [&](const Timer& t) { return t.hwnd == w->hwnd; }),
                   s.timers.end());
    w->props.clear();
    if (s.capture == w->hwnd)
        s.capture = nullptr;
    if (s.focus == w->hwnd)
        s.focus = nullptr;
    if (s.active == w->hwnd)
        s.active = nullptr;
    cancelTrackingFor(w->hwnd);
    if (scrollBarHooks().destroyed)
        scrollBarHooks().destroyed(w->hwnd);
    gdi::windowDestroyed(w->hwnd);
    if (!w->parent && backendStarted())
        backend().windowDestroyed(w->hwnd);
    unlinkFromSiblings(w);
    w->children.clear();
    if (w->cls)
        --w->cls->windowCount;
    bury(w);
}

} // namespace

void freeGraveyardIfIdle()
{
    State& s = state();
    if (s.sendDepth == 0 && !s.graveyard.empty())
        s.graveyard.clear();
}

bool destroyWindow(Window* w)
{
    State& s = state();
    if (w->destroying)
        return true;
    w->destroying = true;
    HWND hwnd = w->hwnd;

    if (s.capture == hwnd || (s.capture && isDescendant(w, fromHandle(s.capture))))
        ReleaseCapture();

    // Owned windows go first, as on Win32.
    if (!w->parent) {
        std::vector<HWND> owned;
        for (Window* t : s.topLevels)
            if (t->owner == hwnd)
                owned.push_back(t->hwnd);
        for (HWND o : owned)
            if (Window* ow = fromHandle(o))
                destroyWindow(ow);
        if (!fromHandle(hwnd))
            return true;
    }

    if (w->visibleFlag() && w->created) {
        setWindowPos(w, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (!fromHandle(hwnd))
            return true;
    }
    windowGoingAway(w);
    if (!fromHandle(hwnd))
        return true;
    if (w->created) {
        if (w->isChild())
            notifyParent(w, WM_DESTROY);
        if (!fromHandle(hwnd))
            return true;
        sendDestroy(w);
        if (!fromHandle(hwnd))
            return true;
        sendNcDestroy(w);
    }
    if (Window* still = fromHandle(hwnd)) {
        Window* parent = still->parent;
        RECT area = still->rect;
        releaseResources(still);
        bumpGeometry();
        if (parent && fromHandle(parent->hwnd)) {
            Region r(area);
            invalidate(parent, &r, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        }
    }
    return true;
}

Window* createWindow(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int cx, int cy,
                     HWND parentHandle, HMENU menu, HINSTANCE inst, LPVOID param)
{
    ensureSystemClasses();
    State& s = state();
    WindowClass* cls = findClass(className);
    if (!cls)
        return failWith(ERROR_CANNOT_FIND_WND_CLASS, static_cast<Window*>(nullptr));

    Window* parent = nullptr;
    HWND owner = nullptr;
    if (parentHandle && parentHandle != HWND_MESSAGE) {
        parent = checked(parentHandle);
        if (!parent)
            return nullptr;
    }
    if (style & WS_CHILD) {
        if (!parent)
            return failWith(ERROR_TLW_WITH_WSCHILD, static_cast<Window*>(nullptr));
    } else if (parent) {
        owner = topLevelOf(parent)->hwnd;
        parent = nullptr;
    }

    // Overlapped windows always have a caption and a border, like Win32's.
    if (!(style & (WS_CHILD | WS_POPUP)))
        style |= WS_CAPTION | WS_CLIPSIBLINGS;
    if (style & WS_CHILD)
        exStyle &= ~DWORD(WS_EX_APPWINDOW);
    if ((style & WS_CAPTION) == WS_CAPTION || (exStyle & WS_EX_DLGMODALFRAME) || (style & WS_THICKFRAME))
        exStyle |= WS_EX_WINDOWEDGE;
    else if (!(exStyle & WS_EX_DLGMODALFRAME))
        exStyle &= ~DWORD(WS_EX_WINDOWEDGE);

    bool overlapped = !(style & (WS_CHILD | WS_POPUP));
    SIZE screen = backend().screenSize();
    if (x == CW_USEDEFAULT) {
        if (overlapped) {
            int step = (defaultPlacementCounter++ % 8) * 26;
            x = 40 + step;
            y = 40 + step;
        } else {
            x = 0;
            y = 0;
        }
    }
    if (cx == CW_USEDEFAULT) {
        if (overlapped) {
            cx = screen.cx * 3 / 4;
            cy = screen.cy * 3 / 4;
        } else {
            cx = 0;
            cy = 0;
        }
    }

    auto owned = std::make_unique<Window>();
    Window* w = owned.get();
    w->cls = cls;
    w->style = style & ~DWORD(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
    w->exStyle = exStyle;
    w->parent = parent;
    w->owner = owner;
    w->proc = cls->proc;
    w->instance = inst;
    w->id = reinterpret_cast<UINT_PTR>(menu);
    w->extra.assign(size_t(cls->wndExtra), 0);
    uintptr_t value = s.windows.add(std::move(owned));
    if (!value)
        return failWith(ERROR_NO_SYSTEM_RESOURCES, static_cast<Window*>(nullptr));
    w->hwnd = reinterpret_cast<HWND>(value);
    ++cls->windowCount;

    // New top-level windows come to the front; children go behind their
    // siblings, so the first child created is the first in tab order.
    if (parent)
        parent->children.push_back(w);
    else
        s.topLevels.insert(s.topLevels.begin(), w);

    HWND hwnd = w->hwnd;
    CREATESTRUCTA cs{};
    cs.lpCreateParams = param;
    cs.hInstance = inst;
    cs.hMenu = menu;
    cs.hwndParent = parent ? parent->hwnd : owner;
    cs.x = x;
    cs.y = y;
    cs.cx = cx;
    cs.cy = cy;
    cs.style = LONG(style);
    cs.lpszName = title;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;

    if (overlapped || (style & WS_THICKFRAME)) {
        MINMAXINFO mmi = queryMinMax(w);
        if (!fromHandle(hwnd))
            return nullptr;
        cs.cx = std::clamp<int>(cs.cx, std::min<int>(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x), mmi.ptMaxTrackSize.x);
        cs.cy = std::clamp<int>(cs.cy, std::min<int>(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y), mmi.ptMaxTrackSize.y);
    }
    if (cs.cx < 0)
        cs.cx = 0;
    if (cs.cy < 0)
        cs.cy = 0;
    SetRect(&w->rect, cs.x, cs.y, cs.x + cs.cx, cs.y + cs.cy);
    w->clientRect = w->rect;
    if (!parent) {
        w->surface = std::make_unique<OwnedSurface>(std::max(1, cs.cx), std::max(1, cs.cy));
        if (!g_creatingPanelStandIn)
            backend().windowCreated(hwnd, w->rect, style, exStyle);
    }
    bumpGeometry();

    if (!send(w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        if (Window* still = fromHandle(hwnd)) {
            still->created = false;
            send(still, WM_NCDESTROY, 0, 0);
            if ((still = fromHandle(hwnd)))
                releaseResources(still);
        }
        freeGraveyardIfIdle();
        return nullptr;
    }
    if (!fromHandle(hwnd))
        return nullptr;
    w->created = true;

    NCCALCSIZE_PARAMS ncp{};
    ncp.rgrc[0] = w->rect;
    send(w, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&ncp.rgrc[0]));
    if (!fromHandle(hwnd))
        return nullptr;
    w->clientRect = ncp.rgrc[0];
    if (w->clientRect.right < w->clientRect.left)
        w->clientRect.right = w->clientRect.left;
    if (w->clientRect.bottom < w->clientRect.top)
        w->clientRect.bottom = w->clientRect.top;

    if (send(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        if (Window* still = fromHandle(hwnd))
            destroyWindow(still);
        freeGraveyardIfIdle();
        return failWith(ERROR_INVALID_PARAMETER, static_cast<Window*>(nullptr));
    }
    if (!fromHandle(hwnd))
        return nullptr;

    send(w, WM_SIZE, SIZE_RESTORED,
         MAKELPARAM(w->clientRect.right - w->clientRect.left, w->clientRect.bottom - w->clientRect.top));
    if (!fromHandle(hwnd))
        return nullptr;
    send(w, WM_MOVE, 0, MAKELPARAM(w->clientRect.left, w->clientRect.top));
    if (!fromHandle(hwnd))
        return nullptr;
    w->sizeMoveSent = true;

    if (w->isChild())
        notifyParent(w, WM_CREATE);
    if (!fromHandle(hwnd))
        return nullptr;

    if (style & (WS_MINIMIZE | WS_MAXIMIZE)) {
        ShowWindow(hwnd, (style & WS_MINIMIZE) ? ((style & WS_VISIBLE) ? SW_SHOWMINIMIZED : SW_MINIMIZE)
                                               : SW_SHOWMAXIMIZED);
        if (!(style & WS_VISIBLE) && fromHandle(hwnd))
            ShowWindow(hwnd, SW_HIDE);
    } else if (style & WS_VISIBLE) {
        ShowWindow(hwnd, SW_SHOW);
    }
    return fromHandle(hwnd);
}

} // namespace vk::user

using namespace vk;
using namespace vk::user;

namespace {

bool sameText(const std::string& a, const char* b) { return a == b; }

bool classMatches(Window* w, LPCSTR cls)
{
    if (!cls)
        return true;
    if (IS_INTRESOURCE(cls))
        return w->cls->atom == LOWORD(reinterpret_cast<uintptr_t>(cls));
    return strcasecmp(w->cls->name.c_str(), cls) == 0;
}

std::string propKey(LPCSTR name)
{
    if (IS_INTRESOURCE(name))
        return "#" + std::to_string(LOWORD(reinterpret_cast<uintptr_t>(name)));
    std::string k(name);
    for (char& c : k)
        c = char(tolower(static_cast<unsigned char>(c)));
    return k;
}

} // namespace

extern "C" {

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int cx, int cy,
                            HWND parent, HMENU menu, HINSTANCE inst, LPVOID param)
{
    Window* w = createWindow(exStyle, className, title, style, x, y, cx, cy, parent, menu, inst, param);
    return w ? w->hwnd : nullptr;
}

BOOL WINAPI DestroyWindow(HWND hwnd)
{
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    ++state().sendDepth;
    destroyWindow(w);
    --state().sendDepth;
    freeGraveyardIfIdle();
    return TRUE;
}

BOOL WINAPI IsWindow(HWND hwnd) { return fromHandle(hwnd) != nullptr; }

BOOL WINAPI IsWindowVisible(HWND hwnd)
{
    Window* w = fromHandle(hwnd);
    return w && isVisible(w);
}

BOOL WINAPI IsWindowEnabled(HWND hwnd)
{
    Window* w = fromHandle(hwnd);
    return w && !(w->style & WS_DISABLED);
}

BOOL WINAPI IsIconic(HWND hwnd)
{
    Window* w = fromHandle(hwnd);
    return w && w->minimized();
}

BOOL WINAPI IsZoomed(HWND hwnd)
{
    Window* w = fromHandle(hwnd);
    return w && w->maximized();
}

BOOL WINAPI IsChild(HWND parent, HWND child)
{
    Window* p = fromHandle(parent);
    Window* c = fromHandle(child);
    if (!p || !c)
        return FALSE;
    for (Window* a = c; a && a->isChild(); a = a->parent)
        if (a->parent == p)
            return TRUE;
    return FALSE;
}

BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable)
{
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    BOOL wasDisabled = (w->style & WS_DISABLED) != 0;
    if (enable && wasDisabled) {
        w->style &= ~DWORD(WS_DISABLED);
        send(w, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        send(w, WM_CANCELMODE, 0, 0);
        if (!fromHandle(hwnd))
            return FALSE;
        w->style |= WS_DISABLED;
        State& s = state();
        if (s.focus && (s.focus == hwnd || IsChild(hwnd, s.focus)))
            SetFocus(nullptr);
        if (s.capture == hwnd)
            ReleaseCapture();
        if (fromHandle(hwnd))
            send(w, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled;
}

HWND WINAPI GetParent(HWND hwnd)
{
    Window* w = checked(hwnd);
    if (!w)
        return nullptr;
    if (w->style & WS_CHILD)
        return handleOf(w->parent);
    if (w->style & WS_POPUP)
        return w->owner;
    return nullptr;
}

HWND WINAPI GetDesktopWindow(void)
{
    // The desktop is not a window of ours; its pseudo handle answers the
    // geometry queries programs make of it.
    return reinterpret_cast<HWND>(uintptr_t(0x00010010));
}

HWND WINAPI GetAncestor(HWND hwnd, UINT flags)
{
    Window* w = checked(hwnd);
    if (!w)
        return nullptr;
    switch (flags) {
    case GA_PARENT:
        return w->parent ? w->parent->hwnd : GetDesktopWindow();
    case GA_ROOT:
        return topLevelOf(w)->hwnd;
    case GA_ROOTOWNER: {
        Window* r = topLevelOf(w);
        while (r->owner) {
            Window* o = fromHandle(r->owner);
            if (!o)
                break;
            r = topLevelOf(o);
        }
        return r->hwnd;
    }
    default:
        return failWith(ERROR_INVALID_PARAMETER, HWND(nullptr));
    }
}

HWND WINAPI SetParent(HWND child, HWND newParent)
{
    Window* c = checked(child);
    if (!c)
        return nullptr;
    Window* p = newParent ? checked(newParent) : nullptr;
    if (newParent && !p)
        return nullptr;
    if (p && (p == c || isDescendant(c, p)))
        return failWith(ERROR_INVALID_PARAMETER, HWND(nullptr));
    HWND old = c->parent ? c->parent->hwnd : GetDesktopWindow();
    if (!c->parent || !p) // moving between top level and child is not supported: surfaces differ
        return failWith(ERROR_NOT_SUPPORTED, HWND(nullptr));
    bool vis = c->visibleFlag();
    if (vis)
        ShowWindow(child, SW_HIDE);
    RECT r = windowRectOnScreen(c);
    auto& from = c->parent->children;
    from.erase(std::remove(from.begin(), from.end(), c), from.end());
    c->parent = p;
    p->children.insert(p->children.begin(), c);
    POINT o = clientOriginOnScreen(p);
    int w = r.right - r.left, h = r.bottom - r.top;
    OffsetRect(&r, -o.x, -o.y);
    RECT clientOff{c->clientRect.left - c->rect.left, c->clientRect.top - c->rect.top, c->clientRect.right - c->rect.left,
                   c->clientRect.bottom - c->rect.top};
    c->rect = r;
    c->clientRect = RECT{r.left + clientOff.left, r.top + clientOff.top, r.left + clientOff.right, r.top + clientOff.bottom};
    (void)w;
    (void)h;
    bumpGeometry();
    if (vis)
        ShowWindow(child, SW_SHOWNA);
    return old;
}

HWND WINAPI GetWindow(HWND hwnd, UINT cmd)
{
    Window* w = checked(hwnd);
    if (!w)
        return nullptr;
    auto& sib = w->parent ? w->parent->children : state().topLevels;
    auto it = std::find(sib.begin(), sib.end(), w);
    switch (cmd) {
    case GW_HWNDFIRST: return sib.empty() ? nullptr : sib.front()->hwnd;
    case GW_HWNDLAST: return sib.empty() ? nullptr : sib.back()->hwnd;
    case GW_HWNDNEXT: return (it == sib.end() || it + 1 == sib.end()) ? nullptr : (*(it + 1))->hwnd;
    case GW_HWNDPREV: return (it == sib.end() || it == sib.begin()) ? nullptr : (*(it - 1))->hwnd;
    case GW_OWNER: return w->parent ? nullptr : w->owner;
    case GW_CHILD: return w->children.empty() ? nullptr : w->children.front()->hwnd;
    case GW_ENABLEDPOPUP:
        for (Window* t : state().topLevels)
            if (t->owner == hwnd && isVisible(t) && !(t->style & WS_DISABLED))
                return t->hwnd;
        return nullptr;
    default:
        return failWith(ERROR_INVALID_GW_COMMAND, HWND(nullptr));
    }
}

HWND WINAPI GetTopWindow(HWND hwnd)
{
    if (!hwnd || hwnd == GetDesktopWindow()) {
        auto& t = state().topLevels;
        return t.empty() ? nullptr : t.front()->hwnd;
    }
    Window* w = checked(hwnd);
    if (!w)
        return nullptr;
    return w->children.empty() ? nullptr : w->children.front()->hwnd;
}

HWND WINAPI GetNextWindow(HWND hwnd, UINT cmd) { return GetWindow(hwnd, cmd); }

namespace {

constexpr const char* kTrayClass = "Shell_TrayWnd";

LRESULT CALLBACK panelStandInProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_ERASEBKGND || msg == WM_PAINT) {
        ValidateRect(hwnd, nullptr);
        return msg == WM_ERASEBKGND;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

// The desktop's panel as the task bar window Windows programs look for: a
// window of class "Shell_TrayWnd" at the panel's place. It has no window on
// the real desktop; it only answers for the panel's geometry. Without a panel
// there is no such window, as on a desktop without a task bar.
void refreshPanelStandIn()
{
    static HWND standIn = nullptr;
    std::vector<RECT> panels = backendStarted() ? backend().desktopPanels() : std::vector<RECT>{};
    if (standIn && !IsWindow(standIn))
        standIn = nullptr;
    if (panels.empty()) {
        if (standIn)
            DestroyWindow(standIn);
        standIn = nullptr;
        return;
    }
    const RECT& r = panels.front();
    if (!standIn) {
        static bool registered = false;
        if (!registered) {
            WNDCLASSEXA wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = panelStandInProc;
            wc.lpszClassName = kTrayClass;
            registered = registerSystemClass(wc) != 0;
        }
        g_creatingPanelStandIn = true;
        standIn = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, kTrayClass, "", WS_POPUP,
                                  r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr,
                                  nullptr);
        g_creatingPanelStandIn = false;
        if (standIn)
            ShowWindow(standIn, SW_SHOWNOACTIVATE);
        return;
    }
    RECT now;
    GetWindowRect(standIn, &now);
    if (!EqualRect(&now, &r))
        SetWindowPos(standIn, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

bool isTrayClassName(LPCSTR cls) { return cls && !IS_INTRESOURCE(cls) && !lstrcmpiA(cls, kTrayClass); }

} // namespace

HWND WINAPI FindWindowExA(HWND parentHandle, HWND after, LPCSTR cls, LPCSTR title)
{
    const std::vector<Window*>* list;
    if ((!parentHandle || parentHandle == GetDesktopWindow()) && !after && isTrayClassName(cls)) {
        bool programHasOne = false;
        for (Window* w : state().topLevels)
            programHasOne = programHasOne || (classMatches(w, cls) && w->cls && !w->cls->system);
        if (!programHasOne)
            refreshPanelStandIn();
    }
    if (!parentHandle || parentHandle == GetDesktopWindow()) {
        list = &state().topLevels;
    } else if (parentHandle == HWND_MESSAGE) {
        return nullptr;
    } else {
        Window* p = checked(parentHandle);
        if (!p)
            return nullptr;
        list = &p->children;
    }
    size_t start = 0;
    if (after) {
        Window* a = fromHandle(after);
        auto it = std::find(list->begin(), list->end(), a);
        if (!a || it == list->end())
            return failWith(ERROR_INVALID_WINDOW_HANDLE, HWND(nullptr));
        start = size_t(it - list->begin()) + 1;
    }
    for (size_t i = start; i < list->size(); ++i) {
        Window* w = (*list)[i];
        if (!classMatches(w, cls))
            continue;
        if (title && !sameText(w->text, title))
            continue;
        return w->hwnd;
    }
    return nullptr;
}

HWND WINAPI FindWindowA(LPCSTR cls, LPCSTR title) { return FindWindowExA(nullptr, nullptr, cls, title); }

BOOL WINAPI EnumChildWindows(HWND parent, WNDENUMPROC fn, LPARAM lp)
{
    if (!fn)
        return FALSE;
    std::vector<HWND> all;
    std::function<void(Window*)> collect = [&](Window* p) {
        for (Window* c : p->children) {
            all.push_back(c->hwnd);
            collect(c);
        }
    };
    if (!parent) {
        for (Window* t : state().topLevels)
            collect(t);
    } else {
        Window* p = checked(parent);
        if (!p)
            return FALSE;
        collect(p);
    }
    for (HWND h : all)
        if (fromHandle(h) && !fn(h, lp))
            break;
    return TRUE;
}

BOOL WINAPI EnumWindows(WNDENUMPROC fn, LPARAM lp)
{
    if (!fn)
        return FALSE;
    std::vector<HWND> all;
    for (Window* t : state().topLevels)
        all.push_back(t->hwnd);
    for (HWND h : all)
        if (fromHandle(h) && !fn(h, lp))
            break;
    return TRUE;
}

BOOL WINAPI EnumThreadWindows(DWORD, WNDENUMPROC fn, LPARAM lp) { return EnumWindows(fn, lp); }

DWORD WINAPI GetWindowThreadProcessId(HWND hwnd, LPDWORD pid)
{
    if (!checked(hwnd))
        return 0;
    if (pid)
        *pid = DWORD(getpid());
    return 1;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hwnd, int index)
{
    Window* w = checked(hwnd);
    if (!w)
        return 0;
    if (index >= 0) {
        if (size_t(index) + sizeof(LONG_PTR) > w->extra.size()) {
            if (size_t(index) + sizeof(LONG) <= w->extra.size()) {
                LONG v = 0;
                memcpy(&v, w->extra.data() + index, sizeof(v));
                return v;
            }
            return failWith(ERROR_INVALID_INDEX, LONG_PTR(0));
        }
        LONG_PTR v = 0;
        memcpy(&v, w->extra.data() + index, sizeof(v));
        return v;
    }
    switch (index) {
    case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWL_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWL_HWNDPARENT: return reinterpret_cast<LONG_PTR>(w->parent ? w->parent->hwnd : w->owner);
    case GWL_STYLE: return LONG(w->style);
    case GWL_EXSTYLE: return LONG(w->exStyle);
    case GWL_USERDATA: return w->userData;
    case GWL_ID: return LONG_PTR(w->id);
    default: return failWith(ERROR_INVALID_INDEX, LONG_PTR(0));
    }
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value)
{
    Window* w = checked(hwnd);
    if (!w)
        return 0;
    SetLastError(0);
    if (index >= 0) {
        size_t width = (size_t(index) + sizeof(LONG_PTR) <= w->extra.size()) ? sizeof(LONG_PTR) : sizeof(LONG);
        if (size_t(index) + width > w->extra.size())
            return failWith(ERROR_INVALID_INDEX, LONG_PTR(0));
        LONG_PTR old = GetWindowLongPtrA(hwnd, index);
        memcpy(w->extra.data() + index, &value, width);
        return old;
    }
    LONG_PTR old = GetWindowLongPtrA(hwnd, index);
    switch (index) {
    case GWL_WNDPROC:
        if (!value)
            return failWith(ERROR_INVALID_PARAMETER, LONG_PTR(0));
        w->proc = reinterpret_cast<WNDPROC>(value);
        break;
    case GWL_HINSTANCE: w->instance = reinterpret_cast<HINSTANCE>(value); break;
    case GWL_HWNDPARENT:
        if (!w->parent)
            w->owner = reinterpret_cast<HWND>(value);
        break;
    case GWL_STYLE:
    case GWL_EXSTYLE: {
        STYLESTRUCT ss{DWORD(old), DWORD(value)};
        send(w, WM_STYLECHANGING, WPARAM(index), reinterpret_cast<LPARAM>(&ss));
        if (!fromHandle(hwnd))
            return old;
        if (index == GWL_STYLE) {
            // Visibility, minimize and maximize change only through ShowWindow.
            DWORD keep = WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE;
            DWORD childBit = w->parent ? WS_CHILD : 0;
            w->style = (ss.styleNew & ~keep & ~DWORD(WS_CHILD)) | (w->style & keep) | childBit;
        } else {
            w->exStyle = ss.styleNew;
        }
        bumpGeometry();
        send(w, WM_STYLECHANGED, WPARAM(index), reinterpret_cast<LPARAM>(&ss));
        break;
    }
    case GWL_USERDATA: w->userData = value; break;
    case GWL_ID: w->id = UINT_PTR(value); break;
    default: return failWith(ERROR_INVALID_INDEX, LONG_PTR(0));
    }
    return old;
}

LONG_PTR WINAPI GetWindowLongA(HWND hwnd, int index) { return GetWindowLongPtrA(hwnd, index); }
LONG_PTR WINAPI SetWindowLongA(HWND hwnd, int index, LONG_PTR value) { return SetWindowLongPtrA(hwnd, index, value); }

WORD WINAPI GetWindowWord(HWND hwnd, int index)
{
    Window* w = checked(hwnd);
    if (!w)
        return 0;
    if (index < 0 || size_t(index) + 2 > w->extra.size())
        return failWith(ERROR_INVALID_INDEX, WORD(0));
    WORD v;
    memcpy(&v, w->extra.data() + index, 2);
    return v;
}

WORD WINAPI SetWindowWord(HWND hwnd, int index, WORD value)
{
    Window* w = checked(hwnd);
    if (!w)
        return 0;
    if (index < 0 || size_t(index) + 2 > w->extra.size())
        return failWith(ERROR_INVALID_INDEX, WORD(0));
    WORD old;
    memcpy(&old, w->extra.data() + index, 2);
    memcpy(w->extra.data() + index, &value, 2);
    return old;
}

BOOL WINAPI SetWindowTextA(HWND hwnd, LPCSTR text)
{
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    return BOOL(send(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")));
}

int WINAPI GetWindowTextA(HWND hwnd, LPSTR buf, int max)
{
    Window* w = checked(hwnd);
    if (!w || !buf || max <= 0)
        return 0;
    buf[0] = 0;
    return int(send(w, WM_GETTEXT, WPARAM(max), reinterpret_cast<LPARAM>(buf)));
}

int WINAPI GetWindowTextLengthA(HWND hwnd)
{
    Window* w = checked(hwnd);
    if (!w)
        return 0;
    return int(send(w, WM_GETTEXTLENGTH, 0, 0));
}

BOOL WINAPI SetPropA(HWND hwnd, LPCSTR name, HANDLE data)
{
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    if (!name)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    std::string key = propKey(name);
    for (auto& p : w->props)
        if (p.name == key) {
            p.data = data;
            return TRUE;
        }
    w->props.push_back(Property{key, data});
    return TRUE;
}

HANDLE WINAPI GetPropA(HWND hwnd, LPCSTR name)
{
    Window* w = fromHandle(hwnd);
    if (!w || !name)
        return nullptr;
    std::string key = propKey(name);
    for (auto& p : w->props)
        if (p.name == key)
            return p.data;
    return nullptr;
}

HANDLE WINAPI RemovePropA(HWND hwnd, LPCSTR name)
{
    Window* w = checked(hwnd);
    if (!w || !name)
        return nullptr;
    std::string key = propKey(name);
    for (auto it = w->props.begin(); it != w->props.end(); ++it)
        if (it->name == key) {
            HANDLE d = it->data;
            w->props.erase(it);
            return d;
        }
    return nullptr;
}

int WINAPI EnumPropsA(HWND hwnd, PROPENUMPROCA fn)
{
    Window* w = checked(hwnd);
    if (!w || !fn)
        return -1;
    std::vector<Property> copy = w->props;
    int result = -1;
    for (auto& p : copy) {
        result = fn(hwnd, p.name.c_str(), p.data);
        if (!result)
            break;
    }
    return result;
}

} // extern "C"
