#ifdef _WIN32

#include "trace/stdout_channel.h"

#include <windows.h>
#include <cstdio>
#include <mutex>
#include <string>

namespace quillet {

namespace {

std::mutex g_outputLock;

void flushCStdout()
{
    const bool failedBefore = ferror(stdout) != 0;
    if (fflush(stdout) != 0 && !failedBefore)
        clearerr(stdout);
}

// Line ends as a Windows console program writes them (the C runtime's text mode did this
// before the trace had its own channel).
std::string withCrLf(const char* text, size_t size)
{
    std::string result;
    result.reserve(size + size / 16 + 2);
    for (size_t i = 0; i < size; ++i) {
        if (text[i] == '\n')
            result += '\r';
        result += text[i];
    }
    return result;
}

// A console shows UTF-16 as it is; bytes written to it would be read in its code page
// (437 or 850, not UTF-8) and come out mangled.
bool writeConsole(HANDLE console, const std::string& text)
{
    const int units =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), NULL, 0);
    if (units <= 0)
        return false;
    std::wstring wide(static_cast<size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], units);
    // Older consoles refuse very large writes: pieces, never splitting a surrogate pair.
    const DWORD kPiece = 8192;
    for (size_t done = 0; done < wide.size();) {
        DWORD piece = static_cast<DWORD>(wide.size() - done < kPiece ? wide.size() - done : kPiece);
        if (done + piece < wide.size() && wide[done + piece - 1] >= 0xD800 &&
            wide[done + piece - 1] <= 0xDBFF)
            --piece;
        DWORD written = 0;
        if (!WriteConsoleW(console, wide.data() + done, piece, &written, NULL) || written == 0)
            return false;
        done += written;
    }
    return true;
}

// A pipe or a file gets the UTF-8 bytes unchanged.
bool writeBytes(HANDLE file, const std::string& text)
{
    const size_t kPiece = 1 << 30;  // WriteFile takes a 32-bit size
    for (size_t done = 0; done < text.size();) {
        const size_t rest = text.size() - done;
        DWORD written = 0;
        if (!WriteFile(file, text.data() + done, static_cast<DWORD>(rest < kPiece ? rest : kPiece),
                       &written, NULL))
            return false;
        done += written;
    }
    return true;
}

}  // namespace

void holdOutput()
{
    const DWORD savedError = GetLastError();
    g_outputLock.lock();
    flushCStdout();
    SetLastError(savedError);
}

bool writeHeldPiece(const char* text, size_t size)
{
    const DWORD savedError = GetLastError();
    bool written = false;
    try {
        const std::string piece = withCrLf(text, size);
        HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
        DWORD mode = 0;
        if (output != NULL && output != INVALID_HANDLE_VALUE)
            written = GetConsoleMode(output, &mode) ? writeConsole(output, piece)
                                                    : writeBytes(output, piece);
    } catch (...) {  // no memory for the copy: this piece is lost
    }
    SetLastError(savedError);
    return written;
}

void releaseOutput()
{
    g_outputLock.unlock();
}

}  // namespace quillet

#endif
