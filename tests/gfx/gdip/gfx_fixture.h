// Shared set-up for the drawing kit's wrapper tests: GDI+ started through the
// kit's own helper, a check that every GDI+ object made is gone at the end,
// and a shim that counts the calls one flat-table entry receives.
#pragma once

#include <velkaro/gfx/flat_api.h>
#include <velkaro/testing.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <type_traits>

namespace gfx = velkaro::gfx;

class GfxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gfx::startGdiplus(&m_token));
        m_liveAtStart = velkaro::testing::liveGdiplusObjects();
    }
    void TearDown() override
    {
        EXPECT_EQ(m_liveAtStart, velkaro::testing::liveGdiplusObjects()) << "a GDI+ object was left alive";
        gfx::stopGdiplus(m_token);
    }

    static std::string outputPath(const char* name) { return std::string(VK_TEST_OUTPUT_DIR) + "/" + name; }

    ULONG_PTR m_token = 0;
    size_t m_liveAtStart = 0;
};

// While alive, routes one table entry through a counter (and on to the real
// function); puts the entry back when it goes.
template <auto Entry, class Fn = std::remove_reference_t<decltype(std::declval<gfx::FlatApi&>().*Entry)>>
class CountingShim;

template <auto Entry, class R, class... A>
class CountingShim<Entry, R (*)(A...)> {
public:
    CountingShim()
    {
        s_calls = 0;
        s_original = gfx::flatApi().*Entry;
        gfx::flatApi().*Entry = &shim;
    }
    ~CountingShim() { gfx::flatApi().*Entry = s_original; }
    CountingShim(const CountingShim&) = delete;
    CountingShim& operator=(const CountingShim&) = delete;
    int calls() const { return s_calls; }

private:
    static R shim(A... args)
    {
        ++s_calls;
        return s_original(args...);
    }
    static inline int s_calls = 0;
    static inline R (*s_original)(A...) = nullptr;
};

// Writes a bitmap as PNG next to the build, for a person to look at.
template <class BitmapT>
void saveForLooking(const BitmapT& bitmap, const std::string& path)
{
    auto png = bitmap.saveToBytes("{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}");
    if (FILE* f = fopen(path.c_str(), "wb")) {
        fwrite(png.data(), 1, png.size(), f);
        fclose(f);
    }
}

// Fills a bitmap's pixels row by row from a function of (x, y).
template <class BitmapT, class F>
void paint(BitmapT& bitmap, int w, int h, F colourAt)
{
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bitmap.setPixel(x, y, colourAt(x, y));
}
