// The date-time picker: values in and out, formats, keyboard editing within
// valid dates and the range, the "no date" box, the up-down and the calendar.
#include "comctl_fixture.h"

using namespace vktest;
namespace vt = velkaro::testing;

namespace {

SYSTEMTIME date(int y, int m, int d, int h = 0, int mi = 0, int s = 0)
{
    SYSTEMTIME st{};
    st.wYear = WORD(y);
    st.wMonth = WORD(m);
    st.wDay = WORD(d);
    st.wHour = WORD(h);
    st.wMinute = WORD(mi);
    st.wSecond = WORD(s);
    return st;
}

class DateTimeTest : public ComctlTest {
protected:
    HWND picker(DWORD style = 0, int w = 180)
    {
        HWND h = control(DATETIMEPICK_CLASSA, style, 10, 10, w, 24, 51);
        EXPECT_TRUE(h);
        return h;
    }
    static std::string shown(HWND h)
    {
        char buf[64] = {};
        GetWindowTextA(h, buf, sizeof buf);
        return buf;
    }
    static SYSTEMTIME get(HWND h, LRESULT* result = nullptr)
    {
        SYSTEMTIME st{};
        LRESULT r = SendMessageA(h, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
        if (result)
            *result = r;
        return st;
    }
    static bool set(HWND h, const SYSTEMTIME& st)
    {
        return SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st)) != 0;
    }
    static std::string ymd(const SYSTEMTIME& st)
    {
        char buf[64];
        snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute,
                 st.wSecond);
        return buf;
    }
    std::vector<std::string> changes() const
    {
        std::vector<std::string> out;
        for (auto& t : told)
            if (t.msg == WM_NOTIFY && t.code == DTN_DATETIMECHANGE) {
                const auto& nm = t.as<NMDATETIMECHANGE>();
                out.push_back(nm.dwFlags == GDT_NONE ? "none" : ymd(nm.st));
            }
        return out;
    }
    static void keys(std::initializer_list<UINT> vks)
    {
        for (UINT k : vks)
            vt::pressKey(k);
        pumpUntilIdle();
    }
};

TEST_F(DateTimeTest, StartsAtTodayAndRoundTrips)
{
    SYSTEMTIME today{};
    GetLocalTime(&today);
    HWND h = picker();
    LRESULT r = -1;
    SYSTEMTIME st = get(h, &r);
    EXPECT_EQ(r, GDT_VALID);
    EXPECT_EQ(st.wYear, today.wYear);
    EXPECT_EQ(st.wMonth, today.wMonth);
    EXPECT_EQ(st.wDay, today.wDay);

    EXPECT_TRUE(set(h, date(2024, 2, 29, 13, 5, 9)));
    EXPECT_EQ(ymd(get(h)), "2024-02-29 13:05:09");
    EXPECT_EQ(get(h).wDayOfWeek, 4); // a Thursday
    EXPECT_EQ(shown(h), "2024/2/29");

    // Impossible dates are refused and change nothing.
    for (const SYSTEMTIME& bad : {date(2023, 2, 29), date(2024, 13, 1), date(2024, 4, 31), date(1500, 1, 1),
                                  date(2024, 1, 1, 24)})
        EXPECT_FALSE(set(h, bad)) << ymd(bad);
    EXPECT_EQ(ymd(get(h)), "2024-02-29 13:05:09");
    EXPECT_EQ(SendMessageA(h, DTM_GETSYSTEMTIME, 0, 0), GDT_ERROR);
    EXPECT_FALSE(SendMessageA(h, DTM_SETSYSTEMTIME, GDT_VALID, 0));
    // "No date" needs the check box.
    EXPECT_FALSE(SendMessageA(h, DTM_SETSYSTEMTIME, GDT_NONE, 0));
    EXPECT_TRUE(changes().empty()); // set by message: not reported
}

