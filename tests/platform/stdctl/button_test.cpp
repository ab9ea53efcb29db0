// Buttons and statics driven by mouse and keyboard.
#include "fixture.h"

using namespace stdtest;
namespace vt = velkaro::testing;

namespace {

class ButtonTest : public StdCtlTest {};

TEST_F(ButtonTest, ClickSendsBnClickedOnlyWhenReleasedOverTheButton)
{
    HWND b = make("BUTTON", "OK", BS_PUSHBUTTON, 10, 10, 80, 24, 7);
    clickAt(b, 40, 12);
    EXPECT_EQ(countCommands(7, BN_CLICKED), 1u);

    // Press, drag off: pressed look goes, no click; back on: pressed again.
    POINT c = center(b);
    vt::mouseMove(c.x, c.y);
    vt::mouseDown();
    vt::pumpUntilIdle();
    EXPECT_EQ(GetCapture(), b);
    EXPECT_TRUE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
    vt::mouseMove(c.x + 200, c.y);
    vt::pumpUntilIdle();
    EXPECT_FALSE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
    vt::mouseMove(c.x, c.y);
    vt::pumpUntilIdle();
    EXPECT_TRUE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
    vt::mouseMove(c.x + 200, c.y);
    vt::mouseUp();
    vt::pumpUntilIdle();
    EXPECT_EQ(countCommands(7, BN_CLICKED), 1u);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
}

TEST_F(ButtonTest, SpaceBarClicksOnRelease)
{
    HWND b = make("BUTTON", "Go", BS_PUSHBUTTON, 10, 10, 80, 24, 8);
    SetFocus(b);
    vt::keyDown(VK_SPACE, " ");
    vt::pumpUntilIdle();
    EXPECT_TRUE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_PUSHED);
    EXPECT_EQ(countCommands(8, BN_CLICKED), 0u);
    vt::keyUp(VK_SPACE);
    vt::pumpUntilIdle();
    EXPECT_EQ(countCommands(8, BN_CLICKED), 1u);
    EXPECT_TRUE(SendMessageA(b, BM_GETSTATE, 0, 0) & BST_FOCUS);
}

