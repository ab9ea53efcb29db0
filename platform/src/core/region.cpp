// vk::Region: a thin owner of a pixman region (see region.h).
#include "core/region.h"

namespace vk {

Region::Region(const RECT& rc) : Region(rc.left, rc.top, rc.right, rc.bottom) {}

Region::Region(int left, int top, int right, int bottom)
{
    if (right > left && bottom > top)
        pixman_region32_init_rect(&m_r, left, top, unsigned(right - left), unsigned(bottom - top));
    else
        pixman_region32_init(&m_r);
}

Region::Region(const Region& o)
{
    pixman_region32_init(&m_r);
    pixman_region32_copy(&m_r, const_cast<pixman_region32_t*>(&o.m_r));
}

Region::Region(Region&& o) noexcept
{
    pixman_region32_init(&m_r);
    pixman_region32_copy(&m_r, &o.m_r);
    pixman_region32_clear(&o.m_r);
}

Region& Region::operator=(const Region& o)
{
    if (this != &o)
        pixman_region32_copy(&m_r, const_cast<pixman_region32_t*>(&o.m_r));
    return *this;
}

Region& Region::operator=(Region&& o) noexcept
{
    if (this != &o) {
        pixman_region32_copy(&m_r, &o.m_r);
        pixman_region32_clear(&o.m_r);
    }
    return *this;
}

void Region::clear() { pixman_region32_clear(&m_r); }

void Region::setRect(const RECT& rc) { setRect(rc.left, rc.top, rc.right, rc.bottom); }

void Region::setRect(int left, int top, int right, int bottom)
{
    pixman_region32_fini(&m_r);
    if (right > left && bottom > top)
        pixman_region32_init_rect(&m_r, left, top, unsigned(right - left), unsigned(bottom - top));
    else
        pixman_region32_init(&m_r);
}

RECT Region::bounds() const
{
    if (empty())
        return RECT{0, 0, 0, 0};
    const pixman_box32_t* b = pixman_region32_extents(const_cast<pixman_region32_t*>(&m_r));
    return RECT{b->x1, b->y1, b->x2, b->y2};
}

bool Region::contains(int x, int y) const
{
    return pixman_region32_contains_point(const_cast<pixman_region32_t*>(&m_r), x, y, nullptr);
}

bool Region::intersectsRect(const RECT& rc) const
{
    if (rc.right <= rc.left || rc.bottom <= rc.top)
        return false;
    pixman_box32_t box{rc.left, rc.top, rc.right, rc.bottom};
    return pixman_region32_contains_rectangle(const_cast<pixman_region32_t*>(&m_r), &box) != PIXMAN_REGION_OUT;
}

void Region::unite(const Region& o) { pixman_region32_union(&m_r, &m_r, const_cast<pixman_region32_t*>(&o.m_r)); }

void Region::unite(const RECT& rc)
{
    if (rc.right > rc.left && rc.bottom > rc.top)
        pixman_region32_union_rect(&m_r, &m_r, rc.left, rc.top, unsigned(rc.right - rc.left), unsigned(rc.bottom - rc.top));
}

void Region::intersect(const Region& o) { pixman_region32_intersect(&m_r, &m_r, const_cast<pixman_region32_t*>(&o.m_r)); }

void Region::intersect(const RECT& rc)
{
    if (rc.right <= rc.left || rc.bottom <= rc.top) {
        clear();
        return;
    }
    pixman_region32_intersect_rect(&m_r, &m_r, rc.left, rc.top, unsigned(rc.right - rc.left), unsigned(rc.bottom - rc.top));
}

void Region::subtract(const Region& o) { pixman_region32_subtract(&m_r, &m_r, const_cast<pixman_region32_t*>(&o.m_r)); }

void Region::subtract(const RECT& rc)
{
    Region r(rc);
    subtract(r);
}

void Region::xorWith(const Region& o)
{
    Region both(*this);
    both.intersect(o);
    unite(o);
    subtract(both);
}

void Region::translate(int dx, int dy) { pixman_region32_translate(&m_r, dx, dy); }

std::vector<RECT> Region::rects() const
{
    int n = 0;
    const pixman_box32_t* b = pixman_region32_rectangles(const_cast<pixman_region32_t*>(&m_r), &n);
    std::vector<RECT> out;
    out.reserve(size_t(n));
    for (int i = 0; i < n; ++i)
        out.push_back(RECT{b[i].x1, b[i].y1, b[i].x2, b[i].y2});
    return out;
}

bool Region::operator==(const Region& o) const
{
    return pixman_region32_equal(const_cast<pixman_region32_t*>(&m_r), const_cast<pixman_region32_t*>(&o.m_r));
}

} // namespace vk
