#include "engine/wmifacade.h"

#include <memory>

#include "engine/instance_loop.h"
#include "wmiobject/wmiobject.h"

int WMIFacade::queryInitiatorSessionInfo(const wchar_t* instanceName,
                                         const EmbeddedClass& recordClass,
                                         std::vector<WMIObject*>& records)
{
    // Records appended before an enumeration error stay in the vector for the caller to delete.
    return forEachInstance(L"SELECT * FROM MSiSCSI_InitiatorSessionInfo", instanceName,
                           [&recordClass, &records](IWbemClassObject* pObject) {
                               std::unique_ptr<WMIObject> record(recordClass.createRecord());
                               record->attach(pObject);
                               // The caller owns the record once it is in the vector; a failed
                               // append deletes it here.
                               records.push_back(record.get());
                               record.release();
                               return true;
                           });
}
