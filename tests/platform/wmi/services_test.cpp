// Queries, enumeration, writing back, and the faults and log lines of the service's calls.
#include <gtest/gtest.h>

#include <vector>

#include "call_log.h"
#include "env_guard.h"
#include "sim/sim.h"
#include "wmi_test_support.h"

namespace {

const char kMof[] =
    "class Counters { string InstanceName; uint32 PDORemovePeriod; };\n"
    "class Other { string InstanceName; };\n"
    "instance of Counters { InstanceName = \"ROOT\\\\MPIO\\\\0000_0\"; PDORemovePeriod = 20; };\n"
    "instance of Counters { InstanceName = \"say \\\"hi\\\"\"; PDORemovePeriod = 30; };\n"
    "instance of Counters { InstanceName = \"it's\"; PDORemovePeriod = 40; };\n";

class ServicesTest : public testing::Test
{
protected:
    void SetUp() override { *m_services.out() = servicesOver(repositoryFromMof(kMof)); }

    // Names of the instances a query yields, with the final Next result; "" for an instance
    // without a name.
    std::vector<std::wstring> names(const wchar_t* text, HRESULT* last = nullptr)
    {
        std::vector<std::wstring> result;
        Ref<IEnumWbemClassObject> enumerator;
        EXPECT_EQ(S_OK, query(m_services.get(), text, enumerator.out())) << text;
        if (!enumerator.get())
            return result;
        while (true) {
            IWbemClassObject* object = nullptr;
            ULONG returned = 7;
            HRESULT hr = enumerator->Next(WBEM_INFINITE, 1, &object, &returned);
            if (returned == 0) {
                EXPECT_EQ(nullptr, object);
                if (last)
                    *last = hr;
                return result;
            }
            EXPECT_EQ(S_OK, hr);
            Variant name;
            object->Get(L"InstanceName", 0, &name, nullptr, nullptr);
            result.push_back(name->vt == VT_BSTR ? name->bstrVal : L"");
            object->Release();
        }
    }

    LONG period(const wchar_t* text)
    {
        Ref<IEnumWbemClassObject> enumerator;
        query(m_services.get(), text, enumerator.out());
        Ref<IWbemClassObject> object;
        ULONG returned = 0;
        enumerator->Next(WBEM_INFINITE, 1, object.out(), &returned);
        Variant value;
        if (returned == 1)
            object->Get(L"PDORemovePeriod", 0, &value, nullptr, nullptr);
        return value->vt == VT_I4 ? value->lVal : -1;
    }

