// The IWbemClassObject the service hands out: an instance taken from the repository (by the
// enumerator) or embedded in another object (by Get). Each object owns its own copy of the
// values, so Put changes only the object in hand until PutInstance writes it back. A class
// definition (IWbemServices::GetObject of a class) is an object of that class with every value
// NULL: it names its properties and their types like an instance does.
#ifndef WINSIM_WMI_CLASS_OBJECT_H
#define WINSIM_WMI_CLASS_OBJECT_H

#include <windows.h>
#include <wbemidl.h>

#include <memory>
#include <string_view>

#include "com/com_object.h"
#include "wmi/cim_model.h"

namespace winsim::wmi {

class ClassObject final : public ComObject<IWbemClassObject>
{
public:
    static constexpr size_t kNoOrigin = static_cast<size_t>(-1);

    // `origin` is the repository position the instance was read from, kNoOrigin for embedded ones.
    ClassObject(const Instance& instance, size_t origin) : m_instance(instance), m_origin(origin) {}

    // Our own object behind an interface pointer; null for an object made elsewhere.
    static ClassObject* from(IUnknown* object);

    const Instance& instance() const { return m_instance; }
    size_t origin() const { return m_origin; }
    // The InstanceName property as text (empty when unset): how faults and the log name it.
    std::wstring_view instanceName() const;

    HRESULT STDMETHODCALLTYPE Get(LPCWSTR wszName, LONG lFlags, VARIANT* pVal, CIMTYPE* pType,
                                  LONG* plFlavor) override;
    HRESULT STDMETHODCALLTYPE Put(LPCWSTR wszName, LONG lFlags, VARIANT* pVal,
                                  CIMTYPE Type) override;
    HRESULT STDMETHODCALLTYPE GetNames(LPCWSTR wszQualifierName, LONG lFlags,
                                       VARIANT* pQualifierVal, SAFEARRAY** pNames) override;
    HRESULT STDMETHODCALLTYPE BeginEnumeration(LONG lEnumFlags) override;
    HRESULT STDMETHODCALLTYPE Next(LONG lFlags, BSTR* strName, VARIANT* pVal, CIMTYPE* pType,
                                   LONG* plFlavor) override;
    HRESULT STDMETHODCALLTYPE EndEnumeration() override;
    HRESULT STDMETHODCALLTYPE GetPropertyQualifierSet(LPCWSTR wszProperty,
                                                      IWbemQualifierSet** ppQualSet) override;
    HRESULT STDMETHODCALLTYPE GetObjectText(LONG lFlags, BSTR* pstrObjectText) override;

private:
    HRESULT get(LPCWSTR name, VARIANT* value, CIMTYPE* type) const;
    // __CLASS and __SUPERCLASS; false for any other name.
    bool systemProperty(LPCWSTR name, CimValue* value) const;
    HRESULT put(LPCWSTR name, const VARIANT* value, CIMTYPE type);
    HRESULT getNames(LONG flags, SAFEARRAY** names) const;
    HRESULT qualifierSet(LPCWSTR property, IWbemQualifierSet** set) const;

    Instance m_instance;
    size_t m_origin;
};

}  // namespace winsim::wmi

#endif
