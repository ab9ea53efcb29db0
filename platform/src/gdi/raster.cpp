// The drawing core: targets, colour sources and the painting primitives.
#include "gdi/raster.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vk::gdi {

namespace {

const uint8_t kHatch[6][8] = {
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00}, // HS_HORIZONTAL
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08}, // HS_VERTICAL
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}, // HS_FDIAGONAL
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, // HS_BDIAGONAL
    {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08}, // HS_CROSS
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}, // HS_DIAGCROSS
};

int floorMod(int a, int m)
{
    int r = a % m;
    return r < 0 ? r + m : r;
}

} // namespace

POINT logicalToDevice(const DcObj& dc, int x, int y)
{
    return POINT{x - dc.st.windowOrg.x + dc.st.viewportOrg.x, y - dc.st.windowOrg.y + dc.st.viewportOrg.y};
}

Target::~Target()
{
    if (!m_any)
        return;
    if (damage)
        damage->unite(m_touched);
    if (bmp && bmp->shadowed())
        bmp->push();
}

void Target::touch(const RECT& rc)
{
    if (rc.right <= rc.left || rc.bottom <= rc.top)
        return;
    if (!m_any) {
        m_touched = rc;
        m_any = true;
        return;
    }
    m_touched.left = std::min(m_touched.left, rc.left);
    m_touched.top = std::min(m_touched.top, rc.top);
    m_touched.right = std::max(m_touched.right, rc.right);
    m_touched.bottom = std::max(m_touched.bottom, rc.bottom);
}

static bool resolve(HDC hdc, Target& t)
{
    DcObj* dc = getDc(hdc);
    if (!dc)
        return failWith(ERROR_INVALID_HANDLE, false);
    t.dc = dc;
    switch (dc->kind) {
    case DcObj::Kind::Screen:
        return true;
    case DcObj::Kind::Memory: {
        BitmapObj* b = getBitmap(dc->st.bitmap);
        if (!b)
            return true;
        if (b->shadowed())
            b->pull();
        t.bmp = b;
        t.surf = b->surf;
        t.mono = b->mono;
        t.clip.setRect(0, 0, b->width, b->height);
        break;
    }
    case DcObj::Kind::Window: {
        if (dc->dead)
            return true;
        uint64_t gen = user::geometryGeneration();
        if (gen != dc->targetGen) {
            user::WindowDrawTarget wt;
            const Region* pc = dc->paintClip ? &*dc->paintClip : nullptr;
            if (!user::resolveWindowTarget(dc->hwnd, dc->flags, pc, wt)) {
                dc->dead = true;
                return true;
            }
            dc->target = std::move(wt);
            dc->targetGen = gen;
        }
        if (!dc->target.surface)
            return true;
        t.surf = *dc->target.surface;
        t.devOrg = dc->target.origin;
        t.clip = dc->target.visible;
        t.clip.intersect(RECT{0, 0, t.surf.width, t.surf.height});
        t.damage = dc->target.damage;
        break;
    }
    }
    if (dc->st.hasClip) {
        Region c = dc->st.clip;
        c.translate(t.devOrg.x, t.devOrg.y);
        t.clip.intersect(c);
    }
    POINT d = logicalToDevice(*dc, 0, 0);
    t.org = POINT{d.x + t.devOrg.x, d.y + t.devOrg.y};
    return true;
}

bool acquire(HDC dc, Target& t) { return resolve(dc, t); }

bool sourceOf(HDC dc, Target& t)
{
    if (!resolve(dc, t))
        return false;
    // A source is read whole, whatever its clip region says.
    if (t.surf.valid() && t.dc->kind == DcObj::Kind::Memory)
        t.clip.setRect(0, 0, t.surf.width, t.surf.height);
    return true;
}

Paint solidPaint(uint32_t pixel)
{
    Paint p;
    p.kind = Paint::Kind::Solid;
    p.color = pixel;
    return p;
}

