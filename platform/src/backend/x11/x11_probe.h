// A second, independent X connection that looks at the screen the way
// another program does: reads pixels back from the server, sends synthetic
// input and window-manager messages, plays a dock. Tests and diagnostics use
// it; it needs no Xlib headers, X ids are plain unsigned longs.
#pragma once

#include <windef.h>

#include <cstdint>
#include <string>
#include <vector>

struct _XDisplay;

namespace vk {

class X11Probe {
public:
    explicit X11Probe(const char* displayName = nullptr);
    ~X11Probe();
    X11Probe(const X11Probe&) = delete;
    X11Probe& operator=(const X11Probe&) = delete;

    bool ok() const { return m_dpy != nullptr; }
    // Waits until the server has handled everything sent so far.
    void sync();

    // Screen pixels as 0x00RRGGBB, row by row (what the root window shows).
    std::vector<uint32_t> readScreen(const RECT& rc);
    uint32_t pixelAt(int x, int y);

    // Window state as the server sees it.
    bool isViewable(unsigned long window);
    RECT geometry(unsigned long window); // screen coordinates
    std::string utf8Property(unsigned long window, const char* name);
    std::string wmClass(unsigned long window);
    std::vector<long> longProperty(unsigned long window, const char* name);
    bool overrideRedirect(unsigned long window);
    unsigned long focusWindow();

    // Synthetic input, delivered straight to the window (XSendEvent);
    // x, y are screen coordinates. button and keysym are X's own values.
    void sendButton(unsigned long window, unsigned button, bool press, int x, int y, unsigned long time = 0);
    void sendKey(unsigned long window, unsigned long keysym, unsigned state, bool press, unsigned long time = 0);
    void sendMotion(unsigned long window, int x, int y, unsigned long time = 0);
    // The keycode that types keysym, 0 when the keymap has none.
    unsigned keycodeOf(unsigned long keysym);

    // What a window manager would do.
    void sendDeleteWindow(unsigned long window);
    void moveWindow(unsigned long window, int x, int y, int width, int height);
    void setWmState(unsigned long window, long state);
    void setInputFocus(unsigned long window); // 0: nobody (PointerRoot)
    void warpPointer(int x, int y);

    // Root window properties (_NET_WORKAREA and friends).
    void setRootCardinals(const char* name, const std::vector<long>& values);
    void deleteRootProperty(const char* name);
    // A shown window of type _NET_WM_WINDOW_TYPE_DOCK.
    unsigned long createDock(const RECT& rc);
    void destroyWindow(unsigned long window);

private:
    _XDisplay* m_dpy = nullptr;
    std::vector<unsigned long> m_created;
};

} // namespace vk
