// Colour references to ARGB words and back.
#include <velkaro/gfx/colors.h>

#include <gtest/gtest.h>

namespace gfx = velkaro::gfx;

TEST(Colors, ToArgbPlacesChannelsAndAlpha)
{
    struct Case {
        COLORREF colour;
        int alpha;
        bool alphaGiven;
        Gdiplus::ARGB expected;
    };
    const Case cases[] = {
        {0xDDCA22, 120, true, 0x7822CADD},
        {0xDDCA22, 0, false, 0xFF22CADD},
        {0xDDCA22, 999, false, 0xFF22CADD},   // alpha ignored unless given
        {0x01DDCA22, 120, true, 0x7822CADD},  // the top byte of the colour is dropped
        {0xFF000000, 0, true, 0x00000000},
        {0x0000FF, 0x1FF, true, 0xFFFF0000},  // only the low byte of alpha counts
        {0xFF0000, -1, true, 0xFF0000FF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.colour << " " << c.alpha);
        EXPECT_EQ(c.expected, gfx::toArgb(c.colour, c.alpha, c.alphaGiven));
        if (c.alphaGiven)
            EXPECT_EQ(c.expected, gfx::toArgb(c.colour, c.alpha));
        else
            EXPECT_EQ(c.expected, gfx::toArgb(c.colour));
    }
}

TEST(Colors, FromArgbSplitsOffAlpha)
{
    int alpha = -1;
    EXPECT_EQ(COLORREF(0xDDCA22), gfx::fromArgb(0x7822CADD, alpha));
    EXPECT_EQ(120, alpha);
    EXPECT_EQ(COLORREF(0), gfx::fromArgb(0, alpha));
    EXPECT_EQ(0, alpha);
    // Round trip for a few colours.
    for (COLORREF c : {COLORREF(0x123456), COLORREF(0xFFFFFF), COLORREF(0x010203)}) {
        EXPECT_EQ(c, gfx::fromArgb(gfx::toArgb(c, 33), alpha));
        EXPECT_EQ(33, alpha);
    }
}
