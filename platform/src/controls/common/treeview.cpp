// "SysTreeView32": a hierarchy of labelled items that expand and collapse,
// with lines and +/- buttons, one selected item (the caret), scrolling and
// the parent's notifications. Items are handed out as HTREEITEM values that
// are looked up in a table, so a stale or made-up handle is refused.
#include "controls/common/control_base.h"
#include "core/last_error.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace vk::comctl {
namespace {

constexpr int kDefaultIndent = 19;
constexpr int kMinIndent = 8;
constexpr int kButtonSize = 9; // the +/- box
constexpr int kTextPad = 2;
constexpr int kWheelRows = 3;
constexpr int kHScrollLine = 10;
constexpr int kImageGap = 3; // between an item's image and its label

struct Node {
    ULONG_PTR id = 0;
    Node* parent = nullptr;
    Node* first = nullptr; // children
    Node* last = nullptr;
    Node* prev = nullptr; // siblings
    Node* next = nullptr;
    std::string text;
    bool textCallback = false;
    int image = 0, selectedImage = 0;
    int children = 0; // as TVIF_CHILDREN gave it
    bool childrenGiven = false;
    UINT state = 0;
    LPARAM lParam = 0;
    int textWidth = -1; // cached; -1 when unknown
    int depth = 0;
};

bool isSpecial(HTREEITEM h)
{
    return h == TVI_ROOT || h == TVI_FIRST || h == TVI_LAST || h == TVI_SORT;
}

class TreeView {
public:
    TreeView(HWND hwnd, const CREATESTRUCTA&) : m_hwnd(hwnd)
    {
        // Handles start at a per-control, odd-looking base so small numbers
        // and other controls' handles do not name an item here.
        m_nextId = 0x5A0000 + ((reinterpret_cast<ULONG_PTR>(hwnd) & 0xFFF) << 12);
    }

    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp)
    {
        switch (msg) {
        case WM_CREATE:
            m_bkColor = CLR_NONE;
            m_textColor = CLR_NONE;
            recalcMetrics();
            return 0;
        case WM_DESTROY:
            deleteItem(nullptr);
            return 0;
        case WM_SIZE:
            updateScrollBars();
            return 0;
        case WM_STYLECHANGED:
            InvalidateRect(m_hwnd, nullptr, TRUE);
            updateScrollBars();
            return 0;
        case WM_SETFONT:
            m_font.font = reinterpret_cast<HFONT>(wp);
            for (auto& kv : m_nodes)
                kv.second->textWidth = -1;
            recalcMetrics();
            updateScrollBars();
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
            invalidateNode(m_caret);
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
            RECT all = client();
            if (dc)
                paint(dc, wp ? all : ps.rcPaint);
            if (!wp)
                EndPaint(m_hwnd, &ps);
            return 0;
        }
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
            mouseDown(msg, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            return 0;
        case WM_KEYDOWN:
            keyDown(static_cast<UINT>(wp), lp);
            return 0;

        case TVM_INSERTITEMA:
            return reinterpret_cast<LRESULT>(
                handleOf(insert(userPointer<const TVINSERTSTRUCTA>(static_cast<UINT_PTR>(lp)))));
        case TVM_DELETEITEM: {
            HTREEITEM h = reinterpret_cast<HTREEITEM>(lp);
            if (!h || h == TVI_ROOT) {
                deleteItem(nullptr);
                return TRUE;
            }
            Node* n = find(h);
            if (!n)
                return FALSE;
            deleteItem(n);
            return TRUE;
        }
        case TVM_EXPAND: {
            Node* n = find(reinterpret_cast<HTREEITEM>(lp));
            return n ? expand(n, static_cast<UINT>(wp), false) : FALSE;
        }
        case TVM_GETNEXTITEM:
            return reinterpret_cast<LRESULT>(handleOf(nextItem(static_cast<UINT>(wp), reinterpret_cast<HTREEITEM>(lp))));
        case TVM_SELECTITEM:
            return selectMessage(static_cast<UINT>(wp), reinterpret_cast<HTREEITEM>(lp));
        case TVM_GETITEMA:
            return getItem(userPointer<TVITEMA>(static_cast<UINT_PTR>(lp)));
        case TVM_SETITEMA:
            return setItem(userPointer<const TVITEMA>(static_cast<UINT_PTR>(lp)));
        case TVM_GETITEMSTATE: {
            Node* n = find(reinterpret_cast<HTREEITEM>(wp));
            return n ? (n->state & static_cast<UINT>(lp)) : 0;
        }
        case TVM_GETCOUNT:
            return static_cast<LRESULT>(m_nodes.size());
        case TVM_GETITEMRECT:
            return itemRectMessage(wp != 0, userPointer<RECT>(static_cast<UINT_PTR>(lp)));
        case TVM_HITTEST: {
            auto* info = userPointer<TVHITTESTINFO>(static_cast<UINT_PTR>(lp));
            if (!info)
                return 0;
            info->hItem = handleOf(hitTest(info->pt, info->flags));
            return reinterpret_cast<LRESULT>(info->hItem);
        }
        case TVM_ENSUREVISIBLE: {
            Node* n = find(reinterpret_cast<HTREEITEM>(lp));
            return n ? ensureVisible(n) : FALSE;
        }
        case TVM_GETVISIBLECOUNT:
            return rowsPerPage();
        case TVM_GETINDENT:
            return m_indent;
        case TVM_SETINDENT:
            m_indent = std::max(kMinIndent, static_cast<int>(std::min<WPARAM>(wp, 1000)));
            updateScrollBars();
            InvalidateRect(m_hwnd, nullptr, TRUE);
            return 0;
        case TVM_GETITEMHEIGHT:
            return m_itemHeight;
        case TVM_SETITEMHEIGHT: {
            int old = m_itemHeight;
            int h = static_cast<int>(static_cast<short>(LOWORD(wp)));
            m_customHeight = h > 0 ? std::min(h, 1000) : 0;
            recalcMetrics();
            updateScrollBars();
            InvalidateRect(m_hwnd, nullptr, TRUE);
            return old;
        }
        case TVM_SETIMAGELIST: {
            HIMAGELIST* slot = wp == TVSIL_NORMAL ? &m_images : wp == TVSIL_STATE ? &m_stateImages : nullptr;
            if (!slot)
                return 0;
            HIMAGELIST old = *slot;
            *slot = reinterpret_cast<HIMAGELIST>(lp);
            recalcMetrics();
            updateScrollBars();
            InvalidateRect(m_hwnd, nullptr, TRUE);
            return reinterpret_cast<LRESULT>(old);
        }
        case TVM_GETIMAGELIST:
            return reinterpret_cast<LRESULT>(wp == TVSIL_NORMAL ? m_images : wp == TVSIL_STATE ? m_stateImages : nullptr);
        case TVM_SETBKCOLOR: {
            COLORREF old = m_bkColor;
            m_bkColor = static_cast<COLORREF>(lp);
            InvalidateRect(m_hwnd, nullptr, TRUE);
            return static_cast<LRESULT>(static_cast<LONG>(old));
        }
        case TVM_GETBKCOLOR:
            return static_cast<LRESULT>(static_cast<LONG>(m_bkColor));
        case TVM_SETTEXTCOLOR: {
            COLORREF old = m_textColor;
            m_textColor = static_cast<COLORREF>(lp);
            InvalidateRect(m_hwnd, nullptr, TRUE);
            return static_cast<LRESULT>(static_cast<LONG>(old));
        }
        case TVM_GETTEXTCOLOR:
            return static_cast<LRESULT>(static_cast<LONG>(m_textColor));
        case TVM_SORTCHILDREN: {
            Node* parent = nullptr;
            HTREEITEM h = reinterpret_cast<HTREEITEM>(lp);
            if (h && h != TVI_ROOT && !(parent = find(h)))
                return FALSE;
            sortChildren(parent, wp != 0);
            return TRUE;
        }
        case TVM_GETEDITCONTROL:
        case TVM_EDITLABELA:
            return 0; // no in-place label editing
        }
        return DefWindowProcA(m_hwnd, msg, wp, lp);
    }

private:
    DWORD style() const { return static_cast<DWORD>(GetWindowLongA(m_hwnd, GWL_STYLE)); }

