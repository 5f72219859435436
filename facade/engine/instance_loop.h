// The enumeration loop shared by every query operation of the engine.
#ifndef QUILLET_INSTANCE_LOOP_H
#define QUILLET_INSTANCE_LOOP_H

#include "engine/wmifacade.h"
#include "com/scoped_com_ptr.h"

template <typename Handler>
int WMIFacade::forEachInstance(const wchar_t* selectText, const wchar_t* instanceName,
                               Handler handle)
{
    quillet::ScopedComPtr<IEnumWbemClassObject> enumerator;
    if (!runQuery(selectText, instanceName, enumerator.Receive()))
        return 0;
    bool failed = false;
    IWbemClassObject* pObject = NULL;
    while (nextInstance(enumerator.Get(), &pObject, &failed)) {
        quillet::ScopedComPtr<IWbemClassObject> instance(pObject);
        traceInstanceName(pObject);
        if (!handle(pObject))
            break;
    }
    return failed ? 0 : 1;
}

#endif
