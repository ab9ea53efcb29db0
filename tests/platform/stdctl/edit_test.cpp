// The edit control: typing (also Chinese), selection, clipboard, undo, limits.
#include "fixture.h"

using namespace stdtest;
namespace vt = velkaro::testing;

namespace {

class EditTest : public StdCtlTest {
protected:
    HWND edit(DWORD style = ES_AUTOHSCROLL, const char* initial = "")
    {
        HWND e = make("Edit", initial, WS_BORDER | style, 10, 10, 200, (style & ES_MULTILINE) ? 80 : 22, 30);
        SetFocus(e);
        vt::pumpUntilIdle();
        parent.commands.clear();
        return e;
    }
    static std::pair<DWORD, DWORD> sel(HWND e)
    {
        DWORD a = 0, b = 0;
        SendMessageA(e, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
        return {a, b};
    }
    static void chord(unsigned mod, unsigned key)
    {
        vt::keyDown(mod);
        vt::pressKey(key);
        vt::keyUp(mod);
        vt::pumpUntilIdle();
    }
};

TEST_F(EditTest, TypingAsciiAndChineseCountsBytes)
{
    HWND e = edit();
    vt::typeText("ab中文");
    vt::pumpUntilIdle();
    EXPECT_EQ(text(e), "ab中文");
    EXPECT_EQ(GetWindowTextLengthA(e), 8);
    EXPECT_EQ(sel(e), std::make_pair(DWORD(8), DWORD(8)));
    // Each character is one change, however many bytes it has.
    EXPECT_EQ(countCommands(30, EN_CHANGE), 4u);
    EXPECT_EQ(countCommands(30, EN_UPDATE), 4u);
    // Backspace and arrows step over whole characters.
    vt::pressKey(VK_BACK);
    vt::pumpUntilIdle();
    EXPECT_EQ(text(e), "ab中");
    vt::pressKey(VK_LEFT);
    vt::pumpUntilIdle();
    EXPECT_EQ(sel(e).first, 2u);
    // A position inside a character snaps to its start.
    SendMessageA(e, EM_SETSEL, 3, 4);
    EXPECT_EQ(sel(e), std::make_pair(DWORD(2), DWORD(2)));
}

TEST_F(EditTest, KeyboardSelectionAndReplace)
{
    HWND e = edit(ES_AUTOHSCROLL, "hello world");
    SendMessageA(e, EM_SETSEL, 0, 0);
    vt::keyDown(VK_SHIFT);
    for (int i = 0; i < 5; ++i)
        vt::pressKey(VK_RIGHT);
    vt::keyUp(VK_SHIFT);
    vt::pumpUntilIdle();
    EXPECT_EQ(sel(e), std::make_pair(DWORD(0), DWORD(5)));
    vt::typeText("HI");
    vt::pumpUntilIdle();
    EXPECT_EQ(text(e), "HI world");
    vt::pressKey(VK_HOME);
    vt::keyDown(VK_SHIFT);
    vt::pressKey(VK_END);
    vt::keyUp(VK_SHIFT);
    vt::pumpUntilIdle();
    EXPECT_EQ(sel(e), std::make_pair(DWORD(0), DWORD(8)));
    SendMessageA(e, EM_SETSEL, 2, 2);
    chord(VK_CONTROL, 'A');
    EXPECT_EQ(sel(e), std::make_pair(DWORD(0), DWORD(8)));
    SendMessageA(e, EM_SETSEL, -1, 0);
    EXPECT_EQ(sel(e).first, sel(e).second);
    SendMessageA(e, EM_SETSEL, 3, -1);
    EXPECT_EQ(sel(e), std::make_pair(DWORD(3), DWORD(8)));
    SendMessageA(e, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("!"));
    EXPECT_EQ(text(e), "HI !");
}

TEST_F(EditTest, MouseDragAndDoubleClickSelect)
{
    HWND e = edit(ES_AUTOHSCROLL, "alpha beta gamma");
    LRESULT p0 = SendMessageA(e, EM_POSFROMCHAR, 0, 0);
    LRESULT p6 = SendMessageA(e, EM_POSFROMCHAR, 6, 0);
    LRESULT p10 = SendMessageA(e, EM_POSFROMCHAR, 10, 0);
    ASSERT_NE(p0, -1);
    int y = GET_Y_LPARAM(p0) + 5;
    POINT a = at(e, GET_X_LPARAM(p6), y), b = at(e, GET_X_LPARAM(p10), y);
    vt::mouseMove(a.x, a.y);
    vt::mouseDown();
    vt::mouseMove(b.x, b.y);
    vt::mouseUp();
    vt::pumpUntilIdle();
    EXPECT_EQ(sel(e), std::make_pair(DWORD(6), DWORD(10)));
    EXPECT_EQ(GetCapture(), nullptr);
    POINT mid = at(e, GET_X_LPARAM(p6) + 3, y);
    vt::doubleClick(mid.x, mid.y);
    vt::pumpUntilIdle();
    EXPECT_EQ(sel(e), std::make_pair(DWORD(6), DWORD(11))); // the word and its trailing space
    EXPECT_EQ(LOWORD(SendMessageA(e, EM_CHARFROMPOS, 0, MAKELPARAM(GET_X_LPARAM(p6), y))), 6);
}

TEST_F(EditTest, ClipboardRoundTripAndUndo)
{
    HWND e = edit(ES_AUTOHSCROLL, "copy me");
    SendMessageA(e, EM_SETSEL, 0, 4);
    chord(VK_CONTROL, 'C');
    ASSERT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    ASSERT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    SendMessageA(e, EM_SETSEL, 7, 7);
    chord(VK_CONTROL, 'V');
    EXPECT_EQ(text(e), "copy mecopy");
    EXPECT_TRUE(SendMessageA(e, EM_CANUNDO, 0, 0));
    chord(VK_CONTROL, 'Z');
    EXPECT_EQ(text(e), "copy me");
    SendMessageA(e, EM_UNDO, 0, 0); // undoing the undo redoes
    EXPECT_EQ(text(e), "copy mecopy");
    SendMessageA(e, EM_SETSEL, 0, 5);
    chord(VK_CONTROL, 'X');
    EXPECT_EQ(text(e), "mecopy");
    SendMessageA(e, WM_PASTE, 0, 0);
    EXPECT_EQ(text(e), "copy mecopy");
    SendMessageA(e, EM_SETSEL, 0, 5);
    SendMessageA(e, WM_CLEAR, 0, 0);
    EXPECT_EQ(text(e), "mecopy");
    SendMessageA(e, WM_UNDO, 0, 0);
    EXPECT_EQ(text(e), "copy mecopy");

    // Typed characters undo together.
    SendMessageA(e, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    EXPECT_FALSE(SendMessageA(e, EM_CANUNDO, 0, 0));
    vt::typeText("abc");
    vt::pumpUntilIdle();
    SendMessageA(e, EM_UNDO, 0, 0);
    EXPECT_EQ(text(e), "");

    // Unicode text put on the clipboard comes out as UTF-8.
    ASSERT_TRUE(OpenClipboard(top));
    EmptyClipboard();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 3 * sizeof(WCHAR));
    auto* w = static_cast<WCHAR*>(GlobalLock(h));
    w[0] = 0x4E2D;
    w[1] = 0x6587;
    w[2] = 0;
    GlobalUnlock(h);
    EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, h), h);
    CloseClipboard();
    SendMessageA(e, WM_PASTE, 0, 0);
    EXPECT_EQ(text(e), "中文");
}

