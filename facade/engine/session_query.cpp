#include "engine/wmifacade.h"

#include <memory>

#include "records/MSiSCSI_InitiatorSessionInfo.h"

namespace {

// Releases the interface the operation holds at the end of its scope, exceptions included.
template <typename Interface>
class Released
{
public:
    explicit Released(Interface* pInterface) : m_pInterface(pInterface) {}
    ~Released()
    {
        if (m_pInterface != NULL)
            m_pInterface->Release();
    }

private:
    Released(const Released&);
    Released& operator=(const Released&);

    Interface* m_pInterface;
};

}  // namespace

int WMIFacade::queryInitiatorSessionInfo(const wchar_t* instanceName,
                                         std::vector<MSiSCSI_InitiatorSessionInfo*>& records)
{
    IEnumWbemClassObject* pEnum = NULL;
    if (!runQuery(L"SELECT * FROM MSiSCSI_InitiatorSessionInfo", instanceName, &pEnum))
        return 0;
    Released<IEnumWbemClassObject> enumerator(pEnum);

    IWbemClassObject* pObject = NULL;
    while (nextInstance(pEnum, &pObject)) {
        Released<IWbemClassObject> instance(pObject);
        traceInstanceName(pObject);
        std::unique_ptr<MSiSCSI_InitiatorSessionInfo> record(new MSiSCSI_InitiatorSessionInfo);
        record->attach(pObject);
        // The caller owns the record once it is in the vector; a failed append deletes it here.
        records.push_back(record.get());
        record.release();
    }
    return 1;
}
