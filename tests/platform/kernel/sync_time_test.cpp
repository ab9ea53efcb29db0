// Events, mutexes, semaphores and critical sections across threads; time
// conversions; FormatMessageA; virtual memory.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <string>
#include <thread>

namespace {

TEST(Events, AutoResetWakesOneManualStaysSet)
{
    HANDLE autoEv = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    HANDLE manual = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(autoEv, nullptr);
    ASSERT_NE(manual, nullptr);
    EXPECT_EQ(WaitForSingleObject(autoEv, 0), DWORD(WAIT_OBJECT_0));
    EXPECT_EQ(WaitForSingleObject(autoEv, 0), DWORD(WAIT_TIMEOUT)); // consumed
    EXPECT_EQ(WaitForSingleObject(manual, 0), DWORD(WAIT_TIMEOUT));
    ASSERT_TRUE(SetEvent(manual));
    EXPECT_EQ(WaitForSingleObject(manual, 0), DWORD(WAIT_OBJECT_0));
    EXPECT_EQ(WaitForSingleObject(manual, 0), DWORD(WAIT_OBJECT_0));
    ASSERT_TRUE(ResetEvent(manual));
    EXPECT_EQ(WaitForSingleObject(manual, 0), DWORD(WAIT_TIMEOUT));

    // Another thread's SetEvent ends an infinite wait.
    std::thread setter([&] {
        Sleep(20);
        SetEvent(autoEv);
    });
    EXPECT_EQ(WaitForSingleObject(autoEv, INFINITE), DWORD(WAIT_OBJECT_0));
    setter.join();
    CloseHandle(autoEv);
    CloseHandle(manual);
}

TEST(Events, NamedObjectsAreShared)
{
    HANDLE a = CreateEventA(nullptr, TRUE, FALSE, "vk-kernel-test-event");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_SUCCESS));
    HANDLE b = CreateEventA(nullptr, TRUE, FALSE, "vk-kernel-test-event");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ALREADY_EXISTS));
    SetEvent(a);
    EXPECT_EQ(WaitForSingleObject(b, 0), DWORD(WAIT_OBJECT_0));
    // The same name as another kind is refused.
    EXPECT_EQ(CreateMutexA(nullptr, FALSE, "vk-kernel-test-event"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    CloseHandle(a);
    CloseHandle(b);
    // Once every handle is closed the name is free again.
    HANDLE m = CreateMutexA(nullptr, FALSE, "vk-kernel-test-event");
    ASSERT_NE(m, nullptr);
    CloseHandle(m);
}

TEST(Mutexes, OwnershipIsPerThreadAndRecursive)
{
    HANDLE m = CreateMutexA(nullptr, TRUE, nullptr);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(WaitForSingleObject(m, 0), DWORD(WAIT_OBJECT_0)); // owner may take it again
    std::atomic<DWORD> other{12345};
    std::atomic<DWORD> otherRelease{12345};
    std::thread t([&] {
        other = WaitForSingleObject(m, 0);
        otherRelease = ReleaseMutex(m) ? 0 : GetLastError();
    });
    t.join();
    EXPECT_EQ(other.load(), DWORD(WAIT_TIMEOUT));
    EXPECT_EQ(otherRelease.load(), DWORD(ERROR_NOT_OWNER));
    EXPECT_TRUE(ReleaseMutex(m));
    EXPECT_TRUE(ReleaseMutex(m));
    EXPECT_FALSE(ReleaseMutex(m));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_OWNER));
    // Now free: another thread gets it.
    std::thread t2([&] {
        other = WaitForSingleObject(m, 1000);
        ReleaseMutex(m);
    });
    t2.join();
    EXPECT_EQ(other.load(), DWORD(WAIT_OBJECT_0));
    CloseHandle(m);
}

