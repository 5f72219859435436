// The engine against Wine's WMI, which has none of the iSCSI or MPIO classes: it connects with
// the traces of a first connection, its queries complete without an instance, and the timer
// operations report failure.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/wmifacade.h"
#include "captured_output.h"
#include "trace_texts.h"
#include "wmiobject/wmiobject.h"

namespace {

// Every test leaves COM uninitialised on its thread, and Wine then takes process security
// anew: each engine here meets a first connection, with no RPC_E_TOO_LATE line. (The stand-in
// keeps security set for the whole process.)
std::vector<std::string> createdAndConnectedLines()
{
    std::vector<std::string> lines(1, "WMIFacade");
    lines.push_back(kComInitialised);
    lines.push_back(kConnected);
    return lines;
}

}  // namespace

TEST(EngineUnderWine, FirstOperationConnectsThenTimerReadFindsNothing)
{
    std::vector<std::string> lines;
    LONG period = 7;
    {
        CapturedOutput capture;
        WMIFacade engine;
        EXPECT_EQ(0, engine.getPDORemovePeriod(NULL, &period));
        lines = capture.lines();
        EXPECT_EQ(0, engine.setPDORemovePeriod(NULL, 20));
        EXPECT_EQ(0, engine.getPDORemovePeriod(L"MPIO_DSM\\0", &period));
        EXPECT_EQ(lines, capture.lines()) << "a connected engine traces no initialisation again";
    }
    EXPECT_EQ(7, period) << "no instance: the caller's integer stays untouched";
    EXPECT_EQ(createdAndConnectedLines(), lines);
}

TEST(EngineUnderWine, RecordQueriesCompleteWithoutAnInstance)
{
    CapturedOutput capture;
    {
        WMIFacade engine;
        WMIObject hba, tcpip, nic;
        EXPECT_EQ(1, engine.queryHBAInformation(L"ROOT\\ISCSIPRT\\0000_0", &hba));
        EXPECT_EQ(1, engine.queryTCPIPConfig(L"ROOT\\ISCSIPRT\\0000_0", &tcpip));
        EXPECT_EQ(1, engine.queryNICConfig(L"", &nic));
        EXPECT_EQ(0, engine.queryHBAInformation(NULL, &hba)) << "no name: no query";
    }
    // Each record stayed empty: its destruction has nothing to release.
    std::vector<std::string> expected = createdAndConnectedLines();
    expected.push_back("~WMIObject");
    expected.push_back("~WMIObject");
    expected.push_back("~WMIObject");
    expected.push_back("~WMIFacade");
    EXPECT_EQ(expected, capture.lines());
}

TEST(EngineUnderWine, DestructionUninitialisesTheComItInitialised)
{
    {
        CapturedOutput capture;
        WMIFacade engine;
        LONG period = 0;
        engine.getPDORemovePeriod(NULL, &period);
    }
    // Had the engine kept COM initialised on this thread, this would report S_FALSE.
    EXPECT_EQ(S_OK, CoInitializeEx(NULL, COINIT_MULTITHREADED));
    CoUninitialize();
}
