// The calling thread's trace line in the making. The narrow stream, the wide stream and the
// formatted print all add to it, so a line begun on one writer and ended on another leaves as
// one line; every thread has its own, so lines of different threads never mix.
// Nothing here throws, and no line is dropped for want of memory: a line that memory cannot hold
// goes out in pieces (still whole among the other threads' lines). A line that a writer marks
// lost is dropped, or its rest ignored when part of it went out already.
#ifndef QUILLET_TRACE_PENDING_LINE_H
#define QUILLET_TRACE_PENDING_LINE_H

#include <cstddef>

namespace quillet {

namespace pending_line {

void appendNarrow(const char* text, size_t size);
// Wide text is kept as UTF-8.
void appendWide(const wchar_t* text, size_t length);

// Drops the line: for a writer that could not produce its part of it.
void markLost();

// Writes what the thread has collected (if anything) to standard output as one line and starts
// a new one. False when the line was marked lost; a line the system refused to write is gone
// too, but that is no fault of the caller's.
bool send();

}  // namespace pending_line

}  // namespace quillet

#endif