    Node* find(HTREEITEM h) const
    {
        if (!h || isSpecial(h))
            return nullptr;
        auto it = m_nodes.find(reinterpret_cast<ULONG_PTR>(h));
        if (it == m_nodes.end()) {
            vk::fail(ERROR_INVALID_HANDLE); // stale or made up
            return nullptr;
        }
        return it->second.get();
    }
    static HTREEITEM handleOf(const Node* n) { return n ? reinterpret_cast<HTREEITEM>(n->id) : nullptr; }

    Node* firstChildOf(Node* parent) const { return parent ? parent->first : m_rootFirst; }

    bool hasChildren(Node* n)
    {
        if (!n->childrenGiven)
            return n->first != nullptr;
        if (n->children != I_CHILDRENCALLBACK)
            return n->children != 0;
        NMTVDISPINFOA di{};
        di.item.mask = TVIF_CHILDREN;
        di.item.hItem = handleOf(n);
        di.item.lParam = n->lParam;
        di.item.state = n->state;
        notifyParent(m_hwnd, TVN_GETDISPINFOA, &di.hdr);
        return di.item.cChildren != 0;
    }

    bool expanded(const Node* n) const { return (n->state & TVIS_EXPANDED) != 0; }

    RECT client() const
    {
        RECT rc;
        GetClientRect(m_hwnd, &rc);
        return rc;
    }

    void recalcMetrics()
    {
        HDC dc = GetDC(m_hwnd);
        m_textHeight = textExtent(dc, m_font.get(), "Ag").cy;
        ReleaseDC(m_hwnd, dc);
        int cx = 0, cy = 0;
        if (m_images)
            ImageList_GetIconSize(m_images, &cx, &cy);
        m_imageWidth = m_images ? cx : 0;
        m_itemHeight = m_customHeight ? m_customHeight : std::max(m_textHeight + 4, cy + 1);
        m_rowsDirty = true;
    }

    std::string textOf(Node* n)
    {
        if (!n->textCallback)
            return n->text;
        char buf[512] = {};
        NMTVDISPINFOA di{};
        di.item.mask = TVIF_TEXT;
        di.item.hItem = handleOf(n);
        di.item.lParam = n->lParam;
        di.item.state = n->state;
        di.item.pszText = buf;
        di.item.cchTextMax = sizeof buf;
        notifyParent(m_hwnd, TVN_GETDISPINFOA, &di.hdr);
        if (!di.item.pszText || di.item.pszText == LPSTR_TEXTCALLBACKA)
            return "";
        return std::string(di.item.pszText, strnlen(di.item.pszText, sizeof buf - 1));
    }

    int textWidth(Node* n)
    {
        if (n->textWidth >= 0 && !n->textCallback)
            return n->textWidth;
        HDC dc = GetDC(m_hwnd);
        int w = textExtent(dc, m_font.get(), textOf(n)).cx;
        ReleaseDC(m_hwnd, dc);
        n->textWidth = w;
        return w;
    }

