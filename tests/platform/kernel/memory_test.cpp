// Global, local and heap memory: flags, lock counts, sizes, growth, stale
// handles; process memory access on the calling process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>
#include <sys/mman.h>
#include <unistd.h>

namespace {

TEST(GlobalMemory, FixedBlockIsItsOwnAddress)
{
    HGLOBAL h = GlobalAlloc(GMEM_FIXED, 16);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GlobalLock(h), h);
    EXPECT_EQ(GlobalSize(h), 16u);
    EXPECT_EQ(GlobalFlags(h), 0u); // a fixed block counts no locks
    EXPECT_EQ(GlobalHandle(h), h);
    std::memset(h, 0xAB, 16);
    EXPECT_EQ(GlobalFree(h), nullptr);
}

TEST(GlobalMemory, ZeroInitAndSizes)
{
    for (UINT flags : {UINT(GPTR), UINT(GHND)}) {
        SCOPED_TRACE(flags);
        HGLOBAL h = GlobalAlloc(flags, 100);
        ASSERT_NE(h, nullptr);
        auto* p = static_cast<unsigned char*>(GlobalLock(h));
        ASSERT_NE(p, nullptr);
        for (int i = 0; i < 100; ++i)
            ASSERT_EQ(p[i], 0) << i;
        EXPECT_EQ(GlobalSize(h), 100u);
        GlobalUnlock(h);
        EXPECT_EQ(GlobalFree(h), nullptr);
    }
}

TEST(GlobalMemory, MoveableLockCounts)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 8);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GlobalFlags(h) & GMEM_LOCKCOUNT, 0u);
    void* p1 = GlobalLock(h);
    void* p2 = GlobalLock(h);
    ASSERT_NE(p1, nullptr);
    EXPECT_EQ(p1, p2);
    EXPECT_EQ(GlobalFlags(h) & GMEM_LOCKCOUNT, 2u);
    EXPECT_EQ(GlobalHandle(p1), h);
    EXPECT_TRUE(GlobalUnlock(h)); // still locked once
    EXPECT_EQ(GlobalFlags(h) & GMEM_LOCKCOUNT, 1u);
    SetLastError(99);
    EXPECT_FALSE(GlobalUnlock(h)); // now unlocked
    EXPECT_EQ(GetLastError(), DWORD(NO_ERROR));
    EXPECT_FALSE(GlobalUnlock(h));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_LOCKED));
    EXPECT_EQ(GlobalFree(h), nullptr);
}

TEST(GlobalMemory, ReAllocGrowsKeepingContents)
{
    for (UINT flags : {UINT(GMEM_MOVEABLE), UINT(GMEM_FIXED)}) {
        SCOPED_TRACE(flags);
        HGLOBAL h = GlobalAlloc(flags, 4);
        ASSERT_NE(h, nullptr);
        std::memcpy(GlobalLock(h), "abcd", 4);
        GlobalUnlock(h);
        HGLOBAL h2 = GlobalReAlloc(h, 4096, GMEM_MOVEABLE | GMEM_ZEROINIT);
        ASSERT_NE(h2, nullptr);
        if (flags == GMEM_MOVEABLE) {
            EXPECT_EQ(h2, h); // a moveable block keeps its handle
        }
        EXPECT_EQ(GlobalSize(h2), 4096u);
        auto* p = static_cast<char*>(GlobalLock(h2));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(std::memcmp(p, "abcd", 4), 0);
        for (int i = 4; i < 4096; ++i)
            ASSERT_EQ(p[i], 0) << i;
        GlobalUnlock(h2);
        // Shrinking keeps the start.
        HGLOBAL h3 = GlobalReAlloc(h2, 2, GMEM_MOVEABLE);
        ASSERT_NE(h3, nullptr);
        EXPECT_EQ(GlobalSize(h3), 2u);
        EXPECT_EQ(std::memcmp(GlobalLock(h3), "ab", 2), 0);
        GlobalUnlock(h3);
        EXPECT_EQ(GlobalFree(h3), nullptr);
    }
}

TEST(GlobalMemory, FixedBlockDoesNotMoveUnlessAllowed)
{
    HGLOBAL h = GlobalAlloc(GMEM_FIXED, 8);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GlobalReAlloc(h, 1 << 20, 0), nullptr);
    EXPECT_EQ(GlobalSize(h), 8u);
    EXPECT_EQ(GlobalFree(h), nullptr);
}

TEST(GlobalMemory, FreeingALockedBlockAndStaleHandles)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 32);
    ASSERT_NE(h, nullptr);
    void* p = GlobalLock(h);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(GlobalFree(h), nullptr); // a lock does not keep the block
    EXPECT_EQ(GlobalLock(h), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GlobalSize(h), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GlobalFlags(h), UINT(GMEM_INVALID_HANDLE));
    EXPECT_FALSE(GlobalUnlock(h));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GlobalReAlloc(h, 64, GMEM_MOVEABLE), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GlobalFree(h), h); // failure returns the handle
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GlobalHandle(p), nullptr);
    EXPECT_EQ(GlobalFree(nullptr), nullptr);

    HGLOBAL f = GlobalAlloc(GMEM_FIXED, 8);
    ASSERT_EQ(GlobalFree(f), nullptr);
    EXPECT_EQ(GlobalSize(f), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GlobalFree(f), f);
    // An address inside no block and a made-up handle.
    int local = 0;
    EXPECT_EQ(GlobalSize(&local), 0u);
    EXPECT_EQ(GlobalLock(reinterpret_cast<HGLOBAL>(uintptr_t(0x12345678))), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
}

