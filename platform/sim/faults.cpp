// The faults configured by WMISIM_FAULTS. The variable is looked up at each call; when its text
// changes the rules are parsed anew (call counts start over) and bad entries are reported once.
// Without the variable a call costs one look-up: no lock, no allocation.
#include "sim/sim.h"
#include "sim/diagnostics.h"
#include "sim/fault_rules.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace winsim {

namespace {

struct ConfiguredFaults
{
    std::mutex lock;
    std::string text;  // the WMISIM_FAULTS the rules were parsed from
    FaultSelector selector;
};

// The text is not empty. Outside ConfiguredFaults, so that a call without faults never makes it.
std::atomic<bool> configured{false};

ConfiguredFaults& configuredFaults()
{
    static ConfiguredFaults* faults = new ConfiguredFaults;
    return *faults;
}

// Call with the lock held. Everything is parsed before anything changes, so a parse that runs
// out of memory leaves the previous configuration in place, to be parsed again next time.
void refresh(ConfiguredFaults& faults, const char* value)
{
    if (faults.text == value)
        return;
    std::string text = value;
    ParsedFaults parsed = parseFaults(text);
    FaultSelector selector(std::move(parsed.rules));
    for (const std::string& error : parsed.errors)
        warn(error);
    faults.text.swap(text);
    faults.selector = std::move(selector);
    configured = !faults.text.empty();
}

}  // namespace

bool fault(const char* site, std::wstring_view selector, HRESULT* result)
{
    const char* value = std::getenv("WMISIM_FAULTS");
    if (value == nullptr)
        value = "";
    if (*value == '\0' && !configured)
        return false;
    ConfiguredFaults& faults = configuredFaults();
    unsigned long milliseconds = 0;
    bool fails = false;
    {
        std::lock_guard<std::mutex> guard(faults.lock);
        refresh(faults, value);
        milliseconds = faults.selector.delay(site);
        fails = faults.selector.fault(site, selector, result);
    }
    if (milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    return fails;
}

}  // namespace winsim
