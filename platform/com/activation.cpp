// Object creation and proxy security. The only creatable class is the WMI locator, an
// in-process server; the WMI service supplies the object.
#include <windows.h>
#include <wbemidl.h>
#include <cstdio>
#include <string>
#include "sim/guarded_call.h"
#include "sim/sim.h"

namespace winsim {

// Stands in while the WMI service is not linked into the library; its definition wins.
__attribute__((weak)) HRESULT createWbemLocator(REFIID, void** ppv)
{
    *ppv = nullptr;
    return REGDB_E_CLASSNOTREG;
}

}  // namespace winsim

namespace {

std::string guidText(REFGUID guid)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  guid.Data1, guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2],
                  guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return buffer;
}

// *ppv is already null.
HRESULT createInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                       LPVOID* ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    if (rclsid != CLSID_WbemLocator || (dwClsContext & CLSCTX_INPROC_SERVER) == 0)
        return REGDB_E_CLASSNOTREG;
    if (pUnkOuter != nullptr)
        return CLASS_E_NOAGGREGATION;
    return winsim::createWbemLocator(riid, ppv);
}

}  // namespace

extern "C" {

HRESULT WINAPI CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext,
                                REFIID riid, LPVOID* ppv)
{
    if (ppv != nullptr)
        *ppv = nullptr;
    HRESULT hr = winsim::guardedCall(E_OUTOFMEMORY, [&] {
        HRESULT faulted;
        if (winsim::fault("CoCreateInstance", {}, &faulted))
            return faulted;
        return createInstance(rclsid, pUnkOuter, dwClsContext, riid, ppv);
    });
    winsim::logCall(
        [&] { return "CoCreateInstance " + guidText(rclsid) + " = " + winsim::hresultText(hr); });
    return hr;
}

HRESULT WINAPI CoSetProxyBlanket(IUnknown* pProxy, DWORD dwAuthnSvc, DWORD dwAuthzSvc, OLECHAR*,
                                 DWORD dwAuthnLevel, DWORD dwImpLevel, RPC_AUTH_IDENTITY_HANDLE,
                                 DWORD dwCapabilities)
{
    HRESULT hr = winsim::guardedCall(E_OUTOFMEMORY, [&] {
        HRESULT faulted;
        if (winsim::fault("CoSetProxyBlanket", {}, &faulted))
            return faulted;
        return pProxy == nullptr ? E_INVALIDARG : S_OK;
    });
    winsim::logCall([&] {
        return "CoSetProxyBlanket authn=" + std::to_string(dwAuthnSvc) +
               " authz=" + std::to_string(dwAuthzSvc) + " level=" + std::to_string(dwAuthnLevel) +
               " imp=" + std::to_string(dwImpLevel) + " caps=" + std::to_string(dwCapabilities) +
               " = " + winsim::hresultText(hr);
    });
    return hr;
}

}  // extern "C"
