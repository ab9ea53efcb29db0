#include "skin/core/child_windows.h"

#include "skin/core/canvas.h"
#include "skin/core/properties.h"
#include "skin/core/registry.h"

namespace velkaro::skin {

namespace {

bool isOpaqueVisible(HWND w)
{
    return IsWindowVisible(w) && !(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
}

template <class F>
void forEachChild(HWND parent, F&& f)
{
    for (HWND child = FindWindowExA(parent, nullptr, nullptr, nullptr); child;
         child = FindWindowExA(parent, child, nullptr, nullptr))
        f(child);
}

using TransparentBltProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

TransparentBltProc transparentBlt()
{
    static TransparentBltProc proc = [] {
        HMODULE module = LoadLibraryA("msimg32.dll");
        return module ? reinterpret_cast<TransparentBltProc>(reinterpret_cast<void*>(GetProcAddress(module, "TransparentBlt"))) : nullptr;
    }();
    return proc;
}

} // namespace

void presentControlImageKeyed(HWND control, HDC canvas, COLORREF key, bool useToolbarSlot)
{
    WindowSkin& skin = skinAt(ownerSlotOf(control, useToolbarSlot));
    RECT dest = rectInTopWindow(control);
    forEachChild(control, [&](HWND child) {
        if (!isOpaqueVisible(child))
            return;
        RECT r = rectInTopWindow(child);
        ExcludeClipRect(skin.compositeDc, r.left, r.top, r.right, r.bottom);
    });
    int w = dest.right - dest.left, h = dest.bottom - dest.top;
    if (TransparentBltProc blt = transparentBlt())
        blt(skin.compositeDc, dest.left, dest.top, w, h, canvas, 0, 0, w, h, key);
    SelectClipRgn(skin.compositeDc, nullptr);
}

RECT childRectInParent(HWND window)
{
    RECT r{};
    if (findSkinSlot(window) > 0)
        return r;
    GetWindowRect(window, &r);
    HWND parent = GetAncestor(window, GA_PARENT);
    POINT origin{0, 0};
    ClientToScreen(parent, &origin);
    OffsetRect(&r, -origin.x, -origin.y);
    return r;
}

HDC excludeChildWindows(HWND window, HDC dc)
{
    if (!dc)
        dc = GetDC(window);
    bool bounded = false;
    int bw = 0, bh = 0;
    if (int slot = findSkinSlot(window)) {
        bounded = true;
        bw = skinAt(slot).lastRenderWidth;
        bh = skinAt(slot).lastRenderHeight;
    } else if (hasProp(window, kPropOwnerSlot)) {
        int owner = propInt(window, kPropOwnerSlot);
        if (isValidSlot(owner)) {
            bounded = true;
            if (int i = findContainerIndex(owner, window)) {
                bw = skinAt(owner).containers.at(i).width;
                bh = skinAt(owner).containers.at(i).height;
            }
        }
    }
    forEachChild(window, [&](HWND child) {
        if (!isOpaqueVisible(child))
            return;
        RECT r = childRectInParent(child);
        r.left = r.left < 0 ? 0 : r.left;
        r.top = r.top < 0 ? 0 : r.top;
        if (bounded) {
            r.right = r.right > bw ? bw : r.right;
            r.bottom = r.bottom > bh ? bh : r.bottom;
        }
        r.right = r.right < r.left ? r.left : r.right;
        r.bottom = r.bottom < r.top ? r.top : r.bottom;
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    });
    return dc;
}

HDC excludeUnskinnedChildren(HWND window, HDC dc)
{
    if (!dc)
        dc = GetDC(window);
    forEachChild(window, [&](HWND child) {
        if (!IsWindowVisible(child) || hasProp(child, kPropOwnerSlot))
            return;
        RECT r = childRectInParent(child);
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    });
    return dc;
}

void repaintFromComposite(HWND window, bool useToolbarSlot, bool unskinnedOnly, HDC dc)
{
    WindowSkin& skin = skinAt(ownerSlotOf(window, useToolbarSlot));
    RECT s = clientRectInTopWindow(window);
    if (unskinnedOnly) {
        if (dc)
            ReleaseDC(window, dc);
        dc = excludeUnskinnedChildren(window, GetDC(window));
    } else {
        dc = excludeChildWindows(window, dc ? dc : GetDC(window));
    }
    BitBlt(dc, 0, 0, s.right - s.left, s.bottom - s.top, skin.compositeDc, s.left, s.top, SRCCOPY);
    ReleaseDC(window, dc);
}

void invalidateVisibleChildren(HWND window)
{
    forEachChild(window, [](HWND child) {
        if (IsWindowVisible(child))
            InvalidateRect(child, nullptr, TRUE);
    });
}

void invalidateTransparentChildren(HWND window)
{
    forEachChild(window, [](HWND child) {
        if (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_TRANSPARENT)
            InvalidateRect(child, nullptr, FALSE);
    });
}

void markControlsStale(HWND window)
{
    int slot = propInt(window, kPropListId);
    if (!isValidSlot(slot))
        return;
    skinAt(slot).toolbars.forEach([](int, ToolbarEntry& entry) { entry.needsRepaint = 1; });
}

} // namespace velkaro::skin
