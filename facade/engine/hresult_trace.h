// The engine's HRESULT lines: text ending in "0x", then the HRESULT in hexadecimal on the
// narrow stream, which stays hexadecimal afterwards (later narrow numbers rely on it).
#ifndef QUILLET_HRESULT_TRACE_H
#define QUILLET_HRESULT_TRACE_H

#include <windows.h>
#include <cstdint>
#include <iostream>

inline void traceHresult(const char* text, HRESULT hr)
{
    // The base is switched once: engines on other threads trace without the interpreter lock,
    // and rewriting the stream's flags on every line would race with their number output.
    if ((std::cout.flags() & std::ios_base::basefield) != std::ios_base::hex)
        std::cout << std::hex;
    std::cout << text << static_cast<std::int32_t>(hr) << std::endl;
}

#endif
