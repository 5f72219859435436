// The integer held by a VARIANT's value member or a SAFEARRAY element of an integer type. Shared
// by the capture program and the stand-in, which both read such slots by their VARTYPE.
#ifndef QUILLET_VARIANT_INTEGER_H
#define QUILLET_VARIANT_INTEGER_H

#include <windows.h>
#include <wtypes.h>
#include <cstdint>
#include <cstring>

namespace variant {

// Copied out, since the slot of a SAFEARRAY element need not be aligned for its type.
template <class T>
T loadSlot(const void* slot)
{
    T value;
    std::memcpy(&value, slot, sizeof value);
    return value;
}

// The value of the integer types I1 to UI8, INT and UINT, each read at its own width and
// signedness; VT_UI8 comes back as its bit pattern. False for any other type (VT_BOOL among
// them, which callers take as an integer or not as they need).
inline bool integerSlot(VARTYPE vt, const void* slot, int64_t* value)
{
    switch (vt) {
        case VT_I1:
            *value = loadSlot<signed char>(slot);
            return true;
        case VT_UI1:
            *value = loadSlot<BYTE>(slot);
            return true;
        case VT_I2:
            *value = loadSlot<SHORT>(slot);
            return true;
        case VT_UI2:
            *value = loadSlot<USHORT>(slot);
            return true;
        case VT_I4:
        case VT_INT:
            *value = loadSlot<LONG>(slot);
            return true;
        case VT_UI4:
        case VT_UINT:
            *value = loadSlot<ULONG>(slot);
            return true;
        case VT_I8:
            *value = loadSlot<LONGLONG>(slot);
            return true;
        case VT_UI8:
            *value = static_cast<int64_t>(loadSlot<ULONGLONG>(slot));
            return true;
        default:
            return false;
    }
}

}  // namespace variant

#endif
