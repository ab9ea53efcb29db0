// A region of pixels: the internal form of HRGN, of update regions and of
// the visible region of a DC. A thin owner of a pixman region.
#pragma once

#include <pixman.h>
#include <windef.h>

#include <vector>

namespace vk {

class Region {
public:
    Region() { pixman_region32_init(&m_r); }
    explicit Region(const RECT& rc);
    Region(int left, int top, int right, int bottom);
    Region(const Region& o);
    Region(Region&& o) noexcept;
    Region& operator=(const Region& o);
    Region& operator=(Region&& o) noexcept;
    ~Region() { pixman_region32_fini(&m_r); }

    void clear();
    void setRect(const RECT& rc);
    void setRect(int left, int top, int right, int bottom);
    bool empty() const { return !pixman_region32_not_empty(const_cast<pixman_region32_t*>(&m_r)); }
    RECT bounds() const;
    bool contains(int x, int y) const;
    bool intersectsRect(const RECT& rc) const;

    void unite(const Region& o);
    void unite(const RECT& rc);
    void intersect(const Region& o);
    void intersect(const RECT& rc);
    void subtract(const Region& o);
    void subtract(const RECT& rc);
    void xorWith(const Region& o);
    void translate(int dx, int dy);

    std::vector<RECT> rects() const;
    bool operator==(const Region& o) const;

    pixman_region32_t* raw() { return &m_r; }
    const pixman_region32_t* raw() const { return &m_r; }

private:
    pixman_region32_t m_r;
};

} // namespace vk
