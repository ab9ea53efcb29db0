// The registry of live GDI+ objects. The pointers the flat interface hands
// out (GpGraphics*, GpPen*, ...) are handle values from one table with
// generation counters, so a stale, foreign or wrong-kind pointer is
// recognised before anything is dereferenced.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>

namespace vk::gdiplus {

enum class Kind : uint8_t { Graphics, Path, Pen, Brush, Image, FontFamily, Font, StringFormat, Region, ImageAttributes };

struct Object {
    explicit Object(Kind k) : kind(k) {}
    virtual ~Object() = default;
    Kind kind;
};

// Live objects, for the testing API.
size_t liveObjectCount();

// GDI+ may be called from several threads; one lock around each flat call
// keeps the registry and the objects consistent.
std::recursive_mutex& apiLock();

// Registers an object and returns the value the caller sees as its pointer
// (null when the table is full).
void* publish(std::unique_ptr<Object> obj);

// The object behind a pointer value, or null for a stale, foreign or null value.
Object* lookup(const void* handle);

// Unregisters and destroys; false when the pointer names no live object.
bool destroy(const void* handle);

template <class T>
T* lookupAs(const void* handle)
{
    Object* o = lookup(handle);
    if (!o || o->kind != T::kKind)
        return nullptr;
    return static_cast<T*>(o);
}

template <class H, class T>
H* publishAs(std::unique_ptr<T> obj)
{
    return static_cast<H*>(publish(std::move(obj)));
}

} // namespace vk::gdiplus
