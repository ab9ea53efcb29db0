// Code pages: UTF-8 is the ANSI and OEM code page here, so most programs
// convert UTF-8 <-> UTF-16; single-byte Latin-1, Windows-1252 and US-ASCII
// are there for files from elsewhere. Also the kernel32 string helpers.
#include "core/last_error.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

constexpr UINT kCodePageLatin1 = 28591;
constexpr UINT kCodePageWestern = 1252;
constexpr UINT kCodePageAscii = 20127;
constexpr char16_t kReplacement = 0xFFFD;

enum class Page { Utf8, Latin1, Western, Ascii, Unknown };

Page pageOf(UINT cp)
{
    switch (cp) {
    case CP_ACP:
    case CP_OEMCP:
    case CP_MACCP:
    case CP_THREAD_ACP:
    case CP_UTF8:
        return Page::Utf8;
    case kCodePageLatin1:
        return Page::Latin1;
    case kCodePageWestern:
        return Page::Western;
    case kCodePageAscii:
        return Page::Ascii;
    default:
        return Page::Unknown;
    }
}

// Windows-1252 bytes 0x80-0x9F; the five unassigned ones map to the C1
// control of the same value, as Windows does.
constexpr char16_t kWestern80[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                     0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// UTF-8 -> UTF-16; each ill-formed sequence (its longest valid start)
// becomes one U+FFFD. False at the first one when strict.
bool decodeUtf8(const unsigned char* s, size_t n, std::vector<char16_t>& out, bool strict)
{
    size_t i = 0;
    while (i < n) {
        unsigned b0 = s[i];
        if (b0 < 0x80) {
            out.push_back(char16_t(b0));
            ++i;
            continue;
        }
        int need;
        unsigned lo = 0x80, hi = 0xBF;
        uint32_t cp;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            need = 1;
            cp = b0 & 0x1F;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            need = 2;
            cp = b0 & 0x0F;
            if (b0 == 0xE0)
                lo = 0xA0;
            else if (b0 == 0xED)
                hi = 0x9F; // no encoded surrogates
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            need = 3;
            cp = b0 & 0x07;
            if (b0 == 0xF0)
                lo = 0x90;
            else if (b0 == 0xF4)
                hi = 0x8F;
        } else {
            if (strict)
                return false;
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        int k = 1;
        for (; k <= need; ++k) {
            if (i + size_t(k) >= n)
                break;
            unsigned b = s[i + size_t(k)];
            unsigned l = k == 1 ? lo : 0x80, h = k == 1 ? hi : 0xBF;
            if (b < l || b > h)
                break;
            cp = (cp << 6) | (b & 0x3F);
        }
        if (k <= need) {
            if (strict)
                return false;
            out.push_back(kReplacement);
            i += size_t(k);
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(char16_t(0xD800 + (cp >> 10)));
            out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(char16_t(cp));
        }
        i += size_t(need) + 1;
    }
    return true;
}

// UTF-16 -> UTF-8; a lone surrogate becomes U+FFFD, or fails when strict.
bool encodeUtf8(const char16_t* s, size_t n, std::vector<char>& out, bool strict)
{
    for (size_t i = 0; i < n; ++i) {
        uint32_t cp = s[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            if (strict)
                return false;
            cp = kReplacement;
        }
        if (cp < 0x80) {
            out.push_back(char(cp));
        } else if (cp < 0x800) {
            out.push_back(char(0xC0 | (cp >> 6)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(char(0xE0 | (cp >> 12)));
            out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(char(0xF0 | (cp >> 18)));
            out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(char(0x80 | (cp & 0x3F)));
        }
    }
    return true;
}

char16_t singleByteToWide(Page page, unsigned char b, bool& valid)
{
    valid = true;
    if (page == Page::Ascii && b >= 0x80) {
        valid = false;
        return kReplacement;
    }
    if (page == Page::Western && b >= 0x80 && b <= 0x9F)
        return kWestern80[b - 0x80];
    return char16_t(b);
}

bool wideToSingleByte(Page page, char16_t c, unsigned char& b)
{
    if (c < 0x80) {
        b = static_cast<unsigned char>(c);
        return true;
    }
    if (page == Page::Ascii)
        return false;
    if (page == Page::Western) {
        for (int i = 0; i < 32; ++i)
            if (kWestern80[i] == c) {
                b = static_cast<unsigned char>(0x80 + i);
                return true;
            }
        if (c >= 0x80 && c <= 0x9F)
            return false;
    }
    if (c <= 0xFF) {
        b = static_cast<unsigned char>(c);
        return true;
    }
    return false;
}

int lowerAscii(int c)
{
    return c >= 'A' && c <= 'Z' ? c + 32 : c;
}

// Word-sort order for ASCII letters: case is ignored first, and only breaks
// a tie, lower case before upper ("a" < "A" < "b").
int compareText(const char* a, size_t na, const char* b, size_t nb, bool ignoreCase)
{
    int tie = 0;
    size_t n = na < nb ? na : nb;
    for (size_t i = 0; i < n; ++i) {
        int ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
        int la = lowerAscii(ca), lb = lowerAscii(cb);
        if (la != lb)
            return la < lb ? -1 : 1;
        if (!tie && ca != cb)
            tie = ca > cb ? -1 : 1; // the upper-case letter has the smaller byte
    }
    if (na != nb)
        return na < nb ? -1 : 1;
    return ignoreCase ? 0 : tie;
}

} // namespace

extern "C" {

int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                               LPWSTR lpWideCharStr, int cchWideChar)
{
    Page page = pageOf(CodePage);
    if (page == Page::Unknown)
        return vk::failWith(ERROR_INVALID_PARAMETER, 0);
    if (!lpMultiByteStr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 ||
        (cchWideChar > 0 && !lpWideCharStr))
        return vk::failWith(ERROR_INVALID_PARAMETER, 0);
    const DWORD allowed = page == Page::Utf8 ? MB_ERR_INVALID_CHARS
                                             : MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS;
    if (dwFlags & ~allowed)
        return vk::failWith(ERROR_INVALID_FLAGS, 0);
    const bool strict = dwFlags & MB_ERR_INVALID_CHARS;
    // -1 means "up to and including the terminator".
    size_t n = cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : size_t(cbMultiByte);
    const auto* bytes = reinterpret_cast<const unsigned char*>(lpMultiByteStr);
    std::vector<char16_t> wide;
    wide.reserve(n);
    if (page == Page::Utf8) {
        if (!decodeUtf8(bytes, n, wide, strict))
            return vk::failWith(ERROR_NO_UNICODE_TRANSLATION, 0);
    } else {
        for (size_t i = 0; i < n; ++i) {
            bool valid;
            wide.push_back(singleByteToWide(page, bytes[i], valid));
            if (!valid && strict)
                return vk::failWith(ERROR_NO_UNICODE_TRANSLATION, 0);
        }
    }
    if (cchWideChar == 0)
        return int(wide.size());
    if (wide.size() > size_t(cchWideChar))
        return vk::failWith(ERROR_INSUFFICIENT_BUFFER, 0);
    std::memcpy(lpWideCharStr, wide.data(), wide.size() * sizeof(WCHAR));
    return int(wide.size());
}

int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar)
{
    Page page = pageOf(CodePage);
    if (page == Page::Unknown)
        return vk::failWith(ERROR_INVALID_PARAMETER, 0);
    if (!lpWideCharStr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 ||
        (cbMultiByte > 0 && !lpMultiByteStr))
        return vk::failWith(ERROR_INVALID_PARAMETER, 0);
    if (page == Page::Utf8) {
        // UTF-8 can say everything: a default character makes no sense for it.
        if (lpDefaultChar || lpUsedDefaultChar)
            return vk::failWith(ERROR_INVALID_PARAMETER, 0);
        if (dwFlags & ~DWORD(WC_ERR_INVALID_CHARS))
            return vk::failWith(ERROR_INVALID_FLAGS, 0);
    }
    size_t n = 0;
    if (cchWideChar == -1) {
        while (lpWideCharStr[n])
            ++n;
        ++n;
    } else {
        n = size_t(cchWideChar);
    }
    std::vector<char> out;
    out.reserve(n * 3);
    if (lpUsedDefaultChar)
        *lpUsedDefaultChar = FALSE;
    if (page == Page::Utf8) {
        if (!encodeUtf8(lpWideCharStr, n, out, dwFlags & WC_ERR_INVALID_CHARS))
            return vk::failWith(ERROR_NO_UNICODE_TRANSLATION, 0);
    } else {
        const char fallback = lpDefaultChar ? lpDefaultChar[0] : '?';
        for (size_t i = 0; i < n; ++i) {
            unsigned char b;
            if (wideToSingleByte(page, lpWideCharStr[i], b)) {
                out.push_back(char(b));
            } else {
                // A surrogate pair is one character and gets one default byte.
                if (lpWideCharStr[i] >= 0xD800 && lpWideCharStr[i] <= 0xDBFF && i + 1 < n &&
                    lpWideCharStr[i + 1] >= 0xDC00 && lpWideCharStr[i + 1] <= 0xDFFF)
                    ++i;
                out.push_back(fallback);
                if (lpUsedDefaultChar)
                    *lpUsedDefaultChar = TRUE;
            }
        }
    }
    if (cbMultiByte == 0)
        return int(out.size());
    if (out.size() > size_t(cbMultiByte))
        return vk::failWith(ERROR_INSUFFICIENT_BUFFER, 0);
    std::memcpy(lpMultiByteStr, out.data(), out.size());
    return int(out.size());
}

UINT WINAPI GetACP(void)
{
    return CP_UTF8;
}

UINT WINAPI GetOEMCP(void)
{
    return CP_UTF8;
}

BOOL WINAPI IsValidCodePage(UINT CodePage)
{
    return CodePage != CP_ACP && CodePage != CP_OEMCP && CodePage != CP_MACCP && CodePage != CP_THREAD_ACP &&
           pageOf(CodePage) != Page::Unknown;
}

BOOL WINAPI IsDBCSLeadByte(BYTE)
{
    return FALSE; // UTF-8 is not a double-byte code page
}

BOOL WINAPI IsDBCSLeadByteEx(UINT, BYTE)
{
    return FALSE;
}

int WINAPI CompareStringA(LCID, DWORD dwCmpFlags, LPCSTR lpString1, int cchCount1, LPCSTR lpString2,
                          int cchCount2)
{
    if (!lpString1 || !lpString2 || cchCount1 < -1 || cchCount2 < -1)
        return vk::failWith(ERROR_INVALID_PARAMETER, 0);
    size_t n1 = cchCount1 == -1 ? std::strlen(lpString1) : strnlen(lpString1, size_t(cchCount1));
    size_t n2 = cchCount2 == -1 ? std::strlen(lpString2) : strnlen(lpString2, size_t(cchCount2));
    int c = compareText(lpString1, n1, lpString2, n2, dwCmpFlags & (NORM_IGNORECASE | LINGUISTIC_IGNORECASE));
    return c < 0 ? CSTR_LESS_THAN : c > 0 ? CSTR_GREATER_THAN : CSTR_EQUAL;
}

LCID WINAPI GetUserDefaultLCID(void)
{
    return 0x0409;
}
LCID WINAPI GetSystemDefaultLCID(void)
{
    return 0x0409;
}
LCID WINAPI GetThreadLocale(void)
{
    return 0x0409;
}
LANGID WINAPI GetUserDefaultLangID(void)
{
    return 0x0409;
}
LANGID WINAPI GetSystemDefaultLangID(void)
{
    return 0x0409;
}
LANGID WINAPI GetUserDefaultUILanguage(void)
{
    return 0x0409;
}

int WINAPI lstrlenA(LPCSTR lpString)
{
    return lpString ? int(std::strlen(lpString)) : 0;
}

int WINAPI lstrlenW(LPCWSTR lpString)
{
    if (!lpString)
        return 0;
    int n = 0;
    while (lpString[n])
        ++n;
    return n;
}

LPSTR WINAPI lstrcpyA(LPSTR lpString1, LPCSTR lpString2)
{
    if (!lpString1 || !lpString2)
        return nullptr;
    return std::strcpy(lpString1, lpString2);
}

LPSTR WINAPI lstrcpynA(LPSTR lpString1, LPCSTR lpString2, int iMaxLength)
{
    if (!lpString1 || !lpString2 || iMaxLength <= 0)
        return iMaxLength == 0 ? lpString1 : nullptr;
    size_t n = strnlen(lpString2, size_t(iMaxLength - 1));
    std::memmove(lpString1, lpString2, n);
    lpString1[n] = '\0';
    return lpString1;
}

LPSTR WINAPI lstrcatA(LPSTR lpString1, LPCSTR lpString2)
{
    if (!lpString1 || !lpString2)
        return nullptr;
    return std::strcat(lpString1, lpString2);
}

int WINAPI lstrcmpA(LPCSTR lpString1, LPCSTR lpString2)
{
    if (!lpString1 || !lpString2)
        return lpString1 == lpString2 ? 0 : lpString1 ? 1 : -1;
    return CompareStringA(LOCALE_USER_DEFAULT, 0, lpString1, -1, lpString2, -1) - CSTR_EQUAL;
}

int WINAPI lstrcmpiA(LPCSTR lpString1, LPCSTR lpString2)
{
    if (!lpString1 || !lpString2)
        return lpString1 == lpString2 ? 0 : lpString1 ? 1 : -1;
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, lpString1, -1, lpString2, -1) - CSTR_EQUAL;
}

} // extern "C"
