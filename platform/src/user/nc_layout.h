// Geometry of the classic non-client frame, in window coordinates. The
// default frame painter and the default hit test both use it, so what is
// drawn is what is hit.
#pragma once

#include "user/window.h"

namespace vk::user {

struct NcLayout {
    RECT window{};   // 0, 0, width, height
    RECT client{};   // the client area
    int frame = 0;   // thickness of the outer frame (sizing or dialog frame or border)
    bool sizing = false;
    RECT caption{};  // empty without a caption
    RECT icon{};
    RECT closeBtn{};
    RECT maxBtn{};
    RECT minBtn{};
    RECT vscroll{};
    RECT hscroll{};
    RECT grip{};     // the corner between two scroll bars
    int clientEdge = 0;
};

NcLayout ncLayout(Window* w);

} // namespace vk::user
