#include "skin/frame/window_proc.h"

#include "skin/core/attach.h"
#include "skin/core/child_windows.h"
#include "skin/core/engine.h"
#include "skin/core/properties.h"
#include "skin/core/registry.h"
#include "skin/core/trim.h"
#include "skin/frame/caption_buttons.h"
#include "skin/frame/move_size.h"
#include "skin/frame/render_frame.h"

#include <velkaro/gfx/dc_cache.h>

#include <commctrl.h>

#include <cstring>
#include <string>

namespace velkaro::skin {

namespace {

UINT_PTR fadeTimerId(HWND hwnd) { return reinterpret_cast<UINT_PTR>(hwnd); }

LRESULT passOn(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    WNDPROC previous = propProc(hwnd, kPropPrevProc);
    if (!previous)
        return DefWindowProcA(hwnd, msg, wp, lp);
    return CallWindowProcA(previous, hwnd, msg, wp, lp);
}

// The record of the window this procedure runs for. Only attached windows
// get this procedure, but a message can still arrive after a failed
// attach; then the window is treated as the system's.
WindowSkin* recordOf(HWND hwnd, int& slot)
{
    slot = propInt(hwnd, kPropListId);
    if (!isValidSlot(slot) || skinAt(slot).hwnd != hwnd)
        return nullptr;
    return &skinAt(slot);
}

void freeBand(HDC& dc, HBITMAP old, HBITMAP bitmap)
{
    if (!dc)
        return;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    dc = nullptr;
}

template <class List>
void renumber(List& list, const char* property, int slot)
{
    list.forEach([&](int, auto& entry) {
        if (entry.hwnd)
            setPropInt(entry.hwnd, property, slot);
    });
}

void onPaint(HWND hwnd, int slot)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    WindowSkin& skin = skinAt(slot);
    if (skin.minimized == 1) {
        skin.needsFullRepaint = 0;
        EndPaint(hwnd, &ps);
        return;
    }
    if (skin.needsFullRepaint == 1) {
        renderFrame(slot, nullptr, true);
        WindowSkin& again = skinAt(slot);
        if (again.restoredFromMinimize == 1) {
            again.restoredFromMinimize = 0;
            again.listControls.forEach([](int, ListControlEntry& e) {
                char name[32] = {};
                if (e.hwnd && IsWindowVisible(e.hwnd) && GetClassNameA(e.hwnd, name, sizeof name) &&
                    !std::strcmp(name, WC_LISTVIEWA))
                    InvalidateRect(e.hwnd, nullptr, TRUE);
            });
        }
        EndPaint(hwnd, &ps);
        again.backgroundErased = 0;
        again.shownPaintDone = 0;
        return;
    }
    copyFrameToWindow(slot, dc);
    invalidateTransparentChildren(hwnd);
    skinAt(slot).needsFullRepaint = 0;
    // The copy released the paint DC; end the paint without releasing again.
    ps.hdc = nullptr;
    EndPaint(hwnd, &ps);
}

void onMouseMove(HWND hwnd, int slot, LPARAM lp)
{
    WindowSkin& skin = skinAt(slot);
    RECT client;
    GetClientRect(hwnd, &client);
    if (skin.mouseTracked == 0) {
        TRACKMOUSEEVENT tme{};
        tme.cbSize = sizeof tme;
        tme.dwFlags = TME_HOVER | TME_LEAVE;
        tme.hwndTrack = hwnd;
        tme.dwHoverTime = 1;
        TrackMouseEvent(&tme);
    }
    if (skin.captionInteractive == 0)
        return;
    if (pointInButtonStrip(slot, lp)) {
        if (skin.fadeTimerOn == 0) {
            SetTimer(hwnd, fadeTimerId(hwnd), 20, nullptr);
            skin.fadeTimerOn = 1;
        }
    } else {
        skin.fadeTimerOn = 0;
    }
    hotButton = captionButtonAt(slot, short(LOWORD(lp)), short(HIWORD(lp)));
    hoverBookkeeping(slot);
    skinAt(slot).hotCaptionButton = hotButton;
    if (skinAt(slot).maximized == 0)
        updateSizingCursor(slot, lp, client);
}

void onLeftButtonDown(HWND hwnd, int slot, LPARAM lp)
{
    RECT client;
    GetClientRect(hwnd, &client);
    WindowSkin& skin = skinAt(slot);
    skin.fadeIn.button = 0;
    if (skin.captionInteractive == 0)
        return;
    if (skin.maximized == 0 && skin.minimized == 0)
        beginMoveOrSize(slot, lp, client);
    // The move or size loop may have destroyed the window.
    if (!isValidSlot(slot) || skinAt(slot).hwnd != hwnd)
        return;
    hotButton = captionButtonAt(slot, short(LOWORD(lp)), short(HIWORD(lp)));
    if (hotButton > 0)
        drawCaptionButton(slot, hotButton, nullptr, false, true, 0);
}

void onWindowPosChanged(HWND hwnd, int slot)
{
    WindowSkin& skin = skinAt(slot);
    RECT client;
    GetClientRect(hwnd, &client);
    if (skin.showMaximizeButton == 1 && client.right == GetSystemMetrics(SM_CXSCREEN) &&
        client.bottom == GetSystemMetrics(SM_CYSCREEN)) {
        SIZE area = workAreaSize(true);
        skin.maximized = 1;
        SetWindowPos(hwnd, nullptr, 0, 0, area.cx, area.cy, SWP_NOZORDER | SWP_NOOWNERZORDER);
    }
    if (!isValidSlot(slot) || skinAt(slot).hwnd != hwnd)
        return;
    layoutCaptionButtons(slot);
    if (skinAt(slot).statusBarHeight > 0)
        layoutStatusBar(slot);
}

} // namespace

