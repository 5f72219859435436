// Temporary files and folders of the tests, test data, and files read back as text or lines.
#ifndef QUILLET_TEST_TEMP_FILES_H
#define QUILLET_TEST_TEMP_FILES_H

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include <unistd.h>

class TempFolder
{
public:
    TempFolder()
    {
        char pattern[] = "/tmp/winsim-test-XXXXXX";
        m_path = mkdtemp(pattern);
    }
    ~TempFolder() { std::system(("rm -rf '" + m_path + "'").c_str()); }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

inline std::vector<std::string> readLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

inline std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A file with the given content, removed again on destruction.
class TempFile
{
public:
    explicit TempFile(const std::string& content)
    {
        char pattern[] = "/tmp/winsim-test-XXXXXX";
        int fd = mkstemp(pattern);
        m_path = pattern;
        if (fd >= 0) {
            ssize_t written = ::write(fd, content.data(), content.size());
            (void)written;
            ::close(fd);
        }
    }
    ~TempFile() { ::unlink(m_path.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

// A file of the test's own folder (QUILLET_TEST_DATA).
inline std::string fixturePath(const std::string& name)
{
    const char* folder = std::getenv("QUILLET_TEST_DATA");
    return std::string(folder ? folder : ".") + "/" + name;
}

#endif
