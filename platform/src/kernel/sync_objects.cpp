// Events, mutexes, semaphores and critical sections. Named objects are shared
// within the process: creating an existing name opens it and reports
// ERROR_ALREADY_EXISTS.
#include "kernel/kernel_objects.h"

#include "core/last_error.h"

#include <windows.h>

#include <climits>
#include <map>
#include <string>

using namespace vk::kernel;

namespace {

class Event : public KernelObject {
public:
    Event(bool manual, bool initial) : m_manual(manual), m_set(initial) {}
    bool waitable() const override { return true; }
    bool signaled(DWORD) const override { return m_set; }
    void consume(DWORD) override
    {
        if (!m_manual)
            m_set = false;
    }
    void set(bool on) { m_set = on; }

private:
    bool m_manual;
    bool m_set;
};

class Mutex : public KernelObject {
public:
    bool waitable() const override { return true; }
    bool signaled(DWORD tid) const override { return m_count == 0 || m_owner == tid; }
    void consume(DWORD tid) override
    {
        m_owner = tid;
        ++m_count;
    }
    bool release(DWORD tid)
    {
        if (m_count == 0 || m_owner != tid)
            return false;
        if (--m_count == 0)
            m_owner = 0;
        return true;
    }

private:
    DWORD m_owner = 0;
    unsigned m_count = 0;
};

class Semaphore : public KernelObject {
public:
    Semaphore(LONG initial, LONG maximum) : m_count(initial), m_max(maximum) {}
    bool waitable() const override { return true; }
    bool signaled(DWORD) const override { return m_count > 0; }
    void consume(DWORD) override { --m_count; }
    bool release(LONG n, LONG* previous)
    {
        if (n <= 0 || n > m_max - m_count)
            return false;
        if (previous)
            *previous = m_count;
        m_count += n;
        return true;
    }

private:
    LONG m_count;
    LONG m_max;
};

std::map<std::string, std::weak_ptr<KernelObject>>& namedObjects()
{
    static auto* names = new std::map<std::string, std::weak_ptr<KernelObject>>;
    return *names;
}

// Opens name if it exists (as a T), else creates it with make().
template <class T, class Make>
HANDLE createNamed(LPCSTR name, Make make)
{
    std::shared_ptr<KernelObject> obj;
    bool existed = false;
    {
        std::lock_guard lock(kernelMutex());
        if (name && *name) {
            auto& slot = namedObjects()[name];
            obj = slot.lock();
            if (obj) {
                if (!std::dynamic_pointer_cast<T>(obj))
                    return vk::failWith<HANDLE>(ERROR_INVALID_HANDLE, nullptr);
                existed = true;
            } else {
                obj = make();
                slot = obj;
            }
        } else {
            obj = make();
        }
    }
    HANDLE h = addHandle(obj);
    if (!h)
        return vk::failWith<HANDLE>(ERROR_NO_SYSTEM_RESOURCES, nullptr);
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return h;
}

BOOL setEvent(HANDLE h, bool on)
{
    auto ev = lookup<Event>(h);
    if (!ev)
        return vk::failWith(ERROR_INVALID_HANDLE, FALSE);
    {
        std::lock_guard lock(kernelMutex());
        ev->set(on);
    }
    kernelCondition().notify_all();
    return TRUE;
}

// The lock a CRITICAL_SECTION holds in its LockSemaphore field.
struct SectionLock {
    std::recursive_mutex mutex;
};

SectionLock* sectionLock(LPCRITICAL_SECTION cs)
{
    return cs ? static_cast<SectionLock*>(cs->LockSemaphore) : nullptr;
}

} // namespace

