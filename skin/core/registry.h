// The registry of attached windows: a 1-based list whose positions are slot
// numbers, and the lookups every handler and painter starts from.
#pragma once

#include "skin/core/window_skin.h"

namespace velkaro::skin {

using SkinRegistry = SkinList<WindowSkin>;

// The process-wide registry; exists (empty) from start-up to exit.
SkinRegistry& skinRegistry();

// The record at a slot; a slot outside the registry is the fatal error.
inline WindowSkin& skinAt(int slot) { return skinRegistry().at(slot); }
inline bool isValidSlot(int slot) { return skinRegistry().contains(slot); }

// The slot of the first record for the window, or 0.
int findSkinSlot(HWND window);
// findSkinSlot of the window, then of each parent up to the root owner; 0
// when no ancestor is registered.
int findSkinSlotUpward(HWND window);
// The position of the window in the slot's containers list, or 0.
int findContainerIndex(int slot, HWND window);

} // namespace velkaro::skin
