// Where a finished capture goes: standard output, or a file that is replaced only once the new
// content is completely written (a temporary file beside it, then renamed over it).
#ifndef QUILLET_CAPTURE_OUTPUT_H
#define QUILLET_CAPTURE_OUTPUT_H

#include <string>

// False with a message in *error when the text could not be written; an existing file at
// `path` is then left as it was and no temporary file remains.
bool writeOutput(const std::string& path, const std::string& text, std::string* error);

// The temporary name a capture is written under before it replaces `path`.
std::string temporaryPath(const std::string& path);

#endif
