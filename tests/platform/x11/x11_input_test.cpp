// X11 backend input: pointer buttons and motion, keys and their text,
// auto-repeat, close requests, activation, the pointer position, capture
// and cursors.
#include "x11_test_support.h"

#include "backend/x11/x11_errors.h"

#include <winuser.h>

#include <X11/keysym.h>

namespace vk::test {
namespace {

using X11Input = X11Fixture;

TEST_F(X11Input, ButtonsArriveWithScreenCoordinates)
{
    const unsigned long xw = showWindow(1, RECT{100, 100, 300, 250});
    struct Case {
        unsigned xButton;
        int button;
    };
    const Case cases[] = {{Button1, 1}, {Button3, 2}, {Button2, 3}, {8, 4}, {9, 5}};
    for (const Case& c : cases) {
        events.clear();
        probe->sendButton(xw, c.xButton, true, 150, 170);
        probe->sendButton(xw, c.xButton, false, 151, 172);
        settle();
        ASSERT_EQ(events.size(), 2u) << "X button " << c.xButton;
        EXPECT_EQ(events[0].type, InputEvent::Type::ButtonDown);
        EXPECT_EQ(events[0].button, c.button);
        EXPECT_EQ(events[0].window, fakeHwnd(1));
        EXPECT_EQ(events[0].x, 150);
        EXPECT_EQ(events[0].y, 170);
        EXPECT_EQ(events[1].type, InputEvent::Type::ButtonUp);
        EXPECT_EQ(events[1].button, c.button);
        EXPECT_EQ(events[1].x, 151);
        EXPECT_EQ(events[1].y, 172);
    }
}

TEST_F(X11Input, WheelNotchesAreOneEventEach)
{
    const unsigned long xw = showWindow(1, RECT{100, 100, 300, 250});
    const struct {
        unsigned xButton;
        int delta;
    } cases[] = {{Button4, 120}, {Button5, -120}};
    for (const auto& c : cases) {
        events.clear();
        probe->sendButton(xw, c.xButton, true, 120, 130);
        probe->sendButton(xw, c.xButton, false, 120, 130);
        settle();
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].type, InputEvent::Type::Wheel);
        EXPECT_EQ(events[0].delta, c.delta);
        EXPECT_EQ(events[0].x, 120);
        EXPECT_EQ(events[0].y, 130);
    }
}

TEST_F(X11Input, ConsecutiveMotionsCollapseToTheLast)
{
    const unsigned long xw = showWindow(1, RECT{100, 100, 300, 250});
    events.clear();
    for (int i = 0; i < 5; ++i)
        probe->sendMotion(xw, 110 + i, 120 + 2 * i);
    probe->sendButton(xw, Button1, true, 114, 128);
    probe->sendMotion(xw, 130, 140);
    settle();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].type, InputEvent::Type::MouseMove);
    EXPECT_EQ(events[0].x, 114);
    EXPECT_EQ(events[0].y, 128);
    EXPECT_EQ(events[1].type, InputEvent::Type::ButtonDown);
    EXPECT_EQ(events[2].type, InputEvent::Type::MouseMove);
    EXPECT_EQ(events[2].x, 130);
}

struct KeyCase {
    unsigned long keysym;
    unsigned state;
    unsigned vk;
    const char* text;
};

