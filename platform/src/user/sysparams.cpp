// System metrics and parameters of the classic desktop, the rectangle
// helpers and user32's small text helpers.
#include "backend/backend.h"
#include "core/last_error.h"
#include "user/window.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>

using namespace vk;

namespace {

int workWidth()
{
    RECT r = backend().workArea();
    return r.right - r.left;
}

int workHeight()
{
    RECT r = backend().workArea();
    return r.bottom - r.top;
}

void defaultLogFont(LOGFONTA& lf, bool bold = false)
{
    lf = LOGFONTA{};
    lf.lfHeight = -12;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    strcpy(lf.lfFaceName, "宋体");
}

} // namespace

extern "C" {

int WINAPI GetSystemMetrics(int index)
{
    SIZE screen = backend().screenSize();
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN: return screen.cx;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN: return screen.cy;
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN: return 0;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return 17;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER:
    case SM_CYBORDER:
    case SM_CXFOCUSBORDER:
    case SM_CYFOCUSBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CYMENU:
    case SM_CYMENUSIZE:
    case SM_CXMENUSIZE: return 19;
    case SM_CXSIZE:
    case SM_CYSIZE: return 18;
    case SM_CXSMSIZE:
    case SM_CYSMSIZE: return 12;
    case SM_CYSMCAPTION: return 15;
    case SM_CXFULLSCREEN: return workWidth();
    case SM_CYFULLSCREEN: return workHeight() - 19;
    case SM_CXMIN:
    case SM_CXMINTRACK: return 112;
    case SM_CYMIN:
    case SM_CYMINTRACK: return 27;
    case SM_CXMAXTRACK: return screen.cx + 12;
    case SM_CYMAXTRACK: return screen.cy + 12;
    case SM_CXMAXIMIZED: return workWidth() + 8;
    case SM_CYMAXIMIZED: return workHeight() + 8;
    case SM_CXMINIMIZED: return 160;
    case SM_CYMINIMIZED: return 24;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    case SM_CXICONSPACING:
    case SM_CYICONSPACING: return 75;
    case SM_CXMINSPACING: return 160;
    case SM_CYMINSPACING: return 24;
    case SM_CXMENUCHECK:
    case SM_CYMENUCHECK: return 13;
    case SM_MOUSEPRESENT:
    case SM_MOUSEWHEELPRESENT:
    case SM_CMONITORS:
    case SM_SAMEDISPLAYFORMAT: return 1;
    case SM_CMOUSEBUTTONS: return 3;
    case SM_SWAPBUTTON:
    case SM_DEBUG:
    case SM_NETWORK:
    case SM_CLEANBOOT:
    case SM_SHOWSOUNDS:
    case SM_MENUDROPALIGNMENT:
    case SM_REMOTESESSION:
    case SM_CYKANJIWINDOW: return 0;
    case SM_ARRANGE: return 8;
    default: return 0;
    }
}

