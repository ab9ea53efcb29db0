// Toolbar buttons, check groups, states and clicks; tooltips after the hover delay; bad parameters.
#include "comctl_fixture.h"

using namespace vktest;
namespace vt = velkaro::testing;

namespace {

class ToolbarTest : public ComctlTest {
protected:
    HWND toolbar(DWORD style)
    {
        HWND tb = control(TOOLBARCLASSNAMEA, style | CCS_NODIVIDER, 0, 0, 0, 0, 200);
        SendMessageA(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
        TBBUTTON b[6] = {};
        BYTE styles[6] = {BTNS_BUTTON, BTNS_SEP, BTNS_CHECK, BTNS_CHECKGROUP, BTNS_CHECKGROUP, BTNS_BUTTON};
        for (int k = 0; k < 6; ++k) {
            b[k].iBitmap = styles[k] == BTNS_SEP ? 0 : I_IMAGENONE;
            b[k].idCommand = styles[k] == BTNS_SEP ? 0 : 1000 + k;
            b[k].fsState = TBSTATE_ENABLED;
            b[k].fsStyle = styles[k];
            b[k].iString = -1;
        }
        EXPECT_TRUE(SendMessageA(tb, TB_ADDBUTTONSA, 6, reinterpret_cast<LPARAM>(b)));
        pumpUntilIdle();
        return tb;
    }
    static RECT rectOf(HWND tb, int i)
    {
        RECT r{};
        SendMessageA(tb, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
        return r;
    }
    void clickButton(HWND tb, int i)
    {
        RECT r = rectOf(tb, i);
        clickAt(tb, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    std::vector<int> commands() const
    {
        std::vector<int> out;
        for (auto& t : told)
            if (t.msg == WM_COMMAND)
                out.push_back(LOWORD(t.wp));
        return out;
    }
};

TEST_F(ToolbarTest, ButtonsLayoutAndQueries)
{
    HWND tb = toolbar(TBSTYLE_FLAT);
    ASSERT_TRUE(tb);
    EXPECT_EQ(SendMessageA(tb, TB_BUTTONCOUNT, 0, 0), 6);
    RECT r0 = rectOf(tb, 0), r1 = rectOf(tb, 1), r2 = rectOf(tb, 2);
    EXPECT_EQ(r0.left, 0);
    EXPECT_EQ(r1.left, r0.right);
    EXPECT_EQ(r1.right - r1.left, 8); // a separator
    EXPECT_EQ(r2.left, r1.right);
    RECT wr;
    GetWindowRect(tb, &wr);
    EXPECT_EQ(wr.right - wr.left, 640 - 2 * GetSystemMetrics(SM_CXBORDER) > 0 ? wr.right - wr.left : 0);
    EXPECT_EQ(SendMessageA(tb, TB_COMMANDTOINDEX, 1003, 0), 3);
    TBBUTTON b{};
    EXPECT_TRUE(SendMessageA(tb, TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&b)));
    EXPECT_EQ(b.idCommand, 1002);
    EXPECT_EQ(b.fsStyle, BTNS_CHECK);
    EXPECT_FALSE(SendMessageA(tb, TB_GETBUTTON, 6, reinterpret_cast<LPARAM>(&b)));
    TBBUTTONINFOA bi{};
    bi.cbSize = sizeof bi;
    bi.dwMask = TBIF_TEXT;
    char text[] = "Open";
    bi.pszText = text;
    EXPECT_TRUE(SendMessageA(tb, TB_SETBUTTONINFOA, 1000, reinterpret_cast<LPARAM>(&bi)));
    char back[16] = {};
    bi.dwMask = TBIF_TEXT | TBIF_STATE | TBIF_COMMAND | TBIF_BYINDEX;
    bi.pszText = back;
    bi.cchText = sizeof back;
    EXPECT_EQ(SendMessageA(tb, TB_GETBUTTONINFOA, 0, reinterpret_cast<LPARAM>(&bi)), 0);
    EXPECT_STREQ(back, "Open");
    EXPECT_EQ(bi.idCommand, 1000);
    bi.cbSize = 3;
    EXPECT_EQ(SendMessageA(tb, TB_GETBUTTONINFOA, 0, reinterpret_cast<LPARAM>(&bi)), -1);
    // Hiding a button takes it out of the row.
    int x3 = rectOf(tb, 3).left;
    SendMessageA(tb, TB_HIDEBUTTON, 1002, TRUE);
    EXPECT_TRUE(SendMessageA(tb, TB_ISBUTTONHIDDEN, 1002, 0));
    EXPECT_LT(rectOf(tb, 3).left, x3);
    RECT dummy;
    EXPECT_FALSE(SendMessageA(tb, TB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&dummy)));
    EXPECT_TRUE(SendMessageA(tb, TB_DELETEBUTTON, 5, 0));
    EXPECT_EQ(SendMessageA(tb, TB_BUTTONCOUNT, 0, 0), 5);
    EXPECT_EQ(SendMessageA(tb, TB_GETSTATE, 4242, 0), -1);
}

TEST_F(ToolbarTest, ClicksChecksAndGroups)
{
    HWND tb = toolbar(TBSTYLE_FLAT);
    clickButton(tb, 0);
    clickButton(tb, 2);
    EXPECT_TRUE(SendMessageA(tb, TB_ISBUTTONCHECKED, 1002, 0));
    clickButton(tb, 2);
    EXPECT_FALSE(SendMessageA(tb, TB_ISBUTTONCHECKED, 1002, 0));
    clickButton(tb, 3);
    EXPECT_TRUE(SendMessageA(tb, TB_ISBUTTONCHECKED, 1003, 0));
    clickButton(tb, 4);
    EXPECT_TRUE(SendMessageA(tb, TB_ISBUTTONCHECKED, 1004, 0));
    EXPECT_FALSE(SendMessageA(tb, TB_ISBUTTONCHECKED, 1003, 0));
    clickButton(tb, 4); // a checked group button stays checked
    EXPECT_TRUE(SendMessageA(tb, TB_ISBUTTONCHECKED, 1004, 0));
    EXPECT_EQ(commands(), (std::vector<int>{1000, 1002, 1002, 1003, 1004, 1004}));
    // Disabled and indeterminate buttons: no command from a disabled one.
    told.clear();
    SendMessageA(tb, TB_ENABLEBUTTON, 1000, FALSE);
    SendMessageA(tb, TB_INDETERMINATE, 1005, TRUE);
    EXPECT_TRUE(SendMessageA(tb, TB_ISBUTTONINDETERMINATE, 1005, 0));
    clickButton(tb, 0);
    EXPECT_TRUE(commands().empty());
    EXPECT_FALSE(SendMessageA(tb, TB_ISBUTTONENABLED, 1000, 0));
}

TEST_F(ToolbarTest, HotItemFollowsTheMouse)
{
    HWND tb = toolbar(TBSTYLE_FLAT);
    RECT r = rectOf(tb, 2);
    POINT p = screenOf(tb, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    vt::mouseMove(p.x, p.y);
    pumpUntilIdle();
    EXPECT_EQ(SendMessageA(tb, TB_GETHOTITEM, 0, 0), 2);
    EXPECT_TRUE(last(TBN_HOTITEMCHANGE));
    vt::mouseMove(600, 400);
    pumpUntilIdle();
    EXPECT_EQ(SendMessageA(tb, TB_GETHOTITEM, 0, 0), -1);
    EXPECT_EQ(SendMessageA(tb, TB_SETHOTITEM, 3, 0), -1);
    EXPECT_EQ(SendMessageA(tb, TB_GETHOTITEM, 0, 0), 3);
}

TEST_F(ToolbarTest, ChildControlOnTheToolbarStaysPainted)
{
    HWND tb = toolbar(TBSTYLE_FLAT);
    RECT sep = rectOf(tb, 1);
    int paints = 0;
    HWND child = make(WS_CHILD | WS_VISIBLE, sep.left, 0, 8, 10, tb, painter(RGB(0, 200, 0), &paints));
    pumpUntilIdle();
    // Repainting the toolbar (hot item changes) leaves the child's pixels alone.
    RECT r = rectOf(tb, 0);
    POINT p = screenOf(tb, (r.left + r.right) / 2, 5);
    vt::mouseMove(p.x, p.y);
    pumpUntilIdle();
    InvalidateRect(tb, nullptr, TRUE);
    UpdateWindow(tb);
    pumpUntilIdle();
    EXPECT_EQ(vt::windowPixel(child, 4, 5), RGB(0, 200, 0));
    EXPECT_EQ(GetParent(child), tb);
}

class TooltipTest : public ComctlTest {};

TEST_F(TooltipTest, ShowsAfterTheDelayAndHidesOnLeave)
{
    HWND tool = make(WS_CHILD | WS_VISIBLE, 100, 100, 80, 30, m_parent, painter(RGB(50, 50, 50)));
    HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, m_parent,
                               nullptr, nullptr, nullptr);
    ASSERT_TRUE(tip);
    EXPECT_TRUE(GetWindowLongA(tip, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    TTTOOLINFOA ti{};
    ti.cbSize = TTTOOLINFOA_V1_SIZE; // the oldest size still works
    ti.uFlags = TTF_SUBCLASS | TTF_IDISHWND;
    ti.hwnd = m_parent;
    ti.uId = reinterpret_cast<UINT_PTR>(tool);
    char text[] = "Hello tip";
    ti.lpszText = text;
    EXPECT_TRUE(SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)));
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    POINT p = screenOf(tool, 40, 15);
    vt::mouseMove(p.x, p.y);
    pumpUntilIdle();
    EXPECT_FALSE(IsWindowVisible(tip));
    vt::advanceClock(499);
    EXPECT_FALSE(IsWindowVisible(tip));
    vt::advanceClock(2);
    EXPECT_TRUE(IsWindowVisible(tip));
    RECT tr;
    GetWindowRect(tip, &tr);
    EXPECT_GE(tr.top, p.y);
    EXPECT_LT(tr.top, p.y + 40);
    char back[32] = {};
    ti.cbSize = sizeof ti;
    ti.lpszText = back;
    SendMessageA(tip, TTM_GETTEXTA, sizeof back, reinterpret_cast<LPARAM>(&ti));
    EXPECT_STREQ(back, "Hello tip");
    vt::mouseMove(5, 5); // onto the parent's frame, off the tool: noticed within the leave poll
    vt::advanceClock(150);
    EXPECT_FALSE(IsWindowVisible(tip));
    // A click hides it until the mouse leaves the tool.
    vt::mouseMove(p.x, p.y);
    vt::advanceClock(600);
    EXPECT_TRUE(IsWindowVisible(tip));
    vt::click(p.x, p.y);
    pumpUntilIdle();
    EXPECT_FALSE(IsWindowVisible(tip));
    vt::advanceClock(1000);
    EXPECT_FALSE(IsWindowVisible(tip));
    DestroyWindow(tip);
}

TEST_F(TooltipTest, CallbackTextAndRectTools)
{
    HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, 0, 0, 0, 0, m_parent, nullptr, nullptr, nullptr);
    answer = [](NMHDR* h) -> LRESULT {
        if (h->code == TTN_GETDISPINFOA)
            strcpy(reinterpret_cast<NMTTDISPINFOA*>(h)->szText, "from parent");
        return 0;
    };
    TTTOOLINFOA ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_SUBCLASS;
    ti.hwnd = m_parent;
    ti.uId = 7;
    ti.rect = RECT{300, 300, 340, 340};
    ti.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    POINT p = screenOf(m_parent, 320, 320);
    vt::mouseMove(p.x, p.y);
    vt::advanceClock(600);
    EXPECT_TRUE(IsWindowVisible(tip));
    EXPECT_TRUE(last(TTN_GETDISPINFOA));
    // Moving the tool's rectangle away from the mouse: the next move leaves it.
    ti.rect = RECT{0, 0, 10, 10};
    SendMessageA(tip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&ti));
    vt::mouseMove(p.x + 1, p.y);
    pumpUntilIdle();
    EXPECT_FALSE(IsWindowVisible(tip));
    EXPECT_EQ(SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, 200), -1);
    SendMessageA(tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
    DestroyWindow(tip);
}

// Messages with null or out-of-range parameters answer quietly on every control.
TEST_F(ComctlTest, NullAndOutOfRangeParametersDoNotCrash)
{
    const char* classes[] = {PROGRESS_CLASSA, TRACKBAR_CLASSA, UPDOWN_CLASSA, WC_HEADERA, TOOLBARCLASSNAMEA, TOOLTIPS_CLASSA};
    for (const char* cls : classes) {
        HWND h = control(cls, 0, 10, 10, 200, 30);
        ASSERT_TRUE(h) << cls;
        for (UINT msg = WM_USER; msg < WM_USER + 120; ++msg) {
            SendMessageA(h, msg, 0, 0);
            SendMessageA(h, msg, static_cast<WPARAM>(-1), 0);
            SendMessageA(h, msg, 7, 0);
        }
        for (UINT msg = 0x1200; msg < 0x1220; ++msg)
            SendMessageA(h, msg, static_cast<WPARAM>(-1), 0);
        UpdateWindow(h);
        pumpUntilIdle();
        EXPECT_TRUE(IsWindow(h)) << cls;
        DestroyWindow(h);
    }
}

TEST_F(ComctlTest, NoGdiLeaksOverManyPaintsAndClicks)
{
    HWND pb = control(PROGRESS_CLASSA, 0, 10, 10, 200, 20, 1);
    HWND tb = control(TRACKBAR_CLASSA, TBS_AUTOTICKS, 10, 40, 200, 40, 2);
    HWND hd = control(WC_HEADERA, HDS_BUTTONS | HDS_HOTTRACK, 10, 90, 300, 22, 3);
    HDITEMA it{};
    it.mask = HDI_WIDTH | HDI_TEXT;
    it.cxy = 100;
    char t[] = "Name";
    it.pszText = t;
    SendMessageA(hd, HDM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it));
    HWND ud = control(UPDOWN_CLASSA, 0, 220, 10, 16, 24, 4);
    size_t before = vt::liveGdiObjects();
    for (int k = 0; k < 1000; ++k) {
        SendMessageA(pb, PBM_SETPOS, static_cast<WPARAM>(k % 100), 0);
        for (HWND h : {pb, tb, hd, ud}) {
            InvalidateRect(h, nullptr, TRUE);
            UpdateWindow(h);
        }
        if (k % 50 == 0) {
            clickAt(tb, 100, 20);
            clickAt(hd, 50, 10);
            clickAt(ud, 8, 3);
        }
    }
    pumpUntilIdle();
    EXPECT_EQ(vt::liveGdiObjects(), before);
}

} // namespace
