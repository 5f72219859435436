// The WMI locator that CoCreateInstance makes for CLSID_WbemLocator. It connects to the one
// namespace the repository plays (ROOT\WMI unless its MOF names another); the repository is
// loaded at the process's first connection.
#include <windows.h>
#include <wbemidl.h>

#include "com/com_object.h"
#include "sim/guarded_call.h"
#include "sim/sim.h"
#include "wmi/repository.h"
#include "wmi/services.h"

namespace winsim::wmi {

namespace {

// The repository's namespace in any case, also as a path on the local machine
// ("\\.\root\wmi", "//./root/wmi").
bool isServed(const std::wstring& path, const Repository& repository)
{
    return equalsNoCase(namespacePath(path), repository.nameSpace());
}

class Locator final : public ComObject<IWbemLocator>
{
public:
    HRESULT STDMETHODCALLTYPE ConnectServer(const BSTR strNetworkResource, const BSTR, const BSTR,
                                            const BSTR, LONG, const BSTR, IWbemContext*,
                                            IWbemServices** ppNamespace) override
    {
        if (ppNamespace)
            *ppNamespace = nullptr;
        HRESULT hr = guardedCall(WBEM_E_OUT_OF_MEMORY, [&] {
            HRESULT faulted;
            if (fault("ConnectServer", {}, &faulted))
                return faulted;
            return connect(strNetworkResource, ppNamespace);
        });
        logCall([&] {
            std::string name = strNetworkResource
                                   ? toUtf8(strNetworkResource, SysStringLen(strNetworkResource))
                                   : "(null)";
            return "ConnectServer " + name + " = " + hresultText(hr);
        });
        return hr;
    }

private:
    static HRESULT connect(const BSTR resource, IWbemServices** result)
    {
        std::shared_ptr<Repository> repository;
        HRESULT hr = processRepository(&repository);
        if (FAILED(hr))
            return hr;
        if (!resource || !result)
            return WBEM_E_INVALID_PARAMETER;
        if (!isServed(std::wstring(resource, SysStringLen(resource)), *repository))
            return WBEM_E_INVALID_NAMESPACE;
        *result = new Services(std::move(repository));
        return WBEM_S_NO_ERROR;
    }
};

}  // namespace

}  // namespace winsim::wmi

namespace winsim {

HRESULT createWbemLocator(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    wmi::Locator* locator = new wmi::Locator;  // std::bad_alloc: CoCreateInstance's guard answers
    HRESULT hr = locator->QueryInterface(riid, ppv);
    locator->Release();
    return hr;
}

}  // namespace winsim
