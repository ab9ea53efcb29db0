// GDI+ drawing costs next to the same work done directly in Cairo or libpng,
// so the overhead of the flat interface shows as a ratio.
#include <gdiplus.h>

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

constexpr int kSize = 1024;
const CLSID kJpeg = {0x557cf401, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
const CLSID kPng = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};

std::u16string u16(const std::string& s)
{
    return std::u16string(s.begin(), s.end());
}

struct Session {
    ULONG_PTR token = 0;
    GpBitmap* photo = nullptr; // decoded from a JPEG
    GpBitmap* pattern = nullptr;
    std::string dir;
    Session()
    {
        GdiplusStartupInput in;
        GdiplusStartup(&token, &in, nullptr);
        const char* tmp = std::getenv("TMPDIR");
        dir = tmp ? tmp : "/tmp";
        GdipCreateBitmapFromScan0(kSize, kSize, 0, PixelFormat32bppARGB, nullptr, &pattern);
        BitmapData d;
        Rect r(0, 0, kSize, kSize);
        GdipBitmapLockBits(pattern, &r, ImageLockModeWrite, PixelFormat32bppARGB, &d);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                static_cast<uint32_t*>(d.Scan0)[y * d.Stride / 4 + x] =
                    0xff000000u | ((x * 255 / kSize) << 16) | ((y * 255 / kSize) << 8) | ((x ^ y) & 0xff);
        GdipBitmapUnlockBits(pattern, &d);
        std::u16string jpg = u16(dir + "/velkaro_bench_photo.jpg");
        GdipSaveImageToFile(pattern, reinterpret_cast<const WCHAR*>(jpg.c_str()), &kJpeg, nullptr);
        GdipCreateBitmapFromFile(reinterpret_cast<const WCHAR*>(jpg.c_str()), &photo);
    }
    ~Session()
    {
        GdipDisposeImage(photo);
        GdipDisposeImage(pattern);
        GdiplusShutdown(token);
    }
};

Session& session()
{
    static Session s;
    return s;
}

cairo_surface_t* photoSurface()
{
    // The decoded photo as a Cairo surface, for the direct Cairo runs.
    static cairo_surface_t* s = [] {
        cairo_surface_t* surf = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kSize, kSize);
        uint8_t* data = cairo_image_surface_get_data(surf);
        int stride = cairo_image_surface_get_stride(surf);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                ARGB c = 0;
                GdipBitmapGetPixel(session().photo, x, y, &c);
                reinterpret_cast<uint32_t*>(data + y * stride)[x] = c;
            }
        cairo_surface_mark_dirty(surf);
        return surf;
    }();
    return s;
}

void GdipDrawJpegImage(benchmark::State& state)
{
    GpBitmap* target = nullptr;
    GdipCreateBitmapFromScan0(kSize, kSize, 0, PixelFormat32bppARGB, nullptr, &target);
    GpGraphics* g = nullptr;
    GdipGetImageGraphicsContext(target, &g);
    for (auto _ : state)
        GdipDrawImageI(g, session().photo, 0, 0);
    GdipDeleteGraphics(g);
    GdipDisposeImage(target);
}

void CairoDrawImage(benchmark::State& state)
{
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSize, kSize);
    cairo_t* cr = cairo_create(target);
    cairo_surface_t* src = photoSurface();
    for (auto _ : state) {
        cairo_set_source_surface(cr, src, 0, 0);
        cairo_paint(cr);
        cairo_surface_flush(target);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(target);
}

void GdipFillLinearGradient(benchmark::State& state)
{
    GpBitmap* target = nullptr;
    GdipCreateBitmapFromScan0(kSize, 307, 0, PixelFormat32bppARGB, nullptr, &target);
    GpGraphics* g = nullptr;
    GdipGetImageGraphicsContext(target, &g);
    GpLineGradient* brush = nullptr;
    RectF r(0, 0, kSize, 307);
    GdipCreateLineBrushFromRect(&r, 0xffff8000, 0xff0040ff, LinearGradientModeVertical, WrapModeTile, &brush);
    for (auto _ : state)
        GdipFillRectangleI(g, reinterpret_cast<GpBrush*>(brush), 0, 0, kSize, 307);
    GdipDeleteBrush(reinterpret_cast<GpBrush*>(brush));
    GdipDeleteGraphics(g);
    GdipDisposeImage(target);
}