TEST_F(DateTimeTest, FormatsByStyleAndFormatString)
{
    const SYSTEMTIME when = date(2009, 7, 4, 21, 8, 3);
    struct Case {
        DWORD style;
        const char* format;
        const char* expect;
    } cases[] = {
        {0, nullptr, "2009/7/4"},
        {DTS_SHORTDATECENTURYFORMAT, nullptr, "2009/7/4"},
        {DTS_LONGDATEFORMAT, nullptr, "2009年7月4日"},
        {DTS_TIMEFORMAT, nullptr, "21:08:03"},
        {0, "yyyy-MM-dd HH:mm:ss", "2009-07-04 21:08:03"},
        {0, "dd.MM.yy", "04.07.09"},
        {0, "'Date: 'd/M h:mm tt", "Date: 4/7 9:08 下午"},
        {0, "dddd", "星期六"},
        {0, "'It''s' H", "It's 21"},
    };
    for (const Case& c : cases) {
        HWND h = picker(c.style);
        set(h, when);
        if (c.format) {
            EXPECT_TRUE(SendMessageA(h, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>(c.format)));
        }
        EXPECT_EQ(shown(h), c.expect) << (c.format ? c.format : "style");
        DestroyWindow(h);
    }
    // A null format goes back to the style's.
    HWND h = picker(DTS_LONGDATEFORMAT);
    set(h, when);
    SendMessageA(h, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>("yy"));
    EXPECT_EQ(shown(h), "09");
    SendMessageA(h, DTM_SETFORMATA, 0, 0);
    EXPECT_EQ(shown(h), "2009年7月4日");
}

TEST_F(DateTimeTest, KeyboardEditsFieldsWithinValidDates)
{
    HWND h = picker();
    set(h, date(2024, 1, 31));
    SetFocus(h);
    pumpUntilIdle();
    struct Step {
        std::initializer_list<UINT> keys;
        const char* expect;
    } steps[] = {
        {{VK_UP}, "2025-01-31 00:00:00"},               // the year field is first
        {{VK_RIGHT, VK_UP}, "2025-02-28 00:00:00"},     // 31 February is brought to its last day
        {{VK_DOWN, VK_DOWN}, "2025-12-28 00:00:00"},    // month wraps round (the year stays)
        {{VK_RIGHT, VK_UP, VK_UP, VK_UP, VK_UP}, "2025-12-01 00:00:00"}, // day wraps round too
        {{VK_RIGHT, VK_DOWN}, "2025-12-31 00:00:00"},   // past the last field stays on the day
        {{VK_LEFT, VK_LEFT, VK_DOWN}, "2024-12-31 00:00:00"},
    };
    for (const Step& s : steps) {
        keys(s.keys);
        EXPECT_EQ(ymd(get(h)), s.expect);
    }
    ASSERT_EQ(changes().size(), 10u); // one per key that changed something
    EXPECT_EQ(changes().back(), "2024-12-31 00:00:00");
    for (const Told& t : told)
        if (t.msg == WM_NOTIFY && t.code == DTN_DATETIMECHANGE) {
            EXPECT_EQ(t.as<NMDATETIMECHANGE>().nmhdr.hwndFrom, h);
            EXPECT_EQ(t.as<NMDATETIMECHANGE>().dwFlags, DWORD(GDT_VALID));
        }

    // Digits: the year takes four, month and day as many as make sense.
    told.clear();
    vt::typeText("1999");
    vt::pressKey(VK_RIGHT);
    vt::typeText("2");
    pumpUntilIdle();
    EXPECT_EQ(ymd(get(h)), "1999-02-28 00:00:00");
    vt::typeText("/3");   // a separator moves on, to the day
    pumpUntilIdle();
    EXPECT_EQ(ymd(get(h)), "1999-02-03 00:00:00");
    vt::typeText("9"); // 39 is no day: the 9th
    pumpUntilIdle();
    EXPECT_EQ(ymd(get(h)), "1999-02-09 00:00:00");
    vt::pressKey(VK_HOME);
    vt::typeText("07");
    vt::pressKey(VK_RIGHT); // two digits of a year, finished by leaving
    pumpUntilIdle();
    EXPECT_EQ(ymd(get(h)), "2007-02-09 00:00:00");
    EXPECT_EQ(shown(h), "2007/2/9");
}

