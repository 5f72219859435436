#include "capture/class_definition.h"

#include <stdio.h>

#include "capture/capture_error.h"
#include "capture/text.h"
#include "com/scoped_bstr.h"
#include "com/scoped_com_ptr.h"
#include "com/scoped_safearray.h"
#include "com/scoped_variant.h"

namespace quillet::capture {

namespace {

std::string where(const std::wstring& className, const std::wstring& property)
{
    return "class " + unicode::toUtf8(className) +
           (property.empty() ? "" : ", property " + unicode::toUtf8(property));
}

void check(HRESULT hr, const char* call, const std::wstring& className,
           const std::wstring& property)
{
    checkCall(hr, call, where(className, property));
}

std::vector<std::wstring> propertyNames(IWbemClassObject* definition, const std::wstring& className)
{
    ScopedSafeArray names;
    check(definition->GetNames(NULL, WBEM_FLAG_NONSYSTEM_ONLY, NULL, names.Receive()), "GetNames",
          className, L"");
    LONG lower = 0, upper = -1;
    if (names.Get()) {
        check(SafeArrayGetLBound(names.Get(), 1, &lower), "SafeArrayGetLBound", className, L"");
        check(SafeArrayGetUBound(names.Get(), 1, &upper), "SafeArrayGetUBound", className, L"");
    }
    std::vector<std::wstring> result;
    if (upper < lower)
        return result;
    SafeArrayData data(names.Get());
    checkCall(data.result(), data.data(), "SafeArrayAccessData", where(className, L""));
    const BSTR* elements = static_cast<const BSTR*>(data.data());
    for (LONG i = 0; i <= upper - lower; ++i)
        result.push_back(elements[i] ? std::wstring(elements[i], SysStringLen(elements[i]))
                                     : std::wstring());
    return result;
}

// "object:ISCSI_IP_Address" gives ISCSI_IP_Address; "object", or no qualifier (Wine keeps few),
// gives the empty name of a generic embedded object.
std::wstring embeddedClass(IWbemClassObject* definition, const std::wstring& property)
{
    ScopedComPtr<IWbemQualifierSet> qualifiers;
    if (FAILED(definition->GetPropertyQualifierSet(property.c_str(), qualifiers.Receive())) ||
        !qualifiers.Get())
        return std::wstring();
    ScopedVariant cimType;
    if (FAILED(qualifiers->Get(L"CIMTYPE", 0, cimType.Receive(), NULL)) ||
        cimType.type() != VT_BSTR)
        return std::wstring();
    BSTR text = cimType.value().bstrVal;
    std::wstring value = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    const std::wstring prefix = L"object:";
    if (value.compare(0, prefix.size(), prefix) != 0)
        return std::wstring();
    return value.substr(prefix.size());
}

// A namespace without class hierarchy (Wine's) may not know __SUPERCLASS: the class is then
// recorded at the root.
std::wstring superclassOf(IWbemClassObject* definition, const std::wstring& className)
{
    ScopedVariant name;
    HRESULT hr = definition->Get(L"__SUPERCLASS", 0, name.Receive(), NULL, NULL);
    if (hr == static_cast<HRESULT>(WBEM_E_NOT_FOUND))
        return std::wstring();
    check(hr, "Get", className, L"__SUPERCLASS");
    if (name.type() != VT_BSTR || !name.value().bstrVal)
        return std::wstring();
    return std::wstring(name.value().bstrVal, SysStringLen(name.value().bstrVal));
}

}  // namespace

CapturedClass readClassDefinition(IWbemClassObject* definition, const std::wstring& className)
{
    CapturedClass cls;
    cls.name = className;
    cls.superclass = superclassOf(definition, className);
    std::vector<std::wstring> names = propertyNames(definition, className);
    for (size_t i = 0; i < names.size(); ++i) {
        CapturedProperty property;
        property.name = names[i];
        ScopedVariant value;
        CIMTYPE type = CIM_EMPTY;
        check(definition->Get(names[i].c_str(), 0, value.Receive(), &type, NULL), "Get", className,
              names[i]);
        property.type = type;
        CIMTYPE base = type & ~CIM_FLAG_ARRAY;
        if (base == CIM_REFERENCE) {
            fprintf(stderr, "QuilletCapture: %s is a reference, not recorded\n",
                    where(className, names[i]).c_str());
            continue;
        }
        if (base == CIM_OBJECT)
            property.objectClass = embeddedClass(definition, names[i]);
        cls.properties.push_back(property);
    }
    return cls;
}

}  // namespace quillet::capture
