// "msctls_trackbar32": a thumb sliding along a channel. Geometry comes from one
// function that painting, hit testing and TBM_GETCHANNELRECT/THUMBRECT share.
#include "controls/common/control_base.h"

#include <algorithm>
#include <climits>

namespace vk::comctl {
namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kRepeatDelay = 400;
constexpr UINT kRepeatInterval = 100;
constexpr int kTickSpace = 4; // room for tick marks on a side
constexpr int kChannelThickness = 6;

class Trackbar {
public:
    Trackbar(HWND hwnd, const CREATESTRUCTA&) : m_hwnd(hwnd) {}

    struct Geometry {
        RECT channel;
        RECT thumb;
    };

    bool vertical() const { return style() & TBS_VERT; }
    DWORD style() const { return static_cast<DWORD>(GetWindowLongA(m_hwnd, GWL_STYLE)); }
    int thumbWidth() const { return std::max(3, m_thumbLength / 2 + 1); }

    Geometry geometry() const
    {
        RECT rc;
        GetClientRect(m_hwnd, &rc);
        DWORD st = style();
        bool before = (st & TBS_BOTH) || (st & TBS_TOP);
        int along = vertical() ? rc.bottom : rc.right;
        int inset = thumbWidth() / 2 + 4;
        int across = (before ? kTickSpace : 0) + 4;
        int thumbLen = m_thumbLength;
        Geometry g{};
        int c0 = across + thumbLen / 2 - kChannelThickness / 2;
        int lo = inset, hi = std::max(inset + 1, along - inset);
        int px = lo + pixelOffset(hi - lo);
        int tw = thumbWidth();
        if (!vertical()) {
            g.channel = RECT{lo, c0, hi, c0 + kChannelThickness};
            g.thumb = RECT{px - tw / 2, across, px - tw / 2 + tw, across + thumbLen};
        } else {
            g.channel = RECT{c0, lo, c0 + kChannelThickness, hi};
            g.thumb = RECT{across, px - tw / 2, across + thumbLen, px - tw / 2 + tw};
        }
        return g;
    }

