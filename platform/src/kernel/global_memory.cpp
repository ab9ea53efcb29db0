// Global and local memory (one allocator behind both families, as on Win32),
// the process heap, and VirtualAlloc.
//
// A moveable block is a kernel handle; its bytes are reached through
// GlobalLock, which counts locks. A fixed block's handle is its address.
#include "kernel/global_memory.h"

#include "kernel/kernel_objects.h"

#include "core/last_error.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <sys/mman.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>

using namespace vk::kernel;

namespace {

class GlobalBlock : public KernelObject {
public:
    ~GlobalBlock() override { std::free(data); }
    bool closableByCloseHandle() const override { return false; }

    void* data = nullptr;
    size_t size = 0;
    size_t capacity = 0;
    unsigned locks = 0;
    UINT flags = 0;
    bool fixed = false;
    bool discarded = false;
    HGLOBAL handle = nullptr;
};

// Fixed blocks by address; guarded by kernelMutex().
std::unordered_map<const void*, std::shared_ptr<GlobalBlock>>& fixedBlocks()
{
    static auto* m = new std::unordered_map<const void*, std::shared_ptr<GlobalBlock>>;
    return *m;
}

// Moveable blocks by their current address, for GlobalHandle; guarded by kernelMutex().
std::unordered_map<const void*, HGLOBAL>& moveableAddresses()
{
    static auto* m = new std::unordered_map<const void*, HGLOBAL>;
    return *m;
}

// Finds a block by handle. Call with kernelMutex() held for the fixed map.
std::shared_ptr<GlobalBlock> blockFor(HGLOBAL h)
{
    if (!h)
        return nullptr;
    {
        std::lock_guard lock(kernelMutex());
        auto it = fixedBlocks().find(h);
        if (it != fixedBlocks().end())
            return it->second;
    }
    auto b = lookup<GlobalBlock>(h);
    return b && !b->fixed ? b : nullptr;
}

// Grows or shrinks the bytes of b, possibly moving them; call with
// kernelMutex() held and only for an unlocked block.
bool resizeData(GlobalBlock& b, size_t bytes, bool zero, bool roomToGrow)
{
    if (bytes > b.capacity || (bytes == 0 && b.data) || (!roomToGrow && bytes < b.capacity / 2)) {
        size_t cap = bytes;
        if (roomToGrow && bytes > b.capacity)
            cap = std::max(bytes, b.capacity + b.capacity / 2);
        void* p = cap ? std::realloc(b.data, cap) : nullptr;
        if (cap && !p)
            return false;
        if (!cap)
            std::free(b.data);
        if (!b.fixed && b.data)
            moveableAddresses().erase(b.data);
        b.data = p;
        b.capacity = cap;
        if (!b.fixed && b.data)
            moveableAddresses()[b.data] = b.handle;
    }
    if (zero && bytes > b.size)
        std::memset(static_cast<char*>(b.data) + b.size, 0, bytes - b.size);
    b.size = bytes;
    b.discarded = bytes == 0 && !b.fixed;
    return true;
}

HGLOBAL allocate(UINT uFlags, SIZE_T dwBytes)
{
    auto b = std::make_shared<GlobalBlock>();
    b->fixed = !(uFlags & GMEM_MOVEABLE);
    b->flags = uFlags & GMEM_DISCARDABLE;
    // A zero-byte fixed block still needs an address to be its handle.
    size_t bytes = dwBytes ? dwBytes : (b->fixed ? 1 : 0);
    if (bytes) {
        b->data = (uFlags & GMEM_ZEROINIT) ? std::calloc(1, bytes) : std::malloc(bytes);
        if (!b->data)
            return vk::failWith<HGLOBAL>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
        b->capacity = bytes;
    }
    b->size = dwBytes;
    b->discarded = !b->fixed && dwBytes == 0;
    if (b->fixed) {
        std::lock_guard lock(kernelMutex());
        b->handle = b->data;
        fixedBlocks()[b->data] = b;
        return b->handle;
    }
    HGLOBAL h = addHandle(b);
    if (!h)
        return vk::failWith<HGLOBAL>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
    std::lock_guard lock(kernelMutex());
    b->handle = h;
    if (b->data)
        moveableAddresses()[b->data] = h;
    return h;
}

} // namespace

