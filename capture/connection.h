// COM for the capture's thread and the connection to one WMI namespace.
#ifndef QUILLET_CAPTURE_CONNECTION_H
#define QUILLET_CAPTURE_CONNECTION_H

#include <windows.h>
#include <wbemidl.h>

#include <string>

#include "com/scoped_com_ptr.h"

// Joins the multithreaded apartment for its lifetime. Declare it before every COM holder, so
// that they are released before COM is uninitialised.
class ComApartment
{
public:
    ComApartment();
    ~ComApartment();
    // The CoInitializeEx result; a failure means COM is unusable.
    HRESULT result() const { return m_hr; }

private:
    ComApartment(const ComApartment&);
    ComApartment& operator=(const ComApartment&);

    HRESULT m_hr;
};

// Sets process security, creates the locator, connects to the namespace and sets the proxy
// security on it. Throws CaptureError naming the call that failed.
void connectNamespace(const std::wstring& nameSpace, IWbemServices** services);

#endif
