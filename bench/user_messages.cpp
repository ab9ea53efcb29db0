// The window manager's hot paths: SendMessageA through a subclass, and a full
// paint cycle of a window with 20 painted children.
#include <velkaro/testing.h>
#include <windows.h>

#include <benchmark/benchmark.h>

namespace {

WNDPROC g_previous = nullptr;

LRESULT CALLBACK plainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_USER)
        return LRESULT(wp + 1);
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

LRESULT CALLBACK subclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    return CallWindowProcA(g_previous, hwnd, msg, wp, lp);
}

void setUp()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    velkaro::testing::startHeadless(1024, 768);
    WNDCLASSA wc{};
    wc.lpfnWndProc = plainProc;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "BenchPlain";
    RegisterClassA(&wc);
}

void BM_SendMessageToSubclassedWindow(benchmark::State& state)
{
    setUp();
    HWND h = CreateWindowExA(0, "BenchPlain", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    g_previous = reinterpret_cast<WNDPROC>(SetWindowLongA(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(subclassProc)));
    WPARAM v = 0;
    for (auto _ : state)
        v = WPARAM(SendMessageA(h, WM_USER, v, 0));
    benchmark::DoNotOptimize(v);
    DestroyWindow(h);
}
BENCHMARK(BM_SendMessageToSubclassedWindow);

void BM_PaintCycleTwentyChildren(benchmark::State& state)
{
    setUp();
    HWND top = CreateWindowExA(0, "BenchPlain", "", WS_POPUP | WS_VISIBLE, 0, 0, 600, 400, nullptr, nullptr, nullptr,
                               nullptr);
    for (int i = 0; i < 20; ++i)
        CreateWindowExA(0, "BenchPlain", "", WS_CHILD | WS_VISIBLE, 10 + (i % 5) * 110, 10 + (i / 5) * 90, 100, 80, top,
                        nullptr, nullptr, nullptr);
    velkaro::testing::pumpUntilIdle();
    for (auto _ : state) {
        InvalidateRect(top, nullptr, TRUE);
        velkaro::testing::pumpUntilIdle();
    }
    DestroyWindow(top);
}
BENCHMARK(BM_PaintCycleTwentyChildren);

} // namespace

BENCHMARK_MAIN();
