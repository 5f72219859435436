// Live-object accounting and the leak line that closes the call log at process exit.
#include "sim/sim.h"

#include <atomic>

namespace winsim {

namespace {

std::atomic<long> liveObjects[3];

std::atomic<long>& counter(Resource resource)
{
    return liveObjects[static_cast<int>(resource)];
}

// Built before any other static object of the library and so destroyed after all of them: what
// they release at exit is no leak.
struct LeakReport
{
    ~LeakReport()
    {
        logCall([] {
            return "leaks: com=" + std::to_string(liveCount(Resource::Com)) +
                   " bstr=" + std::to_string(liveCount(Resource::Bstr)) +
                   " safearray=" + std::to_string(liveCount(Resource::SafeArray));
        });
    }
};

LeakReport leakReport __attribute__((init_priority(101)));

}  // namespace

void track(Resource resource, int delta)
{
    counter(resource) += delta;
}

long liveCount(Resource resource)
{
    return counter(resource).load();
}

}  // namespace winsim
