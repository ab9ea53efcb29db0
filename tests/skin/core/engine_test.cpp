// Engine start-up, the GDI+ token rules and the release of the global lists.
#include "skin/core/engine.h"
#include "skin/core/registry.h"
#include "skin/core/skin_images.h"

#include <gtest/gtest.h>
#include <velkaro/gfx/dc_cache.h>
#include <velkaro/gfx/flat_api.h>
#include <velkaro/gfx/image.h>
#include <velkaro/resources.h>
#include <velkaro/testing.h>

#include <vector>

namespace {

using namespace velkaro::skin;

int g_shutdowns = 0;
ULONG_PTR g_lastShutdownToken = 0;
void WINAPI countingShutdown(ULONG_PTR token)
{
    ++g_shutdowns;
    g_lastShutdownToken = token;
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(velkaro::testing::startHeadless());
        createGlobalLists();
    }
    void TearDown() override
    {
        shutdownGdiplus();
        releaseSkinEngine();
    }
};

TEST_F(EngineTest, InitStartsGdiplusAndSetsTheDefaults)
{
    EXPECT_EQ(initSkinEngine(), 0);
    const EngineSettings& s = engineSettings();
    EXPECT_NE(s.gdiplusToken, 0u);
    EXPECT_EQ(s.quitGdiplusToken, s.gdiplusToken);
    EXPECT_EQ(s.skinColor, 0xDDCA22u);
    EXPECT_EQ(s.childSkinning, 1);
    EXPECT_EQ(s.firstSizePending, 1);
    EXPECT_EQ(s.defaultBackgroundLayout, 0);
    EXPECT_EQ(skinRegistry().count(), 0);
    EXPECT_EQ(velkaro::gfx::dcCacheCount(), 0u);
}

TEST_F(EngineTest, ShutdownWithoutATokenUsesTheStoredOneOnce)
{
    initSkinEngine();
    ULONG_PTR token = engineSettings().gdiplusToken;
    auto& api = velkaro::gfx::flatApi();
    auto real = api.GdiplusShutdown;
    api.GdiplusShutdown = countingShutdown;
    g_shutdowns = 0;

    shutdownGdiplus();
    EXPECT_EQ(g_shutdowns, 1);
    EXPECT_EQ(g_lastShutdownToken, token);
    EXPECT_EQ(engineSettings().gdiplusToken, 0u);
    shutdownGdiplus();
    EXPECT_EQ(g_shutdowns, 1);

    // A given token is used as it is; a zero token does nothing.
    shutdownGdiplus(ULONG_PTR(0));
    EXPECT_EQ(g_shutdowns, 1);
    api.GdiplusShutdown = real;
    shutdownGdiplus(engineSettings().quitGdiplusToken);
}

TEST_F(EngineTest, CaptionIconFallsBackToTheNamedResource)
{
    std::vector<DWORD> small(16 * 16, 0xFF2080C0), large(32 * 32, 0xFFC08020);
    HINSTANCE self = GetModuleHandleA(nullptr);

    ASSERT_TRUE(VkRegisterIconResource(self, "DEFAULT_ICON", 16, 16, small.data()));
    initSkinEngine();
    ASSERT_NE(engineSettings().skinIcon, nullptr);
    EXPECT_EQ(engineSettings().skinIcon, LoadIconA(self, "DEFAULT_ICON"));
    shutdownGdiplus();

    ASSERT_TRUE(VkRegisterIconResource(self, MAKEINTRESOURCEA(129), 32, 32, large.data()));
    initSkinEngine();
    EXPECT_EQ(engineSettings().skinIcon, LoadIconA(self, MAKEINTRESOURCEA(129)));
    EXPECT_NE(engineSettings().skinIcon, LoadIconA(self, "DEFAULT_ICON"));
}

TEST_F(EngineTest, BuiltInPicturesDecodeAtTheirSizes)
{
    initSkinEngine();
    const SkinImages& images = skinImages();
    struct Case {
        const Bytes* bytes;
        UINT width, height;
    } cases[] = {{&images.windowBackground, 1024, 1024}, {&images.helpGlyph, 26, 18},
                 {&images.menuGlyph, 26, 18},          {&images.minimizeGlyph, 26, 18},
                 {&images.maximizeGlyph, 26, 18},      {&images.restoreGlyph, 26, 18},
                 {&images.closeGlyph, 38, 18},         {&images.checkMark, 13, 12},
                 {&images.arrowUp, 7, 4},              {&images.arrowDown, 7, 4},
                 {&images.arrowLeft, 4, 7},            {&images.arrowRight, 4, 7}};
    for (const Case& c : cases) {
        velkaro::gfx::Image image;
        ASSERT_TRUE(image.fromBytes(*c.bytes, false));
        EXPECT_EQ(image.width(), c.width);
        EXPECT_EQ(image.height(), c.height);
    }
}

TEST_F(EngineTest, ReleaseFreesEveryRecord)
{
    initSkinEngine();
    for (int i = 0; i < 3; ++i) {
        WindowSkin skin;
        skin.backgroundImage.assign(1000, 7);
        skin.captionButtons.append(CaptionButton{});
        skinRegistry().append(std::move(skin));
    }
    releaseSkinEngine();
    EXPECT_EQ(skinRegistry().count(), 0);
    EXPECT_EQ(velkaro::gfx::dcCacheCount(), 0u);
}

} // namespace
