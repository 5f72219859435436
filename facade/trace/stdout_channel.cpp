#include "trace/stdout_channel.h"

namespace quillet {

bool writeWholeLine(const char* text, size_t size)
{
    holdOutput();
    const bool written = writeHeldPiece(text, size);
    releaseOutput();
    return written;
}

}  // namespace quillet
