// The "ComboBox" class: a selection field (an edit child or drawn text) with a
// list that is always shown (CBS_SIMPLE) or drops down as a pop-up window of
// its own, not a child of the combo box, as on Win32.
#include "controls/std/common.h"
#include "controls/std/listbox.h"

#include <windows.h>

#include <algorithm>

namespace vk::stdctl {

namespace {

constexpr int kEditId = 1001;
constexpr int kListId = 1000;
constexpr int kButtonWidth = 17;

struct ComboState {
    HWND list = nullptr;
    HWND edit = nullptr;
    bool dropped = false;
    bool buttonDown = false;
    bool focused = false;
    bool extendedUI = false;
    int fieldHeight = 0;   // the selection field, without the edges
    int droppedHeight = 0; // height of the list when dropped
    int droppedWidth = 0;
    int selBeforeDrop = -1;
    bool closing = false;
    HFONT font = nullptr;
    WNDPROC editProc = nullptr;
};

DWORD styleOf(HWND hwnd) { return DWORD(GetWindowLongA(hwnd, GWL_STYLE)); }
UINT kindOf(HWND hwnd) { return styleOf(hwnd) & 3; }

void notify(HWND hwnd, UINT code) { notifyParent(hwnd, code); }

RECT buttonRect(HWND hwnd)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    if (kindOf(hwnd) == CBS_SIMPLE)
        return RECT{0, 0, 0, 0};
    return RECT{rc.right - 2 - kButtonWidth, 2, rc.right - 2, rc.bottom - 2};
}

RECT itemRectOf(HWND hwnd, ComboState* s)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    if (kindOf(hwnd) == CBS_SIMPLE)
        return RECT{3, 3, rc.right - 3, 3 + s->fieldHeight};
    RECT b = buttonRect(hwnd);
    return RECT{3, 3, b.left - 1, rc.bottom - 3};
}

int curSel(ComboState* s) { return s->list ? int(SendMessageA(s->list, LB_GETCURSEL, 0, 0)) : -1; }

std::string itemText(ComboState* s, int i)
{
    int n = int(SendMessageA(s->list, LB_GETTEXTLEN, WPARAM(i), 0));
    if (n < 0)
        return {};
    std::string t(size_t(n) + 1, '\0');
    SendMessageA(s->list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(t.data()));
    t.resize(size_t(n));
    return t;
}

// The shown text follows the selection.
void textFromSelection(HWND hwnd, ComboState* s)
{
    int i = curSel(s);
    std::string t = i >= 0 ? itemText(s, i) : std::string();
    if (s->edit) {
        SetWindowTextA(s->edit, t.c_str());
        SendMessageA(s->edit, EM_SETSEL, 0, -1);
    } else {
        DefWindowProcA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(t.c_str()));
        InvalidateRect(hwnd, nullptr, FALSE);
    }
}

