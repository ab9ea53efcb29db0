// DIB sections (row order and the bits pointer), GetDIBits, SetDIBits,
// StretchDIBits, device bitmaps and GetObjectA.
#include "gdi_test_util.h"

#include <cstring>

namespace {

BITMAPINFO info(int w, int h, int bpp)
{
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = WORD(bpp);
    return bi;
}

TEST(DibSection, TopDownAndBottomUpRowOrderOfTheBits)
{
    for (int sign : {-1, 1}) {
        SCOPED_TRACE(sign < 0 ? "top-down" : "bottom-up");
        BITMAPINFO bi = info(4, 3 * sign, 32);
        uint32_t* bits = nullptr;
        HBITMAP bm = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        ASSERT_NE(bm, nullptr);
        ASSERT_NE(bits, nullptr);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bm);
        SetPixel(dc, 1, 0, RGB(255, 0, 0)); // the top row
        int topRow = sign < 0 ? 0 : 2;
        EXPECT_EQ(bits[topRow * 4 + 1], 0x00FF0000u);
        bits[(sign < 0 ? 2 : 0) * 4 + 3] = 0x000000FF; // the bottom row, written directly
        EXPECT_EQ(GetPixel(dc, 3, 2), RGB(0, 0, 255));
        DIBSECTION ds;
        ASSERT_EQ(GetObjectA(bm, sizeof ds, &ds), int(sizeof ds));
        EXPECT_EQ(ds.dsBm.bmBits, bits);
        EXPECT_EQ(ds.dsBm.bmWidthBytes, 16);
        EXPECT_EQ(ds.dsBm.bmHeight, 3);
        EXPECT_EQ(ds.dsBmih.biBitCount, 32);
        BITMAP b;
        ASSERT_EQ(GetObjectA(bm, sizeof b, &b), int(sizeof b));
        EXPECT_EQ(b.bmBits, bits);
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bm);
    }
}

TEST(DibSection, IndexedAnd24BitSectionsConvertWhenDrawnOn)
{
    struct {
        int bpp;
    } cases[] = {{1}, {4}, {8}, {24}};
    for (auto& k : cases) {
        SCOPED_TRACE(k.bpp);
        std::vector<char> buf(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
        auto* bi = reinterpret_cast<BITMAPINFO*>(buf.data());
        *bi = info(8, -2, k.bpp);
        if (k.bpp <= 8) {
            bi->bmiColors[0] = RGBQUAD{0, 0, 0, 0};
            bi->bmiColors[1] = RGBQUAD{255, 255, 255, 0};
        }
        uint8_t* bits = nullptr;
        HBITMAP bm = CreateDIBSection(nullptr, bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
        ASSERT_NE(bm, nullptr);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bm);
        RECT r{0, 0, 8, 1};
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        if (k.bpp == 1)
            EXPECT_EQ(bits[0], 0xFF);
        else if (k.bpp == 4)
            EXPECT_EQ(bits[0], 0x11);
        else if (k.bpp == 8)
            EXPECT_EQ(bits[0], 1);
        else
            EXPECT_EQ(bits[0], 0xFF);
        EXPECT_EQ(GetPixel(dc, 0, 1), RGB(0, 0, 0));
        EXPECT_EQ(GetPixel(dc, 7, 0), RGB(255, 255, 255));
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bm);
    }
}

TEST(GetDIBits, QueryFormThenBottomUpRows)
{
    Canvas c(3, 2, 0);
    SetPixel(c.dc, 0, 0, RGB(10, 20, 30));
    SetPixel(c.dc, 2, 1, RGB(40, 50, 60));
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    HDC screen = CreateCompatibleDC(nullptr);
    ASSERT_NE(GetDIBits(screen, c.bmp, 0, 0, nullptr, &bi, DIB_RGB_COLORS), 0);
    EXPECT_EQ(bi.bmiHeader.biWidth, 3);
    EXPECT_EQ(bi.bmiHeader.biHeight, 2);
    EXPECT_EQ(bi.bmiHeader.biBitCount, 32);
    EXPECT_EQ(bi.bmiHeader.biSizeImage, 24u);

    BITMAPINFO q = info(3, 2, 24);
    std::vector<uint8_t> rows(2 * 12);
    ASSERT_EQ(GetDIBits(screen, c.bmp, 0, 2, rows.data(), &q, DIB_RGB_COLORS), 2);
    // Bottom-up: the first row in memory is the bottom of the picture.
    EXPECT_EQ(rows[6], 60);
    EXPECT_EQ(rows[7], 50);
    EXPECT_EQ(rows[8], 40);
    EXPECT_EQ(rows[12], 30);
    EXPECT_EQ(rows[14], 10);

    // SetDIBits back into another bitmap, then StretchDIBits onto a DC.
    Canvas d(3, 2, 0xFFFFFF);
    ASSERT_EQ(SetDIBits(screen, d.bmp, 0, 2, rows.data(), &q, DIB_RGB_COLORS), 2);
    EXPECT_EQ(d.rgb(0, 0), 0x0A141Eu);
    EXPECT_EQ(d.rgb(2, 1), 0x28323Cu);
    Canvas e(6, 4, 0xFFFFFF);
    ASSERT_EQ(StretchDIBits(e.dc, 0, 0, 6, 4, 0, 0, 3, 2, rows.data(), &q, DIB_RGB_COLORS, SRCCOPY), 2);
    EXPECT_EQ(e.rgb(1, 1), 0x0A141Eu);
    EXPECT_EQ(e.rgb(5, 3), 0x28323Cu);
    Canvas f(3, 2, 0xFFFFFF);
    ASSERT_EQ(SetDIBitsToDevice(f.dc, 0, 0, 3, 2, 0, 0, 0, 2, rows.data(), &q, DIB_RGB_COLORS), 2);
    EXPECT_EQ(f.rgb(2, 1), 0x28323Cu);
    DeleteDC(screen);
}

