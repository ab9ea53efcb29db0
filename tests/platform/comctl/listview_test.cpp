// List view: report columns and the header child, items and subitems,
// selection by mouse and keyboard with its notifications, scrolling, the
// simple icon/list layout, odd parameters, GDI balance and a screenshot.
#include "comctl_fixture.h"

#include <cstring>
#include <set>
#include <string>

using namespace vktest;
namespace vt = velkaro::testing;

namespace {

class ListViewTest : public ComctlTest {
protected:
    HWND listView(DWORD style, int w = 300, int h = 200, DWORD exStyle = 0)
    {
        HWND lv = CreateWindowExA(exStyle, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | style, 10, 10, w, h, m_parent,
                                  reinterpret_cast<HMENU>(INT_PTR(100)), nullptr, nullptr);
        pumpUntilIdle();
        return lv;
    }
    HWND report(DWORD style = 0, int w = 300, int h = 200)
    {
        HWND lv = listView(LVS_REPORT | style, w, h);
        addColumn(lv, 0, "Name", 100);
        addColumn(lv, 1, "Size", 60, LVCFMT_RIGHT);
        addColumn(lv, 2, "Type", 80);
        return lv;
    }
    static int addColumn(HWND lv, int index, const char* text, int cx, int fmt = LVCFMT_LEFT)
    {
        LVCOLUMNA c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        c.pszText = const_cast<char*>(text);
        c.cx = cx;
        c.fmt = fmt;
        return static_cast<int>(SendMessageA(lv, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&c)));
    }
    static int addItem(HWND lv, int index, const char* text, LPARAM param = 0)
    {
        LVITEMA it{};
        it.mask = LVIF_TEXT | LVIF_PARAM;
        it.iItem = index;
        it.pszText = const_cast<char*>(text);
        it.lParam = param;
        return static_cast<int>(SendMessageA(lv, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it)));
    }
    static void fill(HWND lv, int n)
    {
        for (int i = 0; i < n; ++i) {
            std::string name = "item " + std::to_string(i);
            addItem(lv, i, name.c_str(), 1000 + i);
            setSub(lv, i, 1, std::to_string(i * 10).c_str());
            setSub(lv, i, 2, "file");
        }
        pumpUntilIdle();
    }
    static BOOL setSub(HWND lv, int i, int sub, const char* text)
    {
        LVITEMA it{};
        it.iSubItem = sub;
        it.pszText = const_cast<char*>(text);
        return static_cast<BOOL>(SendMessageA(lv, LVM_SETITEMTEXTA, i, reinterpret_cast<LPARAM>(&it)));
    }
    static std::string text(HWND lv, int i, int sub = 0)
    {
        char buf[64] = {};
        LVITEMA it{};
        it.iSubItem = sub;
        it.pszText = buf;
        it.cchTextMax = sizeof buf;
        SendMessageA(lv, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&it));
        return buf;
    }
    static std::vector<int> selected(HWND lv)
    {
        std::vector<int> out;
        for (int i = -1; (i = static_cast<int>(SendMessageA(lv, LVM_GETNEXTITEM, i, LVNI_SELECTED))) >= 0;)
            out.push_back(i);
        return out;
    }
    static int focused(HWND lv) { return static_cast<int>(SendMessageA(lv, LVM_GETNEXTITEM, -1, LVNI_FOCUSED)); }
    static RECT itemRect(HWND lv, int i, int code = LVIR_BOUNDS)
    {
        RECT r{code, 0, 0, 0};
        SendMessageA(lv, LVM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    static void clickItem(HWND lv, int i, unsigned modifier = 0)
    {
        RECT r = itemRect(lv, i, LVIR_LABEL);
        if (modifier)
            vt::keyDown(modifier);
        clickAt(lv, r.left + 5, (r.top + r.bottom) / 2);
        if (modifier)
            vt::keyUp(modifier);
        pumpUntilIdle();
    }
    static void key(unsigned vk, unsigned modifier = 0)
    {
        if (modifier)
            vt::keyDown(modifier);
        vt::pressKey(vk);
        if (modifier)
            vt::keyUp(modifier);
        pumpUntilIdle();
    }
    std::vector<NMLISTVIEW> changed() const
    {
        std::vector<NMLISTVIEW> out;
        for (auto& t : told)
            if (t.msg == WM_NOTIFY && t.code == LVN_ITEMCHANGED)
                out.push_back(t.as<NMLISTVIEW>());
        return out;
    }
    static int topIndex(HWND lv) { return static_cast<int>(SendMessageA(lv, LVM_GETTOPINDEX, 0, 0)); }
};

TEST_F(ListViewTest, ReportColumnsLiveInTheHeaderChild)
{
    HWND lv = report();
    HWND hd = reinterpret_cast<HWND>(SendMessageA(lv, LVM_GETHEADER, 0, 0));
    ASSERT_TRUE(IsWindow(hd));
    char cls[32] = {};
    GetClassNameA(hd, cls, sizeof cls);
    EXPECT_STREQ(cls, WC_HEADERA);
    EXPECT_EQ(GetParent(hd), lv);
    EXPECT_TRUE(IsWindowVisible(hd));
    EXPECT_EQ(SendMessageA(hd, HDM_GETITEMCOUNT, 0, 0), 3);

    char buf[32] = {};
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    c.pszText = buf;
    c.cchTextMax = sizeof buf;
    ASSERT_TRUE(SendMessageA(lv, LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&c)));
    EXPECT_STREQ(buf, "Size");
    EXPECT_EQ(c.cx, 60);
    EXPECT_EQ(c.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);
    EXPECT_EQ(c.iSubItem, 1);

    // Widths go through the header and come back from it.
    EXPECT_TRUE(SendMessageA(lv, LVM_SETCOLUMNWIDTH, 2, MAKELPARAM(120, 0)));
    EXPECT_EQ(SendMessageA(lv, LVM_GETCOLUMNWIDTH, 2, 0), 120);
    HDITEMA hi{};
    hi.mask = HDI_WIDTH;
    SendMessageA(hd, HDM_GETITEMA, 2, reinterpret_cast<LPARAM>(&hi));
    EXPECT_EQ(hi.cxy, 120);
    // The last column can take up the rest of the row.
    EXPECT_TRUE(SendMessageA(lv, LVM_SETCOLUMNWIDTH, 2, MAKELPARAM(LVSCW_AUTOSIZE_USEHEADER, 0)));
    RECT rc;
    GetClientRect(lv, &rc);
    EXPECT_GE(SendMessageA(lv, LVM_GETCOLUMNWIDTH, 2, 0), rc.right - 160);

    strcpy(buf, "Kind");
    c.mask = LVCF_TEXT;
    EXPECT_TRUE(SendMessageA(lv, LVM_SETCOLUMNA, 2, reinterpret_cast<LPARAM>(&c)));
    char back[32] = {};
    hi.mask = HDI_TEXT;
    hi.pszText = back;
    hi.cchTextMax = sizeof back;
    SendMessageA(hd, HDM_GETITEMA, 2, reinterpret_cast<LPARAM>(&hi));
    EXPECT_STREQ(back, "Kind");

    EXPECT_TRUE(SendMessageA(lv, LVM_DELETECOLUMN, 1, 0));
    EXPECT_EQ(SendMessageA(hd, HDM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_FALSE(SendMessageA(lv, LVM_DELETECOLUMN, 5, 0));
    EXPECT_FALSE(SendMessageA(lv, LVM_GETCOLUMNA, 7, reinterpret_cast<LPARAM>(&c)));
    EXPECT_EQ(SendMessageA(lv, LVM_INSERTCOLUMNA, 0, 0), -1);

    // Outside report view there is no header on screen.
    SetWindowLongA(lv, GWL_STYLE, (GetWindowLongA(lv, GWL_STYLE) & ~LVS_TYPEMASK) | LVS_LIST);
    pumpUntilIdle();
    EXPECT_FALSE(IsWindowVisible(hd));
}

TEST_F(ListViewTest, HeaderClicksAndDragsReachTheListAndItsParent)
{
    HWND lv = report();
    fill(lv, 3);
    HWND hd = reinterpret_cast<HWND>(SendMessageA(lv, LVM_GETHEADER, 0, 0));
    clickAt(hd, 130, 8); // on "Size"
    const Told* cc = last(LVN_COLUMNCLICK);
    ASSERT_TRUE(cc);
    EXPECT_EQ(cc->as<NMLISTVIEW>().iSubItem, 1);
    EXPECT_EQ(cc->as<NMLISTVIEW>().hdr.hwndFrom, lv);

    // Dragging the divider after "Name" resizes the first column.
    RECT before = itemRect(lv, 0, LVIR_LABEL);
    POINT p = screenOf(hd, 100, 8);
    vt::mouseMove(p.x, p.y);
    vt::mouseDown();
    vt::mouseMove(p.x + 40, p.y);
    vt::mouseUp();
    pumpUntilIdle();
    EXPECT_EQ(SendMessageA(lv, LVM_GETCOLUMNWIDTH, 0, 0), 140);
    EXPECT_EQ(itemRect(lv, 0, LVIR_LABEL).right, before.right + 40);
    EXPECT_TRUE(last(HDN_ITEMCHANGEDA)); // forwarded to the list's parent

    // A parent that refuses HDN_BEGINTRACK keeps the width.
    answer = [](NMHDR* h) -> LRESULT { return h->code == HDN_BEGINTRACKA; };
    p = screenOf(hd, 140, 8);
    vt::mouseMove(p.x, p.y);
    vt::mouseDown();
    vt::mouseMove(p.x - 50, p.y);
    vt::mouseUp();
    pumpUntilIdle();
    EXPECT_EQ(SendMessageA(lv, LVM_GETCOLUMNWIDTH, 0, 0), 140);
}

TEST_F(ListViewTest, ItemsAndSubitemsRoundTrip)
{
    HWND lv = report();
    EXPECT_EQ(addItem(lv, 0, "beta", 11), 0);
    EXPECT_EQ(addItem(lv, 0, "alpha", 10), 0);
    EXPECT_EQ(addItem(lv, 99, "gamma", 12), 2); // past the end appends
    EXPECT_EQ(SendMessageA(lv, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(text(lv, 0), "alpha");
    EXPECT_EQ(text(lv, 2), "gamma");
    EXPECT_TRUE(setSub(lv, 1, 2, "doc"));
    EXPECT_EQ(text(lv, 1, 2), "doc");
    EXPECT_EQ(text(lv, 1, 1), "");
    EXPECT_FALSE(setSub(lv, 1, 3, "no column"));
    EXPECT_FALSE(setSub(lv, 3, 0, "no item"));

    char buf[4] = {};
    LVITEMA it{};
    it.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE | LVIF_STATE;
    it.iItem = 1;
    it.pszText = buf;
    it.cchTextMax = sizeof buf;
    it.stateMask = ~0u;
    ASSERT_TRUE(SendMessageA(lv, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it)));
    EXPECT_STREQ(buf, "bet"); // cut to the buffer
    EXPECT_EQ(it.lParam, 11);
    EXPECT_EQ(it.state, 0u);
    LVITEMA len{};
    len.pszText = buf;
    len.cchTextMax = sizeof buf;
    EXPECT_EQ(SendMessageA(lv, LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&len)), 3);

    LVITEMA set{};
    set.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_TEXT;
    set.iItem = 2;
    set.iImage = 4;
    set.lParam = 77;
    set.state = LVIS_SELECTED | LVIS_CUT;
    set.stateMask = LVIS_SELECTED | LVIS_CUT;
    set.pszText = const_cast<char*>("delta");
    ASSERT_TRUE(SendMessageA(lv, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&set)));
    LVITEMA get{};
    get.mask = LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    get.iItem = 2;
    get.stateMask = LVIS_SELECTED;
    ASSERT_TRUE(SendMessageA(lv, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&get)));
    EXPECT_EQ(get.iImage, 4);
    EXPECT_EQ(get.lParam, 77);
    EXPECT_EQ(get.state, static_cast<UINT>(LVIS_SELECTED));
    EXPECT_EQ(SendMessageA(lv, LVM_GETITEMSTATE, 2, LVIS_CUT | LVIS_FOCUSED), LVIS_CUT);
    EXPECT_EQ(text(lv, 2), "delta");
    EXPECT_EQ(SendMessageA(lv, LVM_GETSELECTEDCOUNT, 0, 0), 1);

    // Callback text comes from the parent when asked for.
    answer = [](NMHDR* h) -> LRESULT {
        if (h->code == LVN_GETDISPINFOA) {
            auto* di = reinterpret_cast<NMLVDISPINFOA*>(h);
            snprintf(di->item.pszText, size_t(di->item.cchTextMax), "cb%d.%d", di->item.iItem, di->item.iSubItem);
        }
        return 0;
    };
    EXPECT_TRUE(setSub(lv, 0, 1, LPSTR_TEXTCALLBACKA));
    EXPECT_EQ(text(lv, 0, 1), "cb0.1");
    answer = nullptr;

    told.clear();
    EXPECT_TRUE(SendMessageA(lv, LVM_DELETEITEM, 1, 0));
    const Told* del = last(LVN_DELETEITEM);
    ASSERT_TRUE(del);
    EXPECT_EQ(del->as<NMLISTVIEW>().iItem, 1);
    EXPECT_EQ(del->as<NMLISTVIEW>().lParam, 11);
    EXPECT_EQ(text(lv, 1), "delta");
    EXPECT_FALSE(SendMessageA(lv, LVM_DELETEITEM, 2, 0));

    told.clear();
    EXPECT_TRUE(SendMessageA(lv, LVM_DELETEALLITEMS, 0, 0));
    EXPECT_EQ(SendMessageA(lv, LVM_GETITEMCOUNT, 0, 0), 0);
    std::vector<UINT> expect = {LVN_DELETEALLITEMS, LVN_DELETEITEM, LVN_DELETEITEM};
    EXPECT_EQ(codes(), expect);
}