void detachWindow(HWND window)
{
    SkinRegistry& registry = skinRegistry();
    int slot = findSkinSlot(window);
    if (slot > 0) {
        WindowSkin& skin = registry.at(slot);
        if (skin.frameDc) {
            SelectObject(skin.frameDc, GetPropA(window, kPropFrameOldBitmap));
            DeleteObject(static_cast<HGDIOBJ>(GetPropA(window, kPropFrameBitmap)));
            DeleteDC(skin.frameDc);
            skin.frameDc = nullptr;
        }
        RemovePropA(window, kPropFrameOldBitmap);
        RemovePropA(window, kPropFrameBitmap);
        freeBand(skin.captionDc, skin.captionDcOldBitmap, skin.captionDcBitmap);
        freeBand(skin.statusDc, skin.statusDcOldBitmap, skin.statusDcBitmap);
        gfx::releaseCachedDc(skin.compositeDc);
        skin.compositeDc = nullptr;
        SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(propProc(window, kPropPrevProc)));
        registry.removeAt(slot);
    }
    registry.forEach([](int n, WindowSkin& skin) {
        setPropInt(skin.hwnd, kPropListId, n);
        renumber(skin.listControls, kPropOwnerSlot, n);
        renumber(skin.buttons, kPropOwnerSlot, n);
        renumber(skin.editControls, kPropOwnerSlot, n);
        renumber(skin.comboControls, kPropOwnerSlot, n);
        renumber(skin.headers, kPropOwnerSlot, n);
        renumber(skin.upDowns, kPropOwnerSlot, n);
        renumber(skin.trackBars, kPropOwnerSlot, n);
        renumber(skin.progressBars, kPropOwnerSlot, n);
        renumber(skin.containers, kPropOwnerSlot, n);
        renumber(skin.toolbars, kPropToolbarOwnerSlot, n);
    });
}

