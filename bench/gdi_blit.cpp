// GDI speed: BitBlt SRCCOPY between two 1024 x 1024 32-bpp DIB sections next
// to a memcpy of the same bytes, FillRect of the same size, and TextOutA.
#include <windows.h>

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr int kSide = 1024;

struct Dib {
    Dib()
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = kSide;
        bi.bmiHeader.biHeight = -kSide;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        dc = CreateCompatibleDC(nullptr);
        bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = SelectObject(dc, bmp);
        std::memset(bits, 0x5A, size_t(kSide) * kSide * 4);
    }
    ~Dib()
    {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    HDC dc;
    HBITMAP bmp;
    HGDIOBJ old;
    void* bits = nullptr;
};

void BM_BitBltSrcCopy1024(benchmark::State& state)
{
    Dib src, dst;
    for (auto _ : state) {
        BitBlt(dst.dc, 0, 0, kSide, kSide, src.dc, 0, 0, SRCCOPY);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kSide * kSide * 4);
}
BENCHMARK(BM_BitBltSrcCopy1024);

void BM_MemcpySameBytes(benchmark::State& state)
{
    std::vector<uint32_t> a(size_t(kSide) * kSide, 1), b(size_t(kSide) * kSide, 2);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size() * 4);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kSide * kSide * 4);
}
BENCHMARK(BM_MemcpySameBytes);

void BM_FillRect1024(benchmark::State& state)
{
    Dib dst;
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    RECT r{0, 0, kSide, kSide};
    for (auto _ : state) {
        FillRect(dst.dc, &r, brush);
        benchmark::ClobberMemory();
    }
    DeleteObject(brush);
    state.SetBytesProcessed(int64_t(state.iterations()) * kSide * kSide * 4);
}
BENCHMARK(BM_FillRect1024);

void BM_TextOutShort(benchmark::State& state)
{
    Dib dst;
    SelectObject(dst.dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dst.dc, TRANSPARENT);
    const char text[] = "确定 OK Cancel";
    for (auto _ : state)
        TextOutA(dst.dc, 10, 10, text, int(sizeof text - 1));
}
BENCHMARK(BM_TextOutShort);

} // namespace

BENCHMARK_MAIN();
