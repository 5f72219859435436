#include "wmiobject/wmiobject.h"

#include "com/scoped_safearray.h"
#include "trace/variant_type_trace.h"
#include "wmiobject/property.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

using quillet::SafeArrayData;
using quillet::ScopedVariant;
using quillet::traceArrayFlag;
using quillet::traceVariantType;

namespace {

// Copies up to count bytes from the start of the array's data, never more than dimension 1 holds.
void copyArrayBytes(SAFEARRAY* pArray, BYTE* buffer, size_t count)
{
    if (!pArray || SafeArrayGetDim(pArray) < 1)
        return;
    LONG lower = 0;
    LONG upper = -1;
    if (FAILED(SafeArrayGetLBound(pArray, 1, &lower)) ||
        FAILED(SafeArrayGetUBound(pArray, 1, &upper)))
        return;
    if (upper < lower)
        return;
    size_t available =
        (static_cast<size_t>(upper) - static_cast<size_t>(lower) + 1) * pArray->cbElements;
    SafeArrayData access(pArray);
    if (FAILED(access.result()))
        return;
    // Success without a data pointer: nothing to copy, but the lock the success stands for is
    // still given back (by the holder), or the array could not be destroyed.
    if (access.data())
        std::memcpy(buffer, access.data(), count < available ? count : available);
}

// Writes the pointer as the stream writes one ("0x" and lowercase hexadecimal digits, "0" for
// none) into buffer. Not through the stream: its pointer output switches the stream's flags to
// hexadecimal with a base prefix for a moment, and other threads' engines write their numbers
// through the same stream meanwhile.
void formatPointer(const void* pointer, char* buffer, size_t size)
{
    if (!pointer)
        std::snprintf(buffer, size, "0");
    else
        std::snprintf(buffer, size, "0x%" PRIxPTR, reinterpret_cast<std::uintptr_t>(pointer));
}

}  // namespace

bool WMIObject::getByteArray(const wchar_t* name, BYTE* buffer, size_t count)
{
    if (!m_pclsObject)
        return false;
    ScopedVariant value;
    if (FAILED(fetchProperty(m_pclsObject, name, value)))
        return false;
    VARTYPE type = value.type();
    traceVariantType(type);
    traceArrayFlag(type);
    // A NULL value has no pointer member worth showing.
    char pointer[2 + 2 * sizeof(void*) + 1];
    formatPointer(value.hasValue() ? V_BYREF(&value.value()) : NULL, pointer, sizeof pointer);
    std::cout << " V_BYREF = " << pointer << std::endl;
    if (type & VT_ARRAY)
        copyArrayBytes(V_ARRAY(&value.value()), buffer, count);
    return true;
}
