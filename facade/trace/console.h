// Trace output: every writer (std::cout, std::wcout and the wrappers' wide formatted lines)
// reaches standard output in the order written, non-ASCII text as UTF-8. On Linux a FILE has
// one orientation, so the wide writers are turned into UTF-8 bytes on the narrow channel; on
// Windows the real streams serve.
#ifndef QUILLET_CONSOLE_H
#define QUILLET_CONSOLE_H

// Makes std::wcout write UTF-8 to standard output in order with std::cout. Idempotent; the
// module calls it at import, C++ tests before they trace.
void installTraceOutput();

// The wrappers' wide formatted print (wprintf semantics; use %ls for wide strings, which every
// platform reads as a wide string). Flushed at once so it keeps its place among the streams.
void traceWprintf(const wchar_t* format, ...);

#endif
