#include "text.h"

#include <stdio.h>

#include <wbemidl.h>

bool sameName(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i] >= L'A' && a[i] <= L'Z' ? a[i] + 32 : a[i];
        wchar_t y = b[i] >= L'A' && b[i] <= L'Z' ? b[i] + 32 : b[i];
        if (x != y)
            return false;
    }
    return true;
}

std::string hresultText(HRESULT hr)
{
    struct Known {
        HRESULT hr;
        const char* name;
    };
    static const Known known[] = {
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
    for (size_t i = 0; i < sizeof known / sizeof known[0]; ++i)
        if (known[i].hr == hr)
            return std::string(number) + " (" + known[i].name + ")";
    return number;
}
