// "SysIPAddress32": four number fields of 0..255 drawn by the control itself,
// with a caret in the field being typed into; digits and '.' move along.
#include "controls/common/control_base.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace vk::comctl {
namespace {

constexpr int kFields = 4;
constexpr int kMaxDigits = 3;
constexpr int kEdge = 2; // the sunken client edge

class IpAddress {
public:
    IpAddress(HWND hwnd, const CREATESTRUCTA&) : m_hwnd(hwnd) {}

    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp)
    {
        switch (msg) {
        case IPM_SETADDRESS: {
            auto addr = static_cast<DWORD>(lp);
            for (int i = 0; i < kFields; ++i)
                setField(i, int((addr >> (8 * (kFields - 1 - i))) & 0xff));
            m_fresh = true;
            InvalidateRect(m_hwnd, nullptr, FALSE);
            return TRUE;
        }
        case IPM_GETADDRESS: {
            DWORD addr = 0;
            int filled = 0;
            for (int i = 0; i < kFields; ++i) {
                addr = (addr << 8) | DWORD(std::max(0, value(i)));
                filled += !m_text[size_t(i)].empty();
            }
            if (auto* out = userPointer<DWORD>(UINT_PTR(lp)))
                *out = addr;
            return filled;
        }
        case IPM_CLEARADDRESS:
            for (auto& t : m_text)
                t.clear();
            InvalidateRect(m_hwnd, nullptr, FALSE);
            return 0;
        case IPM_ISBLANK:
            return std::all_of(m_text.begin(), m_text.end(), [](const std::string& t) { return t.empty(); });
        case IPM_SETRANGE: {
            if (wp >= WPARAM(kFields))
                return FALSE;
            int lo = LOBYTE(LOWORD(lp)), hi = HIBYTE(LOWORD(lp));
            if (lo > hi)
                return FALSE;
            m_low[wp] = lo;
            m_high[wp] = hi;
            if (!m_text[wp].empty())
                setField(int(wp), value(int(wp)));
            return TRUE;
        }
        case IPM_SETFOCUS: {
            int f = int(wp);
            if (wp >= WPARAM(kFields)) {
                // Past the last field: the first blank one, else the first.
                f = 0;
                for (int i = 0; i < kFields; ++i)
                    if (m_text[size_t(i)].empty()) {
                        f = i;
                        break;
                    }
            }
            SetFocus(m_hwnd);
            moveTo(f);
            return 0;
        }
        case WM_SETTEXT: {
            parseText(userPointer<const char>(UINT_PTR(lp)));
            DefWindowProcA(m_hwnd, msg, wp, reinterpret_cast<LPARAM>(dotted().c_str()));
            InvalidateRect(m_hwnd, nullptr, FALSE);
            return TRUE;
        }
        case WM_GETTEXT: {
            std::string t = dotted();
            auto* out = userPointer<char>(UINT_PTR(lp));
            if (!out || wp == 0)
                return 0;
            size_t n = std::min<size_t>(t.size(), wp - 1);
            memcpy(out, t.data(), n);
            out[n] = 0;
            return LRESULT(n);
        }
        case WM_GETTEXTLENGTH:
            return LRESULT(dotted().size());
        case WM_GETDLGCODE:
            return DLGC_WANTCHARS | DLGC_WANTARROWS;
        case WM_SETFOCUS:
            m_focused = true;
            m_fresh = true;
            InvalidateRect(m_hwnd, nullptr, FALSE);
            sendCommand(EN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            leaveField();
            m_focused = false;
            InvalidateRect(m_hwnd, nullptr, FALSE);
            sendCommand(EN_KILLFOCUS);
            return 0;
        case WM_LBUTTONDOWN: {
            if (GetFocus() != m_hwnd)
                SetFocus(m_hwnd);
            moveTo(fieldAt(GET_X_LPARAM(lp)));
            return 0;
        }
        case WM_KEYDOWN:
            keyDown(wp);
            return 0;
        case WM_CHAR:
            typed(wp);
            return 0;
        case WM_ENABLE:
            InvalidateRect(m_hwnd, nullptr, FALSE);
            return 0;
        case WM_SETFONT:
            m_font.font = reinterpret_cast<HFONT>(wp);
            if (LOWORD(lp))
                InvalidateRect(m_hwnd, nullptr, FALSE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(m_font.font);
        case WM_ERASEBKGND:
            return 1;
        case WM_PRINTCLIENT:
            if (wp)
                paint(reinterpret_cast<HDC>(wp));
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = wp ? reinterpret_cast<HDC>(wp) : BeginPaint(m_hwnd, &ps);
            if (dc)
                paint(dc);
            if (!wp)
                EndPaint(m_hwnd, &ps);
            return 0;
        }
        }
        return DefWindowProcA(m_hwnd, msg, wp, lp);
    }

private:
    int value(int i) const { return m_text[size_t(i)].empty() ? -1 : atoi(m_text[size_t(i)].c_str()); }

    void setField(int i, int v)
    {
        v = std::clamp(v, m_low[size_t(i)], m_high[size_t(i)]);
        m_text[size_t(i)] = std::to_string(v);
    }

    std::string dotted() const
    {
        std::string t;
        for (int i = 0; i < kFields; ++i) {
            if (i)
                t += '.';
            t += std::to_string(std::max(0, value(i)));
        }
        return t;
    }

    // "a.b.c.d"; a missing or non-numeric part leaves its field blank.
    void parseText(const char* text)
    {
        for (auto& t : m_text)
            t.clear();
        if (!text)
            return;
        const char* p = text;
        for (int i = 0; i < kFields && *p; ++i) {
            int v = 0, digits = 0;
            while (*p >= '0' && *p <= '9') {
                v = std::min(v * 10 + (*p - '0'), 999);
                ++digits;
                ++p;
            }
            if (digits)
                setField(i, v);
            while (*p && *p != '.')
                ++p;
            if (*p == '.')
                ++p;
        }
    }

    RECT fieldRect(int i) const
    {
        RECT rc;
        GetClientRect(m_hwnd, &rc);
        int inner = std::max<int>(0, rc.right - 2 * kEdge);
        return RECT{kEdge + inner * i / kFields, kEdge, kEdge + inner * (i + 1) / kFields, rc.bottom - kEdge};
    }

    int fieldAt(int x) const
    {
        for (int i = 0; i < kFields; ++i)
            if (x < fieldRect(i).right)
                return i;
        return kFields - 1;
    }

    void sendCommand(UINT code)
    {
        sendToParent(m_hwnd, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(m_hwnd), code), reinterpret_cast<LPARAM>(m_hwnd));
    }

