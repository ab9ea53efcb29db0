// Fonts and strings: family lookup, placement by alignment, ellipsis
// trimming, measuring against drawing, and a contact sheet of everything.
#include "gdiplus_fixture.h"

namespace {

const WCHAR* w(const std::u16string& s)
{
    return reinterpret_cast<const WCHAR*>(s.c_str());
}

// The box of non-white pixels, or an empty box.
struct Ink {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
    bool empty() const { return x1 < 0; }
};

} // namespace

class Text : public GdiplusTest {
protected:
    Ink ink(int w, int h)
    {
        Ink box;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (pixel(x, y) != 0xffffffffu) {
                    box.x0 = std::min(box.x0, x);
                    box.y0 = std::min(box.y0, y);
                    box.x1 = std::max(box.x1, x);
                    box.y1 = std::max(box.y1, y);
                }
        return box;
    }
    GpFont* font(const char* family, REAL size, INT style = FontStyleRegular)
    {
        GpFontFamily* fam = nullptr;
        EXPECT_EQ(Ok, GdipCreateFontFamilyFromName(w(u16(family)), nullptr, &fam)) << family;
        GpFont* f = nullptr;
        EXPECT_EQ(Ok, GdipCreateFont(fam, size, style, UnitPixel, &f));
        GdipDeleteFontFamily(fam);
        return f;
    }
};

TEST_F(Text, FamiliesResolveThroughFontconfig)
{
    for (const char* name : {"DejaVu Sans", "宋体", "SimSun", "AR PL UMing CN"}) {
        GpFontFamily* fam = nullptr;
        ASSERT_EQ(Ok, GdipCreateFontFamilyFromName(w(u16(name)), nullptr, &fam)) << name;
        WCHAR got[LF_FACESIZE] = {};
        ASSERT_EQ(Ok, GdipGetFamilyName(fam, got, 0));
        EXPECT_EQ(u16(name), std::u16string(reinterpret_cast<char16_t*>(got)));
        GdipDeleteFontFamily(fam);
    }
    GpFontFamily* sans = nullptr;
    ASSERT_EQ(Ok, GdipGetGenericFontFamilySansSerif(&sans));
    GpFont* f = nullptr;
    ASSERT_EQ(Ok, GdipCreateFont(sans, 12, FontStyleBold | FontStyleUnderline, UnitPoint, &f));
    INT style = 0;
    REAL size = 0;
    Unit unit = UnitWorld;
    GdipGetFontStyle(f, &style);
    GdipGetFontSize(f, &size);
    GdipGetFontUnit(f, &unit);
    EXPECT_EQ(FontStyleBold | FontStyleUnderline, style);
    EXPECT_EQ(12.0f, size);
    EXPECT_EQ(UnitPoint, unit);
    GpFont* refused = nullptr;
    EXPECT_EQ(InvalidParameter, GdipCreateFont(sans, 12, 0, UnitDisplay, &refused));
    EXPECT_EQ(nullptr, refused);
    GdipDeleteFont(f);
    GdipDeleteFontFamily(sans);
}

