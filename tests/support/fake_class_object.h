// FakeClassObject: an IWbemClassObject whose properties a test sets to any VARIANT, including
// values WMI or a MOF repository would not deliver (several dimensions, a non-zero lower bound,
// a VARIANT of the wrong kind). Its reference count and number of Get calls are observable; the
// test owns its storage, so the last Release does not free it. Get can arm an allocation fault
// (see allocation_fault.h).
#ifndef QUILLET_TESTS_FAKE_CLASS_OBJECT_H
#define QUILLET_TESTS_FAKE_CLASS_OBJECT_H

#include <windows.h>
#include <oleauto.h>
#include <wbemidl.h>
#include <map>
#include <string>
#include <vector>

// Named by the full interface; the stand-in's headers declare only what the product uses.
struct IWbemQualifierSet;

// The methods beyond Get exist so that the fake is complete against either set of headers.
class FakeClassObject : public IWbemClassObject
{
public:
    FakeClassObject();
    virtual ~FakeClassObject();
    FakeClassObject(const FakeClassObject&) = delete;
    FakeClassObject& operator=(const FakeClassObject&) = delete;

    // Takes over value (the caller's VARIANT is left VT_EMPTY).
    void set(const wchar_t* name, VARIANT* value);
    void setObjects(const wchar_t* name, SAFEARRAY* array);
    void setNull(const wchar_t* name);
    void setBool(const wchar_t* name, VARIANT_BOOL value);
    void setByte(const wchar_t* name, BYTE value);
    void setLong(const wchar_t* name, LONG value);
    void setString(const wchar_t* name, const std::wstring& text);
    void setBytes(const wchar_t* name, const std::vector<BYTE>& bytes);
    // The property holds the object with a reference of its own.
    void setObject(const wchar_t* name, IUnknown* pObject);
    // Get of this property arms the allocation fault countdown with `allocations` on its way
    // out; the next Get of any fake disarms it.
    void armFaultAfterGet(const wchar_t* name, int allocations);
    ULONG references() const { return m_references; }
    int gets() const { return m_gets; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv);
    ULONG STDMETHODCALLTYPE AddRef();
    ULONG STDMETHODCALLTYPE Release();

    HRESULT STDMETHODCALLTYPE Get(LPCWSTR wszName, LONG lFlags, VARIANT* pVal, CIMTYPE* pType,
                                  LONG* plFlavor);

    HRESULT STDMETHODCALLTYPE GetQualifierSet(IWbemQualifierSet**) { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Put(LPCWSTR, LONG, VARIANT*, CIMTYPE) { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Delete(LPCWSTR) { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNames(LPCWSTR, LONG, VARIANT*, SAFEARRAY**) { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BeginEnumeration(LONG) { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Next(LONG, BSTR*, VARIANT*, CIMTYPE*, LONG*) { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EndEnumeration() { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPropertyQualifierSet(LPCWSTR, IWbemQualifierSet**)
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Clone(IWbemClassObject**) { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetObjectText(LONG, BSTR*) { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SpawnDerivedClass(LONG, IWbemClassObject**) { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SpawnInstance(LONG, IWbemClassObject**) { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CompareTo(LONG, IWbemClassObject*) { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPropertyOrigin(LPCWSTR, BSTR*) { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InheritsFrom(LPCWSTR) { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMethod(LPCWSTR, LONG, IWbemClassObject**, IWbemClassObject**)
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE PutMethod(LPCWSTR, LONG, IWbemClassObject*, IWbemClassObject*)
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE DeleteMethod(LPCWSTR) { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BeginMethodEnumeration(LONG) { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE NextMethod(LONG, BSTR*, IWbemClassObject**, IWbemClassObject**)
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EndMethodEnumeration() { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMethodQualifierSet(LPCWSTR, IWbemQualifierSet**)
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetMethodOrigin(LPCWSTR, BSTR*) { return E_NOTIMPL; }

private:
    ULONG m_references;
    int m_gets;
    std::map<std::wstring, VARIANT> m_properties;
    std::wstring m_faultProperty;
    int m_faultAllocations;
};

// An array of interface pointers: VT_UNKNOWN elements, `count` elements per dimension from
// `lower`. Each object put in gains one reference, which SafeArrayDestroy drops.
SAFEARRAY* objectArray(UINT dimensions, LONG lower, ULONG count, IUnknown* const* objects);

#endif
