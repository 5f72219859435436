#include "wmi/enumerator.h"

#include <new>

#include "sim/sim.h"
#include "wmi/class_object.h"

namespace winsim::wmi {

HRESULT Enumerator::Reset()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_position = 0;
    return WBEM_S_NO_ERROR;
}

HRESULT Enumerator::Next(LONG, ULONG uCount, IWbemClassObject** apObjects, ULONG* puReturned)
{
    ULONG returned = 0;
    HRESULT hr = S_OK;
    if (!fault("Next", m_className, &hr)) {
        if (!apObjects || !puReturned) {
            hr = WBEM_E_INVALID_PARAMETER;
        } else {
            std::lock_guard<std::mutex> guard(m_lock);
            hr = next(uCount, apObjects, &returned);
        }
    }
    if (puReturned) *puReturned = returned;
    logCall("Next " + toUtf8(m_className) + " returned=" + std::to_string(returned) + " = " + hresultText(hr));
    return hr;
}

HRESULT Enumerator::next(ULONG count, IWbemClassObject** objects, ULONG* returned)
{
    if (FAILED(m_status)) return m_status;
    while (*returned < count && m_position < m_entries.size()) {
        const Repository::Entry& entry = m_entries[m_position];
        try {
            objects[*returned] = new ClassObject(*entry.instance, entry.position);
        } catch (const std::bad_alloc&) {
            return *returned ? WBEM_S_FALSE : WBEM_E_OUT_OF_MEMORY;
        }
        ++*returned;
        ++m_position;
    }
    return *returned == count ? WBEM_S_NO_ERROR : WBEM_S_FALSE;
}

}  // namespace winsim::wmi
