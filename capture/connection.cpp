#include "connection.h"

#include <objbase.h>

#include "com/scoped_bstr.h"

ComApartment::ComApartment() : m_hr(CoInitializeEx(NULL, COINIT_MULTITHREADED)) {}

ComApartment::~ComApartment()
{
    // Every successful CoInitializeEx, S_FALSE included, is balanced by one CoUninitialize.
    if (SUCCEEDED(m_hr))
        CoUninitialize();
}

HRESULT connectNamespace(const std::wstring& nameSpace, IWbemServices** services, const char** step)
{
    *services = NULL;
    HRESULT hr = CoInitializeSecurity(NULL, -1, NULL, NULL, RPC_C_AUTHN_LEVEL_DEFAULT,
                                      RPC_C_IMP_LEVEL_IMPERSONATE, NULL, EOAC_NONE, NULL);
    // RPC_E_TOO_LATE: security was settled earlier in the process; it serves.
    if (FAILED(hr) && hr != RPC_E_TOO_LATE) {
        *step = "CoInitializeSecurity";
        return hr;
    }

    ScopedComPtr<IWbemLocator> locator;
    hr = CoCreateInstance(CLSID_WbemLocator, NULL, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                          reinterpret_cast<void**>(locator.Receive()));
    if (FAILED(hr)) {
        *step = "CoCreateInstance(WbemLocator)";
        return hr;
    }

    ScopedComPtr<IWbemServices> connected;
    {
        ScopedBstr resource(nameSpace.c_str());
        hr = locator->ConnectServer(resource.Get(), NULL, NULL, NULL, 0, NULL, NULL, connected.Receive());
    }
    if (FAILED(hr)) {
        *step = "ConnectServer";
        return hr;
    }

    hr = CoSetProxyBlanket(connected.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, NULL, RPC_C_AUTHN_LEVEL_CALL,
                           RPC_C_IMP_LEVEL_IMPERSONATE, NULL, EOAC_NONE);
    if (FAILED(hr)) {
        *step = "CoSetProxyBlanket";
        return hr;
    }
    *services = connected.Detach();
    return S_OK;
}
