#include "skin/core/canvas.h"

#include "skin/core/properties.h"
#include "skin/core/registry.h"

#include <velkaro/gfx/dc_cache.h>
#include <velkaro/gfx/dib.h>

namespace velkaro::skin {

namespace {

// The record a control's background comes from: the control itself, or the
// first ancestor that is an attached window or a registered container.
int canvasSlot(HWND control)
{
    if (int slot = findSkinSlot(control))
        return slot;
    SkinRegistry& registry = skinRegistry();
    for (HWND w = GetParent(control); w; w = GetParent(w)) {
        for (int slot = 1; slot <= registry.count(); ++slot) {
            if (registry.at(slot).hwnd == w || findContainerIndex(slot, w) > 0)
                return slot;
        }
    }
    return findSkinSlotUpward(control);
}

} // namespace

int ownerSlotOf(HWND window, bool useToolbarSlot)
{
    int slot = propInt(window, useToolbarSlot ? kPropToolbarOwnerSlot : kPropOwnerSlot);
    return slot ? slot : propInt(window, kPropListId);
}

HDC makeControlCanvas(HWND control, const RECT& rect)
{
    int w = rect.right - rect.left;
    int h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0)
        return nullptr;
    HBITMAP dib = gfx::createDib32(w, h);
    HDC canvas = CreateCompatibleDC(nullptr);
    HBITMAP previous = static_cast<HBITMAP>(SelectObject(canvas, dib));
    gfx::cacheDc(canvas, dib, previous);

    int slot = canvasSlot(control);
    if (slot <= 0) {
        // Nothing to paint over: give the canvas back at once rather than
        // leave a DC behind for every such call.
        gfx::releaseCachedDc(canvas);
        return nullptr;
    }
    RECT p = rectInTopWindow(control);
    BitBlt(canvas, 0, 0, w, h, skinAt(slot).frameDc, p.left + rect.left, p.top + rect.top, SRCCOPY);
    return canvas;
}

RECT rectInTopWindow(HWND window)
{
    RECT r{};
    GetWindowRect(window, &r);
    RECT top{};
    int slot = findSkinSlotUpward(window);
    if (slot > 0)
        GetWindowRect(skinAt(slot).hwnd, &top);
    OffsetRect(&r, -top.left, -top.top);
    return r;
}

RECT clientRectInTopWindow(HWND window)
{
    RECT windowRect{}, client{};
    GetWindowRect(window, &windowRect);
    GetClientRect(window, &client);
    SCROLLBARINFO horizontal{}, vertical{};
    horizontal.cbSize = sizeof horizontal;
    vertical.cbSize = sizeof vertical;
    GetScrollBarInfo(window, OBJID_HSCROLL, &horizontal);
    GetScrollBarInfo(window, OBJID_VSCROLL, &vertical);

    LONG style = LONG(GetWindowLongA(window, GWL_STYLE));
    int innerWidth = client.right;
    if (style & WS_VSCROLL)
        innerWidth += vertical.rcScrollBar.right - vertical.rcScrollBar.left;
    int innerHeight = client.bottom;
    if (style & WS_HSCROLL)
        innerHeight += horizontal.rcScrollBar.bottom - horizontal.rcScrollBar.top;
    // The border is taken to be as wide on the far sides as on the near ones.
    int left = (windowRect.right - windowRect.left - innerWidth) / 2;
    int top = (windowRect.bottom - windowRect.top - innerHeight) / 2;

    RECT r = rectInTopWindow(window);
    InflateRect(&r, -left, -top);
    return r;
}

void presentControlImage(HWND control, HDC canvas, bool useToolbarSlot, bool wholeWindow)
{
    int slot = ownerSlotOf(control, useToolbarSlot);
    WindowSkin& skin = skinAt(slot);
    RECT dest = wholeWindow ? rectInTopWindow(control) : clientRectInTopWindow(control);
    for (HWND child = FindWindowExA(control, nullptr, nullptr, nullptr); child;
         child = FindWindowExA(control, child, nullptr, nullptr)) {
        if (!IsWindowVisible(child) || (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_TRANSPARENT))
            continue;
        RECT r = rectInTopWindow(child);
        ExcludeClipRect(skin.compositeDc, r.left, r.top, r.right, r.bottom);
    }
    BitBlt(skin.compositeDc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, canvas, 0, 0,
           SRCCOPY);
    SelectClipRgn(skin.compositeDc, nullptr);
}

} // namespace velkaro::skin
