// The table of kernel handles (files, searches, processes, events, heaps,
// global memory blocks) and the one lock and condition every wait uses.
//
// A handle owns a shared reference to its object, so a duplicated handle or
// a call still running on another thread keeps the object alive after
// CloseHandle. Waitable state changes under kernelMutex() and is announced on
// kernelCondition(); waits recheck their objects after each announcement.
#pragma once

#include "core/handle_table.h"

#include <windef.h>

#include <condition_variable>
#include <memory>
#include <mutex>

namespace vk::kernel {

class KernelObject {
public:
    virtual ~KernelObject() = default;
    // Objects freed by their own call (GlobalFree, HeapDestroy, FindClose)
    // refuse CloseHandle.
    virtual bool closableByCloseHandle() const { return true; }
    virtual bool waitable() const { return false; }
    // The two below run with kernelMutex() held.
    virtual bool signaled(DWORD threadId) const { return false; }
    // Takes the signal a satisfied wait consumes (auto-reset event, mutex, semaphore).
    virtual void consume(DWORD threadId) {}
};

std::mutex& kernelMutex();
std::condition_variable& kernelCondition();

// Adds a handle for obj; null when the table is full. Takes kernelMutex().
HANDLE addHandle(std::shared_ptr<KernelObject> obj);

// The object behind a handle if it is a T; null for stale, foreign or other
// handles. Takes kernelMutex().
std::shared_ptr<KernelObject> lookupAny(HANDLE h);
template <class T>
std::shared_ptr<T> lookup(HANDLE h)
{
    return std::dynamic_pointer_cast<T>(lookupAny(h));
}

// Removes a handle; returns its object (null when stale). Takes kernelMutex().
std::shared_ptr<KernelObject> removeHandle(HANDLE h);

// The pseudo handle of the current process and of the calling thread.
inline HANDLE currentProcessPseudoHandle() { return reinterpret_cast<HANDLE>(intptr_t(-1)); }
inline HANDLE currentThreadPseudoHandle() { return reinterpret_cast<HANDLE>(intptr_t(-2)); }

} // namespace vk::kernel
