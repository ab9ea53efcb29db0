// The "ListBox" class, and "ComboLBox", the list of a combo box.
#include "controls/std/common.h"
#include "controls/std/listbox.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace vk::stdctl {

namespace {

struct Item {
    std::string text;
    ULONG_PTR data = 0;
    bool selected = false;
    UINT height = 0; // LBS_OWNERDRAWVARIABLE
};

struct ListState {
    std::vector<Item> items;
    int curSel = -1;  // single selection
    int caret = 0;    // the item with the focus rectangle
    int anchor = -1;  // extended selection's fixed end
    int top = 0;
    int itemHeight = 0;
    bool focused = false;
    bool mouseDown = false;
    HFONT font = nullptr;
    HWND combo = nullptr;  // ComboLBox: the combo box it belongs to
    bool dropDown = false; // ComboLBox of a drop-down combo
    bool armed = false;    // the mouse entered or pressed inside while dropped
    // Asked for WS_VSCROLL at creation: hiding the bar clears the style bit,
    // so the wish is kept here.
    bool wantsVScroll = false;
    bool disableNoScroll = false;
    bool fitting = false; // shrinking itself to whole items
};

DWORD styleOf(HWND hwnd) { return DWORD(GetWindowLongA(hwnd, GWL_STYLE)); }
bool ownerDrawn(DWORD st) { return st & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE); }
bool hasStrings(DWORD st) { return !ownerDrawn(st) || (st & LBS_HASSTRINGS); }
bool multi(DWORD st) { return st & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL); }

HWND reportTo(HWND hwnd, ListState* s) { return s->combo ? s->combo : GetParent(hwnd); }

void notify(HWND hwnd, ListState* s, UINT code)
{
    if (!s->combo && !(styleOf(hwnd) & LBS_NOTIFY) && code != LBN_SETFOCUS && code != LBN_KILLFOCUS)
        return;
    HWND to = reportTo(hwnd, s);
    if (to)
        SendMessageA(to, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), code), reinterpret_cast<LPARAM>(hwnd));
}

int heightOfItem(ListState* s, DWORD st, int i)
{
    if ((st & LBS_OWNERDRAWVARIABLE) && i >= 0 && size_t(i) < s->items.size() && s->items[size_t(i)].height)
        return int(s->items[size_t(i)].height);
    return s->itemHeight;
}

int count(ListState* s) { return int(s->items.size()); }

int visibleCount(HWND hwnd, ListState* s)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    return std::max(1, int(rc.bottom / std::max(1, s->itemHeight)));
}

RECT itemRect(HWND hwnd, ListState* s, int i)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    DWORD st = styleOf(hwnd);
    int y = 0;
    if (i >= s->top)
        for (int k = s->top; k < i; ++k)
            y += heightOfItem(s, st, k);
    else
        for (int k = i; k < s->top; ++k)
            y -= heightOfItem(s, st, k);
    return RECT{0, y, rc.right, y + heightOfItem(s, st, i)};
}

void updateScroll(HWND hwnd, ListState* s)
{
    if (!s->wantsVScroll)
        return;
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, count(s) - 1, UINT(visibleCount(hwnd, s)), s->top, 0};
    if (s->disableNoScroll)
        si.fMask |= SIF_DISABLENOSCROLL;
    if (count(s) == 0)
        si.nMax = 0;
    SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
}

