// Broken pictures and wrong handles: each call answers a status, nothing
// crashes, nothing is left allocated.
#include "gdiplus_fixture.h"

class BadInput : public GdiplusTest {};

TEST_F(BadInput, PictureCorpus)
{
    struct Case {
        const char* file;
        Status expected;
        UINT width;
        UINT height;
    } cases[] = {
        {"good.png", Ok, 24, 16},
        {"progressive.jpg", Ok, 24, 16},
        {"cmyk.jpg", Ok, 24, 16},
        {"baseline.jpg", Ok, 24, 16},
        {"indexed8.bmp", Ok, 24, 16},
        {"good24.bmp", Ok, 4, 2},
        {"empty.png", UnknownImageFormat},
        {"not_a_picture.png", UnknownImageFormat},
        {"signature_only.png", InvalidParameter},
        {"truncated.png", InvalidParameter},
        {"bad_crc.png", InvalidParameter},
        {"bad_idat.png", InvalidParameter},
        {"huge.png", OutOfMemory},
        {"truncated.jpg", InvalidParameter},
        {"header_only.jpg", InvalidParameter},
        {"huge.jpg", OutOfMemory},
        {"corrupt_frame.jpg", InvalidParameter},
        {"bad_offset.bmp", InvalidParameter},
        {"offset_inside_header.bmp", InvalidParameter},
        {"huge.bmp", OutOfMemory},
        {"bad_bitcount.bmp", InvalidParameter},
        {"zero_bitcount.bmp", InvalidParameter},
        {"truncated_pixels.bmp", InvalidParameter},
        {"rle8.bmp", NotImplemented},
        {"palette_too_big.bmp", InvalidParameter},
        {"zero_width.bmp", InvalidParameter},
        {"header_cut.bmp", InvalidParameter},
        {"no_such_file.png", FileNotFound},
    };
    for (const Case& c : cases) {
        std::u16string path = u16(std::string(VK_TEST_DATA_DIR) + "/pictures/" + c.file);
        GpImage* img = reinterpret_cast<GpImage*>(0x1);
        size_t before = vk::gdiplus::liveObjectCount();
        Status st = GdipLoadImageFromFile(reinterpret_cast<const WCHAR*>(path.c_str()), &img);
        EXPECT_EQ(c.expected, st) << c.file;
        if (st == Ok) {
            UINT w = 0, h = 0;
            GdipGetImageWidth(img, &w);
            GdipGetImageHeight(img, &h);
            EXPECT_EQ(c.width, w) << c.file;
            EXPECT_EQ(c.height, h) << c.file;
            EXPECT_EQ(Ok, GdipDisposeImage(img));
        } else {
            EXPECT_EQ(nullptr, img) << c.file;
            EXPECT_EQ(before, vk::gdiplus::liveObjectCount()) << c.file << " left an object behind";
        }
    }
}

TEST_F(BadInput, CmykAndProgressiveDecodeToTheirColours)
{
    struct Case {
        const char* file;
        ARGB left, right;
    } cases[] = {{"progressive.jpg", 0xffff0000, 0xff0000ff}, {"cmyk.jpg", 0xffff0000, 0xff0000ff}};
    for (const Case& c : cases) {
        std::u16string path = u16(std::string(VK_TEST_DATA_DIR) + "/pictures/" + c.file);
        GpBitmap* bmp = nullptr;
        ASSERT_EQ(Ok, GdipCreateBitmapFromFile(reinterpret_cast<const WCHAR*>(path.c_str()), &bmp)) << c.file;
        ARGB top = 0, bottom = 0;
        // ImageMagick's gradient runs from top to bottom.
        GdipBitmapGetPixel(bmp, 12, 0, &top);
        GdipBitmapGetPixel(bmp, 12, 15, &bottom);
        EXPECT_TRUE(near(top, c.left, 40)) << c.file << std::hex << " " << top;
        EXPECT_TRUE(near(bottom, c.right, 40)) << c.file << std::hex << " " << bottom;
        GdipDisposeImage(bmp);
    }
}

