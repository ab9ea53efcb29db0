// GDI+ on GDI: drawing into a DC's pixels with its origin and clip, fonts
// from DCs, and bitmaps to and from GDI objects.
#include "gdiplus_fixture.h"

class OnDc : public GdiplusTest {
protected:
    void SetUp() override
    {
        GdiplusTest::SetUp();
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = 20;
        bi.bmiHeader.biHeight = -20;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* p = nullptr;
        m_dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
        ASSERT_NE(nullptr, m_dib);
        m_bits = static_cast<uint32_t*>(p);
        m_dc = CreateCompatibleDC(nullptr);
        m_old = SelectObject(m_dc, m_dib);
    }
    void TearDown() override
    {
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
        DeleteObject(m_dib);
        GdiplusTest::TearDown();
    }
    uint32_t at(int x, int y) const { return m_bits[y * 20 + x]; }

    HBITMAP m_dib = nullptr;
    HGDIOBJ m_old = nullptr;
    HDC m_dc = nullptr;
    uint32_t* m_bits = nullptr;
};

TEST_F(OnDc, DrawsOpaqueWithTheDcOriginAndClip)
{
    SetViewportOrgEx(m_dc, 5, 5, nullptr);
    IntersectClipRect(m_dc, 0, 0, 10, 10); // logical: surface 5..15
    GpGraphics* g = nullptr;
    ASSERT_EQ(Ok, GdipCreateFromHDC(m_dc, &g));
    GpSolidFill* half = nullptr;
    ASSERT_EQ(Ok, GdipCreateSolidFill(0x80ff0000, &half));
    ASSERT_EQ(Ok, GdipFillRectangleI(g, reinterpret_cast<GpBrush*>(half), -5, -5, 30, 30));
    EXPECT_EQ(0u, at(2, 2));                     // outside the clip: untouched
    EXPECT_EQ(0xff800000u, at(6, 6) & 0xffff0000u); // half red over black, written opaque
    EXPECT_EQ(0xffu, at(6, 6) >> 24);
    EXPECT_EQ(0u, at(16, 16));
    GdipDeleteBrush(reinterpret_cast<GpBrush*>(half));
    GdipDeleteGraphics(g);
}

TEST_F(OnDc, FontFromDcAndBitmapsThroughGdi)
{
    GpFont* font = nullptr;
    ASSERT_EQ(Ok, GdipCreateFontFromDC(m_dc, &font));
    REAL size = 0;
    EXPECT_EQ(Ok, GdipGetFontSize(font, &size));
    EXPECT_GT(size, 0);
    GdipDeleteFont(font);

    canvas(3, 2, 0x80ff0000);
    GdipBitmapSetPixel(m_bitmap, 0, 0, 0xff00ff00);
    HBITMAP hbm = nullptr;
    ASSERT_EQ(Ok, GdipCreateHBITMAPFromBitmap(m_bitmap, &hbm, 0xff0000ff));
    GpBitmap* back = nullptr;
    ASSERT_EQ(Ok, GdipCreateBitmapFromHBITMAP(hbm, nullptr, &back));
    ARGB c = 0;
    GdipBitmapGetPixel(back, 0, 0, &c);
    EXPECT_EQ(0xff00ff00u, c);
    GdipBitmapGetPixel(back, 1, 1, &c);
    // Half red over blue.
    EXPECT_TRUE(near(c, 0xff80007f, 2)) << std::hex << c;
    GdipDisposeImage(back);
    DeleteObject(hbm);
    EXPECT_EQ(InvalidParameter, GdipCreateHBITMAPFromBitmap(m_bitmap, nullptr, 0));
}

TEST_F(OnDc, BitmapFromIconUsesItsMask)
{
    // A 2 x 1 colour icon without alpha: the mask makes its right pixel transparent.
    uint8_t maskBits[2 * 2] = {0x40, 0, 0, 0}; // 1 bpp rows padded to 16 bits: pixel 1 set
    HBITMAP mask = CreateBitmap(2, 1, 1, 1, maskBits);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = 2;
    bi.bmiHeader.biHeight = -1;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* p = nullptr;
    HBITMAP color = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
    static_cast<uint32_t*>(p)[0] = 0x00ff0000;
    static_cast<uint32_t*>(p)[1] = 0x0000ff00;
    ICONINFO ii{TRUE, 0, 0, mask, color};
    HICON icon = CreateIconIndirect(&ii);
    ASSERT_NE(nullptr, icon);
    GpBitmap* bmp = nullptr;
    ASSERT_EQ(Ok, GdipCreateBitmapFromHICON(icon, &bmp));
    ARGB c = 0;
    GdipBitmapGetPixel(bmp, 0, 0, &c);
    EXPECT_EQ(0xffff0000u, c);
    GdipBitmapGetPixel(bmp, 1, 0, &c);
    EXPECT_EQ(0u, c >> 24);
    GdipDisposeImage(bmp);
    DestroyIcon(icon);
    DeleteObject(mask);
    DeleteObject(color);
}
