// Module reference counts, and stale handles of every kernel kind.
#include "kernel_test_support.h"

#include "core/modules.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

namespace {

int WINAPI answer()
{
    return 42;
}

TEST(Modules, LoadCountsReferencesAndFreeReleasesThem)
{
    const vk::ModuleExport exports[] = {{"Answer", vk::exportProc(answer)}};
    vk::registerModuleExports("vkcounted.dll", exports, 1);
    // Registered but never loaded: not mapped.
    EXPECT_EQ(GetModuleHandleA("vkcounted"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));

    HMODULE a = LoadLibraryA("VKCOUNTED.DLL");
    ASSERT_NE(a, nullptr);
    HMODULE b = LoadLibraryA("C:\\WINDOWS\\system32\\vkcounted.dll");
    EXPECT_EQ(a, b);
    EXPECT_EQ(GetModuleHandleA("vkcounted.dll"), a);
    auto f = reinterpret_cast<int(WINAPI*)()>(reinterpret_cast<void (*)()>(GetProcAddress(a, "Answer")));
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f(), 42);
    char name[MAX_PATH];
    EXPECT_EQ(GetModuleFileNameA(a, name, MAX_PATH), 33u);
    EXPECT_STREQ(name, "C:\\WINDOWS\\system32\\vkcounted.dll");
    char small[8];
    EXPECT_EQ(GetModuleFileNameA(a, small, sizeof small), DWORD(sizeof small));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_STREQ(small, "C:\\WIND");

    EXPECT_TRUE(FreeLibrary(a)); // one reference left
    EXPECT_EQ(GetModuleHandleA("vkcounted"), a);
    EXPECT_NE(GetProcAddress(a, "Answer"), nullptr);
    EXPECT_TRUE(FreeLibrary(b)); // gone
    EXPECT_EQ(GetModuleHandleA("vkcounted"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(GetProcAddress(a, "Answer"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(FreeLibrary(a));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));

    // Loading again works and the old handle stays dead.
    HMODULE c = LoadLibraryA("vkcounted");
    ASSERT_NE(c, nullptr);
    EXPECT_NE(GetProcAddress(c, "Answer"), nullptr);
    if (c != a) {
        EXPECT_EQ(GetProcAddress(a, "Answer"), nullptr);
    }
    EXPECT_TRUE(FreeLibrary(c));
}

TEST(Modules, PinnedModulesStayAndOrdinalsAreMissing)
{
    HMODULE k = GetModuleHandleA("kernel32.dll");
    ASSERT_NE(k, nullptr);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(FreeLibrary(k));
    EXPECT_EQ(GetModuleHandleA("KERNEL32"), k);
    EXPECT_NE(GetProcAddress(k, "GetTickCount"), nullptr);
    EXPECT_EQ(GetProcAddress(k, MAKEINTRESOURCEA(1)), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(GetProcAddress(k, nullptr), nullptr);
    EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    // The program itself.
    HMODULE self = GetModuleHandleA(nullptr);
    ASSERT_NE(self, nullptr);
    char name[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, name, MAX_PATH), 3u);
    EXPECT_EQ(std::string(name).substr(0, 3), "C:\\");
}

struct StaleCase {
    const char* kind;
    std::function<HANDLE()> make;
};

// Every kind of kernel handle, closed, is refused by CloseHandle and waits.
TEST(StaleHandles, EveryKindIsRefusedAfterClose)
{
    kt::ScratchDir dir;
    kt::writeFile(dir / "f.txt", "x");
    const StaleCase cases[] = {
        {"file",
         [&] { return CreateFileA(dir.windows("f.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr); }},
        {"event", [] { return CreateEventA(nullptr, TRUE, FALSE, nullptr); }},
        {"mutex", [] { return CreateMutexA(nullptr, FALSE, nullptr); }},
        {"semaphore", [] { return CreateSemaphoreA(nullptr, 0, 1, nullptr); }},
        {"process",
         [] {
             STARTUPINFOA si{};
             si.cb = sizeof si;
             PROCESS_INFORMATION pi{};
             char line[] = "/bin/true";
             if (!CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
                 return HANDLE(nullptr);
             WaitForSingleObject(pi.hProcess, 10000);
             CloseHandle(pi.hThread);
             return pi.hProcess;
         }},
        {"thread",
         [] {
             STARTUPINFOA si{};
             si.cb = sizeof si;
             PROCESS_INFORMATION pi{};
             char line[] = "/bin/true";
             if (!CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
                 return HANDLE(nullptr);
             WaitForSingleObject(pi.hProcess, 10000);
             CloseHandle(pi.hProcess);
             return pi.hThread;
         }},
        {"self", [] { return OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, GetCurrentProcessId()); }},
        {"duplicate",
         [] {
             HANDLE e = CreateEventA(nullptr, FALSE, FALSE, nullptr);
             HANDLE d = nullptr;
             DuplicateHandle(GetCurrentProcess(), e, GetCurrentProcess(), &d, 0, FALSE, DUPLICATE_SAME_ACCESS);
             CloseHandle(e);
             return d;
         }},
    };
    for (const StaleCase& c : cases) {
        SCOPED_TRACE(c.kind);
        HANDLE h = c.make();
        ASSERT_NE(h, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        ASSERT_TRUE(CloseHandle(h));
        SetLastError(0);
        EXPECT_FALSE(CloseHandle(h));
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
        EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_FAILED);
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
        EXPECT_FALSE(SetEvent(h));
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
        EXPECT_FALSE(ReleaseMutex(h));
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
        EXPECT_FALSE(ReleaseSemaphore(h, 1, nullptr));
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
        HANDLE d = nullptr;
        EXPECT_FALSE(DuplicateHandle(GetCurrentProcess(), h, GetCurrentProcess(), &d, 0, FALSE, DUPLICATE_SAME_ACCESS));
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    }
}

TEST(StaleHandles, FindHeapMemoryAndMadeUpValues)
{
    kt::ScratchDir dir;
    kt::writeFile(dir / "a", "x");
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA(dir.windows("*").c_str(), &fd);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(FindClose(find));
    EXPECT_FALSE(FindNextFileA(find, &fd));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(FindClose(find));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));

    HANDLE heap = HeapCreate(0, 0, 0);
    ASSERT_TRUE(HeapDestroy(heap));
    EXPECT_EQ(HeapAlloc(heap, 0, 4), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(HeapFree(heap, 0, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(HeapDestroy(GetProcessHeap())); // the process heap is not ours to destroy

    // A memory block is no kernel object for CloseHandle.
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, 4);
    EXPECT_FALSE(CloseHandle(g));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GlobalSize(g), 4u);
    GlobalFree(g);

    for (uintptr_t v : {uintptr_t(0), uintptr_t(4), uintptr_t(0x1234567), ~uintptr_t(0) - 100}) {
        SCOPED_TRACE(v);
        HANDLE h = reinterpret_cast<HANDLE>(v);
        EXPECT_FALSE(CloseHandle(h));
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
        EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_FAILED);
    }
    // Waiting on something that can never be signalled is refused too.
    HANDLE hs[2] = {CreateEventA(nullptr, TRUE, TRUE, nullptr), reinterpret_cast<HANDLE>(uintptr_t(0x7777))};
    EXPECT_EQ(WaitForMultipleObjects(2, hs, FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    CloseHandle(hs[0]);
}

} // namespace
