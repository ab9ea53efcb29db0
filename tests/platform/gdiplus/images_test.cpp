// Bitmaps: pixel access, locking, encoders and round trips through files.
#include "gdiplus_fixture.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const CLSID kPng = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
const CLSID kJpeg = {0x557cf401, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
const CLSID kBmp = {0x557cf400, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};

bool sameGuid(const GUID& a, const GUID& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::u16string wpath(const std::string& s)
{
    return u16(s);
}

const WCHAR* w(const std::u16string& s)
{
    return reinterpret_cast<const WCHAR*>(s.c_str());
}

} // namespace

class Images : public GdiplusTest {};

TEST_F(Images, SetPixelThenGetPixelIsExactForAnyAlpha)
{
    canvas(8, 1, 0);
    const ARGB colors[] = {0x00000000, 0x01ff8040, 0x10abcdef, 0x7f123456, 0x80fedcba, 0xfe010203, 0xffffffff, 0x00ff00ff};
    for (int i = 0; i < 8; ++i)
        ASSERT_EQ(Ok, GdipBitmapSetPixel(m_bitmap, i, 0, colors[i]));
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(colors[i], pixel(i, 0)) << i;
}

TEST_F(Images, Scan0DefaultsAndCallerMemory)
{
    GpBitmap* bmp = nullptr;
    ASSERT_EQ(Ok, GdipCreateBitmapFromScan0(3, 2, 0, PixelFormat32bppARGB, nullptr, &bmp));
    ARGB c = 1;
    ASSERT_EQ(Ok, GdipBitmapGetPixel(bmp, 2, 1, &c));
    EXPECT_EQ(0u, c); // new pixels are transparent
    PixelFormat f = 0;
    ASSERT_EQ(Ok, GdipGetImagePixelFormat(bmp, &f));
    EXPECT_EQ(PixelFormat32bppARGB, f);
    GUID raw;
    ASSERT_EQ(Ok, GdipGetImageRawFormat(bmp, &raw));
    EXPECT_TRUE(sameGuid(raw, ImageFormatMemoryBMP));
    GdipDisposeImage(bmp);

    uint32_t mem[4 * 2] = {};
    ASSERT_EQ(Ok, GdipCreateBitmapFromScan0(4, 2, 16, PixelFormat32bppARGB, reinterpret_cast<BYTE*>(mem), &bmp));
    ASSERT_EQ(Ok, GdipBitmapSetPixel(bmp, 1, 1, 0x80112233));
    EXPECT_EQ(0x80112233u, mem[5]); // the caller's memory holds the pixels
    GpGraphics* g = nullptr;
    ASSERT_EQ(Ok, GdipGetImageGraphicsContext(bmp, &g));
    ASSERT_EQ(Ok, GdipGraphicsClear(g, 0xff00ff00));
    EXPECT_EQ(0xff00ff00u, mem[0]);
    GdipDeleteGraphics(g);
    GdipDisposeImage(bmp);
}

TEST_F(Images, LockBitsReadsAndWritesInTheRequestedFormat)
{
    canvas(4, 4, 0x80ff0000);
    BitmapData data{};
    Rect r(1, 1, 2, 2);
    ASSERT_EQ(Ok, GdipBitmapLockBits(m_bitmap, &r, ImageLockModeRead | ImageLockModeWrite, PixelFormat32bppPARGB, &data));
    EXPECT_EQ(2u, data.Width);
    auto* px = static_cast<uint32_t*>(data.Scan0);
    EXPECT_EQ(0x80800000u, px[0]);
    px[0] = 0xff0000ff;
    EXPECT_EQ(WrongState, GdipBitmapLockBits(m_bitmap, &r, ImageLockModeRead, PixelFormat32bppARGB, &data));
    ARGB c;
    EXPECT_EQ(WrongState, GdipBitmapGetPixel(m_bitmap, 0, 0, &c));
    ASSERT_EQ(Ok, GdipBitmapUnlockBits(m_bitmap, &data));
    EXPECT_EQ(0xff0000ffu, pixel(1, 1));
    EXPECT_EQ(0x80ff0000u, pixel(2, 2));
    EXPECT_EQ(WrongState, GdipBitmapUnlockBits(m_bitmap, &data));
    Rect outside(3, 3, 2, 2);
    EXPECT_EQ(InvalidParameter, GdipBitmapLockBits(m_bitmap, &outside, ImageLockModeRead, PixelFormat32bppARGB, &data));
}

TEST_F(Images, EncoderListHasTheRealGuids)
{
    UINT count = 0, size = 0;
    ASSERT_EQ(Ok, GdipGetImageEncodersSize(&count, &size));
    ASSERT_EQ(3u, count);
    std::vector<uint8_t> block(size);
    auto* codecs = reinterpret_cast<ImageCodecInfo*>(block.data());
    ASSERT_EQ(Ok, GdipGetImageEncoders(count, size, codecs));
    struct Want {
        const CLSID& clsid;
        const GUID& format;
        std::u16string mime;
    } wants[] = {{kBmp, ImageFormatBMP, u"image/bmp"}, {kJpeg, ImageFormatJPEG, u"image/jpeg"}, {kPng, ImageFormatPNG, u"image/png"}};
    for (const Want& wnt : wants) {
        bool found = false;
        for (UINT i = 0; i < count; ++i)
            if (sameGuid(codecs[i].Clsid, wnt.clsid)) {
                found = true;
                EXPECT_TRUE(sameGuid(codecs[i].FormatID, wnt.format));
                EXPECT_EQ(wnt.mime, std::u16string(reinterpret_cast<const char16_t*>(codecs[i].MimeType)));
                EXPECT_TRUE(codecs[i].Flags & ImageCodecFlagsEncoder);
            }
        EXPECT_TRUE(found);
    }
    EXPECT_EQ(InvalidParameter, GdipGetImageEncoders(count, size, nullptr));
}

TEST_F(Images, RoundTripsThroughFiles)
{
    struct Case {
        const char* name;
        const CLSID& clsid;
        PixelFormat format;
        int tolerance;
        const GUID& raw;
    } cases[] = {
        {"rt.png", kPng, PixelFormat32bppARGB, 0, ImageFormatPNG},
        {"rt24.png", kPng, PixelFormat24bppRGB, 0, ImageFormatPNG},
        {"rt.bmp", kBmp, PixelFormat24bppRGB, 0, ImageFormatBMP},
        {"rt32.bmp", kBmp, PixelFormat32bppRGB, 0, ImageFormatBMP},
        {"rt.jpg", kJpeg, PixelFormat24bppRGB, 24, ImageFormatJPEG},
    };
    for (const Case& c : cases) {
        GpBitmap* bmp = nullptr;
        ASSERT_EQ(Ok, GdipCreateBitmapFromScan0(16, 8, 0, c.format, nullptr, &bmp));
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 16; ++x) {
                ARGB a = c.format == PixelFormat32bppARGB ? ARGB((x * 16 + 15) << 24) : 0xff000000u;
                GdipBitmapSetPixel(bmp, x, y, a | (x * 16) << 16 | (y * 32) << 8 | 0x80);
            }
        std::u16string path = wpath(outputPath(c.name));
        ASSERT_EQ(Ok, GdipSaveImageToFile(bmp, w(path), &c.clsid, nullptr)) << c.name;
        GpBitmap* back = nullptr;
        ASSERT_EQ(Ok, GdipCreateBitmapFromFile(w(path), &back)) << c.name;
        UINT bw = 0, bh = 0;
        GdipGetImageWidth(back, &bw);
        GdipGetImageHeight(back, &bh);
        EXPECT_EQ(16u, bw);
        EXPECT_EQ(8u, bh);
        GUID raw;
        GdipGetImageRawFormat(back, &raw);
        EXPECT_TRUE(sameGuid(raw, c.raw)) << c.name;
        int worst = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 16; ++x) {
                ARGB a, b;
                GdipBitmapGetPixel(bmp, x, y, &a);
                GdipBitmapGetPixel(back, x, y, &b);
                for (int s = 0; s < 32; s += 8)
                    worst = std::max(worst, std::abs(channel(a, s) - channel(b, s)));
            }
        EXPECT_LE(worst, c.tolerance) << c.name;
        GdipDisposeImage(back);
        GdipDisposeImage(bmp);
    }
}