// A list box shows whole items only: unless told otherwise it drops the part
// of its height that would show a part of one. True when it resized itself.
bool fitWholeItems(HWND hwnd, ListState* s)
{
    DWORD st = styleOf(hwnd);
    if (s->combo || s->fitting || (st & (LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWVARIABLE)) || s->itemHeight <= 0)
        return false;
    RECT rc;
    GetClientRect(hwnd, &rc);
    int extra = int(rc.bottom) % s->itemHeight;
    if (extra == 0 || rc.bottom < s->itemHeight)
        return false;
    RECT wr;
    GetWindowRect(hwnd, &wr);
    s->fitting = true;
    SetWindowPos(hwnd, nullptr, 0, 0, wr.right - wr.left, wr.bottom - wr.top - extra,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    s->fitting = false;
    return true;
}

void setTop(HWND hwnd, ListState* s, int top)
{
    int maxTop = std::max(0, count(s) - visibleCount(hwnd, s));
    top = std::clamp(top, 0, maxTop);
    if (top == s->top)
        return;
    s->top = top;
    InvalidateRect(hwnd, nullptr, TRUE);
    updateScroll(hwnd, s);
}

void ensureVisible(HWND hwnd, ListState* s, int i)
{
    if (i < 0)
        return;
    int vis = visibleCount(hwnd, s);
    if (i < s->top)
        setTop(hwnd, s, i);
    else if (i >= s->top + vis)
        setTop(hwnd, s, i - vis + 1);
}

void drawItem(HWND hwnd, HDC dc, ListState* s, int i, UINT action)
{
    DWORD st = styleOf(hwnd);
    RECT r = itemRect(hwnd, s, i);
    bool sel = multi(st) ? s->items[size_t(i)].selected : i == s->curSel;
    bool focus = s->focused && i == s->caret && !s->combo;
    if (ownerDrawn(st)) {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = s->combo ? ODT_COMBOBOX : ODT_LISTBOX;
        dis.CtlID = UINT(GetDlgCtrlID(s->combo ? s->combo : hwnd));
        dis.itemID = UINT(i);
        dis.itemAction = action;
        dis.itemState = (sel ? ODS_SELECTED : 0) | (focus ? ODS_FOCUS : 0) | (IsWindowEnabled(hwnd) ? 0 : ODS_DISABLED);
        dis.hwndItem = s->combo ? s->combo : hwnd;
        dis.hDC = dc;
        dis.rcItem = r;
        dis.itemData = s->items[size_t(i)].data;
        HWND to = s->combo ? GetParent(s->combo) : GetParent(hwnd);
        if (to)
            SendMessageA(to, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
        return;
    }
    COLORREF oldText = GetTextColor(dc);
    if (sel) {
        FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    }
    RECT tr = r;
    tr.left += 2;
    const std::string& t = s->items[size_t(i)].text;
    DrawTextA(dc, t.c_str(), int(t.size()), &tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX |
                                                     ((st & LBS_USETABSTOPS) ? DT_EXPANDTABS : 0));
    SetTextColor(dc, oldText);
    if (focus)
        DrawFocusRect(dc, &r);
}

void paintList(HWND hwnd, HDC dc, ListState* s)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    HWND to = reportTo(hwnd, s);
    HBRUSH bg = to ? reinterpret_cast<HBRUSH>(SendMessageA(to, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                                                         reinterpret_cast<LPARAM>(hwnd)))
                   : GetSysColorBrush(COLOR_WINDOW);
    if (!bg)
        bg = GetSysColorBrush(COLOR_WINDOW);
    FillRect(dc, &rc, bg);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ old = SelectObject(dc, s->font ? s->font : defaultFont());
    int y = 0;
    DWORD st = styleOf(hwnd);
    for (int i = s->top; i < count(s) && y < rc.bottom; ++i) {
        drawItem(hwnd, dc, s, i, ODA_DRAWENTIRE);
        y += heightOfItem(s, st, i);
    }
    // An empty focused list still shows where the focus is.
    if (count(s) == 0 && s->focused && !s->combo) {
        RECT fr{0, 0, rc.right, s->itemHeight};
        DrawFocusRect(dc, &fr);
    }
    SelectObject(dc, old);
}

void measureItem(HWND hwnd, ListState* s, int i)
{
    DWORD st = styleOf(hwnd);
    if (!ownerDrawn(st))
        return;
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = s->combo ? ODT_COMBOBOX : ODT_LISTBOX;
    mis.CtlID = UINT(GetDlgCtrlID(s->combo ? s->combo : hwnd));
    mis.itemID = UINT(i < 0 ? 0 : i);
    mis.itemHeight = UINT(s->itemHeight);
    RECT rc;
    GetClientRect(hwnd, &rc);
    mis.itemWidth = UINT(rc.right);
    if (i >= 0 && size_t(i) < s->items.size())
        mis.itemData = s->items[size_t(i)].data;
    HWND to = s->combo ? GetParent(s->combo) : GetParent(hwnd);
    if (to)
        SendMessageA(to, WM_MEASUREITEM, mis.CtlID, reinterpret_cast<LPARAM>(&mis));
    if (i < 0 || (st & LBS_OWNERDRAWFIXED)) {
        if (mis.itemHeight > 0 && mis.itemHeight < 256)
            s->itemHeight = int(mis.itemHeight);
    } else if (size_t(i) < s->items.size()) {
        s->items[size_t(i)].height = std::clamp<UINT>(mis.itemHeight, 1, 255);
    }
}

int insertItem(HWND hwnd, ListState* s, int at, LPARAM lp, bool sorted)
{
    DWORD st = styleOf(hwnd);
    Item it;
    if (hasStrings(st))
        it.text = lp ? reinterpret_cast<const char*>(lp) : "";
    else
        it.data = ULONG_PTR(lp);
    if (sorted && hasStrings(st)) {
        at = 0;
        while (at < count(s) && lstrcmpiA(s->items[size_t(at)].text.c_str(), it.text.c_str()) <= 0)
            ++at;
    } else if (at < 0 || at > count(s)) {
        if (at != -1)
            return LB_ERR;
        at = count(s);
    }
    s->items.insert(s->items.begin() + at, it);
    if (s->curSel >= at)
        ++s->curSel;
    if (s->caret > at && count(s) > 1)
        ++s->caret;
    if (st & LBS_OWNERDRAWVARIABLE)
        measureItem(hwnd, s, at);
    InvalidateRect(hwnd, nullptr, TRUE);
    updateScroll(hwnd, s);
    return at;
}

int findString(ListState* s, DWORD st, int start, const char* text, bool exact)
{
    int n = count(s);
    // Without strings, lParam is the item data to look for, not text.
    if (n == 0 || (!text && hasStrings(st)))
        return LB_ERR;
    int from = (start < -1 || start >= n) ? 0 : start + 1;
    size_t len = hasStrings(st) ? strlen(text) : 0;
    for (int k = 0; k < n; ++k) {
        int i = (from + k) % n;
        const Item& it = s->items[size_t(i)];
        if (!hasStrings(st)) {
            if (it.data == ULONG_PTR(reinterpret_cast<uintptr_t>(text)))
                return i;
            continue;
        }
        if (exact ? lstrcmpiA(it.text.c_str(), text) == 0
                  : (it.text.size() >= len && CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, it.text.c_str(),
                                                             int(len), text, int(len)) == CSTR_EQUAL))
            return i;
    }
    return LB_ERR;
}

