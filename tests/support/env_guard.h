// Sets an environment variable for the life of the guard; the stand-in reads its
// configuration at each call, so a test can change it in process.
#ifndef WINSIM_ENV_GUARD_H
#define WINSIM_ENV_GUARD_H

#include <cstdlib>
#include <string>

class EnvGuard
{
public:
    EnvGuard(const char* name, const std::string& value) : m_name(name)
    {
        const char* old = std::getenv(name);
        m_hadValue = old != nullptr;
        if (m_hadValue)
            m_oldValue = old;
        setenv(name, value.c_str(), 1);
    }
    ~EnvGuard()
    {
        if (m_hadValue)
            setenv(m_name, m_oldValue.c_str(), 1);
        else
            unsetenv(m_name);
    }
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

private:
    const char* m_name;
    bool m_hadValue = false;
    std::string m_oldValue;
};

#endif
