// The call log named by WMISIM_LOG: one line per platform call, appended and flushed at once so
// that a crash keeps every earlier line. The variable is looked up at each line, so a process
// (or a test) that changes it moves on to the new file. A path that cannot be opened is
// reported once on standard error and its lines are dropped; a line whose write fails is lost
// and the next one is tried as usual.
#include "sim/sim.h"
#include "sim/diagnostics.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/uio.h>
#include <unistd.h>

namespace winsim {

namespace {

struct LogFile
{
    std::mutex lock;
    std::string path;  // the path fd belongs to, or that failed to open
    int fd = -1;
};

// Never destroyed: lines may still be written by static destructors at exit.
LogFile& logFile()
{
    static LogFile* file = new LogFile;
    return *file;
}

// The line and its end in one call, so that lines of several processes sharing the file never
// interleave.
void writeLine(int fd, const std::string& line)
{
    char end = '\n';
    iovec parts[2] = {{const_cast<char*>(line.data()), line.size()}, {&end, 1}};
    iovec* part = parts;
    int count = 2;
    while (count > 0) {
        ssize_t written = ::writev(fd, part, count);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        size_t left = static_cast<size_t>(written);
        while (count > 0 && left >= part->iov_len) {
            left -= part->iov_len;
            ++part;
            --count;
        }
        if (count > 0) {
            part->iov_base = static_cast<char*>(part->iov_base) + left;
            part->iov_len -= left;
        }
    }
}

// Call with the lock held. The path is recorded first: if that fails for want of memory,
// nothing has changed and the next line tries again.
void openFor(LogFile& file, const char* path)
{
    file.path = path;
    if (file.fd >= 0)
        ::close(file.fd);
    // Appending keeps the lines of every process that shares the path.
    file.fd = ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (file.fd < 0) {
        int error = errno;
        warn(std::string("cannot write the call log WMISIM_LOG=") + path + ": " +
             std::strerror(error) + "; calls are not logged");
    }
}

}  // namespace

const char* callLogPath() noexcept
{
    const char* path = std::getenv("WMISIM_LOG");
    return path == nullptr || *path == '\0' ? nullptr : path;
}

void appendToCallLog(const char* path, const std::string& line) noexcept
{
    try {
        LogFile& file = logFile();
        std::lock_guard<std::mutex> guard(file.lock);
        if (file.path != path)
            openFor(file, path);
        if (file.fd >= 0)
            writeLine(file.fd, line);
    } catch (const std::exception&) {
        // Out of memory: this line is lost, the next one tries again.
    }
}

}  // namespace winsim
