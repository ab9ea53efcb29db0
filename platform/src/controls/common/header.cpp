// "SysHeader32": a row of column titles that the user resizes by dragging the
// dividers and clicks like buttons (HDS_BUTTONS).
#include "controls/common/control_base.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace vk::comctl {
namespace {

constexpr int kDividerGrip = 4; // pixels either side of a divider that start a resize

struct HeaderItem {
    int cxy = 0;
    std::string text;
    bool callbackText = false;
    HBITMAP hbm = nullptr;
    int fmt = HDF_LEFT | HDF_STRING;
    LPARAM lParam = 0;
    int iImage = 0;
};

class Header {
public:
    Header(HWND hwnd, const CREATESTRUCTA&) : m_hwnd(hwnd) {}

    DWORD style() const { return static_cast<DWORD>(GetWindowLongA(m_hwnd, GWL_STYLE)); }
    int count() const { return static_cast<int>(m_items.size()); }

    RECT itemRect(int index) const
    {
        RECT rc;
        GetClientRect(m_hwnd, &rc);
        int x = 0;
        for (int order : m_order) {
            const HeaderItem& it = m_items[static_cast<size_t>(order)];
            if (order == index)
                return RECT{x, 0, x + it.cxy, rc.bottom};
            x += it.cxy;
        }
        return RECT{0, 0, 0, 0};
    }