TEST_F(BadInput, NullAndStaleHandles)
{
    GpBitmap* bmp = nullptr;
    ASSERT_EQ(Ok, GdipCreateBitmapFromScan0(4, 4, 0, PixelFormat32bppARGB, nullptr, &bmp));
    GpPen* stalePen = nullptr;
    ASSERT_EQ(Ok, GdipCreatePen1(0xff000000, 1, UnitPixel, &stalePen));
    ASSERT_EQ(Ok, GdipDeletePen(stalePen));
    GpSolidFill* brush = nullptr;
    ASSERT_EQ(Ok, GdipCreateSolidFill(0xff000000, &brush));
    GpGraphics* g = nullptr;
    ASSERT_EQ(Ok, GdipGetImageGraphicsContext(bmp, &g));
    auto* bogus = reinterpret_cast<GpGraphics*>(0xdeadbeef);
    GpBitmap* scratch = nullptr;
    ARGB c;
    REAL width;
    UINT u;
    struct Case {
        const char* what;
        Status status;
    } cases[] = {
        {"delete null graphics", GdipDeleteGraphics(nullptr)},
        {"delete bogus graphics", GdipDeleteGraphics(bogus)},
        {"delete stale pen", GdipDeletePen(stalePen)},
        {"pen width of stale pen", GdipGetPenWidth(stalePen, &width)},
        {"draw with stale pen", GdipDrawLine(g, stalePen, 0, 0, 3, 3)},
        {"fill with a pen as brush", GdipFillRectangle(g, reinterpret_cast<GpBrush*>(stalePen), 0, 0, 1, 1)},
        {"brush used as graphics", GdipGraphicsClear(reinterpret_cast<GpGraphics*>(brush), 0)},
        {"bitmap used as brush", GdipDeleteBrush(reinterpret_cast<GpBrush*>(bmp))},
        {"graphics used as image", GdipGetImageWidth(reinterpret_cast<GpImage*>(g), &u)},
        {"pixel out of range", GdipBitmapGetPixel(bmp, 4, 0, &c)},
        {"pixel negative", GdipBitmapSetPixel(bmp, -1, 0, 0)},
        {"null out pointer", GdipBitmapGetPixel(bmp, 0, 0, nullptr)},
        {"null path", GdipFillPath(g, brush, nullptr)},
        {"bad smoothing", GdipSetSmoothingMode(g, SmoothingMode(77))},
        {"bad combine mode", GdipSetClipRect(g, 0, 0, 1, 1, CombineMode(9))},
        {"zero size bitmap", GdipCreateBitmapFromScan0(0, 5, 0, PixelFormat32bppARGB, nullptr, &scratch)},
        {"bitmap too large", GdipCreateBitmapFromScan0(100000, 100000, 0, PixelFormat32bppARGB, nullptr, &scratch)},
        {"odd stride", GdipCreateBitmapFromScan0(4, 4, 3, PixelFormat32bppARGB, reinterpret_cast<BYTE*>(&c), &scratch)},
        {"unknown family", GdipCreateFontFamilyFromName(u"No Such Family Anywhere", nullptr, nullptr)},
        {"save with unknown encoder", GdipSaveImageToFile(bmp, u"/tmp/x.png", &ImageFormatPNG, nullptr)},
        {"null file name", GdipLoadImageFromFile(nullptr, reinterpret_cast<GpImage**>(&scratch))},
    };
    const Status expected[] = {InvalidParameter, InvalidParameter, InvalidParameter, InvalidParameter, InvalidParameter,
                               InvalidParameter, InvalidParameter, InvalidParameter, InvalidParameter, InvalidParameter,
                               InvalidParameter, InvalidParameter, InvalidParameter, InvalidParameter, InvalidParameter,
                               InvalidParameter, OutOfMemory,      InvalidParameter, InvalidParameter, FileNotFound,
                               InvalidParameter};
    static_assert(sizeof expected / sizeof expected[0] == sizeof cases / sizeof cases[0]);
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i)
        EXPECT_EQ(expected[i], cases[i].status) << cases[i].what;
    GpFontFamily* fam = nullptr;
    EXPECT_EQ(FontFamilyNotFound, GdipCreateFontFamilyFromName(u"No Such Family Anywhere", nullptr, &fam));
    EXPECT_EQ(nullptr, fam);
    GdipDeleteGraphics(g);
    GdipDeleteBrush(brush);
    GdipDisposeImage(bmp);
}

TEST(GdiplusStartupTest, TokensAndShutdown)
{
    ULONG_PTR token = 0;
    GdiplusStartupInput input;
    EXPECT_EQ(InvalidParameter, GdiplusStartup(&token, nullptr, nullptr));
    GdiplusStartupInput bad;
    bad.GdiplusVersion = 9;
    EXPECT_EQ(UnsupportedGdiplusVersion, GdiplusStartup(&token, &bad, nullptr));
    GpSolidFill* brush = nullptr;
    EXPECT_EQ(GdiplusNotInitialized, GdipCreateSolidFill(0, &brush));
    ASSERT_EQ(Ok, GdiplusStartup(&token, &input, nullptr));
    EXPECT_NE(0u, token);
    EXPECT_EQ(Ok, GdipCreateSolidFill(0, &brush));
    EXPECT_EQ(Ok, GdipDeleteBrush(brush));
    GdiplusShutdown(0); // a zero token does nothing
    GdiplusShutdown(token);
    GdiplusShutdown(token); // a second shutdown does nothing
    EXPECT_EQ(GdiplusNotInitialized, GdipCreateSolidFill(0, &brush));
}