TEST_F(DateTimeTest, TimeFieldsAndUpDown)
{
    HWND h = picker(DTS_TIMEFORMAT);
    set(h, date(2020, 5, 5, 23, 59, 58));
    DATETIMEPICKERINFO info{};
    info.cbSize = sizeof info;
    SendMessageA(h, DTM_GETDATETIMEPICKERINFO, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_TRUE(info.hwndUD); // the time format comes with an up-down
    EXPECT_EQ(GetParent(info.hwndUD), h);
    SetFocus(h);
    keys({VK_UP}); // hours wrap without changing the date
    EXPECT_EQ(ymd(get(h)), "2020-05-05 00:59:58");
    keys({VK_RIGHT, VK_RIGHT, VK_UP, VK_UP});
    EXPECT_EQ(ymd(get(h)), "2020-05-05 00:59:00");
    vt::typeText("42");
    pumpUntilIdle();
    EXPECT_EQ(ymd(get(h)), "2020-05-05 00:59:42");

    // The up-down's halves step the chosen field.
    RECT ur;
    GetClientRect(info.hwndUD, &ur);
    clickAt(info.hwndUD, ur.right / 2, ur.bottom / 4);
    EXPECT_EQ(ymd(get(h)), "2020-05-05 00:59:43");
    vt::advanceClock(1000);
    clickAt(info.hwndUD, ur.right / 2, ur.bottom * 3 / 4);
    vt::advanceClock(1000);
    clickAt(info.hwndUD, ur.right / 2, ur.bottom * 3 / 4);
    EXPECT_EQ(ymd(get(h)), "2020-05-05 00:59:41");
    EXPECT_EQ(GetFocus(), h);
}

TEST_F(DateTimeTest, RangeLimitsEveryChange)
{
    HWND h = picker();
    set(h, date(2024, 6, 15));
    SYSTEMTIME range[2] = {date(2024, 3, 1), date(2024, 8, 31)};
    EXPECT_TRUE(SendMessageA(h, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range)));
    SYSTEMTIME back[2] = {};
    EXPECT_EQ(SendMessageA(h, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(back)), GDTR_MIN | GDTR_MAX);
    EXPECT_EQ(ymd(back[0]), "2024-03-01 00:00:00");
    EXPECT_EQ(ymd(back[1]), "2024-08-31 00:00:00");

    SetFocus(h);
    keys({VK_UP}); // next year is past the end
    EXPECT_EQ(ymd(get(h)), "2024-08-31 00:00:00");
    keys({VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN});
    EXPECT_EQ(ymd(get(h)), "2024-03-01 00:00:00");
    // A new range pulls the current date into it; a set date outside is clamped.
    SYSTEMTIME later[2] = {date(2024, 5, 1), date(2024, 5, 31)};
    SendMessageA(h, DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(later));
    EXPECT_EQ(ymd(get(h)), "2024-05-01 00:00:00");
    EXPECT_TRUE(set(h, date(2030, 1, 1)));
    EXPECT_EQ(ymd(get(h)), "2024-05-31 00:00:00");
    // Only the minimum: no upper limit.
    SendMessageA(h, DTM_SETRANGE, GDTR_MIN, reinterpret_cast<LPARAM>(later));
    EXPECT_EQ(SendMessageA(h, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(back)), GDTR_MIN);
    EXPECT_TRUE(set(h, date(2030, 1, 1)));
    EXPECT_EQ(ymd(get(h)), "2030-01-01 00:00:00");
    EXPECT_FALSE(SendMessageA(h, DTM_SETRANGE, GDTR_MIN, 0));
}

