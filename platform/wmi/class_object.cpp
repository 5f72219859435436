#include "wmi/class_object.h"

#include <cstdio>
#include <cwchar>
#include <new>

#include "com/bstr.h"
#include "sim/guarded_call.h"
#include "sim/sim.h"
#include "wmi/cim_variant.h"
#include "wmi/not_implemented.h"
#include "wmi/qualifier_set.h"

namespace winsim::wmi {

namespace {

std::string nameText(LPCWSTR name)
{
    return name ? toUtf8(name, std::wcslen(name)) : std::string("(null)");
}

std::string hexText(unsigned value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", value);
    return text;
}

}  // namespace

ClassObject* ClassObject::from(IUnknown* object)
{
    return object ? dynamic_cast<ClassObject*>(object) : nullptr;
}

std::wstring_view ClassObject::instanceName() const
{
    size_t index = m_instance.cls->find(L"InstanceName");
    if (index == ClassDef::npos || m_instance.values[index].tag != CimValue::Tag::Text)
        return std::wstring_view();
    return m_instance.values[index].text;
}

HRESULT ClassObject::Get(LPCWSTR wszName, LONG, VARIANT* pVal, CIMTYPE* pType, LONG* plFlavor)
{
    // As in WMI, a failed call leaves the out-parameters as they were.
    HRESULT hr = guardedCall(WBEM_E_OUT_OF_MEMORY, [&] {
        HRESULT faulted;
        if (fault("Get", wszName ? wszName : L"", &faulted))
            return faulted;
        return get(wszName, pVal, pType);
    });
    if (SUCCEEDED(hr) && plFlavor)
        *plFlavor = WBEM_FLAVOR_ORIGIN_LOCAL;
    logCall([&] { return "Get " + nameText(wszName) + " = " + hresultText(hr); });
    return hr;
}

HRESULT ClassObject::get(LPCWSTR name, VARIANT* value, CIMTYPE* type) const
{
    if (!name)
        return WBEM_E_INVALID_PARAMETER;
    static const CimType kSystemType;  // the system properties served are strings
    CimValue systemValue;
    bool isSystem = systemProperty(name, &systemValue);
    size_t index = isSystem ? ClassDef::npos : m_instance.cls->find(name);
    if (!isSystem && index == ClassDef::npos)
        return WBEM_E_NOT_FOUND;
    const CimType& propertyType = isSystem ? kSystemType : m_instance.cls->properties[index].type;
    if (value) {
        VARIANT made;
        HRESULT hr =
            toVariant(isSystem ? systemValue : m_instance.values[index], propertyType, &made);
        if (FAILED(hr))
            return hr == E_OUTOFMEMORY ? HRESULT(WBEM_E_OUT_OF_MEMORY) : hr;
        *value = made;  // nothing fails after this: the value is the caller's
    }
    if (type)
        *type = cimTypeOf(propertyType);
    return S_OK;
}

bool ClassObject::systemProperty(LPCWSTR name, CimValue* value) const
{
    if (equalsNoCase(name, L"__CLASS")) {
        *value = CimValue::ofText(m_instance.cls->name);
        return true;
    }
    if (equalsNoCase(name, L"__SUPERCLASS")) {  // NULL for a class at the root, as in WMI
        const ClassDef* parent = m_instance.cls->parent.get();
        *value = parent ? CimValue::ofText(parent->name) : CimValue::null();
        return true;
    }
    return false;
}

HRESULT ClassObject::Put(LPCWSTR wszName, LONG, VARIANT* pVal, CIMTYPE Type)
{
    HRESULT hr = guardedCall(WBEM_E_OUT_OF_MEMORY, [&] {
        HRESULT faulted;
        if (fault("Put", wszName ? wszName : L"", &faulted))
            return faulted;
        return put(wszName, pVal, Type);
    });
    logCall([&] {
        return "Put " + nameText(wszName) + " vt=" + hexText(pVal ? pVal->vt : VARTYPE(VT_NULL)) +
               " = " + hresultText(hr);
    });
    return hr;
}

HRESULT ClassObject::put(LPCWSTR name, const VARIANT* value, CIMTYPE type)
{
    if (!name)
        return WBEM_E_INVALID_PARAMETER;
    if (name[0] == L'_' && name[1] == L'_')
        return WBEM_E_READ_ONLY;  // system properties
    size_t index = m_instance.cls->find(name);
    if (index == ClassDef::npos)
        return WBEM_E_NOT_FOUND;
    const CimType& propertyType = m_instance.cls->properties[index].type;
    if (type != 0 && type != cimTypeOf(propertyType))
        return WBEM_E_TYPE_MISMATCH;
    CimValue converted;
    if (value) {
        HRESULT hr = fromVariant(*value, propertyType, &converted);
        if (FAILED(hr))
            return hr;
    }
    m_instance.values[index] = std::move(converted);
    return S_OK;
}

HRESULT ClassObject::GetNames(LPCWSTR wszQualifierName, LONG lFlags, VARIANT* pQualifierVal,
                              SAFEARRAY** pNames)
{
    // Filters by qualifier and by origin need qualifiers the repository does not keep.
    if (wszQualifierName || pQualifierVal ||
        (lFlags != WBEM_FLAG_ALWAYS && lFlags != WBEM_FLAG_SYSTEM_ONLY &&
         lFlags != WBEM_FLAG_NONSYSTEM_ONLY))
        return notImplemented("IWbemClassObject::GetNames with a qualifier or origin filter");
    if (pNames)
        *pNames = nullptr;
    HRESULT hr = guardedCall(WBEM_E_OUT_OF_MEMORY, [&] { return getNames(lFlags, pNames); });
    logCall([&] {
        return "GetNames " + hexText(static_cast<unsigned>(lFlags)) + " = " + hresultText(hr);
    });
    return hr;
}

HRESULT ClassObject::getNames(LONG flags, SAFEARRAY** names) const
{
    if (!names)
        return WBEM_E_INVALID_PARAMETER;
    *names = nullptr;
    // The system properties the service knows, in WMI's order.
    std::vector<const std::wstring*> selected;
    static const std::wstring kSystemNames[] = {L"__CLASS", L"__SUPERCLASS"};
    if (flags != WBEM_FLAG_NONSYSTEM_ONLY)
        for (const std::wstring& systemName : kSystemNames)
            selected.push_back(&systemName);
    if (flags != WBEM_FLAG_SYSTEM_ONLY)
        for (const PropertyDef& property : m_instance.cls->properties)
            selected.push_back(&property.name);
    SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(selected.size()));
    if (!array)
        return WBEM_E_OUT_OF_MEMORY;
    BSTR* slots = static_cast<BSTR*>(array->pvData);
    for (size_t i = 0; i < selected.size(); ++i) {
        slots[i] = allocBstr(selected[i]->data(), selected[i]->size());
        if (!slots[i]) {
            SafeArrayDestroy(array);  // frees the names made so far
            return WBEM_E_OUT_OF_MEMORY;
        }
    }
    *names = array;
    return S_OK;
}

