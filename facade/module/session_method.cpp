#include "module/methods.h"

#include "module/facade_object.h"
#include "python/py_compat.h"
#include "python/py_ref.h"
#include "python/record_list.h"
#include "records/MSiSCSI_InitiatorSessionInfo.h"
#include "records/embedded_classes.h"

using quillet::flushScriptOutput;
using quillet::parseTextArgument;
using quillet::PyRef;
using quillet::RecordList;

PyObject* WMIFacade_GetMSiSCSI_InitiatorSessionInfo(PyObject* self, PyObject* args)
{
    // The name is required by the method's signature, but every instance is asked for.
    if (!parseTextArgument(args, "GetMSiSCSI_InitiatorSessionInfo", NULL) || !flushScriptOutput())
        return NULL;

    // Every record is deleted, on every path, once converted.
    RecordList<MSiSCSI_InitiatorSessionInfo> records;
    // The whole tree is read and traced in the engine call, outside the interpreter lock; the
    // lists and dictionaries are built once the lock is back.
    int found = 0;
    bool called = callEngine(
        reinterpret_cast<WMIFacadeObject*>(self),
        [&records](WMIFacade& engine) {
            int queried =
                engine.queryInitiatorSessionInfo(NULL, kSessionInfoClass, records.items());
            if (queried)
                records.readEach();
            return queried;
        },
        &found);
    if (!called)
        return NULL;
    // The list is made only now: a thread that the interpreter ends at exit while it waits for
    // the lock unwinds this frame without the lock, and must find nothing to release.
    PyRef result(PyList_New(0));
    if (result.get() == NULL)
        return NULL;
    if (found != 0 && !records.convertInto(result.get()))
        return NULL;
    return result.release();
}
