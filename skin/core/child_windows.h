// Small operations on child windows shared by the top-level procedure, the
// frame painter and the control skins. None keeps state.
#pragma once

#include <windows.h>

namespace velkaro::skin {

// Like presentControlImage over the control's whole window rectangle, but
// pixels of the key colour leave the composite image as it was.
void presentControlImageKeyed(HWND control, HDC canvas, COLORREF key, bool useToolbarSlot);

// The DC (GetDC of the window when none is given) with the window's visible
// children clipped out, clamped to the size the window was last rendered at.
HDC excludeChildWindows(HWND window, HDC dc = nullptr);
// The same for the visible children that are not skinned, without clamping.
HDC excludeUnskinnedChildren(HWND window, HDC dc = nullptr);

// The window rectangle relative to the parent's client area; empty for an
// attached top-level window.
RECT childRectInParent(HWND window);

// Copies the window's part of its owner's composite image onto the window.
void repaintFromComposite(HWND window, bool useToolbarSlot, bool unskinnedOnly, HDC dc = nullptr);

void invalidateVisibleChildren(HWND window);
void invalidateTransparentChildren(HWND window);

// Marks the cached pictures of the window's toolbars stale.
void markControlsStale(HWND window);

} // namespace velkaro::skin