Paint brushPaint(const Target& t, HBRUSH hbr)
{
    Paint p;
    BrushObj* b = getBrush(hbr);
    if (!b || !t.dc)
        return p;
    const DcState& st = t.dc->st;
    p.ox = st.brushOrg.x + t.devOrg.x;
    p.oy = st.brushOrg.y + t.devOrg.y;
    switch (b->style) {
    case BS_SOLID:
        p.kind = Paint::Kind::Solid;
        p.color = t.color(b->dcBrush ? st.dcBrushColor : b->color);
        break;
    case BS_HATCHED:
        p.kind = Paint::Kind::Hatch;
        p.color = t.color(b->color);
        p.bg = t.color(st.bkColor);
        p.skipBg = st.bkMode == TRANSPARENT;
        std::memcpy(p.hatchBits, kHatch[b->hatch < 6 ? b->hatch : 0], 8);
        break;
    case BS_PATTERN:
    case BS_DIBPATTERN:
    case BS_DIBPATTERNPT:
        if (!b->pattern.get().valid())
            break;
        p.kind = Paint::Kind::Pattern;
        p.pat = &b->pattern.get();
        p.patMono = b->monoPattern && !t.mono;
        p.fg = t.color(st.textColor);
        p.bg = t.color(st.bkColor);
        break;
    default:
        break;
    }
    return p;
}

bool Paint::at(int x, int y, uint32_t& out) const
{
    switch (kind) {
    case Kind::None:
        return false;
    case Kind::Solid:
        out = color;
        return true;
    case Kind::Hatch: {
        int px = floorMod(x - ox, 8), py = floorMod(y - oy, 8);
        if (hatchBits[py] & (0x80 >> px)) {
            out = color;
            return true;
        }
        if (skipBg)
            return false;
        out = bg;
        return true;
    }
    case Kind::Pattern: {
        int px = floorMod(x - ox, pat->width), py = floorMod(y - oy, pat->height);
        uint32_t v = pat->row(py)[px] & 0xFFFFFF;
        out = patMono ? (v ? bg : fg) : v;
        return true;
    }
    }
    return false;
}

uint32_t applyRop2(int rop2, uint32_t p, uint32_t d)
{
    switch (rop2) {
    case R2_COPYPEN:
        return p;
    case R2_XORPEN:
        return p ^ d;
    case R2_NOT:
        return ~d;
    case R2_NOP:
        return d;
    case R2_BLACK:
        return 0;
    case R2_WHITE:
        return 0xFFFFFF;
    default:
        break;
    }
    if (rop2 < R2_BLACK || rop2 > R2_WHITE)
        return p;
    unsigned table = unsigned(rop2 - 1);
    uint32_t r = 0;
    for (unsigned i = 0; i < 4; ++i)
        if (table & (1u << i))
            r |= ((i & 2) ? p : ~p) & ((i & 1) ? d : ~d);
    return r;
}

uint32_t applyRop3(uint8_t rop3, uint32_t p, uint32_t s, uint32_t d)
{
    switch (rop3) {
    case 0xCC: return s;
    case 0xEE: return s | d;
    case 0x88: return s & d;
    case 0x66: return s ^ d;
    case 0x44: return s & ~d;
    case 0x33: return ~s;
    case 0xF0: return p;
    case 0x5A: return p ^ d;
    case 0x55: return ~d;
    case 0xC0: return p & s;
    default: break;
    }
    uint32_t r = 0;
    for (unsigned i = 0; i < 8; ++i)
        if (rop3 & (1u << i))
            r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    return r;
}

static void paintSpan(Target& t, int y, int x0, int x1, const Paint& paint, int rop2)
{
    uint32_t* row = t.surf.row(y);
    if (paint.kind == Paint::Kind::Solid) {
        uint32_t c = paint.color;
        if (rop2 == R2_COPYPEN) {
            std::fill(row + x0, row + x1, c);
            return;
        }
        for (int x = x0; x < x1; ++x)
            row[x] = applyRop2(rop2, c, row[x]);
        return;
    }
    uint32_t c;
    for (int x = x0; x < x1; ++x)
        if (paint.at(x, y, c))
            row[x] = applyRop2(rop2, c, row[x]);
    if (t.mono)
        for (int x = x0; x < x1; ++x)
            row[x] = monoOf(row[x]);
}

