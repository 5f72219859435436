#include "trace/pending_line.h"

#include <cstdlib>
#include <cstring>

#include "trace/stdout_channel.h"
#include "trace/utf8.h"

namespace {

// Trivially destructible on purpose: destructors of objects that trace may run after this
// thread's thread-local destructors (at process exit), and must still find a usable line.
struct Line {
    char* data;
    size_t size;
    size_t capacity;
    bool lost;
};

thread_local Line t_line;

// A line this long or longer gives its memory back once sent: one huge name must not pin its
// size on the thread for good.
const size_t KEPT_CAPACITY = 64 * 1024;

void release(Line& line)
{
    std::free(line.data);
    line.data = NULL;
    line.size = line.capacity = 0;
}

// Sends what a thread left unfinished and frees its line when the thread ends.
struct ReleaseAtThreadExit {
    ~ReleaseAtThreadExit()
    {
        pending_line::send();
        release(t_line);
    }
};

// malloc, not operator new: the trace's memory is no part of the C++ allocations that tests
// of the callers count and fail on purpose.
bool grow(Line& line, size_t needed)
{
    if (needed < line.size)  // size_t wrapped: no memory holds that
        return false;
    size_t capacity = line.capacity ? line.capacity : 256;
    while (capacity < needed)
        capacity = capacity * 2 > capacity ? capacity * 2 : needed;
    char* data = static_cast<char*>(std::realloc(line.data, capacity));
    if (!data)
        return false;
    if (!line.data) {
        static thread_local ReleaseAtThreadExit releaser;
        (void)releaser;
    }
    line.data = data;
    line.capacity = capacity;
    return true;
}

// Room for `size` more bytes at the end of the line, or null when the line is lost. The public
// functions look the thread's line up once (a thread-local lookup costs a call in a shared
// library) and pass it here.
char* reserveIn(Line& line, size_t size)
{
    if (line.lost)
        return NULL;
    if (line.capacity - line.size < size && !grow(line, line.size + size)) {
        line.lost = true;
        line.size = 0;
        return NULL;
    }
    return line.data + line.size;
}

}  // namespace

namespace pending_line {

void markLost()
{
    Line& line = t_line;
    line.lost = true;
    line.size = 0;
}

void appendNarrow(const char* text, size_t size)
{
    Line& line = t_line;
    if (char* room = reserveIn(line, size)) {
        std::memcpy(room, text, size);
        line.size += size;
    }
}

void appendWide(const wchar_t* text, size_t length)
{
    Line& line = t_line;
    // In pieces, so that the line grows by what the text takes rather than by its worst case
    // (four times a long name). A piece may end inside a surrogate pair: keep the pair together.
    const size_t PIECE = 4096;
    while (length) {
        size_t piece = length < PIECE ? length : PIECE;
        if (piece < length && sizeof(wchar_t) == 2 &&
            static_cast<unsigned long>(text[piece - 1]) - 0xD800 < 0x400)
            ++piece;
        char* room = reserveIn(line, piece * UTF8_BYTES_PER_WIDE);
        if (!room)
            return;
        line.size += encodeUtf8(text, piece, room);
        text += piece;
        length -= piece;
    }
}

bool send()
{
    Line& line = t_line;
    const bool whole = !line.lost;
    if (whole && line.size)
        writeWholeLine(line.data, line.size);
    line.size = 0;
    line.lost = false;
    if (line.capacity >= KEPT_CAPACITY)
        release(line);
    return whole;
}

}  // namespace pending_line
