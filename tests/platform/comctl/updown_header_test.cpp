// Up-down halves, auto-repeat, buddy text and wrap; header items, dividers and button clicks.
#include "comctl_fixture.h"

#include <cstring>

using namespace vktest;
namespace vt = velkaro::testing;

namespace {

class UpDownTest : public ComctlTest {
protected:
    HWND buddy()
    {
        return make(WS_CHILD | WS_VISIBLE, 10, 10, 80, 20, m_parent);
    }
    static std::string text(HWND h)
    {
        char buf[64] = {};
        GetWindowTextA(h, buf, sizeof buf);
        return buf;
    }
};

TEST_F(UpDownTest, RangesAndPositions)
{
    HWND ud = control(UPDOWN_CLASSA, 0, 100, 10, 16, 24);
    ASSERT_TRUE(ud);
    // Win32's default range: from 100 at the bottom to 0 at the top.
    EXPECT_EQ(SendMessageA(ud, UDM_GETRANGE, 0, 0), MAKELONG(0, 100));
    SendMessageA(ud, UDM_SETRANGE, 0, MAKELPARAM(10, 1));
    int lo = 0, hi = 0;
    SendMessageA(ud, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lo), reinterpret_cast<LPARAM>(&hi));
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 10);
    EXPECT_EQ(SendMessageA(ud, UDM_SETPOS, 0, 5), 1);
    EXPECT_EQ(LOWORD(SendMessageA(ud, UDM_GETPOS, 0, 0)), 5);
    SendMessageA(ud, UDM_SETRANGE32, static_cast<WPARAM>(-100000), 100000);
    SendMessageA(ud, UDM_SETPOS32, 0, 99999);
    BOOL err = TRUE;
    EXPECT_EQ(SendMessageA(ud, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&err)), 99999);
    EXPECT_FALSE(err);
    UDACCEL acc[2] = {{0, 2}, {1, 10}};
    EXPECT_TRUE(SendMessageA(ud, UDM_SETACCEL, 2, reinterpret_cast<LPARAM>(acc)));
    UDACCEL back[4]{};
    EXPECT_EQ(SendMessageA(ud, UDM_GETACCEL, 4, reinterpret_cast<LPARAM>(back)), 2);
    EXPECT_EQ(back[1].nInc, 10u);
    EXPECT_EQ(SendMessageA(ud, UDM_SETBASE, 16, 0), 10);
    EXPECT_EQ(SendMessageA(ud, UDM_SETBASE, 7, 0), 0);
}

TEST_F(UpDownTest, HalvesStepAndNotify)
{
    HWND ud = control(UPDOWN_CLASSA, 0, 100, 10, 16, 24);
    SendMessageA(ud, UDM_SETRANGE32, 0, 10);
    SendMessageA(ud, UDM_SETPOS32, 0, 5);
    clickAt(ud, 8, 3); // upper half
    EXPECT_EQ(SendMessageA(ud, UDM_GETPOS32, 0, 0), 6);
    const Told* d = last(UDN_DELTAPOS);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->as<NMUPDOWN>().iPos, 5);
    EXPECT_EQ(d->as<NMUPDOWN>().iDelta, 1);
    EXPECT_EQ(d->as<NMUPDOWN>().hdr.hwndFrom, ud);
    EXPECT_EQ(d->as<NMUPDOWN>().hdr.idFrom, 100u);
    EXPECT_EQ(scrollCodes(), (std::vector<int>{SB_THUMBPOSITION, SB_ENDSCROLL}));
    clickAt(ud, 8, 20); // lower half
    clickAt(ud, 8, 20);
    EXPECT_EQ(SendMessageA(ud, UDM_GETPOS32, 0, 0), 4);
    // A TRUE answer to UDN_DELTAPOS refuses the step.
    answer = [](NMHDR* h) -> LRESULT { return h->code == UDN_DELTAPOS; };
    clickAt(ud, 8, 3);
    EXPECT_EQ(SendMessageA(ud, UDM_GETPOS32, 0, 0), 4);
}

