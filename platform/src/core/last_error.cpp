// The thread's last error and vk::fail, the one place every refused call
// passes through.
#include "core/last_error.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

thread_local DWORD t_lastError = ERROR_SUCCESS;

} // namespace

namespace vk {

bool traceFailures()
{
    static const bool on = [] {
        const char* v = std::getenv("VELKARO_TRACE_FAILURES");
        return v && *v && std::strcmp(v, "0") != 0;
    }();
    return on;
}

void fail(DWORD err)
{
    t_lastError = err;
    if (traceFailures())
        std::fprintf(stderr, "velkaro: call failed, error %u\n", static_cast<unsigned>(err));
}

} // namespace vk

extern "C" {

DWORD WINAPI GetLastError(void)
{
    return t_lastError;
}

void WINAPI SetLastError(DWORD dwErrCode)
{
    t_lastError = dwErrCode;
}

} // extern "C"
