// BSTR allocation for the platform's own use. The simulated services build the strings they
// hand out with allocBstr, which counts them like SysAllocString but never consults the
// configured faults: a fault on SysAllocString is meant for the product's own calls.
#ifndef WINSIM_BSTR_H
#define WINSIM_BSTR_H

#include <windows.h>
#include <cstddef>

namespace winsim {

// A BSTR of `length` characters copied from text (or zero-filled when text is null);
// null when memory is exhausted. Freed by SysFreeString.
BSTR allocBstr(const OLECHAR* text, size_t length);

// A copy of the whole string, embedded NULs and byte length included; null for null or when
// memory is exhausted.
BSTR copyBstr(BSTR text);

}  // namespace winsim

#endif
