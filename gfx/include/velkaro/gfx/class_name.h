// A window's class name, as the skin picks a control family by it.
#ifndef VELKARO_GFX_CLASS_NAME_H
#define VELKARO_GFX_CLASS_NAME_H

#include <windows.h>

#include <string>

namespace velkaro::gfx {

// Empty for a window that is not there.
std::string className(HWND hwnd);

} // namespace velkaro::gfx

#endif
