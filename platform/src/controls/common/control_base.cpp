// Shared pieces of the common controls and the comctl32 entry points.
#include "controls/common/control_base.h"

#include "user/classes.h"

#include <algorithm>

namespace vk::comctl {

LRESULT notifyParent(HWND from, UINT code, NMHDR* hdr)
{
    HWND parent = GetParent(from);
    if (!parent || !hdr)
        return 0;
    hdr->hwndFrom = from;
    hdr->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(from));
    hdr->code = code;
    return SendMessageA(parent, WM_NOTIFY, hdr->idFrom, reinterpret_cast<LPARAM>(hdr));
}

LRESULT sendToParent(HWND from, UINT msg, WPARAM wp, LPARAM lp)
{
    HWND parent = GetParent(from);
    return parent ? SendMessageA(parent, msg, wp, lp) : 0;
}

HFONT defaultFont()
{
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void registerControlClass(const char* name, WNDPROC proc, UINT style)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = sizeof(void*);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    vk::user::registerSystemClass(wc);
}

void drawText(HDC dc, HFONT font, const std::string& text, RECT rc, UINT format, COLORREF color)
{
    HGDIOBJ old = SelectObject(dc, font);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(dc, color);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rc, format);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    SelectObject(dc, old);
}

SIZE textExtent(HDC dc, HFONT font, const std::string& text)
{
    SIZE sz{0, 0};
    HGDIOBJ old = SelectObject(dc, font);
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &sz);
    if (text.empty()) {
        TEXTMETRICA tm{};
        GetTextMetricsA(dc, &tm);
        sz.cy = tm.tmHeight;
    }
    SelectObject(dc, old);
    return sz;
}

int clampInt(long long v, int lo, int hi)
{
    if (hi < lo)
        std::swap(lo, hi);
    return static_cast<int>(std::clamp<long long>(v, lo, hi));
}

int scrollTarget(HWND hwnd, int bar, UINT code, int current, int line, int page, int last)
{
    switch (code) {
    case SB_LINEUP: return current - line;
    case SB_LINEDOWN: return current + line;
    case SB_PAGEUP: return current - page;
    case SB_PAGEDOWN: return current + page;
    case SB_TOP: return 0;
    case SB_BOTTOM: return last;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO si{sizeof si, SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(hwnd, bar, &si);
        return si.nTrackPos;
    }
    default: return current;
    }
}

int wheelNotches(int& pending, WPARAM wp)
{
    pending += GET_WHEEL_DELTA_WPARAM(wp);
    int notches = pending / WHEEL_DELTA;
    pending -= notches * WHEEL_DELTA;
    return notches;
}

} // namespace vk::comctl
