// "SysListView32": items with subitems shown as rows under a SysHeader32 child
// (report view), or as a grid of labelled icons that the icon, small-icon and
// list views share. Selection, focus, scrolling and the parent's notifications.
#include "controls/common/control_base.h"
#include "core/last_error.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace vk::comctl {
namespace {

constexpr int kTextPad = 2;        // label text inset on each side
constexpr int kCellPad = 6;        // subitem text inset in report view
constexpr int kIconCellWidth = 75; // icon view grid
constexpr int kListCellWidth = 120; // small-icon and list views, until LVM_SETCOLUMNWIDTH
constexpr int kWheelRows = 3;
constexpr int kHScrollLine = 10;
constexpr UINT kSelectionBits = LVIS_SELECTED | LVIS_FOCUSED;

struct LvCell {
    std::string text;
    bool callback = false;
};

struct LvItem {
    std::vector<LvCell> cells; // [subitem]
    int image = 0;
    LPARAM lParam = 0;
    UINT state = 0;
    int indent = 0;
};

struct LvColumn {
    int fmt = LVCFMT_LEFT;
    int subItem = 0;
    int image = 0;
    std::string text;
};

// Where an item's parts are, in client coordinates; painting and hit testing
// both ask for this.
struct ItemGeometry {
    RECT bounds{};
    RECT icon{};
    RECT label{};
};

// A refused request leaves its reason behind, like every refused call here.
template <class T>
T refuse(T value)
{
    return vk::failWith(ERROR_INVALID_PARAMETER, value);
}

size_t copyText(const std::string& text, char* out, int cap)
{
    if (!out || cap <= 0)
        return 0;
    size_t n = std::min(text.size(), static_cast<size_t>(cap - 1));
    std::memcpy(out, text.data(), n);
    out[n] = 0;
    return n;
}

class ListView {
public:
    ListView(HWND hwnd, const CREATESTRUCTA&) : m_hwnd(hwnd) {}

    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp)
    {
        switch (msg) {
        case WM_CREATE:
            create();
            return 0;
        case WM_DESTROY:
            destroy();
            return 0;
        case WM_SIZE:
            relayout();
            return 0;
        case WM_STYLECHANGED:
            if (wp == static_cast<WPARAM>(GWL_STYLE)) {
                recalcMetrics();
                relayout();
                InvalidateRect(m_hwnd, nullptr, TRUE);
            }
            return 0;
        case WM_SETFONT:
            m_font.font = reinterpret_cast<HFONT>(wp);
            if (m_header)
                SendMessageA(m_header, WM_SETFONT, wp, 0);
            recalcMetrics();
            relayout();
            if (LOWORD(lp))
                InvalidateRect(m_hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(m_font.get());
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            m_focused = msg == WM_SETFOCUS;
            for (int i = 0; i < count(); ++i)
                if (m_items[static_cast<size_t>(i)].state & kSelectionBits)
                    invalidateItem(i);
            NMHDR nm{};
            notifyParent(m_hwnd, m_focused ? NM_SETFOCUS : NM_KILLFOCUS, &nm);
            return 0;
        }
        case WM_ENABLE:
            InvalidateRect(m_hwnd, nullptr, TRUE);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = wp ? reinterpret_cast<HDC>(wp) : BeginPaint(m_hwnd, &ps);
            RECT all;
            GetClientRect(m_hwnd, &all);
            if (dc)
                paint(dc, wp ? all : ps.rcPaint);
            if (!wp)
                EndPaint(m_hwnd, &ps);
            return 0;
        }
        case WM_NOTIFY:
            return headerNotify(userPointer<NMHDR>(static_cast<UINT_PTR>(lp)));
        case WM_VSCROLL:
            vscroll(LOWORD(wp));
            return 0;
        case WM_HSCROLL:
            hscroll(LOWORD(wp));
            return 0;
        case WM_MOUSEWHEEL:
            if (int notches = wheelNotches(m_wheel, wp))
                setTop(m_top - notches * kWheelRows);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
            mouseDown(msg, wp, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            return 0;
        case WM_KEYDOWN:
            keyDown(static_cast<UINT>(wp), lp);
            return 0;

        case LVM_GETITEMCOUNT:
            return count();
        case LVM_INSERTITEMA:
            return insertItem(userPointer<const LVITEMA>(static_cast<UINT_PTR>(lp)));
        case LVM_SETITEMA:
            return setItem(userPointer<const LVITEMA>(static_cast<UINT_PTR>(lp)));
        case LVM_GETITEMA:
            return getItem(userPointer<LVITEMA>(static_cast<UINT_PTR>(lp)));
        case LVM_SETITEMTEXTA: {
            auto* in = userPointer<const LVITEMA>(static_cast<UINT_PTR>(lp));
            if (!in)
                return refuse<LRESULT>(FALSE);
            return setText(static_cast<int>(wp), in->iSubItem, in->pszText);
        }
        case LVM_GETITEMTEXTA: {
            auto* out = userPointer<LVITEMA>(static_cast<UINT_PTR>(lp));
            if (!out || !validItem(static_cast<int>(wp)) || !validSubItem(out->iSubItem))
                return refuse<LRESULT>(0);
            std::string text = cellText(static_cast<int>(wp), out->iSubItem);
            return static_cast<LRESULT>(copyText(text, out->pszText, out->cchTextMax));
        }
        case LVM_DELETEITEM:
            return deleteItem(static_cast<int>(wp));
        case LVM_DELETEALLITEMS:
            deleteAll();
            return TRUE;
        case LVM_SETITEMSTATE: {
            auto* in = userPointer<const LVITEMA>(static_cast<UINT_PTR>(lp));
            if (!in)
                return refuse<LRESULT>(FALSE);
            int i = static_cast<int>(wp);
            if (i == -1) {
                for (int k = 0; k < count(); ++k)
                    changeState(k, in->state, in->stateMask);
                return TRUE;
            }
            if (!validItem(i))
                return refuse<LRESULT>(FALSE);
            changeState(i, in->state, in->stateMask);
            return TRUE;
        }
        case LVM_GETITEMSTATE:
            return validItem(static_cast<int>(wp)) ? item(static_cast<int>(wp)).state & static_cast<UINT>(lp) : 0;
        case LVM_GETNEXTITEM:
            return nextItem(static_cast<int>(wp), static_cast<UINT>(lp));
        case LVM_GETSELECTEDCOUNT:
            return std::count_if(m_items.begin(), m_items.end(),
                                 [](const LvItem& it) { return (it.state & LVIS_SELECTED) != 0; });
        case LVM_GETSELECTIONMARK:
            return m_mark;
        case LVM_SETSELECTIONMARK: {
            int old = m_mark;
            m_mark = validItem(static_cast<int>(lp)) ? static_cast<int>(lp) : -1;
            return old;
        }
        case LVM_GETHOTITEM:
            return m_hot;
        case LVM_SETHOTITEM: {
            int old = m_hot;
            m_hot = validItem(static_cast<int>(wp)) ? static_cast<int>(wp) : -1;
            return old;
        }
        case LVM_GETITEMRECT:
            return itemRectMessage(static_cast<int>(wp), userPointer<RECT>(static_cast<UINT_PTR>(lp)));
        case LVM_GETSUBITEMRECT:
            return subItemRectMessage(static_cast<int>(wp), userPointer<RECT>(static_cast<UINT_PTR>(lp)));
        case LVM_HITTEST:
        case LVM_SUBITEMHITTEST: {
            auto* info = userPointer<LVHITTESTINFO>(static_cast<UINT_PTR>(lp));
            if (!info)
                return refuse<LRESULT>(-1);
            int sub = 0;
            info->iItem = hitTest(info->pt, info->flags, sub);
            if (msg == LVM_SUBITEMHITTEST)
                info->iSubItem = info->iItem >= 0 ? sub : -1;
            return info->iItem;
        }
        case LVM_ENSUREVISIBLE:
            if (!validItem(static_cast<int>(wp)))
                return refuse<LRESULT>(FALSE);
            ensureVisible(static_cast<int>(wp), lp != 0);
            return TRUE;
        case LVM_SCROLL:
            return scrollBy(static_cast<int>(wp), static_cast<int>(lp));
        case LVM_GETTOPINDEX:
            return count() ? std::min(count() - 1, m_top * perRow()) : 0;
        case LVM_GETCOUNTPERPAGE:
            return isReport() || view() == LVS_LIST ? rowsPerPage() * perRow() : count();
        case LVM_GETORIGIN: {
            auto* pt = userPointer<POINT>(static_cast<UINT_PTR>(lp));
            if (!pt)
                return refuse<LRESULT>(FALSE);
            *pt = POINT{0, 0};
            if (isReport() || view() == LVS_LIST)
                return FALSE;
            pt->y = m_top * cellSize().cy;
            return TRUE;
        }
        case LVM_GETVIEWRECT: {
            auto* r = userPointer<RECT>(static_cast<UINT_PTR>(lp));
            if (!r || isReport())
                return refuse<LRESULT>(FALSE);
            SIZE cell = cellSize();
            int rows = (count() + perRow() - 1) / perRow();
            *r = RECT{0, -m_top * cell.cy, std::min(count(), perRow()) * cell.cx, (rows - m_top) * cell.cy};
            return TRUE;
        }
        case LVM_REDRAWITEMS:
            for (int i = std::max(0, static_cast<int>(wp)); i <= static_cast<int>(lp) && i < count(); ++i)
                invalidateItem(i);
            return TRUE;
        case LVM_UPDATE:
            if (!validItem(static_cast<int>(wp)))
                return refuse<LRESULT>(FALSE);
            invalidateItem(static_cast<int>(wp));
            return TRUE;
        case LVM_SETITEMCOUNT:
            if (static_cast<int>(wp) > 0 && static_cast<int>(wp) < (1 << 20))
                m_items.reserve(static_cast<size_t>(wp));
            return TRUE;

        case LVM_INSERTCOLUMNA:
            return insertColumn(static_cast<int>(wp), userPointer<const LVCOLUMNA>(static_cast<UINT_PTR>(lp)));
        case LVM_SETCOLUMNA:
            return setColumn(static_cast<int>(wp), userPointer<const LVCOLUMNA>(static_cast<UINT_PTR>(lp)));
        case LVM_GETCOLUMNA:
            return getColumn(static_cast<int>(wp), userPointer<LVCOLUMNA>(static_cast<UINT_PTR>(lp)));
        case LVM_DELETECOLUMN:
            return deleteColumn(static_cast<int>(wp));
        case LVM_GETCOLUMNWIDTH:
            if (view() == LVS_LIST)
                return m_listCellWidth;
            return isReport() && validColumn(static_cast<int>(wp)) ? columnWidth(static_cast<int>(wp)) : 0;
        case LVM_SETCOLUMNWIDTH:
            return setColumnWidth(static_cast<int>(wp), static_cast<int>(static_cast<short>(LOWORD(lp))));
        case LVM_GETHEADER:
            return reinterpret_cast<LRESULT>(m_header);
        case LVM_GETSTRINGWIDTHA: {
            auto* s = userPointer<const char>(static_cast<UINT_PTR>(lp));
            return s ? textWidth(s) : 0;
        }

        case LVM_SETIMAGELIST: {
            HIMAGELIST* slot = imageSlot(static_cast<int>(wp));
            if (!slot)
                return refuse<LRESULT>(0);
            HIMAGELIST old = *slot;
            *slot = reinterpret_cast<HIMAGELIST>(lp);
            recalcMetrics();
            relayout();
            InvalidateRect(m_hwnd, nullptr, TRUE);
            return reinterpret_cast<LRESULT>(old);
        }
        case LVM_GETIMAGELIST: {
            HIMAGELIST* slot = imageSlot(static_cast<int>(wp));
            return slot ? reinterpret_cast<LRESULT>(*slot) : 0;
        }
        case LVM_SETBKCOLOR:
            m_bkColor = static_cast<COLORREF>(lp);
            InvalidateRect(m_hwnd, nullptr, TRUE);
            return TRUE;
        case LVM_GETBKCOLOR:
            return m_bkColor;
        case LVM_SETTEXTCOLOR:
            m_textColor = static_cast<COLORREF>(lp);
            InvalidateRect(m_hwnd, nullptr, TRUE);
            return TRUE;
        case LVM_GETTEXTCOLOR:
            return m_textColor;
        case LVM_SETTEXTBKCOLOR:
            m_textBkColor = static_cast<COLORREF>(lp);
            InvalidateRect(m_hwnd, nullptr, TRUE);
            return TRUE;
        case LVM_GETTEXTBKCOLOR:
            return m_textBkColor;
        case LVM_SETEXTENDEDLISTVIEWSTYLE: {
            DWORD old = m_exStyle;
            DWORD mask = wp ? static_cast<DWORD>(wp) : ~0u;
            m_exStyle = (m_exStyle & ~mask) | (static_cast<DWORD>(lp) & mask);
            if (m_exStyle != old)
                InvalidateRect(m_hwnd, nullptr, TRUE);
            return old;
        }
        case LVM_GETEXTENDEDLISTVIEWSTYLE:
            return m_exStyle;
        }
        return DefWindowProcA(m_hwnd, msg, wp, lp);
    }

private:
    DWORD style() const { return static_cast<DWORD>(GetWindowLongA(m_hwnd, GWL_STYLE)); }
    DWORD view() const { return style() & LVS_TYPEMASK; }
    bool isReport() const { return view() == LVS_REPORT; }
    bool singleSel() const { return (style() & LVS_SINGLESEL) != 0; }
    bool fullRow() const { return isReport() && (m_exStyle & LVS_EX_FULLROWSELECT); }
    int count() const { return static_cast<int>(m_items.size()); }
    bool validItem(int i) const { return i >= 0 && i < count(); }
    bool validColumn(int c) const { return c >= 0 && c < static_cast<int>(m_columns.size()); }
    bool validSubItem(int s) const { return s >= 0 && s < std::max<int>(1, static_cast<int>(m_columns.size())); }
    LvItem& item(int i) { return m_items[static_cast<size_t>(i)]; }
    const LvItem& item(int i) const { return m_items[static_cast<size_t>(i)]; }

