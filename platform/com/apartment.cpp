// Apartments and process security. Each thread keeps its own apartment: the first
// CoInitializeEx enters it (S_OK), each further one with the same model is counted (S_FALSE),
// one with the other model is refused (RPC_E_CHANGED_MODE) and not counted. CoUninitialize
// undoes one counted call. Process security can be set once per process.
#include <windows.h>
#include <pthread.h>
#include <atomic>
#include <cstdint>
#include <string>
#include "sim/guarded_call.h"
#include "sim/sim.h"

namespace {

struct Apartment
{
    unsigned int initializations = 0;
    bool multithreaded = false;
};

// Each thread's apartment lives in a thread-specific slot, packed into the slot's value, rather
// than in thread_local storage: in a library loaded at run time glibc makes a thread's
// thread_local block on first use and ends the process when that allocation fails.
struct ApartmentSlot
{
    ApartmentSlot() : made(pthread_key_create(&key, nullptr) == 0) {}
    pthread_key_t key;
    bool made;
};

const ApartmentSlot& apartmentSlot()
{
    static const ApartmentSlot slot;
    return slot;
}

// False when the slot cannot be had (resources exhausted).
bool loadApartment(Apartment* apartment)
{
    const ApartmentSlot& slot = apartmentSlot();
    if (!slot.made)
        return false;
    auto packed = reinterpret_cast<std::uintptr_t>(pthread_getspecific(slot.key));
    apartment->initializations = static_cast<unsigned int>(packed >> 1);
    apartment->multithreaded = (packed & 1) != 0;
    return true;
}

bool storeApartment(const Apartment& apartment)
{
    std::uintptr_t packed =
        (std::uintptr_t(apartment.initializations) << 1) | (apartment.multithreaded ? 1 : 0);
    return pthread_setspecific(apartmentSlot().key, reinterpret_cast<void*>(packed)) == 0;
}

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
        Apartment apartment;
        if (!loadApartment(&apartment))
            return E_OUTOFMEMORY;
        if (apartment.initializations > 0 && apartment.multithreaded != multithreaded)
            return RPC_E_CHANGED_MODE;
        HRESULT entered = apartment.initializations == 0 ? S_OK : S_FALSE;
        apartment.multithreaded = multithreaded;
        ++apartment.initializations;
        return storeApartment(apartment) ? entered : E_OUTOFMEMORY;
    });
    winsim::logCall([&] {
        return "CoInitializeEx " + std::to_string(dwCoInit) + " = " + winsim::hresultText(hr);
    });
    return hr;
}

HRESULT WINAPI CoInitialize(LPVOID pvReserved)
{
    return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED);
}

void WINAPI CoUninitialize(void)
{
    // Unbalanced calls are ignored, as on Windows.
    Apartment apartment;
    if (loadApartment(&apartment) && apartment.initializations > 0) {
        --apartment.initializations;
        storeApartment(apartment);  // the slot exists: it held the count
    }
    winsim::logCall([] { return std::string("CoUninitialize"); });
}

HRESULT WINAPI CoInitializeSecurity(PSECURITY_DESCRIPTOR, LONG, SOLE_AUTHENTICATION_SERVICE*, void*,
                                    DWORD, DWORD, void*, DWORD, void*)
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
