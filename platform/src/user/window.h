// The window manager's records: window classes, windows and the state of the
// one user-interface thread (focus, activation, capture, z-order).
#pragma once

#include "core/handle_table.h"
#include "core/region.h"
#include "core/surface.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vk::user {

struct WindowClass {
    ATOM atom = 0;
    std::string name;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int clsExtra = 0;
    int wndExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HICON iconSmall = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    std::string menuName;
    std::vector<uint8_t> extra;
    int windowCount = 0;
    bool system = false; // registered by the layer itself (controls)
};

struct Property {
    std::string name; // lower-case compare; atoms stored as "#<n>"
    HANDLE data;
};

struct Window {
    HWND hwnd = nullptr;
    WindowClass* cls = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    Window* parent = nullptr; // null for top-level windows
    HWND owner = nullptr;
    std::vector<Window*> children; // z-order, front first

    RECT rect{};         // window rectangle in the parent's client coordinates (screen for top-level)
    RECT clientRect{};   // client rectangle in the same coordinates
    std::string text;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    LONG_PTR userData = 0;
    UINT_PTR id = 0; // child id; for top-level windows the menu handle
    std::vector<uint8_t> extra;
    std::vector<Property> props;
    HICON iconBig = nullptr;
    HICON iconSmall = nullptr;

    bool created = false;      // WM_NCCREATE succeeded
    bool destroying = false;   // DestroyWindow is running
    bool sizeMoveSent = false; // first WM_SIZE/WM_MOVE went out
    bool redraw = true;        // WM_SETREDRAW

    // Painting.
    Region update;            // client coordinates
    bool ncPending = false;   // the frame needs WM_NCPAINT
    bool erasePending = false;
    bool internalPaint = false;
    bool eraseFailed = false; // WM_ERASEBKGND answered 0: BeginPaint reports fErase

    std::unique_ptr<Region> windowRgn; // SetWindowRgn, window coordinates

    // Top-level windows own the pixels every DC of the window tree draws on.
    std::unique_ptr<OwnedSurface> surface;
    Region damage; // surface coordinates, waiting to be presented

    // Placement.
    bool minimized() const { return style & WS_MINIMIZE; }
    bool maximized() const { return style & WS_MAXIMIZE; }
    RECT normalRect{};     // restored rectangle while minimized or maximized
    bool restoreToMaximized = false;

    // Non-client scroll bars belong to the controls area.
    std::shared_ptr<void> scrollBars;

    bool isChild() const { return (style & WS_CHILD) && parent; }
    bool visibleFlag() const { return style & WS_VISIBLE; }
};

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT interval;
    uint64_t due;
    TIMERPROC proc;
    bool system = false;
};

struct MouseTracking {
    HWND hwnd = nullptr;
    DWORD flags = 0; // TME_HOVER | TME_LEAVE | TME_NONCLIENT
    DWORD hoverTime = 400;
    RECT hoverRect{};
    uint64_t hoverDue = 0;
};

// Everything the window manager knows. One instance: the program has one UI thread.
struct State {
    HandleTable<Window> windows{HandleKind::Window};
    std::vector<std::unique_ptr<WindowClass>> classes;
    ATOM nextAtom = 0xC000;
    std::vector<Window*> topLevels; // z-order, front first
    std::vector<std::unique_ptr<Window>> graveyard; // destroyed, freed when no handler runs

    HWND focus = nullptr;
    HWND active = nullptr;
    bool appActive = false;
    HWND capture = nullptr;
    std::vector<Timer> timers;
    UINT_PTR nextTimerId = 1;
    MouseTracking tracking;
    uint64_t geometryGeneration = 1;

    int sendDepth = 0;
    bool inMenuOrSizeLoop = false;
};

State& state();

Window* fromHandle(HWND hwnd);          // null (no error) for a dead handle
Window* checked(HWND hwnd);             // null and ERROR_INVALID_WINDOW_HANDLE for a dead handle
inline HWND handleOf(Window* w) { return w ? w->hwnd : nullptr; }

