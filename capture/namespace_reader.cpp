#include "capture/namespace_reader.h"

#include "capture/capture_error.h"
#include "capture/class_definition.h"
#include "capture/text.h"
#include "com/scoped_bstr.h"
#include "com/scoped_com_ptr.h"
#include "com/scoped_variant.h"

namespace {

// How WMI says that a namespace has no such class.
bool isMissingClass(HRESULT hr)
{
    return hr == static_cast<HRESULT>(WBEM_E_INVALID_CLASS) || hr == static_cast<HRESULT>(WBEM_E_NOT_FOUND);
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

const CapturedClass* NamespaceReader::declare(const std::wstring& className, IWbemClassObject* instance,
                                              HRESULT* missing)
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

    // Classes that embed each other: the inner use falls back to a generic object.
    m_declaring.push_back(className);
    for (size_t i = 0; i < cls.properties.size(); ++i) {
        CapturedProperty& property = cls.properties[i];
        if (property.objectClass.empty())
            continue;
        bool cycle = false;
        for (size_t k = 0; k < m_declaring.size(); ++k)
            cycle = cycle || sameName(m_declaring[k], property.objectClass);
        HRESULT embeddedMissing = S_OK;
        if (cycle || !declare(property.objectClass, NULL, &embeddedMissing))
            property.objectClass.clear();
    }
    m_declaring.pop_back();

    m_capture->declared.push_back(std::unique_ptr<CapturedClass>(new CapturedClass(cls)));
    return m_capture->declared.back().get();
}

const CapturedClass& NamespaceReader::classOfObject(IWbemClassObject* object)
{
    ScopedVariant name;
    checkCall(object->Get(L"__CLASS", 0, name.Receive(), NULL, NULL), "Get", "the __CLASS of an object");
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
    if (!declare(className, NULL, &missing))
        return missing;

    ScopedComPtr<IEnumWbemClassObject> enumerator;
    HRESULT hr;
    {
        ScopedBstr language(L"WQL");
        ScopedBstr query((L"SELECT * FROM " + className).c_str());
        hr = m_services->ExecQuery(language.Get(), query.Get(), WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                                   NULL, enumerator.Receive());
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
        instances.push_back(readInstance(object.Get(), cls, *this));
    }
    // Only a class missing from the start is skipped; one that goes missing after its first
    // instance is a failed read.
    if (isMissingClass(hr) && instances.empty()) {
        m_capture->declared.resize(declaredBefore);
        return hr;
    }
    if (FAILED(hr))
        throw CaptureError(hr, "reading the instances of class " + unicode::toUtf8(className) + " failed: " +
                                   describeHresult(hr));
    m_capture->instances.insert(m_capture->instances.end(), instances.begin(), instances.end());
    return S_OK;
}
