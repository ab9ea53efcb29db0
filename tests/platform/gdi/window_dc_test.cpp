// Window DCs over a scripted window target: origin, visible region, damage,
// the cached target, the screen DC and a window that dies.
#include "gdi_test_util.h"

#include "core/surface.h"
#include "gdi/gdi_objects.h"
#include "user/draw_target.h"

namespace vk {
struct StubWindow {
    HWND hwnd = nullptr;
    Surface* surface = nullptr;
    POINT origin{};
    RECT visible{};
    Region* damage = nullptr;
    uint64_t generation = 1;
    int resolves = 0;
};
StubWindow& stubWindow();
} // namespace vk

namespace {

class WindowDcTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        vk::StubWindow& w = vk::stubWindow();
        w.hwnd = hwnd;
        w.surface = &pixels.get();
        w.origin = POINT{10, 20};
        w.visible = RECT{10, 20, 40, 50};
        // A region owned by the layer: the test program does not link pixman itself.
        damageRgn = CreateRectRgn(0, 0, 0, 0);
        w.damage = &vk::gdi::getRegion(damageRgn)->rgn;
        w.resolves = 0;
    }
    void TearDown() override
    {
        vk::stubWindow() = vk::StubWindow{};
        DeleteObject(damageRgn);
    }
    RECT damageBounds() const
    {
        RECT r{};
        GetRgnBox(damageRgn, &r);
        return r;
    }

    HWND hwnd = reinterpret_cast<HWND>(uintptr_t(0x10000001));
    vk::OwnedSurface pixels{64, 64};
    HRGN damageRgn = nullptr;
};

TEST_F(WindowDcTest, DrawsAtTheOriginWithinTheVisibleRegionAndRecordsDamage)
{
    HDC dc = vk::gdi::createWindowDc(hwnd, 0, nullptr);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(vk::gdi::windowOfDc(dc), hwnd);
    EXPECT_EQ(GetObjectType(dc), DWORD(OBJ_DC));
    RECT r{0, 0, 100, 5};
    ASSERT_TRUE(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
    EXPECT_EQ(pixels.get().row(20)[10], 0u);
    EXPECT_EQ(pixels.get().row(20)[39], 0u);
    RECT w{-10, -10, 100, 100};
    FillRect(dc, &w, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(pixels.get().row(20)[10] & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(pixels.get().row(19)[10], 0u) << "outside the visible region";
    EXPECT_EQ(pixels.get().row(20)[40], 0u);
    RECT db = damageBounds();
    EXPECT_EQ(db.left, 10);
    EXPECT_EQ(db.top, 20);
    EXPECT_EQ(db.right, 40);
    EXPECT_EQ(db.bottom, 50);
    EXPECT_EQ(vk::stubWindow().resolves, 1) << "the target is kept while geometry stays";
    ++vk::stubWindow().generation;
    vk::stubWindow().origin = POINT{0, 0};
    vk::stubWindow().visible = RECT{0, 0, 64, 64};
    SetPixel(dc, 0, 0, RGB(255, 0, 0));
    EXPECT_EQ(pixels.get().row(0)[0], 0xFF0000u) << "a new geometry is resolved again";
    EXPECT_EQ(vk::stubWindow().resolves, 2);
    vk::gdi::windowDestroyed(hwnd);
    EXPECT_TRUE(SetPixel(dc, 1, 1, RGB(255, 0, 0)) != 0);
    EXPECT_EQ(pixels.get().row(1)[1], 0u) << "a dead window's DC draws nothing";
    EXPECT_TRUE(vk::gdi::releaseWindowDc(dc));
    EXPECT_FALSE(vk::gdi::releaseWindowDc(dc));
}

TEST_F(WindowDcTest, PaintClipAndScreenDc)
{
    HRGN paint = CreateRectRgn(0, 0, 5, 5);
    HDC dc = vk::gdi::createWindowDc(hwnd, vk::user::kDcPaint, &vk::gdi::getRegion(paint)->rgn);
    DeleteObject(paint);
    RECT r{0, 0, 20, 20};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(pixels.get().row(24)[14] & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(pixels.get().row(25)[15], 0u);
    vk::gdi::releaseWindowDc(dc);

    HDC screen = vk::gdi::createWindowDc(nullptr, 0, nullptr);
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(Rectangle(screen, 0, 0, 10, 10));
    EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 1024);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bm = CreateCompatibleBitmap(screen, 4, 4);
    EXPECT_NE(mem, nullptr);
    EXPECT_NE(bm, nullptr);
    EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(bm)));
    DeleteObject(bm);
    DeleteDC(mem);
    EXPECT_TRUE(vk::gdi::releaseWindowDc(screen));
}

} // namespace
