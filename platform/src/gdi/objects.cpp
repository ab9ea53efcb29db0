// The GDI object table: stock objects, DeleteObject, GetObjectType,
// GetObjectA and the count of live objects.
#include "gdi/dc_view.h"
#include "gdi/gdi_objects.h"

#include <cstring>

namespace vk::gdi {

HandleTable<GdiObject>& gdiObjects()
{
    static HandleTable<GdiObject> table(HandleKind::Gdi);
    return table;
}

namespace {

struct StockSet {
    HGDIOBJ objects[STOCK_LAST + 1]{};
    HBITMAP bitmap = nullptr;
};

LOGFONTA stockFont(LONG height, const char* face, LONG weight)
{
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

template <class T>
HGDIOBJ addStock(std::unique_ptr<T> o)
{
    o->stock = true;
    return reinterpret_cast<HGDIOBJ>(gdiObjects().add(std::move(o)));
}

HGDIOBJ solidBrush(COLORREF c)
{
    auto b = std::make_unique<BrushObj>();
    b->color = c;
    return addStock(std::move(b));
}

HGDIOBJ makePen(UINT style, COLORREF c)
{
    auto p = std::make_unique<PenObj>();
    p->style = style;
    p->color = c;
    p->width = 1;
    return addStock(std::move(p));
}

HGDIOBJ makeFont(const LOGFONTA& lf)
{
    auto f = std::make_unique<FontObj>();
    f->lf = lf;
    return addStock(std::move(f));
}

StockSet& stock()
{
    static StockSet s = [] {
        StockSet s;
        s.objects[WHITE_BRUSH] = solidBrush(RGB(255, 255, 255));
        s.objects[LTGRAY_BRUSH] = solidBrush(RGB(192, 192, 192));
        s.objects[GRAY_BRUSH] = solidBrush(RGB(128, 128, 128));
        s.objects[DKGRAY_BRUSH] = solidBrush(RGB(64, 64, 64));
        s.objects[BLACK_BRUSH] = solidBrush(RGB(0, 0, 0));
        {
            auto b = std::make_unique<BrushObj>();
            b->style = BS_NULL;
            s.objects[NULL_BRUSH] = addStock(std::move(b));
        }
        s.objects[WHITE_PEN] = makePen(PS_SOLID, RGB(255, 255, 255));
        s.objects[BLACK_PEN] = makePen(PS_SOLID, RGB(0, 0, 0));
        s.objects[NULL_PEN] = makePen(PS_NULL, 0);
        // The GB2312 system's fonts: everything shows in the Song face.
        s.objects[OEM_FIXED_FONT] = makeFont(stockFont(-12, "宋体", FW_NORMAL));
        s.objects[ANSI_FIXED_FONT] = makeFont(stockFont(-12, "宋体", FW_NORMAL));
        s.objects[ANSI_VAR_FONT] = makeFont(stockFont(-12, "宋体", FW_NORMAL));
        s.objects[SYSTEM_FONT] = makeFont(stockFont(-12, "宋体", FW_NORMAL));
        s.objects[DEVICE_DEFAULT_FONT] = makeFont(stockFont(-12, "宋体", FW_NORMAL));
        s.objects[SYSTEM_FIXED_FONT] = makeFont(stockFont(-12, "宋体", FW_NORMAL));
        s.objects[DEFAULT_GUI_FONT] = makeFont(stockFont(-12, "宋体", FW_NORMAL));
        {
            auto p = std::make_unique<PaletteObj>();
            static const PALETTEENTRY kDefault[20] = {
                {0, 0, 0, 0}, {128, 0, 0, 0}, {0, 128, 0, 0}, {128, 128, 0, 0}, {0, 0, 128, 0},
                {128, 0, 128, 0}, {0, 128, 128, 0}, {192, 192, 192, 0}, {192, 220, 192, 0}, {166, 202, 240, 0},
                {255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0}, {255, 0, 0, 0}, {0, 255, 0, 0},
                {255, 255, 0, 0}, {0, 0, 255, 0}, {255, 0, 255, 0}, {0, 255, 255, 0}, {255, 255, 255, 0},
            };
            p->entries.assign(kDefault, kDefault + 20);
            s.objects[DEFAULT_PALETTE] = addStock(std::move(p));
        }
        {
            auto b = std::make_unique<BrushObj>();
            b->dcBrush = true;
            s.objects[DC_BRUSH] = addStock(std::move(b));
            auto p = std::make_unique<PenObj>();
            p->dcPen = true;
            s.objects[DC_PEN] = addStock(std::move(p));
        }
        {
            auto bm = std::make_unique<BitmapObj>();
            bm->width = bm->height = 1;
            bm->bpp = 1;
            bm->mono = true;
            bm->owned = OwnedSurface(1, 1);
            bm->surf = bm->owned.get();
            bm->surf.bits[0] = 0xFFFFFF;
            s.bitmap = reinterpret_cast<HBITMAP>(addStock(std::move(bm)));
        }
        return s;
    }();
    return s;
}

} // namespace

HGDIOBJ stockObject(int index)
{
    if (index < 0 || index > STOCK_LAST)
        return nullptr;
    return stock().objects[index];
}

HBITMAP stockBitmap() { return stock().bitmap; }

static bool stateHolds(const DcState& st, HGDIOBJ h)
{
    return st.bitmap == h || st.pen == h || st.brush == h || st.font == h || st.palette == h;
}

bool isSelectedAnywhere(HGDIOBJ h)
{
    bool found = false;
    gdiObjects().forEach([&](uintptr_t, GdiObject& o) {
        if (found || o.type != ObjType::Dc)
            return;
        const DcObj& dc = static_cast<const DcObj&>(o);
        if (stateHolds(dc.st, h))
            found = true;
        for (const DcState& s : dc.saved)
            if (stateHolds(s, h))
                found = true;
    });
    return found;
}

DcObj* dcHoldingBitmap(HBITMAP h)
{
    DcObj* holder = nullptr;
    gdiObjects().forEach([&](uintptr_t, GdiObject& o) {
        if (holder || o.type != ObjType::Dc)
            return;
        DcObj& dc = static_cast<DcObj&>(o);
        if (dc.st.bitmap == h)
            holder = &dc;
        for (const DcState& s : dc.saved)
            if (s.bitmap == h)
                holder = &dc;
    });
    return holder;
}

size_t liveGdiObjectCount()
{
    size_t n = 0;
    gdiObjects().forEach([&](uintptr_t, GdiObject& o) {
        if (!o.stock)
            ++n;
    });
    return n;
}

} // namespace vk::gdi

using namespace vk;
using namespace vk::gdi;

HGDIOBJ WINAPI GetStockObject(int i)
{
    HGDIOBJ h = stockObject(i);
    if (!h)
        fail(ERROR_INVALID_PARAMETER);
    return h;
}

BOOL WINAPI DeleteObject(HGDIOBJ ho)
{
    GdiObject* o = gdiObjects().get(reinterpret_cast<uintptr_t>(ho));
    if (!o)
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    if (o->stock)
        return TRUE;
    if (o->type == ObjType::Dc)
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    // Win32 refuses to delete an object that is selected into a DC.
    if (isSelectedAnywhere(ho))
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    gdiObjects().remove(reinterpret_cast<uintptr_t>(ho));
    return TRUE;
}

DWORD WINAPI GetObjectType(HGDIOBJ h)
{
    GdiObject* o = gdiObjects().get(reinterpret_cast<uintptr_t>(h));
    if (!o)
        return failWith(ERROR_INVALID_HANDLE, DWORD(0));
    switch (o->type) {
    case ObjType::Dc: {
        auto* dc = static_cast<DcObj*>(o);
        return dc->kind == DcObj::Kind::Memory ? OBJ_MEMDC : OBJ_DC;
    }
    case ObjType::Bitmap: return OBJ_BITMAP;
    case ObjType::Pen: return static_cast<PenObj*>(o)->ext ? OBJ_EXTPEN : OBJ_PEN;
    case ObjType::Brush: return OBJ_BRUSH;
    case ObjType::Font: return OBJ_FONT;
    case ObjType::Region: return OBJ_REGION;
    case ObjType::Palette: return OBJ_PAL;
    }
    return 0;
}

static int copyOut(const void* src, int size, int c, LPVOID pv)
{
    if (!pv)
        return size;
    int n = c < size ? c : size;
    if (n <= 0)
        return 0;
    std::memcpy(pv, src, size_t(n));
    return n;
}

int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv)
{
    GdiObject* o = gdiObjects().get(reinterpret_cast<uintptr_t>(h));
    if (!o)
        return failWith(ERROR_INVALID_HANDLE, 0);
    switch (o->type) {
    case ObjType::Bitmap: {
        auto* b = static_cast<BitmapObj*>(o);
        BITMAP bm{};
        bm.bmType = 0;
        bm.bmWidth = b->width;
        bm.bmHeight = b->height;
        bm.bmPlanes = 1;
        bm.bmBitsPixel = WORD(b->bpp);
        if (b->isDib) {
            bm.bmWidthBytes = b->dibStride;
            bm.bmBits = b->dibBits;
            if (pv && c >= int(sizeof(DIBSECTION))) {
                DIBSECTION ds{};
                ds.dsBm = bm;
                ds.dsBmih = b->dibHeader;
                ds.dsBmih.biSizeImage = DWORD(b->dibStride * b->height);
                std::memcpy(ds.dsBitfields, b->masks, sizeof ds.dsBitfields);
                std::memcpy(pv, &ds, sizeof ds);
                return int(sizeof ds);
            }
        } else {
            // Device bitmaps report word-aligned rows, as GetBitmapBits returns them.
            bm.bmWidthBytes = ((b->width * b->bpp + 15) / 16) * 2;
        }
        return copyOut(&bm, int(sizeof bm), c, pv);
    }
    case ObjType::Pen: {
        auto* p = static_cast<PenObj*>(o);
        if (p->ext) {
            int size = int(offsetof(EXTLOGPEN, elpStyleEntry) + sizeof(DWORD) * p->userStyle.size());
            if (size < int(sizeof(EXTLOGPEN)))
                size = int(sizeof(EXTLOGPEN));
            if (!pv)
                return size;
            std::vector<uint8_t> buf(size_t(size), 0);
            auto* e = reinterpret_cast<EXTLOGPEN*>(buf.data());
            e->elpPenStyle = p->style;
            e->elpWidth = DWORD(p->width);
            e->elpBrushStyle = p->brushStyle;
            e->elpColor = p->color;
            e->elpHatch = p->hatch;
            e->elpNumEntries = DWORD(p->userStyle.size());
            for (size_t i = 0; i < p->userStyle.size(); ++i)
                e->elpStyleEntry[i] = p->userStyle[i];
            return copyOut(buf.data(), size, c, pv);
        }
        LOGPEN lp{};
        lp.lopnStyle = p->style;
        lp.lopnWidth.x = p->width;
        lp.lopnColor = p->color;
        return copyOut(&lp, int(sizeof lp), c, pv);
    }
    case ObjType::Brush: {
        auto* b = static_cast<BrushObj*>(o);
        LOGBRUSH lb{};
        lb.lbStyle = b->style;
        lb.lbColor = b->color;
        lb.lbHatch = b->hatch;
        return copyOut(&lb, int(sizeof lb), c, pv);
    }
    case ObjType::Font:
        return copyOut(&static_cast<FontObj*>(o)->lf, int(sizeof(LOGFONTA)), c, pv);
    case ObjType::Palette: {
        WORD n = WORD(static_cast<PaletteObj*>(o)->entries.size());
        return copyOut(&n, int(sizeof n), c, pv);
    }
    case ObjType::Dc:
    case ObjType::Region:
        break;
    }
    return failWith(ERROR_INVALID_HANDLE, 0);
}

BOOL WINAPI UnrealizeObject(HGDIOBJ h)
{
    return gdiObjects().get(reinterpret_cast<uintptr_t>(h)) ? TRUE : failWith(ERROR_INVALID_HANDLE, FALSE);
}

BOOL WINAPI GdiFlush(void)
{
    // Drawing is immediate; shadowed DIBs are written back after every call.
    return TRUE;
}
