// "msctls_progress32": a bar filled in proportion to its position in its range.
#include "controls/common/control_base.h"

namespace vk::comctl {
namespace {

class Progress {
public:
    Progress(HWND hwnd, const CREATESTRUCTA&) : m_hwnd(hwnd) {}

    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp)
    {
        switch (msg) {
        case PBM_SETRANGE: {
            LRESULT old = MAKELONG(m_low, m_high);
            setRange(static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp)));
            return old;
        }
        case PBM_SETRANGE32: {
            LRESULT old = MAKELONG(m_low, m_high);
            setRange(static_cast<int>(wp), static_cast<int>(lp));
            return old;
        }
        case PBM_GETRANGE:
            if (auto* r = reinterpret_cast<PBRANGE*>(lp)) {
                r->iLow = m_low;
                r->iHigh = m_high;
            }
            return wp ? m_low : m_high;
        case PBM_SETPOS:
            return setPos(static_cast<int>(wp));
        case PBM_DELTAPOS:
            return setPos(m_pos + static_cast<int>(wp));
        case PBM_GETPOS:
            return m_pos;
        case PBM_SETSTEP: {
            int old = m_step;
            m_step = static_cast<int>(wp);
            return old;
        }
        case PBM_GETSTEP:
            return m_step;
        case PBM_STEPIT: {
            // Stepping past the top wraps to the bottom, as Win32 does.
            int old = m_pos;
            long long next = static_cast<long long>(m_pos) + m_step;
            if (next > m_high)
                next = m_low + (m_high > m_low ? (next - m_low) % (static_cast<long long>(m_high) - m_low) : 0);
            else if (next < m_low)
                next = m_high;
            m_pos = static_cast<int>(next);
            InvalidateRect(m_hwnd, nullptr, TRUE);
            return old;
        }
        case PBM_SETBARCOLOR: {
            COLORREF old = m_bar;
            m_bar = static_cast<COLORREF>(lp);
            InvalidateRect(m_hwnd, nullptr, TRUE);
            return old;
        }
        case PBM_GETBARCOLOR:
            return m_bar;
        case PBM_SETBKCOLOR: {
            COLORREF old = m_bk;
            m_bk = static_cast<COLORREF>(lp);
            InvalidateRect(m_hwnd, nullptr, TRUE);
            return old;
        }
        case PBM_GETBKCOLOR:
            return m_bk;
        case PBM_SETSTATE: {
            int old = m_state;
            if (wp >= PBST_NORMAL && wp <= PBST_PAUSED)
                m_state = static_cast<int>(wp);
            return old;
        }
        case PBM_GETSTATE:
            return m_state;
        case WM_SETFONT:
            m_font.font = reinterpret_cast<HFONT>(wp);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(m_font.font);
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint();
            return 0;
        }
        return DefWindowProcA(m_hwnd, msg, wp, lp);
    }

private:
    void setRange(int lo, int hi)
    {
        m_low = lo;
        m_high = hi;
        m_pos = clampInt(m_pos, std::min(lo, hi), std::max(lo, hi));
        InvalidateRect(m_hwnd, nullptr, TRUE);
    }
    LRESULT setPos(int pos)
    {
        int old = m_pos;
        m_pos = clampInt(pos, std::min(m_low, m_high), std::max(m_low, m_high));
        if (m_pos != old)
            InvalidateRect(m_hwnd, nullptr, TRUE);
        return old;
    }

    void paint()
    {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hwnd, &ps);
        RECT rc;
        GetClientRect(m_hwnd, &rc);
        DrawEdge(dc, &rc, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        HBRUSH bk = m_bk == CLR_DEFAULT ? GetSysColorBrush(COLOR_3DFACE) : CreateSolidBrush(m_bk);
        FillRect(dc, &rc, bk);
        if (m_bk != CLR_DEFAULT)
            DeleteObject(bk);
        bool vertical = GetWindowLongA(m_hwnd, GWL_STYLE) & PBS_VERTICAL;
        long long span = static_cast<long long>(m_high) - m_low;
        long long length = vertical ? rc.bottom - rc.top : rc.right - rc.left;
        // An empty range draws an empty bar.
        int filled = span > 0 ? static_cast<int>((static_cast<long long>(m_pos) - m_low) * length / span) : 0;
        RECT bar = rc;
        if (vertical)
            bar.top = bar.bottom - filled;
        else
            bar.right = bar.left + filled;
        if (filled > 0) {
            HBRUSH b = m_bar == CLR_DEFAULT ? GetSysColorBrush(COLOR_HIGHLIGHT) : CreateSolidBrush(m_bar);
            if (GetWindowLongA(m_hwnd, GWL_STYLE) & PBS_SMOOTH) {
                FillRect(dc, &bar, b);
            } else {
                // The classic bar is drawn as blocks with gaps of the background between them.
                int extent = vertical ? rc.right - rc.left : rc.bottom - rc.top;
                int block = std::max(2, extent * 2 / 3);
                for (int at = 0; at < filled; at += block + 2) {
                    RECT seg = bar;
                    if (vertical) {
                        seg.bottom = rc.bottom - at;
                        seg.top = std::max<LONG>(bar.top, seg.bottom - block);
                    } else {
                        seg.left = rc.left + at;
                        seg.right = std::min<LONG>(bar.right, seg.left + block);
                    }
                    FillRect(dc, &seg, b);
                }
            }
            if (m_bar != CLR_DEFAULT)
                DeleteObject(b);
        }
        EndPaint(m_hwnd, &ps);
    }

    HWND m_hwnd;
    int m_low = 0, m_high = 100, m_pos = 0, m_step = 10;
    int m_state = PBST_NORMAL;
    COLORREF m_bar = CLR_DEFAULT, m_bk = CLR_DEFAULT;
    FontHolder m_font;
};

} // namespace

void registerProgress()
{
    registerControlClass(PROGRESS_CLASSA, controlProc<Progress>, 0);
}

} // namespace vk::comctl
