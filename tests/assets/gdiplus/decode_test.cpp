// Every built-in picture decodes through the platform's GDI+ layer, the way
// the engine loads them, with the sizes, formats and fixed pixels it relies on.
#include <velkaro/assets.h>

#include <gdiplus.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;
namespace va = velkaro::assets;

namespace {

class GdiplusAssets : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        GdiplusStartupInput input;
        ASSERT_EQ(GdiplusStartup(&s_token, &input, nullptr), Ok);
    }
    static void TearDownTestSuite() { GdiplusShutdown(s_token); }

    // Decodes a file image from memory as the engine does: an HGLOBAL stream.
    GpBitmap* decode(const va::Blob& blob)
    {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, blob.size);
        memcpy(GlobalLock(block), blob.data, blob.size);
        GlobalUnlock(block);
        IStream* stream = nullptr;
        EXPECT_EQ(CreateStreamOnHGlobal(block, TRUE, &stream), S_OK);
        GpBitmap* bitmap = nullptr;
        EXPECT_EQ(GdipCreateBitmapFromStream(stream, &bitmap), Ok);
        stream->Release();
        m_bitmaps.push_back(bitmap);
        return bitmap;
    }
    void TearDown() override
    {
        for (GpBitmap* b : m_bitmaps)
            if (b)
                GdipDisposeImage(b);
    }
    static UINT width(GpBitmap* b)
    {
        UINT w = 0;
        GdipGetImageWidth(b, &w);
        return w;
    }
    static UINT height(GpBitmap* b)
    {
        UINT h = 0;
        GdipGetImageHeight(b, &h);
        return h;
    }
    static ARGB pixel(GpBitmap* b, int x, int y)
    {
        ARGB c = 0;
        GdipBitmapGetPixel(b, x, y, &c);
        return c;
    }
    static bool isFormat(GpBitmap* b, const GUID& f)
    {
        GUID g{};
        GdipGetImageRawFormat(b, &g);
        return memcmp(&g, &f, sizeof g) == 0;
    }

    static ULONG_PTR s_token;
    std::vector<GpBitmap*> m_bitmaps;
};

ULONG_PTR GdiplusAssets::s_token = 0;

TEST_F(GdiplusAssets, EveryPictureHasItsSizeAndFormat)
{
    struct Case {
        const char* name;
        va::Blob blob;
        UINT w, h;
        bool png;
    } cases[] = {
        {"background", va::windowBackgroundImage(), 1024, 1024, false},
        {"photo", va::defaultPhotoImage(), 147, 227, false},
        {"help", va::captionGlyphImage(va::CaptionGlyph::Help), 26, 18, true},
        {"menu", va::captionGlyphImage(va::CaptionGlyph::MainMenu), 26, 18, true},
        {"minimize", va::captionGlyphImage(va::CaptionGlyph::Minimize), 26, 18, true},
        {"maximize", va::captionGlyphImage(va::CaptionGlyph::Maximize), 26, 18, true},
        {"restore", va::captionGlyphImage(va::CaptionGlyph::Restore), 26, 18, true},
        {"close", va::captionGlyphImage(va::CaptionGlyph::Close), 38, 18, true},
        {"check", va::checkMarkImage(), 13, 12, true},
        {"up", va::arrowUpImage(), 7, 4, true},
        {"down", va::arrowDownImage(), 7, 4, true},
        {"left", va::arrowLeftImage(), 4, 7, true},
        {"right", va::arrowRightImage(), 4, 7, true},
    };
    for (const Case& c : cases) {
        GpBitmap* b = decode(c.blob);
        ASSERT_NE(b, nullptr) << c.name;
        EXPECT_EQ(width(b), c.w) << c.name;
        EXPECT_EQ(height(b), c.h) << c.name;
        EXPECT_TRUE(isFormat(b, c.png ? ImageFormatPNG : ImageFormatJPEG)) << c.name;
    }
    for (int i = 0; i < va::kOverlayCount; ++i) {
        GpBitmap* b = decode(va::overlayImage(i));
        ASSERT_NE(b, nullptr) << i;
        EXPECT_EQ(width(b), 159u);
        EXPECT_EQ(height(b), 246u);
        EXPECT_TRUE(isFormat(b, ImageFormatPNG));
    }
}

TEST_F(GdiplusAssets, CheckMarkKeepsItsDarkestGreenAndTransparentWhite)
{
    GpBitmap* b = decode(va::checkMarkImage());
    bool darkest = false;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 13; ++x) {
            ARGB c = pixel(b, x, y);
            if (c == 0xFF548805)
                darkest = true;
            if ((c >> 24) == 0) {
                EXPECT_EQ(c, 0x00FFFFFFu) << x << "," << y;
            }
        }
    EXPECT_TRUE(darkest);
}

TEST_F(GdiplusAssets, OverlaysHaveTheirFrameColoursAndClearCentres)
{
    const ARGB frames[] = {0, 0xFF2773C2, 0xFFFF4862, 0xFFF40BF2, 0xFF0BF4C6, 0xFFEDFB00};
    for (int i = 0; i < va::kOverlayCount; ++i) {
        GpBitmap* b = decode(va::overlayImage(i));
        EXPECT_EQ(pixel(b, 80, 120) >> 24, 0u) << "overlay " << i << " is clear inside";
        if (i > 0) {
            EXPECT_EQ(pixel(b, 2, 120), frames[i]) << "overlay " << i;
            EXPECT_EQ(pixel(b, 156, 60), frames[i]) << "overlay " << i;
        } else {
            EXPECT_EQ(pixel(b, 2, 120) >> 24, 0u);
        }
    }
}

} // namespace