TEST(Bitmaps, DeviceBitmapsAndTheirBits)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP cb = CreateCompatibleBitmap(dc, 5, 4);
    BITMAP b;
    ASSERT_EQ(GetObjectA(cb, sizeof b, &b), int(sizeof b));
    EXPECT_EQ(b.bmBitsPixel, 32);
    EXPECT_EQ(b.bmWidthBytes, 20);
    EXPECT_EQ(b.bmBits, nullptr);
    HGDIOBJ stock = GetCurrentObject(dc, OBJ_BITMAP);
    ASSERT_EQ(GetObjectA(stock, sizeof b, &b), int(sizeof b));
    EXPECT_EQ(b.bmWidth, 1) << "a new memory DC holds a 1 x 1 monochrome bitmap";
    EXPECT_EQ(b.bmBitsPixel, 1);

    const BYTE monoBits[] = {0xF0, 0x00, 0x0F, 0x00};
    HBITMAP mono = CreateBitmap(8, 2, 1, 1, monoBits);
    BYTE back[4] = {};
    EXPECT_EQ(GetBitmapBits(mono, 4, back), 4);
    EXPECT_EQ(std::memcmp(back, monoBits, 4), 0);
    uint32_t px[2] = {0x11223344, 0x55667788};
    HBITMAP colour = CreateBitmap(2, 1, 1, 32, px);
    uint32_t out[2] = {};
    EXPECT_EQ(GetBitmapBits(colour, 8, out), 8);
    EXPECT_EQ(out[1], 0x55667788u);
    uint32_t in[2] = {1, 2};
    EXPECT_EQ(SetBitmapBits(colour, 8, in), 8);
    GetBitmapBits(colour, 8, out);
    EXPECT_EQ(out[0], 1u);
    EXPECT_EQ(GetObjectType(mono), DWORD(OBJ_BITMAP));
    // A bitmap selected into a DC is not deleted.
    HGDIOBJ old = SelectObject(dc, cb);
    EXPECT_FALSE(DeleteObject(cb));
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(other, cb), nullptr) << "one DC at a time";
    SelectObject(dc, old);
    EXPECT_TRUE(DeleteObject(cb));
    DeleteDC(other);
    DeleteObject(mono);
    DeleteObject(colour);
    DeleteDC(dc);
}

TEST(Objects, GetObjectOfPensBrushesFonts)
{
    HPEN pen = CreatePen(PS_DOT, 1, RGB(1, 2, 3));
    LOGPEN lp{};
    ASSERT_EQ(GetObjectA(pen, sizeof lp, &lp), int(sizeof lp));
    EXPECT_EQ(lp.lopnStyle, UINT(PS_DOT));
    EXPECT_EQ(lp.lopnColor, RGB(1, 2, 3));
    EXPECT_EQ(GetObjectType(pen), DWORD(OBJ_PEN));
    LOGBRUSH lb{PS_SOLID, RGB(9, 9, 9), 0};
    HPEN ext = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, 4, &lb, 0, nullptr);
    EXPECT_EQ(GetObjectType(ext), DWORD(OBJ_EXTPEN));
    EXTLOGPEN elp{};
    EXPECT_EQ(GetObjectA(ext, 0, nullptr), int(sizeof(EXTLOGPEN)));
    ASSERT_GT(GetObjectA(ext, sizeof elp, &elp), 0);
    EXPECT_EQ(elp.elpWidth, 4u);
    EXPECT_EQ(elp.elpNumEntries, 0u);
    HBRUSH hatch = CreateHatchBrush(HS_CROSS, RGB(5, 6, 7));
    LOGBRUSH got{};
    ASSERT_EQ(GetObjectA(hatch, sizeof got, &got), int(sizeof got));
    EXPECT_EQ(got.lbStyle, UINT(BS_HATCHED));
    EXPECT_EQ(got.lbHatch, ULONG_PTR(HS_CROSS));
    LOGFONTA lf{};
    ASSERT_EQ(GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf), int(sizeof lf));
    EXPECT_EQ(lf.lfHeight, -12);
    EXPECT_STREQ(lf.lfFaceName, "宋体");
    for (HGDIOBJ h : {HGDIOBJ(pen), HGDIOBJ(ext), HGDIOBJ(hatch)})
        DeleteObject(h);
}

TEST(Brushes, HatchAndPatternFill)
{
    Canvas c(16, 8, 0xFFFFFF);
    HBRUSH h = CreateHatchBrush(HS_VERTICAL, RGB(0, 0, 0));
    SetBkMode(c.dc, TRANSPARENT);
    RECT r{0, 0, 8, 8};
    FillRect(c.dc, &r, h);
    EXPECT_EQ(c.count(0, RECT{0, 0, 8, 8}), 8) << "one vertical line in 8 pixels";
    const BYTE bits[] = {0xAA, 0, 0x55, 0};
    HBITMAP pat = CreateBitmap(8, 2, 1, 1, bits);
    HBRUSH pb = CreatePatternBrush(pat);
    DeleteObject(pat);
    SetTextColor(c.dc, RGB(255, 0, 0));
    SetBkColor(c.dc, RGB(0, 0, 255));
    RECT r2{8, 0, 16, 2};
    FillRect(c.dc, &r2, pb);
    EXPECT_EQ(c.rgb(8, 0), 0x0000FFu) << "set bits take the background colour";
    EXPECT_EQ(c.rgb(9, 0), 0xFF0000u);
    EXPECT_EQ(c.rgb(8, 1), 0xFF0000u);
    DeleteObject(h);
    DeleteObject(pb);
}

} // namespace
