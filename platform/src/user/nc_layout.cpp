// The classic frame's geometry.
#include "user/nc_layout.h"

namespace vk::user {

NcLayout ncLayout(Window* w)
{
    NcLayout l;
    int width = w->rect.right - w->rect.left;
    int height = w->rect.bottom - w->rect.top;
    l.window = RECT{0, 0, width, height};
    l.client = w->clientRect;
    OffsetRect(&l.client, -w->rect.left, -w->rect.top);
    DWORD style = w->style, ex = w->exStyle;
    if (style & WS_THICKFRAME) {
        l.frame = 4;
        l.sizing = !w->maximized();
    } else if ((style & WS_DLGFRAME) || (ex & WS_EX_DLGMODALFRAME)) {
        l.frame = 3;
    } else if (style & WS_BORDER) {
        l.frame = 1;
    }
    l.clientEdge = ((ex & WS_EX_CLIENTEDGE) ? 2 : 0) + ((ex & WS_EX_STATICEDGE) ? 1 : 0);
    if ((style & WS_CAPTION) == WS_CAPTION) {
        int h = (ex & WS_EX_TOOLWINDOW) ? 15 : 19;
        l.caption = RECT{l.frame, l.frame, width - l.frame, l.frame + h - 1};
        int bh = l.caption.bottom - l.caption.top - 4;
        int bw = bh + 2;
        int right = l.caption.right - 2;
        int top = l.caption.top + 2;
        if (style & WS_SYSMENU) {
            l.closeBtn = RECT{right - bw, top, right, top + bh};
            right = l.closeBtn.left - 2;
            if (!(ex & WS_EX_TOOLWINDOW)) {
                l.icon = RECT{l.caption.left + 2, l.caption.top + 1, l.caption.left + 18, l.caption.top + 17};
                if (style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) {
                    l.maxBtn = RECT{right - bw, top, right, top + bh};
                    l.minBtn = RECT{l.maxBtn.left - bw, top, l.maxBtn.left, top + bh};
                }
            }
        }
    }
    RECT inner = l.client;
    if (style & WS_VSCROLL) {
        l.vscroll = RECT{inner.right, inner.top, inner.right + 17, inner.bottom};
    }
    if (style & WS_HSCROLL) {
        l.hscroll = RECT{inner.left, inner.bottom, inner.right, inner.bottom + 17};
    }
    if ((style & WS_VSCROLL) && (style & WS_HSCROLL))
        l.grip = RECT{inner.right, inner.bottom, inner.right + 17, inner.bottom + 17};
    return l;
}

} // namespace vk::user