    // ---- structure ----

    void link(Node* n, Node* parent, Node* after)
    {
        n->parent = parent;
        Node*& first = parent ? parent->first : m_rootFirst;
        Node*& last = parent ? parent->last : m_rootLast;
        n->prev = after;
        n->next = after ? after->next : first;
        if (n->next)
            n->next->prev = n;
        else
            last = n;
        if (after)
            after->next = n;
        else
            first = n;
    }

    void unlink(Node* n)
    {
        Node*& first = n->parent ? n->parent->first : m_rootFirst;
        Node*& last = n->parent ? n->parent->last : m_rootLast;
        if (n->prev)
            n->prev->next = n->next;
        else
            first = n->next;
        if (n->next)
            n->next->prev = n->prev;
        else
            last = n->prev;
        n->prev = n->next = nullptr;
    }

    void copyIn(Node& n, const TVITEMA& in)
    {
        if (in.mask & TVIF_TEXT) {
            n.textCallback = in.pszText == LPSTR_TEXTCALLBACKA;
            n.text = in.pszText && !n.textCallback ? in.pszText : "";
            n.textWidth = -1;
        }
        if (in.mask & TVIF_IMAGE)
            n.image = in.iImage;
        if (in.mask & TVIF_SELECTEDIMAGE)
            n.selectedImage = in.iSelectedImage;
        if (in.mask & TVIF_CHILDREN) {
            n.children = in.cChildren;
            n.childrenGiven = true;
        }
        if (in.mask & TVIF_PARAM)
            n.lParam = in.lParam;
        if (in.mask & TVIF_STATE) {
            // The selection belongs to TVM_SELECTITEM; the rest is the caller's.
            UINT mask = in.stateMask & ~TVIS_SELECTED;
            n.state = (n.state & ~mask) | (in.state & mask);
        }
    }

    Node* insert(const TVINSERTSTRUCTA* is)
    {
        if (!is)
            return vk::failWith<Node*>(ERROR_INVALID_PARAMETER, nullptr);
        Node* parent = nullptr;
        if (is->hParent && is->hParent != TVI_ROOT && !(parent = find(is->hParent)))
            return nullptr;
        Node* after = nullptr;
        HTREEITEM where = is->hInsertAfter;
        auto node = std::make_unique<Node>();
        copyIn(*node, is->item);
        if (where == TVI_FIRST) {
            after = nullptr;
        } else if (where == TVI_SORT) {
            // After the last sibling that sorts before or equal to the new text.
            std::string text = node->textCallback ? std::string() : node->text;
            for (Node* s = firstChildOf(parent); s; s = s->next) {
                if (!node->textCallback && !s->textCallback && lstrcmpiA(s->text.c_str(), text.c_str()) > 0)
                    break;
                after = s;
            }
        } else if (where == TVI_LAST || !where) {
            after = parent ? parent->last : m_rootLast;
        } else {
            after = find(where);
            // An item that is not a sibling here: Win32 puts the new one last.
            if (!after || after->parent != parent)
                after = parent ? parent->last : m_rootLast;
        }
        node->id = m_nextId;
        m_nextId += 0x10;
        node->depth = parent ? parent->depth + 1 : 0;
        Node* n = node.get();
        m_nodes.emplace(n->id, std::move(node));
        link(n, parent, after);
        m_rowsDirty = true;
        if (!parent || isShown(n))
            invalidateFrom(n);
        if (parent && !parent->childrenGiven)
            invalidateNode(parent); // its button appears
        updateScrollBars();
        return n;
    }

    // Children go first, so the parent is told about a subtree leaf first
    // and each notification names an item that still exists.
    void deleteItem(Node* n)
    {
        std::vector<Node*> order;
        auto collect = [&](auto&& self, Node* at) -> void {
            for (Node* c = at ? at->first : m_rootFirst; c; c = c->next)
                self(self, c);
            if (at)
                order.push_back(at);
        };
        collect(collect, n);
        if (order.empty())
            return;
        std::vector<ULONG_PTR> ids;
        bool caretGoes = false;
        for (Node* d : order) {
            ids.push_back(d->id);
            caretGoes = caretGoes || d == m_caret;
        }
        if (caretGoes && n) {
            // The caret moves to a neighbour that stays.
            Node* to = n->next ? n->next : n->prev ? n->prev : n->parent;
            setCaret(to, TVC_UNKNOWN);
            if (!find(handleOf(n)))
                return; // the parent deleted it while answering
            for (Node* d : order)
                if (d == m_caret)
                    m_caret = nullptr;
        }
        if (n)
            invalidateFrom(n);
        else
            InvalidateRect(m_hwnd, nullptr, TRUE);
        Node* parent = n ? n->parent : nullptr;
        for (ULONG_PTR id : ids) {
            auto it = m_nodes.find(id);
            if (it == m_nodes.end())
                continue;
            Node* d = it->second.get();
            NMTREEVIEWA nm{};
            nm.itemOld.mask = TVIF_HANDLE | TVIF_PARAM;
            nm.itemOld.hItem = handleOf(d);
            nm.itemOld.lParam = d->lParam;
            notifyParent(m_hwnd, TVN_DELETEITEMA, &nm.hdr);
            it = m_nodes.find(id);
            if (it == m_nodes.end())
                continue;
            d = it->second.get();
            // Children inserted while the parent answered go with it, unannounced.
            while (d->first)
                drop(d->first);
            drop(d);
        }
        if (!n) {
            // Everything goes, including what appeared while notifying.
            while (m_rootFirst)
                drop(m_rootFirst);
            m_top = 0;
        }
        if (parent && find(handleOf(parent)) && !parent->first && !parent->childrenGiven)
            parent->state &= ~TVIS_EXPANDED;
        m_rowsDirty = true;
        updateScrollBars();
    }

