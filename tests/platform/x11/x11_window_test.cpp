// X11 backend windows: properties, presenting pixels, moving, shapes,
// stacking, exposure, showing, minimizing and what a window manager does.
#include "x11_test_support.h"

#include <winuser.h>

#include <cstdlib>

namespace vk::test {
namespace {

using X11Window = X11Fixture;

TEST_F(X11Window, CarriesClassTitleAndNoFrameRequest)
{
    const unsigned long xw = showWindow(1, RECT{10, 10, 200, 100}, WS_OVERLAPPEDWINDOW);
    const std::string title = "\xE7\x94\xBB\xE6\xA1\x86 Tool \xC3\xA9"; // 画框 Tool é
    backend->windowTitle(fakeHwnd(1), title);
    settle();
    EXPECT_EQ(probe->wmClass(xw), "velkaro/velkaro");
    EXPECT_EQ(probe->utf8Property(xw, "_NET_WM_NAME"), title);
    EXPECT_FALSE(probe->utf8Property(xw, "WM_NAME").empty());
    // Motif hints: the decorations field is valid and asks for none.
    const std::vector<long> motif = probe->longProperty(xw, "_MOTIF_WM_HINTS");
    ASSERT_EQ(motif.size(), 5u);
    EXPECT_EQ(motif[0] & 2, 2);
    EXPECT_EQ(motif[2], 0);
    EXPECT_FALSE(probe->longProperty(xw, "WM_PROTOCOLS").empty());
    EXPECT_EQ(probe->geometry(xw), (RECT{10, 10, 200, 100}));
}

struct RedirectCase {
    DWORD style, exStyle;
    bool overrideRedirect;
};

TEST_F(X11Window, ToolPopupsBypassTheWindowManager)
{
    const RedirectCase cases[] = {
        {WS_POPUP, WS_EX_TOOLWINDOW, true},                                   // tool tip
        {WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, true},       // drop-down list
        {WS_POPUP, 0, false},                                                 // skinned main window
        {WS_OVERLAPPEDWINDOW, 0, false},
        {WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW, false},        // palette with a caption
    };
    int n = 1;
    for (const RedirectCase& c : cases) {
        const unsigned long xw = showWindow(n, RECT{n * 20, 300, n * 20 + 50, 350}, c.style, c.exStyle);
        EXPECT_EQ(probe->overrideRedirect(xw), c.overrideRedirect) << "style " << std::hex << c.style << " ex " << c.exStyle;
        EXPECT_TRUE(probe->isViewable(xw));
        ++n;
    }
}

class X11Present : public X11Fixture, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        if (!GetParam())
            setenv("VELKARO_X11_NO_SHM", "1", 1);
        X11Fixture::SetUp();
        unsetenv("VELKARO_X11_NO_SHM");
    }
};

TEST_P(X11Present, ShowsTheDamagedPartAtTheWindowsPlace)
{
    if (GetParam())
        EXPECT_TRUE(backend->usesSharedMemory()) << "MIT-SHM should work on a local display";
    else
        EXPECT_FALSE(backend->usesSharedMemory());

    TestSurface s(64, 48, gradient);
    showWindow(1, RECT{100, 120, 164, 168});
    presentAll(1, s);
    settle();
    EXPECT_EQ(mismatches(RECT{100, 120, 164, 168}, [&](int x, int y) { return s.at(x - 100, y - 120); }), 0);

    // Only the damaged rectangle reaches the screen.
    s.paint(solid(0x00FF00));
    backend->present(fakeHwnd(1), s.surface, Region(10, 10, 20, 30));
    settle();
    auto expected = [&](int x, int y) {
        const int wx = x - 100, wy = y - 120;
        return (wx >= 10 && wx < 20 && wy >= 10 && wy < 30) ? 0x00FF00u : gradient(wx, wy);
    };
    EXPECT_EQ(mismatches(RECT{100, 120, 164, 168}, expected), 0);

    // Moved: the same picture at the new place, put again by the backend
    // itself when the server exposes it.
    backend->windowMoved(fakeHwnd(1), RECT{400, 300, 464, 348});
    settle();
    EXPECT_EQ(mismatches(RECT{400, 300, 464, 348}, [&](int x, int y) { return expected(x + 100 - 400, y + 120 - 300); }), 0);
    EXPECT_EQ(probe->geometry(backend->xWindow(fakeHwnd(1))), (RECT{400, 300, 464, 348}));

    // Sized: a bigger surface gets a new image; its first present covers it all.
    TestSurface big(100, 70, solid(0x3366CC));
    backend->windowMoved(fakeHwnd(1), RECT{400, 300, 500, 370});
    presentAll(1, big);
    settle();
    EXPECT_EQ(mismatches(RECT{400, 300, 500, 370}, solid(0x3366CC)), 0);
}

