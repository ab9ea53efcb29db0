/* COM basics: initialisation, task memory, GUID text and comparison, and
 * streams on global memory (CreateStreamOnHGlobal), which GDI+ reads
 * pictures from and saves them to. */
#ifndef VELKARO_OBJBASE_H
#define VELKARO_OBJBASE_H

#include <string.h>
#include <windef.h>
#include <winbase.h>
#include <objidl.h>

#ifndef REGDB_E_CLASSNOTREG
#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154)
#endif
#ifndef CLASS_E_NOAGGREGATION
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110)
#endif
#ifndef RPC_E_CHANGED_MODE
#define RPC_E_CHANGED_MODE ((HRESULT)0x80010106)
#endif
#ifndef CO_E_NOTINITIALIZED
#define CO_E_NOTINITIALIZED ((HRESULT)0x800401F0)
#endif
#ifndef STG_E_SEEKERROR
#define STG_E_SEEKERROR ((HRESULT)0x80030019)
#endif
#ifndef STG_E_INVALIDFLAG
#define STG_E_INVALIDFLAG ((HRESULT)0x800300FF)
#endif
#ifndef STG_E_INVALIDPARAMETER
#define STG_E_INVALIDPARAMETER ((HRESULT)0x80030057)
#endif

typedef enum tagCOINIT {
    COINIT_APARTMENTTHREADED = 0x2,
    COINIT_MULTITHREADED = 0x0,
    COINIT_DISABLE_OLE1DDE = 0x4,
    COINIT_SPEED_OVER_MEMORY = 0x8
} COINIT;

#define CLSCTX_INPROC_SERVER 0x1
#define CLSCTX_INPROC_HANDLER 0x2
#define CLSCTX_LOCAL_SERVER 0x4
#define CLSCTX_ALL (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER)

/* DEFINE_GUID gives every translation unit its own copy: there is no linker
 * section trick to share one, and comparisons are by value anyway. */
#define DEFINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
    static const GUID name __attribute__((unused)) = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}

VK_BEGIN_C

extern const GUID GUID_NULL;
#define CLSID_NULL GUID_NULL
#define IID_NULL GUID_NULL

WINBASEAPI HRESULT WINAPI CoInitialize(LPVOID pvReserved);
WINBASEAPI HRESULT WINAPI CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit);
WINBASEAPI void WINAPI CoUninitialize(void);
WINBASEAPI LPVOID WINAPI CoTaskMemAlloc(SIZE_T cb);
WINBASEAPI LPVOID WINAPI CoTaskMemRealloc(LPVOID pv, SIZE_T cb);
WINBASEAPI void WINAPI CoTaskMemFree(LPVOID pv);
WINBASEAPI HRESULT WINAPI CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                                           LPVOID* ppv);

WINBASEAPI HRESULT WINAPI CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid);
WINBASEAPI HRESULT WINAPI IIDFromString(LPCOLESTR lpsz, LPIID lpiid);
WINBASEAPI int WINAPI StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax);
WINBASEAPI HRESULT WINAPI StringFromCLSID(REFCLSID rclsid, LPOLESTR* lplpsz);

WINBASEAPI HRESULT WINAPI CreateStreamOnHGlobal(HGLOBAL hGlobal, BOOL fDeleteOnRelease, LPSTREAM* ppstm);
WINBASEAPI HRESULT WINAPI GetHGlobalFromStream(LPSTREAM pstm, HGLOBAL* phglobal);

VK_END_C

#ifdef __cplusplus
inline bool IsEqualGUID(REFGUID a, REFGUID b)
{
    return memcmp(&a, &b, sizeof(GUID)) == 0;
}
inline bool InlineIsEqualGUID(REFGUID a, REFGUID b)
{
    return IsEqualGUID(a, b);
}
inline bool operator==(REFGUID a, REFGUID b)
{
    return IsEqualGUID(a, b);
}
inline bool operator!=(REFGUID a, REFGUID b)
{
    return !IsEqualGUID(a, b);
}
#else
static inline int IsEqualGUID(REFGUID a, REFGUID b)
{
    return memcmp(a, b, sizeof(GUID)) == 0;
}
#define InlineIsEqualGUID IsEqualGUID
#endif
#define IsEqualIID(a, b) IsEqualGUID(a, b)
#define IsEqualCLSID(a, b) IsEqualGUID(a, b)

#endif
