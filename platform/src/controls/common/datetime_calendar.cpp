// The date-time picker's drop-down month: a title with arrows to the months
// before and after, a row of weekday names and six weeks of days.
#include "controls/common/datetime_calendar.h"

#include "controls/common/control_base.h"

#include <string>

namespace vk::comctl {

int daysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 31;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return days[month - 1] + (month == 2 && leap ? 1 : 0);
}

int dayOfWeek(int year, int month, int day)
{
    // Days since a Sunday far back, counting years from March.
    static const int offset[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 1 || month > 12)
        return 0;
    int y = year - (month < 3 ? 1 : 0);
    return (y + y / 4 - y / 100 + y / 400 + offset[month - 1] + day) % 7;
}

namespace {

constexpr char kClassName[] = "VkDateTimeCalendar";
constexpr int kMargin = 2;
constexpr int kCellW = 22;
constexpr int kCellH = 16;
constexpr int kTitleH = 20;
constexpr int kWeeks = 6;

struct CalendarInit {
    SYSTEMTIME shown;
    CalendarDone done;
};

class Calendar {
public:
    Calendar(HWND hwnd, const CREATESTRUCTA& cs) : m_hwnd(hwnd)
    {
        if (auto* init = static_cast<CalendarInit*>(cs.lpCreateParams)) {
            m_chosen = init->shown;
            m_done = init->done;
        }
        m_year = m_chosen.wYear;
        m_month = m_chosen.wMonth;
    }

    static SIZE size() { return SIZE{2 * kMargin + 7 * kCellW + 2, 2 * kMargin + kTitleH + kCellH * (kWeeks + 1) + 2}; }

    void detach() { m_done = nullptr; }

    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp)
    {
        switch (msg) {
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            click(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            return 0; // the window may be gone: nothing after click
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lp) != m_hwnd && IsWindowVisible(m_hwnd))
                finish(nullptr);
            return 0;
        case WM_DESTROY:
            m_done = nullptr;
            return 0;
        case WM_ERASEBKGND:
            return 1;
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

private:
    // Geometry shared by painting and hit testing.
    static RECT titleRect() { return RECT{kMargin, kMargin, kMargin + 7 * kCellW, kMargin + kTitleH}; }
    static RECT prevRect() { return RECT{kMargin, kMargin, kMargin + kCellW, kMargin + kTitleH}; }
    static RECT nextRect() { return RECT{kMargin + 6 * kCellW, kMargin, kMargin + 7 * kCellW, kMargin + kTitleH}; }
    static RECT cellRect(int row, int col) // row 0: weekday names
    {
        int top = kMargin + kTitleH + row * kCellH;
        return RECT{kMargin + col * kCellW, top, kMargin + (col + 1) * kCellW, top + kCellH};
    }
    int firstColumn() const { return dayOfWeek(m_year, m_month, 1); }
    // The day in a grid cell (row >= 1), or 0 outside the month.
    int dayAt(int row, int col) const
    {
        int d = (row - 1) * 7 + col - firstColumn() + 1;
        return d >= 1 && d <= daysInMonth(m_year, m_month) ? d : 0;
    }

    void finish(const SYSTEMTIME* chosen)
    {
        CalendarDone done = std::move(m_done);
        m_done = nullptr;
        if (done)
            done(chosen);
    }

    void turn(int delta)
    {
        int m = m_year * 12 + (m_month - 1) + delta;
        if (m / 12 < 1601 || m / 12 > 9999)
            return;
        m_year = m / 12;
        m_month = m % 12 + 1;
        InvalidateRect(m_hwnd, nullptr, FALSE);
    }

    void click(POINT p)
    {
        RECT rc;
        GetClientRect(m_hwnd, &rc);
        if (!PtInRect(&rc, p)) {
            finish(nullptr);
            return;
        }
        RECT prev = prevRect(), next = nextRect();
        if (PtInRect(&prev, p)) {
            turn(-1);
            return;
        }
        if (PtInRect(&next, p)) {
            turn(1);
            return;
        }
        for (int row = 1; row <= kWeeks; ++row)
            for (int col = 0; col < 7; ++col) {
                RECT c = cellRect(row, col);
                int d = dayAt(row, col);
                if (d && PtInRect(&c, p)) {
                    SYSTEMTIME st = m_chosen;
                    st.wYear = WORD(m_year);
                    st.wMonth = WORD(m_month);
                    st.wDay = WORD(d);
                    st.wDayOfWeek = WORD(dayOfWeek(m_year, m_month, d));
                    finish(&st);
                    return;
                }
            }
    }

    void paint(HDC dc)
    {
        static const char* const names[] = {"日", "一", "二", "三", "四", "五", "六"};
        RECT rc;
        GetClientRect(m_hwnd, &rc);
        FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW));
        HFONT font = defaultFont();
        RECT title = titleRect();
        FillRect(dc, &title, GetSysColorBrush(COLOR_ACTIVECAPTION));
        COLORREF titleInk = GetSysColor(COLOR_CAPTIONTEXT);
        const UINT centred = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
        drawText(dc, font, std::to_string(m_year) + "年" + std::to_string(m_month) + "月", title, centred, titleInk);
        drawText(dc, font, "<", prevRect(), centred, titleInk);
        drawText(dc, font, ">", nextRect(), centred, titleInk);
        for (int col = 0; col < 7; ++col)
            drawText(dc, font, names[col], cellRect(0, col), centred, GetSysColor(COLOR_HIGHLIGHT));
        for (int row = 1; row <= kWeeks; ++row)
            for (int col = 0; col < 7; ++col) {
                int d = dayAt(row, col);
                if (!d)
                    continue;
                RECT c = cellRect(row, col);
                bool chosen = m_year == m_chosen.wYear && m_month == m_chosen.wMonth && d == m_chosen.wDay;
                if (chosen)
                    FillRect(dc, &c, GetSysColorBrush(COLOR_HIGHLIGHT));
                drawText(dc, font, std::to_string(d), c, centred, GetSysColor(chosen ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
            }
    }

    HWND m_hwnd;
    SYSTEMTIME m_chosen{};
    int m_year = 2000, m_month = 1;
    CalendarDone m_done;
};

} // namespace

HWND openDateCalendar(HWND owner, POINT topLeft, const SYSTEMTIME& shown, CalendarDone done)
{
    CalendarInit init{shown, std::move(done)};
    SIZE sz = Calendar::size();
    // Below the picker, or above it where the screen ends.
    int screenH = GetSystemMetrics(SM_CYSCREEN);
    RECT ownerRect{};
    GetWindowRect(owner, &ownerRect);
    if (topLeft.y + sz.cy > screenH && ownerRect.top - sz.cy >= 0)
        topLeft.y = ownerRect.top - sz.cy;
    HWND cal = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kClassName, nullptr, WS_POPUP | WS_BORDER, topLeft.x,
                               topLeft.y, sz.cx, sz.cy, GetAncestor(owner, GA_ROOT), nullptr, nullptr, &init);
    if (!cal)
        return nullptr;
    SetWindowPos(cal, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    // The capture lets a click anywhere else dismiss the calendar.
    SetCapture(cal);
    return cal;
}

void detachDateCalendar(HWND calendar)
{
    if (!IsWindow(calendar))
        return;
    char cls[32] = {};
    GetClassNameA(calendar, cls, sizeof cls);
    if (std::string(cls) == kClassName)
        if (Calendar* c = stateOf<Calendar>(calendar))
            c->detach();
}

void registerDateCalendarClass()
{
    registerControlClass(kClassName, controlProc<Calendar>, CS_DBLCLKS | CS_SAVEBITS);
}

} // namespace vk::comctl
