// Where a finished capture goes: standard output, or a file that is replaced only once the new
// content is completely written and on the disk (a temporary file of its own beside it, then
// renamed over it). Captures that write one file at the same time each replace it whole.
#ifndef QUILLET_CAPTURE_OUTPUT_H
#define QUILLET_CAPTURE_OUTPUT_H

#include <string>

namespace quillet::capture {

// False with a message in *error when the text could not be written; an existing file at
// `path` is then left as it was and no temporary file remains.
bool writeOutput(const std::string& path, const std::string& text, std::string* error);

}  // namespace quillet::capture

#endif