TEST(Mutexes, AThreadThatEndsHoldingOneAbandonsIt)
{
    HANDLE m = CreateMutexA(nullptr, FALSE, nullptr);
    ASSERT_NE(m, nullptr);
    std::thread t([&] { WaitForSingleObject(m, 0); });
    t.join();
    EXPECT_EQ(WaitForSingleObject(m, 1000), DWORD(WAIT_ABANDONED));
    // The one that got it abandoned owns it now.
    EXPECT_TRUE(ReleaseMutex(m));
    EXPECT_EQ(WaitForSingleObject(m, 0), DWORD(WAIT_OBJECT_0));
    EXPECT_TRUE(ReleaseMutex(m));
    CloseHandle(m);
}

TEST(Semaphores, CountsAndTheMaximum)
{
    struct Case {
        LONG initial, maximum;
        bool created;
    };
    for (const Case& c : {Case{0, 1, true}, Case{2, 2, true}, Case{3, 2, false}, Case{-1, 2, false}, Case{0, 0, false}}) {
        SCOPED_TRACE(std::to_string(c.initial) + "/" + std::to_string(c.maximum));
        HANDLE s = CreateSemaphoreA(nullptr, c.initial, c.maximum, nullptr);
        EXPECT_EQ(s != nullptr, c.created);
        if (!s) {
            EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
            continue;
        }
        CloseHandle(s);
    }
    HANDLE s = CreateSemaphoreA(nullptr, 1, 3, nullptr);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(WaitForSingleObject(s, 0), DWORD(WAIT_OBJECT_0));
    EXPECT_EQ(WaitForSingleObject(s, 0), DWORD(WAIT_TIMEOUT));
    LONG prev = -5;
    ASSERT_TRUE(ReleaseSemaphore(s, 2, &prev));
    EXPECT_EQ(prev, 0);
    EXPECT_FALSE(ReleaseSemaphore(s, 2, &prev)); // would pass 3
    EXPECT_EQ(GetLastError(), DWORD(ERROR_TOO_MANY_POSTS));
    EXPECT_FALSE(ReleaseSemaphore(s, 0, nullptr));
    ASSERT_TRUE(ReleaseSemaphore(s, 1, &prev));
    EXPECT_EQ(prev, 2);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(WaitForSingleObject(s, 0), DWORD(WAIT_OBJECT_0));
    EXPECT_EQ(WaitForSingleObject(s, 0), DWORD(WAIT_TIMEOUT));
    CloseHandle(s);
}

