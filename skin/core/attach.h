// Putting a top-level window under the skin, and the caption-strip and
// status-bar layouts that follow the window's size.
#pragma once

#include "skin/core/caption_button.h"
#include "skin/core/types.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace velkaro::skin {

// The fourteen attach options. An omitted option takes its default, which
// is not always what passing 0 means (an omitted `interactive` creates no
// tooltip window, for one).
struct AttachOptions {
    std::optional<int> captionHeight;       // 25 at least
    std::optional<int> interactive;         // default 1
    std::optional<int> resizable;           // default 1
    std::optional<int> helpButton;          // default 0
    std::optional<int> menuButton;          // default 0
    std::optional<int> showCaptionText;     // default 1
    std::optional<int> captionBand;         // default 0
    std::optional<int> statusBarHeight;     // default 0 = no status bar
    std::optional<std::vector<StatusPanel>> statusPanels;  // default one panel filling the bar
    std::optional<Bytes> backgroundPicture;  // default none
    std::optional<int> backgroundLayout;    // default the engine's default layout
    std::optional<int> tintColor;           // default -1, no tint
    std::optional<int> tintAlpha;           // default 255
    std::optional<int> hideCloseButton;     // default 0
};

// Does nothing for a window that is already attached.
void attachWindow(HWND window, const AttachOptions& options = {});

void layoutCaptionButtons(int slot);
void buildStatusBar(int slot, int height, bool panelsGiven, const std::vector<StatusPanel>& panels);
void layoutStatusBar(int slot);

} // namespace velkaro::skin
