// The "BUTTON" class: push buttons, check boxes, radio buttons, group boxes,
// user and owner-drawn buttons, in the classic look.
#include "controls/std/common.h"

#include <windows.h>

namespace vk::stdctl {

namespace {

struct ButtonState {
    UINT check = BST_UNCHECKED;
    bool pushed = false;   // drawn pressed (BM_SETSTATE, mouse or space held)
    bool focused = false;
    bool mouseDown = false; // left button captured
    bool spaceDown = false;
    HFONT font = nullptr;
    HANDLE image = nullptr;
    UINT imageType = IMAGE_BITMAP;
};

UINT typeOf(HWND hwnd) { return UINT(GetWindowLongA(hwnd, GWL_STYLE)) & BS_TYPEMASK; }

bool isCheckType(UINT t)
{
    return t == BS_CHECKBOX || t == BS_AUTOCHECKBOX || t == BS_3STATE || t == BS_AUTO3STATE;
}
bool isRadioType(UINT t) { return t == BS_RADIOBUTTON || t == BS_AUTORADIOBUTTON; }
bool isPushType(UINT t) { return t == BS_PUSHBUTTON || t == BS_DEFPUSHBUTTON || t == BS_USERBUTTON || t == BS_PUSHBOX; }

HFONT fontFor(ButtonState* s) { return s && s->font ? s->font : defaultFont(); }

void drawText(HWND hwnd, HDC dc, ButtonState* s, RECT r, UINT fmt, bool disabled)
{
    std::string text = windowText(hwnd);
    HGDIOBJ old = SelectObject(dc, fontFor(s));
    SetBkMode(dc, TRANSPARENT);
    if (disabled) {
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        RECT sh = r;
        OffsetRect(&sh, 1, 1);
        DrawTextA(dc, text.c_str(), -1, &sh, fmt);
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    DrawTextA(dc, text.c_str(), -1, &r, fmt);
    SelectObject(dc, old);
}

UINT hAlign(DWORD style, UINT def)
{
    switch (style & BS_CENTER) {
    case BS_LEFT: return DT_LEFT;
    case BS_RIGHT: return DT_RIGHT;
    case BS_CENTER: return DT_CENTER;
    default: return def;
    }
}

RECT textBounds(HWND hwnd, HDC dc, ButtonState* s, RECT area, UINT fmt)
{
    std::string text = windowText(hwnd);
    HGDIOBJ old = SelectObject(dc, fontFor(s));
    RECT calc = area;
    DrawTextA(dc, text.c_str(), -1, &calc, (fmt & ~(DT_CENTER | DT_RIGHT | DT_VCENTER)) | DT_CALCRECT);
    SelectObject(dc, old);
    int w = calc.right - calc.left, h = calc.bottom - calc.top;
    RECT out = area;
    if (fmt & DT_CENTER)
        out.left = area.left + (area.right - area.left - w) / 2;
    else if (fmt & DT_RIGHT)
        out.left = area.right - w;
    out.right = out.left + w;
    out.top = area.top + (area.bottom - area.top - h) / 2;
    out.bottom = out.top + h;
    return out;
}

void ownerDraw(HWND hwnd, HDC dc, ButtonState* s, UINT action)
{
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = UINT(GetDlgCtrlID(hwnd));
    dis.itemID = 0;
    dis.itemAction = action;
    if (s->pushed)
        dis.itemState |= ODS_SELECTED;
    if (s->focused)
        dis.itemState |= ODS_FOCUS;
    if (!IsWindowEnabled(hwnd))
        dis.itemState |= ODS_DISABLED;
    dis.hwndItem = hwnd;
    dis.hDC = dc;
    GetClientRect(hwnd, &dis.rcItem);
    // The parent's colours are set up on the DC first, as Win32 does.
    controlColor(hwnd, WM_CTLCOLORBTN, dc);
    HWND p = parentOf(hwnd);
    if (p)
        SendMessageA(p, WM_DRAWITEM, dis.CtlID, reinterpret_cast<LPARAM>(&dis));
}

void paintButton(HWND hwnd, HDC dc, ButtonState* s, UINT action = ODA_DRAWENTIRE)
{
    DWORD style = DWORD(GetWindowLongA(hwnd, GWL_STYLE));
    UINT type = style & BS_TYPEMASK;
    if (type == BS_OWNERDRAW) {
        ownerDraw(hwnd, dc, s, action);
        return;
    }
    RECT rc;
    GetClientRect(hwnd, &rc);
    bool disabled = !IsWindowEnabled(hwnd);
    if (isPushType(type) || (style & BS_PUSHLIKE)) {
        HBRUSH br = controlColor(hwnd, WM_CTLCOLORBTN, dc);
        (void)br;
        bool pressed = s->pushed || ((style & BS_PUSHLIKE) && s->check == BST_CHECKED);
        RECT r = rc;
        if (type == BS_DEFPUSHBUTTON) {
            FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
            InflateRect(&r, -1, -1);
        }
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        if (pressed) {
            FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
        } else {
            DrawEdge(dc, &r, EDGE_RAISED, BF_RECT);
        }
        RECT tr = r;
        InflateRect(&tr, -4, -4);
        if (pressed)
            OffsetRect(&tr, 1, 1);
        if (s->image && (style & (BS_BITMAP | BS_ICON))) {
            int w = 16, h = 16;
            if (s->imageType == IMAGE_BITMAP) {
                BITMAP bm{};
                if (GetObjectA(s->image, sizeof bm, &bm)) {
                    w = bm.bmWidth;
                    h = bm.bmHeight;
                }
                HDC mem = CreateCompatibleDC(dc);
                HGDIOBJ old = SelectObject(mem, s->image);
                BitBlt(dc, (tr.left + tr.right - w) / 2, (tr.top + tr.bottom - h) / 2, w, h, mem, 0, 0, SRCCOPY);
                SelectObject(mem, old);
                DeleteDC(mem);
            } else {
                DrawIconEx(dc, (tr.left + tr.right - 16) / 2, (tr.top + tr.bottom - 16) / 2,
                           static_cast<HICON>(s->image), 16, 16, 0, nullptr, DI_NORMAL);
            }
        } else {
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            drawText(hwnd, dc, s, tr, hAlign(style, DT_CENTER) | DT_VCENTER | DT_SINGLELINE, disabled);
        }
        if (s->focused) {
            RECT fr = r;
            InflateRect(&fr, -3, -3);
            DrawFocusRect(dc, &fr);
        }
        return;
    }
    HBRUSH bg = controlColor(hwnd, WM_CTLCOLORSTATIC, dc);
    if (type == BS_GROUPBOX) {
        // Only the frame and the caption's background are painted: the
        // controls laid out inside the box stay visible, wherever they sit
        // in the z-order.
        HGDIOBJ old = SelectObject(dc, fontFor(s));
        TEXTMETRICA tm{};
        GetTextMetricsA(dc, &tm);
        SelectObject(dc, old);
        RECT frame = rc;
        frame.top += tm.tmHeight / 2;
        DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
        std::string text = windowText(hwnd);
        if (!text.empty()) {
            RECT tr{rc.left + 8, rc.top, rc.right - 8, rc.top + tm.tmHeight};
            RECT tb = textBounds(hwnd, dc, s, tr, hAlign(style, DT_LEFT) | DT_SINGLELINE);
            tb.left -= 2;
            tb.right += 2;
            if (bg)
                FillRect(dc, &tb, bg);
            tb.left += 2;
            drawText(hwnd, dc, s, tb, DT_LEFT | DT_SINGLELINE | DT_TOP, disabled);
        }
        return;
    }
    // Check boxes and radio buttons: a 13 px box and the text beside it.
    if (bg)
        FillRect(dc, &rc, bg);
    const int box = 13;
    bool leftText = style & (BS_LEFTTEXT | BS_RIGHTBUTTON);
    RECT br{rc.left, (rc.top + rc.bottom - box) / 2, rc.left + box, (rc.top + rc.bottom - box) / 2 + box};
    if (leftText)
        OffsetRect(&br, rc.right - box - br.left, 0);
    UINT state = (isRadioType(type) ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK);
    if (s->check == BST_CHECKED)
        state |= DFCS_CHECKED;
    if (s->check == BST_INDETERMINATE)
        state |= (type == BS_3STATE || type == BS_AUTO3STATE) ? (DFCS_CHECKED | DFCS_INACTIVE) : DFCS_CHECKED;
    if (s->pushed)
        state |= DFCS_PUSHED;
    if (disabled)
        state |= DFCS_INACTIVE;
    DrawFrameControl(dc, &br, DFC_BUTTON, state);
    RECT tr = rc;
    if (leftText)
        tr.right = br.left - 4;
    else
        tr.left = br.right + 4;
    UINT fmt = hAlign(style, DT_LEFT) | DT_VCENTER | ((style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE);
    drawText(hwnd, dc, s, tr, fmt, disabled);
    if (s->focused && !windowText(hwnd).empty()) {
        RECT fr = textBounds(hwnd, dc, s, tr, fmt);
        InflateRect(&fr, 1, 1);
        IntersectRect(&fr, &fr, &rc);
        DrawFocusRect(dc, &fr);
    }
}

void repaint(HWND hwnd, UINT action = ODA_DRAWENTIRE)
{
    ButtonState* s = stateOf<ButtonState>(hwnd);
    if (!s || !IsWindowVisible(hwnd))
        return;
    HDC dc = GetDC(hwnd);
    if (!dc)
        return;
    paintButton(hwnd, dc, s, action);
    ReleaseDC(hwnd, dc);
}

void setPushed(HWND hwnd, ButtonState* s, bool on)
{
    if (s->pushed == on)
        return;
    s->pushed = on;
    repaint(hwnd, ODA_SELECT);
}

// Auto radio buttons uncheck their siblings up to the next WS_GROUP.
void uncheckGroup(HWND hwnd)
{
    HWND parent = GetParent(hwnd);
    if (!parent)
        return;
    HWND first = hwnd;
    for (;;) {
        if (GetWindowLongA(first, GWL_STYLE) & WS_GROUP)
            break;
        HWND prev = GetWindow(first, GW_HWNDPREV);
        if (!prev)
            break;
        first = prev;
    }
    for (HWND h = first; h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (h != first && (GetWindowLongA(h, GWL_STYLE) & WS_GROUP))
            break;
        if (h == hwnd)
            continue;
        char cls[16];
        if (GetClassNameA(h, cls, sizeof cls) && lstrcmpiA(cls, "BUTTON") == 0 && typeOf(h) == BS_AUTORADIOBUTTON)
            SendMessageA(h, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

void clicked(HWND hwnd)
{
    ButtonState* s = stateOf<ButtonState>(hwnd);
    if (!s)
        return;
    switch (typeOf(hwnd)) {
    case BS_AUTOCHECKBOX:
        SendMessageA(hwnd, BM_SETCHECK, s->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
        break;
    case BS_AUTO3STATE:
        SendMessageA(hwnd, BM_SETCHECK, s->check == BST_UNCHECKED ? BST_CHECKED
                                        : s->check == BST_CHECKED ? BST_INDETERMINATE : BST_UNCHECKED, 0);
        break;
    case BS_AUTORADIOBUTTON:
        SendMessageA(hwnd, BM_SETCHECK, BST_CHECKED, 0);
        if (IsWindow(hwnd))
            uncheckGroup(hwnd);
        break;
    default:
        break;
    }
    if (IsWindow(hwnd))
        notifyParent(hwnd, BN_CLICKED);
}

bool cursorInside(HWND hwnd, LPARAM lp)
{
    RECT rc;
    GetClientRect(hwnd, &rc);
    POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    return PtInRect(&rc, p) != FALSE;
}

LRESULT CALLBACK buttonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    ButtonState* s = stateOf<ButtonState>(hwnd);
    if (!s && msg != WM_NCCREATE)
        return DefWindowProcA(hwnd, msg, wp, lp);
    switch (msg) {
    case WM_NCCREATE:
        attachState<ButtonState>(hwnd);
        return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_NCDESTROY:
        detachState<ButtonState>(hwnd);
        return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_GETDLGCODE: {
        UINT t = typeOf(hwnd);
        if (t == BS_DEFPUSHBUTTON)
            return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        if (t == BS_PUSHBUTTON || t == BS_PUSHBOX || t == BS_USERBUTTON || t == BS_OWNERDRAW)
            return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        if (isRadioType(t))
            return DLGC_BUTTON | DLGC_RADIOBUTTON;
        if (t == BS_GROUPBOX)
            return DLGC_STATIC;
        return DLGC_BUTTON;
    }
    case WM_PAINT:
        return paintMessage(hwnd, wp, [&](HDC dc) { paintButton(hwnd, dc, s); });
    case WM_PRINTCLIENT:
        if (wp)
            paintButton(hwnd, reinterpret_cast<HDC>(wp), s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETTEXT: {
        LRESULT r = DefWindowProcA(hwnd, msg, wp, lp);
        InvalidateRect(hwnd, nullptr, TRUE);
        return r;
    }
    case WM_SETFONT:
        s->font = reinterpret_cast<HFONT>(wp);
        if (LOWORD(lp))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s->font);
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_SETFOCUS:
        s->focused = true;
        repaint(hwnd, ODA_FOCUS);
        if (GetWindowLongA(hwnd, GWL_STYLE) & BS_NOTIFY)
            notifyParent(hwnd, BN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        s->focused = false;
        if (s->mouseDown || s->spaceDown) {
            s->mouseDown = s->spaceDown = false;
            if (GetCapture() == hwnd)
                ReleaseCapture();
            s->pushed = false;
        }
        repaint(hwnd, ODA_FOCUS);
        if (IsWindow(hwnd) && (GetWindowLongA(hwnd, GWL_STYLE) & BS_NOTIFY))
            notifyParent(hwnd, BN_KILLFOCUS);
        return 0;
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONDOWN:
        if (typeOf(hwnd) == BS_GROUPBOX)
            return 0;
        if (msg == WM_LBUTTONDBLCLK && (isRadioType(typeOf(hwnd)) || typeOf(hwnd) == BS_OWNERDRAW ||
                                        typeOf(hwnd) == BS_USERBUTTON)) {
            notifyParent(hwnd, BN_DOUBLECLICKED);
            return 0;
        }
        SetCapture(hwnd);
        SetFocus(hwnd);
        if (!IsWindow(hwnd))
            return 0;
        s->mouseDown = true;
        setPushed(hwnd, s, true);
        return 0;
    case WM_MOUSEMOVE:
        if (s->mouseDown && GetCapture() == hwnd)
            setPushed(hwnd, s, cursorInside(hwnd, lp));
        return 0;
    case WM_LBUTTONUP: {
        if (!s->mouseDown)
            return 0;
        s->mouseDown = false;
        bool inside = cursorInside(hwnd, lp);
        setPushed(hwnd, s, false);
        if (GetCapture() == hwnd)
            ReleaseCapture();
        if (inside && IsWindow(hwnd))
            clicked(hwnd);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (s->mouseDown) {
            s->mouseDown = false;
            setPushed(hwnd, s, false);
        }
        return 0;
    case WM_KEYDOWN:
        if (wp == VK_SPACE && !s->spaceDown && typeOf(hwnd) != BS_GROUPBOX) {
            s->spaceDown = true;
            setPushed(hwnd, s, true);
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_KEYUP:
        if (wp == VK_SPACE && s->spaceDown) {
            s->spaceDown = false;
            setPushed(hwnd, s, false);
            clicked(hwnd);
            return 0;
        }
        return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_CHAR:
        return 0;
    case WM_NCHITTEST:
        if (typeOf(hwnd) == BS_GROUPBOX)
            return HTTRANSPARENT;
        return DefWindowProcA(hwnd, msg, wp, lp);
    case BM_GETCHECK:
        return s->check;
    case BM_SETCHECK: {
        UINT t = typeOf(hwnd);
        UINT v = UINT(wp);
        if (v > BST_INDETERMINATE)
            v = BST_CHECKED;
        if (v == BST_INDETERMINATE && t != BS_3STATE && t != BS_AUTO3STATE)
            v = BST_CHECKED;
        if (!isCheckType(t) && !isRadioType(t))
            return 0;
        if (s->check != v) {
            s->check = v;
            repaint(hwnd, ODA_SELECT);
        }
        // A checked radio button becomes the group's tab stop.
        if (isRadioType(t)) {
            LONG st = GetWindowLongA(hwnd, GWL_STYLE);
            SetWindowLongA(hwnd, GWL_STYLE, v == BST_CHECKED ? (st | WS_TABSTOP) : (st & ~WS_TABSTOP));
        }
        return 0;
    }
    case BM_GETSTATE:
        return s->check | (s->pushed ? BST_PUSHED : 0) | (s->focused ? BST_FOCUS : 0);
    case BM_SETSTATE:
        setPushed(hwnd, s, wp != 0);
        return 0;
    case BM_CLICK: {
        if (!IsWindowEnabled(hwnd))
            return 0;
        // Win32 simulates the press and release; only the click is observable.
        clicked(hwnd);
        return 0;
    }
    case BM_SETSTYLE: {
        LONG st = GetWindowLongA(hwnd, GWL_STYLE);
        SetWindowLongA(hwnd, GWL_STYLE, LONG((st & ~0xFFFF) | (LONG(wp) & 0xFFFF)));
        if (LOWORD(lp))
            InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    }
    case BM_SETIMAGE: {
        if (wp != IMAGE_BITMAP && wp != IMAGE_ICON)
            return 0;
        HANDLE old = s->imageType == wp ? s->image : nullptr;
        s->image = reinterpret_cast<HANDLE>(lp);
        s->imageType = UINT(wp);
        InvalidateRect(hwnd, nullptr, TRUE);
        return reinterpret_cast<LRESULT>(old);
    }
    case BM_GETIMAGE:
        return s->imageType == wp ? reinterpret_cast<LRESULT>(s->image) : 0;
    default:
        return DefWindowProcA(hwnd, msg, wp, lp);
    }
}

void registerButton() { registerControlClass("BUTTON", buttonProc, CS_DBLCLKS | CS_PARENTDC); }

struct Install {
    Install() { vk::user::systemClassRegistrars().push_back(registerButton); }
} g_install;

} // namespace

} // namespace vk::stdctl
