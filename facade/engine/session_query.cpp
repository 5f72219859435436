#include "engine/wmifacade.h"

#include <memory>

#include "com/scoped_com_ptr.h"
#include "records/MSiSCSI_InitiatorSessionInfo.h"

int WMIFacade::queryInitiatorSessionInfo(const wchar_t* instanceName,
                                         std::vector<MSiSCSI_InitiatorSessionInfo*>& records)
{
    ScopedComPtr<IEnumWbemClassObject> enumerator;
    if (!runQuery(L"SELECT * FROM MSiSCSI_InitiatorSessionInfo", instanceName,
                  enumerator.Receive()))
        return 0;
    bool failed = false;
    IWbemClassObject* pObject = NULL;
    while (nextInstance(enumerator.Get(), &pObject, &failed)) {
        ScopedComPtr<IWbemClassObject> instance(pObject);
        traceInstanceName(pObject);
        std::unique_ptr<MSiSCSI_InitiatorSessionInfo> record(new MSiSCSI_InitiatorSessionInfo);
        record->attach(pObject);
        // The caller owns the record once it is in the vector; a failed append deletes it here.
        records.push_back(record.get());
        record.release();
    }
    // Records appended before an enumeration error stay in the vector for the caller to delete.
    return failed ? 0 : 1;
}
