// Image lists: adding strips and icons, handing out icons, drawing, and bad handles.
#include "comctl_fixture.h"

using namespace vktest;
namespace vt = velkaro::testing;

namespace {

// A 32-bit strip of n images of 16 x 16, image k filled with colours[k], magenta corners.
HBITMAP strip(const std::vector<COLORREF>& colours)
{
    int n = static_cast<int>(colours.size());
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 16 * n;
    bi.bmiHeader.biHeight = -16;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bm = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* px = static_cast<uint32_t*>(bits);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16 * n; ++x) {
            COLORREF c = (x % 16 < 2 && y < 2) ? RGB(255, 0, 255) : colours[static_cast<size_t>(x / 16)];
            px[y * 16 * n + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    return bm;
}

class ImageListTest : public ComctlTest {};

TEST_F(ImageListTest, AddGetIconDrawDestroy)
{
    HIMAGELIST il = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 4);
    ASSERT_TRUE(il);
    HBITMAP bm = strip({RGB(255, 0, 0), RGB(0, 0, 255)});
    EXPECT_EQ(ImageList_AddMasked(il, bm, RGB(255, 0, 255)), 0);
    EXPECT_EQ(ImageList_Add(il, bm, nullptr), 2);
    EXPECT_EQ(ImageList_GetImageCount(il), 4);
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(il, &cx, &cy));
    EXPECT_EQ(cx, 16);
    IMAGEINFO info{};
    EXPECT_TRUE(ImageList_GetImageInfo(il, 1, &info));
    EXPECT_EQ(info.rcImage.left, 16);
    size_t users = vt::liveUserObjects();
    HICON icon = ImageList_GetIcon(il, 1, ILD_NORMAL);
    ASSERT_TRUE(icon);
    EXPECT_EQ(vt::liveUserObjects(), users + 1);
    EXPECT_EQ(ImageList_AddIcon(il, icon), 4);
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_EQ(vt::liveUserObjects(), users);
    // Drawing: the masked corner lets the background through; the rest is the image's colour.
    HWND w = make(WS_CHILD | WS_VISIBLE, 10, 10, 100, 40, m_parent, painter(RGB(0, 255, 0)));
    UpdateWindow(w);
    HDC dc = GetDC(w);
    EXPECT_TRUE(ImageList_Draw(il, 0, dc, 0, 0, ILD_TRANSPARENT));
    EXPECT_TRUE(ImageList_Draw(il, 4, dc, 20, 0, ILD_NORMAL));
    EXPECT_TRUE(ImageList_Draw(il, 1, dc, 40, 0, ILD_MASK));
    ReleaseDC(w, dc);
    EXPECT_EQ(vt::windowPixel(w, 8, 8), RGB(255, 0, 0));
    EXPECT_EQ(vt::windowPixel(w, 0, 0), RGB(0, 255, 0));
    EXPECT_EQ(vt::windowPixel(w, 28, 8), RGB(0, 0, 255));
    EXPECT_EQ(vt::windowPixel(w, 48, 8), RGB(0, 0, 0));
    EXPECT_TRUE(ImageList_Remove(il, 0));
    EXPECT_EQ(ImageList_GetImageCount(il), 4);
    EXPECT_TRUE(ImageList_Remove(il, -1));
    EXPECT_EQ(ImageList_GetImageCount(il), 0);
    EXPECT_TRUE(ImageList_Destroy(il));
    DeleteObject(bm);
}

TEST_F(ImageListTest, BogusAndDestroyedHandlesFail)
{
    HIMAGELIST il = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    ASSERT_TRUE(ImageList_Destroy(il));
    HIMAGELIST bogus = reinterpret_cast<HIMAGELIST>(static_cast<uintptr_t>(0x1234));
    for (HIMAGELIST h : {il, bogus, static_cast<HIMAGELIST>(nullptr)}) {
        int cx, cy;
        EXPECT_FALSE(ImageList_Destroy(h));
        EXPECT_EQ(ImageList_GetImageCount(h), 0);
        EXPECT_EQ(ImageList_Add(h, nullptr, nullptr), -1);
        EXPECT_FALSE(ImageList_GetIcon(h, 0, 0));
        EXPECT_FALSE(ImageList_GetIconSize(h, &cx, &cy));
        EXPECT_FALSE(ImageList_Draw(h, 0, nullptr, 0, 0, 0));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    }
    EXPECT_FALSE(ImageList_Create(0, 16, ILC_COLOR32, 1, 1));
    HIMAGELIST ok = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    EXPECT_FALSE(ImageList_GetIcon(ok, 5, 0));
    EXPECT_FALSE(ImageList_Remove(ok, 3));
    EXPECT_EQ(ImageList_ReplaceIcon(ok, -1, nullptr), -1);
    ImageList_Destroy(ok);
}

} // namespace