namespace vk::kernel {

bool resizeGlobal(HGLOBAL hMem, size_t bytes)
{
    auto b = blockFor(hMem);
    if (!b)
        return false;
    std::lock_guard lock(kernelMutex());
    if ((b->locks || b->fixed) && bytes > b->capacity)
        return false; // the bytes would move under a caller's pointer
    if (b->locks || b->fixed) {
        if (bytes > b->size)
            std::memset(static_cast<char*>(b->data) + b->size, 0, bytes - b->size);
        b->size = bytes;
        return true;
    }
    return resizeData(*b, bytes, true, true);
}

} // namespace vk::kernel

extern "C" {

HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes)
{
    if (dwBytes > (SIZE_T(1) << 40))
        return vk::failWith<HGLOBAL>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
    return allocate(uFlags, dwBytes);
}

HGLOBAL WINAPI GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT uFlags)
{
    auto b = blockFor(hMem);
    if (!b)
        return vk::failWith<HGLOBAL>(ERROR_INVALID_HANDLE, nullptr);
    std::lock_guard lock(kernelMutex());
    if (uFlags & GMEM_MODIFY) {
        b->flags = uFlags & GMEM_DISCARDABLE;
        return hMem;
    }
    if (dwBytes > (SIZE_T(1) << 40))
        return vk::failWith<HGLOBAL>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
    const bool zero = uFlags & GMEM_ZEROINIT;
    if (b->fixed) {
        // A fixed block moves only when the caller allows it.
        size_t bytes = dwBytes ? dwBytes : 1;
        if (bytes <= b->capacity) {
            resizeData(*b, bytes, zero, true);
            b->size = dwBytes;
            return hMem;
        }
        if (!(uFlags & GMEM_MOVEABLE))
            return vk::failWith<HGLOBAL>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
        auto node = fixedBlocks().extract(b->data);
        if (!resizeData(*b, bytes, zero, false)) {
            fixedBlocks().insert(std::move(node));
            return vk::failWith<HGLOBAL>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
        }
        b->size = dwBytes;
        b->handle = b->data;
        fixedBlocks()[b->data] = b;
        return b->handle;
    }
    // A locked moveable block stays where it is: it may change size only
    // within the room it already has.
    if (b->locks) {
        if (dwBytes > b->capacity)
            return vk::failWith<HGLOBAL>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
        if (zero && dwBytes > b->size)
            std::memset(static_cast<char*>(b->data) + b->size, 0, dwBytes - b->size);
        b->size = dwBytes;
        return hMem;
    }
    if (!resizeData(*b, dwBytes, zero, false))
        return vk::failWith<HGLOBAL>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
    return hMem;
}

LPVOID WINAPI GlobalLock(HGLOBAL hMem)
{
    auto b = blockFor(hMem);
    if (!b)
        return vk::failWith<LPVOID>(ERROR_INVALID_HANDLE, nullptr);
    std::lock_guard lock(kernelMutex());
    if (b->fixed)
        return b->data;
    if (b->discarded || !b->data)
        return vk::failWith<LPVOID>(ERROR_DISCARDED, nullptr);
    if (b->locks < GMEM_LOCKCOUNT)
        ++b->locks;
    return b->data;
}

BOOL WINAPI GlobalUnlock(HGLOBAL hMem)
{
    auto b = blockFor(hMem);
    if (!b)
        return vk::failWith(ERROR_INVALID_HANDLE, FALSE);
    std::lock_guard lock(kernelMutex());
    if (b->fixed)
        return vk::failWith(ERROR_NOT_LOCKED, FALSE);
    if (b->locks == 0)
        return vk::failWith(ERROR_NOT_LOCKED, FALSE);
    if (--b->locks)
        return TRUE;
    SetLastError(NO_ERROR); // unlocked now: FALSE without an error
    return FALSE;
}

