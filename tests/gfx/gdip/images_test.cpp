// Images and bitmaps: decoding from bytes the caller may free at once,
// scaling the whole image into a rectangle, fresh bitmaps, and encoding to
// bytes and back.
#include "gfx_fixture.h"

#include <velkaro/assets.h>
#include <velkaro/gfx/bitmap.h>
#include <velkaro/gfx/brushes.h>
#include <velkaro/gfx/graphics.h>
#include <velkaro/gfx/graphics_path.h>
#include <velkaro/gfx/pen.h>
#include <velkaro/gfx/memory_stream.h>

#include <cstring>
#include <vector>

using namespace Gdiplus;
namespace va = velkaro::assets;

namespace {

std::span<const unsigned char> bytesOf(const va::Blob& blob)
{
    return {blob.data, blob.size};
}

constexpr ARGB kRed = 0xffff0000;
constexpr ARGB kGreen = 0xff00ff00;
constexpr ARGB kBlue = 0xff0000ff;
constexpr ARGB kYellow = 0xffffff00;

// A colour per quadrant of a w x h picture.
ARGB quadrant(int x, int y, int w, int h)
{
    bool right = x >= w / 2;
    bool bottom = y >= h / 2;
    return bottom ? (right ? kYellow : kBlue) : (right ? kGreen : kRed);
}

const unsigned char kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
const unsigned char kJpegSignature[] = {0xff, 0xd8};

bool startsWith(const gfx::Bytes& bytes, const unsigned char* prefix, size_t n)
{
    return bytes.size() >= n && memcmp(bytes.data(), prefix, n) == 0;
}

bool nearColour(ARGB a, ARGB b, int tolerance)
{
    for (int shift = 0; shift < 32; shift += 8) {
        int d = int((a >> shift) & 0xff) - int((b >> shift) & 0xff);
        if (d > tolerance || d < -tolerance)
            return false;
    }
    return true;
}

// How far a colour may move on a trip through premultiplied alpha.
int roundingOf(ARGB c)
{
    int alpha = int(c >> 24);
    return alpha == 0xff ? 0 : 255 / alpha + 1;
}

} // namespace

TEST_F(GfxTest, FromBytesOfNothingFailsAndHoldsNothing)
{
    gfx::Bitmap bitmap;
    gfx::Image image;
    EXPECT_FALSE(bitmap.fromBytes({}));
    EXPECT_EQ(nullptr, bitmap.handle());
    EXPECT_NE(Ok, gfx::lastStatus());
    EXPECT_FALSE(image.fromBytes({}));
    EXPECT_EQ(nullptr, image.handle());
    const unsigned char notAPicture[] = "this is not a picture";
    EXPECT_FALSE(bitmap.fromBytes(notAPicture));
    EXPECT_EQ(nullptr, bitmap.handle());
    EXPECT_FALSE(bitmap.dispose());
}

TEST_F(GfxTest, BuiltInPicturesDecodeAndOutliveTheCallersBuffer)
{
    struct Case {
        const char* name;
        va::Blob blob;
        UINT width;
        UINT height;
    };
    const Case cases[] = {
        {"check mark PNG", va::checkMarkImage(), 13, 12},
        {"close glyph PNG", va::captionGlyphImage(va::CaptionGlyph::Close), 38, 18},
        {"default photo JPEG", va::defaultPhotoImage(), 147, 227},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto buffer = std::make_unique<std::vector<unsigned char>>(c.blob.data, c.blob.data + c.blob.size);
        gfx::Bitmap picture;
        gfx::Image asImage;
        ASSERT_TRUE(picture.fromBytes(*buffer));
        ASSERT_TRUE(asImage.fromBytes(*buffer, true));
        // Scribble over the buffer and free it before anything is drawn.
        std::fill(buffer->begin(), buffer->end(), 0);
        buffer.reset();

        EXPECT_EQ(c.width, picture.width());
        EXPECT_EQ(c.height, picture.height());
        EXPECT_EQ(c.width, asImage.width());
        EXPECT_EQ(c.height, asImage.height());

        gfx::Bitmap canvas;
        gfx::Graphics graphics;
        ASSERT_TRUE(canvas.create(int(c.width), int(c.height)));
        ASSERT_TRUE(graphics.fromImage(canvas));
        ASSERT_TRUE(graphics.drawImage(asImage, 0, 0));
        // Drawn unscaled onto transparency, every pixel is the picture's own
        // (a fully transparent one keeps no colour; a partly transparent one
        // rounds through premultiplied alpha).
        int opaque = 0;
        for (int y = 0; y < int(c.height); ++y)
            for (int x = 0; x < int(c.width); ++x) {
                ARGB want = picture.getPixel(x, y);
                ARGB got = canvas.getPixel(x, y);
                if ((want >> 24) == 0xff)
                    ++opaque;
                if ((want >> 24) == 0)
                    EXPECT_EQ(0u, got >> 24) << x << "," << y;
                else
                    EXPECT_TRUE(nearColour(want, got, roundingOf(want))) << x << "," << y;
            }
        EXPECT_GT(opaque, 0);
    }
}

