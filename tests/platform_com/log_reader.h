// A call log in a fresh temporary folder, read back as lines.
#ifndef WINSIM_LOG_READER_H
#define WINSIM_LOG_READER_H

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

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
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

#endif