TEST_F(DateTimeTest, ShowNoneCheckBox)
{
    HWND h = picker(DTS_SHOWNONE);
    set(h, date(2022, 2, 2));
    DATETIMEPICKERINFO info{};
    info.cbSize = sizeof info;
    SendMessageA(h, DTM_GETDATETIMEPICKERINFO, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_FALSE(IsRectEmpty(&info.rcCheck));
    EXPECT_TRUE(SendMessageA(h, DTM_SETSYSTEMTIME, GDT_NONE, 0));
    LRESULT r = -1;
    get(h, &r);
    EXPECT_EQ(r, GDT_NONE);

    clickAt(h, (info.rcCheck.left + info.rcCheck.right) / 2, (info.rcCheck.top + info.rcCheck.bottom) / 2);
    SYSTEMTIME st = get(h, &r);
    EXPECT_EQ(r, GDT_VALID);
    EXPECT_EQ(ymd(st), "2022-02-02 00:00:00"); // the date comes back
    vt::advanceClock(1000);
    clickAt(h, (info.rcCheck.left + info.rcCheck.right) / 2, (info.rcCheck.top + info.rcCheck.bottom) / 2);
    get(h, &r);
    EXPECT_EQ(r, GDT_NONE);
    keys({VK_UP}); // no date: nothing to step
    EXPECT_EQ(changes(), (std::vector<std::string>{"2022-02-02 00:00:00", "none"}));
}

TEST_F(DateTimeTest, DropDownCalendarChoosesADay)
{
    HWND h = picker();
    set(h, date(2024, 5, 20, 8, 30));
    DATETIMEPICKERINFO info{};
    info.cbSize = sizeof info;
    SendMessageA(h, DTM_GETDATETIMEPICKERINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.hwndUD, nullptr);
    EXPECT_EQ(SendMessageA(h, DTM_GETMONTHCAL, 0, 0), 0);

    clickAt(h, (info.rcButton.left + info.rcButton.right) / 2, (info.rcButton.top + info.rcButton.bottom) / 2);
    auto cal = reinterpret_cast<HWND>(SendMessageA(h, DTM_GETMONTHCAL, 0, 0));
    ASSERT_TRUE(cal);
    EXPECT_TRUE(IsWindowVisible(cal));
    EXPECT_TRUE(GetWindowLongA(cal, GWL_STYLE) & WS_POPUP);
    EXPECT_FALSE(IsChild(h, cal));
    EXPECT_EQ(codes(), (std::vector<UINT>{UINT(DTN_DROPDOWN)}));
    RECT pr, cr;
    GetWindowRect(h, &pr);
    GetWindowRect(cal, &cr);
    EXPECT_EQ(cr.top, pr.bottom);
    vt::saveWindowScreenshot(cal, outputPath("datetime_calendar.png").c_str());

    // May 2024 starts on a Wednesday: the 1st is in the fourth column of the
    // first week; the 9th is the fifth column of the second.
    auto dayPoint = [&](int row, int col) { return POINT{2 + col * 22 + 11, 2 + 20 + row * 16 + 8}; };
    POINT ninth = dayPoint(2, 4);
    // The title's right arrow turns to the next month.
    POINT next = POINT{2 + 6 * 22 + 11, 12};
    vt::advanceClock(1000);
    clickAt(cal, next.x, next.y); // June 2024 starts on a Saturday
    EXPECT_TRUE(IsWindow(cal));
    vt::advanceClock(1000);
    clickAt(cal, ninth.x, ninth.y); // 2nd week, Thursday: 6 June
    EXPECT_FALSE(IsWindow(cal));
    EXPECT_EQ(SendMessageA(h, DTM_GETMONTHCAL, 0, 0), 0);
    EXPECT_EQ(ymd(get(h)), "2024-06-06 08:30:00"); // the time of day stays
    EXPECT_EQ(codes(), (std::vector<UINT>{UINT(DTN_DROPDOWN), UINT(DTN_DATETIMECHANGE), UINT(DTN_CLOSEUP)}));

    // A click elsewhere closes it without a change; so does Escape.
    told.clear();
    vt::advanceClock(1000);
    clickAt(h, (info.rcButton.left + info.rcButton.right) / 2, (info.rcButton.top + info.rcButton.bottom) / 2);
    vt::advanceClock(1000);
    clickAt(m_parent, 600, 400);
    EXPECT_EQ(SendMessageA(h, DTM_GETMONTHCAL, 0, 0), 0);
    vt::advanceClock(1000);
    SetFocus(h);
    vt::pressKey(VK_F4);
    pumpUntilIdle();
    EXPECT_TRUE(SendMessageA(h, DTM_GETMONTHCAL, 0, 0));
    vt::pressKey(VK_ESCAPE);
    pumpUntilIdle();
    EXPECT_EQ(SendMessageA(h, DTM_GETMONTHCAL, 0, 0), 0);
    EXPECT_EQ(codes(), (std::vector<UINT>{UINT(DTN_DROPDOWN), UINT(DTN_CLOSEUP), UINT(DTN_DROPDOWN), UINT(DTN_CLOSEUP)}));
    EXPECT_EQ(ymd(get(h)), "2024-06-06 08:30:00");
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(DateTimeTest, DestroyedWithTheCalendarOpen)
{
    size_t before = vt::liveWindows();
    HWND h = picker();
    SetFocus(h);
    vt::pressKey(VK_F4);
    pumpUntilIdle();
    ASSERT_TRUE(SendMessageA(h, DTM_GETMONTHCAL, 0, 0));
    DestroyWindow(h);
    pumpUntilIdle();
    EXPECT_EQ(vt::liveWindows(), before);
    EXPECT_EQ(GetCapture(), nullptr);
}

} // namespace