TEST_F(Text, AlignmentPlacesTextInsideItsRectangle)
{
    struct Case {
        StringAlignment align, lineAlign;
        bool left, centreX, right, top, centreY, bottom;
    } cases[] = {
        {StringAlignmentNear, StringAlignmentNear, true, false, false, true, false, false},
        {StringAlignmentCenter, StringAlignmentCenter, false, true, false, false, true, false},
        {StringAlignmentFar, StringAlignmentFar, false, false, true, false, false, true},
    };
    GpGraphics* g = canvas(200, 60);
    GpFont* f = font("DejaVu Sans", 12);
    GpSolidFill* black = nullptr;
    GdipCreateSolidFill(0xff000000, &black);
    GpStringFormat* fmt = nullptr;
    GdipCreateStringFormat(0, 0, &fmt);
    RectF rect(0, 0, 200, 60);
    for (const Case& c : cases) {
        GdipGraphicsClear(g, 0xffffffff);
        GdipSetStringFormatAlign(fmt, c.align);
        GdipSetStringFormatLineAlign(fmt, c.lineAlign);
        ASSERT_EQ(Ok, GdipDrawString(g, w(u"Hello"), -1, f, &rect, fmt, reinterpret_cast<GpBrush*>(black)));
        Ink box = ink(200, 60);
        ASSERT_FALSE(box.empty());
        double cx = (box.x0 + box.x1) / 2.0, cy = (box.y0 + box.y1) / 2.0;
        EXPECT_EQ(c.left, box.x0 < 10) << c.align;
        EXPECT_EQ(c.centreX, std::abs(cx - 100) < 6) << c.align << " cx " << cx;
        EXPECT_EQ(c.right, box.x1 > 188) << c.align;
        EXPECT_EQ(c.top, box.y0 < 8) << c.lineAlign;
        EXPECT_EQ(c.centreY, std::abs(cy - 30) < 6) << c.lineAlign << " cy " << cy;
        EXPECT_EQ(c.bottom, box.y1 > 50) << c.lineAlign;
    }
    GdipDeleteStringFormat(fmt);
    GdipDeleteBrush(reinterpret_cast<GpBrush*>(black));
    GdipDeleteFont(f);
}

TEST_F(Text, EllipsisTrimmingFitsTheRectangle)
{
    GpGraphics* g = canvas(300, 30);
    GpFont* f = font("DejaVu Sans", 12);
    GpStringFormat* fmt = nullptr;
    GdipCreateStringFormat(StringFormatFlagsNoWrap, 0, &fmt);
    const std::u16string longText = u"A rather long sentence that cannot fit in a narrow box";
    RectF unbounded(0, 0, 0, 0), narrow(0, 0, 80, 20);
    RectF full;
    ASSERT_EQ(Ok, GdipMeasureString(g, w(longText), -1, f, &unbounded, fmt, &full, nullptr, nullptr));
    EXPECT_GT(full.Width, 200);
    for (StringTrimming t : {StringTrimmingEllipsisCharacter, StringTrimmingEllipsisWord, StringTrimmingEllipsisPath}) {
        GdipSetStringFormatTrimming(fmt, t);
        RectF box;
        INT fitted = 0, lines = 0;
        ASSERT_EQ(Ok, GdipMeasureString(g, w(longText), -1, f, &narrow, fmt, &box, &fitted, &lines));
        EXPECT_LE(box.Width, 80.0f) << t;
        EXPECT_EQ(1, lines);
        GpSolidFill* black = nullptr;
        GdipCreateSolidFill(0xff000000, &black);
        GdipGraphicsClear(g, 0xffffffff);
        ASSERT_EQ(Ok, GdipDrawString(g, w(longText), -1, f, &narrow, fmt, reinterpret_cast<GpBrush*>(black)));
        Ink drawn = ink(300, 30);
        EXPECT_LT(drawn.x1, 80) << t;
        GdipDeleteBrush(reinterpret_cast<GpBrush*>(black));
    }
    GdipDeleteStringFormat(fmt);
    GdipDeleteFont(f);
}

TEST_F(Text, MeasureMatchesWhatIsDrawnAndWraps)
{
    GpGraphics* g = canvas(200, 100);
    GpFont* f = font("DejaVu Sans", 14);
    GpSolidFill* black = nullptr;
    GdipCreateSolidFill(0xff000000, &black);
    RectF rect(10, 10, 120, 0);
    RectF box;
    INT lines = 0;
    const std::u16string text = u"Wrapping words inside a width";
    ASSERT_EQ(Ok, GdipMeasureString(g, w(text), -1, f, &rect, nullptr, &box, nullptr, &lines));
    EXPECT_GE(lines, 2);
    EXPECT_LE(box.Width, 120.0f);
    ASSERT_EQ(Ok, GdipDrawString(g, w(text), -1, f, &rect, nullptr, reinterpret_cast<GpBrush*>(black)));
    Ink drawn = ink(200, 100);
    ASSERT_FALSE(drawn.empty());
    EXPECT_GE(drawn.x0, int(box.X) - 1);
    EXPECT_LE(drawn.x1, int(box.X + box.Width) + 1);
    EXPECT_GE(drawn.y0, int(box.Y) - 1);
    EXPECT_LE(drawn.y1, int(box.Y + box.Height) + 1);

    // NoWrap keeps one line; a length counts UTF-16 units.
    GpStringFormat* nowrap = nullptr;
    GdipCreateStringFormat(StringFormatFlagsNoWrap, 0, &nowrap);
    ASSERT_EQ(Ok, GdipMeasureString(g, w(text), 8, f, &rect, nowrap, &box, nullptr, &lines));
    EXPECT_EQ(1, lines);
    GdipDeleteStringFormat(nowrap);
    GdipDeleteBrush(reinterpret_cast<GpBrush*>(black));
    GdipDeleteFont(f);
}

