// Fonts and text: extents of the 12-pixel Song face, where text pixels land,
// background modes, alignment and DrawTextA's formatting.
#include "gdi_test_util.h"

#include <cstring>

namespace {

RECT inkBox(const Canvas& c, uint32_t background)
{
    RECT b{c.width(), c.height(), 0, 0};
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (c.rgb(x, y) != background) {
                b.left = std::min<LONG>(b.left, x);
                b.top = std::min<LONG>(b.top, y);
                b.right = std::max<LONG>(b.right, x + 1);
                b.bottom = std::max<LONG>(b.bottom, y + 1);
            }
    return b;
}

class TextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    }
    HFONT font = nullptr;
};

TEST_F(TextTest, SongFaceExtentsAt12Pixels)
{
    Canvas c(200, 40);
    SelectObject(c.dc, font);
    SIZE ascii{}, han{};
    ASSERT_TRUE(GetTextExtentPoint32A(c.dc, "Hello", 5, &ascii));
    ASSERT_TRUE(GetTextExtentPoint32A(c.dc, "宋体字", int(std::strlen("宋体字")), &han));
    // Half-width Latin letters, full-width Han characters.
    EXPECT_EQ(ascii.cx, 30);
    EXPECT_EQ(han.cx, 36);
    TEXTMETRICA tm{};
    ASSERT_TRUE(GetTextMetricsA(c.dc, &tm));
    EXPECT_EQ(ascii.cy, tm.tmHeight);
    EXPECT_GE(tm.tmHeight, 12);
    EXPECT_LE(tm.tmHeight, 16);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    EXPECT_EQ(tm.tmAveCharWidth, 6);
    char face[LF_FACESIZE];
    EXPECT_GT(GetTextFaceA(c.dc, sizeof face, face), 0);
    EXPECT_STREQ(face, "宋体");
    int widths[3];
    ASSERT_TRUE(GetCharWidth32A(c.dc, 'A', 'C', widths));
    EXPECT_EQ(widths[0], 6);
    int fit = 0, dx[16];
    SIZE sz;
    ASSERT_TRUE(GetTextExtentExPointA(c.dc, "abcdefgh", 8, 20, &fit, dx, &sz));
    EXPECT_EQ(fit, 3);
    EXPECT_EQ(dx[0], 6);
    EXPECT_EQ(dx[2], 18);
}

TEST_F(TextTest, UnknownFacesFallBackToTheDefault)
{
    HFONT f = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "No Such Face Anywhere");
    Canvas c(10, 10);
    SelectObject(c.dc, f);
    char face[LF_FACESIZE];
    GetTextFaceA(c.dc, sizeof face, face);
    EXPECT_STREQ(face, "宋体");
    SelectObject(c.dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(f);
}

TEST_F(TextTest, TextPixelsInsideTheBoxWithCrispEdges)
{
    Canvas c(120, 20, 0xFFFFFF);
    SelectObject(c.dc, font);
    SetBkMode(c.dc, TRANSPARENT);
    SetTextColor(c.dc, RGB(0, 0, 0));
    const char* s = "Ab宋体";
    ASSERT_TRUE(TextOutA(c.dc, 10, 4, s, int(std::strlen(s))));
    SIZE sz;
    GetTextExtentPoint32A(c.dc, s, int(std::strlen(s)), &sz);
    RECT ink = inkBox(c, 0xFFFFFF);
    EXPECT_GE(ink.left, 10);
    EXPECT_GE(ink.top, 4);
    EXPECT_LE(ink.right, 10 + sz.cx);
    EXPECT_LE(ink.bottom, 4 + sz.cy);
    EXPECT_GT(c.countNot(0xFFFFFF), 40);
    // Not anti-aliased: every pixel is either text or background.
    EXPECT_EQ(c.count(0, RECT{0, 0, 120, 20}) + c.count(0xFFFFFF, RECT{0, 0, 120, 20}), 120 * 20);
    EXPECT_EQ(c.px(ink.left, ink.top) >> 24, 0u);
    addToContactSheet("text", c, 3);
}

