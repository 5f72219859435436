// IUnknown, the base of every COM interface, and the interface-declaration macros.
#ifndef WINSIM_UNKNWN_H
#define WINSIM_UNKNWN_H

#include "wtypes.h"

#ifndef interface
#define interface struct
#endif
#define MIDL_INTERFACE(x) struct
#define DECLSPEC_UUID(x)
#define BEGIN_INTERFACE
#define END_INTERFACE

#define STDMETHOD(method) virtual HRESULT STDMETHODCALLTYPE method
#define STDMETHOD_(type, method) virtual type STDMETHODCALLTYPE method
#define PURE = 0
#define STDMETHODIMP HRESULT STDMETHODCALLTYPE
#define STDMETHODIMP_(type) type STDMETHODCALLTYPE
#define STDAPI EXTERN_C HRESULT STDAPICALLTYPE
#define STDAPI_(type) EXTERN_C type STDAPICALLTYPE

#ifdef __cplusplus
// __uuidof(Interface) as the GCC Windows toolchains spell it: each interface header specialises
// __winsim_uuidof for its interfaces.
template <typename T> const GUID& __winsim_uuidof();
#define __uuidof(type) __winsim_uuidof<__typeof__(type)>()
#define WINSIM_UUID_DECL(type, iid) \
    template <> inline const GUID& __winsim_uuidof<type>() { return iid; } \
    template <> inline const GUID& __winsim_uuidof<type*>() { return iid; }
#define IID_PPV_ARGS(pp) __uuidof(**(pp)), reinterpret_cast<void**>(pp)
#endif

EXTERN_C const IID IID_IUnknown;

struct IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;

protected:
    ~IUnknown() {}
};
typedef IUnknown* LPUNKNOWN;

WINSIM_UUID_DECL(IUnknown, IID_IUnknown)

#endif
