// "tooltips_class32": a pop-up that shows a tool's text after the mouse has
// rested on the tool for the initial delay, and hides when it leaves or clicks.
// TTF_SUBCLASS tools are watched through the window manager's message spy, so
// the tool window's own procedure (and any skin subclassing it) stays untouched.
#include "controls/common/control_base.h"
#include "user/window.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace vk::comctl {
namespace {

constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kPopTimer = 2;
constexpr UINT_PTR kLeaveTimer = 3;
constexpr UINT kDefaultInitial = 500;
constexpr UINT kLeavePoll = 100;
constexpr int kMargin = 3;

struct Tool {
    UINT flags = 0;
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    RECT rect{};
    HINSTANCE hinst = nullptr;
    std::string text;
    bool callback = false;
    LPARAM lParam = 0;
};

class Tooltip;
std::set<Tooltip*>& liveTips()
{
    static std::set<Tooltip*> s;
    return s;
}
void watchMouse();

class Tooltip {
public:
    Tooltip(HWND hwnd, const CREATESTRUCTA&) : m_hwnd(hwnd)
    {
        liveTips().insert(this);
        watchMouse();
    }
    ~Tooltip() { liveTips().erase(this); }

    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp)
    {
        switch (msg) {
        case WM_CREATE: {
            // A tooltip is always a top-most tool window pop-up, whatever it was created with.
            LONG st = GetWindowLongA(m_hwnd, GWL_STYLE);
            SetWindowLongA(m_hwnd, GWL_STYLE, static_cast<LONG>((st & ~(WS_CHILD | WS_CAPTION | WS_THICKFRAME | WS_VISIBLE)) | WS_POPUP));
            SetWindowLongA(m_hwnd, GWL_EXSTYLE, GetWindowLongA(m_hwnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
            return 0;
        }
        case TTM_ADDTOOLA: {
            auto* ti = reinterpret_cast<const TTTOOLINFOA*>(lp);
            if (!validInfo(ti))
                return FALSE;
            Tool t;
            copyIn(t, *ti);
            m_tools.push_back(t);
            return TRUE;
        }
        case TTM_DELTOOLA: {
            auto* ti = reinterpret_cast<const TTTOOLINFOA*>(lp);
            int i = validInfo(ti) ? find(*ti) : -1;
            if (i >= 0) {
                if (i == m_current)
                    hide();
                m_tools.erase(m_tools.begin() + i);
                if (m_current > i)
                    --m_current;
            }
            return 0;
        }
        case TTM_NEWTOOLRECTA: {
            auto* ti = reinterpret_cast<const TTTOOLINFOA*>(lp);
            int i = validInfo(ti) ? find(*ti) : -1;
            if (i >= 0)
                m_tools[static_cast<size_t>(i)].rect = ti->rect;
            return 0;
        }
        case TTM_UPDATETIPTEXTA: {
            auto* ti = reinterpret_cast<const TTTOOLINFOA*>(lp);
            int i = validInfo(ti) ? find(*ti) : -1;
            if (i >= 0) {
                Tool& t = m_tools[static_cast<size_t>(i)];
                setText(t, ti->lpszText);
                if (i == m_current && m_shown)
                    showNow();
            }
            return 0;
        }
        case TTM_GETTEXTA: {
            auto* ti = reinterpret_cast<TTTOOLINFOA*>(lp);
            int i = validInfo(ti) ? find(*ti) : -1;
            if (i < 0 || !ti->lpszText)
                return 0;
            std::string t = textOf(i);
            // Without a size in wParam the buffer is taken to hold 80 characters, as Win32 assumes.
            size_t room = wp ? wp : 80;
            size_t n = std::min(t.size(), room - 1);
            std::memcpy(ti->lpszText, t.data(), n);
            ti->lpszText[n] = 0;
            return static_cast<LRESULT>(n);
        }
        case TTM_GETTOOLINFOA:
        case TTM_GETCURRENTTOOLA: {
            auto* ti = reinterpret_cast<TTTOOLINFOA*>(lp);
            int i = msg == TTM_GETCURRENTTOOLA ? (m_shown ? m_current : -1) : (validInfo(ti) ? find(*ti) : -1);
            if (i < 0)
                return FALSE;
            if (ti && ti->cbSize >= TTTOOLINFOA_V1_SIZE)
                copyOut(m_tools[static_cast<size_t>(i)], *ti);
            return TRUE;
        }
        case TTM_SETTOOLINFOA: {
            auto* ti = reinterpret_cast<const TTTOOLINFOA*>(lp);
            int i = validInfo(ti) ? find(*ti) : -1;
            if (i >= 0)
                copyIn(m_tools[static_cast<size_t>(i)], *ti);
            return 0;
        }
        case TTM_HITTESTA: {
            auto* ht = reinterpret_cast<TTHITTESTINFOA*>(lp);
            if (!ht)
                return FALSE;
            int i = toolAt(ht->hwnd, ht->pt);
            if (i < 0)
                return FALSE;
            if (ht->ti.cbSize >= TTTOOLINFOA_V1_SIZE)
                copyOut(m_tools[static_cast<size_t>(i)], ht->ti);
            return TRUE;
        }
        case TTM_GETTOOLCOUNT:
            return static_cast<LRESULT>(m_tools.size());
        case TTM_ENUMTOOLSA: {
            auto* ti = reinterpret_cast<TTTOOLINFOA*>(lp);
            if (wp >= m_tools.size() || !ti || ti->cbSize < TTTOOLINFOA_V1_SIZE)
                return FALSE;
            copyOut(m_tools[wp], *ti);
            return TRUE;
        }
        case TTM_ACTIVATE:
            m_active = wp != 0;
            if (!m_active)
                hide();
            return 0;
        case TTM_POP:
            hide();
            return 0;
        case TTM_POPUP:
            if (m_current >= 0)
                showNow();
            return 0;
        case TTM_SETDELAYTIME: {
            int ms = static_cast<short>(LOWORD(lp));
            UINT v = ms < 0 ? kDefaultInitial : static_cast<UINT>(ms);
            switch (wp) {
            case TTDT_AUTOMATIC:
                m_initial = v;
                m_autopop = v * 10;
                m_reshow = v / 5;
                break;
            case TTDT_INITIAL:
                m_initial = v;
                break;
            case TTDT_AUTOPOP:
                m_autopop = ms < 0 ? kDefaultInitial * 10 : v;
                break;
            case TTDT_RESHOW:
                m_reshow = ms < 0 ? kDefaultInitial / 5 : v;
                break;
            }
            return 0;
        }
        case TTM_GETDELAYTIME:
            return wp == TTDT_INITIAL || wp == TTDT_AUTOMATIC ? m_initial : wp == TTDT_AUTOPOP ? m_autopop : m_reshow;
        case TTM_SETMAXTIPWIDTH: {
            int old = m_maxWidth;
            m_maxWidth = static_cast<int>(lp);
            return old;
        }
        case TTM_GETMAXTIPWIDTH:
            return m_maxWidth;
        case TTM_SETTIPBKCOLOR:
            m_bk = static_cast<COLORREF>(wp);
            InvalidateRect(m_hwnd, nullptr, TRUE);
            return 0;
        case TTM_SETTIPTEXTCOLOR:
            m_fg = static_cast<COLORREF>(wp);
            InvalidateRect(m_hwnd, nullptr, TRUE);
            return 0;
        case TTM_GETTIPBKCOLOR:
            return m_bk;
        case TTM_GETTIPTEXTCOLOR:
            return m_fg;
        case TTM_RELAYEVENT:
            if (auto* m = reinterpret_cast<const MSG*>(lp))
                relay(m->hwnd, m->message, m->lParam);
            return 0;
        case TTM_TRACKACTIVATE: {
            auto* ti = reinterpret_cast<const TTTOOLINFOA*>(lp);
            int i = validInfo(ti) ? find(*ti) : -1;
            if (wp && i >= 0) {
                m_current = i;
                m_tracking = true;
                showNow();
            } else if (!wp) {
                m_tracking = false;
                hide();
            }
            return 0;
        }
        case TTM_TRACKPOSITION:
            m_trackPos = POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            if (m_tracking && m_shown)
                place();
            return 0;
        case TTM_UPDATE:
            if (m_shown)
                showNow();
            return 0;
        case WM_TIMER:
            timer(wp);
            return 0;
        case WM_SETFONT:
            m_font.font = reinterpret_cast<HFONT>(wp);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(m_font.font);
        case WM_NCHITTEST:
            return HTTRANSPARENT;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint();
            return 0;
        }
        return DefWindowProcA(m_hwnd, msg, wp, lp);
    }

    // Mouse messages of every window pass here; only tools' windows matter.
    void observe(HWND hwnd, UINT msg, LPARAM lp)
    {
        bool subclassed = false;
        for (const Tool& t : m_tools)
            if ((t.flags & TTF_SUBCLASS) && (((t.flags & TTF_IDISHWND) && reinterpret_cast<HWND>(t.id) == hwnd) || t.hwnd == hwnd))
                subclassed = true;
        if (subclassed)
            relay(hwnd, msg, lp);
        else if (msg == WM_MOUSEMOVE && m_current >= 0)
            leaveTool(); // the mouse moved over some other window
    }

    HWND hwnd() const { return m_hwnd; }

private:
    static bool validInfo(const TTTOOLINFOA* ti) { return ti && ti->cbSize >= TTTOOLINFOA_V1_SIZE && ti->cbSize <= 4096; }

    void setText(Tool& t, LPCSTR text)
    {
        t.callback = text == LPSTR_TEXTCALLBACKA;
        // Small values are resource ids; without string resources they show nothing.
        t.text = (!t.callback && reinterpret_cast<UINT_PTR>(text) >= 0x10000) ? text : "";
    }
    void copyIn(Tool& t, const TTTOOLINFOA& ti)
    {
        t.flags = ti.uFlags;
        t.hwnd = ti.hwnd;
        t.id = ti.uId;
        t.rect = ti.rect;
        t.hinst = ti.hinst;
        setText(t, ti.lpszText);
        if (ti.cbSize >= TTTOOLINFOA_V2_SIZE)
            t.lParam = ti.lParam;
    }
    void copyOut(const Tool& t, TTTOOLINFOA& ti) const
    {
        ti.uFlags = t.flags;
        ti.hwnd = t.hwnd;
        ti.uId = t.id;
        ti.rect = t.rect;
        ti.hinst = t.hinst;
        if (t.callback)
            ti.lpszText = LPSTR_TEXTCALLBACKA;
        if (ti.cbSize >= TTTOOLINFOA_V2_SIZE)
            ti.lParam = t.lParam;
    }
    int find(const TTTOOLINFOA& ti) const
    {
        for (size_t k = 0; k < m_tools.size(); ++k)
            if (m_tools[k].hwnd == ti.hwnd && m_tools[k].id == ti.uId)
                return static_cast<int>(k);
        return -1;
    }
    int toolAt(HWND hwnd, POINT client) const
    {
        for (size_t k = 0; k < m_tools.size(); ++k) {
            const Tool& t = m_tools[k];
            if (t.flags & TTF_IDISHWND) {
                if (reinterpret_cast<HWND>(t.id) == hwnd)
                    return static_cast<int>(k);
            } else if (t.hwnd == hwnd && PtInRect(&t.rect, client)) {
                return static_cast<int>(k);
            }
        }
        return -1;
    }

    bool toolWindowActive(const Tool& t) const
    {
        if (GetWindowLongA(m_hwnd, GWL_STYLE) & TTS_ALWAYSTIP)
            return true;
        HWND w = (t.flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(t.id) : t.hwnd;
        HWND active = GetActiveWindow();
        return active && (GetAncestor(w, GA_ROOT) == active || GetAncestor(active, GA_ROOT) == GetAncestor(w, GA_ROOT));
    }

    void relay(HWND hwnd, UINT msg, LPARAM lp)
    {
        if (m_tracking)
            return;
        switch (msg) {
        case WM_MOUSEMOVE: {
            int i = toolAt(hwnd, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            if (i == m_current)
                return;
            bool wasShown = m_shown;
            hide();
            m_current = i;
            m_suppressed = false;
            if (i < 0 || !m_active || !toolWindowActive(m_tools[static_cast<size_t>(i)]))
                return;
            // Moving from one shown tip to the next tool shows the next one after the shorter reshow delay.
            SetTimer(m_hwnd, kShowTimer, wasShown ? m_reshow : m_initial, nullptr);
            SetTimer(m_hwnd, kLeaveTimer, kLeavePoll, nullptr);
            return;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            if (m_current >= 0) {
                hide();
                m_suppressed = true; // stays hidden until the mouse leaves the tool
            }
            return;
        case WM_MOUSELEAVE:
            leaveTool();
            return;
        }
    }

    void leaveTool()
    {
        hide();
        m_current = -1;
        m_suppressed = false;
    }

    void timer(WPARAM id)
    {
        if (id == kShowTimer) {
            KillTimer(m_hwnd, kShowTimer);
            if (m_current >= 0 && !m_suppressed && m_active)
                showNow();
        } else if (id == kPopTimer) {
            KillTimer(m_hwnd, kPopTimer);
            hide();
            m_suppressed = true;
        } else if (id == kLeaveTimer) {
            // The cursor may leave for a place that sends no message (another program, the desktop).
            if (m_current < 0 || m_tracking) {
                KillTimer(m_hwnd, kLeaveTimer);
                return;
            }
            POINT pt;
            GetCursorPos(&pt);
            const Tool& t = m_tools[static_cast<size_t>(m_current)];
            HWND w = (t.flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(t.id) : t.hwnd;
            POINT client = pt;
            ScreenToClient(w, &client);
            RECT wr{};
            GetWindowRect(w, &wr);
            bool inside = IsWindowVisible(w) && PtInRect(&wr, pt) && ((t.flags & TTF_IDISHWND) || PtInRect(&t.rect, client));
            if (!inside) {
                KillTimer(m_hwnd, kLeaveTimer);
                leaveTool();
            }
        }
    }

    std::string textOf(int i)
    {
        Tool& t = m_tools[static_cast<size_t>(i)];
        if (!t.callback)
            return t.text;
        NMTTDISPINFOA di{};
        di.hdr.hwndFrom = m_hwnd;
        di.hdr.idFrom = t.id;
        di.hdr.code = TTN_GETDISPINFOA;
        di.uFlags = t.flags;
        di.lParam = t.lParam;
        HWND target = t.hwnd;
        if (target)
            SendMessageA(target, WM_NOTIFY, t.id, reinterpret_cast<LPARAM>(&di));
        std::string text;
        if (di.lpszText && di.lpszText != LPSTR_TEXTCALLBACKA && reinterpret_cast<UINT_PTR>(di.lpszText) >= 0x10000)
            text = di.lpszText;
        else
            text.assign(di.szText, strnlen(di.szText, sizeof di.szText));
        if ((di.uFlags & TTF_DI_SETITEM) && i < static_cast<int>(m_tools.size())) {
            m_tools[static_cast<size_t>(i)].text = text;
            m_tools[static_cast<size_t>(i)].callback = false;
        }
        return text;
    }

    UINT drawFormat() const
    {
        UINT fmt = DT_LEFT | DT_NOCLIP;
        fmt |= (GetWindowLongA(m_hwnd, GWL_STYLE) & TTS_NOPREFIX) ? DT_NOPREFIX : DT_HIDEPREFIX;
        fmt |= m_maxWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE;
        return fmt;
    }

    void showNow()
    {
        if (m_current < 0 || m_current >= static_cast<int>(m_tools.size()))
            return;
        m_text = textOf(m_current);
        if (m_current < 0)
            return;
        if (m_text.empty()) {
            hide();
            return;
        }
        bool first = !m_shown;
        m_shown = true;
        place();
        InvalidateRect(m_hwnd, nullptr, TRUE);
        if (first) {
            NMHDR nm{};
            nm.hwndFrom = m_hwnd;
            nm.idFrom = m_tools[static_cast<size_t>(m_current)].id;
            nm.code = TTN_SHOW;
            if (HWND to = m_tools[static_cast<size_t>(m_current)].hwnd)
                SendMessageA(to, WM_NOTIFY, nm.idFrom, reinterpret_cast<LPARAM>(&nm));
        }
        if (!m_tracking)
            SetTimer(m_hwnd, kPopTimer, m_autopop, nullptr);
    }

    void place()
    {
        HDC dc = GetDC(m_hwnd);
        HGDIOBJ old = SelectObject(dc, m_font.get());
        RECT tr{0, 0, m_maxWidth > 0 ? m_maxWidth : 10000, 0};
        DrawTextA(dc, m_text.c_str(), static_cast<int>(m_text.size()), &tr, drawFormat() | DT_CALCRECT);
        SelectObject(dc, old);
        ReleaseDC(m_hwnd, dc);
        int w = tr.right - tr.left + 2 * kMargin + 2;
        int h = tr.bottom - tr.top + 2 * kMargin;
        POINT at;
        if (m_tracking) {
            at = m_trackPos;
        } else {
            GetCursorPos(&at);
            at.y += GetSystemMetrics(SM_CYCURSOR) * 2 / 3; // below the arrow's tip
        }
        RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        at.x = std::max<LONG>(work.left, std::min<LONG>(at.x, work.right - w));
        if (at.y + h > work.bottom)
            at.y = std::max<LONG>(work.top, at.y - h - GetSystemMetrics(SM_CYCURSOR));
        SetWindowPos(m_hwnd, HWND_TOPMOST, at.x, at.y, w, h, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }

    void hide()
    {
        KillTimer(m_hwnd, kShowTimer);
        KillTimer(m_hwnd, kPopTimer);
        if (!m_shown)
            return;
        m_shown = false;
        ShowWindow(m_hwnd, SW_HIDE);
        if (m_current >= 0 && m_current < static_cast<int>(m_tools.size())) {
            NMHDR nm{};
            nm.hwndFrom = m_hwnd;
            nm.idFrom = m_tools[static_cast<size_t>(m_current)].id;
            nm.code = TTN_POP;
            if (HWND to = m_tools[static_cast<size_t>(m_current)].hwnd)
                SendMessageA(to, WM_NOTIFY, nm.idFrom, reinterpret_cast<LPARAM>(&nm));
        }
    }

    void paint()
    {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hwnd, &ps);
        RECT rc;
        GetClientRect(m_hwnd, &rc);
        HBRUSH bk = CreateSolidBrush(m_bk);
        FillRect(dc, &rc, bk);
        DeleteObject(bk);
        HBRUSH frame = CreateSolidBrush(m_fg);
        FrameRect(dc, &rc, frame);
        DeleteObject(frame);
        RECT tr = rc;
        InflateRect(&tr, -kMargin, -kMargin);
        tr.left += 1;
        drawText(dc, m_font.get(), m_text, tr, drawFormat(), m_fg);
        EndPaint(m_hwnd, &ps);
    }

    HWND m_hwnd;
    std::vector<Tool> m_tools;
    int m_current = -1;
    bool m_shown = false, m_active = true, m_suppressed = false, m_tracking = false;
    POINT m_trackPos{0, 0};
    UINT m_initial = kDefaultInitial, m_autopop = kDefaultInitial * 10, m_reshow = kDefaultInitial / 5;
    int m_maxWidth = -1;
    COLORREF m_bk = GetSysColor(COLOR_INFOBK), m_fg = GetSysColor(COLOR_INFOTEXT);
    std::string m_text;
    FontHolder m_font;
};

void watchMouse()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    vk::user::addSpy([](HWND hwnd, UINT msg, WPARAM, LPARAM lp) {
        if (msg != WM_MOUSEMOVE && msg != WM_MOUSELEAVE && (msg < WM_LBUTTONDOWN || msg > WM_MBUTTONUP))
            return;
        if (liveTips().empty())
            return;
        std::vector<HWND> tips;
        for (Tooltip* t : liveTips())
            tips.push_back(t->hwnd());
        // A tooltip may go away while another one reacts; look each one up again.
        for (HWND tip : tips)
            if (Tooltip* t = IsWindow(tip) ? stateOf<Tooltip>(tip) : nullptr)
                if (liveTips().count(t))
                    t->observe(hwnd, msg, lp);
    });
}

} // namespace

void registerTooltips()
{
    registerControlClass(TOOLTIPS_CLASSA, controlProc<Tooltip>, CS_SAVEBITS);
}

} // namespace vk::comctl