void CairoFillLinearGradient(benchmark::State& state)
{
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSize, 307);
    cairo_t* cr = cairo_create(target);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, 307);
    cairo_pattern_add_color_stop_rgb(p, 0, 1, 0.5, 0);
    cairo_pattern_add_color_stop_rgb(p, 1, 0, 0.25, 1);
    cairo_pattern_set_extend(p, CAIRO_EXTEND_REPEAT);
    for (auto _ : state) {
        cairo_set_source(cr, p);
        cairo_rectangle(cr, 0, 0, kSize, 307);
        cairo_fill(cr);
        cairo_surface_flush(target);
    }
    cairo_pattern_destroy(p);
    cairo_destroy(cr);
    cairo_surface_destroy(target);
}

void GdipDrawTwentyStrings(benchmark::State& state)
{
    GpBitmap* target = nullptr;
    GdipCreateBitmapFromScan0(400, 400, 0, PixelFormat32bppARGB, nullptr, &target);
    GpGraphics* g = nullptr;
    GdipGetImageGraphicsContext(target, &g);
    GpFontFamily* fam = nullptr;
    GdipCreateFontFamilyFromName(u"DejaVu Sans", nullptr, &fam);
    GpFont* font = nullptr;
    GdipCreateFont(fam, 12, FontStyleRegular, UnitPixel, &font);
    GpSolidFill* brush = nullptr;
    GdipCreateSolidFill(0xff000000, &brush);
    for (auto _ : state)
        for (int i = 0; i < 20; ++i) {
            RectF r(4, REAL(4 + i * 19), 390, 18);
            GdipDrawString(g, u"Short label text", -1, font, &r, nullptr, reinterpret_cast<GpBrush*>(brush));
        }
    GdipDeleteBrush(reinterpret_cast<GpBrush*>(brush));
    GdipDeleteFont(font);
    GdipDeleteFontFamily(fam);
    GdipDeleteGraphics(g);
    GdipDisposeImage(target);
}

void CairoDrawTwentyStrings(benchmark::State& state)
{
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 400, 400);
    cairo_t* cr = cairo_create(target);
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, 12);
    cairo_set_source_rgb(cr, 0, 0, 0);
    for (auto _ : state) {
        for (int i = 0; i < 20; ++i) {
            cairo_move_to(cr, 6, 16 + i * 19);
            cairo_show_text(cr, "Short label text");
        }
        cairo_surface_flush(target);
    }
    cairo_destroy(cr);
    cairo_surface_destroy(target);
}

void GdipEncodePng(benchmark::State& state)
{
    std::u16string path = u16(session().dir + "/velkaro_bench_out.png");
    for (auto _ : state)
        GdipSaveImageToFile(session().pattern, reinterpret_cast<const WCHAR*>(path.c_str()), &kPng, nullptr);
}

void LibpngEncodePng(benchmark::State& state)
{
    std::vector<uint8_t> rgba(size_t(kSize) * kSize * 4);
    BitmapData d;
    Rect r(0, 0, kSize, kSize);
    GdipBitmapLockBits(session().pattern, &r, ImageLockModeRead, PixelFormat32bppARGB, &d);
    std::memcpy(rgba.data(), d.Scan0, rgba.size());
    GdipBitmapUnlockBits(session().pattern, &d);
    std::vector<png_bytep> rows(kSize);
    for (int y = 0; y < kSize; ++y)
        rows[y] = rgba.data() + size_t(y) * kSize * 4;
    std::string path = session().dir + "/velkaro_bench_libpng.png";
    for (auto _ : state) {
        FILE* f = std::fopen(path.c_str(), "wb");
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        png_init_io(png, f);
        png_set_compression_level(png, 3);
        png_set_IHDR(png, info, kSize, kSize, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        png_set_bgr(png);
        png_write_image(png, rows.data());
        png_write_end(png, nullptr);
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
    }
}

} // namespace

BENCHMARK(GdipDrawJpegImage)->Unit(benchmark::kMillisecond);
BENCHMARK(CairoDrawImage)->Unit(benchmark::kMillisecond);
BENCHMARK(GdipFillLinearGradient)->Unit(benchmark::kMillisecond);
BENCHMARK(CairoFillLinearGradient)->Unit(benchmark::kMillisecond);
BENCHMARK(GdipDrawTwentyStrings)->Unit(benchmark::kMillisecond);
BENCHMARK(CairoDrawTwentyStrings)->Unit(benchmark::kMillisecond);
BENCHMARK(GdipEncodePng)->Unit(benchmark::kMillisecond);
BENCHMARK(LibpngEncodePng)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
