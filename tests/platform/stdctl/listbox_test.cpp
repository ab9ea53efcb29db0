// List boxes driven by mouse, keyboard and LB_* messages.
#include "fixture.h"

#include <cstring>

using namespace stdtest;
namespace vt = velkaro::testing;

namespace {

class ListBoxTest : public StdCtlTest {
protected:
    HWND list(DWORD style, std::initializer_list<const char*> items, int h = 120)
    {
        HWND lb = make("ListBox", "", style, 10, 10, 150, h, 21, WS_EX_CLIENTEDGE);
        for (const char* s : items)
            SendMessageA(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        vt::pumpUntilIdle();
        return lb;
    }
    static int itemHeight(HWND lb) { return int(SendMessageA(lb, LB_GETITEMHEIGHT, 0, 0)); }
    // Clicks the middle of item i (which must be visible), late enough not to
    // pair with an earlier click into a double-click.
    static void clickItem(HWND lb, int i)
    {
        vt::advanceClock(1000);
        RECT r{};
        SendMessageA(lb, LB_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r));
        clickAt(lb, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    static std::vector<int> selected(HWND lb)
    {
        int n = int(SendMessageA(lb, LB_GETSELCOUNT, 0, 0));
        std::vector<int> out(size_t(n > 0 ? n : 0));
        if (n > 0)
            SendMessageA(lb, LB_GETSELITEMS, WPARAM(n), reinterpret_cast<LPARAM>(out.data()));
        return out;
    }
    static std::string itemText(HWND lb, int i)
    {
        char buf[256] = {};
        SendMessageA(lb, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(buf));
        return buf;
    }
};

TEST_F(ListBoxTest, ItemsAddInsertDeleteAndReset)
{
    HWND lb = list(LBS_NOTIFY, {"one", "two"});
    EXPECT_EQ(SendMessageA(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("three")), 2);
    EXPECT_EQ(SendMessageA(lb, LB_INSERTSTRING, 1, reinterpret_cast<LPARAM>("half")), 1);
    EXPECT_EQ(SendMessageA(lb, LB_INSERTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>("end")), 4);
    EXPECT_EQ(SendMessageA(lb, LB_INSERTSTRING, 99, reinterpret_cast<LPARAM>("x")), LB_ERR);
    EXPECT_EQ(SendMessageA(lb, LB_GETCOUNT, 0, 0), 5);
    EXPECT_EQ(itemText(lb, 1), "half");
    EXPECT_EQ(SendMessageA(lb, LB_GETTEXTLEN, 4, 0), 3);
    EXPECT_EQ(SendMessageA(lb, LB_GETTEXTLEN, 5, 0), LB_ERR);
    EXPECT_EQ(SendMessageA(lb, LB_GETTEXT, 9, reinterpret_cast<LPARAM>(nullptr)), LB_ERR);

    // The selection follows its item across inserts and deletes.
    EXPECT_EQ(SendMessageA(lb, LB_SETCURSEL, 2, 0), 2);
    SendMessageA(lb, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("zero"));
    EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(SendMessageA(lb, LB_DELETESTRING, 0, 0), 5); // the count left
    EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessageA(lb, LB_DELETESTRING, 2, 0), 4);
    EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessageA(lb, LB_DELETESTRING, 4, 0), LB_ERR);

    SendMessageA(lb, LB_SETITEMDATA, 1, 0x1234);
    EXPECT_EQ(SendMessageA(lb, LB_GETITEMDATA, 1, 0), 0x1234);
    EXPECT_EQ(SendMessageA(lb, LB_GETITEMDATA, 7, 0), LB_ERR);

