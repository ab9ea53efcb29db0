// Tree view: building and walking the tree, expanding with its notifications
// and cancel, selection by mouse and keyboard, deleting subtrees, stale
// handles, scrolling, odd parameters, GDI balance and a screenshot.
#include "comctl_fixture.h"

#include <cstring>
#include <set>
#include <string>

using namespace vktest;
namespace vt = velkaro::testing;

namespace {

constexpr DWORD kClassic = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT;

class TreeViewTest : public ComctlTest {
protected:
    HWND tree(DWORD style = kClassic, int w = 200, int h = 200, DWORD exStyle = 0)
    {
        HWND tv = CreateWindowExA(exStyle, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | style, 10, 10, w, h, m_parent,
                                  reinterpret_cast<HMENU>(INT_PTR(100)), nullptr, nullptr);
        pumpUntilIdle();
        return tv;
    }
    static HTREEITEM add(HWND tv, HTREEITEM parent, const char* text, HTREEITEM after = TVI_LAST, LPARAM param = 0)
    {
        TVINSERTSTRUCTA is{};
        is.hParent = parent;
        is.hInsertAfter = after;
        is.item.mask = TVIF_TEXT | TVIF_PARAM;
        is.item.pszText = const_cast<char*>(text);
        is.item.lParam = param;
        return reinterpret_cast<HTREEITEM>(SendMessageA(tv, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&is)));
    }
    static HTREEITEM next(HWND tv, UINT how, HTREEITEM from = nullptr)
    {
        return reinterpret_cast<HTREEITEM>(SendMessageA(tv, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from)));
    }
    static std::string text(HWND tv, HTREEITEM h)
    {
        char buf[64] = {};
        TVITEMA it{};
        it.mask = TVIF_TEXT;
        it.hItem = h;
        it.pszText = buf;
        it.cchTextMax = sizeof buf;
        if (!SendMessageA(tv, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it)))
            return "<none>";
        return buf;
    }
    static std::string children(HWND tv, HTREEITEM parent)
    {
        std::string out;
        for (HTREEITEM h = next(tv, TVGN_CHILD, parent); h; h = next(tv, TVGN_NEXT, h))
            out += text(tv, h) + " ";
        return out;
    }
    static bool isExpanded(HWND tv, HTREEITEM h)
    {
        return (SendMessageA(tv, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(h), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    }
    static RECT labelRect(HWND tv, HTREEITEM h)
    {
        RECT r{};
        std::memcpy(&r, &h, sizeof h);
        if (!SendMessageA(tv, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)))
            return RECT{-1, -1, -1, -1};
        return r;
    }
    static void clickLabel(HWND tv, HTREEITEM h)
    {
        RECT r = labelRect(tv, h);
        clickAt(tv, r.left + 3, (r.top + r.bottom) / 2);
        vt::advanceClock(1000); // so the next click is not a double click
    }
    static void key(unsigned vk)
    {
        vt::pressKey(vk);
        pumpUntilIdle();
    }
    static HTREEITEM caret(HWND tv) { return next(tv, TVGN_CARET); }

    // A  (A1, A2 (A2a)), B (B1), C
    void build(HWND tv)
    {
        a = add(tv, TVI_ROOT, "A", TVI_LAST, 1);
        a1 = add(tv, a, "A1", TVI_LAST, 11);
        a2 = add(tv, a, "A2", TVI_LAST, 12);
        a2a = add(tv, a2, "A2a", TVI_LAST, 121);
        b = add(tv, TVI_ROOT, "B", TVI_LAST, 2);
        b1 = add(tv, b, "B1", TVI_LAST, 21);
        c = add(tv, TVI_ROOT, "C", TVI_LAST, 3);
        pumpUntilIdle();
    }
    std::vector<const Told*> notes(UINT code) const
    {
        std::vector<const Told*> out;
        for (auto& t : told)
            if (t.msg == WM_NOTIFY && t.code == code)
                out.push_back(&t);
        return out;
    }

    HTREEITEM a = nullptr, a1 = nullptr, a2 = nullptr, a2a = nullptr, b = nullptr, b1 = nullptr, c = nullptr;
};

