// Text through the wrappers: UTF-8 texts (Chinese, beyond the BMP) reach
// GDI+ as UTF-16 and draw; measuring agrees with drawing; drawing on a DC.
#include "gfx_fixture.h"

#include <velkaro/gfx/bitmap.h>
#include <velkaro/gfx/brushes.h>
#include <velkaro/gfx/font.h>
#include <velkaro/gfx/graphics.h>
#include <velkaro/gfx/string_format.h>
#include <velkaro/gfx/wide_text.h>

using namespace Gdiplus;

namespace {

constexpr ARGB kWhite = 0xffffffff;
constexpr ARGB kBlack = 0xff000000;

// Pixels of the bitmap that are not the background.
int inked(gfx::Bitmap& bitmap, ARGB background)
{
    int n = 0;
    for (UINT y = 0; y < bitmap.height(); ++y)
        for (UINT x = 0; x < bitmap.width(); ++x)
            n += bitmap.getPixel(int(x), int(y)) != background;
    return n;
}

} // namespace

TEST(WideText, CountsUtf16Units)
{
    struct Case {
        const char* utf8;
        size_t units;
    };
    const Case cases[] = {
        {"", 0}, {"abc", 3}, {"宋体", 2}, {"𝄞", 2}, {"a😀b", 4}, {"ä中𝄞", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(c.units, gfx::toWide(c.utf8).size());
    }
    EXPECT_TRUE(gfx::toWide(static_cast<const char*>(nullptr)).empty());
    gfx::WideString clef = gfx::toWide("𝄞");
    EXPECT_EQ(0xD834, clef[0]);
    EXPECT_EQ(0xDD1E, clef[1]);
}

TEST_F(GfxTest, DrawStringDrawsTextsBeyondAnsiAndTheBmp)
{
    gfx::Font font;
    ASSERT_TRUE(font.create("宋体", 16, FontStyleRegular, UnitPixel));
    gfx::SolidBrush ink;
    ASSERT_TRUE(ink.create(kBlack));
    gfx::StringFormat format;
    ASSERT_TRUE(format.create());

    for (const char* text : {"宋体 Ünïcode", "𝄞😀 中文", "Plain"}) {
        SCOPED_TRACE(text);
        gfx::Bitmap canvas;
        gfx::Graphics graphics;
        ASSERT_TRUE(canvas.create(160, 30));
        ASSERT_TRUE(graphics.fromImage(canvas));
        ASSERT_TRUE(graphics.clear(kWhite));
        EXPECT_TRUE(graphics.drawString(text, font, ink, RectF(2, 2, 156, 26), format));
        EXPECT_GT(inked(canvas, kWhite), 20);
        if (std::string(text).starts_with("𝄞"))
            saveForLooking(canvas, outputPath("gfx_draw_string.png"));
        // Nothing lands left of the layout rectangle.
        for (int y = 0; y < 30; ++y)
            EXPECT_EQ(kWhite, canvas.getPixel(0, y));
    }
}

TEST_F(GfxTest, MeasureStringAgreesWithAlignment)
{
    gfx::Font font;
    ASSERT_TRUE(font.create("DejaVu Sans", 14, FontStyleRegular, UnitPixel));
    gfx::SolidBrush ink;
    ASSERT_TRUE(ink.create(kBlack));
    gfx::StringFormat format;
    ASSERT_TRUE(format.create(StringFormatFlagsNoWrap));
    ASSERT_TRUE(format.setTrimming(StringTrimmingNone));
    ASSERT_TRUE(format.setLineAlignment(StringAlignmentNear));
    gfx::Bitmap canvas;
    gfx::Graphics graphics;
    ASSERT_TRUE(canvas.create(200, 24));
    ASSERT_TRUE(graphics.fromImage(canvas));

    RectF shortBox;
    RectF longBox;
    ASSERT_TRUE(graphics.measureString("ab", font, RectF(0, 0, 200, 24), format, shortBox));
    ASSERT_TRUE(graphics.measureString("abcdefgh", font, RectF(0, 0, 200, 24), format, longBox));
    EXPECT_GT(shortBox.Width, 0);
    EXPECT_GT(longBox.Width, shortBox.Width);

    // Far alignment puts the ink at the right, none in the left half.
    ASSERT_TRUE(format.setAlignment(StringAlignmentFar));
    ASSERT_TRUE(graphics.clear(kWhite));
    ASSERT_TRUE(graphics.drawString("ab", font, ink, RectF(0, 0, 200, 24), format));
    int leftInk = 0;
    int rightInk = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 200; ++x)
            (x < 100 ? leftInk : rightInk) += canvas.getPixel(x, y) != kWhite;
    EXPECT_EQ(0, leftInk);
    EXPECT_GT(rightInk, 0);
}

TEST_F(GfxTest, GraphicsOnADcDrawsIntoItsBitmap)
{
    ASSERT_TRUE(velkaro::testing::startHeadless());
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 20;
    info.bmiHeader.biHeight = -20;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(dc, dib);
    {
        gfx::Graphics graphics;
        ASSERT_TRUE(graphics.fromHdc(dc));
        gfx::SolidBrush brush;
        ASSERT_TRUE(brush.create(0xff2040ff));
        ASSERT_TRUE(graphics.setClipRect(0, 0, 10, 20));
        ASSERT_TRUE(graphics.fillRectangle(brush, 0, 0, 20, 20));
        ASSERT_TRUE(graphics.resetClip());
    }
    EXPECT_EQ(RGB(0x20, 0x40, 0xff), GetPixel(dc, 5, 5));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 15, 5)) << "the clip kept the right half";
    SelectObject(dc, previous);
    DeleteObject(dib);
    DeleteDC(dc);

    gfx::Graphics none;
    EXPECT_FALSE(none.fromHdc(nullptr));
    EXPECT_EQ(nullptr, none.handle());
}
