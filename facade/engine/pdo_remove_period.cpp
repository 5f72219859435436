// The MPIO timer PDORemovePeriod, read and written on every instance the query returns.
#include "engine/wmifacade.h"
#include "engine/hresult_trace.h"
#include "engine/instance_loop.h"
#include "com/scoped_variant.h"

#include <iostream>

using quillet::ScopedVariant;

namespace {

const wchar_t* const kTimersQuery = L"SELECT * FROM MPIO_TIMERS_COUNTERS";
const wchar_t* const kPeriod = L"PDORemovePeriod";

// False when the property cannot be read or holds no 32-bit integer (a NULL value, say).
bool readPeriod(IWbemClassObject* pObject, LONG* period)
{
    ScopedVariant value;
    if (FAILED(pObject->Get(kPeriod, 0, value.Receive(), NULL, NULL)))
        return false;
    if (value.type() != VT_I4 && value.type() != VT_UI4)
        return false;
    *period = V_I4(&value.value());
    return true;
}

}  // namespace

int WMIFacade::getPDORemovePeriod(const wchar_t* instanceName, LONG* period)
{
    // The caller's integer ends with the period of the last instance read.
    int result = 0;
    int ran = forEachInstance(kTimersQuery, instanceName, [&](IWbemClassObject* pObject) {
        LONG value = 0;
        if (!readPeriod(pObject, &value)) {
            result = 0;
            return false;
        }
        std::wcout << L" PDORemovePeriod : " << value << std::endl;
        if (period)
            *period = value;
        result = 1;
        return true;
    });
    return ran ? result : 0;
}

int WMIFacade::setPDORemovePeriod(const wchar_t* instanceName, LONG period)
{
    bool handled = false;
    // Success means every instance handled was stored: a later store does not undo an
    // earlier failure.
    bool allStored = true;
    int ran = forEachInstance(kTimersQuery, instanceName, [&](IWbemClassObject* pObject) {
        handled = true;
        HRESULT hr;
        {
            ScopedVariant value;
            value.SetLong(period);
            hr = pObject->Put(kPeriod, 0, value.Get(), 0);
        }
        if (FAILED(hr)) {
            traceHresult("Put PDORemovePeriod failed. Error code = 0x", hr);
            allStored = false;
            return false;
        }
        hr = m_pServices->PutInstance(pObject, WBEM_FLAG_UPDATE_ONLY, NULL, NULL);
        if (FAILED(hr)) {
            traceHresult("PutInstance PDORemovePeriod failed. Error code = 0x", hr);
            allStored = false;
        }
        return true;
    });
    return (ran && handled && allStored) ? 1 : 0;
}
