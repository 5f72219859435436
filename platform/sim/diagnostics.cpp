#include "sim/diagnostics.h"

#include <exception>
#include <unistd.h>

namespace winsim {

void warn(const std::string& message) noexcept
{
    std::string line;
    try {
        // One write, so that messages from several threads or processes never interleave.
        line = "wmisim: " + message + "\n";
    } catch (const std::exception&) {
        return;
    }
    const char* data = line.data();
    size_t left = line.size();
    while (left > 0) {
        ssize_t written = ::write(STDERR_FILENO, data, left);
        if (written <= 0)
            return;
        data += written;
        left -= static_cast<size_t>(written);
    }
}

}  // namespace winsim
