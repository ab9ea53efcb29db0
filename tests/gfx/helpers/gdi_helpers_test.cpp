// 32-bit DIB sections and the cache of memory DCs, with GDI leak checks.
#include <velkaro/gfx/dc_cache.h>
#include <velkaro/gfx/dib.h>
#include <velkaro/testing.h>

#include <gtest/gtest.h>

namespace gfx = velkaro::gfx;
using velkaro::testing::liveGdiObjects;

namespace {

class GdiHelpers : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(velkaro::testing::startHeadless());
        gfx::freeDcCache();
        m_gdiAtStart = liveGdiObjects();
    }
    void TearDown() override
    {
        gfx::freeDcCache();
        EXPECT_EQ(m_gdiAtStart, liveGdiObjects()) << "a GDI object was leaked";
    }

    // A memory DC with a fresh DIB selected, listed in the cache.
    HDC cachedMemoryDc()
    {
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = gfx::createDib32(16, 16);
        HBITMAP previous = static_cast<HBITMAP>(SelectObject(dc, bitmap));
        gfx::cacheDc(dc, bitmap, previous);
        return dc;
    }

    size_t m_gdiAtStart = 0;
};

} // namespace

TEST_F(GdiHelpers, CreateDib32IsABottomUp32BitSection)
{
    struct Case {
        int w;
        int h;
    };
    for (Case c : {Case{1, 1}, Case{17, 5}, Case{300, 200}}) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        HBITMAP dib = gfx::createDib32(c.w, c.h);
        ASSERT_NE(nullptr, dib);
        DIBSECTION section{};
        ASSERT_EQ(int(sizeof section), GetObjectA(dib, sizeof section, &section));
        EXPECT_EQ(c.w, section.dsBm.bmWidth);
        EXPECT_EQ(c.h, section.dsBm.bmHeight);
        EXPECT_EQ(32, section.dsBm.bmBitsPixel);
        EXPECT_NE(nullptr, section.dsBm.bmBits);
        EXPECT_EQ(c.h, section.dsBmih.biHeight) << "positive height: bottom-up";
        EXPECT_EQ(DWORD(BI_RGB), section.dsBmih.biCompression);
        DeleteObject(dib);
    }
    EXPECT_EQ(nullptr, gfx::createDib32(0, 10));
}

TEST_F(GdiHelpers, ReleasingACachedDcTearsItDownOnce)
{
    HDC dc = cachedMemoryDc();
    HDC other = cachedMemoryDc();
    ASSERT_EQ(2u, gfx::dcCacheCount());

    EXPECT_EQ(1, gfx::releaseCachedDc(dc));
    EXPECT_EQ(0, gfx::releaseCachedDc(dc));
    EXPECT_EQ(1u, gfx::dcCacheCount());
    EXPECT_EQ(nullptr, gfx::findCachedDc(dc));
    // The later entry moved up and is still found.
    ASSERT_NE(nullptr, gfx::findCachedDc(other));
    EXPECT_EQ(0, gfx::releaseCachedDc(nullptr));
    EXPECT_EQ(1, gfx::releaseCachedDc(other));
    EXPECT_EQ(0u, gfx::dcCacheCount());
}

TEST_F(GdiHelpers, CachingAListedDcReplacesItsBitmaps)
{
    HDC dc = cachedMemoryDc();
    HBITMAP first = gfx::findCachedDc(dc)->bitmap;
    HBITMAP original = gfx::findCachedDc(dc)->previous;

    HBITMAP second = gfx::createDib32(8, 8);
    ASSERT_EQ(first, SelectObject(dc, second));
    DeleteObject(first);
    gfx::cacheDc(dc, second, original);

    EXPECT_EQ(1u, gfx::dcCacheCount());
    ASSERT_NE(nullptr, gfx::findCachedDc(dc));
    EXPECT_EQ(second, gfx::findCachedDc(dc)->bitmap);
    EXPECT_EQ(original, gfx::findCachedDc(dc)->previous);
    // Releasing now deletes the second bitmap (the fixture checks the leak).
    EXPECT_EQ(1, gfx::releaseCachedDc(dc));
}

TEST_F(GdiHelpers, FreeingTheListLeavesItsDcsAlone)
{
    HDC dc = cachedMemoryDc();
    HBITMAP bitmap = gfx::findCachedDc(dc)->bitmap;
    HBITMAP previous = gfx::findCachedDc(dc)->previous;
    gfx::freeDcCache();
    EXPECT_EQ(0u, gfx::dcCacheCount());
    EXPECT_EQ(0, gfx::releaseCachedDc(dc));
    // The DC is still alive and still holds its bitmap.
    EXPECT_EQ(bitmap, GetCurrentObject(dc, OBJ_BITMAP));
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);

    gfx::createDcCache();
    gfx::createDcCache();
    EXPECT_EQ(0u, gfx::dcCacheCount());
}
