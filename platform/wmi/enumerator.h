// IEnumWbemClassObject over the result of one query: the matching instances as they were when
// the query ran, handed out one new object per instance. A query on a class the repository does
// not know yields an enumerator whose Next fails with WBEM_E_INVALID_CLASS, as WMI does for
// semisynchronous queries.
#ifndef WINSIM_WMI_ENUMERATOR_H
#define WINSIM_WMI_ENUMERATOR_H

#include <windows.h>
#include <wbemidl.h>

#include <mutex>
#include <string>
#include <vector>

#include "com/com_object.h"
#include "wmi/repository.h"

namespace winsim::wmi {

class Enumerator final : public ComObject<IEnumWbemClassObject>
{
public:
    // `status` is what Next reports instead of objects when it is a failure.
    Enumerator(std::wstring className, std::vector<Repository::Entry> entries, HRESULT status)
        : m_className(std::move(className)), m_entries(std::move(entries)), m_status(status)
    {}

    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Next(LONG lTimeout, ULONG uCount, IWbemClassObject** apObjects,
                                   ULONG* puReturned) override;

private:
    HRESULT next(ULONG count, IWbemClassObject** objects, ULONG* returned);

    const std::wstring m_className;
    const std::vector<Repository::Entry> m_entries;
    const HRESULT m_status;
    std::mutex m_lock;
    size_t m_position = 0;
};

}  // namespace winsim::wmi

#endif
