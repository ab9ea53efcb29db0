// The registry of live GDI+ objects (see live_objects.h).
#include "gdiplus/live_objects.h"

#include "core/handle_table.h"

namespace vk::gdiplus {

namespace {

HandleTable<Object>& table()
{
    static HandleTable<Object> t(HandleKind::GdiPlus);
    return t;
}

} // namespace

std::recursive_mutex& apiLock()
{
    static std::recursive_mutex m;
    return m;
}

size_t liveObjectCount()
{
    std::lock_guard<std::recursive_mutex> lock(apiLock());
    return table().live();
}

void* publish(std::unique_ptr<Object> obj)
{
    return reinterpret_cast<void*>(table().add(std::move(obj)));
}

Object* lookup(const void* handle)
{
    if (!handle)
        return nullptr;
    return table().get(reinterpret_cast<uintptr_t>(handle));
}

bool destroy(const void* handle)
{
    if (!handle)
        return false;
    // The object is destroyed outside the table's bookkeeping, after removal.
    std::unique_ptr<Object> obj = table().remove(reinterpret_cast<uintptr_t>(handle));
    return obj != nullptr;
}

} // namespace vk::gdiplus