TEST_F(X11Input, KeysGiveVirtualKeysAndText)
{
    const unsigned long xw = showWindow(1, RECT{100, 100, 300, 250});
    const KeyCase cases[] = {
        {XK_a, 0, 'A', "a"},
        {XK_a, ShiftMask, 'A', "A"},
        {XK_a, ControlMask, 'A', "\x01"},
        {XK_z, 0, 'Z', "z"},
        {XK_1, 0, '1', "1"},
        {XK_1, ShiftMask, '1', "!"},
        {XK_F1, 0, VK_F1, ""},
        {XK_F12, 0, VK_F12, ""},
        {XK_Return, 0, VK_RETURN, "\r"},
        {XK_BackSpace, 0, VK_BACK, "\b"},
        {XK_Tab, 0, VK_TAB, "\t"},
        {XK_Escape, 0, VK_ESCAPE, "\x1b"},
        {XK_space, 0, VK_SPACE, " "},
        {XK_Delete, 0, VK_DELETE, ""},
        {XK_Insert, 0, VK_INSERT, ""},
        {XK_Home, 0, VK_HOME, ""},
        {XK_End, 0, VK_END, ""},
        {XK_Prior, 0, VK_PRIOR, ""},
        {XK_Next, 0, VK_NEXT, ""},
        {XK_Left, 0, VK_LEFT, ""},
        {XK_Up, 0, VK_UP, ""},
        {XK_Right, 0, VK_RIGHT, ""},
        {XK_Down, 0, VK_DOWN, ""},
        {XK_Shift_L, 0, VK_SHIFT, ""},
        {XK_Control_L, 0, VK_CONTROL, ""},
        {XK_Alt_L, 0, VK_MENU, ""},
        {XK_semicolon, 0, VK_OEM_1, ";"},
        {XK_comma, 0, VK_OEM_COMMA, ","},
        {XK_minus, 0, VK_OEM_MINUS, "-"},
        {XK_period, 0, VK_OEM_PERIOD, "."},
        {XK_slash, 0, VK_OEM_2, "/"},
        {XK_bracketleft, 0, VK_OEM_4, "["},
        {XK_apostrophe, ShiftMask, VK_OEM_7, "\""},
        {XK_KP_Add, 0, VK_ADD, "+"},
        {XK_KP_1, Mod2Mask, VK_NUMPAD1, "1"}, // Num Lock on
        {XK_KP_1, 0, VK_END, ""},             // Num Lock off: the key is End
    };
    unsigned long time = 1000;
    for (const KeyCase& c : cases) {
        ASSERT_NE(probe->keycodeOf(c.keysym), 0u) << "keymap lacks keysym " << std::hex << c.keysym;
        events.clear();
        probe->sendKey(xw, c.keysym, c.state, true, time);
        probe->sendKey(xw, c.keysym, c.state, false, time + 50);
        time += 100;
        settle();
        ASSERT_EQ(events.size(), 2u) << "keysym " << std::hex << c.keysym;
        EXPECT_EQ(events[0].type, InputEvent::Type::KeyDown);
        EXPECT_EQ(events[0].vk, c.vk) << "keysym " << std::hex << c.keysym << " state " << c.state;
        EXPECT_EQ(events[0].text, c.text) << "keysym " << std::hex << c.keysym << " state " << c.state;
        EXPECT_FALSE(events[0].repeat);
        EXPECT_EQ(events[0].window, fakeHwnd(1));
        EXPECT_EQ(events[0].scan, probe->keycodeOf(c.keysym) - 8);
        EXPECT_EQ(events[1].type, InputEvent::Type::KeyUp);
        EXPECT_EQ(events[1].vk, c.vk);
        EXPECT_TRUE(events[1].text.empty());
    }
}

TEST_F(X11Input, AutoRepeatIsMarkedAndHasNoReleasesBetween)
{
    const unsigned long xw = showWindow(1, RECT{100, 100, 300, 250});
    events.clear();
    // X without detectable auto-repeat: release and press with one time stamp.
    probe->sendKey(xw, XK_b, 0, true, 5000);
    probe->sendKey(xw, XK_b, 0, false, 5500);
    probe->sendKey(xw, XK_b, 0, true, 5500);
    // With detectable auto-repeat: presses only.
    probe->sendKey(xw, XK_b, 0, true, 5530);
    probe->sendKey(xw, XK_b, 0, false, 5600);
    // A real second press after the release is no repeat.
    probe->sendKey(xw, XK_b, 0, true, 5700);
    probe->sendKey(xw, XK_b, 0, false, 5750);
    settle();
    ASSERT_EQ(events.size(), 6u);
    const struct {
        InputEvent::Type type;
        bool repeat;
    } expected[] = {
        {InputEvent::Type::KeyDown, false}, {InputEvent::Type::KeyDown, true}, {InputEvent::Type::KeyDown, true},
        {InputEvent::Type::KeyUp, false},   {InputEvent::Type::KeyDown, false}, {InputEvent::Type::KeyUp, false},
    };
    for (size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(events[i].type, expected[i].type) << i;
        EXPECT_EQ(events[i].repeat, expected[i].repeat) << i;
        EXPECT_EQ(events[i].vk, unsigned('B'));
        if (events[i].type == InputEvent::Type::KeyDown) {
            EXPECT_EQ(events[i].text, "b");
        }
    }
}