Window* topLevelOf(Window* w);
bool isVisible(Window* w); // the window and every ancestor are visible
bool isDescendant(Window* ancestor, Window* w);

// Geometry in screen coordinates.
RECT windowRectOnScreen(Window* w);
RECT clientRectOnScreen(Window* w);
POINT clientOriginOnScreen(Window* w);
// The window's position inside its top-level window's surface.
POINT windowOriginInTop(Window* w);
POINT clientOriginInTop(Window* w);

// Creation and destruction (windows.cpp).
Window* createWindow(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int cx, int cy,
                     HWND parent, HMENU menu, HINSTANCE inst, LPVOID param);
bool destroyWindow(Window* w);

// Messages (messages.cpp).
LRESULT send(Window* w, UINT msg, WPARAM wp, LPARAM lp);
LRESULT sendTo(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
void post(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
void bumpGeometry();
bool peekMessage(MSG& out, HWND filter, UINT lo, UINT hi, UINT flags);
// Waits for something to retrieve; false when a headless loop ran dry.
bool waitForWork(bool nested);
void freeGraveyardIfIdle();

// Painting (paint.cpp).
void invalidate(Window* w, const Region* clientRgn, UINT flags);
void eraseNow(Window* w, bool children);
bool needsPaint(Window* w);
Window* findWindowToPaint();
void presentDamage();
void clearUpdate(Window* w);

// Position and visibility (position.cpp).
void computeNcBorders(DWORD style, DWORD exStyle, RECT& borders); // thickness of each side
bool setWindowPos(Window* w, HWND after, int x, int y, int cx, int cy, UINT flags);
void defaultMinMax(Window* w, MINMAXINFO& mmi);
MINMAXINFO queryMinMax(Window* w);
void resizeSurface(Window* w);

// Focus and activation (focus.cpp).
void activate(Window* top, bool byMouse, bool fromBackend = false);
void deactivateApp(bool fromBackend);
void activateNextAfter(Window* leaving);
void windowGoingAway(Window* w);

// Input (input.cpp).
void processBackendEvents();
bool hasPendingInput();
bool takeInputMessage(MSG& msg, HWND filterWnd, UINT minMsg, UINT maxMsg, bool remove);
void updateKeyStateFor(const MSG& msg);
uint64_t nextInternalDue(); // hover tracking, 0 when none
void checkInternalTimers();
void cancelTrackingFor(HWND hwnd);
void checkMouseLeave();

// Modal loops (movesize.cpp).
void runMoveSizeLoop(Window* w, WPARAM cmd);

// Default procedure pieces.
LRESULT defNcHitTest(Window* w, POINT screen);
void defNcPaint(Window* w, HRGN rgn);
void defNcCalcSize(Window* w, RECT& r);

// Hooks other areas install: a message spy for the testing API, the
// non-client scroll bars for the controls area.
using SpyFn = std::function<void(HWND, UINT, WPARAM, LPARAM)>;
int addSpy(SpyFn fn);
void removeSpy(int id);

struct ScrollBarHooks {
    void (*paint)(HWND hwnd, HDC windowDc) = nullptr;                 // draw the non-client scroll bars
    LRESULT (*hitTest)(HWND hwnd, POINT screen) = nullptr;           // HTVSCROLL/HTHSCROLL or HTNOWHERE
    void (*track)(HWND hwnd, int hit, POINT screen) = nullptr;       // button down on a bar: modal tracking
    void (*destroyed)(HWND hwnd) = nullptr;
};
ScrollBarHooks& scrollBarHooks();

// The caret hides while its window paints (caret.cpp).
void caretBeginPaint(HWND hwnd);
void caretEndPaint(HWND hwnd);
void caretWindowDestroyed(HWND hwnd);

// Idle hook of the headless backend: called when a nested loop runs dry.
std::function<bool()>& idleHook();

} // namespace vk::user