TEST_F(ListViewTest, SortedStylesPlaceNewItems)
{
    struct Case {
        DWORD style;
        const char* order;
    } cases[] = {{LVS_SORTASCENDING, "ABC"}, {LVS_SORTDESCENDING, "CBA"}, {0, "BCA"}};
    for (const Case& c : cases) {
        HWND lv = listView(LVS_REPORT | c.style);
        addColumn(lv, 0, "Name", 100);
        for (const char* t : {"B", "C", "A"})
            addItem(lv, 99, t);
        std::string got = text(lv, 0) + text(lv, 1) + text(lv, 2);
        EXPECT_EQ(got, c.order) << c.style;
        DestroyWindow(lv);
    }
}

TEST_F(ListViewTest, MouseSelectsWithCtrlAndShift)
{
    HWND lv = report();
    fill(lv, 8);
    clickItem(lv, 2);
    EXPECT_EQ(selected(lv), std::vector<int>({2}));
    EXPECT_EQ(focused(lv), 2);
    EXPECT_EQ(GetFocus(), lv);
    const Told* c = last(NM_CLICK);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->as<NMITEMACTIVATE>().iItem, 2);
    auto ch = changed();
    ASSERT_FALSE(ch.empty());
    EXPECT_EQ(ch.back().iItem, 2);
    EXPECT_TRUE(ch.back().uNewState & LVIS_SELECTED);
    EXPECT_EQ(ch.back().uChanged, static_cast<UINT>(LVIF_STATE));

    clickItem(lv, 4, VK_CONTROL);
    EXPECT_EQ(selected(lv), std::vector<int>({2, 4}));
    EXPECT_EQ(last(NM_CLICK)->as<NMITEMACTIVATE>().uKeyFlags, static_cast<UINT>(LVKF_CONTROL));
    clickItem(lv, 2, VK_CONTROL); // toggles off
    EXPECT_EQ(selected(lv), std::vector<int>({4}));
    clickItem(lv, 6, VK_SHIFT); // range from the last ctrl-click
    EXPECT_EQ(selected(lv), std::vector<int>({2, 3, 4, 5, 6}));
    EXPECT_EQ(SendMessageA(lv, LVM_GETSELECTEDCOUNT, 0, 0), 5);
    EXPECT_EQ(focused(lv), 6);
    clickItem(lv, 3, VK_SHIFT); // the anchor stays
    EXPECT_EQ(selected(lv), std::vector<int>({2, 3}));
    clickItem(lv, 1);
    EXPECT_EQ(selected(lv), std::vector<int>({1}));

    // Below the last item: nothing selected, NM_CLICK names no item.
    clickAt(lv, 50, 180);
    EXPECT_TRUE(selected(lv).empty());
    EXPECT_EQ(last(NM_CLICK)->as<NMITEMACTIVATE>().iItem, -1);

    // The parent may refuse a change.
    answer = [](NMHDR* h) -> LRESULT { return h->code == LVN_ITEMCHANGING; };
    clickItem(lv, 3);
    EXPECT_TRUE(selected(lv).empty());
    answer = nullptr;

    told.clear();
    RECT r = itemRect(lv, 5, LVIR_LABEL);
    POINT p = screenOf(lv, r.left + 5, (r.top + r.bottom) / 2);
    vt::doubleClick(p.x, p.y);
    pumpUntilIdle();
    const Told* dbl = last(NM_DBLCLK);
    ASSERT_TRUE(dbl);
    EXPECT_EQ(dbl->as<NMITEMACTIVATE>().iItem, 5);
    EXPECT_TRUE(last(LVN_ITEMACTIVATE));
}

