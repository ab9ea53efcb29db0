// Moving, sizing and maximizing a window that has no system frame: mouse
// presses on the painted frame start the system's own move and size loops.
#pragma once

#include <windows.h>

namespace velkaro::skin {

// For WM_LBUTTONDOWN; may run the modal move or size loop before returning.
void beginMoveOrSize(int slot, LPARAM lParam, const RECT& client);
// For WM_MOUSEMOVE while not maximized.
void updateSizingCursor(int slot, LPARAM lParam, const RECT& client);

// The size a maximized window may take beside the taskbar. The full-screen
// correction form takes a vertical taskbar's width off whether it shows or not.
SIZE workAreaSize(bool fullScreenCorrection = false);

} // namespace velkaro::skin
