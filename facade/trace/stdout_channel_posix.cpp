#ifndef _WIN32

#include "trace/stdout_channel.h"

#include <poll.h>
#include <pthread.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <mutex>
#include <new>

namespace quillet {

namespace {

// Constant-initialised and never destroyed in effect (trivial destructor): usable by lines
// written while the process exits.
std::mutex g_outputLock;

// A fork while another thread writes a line would leave the child's copy of the lock held for
// good (a Python script forking workers while threads trace). The child has no such thread:
// it starts with a fresh lock, as the C library does for its streams.
struct FreshLockInForkedChild
{
    FreshLockInForkedChild()
    {
        pthread_atfork(NULL, NULL, [] { new (&g_outputLock) std::mutex; });
    }
} g_freshLockInForkedChild;

// Text a script put in C stdout comes first. Should that flush fail, the script's next write
// would trip over the error flag we caused: clear it unless it was set before.
void flushCStdout()
{
    const bool failedBefore = ferror(stdout) != 0;
    if (fflush(stdout) != 0 && !failedBefore)
        clearerr(stdout);
}

bool writeAll(const char* text, size_t size)
{
    while (size) {
        const ssize_t written = ::write(STDOUT_FILENO, text, size);
        if (written >= 0) {
            text += written;
            size -= static_cast<size_t>(written);
        } else if (errno == EINTR) {
            continue;  // a signal interrupted the write: the rest of the line follows
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            // Someone made standard output non-blocking: wait as a blocking write would.
            pollfd ready = {STDOUT_FILENO, POLLOUT, 0};
            poll(&ready, 1, -1);
        } else {
            return false;  // ENOSPC, EPIPE, EBADF, EIO: this line is refused
        }
    }
    return true;
}

}  // namespace

void holdOutput()
{
    const int savedErrno = errno;
    g_outputLock.lock();
    flushCStdout();
    errno = savedErrno;
}

bool writeHeldPiece(const char* text, size_t size)
{
    const int savedErrno = errno;
    const bool written = writeAll(text, size);
    errno = savedErrno;
    return written;
}

void releaseOutput()
{
    g_outputLock.unlock();
}

}  // namespace quillet

#endif
