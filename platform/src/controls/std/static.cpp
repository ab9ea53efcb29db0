// The "Static" class: text, icons, bitmaps, frames and rectangles.
#include "controls/std/common.h"

#include <windows.h>

namespace vk::stdctl {

namespace {

struct StaticState {
    HFONT font = nullptr;
    HANDLE image = nullptr;
    UINT imageType = IMAGE_ICON;
};

void paintStatic(HWND hwnd, HDC dc, StaticState* s)
{
    DWORD style = DWORD(GetWindowLongA(hwnd, GWL_STYLE));
    UINT type = style & SS_TYPEMASK;
    RECT rc;
    GetClientRect(hwnd, &rc);
    HBRUSH bg = controlColor(hwnd, WM_CTLCOLORSTATIC, dc);
    switch (type) {
    case SS_BLACKRECT: FillRect(dc, &rc, GetSysColorBrush(COLOR_3DDKSHADOW)); return;
    case SS_GRAYRECT: FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNSHADOW)); return;
    case SS_WHITERECT: FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNHIGHLIGHT)); return;
    case SS_BLACKFRAME: FrameRect(dc, &rc, GetSysColorBrush(COLOR_3DDKSHADOW)); return;
    case SS_GRAYFRAME: FrameRect(dc, &rc, GetSysColorBrush(COLOR_BTNSHADOW)); return;
    case SS_WHITEFRAME: FrameRect(dc, &rc, GetSysColorBrush(COLOR_BTNHIGHLIGHT)); return;
    case SS_ETCHEDHORZ: DrawEdge(dc, &rc, EDGE_ETCHED, BF_TOP); return;
    case SS_ETCHEDVERT: DrawEdge(dc, &rc, EDGE_ETCHED, BF_LEFT); return;
    case SS_ETCHEDFRAME: DrawEdge(dc, &rc, EDGE_ETCHED, BF_RECT); return;
    case SS_OWNERDRAW: {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_STATIC;
        dis.CtlID = UINT(GetDlgCtrlID(hwnd));
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = IsWindowEnabled(hwnd) ? 0 : ODS_DISABLED;
        dis.hwndItem = hwnd;
        dis.hDC = dc;
        dis.rcItem = rc;
        if (HWND p = parentOf(hwnd))
            SendMessageA(p, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        return;
    }
    default:
        break;
    }
    // A null brush (NULL_BRUSH or no answer) leaves the parent's background.
    if (bg)
        FillRect(dc, &rc, bg);
    if (type == SS_ICON && s->image) {
        int size = 32;
        int x = (style & SS_CENTERIMAGE) ? (rc.right - size) / 2 : 0;
        int y = (style & SS_CENTERIMAGE) ? (rc.bottom - size) / 2 : 0;
        DrawIconEx(dc, x, y, static_cast<HICON>(s->image), 0, 0, 0, nullptr, DI_NORMAL);
        return;
    }
    if (type == SS_BITMAP && s->image) {
        BITMAP bm{};
        if (!GetObjectA(s->image, sizeof bm, &bm))
            return;
        int x = (style & SS_CENTERIMAGE) ? (rc.right - bm.bmWidth) / 2 : 0;
        int y = (style & SS_CENTERIMAGE) ? (rc.bottom - bm.bmHeight) / 2 : 0;
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, s->image);
        BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
        return;
    }
    if (type > SS_RIGHT && type != SS_SIMPLE && type != SS_LEFTNOWORDWRAP)
        return;
    std::string text = windowText(hwnd);
    UINT fmt = type == SS_CENTER ? DT_CENTER | DT_WORDBREAK
             : type == SS_RIGHT ? DT_RIGHT | DT_WORDBREAK
             : type == SS_LEFT ? DT_LEFT | DT_WORDBREAK
                               : DT_LEFT | DT_SINGLELINE;
    if (style & SS_NOPREFIX)
        fmt |= DT_NOPREFIX;
    if (style & SS_CENTERIMAGE)
        fmt = (fmt & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
    if (style & SS_ENDELLIPSIS)
        fmt |= DT_END_ELLIPSIS;
    HGDIOBJ old = SelectObject(dc, s->font ? s->font : defaultFont());
    if (!IsWindowEnabled(hwnd))
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextA(dc, text.c_str(), -1, &rc, fmt);
    SelectObject(dc, old);
}

LRESULT CALLBACK staticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    StaticState* s = stateOf<StaticState>(hwnd);
    if (!s && msg != WM_NCCREATE)
        return DefWindowProcA(hwnd, msg, wp, lp);
    DWORD style = DWORD(GetWindowLongA(hwnd, GWL_STYLE));
    switch (msg) {
    case WM_NCCREATE: {
        s = attachState<StaticState>(hwnd);
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        UINT type = style & SS_TYPEMASK;
        // An icon or bitmap static takes its image from the resource named by its text.
        if (cs && cs->lpszName && (type == SS_ICON || type == SS_BITMAP)) {
            if (type == SS_ICON) {
                s->image = LoadIconA(cs->hInstance, cs->lpszName);
                s->imageType = IMAGE_ICON;
            } else {
                s->image = LoadImageA(cs->hInstance, cs->lpszName, IMAGE_BITMAP, 0, 0, 0);
                s->imageType = IMAGE_BITMAP;
            }
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    case WM_NCDESTROY:
        detachState<StaticState>(hwnd);
        return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_NCHITTEST:
        return (style & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_PAINT:
        return paintMessage(hwnd, wp, [&](HDC dc) { paintStatic(hwnd, dc, s); });
    case WM_PRINTCLIENT:
        if (wp)
            paintStatic(hwnd, reinterpret_cast<HDC>(wp), s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETTEXT: {
        UINT type = style & SS_TYPEMASK;
        if (type == SS_ICON || type == SS_BITMAP)
            return TRUE;
        LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
        InvalidateRect(hwnd, nullptr, TRUE);
        return r;
    }
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        if (style & SS_NOTIFY)
            notifyParent(hwnd, wp ? STN_ENABLE : STN_DISABLE);
        return 0;
    case WM_SETFONT:
        s->font = reinterpret_cast<HFONT>(wp);
        if (LOWORD(lp))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s->font);
    case WM_LBUTTONDOWN:
        if (style & SS_NOTIFY)
            notifyParent(hwnd, STN_CLICKED);
        return 0;
    case WM_LBUTTONDBLCLK:
        if (style & SS_NOTIFY)
            notifyParent(hwnd, STN_DBLCLK);
        return 0;
    case STM_SETICON:
    case STM_SETIMAGE: {
        UINT type = msg == STM_SETICON ? IMAGE_ICON : UINT(wp);
        if (type != IMAGE_ICON && type != IMAGE_BITMAP && type != IMAGE_CURSOR)
            return 0;
        HANDLE old = s->image;
        s->image = reinterpret_cast<HANDLE>(msg == STM_SETICON ? wp : WPARAM(lp));
        s->imageType = type;
        InvalidateRect(hwnd, nullptr, TRUE);
        return reinterpret_cast<LRESULT>(old);
    }
    case STM_GETICON:
        return s->imageType != IMAGE_BITMAP ? reinterpret_cast<LRESULT>(s->image) : 0;
    case STM_GETIMAGE:
        return s->imageType == wp ? reinterpret_cast<LRESULT>(s->image) : 0;
    default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

void registerStatic() { registerControlClass("Static", staticProc, CS_DBLCLKS | CS_PARENTDC); }

struct Install {
    Install() { vk::user::systemClassRegistrars().push_back(registerStatic); }
} g_install;

} // namespace

} // namespace vk::stdctl
