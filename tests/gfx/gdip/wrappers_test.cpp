// The rules every wrapper keeps: releases that make no second call, the
// process-wide last status, unresolved functions, handles overwritten by a
// creating call, and font families that outlive their wrapper.
#include "gfx_fixture.h"

#include <velkaro/gfx/bitmap.h>
#include <velkaro/gfx/brushes.h>
#include <velkaro/gfx/font.h>
#include <velkaro/gfx/font_family.h>
#include <velkaro/gfx/graphics.h>
#include <velkaro/gfx/graphics_path.h>
#include <velkaro/gfx/pen.h>
#include <velkaro/gfx/region.h>
#include <velkaro/gfx/string_format.h>

#include <functional>

using namespace Gdiplus;
using gfx::FlatApi;

namespace {

// Creates the object, releases it twice and reports how the native delete
// was called: the first release reaches GDI+, the second makes no call.
struct ReleaseOutcome {
    bool created;
    bool first;
    bool second;
    int deleteCalls;
    bool handleCleared;
};

template <auto DeleteEntry, class W>
ReleaseOutcome releaseTwice(std::function<bool(W&)> create, bool (W::*release)())
{
    CountingShim<DeleteEntry> shim;
    W wrapper;
    ReleaseOutcome out{};
    out.created = create(wrapper) && wrapper.handle() != nullptr;
    out.first = (wrapper.*release)();
    out.second = (wrapper.*release)();
    out.deleteCalls = shim.calls();
    out.handleCleared = wrapper.handle() == nullptr;
    return out;
}

struct ReleaseCase {
    const char* name;
    std::function<ReleaseOutcome()> run;
};

} // namespace

TEST_F(GfxTest, SecondReleaseMakesNoFlatCallAndAnswersFalse)
{
    using gfx::Bitmap, gfx::Brush, gfx::Font, gfx::Graphics, gfx::GraphicsPath, gfx::Image, gfx::Pen,
        gfx::Region, gfx::SolidBrush, gfx::StringFormat;
    const ReleaseCase cases[] = {
        {"Pen", [] {
             return releaseTwice<&FlatApi::GdipDeletePen, Pen>([](Pen& p) { return p.create(0xff000000); },
                                                                &Pen::release);
         }},
        {"GraphicsPath", [] {
             return releaseTwice<&FlatApi::GdipDeletePath, GraphicsPath>(
                 [](GraphicsPath& p) { return p.create(); }, &GraphicsPath::release);
         }},
        {"SolidBrush", [] {
             return releaseTwice<&FlatApi::GdipDeleteBrush, SolidBrush>(
                 [](SolidBrush& b) { return b.create(0xff102030); }, &Brush::release);
         }},
        {"StringFormat", [] {
             return releaseTwice<&FlatApi::GdipDeleteStringFormat, StringFormat>(
                 [](StringFormat& f) { return f.create(); }, &StringFormat::release);
         }},
        {"Region", [] {
             return releaseTwice<&FlatApi::GdipDeleteRegion, Region>([](Region& r) { return r.create(); },
                                                                      &Region::release);
         }},
        {"Font", [] {
             return releaseTwice<&FlatApi::GdipDeleteFont, Font>(
                 [](Font& f) { return f.create("DejaVu Sans", 12); }, &Font::release);
         }},
        {"Bitmap", [] {
             return releaseTwice<&FlatApi::GdipDisposeImage, Bitmap>([](Bitmap& b) { return b.create(4, 4); },
                                                                      &Image::dispose);
         }},
        {"Graphics", [] {
             Bitmap canvas;
             canvas.create(4, 4);
             return releaseTwice<&FlatApi::GdipDeleteGraphics, Graphics>(
                 [&canvas](Graphics& g) { return g.fromImage(canvas); }, &Graphics::release);
         }},
    };
    for (const ReleaseCase& c : cases) {
        SCOPED_TRACE(c.name);
        ReleaseOutcome out = c.run();
        EXPECT_TRUE(out.created);
        EXPECT_TRUE(out.first);
        EXPECT_FALSE(out.second);
        EXPECT_EQ(1, out.deleteCalls);
        EXPECT_TRUE(out.handleCleared);
    }
}

TEST_F(GfxTest, DestructionReleasesAndAnEmptyWrapperCallsNothing)
{
    {
        gfx::Pen pen;
        gfx::SolidBrush brush;
        gfx::Bitmap bitmap;
        ASSERT_TRUE(pen.create(0xff000000, 2.0f));
        ASSERT_TRUE(brush.create(0xff00ff00));
        ASSERT_TRUE(bitmap.create(8, 8));
        EXPECT_EQ(m_liveAtStart + 3, velkaro::testing::liveGdiplusObjects());
    }
    EXPECT_EQ(m_liveAtStart, velkaro::testing::liveGdiplusObjects());

    CountingShim<&FlatApi::GdipDeletePen> deletes;
    { gfx::Pen neverCreated; }
    EXPECT_EQ(0, deletes.calls());
}

