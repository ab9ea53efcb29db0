// GDI+'s allocator, through the table.
#include <velkaro/gfx/gdip_object.h>

namespace velkaro::gfx {

void* GdipObject::gdipAlloc(size_t size)
{
    FlatApi& api = flatApi();
    return api.GdipAlloc ? api.GdipAlloc(size) : nullptr;
}

void GdipObject::gdipFree(void* p)
{
    FlatApi& api = flatApi();
    if (api.GdipFree && p)
        api.GdipFree(p);
}

} // namespace velkaro::gfx
