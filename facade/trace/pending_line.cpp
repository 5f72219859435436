#include "trace/pending_line.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "trace/stdout_channel.h"
#include "trace/thread_slot.h"
#include "trace/utf8.h"

namespace quillet {

namespace {

// A thread's line, made on its first trace and freed as the thread ends. Plain memory: objects
// that trace may still be destroyed after (at process exit), and must find the line usable.
struct Line
{
    char* data;
    size_t size;
    size_t capacity;
    bool lost;
};

// A line this long or longer gives its memory back once sent: one huge name must not pin its
// size on the thread for good.
const size_t kKeptCapacity = 64 * 1024;

void release(Line& line)
{
    std::free(line.data);
    line.data = NULL;
    line.size = line.capacity = 0;
}

// Sends what a thread left unfinished and frees its line when the thread ends.
void endThreadLine(void* value)
{
    Line* line = static_cast<Line*>(value);
    if (line->size && !line->lost)
        writeWholeLine(line->data, line->size);
    release(*line);
    std::free(line);
}

// The calling thread's line, or null when memory (or the system's slot) gives none.
// malloc, not operator new: the trace's memory is no part of the C++ allocations that tests
// of the callers count and fail on purpose.
Line* threadLine()
{
    if (!thread_slot::make(endThreadLine))
        return NULL;
    Line* line = static_cast<Line*>(thread_slot::get());
    if (line)
        return line;
    line = static_cast<Line*>(std::calloc(1, sizeof(Line)));
    if (line && !thread_slot::set(line)) {
        std::free(line);
        line = NULL;
    }
    return line;
}

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
    line.data = data;
    line.capacity = capacity;
    return true;
}

// A line that memory cannot hold is not dropped: from where memory ran out to its end it goes
// out piece by piece, while this thread holds the output, so that no other line comes between.
// Only the thread that holds the output can be writing in pieces.
std::atomic<std::thread::id> g_piecesWriter{std::thread::id()};
bool g_piecesLost = false;  // the line in pieces lost a part: its writer gets false from send

bool writingInPieces()
{
    return g_piecesWriter.load() == std::this_thread::get_id();
}

void startPieces(Line* line)
{
    holdOutput();
    g_piecesWriter.store(std::this_thread::get_id());
    g_piecesLost = line && line->lost;
    if (line && line->size && !line->lost)
        writeHeldPiece(line->data, line->size);
    if (line) {
        line->size = 0;
        line->lost = false;
    }
}

// Room for `size` more bytes at the end of the thread's line, or null when the text is to be
// written as a piece (or ignored, on a lost line).
char* reserve(size_t size, bool* ignore)
{
    *ignore = false;
    if (!writingInPieces()) {
        Line* line = threadLine();
        if (line && line->lost) {
            *ignore = true;
            return NULL;
        }
        if (line && (line->capacity - line->size >= size || grow(*line, line->size + size)))
            return line->data + line->size;
        startPieces(line);
    }
    *ignore = g_piecesLost;
    return NULL;
}

void commit(size_t size)
{
    static_cast<Line*>(thread_slot::get())->size += size;
}

}  // namespace

namespace pending_line {

void markLost()
{
    if (writingInPieces()) {
        g_piecesLost = true;
        return;
    }
    Line* line = threadLine();
    if (!line) {
        startPieces(NULL);  // nowhere else to keep the mark till the line ends
        g_piecesLost = true;
        return;
    }
    line->lost = true;
    line->size = 0;
}

void appendNarrow(const char* text, size_t size)
{
    bool ignore;
    if (char* room = reserve(size, &ignore)) {
        std::memcpy(room, text, size);
        commit(size);
    } else if (!ignore) {
        writeHeldPiece(text, size);
    }
}

void appendWide(const wchar_t* text, size_t length)
{
    // In pieces, so that the line grows by what the text takes rather than by its worst case
    // (four times a long name). A piece may end inside a surrogate pair: keep the pair together.
    const size_t kPiece = 256;
    while (length) {
        size_t piece = length < kPiece ? length : kPiece;
        if (piece < length && sizeof(wchar_t) == 2 &&
            static_cast<unsigned long>(text[piece - 1]) - 0xD800 < 0x400)
            ++piece;
        bool ignore;
        if (char* room = reserve(piece * kUtf8BytesPerWide, &ignore)) {
            commit(encodeUtf8(text, piece, room));
        } else if (ignore) {
            return;
        } else {
            char encoded[(kPiece + 1) * kUtf8BytesPerWide];
            writeHeldPiece(encoded, encodeUtf8(text, piece, encoded));
        }
        text += piece;
        length -= piece;
    }
}

bool send()
{
    if (writingInPieces()) {
        const bool whole = !g_piecesLost;
        g_piecesWriter.store(std::thread::id());
        releaseOutput();
        return whole;
    }
    Line* line = static_cast<Line*>(thread_slot::make(endThreadLine) ? thread_slot::get() : NULL);
    if (!line)
        return true;  // nothing was collected
    const bool whole = !line->lost;
    if (whole && line->size)
        writeWholeLine(line->data, line->size);
    line->size = 0;
    line->lost = false;
    if (line->capacity >= kKeptCapacity)
        release(*line);
    return whole;
}

}  // namespace pending_line

}  // namespace quillet
