// Methods the product does not use answer E_NOTIMPL, and say so in the call log, so that a
// new use shows up at once instead of as a quiet failure.
#ifndef WINSIM_WMI_NOT_IMPLEMENTED_H
#define WINSIM_WMI_NOT_IMPLEMENTED_H

#include <windows.h>

#include <string>

#include "sim/sim.h"

namespace winsim::wmi {

inline HRESULT notImplemented(const char* method)
{
    logCall([method] { return std::string(method) + " = " + hresultText(E_NOTIMPL); });
    return E_NOTIMPL;
}

}  // namespace winsim::wmi

#endif
