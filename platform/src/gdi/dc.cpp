// Device contexts: memory, window and screen DCs, their attributes, saved
// states and selected objects.
#include "gdi/dc_view.h"
#include "gdi/raster.h"
#include "user/draw_target.h"

#include <cstring>
#include <strings.h>

namespace vk::gdi {

namespace {
std::optional<SIZE> g_screenSize;

DcState defaultState()
{
    DcState st;
    st.pen = static_cast<HPEN>(stockObject(BLACK_PEN));
    st.brush = static_cast<HBRUSH>(stockObject(WHITE_BRUSH));
    st.font = static_cast<HFONT>(stockObject(SYSTEM_FONT));
    st.palette = static_cast<HPALETTE>(stockObject(DEFAULT_PALETTE));
    return st;
}

HDC newDc(DcObj::Kind kind)
{
    auto dc = std::make_unique<DcObj>();
    dc->kind = kind;
    dc->st = defaultState();
    if (kind == DcObj::Kind::Memory)
        dc->st.bitmap = stockBitmap();
    return addObject<HDC>(std::move(dc));
}
} // namespace

SIZE screenSizeForCaps()
{
    if (g_screenSize)
        return *g_screenSize;
    return SIZE{1024, 768};
}

void setScreenSizeForCaps(SIZE size) { g_screenSize = size; }

HDC createWindowDc(HWND hwnd, unsigned flags, const Region* paintClip)
{
    HDC h = newDc(hwnd ? DcObj::Kind::Window : DcObj::Kind::Screen);
    DcObj* dc = getDc(h);
    if (!dc)
        return nullptr;
    dc->hwnd = hwnd;
    dc->flags = flags;
    if (paintClip)
        dc->paintClip = *paintClip;
    return h;
}

bool releaseWindowDc(HDC h)
{
    DcObj* dc = getDc(h);
    if (!dc || dc->kind == DcObj::Kind::Memory)
        return false;
    gdiObjects().remove(reinterpret_cast<uintptr_t>(h));
    return true;
}

HWND windowOfDc(HDC h)
{
    DcObj* dc = getDc(h);
    return dc && dc->kind == DcObj::Kind::Window ? dc->hwnd : nullptr;
}

void windowDestroyed(HWND hwnd)
{
    gdiObjects().forEach([&](uintptr_t, GdiObject& o) {
        if (o.type != ObjType::Dc)
            return;
        auto& dc = static_cast<DcObj&>(o);
        if (dc.kind == DcObj::Kind::Window && dc.hwnd == hwnd) {
            dc.dead = true;
            dc.target = user::WindowDrawTarget{};
        }
    });
}

bool dcSurfaceView(HDC h, DcSurfaceView& view)
{
    Target t;
    if (!acquire(h, t) || !t.surf.valid())
        return false;
    view.surface = t.surf;
    view.origin = t.org;
    view.clip = t.clip;
    view.damage = t.damage;
    view.window = t.dc->kind == DcObj::Kind::Window ? t.dc->hwnd : nullptr;
    return true;
}

} // namespace vk::gdi

using namespace vk;
using namespace vk::gdi;

HDC WINAPI CreateCompatibleDC(HDC hdc)
{
    if (hdc && !getDc(hdc))
        return failWith(ERROR_INVALID_HANDLE, HDC(nullptr));
    return newDc(DcObj::Kind::Memory);
}

HDC WINAPI CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR, const void*)
{
    if ((driver && strcasecmp(driver, "DISPLAY") == 0) || (device && strcasecmp(device, "\\\\.\\DISPLAY1") == 0))
        return newDc(DcObj::Kind::Screen);
    return failWith(ERROR_INVALID_PARAMETER, HDC(nullptr));
}

BOOL WINAPI DeleteDC(HDC hdc)
{
    if (!getDc(hdc))
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    gdiObjects().remove(reinterpret_cast<uintptr_t>(hdc));
    return TRUE;
}

int WINAPI SaveDC(HDC hdc)
{
    DcObj* dc = getDc(hdc);
    if (!dc)
        return failWith(ERROR_INVALID_HANDLE, 0);
    dc->saved.push_back(dc->st);
    return int(dc->saved.size());
}

