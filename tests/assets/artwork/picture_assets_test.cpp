// The built-in pictures decode to the sizes and formats the engine draws
// them at, and carry the exact pixels it relies on.
#include "decoded_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace velkaro::assets;
using assets_test::DecodedPicture;
using assets_test::decodeJpeg;
using assets_test::decodePng;
using assets_test::Pixel;

namespace {

struct PictureCase {
    const char* name;
    Blob blob;
    bool jpeg;
    int width;
    int height;
};

std::vector<PictureCase> allPictures()
{
    return {
        {"window background", windowBackgroundImage(), true, 1024, 1024},
        {"default photo", defaultPhotoImage(), true, 147, 227},
        {"help", captionGlyphImage(CaptionGlyph::Help), false, 26, 18},
        {"main menu", captionGlyphImage(CaptionGlyph::MainMenu), false, 26, 18},
        {"minimize", captionGlyphImage(CaptionGlyph::Minimize), false, 26, 18},
        {"maximize", captionGlyphImage(CaptionGlyph::Maximize), false, 26, 18},
        {"restore", captionGlyphImage(CaptionGlyph::Restore), false, 26, 18},
        {"close", captionGlyphImage(CaptionGlyph::Close), false, 38, 18},
        {"check mark", checkMarkImage(), false, 13, 12},
        {"arrow up", arrowUpImage(), false, 7, 4},
        {"arrow down", arrowDownImage(), false, 7, 4},
        {"arrow left", arrowLeftImage(), false, 4, 7},
        {"arrow right", arrowRightImage(), false, 4, 7},
        {"icon 32", {programIcon32Png, programIcon32Png_size}, false, 32, 32},
        {"icon 17", {programIcon17Png, programIcon17Png_size}, false, 17, 17},
        {"overlay 0", overlayImage(0), false, 159, 246},
        {"overlay 1", overlayImage(1), false, 159, 246},
        {"overlay 2", overlayImage(2), false, 159, 246},
        {"overlay 3", overlayImage(3), false, 159, 246},
        {"overlay 4", overlayImage(4), false, 159, 246},
        {"overlay 5", overlayImage(5), false, 159, 246},
    };
}

double luminance(const Pixel& p)
{
    return 0.299 * p.r + 0.587 * p.g + 0.114 * p.b;
}

bool isPixel(const Pixel& p, Pixel expected)
{
    return p == expected;
}

}  // namespace

TEST(PictureAssets, DecodeToTheirSizeAndFormat)
{
    for (const PictureCase& c : allPictures()) {
        SCOPED_TRACE(c.name);
        DecodedPicture p = c.jpeg ? decodeJpeg(c.blob) : decodePng(c.blob);
        ASSERT_TRUE(p.ok);
        EXPECT_EQ(p.width, c.width);
        EXPECT_EQ(p.height, c.height);
        if (c.jpeg)
            EXPECT_EQ(p.fileChannels, 3);
        else
            EXPECT_TRUE(p.fileHasAlpha);
        // The JPEGs must not be PNGs and the other way round.
        if (c.jpeg)
            EXPECT_FALSE(decodePng(c.blob).ok);
        else
            EXPECT_FALSE(decodeJpeg(c.blob).ok);
    }
}

TEST(PictureAssets, OverlayIndexOutOfRangeIsEmpty)
{
    for (int index : {-1, kOverlayCount, 1000}) {
        Blob b = overlayImage(index);
        EXPECT_EQ(b.data, nullptr);
        EXPECT_EQ(b.size, 0u);
    }
}

TEST(CheckMark, DarkestPixelIsExactAndTransparentPixelsAreTransparentWhite)
{
    DecodedPicture p = decodePng(checkMarkImage());
    ASSERT_TRUE(p.ok);
    const Pixel darkestExpected{0x54, 0x88, 0x05, 255};
    const Pixel transparentWhite{255, 255, 255, 0};
    const Pixel* darkest = nullptr;
    int opaque = 0, partial = 0;
    for (const Pixel& px : p.pixels) {
        if (px.a == 0) {
            EXPECT_TRUE(isPixel(px, transparentWhite))
                << int(px.r) << "," << int(px.g) << "," << int(px.b);
            continue;
        }
        px.a == 255 ? ++opaque : ++partial;
        EXPECT_GT(px.g, px.r);  // every tick pixel is green
        EXPECT_GT(px.g, px.b);
        if (!darkest || luminance(px) < luminance(*darkest))
            darkest = &px;
    }
    ASSERT_NE(darkest, nullptr);
    EXPECT_TRUE(isPixel(*darkest, darkestExpected))
        << int(darkest->r) << "," << int(darkest->g) << "," << int(darkest->b) << "," << int(darkest->a);
    EXPECT_GT(opaque, 15);
    EXPECT_GT(partial, 0);
}

