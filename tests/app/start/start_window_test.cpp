// The program's start: the start window's layout, its two buttons, and the
// end of the program when it closes.
#include "app/editor_window.h"
#include "app/program.h"
#include "app/start_window.h"
#include "skin/core/engine.h"
#include "skin/core/registry.h"
#include "skin/core/caption_button.h"

#include <gtest/gtest.h>
#include <velkaro/testing.h>

#include <string>

namespace {

using namespace velkaro;
namespace vt = velkaro::testing;

class StartWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(vt::startHeadless(1024, 768));
        vt::clearRecords();
        vt::clearQuit();
        app::initRuntime();
        skin::createGlobalLists();
        skin::initSkinEngine();
        m_start = app::createStartWindow();
        ASSERT_NE(m_start, nullptr);
        ShowWindow(m_start, SW_SHOW);
        vt::pumpUntilIdle();
    }
    void TearDown() override
    {
        if (IsWindow(m_start))
            DestroyWindow(m_start);
        if (HWND editor = FindWindowA(app::kEditorWindowClass, nullptr))
            DestroyWindow(editor);
        vt::pumpUntilIdle();
        skin::shutdownGdiplus();
        skin::releaseSkinEngine();
    }

    POINT centreOf(int id)
    {
        RECT r;
        GetWindowRect(GetDlgItem(m_start, id), &r);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    HWND m_start = nullptr;
};

TEST_F(StartWindowTest, WindowIsCentredPopupWithMinimizeBoxOnly)
{
    RECT r;
    GetWindowRect(m_start, &r);
    EXPECT_EQ(r.right - r.left, 253);
    EXPECT_EQ(r.bottom - r.top, 127);
    EXPECT_EQ(r.left, (1024 - 253) / 2);
    EXPECT_EQ(r.top, (768 - 127) / 2);
    LONG style = LONG(GetWindowLongA(m_start, GWL_STYLE));
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_CAPTION);
    char title[32];
    GetWindowTextA(m_start, title, sizeof title);
    EXPECT_STREQ(title, "Velkaro");
}

TEST_F(StartWindowTest, ControlsSitAtTheirPlaces)
{
    struct Case {
        int id;
        const char* className;
        const char* text;
        RECT rect;
    } cases[] = {{app::kAdvertId, "Static", nullptr, {23, 40, 248, 56}},
                 {app::kPageButtonId, "Button", "QQ空间", {130, 69, 210, 101}},
                 {app::kLoadButtonId, "Button", "加载工具", {36, 70, 116, 102}}};
    for (const Case& c : cases) {
        HWND control = GetDlgItem(m_start, c.id);
        ASSERT_NE(control, nullptr) << c.id;
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, m_start, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(EqualRect(&r, &c.rect)) << c.id;
        char name[32], text[64];
        GetClassNameA(control, name, sizeof name);
        EXPECT_STRCASEEQ(name, c.className);
        GetWindowTextA(control, text, sizeof text);
        if (c.text)
            EXPECT_STREQ(text, c.text);
        else
            EXPECT_GT(std::string(text).size(), 0u);
    }
    EXPECT_TRUE(GetWindowLongA(GetDlgItem(m_start, app::kAdvertId), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
}

TEST_F(StartWindowTest, PageButtonHandsTheAddressToTheShell)
{
    POINT p = centreOf(app::kPageButtonId);
    vt::click(p.x, p.y);
    vt::pumpUntilIdle();
    auto opened = vt::shellExecuted();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], app::kAuthorPage);
    EXPECT_TRUE(IsWindow(m_start));
}

TEST_F(StartWindowTest, LoadButtonLeavesOnlyTheEditor)
{
    POINT p = centreOf(app::kLoadButtonId);
    vt::click(p.x, p.y);
    vt::pumpUntilIdle();
    EXPECT_FALSE(IsWindow(m_start));
    HWND editor = FindWindowA(app::kEditorWindowClass, nullptr);
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(IsWindowVisible(editor));
    EXPECT_FALSE(vt::quitReceived());
    char text[32];
    GetWindowTextA(GetDlgItem(editor, app::kStyleListId), text, sizeof text);
    EXPECT_STREQ(text, "请选择！");
}

TEST_F(StartWindowTest, ClosingTheWindowEndsTheProgram)
{
    PostMessageA(m_start, WM_CLOSE, 0, 0);
    vt::pumpUntilIdle();
    EXPECT_FALSE(IsWindow(m_start));
    EXPECT_TRUE(vt::quitReceived());
}

TEST_F(StartWindowTest, IsSkinnedFromItsFirstAppearance)
{
    ASSERT_EQ(skin::skinRegistry().count(), 1);
    const skin::WindowSkin& record = skin::skinAt(1);
    EXPECT_EQ(record.hwnd, m_start);
    ASSERT_EQ(record.captionButtons.count(), 2);
    EXPECT_EQ(record.captionButtons.at(1).kind, skin::kCaptionMinimize);
    EXPECT_EQ(record.captionButtons.at(2).kind, skin::kCaptionClose);
    EXPECT_FALSE(record.backgroundImage.empty());
    // The winter picture, not the system face, behind the controls.
    EXPECT_NE(vt::windowPixel(m_start, 150, 60) & 0xFFFFFF, GetSysColor(COLOR_BTNFACE));
    std::string path = std::string(VK_TEST_OUTPUT_DIR) + "/start-window.png";
    EXPECT_TRUE(vt::saveWindowScreenshot(m_start, path.c_str()));
}

TEST_F(StartWindowTest, NeitherMaximizesNorSizes)
{
    RECT before;
    GetWindowRect(m_start, &before);
    POINT caption{before.left + 100, before.top + 10};
    vt::doubleClick(caption.x, caption.y);
    vt::pumpUntilIdle();
    EXPECT_FALSE(IsZoomed(m_start));
    EXPECT_EQ(skin::skinAt(1).maximized, 0);

    // A drag on the left border would size a sizable window.
    vt::mouseMove(before.left + 1, before.top + 60);
    vt::mouseDown();
    vt::mouseMove(before.left - 40, before.top + 60);
    vt::mouseUp();
    vt::pumpUntilIdle();
    RECT after;
    GetWindowRect(m_start, &after);
    EXPECT_EQ(after.right - after.left, 253);
    EXPECT_EQ(after.bottom - after.top, 127);
}

} // namespace
