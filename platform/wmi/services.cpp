#include "wmi/services.h"

#include <cstdio>
#include "sim/guarded_call.h"
#include "sim/sim.h"
#include "wmi/class_object.h"
#include "wmi/enumerator.h"
#include "wmi/not_implemented.h"
#include "wmi/wql.h"

namespace winsim::wmi {

namespace {

std::string bstrText(const BSTR text)
{
    return text ? toUtf8(text, SysStringLen(text)) : std::string("(null)");
}

std::string flagsText(LONG flags)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(flags));
    return text;
}

bool matches(const Instance& instance, size_t property, const std::wstring& literal)
{
    const CimValue& value = instance.values[property];
    // WQL compares strings without regard to case.
    return value.tag == CimValue::Tag::Text && equalsNoCase(value.text, literal);
}

}  // namespace

HRESULT Services::ExecQuery(const BSTR strQueryLanguage, const BSTR strQuery, LONG lFlags,
                            IWbemContext*, IEnumWbemClassObject** ppEnum)
{
    if (ppEnum)
        *ppEnum = nullptr;
    HRESULT hr = guardedCall(WBEM_E_OUT_OF_MEMORY,
                             [&] { return execQuery(strQueryLanguage, strQuery, ppEnum); });
    logCall([&] {
        return "ExecQuery " + bstrText(strQueryLanguage) + " " + flagsText(lFlags) + " " +
               bstrText(strQuery) + " = " + hresultText(hr);
    });
    return hr;
}

HRESULT Services::execQuery(const BSTR language, const BSTR query, IEnumWbemClassObject** result)
{
    WqlQuery parsed;
    bool valid = query && parseWql(std::wstring(query, SysStringLen(query)), &parsed);
    HRESULT hr = S_OK;
    if (fault("ExecQuery", parsed.className, &hr))
        return hr;
    if (!language || !query || !result)
        return WBEM_E_INVALID_PARAMETER;
    if (!equalsNoCase(std::wstring(language, SysStringLen(language)), L"WQL"))
        return WBEM_E_INVALID_QUERY_TYPE;
    if (!valid)
        return WBEM_E_INVALID_QUERY;

    std::vector<Repository::Entry> entries;
    HRESULT status = S_OK;
    std::shared_ptr<const ClassDef> cls = m_repository->findClass(parsed.className);
    if (!cls) {
        status = WBEM_E_INVALID_CLASS;
    } else if (!parsed.hasCondition) {
        entries = m_repository->instancesOf(*cls);
    } else {
        // Derived classes keep inherited properties at the same positions.
        size_t property = cls->find(parsed.property);
        if (property == ClassDef::npos) {
            status = WBEM_E_INVALID_QUERY;  // like a bad class, reported when enumerating
        } else {
            for (Repository::Entry& entry : m_repository->instancesOf(*cls))
                if (matches(*entry.instance, property, parsed.literal))
                    entries.push_back(std::move(entry));
        }
    }
    *result = new Enumerator(parsed.className, std::move(entries), status);
    return S_OK;
}

HRESULT Services::GetObject(const BSTR strObjectPath, LONG, IWbemContext*,
                            IWbemClassObject** ppObject, IWbemCallResult** ppCallResult)
{
    if (ppObject)
        *ppObject = nullptr;
    if (ppCallResult)
        *ppCallResult = nullptr;
    HRESULT hr =
        guardedCall(WBEM_E_OUT_OF_MEMORY, [&] { return getClass(strObjectPath, ppObject); });
    logCall([&] { return "GetObject " + bstrText(strObjectPath) + " = " + hresultText(hr); });
    return hr;
}

HRESULT Services::getClass(const BSTR path, IWbemClassObject** result)
{
    if (!result)
        return WBEM_E_INVALID_PARAMETER;
    std::wstring name = path ? std::wstring(path, SysStringLen(path)) : std::wstring();
    // Only class definitions are served: instance paths (Class.Key="value"), paths with a
    // namespace and the empty path (a new class) are not.
    if (name.empty() || name.find_first_of(L".=:\\/") != std::wstring::npos)
        return notImplemented("IWbemServices::GetObject of anything but a class name");
    std::shared_ptr<const ClassDef> cls = m_repository->findClass(name);
    if (!cls)
        return WBEM_E_NOT_FOUND;
    *result = new ClassObject(Instance(cls), ClassObject::kNoOrigin);
    return WBEM_S_NO_ERROR;
}

HRESULT Services::PutInstance(IWbemClassObject* pInst, LONG lFlags, IWbemContext*,
                              IWbemCallResult** ppCallResult)
{
    if (ppCallResult)
        *ppCallResult = nullptr;
    ClassObject* object = ClassObject::from(pInst);
    std::wstring_view name = object ? object->instanceName() : std::wstring_view();
    HRESULT hr = guardedCall(WBEM_E_OUT_OF_MEMORY, [&] {
        HRESULT faulted;
        if (fault("PutInstance", name, &faulted))
            return faulted;
        return putInstance(pInst, lFlags);
    });
    logCall([&] {
        return "PutInstance " + toUtf8(name) + " " + flagsText(lFlags) + " = " + hresultText(hr);
    });
    return hr;
}

HRESULT Services::putInstance(IWbemClassObject* instance, LONG flags)
{
    if (!instance)
        return WBEM_E_INVALID_PARAMETER;
    ClassObject* object = ClassObject::from(instance);
    if (!object)
        return WBEM_E_INVALID_OBJECT;
    LONG mode = flags & (WBEM_FLAG_UPDATE_ONLY | WBEM_FLAG_CREATE_ONLY);
    if (mode == (WBEM_FLAG_UPDATE_ONLY | WBEM_FLAG_CREATE_ONLY))
        return WBEM_E_INVALID_PARAMETER;
    // Objects are identified by the repository instance they were read from; embedded objects
    // and objects made elsewhere have none.
    if (object->origin() == ClassObject::kNoOrigin)
        return mode == WBEM_FLAG_UPDATE_ONLY ? WBEM_E_NOT_FOUND : WBEM_E_NOT_SUPPORTED;
    if (mode == WBEM_FLAG_CREATE_ONLY)
        return WBEM_E_ALREADY_EXISTS;
    if (!m_repository->update(object->origin(), std::make_shared<Instance>(object->instance())))
        return WBEM_E_NOT_FOUND;
    return WBEM_S_NO_ERROR;
}

}  // namespace winsim::wmi
