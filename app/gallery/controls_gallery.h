// A window holding one of every control the platform offers, in the system
// look: a place to see and try them, on X11 or the headless screen.
#pragma once

#include <windows.h>

namespace velkaro::gallery {

inline constexpr const char* kGalleryClass = "VelkaroControlsGallery";

// Registers the class (once) and creates the window, hidden.
HWND createControlsGallery();

// Creates the controls on any parent (the skinned gallery reuses them).
void addGalleryControls(HWND parent);

} // namespace velkaro::gallery
