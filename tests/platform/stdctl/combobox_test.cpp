// Combo boxes of the three kinds, their drop-down list pop-up, CB_* messages
// and the notifications a parent sees.
#include "fixture.h"

#include <algorithm>
#include <cstring>

using namespace stdtest;
namespace vt = velkaro::testing;

namespace {

constexpr int kId = 31;

class ComboBoxTest : public StdCtlTest {
protected:
    HWND combo(DWORD kind, std::initializer_list<const char*> items, DWORD more = 0)
    {
        HWND cb = make("ComboBox", "", kind | WS_VSCROLL | more, 20, 20, 160, 200, kId);
        for (const char* s : items)
            SendMessageA(cb, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
        vt::pumpUntilIdle();
        parent.commands.clear();
        return cb;
    }
    static COMBOBOXINFO info(HWND cb)
    {
        COMBOBOXINFO ci{};
        ci.cbSize = sizeof ci;
        EXPECT_TRUE(SendMessageA(cb, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(&ci)));
        return ci;
    }
    static void clickButton(HWND cb)
    {
        vt::advanceClock(1000);
        RECT b = info(cb).rcButton;
        clickAt(cb, (b.left + b.right) / 2, (b.top + b.bottom) / 2);
    }
    static void clickListItem(HWND cb, int i)
    {
        vt::advanceClock(1000);
        HWND list = info(cb).hwndList;
        RECT r{};
        SendMessageA(list, LB_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r));
        clickAt(list, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    std::vector<int> codes() const
    {
        std::vector<int> out;
        for (auto& c : parent.commands)
            if (c.id == kId)
                out.push_back(c.code);
        return out;
    }
    int countCode(int code) const
    {
        std::vector<int> got = codes();
        return int(std::count(got.begin(), got.end(), code));
    }
    static bool dropped(HWND cb) { return SendMessageA(cb, CB_GETDROPPEDSTATE, 0, 0) != 0; }
};

TEST_F(ComboBoxTest, DropDownListIsAPopUpThatChoosesAndCloses)
{
    HWND cb = combo(CBS_DROPDOWNLIST, {"red", "green", "blue"});
    COMBOBOXINFO ci = info(cb);
    ASSERT_TRUE(ci.hwndList);
    EXPECT_EQ(ci.hwndCombo, cb);
    EXPECT_EQ(ci.hwndItem, nullptr);
    EXPECT_NE(GetParent(ci.hwndList), cb);
    EXPECT_FALSE(IsChild(cb, ci.hwndList));
    EXPECT_TRUE(GetWindowLongA(ci.hwndList, GWL_STYLE) & WS_POPUP);
    char cls[32] = {};
    GetClassNameA(ci.hwndList, cls, sizeof cls);
    EXPECT_STREQ(cls, "ComboLBox");
    EXPECT_FALSE(IsWindowVisible(ci.hwndList));

    clickButton(cb);
    EXPECT_TRUE(dropped(cb));
    EXPECT_TRUE(IsWindowVisible(ci.hwndList));
    EXPECT_EQ(codes(), (std::vector<int>{CBN_SETFOCUS, CBN_DROPDOWN}));
    // The list opens just below the combo box, at least as wide.
    RECT cr, lr, dr;
    GetWindowRect(cb, &cr);
    GetWindowRect(ci.hwndList, &lr);
    EXPECT_EQ(lr.top, cr.bottom);
    EXPECT_EQ(lr.left, cr.left);
    EXPECT_GE(lr.right - lr.left, cr.right - cr.left);
    EXPECT_TRUE(SendMessageA(cb, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dr)));
    EXPECT_EQ(dr.bottom, lr.bottom);

    parent.commands.clear();
    clickListItem(cb, 2);
    EXPECT_FALSE(dropped(cb));
    EXPECT_FALSE(IsWindowVisible(ci.hwndList));
    EXPECT_EQ(codes(), (std::vector<int>{CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
    EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(text(cb), "blue");
    EXPECT_EQ(GetFocus(), cb);
}

TEST_F(ComboBoxTest, DropDownClosesWithoutChoosing)
{
    HWND cb = combo(CBS_DROPDOWNLIST, {"one", "two", "three"});
    SendMessageA(cb, CB_SETCURSEL, 0, 0);
    HWND list = info(cb).hwndList;
    struct Case {
        const char* how;
        std::function<void()> close;
    } cases[] = {
        {"click outside", [&] { clickAt(top, 500, 350); }},
        {"escape", [&] { vt::pressKey(VK_ESCAPE); vt::pumpUntilIdle(); }},
        {"click on the button again", [&] { clickButton(cb); }},
        {"CB_SHOWDROPDOWN", [&] { SendMessageA(cb, CB_SHOWDROPDOWN, FALSE, 0); }},
    };
    for (const Case& c : cases) {
        clickButton(cb);
        ASSERT_TRUE(dropped(cb)) << c.how;
        // Hovering moves the list's highlight, not the combo box's choice.
        RECT r{};
        SendMessageA(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
        POINT p = at(list, 10, (r.top + r.bottom) / 2);
        vt::mouseMove(p.x, p.y);
        vt::pumpUntilIdle();
        parent.commands.clear();
        c.close();
        EXPECT_FALSE(dropped(cb)) << c.how;
        EXPECT_FALSE(IsWindowVisible(list)) << c.how;
        EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), 0) << c.how;
        EXPECT_EQ(text(cb), "one") << c.how;
        std::vector<int> got = codes();
        EXPECT_EQ(std::count(got.begin(), got.end(), CBN_CLOSEUP), 1) << c.how;
        EXPECT_EQ(std::count(got.begin(), got.end(), CBN_SELCHANGE), 0) << c.how;
        EXPECT_EQ(GetCapture(), nullptr) << c.how;
    }
}

TEST_F(ComboBoxTest, KeyboardOnAClosedAndAnOpenCombo)
{
    HWND cb = combo(CBS_DROPDOWNLIST, {"apple", "banana", "cherry", "date"});
    SetFocus(cb);
    vt::pumpUntilIdle();
    parent.commands.clear();
    struct Step {
        UINT key;
        int expect;
    } steps[] = {{VK_DOWN, 0}, {VK_DOWN, 1}, {VK_END, 3}, {VK_DOWN, 3}, {VK_UP, 2}, {VK_HOME, 0}};
    int changes = 0, last = -1;
    for (const Step& s : steps) {
        vt::pressKey(s.key);
        vt::pumpUntilIdle();
        EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), s.expect) << s.key;
        EXPECT_FALSE(dropped(cb));
        changes += s.expect != last;
        last = s.expect;
    }
    EXPECT_EQ(changes, countCode(CBN_SELCHANGE));
    EXPECT_EQ(text(cb), "apple");
    // Typing a letter picks the next item that starts with it.
    vt::pressKey('C', "c");
    vt::pumpUntilIdle();
    EXPECT_EQ(text(cb), "cherry");

    // F4 and alt+down open; down moves in the list; return chooses.
    vt::pressKey(VK_F4);
    vt::pumpUntilIdle();
    EXPECT_TRUE(dropped(cb));
    vt::pressKey(VK_DOWN);
    vt::pumpUntilIdle();
    EXPECT_TRUE(dropped(cb));
    parent.commands.clear();
    vt::pressKey(VK_RETURN);
    vt::pumpUntilIdle();
    EXPECT_FALSE(dropped(cb));
    EXPECT_EQ(text(cb), "date");
    EXPECT_EQ(codes(), (std::vector<int>{CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
    vt::keyDown(VK_MENU);
    vt::pressKey(VK_DOWN);
    vt::keyUp(VK_MENU);
    vt::pumpUntilIdle();
    EXPECT_TRUE(dropped(cb));
    vt::pressKey(VK_ESCAPE);
    vt::pumpUntilIdle();
    EXPECT_FALSE(dropped(cb));
}

TEST_F(ComboBoxTest, TextOfAListOnlyComboIsWhatItShows)
{
    HWND cb = combo(CBS_DROPDOWNLIST, {"甲", "乙"});
    EXPECT_TRUE(SetWindowTextA(cb, "请选择！"));
    EXPECT_EQ(text(cb), "请选择！");
    EXPECT_EQ(GetWindowTextLengthA(cb), int(strlen("请选择！")));
    EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), CB_ERR);
    SendMessageA(cb, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("丙"));
    EXPECT_EQ(text(cb), "请选择！");
    clickButton(cb);
    clickListItem(cb, 1);
    EXPECT_EQ(text(cb), "乙");
    SendMessageA(cb, CB_SETCURSEL, 0, 0);
    EXPECT_EQ(text(cb), "甲");
    SendMessageA(cb, CB_SETCURSEL, WPARAM(-1), 0);
    EXPECT_EQ(text(cb), "");
}

TEST_F(ComboBoxTest, DropDownHasAnEditFieldThatReportsChanges)
{
    HWND cb = combo(CBS_DROPDOWN | CBS_AUTOHSCROLL, {"alpha", "beta"});
    COMBOBOXINFO ci = info(cb);
    ASSERT_TRUE(ci.hwndItem);
    EXPECT_EQ(GetParent(ci.hwndItem), cb);
    char cls[32] = {};
    GetClassNameA(ci.hwndItem, cls, sizeof cls);
    EXPECT_STREQ(cls, "Edit");
    // The edit field sits in rcItem, left of the button.
    RECT er;
    GetWindowRect(ci.hwndItem, &er);
    MapWindowPoints(nullptr, cb, reinterpret_cast<POINT*>(&er), 2);
    EXPECT_EQ(er.left, ci.rcItem.left);
    EXPECT_LE(er.right, ci.rcButton.left);

    vt::advanceClock(1000);
    clickAt(cb, (ci.rcItem.left + ci.rcItem.right) / 2, 8);
    EXPECT_EQ(GetFocus(), ci.hwndItem);
    EXPECT_FALSE(dropped(cb)); // a click on the field does not open the list
    parent.commands.clear();
    vt::typeText("xy");
    vt::pumpUntilIdle();
    EXPECT_EQ(text(cb), "xy");
    EXPECT_EQ(countCode(CBN_EDITCHANGE), 2);
    EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), CB_ERR);