TEST_F(UpDownTest, HorizontalHalves)
{
    HWND ud = control(UPDOWN_CLASSA, UDS_HORZ, 100, 10, 32, 16);
    SendMessageA(ud, UDM_SETRANGE32, 0, 10);
    clickAt(ud, 28, 8);
    EXPECT_EQ(SendMessageA(ud, UDM_GETPOS32, 0, 0), 1);
    EXPECT_EQ(told.back().msg, static_cast<UINT>(WM_HSCROLL));
    clickAt(ud, 3, 8);
    EXPECT_EQ(SendMessageA(ud, UDM_GETPOS32, 0, 0), 0);
}

TEST_F(UpDownTest, AutoRepeatOnTheVirtualClock)
{
    HWND ud = control(UPDOWN_CLASSA, 0, 100, 10, 16, 24);
    SendMessageA(ud, UDM_SETRANGE32, 0, 1000);
    POINT p = screenOf(ud, 8, 3);
    vt::mouseMove(p.x, p.y);
    vt::mouseDown();
    pumpUntilIdle();
    EXPECT_EQ(SendMessageA(ud, UDM_GETPOS32, 0, 0), 1);
    vt::advanceClock(499);
    EXPECT_EQ(SendMessageA(ud, UDM_GETPOS32, 0, 0), 1);
    vt::advanceClock(1);
    EXPECT_EQ(SendMessageA(ud, UDM_GETPOS32, 0, 0), 2);
    vt::advanceClock(1000); // ten more repeats
    EXPECT_EQ(SendMessageA(ud, UDM_GETPOS32, 0, 0), 12);
    vt::advanceClock(2000); // past two seconds held: steps of 5
    int at = static_cast<int>(SendMessageA(ud, UDM_GETPOS32, 0, 0));
    EXPECT_GT(at, 12 + 20);
    vt::mouseUp();
    pumpUntilIdle();
    vt::advanceClock(1000);
    EXPECT_EQ(SendMessageA(ud, UDM_GETPOS32, 0, 0), at);
}

TEST_F(UpDownTest, BuddyTextAndWrap)
{
    struct Case {
        DWORD style;
        int pos;
        const char* text;
    } cases[] = {{UDS_SETBUDDYINT, 1234, "1,234"}, {UDS_SETBUDDYINT | UDS_NOTHOUSANDS, 1234, "1234"},
                 {UDS_SETBUDDYINT, -5, "-5"}, {UDS_SETBUDDYINT, 999, "999"}};
    for (const Case& c : cases) {
        HWND b = buddy();
        HWND ud = control(UPDOWN_CLASSA, c.style, 100, 10, 16, 24);
        SendMessageA(ud, UDM_SETBUDDY, reinterpret_cast<WPARAM>(b), 0);
        EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(ud, UDM_GETBUDDY, 0, 0)), b);
        SendMessageA(ud, UDM_SETRANGE32, static_cast<WPARAM>(-10), 10000);
        SendMessageA(ud, UDM_SETPOS32, 0, c.pos);
        EXPECT_EQ(text(b), c.text);
        DestroyWindow(ud);
        DestroyWindow(b);
    }
    // The buddy's text is read back; text outside the range is an error.
    HWND b = buddy();
    HWND ud = control(UPDOWN_CLASSA, UDS_SETBUDDYINT | UDS_WRAP, 100, 10, 16, 24);
    SendMessageA(ud, UDM_SETBUDDY, reinterpret_cast<WPARAM>(b), 0);
    SendMessageA(ud, UDM_SETRANGE32, 0, 3);
    SetWindowTextA(b, "2");
    EXPECT_EQ(SendMessageA(ud, UDM_GETPOS, 0, 0), MAKELONG(2, 0));
    SetWindowTextA(b, "abc");
    EXPECT_NE(HIWORD(SendMessageA(ud, UDM_GETPOS, 0, 0)), 0);
    SetWindowTextA(b, "3");
    clickAt(ud, 8, 3); // wraps from the top to the bottom
    EXPECT_EQ(text(b), "0");
    clickAt(ud, 8, 20);
    EXPECT_EQ(text(b), "3");
}

