// SAFEARRAYs as Windows lays them out: the descriptor keeps its bounds last dimension first,
// the element type sits in the four bytes before the descriptor, the data is one block in which
// the first index varies fastest. Elements that own something (strings, interfaces, VARIANTs)
// are copied on the way in and out and released when the array is destroyed.
#include "com/bstr.h"
#include "sim/guarded_call.h"
#include "sim/sim.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

// Room before the descriptor for the element type, keeping the descriptor 16-byte aligned.
const size_t kTypeSlotSize = 16;

ULONG elementSize(VARTYPE vt)
{
    switch (vt) {
        case VT_I1:
        case VT_UI1:
            return 1;
        case VT_I2:
        case VT_UI2:
        case VT_BOOL:
            return 2;
        case VT_I4:
        case VT_UI4:
        case VT_INT:
        case VT_UINT:
        case VT_R4:
        case VT_ERROR:
            return 4;
        case VT_I8:
        case VT_UI8:
        case VT_R8:
        case VT_CY:
        case VT_DATE:
            return 8;
        case VT_BSTR:
            return sizeof(BSTR);
        case VT_UNKNOWN:
        case VT_DISPATCH:
            return sizeof(IUnknown*);
        case VT_DECIMAL:
            return sizeof(DECIMAL);
        case VT_VARIANT:
            return sizeof(VARIANT);
        default:
            return 0;
    }
}

USHORT featuresFor(VARTYPE vt)
{
    switch (vt) {
        case VT_BSTR:
            return FADF_HAVEVARTYPE | FADF_BSTR;
        case VT_UNKNOWN:
            return FADF_HAVEVARTYPE | FADF_UNKNOWN;
        case VT_DISPATCH:
            return FADF_HAVEVARTYPE | FADF_DISPATCH;
        case VT_VARIANT:
            return FADF_HAVEVARTYPE | FADF_VARIANT;
        default:
            return FADF_HAVEVARTYPE;
    }
}

char* blockOf(SAFEARRAY* psa)
{
    return reinterpret_cast<char*>(psa) - kTypeSlotSize;
}

DWORD& typeSlot(SAFEARRAY* psa)
{
    return reinterpret_cast<DWORD*>(psa)[-1];
}

// Bounds of dimension nDim (1-based, as callers number them).
SAFEARRAYBOUND& boundOf(SAFEARRAY* psa, UINT nDim)
{
    return psa->rgsabound[psa->cDims - nDim];
}

size_t elementCount(SAFEARRAY* psa)
{
    size_t count = 1;
    for (USHORT i = 0; i < psa->cDims; ++i)
        count *= psa->rgsabound[i].cElements;
    return count;
}

// bounds are given first dimension first, as SafeArrayCreate takes them.
SAFEARRAY* createArray(VARTYPE vt, UINT cDims, const SAFEARRAYBOUND* bounds)
{
    ULONG size = elementSize(vt);
    if (size == 0 || cDims == 0 || cDims > USHRT_MAX || bounds == nullptr)
        return nullptr;
    size_t count = 1;
    for (UINT i = 0; i < cDims; ++i) {
        if (bounds[i].cElements != 0 && count > SIZE_MAX / size / bounds[i].cElements)
            return nullptr;
        count *= bounds[i].cElements;
    }
    size_t descriptorSize = sizeof(SAFEARRAY) + (cDims - 1) * sizeof(SAFEARRAYBOUND);
    char* block = static_cast<char*>(std::calloc(1, kTypeSlotSize + descriptorSize));
    if (block == nullptr)
        return nullptr;
    void* data = std::calloc(count == 0 ? 1 : count, size);
    if (data == nullptr) {
        std::free(block);
        return nullptr;
    }
    SAFEARRAY* psa = reinterpret_cast<SAFEARRAY*>(block + kTypeSlotSize);
    psa->cDims = static_cast<USHORT>(cDims);
    psa->fFeatures = featuresFor(vt);
    psa->cbElements = size;
    psa->pvData = data;
    for (UINT i = 0; i < cDims; ++i)
        boundOf(psa, i + 1) = bounds[i];
    typeSlot(psa) = vt;
    winsim::track(winsim::Resource::SafeArray, +1);
    return psa;
}

HRESULT cellOf(SAFEARRAY* psa, const LONG* rgIndices, char** cell)
{
    if (psa == nullptr || rgIndices == nullptr)
        return E_INVALIDARG;
    size_t offset = 0;
    size_t stride = 1;
    for (UINT dim = 1; dim <= psa->cDims; ++dim) {
        const SAFEARRAYBOUND& bound = boundOf(psa, dim);
        long long position = static_cast<long long>(rgIndices[dim - 1]) - bound.lLbound;
        if (position < 0 || position >= static_cast<long long>(bound.cElements))
            return DISP_E_BADINDEX;
        offset += static_cast<size_t>(position) * stride;
        stride *= bound.cElements;
    }
    *cell = static_cast<char*>(psa->pvData) + offset * psa->cbElements;
    return S_OK;
}

