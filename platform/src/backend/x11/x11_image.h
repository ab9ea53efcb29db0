// The pixels of one X window on our side: an XImage sized to the window's
// surface, in shared memory when the server can read it there. It also keeps
// the last presented picture, so exposed parts can be put again without the
// window painting.
#pragma once

#include <cstddef> // surface.h uses ptrdiff_t without including it

#include "core/surface.h"

#include <windef.h>

#include "backend/x11/x11_xlib.h"

#include <memory>

namespace vk {

class X11Image {
public:
    // useShm is cleared when the server refuses the shared segment (remote
    // display), so later images go straight to XPutImage.
    static std::unique_ptr<X11Image> create(Display* dpy, Visual* visual, int depth, int width, int height, bool& useShm);
    ~X11Image();
    X11Image(const X11Image&) = delete;
    X11Image& operator=(const X11Image&) = delete;

    int width() const { return m_image->width; }
    int height() const { return m_image->height; }
    bool shared() const { return m_shared; }

    // Copies the overlapping top-left part of another image of the same format.
    void copyFrom(const X11Image& other);
    // Converts a rectangle of the surface (clipped to both) into the image.
    void store(const Surface& surface, const RECT& rc);
    // Sends a rectangle of the image to the drawable at the same place.
    void put(Drawable d, GC gc, const RECT& rc);
    // A shared image must not be written while the server may still be
    // reading it: put() marks it busy, and this waits until the server is done.
    void waitIdle();

private:
    X11Image(Display* dpy, XImage* image, bool shared);
    void initFormat(Visual* visual);

    Display* m_dpy;
    XImage* m_image;
    XShmSegmentInfo m_shm{};
    bool m_shared;
    bool m_busy = false;
    bool m_direct = false; // 0x00RRGGBB words in host order: rows are copied as they are
    int m_shift[3] = {};
    int m_bits[3] = {};
};

} // namespace vk
