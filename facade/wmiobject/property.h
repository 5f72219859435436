// Helpers shared by the WMIObject readers: fetching one property into a VARIANT holder and the
// trace line of a fetched value. Internal to the readers.
#ifndef QUILLET_PROPERTY_H
#define QUILLET_PROPERTY_H

#include <windows.h>
#include <wbemidl.h>
#include <cstddef>
#include <iostream>
#include "com/scoped_variant.h"
#include "trace/variant_type_trace.h"

// IWbemClassObject::Get with flags 0 and no flavour; cimType may be null.
HRESULT fetchProperty(IWbemClassObject* pObject, const wchar_t* name, quillet::ScopedVariant& value,
                      CIMTYPE* cimType = NULL);

// "<name> = <value>" on the wide stream and " type = <vt>" on the narrow one: one console line.
template <typename Value>
void traceProperty(const wchar_t* name, const Value& value, VARTYPE type)
{
    std::wcout << name << L" = " << value;
    quillet::traceVariantType(type);
}

// Copies text into buffer of size characters (terminator included), truncating what does not fit.
void copyText(const wchar_t* text, wchar_t* buffer, size_t size);

#endif