TEST(CaptionGlyphs, AreCrispWhiteWithAShadowAndDistinct)
{
    std::vector<DecodedPicture> seen;
    for (CaptionGlyph g : {CaptionGlyph::Help, CaptionGlyph::MainMenu, CaptionGlyph::Minimize, CaptionGlyph::Maximize,
                           CaptionGlyph::Restore, CaptionGlyph::Close}) {
        SCOPED_TRACE(int(g));
        DecodedPicture p = decodePng(captionGlyphImage(g));
        ASSERT_TRUE(p.ok);
        int white = 0, shadow = 0;
        int left = p.width, right = -1;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) {
                const Pixel& px = p.at(x, y);
                if (px.a == 0)
                    continue;
                bool isWhite = px.r == 255 && px.g == 255 && px.b == 255;
                // Crisp: a glyph pixel is fully opaque white, anything else is dark shadow.
                if (isWhite) {
                    EXPECT_EQ(px.a, 255);
                    ++white;
                    left = std::min(left, x);
                    right = std::max(right, x);
                } else {
                    EXPECT_LE(std::max({px.r, px.g, px.b}), 64);
                    EXPECT_LT(px.a, 160);
                    ++shadow;
                    // The shadow falls below-right of the glyph.
                    bool besideWhite = false;
                    for (auto [dx, dy] : {std::pair{-1, -1}, {-1, 0}, {0, -1}})
                        if (x + dx >= 0 && y + dy >= 0 && p.at(x + dx, y + dy).a == 255)
                            besideWhite = true;
                    EXPECT_TRUE(besideWhite) << x << "," << y;
                }
            }
        EXPECT_GE(white, 16);
        EXPECT_GT(shadow, 0);
        // Centred horizontally within a pixel or so.
        EXPECT_NEAR((left + right) / 2.0, (p.width - 1) / 2.0, 1.5);
        for (const DecodedPicture& other : seen)
            EXPECT_FALSE(other.width == p.width && other.pixels == p.pixels);
        seen.push_back(p);
    }
}

TEST(Arrows, AreSolidBlackTrianglesPointingTheirWay)
{
    DecodedPicture up = decodePng(arrowUpImage()), down = decodePng(arrowDownImage());
    DecodedPicture left = decodePng(arrowLeftImage()), right = decodePng(arrowRightImage());
    ASSERT_TRUE(up.ok && down.ok && left.ok && right.ok);
    // Up: one pixel at the tip, widening by two a row to the full base.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 7; ++x) {
            bool inside = std::abs(x - 3) <= y;
            EXPECT_EQ(up.at(x, y).a, inside ? 255 : 0) << x << "," << y;
            if (inside) {
                EXPECT_TRUE((up.at(x, y) == Pixel{0, 0, 0, 255}));
            }
            EXPECT_EQ(down.at(x, 3 - y), up.at(x, y));
            // Left is up turned a quarter: its columns are up's rows.
            EXPECT_EQ(left.at(y, x), up.at(x, y));
            EXPECT_EQ(right.at(3 - y, x), up.at(x, y));
        }
}

TEST(Overlays, ZeroHoldsOnlyTheBadgeRow)
{
    DecodedPicture p = decodePng(overlayImage(0));
    ASSERT_TRUE(p.ok);
    int minX = p.width, maxX = -1, minY = p.height, maxY = -1;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.at(x, y).a) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    EXPECT_EQ(minX, 13);
    EXPECT_EQ(maxX, 142);
    EXPECT_EQ(minY, 9);
    EXPECT_EQ(maxY, 27);
}

