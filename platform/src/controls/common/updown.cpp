// "msctls_updown32": two arrow halves that step a position, optionally shown
// as the text of a buddy window; held halves repeat on timers.
#include "controls/common/control_base.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace vk::comctl {
namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeat = 500;
constexpr UINT kRepeatInterval = 100;
constexpr char kBuddyOwnerProp[] = "VkUpDownOf";
constexpr char kBuddyProcProp[] = "VkUpDownBuddyProc";

LRESULT CALLBACK buddyProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

class UpDown {
public:
    UpDown(HWND hwnd, const CREATESTRUCTA&) : m_hwnd(hwnd) {}
    ~UpDown() { releaseBuddy(); }

    DWORD style() const { return static_cast<DWORD>(GetWindowLongA(m_hwnd, GWL_STYLE)); }
    bool horizontal() const { return style() & UDS_HORZ; }

    // The two halves: [0] moves up (towards the upper limit), [1] down.
    void halves(RECT& up, RECT& down) const
    {
        RECT rc;
        GetClientRect(m_hwnd, &rc);
        up = down = rc;
        if (horizontal()) {
            int mid = rc.right / 2;
            down.right = mid;
            up.left = mid;
        } else {
            int mid = rc.bottom / 2;
            up.bottom = mid;
            down.top = mid;
        }
    }

    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp)
    {
        switch (msg) {
        case WM_CREATE:
            if (style() & UDS_AUTOBUDDY)
                setBuddy(GetWindow(m_hwnd, GW_HWNDPREV));
            return 0;
        case UDM_SETRANGE:
            m_upper = static_cast<short>(LOWORD(lp));
            m_lower = static_cast<short>(HIWORD(lp));
            clampPos();
            return 0;
        case UDM_GETRANGE:
            return MAKELONG(static_cast<short>(m_upper), static_cast<short>(m_lower));
        case UDM_SETRANGE32:
            m_lower = static_cast<int>(wp);
            m_upper = static_cast<int>(lp);
            clampPos();
            return 0;
        case UDM_GETRANGE32:
            if (auto* lo = userPointer<int>(wp))
                *lo = m_lower;
            if (auto* hi = reinterpret_cast<int*>(lp))
                *hi = m_upper;
            return 0;
        case UDM_SETPOS:
            return static_cast<short>(setPos(static_cast<short>(LOWORD(lp))));
        case UDM_SETPOS32:
            return setPos(static_cast<int>(lp));
        case UDM_GETPOS: {
            bool ok = readBuddy();
            return MAKELONG(static_cast<short>(m_pos), ok ? 0 : 1);
        }
        case UDM_GETPOS32: {
            bool ok = readBuddy();
            if (auto* err = reinterpret_cast<BOOL*>(lp))
                *err = ok ? FALSE : TRUE;
            return m_pos;
        }
        case UDM_SETBUDDY: {
            HWND old = m_buddy;
            setBuddy(reinterpret_cast<HWND>(wp));
            return reinterpret_cast<LRESULT>(old);
        }
        case UDM_GETBUDDY:
            return reinterpret_cast<LRESULT>(m_buddy);
        case UDM_SETACCEL: {
            auto* acc = reinterpret_cast<const UDACCEL*>(lp);
            if (!acc || wp == 0 || wp > 64)
                return FALSE;
            m_accel.assign(acc, acc + wp);
            return TRUE;
        }
        case UDM_GETACCEL: {
            auto* out = reinterpret_cast<UDACCEL*>(lp);
            size_t n = std::min<size_t>(wp, m_accel.size());
            if (out)
                std::copy_n(m_accel.begin(), n, out);
            return static_cast<LRESULT>(m_accel.size());
        }
        case UDM_SETBASE: {
            if (wp != 10 && wp != 16)
                return 0;
            int old = m_base;
            m_base = static_cast<int>(wp);
            updateBuddyText();
            return old;
        }
        case UDM_GETBASE:
            return m_base;
        case WM_LBUTTONDOWN:
            press(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            return 0;
        case WM_LBUTTONUP:
            release();
            return 0;
        case WM_MOUSEMOVE:
            if (m_pressed) {
                // Repeating goes on only while the mouse stays on the pressed half.
                RECT up, down;
                halves(up, down);
                POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
                bool over = PtInRect(m_pressed > 0 ? &up : &down, pt);
                if (over != m_over) {
                    m_over = over;
                    InvalidateRect(m_hwnd, nullptr, FALSE);
                }
            }
            return 0;
        case WM_CAPTURECHANGED:
            if (m_pressed)
                endPress();
            return 0;
        case WM_TIMER:
            if (wp == kRepeatTimer && m_pressed) {
                SetTimer(m_hwnd, kRepeatTimer, kRepeatInterval, nullptr);
                m_held += m_firstTick ? kFirstRepeat : kRepeatInterval;
                m_firstTick = false;
                if (m_over)
                    stepBy(m_pressed);
            }
            return 0;
        case WM_KEYDOWN:
            if (key(static_cast<UINT>(wp)))
                return 0;
            break;
        case WM_KEYUP:
            if (wp == VK_UP || wp == VK_DOWN || wp == VK_LEFT || wp == VK_RIGHT) {
                scrollToParent(SB_ENDSCROLL);
                return 0;
            }
            break;
        case WM_ENABLE:
            InvalidateRect(m_hwnd, nullptr, FALSE);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint();
            return 0;
        }
        return DefWindowProcA(m_hwnd, msg, wp, lp);
    }

    // Arrow keys in the buddy (UDS_ARROWKEYS) step the position.
    bool key(UINT vkey)
    {
        if (!(style() & UDS_ARROWKEYS))
            return false;
        int dir = 0;
        if (vkey == VK_UP || (horizontal() && vkey == VK_RIGHT))
            dir = 1;
        else if (vkey == VK_DOWN || (horizontal() && vkey == VK_LEFT))
            dir = -1;
        if (!dir)
            return false;
        stepBy(dir);
        return true;
    }
    void buddyGone() { m_buddy = nullptr; }
    HWND hwnd() const { return m_hwnd; }

private:
    int increment() const
    {
        int inc = 1;
        for (const UDACCEL& a : m_accel)
            if (m_held >= a.nSec * 1000)
                inc = static_cast<int>(a.nInc);
        return inc;
    }
    void clampPos()
    {
        m_pos = clampInt(m_pos, std::min(m_lower, m_upper), std::max(m_lower, m_upper));
    }
    int setPos(int pos)
    {
        int old = m_pos;
        m_pos = clampInt(pos, std::min(m_lower, m_upper), std::max(m_lower, m_upper));
        updateBuddyText();
        return old;
    }
    // One step towards the upper (dir > 0) or lower limit; the parent may change or refuse it.
    void stepBy(int dir)
    {
        readBuddy();
        int inc = increment();
        int delta = (m_upper >= m_lower ? 1 : -1) * dir * inc;
        NMUPDOWN nm{};
        nm.iPos = m_pos;
        nm.iDelta = delta;
        if (notifyParent(m_hwnd, UDN_DELTAPOS, &nm.hdr))
            return;
        int lo = std::min(m_lower, m_upper), hi = std::max(m_lower, m_upper);
        long long next = static_cast<long long>(m_pos) + nm.iDelta;
        if (next > hi)
            next = (style() & UDS_WRAP) ? lo : hi;
        else if (next < lo)
            next = (style() & UDS_WRAP) ? hi : lo;
        bool changed = next != m_pos;
        m_pos = static_cast<int>(next);
        if (changed)
            updateBuddyText();
        scrollToParent(SB_THUMBPOSITION);
    }
    void scrollToParent(int code)
    {
        sendToParent(m_hwnd, horizontal() ? WM_HSCROLL : WM_VSCROLL,
                     MAKEWPARAM(code, static_cast<WORD>(static_cast<short>(m_pos))), reinterpret_cast<LPARAM>(m_hwnd));
    }
    void press(POINT pt)
    {
        if (!IsWindowEnabled(m_hwnd))
            return;
        RECT up, down;
        halves(up, down);
        m_pressed = PtInRect(&up, pt) ? 1 : PtInRect(&down, pt) ? -1 : 0;
        if (!m_pressed)
            return;
        if (m_buddy)
            SetFocus(m_buddy);
        m_over = true;
        m_held = 0;
        m_firstTick = true;
        SetCapture(m_hwnd);
        stepBy(m_pressed);
        SetTimer(m_hwnd, kRepeatTimer, kFirstRepeat, nullptr);
        InvalidateRect(m_hwnd, nullptr, FALSE);
    }
    void endPress()
    {
        KillTimer(m_hwnd, kRepeatTimer);
        m_pressed = 0;
        InvalidateRect(m_hwnd, nullptr, FALSE);
        scrollToParent(SB_ENDSCROLL);
    }
    void release()
    {
        if (!m_pressed)
            return;
        endPress();
        if (GetCapture() == m_hwnd)
            ReleaseCapture();
    }

    std::string formatPos() const
    {
        char buf[32];
        if (m_base == 16) {
            std::snprintf(buf, sizeof buf, "0x%04X", static_cast<unsigned>(m_pos) & 0xFFFFu);
            return buf;
        }
        std::snprintf(buf, sizeof buf, "%d", m_pos);
        if (style() & UDS_NOTHOUSANDS)
            return buf;
        const char* digits = buf[0] == '-' ? buf + 1 : buf;
        std::string out(buf[0] == '-' ? "-" : "");
        size_t n = std::char_traits<char>::length(digits);
        for (size_t k = 0; k < n; ++k) {
            if (k && (n - k) % 3 == 0)
                out.push_back(',');
            out.push_back(digits[k]);
        }
        return out;
    }
    void updateBuddyText()
    {
        if (m_buddy && IsWindow(m_buddy) && (style() & UDS_SETBUDDYINT))
            SetWindowTextA(m_buddy, formatPos().c_str());
    }
    // Takes the position from the buddy's text; false when it holds no number in range.
    bool readBuddy()
    {
        if (!m_buddy || !IsWindow(m_buddy) || !(style() & UDS_SETBUDDYINT))
            return true;
        char buf[64] = {};
        GetWindowTextA(m_buddy, buf, sizeof buf);
        std::string digits;
        for (const char* p = buf; *p; ++p)
            if (*p != ',' && *p != ' ')
                digits += *p;
        if (digits.empty())
            return false;
        char* end = nullptr;
        long v = std::strtol(digits.c_str(), &end, m_base == 16 ? 16 : 10);
        if (!end || *end)
            return false;
        int lo = std::min(m_lower, m_upper), hi = std::max(m_lower, m_upper);
        if (v < lo || v > hi)
            return false;
        m_pos = static_cast<int>(v);
        return true;
    }

    void setBuddy(HWND buddy)
    {
        releaseBuddy();
        if (!buddy || !IsWindow(buddy) || buddy == m_hwnd)
            return;
        m_buddy = buddy;
        SetPropA(buddy, kBuddyOwnerProp, m_hwnd);
        auto old = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(buddy, GWLP_WNDPROC));
        if (old != buddyProc) {
            SetPropA(buddy, kBuddyProcProp, reinterpret_cast<HANDLE>(old));
            SetWindowLongPtrA(buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(buddyProc));
        }
        align();
        updateBuddyText();
    }
    void releaseBuddy()
    {
        if (!m_buddy || !IsWindow(m_buddy)) {
            m_buddy = nullptr;
            return;
        }
        auto old = reinterpret_cast<WNDPROC>(GetPropA(m_buddy, kBuddyProcProp));
        if (old && reinterpret_cast<WNDPROC>(GetWindowLongPtrA(m_buddy, GWLP_WNDPROC)) == buddyProc)
            SetWindowLongPtrA(m_buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        RemovePropA(m_buddy, kBuddyProcProp);
        RemovePropA(m_buddy, kBuddyOwnerProp);
        m_buddy = nullptr;
    }
    // UDS_ALIGNRIGHT/LEFT: the up-down sits inside the buddy's edge and the buddy gives up that room.
    void align()
    {
        DWORD st = style();
        if (!(st & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)))
            return;
        HWND parent = GetParent(m_hwnd);
        RECT b;
        GetWindowRect(m_buddy, &b);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&b), 2);
        RECT me;
        GetWindowRect(m_hwnd, &me);
        int w = me.right - me.left;
        if (w <= 0)
            w = GetSystemMetrics(SM_CXVSCROLL);
        int h = b.bottom - b.top;
        if (st & UDS_ALIGNRIGHT) {
            SetWindowPos(m_buddy, nullptr, b.left, b.top, std::max<LONG>(0, b.right - b.left - w + 2), h,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            SetWindowPos(m_hwnd, nullptr, b.right - w, b.top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
        } else {
            SetWindowPos(m_buddy, nullptr, b.left + w - 2, b.top, std::max<LONG>(0, b.right - b.left - w + 2), h,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            SetWindowPos(m_hwnd, nullptr, b.left, b.top, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    void paint()
    {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hwnd, &ps);
        RECT up, down;
        halves(up, down);
        UINT inactive = IsWindowEnabled(m_hwnd) ? 0 : DFCS_INACTIVE;
        UINT upState = (horizontal() ? DFCS_SCROLLRIGHT : DFCS_SCROLLUP) | inactive;
        UINT downState = (horizontal() ? DFCS_SCROLLLEFT : DFCS_SCROLLDOWN) | inactive;
        if (m_pressed > 0 && m_over)
            upState |= DFCS_PUSHED;
        if (m_pressed < 0 && m_over)
            downState |= DFCS_PUSHED;
        DrawFrameControl(dc, &up, DFC_SCROLL, upState);
        DrawFrameControl(dc, &down, DFC_SCROLL, downState);
        EndPaint(m_hwnd, &ps);
    }

    HWND m_hwnd;
    HWND m_buddy = nullptr;
    int m_lower = 100, m_upper = 0, m_pos = 0; // Win32's default range runs from 100 down to 0
    int m_base = 10;
    std::vector<UDACCEL> m_accel{{0, 1}, {2, 5}, {5, 20}};
    int m_pressed = 0; // 1 up half, -1 down half
    bool m_over = false, m_firstTick = false;
    UINT m_held = 0; // ms the half has been held
};

LRESULT CALLBACK buddyProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto old = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kBuddyProcProp));
    HWND owner = static_cast<HWND>(GetPropA(hwnd, kBuddyOwnerProp));
    if (msg == WM_KEYDOWN && owner) {
        if (UpDown* ud = stateOf<UpDown>(owner); ud && ud->key(static_cast<UINT>(wp)))
            return 0;
    }
    if (msg == WM_NCDESTROY) {
        if (UpDown* ud = owner ? stateOf<UpDown>(owner) : nullptr)
            ud->buddyGone();
        if (old)
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        RemovePropA(hwnd, kBuddyProcProp);
        RemovePropA(hwnd, kBuddyOwnerProp);
    }
    return old ? CallWindowProcA(old, hwnd, msg, wp, lp) : DefWindowProcA(hwnd, msg, wp, lp);
}

} // namespace

void registerUpDown()
{
    registerControlClass(UPDOWN_CLASSA, controlProc<UpDown>, 0);
}

} // namespace vk::comctl
