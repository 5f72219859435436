#include "wmi/qualifier_set.h"

#include <cstring>
#include <cwchar>

#include "com/bstr.h"
#include "wmi/not_implemented.h"

namespace winsim::wmi {

std::wstring cimTypeQualifier(const CimType& type)
{
    if (type.kind == CimKind::Object && type.objectClass)
        return L"object:" + type.objectClass->name;
    const char* name = kindName(type.kind);
    return std::wstring(name, name + std::strlen(name));
}

HRESULT QualifierSet::Get(LPCWSTR wszName, LONG, VARIANT* pVal, LONG* plFlavor)
{
    HRESULT hr = S_OK;
    if (!wszName) {
        hr = WBEM_E_INVALID_PARAMETER;
    } else if (!equalsNoCase(wszName, L"CIMTYPE")) {
        hr = WBEM_E_NOT_FOUND;
    } else {
        if (plFlavor)
            *plFlavor = WBEM_FLAVOR_ORIGIN_SYSTEM;
        if (pVal) {
            BSTR text = allocBstr(m_cimType.data(), m_cimType.size());
            if (!text) {
                hr = WBEM_E_OUT_OF_MEMORY;
            } else {
                pVal->vt = VT_BSTR;
                pVal->bstrVal = text;
            }
        }
    }
    logCall([&] {
        return "IWbemQualifierSet::Get " +
               (wszName ? toUtf8(wszName, std::wcslen(wszName)) : std::string("(null)")) + " = " +
               hresultText(hr);
    });
    return hr;
}

HRESULT QualifierSet::Put(LPCWSTR, VARIANT*, LONG)
{
    return WBEM_E_READ_ONLY;
}

HRESULT QualifierSet::Delete(LPCWSTR)
{
    return WBEM_E_READ_ONLY;
}

HRESULT QualifierSet::GetNames(LONG, SAFEARRAY**)
{
    return notImplemented("IWbemQualifierSet::GetNames");
}

HRESULT QualifierSet::BeginEnumeration(LONG)
{
    return notImplemented("IWbemQualifierSet::BeginEnumeration");
}

HRESULT QualifierSet::Next(LONG, BSTR*, VARIANT*, LONG*)
{
    return notImplemented("IWbemQualifierSet::Next");
}

HRESULT QualifierSet::EndEnumeration()
{
    return notImplemented("IWbemQualifierSet::EndEnumeration");
}

}  // namespace winsim::wmi
