#include "wmi_session.h"

#include <string>

#include "com/scoped_bstr.h"

using quillet::ScopedBstr;
using quillet::ScopedComPtr;

WmiSession::WmiSession()
{
    // Process-wide: a test that ran an engine before has set it already (RPC_E_TOO_LATE).
    CoInitializeSecurity(NULL, -1, NULL, NULL, RPC_C_AUTHN_LEVEL_DEFAULT,
                         RPC_C_IMP_LEVEL_IMPERSONATE, NULL, EOAC_NONE, NULL);
}

HRESULT WmiSession::connect(const wchar_t* namespaceName)
{
    HRESULT hr = CoCreateInstance(CLSID_WbemLocator, NULL, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                  reinterpret_cast<void**>(m_locator.Receive()));
    if (FAILED(hr)) {
        return hr;
    }
    ScopedBstr resource(namespaceName);
    hr = m_locator->ConnectServer(resource.Get(), NULL, NULL, NULL, 0, NULL, NULL,
                                  m_services.Receive());
    if (FAILED(hr)) {
        return hr;
    }
    return CoSetProxyBlanket(m_services.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, NULL,
                             RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, NULL, EOAC_NONE);
}

HRESULT WmiSession::firstInstance(const wchar_t* className, IWbemClassObject** ppFirst,
                                  ULONG* pCount)
{
    *ppFirst = NULL;
    *pCount = 0;
    ScopedBstr language(L"WQL");
    ScopedBstr query((std::wstring(L"SELECT * FROM ") + className).c_str());
    ScopedComPtr<IEnumWbemClassObject> instances;
    HRESULT hr = m_services->ExecQuery(language.Get(), query.Get(),
                                       WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, NULL,
                                       instances.Receive());
    if (FAILED(hr)) {
        return hr;
    }
    for (;;) {
        ScopedComPtr<IWbemClassObject> instance;
        ULONG returned = 0;
        hr = instances->Next(WBEM_INFINITE, 1, instance.Receive(), &returned);
        if (returned == 0) {
            return FAILED(hr) ? hr : S_OK;
        }
        if (++*pCount == 1) {
            *ppFirst = instance.Detach();
        }
    }
}