    // Item under pt and where on it; -1 when none.
    int hitTest(POINT pt, UINT& flags) const
    {
        RECT rc;
        GetClientRect(m_hwnd, &rc);
        flags = 0;
        if (pt.y < 0)
            flags |= HHT_ABOVE;
        if (pt.y >= rc.bottom)
            flags |= HHT_BELOW;
        if (pt.x < 0)
            flags |= HHT_TOLEFT;
        if (pt.x >= rc.right)
            flags |= HHT_TORIGHT;
        if (flags)
            return -1;
        // Dividers first, from the right so a zero-width column's divider can be reached.
        for (int k = count() - 1; k >= 0; --k) {
            int index = m_order[static_cast<size_t>(k)];
            RECT r = itemRect(index);
            if (pt.x >= r.right - kDividerGrip && pt.x < r.right + kDividerGrip) {
                bool zeroAfter = false;
                flags = HHT_ONDIVIDER;
                if (zeroAfter)
                    flags = HHT_ONDIVOPEN;
                return index;
            }
        }
        for (int index = 0; index < count(); ++index) {
            RECT r = itemRect(index);
            if (pt.x >= r.left && pt.x < r.right) {
                flags = HHT_ONHEADER;
                return index;
            }
        }
        flags = HHT_NOWHERE;
        return -1;
    }

    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp)
    {
        switch (msg) {
        case HDM_GETITEMCOUNT:
            return count();
        case HDM_INSERTITEMA:
            return insert(static_cast<int>(wp), reinterpret_cast<const HDITEMA*>(lp));
        case HDM_DELETEITEM:
            return remove(static_cast<int>(wp));
        case HDM_GETITEMA:
            return getItem(static_cast<int>(wp), reinterpret_cast<HDITEMA*>(lp));
        case HDM_SETITEMA:
            return setItem(static_cast<int>(wp), reinterpret_cast<const HDITEMA*>(lp), true);
        case HDM_GETITEMRECT: {
            auto* r = reinterpret_cast<RECT*>(lp);
            if (!r || static_cast<int>(wp) < 0 || static_cast<int>(wp) >= count())
                return FALSE;
            *r = itemRect(static_cast<int>(wp));
            return TRUE;
        }
        case HDM_LAYOUT:
            return layout(reinterpret_cast<HDLAYOUT*>(lp));
        case HDM_HITTEST: {
            auto* info = reinterpret_cast<HDHITTESTINFO*>(lp);
            if (!info)
                return -1;
            info->iItem = hitTest(info->pt, info->flags);
            return info->iItem;
        }
        case HDM_ORDERTOINDEX:
            return static_cast<int>(wp) >= 0 && static_cast<int>(wp) < count() ? m_order[wp] : static_cast<int>(wp);
        case HDM_GETORDERARRAY: {
            auto* out = reinterpret_cast<int*>(lp);
            if (!out || static_cast<int>(wp) != count())
                return FALSE;
            std::copy(m_order.begin(), m_order.end(), out);
            return TRUE;
        }
        case HDM_SETORDERARRAY: {
            auto* in = reinterpret_cast<const int*>(lp);
            if (!in || static_cast<int>(wp) != count())
                return FALSE;
            std::vector<int> order(in, in + wp), check = order;
            std::sort(check.begin(), check.end());
            for (int k = 0; k < count(); ++k)
                if (check[static_cast<size_t>(k)] != k)
                    return FALSE;
            m_order = order;
            InvalidateRect(m_hwnd, nullptr, TRUE);
            return TRUE;
        }
        case HDM_SETIMAGELIST: {
            if (wp != HDSIL_NORMAL)
                return 0;
            HIMAGELIST old = m_images;
            m_images = reinterpret_cast<HIMAGELIST>(lp);
            InvalidateRect(m_hwnd, nullptr, TRUE);
            return reinterpret_cast<LRESULT>(old);
        }
        case HDM_GETIMAGELIST:
            return wp == HDSIL_NORMAL ? reinterpret_cast<LRESULT>(m_images) : 0;
        case HDM_SETBITMAPMARGIN: {
            int old = m_bitmapMargin;
            m_bitmapMargin = std::max(0, static_cast<int>(wp));
            InvalidateRect(m_hwnd, nullptr, TRUE);
            return old;
        }
        case HDM_GETBITMAPMARGIN:
            return m_bitmapMargin;
        case HDM_SETHOTDIVIDER:
            return -1;
        case WM_SETFONT:
            m_font.font = reinterpret_cast<HFONT>(wp);
            if (LOWORD(lp))
                InvalidateRect(m_hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(m_font.font);
        case WM_SETCURSOR: {
            POINT pt;
            GetCursorPos(&pt);
            ScreenToClient(m_hwnd, &pt);
            UINT flags = 0;
            if (m_tracking >= 0 || (hitTest(pt, flags) >= 0 && (flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)))) {
                SetCursor(LoadCursorA(nullptr, IDC_SIZEWE));
                return TRUE;
            }
            break;
        }
        case WM_LBUTTONDOWN:
            mouseDown(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            return 0;
        case WM_LBUTTONDBLCLK: {
            UINT flags = 0;
            int index = hitTest(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}, flags);
            if (index >= 0 && (flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN))) {
                notifyItem(HDN_DIVIDERDBLCLICKA, index, nullptr);
                return 0;
            }
            if (index >= 0 && (style() & HDS_BUTTONS))
                notifyItem(HDN_ITEMDBLCLICKA, index, nullptr);
            return 0;
        }
        case WM_MOUSEMOVE:
            mouseMove(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            return 0;
        case WM_MOUSELEAVE:
            m_trackingLeave = false;
            setHot(-1);
            return 0;
        case WM_LBUTTONUP:
            mouseUp(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            return 0;
        case WM_CAPTURECHANGED:
            if (m_tracking >= 0) {
                int index = m_tracking;
                m_tracking = -1;
                finishTrack(index, false);
            }
            if (m_pressed >= 0) {
                m_pressed = -1;
                InvalidateRect(m_hwnd, nullptr, TRUE);
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

    int pressedItem() const { return m_pressed; }

private:
    LRESULT notifyItem(UINT code, int index, HDITEMA* item, int button = 0)
    {
        NMHEADERA nm{};
        nm.iItem = index;
        nm.iButton = button;
        nm.pitem = item;
        return notifyParent(m_hwnd, code, &nm.hdr);
    }

    void copyIn(HeaderItem& it, const HDITEMA& src)
    {
        if (src.mask & HDI_WIDTH)
            it.cxy = std::max(0, src.cxy);
        if (src.mask & HDI_TEXT) {
            it.callbackText = src.pszText == LPSTR_TEXTCALLBACKA;
            it.text = (src.pszText && !it.callbackText) ? src.pszText : "";
        }
        if (src.mask & HDI_FORMAT)
            it.fmt = src.fmt;
        if (src.mask & HDI_LPARAM)
            it.lParam = src.lParam;
        if (src.mask & HDI_BITMAP)
            it.hbm = src.hbm;
        if (src.mask & HDI_IMAGE)
            it.iImage = src.iImage;
    }

    LRESULT insert(int index, const HDITEMA* src)
    {
        if (!src)
            return -1;
        HeaderItem it;
        copyIn(it, *src);
        index = std::clamp(index, 0, count());
        m_items.insert(m_items.begin() + index, it);
        for (int& o : m_order)
            if (o >= index)
                ++o;
        int at = count() - 1;
        if ((src->mask & HDI_ORDER) && src->iOrder >= 0 && src->iOrder < count())
            at = src->iOrder;
        m_order.insert(m_order.begin() + at, index);
        InvalidateRect(m_hwnd, nullptr, TRUE);
        return index;
    }

    LRESULT remove(int index)
    {
        if (index < 0 || index >= count())
            return FALSE;
        m_items.erase(m_items.begin() + index);
        m_order.erase(std::find(m_order.begin(), m_order.end(), index));
        for (int& o : m_order)
            if (o > index)
                --o;
        if (m_pressed == index)
            m_pressed = -1;
        m_hot = -1;
        InvalidateRect(m_hwnd, nullptr, TRUE);
        return TRUE;
    }

    LRESULT getItem(int index, HDITEMA* out)
    {
        if (!out || index < 0 || index >= count())
            return FALSE;
        const HeaderItem& it = m_items[static_cast<size_t>(index)];
        if (out->mask & HDI_WIDTH)
            out->cxy = it.cxy;
        if (out->mask & HDI_TEXT) {
            if (it.callbackText) {
                out->pszText = LPSTR_TEXTCALLBACKA;
            } else if (out->pszText && out->cchTextMax > 0) {
                size_t n = std::min(it.text.size(), static_cast<size_t>(out->cchTextMax - 1));
                std::memcpy(out->pszText, it.text.data(), n);
                out->pszText[n] = 0;
            }
        }
        if (out->mask & HDI_FORMAT)
            out->fmt = it.fmt;
        if (out->mask & HDI_LPARAM)
            out->lParam = it.lParam;
        if (out->mask & HDI_BITMAP)
            out->hbm = it.hbm;
        if (out->mask & HDI_IMAGE)
            out->iImage = it.iImage;
        if (out->mask & HDI_ORDER)
            out->iOrder = static_cast<int>(std::find(m_order.begin(), m_order.end(), index) - m_order.begin());
        return TRUE;
    }

    // The parent sees HDN_ITEMCHANGING first and may refuse the change.
    LRESULT setItem(int index, const HDITEMA* src, bool notify)
    {
        if (!src || index < 0 || index >= count())
            return FALSE;
        HDITEMA copy = *src;
        if (notify && notifyItem(HDN_ITEMCHANGINGA, index, &copy))
            return FALSE;
        copyIn(m_items[static_cast<size_t>(index)], *src);
        if ((src->mask & HDI_ORDER) && src->iOrder >= 0 && src->iOrder < count()) {
            m_order.erase(std::find(m_order.begin(), m_order.end(), index));
            m_order.insert(m_order.begin() + src->iOrder, index);
        }
        if (notify)
            notifyItem(HDN_ITEMCHANGEDA, index, &copy);
        InvalidateRect(m_hwnd, nullptr, TRUE);
        return TRUE;
    }

    int preferredHeight() const
    {
        HDC dc = GetDC(m_hwnd);
        SIZE sz = textExtent(dc, m_font.get(), "Ag");
        ReleaseDC(m_hwnd, dc);
        return sz.cy + 6;
    }

    LRESULT layout(HDLAYOUT* l)
    {
        if (!l || !l->prc || !l->pwpos)
            return FALSE;
        int h = (style() & HDS_HIDDEN) ? 0 : preferredHeight();
        WINDOWPOS& wp = *l->pwpos;
        wp = WINDOWPOS{};
        wp.hwndInsertAfter = nullptr;
        wp.x = l->prc->left;
        wp.y = l->prc->top;
        wp.cx = l->prc->right - l->prc->left;
        wp.cy = h;
        wp.flags = (style() & HDS_HIDDEN) ? SWP_HIDEWINDOW : SWP_SHOWWINDOW;
        l->prc->top += h;
        return TRUE;
    }

    void mouseDown(POINT pt)
    {
        UINT flags = 0;
        int index = hitTest(pt, flags);
        if (index < 0)
            return;
        if (flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) {
            HDITEMA item{};
            item.mask = HDI_WIDTH;
            item.cxy = m_items[static_cast<size_t>(index)].cxy;
            if (notifyItem(HDN_BEGINTRACKA, index, &item))
                return; // the parent forbids resizing this column
            m_tracking = index;
            m_trackStartX = pt.x;
            m_trackStartWidth = item.cxy;
            m_trackWidth = item.cxy;
            SetCapture(m_hwnd);
            return;
        }
        if (style() & HDS_BUTTONS) {
            m_pressed = index;
            m_pressedInside = true;
            SetCapture(m_hwnd);
            InvalidateRect(m_hwnd, nullptr, TRUE);
        }
    }

    void mouseMove(POINT pt)
    {
        if (m_tracking >= 0) {
            int width = std::max(0, m_trackStartWidth + pt.x - m_trackStartX);
            if (width == m_trackWidth)
                return;
            HDITEMA item{};
            item.mask = HDI_WIDTH;
            item.cxy = width;
            if (notifyItem(HDN_TRACKA, m_tracking, &item))
                return;
            m_trackWidth = width;
            if (style() & HDS_FULLDRAG) {
                setItem(m_tracking, &item, true);
                UpdateWindow(m_hwnd);
            }
            return;
        }
        if (m_pressed >= 0) {
            RECT r = itemRect(m_pressed);
            bool inside = PtInRect(&r, pt);
            if (inside != m_pressedInside) {
                m_pressedInside = inside;
                InvalidateRect(m_hwnd, nullptr, TRUE);
            }
            return;
        }
        if (style() & HDS_HOTTRACK) {
            UINT flags = 0;
            int index = hitTest(pt, flags);
            setHot(flags & HHT_ONHEADER ? index : -1);
            if (!m_trackingLeave) {
                TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, m_hwnd, 0};
                TrackMouseEvent(&tme);
                m_trackingLeave = true;
            }
        }
    }

    void finishTrack(int index, bool commit)
    {
        HDITEMA item{};
        item.mask = HDI_WIDTH;
        item.cxy = m_trackWidth;
        notifyItem(HDN_ENDTRACKA, index, &item);
        if (commit && m_items[static_cast<size_t>(index)].cxy != m_trackWidth)
            setItem(index, &item, true);
    }

    void mouseUp(POINT pt)
    {
        if (m_tracking >= 0) {
            int index = m_tracking;
            m_tracking = -1;
            finishTrack(index, true);
            if (GetCapture() == m_hwnd)
                ReleaseCapture();
            return;
        }
        if (m_pressed >= 0) {
            int index = m_pressed;
            RECT r = itemRect(index);
            m_pressed = -1;
            if (GetCapture() == m_hwnd)
                ReleaseCapture();
            InvalidateRect(m_hwnd, nullptr, TRUE);
            if (PtInRect(&r, pt))
                notifyItem(HDN_ITEMCLICKA, index, nullptr);
        }
    }

    void setHot(int index)
    {
        if (index == m_hot)
            return;
        m_hot = index;
        InvalidateRect(m_hwnd, nullptr, TRUE);
    }

    void paintItem(HDC dc, int index)
    {
        const HeaderItem& it = m_items[static_cast<size_t>(index)];
        RECT r = itemRect(index);
        if (r.right <= r.left)
            return;
        bool pressed = index == m_pressed && m_pressedInside;
        FillRect(dc, &r, GetSysColorBrush(index == m_hot ? COLOR_3DHILIGHT : COLOR_3DFACE));
        RECT edge = r;
        if (pressed)
            DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT | BF_FLAT);
        else
            DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT | BF_SOFT);
        RECT inner = r;
        InflateRect(&inner, -m_bitmapMargin, -2);
        if (pressed)
            OffsetRect(&inner, 1, 1);
        int cx = 0, cy = 0;
        bool image = (it.fmt & HDF_IMAGE) && m_images && ImageList_GetIconSize(m_images, &cx, &cy);
        if (image) {
            int y = (r.top + r.bottom - cy) / 2;
            if (it.fmt & HDF_BITMAP_ON_RIGHT) {
                ImageList_Draw(m_images, it.iImage, dc, inner.right - cx, y, ILD_TRANSPARENT);
                inner.right -= cx + m_bitmapMargin;
            } else {
                ImageList_Draw(m_images, it.iImage, dc, inner.left, y, ILD_TRANSPARENT);
                inner.left += cx + m_bitmapMargin;
            }
        }
        if ((it.fmt & HDF_STRING) || !(it.fmt & (HDF_BITMAP | HDF_IMAGE))) {
            std::string text = it.text;
            if (it.callbackText) {
                char buf[260] = {};
                HDITEMA q{};
                q.mask = HDI_TEXT;
                q.pszText = buf;
                q.cchTextMax = sizeof buf;
                NMHEADERA nm{};
                nm.iItem = index;
                nm.pitem = &q;
                notifyParent(m_hwnd, HDN_GETDISPINFOA, &nm.hdr);
                text = q.pszText && q.pszText != LPSTR_TEXTCALLBACKA ? q.pszText : "";
            }
            UINT just = (it.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT    ? DT_RIGHT
                        : (it.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER
                                                                   : DT_LEFT;
            drawText(dc, m_font.get(), text, inner, just | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX,
                     GetSysColor(IsWindowEnabled(m_hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        }
    }

    void paint()
    {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(m_hwnd, &ps);
        RECT rc;
        GetClientRect(m_hwnd, &rc);
        RECT rest = rc;
        rest.left = 0;
        for (int index : m_order)
            rest.left += m_items[static_cast<size_t>(index)].cxy;
        if (rest.left < rest.right) {
            FillRect(dc, &rest, GetSysColorBrush(COLOR_3DFACE));
            DrawEdge(dc, &rest, EDGE_RAISED, BF_RECT | BF_SOFT);
        }
        for (int index = 0; index < count(); ++index)
            paintItem(dc, index);
        EndPaint(m_hwnd, &ps);
    }

    HWND m_hwnd;
    std::vector<HeaderItem> m_items;
    std::vector<int> m_order; // display position -> item index
    HIMAGELIST m_images = nullptr;
    int m_bitmapMargin = 6; // 3 x SM_CXEDGE
    int m_tracking = -1, m_trackStartX = 0, m_trackStartWidth = 0, m_trackWidth = 0;
    int m_pressed = -1;
    bool m_pressedInside = false;
    int m_hot = -1;
    bool m_trackingLeave = false;
    FontHolder m_font;
};

} // namespace

void registerHeader()
{
    registerControlClass(WC_HEADERA, controlProc<Header>, CS_DBLCLKS);
}

} // namespace vk::comctl
