// WmiSession: a test's own way into WMI, beside the engine: COM for the calling thread, a
// namespace connection with the engine's proxy security, and the instances of any class. It lets
// the readers be tried on classes the engine never queries.
#ifndef QUILLET_TEST_WMI_SESSION_H
#define QUILLET_TEST_WMI_SESSION_H

#include <windows.h>
#include <wbemidl.h>

#include "com/scoped_com_init.h"
#include "com/scoped_com_ptr.h"

class WmiSession
{
public:
    WmiSession();  // COM (multithreaded) and process security; the connection is released first
    WmiSession(const WmiSession&) = delete;
    WmiSession& operator=(const WmiSession&) = delete;

    HRESULT connect(const wchar_t* namespaceName);
    // Runs "SELECT * FROM <className>"; *ppFirst receives the first instance (the caller owns
    // it; null when there is none) and *pCount the number of instances.
    HRESULT firstInstance(const wchar_t* className, IWbemClassObject** ppFirst, ULONG* pCount);

private:
    quillet::ScopedComInit m_com;
    quillet::ScopedComPtr<IWbemLocator> m_locator;
    quillet::ScopedComPtr<IWbemServices> m_services;
};

#endif
