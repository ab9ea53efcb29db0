// Finding docks and panels on the X desktop.
#include "backend/x11/x11_panels.h"

#include "backend/x11/x11_backend.h"

#include <X11/Xatom.h>

#include <algorithm>

namespace vk {

namespace {

std::vector<Atom> readAtoms(Display* dpy, Window w, Atom prop)
{
    std::vector<Atom> out;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, w, prop, 0, 64, False, XA_ATOM, &type, &format, &count, &after, &data) == Success &&
        data && format == 32) {
        const Atom* a = reinterpret_cast<const Atom*>(data);
        out.assign(a, a + count);
    }
    if (data)
        XFree(data);
    return out;
}

bool isShownDock(Display* dpy, Window w, Atom typeProp, Atom dock, Window root, RECT& rc)
{
    const std::vector<Atom> types = readAtoms(dpy, w, typeProp);
    if (std::find(types.begin(), types.end(), dock) == types.end())
        return false;
    XWindowAttributes wa{};
    if (!XGetWindowAttributes(dpy, w, &wa) || wa.map_state != IsViewable)
        return false;
    int x = 0, y = 0;
    Window child = 0;
    if (!XTranslateCoordinates(dpy, w, root, 0, 0, &x, &y, &child))
        return false;
    rc = RECT{x, y, x + wa.width, y + wa.height};
    return true;
}

} // namespace

std::vector<RECT> x11Panels()
{
    Display* dpy = x11CurrentDisplay();
    return dpy ? x11Panels(dpy) : std::vector<RECT>{};
}

std::vector<RECT> x11Panels(Display* dpy)
{
    const Window root = DefaultRootWindow(dpy);
    const Atom typeProp = XInternAtom(dpy, "_NET_WM_WINDOW_TYPE", False);
    const Atom dock = XInternAtom(dpy, "_NET_WM_WINDOW_TYPE_DOCK", False);

    // Docks are usually not framed, so the root's children find them; a WM
    // that frames them still lists them among its clients.
    std::vector<Window> candidates;
    Window rootRet = 0, parent = 0;
    Window* children = nullptr;
    unsigned n = 0;
    if (XQueryTree(dpy, root, &rootRet, &parent, &children, &n) && children) {
        candidates.assign(children, children + n);
        XFree(children);
    }
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, root, XInternAtom(dpy, "_NET_CLIENT_LIST", False), 0, 4096, False, XA_WINDOW, &type,
                           &format, &count, &after, &data) == Success &&
        data && format == 32) {
        const Window* list = reinterpret_cast<const Window*>(data);
        for (unsigned long i = 0; i < count; ++i)
            if (std::find(candidates.begin(), candidates.end(), list[i]) == candidates.end())
                candidates.push_back(list[i]);
    }
    if (data)
        XFree(data);

    std::vector<RECT> panels;
    for (Window w : candidates) {
        RECT rc{};
        if (isShownDock(dpy, w, typeProp, dock, root, rc))
            panels.push_back(rc);
    }
    if (!panels.empty())
        return panels;

    // No dock window found: whatever the work area leaves out is a panel.
    const int scr = DefaultScreen(dpy);
    const RECT screen{0, 0, DisplayWidth(dpy, scr), DisplayHeight(dpy, scr)};
    const RECT work = x11WorkArea(dpy);
    if (work.top > screen.top)
        panels.push_back(RECT{screen.left, screen.top, screen.right, work.top});
    if (work.bottom < screen.bottom)
        panels.push_back(RECT{screen.left, work.bottom, screen.right, screen.bottom});
    if (work.left > screen.left)
        panels.push_back(RECT{screen.left, work.top, work.left, work.bottom});
    if (work.right < screen.right)
        panels.push_back(RECT{work.right, work.top, screen.right, work.bottom});
    return panels;
}

} // namespace vk
