// The list of cached memory DCs.
#include <velkaro/gfx/dc_cache.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace velkaro::gfx {

namespace {

std::unique_ptr<std::vector<CachedDc>>& cache()
{
    static std::unique_ptr<std::vector<CachedDc>> list;
    return list;
}

std::vector<CachedDc>::iterator entryOf(std::vector<CachedDc>& list, HDC dc)
{
    return std::find_if(list.begin(), list.end(), [dc](const CachedDc& e) { return e.dc == dc; });
}

} // namespace

void createDcCache()
{
    if (!cache())
        cache() = std::make_unique<std::vector<CachedDc>>();
}

void freeDcCache()
{
    cache().reset();
}

void cacheDc(HDC dc, HBITMAP bitmap, HBITMAP previous)
{
    createDcCache();
    std::vector<CachedDc>& list = *cache();
    auto it = entryOf(list, dc);
    if (it != list.end()) {
        it->bitmap = bitmap;
        it->previous = previous;
    } else {
        list.push_back({dc, bitmap, previous});
    }
}

int releaseCachedDc(HDC dc)
{
    if (!dc || !cache())
        return 0;
    std::vector<CachedDc>& list = *cache();
    auto it = entryOf(list, dc);
    if (it == list.end())
        return 0;
    HGDIOBJ deselected = SelectObject(dc, it->previous);
    if (deselected)
        DeleteObject(deselected);
    DeleteDC(dc);
    list.erase(it);
    return 1;
}

size_t dcCacheCount()
{
    return cache() ? cache()->size() : 0;
}

const CachedDc* findCachedDc(HDC dc)
{
    if (!cache())
        return nullptr;
    auto it = entryOf(*cache(), dc);
    return it != cache()->end() ? &*it : nullptr;
}

} // namespace velkaro::gfx
