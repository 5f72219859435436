// Apartments and process security. Each thread keeps its own apartment: the first
// CoInitializeEx enters it (S_OK), each further one with the same model is counted (S_FALSE),
// one with the other model is refused (RPC_E_CHANGED_MODE) and not counted. CoUninitialize
// undoes one counted call. Process security can be set once per process.
#include <windows.h>
#include <atomic>
#include <string>
#include "sim/guarded_call.h"
#include "sim/sim.h"

namespace {

struct Apartment
{
    unsigned int initializations = 0;
    bool multithreaded = false;
};

thread_local Apartment apartment;
std::atomic<bool> securityInitialized{false};

}  // namespace

extern "C" {

HRESULT WINAPI CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit)
{
    HRESULT hr = winsim::guardedCall(E_OUTOFMEMORY, [&] {
        HRESULT faulted;
        if (winsim::fault("CoInitializeEx", {}, &faulted))
            return faulted;
        bool multithreaded = (dwCoInit & COINIT_APARTMENTTHREADED) == 0;
        if (pvReserved != nullptr)
            return E_INVALIDARG;
        if (apartment.initializations == 0) {
            apartment.multithreaded = multithreaded;
            apartment.initializations = 1;
            return S_OK;
        }
        if (apartment.multithreaded != multithreaded)
            return RPC_E_CHANGED_MODE;
        ++apartment.initializations;
        return S_FALSE;
    });
    winsim::logCall([&] { return "CoInitializeEx " + std::to_string(dwCoInit) + " = " + winsim::hresultText(hr); });
    return hr;
}

HRESULT WINAPI CoInitialize(LPVOID pvReserved)
{
    return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED);
}

void WINAPI CoUninitialize(void)
{
    // Unbalanced calls are ignored, as on Windows.
    if (apartment.initializations > 0)
        --apartment.initializations;
    winsim::logCall([] { return std::string("CoUninitialize"); });
}

HRESULT WINAPI CoInitializeSecurity(PSECURITY_DESCRIPTOR, LONG, SOLE_AUTHENTICATION_SERVICE*, void*, DWORD,
                                    DWORD, void*, DWORD, void*)
{
    HRESULT hr = winsim::guardedCall(E_OUTOFMEMORY, [] {
        HRESULT faulted;
        if (winsim::fault("CoInitializeSecurity", {}, &faulted))
            return faulted;
        return securityInitialized.exchange(true) ? RPC_E_TOO_LATE : S_OK;
    });
    winsim::logCall([&] { return "CoInitializeSecurity = " + winsim::hresultText(hr); });
    return hr;
}

}  // extern "C"
