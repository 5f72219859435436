// The records' trace of a 64-bit identifier they have just read.
#ifndef QUILLET_IDENTIFIER_TRACE_H
#define QUILLET_IDENTIFIER_TRACE_H

namespace quillet {

// Writes "UINT64 ----- <property> = <text>" as one line. The text goes through the wide stream,
// since an identifier is wide text that the narrow stream cannot print.
void traceIdentifier(const char* property, const wchar_t* text);

}  // namespace quillet

#endif
