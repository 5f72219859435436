// Points the stand-in's call log (WMISIM_LOG) at a fresh file for the life of the object.
#ifndef QUILLET_TEST_CALL_LOG_H
#define QUILLET_TEST_CALL_LOG_H

#include <string>
#include <vector>

#include "env_guard.h"
#include "temp_files.h"

class CallLog
{
public:
    CallLog() : m_log("WMISIM_LOG", m_folder.file("calls.log")) {}

    std::vector<std::string> lines() const { return readLines(m_folder.file("calls.log")); }
    // The lines that start with prefix.
    std::vector<std::string> lines(const std::string& prefix) const
    {
        std::vector<std::string> found;
        for (const std::string& line : lines())
            if (line.compare(0, prefix.size(), prefix) == 0)
                found.push_back(line);
        return found;
    }

private:
    TempFolder m_folder;
    EnvGuard m_log;
};

#endif
