#include "capture/output.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "capture/temporary_file.h"

namespace quillet::capture {

namespace {

// Windows' standard output translates line ends unless switched to binary.
void binaryStandardOutput()
{
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
}

}  // namespace

bool writeOutput(const std::string& path, const std::string& text, std::string* error)
{
    if (path.empty()) {
        binaryStandardOutput();
        if (fwrite(text.data(), 1, text.size(), stdout) == text.size() && fflush(stdout) == 0)
            return true;
        *error = std::string("cannot write standard output: ") + strerror(errno);
        return false;
    }
    TemporaryFile file(path);
    return file.create(error) && file.write(text, error) && file.replace(error);
}

}  // namespace quillet::capture
