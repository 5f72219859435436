// The IWbemQualifierSet of a property, as GetPropertyQualifierSet hands it out. The repository
// keeps no qualifiers of its own, so the set holds the one WMI always gives a property: CIMTYPE,
// the type as text ("uint32", "string", "object:ISCSI_IP_Address"; arrays name their element
// type). Read-only: Put and Delete answer WBEM_E_READ_ONLY.
#ifndef WINSIM_WMI_QUALIFIER_SET_H
#define WINSIM_WMI_QUALIFIER_SET_H

#include <windows.h>
#include <wbemidl.h>

#include <string>

#include "com/com_object.h"
#include "wmi/cim_model.h"

namespace winsim::wmi {

// The CIMTYPE qualifier's text for a property type.
std::wstring cimTypeQualifier(const CimType& type);

class QualifierSet final : public ComObject<IWbemQualifierSet>
{
public:
    explicit QualifierSet(std::wstring cimType) : m_cimType(std::move(cimType)) {}

    HRESULT STDMETHODCALLTYPE Get(LPCWSTR wszName, LONG lFlags, VARIANT* pVal,
                                  LONG* plFlavor) override;
    HRESULT STDMETHODCALLTYPE Put(LPCWSTR wszName, VARIANT* pVal, LONG lFlavor) override;
    HRESULT STDMETHODCALLTYPE Delete(LPCWSTR wszName) override;
    HRESULT STDMETHODCALLTYPE GetNames(LONG lFlags, SAFEARRAY** pNames) override;
    HRESULT STDMETHODCALLTYPE BeginEnumeration(LONG lFlags) override;
    HRESULT STDMETHODCALLTYPE Next(LONG lFlags, BSTR* pstrName, VARIANT* pVal,
                                   LONG* plFlavor) override;
    HRESULT STDMETHODCALLTYPE EndEnumeration() override;

private:
    std::wstring m_cimType;
};

}  // namespace winsim::wmi

#endif
