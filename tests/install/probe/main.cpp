// Creates a window on the headless screen, paints it and reads a pixel back.
#include <velkaro/testing.h>
#include <windows.h>

#include <cstdio>

static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
        FillRect(dc, &ps.rcPaint, b);
        DeleteObject(b);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

int main()
{
    velkaro::testing::startHeadless(640, 480);
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = "Probe";
    if (!RegisterClassA(&wc))
        return 1;
    HWND h = CreateWindowExA(0, "Probe", "probe", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, nullptr, nullptr, nullptr, nullptr);
    velkaro::testing::pumpUntilIdle();
    COLORREF c = velkaro::testing::screenPixel(20, 20);
    DestroyWindow(h);
    printf("probe pixel %06x\n", unsigned(c));
    return c == RGB(1, 2, 3) ? 0 : 2;
}
