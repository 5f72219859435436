// Trace output: every writer (std::cout, std::wcout and the wrappers' wide formatted lines)
// reaches standard output in the order written, wide text as UTF-8 (on a Windows console as
// UTF-16). Each thread assembles its line whole, whichever writers made it; the line leaves in
// one write under one process-wide lock, so lines of different threads never mix. A line that
// standard output refuses is lost alone: the streams and C stdout stay usable.
#ifndef QUILLET_CONSOLE_H
#define QUILLET_CONSOLE_H

namespace quillet {

// Points std::cout and std::wcout at the line writer, keeping their formatting (the narrow
// stream's number base). Idempotent; the module calls it at import, C++ tests before they trace.
// A line ends at a flush (std::endl).
void installTraceOutput();

// The wrappers' wide formatted print (wprintf semantics; use %ls for wide strings, which every
// platform reads as a wide string). Ends the calling thread's line and sends it at once.
// Returns false when memory ran out while formatting the line (the line, or the rest of it, is
// lost); a line that standard output refused is not reported.
bool traceWprintf(const wchar_t* format, ...);

}  // namespace quillet

#endif