TEST_F(TextTest, OpaqueFillsTheCellTransparentDoesNot)
{
    for (int mode : {OPAQUE, TRANSPARENT}) {
        Canvas c(60, 20, 0xFFFFFF);
        SelectObject(c.dc, font);
        SetBkMode(c.dc, mode);
        SetBkColor(c.dc, RGB(0, 0, 255));
        SetTextColor(c.dc, RGB(255, 255, 0));
        TextOutA(c.dc, 2, 2, "ii", 2);
        if (mode == OPAQUE)
            EXPECT_EQ(c.count(0xFFFFFF, RECT{2, 2, 14, 14}), 0);
        else
            EXPECT_EQ(c.count(0x0000FF, RECT{0, 0, 60, 20}), 0);
        EXPECT_GT(c.count(0xFFFF00, RECT{2, 2, 14, 16}), 0);
    }
}

TEST_F(TextTest, AlignmentAndClipping)
{
    Canvas c(100, 40, 0xFFFFFF);
    SelectObject(c.dc, font);
    SetBkMode(c.dc, TRANSPARENT);
    SetTextAlign(c.dc, TA_RIGHT | TA_BOTTOM);
    TextOutA(c.dc, 90, 30, "WWW", 3);
    RECT ink = inkBox(c, 0xFFFFFF);
    EXPECT_LE(ink.right, 90);
    EXPECT_GE(ink.left, 90 - 18);
    EXPECT_LE(ink.bottom, 30);
    Canvas d(100, 20, 0xFFFFFF);
    SelectObject(d.dc, font);
    RECT clip{0, 0, 20, 20};
    SetBkMode(d.dc, TRANSPARENT);
    ExtTextOutA(d.dc, 2, 2, ETO_CLIPPED, &clip, "WWWWWWWW", 8, nullptr);
    EXPECT_EQ(d.count(0, RECT{20, 0, 100, 20}), 0);
    RECT op{50, 0, 60, 10};
    SetBkColor(d.dc, RGB(0, 255, 0));
    ExtTextOutA(d.dc, 0, 0, ETO_OPAQUE, &op, nullptr, 0, nullptr);
    EXPECT_EQ(d.count(0x00FF00, RECT{0, 0, 100, 20}), 100);
    const INT dx[] = {10, 10};
    Canvas e(40, 20, 0xFFFFFF);
    SelectObject(e.dc, font);
    ExtTextOutA(e.dc, 0, 0, 0, nullptr, "ll", 2, dx);
    EXPECT_GT(e.count(0, RECT{10, 0, 20, 20}), 0) << "the second letter starts at x = 10";
}