BOOL WINAPI SystemParametersInfoA(UINT action, UINT param, PVOID out, UINT)
{
    auto setBool = [&](BOOL v) {
        if (!out)
            return failWith(ERROR_INVALID_PARAMETER, FALSE);
        *static_cast<BOOL*>(out) = v;
        return TRUE;
    };
    auto setUint = [&](UINT v) {
        if (!out)
            return failWith(ERROR_INVALID_PARAMETER, FALSE);
        *static_cast<UINT*>(out) = v;
        return TRUE;
    };
    switch (action) {
    case SPI_GETWORKAREA:
        if (!out)
            return failWith(ERROR_INVALID_PARAMETER, FALSE);
        *static_cast<RECT*>(out) = backend().workArea();
        return TRUE;
    case SPI_GETNONCLIENTMETRICS: {
        auto* m = static_cast<NONCLIENTMETRICSA*>(out);
        if (!m || m->cbSize != sizeof(NONCLIENTMETRICSA))
            return failWith(ERROR_INVALID_PARAMETER, FALSE);
        m->iBorderWidth = 1;
        m->iScrollWidth = 17;
        m->iScrollHeight = 17;
        m->iCaptionWidth = 18;
        m->iCaptionHeight = 18;
        defaultLogFont(m->lfCaptionFont, true);
        m->iSmCaptionWidth = 12;
        m->iSmCaptionHeight = 14;
        defaultLogFont(m->lfSmCaptionFont, true);
        m->iMenuWidth = 18;
        m->iMenuHeight = 18;
        defaultLogFont(m->lfMenuFont);
        defaultLogFont(m->lfStatusFont);
        defaultLogFont(m->lfMessageFont);
        return TRUE;
    }
    case SPI_GETICONTITLELOGFONT:
        if (!out)
            return failWith(ERROR_INVALID_PARAMETER, FALSE);
        defaultLogFont(*static_cast<LOGFONTA*>(out));
        return TRUE;
    case SPI_GETMOUSEHOVERTIME: return setUint(400);
    case SPI_GETMOUSEHOVERWIDTH:
    case SPI_GETMOUSEHOVERHEIGHT: return setUint(4);
    case SPI_GETWHEELSCROLLLINES:
    case SPI_GETWHEELSCROLLCHARS: return setUint(3);
    case SPI_GETKEYBOARDDELAY: return setUint(1);
    case SPI_GETKEYBOARDSPEED: return setUint(31);
    case SPI_GETMENUSHOWDELAY: return setUint(400);
    case SPI_GETBORDER: return setUint(1);
    case SPI_GETMOUSESPEED: return setUint(10);
    case SPI_GETDRAGFULLWINDOWS:
    case SPI_GETGRADIENTCAPTIONS:
    case SPI_GETHOTTRACKING:
    case SPI_GETKEYBOARDCUES:
    case SPI_GETSHOWIMEUI: return setBool(TRUE);
    case SPI_GETBEEP:
    case SPI_GETFONTSMOOTHING:
    case SPI_GETCOMBOBOXANIMATION:
    case SPI_GETLISTBOXSMOOTHSCROLLING:
    case SPI_GETMENUFADE:
    case SPI_GETSELECTIONFADE:
    case SPI_GETTOOLTIPANIMATION:
    case SPI_GETTOOLTIPFADE:
    case SPI_GETCURSORSHADOW:
    case SPI_GETFLATMENU:
    case SPI_GETDROPSHADOW:
    case SPI_GETSCREENSAVERRUNNING:
    case SPI_GETICONTITLEWRAP:
    case SPI_GETMENUDROPALIGNMENT:
    case SPI_GETKEYBOARDPREF:
        return setBool(FALSE);
    case SPI_ICONHORIZONTALSPACING:
    case SPI_ICONVERTICALSPACING:
        if (out)
            *static_cast<int*>(out) = 75;
        return TRUE;
    case SPI_SETDOUBLECLICKTIME:
        return SetDoubleClickTime(param);
    default:
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    }
}

BOOL WINAPI SetRect(LPRECT r, int l, int t, int rr, int b)
{
    if (!r)
        return FALSE;
    *r = RECT{l, t, rr, b};
    return TRUE;
}

BOOL WINAPI SetRectEmpty(LPRECT r) { return SetRect(r, 0, 0, 0, 0); }

BOOL WINAPI CopyRect(LPRECT d, const RECT* s)
{
    if (!d || !s)
        return FALSE;
    *d = *s;
    return TRUE;
}

BOOL WINAPI InflateRect(LPRECT r, int dx, int dy)
{
    if (!r)
        return FALSE;
    r->left -= dx;
    r->top -= dy;
    r->right += dx;
    r->bottom += dy;
    return TRUE;
}

BOOL WINAPI OffsetRect(LPRECT r, int dx, int dy)
{
    if (!r)
        return FALSE;
    r->left += dx;
    r->top += dy;
    r->right += dx;
    r->bottom += dy;
    return TRUE;
}

BOOL WINAPI IsRectEmpty(const RECT* r) { return !r || r->right <= r->left || r->bottom <= r->top; }

