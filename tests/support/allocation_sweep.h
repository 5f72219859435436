// Memory exhaustion at each allocation of one platform call: the call runs with its first
// operator new failing, then with its second, and so on until a run makes every allocation it
// needs. The call log is on and the fault configuration changes before every run, so composing
// the log line and parsing the configuration are among the allocations that fail.
#ifndef WINSIM_ALLOCATION_SWEEP_H
#define WINSIM_ALLOCATION_SWEEP_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "allocation_fault.h"
#include "env_guard.h"
#include "temp_files.h"
#include "sim/sim.h"

struct LiveCounts
{
    long com, bstr, safeArray;
    static LiveCounts now()
    {
        return {winsim::liveCount(winsim::Resource::Com), winsim::liveCount(winsim::Resource::Bstr),
                winsim::liveCount(winsim::Resource::SafeArray)};
    }
    bool operator==(const LiveCounts& other) const
    {
        return com == other.com && bstr == other.bstr && safeArray == other.safeArray;
    }
};

// A fault configuration that matches no call and differs from every earlier one, so that the
// next call parses it.
inline std::string unusedFaultConfiguration()
{
    static int configurations = 0;
    return "Put:NoSuchProperty#" + std::to_string(++configurations) + "=E_FAIL";
}

// What the runs of a sweep returned while their allocation failed.
template <typename Result>
struct SweepResults
{
    std::vector<Result> failed;
    bool contains(Result result) const
    {
        for (const Result& each : failed)
            if (each == result)
                return true;
        return false;
    }
};

// Runs `call` as above. After each run, with nothing failing any more, judge(result) checks the
// result and the out-parameters and releases what the call handed out; nothing may be left
// alive afterwards.
template <typename Call, typename Judge>
auto failEachAllocation(Call call, Judge judge) -> SweepResults<decltype(call())>
{
    TempFolder folder;
    EnvGuard log("WMISIM_LOG", folder.file("calls.log"));
    SweepResults<decltype(call())> results;
    for (int allocation = 1; allocation < 100000; ++allocation) {
        EnvGuard faults("WMISIM_FAULTS", unusedFaultConfiguration());
        LiveCounts before = LiveCounts::now();
        armAllocationFault(allocation);
        auto result = call();
        disarmAllocationFault();
        bool failed = allocationFaultFired();
        {
            SCOPED_TRACE(failed ? "allocation " + std::to_string(allocation) + " failed"
                                : "no allocation failed");
            judge(result);
            EXPECT_TRUE(before == LiveCounts::now()) << "left alive";
        }
        if (!failed)
            return results;
        results.failed.push_back(result);
    }
    ADD_FAILURE() << "the call never completed";
    return results;
}

// A judge for a call that hands out one interface through `out`: on S_OK a live interface,
// which it releases; on any other result exactly `failure`, with `out` left null.
template <typename Interface>
auto handsOutOrNothing(Interface*& out, HRESULT failure)
{
    return [&out, failure](HRESULT hr) {
        if (hr == S_OK) {
            ASSERT_NE(nullptr, out);
            out->Release();
        } else {
            EXPECT_EQ(failure, hr);
            EXPECT_EQ(nullptr, out);
        }
    };
}

#endif