    // Forgets an item and its subtree without telling anyone.
    void drop(Node* n)
    {
        while (n->first)
            drop(n->first);
        unlink(n);
        if (n == m_caret)
            m_caret = nullptr;
        if (n == m_dropHilite)
            m_dropHilite = nullptr;
        ULONG_PTR id = n->id;
        m_nodes.erase(id);
        m_rowsDirty = true;
    }

    void sortChildren(Node* parent, bool recurse)
    {
        std::vector<Node*> kids;
        for (Node* c = firstChildOf(parent); c; c = c->next)
            kids.push_back(c);
        std::stable_sort(kids.begin(), kids.end(), [&](Node* a, Node* b) {
            return lstrcmpiA(textOf(a).c_str(), textOf(b).c_str()) < 0;
        });
        for (Node* c : kids)
            unlink(c);
        Node* after = nullptr;
        for (Node* c : kids) {
            link(c, parent, after);
            after = c;
        }
        if (recurse)
            for (Node* c : kids)
                sortChildren(c, true);
        m_rowsDirty = true;
        InvalidateRect(m_hwnd, nullptr, TRUE);
    }

    // ---- visible rows ----

    bool isShown(const Node* n) const
    {
        for (const Node* p = n->parent; p; p = p->parent)
            if (!expanded(p))
                return false;
        return true;
    }

    const std::vector<Node*>& rows()
    {
        if (!m_rowsDirty)
            return m_rows;
        m_rows.clear();
        Node* n = m_rootFirst;
        while (n) {
            m_rows.push_back(n);
            if (expanded(n) && n->first) {
                n = n->first;
                continue;
            }
            while (n && !n->next)
                n = n->parent;
            if (n)
                n = n->next;
        }
        m_rowsDirty = false;
        return m_rows;
    }

    int rowOf(Node* n)
    {
        const auto& r = rows();
        auto it = std::find(r.begin(), r.end(), n);
        return it == r.end() ? -1 : static_cast<int>(it - r.begin());
    }

    int rowsPerPage() const { return std::max(0, static_cast<int>(client().bottom) / std::max(1, m_itemHeight)); }
    int maxTop() { return std::max(0, static_cast<int>(rows().size()) - std::max(1, rowsPerPage())); }

    bool rootColumn() const
    {
        DWORD s = style();
        return (s & TVS_LINESATROOT) && (s & (TVS_HASLINES | TVS_HASBUTTONS));
    }

    struct RowGeometry {
        RECT line{};   // the whole row
        RECT button{}; // empty when the item shows none
        RECT icon{};
        RECT label{};
        int indentLeft = 0; // where the item's own line column starts
    };

    // Where a visible item's parts are, in client coordinates; painting and
    // hit testing both ask for this.
    RowGeometry geometry(Node* n, int row)
    {
        RowGeometry g;
        RECT rc = client();
        int y = (row - m_top) * m_itemHeight;
        g.line = RECT{0, y, rc.right, y + m_itemHeight};
        int columns = n->depth + (rootColumn() ? 1 : 0);
        int x = columns * m_indent - m_scrollX;
        g.indentLeft = x - m_indent;
        bool buttonShown = (style() & TVS_HASBUTTONS) && (n->depth > 0 || rootColumn()) && hasChildren(n);
        if (buttonShown) {
            int cx = g.indentLeft + m_indent / 2, cy = y + m_itemHeight / 2;
            g.button = RECT{cx - kButtonSize / 2, cy - kButtonSize / 2, cx - kButtonSize / 2 + kButtonSize,
                            cy - kButtonSize / 2 + kButtonSize};
        }
        if (m_imageWidth) {
            g.icon = RECT{x, y, x + m_imageWidth, y + m_itemHeight};
            x += m_imageWidth + kImageGap;
        }
        g.label = RECT{x, y, x + textWidth(n) + 2 * kTextPad, y + m_itemHeight};
        return g;
    }

    Node* hitTest(POINT pt, UINT& flags)
    {
        RECT rc = client();
        flags = 0;
        if (pt.y < 0)
            flags |= TVHT_ABOVE;
        if (pt.y >= rc.bottom)
            flags |= TVHT_BELOW;
        if (pt.x < 0)
            flags |= TVHT_TOLEFT;
        if (pt.x >= rc.right)
            flags |= TVHT_TORIGHT;
        if (flags)
            return nullptr;
        int row = m_top + pt.y / std::max(1, m_itemHeight);
        const auto& r = rows();
        if (row < 0 || row >= static_cast<int>(r.size())) {
            flags = TVHT_NOWHERE;
            return nullptr;
        }
        Node* n = r[static_cast<size_t>(row)];
        RowGeometry g = geometry(n, row);
        RECT hitButton = g.button;
        InflateRect(&hitButton, 2, 2); // a small target; be generous
        if (g.button.right > g.button.left && PtInRect(&hitButton, pt))
            flags = TVHT_ONITEMBUTTON;
        else if (PtInRect(&g.icon, pt))
            flags = TVHT_ONITEMICON;
        else if (PtInRect(&g.label, pt))
            flags = TVHT_ONITEMLABEL;
        else if (pt.x < (g.icon.right > g.icon.left ? g.icon.left : g.label.left))
            flags = TVHT_ONITEMINDENT;
        else
            flags = TVHT_ONITEMRIGHT;
        return n;
    }

