// getObjectArray on VARIANTs a MOF repository cannot describe, reference counts of the elements,
// and memory exhaustion while records are built.
#include "records/ISCSI_ConnectionStatic.h"
#include "records/ISCSI_SessionStatic.h"
#include "records/MSiSCSI_InitiatorSessionInfo.h"
#include "records/embedded_classes.h"
#include "python/py_ref.h"

#include <gtest/gtest.h>
#include <iostream>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "allocation_fault.h"
#include "fake_class_object.h"
#include "trace/console.h"

using quillet::installTraceOutput;
using quillet::PyRef;

namespace {

const char kObjectArrayLines[] = " type = d\n V_ISARRAY = 2000\n V_ISBYREF = 0\n";

// A record that lets the test attach a fake object, as the engine would.
class Holder : public WMIObject
{};

size_t countLines(const std::string& trace, const std::string& line)
{
    std::istringstream lines(trace);
    size_t count = 0;
    for (std::string text; std::getline(lines, text);)
        count += text == line ? 1 : 0;
    return count;
}

void deleteAll(std::vector<WMIObject*>& records)
{
    for (size_t i = 0; i < records.size(); ++i)
        delete records[i];
    records.clear();
}

class ObjectArrayTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        installTraceOutput();
        if (!Py_IsInitialized())
            Py_Initialize();
    }

    void SetUp() override
    {
        // Once the engine has connected, every number on the narrow stream is hexadecimal.
        std::cout << std::hex;
        for (int i = 0; i < 3; ++i)
            elements[i] = &objects[i];
        holder.attach(&owner);
    }
    void TearDown() override { std::cout << std::dec; }

    bool read(const EmbeddedClass* elementClass, std::string* trace)
    {
        testing::internal::CaptureStdout();
        bool result = holder.getObjectArray(L"List", elementClass, records);
        *trace = testing::internal::GetCapturedStdout();
        return result;
    }

    void expectElementReferences(ULONG expected)
    {
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(expected, objects[i].references()) << "element " << i;
    }

    FakeClassObject objects[3];
    IUnknown* elements[3];
    FakeClassObject owner;
    Holder holder;
    std::vector<WMIObject*> records;
};

TEST_F(ObjectArrayTest, NonZeroLowerBoundVisitsTheStatedIndexes)
{
    owner.setObjects(L"List", objectArray(1, 5, 3, elements));
    std::string trace;
    EXPECT_TRUE(read(&kSessionStaticClass, &trace));
    EXPECT_EQ(std::string(kObjectArrayLines) + "num dims? 1\n" +
                  "ISCSI_SessionStatic\nISCSI_SessionStatic\nISCSI_SessionStatic\n",
              trace);
    ASSERT_EQ(3u, records.size());
    // Array one, each record one; the reference the array handed out was dropped.
    expectElementReferences(3);
    deleteAll(records);
    expectElementReferences(2);
}

TEST_F(ObjectArrayTest, SeveralDimensionsWalkDimensionOneOnly)
{
    owner.setObjects(L"List", objectArray(2, -1, 3, elements));
    std::string trace;
    EXPECT_TRUE(read(&kConnectionStaticClass, &trace));
    EXPECT_EQ(std::string(kObjectArrayLines) + "num dims? 2\n", trace);
    EXPECT_EQ(3u, records.size());
    expectElementReferences(3);
    deleteAll(records);
    expectElementReferences(2);
}

TEST_F(ObjectArrayTest, ValuesThatAreNoArrayOfObjectsAreNotRead)
{
    SAFEARRAY* strings = SafeArrayCreateVector(VT_BSTR, 0, 2);
    SAFEARRAY* loose = objectArray(1, 0, 1, elements);
    struct Case
    {
        VARTYPE type;
        const char* lines;
    } cases[] = {
        {VT_BSTR, " type = 8\n V_ISARRAY = 0\n V_ISBYREF = 0\n"},
        {VT_UNKNOWN, " type = d\n V_ISARRAY = 0\n V_ISBYREF = 0\n"},
        {VT_ARRAY | VT_BSTR, " type = 8\n V_ISARRAY = 2000\n V_ISBYREF = 0\n"},
        {VT_ARRAY | VT_UNKNOWN, kObjectArrayLines},  // no SAFEARRAY at all
        {VT_ARRAY | VT_UNKNOWN | VT_BYREF, " type = d\n V_ISARRAY = 2000\n V_ISBYREF = 4000\n"},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        VARIANT value;
        VariantInit(&value);
        V_VT(&value) = cases[i].type;
        if (cases[i].type == VT_BSTR) {
            V_BSTR(&value) = SysAllocString(L"text");
        } else if (cases[i].type == VT_UNKNOWN) {
            elements[0]->AddRef();
            V_UNKNOWN(&value) = elements[0];
        } else if (cases[i].type == (VT_ARRAY | VT_BSTR))
            SafeArrayCopy(strings, &V_ARRAY(&value));
        else if (cases[i].type & VT_BYREF)
            V_ARRAYREF(&value) = &loose;
        else
            V_ARRAY(&value) = NULL;
        owner.set(L"List", &value);
        std::string trace;
        EXPECT_FALSE(read(&kSessionStaticClass, &trace)) << i;
        EXPECT_EQ(cases[i].lines, trace) << i;
        EXPECT_TRUE(records.empty()) << i;
    }
    VARIANT empty;
    VariantInit(&empty);
    owner.set(L"List", &empty);
    SafeArrayDestroy(strings);
    SafeArrayDestroy(loose);
    expectElementReferences(1);
}

