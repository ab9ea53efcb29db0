// A control's font as GDI+ sees it, and window class names.
#include "../gdip/gfx_fixture.h"

#include <velkaro/gfx/class_name.h>
#include <velkaro/gfx/control_font.h>

namespace {

const char* const kPlainClass = "VkGfxPlainWindow";

class WindowHelpers : public GfxTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(velkaro::testing::startHeadless());
        GfxTest::SetUp();
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kPlainClass;
        RegisterClassA(&wc);
        m_gdiAtStart = velkaro::testing::liveGdiObjects();
    }
    void TearDown() override
    {
        for (HWND w : m_windows)
            DestroyWindow(w);
        for (HFONT f : m_fonts)
            DeleteObject(f);
        EXPECT_EQ(m_gdiAtStart, velkaro::testing::liveGdiObjects());
        GfxTest::TearDown();
    }
    HWND window(const char* className)
    {
        HWND w = CreateWindowExA(0, className, "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        m_windows.push_back(w);
        return w;
    }
    HFONT font(int height, int weight, BOOL italic, const char* face)
    {
        HFONT f = CreateFontA(height, 0, 0, 0, weight, italic, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
        m_fonts.push_back(f);
        return f;
    }

    std::vector<HWND> m_windows;
    std::vector<HFONT> m_fonts;
    size_t m_gdiAtStart = 0;
};

} // namespace

TEST_F(WindowHelpers, WithoutAFontTheDefaultIsSong12)
{
    for (HWND hwnd : {window(kPlainClass), HWND(nullptr)}) {
        gfx::FontSpec found = gfx::controlFont(hwnd);
        EXPECT_EQ("宋体", found.face);
        EXPECT_EQ(12, found.size);
        EXPECT_EQ(0, found.style);
    }
}

TEST_F(WindowHelpers, AControlFontGivesItsFaceSizeAndStyle)
{
    struct Case {
        int height;
        int weight;
        BOOL italic;
        const char* face;
        int size;
        int style;
    };
    const Case cases[] = {
        {-16, FW_NORMAL, FALSE, "DejaVu Sans", 16, Gdiplus::FontStyleRegular},
        {-20, FW_BOLD, TRUE, "DejaVu Serif", 20, Gdiplus::FontStyleBold | Gdiplus::FontStyleItalic},
        {-13, FW_BOLD, FALSE, "AR PL UMing CN", 13, Gdiplus::FontStyleBold},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.face);
        HWND label = window("STATIC");
        SendMessageA(label, WM_SETFONT, WPARAM(font(c.height, c.weight, c.italic, c.face)), FALSE);
        gfx::FontSpec found = gfx::controlFont(label);
        EXPECT_EQ(c.face, found.face);
        EXPECT_EQ(c.size, found.size);
        EXPECT_EQ(c.style, found.style);
    }
}

TEST_F(WindowHelpers, ClassNamesOfWindows)
{
    HWND plain = window(kPlainClass);
    HWND label = window("STATIC");
    EXPECT_EQ(kPlainClass, gfx::className(plain));
    EXPECT_EQ("Static", gfx::className(label));
    DestroyWindow(plain);
    m_windows.erase(m_windows.begin());
    EXPECT_EQ("", gfx::className(plain)) << "a destroyed window has none";
    EXPECT_EQ("", gfx::className(nullptr));
}