SIZE_T WINAPI GlobalSize(HGLOBAL hMem)
{
    auto b = blockFor(hMem);
    if (!b)
        return vk::failWith<SIZE_T>(ERROR_INVALID_HANDLE, 0);
    std::lock_guard lock(kernelMutex());
    return b->size;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL hMem)
{
    if (!hMem)
        return nullptr;
    std::shared_ptr<GlobalBlock> b;
    {
        std::lock_guard lock(kernelMutex());
        auto it = fixedBlocks().find(hMem);
        if (it != fixedBlocks().end()) {
            b = std::move(it->second);
            fixedBlocks().erase(it);
            return nullptr;
        }
    }
    b = lookup<GlobalBlock>(hMem);
    if (!b)
        return vk::failWith(ERROR_INVALID_HANDLE, hMem);
    removeHandle(hMem);
    std::lock_guard lock(kernelMutex());
    if (b->data)
        moveableAddresses().erase(b->data);
    return nullptr;
}

HGLOBAL WINAPI GlobalHandle(LPCVOID pMem)
{
    std::lock_guard lock(kernelMutex());
    if (fixedBlocks().count(pMem))
        return const_cast<LPVOID>(pMem);
    auto it = moveableAddresses().find(pMem);
    if (it != moveableAddresses().end())
        return it->second;
    return vk::failWith<HGLOBAL>(ERROR_INVALID_HANDLE, nullptr);
}

UINT WINAPI GlobalFlags(HGLOBAL hMem)
{
    auto b = blockFor(hMem);
    if (!b)
        return vk::failWith<UINT>(ERROR_INVALID_HANDLE, GMEM_INVALID_HANDLE);
    std::lock_guard lock(kernelMutex());
    return (b->locks & GMEM_LOCKCOUNT) | b->flags | (b->discarded ? GMEM_DISCARDED : 0);
}

HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes)
{
    return GlobalAlloc(uFlags, uBytes);
}
HLOCAL WINAPI LocalReAlloc(HLOCAL hMem, SIZE_T uBytes, UINT uFlags)
{
    return GlobalReAlloc(hMem, uBytes, uFlags);
}
LPVOID WINAPI LocalLock(HLOCAL hMem)
{
    return GlobalLock(hMem);
}
BOOL WINAPI LocalUnlock(HLOCAL hMem)
{
    return GlobalUnlock(hMem);
}
SIZE_T WINAPI LocalSize(HLOCAL hMem)
{
    return GlobalSize(hMem);
}
HLOCAL WINAPI LocalFree(HLOCAL hMem)
{
    return GlobalFree(hMem);
}
HLOCAL WINAPI LocalHandle(LPCVOID pMem)
{
    return GlobalHandle(pMem);
}
UINT WINAPI LocalFlags(HLOCAL hMem)
{
    return GlobalFlags(hMem);
}

} // extern "C"

// ---- heaps -----------------------------------------------------------------

namespace {

class Heap : public KernelObject {
public:
    ~Heap() override
    {
        for (auto& [p, size] : blocks)
            std::free(const_cast<void*>(p));
    }
    bool closableByCloseHandle() const override { return false; }
    std::unordered_map<const void*, size_t> blocks; // guarded by kernelMutex()
};

HANDLE processHeapHandle()
{
    static HANDLE h = addHandle(std::make_shared<Heap>());
    return h;
}

} // namespace