void redrawItem(HWND hwnd, int i)
{
    ListState* s = stateOf<ListState>(hwnd);
    if (!s || i < 0 || i >= count(s))
        return;
    RECT r = itemRect(hwnd, s, i);
    InvalidateRect(hwnd, &r, TRUE);
}

void setCaret(HWND hwnd, ListState* s, int i)
{
    if (i == s->caret)
        return;
    redrawItem(hwnd, s->caret);
    s->caret = i;
    redrawItem(hwnd, i);
}

bool setCurSel(HWND hwnd, ListState* s, int i)
{
    if (i == s->curSel)
        return false;
    redrawItem(hwnd, s->curSel);
    s->curSel = i;
    redrawItem(hwnd, i);
    if (i >= 0)
        s->caret = i;
    return true;
}

void selectRange(HWND hwnd, ListState* s, int a, int b, bool on)
{
    if (a > b)
        std::swap(a, b);
    for (int i = std::max(a, 0); i <= b && i < count(s); ++i)
        if (s->items[size_t(i)].selected != on) {
            s->items[size_t(i)].selected = on;
            redrawItem(hwnd, i);
        }
}

void clearSelection(HWND hwnd, ListState* s) { selectRange(hwnd, s, 0, count(s) - 1, false); }

int itemAt(HWND hwnd, ListState* s, POINT p, bool* outside = nullptr)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    bool out = !PtInRect(&rc, p);
    DWORD st = styleOf(hwnd);
    int y = 0, i = s->top;
    int py = std::clamp<int>(p.y, 0, std::max<int>(0, rc.bottom - 1));
    while (i < count(s)) {
        int h = heightOfItem(s, st, i);
        if (py < y + h)
            break;
        y += h;
        ++i;
    }
    if (i >= count(s)) {
        out = true;
        i = count(s) - 1;
    }
    if (outside)
        *outside = out;
    return i;
}

