// The call log named by WMISIM_LOG: one line per platform call, appended and flushed at once so
// that a crash keeps every earlier line. The variable is read at each line, so a process (or a
// test) that changes it moves on to the new file. A path that cannot be opened is reported
// once on standard error and its lines are dropped.
#include "sim/sim.h"
#include "sim/diagnostics.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
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

void writeAll(int fd, const std::string& text)
{
    const char* data = text.data();
    size_t left = text.size();
    while (left > 0) {
        ssize_t written = ::write(fd, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        data += written;
        left -= static_cast<size_t>(written);
    }
}

}  // namespace

void logCall(const std::string& line)
{
    const char* path = std::getenv("WMISIM_LOG");
    if (path == nullptr || *path == '\0')
        return;
    LogFile& file = logFile();
    std::lock_guard<std::mutex> guard(file.lock);
    if (file.path != path) {
        if (file.fd >= 0)
            ::close(file.fd);
        file.path = path;
        // Appending keeps the lines of every process that shares the path.
        file.fd = ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (file.fd < 0)
            warn(std::string("cannot write the call log WMISIM_LOG=") + path + ": " + std::strerror(errno) +
                 "; calls are not logged");
    }
    if (file.fd >= 0)
        writeAll(file.fd, line + "\n");
}

}  // namespace winsim
