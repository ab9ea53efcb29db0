#include "skin/frame/caption_buttons.h"

#include "skin/core/engine.h"
#include "skin/core/registry.h"

#include <velkaro/gfx/brushes.h>
#include <velkaro/gfx/colors.h>
#include <velkaro/gfx/graphics.h>
#include <velkaro/gfx/graphics_path.h>
#include <velkaro/gfx/image.h>
#include <velkaro/gfx/pen.h>
#include <velkaro/gfx/shapes.h>

namespace velkaro::skin {

int hotButton = 0;

namespace {

using gfx::toArgb;
constexpr COLORREF kRed = 0x0000FF;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;
constexpr double kTolerance = 1e-7;

struct ButtonBox {
    int x, y, w, h;
};

ButtonBox boxOf(const WindowSkin& skin, const CaptionButton& b)
{
    return {int(b.bounds.x - 1), skin.buttonStripTop + 1, b.width, b.height};
}

// The close button's outline: open at the bottom, rounded at the top right
// like the window's corner.
void addCloseShape(gfx::GraphicsPath& path, float x, float y, float w, float h)
{
    path.addLine(x, y + h, x, y);
    path.addLine(x, y, x + w - 5, y);
    path.addArc(x + w - 5, y, 5, 5, 270, 90);
    path.addLine(x + w, y + 5, x + w, y + h);
}

void fillVertical(gfx::Graphics& g, const gfx::GraphicsPath& path, float x, float y0, float y1, Gdiplus::ARGB from,
                  Gdiplus::ARGB to)
{
    gfx::LinearGradientBrush brush;
    brush.create({x, y0}, {x, y1}, from, to);
    g.fillPath(brush, path);
    brush.release();
}

const gfx::Bytes& glyphOf(const WindowSkin& skin, const CaptionButton& b)
{
    return b.kind == kCaptionMaximize && skin.maximized == 1 ? b.altPicture : b.picture;
}

void drawGlyph(gfx::Graphics& g, const gfx::Bytes& bytes, float x, float y, float w, float h)
{
    gfx::Image glyph;
    glyph.fromBytes(bytes);
    g.drawImageRect(glyph, x, y, w, h);
    glyph.dispose();
}

void separatorAt(gfx::Graphics& g, const WindowSkin& skin, float boundsX, int alpha)
{
    float sx = float(int(boundsX - 2));
    float top = float(skin.buttonStripTop);
    gfx::LinearGradientBrush fade;
    fade.create({sx, top}, {sx, top + float(skin.buttonStripHeight) - 3}, toArgb(kBlack, alpha), toArgb(kBlack, 0));
    gfx::Pen pen;
    pen.fromBrush(fade, 1.0f);
    g.drawLine(pen, sx, top + 1, sx, top + float(skin.buttonStripHeight) - 4);
    pen.release();
    fade.release();
}

void drawButtonSeparators(gfx::Graphics& g, const WindowSkin& skin, int n)
{
    separatorAt(g, skin, skin.captionButtons.at(n).bounds.x, n == 1 ? 100 : 60);
    if (n < skin.captionButtons.count())
        separatorAt(g, skin, skin.captionButtons.at(n + 1).bounds.x, 60);
}

void drawHotBackdrop(gfx::Graphics& g, WindowSkin& skin, int n, int a)
{
    const CaptionButton& b = skin.captionButtons.at(n);
    ButtonBox r = boxOf(skin, b);
    float x = float(r.x), y = float(r.y), w = float(r.w), h = float(r.h);
    BitBlt(skin.frameDc, r.x - 1, r.y, r.w + 2, r.h + 1, skin.captionDc, r.x - 1, r.y, SRCCOPY);

    gfx::GraphicsPath tab;
    tab.create();
    gfx::addTabOutline(tab, r.x, r.y, r.w, r.h, 1);
    fillVertical(g, tab, x, y, y + h + 1, toArgb(kBlack, a / 5), toArgb(kWhite, 0));
    if (b.kind != kCaptionClose) {
        fillVertical(g, tab, x, y, y + h + 1, toArgb(engineSettings().skinColor, a), toArgb(kWhite, 0));
    } else {
        gfx::GraphicsPath close;
        close.create();
        addCloseShape(close, x, y, w, h);
        fillVertical(g, close, x, y, y + h + 1, toArgb(kRed, a), toArgb(kWhite, 0));
        close.release();
    }
    tab.release();

    gfx::GraphicsPath outline;
    outline.create();
    int outlineHeight = int(r.h * 0.8);
    if (b.kind != kCaptionClose)
        gfx::addTabOutline(outline, r.x, r.y, r.w - 1, outlineHeight, 1);
    else
        addCloseShape(outline, x, y, w - 1, float(outlineHeight));
    gfx::LinearGradientBrush fade;
    fade.create({x, y}, {x, y + h + 1}, toArgb(kWhite, int(a * 0.8)), toArgb(kWhite, 0));
    gfx::Pen pen;
    pen.fromBrush(fade, 1.0f);
    g.drawPath(pen, outline);
    pen.release();
    fade.release();
    outline.release();
}

void copyToWindow(const WindowSkin& skin, const ButtonBox& r)
{
    HDC dc = GetDC(skin.hwnd);
    BitBlt(dc, r.x, r.y, r.w, r.h, skin.frameDc, r.x, r.y, SRCCOPY);
    ReleaseDC(skin.hwnd, dc);
}

void drawPressed(WindowSkin& skin, int n)
{
    const CaptionButton& b = skin.captionButtons.at(n);
    ButtonBox r = boxOf(skin, b);
    float x = float(r.x), y = float(r.y), w = float(r.w), h = float(r.h);
    gfx::Graphics g;
    g.fromHdc(skin.frameDc);
    BitBlt(skin.frameDc, r.x, r.y, r.w, r.h, skin.captionDc, r.x, r.y, SRCCOPY);

    gfx::GraphicsPath path;
    path.create();
    if (b.kind == kCaptionClose) {
        addCloseShape(path, x, y, w, h);
        fillVertical(g, path, x, y, y + h, toArgb(kRed, 255), toArgb(kWhite, 30));
    } else {
        path.addRectangle(x, y, w, h);
        fillVertical(g, path, x, y, y + h, toArgb(kBlack, 80), toArgb(kWhite, 5));
    }
    path.release();
    // The glyph follows the button the press found.
    const CaptionButton& shown = skin.captionButtons.contains(hotButton) ? skin.captionButtons.at(hotButton) : b;
    drawGlyph(g, glyphOf(skin, shown), x, y, w - 1, h);
    g.release();
    copyToWindow(skin, r);
}

} // namespace

void drawCaptionButton(int slot, int n, gfx::Graphics* graphics, bool full, bool pressed, int alpha)
{
    if (n < 1)
        return;
    WindowSkin& skin = skinAt(slot);
    if (!skin.frameDc || !skin.captionDc)
        return;
    if (pressed) {
        drawPressed(skin, n);
        return;
    }
    const CaptionButton& b = skin.captionButtons.at(n);
    ButtonBox r = boxOf(skin, b);

    gfx::Graphics own;
    gfx::Graphics* g = graphics;
    if (!full || !g) {
        own.fromHdc(skin.frameDc);
        own.setSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        g = &own;
    }
    drawHotBackdrop(*g, skin, n, alpha);

    gfx::GraphicsPath gloss;
    gloss.create();
    gloss.addRectangle(float(r.x - 1), float(r.y), float(r.w + 1), float(r.h - 1));
    fillVertical(*g, gloss, float(r.x), float(r.y), float(r.y + r.h), toArgb(kWhite, 50), toArgb(kBlack, 0));
    gloss.release();

    drawGlyph(*g, glyphOf(skin, b), float(r.x), float(r.y), float(r.w), float(r.h));
    drawButtonSeparators(*g, skin, n);

    if (g == &own) {
        own.release();
        copyToWindow(skin, r);
    }
}

bool pointInButtonStrip(int slot, LPARAM lParam)
{
    const WindowSkin& skin = skinAt(slot);
    int x = short(LOWORD(lParam));
    unsigned y = HIWORD(lParam);
    return x >= skin.buttonStripLeft - 2 && x <= skin.buttonStripLeft + skin.buttonStripWidth &&
           int(y) <= skin.buttonStripHeight && !(y & 0x8000);
}

int captionButtonAt(int slot, int x, int y)
{
    WindowSkin& skin = skinAt(slot);
    if (x < skin.buttonStripLeft || y < skin.buttonStripTop || y > skin.buttonStripTop + skin.buttonStripHeight)
        return 0;
    for (int i = 1; i <= skin.captionButtons.count(); ++i) {
        const FloatRect& r = skin.captionButtons.at(i).bounds;
        if (x > r.x + kTolerance && x < r.x + r.width - kTolerance && y > r.y + kTolerance &&
            y < r.y + r.height - kTolerance)
            return i;
    }
    return 0;
}

int findMaximizeButton(int slot)
{
    WindowSkin& skin = skinAt(slot);
    for (int i = 1; i <= skin.captionButtons.count(); ++i)
        if (skin.captionButtons.at(i).kind == kCaptionMaximize)
            return i;
    return 0;
}

void performCaptionButtonAction(int slot, int n)
{
    WindowSkin& skin = skinAt(slot);
    CaptionButton& b = skin.captionButtons.at(n);
    HWND hwnd = skin.hwnd;
    switch (b.kind) {
    case kCaptionClose:
        SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case kCaptionMaximize:
        if (skin.maximized == 1) {
            skin.minimized = 0;
            skin.maximized = 0;
            b.tooltip = "最大化";
            SendMessageA(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
        } else {
            skin.maximized = 1;
            skin.minimized = 0;
            b.tooltip = "还原";
            SendMessageA(hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        }
        break;
    case kCaptionMinimize:
        skin.minimized = 1;
        SendMessageA(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        break;
    default:
        break;
    }
}

void fadeStep(int slot)
{
    // Each drawing may run messages; read the record again after it.
    if (skinAt(slot).fadeIn.button >= 1 && skinAt(slot).fadeIn.step <= 7) {
        int step = ++skinAt(slot).fadeIn.step;
        drawCaptionButton(slot, skinAt(slot).fadeIn.button, nullptr, false, false, 30 * step);
    }
    if (skinAt(slot).fadeOut.button >= 1 && skinAt(slot).fadeOut.step <= 7) {
        int step = ++skinAt(slot).fadeOut.step;
        drawCaptionButton(slot, skinAt(slot).fadeOut.button, nullptr, false, false, 240 - 30 * step);
    }
    WindowSkin& skin = skinAt(slot);
    if ((skin.mouseTracked == 0 || skin.fadeTimerOn == 0) && (skin.fadeOut.step > 7 || skin.fadeOut.button == 0)) {
        skin.fadeTimerOn = 0;
        KillTimer(skin.hwnd, reinterpret_cast<UINT_PTR>(skin.hwnd));
        skin.hotCaptionButton = 0;
        skin.fadeIn = {};
        skin.fadeOut = {};
    }
}

void hoverBookkeeping(int slot)
{
    WindowSkin& skin = skinAt(slot);
    if (skin.hotCaptionButton >= 1 && skin.hotCaptionButton != hotButton) {
        if (skin.fadeOut.step < 8)
            drawCaptionButton(slot, skin.fadeOut.button, nullptr, false, false, 0);
        skin.fadeOut = {skin.hotCaptionButton, 0};
    }
    if (hotButton >= 1 && hotButton != skin.hotCaptionButton)
        skin.fadeIn = {hotButton, 0};
    skin.hotCaptionButton = hotButton;
}

void leaveBookkeeping(int slot)
{
    WindowSkin& skin = skinAt(slot);
    if (skin.fadeOut.step <= 7 && skin.fadeIn.step <= 7) {
        drawCaptionButton(slot, skin.fadeOut.button, nullptr, false, false, 0);
        skin.fadeIn = {};
    }
    skin.fadeOut = {skin.hotCaptionButton, 0};
    skin.hotCaptionButton = 0;
}

} // namespace velkaro::skin
