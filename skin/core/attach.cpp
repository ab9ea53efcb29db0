#include "skin/core/attach.h"

#include "skin/core/background.h"
#include "skin/core/discovery.h"
#include "skin/core/engine.h"
#include "skin/core/properties.h"
#include "skin/core/registry.h"
#include "skin/core/skin_images.h"
#include "skin/frame/window_proc.h"

namespace velkaro::skin {

namespace {

struct ButtonKindInfo {
    int kind;
    int width;
    const Bytes SkinImages::*glyph;
    const char* tooltip;
};

// In the order the buttons are laid out from left to right.
const ButtonKindInfo kButtonKinds[] = {
    {kCaptionHelp, 26, &SkinImages::helpGlyph, "帮助"},
    {kCaptionMenu, 26, &SkinImages::menuGlyph, "主菜单"},
    {kCaptionMinimize, 26, &SkinImages::minimizeGlyph, "最小化"},
    {kCaptionMaximize, 26, &SkinImages::maximizeGlyph, "最大化"},
    {kCaptionClose, 38, &SkinImages::closeGlyph, "关闭"},
};

RECT truncated(const FloatRect& r)
{
    return RECT{LONG(r.x), LONG(r.y), LONG(r.x + r.width), LONG(r.y + r.height)};
}

bool present(const WindowSkin& skin, int kind)
{
    switch (kind) {
    case kCaptionHelp: return skin.showHelpButton;
    case kCaptionMenu: return skin.showMenuButton;
    case kCaptionMinimize: return skin.showMinimizeButton;
    case kCaptionMaximize: return skin.showMaximizeButton;
    default: return skin.showCloseButton;
    }
}

} // namespace

void attachWindow(HWND window, const AttachOptions& o)
{
    if (!IsWindow(window) || findSkinSlot(window) >= 1)
        return;

    LONG style = LONG(GetWindowLongA(window, GWL_STYLE));
    style &= ~WS_CLIPCHILDREN;
    SetWindowLongA(window, GWL_STYLE, style);
    RECT client;
    GetClientRect(window, &client);
    EngineSettings& settings = engineSettings();
    settings.captionBorder = 3;

    WindowSkin skin;
    skin.hwnd = window;
    int captionHeight = o.captionHeight.value_or(25);
    skin.captionHeight = captionHeight > 25 ? captionHeight : 25;
    skin.showHelpButton = o.helpButton.value_or(0);
    skin.showMenuButton = o.menuButton.value_or(0);
    skin.showMinimizeButton = (style & WS_MINIMIZEBOX) ? 1 : 0;
    skin.showMaximizeButton = (style & WS_MAXIMIZEBOX) ? 1 : 0;
    skin.captionInteractive = o.interactive.value_or(1);
    skin.showCloseButton = o.hideCloseButton.value_or(0) ? 0 : (skin.captionInteractive != 0);
    skin.resizable = o.resizable.value_or(1);
    skin.showCaptionText = o.showCaptionText.value_or(1);
    skin.captionBand = o.captionBand.value_or(0);
    skin.backgroundLayout = o.backgroundLayout.value_or(settings.defaultBackgroundLayout);
    skin.tintColor = o.tintColor.value_or(-1);
    skin.tintAlpha = o.tintAlpha.value_or(255);
    skin.minTrackWidth = 200;
    skin.minTrackHeight = 150;
    skin.maxTrackWidth = GetSystemMetrics(SM_CXSCREEN);
    skin.maxTrackHeight = GetSystemMetrics(SM_CYSCREEN);

    skin.captionTextColor = 0xFFFFFF;
    skin.captionShadowColor = 0x808080;
    skin.captionFontName = "宋体";
    skin.captionFontSize = 12;
    skin.captionFontStyle = 1;

    const SkinImages& images = skinImages();
    int widths = 0;
    for (const ButtonKindInfo& info : kButtonKinds) {
        if (!present(skin, info.kind))
            continue;
        CaptionButton button;
        button.width = info.width;
        button.height = 18;
        button.picture = images.*info.glyph;
        if (info.kind == kCaptionMaximize)
            button.altPicture = images.restoreGlyph;
        button.kind = info.kind;
        button.tooltip = info.tooltip;
        widths += info.width;
        skin.captionButtons.append(std::move(button));
    }
    skin.buttonStripWidth = widths + (skin.captionButtons.count() - 1) + 3;
    skin.buttonStripHeight = 22;
    skin.buttonStripLeft = client.right - settings.captionBorder - skin.buttonStripWidth - 2;
    skin.buttonStripTop = 0;

    SetWindowLongA(window, GWL_STYLE, LONG(GetWindowLongA(window, GWL_STYLE)) | WS_SYSMENU);

    int slot = skinRegistry().append(std::move(skin));
    WindowSkin& record = skinAt(slot);
    // The picture is measured against the registered record, so its layout
    // decides how it is prepared.
    if (o.backgroundPicture && !o.backgroundPicture->empty())
        applyBackgroundPicture(slot, *o.backgroundPicture);
    record.lastRenderWidth = client.right;
    record.lastRenderHeight = client.bottom;

    if (o.interactive && *o.interactive != 0) {
        record.toolTip.create(window);
        record.captionButtons.forEach([&](int i, CaptionButton& b) {
            record.toolTip.addTool(truncated(b.bounds), b.tooltip, UINT(i));
        });
    }
    layoutCaptionButtons(slot);

    int statusHeight = o.statusBarHeight.value_or(0);
    if (statusHeight >= 1) {
        static const std::vector<StatusPanel> none;
        buildStatusBar(slot, statusHeight, o.statusPanels.has_value(), o.statusPanels ? *o.statusPanels : none);
        record.statusTextAlign = 0;
        record.statusTextColor = 0xFFFFFF;
        record.statusFontName = "宋体";
        record.statusFontSize = 12;
    }
    layoutStatusBar(slot);

    attachChildControls(slot, window);
    record.needsFullRepaint = 1;

    WNDPROC previous = reinterpret_cast<WNDPROC>(
        SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&skinnedWindowProc)));
    record.prevWndProc = previous;
    setPropProc(window, kPropPrevProc, previous);
    setPropInt(window, kPropListId, slot);
}

