#include "records/MSiSCSI_InitiatorSessionInfo.h"

#include <iostream>
#include <new>

#include "records/ISCSI_SessionStatic.h"
#include "records/identifier_trace.h"
#include "records/py_ref.h"
#include "records/py_text.h"
#include "records/record_list.h"

MSiSCSI_InitiatorSessionInfo::MSiSCSI_InitiatorSessionInfo()
{
    std::cout << "MSiSCSI_InitiatorSessionInfo" << std::endl;
}

MSiSCSI_InitiatorSessionInfo::~MSiSCSI_InitiatorSessionInfo()
{
    std::cout << "~MSiSCSI_InitiatorSessionInfo" << std::endl;
}

PyObject* MSiSCSI_InitiatorSessionInfo::PyGetObject()
{
    PyText<UINT64_BUFFER_SIZE> adapterId;
    getUInt64String(L"UniqueAdapterId", adapterId.wide());
    traceIdentifier("UniqueAdapterId", adapterId.wide());

    PyRef sessions(PyList_New(0));
    if (sessions.get() == NULL)
        return NULL;
    // Declared after the list: the records are deleted first, once everything is converted.
    RecordList<WMIObject> records;
    try {
        // Whatever was appended is converted, also when the array could not be read whole.
        getObjectArray(L"SessionsList", L"ISCSI_SessionStatic", records.items());
    } catch (const std::bad_alloc&) {
        return PyErr_NoMemory();
    }
    if (!records.convertInto<ISCSI_SessionStatic>(sessions.get()))
        return NULL;
    // The builder skips ',' and ':' alike between items: two entries.
    return Py_BuildValue("{s:u,s,O}",
                         "UniqueAdapterId", adapterId.unicode(),
                         "SessionsList", sessions.get());
}
