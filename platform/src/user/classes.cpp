// Window classes: registration, lookup and the class longs.
#include "user/classes.h"

#include "core/last_error.h"
#include "user/window.h"

#include <cstring>
#include <strings.h>

namespace vk::user {

namespace {

bool isAtomName(LPCSTR name) { return IS_INTRESOURCE(name); }

ATOM registerClass(const WNDCLASSEXA& wc, bool system)
{
    if (!wc.lpszClassName)
        return failWith(ERROR_INVALID_PARAMETER, ATOM(0));
    if (!isAtomName(wc.lpszClassName) && !*wc.lpszClassName)
        return failWith(ERROR_INVALID_PARAMETER, ATOM(0));
    if (findClass(wc.lpszClassName))
        return failWith(ERROR_CLASS_ALREADY_EXISTS, ATOM(0));
    if (wc.cbClsExtra < 0 || wc.cbWndExtra < 0 || wc.cbClsExtra > 40000 || wc.cbWndExtra > 40000)
        return failWith(ERROR_INVALID_PARAMETER, ATOM(0));
    State& s = state();
    auto cls = std::make_unique<WindowClass>();
    cls->atom = s.nextAtom++;
    if (isAtomName(wc.lpszClassName))
        cls->name = "#" + std::to_string(LOWORD(reinterpret_cast<uintptr_t>(wc.lpszClassName)));
    else
        cls->name = wc.lpszClassName;
    cls->style = wc.style;
    cls->proc = wc.lpfnWndProc;
    cls->clsExtra = wc.cbClsExtra;
    cls->wndExtra = wc.cbWndExtra;
    cls->extra.assign(size_t(wc.cbClsExtra), 0);
    cls->instance = wc.hInstance;
    cls->icon = wc.hIcon;
    cls->iconSmall = wc.hIconSm;
    cls->cursor = wc.hCursor;
    cls->background = wc.hbrBackground;
    if (wc.lpszMenuName && !IS_INTRESOURCE(wc.lpszMenuName))
        cls->menuName = wc.lpszMenuName;
    cls->system = system;
    ATOM atom = cls->atom;
    s.classes.push_back(std::move(cls));
    return atom;
}

} // namespace

WindowClass* findClass(LPCSTR name)
{
    if (!name)
        return nullptr;
    State& s = state();
    if (isAtomName(name)) {
        WORD atom = LOWORD(reinterpret_cast<uintptr_t>(name));
        for (auto& c : s.classes)
            if (c->atom == atom)
                return c.get();
        std::string byNumber = "#" + std::to_string(atom);
        for (auto& c : s.classes)
            if (c->name == byNumber)
                return c.get();
        return nullptr;
    }
    for (auto& c : s.classes)
        if (strcasecmp(c->name.c_str(), name) == 0)
            return c.get();
    return nullptr;
}

ATOM registerSystemClass(const WNDCLASSEXA& wc) { return registerClass(wc, true); }

void ensureSystemClasses()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    for (auto& fn : systemClassRegistrars())
        fn();
}

std::vector<void (*)()>& systemClassRegistrars()
{
    static std::vector<void (*)()> list;
    return list;
}

} // namespace vk::user

using namespace vk;
using namespace vk::user;

extern "C" {

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* wc)
{
    ensureSystemClasses();
    if (!wc || wc->cbSize != sizeof(WNDCLASSEXA))
        return failWith(ERROR_INVALID_PARAMETER, ATOM(0));
    return registerClass(*wc, false);
}

ATOM WINAPI RegisterClassA(const WNDCLASSA* wc)
{
    ensureSystemClasses();
    if (!wc)
        return failWith(ERROR_INVALID_PARAMETER, ATOM(0));
    WNDCLASSEXA ex{};
    ex.cbSize = sizeof(ex);
    ex.style = wc->style;
    ex.lpfnWndProc = wc->lpfnWndProc;
    ex.cbClsExtra = wc->cbClsExtra;
    ex.cbWndExtra = wc->cbWndExtra;
    ex.hInstance = wc->hInstance;
    ex.hIcon = wc->hIcon;
    ex.hCursor = wc->hCursor;
    ex.hbrBackground = wc->hbrBackground;
    ex.lpszMenuName = wc->lpszMenuName;
    ex.lpszClassName = wc->lpszClassName;
    return registerClass(ex, false);
}

BOOL WINAPI UnregisterClassA(LPCSTR name, HINSTANCE)
{
    WindowClass* cls = findClass(name);
    if (!cls || cls->system)
        return failWith(ERROR_CLASS_DOES_NOT_EXIST, FALSE);
    if (cls->windowCount > 0)
        return failWith(ERROR_CLASS_HAS_WINDOWS, FALSE);
    auto& list = state().classes;
    for (auto it = list.begin(); it != list.end(); ++it)
        if (it->get() == cls) {
            list.erase(it);
            break;
        }
    return TRUE;
}

