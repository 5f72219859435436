// WMIFacade: the engine behind one Python WMIFacade object. Owns the WMI locator and the
// ROOT\WMI services interface (one reference each), connects lazily on the first operation and
// keeps the connection for its whole life. Operations return 1 for success and 0 for failure and
// trace every step on standard output. Not thread-safe: one call at a time (the module serialises).
// Only memory exhaustion leaves an operation as an exception (std::bad_alloc); COM strings and
// objects the operation holds are released on the way out.
#ifndef QUILLET_WMIFACADE_H
#define QUILLET_WMIFACADE_H

#include <windows.h>
#include <wbemidl.h>
#include <vector>

class WMIObject;
struct EmbeddedClass;

class WMIFacade
{
public:
    WMIFacade();
    ~WMIFacade();
    WMIFacade(const WMIFacade&) = delete;
    WMIFacade& operator=(const WMIFacade&) = delete;

    int initializeCOM();
    int connect();

    int queryHBAInformation(const wchar_t* instanceName, WMIObject* record);
    int queryTCPIPConfig(const wchar_t* instanceName, WMIObject* record);
    int queryNICConfig(const wchar_t* instanceName, WMIObject* record);
    // Appends one new record per instance, made by recordClass (the records' entry for
    // MSiSCSI_InitiatorSessionInfo) and attached to it; the caller owns and deletes them.
    int queryInitiatorSessionInfo(const wchar_t* instanceName, const EmbeddedClass& recordClass,
                                  std::vector<WMIObject*>& records);
    int getPDORemovePeriod(const wchar_t* instanceName, LONG* period);
    int setPDORemovePeriod(const wchar_t* instanceName, LONG period);

    int printSomething();

private:
    bool isConnected() const;
    // Connects when needed, builds the query text from selectText and the optional instance
    // name, and runs it. On success *ppEnum holds the enumerator (owned by the caller) and 1 is
    // returned; on failure the engine's error line has been traced and 0 is returned.
    int runQuery(const wchar_t* selectText, const wchar_t* instanceName,
                 IEnumWbemClassObject** ppEnum);
    // Fetches the next instance; false at the end of the data, or when WMI reports an error or
    // answers S_OK without an object (traced). *ppObject is owned by the caller. On an error
    // *pFailed (when given) is set to true: the operation then fails (returns 0) rather than
    // answering with partial data.
    bool nextInstance(IEnumWbemClassObject* pEnum, IWbemClassObject** ppObject,
                      bool* pFailed = NULL);
    // Reads the instance's InstanceName and traces it (" InstanceName : ").
    void traceInstanceName(IWbemClassObject* pObject);
    // Runs the query and hands each instance fetched, after its InstanceName line, to
    // handle(IWbemClassObject*), which returns false to end the enumeration. 1 when the query
    // ran and its enumeration ended without a WMI error, else 0. (Defined in instance_loop.h.)
    template <typename Handler>
    int forEachInstance(const wchar_t* selectText, const wchar_t* instanceName, Handler handle);
    int queryRecord(const wchar_t* selectText, const wchar_t* instanceName, WMIObject* record);

    IWbemLocator* m_pLocator;
    IWbemServices* m_pServices;
    bool m_bUninitializeCOM;
};

int printSomethingGlobal();

#endif