HRESULT ClassObject::BeginEnumeration(LONG)
{
    return notImplemented("IWbemClassObject::BeginEnumeration");
}

HRESULT ClassObject::Next(LONG, BSTR*, VARIANT*, CIMTYPE*, LONG*)
{
    return notImplemented("IWbemClassObject::Next");
}

HRESULT ClassObject::EndEnumeration()
{
    return notImplemented("IWbemClassObject::EndEnumeration");
}

HRESULT ClassObject::GetPropertyQualifierSet(LPCWSTR wszProperty, IWbemQualifierSet** ppQualSet)
{
    if (ppQualSet)
        *ppQualSet = nullptr;
    HRESULT hr =
        guardedCall(WBEM_E_OUT_OF_MEMORY, [&] { return qualifierSet(wszProperty, ppQualSet); });
    logCall([&] {
        return "GetPropertyQualifierSet " + nameText(wszProperty) + " = " + hresultText(hr);
    });
    return hr;
}

HRESULT ClassObject::qualifierSet(LPCWSTR property, IWbemQualifierSet** set) const
{
    if (!set)
        return WBEM_E_INVALID_PARAMETER;
    *set = nullptr;
    if (!property)
        return WBEM_E_INVALID_PARAMETER;
    if (property[0] == L'_' && property[1] == L'_')
        return WBEM_E_SYSTEM_PROPERTY;
    size_t index = m_instance.cls->find(property);
    if (index == ClassDef::npos)
        return WBEM_E_NOT_FOUND;
    *set = new QualifierSet(cimTypeQualifier(m_instance.cls->properties[index].type));
    return S_OK;
}

HRESULT ClassObject::GetObjectText(LONG, BSTR*)
{
    return notImplemented("IWbemClassObject::GetObjectText");
}

}  // namespace winsim::wmi
