// The region behind an HRGN, for the window manager.
#include "gdi/gdi_objects.h"
#include "user/draw_target.h"

namespace vk::gdi {

Region* regionObject(HRGN rgn)
{
    RegionObj* r = getRegion(rgn);
    return r ? &r->rgn : nullptr;
}

} // namespace vk::gdi
