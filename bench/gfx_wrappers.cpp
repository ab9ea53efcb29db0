// The drawing kit's wrappers next to the flat calls they make: drawImageRect
// through the wrapper (table look-up, size queries, status record) against
// GdipDrawImageRectRect called directly, on a small image where any overhead
// of the wrapper would show.
#include <velkaro/gfx/bitmap.h>
#include <velkaro/gfx/graphics.h>

#include <benchmark/benchmark.h>

using namespace Gdiplus;
namespace gfx = velkaro::gfx;

namespace {

constexpr int kSource = 32;
constexpr float kTarget = 48;

struct Scene {
    ULONG_PTR token = 0;
    gfx::Bitmap source;
    gfx::Bitmap canvas;
    gfx::Graphics graphics;
    Scene()
    {
        gfx::startGdiplus(&token);
        source.create(kSource, kSource);
        for (int y = 0; y < kSource; ++y)
            for (int x = 0; x < kSource; ++x)
                source.setPixel(x, y, 0xff000000u | ARGB(x * 8) << 16 | ARGB(y * 8) << 8);
        canvas.create(64, 64);
        graphics.fromImage(canvas);
    }
    ~Scene()
    {
        graphics.release();
        canvas.dispose();
        source.dispose();
        gfx::stopGdiplus(token);
    }
};

Scene& scene()
{
    static Scene s;
    return s;
}

void WrapperDrawImageRect(benchmark::State& state)
{
    Scene& s = scene();
    for (auto _ : state)
        benchmark::DoNotOptimize(s.graphics.drawImageRect(s.source, 4, 4, kTarget, kTarget));
}
BENCHMARK(WrapperDrawImageRect);

void FlatDrawImageRectRect(benchmark::State& state)
{
    Scene& s = scene();
    GpGraphics* graphics = s.graphics.native();
    GpImage* image = s.source.nativeImage();
    for (auto _ : state)
        benchmark::DoNotOptimize(DllExports::GdipDrawImageRectRect(graphics, image, 4, 4, kTarget, kTarget, 0, 0,
                                                                   kSource, kSource, UnitPixel, nullptr, nullptr,
                                                                   nullptr));
}
BENCHMARK(FlatDrawImageRectRect);

} // namespace

BENCHMARK_MAIN();
