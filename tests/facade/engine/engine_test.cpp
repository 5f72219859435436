// The engine's record queries against the stand-in WMI service and a MOF repository.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "call_log.h"
#include "captured_output.h"
#include "engine/wmifacade.h"
#include "trace_texts.h"
#include "wmiobject/wmiobject.h"

namespace {

const char* const REPOSITORY =
    "class MSiSCSI_HBAInformation { string InstanceName; uint32 UniqueAdapterId; };\n"
    "instance of MSiSCSI_HBAInformation { InstanceName = \"ROOT\\\\ISCSIPRT\\\\0000_0\"; UniqueAdapterId = 1; };\n"
    "instance of MSiSCSI_HBAInformation { InstanceName = \"Dup\"; UniqueAdapterId = 2; };\n"
    "instance of MSiSCSI_HBAInformation { InstanceName = \"Dup\"; UniqueAdapterId = 3; };\n"
    "class MSiSCSI_NICConfig { string InstanceName; };\n";

// The repository is loaded at the process's first connection, so it is set before any test.
const TempFile repository(REPOSITORY);
const bool repositorySet = setenv("WMISIM_REPOSITORY", repository.path().c_str(), 1) == 0;

class Probe : public WMIObject
{
public:
    LONG adapterId() { return getLong(L"UniqueAdapterId"); }
};

class EngineTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(repositorySet);
        captureOutput([&] { engine = new WMIFacade; });
    }
    void TearDown() override
    {
        captureOutput([&] { delete engine; });
    }

    WMIFacade* engine = NULL;
    Probe record;
};

bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

TEST_F(EngineTest, RecordQueryPassesTheNameUnchangedAndAttachesTheMatch)
{
    CallLog log;
    int result = 0;
    std::string out = captureOutput([&] { result = engine->queryHBAInformation(L"ROOT\\\\ISCSIPRT\\\\0000_0", &record); });
    EXPECT_EQ(1, result);
    EXPECT_TRUE(endsWith(out, std::string(kConnected) + "\n InstanceName : ROOT\\ISCSIPRT\\0000_0\n")) << out;
    std::vector<std::string> queries = log.lines("ExecQuery ");
    ASSERT_EQ(1u, queries.size());
    EXPECT_EQ("ExecQuery WQL 0x30 SELECT * FROM MSiSCSI_HBAInformation WHERE InstanceName = "
              "\"ROOT\\\\ISCSIPRT\\\\0000_0\" = 0x00000000",
              queries[0]);
    captureOutput([&] { EXPECT_EQ(1, record.adapterId()); });
}

TEST_F(EngineTest, LaterInstanceReplacesTheEarlierOne)
{
    std::string out = captureOutput([&] { EXPECT_EQ(1, engine->queryHBAInformation(L"Dup", &record)); });
    EXPECT_TRUE(endsWith(out, " InstanceName : Dup\n InstanceName : Dup\n")) << out;
    captureOutput([&] { EXPECT_EQ(3, record.adapterId()); });
}

TEST_F(EngineTest, NoMatchAndEmptyNameSucceedWithNothingAttached)
{
    CallLog log;
    std::string out = captureOutput([&] {
        EXPECT_EQ(1, engine->queryHBAInformation(L"nothing", &record));
        EXPECT_EQ(1, engine->queryNICConfig(L"", &record));
    });
    EXPECT_EQ(std::string::npos, out.find("InstanceName")) << out;
    std::vector<std::string> queries = log.lines("ExecQuery ");
    ASSERT_EQ(2u, queries.size());
    EXPECT_EQ("ExecQuery WQL 0x30 SELECT * FROM MSiSCSI_NICConfig WHERE InstanceName = \"\" = 0x00000000", queries[1]);
    EXPECT_EQ(0, record.adapterId());
}

TEST_F(EngineTest, NullNameConnectsButQueriesNothing)
{
    CallLog log;
    std::string out = captureOutput([&] { EXPECT_EQ(0, engine->queryHBAInformation(NULL, &record)); });
    EXPECT_TRUE(endsWith(out, std::string(kConnected) + "\n")) << out;
    EXPECT_EQ(1u, log.lines("ConnectServer ").size());
    EXPECT_EQ(0u, log.lines("ExecQuery ").size());
}

// A class the repository lacks is reported by the enumerator, not by ExecQuery: the query failed.
TEST_F(EngineTest, ErrorFromTheEnumeratorFailsTheQuery)
{
    std::string out = captureOutput([&] { EXPECT_EQ(0, engine->queryTCPIPConfig(L"any", &record)); });
    EXPECT_TRUE(endsWith(out, std::string(kConnected) + "\n" + kQueryFailed + "80041010\n")) << out;
}

}  // namespace