TEST(Waits, WaitAllTakesNothingUntilEverythingIsReady)
{
    HANDLE ev = CreateEventA(nullptr, FALSE, TRUE, nullptr);
    HANDLE sem = CreateSemaphoreA(nullptr, 0, 1, nullptr);
    HANDLE both[2] = {ev, sem};
    EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 10), DWORD(WAIT_TIMEOUT));
    EXPECT_EQ(WaitForSingleObject(ev, 0), DWORD(WAIT_OBJECT_0)); // still set: the failed wait took nothing
    SetEvent(ev);
    ReleaseSemaphore(sem, 1, nullptr);
    EXPECT_EQ(WaitForMultipleObjects(2, both, TRUE, 0), DWORD(WAIT_OBJECT_0));
    EXPECT_EQ(WaitForMultipleObjects(2, both, FALSE, 0), DWORD(WAIT_TIMEOUT));
    EXPECT_EQ(WaitForMultipleObjects(0, both, FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(WaitForMultipleObjects(MAXIMUM_WAIT_OBJECTS + 1, both, FALSE, 0), WAIT_FAILED);
    CloseHandle(ev);
    CloseHandle(sem);
}

TEST(CriticalSections, RecursiveAndExclusive)
{
    CRITICAL_SECTION cs;
    InitializeCriticalSection(&cs);
    EnterCriticalSection(&cs);
    EXPECT_TRUE(TryEnterCriticalSection(&cs));
    EXPECT_EQ(cs.RecursionCount, 2);
    std::atomic<int> got{-1};
    std::thread t([&] { got = TryEnterCriticalSection(&cs) ? 1 : 0; });
    t.join();
    EXPECT_EQ(got.load(), 0);
    LeaveCriticalSection(&cs);
    LeaveCriticalSection(&cs);
    std::thread t2([&] {
        got = TryEnterCriticalSection(&cs) ? 1 : 0;
        if (got)
            LeaveCriticalSection(&cs);
    });
    t2.join();
    EXPECT_EQ(got.load(), 1);
    // Leaving more often than entering does nothing harmful.
    LeaveCriticalSection(&cs);
    EXPECT_TRUE(TryEnterCriticalSection(&cs));
    LeaveCriticalSection(&cs);
    DeleteCriticalSection(&cs);
}

TEST(Time, SystemTimeFileTimeTable)
{
    struct Case {
        SYSTEMTIME st;
        ULONGLONG ticks; // 0: refused
    };
    auto st = [](WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s, WORD ms) {
        SYSTEMTIME t{};
        t.wYear = y;
        t.wMonth = mo;
        t.wDay = d;
        t.wHour = h;
        t.wMinute = mi;
        t.wSecond = s;
        t.wMilliseconds = ms;
        return t;
    };
    const Case cases[] = {
        {st(1601, 1, 1, 0, 0, 0, 0), 0},
        {st(1970, 1, 1, 0, 0, 0, 0), 116444736000000000ULL},
        {st(2000, 2, 29, 12, 30, 15, 250), 125963010152500000ULL},
        {st(2026, 12, 31, 23, 59, 59, 999), 134432351999990000ULL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.st.wYear);
        FILETIME ft;
        ASSERT_TRUE(SystemTimeToFileTime(&c.st, &ft));
        EXPECT_EQ((ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime, c.ticks);
        SYSTEMTIME back;
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &back));
        EXPECT_EQ(back.wYear, c.st.wYear);
        EXPECT_EQ(back.wMonth, c.st.wMonth);
        EXPECT_EQ(back.wDay, c.st.wDay);
        EXPECT_EQ(back.wHour, c.st.wHour);
        EXPECT_EQ(back.wMinute, c.st.wMinute);
        EXPECT_EQ(back.wSecond, c.st.wSecond);
        EXPECT_EQ(back.wMilliseconds, c.st.wMilliseconds);
    }
    SYSTEMTIME known = st(1970, 1, 1, 0, 0, 0, 0);
    FILETIME ft;
    SystemTimeToFileTime(&known, &ft);
    SYSTEMTIME back;
    FileTimeToSystemTime(&ft, &back);
    EXPECT_EQ(back.wDayOfWeek, 4); // a Thursday
    for (const SYSTEMTIME& bad : {st(2001, 2, 29, 0, 0, 0, 0), st(1600, 12, 31, 0, 0, 0, 0), st(2000, 13, 1, 0, 0, 0, 0),
                                  st(2000, 1, 0, 0, 0, 0, 0), st(2000, 1, 1, 24, 0, 0, 0), st(2000, 1, 1, 0, 0, 0, 1000)}) {
        SCOPED_TRACE(std::to_string(bad.wYear) + "-" + std::to_string(bad.wMonth) + "-" + std::to_string(bad.wDay));
        EXPECT_FALSE(SystemTimeToFileTime(&bad, &ft));
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    }
    FILETIME huge{0xFFFFFFFFu, 0xFFFFFFFFu};
    EXPECT_FALSE(FileTimeToSystemTime(&huge, &back));
}