TEST_F(X11Input, DeleteWindowMessageIsACloseRequest)
{
    showWindow(1, RECT{10, 10, 50, 50});
    const unsigned long xw = showWindow(2, RECT{60, 10, 100, 50});
    events.clear();
    probe->sendDeleteWindow(xw);
    settle();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, InputEvent::Type::CloseRequest);
    EXPECT_EQ(events[0].window, fakeHwnd(2));
}

TEST_F(X11Input, ActivationFollowsFocusAndIgnoresMovesBetweenOurWindows)
{
    const unsigned long a = showWindow(1, RECT{100, 100, 200, 200});
    const unsigned long b = showWindow(2, RECT{300, 100, 400, 200});
    events.clear();
    backend->activateWindow(fakeHwnd(1));
    settle();
    EXPECT_EQ(probe->focusWindow(), a);
    std::vector<InputEvent> act = take(InputEvent::Type::Activate);
    ASSERT_EQ(act.size(), 1u);
    EXPECT_EQ(act[0].window, fakeHwnd(1));

    events.clear();
    backend->activateWindow(fakeHwnd(2));
    settle();
    EXPECT_EQ(probe->focusWindow(), b);
    act = take(InputEvent::Type::Activate);
    ASSERT_EQ(act.size(), 1u) << "focus moving from one of our windows to another is one activation";
    EXPECT_EQ(act[0].window, fakeHwnd(2));

    // Focus goes to another program.
    const unsigned long other = probe->createDock(RECT{600, 600, 650, 650});
    events.clear();
    probe->setInputFocus(other);
    settle();
    act = take(InputEvent::Type::Activate);
    ASSERT_EQ(act.size(), 1u);
    EXPECT_EQ(act[0].window, nullptr);
}

TEST_F(X11Input, PointerPositionAndCapture)
{
    const unsigned long xw = showWindow(1, RECT{100, 100, 200, 200});
    (void)xw;
    backend->setCursorPos(150, 160);
    settle();
    EXPECT_EQ(backend->cursorPos().x, 150);
    EXPECT_EQ(backend->cursorPos().y, 160);
    std::vector<InputEvent> moves = take(InputEvent::Type::MouseMove);
    ASSERT_FALSE(moves.empty()) << "warping into the window is a motion";
    EXPECT_EQ(moves.back().window, fakeHwnd(1));
    EXPECT_EQ(moves.back().x, 150);

    // Captured: motion far outside our windows still arrives.
    backend->grabPointer(fakeHwnd(1));
    events.clear();
    probe->warpPointer(600, 500);
    settle();
    moves = take(InputEvent::Type::MouseMove);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back().window, fakeHwnd(1));
    EXPECT_EQ(moves.back().x, 600);
    EXPECT_EQ(moves.back().y, 500);

    // Released: it no longer does.
    backend->ungrabPointer();
    settle();
    events.clear();
    probe->warpPointer(610, 510);
    settle();
    EXPECT_TRUE(take(InputEvent::Type::MouseMove).empty());
    EXPECT_EQ(backend->cursorPos().x, 610);

    // Leaving our window is a move over no window of ours.
    backend->setCursorPos(150, 150);
    settle();
    events.clear();
    backend->setCursorPos(700, 150);
    settle();
    moves = take(InputEvent::Type::MouseMove);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back().window, nullptr);
    EXPECT_EQ(moves.back().x, 700);
}

TEST_F(X11Input, EveryCursorShapeIsDefined)
{
    showWindow(1, RECT{100, 100, 200, 200});
    backend->grabPointer(fakeHwnd(1));
    const unsigned long before = x11ErrorCount();
    for (int s = int(CursorShape::Help); s >= int(CursorShape::Arrow); --s) {
        backend->setCursor(CursorShape(s));
        EXPECT_EQ(backend->cursorShape(), CursorShape(s));
    }
    // A window made now starts with the current cursor.
    showWindow(2, RECT{300, 100, 400, 200});
    backend->ungrabPointer();
    settle();
    EXPECT_EQ(x11ErrorCount(), before);
}

} // namespace
} // namespace vk::test
