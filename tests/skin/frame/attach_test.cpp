// Attaching: the record built from the window's style and the options, the
// caption strip and status bar layouts, and the subclassing.
#include "frame_fixture.h"

#include "skin/frame/window_proc.h"

#include <commctrl.h>

#include <string>

namespace frame_test {
namespace {

using AttachTest = FrameTest;

std::vector<int> kindsOf(const vs::WindowSkin& skin)
{
    std::vector<int> kinds;
    for (int i = 1; i <= skin.captionButtons.count(); ++i)
        kinds.push_back(skin.captionButtons.at(i).kind);
    return kinds;
}

TEST_F(AttachTest, CaptionButtonsFollowStyleAndOptions)
{
    struct Case {
        DWORD style;
        vs::AttachOptions options;
        std::vector<int> kinds;
    };
    vs::AttachOptions hideClose, noInteraction, helpAndMenu;
    hideClose.hideCloseButton = 1;
    noInteraction.interactive = 0;
    helpAndMenu.helpButton = 1;
    helpAndMenu.menuButton = 1;
    const DWORD minimizeOnly = WS_POPUP | WS_MINIMIZEBOX;
    const Case cases[] = {
        {minimizeOnly, {}, {vs::kCaptionMinimize, vs::kCaptionClose}},
        {minimizeOnly, hideClose, {vs::kCaptionMinimize}},
        {minimizeOnly, noInteraction, {vs::kCaptionMinimize}},
        {WS_POPUP | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, helpAndMenu,
         {vs::kCaptionHelp, vs::kCaptionMenu, vs::kCaptionMinimize, vs::kCaptionMaximize, vs::kCaptionClose}},
    };
    for (const Case& c : cases) {
        nextOptions = c.options;
        HWND hwnd = open(253, 127, c.style);
        EXPECT_EQ(kindsOf(skinOf(hwnd)), c.kinds);
        DestroyWindow(hwnd);
    }
}

TEST_F(AttachTest, CaptionHeightHasAFloorOf25)
{
    for (auto [given, expected] : {std::pair{10, 25}, {40, 40}, {-5, 25}}) {
        nextOptions = {};
        nextOptions.captionHeight = given;
        HWND hwnd = open();
        EXPECT_EQ(skinOf(hwnd).captionHeight, expected);
        DestroyWindow(hwnd);
    }
}

TEST_F(AttachTest, StartWindowStripGeometry)
{
    HWND hwnd = open(253, 127);
    const vs::WindowSkin& skin = skinOf(hwnd);
    EXPECT_EQ(skin.buttonStripWidth, 68);
    EXPECT_EQ(skin.buttonStripLeft, 186);
    EXPECT_EQ(skin.buttonStripHeight, 22);
    ASSERT_EQ(skin.captionButtons.count(), 2);
    EXPECT_FLOAT_EQ(skin.captionButtons.at(1).bounds.x, 188);
    EXPECT_FLOAT_EQ(skin.captionButtons.at(2).bounds.x, 215);
    EXPECT_FLOAT_EQ(skin.captionButtons.at(2).bounds.width, 40);
    EXPECT_FLOAT_EQ(skin.captionButtons.at(1).bounds.y, 1);
    EXPECT_EQ(skin.captionButtons.at(2).tooltip, "关闭");
}

TEST_F(AttachTest, RegistersOnceAndSubclasses)
{
    HWND hwnd = open();
    int slot = vs::findSkinSlot(hwnd);
    EXPECT_EQ(slot, vs::skinRegistry().count());
    EXPECT_EQ(vs::propInt(hwnd, vs::kPropListId), slot);
    EXPECT_EQ(vs::propProc(hwnd, vs::kPropPrevProc), &appProc);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)), &vs::skinnedWindowProc);
    EXPECT_TRUE(GetWindowLongA(hwnd, GWL_STYLE) & WS_SYSMENU);
    EXPECT_FALSE(GetWindowLongA(hwnd, GWL_STYLE) & WS_CLIPCHILDREN);

    vs::attachWindow(hwnd, {});
    EXPECT_EQ(vs::skinRegistry().count(), 1);
    EXPECT_EQ(vs::propProc(hwnd, vs::kPropPrevProc), &appProc);
}

TEST_F(AttachTest, TooltipWindowOnlyWhenInteractionIsGiven)
{
    HWND plain = open();
    EXPECT_EQ(skinOf(plain).toolTip.window(), nullptr);

    nextOptions.interactive = 1;
    HWND tipped = open(253, 127, WS_POPUP | WS_MINIMIZEBOX, 400, 100);
    HWND tip = skinOf(tipped).toolTip.window();
    ASSERT_NE(tip, nullptr);
    TTTOOLINFOA info{};
    info.cbSize = sizeof info;
    char text[80] = {};
    info.hwnd = tipped;
    info.uId = 2;
    info.lpszText = text;
    ASSERT_TRUE(SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&info)));
    info.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(text, "关闭");
    EXPECT_EQ(info.rect.left, 215);
    EXPECT_EQ(info.rect.right, 255);
}

TEST_F(AttachTest, StatusPanelOfRestWidthGrowsWithTheWindow)
{
    vs::StatusPanel fixed, rest;
    fixed.width = 100;
    fixed.text = "就绪";
    rest.width = -1;
    nextOptions.statusBarHeight = 22;
    nextOptions.statusPanels = std::vector<vs::StatusPanel>{fixed, rest};
    HWND hwnd = open(400, 300, WS_POPUP | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    vs::WindowSkin& skin = skinOf(hwnd);
    EXPECT_EQ(skin.statusBarRect.x, 3);
    EXPECT_EQ(skin.statusBarRect.y, 300 - 3 - 22 - 1);
    EXPECT_EQ(skin.statusBarRect.width, 394);
    ASSERT_EQ(skin.statusPanelRects.count(), 2);
    EXPECT_EQ(skin.statusPanelRects.at(2).x, 103);
    EXPECT_EQ(skin.statusPanelRects.at(2).width, 294);

    SetWindowPos(hwnd, nullptr, 0, 0, 450, 300, SWP_NOMOVE | SWP_NOZORDER);
    vt::pumpUntilIdle();
    EXPECT_EQ(skinOf(hwnd).statusPanelRects.at(2).width, 344);
    EXPECT_EQ(skinOf(hwnd).statusPanelRects.at(1).width, 100);
}

TEST_F(AttachTest, AttachWithAPictureMeasuresItForTheLayout)
{
    nextOptions.backgroundPicture = vs::Bytes{};
    HWND empty = open();
    EXPECT_TRUE(skinOf(empty).backgroundImage.empty());
    EXPECT_EQ(skinOf(empty).backgroundColor, 0u);
    DestroyWindow(empty);

    nextOptions.backgroundPicture = vs::Bytes{1, 2, 3};  // not a picture
    HWND broken = open();
    EXPECT_TRUE(skinOf(broken).backgroundImage.empty());
}

} // namespace
} // namespace frame_test
