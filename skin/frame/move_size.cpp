#include "skin/frame/move_size.h"

#include "skin/core/engine.h"
#include "skin/core/registry.h"

namespace velkaro::skin {

namespace {

constexpr double kTolerance = 1e-7;

void setCursor(LPCSTR shape) { SetCursor(LoadCursorA(nullptr, shape)); }

void startSizing(int slot, LPCSTR cursor, WPARAM edge)
{
    WindowSkin& skin = skinAt(slot);
    skin.needsFullRepaint = 1;
    setCursor(cursor);
    SendMessageA(skin.hwnd, WM_SYSCOMMAND, SC_SIZE + edge, 0);
}

void startMoving(HWND hwnd) { SendMessageA(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0); }

} // namespace

void beginMoveOrSize(int slot, LPARAM lParam, const RECT& client)
{
    WindowSkin& skin = skinAt(slot);
    int x = short(LOWORD(lParam)), y = short(HIWORD(lParam));
    double W = client.right, H = client.bottom;
    int m = engineSettings().captionBorder;
    HWND hwnd = skin.hwnd;
    bool atLeft = x <= m, atRight = x - (W - m) >= -kTolerance;
    bool leftCorner = x <= 10, rightCorner = x - (W - 10) >= -kTolerance;
    bool topCorner = y <= 10, bottomCorner = y - (H - 10) >= -kTolerance;
    bool sideBand = y >= 11 && (H - 10) - y > kTolerance;
    bool edgeBand = x >= 11 && (W - 10) - x > kTolerance;

    if (x >= skin.buttonStripLeft && x <= skin.buttonStripLeft + skin.buttonStripWidth && y > 2 &&
        y <= skin.buttonStripHeight)
        return;
    if (!skin.captionInteractive)
        return;
    if (y > 3 && y <= skin.captionHeight && x > 3 && (W - m) - x > kTolerance)
        return startMoving(hwnd);
    if (!skin.resizable)
        return;
    if (atLeft && sideBand)
        return startSizing(slot, IDC_SIZEWE, WMSZ_LEFT);
    if (atRight && sideBand)
        return startSizing(slot, IDC_SIZEWE, WMSZ_RIGHT);
    if (edgeBand && y <= m)
        return startSizing(slot, IDC_SIZENS, WMSZ_TOP);
    if (edgeBand && y - (H - m) >= -kTolerance)
        return startSizing(slot, IDC_SIZENS, WMSZ_BOTTOM);
    if (leftCorner && topCorner)
        return startSizing(slot, IDC_SIZENWSE, WMSZ_TOPLEFT);
    if (rightCorner && topCorner)
        return startSizing(slot, IDC_SIZENESW, WMSZ_TOPRIGHT);
    if (leftCorner && bottomCorner)
        return startSizing(slot, IDC_SIZENESW, WMSZ_BOTTOMLEFT);
    if (rightCorner && bottomCorner)
        return startSizing(slot, IDC_SIZENWSE, WMSZ_BOTTOMRIGHT);
    if (y <= skin.captionHeight)
        startMoving(hwnd);
}

void updateSizingCursor(int slot, LPARAM lParam, const RECT& client)
{
    WindowSkin& skin = skinAt(slot);
    if (!skin.resizable)
        return;
    int x = short(LOWORD(lParam)), y = short(HIWORD(lParam));
    double W = client.right, H = client.bottom;
    int m = engineSettings().captionBorder;
    bool side = y > 10 && (H - 10) - y > kTolerance;
    bool edge = x > 10 && (W - 10) - x > kTolerance;
    bool left = x <= 10, right = x - (W - 10) >= -kTolerance;
    bool top = y <= 10, bottom = y - (H - 10) >= -kTolerance;

    if ((x <= m || x - (W - m) >= -kTolerance) && side)
        setCursor(IDC_SIZEWE);
    else if (edge && (y <= m || y - (H - m) >= -kTolerance))
        setCursor(IDC_SIZENS);
    else if ((left && top) || (right && bottom))
        setCursor(IDC_SIZENWSE);
    else if ((right && top) || (left && bottom))
        setCursor(IDC_SIZENESW);
}

SIZE workAreaSize(bool fullScreenCorrection)
{
    int SW = GetSystemMetrics(SM_CXSCREEN), SH = GetSystemMetrics(SM_CYSCREEN);
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    RECT r{};
    if (taskbar)
        GetWindowRect(taskbar, &r);
    int TW = r.right - r.left, TH = r.bottom - r.top;
    if (TW - TH > kTolerance) {
        bool hiddenOrTop = r.top < 0 || r.top >= SH - 5;
        return {SW, hiddenOrTop ? SH : SH - TH};
    }
    if (fullScreenCorrection)
        return {SW - TW, SH};
    bool visible = taskbar && (GetWindowLongA(taskbar, GWL_STYLE) & WS_VISIBLE);
    return {visible ? SW - TW : SW, SH};
}

} // namespace velkaro::skin
