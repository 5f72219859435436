#include "trace/identifier_trace.h"

#include <iostream>

namespace quillet {

void traceIdentifier(const char* property, const wchar_t* text)
{
    // Both streams end in the same stdout FILE, so the halves keep their order without a flush
    // of their own and the line leaves in one write at std::endl.
    std::cout << "UINT64 ----- " << property << " = ";
    std::wcout << text;
    std::cout << std::endl;
}

}  // namespace quillet
