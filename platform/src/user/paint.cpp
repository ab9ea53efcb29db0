// The paint cycle: update regions, WM_NCPAINT / WM_ERASEBKGND / WM_PAINT,
// window DCs and which pixels of the top-level surface each DC may touch.
#include "backend/backend.h"
#include "core/last_error.h"
#include "user/draw_target.h"
#include "user/window.h"

#include <algorithm>

namespace vk::user {

namespace {

bool hasNonClient(Window* w) { return !EqualRect(&w->rect, &w->clientRect); }

RECT clientSizeRect(Window* w)
{
    return RECT{0, 0, w->clientRect.right - w->clientRect.left, w->clientRect.bottom - w->clientRect.top};
}

// Window rectangle of w in the client coordinates of its parent's... of w itself.
RECT windowRectInClient(Window* w)
{
    RECT r = w->rect;
    OffsetRect(&r, -w->clientRect.left, -w->clientRect.top);
    return r;
}

bool includeChildren(Window* w, UINT flags)
{
    if (flags & RDW_ALLCHILDREN)
        return true;
    if (flags & RDW_NOCHILDREN)
        return false;
    return !(w->style & WS_CLIPCHILDREN);
}

// rgn: in w's client coordinates; frameRgn: the part that touches the
// non-client area (window rectangle in client coordinates) or null.
void invalidateImpl(Window* w, const Region& rgn, UINT flags)
{
    if (!isVisible(w))
        return;
    Region client(clientSizeRect(w));
    Region inClient = rgn;
    inClient.intersect(client);
    if (flags & RDW_INVALIDATE) {
        if (!inClient.empty()) {
            w->update.unite(inClient);
            if (flags & RDW_ERASE)
                w->erasePending = true;
        }
        if ((flags & RDW_FRAME) && hasNonClient(w)) {
            Region nc(windowRectInClient(w));
            nc.intersect(rgn);
            nc.subtract(client);
            if (!nc.empty())
                w->ncPending = true;
        }
        if (flags & RDW_INTERNALPAINT)
            w->internalPaint = true;
    } else if (flags & RDW_VALIDATE) {
        w->update.subtract(inClient);
        if (w->update.empty() || (flags & RDW_NOERASE))
            w->erasePending = false;
        if (flags & RDW_NOFRAME)
            w->ncPending = false;
        if (flags & RDW_NOINTERNALPAINT)
            w->internalPaint = false;
        if (w->update.empty())
            w->eraseFailed = false;
    }
    if (!includeChildren(w, flags))
        return;
    UINT childFlags = flags | RDW_FRAME;
    if (flags & RDW_VALIDATE)
        childFlags = flags;
    for (Window* c : std::vector<Window*>(w->children)) {
        if (!(c->style & WS_VISIBLE))
            continue;
        Region cr = inClient;
        // From w's client coordinates into the child's client coordinates.
        cr.translate(-c->clientRect.left, -c->clientRect.top);
        invalidateImpl(c, cr, childFlags);
    }
}

void collectPaintable(Window* w, Window*& found)
{
    if (found || !(w->style & WS_VISIBLE))
        return;
    if (needsPaint(w)) {
        found = w;
        return;
    }
    // Siblings paint from the bottom of the z-order up, so overlapping
    // siblings end with the front one on top.
    for (auto it = w->children.rbegin(); it != w->children.rend() && !found; ++it)
        collectPaintable(*it, found);
}

RECT windowRectInTop(Window* w)
{
    POINT o = windowOriginInTop(w);
    return RECT{o.x, o.y, o.x + (w->rect.right - w->rect.left), o.y + (w->rect.bottom - w->rect.top)};
}

RECT clientRectInTop(Window* w)
{
    POINT o = clientOriginInTop(w);
    return RECT{o.x, o.y, o.x + (w->clientRect.right - w->clientRect.left), o.y + (w->clientRect.bottom - w->clientRect.top)};
}

Region shapeInTop(Window* w)
{
    Region r(windowRectInTop(w));
    if (w->windowRgn) {
        Region shape = *w->windowRgn;
        POINT o = windowOriginInTop(w);
        shape.translate(o.x, o.y);
        r.intersect(shape);
    }
    return r;
}

void subtractSiblingsAbove(Window* c, Region& vis)
{
    const std::vector<Window*>& sib = c->parent->children;
    for (Window* s : sib) {
        if (s == c)
            break;
        if (s->style & WS_VISIBLE)
            vis.subtract(shapeInTop(s));
    }
}

} // namespace

void invalidate(Window* w, const Region* clientRgn, UINT flags)
{
    Region r;
    if (clientRgn) {
        r = *clientRgn;
    } else {
        r.setRect(windowRectInClient(w));
        r.unite(clientSizeRect(w));
    }
    invalidateImpl(w, r, flags);
}

void clearUpdate(Window* w)
{
    w->update.clear();
    w->erasePending = false;
    w->internalPaint = false;
}

bool needsPaint(Window* w)
{
    return isVisible(w) && !topLevelOf(w)->minimized() &&
           (!w->update.empty() || w->internalPaint || (w->ncPending && hasNonClient(w)));
}

void eraseNow(Window* w, bool children)
{
    HWND hwnd = w->hwnd;
    if (!isVisible(w))
        return;
    if (w->ncPending && hasNonClient(w)) {
        w->ncPending = false;
        send(w, WM_NCPAINT, 1, 0);
        if (!fromHandle(hwnd))
            return;
    }
    if (w->erasePending && !w->update.empty()) {
        w->erasePending = false;
        Region clip = w->update;
        HDC dc = gdi::createWindowDc(hwnd, kDcPaint, &clip);
        LRESULT r = send(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        gdi::releaseWindowDc(dc);
        if (!fromHandle(hwnd))
            return;
        w->eraseFailed = r == 0;
    }
    if (!children)
        return;
    std::vector<HWND> kids;
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it)
        kids.push_back((*it)->hwnd);
    for (HWND k : kids)
        if (Window* c = fromHandle(k))
            eraseNow(c, true);
}

Window* findWindowToPaint()
{
    for (Window* t : state().topLevels) {
        if (!(t->style & WS_VISIBLE) || t->minimized())
            continue;
        Window* found = nullptr;
        collectPaintable(t, found);
        if (found)
            return found;
    }
    return nullptr;
}

void presentDamage()
{
    if (!backendStarted())
        return;
    Backend& b = backend();
    for (Window* t : state().topLevels) {
        if (t->damage.empty() || !t->surface)
            continue;
        if (!(t->style & WS_VISIBLE) || t->minimized()) {
            t->damage.clear();
            continue;
        }
        const Surface& s = t->surface->get();
        t->damage.intersect(RECT{0, 0, s.width, s.height});
        if (!t->damage.empty())
            b.present(t->hwnd, s, t->damage);
        t->damage.clear();
    }
}

bool resolveWindowTarget(HWND hwnd, unsigned flags, const Region* paintClip, WindowDrawTarget& out)
{
    Window* w = fromHandle(hwnd);
    if (!w)
        return false;
    Window* top = topLevelOf(w);
    out.surface = top->surface ? &top->surface->get() : nullptr;
    out.damage = &top->damage;
    bool whole = flags & kDcWindow;
    out.origin = whole ? windowOriginInTop(w) : clientOriginInTop(w);
    out.visible.clear();
    if (!out.surface || !isVisible(w) || top->minimized())
        return true;

    Region vis(whole ? windowRectInTop(w) : clientRectInTop(w));
    if (w->windowRgn)
        vis.intersect(shapeInTop(w));
    for (Window* a = w->parent; a; a = a->parent) {
        vis.intersect(clientRectInTop(a));
        if (a->windowRgn)
            vis.intersect(shapeInTop(a));
    }
    for (Window* c = w; c->parent; c = c->parent) {
        bool clipSiblings = (c->style & WS_CLIPSIBLINGS) || (c == w && (flags & kDcClipSiblings));
        if (clipSiblings)
            subtractSiblingsAbove(c, vis);
    }
    bool clipChildren = (flags & kDcClipChildren) || ((w->style & WS_CLIPCHILDREN) && !(flags & kDcNoClipStyles));
    if (clipChildren)
        for (Window* c : w->children)
            if (c->style & WS_VISIBLE)
                vis.subtract(shapeInTop(c));
    if ((flags & kDcPaint) && paintClip) {
        Region p = *paintClip;
        p.translate(out.origin.x, out.origin.y);
        vis.intersect(p);
    }
    const Surface& s = *out.surface;
    vis.intersect(RECT{0, 0, s.width, s.height});
    out.visible = std::move(vis);
    return true;
}

} // namespace vk::user

