// Owned 32-bit pixel buffers (see surface.h).
#include "core/surface.h"

#include <cstring>
#include <new>
#include <utility>

namespace vk {

namespace {

constexpr int kRowAlign = 16;

int alignedStride(int width) { return ((width * 4 + kRowAlign - 1) / kRowAlign) * kRowAlign; }

uint32_t* allocPixels(int stride, int height)
{
    size_t bytes = size_t(stride) * size_t(height);
    void* p = std::aligned_alloc(kRowAlign, bytes ? bytes : kRowAlign);
    if (p)
        std::memset(p, 0, bytes);
    return static_cast<uint32_t*>(p);
}

} // namespace

OwnedSurface::OwnedSurface(int width, int height)
{
    if (width <= 0 || height <= 0 || width > 65536 || height > 65536)
        return;
    int stride = alignedStride(width);
    uint32_t* bits = allocPixels(stride, height);
    if (!bits)
        return;
    m_s = Surface{bits, width, height, stride};
}

OwnedSurface::~OwnedSurface() { std::free(m_s.bits); }

OwnedSurface::OwnedSurface(OwnedSurface&& o) noexcept : m_s(o.m_s) { o.m_s = Surface{}; }

OwnedSurface& OwnedSurface::operator=(OwnedSurface&& o) noexcept
{
    if (this != &o) {
        std::free(m_s.bits);
        m_s = o.m_s;
        o.m_s = Surface{};
    }
    return *this;
}

bool OwnedSurface::resize(int width, int height, uint32_t fill)
{
    if (width <= 0 || height <= 0 || width > 65536 || height > 65536)
        return false;
    if (width == m_s.width && height == m_s.height)
        return true;
    int stride = alignedStride(width);
    uint32_t* bits = allocPixels(stride, height);
    if (!bits)
        return false;
    Surface n{bits, width, height, stride};
    for (int y = 0; y < height; ++y) {
        uint32_t* row = n.row(y);
        int keep = 0;
        if (m_s.bits && y < m_s.height) {
            keep = width < m_s.width ? width : m_s.width;
            std::memcpy(row, m_s.row(y), size_t(keep) * 4);
        }
        for (int x = keep; x < width; ++x)
            row[x] = fill;
    }
    std::free(m_s.bits);
    m_s = n;
    return true;
}

} // namespace vk