TEST_F(TreeViewTest, GetNextItemWalksTheTree)
{
    HWND tv = tree();
    build(tv);
    EXPECT_EQ(SendMessageA(tv, TVM_GETCOUNT, 0, 0), 7);
    SendMessageA(tv, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(a));
    struct Step {
        UINT how;
        HTREEITEM from, expect;
    } steps[] = {
        {TVGN_ROOT, nullptr, a},       {TVGN_NEXT, a, b},           {TVGN_NEXT, c, nullptr},
        {TVGN_PREVIOUS, b, a},         {TVGN_PREVIOUS, a, nullptr}, {TVGN_CHILD, a, a1},
        {TVGN_CHILD, a1, nullptr},     {TVGN_CHILD, nullptr, a},    {TVGN_PARENT, a2a, a2},
        {TVGN_PARENT, a, nullptr},     {TVGN_FIRSTVISIBLE, nullptr, a},
        {TVGN_NEXTVISIBLE, a, a1},     {TVGN_NEXTVISIBLE, a2, b},   // a2 is collapsed
        {TVGN_NEXTVISIBLE, a2a, nullptr}, {TVGN_PREVIOUSVISIBLE, b, a2},
        {TVGN_LASTVISIBLE, nullptr, c}, {TVGN_CARET, nullptr, nullptr},
    };
    for (const Step& s : steps)
        EXPECT_EQ(next(tv, s.how, s.from), s.expect) << s.how << " from " << text(tv, s.from);
    EXPECT_EQ(children(tv, nullptr), "A B C ");
    EXPECT_EQ(children(tv, a), "A1 A2 ");
}

TEST_F(TreeViewTest, InsertPositions)
{
    HWND tv = tree();
    HTREEITEM m = add(tv, TVI_ROOT, "m");
    add(tv, TVI_ROOT, "z");
    add(tv, TVI_ROOT, "a", TVI_FIRST);
    add(tv, TVI_ROOT, "n", m);
    EXPECT_EQ(children(tv, nullptr), "a m n z ");
    HTREEITEM p = add(tv, TVI_ROOT, "p");
    for (const char* t : {"delta", "Alpha", "charlie", "Bravo"})
        add(tv, p, t, TVI_SORT);
    EXPECT_EQ(children(tv, p), "Alpha Bravo charlie delta ");
    // A stale or foreign parent refuses the insert.
    EXPECT_EQ(add(tv, reinterpret_cast<HTREEITEM>(0x12345678), "x"), nullptr);
    EXPECT_EQ(SendMessageA(tv, TVM_INSERTITEMA, 0, 0), 0);
    EXPECT_EQ(SendMessageA(tv, TVM_GETCOUNT, 0, 0), 9);
}