TEST_F(GfxTest, DrawImageRectScalesTheWholeImage)
{
    constexpr int kSource = 8;
    gfx::Bitmap source;
    ASSERT_TRUE(source.create(kSource, kSource));
    paint(source, kSource, kSource, [](int x, int y) { return quadrant(x, y, kSource, kSource); });

    struct Case {
        const char* name;
        int size; // of the destination square
    };
    for (Case c : {Case{"smaller", 4}, Case{"larger", 40}}) {
        SCOPED_TRACE(c.name);
        constexpr int kOffset = 3;
        const int canvasSize = c.size + 2 * kOffset;
        gfx::Bitmap canvas;
        gfx::Graphics graphics;
        ASSERT_TRUE(canvas.create(canvasSize, canvasSize));
        ASSERT_TRUE(graphics.fromImage(canvas));
        ASSERT_TRUE(graphics.setInterpolationMode(InterpolationModeNearestNeighbor));
        ASSERT_TRUE(graphics.setPixelOffsetMode(PixelOffsetModeHalf));
        ASSERT_TRUE(graphics.drawImageRect(source, kOffset, kOffset, float(c.size), float(c.size)));

        // The middle of each destination quadrant shows that quadrant, and
        // nothing is drawn outside the rectangle.
        const int q = c.size / 4;
        EXPECT_EQ(kRed, canvas.getPixel(kOffset + q, kOffset + q));
        EXPECT_EQ(kGreen, canvas.getPixel(kOffset + 3 * q, kOffset + q));
        EXPECT_EQ(kBlue, canvas.getPixel(kOffset + q, kOffset + 3 * q));
        EXPECT_EQ(kYellow, canvas.getPixel(kOffset + 3 * q, kOffset + 3 * q));
        EXPECT_EQ(0u, canvas.getPixel(kOffset - 1, kOffset - 1));
        EXPECT_EQ(0u, canvas.getPixel(kOffset + c.size, kOffset + c.size));
    }
}

TEST_F(GfxTest, ANewBitmapIs32BitArgbAndTransparent)
{
    gfx::Bitmap bitmap;
    ASSERT_TRUE(bitmap.create(5, 3));
    EXPECT_EQ(5u, bitmap.width());
    EXPECT_EQ(3u, bitmap.height());
    PixelFormat format = 0;
    ASSERT_EQ(Ok, DllExports::GdipGetImagePixelFormat(bitmap.nativeImage(), &format));
    EXPECT_EQ(PixelFormat32bppARGB, format);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(0u, bitmap.getPixel(x, y));

    // Bad sizes and coordinates fail without an object.
    gfx::Bitmap bad;
    EXPECT_FALSE(bad.create(0, 4));
    EXPECT_EQ(nullptr, bad.handle());
    EXPECT_FALSE(bitmap.setPixel(5, 0, kRed));
    EXPECT_EQ(0u, bitmap.getPixel(-1, 0));
}