    EXPECT_EQ(SendMessageA(lb, LB_RESETCONTENT, 0, 0), 0);
    EXPECT_EQ(SendMessageA(lb, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), LB_ERR);
    // Changes by message never notify.
    EXPECT_EQ(countCommands(21, LBN_SELCHANGE), 0u);
}

TEST_F(ListBoxTest, SortedListAndFinding)
{
    HWND lb = list(LBS_SORT, {"pear", "Apple", "banana", "apricot", "Pearl"});
    std::vector<std::string> order;
    for (int i = 0; i < 5; ++i)
        order.push_back(itemText(lb, i));
    EXPECT_EQ(order, (std::vector<std::string>{"Apple", "apricot", "banana", "pear", "Pearl"}));

    struct Case {
        UINT msg;
        int start;
        const char* text;
        LRESULT expect;
    } cases[] = {
        {LB_FINDSTRING, -1, "ap", 0},       // prefix, ignoring case
        {LB_FINDSTRING, 0, "ap", 1},        // searching starts after start
        {LB_FINDSTRING, 1, "ap", 0},        // and wraps round
        {LB_FINDSTRING, -1, "PEA", 3},
        {LB_FINDSTRING, -1, "kiwi", LB_ERR},
        {LB_FINDSTRINGEXACT, -1, "pea", LB_ERR}, // exact: no prefixes
        {LB_FINDSTRINGEXACT, -1, "PEARL", 4},
        {LB_FINDSTRINGEXACT, 4, "pearl", 4},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SendMessageA(lb, c.msg, WPARAM(c.start), reinterpret_cast<LPARAM>(c.text)), c.expect)
            << c.text << " from " << c.start;
    EXPECT_EQ(SendMessageA(lb, LB_FINDSTRING, WPARAM(-1), 0), LB_ERR);
    EXPECT_EQ(SendMessageA(lb, LB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>("ban")), 2);
    EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 2);
}

TEST_F(ListBoxTest, ClickSelectsAndNotifiesOnlyWithNotifyStyle)
{
    for (DWORD style : {DWORD(LBS_NOTIFY), DWORD(0)}) {
        parent.commands.clear();
        HWND lb = list(style, {"a", "b", "c"});
        clickItem(lb, 1);
        EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 1);
        EXPECT_EQ(GetFocus(), lb);
        clickItem(lb, 1); // the same item again changes nothing
        EXPECT_EQ(countCommands(21, LBN_SELCHANGE), style ? 1u : 0u);
        RECT r{};
        SendMessageA(lb, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
        POINT p = at(lb, 20, (r.top + r.bottom) / 2);
        vt::advanceClock(1000);
        vt::doubleClick(p.x, p.y);
        vt::pumpUntilIdle();
        EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 2);
        EXPECT_EQ(countCommands(21, LBN_DBLCLK), style ? 1u : 0u);
        // Clicking below the last item selects nothing new.
        vt::advanceClock(1000);
        clickAt(lb, 20, itemHeight(lb) * 3 + 10);
        EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), 2);
        DestroyWindow(lb);
    }
}

TEST_F(ListBoxTest, KeyboardMovesTheSelection)
{
    HWND lb = list(LBS_NOTIFY, {"alpha", "beta", "gamma", "delta", "epsilon", "zeta", "eta", "theta", "iota", "kappa",
                                "lambda", "mu"},
                   5 * 16);
    SetFocus(lb);
    struct Step {
        UINT key;
        const char* text;
        int expect;
    } steps[] = {{VK_DOWN, nullptr, 0}, {VK_DOWN, nullptr, 1}, {VK_END, nullptr, 11}, {VK_UP, nullptr, 10},
                 {VK_HOME, nullptr, 0},  {VK_NEXT, nullptr, -2}, {'G', "g", 2},          {'E', "e", 4},
                 {'E', "e", 6},          {VK_UP, nullptr, 5}};
    int visible = 0;
    {
        RECT rc;
        GetClientRect(lb, &rc);
        visible = rc.bottom / itemHeight(lb);
    }
    for (const Step& s : steps) {
        vt::pressKey(s.key, s.text);
        vt::pumpUntilIdle();
        int expect = s.expect == -2 ? visible - 1 : s.expect;
        EXPECT_EQ(SendMessageA(lb, LB_GETCURSEL, 0, 0), expect) << "key " << s.key;
        // The selection is always scrolled into view.
        int top = int(SendMessageA(lb, LB_GETTOPINDEX, 0, 0));
        EXPECT_TRUE(expect >= top && expect < top + visible) << "key " << s.key << " top " << top;
    }
    EXPECT_EQ(countCommands(21, LBN_SELCHANGE), std::size(steps));
}

