// The records' conversions when the interpreter cannot build a value (memory exhausted): the
// conversion returns NULL with the exception set, and every Python object it had built is
// released. Py_BuildValue is replaced in this program so that a chosen call fails.
#include <Python.h>

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/wmifacade.h"
#include "records/MSiSCSI_HBAInformation.h"
#include "records/MSiSCSI_InitiatorSessionInfo.h"
#include "records/MSiSCSI_NICConfig.h"
#include "records/MSiSCSI_TCPIPConfig.h"
#include "records/embedded_classes.h"
#include "python/py_ref.h"
#include "python/record_list.h"
#include "temp_files.h"
#include "trace/console.h"

using quillet::installTraceOutput;
using quillet::PyRef;
using quillet::RecordList;

namespace {

int g_buildCalls = 0;
int g_failingCall = 0;           // 1-based; 0 lets every call succeed
std::vector<PyObject*> g_built;  // results of the calls that succeeded, one extra reference each

}  // namespace

extern "C" PyObject* Py_BuildValue(const char* format, ...)
{
    if (++g_buildCalls == g_failingCall)
        return PyErr_NoMemory();
    va_list arguments;
    va_start(arguments, format);
    PyObject* result = Py_VaBuildValue(format, arguments);
    va_end(arguments);
    if (result) {
        Py_INCREF(result);
        g_built.push_back(result);
    }
    return result;
}

namespace {

// As WQL text: each backslash of the InstanceName doubled.
const wchar_t kAdapter[] = L"ROOT\\\\ISCSIPRT\\\\0000_0";

typedef int (WMIFacade::*RecordQuery)(const wchar_t*, WMIObject*);

// One adapter with two sessions of one and two connections: six builds, the connections and
// each session before it, the adapter last.
const char kSessions[] =
    "class ISCSI_ConnectionStatic { uint64 UniqueConnectionId; uint16 CID; uint32 AuthType; };\n"
    "class ISCSI_SessionStatic { uint64 UniqueSessionId; string TargetiSCSIName;\n"
    "    ISCSI_ConnectionStatic ConnectionsList[]; };\n"
    "class MSiSCSI_InitiatorSessionInfo { string InstanceName; uint64 UniqueAdapterId;\n"
    "    ISCSI_SessionStatic SessionsList[]; };\n"
    "instance of MSiSCSI_InitiatorSessionInfo { InstanceName = \"A\"; UniqueAdapterId = 1;\n"
    "  SessionsList = {\n"
    "    instance of ISCSI_SessionStatic { UniqueSessionId = 2; TargetiSCSIName = \"t\";\n"
    "      ConnectionsList = {\n"
    "        instance of ISCSI_ConnectionStatic { UniqueConnectionId = 3; } }; },\n"
    "    instance of ISCSI_SessionStatic { UniqueSessionId = 4; TargetiSCSIName = \"u\";\n"
    "      ConnectionsList = {\n"
    "        instance of ISCSI_ConnectionStatic { UniqueConnectionId = 5; },\n"
    "        instance of ISCSI_ConnectionStatic { UniqueConnectionId = 6; } }; }\n"
    "  }; };\n";

class ConversionFailureTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        const char* data = std::getenv("QUILLET_TEST_DATA");
        ASSERT_TRUE(data != NULL);
        // This folder's fixtures: the classes, then the adapter's instances.
        const std::string fixtures = std::string(data) + "/fixtures/";
        const std::string classes = readText(fixtures + "classes.mof");
        const std::string adapter = readText(fixtures + "adapter.mof");
        ASSERT_FALSE(classes.empty() || adapter.empty()) << fixtures;
        // One file per process: ctest may run these tests side by side.
        s_repository =
            ::testing::TempDir() + "records_conversion_" + std::to_string(getpid()) + ".mof";
        std::ofstream(s_repository.c_str(), std::ios::binary) << classes << adapter << kSessions;
        setenv("WMISIM_REPOSITORY", s_repository.c_str(), 1);
        installTraceOutput();
        Py_Initialize();
    }

    // The service has loaded the repository at the first connection.
    static void TearDownTestSuite() { std::remove(s_repository.c_str()); }

    void SetUp() override
    {
        g_buildCalls = 0;
        g_failingCall = 0;
        g_built.clear();
    }

    // Every object built must be held by nothing but this test once the objects built after it
    // (which may contain it) are gone.
    void expectBuiltObjectsReleased()
    {
        for (size_t i = g_built.size(); i-- > 0;) {
            EXPECT_EQ(1, Py_REFCNT(g_built[i])) << "object " << i;
            Py_DECREF(g_built[i]);
        }
        g_built.clear();
    }

    void expectMemoryError()
    {
        ASSERT_TRUE(PyErr_Occurred() != NULL);
        EXPECT_TRUE(PyErr_ExceptionMatches(PyExc_MemoryError));
        PyErr_Clear();
    }

    // Fails each of the conversion's `builds` Py_BuildValue calls in turn: a failed build ends
    // the building (nothing to build the dictionary from) and releases what was built.
    template <typename Record>
    void expectEachFailedBuildReleasesEverything(RecordQuery query, int builds)
    {
        for (int failing = 1; failing <= builds; ++failing) {
            Record record;
            ASSERT_EQ(1, (m_engine.*query)(kAdapter, &record));
            record.read();
            g_buildCalls = 0;
            g_failingCall = failing;
            EXPECT_TRUE(record.PyGetObject() == NULL) << "failing call " << failing;
            EXPECT_EQ(failing, g_buildCalls);
            expectMemoryError();
            expectBuiltObjectsReleased();
        }
    }

    static std::string s_repository;
    WMIFacade m_engine;
};