    LRESULT itemRectMessage(bool textOnly, RECT* r)
    {
        if (!r)
            return vk::failWith<LRESULT>(ERROR_INVALID_PARAMETER, FALSE);
        HTREEITEM h = nullptr;
        std::memcpy(&h, r, sizeof h); // the item arrives in the rectangle itself
        Node* n = find(h);
        if (!n || !isShown(n))
            return FALSE;
        int row = rowOf(n);
        if (row < 0)
            return FALSE;
        RowGeometry g = geometry(n, row);
        *r = textOnly ? g.label : g.line;
        return TRUE;
    }

    // ---- expanding ----

    bool notifyExpand(UINT code, Node* n, UINT action)
    {
        NMTREEVIEWA nm{};
        nm.action = action;
        nm.itemNew.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
        nm.itemNew.hItem = handleOf(n);
        nm.itemNew.state = n->state;
        nm.itemNew.lParam = n->lParam;
        return notifyParent(m_hwnd, code, &nm.hdr) != 0;
    }

    // By the user every expand and collapse is announced; by TVM_EXPAND only
    // until the item has been expanded once.
    LRESULT expand(Node* n, UINT code, bool byUser)
    {
        UINT action = code & (TVE_COLLAPSE | TVE_EXPAND);
        if (action == TVE_TOGGLE)
            action = expanded(n) ? TVE_COLLAPSE : TVE_EXPAND;
        if (action != TVE_COLLAPSE && action != TVE_EXPAND)
            return FALSE;
        bool reset = action == TVE_COLLAPSE && (code & TVE_COLLAPSERESET);
        if (!hasChildren(n))
            return FALSE;
        if (action == TVE_EXPAND && expanded(n))
            return TRUE;
        if (action == TVE_COLLAPSE && !expanded(n) && !reset)
            return FALSE;
        bool announce = byUser || !(n->state & TVIS_EXPANDEDONCE);
        ULONG_PTR id = n->id;
        if (announce && notifyExpand(TVN_ITEMEXPANDINGA, n, action))
            return FALSE;
        n = find(reinterpret_cast<HTREEITEM>(id));
        if (!n)
            return FALSE;
        if (action == TVE_EXPAND) {
            n->state |= TVIS_EXPANDED | TVIS_EXPANDEDONCE;
        } else {
            n->state &= ~TVIS_EXPANDED;
            // The caret cannot stay inside a closed branch.
            for (Node* p = m_caret ? m_caret->parent : nullptr; p; p = p->parent)
                if (p == n) {
                    setCaret(n, TVC_UNKNOWN);
                    break;
                }
            if (reset) {
                n->state &= ~TVIS_EXPANDEDONCE;
                while (find(reinterpret_cast<HTREEITEM>(id)) && n->first)
                    deleteItem(n->first);
                if (!find(reinterpret_cast<HTREEITEM>(id)))
                    return TRUE;
            }
        }
        m_rowsDirty = true;
        invalidateFrom(n);
        updateScrollBars();
        if (announce)
            notifyExpand(TVN_ITEMEXPANDEDA, n, action);
        return TRUE;
    }

    // Opens the branches above n and scrolls it into view; nonzero only when
    // it scrolled without opening anything, as Win32 answers.
    LRESULT ensureVisible(Node* n)
    {
        ULONG_PTR id = n->id;
        bool opened = false;
        std::vector<Node*> above;
        for (Node* p = n->parent; p; p = p->parent)
            above.push_back(p);
        for (auto it = above.rbegin(); it != above.rend(); ++it)
            if (!expanded(*it)) {
                expand(*it, TVE_EXPAND, false);
                opened = true;
            }
        n = find(reinterpret_cast<HTREEITEM>(id));
        if (!n)
            return FALSE;
        int row = rowOf(n);
        if (row < 0)
            return FALSE;
        int page = std::max(1, rowsPerPage());
        bool scrolled = false;
        if (row < m_top) {
            setTop(row);
            scrolled = true;
        } else if (row >= m_top + page) {
            setTop(row - page + 1);
            scrolled = true;
        }
        return scrolled && !opened;
    }

    // ---- selection ----

    // Moves the caret; the parent may refuse. Keeps TVIS_SELECTED on the caret only.
    bool setCaret(Node* to, UINT action)
    {
        if (to == m_caret)
            return true;
        NMTREEVIEWA nm{};
        nm.action = action;
        auto describe = [](TVITEMA& it, Node* n) {
            it.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
            if (n) {
                it.hItem = handleOf(n);
                it.state = n->state;
                it.lParam = n->lParam;
            }
        };
        describe(nm.itemOld, m_caret);
        describe(nm.itemNew, to);
        ULONG_PTR toId = to ? to->id : 0;
        if (notifyParent(m_hwnd, TVN_SELCHANGINGA, &nm.hdr))
            return false;
        if (to && !(to = find(reinterpret_cast<HTREEITEM>(toId))))
            return false;
        Node* old = m_caret;
        if (old) {
            old->state &= ~TVIS_SELECTED;
            invalidateNode(old);
        }
        m_caret = to;
        if (to) {
            to->state |= TVIS_SELECTED;
            invalidateNode(to);
        }
        NMTREEVIEWA done{};
        done.action = action;
        describe(done.itemOld, old);
        describe(done.itemNew, to);
        notifyParent(m_hwnd, TVN_SELCHANGEDA, &done.hdr);
        return true;
    }