    HIMAGELIST* imageSlot(int which)
    {
        switch (which) {
        case LVSIL_NORMAL: return &m_normalImages;
        case LVSIL_SMALL: return &m_smallImages;
        case LVSIL_STATE: return &m_stateImages;
        }
        return nullptr;
    }
    HIMAGELIST viewImages() const { return view() == LVS_ICON ? m_normalImages : m_smallImages; }
    SIZE imageSize(HIMAGELIST list) const
    {
        int cx = 0, cy = 0;
        if (!list || !ImageList_GetIconSize(list, &cx, &cy))
            return SIZE{0, 0};
        return SIZE{cx, cy};
    }

    // ---- life cycle and layout ----

    void create()
    {
        DWORD hs = WS_CHILD | HDS_HORZ | HDS_FULLDRAG;
        if (!(style() & LVS_NOSORTHEADER))
            hs |= HDS_BUTTONS;
        m_header = CreateWindowExA(0, WC_HEADERA, "", hs, 0, 0, 0, 0, m_hwnd, nullptr, nullptr, nullptr);
        m_bkColor = GetSysColor(COLOR_WINDOW);
        m_textBkColor = GetSysColor(COLOR_WINDOW);
        m_textColor = GetSysColor(COLOR_WINDOWTEXT);
        recalcMetrics();
        relayout();
    }