std::string ConversionFailureTest::s_repository;

TEST_F(ConversionFailureTest, HBAInformationReleasesTheGuidTuple)
{
    expectEachFailedBuildReleasesEverything<MSiSCSI_HBAInformation>(&WMIFacade::queryHBAInformation,
                                                                    2);
}

TEST_F(ConversionFailureTest, NICConfigReleasesTheMacTuple)
{
    expectEachFailedBuildReleasesEverything<MSiSCSI_NICConfig>(&WMIFacade::queryNICConfig, 2);
}

TEST_F(ConversionFailureTest, TCPIPConfigReleasesEveryAddressDictionary)
{
    // Calls 1 to 5 build the addresses, call 6 the configuration.
    expectEachFailedBuildReleasesEverything<MSiSCSI_TCPIPConfig>(&WMIFacade::queryTCPIPConfig, 6);
}

// Every level of the session tree stops at a failed build and releases what it built; the
// method's list gets nothing.
TEST_F(ConversionFailureTest, SessionTreeReleasesEveryLevel)
{
    for (int failing = 1; failing <= 6; ++failing) {
        RecordList<MSiSCSI_InitiatorSessionInfo> records;
        ASSERT_EQ(1, m_engine.queryInitiatorSessionInfo(NULL, kSessionInfoClass, records.items()));
        ASSERT_EQ(1u, records.size());
        records.readEach();
        PyRef list(PyList_New(0));
        g_buildCalls = 0;
        g_failingCall = failing;
        EXPECT_FALSE(records.convertInto(list.get())) << "failing call " << failing;
        EXPECT_EQ(failing, g_buildCalls);
        EXPECT_EQ(0, PyList_GET_SIZE(list.get()));
        expectMemoryError();
        expectBuiltObjectsReleased();
    }
}

TEST_F(ConversionFailureTest, SuccessfulConversionLeavesTheResultAsOnlyOwner)
{
    MSiSCSI_TCPIPConfig record;
    ASSERT_EQ(1, m_engine.queryTCPIPConfig(kAdapter, &record));
    record.read();
    PyObject* result = record.PyGetObject();
    ASSERT_TRUE(result != NULL);
    ASSERT_EQ(6u, g_built.size());
    EXPECT_EQ(result, g_built.back());
    Py_DECREF(result);  // the caller's reference; the test's own remains
    expectBuiltObjectsReleased();
}

}  // namespace
