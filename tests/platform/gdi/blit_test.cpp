// BitBlt/StretchBlt ROPs, mono/colour conversion, TransparentBlt, AlphaBlend
// and GradientFill, checked pixel by pixel on small DIB sections.
#include "gdi_test_util.h"

namespace {

struct RopCase {
    const char* name;
    DWORD rop;
    uint32_t expected; // for S = 0x00F0F0F0 (alpha 0), D = 0x00CC33AA, P = 0x000F0F0F
};

TEST(BitBlt, EveryCommonRopCombinesSourceDestAndPattern)
{
    const uint32_t S = 0xF0F0F0, D = 0xCC33AA, P = 0x0F0F0F;
    const RopCase cases[] = {
        {"SRCCOPY", SRCCOPY, S},
        {"SRCPAINT", SRCPAINT, S | D},
        {"SRCAND", SRCAND, S & D},
        {"SRCINVERT", SRCINVERT, S ^ D},
        {"SRCERASE", SRCERASE, S & (~D & 0xFFFFFF)},
        {"NOTSRCCOPY", NOTSRCCOPY, ~S & 0xFFFFFF},
        {"MERGECOPY", MERGECOPY, S & P},
        {"PATCOPY", PATCOPY, P},
        {"PATINVERT", PATINVERT, P ^ D},
        {"DSTINVERT", DSTINVERT, ~D & 0xFFFFFF},
        {"BLACKNESS", BLACKNESS, 0x000000},
        {"WHITENESS", WHITENESS, 0xFFFFFF},
    };
    Canvas src(4, 4, S);
    HBRUSH brush = CreateSolidBrush(RGB(0x0F, 0x0F, 0x0F));
    for (const RopCase& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas dst(6, 6, D);
        HGDIOBJ oldBrush = SelectObject(dst.dc, brush);
        ASSERT_TRUE(BitBlt(dst.dc, 1, 1, 4, 4, src.dc, 0, 0, c.rop));
        SelectObject(dst.dc, oldBrush);
        EXPECT_EQ(dst.rgb(1, 1), c.expected);
        EXPECT_EQ(dst.rgb(4, 4), c.expected);
        EXPECT_EQ(dst.rgb(0, 0), D) << "outside the destination rectangle";
        EXPECT_EQ(dst.rgb(5, 5), D);
    }
    DeleteObject(brush);
}

TEST(BitBlt, SrcCopyKeepsAlphaAndClipsToTheSource)
{
    Canvas src(4, 4, 0x80112233);
    Canvas dst(8, 8, 0xFFFFFF);
    ASSERT_TRUE(BitBlt(dst.dc, 2, 2, 8, 8, src.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(dst.px(2, 2), 0x80112233u);
    EXPECT_EQ(dst.px(5, 5), 0x80112233u);
    EXPECT_EQ(dst.px(6, 6), 0xFFFFFFu) << "no source pixel there";
}

TEST(BitBlt, OverlappingCopyWithinOneBitmap)
{
    Canvas c(8, 1, 0);
    for (int x = 0; x < 8; ++x)
        c.bits[x] = uint32_t(x);
    ASSERT_TRUE(BitBlt(c.dc, 2, 0, 6, 1, c.dc, 0, 0, SRCCOPY));
    for (int x = 2; x < 8; ++x)
        EXPECT_EQ(c.px(x, 0), uint32_t(x - 2));
}

TEST(BitBlt, MonochromeToColourUsesTextAndBackgroundColours)
{
    const BYTE bits[] = {0xA0, 0x00}; // one row: 1 0 1 0
    HBITMAP mono = CreateBitmap(4, 1, 1, 1, bits);
    HDC mdc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mdc, mono);
    Canvas dst(4, 1, 0);
    SetTextColor(dst.dc, RGB(255, 0, 0));
    SetBkColor(dst.dc, RGB(0, 0, 255));
    ASSERT_TRUE(BitBlt(dst.dc, 0, 0, 4, 1, mdc, 0, 0, SRCCOPY));
    EXPECT_EQ(dst.rgb(0, 0), 0x0000FFu) << "white (1) bits take the background colour";
    EXPECT_EQ(dst.rgb(1, 0), 0xFF0000u) << "black (0) bits take the text colour";

    // Colour to mono: the source DC's background colour becomes white.
    Canvas colour(4, 1, 0x00FF00);
    colour.bits[1] = 0x123456;
    SetBkColor(colour.dc, RGB(0, 255, 0));
    ASSERT_TRUE(BitBlt(mdc, 0, 0, 4, 1, colour.dc, 0, 0, SRCCOPY));
    BYTE out[2] = {};
    ASSERT_EQ(GetBitmapBits(mono, 2, out), 2);
    EXPECT_EQ(out[0] & 0xF0, 0xB0);
    SelectObject(mdc, old);
    DeleteDC(mdc);
    DeleteObject(mono);
}

TEST(StretchBlt, DoublesAndHalvesWithNearestPixels)
{
    Canvas src(2, 2, 0);
    src.bits[0] = 0x111111;
    src.bits[1] = 0x222222;
    src.bits[2] = 0x333333;
    src.bits[3] = 0x444444;
    Canvas big(4, 4, 0xFFFFFF);
    ASSERT_TRUE(StretchBlt(big.dc, 0, 0, 4, 4, src.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(big.rgb(0, 0), 0x111111u);
    EXPECT_EQ(big.rgb(1, 1), 0x111111u);
    EXPECT_EQ(big.rgb(2, 0), 0x222222u);
    EXPECT_EQ(big.rgb(3, 3), 0x444444u);
    EXPECT_EQ(big.rgb(0, 3), 0x333333u);
    // Mirrored: a negative destination width flips left and right.
    Canvas mirror(2, 2, 0);
    ASSERT_TRUE(StretchBlt(mirror.dc, 1, 0, -2, 2, src.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(mirror.rgb(0, 0), 0x222222u);
    EXPECT_EQ(mirror.rgb(1, 0), 0x111111u);
    // Halftone averages what it shrinks.
    Canvas small(1, 1, 0);
    SetStretchBltMode(small.dc, HALFTONE);
    ASSERT_TRUE(StretchBlt(small.dc, 0, 0, 1, 1, src.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(small.rgb(0, 0), 0x2A2A2Au);
}

TEST(TransparentBlt, LeavesKeyColouredPixelsAlone)
{
    Canvas src(3, 1, 0xFF00FF);
    src.bits[1] = 0x00FF00;
    Canvas dst(6, 2, 0x0000FF);
    ASSERT_TRUE(TransparentBlt(dst.dc, 0, 0, 6, 2, src.dc, 0, 0, 3, 1, RGB(255, 0, 255)));
    EXPECT_EQ(dst.rgb(0, 0), 0x0000FFu);
    EXPECT_EQ(dst.rgb(2, 1), 0x00FF00u);
    EXPECT_EQ(dst.rgb(3, 0), 0x00FF00u);
    EXPECT_EQ(dst.rgb(4, 0), 0x0000FFu);
    EXPECT_FALSE(TransparentBlt(dst.dc, 0, 0, -1, 2, src.dc, 0, 0, 3, 1, 0));
}

TEST(AlphaBlend, PremultipliedPerPixelAndConstantAlpha)
{
    Canvas src(2, 1, 0);
    src.bits[0] = 0x80800000; // half-transparent red, premultiplied
    src.bits[1] = 0x00000000; // fully transparent
    Canvas dst(2, 1, 0x0000FF);
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ASSERT_TRUE(AlphaBlend(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, 2, 1, bf));
    EXPECT_EQ(dst.rgb(0, 0), 0x80007Fu);
    EXPECT_EQ(dst.rgb(1, 0), 0x0000FFu);

    Canvas solid(1, 1, 0xFFFFFF);
    Canvas onto(1, 1, 0x000000);
    BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
    ASSERT_TRUE(AlphaBlend(onto.dc, 0, 0, 1, 1, solid.dc, 0, 0, 1, 1, half));
    EXPECT_EQ(onto.rgb(0, 0), 0x808080u);
    // A source rectangle outside the source fails, as on Windows.
    EXPECT_FALSE(AlphaBlend(onto.dc, 0, 0, 1, 1, solid.dc, 0, 0, 2, 2, half));
}

TEST(GradientFill, HorizontalRectangleRunsFromFirstToSecondColour)
{
    Canvas c(10, 2, 0);
    TRIVERTEX v[2] = {{0, 0, 0, 0, 0, 0}, {10, 2, 0xFF00, 0, 0, 0}};
    GRADIENT_RECT r{0, 1};
    ASSERT_TRUE(GradientFill(c.dc, v, 2, &r, 1, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(c.rgb(0, 0), 0x000000u);
    EXPECT_GT((c.rgb(9, 1) >> 16) & 0xFF, 0xE0u);
    EXPECT_LT((c.rgb(4, 0) >> 16) & 0xFF, (c.rgb(6, 0) >> 16) & 0xFF);
}

TEST(Msimg32, RegistersItsExports)
{
    EXPECT_EQ(GetProcAddress(LoadLibraryA("msimg32.dll"), "TransparentBlt"), reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&TransparentBlt)));
    EXPECT_NE(GetProcAddress(LoadLibraryA("msimg32.dll"), "AlphaBlend"), nullptr);
    EXPECT_NE(GetProcAddress(LoadLibraryA("msimg32.dll"), "GradientFill"), nullptr);
}

} // namespace