// Releases what one element owns and leaves it zeroed.
void clearElement(SAFEARRAY* psa, char* cell)
{
    if (psa->fFeatures & FADF_BSTR) {
        SysFreeString(*reinterpret_cast<BSTR*>(cell));
    } else if (psa->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) {
        IUnknown* element = *reinterpret_cast<IUnknown**>(cell);
        if (element != nullptr)
            element->Release();
    } else if (psa->fFeatures & FADF_VARIANT) {
        VariantClear(reinterpret_cast<VARIANT*>(cell));
    }
    std::memset(cell, 0, psa->cbElements);
}

// Copies the element at source into the empty cell target, duplicating what it owns.
HRESULT copyElementInto(SAFEARRAY* psa, const void* source, void* target)
{
    if (psa->fFeatures & FADF_BSTR) {
        BSTR text = *static_cast<const BSTR*>(source);
        BSTR copy = winsim::copyBstr(text);
        if (text != nullptr && copy == nullptr)
            return E_OUTOFMEMORY;
        *static_cast<BSTR*>(target) = copy;
    } else if (psa->fFeatures & (FADF_UNKNOWN | FADF_DISPATCH)) {
        IUnknown* element = *static_cast<IUnknown* const*>(source);
        if (element != nullptr)
            element->AddRef();
        *static_cast<IUnknown**>(target) = element;
    } else if (psa->fFeatures & FADF_VARIANT) {
        VARIANT* copy = static_cast<VARIANT*>(target);
        VariantInit(copy);
        return VariantCopy(copy, static_cast<const VARIANT*>(source));
    } else {
        std::memcpy(target, source, psa->cbElements);
    }
    return S_OK;
}

// The first index as text, the selector of SafeArrayGetElement faults; empty without indices.
struct IndexSelector
{
    explicit IndexSelector(const LONG* rgIndices)
    {
        text[0] = L'\0';
        if (rgIndices != nullptr)
            std::swprintf(text, sizeof text / sizeof *text, L"%ld",
                          static_cast<long>(rgIndices[0]));
    }
    wchar_t text[16];
};

// The fault configured for this call, if any, logged; a configuration that cannot be read for
// want of memory fails the call with E_OUTOFMEMORY. `selector` is null for a site without one.
bool faulted(const char* site, const wchar_t* selector, HRESULT* result)
{
    bool fails = winsim::guardedCall(true, [&] {
        *result = E_OUTOFMEMORY;
        return winsim::fault(site, selector ? selector : L"", result);
    });
    if (fails) {
        winsim::logCall([&] {
            std::string line = site;
            if (selector)
                line += " " + winsim::toUtf8(selector);
            return line + " = " + winsim::hresultText(*result);
        });
    }
    return fails;
}

}  // namespace

extern "C" {

SAFEARRAY* WINAPI SafeArrayCreate(VARTYPE vt, UINT cDims, SAFEARRAYBOUND* rgsabound)
{
    return createArray(vt, cDims, rgsabound);
}

SAFEARRAY* WINAPI SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements)
{
    SAFEARRAYBOUND bound = {cElements, lLbound};
    return createArray(vt, 1, &bound);
}

HRESULT WINAPI SafeArrayDestroy(SAFEARRAY* psa)
{
    if (psa == nullptr)
        return S_OK;
    if (psa->cLocks > 0)
        return DISP_E_ARRAYISLOCKED;
    size_t count = elementCount(psa);
    char* data = static_cast<char*>(psa->pvData);
    for (size_t i = 0; i < count; ++i)
        clearElement(psa, data + i * psa->cbElements);
    std::free(psa->pvData);
    std::free(blockOf(psa));
    winsim::track(winsim::Resource::SafeArray, -1);
    return S_OK;
}

HRESULT WINAPI SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut)
{
    if (ppsaOut == nullptr)
        return E_INVALIDARG;
    *ppsaOut = nullptr;
    if (psa == nullptr)
        return S_OK;
    VARTYPE vt;
    HRESULT hr = SafeArrayGetVartype(psa, &vt);
    if (FAILED(hr))
        return hr;
    SAFEARRAYBOUND* bounds =
        static_cast<SAFEARRAYBOUND*>(std::calloc(psa->cDims, sizeof(SAFEARRAYBOUND)));
    if (bounds == nullptr)
        return E_OUTOFMEMORY;
    for (UINT dim = 1; dim <= psa->cDims; ++dim)
        bounds[dim - 1] = boundOf(psa, dim);
    SAFEARRAY* copy = createArray(vt, psa->cDims, bounds);
    std::free(bounds);
    if (copy == nullptr)
        return E_OUTOFMEMORY;
    size_t count = elementCount(psa);
    for (size_t i = 0; i < count; ++i) {
        size_t offset = i * psa->cbElements;
        hr = copyElementInto(psa, static_cast<char*>(psa->pvData) + offset,
                             static_cast<char*>(copy->pvData) + offset);
        if (FAILED(hr)) {
            SafeArrayDestroy(copy);
            return hr;
        }
    }
    *ppsaOut = copy;
    return S_OK;
}

