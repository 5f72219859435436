// The one way trace lines reach standard output: whole, in one write, under one process-wide
// lock, after whatever the process left in C stdout's buffer (a Python 2 script's print).
#ifndef QUILLET_TRACE_STDOUT_CHANNEL_H
#define QUILLET_TRACE_STDOUT_CHANNEL_H

#include <cstddef>

namespace quillet {

// Writes text (UTF-8, lines ended by '\n') to standard output and returns whether all of it
// went out. A refused write (full disk, closed pipe or descriptor) loses this text only: no
// error state is left behind in C stdout, and the next call tries again. Never throws.
bool writeWholeLine(const char* text, size_t size);

// A line that memory cannot hold goes out in pieces, yet whole among other threads' lines: the
// writer holds the output (the lock of writeWholeLine, after C stdout's pending text) from its
// first piece to its last. Pieces are written as writeWholeLine writes; a piece that is refused
// is lost alone. Never throw.
void holdOutput();
bool writeHeldPiece(const char* text, size_t size);
void releaseOutput();

}  // namespace quillet

#endif
