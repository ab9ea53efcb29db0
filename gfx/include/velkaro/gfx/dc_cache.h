// The process-wide list of memory DCs the skin keeps with a bitmap selected,
// so a DC can be torn down (old bitmap back, its bitmap deleted) from
// wherever it was made.
#ifndef VELKARO_GFX_DC_CACHE_H
#define VELKARO_GFX_DC_CACHE_H

#include <windows.h>

#include <cstddef>

namespace velkaro::gfx {

struct CachedDc {
    HDC dc;
    HBITMAP bitmap;   // selected into dc by the caller
    HBITMAP previous; // what that selection replaced
};

// Makes the list (cacheDc makes it too when it is missing).
void createDcCache();
// Frees the list's memory; the DCs still listed are left alone, not deleted.
void freeDcCache();
// Lists dc, or replaces the two bitmaps of its entry when it is listed.
void cacheDc(HDC dc, HBITMAP bitmap, HBITMAP previous);
// Selects the previous bitmap back, deletes the bitmap that deselects and
// the DC, and drops the entry: 1. 0 when dc is 0 or not listed.
int releaseCachedDc(HDC dc);
size_t dcCacheCount();
// The entry of dc, or null.
const CachedDc* findCachedDc(HDC dc);

} // namespace velkaro::gfx

#endif
