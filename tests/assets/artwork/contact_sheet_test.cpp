// Saves pictures of the assets for a person to look at:
//   assets_contact_sheet.png   every picture at 1:1 and 4:1 on a checkerboard
//                              (the background at 1:1 as the two smallest
//                              windows show it), and the photo under overlays
//   assets_background_faded.png the background as the engine shows it, its
//                              right and bottom 307 pixels faded into its
//                              average colour, with the two windows outlined
#include "decoded_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace velkaro::assets;
using assets_test::DecodedPicture;
using assets_test::decodeJpeg;
using assets_test::decodePng;
using assets_test::Pixel;
using assets_test::Sheet;

namespace {

constexpr int kFade = 307;
constexpr int kSheetWidth = 2000;
constexpr int kGap = 12;

struct Item {
    DecodedPicture picture;
    int scale;
    bool darkBoard;  // white glyphs show on a dark checkerboard
    int x = 0, y = 0;
};

DecodedPicture crop(const DecodedPicture& p, int w, int h)
{
    DecodedPicture out;
    out.ok = true;
    out.width = w;
    out.height = h;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out.pixels.push_back(p.at(x, y));
    return out;
}

// The photo centred under an overlay, as the picture tool frames it.
DecodedPicture framed(const DecodedPicture& photo, const DecodedPicture& overlay)
{
    Sheet s(overlay.width, overlay.height, {255, 255, 255, 255});
    s.place(photo, (overlay.width - photo.width) / 2, (overlay.height - photo.height) / 2, 1);
    s.place(overlay, 0, 0, 1);
    DecodedPicture out;
    out.ok = true;
    out.width = s.width;
    out.height = s.height;
    out.pixels = s.pixels;
    return out;
}

DecodedPicture fadedBackground(const DecodedPicture& p)
{
    double sum[3] = {0, 0, 0};
    for (const Pixel& px : p.pixels) {
        sum[0] += px.r;
        sum[1] += px.g;
        sum[2] += px.b;
    }
    const double n = double(p.pixels.size());
    const double average[3] = {sum[0] / n, sum[1] / n, sum[2] / n};
    DecodedPicture out = p;
    const int start = p.width - kFade;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            double t = std::max(std::clamp((x - start + 1) / double(kFade), 0.0, 1.0),
                                std::clamp((y - (p.height - kFade) + 1) / double(kFade), 0.0, 1.0));
            Pixel& px = out.pixels[size_t(y) * p.width + x];
            auto mix = [t](std::uint8_t v, double a) { return std::uint8_t(v + (a - v) * t + 0.5); };
            px = {mix(px.r, average[0]), mix(px.g, average[1]), mix(px.b, average[2]), 255};
        }
    return out;
}

void outline(DecodedPicture& p, int w, int h, Pixel colour)
{
    for (int x = 0; x < w; ++x) {
        p.pixels[size_t(x)] = colour;
        p.pixels[size_t(h - 1) * p.width + x] = colour;
    }
    for (int y = 0; y < h; ++y) {
        p.pixels[size_t(y) * p.width] = colour;
        p.pixels[size_t(y) * p.width + w - 1] = colour;
    }
}

}  // namespace

TEST(ContactSheet, SavesEveryPictureForALook)
{
    std::vector<std::pair<DecodedPicture, bool>> small = {
        {decodePng(captionGlyphImage(CaptionGlyph::Help)), true},
        {decodePng(captionGlyphImage(CaptionGlyph::MainMenu)), true},
        {decodePng(captionGlyphImage(CaptionGlyph::Minimize)), true},
        {decodePng(captionGlyphImage(CaptionGlyph::Maximize)), true},
        {decodePng(captionGlyphImage(CaptionGlyph::Restore)), true},
        {decodePng(captionGlyphImage(CaptionGlyph::Close)), true},
        {decodePng(checkMarkImage()), false},
        {decodePng(arrowUpImage()), false},
        {decodePng(arrowDownImage()), false},
        {decodePng(arrowLeftImage()), false},
        {decodePng(arrowRightImage()), false},
        {decodePng({programIcon17Png, programIcon17Png_size}), false},
        {decodePng({programIcon32Png, programIcon32Png_size}), false},
    };
    DecodedPicture photo = decodeJpeg(defaultPhotoImage());
    DecodedPicture background = decodeJpeg(windowBackgroundImage());
    ASSERT_TRUE(photo.ok && background.ok);
    std::vector<DecodedPicture> overlays;
    for (int i = 0; i < kOverlayCount; ++i) {
        overlays.push_back(decodePng(overlayImage(i)));
        ASSERT_TRUE(overlays.back().ok);
    }

    std::vector<Item> items;
    for (int scale : {1, 4})
        for (const auto& [p, dark] : small) {
            ASSERT_TRUE(p.ok);
            items.push_back({p, scale, dark});
        }
    items.push_back({crop(background, 253, 127), 1, false});
    items.push_back({crop(background, 226, 388), 1, false});
    items.push_back({photo, 1, false});
    for (const DecodedPicture& o : overlays)
        items.push_back({o, 1, false});
    for (int i = 1; i < kOverlayCount; ++i)
        items.push_back({framed(photo, overlays[size_t(i)]), 1, false});
    items.push_back({photo, 4, false});
    for (const DecodedPicture& o : overlays)
        items.push_back({o, 4, false});

    // Flow layout: left to right, wrapping at the sheet's width.
    int x = kGap, y = kGap, rowHeight = 0, previousScale = items.front().scale;
    for (Item& item : items) {
        int w = item.picture.width * item.scale, h = item.picture.height * item.scale;
        bool newRow = x + w + kGap > kSheetWidth || item.scale != previousScale;
        if (newRow && x > kGap) {
            x = kGap;
            y += rowHeight + kGap;
            rowHeight = 0;
        }
        item.x = x;
        item.y = y;
        x += w + kGap;
        rowHeight = std::max(rowHeight, h);
        previousScale = item.scale;
    }
    Sheet sheet(kSheetWidth, y + rowHeight + kGap, {255, 255, 255, 255});
    for (const Item& item : items) {
        int w = item.picture.width * item.scale, h = item.picture.height * item.scale;
        sheet.checkerboard(item.x, item.y, w, h, item.scale == 1 ? 4 : 8);
        if (item.darkBoard)
            for (int yy = item.y; yy < item.y + h; ++yy)
                for (int xx = item.x; xx < item.x + w; ++xx) {
                    Pixel& p = sheet.at(xx, yy);
                    p = {std::uint8_t(p.r / 2), std::uint8_t(p.g / 2), std::uint8_t(p.b * 3 / 5), 255};
                }
        sheet.place(item.picture, item.x, item.y, item.scale);
    }
    std::string dir = VK_TEST_OUTPUT_DIR;
    EXPECT_TRUE(assets_test::writePng(dir + "/assets_contact_sheet.png", sheet.width, sheet.height, sheet.pixels));

    DecodedPicture faded = fadedBackground(background);
    // The fade leaves the top-left part alone and ends in one flat colour.
    EXPECT_TRUE(faded.at(700, 700) == background.at(700, 700));
    EXPECT_TRUE(faded.at(1023, 1023) == faded.at(1023, 0));
    outline(faded, 253, 127, {255, 64, 64, 255});
    outline(faded, 226, 388, {255, 200, 0, 255});
    EXPECT_TRUE(assets_test::writePng(dir + "/assets_background_faded.png", faded.width, faded.height, faded.pixels));
}
