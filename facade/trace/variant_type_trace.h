// The readers' trace of a fetched value's VARTYPE, on the narrow stream in its current number
// base (hexadecimal once the engine has connected).
#ifndef QUILLET_VARIANT_TYPE_TRACE_H
#define QUILLET_VARIANT_TYPE_TRACE_H

#include <windows.h>

namespace quillet {

// Writes " type = <type>" and ends the line: a line of its own, or the end of the line that
// names a property and its value.
void traceVariantType(VARTYPE type);

// " V_ISARRAY = <the array flag>" as one line.
void traceArrayFlag(VARTYPE type);

// Three lines: " type = <the base type>", " V_ISARRAY = <the array flag>" and
// " V_ISBYREF = <the by-reference flag>".
void traceVariantTypeAndFlags(VARTYPE type);

}  // namespace quillet

#endif