TEST_F(Images, JpegQualityParameterChangesTheSize)
{
    canvas(64, 64);
    GpPen* pen = nullptr;
    GdipCreatePen1(0xff204080, 3, UnitPixel, &pen);
    for (int i = 0; i < 64; i += 6)
        GdipDrawLineI(m_graphics, pen, 0, i, 63, 63 - i);
    GdipDeletePen(pen);
    auto sizeAt = [&](ULONG quality) {
        EncoderParameters params;
        params.Count = 1;
        params.Parameter[0].Guid = EncoderQuality;
        params.Parameter[0].NumberOfValues = 1;
        params.Parameter[0].Type = EncoderParameterValueTypeLong;
        params.Parameter[0].Value = &quality;
        std::string p = outputPath("quality.jpg");
        EXPECT_EQ(Ok, GdipSaveImageToFile(m_bitmap, w(wpath(p)), &kJpeg, &params));
        FILE* f = std::fopen(p.c_str(), "rb");
        std::fseek(f, 0, SEEK_END);
        long n = std::ftell(f);
        std::fclose(f);
        return n;
    };
    EXPECT_LT(sizeAt(10), sizeAt(95));
}

TEST_F(Images, StreamsOnGlobalMemoryRoundTrip)
{
    canvas(5, 3, 0x80204060);
    GdipBitmapSetPixel(m_bitmap, 4, 2, 0xff00ff00);
    IStream* stream = nullptr;
    ASSERT_EQ(S_OK, CreateStreamOnHGlobal(nullptr, TRUE, &stream));
    ASSERT_EQ(Ok, GdipSaveImageToStream(m_bitmap, stream, &kPng, nullptr));
    LARGE_INTEGER zero{};
    ASSERT_EQ(S_OK, stream->Seek(zero, STREAM_SEEK_SET, nullptr));
    GpBitmap* back = nullptr;
    ASSERT_EQ(Ok, GdipCreateBitmapFromStream(stream, &back));
    ARGB c = 0;
    GdipBitmapGetPixel(back, 0, 0, &c);
    EXPECT_EQ(0x80204060u, c);
    GdipBitmapGetPixel(back, 4, 2, &c);
    EXPECT_EQ(0xff00ff00u, c);
    GdipDisposeImage(back);
    // At its end the stream holds no picture.
    GpImage* none = nullptr;
    EXPECT_EQ(UnknownImageFormat, GdipLoadImageFromStream(stream, &none));
    EXPECT_EQ(nullptr, none);
    stream->Release();
}

TEST_F(Images, ExportsResolveThroughGetProcAddress)
{
    HMODULE dll = LoadLibraryA("gdiplus.dll");
    ASSERT_NE(nullptr, dll);
    for (const char* name : {"GdiplusStartup", "GdipCreateBitmapFromScan0", "GdipDrawString", "GdipSaveImageToStream",
                             "GdipSetPathGradientSurroundColorsWithCount"})
        EXPECT_NE(nullptr, GetProcAddress(dll, name)) << name;
    EXPECT_EQ(nullptr, GetProcAddress(dll, "GdipNoSuchFunction"));
    auto create = reinterpret_cast<GpStatus(WINGDIPAPI*)(ARGB, GpSolidFill**)>(
        reinterpret_cast<void*>(GetProcAddress(dll, "GdipCreateSolidFill")));
    GpSolidFill* brush = nullptr;
    ASSERT_EQ(Ok, create(0xff123456, &brush));
    GdipDeleteBrush(brush);
}
