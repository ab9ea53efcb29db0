// A 32-bit pixel buffer: the pixels of a top-level window on screen, or of a
// GDI bitmap. Pixels are 0xAARRGGBB words (BGRA bytes in memory), as in a
// 32-bit top-down DIB; GDI ignores the alpha byte except where Win32 reads it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace vk {

struct Surface {
    uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0; // bytes per row; rows run top-down

    uint32_t* row(int y) const { return reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(bits) + ptrdiff_t(y) * stride); }
    bool valid() const { return bits && width > 0 && height > 0; }
};

// Owns the memory of a Surface (zero-filled, 16-byte aligned rows).
class OwnedSurface {
public:
    OwnedSurface() = default;
    OwnedSurface(int width, int height);
    ~OwnedSurface();
    OwnedSurface(const OwnedSurface&) = delete;
    OwnedSurface& operator=(const OwnedSurface&) = delete;
    OwnedSurface(OwnedSurface&& o) noexcept;
    OwnedSurface& operator=(OwnedSurface&& o) noexcept;

    // Reallocates to the new size keeping the overlapping top-left pixels;
    // new pixels are filled with fill.
    bool resize(int width, int height, uint32_t fill = 0);

    Surface& get() { return m_s; }
    const Surface& get() const { return m_s; }

private:
    Surface m_s;
};

} // namespace vk
