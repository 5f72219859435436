#include "fake_class_object.h"

#include <vector>

#include "allocation_fault.h"

FakeClassObject::FakeClassObject() : m_references(1), m_faultAllocations(0) {}

FakeClassObject::~FakeClassObject()
{
    for (std::map<std::wstring, VARIANT>::iterator it = m_properties.begin(); it != m_properties.end(); ++it)
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

void FakeClassObject::armFaultAfterGet(const wchar_t* name, int allocations)
{
    m_faultProperty = name;
    m_faultAllocations = allocations;
}

HRESULT FakeClassObject::QueryInterface(REFIID, void** ppv)
{
    *ppv = NULL;
    return E_NOINTERFACE;
}

ULONG FakeClassObject::AddRef() { return ++m_references; }

ULONG FakeClassObject::Release() { return --m_references; }

HRESULT FakeClassObject::Get(LPCWSTR wszName, LONG, VARIANT* pVal, CIMTYPE* pType, LONG* plFlavor)
{
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
