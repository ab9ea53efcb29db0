// COM basics: the interface ids, apartment start-up, task memory and GUIDs
// as text ("{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}").
#include "core/last_error.h"

#include <objbase.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" {

const GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IStream = {0x0000000C, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_ISequentialStream = {0x0C733A30, 0x2A1C, 0x11CE, {0xAD, 0xE5, 0x00, 0xAA, 0x00, 0x44, 0x77, 0x3D}};

} // extern "C"

namespace {

// Per thread: how many times CoInitialize succeeded without a matching CoUninitialize.
thread_local int t_comInits = 0;

int hexValue(WCHAR c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Reads digits hex digits at s into value.
bool readHex(const WCHAR* s, int digits, uint64_t& value)
{
    value = 0;
    for (int i = 0; i < digits; ++i) {
        int v = hexValue(s[i]);
        if (v < 0)
            return false;
        value = (value << 4) | uint64_t(v);
    }
    return true;
}

bool parseGuid(LPCOLESTR s, GUID& g)
{
    // {8-4-4-4-12}: 38 characters, then the end of the text.
    static const int groups[] = {8, 4, 4, 4, 12};
    if (s[0] != u'{')
        return false;
    const WCHAR* p = s + 1;
    uint64_t v[5];
    for (int i = 0; i < 5; ++i) {
        for (int k = 0; k < groups[i]; ++k)
            if (!p[k])
                return false;
        if (!readHex(p, groups[i], v[i]))
            return false;
        p += groups[i];
        if (*p != (i < 4 ? u'-' : u'}'))
            return false;
        ++p;
    }
    if (*p)
        return false;
    g.Data1 = uint32_t(v[0]);
    g.Data2 = uint16_t(v[1]);
    g.Data3 = uint16_t(v[2]);
    g.Data4[0] = uint8_t(v[3] >> 8);
    g.Data4[1] = uint8_t(v[3]);
    for (int i = 0; i < 6; ++i)
        g.Data4[2 + i] = uint8_t(v[4] >> (40 - 8 * i));
    return true;
}

} // namespace

extern "C" {

HRESULT WINAPI CoInitializeEx(LPVOID, DWORD)
{
    return t_comInits++ == 0 ? S_OK : S_FALSE;
}

HRESULT WINAPI CoInitialize(LPVOID pvReserved)
{
    return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED);
}

void WINAPI CoUninitialize(void)
{
    if (t_comInits > 0)
        --t_comInits;
}

LPVOID WINAPI CoTaskMemAlloc(SIZE_T cb)
{
    return std::malloc(cb ? cb : 1);
}

LPVOID WINAPI CoTaskMemRealloc(LPVOID pv, SIZE_T cb)
{
    return std::realloc(pv, cb ? cb : 1);
}

void WINAPI CoTaskMemFree(LPVOID pv)
{
    std::free(pv);
}

HRESULT WINAPI CoCreateInstance(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID* ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    // No class is registered on this platform.
    return REGDB_E_CLASSNOTREG;
}

HRESULT WINAPI CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid)
{
    if (!pclsid)
        return E_INVALIDARG;
    if (!lpsz) {
        *pclsid = GUID_NULL;
        return S_OK;
    }
    GUID g;
    if (!parseGuid(lpsz, g)) {
        *pclsid = GUID_NULL;
        return CO_E_CLASSSTRING;
    }
    *pclsid = g;
    return S_OK;
}

HRESULT WINAPI IIDFromString(LPCOLESTR lpsz, LPIID lpiid)
{
    HRESULT hr = CLSIDFromString(lpsz, lpiid);
    return hr == CO_E_CLASSSTRING ? E_INVALIDARG : hr;
}

int WINAPI StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax)
{
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", unsigned(rguid.Data1),
                  unsigned(rguid.Data2), unsigned(rguid.Data3), rguid.Data4[0], rguid.Data4[1], rguid.Data4[2],
                  rguid.Data4[3], rguid.Data4[4], rguid.Data4[5], rguid.Data4[6], rguid.Data4[7]);
    const int needed = 39; // 38 characters and the terminator
    if (!lpsz || cchMax < needed)
        return 0;
    for (int i = 0; i < needed; ++i)
        lpsz[i] = WCHAR(static_cast<unsigned char>(text[i]));
    return needed;
}

HRESULT WINAPI StringFromCLSID(REFCLSID rclsid, LPOLESTR* lplpsz)
{
    if (!lplpsz)
        return E_INVALIDARG;
    *lplpsz = static_cast<LPOLESTR>(CoTaskMemAlloc(39 * sizeof(OLECHAR)));
    if (!*lplpsz)
        return E_OUTOFMEMORY;
    StringFromGUID2(rclsid, *lplpsz, 39);
    return S_OK;
}

} // extern "C"
