// The common base of the GDI+ wrappers: one native handle, and GDI+'s own
// allocator for blocks that GDI+ functions read.
//
// The rules every wrapper keeps:
// - A creating or changing operation returns true when GDI+ answered Ok; the
//   status of the call is in lastStatus(). Getters return 0 on failure.
// - A creating operation stores the new handle (0 when it failed) over the
//   one held without releasing it: release first.
// - release() on a wrapper holding no object makes no call and returns
//   false; after release() the handle is 0.
// - Destruction releases, except for FontFamily (see font_family.h).
#ifndef VELKARO_GFX_GDIP_OBJECT_H
#define VELKARO_GFX_GDIP_OBJECT_H

#include <velkaro/gfx/flat_api.h>

#include <cstddef>

namespace velkaro::gfx {

class GdipObject {
public:
    GdipObject() = default;
    virtual ~GdipObject() = default;
    // A copy would hold the same native object, and both would release it.
    // Nothing in the engine copies a wrapper; deleting the copy keeps it so.
    GdipObject(const GdipObject&) = delete;
    GdipObject& operator=(const GdipObject&) = delete;

    void* handle() const { return m_handle; }
    // Takes h over without releasing the object held (see above).
    void setHandle(void* h)
    {
        m_handle = h;
        syncHandle(h);
    }

    static void* gdipAlloc(size_t size);
    static void gdipFree(void* p);

protected:
    // Lets a subclass keep a typed copy of the handle.
    virtual void syncHandle(void* h) {}

    // The shared shape of every release: nothing held, no call.
    template <class Fn, class Native>
    bool releaseWith(Fn FlatApi::*entry, Native* native)
    {
        if (!m_handle)
            return false;
        bool ok = callFlatOk(entry, native);
        setHandle(nullptr);
        return ok;
    }

    // Stores what a creating call produced, which is 0 when it failed.
    // `created` is taken by reference so adopt(callFlat(..., &p), p) reads p
    // after the call, whatever order the arguments are evaluated in.
    template <class Native>
    bool adopt(Gdiplus::Status status, Native* const& created)
    {
        setHandle(status == Gdiplus::Ok ? created : nullptr);
        return status == Gdiplus::Ok;
    }

private:
    void* m_handle = nullptr;
};

} // namespace velkaro::gfx

#endif