using namespace vk;
using namespace vk::user;

namespace {

void updateNow(Window* w, bool children)
{
    HWND hwnd = w->hwnd;
    if (needsPaint(w)) {
        send(w, WM_PAINT, 0, 0);
        if (Window* still = fromHandle(hwnd))
            still->internalPaint = false;
    }
    if (!children || !fromHandle(hwnd))
        return;
    std::vector<HWND> kids;
    for (auto it = w->children.rbegin(); it != w->children.rend(); ++it)
        kids.push_back((*it)->hwnd);
    for (HWND k : kids)
        if (Window* c = fromHandle(k))
            updateNow(c, true);
}

Region regionFromRect(const RECT* r, Window* w)
{
    if (r)
        return Region(*r);
    return Region(RECT{0, 0, w->clientRect.right - w->clientRect.left, w->clientRect.bottom - w->clientRect.top});
}

} // namespace

extern "C" {

BOOL WINAPI InvalidateRect(HWND hwnd, const RECT* rc, BOOL erase)
{
    if (!hwnd) {
        for (Window* t : std::vector<Window*>(state().topLevels))
            invalidate(t, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        return TRUE;
    }
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    Region r = regionFromRect(rc, w);
    invalidate(w, &r, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
    return TRUE;
}

BOOL WINAPI InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase)
{
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    if (!rgn)
        return InvalidateRect(hwnd, nullptr, erase);
    Region* r = gdi::regionObject(rgn);
    if (!r)
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    Region copy = *r;
    invalidate(w, &copy, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
    return TRUE;
}

BOOL WINAPI ValidateRect(HWND hwnd, const RECT* rc)
{
    if (!hwnd)
        return TRUE;
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    Region r = regionFromRect(rc, w);
    invalidate(w, &r, RDW_VALIDATE | RDW_NOCHILDREN);
    if (!rc)
        clearUpdate(w);
    return TRUE;
}

BOOL WINAPI ValidateRgn(HWND hwnd, HRGN rgn)
{
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    if (!rgn)
        return ValidateRect(hwnd, nullptr);
    Region* r = gdi::regionObject(rgn);
    if (!r)
        return failWith(ERROR_INVALID_HANDLE, FALSE);
    Region copy = *r;
    invalidate(w, &copy, RDW_VALIDATE | RDW_NOCHILDREN);
    return TRUE;
}

BOOL WINAPI RedrawWindow(HWND hwnd, const RECT* rc, HRGN rgn, UINT flags)
{
    Window* w = hwnd ? checked(hwnd) : nullptr;
    if (hwnd && !w)
        return FALSE;
    std::vector<Window*> targets;
    if (w)
        targets.push_back(w);
    else
        targets = state().topLevels;
    for (Window* t : targets) {
        HWND th = t->hwnd;
        if (flags & (RDW_INVALIDATE | RDW_VALIDATE)) {
            if (rgn) {
                Region* r = gdi::regionObject(rgn);
                if (!r)
                    return failWith(ERROR_INVALID_HANDLE, FALSE);
                Region copy = *r;
                invalidate(t, &copy, flags);
            } else if (rc) {
                Region r(*rc);
                invalidate(t, &r, flags);
            } else {
                invalidate(t, nullptr, flags);
                if (flags & RDW_VALIDATE) {
                    if (flags & RDW_NOFRAME)
                        t->ncPending = false;
                    t->update.clear();
                }
            }
        }
        bool kids = (flags & RDW_ALLCHILDREN) || (!(flags & RDW_NOCHILDREN) && !(t->style & WS_CLIPCHILDREN));
        if (flags & RDW_UPDATENOW) {
            eraseNow(t, kids);
            if (Window* still = fromHandle(th))
                updateNow(still, kids);
        } else if (flags & RDW_ERASENOW) {
            eraseNow(t, kids);
        }
    }
    freeGraveyardIfIdle();
    return TRUE;
}

BOOL WINAPI UpdateWindow(HWND hwnd)
{
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    ++state().sendDepth;
    updateNow(w, false);
    --state().sendDepth;
    freeGraveyardIfIdle();
    return TRUE;
}

HDC WINAPI BeginPaint(HWND hwnd, LPPAINTSTRUCT ps)
{
    Window* w = checked(hwnd);
    if (!w || !ps)
        return nullptr;
    if (w->ncPending && hasNonClient(w)) {
        w->ncPending = false;
        send(w, WM_NCPAINT, 1, 0);
        if (!fromHandle(hwnd))
            return nullptr;
    }
    caretBeginPaint(hwnd);
    Region paint = w->update;
    paint.intersect(RECT{0, 0, w->clientRect.right - w->clientRect.left, w->clientRect.bottom - w->clientRect.top});
    bool needErase = w->erasePending;
    bool erase = w->eraseFailed;
    w->update.clear();
    w->internalPaint = false;
    w->erasePending = false;
    w->eraseFailed = false;
    HDC dc = gdi::createWindowDc(hwnd, kDcPaint, &paint);
    if (needErase && dc) {
        LRESULT r = send(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        erase = r == 0;
    }
    *ps = PAINTSTRUCT{};
    ps->hdc = dc;
    ps->fErase = erase ? TRUE : FALSE;
    ps->rcPaint = paint.empty() ? RECT{0, 0, 0, 0} : paint.bounds();
    return dc;
}

BOOL WINAPI EndPaint(HWND hwnd, const PAINTSTRUCT* ps)
{
    if (!ps)
        return FALSE;
    if (ps->hdc)
        gdi::releaseWindowDc(ps->hdc);
    caretEndPaint(hwnd);
    return TRUE;
}

HDC WINAPI GetDC(HWND hwnd)
{
    if (hwnd && !checked(hwnd))
        return nullptr;
    return gdi::createWindowDc(hwnd, 0, nullptr);
}

HDC WINAPI GetWindowDC(HWND hwnd)
{
    if (hwnd && !checked(hwnd))
        return nullptr;
    return gdi::createWindowDc(hwnd, kDcWindow, nullptr);
}

HDC WINAPI GetDCEx(HWND hwnd, HRGN clip, DWORD flags)
{
    Window* w = hwnd ? checked(hwnd) : nullptr;
    if (hwnd && !w)
        return nullptr;
    unsigned f = 0;
    if (flags & DCX_WINDOW)
        f |= kDcWindow;
    if (flags & DCX_CLIPCHILDREN)
        f |= kDcClipChildren;
    if (flags & DCX_CLIPSIBLINGS)
        f |= kDcClipSiblings;
    Region limit;
    bool limited = false;
    if (w && (flags & DCX_INTERSECTUPDATE)) {
        limit = w->update;
        if (flags & DCX_WINDOW)
            limit.translate(w->clientRect.left - w->rect.left, w->clientRect.top - w->rect.top);
        limited = true;
    }
    // WM_NCPAINT passes 1 for "the whole frame"; that is no region at all.
    if (clip && reinterpret_cast<uintptr_t>(clip) != 1 && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN))) {
        Region* r = gdi::regionObject(clip);
        if (r && w) {
            Region local = *r;
            // Regions handed to GetDCEx are in screen coordinates.
            RECT origin = (flags & DCX_WINDOW) ? windowRectOnScreen(w) : clientRectOnScreen(w);
            local.translate(-origin.left, -origin.top);
            if (flags & DCX_INTERSECTRGN) {
                if (limited)
                    limit.intersect(local);
                else
                    limit = local;
            } else {
                if (!limited)
                    limit.setRect(-100000, -100000, 100000, 100000);
                limit.subtract(local);
            }
            limited = true;
        }
    }
    return gdi::createWindowDc(hwnd, f | (limited ? unsigned(kDcPaint) : 0u), limited ? &limit : nullptr);
}

int WINAPI ReleaseDC(HWND, HDC dc) { return gdi::releaseWindowDc(dc) ? 1 : 0; }

HWND WINAPI WindowFromDC(HDC dc) { return gdi::windowOfDc(dc); }

BOOL WINAPI GetUpdateRect(HWND hwnd, LPRECT rc, BOOL erase)
{
    Window* w = checked(hwnd);
    if (!w)
        return FALSE;
    if (erase && w->erasePending)
        eraseNow(w, false);
    if (!fromHandle(hwnd))
        return FALSE;
    bool any = !w->update.empty();
    if (rc)
        *rc = any ? w->update.bounds() : RECT{0, 0, 0, 0};
    return any ? TRUE : FALSE;
}

int WINAPI GetUpdateRgn(HWND hwnd, HRGN rgn, BOOL erase)
{
    Window* w = checked(hwnd);
    if (!w)
        return ERROR;
    Region* out = gdi::regionObject(rgn);
    if (!out)
        return ERROR;
    if (erase && w->erasePending)
        eraseNow(w, false);
    if (!fromHandle(hwnd))
        return ERROR;
    *out = w->update;
    return gdi::regionComplexity(*out);
}

int WINAPI ExcludeUpdateRgn(HDC dc, HWND hwnd)
{
    Window* w = checked(hwnd);
    if (!w)
        return ERROR;
    for (const RECT& r : w->update.rects())
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    RECT box;
    return GetClipBox(dc, &box);
}

BOOL WINAPI LockWindowUpdate(HWND) { return TRUE; }

int WINAPI ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN updateRgn,
                          LPRECT updateRect, UINT flags)
{
    Window* w = checked(hwnd);
    if (!w)
        return ERROR;
    RECT client{0, 0, w->clientRect.right - w->clientRect.left, w->clientRect.bottom - w->clientRect.top};
    RECT area = scroll ? *scroll : client;
    if (clip)
        IntersectRect(&area, &area, clip);
    // Move the pixels that stay visible and invalidate what is uncovered.
    HDC dc = GetDCEx(hwnd, nullptr, DCX_CLIPSIBLINGS);
    if (dc) {
        RECT src = area;
        OffsetRect(&src, -dx, -dy);
        RECT keep;
        IntersectRect(&keep, &src, &area);
        if (!IsRectEmpty(&keep))
            BitBlt(dc, keep.left + dx, keep.top + dy, keep.right - keep.left, keep.bottom - keep.top, dc, keep.left,
                   keep.top, SRCCOPY);
        ReleaseDC(hwnd, dc);
    }
    Region exposed(area);
    RECT moved = area;
    OffsetRect(&moved, dx, dy);
    RECT stays;
    IntersectRect(&stays, &moved, &area);
    exposed.subtract(stays);
    // The pending update region moves with the pixels.
    Region shifted = w->update;
    shifted.intersect(area);
    w->update.subtract(area);
    shifted.translate(dx, dy);
    shifted.intersect(area);
    w->update.unite(shifted);
    if (flags & SW_SCROLLCHILDREN) {
        for (Window* c : std::vector<Window*>(w->children)) {
            RECT cr = c->rect;
            OffsetRect(&cr, -w->clientRect.left, -w->clientRect.top);
            RECT inter;
            if (!scroll || IntersectRect(&inter, &cr, &area))
                SetWindowPos(c->hwnd, nullptr, c->rect.left - w->clientRect.left + dx,
                             c->rect.top - w->clientRect.top + dy, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
        }
    }
    if (flags & SW_INVALIDATE)
        invalidate(w, &exposed, RDW_INVALIDATE | ((flags & SW_ERASE) ? RDW_ERASE : 0) | RDW_ALLCHILDREN);
    if (updateRgn)
        if (Region* r = gdi::regionObject(updateRgn))
            *r = exposed;
    if (updateRect)
        *updateRect = exposed.empty() ? RECT{0, 0, 0, 0} : exposed.bounds();
    return gdi::regionComplexity(exposed);
}

BOOL WINAPI ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip)
{
    return ScrollWindowEx(hwnd, dx, dy, scroll, clip, nullptr, nullptr,
                          SW_INVALIDATE | SW_ERASE | (scroll ? 0 : SW_SCROLLCHILDREN)) != ERROR;
}

BOOL WINAPI PrintWindow(HWND hwnd, HDC target, UINT flags)
{
    Window* w = checked(hwnd);
    if (!w || !target)
        return FALSE;
    // What the window shows on screen: its pixels in the top-level surface.
    bool clientOnly = flags & PW_CLIENTONLY;
    HDC src = clientOnly ? GetDC(hwnd) : GetWindowDC(hwnd);
    if (!src)
        return FALSE;
    RECT r = clientOnly ? RECT{0, 0, w->clientRect.right - w->clientRect.left, w->clientRect.bottom - w->clientRect.top}
                        : RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    BOOL ok = BitBlt(target, 0, 0, r.right, r.bottom, src, 0, 0, SRCCOPY);
    ReleaseDC(hwnd, src);
    return ok;
}

} // extern "C"
