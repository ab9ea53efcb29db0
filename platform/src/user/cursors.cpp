// LoadCursorA and friends. System cursors are shared objects that map onto
// the backend's cursor shapes.
#include "user/cursors.h"

#include "core/last_error.h"

#include <map>

namespace vk::user {

namespace {

HCURSOR g_current = nullptr;
int g_showCount = 0;

CursorShape shapeForId(WORD id)
{
    switch (id) {
    case 32513: return CursorShape::IBeam;
    case 32514: return CursorShape::Wait;
    case 32515: return CursorShape::Cross;
    case 32516: return CursorShape::UpArrow;
    case 32640:
    case 32646: return CursorShape::SizeAll;
    case 32642: return CursorShape::SizeNWSE;
    case 32643: return CursorShape::SizeNESW;
    case 32644: return CursorShape::SizeWE;
    case 32645: return CursorShape::SizeNS;
    case 32648: return CursorShape::No;
    case 32649: return CursorShape::Hand;
    case 32650: return CursorShape::AppStarting;
    case 32651: return CursorShape::Help;
    default: return CursorShape::Arrow;
    }
}

bool knownId(WORD id) { return (id >= 32512 && id <= 32516) || (id >= 32640 && id <= 32651 && id != 32647); }

} // namespace

HCURSOR systemCursor(CursorShape shape)
{
    static std::map<int, HCURSOR> cache;
    auto it = cache.find(int(shape));
    if (it != cache.end() && userObjects().get(it->second))
        return it->second;
    auto c = std::make_unique<CursorObject>();
    c->shape = shape;
    c->shared = true;
    HCURSOR h = reinterpret_cast<HCURSOR>(userObjects().add(std::move(c)));
    cache[int(shape)] = h;
    return h;
}

} // namespace vk::user

using namespace vk;
using namespace vk::user;

extern "C" {

HCURSOR WINAPI LoadCursorA(HINSTANCE inst, LPCSTR name)
{
    if (!inst && IS_INTRESOURCE(name)) {
        WORD id = LOWORD(reinterpret_cast<uintptr_t>(name));
        if (!knownId(id))
            return failWith(ERROR_RESOURCE_NAME_NOT_FOUND, HCURSOR(nullptr));
        return systemCursor(shapeForId(id));
    }
    return failWith(ERROR_RESOURCE_NAME_NOT_FOUND, HCURSOR(nullptr));
}

HCURSOR WINAPI CreateCursor(HINSTANCE, int, int, int w, int h, const void* andPlane, const void* xorPlane)
{
    if (w <= 0 || h <= 0 || !andPlane || !xorPlane)
        return failWith(ERROR_INVALID_PARAMETER, HCURSOR(nullptr));
    auto c = std::make_unique<CursorObject>();
    return reinterpret_cast<HCURSOR>(userObjects().add(std::move(c)));
}

BOOL WINAPI DestroyCursor(HCURSOR h)
{
    UserObject* o = userObjects().get(h);
    if (!o || o->kind != UserObject::Kind::Cursor)
        return failWith(ERROR_INVALID_CURSOR_HANDLE, FALSE);
    if (o->shared)
        return TRUE;
    if (g_current == h)
        g_current = nullptr;
    userObjects().remove(reinterpret_cast<uintptr_t>(h));
    return TRUE;
}

HCURSOR WINAPI SetCursor(HCURSOR h)
{
    HCURSOR old = g_current;
    if (h && !userObjects().get(h))
        return old;
    g_current = h;
    if (backendStarted()) {
        CursorShape shape = CursorShape::Arrow;
        if (auto* c = dynamic_cast<CursorObject*>(userObjects().get(h)))
            shape = c->shape;
        backend().setCursor(shape);
    }
    return old;
}

HCURSOR WINAPI GetCursor(void) { return g_current; }

int WINAPI ShowCursor(BOOL show) { return show ? ++g_showCount : --g_showCount; }

BOOL WINAPI ClipCursor(const RECT*) { return TRUE; }

} // extern "C"
