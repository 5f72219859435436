// Runs the probe program as a separate process with a given configuration and reads back its
// call log, standard output and standard error.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <string>
#include <vector>
#include "process_run.h"
#include "temp_files.h"

namespace {

ProcessRun runProbe(const std::string& steps, const std::string& faults = "",
                    const std::string& logPath = "")
{
    // The probe leaks on purpose; a sanitizer build must not turn that into a failure.
    return runProcess("ASAN_OPTIONS=detect_leaks=0 WMISIM_FAULTS='" + faults + "'", WINSIM_PROBE,
                      steps, logPath);
}

TEST(ProbeProcess, LogsTheCallsAndEndsWithNoLeaks)
{
    ProcessRun run = runProbe("mta mta security security hold-until-exit uninit uninit");
    EXPECT_EQ(0, run.status);
    std::vector<std::string> expected = {
        "CoInitializeEx 0 = 0x00000000",
        "CoInitializeEx 0 = 0x00000001",
        "CoInitializeSecurity = 0x00000000",
        "CoInitializeSecurity = 0x80010119",
        "CoUninitialize",
        "CoUninitialize",
        "leaks: com=0 bstr=0 safearray=0",  // the string held by a static is freed before
    };
    EXPECT_EQ(expected, run.log);
    EXPECT_EQ("", run.err);
}

TEST(ProbeProcess, LeakLineCountsWhatIsStillAlive)
{
    ProcessRun run = runProbe("leak-com leak-com leak-bstr leak-array");
    EXPECT_EQ(0, run.status);
    ASSERT_FALSE(run.log.empty());
    EXPECT_EQ("leaks: com=2 bstr=1 safearray=1", run.log.back());
}

TEST(ProbeProcess, ACrashKeepsTheLinesWrittenBeforeIt)
{
    ProcessRun run = runProbe("mta abort");
    EXPECT_NE(0, run.status);
    EXPECT_EQ(std::vector<std::string>{"CoInitializeEx 0 = 0x00000000"}, run.log);
}

TEST(ProbeProcess, FaultedSysAllocStringReturnsNullAndIsLogged)
{
    ProcessRun run = runProbe("sysalloc sysalloc", "SysAllocString#2=E_OUTOFMEMORY");
    EXPECT_EQ(0, run.status);
    EXPECT_EQ("allocated\nnull\n", run.out);
    std::vector<std::string> expected = {"SysAllocString probe = NULL",
                                         "leaks: com=0 bstr=0 safearray=0"};
    EXPECT_EQ(expected, run.log);
}

TEST(ProbeProcess, BadFaultEntriesAreReportedOnceAndIgnored)
{
    ProcessRun run = runProbe("mta security sysalloc uninit",
                              "Bogus=0x1,CoInitializeSecurity=E_NOPE,CoInitializeEx=S_FALSE");
    EXPECT_EQ(0, run.status);
    EXPECT_EQ(
        "wmisim: WMISIM_FAULTS entry 'Bogus=0x1' ignored: unknown site 'Bogus'\n"
        "wmisim: WMISIM_FAULTS entry 'CoInitializeSecurity=E_NOPE' ignored: 'E_NOPE' is not an HRESULT "
        "(hex such as 0x80041001, or a name such as WBEM_E_FAILED)\n",
        run.err);
    ASSERT_EQ(4u, run.log.size());
    EXPECT_EQ("CoInitializeEx 0 = 0x00000001", run.log[0]);  // the valid entry still applies
    EXPECT_EQ("CoInitializeSecurity = 0x00000000", run.log[1]);
}

TEST(ProbeProcess, UnwritableLogIsReportedOnceAndTheProgramRuns)
{
    ProcessRun run = runProbe("mta uninit sysalloc", "", "/nonexistent-folder/calls.log");
    EXPECT_EQ(0, run.status);
    EXPECT_EQ("allocated\n", run.out);
    EXPECT_EQ(
        "wmisim: cannot write the call log WMISIM_LOG=/nonexistent-folder/calls.log: No such file or directory; "
        "calls are not logged\n",
        run.err);
}

}  // namespace
