// The modal move and size loops of WM_SYSCOMMAND SC_MOVE / SC_SIZE: they
// follow the mouse from its current position until the button goes up
// (Escape puts the window back), sending WM_MOVING or WM_SIZING with the
// proposed rectangle before every step.
#include "user/window.h"

#include <algorithm>

namespace vk::user {

namespace {

RECT proposeSize(const RECT& start, int edge, int dx, int dy)
{
    RECT r = start;
    switch (edge) {
    case WMSZ_LEFT: r.left += dx; break;
    case WMSZ_RIGHT: r.right += dx; break;
    case WMSZ_TOP: r.top += dy; break;
    case WMSZ_BOTTOM: r.bottom += dy; break;
    case WMSZ_TOPLEFT: r.left += dx; r.top += dy; break;
    case WMSZ_TOPRIGHT: r.right += dx; r.top += dy; break;
    case WMSZ_BOTTOMLEFT: r.left += dx; r.bottom += dy; break;
    case WMSZ_BOTTOMRIGHT: r.right += dx; r.bottom += dy; break;
    default: break;
    }
    return r;
}

void clampToTrack(RECT& r, const RECT& start, int edge, const MINMAXINFO& mmi)
{
    int minW = std::min<int>(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x), maxW = mmi.ptMaxTrackSize.x;
    int minH = std::min<int>(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y), maxH = mmi.ptMaxTrackSize.y;
    bool movesLeft = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
    bool movesTop = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
    int w = std::clamp<int>(r.right - r.left, minW, maxW);
    int h = std::clamp<int>(r.bottom - r.top, minH, maxH);
    if (movesLeft)
        r.left = start.right - w, r.right = start.right;
    else
        r.right = r.left + w;
    if (movesTop)
        r.top = start.bottom - h, r.bottom = start.bottom;
    else
        r.bottom = r.top + h;
}

} // namespace

void runMoveSizeLoop(Window* w, WPARAM wp)
{
    HWND hwnd = w->hwnd;
    State& s = state();
    bool sizing = (wp & 0xFFF0) == SC_SIZE;
    int edge = int(wp & 0x000F);
    if (sizing && (edge < WMSZ_LEFT || edge > WMSZ_BOTTOMRIGHT))
        return;

    send(w, WM_ENTERSIZEMOVE, 0, 0);
    if (!fromHandle(hwnd))
        return;
    MINMAXINFO mmi = queryMinMax(w);
    if (!fromHandle(hwnd))
        return;

    // Rectangles in the parent's client coordinates (screen for top-level windows).
    RECT start = w->rect;
    POINT origin;
    GetCursorPos(&origin);
    SetCapture(hwnd);
    s.inMenuOrSizeLoop = true;
    bool cancelled = false;

    for (;;) {
        MSG m;
        if (!PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (!waitForWork(true))
                break; // nothing more can happen: the drag ends where it is
            continue;
        }
        if (m.message == WM_QUIT) {
            PostQuitMessage(int(m.wParam));
            break;
        }
        if (!fromHandle(hwnd))
            break;
        if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) {
            cancelled = true;
            break;
        }
        if (m.message == WM_KEYDOWN && m.wParam == VK_RETURN)
            break;
        if (m.message == WM_LBUTTONUP || m.message == WM_NCLBUTTONUP)
            break;
        if (m.message == WM_MOUSEMOVE || m.message == WM_NCMOUSEMOVE) {
            int dx = m.pt.x - origin.x, dy = m.pt.y - origin.y;
            RECT r;
            if (sizing) {
                r = proposeSize(start, edge, dx, dy);
                clampToTrack(r, start, edge, mmi);
            } else {
                r = start;
                OffsetRect(&r, dx, dy);
            }
            RECT onScreen = r;
            if (w->parent) {
                POINT o = clientOriginOnScreen(w->parent);
                OffsetRect(&onScreen, o.x, o.y);
            }
            send(w, sizing ? WM_SIZING : WM_MOVING, sizing ? WPARAM(edge) : 0, reinterpret_cast<LPARAM>(&onScreen));
            if (!fromHandle(hwnd))
                break;
            r = onScreen;
            if (w->parent) {
                POINT o = clientOriginOnScreen(w->parent);
                OffsetRect(&r, -o.x, -o.y);
            }
            setWindowPos(w, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                         SWP_NOZORDER | SWP_NOACTIVATE | (sizing ? 0 : SWP_NOSIZE));
            if (!fromHandle(hwnd))
                break;
            continue;
        }
        if (m.message >= WM_MOUSEFIRST && m.message <= WM_MOUSELAST)
            continue;
        TranslateMessage(&m);
        DispatchMessageA(&m);
        if (!fromHandle(hwnd))
            break;
    }
    s.inMenuOrSizeLoop = false;
    if (!fromHandle(hwnd))
        return;
    if (GetCapture() == hwnd)
        ReleaseCapture();
    if (cancelled)
        setWindowPos(w, nullptr, start.left, start.top, start.right - start.left, start.bottom - start.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    if (fromHandle(hwnd))
        send(w, WM_EXITSIZEMOVE, 0, 0);
}

} // namespace vk::user
