// A window's background picture and the theme colour measured from it.
#pragma once

#include "skin/core/types.h"

#include <windows.h>

#include <optional>
#include <string>

namespace velkaro::skin {

// 1 when the picture was set; 0 when the window is not attached or the
// picture is empty.
int setBackgroundPicture(HWND window, const Bytes& picture, std::optional<int> layout = std::nullopt);

} // namespace velkaro::skin