INSTANTIATE_TEST_SUITE_P(Transport, X11Present, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& i) { return i.param ? "SharedMemory" : "PutImage"; });

TEST_F(X11Window, ShapeCutsTheCornersAndNullRemovesIt)
{
    const RECT rc{200, 200, 280, 260};
    const std::vector<uint32_t> root = probe->readScreen(rc); // what shows where no window is
    ASSERT_EQ(root.size(), 80u * 60u);
    TestSurface s(80, 60, solid(0xC04020));
    showWindow(1, rc);
    presentAll(1, s);

    // A rounded-rectangle-like shape: the 4x4 corners are cut away.
    Region shape(4, 0, 76, 60);
    shape.unite(RECT{0, 4, 80, 56});
    backend->windowRegion(fakeHwnd(1), &shape);
    settle();
    auto inShape = [](int wx, int wy) { return (wx >= 4 && wx < 76) || (wy >= 4 && wy < 56); };
    EXPECT_EQ(mismatches(rc, [&](int x, int y) {
                  const int wx = x - rc.left, wy = y - rc.top;
                  return inShape(wx, wy) ? 0xC04020u : root[size_t(wy) * 80 + size_t(wx)];
              }),
              0);

    backend->windowRegion(fakeHwnd(1), nullptr);
    settle();
    EXPECT_EQ(mismatches(rc, solid(0xC04020)), 0);

    // An empty region shows nothing at all.
    Region none;
    backend->windowRegion(fakeHwnd(1), &none);
    settle();
    EXPECT_EQ(mismatches(rc, [&](int x, int y) { return root[size_t(y - rc.top) * 80 + size_t(x - rc.left)]; }), 0);
}

TEST_F(X11Window, RestackOrdersAndExposedPartsArePutAgain)
{
    TestSurface red(100, 100, solid(0xFF0000)), blue(100, 100, solid(0x0000FF));
    showWindow(1, RECT{100, 100, 200, 200});
    presentAll(1, red);
    showWindow(2, RECT{150, 150, 250, 250});
    presentAll(2, blue);
    const RECT overlap{150, 150, 200, 200};

    backend->windowsRestacked({fakeHwnd(1), fakeHwnd(2)});
    settle();
    EXPECT_EQ(mismatches(overlap, solid(0xFF0000)), 0);

    events.clear();
    backend->windowsRestacked({fakeHwnd(2), fakeHwnd(1)});
    settle();
    EXPECT_EQ(mismatches(overlap, solid(0x0000FF)), 0);
    const std::vector<InputEvent> exposed = take(InputEvent::Type::Expose);
    ASSERT_FALSE(exposed.empty());
    EXPECT_EQ(exposed.back().window, fakeHwnd(2));
    EXPECT_EQ(exposed.back().rect, (RECT{0, 0, 50, 50})) << "window coordinates of the uncovered part";

    // Hiding the top one uncovers the red window, which the backend puts again.
    backend->windowShown(fakeHwnd(2), false);
    settle();
    EXPECT_EQ(mismatches(RECT{100, 100, 200, 200}, solid(0xFF0000)), 0);
}