BOOL WINAPI GetClassInfoExA(HINSTANCE, LPCSTR name, LPWNDCLASSEXA out)
{
    ensureSystemClasses();
    WindowClass* cls = findClass(name);
    if (!cls)
        return failWith(ERROR_CLASS_DOES_NOT_EXIST, FALSE);
    if (!out)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    out->cbSize = sizeof(*out);
    out->style = cls->style;
    out->lpfnWndProc = cls->proc;
    out->cbClsExtra = cls->clsExtra;
    out->cbWndExtra = cls->wndExtra;
    out->hInstance = cls->instance;
    out->hIcon = cls->icon;
    out->hCursor = cls->cursor;
    out->hbrBackground = cls->background;
    out->lpszMenuName = cls->menuName.empty() ? nullptr : cls->menuName.c_str();
    out->lpszClassName = cls->name.c_str();
    out->hIconSm = cls->iconSmall;
    return cls->atom;
}

BOOL WINAPI GetClassInfoA(HINSTANCE inst, LPCSTR name, LPWNDCLASSA out)
{
    WNDCLASSEXA ex{};
    if (!out)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    BOOL ok = GetClassInfoExA(inst, name, &ex);
    if (!ok)
        return FALSE;
    out->style = ex.style;
    out->lpfnWndProc = ex.lpfnWndProc;
    out->cbClsExtra = ex.cbClsExtra;
    out->cbWndExtra = ex.cbWndExtra;
    out->hInstance = ex.hInstance;
    out->hIcon = ex.hIcon;
    out->hCursor = ex.hCursor;
    out->hbrBackground = ex.hbrBackground;
    out->lpszMenuName = ex.lpszMenuName;
    out->lpszClassName = ex.lpszClassName;
    return ok;
}

int WINAPI GetClassNameA(HWND hwnd, LPSTR buf, int max)
{
    Window* w = checked(hwnd);
    if (!w)
        return 0;
    if (!buf || max <= 0)
        return failWith(ERROR_INSUFFICIENT_BUFFER, 0);
    const std::string& n = w->cls->name;
    int len = std::min<int>(int(n.size()), max - 1);
    memcpy(buf, n.data(), size_t(len));
    buf[len] = 0;
    return len;
}

ULONG_PTR WINAPI GetClassLongPtrA(HWND hwnd, int index)
{
    Window* w = checked(hwnd);
    if (!w)
        return 0;
    WindowClass* c = w->cls;
    if (index >= 0) {
        if (size_t(index) + sizeof(LONG_PTR) > c->extra.size())
            return failWith(ERROR_INVALID_INDEX, ULONG_PTR(0));
        ULONG_PTR v = 0;
        memcpy(&v, c->extra.data() + index, sizeof(v));
        return v;
    }
    switch (index) {
    case GCL_MENUNAME: return reinterpret_cast<ULONG_PTR>(c->menuName.empty() ? nullptr : c->menuName.c_str());
    case GCL_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(c->background);
    case GCL_HCURSOR: return reinterpret_cast<ULONG_PTR>(c->cursor);
    case GCL_HICON: return reinterpret_cast<ULONG_PTR>(c->icon);
    case GCL_HICONSM: return reinterpret_cast<ULONG_PTR>(c->iconSmall);
    case GCL_HMODULE: return reinterpret_cast<ULONG_PTR>(c->instance);
    case GCL_CBWNDEXTRA: return ULONG_PTR(c->wndExtra);
    case GCL_CBCLSEXTRA: return ULONG_PTR(c->clsExtra);
    case GCL_WNDPROC: return reinterpret_cast<ULONG_PTR>(c->proc);
    case GCL_STYLE: return c->style;
    case GCW_ATOM: return c->atom;
    default: return failWith(ERROR_INVALID_INDEX, ULONG_PTR(0));
    }
}

ULONG_PTR WINAPI SetClassLongPtrA(HWND hwnd, int index, LONG_PTR value)
{
    Window* w = checked(hwnd);
    if (!w)
        return 0;
    WindowClass* c = w->cls;
    ULONG_PTR old = GetClassLongPtrA(hwnd, index);
    if (index >= 0) {
        if (size_t(index) + sizeof(LONG_PTR) > c->extra.size())
            return failWith(ERROR_INVALID_INDEX, ULONG_PTR(0));
        memcpy(c->extra.data() + index, &value, sizeof(value));
        return old;
    }
    switch (index) {
    case GCL_HBRBACKGROUND: c->background = reinterpret_cast<HBRUSH>(value); break;
    case GCL_HCURSOR: c->cursor = reinterpret_cast<HCURSOR>(value); break;
    case GCL_HICON: c->icon = reinterpret_cast<HICON>(value); break;
    case GCL_HICONSM: c->iconSmall = reinterpret_cast<HICON>(value); break;
    case GCL_WNDPROC: c->proc = reinterpret_cast<WNDPROC>(value); break;
    case GCL_STYLE: c->style = UINT(value); break;
    case GCL_HMODULE: c->instance = reinterpret_cast<HINSTANCE>(value); break;
    default: return failWith(ERROR_INVALID_INDEX, ULONG_PTR(0));
    }
    return old;
}

ULONG_PTR WINAPI GetClassLongA(HWND hwnd, int index) { return GetClassLongPtrA(hwnd, index); }
ULONG_PTR WINAPI SetClassLongA(HWND hwnd, int index, LONG_PTR value) { return SetClassLongPtrA(hwnd, index, value); }

} // extern "C"