    Ref<IWbemServices> m_services;
};

using Names = std::vector<std::wstring>;

TEST_F(ServicesTest, SelectsByInstanceNameWithWqlEscapes)
{
    HRESULT last = S_OK;
    EXPECT_EQ((Names{L"ROOT\\MPIO\\0000_0", L"say \"hi\"", L"it's"}),
              names(L"SELECT * FROM Counters", &last));
    EXPECT_EQ(WBEM_S_FALSE, last);
    EXPECT_EQ(Names{L"ROOT\\MPIO\\0000_0"},
              names(L"SELECT * FROM Counters WHERE InstanceName = \"ROOT\\\\MPIO\\\\0000_0\""));
    EXPECT_EQ(Names{L"say \"hi\""},
              names(L"select * from counters where instancename = 'say \"hi\"'"));
    EXPECT_EQ(Names{L"it's"}, names(L"SELECT * FROM Counters WHERE InstanceName = 'it\\'s'"));
    EXPECT_EQ(Names{L"ROOT\\MPIO\\0000_0"},
              names(L"SELECT * FROM Counters WHERE InstanceName = 'root\\\\mpio\\\\0000_0'"));
    EXPECT_EQ(Names{},
              names(L"SELECT * FROM Counters WHERE InstanceName = 'nothing like it'", &last));
    EXPECT_EQ(WBEM_S_FALSE, last);
    EXPECT_EQ(Names{}, names(L"SELECT * FROM Counters WHERE InstanceName = ''"));
}

TEST_F(ServicesTest, ReportsBadQueriesAndUnknownClassesWhereWmiDoes)
{
    Ref<IEnumWbemClassObject> enumerator;
    // An undoubled backslash makes the literal malformed: the query fails at once.
    EXPECT_EQ(HRESULT(WBEM_E_INVALID_QUERY),
              query(m_services.get(),
                    L"SELECT * FROM Counters WHERE InstanceName = \"ROOT\\MPIO\\0000_0\"",
                    enumerator.out()));
    EXPECT_EQ(nullptr, enumerator.get());
    Bstr sql(L"SQL"), text(L"SELECT * FROM Counters");
    EXPECT_EQ(HRESULT(WBEM_E_INVALID_QUERY_TYPE),
              m_services->ExecQuery(sql, text, 0x30, nullptr, enumerator.out()));

    HRESULT last = S_OK;
    EXPECT_EQ(Names{}, names(L"SELECT * FROM NoSuchClass", &last));
    EXPECT_EQ(HRESULT(WBEM_E_INVALID_CLASS), last);
    EXPECT_EQ(Names{}, names(L"SELECT * FROM Counters WHERE Nope = 'x'", &last));
    EXPECT_EQ(HRESULT(WBEM_E_INVALID_QUERY), last);

    // After the end, Next keeps answering WBEM_S_FALSE with nothing.
    ASSERT_EQ(S_OK, query(m_services.get(), L"SELECT * FROM Other", enumerator.out()));
    for (int i = 0; i < 2; ++i) {
        IWbemClassObject* object = nullptr;
        ULONG returned = 9;
        EXPECT_EQ(WBEM_S_FALSE, enumerator->Next(WBEM_INFINITE, 1, &object, &returned));
        EXPECT_EQ(0u, returned);
    }
}

TEST_F(ServicesTest, NextHandsOutANewObjectWithOneReference)
{
    long before = winsim::liveCount(winsim::Resource::Com);
    Ref<IEnumWbemClassObject> enumerator;
    ASSERT_EQ(S_OK, query(m_services.get(), L"SELECT * FROM Counters", enumerator.out()));
    IWbemClassObject* objects[2] = {nullptr, nullptr};
    ULONG returned = 0;
    ASSERT_EQ(S_OK, enumerator->Next(WBEM_INFINITE, 1, &objects[0], &returned));
    ASSERT_EQ(S_OK, enumerator->Next(WBEM_INFINITE, 1, &objects[1], &returned));
    EXPECT_NE(objects[0], objects[1]);
    EXPECT_EQ(1u, referenceCount(objects[0]));
    EXPECT_EQ(1u, referenceCount(objects[1]));
    EXPECT_EQ(before + 3, winsim::liveCount(winsim::Resource::Com));
    enumerator.reset();  // the objects outlive their enumerator
    Variant name;
    EXPECT_EQ(S_OK, objects[1]->Get(L"InstanceName", 0, &name, nullptr, nullptr));
    EXPECT_EQ(0u, objects[0]->Release());
    EXPECT_EQ(0u, objects[1]->Release());
    EXPECT_EQ(before, winsim::liveCount(winsim::Resource::Com));
}

TEST_F(ServicesTest, PutChangesTheObjectInHandAndPutInstanceTheRepository)
{
    const wchar_t* second = L"SELECT * FROM Counters WHERE InstanceName = 'say \"hi\"'";
    Ref<IEnumWbemClassObject> enumerator;
    ASSERT_EQ(S_OK, query(m_services.get(), second, enumerator.out()));
    Ref<IWbemClassObject> object;
    ULONG returned = 0;
    ASSERT_EQ(S_OK, enumerator->Next(WBEM_INFINITE, 1, object.out(), &returned));

    Variant value;
    value->vt = VT_I4;
    value->lVal = 99;
    ASSERT_EQ(S_OK, object->Put(L"PDORemovePeriod", 0, &value, 0));
    Variant read;
    object->Get(L"PDORemovePeriod", 0, &read, nullptr, nullptr);
    EXPECT_EQ(99, read->lVal);
    EXPECT_EQ(30, period(second));  // not written back yet

    ASSERT_EQ(S_OK, m_services->PutInstance(object.get(), WBEM_FLAG_UPDATE_ONLY, nullptr, nullptr));
    EXPECT_EQ(99, period(second));
    EXPECT_EQ(20, period(L"SELECT * FROM Counters"));  // the others are untouched
    EXPECT_EQ(3u, names(L"SELECT * FROM Counters").size());
}

TEST_F(ServicesTest, PutRefusesValuesThePropertyCannotHold)
{
    Ref<IEnumWbemClassObject> enumerator;
    ASSERT_EQ(S_OK, query(m_services.get(), L"SELECT * FROM Counters", enumerator.out()));
    Ref<IWbemClassObject> object;
    ULONG returned = 0;
    enumerator->Next(WBEM_INFINITE, 1, object.out(), &returned);
    Variant text;
    text->vt = VT_BSTR;
    text->bstrVal = SysAllocString(L"twenty");
    EXPECT_EQ(HRESULT(WBEM_E_TYPE_MISMATCH), object->Put(L"PDORemovePeriod", 0, &text, 0));
    EXPECT_EQ(HRESULT(WBEM_E_NOT_FOUND), object->Put(L"Missing", 0, &text, 0));
    Variant number;
    number->vt = VT_I4;
    number->lVal = 5;
    EXPECT_EQ(HRESULT(WBEM_E_TYPE_MISMATCH), object->Put(L"InstanceName", 0, &number, 0));
    EXPECT_EQ(HRESULT(WBEM_E_TYPE_MISMATCH),
              object->Put(L"PDORemovePeriod", 0, &number, CIM_STRING));
    number->lVal = -1;  // uint32 travels as VT_I4: the same 32 bits are taken back
    EXPECT_EQ(S_OK, object->Put(L"PDORemovePeriod", 0, &number, CIM_UINT32));
    Variant read;
    object->Get(L"PDORemovePeriod", 0, &read, nullptr, nullptr);
    EXPECT_EQ(-1, read->lVal);
    Variant null;
    null->vt = VT_NULL;
    EXPECT_EQ(S_OK, object->Put(L"PDORemovePeriod", 0, &null, 0));
    object->Get(L"PDORemovePeriod", 0, read.out(), nullptr, nullptr);
    EXPECT_EQ(VT_NULL, read->vt);
}

class ServicesLogTest : public ServicesTest
{
protected:
    CallLog m_log;
    std::vector<std::string> log() { return m_log.lines(); }
};

TEST_F(ServicesLogTest, LogsEachCallWithItsArgumentsAndResult)
{
    names(L"SELECT * FROM Counters WHERE InstanceName = 'it\\'s'");
    names(L"SELECT * FROM Nope");
    EXPECT_EQ(
        (std::vector<std::string>{
            "ExecQuery WQL 0x30 SELECT * FROM Counters WHERE InstanceName = 'it\\'s' = 0x00000000",
            "Next Counters returned=1 = 0x00000000",
            "Get InstanceName = 0x00000000",
            "Next Counters returned=0 = 0x00000001",
            "ExecQuery WQL 0x30 SELECT * FROM Nope = 0x00000000",
            "Next Nope returned=0 = 0x80041010",
        }),
        log());
}

TEST_F(ServicesLogTest, FaultsHitTheSelectedCallOnly)
{
    {
        EnvGuard faults("WMISIM_FAULTS",
                        "ExecQuery:Counters#2=WBEM_E_FAILED,Next:Other=0x80041003");
        Ref<IEnumWbemClassObject> enumerator;
        EXPECT_EQ(S_OK, query(m_services.get(), L"SELECT * FROM Counters", enumerator.out()));
        EXPECT_EQ(HRESULT(WBEM_E_FAILED),
                  query(m_services.get(), L"SELECT * FROM Counters", enumerator.out()));
        EXPECT_EQ(nullptr, enumerator.get());
        EXPECT_EQ(S_OK, query(m_services.get(), L"SELECT * FROM counters", enumerator.out()));
        HRESULT last = S_OK;
        EXPECT_EQ(Names{}, names(L"SELECT * FROM Other", &last));
        EXPECT_EQ(HRESULT(0x80041003), last);
    }
    {
        // A faulted Next delivers nothing and does not use up an instance.
        EnvGuard faults("WMISIM_FAULTS", "Next:Counters#1=WBEM_E_FAILED");
        Ref<IEnumWbemClassObject> enumerator;
        ASSERT_EQ(S_OK, query(m_services.get(), L"SELECT * FROM Counters", enumerator.out()));
        IWbemClassObject* object = nullptr;
        ULONG returned = 5;
        EXPECT_EQ(HRESULT(WBEM_E_FAILED), enumerator->Next(WBEM_INFINITE, 1, &object, &returned));
        EXPECT_EQ(0u, returned);
        EXPECT_EQ(nullptr, object);
        ASSERT_EQ(S_OK, enumerator->Next(WBEM_INFINITE, 1, &object, &returned));
        Variant name;
        object->Get(L"InstanceName", 0, &name, nullptr, nullptr);
        EXPECT_STREQ(L"ROOT\\MPIO\\0000_0", name->bstrVal);
        object->Release();
    }
    {
        EnvGuard faults("WMISIM_FAULTS",
                        "Get:PDORemovePeriod=WBEM_E_NOT_FOUND,Put:PDORemovePeriod#2=E_OUTOFMEMORY,"
                        "PutInstance:it's=WBEM_E_ACCESS_DENIED");
        EXPECT_EQ(-1, period(L"SELECT * FROM Counters"));
        Ref<IEnumWbemClassObject> enumerator;
        ASSERT_EQ(S_OK, query(m_services.get(), L"SELECT * FROM Counters", enumerator.out()));
        std::vector<HRESULT> puts, putInstances;
        for (int i = 0; i < 3; ++i) {
            Ref<IWbemClassObject> object;
            ULONG returned = 0;
            enumerator->Next(WBEM_INFINITE, 1, object.out(), &returned);
            Variant value;
            value->vt = VT_I4;
            value->lVal = 7;
            puts.push_back(object->Put(L"PDORemovePeriod", 0, &value, 0));
            putInstances.push_back(
                m_services->PutInstance(object.get(), WBEM_FLAG_UPDATE_ONLY, nullptr, nullptr));
        }
        EXPECT_EQ((std::vector<HRESULT>{S_OK, E_OUTOFMEMORY, S_OK}), puts);
        EXPECT_EQ((std::vector<HRESULT>{S_OK, S_OK, HRESULT(WBEM_E_ACCESS_DENIED)}), putInstances);
    }
    std::vector<std::string> lines = log();
    EXPECT_EQ(1, std::count(lines.begin(), lines.end(), "PutInstance it's 0x1 = 0x80041003"));
    EXPECT_EQ(1, std::count(lines.begin(), lines.end(), "Put PDORemovePeriod vt=0x3 = 0x8007000e"));
    EXPECT_EQ(1, std::count(lines.begin(), lines.end(),
                            "ExecQuery WQL 0x30 SELECT * FROM Counters = 0x80041001"));
}

// Size only: how fast it loads and enumerates is measured by bench/ (10,000 sessions), not
// asserted here, where a loaded machine would fail it.
TEST(RepositoryScale, TenThousandInstancesLoadAndEnumerate)
{
    std::string mof =
        "class Address { uint32 Type; uint32 IpV4Address; };\n"
        "class Session { string InstanceName; uint64 Id; Address Primary; Address All[]; };\n";
    for (int i = 0; i < 10000; ++i) {
        std::string n = std::to_string(i);
        mof +=
            "instance of Session { InstanceName = \"ROOT\\\\ISCSIPRT\\\\" + n + "\"; Id = " + n +
            ";\n  Primary = instance of Address { Type = 1; IpV4Address = " + n +
            "; };\n  All = {instance of Address { Type = 1; }, instance of Address { Type = 2; },"
            " instance of Address { Type = 3; }};\n};\n";
    }
    Ref<IWbemServices> services(servicesOver(repositoryFromMof(mof)));
    Ref<IEnumWbemClassObject> enumerator;
    ASSERT_EQ(S_OK, query(services.get(), L"SELECT * FROM Session", enumerator.out()));
    int count = 0;
    while (true) {
        Ref<IWbemClassObject> object;
        ULONG returned = 0;
        enumerator->Next(WBEM_INFINITE, 1, object.out(), &returned);
        if (returned == 0)
            break;
        Variant all;
        ASSERT_EQ(S_OK, object->Get(L"All", 0, &all, nullptr, nullptr));
        ++count;
    }
    EXPECT_EQ(10000, count);
}

}  // namespace
