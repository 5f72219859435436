#include "capture/connection.h"

#include <objbase.h>

#include "capture/capture_error.h"
#include "com/scoped_bstr.h"
#include "com/scoped_com_ptr.h"

namespace quillet::capture {

void connectNamespace(const std::wstring& nameSpace, IWbemServices** services)
{
    *services = NULL;
    HRESULT hr = CoInitializeSecurity(NULL, -1, NULL, NULL, RPC_C_AUTHN_LEVEL_DEFAULT,
                                      RPC_C_IMP_LEVEL_IMPERSONATE, NULL, EOAC_NONE, NULL);
    // RPC_E_TOO_LATE: security was settled earlier in the process; it serves.
    if (hr != RPC_E_TOO_LATE)
        checkCall(hr, "CoInitializeSecurity", "");

    ScopedComPtr<IWbemLocator> locator;
    hr = CoCreateInstance(CLSID_WbemLocator, NULL, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                          reinterpret_cast<void**>(locator.Receive()));
    checkCall(hr, locator.Get(), "CoCreateInstance(WbemLocator)", "");

    ScopedComPtr<IWbemServices> connected;
    {
        ScopedBstr resource(nameSpace.c_str());
        hr = locator->ConnectServer(resource.Get(), NULL, NULL, NULL, 0, NULL, NULL,
                                    connected.Receive());
    }
    checkCall(hr, connected.Get(), "ConnectServer", "");

    hr = CoSetProxyBlanket(connected.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, NULL,
                           RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, NULL, EOAC_NONE);
    checkCall(hr, "CoSetProxyBlanket", "");
    *services = connected.Detach();
}

}  // namespace quillet::capture