void paintCombo(HWND hwnd, HDC dc, ComboState* s)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    UINT kind = kindOf(hwnd);
    bool disabled = !IsWindowEnabled(hwnd);
    HBRUSH bg = controlColor(hwnd, kind == CBS_DROPDOWNLIST ? WM_CTLCOLORLISTBOX : WM_CTLCOLOREDIT, dc);
    if (!bg)
        bg = GetSysColorBrush(COLOR_WINDOW);
    if (kind == CBS_SIMPLE) {
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        RECT f{0, 0, rc.right, s->fieldHeight + 6};
        DrawEdge(dc, &f, EDGE_SUNKEN, BF_RECT);
        return;
    }
    RECT inner = rc;
    FillRect(dc, &inner, disabled ? GetSysColorBrush(COLOR_BTNFACE) : bg);
    DrawEdge(dc, &inner, EDGE_SUNKEN, BF_RECT);
    RECT b = buttonRect(hwnd);
    DrawFrameControl(dc, &b, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (s->buttonDown || s->dropped ? DFCS_PUSHED | DFCS_FLAT : 0) |
                                             (disabled ? DFCS_INACTIVE : 0));
    if (kind != CBS_DROPDOWNLIST)
        return;
    RECT item = itemRectOf(hwnd, s);
    DWORD st = styleOf(hwnd);
    int sel = curSel(s);
    if (st & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_COMBOBOX;
        dis.CtlID = UINT(GetDlgCtrlID(hwnd));
        dis.itemID = UINT(sel);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = ODS_COMBOBOXEDIT | (s->focused && !s->dropped ? ODS_SELECTED | ODS_FOCUS : 0) |
                        (disabled ? ODS_DISABLED : 0);
        dis.hwndItem = hwnd;
        dis.hDC = dc;
        dis.rcItem = item;
        dis.itemData = sel >= 0 ? ULONG_PTR(SendMessageA(s->list, LB_GETITEMDATA, WPARAM(sel), 0)) : 0;
        if (HWND p = GetParent(hwnd))
            SendMessageA(p, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        return;
    }
    std::string text = windowText(hwnd);
    bool hilite = s->focused && !s->dropped;
    if (hilite) {
        FillRect(dc, &item, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else if (disabled) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, s->font ? s->font : defaultFont());
    RECT tr = item;
    tr.left += 2;
    DrawTextA(dc, text.c_str(), -1, &tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    if (hilite)
        DrawFocusRect(dc, &item);
}

RECT dropRect(HWND hwnd, ComboState* s)
{
    RECT wr;
    GetWindowRect(hwnd, &wr);
    int ih = int(SendMessageA(s->list, LB_GETITEMHEIGHT, 0, 0));
    int n = int(SendMessageA(s->list, LB_GETCOUNT, 0, 0));
    int h = s->droppedHeight > 0 ? s->droppedHeight : ih * 8;
    if (!(styleOf(hwnd) & CBS_NOINTEGRALHEIGHT) && ih > 0) {
        int rows = std::max(1, std::min(n, (h - 2) / ih));
        if (n == 0)
            rows = 1;
        h = rows * ih + 2;
    }
    int w = std::max(int(wr.right - wr.left), s->droppedWidth);
    RECT r{wr.left, wr.bottom, wr.left + w, wr.bottom + h};
    int screenH = GetSystemMetrics(SM_CYSCREEN);
    if (r.bottom > screenH && wr.top - h >= 0)
        r = RECT{wr.left, wr.top - h, wr.left + w, wr.top};
    return r;
}

void showDropDown(HWND hwnd, ComboState* s, bool show)
{
    if (kindOf(hwnd) == CBS_SIMPLE || show == s->dropped || !s->list)
        return;
    if (show) {
        notify(hwnd, CBN_DROPDOWN);
        if (!IsWindow(hwnd))
            return;
        s->selBeforeDrop = curSel(s);
        RECT r = dropRect(hwnd, s);
        s->dropped = true;
        SetWindowPos(s->list, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOACTIVATE | SWP_SHOWWINDOW);
        listStartTracking(s->list);
        SetCapture(s->list);
        InvalidateRect(hwnd, nullptr, FALSE);
    } else {
        s->dropped = false;
        s->closing = true;
        if (GetCapture() == s->list)
            ReleaseCapture();
        ShowWindow(s->list, SW_HIDE);
        s->closing = false;
        InvalidateRect(hwnd, nullptr, FALSE);
        notify(hwnd, CBN_CLOSEUP);
    }
}

void finishDrop(HWND hwnd, ComboState* s, bool accept)
{
    if (!s->dropped || s->closing)
        return;
    int before = s->selBeforeDrop;
    if (!accept)
        SendMessageA(s->list, LB_SETCURSEL, WPARAM(before), 0);
    // A choice is shown and reported before the list goes, so a parent that
    // reads the combo box on CBN_CLOSEUP sees the new selection.
    if (accept && (curSel(s) != before || s->edit))
        textFromSelection(hwnd, s);
    if (accept && curSel(s) != before)
        notify(hwnd, CBN_SELCHANGE);
    if (!IsWindow(hwnd))
        return;
    notify(hwnd, accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
    if (!IsWindow(hwnd))
        return;
    showDropDown(hwnd, s, false);
    if (IsWindow(hwnd) && GetFocus() != (s->edit ? s->edit : hwnd))
        SetFocus(s->edit ? s->edit : hwnd);
}

// Arrow keys on a closed combo box step the selection.
void stepSelection(HWND hwnd, ComboState* s, int delta, bool toEnd)
{
    int n = int(SendMessageA(s->list, LB_GETCOUNT, 0, 0));
    if (n == 0)
        return;
    int cur = curSel(s);
    int next = toEnd ? (delta < 0 ? 0 : n - 1) : std::clamp(cur < 0 ? 0 : cur + delta, 0, n - 1);
    if (next == cur)
        return;
    SendMessageA(s->list, LB_SETCURSEL, WPARAM(next), 0);
    if (s->dropped)
        return; // the list shows it; the choice comes when the list closes
    textFromSelection(hwnd, s);
    notify(hwnd, CBN_SELCHANGE);
}

// Keys of the combo box (also those its edit field passes on); true when used.
bool comboKey(HWND hwnd, ComboState* s, WPARAM key, bool alt)
{
    switch (key) {
    case VK_F4:
        if (alt)
            return false;
        showDropDown(hwnd, s, !s->dropped);
        return true;
    case VK_DOWN:
        if (alt || (s->extendedUI && !s->dropped)) {
            showDropDown(hwnd, s, !s->dropped);
            return true;
        }
        stepSelection(hwnd, s, 1, false);
        return true;
    case VK_UP:
        if (alt) {
            showDropDown(hwnd, s, !s->dropped);
            return true;
        }
        stepSelection(hwnd, s, -1, false);
        return true;
    case VK_NEXT: stepSelection(hwnd, s, 8, false); return true;
    case VK_PRIOR: stepSelection(hwnd, s, -8, false); return true;
    case VK_HOME:
        if (s->edit)
            return false;
        stepSelection(hwnd, s, -1, true);
        return true;
    case VK_END:
        if (s->edit)
            return false;
        stepSelection(hwnd, s, 1, true);
        return true;
    case VK_RETURN:
        if (s->dropped) {
            finishDrop(hwnd, s, true);
            return true;
        }
        return false;
    case VK_ESCAPE:
        if (s->dropped) {
            finishDrop(hwnd, s, false);
            return true;
        }
        return false;
    default:
        return false;
    }
}

LRESULT CALLBACK editSubclass(HWND edit, UINT msg, WPARAM wp, LPARAM lp)
{
    HWND combo = GetParent(edit);
    ComboState* s = combo ? stateOf<ComboState>(combo) : nullptr;
    WNDPROC base = s ? s->editProc : nullptr;
    if (!s || !base)
        return DefWindowProcA(edit, msg, wp, lp);
    switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (wp == VK_F4 || wp == VK_UP || wp == VK_DOWN || wp == VK_NEXT || wp == VK_PRIOR ||
            ((wp == VK_RETURN || wp == VK_ESCAPE) && s->dropped))
            if (comboKey(combo, s, wp, msg == WM_SYSKEYDOWN || (lp & (1 << 29))))
                return 0;
        break;
    case WM_CHAR:
        if ((wp == '\r' || wp == 0x1b) && !s->dropped)
            break;
        if (wp == '\r' || wp == 0x1b)
            return 0;
        break;
    case WM_SETFOCUS: {
        LRESULT r = CallWindowProcA(base, edit, msg, wp, lp);
        if (!s->focused && IsWindow(combo)) {
            s->focused = true;
            notify(combo, CBN_SETFOCUS);
        }
        return r;
    }
    case WM_KILLFOCUS: {
        LRESULT r = CallWindowProcA(base, edit, msg, wp, lp);
        HWND to = reinterpret_cast<HWND>(wp);
        if (IsWindow(combo) && to != combo && to != s->list) {
            if (s->dropped)
                finishDrop(combo, s, false);
            s->focused = false;
            notify(combo, CBN_KILLFOCUS);
        }
        return r;
    }
    default:
        break;
    }
    return CallWindowProcA(base, edit, msg, wp, lp);
}

int fontHeight(HFONT font)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font ? font : defaultFont());
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    return tm.tmHeight > 0 ? int(tm.tmHeight) : 12;
}