// A user selection at item i by mouse or keyboard.
void userSelect(HWND hwnd, ListState* s, int i, bool shift, bool ctrl, bool toggle)
{
    if (i < 0 || i >= count(s))
        return;
    DWORD st = styleOf(hwnd);
    if (st & LBS_NOSEL)
        return;
    bool changed = false;
    if (st & LBS_MULTIPLESEL) {
        if (toggle) {
            s->items[size_t(i)].selected = !s->items[size_t(i)].selected;
            redrawItem(hwnd, i);
            changed = true;
        }
        setCaret(hwnd, s, i);
    } else if (st & LBS_EXTENDEDSEL) {
        if (shift && s->anchor >= 0) {
            std::vector<bool> before;
            for (auto& it : s->items)
                before.push_back(it.selected);
            if (!ctrl)
                clearSelection(hwnd, s);
            selectRange(hwnd, s, s->anchor, i, true);
            for (size_t k = 0; k < before.size(); ++k)
                changed |= before[k] != s->items[k].selected;
        } else if (ctrl) {
            s->items[size_t(i)].selected = !s->items[size_t(i)].selected;
            redrawItem(hwnd, i);
            s->anchor = i;
            changed = true;
        } else {
            bool only = s->items[size_t(i)].selected;
            for (int k = 0; k < count(s); ++k)
                if (k != i && s->items[size_t(k)].selected)
                    only = false;
            clearSelection(hwnd, s);
            selectRange(hwnd, s, i, i, true);
            s->anchor = i;
            changed = !only;
        }
        setCaret(hwnd, s, i);
    } else {
        changed = setCurSel(hwnd, s, i);
    }
    ensureVisible(hwnd, s, i);
    if (changed && !(s->combo && s->dropDown))
        notify(hwnd, s, LBN_SELCHANGE);
}

void keyDown(HWND hwnd, ListState* s, WPARAM key)
{
    DWORD st = styleOf(hwnd);
    if (st & LBS_WANTKEYBOARDINPUT) {
        HWND to = reportTo(hwnd, s);
        LRESULT r = to ? SendMessageA(to, WM_VKEYTOITEM, MAKEWPARAM(key, s->caret), reinterpret_cast<LPARAM>(hwnd)) : -1;
        if (r == -2 || !IsWindow(hwnd))
            return;
        if (r >= 0) {
            userSelect(hwnd, s, int(r), false, false, false);
            return;
        }
    }
    int cur = multi(st) ? s->caret : s->curSel;
    int n = count(s);
    if (n == 0)
        return;
    int page = visibleCount(hwnd, s);
    int next = cur;
    switch (key) {
    case VK_UP: case VK_LEFT: next = cur < 0 ? 0 : cur - 1; break;
    case VK_DOWN: case VK_RIGHT: next = cur < 0 ? 0 : cur + 1; break;
    case VK_PRIOR: next = cur - page + 1; break;
    case VK_NEXT: next = cur + page - 1; break;
    case VK_HOME: next = 0; break;
    case VK_END: next = n - 1; break;
    case VK_SPACE:
        if (st & LBS_MULTIPLESEL)
            userSelect(hwnd, s, std::max(cur, 0), false, false, true);
        else if (st & LBS_EXTENDEDSEL)
            userSelect(hwnd, s, std::max(cur, 0), false, GetKeyState(VK_CONTROL) < 0, false);
        return;
    default: return;
    }
    next = std::clamp(next, 0, n - 1);
    bool shift = GetKeyState(VK_SHIFT) < 0;
    if (st & LBS_MULTIPLESEL) {
        setCaret(hwnd, s, next);
        ensureVisible(hwnd, s, next);
        // Win32 reports every arrow key here, whether or not anything changed.
        notify(hwnd, s, LBN_SELCHANGE);
    } else if ((st & LBS_EXTENDEDSEL) && GetKeyState(VK_CONTROL) < 0 && !shift) {
        setCaret(hwnd, s, next);
        ensureVisible(hwnd, s, next);
    } else {
        if ((st & LBS_EXTENDEDSEL) && !shift)
            s->anchor = next;
        if (next != cur || !(st & LBS_EXTENDEDSEL) || shift)
            userSelect(hwnd, s, next, shift, false, false);
    }
}