BOOL WINAPI RestoreDC(HDC hdc, int n)
{
    DcObj* dc = getDc(hdc);
    if (!dc)
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    int depth = int(dc->saved.size());
    int target = n < 0 ? depth + n + 1 : n; // the saved state to go back to
    if (target <= 0 || target > depth)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    dc->st = dc->saved[size_t(target - 1)];
    dc->saved.resize(size_t(target - 1));
    return TRUE;
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h)
{
    DcObj* dc = getDc(hdc);
    GdiObject* o = gdiObjects().get(reinterpret_cast<uintptr_t>(h));
    if (!dc || !o)
        return failWith(ERROR_INVALID_HANDLE, HGDIOBJ(nullptr));
    HGDIOBJ prev = nullptr;
    switch (o->type) {
    case ObjType::Pen:
        prev = dc->st.pen;
        dc->st.pen = static_cast<HPEN>(h);
        break;
    case ObjType::Brush:
        prev = dc->st.brush;
        dc->st.brush = static_cast<HBRUSH>(h);
        break;
    case ObjType::Font:
        prev = dc->st.font;
        dc->st.font = static_cast<HFONT>(h);
        break;
    case ObjType::Bitmap: {
        if (dc->kind != DcObj::Kind::Memory)
            return failWith(ERROR_INVALID_PARAMETER, HGDIOBJ(nullptr));
        if (dc->st.bitmap == h)
            return h;
        // A bitmap lives in one memory DC at a time (the stock bitmap in any number).
        DcObj* holder = o->stock ? nullptr : dcHoldingBitmap(static_cast<HBITMAP>(h));
        if (holder && holder != dc)
            return failWith(ERROR_INVALID_PARAMETER, HGDIOBJ(nullptr));
        prev = dc->st.bitmap;
        dc->st.bitmap = static_cast<HBITMAP>(h);
        // Selecting a bitmap resets the clip region to the whole bitmap.
        dc->st.hasClip = false;
        dc->st.clip.clear();
        break;
    }
    case ObjType::Region: {
        int r = SelectClipRgn(hdc, static_cast<HRGN>(h));
        return r == ERROR ? HGDI_ERROR : reinterpret_cast<HGDIOBJ>(intptr_t(r));
    }
    case ObjType::Palette:
        prev = dc->st.palette;
        dc->st.palette = static_cast<HPALETTE>(h);
        break;
    case ObjType::Dc:
        return failWith(ERROR_INVALID_HANDLE, HGDIOBJ(nullptr));
    }
    return prev;
}

HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type)
{
    DcObj* dc = getDc(hdc);
    if (!dc)
        return failWith(ERROR_INVALID_HANDLE, HGDIOBJ(nullptr));
    switch (type) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
        return dc->st.pen;
    case OBJ_BRUSH:
        return dc->st.brush;
    case OBJ_FONT:
        return dc->st.font;
    case OBJ_PAL:
        return dc->st.palette;
    case OBJ_BITMAP:
        return dc->st.bitmap;
    default:
        return failWith(ERROR_INVALID_PARAMETER, HGDIOBJ(nullptr));
    }
}

// Attribute setters share one shape: a valid DC, a check of the value, and the
// previous value back.
template <class T, class Check>
static T swapAttr(HDC hdc, T DcState::*field, T value, T failure, Check ok)
{
    DcObj* dc = getDc(hdc);
    if (!dc)
        return failWith(ERROR_INVALID_HANDLE, failure);
    if (!ok(value))
        return failWith(ERROR_INVALID_PARAMETER, failure);
    T prev = dc->st.*field;
    dc->st.*field = value;
    return prev;
}

template <class T>
static T getAttr(HDC hdc, T DcState::*field, T failure)
{
    DcObj* dc = getDc(hdc);
    return dc ? dc->st.*field : failWith(ERROR_INVALID_HANDLE, failure);
}

static auto anyValue = [](auto) { return true; };

