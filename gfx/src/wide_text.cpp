// ANSI code page to UTF-16 for the GDI+ wrappers.
#include <velkaro/gfx/wide_text.h>

#include <cstring>

namespace velkaro::gfx {

WideString toWide(const char* text)
{
    if (!text || !*text)
        return {};
    // Asked with the terminator, converted without it: the buffer's zero
    // fill is the terminator.
    int needed = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (needed <= 0)
        return {};
    WideString wide(size_t(needed), WCHAR(0));
    int converted = MultiByteToWideChar(CP_ACP, 0, text, int(strlen(text)), wide.data(), needed);
    wide.resize(converted > 0 ? size_t(converted) : 0);
    return wide;
}

} // namespace velkaro::gfx
