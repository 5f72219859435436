#include "module/methods.h"

#include "module/facade_object.h"
#include "python/py_compat.h"
#include "python/py_ref.h"
#include "python/record_list.h"
#include "records/MSiSCSI_InitiatorSessionInfo.h"
#include "records/embedded_classes.h"

PyObject* WMIFacade_GetMSiSCSI_InitiatorSessionInfo(PyObject* self, PyObject* args)
{
    PyRef result(PyList_New(0));
    if (result.get() == NULL)
        return NULL;
    // The name is required by the method's signature, but every instance is asked for.
    if (!parseTextArgument(args, "GetMSiSCSI_InitiatorSessionInfo", NULL))
        return NULL;

    flushScriptOutput();
    // Declared after the list: every record is deleted, on every path, once converted.
    RecordList<MSiSCSI_InitiatorSessionInfo> records;
    // The whole tree is read and traced in the engine call, outside the interpreter lock; the
    // lists and dictionaries are built once the lock is back.
    int found = 0;
    bool called = callEngine(
        reinterpret_cast<WMIFacadeObject*>(self),
        [&records](WMIFacade& engine) {
            int queried = engine.queryInitiatorSessionInfo(NULL, SESSION_INFO_CLASS, records.items());
            if (queried)
                records.readEach();
            return queried;
        },
        &found);
    if (!called)
        return NULL;
    if (found != 0 && !records.convertInto(result.get()))
        return NULL;
    return result.release();
}
