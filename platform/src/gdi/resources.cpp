// Icon and bitmap resources registered by the program (velkaro/resources.h).
#include "core/last_error.h"
#include "gdi/icon_object.h"

#include <velkaro/resources.h>
#include <winerror.h>

#include <cctype>
#include <cstdlib>
#include <map>

namespace vk::gdi {

namespace {

// Resource names compare without case; "#123" names the number 123.
std::string normalName(const char* name)
{
    if (IS_INTRESOURCE(name))
        return "#" + std::to_string(unsigned(reinterpret_cast<uintptr_t>(name)));
    std::string s = name;
    if (s.size() > 1 && s[0] == '#') {
        char* end = nullptr;
        unsigned long v = std::strtoul(s.c_str() + 1, &end, 10);
        if (end && !*end)
            return "#" + std::to_string(v);
    }
    for (char& c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

using Table = std::map<std::pair<uintptr_t, std::string>, Picture>;

Table& icons()
{
    static Table t;
    return t;
}

Table& bitmaps()
{
    static Table t;
    return t;
}

BOOL registerIn(Table& t, HINSTANCE inst, LPCSTR name, int w, int h, const DWORD* px)
{
    if (!name || !px || w <= 0 || h <= 0 || w > 4096 || h > 4096)
        return failWith(ERROR_INVALID_PARAMETER, FALSE);
    Picture p;
    p.width = w;
    p.height = h;
    p.pixels.assign(px, px + size_t(w) * size_t(h));
    t[{reinterpret_cast<uintptr_t>(inst), normalName(name)}] = std::move(p);
    return TRUE;
}

const Picture* findIn(Table& t, HINSTANCE inst, const char* name)
{
    if (!name)
        return nullptr;
    std::string n = normalName(name);
    auto it = t.find({reinterpret_cast<uintptr_t>(inst), n});
    // Resources registered for the program (NULL) serve its module handle too.
    if (it == t.end())
        it = t.find({0, n});
    return it == t.end() ? nullptr : &it->second;
}

} // namespace

std::string resourceKey(HINSTANCE inst, const char* name)
{
    return std::to_string(reinterpret_cast<uintptr_t>(inst)) + ":" + normalName(name);
}

const Picture* findIconResource(HINSTANCE inst, const char* name) { return findIn(icons(), inst, name); }
const Picture* findBitmapResource(HINSTANCE inst, const char* name) { return findIn(bitmaps(), inst, name); }

} // namespace vk::gdi

BOOL WINAPI VkRegisterIconResource(HINSTANCE inst, LPCSTR name, int w, int h, const DWORD* px)
{
    return vk::gdi::registerIn(vk::gdi::icons(), inst, name, w, h, px);
}

BOOL WINAPI VkRegisterBitmapResource(HINSTANCE inst, LPCSTR name, int w, int h, const DWORD* px)
{
    return vk::gdi::registerIn(vk::gdi::bitmaps(), inst, name, w, h, px);
}