TEST_F(TextTest, DrawTextAlignmentCalcRectAndEllipsis)
{
    Canvas c(120, 60, 0xFFFFFF);
    SelectObject(c.dc, font);
    SetBkMode(c.dc, TRANSPARENT);
    TEXTMETRICA tm;
    GetTextMetricsA(c.dc, &tm);
    RECT r{0, 0, 120, 60};
    int h = DrawTextA(c.dc, "mid", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EXPECT_EQ(h, (60 - tm.tmHeight) / 2 + tm.tmHeight);
    RECT ink = inkBox(c, 0xFFFFFF);
    EXPECT_GE(ink.left, 60 - 9 - 1);
    EXPECT_LE(ink.right, 60 + 9 + 1);
    EXPECT_GE(ink.top, (60 - tm.tmHeight) / 2);

    RECT calc{0, 0, 50, 0};
    int lines = DrawTextA(c.dc, "one two three four", -1, &calc, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(lines, 3 * tm.tmHeight);
    EXPECT_EQ(calc.bottom, 3 * tm.tmHeight);
    EXPECT_LE(calc.right, 50);
    RECT one{0, 0, 0, 0};
    DrawTextA(c.dc, "abc", -1, &one, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(one.right, 18);

    char buf[64] = "a long line of text";
    RECT narrow{0, 0, 40, 20};
    DrawTextA(c.dc, buf, -1, &narrow, DT_END_ELLIPSIS | DT_SINGLELINE | DT_MODIFYSTRING | DT_CALCRECT);
    DrawTextA(c.dc, buf, -1, &narrow, DT_END_ELLIPSIS | DT_SINGLELINE | DT_MODIFYSTRING);
    EXPECT_STREQ(buf, "a l...");
    char path[64] = "c:\\dir\\sub\\file.txt";
    RECT pr{0, 0, 80, 20};
    DrawTextA(c.dc, path, -1, &pr, DT_PATH_ELLIPSIS | DT_SINGLELINE | DT_MODIFYSTRING);
    EXPECT_NE(std::strstr(path, "...\\file.txt"), nullptr) << path;

    // An & prefix is removed and underlined.
    Canvas p(60, 20, 0xFFFFFF);
    SelectObject(p.dc, font);
    RECT pr2{0, 0, 60, 20};
    SIZE plain;
    GetTextExtentPoint32A(p.dc, "File", 4, &plain);
    RECT pc = pr2;
    DrawTextA(p.dc, "&File", -1, &pc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(pc.right, plain.cx);
    DrawTextA(p.dc, "&File", -1, &pr2, DT_SINGLELINE);
    EXPECT_GT(p.count(0, RECT{0, tm.tmAscent + 1, 6, tm.tmAscent + 2}), 3);
    addToContactSheet("drawtext", c, 2);
}

TEST_F(TextTest, SizesWeightsAndQuality)
{
    Canvas c(300, 60, 0xFFFFFF);
    SetBkMode(c.dc, TRANSPARENT);
    struct {
        int height, weight, quality;
        BYTE italic, underline;
    } fonts[] = {{-12, FW_NORMAL, 0, 0, 0}, {-12, FW_BOLD, 0, 0, 0}, {-16, FW_NORMAL, 0, 1, 1}, {20, FW_NORMAL, ANTIALIASED_QUALITY, 0, 0}};
    int y = 0;
    for (auto& f : fonts) {
        HFONT h = CreateFontA(f.height, 0, 0, 0, f.weight, f.italic, f.underline, 0, GB2312_CHARSET, 0, 0, DWORD(f.quality), 0, "宋体");
        HGDIOBJ old = SelectObject(c.dc, h);
        TEXTMETRICA tm;
        GetTextMetricsA(c.dc, &tm);
        if (f.height > 0)
            EXPECT_NEAR(tm.tmHeight, f.height, 1) << "positive heights are cell heights";
        else
            EXPECT_GE(tm.tmHeight, -f.height);
        const char* s = "Velkaro 界面 123";
        TextOutA(c.dc, 2, y, s, int(std::strlen(s)));
        y += tm.tmHeight + 1;
        SelectObject(c.dc, old);
        DeleteObject(h);
    }
    addToContactSheet("fonts", c, 2);
}

} // namespace

namespace {

TEST(TextTabs, TabbedTextOutAndDrawTextExMargins)
{
    Canvas c(200, 20, 0xFFFFFF);
    SelectObject(c.dc, GetStockObject(DEFAULT_GUI_FONT));
    const INT stops[] = {60};
    LONG r = TabbedTextOutA(c.dc, 0, 0, "a\tb", 3, 1, stops, 0);
    EXPECT_EQ(LOWORD(r), 66) << "b starts at the 60-pixel stop";
    EXPECT_GT(c.count(0, RECT{60, 0, 66, 20}), 0);
    EXPECT_EQ(c.count(0, RECT{8, 0, 60, 20}), 0);

    DRAWTEXTPARAMS params{sizeof(DRAWTEXTPARAMS), 4, 10, 0, 0};
    RECT rc{0, 0, 200, 20};
    char text[] = "x\ty";
    DrawTextExA(c.dc, text, -1, &rc, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS, &params);
    EXPECT_EQ(rc.right, 10 + 24 + 6) << "left margin, a 4-character tab, then y";
    EXPECT_EQ(params.uiLengthDrawn, 3u);
}

} // namespace
