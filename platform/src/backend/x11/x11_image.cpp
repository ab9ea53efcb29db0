// Window images: shared-memory XImages (MIT-SHM) or plain ones.
#include "backend/x11/x11_image.h"

#include "backend/x11/x11_errors.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

namespace vk {

namespace {

XImage* createShared(Display* dpy, Visual* visual, int depth, int w, int h, XShmSegmentInfo& shm)
{
    XImage* img = XShmCreateImage(dpy, visual, unsigned(depth), ZPixmap, nullptr, &shm, unsigned(w), unsigned(h));
    if (!img)
        return nullptr;
    shm.shmid = shmget(IPC_PRIVATE, size_t(img->bytes_per_line) * size_t(h), IPC_CREAT | 0600);
    if (shm.shmid < 0) {
        XDestroyImage(img);
        return nullptr;
    }
    shm.shmaddr = static_cast<char*>(shmat(shm.shmid, nullptr, 0));
    if (shm.shmaddr == reinterpret_cast<char*>(-1)) {
        shmctl(shm.shmid, IPC_RMID, nullptr);
        XDestroyImage(img);
        return nullptr;
    }
    img->data = shm.shmaddr;
    shm.readOnly = False;
    const unsigned long errorsBefore = x11ErrorCount();
    const bool attached = XShmAttach(dpy, &shm) && (XSync(dpy, False), x11ErrorCount() == errorsBefore);
    // Marked for removal at once: the segment goes away with the last detach,
    // even if the program dies without cleaning up.
    shmctl(shm.shmid, IPC_RMID, nullptr);
    if (!attached) {
        shmdt(shm.shmaddr);
        img->data = nullptr;
        XDestroyImage(img);
        return nullptr;
    }
    return img;
}

XImage* createPlain(Display* dpy, Visual* visual, int depth, int w, int h)
{
    XImage* img = XCreateImage(dpy, visual, unsigned(depth), ZPixmap, 0, nullptr, unsigned(w), unsigned(h), 32, 0);
    if (!img)
        return nullptr;
    img->data = static_cast<char*>(std::calloc(size_t(img->bytes_per_line), size_t(h)));
    if (!img->data) {
        XDestroyImage(img);
        return nullptr;
    }
    return img;
}

} // namespace

std::unique_ptr<X11Image> X11Image::create(Display* dpy, Visual* visual, int depth, int width, int height, bool& useShm)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    if (useShm) {
        // The image keeps a pointer to its segment info: it must live in the object.
        std::unique_ptr<X11Image> out(new X11Image(dpy, nullptr, true));
        if ((out->m_image = createShared(dpy, visual, depth, width, height, out->m_shm))) {
            out->initFormat(visual);
            std::memset(out->m_image->data, 0, size_t(out->m_image->bytes_per_line) * size_t(height));
            return out;
        }
        out->m_shared = false;
        useShm = false;
    }
    if (XImage* img = createPlain(dpy, visual, depth, width, height)) {
        std::unique_ptr<X11Image> out(new X11Image(dpy, img, false));
        out->initFormat(visual);
        return out;
    }
    return nullptr;
}

X11Image::X11Image(Display* dpy, XImage* image, bool shared)
    : m_dpy(dpy), m_image(image), m_shared(shared)
{
}

void X11Image::initFormat(Visual* visual)
{
    XImage* image = m_image;
    const unsigned long masks[3] = {visual->red_mask, visual->green_mask, visual->blue_mask};
    for (int i = 0; i < 3; ++i) {
        m_shift[i] = masks[i] ? std::countr_zero(masks[i]) : 0;
        m_bits[i] = std::popcount(masks[i]);
    }
    const bool hostLsb = std::endian::native == std::endian::little;
    m_direct = image->bits_per_pixel == 32 && masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF &&
               (image->byte_order == LSBFirst) == hostLsb;
}

X11Image::~X11Image()
{
    if (!m_image)
        return;
    if (m_shared) {
        XShmDetach(m_dpy, &m_shm);
        m_image->data = nullptr;
        XDestroyImage(m_image);
        shmdt(m_shm.shmaddr);
    } else {
        XDestroyImage(m_image); // frees the calloc'ed data
    }
}

void X11Image::waitIdle()
{
    if (m_busy) {
        XSync(m_dpy, False);
        m_busy = false;
    }
}

void X11Image::copyFrom(const X11Image& other)
{
    if (other.m_image->bits_per_pixel != m_image->bits_per_pixel || m_image->bits_per_pixel % 8)
        return;
    waitIdle();
    const int w = std::min(width(), other.width());
    const int h = std::min(height(), other.height());
    const size_t bytes = size_t(w) * size_t(m_image->bits_per_pixel / 8);
    for (int y = 0; y < h; ++y)
        std::memcpy(m_image->data + ptrdiff_t(y) * m_image->bytes_per_line,
                    other.m_image->data + ptrdiff_t(y) * other.m_image->bytes_per_line, bytes);
}

void X11Image::store(const Surface& s, const RECT& rc)
{
    const int left = std::max<int>(rc.left, 0), top = std::max<int>(rc.top, 0);
    const int right = std::min({int(rc.right), s.width, width()});
    const int bottom = std::min({int(rc.bottom), s.height, height()});
    if (left >= right || top >= bottom)
        return;
    waitIdle();
    if (m_direct) {
        // The alpha byte lands in the unused top byte of a depth-24 pixel.
        const size_t bytes = size_t(right - left) * 4;
        for (int y = top; y < bottom; ++y)
            std::memcpy(m_image->data + ptrdiff_t(y) * m_image->bytes_per_line + ptrdiff_t(left) * 4, s.row(y) + left, bytes);
        return;
    }
    for (int y = top; y < bottom; ++y) {
        const uint32_t* src = s.row(y);
        for (int x = left; x < right; ++x) {
            const uint32_t p = src[x];
            const unsigned c[3] = {(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF};
            unsigned long pixel = 0;
            for (int i = 0; i < 3; ++i) {
                const int bits = std::min(m_bits[i], 8);
                pixel |= (unsigned long)(c[i] >> (8 - bits)) << m_shift[i];
            }
            XPutPixel(m_image, x, y, pixel);
        }
    }
}

void X11Image::put(Drawable d, GC gc, const RECT& rc)
{
    const int left = std::max<int>(rc.left, 0), top = std::max<int>(rc.top, 0);
    const int right = std::min<int>(rc.right, width()), bottom = std::min<int>(rc.bottom, height());
    if (left >= right || top >= bottom)
        return;
    const unsigned w = unsigned(right - left), h = unsigned(bottom - top);
    if (m_shared) {
        XShmPutImage(m_dpy, d, gc, m_image, left, top, left, top, w, h, False);
        m_busy = true;
    } else {
        XPutImage(m_dpy, d, gc, m_image, left, top, left, top, w, h);
    }
}

} // namespace vk
