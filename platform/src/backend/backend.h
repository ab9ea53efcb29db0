// The screen behind the layer. A backend shows top-level windows (each with
// its own pixel surface), delivers input, and keeps the time. Two exist:
// x11 (real windows on $DISPLAY) and headless (a virtual screen in memory
// with a virtual clock, driven by the testing API).
#pragma once

#include "core/region.h"
#include "core/surface.h"

#include <windef.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vk {

// Raw input and window-manager events, in screen coordinates. The user layer
// turns them into window messages when a message loop asks for them.
struct InputEvent {
    enum class Type {
        MouseMove,
        ButtonDown,
        ButtonUp,
        Wheel,      // delta in WHEEL_DELTA units (120 a notch), vertical
        KeyDown,    // vk, text: the UTF-8 text the key types (may be empty)
        KeyUp,
        Activate,   // window: the top-level window the desktop activated (0: another program)
        CloseRequest, // window: the desktop asks the window to close
        Expose,     // window: pixels must be presented again (backend only)
        Configure,  // window, rect: the desktop moved or sized the window; delta
                    // kConfigureIconified / kConfigureRestored: it minimized or restored it
    };
    Type type = Type::MouseMove;
    HWND window = nullptr;
    int x = 0, y = 0;        // screen position of the pointer
    int button = 0;          // 1 left, 2 right, 3 middle, 4 X1, 5 X2
    int delta = 0;
    unsigned vk = 0;
    unsigned scan = 0;
    bool repeat = false;
    std::string text;
    RECT rect{};
};

constexpr int kConfigureIconified = 1;
constexpr int kConfigureRestored = -1;

// Cursor shapes a backend can show.
enum class CursorShape { Arrow, IBeam, Wait, Cross, UpArrow, SizeNWSE, SizeNESW, SizeWE, SizeNS, SizeAll, No, Hand, AppStarting, Help };

class Backend {
public:
    virtual ~Backend() = default;

    virtual const char* name() const = 0;
    virtual bool isHeadless() const = 0;

    // Screen geometry.
    virtual SIZE screenSize() const = 0;
    // The screen less docked panels (SPI_GETWORKAREA).
    virtual RECT workArea() const = 0;
    // The desktop's docked panels (task bars, docks) in screen coordinates.
    virtual std::vector<RECT> desktopPanels() const { return {}; }

    // Milliseconds of a monotonic clock (virtual on headless).
    virtual uint64_t nowMs() = 0;

    // Top-level windows. The user layer tells the backend about every change;
    // rect is the window rectangle in screen coordinates.
    virtual void windowCreated(HWND hwnd, const RECT& rect, DWORD style, DWORD exStyle) = 0;
    virtual void windowDestroyed(HWND hwnd) = 0;
    virtual void windowShown(HWND hwnd, bool visible) = 0;
    virtual void windowMoved(HWND hwnd, const RECT& rect) = 0;
    virtual void windowIconified(HWND hwnd, bool iconic) = 0;
    virtual void windowTitle(HWND hwnd, const std::string& utf8) = 0;
    // The window's shape, in window coordinates; null removes it.
    virtual void windowRegion(HWND hwnd, const Region* rgn) = 0;
    // Top-level windows from top to bottom.
    virtual void windowsRestacked(const std::vector<HWND>& topToBottom) = 0;
    // Asks the desktop to give keyboard focus to the window.
    virtual void activateWindow(HWND hwnd) = 0;
    // Shows the damaged part of a window's surface (window coordinates).
    virtual void present(HWND hwnd, const Surface& surface, const Region& damage) = 0;

    // Pointer.
    virtual void setCursor(CursorShape shape) = 0;
    virtual POINT cursorPos() const = 0;
    virtual void setCursorPos(int x, int y) = 0;
    // Capture: while grabbed, pointer events outside the program's windows still arrive.
    virtual void grabPointer(HWND hwnd) = 0;
    virtual void ungrabPointer() = 0;

    // Moves the pending events into out without blocking.
    virtual void pollEvents(std::vector<InputEvent>& out) = 0;
    // Blocks until an event arrives or timeoutMs passes (-1: no limit).
    // Returns false when it would block forever (headless with nothing scripted).
    virtual bool waitEvents(int timeoutMs) = 0;
    // Input injected by SendInput or the testing API.
    virtual void injectEvent(const InputEvent& ev) = 0;
};

// The backend in use; created on first use from VELKARO_BACKEND or $DISPLAY.
Backend& backend();
bool backendStarted();
// Replaces the backend (the testing API starts a headless one at a chosen size).
void setBackend(std::unique_ptr<Backend> b);

std::unique_ptr<Backend> createHeadlessBackend(int width, int height);
// Returns null when the display cannot be opened.
std::unique_ptr<Backend> createX11Backend(const char* display);

} // namespace vk