TEST_F(ListViewTest, SingleSelectionIgnoresModifiers)
{
    HWND lv = report(LVS_SINGLESEL);
    fill(lv, 5);
    clickItem(lv, 1);
    clickItem(lv, 3, VK_CONTROL);
    EXPECT_EQ(selected(lv), std::vector<int>({3}));
    clickItem(lv, 0, VK_SHIFT);
    EXPECT_EQ(selected(lv), std::vector<int>({0}));
    // Selecting by message also keeps one selected item.
    LVITEMA st{};
    st.state = st.stateMask = LVIS_SELECTED;
    SendMessageA(lv, LVM_SETITEMSTATE, 4, reinterpret_cast<LPARAM>(&st));
    EXPECT_EQ(selected(lv), std::vector<int>({4}));
}

TEST_F(ListViewTest, FullRowSelectWidensTheClickTarget)
{
    HWND lv = report();
    fill(lv, 3);
    RECT r = itemRect(lv, 1);
    clickAt(lv, 200, (r.top + r.bottom) / 2); // on the "Type" column
    EXPECT_TRUE(selected(lv).empty());
    EXPECT_EQ(SendMessageA(lv, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT), 0);
    EXPECT_EQ(SendMessageA(lv, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), LVS_EX_FULLROWSELECT);
    clickAt(lv, 200, (r.top + r.bottom) / 2);
    EXPECT_EQ(selected(lv), std::vector<int>({1}));
    LVHITTESTINFO hit{};
    hit.pt = POINT{200, (r.top + r.bottom) / 2};
    EXPECT_EQ(SendMessageA(lv, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
    EXPECT_EQ(hit.iSubItem, 2);
}

TEST_F(ListViewTest, KeyboardMovesFocusAndSelection)
{
    HWND lv = report(0, 300, 120);
    fill(lv, 30);
    clickItem(lv, 0);
    int page = static_cast<int>(SendMessageA(lv, LVM_GETCOUNTPERPAGE, 0, 0));
    ASSERT_GT(page, 2);
    struct Step {
        unsigned vk;
        int expect;
    } steps[] = {
        {VK_DOWN, 1}, {VK_DOWN, 2}, {VK_UP, 1}, {VK_END, 29}, {VK_HOME, 0},
        {VK_NEXT, page - 1}, {VK_NEXT, 2 * page - 2}, {VK_PRIOR, page - 1}, {VK_UP, page - 2},
    };
    for (const Step& s : steps) {
        told.clear();
        key(s.vk);
        EXPECT_EQ(focused(lv), s.expect) << s.vk;
        EXPECT_EQ(selected(lv), std::vector<int>({s.expect})) << s.vk;
        const Told* kd = last(LVN_KEYDOWN);
        ASSERT_TRUE(kd);
        EXPECT_EQ(kd->as<NMLVKEYDOWN>().wVKey, s.vk);
        // The focused item is always scrolled into view.
        int top = topIndex(lv);
        EXPECT_GE(s.expect, top) << s.vk;
        EXPECT_LT(s.expect, top + page) << s.vk;
    }
    key(VK_HOME);
    key(VK_DOWN, VK_SHIFT);
    key(VK_DOWN, VK_SHIFT);
    EXPECT_EQ(selected(lv), std::vector<int>({0, 1, 2}));
    key(VK_DOWN, VK_CONTROL); // focus moves alone
    EXPECT_EQ(focused(lv), 3);
    EXPECT_EQ(selected(lv), std::vector<int>({0, 1, 2}));
    vt::keyDown(VK_CONTROL);
    key(VK_SPACE);
    vt::keyUp(VK_CONTROL);
    pumpUntilIdle();
    EXPECT_EQ(selected(lv), std::vector<int>({0, 1, 2, 3}));
    EXPECT_EQ(SendMessageA(lv, WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);
}

TEST_F(ListViewTest, ScrollBarsAppearWhenRowsOverflowAndTheWheelScrolls)
{
    HWND lv = report(0, 300, 150);
    fill(lv, 3);
    EXPECT_FALSE(GetWindowLongA(lv, GWL_STYLE) & WS_VSCROLL);
    fill(lv, 40);
    EXPECT_TRUE(GetWindowLongA(lv, GWL_STYLE) & WS_VSCROLL);
    EXPECT_FALSE(GetWindowLongA(lv, GWL_STYLE) & WS_HSCROLL);
    int page = static_cast<int>(SendMessageA(lv, LVM_GETCOUNTPERPAGE, 0, 0));
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(lv, SB_VERT, &si));
    EXPECT_EQ(si.nMax, 42);
    EXPECT_EQ(static_cast<int>(si.nPage), page);

    SetFocus(lv); // the wheel turns in the focused window
    RECT r = itemRect(lv, 0);
    POINT p = screenOf(lv, 50, r.bottom + 5);
    vt::mouseMove(p.x, p.y);
    vt::wheel(-WHEEL_DELTA);
    pumpUntilIdle();
    EXPECT_EQ(topIndex(lv), 3);
    EXPECT_EQ(GetScrollPos(lv, SB_VERT), 3);
    EXPECT_EQ(itemRect(lv, 3).top, r.top); // row 3 is where row 0 was
    vt::wheel(2 * WHEEL_DELTA);
    pumpUntilIdle();
    EXPECT_EQ(topIndex(lv), 0);

    SendMessageA(lv, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(topIndex(lv), 1);
    SendMessageA(lv, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(topIndex(lv), 43 - page);
    EXPECT_TRUE(SendMessageA(lv, LVM_ENSUREVISIBLE, 0, FALSE));
    EXPECT_EQ(topIndex(lv), 0);
    EXPECT_FALSE(SendMessageA(lv, LVM_ENSUREVISIBLE, 99, FALSE));

    // Columns wider than the window bring the horizontal bar; it moves the header too.
    SendMessageA(lv, LVM_SETCOLUMNWIDTH, 2, MAKELPARAM(400, 0));
    pumpUntilIdle();
    EXPECT_TRUE(GetWindowLongA(lv, GWL_STYLE) & WS_HSCROLL);
    HWND hd = reinterpret_cast<HWND>(SendMessageA(lv, LVM_GETHEADER, 0, 0));
    SendMessageA(lv, WM_HSCROLL, SB_PAGERIGHT, 0);
    RECT hr;
    GetWindowRect(hd, &hr);
    POINT origin = screenOf(lv, 0, 0);
    EXPECT_LT(hr.left, origin.x);
    EXPECT_EQ(itemRect(lv, 0).left, hr.left - origin.x);

    SendMessageA(lv, LVM_DELETEALLITEMS, 0, 0);
    pumpUntilIdle();
    EXPECT_FALSE(GetWindowLongA(lv, GWL_STYLE) & WS_VSCROLL);
}

TEST_F(ListViewTest, HitTestAgreesWithItemRectangles)
{
    HWND lv = report();
    fill(lv, 5);
    for (int i = 0; i < 5; ++i) {
        RECT label = itemRect(lv, i, LVIR_LABEL);
        LVHITTESTINFO hit{};
        hit.pt = POINT{label.left + 3, (label.top + label.bottom) / 2};
        EXPECT_EQ(SendMessageA(lv, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), i);
        EXPECT_EQ(hit.flags, static_cast<UINT>(LVHT_ONITEMLABEL));
    }
    struct Miss {
        POINT pt;
        UINT flags;
    } misses[] = {{{50, 190}, LVHT_NOWHERE}, {{-5, 40}, LVHT_TOLEFT}, {{50, -3}, LVHT_ABOVE}, {{50, 900}, LVHT_BELOW}};
    for (const Miss& m : misses) {
        LVHITTESTINFO hit{};
        hit.pt = m.pt;
        EXPECT_EQ(SendMessageA(lv, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
        EXPECT_EQ(hit.flags, m.flags) << m.pt.x << "," << m.pt.y;
    }
    RECT bad{LVIR_BOUNDS, 0, 0, 0};
    EXPECT_FALSE(SendMessageA(lv, LVM_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&bad)));
    bad.left = 17;
    EXPECT_FALSE(SendMessageA(lv, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&bad)));
    RECT sub{LVIR_BOUNDS, 1, 0, 0};
    ASSERT_TRUE(SendMessageA(lv, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&sub)));
    EXPECT_EQ(sub.left, 100);
    EXPECT_EQ(sub.right, 160);
}

TEST_F(ListViewTest, ListAndIconViewsShareAGridLayout)
{
    for (DWORD view : {static_cast<DWORD>(LVS_LIST), static_cast<DWORD>(LVS_ICON), static_cast<DWORD>(LVS_SMALLICON)}) {
        HWND lv = listView(view, 300, 200);
        fill(lv, 12);
        RECT a = itemRect(lv, 0), b = itemRect(lv, 1);
        EXPECT_EQ(a.top, b.top) << view;
        EXPECT_EQ(a.right, b.left) << view;
        clickItem(lv, 1);
        key(VK_RIGHT);
        EXPECT_EQ(focused(lv), 2) << view;
        int perRow = 300 / (a.right - a.left);
        key(VK_DOWN);
        EXPECT_EQ(focused(lv), 2 + perRow) << view;
        EXPECT_EQ(SendMessageA(lv, LVM_GETNEXTITEM, 2, LVNI_BELOW), 2 + perRow) << view;
        EXPECT_EQ(SendMessageA(lv, LVM_GETNEXTITEM, 2, LVNI_TOLEFT), 1) << view;
        DestroyWindow(lv);
    }
}

TEST_F(ListViewTest, ColoursFontsAndImageLists)
{
    HWND lv = report();
    fill(lv, 2);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(lv, LVM_GETBKCOLOR, 0, 0)), GetSysColor(COLOR_WINDOW));
    EXPECT_TRUE(SendMessageA(lv, LVM_SETBKCOLOR, 0, RGB(10, 80, 20)));
    EXPECT_EQ(SendMessageA(lv, LVM_GETBKCOLOR, 0, 0), RGB(10, 80, 20));
    EXPECT_TRUE(SendMessageA(lv, LVM_SETTEXTCOLOR, 0, RGB(250, 250, 0)));
    EXPECT_EQ(SendMessageA(lv, LVM_GETTEXTCOLOR, 0, 0), RGB(250, 250, 0));
    SendMessageA(lv, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES);
    UpdateWindow(lv);
    RECT r = itemRect(lv, 1);
    POINT w = {r.left + 10 + 0, r.bottom + 20}; // an empty part of the client
    POINT origin = screenOf(lv, 0, 0);
    RECT wr;
    GetWindowRect(lv, &wr);
    auto pixel = [&](int x, int y) { return vt::windowPixel(lv, x + origin.x - wr.left, y + origin.y - wr.top); };
    EXPECT_EQ(pixel(w.x, w.y + 3), RGB(10, 80, 20));
    EXPECT_EQ(pixel(w.x, r.bottom - 1), GetSysColor(COLOR_3DFACE)); // a grid line under row 1
    EXPECT_EQ(pixel(99, w.y + 3), GetSysColor(COLOR_3DFACE));        // the first column's right edge

    HFONT font = CreateFontA(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "宋体");
    int before = itemRect(lv, 0).bottom - itemRect(lv, 0).top;
    SendMessageA(lv, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(lv, WM_GETFONT, 0, 0)), font);
    EXPECT_GT(itemRect(lv, 0).bottom - itemRect(lv, 0).top, before);

    HIMAGELIST small = ImageList_Create(20, 20, ILC_COLOR32, 1, 1);
    EXPECT_EQ(SendMessageA(lv, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small)), 0);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(lv, LVM_GETIMAGELIST, LVSIL_SMALL, 0)), small);
    RECT icon = itemRect(lv, 0, LVIR_ICON);
    EXPECT_EQ(icon.right - icon.left, 20);
    EXPECT_EQ(SendMessageA(lv, LVM_SETIMAGELIST, 9, reinterpret_cast<LPARAM>(small)), 0);
    // Without LVS_SHAREIMAGELISTS the list view destroys its image lists.
    DestroyWindow(lv);
    EXPECT_EQ(ImageList_GetImageCount(small), 0);
    int cx = 0, cy = 0;
    EXPECT_FALSE(ImageList_GetIconSize(small, &cx, &cy));
    DeleteObject(font);
}

