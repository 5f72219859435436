// IWbemServices for the repository's namespace (ROOT\WMI unless it names another): WQL queries,
// PutInstance writing an object back, and GetObject handing out a class definition.
#ifndef WINSIM_WMI_SERVICES_H
#define WINSIM_WMI_SERVICES_H

#include <windows.h>
#include <wbemidl.h>

#include <memory>

#include "com/com_object.h"
#include "wmi/repository.h"

namespace winsim::wmi {

class Services final : public ComObject<IWbemServices>
{
public:
    explicit Services(std::shared_ptr<Repository> repository) : m_repository(std::move(repository))
    {}

    HRESULT STDMETHODCALLTYPE GetObject(const BSTR strObjectPath, LONG lFlags, IWbemContext* pCtx,
                                        IWbemClassObject** ppObject,
                                        IWbemCallResult** ppCallResult) override;
    HRESULT STDMETHODCALLTYPE PutInstance(IWbemClassObject* pInst, LONG lFlags, IWbemContext* pCtx,
                                          IWbemCallResult** ppCallResult) override;
    HRESULT STDMETHODCALLTYPE ExecQuery(const BSTR strQueryLanguage, const BSTR strQuery,
                                        LONG lFlags, IWbemContext* pCtx,
                                        IEnumWbemClassObject** ppEnum) override;

private:
    HRESULT execQuery(const BSTR language, const BSTR query, IEnumWbemClassObject** result);
    HRESULT putInstance(IWbemClassObject* object, LONG flags);
    HRESULT getClass(const BSTR path, IWbemClassObject** result);

    std::shared_ptr<Repository> m_repository;
};

}  // namespace winsim::wmi

#endif
