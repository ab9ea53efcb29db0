// Dialog-style keyboard navigation (IsDialogMessageA: Tab, arrows, Enter,
// Escape, WM_GETDLGCODE) and the dialog item helpers.
#include "core/last_error.h"
#include "user/window.h"

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <iterator>

using namespace vk;
using namespace vk::user;

namespace {

// The controls of a dialog in tab order: children in z-order, descending
// into WS_EX_CONTROLPARENT containers.
void collectControls(Window* parent, std::vector<Window*>& out)
{
    for (Window* c : parent->children) {
        if ((c->exStyle & WS_EX_CONTROLPARENT) && !c->children.empty()) {
            out.push_back(c);
            collectControls(c, out);
        } else {
            out.push_back(c);
        }
    }
}

bool usable(Window* w) { return isVisible(w) && !(w->style & WS_DISABLED); }

HWND defaultButtonId(HWND dlg, int& id)
{
    LRESULT def = SendMessageA(dlg, DM_GETDEFID, 0, 0);
    id = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
    return GetDlgItem(dlg, id);
}

} // namespace

extern "C" {

HWND WINAPI GetDlgItem(HWND dlg, int id)
{
    Window* d = checked(dlg);
    if (!d)
        return nullptr;
    for (Window* c : d->children)
        if (c->id == UINT_PTR(UINT(id)) || int(c->id) == id)
            return c->hwnd;
    return failWith(ERROR_CONTROL_ID_NOT_FOUND, HWND(nullptr));
}

int WINAPI GetDlgCtrlID(HWND hwnd)
{
    Window* w = checked(hwnd);
    if (!w || !w->isChild())
        return 0;
    return int(w->id);
}

LRESULT WINAPI SendDlgItemMessageA(HWND dlg, int id, UINT msg, WPARAM wp, LPARAM lp)
{
    HWND item = GetDlgItem(dlg, id);
    return item ? SendMessageA(item, msg, wp, lp) : 0;
}

BOOL WINAPI SetDlgItemTextA(HWND dlg, int id, LPCSTR text)
{
    HWND item = GetDlgItem(dlg, id);
    return item ? SetWindowTextA(item, text) : FALSE;
}

UINT WINAPI GetDlgItemTextA(HWND dlg, int id, LPSTR buf, int max)
{
    HWND item = GetDlgItem(dlg, id);
    if (!item) {
        if (buf && max > 0)
            buf[0] = 0;
        return 0;
    }
    return UINT(GetWindowTextA(item, buf, max));
}

BOOL WINAPI SetDlgItemInt(HWND dlg, int id, UINT value, BOOL isSigned)
{
    char buf[32];
    if (isSigned)
        snprintf(buf, sizeof buf, "%d", int(value));
    else
        snprintf(buf, sizeof buf, "%u", value);
    return SetDlgItemTextA(dlg, id, buf);
}

UINT WINAPI GetDlgItemInt(HWND dlg, int id, BOOL* ok, BOOL isSigned)
{
    char buf[64];
    if (ok)
        *ok = FALSE;
    if (!GetDlgItemTextA(dlg, id, buf, sizeof buf))
        return 0;
    char* end = nullptr;
    long long v = isSigned ? strtoll(buf, &end, 10) : (long long)strtoull(buf, &end, 10);
    while (end && *end == ' ')
        ++end;
    if (!end || end == buf || *end)
        return 0;
    if (isSigned ? (v < INT32_MIN || v > INT32_MAX) : (v < 0 || v > UINT32_MAX))
        return 0;
    if (ok)
        *ok = TRUE;
    return UINT(v);
}

BOOL WINAPI CheckDlgButton(HWND dlg, int id, UINT check)
{
    HWND item = GetDlgItem(dlg, id);
    if (!item)
        return FALSE;
    SendMessageA(item, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND dlg, int id)
{
    HWND item = GetDlgItem(dlg, id);
    return item ? UINT(SendMessageA(item, BM_GETCHECK, 0, 0)) : 0;
}

BOOL WINAPI CheckRadioButton(HWND dlg, int first, int last, int check)
{
    Window* d = checked(dlg);
    if (!d)
        return FALSE;
    for (Window* c : std::vector<Window*>(d->children)) {
        int id = int(c->id);
        if (id >= first && id <= last)
            SendMessageA(c->hwnd, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    return TRUE;
}

HWND WINAPI GetNextDlgTabItem(HWND dlg, HWND ctl, BOOL previous)
{
    Window* d = checked(dlg);
    if (!d)
        return nullptr;
    std::vector<Window*> all;
    collectControls(d, all);
    std::vector<Window*> stops;
    for (Window* c : all)
        if (usable(c) && (c->style & WS_TABSTOP) && !((c->exStyle & WS_EX_CONTROLPARENT) && !c->children.empty()))
            stops.push_back(c);
    if (stops.empty())
        return ctl;
    Window* cur = fromHandle(ctl);
    auto it = std::find(stops.begin(), stops.end(), cur);
    if (it == stops.end()) {
        // Start from the position of ctl in the full order.
        auto pos = std::find(all.begin(), all.end(), cur);
        if (pos == all.end())
            return previous ? stops.back()->hwnd : stops.front()->hwnd;
        if (previous) {
            for (auto p = std::make_reverse_iterator(pos); p != all.rend(); ++p)
                if (std::find(stops.begin(), stops.end(), *p) != stops.end())
                    return (*p)->hwnd;
            return stops.back()->hwnd;
        }
        for (auto p = pos + 1; p != all.end(); ++p)
            if (std::find(stops.begin(), stops.end(), *p) != stops.end())
                return (*p)->hwnd;
        return stops.front()->hwnd;
    }
    size_t i = size_t(it - stops.begin());
    size_t n = stops.size();
    return stops[previous ? (i + n - 1) % n : (i + 1) % n]->hwnd;
}

HWND WINAPI GetNextDlgGroupItem(HWND dlg, HWND ctl, BOOL previous)
{
    Window* d = checked(dlg);
    if (!d)
        return nullptr;
    Window* cur = fromHandle(ctl);
    if (!cur || !cur->parent)
        return ctl;
    const std::vector<Window*>& sib = cur->parent->children;
    auto it = std::find(sib.begin(), sib.end(), cur);
    if (it == sib.end())
        return ctl;
    // The group runs from the last WS_GROUP at or before ctl to the next one.
    size_t i = size_t(it - sib.begin());
    size_t start = i;
    while (start > 0 && !(sib[start]->style & WS_GROUP))
        --start;
    size_t end = i + 1;
    while (end < sib.size() && !(sib[end]->style & WS_GROUP))
        ++end;
    size_t n = end - start;
    for (size_t step = 1; step < n; ++step) {
        size_t k = previous ? start + (i - start + n - step) % n : start + (i - start + step) % n;
        if (usable(sib[k]))
            return sib[k]->hwnd;
    }
    return ctl;
}

BOOL WINAPI IsDialogMessageA(HWND dlg, LPMSG msg)
{
    if (!dlg || !msg)
        return FALSE;
    Window* d = fromHandle(dlg);
    if (!d)
        return FALSE;
    if (msg->hwnd != dlg && !IsChild(dlg, msg->hwnd))
        return FALSE;
    if (msg->message == WM_KEYDOWN) {
        HWND focus = GetFocus();
        HWND target = focus && (focus == dlg || IsChild(dlg, focus)) ? focus : msg->hwnd;
        LRESULT code = SendMessageA(target, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
        if (!(code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE))) {
            switch (msg->wParam) {
            case VK_TAB:
                if (!(code & DLGC_WANTTAB)) {
                    bool back = GetKeyState(VK_SHIFT) < 0;
                    HWND next = GetNextDlgTabItem(dlg, target == dlg ? nullptr : target, back);
                    if (next) {
                        SetFocus(next);
                        if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
                            SendMessageA(next, EM_SETSEL, 0, -1);
                    }
                    return TRUE;
                }
                break;
            case VK_LEFT:
            case VK_UP:
            case VK_RIGHT:
            case VK_DOWN:
                if (!(code & DLGC_WANTARROWS) && target != dlg) {
                    bool back = msg->wParam == VK_LEFT || msg->wParam == VK_UP;
                    HWND next = GetNextDlgGroupItem(dlg, target, back);
                    if (next && next != target) {
                        SetFocus(next);
                        if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)
                            SendMessageA(next, BM_CLICK, 0, 0);
                    }
                    return TRUE;
                }
                break;
            case VK_RETURN: {
                int id;
                HWND btn = defaultButtonId(dlg, id);
                if (target != dlg && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
                    btn = target;
                    id = GetDlgCtrlID(target);
                }
                if (!btn || IsWindowEnabled(btn))
                    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(btn));
                return TRUE;
            }
            case VK_ESCAPE:
                SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDCANCEL)));
                return TRUE;
            default:
                break;
            }
        }
    }
    TranslateMessage(msg);
    DispatchMessageA(msg);
    return TRUE;
}

LONG WINAPI GetDialogBaseUnits(void) { return MAKELONG(6, 12); }

BOOL WINAPI MapDialogRect(HWND dlg, LPRECT r)
{
    if (!checked(dlg) || !r)
        return FALSE;
    r->left = r->left * 6 / 4;
    r->right = r->right * 6 / 4;
    r->top = r->top * 12 / 8;
    r->bottom = r->bottom * 12 / 8;
    return TRUE;
}

} // extern "C"
