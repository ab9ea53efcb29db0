// The skinned frame's costs, each next to its baseline in the same run: a
// full render against one GDI+ draw of the same background, a copy-path
// WM_PAINT against a bare BitBlt, one caption-button fade step, and setting
// the built-in background picture split into decode, average, fade and encode.
#include "skin/core/attach.h"
#include "skin/core/background.h"
#include "skin/core/engine.h"
#include "skin/core/registry.h"
#include "skin/core/skin_images.h"
#include "skin/frame/caption_buttons.h"
#include "skin/frame/render_frame.h"

#include <benchmark/benchmark.h>
#include <velkaro/gfx/bitmap.h>
#include <velkaro/gfx/dib.h>
#include <velkaro/gfx/graphics.h>
#include <velkaro/testing.h>

namespace {

namespace vs = velkaro::skin;
namespace gfx = velkaro::gfx;

LRESULT CALLBACK plainProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_CREATE)
        vs::attachWindow(h, {});
    return DefWindowProcA(h, m, w, l);
}

HWND skinnedWindow(int w, int h)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = plainProc;
        wc.lpszClassName = "BenchFrameWindow";
        RegisterClassA(&wc);
        registered = true;
    }
    HWND hwnd = CreateWindowExA(0, "BenchFrameWindow", "Velkaro", WS_POPUP | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0, 0, w,
                                h, nullptr, nullptr, nullptr, nullptr);
    vs::setBackgroundPicture(hwnd, vs::skinImages().windowBackground);
    ShowWindow(hwnd, SW_SHOW);
    velkaro::testing::pumpUntilIdle();
    return hwnd;
}

void renderFrame(benchmark::State& state)
{
    HWND hwnd = skinnedWindow(int(state.range(0)), int(state.range(1)));
    int slot = vs::findSkinSlot(hwnd);
    for (auto _ : state)
        vs::renderFrame(slot, nullptr, false);
    DestroyWindow(hwnd);
}
BENCHMARK(renderFrame)->Args({253, 127})->Args({1024, 768})->Unit(benchmark::kMicrosecond);

// Baseline: one GdipDrawImage of the prepared background onto a DIB of the
// window's size.
void drawBackgroundOnly(benchmark::State& state)
{
    HWND hwnd = skinnedWindow(int(state.range(0)), int(state.range(1)));
    gfx::Image picture;
    picture.fromBytes(vs::skinAt(vs::findSkinSlot(hwnd)).backgroundImage);
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP dib = gfx::createDib32(int(state.range(0)), int(state.range(1)));
    HGDIOBJ old = SelectObject(dc, dib);
    for (auto _ : state) {
        gfx::Graphics g;
        g.fromHdc(dc);
        g.drawImage(picture, 0, 0);
        g.release();
    }
    SelectObject(dc, old);
    DeleteObject(dib);
    DeleteDC(dc);
    picture.dispose();
    DestroyWindow(hwnd);
}
BENCHMARK(drawBackgroundOnly)->Args({253, 127})->Args({1024, 768})->Unit(benchmark::kMicrosecond);

void copyPathPaint(benchmark::State& state)
{
    HWND hwnd = skinnedWindow(1024, 768);
    for (auto _ : state) {
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
    }
    DestroyWindow(hwnd);
}
BENCHMARK(copyPathPaint)->Unit(benchmark::kMicrosecond);

void bareBitBlt(benchmark::State& state)
{
    HWND hwnd = skinnedWindow(1024, 768);
    HDC frame = vs::skinAt(vs::findSkinSlot(hwnd)).frameDc;
    for (auto _ : state) {
        HDC dc = GetDC(hwnd);
        BitBlt(dc, 0, 0, 1024, 768, frame, 0, 0, SRCCOPY);
        ReleaseDC(hwnd, dc);
    }
    DestroyWindow(hwnd);
}
BENCHMARK(bareBitBlt)->Unit(benchmark::kMicrosecond);

// One tick of the 20 ms fade with two buttons moving: one in, one out.
void fadeStep(benchmark::State& state)
{
    HWND hwnd = skinnedWindow(253, 127);
    int slot = vs::findSkinSlot(hwnd);
    vs::WindowSkin& skin = vs::skinAt(slot);
    skin.mouseTracked = 1;
    skin.fadeTimerOn = 1;
    int step = 0;
    for (auto _ : state) {
        skin.fadeIn = {1, step};
        skin.fadeOut = {2, step};
        vs::fadeStep(slot);
        step = (step + 1) % 7;
    }
    DestroyWindow(hwnd);
}
BENCHMARK(fadeStep)->Unit(benchmark::kMicrosecond);

const vs::Bytes& background() { return vs::skinImages().windowBackground; }

void backgroundDecode(benchmark::State& state)
{
    for (auto _ : state) {
        gfx::Bitmap b;
        b.fromBytes(background());
        benchmark::DoNotOptimize(b.width());
        b.dispose();
    }
}
BENCHMARK(backgroundDecode)->Unit(benchmark::kMillisecond);

// What every full render pays to load the prepared (PNG) picture.
void preparedDecode(benchmark::State& state)
{
    vs::Bytes prepared = vs::prepareBackground(background(), 0xFFE6BD9A);
    for (auto _ : state) {
        gfx::Image image;
        image.fromBytes(prepared);
        benchmark::DoNotOptimize(image.width());
        image.dispose();
    }
}
BENCHMARK(preparedDecode)->Unit(benchmark::kMillisecond);

void backgroundAverage(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(vs::averageColor(background(), 2000));
}
BENCHMARK(backgroundAverage)->Unit(benchmark::kMillisecond);

// Decode, fade and encode together; the fade alone is this minus the decode
// and the encode.
void backgroundPrepare(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(vs::prepareBackground(background(), 0xFFE6BD9A).size());
}
BENCHMARK(backgroundPrepare)->Unit(benchmark::kMillisecond);

void backgroundEncode(benchmark::State& state)
{
    gfx::Bitmap b;
    b.fromBytes(background());
    gfx::Bitmap canvas;
    canvas.create(1024, 1024);
    gfx::Graphics g;
    g.fromImage(canvas);
    g.drawImage(b, 0, 0);
    g.release();
    for (auto _ : state)
        benchmark::DoNotOptimize(canvas.saveToBytes(gfx::kPngFormatText).size());
    canvas.dispose();
    b.dispose();
}
BENCHMARK(backgroundEncode)->Unit(benchmark::kMillisecond);

void setBackgroundPicture(benchmark::State& state)
{
    HWND hwnd = skinnedWindow(253, 127);
    for (auto _ : state)
        vs::setBackgroundPicture(hwnd, background());
    DestroyWindow(hwnd);
}
BENCHMARK(setBackgroundPicture)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    velkaro::testing::startHeadless(1280, 1024);
    vs::createGlobalLists();
    vs::initSkinEngine();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    vs::shutdownGdiplus();
    vs::releaseSkinEngine();
    return 0;
}