TEST_F(TreeViewTest, ItemsRoundTrip)
{
    HWND tv = tree();
    build(tv);
    TVITEMA set{};
    set.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_CHILDREN;
    set.hItem = c;
    set.pszText = const_cast<char*>("Cee");
    set.lParam = 99;
    set.iImage = 3;
    set.iSelectedImage = 4;
    set.state = TVIS_BOLD;
    set.stateMask = TVIS_BOLD;
    set.cChildren = 1;
    ASSERT_TRUE(SendMessageA(tv, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&set)));
    char buf[3] = {};
    TVITEMA get{};
    get.mask = set.mask;
    get.hItem = c;
    get.pszText = buf;
    get.cchTextMax = sizeof buf;
    get.stateMask = ~0u;
    ASSERT_TRUE(SendMessageA(tv, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&get)));
    EXPECT_STREQ(buf, "Ce");
    EXPECT_EQ(get.lParam, 99);
    EXPECT_EQ(get.iImage, 3);
    EXPECT_EQ(get.iSelectedImage, 4);
    EXPECT_EQ(get.state & TVIS_BOLD, static_cast<UINT>(TVIS_BOLD));
    EXPECT_EQ(get.cChildren, 1);
    // An item that says it has children shows a button before it has any.
    RECT r = labelRect(tv, c);
    TVHITTESTINFO hit{};
    hit.pt = POINT{r.left - 19 / 2 - 1, (r.top + r.bottom) / 2}; // the middle of the indent before the label
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(SendMessageA(tv, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit))), c);
    EXPECT_EQ(hit.flags, static_cast<UINT>(TVHT_ONITEMBUTTON));

    // Stale and made-up handles are refused, never followed.
    for (HTREEITEM bogus : {reinterpret_cast<HTREEITEM>(0x12345678), reinterpret_cast<HTREEITEM>(8), TVI_ROOT}) {
        get.hItem = bogus;
        EXPECT_FALSE(SendMessageA(tv, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&get)));
        set.hItem = bogus;
        EXPECT_FALSE(SendMessageA(tv, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&set)));
        EXPECT_FALSE(SendMessageA(tv, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(bogus)));
        EXPECT_EQ(next(tv, TVGN_NEXT, bogus), nullptr);
    }

    EXPECT_EQ(SendMessageA(tv, TVM_GETINDENT, 0, 0), 19);
    SendMessageA(tv, TVM_SETINDENT, 30, 0);
    EXPECT_EQ(SendMessageA(tv, TVM_GETINDENT, 0, 0), 30);
    EXPECT_EQ(labelRect(tv, c).left, r.left + 11);
    SendMessageA(tv, TVM_SETINDENT, 0, 0); // below the minimum
    EXPECT_GT(SendMessageA(tv, TVM_GETINDENT, 0, 0), 0);
    EXPECT_EQ(SendMessageA(tv, TVM_SETBKCOLOR, 0, RGB(1, 2, 3)), -1);
    EXPECT_EQ(SendMessageA(tv, TVM_GETBKCOLOR, 0, 0), RGB(1, 2, 3));
    EXPECT_EQ(SendMessageA(tv, WM_GETDLGCODE, 0, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);
}

TEST_F(TreeViewTest, ExpandNotifiesAndCanBeCancelled)
{
    HWND tv = tree();
    build(tv);
    // The parent says no: nothing opens.
    answer = [](NMHDR* h) -> LRESULT { return h->code == TVN_ITEMEXPANDINGA; };
    EXPECT_FALSE(SendMessageA(tv, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(a)));
    EXPECT_FALSE(isExpanded(tv, a));
    EXPECT_EQ(codes(), std::vector<UINT>({TVN_ITEMEXPANDINGA}));
    answer = nullptr;

    told.clear();
    EXPECT_TRUE(SendMessageA(tv, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(a)));
    EXPECT_TRUE(isExpanded(tv, a));
    ASSERT_EQ(codes(), std::vector<UINT>({TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA}));
    const auto& ex = told[0].as<NMTREEVIEWA>();
    EXPECT_EQ(ex.action, static_cast<UINT>(TVE_EXPAND));
    EXPECT_EQ(ex.itemNew.hItem, a);
    EXPECT_EQ(ex.itemNew.lParam, 1);
    EXPECT_TRUE(told[1].as<NMTREEVIEWA>().itemNew.state & TVIS_EXPANDED);

    // Once expanded, the message no longer announces itself.
    told.clear();
    struct Case {
        UINT code;
        HTREEITEM item;
        LRESULT result;
        bool expandedAfter;
    } cases[] = {
        {TVE_EXPAND, a, TRUE, true},    // already open: success
        {TVE_COLLAPSE, a, TRUE, false}, {TVE_COLLAPSE, a, FALSE, false}, // already closed: failure
        {TVE_TOGGLE, a, TRUE, true},    {TVE_EXPAND, c, FALSE, false},   // no children
        {TVE_TOGGLE, a, TRUE, false},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(SendMessageA(tv, TVM_EXPAND, k.code, reinterpret_cast<LPARAM>(k.item)) != 0, k.result != 0)
            << k.code << " " << text(tv, k.item);
        EXPECT_EQ(isExpanded(tv, k.item), k.expandedAfter) << k.code << " " << text(tv, k.item);
    }
    EXPECT_TRUE(codes().empty());

    // The user's clicks on the button announce every time, in order.
    SendMessageA(tv, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(a));
    RECT r = labelRect(tv, a);
    int buttonX = r.left - 19 / 2 - 1, y = (r.top + r.bottom) / 2;
    for (bool open : {false, true, false}) {
        told.clear();
        clickAt(tv, buttonX, y);
        vt::advanceClock(1000);
        EXPECT_EQ(isExpanded(tv, a), open);
        std::vector<UINT> order;
        for (UINT code : codes())
            if (code == TVN_ITEMEXPANDINGA || code == TVN_ITEMEXPANDEDA)
                order.push_back(code);
        ASSERT_EQ(order, std::vector<UINT>({TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDEDA}));
        EXPECT_EQ(last(TVN_ITEMEXPANDINGA)->as<NMTREEVIEWA>().action, static_cast<UINT>(open ? TVE_EXPAND : TVE_COLLAPSE));
    }
    // A double click on a label toggles too.
    told.clear();
    POINT p = screenOf(tv, r.left + 3, y);
    vt::doubleClick(p.x, p.y);
    pumpUntilIdle();
    EXPECT_TRUE(isExpanded(tv, a));
    EXPECT_TRUE(last(NM_DBLCLK));
}