    LRESULT selectMessage(UINT how, HTREEITEM h)
    {
        Node* n = find(h);
        if (h && !n)
            return FALSE;
        switch (how & 0xFF) {
        case TVGN_CARET: {
            if (n) {
                ULONG_PTR id = n->id;
                for (Node* p = n->parent; p; p = p->parent)
                    if (!expanded(p)) {
                        ensureVisible(n);
                        break;
                    }
                if (!(n = find(reinterpret_cast<HTREEITEM>(id))))
                    return FALSE;
            }
            if (!setCaret(n, TVC_UNKNOWN))
                return FALSE;
            if (n && find(handleOf(n)))
                ensureVisible(n);
            return TRUE;
        }
        case TVGN_FIRSTVISIBLE:
            if (!n || !isShown(n))
                return FALSE;
            setTop(rowOf(n));
            return TRUE;
        case TVGN_DROPHILITE:
            invalidateNode(m_dropHilite);
            if (m_dropHilite)
                m_dropHilite->state &= ~TVIS_DROPHILITED;
            m_dropHilite = n;
            if (n)
                n->state |= TVIS_DROPHILITED;
            invalidateNode(n);
            return TRUE;
        }
        return FALSE;
    }

    Node* nextItem(UINT how, HTREEITEM h)
    {
        Node* n = find(h);
        switch (how) {
        case TVGN_ROOT: return m_rootFirst;
        case TVGN_CARET: return m_caret;
        case TVGN_DROPHILITE: return m_dropHilite;
        case TVGN_FIRSTVISIBLE: {
            const auto& r = rows();
            return m_top < static_cast<int>(r.size()) ? r[static_cast<size_t>(m_top)] : nullptr;
        }
        case TVGN_LASTVISIBLE: return rows().empty() ? nullptr : rows().back();
        case TVGN_CHILD:
            if (!h || h == TVI_ROOT)
                return m_rootFirst;
            return n ? n->first : nullptr;
        case TVGN_NEXT: return n ? n->next : nullptr;
        case TVGN_PREVIOUS: return n ? n->prev : nullptr;
        case TVGN_PARENT: return n ? n->parent : nullptr;
        case TVGN_NEXTVISIBLE:
        case TVGN_PREVIOUSVISIBLE: {
            if (!n || !isShown(n))
                return nullptr;
            int row = rowOf(n) + (how == TVGN_NEXTVISIBLE ? 1 : -1);
            const auto& r = rows();
            return row >= 0 && row < static_cast<int>(r.size()) ? r[static_cast<size_t>(row)] : nullptr;
        }
        }
        return nullptr;
    }

    LRESULT getItem(TVITEMA* out)
    {
        if (!out)
            return vk::failWith<LRESULT>(ERROR_INVALID_PARAMETER, FALSE);
        Node* n = find(out->hItem);
        if (!n)
            return FALSE;
        ULONG_PTR id = n->id;
        if (out->mask & TVIF_TEXT) {
            std::string text = textOf(n);
            if (!(n = find(reinterpret_cast<HTREEITEM>(id))))
                return FALSE;
            if (out->pszText && out->cchTextMax > 0) {
                size_t k = std::min(text.size(), static_cast<size_t>(out->cchTextMax - 1));
                std::memcpy(out->pszText, text.data(), k);
                out->pszText[k] = 0;
            }
        }
        if (out->mask & TVIF_IMAGE)
            out->iImage = n->image;
        if (out->mask & TVIF_SELECTEDIMAGE)
            out->iSelectedImage = n->selectedImage;
        if (out->mask & TVIF_CHILDREN)
            out->cChildren = n->childrenGiven ? n->children : (n->first ? 1 : 0);
        if (out->mask & TVIF_PARAM)
            out->lParam = n->lParam;
        if (out->mask & TVIF_STATE)
            out->state = n->state & (out->stateMask ? out->stateMask : ~0u);
        return TRUE;
    }

    LRESULT setItem(const TVITEMA* in)
    {
        if (!in)
            return vk::failWith<LRESULT>(ERROR_INVALID_PARAMETER, FALSE);
        Node* n = find(in->hItem);
        if (!n)
            return FALSE;
        bool wasExpanded = expanded(n);
        copyIn(*n, *in);
        if (expanded(n) != wasExpanded) {
            m_rowsDirty = true;
            invalidateFrom(n);
            updateScrollBars();
        } else {
            invalidateNode(n);
        }
        return TRUE;
    }

    // ---- scrolling ----

    int contentWidth()
    {
        int w = 0;
        for (Node* n : rows()) {
            int columns = n->depth + (rootColumn() ? 1 : 0);
            w = std::max(w, columns * m_indent + m_imageWidth + (m_imageWidth ? kImageGap : 0) + textWidth(n) +
                                2 * kTextPad);
        }
        return w;
    }

