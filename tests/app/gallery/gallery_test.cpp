// The controls gallery: every control is there, works under the mouse, and
// repaints without leaking GDI objects.
#include "app/gallery/controls_gallery.h"

#include <gtest/gtest.h>
#include <velkaro/testing.h>

#include <commctrl.h>

#include <set>
#include <string>

namespace {

namespace vt = velkaro::testing;

class GalleryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(vt::startHeadless(800, 560));
        m_gallery = velkaro::gallery::createControlsGallery();
        ASSERT_NE(m_gallery, nullptr);
        ShowWindow(m_gallery, SW_SHOW);
        vt::pumpUntilIdle();
    }
    void TearDown() override
    {
        DestroyWindow(m_gallery);
        vt::pumpUntilIdle();
    }
    POINT centreOf(HWND child)
    {
        RECT r;
        GetWindowRect(child, &r);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    HWND m_gallery = nullptr;
};

TEST_F(GalleryTest, HoldsOneOfEveryControl)
{
    std::set<std::string> classes;
    for (HWND c = GetWindow(m_gallery, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char name[64];
        GetClassNameA(c, name, sizeof name);
        classes.insert(name);
    }
    for (const char* expected : {"Button", "Static", "Edit", "ComboBox", "ListBox", "ScrollBar", "msctls_trackbar32",
                                 "msctls_progress32", "msctls_updown32", "SysHeader32", "SysListView32",
                                 "SysTreeView32", "SysIPAddress32", "SysDateTimePick32", "ToolbarWindow32"}) {
        bool found = false;
        for (const std::string& c : classes)
            found = found || !lstrcmpiA(c.c_str(), expected);
        EXPECT_TRUE(found) << expected;
    }
    std::string path = std::string(VK_TEST_OUTPUT_DIR) + "/controls-gallery.png";
    EXPECT_TRUE(vt::saveWindowScreenshot(m_gallery, path.c_str()));
}

TEST_F(GalleryTest, ControlsAnswerTheMouse)
{
    HWND check = FindWindowExA(m_gallery, nullptr, "BUTTON", "复选框");
    ASSERT_NE(check, nullptr);
    POINT p = centreOf(check);
    vt::click(p.x, p.y);
    vt::pumpUntilIdle();
    EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    // The track bar drives the progress bar through WM_HSCROLL.
    HWND track = FindWindowExA(m_gallery, nullptr, TRACKBAR_CLASSA, nullptr);
    HWND progress = FindWindowExA(m_gallery, nullptr, PROGRESS_CLASSA, nullptr);
    ASSERT_TRUE(track && progress);
    SetFocus(track);
    vt::pressKey(VK_END);
    vt::pumpUntilIdle();
    EXPECT_EQ(SendMessageA(track, TBM_GETPOS, 0, 0), 10);
    EXPECT_EQ(SendMessageA(progress, PBM_GETPOS, 0, 0), 100);
}

TEST_F(GalleryTest, RepaintsAndHoversLeakNothing)
{
    size_t before = vt::liveGdiObjects();
    RECT r;
    GetWindowRect(m_gallery, &r);
    for (int i = 0; i < 1000; ++i) {
        vt::mouseMove(r.left + 20 + (i * 37) % 680, r.top + 40 + (i * 53) % 400);
        if (i % 50 == 0)
            RedrawWindow(m_gallery, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        vt::pumpUntilIdle();
    }
    EXPECT_EQ(vt::liveGdiObjects(), before);
}

} // namespace
