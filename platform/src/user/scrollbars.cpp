// Scroll bars: the non-client bars of WS_VSCROLL/WS_HSCROLL windows and the
// "ScrollBar" control (SB_CTL). One geometry function serves drawing, hit
// testing, GetScrollBarInfo and tracking, so what is drawn is what is hit.
#include "core/last_error.h"
#include "user/classes.h"
#include "user/cursors.h"
#include "user/nc_layout.h"
#include "user/window.h"

#include <windows.h>

#include <algorithm>
#include <memory>

namespace vk::user {

namespace {

struct Bar {
    int min = 0;
    int max = 100;
    UINT page = 0;
    int pos = 0;
    int trackPos = 0;
    UINT disabled = ESB_ENABLE_BOTH; // ESB_DISABLE_* arrows
    int pressed = -1;                // rgstate index pressed while tracking
    bool tracking = false;
};

struct Bars {
    Bar bar[3]; // SB_HORZ, SB_VERT, SB_CTL
};

Bars* barsOf(Window* w, bool create)
{
    if (!w)
        return nullptr;
    if (!w->scrollBars && create)
        w->scrollBars = std::make_shared<Bars>();
    return static_cast<Bars*>(w->scrollBars.get());
}

bool isControl(Window* w)
{
    return w && w->cls && lstrcmpiA(w->cls->name.c_str(), "ScrollBar") == 0;
}

// The bar's parts along its length, relative to its start.
struct Geometry {
    RECT rect{};   // window coordinates of the window that holds the bar
    bool vertical = true;
    int length = 0;
    int arrow = 0;
    int thumbTop = 0;    // 0 and 0 when there is no thumb
    int thumbBottom = 0;
    bool visible = false;
};

int posRange(const Bar& b)
{
    long long r = (long long)b.max - b.min - std::max<long long>((long long)b.page - 1, 0);
    return r > 0 ? int(std::min<long long>(r, 0x7fffffff)) : 0;
}

bool scrollable(const Bar& b) { return posRange(b) > 0; }

Geometry geometry(Window* w, int which)
{
    Geometry g;
    Bars* bs = barsOf(w, false);
    Bar def;
    const Bar& b = bs ? bs->bar[which] : def;
    if (which == SB_CTL) {
        g.rect = RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
        g.vertical = (w->style & SBS_VERT) != 0;
        g.visible = true;
    } else {
        NcLayout l = ncLayout(w);
        g.rect = which == SB_VERT ? l.vscroll : l.hscroll;
        g.vertical = which == SB_VERT;
        g.visible = !IsRectEmpty(&g.rect) && (w->style & (which == SB_VERT ? WS_VSCROLL : WS_HSCROLL));
    }
    int thick = g.vertical ? g.rect.right - g.rect.left : g.rect.bottom - g.rect.top;
    g.length = g.vertical ? g.rect.bottom - g.rect.top : g.rect.right - g.rect.left;
    if (g.length <= 0 || thick <= 0)
        return g;
    g.arrow = g.length < 2 * thick ? g.length / 2 : thick;
    if (which != SB_CTL)
        g.arrow = std::min(g.arrow, GetSystemMetrics(g.vertical ? SM_CYVSCROLL : SM_CXHSCROLL));
    int track = g.length - 2 * g.arrow;
    if ((b.disabled & ESB_DISABLE_BOTH) == ESB_DISABLE_BOTH || !scrollable(b) || (w->style & WS_DISABLED))
        return g;
    long long range = (long long)b.max - b.min + 1;
    int minThumb = 8;
    int thumb = b.page ? int(std::max<long long>((long long)track * b.page / range, minThumb))
                       : GetSystemMetrics(g.vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
    if (thumb > track)
        return g;
    int pos = b.tracking && b.pressed == 3 ? b.trackPos : b.pos;
    int pr = posRange(b);
    long long off = pr > 0 ? (long long)(track - thumb) * (pos - b.min) / pr : 0;
    g.thumbTop = g.arrow + int(std::clamp<long long>(off, 0, track - thumb));
    g.thumbBottom = g.thumbTop + thumb;
    return g;
}

// rgstate index of a point along the bar, -1 outside.
int partAt(const Geometry& g, int along)
{
    if (along < 0 || along >= g.length)
        return -1;
    if (along < g.arrow)
        return 1;
    if (along >= g.length - g.arrow)
        return 5;
    if (g.thumbBottom > g.thumbTop) {
        if (along < g.thumbTop)
            return 2;
        if (along >= g.thumbBottom)
            return 4;
        return 3;
    }
    return -1; // the track without a thumb does nothing
}

void clampBar(Bar& b)
{
    if (b.max < b.min)
        b.max = b.min;
    long long span = (long long)b.max - b.min + 1;
    if ((long long)b.page > span)
        b.page = UINT(span);
    int hi = b.min + posRange(b);
    b.pos = std::clamp(b.pos, b.min, hi);
    b.trackPos = std::clamp(b.trackPos, b.min, hi);
}

void drawBar(Window* w, int which, HDC dc)
{
    Geometry g = geometry(w, which);
    if (!g.visible || IsRectEmpty(&g.rect))
        return;
    Bars* bs = barsOf(w, false);
    Bar def;
    const Bar& b = bs ? bs->bar[which] : def;
    bool off = (w->style & WS_DISABLED) || (b.disabled & ESB_DISABLE_BOTH) == ESB_DISABLE_BOTH;
    RECT r = g.rect;
    auto span = [&](int a, int z) {
        RECT p = r;
        if (g.vertical) {
            p.top = r.top + a;
            p.bottom = r.top + z;
        } else {
            p.left = r.left + a;
            p.right = r.left + z;
        }
        return p;
    };
    HBRUSH track = GetSysColorBrush(COLOR_SCROLLBAR);
    RECT a1 = span(0, g.arrow), a2 = span(g.length - g.arrow, g.length);
    UINT s1 = g.vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT;
    UINT s2 = g.vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT;
    if (off || (b.disabled & ESB_DISABLE_LTUP) || !scrollable(b))
        s1 |= DFCS_INACTIVE;
    if (off || (b.disabled & ESB_DISABLE_RTDN) || !scrollable(b))
        s2 |= DFCS_INACTIVE;
    if (b.tracking && b.pressed == 1)
        s1 |= DFCS_PUSHED | DFCS_FLAT;
    if (b.tracking && b.pressed == 5)
        s2 |= DFCS_PUSHED | DFCS_FLAT;
    DrawFrameControl(dc, &a1, DFC_SCROLL, s1);
    DrawFrameControl(dc, &a2, DFC_SCROLL, s2);
    RECT mid = span(g.arrow, g.length - g.arrow);
    if (g.thumbBottom > g.thumbTop) {
        RECT p1 = span(g.arrow, g.thumbTop), p2 = span(g.thumbBottom, g.length - g.arrow);
        HBRUSH dark = GetSysColorBrush(COLOR_3DDKSHADOW);
        FillRect(dc, &p1, b.tracking && b.pressed == 2 ? dark : track);
        FillRect(dc, &p2, b.tracking && b.pressed == 4 ? dark : track);
        RECT t = span(g.thumbTop, g.thumbBottom);
        FillRect(dc, &t, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(dc, &t, EDGE_RAISED, BF_RECT);
    } else if (!IsRectEmpty(&mid)) {
        FillRect(dc, &mid, track);
    }
}

void redrawBar(Window* w, int which)
{
    if (!w || !isVisible(w))
        return;
    HDC dc = GetWindowDC(w->hwnd);
    if (!dc)
        return;
    drawBar(w, which, dc);
    ReleaseDC(w->hwnd, dc);
}

void paintHook(HWND hwnd, HDC dc)
{
    Window* w = fromHandle(hwnd);
    if (!w)
        return;
    NcLayout l = ncLayout(w);
    if (w->style & WS_VSCROLL)
        drawBar(w, SB_VERT, dc);
    if (w->style & WS_HSCROLL)
        drawBar(w, SB_HORZ, dc);
    if (!IsRectEmpty(&l.grip))
        FillRect(dc, &l.grip, GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT hitTestHook(HWND hwnd, POINT screen)
{
    Window* w = fromHandle(hwnd);
    if (!w)
        return HTNOWHERE;
    RECT wr = windowRectOnScreen(w);
    POINT p{screen.x - wr.left, screen.y - wr.top};
    for (int which : {SB_VERT, SB_HORZ}) {
        Geometry g = geometry(w, which);
        if (g.visible && PtInRect(&g.rect, p))
            return which == SB_VERT ? HTVSCROLL : HTHSCROLL;
    }
    return HTNOWHERE;
}

void notify(Window* w, int which, WPARAM code)
{
    if (which == SB_CTL) {
        HWND parent = w->parent ? w->parent->hwnd : w->owner;
        if (parent)
            sendTo(parent, (w->style & SBS_VERT) ? WM_VSCROLL : WM_HSCROLL, code, reinterpret_cast<LPARAM>(w->hwnd));
    } else {
        sendTo(w->hwnd, which == SB_VERT ? WM_VSCROLL : WM_HSCROLL, code, 0);
    }
}

WPARAM codeOf(int part)
{
    switch (part) {
    case 1: return SB_LINEUP;
    case 2: return SB_PAGEUP;
    case 4: return SB_PAGEDOWN;
    case 5: return SB_LINEDOWN;
    default: return SB_ENDSCROLL;
    }
}

struct TrackState {
    HWND hwnd = nullptr;
    int which = 0;
    int part = -1;
    bool inside = true;
    int grabOffset = 0;   // cursor minus thumb top when the thumb was grabbed
    UINT_PTR timer = 0;
    bool firstRepeat = true;
};

TrackState* g_track = nullptr;

int alongOf(Window* w, const Geometry& g, POINT screen)
{
    RECT wr = windowRectOnScreen(w);
    return g.vertical ? screen.y - wr.top - g.rect.top : screen.x - wr.left - g.rect.left;
}

bool pointNearBar(Window* w, const Geometry& g, POINT screen)
{
    RECT wr = windowRectOnScreen(w);
    RECT r = g.rect;
    OffsetRect(&r, wr.left, wr.top);
    return PtInRect(&r, screen) != FALSE;
}

void CALLBACK repeatProc(HWND, UINT, UINT_PTR, DWORD);

void setRepeat(UINT ms)
{
    if (g_track->timer)
        KillTimer(nullptr, g_track->timer);
    g_track->timer = SetTimer(nullptr, 0, ms, repeatProc);
}

void CALLBACK repeatProc(HWND, UINT, UINT_PTR, DWORD)
{
    if (!g_track)
        return;
    Window* w = fromHandle(g_track->hwnd);
    if (!w)
        return;
    if (g_track->firstRepeat) {
        g_track->firstRepeat = false;
        setRepeat(50);
    }
    if (!g_track->inside || g_track->part == 3)
        return;
    // A page click repeats until the thumb reaches the cursor.
    Geometry g = geometry(w, g_track->which);
    int at = partAt(g, alongOf(w, g, currentCursor()));
    if ((g_track->part == 2 || g_track->part == 4) && at != g_track->part)
        return;
    notify(w, g_track->which, codeOf(g_track->part));
}

void trackBar(Window* w, int which, POINT screen)
{
    if (g_track)
        return; // one tracking loop at a time
    Bars* bs = barsOf(w, true);
    Geometry g = geometry(w, which);
    int part = partAt(g, alongOf(w, g, screen));
    Bar& bar = bs->bar[which];
    if (part < 0 || (part == 1 && (bar.disabled & ESB_DISABLE_LTUP)) || (part == 5 && (bar.disabled & ESB_DISABLE_RTDN)) ||
        !scrollable(bar) || (bar.disabled & ESB_DISABLE_BOTH) == ESB_DISABLE_BOTH)
        return;
    HWND hwnd = w->hwnd;
    TrackState ts;
    ts.hwnd = hwnd;
    ts.which = which;
    ts.part = part;
    ts.grabOffset = alongOf(w, g, screen) - g.thumbTop;
    g_track = &ts;
    bar.tracking = true;
    bar.pressed = part;
    bar.trackPos = bar.pos;
    SetCapture(hwnd);
    redrawBar(w, which);
    if (part == 3)
        notify(w, which, MAKEWPARAM(SB_THUMBTRACK, bar.pos & 0xFFFF));
    else {
        notify(w, which, codeOf(part));
        setRepeat(GetDoubleClickTime() > 0 ? 400 : 400);
    }
    bool done = false;
    while (!done) {
        MSG m;
        while (!done && PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            Window* cur = fromHandle(hwnd);
            if (!cur) {
                done = true;
                break;
            }
            if (m.message == WM_QUIT) {
                PostQuitMessage(int(m.wParam));
                done = true;
                break;
            }
            if (m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST) {
                POINT pt = currentCursor();
                Geometry cg = geometry(cur, which);
                Bar& cb = barsOf(cur, true)->bar[which];
                if (m.message == WM_MOUSEMOVE) {
                    if (part == 3) {
                        int track = cg.length - 2 * cg.arrow;
                        int thumb = cg.thumbBottom - cg.thumbTop;
                        int top = alongOf(cur, cg, pt) - ts.grabOffset - cg.arrow;
                        int room = track - thumb;
                        int pr = posRange(cb);
                        int np = room > 0 ? cb.min + int(((long long)std::clamp(top, 0, room) * pr + room / 2) / room) : cb.min;
                        if (np != cb.trackPos) {
                            cb.trackPos = np;
                            redrawBar(cur, which);
                            notify(cur, which, MAKEWPARAM(SB_THUMBTRACK, np & 0xFFFF));
                        }
                    } else {
                        bool in = partAt(cg, alongOf(cur, cg, pt)) == part || (part == 2 || part == 4 ? pointNearBar(cur, cg, pt) : false);
                        if (in != ts.inside) {
                            ts.inside = in;
                            cb.pressed = in ? part : -1;
                            redrawBar(cur, which);
                        }
                    }
                } else if (m.message == WM_LBUTTONUP) {
                    done = true;
                }
                continue;
            }
            if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) {
                done = true;
                continue;
            }
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        if (done || GetCapture() != hwnd || !fromHandle(hwnd))
            break;
        if (!waitForWork(true))
            break; // a dry headless loop lets go
    }
    if (ts.timer)
        KillTimer(nullptr, ts.timer);
    g_track = nullptr;
    Window* cur = fromHandle(hwnd);
    if (!cur)
        return;
    if (GetCapture() == hwnd)
        ReleaseCapture();
    Bars* cbs = barsOf(cur, true);
    Bar& cb = cbs->bar[which];
    int finalPos = cb.trackPos;
    cb.tracking = false;
    cb.pressed = -1;
    if (part == 3)
        notify(cur, which, MAKEWPARAM(SB_THUMBPOSITION, finalPos & 0xFFFF));
    if ((cur = fromHandle(hwnd))) {
        notify(cur, which, SB_ENDSCROLL);
        if ((cur = fromHandle(hwnd)))
            redrawBar(cur, which);
    }
}

void trackHook(HWND hwnd, int hit, POINT screen)
{
    Window* w = fromHandle(hwnd);
    if (w)
        trackBar(w, hit == HTVSCROLL ? SB_VERT : SB_HORZ, screen);
}

void destroyedHook(HWND hwnd)
{
    caretWindowDestroyed(hwnd);
    if (g_track && g_track->hwnd == hwnd && g_track->timer) {
        KillTimer(nullptr, g_track->timer);
        g_track->timer = 0;
    }
}

// Which record a public call means; null and an error for a bad pair.
Window* target(HWND hwnd, int which)
{
    Window* w = checked(hwnd);
    if (!w)
        return nullptr;
    if (which == SB_CTL ? !isControl(w) : (which != SB_HORZ && which != SB_VERT))
        return failWith<Window*>(ERROR_INVALID_PARAMETER, nullptr);
    return w;
}

void showBar(Window* w, int which, bool show)
{
    DWORD bit = which == SB_VERT ? WS_VSCROLL : which == SB_HORZ ? WS_HSCROLL : (WS_VSCROLL | WS_HSCROLL);
    DWORD style = show ? (w->style | bit) : (w->style & ~bit);
    if (style == w->style)
        return;
    w->style = style;
    setWindowPos(w, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Window bars appear when there is something to scroll and go when not.
void autoShow(Window* w, int which, bool disableNoScroll)
{
    if (which == SB_CTL)
        return;
    Bar& b = barsOf(w, true)->bar[which];
    if (scrollable(b)) {
        if (disableNoScroll && (b.disabled & ESB_DISABLE_BOTH) == ESB_DISABLE_BOTH)
            b.disabled = ESB_ENABLE_BOTH;
        showBar(w, which, true);
    } else if (disableNoScroll) {
        b.disabled = ESB_DISABLE_BOTH;
        showBar(w, which, true);
    } else {
        showBar(w, which, false);
    }
}

int setInfo(Window* w, int which, const SCROLLINFO& si, bool redraw)
{
    Bar& b = barsOf(w, true)->bar[which];
    if (si.fMask & SIF_RANGE) {
        b.min = si.nMin;
        b.max = si.nMax;
    }
    if (si.fMask & SIF_PAGE)
        b.page = si.nPage;
    if (si.fMask & SIF_POS)
        b.pos = si.nPos;
    clampBar(b);
    if (si.fMask & (SIF_RANGE | SIF_PAGE))
        autoShow(w, which, si.fMask & SIF_DISABLENOSCROLL);
    if (redraw)
        redrawBar(w, which);
    return b.pos;
}

bool getInfo(Window* w, int which, SCROLLINFO& si)
{
    Bars* bs = barsOf(w, false);
    Bar def;
    const Bar& b = bs ? bs->bar[which] : def;
    if (!(si.fMask & SIF_ALL))
        return false;
    if (si.fMask & SIF_RANGE) {
        si.nMin = b.min;
        si.nMax = b.max;
    }
    if (si.fMask & SIF_PAGE)
        si.nPage = b.page;
    if (si.fMask & SIF_POS)
        si.nPos = b.pos;
    if (si.fMask & SIF_TRACKPOS)
        si.nTrackPos = b.tracking ? b.trackPos : b.pos;
    return true;
}

bool barInfo(Window* w, int which, SCROLLBARINFO& sbi)
{
    Geometry g = geometry(w, which);
    Bars* bs = barsOf(w, false);
    Bar def;
    const Bar& b = bs ? bs->bar[which] : def;
    RECT wr = windowRectOnScreen(w);
    sbi.rcScrollBar = g.rect;
    OffsetRect(&sbi.rcScrollBar, wr.left, wr.top);
    sbi.dxyLineButton = g.arrow;
    sbi.xyThumbTop = g.thumbTop;
    sbi.xyThumbBottom = g.thumbBottom;
    sbi.reserved = 0;
    for (DWORD& s : sbi.rgstate)
        s = 0;
    if (!g.visible || IsRectEmpty(&g.rect))
        sbi.rgstate[0] = STATE_SYSTEM_INVISIBLE;
    if (!isVisible(w))
        sbi.rgstate[0] |= STATE_SYSTEM_INVISIBLE;
    bool off = (w->style & WS_DISABLED) || (b.disabled & ESB_DISABLE_BOTH) == ESB_DISABLE_BOTH || !scrollable(b);
    if (off)
        sbi.rgstate[0] |= STATE_SYSTEM_UNAVAILABLE;
    if (b.disabled & ESB_DISABLE_LTUP)
        sbi.rgstate[1] |= STATE_SYSTEM_UNAVAILABLE;
    if (b.disabled & ESB_DISABLE_RTDN)
        sbi.rgstate[5] |= STATE_SYSTEM_UNAVAILABLE;
    if (g.thumbBottom <= g.thumbTop) {
        sbi.rgstate[2] |= STATE_SYSTEM_INVISIBLE;
        sbi.rgstate[3] |= STATE_SYSTEM_INVISIBLE;
        sbi.rgstate[4] |= STATE_SYSTEM_INVISIBLE;
    }
    if (b.tracking && b.pressed >= 1 && b.pressed <= 5)
        sbi.rgstate[b.pressed] |= STATE_SYSTEM_PRESSED;
    return true;
}

LRESULT CALLBACK scrollBarProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    Window* w = fromHandle(hwnd);
    if (!w)
        return 0;
    switch (msg) {
    case WM_CREATE:
        barsOf(w, true)->bar[SB_CTL].max = 0; // a new control has an empty range
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (dc)
            drawBar(w, SB_CTL, dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ClientToScreen(hwnd, &p);
        trackBar(w, SB_CTL, p);
        return 0;
    }
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_KEYDOWN: {
        WPARAM code;
        switch (wp) {
        case VK_UP: case VK_LEFT: code = SB_LINEUP; break;
        case VK_DOWN: case VK_RIGHT: code = SB_LINEDOWN; break;
        case VK_PRIOR: code = SB_PAGEUP; break;
        case VK_NEXT: code = SB_PAGEDOWN; break;
        case VK_HOME: code = SB_TOP; break;
        case VK_END: code = SB_BOTTOM; break;
        default: return 0;
        }
        notify(w, SB_CTL, code);
        if (fromHandle(hwnd))
            notify(w, SB_CTL, SB_ENDSCROLL);
        return 0;
    }
    case SBM_SETPOS: {
        Bar& b = barsOf(w, true)->bar[SB_CTL];
        int old = b.pos;
        b.pos = int(wp);
        clampBar(b);
        if (lp)
            redrawBar(w, SB_CTL);
        return old;
    }
    case SBM_GETPOS:
        return barsOf(w, true)->bar[SB_CTL].pos;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
        Bar& b = barsOf(w, true)->bar[SB_CTL];
        int old = b.pos;
        b.min = int(wp);
        b.max = int(lp);
        clampBar(b);
        if (msg == SBM_SETRANGEREDRAW)
            redrawBar(w, SB_CTL);
        return old;
    }
    case SBM_GETRANGE: {
        Bar& b = barsOf(w, true)->bar[SB_CTL];
        if (wp)
            *reinterpret_cast<LPINT>(wp) = b.min;
        if (lp)
            *reinterpret_cast<LPINT>(lp) = b.max;
        return 0;
    }
    case SBM_ENABLE_ARROWS: {
        Bar& b = barsOf(w, true)->bar[SB_CTL];
        UINT nv = UINT(wp) & ESB_DISABLE_BOTH;
        if (nv == b.disabled)
            return FALSE;
        b.disabled = nv;
        redrawBar(w, SB_CTL);
        return TRUE;
    }
    case SBM_SETSCROLLINFO: {
        auto* si = reinterpret_cast<const SCROLLINFO*>(lp);
        if (!si || (si->cbSize != sizeof(SCROLLINFO) && si->cbSize != sizeof(SCROLLINFO) - sizeof(int)))
            return barsOf(w, true)->bar[SB_CTL].pos;
        return setInfo(w, SB_CTL, *si, wp != 0);
    }
    case SBM_GETSCROLLINFO: {
        auto* si = reinterpret_cast<SCROLLINFO*>(lp);
        if (!si || (si->cbSize != sizeof(SCROLLINFO) && si->cbSize != sizeof(SCROLLINFO) - sizeof(int)))
            return FALSE;
        return getInfo(w, SB_CTL, *si);
    }
    case SBM_GETSCROLLBARINFO: {
        auto* sbi = reinterpret_cast<SCROLLBARINFO*>(lp);
        if (!sbi || sbi->cbSize != sizeof(SCROLLBARINFO))
            return FALSE;
        return barInfo(w, SB_CTL, *sbi);
    }
    default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

void registerScrollBarClass()
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_GLOBALCLASS | CS_PARENTDC;
    wc.lpfnWndProc = scrollBarProc;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = "ScrollBar";
    registerSystemClass(wc);
}

struct Install {
    Install()
    {
        ScrollBarHooks& h = scrollBarHooks();
        h.paint = paintHook;
        h.hitTest = hitTestHook;
        h.track = trackHook;
        h.destroyed = destroyedHook;
        systemClassRegistrars().push_back(registerScrollBarClass);
    }
} g_install;

} // namespace

} // namespace vk::user

using namespace vk;
using namespace vk::user;

int WINAPI SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO si, BOOL redraw)
{
    Window* w = target(hwnd, bar);
    if (!w)
        return 0;
    if (!si || (si->cbSize != sizeof(SCROLLINFO) && si->cbSize != sizeof(SCROLLINFO) - sizeof(int)))
        return failWith(ERROR_INVALID_PARAMETER, 0);
    return setInfo(w, bar, *si, redraw != FALSE);
}

BOOL WINAPI GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO si)
{
    Window* w = target(hwnd, bar);
    if (!w)
        return FALSE;
    if (!si || (si->cbSize != sizeof(SCROLLINFO) && si->cbSize != sizeof(SCROLLINFO) - sizeof(int)))
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    if (bar != SB_CTL && !(w->style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) && !barsOf(w, false))
        return failWith(ERROR_NO_SCROLLBARS, FALSE);
    return getInfo(w, bar, *si) ? TRUE : FALSE;
}

int WINAPI SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw)
{
    Window* w = target(hwnd, bar);
    if (!w)
        return 0;
    int old = barsOf(w, true)->bar[bar].pos;
    SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, pos, 0};
    setInfo(w, bar, si, redraw != FALSE);
    return old;
}

int WINAPI GetScrollPos(HWND hwnd, int bar)
{
    Window* w = target(hwnd, bar);
    if (!w)
        return 0;
    Bars* bs = barsOf(w, false);
    return bs ? bs->bar[bar].pos : 0;
}

BOOL WINAPI SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw)
{
    Window* w = target(hwnd, bar);
    if (!w)
        return FALSE;
    if ((long long)maxPos - minPos > 0x7fffffff)
        return failWith(ERROR_INVALID_SCROLLBAR_RANGE, FALSE);
    SCROLLINFO si{sizeof si, SIF_RANGE, minPos, maxPos, 0, 0, 0};
    setInfo(w, bar, si, redraw != FALSE);
    return TRUE;
}