void layout(HWND hwnd, ComboState* s)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    RECT item = itemRectOf(hwnd, s);
    if (s->edit)
        SetWindowPos(s->edit, nullptr, item.left, item.top, item.right - item.left, item.bottom - item.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    if (kindOf(hwnd) == CBS_SIMPLE && s->list) {
        int top = s->fieldHeight + 6;
        SetWindowPos(s->list, nullptr, 0, top, rc.right, std::max<int>(0, rc.bottom - top), SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

LRESULT forward(ComboState* s, UINT msg, WPARAM wp, LPARAM lp)
{
    if (!s->list)
        return CB_ERR;
    LRESULT r = SendMessageA(s->list, msg, wp, lp);
    return r == LB_ERRSPACE ? CB_ERRSPACE : r;
}

LRESULT CALLBACK comboProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    ComboState* s = stateOf<ComboState>(hwnd);
    if (!s && msg != WM_NCCREATE)
        return DefWindowProcA(hwnd, msg, wp, lp);
    DWORD st = styleOf(hwnd);
    UINT kind = st & 3;
    switch (msg) {
    case WM_NCCREATE: {
        s = attachState<ComboState>(hwnd);
        // No scroll bars on the combo box itself: they belong to its list.
        SetWindowLongA(hwnd, GWL_STYLE, LONG(st & ~(WS_VSCROLL | WS_HSCROLL)));
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    case WM_CREATE: {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
        if (kind == 0)
            kind = CBS_SIMPLE;
        s->fieldHeight = fontHeight(nullptr) + 4;
        HINSTANCE inst = cs ? cs->hInstance : nullptr;
        int fullHeight = cs ? cs->cy : 100;
        DWORD listStyle = WS_VSCROLL | LBS_NOTIFY | LBS_COMBOBOX | (st & CBS_SORT ? LBS_SORT : 0) |
                          (st & CBS_HASSTRINGS ? LBS_HASSTRINGS : 0) | (st & CBS_OWNERDRAWFIXED ? LBS_OWNERDRAWFIXED : 0) |
                          (st & CBS_OWNERDRAWVARIABLE ? LBS_OWNERDRAWVARIABLE : 0) |
                          (st & CBS_NOINTEGRALHEIGHT ? LBS_NOINTEGRALHEIGHT : 0) |
                          (st & CBS_DISABLENOSCROLL ? LBS_DISABLENOSCROLL : 0);
        if (kind == CBS_SIMPLE) {
            s->list = CreateWindowExA(WS_EX_CLIENTEDGE, "ComboLBox", nullptr, WS_CHILD | WS_VISIBLE | listStyle, 0, 0, 0, 0,
                                      hwnd, reinterpret_cast<HMENU>(INT_PTR(kListId)), inst, nullptr);
        } else {
            // The drop-down list is a top-level pop-up, owned by the combo box's
            // top-level window so that it is no window's child.
            s->list = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "ComboLBox", nullptr,
                                      WS_POPUP | WS_BORDER | listStyle, 0, 0, 0, 0, GetAncestor(hwnd, GA_ROOT),
                                      nullptr, inst, nullptr);
            s->droppedHeight = std::max(0, fullHeight - (s->fieldHeight + 6));
        }
        if (!s->list)
            return -1;
        attachListToCombo(s->list, hwnd, kind != CBS_SIMPLE);
        if (kind != CBS_DROPDOWNLIST) {
            DWORD es = WS_CHILD | WS_VISIBLE | ((st & CBS_AUTOHSCROLL) ? ES_AUTOHSCROLL : 0) |
                       (st & CBS_UPPERCASE ? ES_UPPERCASE : 0) | (st & CBS_LOWERCASE ? ES_LOWERCASE : 0);
            s->edit = CreateWindowExA(0, "Edit", cs && cs->lpszName ? cs->lpszName : "", es, 0, 0, 0, 0, hwnd,
                                      reinterpret_cast<HMENU>(INT_PTR(kEditId)), inst, nullptr);
            if (!s->edit)
                return -1;
            s->editProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(s->edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editSubclass)));
        }
        // A drop-down combo box is as tall as its selection field.
        if (kind != CBS_SIMPLE && cs)
            SetWindowPos(hwnd, nullptr, 0, 0, cs->cx, s->fieldHeight + 6, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        layout(hwnd, s);
        return 0;
    }
    case WM_DESTROY:
        if (s->list && IsWindow(s->list) && kind != CBS_SIMPLE) {
            HWND l = s->list;
            s->list = nullptr;
            DestroyWindow(l);
        }
        return 0;
    case WM_NCDESTROY:
        detachState<ComboState>(hwnd);
        return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_SIZE:
        layout(hwnd, s);
        return 0;
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
        if (s->dropped && (wp == VK_RETURN || wp == VK_ESCAPE))
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_PAINT:
        return paintMessage(hwnd, wp, [&](HDC dc) { paintCombo(hwnd, dc, s); });
    case WM_PRINTCLIENT:
        if (wp)
            paintCombo(hwnd, reinterpret_cast<HDC>(wp), s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFONT:
        s->font = reinterpret_cast<HFONT>(wp);
        if (s->edit)
            SendMessageA(s->edit, WM_SETFONT, wp, lp);
        if (s->list)
            SendMessageA(s->list, WM_SETFONT, wp, lp);
        if (LOWORD(lp))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s->font);
    case WM_SETTEXT:
        if (s->edit)
            return SendMessageA(s->edit, WM_SETTEXT, wp, lp);
        {
            // A list-only combo box shows whatever text it is given.
            LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
            InvalidateRect(hwnd, nullptr, FALSE);
            return r;
        }
    case WM_GETTEXT:
        if (s->edit)
            return SendMessageA(s->edit, WM_GETTEXT, wp, lp);
        return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_GETTEXTLENGTH:
        if (s->edit)
            return SendMessageA(s->edit, WM_GETTEXTLENGTH, wp, lp);
        return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_ENABLE:
        if (s->edit)
            EnableWindow(s->edit, BOOL(wp));
        if (s->list)
            EnableWindow(s->list, BOOL(wp));
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_SETFOCUS:
        if (s->edit) {
            SetFocus(s->edit);
            SendMessageA(s->edit, EM_SETSEL, 0, -1);
            return 0;
        }
        if (!s->focused) {
            s->focused = true;
            InvalidateRect(hwnd, nullptr, FALSE);
            notify(hwnd, CBN_SETFOCUS);
        }
        return 0;
    case WM_KILLFOCUS: {
        HWND to = reinterpret_cast<HWND>(wp);
        if (s->edit && (to == s->edit))
            return 0;
        if (s->dropped)
            finishDrop(hwnd, s, false);
        if (IsWindow(hwnd) && s->focused && !s->edit) {
            s->focused = false;
            InvalidateRect(hwnd, nullptr, FALSE);
            notify(hwnd, CBN_KILLFOCUS);
        }
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        RECT b = buttonRect(hwnd);
        if (kind == CBS_SIMPLE)
            return 0;
        if (GetFocus() != (s->edit ? s->edit : hwnd))
            SetFocus(s->edit ? s->edit : hwnd);
        if (!IsWindow(hwnd))
            return 0;
        if (kind == CBS_DROPDOWNLIST || PtInRect(&b, p)) {
            s->buttonDown = true;
            showDropDown(hwnd, s, !s->dropped);
            if (IsWindow(hwnd))
                s->buttonDown = false;
        }
        return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (comboKey(hwnd, s, wp, msg == WM_SYSKEYDOWN || (lp & (1 << 29))))
            return 0;
        return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_CHAR:
        if (!s->edit && s->list && wp >= 0x20 && wp < 0x80) {
            char pre[2] = {char(wp), 0};
            int i = int(SendMessageA(s->list, LB_FINDSTRING, WPARAM(curSel(s)), reinterpret_cast<LPARAM>(pre)));
            if (i >= 0 && i != curSel(s)) {
                SendMessageA(s->list, LB_SETCURSEL, WPARAM(i), 0);
                if (!s->dropped) {
                    textFromSelection(hwnd, s);
                    notify(hwnd, CBN_SELCHANGE);
                }
            }
        }
        return 0;
    case WM_MOUSEWHEEL:
        if (!s->dropped)
            stepSelection(hwnd, s, GET_WHEEL_DELTA_WPARAM(wp) > 0 ? -1 : 1, false);
        return 0;
    case WM_COMMAND: {
        HWND from = reinterpret_cast<HWND>(lp);
        if (from && from == s->edit) {
            if (HIWORD(wp) == EN_CHANGE)
                notify(hwnd, CBN_EDITCHANGE);
            else if (HIWORD(wp) == EN_UPDATE)
                notify(hwnd, CBN_EDITUPDATE);
            return 0;
        }
        if (from && from == s->list) {
            // The always-shown list of CBS_SIMPLE chooses at once.
            if (HIWORD(wp) == LBN_SELCHANGE && kind == CBS_SIMPLE) {
                textFromSelection(hwnd, s);
                notify(hwnd, CBN_SELCHANGE);
            } else if (HIWORD(wp) == LBN_DBLCLK) {
                notify(hwnd, CBN_DBLCLK);
            }
        }
        return 0;
    }
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        HWND p = GetParent(hwnd);
        if (p)
            return SendMessageA(p, msg, wp, reinterpret_cast<LPARAM>(hwnd));
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
        if (HWND p = GetParent(hwnd))
            return SendMessageA(p, msg, WPARAM(GetDlgCtrlID(hwnd)), lp);
        return 0;

    case CB_ADDSTRING: return forward(s, LB_ADDSTRING, wp, lp);
    case CB_INSERTSTRING: return forward(s, LB_INSERTSTRING, wp, lp);
    case CB_DELETESTRING: {
        int before = curSel(s);
        LRESULT r = forward(s, LB_DELETESTRING, wp, lp);
        if (r != CB_ERR && int(wp) == before && !s->edit)
            textFromSelection(hwnd, s);
        return r;
    }
    case CB_RESETCONTENT:
        forward(s, LB_RESETCONTENT, 0, 0);
        if (!s->edit) {
            DefWindowProcA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return CB_OKAY;
    case CB_FINDSTRING: return forward(s, LB_FINDSTRING, wp, lp);
    case CB_FINDSTRINGEXACT: return forward(s, LB_FINDSTRINGEXACT, wp, lp);
    case CB_SELECTSTRING: {
        LRESULT r = forward(s, LB_SELECTSTRING, wp, lp);
        if (r != CB_ERR)
            textFromSelection(hwnd, s);
        return r;
    }
    case CB_GETCURSEL: return curSel(s);
    case CB_SETCURSEL: {
        LRESULT r = forward(s, LB_SETCURSEL, wp, 0);
        textFromSelection(hwnd, s);
        return r;
    }
    case CB_GETLBTEXT: return lp ? forward(s, LB_GETTEXT, wp, lp) : CB_ERR;
    case CB_GETLBTEXTLEN: return forward(s, LB_GETTEXTLEN, wp, 0);
    case CB_GETCOUNT: return forward(s, LB_GETCOUNT, 0, 0);
    case CB_GETITEMDATA: return forward(s, LB_GETITEMDATA, wp, 0);
    case CB_SETITEMDATA: return forward(s, LB_SETITEMDATA, wp, lp);
    case CB_GETTOPINDEX: return forward(s, LB_GETTOPINDEX, 0, 0);
    case CB_SETTOPINDEX: return forward(s, LB_SETTOPINDEX, wp, 0);
    case CB_GETITEMHEIGHT:
        if (int(wp) == -1)
            return s->fieldHeight;
        return forward(s, LB_GETITEMHEIGHT, wp, 0);
    case CB_SETITEMHEIGHT: {
        int h = int(lp);
        if (h <= 0 || h > 255)
            return CB_ERR;
        if (int(wp) == -1) {
            s->fieldHeight = h;
            if (kind != CBS_SIMPLE) {
                RECT wr;
                GetWindowRect(hwnd, &wr);
                SetWindowPos(hwnd, nullptr, 0, 0, wr.right - wr.left, h + 6, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            layout(hwnd, s);
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        }
        return forward(s, LB_SETITEMHEIGHT, wp, lp);
    }
    case CB_SHOWDROPDOWN:
        // Closing by message is no choice: the highlight goes back as on Escape.
        if (!wp && s->dropped)
            finishDrop(hwnd, s, false);
        else
            showDropDown(hwnd, s, wp != 0);
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return s->dropped ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT: {
        if (!lp)
            return CB_ERR;
        RECT r;
        if (kind == CBS_SIMPLE || !s->list)
            GetWindowRect(hwnd, &r);
        else if (s->dropped)
            GetWindowRect(s->list, &r);
        else {
            r = dropRect(hwnd, s);
            RECT wr;
            GetWindowRect(hwnd, &wr);
            r.top = wr.top;
        }
        *reinterpret_cast<RECT*>(lp) = r;
        return TRUE;
    }
    case CB_SETEXTENDEDUI:
        if (kind == CBS_SIMPLE)
            return CB_ERR;
        s->extendedUI = wp != 0;
        return CB_OKAY;
    case CB_GETEXTENDEDUI:
        return s->extendedUI ? TRUE : FALSE;
    case CB_GETDROPPEDWIDTH: {
        RECT wr;
        GetWindowRect(hwnd, &wr);
        return std::max<LRESULT>(s->droppedWidth, wr.right - wr.left);
    }
    case CB_SETDROPPEDWIDTH:
        if (int(wp) < 0)
            return CB_ERR;
        s->droppedWidth = int(wp);
        return comboProc(hwnd, CB_GETDROPPEDWIDTH, 0, 0);
    case CB_LIMITTEXT:
        if (!s->edit)
            return FALSE;
        SendMessageA(s->edit, EM_LIMITTEXT, wp, 0);
        return TRUE;
    case CB_GETEDITSEL:
        if (!s->edit)
            return CB_ERR;
        return SendMessageA(s->edit, EM_GETSEL, wp, lp);
    case CB_SETEDITSEL:
        if (!s->edit)
            return CB_ERR;
        SendMessageA(s->edit, EM_SETSEL, WPARAM(short(LOWORD(lp))), LPARAM(short(HIWORD(lp))));
        return TRUE;
    case CB_GETCOMBOBOXINFO: {
        auto* info = reinterpret_cast<COMBOBOXINFO*>(lp);
        if (!info || info->cbSize != sizeof(COMBOBOXINFO))
            return FALSE;
        info->rcItem = itemRectOf(hwnd, s);
        info->rcButton = buttonRect(hwnd);
        info->stateButton = kind == CBS_SIMPLE ? STATE_SYSTEM_INVISIBLE : (s->dropped ? STATE_SYSTEM_PRESSED : 0);
        info->hwndCombo = hwnd;
        info->hwndItem = s->edit;
        info->hwndList = s->list;
        return TRUE;
    }
    case CB_DIR:
    case CB_INITSTORAGE:
    case CB_SETLOCALE:
    case CB_GETLOCALE:
    case CB_GETHORIZONTALEXTENT:
    case CB_SETHORIZONTALEXTENT:
        return msg == CB_DIR ? CB_ERR : 0;
    default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

void registerCombo() { registerControlClass("ComboBox", comboProc, CS_DBLCLKS | CS_PARENTDC); }

struct Install {
    Install() { vk::user::systemClassRegistrars().push_back(registerCombo); }
} g_install;

} // namespace

void comboListDone(HWND combo, bool accept)
{
    if (ComboState* s = stateOf<ComboState>(combo))
        finishDrop(combo, s, accept);
}


} // namespace vk::stdctl
