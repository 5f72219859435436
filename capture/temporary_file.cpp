#include "capture/temporary_file.h"

#include <chrono>
#include <random>

#ifdef _WIN32
#include <windows.h>
#else
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>
#endif

namespace quillet::capture {

namespace {

// A clash with an existing name only costs another try; this many in a row means something
// else is wrong.
const int kAttempts = 100;

#ifdef _WIN32
const char kSeparators[] = "\\/:";

unsigned long processId()
{
    return GetCurrentProcessId();
}

std::string lastErrorText()
{
    DWORD code = GetLastError();
    char text[256] = "";
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL,
                                  code, 0, text, sizeof text, NULL);
    while (length > 0 &&
           (text[length - 1] == '\r' || text[length - 1] == '\n' || text[length - 1] == '.'))
        text[--length] = '\0';
    return length > 0 ? std::string(text) : "Windows error " + std::to_string(code);
}

bool alreadyExists()
{
    return GetLastError() == ERROR_FILE_EXISTS || GetLastError() == ERROR_ALREADY_EXISTS;
}
#else
const char kSeparators[] = "/";

unsigned long processId()
{
    return static_cast<unsigned long>(getpid());
}

std::string lastErrorText()
{
    return strerror(errno);
}

bool alreadyExists()
{
    return errno == EEXIST;
}
#endif

// ".qc" and ten random characters: short, so that any name legal for the target leaves room
// for it, and hidden from a plain listing while it exists.
std::string freshName()
{
    static std::mt19937_64 generator([] {
        unsigned long long seed = static_cast<unsigned long long>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count());
        seed ^= static_cast<unsigned long long>(processId()) << 32;
        try {
            seed ^= std::random_device()();
        } catch (...) {
            // Time and process suffice: the creation is exclusive whatever the name.
        }
        return seed;
    }());
    static const char kCharacters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = ".qc";
    for (int i = 0; i < 10; ++i)
        name += kCharacters[generator() % (sizeof kCharacters - 1)];
    return name;
}

std::string folderOf(const std::string& path)
{
    size_t separator = path.find_last_of(kSeparators);
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

}  // namespace

TemporaryFile::~TemporaryFile()
{
    close();
    if (!m_path.empty()) {
#ifdef _WIN32
        DeleteFileA(m_path.c_str());
#else
        unlink(m_path.c_str());
#endif
    }
}

bool TemporaryFile::create(std::string* error)
{
    const std::string folder = folderOf(m_target);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (openNew(folder + freshName()))
            return true;
        if (!alreadyExists())
            break;
    }
    *error = "cannot create a temporary file beside " + m_target + ": " + lastErrorText();
    return false;
}

bool TemporaryFile::openNew(const std::string& path)
{
#ifdef _WIN32
    HANDLE handle =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    m_handle = handle;
#else
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    m_fd = fd;
#endif
    m_path = path;
    return true;
}

bool TemporaryFile::write(const std::string& text, std::string* error)
{
    const char* next = text.data();
    size_t left = text.size();
#ifdef _WIN32
    while (left > 0) {
        DWORD written = 0;
        DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        if (!WriteFile(m_handle, next, chunk, &written, NULL) || written == 0)
            break;
        next += written;
        left -= written;
    }
    bool flushed = left == 0 && FlushFileBuffers(m_handle);
#else
    // Past a file size limit the write then fails with EFBIG instead of the process being
    // killed, so the temporary file is removed and the failure reported.
    signal(SIGXFSZ, SIG_IGN);
    while (left > 0) {
        ssize_t written = ::write(m_fd, next, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            break;
        next += written;
        left -= static_cast<size_t>(written);
    }
    bool flushed = left == 0 && fsync(m_fd) == 0;
#endif
    if (!flushed)
        *error = "cannot write " + m_target + ": " + lastErrorText();
    return flushed;
}

bool TemporaryFile::replace(std::string* error)
{
#ifdef _WIN32
    bool closed = CloseHandle(m_handle) != 0;
    m_handle = nullptr;
    bool replaced = closed && MoveFileExA(m_path.c_str(), m_target.c_str(),
                                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    bool closed = ::close(m_fd) == 0;
    m_fd = -1;
    bool replaced = closed && rename(m_path.c_str(), m_target.c_str()) == 0;
    if (replaced) {
        // The rename itself reaches the disk with the folder's entry; a folder that cannot be
        // opened or flushed still holds the new file.
        std::string folder = folderOf(m_target);
        int folderFd =
            open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folderFd >= 0) {
            fsync(folderFd);
            ::close(folderFd);
        }
    }
#endif
    if (!replaced) {
        *error = (closed ? "cannot replace " : "cannot write ") + m_target + ": " + lastErrorText();
        return false;
    }
    m_path.clear();
    return true;
}

void TemporaryFile::close()
{
#ifdef _WIN32
    if (m_handle) {
        CloseHandle(m_handle);
        m_handle = nullptr;
    }
#else
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
#endif
}

}  // namespace quillet::capture
