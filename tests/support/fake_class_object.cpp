#include "fake_class_object.h"

#include "allocation_fault.h"

namespace {

VARIANT variantOf(VARTYPE type)
{
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = type;
    return value;
}

}  // namespace

FakeClassObject::FakeClassObject() : m_references(1), m_gets(0), m_faultAllocations(0) {}

FakeClassObject::~FakeClassObject()
{
    for (std::map<std::wstring, VARIANT>::iterator it = m_properties.begin();
         it != m_properties.end(); ++it)
        VariantClear(&it->second);
}

void FakeClassObject::set(const wchar_t* name, VARIANT* value)
{
    VARIANT& stored = m_properties[name];
    VariantClear(&stored);
    stored = *value;
    VariantInit(value);
}

void FakeClassObject::setObjects(const wchar_t* name, SAFEARRAY* array)
{
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = VT_ARRAY | VT_UNKNOWN;
    V_ARRAY(&value) = array;
    set(name, &value);
}

void FakeClassObject::setNull(const wchar_t* name)
{
    VARIANT value = variantOf(VT_NULL);
    set(name, &value);
}

void FakeClassObject::setBool(const wchar_t* name, VARIANT_BOOL flag)
{
    VARIANT value = variantOf(VT_BOOL);
    V_BOOL(&value) = flag;
    set(name, &value);
}

void FakeClassObject::setByte(const wchar_t* name, BYTE byte)
{
    VARIANT value = variantOf(VT_UI1);
    V_UI1(&value) = byte;
    set(name, &value);
}

void FakeClassObject::setLong(const wchar_t* name, LONG number)
{
    VARIANT value = variantOf(VT_I4);
    V_I4(&value) = number;
    set(name, &value);
}

void FakeClassObject::setString(const wchar_t* name, const std::wstring& text)
{
    VARIANT value = variantOf(VT_BSTR);
    V_BSTR(&value) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    set(name, &value);
}

void FakeClassObject::setBytes(const wchar_t* name, const std::vector<BYTE>& bytes)
{
    SAFEARRAY* pArray = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    void* data = NULL;
    SafeArrayAccessData(pArray, &data);
    for (size_t i = 0; i < bytes.size(); ++i)
        static_cast<BYTE*>(data)[i] = bytes[i];
    SafeArrayUnaccessData(pArray);
    VARIANT value = variantOf(VT_ARRAY | VT_UI1);
    V_ARRAY(&value) = pArray;
    set(name, &value);
}

void FakeClassObject::setObject(const wchar_t* name, IUnknown* pObject)
{
    VARIANT value = variantOf(VT_UNKNOWN);
    pObject->AddRef();
    V_UNKNOWN(&value) = pObject;
    set(name, &value);
}

void FakeClassObject::armFaultAfterGet(const wchar_t* name, int allocations)
{
    m_faultProperty = name;
    m_faultAllocations = allocations;
}

HRESULT FakeClassObject::QueryInterface(REFIID riid, void** ppv)
{
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IWbemClassObject)) {
        *ppv = static_cast<IWbemClassObject*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = NULL;
    return E_NOINTERFACE;
}

ULONG FakeClassObject::AddRef()
{
    return ++m_references;
}

ULONG FakeClassObject::Release()
{
    return --m_references;
}

HRESULT FakeClassObject::Get(LPCWSTR wszName, LONG, VARIANT* pVal, CIMTYPE* pType, LONG* plFlavor)
{
    ++m_gets;
    // A fault armed by an earlier Get covers only what the reader does with that value.
    disarmAllocationFault();
    std::map<std::wstring, VARIANT>::iterator it = m_properties.find(wszName);
    if (it == m_properties.end())
        return WBEM_E_NOT_FOUND;
    if (pType != NULL)
        *pType = CIM_EMPTY;
    if (plFlavor != NULL)
        *plFlavor = 0;
    HRESULT hr = VariantCopy(pVal, &it->second);
    if (m_faultAllocations > 0 && m_faultProperty == wszName)
        armAllocationFault(m_faultAllocations);
    return hr;
}

SAFEARRAY* objectArray(UINT dimensions, LONG lower, ULONG count, IUnknown* const* objects)
{
    std::vector<SAFEARRAYBOUND> bounds(dimensions);
    for (UINT i = 0; i < dimensions; ++i) {
        bounds[i].cElements = count;
        bounds[i].lLbound = lower;
    }
    SAFEARRAY* array = SafeArrayCreate(VT_UNKNOWN, dimensions, &bounds[0]);
    // Fills dimension 1 with the objects, every other dimension at its lower bound.
    std::vector<LONG> indexes(dimensions, lower);
    for (ULONG i = 0; i < count; ++i) {
        indexes[0] = lower + static_cast<LONG>(i);
        SafeArrayPutElement(array, &indexes[0], objects[i]);
    }
    return array;
}
