#include "output.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace {

// The platform difference of this program: Windows' rename() refuses an existing target and
// its standard output translates line ends unless switched to binary.
bool replaceFile(const std::string& from, const std::string& to)
{
#ifdef _WIN32
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return rename(from.c_str(), to.c_str()) == 0;
#endif
}

void binaryStandardOutput()
{
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
}

bool writeAll(FILE* file, const std::string& text)
{
    return fwrite(text.data(), 1, text.size(), file) == text.size() && fflush(file) == 0;
}

}  // namespace

std::string temporaryPath(const std::string& path)
{
    return path + ".partial";
}

bool writeOutput(const std::string& path, const std::string& text, std::string* error)
{
    if (path.empty()) {
        binaryStandardOutput();
        if (writeAll(stdout, text))
            return true;
        *error = std::string("cannot write standard output: ") + strerror(errno);
        return false;
    }
    std::string temporary = temporaryPath(path);
    FILE* file = fopen(temporary.c_str(), "wb");
    if (!file) {
        *error = "cannot create " + temporary + ": " + strerror(errno);
        return false;
    }
    bool written = writeAll(file, text);
    int savedErrno = errno;
    written = fclose(file) == 0 && written;
    if (written && replaceFile(temporary, path))
        return true;
    *error = (written ? "cannot replace " + path : "cannot write " + temporary) + ": " +
             strerror(written ? errno : savedErrno);
    remove(temporary.c_str());
    return false;
}