void layoutCaptionButtons(int slot)
{
    WindowSkin& skin = skinAt(slot);
    if (!skin.hwnd)
        return;
    RECT client;
    GetClientRect(skin.hwnd, &client);
    skin.buttonStripLeft = client.right - skin.buttonStripWidth + 1;
    skin.buttonStripHeight = 22;
    skin.captionButtons.forEach([&](int i, CaptionButton& b) {
        b.bounds.x = float(skin.buttonStripLeft + 2 + 27 * (i - 1));
        b.bounds.y = float(skin.buttonStripTop + 1);
        b.bounds.width = b.kind == kCaptionClose ? 40.0f : 26.0f;
        b.bounds.height = 18.0f;
    });
    skin.captionButtons.forEach([&](int i, CaptionButton& b) {
        skin.toolTip.moveTool(UINT(i), truncated(b.bounds));
        skin.toolTip.setToolText(UINT(i), b.tooltip);
    });
}

void buildStatusBar(int slot, int height, bool panelsGiven, const std::vector<StatusPanel>& panels)
{
    WindowSkin& skin = skinAt(slot);
    skin.statusBarHeight = height;
    RECT client;
    GetClientRect(skin.hwnd, &client);
    int W = client.right, H = client.bottom, b = engineSettings().captionBorder;
    skin.statusBarRect = {b, H - b - height - 1, W - 2 * b, height};
    skin.statusPanelRects.clear();
    skin.statusPanels.clear();
    if (!panelsGiven) {
        skin.statusPanelRects.append(skin.statusBarRect);
        StatusPanel whole;
        whole.width = -1;
        skin.statusPanels.append(std::move(whole));
        return;
    }
    int x = b;
    for (const StatusPanel& panel : panels) {
        int w = panel.width == -1 ? W - b - x : panel.width;
        skin.statusPanelRects.append(XywhRect{x, skin.statusBarRect.y, w, height});
        skin.statusPanels.append(panel);
        x += w;
    }
}

void layoutStatusBar(int slot)
{
    WindowSkin& skin = skinAt(slot);
    RECT client;
    GetClientRect(skin.hwnd, &client);
    int W = client.right, H = client.bottom, b = engineSettings().captionBorder;
    skin.statusBarRect.x = b;
    skin.statusBarRect.y = H - skin.statusBarHeight - b - 1;
    skin.statusBarRect.width = W - 2 * b;
    int x = b, used = 0;
    for (int i = 1; i <= skin.statusPanelRects.count(); ++i) {
        XywhRect& r = skin.statusPanelRects.at(i);
        r.y = skin.statusBarRect.y;
        r.x = x;
        if (skin.statusPanels.contains(i) && skin.statusPanels.at(i).width == -1)
            r.width = W - used - 2 * b;
        used += r.width;
        x += r.width;
    }
}

} // namespace velkaro::skin
