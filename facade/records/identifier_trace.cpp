#include "records/identifier_trace.h"

#include <iostream>

void traceIdentifier(const char* property, const wchar_t* text)
{
    std::cout << "UINT64 ----- " << property << " = " << std::flush;
    std::wcout << text << std::flush;
    std::cout << std::endl;
}
