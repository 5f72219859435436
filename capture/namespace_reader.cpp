#include "capture/namespace_reader.h"

#include "capture/capture_error.h"
#include "capture/class_definition.h"
#include "capture/text.h"
#include "com/scoped_bstr.h"
#include "com/scoped_com_ptr.h"
#include "com/scoped_variant.h"

namespace quillet::capture {

namespace {

// How WMI says that a namespace has no such class.
bool isMissingClass(HRESULT hr)
{
    return hr == static_cast<HRESULT>(WBEM_E_INVALID_CLASS) ||
           hr == static_cast<HRESULT>(WBEM_E_NOT_FOUND);
}

std::string classSubject(const std::wstring& className)
{
    return "class " + unicode::toUtf8(className);
}

}  // namespace

const CapturedClass* NamespaceReader::findDeclared(const std::wstring& className) const
{
    for (size_t i = 0; i < m_capture->declared.size(); ++i)
        if (sameName(m_capture->declared[i]->name, className))
            return m_capture->declared[i].get();
    return NULL;
}

const CapturedClass* NamespaceReader::declare(const std::wstring& className,
                                              IWbemClassObject* instance, HRESULT* missing)
{
    if (const CapturedClass* known = findDeclared(className))
        return known;
    ScopedComPtr<IWbemClassObject> definition;
    HRESULT hr;
    {
        ScopedBstr path(className.c_str());
        hr = m_services->GetObject(path.Get(), 0, NULL, definition.Receive(), NULL);
    }
    if (SUCCEEDED(hr) || !isMissingClass(hr))
        checkCall(hr, definition.Get(), "GetObject", classSubject(className));
    if (FAILED(hr)) {
        if (!instance) {
            *missing = hr;
            return NULL;
        }
    }
    CapturedClass cls = readClassDefinition(SUCCEEDED(hr) ? definition.Get() : instance, className);

    // The superclass first, then the embedded classes. A superclass that cannot be declared
    // leaves the class at the root; an embedded one, a generic object.
    m_declaring.push_back(className);
    if (!cls.superclass.empty() && !declareUsedClass(cls.superclass))
        cls.superclass.clear();
    for (size_t i = 0; i < cls.properties.size(); ++i) {
        CapturedProperty& property = cls.properties[i];
        if (!property.objectClass.empty() && !declareUsedClass(property.objectClass))
            property.objectClass.clear();
    }
    m_declaring.pop_back();

    m_capture->declared.push_back(std::unique_ptr<CapturedClass>(new CapturedClass(cls)));
    return m_capture->declared.back().get();
}

bool NamespaceReader::declareUsedClass(const std::wstring& className)
{
    for (size_t i = 0; i < m_declaring.size(); ++i)
        if (sameName(m_declaring[i], className))
            return false;  // classes that refer to each other
    HRESULT missing = S_OK;
    return declare(className, NULL, &missing) != NULL;
}

bool NamespaceReader::recorded(const CapturedClass& cls) const
{
    // A superclass is declared before its subclasses, so the chain ends.
    for (const CapturedClass* c = &cls; c;
         c = c->superclass.empty() ? NULL : findDeclared(c->superclass))
        for (size_t i = 0; i < m_recorded.size(); ++i)
            if (sameName(m_recorded[i], c->name))
                return true;
    return false;
}

const CapturedClass& NamespaceReader::classOfObject(IWbemClassObject* object)
{
    ScopedVariant name;
    checkCall(object->Get(L"__CLASS", 0, name.Receive(), NULL, NULL), "Get",
              "the __CLASS of an object");
    if (name.type() != VT_BSTR || !name.value().bstrVal)
        throw CaptureError(WBEM_E_TYPE_MISMATCH, "an object's __CLASS is not a string");
    std::wstring className(name.value().bstrVal, SysStringLen(name.value().bstrVal));
    HRESULT missing = S_OK;
    return *declare(className, object, &missing);  // never null: the object stands in
}

HRESULT NamespaceReader::captureClass(const std::wstring& className)
{
    // Rolled back when the class turns out missing.
    size_t declaredBefore = m_capture->declared.size();
    HRESULT missing = S_OK;
    const CapturedClass* queried = declare(className, NULL, &missing);
    if (!queried)
        return missing;
    std::wstring queriedName = queried->name;  // `declared` may grow while reading

    ScopedComPtr<IEnumWbemClassObject> enumerator;
    HRESULT hr;
    {
        ScopedBstr language(L"WQL");
        ScopedBstr query((L"SELECT * FROM " + className).c_str());
        hr = m_services->ExecQuery(language.Get(), query.Get(),
                                   WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, NULL,
                                   enumerator.Receive());
    }
    if (SUCCEEDED(hr))
        checkCall(hr, enumerator.Get(), "ExecQuery", classSubject(className));
    std::vector<CapturedInstance> instances;
    while (SUCCEEDED(hr)) {
        ScopedComPtr<IWbemClassObject> object;
        ULONG returned = 0;
        hr = enumerator->Next(WBEM_INFINITE, 1, object.Receive(), &returned);
        if (FAILED(hr) || (hr == WBEM_S_FALSE && returned == 0))
            break;
        checkCall(hr, object.Get(), "Next", classSubject(className));
        const CapturedClass& cls = classOfObject(object.Get());
        if (!recorded(cls))
            instances.push_back(readInstance(object.Get(), cls, *this));
    }
    // Only a class missing from the start is skipped; one that goes missing after its first
    // instance is a failed read.
    if (isMissingClass(hr) && instances.empty()) {
        m_capture->declared.resize(declaredBefore);
        return hr;
    }
    if (FAILED(hr))
        throw CaptureError(hr, "reading the instances of class " + unicode::toUtf8(className) +
                                   " failed: " + describeHresult(hr));
    m_capture->instances.insert(m_capture->instances.end(), instances.begin(), instances.end());
    m_recorded.push_back(queriedName);
    return S_OK;
}

}  // namespace quillet::capture
