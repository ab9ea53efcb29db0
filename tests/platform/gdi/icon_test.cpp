// Icons: creation from bitmaps, alpha drawing, GetIconInfo, copies,
// resources by number and name, system icons.
#include "gdi_test_util.h"

#include <velkaro/resources.h>

extern "C" HBITMAP WINAPI LoadBitmapA(HINSTANCE hInstance, LPCSTR lpBitmapName);

namespace {

HBITMAP alphaBitmap(int w, int h, uint32_t argb)
{
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    uint32_t* bits = nullptr;
    HBITMAP bm = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    for (int i = 0; i < w * h; ++i)
        bits[i] = argb;
    return bm;
}

TEST(Icons, CreateDrawWithAlphaInfoAndDestroy)
{
    HBITMAP colour = alphaBitmap(4, 4, 0x80FF0000); // half-transparent red, straight alpha
    HBITMAP mask = CreateBitmap(4, 4, 1, 1, nullptr);
    ICONINFO ii{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&ii);
    ASSERT_NE(icon, nullptr);
    DeleteObject(colour);
    DeleteObject(mask);
    Canvas c(8, 8, 0x0000FF);
    ASSERT_TRUE(DrawIconEx(c.dc, 2, 2, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(c.rgb(2, 2), 0x80007Fu);
    EXPECT_EQ(c.rgb(1, 1), 0x0000FFu);
    EXPECT_EQ(c.rgb(6, 6), 0x0000FFu);
    ASSERT_TRUE(DrawIconEx(c.dc, 0, 0, icon, 8, 8, 0, nullptr, DI_NORMAL));
    EXPECT_NE(c.rgb(7, 7), 0x0000FFu) << "scaled to 8 x 8";

    ICONINFO out{};
    ASSERT_TRUE(GetIconInfo(icon, &out));
    EXPECT_TRUE(out.fIcon);
    ASSERT_NE(out.hbmColor, nullptr);
    ASSERT_NE(out.hbmMask, nullptr);
    BITMAP b;
    GetObjectA(out.hbmColor, sizeof b, &b);
    EXPECT_EQ(b.bmWidth, 4);
    EXPECT_EQ(b.bmBitsPixel, 32);
    GetObjectA(out.hbmMask, sizeof b, &b);
    EXPECT_EQ(b.bmBitsPixel, 1);
    DeleteObject(out.hbmColor);
    DeleteObject(out.hbmMask);

    HICON copy = CopyIcon(icon);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon)) << "already gone";
    EXPECT_FALSE(DrawIconEx(c.dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_TRUE(DrawIcon(c.dc, 0, 0, copy));
    EXPECT_TRUE(DestroyIcon(copy));
}

TEST(Icons, MaskedIconsAndMaskOnlyDrawing)
{
    // No alpha: the AND mask says where the screen shows through.
    HBITMAP colour = CreateBitmap(2, 1, 1, 32, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, colour);
    SetPixel(dc, 0, 0, RGB(0, 255, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
    const BYTE maskBits[] = {0x40, 0}; // pixel 1 transparent
    HBITMAP mask = CreateBitmap(2, 1, 1, 1, maskBits);
    ICONINFO ii{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&ii);
    Canvas c(2, 1, 0x0000FF);
    DrawIconEx(c.dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    EXPECT_EQ(c.rgb(0, 0), 0x00FF00u);
    EXPECT_EQ(c.rgb(1, 0), 0x0000FFu);
    Canvas m(2, 1, 0x0000FF);
    DrawIconEx(m.dc, 0, 0, icon, 0, 0, 0, nullptr, DI_MASK);
    EXPECT_EQ(m.rgb(0, 0), 0x000000u);
    EXPECT_EQ(m.rgb(1, 0), 0x0000FFu);
    DestroyIcon(icon);
    DeleteObject(mask);
    DeleteObject(colour);
}

TEST(Icons, ResourcesByNumberAndNameAndMissingOnes)
{
    std::vector<DWORD> px(16 * 16, 0xFF00FF00);
    HINSTANCE inst = reinterpret_cast<HINSTANCE>(uintptr_t(0x400000));
    ASSERT_TRUE(VkRegisterIconResource(inst, MAKEINTRESOURCEA(101), 16, 16, px.data()));
    ASSERT_TRUE(VkRegisterIconResource(inst, "AppIcon", 16, 16, px.data()));
    EXPECT_FALSE(VkRegisterIconResource(inst, "Bad", 0, 16, px.data()));
    HICON byNumber = LoadIconA(inst, MAKEINTRESOURCEA(101));
    ASSERT_NE(byNumber, nullptr);
    EXPECT_EQ(LoadIconA(inst, "#101"), byNumber) << "shared: the same handle again";
    EXPECT_NE(LoadIconA(inst, "appicon"), nullptr) << "names compare without case";
    SetLastError(0);
    EXPECT_EQ(LoadIconA(inst, MAKEINTRESOURCEA(999)), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_TRUE(DestroyIcon(byNumber));
    EXPECT_TRUE(DrawIcon(Canvas(32, 32).dc, 0, 0, byNumber)) << "shared icons survive DestroyIcon";

    HANDLE sized = LoadImageA(inst, "AppIcon", IMAGE_ICON, 24, 24, 0);
    ASSERT_NE(sized, nullptr);
    ICONINFO ii{};
    GetIconInfo(static_cast<HICON>(sized), &ii);
    BITMAP b;
    GetObjectA(ii.hbmColor, sizeof b, &b);
    EXPECT_EQ(b.bmWidth, 24);
    DeleteObject(ii.hbmColor);
    DeleteObject(ii.hbmMask);
    DestroyIcon(static_cast<HICON>(sized));

    ASSERT_TRUE(VkRegisterBitmapResource(inst, MAKEINTRESOURCEA(7), 16, 16, px.data()));
    HBITMAP bm = LoadBitmapA(inst, MAKEINTRESOURCEA(7));
    ASSERT_NE(bm, nullptr);
    DeleteObject(bm);
    HANDLE dib = LoadImageA(inst, MAKEINTRESOURCEA(7), IMAGE_BITMAP, 8, 8, LR_CREATEDIBSECTION);
    DIBSECTION ds;
    EXPECT_EQ(GetObjectA(dib, sizeof ds, &ds), int(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmWidth, 8);
    DeleteObject(dib);
    EXPECT_EQ(LoadBitmapA(inst, "nothing"), nullptr);
}

TEST(Icons, SystemIconsAreSharedAndDrawn)
{
    Canvas c(200, 40, 0xD4D0C8);
    const LPCSTR ids[] = {IDI_APPLICATION, IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK, IDI_WINLOGO};
    int x = 2;
    for (LPCSTR id : ids) {
        HICON h = LoadIconA(nullptr, id);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(LoadIconA(nullptr, id), h);
        ASSERT_TRUE(DrawIcon(c.dc, x, 4, h));
        EXPECT_GT(32 * 32 - c.count(0xD4D0C8, RECT{x, 4, x + 32, 36}), 200);
        x += 34;
    }
    addToContactSheet("system icons", c, 2);
}

} // namespace
