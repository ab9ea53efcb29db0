// Control canvases: a memory DC holding the skinned frame's pixels behind a
// control, so a control painter draws over the window's picture instead of a
// flat colour, then hands the result back to the window's composite image.
#pragma once

#include <windows.h>

namespace velkaro::skin {

// A canvas of the rectangle (control coordinates) holding the frame behind
// it; 0 when the control belongs to no attached window. Released with
// gfx::releaseCachedDc.
HDC makeControlCanvas(HWND control, const RECT& rect);

// Copies the canvas into the owner's composite image at the control's client
// area (or its whole window rectangle), leaving the control's visible
// children out.
void presentControlImage(HWND control, HDC canvas, bool useToolbarSlot, bool wholeWindow);

// The window's rectangle relative to the window rectangle of the attached
// window it belongs to.
RECT rectInTopWindow(HWND window);
// rectInTopWindow without the window's border.
RECT clientRectInTopWindow(HWND window);

// The slot a control's painter works for: Kj_FuID or Hw_FuID, else Hw_lbID.
int ownerSlotOf(HWND window, bool useToolbarSlot);

} // namespace velkaro::skin