TEST_F(TreeViewTest, MouseSelectsWithSelChangeNotifications)
{
    HWND tv = tree();
    build(tv);
    clickLabel(tv, b);
    EXPECT_EQ(caret(tv), b);
    EXPECT_EQ(GetFocus(), tv);
    std::vector<UINT> order;
    for (UINT code : codes())
        if (code == TVN_SELCHANGINGA || code == TVN_SELCHANGEDA)
            order.push_back(code);
    EXPECT_EQ(order, std::vector<UINT>({TVN_SELCHANGINGA, TVN_SELCHANGEDA}));
    const Told* sel = last(TVN_SELCHANGEDA);
    ASSERT_TRUE(sel);
    EXPECT_EQ(sel->as<NMTREEVIEWA>().action, static_cast<UINT>(TVC_BYMOUSE));
    EXPECT_EQ(sel->as<NMTREEVIEWA>().itemNew.hItem, b);
    EXPECT_EQ(sel->as<NMTREEVIEWA>().itemNew.lParam, 2);
    EXPECT_EQ(sel->as<NMTREEVIEWA>().itemOld.hItem, nullptr);
    EXPECT_EQ(SendMessageA(tv, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(b), TVIS_SELECTED), TVIS_SELECTED);
    EXPECT_TRUE(last(NM_CLICK));

    clickLabel(tv, c);
    sel = last(TVN_SELCHANGEDA);
    EXPECT_EQ(sel->as<NMTREEVIEWA>().itemOld.hItem, b);
    EXPECT_EQ(SendMessageA(tv, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(b), TVIS_SELECTED), 0);

    answer = [](NMHDR* h) -> LRESULT { return h->code == TVN_SELCHANGINGA; };
    clickLabel(tv, a);
    EXPECT_EQ(caret(tv), c);
    answer = nullptr;

    // TVM_SELECTITEM opens the way to a hidden item.
    told.clear();
    EXPECT_TRUE(SendMessageA(tv, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a2a)));
    EXPECT_EQ(caret(tv), a2a);
    EXPECT_TRUE(isExpanded(tv, a));
    EXPECT_TRUE(isExpanded(tv, a2));
    EXPECT_EQ(last(TVN_SELCHANGEDA)->as<NMTREEVIEWA>().action, static_cast<UINT>(TVC_UNKNOWN));
    EXPECT_FALSE(SendMessageA(tv, TVM_SELECTITEM, TVGN_CARET, 0x12345678));
    EXPECT_EQ(caret(tv), a2a);
    // Collapsing a branch takes the caret out of it.
    SendMessageA(tv, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(a));
    EXPECT_EQ(caret(tv), a);
}

