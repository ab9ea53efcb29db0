/* IUnknown, the root of every COM interface, with the method order of the
 * system's vtable. The interfaces are C++ abstract classes; C code sees them
 * as opaque types. */
#ifndef VELKARO_UNKNWN_H
#define VELKARO_UNKNWN_H

#include <windef.h>

#define STDMETHOD(method) virtual HRESULT STDMETHODCALLTYPE method
#define STDMETHOD_(type, method) virtual type STDMETHODCALLTYPE method
#define STDMETHODIMP HRESULT STDMETHODCALLTYPE
#define STDMETHODIMP_(type) type STDMETHODCALLTYPE
#define STDAPI VK_EXTERN_C HRESULT WINAPI
#define STDAPI_(type) VK_EXTERN_C type WINAPI
#define PURE = 0
#define THIS_
#define THIS void

VK_BEGIN_C
extern const IID IID_IUnknown;
VK_END_C

#ifdef __cplusplus
struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;
};
#else
typedef struct IUnknown IUnknown;
#endif
typedef IUnknown* LPUNKNOWN;

#endif