int WINAPI SetBkMode(HDC hdc, int mode)
{
    return swapAttr(hdc, &DcState::bkMode, mode, 0, [](int m) { return m == OPAQUE || m == TRANSPARENT; });
}
int WINAPI GetBkMode(HDC hdc) { return getAttr(hdc, &DcState::bkMode, 0); }
COLORREF WINAPI SetBkColor(HDC hdc, COLORREF c) { return swapAttr(hdc, &DcState::bkColor, c & 0xFFFFFF, COLORREF(CLR_INVALID), anyValue); }
COLORREF WINAPI GetBkColor(HDC hdc) { return getAttr(hdc, &DcState::bkColor, COLORREF(CLR_INVALID)); }
COLORREF WINAPI SetTextColor(HDC hdc, COLORREF c) { return swapAttr(hdc, &DcState::textColor, c & 0xFFFFFF, COLORREF(CLR_INVALID), anyValue); }
COLORREF WINAPI GetTextColor(HDC hdc) { return getAttr(hdc, &DcState::textColor, COLORREF(CLR_INVALID)); }
UINT WINAPI SetTextAlign(HDC hdc, UINT a) { return swapAttr(hdc, &DcState::textAlign, a, UINT(GDI_ERROR), anyValue); }
UINT WINAPI GetTextAlign(HDC hdc) { return getAttr(hdc, &DcState::textAlign, UINT(GDI_ERROR)); }
int WINAPI SetROP2(HDC hdc, int r)
{
    return swapAttr(hdc, &DcState::rop2, r, 0, [](int v) { return v >= R2_BLACK && v <= R2_WHITE; });
}
int WINAPI GetROP2(HDC hdc) { return getAttr(hdc, &DcState::rop2, 0); }
int WINAPI SetStretchBltMode(HDC hdc, int m)
{
    return swapAttr(hdc, &DcState::stretchMode, m, 0, [](int v) { return v >= BLACKONWHITE && v <= HALFTONE; });
}
int WINAPI GetStretchBltMode(HDC hdc) { return getAttr(hdc, &DcState::stretchMode, 0); }
int WINAPI SetPolyFillMode(HDC hdc, int m)
{
    return swapAttr(hdc, &DcState::polyFillMode, m, 0, [](int v) { return v == ALTERNATE || v == WINDING; });
}
int WINAPI GetPolyFillMode(HDC hdc) { return getAttr(hdc, &DcState::polyFillMode, 0); }
// Only MM_TEXT is drawn; other modes are remembered for GetMapMode.
int WINAPI SetMapMode(HDC hdc, int m)
{
    return swapAttr(hdc, &DcState::mapMode, m, 0, [](int v) { return v >= MM_TEXT && v <= MM_ANISOTROPIC; });
}
int WINAPI GetMapMode(HDC hdc) { return getAttr(hdc, &DcState::mapMode, 0); }
int WINAPI SetGraphicsMode(HDC hdc, int m)
{
    return swapAttr(hdc, &DcState::graphicsMode, m, 0, [](int v) { return v == GM_COMPATIBLE || v == GM_ADVANCED; });
}
int WINAPI GetGraphicsMode(HDC hdc) { return getAttr(hdc, &DcState::graphicsMode, 0); }
int WINAPI SetTextCharacterExtra(HDC hdc, int e) { return swapAttr(hdc, &DcState::charExtra, e, int(0x80000000), anyValue); }
int WINAPI GetTextCharacterExtra(HDC hdc) { return getAttr(hdc, &DcState::charExtra, int(0x80000000)); }
COLORREF WINAPI SetDCBrushColor(HDC hdc, COLORREF c) { return swapAttr(hdc, &DcState::dcBrushColor, c & 0xFFFFFF, COLORREF(CLR_INVALID), anyValue); }
COLORREF WINAPI GetDCBrushColor(HDC hdc) { return getAttr(hdc, &DcState::dcBrushColor, COLORREF(CLR_INVALID)); }
COLORREF WINAPI SetDCPenColor(HDC hdc, COLORREF c) { return swapAttr(hdc, &DcState::dcPenColor, c & 0xFFFFFF, COLORREF(CLR_INVALID), anyValue); }
COLORREF WINAPI GetDCPenColor(HDC hdc) { return getAttr(hdc, &DcState::dcPenColor, COLORREF(CLR_INVALID)); }

static BOOL setPoint(HDC hdc, POINT DcState::*field, int x, int y, LPPOINT prev, bool relative)
{
    DcObj* dc = getDc(hdc);
    if (!dc)
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    POINT& p = dc->st.*field;
    if (prev)
        *prev = p;
    if (relative) {
        p.x += x;
        p.y += y;
    } else {
        p = POINT{x, y};
    }
    return TRUE;
}

static BOOL getPoint(HDC hdc, POINT DcState::*field, LPPOINT out)
{
    DcObj* dc = getDc(hdc);
    if (!dc)
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    if (!out)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    *out = dc->st.*field;
    return TRUE;
}

BOOL WINAPI SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT p) { return setPoint(hdc, &DcState::viewportOrg, x, y, p, false); }
BOOL WINAPI GetViewportOrgEx(HDC hdc, LPPOINT p) { return getPoint(hdc, &DcState::viewportOrg, p); }
BOOL WINAPI OffsetViewportOrgEx(HDC hdc, int x, int y, LPPOINT p) { return setPoint(hdc, &DcState::viewportOrg, x, y, p, true); }
BOOL WINAPI SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT p) { return setPoint(hdc, &DcState::windowOrg, x, y, p, false); }
BOOL WINAPI GetWindowOrgEx(HDC hdc, LPPOINT p) { return getPoint(hdc, &DcState::windowOrg, p); }
BOOL WINAPI OffsetWindowOrgEx(HDC hdc, int x, int y, LPPOINT p) { return setPoint(hdc, &DcState::windowOrg, x, y, p, true); }
BOOL WINAPI SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT p) { return setPoint(hdc, &DcState::brushOrg, x, y, p, false); }
BOOL WINAPI GetBrushOrgEx(HDC hdc, LPPOINT p) { return getPoint(hdc, &DcState::brushOrg, p); }
BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT p) { return setPoint(hdc, &DcState::curPos, x, y, p, false); }
BOOL WINAPI GetCurrentPositionEx(HDC hdc, LPPOINT p) { return getPoint(hdc, &DcState::curPos, p); }

