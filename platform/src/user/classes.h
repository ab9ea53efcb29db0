// Window class lookup for the window manager and the controls that register
// the system classes ("BUTTON", "Edit", ...).
#pragma once

#include <windows.h>

#include <vector>

namespace vk::user {

struct WindowClass;

// By name (case-insensitive) or by atom (MAKEINTATOM).
WindowClass* findClass(LPCSTR name);

// Registers a class that belongs to the layer; it cannot be unregistered.
ATOM registerSystemClass(const WNDCLASSEXA& wc);

// Areas that provide system classes add a registrar here (from a static
// initialiser); they run once, before the first class lookup or window.
std::vector<void (*)()>& systemClassRegistrars();
void ensureSystemClasses();

} // namespace vk::user
