// The engine's record queries against the stand-in WMI service and a MOF repository.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "call_log.h"
#include "captured_output.h"
#include "engine/wmifacade.h"
#include "trace_texts.h"
#include "wmiobject/wmiobject.h"

namespace {

const char* const kRepository =
    "class MSiSCSI_HBAInformation { string InstanceName; uint32 UniqueAdapterId; };\n"
    "instance of MSiSCSI_HBAInformation { InstanceName = \"ROOT\\\\ISCSIPRT\\\\0000_0\"; UniqueAdapterId = 1; };\n"
    "instance of MSiSCSI_HBAInformation { InstanceName = \"Dup\"; UniqueAdapterId = 2; };\n"
    "instance of MSiSCSI_HBAInformation { InstanceName = \"Dup\"; UniqueAdapterId = 3; };\n"
    "class MSiSCSI_NICConfig { string InstanceName; };\n"
    "class MSiSCSI_InitiatorSessionInfo { string InstanceName; uint32 UniqueAdapterId; };\n"
    "instance of MSiSCSI_InitiatorSessionInfo { InstanceName = \"A\"; UniqueAdapterId = 7; };\n"
    "instance of MSiSCSI_InitiatorSessionInfo { InstanceName = \"B\"; UniqueAdapterId = 8; };\n";

// The repository is loaded at the process's first connection, so it is set before any test.
const TempFile repository(kRepository);
const bool repositorySet = setenv("WMISIM_REPOSITORY", repository.path().c_str(), 1) == 0;

class Probe : public WMIObject
{
public:
    LONG adapterId() { return getLong(L"UniqueAdapterId"); }
};

// The session query's record entry: a Probe per instance. Creation number g_failingCreation
// throws as `new` does when memory runs out.
int g_creations = 0;
int g_failingCreation = 0;

WMIObject* createProbe()
{
    if (++g_creations == g_failingCreation)
        throw std::bad_alloc();
    return new Probe;
}

const EmbeddedClass kProbeClass = {"Probe", &createProbe};

// The caller's side of the session query: owns and deletes what the engine appended.
struct OwnedRecords
{
    ~OwnedRecords()
    {
        captureOutput([&] {
            for (WMIObject* record : items)
                delete record;
        });
    }
    LONG adapterId(size_t i) const
    {
        LONG id = 0;
        captureOutput([&] { id = static_cast<Probe*>(items[i])->adapterId(); });
        return id;
    }
    std::vector<WMIObject*> items;
};

class EngineTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(repositorySet);
        g_creations = 0;
        g_failingCreation = 0;
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
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

TEST_F(EngineTest, RecordQueryPassesTheNameUnchangedAndAttachesTheMatch)
{
    CallLog log;
    int result = 0;
    std::string out = captureOutput(
        [&] { result = engine->queryHBAInformation(L"ROOT\\\\ISCSIPRT\\\\0000_0", &record); });
    EXPECT_EQ(1, result);
    EXPECT_TRUE(
        endsWith(out, std::string(kConnected) + "\n InstanceName : ROOT\\ISCSIPRT\\0000_0\n"))
        << out;
    std::vector<std::string> queries = log.lines("ExecQuery ");
    ASSERT_EQ(1u, queries.size());
    EXPECT_EQ("ExecQuery WQL 0x30 SELECT * FROM MSiSCSI_HBAInformation WHERE InstanceName = "
              "\"ROOT\\\\ISCSIPRT\\\\0000_0\" = 0x00000000",
              queries[0]);
    captureOutput([&] { EXPECT_EQ(1, record.adapterId()); });
}

TEST_F(EngineTest, LaterInstanceReplacesTheEarlierOne)
{
    std::string out =
        captureOutput([&] { EXPECT_EQ(1, engine->queryHBAInformation(L"Dup", &record)); });
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
    EXPECT_EQ(
        "ExecQuery WQL 0x30 SELECT * FROM MSiSCSI_NICConfig WHERE InstanceName = \"\" = 0x00000000",
        queries[1]);
    EXPECT_EQ(0, record.adapterId());
}

TEST_F(EngineTest, NullNameConnectsButQueriesNothing)
{
    CallLog log;
    std::string out =
        captureOutput([&] { EXPECT_EQ(0, engine->queryHBAInformation(NULL, &record)); });
    EXPECT_TRUE(endsWith(out, std::string(kConnected) + "\n")) << out;
    EXPECT_EQ(1u, log.lines("ConnectServer ").size());
    EXPECT_EQ(0u, log.lines("ExecQuery ").size());
}

// A class the repository lacks is reported by the enumerator, not by ExecQuery: the query failed.
TEST_F(EngineTest, ErrorFromTheEnumeratorFailsTheQuery)
{
    std::string out =
        captureOutput([&] { EXPECT_EQ(0, engine->queryTCPIPConfig(L"any", &record)); });
    EXPECT_TRUE(endsWith(out, std::string(kConnected) + "\n" + kQueryFailed + "80041010\n")) << out;
}

// The session query makes its records through the entry it is given, one per instance in
// enumeration order, each holding its own instance, and only appends to the caller's vector.
TEST_F(EngineTest, SessionQueryAppendsOneRecordPerInstance)
{
    OwnedRecords records;
    records.items.push_back(new Probe);
    CallLog log;
    std::string out = captureOutput(
        [&] { EXPECT_EQ(1, engine->queryInitiatorSessionInfo(NULL, kProbeClass, records.items)); });
    EXPECT_TRUE(endsWith(out, " InstanceName : A\n InstanceName : B\n")) << out;
    EXPECT_EQ(
        std::vector<std::string>{
            "ExecQuery WQL 0x30 SELECT * FROM MSiSCSI_InitiatorSessionInfo = 0x00000000"},
        log.lines("ExecQuery "));
    ASSERT_EQ(3u, records.items.size());
    EXPECT_EQ(0, records.adapterId(0));
    EXPECT_EQ(7, records.adapterId(1));
    EXPECT_EQ(8, records.adapterId(2));
}

// Memory running out while a record is made leaves the operation as std::bad_alloc, with the
// records made before it in the caller's vector for the caller to delete.
TEST_F(EngineTest, SessionQueryOutOfMemoryKeepsTheRecordsAppendedSoFar)
{
    OwnedRecords records;
    g_failingCreation = 2;
    captureOutput([&] {
        EXPECT_THROW(engine->queryInitiatorSessionInfo(NULL, kProbeClass, records.items),
                     std::bad_alloc);
    });
    ASSERT_EQ(1u, records.items.size());
    EXPECT_EQ(7, records.adapterId(0));
}

}  // namespace
