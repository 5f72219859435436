// FakeClassObject: an IWbemClassObject whose properties are VARIANTs set by the test, so the
// readers can meet every kind of value, including ones WMI itself would not deliver. Counts its
// references; lives on the test's stack and never deletes itself.
#ifndef QUILLET_TEST_FAKE_CLASS_OBJECT_H
#define QUILLET_TEST_FAKE_CLASS_OBJECT_H

#include <windows.h>
#include <oleauto.h>
#include <wbemidl.h>

#include <map>
#include <string>
#include <vector>

class FakeClassObject : public IWbemClassObject
{
public:
    FakeClassObject() : m_cRef(1) {}
    virtual ~FakeClassObject()
    {
        for (auto& property : m_properties)
            VariantClear(&property.second);
    }

    // Takes over value (the caller must not clear it).
    void set(const std::wstring& name, const VARIANT& value)
    {
        auto found = m_properties.find(name);
        if (found != m_properties.end())
            VariantClear(&found->second);
        m_properties[name] = value;
    }
    void setNull(const std::wstring& name) { set(name, make(VT_NULL)); }
    void setBool(const std::wstring& name, VARIANT_BOOL b) { VARIANT v = make(VT_BOOL); V_BOOL(&v) = b; set(name, v); }
    void setByte(const std::wstring& name, BYTE b) { VARIANT v = make(VT_UI1); V_UI1(&v) = b; set(name, v); }
    void setLong(const std::wstring& name, LONG l) { VARIANT v = make(VT_I4); V_I4(&v) = l; set(name, v); }
    void setString(const std::wstring& name, const std::wstring& text)
    {
        VARIANT v = make(VT_BSTR);
        V_BSTR(&v) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        set(name, v);
    }
    void setBytes(const std::wstring& name, const std::vector<BYTE>& bytes)
    {
        VARIANT v = make(VT_ARRAY | VT_UI1);
        SAFEARRAY* pArray = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
        void* data = NULL;
        SafeArrayAccessData(pArray, &data);
        for (size_t i = 0; i < bytes.size(); ++i)
            static_cast<BYTE*>(data)[i] = bytes[i];
        SafeArrayUnaccessData(pArray);
        V_ARRAY(&v) = pArray;
        set(name, v);
    }
    void setObject(const std::wstring& name, IUnknown* pObject)
    {
        VARIANT v = make(VT_UNKNOWN);
        pObject->AddRef();
        V_UNKNOWN(&v) = pObject;
        set(name, v);
    }

    ULONG references() const { return m_cRef; }
    int gets() const { return m_cGets; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv)
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IWbemClassObject)) {
            *ppv = static_cast<IWbemClassObject*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() { return ++m_cRef; }
    ULONG STDMETHODCALLTYPE Release() { return --m_cRef; }

    HRESULT STDMETHODCALLTYPE Get(LPCWSTR wszName, LONG, VARIANT* pVal, CIMTYPE* pType, LONG* plFlavor)
    {
        ++m_cGets;
        auto found = m_properties.find(wszName);
        if (found == m_properties.end())
            return WBEM_E_NOT_FOUND;
        if (pType)
            *pType = 0;
        if (plFlavor)
            *plFlavor = 0;
        return VariantCopy(pVal, &found->second);
    }
    HRESULT STDMETHODCALLTYPE Put(LPCWSTR, LONG, VARIANT*, CIMTYPE) { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNames(LPCWSTR, LONG, VARIANT*, SAFEARRAY**) { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BeginEnumeration(LONG) { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Next(LONG, BSTR*, VARIANT*, CIMTYPE*, LONG*) { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EndEnumeration() { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetObjectText(LONG, BSTR*) { return E_NOTIMPL; }

private:
    static VARIANT make(VARTYPE type)
    {
        VARIANT v;
        VariantInit(&v);
        V_VT(&v) = type;
        return v;
    }

    ULONG m_cRef;
    int m_cGets = 0;
    std::map<std::wstring, VARIANT> m_properties;
};

#endif
