// Temporary: the parts of vk::Region these tests use, until core/region.cpp
// is on main. Delete this file then.
//
// The test program is not linked with pixman itself (only the layer is), so
// the pixman calls the Region header makes inline are forwarded to the
// library the layer loaded.
#include "core/region.h"

#include <dlfcn.h>

#define VK_FORWARD(ret, name, params, args)                                                                    \
    extern "C" ret name params                                                                                 \
    {                                                                                                          \
        static auto real = reinterpret_cast<decltype(&name)>(dlsym(RTLD_NEXT, #name));                        \
        return real args;                                                                                      \
    }

VK_FORWARD(void, pixman_region32_init, (pixman_region32_t * r), (r))
VK_FORWARD(void, pixman_region32_fini, (pixman_region32_t * r), (r))
VK_FORWARD(pixman_bool_t, pixman_region32_not_empty, (const pixman_region32_t* r), (r))
VK_FORWARD(void, pixman_region32_init_rect, (pixman_region32_t * r, int x, int y, unsigned w, unsigned h),
           (r, x, y, w, h))
VK_FORWARD(pixman_bool_t, pixman_region32_union_rect,
           (pixman_region32_t * d, const pixman_region32_t* s, int x, int y, unsigned w, unsigned h),
           (d, s, x, y, w, h))

namespace vk {

Region::Region(int left, int top, int right, int bottom)
{
    if (right > left && bottom > top)
        pixman_region32_init_rect(&m_r, left, top, unsigned(right - left), unsigned(bottom - top));
    else
        pixman_region32_init(&m_r);
}

Region::Region(const RECT& rc) : Region(rc.left, rc.top, rc.right, rc.bottom) {}

void Region::unite(const RECT& rc)
{
    if (rc.right > rc.left && rc.bottom > rc.top)
        pixman_region32_union_rect(&m_r, &m_r, rc.left, rc.top, unsigned(rc.right - rc.left), unsigned(rc.bottom - rc.top));
}

} // namespace vk
