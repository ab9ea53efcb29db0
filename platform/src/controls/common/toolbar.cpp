// "ToolbarWindow32": a row of buttons with images and text. Button rectangles
// come from one layout pass that painting, hit testing and TB_GETITEMRECT share.
#include "controls/common/control_base.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace vk::comctl {
namespace {

constexpr int kDefaultSeparator = 8;
constexpr int kDropArrowWidth = 14;
constexpr int kDividerHeight = 2;
constexpr int kTextPadding = 6;

struct ToolButton {
    int iBitmap = 0;
    int idCommand = 0;
    BYTE fsState = 0;
    BYTE fsStyle = 0;
    DWORD_PTR dwData = 0;
    INT_PTR iString = -1;
    std::string text;
    RECT rect{};
    int cx = 0; // TBIF_SIZE width, 0 for automatic
};

class Toolbar {
public:
    Toolbar(HWND hwnd, const CREATESTRUCTA& cs) : m_hwnd(hwnd), m_notify(cs.hwndParent) {}
    ~Toolbar()
    {
        if (m_tooltip && IsWindow(m_tooltip))
            DestroyWindow(m_tooltip);
    }

    DWORD style() const { return static_cast<DWORD>(GetWindowLongA(m_hwnd, GWL_STYLE)); }
    int count() const { return static_cast<int>(m_buttons.size()); }
    bool flat() const { return style() & (TBSTYLE_FLAT | TBSTYLE_LIST); }
    bool list() const { return style() & TBSTYLE_LIST; }

    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp)
    {
        switch (msg) {
        case WM_CREATE:
            if (style() & TBSTYLE_TOOLTIPS)
                createTooltip();
            autoSize();
            return 0;
        case TB_BUTTONSTRUCTSIZE:
            if (wp >= offsetof(TBBUTTON, dwData) && wp <= 4 * sizeof(TBBUTTON))
                m_structSize = wp;
            return 0;
        case TB_ADDBUTTONSA:
            return insertButtons(count(), static_cast<int>(wp), reinterpret_cast<const BYTE*>(lp));
        case TB_INSERTBUTTONA: {
            int at = static_cast<int>(wp);
            if (at < 0 || at > count())
                at = count();
            return insertButtons(at, 1, reinterpret_cast<const BYTE*>(lp));
        }
        case TB_DELETEBUTTON: {
            int i = static_cast<int>(wp);
            if (i < 0 || i >= count())
                return FALSE;
            m_buttons.erase(m_buttons.begin() + i);
            if (m_hot >= count())
                m_hot = -1;
            m_pressed = -1;
            relayout();
            return TRUE;
        }
        case TB_BUTTONCOUNT:
            return count();
        case TB_GETBUTTON: {
            auto* out = reinterpret_cast<TBBUTTON*>(lp);
            int i = static_cast<int>(wp);
            if (!out || i < 0 || i >= count())
                return FALSE;
            const ToolButton& b = m_buttons[static_cast<size_t>(i)];
            *out = TBBUTTON{};
            out->iBitmap = b.iBitmap;
            out->idCommand = b.idCommand;
            out->fsState = b.fsState;
            out->fsStyle = b.fsStyle;
            out->dwData = b.dwData;
            out->iString = b.iString;
            return TRUE;
        }
        case TB_GETBUTTONINFOA:
            return getInfo(static_cast<int>(wp), reinterpret_cast<TBBUTTONINFOA*>(lp));
        case TB_SETBUTTONINFOA:
            return setInfo(static_cast<int>(wp), reinterpret_cast<const TBBUTTONINFOA*>(lp));
        case TB_GETITEMRECT: {
            auto* r = reinterpret_cast<RECT*>(lp);
            int i = static_cast<int>(wp);
            if (!r || i < 0 || i >= count())
                return FALSE;
            *r = m_buttons[static_cast<size_t>(i)].rect;
            return (m_buttons[static_cast<size_t>(i)].fsState & TBSTATE_HIDDEN) ? FALSE : TRUE;
        }
        case TB_GETRECT: {
            auto* r = reinterpret_cast<RECT*>(lp);
            int i = indexOf(static_cast<int>(wp));
            if (!r || i < 0)
                return FALSE;
            *r = m_buttons[static_cast<size_t>(i)].rect;
            return TRUE;
        }
        case TB_COMMANDTOINDEX:
            return indexOf(static_cast<int>(wp));
        case TB_CHECKBUTTON:
            return changeState(static_cast<int>(wp), TBSTATE_CHECKED, LOWORD(lp) != 0);
        case TB_ENABLEBUTTON:
            return changeState(static_cast<int>(wp), TBSTATE_ENABLED, LOWORD(lp) != 0);
        case TB_HIDEBUTTON:
            return changeState(static_cast<int>(wp), TBSTATE_HIDDEN, LOWORD(lp) != 0);
        case TB_PRESSBUTTON:
            return changeState(static_cast<int>(wp), TBSTATE_PRESSED, LOWORD(lp) != 0);
        case TB_INDETERMINATE:
            return changeState(static_cast<int>(wp), TBSTATE_INDETERMINATE, LOWORD(lp) != 0);
        case TB_MARKBUTTON:
            return changeState(static_cast<int>(wp), TBSTATE_MARKED, LOWORD(lp) != 0);
        case TB_ISBUTTONENABLED:
            return stateBit(static_cast<int>(wp), TBSTATE_ENABLED);
        case TB_ISBUTTONCHECKED:
            return stateBit(static_cast<int>(wp), TBSTATE_CHECKED);
        case TB_ISBUTTONPRESSED:
            return stateBit(static_cast<int>(wp), TBSTATE_PRESSED);
        case TB_ISBUTTONHIDDEN:
            return stateBit(static_cast<int>(wp), TBSTATE_HIDDEN);
        case TB_ISBUTTONINDETERMINATE:
            return stateBit(static_cast<int>(wp), TBSTATE_INDETERMINATE);
        case TB_ISBUTTONHIGHLIGHTED:
            return stateBit(static_cast<int>(wp), TBSTATE_MARKED);
        case TB_GETSTATE: {
            int i = indexOf(static_cast<int>(wp));
            return i < 0 ? -1 : m_buttons[static_cast<size_t>(i)].fsState;
        }
        case TB_SETSTATE: {
            int i = indexOf(static_cast<int>(wp));
            if (i < 0)
                return FALSE;
            BYTE old = m_buttons[static_cast<size_t>(i)].fsState;
            m_buttons[static_cast<size_t>(i)].fsState = static_cast<BYTE>(LOWORD(lp));
            if ((old ^ LOWORD(lp)) & (TBSTATE_HIDDEN | TBSTATE_WRAP))
                relayout();
            else
                InvalidateRect(m_hwnd, nullptr, TRUE);
            return TRUE;
        }
        case TB_ADDSTRINGA:
            return addStrings(reinterpret_cast<const char*>(lp), wp != 0);
        case TB_SETIMAGELIST:
        case TB_SETHOTIMAGELIST:
        case TB_SETDISABLEDIMAGELIST: {
            HIMAGELIST& slot = msg == TB_SETIMAGELIST ? m_images : msg == TB_SETHOTIMAGELIST ? m_hotImages : m_disabledImages;
            HIMAGELIST old = slot;
            slot = reinterpret_cast<HIMAGELIST>(lp);
            int cx = 0, cy = 0;
            if (msg == TB_SETIMAGELIST && slot && ImageList_GetIconSize(slot, &cx, &cy))
                m_bitmap = SIZE{cx, cy};
            relayout();
            return reinterpret_cast<LRESULT>(old);
        }
        case TB_GETIMAGELIST:
            return reinterpret_cast<LRESULT>(m_images);
        case TB_GETHOTIMAGELIST:
            return reinterpret_cast<LRESULT>(m_hotImages);
        case TB_GETDISABLEDIMAGELIST:
            return reinterpret_cast<LRESULT>(m_disabledImages);
        case TB_SETBUTTONSIZE:
            if (LOWORD(lp) == 0 || HIWORD(lp) == 0)
                return FALSE;
            m_buttonSize = SIZE{LOWORD(lp), HIWORD(lp)};
            relayout();
            return TRUE;
        case TB_SETBITMAPSIZE:
            if (LOWORD(lp) == 0 || HIWORD(lp) == 0)
                return FALSE;
            m_bitmap = SIZE{LOWORD(lp), HIWORD(lp)};
            relayout();
            return TRUE;
        case TB_GETBUTTONSIZE: {
            SIZE s = buttonCell();
            return MAKELONG(s.cx, s.cy);
        }
        case TB_AUTOSIZE:
            autoSize();
            return 0;
        case TB_SETHOTITEM: {
            int old = m_hot;
            int i = static_cast<int>(wp);
            setHot(i >= 0 && i < count() ? i : -1, HICF_OTHER);
            return old;
        }
        case TB_GETHOTITEM:
            return m_hot;
        case TB_SETEXTENDEDSTYLE: {
            DWORD old = m_exStyle;
            m_exStyle = static_cast<DWORD>(lp);
            relayout();
            return old;
        }
        case TB_GETEXTENDEDSTYLE:
            return m_exStyle;
        case TB_SETMAXTEXTROWS:
            m_maxTextRows = std::max(0, static_cast<int>(wp));
            relayout();
            return TRUE;
        case TB_GETTEXTROWS:
            return m_maxTextRows;
        case TB_GETTOOLTIPS:
            return reinterpret_cast<LRESULT>(m_tooltip);
        case TB_SETTOOLTIPS:
            m_tooltip = reinterpret_cast<HWND>(wp);
            return 0;
        case TB_SETPARENT: {
            HWND old = m_notify;
            m_notify = reinterpret_cast<HWND>(wp);
            return reinterpret_cast<LRESULT>(old);
        }
        case TB_GETROWS:
            return m_rows;
        case TB_SETSTYLE:
            SetWindowLongA(m_hwnd, GWL_STYLE, static_cast<LONG>(lp));
            relayout();
            return 0;
        case TB_GETSTYLE:
            return style();
        case TB_HITTEST: {
            auto* pt = reinterpret_cast<POINT*>(lp);
            if (!pt)
                return -1;
            int i = buttonAt(*pt);
            // Win32 answers a separator or nothing with a negative number.
            if (i < 0)
                return -1;
            return (m_buttons[static_cast<size_t>(i)].fsStyle & BTNS_SEP) ? -1 - i : i;
        }
        case TB_GETMAXSIZE: {
            auto* s = reinterpret_cast<SIZE*>(lp);
            if (!s)
                return FALSE;
            s->cx = s->cy = 0;
            for (auto& b : m_buttons)
                if (!(b.fsState & TBSTATE_HIDDEN)) {
                    s->cx = std::max(s->cx, b.rect.right);
                    s->cy = std::max(s->cy, b.rect.bottom);
                }
            return TRUE;
        }
        case TB_GETBUTTONTEXTA: {
            int i = indexOf(static_cast<int>(wp));
            if (i < 0)
                return -1;
            const std::string& t = m_buttons[static_cast<size_t>(i)].text;
            if (auto* out = reinterpret_cast<char*>(lp))
                std::memcpy(out, t.c_str(), t.size() + 1);
            return static_cast<LRESULT>(t.size());
        }
        case WM_SETFONT:
            m_font.font = reinterpret_cast<HFONT>(wp);
            relayout();
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(m_font.font);
        case WM_NOTIFY: {
            // The tooltip asks the toolbar for text; the owner may answer, else the button's text.
            auto* hdr = reinterpret_cast<NMHDR*>(lp);
            if (hdr && hdr->code == TTN_GETDISPINFOA && hdr->hwndFrom == m_tooltip) {
                auto* di = reinterpret_cast<NMTTDISPINFOA*>(lp);
                di->lpszText = nullptr;
                di->szText[0] = 0;
                if (m_notify)
                    SendMessageA(m_notify, WM_NOTIFY, wp, lp);
                if ((!di->lpszText || !di->lpszText[0]) && !di->szText[0]) {
                    int i = indexOf(static_cast<int>(hdr->idFrom));
                    if (i >= 0) {
                        const std::string& t = m_buttons[static_cast<size_t>(i)].text;
                        size_t n = std::min(t.size(), sizeof di->szText - 1);
                        std::memcpy(di->szText, t.data(), n);
                        di->szText[n] = 0;
                        di->lpszText = di->szText;
                    }
                }
                return 0;
            }
            return m_notify ? SendMessageA(m_notify, WM_NOTIFY, wp, lp) : 0;
        }
        case WM_COMMAND:
            // Controls placed on the toolbar talk to its owner.
            return m_notify ? SendMessageA(m_notify, WM_COMMAND, wp, lp) : 0;
        case WM_SIZE:
            relayout(false);
            return 0;
        case WM_MOUSEMOVE:
            mouseMove(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            return 0;
        case WM_MOUSELEAVE:
            m_trackingLeave = false;
            if (m_pressed < 0)
                setHot(-1, HICF_MOUSE | HICF_LEAVING);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            mouseDown(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            return 0;
        case WM_LBUTTONUP:
            mouseUp(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            return 0;
        case WM_CAPTURECHANGED:
            if (m_pressed >= 0) {
                setPressedLook(m_pressed, false);
                m_pressed = -1;
            }
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint();
            return 0;
        }
        return DefWindowProcA(m_hwnd, msg, wp, lp);
    }

private:
    int indexOf(int id) const
    {
        for (int i = 0; i < count(); ++i)
            if (m_buttons[static_cast<size_t>(i)].idCommand == id)
                return i;
        return -1;
    }
    LRESULT stateBit(int id, BYTE bit) const
    {
        int i = indexOf(id);
        return i >= 0 ? (m_buttons[static_cast<size_t>(i)].fsState & bit) : 0;
    }
    LRESULT changeState(int id, BYTE bit, bool on)
    {
        int i = indexOf(id);
        if (i < 0)
            return FALSE;
        ToolButton& b = m_buttons[static_cast<size_t>(i)];
        BYTE old = b.fsState;
        b.fsState = static_cast<BYTE>(on ? (b.fsState | bit) : (b.fsState & ~bit));
        if (bit == TBSTATE_CHECKED && on && (b.fsStyle & BTNS_CHECKGROUP) == BTNS_CHECKGROUP)
            uncheckGroupOthers(i);
        if (old == b.fsState)
            return TRUE;
        if (bit == TBSTATE_HIDDEN)
            relayout();
        else
            InvalidateRect(m_hwnd, &b.rect, TRUE);
        return TRUE;
    }
    // A check group is the run of adjacent BTNS_GROUP buttons around i.
    void uncheckGroupOthers(int i)
    {
        auto inGroup = [&](int k) {
            return k >= 0 && k < count() && (m_buttons[static_cast<size_t>(k)].fsStyle & BTNS_GROUP) &&
                   !(m_buttons[static_cast<size_t>(k)].fsStyle & BTNS_SEP);
        };
        for (int dir : {-1, 1})
            for (int k = i + dir; inGroup(k); k += dir) {
                ToolButton& o = m_buttons[static_cast<size_t>(k)];
                if (o.fsState & TBSTATE_CHECKED) {
                    o.fsState &= static_cast<BYTE>(~TBSTATE_CHECKED);
                    InvalidateRect(m_hwnd, &o.rect, TRUE);
                }
            }
    }

    std::string stringFor(INT_PTR iString) const
    {
        if (iString >= 0 && iString < static_cast<INT_PTR>(m_strings.size()))
            return m_strings[static_cast<size_t>(iString)];
        // Anything above the index range of the pool is a pointer to the text, as on Win32.
        if (iString >= 0x10000)
            return reinterpret_cast<const char*>(iString);
        return {};
    }

    LRESULT insertButtons(int at, int n, const BYTE* data)
    {
        if (!data || n <= 0 || n > 10000)
            return FALSE;
        for (int k = 0; k < n; ++k) {
            TBBUTTON src{};
            std::memcpy(&src, data + static_cast<size_t>(k) * m_structSize, std::min(m_structSize, sizeof src));
            ToolButton b;
            b.iBitmap = src.iBitmap;
            b.idCommand = src.idCommand;
            b.fsState = src.fsState;
            b.fsStyle = src.fsStyle;
            b.dwData = src.dwData;
            b.iString = src.iString;
            b.text = stringFor(src.iString);
            m_buttons.insert(m_buttons.begin() + at + k, std::move(b));
        }
        relayout();
        return TRUE;
    }

    LRESULT addStrings(const char* p, bool resource)
    {
        if (!p || resource)
            return -1;
        int first = static_cast<int>(m_strings.size());
        // A list of strings, each ended by a null, the list by a second null.
        for (int guard = 0; *p && guard < 10000; ++guard) {
            m_strings.emplace_back(p);
            p += m_strings.back().size() + 1;
        }
        return first;
    }

    int findForInfo(int idOrIndex, DWORD mask) const
    {
        if (mask & TBIF_BYINDEX)
            return idOrIndex >= 0 && idOrIndex < count() ? idOrIndex : -1;
        return indexOf(idOrIndex);
    }
    LRESULT getInfo(int id, TBBUTTONINFOA* info)
    {
        if (!info || info->cbSize != sizeof(TBBUTTONINFOA))
            return -1;
        int i = findForInfo(id, info->dwMask);
        if (i < 0)
            return -1;
        const ToolButton& b = m_buttons[static_cast<size_t>(i)];
        if (info->dwMask & TBIF_COMMAND)
            info->idCommand = b.idCommand;
        if (info->dwMask & TBIF_IMAGE)
            info->iImage = b.iBitmap;
        if (info->dwMask & TBIF_STATE)
            info->fsState = b.fsState;
        if (info->dwMask & TBIF_STYLE)
            info->fsStyle = b.fsStyle;
        if (info->dwMask & TBIF_LPARAM)
            info->lParam = b.dwData;
        if (info->dwMask & TBIF_SIZE)
            info->cx = static_cast<WORD>(b.rect.right - b.rect.left);
        if ((info->dwMask & TBIF_TEXT) && info->pszText && info->cchText > 0) {
            size_t n = std::min(b.text.size(), static_cast<size_t>(info->cchText - 1));
            std::memcpy(info->pszText, b.text.data(), n);
            info->pszText[n] = 0;
        }
        return i;
    }
    LRESULT setInfo(int id, const TBBUTTONINFOA* info)
    {
        if (!info || info->cbSize != sizeof(TBBUTTONINFOA))
            return FALSE;
        int i = findForInfo(id, info->dwMask);
        if (i < 0)
            return FALSE;
        ToolButton& b = m_buttons[static_cast<size_t>(i)];
        if (info->dwMask & TBIF_COMMAND)
            b.idCommand = info->idCommand;
        if (info->dwMask & TBIF_IMAGE)
            b.iBitmap = info->iImage;
        if (info->dwMask & TBIF_STATE)
            b.fsState = info->fsState;
        if (info->dwMask & TBIF_STYLE)
            b.fsStyle = info->fsStyle;
        if (info->dwMask & TBIF_LPARAM)
            b.dwData = info->lParam;
        if (info->dwMask & TBIF_SIZE)
            b.cx = info->cx;
        if (info->dwMask & TBIF_TEXT)
            b.text = info->pszText && info->pszText != LPSTR_TEXTCALLBACKA ? info->pszText : "";
        relayout();
        return TRUE;
    }

    bool showsText(const ToolButton& b) const
    {
        if (b.text.empty() || m_maxTextRows == 0)
            return false;
        if (m_exStyle & TBSTYLE_EX_MIXEDBUTTONS)
            return b.fsStyle & BTNS_SHOWTEXT;
        return true;
    }
    bool hasImage(const ToolButton& b) const { return m_images && b.iBitmap >= 0; }
    bool splitArrow(const ToolButton& b) const
    {
        return (b.fsStyle & BTNS_DROPDOWN) && (m_exStyle & TBSTYLE_EX_DRAWDDARROWS) && !(b.fsStyle & BTNS_WHOLEDROPDOWN);
    }
    SIZE textSize(const std::string& t) const
    {
        HDC dc = GetDC(m_hwnd);
        SIZE s = textExtent(dc, m_font.get(), t);
        ReleaseDC(m_hwnd, dc);
        return s;
    }
    // The common button cell: the set size, grown to fit the bitmap and the widest text.
    SIZE buttonCell() const
    {
        SIZE cell = m_buttonSize;
        cell.cx = std::max<LONG>(cell.cx, m_bitmap.cx + 7);
        cell.cy = std::max<LONG>(cell.cy, m_bitmap.cy + 7);
        int textH = textSize("Ag").cy;
        for (const ToolButton& b : m_buttons) {
            if (!showsText(b) || (b.fsStyle & BTNS_AUTOSIZE))
                continue;
            SIZE t = textSize(b.text);
            if (list()) {
                cell.cx = std::max<LONG>(cell.cx, m_bitmap.cx + t.cx + 3 * kTextPadding / 2 + 4);
                cell.cy = std::max<LONG>(cell.cy, std::max<LONG>(m_bitmap.cy, textH) + 7);
            } else {
                cell.cx = std::max<LONG>(cell.cx, t.cx + kTextPadding + 2);
                cell.cy = std::max<LONG>(cell.cy, m_bitmap.cy + textH + 9);
            }
        }
        return cell;
    }
    int buttonWidth(const ToolButton& b, SIZE cell) const
    {
        if (b.fsStyle & BTNS_SEP)
            return b.iBitmap > 0 ? b.iBitmap : kDefaultSeparator;
        int w = cell.cx;
        if (b.cx)
            w = b.cx;
        else if (b.fsStyle & BTNS_AUTOSIZE) {
            int t = showsText(b) ? textSize(b.text).cx : 0;
            int img = hasImage(b) ? m_bitmap.cx : 0;
            w = list() ? img + t + 3 * kTextPadding / 2 + 4 : std::max(img + 7, t + kTextPadding + 2);
        }
        if ((b.fsStyle & BTNS_WHOLEDROPDOWN) || splitArrow(b))
            w += kDropArrowWidth;
        return w;
    }

    void relayout(bool resize = true)
    {
        RECT rc;
        GetClientRect(m_hwnd, &rc);
        SIZE cell = buttonCell();
        int top = (style() & CCS_NODIVIDER) ? 0 : kDividerHeight;
        int x = 0, y = top;
        m_rows = 1;
        bool wrapable = style() & TBSTYLE_WRAPABLE;
        for (size_t k = 0; k < m_buttons.size(); ++k) {
            ToolButton& b = m_buttons[k];
            if (b.fsState & TBSTATE_HIDDEN) {
                b.rect = RECT{x, y, x, y};
                continue;
            }
            int w = buttonWidth(b, cell);
            if (wrapable && x > 0 && x + w > rc.right && !(b.fsStyle & BTNS_SEP)) {
                x = 0;
                y += cell.cy;
                ++m_rows;
            }
            b.rect = RECT{x, y, x + w, y + cell.cy};
            x += w;
            if (b.fsState & TBSTATE_WRAP) {
                x = 0;
                y += cell.cy;
                ++m_rows;
            }
        }
        m_height = y + cell.cy + (x == 0 && m_rows > 1 ? -cell.cy : 0);
        m_height = std::max(m_height, top + cell.cy);
        registerTools();
        if (resize)
            autoSize();
        InvalidateRect(m_hwnd, nullptr, TRUE);
    }

    // Unless told otherwise, the toolbar spans its parent's width at the top (or bottom).
    void autoSize()
    {
        DWORD st = style();
        HWND parent = GetParent(m_hwnd);
        if (!parent || (st & CCS_NORESIZE))
            return;
        RECT pr;
        GetClientRect(parent, &pr);
        RECT me;
        GetWindowRect(m_hwnd, &me);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&me), 2);
        int h = m_height + 2 * (GetWindowLongA(m_hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE ? 2 : 0);
        if (st & CCS_NOPARENTALIGN) {
            SetWindowPos(m_hwnd, nullptr, 0, 0, me.right - me.left, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            return;
        }
        bool bottom = (st & CCS_BOTTOM) == CCS_BOTTOM;
        int y = bottom ? pr.bottom - h : 0;
        SetWindowPos(m_hwnd, nullptr, 0, y, pr.right, h, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void createTooltip()
    {
        m_tooltip = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                    0, 0, 0, 0, m_hwnd, nullptr, nullptr, nullptr);
        if (m_tooltip)
            m_notifyTooltips = true;
    }
    void registerTools()
    {
        if (!m_tooltip || !IsWindow(m_tooltip))
            return;
        for (const ToolButton& b : m_buttons) {
            TTTOOLINFOA ti{};
            ti.cbSize = sizeof ti;
            ti.hwnd = m_hwnd;
            ti.uId = static_cast<UINT_PTR>(b.idCommand);
            SendMessageA(m_tooltip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
            if ((b.fsStyle & BTNS_SEP) || (b.fsState & TBSTATE_HIDDEN))
                continue;
            ti.uFlags = TTF_SUBCLASS;
            ti.rect = b.rect;
            ti.lpszText = LPSTR_TEXTCALLBACKA;
            SendMessageA(m_tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
        }
    }

    int buttonAt(POINT pt) const
    {
        for (int i = 0; i < count(); ++i) {
            const ToolButton& b = m_buttons[static_cast<size_t>(i)];
            if (!(b.fsState & TBSTATE_HIDDEN) && PtInRect(&b.rect, pt))
                return i;
        }
        return -1;
    }
    bool clickable(int i) const
    {
        if (i < 0)
            return false;
        const ToolButton& b = m_buttons[static_cast<size_t>(i)];
        return !(b.fsStyle & BTNS_SEP) && (b.fsState & TBSTATE_ENABLED);
    }

    void setHot(int i, DWORD why)
    {
        if (i == m_hot)
            return;
        if (!flat() && i >= 0)
            return; // only flat toolbars track a hot item
        NMTBHOTITEM nm{};
        nm.idOld = m_hot >= 0 ? m_buttons[static_cast<size_t>(m_hot)].idCommand : 0;
        nm.idNew = i >= 0 ? m_buttons[static_cast<size_t>(i)].idCommand : 0;
        nm.dwFlags = why | (m_hot < 0 ? HICF_ENTERING : 0) | (i < 0 ? HICF_LEAVING : 0);
        if (notify(TBN_HOTITEMCHANGE, &nm.hdr))
            return;
        if (m_hot >= 0)
            InvalidateRect(m_hwnd, &m_buttons[static_cast<size_t>(m_hot)].rect, TRUE);
        m_hot = i;
        if (m_hot >= 0)
            InvalidateRect(m_hwnd, &m_buttons[static_cast<size_t>(m_hot)].rect, TRUE);
    }

    LRESULT notify(UINT code, NMHDR* hdr)
    {
        if (!m_notify)
            return 0;
        hdr->hwndFrom = m_hwnd;
        hdr->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(m_hwnd));
        hdr->code = code;
        return SendMessageA(m_notify, WM_NOTIFY, hdr->idFrom, reinterpret_cast<LPARAM>(hdr));
    }

    void setPressedLook(int i, bool on)
    {
        ToolButton& b = m_buttons[static_cast<size_t>(i)];
        b.fsState = static_cast<BYTE>(on ? (b.fsState | TBSTATE_PRESSED) : (b.fsState & ~TBSTATE_PRESSED));
        InvalidateRect(m_hwnd, &b.rect, TRUE);
    }

    void mouseMove(POINT pt)
    {
        int i = buttonAt(pt);
        if (m_pressed >= 0) {
            bool inside = i == m_pressed;
            if (inside != m_pressedInside) {
                m_pressedInside = inside;
                setPressedLook(m_pressed, inside);
            }
            return;
        }
        setHot(clickable(i) ? i : -1, HICF_MOUSE);
        if (!m_trackingLeave) {
            TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, m_hwnd, 0};
            TrackMouseEvent(&tme);
            m_trackingLeave = true;
        }
    }

    void dropDown(int i)
    {
        ToolButton& b = m_buttons[static_cast<size_t>(i)];
        NMTOOLBARA nm{};
        nm.iItem = b.idCommand;
        nm.tbButton.iBitmap = b.iBitmap;
        nm.tbButton.idCommand = b.idCommand;
        nm.tbButton.fsState = b.fsState;
        nm.tbButton.fsStyle = b.fsStyle;
        nm.tbButton.dwData = b.dwData;
        nm.tbButton.iString = b.iString;
        nm.rcButton = b.rect;
        setPressedLook(i, true);
        UpdateWindow(m_hwnd);
        notify(TBN_DROPDOWN, &nm.hdr);
        if (i < count())
            setPressedLook(i, false);
    }

    void mouseDown(POINT pt)
    {
        int i = buttonAt(pt);
        if (!clickable(i))
            return;
        ToolButton& b = m_buttons[static_cast<size_t>(i)];
        if (b.fsStyle & BTNS_DROPDOWN) {
            bool onArrow = splitArrow(b) ? pt.x >= b.rect.right - kDropArrowWidth : true;
            if ((b.fsStyle & BTNS_WHOLEDROPDOWN) || onArrow) {
                dropDown(i);
                return;
            }
        }
        m_pressed = i;
        m_pressedInside = true;
        SetCapture(m_hwnd);
        setPressedLook(i, true);
    }

    void mouseUp(POINT pt)
    {
        if (m_pressed < 0)
            return;
        int i = m_pressed;
        m_pressed = -1;
        if (GetCapture() == m_hwnd)
            ReleaseCapture();
        if (i >= count())
            return;
        setPressedLook(i, false);
        if (buttonAt(pt) != i)
            return;
        ToolButton& b = m_buttons[static_cast<size_t>(i)];
        if ((b.fsStyle & BTNS_CHECKGROUP) == BTNS_CHECKGROUP) {
            if (!(b.fsState & TBSTATE_CHECKED))
                changeState(b.idCommand, TBSTATE_CHECKED, true);
        } else if (b.fsStyle & BTNS_CHECK) {
            changeState(b.idCommand, TBSTATE_CHECKED, !(b.fsState & TBSTATE_CHECKED));
        }
        int id = b.idCommand;
        if (m_notify)
            SendMessageA(m_notify, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(m_hwnd));
    }

    void drawArrow(HDC dc, RECT r, bool enabled)
    {
        int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
        HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        HGDIOBJ old = SelectObject(dc, pen);
        for (int k = 0; k < 3; ++k) {
            MoveToEx(dc, cx - 2 + k, cy - 1 + k, nullptr);
            LineTo(dc, cx + 3 - k, cy - 1 + k);
        }
        SelectObject(dc, old);
        DeleteObject(pen);
    }

    void paintButton(HDC dc, int i)
    {
        const ToolButton& b = m_buttons[static_cast<size_t>(i)];
        RECT r = b.rect;
        if (b.fsStyle & BTNS_SEP) {
            if (flat()) {
                RECT line{(r.left + r.right) / 2 - 1, r.top + 2, (r.left + r.right) / 2 + 1, r.bottom - 2};
                DrawEdge(dc, &line, EDGE_ETCHED, BF_LEFT);
            }
            return;
        }
        bool enabled = b.fsState & TBSTATE_ENABLED;
        bool pressed = b.fsState & TBSTATE_PRESSED;
        bool checked = b.fsState & TBSTATE_CHECKED;
        bool indeterminate = b.fsState & TBSTATE_INDETERMINATE;
        bool hot = i == m_hot && enabled;
        RECT face = r;
        bool split = splitArrow(b);
        if (split)
            face.right -= kDropArrowWidth;
        if (checked && !pressed) {
            RECT in = r;
            InflateRect(&in, -1, -1);
            FillRect(dc, &in, GetSysColorBrush(COLOR_3DHILIGHT));
        }
        auto edge = [&](RECT e) {
            if (pressed || checked)
                DrawEdge(dc, &e, flat() ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
            else if (!flat())
                DrawEdge(dc, &e, EDGE_RAISED, BF_RECT);
            else if (hot)
                DrawEdge(dc, &e, BDR_RAISEDINNER, BF_RECT);
        };
        edge(face);
        if (split) {
            RECT a{face.right, r.top, r.right, r.bottom};
            edge(a);
            drawArrow(dc, a, enabled);
        }
        int shift = (pressed || checked) ? 1 : 0;
        RECT content = face;
        if (b.fsStyle & BTNS_WHOLEDROPDOWN) {
            RECT a{face.right - kDropArrowWidth, r.top, face.right, r.bottom};
            drawArrow(dc, a, enabled);
            content.right -= kDropArrowWidth;
        }
        bool text = showsText(b);
        int x = 0, y = 0;
        SIZE ts = text ? textSize(b.text) : SIZE{0, 0};
        if (list()) {
            x = content.left + 3;
            y = (content.top + content.bottom - m_bitmap.cy) / 2;
        } else {
            x = (content.left + content.right - m_bitmap.cx) / 2;
            y = content.top + 3;
        }
        if (hasImage(b)) {
            HIMAGELIST il = m_images;
            if (!enabled && m_disabledImages)
                il = m_disabledImages;
            else if (hot && m_hotImages)
                il = m_hotImages;
            UINT how = ILD_TRANSPARENT;
            if ((!enabled && !m_disabledImages) || indeterminate) {
                // Without a list of its own, a disabled image is drawn as its shape in the shadow colour.
                how = ILD_MASK;
                ImageList_Draw(il, b.iBitmap, dc, x + shift + 1, y + shift + 1, ILD_MASK);
            }
            if (how == ILD_MASK)
                ImageList_DrawEx(il, b.iBitmap, dc, x + shift, y + shift, 0, 0, CLR_NONE, CLR_NONE, ILD_MASK);
            else
                ImageList_Draw(il, b.iBitmap, dc, x + shift, y + shift, how);
        }
        if (text) {
            RECT tr = content;
            UINT fmt = DT_SINGLELINE | DT_END_ELLIPSIS | ((b.fsStyle & BTNS_NOPREFIX) ? DT_NOPREFIX : 0);
            if (list()) {
                tr.left = x + (hasImage(b) ? m_bitmap.cx + kTextPadding / 2 : 0);
                fmt |= DT_LEFT | DT_VCENTER;
            } else {
                tr.top = y + m_bitmap.cy + 1;
                tr.bottom = tr.top + ts.cy;
                fmt |= DT_CENTER | DT_TOP;
            }
            OffsetRect(&tr, shift, shift);
            if (!enabled || indeterminate) {
                RECT hi = tr;
                OffsetRect(&hi, 1, 1);
                drawText(dc, m_font.get(), b.text, hi, fmt, GetSysColor(COLOR_3DHILIGHT));
            }
            drawText(dc, m_font.get(), b.text, tr, fmt,
                     GetSysColor(enabled && !indeterminate ? COLOR_BTNTEXT : COLOR_3DSHADOW));
        }
    }

    void paint()
    {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hwnd, &ps);
        // Child windows placed on the toolbar keep their pixels.
        for (HWND c = GetWindow(m_hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            if (!IsWindowVisible(c))
                continue;
            RECT cr;
            GetWindowRect(c, &cr);
            MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&cr), 2);
            ExcludeClipRect(dc, cr.left, cr.top, cr.right, cr.bottom);
        }
        RECT rc;
        GetClientRect(m_hwnd, &rc);
        if (!(style() & TBSTYLE_TRANSPARENT))
            FillRect(dc, &rc, GetSysColorBrush(COLOR_3DFACE));
        if (!(style() & CCS_NODIVIDER)) {
            RECT d{rc.left, rc.top, rc.right, rc.top + kDividerHeight};
            DrawEdge(dc, &d, EDGE_ETCHED, BF_TOP);
        }
        for (int i = 0; i < count(); ++i)
            if (!(m_buttons[static_cast<size_t>(i)].fsState & TBSTATE_HIDDEN))
                paintButton(dc, i);
        EndPaint(m_hwnd, &ps);
    }

    HWND m_hwnd;
    HWND m_notify;
    HWND m_tooltip = nullptr;
    bool m_notifyTooltips = false;
    std::vector<ToolButton> m_buttons;
    std::vector<std::string> m_strings;
    size_t m_structSize = sizeof(TBBUTTON);
    HIMAGELIST m_images = nullptr, m_hotImages = nullptr, m_disabledImages = nullptr;
    SIZE m_buttonSize{24, 22};
    SIZE m_bitmap{16, 15};
    DWORD m_exStyle = 0;
    int m_maxTextRows = 1;
    int m_rows = 1, m_height = 0;
    int m_hot = -1, m_pressed = -1;
    bool m_pressedInside = false, m_trackingLeave = false;
    FontHolder m_font;
};

} // namespace

void registerToolbar()
{
    registerControlClass(TOOLBARCLASSNAMEA, controlProc<Toolbar>, CS_DBLCLKS);
}

} // namespace vk::comctl
