// COM initialisation and the connection to ROOT\WMI.
#include "engine/wmifacade.h"
#include "engine/hresult_trace.h"
#include "com/scoped_bstr.h"
#include "com/scoped_com_ptr.h"

#include <objbase.h>
#include <iostream>

using quillet::ScopedBstr;
using quillet::ScopedComPtr;

int WMIFacade::initializeCOM()
{
    HRESULT hr = CoInitializeEx(NULL, COINIT_MULTITHREADED);
    if (hr == S_OK || hr == RPC_E_CHANGED_MODE) {
        traceHresult("CoInitializeEx returned S_OK || RPC_E_CHANGED_MODE hres = 0x", hr);
        // RPC_E_CHANGED_MODE: the host initialised this thread's COM in another model and did
        // not count us in; uninitialising would tear down the host's apartment.
        if (hr == S_OK)
            m_bUninitializeCOM = true;
    } else if (hr == S_FALSE) {
        std::cout << "CoInitializeEx returned S_FALSE" << std::endl;
    } else if (FAILED(hr)) {
        traceHresult("Failed to initialize COM library. Error code = 0x", hr);
        return 0;
    }

    hr = CoInitializeSecurity(NULL, -1, NULL, NULL, RPC_C_AUTHN_LEVEL_DEFAULT,
                              RPC_C_IMP_LEVEL_IMPERSONATE, NULL, EOAC_NONE, NULL);
    if (hr == RPC_E_TOO_LATE) {
        // Security is process-wide and was settled earlier: carry on with it.
        std::cout << "CoInitializeSecurity returned RPC_E_TOO_LATE" << std::endl;
        return 1;
    }
    if (FAILED(hr)) {
        traceHresult("Failed to initialize security. Error code = 0x", hr);
        return 0;
    }
    return 1;
}

int WMIFacade::connect()
{
    if (!initializeCOM()) {
        std::cout << "initializeCOM failed" << std::endl;
        return 0;
    }

    // Held locally until both interfaces are obtained, so a failure leaves the engine unconnected.
    ScopedComPtr<IWbemLocator> locator;
    HRESULT hr = CoCreateInstance(CLSID_WbemLocator, NULL, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                  reinterpret_cast<void**>(locator.Receive()));
    // A success code without a locator is a failed creation: there is nothing to connect with.
    if (FAILED(hr) || !locator.Get()) {
        traceHresult("Failed to create IWbemLocator object. Err code = 0x", hr);
        return 0;
    }

    ScopedComPtr<IWbemServices> services;
    {
        ScopedBstr resource(L"ROOT\\WMI");
        hr = locator->ConnectServer(resource.Get(), NULL, NULL, NULL, 0, NULL, NULL,
                                    services.Receive());
    }
    // Likewise without services; the locator goes with the failed attempt, so a retry cannot leak
    // it.
    if (FAILED(hr) || !services.Get()) {
        traceHresult("Could not connect. Error code = 0x", hr);
        return 0;
    }
    m_pLocator = locator.Detach();
    m_pServices = services.Detach();
    std::cout << "Connected to ROOT\\CIMV2 WMI namespace" << std::endl;

    hr = CoSetProxyBlanket(m_pServices, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, NULL,
                           RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, NULL, EOAC_NONE);
    if (FAILED(hr)) {
        // The connection stays: later operations use it without the proxy security.
        traceHresult("Could not set proxy blanket. Error code = 0x", hr);
        return 0;
    }
    return 1;
}
