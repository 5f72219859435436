// The engine's HRESULT lines: text ending in "0x", then the HRESULT in hexadecimal on the
// narrow stream, which stays hexadecimal afterwards (later narrow numbers rely on it).
#ifndef QUILLET_HRESULT_TRACE_H
#define QUILLET_HRESULT_TRACE_H

#include <windows.h>
#include <cstdint>
#include <iostream>

inline void traceHresult(const char* text, HRESULT hr)
{
    std::cout << text << std::hex << static_cast<std::int32_t>(hr) << std::endl;
}

#endif
