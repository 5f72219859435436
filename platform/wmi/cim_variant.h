// The one place where CIM values meet VARIANTs, with the VARIANT types WMI itself uses:
// boolean VT_BOOL; uint8 VT_UI1; sint8, sint16, char16 VT_I2; uint16, uint32, sint32 VT_I4;
// uint64, sint64 (as decimal text), datetime, string VT_BSTR; real32 VT_R4; real64 VT_R8;
// objects VT_UNKNOWN; arrays VT_ARRAY with the element type in a SAFEARRAY from index 0;
// unset values VT_NULL.
#ifndef WINSIM_WMI_CIM_VARIANT_H
#define WINSIM_WMI_CIM_VARIANT_H

#include <windows.h>
#include <wbemidl.h>

#include "wmi/cim_model.h"

namespace winsim::wmi {

// The CIMTYPE of a property (CIM_FLAG_ARRAY added for arrays).
CIMTYPE cimTypeOf(const CimType& type);

// Fills *out, which holds nothing the caller still owns, with a new VARIANT the caller must
// clear. Embedded objects are handed out as new objects with one reference each.
// E_OUTOFMEMORY when an allocation fails (then *out is VT_EMPTY).
HRESULT toVariant(const CimValue& value, const CimType& type, VARIANT* out);

// The value a VARIANT given to Put stands for, converted to the property's type;
// WBEM_E_TYPE_MISMATCH when it cannot be.
HRESULT fromVariant(const VARIANT& in, const CimType& type, CimValue* out);

}  // namespace winsim::wmi

#endif
