// Small value types the records share.
#pragma once

#include <vector>

namespace velkaro::skin {

// A complete PNG, JPEG or BMP file image; empty = none.
using Bytes = std::vector<unsigned char>;

// Computed geometry is real-valued; conversions to integers truncate.
struct FloatRect {
    float x = 0, y = 0, width = 0, height = 0;
};

// The status bar keeps {x, y, width, height}, not left/top/right/bottom.
struct XywhRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// A caption button fading in or out: which one (1-based, 0 = none) and how far.
struct FadePair {
    int button = 0;
    int step = 0;
};

} // namespace velkaro::skin
