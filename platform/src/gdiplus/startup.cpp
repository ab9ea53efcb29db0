// GdiplusStartup/GdiplusShutdown, GdipAlloc/GdipFree and the status helper.
#include "gdiplus/live_objects.h"
#include "gdiplus/status.h"

#include "core/last_error.h"

#include <winerror.h>

#include <cstdlib>
#include <set>

namespace vk::gdiplus {

namespace {

std::set<ULONG_PTR>& tokens()
{
    static std::set<ULONG_PTR> t;
    return t;
}

ULONG_PTR g_nextToken = 0x5000;

DWORD win32ErrorFor(Gdiplus::Status s)
{
    switch (s) {
    case Gdiplus::OutOfMemory:
        return ERROR_NOT_ENOUGH_MEMORY;
    case Gdiplus::InsufficientBuffer:
        return ERROR_INSUFFICIENT_BUFFER;
    case Gdiplus::NotImplemented:
        return ERROR_CALL_NOT_IMPLEMENTED;
    case Gdiplus::FileNotFound:
        return ERROR_FILE_NOT_FOUND;
    case Gdiplus::AccessDenied:
        return ERROR_ACCESS_DENIED;
    case Gdiplus::UnknownImageFormat:
        return ERROR_INVALID_DATA;
    case Gdiplus::ValueOverflow:
        return ERROR_ARITHMETIC_OVERFLOW;
    default:
        return ERROR_INVALID_PARAMETER;
    }
}

} // namespace

Gdiplus::Status refuse(Gdiplus::Status status)
{
    vk::fail(win32ErrorFor(status));
    return status;
}

bool started()
{
    return !tokens().empty();
}

} // namespace vk::gdiplus

using namespace Gdiplus;
using namespace vk::gdiplus;

extern "C" Status WINAPI Gdiplus::GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInput* input,
                                                 GdiplusStartupOutput* output)
{
    VK_GDIP_LOCK();
    if (!token || !input)
        return refuse(InvalidParameter);
    if (input->GdiplusVersion < 1 || input->GdiplusVersion > 3)
        return refuse(UnsupportedGdiplusVersion);
    // With SuppressBackgroundThread the caller drives the hooks; there is no
    // background thread here, so the hooks do nothing.
    if (input->SuppressBackgroundThread) {
        if (!output)
            return refuse(InvalidParameter);
        output->NotificationHook = [](ULONG_PTR* t) -> Status {
            if (t)
                *t = 1;
            return Ok;
        };
        output->NotificationUnhook = [](ULONG_PTR) {};
    }
    ULONG_PTR t = ++g_nextToken;
    tokens().insert(t);
    *token = t;
    return Ok;
}

extern "C" VOID WINAPI Gdiplus::GdiplusShutdown(ULONG_PTR token)
{
    VK_GDIP_LOCK();
    // A zero, unknown or already used token does nothing.
    tokens().erase(token);
}

extern "C" void* WINGDIPAPI Gdiplus::DllExports::GdipAlloc(size_t size)
{
    return std::malloc(size ? size : 1);
}

extern "C" void WINGDIPAPI Gdiplus::DllExports::GdipFree(void* ptr)
{
    std::free(ptr);
}