BOOL WINAPI LPtoDP(HDC hdc, LPPOINT pts, int c)
{
    DcObj* dc = getDc(hdc);
    if (!dc)
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    for (int i = 0; pts && i < c; ++i)
        pts[i] = logicalToDevice(*dc, pts[i].x, pts[i].y);
    return TRUE;
}

BOOL WINAPI DPtoLP(HDC hdc, LPPOINT pts, int c)
{
    DcObj* dc = getDc(hdc);
    if (!dc)
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    POINT o = logicalToDevice(*dc, 0, 0);
    for (int i = 0; pts && i < c; ++i) {
        pts[i].x -= o.x;
        pts[i].y -= o.y;
    }
    return TRUE;
}

int WINAPI GetDeviceCaps(HDC hdc, int index)
{
    DcObj* dc = getDc(hdc);
    if (!dc)
        return failWith(ERROR_INVALID_HANDLE, 0);
    SIZE screen = screenSizeForCaps();
    bool monoMem = false;
    if (dc->kind == DcObj::Kind::Memory)
        if (BitmapObj* b = getBitmap(dc->st.bitmap))
            monoMem = b->mono;
    switch (index) {
    case DRIVERVERSION: return 0x4000;
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZSIZE: return screen.cx * 254 / 960;
    case VERTSIZE: return screen.cy * 254 / 960;
    case HORZRES:
    case DESKTOPHORZRES: return screen.cx;
    case VERTRES:
    case DESKTOPVERTRES: return screen.cy;
    case BITSPIXEL: return monoMem ? 1 : 32;
    case PLANES: return 1;
    case NUMBRUSHES:
    case NUMPENS:
    case NUMCOLORS: return -1;
    case ASPECTX:
    case ASPECTY: return 36;
    case ASPECTXY: return 51;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case SIZEPALETTE: return 0;
    case NUMRESERVED: return 20;
    case COLORRES: return 24;
    case VREFRESH: return 60;
    case BLTALIGNMENT: return 0;
    case SHADEBLENDCAPS: return SB_CONST_ALPHA | SB_PIXEL_ALPHA;
    case RASTERCAPS: return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
    case CLIPCAPS: return 1;
    case CURVECAPS:
    case LINECAPS:
    case POLYGONALCAPS: return 0xFF;
    case TEXTCAPS: return 0x7807;
    default: return 0;
    }
}

COLORREF WINAPI GetNearestColor(HDC hdc, COLORREF c)
{
    DcObj* dc = getDc(hdc);
    if (!dc)
        return failWith(ERROR_INVALID_HANDLE, COLORREF(CLR_INVALID));
    if (dc->kind == DcObj::Kind::Memory)
        if (BitmapObj* b = getBitmap(dc->st.bitmap); b && b->mono)
            return colorOfPixel(monoOf(pixelOf(c)));
    return c & 0xFFFFFF;
}

HPALETTE WINAPI CreatePalette(const LOGPALETTE* lp)
{
    if (!lp || lp->palNumEntries == 0)
        return failWith(ERROR_INVALID_PARAMETER, HPALETTE(nullptr));
    auto p = std::make_unique<PaletteObj>();
    p->entries.assign(lp->palPalEntry, lp->palPalEntry + lp->palNumEntries);
    return addObject<HPALETTE>(std::move(p));
}

HPALETTE WINAPI SelectPalette(HDC hdc, HPALETTE pal, BOOL)
{
    DcObj* dc = getDc(hdc);
    if (!dc || !getAs<PaletteObj>(pal, ObjType::Palette))
        return failWith(ERROR_INVALID_HANDLE, HPALETTE(nullptr));
    HPALETTE prev = dc->st.palette;
    dc->st.palette = pal;
    return prev;
}

UINT WINAPI RealizePalette(HDC hdc)
{
    // A true-colour display: nothing to realise.
    return getDc(hdc) ? 0 : failWith(ERROR_INVALID_HANDLE, UINT(GDI_ERROR));
}