void charTyped(HWND hwnd, ListState* s, WPARAM ch)
{
    DWORD st = styleOf(hwnd);
    if (ch < 0x20 || ch >= 0x80 || !hasStrings(st))
        return;
    char pre[2] = {char(ch), 0};
    int from = multi(st) ? s->caret : s->curSel;
    int i = findString(s, st, from, pre, false);
    if (i >= 0)
        userSelect(hwnd, s, i, false, false, !multi(st) ? false : false);
}

LRESULT CALLBACK listProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    ListState* s = stateOf<ListState>(hwnd);
    if (!s && msg != WM_NCCREATE)
        return DefWindowProcA(hwnd, msg, wp, lp);
    DWORD st = styleOf(hwnd);
    switch (msg) {
    case WM_NCCREATE: {
        s = attachState<ListState>(hwnd);
        if (auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp)) {
            s->wantsVScroll = (cs->style & WS_VSCROLL) != 0;
            s->disableNoScroll = (cs->style & LBS_DISABLENOSCROLL) != 0;
        }
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, defaultFont());
        TEXTMETRICA tm{};
        GetTextMetricsA(dc, &tm);
        SelectObject(dc, old);
        DeleteDC(dc);
        s->itemHeight = std::max<int>(int(tm.tmHeight) + 2, 8);
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
    case WM_CREATE:
        if (st & LBS_OWNERDRAWFIXED)
            measureItem(hwnd, s, -1);
        updateScroll(hwnd, s);
        return 0;
    case WM_NCDESTROY:
        detachState<ListState>(hwnd);
        return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_PAINT:
        return paintMessage(hwnd, wp, [&](HDC dc) {
            if (!(st & LBS_NOREDRAW))
                paintList(hwnd, dc, s);
        });
    case WM_PRINTCLIENT:
        if (wp)
            paintList(hwnd, reinterpret_cast<HDC>(wp), s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        if (fitWholeItems(hwnd, s))
            return 0; // the nested WM_SIZE has done the rest
        updateScroll(hwnd, s);
        setTop(hwnd, s, s->top);
        return 0;
    case WM_SETFONT: {
        s->font = reinterpret_cast<HFONT>(wp);
        if (!ownerDrawn(st)) {
            HDC dc = CreateCompatibleDC(nullptr);
            HGDIOBJ old = SelectObject(dc, s->font ? s->font : defaultFont());
            TEXTMETRICA tm{};
            GetTextMetricsA(dc, &tm);
            SelectObject(dc, old);
            DeleteDC(dc);
            s->itemHeight = std::max<int>(int(tm.tmHeight) + 2, 8);
        }
        if (LOWORD(lp))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s->font);
    case WM_SETFOCUS:
        s->focused = true;
        redrawItem(hwnd, s->caret);
        if (count(s) == 0)
            InvalidateRect(hwnd, nullptr, TRUE);
        notify(hwnd, s, LBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        s->focused = false;
        redrawItem(hwnd, s->caret);
        notify(hwnd, s, LBN_KILLFOCUS);
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_VSCROLL: {
        int page = visibleCount(hwnd, s);
        switch (LOWORD(wp)) {
        case SB_LINEUP: setTop(hwnd, s, s->top - 1); break;
        case SB_LINEDOWN: setTop(hwnd, s, s->top + 1); break;
        case SB_PAGEUP: setTop(hwnd, s, s->top - page); break;
        case SB_PAGEDOWN: setTop(hwnd, s, s->top + page); break;
        case SB_TOP: setTop(hwnd, s, 0); break;
        case SB_BOTTOM: setTop(hwnd, s, count(s)); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: setTop(hwnd, s, HIWORD(wp)); break;
        default: break;
        }
        return 0;
    }
    case WM_MOUSEWHEEL:
        setTop(hwnd, s, s->top - 3 * GET_WHEEL_DELTA_WPARAM(wp) / WHEEL_DELTA);
        return 0;
    case WM_LBUTTONDOWN: {
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        if (s->combo && s->dropDown) {
            RECT rc;
            GetClientRect(hwnd, &rc);
            POINT sp = p;
            ClientToScreen(hwnd, &sp);
            RECT wr;
            GetWindowRect(hwnd, &wr);
            if (!PtInRect(&wr, sp)) {
                comboListDone(s->combo, false); // a click outside dismisses
                return 0;
            }
            if (PtInRect(&rc, p)) {
                s->armed = true;
                bool out = false;
                int i = itemAt(hwnd, s, p, &out);
                if (!out)
                    setCurSel(hwnd, s, i);
            }
            return 0;
        }
        if (GetFocus() != hwnd)
            SetFocus(hwnd);
        if (!IsWindow(hwnd))
            return 0;
        bool out = false;
        int i = itemAt(hwnd, s, p, &out);
        if (i < 0)
            return 0;
        s->mouseDown = true;
        SetCapture(hwnd);
        userSelect(hwnd, s, i, (wp & MK_SHIFT) != 0, (wp & MK_CONTROL) != 0, (st & LBS_MULTIPLESEL) != 0);
        return 0;
    }
    case WM_MOUSEMOVE: {
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        if (s->combo && s->dropDown) {
            RECT rc;
            GetClientRect(hwnd, &rc);
            if (PtInRect(&rc, p)) {
                s->armed = true;
                bool out = false;
                int i = itemAt(hwnd, s, p, &out);
                if (!out)
                    setCurSel(hwnd, s, i);
            }
            return 0;
        }
        if (s->mouseDown && GetCapture() == hwnd && !(st & LBS_MULTIPLESEL)) {
            int i = itemAt(hwnd, s, p);
            RECT rc;
            GetClientRect(hwnd, &rc);
            if (p.y < 0)
                i = std::max(0, s->top - 1);
            else if (p.y >= rc.bottom)
                i = std::min(count(s) - 1, s->top + visibleCount(hwnd, s));
            if (i >= 0 && i != (multi(st) ? s->caret : s->curSel))
                userSelect(hwnd, s, i, (st & LBS_EXTENDEDSEL) != 0, false, false);
        }
        return 0;
    }
    case WM_LBUTTONUP: {
        if (s->combo && s->dropDown) {
            POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            RECT rc;
            GetClientRect(hwnd, &rc);
            if (s->armed && PtInRect(&rc, p))
                comboListDone(s->combo, true);
            return 0;
        }
        if (s->mouseDown) {
            s->mouseDown = false;
            if (GetCapture() == hwnd)
                ReleaseCapture();
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        s->mouseDown = false;
        if (s->combo && s->dropDown && reinterpret_cast<HWND>(lp) != hwnd && IsWindowVisible(hwnd))
            comboListDone(s->combo, false);
        return 0;
    case WM_LBUTTONDBLCLK: {
        if (s->combo && s->dropDown)
            return listProc(hwnd, WM_LBUTTONDOWN, wp, lp);
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        bool out = false;
        itemAt(hwnd, s, p, &out);
        if (!out)
            notify(hwnd, s, LBN_DBLCLK);
        return 0;
    }
    case WM_KEYDOWN:
        keyDown(hwnd, s, wp);
        return 0;
    case WM_CHAR:
        charTyped(hwnd, s, wp);
        return 0;
    case WM_MOUSEACTIVATE:
        if (s->combo && s->dropDown)
            return MA_NOACTIVATE;
        return DefWindowProcA(hwnd, msg, wp, lp);

    case LB_ADDSTRING:
        return insertItem(hwnd, s, -1, lp, (st & LBS_SORT) != 0);
    case LB_INSERTSTRING:
        return insertItem(hwnd, s, int(wp), lp, false);
    case LB_DELETESTRING: {
        int i = int(wp);
        if (i < 0 || i >= count(s))
            return LB_ERR;
        if (ownerDrawn(st)) {
            DELETEITEMSTRUCT dis{s->combo ? UINT(ODT_COMBOBOX) : UINT(ODT_LISTBOX),
                                 UINT(GetDlgCtrlID(s->combo ? s->combo : hwnd)), UINT(i), s->combo ? s->combo : hwnd,
                                 s->items[size_t(i)].data};
            HWND to = s->combo ? GetParent(s->combo) : GetParent(hwnd);
            if (to)
                SendMessageA(to, WM_DELETEITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
            if (!IsWindow(hwnd) || i >= count(s))
                return LB_ERR;
        }
        s->items.erase(s->items.begin() + i);
        if (s->curSel == i)
            s->curSel = -1;
        else if (s->curSel > i)
            --s->curSel;
        if (s->caret > i || s->caret >= count(s))
            s->caret = std::max(0, s->caret - 1);
        if (s->anchor >= count(s))
            s->anchor = count(s) - 1;
        setTop(hwnd, s, s->top);
        InvalidateRect(hwnd, nullptr, TRUE);
        updateScroll(hwnd, s);
        return count(s);
    }
    case LB_RESETCONTENT:
        s->items.clear();
        s->curSel = -1;
        s->caret = 0;
        s->anchor = -1;
        s->top = 0;
        InvalidateRect(hwnd, nullptr, TRUE);
        updateScroll(hwnd, s);
        return 0;
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
        return findString(s, st, int(wp), reinterpret_cast<const char*>(lp), msg == LB_FINDSTRINGEXACT);
    case LB_SELECTSTRING: {
        int i = findString(s, st, int(wp), reinterpret_cast<const char*>(lp), false);
        if (i < 0)
            return LB_ERR;
        if (multi(st)) {
            selectRange(hwnd, s, i, i, true);
            setCaret(hwnd, s, i);
        } else {
            setCurSel(hwnd, s, i);
        }
        ensureVisible(hwnd, s, i);
        return i;
    }
    case LB_GETCURSEL:
        if (multi(st))
            return count(s) ? s->caret : LB_ERR;
        return s->curSel;
    case LB_SETCURSEL: {
        if (multi(st))
            return LB_ERR;
        int i = int(wp);
        if (i < -1 || i >= count(s))
            i = -1;
        setCurSel(hwnd, s, i);
        ensureVisible(hwnd, s, i);
        return i < 0 ? LB_ERR : i;
    }
    case LB_GETSEL: {
        int i = int(wp);
        if (i < 0 || i >= count(s))
            return LB_ERR;
        return multi(st) ? (s->items[size_t(i)].selected ? 1 : 0) : (i == s->curSel ? 1 : 0);
    }
    case LB_SETSEL: {
        if (!multi(st))
            return LB_ERR;
        int i = int(lp);
        if (i == -1) {
            selectRange(hwnd, s, 0, count(s) - 1, wp != 0);
            return 0;
        }
        if (i < 0 || i >= count(s))
            return LB_ERR;
        selectRange(hwnd, s, i, i, wp != 0);
        if (wp) {
            setCaret(hwnd, s, i);
            s->anchor = i;
        }
        return 0;
    }
    case LB_SELITEMRANGE:
    case LB_SELITEMRANGEEX: {
        if (!multi(st))
            return LB_ERR;
        int a, b;
        bool on;
        if (msg == LB_SELITEMRANGE) {
            a = LOWORD(lp);
            b = HIWORD(lp);
            on = wp != 0;
        } else {
            a = int(wp);
            b = int(lp);
            on = a <= b;
        }
        if (a < 0 || b < 0)
            return LB_ERR;
        selectRange(hwnd, s, a, b, on);
        return 0;
    }
    case LB_GETSELCOUNT: {
        if (!multi(st))
            return LB_ERR;
        int n = 0;
        for (auto& it : s->items)
            n += it.selected;
        return n;
    }
    case LB_GETSELITEMS: {
        if (!multi(st))
            return LB_ERR;
        int* out = reinterpret_cast<int*>(lp);
        int n = 0;
        if (!out)
            return LB_ERR;
        for (int i = 0; i < count(s) && n < int(wp); ++i)
            if (s->items[size_t(i)].selected)
                out[n++] = i;
        return n;
    }
    case LB_GETTEXT: {
        int i = int(wp);
        if (i < 0 || i >= count(s) || !lp)
            return LB_ERR;
        if (!hasStrings(st)) {
            memcpy(reinterpret_cast<void*>(lp), &s->items[size_t(i)].data, sizeof(ULONG_PTR));
            return sizeof(ULONG_PTR);
        }
        const std::string& t = s->items[size_t(i)].text;
        memcpy(reinterpret_cast<char*>(lp), t.c_str(), t.size() + 1);
        return LRESULT(t.size());
    }
    case LB_GETTEXTLEN: {
        int i = int(wp);
        if (i < 0 || i >= count(s))
            return LB_ERR;
        return hasStrings(st) ? LRESULT(s->items[size_t(i)].text.size()) : LRESULT(sizeof(ULONG_PTR));
    }
    case LB_GETCOUNT:
        return count(s);
    case LB_GETTOPINDEX:
        return s->top;
    case LB_SETTOPINDEX:
        if (int(wp) < 0 || (int(wp) >= count(s) && count(s)))
            return LB_ERR;
        setTop(hwnd, s, int(wp));
        return 0;
    case LB_GETITEMRECT: {
        int i = int(wp);
        if (!lp || i < 0 || (i >= count(s) && !(i == 0 && count(s) == 0)))
            return LB_ERR;
        *reinterpret_cast<RECT*>(lp) = itemRect(hwnd, s, i);
        RECT rc;
        GetClientRect(hwnd, &rc);
        RECT r = *reinterpret_cast<RECT*>(lp), x;
        return IntersectRect(&x, &r, &rc) ? 1 : 0;
    }
    case LB_GETITEMHEIGHT:
        if ((st & LBS_OWNERDRAWVARIABLE) && (int(wp) < 0 || int(wp) >= count(s)))
            return LB_ERR;
        return heightOfItem(s, st, int(wp));
    case LB_SETITEMHEIGHT: {
        int h = LOWORD(lp);
        if (h <= 0 || h > 255)
            return LB_ERR;
        if (st & LBS_OWNERDRAWVARIABLE) {
            if (int(wp) < 0 || int(wp) >= count(s))
                return LB_ERR;
            s->items[size_t(wp)].height = UINT(h);
        } else {
            s->itemHeight = h;
        }
        InvalidateRect(hwnd, nullptr, TRUE);
        updateScroll(hwnd, s);
        return 0;
    }
    case LB_GETITEMDATA: {
        int i = int(wp);
        if (i < 0 || i >= count(s))
            return LB_ERR;
        return LRESULT(s->items[size_t(i)].data);
    }
    case LB_SETITEMDATA: {
        int i = int(wp);
        if (i < 0 || i >= count(s))
            return LB_ERR;
        s->items[size_t(i)].data = ULONG_PTR(lp);
        return 0;
    }
    case LB_ITEMFROMPOINT: {
        POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        bool out = false;
        int i = itemAt(hwnd, s, p, &out);
        if (i < 0)
            return MAKELRESULT(0, 1);
        return MAKELRESULT(i, out ? 1 : 0);
    }
    case LB_GETCARETINDEX:
        return count(s) ? (multi(st) ? s->caret : (s->curSel >= 0 ? s->curSel : s->caret)) : 0;
    case LB_SETCARETINDEX: {
        int i = int(wp);
        if (i < 0 || i >= count(s))
            return LB_ERR;
        if (multi(st))
            setCaret(hwnd, s, i);
        else
            s->caret = i;
        if (!lp)
            ensureVisible(hwnd, s, i);
        return 0;
    }
    case LB_SETANCHORINDEX:
        if (int(wp) < 0 || int(wp) >= count(s))
            return LB_ERR;
        s->anchor = int(wp);
        return 0;
    case LB_GETANCHORINDEX:
        return s->anchor;
    case LB_GETHORIZONTALEXTENT:
    case LB_SETHORIZONTALEXTENT:
    case LB_SETCOLUMNWIDTH:
    case LB_SETTABSTOPS:
    case LB_INITSTORAGE:
        return msg == LB_SETTABSTOPS ? TRUE : 0;
    case LB_GETLISTBOXINFO:
        return visibleCount(hwnd, s);
    default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

void registerLists()
{
    registerControlClass("ListBox", listProc, CS_DBLCLKS | CS_PARENTDC);
    registerControlClass("ComboLBox", listProc, CS_DBLCLKS | CS_SAVEBITS);
}

struct Install {
    Install() { vk::user::systemClassRegistrars().push_back(registerLists); }
} g_install;

} // namespace

void attachListToCombo(HWND list, HWND combo, bool dropDown)
{
    if (ListState* s = stateOf<ListState>(list)) {
        s->combo = combo;
        s->dropDown = dropDown;
    }
}

void listStartTracking(HWND list)
{
    if (ListState* s = stateOf<ListState>(list)) {
        s->armed = false;
        ensureVisible(list, s, s->curSel);
    }
}

} // namespace vk::stdctl