TEST_F(ListBoxTest, MultipleSelectionTogglesPerClick)
{
    HWND lb = list(LBS_MULTIPLESEL | LBS_NOTIFY, {"a", "b", "c", "d"});
    clickItem(lb, 1);
    clickItem(lb, 3);
    EXPECT_EQ(selected(lb), (std::vector<int>{1, 3}));
    clickItem(lb, 1);
    EXPECT_EQ(selected(lb), (std::vector<int>{3}));
    EXPECT_EQ(countCommands(21, LBN_SELCHANGE), 3u);
    EXPECT_EQ(SendMessageA(lb, LB_GETCARETINDEX, 0, 0), 1);
    vt::pressKey(VK_DOWN);
    vt::pressKey(VK_SPACE, " ");
    vt::pumpUntilIdle();
    EXPECT_EQ(selected(lb), (std::vector<int>{2, 3}));
    // An arrow key reports a change here even though none happened.
    EXPECT_EQ(countCommands(21, LBN_SELCHANGE), 5u);

    EXPECT_EQ(SendMessageA(lb, LB_SETCURSEL, 0, 0), LB_ERR); // single-selection only
    EXPECT_EQ(SendMessageA(lb, LB_SETSEL, TRUE, -1), 0);
    EXPECT_EQ(SendMessageA(lb, LB_GETSELCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageA(lb, LB_SELITEMRANGE, FALSE, MAKELPARAM(1, 2)), 0);
    EXPECT_EQ(selected(lb), (std::vector<int>{0, 3}));
    EXPECT_EQ(SendMessageA(lb, LB_GETSEL, 3, 0), 1);
    EXPECT_EQ(SendMessageA(lb, LB_GETSEL, 1, 0), 0);
    EXPECT_EQ(SendMessageA(lb, LB_GETSEL, 9, 0), LB_ERR);
    EXPECT_EQ(SendMessageA(lb, LB_SETSEL, TRUE, 9), LB_ERR);
}

TEST_F(ListBoxTest, ExtendedSelectionWithShiftAndControl)
{
    HWND lb = list(LBS_EXTENDEDSEL | LBS_NOTIFY, {"a", "b", "c", "d", "e", "f"});
    clickItem(lb, 1);
    EXPECT_EQ(selected(lb), (std::vector<int>{1}));
    vt::keyDown(VK_SHIFT);
    clickItem(lb, 3);
    vt::keyUp(VK_SHIFT);
    EXPECT_EQ(selected(lb), (std::vector<int>{1, 2, 3}));
    vt::keyDown(VK_CONTROL);
    clickItem(lb, 5);
    clickItem(lb, 2);
    vt::keyUp(VK_CONTROL);
    EXPECT_EQ(selected(lb), (std::vector<int>{1, 3, 5}));
    clickItem(lb, 0); // a plain click selects only that item
    EXPECT_EQ(selected(lb), (std::vector<int>{0}));
    // Shift with arrows grows the range from the anchor.
    vt::keyDown(VK_SHIFT);
    vt::pressKey(VK_DOWN);
    vt::pressKey(VK_DOWN);
    vt::keyUp(VK_SHIFT);
    vt::pumpUntilIdle();
    EXPECT_EQ(selected(lb), (std::vector<int>{0, 1, 2}));
    vt::pressKey(VK_DOWN);
    vt::pumpUntilIdle();
    EXPECT_EQ(selected(lb), (std::vector<int>{3}));
    EXPECT_GE(countCommands(21, LBN_SELCHANGE), 7u);
}

TEST_F(ListBoxTest, DraggingExtendsTheSelection)
{
    HWND lb = list(LBS_EXTENDEDSEL, {"a", "b", "c", "d", "e"});
    int h = itemHeight(lb);
    POINT from = at(lb, 20, h / 2), to = at(lb, 20, 3 * h + h / 2);
    vt::mouseMove(from.x, from.y);
    vt::mouseDown();
    vt::mouseMove(to.x, to.y);
    vt::mouseUp();
    vt::pumpUntilIdle();
    EXPECT_EQ(selected(lb), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ListBoxTest, GeometryMessages)
{
    HWND lb = list(0, {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}, 64);
    int h = itemHeight(lb);
    ASSERT_GT(h, 0);
    RECT rc;
    GetClientRect(lb, &rc);
    RECT r{};
    EXPECT_EQ(SendMessageA(lb, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r)), 1);
    EXPECT_EQ(r.top, 2 * h);
    EXPECT_EQ(r.bottom, 3 * h);
    EXPECT_EQ(r.right, rc.right);
    EXPECT_EQ(SendMessageA(lb, LB_GETITEMRECT, 20, reinterpret_cast<LPARAM>(&r)), LB_ERR);
    EXPECT_EQ(SendMessageA(lb, LB_GETITEMRECT, 0, 0), LB_ERR);

    EXPECT_EQ(SendMessageA(lb, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, h + 1)), MAKELRESULT(1, 0));
    EXPECT_EQ(SendMessageA(lb, LB_SETTOPINDEX, 4, 0), 0);
    EXPECT_EQ(SendMessageA(lb, LB_GETTOPINDEX, 0, 0), 4);
    EXPECT_EQ(SendMessageA(lb, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, h + 1)), MAKELRESULT(5, 0));
    EXPECT_EQ(SendMessageA(lb, LB_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&r)), 1);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(SendMessageA(lb, LB_SETTOPINDEX, 30, 0), LB_ERR);

    // A point below the last item answers the last item, flagged outside.
    SendMessageA(lb, LB_SETTOPINDEX, 0, 0);
    SendMessageA(lb, LB_RESETCONTENT, 0, 0);
    SendMessageA(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("only"));
    EXPECT_EQ(SendMessageA(lb, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 3 * h)), MAKELRESULT(0, 1));

    EXPECT_EQ(SendMessageA(lb, LB_SETITEMHEIGHT, 0, MAKELPARAM(25, 0)), 0);
    EXPECT_EQ(itemHeight(lb), 25);
    EXPECT_EQ(SendMessageA(lb, LB_SETITEMHEIGHT, 0, MAKELPARAM(0, 0)), LB_ERR);
    EXPECT_EQ(SendMessageA(lb, LB_SETITEMHEIGHT, 0, MAKELPARAM(300, 0)), LB_ERR);
}

