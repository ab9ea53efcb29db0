// What GDI asks of the window manager to draw on a window: which surface,
// where the DC's origin lies in it and which pixels the DC may touch.
#pragma once

#include "core/region.h"
#include "core/surface.h"

#include <windef.h>

#include <cstdint>

namespace vk::user {

enum WindowDcFlags : unsigned {
    kDcWindow = 1u << 0,       // origin at the window's corner, non-client area included (GetWindowDC)
    kDcClipChildren = 1u << 1, // exclude visible children (also implied by WS_CLIPCHILDREN)
    kDcClipSiblings = 1u << 2, // exclude siblings above (also implied by WS_CLIPSIBLINGS)
    kDcPaint = 1u << 3,        // BeginPaint: clipped to the region being painted
    kDcNoClipStyles = 1u << 4, // ignore the window's own clip styles (GetDCEx without DCX_CACHE defaults)
};

struct WindowDrawTarget {
    Surface* surface = nullptr; // the top-level window's pixels; null when hidden or gone
    POINT origin{};             // the DC's (0, 0) in surface coordinates
    Region visible;             // surface coordinates; empty when nothing may be drawn
    Region* damage = nullptr;   // drawing adds what it touched (surface coordinates)
};

// Fills out for hwnd. paintClip, when given, is in the DC's own coordinates
// (client or window, per kDcWindow). Returns false for a dead window.
bool resolveWindowTarget(HWND hwnd, unsigned flags, const Region* paintClip, WindowDrawTarget& out);

// Changes whenever any window moves, sizes, shows, hides, restacks or takes a
// region, so a DC can keep its resolved target until the number changes.
uint64_t geometryGeneration();

} // namespace vk::user

namespace vk::gdi {

// Window DCs, made by GetDC, GetWindowDC, GetDCEx and BeginPaint.
HDC createWindowDc(HWND hwnd, unsigned flags, const Region* paintClip);
// Frees a DC made by createWindowDc; FALSE for any other DC.
bool releaseWindowDc(HDC dc);
// The window a DC draws on (WindowFromDC), or null.
HWND windowOfDc(HDC dc);
// Called when a window dies: its DCs stop drawing.
void windowDestroyed(HWND hwnd);

// The region behind an HRGN, or null for a stale handle (SetWindowRgn,
// GetUpdateRgn and the other window functions that take regions).
Region* regionObject(HRGN rgn);
// NULLREGION, SIMPLEREGION or COMPLEXREGION, as the region functions answer.
int regionComplexity(const Region& r);

} // namespace vk::gdi