TEST_F(Text, SingleBitHintGivesCrispText)
{
    GpGraphics* g = canvas(120, 30);
    GpFont* f = font("宋体", 12);
    GpSolidFill* black = nullptr;
    GdipCreateSolidFill(0xff000000, &black);
    RectF rect(0, 0, 120, 30);
    auto greys = [&]() {
        int n = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 120; ++x) {
                int v = channel(pixel(x, y), 0);
                n += v != 0 && v != 255;
            }
        return n;
    };
    ASSERT_EQ(Ok, GdipDrawString(g, w(u16("中文 Text")), -1, f, &rect, nullptr, reinterpret_cast<GpBrush*>(black)));
    EXPECT_GT(greys(), 0); // anti-aliased by default
    GdipGraphicsClear(g, 0xffffffff);
    ASSERT_EQ(Ok, GdipSetTextRenderingHint(g, TextRenderingHintSingleBitPerPixelGridFit));
    ASSERT_EQ(Ok, GdipDrawString(g, w(u16("中文 Text")), -1, f, &rect, nullptr, reinterpret_cast<GpBrush*>(black)));
    EXPECT_FALSE(ink(120, 30).empty());
    EXPECT_EQ(0, greys());
    GdipDeleteBrush(reinterpret_cast<GpBrush*>(black));
    GdipDeleteFont(f);
}