TEST_F(EditTest, ClipboardRefusesWhenClosed)
{
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
    EXPECT_FALSE(EmptyClipboard());
    EXPECT_FALSE(CloseClipboard());
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_FALSE(OpenClipboard(nullptr));
    EXPECT_EQ(SetClipboardData(0, nullptr), nullptr);
    EXPECT_TRUE(CloseClipboard());
}

TEST_F(EditTest, LimitStopsTypingWithMaxText)
{
    HWND e = edit();
    EXPECT_EQ(SendMessageA(e, EM_GETLIMITTEXT, 0, 0), 30000);
    SendMessageA(e, EM_LIMITTEXT, 4, 0);
    EXPECT_EQ(SendMessageA(e, EM_GETLIMITTEXT, 0, 0), 4);
    vt::typeText("ab中");
    vt::pumpUntilIdle();
    EXPECT_EQ(text(e), "ab"); // the three bytes of 中 do not fit
    EXPECT_EQ(countCommands(30, EN_MAXTEXT), 1u);
    vt::typeText("cd");
    vt::pumpUntilIdle();
    EXPECT_EQ(text(e), "abcd");
    SendMessageA(e, EM_LIMITTEXT, 0, 0);
    EXPECT_EQ(SendMessageA(e, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
}

TEST_F(EditTest, NumberPasswordAndReadOnly)
{
    HWND num = edit(ES_NUMBER);
    vt::typeText("1a2");
    vt::pumpUntilIdle();
    EXPECT_EQ(text(num), "12");
    DestroyWindow(num);

    HWND pw = edit(ES_PASSWORD);
    EXPECT_EQ(SendMessageA(pw, EM_GETPASSWORDCHAR, 0, 0), '*');
    vt::typeText("secret");
    vt::pumpUntilIdle();
    // A password never reaches the clipboard.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    SendMessageA(pw, EM_SETSEL, 0, -1);
    SendMessageA(pw, WM_COPY, 0, 0);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    SendMessageA(pw, EM_SETPASSWORDCHAR, 0, 0);
    EXPECT_EQ(SendMessageA(pw, EM_GETPASSWORDCHAR, 0, 0), 0);
    DestroyWindow(pw);

    HWND ro = edit(ES_READONLY, "fixed");
    vt::typeText("x");
    vt::pressKey(VK_BACK);
    vt::pumpUntilIdle();
    EXPECT_EQ(text(ro), "fixed");
    SendMessageA(ro, EM_SETREADONLY, FALSE, 0);
    SendMessageA(ro, EM_SETSEL, 5, 5);
    vt::typeText("!");
    vt::pumpUntilIdle();
    EXPECT_EQ(text(ro), "fixed!");
}

TEST_F(EditTest, MultiLineLines)
{
    HWND e = edit(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL);
    vt::typeText("one");
    vt::pressKey(VK_RETURN);
    vt::typeText("two2");
    vt::pressKey(VK_RETURN);
    vt::typeText("中");
    vt::pumpUntilIdle();
    EXPECT_EQ(text(e), "one\r\ntwo2\r\n中");
    EXPECT_EQ(SendMessageA(e, EM_GETLINECOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(e, EM_LINEINDEX, 1, 0), 5);
    EXPECT_EQ(SendMessageA(e, EM_LINEINDEX, 2, 0), 11);
    EXPECT_EQ(SendMessageA(e, EM_LINEINDEX, 9, 0), -1);
    EXPECT_EQ(SendMessageA(e, EM_LINELENGTH, 6, 0), 4);
    EXPECT_EQ(SendMessageA(e, EM_LINEFROMCHAR, 12, 0), 2);
    char buf[16] = {};
    *reinterpret_cast<WORD*>(buf) = sizeof buf;
    EXPECT_EQ(SendMessageA(e, EM_GETLINE, 1, reinterpret_cast<LPARAM>(buf)), 4);
    EXPECT_EQ(std::string(buf, 4), "two2");
    vt::pressKey(VK_UP);
    vt::pumpUntilIdle();
    EXPECT_EQ(SendMessageA(e, EM_LINEFROMCHAR, -1, 0), 1);
    // Enough lines to scroll.
    for (int i = 0; i < 12; ++i)
        SendMessageA(e, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("\r\nmore"));
    EXPECT_GT(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    SendMessageA(e, EM_LINESCROLL, 0, -100);
    EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    LRESULT r = SendMessageA(e, EM_SCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(HIWORD(r), TRUE);
    EXPECT_EQ(LOWORD(r), 1);
    SCROLLINFO si{sizeof si, SIF_ALL};
    ASSERT_TRUE(GetScrollInfo(e, SB_VERT, &si));
    EXPECT_EQ(si.nPos, 1);
    EXPECT_EQ(si.nMax, int(SendMessageA(e, EM_GETLINECOUNT, 0, 0)) - 1);
}

TEST_F(EditTest, ModifyMarginsRectAndFocusNotifications)
{
    HWND e = edit();
    EXPECT_FALSE(SendMessageA(e, EM_GETMODIFY, 0, 0));
    vt::typeText("x");
    vt::pumpUntilIdle();
    EXPECT_TRUE(SendMessageA(e, EM_GETMODIFY, 0, 0));
    SendMessageA(e, EM_SETMODIFY, FALSE, 0);
    EXPECT_FALSE(SendMessageA(e, EM_GETMODIFY, 0, 0));
    SendMessageA(e, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(5, 7));
    EXPECT_EQ(SendMessageA(e, EM_GETMARGINS, 0, 0), MAKELONG(5, 7));
    RECT r{}, c{};
    SendMessageA(e, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    GetClientRect(e, &c);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.right, c.right - 7);
    SetFocus(top);
    vt::pumpUntilIdle();
    EXPECT_EQ(countCommands(30, EN_KILLFOCUS), 1u);
    SetFocus(e);
    vt::pumpUntilIdle();
    EXPECT_EQ(countCommands(30, EN_SETFOCUS), 1u);
    POINT caret{};
    GetCaretPos(&caret);
    LRESULT p = SendMessageA(e, EM_POSFROMCHAR, 0, 0);
    EXPECT_EQ(caret.y, GET_Y_LPARAM(p));
}

TEST_F(EditTest, SingleLineWithoutAutoScrollTakesWhatFits)
{
    HWND e = make("Edit", "", WS_BORDER, 10, 10, 40, 22, 31);
    SetFocus(e);
    vt::typeText("wwwwwwwwwwwwwwwwwwww");
    vt::pumpUntilIdle();
    EXPECT_LT(GetWindowTextLengthA(e), 20);
    EXPECT_GE(countCommands(31, EN_MAXTEXT), 1u);
}

} // namespace