TEST_F(TreeViewTest, KeyboardNavigatesAndExpands)
{
    HWND tv = tree();
    build(tv);
    clickLabel(tv, a);
    struct Step {
        unsigned vk;
        HTREEITEM* caret;
        HTREEITEM* opened; // expanded after the key, or null
        HTREEITEM* closed; // collapsed after the key, or null
    } steps[] = {
        {VK_RIGHT, &a, &a, nullptr},    // opens
        {VK_RIGHT, &a1, nullptr, nullptr}, // into the first child
        {VK_DOWN, &a2, nullptr, nullptr},  {VK_ADD, &a2, &a2, nullptr},
        {VK_DOWN, &a2a, nullptr, nullptr}, {VK_LEFT, &a2, nullptr, nullptr}, // to the parent
        {VK_LEFT, &a2, nullptr, &a2},      // closes
        {VK_SUBTRACT, &a2, nullptr, &a2}, {VK_DOWN, &b, nullptr, nullptr},
        {VK_UP, &a2, nullptr, nullptr},    {VK_END, &c, nullptr, nullptr},
        {VK_HOME, &a, nullptr, nullptr},   {VK_LEFT, &a, nullptr, &a},
        {VK_DOWN, &b, nullptr, nullptr},
    };
    for (const Step& s : steps) {
        told.clear();
        key(s.vk);
        EXPECT_EQ(caret(tv), *s.caret) << s.vk << " -> " << text(tv, caret(tv));
        if (s.opened) {
            EXPECT_TRUE(isExpanded(tv, *s.opened)) << s.vk;
        }
        if (s.closed) {
            EXPECT_FALSE(isExpanded(tv, *s.closed)) << s.vk;
        }
        const Told* kd = last(TVN_KEYDOWN);
        ASSERT_TRUE(kd);
        EXPECT_EQ(kd->as<NMTVKEYDOWN>().wVKey, s.vk);
        if (const Told* sel = last(TVN_SELCHANGEDA)) {
            EXPECT_EQ(sel->as<NMTREEVIEWA>().action, static_cast<UINT>(TVC_BYKEYBOARD));
        }
    }
}

