#include "capture/capture_error.h"

#include <stdio.h>

#include <wbemidl.h>

namespace quillet::capture {

std::string describeHresult(HRESULT hr)
{
    struct Known
    {
        HRESULT hr;
        const char* name;
    };
    static const Known kKnown[] = {
        {S_OK, "S_OK"},
        {S_FALSE, "S_FALSE"},
        {static_cast<HRESULT>(WBEM_E_FAILED), "WBEM_E_FAILED"},
        {static_cast<HRESULT>(WBEM_E_NOT_FOUND), "WBEM_E_NOT_FOUND"},
        {static_cast<HRESULT>(WBEM_E_ACCESS_DENIED), "WBEM_E_ACCESS_DENIED"},
        {static_cast<HRESULT>(WBEM_E_OUT_OF_MEMORY), "WBEM_E_OUT_OF_MEMORY"},
        {static_cast<HRESULT>(WBEM_E_INVALID_NAMESPACE), "WBEM_E_INVALID_NAMESPACE"},
        {static_cast<HRESULT>(WBEM_E_INVALID_CLASS), "WBEM_E_INVALID_CLASS"},
        {static_cast<HRESULT>(WBEM_E_INVALID_QUERY), "WBEM_E_INVALID_QUERY"},
        {static_cast<HRESULT>(WBEM_E_INVALID_SYNTAX), "WBEM_E_INVALID_SYNTAX"},
        {static_cast<HRESULT>(WBEM_E_TRANSPORT_FAILURE), "WBEM_E_TRANSPORT_FAILURE"},
        {E_ACCESSDENIED, "E_ACCESSDENIED"},
        {E_OUTOFMEMORY, "E_OUTOFMEMORY"},
        {E_NOTIMPL, "E_NOTIMPL"},
        {RPC_E_CHANGED_MODE, "RPC_E_CHANGED_MODE"},
    };
    char number[16];
    snprintf(number, sizeof number, "0x%08lx", static_cast<unsigned long>(hr) & 0xFFFFFFFFul);
    for (size_t i = 0; i < sizeof kKnown / sizeof kKnown[0]; ++i)
        if (kKnown[i].hr == hr)
            return std::string(number) + " (" + kKnown[i].name + ")";
    return number;
}

std::string failedCallText(HRESULT hr, bool handedOut, const std::string& call,
                           const std::string& subject)
{
    if (!handedOut)
        return call + " answered " + describeHresult(hr) + " without a result" +
               (subject.empty() ? "" : " for " + subject);
    if (subject.empty())
        return call + " failed with " + describeHresult(hr);
    return call + " failed for " + subject + ": " + describeHresult(hr);
}

void checkCall(HRESULT hr, const char* call, const std::string& subject)
{
    if (FAILED(hr))
        throw CaptureError(hr, failedCallText(hr, true, call, subject));
}

void checkCall(HRESULT hr, const void* result, const char* call, const std::string& subject)
{
    checkCall(hr, call, subject);
    if (!result)
        throw CaptureError(hr, failedCallText(hr, false, call, subject));
}

}  // namespace quillet::capture
