// The stand-in's shared core, used by every simulated platform call: the call log (WMISIM_LOG),
// fault injection (WMISIM_FAULTS) and the count of live COM objects, BSTRs and SAFEARRAYs that
// ends the log at process exit ("leaks: com=<n> bstr=<n> safearray=<n>").
// The configuration is looked up at each call, so a process (or a test) may change it between
// calls; it is parsed again only when its text changes.
#ifndef WINSIM_SIM_H
#define WINSIM_SIM_H

#include <windows.h>
#include <exception>
#include <string>
#include <string_view>

#include "sim/utf8.h"  // the log writes names as UTF-8

namespace winsim {

// The call log's path, or null when WMISIM_LOG is unset or empty.
const char* callLogPath() noexcept;
// Appends one line (the line end is added) to the log at path.
void appendToCallLog(const char* path, const std::string& line) noexcept;

// Appends the line that compose() returns to the call log. Nothing is composed when there is
// no log, and a line that cannot be composed for want of memory is lost, never the call's work.
template <typename Compose>
void logCall(Compose&& compose) noexcept
{
    const char* path = callLogPath();
    if (path == nullptr)
        return;
    try {
        appendToCallLog(path, compose());
    } catch (const std::exception&) {
    }
}

// True when a configured fault matches this call of `site` (with `selector`: class, property,
// InstanceName or index; empty when the site takes none); *result then holds the HRESULT the
// call must return without doing its work. Counts the matching calls for "#N".
// Waits first when a "Delay:<site>[#N]=<ms>" entry matches the call.
// Throws std::bad_alloc when a changed configuration cannot be parsed for want of memory.
bool fault(const char* site, std::wstring_view selector, HRESULT* result);

enum class Resource
{
    Com,
    Bstr,
    SafeArray
};
// Live-object accounting for the leak line.
void track(Resource resource, int delta);
long liveCount(Resource resource);

// "0x" and eight lowercase hex digits.
std::string hresultText(HRESULT hr);

// Creates the WMI locator for CoCreateInstance (implemented by the WMI service, platform/wmi).
// Throws std::bad_alloc when memory runs out.
HRESULT createWbemLocator(REFIID riid, void** ppv);

}  // namespace winsim

#endif
