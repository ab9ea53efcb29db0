// 32-bit DIB sections.
#include <velkaro/gfx/dib.h>

namespace velkaro::gfx {

HBITMAP createDib32(int w, int h)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h; // positive: rows bottom-up, GDI's own order
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
}

} // namespace velkaro::gfx