TEST_F(X11Window, ShowHideAndMinimizeWithoutAWindowManager)
{
    ASSERT_FALSE(backend->windowManagerRunning()) << "these checks expect a bare X server";
    const RECT rc{300, 100, 360, 160};
    const std::vector<uint32_t> root = probe->readScreen(rc);
    TestSurface s(60, 60, gradient);
    const unsigned long xw = showWindow(1, rc);
    presentAll(1, s);
    settle();
    auto picture = [&](int x, int y) { return s.at(x - rc.left, y - rc.top); };
    auto background = [&](int x, int y) { return root[size_t(y - rc.top) * 60 + size_t(x - rc.left)]; };

    struct Step {
        const char* what;
        std::function<void()> act;
        bool viewable;
    };
    const Step steps[] = {
        {"hide", [&] { backend->windowShown(fakeHwnd(1), false); }, false},
        {"show", [&] { backend->windowShown(fakeHwnd(1), true); }, true},
        {"minimize", [&] { backend->windowIconified(fakeHwnd(1), true); }, false},
        {"show while minimized", [&] { backend->windowShown(fakeHwnd(1), true); }, false},
        {"restore", [&] { backend->windowIconified(fakeHwnd(1), false); }, true},
        {"size to nothing", [&] { backend->windowMoved(fakeHwnd(1), RECT{300, 100, 300, 160}); }, false},
        {"size back", [&] { backend->windowMoved(fakeHwnd(1), rc); }, true},
    };
    for (const Step& step : steps) {
        step.act();
        settle();
        EXPECT_EQ(probe->isViewable(xw), step.viewable) << step.what;
        EXPECT_EQ(mismatches(rc, step.viewable ? std::function<uint32_t(int, int)>(picture) : background), 0) << step.what;
    }
}

TEST_F(X11Window, MovesByOthersAreReportedOursAreNot)
{
    const unsigned long xw = showWindow(1, RECT{100, 100, 200, 180});
    // A fast series of our own moves: none of them comes back as news.
    for (int i = 0; i < 5; ++i)
        backend->windowMoved(fakeHwnd(1), RECT{100 + i * 10, 100, 200 + i * 10, 180});
    backend->windowsRestacked({fakeHwnd(1)});
    settle();
    EXPECT_TRUE(take(InputEvent::Type::Configure).empty());

    // Someone else (a window manager) moves and sizes it.
    probe->moveWindow(xw, 320, 240, 90, 70);
    settle();
    const std::vector<InputEvent> cfg = take(InputEvent::Type::Configure);
    ASSERT_EQ(cfg.size(), 1u);
    EXPECT_EQ(cfg[0].window, fakeHwnd(1));
    EXPECT_EQ(cfg[0].rect, (RECT{320, 240, 410, 310}));
    EXPECT_EQ(cfg[0].delta, 0);
}

TEST_F(X11Window, MinimizeAndRestoreByTheWindowManagerAreReported)
{
    const unsigned long xw = showWindow(1, RECT{100, 100, 200, 180});
    struct Case {
        long wmState;
        int delta; // 0: nothing to report
    };
    const Case cases[] = {
        {1 /* NormalState */, 0},
        {3 /* IconicState */, kConfigureIconified},
        {3, 0},
        {1, kConfigureRestored},
    };
    for (const Case& c : cases) {
        events.clear();
        probe->setWmState(xw, c.wmState);
        settle();
        const std::vector<InputEvent> cfg = take(InputEvent::Type::Configure);
        if (!c.delta) {
            EXPECT_TRUE(cfg.empty()) << "state " << c.wmState;
        } else {
            ASSERT_EQ(cfg.size(), 1u) << "state " << c.wmState;
            EXPECT_EQ(cfg[0].delta, c.delta);
            EXPECT_EQ(cfg[0].rect, (RECT{100, 100, 200, 180}));
        }
    }
}

} // namespace
} // namespace vk::test