// A state change repaints the rows that changed, not the whole list.
TEST_F(ListViewTest, SelectionRepaintsOnlyTheChangedRows)
{
    HWND lv = report();
    fill(lv, 10);
    clickItem(lv, 2);
    UpdateWindow(lv);
    RECT none;
    ASSERT_FALSE(GetUpdateRect(lv, &none, FALSE));
    LVITEMA st{};
    st.state = st.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(lv, LVM_SETITEMSTATE, 7, reinterpret_cast<LPARAM>(&st));
    // Row 2 lost the focus, row 7 gained focus and selection; rows 3..6 stay valid.
    HRGN dirty = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(lv, dirty, FALSE);
    for (int i = 0; i < 10; ++i) {
        RECT r = itemRect(lv, i);
        POINT mid{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        EXPECT_EQ(PtInRegion(dirty, mid.x, mid.y) != FALSE, i == 2 || i == 7) << i;
    }
    DeleteObject(dirty);
}

// Every message with parameters that are not valid for it: never a crash.
TEST_F(ListViewTest, OddParametersAreRefusedQuietly)
{
    for (DWORD view : {static_cast<DWORD>(LVS_REPORT), static_cast<DWORD>(LVS_ICON)}) {
        HWND lv = listView(view);
        if (view == LVS_REPORT)
            addColumn(lv, 0, "Name", 100);
        fill(lv, 3);
        // Where Win32 reads or writes through lParam only null is passed.
        const std::set<UINT> pointerInLParam = {
            LVM_INSERTITEMA,   LVM_SETITEMA,    LVM_GETITEMA,      LVM_SETITEMTEXTA, LVM_GETITEMTEXTA,
            LVM_SETITEMSTATE,  LVM_GETITEMRECT, LVM_GETSUBITEMRECT, LVM_HITTEST,     LVM_SUBITEMHITTEST,
            LVM_GETORIGIN,     LVM_GETVIEWRECT, LVM_INSERTCOLUMNA, LVM_SETCOLUMNA,   LVM_GETCOLUMNA,
            LVM_GETSTRINGWIDTHA};
        const LPARAM values[] = {0, -1, LPARAM(1) << 30};
        for (UINT msg = LVM_FIRST; msg < LVM_FIRST + 0x90; ++msg)
            for (LPARAM wp : values)
                for (LPARAM lp : values)
                    if (lp == 0 || !pointerInLParam.count(msg))
                        SendMessageA(lv, msg, static_cast<WPARAM>(wp), lp);
        UpdateWindow(lv);
        pumpUntilIdle();
        EXPECT_TRUE(IsWindow(lv));
        DestroyWindow(lv);
    }
}

TEST_F(ListViewTest, NoGdiLeakOverManyPaintsHoversAndClicks)
{
    HWND lv = report(LVS_SHOWSELALWAYS);
    SendMessageA(lv, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    fill(lv, 20);
    HWND hd = reinterpret_cast<HWND>(SendMessageA(lv, LVM_GETHEADER, 0, 0));
    size_t before = vt::liveGdiObjects();
    for (int k = 0; k < 1000; ++k) {
        POINT p = screenOf(lv, 20 + k % 200, 30 + k % 120);
        vt::mouseMove(p.x, p.y);
        if (k % 10 == 0)
            vt::click(p.x, p.y);
        if (k % 100 == 0)
            clickAt(hd, 30, 8);
        InvalidateRect(lv, nullptr, TRUE);
        UpdateWindow(lv);
        pumpUntilIdle();
    }
    EXPECT_EQ(vt::liveGdiObjects(), before);
}

TEST_F(ListViewTest, Screenshot)
{
    HWND lv = listView(LVS_REPORT | LVS_SHOWSELALWAYS, 320, 160, WS_EX_CLIENTEDGE);
    addColumn(lv, 0, "名称", 120);
    addColumn(lv, 1, "大小", 60, LVCFMT_RIGHT);
    addColumn(lv, 2, "类型", 100);
    SendMessageA(lv, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    const char* names[] = {"相框一.png", "sunset.jpg", "旧照片.bmp", "frame-gold.png", "notes.txt", "雪景.jpg",
                           "portrait.png", "travel.jpg", "border.bmp", "last.png"};
    for (int i = 0; i < 10; ++i) {
        addItem(lv, i, names[i]);
        setSub(lv, i, 1, (std::to_string(12 * (i + 1)) + " KB").c_str());
        setSub(lv, i, 2, i % 2 ? "JPEG 图像" : "PNG 图像");
    }
    clickItem(lv, 2);
    clickItem(lv, 4, VK_CONTROL);
    pumpUntilIdle();
    EXPECT_TRUE(GetWindowLongA(lv, GWL_STYLE) & WS_VSCROLL);
    EXPECT_TRUE(vt::saveWindowScreenshot(lv, outputPath("listview_report.png").c_str()));
    HWND icons = listView(LVS_LIST, 320, 100, WS_EX_CLIENTEDGE);
    SetWindowPos(icons, nullptr, 10, 180, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    for (int i = 0; i < 10; ++i)
        addItem(icons, i, names[i]);
    clickItem(icons, 3);
    pumpUntilIdle();
    EXPECT_TRUE(vt::saveWindowScreenshot(icons, outputPath("listview_list.png").c_str()));
}

} // namespace
