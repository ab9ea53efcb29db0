// The pictures built into the engine, each a complete PNG or JPEG file image,
// decoded with GDI+ from memory where they are drawn.
#pragma once

#include "skin/core/types.h"

namespace velkaro::skin {

struct SkinImages {
    Bytes windowBackground;  // JPEG 1024 x 1024
    Bytes helpGlyph;         // PNG 26 x 18, like the four below
    Bytes menuGlyph;
    Bytes minimizeGlyph;
    Bytes maximizeGlyph;
    Bytes restoreGlyph;
    Bytes closeGlyph;        // PNG 38 x 18
    Bytes checkMark;         // PNG 13 x 12
    Bytes arrowUp;           // PNG 7 x 4
    Bytes arrowDown;         // PNG 7 x 4
    Bytes arrowLeft;         // PNG 4 x 7
    Bytes arrowRight;        // PNG 4 x 7
};

// The catalogue, filled on first use from the program's built-in data.
const SkinImages& skinImages();

} // namespace velkaro::skin
