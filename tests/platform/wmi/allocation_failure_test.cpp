// The WMI service when memory runs out: each call either does its work or fails with
// WBEM_E_OUT_OF_MEMORY, hands out nothing on failure (Get leaves the VARIANT as it was, as WMI
// does; Next keeps the objects it managed to hand out), never throws, and leaks nothing.
#include <gtest/gtest.h>

#include "allocation_sweep.h"
#include "wmi_test_support.h"

namespace {

const char kMof[] =
    "class Part { uint32 Value; };\n"
    "class Whole { string InstanceName; uint64 Big; Part Single; Part List[]; };\n"
    "instance of Whole { InstanceName = \"a name longer than a short-string buffer\"; Big = 18446744073709551615;\n"
    "    Single = instance of Part { Value = 1; };\n"
    "    List = { instance of Part { Value = 2; }, NULL, instance of Part { Value = 3; } }; };\n"
    "instance of Whole { InstanceName = \"second\"; };\n"
    "instance of Whole { InstanceName = \"third\"; };\n";

const HRESULT kOutOfMemory = WBEM_E_OUT_OF_MEMORY;

class WmiAllocationFailure : public testing::Test
{
protected:
    void SetUp() override
    {
        *m_services.out() = servicesOver(repositoryFromMof(kMof));
        ASSERT_EQ(S_OK, m_services->ExecQuery(m_language, m_query, 0, nullptr, m_enumerator.out()));
    }

    IWbemClassObject* nextObject()
    {
        IWbemClassObject* object = nullptr;
        ULONG returned = 0;
        m_enumerator->Next(WBEM_INFINITE, 1, &object, &returned);
        return object;
    }

    Bstr m_language{L"WQL"};
    Bstr m_query{L"SELECT * FROM Whole"};
    Ref<IWbemServices> m_services;
    Ref<IEnumWbemClassObject> m_enumerator;
};

TEST_F(WmiAllocationFailure, ConnectAndQueryHandOutAnObjectOrNothing)
{
    Ref<IWbemLocator> locator;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IWbemLocator, reinterpret_cast<void**>(locator.out())));
    Bstr rootWmi(L"ROOT\\WMI");
    IWbemServices* services = nullptr;
    auto connections = failEachAllocation(
        [&] {
            return locator->ConnectServer(rootWmi, nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                          &services);
        },
        handsOutOrNothing(services, kOutOfMemory));
    EXPECT_TRUE(connections.contains(kOutOfMemory));

    IEnumWbemClassObject* enumerator = nullptr;
    auto queries = failEachAllocation(
        [&] { return m_services->ExecQuery(m_language, m_query, 0, nullptr, &enumerator); },
        handsOutOrNothing(enumerator, kOutOfMemory));
    EXPECT_TRUE(queries.contains(kOutOfMemory));
    EXPECT_TRUE(queries.contains(S_OK)) << "a lost log line failed the call";
}

TEST_F(WmiAllocationFailure, NextKeepsTheObjectsItHandedOut)
{
    IWbemClassObject* objects[4] = {};
    ULONG returned = 0;
    auto batches =
        failEachAllocation([&] { return m_enumerator->Next(WBEM_INFINITE, 3, objects, &returned); },
                           [&](HRESULT hr) {
                               EXPECT_EQ(returned == 3  ? S_OK
                                         : returned > 0 ? HRESULT(WBEM_S_FALSE)
                                                        : kOutOfMemory,
                                         hr)
                                   << returned;
                               for (ULONG i = 0; i < returned; ++i) {
                                   ASSERT_NE(nullptr, objects[i]);
                                   objects[i]->Release();
                                   objects[i] = nullptr;
                               }
                               EXPECT_EQ(nullptr, objects[returned < 4 ? returned : 3]);
                               m_enumerator->Reset();
                           });
    EXPECT_TRUE(batches.contains(kOutOfMemory));
    EXPECT_TRUE(batches.contains(HRESULT(WBEM_S_FALSE)));
}

TEST_F(WmiAllocationFailure, GetLeavesTheVariantAloneAndPutTheObject)
{
    Ref<IWbemClassObject> object(nextObject());
    ASSERT_NE(nullptr, object.get());
    for (const wchar_t* property : {L"InstanceName", L"Big", L"Single", L"List", L"__CLASS"}) {
        SCOPED_TRACE(testing::Message() << "property " << property);
        VARIANT value;
        CIMTYPE type = -1;
        auto gets = failEachAllocation(
            [&] {
                value.vt = VT_I4;
                value.lVal = 0x5a5a;
                type = -1;
                return object->Get(property, 0, &value, &type, nullptr);
            },
            [&](HRESULT hr) {
                if (hr == S_OK) {
                    EXPECT_NE(-1, type);
                    VariantClear(&value);
                } else {
                    EXPECT_EQ(kOutOfMemory, hr);
                    EXPECT_EQ(VT_I4, value.vt);
                    EXPECT_EQ(0x5a5a, value.lVal);
                    EXPECT_EQ(-1, type);
                }
            });
        EXPECT_TRUE(gets.contains(kOutOfMemory));
    }

    Variant name;
    name->vt = VT_BSTR;
    name->bstrVal = SysAllocString(L"a new name, also longer than a short-string buffer");
    auto puts = failEachAllocation(
        [&] { return object->Put(L"InstanceName", 0, &name, 0); },
        [&](HRESULT hr) { EXPECT_TRUE(hr == S_OK || hr == kOutOfMemory) << hr; });
    EXPECT_TRUE(puts.contains(kOutOfMemory));
    Variant stored;
    ASSERT_EQ(S_OK, object->Get(L"InstanceName", 0, &stored, nullptr, nullptr));
    EXPECT_STREQ(name->bstrVal, stored->bstrVal);

    auto writes = failEachAllocation(
        [&] {
            return m_services->PutInstance(object.get(), WBEM_FLAG_UPDATE_ONLY, nullptr, nullptr);
        },
        [&](HRESULT hr) { EXPECT_TRUE(hr == S_OK || hr == kOutOfMemory) << hr; });
    EXPECT_TRUE(writes.contains(kOutOfMemory));
}

}  // namespace
