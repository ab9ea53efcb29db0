// The thread's last error, and the one function every refused call passes
// through: a breakpoint on vk::fail finds each of them.
#pragma once

#include <windef.h>

namespace vk {

// Sets the last error to err and returns nothing; callers return their own
// Win32 failure value right after.
void fail(DWORD err);

// Helper for the common shape `return vk::failWith(ERROR_..., FALSE);`.
template <class T>
T failWith(DWORD err, T value)
{
    fail(err);
    return value;
}

// Environment switch VELKARO_TRACE_FAILURES=1 prints each failure to stderr.
bool traceFailures();

} // namespace vk
