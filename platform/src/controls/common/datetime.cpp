// "SysDateTimePick32": a SYSTEMTIME shown through a format of fields, edited
// field by field from the keyboard, with a drop-down month calendar of its
// own (or an up-down with DTS_UPDOWN) and an optional "no date" check box.
#include "controls/common/control_base.h"
#include "controls/common/datetime_calendar.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace vk::comctl {
namespace {

constexpr int kButtonWidth = 17;
constexpr int kCheckSize = 13;
constexpr int kEdge = 2;
constexpr int kUpDownId = 1;

// Formats the styles choose (the simplified-Chinese defaults).
constexpr char kShortDate[] = "yyyy/M/d";
constexpr char kLongDate[] = "yyyy'年'M'月'd'日'";
constexpr char kTime[] = "H:mm:ss";

enum class Kind { Literal, Year, Year2, Month, MonthName, Day, DayName, Hour24, Hour12, Minute, Second, AmPm };

struct Token {
    Kind kind = Kind::Literal;
    int width = 1; // letters in the pattern: padding or the long name
    std::string text; // literal text
};

bool editable(Kind k) { return k != Kind::Literal && k != Kind::DayName; }

std::vector<Token> parseFormat(const std::string& f)
{
    std::vector<Token> out;
    auto literal = [&](const std::string& s) {
        if (!out.empty() && out.back().kind == Kind::Literal)
            out.back().text += s;
        else
            out.push_back(Token{Kind::Literal, 1, s});
    };
    for (size_t i = 0; i < f.size();) {
        char c = f[i];
        if (c == '\'') {
            // Quoted text; a doubled quote, inside or outside, is one quote.
            std::string text;
            size_t j = i + 1;
            if (j < f.size() && f[j] == '\'') {
                literal("'");
                i += 2;
                continue;
            }
            while (j < f.size()) {
                if (f[j] == '\'' && j + 1 < f.size() && f[j + 1] == '\'') {
                    text += '\'';
                    j += 2;
                } else if (f[j] == '\'') {
                    ++j;
                    break;
                } else {
                    text += f[j++];
                }
            }
            literal(text);
            i = j;
            continue;
        }
        size_t n = 1;
        while (i + n < f.size() && f[i + n] == c)
            ++n;
        int w = int(n);
        switch (c) {
        case 'y': out.push_back(Token{w >= 3 ? Kind::Year : Kind::Year2, w, {}}); break;
        case 'M': out.push_back(Token{w >= 3 ? Kind::MonthName : Kind::Month, w, {}}); break;
        case 'd': out.push_back(Token{w >= 3 ? Kind::DayName : Kind::Day, w, {}}); break;
        case 'H': out.push_back(Token{Kind::Hour24, w, {}}); break;
        case 'h': out.push_back(Token{Kind::Hour12, w, {}}); break;
        case 'm': out.push_back(Token{Kind::Minute, w, {}}); break;
        case 's': out.push_back(Token{Kind::Second, w, {}}); break;
        case 't': out.push_back(Token{Kind::AmPm, w, {}}); break;
        default: literal(f.substr(i, n)); break;
        }
        i += n;
    }
    return out;
}

std::string number(int v, int width)
{
    char buf[16];
    snprintf(buf, sizeof buf, "%0*d", std::max(1, std::min(width, 4)), v);
    return buf;
}

std::string tokenText(const Token& t, const SYSTEMTIME& st)
{
    static const char* const days[] = {"日", "一", "二", "三", "四", "五", "六"};
    switch (t.kind) {
    case Kind::Literal: return t.text;
    case Kind::Year: return number(st.wYear, 4);
    case Kind::Year2: return number(st.wYear % 100, t.width);
    case Kind::Month: return number(st.wMonth, t.width);
    case Kind::MonthName: return std::to_string(st.wMonth) + "月";
    case Kind::Day: return number(st.wDay, t.width);
    case Kind::DayName: return std::string(t.width >= 4 ? "星期" : "周") + days[st.wDayOfWeek % 7];
    case Kind::Hour24: return number(st.wHour, t.width);
    case Kind::Hour12: return number(st.wHour % 12 == 0 ? 12 : st.wHour % 12, t.width);
    case Kind::Minute: return number(st.wMinute, t.width);
    case Kind::Second: return number(st.wSecond, t.width);
    case Kind::AmPm: return st.wHour < 12 ? "上午" : "下午";
    }
    return {};
}

// Orders two times by their date and clock fields (not the day of the week).
long long timeKey(const SYSTEMTIME& st)
{
    return ((((static_cast<long long>(st.wYear) * 13 + st.wMonth) * 32 + st.wDay) * 24 + st.wHour) * 60 + st.wMinute) *
               60 +
           st.wSecond;
}

void clampToRange(SYSTEMTIME& st, bool hasMin, const SYSTEMTIME& lo, bool hasMax, const SYSTEMTIME& hi)
{
    if (hasMin && timeKey(st) < timeKey(lo))
        st = lo;
    if (hasMax && timeKey(st) > timeKey(hi))
        st = hi;
    st.wDayOfWeek = WORD(dayOfWeek(st.wYear, st.wMonth, st.wDay));
}

class DateTime {
public:
    DateTime(HWND hwnd, const CREATESTRUCTA& cs) : m_hwnd(hwnd)
    {
        GetLocalTime(&m_time);
        m_time.wMilliseconds = 0;
        m_style = cs.style;
        m_tokens = parseFormat(defaultFormat());
        m_field = firstField();
    }
    ~DateTime() { closeCalendar(false); }

    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp)
    {
        switch (msg) {
        case WM_CREATE:
            if (style() & DTS_UPDOWN) {
                RECT b = buttonRect();
                m_upDown = CreateWindowExA(0, UPDOWN_CLASSA, nullptr, WS_CHILD | WS_VISIBLE, b.left, b.top,
                                           b.right - b.left, b.bottom - b.top, m_hwnd,
                                           reinterpret_cast<HMENU>(INT_PTR(kUpDownId)), nullptr, nullptr);
                SendMessageA(m_upDown, UDM_SETRANGE32, 0, 100);
                SendMessageA(m_upDown, UDM_SETPOS32, 0, 50);
            }
            return 0;
        case WM_DESTROY:
            closeCalendar(false);
            return 0;
        case WM_SIZE:
            if (m_upDown) {
                RECT b = buttonRect();
                SetWindowPos(m_upDown, nullptr, b.left, b.top, b.right - b.left, b.bottom - b.top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
            }
            return 0;
        case WM_STYLECHANGED:
            m_style = DWORD(GetWindowLongA(m_hwnd, GWL_STYLE));
            if (m_format.empty())
                setTokens(defaultFormat());
            return 0;
        case DTM_GETSYSTEMTIME: {
            auto* out = userPointer<SYSTEMTIME>(UINT_PTR(lp));
            if (!out)
                return GDT_ERROR;
            if (m_none)
                return GDT_NONE;
            *out = m_time;
            return GDT_VALID;
        }
        case DTM_SETSYSTEMTIME:
            return setSystemTime(DWORD(wp), userPointer<const SYSTEMTIME>(UINT_PTR(lp)));
        case DTM_GETRANGE: {
            auto* out = userPointer<SYSTEMTIME>(UINT_PTR(lp));
            if (!out)
                return 0;
            out[0] = m_hasMin ? m_min : SYSTEMTIME{};
            out[1] = m_hasMax ? m_max : SYSTEMTIME{};
            return (m_hasMin ? GDTR_MIN : 0) | (m_hasMax ? GDTR_MAX : 0);
        }
        case DTM_SETRANGE: {
            auto* in = userPointer<const SYSTEMTIME>(UINT_PTR(lp));
            if ((wp & (GDTR_MIN | GDTR_MAX)) && !in)
                return FALSE;
            if (((wp & GDTR_MIN) && !validTime(in[0])) || ((wp & GDTR_MAX) && !validTime(in[1])))
                return FALSE;
            m_hasMin = (wp & GDTR_MIN) != 0;
            m_hasMax = (wp & GDTR_MAX) != 0;
            if (m_hasMin)
                m_min = in[0];
            if (m_hasMax)
                m_max = in[1];
            clampToRange(m_time, m_hasMin, m_min, m_hasMax, m_max);
            InvalidateRect(m_hwnd, nullptr, FALSE);
            return TRUE;
        }
        case DTM_SETFORMATA: {
            const char* f = userPointer<const char>(UINT_PTR(lp));
            m_format = f ? f : "";
            setTokens(m_format.empty() ? defaultFormat() : m_format);
            return TRUE;
        }
        case DTM_GETMONTHCAL:
            return reinterpret_cast<LRESULT>(m_calendar);
        case DTM_CLOSEMONTHCAL:
            closeCalendar(true);
            return 0;
        case DTM_SETMCCOLOR:
        case DTM_GETMCCOLOR:
            return 0;
        case DTM_SETMCFONT:
        case DTM_GETMCFONT:
            return msg == DTM_GETMCFONT ? reinterpret_cast<LRESULT>(m_font.font) : 0;
        case DTM_GETDATETIMEPICKERINFO: {
            auto* info = userPointer<DATETIMEPICKERINFO>(UINT_PTR(lp));
            if (!info || info->cbSize != sizeof(DATETIMEPICKERINFO))
                return 0;
            info->rcCheck = checkRect();
            info->stateCheck = (style() & DTS_SHOWNONE) ? (m_none ? 0 : STATE_SYSTEM_CHECKED) : STATE_SYSTEM_INVISIBLE;
            info->rcButton = buttonRect();
            info->stateButton = (style() & DTS_UPDOWN) ? STATE_SYSTEM_INVISIBLE : (m_calendar ? STATE_SYSTEM_PRESSED : 0);
            info->hwndEdit = nullptr;
            info->hwndUD = m_upDown;
            info->hwndDropDown = m_calendar;
            return 0;
        }
        case WM_GETTEXT: {
            std::string t = shownText();
            auto* out = userPointer<char>(UINT_PTR(lp));
            if (!out || wp == 0)
                return 0;
            size_t n = std::min<size_t>(t.size(), wp - 1);
            memcpy(out, t.data(), n);
            out[n] = 0;
            return LRESULT(n);
        }
        case WM_GETTEXTLENGTH:
            return LRESULT(shownText().size());
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            m_focused = msg == WM_SETFOCUS;
            commitTyping();
            if (!m_focused)
                closeCalendar(true);
            InvalidateRect(m_hwnd, nullptr, FALSE);
            return 0;
        case WM_ENABLE:
            InvalidateRect(m_hwnd, nullptr, FALSE);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            mouseDown(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (keyDown(wp, msg == WM_SYSKEYDOWN || (lp & (1 << 29))))
                return 0;
            return DefWindowProcA(m_hwnd, msg, wp, lp);
        case WM_CHAR:
            typed(wp);
            return 0;
        case WM_NOTIFY: {
            auto* hdr = userPointer<NMHDR>(UINT_PTR(lp));
            if (hdr && hdr->hwndFrom == m_upDown && hdr->code == UDN_DELTAPOS) {
                const auto* ud = reinterpret_cast<NMUPDOWN*>(hdr);
                if (GetFocus() != m_hwnd)
                    SetFocus(m_hwnd);
                step(ud->iDelta > 0 ? 1 : -1);
                return 1; // the up-down keeps its own position
            }
            return 0;
        }
        case WM_SETFONT:
            m_font.font = reinterpret_cast<HFONT>(wp);
            if (LOWORD(lp))
                InvalidateRect(m_hwnd, nullptr, FALSE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(m_font.font);
        case WM_ERASEBKGND:
            return 1;
        case WM_PRINTCLIENT:
            if (wp)
                paint(reinterpret_cast<HDC>(wp));
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = wp ? reinterpret_cast<HDC>(wp) : BeginPaint(m_hwnd, &ps);
            if (dc)
                paint(dc);
            if (!wp)
                EndPaint(m_hwnd, &ps);
            return 0;
        }
        }
        return DefWindowProcA(m_hwnd, msg, wp, lp);
    }

    // The calendar chose a day (or was dismissed).
    void calendarDone(const SYSTEMTIME* chosen)
    {
        if (chosen) {
            SYSTEMTIME st = m_time;
            st.wYear = chosen->wYear;
            st.wMonth = chosen->wMonth;
            st.wDay = chosen->wDay;
            change(st, false);
        }
        closeCalendar(true);
    }

private:
    DWORD style() const { return m_style; }

    std::string defaultFormat() const
    {
        // The style bits overlap: time is 0x9 (with the up-down bit), the
        // century short date 0xC (with the long-date bit).
        DWORD s = style();
        if ((s & DTS_TIMEFORMAT) == DTS_TIMEFORMAT)
            return kTime;
        if ((s & DTS_SHORTDATECENTURYFORMAT) == DTS_SHORTDATECENTURYFORMAT)
            return kShortDate;
        if (s & DTS_LONGDATEFORMAT)
            return kLongDate;
        return kShortDate;
    }

    void setTokens(const std::string& f)
    {
        commitTyping();
        m_tokens = parseFormat(f);
        m_field = firstField();
        InvalidateRect(m_hwnd, nullptr, FALSE);
    }

    int firstField() const
    {
        for (size_t i = 0; i < m_tokens.size(); ++i)
            if (editable(m_tokens[i].kind))
                return int(i);
        return -1;
    }

    std::string shownText() const
    {
        std::string t;
        for (const Token& k : m_tokens)
            t += tokenText(k, m_time);
        return t;
    }

    static bool validTime(const SYSTEMTIME& st)
    {
        return st.wYear >= 1601 && st.wYear <= 9999 && st.wMonth >= 1 && st.wMonth <= 12 && st.wDay >= 1 &&
               st.wDay <= daysInMonth(st.wYear, st.wMonth) && st.wHour < 24 && st.wMinute < 60 && st.wSecond < 60;
    }

    LRESULT setSystemTime(DWORD flag, const SYSTEMTIME* st)
    {
        if (flag == GDT_NONE) {
            if (!(style() & DTS_SHOWNONE))
                return FALSE;
            m_none = true;
        } else if (flag == GDT_VALID) {
            if (!st || !validTime(*st))
                return FALSE;
            SYSTEMTIME t = *st;
            t.wMilliseconds = 0;
            clampToRange(t, m_hasMin, m_min, m_hasMax, m_max);
            m_time = t;
            m_none = false;
        } else {
            return FALSE;
        }
        m_typed.clear();
        InvalidateRect(m_hwnd, nullptr, FALSE);
        return TRUE;
    }

    // A change by the user: kept in range, shown and reported when it changed.
    void change(SYSTEMTIME st, bool keepTyping)
    {
        st.wDay = WORD(std::min<int>(st.wDay, daysInMonth(st.wYear, st.wMonth)));
        clampToRange(st, m_hasMin, m_min, m_hasMax, m_max);
        if (!keepTyping)
            m_typed.clear();
        bool wasNone = m_none;
        m_none = false;
        if (timeKey(st) == timeKey(m_time) && !wasNone)
            return;
        m_time = st;
        InvalidateRect(m_hwnd, nullptr, FALSE);
        notifyChange();
    }

    void notifyChange()
    {
        NMDATETIMECHANGE nm{};
        nm.dwFlags = m_none ? GDT_NONE : GDT_VALID;
        nm.st = m_time;
        notifyParent(m_hwnd, DTN_DATETIMECHANGE, &nm.nmhdr);
    }

    static int wrap(int v, int lo, int hi)
    {
        int n = hi - lo + 1;
        return lo + ((v - lo) % n + n) % n;
    }

    void step(int delta)
    {
        if (m_field < 0 || m_none)
            return;
        commitTyping();
        SYSTEMTIME st = m_time;
        switch (m_tokens[size_t(m_field)].kind) {
        case Kind::Year:
        case Kind::Year2: st.wYear = WORD(std::clamp(st.wYear + delta, 1601, 9999)); break;
        case Kind::Month:
        case Kind::MonthName: st.wMonth = WORD(wrap(st.wMonth + delta, 1, 12)); break;
        case Kind::Day: st.wDay = WORD(wrap(st.wDay + delta, 1, daysInMonth(st.wYear, st.wMonth))); break;
        case Kind::Hour24:
        case Kind::Hour12: st.wHour = WORD(wrap(st.wHour + delta, 0, 23)); break;
        case Kind::Minute: st.wMinute = WORD(wrap(st.wMinute + delta, 0, 59)); break;
        case Kind::Second: st.wSecond = WORD(wrap(st.wSecond + delta, 0, 59)); break;
        case Kind::AmPm: st.wHour = WORD((st.wHour + 12) % 24); break;
        default: return;
        }
        change(st, false);
    }

    void moveField(int dir)
    {
        commitTyping();
        for (int i = m_field + dir; i >= 0 && i < int(m_tokens.size()); i += dir)
            if (editable(m_tokens[size_t(i)].kind)) {
                m_field = i;
                InvalidateRect(m_hwnd, nullptr, FALSE);
                return;
            }
    }

    // Digits typed into a field: the value follows them as they come; a digit
    // that would make the value too big starts the number again.
    void typed(WPARAM ch)
    {
        if (ch == ' ' && (style() & DTS_SHOWNONE)) {
            toggleNone();
            return;
        }
        if (m_field < 0 || m_none)
            return;
        if (ch < '0' || ch > '9') {
            if (ch > ' ' && ch < 0x80)
                moveField(1); // a separator moves on
            return;
        }
        Kind k = m_tokens[size_t(m_field)].kind;
        int maxDigits = k == Kind::Year ? 4 : 2;
        int lo = 0, hi = 59;
        switch (k) {
        case Kind::Year: hi = 9999; break;
        case Kind::Year2: hi = 99; break;
        case Kind::Month: case Kind::MonthName: lo = 1; hi = 12; break;
        case Kind::Day: lo = 1; hi = daysInMonth(m_time.wYear, m_time.wMonth); break;
        case Kind::Hour24: hi = 23; break;
        case Kind::Hour12: lo = 1; hi = 12; break;
        case Kind::AmPm: return;
        default: break;
        }
        std::string next = m_typed + char(ch);
        if (int(next.size()) > maxDigits || atoi(next.c_str()) > hi)
            next = std::string(1, char(ch));
        m_typed = next;
        int v = atoi(m_typed.c_str());
        if (k == Kind::Year) {
            if (m_typed.size() == 4 && v >= 1601)
                applyField(k, v);
            return;
        }
        if (v >= lo && v <= hi)
            applyField(k, v);
    }

    // A year typed short of four digits counts when the field is left.
    void commitTyping()
    {
        if (m_typed.empty() || m_field < 0)
            return;
        std::string t = m_typed;
        m_typed.clear();
        Kind k = m_tokens[size_t(m_field)].kind;
        if (k == Kind::Year && t.size() < 4) {
            int v = atoi(t.c_str());
            if (t.size() <= 2)
                applyField(k, v < 30 ? 2000 + v : 1900 + v);
        }
    }

    void applyField(Kind k, int v)
    {
        SYSTEMTIME st = m_time;
        switch (k) {
        case Kind::Year: st.wYear = WORD(v); break;
        case Kind::Year2: st.wYear = WORD(st.wYear / 100 * 100 + v); break;
        case Kind::Month: case Kind::MonthName: st.wMonth = WORD(v); break;
        case Kind::Day: st.wDay = WORD(v); break;
        case Kind::Hour24: st.wHour = WORD(v); break;
        case Kind::Hour12: st.wHour = WORD(v % 12 + (st.wHour >= 12 ? 12 : 0)); break;
        case Kind::Minute: st.wMinute = WORD(v); break;
        case Kind::Second: st.wSecond = WORD(v); break;
        default: return;
        }
        if (st.wYear < 1601)
            return;
        change(st, true);
    }

    void toggleNone()
    {
        m_none = !m_none;
        InvalidateRect(m_hwnd, nullptr, FALSE);
        notifyChange();
    }

    bool keyDown(WPARAM key, bool alt)
    {
        if (m_calendar) {
            if (key == VK_ESCAPE || key == VK_RETURN || key == VK_F4 || (alt && key == VK_UP)) {
                closeCalendar(true);
                return true;
            }
            return false;
        }
        switch (key) {
        case VK_LEFT: moveField(-1); return true;
        case VK_RIGHT: moveField(1); return true;
        case VK_HOME:
            commitTyping();
            m_field = firstField();
            InvalidateRect(m_hwnd, nullptr, FALSE);
            return true;
        case VK_UP:
        case VK_DOWN:
            if (alt && key == VK_DOWN) {
                openCalendar();
                return true;
            }
            step(key == VK_UP ? 1 : -1);
            return true;
        case VK_F4:
            if (alt)
                return false;
            openCalendar();
            return true;
        default: return false;
        }
    }

    RECT checkRect() const
    {
        if (!(style() & DTS_SHOWNONE))
            return RECT{0, 0, 0, 0};
        RECT rc;
        GetClientRect(m_hwnd, &rc);
        int y = (rc.bottom - kCheckSize) / 2;
        return RECT{kEdge + 2, y, kEdge + 2 + kCheckSize, y + kCheckSize};
    }

    RECT buttonRect() const
    {
        RECT rc;
        GetClientRect(m_hwnd, &rc);
        return RECT{rc.right - kEdge - kButtonWidth, kEdge, rc.right - kEdge, rc.bottom - kEdge};
    }

    // Where each token is drawn: one function for painting and hit testing.
    std::vector<RECT> tokenRects(HDC dc) const
    {
        std::vector<RECT> out;
        RECT rc;
        GetClientRect(m_hwnd, &rc);
        RECT check = checkRect();
        int x = (style() & DTS_SHOWNONE) ? check.right + 3 : kEdge + 2;
        for (const Token& t : m_tokens) {
            SIZE sz = textExtent(dc, m_font.get(), tokenText(t, m_time));
            out.push_back(RECT{x, kEdge + 1, x + sz.cx, rc.bottom - kEdge - 1});
            x += sz.cx;
        }
        return out;
    }

    void mouseDown(POINT p)
    {
        if (GetFocus() != m_hwnd)
            SetFocus(m_hwnd);
        RECT check = checkRect();
        if ((style() & DTS_SHOWNONE) && PtInRect(&check, p)) {
            toggleNone();
            return;
        }
        RECT b = buttonRect();
        if (!(style() & DTS_UPDOWN) && PtInRect(&b, p)) {
            if (m_calendar)
                closeCalendar(true);
            else
                openCalendar();
            return;
        }
        HDC dc = GetDC(m_hwnd);
        std::vector<RECT> rects = tokenRects(dc);
        ReleaseDC(m_hwnd, dc);
        for (size_t i = 0; i < rects.size(); ++i)
            if (editable(m_tokens[i].kind) && p.x >= rects[i].left && p.x < rects[i].right) {
                commitTyping();
                m_field = int(i);
                InvalidateRect(m_hwnd, nullptr, FALSE);
                return;
            }
    }

    void openCalendar()
    {
        if (m_calendar || (style() & DTS_UPDOWN) || !IsWindowEnabled(m_hwnd))
            return;
        commitTyping();
        NMHDR nm{};
        notifyParent(m_hwnd, DTN_DROPDOWN, &nm);
        if (!IsWindow(m_hwnd))
            return;
        RECT wr;
        GetWindowRect(m_hwnd, &wr);
        m_calendar = openDateCalendar(m_hwnd, POINT{wr.left, wr.bottom}, m_time,
                                      [this](const SYSTEMTIME* chosen) { calendarDone(chosen); });
        InvalidateRect(m_hwnd, nullptr, FALSE);
    }

    void closeCalendar(bool notify)
    {
        if (!m_calendar)
            return;
        HWND cal = m_calendar;
        m_calendar = nullptr;
        detachDateCalendar(cal);
        DestroyWindow(cal);
        if (!notify || !IsWindow(m_hwnd))
            return;
        InvalidateRect(m_hwnd, nullptr, FALSE);
        NMHDR nm{};
        notifyParent(m_hwnd, DTN_CLOSEUP, &nm);
    }

    void paint(HDC dc)
    {
        RECT rc;
        GetClientRect(m_hwnd, &rc);
        bool enabled = IsWindowEnabled(m_hwnd);
        FillRect(dc, &rc, GetSysColorBrush(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
        DrawEdge(dc, &rc, EDGE_SUNKEN, BF_RECT);
        if (style() & DTS_SHOWNONE) {
            RECT check = checkRect();
            DrawFrameControl(dc, &check, DFC_BUTTON, DFCS_BUTTONCHECK | (m_none ? 0 : DFCS_CHECKED));
        }
        HFONT font = m_font.get();
        bool gray = !enabled || m_none;
        std::vector<RECT> rects = tokenRects(dc);
        for (size_t i = 0; i < m_tokens.size(); ++i) {
            std::string t = tokenText(m_tokens[i], m_time);
            COLORREF fg = GetSysColor(gray ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
            if (m_focused && !gray && int(i) == m_field) {
                FillRect(dc, &rects[i], GetSysColorBrush(COLOR_HIGHLIGHT));
                fg = GetSysColor(COLOR_HIGHLIGHTTEXT);
            }
            drawText(dc, font, t, rects[i], DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, fg);
        }
        if (!(style() & DTS_UPDOWN)) {
            RECT b = buttonRect();
            DrawFrameControl(dc, &b, DFC_SCROLL,
                             DFCS_SCROLLCOMBOBOX | (m_calendar ? DFCS_PUSHED | DFCS_FLAT : 0) |
                                 (enabled ? 0 : DFCS_INACTIVE));
        }
    }

    HWND m_hwnd;
    DWORD m_style = 0;
    SYSTEMTIME m_time{};
    bool m_none = false;
    bool m_hasMin = false, m_hasMax = false;
    SYSTEMTIME m_min{}, m_max{};
    std::string m_format; // set by DTM_SETFORMAT; empty: the style's
    std::vector<Token> m_tokens;
    int m_field = -1;     // token index of the field being edited
    std::string m_typed;  // digits typed into it so far
    bool m_focused = false;
    HWND m_upDown = nullptr;
    HWND m_calendar = nullptr;
    FontHolder m_font;
};

} // namespace

void registerDateTime()
{
    registerDateCalendarClass();
    registerControlClass(DATETIMEPICK_CLASSA, controlProc<DateTime>, CS_DBLCLKS);
}

} // namespace vk::comctl