TEST_F(GfxTest, SavedPngReadsBackWithEqualPixels)
{
    constexpr int kW = 6;
    constexpr int kH = 5;
    gfx::Bitmap original;
    ASSERT_TRUE(original.create(kW, kH));
    paint(original, kW, kH, [](int x, int y) { return ARGB(((x * 40) << 24) | (y * 50) << 16 | (x * 30) << 8 | 0x80) | (x == 0 ? 0xff000000 : 0); });

    gfx::Bytes png = original.saveToBytes(gfx::kPngFormatText);
    ASSERT_TRUE(startsWith(png, kPngSignature, sizeof kPngSignature));

    gfx::Bitmap reread;
    ASSERT_TRUE(reread.fromBytes(png));
    ASSERT_EQ(UINT(kW), reread.width());
    ASSERT_EQ(UINT(kH), reread.height());
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            ARGB want = original.getPixel(x, y);
            // Fully transparent pixels keep no colour worth comparing.
            if ((want >> 24) != 0)
                EXPECT_EQ(want, reread.getPixel(x, y)) << x << "," << y;
            else
                EXPECT_EQ(0u, reread.getPixel(x, y) >> 24) << x << "," << y;
        }
}

TEST_F(GfxTest, SaveToBytesPicksTheEncoderByFormatText)
{
    gfx::Bitmap fromPng;
    gfx::Bitmap fromJpeg;
    gfx::Bitmap fresh;
    ASSERT_TRUE(fromPng.fromBytes(bytesOf(va::checkMarkImage())));
    ASSERT_TRUE(fromJpeg.fromBytes(bytesOf(va::defaultPhotoImage())));
    ASSERT_TRUE(fresh.create(4, 4));

    struct Case {
        const char* name;
        gfx::Bitmap* bitmap;
        std::string format;
        const unsigned char* signature; // null: no bytes expected
        size_t signatureSize;
    };
    const Case cases[] = {
        {"PNG text", &fresh, gfx::kPngFormatText, kPngSignature, sizeof kPngSignature},
        {"lower-case PNG text", &fresh, "{b96b3caf-0728-11d3-9d7b-0000f81ef32e}", kPngSignature, sizeof kPngSignature},
        {"JPEG text", &fresh, "{B96B3CAE-0728-11D3-9D7B-0000F81EF32E}", kJpegSignature, sizeof kJpegSignature},
        {"own format of a PNG", &fromPng, "", kPngSignature, sizeof kPngSignature},
        {"own format of a JPEG", &fromJpeg, "", kJpegSignature, sizeof kJpegSignature},
        {"own format of a memory bitmap", &fresh, "", nullptr, 0},
        {"GIF, no encoder", &fresh, "{B96B3CB0-0728-11D3-9D7B-0000F81EF32E}", nullptr, 0},
        {"not a GUID", &fresh, "PNG", nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gfx::Bytes bytes = c.bitmap->saveToBytes(c.format);
        if (c.signature)
            EXPECT_TRUE(startsWith(bytes, c.signature, c.signatureSize));
        else
            EXPECT_TRUE(bytes.empty());
    }

    gfx::Bitmap empty;
    EXPECT_TRUE(empty.saveToBytes(gfx::kPngFormatText).empty());
}

TEST_F(GfxTest, MemoryStreamCopiesInAndOut)
{
    const unsigned char data[] = {1, 2, 3, 4, 5};
    gfx::MemoryStream stream;
    ASSERT_NE(nullptr, stream.open(data));
    EXPECT_EQ(sizeof data, stream.size());
    EXPECT_EQ(gfx::Bytes(data, data + 5), stream.bytes());

    // A larger count pads with zeros; a smaller one cuts.
    ASSERT_NE(nullptr, stream.open(data, 8));
    EXPECT_EQ(gfx::Bytes({1, 2, 3, 4, 5, 0, 0, 0}), stream.bytes());
    ASSERT_NE(nullptr, stream.open(data, 2));
    EXPECT_EQ(gfx::Bytes({1, 2}), stream.bytes());

    // Taking over another stream on global memory.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 3);
    memcpy(GlobalLock(block), "abc", 3);
    GlobalUnlock(block);
    IStream* other = nullptr;
    ASSERT_EQ(S_OK, CreateStreamOnHGlobal(block, FALSE, &other));
    ASSERT_TRUE(stream.attach(other));
    EXPECT_EQ(block, stream.block());
    EXPECT_EQ(gfx::Bytes({'a', 'b', 'c'}), stream.bytes());
    stream.close();
    EXPECT_EQ(nullptr, stream.stream());
    EXPECT_EQ(nullptr, stream.block());
    EXPECT_FALSE(stream.attach(nullptr));
}

TEST_F(GfxTest, BitmapsFromIconsAndToGdi)
{
    gfx::Bitmap source;
    ASSERT_TRUE(source.create(4, 4));
    paint(source, 4, 4, [](int x, int y) { return quadrant(x, y, 4, 4); });
    const size_t gdiAtStart = velkaro::testing::liveGdiObjects();
    HBITMAP gdi = source.toHBITMAP(0xff000000);
    ASSERT_NE(nullptr, gdi);
    BITMAP info{};
    ASSERT_NE(0, GetObjectA(gdi, sizeof info, &info));
    EXPECT_EQ(4, info.bmWidth);
    EXPECT_EQ(4, info.bmHeight);
    DeleteObject(gdi);
    EXPECT_EQ(gdiAtStart, velkaro::testing::liveGdiObjects());

    gfx::Bitmap empty;
    EXPECT_EQ(nullptr, empty.toHBITMAP(0));
    gfx::Bitmap fromIcon;
    EXPECT_FALSE(fromIcon.fromIcon(nullptr));
    EXPECT_EQ(nullptr, fromIcon.handle());
}

TEST_F(GfxTest, BrushesFillWithTheirKind)
{
    gfx::Bitmap canvas;
    gfx::Graphics graphics;
    ASSERT_TRUE(canvas.create(20, 20));
    ASSERT_TRUE(graphics.fromImage(canvas));

    gfx::SolidBrush solid;
    ASSERT_TRUE(solid.create(kBlue));
    EXPECT_EQ(BrushTypeSolidColor, solid.type());
    ASSERT_TRUE(graphics.fillRectangle(solid, 0, 0, 10, 10));
    EXPECT_EQ(kBlue, canvas.getPixel(5, 5));

    gfx::LinearGradientBrush linear;
    ASSERT_TRUE(linear.create(PointF(10, 0), PointF(20, 0), kRed, kGreen));
    EXPECT_EQ(BrushTypeLinearGradient, linear.type());
    ASSERT_TRUE(linear.setLinearBlend(0.5f, 1.0f));
    ASSERT_TRUE(graphics.fillRectangle(linear, 10, 0, 10, 10));
    EXPECT_NE(canvas.getPixel(11, 5), canvas.getPixel(18, 5));

    gfx::Bitmap tile;
    ASSERT_TRUE(tile.create(2, 2));
    paint(tile, 2, 2, [](int, int) { return kYellow; });
    gfx::TextureBrush texture;
    ASSERT_TRUE(texture.create(tile));
    EXPECT_EQ(BrushTypeTextureFill, texture.type());
    ASSERT_TRUE(graphics.fillRectangle(texture, 0, 10, 10, 10));
    EXPECT_EQ(kYellow, canvas.getPixel(5, 15));

    gfx::GraphicsPath square;
    ASSERT_TRUE(square.create());
    ASSERT_TRUE(square.addRectangle(10, 10, 10, 10));
    gfx::PathGradientBrush radial;
    ASSERT_TRUE(radial.fromPath(square));
    EXPECT_EQ(BrushTypePathGradient, radial.type());
    ASSERT_TRUE(radial.setCenterColor(kRed));
    ASSERT_TRUE(radial.setSurroundColors({kGreen}));
    EXPECT_FALSE(radial.setSurroundColors({kGreen}, 2));
    ASSERT_TRUE(radial.setFocusScales(0.2f, 0.2f));
    ASSERT_TRUE(graphics.fillPath(radial, square));
    EXPECT_EQ(kRed, canvas.getPixel(15, 15));

    gfx::SolidBrush copy;
    ASSERT_TRUE(solid.clone(copy));
    EXPECT_NE(solid.handle(), copy.handle());
    EXPECT_EQ(BrushTypeSolidColor, copy.type());
    gfx::Pen brushPen;
    ASSERT_TRUE(brushPen.fromBrush(copy, 2));
    ASSERT_TRUE(graphics.drawLine(brushPen, 0, 19, 20, 19));
    EXPECT_EQ(kBlue, canvas.getPixel(15, 19));
}
