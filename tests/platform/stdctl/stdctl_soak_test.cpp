// Every standard control kind over many paint, hover and click cycles (no GDI
// object may stay behind) and under every message it handles with odd
// parameters (no crash, still a window afterwards).
#include "fixture.h"

#include <commctrl.h>

using namespace stdtest;
namespace vt = velkaro::testing;

namespace {

struct Kind {
    const char* cls;
    DWORD style;
    const char* name;
};

const Kind kKinds[] = {
    {"BUTTON", BS_PUSHBUTTON, "push button"},
    {"BUTTON", BS_DEFPUSHBUTTON, "default push button"},
    {"BUTTON", BS_CHECKBOX, "check box"},
    {"BUTTON", BS_AUTOCHECKBOX, "auto check box"},
    {"BUTTON", BS_RADIOBUTTON, "radio button"},
    {"BUTTON", BS_AUTORADIOBUTTON, "auto radio button"},
    {"BUTTON", BS_3STATE, "three-state box"},
    {"BUTTON", BS_AUTO3STATE, "auto three-state box"},
    {"BUTTON", BS_GROUPBOX, "group box"},
    {"BUTTON", BS_OWNERDRAW, "owner-drawn button"},
    {"BUTTON", BS_PUSHLIKE | BS_AUTOCHECKBOX, "push-like check box"},
    {"Static", SS_LEFT | SS_NOTIFY, "text static"},
    {"Static", SS_ETCHEDFRAME, "etched frame"},
    {"Static", SS_BLACKRECT, "black rectangle"},
    {"Edit", WS_BORDER | ES_AUTOHSCROLL, "single-line edit"},
    {"Edit", WS_BORDER | ES_MULTILINE | WS_VSCROLL | ES_AUTOVSCROLL, "multi-line edit"},
    {"ListBox", WS_BORDER | WS_VSCROLL | LBS_NOTIFY, "list box"},
    {"ListBox", WS_BORDER | WS_VSCROLL | LBS_EXTENDEDSEL | LBS_NOTIFY, "extended list box"},
    {"ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL, "drop-down list combo"},
    {"ComboBox", CBS_DROPDOWN | WS_VSCROLL, "drop-down combo"},
    {"ComboBox", CBS_SIMPLE, "simple combo"},
};

class StdCtlSoakTest : public StdCtlTest {
protected:
    HWND build(const Kind& k, int x = 20, int y = 20)
    {
        bool list = !strcmp(k.cls, "ListBox"), combo = !strcmp(k.cls, "ComboBox");
        int h = list || (combo && (k.style & 3) == CBS_SIMPLE) ? 90 : combo ? 150 : 26;
        HWND c = make(k.cls, k.name, k.style, x, y, 150, h, 60);
        for (const char* item : {"one", "two", "three", "four", "five", "six", "seven", "eight"}) {
            if (list)
                SendMessageA(c, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
            if (combo)
                SendMessageA(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        }
        if (!strcmp(k.cls, "Static") && (k.style & SS_TYPEMASK) == SS_LEFT)
            SetWindowTextA(c, "静态文本 static");
        return c;
    }
};

TEST_F(StdCtlSoakTest, NoGdiObjectLeftOverPaintHoverAndClickCycles)
{
    // Owner-drawn buttons draw nothing of their own here.
    parent.extra = [](HWND, UINT msg, WPARAM, LPARAM, bool& handled) -> LRESULT {
        handled = msg == WM_DRAWITEM;
        return TRUE;
    };
    for (const Kind& k : kKinds) {
        HWND c = build(k);
        RECT r;
        GetWindowRect(c, &r);
        POINT in{r.left + 20, r.top + 8}, out{r.right + 100, r.bottom + 100};
        auto cycle = [&] {
            InvalidateRect(c, nullptr, TRUE);
            UpdateWindow(c);
            vt::mouseMove(in.x, in.y);
            vt::advanceClock(600); // never a double-click
            vt::mouseDown();
            vt::mouseUp();
            vt::mouseMove(out.x, out.y);
            vt::pumpUntilIdle();
        };
        for (int i = 0; i < 3; ++i)
            cycle(); // let fonts and brushes that are made once be made
        size_t before = vt::liveGdiObjects();
        for (int i = 0; i < 1000; ++i)
            cycle();
        if (SendMessageA(c, CB_GETDROPPEDSTATE, 0, 0) && !strcmp(k.cls, "ComboBox"))
            SendMessageA(c, CB_SHOWDROPDOWN, FALSE, 0);
        vt::pumpUntilIdle();
        EXPECT_EQ(vt::liveGdiObjects(), before) << k.name;
        DestroyWindow(c);
        vt::pumpUntilIdle();
    }
}

// A message and which of its parameters Win32 reads through as a pointer.
struct Msg {
    UINT id;
    bool wpPointer = false;
    bool lpPointer = false;
};

const Msg kCommon[] = {
    {WM_PAINT},      {WM_PRINTCLIENT}, {WM_ERASEBKGND}, {WM_SETFONT},    {WM_GETFONT},
    {WM_SETTEXT, false, true},         {WM_GETTEXT, false, true},        {WM_GETTEXTLENGTH},
    {WM_ENABLE},     {WM_SETFOCUS},    {WM_KILLFOCUS},  {WM_KEYDOWN},    {WM_KEYUP},
    {WM_CHAR},       {WM_SYSKEYDOWN},  {WM_LBUTTONDOWN}, {WM_LBUTTONUP}, {WM_LBUTTONDBLCLK},
    {WM_MOUSEMOVE},  {WM_MOUSEWHEEL},  {WM_MOUSELEAVE}, {WM_CAPTURECHANGED},
    {WM_GETDLGCODE, false, true},      {WM_SIZE},       {WM_TIMER},      {WM_VSCROLL},
    {WM_HSCROLL},    {WM_NCHITTEST},   {WM_SETCURSOR},  {WM_MOUSEACTIVATE}, {WM_UPDATEUISTATE},
    {WM_CTLCOLORLISTBOX}, {WM_CTLCOLOREDIT}, {WM_COMMAND},
};

const Msg kButton[] = {{BM_GETCHECK}, {BM_SETCHECK}, {BM_GETSTATE}, {BM_SETSTATE},
                       {BM_SETSTYLE}, {BM_CLICK},    {BM_GETIMAGE}, {BM_SETIMAGE}};

const Msg kStatic[] = {{STM_SETICON}, {STM_GETICON}, {STM_SETIMAGE}, {STM_GETIMAGE}};

const Msg kEdit[] = {
    {EM_GETSEL, true, true}, {EM_SETSEL},      {EM_GETRECT, false, true}, {EM_SETRECT, false, true},
    {EM_SETRECTNP, false, true}, {EM_SCROLL},  {EM_LINESCROLL},           {EM_SCROLLCARET},
    {EM_GETMODIFY},          {EM_SETMODIFY},   {EM_GETLINECOUNT},         {EM_LINEINDEX},
    {EM_LINELENGTH},         {EM_REPLACESEL, false, true}, {EM_GETLINE, false, true}, {EM_LIMITTEXT},
    {EM_CANUNDO},            {EM_UNDO},        {EM_LINEFROMCHAR},         {EM_SETTABSTOPS, false, true},
    {EM_SETPASSWORDCHAR},    {EM_EMPTYUNDOBUFFER}, {EM_GETFIRSTVISIBLELINE}, {EM_SETREADONLY},
    {EM_GETPASSWORDCHAR},    {EM_SETMARGINS},  {EM_GETMARGINS},           {EM_GETLIMITTEXT},
    {EM_POSFROMCHAR},        {EM_CHARFROMPOS}, {WM_CUT},                  {WM_COPY},
    {WM_PASTE},              {WM_CLEAR},       {WM_UNDO},
};

const Msg kListBox[] = {
    {LB_ADDSTRING, false, true}, {LB_INSERTSTRING, false, true}, {LB_DELETESTRING}, {LB_SELITEMRANGEEX},
    {LB_RESETCONTENT},       {LB_SETSEL},        {LB_SETCURSEL},       {LB_GETSEL},
    {LB_GETCURSEL},          {LB_GETTEXT, false, true}, {LB_GETTEXTLEN}, {LB_GETCOUNT},
    {LB_SELECTSTRING, false, true}, {LB_GETTOPINDEX}, {LB_FINDSTRING, false, true}, {LB_GETSELCOUNT},
    {LB_GETSELITEMS, false, true}, {LB_SETTABSTOPS, false, true}, {LB_GETHORIZONTALEXTENT},
    {LB_SETHORIZONTALEXTENT}, {LB_SETCOLUMNWIDTH}, {LB_SETTOPINDEX}, {LB_GETITEMRECT, false, true},
    {LB_GETITEMDATA},        {LB_SETITEMDATA},   {LB_SELITEMRANGE},    {LB_SETANCHORINDEX},
    {LB_GETANCHORINDEX},     {LB_SETCARETINDEX}, {LB_GETCARETINDEX},   {LB_SETITEMHEIGHT},
    {LB_GETITEMHEIGHT},      {LB_FINDSTRINGEXACT, false, true}, {LB_INITSTORAGE}, {LB_ITEMFROMPOINT},
    {LB_GETLISTBOXINFO},
};

const Msg kComboBox[] = {
    {CB_GETEDITSEL, true, true}, {CB_LIMITTEXT},   {CB_SETEDITSEL},      {CB_ADDSTRING, false, true},
    {CB_DELETESTRING},       {CB_GETCOUNT},        {CB_GETCURSEL},       {CB_GETLBTEXT, false, true},
    {CB_GETLBTEXTLEN},       {CB_INSERTSTRING, false, true}, {CB_RESETCONTENT}, {CB_FINDSTRING, false, true},
    {CB_SELECTSTRING, false, true}, {CB_SETCURSEL}, {CB_SHOWDROPDOWN},   {CB_GETITEMDATA},
    {CB_SETITEMDATA},        {CB_GETDROPPEDCONTROLRECT, false, true}, {CB_SETITEMHEIGHT}, {CB_GETITEMHEIGHT},
    {CB_SETEXTENDEDUI},      {CB_GETEXTENDEDUI},   {CB_GETDROPPEDSTATE}, {CB_FINDSTRINGEXACT, false, true},
    {CB_SETLOCALE},          {CB_GETLOCALE},       {CB_GETTOPINDEX},     {CB_SETTOPINDEX},
    {CB_GETHORIZONTALEXTENT}, {CB_SETHORIZONTALEXTENT}, {CB_GETDROPPEDWIDTH}, {CB_SETDROPPEDWIDTH},
    {CB_INITSTORAGE},        {CB_GETCOMBOBOXINFO, false, true},
};

template <size_t N>
void sweep(HWND c, const Msg (&msgs)[N], const char* name)
{
    const LPARAM values[] = {0, -1, LPARAM(1) << 30};
    for (const Msg& m : msgs)
        for (LPARAM wp : values)
            for (LPARAM lp : values) {
                if ((m.wpPointer && wp) || (m.lpPointer && lp))
                    continue; // a bad address would crash Win32 as well
                SendMessageA(c, m.id, WPARAM(wp), lp);
                ASSERT_TRUE(IsWindow(c)) << name << " message 0x" << std::hex << m.id;
            }
    vt::pumpUntilIdle();
}

TEST_F(StdCtlSoakTest, EveryHandledMessageWithOddParameters)
{
    for (const Kind& k : kKinds) {
        HWND c = build(k);
        sweep(c, kCommon, k.name);
        if (!strcmp(k.cls, "BUTTON"))
            sweep(c, kButton, k.name);
        else if (!strcmp(k.cls, "Static"))
            sweep(c, kStatic, k.name);
        else if (!strcmp(k.cls, "Edit"))
            sweep(c, kEdit, k.name);
        else if (!strcmp(k.cls, "ListBox"))
            sweep(c, kListBox, k.name);
        else
            sweep(c, kComboBox, k.name);
        // The combo box's own parts get the list box and edit messages too.
        if (!strcmp(k.cls, "ComboBox")) {
            COMBOBOXINFO ci{};
            ci.cbSize = sizeof ci;
            ASSERT_TRUE(SendMessageA(c, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(&ci)));
            sweep(ci.hwndList, kCommon, k.name);
            sweep(ci.hwndList, kListBox, k.name);
            if (ci.hwndItem)
                sweep(ci.hwndItem, kEdit, k.name);
        }
        if (GetCapture())
            ReleaseCapture();
        DestroyWindow(c);
        vt::pumpUntilIdle();
    }
}

TEST_F(StdCtlSoakTest, OneOfEachOnScreen)
{
    int x = 10, y = 10;
    for (const Kind& k : kKinds) {
        HWND c = build(k, x, y);
        RECT r;
        GetWindowRect(c, &r);
        y += r.bottom - r.top + 6;
        if (y > 330) {
            y = 10;
            x += 160;
        }
        if (!strcmp(k.cls, "ListBox"))
            SendMessageA(c, LB_SETCURSEL, 1, 0);
        if (!strcmp(k.cls, "ComboBox"))
            SendMessageA(c, CB_SETCURSEL, 2, 0);
        if (!strcmp(k.cls, "BUTTON") && (k.style & BS_TYPEMASK) != BS_GROUPBOX)
            SendMessageA(c, BM_SETCHECK, BST_CHECKED, 0);
    }
    UpdateWindow(top);
    vt::pumpUntilIdle();
    std::string path = std::string(VK_TEST_OUTPUT_DIR) + "/stdctl_one_of_each.png";
    EXPECT_TRUE(vt::saveWindowScreenshot(top, path.c_str()));
}

} // namespace