TEST_F(UpDownTest, AutoBuddyAlignsAndTakesArrowKeys)
{
    HWND b = buddy();
    HWND ud = control(UPDOWN_CLASSA, UDS_AUTOBUDDY | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS, 0, 0, 16, 10);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(ud, UDM_GETBUDDY, 0, 0)), b);
    RECT rb, ru;
    GetWindowRect(b, &rb);
    GetWindowRect(ud, &ru);
    EXPECT_EQ(ru.top, rb.top);
    EXPECT_EQ(ru.bottom, rb.bottom);
    EXPECT_LE(ru.left, rb.right);
    EXPECT_GE(ru.right, rb.right);
    SendMessageA(ud, UDM_SETRANGE32, 0, 10);
    SetFocus(b);
    vt::pressKey(VK_UP);
    vt::pressKey(VK_UP);
    pumpUntilIdle();
    EXPECT_EQ(text(b), "2");
    // Destroying the up-down first leaves a working buddy behind.
    DestroyWindow(ud);
    vt::pressKey(VK_UP);
    pumpUntilIdle();
    EXPECT_EQ(text(b), "2");
}

class HeaderTest : public ComctlTest {
protected:
    HWND header(DWORD style, std::initializer_list<int> widths)
    {
        HWND h = control(WC_HEADERA, style, 0, 0, 400, 22);
        int k = 0;
        for (int w : widths) {
            std::string t = "Col " + std::to_string(k);
            HDITEMA it{};
            it.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT;
            it.cxy = w;
            it.pszText = t.data();
            it.fmt = HDF_STRING | HDF_LEFT;
            SendMessageA(h, HDM_INSERTITEMA, static_cast<WPARAM>(k++), reinterpret_cast<LPARAM>(&it));
        }
        pumpUntilIdle();
        return h;
    }
    static RECT itemRect(HWND h, int i)
    {
        RECT r{};
        SendMessageA(h, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        return r;
    }
};

TEST_F(HeaderTest, ItemsAndRects)
{
    HWND h = header(HDS_BUTTONS, {100, 50, 80});
    EXPECT_EQ(SendMessageA(h, HDM_GETITEMCOUNT, 0, 0), 3);
    RECT r = itemRect(h, 1);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.right, 150);
    EXPECT_EQ(r.bottom, 22);
    char buf[16] = {};
    HDITEMA it{};
    it.mask = HDI_TEXT | HDI_WIDTH | HDI_ORDER;
    it.pszText = buf;
    it.cchTextMax = sizeof buf;
    EXPECT_TRUE(SendMessageA(h, HDM_GETITEMA, 2, reinterpret_cast<LPARAM>(&it)));
    EXPECT_STREQ(buf, "Col 2");
    EXPECT_EQ(it.cxy, 80);
    EXPECT_EQ(it.iOrder, 2);
    EXPECT_FALSE(SendMessageA(h, HDM_GETITEMA, 3, reinterpret_cast<LPARAM>(&it)));
    EXPECT_FALSE(SendMessageA(h, HDM_GETITEMRECT, 7, reinterpret_cast<LPARAM>(&r)));
    EXPECT_TRUE(SendMessageA(h, HDM_DELETEITEM, 0, 0));
    EXPECT_EQ(itemRect(h, 0).left, 0);
    EXPECT_EQ(itemRect(h, 0).right, 50);
    EXPECT_EQ(SendMessageA(h, HDM_GETBITMAPMARGIN, 0, 0), 6);
    EXPECT_EQ(SendMessageA(h, HDM_SETBITMAPMARGIN, 10, 0), 6);
    HIMAGELIST il = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    EXPECT_EQ(SendMessageA(h, HDM_SETIMAGELIST, HDSIL_NORMAL, reinterpret_cast<LPARAM>(il)), 0);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(h, HDM_GETIMAGELIST, 0, 0)), il);
    DestroyWindow(h);
    ImageList_Destroy(il);
}

TEST_F(HeaderTest, LayoutAndHitTest)
{
    HWND h = header(0, {100, 50});
    RECT rc{0, 0, 300, 200};
    WINDOWPOS wp{};
    HDLAYOUT l{&rc, &wp};
    EXPECT_TRUE(SendMessageA(h, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&l)));
    EXPECT_EQ(wp.cx, 300);
    EXPECT_GT(wp.cy, 12);
    EXPECT_EQ(rc.top, wp.cy);
    struct Case {
        int x, y;
        int item;
        UINT flags;
    } cases[] = {{50, 10, 0, HHT_ONHEADER},   {99, 10, 0, HHT_ONDIVIDER}, {102, 10, 0, HHT_ONDIVIDER},
                 {120, 10, 1, HHT_ONHEADER},  {149, 10, 1, HHT_ONDIVIDER}, {250, 10, -1, HHT_NOWHERE},
                 {50, -3, -1, HHT_ABOVE},     {500, 10, -1, HHT_TORIGHT}};
    for (const Case& c : cases) {
        HDHITTESTINFO ht{{c.x, c.y}, 0, 0};
        EXPECT_EQ(SendMessageA(h, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&ht)), c.item) << c.x;
        EXPECT_EQ(ht.flags, c.flags) << c.x << "," << c.y;
    }
}