    // Leaving a field the user changed: the value is brought into range and
    // the parent may still adjust it.
    void leaveField()
    {
        int f = m_field;
        if (!m_dirty)
            return;
        m_dirty = false;
        if (!m_text[size_t(f)].empty())
            setField(f, value(f));
        NMIPADDRESS nm{};
        nm.iField = f;
        nm.iValue = value(f);
        notifyParent(m_hwnd, IPN_FIELDCHANGED, &nm.hdr);
        if (!IsWindow(m_hwnd))
            return;
        if (nm.iValue != value(f)) {
            if (nm.iValue < 0)
                m_text[size_t(f)].clear();
            else
                setField(f, nm.iValue);
        }
        InvalidateRect(m_hwnd, nullptr, FALSE);
    }

    void moveTo(int f)
    {
        f = std::clamp(f, 0, kFields - 1);
        if (f != m_field) {
            leaveField();
            if (!IsWindow(m_hwnd))
                return;
            m_field = f;
        }
        m_fresh = true;
        InvalidateRect(m_hwnd, nullptr, FALSE);
    }

    void changed()
    {
        m_dirty = true;
        InvalidateRect(m_hwnd, nullptr, FALSE);
        sendCommand(EN_CHANGE);
    }

    void typed(WPARAM ch)
    {
        std::string& t = m_text[size_t(m_field)];
        if (ch >= '0' && ch <= '9') {
            if (m_fresh)
                t.clear();
            m_fresh = false;
            if (int(t.size()) >= kMaxDigits)
                return;
            t += char(ch);
            changed();
            // A full field or one no further digit can keep in range moves on.
            if (int(t.size()) == kMaxDigits || value(m_field) * 10 > m_high[size_t(m_field)]) {
                if (m_field < kFields - 1)
                    moveTo(m_field + 1);
                else
                    setField(m_field, value(m_field));
            }
        } else if (ch == '.' || ch == ' ') {
            if (!t.empty() && m_field < kFields - 1)
                moveTo(m_field + 1);
        } else if (ch == '\b') {
            if (m_fresh || t.empty()) {
                if (t.empty() && m_field > 0) {
                    moveTo(m_field - 1);
                    m_fresh = false;
                    return;
                }
                m_fresh = false;
            }
            if (!t.empty()) {
                t.pop_back();
                changed();
            }
        }
    }

