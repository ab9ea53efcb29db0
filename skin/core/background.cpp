#include "skin/core/background.h"

#include "skin/core/child_windows.h"
#include "skin/core/properties.h"
#include "skin/core/registry.h"

#include <velkaro/gfx/bitmap.h>
#include <velkaro/gfx/brushes.h>
#include <velkaro/gfx/colors.h>
#include <velkaro/gfx/graphics.h>

#include <random>

namespace velkaro::skin {

namespace {

bool decode(gfx::Bitmap& bitmap, const Bytes& picture, const std::string& fileName)
{
    return fileName.empty() ? bitmap.fromBytes(picture) : bitmap.fromFile(fileName);
}

// Fills one band with a two-colour gradient between two points.
void fillBand(gfx::Graphics& graphics, Gdiplus::PointF from, Gdiplus::PointF to, Gdiplus::ARGB fromColour,
              Gdiplus::ARGB toColour, float x, float y, float w, float h)
{
    gfx::LinearGradientBrush brush;
    brush.create(from, to, fromColour, toColour);
    graphics.fillRectangle(brush, x, y, w, h);
    brush.release();
}

} // namespace

COLORREF averageColor(const Bytes& picture, int sampleCount, std::optional<int> regionWidth,
                      std::optional<int> regionHeight, const std::string& fileName)
{
    gfx::Bitmap bitmap;
    if (!decode(bitmap, picture, fileName) || sampleCount <= 0)
        return 0;
    int w = int(bitmap.width()), h = int(bitmap.height());
    if (w <= 0 || h <= 0)
        return 0;
    int left = 0, top = 0;
    if (regionWidth && *regionWidth >= 1 && *regionWidth < w)
        left = w - *regionWidth;
    if (regionHeight && *regionHeight >= 1 && *regionHeight < h)
        top = h - *regionHeight;

    // A fixed seed: the same picture always gives the same colour.
    std::minstd_rand random(0x5EED);
    std::uniform_int_distribution<int> xs(left, w - 1), ys(top, h - 1);
    unsigned long long red = 0, green = 0, blue = 0;
    for (int i = 0; i < sampleCount; ++i) {
        Gdiplus::ARGB p = bitmap.getPixel(xs(random), ys(random));
        red += (p >> 16) & 0xFF;
        green += (p >> 8) & 0xFF;
        blue += p & 0xFF;
    }
    bitmap.dispose();
    unsigned n = unsigned(sampleCount);
    return 0xFF000000u | RGB(unsigned(red / n), unsigned(green / n), unsigned(blue / n));
}

Bytes prepareBackground(const Bytes& picture, COLORREF fadeColor, std::optional<int> fadeWidth,
                        std::optional<int> fadeRight, const std::string& fileName)
{
    gfx::Bitmap source;
    if (!decode(source, picture, fileName))
        return {};
    int w = int(source.width()), h = int(source.height());
    gfx::Bitmap canvas;
    if (w <= 0 || h <= 0 || !canvas.create(w, h))
        return {};
    gfx::Graphics graphics;
    graphics.fromImage(canvas);
    graphics.setCompositingQuality(Gdiplus::CompositingQualityGammaCorrected);
    graphics.drawImageRect(source, 0, 0, float(w), float(h));

    int a = fadeWidth ? *fadeWidth : int(w * 0.3);
    float fw = float(w), fh = float(h), fa = float(a);
    Gdiplus::ARGB clearWhite = gfx::toArgb(0xFFFFFF, 0);
    Gdiplus::ARGB solid = gfx::toArgb(fadeColor, 255);
    if (!fadeRight || *fadeRight != 0)
        fillBand(graphics, {fw - fa, 0}, {fw, 0}, clearWhite, solid, fw - fa + 1, 0, fa, fh);
    else
        fillBand(graphics, {0, 0}, {fa, 0}, solid, clearWhite, 0, 0, fa, fh);
    fillBand(graphics, {0, fh - fa}, {0, fh}, gfx::toArgb(fadeColor, 0), solid, 0, fh - fa + 1, fw, fa);

    graphics.release();
    Bytes png = canvas.saveToBytes(gfx::kPngFormatText);
    canvas.dispose();
    source.dispose();
    return png;
}

bool applyBackgroundPicture(int slot, const Bytes& picture)
{
    WindowSkin& skin = skinAt(slot);
    // A picture that does not decode leaves the window's current one alone.
    COLORREF colour = averageColor(picture, 2000);
    if (!colour)
        return false;
    Bytes prepared;
    if (skin.backgroundLayout == 0)
        prepared = prepareBackground(picture, colour);
    else if (skin.backgroundLayout == 1)
        prepared = prepareBackground(picture, colour, std::nullopt, 0);
    else
        prepared = picture;
    if (prepared.empty())
        return false;
    skin.backgroundColor = colour;
    skin.backgroundImage = std::move(prepared);
    skin.decodedBackground.reset();
    return true;
}

int setBackgroundPicture(HWND window, const Bytes& picture, std::optional<int> layout)
{
    int slot = propInt(window, kPropListId);
    if (!isValidSlot(slot) || picture.empty())
        return 0;
    WindowSkin& skin = skinAt(slot);
    int previousLayout = skin.backgroundLayout;
    if (layout)
        skin.backgroundLayout = *layout;
    if (!applyBackgroundPicture(slot, picture)) {
        skin.backgroundLayout = previousLayout;
        return 0;
    }
    skin.needsFullRepaint = 1;
    InvalidateRect(window, nullptr, FALSE);
    markControlsStale(window);
    invalidateVisibleChildren(window);
    return 1;
}

} // namespace velkaro::skin
