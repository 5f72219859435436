#include "wmi/enumerator.h"

#include "sim/guarded_call.h"
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
    HRESULT hr = guardedCall(WBEM_E_OUT_OF_MEMORY, [&] {
        HRESULT faulted;
        if (fault("Next", m_className, &faulted))
            return faulted;
        if (!apObjects || !puReturned)
            return HRESULT(WBEM_E_INVALID_PARAMETER);
        std::lock_guard<std::mutex> guard(m_lock);
        return next(uCount, apObjects, &returned);
    });
    // Objects handed out before memory ran short are the caller's: fewer than asked for.
    if (FAILED(hr) && returned > 0)
        hr = WBEM_S_FALSE;
    if (puReturned)
        *puReturned = returned;
    logCall([&] {
        return "Next " + toUtf8(m_className) + " returned=" + std::to_string(returned) + " = " +
               hresultText(hr);
    });
    return hr;
}

HRESULT Enumerator::next(ULONG count, IWbemClassObject** objects, ULONG* returned)
{
    if (FAILED(m_status))
        return m_status;
    while (*returned < count && m_position < m_entries.size()) {
        const Repository::Entry& entry = m_entries[m_position];
        objects[*returned] = new ClassObject(*entry.instance, entry.position);
        ++*returned;
        ++m_position;
    }
    return *returned == count ? WBEM_S_NO_ERROR : WBEM_S_FALSE;
}

}  // namespace winsim::wmi
