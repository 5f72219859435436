// The engine against Wine's WMI, which has none of the iSCSI or MPIO classes: it connects with
// the traces of a first connection, its queries complete without an instance, and the timer
// operations report failure.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/wmifacade.h"
#include "trace_capture.h"
#include "wmiobject/wmiobject.h"

namespace {

const char* const kComInitialised = "CoInitializeEx returned S_OK || RPC_E_CHANGED_MODE hres = 0x0";
const char* const kConnected = "Connected to ROOT\\CIMV2 WMI namespace";

// COM security is process-wide: only the first engine of a process sets it. ctest runs each
// test in a process of its own; a whole-program run sees RPC_E_TOO_LATE after the first.
bool g_bSecuritySet = false;

std::vector<std::string> firstConnectionLines()
{
    std::vector<std::string> lines;
    lines.push_back(kComInitialised);
    if (g_bSecuritySet) {
        lines.push_back("CoInitializeSecurity returned RPC_E_TOO_LATE");
    }
    lines.push_back(kConnected);
    g_bSecuritySet = true;
    return lines;
}

std::vector<std::string> joined(std::vector<std::string> head, const std::vector<std::string>& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

}  // namespace

TEST(EngineUnderWine, FirstOperationConnectsThenTimerReadFindsNothing)
{
    std::vector<std::string> lines;
    LONG period = 7;
    {
        TraceCapture capture;
        WMIFacade engine;
        EXPECT_EQ(0, engine.getPDORemovePeriod(NULL, &period));
        lines = capture.lines();
        EXPECT_EQ(0, engine.setPDORemovePeriod(NULL, 20));
        EXPECT_EQ(0, engine.getPDORemovePeriod(L"MPIO_DSM\\0", &period));
        EXPECT_EQ(lines, capture.lines()) << "a connected engine traces no initialisation again";
    }
    EXPECT_EQ(7, period) << "no instance: the caller's integer stays untouched";
    std::vector<std::string> expected(1, "WMIFacade");
    EXPECT_EQ(joined(expected, firstConnectionLines()), lines);
}

TEST(EngineUnderWine, RecordQueriesCompleteWithoutAnInstance)
{
    TraceCapture capture;
    {
        WMIFacade engine;
        WMIObject hba, tcpip, nic;
        EXPECT_EQ(1, engine.queryHBAInformation(L"ROOT\\ISCSIPRT\\0000_0", &hba));
        EXPECT_EQ(1, engine.queryTCPIPConfig(L"ROOT\\ISCSIPRT\\0000_0", &tcpip));
        EXPECT_EQ(1, engine.queryNICConfig(L"", &nic));
        EXPECT_EQ(0, engine.queryHBAInformation(NULL, &hba)) << "no name: no query";
    }
    // Each record stayed empty: its destruction has nothing to release.
    std::vector<std::string> expected(1, "WMIFacade");
    expected = joined(expected, firstConnectionLines());
    expected.push_back("~WMIObject");
    expected.push_back("~WMIObject");
    expected.push_back("~WMIObject");
    expected.push_back("~WMIFacade");
    EXPECT_EQ(expected, capture.lines());
}

TEST(EngineUnderWine, DestructionUninitialisesTheComItInitialised)
{
    {
        TraceCapture capture;
        WMIFacade engine;
        LONG period = 0;
        engine.getPDORemovePeriod(NULL, &period);
        g_bSecuritySet = true;
    }
    // Had the engine kept COM initialised on this thread, this would report S_FALSE.
    EXPECT_EQ(S_OK, CoInitializeEx(NULL, COINIT_MULTITHREADED));
    CoUninitialize();
}
