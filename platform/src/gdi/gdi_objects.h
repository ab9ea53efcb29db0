// The GDI object table and the objects it holds: DCs, bitmaps, pens,
// brushes, fonts, regions and palettes. One table, so a handle of any GDI
// kind can be checked and typed in one place.
#pragma once

#include "core/handle_table.h"
#include "core/last_error.h"
#include "core/region.h"
#include "core/surface.h"
#include "user/draw_target.h"

#include <wingdi.h>
#include <winerror.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace vk::gdi {

enum class ObjType { Dc, Bitmap, Pen, Brush, Font, Region, Palette };

struct GdiObject {
    explicit GdiObject(ObjType t) : type(t) {}
    virtual ~GdiObject() = default;
    ObjType type;
    bool stock = false; // stock and system-colour objects: never deleted, not counted
};

// A bitmap. Drawing always goes through `surf`, a 32-bit view. For 32-bpp DIB
// sections it points straight into the DIB memory (negative stride for
// bottom-up DIBs, so the bits pointer keeps Win32's row order). Other DIB
// depths keep a 32-bit shadow that is converted from/to the DIB memory around
// each use.
struct BitmapObj : GdiObject {
    BitmapObj() : GdiObject(ObjType::Bitmap) {}
    ~BitmapObj() override;
    int width = 0;
    int height = 0;
    int bpp = 32;      // 1 or 32 for device bitmaps, the DIB depth for DIB sections
    bool mono = false; // 1-bpp device bitmap: pixels are 0x000000 or 0xFFFFFF
    bool isDib = false;
    OwnedSurface owned; // device bitmaps and shadows of non-32-bpp DIBs
    Surface surf;
    // DIB sections
    uint8_t* dibBits = nullptr;
    int dibStride = 0; // bytes per DIB row (positive)
    bool topDown = false;
    BITMAPINFOHEADER dibHeader{};
    DWORD masks[3]{};
    std::vector<RGBQUAD> colorTable;

    bool shadow = false; // DIB memory is not 0xAARRGGBB words: drawing uses `owned`

    bool shadowed() const { return shadow; }
    void pull();       // DIB memory -> shadow
    void push();       // shadow -> DIB memory
};

struct PenObj : GdiObject {
    PenObj() : GdiObject(ObjType::Pen) {}
    bool ext = false;
    UINT style = PS_SOLID; // full style incl. end cap/join/type bits for ExtCreatePen pens
    int width = 1;
    COLORREF color = 0;
    bool dcPen = false; // DC_PEN: colour comes from the DC
    UINT brushStyle = BS_SOLID;
    ULONG_PTR hatch = 0;
    std::vector<DWORD> userStyle;
    UINT baseStyle() const { return style & PS_STYLE_MASK; }
};

struct BrushObj : GdiObject {
    BrushObj() : GdiObject(ObjType::Brush) {}
    UINT style = BS_SOLID;
    COLORREF color = 0;
    ULONG_PTR hatch = 0;
    bool dcBrush = false;   // DC_BRUSH: colour comes from the DC
    int sysColor = -1;      // system-colour brushes follow SetSysColors
    // BS_PATTERN / BS_DIBPATTERN: a copy of the pixels; a mono pattern takes the
    // DC's text and background colours when used.
    OwnedSurface pattern;
    bool monoPattern = false;
};

struct FontImpl;
struct FontObj : GdiObject {
    FontObj();
    ~FontObj() override;
    LOGFONTA lf{};
    std::unique_ptr<FontImpl> impl; // made on first use (font.cpp)
};

struct RegionObj : GdiObject {
    RegionObj() : GdiObject(ObjType::Region) {}
    Region rgn;
};

struct PaletteObj : GdiObject {
    PaletteObj() : GdiObject(ObjType::Palette) {}
    std::vector<PALETTEENTRY> entries;
};

struct DcState {
    HBITMAP bitmap = nullptr;
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    HPALETTE palette = nullptr;
    COLORREF bkColor = RGB(255, 255, 255);
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF dcBrushColor = RGB(255, 255, 255);
    COLORREF dcPenColor = RGB(0, 0, 0);
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    int stretchMode = BLACKONWHITE;
    int polyFillMode = ALTERNATE;
    int mapMode = MM_TEXT;
    int graphicsMode = GM_COMPATIBLE;
    UINT textAlign = TA_LEFT | TA_TOP;
    int charExtra = 0;
    POINT viewportOrg{};
    POINT windowOrg{};
    POINT brushOrg{};
    POINT curPos{};
    bool hasClip = false;
    Region clip; // device units
};

struct DcObj : GdiObject {
    enum class Kind { Memory, Window, Screen };
    DcObj() : GdiObject(ObjType::Dc) {}
    Kind kind = Kind::Memory;
    DcState st;
    std::vector<DcState> saved;
    // Window DCs
    HWND hwnd = nullptr;
    unsigned flags = 0;
    std::optional<Region> paintClip;
    user::WindowDrawTarget target;
    uint64_t targetGen = ~uint64_t(0);
    bool dead = false;
};

HandleTable<GdiObject>& gdiObjects();

template <class T>
T* getAs(const void* h, ObjType t)
{
    GdiObject* o = gdiObjects().get(reinterpret_cast<uintptr_t>(h));
    return (o && o->type == t) ? static_cast<T*>(o) : nullptr;
}

inline DcObj* getDc(HDC h) { return getAs<DcObj>(h, ObjType::Dc); }
inline BitmapObj* getBitmap(HBITMAP h) { return getAs<BitmapObj>(h, ObjType::Bitmap); }
inline PenObj* getPen(HPEN h) { return getAs<PenObj>(h, ObjType::Pen); }
inline BrushObj* getBrush(HBRUSH h) { return getAs<BrushObj>(h, ObjType::Brush); }
inline FontObj* getFont(HFONT h) { return getAs<FontObj>(h, ObjType::Font); }
inline RegionObj* getRegion(HRGN h) { return getAs<RegionObj>(h, ObjType::Region); }

template <class H>
H addObject(std::unique_ptr<GdiObject> obj)
{
    uintptr_t v = gdiObjects().add(std::move(obj));
    if (!v)
        fail(ERROR_NOT_ENOUGH_MEMORY);
    return reinterpret_cast<H>(v);
}

// Stock objects (made on first use).
HGDIOBJ stockObject(int index);
HBITMAP stockBitmap(); // the 1 x 1 monochrome bitmap of a new memory DC
HBRUSH sysColorBrush(int index);

// True when some DC (or a saved state of one) holds the object.
bool isSelectedAnywhere(HGDIOBJ h);
// The memory DC a bitmap is selected into, if any.
DcObj* dcHoldingBitmap(HBITMAP h);

// Colours: COLORREF 0x00BBGGRR -> pixel 0x00RRGGBB (alpha 0, as GDI writes it).
inline uint32_t pixelOf(COLORREF c)
{
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline COLORREF colorOfPixel(uint32_t p)
{
    return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
}
// Nearest of black and white, as GDI maps colours onto monochrome bitmaps.
inline uint32_t monoOf(uint32_t pixel)
{
    unsigned sum = ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF);
    return sum >= 384 ? 0xFFFFFFu : 0;
}

// Screen size reported by GetDeviceCaps(HORZRES/VERTRES) and used for the screen DC.
SIZE screenSizeForCaps();
void setScreenSizeForCaps(SIZE size);

} // namespace vk::gdi