TEST_F(ListBoxTest, ScrollBarAppearsWhenItemsOverflowAndWheelScrolls)
{
    HWND lb = list(WS_VSCROLL, {"a", "b"}, 80);
    RECT before;
    GetClientRect(lb, &before);
    EXPECT_FALSE(GetWindowLongA(lb, GWL_STYLE) & WS_VSCROLL);
    for (int i = 0; i < 20; ++i)
        SendMessageA(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("more"));
    vt::pumpUntilIdle();
    RECT after;
    GetClientRect(lb, &after);
    EXPECT_TRUE(GetWindowLongA(lb, GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(after.right, before.right - GetSystemMetrics(SM_CXVSCROLL));
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(lb, SB_VERT, &si));
    EXPECT_EQ(si.nMax, 21);
    EXPECT_EQ(int(si.nPage), after.bottom / itemHeight(lb));

    SetFocus(lb);
    POINT c = center(lb);
    vt::mouseMove(c.x, c.y);
    vt::wheel(-WHEEL_DELTA);
    vt::pumpUntilIdle();
    EXPECT_EQ(SendMessageA(lb, LB_GETTOPINDEX, 0, 0), 3);
    si.fMask = SIF_POS;
    GetScrollInfo(lb, SB_VERT, &si);
    EXPECT_EQ(si.nPos, 3);
    vt::wheel(WHEEL_DELTA * 4);
    vt::pumpUntilIdle();
    EXPECT_EQ(SendMessageA(lb, LB_GETTOPINDEX, 0, 0), 0);
    SendMessageA(lb, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(SendMessageA(lb, LB_GETTOPINDEX, 0, 0), 22 - int(si.nPage));

    // Emptied again, the bar goes.
    SendMessageA(lb, LB_RESETCONTENT, 0, 0);
    EXPECT_FALSE(GetWindowLongA(lb, GWL_STYLE) & WS_VSCROLL);
    SendMessageA(lb, LB_SETTOPINDEX, 0, 0);
    for (int i = 0; i < 20; ++i)
        SendMessageA(lb, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("back"));
    EXPECT_TRUE(GetWindowLongA(lb, GWL_STYLE) & WS_VSCROLL);
}

TEST_F(ListBoxTest, OwnerDrawFixedMeasuresOnceAndDrawsEachVisibleItem)
{
    std::vector<MEASUREITEMSTRUCT> measures;
    parent.extra = [&](HWND, UINT msg, WPARAM, LPARAM lp, bool& handled) -> LRESULT {
        if (msg == WM_MEASUREITEM) {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
            measures.push_back(*mis);
            mis->itemHeight = 30;
            handled = true;
            return TRUE;
        }
        return 0;
    };
    HWND lb = make("ListBox", "", LBS_OWNERDRAWFIXED | LBS_NOTIFY, 10, 10, 150, 100, 22);
    ASSERT_EQ(measures.size(), 1u);
    EXPECT_EQ(measures[0].CtlType, UINT(ODT_LISTBOX));
    EXPECT_EQ(measures[0].CtlID, 22u);
    EXPECT_EQ(itemHeight(lb), 30);

    // Without LBS_HASSTRINGS an item is its data.
    for (ULONG_PTR d : {ULONG_PTR(0x11), ULONG_PTR(0x22), ULONG_PTR(0x33), ULONG_PTR(0x44), ULONG_PTR(0x55)})
        SendMessageA(lb, LB_ADDSTRING, 0, LPARAM(d));
    EXPECT_EQ(SendMessageA(lb, LB_GETITEMDATA, 1, 0), 0x22);
    ULONG_PTR got = 0;
    EXPECT_EQ(SendMessageA(lb, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(&got)), LRESULT(sizeof(ULONG_PTR)));
    EXPECT_EQ(got, 0x33u);
    EXPECT_EQ(SendMessageA(lb, LB_FINDSTRING, WPARAM(-1), LPARAM(0x44)), 3);
    SendMessageA(lb, LB_SETCURSEL, 1, 0);
    parent.draws.clear();
    InvalidateRect(lb, nullptr, TRUE);
    UpdateWindow(lb);
    RECT rc;
    GetClientRect(lb, &rc);
    size_t visible = size_t((rc.bottom + 29) / 30);
    ASSERT_EQ(parent.draws.size(), visible);
    for (size_t i = 0; i < parent.draws.size(); ++i) {
        const DRAWITEMSTRUCT& d = parent.draws[i];
        EXPECT_EQ(d.CtlType, UINT(ODT_LISTBOX));
        EXPECT_EQ(d.itemID, UINT(i));
        EXPECT_EQ(d.hwndItem, lb);
        EXPECT_EQ(d.itemData, 0x11u * (i + 1));
        EXPECT_EQ(d.rcItem.top, LONG(30 * i));
        EXPECT_EQ(bool(d.itemState & ODS_SELECTED), i == 1);
    }
}

TEST_F(ListBoxTest, ShowsWholeItemsUnlessToldOtherwise)
{
    for (DWORD style : {DWORD(0), DWORD(LBS_NOINTEGRALHEIGHT)}) {
        HWND lb = list(style, {"a", "b", "c", "d", "e", "f", "g", "h"}, 10 * 16 + 7);
        int h = itemHeight(lb);
        RECT rc;
        GetClientRect(lb, &rc);
        if (style)
            EXPECT_NE(rc.bottom % h, 0);
        else
            EXPECT_EQ(rc.bottom % h, 0);
        SetWindowPos(lb, nullptr, 0, 0, 150, 5 * h + h / 2, SWP_NOMOVE | SWP_NOZORDER);
        GetClientRect(lb, &rc);
        EXPECT_EQ(rc.bottom % h == 0, style == 0);
        DestroyWindow(lb);
    }
}

TEST_F(ListBoxTest, SelectionIsPainted)
{
    HWND lb = list(0, {"first", "second"});
    SendMessageA(lb, LB_SETCURSEL, 1, 0);
    UpdateWindow(lb);
    vt::pumpUntilIdle();
    int h = itemHeight(lb);
    POINT sel{120, h + h / 2}, plain{120, h / 2};
    MapWindowPoints(lb, nullptr, &sel, 1);
    MapWindowPoints(lb, nullptr, &plain, 1);
    EXPECT_EQ(vt::screenPixel(sel.x, sel.y), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(vt::screenPixel(plain.x, plain.y), GetSysColor(COLOR_WINDOW));
}

} // namespace