    void updateScrollBars()
    {
        if (m_updatingBars || (style() & TVS_NOSCROLL))
            return;
        m_updatingBars = true;
        for (int pass = 0; pass < 3; ++pass) {
            RECT before = client();
            int total = static_cast<int>(rows().size());
            m_top = std::clamp(m_top, 0, maxTop());
            SCROLLINFO v{sizeof v, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, total - 1),
                         static_cast<UINT>(total ? std::max(1, rowsPerPage()) : 1), m_top, 0};
            SetScrollInfo(m_hwnd, SB_VERT, &v, TRUE);
            if (!(style() & TVS_NOHSCROLL)) {
                int width = contentWidth();
                m_scrollX = std::clamp(m_scrollX, 0, std::max(0, width - static_cast<int>(client().right)));
                SCROLLINFO h{sizeof h, SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, width - 1),
                             static_cast<UINT>(std::max<LONG>(1, client().right)), m_scrollX, 0};
                SetScrollInfo(m_hwnd, SB_HORZ, &h, TRUE);
            }
            RECT after = client();
            if (EqualRect(&before, &after))
                break;
        }
        m_updatingBars = false;
    }

    void setTop(int top)
    {
        top = std::clamp(top, 0, maxTop());
        if (top == m_top)
            return;
        m_top = top;
        InvalidateRect(m_hwnd, nullptr, TRUE);
        SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, m_top, 0};
        SetScrollInfo(m_hwnd, SB_VERT, &si, TRUE);
    }

    void setScrollX(int x)
    {
        x = std::clamp(x, 0, std::max(0, contentWidth() - static_cast<int>(client().right)));
        if (x == m_scrollX)
            return;
        m_scrollX = x;
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

    // ---- input ----

    void mouseDown(UINT msg, POINT pt)
    {
        if (GetFocus() != m_hwnd)
            SetFocus(m_hwnd);
        if (!IsWindow(m_hwnd))
            return;
        HWND self = m_hwnd;
        UINT flags = 0;
        Node* n = hitTest(pt, flags);
        bool onItem = n && (flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON));
        if ((style() & TVS_FULLROWSELECT) && n && (flags & (TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT)))
            onItem = true;
        NMHDR nm{};
        if (msg == WM_RBUTTONDOWN) {
            notifyParent(m_hwnd, NM_RCLICK, &nm);
            return;
        }
        if (n && (flags & TVHT_ONITEMBUTTON)) {
            expand(n, TVE_TOGGLE, true);
            return;
        }
        if (msg == WM_LBUTTONDBLCLK) {
            // A parent that handles the double click keeps the branch as it is.
            ULONG_PTR id = n ? n->id : 0;
            if (notifyParent(m_hwnd, NM_DBLCLK, &nm) || !IsWindow(self))
                return;
            if (onItem && (n = find(reinterpret_cast<HTREEITEM>(id))))
                expand(n, TVE_TOGGLE, true);
            return;
        }
        if (onItem)
            setCaret(n, TVC_BYMOUSE);
        if (IsWindow(self))
            notifyParent(m_hwnd, NM_CLICK, &nm);
    }

    void moveCaret(Node* to)
    {
        if (!to)
            return;
        if (setCaret(to, TVC_BYKEYBOARD) && find(handleOf(to)))
            ensureVisible(to);
    }

    void keyDown(UINT vk, LPARAM lp)
    {
        NMTVKEYDOWN kd{};
        kd.wVKey = static_cast<WORD>(vk);
        kd.flags = static_cast<UINT>(HIWORD(lp));
        HWND self = m_hwnd;
        notifyParent(m_hwnd, TVN_KEYDOWN, &kd.hdr);
        if (!IsWindow(self))
            return;
        const auto& r = rows();
        if (r.empty())
            return;
        Node* cur = m_caret;
        int row = cur ? rowOf(cur) : -1;
        int last = static_cast<int>(r.size()) - 1;
        int page = std::max(1, rowsPerPage());
        auto at = [&](int k) { return r[static_cast<size_t>(std::clamp(k, 0, last))]; };
        switch (vk) {
        case VK_UP: moveCaret(row < 0 ? at(0) : at(row - 1)); break;
        case VK_DOWN: moveCaret(row < 0 ? at(0) : at(row + 1)); break;
        case VK_HOME: moveCaret(at(0)); break;
        case VK_END: moveCaret(at(last)); break;
        case VK_PRIOR: moveCaret(at(row - page + 1)); break;
        case VK_NEXT: moveCaret(at(row + page - 1)); break;
        case VK_LEFT:
            if (!cur)
                break;
            if (expanded(cur) && hasChildren(cur))
                expand(cur, TVE_COLLAPSE, true);
            else
                moveCaret(cur->parent);
            break;
        case VK_RIGHT:
            if (!cur || !hasChildren(cur))
                break;
            if (!expanded(cur))
                expand(cur, TVE_EXPAND, true);
            else
                moveCaret(cur->first);
            break;
        case VK_ADD:
            if (cur)
                expand(cur, TVE_EXPAND, true);
            break;
        case VK_SUBTRACT:
            if (cur)
                expand(cur, TVE_COLLAPSE, true);
            break;
        case VK_RETURN: {
            NMHDR nm{};
            notifyParent(m_hwnd, NM_RETURN, &nm);
            break;
        }
        default: break;
        }
    }

    // ---- painting ----

    void invalidateNode(Node* n)
    {
        if (!n || !isShown(n))
            return;
        int row = rowOf(n);
        if (row < m_top || row > m_top + rowsPerPage())
            return;
        RECT r = geometry(n, row).line;
        InvalidateRect(m_hwnd, &r, TRUE);
    }

    // Rows from n's down move or change (expanding, inserting, deleting).
    void invalidateFrom(Node* n)
    {
        RECT rc = client();
        int row = n && isShown(n) ? rowOf(n) : -1;
        if (row >= 0)
            rc.top = std::max(0, (row - m_top) * m_itemHeight);
        InvalidateRect(m_hwnd, &rc, TRUE);
    }

    COLORREF bkColor() const { return m_bkColor == CLR_NONE ? GetSysColor(COLOR_WINDOW) : m_bkColor; }
    COLORREF textColor() const { return m_textColor == CLR_NONE ? GetSysColor(COLOR_WINDOWTEXT) : m_textColor; }

    static void fill(HDC dc, const RECT& r, COLORREF color)
    {
        HBRUSH b = CreateSolidBrush(color);
        FillRect(dc, &r, b);
        DeleteObject(b);
    }

    // The classic look's dotted lines: every other pixel.
    static void dottedH(HDC dc, int x0, int x1, int y, COLORREF c)
    {
        for (int x = x0 + ((x0 + y) & 1); x < x1; x += 2)
            SetPixelV(dc, x, y, c);
    }
    static void dottedV(HDC dc, int x, int y0, int y1, COLORREF c)
    {
        for (int y = y0 + ((x + y0) & 1); y < y1; y += 2)
            SetPixelV(dc, x, y, c);
    }

    void paintLines(HDC dc, Node* n, const RowGeometry& g)
    {
        COLORREF c = GetSysColor(COLOR_GRAYTEXT);
        int top = g.line.top, bottom = g.line.bottom, mid = (top + bottom) / 2;
        bool rootLines = rootColumn();
        // Ancestors' columns carry on down where the ancestor has a later sibling.
        int column = g.indentLeft;
        for (Node* p = n->parent; p; p = p->parent) {
            column -= m_indent;
            if ((p->depth > 0 || rootLines) && p->next)
                dottedV(dc, column + m_indent / 2, top, bottom, c);
        }
        if (n->depth == 0 && !rootLines)
            return;
        int cx = g.indentLeft + m_indent / 2;
        bool above = n->prev || n->parent;
        dottedV(dc, cx, above ? top : mid, n->next ? bottom : mid + 1, c);
        int right = g.icon.right > g.icon.left ? g.icon.left : g.label.left;
        dottedH(dc, cx, right, mid, c);
    }

    void paintButton(HDC dc, Node* n, const RECT& b)
    {
        fill(dc, b, GetSysColor(COLOR_WINDOW));
        HBRUSH frame = CreateSolidBrush(GetSysColor(COLOR_GRAYTEXT));
        FrameRect(dc, &b, frame);
        DeleteObject(frame);
        HBRUSH mark = CreateSolidBrush(GetSysColor(COLOR_WINDOWTEXT));
        int cx = (b.left + b.right) / 2, cy = (b.top + b.bottom) / 2;
        RECT minus{b.left + 2, cy, b.right - 2, cy + 1};
        FillRect(dc, &minus, mark);
        if (!expanded(n)) {
            RECT plus{cx, b.top + 2, cx + 1, b.bottom - 2};
            FillRect(dc, &plus, mark);
        }
        DeleteObject(mark);
    }

    void paintRow(HDC dc, Node* n, int row)
    {
        RowGeometry g = geometry(n, row);
        DWORD s = style();
        if (s & TVS_HASLINES)
            paintLines(dc, n, g);
        if (g.button.right > g.button.left)
            paintButton(dc, n, g.button);
        bool selected = n == m_caret || (n->state & TVIS_DROPHILITED);
        bool showSel = selected && (m_focused || (s & TVS_SHOWSELALWAYS) || n == m_dropHilite);
        if (m_images) {
            int image = n == m_caret ? n->selectedImage : n->image;
            int cx = 0, cy = 0;
            ImageList_GetIconSize(m_images, &cx, &cy);
            ImageList_Draw(m_images, image, dc, g.icon.left, g.icon.top + (m_itemHeight - cy) / 2, ILD_TRANSPARENT);
        }
        COLORREF text = IsWindowEnabled(m_hwnd) ? textColor() : GetSysColor(COLOR_GRAYTEXT);
        RECT label = g.label;
        if (showSel) {
            bool active = m_focused || n == m_dropHilite;
            fill(dc, label, active ? GetSysColor(COLOR_HIGHLIGHT) : GetSysColor(COLOR_3DFACE));
            text = active ? GetSysColor(COLOR_HIGHLIGHTTEXT) : GetSysColor(COLOR_WINDOWTEXT);
        }
        RECT inner = label;
        InflateRect(&inner, -kTextPad, 0);
        drawText(dc, m_font.get(), textOf(n), inner, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, text);
        if (m_focused && n == m_caret)
            DrawFocusRect(dc, &label);
    }

    void paint(HDC dc, const RECT& dirty)
    {
        RECT rc = client();
        RECT area;
        if (!IntersectRect(&area, &rc, &dirty))
            return;
        fill(dc, area, bkColor());
        const std::vector<Node*> r = rows(); // a copy: callbacks while painting may change the tree
        int h = std::max(1, m_itemHeight);
        int first = m_top + static_cast<int>(area.top) / h;
        int last = m_top + static_cast<int>(area.bottom) / h;
        HWND self = m_hwnd;
        for (int row = first; row <= last && row < static_cast<int>(r.size()) && IsWindow(self); ++row)
            if (find(handleOf(r[static_cast<size_t>(row)])))
                paintRow(dc, r[static_cast<size_t>(row)], row);
    }

    HWND m_hwnd;
    std::unordered_map<ULONG_PTR, std::unique_ptr<Node>> m_nodes;
    ULONG_PTR m_nextId = 0;
    Node* m_rootFirst = nullptr;
    Node* m_rootLast = nullptr;
    Node* m_caret = nullptr;
    Node* m_dropHilite = nullptr;
    std::vector<Node*> m_rows; // visible items, top to bottom
    bool m_rowsDirty = true;
    HIMAGELIST m_images = nullptr, m_stateImages = nullptr;
    COLORREF m_bkColor = CLR_NONE, m_textColor = CLR_NONE;
    FontHolder m_font;
    int m_indent = kDefaultIndent;
    int m_textHeight = 12, m_itemHeight = 16, m_customHeight = 0, m_imageWidth = 0;
    int m_top = 0, m_scrollX = 0, m_wheel = 0;
    bool m_focused = false;
    bool m_updatingBars = false;
};

} // namespace

void registerTreeView()
{
    registerControlClass(WC_TREEVIEWA, controlProc<TreeView>, CS_DBLCLKS);
}

} // namespace vk::comctl
