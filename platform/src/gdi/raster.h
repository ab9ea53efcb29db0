// The drawing core every GDI call goes through: a Target resolves a DC to
// the pixels it may touch, and a few primitives paint regions, rectangles
// and ROP3 blits onto it with the DC's colours.
#pragma once

#include "gdi/gdi_objects.h"

namespace vk::gdi {

// What a DC draws on during one call. Made by acquire(); on destruction it
// records damage for window DCs and writes shadows back to DIB memory.
class Target {
public:
    Target() = default;
    ~Target();
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

    DcObj* dc = nullptr;
    Surface surf;        // invalid for the screen DC or a window that is gone
    POINT devOrg{};      // device (0, 0) in surface coordinates
    POINT org{};         // logical (0, 0) in surface coordinates
    Region clip;         // surface coordinates
    Region* damage = nullptr;
    BitmapObj* bmp = nullptr;
    bool mono = false;

    bool drawable() const { return surf.valid() && !clip.empty(); }
    POINT toSurf(int x, int y) const { return POINT{x + org.x, y + org.y}; }
    RECT toSurf(const RECT& rc) const { return RECT{rc.left + org.x, rc.top + org.y, rc.right + org.x, rc.bottom + org.y}; }
    uint32_t color(COLORREF c) const { return mono ? monoOf(pixelOf(c)) : pixelOf(c); }
    void touch(const RECT& rc);

private:
    RECT m_touched{};
    bool m_any = false;
};

// Resolves dc. Returns false (last error set) for a stale or non-DC handle;
// a DC without pixels returns true with !drawable().
bool acquire(HDC dc, Target& t);
// A read-only view of a DC's pixels (sources of blits, GetPixel).
bool sourceOf(HDC dc, Target& t);

// A colour source: nothing, one colour or a brush pattern.
struct Paint {
    enum class Kind { None, Solid, Pattern, Hatch } kind = Kind::None;
    uint32_t color = 0;          // Solid; the hatch lines' colour
    const Surface* pat = nullptr; // Pattern
    bool patMono = false;        // mono pattern: black -> fg, white -> bg
    uint32_t fg = 0, bg = 0;
    uint8_t hatchBits[8]{};
    bool skipBg = false;         // hatch in TRANSPARENT mode leaves gaps
    int ox = 0, oy = 0;          // pattern origin, surface coordinates

    bool none() const { return kind == Kind::None; }
    // The colour at a surface pixel; false where nothing is painted.
    bool at(int x, int y, uint32_t& out) const;
};

Paint brushPaint(const Target& t, HBRUSH brush);
Paint solidPaint(uint32_t pixel);

uint32_t applyRop2(int rop2, uint32_t pen, uint32_t dst);
uint32_t applyRop3(uint8_t rop3, uint32_t p, uint32_t s, uint32_t d);
inline bool ropUsesSource(DWORD rop) { uint8_t r = uint8_t(rop >> 16); return ((r >> 2) ^ r) & 0x33; }
inline bool ropUsesPattern(DWORD rop) { uint8_t r = uint8_t(rop >> 16); return ((r >> 4) ^ r) & 0x0F; }

// Paints a region (surface coordinates), clipped to the target's clip.
void paintRegion(Target& t, const Region& rgn, const Paint& paint, int rop2);
void paintRect(Target& t, const RECT& rc, const Paint& paint, int rop2);

// Source of a ROP3 blit: pixel (x, y) of s lands on the destination rectangle's
// top-left corner; pixels are converted between mono and colour as GDI does.
struct BlitSource {
    const Surface* s = nullptr;
    int x = 0, y = 0;
    enum class Conv { None, MonoToColor, ColorToMono } conv = Conv::None;
    uint32_t fg = 0, bg = 0; // MonoToColor: black -> fg (text colour), white -> bg
    uint32_t srcBk = 0;      // ColorToMono: this colour -> white, others -> black
};
void ropBlit(Target& t, const RECT& dst, const BlitSource* src, const Paint* pat, DWORD rop);

// Conversion between a DC's logical units and its device units.
POINT logicalToDevice(const DcObj& dc, int x, int y);

} // namespace vk::gdi