extern "C" {

HANDLE WINAPI GetProcessHeap(void)
{
    return processHeapHandle();
}

HANDLE WINAPI HeapCreate(DWORD, SIZE_T, SIZE_T)
{
    HANDLE h = addHandle(std::make_shared<Heap>());
    return h ? h : vk::failWith<HANDLE>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
}

BOOL WINAPI HeapDestroy(HANDLE hHeap)
{
    if (hHeap == processHeapHandle() || !lookup<Heap>(hHeap))
        return vk::failWith(ERROR_INVALID_HANDLE, FALSE);
    removeHandle(hHeap);
    return TRUE;
}

LPVOID WINAPI HeapAlloc(HANDLE hHeap, DWORD dwFlags, SIZE_T dwBytes)
{
    auto heap = lookup<Heap>(hHeap);
    if (!heap)
        return vk::failWith<LPVOID>(ERROR_INVALID_HANDLE, nullptr);
    void* p = (dwFlags & HEAP_ZERO_MEMORY) ? std::calloc(1, dwBytes ? dwBytes : 1) : std::malloc(dwBytes ? dwBytes : 1);
    if (!p)
        return vk::failWith<LPVOID>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
    std::lock_guard lock(kernelMutex());
    heap->blocks[p] = dwBytes;
    return p;
}

LPVOID WINAPI HeapReAlloc(HANDLE hHeap, DWORD dwFlags, LPVOID lpMem, SIZE_T dwBytes)
{
    auto heap = lookup<Heap>(hHeap);
    if (!heap)
        return vk::failWith<LPVOID>(ERROR_INVALID_HANDLE, nullptr);
    std::lock_guard lock(kernelMutex());
    auto it = heap->blocks.find(lpMem);
    if (it == heap->blocks.end())
        return vk::failWith<LPVOID>(ERROR_INVALID_PARAMETER, nullptr);
    size_t old = it->second;
    if ((dwFlags & HEAP_REALLOC_IN_PLACE_ONLY) && dwBytes > old)
        return vk::failWith<LPVOID>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
    void* p = std::realloc(lpMem, dwBytes ? dwBytes : 1);
    if (!p)
        return vk::failWith<LPVOID>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
    heap->blocks.erase(it);
    if ((dwFlags & HEAP_ZERO_MEMORY) && dwBytes > old)
        std::memset(static_cast<char*>(p) + old, 0, dwBytes - old);
    heap->blocks[p] = dwBytes;
    return p;
}

BOOL WINAPI HeapFree(HANDLE hHeap, DWORD, LPVOID lpMem)
{
    auto heap = lookup<Heap>(hHeap);
    if (!heap)
        return vk::failWith(ERROR_INVALID_HANDLE, FALSE);
    if (!lpMem)
        return TRUE;
    std::lock_guard lock(kernelMutex());
    auto it = heap->blocks.find(lpMem);
    if (it == heap->blocks.end())
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    heap->blocks.erase(it);
    std::free(lpMem);
    return TRUE;
}

SIZE_T WINAPI HeapSize(HANDLE hHeap, DWORD, LPCVOID lpMem)
{
    auto heap = lookup<Heap>(hHeap);
    if (!heap)
        return vk::failWith<SIZE_T>(ERROR_INVALID_HANDLE, SIZE_T(-1));
    std::lock_guard lock(kernelMutex());
    auto it = heap->blocks.find(lpMem);
    if (it == heap->blocks.end())
        return vk::failWith<SIZE_T>(ERROR_INVALID_PARAMETER, SIZE_T(-1));
    return it->second;
}

} // extern "C"

// ---- virtual memory ----------------------------------------------------------

namespace {

std::map<uintptr_t, size_t>& regions()
{
    static auto* m = new std::map<uintptr_t, size_t>;
    return *m;
}

int protectionFor(DWORD flProtect)
{
    switch (flProtect & 0xFF) {
    case PAGE_NOACCESS:
        return PROT_NONE;
    case PAGE_READONLY:
        return PROT_READ;
    case PAGE_READWRITE:
    case PAGE_WRITECOPY:
        return PROT_READ | PROT_WRITE;
    case PAGE_EXECUTE:
        return PROT_EXEC;
    case PAGE_EXECUTE_READ:
        return PROT_READ | PROT_EXEC;
    case PAGE_EXECUTE_READWRITE:
        return PROT_READ | PROT_WRITE | PROT_EXEC;
    default:
        return -1;
    }
}

DWORD protectFlagsOf(int prot)
{
    if (prot == PROT_NONE)
        return PAGE_NOACCESS;
    if (prot & PROT_EXEC)
        return (prot & PROT_WRITE) ? PAGE_EXECUTE_READWRITE : (prot & PROT_READ) ? PAGE_EXECUTE_READ : PAGE_EXECUTE;
    return (prot & PROT_WRITE) ? PAGE_READWRITE : PAGE_READONLY;
}

// The region holding [p, p + n); call with kernelMutex() held.
bool insideRegion(uintptr_t p, size_t n)
{
    auto& r = regions();
    auto it = r.upper_bound(p);
    if (it == r.begin())
        return false;
    --it;
    return p >= it->first && p + n <= it->first + it->second;
}

size_t pageSize()
{
    static const size_t s = size_t(::sysconf(_SC_PAGESIZE));
    return s;
}

std::map<uintptr_t, int>& protections()
{
    static auto* m = new std::map<uintptr_t, int>;
    return *m;
}

} // namespace

