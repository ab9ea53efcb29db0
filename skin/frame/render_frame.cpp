#include "skin/frame/render_frame.h"

#include "skin/core/child_windows.h"
#include "skin/core/engine.h"
#include "skin/core/properties.h"
#include "skin/core/registry.h"
#include "skin/frame/caption_buttons.h"

#include <velkaro/gfx/bitmap.h>
#include <velkaro/gfx/brushes.h>
#include <velkaro/gfx/colors.h>
#include <velkaro/gfx/dc_cache.h>
#include <velkaro/gfx/dib.h>
#include <velkaro/gfx/font.h>
#include <velkaro/gfx/graphics.h>
#include <velkaro/gfx/graphics_path.h>
#include <velkaro/gfx/pen.h>
#include <velkaro/gfx/shapes.h>
#include <velkaro/gfx/string_format.h>

#include <vector>

namespace velkaro::skin {

namespace {

using gfx::toArgb;

// A memory DC holding a copy of one band of the frame; the old pair of
// handles is freed first.
void rebuildBandDc(HDC& dc, HBITMAP& oldBitmap, HBITMAP& bitmap, HDC frame, int x, int y, int w, int h)
{
    if (dc) {
        SelectObject(dc, oldBitmap);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    dc = CreateCompatibleDC(nullptr);
    bitmap = w > 0 && h > 0 ? gfx::createDib32(w, h) : nullptr;
    oldBitmap = bitmap ? static_cast<HBITMAP>(SelectObject(dc, bitmap)) : nullptr;
    if (bitmap)
        BitBlt(dc, 0, 0, w, h, frame, x, y, SRCCOPY);
}

void drawBackground(WindowSkin& skin, gfx::Graphics& g, int W, int H)
{
    bool picture = !skin.backgroundImage.empty();
    g.clear(picture ? toArgb(skin.backgroundColor, 255) : 0xFF000000u);
    if (picture) {
        if (!skin.decodedBackground) {
            skin.decodedBackground = std::make_unique<gfx::Image>();
            skin.decodedBackground->fromBytes(skin.backgroundImage);
        }
        const gfx::Image& image = *skin.decodedBackground;
        float iw = float(image.width()), ih = float(image.height());
        switch (skin.backgroundLayout) {
        case 0:
            g.drawImage(image, 0, 0);
            break;
        case 4: {
            // A strip as wide as the window, every other copy mirrored.
            gfx::Bitmap strip;
            strip.create(W, int(ih));
            gfx::Graphics sg;
            sg.fromImage(strip);
            gfx::TextureBrush texture;
            texture.create(image, Gdiplus::WrapModeTileFlipX);
            sg.fillRectangle(texture, 0, 0, float(W), ih);
            texture.release();
            sg.release();
            g.drawImage(strip, 0, 0);
            strip.dispose();
            break;
        }
        case 1:
            g.drawImage(image, float(W) - iw, 0);
            break;
        case 2:
            g.drawImageRect(image, (float(W) - iw) / 2, (float(H) - ih) / 2, iw, ih);
            break;
        case 3:
            g.drawImageRect(image, 0, 0, float(W), float(H));
            break;
        default:
            break;
        }
    }

    if (skin.tintColor >= 0) {
        gfx::SolidBrush tint;
        tint.create(toArgb(COLORREF(skin.tintColor), skin.tintAlpha));
        if (skin.captionBand == 0)
            g.fillRectangle(tint, 0, 0, float(W), float(H));
        else
            g.fillRectangle(tint, 0, float(skin.captionHeight), float(W), float(H - skin.captionHeight));
        tint.release();
    }

    if (skin.captionBand) {
        gfx::LinearGradientBrush band;
        Gdiplus::PointF top{0, 0}, bottom{0, float(skin.captionHeight)};
        if (skin.tintColor < 1)
            band.create(top, bottom, toArgb(0xFFFFFF, 150), toArgb(0xFFFFFF, 0));
        else
            band.create(top, bottom, toArgb(COLORREF(skin.tintColor), int(skin.tintAlpha * 0.2)),
                        toArgb(COLORREF(skin.tintColor), skin.tintAlpha));
        g.fillRectangle(band, 0, 0, float(W), float(skin.captionHeight));
        band.release();
    }
}

void drawBorder(gfx::Graphics& g, int W, int H)
{
    gfx::GraphicsPath outer;
    outer.create();
    gfx::addRoundRect(outer, 0, 0, float(W - 1), float(H - 1), 7);
    gfx::Pen dark;
    dark.create(toArgb(0x000000, 180), 2.0f);
    g.drawPath(dark, outer);

    gfx::GraphicsPath inner;
    inner.create();
    gfx::addRoundRect(inner, 1, 1, float(W - 3), float(H - 3), 6);
    gfx::Pen light;
    light.create(toArgb(0xFFFFFF, 180), 1.0f);
    g.drawPath(light, inner);

    dark.release();
    light.release();
    outer.release();
    inner.release();
}

// Direct child controls of the window, invalidated after a render.
void invalidateDirectChildren(WindowSkin& skin)
{
    HWND top = skin.hwnd;
    auto ours = [top](HWND w) { return w && GetParent(w) == top; };
    skin.listControls.forEach([&](int, ListControlEntry& e) {
        if (!ours(e.hwnd))
            return;
        InvalidateRect(e.hwnd, nullptr, TRUE);
        for (HWND c = FindWindowExA(e.hwnd, nullptr, nullptr, nullptr); c; c = FindWindowExA(e.hwnd, c, nullptr, nullptr))
            if (IsWindowVisible(c))
                InvalidateRect(c, nullptr, TRUE);
    });
    auto each = [&](auto& list, BOOL erase) {
        list.forEach([&](int, auto& e) {
            if (ours(e.hwnd))
                InvalidateRect(e.hwnd, nullptr, erase);
        });
    };
    each(skin.comboControls, TRUE);
    each(skin.editControls, TRUE);
    each(skin.buttons, FALSE);
    each(skin.trackBars, FALSE);
    each(skin.progressBars, FALSE);
    each(skin.upDowns, FALSE);
}

} // namespace

void renderFrame(int slot, HDC dc, bool copy)
{
    WindowSkin& skin = skinAt(slot);
    HWND hwnd = skin.hwnd;
    RECT client;
    GetClientRect(hwnd, &client);
    int W = client.right, H = client.bottom;

    if (skin.captionInteractive && copy) {
        SetWindowRgn(hwnd, nullptr, TRUE);
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
        GetClientRect(hwnd, &client);
        W = client.right;
        H = client.bottom;
        SetWindowRgn(hwnd, CreateRoundRectRgn(0, 0, W + 1, H + 1, 5, 5), TRUE);
    }

    if (!skin.frameDc)
        skin.frameDc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = gfx::createDib32(W, H);
    HGDIOBJ replaced = SelectObject(skin.frameDc, bitmap);
    if (hasProp(hwnd, kPropFrameOldBitmap))
        DeleteObject(replaced);
    else
        SetPropA(hwnd, kPropFrameOldBitmap, replaced);
    SetPropA(hwnd, kPropFrameBitmap, bitmap);

    gfx::Graphics g;
    g.fromHdc(skin.frameDc);
    drawBackground(skin, g, W, H);

    if (skin.captionInteractive) {
        drawBorder(g, W, H);
        rebuildBandDc(skin.captionDc, skin.captionDcOldBitmap, skin.captionDcBitmap, skin.frameDc, 0, 0, W,
                      skin.captionHeight);
    }
    const XywhRect& bar = skin.statusBarRect;
    rebuildBandDc(skin.statusDc, skin.statusDcOldBitmap, skin.statusDcBitmap, skin.frameDc, bar.x, bar.y, bar.width,
                  bar.height);

    if (skin.captionInteractive) {
        if (skin.showCaptionText)
            drawCaptionTitle(slot, &g, true, std::nullopt);
        for (int n = 1; n <= skin.captionButtons.count(); ++n)
            drawCaptionButton(slot, n, &g, true, false, 0);
    }
    if (skin.statusBarHeight > 0)
        for (int k = 1; k <= skin.statusPanelRects.count(); ++k)
            drawStatusPanel(slot, &g, true, k);
    g.release();

    if (skin.compositeDc)
        gfx::releaseCachedDc(skin.compositeDc);
    skin.compositeDc = CreateCompatibleDC(nullptr);
    HBITMAP compositeBitmap = gfx::createDib32(W, H);
    HBITMAP compositeOld = static_cast<HBITMAP>(SelectObject(skin.compositeDc, compositeBitmap));
    gfx::cacheDc(skin.compositeDc, compositeBitmap, compositeOld);
    BitBlt(skin.compositeDc, 0, 0, W, H, skin.frameDc, 0, 0, SRCCOPY);

    if (copy) {
        HDC target = excludeChildWindows(hwnd, dc ? dc : GetDC(hwnd));
        BitBlt(target, 0, 0, W, H, skin.frameDc, 0, 0, SRCCOPY);
        ReleaseDC(hwnd, target);
        invalidateDirectChildren(skin);
    }

    skin.needsFullRepaint = 0;
    skin.lastRenderWidth = W;
    skin.lastRenderHeight = H;
}

void copyFrameToWindow(int slot, HDC dc)
{
    WindowSkin& skin = skinAt(slot);
    RECT r;
    GetWindowRect(skin.hwnd, &r);
    if (skin.shownPaintDone == 1) {
        if (dc)
            ReleaseDC(skin.hwnd, dc);
        dc = nullptr;
    }
    HDC target = excludeChildWindows(skin.hwnd, dc ? dc : GetDC(skin.hwnd));
    BitBlt(target, 0, 0, r.right - r.left, r.bottom - r.top, skin.frameDc, 0, 0, SRCCOPY);
    ReleaseDC(skin.hwnd, target);
}

void drawCaptionTitle(int slot, gfx::Graphics* graphics, bool full, const std::optional<std::string>& text)
{
    WindowSkin& skin = skinAt(slot);
    if (!skin.frameDc)
        return;
    RECT client;
    GetClientRect(skin.hwnd, &client);
    int b = engineSettings().captionBorder;
    int x0 = b + 6, y0 = b + 1;
    int T = client.right - skin.buttonStripWidth - 10 - 2 * b;

    gfx::Graphics own;
    gfx::Graphics* g = graphics;
    if (!full) {
        own.fromHdc(skin.frameDc);
        g = &own;
        BitBlt(skin.frameDc, x0, y0, T, 42, skin.captionDc, x0, y0, SRCCOPY);
    }
    if (!g)
        return;

    if (HICON icon = engineSettings().skinIcon)
        DrawIconEx(skin.frameDc, x0, y0, icon, 17, 17, 0, nullptr, DI_NORMAL);

    std::string title;
    if (text) {
        title = *text;
    } else {
        int length = GetWindowTextLengthA(skin.hwnd);
        std::vector<char> buffer(size_t(length) + 1, '\0');
        GetWindowTextA(skin.hwnd, buffer.data(), length + 1);
        title = buffer.data();
    }

    Gdiplus::RectF box = gfx::layoutRect(float(x0 + 20), float(y0 + 2), float(T), 42);
    gfx::Font font;
    font.create(skin.captionFontName, float(skin.captionFontSize),
                skin.captionFontStyle ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular, Gdiplus::UnitWorld);
    gfx::StringFormat format;
    format.create(0);
    format.setAlignment(Gdiplus::StringAlignmentNear);
    format.setLineAlignment(Gdiplus::StringAlignmentNear);

    gfx::SolidBrush shadow;
    shadow.create(toArgb(skin.captionShadowColor, 150));
    const float offsets[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& o : offsets) {
        Gdiplus::RectF moved = box;
        moved.X += o[0];
        moved.Y += o[1];
        g->drawString(title, font, shadow, moved, format);
    }
    gfx::SolidBrush face;
    face.create(toArgb(skin.captionTextColor, 255));
    g->drawString(title, font, face, box, format);
    shadow.release();
    face.release();
    font.release();
    format.release();

    if (!full) {
        own.release();
        HDC dc = excludeChildWindows(skin.hwnd, GetDC(skin.hwnd));
        BitBlt(dc, x0, b, T, 42, skin.frameDc, x0, b, SRCCOPY);
        ReleaseDC(skin.hwnd, dc);
    }
}

void drawStatusPanel(int slot, gfx::Graphics* graphics, bool full, int panel)
{
    WindowSkin& skin = skinAt(slot);
    if (!skin.frameDc)
        return;
    const XywhRect& r = skin.statusPanelRects.at(panel);
    float x = float(r.x), y = float(r.y), w = float(r.width), h = float(r.height);

    gfx::Graphics own;
    gfx::Graphics* g = graphics;
    if (!full) {
        own.fromHdc(skin.frameDc);
        g = &own;
        BitBlt(skin.frameDc, r.x, r.y, r.width, r.height, skin.statusDc, r.x - skin.statusBarRect.x,
               r.y - skin.statusBarRect.y, SRCCOPY);
    }
    if (!g)
        return;

    gfx::LinearGradientBrush gloss;
    gloss.create({x, y}, {x, y + h}, toArgb(0xFFFFFF, 60), toArgb(0xFFFFFF, 10));
    g->fillRectangle(gloss, x, y, w, h);
    gloss.release();

    const StatusPanel& info = skin.statusPanels.at(panel);
    gfx::SolidBrush brush;
    brush.create(toArgb(info.textColor, 255));
    gfx::Font font;
    font.create(skin.statusFontName, float(skin.statusFontSize), Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    gfx::StringFormat format;
    format.create(0);
    format.setAlignment(Gdiplus::StringAlignmentNear);
    format.setLineAlignment(Gdiplus::StringAlignmentCenter);

    if (!info.icon.empty()) {
        gfx::Image icon;
        icon.fromBytes(info.icon);
        float iw = float(icon.width()), ih = float(icon.height());
        if (ih >= float(skin.statusBarHeight))
            iw = ih = float(int(skin.statusBarHeight * 0.7));
        g->drawImageRect(icon, x + 2, y + (h - ih) / 2, iw, ih);
        g->drawString(info.text, font, brush, gfx::layoutRect(x + iw + 5, y + 2, w - iw - 5, h), format);
        icon.dispose();
    } else {
        g->drawString(info.text, font, brush, gfx::layoutRect(x + 3, y + 2, w - 3, h), format);
    }
    brush.release();
    font.release();
    format.release();

    if (!full) {
        own.release();
        HDC dc = GetDC(skin.hwnd);
        BitBlt(dc, r.x, r.y, r.width, r.height, skin.frameDc, r.x, r.y, SRCCOPY);
        ReleaseDC(skin.hwnd, dc);
    }
}

} // namespace velkaro::skin
