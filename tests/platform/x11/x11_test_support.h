// Shared fixture of the X11 backend tests: a backend on $DISPLAY, a probe
// connection that sees the screen as another program would, and surfaces
// filled with known patterns.
#pragma once

// GoogleTest first: X.h defines None, a name GoogleTest uses.
#include <gtest/gtest.h>

#include "backend/x11/x11_backend.h"
#include "backend/x11/x11_probe.h"

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

inline bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline void PrintTo(const RECT& r, std::ostream* os)
{
    *os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

namespace vk::test {

inline HWND fakeHwnd(int n) { return reinterpret_cast<HWND>(uintptr_t(0x10000000 + n)); }

// A surface with its own pixels.
struct TestSurface {
    std::vector<uint32_t> pixels;
    Surface surface;

    TestSurface(int w, int h, const std::function<uint32_t(int, int)>& fill) : pixels(size_t(w) * size_t(h))
    {
        surface.bits = pixels.data();
        surface.width = w;
        surface.height = h;
        surface.stride = w * 4;
        paint(fill);
    }
    void paint(const std::function<uint32_t(int, int)>& fill)
    {
        for (int y = 0; y < surface.height; ++y)
            for (int x = 0; x < surface.width; ++x)
                pixels[size_t(y) * size_t(surface.width) + size_t(x)] = fill(x, y);
    }
    uint32_t at(int x, int y) const { return pixels[size_t(y) * size_t(surface.width) + size_t(x)] & 0xFFFFFF; }
};

inline uint32_t gradient(int x, int y) { return 0xFF000000u | uint32_t((x * 3) & 0xFF) << 16 | uint32_t((y * 5) & 0xFF) << 8 | 0x5A; }
inline std::function<uint32_t(int, int)> solid(uint32_t rgb)
{
    return [rgb](int, int) { return 0xFF000000u | rgb; };
}

class X11Fixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* display = std::getenv("DISPLAY");
        ASSERT_TRUE(display && *display) << "DISPLAY is not set: the X11 backend tests need an X server "
                                            "(the test script starts Xvfb)";
        backend = X11Backend::open(nullptr);
        ASSERT_TRUE(backend) << "cannot open the X display " << display;
        probe = std::make_unique<X11Probe>();
        ASSERT_TRUE(probe->ok());
        // Keep the pointer off the windows the tests make.
        probe->warpPointer(backend->screenSize().cx - 1, backend->screenSize().cy - 1);
    }

    void TearDown() override
    {
        backend.reset();
        probe.reset();
    }

    // Makes a shown window and waits until the server maps it.
    unsigned long showWindow(int n, const RECT& rc, DWORD style = 0x80000000L /* WS_POPUP */, DWORD exStyle = 0)
    {
        backend->windowCreated(fakeHwnd(n), rc, style, exStyle);
        backend->windowShown(fakeHwnd(n), true);
        settle();
        return backend->xWindow(fakeHwnd(n));
    }

    void presentAll(int n, const TestSurface& s)
    {
        backend->present(fakeHwnd(n), s.surface, Region(0, 0, s.surface.width, s.surface.height));
    }

    // Lets both connections' requests reach the server and the backend
    // handle what came back; events collect in `events`.
    void settle()
    {
        probe->sync();
        backend->sync();
        backend->pollEvents(events);
        backend->sync();
    }

    std::vector<InputEvent> take(InputEvent::Type type)
    {
        std::vector<InputEvent> out;
        for (const InputEvent& e : events)
            if (e.type == type)
                out.push_back(e);
        return out;
    }

    // Counts screen pixels in rc (screen coordinates) that differ from the
    // expected colour; expected gets screen coordinates too.
    int mismatches(const RECT& rc, const std::function<uint32_t(int, int)>& expected)
    {
        const std::vector<uint32_t> got = probe->readScreen(rc);
        if (got.empty())
            return -1;
        int bad = 0;
        size_t i = 0;
        for (int y = rc.top; y < rc.bottom; ++y)
            for (int x = rc.left; x < rc.right; ++x, ++i)
                bad += (got[i] & 0xFFFFFF) != (expected(x, y) & 0xFFFFFF);
        return bad;
    }

    std::unique_ptr<X11Backend> backend;
    std::unique_ptr<X11Probe> probe;
    std::vector<InputEvent> events;
};

} // namespace vk::test
