// The X11 backend: each top-level window of the layer is a real X window
// without a system frame (the layer draws frames itself). Input arrives as
// vk::InputEvent in screen coordinates.
//
// Event details beyond backend.h:
// - Expose: rect is in window coordinates; the backend has already put the
//   exposed part again from the last presented picture.
// - Configure: rect is the new screen rectangle a window manager gave the
//   window. When the window manager minimizes or restores a window, the
//   event carries delta = kConfigureIconified / kConfigureRestored and the
//   window's current rect.
// - MouseMove with window == nullptr: the pointer left our windows.
#pragma once

#include "backend/backend.h"
#include "backend/x11/x11_image.h"

#include "backend/x11/x11_xlib.h"

#include <array>
#include <deque>
#include <memory>
#include <unordered_map>

namespace vk {

class X11Backend final : public Backend {
public:
    static std::unique_ptr<X11Backend> open(const char* displayName);
    ~X11Backend() override;

    const char* name() const override { return "x11"; }
    bool isHeadless() const override { return false; }
    SIZE screenSize() const override;
    RECT workArea() const override;
    std::vector<RECT> desktopPanels() const override;
    uint64_t nowMs() override;

    void windowCreated(HWND hwnd, const RECT& rect, DWORD style, DWORD exStyle) override;
    void windowDestroyed(HWND hwnd) override;
    void windowShown(HWND hwnd, bool visible) override;
    void windowMoved(HWND hwnd, const RECT& rect) override;
    void windowIconified(HWND hwnd, bool iconic) override;
    void windowTitle(HWND hwnd, const std::string& utf8) override;
    void windowRegion(HWND hwnd, const Region* rgn) override;
    void windowsRestacked(const std::vector<HWND>& topToBottom) override;
    void activateWindow(HWND hwnd) override;
    void present(HWND hwnd, const Surface& surface, const Region& damage) override;

    void setCursor(CursorShape shape) override;
    POINT cursorPos() const override;
    void setCursorPos(int x, int y) override;
    void grabPointer(HWND hwnd) override;
    void ungrabPointer() override;

    void pollEvents(std::vector<InputEvent>& out) override;
    bool waitEvents(int timeoutMs) override;
    void injectEvent(const InputEvent& ev) override;

    // For tests and the layer's diagnostics.
    Display* display() const { return m_dpy; }
    // Waits until the server has handled every request sent so far.
    void sync();
    Window xWindow(HWND hwnd) const;
    HWND hwndOf(Window w) const;
    bool usesSharedMemory() const { return m_useShm; }
    CursorShape cursorShape() const { return m_cursorShape; }
    // True while a window manager announces itself on the root window.
    bool windowManagerRunning() const;

private:
    struct Win {
        HWND hwnd = nullptr;
        Window xid = 0;
        DWORD style = 0, exStyle = 0;
        bool overrideRedirect = false;
        RECT rect{};                 // last rectangle the layer set (or the WM reported)
        std::deque<RECT> pendingSets; // X geometries requested but not yet confirmed by the server
        RECT confirmed{};            // the X geometry the server last reported (or we created)
        bool visible = false;        // the layer wants it shown
        bool iconic = false;         // the layer (or the WM) minimized it
        bool viewable = false;       // the server has it mapped
        bool awaitingMap = false;    // mapped by us, MapNotify not yet seen
        bool placeAfterMap = false;  // re-apply the position once the WM has placed it
        Window parent = 0;           // the root, or a window manager's frame
        XIC xic = nullptr;
        std::unique_ptr<X11Image> image;
        int exposeLeft = 0, exposeTop = 0, exposeRight = 0, exposeBottom = 0;
        bool exposing = false;
    };

    enum Atom_ {
        WM_PROTOCOLS, WM_DELETE_WINDOW, WM_STATE, UTF8_STRING, NET_WM_NAME, NET_WM_ICON_NAME,
        MOTIF_WM_HINTS, NET_WORKAREA, NET_CURRENT_DESKTOP, NET_ACTIVE_WINDOW, NET_SUPPORTING_WM_CHECK,
        NET_WM_WINDOW_TYPE, NET_WM_WINDOW_TYPE_NORMAL, NET_WM_WINDOW_TYPE_UTILITY, NET_WM_STATE,
        NET_WM_STATE_ABOVE, NET_WM_STATE_SKIP_TASKBAR, NET_WM_PING, AtomCount
    };

    explicit X11Backend(Display* dpy);
    Win* find(HWND hwnd);
    const Win* find(HWND hwnd) const;
    Win* findX(Window w);
    void mapNow(Win& w);
    void unmapNow(Win& w);
    void applyRect(Win& w, const RECT& rc);
    void destroyWin(Win& w);
    Cursor cursorFor(CursorShape shape);
    RECT screenRectOf(const Win& w, const XConfigureEvent& ce);
    void handleEvent(XEvent& ev, std::vector<InputEvent>& out, size_t firstX);
    void handleKey(Win& w, XKeyEvent& ke, bool press, std::vector<InputEvent>& out);
    void handleFocus(Win* w, const XFocusChangeEvent& fe, bool in, std::vector<InputEvent>& out);
    void handleWmState(Win& w, std::vector<InputEvent>& out);
    void pushMouse(InputEvent ev, std::vector<InputEvent>& out, size_t firstX);

    Display* m_dpy;
    int m_screen;
    Window m_root;
    Visual* m_visual;
    int m_depth;
    GC m_gc = nullptr;
    bool m_useShm = false;
    bool m_hasShape = false;
    XIM m_im = nullptr;
    std::array<Atom, AtomCount> m_atoms{};
    std::unordered_map<HWND, std::unique_ptr<Win>> m_windows;
    std::unordered_map<Window, HWND> m_byXid;
    std::array<Cursor, 14> m_cursors{};
    CursorShape m_cursorShape = CursorShape::Arrow;
    HWND m_grab = nullptr;
    HWND m_active = nullptr;
    bool m_focusOutPending = false;
    std::array<bool, 256> m_keyDown{};
    Time m_lastTime = CurrentTime;
    std::deque<InputEvent> m_injected;
    uint64_t m_startNs = 0;
};

// The display of the running X11 backend, or null (x11Panels() reads it).
Display* x11CurrentDisplay();

// Work area from the root window's _NET_WORKAREA (current desktop), clipped
// to the screen; the whole screen when no window manager publishes one.
RECT x11WorkArea(Display* dpy);

} // namespace vk