extern "C" {

HANDLE WINAPI CreateEventA(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState, LPCSTR lpName)
{
    return createNamed<Event>(lpName, [&] { return std::make_shared<Event>(bManualReset, bInitialState); });
}

BOOL WINAPI SetEvent(HANDLE hEvent)
{
    return setEvent(hEvent, true);
}

BOOL WINAPI ResetEvent(HANDLE hEvent)
{
    return setEvent(hEvent, false);
}

HANDLE WINAPI CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL bInitialOwner, LPCSTR lpName)
{
    HANDLE h = createNamed<Mutex>(lpName, [] { return std::make_shared<Mutex>(); });
    DWORD err = GetLastError();
    // An existing named mutex is opened but not taken.
    if (h && bInitialOwner && err != ERROR_ALREADY_EXISTS) {
        auto m = lookup<Mutex>(h);
        std::lock_guard lock(kernelMutex());
        m->consume(GetCurrentThreadId());
    }
    return h;
}

BOOL WINAPI ReleaseMutex(HANDLE hMutex)
{
    auto m = lookup<Mutex>(hMutex);
    if (!m)
        return vk::failWith(ERROR_INVALID_HANDLE, FALSE);
    {
        std::lock_guard lock(kernelMutex());
        if (!m->release(GetCurrentThreadId()))
            return vk::failWith(ERROR_NOT_OWNER, FALSE);
    }
    kernelCondition().notify_all();
    return TRUE;
}

HANDLE WINAPI CreateSemaphoreA(LPSECURITY_ATTRIBUTES, LONG lInitialCount, LONG lMaximumCount, LPCSTR lpName)
{
    if (lMaximumCount <= 0 || lInitialCount < 0 || lInitialCount > lMaximumCount)
        return vk::failWith<HANDLE>(ERROR_INVALID_PARAMETER, nullptr);
    return createNamed<Semaphore>(lpName,
                                  [&] { return std::make_shared<Semaphore>(lInitialCount, lMaximumCount); });
}

BOOL WINAPI ReleaseSemaphore(HANDLE hSemaphore, LONG lReleaseCount, LPLONG lpPreviousCount)
{
    auto s = lookup<Semaphore>(hSemaphore);
    if (!s)
        return vk::failWith(ERROR_INVALID_HANDLE, FALSE);
    {
        std::lock_guard lock(kernelMutex());
        if (!s->release(lReleaseCount, lpPreviousCount))
            return vk::failWith(ERROR_TOO_MANY_POSTS, FALSE);
    }
    kernelCondition().notify_all();
    return TRUE;
}

void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION cs)
{
    InitializeCriticalSectionAndSpinCount(cs, 0);
}

BOOL WINAPI InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION cs, DWORD dwSpinCount)
{
    if (!cs)
        return vk::failWith(ERROR_INVALID_PARAMETER, FALSE);
    *cs = CRITICAL_SECTION{};
    cs->LockCount = -1;
    cs->SpinCount = dwSpinCount;
    cs->LockSemaphore = new SectionLock;
    return TRUE;
}

void WINAPI EnterCriticalSection(LPCRITICAL_SECTION cs)
{
    if (SectionLock* l = sectionLock(cs)) {
        l->mutex.lock();
        cs->OwningThread = reinterpret_cast<HANDLE>(uintptr_t(GetCurrentThreadId()));
        ++cs->RecursionCount;
    }
}

BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION cs)
{
    SectionLock* l = sectionLock(cs);
    if (!l || !l->mutex.try_lock())
        return FALSE;
    cs->OwningThread = reinterpret_cast<HANDLE>(uintptr_t(GetCurrentThreadId()));
    ++cs->RecursionCount;
    return TRUE;
}

void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION cs)
{
    SectionLock* l = sectionLock(cs);
    HANDLE self = reinterpret_cast<HANDLE>(uintptr_t(GetCurrentThreadId()));
    if (!l || cs->RecursionCount <= 0 || cs->OwningThread != self)
        return;
    if (--cs->RecursionCount == 0)
        cs->OwningThread = nullptr;
    l->mutex.unlock();
}

void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION cs)
{
    if (SectionLock* l = sectionLock(cs)) {
        delete l;
        cs->LockSemaphore = nullptr;
    }
}

} // extern "C"
