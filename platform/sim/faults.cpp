// The faults configured by WMISIM_FAULTS. The variable is read at each call; when its text
// changes the rules are parsed anew (call counts start over) and bad entries are reported once.
#include "sim/sim.h"
#include "sim/diagnostics.h"
#include "sim/fault_rules.h"

#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace winsim {

namespace {

struct ConfiguredFaults
{
    std::mutex lock;
    std::string text;
    FaultSelector selector;
};

ConfiguredFaults& configuredFaults()
{
    static ConfiguredFaults* faults = new ConfiguredFaults;
    return *faults;
}

// Call with the lock held.
void refresh(ConfiguredFaults& faults)
{
    const char* value = std::getenv("WMISIM_FAULTS");
    std::string text = value == nullptr ? std::string() : value;
    if (text == faults.text)
        return;
    faults.text = text;
    ParsedFaults parsed = parseFaults(text);
    for (const std::string& error : parsed.errors)
        warn(error);
    faults.selector = FaultSelector(std::move(parsed.rules));
}

}  // namespace

bool fault(const char* site, const std::wstring& selector, HRESULT* result)
{
    delayIfConfigured(site);
    ConfiguredFaults& faults = configuredFaults();
    std::lock_guard<std::mutex> guard(faults.lock);
    refresh(faults);
    return faults.selector.fault(site, selector, result);
}

void delayIfConfigured(const char* site)
{
    unsigned long milliseconds = 0;
    {
        ConfiguredFaults& faults = configuredFaults();
        std::lock_guard<std::mutex> guard(faults.lock);
        refresh(faults);
        milliseconds = faults.selector.delay(site);
    }
    if (milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace winsim