LRESULT CALLBACK skinnedWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    int slot = 0;
    WindowSkin* skin = recordOf(hwnd, slot);
    if (!skin)
        return passOn(hwnd, msg, wp, lp);

    switch (msg) {
    case WM_SIZE:
        if (skin->minimized == 0)
            markControlsStale(hwnd);
        skin->hotCaptionButton = 0;
        if (engineSettings().firstSizePending == 1) {
            skin->needsFullRepaint = 0;
            engineSettings().firstSizePending = 0;
        } else {
            skin->needsFullRepaint = 1;
        }
        break;
    case WM_ACTIVATE:
        skin->active = LONG(wp) >= 1 ? 1 : 0;
        break;
    case WM_SETTEXT:
        if (skin->showCaptionText && skin->captionInteractive && lp) {
            std::string title(reinterpret_cast<const char*>(lp));
            drawCaptionTitle(slot, nullptr, false, title);
        }
        break;
    case WM_PAINT:
        onPaint(hwnd, slot);
        return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_QUIT:
        shutdownGdiplus(engineSettings().quitGdiplusToken);
        break;
    case WM_QUERYOPEN:
        skin->minimized = 0;
        skin->restoredFromMinimize = 1;
        break;
    case WM_ERASEBKGND:
        SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
        if (skin->needsFullRepaint == 1 && skin->sizing == 0 && skin->compositeDc && skin->shownPaintDone == 0 &&
            skin->backgroundErased == 0) {
            repaintFromComposite(hwnd, false, true, nullptr);
            skinAt(slot).backgroundErased = 1;
        }
        return 1;
    case WM_SHOWWINDOW:
        if (wp == 1 && skin->wasHidden == 0) {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            renderFrame(slot, nullptr, true);
            EndPaint(hwnd, &ps);
            WindowSkin& again = skinAt(slot);
            again.shownPaintDone = 1;
            again.needsFullRepaint = 0;
            again.wasHidden = 0;
        } else {
            skin->wasHidden = 1;
            skin->shownPaintDone = 0;
        }
        break;
    case WM_ACTIVATEAPP:
        if (wp == 0) {
            skin->active = 0;
            trimWorkingSet();
        } else if (wp == 1) {
            skin->active = 1;
        }
        break;
    case WM_GETMINMAXINFO:
        if (auto* info = reinterpret_cast<MINMAXINFO*>(lp)) {
            info->ptMinTrackSize = {skin->minTrackWidth, skin->minTrackHeight};
            if (skin->maximized == 1) {
                SIZE area = workAreaSize();
                info->ptMaxTrackSize = {area.cx, area.cy};
            } else {
                info->ptMaxTrackSize = {skin->maxTrackWidth, skin->maxTrackHeight};
            }
        }
        break;
    case WM_WINDOWPOSCHANGED:
        onWindowPosChanged(hwnd, slot);
        break;
    case WM_NOTIFY:
        if (lp) {
            NMHDR header;
            std::memcpy(&header, reinterpret_cast<const void*>(lp), sizeof header);
            if (int(header.code) == -406 || int(header.code) == -405)
                InvalidateRect(header.hwndFrom, nullptr, TRUE);
        }
        break;
    case WM_NCDESTROY:
        detachWindow(hwnd);
        KillTimer(hwnd, fadeTimerId(hwnd));
        return passOn(hwnd, msg, wp, lp);
    case WM_SYSCOMMAND:
        if (wp == SC_MAXIMIZE) {
            skin->maximized = 1;
            skin->needsFullRepaint = 1;
        } else if (wp == SC_RESTORE) {
            skin->needsFullRepaint = 1;
            skin->minimized = 0;
        } else if (wp == SC_MINIMIZE) {
            skin->needsFullRepaint = 1;
            skin->minimized = 1;
        }
        break;
    case WM_TIMER:
        if (wp == fadeTimerId(hwnd))
            fadeStep(slot);
        break;
    case WM_MOUSEMOVE:
        onMouseMove(hwnd, slot, lp);
        break;
    case WM_LBUTTONDOWN:
        onLeftButtonDown(hwnd, slot, lp);
        break;
    case WM_LBUTTONUP:
        if (hotButton > 0 && hotButton <= skin->captionButtons.count() && skin->captionInteractive)
            performCaptionButtonAction(slot, hotButton);
        break;
    case WM_LBUTTONDBLCLK:
        if (short(HIWORD(lp)) <= skin->captionHeight && skin->resizable)
            if (int n = findMaximizeButton(slot))
                performCaptionButtonAction(slot, n);
        break;
    case WM_SIZING:
        skin->sizing = 1;
        break;
    case WM_MOVING:
        skin->moving = 1;
        break;
    case WM_EXITSIZEMOVE:
        skin->moving = 0;
        skin->sizing = 0;
        break;
    case WM_MOUSEHOVER:
        skin->mouseTracked = 1;
        break;
    case WM_MOUSELEAVE:
        skin->mouseTracked = 0;
        if (skin->hotCaptionButton >= 1 && skin->captionInteractive)
            leaveBookkeeping(slot);
        break;
    default:
        break;
    }
    // Handlers may have run nested loops that destroyed the window.
    if (!IsWindow(hwnd))
        return 0;
    return passOn(hwnd, msg, wp, lp);
}

} // namespace velkaro::skin
