// The query procedure shared by every operation, and the record queries built on it.
#include "engine/wmifacade.h"
#include "engine/hresult_trace.h"
#include "engine/instance_loop.h"
#include "com/scoped_bstr.h"
#include "com/scoped_com_ptr.h"
#include "com/scoped_variant.h"
#include "wmiobject/wmiobject.h"

#include <iostream>
#include <string>

using quillet::ScopedBstr;
using quillet::ScopedComPtr;
using quillet::ScopedVariant;

namespace {

const char* const kQueryFailed = "Query for operating system name failed. Error code = 0x";

// The name goes in as it stands, unescaped: WQL escaping is the caller's business.
std::wstring buildQueryText(const wchar_t* selectText, const wchar_t* instanceName)
{
    std::wstring text(selectText);
    if (instanceName) {
        text += L" WHERE InstanceName = \"";
        text += instanceName;
        text += L'"';
    }
    return text;
}

}  // namespace

int WMIFacade::runQuery(const wchar_t* selectText, const wchar_t* instanceName,
                        IEnumWbemClassObject** ppEnum)
{
    *ppEnum = NULL;
    if (!isConnected() && !connect())
        return 0;
    ScopedBstr query(buildQueryText(selectText, instanceName).c_str());
    ScopedComPtr<IEnumWbemClassObject> enumerator;
    HRESULT hr;
    {
        ScopedBstr language(L"WQL");
        hr = m_pServices->ExecQuery(language.Get(), query.Get(),
                                    WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, NULL,
                                    enumerator.Receive());
    }
    // A success code without an enumerator is a failed query too: there is nothing to enumerate.
    if (FAILED(hr) || !enumerator.Get()) {
        traceHresult(kQueryFailed, hr);
        return 0;
    }
    *ppEnum = enumerator.Detach();
    return 1;
}

bool WMIFacade::nextInstance(IEnumWbemClassObject* pEnum, IWbemClassObject** ppObject,
                             bool* pFailed)
{
    *ppObject = NULL;
    ScopedComPtr<IWbemClassObject> object;
    ULONG returned = 0;
    HRESULT hr = pEnum->Next(WBEM_INFINITE, 1, object.Receive(), &returned);
    const bool delivered = returned != 0 && object.Get() != NULL;
    // The end of the data is a success code other than S_OK with nothing returned. S_OK promises
    // the one object asked for, and a returned count promises its pointer: without them the call
    // failed like one that says so.
    const bool broken = SUCCEEDED(hr) && !delivered && (hr == WBEM_S_NO_ERROR || returned != 0);
    if (FAILED(hr) || broken) {
        // With immediate return a missing class or a provider failure arrives here, not from
        // ExecQuery: it is a failed query, not an empty answer.
        traceHresult(kQueryFailed, hr);
        if (pFailed)
            *pFailed = true;
        return false;
    }
    if (!delivered)
        return false;
    *ppObject = object.Detach();
    return true;
}

void WMIFacade::traceInstanceName(IWbemClassObject* pObject)
{
    ScopedVariant value;
    CIMTYPE cimType = 0;
    HRESULT hr = pObject->Get(L"InstanceName", 0, value.Receive(), &cimType, NULL);
    // An unreadable or non-text name shows as empty; a value not delivered is never read.
    const wchar_t* name = L"";
    if (SUCCEEDED(hr) && value.type() == VT_BSTR && V_BSTR(&value.value()))
        name = V_BSTR(&value.value());
    std::wcout << L" InstanceName : " << name << std::endl;
}

int WMIFacade::queryRecord(const wchar_t* selectText, const wchar_t* instanceName,
                           WMIObject* record)
{
    if (!isConnected() && !connect())
        return 0;
    if (!instanceName)
        return 0;
    // Each instance is attached in turn: the record ends holding the last one.
    return forEachInstance(selectText, instanceName, [record](IWbemClassObject* pObject) {
        record->attach(pObject);
        return true;
    });
}

int WMIFacade::queryHBAInformation(const wchar_t* instanceName, WMIObject* record)
{
    return queryRecord(L"SELECT * FROM MSiSCSI_HBAInformation", instanceName, record);
}

int WMIFacade::queryTCPIPConfig(const wchar_t* instanceName, WMIObject* record)
{
    return queryRecord(L"SELECT * FROM MSiSCSI_TCPIPConfig", instanceName, record);
}

int WMIFacade::queryNICConfig(const wchar_t* instanceName, WMIObject* record)
{
    return queryRecord(L"SELECT * FROM MSiSCSI_NICConfig", instanceName, record);
}