TEST(Time, CompareLocalAndClocks)
{
    FILETIME a{1, 0}, b{0, 1}, c{1, 0};
    EXPECT_EQ(CompareFileTime(&a, &b), -1);
    EXPECT_EQ(CompareFileTime(&b, &a), 1);
    EXPECT_EQ(CompareFileTime(&a, &c), 0);
    FILETIME now, local, back;
    GetSystemTimeAsFileTime(&now);
    ASSERT_TRUE(FileTimeToLocalFileTime(&now, &local));
    ASSERT_TRUE(LocalFileTimeToFileTime(&local, &back));
    EXPECT_EQ(CompareFileTime(&now, &back), 0);
    SYSTEMTIME sys;
    GetSystemTime(&sys);
    EXPECT_GE(sys.wYear, 2024);
    LARGE_INTEGER f, c1, c2;
    ASSERT_TRUE(QueryPerformanceFrequency(&f));
    EXPECT_GT(f.QuadPart, 0);
    ASSERT_TRUE(QueryPerformanceCounter(&c1));
    ASSERT_TRUE(QueryPerformanceCounter(&c2));
    EXPECT_GE(c2.QuadPart, c1.QuadPart);
    EXPECT_GE(GetTickCount64(), ULONGLONG(GetTickCount()) & 0); // both answer without failing
}

TEST(FormatMessage, SystemTextsInsertsAndBuffers)
{
    char buf[256];
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_ACCESS_DENIED, 0,
                             buf, sizeof buf, nullptr);
    EXPECT_EQ(std::string(buf, n), "Access is denied.\r\n");
    EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 0xDEAD, 0, buf, sizeof buf, nullptr), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_MR_MID_NOT_FOUND));
    EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_ACCESS_DENIED,
                             0, buf, 5, nullptr),
              0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));

    DWORD_PTR args[] = {reinterpret_cast<DWORD_PTR>("skin.ini"), 7};
    n = FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, "%1 line %2!d!: %% done", 0, 0,
                       buf, sizeof buf, reinterpret_cast<va_list*>(args));
    EXPECT_EQ(std::string(buf, n), "skin.ini line 7: % done");
    n = FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_IGNORE_INSERTS, "keep %1 as is", 0, 0, buf,
                       sizeof buf, nullptr);
    EXPECT_EQ(std::string(buf, n), "keep %1 as is");

    char* allocated = nullptr;
    n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, ERROR_FILE_NOT_FOUND, 0, reinterpret_cast<LPSTR>(&allocated), 0, nullptr);
    ASSERT_NE(allocated, nullptr);
    EXPECT_EQ(std::string(allocated, n), "The system cannot find the file specified.\r\n");
    EXPECT_EQ(LocalFree(allocated), nullptr);
}

TEST(VirtualMemory, ReserveCommitProtectRelease)
{
    const SIZE_T size = 1 << 16;
    auto* p = static_cast<unsigned char*>(VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[size - 1], 0);
    p[100] = 9;
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(p, 4096, PAGE_READONLY, &old));
    EXPECT_EQ(old, DWORD(PAGE_READWRITE));
    EXPECT_EQ(p[100], 9);
    ASSERT_TRUE(VirtualProtect(p, 4096, PAGE_READWRITE, &old));
    EXPECT_EQ(old, DWORD(PAGE_READONLY));
    EXPECT_FALSE(VirtualFree(p, size, MEM_RELEASE)); // release takes size 0
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(VirtualFree(p, 0, MEM_RELEASE));
    EXPECT_FALSE(VirtualFree(p, 0, MEM_RELEASE));

    // Reserve, then commit a part.
    auto* r = static_cast<unsigned char*>(VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS));
    ASSERT_NE(r, nullptr);
    auto* c = static_cast<unsigned char*>(VirtualAlloc(r + 4096, 4096, MEM_COMMIT, PAGE_READWRITE));
    ASSERT_EQ(c, r + 4096);
    c[0] = 1;
    EXPECT_TRUE(VirtualFree(c, 4096, MEM_DECOMMIT));
    EXPECT_TRUE(VirtualFree(r, 0, MEM_RELEASE));
    EXPECT_EQ(VirtualAlloc(nullptr, 0, MEM_COMMIT, PAGE_READWRITE), nullptr);
}

} // namespace
