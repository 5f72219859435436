// The connection to one WMI namespace.
#ifndef QUILLET_CAPTURE_CONNECTION_H
#define QUILLET_CAPTURE_CONNECTION_H

#include <windows.h>
#include <wbemidl.h>

#include <string>

namespace quillet::capture {

// Sets process security, creates the locator, connects to the namespace and sets the proxy
// security on it. Throws CaptureError naming the call that failed.
void connectNamespace(const std::wstring& nameSpace, IWbemServices** services);

}  // namespace quillet::capture

#endif