TEST_F(HeaderTest, DividerDragResizes)
{
    for (DWORD st : {DWORD(0), DWORD(HDS_FULLDRAG)}) {
        told.clear();
        HWND h = header(st, {100, 50});
        POINT p = screenOf(h, 100, 10);
        vt::mouseMove(p.x, p.y);
        vt::mouseDown();
        pumpUntilIdle();
        EXPECT_EQ(GetCapture(), h);
        vt::mouseMove(p.x + 30, p.y);
        pumpUntilIdle();
        EXPECT_EQ(itemRect(h, 0).right, st ? 130 : 100);
        vt::mouseMove(p.x + 40, p.y + 50);
        vt::mouseUp();
        pumpUntilIdle();
        EXPECT_EQ(itemRect(h, 0).right, 140);
        EXPECT_EQ(itemRect(h, 1).left, 140);
        auto c = codes();
        ASSERT_FALSE(c.empty());
        EXPECT_EQ(c.front(), HDN_BEGINTRACKA);
        EXPECT_NE(std::find(c.begin(), c.end(), HDN_TRACKA), c.end());
        EXPECT_NE(std::find(c.begin(), c.end(), HDN_ENDTRACKA), c.end());
        EXPECT_NE(std::find(c.begin(), c.end(), HDN_ITEMCHANGEDA), c.end());
        EXPECT_EQ(last(HDN_ENDTRACKA)->as<NMHEADERA>().iItem, 0);
        DestroyWindow(h);
    }
    // The parent may forbid the resize.
    HWND h = header(0, {100, 50});
    answer = [](NMHDR* n) -> LRESULT { return n->code == HDN_BEGINTRACKA; };
    POINT p = screenOf(h, 100, 10);
    vt::mouseMove(p.x, p.y);
    vt::mouseDown();
    vt::mouseMove(p.x + 30, p.y);
    vt::mouseUp();
    pumpUntilIdle();
    EXPECT_EQ(itemRect(h, 0).right, 100);
    // Double click on a divider.
    answer = nullptr;
    vt::doubleClick(p.x, p.y);
    pumpUntilIdle();
    EXPECT_TRUE(last(HDN_DIVIDERDBLCLICKA));
}

TEST_F(HeaderTest, ButtonsLookPressedAndClick)
{
    HWND h = header(HDS_BUTTONS, {100, 50});
    UpdateWindow(h);
    pumpUntilIdle();
    COLORREF upLeft = vt::windowPixel(h, 100, 1); // the raised edge's light top line of item 1
    POINT p = screenOf(h, 120, 10);
    vt::mouseMove(p.x, p.y);
    vt::mouseDown();
    pumpUntilIdle();
    UpdateWindow(h);
    EXPECT_NE(vt::windowPixel(h, 100, 1), upLeft);
    EXPECT_EQ(vt::windowPixel(h, 100, 0), GetSysColor(COLOR_3DSHADOW));
    vt::mouseUp();
    pumpUntilIdle();
    UpdateWindow(h);
    EXPECT_EQ(vt::windowPixel(h, 100, 1), upLeft);
    const Told* c = last(HDN_ITEMCLICKA);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->as<NMHEADERA>().iItem, 1);
    EXPECT_EQ(c->as<NMHEADERA>().iButton, 0);
    // Pressing and leaving the item before release is no click.
    told.clear();
    vt::mouseMove(p.x, p.y);
    vt::mouseDown();
    vt::mouseMove(p.x, p.y + 60);
    vt::mouseUp();
    pumpUntilIdle();
    EXPECT_FALSE(last(HDN_ITEMCLICKA));
}

} // namespace