TEST_F(ButtonTest, DialogCodesByType)
{
    struct Case {
        DWORD style;
        LRESULT code;
    } cases[] = {
        {BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
        {BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
        {BS_AUTORADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
        {BS_RADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
        {BS_CHECKBOX, DLGC_BUTTON},
        {BS_GROUPBOX, DLGC_STATIC},
    };
    for (const Case& c : cases) {
        HWND b = make("BUTTON", "x", c.style, 10, 10, 80, 24);
        EXPECT_EQ(SendMessageA(b, WM_GETDLGCODE, 0, 0), c.code) << std::hex << c.style;
        DestroyWindow(b);
    }
}

TEST_F(ButtonTest, CheckBoxesCycleAsTheirTypeSays)
{
    struct Case {
        DWORD style;
        std::vector<LRESULT> afterClicks;
    } cases[] = {
        {BS_AUTOCHECKBOX, {BST_CHECKED, BST_UNCHECKED, BST_CHECKED}},
        {BS_AUTO3STATE, {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}},
        {BS_CHECKBOX, {BST_UNCHECKED, BST_UNCHECKED}}, // the parent decides
    };
    for (const Case& c : cases) {
        HWND b = make("BUTTON", "check", c.style, 10, 10, 120, 20, 9);
        for (LRESULT expect : c.afterClicks) {
            clickAt(b, 5, 10);
            EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), expect) << std::hex << c.style;
        }
        DestroyWindow(b);
    }
    HWND plain = make("BUTTON", "c", BS_CHECKBOX, 10, 10, 120, 20);
    SendMessageA(plain, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(SendMessageA(plain, BM_GETCHECK, 0, 0), BST_CHECKED); // only 3-state boxes are indeterminate
}

TEST_F(ButtonTest, AutoRadioButtonsUncheckTheirGroupOnly)
{
    HWND a = make("BUTTON", "a", BS_AUTORADIOBUTTON | WS_GROUP, 10, 10, 100, 20, 1);
    HWND b = make("BUTTON", "b", BS_AUTORADIOBUTTON, 10, 30, 100, 20, 2);
    HWND c = make("BUTTON", "c", BS_AUTORADIOBUTTON, 10, 50, 100, 20, 3);
    HWND d = make("BUTTON", "d", BS_AUTORADIOBUTTON | WS_GROUP, 10, 80, 100, 20, 4);
    clickAt(d, 5, 10);
    clickAt(a, 5, 10);
    EXPECT_EQ(SendMessageA(a, BM_GETCHECK, 0, 0), BST_CHECKED);
    clickAt(c, 5, 10);
    EXPECT_EQ(SendMessageA(a, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(d, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(countCommands(3, BN_CLICKED), 1u);
    SendMessageA(b, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(c, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(ButtonTest, OwnerDrawStatesWhilePressedFocusedAndDisabled)
{
    HWND b = make("BUTTON", "od", BS_OWNERDRAW, 10, 10, 80, 30, 12);
    parent.draws.clear();
    POINT c = center(b);
    vt::mouseMove(c.x, c.y);
    vt::mouseDown();
    vt::pumpUntilIdle();
    ASSERT_FALSE(parent.draws.empty());
    const DRAWITEMSTRUCT& pressed = parent.draws.back();
    EXPECT_EQ(pressed.CtlType, UINT(ODT_BUTTON));
    EXPECT_EQ(pressed.CtlID, 12u);
    EXPECT_EQ(pressed.hwndItem, b);
    EXPECT_TRUE(pressed.itemState & ODS_SELECTED);
    EXPECT_TRUE(pressed.itemState & ODS_FOCUS);
    EXPECT_EQ(pressed.itemAction, UINT(ODA_SELECT));
    EXPECT_EQ(pressed.rcItem.right, 80);
    vt::mouseUp();
    vt::pumpUntilIdle();
    EXPECT_FALSE(parent.draws.back().itemState & ODS_SELECTED);

    SetFocus(top);
    vt::pumpUntilIdle();
    EXPECT_EQ(parent.draws.back().itemAction, UINT(ODA_FOCUS));
    EXPECT_FALSE(parent.draws.back().itemState & ODS_FOCUS);

    parent.draws.clear();
    EnableWindow(b, FALSE);
    UpdateWindow(b);
    vt::pumpUntilIdle();
    ASSERT_FALSE(parent.draws.empty());
    EXPECT_TRUE(parent.draws.back().itemState & ODS_DISABLED);
    EXPECT_EQ(parent.draws.back().itemAction, UINT(ODA_DRAWENTIRE));
}

TEST_F(ButtonTest, FontAndImageMessages)
{
    HWND b = make("BUTTON", "f", BS_PUSHBUTTON, 10, 10, 80, 24);
    EXPECT_EQ(SendMessageA(b, WM_GETFONT, 0, 0), 0);
    HFONT f = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(f), TRUE);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(b, WM_GETFONT, 0, 0)), f);
    HBITMAP bmp = CreateBitmap(8, 8, 1, 32, nullptr);
    EXPECT_EQ(SendMessageA(b, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp)), 0);
    EXPECT_EQ(reinterpret_cast<HBITMAP>(SendMessageA(b, BM_GETIMAGE, IMAGE_BITMAP, 0)), bmp);
    DestroyWindow(b);
    DeleteObject(bmp);
}

TEST_F(ButtonTest, CtlColorAsksTheParent)
{
    int btn = 0, stat = 0;
    parent.extra = [&](HWND, UINT msg, WPARAM, LPARAM, bool&) -> LRESULT {
        btn += msg == WM_CTLCOLORBTN;
        stat += msg == WM_CTLCOLORSTATIC;
        return 0;
    };
    HWND push = make("BUTTON", "p", BS_PUSHBUTTON, 10, 10, 80, 24);
    HWND check = make("BUTTON", "c", BS_AUTOCHECKBOX, 10, 40, 80, 24);
    (void)push;
    (void)check;
    UpdateWindow(top);
    vt::pumpUntilIdle();
    EXPECT_GT(btn, 0);
    EXPECT_GT(stat, 0);
    parent.extra = nullptr;
}

TEST_F(ButtonTest, StaticHitTestAndNotify)
{
    HWND plain = make("Static", "label", SS_LEFT, 10, 10, 100, 20, 21);
    HWND notify = make("Static", "link", SS_LEFT | SS_NOTIFY, 10, 40, 100, 20, 22);
    EXPECT_EQ(SendMessageA(plain, WM_NCHITTEST, 0, MAKELPARAM(center(plain).x, center(plain).y)), HTTRANSPARENT);
    EXPECT_EQ(SendMessageA(notify, WM_NCHITTEST, 0, MAKELPARAM(center(notify).x, center(notify).y)), HTCLIENT);
    clickAt(notify, 5, 5);
    EXPECT_EQ(countCommands(22, STN_CLICKED), 1u);
    clickAt(plain, 5, 5);
    EXPECT_EQ(countCommands(21, STN_CLICKED), 0u);
}

TEST_F(ButtonTest, TransparentStaticLeavesTheParentBackground)
{
    // The parent paints red and answers WM_CTLCOLORSTATIC with a null brush.
    parent.extra = [](HWND hwnd, UINT msg, WPARAM wp, LPARAM, bool& handled) -> LRESULT {
        if (msg == WM_CTLCOLORSTATIC) {
            SetBkMode(reinterpret_cast<HDC>(wp), TRANSPARENT);
            handled = true;
            return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        }
        if (msg == WM_ERASEBKGND) {
            RECT r;
            GetClientRect(hwnd, &r);
            HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
            FillRect(reinterpret_cast<HDC>(wp), &r, red);
            DeleteObject(red);
            handled = true;
            return 1;
        }
        return 0;
    };
    InvalidateRect(top, nullptr, TRUE);
    HWND s = make("Static", "", SS_LEFT, 10, 10, 100, 20);
    UpdateWindow(top);
    vt::pumpUntilIdle();
    EXPECT_EQ(vt::windowPixel(s, 50, 10), RGB(255, 0, 0));
    parent.extra = nullptr;
}

TEST_F(ButtonTest, StaticImages)
{
    HWND icon = make("Static", nullptr, SS_ICON, 10, 10, 32, 32);
    HICON h = LoadIconA(nullptr, IDI_APPLICATION);
    EXPECT_EQ(SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(h), 0), 0);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0)), h);
    HWND bmpStatic = make("Static", nullptr, SS_BITMAP, 60, 10, 16, 16);
    HBITMAP bmp = CreateBitmap(16, 16, 1, 32, nullptr);
    SendMessageA(bmpStatic, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp));
    EXPECT_EQ(reinterpret_cast<HBITMAP>(SendMessageA(bmpStatic, STM_GETIMAGE, IMAGE_BITMAP, 0)), bmp);
    UpdateWindow(top);
    DestroyWindow(bmpStatic);
    DeleteObject(bmp);
}

} // namespace