extern "C" {

LPVOID WINAPI VirtualAlloc(LPVOID lpAddress, SIZE_T dwSize, DWORD flAllocationType, DWORD flProtect)
{
    int prot = protectionFor(flProtect);
    if (!dwSize || prot < 0 || !(flAllocationType & (MEM_COMMIT | MEM_RESERVE)))
        return vk::failWith<LPVOID>(ERROR_INVALID_PARAMETER, nullptr);
    const size_t page = pageSize();
    std::lock_guard lock(kernelMutex());
    if (lpAddress) {
        // Committing inside a reservation we made.
        uintptr_t start = uintptr_t(lpAddress) & ~(page - 1);
        size_t len = ((uintptr_t(lpAddress) + dwSize + page - 1) & ~(page - 1)) - start;
        if (!insideRegion(start, len))
            return vk::failWith<LPVOID>(ERROR_INVALID_ADDRESS, nullptr);
        int p = (flAllocationType & MEM_COMMIT) ? prot : PROT_NONE;
        if (::mprotect(reinterpret_cast<void*>(start), len, p) != 0)
            return vk::failWith<LPVOID>(ERROR_INVALID_ADDRESS, nullptr);
        return reinterpret_cast<LPVOID>(start);
    }
    size_t len = (dwSize + page - 1) & ~(page - 1);
    int p = (flAllocationType & MEM_COMMIT) ? prot : PROT_NONE;
    void* m = ::mmap(nullptr, len, p, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (m == MAP_FAILED)
        return vk::failWith<LPVOID>(ERROR_NOT_ENOUGH_MEMORY, nullptr);
    regions()[uintptr_t(m)] = len;
    protections()[uintptr_t(m)] = p;
    return m;
}

BOOL WINAPI VirtualFree(LPVOID lpAddress, SIZE_T dwSize, DWORD dwFreeType)
{
    std::lock_guard lock(kernelMutex());
    if (dwFreeType == MEM_RELEASE) {
        auto it = regions().find(uintptr_t(lpAddress));
        if (dwSize != 0 || it == regions().end())
            return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
        ::munmap(lpAddress, it->second);
        protections().erase(it->first);
        regions().erase(it);
        return TRUE;
    }
    if (dwFreeType == MEM_DECOMMIT) {
        const size_t page = pageSize();
        uintptr_t start = uintptr_t(lpAddress) & ~(page - 1);
        auto it = regions().find(start);
        size_t len = dwSize ? ((uintptr_t(lpAddress) + dwSize + page - 1) & ~(page - 1)) - start
                            : (it != regions().end() ? it->second : 0);
        if (!len || !insideRegion(start, len))
            return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
        // Fresh zero pages in place of the old ones, unreachable until committed again.
        ::mmap(reinterpret_cast<void*>(start), len, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED | MAP_NORESERVE,
               -1, 0);
        return TRUE;
    }
    return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
}

BOOL WINAPI VirtualProtect(LPVOID lpAddress, SIZE_T dwSize, DWORD flNewProtect, PDWORD lpflOldProtect)
{
    int prot = protectionFor(flNewProtect);
    if (prot < 0 || !lpflOldProtect)
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    const size_t page = pageSize();
    uintptr_t start = uintptr_t(lpAddress) & ~(page - 1);
    size_t len = ((uintptr_t(lpAddress) + dwSize + page - 1) & ~(page - 1)) - start;
    std::lock_guard lock(kernelMutex());
    if (!insideRegion(start, len))
        return vk::failWith(ERROR_INVALID_ADDRESS, FALSE);
    auto it = regions().upper_bound(start);
    --it;
    int& old = protections()[it->first];
    if (::mprotect(reinterpret_cast<void*>(start), len, prot) != 0)
        return vk::failWith(ERROR_INVALID_ADDRESS, FALSE);
    *lpflOldProtect = protectFlagsOf(old);
    old = prot;
    return TRUE;
}

} // extern "C"