    // Offset of the position along a channel of the given length.
    int pixelOffset(int length) const { return valueOffset(m_pos, length); }
    int valueOffset(int value, int length) const
    {
        long long span = static_cast<long long>(m_max) - m_min;
        if (span <= 0 || length <= 1)
            return 0;
        return static_cast<int>((static_cast<long long>(value) - m_min) * (length - 1) / span);
    }
    int valueAt(int pixel) const
    {
        Geometry g = geometry();
        int lo = vertical() ? g.channel.top : g.channel.left;
        int hi = vertical() ? g.channel.bottom : g.channel.right;
        long long span = static_cast<long long>(m_max) - m_min;
        if (span <= 0 || hi - lo <= 1)
            return m_min;
        long long v = m_min + ((static_cast<long long>(pixel) - lo) * span * 2 + (hi - lo - 1)) / (2LL * (hi - lo - 1));
        return clampInt(v, m_min, m_max);
    }

    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp)
    {
        switch (msg) {
        case TBM_GETPOS:
            return m_pos;
        case TBM_GETRANGEMIN:
            return m_min;
        case TBM_GETRANGEMAX:
            return m_max;
        case TBM_SETPOS:
            setPos(static_cast<int>(lp), wp != 0);
            return 0;
        case TBM_SETRANGE:
            setRange(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)), wp != 0);
            return 0;
        case TBM_SETRANGEMIN:
            setRange(static_cast<int>(lp), m_max, wp != 0);
            return 0;
        case TBM_SETRANGEMAX:
            setRange(m_min, static_cast<int>(lp), wp != 0);
            return 0;
        case TBM_SETSEL:
            m_selStart = static_cast<short>(LOWORD(lp));
            m_selEnd = static_cast<short>(HIWORD(lp));
            redrawIf(wp != 0);
            return 0;
        case TBM_SETSELSTART:
            m_selStart = static_cast<int>(lp);
            redrawIf(wp != 0);
            return 0;
        case TBM_SETSELEND:
            m_selEnd = static_cast<int>(lp);
            redrawIf(wp != 0);
            return 0;
        case TBM_GETSELSTART:
            return m_selStart;
        case TBM_GETSELEND:
            return m_selEnd;
        case TBM_CLEARSEL:
            m_selStart = m_selEnd = -1;
            redrawIf(wp != 0);
            return 0;
        case TBM_SETTICFREQ:
            m_ticFreq = std::max(1, static_cast<int>(wp));
            redrawIf(true);
            return 0;
        case TBM_GETNUMTICS: {
            if (style() & TBS_NOTICKS)
                return 0;
            long long span = static_cast<long long>(m_max) - m_min;
            long long inner = (style() & TBS_AUTOTICKS) && span > 0 ? (span - 1) / m_ticFreq : 0;
            return static_cast<LRESULT>(2 + inner);
        }
        case TBM_SETPAGESIZE: {
            int old = m_page;
            m_page = static_cast<int>(lp);
            return old;
        }
        case TBM_GETPAGESIZE:
            return m_page;
        case TBM_SETLINESIZE: {
            int old = m_line;
            m_line = static_cast<int>(lp);
            return old;
        }
        case TBM_GETLINESIZE:
            return m_line;
        case TBM_SETTHUMBLENGTH:
            m_thumbLength = clampInt(static_cast<long long>(wp), 4, 200);
            redrawIf(true);
            return 0;
        case TBM_GETTHUMBLENGTH:
            return m_thumbLength;
        case TBM_GETCHANNELRECT:
            if (auto* r = reinterpret_cast<RECT*>(lp))
                *r = geometry().channel;
            return 0;
        case TBM_GETTHUMBRECT:
            if (auto* r = reinterpret_cast<RECT*>(lp))
                *r = geometry().thumb;
            return 0;
        case TBM_GETTOOLTIPS:
        case TBM_GETBUDDY:
            return 0;
        case WM_SETFONT:
            m_font.font = reinterpret_cast<HFONT>(wp);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(m_font.font);
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
            redrawIf(true);
            return 0;
        case WM_LBUTTONDOWN:
            mouseDown(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            return 0;
        case WM_MOUSEMOVE:
            if (m_dragging)
                drag(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            return 0;
        case WM_LBUTTONUP:
            mouseUp();
            return 0;
        case WM_CAPTURECHANGED:
            if (m_dragging || m_paging) {
                KillTimer(m_hwnd, kRepeatTimer);
                m_dragging = m_paging = false;
                notify(TB_ENDTRACK, 0);
            }
            return 0;
        case WM_TIMER:
            if (wp == kRepeatTimer && m_paging) {
                SetTimer(m_hwnd, kRepeatTimer, kRepeatInterval, nullptr);
                pageTowards(m_pageTarget);
            }
            return 0;
        case WM_KEYDOWN:
            key(static_cast<UINT>(wp));
            return 0;
        case WM_KEYUP:
            if (isNavigationKey(static_cast<UINT>(wp)))
                notify(TB_ENDTRACK, 0);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint();
            return 0;
        }
        return DefWindowProcA(m_hwnd, msg, wp, lp);
    }

private:
    void redrawIf(bool redraw)
    {
        if (redraw)
            InvalidateRect(m_hwnd, nullptr, TRUE);
    }
    void setRange(int lo, int hi, bool redraw)
    {
        m_min = lo;
        m_max = hi;
        m_pos = clampInt(m_pos, std::min(lo, hi), std::max(lo, hi));
        m_page = std::max(1, (std::max(lo, hi) - std::min(lo, hi)) / 5);
        redrawIf(redraw);
    }
    void setPos(int pos, bool redraw)
    {
        m_pos = clampInt(pos, std::min(m_min, m_max), std::max(m_min, m_max));
        redrawIf(redraw);
    }
    void notify(int code, int pos)
    {
        sendToParent(m_hwnd, vertical() ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, pos),
                     reinterpret_cast<LPARAM>(m_hwnd));
    }
    // Moves by delta and tells the parent with code when the position changed.
    void step(int delta, int code)
    {
        int old = m_pos;
        setPos(static_cast<int>(std::clamp<long long>(static_cast<long long>(m_pos) + delta, INT_MIN, INT_MAX)), false);
        if (m_pos != old)
            redrawIf(true);
        notify(code, 0);
    }
    static bool isNavigationKey(UINT vkey)
    {
        switch (vkey) {
        case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
        case VK_PRIOR: case VK_NEXT: case VK_HOME: case VK_END:
            return true;
        }
        return false;
    }
    void key(UINT vkey)
    {
        switch (vkey) {
        case VK_LEFT:
        case VK_UP:
            step(-m_line, TB_LINEUP);
            break;
        case VK_RIGHT:
        case VK_DOWN:
            step(m_line, TB_LINEDOWN);
            break;
        case VK_PRIOR:
            step(-m_page, TB_PAGEUP);
            break;
        case VK_NEXT:
            step(m_page, TB_PAGEDOWN);
            break;
        case VK_HOME:
            setPos(m_min, true);
            notify(TB_TOP, 0);
            break;
        case VK_END:
            setPos(m_max, true);
            notify(TB_BOTTOM, 0);
            break;
        }
    }
    void mouseDown(POINT pt)
    {
        SetFocus(m_hwnd);
        Geometry g = geometry();
        if (!(style() & TBS_NOTHUMB) && PtInRect(&g.thumb, pt)) {
            m_dragging = true;
            m_grabOffset = vertical() ? pt.y - (g.thumb.top + g.thumb.bottom) / 2 : pt.x - (g.thumb.left + g.thumb.right) / 2;
            SetCapture(m_hwnd);
            redrawIf(true);
            return;
        }
        m_paging = true;
        m_pageTarget = valueAt(vertical() ? pt.y : pt.x);
        SetCapture(m_hwnd);
        pageTowards(m_pageTarget);
        SetTimer(m_hwnd, kRepeatTimer, kRepeatDelay, nullptr);
    }
    void pageTowards(int target)
    {
        if (target < m_pos)
            step(std::max(-m_page, target - m_pos), TB_PAGEUP);
        else if (target > m_pos)
            step(std::min(m_page, target - m_pos), TB_PAGEDOWN);
    }
    void drag(POINT pt)
    {
        int v = valueAt((vertical() ? pt.y : pt.x) - m_grabOffset);
        if (v != m_pos) {
            m_pos = v;
            redrawIf(true);
            notify(TB_THUMBTRACK, v);
        }
    }
    void mouseUp()
    {
        bool dragging = m_dragging, paging = m_paging;
        m_dragging = m_paging = false;
        KillTimer(m_hwnd, kRepeatTimer);
        if (dragging)
            notify(TB_THUMBPOSITION, m_pos);
        if (dragging || paging) {
            notify(TB_ENDTRACK, 0);
            if (GetCapture() == m_hwnd)
                ReleaseCapture();
            redrawIf(true);
        }
    }

    void drawTicks(HDC dc, const Geometry& g)
    {
        DWORD st = style();
        if (st & TBS_NOTICKS)
            return;
        HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNTEXT));
        HGDIOBJ old = SelectObject(dc, pen);
        int lo = vertical() ? g.channel.top : g.channel.left;
        int len = vertical() ? g.channel.bottom - g.channel.top : g.channel.right - g.channel.left;
        auto tickAt = [&](int value, int size) {
            int p = lo + valueOffset(value, len);
            bool before = (st & TBS_BOTH) || (st & TBS_TOP);
            bool after = (st & TBS_BOTH) || !(st & TBS_TOP);
            int thumbLo = vertical() ? g.thumb.left : g.thumb.top;
            int thumbHi = vertical() ? g.thumb.right : g.thumb.bottom;
            auto line = [&](int a, int b) {
                if (!vertical()) {
                    MoveToEx(dc, p, a, nullptr);
                    LineTo(dc, p, b);
                } else {
                    MoveToEx(dc, a, p, nullptr);
                    LineTo(dc, b, p);
                }
            };
            if (after)
                line(thumbHi + 1, thumbHi + 1 + size);
            if (before)
                line(thumbLo - 1 - size, thumbLo - 1);
        };
        tickAt(m_min, 3);
        tickAt(m_max, 3);
        if (st & TBS_AUTOTICKS) {
            long long count = 0;
            for (long long v = static_cast<long long>(m_min) + m_ticFreq; v < m_max && count < 2000; v += m_ticFreq, ++count)
                tickAt(static_cast<int>(v), 2);
        }
        SelectObject(dc, old);
        DeleteObject(pen);
    }

    void paint()
    {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hwnd, &ps);
        RECT rc;
        GetClientRect(m_hwnd, &rc);
        HWND parent = GetParent(m_hwnd);
        HBRUSH bk = parent ? reinterpret_cast<HBRUSH>(SendMessageA(parent, WM_CTLCOLORSTATIC,
                                                                     reinterpret_cast<WPARAM>(dc),
                                                                     reinterpret_cast<LPARAM>(m_hwnd)))
                           : nullptr;
        FillRect(dc, &rc, bk ? bk : GetSysColorBrush(COLOR_3DFACE));
        Geometry g = geometry();
        RECT ch = g.channel;
        DrawEdge(dc, &ch, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        FillRect(dc, &ch, GetSysColorBrush(COLOR_WINDOW));
        if ((style() & TBS_ENABLESELRANGE) && m_selStart >= 0 && m_selEnd > m_selStart) {
            RECT sel = ch;
            int len = vertical() ? g.channel.bottom - g.channel.top : g.channel.right - g.channel.left;
            int base = vertical() ? g.channel.top : g.channel.left;
            int a = base + valueOffset(m_selStart, len), b = base + valueOffset(m_selEnd, len);
            if (vertical()) {
                sel.top = a;
                sel.bottom = b;
            } else {
                sel.left = a;
                sel.right = b;
            }
            FillRect(dc, &sel, GetSysColorBrush(COLOR_HIGHLIGHT));
        }
        drawTicks(dc, g);
        if (!(style() & TBS_NOTHUMB)) {
            RECT th = g.thumb;
            FillRect(dc, &th, GetSysColorBrush(m_dragging ? COLOR_3DLIGHT : COLOR_3DFACE));
            DrawEdge(dc, &th, EDGE_RAISED, BF_RECT);
        }
        if (GetFocus() == m_hwnd) {
            RECT f = rc;
            DrawFocusRect(dc, &f);
        }
        EndPaint(m_hwnd, &ps);
    }

    HWND m_hwnd;
    int m_min = 0, m_max = 100, m_pos = 0;
    int m_line = 1, m_page = 20, m_ticFreq = 1;
    int m_selStart = -1, m_selEnd = -1;
    int m_thumbLength = 20;
    bool m_dragging = false, m_paging = false;
    int m_grabOffset = 0, m_pageTarget = 0;
    FontHolder m_font;
};

} // namespace

void registerTrackbar()
{
    registerControlClass(TRACKBAR_CLASSA, controlProc<Trackbar>, 0);
}

} // namespace vk::comctl