TEST(Overlays, FramesHaveTheirColourAStripAndAClearCentre)
{
    const Pixel frames[] = {{39, 115, 194, 255}, {255, 72, 98, 255}, {244, 11, 242, 255},
                            {11, 244, 198, 255}, {237, 251, 0, 255}};
    const Pixel strip{44, 44, 44, 131};
    DecodedPicture zero = decodePng(overlayImage(0));
    ASSERT_TRUE(zero.ok);
    for (int index = 1; index < kOverlayCount; ++index) {
        SCOPED_TRACE(index);
        DecodedPicture p = decodePng(overlayImage(index));
        ASSERT_TRUE(p.ok);
        const Pixel frame = frames[index - 1];
        // The whole outer 8-pixel band.
        int wrong = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x)
                if ((x < 8 || y < 8 || x >= p.width - 8 || y >= p.height - 8) && !(p.at(x, y) == frame))
                    ++wrong;
        EXPECT_EQ(wrong, 0);
        // The thin inner line: opaque, lighter than the frame.
        for (auto [x, y] : {std::pair{8, 120}, {150, 60}, {79, 8}, {79, 237}}) {
            EXPECT_EQ(p.at(x, y).a, 255);
            EXPECT_GT(luminance(p.at(x, y)), luminance(frame));
        }
        // A clear centre.
        for (auto [x, y] : {std::pair{79, 120}, {10, 30}, {148, 200}, {79, 40}, {12, 150}, {79, 208}, {79, 234}})
            EXPECT_EQ(p.at(x, y).a, 0) << x << "," << y;
        // The strip between and around the gems.
        for (auto [x, y] : {std::pair{9, 210}, {149, 232}, {12, 221}, {146, 221}, {79, 211}, {79, 231}})
            EXPECT_TRUE(p.at(x, y) == strip) << x << "," << y;
        // Gems sit on it, opaque.
        int gemPixels = 0;
        for (int y = 210; y <= 232; ++y)
            for (int x = 9; x <= 149; ++x)
                if (p.at(x, y).a == 255)
                    ++gemPixels;
        EXPECT_GT(gemPixels, 7 * 60);
        // The same badge row as overlay 0.
        int differing = 0;
        for (int y = 9; y <= 27; ++y)
            for (int x = 13; x <= 142; ++x)
                if (!(p.at(x, y) == zero.at(x, y)))
                    ++differing;
        EXPECT_EQ(differing, 0);
    }
}

TEST(ProgramIcon, ArraysMatchThePngsAndReadAsAnIcon)
{
    EXPECT_EQ(kIconResourceId, 129);
    EXPECT_STREQ(kIconResourceName, "DEFAULT_ICON");
    struct IconCase {
        IconPixels pixels;
        Blob png;
    };
    for (const IconCase& c : {IconCase{programIconLarge(), {programIcon32Png, programIcon32Png_size}},
                              IconCase{programIconSmall(), {programIcon17Png, programIcon17Png_size}}}) {
        SCOPED_TRACE(c.pixels.width);
        DecodedPicture p = decodePng(c.png);
        ASSERT_TRUE(p.ok);
        ASSERT_EQ(p.width, c.pixels.width);
        ASSERT_EQ(p.height, c.pixels.height);
        ASSERT_GE(c.pixels.width, 17);
        for (int i = 0; i < p.width * p.height; ++i) {
            const Pixel& px = p.pixels[size_t(i)];
            std::uint32_t expected = std::uint32_t(px.a) << 24 | std::uint32_t(px.r) << 16 | std::uint32_t(px.g) << 8 | px.b;
            ASSERT_EQ(c.pixels.pixels[i], expected) << i;
        }
        // Rounded corners, solid middle.
        EXPECT_LT(p.at(0, 0).a, 128);
        EXPECT_EQ(p.at(p.width / 2, p.height / 2).a, 255);
        EXPECT_EQ(p.at(p.width / 2, 1).a, 255);
    }
}

TEST(WindowBackground, KeepsItsDetailInTheTopLeft)
{
    DecodedPicture p = decodeJpeg(windowBackgroundImage());
    ASSERT_TRUE(p.ok);
    // Sky blue at the top (away from the sun), white at the bottom.
    const Pixel& sky = p.at(500, 40);
    EXPECT_GT(sky.b, sky.r + 60);
    const Pixel& snow = p.at(300, 980);
    EXPECT_GT(std::min({snow.r, snow.g, snow.b}), 225);
    // The glare is the brightest spot near the top-left corner.
    EXPECT_GT(std::min({p.at(78, 64).r, p.at(78, 64).g, p.at(78, 64).b}), 245);
    // Variation (flakes, wave) within the smallest window's area.
    double sum = 0, sumSq = 0;
    int n = 0;
    for (int y = 0; y < 127; ++y)
        for (int x = 100; x < 253; ++x) {
            double l = luminance(p.at(x, y));
            sum += l;
            sumSq += l * l;
            ++n;
        }
    double deviation = std::sqrt(sumSq / n - (sum / n) * (sum / n));
    EXPECT_GT(deviation, 8.0);
}