UINT WINAPI SafeArrayGetDim(SAFEARRAY* psa)
{
    return psa == nullptr ? 0 : psa->cDims;
}

UINT WINAPI SafeArrayGetElemsize(SAFEARRAY* psa)
{
    return psa == nullptr ? 0 : psa->cbElements;
}

HRESULT WINAPI SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt)
{
    if (psa == nullptr || pvt == nullptr)
        return E_INVALIDARG;
    if (psa->fFeatures & FADF_HAVEVARTYPE)
        *pvt = static_cast<VARTYPE>(typeSlot(psa));
    else if (psa->fFeatures & FADF_BSTR)
        *pvt = VT_BSTR;
    else if (psa->fFeatures & FADF_UNKNOWN)
        *pvt = VT_UNKNOWN;
    else if (psa->fFeatures & FADF_DISPATCH)
        *pvt = VT_DISPATCH;
    else if (psa->fFeatures & FADF_VARIANT)
        *pvt = VT_VARIANT;
    else
        return E_INVALIDARG;
    return S_OK;
}

// What the two bound queries check before they read dimension nDim (1 = the first).
static HRESULT checkBoundQuery(SAFEARRAY* psa, UINT nDim, const LONG* result)
{
    if (psa == nullptr || result == nullptr)
        return E_INVALIDARG;
    if (nDim < 1 || nDim > psa->cDims)
        return DISP_E_BADINDEX;
    return S_OK;
}

HRESULT WINAPI SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound)
{
    HRESULT hr = checkBoundQuery(psa, nDim, plLbound);
    if (SUCCEEDED(hr))
        *plLbound = boundOf(psa, nDim).lLbound;
    return hr;
}

HRESULT WINAPI SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound)
{
    HRESULT hr = checkBoundQuery(psa, nDim, plUbound);
    if (SUCCEEDED(hr)) {
        const SAFEARRAYBOUND& bound = boundOf(psa, nDim);
        *plUbound = static_cast<LONG>(static_cast<long long>(bound.lLbound) + bound.cElements - 1);
    }
    return hr;
}

HRESULT WINAPI SafeArrayLock(SAFEARRAY* psa)
{
    if (psa == nullptr)
        return E_INVALIDARG;
    if (psa->cLocks == 0xFFFF)
        return E_UNEXPECTED;
    ++psa->cLocks;
    return S_OK;
}

HRESULT WINAPI SafeArrayUnlock(SAFEARRAY* psa)
{
    if (psa == nullptr)
        return E_INVALIDARG;
    if (psa->cLocks == 0)
        return E_UNEXPECTED;
    --psa->cLocks;
    return S_OK;
}

HRESULT WINAPI SafeArrayAccessData(SAFEARRAY* psa, void** ppvData)
{
    HRESULT hr;
    if (faulted("SafeArrayAccessData", nullptr, &hr))
        return hr;
    if (psa == nullptr || ppvData == nullptr)
        return E_INVALIDARG;
    hr = SafeArrayLock(psa);
    if (FAILED(hr))
        return hr;
    *ppvData = psa->pvData;
    return S_OK;
}

HRESULT WINAPI SafeArrayUnaccessData(SAFEARRAY* psa)
{
    return SafeArrayUnlock(psa);
}

HRESULT WINAPI SafeArrayPtrOfIndex(SAFEARRAY* psa, LONG* rgIndices, void** ppvData)
{
    if (ppvData == nullptr)
        return E_INVALIDARG;
    char* cell;
    HRESULT hr = cellOf(psa, rgIndices, &cell);
    if (SUCCEEDED(hr))
        *ppvData = cell;
    return hr;
}

HRESULT WINAPI SafeArrayGetElement(SAFEARRAY* psa, LONG* rgIndices, void* pv)
{
    HRESULT hr;
    if (faulted("SafeArrayGetElement", IndexSelector(rgIndices).text, &hr))
        return hr;
    if (pv == nullptr)
        return E_INVALIDARG;
    char* cell;
    hr = cellOf(psa, rgIndices, &cell);
    if (FAILED(hr))
        return hr;
    return copyElementInto(psa, cell, pv);
}

HRESULT WINAPI SafeArrayPutElement(SAFEARRAY* psa, LONG* rgIndices, void* pv)
{
    char* cell;
    HRESULT hr = cellOf(psa, rgIndices, &cell);
    if (FAILED(hr))
        return hr;
    // Strings and interfaces are passed as themselves, everything else through a pointer.
    const void* source = pv;
    if (psa->fFeatures & (FADF_BSTR | FADF_UNKNOWN | FADF_DISPATCH))
        source = &pv;
    else if (pv == nullptr)
        return E_INVALIDARG;
    alignas(VARIANT) char element[sizeof(VARIANT)];
    hr = copyElementInto(psa, source, element);
    if (FAILED(hr))
        return hr;
    clearElement(psa, cell);
    std::memcpy(cell, element, psa->cbElements);
    return S_OK;
}

}  // extern "C"
