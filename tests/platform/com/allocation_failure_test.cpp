// The COM runtime and OLE Automation when memory runs out: each call either does its work or
// fails with E_OUTOFMEMORY (SysAllocString: NULL) with its out-parameters in their failure
// state, never throws, and leaves nothing alive. A log line that cannot be made or written is
// lost; the call's work is not.
#include <gtest/gtest.h>
#include <wbemidl.h>

#include <thread>

#include "allocation_sweep.h"
#include "test_object.h"

namespace {

TEST(AllocationFailure, RuntimeCallsDoTheirWorkOrFailWithOutOfMemory)
{
    IWbemLocator* locator = nullptr;
    auto created = failEachAllocation(
        [&] {
            locator = reinterpret_cast<IWbemLocator*>(1);
            return CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IWbemLocator, reinterpret_cast<void**>(&locator));
        },
        handsOutOrNothing(locator, E_OUTOFMEMORY));
    EXPECT_TRUE(created.contains(E_OUTOFMEMORY));
    EXPECT_TRUE(created.contains(S_OK)) << "a lost log line failed the call";

    TestObject* proxy = new TestObject;
    auto blanket = failEachAllocation(
        [&] { return CoSetProxyBlanket(proxy, RPC_C_AUTHN_WINNT, 0, nullptr, 0, 0, nullptr, 0); },
        [](HRESULT hr) { EXPECT_TRUE(hr == S_OK || hr == E_OUTOFMEMORY) << hr; });
    proxy->Release();
    EXPECT_TRUE(blanket.contains(E_OUTOFMEMORY));

    failEachAllocation(
        [] {
            return CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                        RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
        },
        [](HRESULT hr) {
            EXPECT_TRUE(hr == S_OK || hr == RPC_E_TOO_LATE || hr == E_OUTOFMEMORY) << hr;
        });

    // A fresh thread, so that the apartment starts uninitialised; a failed call is not counted.
    std::thread([] {
        failEachAllocation([] { return CoInitializeEx(nullptr, COINIT_MULTITHREADED); },
                           [](HRESULT hr) {
                               if (hr == S_OK)
                                   CoUninitialize();
                               else
                                   EXPECT_EQ(E_OUTOFMEMORY, hr);
                           });
        EXPECT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        CoUninitialize();
    }).join();
}

TEST(AllocationFailure, AutomationCallsDoTheirWorkOrFailWithOutOfMemory)
{
    auto strings = failEachAllocation(
        [] { return SysAllocString(L"a string longer than any short-string buffer"); },
        [](BSTR text) {
            if (text != nullptr) {
                EXPECT_STREQ(L"a string longer than any short-string buffer", text);
                SysFreeString(text);
            }
        });
    EXPECT_TRUE(strings.contains(nullptr));

    SAFEARRAY* texts = SafeArrayCreateVector(VT_BSTR, 0, 12);
    LONG index = 11;
    BSTR element = SysAllocString(L"eleven");
    ASSERT_EQ(S_OK, SafeArrayPutElement(texts, &index, element));
    SysFreeString(element);
    BSTR copy = nullptr;
    auto elements = failEachAllocation(
        [&] {
            copy = nullptr;
            return SafeArrayGetElement(texts, &index, &copy);
        },
        [&](HRESULT hr) {
            if (hr == S_OK) {
                EXPECT_STREQ(L"eleven", copy);
                SysFreeString(copy);
            } else {
                EXPECT_EQ(E_OUTOFMEMORY, hr);
                EXPECT_EQ(nullptr, copy);
            }
        });
    EXPECT_TRUE(elements.contains(E_OUTOFMEMORY));

    void* data = nullptr;
    auto accesses = failEachAllocation([&] { return SafeArrayAccessData(texts, &data); },
                                       [&](HRESULT hr) {
                                           if (hr == S_OK)
                                               SafeArrayUnaccessData(texts);
                                           else
                                               EXPECT_EQ(E_OUTOFMEMORY, hr);
                                           EXPECT_EQ(0u, texts->cLocks);
                                       });
    EXPECT_TRUE(accesses.contains(E_OUTOFMEMORY));
    SafeArrayDestroy(texts);
}

TEST(AllocationFailure, WithoutLogAndFaultsTheBookkeepingAllocatesNothing)
{
    EnvGuard noLog("WMISIM_LOG", "");
    EnvGuard noFaults("WMISIM_FAULTS", "");
    SAFEARRAY* numbers = SafeArrayCreateVector(VT_I4, 0, 12);
    TestObject* proxy = new TestObject;
    LONG index = 11, value = -1;
    void* data = nullptr;
    armAllocationFault(1);
    EXPECT_EQ(S_OK, SafeArrayGetElement(numbers, &index, &value));
    EXPECT_EQ(S_OK, SafeArrayAccessData(numbers, &data));
    EXPECT_EQ(S_OK, CoSetProxyBlanket(proxy, RPC_C_AUTHN_WINNT, 0, nullptr, 0, 0, nullptr, 0));
    disarmAllocationFault();
    EXPECT_FALSE(allocationFaultFired());
    SafeArrayUnaccessData(numbers);
    SafeArrayDestroy(numbers);
    proxy->Release();
}

TEST(CallLog, AFailedWriteLosesItsLineAndNothingElse)
{
    TempFolder folder;
    IWbemLocator* locator = nullptr;
    {
        EnvGuard full("WMISIM_LOG", "/dev/full");  // every write fails with ENOSPC
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IWbemLocator, reinterpret_cast<void**>(&locator)));
        ASSERT_NE(nullptr, locator);
        locator->Release();
    }
    EnvGuard log("WMISIM_LOG", folder.file("calls.log"));
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IWbemLocator, reinterpret_cast<void**>(&locator)));
    locator->Release();
    EXPECT_EQ(
        std::vector<std::string>{
            "CoCreateInstance {4590F811-1D3A-11D0-891F-00AA004B2E24} = 0x00000000"},
        readLines(folder.file("calls.log")));
}

}  // namespace