void paintRegion(Target& t, const Region& rgn, const Paint& paint, int rop2)
{
    if (!t.drawable() || paint.none() || rop2 == R2_NOP)
        return;
    Region r(rgn);
    r.intersect(t.clip);
    if (r.empty())
        return;
    t.touch(r.bounds());
    int n = 0;
    const pixman_box32_t* b = pixman_region32_rectangles(r.raw(), &n);
    for (int i = 0; i < n; ++i)
        for (int y = b[i].y1; y < b[i].y2; ++y)
            paintSpan(t, y, b[i].x1, b[i].x2, paint, rop2);
}

void paintRect(Target& t, const RECT& rc, const Paint& paint, int rop2)
{
    if (rc.right <= rc.left || rc.bottom <= rc.top)
        return;
    paintRegion(t, Region(rc), paint, rop2);
}

static uint32_t convertSource(const BlitSource& src, uint32_t s)
{
    switch (src.conv) {
    case BlitSource::Conv::None:
        return s;
    case BlitSource::Conv::MonoToColor:
        return (s & 0xFFFFFF) ? src.bg : src.fg;
    case BlitSource::Conv::ColorToMono:
        return (s & 0xFFFFFF) == (src.srcBk & 0xFFFFFF) ? 0xFFFFFFu : 0u;
    }
    return s;
}

void ropBlit(Target& t, const RECT& dst, const BlitSource* src, const Paint* pat, DWORD rop)
{
    if (!t.drawable())
        return;
    uint8_t rop3 = uint8_t(rop >> 16);
    Region r(dst);
    r.intersect(t.clip);
    if (src) {
        // Only pixels that have a source pixel are written.
        RECT avail{dst.left - src->x, dst.top - src->y, dst.left - src->x + src->s->width, dst.top - src->y + src->s->height};
        r.intersect(avail);
    }
    if (r.empty())
        return;
    t.touch(r.bounds());

    // A blit within one surface may overlap: read from a copy.
    OwnedSurface copy;
    BlitSource local;
    if (src) {
        local = *src;
        if (src->s->bits == t.surf.bits) {
            RECT b = r.bounds();
            int w = b.right - b.left, h = b.bottom - b.top;
            copy = OwnedSurface(w, h);
            if (!copy.get().valid())
                return;
            for (int y = 0; y < h; ++y)
                std::memcpy(copy.get().row(y), src->s->row(b.top - dst.top + src->y + y) + (b.left - dst.left + src->x), size_t(w) * 4);
            local.s = &copy.get();
            local.x = dst.left - b.left;
            local.y = dst.top - b.top;
        }
    }

    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(r.raw(), &n);
    for (int i = 0; i < n; ++i) {
        const pixman_box32_t& bx = boxes[i];
        for (int y = bx.y1; y < bx.y2; ++y) {
            uint32_t* drow = t.surf.row(y);
            const uint32_t* srow = src ? local.s->row(y - dst.top + local.y) + (local.x - dst.left) : nullptr;
            if (rop3 == 0xCC && src && local.conv == BlitSource::Conv::None) {
                std::memcpy(drow + bx.x1, srow + bx.x1, size_t(bx.x2 - bx.x1) * 4);
                continue;
            }
            if (!src && pat && pat->kind == Paint::Kind::Solid && rop3 == 0xF0) {
                std::fill(drow + bx.x1, drow + bx.x2, pat->color);
                continue;
            }
            for (int x = bx.x1; x < bx.x2; ++x) {
                uint32_t p = 0, s = 0;
                if (pat && !pat->at(x, y, p))
                    p = drow[x];
                if (src)
                    s = convertSource(local, srow[x]);
                uint32_t v;
                if (rop3 == 0x00)
                    v = 0;
                else if (rop3 == 0xFF)
                    v = 0xFFFFFF;
                else
                    v = applyRop3(rop3, p, s, drow[x]);
                drow[x] = t.mono ? monoOf(v) : v;
            }
        }
    }
}

} // namespace vk::gdi
