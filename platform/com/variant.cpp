// VARIANTs: clearing releases what the VARIANT owns (string, interface, array) by its type;
// copying duplicates it (new string, added reference, deep array copy).
#include "com/bstr.h"
#include <windows.h>

namespace {

bool isScalarType(VARTYPE vt)
{
    switch (vt) {
        case VT_EMPTY:
        case VT_NULL:
        case VT_I2:
        case VT_I4:
        case VT_R4:
        case VT_R8:
        case VT_CY:
        case VT_DATE:
        case VT_BSTR:
        case VT_DISPATCH:
        case VT_ERROR:
        case VT_BOOL:
        case VT_UNKNOWN:
        case VT_DECIMAL:
        case VT_I1:
        case VT_UI1:
        case VT_UI2:
        case VT_UI4:
        case VT_I8:
        case VT_UI8:
        case VT_INT:
        case VT_UINT:
            return true;
        default:
            return false;
    }
}

// The types a VARIANT may hold: a scalar, an array of one, or a reference to either.
bool isValidType(VARTYPE vt)
{
    VARTYPE base = vt & VT_TYPEMASK;
    VARTYPE modifiers = vt & ~VT_TYPEMASK;
    if (modifiers & ~(VT_ARRAY | VT_BYREF))
        return false;
    if (modifiers == 0)
        return isScalarType(base);
    if (base == VT_EMPTY || base == VT_NULL)
        return false;
    return isScalarType(base) || base == VT_VARIANT;
}

}  // namespace

extern "C" {

void WINAPI VariantInit(VARIANTARG* pvarg)
{
    if (pvarg == nullptr)
        return;
    pvarg->vt = VT_EMPTY;
    pvarg->wReserved1 = pvarg->wReserved2 = pvarg->wReserved3 = 0;
}

HRESULT WINAPI VariantClear(VARIANTARG* pvarg)
{
    if (pvarg == nullptr)
        return E_INVALIDARG;
    if (!isValidType(pvarg->vt))
        return DISP_E_BADVARTYPE;
    HRESULT hr = S_OK;
    if (!(pvarg->vt & VT_BYREF)) {
        if (pvarg->vt & VT_ARRAY) {
            // A locked array stays with whoever locked it; the VARIANT lets go of it all the same.
            hr = SafeArrayDestroy(pvarg->parray);
        } else if (pvarg->vt == VT_BSTR) {
            SysFreeString(pvarg->bstrVal);
        } else if (pvarg->vt == VT_UNKNOWN || pvarg->vt == VT_DISPATCH) {
            if (pvarg->punkVal != nullptr)
                pvarg->punkVal->Release();
        }
    }
    pvarg->vt = VT_EMPTY;
    return hr;
}

HRESULT WINAPI VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc)
{
    if (pvargDest == nullptr || pvargSrc == nullptr)
        return E_INVALIDARG;
    if (pvargDest == pvargSrc)
        return S_OK;
    if (!isValidType(pvargSrc->vt))
        return DISP_E_BADVARTYPE;
    HRESULT hr = VariantClear(pvargDest);
    if (FAILED(hr))
        return hr;

    VARIANT copy = *pvargSrc;
    if (!(copy.vt & VT_BYREF)) {
        if (copy.vt & VT_ARRAY) {
            copy.parray = nullptr;
            if (pvargSrc->parray != nullptr) {
                hr = SafeArrayCopy(pvargSrc->parray, &copy.parray);
                if (FAILED(hr))
                    return hr;
            }
        } else if (copy.vt == VT_BSTR && pvargSrc->bstrVal != nullptr) {
            copy.bstrVal = winsim::copyBstr(pvargSrc->bstrVal);
            if (copy.bstrVal == nullptr)
                return E_OUTOFMEMORY;
        } else if ((copy.vt == VT_UNKNOWN || copy.vt == VT_DISPATCH) && copy.punkVal != nullptr) {
            copy.punkVal->AddRef();
        }
    }
    *pvargDest = copy;
    return S_OK;
}

}  // extern "C"