BOOL WINAPI GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos)
{
    Window* w = target(hwnd, bar);
    if (!w || !minPos || !maxPos)
        return w ? failWith(ERROR_INVALID_PARAMETER, FALSE) : FALSE;
    Bars* bs = barsOf(w, false);
    Bar def;
    const Bar& b = bs ? bs->bar[bar] : def;
    bool has = bar == SB_CTL || (w->style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) || bs;
    *minPos = has ? b.min : 0;
    *maxPos = has ? b.max : 0;
    return TRUE;
}

BOOL WINAPI ShowScrollBar(HWND hwnd, int bar, BOOL show)
{
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    if (bar == SB_CTL) {
        if (!isControl(w))
            return failWith(ERROR_INVALID_PARAMETER, FALSE);
        ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
        return TRUE;
    }
    if (bar != SB_HORZ && bar != SB_VERT && bar != SB_BOTH)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    barsOf(w, true);
    showBar(w, bar, show != FALSE);
    return TRUE;
}

BOOL WINAPI EnableScrollBar(HWND hwnd, UINT bar, UINT arrows)
{
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    if (bar > SB_BOTH || (bar == SB_CTL && !isControl(w)))
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    arrows &= ESB_DISABLE_BOTH;
    bool changed = false;
    for (int which : {SB_HORZ, SB_VERT, SB_CTL}) {
        if (!(bar == UINT(which) || (bar == SB_BOTH && which != SB_CTL)))
            continue;
        Bar& b = barsOf(w, true)->bar[which];
        if (b.disabled != arrows) {
            b.disabled = arrows;
            changed = true;
            redrawBar(w, which);
        }
    }
    return changed ? TRUE : FALSE;
}

BOOL WINAPI GetScrollBarInfo(HWND hwnd, LONG idObject, PSCROLLBARINFO sbi)
{
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    if (!sbi || sbi->cbSize != sizeof(SCROLLBARINFO))
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    int which;
    if (idObject == OBJID_VSCROLL)
        which = SB_VERT;
    else if (idObject == OBJID_HSCROLL)
        which = SB_HORZ;
    else if (idObject == OBJID_CLIENT && isControl(w))
        which = SB_CTL;
    else
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    return barInfo(w, which, *sbi) ? TRUE : FALSE;
}
