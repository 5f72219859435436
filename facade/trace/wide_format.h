// The wide formatted print of the trace, formatted into the calling thread's pending line.
#ifndef QUILLET_TRACE_WIDE_FORMAT_H
#define QUILLET_TRACE_WIDE_FORMAT_H

#include <cstdarg>

namespace quillet {

// Appends the text of format and args (wprintf rules) to the pending line as UTF-8, whatever
// its length. The formats the wrappers use (text, %ls, %d, %%) are formatted here directly;
// any other goes through vswprintf. Never throws; a line that cannot be formatted is lost.
void appendFormatted(const wchar_t* format, va_list args);

}  // namespace quillet

#endif