// Everything on one sheet, saved for a person to look at.
TEST_F(Text, ContactSheet)
{
    GpGraphics* g = canvas(480, 320, 0xfff4f4f0);
    GpSolidFill* ink = nullptr;
    GdipCreateSolidFill(0xff202020, &ink);
    GpPen* pen = nullptr;
    GdipCreatePen1(0xff1060c0, 1, UnitPixel, &pen);
    GpPen* thick = nullptr;
    GdipCreatePen1(0xc0c02020, 4, UnitPixel, &thick);

    GdipDrawLineI(g, pen, 10, 10, 150, 10);
    GdipDrawRectangleI(g, pen, 10, 20, 60, 40);
    GdipSetSmoothingMode(g, SmoothingModeAntiAlias);
    GdipDrawEllipseI(g, thick, 80, 20, 70, 40);
    GpPath* path = nullptr;
    GdipCreatePath(FillModeAlternate, &path);
    GdipAddPathArc(path, 10, 70, 60, 60, 180, 90);
    GdipAddPathLine(path, 40, 70, 140, 70);
    GdipAddPathBezier(path, 140, 70, 160, 100, 100, 140, 80, 130);
    GdipClosePathFigure(path);
    GdipDrawPath(g, thick, path);
    GdipSetSmoothingMode(g, SmoothingModeNone);

    GpLineGradient* lin = nullptr;
    RectF lr(170, 10, 140, 50);
    GdipCreateLineBrushFromRect(&lr, 0xffff8000, 0xff0040ff, LinearGradientModeHorizontal, WrapModeTile, &lin);
    GdipFillRectangle(g, reinterpret_cast<GpBrush*>(lin), 170, 10, 140, 50);
    GdipSetLineLinearBlend(lin, 0.5f, 1.0f);
    GdipFillRectangle(g, reinterpret_cast<GpBrush*>(lin), 170, 65, 140, 20);

    GpPath* ell = nullptr;
    GdipCreatePath(FillModeAlternate, &ell);
    GdipAddPathEllipse(ell, 320, 10, 150, 80);
    GpPathGradient* pg = nullptr;
    GdipCreatePathGradientFromPath(ell, &pg);
    GdipSetPathGradientCenterColor(pg, 0xffffff00);
    ARGB sur = 0xff008000;
    INT n = 1;
    GdipSetPathGradientSurroundColorsWithCount(pg, &sur, &n);
    GdipSetPathGradientFocusScales(pg, 0.3f, 0.3f);
    GdipSetSmoothingMode(g, SmoothingModeAntiAlias);
    GdipFillPath(g, reinterpret_cast<GpBrush*>(pg), ell);
    GdipSetSmoothingMode(g, SmoothingModeNone);

    GpBitmap* tex = nullptr;
    GdipCreateBitmapFromScan0(8, 8, 0, PixelFormat32bppARGB, nullptr, &tex);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            GdipBitmapSetPixel(tex, x, y, x < 4 ? (y < 4 ? 0xffc00000 : 0xff00c000) : (x + y) % 2 ? 0xff0000c0 : 0xffffffff);
    GpTexture* tb = nullptr;
    GdipCreateTexture(tex, WrapModeTileFlipXY, &tb);
    GdipFillRectangle(g, reinterpret_cast<GpBrush*>(tb), 170, 95, 140, 40);

    GdipSetClipRectI(g, 320, 100, 150, 40, CombineModeReplace);
    GdipSetClipRectI(g, 360, 110, 70, 20, CombineModeXor);
    GdipFillRectangle(g, reinterpret_cast<GpBrush*>(lin), 300, 95, 180, 50);
    GdipResetClip(g);

    GpFont* song = font("宋体", 12);
    GpFont* songBold = font("宋体", 12, FontStyleBold);
    GpFont* sans = font("DejaVu Sans", 14);
    RectF t1(10, 150, 460, 20), t2(10, 172, 460, 20), t3(10, 196, 200, 20), t4(10, 220, 460, 90);
    GdipDrawString(g, w(u16("宋体 12px 常规: 皮肤引擎 Skin engine 0123")), -1, song, &t1, nullptr, reinterpret_cast<GpBrush*>(ink));
    GdipDrawString(g, w(u16("宋体 12px 粗体: 图片框工具 Picture frame")), -1, songBold, &t2, nullptr, reinterpret_cast<GpBrush*>(ink));
    GdipSetTextRenderingHint(g, TextRenderingHintSingleBitPerPixelGridFit);
    GdipDrawString(g, w(u16("宋体 crisp 清晰 12px")), -1, song, &t3, nullptr, reinterpret_cast<GpBrush*>(ink));
    GdipSetTextRenderingHint(g, TextRenderingHintSystemDefault);
    GpStringFormat* fmt = nullptr;
    GdipCreateStringFormat(0, 0, &fmt);
    GdipSetStringFormatAlign(fmt, StringAlignmentCenter);
    GdipSetStringFormatLineAlign(fmt, StringAlignmentCenter);
    GdipDrawRectangle(g, pen, t4.X, t4.Y, t4.Width, t4.Height);
    GdipDrawString(g, w(u"Centred in its rectangle, wrapping inside the width of the box when it is long"), -1, sans,
                   &t4, fmt, reinterpret_cast<GpBrush*>(lin));

    savePng(m_bitmap, outputPath("gdiplus_contact_sheet.png"));

    GdipDeleteStringFormat(fmt);
    GdipDeleteFont(song);
    GdipDeleteFont(songBold);
    GdipDeleteFont(sans);
    GdipDeleteBrush(reinterpret_cast<GpBrush*>(tb));
    GdipDisposeImage(tex);
    GdipDeleteBrush(reinterpret_cast<GpBrush*>(pg));
    GdipDeletePath(ell);
    GdipDeleteBrush(reinterpret_cast<GpBrush*>(lin));
    GdipDeletePath(path);
    GdipDeletePen(thick);
    GdipDeletePen(pen);
    GdipDeleteBrush(reinterpret_cast<GpBrush*>(ink));
}