TEST_F(ObjectArrayTest, NullEmptyUnknownClassAndFailedGet)
{
    VARIANT null;
    VariantInit(&null);
    V_VT(&null) = VT_NULL;
    owner.set(L"List", &null);
    std::string trace;
    EXPECT_TRUE(read(&kSessionStaticClass, &trace));
    EXPECT_EQ(" type = 1\n V_ISARRAY = 0\n V_ISBYREF = 0\nVT_NULL\n", trace);

    // An empty array never looks at the class: none (a class the records do not read) will do.
    owner.setObjects(L"List", objectArray(1, 0, 0, elements));
    EXPECT_TRUE(read(NULL, &trace));
    EXPECT_EQ(std::string(kObjectArrayLines) + "num dims? 1\n", trace);

    owner.setObjects(L"List", objectArray(1, 0, 2, elements));
    EXPECT_FALSE(read(NULL, &trace));
    EXPECT_EQ(std::string(kObjectArrayLines) + "num dims? 1\n", trace);
    EXPECT_TRUE(records.empty());

    testing::internal::CaptureStdout();
    EXPECT_FALSE(holder.getObjectArray(L"NoSuchProperty", &kSessionStaticClass, records));
    EXPECT_EQ("Get failed\n", testing::internal::GetCapturedStdout());

    Holder empty;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(empty.getObjectArray(L"List", &kSessionStaticClass, records));
    EXPECT_EQ("", testing::internal::GetCapturedStdout());
    EXPECT_TRUE(records.empty());
}

// Failing each allocation of the read in turn: the call throws, keeps what it appended before,
// and every element reference ends with its owner.
TEST_F(ObjectArrayTest, MemoryExhaustionLeaksNothing)
{
    owner.setObjects(L"List", objectArray(1, 0, 3, elements));
    int allocation = 1;
    for (;; ++allocation) {
        owner.armFaultAfterGet(L"List", allocation);
        testing::internal::CaptureStdout();
        bool threw = false;
        try {
            holder.getObjectArray(L"List", &kSessionStaticClass, records);
        } catch (const std::bad_alloc&) {
            threw = true;
        }
        disarmAllocationFault();
        testing::internal::GetCapturedStdout();
        size_t built = records.size();
        deleteAll(records);
        expectElementReferences(2);
        if (!threw)
            break;
        EXPECT_LE(built, 3u);
    }
    EXPECT_GT(allocation, 3);
}

// A memory failure while an adapter reads its sessions leaves the read as std::bad_alloc (the
// method turns it into MemoryError) with every session record deleted; a read that completes
// builds a tree in which each level's object is held by its container alone.
TEST_F(ObjectArrayTest, AdapterReadLeaksNothingWhenMemoryRunsOut)
{
    FakeClassObject sessionObjects[2];
    IUnknown* sessions[2] = {&sessionObjects[0], &sessionObjects[1]};
    FakeClassObject adapterObject;  // declared last: its array goes before the sessions
    adapterObject.setObjects(L"SessionsList", objectArray(1, 0, 2, sessions));
    int allocation = 1;
    for (; allocation < 100; ++allocation) {
        MSiSCSI_InitiatorSessionInfo adapter;
        adapter.attach(&adapterObject);
        adapterObject.armFaultAfterGet(L"SessionsList", allocation);
        testing::internal::CaptureStdout();
        bool threw = false;
        try {
            adapter.read();
        } catch (const std::bad_alloc&) {
            threw = true;
        }
        bool fired = allocationFaultFired();
        disarmAllocationFault();
        std::string trace = testing::internal::GetCapturedStdout();
        // The array keeps its references; every record's was dropped.
        EXPECT_EQ(2u, sessionObjects[0].references()) << allocation;
        EXPECT_EQ(2u, sessionObjects[1].references()) << allocation;
        EXPECT_EQ(countLines(trace, "ISCSI_SessionStatic"),
                  countLines(trace, "~ISCSI_SessionStatic"))
            << trace;
        EXPECT_EQ(fired, threw) << allocation;
        if (!fired) {
            PyRef result(adapter.PyGetObject());
            ASSERT_TRUE(result.get() != NULL);
            EXPECT_EQ(1, Py_REFCNT(result.get()));
            PyObject* list = PyDict_GetItemString(result.get(), "SessionsList");
            ASSERT_TRUE(list != NULL);
            ASSERT_EQ(2, PyList_GET_SIZE(list));
            EXPECT_EQ(1, Py_REFCNT(list));
            EXPECT_EQ(1, Py_REFCNT(PyList_GET_ITEM(list, 0)));
            break;
        }
    }
    EXPECT_GT(allocation, 2);
}

}  // namespace
