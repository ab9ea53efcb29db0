// The record of one attached top-level window and its container entries.
// Fields keep the engine's declaration order; flags are 0/1 ints, colours
// COLORREFs unless said otherwise. A new record starts zeroed, each list with
// its blank entry; attaching fills in the rest.
#pragma once

#include "skin/core/caption_button.h"
#include "skin/core/control_entries.h"
#include "skin/core/skin_list.h"
#include "skin/core/tool_tip.h"
#include "skin/core/types.h"

#include <velkaro/gfx/image.h>

#include <windows.h>

#include <memory>
#include <string>

namespace velkaro::skin {

// A toolbar that hosts child windows, registered with its owner's record.
struct ContainerEntry {
    HWND hwnd = nullptr;
    WNDPROC oldProc = nullptr;
    int width = 0;   // client size when registered; child clipping uses it
    int height = 0;
};

struct WindowSkin {
    HWND hwnd = nullptr;
    int shownPaintDone = 0;
    int wasHidden = 0;
    int moving = 0;
    int sizing = 0;
    int restoredFromMinimize = 0;
    int backgroundErased = 0;
    int active = 0;
    int captionHeight = 0;
    int showHelpButton = 0;
    int showMenuButton = 0;
    int showMinimizeButton = 0;
    int showMaximizeButton = 0;
    int showCloseButton = 0;
    int showCaptionText = 0;
    int captionBand = 0;
    WNDPROC prevWndProc = nullptr;
    Bytes backgroundImage;
    int backgroundLayout = 0;
    COLORREF backgroundColor = 0;  // with 0xFF in the top byte once measured
    int tintColor = 0;             // -1 = no tint
    int tintAlpha = 0;
    SkinList<CaptionButton> captionButtons{"captionButtons"};
    int buttonStripLeft = 0;
    int buttonStripTop = 0;
    int buttonStripWidth = 0;
    int buttonStripHeight = 0;
    HBITMAP captionDcOldBitmap = nullptr;
    HBITMAP captionDcBitmap = nullptr;
    HBITMAP statusDcOldBitmap = nullptr;
    HBITMAP statusDcBitmap = nullptr;
    int maximized = 0;
    int minimized = 0;
    int minTrackWidth = 0;
    int minTrackHeight = 0;
    int maxTrackWidth = 0;
    int maxTrackHeight = 0;
    int resizable = 0;
    int captionInteractive = 0;
    COLORREF captionTextColor = 0;
    COLORREF captionShadowColor = 0;
    std::string captionFontName;
    int captionFontSize = 0;
    int captionFontStyle = 0;
    int hotCaptionButton = 0;
    int hotKind = 0;
    HWND hotParent = nullptr;
    ToolTip toolTip;
    int statusBarHeight = 0;
    XywhRect statusBarRect;
    SkinList<StatusPanel> statusPanels = SkinList<StatusPanel>::withBlank("statusPanels");
    SkinList<XywhRect> statusPanelRects = SkinList<XywhRect>::withBlank("statusPanelRects");
    int statusTextAlign = 0;
    COLORREF statusTextColor = 0;
    std::string statusFontName;
    int statusFontSize = 0;
    SkinList<ButtonEntry> buttons = SkinList<ButtonEntry>::withBlank("buttons");
    SkinList<EditEntry> editControls = SkinList<EditEntry>::withBlank("editControls");
    SkinList<ListControlEntry> listControls = SkinList<ListControlEntry>::withBlank("listControls");
    SkinList<TrackBarEntry> trackBars = SkinList<TrackBarEntry>::withBlank("trackBars");
    SkinList<ProgressBarEntry> progressBars = SkinList<ProgressBarEntry>::withBlank("progressBars");
    SkinList<ComboEntry> comboControls = SkinList<ComboEntry>::withBlank("comboControls");
    SkinList<UpDownEntry> upDowns = SkinList<UpDownEntry>::withBlank("upDowns");
    SkinList<HeaderEntry> headers = SkinList<HeaderEntry>::withBlank("headers");
    SkinList<ToolbarEntry> toolbars = SkinList<ToolbarEntry>::withBlank("toolbars");
    int needsFullRepaint = 0;
    HDC frameDc = nullptr;
    HDC captionDc = nullptr;
    HDC statusDc = nullptr;
    HDC compositeDc = nullptr;
    int hotDrawnIndex = 0;
    int hotIndex = 0;
    SkinList<ContainerEntry> containers = SkinList<ContainerEntry>::withBlank("containers");
    int mouseTracked = 0;
    FadePair fadeIn;
    FadePair fadeOut;
    int fadeTimerOn = 0;
    int lastRenderWidth = 0;
    int lastRenderHeight = 0;

    // backgroundImage decoded, kept so that a render does not decode the
    // picture again; reset whenever backgroundImage changes.
    std::unique_ptr<gfx::Image> decodedBackground;
};

} // namespace velkaro::skin
