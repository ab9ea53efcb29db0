// GDI+ regions through the flat table.
#include <velkaro/gfx/region.h>

namespace velkaro::gfx {

bool Region::create()
{
    Gdiplus::GpRegion* region = nullptr;
    return adopt(callFlat(&FlatApi::GdipCreateRegion, &region), region);
}

bool Region::release()
{
    return releaseWith(&FlatApi::GdipDeleteRegion, m_region);
}

} // namespace velkaro::gfx
