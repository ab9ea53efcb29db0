// Loads the GDI+ flat functions from gdiplus.dll into the table.
#include <velkaro/gfx/flat_api.h>

namespace velkaro::gfx {

namespace {

// Through void*, so the compiler does not take it for a cast between
// unrelated function types.
template <class Fn>
Fn resolve(HMODULE module, const char* name)
{
    if (!module)
        return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

FlatApi loadFlatApi()
{
    FlatApi api;
    api.module = LoadLibraryA("gdiplus.dll");
#define VK_GFX_FLAT_LOAD(ns, name) api.name = resolve<decltype(api.name)>(api.module, #name);
    VK_GFX_FLAT_FUNCTIONS(VK_GFX_FLAT_LOAD)
#undef VK_GFX_FLAT_LOAD
    return api;
}

} // namespace

FlatApi& flatApi()
{
    // The module stays loaded for the life of the process, as the engine's
    // wrappers may run during static destruction.
    static FlatApi api = loadFlatApi();
    return api;
}

bool startGdiplus(ULONG_PTR* token)
{
    if (!token)
        return refuseCall(Gdiplus::InvalidParameter);
    *token = 0;
    Gdiplus::GdiplusStartupInput input;
    return callFlatOk(&FlatApi::GdiplusStartup, token, &input, nullptr);
}

void stopGdiplus(ULONG_PTR token)
{
    FlatApi& api = flatApi();
    if (api.GdiplusShutdown && token)
        api.GdiplusShutdown(token);
}

} // namespace velkaro::gfx
