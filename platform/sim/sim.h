// The stand-in's shared core, used by every simulated platform call: the call log (WMISIM_LOG),
// fault injection (WMISIM_FAULTS) and the count of live COM objects, BSTRs and SAFEARRAYs that
// ends the log at process exit ("leaks: com=<n> bstr=<n> safearray=<n>").
#ifndef WINSIM_SIM_H
#define WINSIM_SIM_H

#include <windows.h>
#include <string>

namespace winsim {

// Appends one line (no line end) to the call log; nothing when WMISIM_LOG is unset.
void logCall(const std::string& line);

// True when a configured fault matches this call of `site` (with `selector`: class, property,
// InstanceName or index; empty when the site takes none); *result then holds the HRESULT the
// call must return without doing its work. Counts the matching calls for "#N".
// Waits first when a Delay is configured for the site (see delayIfConfigured).
bool fault(const char* site, const std::wstring& selector, HRESULT* result);

// Sleeps for the milliseconds of a matching "Delay:<site>[#N]=<ms>" entry of WMISIM_FAULTS.
// Only for sites that do not call fault(), which already waits.
void delayIfConfigured(const char* site);

enum class Resource { Com, Bstr, SafeArray };
// Live-object accounting for the leak line.
void track(Resource resource, int delta);
long liveCount(Resource resource);

// "0x" and eight lowercase hex digits.
std::string hresultText(HRESULT hr);
// UTF-8 of wide text (wchar_t holds one code point on Linux); lone surrogates become U+FFFD.
std::string toUtf8(const wchar_t* text, size_t length);
std::string toUtf8(const std::wstring& text);

// Creates the WMI locator for CoCreateInstance (implemented by the WMI service, platform/wmi).
HRESULT createWbemLocator(REFIID riid, void** ppv);

}  // namespace winsim

#endif
