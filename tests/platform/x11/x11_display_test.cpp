// The X11 backend's view of the display: connection, screen, work area and
// panels, clock, injected events and error tolerance.
#include "x11_test_support.h"

#include "backend/x11/x11_errors.h"
#include "backend/x11/x11_panels.h"

#include <winuser.h>

namespace vk::test {
namespace {

TEST(X11Open, UnreachableDisplayGivesNoBackend)
{
    EXPECT_EQ(createX11Backend(":987"), nullptr);
    EXPECT_EQ(x11CurrentDisplay(), nullptr);
    EXPECT_TRUE(x11Panels().empty());
}

using X11Display = X11Fixture;

TEST_F(X11Display, ReportsTheScreenOfTheServer)
{
    const SIZE size = backend->screenSize();
    EXPECT_GT(size.cx, 0);
    EXPECT_GT(size.cy, 0);
    // The bottom-right pixel is readable, the one past it is not.
    EXPECT_EQ(probe->readScreen(RECT{size.cx - 1, size.cy - 1, size.cx, size.cy}).size(), 1u);
    EXPECT_STREQ(backend->name(), "x11");
    EXPECT_FALSE(backend->isHeadless());
    EXPECT_EQ(x11CurrentDisplay(), backend->display());
}

TEST_F(X11Display, WorkAreaFollowsTheRootProperty)
{
    const SIZE s = backend->screenSize();
    const RECT screen{0, 0, s.cx, s.cy};
    probe->deleteRootProperty("_NET_WORKAREA");
    probe->deleteRootProperty("_NET_CURRENT_DESKTOP");
    EXPECT_EQ(backend->workArea(), screen);
    EXPECT_TRUE(x11Panels().empty());

    // One desktop with a 40-pixel panel at the bottom.
    probe->setRootCardinals("_NET_WORKAREA", {0, 0, s.cx, s.cy - 40});
    EXPECT_EQ(backend->workArea(), (RECT{0, 0, s.cx, s.cy - 40}));
    std::vector<RECT> panels = x11Panels();
    ASSERT_EQ(panels.size(), 1u);
    EXPECT_EQ(panels[0], (RECT{0, s.cy - 40, s.cx, s.cy}));

    // Two desktops: the current one's entry counts; a left panel this time.
    probe->setRootCardinals("_NET_WORKAREA", {0, 0, s.cx, s.cy - 40, 64, 0, s.cx - 64, s.cy});
    probe->setRootCardinals("_NET_CURRENT_DESKTOP", {1});
    EXPECT_EQ(backend->workArea(), (RECT{64, 0, s.cx, s.cy}));
    panels = x11Panels();
    ASSERT_EQ(panels.size(), 1u);
    EXPECT_EQ(panels[0], (RECT{0, 0, 64, s.cy}));

    // A work area bigger than the screen is clipped to it.
    probe->setRootCardinals("_NET_CURRENT_DESKTOP", {0});
    probe->setRootCardinals("_NET_WORKAREA", {-10, -10, s.cx + 100, s.cy + 100});
    EXPECT_EQ(backend->workArea(), screen);

    probe->deleteRootProperty("_NET_WORKAREA");
    probe->deleteRootProperty("_NET_CURRENT_DESKTOP");
}

TEST_F(X11Display, DockWindowsAreThePanels)
{
    const SIZE s = backend->screenSize();
    probe->setRootCardinals("_NET_WORKAREA", {0, 0, s.cx, s.cy - 40});
    const unsigned long dock = probe->createDock(RECT{0, 0, s.cx, 24});
    std::vector<RECT> panels = x11Panels();
    ASSERT_EQ(panels.size(), 1u) << "a dock window wins over the work-area difference";
    EXPECT_EQ(panels[0], (RECT{0, 0, s.cx, 24}));

    // Our own windows are no docks.
    showWindow(1, RECT{10, 40, 110, 140});
    EXPECT_EQ(x11Panels().size(), 1u);

    probe->destroyWindow(dock);
    probe->deleteRootProperty("_NET_WORKAREA");
    EXPECT_TRUE(x11Panels().empty());
}

TEST_F(X11Display, ClockStartsNearZeroAndNeverGoesBack)
{
    const uint64_t first = backend->nowMs();
    EXPECT_LT(first, 5000u);
    uint64_t last = first;
    for (int i = 0; i < 1000; ++i) {
        const uint64_t now = backend->nowMs();
        ASSERT_GE(now, last);
        last = now;
    }
}

TEST_F(X11Display, InjectedEventsComeFirstAndWakeTheWait)
{
    const unsigned long xw = showWindow(1, RECT{50, 50, 150, 150});
    settle();
    events.clear();
    probe->sendButton(xw, Button1, true, 60, 70);
    backend->sync();

    InputEvent key;
    key.type = InputEvent::Type::KeyDown;
    key.vk = VK_F7;
    backend->injectEvent(key);
    EXPECT_TRUE(backend->waitEvents(-1)); // must not block: something is queued
    backend->pollEvents(events);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].type, InputEvent::Type::KeyDown);
    EXPECT_EQ(events[0].vk, unsigned(VK_F7));
    EXPECT_EQ(events[1].type, InputEvent::Type::ButtonDown);

    events.clear();
    EXPECT_TRUE(backend->waitEvents(0));
    backend->pollEvents(events);
    EXPECT_TRUE(events.empty());
}

TEST_F(X11Display, ErrorsAndStaleHandlesDoNotStopTheProgram)
{
    const RECT rc{20, 20, 60, 60};
    TestSurface s(40, 40, solid(0x123456));
    const unsigned long xw = showWindow(1, rc);
    backend->windowDestroyed(fakeHwnd(1));
    settle();
    EXPECT_FALSE(probe->isViewable(xw));

    // Every call on a window the backend does not know is ignored.
    const HWND stale = fakeHwnd(1);
    backend->windowShown(stale, true);
    backend->windowMoved(stale, rc);
    backend->windowIconified(stale, true);
    backend->windowTitle(stale, "x");
    backend->windowRegion(stale, nullptr);
    backend->windowsRestacked({stale, fakeHwnd(2)});
    backend->activateWindow(stale);
    backend->present(stale, s.surface, Region(rc));
    backend->grabPointer(stale);
    backend->windowDestroyed(stale);
    backend->windowDestroyed(nullptr);
    backend->windowCreated(nullptr, rc, 0, 0);
    settle();

    // An X protocol error (here: a request on a destroyed window) is
    // recorded and the program carries on.
    const unsigned long before = x11ErrorCount();
    probe->moveWindow(xw, 0, 0, 10, 10);
    EXPECT_GT(x11ErrorCount(), before);
    EXPECT_EQ(x11LastErrorCode(), BadWindow);
    showWindow(2, rc);
    EXPECT_TRUE(probe->isViewable(backend->xWindow(fakeHwnd(2))));
}

} // namespace
} // namespace vk::test
