// The clipboard inside the program: it owns the memory handed to it and
// converts between CF_TEXT (UTF-8 here) and CF_UNICODETEXT on request.
#include "core/last_error.h"
#include "user/window.h"

#include <windows.h>

#include <map>
#include <string>

namespace {

struct Clipboard {
    bool open = false;
    HWND opener = nullptr;
    HWND owner = nullptr;
    std::map<UINT, HGLOBAL> data; // what was set
    std::map<UINT, HGLOBAL> synthesized; // conversions made on request
};

Clipboard& board()
{
    static Clipboard c;
    return c;
}

void freeAll()
{
    Clipboard& c = board();
    for (auto& [fmt, h] : c.data)
        if (h)
            GlobalFree(h);
    for (auto& [fmt, h] : c.synthesized)
        if (h)
            GlobalFree(h);
    c.data.clear();
    c.synthesized.clear();
}

bool isText(UINT f) { return f == CF_TEXT || f == CF_UNICODETEXT || f == CF_OEMTEXT; }

HGLOBAL convert(HGLOBAL src, UINT from, UINT to)
{
    SIZE_T size = GlobalSize(src);
    const void* p = GlobalLock(src);
    if (!p)
        return nullptr;
    HGLOBAL out = nullptr;
    if (from == CF_UNICODETEXT) {
        const WCHAR* w = static_cast<const WCHAR*>(p);
        int n = 0;
        while (SIZE_T(n + 1) * 2 <= size && w[n])
            ++n;
        int bytes = WideCharToMultiByte(CP_UTF8, 0, w, n, nullptr, 0, nullptr, nullptr);
        out = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, SIZE_T(bytes) + 1);
        if (char* d = out ? static_cast<char*>(GlobalLock(out)) : nullptr) {
            if (bytes)
                WideCharToMultiByte(CP_UTF8, 0, w, n, d, bytes, nullptr, nullptr);
            GlobalUnlock(out);
        }
    } else if (to == CF_UNICODETEXT) {
        const char* a = static_cast<const char*>(p);
        int n = 0;
        while (SIZE_T(n) < size && a[n])
            ++n;
        int chars = MultiByteToWideChar(CP_UTF8, 0, a, n, nullptr, 0);
        out = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (SIZE_T(chars) + 1) * 2);
        if (WCHAR* d = out ? static_cast<WCHAR*>(GlobalLock(out)) : nullptr) {
            if (chars)
                MultiByteToWideChar(CP_UTF8, 0, a, n, d, chars);
            GlobalUnlock(out);
        }
    } else { // CF_TEXT <-> CF_OEMTEXT: one code page here
        out = GlobalAlloc(GMEM_MOVEABLE, size);
        if (void* d = out ? GlobalLock(out) : nullptr) {
            memcpy(d, p, size);
            GlobalUnlock(out);
        }
    }
    GlobalUnlock(src);
    return out;
}

} // namespace

BOOL WINAPI OpenClipboard(HWND owner)
{
    Clipboard& c = board();
    if (owner && !vk::user::checked(owner))
        return FALSE;
    if (c.open)
        return vk::failWith(ERROR_ACCESS_DENIED, FALSE);
    c.open = true;
    c.opener = owner;
    return TRUE;
}

BOOL WINAPI CloseClipboard(void)
{
    Clipboard& c = board();
    if (!c.open)
        return vk::failWith(ERROR_CLIPBOARD_NOT_OPEN, FALSE);
    c.open = false;
    c.opener = nullptr;
    return TRUE;
}

BOOL WINAPI EmptyClipboard(void)
{
    Clipboard& c = board();
    if (!c.open)
        return vk::failWith(ERROR_CLIPBOARD_NOT_OPEN, FALSE);
    freeAll();
    c.owner = c.opener;
    return TRUE;
}

HANDLE WINAPI SetClipboardData(UINT format, HANDLE mem)
{
    Clipboard& c = board();
    if (!c.open)
        return vk::failWith<HANDLE>(ERROR_CLIPBOARD_NOT_OPEN, nullptr);
    if (format == 0)
        return vk::failWith<HANDLE>(ERROR_INVALID_PARAMETER, nullptr);
    if (mem && !GlobalSize(mem))
        return vk::failWith<HANDLE>(ERROR_INVALID_HANDLE, nullptr);
    auto it = c.data.find(format);
    if (it != c.data.end() && it->second && it->second != mem)
        GlobalFree(it->second);
    c.data[format] = mem;
    // Conversions made from the old data are stale now.
    for (auto& [fmt, h] : c.synthesized)
        if (h)
            GlobalFree(h);
    c.synthesized.clear();
    return mem;
}

HANDLE WINAPI GetClipboardData(UINT format)
{
    Clipboard& c = board();
    if (!c.open)
        return vk::failWith<HANDLE>(ERROR_CLIPBOARD_NOT_OPEN, nullptr);
    auto it = c.data.find(format);
    if (it != c.data.end())
        return it->second;
    auto syn = c.synthesized.find(format);
    if (syn != c.synthesized.end())
        return syn->second;
    if (isText(format)) {
        for (UINT from : {UINT(CF_UNICODETEXT), UINT(CF_TEXT), UINT(CF_OEMTEXT)}) {
            auto src = c.data.find(from);
            if (src != c.data.end() && src->second) {
                HGLOBAL h = convert(src->second, from, format);
                c.synthesized[format] = h;
                return h;
            }
        }
    }
    return vk::failWith<HANDLE>(ERROR_INVALID_PARAMETER, nullptr);
}

BOOL WINAPI IsClipboardFormatAvailable(UINT format)
{
    Clipboard& c = board();
    if (c.data.count(format))
        return TRUE;
    if (isText(format))
        for (UINT f : {UINT(CF_UNICODETEXT), UINT(CF_TEXT), UINT(CF_OEMTEXT)})
            if (c.data.count(f))
                return TRUE;
    return FALSE;
}
