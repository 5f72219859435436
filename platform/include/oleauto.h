// OLE Automation: BSTRs, VARIANTs and SAFEARRAYs.
#ifndef WINSIM_OLEAUTO_H
#define WINSIM_OLEAUTO_H

#include "oaidl.h"

// Length-prefixed strings: a 32-bit byte count precedes the characters, a NUL follows them.
EXTERN_C BSTR WINAPI SysAllocString(const OLECHAR* psz);
EXTERN_C BSTR WINAPI SysAllocStringLen(const OLECHAR* strIn, UINT ui);
EXTERN_C BSTR WINAPI SysAllocStringByteLen(LPCSTR psz, UINT len);
EXTERN_C INT WINAPI SysReAllocString(BSTR* pbstr, const OLECHAR* psz);
EXTERN_C INT WINAPI SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT len);
EXTERN_C void WINAPI SysFreeString(BSTR bstrString);
EXTERN_C UINT WINAPI SysStringLen(BSTR pbstr);
EXTERN_C UINT WINAPI SysStringByteLen(BSTR bstr);

EXTERN_C void WINAPI VariantInit(VARIANTARG* pvarg);
EXTERN_C HRESULT WINAPI VariantClear(VARIANTARG* pvarg);
EXTERN_C HRESULT WINAPI VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc);

EXTERN_C SAFEARRAY* WINAPI SafeArrayCreate(VARTYPE vt, UINT cDims, SAFEARRAYBOUND* rgsabound);
EXTERN_C SAFEARRAY* WINAPI SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements);
EXTERN_C HRESULT WINAPI SafeArrayDestroy(SAFEARRAY* psa);
EXTERN_C HRESULT WINAPI SafeArrayCopy(SAFEARRAY* psa, SAFEARRAY** ppsaOut);
EXTERN_C UINT WINAPI SafeArrayGetDim(SAFEARRAY* psa);
EXTERN_C UINT WINAPI SafeArrayGetElemsize(SAFEARRAY* psa);
EXTERN_C HRESULT WINAPI SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt);
EXTERN_C HRESULT WINAPI SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound);
EXTERN_C HRESULT WINAPI SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound);
EXTERN_C HRESULT WINAPI SafeArrayLock(SAFEARRAY* psa);
EXTERN_C HRESULT WINAPI SafeArrayUnlock(SAFEARRAY* psa);
EXTERN_C HRESULT WINAPI SafeArrayAccessData(SAFEARRAY* psa, void** ppvData);
EXTERN_C HRESULT WINAPI SafeArrayUnaccessData(SAFEARRAY* psa);
EXTERN_C HRESULT WINAPI SafeArrayGetElement(SAFEARRAY* psa, LONG* rgIndices, void* pv);
EXTERN_C HRESULT WINAPI SafeArrayPutElement(SAFEARRAY* psa, LONG* rgIndices, void* pv);
EXTERN_C HRESULT WINAPI SafeArrayPtrOfIndex(SAFEARRAY* psa, LONG* rgIndices, void** ppvData);

#define V_VT(X) ((X)->vt)
#define V_ISBYREF(X) (V_VT(X) & VT_BYREF)
#define V_ISARRAY(X) (V_VT(X) & VT_ARRAY)
#define V_ISVECTOR(X) (V_VT(X) & VT_VECTOR)
#define V_NONE(X) V_I2(X)
#define V_UI1(X) ((X)->bVal)
#define V_UI1REF(X) ((X)->pbVal)
#define V_I1(X) ((X)->cVal)
#define V_I2(X) ((X)->iVal)
#define V_I2REF(X) ((X)->piVal)
#define V_UI2(X) ((X)->uiVal)
#define V_I4(X) ((X)->lVal)
#define V_I4REF(X) ((X)->plVal)
#define V_UI4(X) ((X)->ulVal)
#define V_I8(X) ((X)->llVal)
#define V_UI8(X) ((X)->ullVal)
#define V_INT(X) ((X)->intVal)
#define V_UINT(X) ((X)->uintVal)
#define V_R4(X) ((X)->fltVal)
#define V_R8(X) ((X)->dblVal)
#define V_CY(X) ((X)->cyVal)
#define V_DATE(X) ((X)->date)
#define V_BSTR(X) ((X)->bstrVal)
#define V_BSTRREF(X) ((X)->pbstrVal)
#define V_DISPATCH(X) ((X)->pdispVal)
#define V_ERROR(X) ((X)->scode)
#define V_BOOL(X) ((X)->boolVal)
#define V_BOOLREF(X) ((X)->pboolVal)
#define V_UNKNOWN(X) ((X)->punkVal)
#define V_UNKNOWNREF(X) ((X)->ppunkVal)
#define V_VARIANTREF(X) ((X)->pvarVal)
#define V_ARRAY(X) ((X)->parray)
#define V_ARRAYREF(X) ((X)->pparray)
#define V_BYREF(X) ((X)->byref)
#define V_DECIMAL(X) ((X)->decVal)

#endif
