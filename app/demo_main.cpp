// A demo window on the platform layer: a classic overlapped window with a few
// painted children. On a display it runs until closed; without one it runs on
// the headless screen, saves a screenshot and says where.
#include <velkaro/testing.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const COLORREF kSwatches[] = {RGB(39, 115, 194), RGB(255, 72, 98), RGB(244, 11, 242), RGB(11, 244, 198), RGB(237, 251, 0)};

LRESULT CALLBACK swatchProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r;
        GetClientRect(hwnd, &r);
        int index = int(GetWindowLongPtrA(hwnd, GWL_ID)) % 5;
        HBRUSH b = CreateSolidBrush(kSwatches[index]);
        FillRect(dc, &r, b);
        DeleteObject(b);
        DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT);
        char text[64];
        GetWindowTextA(hwnd, text, sizeof text);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        DrawTextA(dc, text, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SelectObject(dc, old);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
        SetWindowTextA(hwnd, "点击了!");
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK mainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_CREATE: {
        const char* names[] = {"蓝色 blue", "珊瑚 coral", "品红 magenta", "青绿 turquoise", "黄色 yellow"};
        for (int i = 0; i < 5; ++i)
            CreateWindowExA(0, "VelkaroSwatch", names[i], WS_CHILD | WS_VISIBLE, 16 + (i % 3) * 140, 48 + (i / 3) * 90,
                            128, 76, hwnd, reinterpret_cast<HMENU>(INT_PTR(i)), nullptr, nullptr);
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        SetBkMode(dc, TRANSPARENT);
        HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        const char* line = "Velkaro 平台层演示 — windows, messages and GDI on Linux";
        TextOutA(dc, 16, 16, line, int(strlen(line)));
        SelectObject(dc, old);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

} // namespace

int main(int argc, char** argv)
{
    std::string shot = "velkaro-demo.png";
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--headless") == 0)
            velkaro::testing::startHeadless(1024, 768);
        else if (strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc)
            shot = argv[++i];
    }
    WNDCLASSA wc{};
    wc.lpfnWndProc = mainProc;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
    wc.lpszClassName = "VelkaroDemo";
    RegisterClassA(&wc);
    wc.lpfnWndProc = swatchProc;
    wc.lpszClassName = "VelkaroSwatch";
    wc.hCursor = LoadCursorA(nullptr, IDC_HAND);
    RegisterClassA(&wc);

    HWND main = CreateWindowExA(0, "VelkaroDemo", "Velkaro", WS_OVERLAPPEDWINDOW, 120, 100, 460, 280, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    if (!main) {
        fprintf(stderr, "velkaro: cannot create the demo window\n");
        return 1;
    }
    ShowWindow(main, SW_SHOW);
    UpdateWindow(main);

    if (velkaro::testing::isHeadless()) {
        velkaro::testing::pumpUntilIdle();
        if (!velkaro::testing::saveScreenshot(shot.c_str())) {
            fprintf(stderr, "velkaro: cannot write %s\n", shot.c_str());
            return 1;
        }
        printf("velkaro: no display; ran on the headless screen and saved %s\n", shot.c_str());
        DestroyWindow(main);
        return 0;
    }
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return int(m.wParam);
}
