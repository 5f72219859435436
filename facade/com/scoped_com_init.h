// ScopedComInit: the calling thread in COM's multithreaded apartment for the holder's lifetime.
// Every successful CoInitializeEx, S_FALSE included, is balanced by one CoUninitialize; a failed
// one by none. Declare it before the COM holders of its scope, so that they release what they
// hold while COM is still initialised. Not copyable.
#ifndef QUILLET_SCOPED_COM_INIT_H
#define QUILLET_SCOPED_COM_INIT_H

#include <windows.h>
#include <objbase.h>

namespace quillet {

class ScopedComInit
{
public:
    ScopedComInit() : m_hr(CoInitializeEx(NULL, COINIT_MULTITHREADED)) {}
    ~ScopedComInit()
    {
        if (SUCCEEDED(m_hr))
            CoUninitialize();
    }
    ScopedComInit(const ScopedComInit&) = delete;
    ScopedComInit& operator=(const ScopedComInit&) = delete;

    // The CoInitializeEx result: RPC_E_CHANGED_MODE when the thread is in another apartment
    // (COM still serves), another failure when COM is unusable.
    HRESULT result() const { return m_hr; }

private:
    HRESULT m_hr;
};

}  // namespace quillet

#endif
