// libFuzzer target over the GDI+ picture decoders (PNG, JPEG, BMP).
//
// Build and run for a bounded time:
//   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DVELKARO_FUZZ=ON -DVELKARO_BUILD_TESTS=OFF -DVELKARO_BUILD_BENCH=OFF
//   cmake --build build-fuzz -j2 --target decode_fuzzer
//   mkdir -p build-fuzz/corpus && cp tests/data/pictures/*.png tests/data/pictures/*.jpg tests/data/pictures/*.bmp build-fuzz/corpus/
//   ASAN_OPTIONS=detect_leaks=1 build-fuzz/fuzz/decode_fuzzer -max_total_time=60 -rss_limit_mb=2048 build-fuzz/corpus
#include "gdiplus/codecs.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vk::gdiplus;
    std::unique_ptr<Bitmap> bmp;
    if (decodePicture(data, size, bmp) == Gdiplus::Ok && bmp) {
        // Whatever decodes must also read back and encode.
        volatile uint32_t sink = bmp->getArgb(bmp->width - 1, bmp->height - 1);
        (void)sink;
        if (uint64_t(bmp->width) * bmp->height <= 256 * 256) {
            ByteBuffer out;
            encodePng(*bmp, out);
        }
    }
    return 0;
}
