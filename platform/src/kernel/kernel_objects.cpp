// Kernel handle table, CloseHandle/DuplicateHandle and the wait functions.
#include "kernel/kernel_objects.h"

#include "core/last_error.h"

#include <windows.h>

#include <chrono>
#include <vector>

namespace vk::kernel {
namespace {

struct HandleSlot {
    std::shared_ptr<KernelObject> obj;
};

HandleTable<HandleSlot>& table()
{
    static auto* t = new HandleTable<HandleSlot>(HandleKind::Kernel);
    return *t;
}

} // namespace

std::mutex& kernelMutex()
{
    static auto* m = new std::mutex;
    return *m;
}

std::condition_variable& kernelCondition()
{
    static auto* c = new std::condition_variable;
    return *c;
}

HANDLE addHandle(std::shared_ptr<KernelObject> obj)
{
    std::lock_guard lock(kernelMutex());
    uintptr_t v = table().add(std::make_unique<HandleSlot>(HandleSlot{std::move(obj)}));
    return reinterpret_cast<HANDLE>(v);
}

std::shared_ptr<KernelObject> lookupAny(HANDLE h)
{
    std::lock_guard lock(kernelMutex());
    HandleSlot* s = table().get(h);
    return s ? s->obj : nullptr;
}

std::shared_ptr<KernelObject> removeHandle(HANDLE h)
{
    std::unique_ptr<HandleSlot> slot;
    {
        std::lock_guard lock(kernelMutex());
        slot = table().remove(reinterpret_cast<uintptr_t>(h));
    }
    return slot ? std::move(slot->obj) : nullptr;
}

// The object behind the current-process pseudo handle: never signaled.
class CurrentProcessWaitable : public KernelObject {
public:
    bool waitable() const override { return true; }
};

std::shared_ptr<KernelObject> waitTarget(HANDLE h)
{
    if (h == currentProcessPseudoHandle() || h == currentThreadPseudoHandle()) {
        static auto* self = new std::shared_ptr<KernelObject>(std::make_shared<CurrentProcessWaitable>());
        return *self;
    }
    auto obj = lookupAny(h);
    return obj && obj->waitable() ? obj : nullptr;
}

} // namespace vk::kernel

using namespace vk::kernel;

extern "C" {

BOOL WINAPI CloseHandle(HANDLE hObject)
{
    if (hObject == currentProcessPseudoHandle() || hObject == currentThreadPseudoHandle())
        return TRUE;
    auto obj = lookupAny(hObject);
    if (!obj || !obj->closableByCloseHandle())
        return vk::failWith(ERROR_INVALID_HANDLE, FALSE);
    // The object dies outside the lock: a file's close or a heap's release
    // must not hold up other threads.
    obj = removeHandle(hObject);
    obj.reset();
    return TRUE;
}

BOOL WINAPI DuplicateHandle(HANDLE hSourceProcessHandle, HANDLE hSourceHandle, HANDLE hTargetProcessHandle,
                            LPHANDLE lpTargetHandle, DWORD dwDesiredAccess, BOOL bInheritHandle, DWORD dwOptions)
{
    auto isSelf = [](HANDLE p) { return p == currentProcessPseudoHandle(); };
    if (!isSelf(hSourceProcessHandle) || !isSelf(hTargetProcessHandle))
        return vk::failWith(ERROR_INVALID_HANDLE, FALSE);
    auto obj = lookupAny(hSourceHandle);
    if (!obj || !obj->closableByCloseHandle())
        return vk::failWith(ERROR_INVALID_HANDLE, FALSE);
    HANDLE dup = addHandle(obj);
    if (!dup)
        return vk::failWith(ERROR_NO_SYSTEM_RESOURCES, FALSE);
    if (dwOptions & DUPLICATE_CLOSE_SOURCE)
        removeHandle(hSourceHandle);
    if (lpTargetHandle)
        *lpTargetHandle = dup;
    else
        removeHandle(dup);
    return TRUE;
}

DWORD WINAPI WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds)
{
    if (nCount == 0 || nCount > MAXIMUM_WAIT_OBJECTS || !lpHandles)
        return vk::failWith(ERROR_INVALID_PARAMETER, WAIT_FAILED);
    std::vector<std::shared_ptr<KernelObject>> objs;
    for (DWORD i = 0; i < nCount; ++i) {
        auto obj = waitTarget(lpHandles[i]);
        if (!obj)
            return vk::failWith(ERROR_INVALID_HANDLE, WAIT_FAILED);
        objs.push_back(std::move(obj));
    }
    // Waits on kernel objects run on real time: child processes and other
    // threads do not follow the headless backend's virtual clock.
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(dwMilliseconds);
    const DWORD tid = GetCurrentThreadId();
    std::unique_lock lock(kernelMutex());
    bool timedOut = false;
    for (;;) {
        if (bWaitAll) {
            bool all = true;
            for (auto& o : objs)
                all = all && o->signaled(tid);
            if (all) {
                for (auto& o : objs)
                    o->consume(tid);
                return WAIT_OBJECT_0;
            }
        } else {
            for (DWORD i = 0; i < nCount; ++i) {
                if (objs[i]->signaled(tid)) {
                    objs[i]->consume(tid);
                    return WAIT_OBJECT_0 + i;
                }
            }
        }
        if (timedOut)
            return WAIT_TIMEOUT;
        if (dwMilliseconds == INFINITE)
            kernelCondition().wait(lock);
        else if (kernelCondition().wait_until(lock, deadline) == std::cv_status::timeout)
            timedOut = true; // one last look: the state may have changed as the time ran out
    }
}

DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds)
{
    return WaitForMultipleObjects(1, &hHandle, FALSE, dwMilliseconds);
}

} // extern "C"
