// A window's background picture and the theme colour measured from it.
#pragma once

#include "skin/core/types.h"

#include <windows.h>

#include <optional>
#include <string>

namespace velkaro::skin {

// The average colour of sampleCount pseudo-random pixels (of the last
// regionWidth columns / regionHeight rows when given), as a colour reference
// with 0xFF in the top byte; 0 when the picture cannot be decoded. A non-empty
// fileName reads the picture from that file instead of the bytes.
COLORREF averageColor(const Bytes& picture, int sampleCount, std::optional<int> regionWidth = std::nullopt,
                      std::optional<int> regionHeight = std::nullopt, const std::string& fileName = {});

// The picture with its far edges faded into fadeColor, as PNG bytes: the
// right and bottom edges, or with fadeRight given as 0 the left and bottom
// ones. The fade is fadeWidth wide, by default 30 % of the picture's width.
// Empty when the picture cannot be decoded.
Bytes prepareBackground(const Bytes& picture, COLORREF fadeColor, std::optional<int> fadeWidth = std::nullopt,
                        std::optional<int> fadeRight = std::nullopt, const std::string& fileName = {});

// 1 when the picture was set; 0 when the window is not attached or the
// picture is empty or does not decode (the current picture stays).
int setBackgroundPicture(HWND window, const Bytes& picture, std::optional<int> layout = std::nullopt);

// What attaching with a picture and setBackgroundPicture share: measure the
// colour and prepare the picture for the record's layout. False, changing
// nothing, when the picture does not decode.
bool applyBackgroundPicture(int slot, const Bytes& picture);

} // namespace velkaro::skin