    clickButton(cb);
    EXPECT_TRUE(dropped(cb));
    clickListItem(cb, 1);
    EXPECT_EQ(text(cb), "beta");
    EXPECT_EQ(GetFocus(), ci.hwndItem);
    SetWindowTextA(cb, "free text");
    char buf[32] = {};
    GetWindowTextA(ci.hwndItem, buf, sizeof buf);
    EXPECT_STREQ(buf, "free text");
}

TEST_F(ComboBoxTest, SimpleComboShowsItsListAlways)
{
    HWND cb = combo(CBS_SIMPLE, {"a", "b", "c"});
    COMBOBOXINFO ci = info(cb);
    ASSERT_TRUE(ci.hwndList);
    ASSERT_TRUE(ci.hwndItem);
    EXPECT_EQ(GetParent(ci.hwndList), cb);
    EXPECT_TRUE(IsWindowVisible(ci.hwndList));
    EXPECT_TRUE(IsRectEmpty(&ci.rcButton));
    EXPECT_EQ(SendMessageA(cb, CB_SHOWDROPDOWN, TRUE, 0), TRUE);
    EXPECT_FALSE(dropped(cb));

    RECT r{};
    SendMessageA(ci.hwndList, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    clickAt(ci.hwndList, 10, (r.top + r.bottom) / 2);
    EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(text(cb), "b");
    std::vector<int> got = codes();
    EXPECT_EQ(std::count(got.begin(), got.end(), CBN_SELCHANGE), 1);
    EXPECT_EQ(std::count(got.begin(), got.end(), CBN_DROPDOWN), 0);
}

TEST_F(ComboBoxTest, ItemMessages)
{
    HWND cb = combo(CBS_DROPDOWNLIST | CBS_SORT, {"pear", "apple", "fig"});
    EXPECT_EQ(SendMessageA(cb, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(cb, CB_INSERTSTRING, 1, reinterpret_cast<LPARAM>("zz")), 1); // insert ignores sorting
    EXPECT_EQ(SendMessageA(cb, CB_INSERTSTRING, 9, reinterpret_cast<LPARAM>("no")), CB_ERR);
    char buf[32] = {};
    EXPECT_EQ(SendMessageA(cb, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buf)), 5);
    EXPECT_STREQ(buf, "apple");
    EXPECT_EQ(SendMessageA(cb, CB_GETLBTEXTLEN, 1, 0), 2);
    EXPECT_EQ(SendMessageA(cb, CB_GETLBTEXTLEN, 7, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(cb, CB_GETLBTEXT, 0, 0), CB_ERR);

    struct Case {
        UINT msg;
        int start;
        const char* text;
        LRESULT expect;
    } cases[] = {
        {CB_FINDSTRING, -1, "P", 3},       {CB_FINDSTRING, -1, "FI", 2},
        {CB_FINDSTRING, -1, "x", CB_ERR},  {CB_FINDSTRINGEXACT, -1, "Fig", 2},
        {CB_FINDSTRINGEXACT, -1, "pe", CB_ERR}, {CB_FINDSTRING, 3, "", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SendMessageA(cb, c.msg, WPARAM(c.start), reinterpret_cast<LPARAM>(c.text)), c.expect) << c.text;

    EXPECT_EQ(SendMessageA(cb, CB_SETCURSEL, 2, 0), 2);
    EXPECT_EQ(SendMessageA(cb, CB_SETCURSEL, 20, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(cb, CB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>("pe")), 3);
    EXPECT_EQ(text(cb), "pear");
    EXPECT_EQ(SendMessageA(cb, CB_SETITEMDATA, 3, 77), 0);
    EXPECT_EQ(SendMessageA(cb, CB_GETITEMDATA, 3, 0), 77);
    EXPECT_EQ(SendMessageA(cb, CB_GETITEMDATA, 30, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(cb, CB_DELETESTRING, 3, 0), 3);
    EXPECT_EQ(SendMessageA(cb, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(text(cb), "");
    EXPECT_EQ(SendMessageA(cb, CB_DELETESTRING, 3, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(cb, CB_RESETCONTENT, 0, 0), CB_OKAY);
    EXPECT_EQ(SendMessageA(cb, CB_GETCOUNT, 0, 0), 0);
    // None of this was the user's doing: no notifications.
    EXPECT_TRUE(codes().empty());
}

TEST_F(ComboBoxTest, HeightsAndGeometry)
{
    HWND cb = combo(CBS_DROPDOWNLIST, {"a", "b"});
    RECT wr;
    GetWindowRect(cb, &wr);
    int field = int(SendMessageA(cb, CB_GETITEMHEIGHT, WPARAM(-1), 0));
    EXPECT_GT(field, 0);
    EXPECT_LT(wr.bottom - wr.top, 200); // as tall as the field, not as asked
    EXPECT_EQ(SendMessageA(cb, CB_SETITEMHEIGHT, WPARAM(-1), 30), 0);
    GetWindowRect(cb, &wr);
    EXPECT_EQ(SendMessageA(cb, CB_GETITEMHEIGHT, WPARAM(-1), 0), 30);
    EXPECT_GT(wr.bottom - wr.top, 30);
    EXPECT_EQ(SendMessageA(cb, CB_SETITEMHEIGHT, 0, 22), 0);
    EXPECT_EQ(SendMessageA(cb, CB_GETITEMHEIGHT, 0, 0), 22);
    EXPECT_EQ(SendMessageA(cb, CB_SETITEMHEIGHT, 0, 0), CB_ERR);

    COMBOBOXINFO ci = info(cb);
    RECT rc;
    GetClientRect(cb, &rc);
    EXPECT_EQ(ci.rcButton.right, rc.right - 2);
    EXPECT_LE(ci.rcItem.right, ci.rcButton.left);
    EXPECT_GT(ci.rcItem.bottom, ci.rcItem.top);
    COMBOBOXINFO bad{};
    bad.cbSize = 4;
    EXPECT_FALSE(SendMessageA(cb, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(&bad)));
    EXPECT_FALSE(SendMessageA(cb, CB_GETCOMBOBOXINFO, 0, 0));

    // Dropped, the list shows every item (here, two of 22 pixels and its border).
    clickButton(cb);
    RECT lr;
    GetWindowRect(ci.hwndList, &lr);
    EXPECT_EQ(lr.bottom - lr.top, 2 * 22 + 2);
    SendMessageA(cb, CB_SHOWDROPDOWN, FALSE, 0);
}

TEST_F(ComboBoxTest, DestroyingTheComboTakesItsListAlong)
{
    size_t before = vt::liveWindows();
    HWND cb = combo(CBS_DROPDOWNLIST, {"a"});
    HWND list = info(cb).hwndList;
    clickButton(cb);
    DestroyWindow(cb);
    vt::pumpUntilIdle();
    EXPECT_FALSE(IsWindow(list));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(vt::liveWindows(), before);
}

} // namespace