    void keyDown(WPARAM key)
    {
        switch (key) {
        case VK_LEFT: moveTo(m_field - 1); break;
        case VK_RIGHT: moveTo(m_field + 1); break;
        case VK_HOME: moveTo(0); break;
        case VK_END: moveTo(kFields - 1); break;
        case VK_DELETE:
            if (!m_text[size_t(m_field)].empty()) {
                m_text[size_t(m_field)].clear();
                changed();
            }
            break;
        default: break;
        }
    }

    void paint(HDC dc)
    {
        RECT rc;
        GetClientRect(m_hwnd, &rc);
        bool enabled = IsWindowEnabled(m_hwnd);
        FillRect(dc, &rc, GetSysColorBrush(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
        DrawEdge(dc, &rc, EDGE_SUNKEN, BF_RECT);
        HFONT font = m_font.get();
        COLORREF fg = GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
        for (int i = 0; i < kFields; ++i) {
            RECT f = fieldRect(i);
            const std::string& t = m_text[size_t(i)];
            bool active = m_focused && i == m_field;
            if (active && m_fresh && !t.empty()) {
                // A field just entered shows its text selected: typing replaces it.
                SIZE sz = textExtent(dc, font, t);
                int cx = (f.left + f.right) / 2;
                RECT sel{cx - sz.cx / 2 - 1, (f.top + f.bottom - sz.cy) / 2, cx + (sz.cx + 1) / 2 + 1,
                         (f.top + f.bottom + sz.cy) / 2};
                FillRect(dc, &sel, GetSysColorBrush(COLOR_HIGHLIGHT));
                drawText(dc, font, t, f, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX,
                         GetSysColor(COLOR_HIGHLIGHTTEXT));
            } else {
                drawText(dc, font, t, f, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, fg);
            }
            if (active && !m_fresh) {
                SIZE sz = textExtent(dc, font, t);
                int x = (f.left + f.right) / 2 + (t.empty() ? 0 : (sz.cx + 1) / 2);
                RECT caret{x, (f.top + f.bottom - sz.cy) / 2, x + 1, (f.top + f.bottom + sz.cy) / 2};
                FillRect(dc, &caret, GetSysColorBrush(COLOR_WINDOWTEXT));
            }
            if (i < kFields - 1) {
                RECT dot{f.right - 2, f.top, f.right + 2, f.bottom};
                drawText(dc, font, ".", dot, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP, fg);
            }
        }
    }

    HWND m_hwnd;
    std::array<std::string, kFields> m_text;
    std::array<int, kFields> m_low{0, 0, 0, 0};
    std::array<int, kFields> m_high{255, 255, 255, 255};
    int m_field = 0;
    bool m_focused = false;
    bool m_fresh = true; // the field was just entered: a digit replaces its text
    bool m_dirty = false; // the user changed the field since entering it
    FontHolder m_font;
};

} // namespace

void registerIpAddress()
{
    registerControlClass(WC_IPADDRESSA, controlProc<IpAddress>, 0);
}

} // namespace vk::comctl
