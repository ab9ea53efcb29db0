// DefWindowProcA: the default answer to every message, including the
// classic frame (painting and hit testing), WM_SETCURSOR, the system
// commands and the caption buttons.
#include "backend/backend.h"
#include "core/last_error.h"
#include "user/cursors.h"
#include "user/nc_layout.h"
#include "user/window.h"

#include <algorithm>
#include <cstring>

namespace vk::user {

namespace {

POINT lparamPoint(LPARAM lp) { return POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }

HBRUSH classBrush(Window* w)
{
    HBRUSH b = w->cls->background;
    uintptr_t v = reinterpret_cast<uintptr_t>(b);
    if (v && v <= COLOR_MENUBAR + 1)
        return GetSysColorBrush(int(v - 1));
    return b;
}

HFONT captionFont()
{
    static HFONT font = nullptr;
    if (!font)
        font = CreateFontA(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "宋体");
    return font;
}

void drawCaption(Window* w, HDC dc, const NcLayout& l, bool active)
{
    RECT cap = l.caption;
    COLORREF from = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    COLORREF to = GetSysColor(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
    TRIVERTEX v[2] = {};
    v[0].x = cap.left;
    v[0].y = cap.top;
    v[0].Red = COLOR16(GetRValue(from) << 8);
    v[0].Green = COLOR16(GetGValue(from) << 8);
    v[0].Blue = COLOR16(GetBValue(from) << 8);
    v[1].x = cap.right;
    v[1].y = cap.bottom;
    v[1].Red = COLOR16(GetRValue(to) << 8);
    v[1].Green = COLOR16(GetGValue(to) << 8);
    v[1].Blue = COLOR16(GetBValue(to) << 8);
    GRADIENT_RECT gr{0, 1};
    GradientFill(dc, v, 2, &gr, 1, GRADIENT_FILL_RECT_H);
    RECT line{cap.left, cap.bottom, cap.right, cap.bottom + 1};
    FillRect(dc, &line, GetSysColorBrush(COLOR_3DFACE));

    int textLeft = cap.left + 4;
    if (!IsRectEmpty(&l.icon)) {
        HICON icon = w->iconSmall ? w->iconSmall : w->iconBig ? w->iconBig : w->cls->iconSmall ? w->cls->iconSmall : w->cls->icon;
        if (icon)
            DrawIconEx(dc, l.icon.left, l.icon.top, icon, 16, 16, 0, nullptr, DI_NORMAL);
        textLeft = l.icon.right + 2;
    }
    int textRight = cap.right - 2;
    for (const RECT* b : {&l.closeBtn, &l.maxBtn, &l.minBtn})
        if (!IsRectEmpty(b))
            textRight = std::min<int>(textRight, b->left - 2);
    RECT tr{textLeft, cap.top, textRight, cap.bottom};
    HGDIOBJ oldFont = SelectObject(dc, captionFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    DrawTextA(dc, w->text.c_str(), -1, &tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, oldFont);

    RECT b = l.closeBtn;
    if (!IsRectEmpty(&b))
        DrawFrameControl(dc, &b, DFC_CAPTION, DFCS_CAPTIONCLOSE | ((w->cls->style & CS_NOCLOSE) ? DFCS_INACTIVE : 0));
    b = l.maxBtn;
    if (!IsRectEmpty(&b))
        DrawFrameControl(dc, &b, DFC_CAPTION,
                         (w->maximized() ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX) |
                             ((w->style & WS_MAXIMIZEBOX) ? 0 : DFCS_INACTIVE));
    b = l.minBtn;
    if (!IsRectEmpty(&b))
        DrawFrameControl(dc, &b, DFC_CAPTION,
                         (w->minimized() ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN) |
                             ((w->style & WS_MINIMIZEBOX) ? 0 : DFCS_INACTIVE));
}

// Presses a caption button until the mouse goes up; true when it went up
// over the button.
bool trackCaptionButton(Window* w, int hit)
{
    HWND hwnd = w->hwnd;
    SetCapture(hwnd);
    bool inside = true;
    for (;;) {
        MSG m;
        if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (!waitForWork(true))
                break;
            continue;
        }
        if (m.message == WM_QUIT) {
            PostQuitMessage(int(m.wParam));
            break;
        }
        if (m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST) {
            Window* still = fromHandle(hwnd);
            if (!still)
                return false;
            inside = defNcHitTest(still, m.pt) == hit;
            if (m.message == WM_LBUTTONUP)
                break;
            continue;
        }
        TranslateMessage(&m);
        DispatchMessageA(&m);
        if (!fromHandle(hwnd))
            return false;
    }
    if (GetCapture() == hwnd)
        ReleaseCapture();
    return inside && fromHandle(hwnd);
}

} // namespace

ScrollBarHooks& scrollBarHooks()
{
    static ScrollBarHooks hooks;
    return hooks;
}

LRESULT defNcHitTest(Window* w, POINT screen)
{
    RECT wr = windowRectOnScreen(w);
    if (!PtInRect(&wr, screen))
        return HTNOWHERE;
    RECT cr = clientRectOnScreen(w);
    if (PtInRect(&cr, screen))
        return HTCLIENT;
    if (w->minimized())
        return HTCAPTION;
    NcLayout l = ncLayout(w);
    POINT p{screen.x - wr.left, screen.y - wr.top};
    if (scrollBarHooks().hitTest) {
        LRESULT h = scrollBarHooks().hitTest(w->hwnd, screen);
        if (h != HTNOWHERE)
            return h;
    }
    if (PtInRect(&l.vscroll, p))
        return HTVSCROLL;
    if (PtInRect(&l.hscroll, p))
        return HTHSCROLL;
    if (PtInRect(&l.grip, p))
        return (w->style & WS_THICKFRAME) && !w->parent ? HTBOTTOMRIGHT : HTSIZE;
    if (l.sizing) {
        int width = l.window.right, height = l.window.bottom;
        const int corner = 16 + l.frame;
        bool left = p.x < l.frame, right = p.x >= width - l.frame;
        bool top = p.y < l.frame, bottom = p.y >= height - l.frame;
        if (left || right || top || bottom) {
            if ((top && p.x < corner) || (left && p.y < corner))
                return HTTOPLEFT;
            if ((top && p.x >= width - corner) || (right && p.y < corner))
                return HTTOPRIGHT;
            if ((bottom && p.x < corner) || (left && p.y >= height - corner))
                return HTBOTTOMLEFT;
            if ((bottom && p.x >= width - corner) || (right && p.y >= height - corner))
                return HTBOTTOMRIGHT;
            if (left)
                return HTLEFT;
            if (right)
                return HTRIGHT;
            if (top)
                return HTTOP;
            return HTBOTTOM;
        }
    }
    if (!IsRectEmpty(&l.caption)) {
        RECT cap = l.caption;
        cap.bottom += 1;
        if (PtInRect(&cap, p)) {
            if (PtInRect(&l.closeBtn, p))
                return HTCLOSE;
            if (PtInRect(&l.maxBtn, p))
                return HTMAXBUTTON;
            if (PtInRect(&l.minBtn, p))
                return HTMINBUTTON;
            if (PtInRect(&l.icon, p))
                return HTSYSMENU;
            return HTCAPTION;
        }
    }
    return HTBORDER;
}

void defNcPaint(Window* w, HRGN)
{
    HWND hwnd = w->hwnd;
    NcLayout l = ncLayout(w);
    HDC dc = GetWindowDC(hwnd);
    if (!dc)
        return;
    RECT client = l.client;
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    RECT r = l.window;
    bool active = state().active == topLevelOf(w)->hwnd || (w->parent != nullptr);
    if (l.frame >= 3) {
        DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
        HBRUSH fill = GetSysColorBrush(l.frame == 4 ? (active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER) : COLOR_3DFACE);
        for (int i = 2; i < l.frame; ++i) {
            FrameRect(dc, &r, fill);
            InflateRect(&r, -1, -1);
        }
    } else if (l.frame == 1) {
        FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&r, -1, -1);
    }
    if (!IsRectEmpty(&l.caption))
        drawCaption(w, dc, l, active);
    if (l.clientEdge) {
        RECT e = l.client;
        if (w->style & WS_VSCROLL)
            e.right += 17;
        if (w->style & WS_HSCROLL)
            e.bottom += 17;
        InflateRect(&e, l.clientEdge, l.clientEdge);
        if (w->exStyle & WS_EX_CLIENTEDGE)
            DrawEdge(dc, &e, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        if (w->exStyle & WS_EX_STATICEDGE)
            DrawEdge(dc, &e, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    }
    if (scrollBarHooks().paint && (w->style & (WS_VSCROLL | WS_HSCROLL))) {
        scrollBarHooks().paint(hwnd, dc);
    } else {
        HBRUSH face = GetSysColorBrush(COLOR_SCROLLBAR);
        if (!IsRectEmpty(&l.vscroll))
            FillRect(dc, &l.vscroll, face);
        if (!IsRectEmpty(&l.hscroll))
            FillRect(dc, &l.hscroll, face);
    }
    if (!IsRectEmpty(&l.grip))
        FillRect(dc, &l.grip, GetSysColorBrush(COLOR_3DFACE));
    ReleaseDC(hwnd, dc);
}

void defNcCalcSize(Window* w, RECT& r);

LRESULT defWindowProc(Window* w, UINT msg, WPARAM wp, LPARAM lp)
{
    HWND hwnd = w->hwnd;
    State& s = state();
    switch (msg) {
    case WM_NCCREATE: {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) {
            w->text = cs->lpszName;
            // The desktop shows the title from the start, not only after a WM_SETTEXT.
            if (!w->parent)
                backend().windowTitle(hwnd, w->text);
        }
        return TRUE;
    }
    case WM_NCCALCSIZE: {
        if (!lp)
            return 0;
        RECT* r = reinterpret_cast<RECT*>(lp); // rgrc[0] comes first in NCCALCSIZE_PARAMS too
        defNcCalcSize(w, *r);
        return 0;
    }
    case WM_NCHITTEST:
        return defNcHitTest(w, lparamPoint(lp));
    case WM_NCPAINT:
        defNcPaint(w, reinterpret_cast<HRGN>(wp));
        return 0;
    case WM_NCACTIVATE:
        if ((w->style & WS_CAPTION) == WS_CAPTION) {
            w->ncPending = true;
            if (isVisible(w))
                defNcPaint(w, nullptr);
            w->ncPending = false;
        }
        return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND: {
        HBRUSH b = classBrush(w);
        if (!b)
            return 0;
        RECT r{0, 0, w->clientRect.right - w->clientRect.left, w->clientRect.bottom - w->clientRect.top};
        FillRect(reinterpret_cast<HDC>(wp), &r, b);
        return 1;
    }
    case WM_PRINT: {
        HDC dc = reinterpret_cast<HDC>(wp);
        if ((lp & PRF_CHECKVISIBLE) && !isVisible(w))
            return 0;
        if (lp & PRF_ERASEBKGND)
            send(w, WM_ERASEBKGND, wp, 0);
        if (fromHandle(hwnd) && (lp & PRF_CLIENT))
            send(w, WM_PRINTCLIENT, wp, lp);
        (void)dc;
        return 0;
    }
    case WM_GETTEXT: {
        if (!lp || wp == 0)
            return 0;
        char* buf = reinterpret_cast<char*>(lp);
        size_t n = std::min(w->text.size(), size_t(wp) - 1);
        memcpy(buf, w->text.data(), n);
        buf[n] = 0;
        return LRESULT(n);
    }
    case WM_GETTEXTLENGTH:
        return LRESULT(w->text.size());
    case WM_SETTEXT:
        w->text = lp ? reinterpret_cast<const char*>(lp) : "";
        if (!w->parent)
            backend().windowTitle(hwnd, w->text);
        if ((w->style & WS_CAPTION) == WS_CAPTION && isVisible(w))
            defNcPaint(w, nullptr);
        return TRUE;
    case WM_SETCURSOR: {
        if (w->isChild() && w->parent) {
            if (send(w->parent, WM_SETCURSOR, wp, lp))
                return TRUE;
            if (!fromHandle(hwnd))
                return TRUE;
        }
        short hit = short(LOWORD(lp));
        UINT mouseMsg = HIWORD(lp);
        switch (hit) {
        case HTCLIENT:
            if (w->cls->cursor) {
                SetCursor(w->cls->cursor);
                return TRUE;
            }
            return FALSE;
        case HTLEFT:
        case HTRIGHT: SetCursor(systemCursor(CursorShape::SizeWE)); return TRUE;
        case HTTOP:
        case HTBOTTOM: SetCursor(systemCursor(CursorShape::SizeNS)); return TRUE;
        case HTTOPLEFT:
        case HTBOTTOMRIGHT: SetCursor(systemCursor(CursorShape::SizeNWSE)); return TRUE;
        case HTTOPRIGHT:
        case HTBOTTOMLEFT: SetCursor(systemCursor(CursorShape::SizeNESW)); return TRUE;
        case HTERROR:
            if (mouseMsg == WM_LBUTTONDOWN || mouseMsg == WM_RBUTTONDOWN)
                MessageBeep(0);
            SetCursor(systemCursor(CursorShape::Arrow));
            return TRUE;
        default:
            SetCursor(systemCursor(CursorShape::Arrow));
            return TRUE;
        }
    }
    case WM_MOUSEACTIVATE:
        if (w->isChild() && w->parent) {
            LRESULT r = send(w->parent, WM_MOUSEACTIVATE, wp, lp);
            if (r)
                return r;
        }
        return MA_ACTIVATE;
    case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE && !HIWORD(wp)) {
            Window* f = fromHandle(s.focus);
            if (!f || !(f == w || isDescendant(w, f)))
                SetFocus(hwnd);
        }
        return 0;
    case WM_NCLBUTTONDOWN: {
        int hit = int(wp);
        if (hit == HTCAPTION) {
            if (!w->parent && s.active != hwnd)
                activate(w, true);
            if (fromHandle(hwnd))
                send(w, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lp);
        } else if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT) {
            send(w, WM_SYSCOMMAND, SC_SIZE | WPARAM(hit - HTLEFT + WMSZ_LEFT), lp);
        } else if (hit == HTCLOSE || hit == HTMINBUTTON || hit == HTMAXBUTTON) {
            if (trackCaptionButton(w, hit)) {
                WPARAM cmd = hit == HTCLOSE ? SC_CLOSE : hit == HTMINBUTTON ? SC_MINIMIZE : (w->maximized() ? SC_RESTORE : SC_MAXIMIZE);
                if (hit != HTMAXBUTTON || (w->style & WS_MAXIMIZEBOX))
                    if (hit != HTMINBUTTON || (w->style & WS_MINIMIZEBOX))
                        sendTo(hwnd, WM_SYSCOMMAND, cmd, lp);
            }
        } else if ((hit == HTVSCROLL || hit == HTHSCROLL) && scrollBarHooks().track) {
            scrollBarHooks().track(hwnd, hit, lparamPoint(lp));
        }
        return 0;
    }
    case WM_NCLBUTTONDBLCLK:
        if (wp == HTCAPTION && (w->style & WS_MAXIMIZEBOX))
            send(w, WM_SYSCOMMAND, (w->maximized() ? SC_RESTORE : SC_MAXIMIZE) | HTCAPTION, lp);
        else if (wp == HTSYSMENU && (w->style & WS_SYSMENU))
            send(w, WM_SYSCOMMAND, SC_CLOSE, lp);
        else if ((wp == HTVSCROLL || wp == HTHSCROLL) && scrollBarHooks().track)
            scrollBarHooks().track(hwnd, int(wp), lparamPoint(lp));
        return 0;
    case WM_RBUTTONUP: {
        POINT p = lparamPoint(lp);
        ClientToScreen(hwnd, &p);
        send(w, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(p.x, p.y));
        return 0;
    }
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        if (w->isChild() && w->parent)
            return send(w->parent, msg, wp, lp);
        return 0;
    case WM_SYSCOMMAND: {
        WPARAM cmd = wp & 0xFFF0;
        switch (cmd) {
        case SC_MINIMIZE:
            if (!w->minimized())
                ShowWindow(hwnd, SW_MINIMIZE);
            return 0;
        case SC_MAXIMIZE:
            if (!w->maximized())
                ShowWindow(hwnd, SW_MAXIMIZE);
            return 0;
        case SC_RESTORE:
            ShowWindow(hwnd, SW_RESTORE);
            return 0;
        case SC_CLOSE:
            if (!(w->cls->style & CS_NOCLOSE))
                send(w, WM_CLOSE, 0, 0);
            return 0;
        case SC_MOVE:
        case SC_SIZE:
            if (!w->maximized() || cmd == SC_MOVE)
                runMoveSizeLoop(w, wp);
            return 0;
        default:
            return 0;
        }
    }
    case WM_SYSKEYDOWN:
        if (wp == VK_F4 && (HIWORD(lp) & KF_ALTDOWN))
            sendTo(topLevelOf(w)->hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_QUERYOPEN:
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_WINDOWPOSCHANGING: {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
        bool resizable = (w->style & WS_THICKFRAME) || !(w->style & (WS_POPUP | WS_CHILD));
        if (pos && !(pos->flags & SWP_NOSIZE) && resizable && !w->minimized() && !w->maximized()) {
            MINMAXINFO mmi = queryMinMax(w);
            pos->cx = std::clamp<int>(pos->cx, std::min<int>(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x), mmi.ptMaxTrackSize.x);
            pos->cy = std::clamp<int>(pos->cy, std::min<int>(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y), mmi.ptMaxTrackSize.y);
        }
        return 0;
    }
    case WM_WINDOWPOSCHANGED: {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
        if (!pos)
            return 0;
        if (!(pos->flags & SWP_NOMOVE)) {
            send(w, WM_MOVE, 0, MAKELPARAM(w->clientRect.left, w->clientRect.top));
            if (!fromHandle(hwnd))
                return 0;
        }
        if (!(pos->flags & SWP_NOSIZE) || (pos->flags & SWP_STATECHANGED)) {
            WPARAM type = w->minimized() ? SIZE_MINIMIZED : w->maximized() ? SIZE_MAXIMIZED : SIZE_RESTORED;
            send(w, WM_SIZE, type,
                 MAKELPARAM(w->clientRect.right - w->clientRect.left, w->clientRect.bottom - w->clientRect.top));
        }
        return 0;
    }
    case WM_SETREDRAW:
        w->redraw = wp != 0;
        return 0;
    case WM_GETICON:
        return reinterpret_cast<LRESULT>(wp == ICON_BIG ? w->iconBig : w->iconSmall ? w->iconSmall : w->iconBig);
    case WM_SETICON: {
        HICON old;
        if (wp == ICON_BIG) {
            old = w->iconBig;
            w->iconBig = reinterpret_cast<HICON>(lp);
        } else {
            old = w->iconSmall;
            w->iconSmall = reinterpret_cast<HICON>(lp);
        }
        if ((w->style & WS_CAPTION) == WS_CAPTION && isVisible(w))
            defNcPaint(w, nullptr);
        return reinterpret_cast<LRESULT>(old);
    }
    case WM_CANCELMODE:
        if (s.capture == hwnd)
            ReleaseCapture();
        return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_3DFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_3DFACE));
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    case WM_CTLCOLORSCROLLBAR: {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_SCROLLBAR));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_SCROLLBAR));
    }
    case WM_NOTIFYFORMAT:
        return 1; // NFR_ANSI
    case WM_HELP:
        if (w->isChild() && w->parent)
            return send(w->parent, msg, wp, lp);
        return 0;
    default:
        return 0;
    }
}

} // namespace vk::user

using namespace vk;
using namespace vk::user;

extern "C" LRESULT WINAPI DefWindowProcA(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    Window* w = fromHandle(hwnd);
    if (!w)
        return 0;
    ++state().sendDepth;
    LRESULT r = defWindowProc(w, msg, wp, lp);
    --state().sendDepth;
    return r;
}
