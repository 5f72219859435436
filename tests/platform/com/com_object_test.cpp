#include <gtest/gtest.h>
#include <wbemidl.h>
#include "com/com_object.h"
#include "test_object.h"

using winsim::liveCount;
using winsim::Resource;

namespace {

class TwoFaces final : public winsim::ComObject<IWbemLocator, IWbemServices>
{
public:
    HRESULT STDMETHODCALLTYPE ConnectServer(const BSTR, const BSTR, const BSTR, const BSTR, LONG,
                                            const BSTR, IWbemContext*, IWbemServices**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetObject(const BSTR, LONG, IWbemContext*, IWbemClassObject**,
                                        IWbemCallResult**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE PutInstance(IWbemClassObject*, LONG, IWbemContext*,
                                          IWbemCallResult**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ExecQuery(const BSTR, const BSTR, LONG, IWbemContext*,
                                        IEnumWbemClassObject**) override
    {
        return E_NOTIMPL;
    }
};

TEST(ComObject, CountsReferencesAndLiveObjects)
{
    long before = liveCount(Resource::Com);
    IWbemContext* object = new TestObject;
    EXPECT_EQ(before + 1, liveCount(Resource::Com));
    EXPECT_EQ(2u, object->AddRef());
    EXPECT_EQ(1u, object->Release());
    EXPECT_EQ(before + 1, liveCount(Resource::Com));
    EXPECT_EQ(0u, object->Release());
    EXPECT_EQ(before, liveCount(Resource::Com));
}

TEST(ComObject, QueryInterfaceHandsOutEachInterfaceWithAReference)
{
    IWbemLocator* locator = new TwoFaces;

    IWbemServices* services = nullptr;
    ASSERT_EQ(S_OK,
              locator->QueryInterface(IID_IWbemServices, reinterpret_cast<void**>(&services)));
    EXPECT_EQ(2u, referenceCount(locator));
    EXPECT_EQ(E_NOTIMPL, services->ExecQuery(nullptr, nullptr, 0, nullptr, nullptr));

    // IUnknown is the same pointer whichever interface is asked (COM identity).
    IUnknown* fromLocator = nullptr;
    IUnknown* fromServices = nullptr;
    ASSERT_EQ(S_OK, locator->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromLocator)));
    ASSERT_EQ(S_OK,
              services->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&fromServices)));
    EXPECT_EQ(fromLocator, fromServices);
    EXPECT_EQ(4u, referenceCount(locator));

    IWbemClassObject* missing = reinterpret_cast<IWbemClassObject*>(1);
    EXPECT_EQ(E_NOINTERFACE,
              locator->QueryInterface(IID_IWbemClassObject, reinterpret_cast<void**>(&missing)));
    EXPECT_EQ(nullptr, missing);
    EXPECT_EQ(E_POINTER, locator->QueryInterface(IID_IUnknown, nullptr));

    fromServices->Release();
    fromLocator->Release();
    services->Release();
    EXPECT_EQ(0u, locator->Release());
}

}  // namespace
