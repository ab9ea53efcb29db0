// Clocks and calendar time. GetTickCount and Sleep follow the layer's clock
// (virtual on the headless backend); the performance counter and the
// calendar are the host's real clocks.
#include "kernel/file_object.h"

#include "core/clock.h"
#include "core/last_error.h"

#include <windows.h>

#include <climits>
#include <ctime>

namespace {

constexpr int64_t kTicksPerSecond = 10000000LL;       // FILETIME ticks are 100 ns
constexpr int64_t kSecondsFrom1601To1970 = 11644473600LL;
constexpr int64_t kSecondsPerDay = 86400;
constexpr uint64_t kLargestFileTime = 0x7FFFFFFFFFFFFFFFull;

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + int64_t(doe) - 719468;
}

void civilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = int64_t(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

bool isLeap(int64_t y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

uint64_t ticksOf(const FILETIME& ft)
{
    return (uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

FILETIME fileTimeOf(uint64_t ticks)
{
    return FILETIME{DWORD(ticks & 0xFFFFFFFFu), DWORD(ticks >> 32)};
}

void systemTimeFromTicks(uint64_t ticks, SYSTEMTIME& st)
{
    int64_t secs = int64_t(ticks / kTicksPerSecond);
    int64_t days = secs / kSecondsPerDay - kSecondsFrom1601To1970 / kSecondsPerDay;
    int64_t rest = secs % kSecondsPerDay;
    int64_t y;
    unsigned m, d;
    civilFromDays(days, y, m, d);
    st.wYear = WORD(y);
    st.wMonth = WORD(m);
    st.wDay = WORD(d);
    st.wDayOfWeek = WORD(((days % 7) + 7 + 4) % 7); // 1970-01-01 was a Thursday
    st.wHour = WORD(rest / 3600);
    st.wMinute = WORD(rest / 60 % 60);
    st.wSecond = WORD(rest % 60);
    st.wMilliseconds = WORD(ticks % kTicksPerSecond / 10000);
}

uint64_t nowTicks()
{
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    return uint64_t((int64_t(ts.tv_sec) + kSecondsFrom1601To1970) * kTicksPerSecond + ts.tv_nsec / 100);
}

int64_t localOffsetSeconds(time_t at)
{
    tm local;
    localtime_r(&at, &local);
    return local.tm_gmtoff;
}

} // namespace

extern "C" {

DWORD WINAPI GetTickCount(void)
{
    return DWORD(vk::nowMs() & 0xFFFFFFFFu);
}

ULONGLONG WINAPI GetTickCount64(void)
{
    return vk::nowMs();
}

void WINAPI Sleep(DWORD dwMilliseconds)
{
    vk::sleepMs(dwMilliseconds);
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* lpPerformanceCount)
{
    if (!lpPerformanceCount)
        return vk::failWith(ERROR_NOACCESS, FALSE);
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    lpPerformanceCount->QuadPart = int64_t(ts.tv_sec) * kTicksPerSecond + ts.tv_nsec / 100;
    return TRUE;
}

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* lpFrequency)
{
    if (!lpFrequency)
        return vk::failWith(ERROR_NOACCESS, FALSE);
    lpFrequency->QuadPart = kTicksPerSecond;
    return TRUE;
}

void WINAPI GetSystemTimeAsFileTime(LPFILETIME lpSystemTimeAsFileTime)
{
    if (lpSystemTimeAsFileTime)
        *lpSystemTimeAsFileTime = fileTimeOf(nowTicks());
}

void WINAPI GetSystemTime(LPSYSTEMTIME lpSystemTime)
{
    if (lpSystemTime)
        systemTimeFromTicks(nowTicks(), *lpSystemTime);
}

void WINAPI GetLocalTime(LPSYSTEMTIME lpSystemTime)
{
    if (!lpSystemTime)
        return;
    uint64_t now = nowTicks();
    time_t t = time_t(now / kTicksPerSecond - kSecondsFrom1601To1970);
    systemTimeFromTicks(uint64_t(int64_t(now) + localOffsetSeconds(t) * kTicksPerSecond), *lpSystemTime);
}

BOOL WINAPI FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime)
{
    if (!lpFileTime || !lpSystemTime || ticksOf(*lpFileTime) > kLargestFileTime)
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    systemTimeFromTicks(ticksOf(*lpFileTime), *lpSystemTime);
    return TRUE;
}

BOOL WINAPI SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime)
{
    if (!lpSystemTime || !lpFileTime)
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    const SYSTEMTIME& s = *lpSystemTime;
    static const unsigned kDaysIn[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    // wDayOfWeek is ignored, as documented.
    if (s.wYear < 1601 || s.wYear > 30827 || s.wMonth < 1 || s.wMonth > 12 || s.wDay < 1 ||
        s.wDay > kDaysIn[s.wMonth - 1] + (s.wMonth == 2 && isLeap(s.wYear)) || s.wHour > 23 || s.wMinute > 59 ||
        s.wSecond > 59 || s.wMilliseconds > 999)
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    int64_t days = daysFromCivil(s.wYear, s.wMonth, s.wDay) + kSecondsFrom1601To1970 / kSecondsPerDay;
    int64_t secs = days * kSecondsPerDay + s.wHour * 3600 + s.wMinute * 60 + s.wSecond;
    *lpFileTime = fileTimeOf(uint64_t(secs * kTicksPerSecond + int64_t(s.wMilliseconds) * 10000));
    return TRUE;
}

BOOL WINAPI FileTimeToLocalFileTime(const FILETIME* lpFileTime, LPFILETIME lpLocalFileTime)
{
    if (!lpFileTime || !lpLocalFileTime)
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    // Windows applies the offset in force now, not the one at that date.
    int64_t off = localOffsetSeconds(time(nullptr)) * kTicksPerSecond;
    *lpLocalFileTime = fileTimeOf(uint64_t(int64_t(ticksOf(*lpFileTime)) + off));
    return TRUE;
}

BOOL WINAPI LocalFileTimeToFileTime(const FILETIME* lpLocalFileTime, LPFILETIME lpFileTime)
{
    if (!lpFileTime || !lpLocalFileTime)
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    int64_t off = localOffsetSeconds(time(nullptr)) * kTicksPerSecond;
    *lpFileTime = fileTimeOf(uint64_t(int64_t(ticksOf(*lpLocalFileTime)) - off));
    return TRUE;
}

LONG WINAPI CompareFileTime(const FILETIME* lpFileTime1, const FILETIME* lpFileTime2)
{
    if (!lpFileTime1 || !lpFileTime2)
        return 0;
    uint64_t a = ticksOf(*lpFileTime1), b = ticksOf(*lpFileTime2);
    return a < b ? -1 : a > b ? 1 : 0;
}

int WINAPI MulDiv(int nNumber, int nNumerator, int nDenominator)
{
    if (nDenominator == 0)
        return -1;
    int64_t product = int64_t(nNumber) * nNumerator;
    // Rounds half away from zero.
    bool negative = (product < 0) != (nDenominator < 0);
    uint64_t p = uint64_t(product < 0 ? -product : product);
    uint64_t d = uint64_t(nDenominator < 0 ? -int64_t(nDenominator) : int64_t(nDenominator));
    uint64_t q = (p + d / 2) / d;
    if (q > uint64_t(INT_MAX) + (negative ? 1 : 0))
        return -1;
    return negative ? int(-int64_t(q)) : int(q);
}

} // extern "C"