BOOL WINAPI EqualRect(const RECT* a, const RECT* b)
{
    if (!a || !b)
        return FALSE;
    return a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

BOOL WINAPI PtInRect(const RECT* r, POINT p)
{
    return r && p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}

BOOL WINAPI IntersectRect(LPRECT d, const RECT* a, const RECT* b)
{
    if (!d || !a || !b)
        return FALSE;
    RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right), std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&r)) {
        *d = RECT{0, 0, 0, 0};
        return FALSE;
    }
    *d = r;
    return TRUE;
}

BOOL WINAPI UnionRect(LPRECT d, const RECT* a, const RECT* b)
{
    if (!d || !a || !b)
        return FALSE;
    if (IsRectEmpty(a)) {
        if (IsRectEmpty(b)) {
            *d = RECT{0, 0, 0, 0};
            return FALSE;
        }
        *d = *b;
        return TRUE;
    }
    if (IsRectEmpty(b)) {
        *d = *a;
        return TRUE;
    }
    *d = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right), std::max(a->bottom, b->bottom)};
    return TRUE;
}

BOOL WINAPI SubtractRect(LPRECT d, const RECT* a, const RECT* b)
{
    if (!d || !a || !b)
        return FALSE;
    RECT r = *a;
    RECT inter;
    if (IntersectRect(&inter, a, b)) {
        // Only a full cut along one side leaves a rectangle.
        if (inter.top == r.top && inter.bottom == r.bottom) {
            if (inter.left == r.left)
                r.left = inter.right;
            else if (inter.right == r.right)
                r.right = inter.left;
        } else if (inter.left == r.left && inter.right == r.right) {
            if (inter.top == r.top)
                r.top = inter.bottom;
            else if (inter.bottom == r.bottom)
                r.bottom = inter.top;
        }
    }
    *d = r;
    if (IsRectEmpty(d)) {
        *d = RECT{0, 0, 0, 0};
        return FALSE;
    }
    return TRUE;
}

LPSTR WINAPI CharNextA(LPCSTR s)
{
    if (!s || !*s)
        return const_cast<LPSTR>(s);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(s) + 1;
    while ((*p & 0xC0) == 0x80)
        ++p;
    return reinterpret_cast<LPSTR>(const_cast<unsigned char*>(p));
}

LPSTR WINAPI CharPrevA(LPCSTR start, LPCSTR cur)
{
    if (!start || !cur || cur <= start)
        return const_cast<LPSTR>(start);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(cur) - 1;
    while (p > reinterpret_cast<const unsigned char*>(start) && (*p & 0xC0) == 0x80)
        --p;
    return reinterpret_cast<LPSTR>(const_cast<unsigned char*>(p));
}

LPSTR WINAPI CharUpperA(LPSTR s)
{
    if (IS_INTRESOURCE(s))
        return reinterpret_cast<LPSTR>(uintptr_t(toupper(int(reinterpret_cast<uintptr_t>(s) & 0xFF))));
    for (char* p = s; *p; ++p)
        if (static_cast<unsigned char>(*p) < 0x80)
            *p = char(toupper(*p));
    return s;
}

LPSTR WINAPI CharLowerA(LPSTR s)
{
    if (IS_INTRESOURCE(s))
        return reinterpret_cast<LPSTR>(uintptr_t(tolower(int(reinterpret_cast<uintptr_t>(s) & 0xFF))));
    for (char* p = s; *p; ++p)
        if (static_cast<unsigned char>(*p) < 0x80)
            *p = char(tolower(*p));
    return s;
}

int WINAPIV wsprintfA(LPSTR buf, LPCSTR fmt, ...)
{
    if (!buf || !fmt)
        return 0;
    va_list ap;
    va_start(ap, fmt);
    // wsprintf writes at most 1024 bytes.
    int n = vsnprintf(buf, 1024, fmt, ap);
    va_end(ap);
    return n < 0 ? 0 : std::min(n, 1023);
}

} // extern "C"
