// Background preparation and frame rendering, checked by pixels.
#include "frame_fixture.h"

#include "skin/core/skin_images.h"
#include "skin/frame/render_frame.h"

#include <velkaro/gfx/bitmap.h>
#include <velkaro/gfx/graphics.h>

#include <functional>
#include <string>

namespace frame_test {
namespace {

using RenderTest = FrameTest;

// A PNG whose pixel (x, y) is colour(x, y).
vs::Bytes makePicture(int w, int h, const std::function<Gdiplus::ARGB(int, int)>& colour)
{
    velkaro::gfx::Bitmap bitmap;
    bitmap.create(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bitmap.setPixel(x, y, colour(x, y));
    vs::Bytes png = bitmap.saveToBytes(velkaro::gfx::kPngFormatText);
    bitmap.dispose();
    return png;
}

struct Decoded {
    velkaro::gfx::Bitmap bitmap;
    explicit Decoded(const vs::Bytes& bytes) { bitmap.fromBytes(bytes); }
    Gdiplus::ARGB at(int x, int y) const { return bitmap.getPixel(x, y); }
};

COLORREF frameAt(HWND hwnd, int x, int y) { return GetPixel(vs::skinAt(vs::findSkinSlot(hwnd)).frameDc, x, y); }

COLORREF rgbOf(Gdiplus::ARGB c) { return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

TEST_F(RenderTest, AverageOfAUniformPictureIsThatColour)
{
    vs::Bytes picture = makePicture(64, 48, [](int, int) { return 0xFF3366CCu; });
    EXPECT_EQ(vs::averageColor(picture, 2000), 0xFF000000u | RGB(0x33, 0x66, 0xCC));
    EXPECT_EQ(vs::averageColor(picture, 2000, 4, 4), 0xFF000000u | RGB(0x33, 0x66, 0xCC));
    EXPECT_EQ(vs::averageColor(vs::Bytes{1, 2, 3}, 2000), 0u);
}

TEST_F(RenderTest, FadeOfA1024PictureStartsAt718)
{
    auto pattern = [](int x, int y) { return 0xFF000000u | (unsigned(x & 0xFF) << 16) | (unsigned(y & 0xFF) << 8) | 0x40; };
    vs::Bytes picture = makePicture(1024, 1024, pattern);
    COLORREF fade = 0xFF0000FF;  // red
    Decoded prepared(vs::prepareBackground(picture, fade));
    ASSERT_EQ(prepared.bitmap.width(), 1024u);

    for (int y = 0; y < 718; y += 37)
        for (int x = 0; x < 718; x += 41)
            ASSERT_EQ(prepared.at(x, y), pattern(x, y)) << x << "," << y;
    // The far edges are the fade colour; half way in, a blend of both.
    EXPECT_GE(rgbOf(prepared.at(1023, 100)) & 0xFF, 0xFEu);
    EXPECT_GE(rgbOf(prepared.at(100, 1023)) & 0xFF, 0xFEu);
    EXPECT_NE(prepared.at(870, 100), pattern(870, 100));
    EXPECT_NE(prepared.at(100, 870), pattern(100, 870));

    // The right-aligned variant fades the left edge instead.
    Decoded mirrored(vs::prepareBackground(picture, fade, std::nullopt, 0));
    EXPECT_GE(rgbOf(mirrored.at(0, 100)) & 0xFF, 0xFEu);
    EXPECT_EQ(mirrored.at(500, 100), pattern(500, 100));
}

TEST_F(RenderTest, SetBackgroundPictureNeedsAnAttachedWindowAndADecodablePicture)
{
    vs::Bytes picture = makePicture(300, 200, [](int, int) { return 0xFF102030u; });
    HWND loose = CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(vs::setBackgroundPicture(loose, picture), 0);
    DestroyWindow(loose);

    HWND hwnd = open(300, 200);
    EXPECT_EQ(vs::setBackgroundPicture(hwnd, vs::Bytes{}), 0);
    ASSERT_EQ(vs::setBackgroundPicture(hwnd, picture, 3), 1);
    EXPECT_EQ(skinOf(hwnd).backgroundImage, picture);  // layout 3 keeps the picture as it is
    EXPECT_EQ(skinOf(hwnd).backgroundColor, 0xFF000000u | RGB(0x10, 0x20, 0x30));

    // A picture that does not decode leaves the current one and the layout.
    EXPECT_EQ(vs::setBackgroundPicture(hwnd, vs::Bytes{'B', 'M', 0, 1}, 0), 0);
    EXPECT_EQ(skinOf(hwnd).backgroundImage, picture);
    EXPECT_EQ(skinOf(hwnd).backgroundLayout, 3);
}

TEST_F(RenderTest, NoPictureRendersBlackInsideTheBorder)
{
    HWND hwnd = open(300, 200);
    EXPECT_EQ(frameAt(hwnd, 150, 150), RGB(0, 0, 0));
    EXPECT_EQ(vt::windowPixel(hwnd, 150, 150) & 0xFFFFFF, RGB(0, 0, 0));
    // The border: dark outside, light inside.
    COLORREF inner = frameAt(hwnd, 1, 100);
    EXPECT_GT(GetRValue(inner) + GetGValue(inner) + GetBValue(inner), 300);
    // The rounded region cuts the corner pixel.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(hwnd, region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_TRUE(PtInRegion(region, 150, 0));
    DeleteObject(region);
}

TEST_F(RenderTest, RightAlignedPictureWiderThanTheWindow)
{
    HWND hwnd = open(300, 200);
    vs::Bytes picture = makePicture(600, 200, [](int x, int y) {
        return 0xFF000000u | (unsigned(x / 3) << 16) | (unsigned(y) << 8) | 0x80;
    });
    ASSERT_EQ(vs::setBackgroundPicture(hwnd, picture, 1), 1);
    vt::pumpUntilIdle();
    Decoded prepared(skinOf(hwnd).backgroundImage);
    for (POINT p : {POINT{100, 100}, POINT{200, 60}, POINT{290, 150}})
        EXPECT_EQ(frameAt(hwnd, p.x, p.y), rgbOf(prepared.at(p.x + 300, p.y))) << p.x;
}

TEST_F(RenderTest, MirroredTilingFillsTheWidthDownToThePictureHeight)
{
    HWND hwnd = open(300, 200);
    const Gdiplus::ARGB red = 0xFFFF0000, blue = 0xFF0000FF;
    vs::Bytes picture = makePicture(100, 50, [&](int x, int) { return x < 50 ? red : blue; });
    ASSERT_EQ(vs::setBackgroundPicture(hwnd, picture, 4), 1);
    vt::pumpUntilIdle();
    struct Case {
        int x;
        COLORREF colour;
    } cases[] = {{10, RGB(255, 0, 0)}, {60, RGB(0, 0, 255)}, {110, RGB(0, 0, 255)}, {160, RGB(255, 0, 0)},
                 {210, RGB(255, 0, 0)}, {260, RGB(0, 0, 255)}};
    for (const Case& c : cases)
        EXPECT_EQ(frameAt(hwnd, c.x, 40), c.colour) << c.x;
    // Below the strip: the picture's average colour.
    COLORREF below = frameAt(hwnd, 150, 120);
    EXPECT_EQ(below, skinOf(hwnd).backgroundColor & 0xFFFFFF);
}

TEST_F(RenderTest, CaptionBandWithoutTintIsAWhiteGradient)
{
    nextOptions.captionBand = 1;
    HWND hwnd = open(300, 200);
    COLORREF top = frameAt(hwnd, 150, 1), below = frameAt(hwnd, 150, 100);
    EXPECT_GT(GetRValue(top), 100);  // white at 150 over black
    EXPECT_EQ(below, RGB(0, 0, 0));  // and no tint anywhere else
}

TEST_F(RenderTest, ANonInteractiveWindowGetsNoFrameDecorations)
{
    nextOptions.interactive = 0;
    HWND hwnd = open(300, 200);
    EXPECT_EQ(skinOf(hwnd).captionDc, nullptr);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(hwnd, region), ERROR);
    DeleteObject(region);
    EXPECT_EQ(frameAt(hwnd, 0, 100), RGB(0, 0, 0));
}

TEST_F(RenderTest, RepaintsCopyTheBackBufferUntilTheLookChanges)
{
    HWND hwnd = open(300, 200);
    vs::setBackgroundPicture(hwnd, vs::skinImages().windowBackground);
    vt::pumpUntilIdle();
    HBITMAP frame = static_cast<HBITMAP>(GetPropA(hwnd, vs::kPropFrameBitmap));
    InvalidateRect(hwnd, nullptr, TRUE);
    vt::pumpUntilIdle();
    EXPECT_EQ(GetPropA(hwnd, vs::kPropFrameBitmap), frame);  // copied, not rendered

    SetWindowPos(hwnd, nullptr, 0, 0, 320, 220, SWP_NOMOVE | SWP_NOZORDER);
    vt::pumpUntilIdle();
    EXPECT_NE(GetPropA(hwnd, vs::kPropFrameBitmap), frame);
    EXPECT_EQ(skinOf(hwnd).lastRenderWidth, 320);
}

TEST_F(RenderTest, TitleChangeRedrawsTheCaption)
{
    HWND hwnd = open(300, 200);
    SetWindowTextA(hwnd, "");
    vt::pumpUntilIdle();
    COLORREF blank = vt::windowPixel(hwnd, 40, 12);
    SetWindowTextA(hwnd, "WWWWWWWW");
    vt::pumpUntilIdle();
    bool changed = false;
    for (int x = 30; x < 100 && !changed; ++x)
        for (int y = 5; y < 20 && !changed; ++y)
            changed = vt::windowPixel(hwnd, x, y) != blank;
    EXPECT_TRUE(changed);
}

TEST_F(RenderTest, Screenshots)
{
    HWND hwnd = open(253, 127);
    vs::setBackgroundPicture(hwnd, vs::skinImages().windowBackground);
    CreateWindowExA(0, "BUTTON", "加载工具", WS_CHILD | WS_VISIBLE, 36, 70, 80, 32, hwnd, nullptr, nullptr, nullptr);
    vt::pumpUntilIdle();
    std::string dir = VK_TEST_OUTPUT_DIR;
    EXPECT_TRUE(vt::saveWindowScreenshot(hwnd, (dir + "/skinned-start.png").c_str()));
    moveTo(hwnd, 230, 10);
    for (int i = 0; i < 9; ++i)
        vt::advanceClock(20);
    EXPECT_TRUE(vt::saveWindowScreenshot(hwnd, (dir + "/skinned-start-close-hot.png").c_str()));
    vt::mouseDown();
    vt::pumpUntilIdle();
    EXPECT_TRUE(vt::saveWindowScreenshot(hwnd, (dir + "/skinned-start-close-pressed.png").c_str()));
}

} // namespace
} // namespace frame_test
