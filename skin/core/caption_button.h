// The entries of a record's caption-button and status-panel lists.
#pragma once

#include "skin/core/types.h"

#include <windows.h>

#include <string>

namespace velkaro::skin {

// What a caption button does; also its place from left to right.
enum CaptionButtonKind : int {
    kCaptionClose = 0,
    kCaptionMaximize = 1,
    kCaptionMinimize = 2,
    kCaptionMenu = 3,
    kCaptionHelp = 4,
};

struct CaptionButton {
    int width = 0;   // glyph width: 26, or 38 for close
    int height = 0;  // glyph height: 18
    Bytes picture;
    Bytes altPicture;  // drawn while maximized; only the maximize button has one
    int kind = 0;
    std::string tooltip;
    FloatRect bounds;  // client coordinates; drawn and hit-tested here
};

struct StatusPanel {
    int width = 0;  // -1 = the rest of the bar
    std::string text;
    Bytes icon;
    COLORREF textColor = 0;
};

} // namespace velkaro::skin
