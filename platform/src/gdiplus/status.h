// How GDI+ calls refuse: every failing status passes through refuse(), which
// also records a matching Win32 error through vk::fail.
#pragma once

#include <gdiplus.h>

namespace vk::gdiplus {

Gdiplus::Status refuse(Gdiplus::Status status);

// True between GdiplusStartup and the last GdiplusShutdown.
bool started();

} // namespace vk::gdiplus

// Takes the API lock for the rest of the flat function.
#define VK_GDIP_LOCK() std::lock_guard<std::recursive_mutex> vkGdipLock_(::vk::gdiplus::apiLock())
