// TemporaryFile: a file created under a fresh name in the folder of the file it will replace,
// so that the replacement is one rename. The name is new and the creation exclusive, so nothing
// already there (another capture's file, a link, a pipe) is opened, followed or waited on.
#ifndef QUILLET_CAPTURE_TEMPORARY_FILE_H
#define QUILLET_CAPTURE_TEMPORARY_FILE_H

#include <string>

namespace quillet::capture {

class TemporaryFile
{
public:
    // `target`: the file this one will replace.
    explicit TemporaryFile(const std::string& target) : m_target(target) {}
    // Removes the file unless it has replaced its target.
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Creates the file in the folder of the target. Each step returns false with a message in
    // *error when it fails.
    bool create(std::string* error);
    // Writes all of `text` and flushes it to the disk.
    bool write(const std::string& text, std::string* error);
    // Closes the file and renames it over the target.
    bool replace(std::string* error);

private:
    // Creates `path` exclusively, never through a link; false when it exists or cannot be made.
    bool openNew(const std::string& path);
    void close();

    const std::string m_target;
    std::string m_path;  // empty when there is no file to remove
#ifdef _WIN32
    void* m_handle = nullptr;  // a HANDLE
#else
    int m_fd = -1;
#endif
};

}  // namespace quillet::capture

#endif
