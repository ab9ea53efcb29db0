// Child-control discovery: the control attach routines, run in their fixed
// order over a parent's direct children.
#pragma once

#include <windows.h>

namespace velkaro::skin {

// Runs every control attach routine, in order, with the owner's slot and the
// parent to search (the attached window itself or a container).
void attachChildControls(int slot, HWND parent);

} // namespace velkaro::skin
