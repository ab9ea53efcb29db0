// The window procedure of an attached top-level window, and its teardown.
#pragma once

#include <windows.h>

namespace velkaro::skin {

LRESULT CALLBACK skinnedWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Frees the window's record and DCs, gives the window its procedure back and
// renumbers the slots kept in the properties of the remaining windows.
void detachWindow(HWND window);

} // namespace velkaro::skin