TEST_F(TreeViewTest, DeletingAParentDeletesItsSubtree)
{
    HWND tv = tree();
    build(tv);
    SendMessageA(tv, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a2a));
    told.clear();
    EXPECT_TRUE(SendMessageA(tv, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(a)));
    std::set<HTREEITEM> gone;
    std::set<LPARAM> params;
    for (const Told* t : notes(TVN_DELETEITEMA)) {
        gone.insert(t->as<NMTREEVIEWA>().itemOld.hItem);
        params.insert(t->as<NMTREEVIEWA>().itemOld.lParam);
    }
    EXPECT_EQ(gone, std::set<HTREEITEM>({a, a1, a2, a2a}));
    EXPECT_EQ(params, std::set<LPARAM>({1, 11, 12, 121}));
    EXPECT_EQ(notes(TVN_DELETEITEMA).size(), 4u);
    EXPECT_EQ(SendMessageA(tv, TVM_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(children(tv, nullptr), "B C ");
    EXPECT_EQ(caret(tv), b); // the selection moved to a neighbour
    // The deleted handles are stale now.
    for (HTREEITEM h : {a, a1, a2a}) {
        EXPECT_EQ(text(tv, h), "<none>");
        EXPECT_FALSE(SendMessageA(tv, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(h)));
        EXPECT_EQ(add(tv, h, "orphan"), nullptr);
    }
    told.clear();
    EXPECT_TRUE(SendMessageA(tv, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)));
    EXPECT_EQ(notes(TVN_DELETEITEMA).size(), 3u);
    EXPECT_EQ(SendMessageA(tv, TVM_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(next(tv, TVGN_ROOT), nullptr);
    EXPECT_EQ(caret(tv), nullptr);
}

TEST_F(TreeViewTest, HitTestAndRectsFollowTheLayout)
{
    HWND tv = tree();
    build(tv);
    RECT ra = labelRect(tv, a), rb = labelRect(tv, b);
    EXPECT_EQ(rb.top, ra.bottom);
    EXPECT_EQ(labelRect(tv, a1).left, -1); // hidden under a closed parent
    SendMessageA(tv, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(a));
    RECT r1 = labelRect(tv, a1);
    EXPECT_EQ(r1.left, ra.left + 19);
    EXPECT_EQ(r1.top, ra.bottom);
    struct Probe {
        POINT pt;
        HTREEITEM* item;
        UINT flags;
    } probes[] = {
        {{r1.left + 2, r1.top + 3}, &a1, TVHT_ONITEMLABEL},
        {{r1.right + 20, r1.top + 3}, &a1, TVHT_ONITEMRIGHT},
        {{2, r1.top + 3}, &a1, TVHT_ONITEMINDENT},
        {{20, 190}, nullptr, TVHT_NOWHERE},
        {{-4, 10}, nullptr, TVHT_TOLEFT},
        {{20, 400}, nullptr, TVHT_BELOW},
    };
    for (const Probe& p : probes) {
        TVHITTESTINFO hit{};
        hit.pt = p.pt;
        HTREEITEM got = reinterpret_cast<HTREEITEM>(SendMessageA(tv, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        EXPECT_EQ(got, p.item ? *p.item : nullptr) << p.pt.x << "," << p.pt.y;
        EXPECT_EQ(hit.flags, p.flags) << p.pt.x << "," << p.pt.y;
    }
    RECT whole{};
    std::memcpy(&whole, &a1, sizeof a1);
    ASSERT_TRUE(SendMessageA(tv, TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(&whole)));
    EXPECT_EQ(whole.left, 0);
    EXPECT_EQ(whole.top, r1.top);
}

TEST_F(TreeViewTest, ScrollBarsAndWheelWhenItemsOverflow)
{
    HWND tv = tree(kClassic, 200, 100);
    std::vector<HTREEITEM> items;
    for (int i = 0; i < 4; ++i)
        items.push_back(add(tv, TVI_ROOT, ("item " + std::to_string(i)).c_str()));
    pumpUntilIdle();
    EXPECT_FALSE(GetWindowLongA(tv, GWL_STYLE) & WS_VSCROLL);
    for (int i = 4; i < 30; ++i)
        items.push_back(add(tv, TVI_ROOT, ("item " + std::to_string(i)).c_str()));
    pumpUntilIdle();
    EXPECT_TRUE(GetWindowLongA(tv, GWL_STYLE) & WS_VSCROLL);
    int page = static_cast<int>(SendMessageA(tv, TVM_GETVISIBLECOUNT, 0, 0));
    ASSERT_GT(page, 2);
    SetFocus(tv);
    POINT p = screenOf(tv, 50, 50);
    vt::mouseMove(p.x, p.y);
    vt::wheel(-WHEEL_DELTA);
    pumpUntilIdle();
    EXPECT_EQ(next(tv, TVGN_FIRSTVISIBLE), items[3]);
    EXPECT_EQ(GetScrollPos(tv, SB_VERT), 3);
    SendMessageA(tv, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(next(tv, TVGN_FIRSTVISIBLE), items[static_cast<size_t>(30 - page)]);
    EXPECT_TRUE(SendMessageA(tv, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(items[1])));
    EXPECT_EQ(next(tv, TVGN_FIRSTVISIBLE), items[1]);
    // Keyboard to the end scrolls the caret into view.
    SendMessageA(tv, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(items[0]));
    key(VK_END);
    EXPECT_EQ(next(tv, TVGN_FIRSTVISIBLE), items[static_cast<size_t>(30 - page)]);
    // A long label brings the horizontal bar.
    add(tv, TVI_ROOT, "a label much too long to fit into this narrow tree view control");
    pumpUntilIdle();
    EXPECT_TRUE(GetWindowLongA(tv, GWL_STYLE) & WS_HSCROLL);
    SendMessageA(tv, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    pumpUntilIdle();
    EXPECT_FALSE(GetWindowLongA(tv, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL));
}

TEST_F(TreeViewTest, FontAndImageList)
{
    HWND tv = tree();
    build(tv);
    int before = labelRect(tv, a).bottom - labelRect(tv, a).top;
    HFONT font = CreateFontA(-18, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "宋体");
    SendMessageA(tv, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(tv, WM_GETFONT, 0, 0)), font);
    EXPECT_GT(labelRect(tv, a).bottom - labelRect(tv, a).top, before);
    HIMAGELIST il = ImageList_Create(16, 16, ILC_COLOR32, 1, 1);
    int left = labelRect(tv, a).left;
    EXPECT_EQ(SendMessageA(tv, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(il)), 0);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(tv, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)), il);
    EXPECT_GT(labelRect(tv, a).left, left + 16);
    // The tree view does not own its image list.
    DestroyWindow(tv);
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(il, &cx, &cy));
    ImageList_Destroy(il);
    DeleteObject(font);
}

// Moving the caret repaints the two rows involved, not the whole tree.
TEST_F(TreeViewTest, SelectionRepaintsOnlyTheChangedRows)
{
    HWND tv = tree();
    build(tv);
    SendMessageA(tv, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(a));
    SendMessageA(tv, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(a1));
    UpdateWindow(tv);
    RECT none;
    ASSERT_FALSE(GetUpdateRect(tv, &none, FALSE));
    SendMessageA(tv, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(b));
    HRGN dirty = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(tv, dirty, FALSE);
    for (HTREEITEM h : {a, a1, a2, b, c}) {
        RECT r = labelRect(tv, h);
        EXPECT_EQ(PtInRegion(dirty, r.left + 2, (r.top + r.bottom) / 2) != FALSE, h == a1 || h == b) << text(tv, h);
    }
    DeleteObject(dirty);
}

// Every message with values that are not valid for it: never a crash.
TEST_F(TreeViewTest, OddParametersAreRefusedQuietly)
{
    HWND tv = tree();
    build(tv);
    // Where Win32 reads or writes through lParam only null is passed; item
    // handles are values and get anything.
    const std::set<UINT> pointerInLParam = {TVM_INSERTITEMA, TVM_GETITEMA, TVM_SETITEMA, TVM_GETITEMRECT, TVM_HITTEST};
    const LPARAM values[] = {0, -1, LPARAM(1) << 30, 1};
    for (UINT msg = TV_FIRST; msg < TV_FIRST + 0x40; ++msg)
        for (LPARAM wp : values)
            for (LPARAM lp : values)
                if (lp == 0 || !pointerInLParam.count(msg))
                    SendMessageA(tv, msg, static_cast<WPARAM>(wp), lp);
    UpdateWindow(tv);
    pumpUntilIdle();
    EXPECT_TRUE(IsWindow(tv));
}

TEST_F(TreeViewTest, NoGdiLeakOverManyPaintsHoversAndClicks)
{
    HWND tv = tree(kClassic | TVS_SHOWSELALWAYS);
    build(tv);
    SendMessageA(tv, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(a));
    size_t before = vt::liveGdiObjects();
    for (int k = 0; k < 1000; ++k) {
        POINT p = screenOf(tv, 5 + k % 120, 3 + k % 110);
        vt::mouseMove(p.x, p.y);
        if (k % 10 == 0) {
            vt::click(p.x, p.y);
            vt::advanceClock(600);
        }
        InvalidateRect(tv, nullptr, TRUE);
        UpdateWindow(tv);
        pumpUntilIdle();
    }
    EXPECT_EQ(vt::liveGdiObjects(), before);
}

TEST_F(TreeViewTest, Screenshot)
{
    HWND tv = tree(kClassic | TVS_SHOWSELALWAYS, 220, 200, WS_EX_CLIENTEDGE);
    HTREEITEM root = add(tv, TVI_ROOT, "我的相框");
    HTREEITEM wood = add(tv, root, "木质");
    add(tv, wood, "胡桃木.png");
    add(tv, wood, "oak-frame.png");
    HTREEITEM metal = add(tv, root, "金属");
    add(tv, metal, "gold.png");
    add(tv, root, "简约");
    add(tv, TVI_ROOT, "最近使用");
    HTREEITEM more = add(tv, TVI_ROOT, "更多…");
    add(tv, more, "hidden");
    SendMessageA(tv, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root));
    SendMessageA(tv, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(wood));
    clickLabel(tv, metal);
    pumpUntilIdle();
    EXPECT_TRUE(vt::saveWindowScreenshot(tv, outputPath("treeview.png").c_str()));
}

} // namespace
