// Docked panels of the X desktop (task bars, docks), in screen coordinates.
// The layer offers the first one as the "Shell_TrayWnd" window.
#pragma once

#include <windef.h>

#include <vector>

struct _XDisplay; // Xlib's Display; callers need no Xlib headers

namespace vk {

// Panels on the display of the running X11 backend; empty without one.
std::vector<RECT> x11Panels();
// Windows of type _NET_WM_WINDOW_TYPE_DOCK that are shown; when there are
// none, the strips of the screen outside the work area.
std::vector<RECT> x11Panels(_XDisplay* dpy);

} // namespace vk
