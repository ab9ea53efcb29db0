// 32-bit DIB sections, the off-screen surfaces the skin composes into.
#ifndef VELKARO_GFX_DIB_H
#define VELKARO_GFX_DIB_H

#include <windows.h>

namespace velkaro::gfx {

// A bottom-up 32 bpp DIB section of w x h; 0 on failure. The caller deletes it.
HBITMAP createDib32(int w, int h);

} // namespace velkaro::gfx

#endif
