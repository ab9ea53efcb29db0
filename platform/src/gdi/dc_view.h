// What other areas of the layer (GDI+, the testing API) need of a DC: the
// pixels it draws on, where its origin lies, and which pixels it may touch.
#pragma once

#include "core/region.h"
#include "core/surface.h"

#include <windef.h>

namespace vk::gdi {

struct DcSurfaceView {
    Surface surface;          // the pixels the DC draws on (a window's surface or the selected bitmap)
    POINT origin{};           // the DC's logical (0, 0) in surface coordinates (viewport and window origins applied)
    Region clip;              // the pixels the DC may touch, surface coordinates (visible region ∩ clip region)
    Region* damage = nullptr; // non-null for window DCs: add every touched rectangle (surface coordinates)
    HWND window = nullptr;    // the window of a window DC
};

// Fills view for a DC; false for a stale handle or a DC with nothing to draw on
// (a memory DC that holds the 1 × 1 stock bitmap still counts as drawable).
bool dcSurfaceView(HDC dc, DcSurfaceView& view);

// Live GDI objects (DCs, bitmaps, pens, brushes, fonts, regions; stock objects
// are not counted) for the testing API.
size_t liveGdiObjectCount();

} // namespace vk::gdi
