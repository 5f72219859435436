// The three single-record methods: parse the instance name, construct the record, trace the
// name, run the engine's query and the record's read with the interpreter lock released, then
// build the dictionary.
#include "module/methods.h"

#include <string>
#include "module/facade_object.h"
#include "python/py_compat.h"
#include "records/MSiSCSI_HBAInformation.h"
#include "records/MSiSCSI_NICConfig.h"
#include "records/MSiSCSI_TCPIPConfig.h"
#include "trace/console.h"

using quillet::flushScriptOutput;
using quillet::parseTextArgument;
using quillet::traceWprintf;

namespace {

typedef int (WMIFacade::*RecordQuery)(const wchar_t*, WMIObject*);

// Returns the record's dictionary when the query ran, the empty dictionary when the engine
// reported failure, or NULL with the Python exception of a failed parse or conversion.
template <typename Record>
PyObject* getRecord(PyObject* self, PyObject* args, const char* method, const wchar_t* traceFormat,
                    RecordQuery query)
{
    std::wstring name;
    if (!parseTextArgument(args, method, &name) || !flushScriptOutput())
        return NULL;

    Record record;
    if (!traceWprintf(traceFormat, name.c_str()))  // the line of a name too long for memory
        return PyErr_NoMemory();
    // The record reads and traces its properties in the engine call, outside the interpreter
    // lock; only the Python objects are built once the lock is back.
    int queried = 0;
    if (!callEngine(
            reinterpret_cast<WMIFacadeObject*>(self),
            [&name, &record, query](WMIFacade& engine) {
                int found = (engine.*query)(name.c_str(), &record);
                if (found)
                    record.read();
                return found;
            },
            &queried))
        return NULL;
    // Python objects are made only now: a thread that the interpreter ends at exit while it
    // waits for the lock unwinds this frame without the lock, and must find nothing to release.
    return queried ? record.PyGetObject() : PyDict_New();
}

}  // namespace

PyObject* WMIFacade_GetMSiSCSI_HBAInformation(PyObject* self, PyObject* args)
{
    return getRecord<MSiSCSI_HBAInformation>(self, args, "GetMSiSCSI_HBAInformation",
                                             L"hbsInstName = %ls\n",
                                             &WMIFacade::queryHBAInformation);
}

PyObject* WMIFacade_GetMSiSCSI_TCPIPConfig(PyObject* self, PyObject* args)
{
    return getRecord<MSiSCSI_TCPIPConfig>(self, args, "GetMSiSCSI_TCPIPConfig",
                                          L"hbaInstName = %ls\n", &WMIFacade::queryTCPIPConfig);
}

PyObject* WMIFacade_GetMSiSCSI_NICConfig(PyObject* self, PyObject* args)
{
    return getRecord<MSiSCSI_NICConfig>(self, args, "GetMSiSCSI_NICConfig", L"hbaInstName = %ls\n",
                                        &WMIFacade::queryNICConfig);
}