TEST(GlobalMemory, ZeroByteMoveableBlockIsDiscarded)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 0);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GlobalSize(h), 0u);
    EXPECT_TRUE(GlobalFlags(h) & GMEM_DISCARDED);
    EXPECT_EQ(GlobalLock(h), nullptr);
    HGLOBAL h2 = GlobalReAlloc(h, 10, GMEM_MOVEABLE);
    ASSERT_EQ(h2, h);
    EXPECT_FALSE(GlobalFlags(h) & GMEM_DISCARDED);
    EXPECT_NE(GlobalLock(h), nullptr);
    GlobalUnlock(h);
    EXPECT_EQ(GlobalFree(h), nullptr);
}

TEST(LocalMemory, SameRulesAsGlobal)
{
    HLOCAL f = LocalAlloc(LPTR, 12);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(LocalLock(f), f);
    EXPECT_EQ(static_cast<char*>(f)[11], 0);
    EXPECT_EQ(LocalSize(f), 12u);
    EXPECT_EQ(LocalFree(f), nullptr);
    HLOCAL m = LocalAlloc(LHND, 12);
    ASSERT_NE(m, nullptr);
    void* p = LocalLock(m);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(LocalFlags(m) & LMEM_LOCKCOUNT, 1u);
    EXPECT_EQ(LocalHandle(p), m);
    LocalUnlock(m);
    HLOCAL m2 = LocalReAlloc(m, 100, LMEM_MOVEABLE);
    ASSERT_EQ(m2, m);
    EXPECT_EQ(LocalSize(m), 100u);
    EXPECT_EQ(LocalFree(m), nullptr);
    EXPECT_EQ(LocalFree(m), m);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
}

TEST(HeapMemory, AllocReAllocSizeFree)
{
    HANDLE heap = GetProcessHeap();
    ASSERT_NE(heap, nullptr);
    auto* p = static_cast<unsigned char*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, 64));
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 64; ++i)
        ASSERT_EQ(p[i], 0);
    EXPECT_EQ(HeapSize(heap, 0, p), 64u);
    std::memset(p, 7, 64);
    auto* q = static_cast<unsigned char*>(HeapReAlloc(heap, HEAP_ZERO_MEMORY, p, 128));
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(HeapSize(heap, 0, q), 128u);
    EXPECT_EQ(q[63], 7);
    EXPECT_EQ(q[64], 0);
    EXPECT_EQ(q[127], 0);
    EXPECT_TRUE(HeapFree(heap, 0, q));
    EXPECT_TRUE(HeapFree(heap, 0, nullptr));

    HANDLE own = HeapCreate(0, 0, 0);
    ASSERT_NE(own, nullptr);
    void* a = HeapAlloc(own, 0, 10);
    ASSERT_NE(a, nullptr);
    void* b = HeapAlloc(own, 0, 20);
    ASSERT_NE(b, nullptr);
    EXPECT_TRUE(HeapFree(own, 0, a));
    EXPECT_TRUE(HeapDestroy(own)); // takes b with it
    EXPECT_EQ(HeapAlloc(own, 0, 10), nullptr);
    EXPECT_FALSE(HeapDestroy(own));
}

TEST(ProcessMemory, ReadAndWriteOwnMemory)
{
    char source[16] = "process memory";
    char target[16] = {};
    SIZE_T n = 0;
    ASSERT_TRUE(ReadProcessMemory(GetCurrentProcess(), source, target, sizeof source, &n));
    EXPECT_EQ(n, sizeof source);
    EXPECT_STREQ(target, "process memory");
    char patch[4] = "PRO";
    ASSERT_TRUE(WriteProcessMemory(GetCurrentProcess(), source, patch, 3, &n));
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(std::memcmp(source, "PROcess", 7), 0);
    EXPECT_TRUE(ReadProcessMemory(GetCurrentProcess(), source, target, 0, &n));
    EXPECT_EQ(n, 0u);
}

TEST(ProcessMemory, UnmappedAndPartialRangesFailCleanly)
{
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    // Two pages; the second is given back so it is surely unmapped.
    auto* base = static_cast<char*>(mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(base, MAP_FAILED);
    ASSERT_EQ(munmap(base + page, page), 0);
    std::memset(base, 'x', page);
    std::vector<char> buf(2 * page, 0);
    SIZE_T n = 99;

    EXPECT_FALSE(ReadProcessMemory(GetCurrentProcess(), base + page, buf.data(), 16, &n));
    EXPECT_EQ(n, 0u);
    EXPECT_TRUE(GetLastError() == DWORD(ERROR_PARTIAL_COPY) || GetLastError() == DWORD(ERROR_NOACCESS))
        << GetLastError();
    EXPECT_FALSE(WriteProcessMemory(GetCurrentProcess(), base + page, buf.data(), 16, &n));
    EXPECT_EQ(n, 0u);

    // From the last 8 bytes of the mapped page on: 8 bytes come across.
    n = 0;
    EXPECT_FALSE(ReadProcessMemory(GetCurrentProcess(), base + page - 8, buf.data(), 64, &n));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PARTIAL_COPY));
    EXPECT_EQ(n, 8u);
    EXPECT_EQ(std::string(buf.data(), 8), "xxxxxxxx");
    n = 0;
    EXPECT_FALSE(WriteProcessMemory(GetCurrentProcess(), base + page - 8, "abcdefghijkl", 12, &n));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_PARTIAL_COPY));
    EXPECT_EQ(n, 8u);
    EXPECT_EQ(std::memcmp(base + page - 8, "abcdefgh", 8), 0);

    // A null local buffer and a stale process handle.
    EXPECT_FALSE(ReadProcessMemory(GetCurrentProcess(), base, nullptr, 4, &n));
    EXPECT_FALSE(ReadProcessMemory(reinterpret_cast<HANDLE>(uintptr_t(0x4444)), base, buf.data(), 4, &n));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_EQ(munmap(base, page), 0);
}

} // namespace