    void destroy()
    {
        deleteAll();
        // Without LVS_SHAREIMAGELISTS the control owns the lists it was given.
        if (!(style() & LVS_SHAREIMAGELISTS)) {
            HIMAGELIST lists[] = {m_normalImages, m_smallImages, m_stateImages};
            for (size_t k = 0; k < 3; ++k) {
                bool seen = std::find(lists, lists + k, lists[k]) != lists + k;
                if (lists[k] && !seen)
                    ImageList_Destroy(lists[k]);
            }
        }
        m_normalImages = m_smallImages = m_stateImages = nullptr;
    }

    void recalcMetrics()
    {
        HDC dc = GetDC(m_hwnd);
        m_textHeight = textExtent(dc, m_font.get(), "Ag").cy;
        ReleaseDC(m_hwnd, dc);
        SIZE small = imageSize(m_smallImages);
        m_rowHeight = std::max<int>(m_textHeight + 4, small.cy + 1);
    }

    int textWidth(const std::string& s) const
    {
        HDC dc = GetDC(m_hwnd);
        int w = textExtent(dc, m_font.get(), s).cx;
        ReleaseDC(m_hwnd, dc);
        return w;
    }

    RECT client() const
    {
        RECT rc;
        GetClientRect(m_hwnd, &rc);
        return rc;
    }

    bool headerShown() const { return isReport() && !(style() & LVS_NOCOLUMNHEADER); }
    int itemsTop() const { return headerShown() ? m_headerHeight : 0; }

    void relayout()
    {
        if (!m_header)
            return;
        RECT rc = client();
        if (headerShown()) {
            WINDOWPOS pos{};
            HDLAYOUT layout{&rc, &pos};
            SendMessageA(m_header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout));
            m_headerHeight = pos.cy;
            SetWindowPos(m_header, nullptr, pos.x - m_scrollX, pos.y, pos.cx + m_scrollX, pos.cy,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        } else {
            m_headerHeight = 0;
            ShowWindow(m_header, SW_HIDE);
        }
        updateScrollBars();
    }

    SIZE cellSize() const
    {
        if (isReport())
            return SIZE{totalColumnWidth(), m_rowHeight};
        if (view() == LVS_ICON) {
            SIZE icon = imageSize(m_normalImages);
            return SIZE{std::max(kIconCellWidth, static_cast<int>(icon.cx) + 8),
                        static_cast<int>(icon.cy) + m_textHeight + 10};
        }
        return SIZE{std::max(1, m_listCellWidth), m_rowHeight};
    }

    int perRow() const
    {
        if (isReport())
            return 1;
        return std::max(1, static_cast<int>(client().right / cellSize().cx));
    }
    int totalRows() const { return (count() + perRow() - 1) / perRow(); }
    int rowsPerPage() const
    {
        int h = client().bottom - itemsTop();
        return std::max(0, h / std::max(1, static_cast<int>(cellSize().cy)));
    }
    int maxTop() const { return std::max(0, totalRows() - std::max(1, rowsPerPage())); }

    // ---- columns ----

    struct Span {
        int left, right;
    };

