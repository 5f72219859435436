#include <gtest/gtest.h>
#include <wbemidl.h>
#include <chrono>
#include <thread>
#include "env_guard.h"
#include "temp_files.h"
#include "sim/sim.h"
#include "test_object.h"

namespace {

// Runs body on a thread of its own, whose apartment starts uninitialised.
template <typename Body>
void onNewThread(Body body)
{
    std::thread thread(body);
    thread.join();
}

TEST(Apartment, EachThreadKeepsItsOwnModelAndCount)
{
    onNewThread([] {
        EXPECT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        EXPECT_EQ(S_FALSE, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        EXPECT_EQ(RPC_E_CHANGED_MODE, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        onNewThread([] {
            EXPECT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
            CoUninitialize();
        });
        CoUninitialize();
        EXPECT_EQ(S_FALSE, CoInitializeEx(nullptr, COINIT_MULTITHREADED));  // one counted call left
        CoUninitialize();
        CoUninitialize();
        // Fully uninitialised: the thread may pick the other model now.
        EXPECT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        CoUninitialize();
        CoUninitialize();  // unbalanced: ignored
        EXPECT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        CoUninitialize();
    });
}

TEST(Apartment, ReservedPointerIsRefused)
{
    onNewThread([] {
        int reserved = 0;
        EXPECT_EQ(E_INVALIDARG, CoInitializeEx(&reserved, COINIT_MULTITHREADED));
        EXPECT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        CoUninitialize();
    });
}

TEST(ProcessSecurity, CanBeSetOnlyOnce)
{
    // Another test of this process may have set it already; either way a second call is late.
    HRESULT first = CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                         RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    EXPECT_TRUE(first == S_OK || first == RPC_E_TOO_LATE);
    EXPECT_EQ(RPC_E_TOO_LATE,
              CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                   RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr));
}

TEST(CoCreateInstance, KnowsOnlyTheInProcessWmiLocator)
{
    const CLSID unknown = {0x12345678, 0x1, 0x2, {0, 1, 2, 3, 4, 5, 6, 7}};
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(REGDB_E_CLASSNOTREG,
              CoCreateInstance(unknown, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object));
    EXPECT_EQ(nullptr, object);
    EXPECT_EQ(REGDB_E_CLASSNOTREG, CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_LOCAL_SERVER,
                                                    IID_IWbemLocator, &object));
    TestObject* outer = new TestObject;
    EXPECT_EQ(CLASS_E_NOAGGREGATION,
              CoCreateInstance(CLSID_WbemLocator, outer, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                               &object));
    outer->Release();
    EXPECT_EQ(E_POINTER, CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                          IID_IWbemLocator, nullptr));

    long before = winsim::liveCount(winsim::Resource::Com);
    IWbemLocator* locator = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWbemLocator, reinterpret_cast<void**>(&locator));
    ASSERT_EQ(S_OK, hr);
    ASSERT_NE(nullptr, locator);
    locator->Release();
    EXPECT_EQ(before, winsim::liveCount(winsim::Resource::Com));
}

TEST(CallLog, WritesTheRuntimeCallsInTheirFixedForms)
{
    TempFolder folder;
    std::string path = folder.file("calls.log");
    {
        EnvGuard log("WMISIM_LOG", path);
        onNewThread([] {
            CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            CoUninitialize();
        });
        TestObject* proxy = new TestObject;
        CoSetProxyBlanket(proxy, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                          RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
        proxy->Release();
        IUnknown* object = nullptr;
        CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown,
                         reinterpret_cast<void**>(&object));
        winsim::logCall([] { return std::string("non-ASCII \xc3\xa9"); });
    }
    bool composed = false;
    winsim::logCall([&composed] {
        composed = true;
        return std::string("not logged: WMISIM_LOG is unset");
    });
    EXPECT_FALSE(composed);
    std::vector<std::string> expected = {
        "CoInitializeEx 0 = 0x00000000",
        "CoUninitialize",
        "CoSetProxyBlanket authn=10 authz=0 level=3 imp=3 caps=0 = 0x00000000",
        "CoCreateInstance {4590F811-1D3A-11D0-891F-00AA004B2E24} = 0x80040154",
        "non-ASCII \xc3\xa9",
    };
    EXPECT_EQ(expected, readLines(path));
}

TEST(Faults, ConfiguredSitesFailWithoutDoingTheirWork)
{
    EnvGuard faults("WMISIM_FAULTS",
                    "SysAllocString:boom=E_OUTOFMEMORY,SafeArrayGetElement:2=DISP_E_BADINDEX,"
                    "SafeArrayAccessData#2=E_UNEXPECTED,CoInitializeEx=RPC_E_CHANGED_MODE,"
                    "CoSetProxyBlanket=E_ACCESSDENIED,CoCreateInstance=E_OUTOFMEMORY");
    long bstrs = winsim::liveCount(winsim::Resource::Bstr);
    EXPECT_EQ(nullptr, SysAllocString(L"boom"));
    BSTR fine = SysAllocString(L"fine");
    EXPECT_NE(nullptr, fine);
    SysFreeString(fine);
    EXPECT_EQ(bstrs, winsim::liveCount(winsim::Resource::Bstr));

    SAFEARRAY* numbers = SafeArrayCreateVector(VT_I4, 0, 3);
    LONG value = 0;
    for (LONG index = 0; index < 3; ++index)
        EXPECT_EQ(index == 2 ? DISP_E_BADINDEX : S_OK, SafeArrayGetElement(numbers, &index, &value))
            << index;
    void* data = nullptr;
    EXPECT_EQ(S_OK, SafeArrayAccessData(numbers, &data));
    SafeArrayUnaccessData(numbers);
    EXPECT_EQ(E_UNEXPECTED, SafeArrayAccessData(numbers, &data));
    EXPECT_EQ(0u, numbers->cLocks);  // the faulted call took no lock
    SafeArrayDestroy(numbers);

    onNewThread(
        [] { EXPECT_EQ(RPC_E_CHANGED_MODE, CoInitializeEx(nullptr, COINIT_MULTITHREADED)); });
    TestObject* proxy = new TestObject;
    EXPECT_EQ(E_ACCESSDENIED, CoSetProxyBlanket(proxy, 0, 0, nullptr, 0, 0, nullptr, 0));
    proxy->Release();
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_OUTOFMEMORY, CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                              IID_IWbemLocator, &object));
    EXPECT_EQ(nullptr, object);
}

TEST(Faults, ADelayWaitsBeforeTheChosenCall)
{
    EnvGuard faults("WMISIM_FAULTS", "Delay:SafeArrayAccessData#2=150");
    SAFEARRAY* numbers = SafeArrayCreateVector(VT_I4, 0, 1);
    void* data = nullptr;
    auto timed = [&] {
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(S_OK, SafeArrayAccessData(numbers, &data));
        SafeArrayUnaccessData(numbers);
        return std::chrono::steady_clock::now() - start;
    };
    EXPECT_LT(timed(), std::chrono::milliseconds(100));
    EXPECT_GE(timed(), std::chrono::milliseconds(150));
    EXPECT_LT(timed(), std::chrono::milliseconds(100));
    SafeArrayDestroy(numbers);
}

}  // namespace