TEST_F(GfxTest, LastStatusFollowsTheMostRecentCall)
{
    gfx::Font font;
    EXPECT_FALSE(font.create("No Such Family Anywhere", 12));
    EXPECT_EQ(FontFamilyNotFound, gfx::lastStatus());
    EXPECT_EQ(nullptr, font.handle());

    gfx::Pen pen;
    EXPECT_TRUE(pen.create(0xff000000));
    EXPECT_EQ(Ok, gfx::lastStatus());
    // A wrapper holding nothing passes a null object; GDI+ refuses it.
    gfx::Pen empty;
    EXPECT_FALSE(empty.setWidth(3));
    EXPECT_EQ(InvalidParameter, gfx::lastStatus());

    // Arguments the wrapper can tell are wrong never reach GDI+.
    gfx::LinearGradientBrush gradient;
    ASSERT_TRUE(gradient.create(PointF(0, 0), PointF(10, 0), 0xff000000, 0xffffffff));
    CountingShim<&FlatApi::GdipSetLinePresetBlend> preset;
    EXPECT_FALSE(gradient.setPresetBlend({0xff000000, 0xff808080, 0xffffffff}, {0.0f, 1.0f}));
    EXPECT_EQ(InvalidParameter, gfx::lastStatus());
    EXPECT_EQ(0, preset.calls());
    EXPECT_TRUE(gradient.setPresetBlend({0xff000000, 0xff808080, 0xffffffff}, {0.0f, 0.5f, 1.0f}));
    EXPECT_EQ(1, preset.calls());
}

TEST_F(GfxTest, AnUnresolvedFunctionFailsWithAStatus)
{
    struct Case {
        bool moduleLoaded;
        Status expected;
    };
    for (Case c : {Case{true, NotImplemented}, Case{false, GdiplusNotInitialized}}) {
        SCOPED_TRACE(c.moduleLoaded);
        FlatApi& api = gfx::flatApi();
        FlatApi saved = api;
        api.GdipCreatePen1 = nullptr;
        if (!c.moduleLoaded)
            api.module = nullptr;
        gfx::Pen pen;
        bool created = pen.create(0xff000000);
        api = saved;

        EXPECT_FALSE(created);
        EXPECT_EQ(nullptr, pen.handle());
        EXPECT_EQ(c.expected, gfx::lastStatus());
    }
}

TEST_F(GfxTest, ACreatingCallOverwritesWithoutReleasing)
{
    gfx::Pen pen;
    ASSERT_TRUE(pen.create(0xff000000));
    void* first = pen.handle();
    ASSERT_TRUE(pen.create(0xffffffff));
    EXPECT_NE(first, pen.handle());
    EXPECT_EQ(m_liveAtStart + 2, velkaro::testing::liveGdiplusObjects());

    gfx::Pen adopted;
    adopted.setHandle(first);
    EXPECT_TRUE(adopted.release());
}

TEST_F(GfxTest, AFontFamilyOutlivesItsWrapperUntilReleased)
{
    gfx::Font font;
    ASSERT_TRUE(font.create("DejaVu Sans", 14, FontStyleBold, UnitPixel));
    void* native = nullptr;
    {
        gfx::FontFamily family;
        ASSERT_TRUE(font.family(family));
        EXPECT_EQ("DejaVu Sans", family.name());
        native = family.handle();
    }
    ASSERT_NE(nullptr, native);
    ASSERT_TRUE(font.release());
    const size_t withFamily = velkaro::testing::liveGdiplusObjects();
    EXPECT_GT(withFamily, m_liveAtStart);

    gfx::FontFamily again;
    again.setHandle(native);
    EXPECT_EQ("DejaVu Sans", again.name());
    EXPECT_TRUE(again.release());
    EXPECT_EQ(m_liveAtStart, velkaro::testing::liveGdiplusObjects());

    // One holding nothing: no name, no call on release, nothing on scope exit.
    CountingShim<&FlatApi::GdipDeleteFontFamily> deletes;
    {
        gfx::FontFamily empty;
        EXPECT_EQ("", empty.name());
        EXPECT_FALSE(empty.release());
    }
    EXPECT_EQ(0, deletes.calls());
}

TEST_F(GfxTest, FontsKeepTheirSizeAndStyle)
{
    struct Case {
        float size;
        INT style;
    };
    for (Case c : {Case{9.0f, FontStyleRegular}, Case{16.5f, FontStyleBold | FontStyleItalic},
                   Case{30.0f, FontStyleUnderline}}) {
        gfx::Font font;
        ASSERT_TRUE(font.create("DejaVu Sans", c.size, c.style, UnitPixel));
        EXPECT_FLOAT_EQ(c.size, font.size());
        EXPECT_EQ(c.style, font.style());
    }
}
