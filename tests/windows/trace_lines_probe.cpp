// trace_lines_probe.exe: trace lines through the line writer as the module writes them: a wide
// line with characters no code page holds, a line made of a wide and a narrow half, the
// formatted print, the narrow stream in hexadecimal, and wide lines after all of them (which a
// wide stream in the "C" locale would have lost for good).
#include <iostream>

#include "trace/console.h"

using quillet::installTraceOutput;
using quillet::traceWprintf;

int main()
{
    installTraceOutput();
    std::wcout << L"caf\u00e9 \u4e2d \U0001F600" << std::endl;
    std::wcout << L"Name = " << L"x";
    std::cout << " type = " << 8 << std::endl;
    traceWprintf(L"hbaInstName = %ls\n", L"ROOT\\\u00c9");
    std::cout << std::hex << 26 << std::endl;
    std::wcout << 26 << std::endl;
    std::wcout << L"last wide line" << std::endl;
    return 0;
}
