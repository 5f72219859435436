// The HRESULT names WMISIM_FAULTS accepts as results.
#include "sim/fault_rules.h"

#include <wbemidl.h>
#include <cstring>

namespace winsim {

namespace {

struct NamedResult
{
    const char* name;
    HRESULT value;
};

#define NAMED(code)                                                                                \
    {                                                                                              \
#code, static_cast < HRESULT>(code)                                                        \
    }
const NamedResult kKnownResults[] = {
    NAMED(S_OK),
    NAMED(S_FALSE),
    NAMED(E_UNEXPECTED),
    NAMED(E_NOTIMPL),
    NAMED(E_OUTOFMEMORY),
    NAMED(E_INVALIDARG),
    NAMED(E_NOINTERFACE),
    NAMED(E_POINTER),
    NAMED(E_HANDLE),
    NAMED(E_ABORT),
    NAMED(E_FAIL),
    NAMED(E_ACCESSDENIED),
    NAMED(E_PENDING),
    NAMED(CO_E_NOTINITIALIZED),
    NAMED(CO_E_ALREADYINITIALIZED),
    NAMED(CLASS_E_NOAGGREGATION),
    NAMED(REGDB_E_CLASSNOTREG),
    NAMED(RPC_E_CHANGED_MODE),
    NAMED(RPC_E_TOO_LATE),
    NAMED(RPC_E_NO_GOOD_SECURITY_PACKAGES),
    NAMED(RPC_E_DISCONNECTED),
    NAMED(RPC_E_SERVERFAULT),
    NAMED(RPC_E_WRONG_THREAD),
    NAMED(DISP_E_TYPEMISMATCH),
    NAMED(DISP_E_BADVARTYPE),
    NAMED(DISP_E_OVERFLOW),
    NAMED(DISP_E_BADINDEX),
    NAMED(DISP_E_ARRAYISLOCKED),
    NAMED(WBEM_S_NO_ERROR),
    NAMED(WBEM_S_FALSE),
    NAMED(WBEM_S_TIMEDOUT),
    NAMED(WBEM_S_NO_MORE_DATA),
    NAMED(WBEM_E_FAILED),
    NAMED(WBEM_E_NOT_FOUND),
    NAMED(WBEM_E_ACCESS_DENIED),
    NAMED(WBEM_E_PROVIDER_FAILURE),
    NAMED(WBEM_E_TYPE_MISMATCH),
    NAMED(WBEM_E_OUT_OF_MEMORY),
    NAMED(WBEM_E_INVALID_CONTEXT),
    NAMED(WBEM_E_INVALID_PARAMETER),
    NAMED(WBEM_E_NOT_AVAILABLE),
    NAMED(WBEM_E_CRITICAL_ERROR),
    NAMED(WBEM_E_NOT_SUPPORTED),
    NAMED(WBEM_E_INVALID_NAMESPACE),
    NAMED(WBEM_E_INVALID_OBJECT),
    NAMED(WBEM_E_INVALID_CLASS),
    NAMED(WBEM_E_PROVIDER_NOT_FOUND),
    NAMED(WBEM_E_PROVIDER_LOAD_FAILURE),
    NAMED(WBEM_E_INITIALIZATION_FAILURE),
    NAMED(WBEM_E_TRANSPORT_FAILURE),
    NAMED(WBEM_E_INVALID_OPERATION),
    NAMED(WBEM_E_INVALID_QUERY),
    NAMED(WBEM_E_INVALID_QUERY_TYPE),
    NAMED(WBEM_E_ALREADY_EXISTS),
    NAMED(WBEM_E_UNEXPECTED),
    NAMED(WBEM_E_ILLEGAL_OPERATION),
    NAMED(WBEM_E_INVALID_SYNTAX),
    NAMED(WBEM_E_READ_ONLY),
    NAMED(WBEM_E_ILLEGAL_NULL),
    NAMED(WBEM_E_INVALID_PROPERTY_TYPE),
    NAMED(WBEM_E_VALUE_OUT_OF_RANGE),
    NAMED(WBEM_E_INVALID_CIM_TYPE),
    NAMED(WBEM_E_INVALID_PROPERTY),
    NAMED(WBEM_E_CALL_CANCELLED),
    NAMED(WBEM_E_SHUTTING_DOWN),
    NAMED(WBEM_E_INVALID_OBJECT_PATH),
    NAMED(WBEM_E_BUFFER_TOO_SMALL),
};
#undef NAMED

bool parseHex(const std::string& digits, HRESULT* value)
{
    unsigned long bits = 0;
    if (!parseDigits(digits, 16, 8, &bits))
        return false;
    *value = static_cast<HRESULT>(bits);
    return true;
}

}  // namespace

bool parseHresult(const std::string& text, HRESULT* value)
{
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return parseHex(text.substr(2), value);
    for (const NamedResult& known : kKnownResults) {
        if (text == known.name) {
            *value = known.value;
            return true;
        }
    }
    return false;
}

}  // namespace winsim