    // Each column's horizontal extent in client coordinates, from the header
    // so that its order and widths are the ones on screen.
    std::vector<Span> columnSpans() const
    {
        std::vector<Span> spans;
        for (int c = 0; c < static_cast<int>(m_columns.size()); ++c) {
            RECT r{0, 0, 0, 0};
            SendMessageA(m_header, HDM_GETITEMRECT, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&r));
            spans.push_back(Span{static_cast<int>(r.left) - m_scrollX, static_cast<int>(r.right) - m_scrollX});
        }
        return spans;
    }

    int columnWidth(int c) const
    {
        HDITEMA hd{};
        hd.mask = HDI_WIDTH;
        SendMessageA(m_header, HDM_GETITEMA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&hd));
        return hd.cxy;
    }

    int totalColumnWidth() const
    {
        int w = 0;
        for (int c = 0; c < static_cast<int>(m_columns.size()); ++c)
            w += columnWidth(c);
        return w;
    }

    static HDITEMA headerItemOf(const LVCOLUMNA& col, int index)
    {
        HDITEMA hd{};
        if (col.mask & LVCF_WIDTH) {
            hd.mask |= HDI_WIDTH;
            hd.cxy = std::max(0, col.cx);
        }
        if (col.mask & LVCF_TEXT) {
            hd.mask |= HDI_TEXT;
            hd.pszText = col.pszText && col.pszText != LPSTR_TEXTCALLBACKA ? col.pszText : const_cast<char*>("");
        }
        if (col.mask & LVCF_FMT) {
            hd.mask |= HDI_FORMAT;
            // The first column is always left-aligned.
            int just = index == 0 ? LVCFMT_LEFT : (col.fmt & LVCFMT_JUSTIFYMASK);
            hd.fmt = HDF_STRING | (just == LVCFMT_RIGHT ? HDF_RIGHT : just == LVCFMT_CENTER ? HDF_CENTER : HDF_LEFT);
        }
        if (col.mask & LVCF_ORDER) {
            hd.mask |= HDI_ORDER;
            hd.iOrder = col.iOrder;
        }
        return hd;
    }

    static void copyColumnIn(LvColumn& c, const LVCOLUMNA& in)
    {
        if (in.mask & LVCF_FMT)
            c.fmt = in.fmt;
        if (in.mask & LVCF_TEXT)
            c.text = in.pszText && in.pszText != LPSTR_TEXTCALLBACKA ? in.pszText : "";
        if (in.mask & LVCF_SUBITEM)
            c.subItem = std::max(0, in.iSubItem);
        if (in.mask & LVCF_IMAGE)
            c.image = in.iImage;
    }

    LRESULT insertColumn(int index, const LVCOLUMNA* in)
    {
        if (!in || index < 0)
            return refuse<LRESULT>(-1);
        index = std::min(index, static_cast<int>(m_columns.size()));
        LvColumn c;
        c.subItem = index;
        copyColumnIn(c, *in);
        HDITEMA hd = headerItemOf(*in, index);
        hd.mask |= HDI_WIDTH | HDI_FORMAT;
        if (!(in->mask & LVCF_FMT))
            hd.fmt = HDF_LEFT | HDF_STRING;
        if (SendMessageA(m_header, HDM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&hd)) < 0)
            return refuse<LRESULT>(-1);
        m_columns.insert(m_columns.begin() + index, c);
        updateScrollBars();
        InvalidateRect(m_hwnd, nullptr, TRUE);
        return index;
    }

    LRESULT setColumn(int index, const LVCOLUMNA* in)
    {
        if (!in || !validColumn(index))
            return refuse<LRESULT>(FALSE);
        copyColumnIn(m_columns[static_cast<size_t>(index)], *in);
        HDITEMA hd = headerItemOf(*in, index);
        if (hd.mask)
            SendMessageA(m_header, HDM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&hd));
        InvalidateRect(m_hwnd, nullptr, TRUE);
        return TRUE;
    }

    LRESULT getColumn(int index, LVCOLUMNA* out)
    {
        if (!out || !validColumn(index))
            return refuse<LRESULT>(FALSE);
        const LvColumn& c = m_columns[static_cast<size_t>(index)];
        if (out->mask & LVCF_FMT)
            out->fmt = c.fmt;
        if (out->mask & LVCF_WIDTH)
            out->cx = columnWidth(index);
        if (out->mask & LVCF_TEXT)
            copyText(c.text, out->pszText, out->cchTextMax);
        if (out->mask & LVCF_SUBITEM)
            out->iSubItem = c.subItem;
        if (out->mask & LVCF_IMAGE)
            out->iImage = c.image;
        if (out->mask & LVCF_ORDER) {
            HDITEMA hd{};
            hd.mask = HDI_ORDER;
            SendMessageA(m_header, HDM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&hd));
            out->iOrder = hd.iOrder;
        }
        return TRUE;
    }

    LRESULT deleteColumn(int index)
    {
        if (!validColumn(index))
            return refuse<LRESULT>(FALSE);
        SendMessageA(m_header, HDM_DELETEITEM, static_cast<WPARAM>(index), 0);
        m_columns.erase(m_columns.begin() + index);
        updateScrollBars();
        InvalidateRect(m_hwnd, nullptr, TRUE);
        return TRUE;
    }

    LRESULT setColumnWidth(int index, int cx)
    {
        if (view() == LVS_LIST) {
            if (index != 0 || cx <= 0)
                return refuse<LRESULT>(FALSE);
            m_listCellWidth = cx;
            updateScrollBars();
            InvalidateRect(m_hwnd, nullptr, TRUE);
            return TRUE;
        }
        if (!isReport() || !validColumn(index))
            return refuse<LRESULT>(FALSE);
        const LvColumn& col = m_columns[static_cast<size_t>(index)];
        if (cx == LVSCW_AUTOSIZE || cx == LVSCW_AUTOSIZE_USEHEADER) {
            int widest = 0;
            for (int i = 0; i < count(); ++i)
                widest = std::max(widest, textWidth(cellText(i, col.subItem)));
            if (col.subItem == 0)
                widest += imageSize(m_smallImages).cx;
            if (cx == LVSCW_AUTOSIZE_USEHEADER) {
                widest = std::max(widest, textWidth(col.text));
                // The last column takes up what is left of the client width.
                if (index == static_cast<int>(m_columns.size()) - 1) {
                    int others = totalColumnWidth() - columnWidth(index);
                    widest = std::max(widest, static_cast<int>(client().right) - others - 2 * kCellPad);
                }
            }
            cx = widest + 2 * kCellPad;
        }
        HDITEMA hd{};
        hd.mask = HDI_WIDTH;
        hd.cxy = std::max(0, cx);
        SendMessageA(m_header, HDM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&hd));
        updateScrollBars();
        InvalidateRect(m_hwnd, nullptr, TRUE);
        return TRUE;
    }

    // The header tells us about clicks and resizes; the parent hears them too,
    // and may refuse a resize that is about to start.
    LRESULT headerNotify(NMHDR* hdr)
    {
        if (!hdr || !m_header || hdr->hwndFrom != m_header)
            return 0;
        UINT code = hdr->code;
        HWND parent = GetParent(m_hwnd);
        LRESULT answer = parent ? SendMessageA(parent, WM_NOTIFY, hdr->idFrom, reinterpret_cast<LPARAM>(hdr)) : 0;
        if (!IsWindow(m_hwnd))
            return answer;
        auto* nm = reinterpret_cast<NMHEADERA*>(hdr);
        if (code == HDN_ITEMCLICKA) {
            NMLISTVIEW lv{};
            lv.iItem = -1;
            lv.iSubItem = nm->iItem;
            notifyParent(m_hwnd, LVN_COLUMNCLICK, &lv.hdr);
        } else if (code == HDN_ITEMCHANGEDA || code == HDN_ENDTRACKA) {
            updateScrollBars();
            RECT rc = client();
            rc.top = itemsTop();
            InvalidateRect(m_hwnd, &rc, TRUE);
        }
        return answer;
    }

    // ---- items ----

    std::string cellText(int i, int sub)
    {
        const LvItem& it = item(i);
        if (sub < 0 || sub >= static_cast<int>(it.cells.size()))
            return "";
        if (!it.cells[static_cast<size_t>(sub)].callback)
            return it.cells[static_cast<size_t>(sub)].text;
        char buf[512] = {};
        NMLVDISPINFOA di{};
        di.item.mask = LVIF_TEXT;
        di.item.iItem = i;
        di.item.iSubItem = sub;
        di.item.pszText = buf;
        di.item.cchTextMax = sizeof buf;
        di.item.lParam = it.lParam;
        notifyParent(m_hwnd, LVN_GETDISPINFOA, &di.hdr);
        if (!di.item.pszText || di.item.pszText == LPSTR_TEXTCALLBACKA)
            return "";
        return std::string(di.item.pszText, strnlen(di.item.pszText, sizeof buf - 1));
    }

    static void storeText(LvItem& it, int sub, const char* text)
    {
        if (static_cast<int>(it.cells.size()) <= sub)
            it.cells.resize(static_cast<size_t>(sub) + 1);
        LvCell& cell = it.cells[static_cast<size_t>(sub)];
        cell.callback = text == LPSTR_TEXTCALLBACKA;
        cell.text = text && !cell.callback ? text : "";
    }

    LRESULT setText(int i, int sub, const char* text)
    {
        if (!validItem(i) || !validSubItem(sub))
            return refuse<LRESULT>(FALSE);
        storeText(item(i), sub, text);
        invalidateItem(i);
        return TRUE;
    }

    int sortedPosition(const std::string& text) const
    {
        bool descending = (style() & LVS_SORTDESCENDING) && !(style() & LVS_SORTASCENDING);
        for (int i = 0; i < count(); ++i) {
            const LvItem& it = item(i);
            const std::string other = it.cells.empty() ? std::string() : it.cells[0].text;
            int cmp = lstrcmpiA(text.c_str(), other.c_str());
            if (descending ? cmp > 0 : cmp < 0)
                return i;
        }
        return count();
    }

    LRESULT insertItem(const LVITEMA* in)
    {
        if (!in || in->iSubItem != 0 || in->iItem < 0)
            return refuse<LRESULT>(-1);
        LvItem it;
        it.cells.resize(1);
        if (in->mask & LVIF_TEXT)
            storeText(it, 0, in->pszText);
        if (in->mask & LVIF_IMAGE)
            it.image = in->iImage;
        if (in->mask & LVIF_PARAM)
            it.lParam = in->lParam;
        if (in->mask & LVIF_INDENT)
            it.indent = in->iIndent;
        UINT initial = 0, initialMask = 0;
        if (in->mask & LVIF_STATE) {
            it.state = in->state & in->stateMask & ~kSelectionBits;
            initial = in->state;
            initialMask = in->stateMask & kSelectionBits;
        }
        int index = std::min(in->iItem, count());
        if ((style() & (LVS_SORTASCENDING | LVS_SORTDESCENDING)) && !it.cells[0].callback)
            index = sortedPosition(it.cells[0].text);
        m_items.insert(m_items.begin() + index, std::move(it));
        if (m_mark >= index)
            ++m_mark;
        if (m_hot >= index)
            ++m_hot;
        NMLISTVIEW nm{};
        nm.iItem = index;
        notifyParent(m_hwnd, LVN_INSERTITEM, &nm.hdr);
        if (!IsWindow(m_hwnd) || !validItem(index))
            return -1;
        if (initialMask)
            changeState(index, initial, initialMask);
        invalidateFrom(index);
        updateScrollBars();
        return index;
    }

    LRESULT setItem(const LVITEMA* in)
    {
        if (!in || !validItem(in->iItem) || !validSubItem(in->iSubItem))
            return refuse<LRESULT>(FALSE);
        int i = in->iItem;
        if (in->mask & LVIF_TEXT)
            storeText(item(i), in->iSubItem, in->pszText);
        if (in->iSubItem == 0) {
            if (in->mask & LVIF_IMAGE)
                item(i).image = in->iImage;
            if (in->mask & LVIF_PARAM)
                item(i).lParam = in->lParam;
            if (in->mask & LVIF_INDENT)
                item(i).indent = in->iIndent;
            if (in->mask & LVIF_STATE)
                changeState(i, in->state, in->stateMask);
        }
        if (validItem(i))
            invalidateItem(i);
        return TRUE;
    }

    LRESULT getItem(LVITEMA* out)
    {
        if (!out || !validItem(out->iItem) || !validSubItem(out->iSubItem))
            return refuse<LRESULT>(FALSE);
        const int i = out->iItem;
        if (out->mask & LVIF_TEXT)
            copyText(cellText(i, out->iSubItem), out->pszText, out->cchTextMax);
        if (!validItem(i))
            return FALSE; // the parent deleted it while answering
        const LvItem& it = item(i);
        if (out->mask & LVIF_IMAGE)
            out->iImage = it.image;
        if (out->mask & LVIF_PARAM)
            out->lParam = it.lParam;
        if (out->mask & LVIF_STATE)
            out->state = it.state & out->stateMask;
        if (out->mask & LVIF_INDENT)
            out->iIndent = it.indent;
        return TRUE;
    }

    LRESULT deleteItem(int i)
    {
        if (!validItem(i))
            return refuse<LRESULT>(FALSE);
        NMLISTVIEW nm{};
        nm.iItem = i;
        nm.lParam = item(i).lParam;
        notifyParent(m_hwnd, LVN_DELETEITEM, &nm.hdr);
        if (!IsWindow(m_hwnd) || !validItem(i))
            return FALSE;
        invalidateFrom(i);
        m_items.erase(m_items.begin() + i);
        for (int* index : {&m_mark, &m_hot}) {
            if (*index == i)
                *index = -1;
            else if (*index > i)
                --*index;
        }
        updateScrollBars();
        return TRUE;
    }

    // A parent that answers LVN_DELETEALLITEMS with TRUE does not want one
    // LVN_DELETEITEM per item.
    void deleteAll()
    {
        if (m_items.empty())
            return;
        NMLISTVIEW nm{};
        nm.iItem = -1;
        bool each = !notifyParent(m_hwnd, LVN_DELETEALLITEMS, &nm.hdr);
        while (each && !m_items.empty()) {
            NMLISTVIEW one{};
            one.iItem = 0;
            one.lParam = m_items.front().lParam;
            notifyParent(m_hwnd, LVN_DELETEITEM, &one.hdr);
            if (!m_items.empty())
                m_items.erase(m_items.begin());
        }
        m_items.clear();
        m_mark = m_hot = -1;
        m_top = 0;
        InvalidateRect(m_hwnd, nullptr, TRUE);
        updateScrollBars();
    }

    // ---- state and selection ----

    bool notifyChange(UINT code, int i, UINT newState, UINT oldState)
    {
        NMLISTVIEW nm{};
        nm.iItem = i;
        nm.uNewState = newState;
        nm.uOldState = oldState;
        nm.uChanged = LVIF_STATE;
        nm.lParam = item(i).lParam;
        return notifyParent(m_hwnd, code, &nm.hdr) != 0;
    }

    // Changes the masked state bits of one item; the parent may refuse.
    // Keeps one focused item, and one selected item with LVS_SINGLESEL.
    bool changeState(int i, UINT state, UINT mask)
    {
        if (!validItem(i))
            return false;
        UINT old = item(i).state;
        UINT neu = (old & ~mask) | (state & mask);
        if (neu == old)
            return true;
        if (notifyChange(LVN_ITEMCHANGING, i, neu, old) || !validItem(i))
            return false;
        if ((neu & LVIS_FOCUSED) && !(old & LVIS_FOCUSED)) {
            int f = focusedItem();
            if (f >= 0 && f != i)
                changeState(f, 0, LVIS_FOCUSED);
        }
        if (singleSel() && (neu & LVIS_SELECTED) && !(old & LVIS_SELECTED)) {
            for (int k = 0; k < count(); ++k)
                if (k != i && (item(k).state & LVIS_SELECTED))
                    changeState(k, 0, LVIS_SELECTED);
        }
        if (!validItem(i))
            return false;
        old = item(i).state;
        neu = (old & ~mask) | (state & mask);
        item(i).state = neu;
        invalidateItem(i);
        notifyChange(LVN_ITEMCHANGED, i, neu, old);
        return true;
    }

    int focusedItem() const
    {
        for (int i = 0; i < count(); ++i)
            if (item(i).state & LVIS_FOCUSED)
                return i;
        return -1;
    }

    // Selects exactly the items in [first, last] (and keeps the others when
    // adding), then focuses `focus`.
    void selectRange(int first, int last, bool adding, int focus)
    {
        if (first > last)
            std::swap(first, last);
        for (int k = 0; k < count(); ++k)
            if ((k < first || k > last) && !adding && (item(k).state & LVIS_SELECTED))
                changeState(k, 0, LVIS_SELECTED);
        for (int k = first; k <= last && k < count(); ++k)
            changeState(k, LVIS_SELECTED, LVIS_SELECTED);
        if (validItem(focus))
            changeState(focus, LVIS_FOCUSED, LVIS_FOCUSED);
    }

    // What a click or a navigation key does to the selection.
    void userSelect(int i, bool ctrl, bool shift, bool toggle)
    {
        if (singleSel())
            ctrl = shift = toggle = false;
        if (!validItem(i)) {
            if (!ctrl && !shift)
                for (int k = 0; k < count(); ++k)
                    changeState(k, 0, LVIS_SELECTED);
            return;
        }
        if (shift) {
            int anchor = validItem(m_mark) ? m_mark : i;
            selectRange(anchor, i, ctrl, i);
            return;
        }
        if (ctrl) {
            if (toggle)
                changeState(i, item(i).state ^ LVIS_SELECTED, LVIS_SELECTED);
            if (validItem(i))
                changeState(i, LVIS_FOCUSED, LVIS_FOCUSED);
            m_mark = i;
            return;
        }
        selectRange(i, i, false, i);
        m_mark = i;
    }

    int nextItem(int start, UINT flags) const
    {
        if (start < -1 || start >= count())
            return -1;
        UINT need = flags & (LVNI_SELECTED | LVNI_FOCUSED | LVNI_CUT | LVNI_DROPHILITED);
        auto matches = [&](int k) { return (item(k).state & need) == need; };
        int step = 0;
        if (flags & LVNI_BELOW)
            step = perRow();
        else if (flags & LVNI_ABOVE)
            step = -perRow();
        else if (flags & LVNI_TORIGHT)
            step = 1;
        else if (flags & LVNI_TOLEFT)
            step = -1;
        if (step) {
            if (start < 0)
                return -1;
            for (int k = start + step; k >= 0 && k < count(); k += step)
                if (matches(k))
                    return k;
            return -1;
        }
        for (int k = start + 1; k < count(); ++k)
            if (matches(k))
                return k;
        return -1;
    }

    // ---- geometry ----

    ItemGeometry geometry(int i) const
    {
        ItemGeometry g;
        if (isReport()) {
            std::vector<Span> spans = columnSpans();
            int y = itemsTop() + (i - m_top) * m_rowHeight;
            int left = spans.empty() ? -m_scrollX : spans[0].left;
            int right = left;
            for (const Span& s : spans) {
                left = std::min(left, s.left);
                right = std::max(right, s.right);
            }
            g.bounds = RECT{left, y, right, y + m_rowHeight};
            int c0left = spans.empty() ? left : spans[0].left;
            int c0right = spans.empty() ? left : spans[0].right;
            int x = c0left + kTextPad + item(i).indent * std::max(1, static_cast<int>(imageSize(m_smallImages).cx));
            SIZE icon = imageSize(m_smallImages);
            g.icon = RECT{x, y, x + icon.cx, y + m_rowHeight};
            g.label = RECT{std::min(static_cast<int>(g.icon.right), c0right), y, c0right, y + m_rowHeight};
            return g;
        }
        SIZE cell = cellSize();
        int per = perRow();
        int x = (i % per) * cell.cx;
        int y = (i / per - m_top) * cell.cy;
        g.bounds = RECT{x, y, x + cell.cx, y + cell.cy};
        SIZE icon = imageSize(viewImages());
        if (view() == LVS_ICON) {
            int ix = x + (cell.cx - icon.cx) / 2;
            g.icon = RECT{ix, y + 2, ix + icon.cx, y + 2 + icon.cy};
            g.label = RECT{x + 1, g.icon.bottom + 2, x + cell.cx - 1, y + cell.cy};
        } else {
            g.icon = RECT{x + kTextPad, y, x + kTextPad + icon.cx, y + cell.cy};
            g.label = RECT{g.icon.right, y, x + cell.cx, y + cell.cy};
        }
        return g;
    }

    // The part of the label that the text covers: what selection highlights.
    RECT textBox(int i, const ItemGeometry& g)
    {
        RECT r = g.label;
        int w = textWidth(cellText(i, 0)) + 2 * kTextPad;
        if (view() == LVS_ICON) {
            int cw = std::min<int>(w, r.right - r.left);
            r.left += (r.right - r.left - cw) / 2;
            r.right = r.left + cw;
            r.bottom = std::min<int>(r.bottom, r.top + m_textHeight + 2);
        } else {
            r.right = std::min<int>(r.right, r.left + w);
        }
        return r;
    }

    RECT selectBounds(int i, const ItemGeometry& g)
    {
        if (fullRow())
            return g.bounds;
        RECT t = textBox(i, g), u;
        if (g.icon.right > g.icon.left)
            UnionRect(&u, &t, &g.icon);
        else
            u = t;
        return u;
    }

    int hitTest(POINT pt, UINT& flags, int& sub)
    {
        RECT rc = client();
        flags = 0;
        sub = 0;
        if (pt.y < 0)
            flags |= LVHT_ABOVE;
        if (pt.y >= rc.bottom)
            flags |= LVHT_BELOW;
        if (pt.x < 0)
            flags |= LVHT_TOLEFT;
        if (pt.x >= rc.right)
            flags |= LVHT_TORIGHT;
        if (flags)
            return -1;
        flags = LVHT_NOWHERE;
        int i = -1;
        if (isReport()) {
            if (pt.y < itemsTop())
                return -1;
            i = m_top + (pt.y - itemsTop()) / m_rowHeight;
        } else {
            SIZE cell = cellSize();
            int col = pt.x / cell.cx;
            if (col >= perRow())
                return -1;
            i = (m_top + pt.y / cell.cy) * perRow() + col;
        }
        if (!validItem(i))
            return -1;
        ItemGeometry g = geometry(i);
        if (!PtInRect(&g.bounds, pt))
            return -1;
        if (isReport()) {
            std::vector<Span> spans = columnSpans();
            for (size_t c = 0; c < spans.size(); ++c)
                if (pt.x >= spans[c].left && pt.x < spans[c].right)
                    sub = m_columns[c].subItem;
            bool inFirst = !spans.empty() && pt.x >= spans[0].left && pt.x < spans[0].right;
            if (!inFirst && !fullRow())
                return -1;
        }
        flags = PtInRect(&g.icon, pt) ? LVHT_ONITEMICON : LVHT_ONITEMLABEL;
        if (!isReport()) {
            RECT sel = selectBounds(i, g);
            if (!PtInRect(&sel, pt)) {
                flags = LVHT_NOWHERE;
                return -1;
            }
        }
        return i;
    }

    LRESULT itemRectMessage(int i, RECT* r)
    {
        if (!r || !validItem(i))
            return refuse<LRESULT>(FALSE);
        ItemGeometry g = geometry(i);
        switch (r->left) {
        case LVIR_BOUNDS: *r = g.bounds; return TRUE;
        case LVIR_ICON: *r = g.icon; return TRUE;
        case LVIR_LABEL: *r = view() == LVS_ICON ? textBox(i, g) : g.label; return TRUE;
        case LVIR_SELECTBOUNDS: *r = selectBounds(i, g); return TRUE;
        }
        return refuse<LRESULT>(FALSE);
    }

    LRESULT subItemRectMessage(int i, RECT* r)
    {
        if (!r || !validItem(i) || !isReport())
            return refuse<LRESULT>(FALSE);
        int sub = r->top;
        ItemGeometry g = geometry(i);
        if (sub == 0 && r->left == LVIR_BOUNDS) {
            *r = g.bounds;
            return TRUE;
        }
        std::vector<Span> spans = columnSpans();
        for (size_t c = 0; c < spans.size(); ++c) {
            if (m_columns[c].subItem != sub)
                continue;
            if (r->left != LVIR_BOUNDS && r->left != LVIR_ICON && r->left != LVIR_LABEL)
                return refuse<LRESULT>(FALSE);
            *r = RECT{spans[c].left, g.bounds.top, spans[c].right, g.bounds.bottom};
            return TRUE;
        }
        return refuse<LRESULT>(FALSE);
    }

    // ---- scrolling ----

    void updateScrollBars()
    {
        if (m_updatingBars || (style() & LVS_NOSCROLL))
            return;
        m_updatingBars = true;
        // Showing one bar shrinks the client area, which may call for the other.
        for (int pass = 0; pass < 3; ++pass) {
            RECT before = client();
            SCROLLINFO v{sizeof v, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, totalRows() - 1),
                         static_cast<UINT>(std::max(1, rowsPerPage())), 0, 0};
            m_top = std::clamp(m_top, 0, maxTop());
            v.nPos = m_top;
            if (count() == 0)
                v.nPage = 1;
            SetScrollInfo(m_hwnd, SB_VERT, &v, TRUE);
            int width = isReport() ? totalColumnWidth() : 0;
            SCROLLINFO h{sizeof h, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, width - 1),
                         static_cast<UINT>(std::max<LONG>(1, client().right)), 0, 0};
            m_scrollX = std::clamp(m_scrollX, 0, std::max(0, width - static_cast<int>(client().right)));
            h.nPos = m_scrollX;
            if (width == 0)
                h.nPage = 1;
            SetScrollInfo(m_hwnd, SB_HORZ, &h, TRUE);
            RECT after = client();
            if (EqualRect(&before, &after))
                break;
            placeHeader();
        }
        m_updatingBars = false;
    }

    void placeHeader()
    {
        if (!m_header || !headerShown())
            return;
        RECT rc = client();
        SetWindowPos(m_header, nullptr, -m_scrollX, 0, rc.right + m_scrollX, m_headerHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void setTop(int top)
    {
        top = std::clamp(top, 0, maxTop());
        if (top == m_top)
            return;
        m_top = top;
        RECT rc = client();
        rc.top = itemsTop();
        InvalidateRect(m_hwnd, &rc, TRUE);
        SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, m_top, 0};
        SetScrollInfo(m_hwnd, SB_VERT, &si, TRUE);
    }

    void setScrollX(int x)
    {
        int width = isReport() ? totalColumnWidth() : 0;
        x = std::clamp(x, 0, std::max(0, width - static_cast<int>(client().right)));
        if (x == m_scrollX)
            return;
        m_scrollX = x;
        placeHeader();
        InvalidateRect(m_hwnd, nullptr, TRUE);
        SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, m_scrollX, 0};
        SetScrollInfo(m_hwnd, SB_HORZ, &si, TRUE);
    }

    void vscroll(UINT code)
    {
        setTop(scrollTarget(m_hwnd, SB_VERT, code, m_top, 1, std::max(1, rowsPerPage()), maxTop()));
    }

    void hscroll(UINT code)
    {
        setScrollX(scrollTarget(m_hwnd, SB_HORZ, code, m_scrollX, kHScrollLine, std::max<int>(1, client().right), 1 << 30));
    }

    LRESULT scrollBy(int dx, int dy)
    {
        int rowH = std::max(1, static_cast<int>(cellSize().cy));
        setTop(m_top + (dy >= 0 ? (dy + rowH - 1) / rowH : -((-dy + rowH - 1) / rowH)));
        if (isReport())
            setScrollX(m_scrollX + dx);
        return TRUE;
    }

    void ensureVisible(int i, bool partialOk)
    {
        int row = i / perRow();
        int page = std::max(1, rowsPerPage());
        if (row < m_top)
            setTop(row);
        else if (row >= m_top + page) {
            // A row cut off at the bottom is visible enough when partial is allowed.
            int bottom = itemsTop() + (row - m_top + 1) * static_cast<int>(cellSize().cy);
            bool partly = itemsTop() + (row - m_top) * static_cast<int>(cellSize().cy) < client().bottom;
            if (!(partialOk && partly && bottom > 0))
                setTop(row - page + 1);
        }
    }

    // ---- input ----

    void notifyActivate(UINT code, int i, int sub, POINT pt, UINT keyFlags)
    {
        NMITEMACTIVATE nm{};
        nm.iItem = i;
        nm.iSubItem = sub;
        nm.ptAction = pt;
        nm.uKeyFlags = keyFlags;
        if (validItem(i))
            nm.lParam = item(i).lParam;
        notifyParent(m_hwnd, code, &nm.hdr);
    }

    void mouseDown(UINT msg, WPARAM keys, POINT pt)
    {
        if (GetFocus() != m_hwnd)
            SetFocus(m_hwnd);
        if (!IsWindow(m_hwnd))
            return;
        UINT flags = 0;
        int sub = 0;
        int i = hitTest(pt, flags, sub);
        bool ctrl = (keys & MK_CONTROL) != 0, shift = (keys & MK_SHIFT) != 0;
        UINT keyFlags = (ctrl ? LVKF_CONTROL : 0) | (shift ? LVKF_SHIFT : 0) | (GetKeyState(VK_MENU) < 0 ? LVKF_ALT : 0);
        HWND self = m_hwnd;
        if (msg == WM_RBUTTONDOWN) {
            // A right click on an unselected item makes it the selection.
            if (i >= 0 && !(item(i).state & LVIS_SELECTED))
                userSelect(i, false, false, false);
            if (IsWindow(self))
                notifyActivate(NM_RCLICK, i, sub, pt, keyFlags);
            return;
        }
        if (msg == WM_LBUTTONDBLCLK) {
            // The second press selects like a click, without toggling back.
            userSelect(i, ctrl, shift, false);
            if (!IsWindow(self))
                return;
            notifyActivate(NM_DBLCLK, i, sub, pt, keyFlags);
            if (IsWindow(self) && validItem(i))
                notifyActivate(LVN_ITEMACTIVATE, i, sub, pt, keyFlags);
            return;
        }
        userSelect(i, ctrl, shift, true);
        if (IsWindow(self))
            notifyActivate(NM_CLICK, i, sub, pt, keyFlags);
    }

    void keyDown(UINT vk, LPARAM lp)
    {
        NMLVKEYDOWN kd{};
        kd.wVKey = static_cast<WORD>(vk);
        kd.flags = static_cast<UINT>(HIWORD(lp));
        HWND self = m_hwnd;
        notifyParent(m_hwnd, LVN_KEYDOWN, &kd.hdr);
        if (!IsWindow(self) || count() == 0)
            return;
        int focus = focusedItem();
        int cur = focus >= 0 ? focus : 0;
        int per = perRow();
        int page = std::max(1, rowsPerPage()) * per;
        int target = -1;
        switch (vk) {
        case VK_UP: target = focus < 0 ? 0 : cur - per; break;
        case VK_DOWN: target = focus < 0 ? 0 : cur + per; break;
        case VK_LEFT:
            if (isReport()) {
                setScrollX(m_scrollX - kHScrollLine);
                return;
            }
            target = cur - 1;
            break;
        case VK_RIGHT:
            if (isReport()) {
                setScrollX(m_scrollX + kHScrollLine);
                return;
            }
            target = cur + 1;
            break;
        case VK_HOME: target = 0; break;
        case VK_END: target = count() - 1; break;
        case VK_PRIOR: {
            // First to the top of the page, then a page further, keeping one
            // row of the old page in view.
            int topItem = m_top * per;
            target = cur > topItem ? topItem : cur - std::max(per, page - per);
            break;
        }
        case VK_NEXT: {
            int bottomItem = (m_top + std::max(1, rowsPerPage())) * per - 1;
            target = cur < bottomItem ? bottomItem : cur + std::max(per, page - per);
            break;
        }
        case VK_SPACE: {
            bool ctrl = GetKeyState(VK_CONTROL) < 0;
            userSelect(cur, ctrl, false, ctrl);
            return;
        }
        case VK_RETURN: {
            NMHDR nm{};
            notifyParent(m_hwnd, NM_RETURN, &nm);
            if (IsWindow(self) && focus >= 0)
                notifyActivate(LVN_ITEMACTIVATE, focus, 0, POINT{0, 0}, 0);
            return;
        }
        default: return;
        }
        target = std::clamp(target, 0, count() - 1);
        bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
        if (ctrl && !shift && !singleSel())
            changeState(target, LVIS_FOCUSED, LVIS_FOCUSED); // moves the focus, keeps the selection
        else
            userSelect(target, false, shift, false);
        if (IsWindow(self) && validItem(target))
            ensureVisible(target, false);
    }

    // ---- painting ----

    void invalidateItem(int i)
    {
        if (!validItem(i))
            return;
        RECT r = geometry(i).bounds;
        if (isReport()) {
            r.left = 0;
            r.right = client().right;
        }
        InflateRect(&r, 1, 1); // focus rectangle and grid lines touch the edge
        InvalidateRect(m_hwnd, &r, TRUE);
    }

    // Items at and after i move; repaint from its row down.
    void invalidateFrom(int i)
    {
        RECT rc = client();
        RECT r = validItem(i) ? geometry(i).bounds : RECT{0, itemsTop(), rc.right, rc.bottom};
        rc.top = std::max(static_cast<LONG>(itemsTop()), isReport() ? r.top : r.top - 1);
        InvalidateRect(m_hwnd, &rc, TRUE);
    }

    static void fill(HDC dc, const RECT& r, COLORREF color)
    {
        HBRUSH b = CreateSolidBrush(color);
        FillRect(dc, &r, b);
        DeleteObject(b);
    }

    void drawImage(HDC dc, HIMAGELIST list, int image, const RECT& box)
    {
        SIZE sz = imageSize(list);
        if (!sz.cx || image < 0)
            return;
        int y = box.top + (box.bottom - box.top - sz.cy) / 2;
        ImageList_Draw(list, image, dc, box.left, y, ILD_TRANSPARENT);
    }

    void paintItem(HDC dc, int i)
    {
        ItemGeometry g = geometry(i);
        const UINT state = item(i).state;
        bool selected = (state & LVIS_SELECTED) && (m_focused || (style() & LVS_SHOWSELALWAYS));
        bool enabled = IsWindowEnabled(m_hwnd) != FALSE;
        COLORREF selBk = m_focused ? GetSysColor(COLOR_HIGHLIGHT) : GetSysColor(COLOR_3DFACE);
        COLORREF selText = m_focused ? GetSysColor(COLOR_HIGHLIGHTTEXT) : GetSysColor(COLOR_WINDOWTEXT);
        COLORREF text = enabled ? m_textColor : GetSysColor(COLOR_GRAYTEXT);
        RECT box = textBox(i, g);
        if (selected)
            fill(dc, fullRow() ? g.bounds : box, selBk);
        else if (m_textBkColor != CLR_NONE && m_textBkColor != m_bkColor)
            fill(dc, box, m_textBkColor);
        drawImage(dc, viewImages(), item(i).image, g.icon);
        const UINT single = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
        RECT label = box;
        InflateRect(&label, -kTextPad, 0);
        if (view() == LVS_ICON)
            drawText(dc, m_font.get(), cellText(i, 0), label, DT_CENTER | single, selected ? selText : text);
        else
            drawText(dc, m_font.get(), cellText(i, 0), label, DT_LEFT | single, selected ? selText : text);
        if (isReport()) {
            std::vector<Span> spans = columnSpans();
            for (size_t c = 1; c < spans.size(); ++c) {
                RECT cell{spans[c].left + kCellPad, g.bounds.top, spans[c].right - kCellPad, g.bounds.bottom};
                if (cell.right <= cell.left)
                    continue;
                int just = m_columns[c].fmt & LVCFMT_JUSTIFYMASK;
                UINT fmt = just == LVCFMT_RIGHT ? DT_RIGHT : just == LVCFMT_CENTER ? DT_CENTER : DT_LEFT;
                drawText(dc, m_font.get(), cellText(i, m_columns[c].subItem), cell, fmt | single,
                         selected && fullRow() ? selText : text);
            }
        }
        if (m_focused && (state & LVIS_FOCUSED)) {
            RECT f = selectBounds(i, g);
            if (!fullRow() && g.icon.right > g.icon.left)
                f = box;
            DrawFocusRect(dc, &f);
        }
    }

    void paintGrid(HDC dc, const RECT& area)
    {
        HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DFACE));
        HGDIOBJ old = SelectObject(dc, pen);
        for (int y = area.top + m_rowHeight - 1; y < area.bottom; y += m_rowHeight) {
            MoveToEx(dc, area.left, y, nullptr);
            LineTo(dc, area.right, y);
        }
        for (const Span& s : columnSpans()) {
            MoveToEx(dc, s.right - 1, area.top, nullptr);
            LineTo(dc, s.right - 1, area.bottom);
        }
        SelectObject(dc, old);
        DeleteObject(pen);
    }

    void paint(HDC dc, const RECT& dirty)
    {
        RECT rc = client();
        rc.top = itemsTop(); // the header paints itself
        RECT area;
        if (!IntersectRect(&area, &rc, &dirty))
            return;
        if (m_bkColor != CLR_NONE)
            fill(dc, area, m_bkColor);
        int per = perRow();
        int rowH = std::max(1, static_cast<int>(cellSize().cy));
        int firstRow = m_top + std::max(0, static_cast<int>(area.top - rc.top) / rowH);
        int lastRow = m_top + static_cast<int>(area.bottom - rc.top) / rowH;
        for (int i = firstRow * per; i < count() && i < (lastRow + 1) * per; ++i)
            paintItem(dc, i);
        if (isReport() && (m_exStyle & LVS_EX_GRIDLINES))
            paintGrid(dc, rc);
    }

    HWND m_hwnd;
    HWND m_header = nullptr;
    std::vector<LvItem> m_items;
    std::vector<LvColumn> m_columns;
    HIMAGELIST m_normalImages = nullptr, m_smallImages = nullptr, m_stateImages = nullptr;
    COLORREF m_bkColor = 0, m_textColor = 0, m_textBkColor = 0;
    DWORD m_exStyle = 0;
    FontHolder m_font;
    int m_textHeight = 12, m_rowHeight = 16, m_headerHeight = 0;
    int m_listCellWidth = kListCellWidth;
    int m_top = 0;     // first visible row
    int m_scrollX = 0; // report view: pixels scrolled to the left
    int m_wheel = 0;   // wheel delta short of a notch
    int m_mark = -1;   // anchor of shift selections
    int m_hot = -1;
    bool m_focused = false;
    bool m_updatingBars = false;
};

} // namespace

void registerListView()
{
    registerControlClass(WC_LISTVIEWA, controlProc<ListView>, CS_DBLCLKS);
}

} // namespace vk::comctl
